// Painting of the Gantt area: background, scale lines, rows and their items.
// Only what is shown is visited: the rows on screen, and in each the items
// that meet the visible time span.
#include <algorithm>
#include <cmath>
#include <limits>

#include "gantt/vxGant.h"
#include "platform/rtl/Math.h"

namespace vx {

void TvxGant_ComBasic::GantAreaPaint(TObject*) {
  TCanvas* c = fGA->GetOffscreenCanvas();
  fSide->Prepare();
  DoBackground();
  ForEachShownRow([](TGantRow* row) { row->DrawContent(); });
  RenderLinks();
  if (OnUserDrawForeground) OnUserDrawForeground(this, Rect(0, 0, fGA->GetWidth(), fGA->GetHeight()), c);
  c->GetPen()->SetColor(clBlack);
  fStartScaleWhenDrawn = fDateScaler->GetStart();
}

void TGantRow::DrawContent() {
  TvxHold hold(this);  // an item drawn by the application may take its row away
  // The rectangles of the row's shown items: the room of the texts beside them.
  std::vector<TRect>& rects = fGant->fRowItemRects;
  rects.clear();
  ForEachItem([this, &rects](TvxDataEntity_Kronit* item) {
    if (!fGant) return false;
    TRect r;
    if (fGant->IsVisible(item) && RectFromDataEntity(item, r)) rects.push_back(r);
    return true;
  });
  if (!fGant) return;
  std::sort(rects.begin(), rects.end(), [](const TRect& a, const TRect& b) { return a.Left < b.Left; });
  fGant->fRoomRow = this;
  ForEachItem([this](TvxDataEntity_Kronit* item) {
    if (!fGant) return false;  // the row went
    TRect r;
    if (fGant->IsVisible(item) && RectFromDataEntity(item, r)) fGant->DrawContent(item, r);
    return true;
  });
  if (fGant) fGant->fRoomRow = nullptr;
}

void TvxGant_ComBasic::TextRoom(const TRect& theRect, int& theLeft, int& theRight) const {
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

void TvxGant_ComBasic::DoBackground() {
  TCanvas* c = fGA->GetOffscreenCanvas();
  DefaultBackGround();
  DoTodayLine();
  if (OnUserDrawBackground) OnUserDrawBackground(this, Rect(0, 0, fGA->GetWidth(), fGA->GetHeight()), c);
  c->GetPen()->SetWidth(1);
  c->GetPen()->SetMode(pmCopy);
  c->GetPen()->SetStyle(psSolid);
  DrawHiddenTimeSeams();
  DrawScaleLines();
  if (fGA->Focused() && !fGA->GetIsPrinting()) {
    c->GetBrush()->SetColor(0xFFFFFF);
    c->DrawFocusRect(Rect(2, 2, fGA->GetWidth() - 2, fGA->GetHeight() - 2));
  }
}

void TvxGant_ComBasic::DefaultBackGround() {
  TCanvas* c = fGA->GetOffscreenCanvas();
  const int w = fGA->GetWidth(), h = fGA->GetHeight();
  const int band = Round(fGA->GetScaley() * fBackGroundHeight);
  TGantSide* side = ShownSide();
  const bool gridBands = side->OwnBands();
  // Where stripes cover the whole area, filling it first would only be
  // painted over: the background goes only between the stripes.
  const bool between = !fVerticalPyjamas && !gridBands && band > 0;
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetBitmap(nullptr);
  c->GetBrush()->SetColor(fBackColor);
  if (!fGA->GetIsPrinting() && !fVerticalPyjamas && !between) c->FillRect(Rect(0, 0, w, h));
  if (fVerticalPyjamas) DoVerticalPyjamas();
  int y = 0, index = 0;
  if (gridBands) side->DrawBands(y, index);
  if (band > 0)
    for (; y < h; y += band, ++index) {
      if (between && index % 2 != 0 && !fGA->GetIsPrinting()) {
        c->GetBrush()->SetColor(fBackColor);
        c->FillRect(Rect(0, y, w, y + band));
      }
      DrawRowBackgound(Rect(0, y, w, y + band), index);
    }
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetBitmap(nullptr);
}

void TvxGant_ComBasic::DrawRowBackgound(const TRect& theRect, int theIndex) {
  if (fVerticalPyjamas || theIndex % 2 != 0) return;
  TCanvas* c = fGA->GetOffscreenCanvas();
  if (fGA->GetIsPrinting()) {
    c->GetBrush()->SetBitmap(nullptr);
    c->GetBrush()->SetColor(fPyjamasColor);
  } else {
    c->GetBrush()->SetBitmap(fGantBitMap.get());
  }
  c->FillRect(theRect);
  c->GetBrush()->SetBitmap(nullptr);
}

void TvxGant_ComBasic::ReInitBitmap() {
  if (!fGantBitMap) fGantBitMap = std::make_unique<TBitmap>();
  fGantBitMap->SetSize(2, 2);
  TCanvas* c = fGantBitMap->GetCanvas();
  c->SetPixel(0, 0, fBackColor);
  c->SetPixel(1, 1, fBackColor);
  c->SetPixel(1, 0, fPyjamasColor);
  c->SetPixel(0, 1, fPyjamasColor);
}

void TvxGant_ComBasic::DoVerticalPyjamas() {
  TCanvas* c = fGA->GetOffscreenCanvas();
  const int w = fGA->GetWidth(), h = fGA->GetHeight();
  const std::vector<TScaleMark>& marks = fDateScaler->GetLongScaleMarks();
  const int parity0 = fDateScaler->GetOddOrEventStartForVerticalBack();
  int x = 0, k = 0, extra = 0;
  for (size_t i = 0; x < w; ++i) {
    const int nx = i < marks.size() ? Round(marks[i].Pixel * fGA->GetScalex()) : w;
    if (nx >= x) {
      if ((k + parity0 + extra) % 2 != 0) {
        c->GetBrush()->SetBitmap(nullptr);
        c->GetBrush()->SetColor(fPyjamasColor);
      } else {
        c->GetBrush()->SetBitmap(fGantBitMap.get());
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

void TvxGant_ComBasic::DoTodayLine() {
  if (!fTodayLineOnOff) return;
  const int x = fDateScaler->DateToPixel(std::floor(Now()) + 0.5);
  if (x <= 0 || x >= fDateScaler->GetWidth()) return;
  TCanvas* c = fGA->GetOffscreenCanvas();
  const int px = Round(x * fGA->GetScalex());
  c->GetPen()->SetColor(fTodayLineColor);
  c->GetPen()->SetWidth(1);
  c->MoveTo(px, 0);
  c->LineTo(px, Round(fGA->GetHeight() * fGA->GetScaley()));
}

void TvxGant_ComBasic::DrawHiddenTimeSeams() {
  // Where hidden hours or days were taken out of the axis, a darker seam
  // shows that time jumps there.
  TCanvas* c = fGA->GetOffscreenCanvas();
  const int h = fGA->GetHeight();
  c->GetPen()->SetColor(GStuff::TintColor(fBackColor, 0.8));
  int last = -1;
  for (const std::vector<TScaleMark>* list : {&fDateScaler->GetShortScaleMarks(), &fDateScaler->GetLongScaleMarks()})
    for (const TScaleMark& mark : *list) {
      const int x = Round(mark.Pixel * fGA->GetScalex());
      if (!mark.Hidden || x == last) continue;
      c->MoveTo(x, 0);
      c->LineTo(x, h);
      last = x;
    }
}

void TvxGant_ComBasic::DrawScaleLines() {
  TCanvas* c = fGA->GetOffscreenCanvas();
  const int h = fGA->GetHeight();
  // Where the scaler marks its scale (it keeps the marks in step with its
  // window, whether or not it has painted yet); short lines closer than 30
  // pixels are thinned.
  const double sx = fGA->GetScalex();
  std::vector<double>& pixels = fScaleLinePixels;
  if (fDrawShortLines) {
    fDateScaler->GetScaleLinePixels(false, 30, pixels);
    c->GetPen()->SetColor(0x808080);
    for (const double p : pixels) {
      const int x = Round(p * sx);
      c->MoveTo(x, 0);
      c->LineTo(x, h);
    }
  }
  if (fDrawLongLines) {
    fDateScaler->GetScaleLinePixels(true, 0, pixels);
    c->GetPen()->SetColor(clBackground);
    for (const double p : pixels) {
      const int x = Round(p * sx);
      c->MoveTo(x, 0);
      c->LineTo(x, h);
    }
  }
}

// --- items ----------------------------------------------------------------------------

void TvxGant_ComBasic::DrawContent(TvxDataEntity_Kronit* theItem, const TRect& theRect) {
  TCanvas* c = fGA->GetOffscreenCanvas();
  const bool printing = fGA->GetIsPrinting();
  const double s = printing ? fGA->GetPrintScaley() : 1.0;
  const int w = fGA->GetWidth();
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
      UserDrawTime(theItem, r);
      // The application's drawing may have deleted the item (its caller holds it).
      if (theItem->IsFreePending() || !theItem->GetRow()) return;
      break;
    case gtsLine: TvxTimeDraw::LineOutline(c, color, r, false, s); break;
    case gtsLineWEnd: TvxTimeDraw::LineOutline(c, color, r, true, s); break;
    case gtsWave: TvxTimeDraw::WaveOutline(c, color, r); break;
    case gtsRomb: TvxTimeDraw::RombOutline(c, color, r); break;
    case gtsImage: TvxTimeDraw::DrawImage(c, GetImageList(), theItem->GetImageIndex(), r, printing); break;
    case gtsPipe: TvxTimeDraw::DrawPipe(c, color, r); break;
    default: break;
  }
  c->GetBrush()->SetColor(color);
  if (TvxTimeItemTextCollection* texts = theItem->GetTimeItemTextCollection()) {
    // Texts beside the item keep to the room up to its neighbours, or the edges.
    int roomLeft = printing ? std::numeric_limits<int>::min() : 0;
    int roomRight = printing ? std::numeric_limits<int>::max() : w;
    if (fRoomRow && fRoomRow == theItem->GetRow()) TextRoom(theRect, roomLeft, roomRight);
    if (printing)
      texts->DrawToCanvasInsideRect(t, c, fGA->GetPrintScalex(), fGA->GetPrintScaley(), roomLeft, roomRight);
    else
      texts->DrawToCanvasInsideRect(t, c, 1, 1, roomLeft, roomRight);
  }
  if (printing) return;
  TGantRow* row = theItem->GetRow();
  if (!row) return;
  if (theItem->GetSelected() && row->fTime_ItemsHasSelectHandles)
    TvxTimeDraw::DoSelectContent(c, r, row->fTimeItems_SelectionColor);
  if (theItem == fActiveDataEntity && row->fTime_ItemsHasFocusRect) {
    c->GetPen()->SetColor(clBlack);
    c->GetBrush()->SetColor(0x808080);
    c->DrawFocusRect(InflateRect(r, -2, -2));
    c->GetBrush()->SetColor(0xFFFFFF);
  }
}

void TvxGant_ComBasic::UserDrawTime(TvxDataEntity_Kronit* theItem, const TRect& theRect) {
  if (OnUserDrawTime) OnUserDrawTime(this, theItem, fGA->GetOffscreenCanvas(), theRect);
}

// --- settings that repaint ------------------------------------------------------------

void TvxGant_ComBasic::LookChanged(bool theBackground) {
  if (theBackground) ReInitBitmap();
  InvalidateGA();
}

TCustomImageList* TvxGant_ComBasic::GetImageList() const { return fTree ? fTree->GetImages() : nullptr; }

void TvxGant_ComBasic::SetImageList(TCustomImageList* theList) {
  if (fTree) fTree->SetImages(theList);
  if (GetGrid()) GetGrid()->SetImageList(theList);
  InvalidateGA();
}

}  // namespace vx
