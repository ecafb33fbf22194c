// The chart as a control: its children and their places, tab sheets, the
// application's hand on the axis, and going with work still queued (the
// scroll bar and the wheel are driven in GanttChildEventsTest).
#include <gtest/gtest.h>

#include <utility>

#include "GanttSupport.h"

using namespace vx;
using vxtest::TestGant;

TEST(GanttControl, ChildrenLayoutAndTabSheets) {
  TestGant g;
  // The area sits under the scaler, right of the tree, its top level with the tree's.
  const TPoint area = g.GetGA()->ClientToScreen(Point(0, 0));
  const TPoint scaler = g.GetDateScaler()->ClientToScreen(Point(0, 0));
  const TPoint tree = g.GetTreeView()->ClientToScreen(Point(0, 0));
  EXPECT_EQ(area.X, scaler.X);
  EXPECT_EQ(area.Y, scaler.Y + g.GetScalerHeight());
  EXPECT_EQ(area.Y, tree.Y);
  EXPECT_GT(area.X, tree.X + g.GetTreeView()->GetWidth() - 1);
  EXPECT_EQ(g.GetGA()->GetWidth(), g.GetDateScaler()->GetWidth());

  g.SetScalerHeight(60);
  EXPECT_EQ(g.GetGA()->ClientToScreen(Point(0, 0)).Y, g.GetTreeView()->ClientToScreen(Point(0, 0)).Y);

  // On a tab sheet and back: the layout is as it was.
  const TRect before = g.GetGA()->GetBoundsRect();
  const TPoint areaBefore = g.GetGA()->ClientToScreen(Point(0, 0));
  g.SetUseTabSheets(true);
  EXPECT_EQ(g.GetPageControl()->GetActivePage(), g.GetGantTabSheet());
  EXPECT_EQ(g.GetGA()->ClientToScreen(Point(0, 0)).Y, g.GetTreeView()->ClientToScreen(Point(0, 0)).Y);
  g.SetUseTabSheets(false);
  EXPECT_EQ(g.GetGA()->GetBoundsRect(), before);
  EXPECT_EQ(g.GetGA()->ClientToScreen(Point(0, 0)), areaBefore);
}

// The area repainting with the axis is driven in GanttZoomTest and GanttChildEventsTest.
TEST(GanttControl, AlignmentRequestsAndScrollingStoppedByTheApplication) {
  TestGant g;
  vxtest::ShowWindow(&g);
  TvxDateScaler* s = g.GetDateScaler();
  // The application's own changes of the axis raise no alignment request;
  // resizing the left side does.
  int aligns = 0;
  g.OnAlignNeed = [&](TvxGant_ComBasic*, TDateTime, TDateTime, int) { ++aligns; };
  g.SetScaleAndTree(TestGant::kDay0, TestGant::kDay0 + 5, 140);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(aligns, 0);
  EXPECT_EQ(g.GetTreeWidth(), 140);
  g.SetTreeWidth(180);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_GT(aligns, 0);

  // An application that moves the axis from OnScalerChange stops its scrolling.
  s->StartStepUp();
  g.OnScalerChange = [&](TvxGant_ComBasic*, TDateTime start, TDateTime) { s->SetStart(start); };
  s->SetStop(s->GetStop() + 1);
  vxtest::ProcessEventsUntilIdle(3);
  EXPECT_TRUE(s->IsScrollingUp());
  g.OnScalerChange = [&](TvxGant_ComBasic*, TDateTime start, TDateTime) { s->SetStart(start - 1); };
  s->SetStop(s->GetStop() + 1);
  vxtest::ProcessEventsUntilIdle(3);
  EXPECT_FALSE(s->IsScrollingUp());
}

TEST(GanttControl, GoesWithWorkStillQueued) {
  for (int round = 0; round < 3; ++round) {
    auto g = std::make_unique<TestGant>();
    for (int r = 0; r < 30; ++r) {
      TvxDataEntity_Tree* n = g->Node(nullptr, "n");
      for (int i = 0; i < 5; ++i) g->Item(n, i * 0.2, i * 0.2 + 0.5);
      g->RowOf(n)->SetCollisionDetection(true);
    }
    g->GetTreeView()->ExternalScrollOutOfDate();
    g->GetGA()->Invalidate();
    if (round == 1) TDoLater::DoAllNow();
    g.reset();  // layouts and scroll updates still queued
    vxtest::ProcessEventsUntilIdle();
  }
  EXPECT_EQ(TDoLater::PendingCount(), 0);
}

// The left side's looks set on the chart reach the tree under the pointer,
// and the frame both the tree and the grid.
TEST(GanttControl, LeftSideLooksReachTheTreeAndTheGrid) {
  TestGant g;
  vxtest::ShowWindow(&g);
  TvxDataEntity_Tree* node = g.Node(nullptr, "Foundations of the east wing and its cellars");
  vxtest::ProcessEventsUntilIdle();
  TGantTree* tree = g.GetTreeView();
  const TRect row = tree->GetRect(node);
  ASSERT_NE(row, NoRect());
  g.SetHotTrackTree(true);
  vxtest::MouseMove(tree, row.Left + 30, (row.Top + row.Bottom) / 2);
  EXPECT_EQ(tree->GetHotNode(), node->GetTreeNode());
  g.SetToolTipsTree(true);
  EXPECT_TRUE(tree->GetToolTips());
  g.SetBorderStyleTree(bsSingle);
  EXPECT_EQ(std::make_pair(tree->GetBorderStyle(), g.GetGrid()->GetBorderStyle()), std::make_pair(bsSingle, bsSingle));
  EXPECT_EQ(tree->GetRect(node).Top, row.Top + 1);
}
