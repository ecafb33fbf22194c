#include <vxplan/platform/ui/Graphics.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QStaticText>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <span>
#include <unordered_map>
#include <vector>

#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/ui/DeviceContext.h>
#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

namespace {

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

QPainter::CompositionMode ModeFor(TPenMode m) {
  switch (m) {
    case pmBlack: return QPainter::RasterOp_ClearDestination;
    case pmWhite: return QPainter::RasterOp_SetDestination;
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

void SetMode(QPainter* p, TPenMode m) {
  QPainter::CompositionMode mode = ModeFor(m);
  if (mode != QPainter::CompositionMode_SourceOver &&
      !(p->paintEngine() && p->paintEngine()->hasFeature(QPaintEngine::RasterOpModes)))
    mode = QPainter::CompositionMode_SourceOver;  // a PDF cannot invert; draw plainly
  if (p->compositionMode() != mode) p->setCompositionMode(mode);
}

// An opaque fill written straight into a picture's pixels. Through the
// painter every small fill (a frame edge, a one-pixel line) pays for the
// generic path; plans draw thousands of them a frame. Only the plain case
// is taken: no clip, no scaling, no blending.
// The picture a painter draws on, when its pixels can be written straight:
// an unshared 32-bit picture at ratio 1, no clip, only whole-pixel moves, no
// blending. theOrigin is where the painter's (0, 0) falls.
QImage* DirectTarget(QPainter* p, QPoint& theOrigin) {
  QPaintDevice* device = p->device();
  if (!device || device->devType() != QInternal::Image) return nullptr;
  auto* image = static_cast<QImage*>(device);
  if ((image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied) ||
      image->devicePixelRatio() != 1.0 || !image->isDetached())
    return nullptr;
  if (p->hasClipping() || p->viewTransformEnabled() || p->opacity() != 1.0 ||
      p->compositionMode() != QPainter::CompositionMode_SourceOver)
    return nullptr;
  const QTransform& t = p->worldTransform();
  if (t.type() > QTransform::TxTranslate) return nullptr;
  const int dx = static_cast<int>(t.dx()), dy = static_cast<int>(t.dy());
  if (dx != t.dx() || dy != t.dy()) return nullptr;
  theOrigin = QPoint(dx, dy);
  return image;
}

quint32 OpaquePixel(const QColor& c) { return 0xFF000000u | (c.rgb() & 0xFFFFFFu); }

bool DirectFill(QPainter* p, std::span<const QRect> theRects, const QColor& c) {
  QPoint origin;
  QImage* image = c.alpha() == 255 ? DirectTarget(p, origin) : nullptr;
  if (!image) return false;
  const quint32 pixel = OpaquePixel(c);
  const qsizetype stride = image->bytesPerLine();
  uchar* const bits = image->bits();
  const QRect bounds = image->rect();
  // A colour of four equal bytes (white, black) is set as bytes, the fastest
  // way the C library knows.
  const bool bytewise = pixel == (pixel & 0xFFu) * 0x01010101u;
  for (QRect r : theRects) {
    r = r.translated(origin).intersected(bounds);
    if (r.isEmpty()) continue;
    uchar* row = bits + r.top() * stride;
    for (int y = r.top(); y <= r.bottom(); ++y, row += stride)
      if (bytewise)
        std::memset(reinterpret_cast<quint32*>(row) + r.left(), static_cast<int>(pixel & 0xFFu),
                    static_cast<size_t>(r.width()) * sizeof(quint32));
      else
        std::fill_n(reinterpret_cast<quint32*>(row) + r.left(), r.width(), pixel);
  }
  return true;
}

// A fill with an opaque tile, anchored at the painter's origin, written
// straight into the picture: stripes of a plan cover half the area every frame.
bool DirectTileFill(QPainter* p, QRect r, const QImage& theTile) {
  QPoint origin;
  if (theTile.format() != QImage::Format_RGB32 || theTile.isNull() || p->brushOrigin() != QPointF(0, 0)) return false;
  QImage* image = DirectTarget(p, origin);
  if (!image) return false;
  r = r.translated(origin).intersected(image->rect());
  if (r.isEmpty()) return true;
  const int tw = theTile.width(), th = theTile.height();
  auto wrap = [](int v, int m) { return ((v % m) + m) % m; };
  const qsizetype stride = image->bytesPerLine();
  uchar* row = image->bits() + r.top() * stride;
  for (int y = r.top(); y <= r.bottom(); ++y, row += stride) {
    const auto* tileRow = reinterpret_cast<const quint32*>(theTile.constScanLine(wrap(y - origin.y(), th)));
    quint32* out = reinterpret_cast<quint32*>(row) + r.left();
    int x = r.left();
    int tx = wrap(x - origin.x(), tw);
    while (x <= r.right()) {
      const int n = std::min(tw - tx, r.right() - x + 1);
      std::memcpy(out, tileRow + tx, static_cast<size_t>(n) * sizeof(quint32));
      out += n;
      x += n;
      tx = 0;
    }
  }
  return true;
}

// A thin diagonal at 45 degrees, n pixels from (x, y) stepping by (sx, sy):
// the pixels the painter's own thin line covers (arrow heads are made of them).
bool DirectDiagonal(QPainter* p, int x, int y, int sx, int sy, int n, const QColor& c) {
  QPoint origin;
  QImage* image = c.alpha() == 255 ? DirectTarget(p, origin) : nullptr;
  if (!image) return false;
  const quint32 pixel = OpaquePixel(c);
  const QRect bounds = image->rect();
  x += origin.x();
  y += origin.y();
  for (int k = 0; k < n; ++k, x += sx, y += sy)
    if (bounds.contains(x, y)) reinterpret_cast<quint32*>(image->scanLine(y))[x] = pixel;
  return true;
}

// Several rectangles of one colour, the picture's state looked at once.
void SolidFills(QPainter* p, std::span<const QRect> theRects, const QColor& c) {
  if (DirectFill(p, theRects, c)) return;
  for (const QRect& r : theRects) p->fillRect(r, c);
}

void SolidFill(QPainter* p, const QRect& r, const QColor& c) { SolidFills(p, std::span<const QRect>(&r, 1), c); }

Qt::BrushStyle HatchFor(TBrushStyle s) {
  switch (s) {
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::BDiagPattern;
    case bsBDiagonal: return Qt::FDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    case bsClear: return Qt::NoBrush;
    default: return Qt::SolidPattern;
  }
}

}  // namespace

// --- TFont ------------------------------------------------------------------

TFont::TFont() : fHeight(-MulDiv(8, ScreenPixelsPerInch, 72)) {}

void TFont::Assign(const TFont& theSource) {
  if (&theSource == this) return;
  const int height = MulDiv(theSource.fHeight, fPixelsPerInch, theSource.fPixelsPerInch);
  // Same font: no change to report (a canvas then keeps its prepared font).
  if (fName == theSource.fName && fHeight == height && fStyle == theSource.fStyle && fColor == theSource.fColor &&
      fOrientation == theSource.fOrientation)
    return;
  fName = theSource.fName;
  fHeight = height;
  fStyle = theSource.fStyle;
  fColor = theSource.fColor;
  fOrientation = theSource.fOrientation;
  Changed();
}

void TFont::SetName(const std::string& theName) {
  if (theName.empty() || theName == fName) return;
  fName = theName;
  Changed();
}

int TFont::GetSize() const noexcept { return -MulDiv(fHeight, 72, fPixelsPerInch); }

void TFont::SetSize(int theSize) { SetHeight(-MulDiv(theSize, fPixelsPerInch, 72)); }

void TFont::SetHeight(int theHeight) {
  if (theHeight == fHeight) return;
  fHeight = theHeight;
  Changed();
}

void TFont::SetStyle(TFontStyles theStyle) {
  if (theStyle == fStyle) return;
  fStyle = theStyle;
  Changed();
}

void TFont::SetColor(TColor theColor) {
  if (theColor == fColor) return;
  fColor = theColor;
  Changed();
}

void TFont::SetOrientation(int theOrientation) {
  if (theOrientation == fOrientation) return;
  fOrientation = theOrientation;
  Changed();
}

void TFont::SetPixelsPerInch(int thePixelsPerInch) {
  if (thePixelsPerInch <= 0 || thePixelsPerInch == fPixelsPerInch) return;
  fHeight = MulDiv(fHeight, thePixelsPerInch, fPixelsPerInch);
  fPixelsPerInch = thePixelsPerInch;
  Changed();
}

// --- TPen, TBrush -------------------------------------------------------------

void TPen::Assign(const TPen& theSource) {
  fColor = theSource.fColor;
  fWidth = theSource.fWidth;
  fStyle = theSource.fStyle;
  fMode = theSource.fMode;
  Changed();
}

void TPen::SetColor(TColor theColor) {
  if (theColor == fColor) return;
  fColor = theColor;
  Changed();
}

void TPen::SetWidth(int theWidth) {
  theWidth = std::max(theWidth, 0);
  if (theWidth == fWidth) return;
  fWidth = theWidth;
  Changed();
}

void TPen::SetStyle(TPenStyle theStyle) {
  if (theStyle == fStyle) return;
  fStyle = theStyle;
  Changed();
}

void TPen::SetMode(TPenMode theMode) {
  if (theMode == fMode) return;
  fMode = theMode;
  Changed();
}

void TBrush::Assign(const TBrush& theSource) {
  fColor = theSource.fColor;
  fStyle = theSource.fStyle;
  fBitmap = theSource.fBitmap;
  Changed();
}

void TBrush::SetColor(TColor theColor) {
  if (theColor == fColor && fStyle != bsClear) return;
  fColor = theColor;
  if (fStyle == bsClear) fStyle = bsSolid;  // a colour makes a cleared brush solid again
  Changed();
}

void TBrush::SetStyle(TBrushStyle theStyle) {
  if (theStyle == fStyle) return;
  fStyle = theStyle;
  Changed();
}

void TBrush::SetBitmap(TBitmap* theBitmap) {
  fBitmap = theBitmap;
  Changed();
}

// --- TCanvas -------------------------------------------------------------------

// Text laid out once and drawn many times, per font: the font as the device
// renders it, its metrics on the device, and the runs of single lines drawn
// with it. A canvas that switches between a few fonts (a label in three
// styles) keeps each font's runs.
struct TCanvas::LaidText {
  QStaticText run;
  unsigned uses = 0;
  double width = -1;  // the run's, asked once: labels are measured on every frame
  double Width() {
    if (width < 0) width = run.size().width();
    return width;
  }
  // The run already rendered, per colour, blended in one go instead of glyph
  // by glyph: labels are drawn again on every frame.
  struct Picture {
    QImage image;   // null when the run leaves no ink
    QPoint offset;  // of the image's corner from where the run is drawn
    TColor color = 0;
    double dpr = 1;
  };
  std::vector<Picture> pictures;
};

struct TCanvas::FontEntry {
  std::string name;
  int height = 0;
  TFontStyles style;
  QFont font;
  std::unique_ptr<QFontMetrics> metrics;
  int lineHeight = 0;  // the metrics', asked once
  const QPaintDevice* device = nullptr;
  std::unordered_map<std::string, LaidText> runs;
};

struct TCanvas::TextCache {
  static constexpr size_t kMaxFonts = 8;
  static constexpr size_t kMaxRuns = 4096;
  static constexpr size_t kMaxPictureBytes = 8u << 20;
  std::vector<std::unique_ptr<FontEntry>> fonts;  // the last used first
  size_t pictureBytes = 0;  // over all fonts

  void DropPictures() {
    for (auto& f : fonts)
      for (auto& [text, laid] : f->runs) laid.pictures.clear();
    pictureBytes = 0;
  }
  void DropRuns(FontEntry& f) {
    for (auto& [text, laid] : f.runs)
      for (auto& pic : laid.pictures) pictureBytes -= static_cast<size_t>(pic.image.sizeInBytes());
    f.runs.clear();
  }
};

TCanvas::TCanvas() : fTextCache(std::make_unique<TextCache>()) {
  fFont.SetOwnerListener([this](TObject*) { fFontDirty = true; });
}

TCanvas::~TCanvas() = default;

const QFontMetrics& TCanvas::Metrics() {
  ApplyFontToDevice();
  FontEntry& f = *fFontEntry;
  const QPaintDevice* device = fHandle ? fHandle->Device() : nullptr;
  if (!f.metrics || f.device != device) {
    f.metrics = std::make_unique<QFontMetrics>(f.font, const_cast<QPaintDevice*>(device));
    f.lineHeight = f.metrics->height();
    f.device = device;
    fTextCache->DropRuns(f);  // the runs belong to the font and the device
  }
  return *f.metrics;
}

void TCanvas::SetHandle(HDC theHandle) {
  fHandle = theHandle;
  if (fHandle) fFont.SetPixelsPerInch(fHandle->PixelsPerInch());
  fFontDirty = true;
}

int TCanvas::PixelsPerInch() const { return fHandle ? fHandle->PixelsPerInch() : ScreenPixelsPerInch; }

TPoint TCanvas::GetViewportOrg() const { return fHandle ? fHandle->GetViewportOrg() : TPoint{}; }

TPoint TCanvas::SetViewportOrg(TPoint theOrigin) { return fHandle ? fHandle->SetViewportOrg(theOrigin) : TPoint{}; }

TRect TCanvas::GetClipRect() const { return fHandle ? fHandle->GetClipBox() : TRect{}; }

QPainter* TCanvas::Prepare(bool usePen, bool useBrush) {
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p) return nullptr;
  if (usePen && fPen.GetStyle() != psClear && fPen.GetMode() != pmNop) {
    QPen pen(ToQColor(fPen.GetColor()));
    const int width = fPen.GetWidth();
    pen.setWidth(width <= 1 ? 0 : width);
    // Thin lines cover both ends; LineTo stops one pixel short itself.
    pen.setCapStyle(width <= 1 ? Qt::SquareCap : Qt::RoundCap);
    pen.setJoinStyle(width <= 1 ? Qt::MiterJoin : Qt::RoundJoin);
    switch (fPen.GetStyle()) {
      case psDash: pen.setDashPattern({18, 6}); break;
      case psDot: pen.setDashPattern({3, 3}); break;
      case psDashDot: pen.setDashPattern({9, 6, 3, 6}); break;
      case psDashDotDot: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
      default: break;
    }
    p->setPen(pen);
  } else {
    p->setPen(Qt::NoPen);
  }
  if (useBrush && fBrush.GetStyle() != bsClear) {
    if (fBrush.GetBitmap() && fBrush.GetBitmap()->GetWidth() > 0)
      p->setBrush(QBrush(PatternTile(fBrush.GetBitmap())));
    else
      p->setBrush(QBrush(ToQColor(fBrush.GetColor()), HatchFor(fBrush.GetStyle())));
  } else {
    p->setBrush(Qt::NoBrush);
  }
  SetMode(p, fPen.GetMode());
  return p;
}

const QImage& TCanvas::PatternTile(TBitmap* theBitmap) {
  const QImage& source = theBitmap->Image();
  constexpr int kTile = 64;
  if (source.width() >= kTile && source.height() >= kTile) return source;
  // Any change of the picture gives it a new key.
  if (!fPatternTile || fPatternKey != source.cacheKey()) {
    const int w = source.width() * ((kTile + source.width() - 1) / source.width());
    const int h = source.height() * ((kTile + source.height() - 1) / source.height());
    auto tile = std::make_unique<QImage>(w, h, source.format());
    QPainter painter(tile.get());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(0, 0, w, h), QBrush(source));
    painter.end();
    fPatternTile = std::move(tile);
    fPatternKey = source.cacheKey();
  }
  return *fPatternTile;
}

