#include <vxplan/platform/ui/ComCtrls.h>

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>
#include <cmath>
#include <cstring>

#include <vxplan/platform/ui/Forms.h>

namespace vx {

namespace {

constexpr int kScrollBarSize = 17;

// A scroll bar that keeps its last picture. A list of a million rows moves
// the value on every step while the thumb moves a pixel only every thousand
// rows, and the style's gradients cost more than a screen of rows. Away from
// the mouse the picture depends only on what the key holds; hovered or
// pressed, the bar draws itself live.
class CachedScrollBar : public QScrollBar {
public:
  using QScrollBar::QScrollBar;

protected:
  void paintEvent(QPaintEvent* e) override {
    if (underMouse() || isSliderDown() || QApplication::mouseButtons() != Qt::NoButton ||
        style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this)) {
      fCache = QImage();
      QScrollBar::paintEvent(e);
      return;
    }
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    opt.subControls = QStyle::SC_All;
    opt.activeSubControls = QStyle::SC_None;
    const Key key{opt.rect,
                  static_cast<int>(opt.state),
                  style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this),
                  opt.sliderValue == opt.minimum,
                  opt.sliderValue == opt.maximum,
                  palette().cacheKey(),
                  devicePixelRatio(),
                  style()};
    // Bands are copied pixel for pixel: at a fractional ratio the whole bar is drawn.
    const bool wholePixels = key.dpr == std::floor(key.dpr);
    if (fCache.isNull() || !key.SameButSliderPlace(fKey) || (key.slider != fKey.slider && !wholePixels)) {
      fCache = QImage(opt.rect.size() * key.dpr, QImage::Format_ARGB32_Premultiplied);
      fCache.setDevicePixelRatio(key.dpr);
      fCache.fill(Qt::transparent);
      QPainter cache(&fCache);
      style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, &cache, this);
    } else if (key.slider != fKey.slider) {
      RedrawAround(opt, fKey.slider, key.slider);
    }
    fKey = key;
    QPainter p(this);
    p.drawImage(0, 0, fCache);
  }

private:
  struct Key {
    QRect rect;
    int state = 0;
    QRect slider;
    bool atMin = false, atMax = false;
    qint64 palette = 0;
    qreal dpr = 1;
    const QStyle* style = nullptr;
    bool operator==(const Key&) const = default;
    // Only the thumb moved, keeping its length.
    bool SameButSliderPlace(const Key& k) const {
      Key moved = k;
      moved.slider.moveTopLeft(slider.topLeft());
      return *this == moved;
    }
  };

  // A thumb that moved changes the picture only where it was and where it
  // is: only there is it drawn again. The whole bar drawn afresh fills its
  // full length, which the raster engine spreads over threads on every jump.
  // Each band is drawn apart and copied in: the style may set clips of its own.
  void RedrawAround(const QStyleOptionSlider& opt, const QRect& theOld, const QRect& theNew) {
    constexpr int kMargin = 4;  // outlines and shadows the style draws beside the thumb
    const bool vertical = opt.orientation == Qt::Vertical;
    auto band = [&](const QRect& r) {
      const QRect b = vertical ? QRect(opt.rect.left(), r.top() - kMargin, opt.rect.width(), r.height() + 2 * kMargin)
                               : QRect(r.left() - kMargin, opt.rect.top(), r.width() + 2 * kMargin, opt.rect.height());
      return b.intersected(opt.rect);
    };
    QRect bands[2] = {band(theOld), band(theNew)};
    if (bands[0].intersects(bands[1])) bands[0] = bands[1] = bands[0].united(bands[1]);
    for (int k = bands[0] == bands[1] ? 1 : 0; k < 2; ++k)
      if (!bands[k].isEmpty()) RedrawBand(opt, bands[k]);
  }

  void RedrawBand(const QStyleOptionSlider& opt, const QRect& theBand) {
    const int dpr = static_cast<int>(fCache.devicePixelRatio());
    QImage part(theBand.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    part.setDevicePixelRatio(dpr);
    part.fill(Qt::transparent);
    {
      QPainter p(&part);
      p.translate(-theBand.topLeft());
      style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, &p, this);
    }
    const QRect at(theBand.topLeft() * dpr, part.size());
    const size_t bytes = static_cast<size_t>(part.width()) * sizeof(QRgb);
    for (int y = 0; y < part.height(); ++y)
      std::memcpy(fCache.scanLine(at.top() + y) + at.left() * sizeof(QRgb), part.constScanLine(y), bytes);
  }

