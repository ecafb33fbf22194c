// The chart as a control: its children and their places, tab sheets, the
// application's hand on the axis, and going with work still queued (the
// scroll bar and the wheel are driven in GanttChildEventsTest).
#include <gtest/gtest.h>

#include <QTabBar>
#include <QTest>
#include <string>
#include <utility>
#include <vector>

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

// The application's sheets beside the chart's: a sheet's handlers hear it
// being left (and may keep it), shown, and, while it shows, the tree's
// current row; they may delete rows, add sheets, or take a sheet away.
TEST(GanttControl, TabSheetHandlers) {
  TestGant g;
  vxtest::ShowWindow(&g);
  TvxDataEntity_Tree* n[2] = {g.Node(nullptr, "a"), g.Node(nullptr, "b")};
  g.SetUseTabSheets(true);
  std::vector<std::string> heard;
  bool allow = true;
  TGantRow* told = nullptr;
  auto* sheet = new TTabSheet(&g);
  auto add = [&](TTabSheet* s, const std::string& name) {
    g.AddTabSheet(
        s, [&heard, &told, name](TGantRow* r) { heard.push_back(name + " row"), told = r; },
        [&heard, &allow, name](TObject*, bool& a) { heard.push_back(name + " leaving"), a = allow; },
        [&heard, name](TObject*) { heard.push_back(name + " other"); },
        [&heard, name](TObject*) { heard.push_back(name + " page"); });
  };
  add(sheet, "s");
  auto* tabs = g.GetPageControl()->findChild<QTabBar*>();
  ASSERT_NE(tabs, nullptr);
  auto click = [&](int theTab) {
    heard.clear();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(theTab).center());
    vxtest::ProcessEventsUntilIdle();
    return heard;
  };
  using Heard = std::vector<std::string>;
  g.GetTreeView()->SetCurrentDataEntity(n[1]);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(click(1), (Heard{"s page", "s row"}));
  EXPECT_EQ(g.GetPageControl()->GetActivePage(), sheet);
  EXPECT_EQ(told, g.RowOf(n[1]));
  heard.clear();
  g.GetTreeView()->SetCurrentDataEntity(n[0]);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(told, g.RowOf(n[0]));
  allow = false;
  EXPECT_EQ(click(0), (Heard{"s leaving", "s page"}));
  EXPECT_EQ(g.GetPageControl()->GetActivePage(), sheet);
  allow = true;
  EXPECT_EQ(click(0), (Heard{"s leaving", "s page"}));
  EXPECT_EQ(g.GetPageControl()->GetActivePage(), g.GetGantTabSheet());
  EXPECT_TRUE(g.GetGA()->Showing());
  heard.clear();
  g.GetTreeView()->SetCurrentDataEntity(n[1]);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_TRUE(heard.empty());  // the sheet does not show

  // A handler that deletes the row it is told of, and one that adds a sheet.
  auto* second = new TTabSheet(&g);
  bool removed = false, added = false;
  g.AddTabSheet(
      second,
      [&](TGantRow* r) {
        if (r && !std::exchange(removed, true)) g.GetTreeView()->RemoveDataEntity(r->GetTreeNode());
      },
      nullptr, nullptr, [&](TObject*) { if (!std::exchange(added, true)) add(new TTabSheet(&g), "more"); });
  click(2);
  EXPECT_TRUE(removed);
  EXPECT_EQ(g.GetRowList()->Count(), 1);
  EXPECT_EQ(g.GetPageControl()->PageCount(), 4);
  // A sheet the application takes away is told nothing more.
  EXPECT_EQ(click(1), (Heard{"s page", "s row"}));
  delete sheet;
  heard.clear();
  g.GetTreeView()->SetCurrentDataEntity(n[0]);
  vxtest::ProcessEventsUntilIdle();
  click(1);
  EXPECT_EQ(click(2), (Heard{"more page", "more row"}));
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
