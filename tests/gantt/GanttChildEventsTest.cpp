// The chart's children keep their public events for the application: with
// every one of them taken by a counting handler, the chart still paints,
// follows its axis, scrolls, takes the mouse and raises its own events.
#include <gtest/gtest.h>

#include <tuple>

#include "ChildEvents.h"
#include "GanttSupport.h"
#include <vxplan/grid/vxGrid.h>
#include <vxplan/tree/vxTree.h>

using namespace vx;
using vxtest::TestGant;

namespace {

using Counts = vxtest::EventCounts;
using ChildEvent = vxtest::ChildEvent<TestGant>;
using vxtest::Counter;

TScrollBar* ChartBar(TestGant& g) {
  for (int i = 0; i < g.ComponentCount(); ++i)
    if (auto* b = dynamic_cast<TScrollBar*>(g.GetComponent(i)); b && b != g.GetGridScrollBar()) return b;
  return nullptr;
}

const ChildEvent kChildEvents[] = {
    {"area OnPaint", [](TestGant& g, Counts& c) { g.GetGA()->OnPaint = Counter<TObject*>(c, "area OnPaint"); }, true},
    {"area OnMouseDown",
     [](TestGant& g, Counts& c) {
       g.GetGA()->OnMouseDown = Counter<TObject*, TMouseButton, TShiftState, int, int>(c, "area OnMouseDown");
     },
     true},
    {"area OnMouseUp",
     [](TestGant& g, Counts& c) {
       g.GetGA()->OnMouseUp = Counter<TObject*, TMouseButton, TShiftState, int, int>(c, "area OnMouseUp");
     },
     true},
    {"area OnMouseWheel",
     [](TestGant& g, Counts& c) {
       g.GetGA()->OnMouseWheel = [&c](TObject*, TShiftState, int, TPoint, bool&) { ++c["area OnMouseWheel"]; };
     },
     true},
    {"area OnPrintResizeFont",
     [](TestGant& g, Counts& c) {
       g.GetGA()->OnPrintResizeFont = Counter<TvxOffscreenPaint*, int&, bool&>(c, "area OnPrintResizeFont");
     },
     false},
    {"scaler OnChange", [](TestGant& g, Counts& c) { g.GetDateScaler()->OnChange = Counter<TObject*>(c, "scaler OnChange"); },
     true},
    {"tree OnSelectionChanged",
     [](TestGant& g, Counts& c) {
       g.GetTreeView()->OnSelectionChanged = Counter<TObject*, TvxDataList*, TvxDataEntity*>(c, "tree OnSelectionChanged");
     },
     false},
    {"tree OnMouseDown",
     [](TestGant& g, Counts& c) {
       g.GetTreeView()->OnMouseDown = Counter<TObject*, TMouseButton, TShiftState, int, int>(c, "tree OnMouseDown");
     },
     true},
    {"tree OnTopItemChanged",
     [](TestGant& g, Counts& c) { g.GetTreeView()->OnTopItemChanged = Counter<TObject*>(c, "tree OnTopItemChanged"); },
     false},
    {"chart bar OnScroll",
     [](TestGant& g, Counts& c) {
       if (TScrollBar* b = ChartBar(g)) b->OnScroll = Counter<TObject*>(c, "chart bar OnScroll");
     },
     true},
    {"grid OnTopLeftChanged",
     [](TestGant& g, Counts& c) { g.GetGrid()->OnTopLeftChanged = Counter<TObject*>(c, "grid OnTopLeftChanged"); },
     false},
    {"grid OnAxisChanged",
     [](TestGant& g, Counts& c) { g.GetGrid()->OnAxisChanged = Counter<TObject*>(c, "grid OnAxisChanged"); }, false},
    {"page control OnChange",
     [](TestGant& g, Counts& c) {
       if (g.GetPageControl()) g.GetPageControl()->OnChange = Counter<TObject*>(c, "page control OnChange");
     },
     false},
};

}  // namespace