void TCanvas::ApplyFontToDevice() {
  // Colour and orientation are applied per call; only name, height and style
  // make a different device font.
  if (fFontEntry && !fFontDirty) return;
  fFontDirty = false;
  auto same = [this](const FontEntry& f) {
    return f.height == fFont.GetHeight() && f.style == fFont.GetStyle() && f.name == fFont.GetName();
  };
  if (fFontEntry && same(*fFontEntry)) return;
  auto& fonts = fTextCache->fonts;
  auto it = std::find_if(fonts.begin(), fonts.end(), [&](const auto& f) { return same(*f); });
  if (it == fonts.end()) {
    if (fonts.size() >= TextCache::kMaxFonts) {
      fTextCache->DropRuns(*fonts.back());
      fonts.pop_back();
    }
    auto f = std::make_unique<FontEntry>();
    f->name = fFont.GetName();
    f->height = fFont.GetHeight();
    f->style = fFont.GetStyle();
    f->font = QFont(ToQString(f->name));
    f->font.setPixelSize(std::max(1, std::abs(f->height)));
    f->font.setBold(f->style.Contains(fsBold));
    f->font.setItalic(f->style.Contains(fsItalic));
    f->font.setUnderline(f->style.Contains(fsUnderline));
    f->font.setStrikeOut(f->style.Contains(fsStrikeOut));
    f->font.setStyleStrategy(QFont::PreferAntialias);
    fonts.insert(fonts.begin(), std::move(f));
  } else if (it != fonts.begin()) {
    std::rotate(fonts.begin(), it, it + 1);
  }
  fFontEntry = fonts.front().get();
}

