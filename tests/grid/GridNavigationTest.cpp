// Neighbour search, grouping, the paint traversal and hit testing.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "GridTestSupport.h"

using namespace vx;
using namespace gridtest;

namespace {

// Three by three, the middle column made of nested three by three grids.
struct NestedScene {
  std::unique_ptr<TBabGridCellForViewer> g = NewGrid();
  NestedScene() {
    g->fOnCreateCell = [](TBabGridCell* caller, TAxisContentItem* x, TAxisContentItem*) {
      return caller->getGridCell() == nullptr && x->ListIndex() == 1 ? babCellTypeGrid : babCellTypeSimple;
    };
    AddCols(g.get(), 3);
    AddRows(g.get(), 3);
    for (int r = 0; r < 3; ++r) {
      AddCols(Nested(r), 3);
      AddRows(Nested(r), 3);
    }
  }
  TBabGridCell* Nested(int r) { return static_cast<TBabGridCell*>(g->getCell(1, r)); }
};

}  // namespace

TEST(GridNavigation, NeighboursAcrossNestedGrids) {
  NestedScene s;
  TBabGridCell* n1 = s.Nested(1);
  s.g->SetFocusedCell(n1->getCell(2, 1));
  // Past the right edge of a nested grid: the cell right of it in the parent.
  EXPECT_EQ(s.g->FindNeighbourCell(s.g->GetFocusedCell(), babdirRight, true), s.g->getCell(2, 1));
  EXPECT_EQ(s.g->FindNeighbourCell(s.g->GetFocusedCell(), babdirLeft, true), n1->getCell(1, 1));
  EXPECT_EQ(s.g->FindNeighbourCell(s.g->GetFocusedCell(), babdirEndRow, true), n1->getCell(2, 2));
  s.g->SetFocusedCell(n1->getCell(0, 2));
  EXPECT_EQ(s.g->FindNeighbourCell(s.g->GetFocusedCell(), babdirLeft, true), s.g->getCell(0, 1));
  // Moving down out of it lands on the next nested grid cell, without entering it.
  EXPECT_EQ(s.g->FindNeighbourCell(s.g->GetFocusedCell(), babdirDown, true), s.Nested(2));
  // Into a nested grid without focus: its first non-fixed cell is focused.
  TBabGridCell* n2 = s.Nested(2);
  n2->SetFixedRows(1);
  TBabCell* first = s.g->FindNeighbourCell(n2, babdirInwards, true);
  EXPECT_EQ(first, n2->getCell(0, 1));
  EXPECT_EQ(n2->GetFocusedCell(), first);
  // From a simple cell on, moving right reaches the nested grid cell itself.
  EXPECT_EQ(s.g->FindNeighbourCell(s.g->getCell(0, 0), babdirRight, true), s.Nested(0));
  // The outermost edge stays put.
  EXPECT_EQ(s.g->FindNeighbourCell(s.g->getCell(2, 0), babdirRight, true), s.g->getCell(2, 0));
  EXPECT_EQ(s.g->FindNeighbourCell(nullptr, babdirRight, true), nullptr);
}

TEST(GridNavigation, HiddenRowsAndColumnsAreSkipped) {
  auto g = NewGrid();
  AddCols(g.get(), 3);
  AddRows(g.get(), 8);
  TAxisContentList* rows = g->GetAxisContentListY();
  rows->getAxisContentItem(3)->SetHide(true);
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(0, 2), babdirDown, true), g->getCell(0, 4));
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(0, 4), babdirUp, true), g->getCell(0, 2));
  // Hidden to the end: no movement.
  for (int r = 4; r < 8; ++r) rows->getAxisContentItem(r)->SetHide(true);
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(0, 2), babdirDown, true), g->getCell(0, 2));
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(0, 2), babdirEndRow, true), g->getCell(0, 2));
  g->GetAxisContentListX()->getAxisContentItem(2)->SetHide(true);
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(1, 1), babdirRight, true), g->getCell(1, 1));
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(0, 1), babdirEndCell, true), g->getCell(1, 1));
  // Visible indexes leave the hidden rows out.
  EXPECT_EQ(TBabGridCell::Convert_TrueIndexToVisible(rows, 3), 3);
  EXPECT_EQ(TBabGridCell::Convert_TrueIndexToVisible(rows, 6), 3);
  rows->getAxisContentItem(5)->SetHide(false);
  EXPECT_EQ(TBabGridCell::Convert_VisibleIndexToTrue(rows, 3), 5);
  g->SetTop_ScrollVal(3);
  EXPECT_EQ(g->GetTop(), 5);
  EXPECT_EQ(g->GetTop_ScrollVal(), 3);
  EXPECT_EQ(rows->GetHiddenRowCount(), 4);
}

