// Layout of the schedule: its children in both orientations, columns to
// pixels and back, the rectangles of bookings, hit testing, visibility, the
// collision layout and the column scroller.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <vector>

#include "SchemaSupport.h"

using namespace vx;
using vxtest::TestSchema;

namespace {

constexpr double kH = TestSchema::kHour;
constexpr double kMin = TestSchema::kMinute;

TRect RectOf(TvxSchema_ComBasic& s, TvxDataEntity_SchemaTime* e) {
  TRect r;
  EXPECT_TRUE(s.RectFromDataEntity(s.GetFlipView(), e, r));
  return r;
}

std::pair<int, int> Span(TvxSchema_ComBasic& s, int col) {
  int a, b;
  s.ColumnToPixels(col, a, b);
  return {a, b};
}

}  // namespace

TEST(SchemaLayout, ChildrenInBothOrientations) {
  TestSchema s;
  // Normal: header across the top, scaler at the left, the sizer astride the corner.
  EXPECT_EQ(s.GetHeader()->GetBoundsRect(), Rect(50, 0, 650, 20));
  EXPECT_EQ(s.GetScaler()->GetBoundsRect(), Rect(0, 20, 50, 500));
  EXPECT_EQ(s.GetXYSizer()->GetBoundsRect(), Rect(47, 17, 52, 22));
  EXPECT_FALSE(s.GetFlippedHeader()->GetVisible());
  // Scaler sizes arrive through the deferred calls.
  s.SetScalerWidth(60);
  s.SetScalerHeight(400);
  EXPECT_EQ(s.GetScalerWidth(), 50);
  TDoLater::DoAllNow();
  EXPECT_EQ(s.GetSchemaArea()->GetBoundsRect(), Rect(60, 100, 650, 500));

  // Flipped: scaler across the top, titles at the left.
  s.SetFlipView(true);
  EXPECT_TRUE(s.GetScaler()->GetHorizontal());
  EXPECT_FALSE(s.GetHeader()->GetVisible());
  EXPECT_EQ(s.GetScaler()->GetBoundsRect(), Rect(70, 0, 650, 50));
  EXPECT_EQ(s.GetFlippedHeader()->GetBoundsRect(), Rect(0, 50, 70, 500));
  EXPECT_EQ(s.GetSchemaArea()->GetBoundsRect(), Rect(70, 50, 650, 500));
  EXPECT_EQ(s.GetXYSizer()->GetBoundsRect(), Rect(67, 47, 72, 52));
  s.SetScalerWidth(500);
  s.SetScalerHeight(40);
  TDoLater::DoAllNow();
  EXPECT_EQ(s.GetFlippedQuadPoint(), Point(150, 40));
  // The normal orientation's corner waited meanwhile.
  s.SetFlipView(false);
  EXPECT_EQ(s.GetSchemaArea()->GetBoundsRect(), Rect(60, 100, 650, 500));
}

TEST(SchemaLayout, TheSizerMovesTheInnerCorner) {
  TestSchema s;
  vxtest::ShowWindow(&s);
  TXYSizer* grip = s.GetXYSizer();
  // The grip follows the mouse; points are given in the control's coordinates.
  vxtest::MousePress(grip, 2, 2);
  vxtest::MouseMove(&s, 59, 24);
  vxtest::MouseMove(&s, 79, 29);
  vxtest::MouseRelease(&s, 79, 29);
  EXPECT_EQ(s.GetQuadPoint(), Point(80, 30));
  EXPECT_EQ(s.GetHeader()->GetBoundsRect(), Rect(80, 0, 650, 30));
  EXPECT_EQ(s.GetSchemaArea()->GetBoundsRect(), Rect(80, 30, 650, 500));
}