TEST(GanttChildEvents, TheApplicationsHandlersLeaveTheChartWorking) {
  // Declared before the chart: its children still raise events as it goes.
  Counts counts;
  int scalerChanges = 0, treeSelections = 0;
  TestGant g;
  vxtest::ShowWindow(&g);
  for (const ChildEvent& e : kChildEvents) e.take(g, counts);
  g.OnScalerChange = [&](TvxGant_ComBasic*, TDateTime, TDateTime) { ++scalerChanges; };
  g.OnSelectionChanged_Tree = [&](TObject*, TvxDataList*, TvxDataEntity*) { ++treeSelections; };
  // The scroll column as the chart last set it: position, maximum, page, shown.
  std::tuple<int, int, int, bool> realigned{-1, -1, -1, false};
  g.OnRealignScrollbar = [&](TvxGant_ComBasic* chart, int pos, int, int max, int page, bool shown) {
    EXPECT_EQ(chart, &g);
    realigned = {pos, max, page, shown};
  };
  g.GetSnap()->fStartSnapONOFF = false;
  g.GetSnap()->fStopSnapONOFF = false;
  TvxDataEntity_Tree* first = g.Node(nullptr, "first");
  TvxDataEntity_Kronit* k = g.Item(first, 1, 2);
  vxtest::ProcessEventsUntilIdle();
  TScrollBar* bar = ChartBar(g);
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->GetEnabled());  // everything fits: no scroll column
  EXPECT_FALSE(bar->GetParent()->GetVisible());
  for (int i = 0; i < 80; ++i) g.Node(nullptr, "n" + std::to_string(i));
  vxtest::ProcessEventsUntilIdle();
  // Now the chart's own scroll bar stands in for the tree's.
  EXPECT_TRUE(bar->GetEnabled());
  EXPECT_TRUE(bar->GetParent()->GetVisible());
  EXPECT_EQ(bar->GetMax(), g.GetTreeView()->GetScrollInfo(sbVertical).nMax);
  EXPECT_EQ(realigned, std::make_tuple(0, bar->GetMax(), bar->GetPageSize(), true));

  // The area paints the bar.
  g.GetGA()->Repaint();
  const TRect r = g.RectFromDataEntity(k);
  ASSERT_FALSE(r.IsEmpty());

  // The mouse moves it a day later.
  const int y = (r.Top + r.Bottom) / 2, x = (r.Left + r.Right) / 2;
  const int day = g.GetDateScaler()->DateToPixel(TestGant::kDay0 + 2) - g.GetDateScaler()->DateToPixel(TestGant::kDay0 + 1);
  vxtest::MousePress(g.GetGA(), x, y);
  vxtest::MouseMove(g.GetGA(), x + day / 2, y);
  vxtest::MouseMove(g.GetGA(), x + day, y);
  vxtest::MouseRelease(g.GetGA(), x + day, y);
  EXPECT_NEAR(k->GetStartDateTime(), TestGant::kDay0 + 2, 0.02);

  // A click on the tree makes its row current, and the chart tells of it.
  g.GetTreeView()->Repaint();
  vxtest::MousePress(g.GetTreeView(), 20, 2 * TestGant::kRowHeight + TestGant::kRowHeight / 2);
  vxtest::MouseRelease(g.GetTreeView(), 20, 2 * TestGant::kRowHeight + TestGant::kRowHeight / 2);
  EXPECT_NE(g.GetTreeView()->GetCurrentDataEntity(), first);
  EXPECT_GT(treeSelections, 0);

  // The axis moves, the chart hears of it and the bar follows.
  const int left = g.RectFromDataEntity(k).Left;
  g.GetDateScaler()->SetStart(TestGant::kDay0 + 1);
  vxtest::ProcessEventsUntilIdle();
  g.GetGA()->Repaint();
  EXPECT_GT(scalerChanges, 0);
  EXPECT_LT(g.RectFromDataEntity(k).Left, left);

  // The chart's bar scrolls the tree and the area together.
  const int top = g.RectFromDataEntity(k).Top;
  vxtest::UserScroll(bar, 5);
  EXPECT_EQ(g.GetTreeView()->GetScrollInfo(sbVertical).nPos, 5);
  EXPECT_EQ(std::get<0>(realigned), 5);
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

  for (const ChildEvent& c : kChildEvents)
    if (c.raisedByTheDrive) EXPECT_GT(counts[c.name], 0) << c.name;
}
