// The schedule's model: a new control, layers and bookings, text lines,
// times relative to columns, snapping and the notifications of a change.
#include <gtest/gtest.h>

#include <cmath>

#include "SchemaSupport.h"
#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/ui/Menus.h>

using namespace vx;
using vxtest::TestSchema;

namespace {

constexpr double kH = TestSchema::kHour;
constexpr double kMin = TestSchema::kMinute;
constexpr double kSec = kMin / 60;

// Within half a millisecond.
::testing::AssertionResult SameTime(double a, double b) {
  if (std::fabs(a - b) * 86400000 < 0.5) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << a << " vs " << b << " (" << (a - b) * 86400 << " s apart)";
}

}  // namespace

TEST(SchemaModel, ANewControl) {
  const double before = Now();
  TvxSchema s(nullptr);
  const double after = Now();
  EXPECT_EQ(s.GetColumns()->Count(), 0);
  EXPECT_EQ(s.GetLayers()->Count(), 0);
  EXPECT_EQ(s.GetSchemaColor(), 32768);
  EXPECT_EQ(s.GetSchemaPyjamasColor(), 32896);
  EXPECT_TRUE(s.GetStartSnapONOFF());
  EXPECT_TRUE(s.GetLengthSnapONOFF());
  EXPECT_TRUE(SameTime(s.GetStartSnap(), 5 * kMin));
  EXPECT_TRUE(SameTime(s.GetLengthSnap(), kMin));
  EXPECT_GE(s.GetScalerStart(), before - kSec);
  EXPECT_LE(s.GetScalerStart(), after + kSec);
  EXPECT_TRUE(SameTime(s.GetScalerStop() - s.GetScalerStart(), 31));
  EXPECT_FALSE(s.GetFlipView());
  EXPECT_TRUE(s.GetCollisionDetect());
  EXPECT_FALSE(s.GetCollisionDetectBetweenDataList());
  EXPECT_TRUE(s.GetShowBigONOFF());
  EXPECT_TRUE(s.GetResizeAllCol());
  EXPECT_FALSE(s.GetMoveInTimeWhenColSwitch());
  EXPECT_FALSE(s.GetDrawShortLines());
  EXPECT_FALSE(s.GetTodayLineOnOff());
  EXPECT_EQ(s.GetTodayLineColor(), 0);
  EXPECT_TRUE(s.GetTimeItemAutoScroll());
  EXPECT_FALSE(s.GetStartDragWhenTimeMoveOutside());
  EXPECT_EQ(s.GetScrollVisibility(), svWhenNeeded);
  EXPECT_EQ(s.GetDrawLayerArray(), (TDrawLayerArray{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(s.GetActiveDataEntity(), nullptr);
  EXPECT_EQ(s.HeaderFromColumn(-1), "???");
  EXPECT_EQ(s.HeaderFromColumn(0), "???");
  // The time axis writes its labels along it: across it they do not fit.
  EXPECT_TRUE(s.GetVerticalText());
  // Menus the control refers to may go first.
  auto* menu = new TPopupMenu(nullptr);
  s.SetPopupSchema(menu);
  s.SetHeaderPopupmenu(menu);
  EXPECT_EQ(s.GetHeaderPopupmenu(), menu);
  delete menu;
  EXPECT_EQ(s.GetPopupSchema(), nullptr);
  EXPECT_EQ(s.GetHeaderPopupmenu(), nullptr);
  // The children, by their names; the inner corner (70, header height) until
  // the deferred scaler width of 50 arrives.
  EXPECT_EQ(s.GetScaler()->GetName(), "Scaler");
  EXPECT_EQ(s.GetSchemaArea()->GetName(), "SchemaArea");
  EXPECT_EQ(s.GetHeader()->GetName(), "Header");
  EXPECT_EQ(s.GetFlippedHeader()->GetName(), "FlippedHeader");
  EXPECT_EQ(s.GetXYSizer()->GetName(), "itsXYSizer");
  EXPECT_FALSE(s.GetFlippedHeader()->GetVisible());
  EXPECT_EQ(s.GetQuadPoint(), Point(70, s.GetHeader()->GetHeight()));
  EXPECT_EQ(s.GetFlippedQuadPoint(), Point(70, 50));
  EXPECT_EQ(s.GetScalerWidth(), 70);
  TDoLater::DoAllNow();
  EXPECT_EQ(s.GetScalerWidth(), 50);
  EXPECT_EQ(s.GetScaler()->GetBoundsRect(), Rect(0, s.GetQuadPoint().Y, 50, s.GetHeight()));
  // The background pattern: a 2 x 2 checker of the two colours.
  TCanvas* p = s.GetPyjamasBitMap()->GetCanvas();
  EXPECT_EQ(p->GetPixel(0, 0), 32768);
  EXPECT_EQ(p->GetPixel(1, 1), 32768);
  EXPECT_EQ(p->GetPixel(1, 0), 32896);
  EXPECT_EQ(p->GetPixel(0, 1), 32896);
  s.SetSchemaPyjamasColor(clRed);
  EXPECT_EQ(s.GetPyjamasBitMap()->GetCanvas()->GetPixel(1, 0), clRed);
}

TEST(SchemaModel, LayersBookingsAndTheirTexts) {
  TestSchema s;
  // AddSchemaTime(3) on a control without layers makes layers 0 to 3.
  TvxDataEntity_SchemaTime* e = s.AddSchemaTime(3);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(s.GetLayers()->Count(), 4);
  EXPECT_EQ(e->GetDataList(), s.GetLayers()->GetDataList(3));
  EXPECT_EQ(e->GetSchema(), &s);
  EXPECT_EQ(s.AddSchemaTime(-1), nullptr);
  EXPECT_EQ(s.GetLayers()->Count(), 4);
  // A new booking: white, framed black, no text, drawn by the control.
  EXPECT_EQ(e->GetBackColor(), clWhite);
  EXPECT_EQ(e->GetFrameColor(), clBlack);
  EXPECT_EQ(e->TextCount(), 0);
  EXPECT_EQ(e->GetStyle(), tssNormal);
  EXPECT_EQ(e->GetCol(), 0);

  // Text lines: out-of-range indexes read and write nothing.
  e->AddText("first", 2, 3, 1);
  e->AddText("second", 4, 5, 2);
  std::string text = "unchanged";
  int x = -1, y = -1, style = -1;
  EXPECT_TRUE(e->GetText(1, text, x, y, style));
  EXPECT_EQ(text, "second");
  EXPECT_EQ(x, 4);
  EXPECT_EQ(y, 5);
  EXPECT_EQ(style, 2);
  e->AlterText(0, "altered", 7, 8, 3);
  e->SetText(5, "nowhere", 0, 0, 0);
  e->AlterText(-1, "nowhere", 0, 0, 0);
  EXPECT_EQ(e->TextCount(), 2);
  EXPECT_TRUE(e->GetText(0, text, x, y, style));
  EXPECT_EQ(text, "altered");
  EXPECT_EQ(style, 3);
  text = "kept";
  EXPECT_FALSE(e->GetText(2, text, x, y, style));
  EXPECT_EQ(text, "kept");

  // Found by user reference, layer by layer.
  int tag = 0;
  TvxDataEntity_SchemaTime* other = s.AddSchemaTime(1);
  other->SetUserReference(&tag);
  EXPECT_EQ(s.FindSchemaTimeObjectFromUserReference(&tag), other);
  EXPECT_EQ(s.FindSchemaTimeObjectFromUserReference(&x), nullptr);
  s.RemoveSchemaTime(nullptr);
  s.RemoveSchemaTime(other);
  EXPECT_EQ(s.FindSchemaTimeObjectFromUserReference(&tag), nullptr);
  EXPECT_EQ(s.GetLayers()->GetDataList(1)->Count(), 0);

  // Checked casts.
  EXPECT_EQ(DataEntity_Schema(e), e);
  TvxDataEntity_SchemaColumn* c = s.AddColumn();
  EXPECT_THROW(DataEntity_Schema(c), EInvalidCast);
  EXPECT_THROW(DataEntity_SchemaColumn(e), EInvalidCast);
  TDateTime start, stop;
  int col;
  EXPECT_THROW(s.GetStartStopDateAndCol(c, start, stop, col), EInvalidCast);
}

TEST(SchemaModel, TimesRelativeToTheirColumn) {
  TestSchema s;
  s.Column("today");
  s.Column("tomorrow", 1);
  s.Column("next week", 7);
  TvxDataEntity_SchemaTime* e = s.Item(1, 10, 11);
  TDateTime start, stop;
  int col;
  s.GetStartStopDateAndCol(e, start, stop, col);
  EXPECT_EQ(col, 1);
  EXPECT_TRUE(SameTime(start, TestSchema::kDay0 + 10 * kH));
  EXPECT_TRUE(SameTime(stop, TestSchema::kDay0 + 11 * kH));
  // Outside the column list a booking's relative times read 0.
  e->SetCol(9);
  s.GetStartStopDateAndCol(e, start, stop, col);
  EXPECT_EQ(col, 9);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(stop, 0);
}

TEST(SchemaModel, SetStartStopDateAndColClampsSnapsAndReportsOnce) {
  TestSchema s;
  s.Column("a");
  s.Column("b", 1);
  s.Column("c", 7);
  TvxDataEntity_SchemaTime* e = s.Item(0, 10, 11);
  int changes = 0, values = 0, switches = 0;
  s.OnChangeDataEntity_SchemaTime = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* t) {
    EXPECT_EQ(t, e);
    ++changes;
  };
  s.OnValueChanged_SchemaTime = [&](TObject*, TvxDataEntity*) { ++values; };
  s.OnSwitchCol = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime*, int, int&) { ++switches; };
  const double d0 = TestSchema::kDay0;

  // Start, stop and column at once: one notification of each kind.
  s.SetMoveInTimeWhenColSwitch(true);
  s.SetStartStopDateAndCol(e, d0 + 12 * kH + 2 * kMin, d0 + 13 * kH, 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(values, 1);
  EXPECT_EQ(switches, 1);
  EXPECT_EQ(e->GetCol(), 1);
  // Relative times on column 1 (offset one day), the start snapped to 5 minutes.
  EXPECT_TRUE(SameTime(e->GetStartDateTime(), d0 + 1 + 12 * kH));
  EXPECT_TRUE(SameTime(e->GetStopDateTime(), d0 + 1 + 12 * kH + 58 * kMin));
  // Nothing changes: still one notification.
  s.SetStartStopDateAndCol(e, d0 + 12 * kH, d0 + 12 * kH + 58 * kMin, 1);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(values, 2);

  // Columns are clamped to the list.
  s.SetStartStopDateAndCol(e, d0 + 12 * kH, d0 + 13 * kH, -5);
  EXPECT_EQ(e->GetCol(), 0);
  s.SetStartStopDateAndCol(e, d0 + 12 * kH, d0 + 13 * kH, 99);
  EXPECT_EQ(e->GetCol(), 2);

  // Without MoveInTimeWhenColSwitch a column switch keeps the absolute times,
  // though the columns' offsets differ.
  s.SetMoveInTimeWhenColSwitch(false);
  const double absStart = e->GetStartDateTime(), absStop = e->GetStopDateTime();
  s.SetStartStopDateAndCol(e, d0 + 9 * kH, d0 + 10 * kH, 1);
  EXPECT_EQ(e->GetCol(), 1);
  EXPECT_EQ(e->GetStartDateTime(), absStart);
  EXPECT_EQ(e->GetStopDateTime(), absStop);

  // OnSwitchCol may pick another column (kept within the list).
  s.OnSwitchCol = [](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime*, int, int& theNew) { theNew = 40; };
  s.SetStartStopDateAndCol(e, d0, d0 + kH, 0);
  EXPECT_EQ(e->GetCol(), 2);

  // A booking that may not be edited is left alone, without a notification.
  const int before = changes;
  s.OnBeforeCanEditItem_SchemaTime = [](TObject*, TvxDataEntity* t) { t->SetCanEdit(false); };
  s.SetStartStopDateAndCol(e, d0, d0 + kH, 0);
  EXPECT_EQ(e->GetCol(), 2);
  EXPECT_EQ(changes, before);

  // Changes outside SetStartStopDateAndCol report each value.
  s.OnBeforeCanEditItem_SchemaTime = nullptr;
  e->SetStartDateTime(d0 + 3 * kH);
  e->SetStartDateTime(d0 + 3 * kH);  // equal: nothing
  e->SetCol(0);
  EXPECT_EQ(changes, before + 2);
}

TEST(SchemaModel, SnappingCountsFromEachDaysMidnight) {
  TestSchema s;
  const double d = TestSchema::kDay0 + 3;
  auto snapStart = [&](double t) {
    double len = 0;
    s.Snap(t, len);
    return t;
  };
  // 5-minute grid: halves go to the even multiple.
  EXPECT_TRUE(SameTime(snapStart(d + 10 * kH + 2 * kMin + 31 * kSec), d + 10 * kH + 5 * kMin));
  EXPECT_TRUE(SameTime(snapStart(d + 10 * kH + 2 * kMin + 29 * kSec), d + 10 * kH));
  EXPECT_TRUE(SameTime(snapStart(d + 10 * kH + 2 * kMin + 30 * kSec), d + 10 * kH));
  EXPECT_TRUE(SameTime(snapStart(d + 10 * kH + 7 * kMin + 30 * kSec), d + 10 * kH + 10 * kMin));
  // A 7-minute grid restarts at every midnight.
  s.SetStartSnap(7 * kMin);
  EXPECT_TRUE(SameTime(snapStart(d + 2 * kMin), d));
  EXPECT_TRUE(SameTime(snapStart(d + 1 + 5 * kMin), d + 1 + 7 * kMin));
  // Lengths snap to the minute.
  double start = d, len = 44 * kMin + 40 * kSec;
  s.Snap(start, len);
  EXPECT_TRUE(SameTime(len, 45 * kMin));
  // Switched off nothing snaps.
  s.SetStartSnapONOFF(false);
  EXPECT_TRUE(SameTime(snapStart(d + 2 * kMin), d + 2 * kMin));
  s.SetStartSnapONOFF(true);
  // A step that is no time, or longer than a year, is ignored: the last one stays.
  for (double bad : {0.0, -1.0, std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, 367.0}) {
    s.SetStartSnap(bad);
    s.SetLengthSnap(bad);
    EXPECT_EQ(s.GetStartSnap(), 7 * kMin) << bad;
    EXPECT_EQ(s.GetLengthSnap(), kMin) << bad;
  }
  EXPECT_TRUE(SameTime(snapStart(d + 1 + 5 * kMin), d + 1 + 7 * kMin));
}

TEST(SchemaModel, BookingNotificationsReachTheApplication) {
  TestSchema s;
  s.Column("a");
  std::vector<std::string> log;
  s.OnInsertItem_SchemaTime = [&](TObject* c, TvxDataEntity*) { log.push_back(c == &s ? "insert" : "?"); };
  s.OnContentChanged_SchemaTime = [&](TObject*, TvxDataList*) { log.push_back("content"); };
  s.OnDeleteItem_SchemaTime = [&](TObject*, TvxDataEntity*) { log.push_back("delete"); };
  s.OnSelectionChanged = [&](TObject* c) { log.push_back(c == &s ? "selection" : "?"); };
  s.OnSelectionChanged_SchemaTime = [&](TObject*, TvxDataList*, TvxDataEntity*) { log.push_back("selection item"); };
  TvxDataEntity_SchemaTime* e = s.AddSchemaTime(0);
  e->SetSelected(true);
  s.SetActiveDataEntity(e);
  EXPECT_EQ(s.GetActiveDataEntity(), e);
  s.RemoveSchemaTime(e);
  // A deleted active booking stops being active.
  EXPECT_EQ(s.GetActiveDataEntity(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"insert", "content", "selection", "selection item", "delete", "content"}));
}

TEST(SchemaModel, GoesWithItsBookingsAndTheirOwnedObjects) {
  // Columns own their data objects; everything goes with the control
  // (LeakSanitizer watches), and the application hears of the deletions.
  static int alive = 0;
  struct Tracked : TObject {
    Tracked() { ++alive; }
    ~Tracked() override { --alive; }
  };
  int deleted = 0;
  {
    auto s = std::make_unique<TestSchema>();
    s->OnInitColumnDataObject = [](TvxSchema_ComBasic*, TvxDataEntity_SchemaColumn*) { return new Tracked; };
    for (int c = 0; c < 5; ++c) s->Column("c" + std::to_string(c));
    EXPECT_EQ(alive, 5);
    EXPECT_NE(s->GetColumns()->GetColumn(2)->GetDataObject(), nullptr);
    for (int i = 0; i < 50; ++i) s->Item(i % 5, 8 + i % 7, 9 + i % 7, i % 3)->AddText("t", 1, 1, 1);
    s->OnDeleteItem_SchemaTime = [&](TObject*, TvxDataEntity*) { ++deleted; };
    s->RemoveColumn(s->GetColumns()->GetColumn(0));
    EXPECT_EQ(alive, 4);
    s->UpdateSubColumns();  // pending when the control goes
  }
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(deleted, 50);
}
