// The grid view's scroll bars, the wheel, and keeping the focus in sight.
#include <algorithm>
#include <string>

#include <vxplan/grid/vxBabGridView.h>
#include <vxplan/grid/vxBabGridViewInternal.h>
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {


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
    fVertVisibilityPending = true;
    AfterLayoutPass();
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
  TFlagScope setting(fSettingBars);
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

TScrollbar_vx::TScrollbar_vx(TBabGridView_Custom* theView, TScrollBarKind theKind)
    : TScrollBar(theView, theKind), fView(theView) {}

void TScrollbar_vx::Changed() {
  TScrollBar::Changed();
  fView->BarMoved(this);
}

void TBabGridView_Custom::BarMoved(TScrollbar_vx* theBar) {
  if (fSettingBars || IsDestroying()) return;
  int position = theBar->GetPosition();
  const int page = theBar->GetPageSize();
  const bool atEnd = position + page - 1 >= theBar->GetMax();
  if (atEnd) position = std::max(theBar->GetMin(), theBar->GetMax() - page + 1);
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  if (theBar == fVert)
    g->SetTop_ScrollVal(position);
  else
    g->SetLeft_ScrollVal(position);
  // The page was counted with the rows at the top: at the end the last row
  // shows whole, whatever the heights of the rows there.
  if (atEnd && theBar == fVert)
    ShowRow(TBabGridCell::Convert_VisibleIndexToTrue(g->GetAxisContentListY(), theBar->GetMax()));
}

// ---------------------------------------------------------------- whole rows in view

bool TBabGridView_Custom::RowFullyShown(int theRow) const {
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  TAxisContentList* rows = g->GetAxisContentListY();
  // The rows counted by the layout are those that show whole.
  for (int k = 0; k < g->GetVisibleRowCount() && k < rows->VisibleCount(); ++k)
    if (rows->getVisibleAxisContentItem(k)->ListIndex() == theRow) return true;
  return false;
}

void TBabGridView_Custom::ShowRow(int theRow) {
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  TAxisContentList* rows = g->GetAxisContentListY();
  if (IsDestroying() || theRow < g->GetFixedRows() || theRow >= rows->Count()) return;
  // A hidden row cannot be shown (a folded task that keeps the focus).
  if (TAxisContentItem* item = rows->getAxisContentItem(theRow); !item || item->GetHide()) return;
  if (theRow <= g->GetTop()) {
    g->SetTop(theRow);
    UpdateLayout();
    return;
  }
  // As the scroll bar follows the focus: the row after it shows too, when
  // there is one.
  const int visible = TBabGridCell::Convert_TrueIndexToVisible(rows, theRow);
  const int next = TBabGridCell::Convert_VisibleIndexToTrue(rows, visible + 1);
  const int target = next < rows->Count() ? next : theRow;
  // The last pass tells how far the page reaches. A row past it: the top
  // moves a page's worth first, so that no pass runs at the old top (it
  // would load the rows there and let the target's go).
  const int n = rows->VisibleCount();
  const int reach = n > 0 ? rows->getVisibleAxisContentItem(n - 1)->ListIndex() : -1;
  if (target > reach) {
    const int page = std::max(g->GetVisibleRowCount() - g->GetFixedRows(), 1);
    const int wanted = TBabGridCell::Convert_TrueIndexToVisible(rows, target) - page + 1;
    g->SetTop_ScrollVal(std::max(wanted, g->GetTop_ScrollVal() + 1));
  }
  // Rows may be of any height: the layout is asked, not counted. The top
  // moves on until the target shows whole (or the row itself is the top,
  // when they do not fit together).
  for (int guard = 0; guard < 10000; ++guard) {
    const int wanted = g->GetTop();
    UpdateLayout();
    // Shown; or the layout keeps the top where it is (the end is reached).
    if (RowFullyShown(target) || g->GetTop() >= theRow || g->GetTop() < wanted) return;
    g->SetTop_ScrollVal(g->GetTop_ScrollVal() + 1);
    if (g->GetTop() == wanted) return;
  }
}

// A view never shows room below the last row while rows are scrolled out
// above (folding rows at the end, for one): it comes back up until the last
// row meets the bottom.
void TBabGridView_Custom::KeepEndAtBottom(TRect theArea) {
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  TAxisContentList* rows = g->GetAxisContentListY();
  for (int guard = 0; guard < 1000 && g->GetTop() > g->GetFixedRows(); ++guard) {
    const int n = rows->VisibleCount();
    if (n == 0 || !g->GetLastRowShow()) return;
    TAxisContentItem* last = rows->getVisibleAxisContentItem(n - 1);
    const int shown = rows->Count() - rows->GetHiddenRowCount();
    if (TBabGridCell::Convert_TrueIndexToVisible(rows, last->ListIndex()) != shown - 1) return;
    if (last->GetAcumSize() + last->GetCalculatedSize() >= theArea.Height()) return;
    const int top = g->GetTop();
    g->SetTop_ScrollVal(g->GetTop_ScrollVal() - 1);
    if (g->GetTop() == top) return;
    g->CalcVisibleArea(theArea);
    if (!g->GetLastRowShow()) {
      // One row too many: back to where the last row met the bottom.
      g->SetTop(top);
      g->CalcVisibleArea(theArea);
      return;
    }
  }
}

void TBabGridView_Custom::SetScrollbarPosition(TScrollBar* theBar, int thePosition) {
  if (!theBar) return;
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
  // Read before scrolling: scrolling is heard by the application.
  const int col = f->GetCol(), row = f->GetRow();
  if (fHorz->GetVisible() && col >= g->GetFixedCols())
    SetScrollbarPosition(fHorz, TBabGridCell::Convert_TrueIndexToVisible(g->GetAxisContentListX(), col));
  if ((fVert->GetVisible() || fHijackVerticalScroll) && row >= g->GetFixedRows()) ShowRow(row);
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

// As Qt's views (WheelRows); with no bar to turn the wheel moves the focus.
void TBabGridView_Custom::WheelScroll(int theDelta, TShiftState theShift) {
  if (theDelta == 0) return;
  const bool vertical = fVert->GetVisible() || fHijackVerticalScroll;
  if (!vertical) {
    // Nothing to scroll: the wheel moves the focus, a row a step.
    Scroll(theDelta > 0 ? babdirUp : babdirDown, TShiftState());
    return;
  }
  const int rows = WheelRows(fWheelRest, theDelta, theShift, fVert->GetPageSize());
  if (rows != 0) fVert->SetPosition(std::clamp(fVert->GetPosition() + rows, fVert->GetMin(), fVert->GetMax()));
}

bool TBabGridView_Custom::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (!TvxOffscreenPaint::DoMouseWheel(Shift, WheelDelta, MousePos)) WheelScroll(WheelDelta, Shift);
  return true;
}

void TBabGridView_Custom::HandleExternalWheelScroll(TWMMouseWheel& theMessage) {
  TMessage m = theMessage;
  if (!m.Decoded) m.WheelDelta = static_cast<std::int16_t>((m.WParam >> 16) & 0xFFFF);
  WheelScroll(m.WheelDelta, m.Shift);
}

}  // namespace vx
