// Sizes, the layout pass over the visible area and the paint traversal.
#include <algorithm>

#include <vxplan/grid/vxBabGridContent.h>

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
  theItem->SetCalculatedSize(std::clamp(size, 0, kMaxItemSize));
}

int Bounded(long long theSize) { return static_cast<int>(std::clamp<long long>(theSize, 0, kMaxItemSize)); }

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

int TBabCell::GetMinWidth() { return fLayoutProp ? Bounded(fLayoutProp->MinWidth) : kDefaultMinSize; }

int TBabCell::GetMinHeight() {
  if (!fLayoutProp) {
    fReEvalSize = false;
    return kDefaultMinSize;
  }
  int result = Bounded(fLayoutProp->MinHeight);
  TBabGridCellForViewer* v = fLayoutProp->WrapTextAndFit ? GetViewerGridCell() : nullptr;
  if (v && v->fOnMeasureHeight) {
    // Wrapped text may need less room than last time: a new measurement starts
    // over from the minimum. Reads in between leave the measured size alone.
    if (fReEvalSize) {
      fCurrentHeight = result;
      TvxWatch<TBabCell> alive(this);
      int measured = fCachedMinHeight;
      v->fOnMeasureHeight(v, this, measured);
      if (!alive) return result;
      fCachedMinHeight = Bounded(measured);
    }
    result = fCachedMinHeight;
  }
  fReEvalSize = false;
  return result;
}

void TBabCell::CalculateSizes() {
  fReEvalSize = true;
  TvxWatch<TBabCell> alive(this);
  const int h = GetMinHeight();  // measures wrapped text, which calls out
  if (!alive) return;
  if (fCurrentHeight < h) fCurrentHeight = h;
  const int w = GetMinWidth();
  if (fCurrentWidth < w) fCurrentWidth = w;
}

int TBabGridCell::GetCalculatedWidth() {
  long long sum = 0;
  for (int k = 0; k < fAxisContentListX->Count(); ++k)
    if (TAxisContentItem* item = fAxisContentListX->getAxisContentItem(k)) sum += item->GetCalculatedSize();
  return std::max(GetMinWidth(), Bounded(sum));
}

int TBabGridCell::GetCalculatedHeight() {
  long long sum = 0;
  for (int k = 0; k < fAxisContentListY->Count(); ++k)
    if (TAxisContentItem* item = fAxisContentListY->getAxisContentItem(k)) sum += item->GetCalculatedSize();
  return std::max(GetMinHeight(), Bounded(sum));
}

// ---------------------------------------------------------------- the layout pass

void TBabGridCell::MeasurePass(TRect theRect) {
  TAxisContentList* ax = fAxisContentListX.get();
  TAxisContentList* ay = fAxisContentListY.get();
  TVisibleIterator cols(GetFixedCols(), fLeft, ax->Count());
  TVisibleIterator rows(GetFixedRows(), fTop, ay->Count());
  const int width = theRect.Width(), height = theRect.Height();
  // Measuring calls out (new cells' content, wrapped text): the items are
  // held across it, and a grid cell that went ends the pass.
  TvxWatch<TBabCell> self(this);
  bool firstColumn = true;
  long long accWidth = 0;
  for (; !cols.Eof(); cols.Next()) {
    TvxHeld<TAxisContentItem> col(ax->getAxisContentItem(cols.Current()));
    if (!self) return;
    if (!col) break;
    col.Get()->SetAcumSize(0);
    col.Get()->SetCalculatedSize(0);
    if (!col.Get()->GetHide()) {
      long long accHeight = 0;
      for (rows.Reset(); !rows.Eof(); rows.Next()) {
        TvxHeld<TAxisContentItem> row(ay->getAxisContentItem(rows.Current()));
        if (!self) return;
        if (!row) break;
        if (firstColumn) {
          row.Get()->SetAcumSize(0);
          row.Get()->SetCalculatedSize(0);
        }
        if (row.Get()->GetHide()) continue;
        MeasureCell(cols.Current(), rows.Current(), theRect);
        if (!self) return;
        if (!col || !row) break;
        accHeight += row.Get()->GetCalculatedSize();
        if (accHeight > height) break;
      }
      if (col) accWidth += col.Get()->GetCalculatedSize();
    }
    // Rows keep what they had when the first column is hidden: they only grow.
    firstColumn = false;
    if (accWidth > width) break;
  }
}