// Spans, rectangles, sub-columns, hit tests and the picture of ordinary
// bookings are checked against a plain reference in SchemaRandomTest; here
// what it leaves out: zero widths, positions to times, the application's
// hooks, collision reports and switches.
TEST(SchemaLayout, ColumnsToPixelsAndBack) {
  TestSchema s;
  s.Column("a")->SetWidth(50);
  s.Column("b", 1)->SetWidth(30);
  s.Column("c")->SetWidth(40);
  for (int col : {3, -1}) EXPECT_EQ(Span(s, col), std::make_pair(-1, -1)) << col;
  EXPECT_EQ(s.ColumnFromXY(Point(60, 300)), s.GetColumns()->GetColumn(1));
  TDateTime t;
  int col;
  s.GetPositionDateTimeAndCol(60, 120, t, col);
  EXPECT_EQ(col, 1);
  EXPECT_NEAR(t, TestSchema::kDay0 + 10 * kH, kMin);
  // The rectangle's column gives the offset; its edges the times.
  TDateTime start, length;
  s.StartAndLengthFromRect(Rect(55, 120, 75, 180), start, length);
  EXPECT_NEAR(start, TestSchema::kDay0 + 1 + 10 * kH, kMin);
  EXPECT_NEAR(length, kH, kMin);
  // A column without width never holds a pixel.
  s.GetColumns()->GetColumn(1)->SetWidth(0);
  EXPECT_EQ(s.PixelToColumn(50), 2);
  s.GetColumns()->GetColumn(1)->SetWidth(30);
  // Flipped: rows with their grid line.
  s.SetFlipView(true);
  EXPECT_EQ(s.ColumnFromXY(Point(300, 25)), s.GetColumns()->GetColumn(1));
  s.GetPositionDateTimeAndCol(120, 25, t, col);
  EXPECT_EQ(col, 1);
}

TEST(SchemaLayout, TheApplicationMovesHidesAndShowsBookings) {
  TestSchema s;
  s.Column("a", 1)->SetWidth(100);
  s.Column("b", 1)->SetWidth(100);
  TvxDataEntity_SchemaTime* in = s.Item(0, 15, 17);
  TvxDataEntity_SchemaTime* out = s.Item(0, 16.5, 17);
  TvxDataEntity_SchemaTime* other = s.Item(1, 10, 11);
  s.Settle();
  // Tomorrow 10:00 in the column offset by a day stands level with today's.
  EXPECT_EQ(RectOf(s, other), Rect(101, 120, 200, 180));
  s.OnGetDrawingRect = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, TRect& r) {
    r = OffsetRect(r, 0, 10);
    return e != in;
  };
  TRect r;
  EXPECT_FALSE(s.RectFromDataEntity(false, in, r));
  EXPECT_EQ(RectOf(s, other), Rect(101, 130, 200, 190));
  s.OnGetDrawingRect = nullptr;

  EXPECT_TRUE(s.IsVisible(in));
  EXPECT_FALSE(s.IsVisible(out));
  s.OnIsVisible = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, bool& runDefault) {
    runDefault = e != out;
    return true;
  };
  EXPECT_TRUE(s.IsVisible(out));
  EXPECT_TRUE(s.IsVisible(in));
}

TEST(SchemaLayout, CollisionsAreReportedAndCanBeSwitchedOff) {
  TestSchema s;
  s.Column("a")->SetWidth(100);
  s.Column("b")->SetWidth(100);
  std::vector<std::pair<TvxDataEntity_SchemaTime*, int>> reported;
  s.OnCollisionDetected = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, int p) { reported.emplace_back(e, p); };
  TvxDataEntity_SchemaTime* a = s.Item(0, 10, 12);
  TvxDataEntity_SchemaTime* b = s.Item(0, 10.5, 12.5);
  TvxDataEntity_SchemaTime* c = s.Item(0, 11, 13);
  s.Settle();
  // Placed from the last one: c, then b, then a. Reported when the place
  // differs from the one the booking had (0 when new).
  EXPECT_EQ(a->GetSubCol(), 2);
  EXPECT_EQ(reported, (std::vector<std::pair<TvxDataEntity_SchemaTime*, int>>{{a, 3}, {b, 2}}));
  // One goes to the other column: at once whole there, and each place changed.
  reported.clear();
  s.SetStartStopDateAndCol(c, TestSchema::kDay0 + 11 * kH, TestSchema::kDay0 + 13 * kH, 1);
  EXPECT_FALSE(c->GetUseSubCol());
  s.Settle();
  EXPECT_EQ(reported.size(), 3u);
  // Without collision detection nothing is laid out any more.
  s.SetCollisionDetect(false);
  s.Item(1, 11, 12);
  s.Settle();
  EXPECT_EQ(s.GetColumns()->GetColumn(1)->GetSubColCount(), 1);
  // A layer the draw array leaves out is not hit.
  EXPECT_EQ(s.GetDataEntityFromXY(25, 200), b);
  s.SetDrawLayerArray({1});
  EXPECT_EQ(s.GetDataEntityFromXY(25, 200), nullptr);
}

