// The Gantt area under the mouse and the keys: where its bands lie, what rows
// allow, where a drag lands and what the application hears, links, the ways
// a drag ends and the drag out of the area; the rules of the gesture itself
// are the engine's (TimeGestureTest). Through Qt's real event delivery.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "GanttMonkey.h"
#include "GanttSupport.h"

using namespace vx;
using vxtest::TestGant;

namespace {

// A chart whose rows are 20 pixels high and whose axis shows 100 pixels a day.
struct MouseGant : vxtest::ShownGant {
  using TestGant::GantAreaMouseDown;
  using TestGant::GantAreaMouseUp;
  // A press (and release) straight through the handlers, to read the mode.
  TGantMouseMoveMode PressMode(int x, int y, TShiftState shift = TShiftState()) {
    GantAreaMouseDown(GetGA(), mbLeft, shift, x, y);
    const TGantMouseMoveMode mode = GetMouseMoveMode();
    GantAreaMouseUp(GetGA(), mbLeft, shift, x, y);
    return mode;
  }
  // Press, move half way and to the end, release: through real events.
  void Drag(int x0, int y0, int x1, int y1, Qt::KeyboardModifiers theMods = Qt::NoModifier) {
    vxtest::MousePress(GetGA(), x0, y0, Qt::LeftButton, theMods);
    vxtest::MouseMove(GetGA(), (x0 + x1) / 2, (y0 + y1) / 2);
    vxtest::MouseMove(GetGA(), x1, y1);
    vxtest::MouseRelease(GetGA(), x1, y1, Qt::LeftButton, theMods);
  }
};

}  // namespace

TEST(GanttMouse, WhichModeAPressStarts) {
  MouseGant g;
  TvxDataEntity_Tree* n = g.Node(nullptr, "n");
  TvxDataEntity_Kronit* k = g.Item(n, 1, 1);
  k->SetStartDateTime(g.GetDateScaler()->PixelToDate(100));
  k->SetStopDateTime(g.GetDateScaler()->PixelToDate(120));
  ASSERT_EQ(g.RectFromDataEntity(k).Left, 100);
  ASSERT_EQ(g.RectFromDataEntity(k).Right, 120);
  const int y = g.MidY(n);
  for (int x : {100, 101, 102}) EXPECT_EQ(g.PressMode(x, y), mmGrowLeft) << x;
  for (int x : {117, 118, 119}) EXPECT_EQ(g.PressMode(x, y), mmGrowRight) << x;
  for (int x : {120, 122, 124}) EXPECT_EQ(g.PressMode(x, y), mmGrowRight) << x;  // just past the end
  EXPECT_EQ(g.PressMode(125, y), mmNone);
  EXPECT_EQ(g.PressMode(110, y), mmMove);
  EXPECT_EQ(g.PressMode(110, y, TShiftState{ssCtrl}), mmCopy);

  // Small items can only be moved when asked, but a press just past one still resizes.
  k->SetStopDateTime(g.GetDateScaler()->PixelToDate(108));
  g.SetFavourMoveOverResizeOnSmallTimeItems(true);
  EXPECT_EQ(g.PressMode(101, y), mmMove);
  EXPECT_EQ(g.PressMode(110, y), mmGrowRight);
  g.SetFavourMoveOverResizeOnSmallTimeItems(false);

  // Items of a fixed size only move.
  k->SetStopDateTime(g.GetDateScaler()->PixelToDate(120));
  k->SetFixedSize(20);
  EXPECT_EQ(g.PressMode(k->GetFixedSize() / 2 + 91, y), mmMove);
}

