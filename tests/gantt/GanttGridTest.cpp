// The chart on its grid side: painting and hit testing only the side shown,
// a crowded grid row growing, the wheel and the scroll column on the grid,
// arrow keys across grid rows.
#include <gtest/gtest.h>

#include "GanttSupport.h"

using namespace vx;
using vxtest::TestGant;

namespace {

constexpr TColor kTreeColor = 0x00C000;
constexpr TColor kGridColor = 0x0000E0;

TvxDataEntity_Kronit* GridItem(TestGant& g, TvxDataEntity_GridTreeNode* n, double from, double to, TColor c) {
  TvxDataEntity_Kronit* k = g.GridNode_AddKronit(n, 0);
  k->SetStartDateTime(TestGant::kDay0 + from);
  k->SetStopDateTime(TestGant::kDay0 + to);
  k->SetColor(c);
  return k;
}

TRect Find(TestGant& g, TColor c) {
  TBitmap shot;
  g.GetGA()->PaintTo(&shot);
  return vxtest::MatchingPixels(shot.GetCanvas(), g.GetGA()->GetWidth(), g.GetGA()->GetHeight(),
                                [c](TColor p) { return p == c; });
}

}  // namespace

TEST(GanttGrid, GridNodesGetRowsAndOnlyTheSideShownIsPaintedAndHit) {
  // Rows coming and going with grid nodes are checked against a reference in GanttModelTest.
  TestGant g;
  vxtest::ShowWindow(&g);
  TvxDataEntity_Tree* t = g.Node(nullptr, "tree");
  TvxDataEntity_Kronit* tk = g.Item(t, 1, 2);
  tk->SetColor(kTreeColor);
  g.GridNode_Add(nullptr);
  TvxDataEntity_GridTreeNode* m = g.GridNode_Add(nullptr);
  TvxDataEntity_Kronit* gk = GridItem(g, m, 3, 4, kGridColor);
  vxtest::ProcessEventsUntilIdle();

  // The tree side: only the tree's item shows and is hit.
  EXPECT_NE(Find(g, kTreeColor).Left, -1);
  EXPECT_EQ(Find(g, kGridColor).Left, -1);
  const TRect tr = g.RectFromDataEntity(tk);
  EXPECT_EQ(g.GetDataEntityFromXY(tr.Left + 10, tr.Top + 5), tk);
  EXPECT_EQ(g.RectFromDataEntity(gk), NoRect());

  g.SetUseGridNotTree(true);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_TRUE(g.GetGrid()->GetVisible());
  EXPECT_FALSE(g.GetTreeView()->GetVisible());
  EXPECT_EQ(Find(g, kTreeColor).Left, -1);
  // Painted where its rectangle is (which GanttModelTest checks against the grid's rows).
  const TRect gr = g.RectFromDataEntity(gk);
  EXPECT_EQ(Find(g, kGridColor), InflateRect(gr, -1, -1));
  EXPECT_EQ(g.GetDataEntityFromXY(gr.Left + 10, gr.Top + 5), gk);
  EXPECT_EQ(g.GetDataEntityFromXY(tr.Left + 10, tr.Top + 5), nullptr);
  EXPECT_EQ(g.RectFromDataEntity(tk), NoRect());

  g.SetUseGridNotTree(false);
  EXPECT_NE(Find(g, kTreeColor).Left, -1);

  // A grid row whose items overlap grows to the height of its sub-columns.
  g.SetUseGridNotTree(true);
  TGantRow* crowded = g.GetRowList()->FindRowFromGridNode(m);
  crowded->fIncreaseRowHeightOnCollision = true;
  crowded->fIncreaseRowHeightOnCollision_SuggestedHeightPerItem = 18;
  GridItem(g, m, 3.5, 5, kGridColor);
  crowded->SetCollisionDetection(true);
  g.WaitForLayouts();
  EXPECT_EQ(crowded->GetNumOfSubCols(), 2);
  EXPECT_EQ(g.GetGrid()->GetRowHeight(m->GetAxisContentItem()->ListIndex()), 36);
}