// The column scroller is a scroll bar along the columns' side of the area,
// which makes room for it: it covers no booking, and the time axis keeps
// the area's length.
TEST(SchemaLayout, TheColumnScroller) {
  TestSchema s;
  for (int c = 0; c < 12; ++c) s.Column(std::to_string(c));
  s.Settle();
  TScrollBar* bar = s.GetColumnScrollBar();
  // Twelve columns of 50 fill the 600 pixels exactly: no need to scroll.
  EXPECT_FALSE(bar->GetVisible());
  s.Column("12");
  s.Settle();
  ASSERT_TRUE(bar->GetVisible());
  const int thick = bar->GetHeight();
  EXPECT_EQ(bar->GetBoundsRect(), Rect(50, 500 - thick, 650, 500));
  EXPECT_EQ(s.GetSchemaArea()->GetBoundsRect(), Rect(50, 20, 650, 500 - thick));
  EXPECT_EQ(s.GetScaler()->GetHeight(), s.GetSchemaArea()->GetHeight());
  // Thirteen columns, twelve in view: a thumb of twelve, one step to go.
  EXPECT_EQ(bar->GetPageSize(), 12);
  EXPECT_EQ(bar->GetMax(), 12);
  s.SetScrollVisibility(svNever);
  s.Settle();
  EXPECT_FALSE(bar->GetVisible());
  EXPECT_EQ(s.GetSchemaArea()->GetHeight(), 480);
  // Scrolled away from the first column, the scroller shows anyway.
  s.GetColumns()->SetTopLeftCol(1);
  s.Settle();
  EXPECT_TRUE(bar->GetVisible());
  EXPECT_EQ(bar->GetPosition(), 1);
  s.GetColumns()->SetTopLeftCol(0);
  s.SetScrollVisibility(svAlways);
  s.Settle();
  EXPECT_TRUE(bar->GetVisible());
  // Flipped: a vertical bar at the right of the rows, the axis as long as the area.
  s.SetFlipView(true);
  s.Settle();
  TScrollBar* rows = s.GetColumnScrollBar();
  EXPECT_FALSE(bar->GetVisible());
  ASSERT_TRUE(rows->GetVisible());
  EXPECT_EQ(rows->GetBoundsRect(), Rect(650 - rows->GetWidth(), 50, 650, 500));
  EXPECT_EQ(s.GetSchemaArea()->GetBoundsRect(), Rect(70, 50, 650 - rows->GetWidth(), 500));
  EXPECT_EQ(s.GetScaler()->GetWidth(), s.GetSchemaArea()->GetWidth());

  // The user's clicks on the bar move the rows (of more than fit).
  for (int c = 13; c < 40; ++c) s.Column(std::to_string(c));
  vxtest::ShowWindow(&s);
  QWidget* qbar = rows->findChild<QWidget*>();
  ASSERT_NE(qbar, nullptr);
  QTest::mouseClick(qbar, Qt::LeftButton, Qt::NoModifier, QPoint(qbar->width() / 2, qbar->height() - 5));
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(s.GetColumns()->GetTopLeftCol(), 1);
  EXPECT_EQ(rows->GetPosition(), 1);
}

