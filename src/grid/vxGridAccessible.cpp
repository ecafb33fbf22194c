// The column grid's accessible content: its made cells as a table.
#include <vxplan/grid/vxGridAccessible.h>

#include <algorithm>

#include <vxplan/core/vxHolding.h>
#include <vxplan/grid/vxGrid.h>

namespace vx {

namespace {

// The made cell at real place (x, y) of theGrid, without loading or making one.
TBabCell* MadeCell(TBabGridCell* theGrid, int x, int y) {
  TAxisContentList* ax = theGrid ? theGrid->GetAxisContentListX() : nullptr;
  TAxisContentList* ay = theGrid ? theGrid->GetAxisContentListY() : nullptr;
  if (!ax || !ay || x < 0 || y < 0 || x >= ax->Count() || y >= ay->Count()) return nullptr;
  if (!ax->IsLoaded(x) || !ay->IsLoaded(y)) return nullptr;
  return theGrid->GetCellMatris()->getLoadedCell(ax->IndexConvert_RealToLoaded(x), ay->IndexConvert_RealToLoaded(y));
}

bool Shows(const TBabCell* theCell) {
  const TAxisContentItem* x = theCell->GetAxisContentItemX();
  const TAxisContentItem* y = theCell->GetAxisContentItemY();
  return x && y && !x->GetHide() && !y->GetHide();
}

}  // namespace

template <class F>
void TGridAccessible::ForEachCell(TBabGridCell* theGrid, F f) {
  TCellMatris* m = theGrid ? theGrid->GetCellMatris() : nullptr;
  if (!m) return;
  const int nx = m->LoadedCountX(), ny = m->LoadedCountY();
  for (int ly = 0; ly < ny; ++ly)
    for (int lx = 0; lx < nx; ++lx)
      if (TBabCell* c = m->getLoadedCell(lx, ly); c && Shows(c) && !f(c)) return;
}

bool TGridAccessible::Live() const { return !fGrid.IsDestroying() && fGrid.GetBabGridCellForViewer(); }

TBabGridCell* TGridAccessible::Outer() const { return Live() ? fGrid.GetBabGridCellForViewer() : nullptr; }

TvxAccessibleId TGridAccessible::IdOf(const TBabCell* theCell) {
  TBabGridCell* outer = Outer();
  if (!theCell || !outer || theCell == outer) return theCell && theCell == outer ? vxAccessibleRoot : vxAccessibleNone;
  TPath path;
  for (const TBabCell* c = theCell; c != outer; c = c->getGridCell()) {
    if (!c || path.size() > 64) return vxAccessibleNone;  // not a cell of this grid
    path.emplace_back(c->GetCol(), c->GetRow());
  }
  std::reverse(path.begin(), path.end());
  return fPaths.IdOf(path);
}

TBabCell* TGridAccessible::CellOf(TvxAccessibleId theId) {
  if (theId == vxAccessibleNone || !Live()) return nullptr;
  if (theId == vxAccessibleRoot) return Outer();
  const TPath* path = fPaths.PathOf(theId);
  if (!path) return nullptr;
  TBabCell* cell = Outer();
  for (const auto& [x, y] : *path) {
    if (!cell || !cell->IsGridCell()) return nullptr;
    cell = MadeCell(static_cast<TBabGridCell*>(cell), x, y);
  }
  return cell;
}

TBabGridCell* TGridAccessible::GridOf(TvxAccessibleId theId) {
  TBabCell* cell = CellOf(theId);
  return cell && cell->IsGridCell() ? static_cast<TBabGridCell*>(cell) : nullptr;
}

bool TGridAccessible::Exists(TvxAccessibleId theId) { return CellOf(theId) != nullptr; }

int TGridAccessible::ChildCount(TvxAccessibleId theId) {
  int n = 0;
  ForEachCell(GridOf(theId), [&](TBabCell*) {
    ++n;
    return true;
  });
  return n;
}

TvxAccessibleId TGridAccessible::ChildAt(TvxAccessibleId theId, int theIndex) {
  if (theIndex < 0) return vxAccessibleNone;
  TBabCell* found = nullptr;
  int k = 0;
  ForEachCell(GridOf(theId), [&](TBabCell* c) {
    if (k++ < theIndex) return true;
    found = c;
    return false;
  });
  return found ? IdOf(found) : vxAccessibleNone;
}

TvxAccessibleId TGridAccessible::Parent(TvxAccessibleId theId) {
  TBabCell* cell = theId == vxAccessibleRoot ? nullptr : CellOf(theId);
  return cell ? IdOf(cell->getGridCell()) : vxAccessibleNone;
}

TvxAccessibleRole TGridAccessible::Role(TvxAccessibleId theId) {
  if (theId == vxAccessibleRoot) return arTable;
  TBabCell* cell = CellOf(theId);
  if (!cell || cell->IsGridCell()) return arCell;
  TBabGridCell* grid = cell->getGridCell();
  if (grid && cell->GetRow() < grid->GetFixedRows()) return arColumnHeader;
  if (grid && cell->GetCol() < grid->GetFixedCols()) return arRowHeader;
  return arCell;
}

std::string TGridAccessible::Name(TvxAccessibleId theId) {
  TBabCell* cell = theId == vxAccessibleRoot ? nullptr : CellOf(theId);
  if (!cell || cell->IsGridCell()) return {};
  if (Role(theId) == arColumnHeader)
    if (TvxGrid_Column* col = fGrid.CellToColumn(cell)) return col->GetHeaderText();
  return fGrid.GetText(cell);
}

TvxAccessibleState TGridAccessible::State(TvxAccessibleId theId) {
  TBabCell* cell = CellOf(theId);
  if (!cell) return {};
  if (theId == vxAccessibleRoot) return {asFocusable};
  TvxAccessibleState s{asSelectable, asFocusable};
  if (cell->GetSelected()) s.Include(asSelected);
  if (cell == Outer()->GetFocusedCellDownTrack()) {
    s.Include(asActive);
    if (fGrid.Focused()) s.Include(asFocused);
  }
  if (!cell->GetAxisContentItemY() || !cell->GetAxisContentItemY()->GetIsOnScreen()) s.Include(asOffscreen);
  auto* data = dynamic_cast<TBabSimpleCellStringData*>(cell->GetBabCellData());
  if (data && data->GetIsBoolean()) {
    s.Include(asCheckable);
    if (fGrid.GetText(cell) == "TRUE" || fGrid.GetText(cell) == "true") s.Include(asChecked);
  }
  const TvxAccessibleRole role = Role(theId);
  if (role == arCell && !cell->IsGridCell()) {
    // Last: the grid may ask the application, which may change anything.
    TBabGridView_Custom& view = fGrid;
    if (view.EditorCanModify(cell)) s.Include(asEditable);
  }
  return s;
}

TRect TGridAccessible::Bounds(TvxAccessibleId theId) {
  if (theId == vxAccessibleRoot) return Live() ? fGrid.GetClientRect() : TRect{};
  TBabCell* cell = CellOf(theId);
  if (!cell || !cell->GetAxisContentItemY() || !cell->GetAxisContentItemY()->GetIsOnScreen()) return TRect{};
  const TRect r = IntersectRect(cell->GetLastDrawnRect(), fGrid.GetClientRect());
  return r.Right > r.Left && r.Bottom > r.Top ? r : TRect{};
}

TvxAccessibleId TGridAccessible::NodeAt(int x, int y) { return Live() ? IdOf(fGrid.GetCellAtPixel(x, y)) : vxAccessibleNone; }

TvxAccessibleId TGridAccessible::Current() {
  TBabGridCell* outer = Outer();
  return outer ? IdOf(outer->GetFocusedCellDownTrack()) : vxAccessibleNone;
}

int TGridAccessible::TableRows() {
  TBabGridCell* outer = Outer();
  return outer ? std::max(outer->GetAxisContentListY()->Count() - outer->GetFixedRows(), 0) : 0;
}

int TGridAccessible::TableColumns() {
  TBabGridCell* outer = Outer();
  return outer ? std::max(outer->GetAxisContentListX()->Count() - outer->GetFixedCols(), 0) : 0;
}

TvxAccessibleId TGridAccessible::TableCell(int theRow, int theColumn) {
  TBabGridCell* outer = Outer();
  if (!outer || theRow < 0 || theColumn < 0 || theRow >= TableRows() || theColumn >= TableColumns())
    return vxAccessibleNone;
  TBabCell* cell = MadeCell(outer, theColumn + outer->GetFixedCols(), theRow + outer->GetFixedRows());
  return cell ? IdOf(cell) : vxAccessibleNone;
}

std::string TGridAccessible::ColumnHeader(int theColumn) {
  TBabGridCell* outer = Outer();
  if (!outer || theColumn < 0 || theColumn >= TableColumns() || outer->GetFixedRows() < 1) return {};
  TBabCell* header = MadeCell(outer, theColumn + outer->GetFixedCols(), 0);
  TvxGrid_Column* col = header ? fGrid.CellToColumn(header) : nullptr;
  return col ? col->GetHeaderText() : std::string();
}

bool TGridAccessible::CellPlace(TvxAccessibleId theId, int& theRow, int& theColumn) {
  TBabCell* cell = theId == vxAccessibleRoot ? nullptr : CellOf(theId);
  TBabGridCell* outer = Outer();
  if (!cell || cell->getGridCell() != outer) return false;
  theRow = cell->GetRow() - outer->GetFixedRows();
  theColumn = cell->GetCol() - outer->GetFixedCols();
  return theRow >= 0 && theColumn >= 0;
}

}  // namespace vx