QPainter* TCanvas::PrepareText(bool theGlyphs) {
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p) return nullptr;
  ApplyFontToDevice();
  SetMode(p, pmCopy);
  if (theGlyphs) UseTextPen(p);
  return p;
}

void TCanvas::UseTextPen(QPainter* p) {
  p->setFont(fFontEntry->font);
  p->setPen(ToQColor(fFont.GetColor()));
  p->setBrush(Qt::NoBrush);
}

void TCanvas::FillTextBackground(QPainter* p, const TRect& r) {
  if (fBrush.GetStyle() == bsClear || r.IsEmpty()) return;
  SolidFill(p, ToQRect(r), ToQColor(fBrush.GetColor()));
}

void TCanvas::LineTo(int x, int y) {
  TPoint from = fPenPos;
  fPenPos = Point(x, y);
  const int dx = x - from.X, dy = y - from.Y;
  // Thin solid lines along an axis are runs of pixels: filled, not stroked.
  if ((dx == 0) != (dy == 0) && fPen.GetWidth() <= 1 && fPen.GetStyle() == psSolid && fPen.GetMode() == pmCopy) {
    QPainter* p = fHandle ? fHandle->Painter() : nullptr;
    if (!p) return;
    SetMode(p, pmCopy);
    const QColor c = ToQColor(fPen.GetColor());
    if (dy == 0) {
      const int last = x - (dx > 0 ? 1 : -1);
      SolidFill(p, QRect(std::min(from.X, last), y, std::abs(last - from.X) + 1, 1), c);
    } else {
      const int last = y - (dy > 0 ? 1 : -1);
      SolidFill(p, QRect(x, std::min(from.Y, last), 1, std::abs(last - from.Y) + 1), c);
    }
    return;
  }
  if (std::abs(dx) == std::abs(dy) && dx != 0 && fPen.GetWidth() <= 1 && fPen.GetStyle() == psSolid &&
      fPen.GetMode() == pmCopy) {
    QPainter* p = fHandle ? fHandle->Painter() : nullptr;
    if (!p) return;
    SetMode(p, pmCopy);
    if (DirectDiagonal(p, from.X, from.Y, dx > 0 ? 1 : -1, dy > 0 ? 1 : -1, std::abs(dx), ToQColor(fPen.GetColor())))
      return;
  }
  QPainter* p = Prepare(true, false);
  if (!p || fPen.GetStyle() == psClear || fPen.GetMode() == pmNop) return;
  if (dx == 0 && dy == 0) return;
  if (fPen.GetWidth() > 1) {
    p->drawLine(from.X, from.Y, x, y);
    return;
  }
  if ((dx == 0 || dy == 0) && fPen.GetStyle() == psSolid && fPen.GetMode() == pmCopy) {
    // A plain straight line is a span of pixels: filled as one, the same
    // pixels many times faster.
    const QRect span = dy == 0 ? QRect(dx > 0 ? from.X : x + 1, from.Y, std::abs(dx), 1)
                               : QRect(from.X, dy > 0 ? from.Y : y + 1, 1, std::abs(dy));
    SolidFill(p, span, p->pen().color());
    return;
  }
  // The end point stays undrawn, whatever the direction: stop one step short
  // along the longer axis.
  int ex, ey;
  if (std::abs(dx) >= std::abs(dy)) {
    ex = x - (dx > 0 ? 1 : -1);
    ey = from.Y + static_cast<int>(std::lround(static_cast<double>(ex - from.X) * dy / dx));
  } else {
    ey = y - (dy > 0 ? 1 : -1);
    ex = from.X + static_cast<int>(std::lround(static_cast<double>(ey - from.Y) * dx / dy));
  }
  p->drawLine(from.X, from.Y, ex, ey);
}

