#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/ui/Accessible.h>

namespace vx {

class TvxGrid;
class TBabCell;
class TBabGridCell;

// The column grid as assistive technology sees it: a table whose children
// are the cells the grid has made (the header row first), each with its
// text, check state and editability; a nested grid's cells are children of
// its cell. A cell is known by its path of (column, row) places from the
// outermost grid, looked up afresh on every call; an id names a path.
class VX_API TGridAccessible : public TvxAccessibleContent {
public:
  explicit TGridAccessible(TvxGrid& theGrid) : fGrid(theGrid) {}

  TvxAccessibleId IdOf(const TBabCell* theCell);
  // The cell of theId; nil when it has gone (or its row is not loaded).
  TBabCell* CellOf(TvxAccessibleId theId);

  bool Exists(TvxAccessibleId theId) override;
  int ChildCount(TvxAccessibleId theId) override;
  TvxAccessibleId ChildAt(TvxAccessibleId theId, int theIndex) override;
  TvxAccessibleId Parent(TvxAccessibleId theId) override;
  TvxAccessibleRole Role(TvxAccessibleId theId) override;
  std::string Name(TvxAccessibleId theId) override;
  TvxAccessibleState State(TvxAccessibleId theId) override;
  TRect Bounds(TvxAccessibleId theId) override;
  TvxAccessibleId NodeAt(int x, int y) override;
  TvxAccessibleId Current() override;

  int TableRows() override;
  int TableColumns() override;
  TvxAccessibleId TableCell(int theRow, int theColumn) override;
  std::string ColumnHeader(int theColumn) override;
  bool CellPlace(TvxAccessibleId theId, int& theRow, int& theColumn) override;

private:
  using TPath = TvxAccessiblePaths::TPath;
  bool Live() const;
  TBabGridCell* Outer() const;
  // The grid cell whose cells are theId's children; nil for none.
  TBabGridCell* GridOf(TvxAccessibleId theId);
  // Calls f with each made cell of theGrid that shows (rows and columns not
  // hidden), loaded rows in order; f answers false to stop.
  template <class F>
  static void ForEachCell(TBabGridCell* theGrid, F f);

  TvxGrid& fGrid;
  TvxAccessiblePaths fPaths;
};

}  // namespace vx
