// The schedule's children keep their public events for the application:
// with every one of them taken by a counting handler, the schedule still
// paints, follows its axis, scrolls and takes the mouse.
#include <gtest/gtest.h>

#include "ChildEvents.h"
#include "SchemaMouseSupport.h"

using namespace vx;
using vxtest::MouseSchema;

namespace {

using Counts = vxtest::EventCounts;
using ChildEvent = vxtest::ChildEvent<MouseSchema>;

// A handler of any arguments that counts its calls under theName.
auto Count(Counts& theCounts, const char* theName) {
  return [&theCounts, theName](auto&&...) { ++theCounts[theName]; };
}

using S = MouseSchema;
const ChildEvent kChildEvents[] = {
    {"area OnPaint", [](S& s, Counts& c) { s.GetSchemaArea()->OnPaint = Count(c, "area OnPaint"); }, true},
    {"area OnMouseDown", [](S& s, Counts& c) { s.GetSchemaArea()->OnMouseDown = Count(c, "area OnMouseDown"); }, true},
    {"area OnMouseMove", [](S& s, Counts& c) { s.GetSchemaArea()->OnMouseMove = Count(c, "area OnMouseMove"); }, true},
    {"area OnMouseUp", [](S& s, Counts& c) { s.GetSchemaArea()->OnMouseUp = Count(c, "area OnMouseUp"); }, true},
    {"area OnResize", [](S& s, Counts& c) { s.GetSchemaArea()->OnResize = Count(c, "area OnResize"); }, true},
    {"area OnMouseLeave", [](S& s, Counts& c) { s.GetSchemaArea()->OnMouseLeave = Count(c, "area OnMouseLeave"); },
     false},
    {"area OnPrintResizeFont",
     [](S& s, Counts& c) { s.GetSchemaArea()->OnPrintResizeFont = Count(c, "area OnPrintResizeFont"); }, false},
    {"scaler OnChange", [](S& s, Counts& c) { s.GetScaler()->OnChange = Count(c, "scaler OnChange"); }, true},
    {"header OnResize", [](S& s, Counts& c) { s.GetHeader()->OnResize = Count(c, "header OnResize"); }, false},
    {"header OnSectionResize",
     [](S& s, Counts& c) { s.GetHeader()->OnSectionResize = Count(c, "header OnSectionResize"); }, false},
    {"flipped header OnDrawCell",
     [](S& s, Counts& c) { s.GetFlippedHeader()->OnDrawCell = Count(c, "flipped header OnDrawCell"); }, false},
    {"flipped header OnTopLeftChanged",
     [](S& s, Counts& c) { s.GetFlippedHeader()->OnTopLeftChanged = Count(c, "flipped header OnTopLeftChanged"); },
     false},
    {"sizer OnResize", [](S& s, Counts& c) { s.GetXYSizer()->OnResize = Count(c, "sizer OnResize"); }, false},
    {"column bar OnScroll",
     [](S& s, Counts& c) { s.GetColumnScrollBar()->OnScroll = Count(c, "column bar OnScroll"); }, true},
    {"preview timer OnTimer",
     [](S& s, Counts& c) { s.GetShowMeBigTimer()->SetOnTimer(Count(c, "preview timer OnTimer")); }, false},
    {"preview hide timer OnTimer",
     [](S& s, Counts& c) { s.GetHideShowMeBigTimer()->SetOnTimer(Count(c, "preview hide timer OnTimer")); }, false},
};

}  // namespace

TEST(SchemaChildEvents, TheApplicationsHandlersLeaveTheScheduleWorking) {
  // Every child's event taken at once: what one of them would still do
  // through another cannot hide a loss.
  // Declared before the schedule: its children still raise events as it goes.
  Counts counts;
  int scalerChanges = 0;
  MouseSchema s(false, 30);
  for (const ChildEvent& e : kChildEvents) e.take(s, counts);
  s.OnScalerChange = [&](TObject*) { ++scalerChanges; };
  TvxDataEntity_SchemaTime* e = s.Item(1, 9, 10);
  s.Settle();

  // The area paints the booking: its colour shows in the middle of its band.
  TRect r;
  s.RectFromDataEntity(false, e, r);
  TCanvas* shot = s.PaintArea();
  EXPECT_NE(shot->GetPixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), s.GetSchemaColor());

  // The mouse moves it half an hour later.
  s.Drag(s.At(1, 9.5), s.Shifted(s.At(1, 9.5), MouseSchema::Px(30)));
  s.Settle();
  EXPECT_EQ(e->GetStartDateTime(), MouseSchema::kDay0 + 9.5 * MouseSchema::kHour);

  // The axis moves and the schedule hears of it.
  s.SetWindow(MouseSchema::kDay0 + 9 * MouseSchema::kHour, MouseSchema::kDay0 + 12 * MouseSchema::kHour);
  EXPECT_GT(scalerChanges, 0);

  // The column bar scrolls the columns.
  TScrollBar* bar = s.GetColumnScrollBar();
  ASSERT_TRUE(bar->GetVisible());
  const TPoint before = s.At(3, 9.5);
  vxtest::UserScroll(bar, 2);
  s.Settle();
  EXPECT_NE(s.At(3, 9.5).X, before.X);

  // A new size reaches the area.
  s.SetBounds(0, 0, 700, 520);
  s.Settle();

  for (const ChildEvent& c : kChildEvents)
    EXPECT_TRUE(!c.raisedByTheDrive || counts[c.name] > 0) << c.name << " never raised";
}