// The wheel in the classic style is the area's OnWheelScroll's (the titles
// step a row a notch); in the Qt style it scrolls the columns by the
// platform's step, adding up small deltas, Shift moves in time and Ctrl
// zooms around the pointer.
TEST(SchemaLayout, TheWheelInEitherStyle) {
  for (bool flipped : {false, true}) {
    SCOPED_TRACE(flipped ? "flipped" : "normal");
    TestSchema s;
    s.SetFlipView(flipped);
    for (int c = 0; c < 40; ++c) s.Column(std::to_string(c));
    vxtest::ShowWindow(&s);
    s.SetWindow(TestSchema::kDay0 + 8 * TestSchema::kHour, TestSchema::kDay0 + 16 * TestSchema::kHour);
    TControl* area = s.GetSchemaArea();
    const int mid = 100;
    auto wheel = [&](int delta, Qt::KeyboardModifiers m = Qt::NoModifier) {
      vxtest::Wheel(area, mid, mid, delta, m);
      s.Settle();
    };
    int heard = 0;
    area->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { ++heard; };
    wheel(-120);
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(s.GetColumns()->GetTopLeftCol(), 0);
    area->OnMouseWheel = nullptr;
    if (flipped) {
      vxtest::Wheel(s.GetFlippedHeader(), 10, 30, -120);
      EXPECT_EQ(s.GetColumns()->GetTopLeftCol(), 1);  // the titles' own row a notch
      s.GetColumns()->SetTopLeftCol(0);
    }

    s.SetWheelConvention(wcQt);
    const int lines = WheelScrollLines();
    wheel(-120);
    EXPECT_EQ(s.GetColumns()->GetTopLeftCol(), lines);
    for (int k = 0; k < 4; ++k) wheel(-30);  // a touchpad's small steps make a notch
    EXPECT_EQ(s.GetColumns()->GetTopLeftCol(), 2 * lines);
    wheel(240);
    EXPECT_EQ(s.GetColumns()->GetTopLeftCol(), 0);
    // Over the titles the same.
    if (flipped)
      vxtest::Wheel(s.GetFlippedHeader(), 10, 30, -120);
    else
      vxtest::Wheel(s.GetHeader(), 30, 8, -120);
    s.Settle();
    EXPECT_EQ(s.GetColumns()->GetTopLeftCol(), lines);
    // Forward only until the last column shows.
    for (int k = 0; k < 40; ++k) wheel(-120);
    EXPECT_EQ(s.GetColumns()->GetTopLeftCol(), 40 - s.GetColumnScrollBar()->GetPageSize());

    // Shift: later in time a notch towards the user, an eighth of the
    // window as the time axis's own wheel; the scale stays.
    const double start = s.GetScaler()->GetStart(), scale = s.GetScaler()->GetScale();
    wheel(-120, Qt::ShiftModifier);
    EXPECT_NEAR((s.GetScaler()->GetStart() - start) / scale, s.GetScaler()->GetScaleLen() / 8.0, 1.5);
    EXPECT_NEAR(s.GetScaler()->GetScale(), scale, scale * 1e-9);
    // Ctrl: a notch away zooms in by a quarter, the time under the pointer stays.
    const TDateTime under = s.GetScaler()->PixelToDate(mid);
    const double before = s.GetScaler()->GetScale();
    wheel(120, Qt::ControlModifier);
    EXPECT_NEAR(s.GetScaler()->GetScale(), before / 1.25, before * 1e-6);
    EXPECT_NEAR(s.GetScaler()->DateToPixel(under), mid, 1);
  }
}

// With a sub-column size a column whose bookings overlap grows to give each
// sub-column that much, and shrinks back when they no longer do.
TEST(SchemaLayout, ColumnsGrowWithTheirSubColumns) {
  for (bool flipped : {false, true}) {
    SCOPED_TRACE(flipped ? "flipped" : "normal");
    TestSchema s;
    s.SetFlipView(flipped);
    for (int c = 0; c < 3; ++c) s.Column(std::to_string(c));
    TvxDataEntity_SchemaTime* a = s.Item(1, 9, 11);
    TvxDataEntity_SchemaTime* b = s.Item(1, 10, 12);
    s.Item(1, 10.5, 11.5);
    s.Settle();
    TvxDataEntity_SchemaColumn* col = s.GetColumns()->GetColumn(1);
    const int own = col->GetWidth();
    ASSERT_EQ(col->GetSubColCount(), 3);
    s.SetSubColumnSize(30);
    s.Settle();
    EXPECT_EQ(col->GetWidth(), 90);
    EXPECT_EQ(s.GetColumns()->GetColumn(0)->GetWidth(), own);
    // Each booking a third of the grown column.
    TRect r;
    s.RectFromDataEntity(flipped, b, r);
    EXPECT_EQ(flipped ? r.Height() : r.Width(), 30 - 1 + (flipped ? 1 : 0));
    // No more overlaps: the column's own size again.
    s.RemoveSchemaTime(b);
    a->SetStopDateTime(TestSchema::kDay0 + 10 * kH);
    s.Settle();
    EXPECT_EQ(col->GetSubColCount(), 1);
    EXPECT_EQ(col->GetWidth(), own);
    // Off: the sub-columns share the column.
    a->SetStopDateTime(TestSchema::kDay0 + 11 * kH);
    s.Settle();
    EXPECT_EQ(col->GetWidth(), 60);
    s.SetSubColumnSize(0);
    EXPECT_EQ(col->GetWidth(), own);
  }
}