// A bar from day 1.3 to 2.3 in the first of two rows, dragged through real
// events; the application moves it to another row (a new one there, the old
// one goes) and counts copies.
TEST(GanttMouse, DragsMoveCopyAndResizeAsTheRowsAndTheSnapAllow) {
  enum Setup { sNone, sNoRowChange, sNoMove, sSnapStart, sSnapBoth };
  struct Case {
    const char* name;
    Setup setup;
    double from;  // day pressed, and pixels beside it
    int fromDx;
    double to;  // day released, in row toRow
    int toRow;
    Qt::KeyboardModifiers mods;
    double start, stop;  // the bar's days afterwards, in row row
    int row, rowChanges, copies;
  };
  const Case cases[] = {
      {"two days later, one row down", sNone, 1.8, 0, 3.8, 1, Qt::NoModifier, 3.3, 4.3, 1, 1, 0},
      {"Ctrl copies: the bar stays", sNone, 1.8, 0, 3.8, 0, Qt::ControlModifier, 1.3, 2.3, 0, 0, 1},
      {"the row forbids changing rows", sNoRowChange, 1.8, 0, 2.8, 1, Qt::NoModifier, 2.3, 3.3, 0, 0, 0},
      {"the row forbids moving", sNoMove, 1.8, 0, 3.8, 0, Qt::NoModifier, 1.3, 2.3, 0, 0, 0},
      {"the start snaps to a whole day", sSnapStart, 1.8, 0, 3.1, 0, Qt::NoModifier, 3, 4, 0, 0, 0},
      {"a resize snaps the stop, not the start", sSnapBoth, 2.3, -1, 3.9, 0, Qt::NoModifier, 1.3, 4, 0, 0, 0},
      {"a resize snaps the start, not the stop", sSnapBoth, 1.3, 1, 0.2, 0, Qt::NoModifier, 0, 2.3, 0, 0, 0},
      {"the start dragged past the stop", sNone, 1.3, 1, 2.9, 0, Qt::NoModifier, 2.3, 2.3, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MouseGant g;
    TvxDataEntity_Tree* n[2] = {g.Node(nullptr, "one"), g.Node(nullptr, "two")};
    g.Item(n[0], 1.3, 2.3);
    int rowChanges = 0, copies = 0;
    TDateTime copyStart = 0;
    g.OnTimeChangeRow = [&](TvxGant_ComBasic* chart, TvxDataEntity_Kronit* item, TGantRow* from, TGantRow* to,
                            TDateTime start, TDateTime stop, TvxDataEntity_Kronit*& made) {
      ++rowChanges;
      EXPECT_EQ(from, g.RowOf(n[0]));
      made = chart->AddKronitToGantRow(to, 0);
      made->SetStartDateTime(start);
      made->SetStopDateTime(stop);
      chart->RemoveKronit(item);
    };
    g.OnTimeCopy = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit*, TGantRow*, TGantRow*, TDateTime start,
                       TDateTime, TvxDataEntity_Kronit*&) {
      ++copies;
      copyStart = start;
    };
    g.RowOf(n[0])->fTimeItems_CanChangeRow = c.setup != sNoRowChange;
    g.RowOf(n[0])->fTimeItems_CanMove = c.setup != sNoMove;
    g.GetSnap()->fStartSnapONOFF = c.setup == sSnapStart || c.setup == sSnapBoth;
    g.GetSnap()->fStopSnapONOFF = c.setup == sSnapBoth;
    g.GetSnap()->fStartSnap = g.GetSnap()->fStopSnap = 1.0;  // a day
    g.Drag(g.X(c.from) + c.fromDx, g.MidY(n[0]), g.X(c.to), g.MidY(n[c.toRow]), c.mods);
    EXPECT_EQ(rowChanges, c.rowChanges);
    EXPECT_EQ(copies, c.copies);
    if (copies) {
      EXPECT_NEAR(copyStart, TestGant::kDay0 + 1.3 + c.to - c.from, 0.02);
    }
    EXPECT_EQ(g.RowOf(n[1 - c.row])->ItemCount(), 0);
    ASSERT_EQ(g.RowOf(n[c.row])->ItemCount(), 1);
    auto* bar = static_cast<TvxDataEntity_Kronit*>(g.RowOf(n[c.row])->GetLayer(0)->GetItems(0));
    const double tolerance = c.setup == sSnapStart || c.setup == sSnapBoth ? 1e-6 : 0.02;
    EXPECT_NEAR(bar->GetStartDateTime(), TestGant::kDay0 + c.start, tolerance);
    EXPECT_NEAR(bar->GetStopDateTime(), TestGant::kDay0 + c.stop, tolerance);
    EXPECT_LE(bar->GetStartDateTime(), bar->GetStopDateTime());
  }
}

