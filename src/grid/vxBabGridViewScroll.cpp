// The grid view's scroll bars, the wheel, and keeping the focus in sight.
#include <algorithm>
#include <string>

#include "grid/vxBabGridView.h"
#include "grid/vxBabGridViewInternal.h"
#include "paint/vxDoLater.h"

namespace vx {

using gridview::FlagScope;

// ---------------------------------------------------------------- ranges from the model

void TBabGridView_Custom::PlaceScrollbars() {
  if (!fHorz || !fVert) return;
  const int inset = GetBorderStyle() == bsSingle ? 1 : 0;
  const int w = GetWidth(), h = GetHeight();
  const bool horz = fHorz->GetVisible(), vert = fVert->GetVisible() && !fHijackVerticalScroll;
  const int sw = fVert->GetWidth(), sh = fHorz->GetHeight();
  fVert->SetBounds(w - inset - sw, inset, sw, std::max(h - 2 * inset - (horz ? sh : 0), 0));
  fHorz->SetBounds(inset, h - inset - sh, std::max(w - 2 * inset - (vert ? sw : 0), 0), sh);
}

void TBabGridView_Custom::UpdateScrollbars() {
  if (GetIsPrinting() || IsDestroying()) return;
  UpdateBar(fHorz, false);
  const bool vertShown = UpdateBar(fVert, true);
  if (fHijackVerticalScroll) fVert->SetVisible(false);
  PlaceScrollbars();
  if (vertShown != fVertWasVisible) {
    fVertWasVisible = vertShown;
    if (OnVerticalScrollVisibilityChanged) OnVerticalScrollVisibilityChanged(this);
  }
}

// Sets one bar from its axis, in visible indexes (hidden items left out);
// answers whether the bar is needed.
bool TBabGridView_Custom::UpdateBar(TScrollbar_vx* theBar, bool theRows) {
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  TAxisContentList* axis = theRows ? g->GetAxisContentListY() : g->GetAxisContentListX();
  const int fixed = theRows ? g->GetFixedRows() : g->GetFixedCols();
  const int shown = axis->Count() - axis->GetHiddenRowCount();
  const int max = std::max(shown - 1, fixed);
  int visible = theRows ? g->GetVisibleRowCount() : g->GetVisibleColCount();
  bool lastShown = theRows ? g->GetLastRowShow() : g->GetLastColumnShow();
  if (!theRows && !lastShown) {
    if (GetExpandLastColumnIfShort() && g->GetBrokenColumn() == axis->Count() - 1)
      lastShown = true;
    else
      --visible;  // the column cut by the edge is not a page's worth: the last one must come fully in view
  }
  const int page = std::max(visible - fixed, 1);
  const int scrollVal = theRows ? g->GetTop_ScrollVal() : g->GetLeft_ScrollVal();
  const int position = std::min(scrollVal, max);
  const bool needed = position > fixed || !lastShown;
  theBar->SetVisible(needed);
  if (!needed) {
    // Everything fits: back to the first item that shows.
    int first = fixed;
    while (first < axis->Count()) {
      TAxisContentItem* item = axis->getAxisContentItem(first);
      if (!item || !item->GetHide()) break;
      ++first;
    }
    if (theRows)
      g->SetTop(first);
    else
      g->SetLeft(first);
  }
  SetBarValues(theBar, fixed, max, page, needed ? position : fixed);
  return needed;
}

void TBabGridView_Custom::SetBarValues(TScrollBar* theBar, int theMin, int theMax, int thePage, int thePosition) {
  FlagScope setting(fSettingBars);
  const int page = std::clamp(thePage, 1, std::max(theMax - theMin + 1, 1));
  theBar->SetPageSize(page);
  theBar->SetParams(thePosition, theMin, theMax);
  theBar->SetPageSize(page);
  if (theBar->GetMax() != theMax || theBar->GetMin() != theMin)
    throw Exception(std::to_string(theMax) + std::to_string(theBar->GetMax()));
}

bool TBabGridView_Custom::DecideScrollVisible(TScrollBar* theBar) const {
  return theBar && theBar->GetPageSize() >= 1 && theBar->GetPageSize() < theBar->GetMax() - 1;
}

// ---------------------------------------------------------------- moving

void TBabGridView_Custom::BarMoved(TScrollbar_vx* theBar) {
  if (fSettingBars || IsDestroying()) return;
  int position = theBar->GetPosition();
  const int page = theBar->GetPageSize();
  if (position + page - 1 > theBar->GetMax()) position = std::max(theBar->GetMin(), theBar->GetMax() - page + 1);
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  if (theBar == fVert)
    g->SetTop_ScrollVal(position);
  else
    g->SetLeft_ScrollVal(position);
}

void TBabGridView_Custom::SetScrollbarPosition(TScrollBar* theBar, int thePosition) {
  if (!theBar || !theBar->OnChange) return;
  const int position = theBar->GetPosition(), page = theBar->GetPageSize();
  int next = position;
  if (thePosition >= position + page - 1)
    next = thePosition - page + 2;
  else if (thePosition <= position)
    next = std::max(thePosition, theBar->GetMin());
  if (next != position) theBar->SetPosition(next);
}

void TBabGridView_Custom::PublicScroll(TScrollDirection theDirection) {
  const bool vertical = theDirection == tsdUp || theDirection == tsdDown;
  TScrollbar_vx* bar = vertical ? fVert : fHorz;
  if (!bar->GetVisible() && !(vertical && fHijackVerticalScroll)) return;
  const bool back = theDirection == tsdUp || theDirection == tsdLeft;
  bar->SetPosition(bar->GetPosition() + (back ? -1 : 1));
}

void TBabGridView_Custom::MakeSureFocusedIsVisible() {
  UpdateLayout();
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  TBabCell* f = g->GetFocusedCell();
  if (!f) return;
  if (fHorz->GetVisible() && f->GetCol() >= g->GetFixedCols())
    SetScrollbarPosition(fHorz, TBabGridCell::Convert_TrueIndexToVisible(g->GetAxisContentListX(), f->GetCol()));
  if ((fVert->GetVisible() || fHijackVerticalScroll) && f->GetRow() >= g->GetFixedRows())
    SetScrollbarPosition(fVert, TBabGridCell::Convert_TrueIndexToVisible(g->GetAxisContentListY(), f->GetRow()));
}

void TBabGridView_Custom::MakeSureFocusedIsVisible_Async(TObject*) {
  if (!IsDestroying()) MakeSureFocusedIsVisible();
}

void TBabGridView_Custom::HijackVerticalScroll(bool theValue) {
  if (theValue == fHijackVerticalScroll) return;
  fHijackVerticalScroll = theValue;
  fLayout->SetDrawRect(GetDrawRect());
  UpdateScrollbars();
  fLayout->SetSoftOutOfDate();
  Invalidate();
}

// ---------------------------------------------------------------- the wheel

void TBabGridView_Custom::WheelScroll(int theDelta) {
  if (theDelta == 0) return;
  const bool vertical = fVert->GetVisible() || fHijackVerticalScroll;
  // One step per message, whatever its size.
  if (theDelta > 0) {
    if (vertical)
      SetScrollbarPosition(fVert, fVert->GetPosition() - 1);
    else
      Scroll(babdirUp, TShiftState());
  } else {
    if (vertical)
      SetScrollbarPosition(fVert, fVert->GetPosition() + fVert->GetPageSize() - 1);
    else
      Scroll(babdirDown, TShiftState());
  }
}

bool TBabGridView_Custom::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (!TvxOffscreenPaint::DoMouseWheel(Shift, WheelDelta, MousePos)) WheelScroll(WheelDelta);
  return true;
}

void TBabGridView_Custom::HandleExternalWheelScroll(TWMMouseWheel& theMessage) {
  TMessage m = theMessage;
  if (!m.Decoded) m.WheelDelta = static_cast<std::int16_t>((m.WParam >> 16) & 0xFFFF);
  WheelScroll(m.WheelDelta);
}

}  // namespace vx
