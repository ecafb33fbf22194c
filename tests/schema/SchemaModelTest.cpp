// The schedule's model: layers and bookings, text lines, times relative to
// columns, snapping and the notifications of a change.
#include <gtest/gtest.h>

#include <cmath>

#include "SchemaSupport.h"
#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/ui/Menus.h>

using namespace vx;
using vxtest::TestSchema;

namespace {

constexpr double kD0 = TestSchema::kDay0;
constexpr double kH = TestSchema::kHour;
constexpr double kMin = TestSchema::kMinute;
constexpr double kSec = kMin / 60;

// Within half a millisecond.
::testing::AssertionResult SameTime(double a, double b) {
  if (std::fabs(a - b) * 86400000 < 0.5) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << a << " vs " << b << " (" << (a - b) * 86400 << " s apart)";
}

}  // namespace

TEST(SchemaModel, LayersBookingsTextsMenusAndCasts) {
  TestSchema s;
  // Menus the control refers to may go first.
  auto* menu = new TPopupMenu(nullptr);
  s.SetPopupSchema(menu);
  s.SetHeaderPopupmenu(menu);
  delete menu;
  EXPECT_EQ(s.GetPopupSchema(), nullptr);
  EXPECT_EQ(s.GetHeaderPopupmenu(), nullptr);
  // AddSchemaTime(3) on a control without layers makes layers 0 to 3.
  TvxDataEntity_SchemaTime* e = s.AddSchemaTime(3);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(s.GetLayers()->Count(), 4);
  EXPECT_EQ(e->GetDataList(), s.GetLayers()->GetDataList(3));
  EXPECT_EQ(e->GetSchema(), &s);
  EXPECT_EQ(s.AddSchemaTime(-1), nullptr);
  EXPECT_EQ(s.GetLayers()->Count(), 4);

  // Text lines: out-of-range indexes read and write nothing.
  e->AddText("first", 2, 3, 1);
  e->AddText("second", 4, 5, 2);
  e->AlterText(0, "altered", 7, 8, 3);
  e->SetText(5, "nowhere", 0, 0, 0);
  e->AlterText(-1, "nowhere", 0, 0, 0);
  EXPECT_EQ(e->TextCount(), 2);
  std::string text;
  int x = -1, y = -1, style = -1;
  EXPECT_TRUE(e->GetText(0, text, x, y, style));
  EXPECT_EQ(text + std::to_string(x) + std::to_string(y) + std::to_string(style), "altered783");
  EXPECT_TRUE(e->GetText(1, text, x, y, style));
  EXPECT_EQ(text + std::to_string(x) + std::to_string(y) + std::to_string(style), "second452");
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

TEST(SchemaModel, SetStartStopDateAndColClampsSnapsAndReportsOnce) {
  TestSchema s;
  s.Column("a");
  s.Column("b", 1);
  s.Column("c", 7);
  TvxDataEntity_SchemaTime* e = s.Item(1, 10, 11);
  // Read back relative to the column; outside the column list they read 0.
  TDateTime start, stop;
  int col;
  s.GetStartStopDateAndCol(e, start, stop, col);
  EXPECT_EQ(col, 1);
  EXPECT_TRUE(SameTime(start, kD0 + 10 * kH));
  EXPECT_TRUE(SameTime(stop, kD0 + 11 * kH));
  e->SetCol(9);
  s.GetStartStopDateAndCol(e, start, stop, col);
  EXPECT_EQ(col, 9);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(stop, 0);

  e->SetCol(0);
  int changes = 0, values = 0, switches = 0;
  s.OnChangeDataEntity_SchemaTime = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* t) {
    EXPECT_EQ(t, e);
    ++changes;
  };
  s.OnValueChanged_SchemaTime = [&](TObject*, TvxDataEntity*) { ++values; };
  s.OnSwitchCol = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime*, int, int&) { ++switches; };

  // Start, stop and column at once: one notification of each kind.
  s.SetMoveInTimeWhenColSwitch(true);
  s.SetStartStopDateAndCol(e, kD0 + 12 * kH + 2 * kMin, kD0 + 13 * kH, 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(values, 1);
  EXPECT_EQ(switches, 1);
  EXPECT_EQ(e->GetCol(), 1);
  // Relative times on column 1 (offset one day), the start snapped to 5 minutes.
  EXPECT_TRUE(SameTime(e->GetStartDateTime(), kD0 + 1 + 12 * kH));
  EXPECT_TRUE(SameTime(e->GetStopDateTime(), kD0 + 1 + 12 * kH + 58 * kMin));
  // Nothing changes: still one notification.
  s.SetStartStopDateAndCol(e, kD0 + 12 * kH, kD0 + 12 * kH + 58 * kMin, 1);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(values, 2);

  // Columns are clamped to the list.
  for (auto [asked, got] : {std::pair{-5, 0}, std::pair{99, 2}}) {
    s.SetStartStopDateAndCol(e, kD0 + 12 * kH, kD0 + 13 * kH, asked);
    EXPECT_EQ(e->GetCol(), got) << asked;
  }

  // Without MoveInTimeWhenColSwitch a column switch keeps the absolute times,
  // though the columns' offsets differ.
  s.SetMoveInTimeWhenColSwitch(false);
  const double absStart = e->GetStartDateTime(), absStop = e->GetStopDateTime();
  s.SetStartStopDateAndCol(e, kD0 + 9 * kH, kD0 + 10 * kH, 1);
  EXPECT_EQ(e->GetCol(), 1);
  EXPECT_EQ(e->GetStartDateTime(), absStart);
  EXPECT_EQ(e->GetStopDateTime(), absStop);

  // OnSwitchCol may pick another column (kept within the list).
  s.OnSwitchCol = [](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime*, int, int& theNew) { theNew = 40; };
  s.SetStartStopDateAndCol(e, kD0, kD0 + kH, 0);
  EXPECT_EQ(e->GetCol(), 2);

  // A booking that may not be edited is left alone, without a notification.
  const int before = changes;
  s.OnBeforeCanEditItem_SchemaTime = [](TObject*, TvxDataEntity* t) { t->SetCanEdit(false); };
  s.SetStartStopDateAndCol(e, kD0, kD0 + kH, 0);
  EXPECT_EQ(e->GetCol(), 2);
  EXPECT_EQ(changes, before);

  // Changes outside SetStartStopDateAndCol report each value.
  s.OnBeforeCanEditItem_SchemaTime = nullptr;
  e->SetStartDateTime(kD0 + 3 * kH);
  e->SetStartDateTime(kD0 + 3 * kH);  // equal: nothing
  e->SetCol(0);
  EXPECT_EQ(changes, before + 2);
}