TEST(SchemaLayout, ScalerSizesGoToTheOrientationTheyWereAskedIn) {
  TvxSchema s(nullptr);
  s.SetBounds(0, 0, 650, 500);
  // Flipped before the construction's scaler width of 50 is applied: the
  // width was asked for the normal orientation, and goes there.
  s.SetFlipView(true);
  TDoLater::DoAllNow();
  EXPECT_EQ(s.GetFlippedQuadPoint(), Point(70, 50));
  EXPECT_EQ(s.GetScalerWidth(), 580);
  s.SetScalerHeight(30);
  s.SetFlipView(false);
  TDoLater::DoAllNow();
  EXPECT_EQ(s.GetScalerWidth(), 50);
  EXPECT_EQ(s.GetFlippedQuadPoint(), Point(70, 30));
}

// A descendant that shows bookings however far outside the window, with
// IsVisible alone: it keeps bookings before the window on show.
class EverShownSchema : public TestSchema {
public:
  std::vector<TvxDataEntity_SchemaTime*> drawn;

protected:
  bool IsVisible(TvxDataEntity_SchemaTime* theItem) override { return theItem->GetStopDateTime() < GetScalerStop(); }
  void DefaultDrawContent(TvxDataEntity_SchemaTime* theItem, const TRect& theRect, TCanvas* theCanvas) override {
    drawn.push_back(theItem);
    TestSchema::DefaultDrawContent(theItem, theRect, theCanvas);
  }
};

TEST(SchemaLayout, OverridingIsVisibleAloneDecidesWhatIsDrawnAndLaidOut) {
  EverShownSchema s;
  s.Column("a");
  TvxDataEntity_SchemaTime* before = s.Item(0, 2, 4);  // the window is 08:00 to 16:00
  TvxDataEntity_SchemaTime* partner = s.Item(0, 3, 5);
  TvxDataEntity_SchemaTime* in = s.Item(0, 10, 11);
  TvxDataEntity_SchemaTime* after = s.Item(0, 17, 18);
  s.Settle();
  s.PaintArea();
  auto drew = [&](TvxDataEntity_SchemaTime* e) { return std::count(s.drawn.begin(), s.drawn.end(), e); };
  EXPECT_EQ(drew(before), 1);
  EXPECT_EQ(drew(partner), 1);
  EXPECT_EQ(drew(in), 1);
  EXPECT_EQ(drew(after), 0);
  EXPECT_TRUE(before->GetUseSubCol());
  EXPECT_TRUE(partner->GetUseSubCol());
  // The next day: the bookings after the old window show now, and collide.
  TvxDataEntity_SchemaTime* late = s.Item(0, 17.5, 19);
  s.SetScalerStop(TestSchema::kDay0 + 40 * kH);  // first: a start after the stop is not taken
  s.SetWindow(TestSchema::kDay0 + 32 * kH, TestSchema::kDay0 + 40 * kH);
  s.Settle();
  ASSERT_DOUBLE_EQ(s.GetScalerStart(), TestSchema::kDay0 + 32 * kH);
  s.drawn.clear();
  s.PaintArea();
  EXPECT_EQ(drew(after), 1);
  EXPECT_EQ(drew(late), 1);
  EXPECT_TRUE(after->GetUseSubCol());
  EXPECT_TRUE(late->GetUseSubCol());
  EXPECT_TRUE(before->GetUseSubCol());
}