void TCanvas::Polyline(std::span<const TPoint> thePoints) {
  if (thePoints.empty()) return;
  TPoint saved = fPenPos;
  MoveTo(thePoints[0].X, thePoints[0].Y);
  for (size_t k = 1; k < thePoints.size(); ++k) LineTo(thePoints[k].X, thePoints[k].Y);
  fPenPos = saved;  // Polyline leaves the pen where it was
}

void TCanvas::SmoothPolyline(std::span<const TPointF> thePoints, double theWidth) {
  if (thePoints.size() < 2 || !(theWidth > 0)) return;
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p) return;
  SetMode(p, pmCopy);
  QPen pen(ToQColor(fPen.GetColor()), theWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p->setPen(pen);
  p->setBrush(Qt::NoBrush);
  QPolygonF poly;
  for (const TPointF& pt : thePoints) poly << QPointF(pt.X, pt.Y);
  p->save();
  p->setRenderHint(QPainter::Antialiasing, true);
  p->drawPolyline(poly);
  p->restore();
}

void TCanvas::Polygon(std::span<const TPoint> thePoints) {
  if (thePoints.size() < 2) return;
  QPainter* p = Prepare(true, true);
  if (!p) return;
  QPolygon poly;
  poly.reserve(static_cast<qsizetype>(thePoints.size()));
  for (const TPoint& pt : thePoints) poly << QPoint(pt.X, pt.Y);
  p->drawPolygon(poly);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  QPainter* p = Prepare(true, true);
  if (!p || x2 <= x1 || y2 <= y1) return;
  if (fPen.GetStyle() == psClear) {
    if (fBrush.GetStyle() != bsClear) p->drawRect(QRect(x1, y1, x2 - x1, y2 - y1));
    return;
  }
  // The outline runs along x1..x2-1 and y1..y2-1.
  p->drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  QPainter* p = Prepare(true, true);
  if (!p || x2 <= x1 || y2 <= y1) return;
  p->drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void TCanvas::FillRect(const TRect& r) {
  if (r.IsEmpty() || fBrush.GetStyle() == bsClear) return;
  if (fBrush.GetStyle() == bsSolid && !fBrush.GetBitmap()) {
    // A plain colour needs no brush.
    QPainter* p = fHandle ? fHandle->Painter() : nullptr;
    if (!p) return;
    SetMode(p, pmCopy);
    SolidFill(p, ToQRect(r), ToQColor(fBrush.GetColor()));
    return;
  }
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p) return;
  SetMode(p, pmCopy);  // filling ignores the pen's mode
  if (fBrush.GetBitmap() && fBrush.GetBitmap()->GetWidth() > 0 &&
      DirectTileFill(p, ToQRect(r), PatternTile(fBrush.GetBitmap())))
    return;
  p = Prepare(false, true);
  SetMode(p, pmCopy);
  p->fillRect(ToQRect(r), p->brush());
}

