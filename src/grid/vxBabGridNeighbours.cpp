// Keyboard neighbours, group masters and hit testing.
#include <algorithm>

#include "grid/vxBabGridContent.h"

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

TBabCell* TBabGridCell::StepFrom(TBabCell* theCell, TBabDirection theDirection) {
  int x = theCell->GetCol(), y = theCell->GetRow();
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
  return getCell(x, y);
}

TBabCell* TBabGridCell::FindNeighbourCell(TBabCell* theCell, TBabDirection theDirection, bool theDescend) {
  if (!theCell) return nullptr;
  if (theDescend && theCell->IsGridCell()) {
    auto* g = static_cast<TBabGridCell*>(theCell);
    if (g->fFocusedCell || theDirection == babdirInwards) {
      if (!g->fFocusedCell)
        if (TBabCell* first = g->getCell(g->GetFixedCols(), g->GetFixedRows())) g->SetFocusedCell(first);
      return g->fFocusedCell ? g->FindNeighbourCell(g->fFocusedCell, theDirection, true) : nullptr;
    }
  }
  // The search runs in the grid that holds the cell.
  if (theCell->getGridCell() != this)
    return theCell->getGridCell() ? theCell->getGridCell()->FindNeighbourCell(theCell, theDirection, theDescend)
                                  : theCell;

  TBabCell* res = StepFrom(theCell, theDirection);
  if (!res) res = StepFrom(theCell, theDirection);  // the first fetch may have loaded the items
  if (!res) res = theCell;

  if (res->fIsGroupedCell && !res->fIsMasterGroupCell) {
    if (res != theCell) return FindNeighbourCell(res, theDirection, false);
    res = res->GetGroupMaster();
  }
  if (InHiddenLine(res) && res != theCell) {
    res = FindNeighbourCell(res, theDirection, false);
    if (res && InHiddenLine(res) && res->getGridCell() == this) {
      const bool horz = IsHorizontal(theDirection) && res->GetAxisContentItemX()->GetHide();
      res = horz ? ClosestVisibleNeighbour(theCell->GetCol(), fAxisContentListX.get(), res)
                 : ClosestVisibleNeighbour(theCell->GetRow(), fAxisContentListY.get(), res);
    }
    return res;
  }
  if (res == theCell && theDirection != babdirInwards && fBabGridCell && fBabGridCell->fFocusedCell)
    return fBabGridCell->FindNeighbourCell(fBabGridCell->fFocusedCell, theDirection, false);
  return res;
}

TBabCell* TBabGridCell::ClosestVisibleNeighbour(int theIndex, TAxisContentList* theList, TBabCell* theCell) {
  if (!theCell || theCell->getGridCell() != this) return theCell;
  const bool cols = theList == fAxisContentListX.get();
  const int from = cols ? theCell->GetCol() : theCell->GetRow();
  const int step = theIndex < from ? -1 : 1;
  // From the result back towards where the search started.
  for (int k = from;; k += step) {
    TAxisContentItem* item = theList->getAxisContentItem(k);
    if (item && !item->GetHide()) {
      TBabCell* c = cols ? getCell(k, theCell->GetRow()) : getCell(theCell->GetCol(), k);
      return c ? c : theCell;
    }
    if (k == theIndex) break;
  }
  return theCell;
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