private:
  QImage fCache;
  Key fKey;
};

}  // namespace

// --- TCustomImageList --------------------------------------------------------------------

TCustomImageList::TCustomImageList(TComponent* AOwner, int theWidth, int theHeight)
    : TComponent(AOwner), fWidth(theWidth), fHeight(theHeight) {}

TCustomImageList::~TCustomImageList() { Destroying(); }

int TCustomImageList::Add(TBitmap* theBitmap) {
  auto copy = std::make_unique<TBitmap>();
  copy->SetTransparent(true);
  copy->SetSize(fWidth, fHeight);
  if (theBitmap) copy->GetCanvas()->StretchDraw(Rect(0, 0, fWidth, fHeight), theBitmap);
  fImages.push_back(std::move(copy));
  return Count() - 1;
}

int TCustomImageList::AddFromFile(const std::string& theFileName) {
  TBitmap picture;
  picture.SetTransparent(true);
  if (!picture.LoadFromFile(theFileName)) return -1;
  return Add(&picture);
}

void TCustomImageList::Draw(TCanvas* theCanvas, int x, int y, int theIndex) const {
  if (theIndex < 0 || theIndex >= Count()) return;
  theCanvas->Draw(x, y, fImages[static_cast<size_t>(theIndex)].get());
}

TBitmap* TCustomImageList::GetBitmap(int theIndex) const {
  if (theIndex < 0 || theIndex >= Count()) return nullptr;
  return fImages[static_cast<size_t>(theIndex)].get();
}

// --- TScrollBar ---------------------------------------------------------------------------

TScrollBar::TScrollBar(TComponent* AOwner, TScrollBarKind theKind)
    : TWinControl(AOwner), fKind(theKind), fBar(new CachedScrollBar(theKind == sbVertical ? Qt::Vertical : Qt::Horizontal, this)) {
  // No menu of Qt's own: a right click goes to the control under the bar.
  fBar->setContextMenuPolicy(Qt::NoContextMenu);
  SetBounds(0, 0, theKind == sbVertical ? kScrollBarSize : 121, theKind == sbVertical ? 121 : kScrollBarSize);
  QObject::connect(fBar, &QScrollBar::valueChanged, [this](int) {
    GuardedCall([this] {
      Changed();
      if (fChangeListener) fChangeListener(this);
      if (OnChange) OnChange(this);
    });
  });
  QObject::connect(fBar, &QScrollBar::actionTriggered, [this](int) {
    // The new value lands after this signal: report once it has.
    QMetaObject::invokeMethod(
        fBar, [this] { GuardedCall([this] { Scroll(); }); }, Qt::QueuedConnection);
  });
  fBar->setGeometry(0, 0, GetWidth(), GetHeight());
}

void TScrollBar::Scroll() {
  if (fScrollListener) fScrollListener(this);
  if (OnScroll) OnScroll(this);
}

void TScrollBar::Resize() {
  fBar->setGeometry(0, 0, GetWidth(), GetHeight());
  TWinControl::Resize();
}

int TScrollBar::GetMin() const { return fBar->minimum(); }
int TScrollBar::GetMax() const { return fBar->maximum() + fBar->pageStep() - 1; }
int TScrollBar::GetPosition() const { return fBar->value(); }
int TScrollBar::GetPageSize() const { return fBar->pageStep(); }

void TScrollBar::SetMin(int v) { SetParams(GetPosition(), v, GetMax()); }
void TScrollBar::SetMax(int v) { SetParams(GetPosition(), GetMin(), v); }
void TScrollBar::SetPosition(int v) { fBar->setValue(v); }

void TScrollBar::SetPageSize(int v) {
  const int max = GetMax();
  fBar->setPageStep(std::max(v, 1));
  fBar->setMaximum(std::max(fBar->minimum(), max - fBar->pageStep() + 1));
}

void TScrollBar::SetParams(int thePosition, int theMin, int theMax) {
  // Qt's maximum is the last position; the classic one the last value shown.
  fBar->setRange(theMin, std::max(theMin, theMax - fBar->pageStep() + 1));
  fBar->setValue(thePosition);
}

}  // namespace vx