void TCanvas::FillRects(std::span<const TRect> theRects) {
  if (fBrush.GetStyle() != bsSolid || fBrush.GetBitmap()) {
    for (const TRect& r : theRects) FillRect(r);
    return;
  }
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p || theRects.empty()) return;
  SetMode(p, pmCopy);
  std::vector<QRect> rects;
  rects.reserve(theRects.size());
  for (const TRect& r : theRects)
    if (!r.IsEmpty()) rects.push_back(ToQRect(r));
  SolidFills(p, rects, ToQColor(fBrush.GetColor()));
}

void TCanvas::FrameRect(const TRect& r) {
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p || r.IsEmpty() || fBrush.GetStyle() == bsClear) return;
  SetMode(p, pmCopy);
  const QRect edges[] = {QRect(r.Left, r.Top, r.Width(), 1), QRect(r.Left, r.Bottom - 1, r.Width(), 1),
                         QRect(r.Left, r.Top, 1, r.Height()), QRect(r.Right - 1, r.Top, 1, r.Height())};
  SolidFills(p, edges, ToQColor(fBrush.GetColor()));
}

void TCanvas::DrawFocusRect(const TRect& r) {
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p || r.IsEmpty()) return;
  const bool canInvert = p->paintEngine() && p->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
  p->setCompositionMode(canInvert ? QPainter::RasterOp_SourceXorDestination : QPainter::CompositionMode_SourceOver);
  p->setPen(Qt::NoPen);
  p->setBrush(Qt::NoBrush);
  QColor c = canInvert ? QColor(255, 255, 255) : QColor(0, 0, 0);
  // Every other pixel along the frame, each pixel once (inverting twice would undo it).
  auto dot = [&](int x, int y) {
    if (((x - r.Left) + (y - r.Top)) % 2 == 0) p->fillRect(QRect(x, y, 1, 1), c);
  };
  for (int x = r.Left; x < r.Right; ++x) {
    dot(x, r.Top);
    if (r.Bottom - 1 > r.Top) dot(x, r.Bottom - 1);
  }
  for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
    dot(r.Left, y);
    if (r.Right - 1 > r.Left) dot(r.Right - 1, y);
  }
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::DrawFocusFrame(const TRect& r) {
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p || r.IsEmpty()) return;
  const QColor c = ToQColor(clFocusRect);
  // Every other pixel, filled together; counted in 64 bits as r may span all of int.
  std::vector<QRect> dots;
  const auto dot = [&](int x, int y) {
    if (((static_cast<long long>(x) - r.Left) + (static_cast<long long>(y) - r.Top)) % 2 == 0)
      dots.emplace_back(x, y, 1, 1);
  };
  // Only the part on the device is walked, however large r is.
  const QPaintDevice* device = p->device();
  const QRect seen = p->combinedTransform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
  const int left = std::max(r.Left, seen.left() - 1), right = std::min(r.Right, seen.right() + 2);
  const int top = std::max(r.Top + 1, seen.top() - 1), bottom = std::min(r.Bottom - 1, seen.bottom() + 2);
  for (int x = left; x < right; ++x) {
    dot(x, r.Top);
    if (r.Bottom - 1 > r.Top) dot(x, r.Bottom - 1);
  }
  for (int y = top; y < bottom; ++y) {
    dot(r.Left, y);
    if (r.Right - 1 > r.Left) dot(r.Right - 1, y);
  }
  p->save();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  SolidFills(p, dots, c);
  p->restore();
}

void TCanvas::TextOut(int x, int y, const std::string& theText) {
  QPainter* p = PrepareText(false);
  if (!p || theText.empty()) return;
  const QFontMetrics& fm = Metrics();
  LaidText& laid = Laid(theText);
  const int w = static_cast<int>(std::lround(laid.Width())), h = fFontEntry->lineHeight;
  if (fFont.GetOrientation() != 0) {
    UseTextPen(p);
    p->save();
    p->translate(x, y);
    p->rotate(-fFont.GetOrientation() / 10.0);
    FillTextBackground(p, Rect(0, 0, w, h));
    p->drawText(0, fm.ascent(), ToQString(theText));
    p->restore();
  } else {
    FillTextBackground(p, Rect(x, y, x + w, y + h));
    DrawRun(p, laid, x, y, nullptr);
  }
  fPenPos = Point(x + w, y);
}

