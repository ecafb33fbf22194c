// Painting of the schedule's drawing area. Only what is shown is visited:
// the columns on screen, and in each the bookings that meet the scaler's
// window.
#include <algorithm>
#include <cmath>

#include "paint/vxGraphStuff.h"
#include "platform/rtl/Math.h"
#include "schema/vxSchema.h"

namespace vx {

namespace {

constexpr TColor kSilver = 12632256;
constexpr TColor kActiveGrey = 8421504;

void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

}  // namespace

const std::string& ShowableText(const std::string& theText, int theWidth, std::string& theCut) {
  // Code points take at most four bytes.
  const size_t most = 4 * (2 * static_cast<size_t>(std::clamp(theWidth, 0, 1 << 20)) + 16);
  if (theText.size() <= most) return theText;
  size_t end = most;
  while (end > 0 && (static_cast<unsigned char>(theText[end]) & 0xC0) == 0x80) --end;  // not inside a character
  theCut.assign(theText, 0, end);
  return theCut;
}

void TvxSchema_ComBasic::SchemaPaint(TObject*) {
  if (IsDestroying()) return;
  TCanvas* c = itsTA->GetOffscreenCanvas();
  const TRect all = Rect(0, 0, itsTA->GetWidth(), itsTA->GetHeight());
  DoBackground(c, 0, 0, all.Right, all.Bottom);
  DoTodayLine();
  if (OnDrawBackground) OnDrawBackground(this, all, c);
  DoForeGround();
  if (OnDrawForeground) OnDrawForeground(this, all, c);
}

void TvxSchema_ComBasic::ReInitBitmap() {
  itsPyjamasBitMap->SetSize(2, 2);
  TCanvas* c = itsPyjamasBitMap->GetCanvas();
  c->SetPixel(0, 0, itsBackColor);
  c->SetPixel(1, 1, itsBackColor);
  c->SetPixel(1, 0, itsPyjamasColor);
  c->SetPixel(0, 1, itsPyjamasColor);
}

// --- background -----------------------------------------------------------------------

void TvxSchema_ComBasic::DoBackground(TCanvas* theCanvas, int theLeft, int theTop, int theWidth, int theHeight) {
  TCanvas* c = theCanvas;
  const bool printing = itsTA->GetIsPrinting();
  const bool flipped = itsFlipView;
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetBitmap(nullptr);
  c->GetBrush()->SetColor(itsBackColor);
  const TRect whole = Rect(theLeft, theTop, theLeft + theWidth, theTop + theHeight);
  if (!printing) c->FillRect(whole);
  c->GetPen()->SetColor(clBtnShadow);
  // The area once more from its origin (the same pixels when drawn there).
  if (!printing && whole != Rect(0, 0, theWidth, theHeight)) c->FillRect(Rect(0, 0, theWidth, theHeight));

  // Stripes along the column axis, every odd column (by its index) patterned.
  // Past the last column there is only the background: no stripe there
  // stands for a column.
  const double scale = flipped ? itsTA->GetScaley() : itsTA->GetScalex();
  const int extent = flipped ? theHeight : theWidth;
  const int count = itsDataListColumns->Count();
  for (int index = itsDataListColumns->GetTopLeftCol(); index < count; ++index) {
    int nearEdge, farEdge;
    ColumnToPixels(index, nearEdge, farEdge);
    const int a = Round(nearEdge * scale), b = Round(farEdge * scale);
    if (a >= extent) break;
    if (index % 2 == 0 || b <= a) continue;
    if (printing) {
      c->GetBrush()->SetBitmap(nullptr);
      c->GetBrush()->SetColor(itsPyjamasColor);
    } else {
      c->GetBrush()->SetBitmap(itsPyjamasBitMap.get());
    }
    c->FillRect(flipped ? Rect(theLeft, theTop + a, theLeft + theWidth, theTop + b)
                        : Rect(theLeft + a, theTop, theLeft + b, theTop + theHeight));
  }
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetBitmap(nullptr);
  c->GetPen()->SetMode(pmCopy);

  // Scale lines across the area at the scaler's marks (screen pixels of the
  // scaler, on paper scaled as the area is).
  const double timeScale = flipped ? itsTA->GetScalex() : itsTA->GetScaley();
  auto across = [&](double thePixel) {
    const int m = Round(thePixel * timeScale);
    if (flipped)
      Line(c, m + theLeft, theTop, m + theLeft, theTop + theHeight);
    else
      Line(c, theLeft, m + theTop, theLeft + theWidth, m + theTop);
  };
  if (itsDrawShortLines) {
    c->GetPen()->SetColor(kSilver);
    const std::vector<TScaleMark>& marks = itsScaler->GetShortScaleMarks();
    const size_t step = marks.size() > 1 && marks[1].Pixel - marks[0].Pixel < 30 ? 2 : 1;
    for (size_t i = 0; i < marks.size(); i += step) across(marks[i].Pixel);
  }
  c->GetPen()->SetColor(clBackground);
  for (const TScaleMark& mark : itsScaler->GetLongScaleMarks()) across(mark.Pixel);

  // Column separators at the far edges; every column before the top-left one
  // has its far edge at 0.
  const int top = itsDataListColumns->GetTopLeftCol();
  auto separator = [&](int p) {
    const int s = Round(p * scale);
    if (flipped)
      Line(c, theLeft, s + theTop, theLeft + theWidth, s + theTop);
    else
      Line(c, s + theLeft, theTop, s + theLeft, theTop + theHeight);
    return s;
  };
  if (top > 0 && count > 0) separator(0);
  for (int i = top; i < count; ++i)
    if (separator(itsDataListColumns->GetFarSideOffset_FW(flipped, i)) >= extent) break;

  if (itsTA->Focused() && !printing) {
    c->GetBrush()->SetColor(clWhite);
    c->DrawFocusRect(Rect(2, 2, theWidth - 2, theHeight - 2));
  }
}

void TvxSchema_ComBasic::DoTodayLine() {
  if (!fTodayLineOnOff) return;
  const int p = itsScaler->DateToPixel(std::floor(Now()) + 0.5);
  TCanvas* c = itsTA->GetOffscreenCanvas();
  c->GetPen()->SetColor(fTodayLineColor);
  c->GetPen()->SetWidth(1);
  c->GetPen()->SetMode(pmCopy);
  if (!itsFlipView) {
    const int y = Round(p * itsTA->GetScaley());
    if (p > 0 && p < itsScaler->GetHeight()) Line(c, 0, y, itsTA->GetWidth(), y);
  } else if (p > 0 && p < itsScaler->GetWidth()) {
    const int x = Round(p * itsTA->GetScalex());
    Line(c, x, 0, x, itsTA->GetHeight());
  }
}

// --- bookings -------------------------------------------------------------------------

void TvxSchema_ComBasic::DoForeGround() {
  TCanvas* c = itsTA->GetOffscreenCanvas();
  const int count = itsDataListColumns->Count();
  if (count == 0) return;
  // The shown columns, from the top-left one until the area ends. A moved
  // rectangle, or a booking reaching out of its column, may show from any
  // column after it.
  const bool anywhere = OnGetDrawingRect || fNegativeInsetItems > 0;
  const double scale = itsFlipView ? itsTA->GetScaley() : itsTA->GetScalex();
  const int extent = itsFlipView ? itsTA->GetHeight() : itsTA->GetWidth();
  const int first = itsDataListColumns->GetTopLeftCol();
  int last = count - 1;
  if (!anywhere) {
    for (int col = first; col < count; ++col) {
      int nearEdge, farEdge;
      ColumnToPixels(col, nearEdge, farEdge);
      if (Round(nearEdge * scale) >= extent) {
        last = col - 1;
        break;
      }
    }
  }
  // The hooks below may delete any booking: the walk is over held ones, and
  // each is drawn only while it is still one of this control's.
  TvxHeldList<TvxDataEntity_SchemaTime> items;
  CollectShownItems(first, last, items);
  items.ForEach([&](TvxDataEntity_SchemaTime* item) {
    TRect r;
    if (Here(item) && RectFromDataEntity(itsFlipView, item, r) && Here(item)) DrawContent(item, AreaClip(r), c);
  });
}

TRect TvxSchema_ComBasic::AreaClip(const TRect& theRect) const {
  // As far as the area shows it, and a little more: edges cut off stay out
  // of sight, and no fill ever covers more than the area.
  const int w = Round(itsTA->GetWidth() * itsTA->GetScalex()), h = Round(itsTA->GetHeight() * itsTA->GetScaley());
  TRect r = theRect;
  r.Left = std::max(r.Left, -kClipMargin);
  r.Top = std::max(r.Top, -kClipMargin);
  r.Right = std::min(r.Right, w + kClipMargin);
  r.Bottom = std::min(r.Bottom, h + kClipMargin);
  return r;
}

void TvxSchema_ComBasic::DrawContent(TvxDataEntity* theDataEntity, const TRect& theRect, TCanvas* theCanvas) {
  TvxDataEntity_SchemaTime* item = DataEntity_Schema(theDataEntity);
  if (OnDrawTimeContent && item->fStyle == tssUser) {
    // The application's drawing may delete the booking: then its marks go too.
    TvxHeld<TvxDataEntity_SchemaTime> held(item);
    OnDrawTimeContent(this, item, theRect, theCanvas);
    if (!Here(held.Get())) return;
  } else {
    DefaultDrawContent(item, theRect, theCanvas);
  }
  if (item->GetSelected()) GStuff::DoSelectContent(theCanvas, theRect);
  if (item == itsActiveDataEntity) {
    theCanvas->GetBrush()->SetStyle(bsSolid);
    theCanvas->GetBrush()->SetColor(kActiveGrey);
    theCanvas->DrawFocusRect(InflateRect(theRect, -2, -2));
  }
}

void TvxSchema_ComBasic::DefaultDrawContent(TvxDataEntity_SchemaTime* theSchemaTime, const TRect& theRect,
                                            TCanvas* theCanvas) {
  TCanvas* c = theCanvas;
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetBitmap(nullptr);
  c->GetBrush()->SetColor(theSchemaTime->itsBackColor);
  c->FillRect(theRect);
  // The texts lie on the fill just made: filling behind them again would
  // paint the same colour twice.
  c->GetBrush()->SetStyle(bsClear);
  // Texts start where the booking comes into sight.
  const int left = std::max(theRect.Left, 0), top = std::max(theRect.Top, 0);
  // The print font handler may change or delete the booking: read afresh.
  TvxHeld<TvxDataEntity_SchemaTime> held(theSchemaTime);
  const std::vector<TvxSchemaText>& texts = theSchemaTime->itsTexts;
  for (size_t k = 0; k < texts.size(); ++k) {
    if (texts[k].GetText().empty()) continue;
    EnterTextStyle(c, texts[k].GetStyle());
    if (!held.Get() || k >= texts.size()) return;
    const TvxSchemaText& line = texts[k];
    // Offsets are screen pixels: on paper they grow with the font.
    const int x = FarPixel(left + static_cast<double>(Round(line.GetPos().X * itsTA->GetScalex())));
    const int y = FarPixel(top + static_cast<double>(Round(line.GetPos().Y * itsTA->GetScaley())));
    const TRect clip = Rect(x, y, theRect.Right - 1, theRect.Bottom - 1);
    std::string cut;
    if (clip.Top < clip.Bottom && clip.Right > clip.Left)
      c->TextRect(clip, x, y, ShowableText(line.GetText(), clip.Width(), cut));
  }
  c->GetBrush()->SetColor(theSchemaTime->itsFrameColor);
  c->FrameRect(theRect);
}

void TvxSchema_ComBasic::EnterTextStyle(TCanvas* theCanvas, int theStyle) {
  switch (theStyle) {
    case 1: theCanvas->SetFont(*fTextFont1); break;
    case 2: theCanvas->SetFont(*fTextFont2); break;
    case 3: theCanvas->SetFont(*fTextFont3); break;
    default: theCanvas->SetFont(*GetFont()); break;
  }
  if (itsTA->GetIsPrinting()) itsTA->PrintResizeFont();
}

}  // namespace vx
