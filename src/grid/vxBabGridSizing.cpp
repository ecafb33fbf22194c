// Sizes, the layout pass over the visible area and the paint traversal.
#include <algorithm>

#include "grid/vxBabGridContent.h"

namespace vx {

namespace {

constexpr int kDefaultMinSize = 20;

// Sizes grow within a pass. A user size overrides the content, even measured
// wrapped text, but never goes below the minimum of the cell's layout.
void Grow(TAxisContentItem* theItem, int theMin, int theCalculated) {
  int size = theItem->GetCalculatedSize();
  if (theItem->GetUserSizeActive())
    size = std::max(size, std::max(theItem->GetUserSize(), theMin));
  else
    size = std::max(size, theCalculated);
  theItem->SetCalculatedSize(size);
}

}  // namespace

// ---------------------------------------------------------------- TVisibleIterator

void TVisibleIterator::Create(int theFixedCount, int theStart, int theCount) noexcept {
  fFixedCount = theFixedCount;
  fStart = theStart;
  fCount = theCount;
  Reset();
}

void TVisibleIterator::Next() noexcept {
  ++fCurrent;
  if (fCurrent >= fFixedCount && fCurrent < fStart) fCurrent = fStart;
}

// ---------------------------------------------------------------- cell sizes

int TBabCell::GetMinWidth() { return fLayoutProp ? fLayoutProp->MinWidth : kDefaultMinSize; }

int TBabCell::GetMinHeight() {
  if (!fLayoutProp) {
    fReEvalSize = false;
    return kDefaultMinSize;
  }
  int result = fLayoutProp->MinHeight;
  TBabGridCellForViewer* v = fLayoutProp->WrapTextAndFit ? GetViewerGridCell() : nullptr;
  if (v && v->fOnMeasureHeight) {
    // Wrapped text may need less room than last time: a new measurement starts
    // over from the minimum. Reads in between leave the measured size alone.
    if (fReEvalSize) {
      fCurrentHeight = fLayoutProp->MinHeight;
      v->fOnMeasureHeight(v, this, fCachedMinHeight);
    }
    result = fCachedMinHeight;
  }
  fReEvalSize = false;
  return result;
}

void TBabCell::CalculateSizes() {
  fReEvalSize = true;
  const int h = GetMinHeight();
  if (fCurrentHeight < h) fCurrentHeight = h;
  const int w = GetMinWidth();
  if (fCurrentWidth < w) fCurrentWidth = w;
}

int TBabGridCell::GetCalculatedWidth() {
  int sum = 0;
  for (int k = 0; k < fAxisContentListX->Count(); ++k)
    if (TAxisContentItem* item = fAxisContentListX->getAxisContentItem(k)) sum += item->GetCalculatedSize();
  return std::max(GetMinWidth(), sum);
}

int TBabGridCell::GetCalculatedHeight() {
  int sum = 0;
  for (int k = 0; k < fAxisContentListY->Count(); ++k)
    if (TAxisContentItem* item = fAxisContentListY->getAxisContentItem(k)) sum += item->GetCalculatedSize();
  return std::max(GetMinHeight(), sum);
}

// ---------------------------------------------------------------- the layout pass

void TBabGridCell::MeasurePass(TRect theRect) {
  TAxisContentList* ax = fAxisContentListX.get();
  TAxisContentList* ay = fAxisContentListY.get();
  TVisibleIterator cols(GetFixedCols(), fLeft, ax->Count());
  TVisibleIterator rows(GetFixedRows(), fTop, ay->Count());
  const int width = theRect.Width(), height = theRect.Height();
  bool firstColumn = true;
  int accWidth = 0;
  for (; !cols.Eof(); cols.Next()) {
    TAxisContentItem* col = ax->getAxisContentItem(cols.Current());
    if (!col) break;
    col->SetAcumSize(0);
    col->SetCalculatedSize(0);
    if (!col->GetHide()) {
      int accHeight = 0;
      for (rows.Reset(); !rows.Eof(); rows.Next()) {
        TAxisContentItem* row = ay->getAxisContentItem(rows.Current());
        if (!row) break;
        if (firstColumn) {
          row->SetAcumSize(0);
          row->SetCalculatedSize(0);
        }
        if (row->GetHide()) continue;
        TBabCell* cell = getCell(cols.Current(), rows.Current());
        if (cell) {
          if (cell->IsGridCell())
            static_cast<TBabGridCell*>(cell)->CalcVisibleArea(theRect);
          else
            cell->CalculateSizes();
          const int minHeight = cell->GetMinHeight();
          Grow(row, cell->GetLayoutProp() ? cell->GetLayoutProp()->MinHeight : minHeight, cell->GetCalculatedHeight());
          Grow(col, cell->GetMinWidth(), cell->GetCalculatedWidth());
        }
        accHeight += row->GetCalculatedSize();
        if (accHeight > height) break;
      }
      accWidth += col->GetCalculatedSize();
    }
    // Rows keep what they had when the first column is hidden: they only grow.
    firstColumn = false;
    if (accWidth > width) break;
  }
}

void TBabGridCell::LayoutPass(TRect theRect) {
  TAxisContentList* ax = fAxisContentListX.get();
  TAxisContentList* ay = fAxisContentListY.get();
  fDrawRect = theRect;
  fVisibleColCount = 0;
  fVisibleRowCount = 0;
  fLastColumnShow = true;
  fLastRowShow = true;
  fBrokenColumn = 0;
  int acc = 0;
  for (TVisibleIterator it(GetFixedCols(), fLeft, ax->Count()); !it.Eof(); it.Next()) {
    TAxisContentItem* col = ax->getAxisContentItem(it.Current());
    if (!col) break;
    if (col->GetHide()) continue;
    ++fVisibleColCount;
    col->SetAcumSize(acc);
    acc += col->GetCalculatedSize();
    ax->AddToVisible(col);
    if (acc > theRect.Width()) {
      fLastColumnShow = false;
      fBrokenColumn = it.Current();
      break;
    }
  }
  acc = 0;
  for (TVisibleIterator it(GetFixedRows(), fTop, ay->Count()); !it.Eof(); it.Next()) {
    TAxisContentItem* row = ay->getAxisContentItem(it.Current());
    if (!row) break;
    if (row->GetHide()) continue;
    ++fVisibleRowCount;
    row->SetAcumSize(acc);
    acc += row->GetCalculatedSize();
    ay->AddToVisible(row);
    if (acc > theRect.Height()) {
      // The row cut by the bottom edge is laid out but not counted.
      --fVisibleRowCount;
      fLastRowShow = false;
      break;
    }
  }
}

void TBabGridCell::CalcVisibleArea(TRect theRect) {
  fAxisContentListX->ClearVisibles();
  fAxisContentListY->ClearVisibles();
  MeasurePass(theRect);
  LayoutPass(theRect);
  fAxisContentListX->Purge();
  fAxisContentListY->Purge();
}

// ---------------------------------------------------------------- the paint traversal

void TBabGridCell::Draw(TRect theRect, const TOnDrawBabCell& theDrawCallback) {
  if (!theDrawCallback) return;
  fDrawRect = theRect;
  TBabGridCellForViewer* v = GetViewerGridCell();
  TAxisContentList* ax = fAxisContentListX.get();
  TAxisContentList* ay = fAxisContentListY.get();
  // By index: a callback that changes the axes must not leave us on a freed item.
  for (int i = 0; i < ax->VisibleCount(); ++i) {
    TAxisContentItem* col = ax->getVisibleAxisContentItem(i);
    const int x = col->ListIndex();
    if (x < 0) continue;
    TBabCell* prev = nullptr;
    TBabDrawStateSet prevState;
    for (int j = 0; j < ay->VisibleCount(); ++j) {
      TAxisContentItem* row = ay->getVisibleAxisContentItem(j);
      const int y = row->ListIndex();
      if (y < 0) continue;
      int x0, x1, y0, y1;
      CellExtents(col, GetFixedCols(), x1, x0, theRect.Left);
      CellExtents(row, GetFixedRows(), y1, y0, theRect.Top);
      TRect r = Rect(x0, y0, x1, y1);
      if (v) v->ScaleRect(r);
      TBabCell* cell = getCell(x, y);
      if (!cell) continue;
      cell->fIsGroupedCell = false;
      cell->fIsMasterGroupCell = false;
      if (r.Top < theRect.Top || r.Left < theRect.Left || r.Top > theRect.Bottom || r.Left > theRect.Right ||
          r.Top >= r.Bottom || r.Left >= r.Right) {
        cell->fLastDrawnRect = NoRect();
        prev = nullptr;  // a cell not painted breaks a group
        continue;
      }
      r.Right = std::min(r.Right, theRect.Right);
      r.Bottom = std::min(r.Bottom, theRect.Bottom);
      TBabDrawStateSet state;
      if (prev && v && v->CheckCellGrouping(prev, cell)) {
        prev->fIsMasterGroupCell = false;
        cell->fIsMasterGroupCell = true;
        prev->fIsGroupedCell = true;
        cell->fIsGroupedCell = true;
        r.Top = prev->fLastDrawnRect.Top;
        state = prevState;
      }
      if (IsFixedCell(x, y)) state.Include(babFixed);
      if (cell == fFocusedCell) state.Include(babFocused);
      if (cell->GetSelected()) state.Include(babSelected);
      cell->fLastDrawnRect = r;
      theDrawCallback(cell->getVisibleRect(), cell, state);
      if (cell->IsGridCell())
        static_cast<TBabGridCell*>(cell)->Draw(Rect(x0, y0, r.Right, r.Bottom), theDrawCallback);
      prev = cell;
      prevState = state;
    }
  }
}

}  // namespace vx