TEST(SchemaModel, SnappingCountsFromEachDaysMidnight) {
  TestSchema s;
  const double d = kD0 + 3;
  struct Row {
    double step, at, snapped;
  };
  // A 5-minute grid sends halves to the even multiple; a 7-minute grid
  // restarts at every midnight.
  const Row rows[] = {
      {5 * kMin, d + 10 * kH + 2 * kMin + 31 * kSec, d + 10 * kH + 5 * kMin},
      {5 * kMin, d + 10 * kH + 2 * kMin + 29 * kSec, d + 10 * kH},
      {5 * kMin, d + 10 * kH + 2 * kMin + 30 * kSec, d + 10 * kH},
      {5 * kMin, d + 10 * kH + 7 * kMin + 30 * kSec, d + 10 * kH + 10 * kMin},
      {7 * kMin, d + 2 * kMin, d},
      {7 * kMin, d + 1 + 5 * kMin, d + 1 + 7 * kMin},
  };
  for (const Row& r : rows) {
    s.SetStartSnap(r.step);
    double t = r.at, len = 0;
    s.Snap(t, len);
    EXPECT_TRUE(SameTime(t, r.snapped)) << (r.at - d) * 1440;
  }
  // Lengths snap to the minute.
  double start = d, len = 44 * kMin + 40 * kSec;
  s.Snap(start, len);
  EXPECT_TRUE(SameTime(len, 45 * kMin));
  // Switched off nothing snaps.
  s.SetStartSnapONOFF(false);
  start = d + 2 * kMin;
  s.Snap(start, len);
  EXPECT_TRUE(SameTime(start, d + 2 * kMin));
  // A step that is no time, or longer than a year, is ignored: the last one stays.
  for (double bad : {0.0, -1.0, std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, 367.0}) {
    s.SetStartSnap(bad);
    s.SetLengthSnap(bad);
    EXPECT_EQ(s.GetStartSnap(), 7 * kMin) << bad;
    EXPECT_EQ(s.GetLengthSnap(), kMin) << bad;
  }
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
    for (int i = 0; i < 50; ++i) s->Item(i % 5, 8 + i % 7, 9 + i % 7, i % 3)->AddText("t", 1, 1, 1);
    s->OnDeleteItem_SchemaTime = [&](TObject*, TvxDataEntity*) { ++deleted; };
    s->RemoveColumn(s->GetColumns()->GetColumn(0));
    EXPECT_EQ(alive, 4);
    s->UpdateSubColumns();  // pending when the control goes
  }
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(deleted, 50);
}

