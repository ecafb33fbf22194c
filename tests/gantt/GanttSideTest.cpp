// The left-side contract, over both sides: the row at y and the band of a
// row agree, rows are shown top down, the current row moves, a print page
// shows its own rows, swapping sides keeps every row.
#include <gtest/gtest.h>

#include <vector>

#include "GanttSupport.h"

using namespace vx;
using vxtest::TestGant;

namespace {

struct SideCase {
  const char* name;
  bool grid;
};

// Four rows on each side; answers the rows of the side asked for, top down.
std::vector<TGantRow*> FillBothSides(TestGant& g, bool theGrid) {
  std::vector<TGantRow*> tree, grid;
  for (int k = 0; k < 4; ++k) {
    tree.push_back(g.RowOf(g.Node(nullptr, "row")));
    grid.push_back(g.GetRowList()->FindRowFromGridNode(g.GridNode_Add(nullptr)));
  }
  return theGrid ? grid : tree;
}

std::vector<TGantRow*> Shown(TestGant& g) {
  std::vector<TGantRow*> rows;
  g.ForEachShownRow([&](TGantRow* r) { rows.push_back(r); });
  return rows;
}

void Settle(TestGant& g) {
  vxtest::ProcessEventsUntilIdle();
  TBitmap shot;
  g.GetGA()->PaintTo(&shot);  // the grid places its rows when it paints
}

}  // namespace

class GanttSide : public ::testing::TestWithParam<SideCase> {};

TEST_P(GanttSide, RowsBandsCurrentRowAndPrintPageFollowTheSide) {
  const bool grid = GetParam().grid;
  TestGant g;
  vxtest::ShowWindow(&g);
  const std::vector<TGantRow*> rows = FillBothSides(g, grid);
  g.SetUseGridNotTree(grid);
  Settle(g);
  TGantSide* side = g.GetSide();
  ASSERT_EQ(side, g.GetSide(grid));
  EXPECT_EQ(g.GetUseGridNotTree(), grid);
  EXPECT_EQ(g.ShownSide(), side);

  // Shown top down, each of this side; the row at a band's middle is its
  // row, the gap or the edge between two bands none, below the last none.
  ASSERT_EQ(Shown(g), rows);
  int lastBottom = -1;
  for (TGantRow* row : rows) {
    const TRect band = side->RowBand(row);
    EXPECT_EQ(band.Top, row->GetRect().Top);
    EXPECT_GE(band.Top, lastBottom);
    EXPECT_GT(band.Bottom, band.Top);
    EXPECT_EQ(side->RowAt((band.Top + band.Bottom) / 2), row);
    EXPECT_EQ(g.GetRowList()->FindRowFromY(band.Top + 1), row);
    EXPECT_NE(side->RowAt(band.Top), row);
    lastBottom = band.Bottom;
    EXPECT_TRUE(g.RowTypeCheckOK(row));
  }
  EXPECT_EQ(side->RowAt(lastBottom + 200), nullptr);

  // The current row, and the neighbour above it for the Up key.
  TvxDataEntity_Kronit* above = g.AddKronitToGantRow(rows[1], 0);
  side->MakeRowCurrent(rows[2]);
  EXPECT_EQ(side->CurrentRow(), rows[2]);
  EXPECT_EQ(g.GetActiveGantRow(), rows[2]);
  EXPECT_EQ(g.FindNeighbourToUpDown(0, nullptr, true), above);
  EXPECT_EQ(side->CurrentRow(), rows[1]);

  // A print page: its rows in its order and at its places, the others none;
  // when it ends, the screen's bands come back.
  const TRect onScreen = side->RowBand(rows[3]);
  side->PrintRows().Begin();
  side->PrintRows().Add(side->NodeOf(rows[3]), 0, 30);
  side->PrintRows().Add(side->NodeOf(rows[0]), 30, 45);
  EXPECT_EQ(g.ShownSide(), side);
  EXPECT_EQ(Shown(g), (std::vector<TGantRow*>{rows[3], rows[0]}));
  EXPECT_EQ(rows[3]->GetRect().Top, 0);
  EXPECT_EQ(rows[0]->GetRect().Bottom, 45);
  EXPECT_EQ(side->RowBand(rows[1]), NoRect());
  EXPECT_EQ(side->PrintRows().End().size(), 2u);
  EXPECT_EQ(side->RowBand(rows[3]), onScreen);
  // A page printed from the other side shows that side's rows meanwhile.
  TGantSide* other = g.GetSide(!grid);
  other->PrintRows().Begin();
  EXPECT_EQ(g.ShownSide(), other);
  EXPECT_TRUE(Shown(g).empty());
  other->PrintRows().End();

  // Swapping sides keeps every row (GanttModelTest checks their places).
  g.SetUseGridNotTree(!grid);
  Settle(g);
  EXPECT_FALSE(g.RowTypeCheckOK(rows[0]));
  for (TGantRow* r : Shown(g)) EXPECT_TRUE(other->Owns(r));
  g.SetUseGridNotTree(grid);
  Settle(g);
  EXPECT_EQ(Shown(g), rows);
}

INSTANTIATE_TEST_SUITE_P(BothSides, GanttSide, ::testing::Values(SideCase{"Tree", false}, SideCase{"Grid", true}),
                         [](const ::testing::TestParamInfo<SideCase>& i) { return i.param.name; });
