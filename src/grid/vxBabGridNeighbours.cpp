// Keyboard neighbours, group masters and hit testing.
#include <algorithm>

#include <vxplan/grid/vxBabGridContent.h>

namespace vx {

namespace {

bool IsHorizontal(TBabDirection d) noexcept {
  return d == babdirLeft || d == babdirRight || d == babdirHomeCell || d == babdirEndCell;
}

bool InHiddenLine(const TBabCell* c) {
  return (c->GetAxisContentItemX() && c->GetAxisContentItemX()->GetHide()) ||
         (c->GetAxisContentItemY() && c->GetAxisContentItemY()->GetHide());
}

}  // namespace

TBabCell* TBabCell::GetGroupMaster() {
  if (!fIsGroupedCell || fIsMasterGroupCell || !fBabGridCell) return this;
  TAxisContentList* rows = fBabGridCell->GetAxisContentListY();
  const int y = GetRow();
  const int next = TBabGridCell::Convert_VisibleIndexToTrue(rows, TBabGridCell::Convert_TrueIndexToVisible(rows, y) + 1);
  TBabCell* c = next > y && next < rows->Count() ? fBabGridCell->getCell(GetCol(), next) : nullptr;
  return c ? c->GetGroupMaster() : this;
}

// The place one step from (x, y) takes: indexes only, nothing is looked up.
void TBabGridCell::StepFrom(int& x, int& y, TBabDirection theDirection) const {
  const int fc = GetFixedCols(), fr = GetFixedRows();
  const int cols = fAxisContentListX->Count(), rows = fAxisContentListY->Count();
  switch (theDirection) {
    case babdirLeft: x = std::max(x - 1, fc); break;
    case babdirRight: x = std::min(x + 1, cols - 1); break;
    case babdirUp: y = std::max(y - 1, fr); break;
    case babdirDown: y = std::min(y + 1, rows - 1); break;
    case babdirPageUp: y = std::max(y - fVisibleRowCount + fr, fr); break;
    case babdirPageDown: y = std::min(y + fVisibleRowCount - fr, rows - 1); break;
    case babdirHomeRow: y = fr; break;
    case babdirEndRow: y = std::max(fr, rows - 1); break;
    case babdirHomeCell: x = fc; break;
    case babdirEndCell: x = std::max(fc, cols - 1); break;
    case babdirNone:
    case babdirInwards: break;
  }
}

// Looking cells up loads columns and rows and may unload others, the start's
// among them: the search keeps places (indexes), and a cell is only the
// answer, looked up last.
TBabCell* TBabGridCell::FindNeighbourCell(TBabCell* theCell, TBabDirection theDirection, bool theDescend) {
  if (!theCell) return nullptr;
  if (theDescend && theCell->IsGridCell()) {
    auto* g = static_cast<TBabGridCell*>(theCell);
    if (g->fFocusedCell || theDirection == babdirInwards) {
      TvxWatch<TBabCell> inner(g);
      if (!g->fFocusedCell)
        if (TBabCell* first = g->getCell(g->GetFixedCols(), g->GetFixedRows())) g->SetFocusedCell(first);
      if (!inner) return nullptr;
      return g->fFocusedCell ? g->FindNeighbourCell(g->fFocusedCell, theDirection, true) : nullptr;
    }
  }
  // The search runs in the grid that holds the cell.
  if (theCell->getGridCell() != this)
    return theCell->getGridCell() ? theCell->getGridCell()->FindNeighbourCell(theCell, theDirection, theDescend)
                                  : theCell;

  TvxWatch<TBabCell> self(this);
  const int x0 = theCell->GetCol(), y0 = theCell->GetRow();
  int x = x0, y = y0;
  StepFrom(x, y, theDirection);
  TBabCell* res = getCell(x, y);
  if (!self) return nullptr;
  if (!res) {
    // The first look-up may have loaded the items: the counts are new.
    x = x0, y = y0;
    StepFrom(x, y, theDirection);
    res = getCell(x, y);
    if (!self) return nullptr;
  }
  if (!res) {
    x = x0, y = y0;
    res = getCell(x, y);
    if (!self || !res) return nullptr;
  }
  const bool moved = x != x0 || y != y0;
  if (!moved && res->fIsGroupedCell && !res->fIsMasterGroupCell) return res->GetGroupMaster();
  // Grouped cells below their master and hidden columns and rows are passed
  // over in the direction of the move.
  for (bool onward = moved; onward;) {
    onward = false;
    const bool grouped = res->fIsGroupedCell && !res->fIsMasterGroupCell;
    if (!grouped && !InHiddenLine(res)) break;
    int nx = x, ny = y;
    StepFrom(nx, ny, theDirection);
    if (nx == x && ny == y) break;  // the edge
    TBabCell* next = getCell(nx, ny);
    if (!self) return nullptr;
    if (!next) break;
    x = nx, y = ny, res = next;
    onward = true;
  }
  if (InHiddenLine(res) && res->getGridCell() == this) {
    // Still hidden at the edge: back towards the start, to the nearest that shows.
    const bool horz = IsHorizontal(theDirection) && res->GetAxisContentItemX()->GetHide();
    res = horz ? ClosestVisibleNeighbour(x0, fAxisContentListX.get(), res)
               : ClosestVisibleNeighbour(y0, fAxisContentListY.get(), res);
    if (!self) return nullptr;
    if (res) x = res->GetCol(), y = res->GetRow();
  }
  if (res && x == x0 && y == y0 && theDirection != babdirInwards && fBabGridCell && fBabGridCell->fFocusedCell)
    return fBabGridCell->FindNeighbourCell(fBabGridCell->fFocusedCell, theDirection, false);
  return res;
}

TBabCell* TBabGridCell::ClosestVisibleNeighbour(int theIndex, TAxisContentList* theList, TBabCell* theCell) {
  if (!theCell || theCell->getGridCell() != this) return theCell;
  const bool cols = theList == fAxisContentListX.get();
  const int col = theCell->GetCol(), row = theCell->GetRow();
  const int from = cols ? col : row;
  const int step = theIndex < from ? -1 : 1;
  TvxWatch<TBabCell> self(this);
  // From the result back towards where the search started.
  for (int k = from;; k += step) {
    TAxisContentItem* item = theList->getAxisContentItem(k);
    if (!self) return nullptr;
    if (item && !item->GetHide()) {
      if (TBabCell* c = cols ? getCell(k, row) : getCell(col, k)) return c;
      break;
    }
    if (k == theIndex || item == nullptr) break;
  }
  return self ? getCell(col, row) : nullptr;
}

void TBabGridCell::CellExtents(const TAxisContentItem* theItem, int, int& theStop, int& theStart,
                               int theOffset) noexcept {
  theStart = theItem->GetAcumSize() + theOffset;
  theStop = theStart + theItem->GetCalculatedSize();
}

TPoint TBabGridCell::GridCoordsFromPix(int x, int y) const {
  TPoint p{-1, -1};
  int start, stop;
  for (int k = 0; k < fAxisContentListX->VisibleCount(); ++k) {
    const TAxisContentItem* item = fAxisContentListX->getVisibleAxisContentItem(k);
    CellExtents(item, GetFixedCols(), stop, start, fDrawRect.Left);
    if (x >= start && x <= stop) {
      p.X = item->ListIndex();
      break;
    }
  }
  for (int k = 0; k < fAxisContentListY->VisibleCount(); ++k) {
    const TAxisContentItem* item = fAxisContentListY->getVisibleAxisContentItem(k);
    CellExtents(item, GetFixedRows(), stop, start, fDrawRect.Top);
    if (y >= start && y <= stop) {
      p.Y = item->ListIndex();
      break;
    }
  }
  return p;
}

TBabCell* TBabGridCell::CellFromPix(int x, int y, bool theDescend) {
  const TPoint p = GridCoordsFromPix(x, y);
  if (p.X < 0 || p.Y < 0) return nullptr;
  TBabCell* c = getCell(p.X, p.Y);
  if (!c) return nullptr;
  c = c->GetGroupMaster();
  if (theDescend && c->IsGridCell()) {
    TBabCell* inner = static_cast<TBabGridCell*>(c)->CellFromPix(x, y, true);
    return inner ? inner->GetGroupMaster() : c;
  }
  return c;
}

}  // namespace vx
