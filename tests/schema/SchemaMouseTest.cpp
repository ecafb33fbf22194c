// The schedule's drawing area under the mouse, in both orientations: where
// its bands lie, where a drag lands (snapped, across columns, the column
// switch), the ways a gesture ends, auto-scroll and the drop after it, and a
// drag out of the area; the rules of the gesture itself are the engine's
// (TimeGestureTest). Gestures go through Qt's real event delivery.
#include <gtest/gtest.h>

#include <QImage>
#include <climits>
#include <functional>

#include "SchemaMouseSupport.h"
#include <vxplan/platform/ui/ExtCtrls.h>

using namespace vx;
using vxtest::MouseSchema;
using vxtest::TestSchema;

namespace {

constexpr double kDay0 = TestSchema::kDay0;
constexpr double kH = TestSchema::kHour;
constexpr double kMin = TestSchema::kMinute;

double Minutes(TDateTime t) { return (t - kDay0) * 1440; }

}  // namespace

// The resize bands lie at either end along the time axis of the orientation,
// with its split cursor; the middle moves.
TEST(SchemaMouse, WhereTheBandsLie) {
  for (bool flipped : {false, true}) {
    MouseSchema s(flipped);
    TvxDataEntity_SchemaTime* e = s.Item(1, 9, 9.5);
    s.Settle();
    TRect r;
    s.RectFromDataEntity(flipped, e, r);
    const int top = flipped ? r.Left : r.Top, bottom = flipped ? r.Right : r.Bottom;
    const struct { int at; bool grow, start; TCursor cursor; } presses[] = {
        {top + 2, true, true, flipped ? crHSplit : crVSplit}, {bottom - 3, true, false, flipped ? crHSplit : crVSplit},
        {top + 3, false, false, crArrow}, {bottom, false, false, crArrow}};
    for (const auto& p : presses) {
      s.Move(s.AtPixel(1, p.at));
      EXPECT_EQ(s.Area()->GetCursor(), p.cursor) << p.at;
      s.Press(s.AtPixel(1, p.at));
      EXPECT_EQ(s.GetLocalGrow(), p.grow) << p.at;
      EXPECT_EQ(s.GetLocalGrow() && s.GetLocalGrowDir(), p.start) << p.at;
      EXPECT_EQ(s.GetLocalDrag(), p.at == top + 3) << p.at;
      s.Release(s.AtPixel(1, p.at));
    }
  }
}

// A drag across columns asks the host, who may send the booking elsewhere;
// targets beyond the columns are clamped, and the times are kept.
TEST(SchemaMouse, TheHostRedirectsAColumnSwitch) {
  for (bool flipped : {false, true}) {
    MouseSchema s(flipped);
    TvxDataEntity_SchemaTime* e = s.Item(1, 8 + 10.0 / 60, 8 + 40.0 / 60);
    s.Settle();
    std::vector<std::pair<int, int>> switches;
    s.OnSwitchCol = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime*, int from, int& to) {
      switches.push_back({from, to});
      to = 99;
    };
    const TPoint at = s.At(1, 8 + 25.0 / 60);
    s.Drag(at, s.Shifted(at, MouseSchema::Px(90), s.ColumnStep()));
    EXPECT_EQ(switches, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_EQ(e->GetCol(), 5);
    EXPECT_NEAR(Minutes(e->GetStartDateTime()), 490, 1e-6);
  }
}