// Measures the cell at (x, y) and grows its column and row by it.
void TBabGridCell::MeasureCell(int x, int y, TRect theRect) {
  TBabCell* cell = getCell(x, y);
  TvxWatch<TBabCell> alive(cell);
  if (!cell) return;
  if (cell->IsGridCell())
    static_cast<TBabGridCell*>(cell)->CalcVisibleArea(theRect);
  else
    cell->CalculateSizes();
  if (!alive) return;
  const int minHeight = cell->GetMinHeight();
  if (!alive) return;
  TAxisContentItem* row = cell->GetAxisContentItemY();
  TAxisContentItem* col = cell->GetAxisContentItemX();
  Grow(row, cell->GetLayoutProp() ? cell->GetLayoutProp()->MinHeight : minHeight, cell->GetCalculatedHeight());
  if (!alive) return;
  Grow(col, cell->GetMinWidth(), cell->GetCalculatedWidth());
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
  // The callback and the grouping hook call out: the column is held, the
  // cells watched, and a grid cell that went ends its traversal.
  TvxWatch<TBabCell> self(this);
  for (int i = 0; i < ax->VisibleCount(); ++i) {
    TvxHeld<TAxisContentItem> col(ax->getVisibleAxisContentItem(i));
    TvxWatch<TBabCell> prev;
    TBabDrawStateSet prevState;
    for (int j = 0; col && j < ay->VisibleCount(); ++j) {
      TAxisContentItem* row = ay->getVisibleAxisContentItem(j);
      const int x = col.Get()->ListIndex(), y = row->ListIndex();
      if (x < 0) break;
      if (y < 0) continue;
      int x0, x1, y0, y1;
      CellExtents(col.Get(), GetFixedCols(), x1, x0, theRect.Left);
      CellExtents(row, GetFixedRows(), y1, y0, theRect.Top);
      TRect r = Rect(x0, y0, x1, y1);
      if (v) v->ScaleRect(r);
      TBabCell* cell = getCell(x, y);
      if (!self) return;
      if (!cell) continue;
      TvxWatch<TBabCell> alive(cell);
      cell->fIsGroupedCell = false;
      cell->fIsMasterGroupCell = false;
      if (r.Top < theRect.Top || r.Left < theRect.Left || r.Top > theRect.Bottom || r.Left > theRect.Right ||
          r.Top >= r.Bottom || r.Left >= r.Right) {
        cell->fLastDrawnRect = NoRect();
        prev = TvxWatch<TBabCell>();  // a cell not painted breaks a group
        continue;
      }
      r.Right = std::min(r.Right, theRect.Right);
      r.Bottom = std::min(r.Bottom, theRect.Bottom);
      TBabDrawStateSet state;
      const bool grouped = prev && v && v->CheckCellGrouping(prev.Get(), cell);
      if (!self) return;
      if (!alive) continue;
      if (grouped && prev) {
        TBabCell* p = prev.Get();
        p->fIsMasterGroupCell = false;
        cell->fIsMasterGroupCell = true;
        p->fIsGroupedCell = true;
        cell->fIsGroupedCell = true;
        r.Top = p->fLastDrawnRect.Top;
        state = prevState;
      }
      if (IsFixedCell(x, y)) state.Include(babFixed);
      if (cell == fFocusedCell) state.Include(babFocused);
      if (cell->GetSelected()) state.Include(babSelected);
      cell->fLastDrawnRect = r;
      const TRect shown = cell->getVisibleRect();
      if (!self) return;
      if (!alive) continue;
      theDrawCallback(shown, cell, state);
      if (!self) return;
      if (alive && cell->IsGridCell())
        static_cast<TBabGridCell*>(cell)->Draw(Rect(x0, y0, r.Right, r.Bottom), theDrawCallback);
      if (!self) return;
      prev = alive;
      prevState = state;
    }
  }
}

}  // namespace vx
