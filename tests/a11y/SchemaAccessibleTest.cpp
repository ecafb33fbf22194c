// The schedule and the date scaler through Qt's accessibility: bookings with
// their column, times and text, focus events as the keys walk them, and the
// scaler's time window as its value.
#include <gtest/gtest.h>

#include <QAccessible>

#include "AccessibleSupport.h"
#include "SchemaMouseSupport.h"

using namespace vx;
using vxtest::ChildNames;
using vxtest::FocusRecorder;
using vxtest::MouseSchema;

namespace {

TvxDataEntity_SchemaTime* Named(TvxDataEntity_SchemaTime* e, const std::string& theName) {
  e->AddText(theName, 0, 0, 0);
  return e;
}

struct Scene {
  MouseSchema s{false};
  // The axis shows 08:00 to 10:40.
  TvxDataEntity_SchemaTime* a = Named(s.Item(1, 8.5, 9), "Standup");
  TvxDataEntity_SchemaTime* b = Named(s.Item(2, 9, 10.5), "Review");
  TvxDataEntity_SchemaTime* c = Named(s.Item(0, 8, 8.25, 1), "Lunch");
  Scene() {
    s.SetScalerDateFormat("yyyy-mm-dd");
    s.Settle();
  }
  QAccessibleInterface* Area() { return QAccessible::queryAccessibleInterface(s.GetSchemaArea()); }
};

TEST(SchemaAccessible, BookingsWithColumnTimesAndText) {
  Scene sc;
  sc.b->SetSelected(true);
  QAccessibleInterface* area = sc.Area();
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->role(), QAccessible::List);
  ASSERT_EQ(ChildNames(area), (std::vector<QString>{"Standup", "Review", "Lunch"}));
  struct Row {
    const char* description;
    bool selected;
  };
  const Row rows[] = {
      {"Column: c1, Start: 2025-12-09 08:30, Finish: 2025-12-09 09:00, Length: 00:30", false},
      {"Column: c2, Start: 2025-12-09 09:00, Finish: 2025-12-09 10:30, Length: 01:30", true},
      {"Column: c0, Start: 2025-12-09 08:00, Finish: 2025-12-09 08:15, Length: 00:15", false},
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    QAccessibleInterface* booking = area->child(i);
    vxtest::ExpectPlacedChild(area, booking);
    EXPECT_EQ(booking->role(), QAccessible::ListItem);
    EXPECT_EQ(booking->text(QAccessible::Description), rows[i].description);
    EXPECT_EQ(booking->state().selected, rows[i].selected);
    EXPECT_EQ(area->indexOfChild(booking), i);
  }
  // A booking that goes leaves nothing behind.
  const QAccessible::Id lunch = QAccessible::uniqueId(area->child(2));
  sc.s.RemoveSchemaTime(sc.c);
  sc.s.Settle();
  EXPECT_EQ(QAccessible::accessibleInterface(lunch), nullptr);
  EXPECT_EQ(ChildNames(sc.Area()), (std::vector<QString>{"Standup", "Review"}));
}

TEST(SchemaAccessible, KeysRaiseFocusOnTheSelectedBooking) {
  Scene sc;
  FocusRecorder recorder;
  sc.s.GetSchemaArea()->SetFocus();
  vxtest::ProcessEventsUntilIdle();
  vxtest::ExpectFocusWalk(recorder, sc.s.GetSchemaArea(),
                          {{Qt::Key_Right, "Standup"}, {Qt::Key_Down, "Review"}, {Qt::Key_Right, "Lunch"},
                           {Qt::Key_Up, "Review"}});
}

TEST(ScalerAccessible, TheTimeWindowIsItsValue) {
  Scene sc;
  QAccessibleInterface* scaler = QAccessible::queryAccessibleInterface(sc.s.GetScaler());
  ASSERT_NE(scaler, nullptr);
  EXPECT_EQ(scaler->role(), QAccessible::Slider);
  EXPECT_FALSE(scaler->text(QAccessible::Name).isEmpty());
  EXPECT_EQ(scaler->text(QAccessible::Value), QString::fromUtf8("2025-12-09 08:00 \u2013 2025-12-09 10:40"));
  EXPECT_EQ(scaler->childCount(), 0);
  sc.s.SetWindow(vxtest::TestSchema::kDay0, vxtest::TestSchema::kDay0 + 1);
  EXPECT_EQ(scaler->text(QAccessible::Value), QString::fromUtf8("2025-12-09 00:00 \u2013 2025-12-10 00:00"));
}

}  // namespace
