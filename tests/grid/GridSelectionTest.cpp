// Selection rules, focus across nested grids and the hooks they raise.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "GridTestSupport.h"

using namespace vx;
using namespace gridtest;

namespace {

std::set<std::pair<int, int>> Selected(TBabGridCell* g) {
  std::set<std::pair<int, int>> r;
  g->GetCellMatris()->ForEachCell([&r](TBabCell* c) {
    if (c->GetSelected()) r.emplace(c->GetCol(), c->GetRow());
  });
  return r;
}

}  // namespace

// Plain, Shift, Ctrl and Shift+Ctrl clicks against a reference: the random
// model test. Here the hooks, the queries, fixed cells and single selection.
TEST(GridSelection, HooksQueriesFixedCellsAndSingleSelect) {
  auto g = NewGrid();
  AddCols(g.get(), 4);
  AddRows(g.get(), 6);
  g->SetFixedRows(1);
  int internal = 0, raised = 0;
  g->fOnInternalSelectionChanged = [&](TBabGridCell* caller, TBabCell* c, bool v) {
    EXPECT_EQ(caller, g.get());
    EXPECT_NE(c->GetSelected(), v);  // before the flag changes
    ++internal;
  };
  TSingleEventListener counter(g->GetSelectionChangeEvent(), [&](TSingleEventListener*) { ++raised; }, false);
  g->UpdateMultiSelect(g->getCell(1, 2), TShiftState());
  EXPECT_EQ(internal, 1);
  EXPECT_EQ(raised, 1);
  g->UpdateMultiSelect(g->getCell(3, 4), {ssShift});
  EXPECT_EQ(Selected(g.get()).size(), 9u);
  EXPECT_TRUE(g->GetCellMatris()->HasRowSelections(4));
  EXPECT_FALSE(g->GetCellMatris()->HasRowSelections(1));
  EXPECT_TRUE(g->GetCellMatris()->HasColumnSelections(3));
  EXPECT_FALSE(g->GetCellMatris()->HasColumnSelections(0));
  EXPECT_FALSE(g->GetCellMatris()->HasRowSelections(99));

  // A fixed cell is ignored; without multi-select Shift and Ctrl are plain clicks.
  const auto before = Selected(g.get());
  g->UpdateMultiSelect(g->getCell(2, 0), TShiftState());
  EXPECT_EQ(Selected(g.get()), before);
  g->SetMultiSelect(false);
  g->UpdateMultiSelect(g->getCell(0, 1), {ssCtrl});
  g->UpdateMultiSelect(g->getCell(0, 5), {ssShift});
  EXPECT_EQ(Selected(g.get()), (std::set<std::pair<int, int>>{{0, 5}}));
}

TEST(GridSelection, RowSelectSpreadsOverTheNonFixedCellsOfTheRow) {
  auto g = NewGrid();
  AddCols(g.get(), 5);
  AddRows(g.get(), 4);
  g->SetFixedCols(1);
  g->SetRowSelect(true);
  g->getCell(3, 2)->SetSelected(true);
  EXPECT_EQ(Selected(g.get()), (std::set<std::pair<int, int>>{{1, 2}, {2, 2}, {3, 2}, {4, 2}}));
  g->getCell(1, 2)->SetSelected(false);
  EXPECT_TRUE(Selected(g.get()).empty());
}

TEST(GridSelection, NestedGridsSelectAndFocusThroughTheirContainer) {
  auto g = NewGrid();
  AddCols(g.get(), 3);
  g->fOnCreateCell = [](TBabGridCell* caller, TAxisContentItem* x, TAxisContentItem*) {
    return caller->getGridCell() == nullptr && x->ListIndex() == 1 ? babCellTypeGrid : babCellTypeSimple;
  };
  AddRows(g.get(), 3);
  auto* nested = static_cast<TBabGridCell*>(g->getCell(1, 1));
  ASSERT_TRUE(nested->IsGridCell());
  AddCols(nested, 3);
  AddRows(nested, 3);
  nested->SetFixedRows(1);

  // Selecting the grid cell selects every non-fixed cell inside.
  nested->SetSelected(true);
  EXPECT_EQ(Selected(nested), (std::set<std::pair<int, int>>{{0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}));
  g->UpdateMultiSelect(g->getCell(0, 0), TShiftState());
  EXPECT_TRUE(Selected(nested).empty());
  EXPECT_FALSE(nested->GetSelected());

  // Focus: every level leads down to the focused simple cell, and the
  // change reaches the outermost cell's event.
  int focusEvents = 0;
  TSingleEventListener l(g->GetFocusedCellChangeEvent(), [&](TSingleEventListener*) { ++focusEvents; }, false);
  TBabCell* inner = nested->getCell(2, 2);
  g->SetFocusedCell(inner);
  EXPECT_EQ(g->GetFocusedCell(), nested);
  EXPECT_EQ(nested->GetFocusedCell(), inner);
  EXPECT_EQ(g->GetFocusedCellDownTrack(), inner);
  EXPECT_EQ(nested->GetViewerGridCell(), g.get());
  EXPECT_GE(focusEvents, 2);
  // Focusing elsewhere clears the nested focus.
  g->SetFocusedCell(g->getCell(2, 2));
  EXPECT_EQ(nested->GetFocusedCell(), nullptr);
  // A cell inside a fixed row of the nested grid is fixed there.
  EXPECT_TRUE(nested->getCell(0, 0)->GetIsFixed());
  g->SetFocusedCell(nested->getCell(0, 0));
  EXPECT_EQ(nested->GetFocusedCell(), nullptr);
  EXPECT_EQ(g->GetFocusedCellDownTrack(), nested);

  // Dropping the row frees the nested grid; focus and anchor are forgotten.
  g->SetFocusedCell(inner);
  g->UpdateMultiSelect(nested, TShiftState());
  std::vector<TBabCell*> deinit;
  g->fOnDeInitCell = [&deinit](TBabCell* c) { deinit.push_back(c); };
  g->GetAxisContentListY()->Drop(1);
  g->fOnDeInitCell = nullptr;
  EXPECT_EQ(g->GetFocusedCell(), nullptr);
  EXPECT_EQ(g->GetAnchor(), nullptr);
  // The row's three cells and the nine inside the nested grid.
  EXPECT_EQ(deinit.size(), 12u);
  EXPECT_EQ(g->GetCellMatris()->ExistingCellCount(), 6);
}