// While a booking is dragged the hint names, and the outline shows, where it
// will land (snapped, in its target column); the release writes exactly that.
TEST(SchemaMouse, TheDragShowsWhereTheBookingLands) {
  struct Drag {
    const char* name;
    double grab;          // hours of kDay0, or the start or stop band
    int minutes, across;  // dragged along time (minutes) and across (columns)
    bool moveInTime;
  };
  const Drag drags[] = {
      {"later, snapped", 9.25, 7, 0, false}, {"earlier, snapped", 9.25, -8, 0, false},
      {"next column, times kept", 9.25, 13, 1, false}, {"next column, moved in time", 9.25, 13, 1, true},
      {"start edge", MouseSchema::kStartBand, -22, 0, false}, {"stop edge", MouseSchema::kStopBand, 17, 0, false},
  };
  for (bool flipped : {false, true})
    for (const Drag& d : drags) {
      SCOPED_TRACE(std::string(d.name) + (flipped ? " flipped" : " normal"));
      MouseSchema s(flipped, 0);
      s.Column("today");
      s.Column("tomorrow", 1);
      s.SizeColumns();
      s.SetMoveInTimeWhenColSwitch(d.moveInTime);
      TvxDataEntity_SchemaTime* e = s.Item(0, 9, 9.5);
      s.Settle();
      const TPoint from = s.Grab(e, d.grab);
      const TPoint to = s.Shifted(from, MouseSchema::Px(d.minutes), d.across * s.ColumnStep());
      TDateTime hintStart = 0, hintLength = 0;
      s.OnSchemaHintInfo = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime*, TDateTime a, TDateTime b, int, int) {
        if (a != 0) hintStart = a, hintLength = b;
      };
      s.Press(from);
      const QImage before = s.Area()->grab().toImage();  // selected, no outline yet
      s.Move(s.Shifted(from, 2));
      s.Move(to);
      // The outline: the changed pixels span the landing, snapped, in its column.
      const QImage during = s.Area()->grab().toImage();
      int lo = INT_MAX, hi = INT_MIN, aLo = INT_MAX;
      for (int y = 0; y < during.height(); ++y)
        for (int x = 0; x < during.width(); ++x)
          if (during.pixel(x, y) != before.pixel(x, y)) {
            lo = std::min(lo, flipped ? x : y);
            hi = std::max(hi, flipped ? x : y);
            aLo = std::min(aLo, flipped ? y : x);
          }
      s.Release(to);
      s.Settle();
      EXPECT_EQ(hintStart, e->GetStartDateTime());
      EXPECT_EQ(hintStart + hintLength, e->GetStopDateTime());
      EXPECT_EQ(e->GetCol(), d.across);
      TRect landed;
      s.RectFromDataEntity(flipped, e, landed);
      if ((flipped ? landed.Right : landed.Bottom) < 0) {
        EXPECT_EQ(lo, INT_MAX);  // it lands a day before the axis: no outline in sight
        continue;
      }
      EXPECT_NEAR(lo, flipped ? landed.Left - 1 : landed.Top, 1);
      EXPECT_NEAR(hi, flipped ? landed.Right : landed.Bottom, 1);
      int nearEdge = 0, farEdge = 0;
      s.ColumnToPixels(e->GetCol(), nearEdge, farEdge);
      EXPECT_NEAR(aLo, nearEdge + 1, 1);
    }
}

// Every way the area can lose the mouse in the middle of a move or a resize
// ends it: the outlines go, the cursor is the arrow again, the hint goes, and
// the release writes nothing.
TEST(SchemaMouse, AGestureEndsCancelledWhenTheAreaLosesTheMouse) {
  struct Way {
    const char* name;
    std::function<void(MouseSchema& s, TPanel& other)> act;
  };
  const Way ways[] = {
      {"Escape", [](MouseSchema& s, TPanel&) { vxtest::KeyClick(s.Area(), Qt::Key_Escape); }},
      {"hidden", [](MouseSchema& s, TPanel&) { s.SetVisible(false); }},
      {"given another parent", [](MouseSchema& s, TPanel& other) { s.SetParent(&other); }},
      {"another control takes the mouse", [](MouseSchema&, TPanel& other) {
         other.SetMouseCapture(true);
         other.SetMouseCapture(false);
       }},
  };
  constexpr double gMove = 0, gStart = MouseSchema::kStartBand, gStop = MouseSchema::kStopBand;
  for (bool flipped : {false, true})
    for (const Way& way : ways)
      for (double g : {gMove, gStart, gStop}) {
        SCOPED_TRACE(std::string(way.name) + (flipped ? " flipped " : " normal ") + std::to_string(g));
        TPanel other(nullptr);
        other.SetBounds(0, 0, 700, 520);
        vxtest::ShowWindow(&other);
        MouseSchema s(flipped);
        TvxDataEntity_SchemaTime* e = s.Item(1, 9, 9.5);
        s.Settle();
        const TPoint at = s.Grab(e, g);
        s.Press(at);
        s.Move(s.Shifted(at, MouseSchema::Px(10)));
        s.Move(s.Shifted(at, MouseSchema::Px(20), g == gMove ? s.ColumnStep() : 0));
        ASSERT_TRUE(g == gMove ? s.GetLocalDrag() : s.GetLocalGrow());
        ASSERT_GT(s.OutlineCount(), 0);
        way.act(s, other);
        vxtest::ProcessEventsUntilIdle();
        EXPECT_FALSE(s.GetLocalDrag() || s.GetLocalGrow());
        EXPECT_EQ(s.OutlineCount(), 0);
        EXPECT_EQ(s.Area()->GetCursor(), crArrow);
        EXPECT_FALSE(s.GetHintWindow()->IsShowing());
        if (!s.GetVisible()) {
          s.SetVisible(true);
          vxtest::ShowWindow(&s);
        }
        const TPoint end = s.Shifted(at, MouseSchema::Px(30), g == gMove ? s.ColumnStep() : 0);
        s.Move(end);
        s.Release(end);
        s.Settle();
        EXPECT_EQ(e->GetStartDateTime(), kDay0 + 9 * kH);
        EXPECT_EQ(e->GetStopDateTime(), kDay0 + 9.5 * kH);
        EXPECT_EQ(e->GetCol(), 1);
        s.SetParent(nullptr);
      }
}