TEST(GridNavigation, PagesAndHomesFollowTheLayout) {
  auto g = NewGrid();
  AddCols(g.get(), 4);
  AddRows(g.get(), 30);
  g->SetFixedRows(1);
  g->SetFixedCols(1);
  g->CalcVisibleArea(Rect(0, 0, 200, 100));
  ASSERT_EQ(g->GetVisibleRowCount(), 5);  // the header and four rows
  // (Page Down from the top, Home, End, Ctrl+Home and Ctrl+End: the view's key tests.)
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(2, 3), babdirPageUp, true), g->getCell(2, 1));
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(2, 27), babdirPageDown, true), g->getCell(2, 29));
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(2, 9), babdirHomeCell, true), g->getCell(1, 9));
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(1, 9), babdirLeft, true), g->getCell(1, 9));
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(1, 1), babdirUp, true), g->getCell(1, 1));
}

TEST(GridNavigation, TraversalGroupsPaintsAndSkipsCellsOutsideTheArea) {
  auto g = NewGrid();
  AddCols(g.get(), 2);
  AddRows(g.get(), 5);
  // Rows 1 to 3 of the first column merge.
  g->fOnCheckCellGrouping = [](TBabCell* a, TBabCell* b) {
    return a->GetCol() == 0 && a->GetRow() >= 1 && b->GetRow() <= 3;
  };
  g->CalcVisibleArea(Rect(0, 0, 100, 200));
  g->getCell(0, 1)->SetSelected(true);
  g->SetFocusedCell(g->getCell(1, 4));
  std::map<TBabCell*, std::pair<TRect, TBabDrawStateSet>> painted;
  auto record = [&painted](TRect r, TBabCell* c, TBabDrawStateSet st) { painted[c] = {r, st}; };
  g->Draw(Rect(0, 0, 100, 200), record);

  TBabCell* master = g->getCell(0, 3);
  EXPECT_TRUE(master->GetIsMasterGroupCell());
  EXPECT_TRUE(g->getCell(0, 1)->GetIsGroupedCell());
  EXPECT_FALSE(g->getCell(0, 2)->GetIsMasterGroupCell());
  EXPECT_EQ(painted[master].first, Rect(0, 20, 20, 80));
  EXPECT_TRUE(painted[master].second.Contains(babSelected));  // inherited along the group
  EXPECT_EQ(painted[g->getCell(1, 4)].second, TBabDrawStateSet{babFocused});
  EXPECT_EQ(g->getCell(0, 1)->GetGroupMaster(), master);
  EXPECT_EQ(g->getCell(0, 0)->GetGroupMaster(), g->getCell(0, 0));
  // Clicks and navigation resolve to the master.
  EXPECT_EQ(g->CellFromPix(5, 25, true), master);
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(0, 0), babdirDown, true), master);
  EXPECT_EQ(g->FindNeighbourCell(master, babdirUp, true), g->getCell(0, 0));
  EXPECT_EQ(g->FindNeighbourCell(g->getCell(0, 4), babdirUp, true), master);
  EXPECT_EQ(g->GridCoordsFromPix(500, 25), (TPoint{-1, 1}));
  EXPECT_EQ(g->CellFromPix(500, 25, true), nullptr);

  // Scaled ten pixels up, the first row starts above the area: not painted,
  // and the chain it would start is broken.
  g->fOnCheckCellGrouping = [](TBabCell* a, TBabCell* b) { return a->GetCol() == 0 && b->GetRow() == 1; };
  g->fOnScaleRect = [](TRect& r) { r = OffsetRect(r, 0, -10); };
  painted.clear();
  g->Draw(Rect(0, 0, 100, 200), record);
  EXPECT_EQ(g->getCell(0, 0)->GetLastDrawnRect(), Rect(-1, -1, -1, -1));
  EXPECT_EQ(painted.count(g->getCell(0, 0)), 0u);
  EXPECT_FALSE(g->getCell(0, 1)->GetIsGroupedCell());
  EXPECT_EQ(g->getCell(0, 1)->GetLastDrawnRect(), Rect(0, 10, 20, 30));
  // Rows below the bottom are not painted; the one crossing it is clipped.
  g->fOnScaleRect = nullptr;
  g->Draw(Rect(0, 0, 100, 50), record);
  EXPECT_EQ(g->getCell(1, 3)->GetLastDrawnRect(), Rect(-1, -1, -1, -1));
  EXPECT_EQ(g->getCell(1, 2)->GetLastDrawnRect(), Rect(20, 40, 40, 50));
  // The host may move what it is told.
  g->fOnCellRectTampering = [](TBabGridCell*, TBabCell*, TRect& r) { r = InflateRect(r, -1, -1); };
  EXPECT_EQ(g->getCell(1, 2)->getVisibleRect(), Rect(21, 41, 39, 49));
  g->Draw(Rect(0, 0, 100, 50), TOnDrawBabCell());  // no callback, no pass
  EXPECT_EQ(g->getCell(1, 2)->GetLastDrawnRect(), Rect(20, 40, 40, 50));
}
