#include <vxplan/platform/ui/WindowPixels.h>

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>
#include <atomic>

#include <vxplan/platform/ui/DeviceContext.h>

namespace vx {

namespace {

std::atomic<int> gTaken{0};
// Larger than any window's picture: sizes past it are refused, not converted.
constexpr qreal kMostSide = 1 << 20;

// Where the window's painter puts the control's (0, 0) in the picture it
// paints on, when that picture can take the control's picture as it is.
QImage* WindowPicture(QPainter* p, QImage::Format theFormat, qreal theRatio, QSize theSize, QPoint& theAt) {
  QPaintEngine* e = p && p->isActive() ? p->paintEngine() : nullptr;
  if (!e || e->type() != QPaintEngine::Raster || p->hasClipping() || !e->paintDevice() ||
      e->paintDevice()->devType() != QInternal::Image)
    return nullptr;
  auto* target = static_cast<QImage*>(e->paintDevice());
  if (target->format() != theFormat || target->devicePixelRatio() != theRatio) return nullptr;
  const QTransform t = p->deviceTransform();
  const qreal ratio = theRatio;
  if (t.type() > QTransform::TxScale || t.m11() != ratio || t.m22() != ratio) return nullptr;
  const int dx = static_cast<int>(t.dx()), dy = static_cast<int>(t.dy());
  if (dx != t.dx() || dy != t.dy()) return nullptr;
  const QRect area(QPoint(dx, dy), theSize);
  if (!target->rect().contains(area)) return nullptr;
  // A paint of a part (an expose) leaves the rest to what the window shows.
  const QRegion clip = e->systemClip();
  if (!clip.isEmpty() && !QRegion(area).subtracted(clip).isEmpty()) return nullptr;
  theAt = area.topLeft();
  return target;
}

}  // namespace

struct TWindowPixels::Impl {
  TBitmap* picture = nullptr;
  QImage own;
  const uchar* bits = nullptr;
};

TWindowPixels::TWindowPixels(TCanvas* theWindow, TBitmap* thePicture) : TWindowPixels(theWindow, thePicture, 0, 0) {}

TWindowPixels::TWindowPixels(TCanvas* theWindow, TBitmap* thePicture, int theWidth, int theHeight)
    : fImpl(std::make_unique<Impl>()) {
  HDC dc = theWindow ? theWindow->GetHandle() : nullptr;
  QPainter* p = dc ? dc->Painter() : nullptr;
  QImage* own = thePicture ? thePicture->MutableImage() : nullptr;
  if (!p || !own) return;
  // Without a size, the picture's own; with one, the picture need not have
  // pixels yet (a first paint makes none of its own).
  const bool sized = theWidth > 0 && theHeight > 0;
  if (!sized && own->isNull()) return;
  const qreal ratio = thePicture->GetDevicePixelRatio();
  if (sized && (theWidth * ratio > kMostSide || theHeight * ratio > kMostSide)) return;
  const QSize size = sized ? QSize(static_cast<int>(theWidth * ratio + 0.5), static_cast<int>(theHeight * ratio + 0.5))
                           : own->size();
  const QImage::Format format =
      thePicture->GetTransparent() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
  if (!own->isNull() && own->format() != format) return;
  QPoint at;
  QImage* target = WindowPicture(p, format, ratio, size, at);
  if (!target) return;
  // The window's pixels, read without detaching them from its painter.
  auto* bits = const_cast<uchar*>(target->constBits()) + static_cast<qsizetype>(at.y()) * target->bytesPerLine() +
               static_cast<qsizetype>(at.x()) * (target->depth() / 8);
  QImage view(bits, size.width(), size.height(), target->bytesPerLine(), target->format());
  view.setDevicePixelRatio(ratio);
  if (!own->isNull()) {
    view.setDotsPerMeterX(own->dotsPerMeterX());
    view.setDotsPerMeterY(own->dotsPerMeterY());
  }
  fImpl->picture = thePicture;
  fImpl->own = std::move(*own);
  *own = std::move(view);
  fImpl->bits = own->constBits();
  ++gTaken;
}

TWindowPixels::~TWindowPixels() {
  if (!fImpl->bits) return;
  QImage* own = fImpl->picture->MutableImage();
  if (own && own->constBits() == fImpl->bits) *own = std::move(fImpl->own);
}

bool TWindowPixels::Active() const {
  if (!fImpl->bits) return false;
  const QImage* own = fImpl->picture->MutableImage();
  return own && own->constBits() == fImpl->bits;
}

int TWindowPixels::Taken() noexcept { return gTaken.load(); }

}  // namespace vx