namespace {

// A part of every kind the schedule makes through its factories.
struct MyScaler : TvxDateScaler {
  using TvxDateScaler::TvxDateScaler;
};
struct MyColumns : TDataListColumns {};
struct MyLayer : TvxDataList {};
struct MyLayers : TvxDataList2lev {};
struct MyColumn : TvxDataEntity_SchemaColumn {};
struct MyBooking : TvxDataEntity_SchemaTime {};

class SubstitutingSchema : public TvxSchema {
public:
  SubstitutingSchema() : TvxSchema(nullptr, DeferInitialize{}) { InitializeInConstructor(); }

protected:
  TvxDataList* CreateDataList() override { return new MyLayer; }
  TvxDateScaler* CreateDateScaler(TComponent* theOwner) override { return new MyScaler(theOwner); }
  TDataListColumns* CreateColumnsCollection() override { return new MyColumns; }
  TvxDataList2lev* Create2LevList() override { return new MyLayers; }
  TvxDataEntityClass ClassOfDataEntity_SchemaColumn() override { return TvxDataEntityClass::Of<MyColumn>(); }
  TvxDataEntityClass ClassOfDataEntity_SchemaTime() override { return TvxDataEntityClass::Of<MyBooking>(); }
};

template <class T, class U>
bool Is(U* theObject) {
  return dynamic_cast<T*>(theObject) != nullptr;
}

}  // namespace

TEST(SchemaModel, ADescendantsFactoriesMakeItsParts) {
  SubstitutingSchema s;
  EXPECT_TRUE(Is<MyScaler>(s.GetScaler()));
  EXPECT_TRUE(Is<MyColumns>(s.GetColumns()));
  EXPECT_TRUE(Is<MyLayers>(s.GetLayers()));
  EXPECT_TRUE(Is<MyColumn>(s.AddColumn()));
  TvxDataEntity_SchemaTime* e = s.AddSchemaTime(1);
  EXPECT_TRUE(Is<MyBooking>(e));
  EXPECT_TRUE(Is<MyLayer>(s.GetLayers()->GetDataList(0)));
  EXPECT_TRUE(Is<MyLayer>(s.AddDataList()));
  EXPECT_TRUE(Is<MyBooking>(s.GetLayers()->GetDataList(2)->Add()));
  EXPECT_EQ(s.GetClassOfDataEntity_SchemaTime(), TvxDataEntityClass::Of<MyBooking>());
  // The substitutes work as the parts they stand for.
  e->SetCol(0);
  e->SetStartDateTime(s.GetScaler()->GetStart());
  e->SetStopDateTime(s.GetScaler()->GetStart() + kH);
  TRect r;
  EXPECT_TRUE(s.RectFromDataEntity(false, e, r));
}

// OnScalerChange names the scaler, after the repaint that shows the
// change; a handler may move the window again.
TEST(SchemaModel, ScalerChangesAreToldWithTheScaler) {
  TestSchema s;
  vxtest::ShowWindow(&s);
  std::vector<double> starts;
  s.OnScalerChange = [&](TObject* sender) {
    EXPECT_EQ(sender, s.GetScaler());
    starts.push_back(s.GetScaler()->GetStart());
  };
  s.SetWindow(kD0 + 9 * kH, kD0 + 17 * kH);
  ASSERT_FALSE(starts.empty());
  EXPECT_TRUE(SameTime(starts.back(), kD0 + 9 * kH));
  s.OnScalerChange = [&](TObject*) {
    starts.push_back(s.GetScaler()->GetStart());
    if (starts.size() == 1) s.GetScaler()->SetStart(kD0 + 7 * kH);
  };
  starts.clear();
  s.SetWindow(kD0 + 10 * kH, kD0 + 17 * kH);
  ASSERT_GE(starts.size(), 2u);
  EXPECT_TRUE(SameTime(s.GetScaler()->GetStart(), kD0 + 7 * kH));
  EXPECT_TRUE(SameTime(starts.back(), kD0 + 7 * kH));
}
