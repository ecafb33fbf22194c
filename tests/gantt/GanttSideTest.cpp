// The left-side contract, over both sides: the row at y and the band of a
// row agree, rows are shown top down, the current row moves, a print page
// shows its own rows, swapping sides keeps every row.
#include <gtest/gtest.h>

#include <utility>
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

// A link to a row scrolled away leaves the area towards it: down to a row
// below, up to a row above, over the end's own time.
TEST_P(GanttSide, ALinkToARowScrolledAwayLeavesTheAreaTowardsIt) {
  const bool grid = GetParam().grid;
  TestGant g;
  vxtest::ShowWindow(&g);
  std::vector<TGantRow*> rows;
  for (int k = 0; k < 80; ++k)
    rows.push_back(grid ? g.GetRowList()->FindRowFromGridNode(g.GridNode_Add(nullptr))
                        : g.RowOf(g.Node(nullptr, "row")));
  g.SetUseGridNotTree(grid);
  auto bar = [&g](TGantRow* row, double from) {
    TvxDataEntity_Kronit* k = g.AddKronitToGantRow(row, 0);
    k->SetStartDateTime(TestGant::kDay0 + from);
    k->SetStopDateTime(TestGant::kDay0 + from + 1);
    return k;
  };
  TvxDataEntity_Link* link = g.AddLink();
  link->fLinkOwner = bar(rows[0], 1);
  link->fLinkedTo = bar(rows[79], 3);
  link->fLinkColor = 0xFF00FF;
  // Link pixels in the area's top and bottom lines of pixels.
  auto edges = [&g] {
    Settle(g);
    TBitmap shot;
    g.GetGA()->PaintTo(&shot);
    const int w = g.GetGA()->GetWidth(), h = g.GetGA()->GetHeight();
    auto inLine = [&](int y) {
      for (int x = 0; x < w; ++x)
        if (shot.GetCanvas()->GetPixel(x, y) == 0xFF00FF) return true;
      return false;
    };
    return std::pair<bool, bool>(inLine(0), inLine(h - 1));
  };
  EXPECT_EQ(edges(), std::make_pair(false, true));
  ASSERT_NE(g.RectFromDataEntity(link->fLinkOwner), NoRect());
  ASSERT_EQ(g.RectFromDataEntity(link->fLinkedTo), NoRect());
  g.GetSide()->WheelRows(-79);
  Settle(g);
  ASSERT_EQ(g.RectFromDataEntity(link->fLinkOwner), NoRect());
  ASSERT_NE(g.RectFromDataEntity(link->fLinkedTo), NoRect());
  EXPECT_EQ(edges(), std::make_pair(true, false));
  // Both ends asked for: a stand-in is no end on screen.
  g.SetLinkShow(lsBothEndsVisible);
  EXPECT_EQ(edges(), std::make_pair(false, false));
}

INSTANTIATE_TEST_SUITE_P(BothSides, GanttSide, ::testing::Values(SideCase{"Tree", false}, SideCase{"Grid", true}),
                         [](const ::testing::TestParamInfo<SideCase>& i) { return i.param.name; });