TEST(GanttMouse, WhileAResizeRunsItsOutlineAndTimesShow) {
  MouseGant g;
  TvxDataEntity_Tree* n = g.Node(nullptr, "one");
  TvxDataEntity_Kronit* k = g.Item(n, 1, 2);
  vxtest::MousePress(g.GetGA(), g.X(1) + 1, g.MidY(n));
  vxtest::MouseMove(g.GetGA(), g.X(1) + 30, g.MidY(n));
  EXPECT_EQ(g.OutlineCount(), 4);
  ASSERT_NE(g.GetHintWindow(), nullptr);
  EXPECT_TRUE(g.GetHintWindow()->IsShowing());
  EXPECT_EQ(std::count(g.GetHintWindow()->GetCaption().begin(), g.GetHintWindow()->GetCaption().end(), '\r'), 2);
  vxtest::MouseRelease(g.GetGA(), g.X(1) + 30, g.MidY(n));
  EXPECT_FALSE(g.GetHintWindow()->IsShowing());
  EXPECT_NEAR(k->GetStartDateTime(), TestGant::kDay0 + 1.3, 0.02);
}

TEST(GanttMouse, DrawingALinkAndTheKeys) {
  MouseGant g;
  TvxDataEntity_Tree* n1 = g.Node(nullptr, "one");
  TvxDataEntity_Tree* n2 = g.Node(nullptr, "two");
  TvxDataEntity_Kronit* a = g.Item(n1, 1, 2);
  TvxDataEntity_Kronit* b = g.Item(n2, 4, 5);
  TvxDataEntity_Kronit* c = g.Item(n2, 6, 7);
  std::vector<std::pair<TvxDataEntity_Kronit*, TvxDataEntity_Kronit*>> asked;
  g.OnDependencyAction = [&](TvxDataEntity_Kronit* from, TvxDataEntity_Kronit* to) { asked.push_back({from, to}); };
  g.SetStickyMode(smDependency);
  vxtest::MousePress(g.GetGA(), g.X(1.5), g.MidY(n1));
  EXPECT_EQ(g.GetMouseMoveMode(), mmDependency);
  vxtest::MouseMove(g.GetGA(), g.X(3), g.MidY(n2));
  EXPECT_GT(g.OutlineCount(), 0);  // the rubber band
  vxtest::MouseMove(g.GetGA(), g.X(4.5), g.MidY(n2));
  vxtest::MouseRelease(g.GetGA(), g.X(4.5), g.MidY(n2));
  EXPECT_EQ(g.OutlineCount(), 0);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].first, a);
  EXPECT_EQ(asked[0].second, b);
  EXPECT_EQ(g.GetStickyMode(), smNone);

  // Keys walk the active item: right to the next item of the layer, down a row.
  g.SetActiveDataEntity(b);
  g.GetGA()->SetFocus();
  vxtest::KeyClick(g.GetGA(), Qt::Key_Right);
  EXPECT_EQ(g.GetActiveDataEntity(), c);
  EXPECT_TRUE(c->GetSelected());
  vxtest::KeyClick(g.GetGA(), Qt::Key_Home);
  EXPECT_EQ(g.GetActiveDataEntity(), b);
  g.SetActiveDataEntity(a);
  g.GetTreeView()->SetCurrentDataEntity(n1);
  vxtest::ProcessEventsUntilIdle();
  vxtest::KeyClick(g.GetGA(), Qt::Key_Down);
  EXPECT_EQ(g.GetActiveDataEntity(), b);  // the closest item in the row below
  vxtest::KeyClick(g.GetGA(), Qt::Key_Down);
  EXPECT_EQ(g.GetActiveDataEntity(), nullptr);  // past the last row
}