void TCanvas::TextOutClipped(const TRect& theClip, int x, int y, const std::string& theText) {
  QPainter* p = PrepareText(false);
  if (!p || theText.empty() || theClip.IsEmpty()) return;
  if (fFont.GetOrientation() != 0) {
    p->save();
    p->setClipRect(ToQRect(theClip), Qt::IntersectClip);
    TextOut(x, y, theText);
    p->restore();
    return;
  }
  const QFontMetrics& fm = Metrics();
  LaidText& laid = Laid(theText);
  const int w = static_cast<int>(std::lround(laid.Width()));
  FillTextBackground(p, IntersectRect(Rect(x, y, x + w, y + fm.height()), theClip));
  const QRect clip = ToQRect(theClip);
  DrawRun(p, laid, x, y, &clip);
  fPenPos = Point(x + w, y);
}

bool TCanvas::CanBlendPictures(QPainter* p) const {
  // Vector devices keep their text as text, and transformed or inverting
  // painters draw glyphs themselves.
  return p->device() && p->device()->devType() == QInternal::Image &&
         p->worldTransform().type() <= QTransform::TxTranslate &&
         p->compositionMode() == QPainter::CompositionMode_SourceOver;
}

void TCanvas::DrawRun(QPainter* p, LaidText& theText, int x, int y, const QRect* theClip) {
  // A text seen once (a jump to far rows) is drawn glyph by glyph; only a
  // text drawn again earns its picture.
  if (!CanBlendPictures(p) || (theText.pictures.empty() && theText.uses++ == 0)) {
    UseTextPen(p);
    if (theClip) {
      p->save();
      p->setClipRect(*theClip, Qt::IntersectClip);
    }
    p->drawStaticText(QPointF(x, y), theText.run);
    if (theClip) p->restore();
    return;
  }
  QPoint at;
  const QImage& image = Picture(p, theText, at);
  if (image.isNull()) return;  // nothing to see (spaces)
  const double dpr = image.devicePixelRatio();
  QRect target(x + at.x(), y + at.y(), static_cast<int>(std::lround(image.width() / dpr)),
               static_cast<int>(std::lround(image.height() / dpr)));
  const QRect shown = theClip ? target.intersected(*theClip) : target;
  if (shown.isEmpty()) return;
  const QRectF source((shown.x() - target.x()) * dpr, (shown.y() - target.y()) * dpr, shown.width() * dpr,
                      shown.height() * dpr);
  p->drawImage(QRectF(shown), image, source);
}