TEST(SchemaMouse, AutoScrollThenTheDropMovesByTheTimeDifference) {
  for (bool flipped : {false, true}) {
    MouseSchema s(flipped);
    TvxDataEntity_SchemaTime* e = s.Item(1, 9, 9.5);
    s.Settle();
    const int extent = flipped ? s.Area()->GetWidth() : s.Area()->GetHeight();
    const TPoint press = s.At(1, 9.25);
    const TDateTime pressTime = s.GetScaler()->PixelToDate(s.T(9.25));
    const TDateTime windowStart = s.GetScaler()->GetStart();
    s.Press(press);
    s.Move(s.Shifted(press, 20));
    s.Move(s.AtPixel(1, extent + 10));  // past the far edge
    EXPECT_TRUE(s.GetScaler()->IsScrollingUp());
    EXPECT_TRUE(MouseSchema::RunUntil([&] { return s.GetScaler()->GetStart() - windowStart > 10 * kMin; }));
    // Back where it was pressed: not a pixel moved, but the axis under it did.
    s.Move(press);
    EXPECT_FALSE(s.GetScaler()->IsScrollingUp());
    const TDateTime dropTime = s.GetScaler()->PixelToDate(flipped ? press.X : press.Y);
    s.Release(press);
    s.Settle();
    TDateTime expected = kDay0 + 9 * kH + (dropTime - pressTime), length = 0.5 * kH;
    s.Snap(expected, length);
    EXPECT_GT(dropTime - pressTime, 10 * kMin);
    EXPECT_NEAR(e->GetStartDateTime(), expected, 1e-9);
    EXPECT_EQ(e->GetCol(), 1);

    // Before the near edge the axis goes back; without TimeItemAutoScroll it stays.
    s.SetTimeItemAutoScroll(false);
    const TDateTime before = s.GetScaler()->GetStart();
    const TPoint again = s.AtPixel(1, s.GetScaler()->DateToPixel(e->GetStartDateTime()) + 20);
    s.Press(again);
    s.Move(s.AtPixel(1, -10));
    EXPECT_FALSE(s.GetScaler()->IsScrollingDown());
    s.Release(s.AtPixel(1, -10));
    EXPECT_EQ(s.GetScaler()->GetStart(), before);
  }
}

TEST(SchemaMouse, ColumnsStepAtTheEdgeWhileMoving) {
  for (bool flipped : {false, true}) {
    MouseSchema s(flipped, 40);
    TvxDataEntity_SchemaTime* e = s.Item(2, 9, 9.5);
    s.Settle();
    const int extent = flipped ? s.Area()->GetHeight() : s.Area()->GetWidth();
    const TPoint press = s.At(2, 9.25);
    s.Press(press);
    s.Move(s.Shifted(press, 0, 10));
    const TPoint edge = flipped ? Point(press.X, extent - 2) : Point(extent - 2, press.Y);
    s.Move(edge);
    EXPECT_TRUE(s.GetColScrollTimer()->GetEnabled());
    // Two steps of 500 ms.
    EXPECT_TRUE(MouseSchema::RunUntil([&] { return s.GetColumns()->GetTopLeftCol() >= 2; }));
    const int dropColumn = s.PixelToColumn(flipped ? edge.Y : edge.X);
    s.Release(edge);
    s.Settle();
    EXPECT_EQ(e->GetCol(), dropColumn);  // the column under the drop, as the columns stand now
    EXPECT_NEAR(Minutes(e->GetStartDateTime()), 540, 1e-6);
  }
}

