#include "platform/ui/Graphics.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QStaticText>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

#include "platform/rtl/Math.h"
#include "platform/ui/DeviceContext.h"

namespace vx {

namespace {

QColor ToQColor(TColor c) {
  TColor rgb = ColorToRGB(c);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QString ToQString(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

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

// Text laid out once and drawn many times: the metrics of the font on the
// device, and the runs of single lines drawn with it. Emptied when the font
// or the device changes.
struct TCanvas::TextCache {
  static constexpr size_t kMaxRuns = 4096;
  std::unique_ptr<QFontMetrics> metrics;
  const QPaintDevice* device = nullptr;
  unsigned generation = 0;
  std::unordered_map<std::string, QStaticText> runs;
};

TCanvas::TCanvas() : fTextCache(std::make_unique<TextCache>()) {
  fFont.OnChange = [this](TObject*) { fFontDirty = true; };
}

TCanvas::~TCanvas() = default;

const QFontMetrics& TCanvas::Metrics() {
  ApplyFontToDevice();
  TextCache& c = *fTextCache;
  const QPaintDevice* device = fHandle ? fHandle->Device() : nullptr;
  if (!c.metrics || c.device != device || c.generation != fFontGeneration) {
    c.metrics = std::make_unique<QFontMetrics>(*fQFont, const_cast<QPaintDevice*>(device));
    c.device = device;
    c.generation = fFontGeneration;
    c.runs.clear();
  }
  return *c.metrics;
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
  if (fQFont && !fFontDirty) return;
  if (fQFont && fBuiltName == fFont.GetName() && fBuiltHeight == fFont.GetHeight() &&
      fBuiltStyle == fFont.GetStyle()) {
    fFontDirty = false;
    return;
  }
  fBuiltName = fFont.GetName();
  fBuiltHeight = fFont.GetHeight();
  fBuiltStyle = fFont.GetStyle();
  {
    auto f = std::make_unique<QFont>(ToQString(fFont.GetName()));
    f->setPixelSize(std::max(1, std::abs(fFont.GetHeight())));
    TFontStyles st = fFont.GetStyle();
    f->setBold(st.Contains(fsBold));
    f->setItalic(st.Contains(fsItalic));
    f->setUnderline(st.Contains(fsUnderline));
    f->setStrikeOut(st.Contains(fsStrikeOut));
    f->setStyleStrategy(QFont::PreferAntialias);
    fQFont = std::move(f);
    ++fFontGeneration;
    fFontDirty = false;
  }
}

QPainter* TCanvas::PrepareText() {
  QPainter* p = fHandle ? fHandle->Painter() : nullptr;
  if (!p) return nullptr;
  ApplyFontToDevice();
  p->setFont(*fQFont);
  p->setPen(ToQColor(fFont.GetColor()));
  p->setBrush(Qt::NoBrush);
  SetMode(p, pmCopy);
  return p;
}

void TCanvas::FillTextBackground(QPainter* p, const TRect& r) {
  if (fBrush.GetStyle() == bsClear || r.IsEmpty()) return;
  p->fillRect(ToQRect(r), ToQColor(fBrush.GetColor()));
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
      p->fillRect(QRect(std::min(from.X, last), y, std::abs(last - from.X) + 1, 1), c);
    } else {
      const int last = y - (dy > 0 ? 1 : -1);
      p->fillRect(QRect(x, std::min(from.Y, last), 1, std::abs(last - from.Y) + 1), c);
    }
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
    p->fillRect(span, p->pen().color());
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
    p->fillRect(ToQRect(r), ToQColor(fBrush.GetColor()));
    return;
  }
  QPainter* p = Prepare(false, true);
  if (!p) return;
  SetMode(p, pmCopy);  // filling ignores the pen's mode
  p->fillRect(ToQRect(r), p->brush());
}

void TCanvas::FrameRect(const TRect& r) {
  QPainter* p = Prepare(false, false);
  if (!p || r.IsEmpty() || fBrush.GetStyle() == bsClear) return;
  SetMode(p, pmCopy);
  QColor c = ToQColor(fBrush.GetColor());
  p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
  p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
  p->fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
  p->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
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

void TCanvas::TextOut(int x, int y, const std::string& theText) {
  QPainter* p = PrepareText();
  if (!p || theText.empty()) return;
  const QFontMetrics& fm = Metrics();
  QStaticText& laid = Run(theText);
  const int w = static_cast<int>(std::lround(laid.size().width())), h = fm.height();
  if (fFont.GetOrientation() != 0) {
    p->save();
    p->translate(x, y);
    p->rotate(-fFont.GetOrientation() / 10.0);
    FillTextBackground(p, Rect(0, 0, w, h));
    p->drawText(0, fm.ascent(), ToQString(theText));
    p->restore();
  } else {
    FillTextBackground(p, Rect(x, y, x + w, y + h));
    p->drawStaticText(QPointF(x, y), laid);
  }
  fPenPos = Point(x + w, y);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& theText) {
  QPainter* p = PrepareText();
  if (!p) return;
  FillTextBackground(p, r);
  if (theText.empty() || r.IsEmpty()) return;
  const QFontMetrics& fm = Metrics();
  p->save();
  p->setClipRect(ToQRect(r), Qt::IntersectClip);
  p->drawText(x, y + fm.ascent(), ToQString(theText));
  p->restore();
}

TSize TCanvas::TextExtent(const std::string& theText) {
  const QFontMetrics& fm = Metrics();
  if (theText.empty()) return TSize{0, fm.height()};
  return TSize{static_cast<int>(std::lround(Run(theText).size().width())), fm.height()};
}

int TCanvas::TextWidth(const std::string& theText) { return TextExtent(theText).cx; }

int TCanvas::TextHeight(const std::string& theText) { return TextExtent(theText).cy; }

QStaticText& TCanvas::Run(const std::string& theText) {
  Metrics();  // the runs belong to the font and the device
  auto& runs = fTextCache->runs;
  auto it = runs.find(theText);
  if (it == runs.end()) {
    if (runs.size() >= TextCache::kMaxRuns) runs.clear();
    QStaticText run(ToQString(theText));
    run.setTextFormat(Qt::PlainText);
    run.setPerformanceHint(QStaticText::AggressiveCaching);
    run.prepare(QTransform(), *fQFont);
    it = runs.emplace(theText, std::move(run)).first;
  }
  return it->second;
}

int TCanvas::DrawLine(const std::string& theText, const TRect& r, unsigned theFlags) {
  QPainter* p = PrepareText();
  if (!p) return 0;
  const QFontMetrics& fm = Metrics();
  QStaticText& laid = Run(theText);
  const int w = static_cast<int>(std::ceil(laid.size().width())), h = fm.height();
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
  if (clip) {
    p->save();
    p->setClipRect(ToQRect(r), Qt::IntersectClip);
  }
  p->drawStaticText(x, y, laid);
  if (clip) p->restore();
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
      height = fm.height() * static_cast<int>(lines.size());
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
  return Image().save(QString::fromStdString(theFileName));
}

bool TBitmap::LoadFromFile(const std::string& theFileName) {
  QImage loaded;
  if (!loaded.load(QString::fromStdString(theFileName))) return false;
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
