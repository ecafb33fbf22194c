// The painter of the Gantt area: background, scale lines, rows and their items.
// Only what is shown is visited: the rows on screen, and in each the items
// that meet the visible time span.
#include <algorithm>
#include <cmath>
#include <limits>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/Math.h>

namespace vx {

void TGantPainter::Paint() {
  TCanvas* c = fChart.fGA->GetOffscreenCanvas();
  fChart.fSide->Prepare();
  fChart.DoBackground();
  fChart.ForEachShownRow([](TGantRow* row) { row->DrawContent(); });
  fChart.fLinkPainter.RenderLinks();
  TvxOffscreenPaint_GA* ga = fChart.fGA;
  if (fChart.OnUserDrawForeground) fChart.OnUserDrawForeground(&fChart, Rect(0, 0, ga->GetWidth(), ga->GetHeight()), c);
  c->GetPen()->SetColor(clBlack);
  fChart.fStartScaleWhenDrawn = fChart.fDateScaler->GetStart();
}

void TGantRow::DrawContent() {
  if (fGant) fGant->fPainter.DrawRow(this);
}

void TGantPainter::DrawRow(TGantRow* theRow) {
  TvxHold hold(theRow);  // an item drawn by the application may take its row away
  auto gone = [theRow] { return !theRow->GetGant(); };
  fRoomRow = theRow;
  fRoomMeasured = false;  // at the first text beside an item: most rows have none
  theRow->ForEachItem([&](TvxDataEntity_Kronit* item) {
    if (gone()) return false;  // the row went
    TRect r;
    if (fChart.IsVisible(item) && theRow->RectFromDataEntity(item, r)) DrawContent(item, r);
    return true;
  });
  fRoomRow = nullptr;
}

void TGantPainter::MeasureRoom() {
  // The rectangles of the row's shown items, by their left edges.
  std::vector<TRect>& rects = fRowItemRects;
  rects.clear();
  TGantRow* row = fRoomRow;
  row->ForEachItem([&](TvxDataEntity_Kronit* item) {
    TRect r;
    if (fChart.IsVisible(item) && row->RectFromDataEntity(item, r)) rects.push_back(r);
    return row->GetGant() != nullptr;
  });
  std::sort(rects.begin(), rects.end(), [](const TRect& a, const TRect& b) { return a.Left < b.Left; });
  fRoomMeasured = true;
}

void TGantPainter::TextRoom(const TRect& theRect, int& theLeft, int& theRight) {
  if (!fRoomMeasured) MeasureRoom();
  // Items that meet the rectangle's band and reach beyond its ends close the
  // room there; only the nearest ones are looked at, so that a crowded row
  // costs no more than a few dozen looks an item.
  constexpr std::ptrdiff_t kLooks = 32;
  const std::vector<TRect>& rects = fRowItemRects;
  auto band = [&theRect](const TRect& q) { return q.Top < theRect.Bottom && theRect.Top < q.Bottom; };
  const auto at = std::lower_bound(rects.begin(), rects.end(), theRect.Left,
                                   [](const TRect& q, int x) { return q.Left < x; });
  bool self = false;
  for (auto it = at; it != rects.end() && it - at < kLooks && it->Left < theRight; ++it) {
    if (!self && *it == theRect) {
      self = true;  // the item itself
      continue;
    }
    if (band(*it) && it->Right > theRect.Right) theRight = std::min(theRight, std::max(it->Left, theRect.Right));
  }
  for (auto it = at; it != rects.begin() && at - it < kLooks;) {
    --it;
    if (band(*it) && it->Left < theRect.Left) theLeft = std::max(theLeft, std::min(it->Right, theRect.Left));
    if (band(*it) && it->Right > theRect.Right) theRight = std::min(theRight, theRect.Right);  // covers the item
  }
}

// --- background -----------------------------------------------------------------------

void TGantPainter::Background() {
  TCanvas* c = fChart.fGA->GetOffscreenCanvas();
  DefaultBackGround();
  DoTodayLine();
  if (fChart.OnUserDrawBackground) fChart.OnUserDrawBackground(&fChart, Rect(0, 0, fChart.fGA->GetWidth(), fChart.fGA->GetHeight()), c);
  c->GetPen()->SetWidth(1);
  c->GetPen()->SetMode(pmCopy);
  c->GetPen()->SetStyle(psSolid);
  DrawHiddenTimeSeams();
  DrawScaleLines();
  if (fChart.fGA->Focused() && !fChart.fGA->GetIsPrinting())
    c->DrawFocusFrame(Rect(2, 2, fChart.fGA->GetWidth() - 2, fChart.fGA->GetHeight() - 2));
}

void TGantPainter::DefaultBackGround() {
  TCanvas* c = fChart.fGA->GetOffscreenCanvas();
  const int w = fChart.fGA->GetWidth(), h = fChart.fGA->GetHeight();
  const int band = Round(fChart.fGA->GetScaley() * fChart.fBackGroundHeight);
  TGantSide* side = fChart.ShownSide();
  const bool gridBands = side->OwnBands();
  // Where stripes cover the whole area, filling it first would only be
  // painted over: the background goes only between the stripes.
  const bool between = !fChart.fVerticalPyjamas && !gridBands && band > 0;
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetBitmap(nullptr);
  c->GetBrush()->SetColor(fChart.fBackColor);
  if (!fChart.fGA->GetIsPrinting() && !fChart.fVerticalPyjamas && !between) c->FillRect(Rect(0, 0, w, h));
  if (fChart.fVerticalPyjamas) DoVerticalPyjamas();
  int y = 0, index = 0;
  if (gridBands) side->DrawBands(y, index);
  if (band > 0)
    for (; y < h; y += band, ++index) {
      if (between && index % 2 != 0 && !fChart.fGA->GetIsPrinting()) {
        c->GetBrush()->SetColor(fChart.fBackColor);
        c->FillRect(Rect(0, y, w, y + band));
      }
      DrawRowBackgound(Rect(0, y, w, y + band), index);
    }
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetBitmap(nullptr);
}

void TGantPainter::DrawRowBackgound(const TRect& theRect, int theIndex) {
  if (fChart.fVerticalPyjamas || theIndex % 2 != 0) return;
  TCanvas* c = fChart.fGA->GetOffscreenCanvas();
  if (fChart.fGA->GetIsPrinting()) {
    c->GetBrush()->SetBitmap(nullptr);
    c->GetBrush()->SetColor(fChart.fPyjamasColor);
  } else {
    c->GetBrush()->SetBitmap(GantBitMap());
  }
  c->FillRect(theRect);
  c->GetBrush()->SetBitmap(nullptr);
}

TBitmap* TGantPainter::GantBitMap() { return fStripes.Get(fChart.fBackColor, fChart.fPyjamasColor); }

void TGantPainter::DoVerticalPyjamas() {
  TCanvas* c = fChart.fGA->GetOffscreenCanvas();
  const int w = fChart.fGA->GetWidth(), h = fChart.fGA->GetHeight();
  const std::vector<TScaleMark>& marks = fChart.fDateScaler->GetLongScaleMarks();
  const int parity0 = fChart.fDateScaler->GetOddOrEventStartForVerticalBack();
  int x = 0, k = 0, extra = 0;
  for (size_t i = 0; x < w; ++i) {
    const int nx = i < marks.size() ? Round(marks[i].Pixel * fChart.fGA->GetScalex()) : w;
    if (nx >= x) {
      if ((k + parity0 + extra) % 2 != 0) {
        c->GetBrush()->SetBitmap(nullptr);
        c->GetBrush()->SetColor(fChart.fPyjamasColor);
      } else {
        c->GetBrush()->SetBitmap(GantBitMap());
      }
      c->FillRect(Rect(x, 0, nx, h));
      x = nx;
      ++k;
    } else {
      extra = 1;
    }
    if (i >= marks.size()) break;
  }
  c->GetBrush()->SetBitmap(nullptr);
}

void TGantPainter::DoTodayLine() {
  if (!fChart.fTodayLineOnOff) return;
  const int x = fChart.fDateScaler->DateToPixel(std::floor(Now()) + 0.5);
  if (x <= 0 || x >= fChart.fDateScaler->GetWidth()) return;
  TCanvas* c = fChart.fGA->GetOffscreenCanvas();
  const int px = Round(x * fChart.fGA->GetScalex());
  c->GetPen()->SetColor(fChart.fTodayLineColor);
  c->GetPen()->SetWidth(1);
  c->MoveTo(px, 0);
  c->LineTo(px, Round(fChart.fGA->GetHeight() * fChart.fGA->GetScaley()));
}

void TGantPainter::DrawHiddenTimeSeams() {
  // Where hidden hours or days were taken out of the axis, a darker seam
  // shows that time jumps there.
  TCanvas* c = fChart.fGA->GetOffscreenCanvas();
  const int h = fChart.fGA->GetHeight();
  // Darker on a light background, lighter on a dark one.
  const TColor back = fChart.fBackColor;
  c->GetPen()->SetColor(RelativeLuminance(back) > 0.18 ? GStuff::TintColor(back, 0.8) : ContrastTint(back, 0.25));
  int last = -1;
  TvxDateScaler* scaler = fChart.fDateScaler;
  for (const std::vector<TScaleMark>* list : {&scaler->GetShortScaleMarks(), &scaler->GetLongScaleMarks()})
    for (const TScaleMark& mark : *list) {
      const int x = Round(mark.Pixel * fChart.fGA->GetScalex());
      if (!mark.Hidden || x == last) continue;
      c->MoveTo(x, 0);
      c->LineTo(x, h);
      last = x;
    }
}

void TGantPainter::DrawScaleLines() {
  TCanvas* c = fChart.fGA->GetOffscreenCanvas();
  const int h = fChart.fGA->GetHeight();
  // Where the scaler marks its scale (it keeps the marks in step with its
  // window, whether or not it has painted yet); short lines closer than 30
  // pixels are thinned.
  const double sx = fChart.fGA->GetScalex();
  std::vector<double>& pixels = fScaleLinePixels;
  if (fChart.fDrawShortLines) {
    fChart.fDateScaler->GetScaleLinePixels(false, 30, pixels);
    c->GetPen()->SetColor(0x808080);
    for (const double p : pixels) {
      const int x = Round(p * sx);
      c->MoveTo(x, 0);
      c->LineTo(x, h);
    }
  }
  if (fChart.fDrawLongLines) {
    fChart.fDateScaler->GetScaleLinePixels(true, 0, pixels);
    c->GetPen()->SetColor(clBackground);
    for (const double p : pixels) {
      const int x = Round(p * sx);
      c->MoveTo(x, 0);
      c->LineTo(x, h);
    }
  }
}

// --- items ----------------------------------------------------------------------------

void TGantPainter::DrawContent(TvxDataEntity_Kronit* theItem, const TRect& theRect) {
  TCanvas* c = fChart.fGA->GetOffscreenCanvas();
  const bool printing = fChart.fGA->GetIsPrinting();
  const double s = printing ? fChart.fGA->GetPrintScaley() : 1.0;
  const int w = fChart.fGA->GetWidth();
  TRect r = theRect;
  r.Left = std::max(r.Left, -10);
  r.Right = std::min(r.Right, w + 10);
  TRect t = theRect;
  if (r.Left < -1) t.Left = 0;
  if (w + 1 < r.Right) t.Right = w;
  const TColor color = theItem->GetColor();
  c->GetPen()->SetStyle(psSolid);
  c->GetPen()->SetMode(pmCopy);
  switch (theItem->GetDrawStyle()) {
    case gtsSquare: TvxTimeDraw::DrawTime(c, color, r); break;
    case gtsSpan: TvxTimeDraw::CoolOutline(c, color, r, s); break;
    case gtsUser:
      fChart.UserDrawTime(theItem, r);
      // The application's drawing may have deleted the item (its caller holds it).
      if (theItem->IsFreePending() || !theItem->GetRow()) return;
      break;
    case gtsLine: TvxTimeDraw::LineOutline(c, color, r, false, s); break;
    case gtsLineWEnd: TvxTimeDraw::LineOutline(c, color, r, true, s); break;
    case gtsWave: TvxTimeDraw::WaveOutline(c, color, r); break;
    case gtsRomb: TvxTimeDraw::RombOutline(c, color, r); break;
    case gtsImage: TvxTimeDraw::DrawImage(c, fChart.GetImageList(), theItem->GetImageIndex(), r, printing); break;
    case gtsPipe: TvxTimeDraw::DrawPipe(c, color, r); break;
    default: break;
  }
  c->GetBrush()->SetColor(color);
  if (TvxTimeItemTextCollection* texts = theItem->TimeItemTextsIfAny()) {
    // Texts beside the item keep to the room up to its neighbours, or the edges.
    int roomLeft = printing ? std::numeric_limits<int>::min() : 0;
    int roomRight = printing ? std::numeric_limits<int>::max() : w;
    if (fRoomRow && texts->HasTextBeside() && fRoomRow == theItem->GetRow()) TextRoom(theRect, roomLeft, roomRight);
    if (printing)
      texts->DrawToCanvasInsideRect(t, c, fChart.fGA->GetPrintScalex(), fChart.fGA->GetPrintScaley(), roomLeft,
                                    roomRight);
    else
      texts->DrawToCanvasInsideRect(t, c, 1, 1, roomLeft, roomRight);
  }
  if (printing) return;
  TGantRow* row = theItem->GetRow();
  if (!row) return;
  if (theItem->GetSelected() && row->fTime_ItemsHasSelectHandles)
    TvxTimeDraw::DoSelectContent(c, r, row->fTimeItems_SelectionColor);
  if (theItem == fChart.fActiveDataEntity && row->fTime_ItemsHasFocusRect) {
    c->GetPen()->SetColor(clBlack);
    c->GetBrush()->SetColor(0x808080);
    c->DrawFocusRect(InflateRect(r, -2, -2));
    c->GetBrush()->SetColor(0xFFFFFF);
  }
}

// --- the chart's hooks, and settings that repaint -------------------------------------

void TvxGant_ComBasic::GantAreaPaint(TObject*) { fPainter.Paint(); }

void TvxGant_ComBasic::DoBackground() { fPainter.Background(); }

void TvxGant_ComBasic::UserDrawTime(TvxDataEntity_Kronit* theItem, const TRect& theRect) {
  if (OnUserDrawTime) OnUserDrawTime(this, theItem, fGA->GetOffscreenCanvas(), theRect);
}

void TvxGant_ComBasic::LookChanged(bool) {
  InvalidateGA();
}

TCustomImageList* TvxGant_ComBasic::GetImageList() const { return fTree ? fTree->GetImages() : nullptr; }

void TvxGant_ComBasic::SetImageList(TCustomImageList* theList) {
  if (fTree) fTree->SetImages(theList);
  if (GetGrid()) GetGrid()->SetImageList(theList);
  InvalidateGA();
}

}  // namespace vx
