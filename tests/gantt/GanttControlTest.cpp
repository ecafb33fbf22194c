// The chart as a control: its children and their places, the tree and the
// area scrolled together, the time axis and the area in step, tab sheets,
// and going with work still queued.
#include <gtest/gtest.h>

#include <QApplication>

#include "GanttSupport.h"

using namespace vx;
using vxtest::TestGant;

TEST(GanttControl, ChildrenDefaultsAndLayout) {
  TestGant g;
  EXPECT_EQ(g.GetGantBackColor(), 0xC0C0C0);
  EXPECT_EQ(g.GetGantPyjamasColor(), 0x808080);
  EXPECT_TRUE(g.GetDrawLongLines());
  EXPECT_FALSE(g.GetDrawShortLines());
  EXPECT_EQ(g.GetCursorGantArea(), crArrow);
  EXPECT_EQ(g.GetGA()->GetCursor(), crArrow);
  EXPECT_EQ(g.GetDefaultLinkCursor(), crHandPoint);
  EXPECT_EQ(g.GetLinkShow(), lsOneEndVisible);
  EXPECT_EQ(g.GetTimeItemAutoScroll(), ttiaHorzAndVert);
  EXPECT_FALSE(g.GetUseTabSheets());
  EXPECT_EQ(g.GetDateScaler()->GetTimeFormat(), "HH:MM:SS");
  EXPECT_EQ(g.GetDateScaler()->GetName(), "DateScaler");
  EXPECT_EQ(g.GetGA()->GetName(), "GanttArea");
  EXPECT_TRUE(g.GetTreeView()->GetVisible());
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
  EXPECT_TRUE(g.GetUseTabSheets());
  EXPECT_EQ(g.GetPageControl()->GetActivePage(), g.GetGantTabSheet());
  EXPECT_EQ(g.GetGA()->ClientToScreen(Point(0, 0)).Y, g.GetTreeView()->ClientToScreen(Point(0, 0)).Y);
  g.SetUseTabSheets(false);
  EXPECT_EQ(g.GetGA()->GetBoundsRect(), before);
  EXPECT_EQ(g.GetGA()->ClientToScreen(Point(0, 0)), areaBefore);
}

TEST(GanttControl, ExternalScrollBarAndWheelMoveTreeAndAreaTogether) {
  TestGant g;
  vxtest::ShowWindow(&g);
  TvxDataEntity_Tree* first = g.Node(nullptr, "first");
  TvxDataEntity_Kronit* k = g.Item(first, 1, 2);
  vxtest::ProcessEventsUntilIdle();
  TScrollBar* bar = nullptr;
  for (int i = 0; i < g.ComponentCount(); ++i)
    if (auto* b = dynamic_cast<TScrollBar*>(g.GetComponent(i))) bar = b;
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->GetEnabled());  // everything fits: no scroll column
  EXPECT_FALSE(bar->GetParent()->GetVisible());
  for (int i = 0; i < 80; ++i) g.Node(nullptr, "n" + std::to_string(i));
  vxtest::ProcessEventsUntilIdle();
  // Now the chart's own scroll bar stands in for the tree's.
  EXPECT_TRUE(bar->GetEnabled());
  EXPECT_TRUE(bar->GetParent()->GetVisible());
  EXPECT_EQ(bar->GetMax(), g.GetTreeView()->GetScrollInfo(sbVertical).nMax);

  const int top = g.RectFromDataEntity(k).Top;
  vxtest::UserScroll(bar, 5);
  EXPECT_EQ(g.GetTreeView()->GetScrollInfo(sbVertical).nPos, 5);
  EXPECT_EQ(g.RectFromDataEntity(k), NoRect());  // its row went up out of view
  vxtest::UserScroll(bar, 0);
  EXPECT_EQ(g.RectFromDataEntity(k).Top, top);

  // The wheel over the area moves the current node one row per message.
  g.GetTreeView()->SetCurrentDataEntity(first);
  vxtest::ProcessEventsUntilIdle();
  vxtest::Wheel(g.GetGA(), 50, 50, -360);  // three notches in one message
  EXPECT_EQ(g.GetTreeView()->GetCurrentDataEntity()->GetText(), "n0");
  vxtest::Wheel(g.GetGA(), 50, 50, 120);
  EXPECT_EQ(g.GetTreeView()->GetCurrentDataEntity(), first);
}

TEST(GanttControl, TheAreaFollowsTheTimeAxis) {
  TestGant g;
  vxtest::ShowWindow(&g);
  TvxDataEntity_Kronit* k = g.Item(g.Node(nullptr, "n"), 1, 2);
  vxtest::ProcessEventsUntilIdle();
  g.GetGA()->Repaint();
  const int before = g.GetGA()->GetUpdateRequestCount();
  const TRect r = g.RectFromDataEntity(k);
  TvxDateScaler* s = g.GetDateScaler();
  s->SetStop(s->GetStart() + 3.5);  // zoom in
  vxtest::ProcessEventsUntilIdle();
  EXPECT_GT(g.GetGA()->GetUpdateRequestCount(), before);
  const TRect zoomed = g.RectFromDataEntity(k);
  EXPECT_EQ(zoomed.Left, s->DateToPixel(TestGant::kDay0 + 1));
  EXPECT_NEAR(zoomed.Width(), 2 * r.Width(), 2);

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