TEST(GanttGrid, TheWheelScrollsTheGridAndArrowKeysWalkGridRows) {
  TestGant g;
  g.SetUseGridNotTree(true);
  vxtest::ShowWindow(&g);
  std::vector<TvxDataEntity_GridTreeNode*> nodes;
  std::vector<TvxDataEntity_Kronit*> items;
  for (int r = 0; r < 60; ++r) {
    nodes.push_back(g.GridNode_Add(nullptr));
    items.push_back(GridItem(g, nodes.back(), 1, 2, kGridColor));
  }
  vxtest::ProcessEventsUntilIdle();
  // Rectangles of scrolled grid rows are checked against the grid in GanttModelTest.
  TBabGridCellForViewer* cells = g.GetGrid()->GetBabGridCellForViewer();
  cells->SetTop(4);
  vxtest::ProcessEventsUntilIdle();
  // The wheel over the area scrolls the grid, and the chart tells of it with
  // its rows already where the grid shows them.
  std::vector<TvxDataEntity_Kronit*> topItems;
  const int x = g.GetDateScaler()->DateToPixel(TestGant::kDay0 + 1.5);
  g.OnGridTopLeftChanged = [&](TObject*) { topItems.push_back(g.GetDataEntityFromXY(x, 5)); };
  vxtest::Wheel(g.GetGA(), 200, 100, -120);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_GT(cells->GetTop(), 4);
  ASSERT_FALSE(topItems.empty());
  EXPECT_EQ(topItems.back(), items[cells->GetTop() - 1]);
  g.OnGridTopLeftChanged = nullptr;

  // Down from the active item: the next grid row's item, and its row is current.
  cells->SetTop(1);
  vxtest::ProcessEventsUntilIdle();
  g.SetActiveDataEntity(items[2]);
  g.GetGA()->SetFocus();
  vxtest::KeyClick(g.GetGA(), Qt::Key_Down);
  EXPECT_EQ(g.GetActiveDataEntity(), items[3]);
  EXPECT_EQ(g.GetGrid()->GetCurrentNode(), nodes[3]);
  EXPECT_EQ(g.GetActiveGantRow(), items[3]->GetRow());
  // Collapsed children are skipped.
  TvxDataEntity_GridTreeNode* hidden = g.GridNode_Add(nodes[3]);
  GridItem(g, hidden, 1, 2, kGridColor);
  vxtest::KeyClick(g.GetGA(), Qt::Key_Down);
  EXPECT_EQ(g.GetActiveDataEntity(), items[4]);
}

TEST(GanttGrid, GridVerticalScrollOutOfGridMovesTheGridsBarIntoTheScrollColumn) {
  TestGant g;
  g.SetUseGridNotTree(true);
  vxtest::ShowWindow(&g);
  for (int r = 0; r < 80; ++r) g.GridNode_Add(nullptr);
  g.SetGridVerticalScrollOutOfGrid(true);
  vxtest::ProcessEventsUntilIdle();
  TScrollBar* bar = g.GetGridScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_FALSE(g.GetGrid()->GetVertScrollBar()->isVisible());
  EXPECT_EQ(bar->GetMax(), g.GetGrid()->GetVertScrollBar()->GetMax());
  // Its top lines up with the grid's first row.
  EXPECT_EQ(bar->ClientToScreen(Point(0, 0)).Y, g.GetGA()->ClientToScreen(Point(0, 0)).Y);
  bar->SetPosition(bar->GetPosition() + 5);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(g.GetGrid()->GetBabGridCellForViewer()->GetTop(), 6);
  // Scrolling the grid moves the bar.
  g.GetGrid()->GetBabGridCellForViewer()->SetTop(20);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(bar->GetPosition(), g.GetGrid()->GetVertScrollBar()->GetPosition());
  g.SetGridVerticalScrollOutOfGrid(false);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_FALSE(bar->isVisible());
}