namespace {

// The part of a rendered run that holds ink: blending the empty margins
// around it would cost as much as blending the letters.
QRect InkBounds(const QImage& theImage) {
  int left = theImage.width(), right = -1, top = theImage.height(), bottom = -1;
  for (int y = 0; y < theImage.height(); ++y) {
    const auto* line = reinterpret_cast<const quint32*>(theImage.constScanLine(y));
    for (int x = 0; x < theImage.width(); ++x)
      if (qAlpha(line[x]) != 0) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = y;
      }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

const QImage& TCanvas::Picture(QPainter* p, LaidText& theText, QPoint& theOffset) {
  TextCache& c = *fTextCache;
  const TColor color = ColorToRGB(fFont.GetColor());
  const double dpr = p->device()->devicePixelRatio();
  for (const LaidText::Picture& pic : theText.pictures)
    if (pic.color == color && pic.dpr == dpr) {
      theOffset = pic.offset;
      return pic.image;
    }
  if (c.pictureBytes > TextCache::kMaxPictureBytes) c.DropPictures();
  const QFontMetrics& fm = Metrics();
  // Room for glyphs that reach past their advance (italics, overhangs).
  const int pad = std::max(2, fm.height() / 4);
  const int w = static_cast<int>(std::ceil(theText.Width())) + 2 * pad, h = fm.height() + 2 * pad;
  QImage image(static_cast<int>(std::ceil(w * dpr)), static_cast<int>(std::ceil(h * dpr)),
               QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(dpr);
  image.fill(Qt::transparent);
  {
    QPainter ip(&image);
    ip.setFont(fFontEntry->font);
    ip.setPen(ToQColor(color));
    ip.drawStaticText(QPointF(pad, pad), theText.run);
  }
  QPoint offset(-pad, -pad);
  if (dpr == 1.0) {
    const QRect ink = InkBounds(image);
    image = ink.isEmpty() ? QImage() : image.copy(ink);
    offset += ink.topLeft();
  }
  // A text shown in many colours keeps only its latest few.
  constexpr size_t kColoursPerText = 4;
  if (theText.pictures.size() >= kColoursPerText) {
    c.pictureBytes -= static_cast<size_t>(theText.pictures.front().image.sizeInBytes());
    theText.pictures.erase(theText.pictures.begin());
  }
  c.pictureBytes += static_cast<size_t>(image.sizeInBytes());
  theText.pictures.push_back(LaidText::Picture{std::move(image), offset, color, dpr});
  theOffset = offset;
  return theText.pictures.back().image;
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& theText) {
  QPainter* p = PrepareText(false);
  if (!p) return;
  FillTextBackground(p, r);
  if (theText.empty() || r.IsEmpty()) return;
  const QRect clip = ToQRect(r);
  DrawRun(p, Laid(theText), x, y, &clip);
}

TSize TCanvas::TextExtent(const std::string& theText) {
  const QFontMetrics& fm = Metrics();
  (void)fm;
  const int h = fFontEntry->lineHeight;
  if (theText.empty()) return TSize{0, h};
  return TSize{static_cast<int>(std::lround(Laid(theText).Width())), h};
}

int TCanvas::TextWidth(const std::string& theText) { return TextExtent(theText).cx; }

int TCanvas::TextHeight(const std::string& theText) { return TextExtent(theText).cy; }

QStaticText& TCanvas::Run(const std::string& theText) { return Laid(theText).run; }

TCanvas::LaidText& TCanvas::Laid(const std::string& theText) {
  Metrics();
  auto& runs = fFontEntry->runs;
  auto it = runs.find(theText);
  if (it == runs.end()) {
    if (runs.size() >= TextCache::kMaxRuns) fTextCache->DropRuns(*fFontEntry);
    QStaticText run(ToQString(theText));
    run.setTextFormat(Qt::PlainText);
    run.setPerformanceHint(QStaticText::AggressiveCaching);
    run.prepare(QTransform(), fFontEntry->font);
    it = runs.emplace(theText, LaidText{std::move(run), 0, -1, {}}).first;
  }
  return it->second;
}

int TCanvas::DrawLine(const std::string& theText, const TRect& r, unsigned theFlags) {
  QPainter* p = PrepareText(false);
  if (!p) return 0;
  LaidText& laid = Laid(theText);
  const int w = static_cast<int>(std::ceil(laid.Width())), h = fFontEntry->lineHeight;
  int x = r.Left, y = r.Top;
  if (theFlags & DT_CENTER)
    x = r.Left + (r.Width() - w) / 2;
  else if (theFlags & DT_RIGHT)
    x = r.Right - w;
  if ((theFlags & DT_SINGLELINE) && (theFlags & DT_VCENTER))
    y = r.Top + (r.Height() - h) / 2;
  else if ((theFlags & DT_SINGLELINE) && (theFlags & DT_BOTTOM))
    y = r.Bottom - h;
  FillTextBackground(p, Rect(x, y, x + w, y + h));
  const bool clip = !(theFlags & DT_NOCLIP) && (x < r.Left || y < r.Top || x + w > r.Right || y + h > r.Bottom);
  const QRect area = ToQRect(r);
  DrawRun(p, laid, x, y, clip ? &area : nullptr);
  if (theFlags & (DT_VCENTER | DT_BOTTOM)) return y + h - r.Top;
  return h;
}

int TCanvas::DrawText(const std::string& theText, TRect& r, unsigned theFlags) {
  // One plain line needs no layout: it comes from the cache of runs.
  constexpr unsigned kLayout = DT_CALCRECT | DT_WORDBREAK | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_EXPANDTABS;
  if (!(theFlags & kLayout) && !theText.empty() && theText.find_first_of((theFlags & DT_NOPREFIX) ? "\n\r" : "\n\r&") == std::string::npos)
    return DrawLine(theText, r, theFlags);
  const QFontMetrics& fm = Metrics();
  int flags = 0;
  if (theFlags & DT_CENTER)
    flags |= Qt::AlignHCenter;
  else if (theFlags & DT_RIGHT)
    flags |= Qt::AlignRight;
  else
    flags |= Qt::AlignLeft;
  if (theFlags & DT_SINGLELINE) {
    flags |= Qt::TextSingleLine;
    if (theFlags & DT_VCENTER)
      flags |= Qt::AlignVCenter;
    else if (theFlags & DT_BOTTOM)
      flags |= Qt::AlignBottom;
    else
      flags |= Qt::AlignTop;
  } else {
    flags |= Qt::AlignTop;
  }
  if (theFlags & DT_WORDBREAK) flags |= Qt::TextWordWrap;
  if (theFlags & DT_EXPANDTABS) flags |= Qt::TextExpandTabs;
  if (!(theFlags & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;

  QString text = ToQString(theText);
  if ((theFlags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) && !(theFlags & DT_CALCRECT))
    text = fm.elidedText(text, Qt::ElideRight, std::max(r.Width(), 0), flags & Qt::TextShowMnemonic);

  if (theFlags & DT_CALCRECT) {
    int width = 0, height = 0;
    if ((theFlags & DT_WORDBREAK) && !(theFlags & DT_SINGLELINE)) {
      // Several lines: the width stays (or grows to the widest word), the height grows.
      const QRect br = fm.boundingRect(QRect(r.Left, r.Top, std::max(r.Width(), 1), 1 << 20),
                                       flags & ~(Qt::AlignHCenter | Qt::AlignRight), text);
      width = std::max(br.width(), r.Width());
      height = br.height();
    } else {
      QString plain = text;
      if (flags & Qt::TextShowMnemonic) {
        plain.replace(QLatin1String("&&"), QString(QChar(0xFFFF)));
        plain.remove(QLatin1Char('&'));
        plain.replace(QChar(0xFFFF), QLatin1Char('&'));
      }
      const QStringList lines = (theFlags & DT_SINGLELINE) ? QStringList{plain} : plain.split(QLatin1Char('\n'));
      for (const QString& line : lines) width = std::max(width, fm.horizontalAdvance(line));
      // Lines stand a line spacing apart when drawn.
      height = fm.height() + fm.lineSpacing() * (static_cast<int>(lines.size()) - 1);
    }
    if (theText.empty()) {
      width = 0;
      height = fm.height();
    }
    r.Right = r.Left + width;
    r.Bottom = r.Top + height;
    return height;
  }

  QPainter* p = PrepareText();
  if (!p) return 0;
  const QRect area = ToQRect(r);
  QRect br = fm.boundingRect(area, flags, text);
  if (!(theFlags & DT_NOCLIP)) {
    p->save();
    p->setClipRect(area, Qt::IntersectClip);
  }
  FillTextBackground(p, Rect(br.left(), br.top(), br.left() + br.width(), br.top() + br.height()));
  p->drawText(area, flags, text);
  if (!(theFlags & DT_NOCLIP)) p->restore();
  if (theFlags & (DT_VCENTER | DT_BOTTOM)) return br.top() + br.height() - r.Top;
  return br.height();
}

TColor TCanvas::GetPixel(int x, int y) {
  const QImage* image = fHandle ? fHandle->Image() : nullptr;
  if (!image) return clNone;
  const TPoint o = fHandle->GetViewportOrg();
  // Logical pixels: on an image made for a high-density screen, the first
  // physical pixel of the logical one.
  const double ratio = image->devicePixelRatio();
  const int dx = static_cast<int>((x + o.X) * ratio), dy = static_cast<int>((y + o.Y) * ratio);
  if (dx < 0 || dy < 0 || dx >= image->width() || dy >= image->height()) return clNone;
  QRgb c = image->pixel(dx, dy);
  return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TCanvas::SetPixel(int x, int y, TColor theColor) {
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p) return;
  SetMode(p, pmCopy);
  p->fillRect(QRect(x, y, 1, 1), ToQColor(theColor));
}

void TCanvas::Draw(int x, int y, TBitmap* theBitmap) {
  if (!theBitmap || theBitmap->GetWidth() <= 0) return;
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p) return;
  SetMode(p, pmCopy);
  p->drawImage(QPoint(x, y), theBitmap->Image());
}

void TCanvas::StretchDraw(const TRect& r, TBitmap* theBitmap) {
  if (!theBitmap || theBitmap->GetWidth() <= 0 || r.IsEmpty()) return;
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p) return;
  SetMode(p, pmCopy);
  p->drawImage(ToQRect(r), theBitmap->Image());
}

void TCanvas::CopyRect(const TRect& theDestRect, TCanvas* theSource, const TRect& theSourceRect) {
  if (!theSource || !theSource->fHandle || theDestRect.IsEmpty() || theSourceRect.IsEmpty()) return;
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p) return;
  theSource->fHandle->EndPainting();
  const QImage* image = theSource->fHandle->Image();
  if (!image) return;
  SetMode(p, pmCopy);
  // The source rectangle in the image's own pixels.
  const double ratio = image->devicePixelRatio();
  const QRectF source(theSourceRect.Left * ratio, theSourceRect.Top * ratio, theSourceRect.Width() * ratio,
                      theSourceRect.Height() * ratio);
  p->drawImage(QRectF(ToQRect(theDestRect)), *image, source);
}

// --- TBitmap -------------------------------------------------------------------

TBitmap::TBitmap() : TBitmap(0, 0) {}

TBitmap::TBitmap(int theWidth, int theHeight) : fCanvas(std::make_unique<TCanvas>()) {
  // The image lives in the device context's own storage (see SetSize).
  fDC = TDeviceContext::CreateImage(std::max(theWidth, 0), std::max(theHeight, 0), ScreenPixelsPerInch);
  if (theWidth <= 0 || theHeight <= 0) SetSize(theWidth, theHeight);
  fCanvas->SetHandle(fDC.get());
}

TBitmap::~TBitmap() {
  fCanvas->SetHandle(nullptr);
  fDC.reset();
}

int TBitmap::GetWidth() const noexcept {
  const QImage* image = fDC->Image();
  return image ? static_cast<int>(image->deviceIndependentSize().width() + 0.5) : 0;
}

int TBitmap::GetHeight() const noexcept {
  const QImage* image = fDC->Image();
  return image ? static_cast<int>(image->deviceIndependentSize().height() + 0.5) : 0;
}

double TBitmap::GetDevicePixelRatio() const noexcept {
  const QImage* image = fDC->Image();
  return image ? image->devicePixelRatio() : 1.0;
}

void TBitmap::SetDevicePixelRatio(double theRatio) {
  if (!(theRatio > 0) || theRatio == GetDevicePixelRatio()) return;
  const int w = GetWidth(), h = GetHeight();
  fDC->EndPainting();
  // A new picture at the new density; what was drawn goes.
  QImage* image = fDC->Image();
  *image = QImage();
  image->setDevicePixelRatio(theRatio);
  fRatio = theRatio;
  SetSize(w, h);
}

void TBitmap::SetSize(int theWidth, int theHeight) {
  theWidth = std::max(theWidth, 0);
  theHeight = std::max(theHeight, 0);
  QImage* image = fDC->Image();
  if (GetWidth() == theWidth && GetHeight() == theHeight && !image->isNull()) return;
  fDC->EndPainting();
  QImage next;
  if (theWidth > 0 && theHeight > 0) {
    next = QImage(static_cast<int>(theWidth * fRatio + 0.5), static_cast<int>(theHeight * fRatio + 0.5),
                  fTransparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    next.setDevicePixelRatio(fRatio);
    next.fill(fTransparent ? Qt::transparent : Qt::white);
    if (!image->isNull()) {
      QPainter copy(&next);
      copy.drawImage(0, 0, *image);
    }
  }
  *image = std::move(next);
}

const QImage& TBitmap::Image() {
  fDC->EndPainting();
  return *fDC->Image();
}

QImage* TBitmap::MutableImage() {
  fDC->EndPainting();
  return fDC->Image();
}

bool TBitmap::SaveToFile(const std::string& theFileName) {
  return Image().save(ToQString(theFileName));
}

bool TBitmap::LoadFromFile(const std::string& theFileName) {
  QImage loaded;
  if (!loaded.load(ToQString(theFileName))) return false;
  fDC->EndPainting();
  *fDC->Image() = loaded.convertToFormat(fTransparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  return true;
}

void TBitmap::SetTransparent(bool theValue) {
  if (theValue == fTransparent) return;
  fTransparent = theValue;
  fDC->EndPainting();
  QImage* image = fDC->Image();
  if (!image->isNull())
    *image = image->convertToFormat(theValue ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

}  // namespace vx
