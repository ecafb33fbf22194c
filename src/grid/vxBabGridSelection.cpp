// Selection, focus, fixed cells and scroll positions of a grid cell.
#include <algorithm>

#include <vxplan/grid/vxBabGridContent.h>

namespace vx {

void TBabGridCell::SetSelected(bool theValue) {
  TvxWatch<TBabCell> self(this);
  TBabCell::SetSelected(theValue);
  if (!self) return;
  // The cells inside follow, whether or not the grid cell's own flag changed.
  const int fx = fAxisContentListX->FixedLoaded(), fy = fAxisContentListY->FixedLoaded();
  if (fAxisContentListX->LoadedCount() <= fx || fAxisContentListY->LoadedCount() <= fy) return;
  const int x0 = fx + fAxisContentListX->GetUnloadedPreCount();
  const int x1 = fAxisContentListX->GetUnloadedPreCount() + fAxisContentListX->LoadedCount() - 1;
  const int y0 = fy + fAxisContentListY->GetUnloadedPreCount();
  const int y1 = fAxisContentListY->GetUnloadedPreCount() + fAxisContentListY->LoadedCount() - 1;
  AreaSelect(theValue, Rect(x0, y0, x1, y1));
}

void TBabGridCell::AreaSelect(bool theValue, TRect theRect) {
  const int x0 = std::min(theRect.Left, theRect.Right), x1 = std::max(theRect.Left, theRect.Right);
  const int y0 = std::min(theRect.Top, theRect.Bottom), y1 = std::max(theRect.Top, theRect.Bottom);
  // Selection handlers may drop rows, or this grid cell: counts are read afresh.
  TvxWatch<TBabCell> self(this);
  for (int x = std::max(x0, 0); x <= x1 && x < fCellMatris->CountX(); ++x)
    for (int y = std::max(y0, 0); y <= y1 && y < fCellMatris->CountY(); ++y) {
      if (TBabCell* c = fCellMatris->getCell(x, y)) c->SetSelected(theValue);
      if (!self) return;
    }
}

void TBabGridCell::UpdateMultiSelect(TBabCell* theCell, TShiftState theShift) {
  if (!theCell) return;
  if (!fMultiSelect) theShift = TShiftState();
  if (theCell->GetIsFixed()) return;
  const bool shift = theShift.Contains(ssShift), ctrl = theShift.Contains(ssCtrl);
  // Each change is heard by the application, which may drop the cell, its
  // row or this grid cell (the anchor is forgotten when it goes).
  TvxWatch<TBabCell> self(this), cell(theCell);
  if (!shift && !ctrl) {
    fAnchor = theCell;
    SetSelected(false);
    if (self && cell) theCell->SetSelected(true);
  } else if (shift) {
    if (!fAnchor) fAnchor = theCell;
    TBabGridCell* g = theCell->getGridCell();
    if (g && fAnchor->getGridCell() == g) {
      if (!ctrl) SetSelected(false);
      if (!self || !cell || !fAnchor) return;
      g->AreaSelect(true, Rect(fAnchor->GetCol(), fAnchor->GetRow(), theCell->GetCol(), theCell->GetRow()));
    }
  } else {
    fAnchor = theCell;
    theCell->SetSelected(!theCell->GetSelected());
  }
}

void TBabGridCell::SetFocusedCell(TBabCell* theCell) {
  TBabGridCell* container = theCell ? theCell->getGridCell() : nullptr;
  TvxWatch<TBabCell> self(this);
  if (container && container != this) {
    TvxWatch<TBabCell> inner(container);
    container->SetFocusedCell(theCell);
    if (self && inner) SetFocusedCell(container);
    return;
  }
  if (theCell == fFocusedCell) return;
  if (theCell && theCell->GetIsFixed()) theCell = nullptr;
  if (theCell == fFocusedCell) return;
  TBabCell* old = fFocusedCell;
  fFocusedCell = theCell;
  if (old && old->IsGridCell()) static_cast<TBabGridCell*>(old)->SetFocusedCell(nullptr);
  // What the handlers of the old focus left (a cell that went is forgotten).
  if (self) fFocusedCellChangeEvent->TriggerEvent(fFocusedCell);
}

TBabCell* TBabGridCell::GetFocusedCellDownTrack() const {
  TBabCell* c = fFocusedCell;
  while (c && c->IsGridCell()) {
    TBabCell* inner = static_cast<TBabGridCell*>(c)->fFocusedCell;
    if (!inner) break;
    c = inner;
  }
  return c;
}

bool TBabGridCell::IsFixedCell(int x, int y) const {
  if (x >= 0 && y >= 0 && (x < GetFixedCols() || y < GetFixedRows())) return true;
  return fBabGridCell && fBabGridCell->IsFixedCell(GetCol(), GetRow());
}

void TBabGridCell::SetFixedCols(int n) { fAxisContentListX->SetFixedItems(n); }
void TBabGridCell::SetFixedRows(int n) { fAxisContentListY->SetFixedItems(n); }

void TBabGridCell::SetTop(int i) {
  const int v = std::max(std::min(i, fAxisContentListY->Count() - 1), GetFixedRows());
  if (v == fTop) return;
  fTop = v;
  fTopLeftChangedEvent->TriggerEvent(this);
}

void TBabGridCell::SetLeft(int i) {
  const int v = std::max(std::min(i, fAxisContentListX->Count() - 1), GetFixedCols());
  if (v == fLeft) return;
  fLeft = v;
  fTopLeftChangedEvent->TriggerEvent(this);
}

int TBabGridCell::Convert_TrueIndexToVisible(const TAxisContentList* theList, int i) {
  int hiddenBelow = 0;
  for (const TAxisContentItem* item : theList->GetHiddenItems())
    if (item->ListIndex() < i) ++hiddenBelow;
  return i - hiddenBelow;
}

int TBabGridCell::Convert_VisibleIndexToTrue(const TAxisContentList* theList, int v) {
  // Hidden items are loaded ones, so only they need looking at: each one at
  // or before the answer pushes it one further.
  std::vector<int> hidden;
  hidden.reserve(theList->GetHiddenItems().size());
  for (const TAxisContentItem* item : theList->GetHiddenItems()) hidden.push_back(item->ListIndex());
  std::sort(hidden.begin(), hidden.end());
  int r = v;
  for (int h : hidden) {
    if (h > r) break;
    ++r;
  }
  return r;
}

int TBabGridCell::GetTop_ScrollVal() const { return Convert_TrueIndexToVisible(fAxisContentListY.get(), fTop); }
int TBabGridCell::GetLeft_ScrollVal() const { return Convert_TrueIndexToVisible(fAxisContentListX.get(), fLeft); }
void TBabGridCell::SetTop_ScrollVal(int v) { SetTop(Convert_VisibleIndexToTrue(fAxisContentListY.get(), v)); }
void TBabGridCell::SetLeft_ScrollVal(int v) { SetLeft(Convert_VisibleIndexToTrue(fAxisContentListX.get(), v)); }

}  // namespace vx