TEST(SchemaMouse, DraggedOutOfTheAreaABookingGoesToTheToolkitDrag) {
  for (bool flipped : {false, true}) {
    SCOPED_TRACE(flipped ? "flipped" : "normal");
    TPanel form(nullptr);
    form.SetBounds(0, 0, 900, 500);
    auto schema = std::make_unique<MouseSchema>(flipped);
    MouseSchema* s = schema.get();
    s->SetParent(&form);
    s->SetBounds(0, 0, 650, 500);
    auto* target = new TPanel(&form);
    target->SetParent(&form);
    target->SetBounds(700, 0, 200, 500);
    vxtest::ShowWindow(&form);
    TvxDataEntity_SchemaTime* e = s->Item(1, 9, 9.5);
    s->Settle();
    s->SetStartDragWhenTimeMoveOutside(true);
    TObject* dropped = nullptr;
    target->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = true; };
    target->OnDragDrop = [&](TObject*, TObject* source, int, int) { dropped = source; };
    int started = 0, ended = 0;
    s->OnStartDrag = [&](TObject* sender, TObject*&) {
      ++started;
      EXPECT_EQ(sender, s->Area());
    };
    s->OnEndDrag = [&](TObject*, TObject* on, int, int) { ended += on == target ? 1 : 0; };
    s->Press(s->At(1, 9.25));
    s->Move(s->Shifted(s->At(1, 9.25), 10));
    vxtest::MouseMove(target, 50, 200);
    EXPECT_EQ(started, 1);
    EXPECT_FALSE(s->GetLocalDrag());
    EXPECT_EQ(s->OutlineCount(), 0);
    vxtest::MouseMove(target, 60, 210);
    vxtest::MouseRelease(target, 60, 210);
    EXPECT_EQ(dropped, s->Area());
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(e->GetStartDateTime(), kDay0 + 9 * kH);
    EXPECT_EQ(e->GetCol(), 1);
  }
}

TEST(SchemaMouse, TheHostHearsEveryMouseEvent) {
  MouseSchema s(false);
  s.Item(1, 9, 9.5);
  s.Settle();
  s.Move(Point(70, 150));
  std::vector<std::string> heard;
  auto note = [&](const char* what, TObject* sender, int x, int y) {
    EXPECT_EQ(sender, s.Area());
    heard.push_back(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  s.OnSchemaMouseDown = [&](TObject* o, TMouseButton, TShiftState, int x, int y) { note("down", o, x, y); };
  s.OnSchemaMouseMove = [&](TObject* o, TShiftState, int x, int y) { note("move", o, x, y); };
  s.OnSchemaMouseUp = [&](TObject* o, TMouseButton, TShiftState, int x, int y) { note("up", o, x, y); };
  s.Press(Point(70, 150));
  s.Move(Point(72, 170));
  s.Release(Point(72, 170));
  EXPECT_EQ(heard, (std::vector<std::string>{"down 70,150", "move 72,170", "up 72,170"}));
  // The drag events: the host decides, starting from no.
  bool asked = false;
  s.OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& accept) {
    asked = true;
    EXPECT_FALSE(accept);
  };
  bool accept = true;
  s.Area()->DoDragOver(&s, 10, 10, dsDragMove, accept);
  EXPECT_TRUE(asked);
  EXPECT_FALSE(accept);
}

#include <cstdlib>

#include "SchemaMonkey.h"

TEST(SchemaMouse, MonkeyInputLeavesTheScheduleWhole) {
  // VX_MONKEY_SEED replays one seed; the long run is among the benchmarks.
  const char* seedText = std::getenv("VX_MONKEY_SEED");
  const unsigned seed = seedText && *seedText ? static_cast<unsigned>(std::atoi(seedText)) : 20261208u;
  vxmonkey::TSchemaMonkeyCounts counts;
  EXPECT_EQ(vxmonkey::RunSchemaMonkey(seed, 4000, &counts), "")
      << "seed " << seed << " (replay with VX_MONKEY_SEED=" << seed << ")";
  // It did what it is for: switched orientations and moved bookings.
  EXPECT_GT(counts.switched, 0) << "seed " << seed;
  EXPECT_GT(counts.changed, 0) << "seed " << seed;
}