TEST(GanttMouse, DraggingOutOntoTheTree) {
  MouseGant g;
  TvxDataEntity_Tree* n1 = g.Node(nullptr, "one");
  TvxDataEntity_Tree* n2 = g.Node(nullptr, "two");
  TvxDataEntity_Kronit* k = g.Item(n1, 1, 2);
  // Dragged out of the area, the item goes to the platform's drag, and the
  // tree takes it; the item stays where it was.
  g.SetStartDragWhenTimeMoveOutside(true);
  TObject* dropped = nullptr;
  TvxDataEntity_Tree* onNode = nullptr;
  g.GetTreeView()->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = true; };
  g.GetTreeView()->OnDragDrop = [&](TObject*, TObject* source, int x, int y) {
    dropped = source;
    onNode = g.GetTreeView()->GetDataEntityAt(x, y);
  };
  int started = 0;
  g.OnGantAreaStartDrag = [&](TObject*, TObject*&) { ++started; };
  vxtest::MousePress(g.GetGA(), g.X(1.5), g.MidY(n1));
  vxtest::MouseMove(g.GetGA(), g.X(1.0), g.MidY(n1));
  const TPoint treeAt = g.GetTreeView()->ScreenToClient(g.GetGA()->ClientToScreen(Point(-60, g.MidY(n2))));
  vxtest::MouseMove(g.GetTreeView(), treeAt.X, treeAt.Y);
  EXPECT_EQ(started, 1);
  EXPECT_EQ(g.GetMouseMoveMode(), mmNone);
  vxtest::MouseMove(g.GetTreeView(), treeAt.X + 2, treeAt.Y);
  vxtest::MouseRelease(g.GetTreeView(), treeAt.X + 2, treeAt.Y);
  EXPECT_EQ(dropped, g.GetGA());
  EXPECT_EQ(onNode, n2);
  EXPECT_EQ(g.OutlineCount(), 0);
  EXPECT_DOUBLE_EQ(k->GetStartDateTime(), TestGant::kDay0 + 1);
}

TEST(GanttMouse, MonkeyInputLeavesTheChartWhole) {
  // VX_MONKEY_SEED replays one seed; the long run is among the benchmarks.
  const char* seedText = std::getenv("VX_MONKEY_SEED");
  const unsigned seed = seedText && *seedText ? static_cast<unsigned>(std::atoi(seedText)) : 20261207u;
  EXPECT_EQ(vxmonkey::RunGanttMonkey(seed, 2500), "") << "seed " << seed << " (replay with VX_MONKEY_SEED=" << seed << ")";
}

// Every drag can be called off, by the user (Escape) or by the window (the
// area hidden, moved to another parent, or the mouse taken by another
// control): outlines go, nothing is written, the cursor is the area's again,
// and the release that follows does nothing.
TEST(GanttMouse, EveryDragCanBeCalledOff) {
  enum TGesture { gMove, gCopy, gGrowLeft, gGrowRight, gLink };
  enum TWay { wEscape, wHidden, wReparented, wMouseTaken };
  for (TGesture gesture : {gMove, gCopy, gGrowLeft, gGrowRight, gLink})
    for (TWay way : {wEscape, wHidden, wReparented, wMouseTaken}) {
      SCOPED_TRACE("gesture " + std::to_string(gesture) + ", called off by " + std::to_string(way));
      MouseGant g;
      TvxDataEntity_Tree* n1 = g.Node(nullptr, "one");
      TvxDataEntity_Tree* n2 = g.Node(nullptr, "two");
      TvxDataEntity_Kronit* a = g.Item(n1, 1, 2);
      g.Item(n2, 4, 5);
      int asked = 0;
      g.OnTimeCopy = g.OnTimeChangeRow = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit*, TGantRow*, TGantRow*, TDateTime,
                                             TDateTime, TvxDataEntity_Kronit*&) { ++asked; };
      g.OnDependencyAction = [&](TvxDataEntity_Kronit*, TvxDataEntity_Kronit*) { ++asked; };
      g.OnValueChanged_Kronit = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit*) { ++asked; };
      if (gesture == gLink) g.SetStickyMode(smDependency);
      const int y1 = g.MidY(n1), y2 = g.MidY(n2);
      const int x = gesture == gGrowLeft ? g.X(1) + 1 : gesture == gGrowRight ? g.X(2) - 1 : g.X(1.5);
      vxtest::MousePress(g.GetGA(), x, y1, Qt::LeftButton, gesture == gCopy ? Qt::ControlModifier : Qt::NoModifier);
      vxtest::MouseMove(g.GetGA(), x + 40, y1 + 5);
      vxtest::MouseMove(g.GetGA(), g.X(4.5), y2);
      ASSERT_NE(g.GetMouseMoveMode(), mmNone);
      EXPECT_GT(g.OutlineCount(), 0);
      TPanel elsewhere(nullptr);
      elsewhere.SetBounds(0, 0, 100, 100);
      switch (way) {
        case wEscape: vxtest::KeyClick(g.GetGA(), Qt::Key_Escape); break;
        case wHidden:
          g.GetGA()->SetVisible(false);
          vxtest::ProcessEventsUntilIdle();
          g.GetGA()->SetVisible(true);
          break;
        case wReparented: {
          TWinControl* parent = g.GetGA()->GetParent();
          g.GetGA()->SetParent(&elsewhere);
          vxtest::ProcessEventsUntilIdle();
          g.GetGA()->SetParent(parent);
          break;
        }
        case wMouseTaken:
          elsewhere.SetMouseCapture(true);
          elsewhere.SetMouseCapture(false);
          break;
      }
      vxtest::ProcessEventsUntilIdle();
      EXPECT_EQ(g.GetMouseMoveMode(), mmNone);
      EXPECT_EQ(g.OutlineCount(), 0);
      EXPECT_EQ(g.GetGA()->GetCursor(), g.GetCursorGantArea());
      vxtest::MouseMove(g.GetGA(), g.X(4.6), y2);
      vxtest::MouseRelease(g.GetGA(), g.X(4.6), y2);
      EXPECT_EQ(asked, 0);
      EXPECT_DOUBLE_EQ(a->GetStartDateTime(), TestGant::kDay0 + 1);
      EXPECT_DOUBLE_EQ(a->GetStopDateTime(), TestGant::kDay0 + 2);
      EXPECT_EQ(a->GetRow(), g.RowOf(n1));
      EXPECT_EQ(g.OutlineCount(), 0);
    }
}

// The click events hand over the chart and the item pressed, nil over nothing.
TEST(GanttMouse, ClickEventsCarryThePressedItem) {
  enum TGesture { gLeft, gRight, gDouble };
  const struct {
    const char* name;
    TGesture gesture;
    double day;
    const char* event;  // nil: none
    bool onItem;
  } cases[] = {
      {"a left click tells neither", gLeft, 1.5, nullptr, false},
      {"a right click on the bar", gRight, 1.5, "right", true},
      {"a right click over nothing", gRight, 3.5, "right", false},
      {"a double click on the bar", gDouble, 1.5, "double", true},
      {"a double click over nothing", gDouble, 3.5, "double", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MouseGant g;  // each its own: two clicks in a row would be a double click
    TvxDataEntity_Tree* n = g.Node(nullptr, "one");
    TvxDataEntity_Kronit* k = g.Item(n, 1, 2);
    std::vector<std::pair<std::string, TvxDataEntity_Kronit*>> heard;
    auto hear = [&](const char* name) {
      return [&heard, &g, name](TvxGant_ComBasic* chart, TvxDataEntity_Kronit* item) {
        EXPECT_EQ(chart, &g);
        heard.emplace_back(name, item);
      };
    };
    g.OnRightClickGantArea = hear("right");
    g.OnDblClickGantArea = hear("double");
    const int x = g.X(c.day), y = g.MidY(n);
    if (c.gesture == gDouble) {
      vxtest::MouseDoubleClick(g.GetGA(), x, y);
      vxtest::MouseRelease(g.GetGA(), x, y);
    } else {
      vxtest::MouseClick(g.GetGA(), x, y, c.gesture == gRight ? Qt::RightButton : Qt::LeftButton);
    }
    ASSERT_EQ(heard.size(), c.event ? 1u : 0u);
    if (c.event) {
      EXPECT_EQ(heard[0], std::make_pair(std::string(c.event), c.onItem ? k : nullptr));
    }
  }
}

// Dragged to another row, the bar takes the dragged times itself only with
// MoveInTimeWhenMoveRow; MoveOver12Then24 turns a move of half a day or more
// into whole days.
TEST(GanttMouse, MovesToOtherRowsAndOverHalfADay) {
  const struct {
    const char* name;
    bool moveInTime, over12;
    double to;  // the day released at, pressed at 1.5
    int toRow;
    double landing, start;  // the start dragged to, and the bar's afterwards (it stays in its row)
    int rowChanges;
  } cases[] = {
      {"to another row: left to the application", false, false, 3.5, 1, 3.2, 1.2, 1},
      {"to another row, moving in time too", true, false, 3.5, 1, 3.2, 3.2, 1},
      {"a move of 0.6 days", false, false, 2.1, 0, 1.8, 1.8, 0},
      {"a move of 0.6 days, over 12 hours: a day", false, true, 2.1, 0, 2.2, 2.2, 0},
      {"a move of 0.4 days, under 12 hours: as it is", false, true, 1.9, 0, 1.6, 1.6, 0},
      {"back 1.4 days: one", false, true, 0.1, 0, 0.2, 0.2, 0},
      {"to another row, over 12 hours", true, true, 2.2, 1, 2.2, 2.2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MouseGant g;
    TvxDataEntity_Tree* n[2] = {g.Node(nullptr, "one"), g.Node(nullptr, "two")};
    TvxDataEntity_Kronit* k = g.Item(n[0], 1.2, 2.2);
    g.SetMoveInTimeWhenMoveRow(c.moveInTime);
    g.SetMoveOver12Then24(c.over12);
    int rowChanges = 0;
    g.OnTimeChangeRow = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit* item, TGantRow* from, TGantRow* to,
                            TDateTime start, TDateTime stop, TvxDataEntity_Kronit*&) {
      ++rowChanges;
      EXPECT_EQ(item, k);
      EXPECT_EQ(from, g.RowOf(n[0]));
      EXPECT_EQ(to, g.RowOf(n[1]));
      EXPECT_NEAR(start, TestGant::kDay0 + c.landing, 0.02);  // the landing times,
      EXPECT_NEAR(stop - start, 1, 1e-9);
      // already the item's own with MoveInTimeWhenMoveRow
      EXPECT_EQ(std::abs(item->GetStartDateTime() - start) < 1e-9, c.moveInTime);
    };
    g.Drag(g.X(1.5), g.MidY(n[0]), g.X(c.to), g.MidY(n[c.toRow]));
    EXPECT_EQ(rowChanges, c.rowChanges);
    EXPECT_EQ(k->GetRow(), g.RowOf(n[0]));
    EXPECT_NEAR(k->GetStartDateTime(), TestGant::kDay0 + c.start, 0.02);
    EXPECT_NEAR(k->GetStopDateTime() - k->GetStartDateTime(), 1, 1e-9);
  }
}

// Dragging past an edge scrolls what TimeItemAutoScroll allows: time past
// the left or right edge, rows past the top or bottom; the bar lands in the
// row that scrolled under the pointer.
TEST(GanttMouse, DraggingPastTheEdgesScrollsAsAllowed) {
  const struct {
    TTimeItemAutoScroll scroll;
    bool time, rows;
  } cases[] = {{ttiaHorzAndVert, true, true}, {ttiaHorz, true, false}, {ttiaVert, false, true}, {ttiaNone, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scroll);
    MouseGant g;
    std::vector<TvxDataEntity_Tree*> n;
    for (int r = 0; r < 80; ++r) n.push_back(g.Node(nullptr, "row " + std::to_string(r)));
    TvxDataEntity_Kronit* k = g.Item(n[2], 1, 2);
    vxtest::ProcessEventsUntilIdle();
    g.SetTimeItemAutoScroll(c.scroll);
    TGantRow* landed = nullptr;
    g.OnTimeChangeRow = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit*, TGantRow*, TGantRow* to, TDateTime,
                            TDateTime, TvxDataEntity_Kronit*&) { landed = to; };
    const int w = g.GetGA()->GetWidth(), h = g.GetGA()->GetHeight();
    const TDateTime start = g.GetDateScaler()->GetStart();
    auto waitThere = [&](int x, int y) {
      vxtest::MouseMove(g.GetGA(), x, y);
      for (int t = 0; t < 30; ++t) {
        QTest::qWait(10);
        vxtest::MouseMove(g.GetGA(), x, y);
      }
    };
    vxtest::MousePress(g.GetGA(), g.X(1.5), g.MidY(n[2]));
    waitThere(w + 10, g.MidY(n[2]));
    EXPECT_EQ(g.GetDateScaler()->GetStart() > start, c.time);
    waitThere(w / 2, h - 2);
    const int top = g.GetTreeView()->GetScrollInfo(sbVertical).nPos;
    EXPECT_EQ(top > 0, c.rows);
    vxtest::MouseRelease(g.GetGA(), w / 2, h - 2);
    EXPECT_EQ(landed, g.GetRowList()->FindRowFromY(h - 2)) << top;
    EXPECT_EQ(k->GetRow(), g.RowOf(n[2]));
  }
}
