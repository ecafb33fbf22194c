// The schedule's keys, menus, time hint and preview, and the presses on the
// column header and the title grid, through Qt's real event delivery.
#include <gtest/gtest.h>

#include <QTest>
#include <cmath>

#include "SchemaMouseSupport.h"
#include <vxplan/platform/ui/Menus.h>

using namespace vx;
using vxtest::MouseSchema;
using vxtest::TestSchema;

namespace {

constexpr double kDay0 = TestSchema::kDay0;

double Minutes(TDateTime t) { return (t - kDay0) * 1440; }

}  // namespace

// The arrow's direction on the screen is the way the selection moves: along
// the time axis (down normal, right flipped) in time, across it to the next
// or previous column (row). Ctrl steps by the start snap (a minute without
// snapping), Ctrl+Shift by the start snap or, with a snap of a minute, ten.
TEST(SchemaKeys, CtrlStepsTheSelectionTheWayTheArrowPoints) {
  enum Dir { dLater, dEarlier, dNext, dPrevious };
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, both = Qt::ControlModifier | Qt::ShiftModifier;
  struct Step {
    Dir dir;
    Qt::KeyboardModifiers modifiers;
    double snap;   // minutes; below 0: that step with snapping off
    double start;  // minutes of the selected booking a afterwards
    int col, colOfB;
  };
  // One after the other on the same bookings.
  const Step steps[] = {
      {dLater, both, 15, 615, 1, 2},    {dLater, ctrl, 15, 630, 1, 2},    {dEarlier, ctrl, 15, 615, 1, 2},
      {dLater, both, 1, 625, 1, 2},     {dEarlier, ctrl, 1, 624, 1, 2},   {dEarlier, ctrl, 1, 623, 1, 2},
      {dLater, ctrl, -15, 624, 1, 2},   {dNext, ctrl, 1, 624, 2, 3},      {dPrevious, ctrl, 1, 624, 1, 2},
      {dPrevious, ctrl, 1, 624, 0, 1},  {dPrevious, ctrl, 1, 624, 0, 0},
  };
  for (bool flipped : {false, true}) {
    MouseSchema s(flipped);
    TvxDataEntity_SchemaTime* a = s.Item(1, 10, 11);
    TvxDataEntity_SchemaTime* b = s.Item(2, 12, 13);
    TvxDataEntity_SchemaTime* c = s.Item(3, 9, 10);
    a->SetSelected(true);
    b->SetSelected(true);
    s.Settle();
    s.Area()->SetFocus();
    const Qt::Key keys[] = {flipped ? Qt::Key_Right : Qt::Key_Down, flipped ? Qt::Key_Left : Qt::Key_Up,
                            flipped ? Qt::Key_Down : Qt::Key_Right, flipped ? Qt::Key_Up : Qt::Key_Left};
    for (const Step& step : steps) {
      SCOPED_TRACE(std::to_string(&step - steps));
      s.SetStartSnapONOFF(step.snap > 0);
      s.SetStartSnap(std::fabs(step.snap) / 1440);
      vxtest::KeyClick(s.Area(), keys[step.dir], step.modifiers);
      s.Settle();
      EXPECT_NEAR(Minutes(a->GetStartDateTime()), step.start, 1e-6);
      EXPECT_NEAR(Minutes(a->GetStopDateTime()) - Minutes(a->GetStartDateTime()), 60, 1e-6);
      EXPECT_EQ(a->GetCol(), step.col);
      EXPECT_EQ(b->GetCol(), step.colOfB);
    }
    EXPECT_NEAR(Minutes(b->GetStartDateTime()), 744, 1e-6);
    EXPECT_NEAR(Minutes(c->GetStartDateTime()), 540, 1e-6);  // not selected
    // Shift alone does nothing; the host hears every key.
    std::vector<unsigned short> heard;
    s.OnKeyDown = [&](TObject*, unsigned short& k, TShiftState) {
      if (k != VK_SHIFT && k != VK_CONTROL) heard.push_back(k);
    };
    vxtest::KeyClick(s.Area(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_NEAR(Minutes(a->GetStartDateTime()), 624, 1e-6);
    EXPECT_TRUE(a->GetSelected() && b->GetSelected());
    EXPECT_EQ(heard, std::vector<unsigned short>{VK_DOWN});
  }
}

TEST(SchemaKeys, ArrowsWalkTheBookingsInListOrder) {
  MouseSchema s(false);
  TvxDataEntity_SchemaTime* a = s.Item(1, 10, 11);
  TvxDataEntity_SchemaTime* b = s.Item(2, 12, 13);
  TvxDataEntity_SchemaTime* c = s.Item(0, 9, 10, 1);  // a second layer comes after
  s.Settle();
  std::vector<std::pair<TvxDataEntity_SchemaTime*, double>> hints;
  s.OnSchemaHintInfo = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, TDateTime start, TDateTime length, int,
                           int) { hints.push_back({e, start + length}); };
  s.Area()->SetFocus();
  // Right and down step forward, round to the first; up and left back.
  const std::pair<Qt::Key, TvxDataEntity_SchemaTime*> walk[] = {
      {Qt::Key_Right, a}, {Qt::Key_Down, b}, {Qt::Key_Right, c},
      {Qt::Key_Right, a}, {Qt::Key_Up, c},   {Qt::Key_Left, b}};
  for (const auto& [key, selected] : walk) {
    vxtest::KeyClick(s.Area(), key);
    for (TvxDataEntity_SchemaTime* e : {a, b, c}) EXPECT_EQ(e->GetSelected(), e == selected) << key;
  }
  ASSERT_EQ(hints.size(), 6u);
  EXPECT_EQ(hints.back().first, b);
  EXPECT_EQ(hints.back().second, 0);  // the booking with zeros
}

TEST(SchemaKeys, TheItemMenuByRightClickAndByTheMenuKey) {
  for (bool flipped : {false, true}) {
    MouseSchema s(flipped);
    TvxDataEntity_SchemaTime* a = s.Item(1, 9, 9.5);
    TvxDataEntity_SchemaTime* b = s.Item(3, 9.75, 10.25);
    s.Settle();
    TPopupMenu items(nullptr), standard(nullptr);
    items.GetItems()->Add(new TMenuItem(nullptr));
    standard.GetItems()->Add(new TMenuItem(nullptr));
    s.SetPopupSchema(&items);
    s.SetPopupMenu(&standard);
    // A right press on a booking: the item menu, for that booking.
    s.Press(s.At(1, 9.25), Qt::RightButton);
    EXPECT_TRUE(items.IsShown());
    EXPECT_FALSE(standard.IsShown());
    EXPECT_EQ(s.GetPopupSelectedDataEntity(), a);
    EXPECT_TRUE(a->GetSelected());
    items.CloseMenu();
    s.Release(s.At(1, 9.25), Qt::RightButton);
    // On empty space the control's own menu.
    s.Press(s.At(4, 9.25), Qt::RightButton);
    EXPECT_TRUE(standard.IsShown());
    EXPECT_EQ(s.GetPopupSelectedDataEntity(), nullptr);
    standard.CloseMenu();
    s.Release(s.At(4, 9.25), Qt::RightButton);
    // The menu key: the first selected booking's menu, below its bottom-left corner.
    b->SetSelected(true);
    s.Area()->SetFocus();
    vxtest::KeyClick(s.Area(), Qt::Key_Menu, Qt::ShiftModifier);
    EXPECT_FALSE(items.IsShown());
    std::vector<unsigned short> heard;
    s.OnKeyDown = [&](TObject*, unsigned short& k, TShiftState) { heard.push_back(k); };
    vxtest::KeyClick(s.Area(), Qt::Key_Menu);
    EXPECT_TRUE(items.IsShown());
    EXPECT_EQ(s.GetPopupSelectedDataEntity(), b);
    EXPECT_EQ(heard, std::vector<unsigned short>{0});  // consumed
    items.CloseMenu();
    // The booking goes: the menu's handlers find none.
    s.RemoveSchemaTime(b);
    EXPECT_EQ(s.GetPopupSelectedDataEntity(), nullptr);
    s.SetPopupSchema(nullptr);
    s.SetPopupMenu(nullptr);
    vxtest::ProcessEventsUntilIdle();
  }
}

// The hint names the date with the start, and stands beside the pointer,
// inside the screen, as large as its text.
TEST(SchemaHints, TheTimeHintBesideThePointerAndThePreview) {
  for (bool flipped : {false, true}) {
    MouseSchema s(flipped);
    TvxDataEntity_SchemaTime* e = s.Item(3, 9, 9.5);
    e->SetBackColor(0x00FF00);
    s.Settle();
    TvxSchema_ComBasicHintWindow* hint = s.GetHintWindow();
    TvxSchema_ComBasicHintWindow* big = s.GetShowMeBigWindow();
    s.GetShowMeBigTimer()->SetInterval(40);
    const TPoint over = s.At(3, 9.25);
    s.Move(s.Shifted(over, 1));
    s.Move(over);
    ASSERT_TRUE(hint->IsShowing());
    EXPECT_EQ(hint->GetCaption(), "Tue 9 Dec 09:00\r09:30\r00:30");
    const TPoint p = s.Area()->ClientToScreen(over);
    const TRect h = hint->GetBoundsRect(), screen = ScreenWorkArea(p);
    EXPECT_TRUE(h.Left == p.X + 16 || h.Right == p.X - 16) << h.Left << " " << p.X;
    EXPECT_TRUE(h.Top == p.Y + 16 || h.Bottom == p.Y - 16) << h.Top << " " << p.Y;
    EXPECT_TRUE(h.Left >= screen.Left && h.Top >= screen.Top && h.Right <= screen.Right && h.Bottom <= screen.Bottom);
    EXPECT_EQ(h.Width(), hint->CalcHintRect(400, hint->GetCaption()).Width());
    // The same caption again paints nothing.
    const int paints = hint->GetUpdateRequestCount();
    s.Move(s.Shifted(over, 0, 1));
    EXPECT_EQ(hint->GetUpdateRequestCount(), paints);

    // Held still, the preview shows beside the booking, and the hint goes.
    ASSERT_TRUE(MouseSchema::RunUntil([&] { return big->IsShowing(); }));
    EXPECT_FALSE(hint->IsShowing());
    TRect r;
    s.RectFromDataEntity(flipped, e, r);
    const TPoint at = s.Area()->ClientToScreen(Point(r.Left - 130 >= 0 ? r.Left - 130 : r.Right + 10, r.Top - 10));
    EXPECT_EQ(big->GetBoundsRect(), Rect(at.X, at.Y, at.X + 120, at.Y + 230));
    TBitmap shot;
    big->PaintTo(&shot);
    EXPECT_EQ(shot.GetCanvas()->GetPixel(60, 115), TColor(0x00FF00));  // the booking, enlarged
    // Off the bookings both go.
    s.Move(s.At(5, 10));
    EXPECT_FALSE(big->IsShowing());
    EXPECT_FALSE(hint->IsShowing());
    // The hide timer takes the preview away.
    s.GetHideShowMeBigTimer()->SetInterval(40);
    s.Move(over);
    EXPECT_TRUE(MouseSchema::RunUntil([&] { return big->IsShowing(); }));
    EXPECT_TRUE(MouseSchema::RunUntil([&] { return !big->IsShowing(); }));
    // Switched off, no preview.
    s.SetShowBigONOFF(false);
    s.Move(s.Shifted(over, 2));
    MouseSchema::RunFor(150);
    EXPECT_FALSE(big->IsShowing());

    // A host with a hint of its own hears everything and the window stays hidden.
    s.Move(s.At(5, 10));
    std::vector<std::string> heard;
    s.OnSchemaHintInfo = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* x, TDateTime start, TDateTime length,
                             int, int) {
      heard.push_back((x ? "item " : "none ") + std::to_string(start == 0 ? 0 : std::lround(Minutes(start))) + " " +
                      std::to_string(std::lround(length * 1440)));
    };
    s.Move(over);
    s.Move(s.At(5, 10));
    EXPECT_EQ(heard, (std::vector<std::string>{"item 540 30", "none 0 0"}));
    EXPECT_FALSE(hint->IsShowing());
    s.OnSchemaHintInfo = nullptr;
    // Leaving the area hides what the hover showed.
    s.Move(over);
    ASSERT_TRUE(hint->IsShowing());
    vxtest::MouseMove(s.GetScaler(), 5, 5);
    EXPECT_FALSE(hint->IsShowing());
  }
}

TEST(SchemaHeader, APressInTheResizeBandSizesAndOthersDragTheHeader) {
  for (bool flipped : {false, true}) {
    MouseSchema s(flipped);
    TControl* header = flipped ? static_cast<TControl*>(s.GetFlippedHeader()) : s.GetHeader();
    int starts = 0, ends = 0;
    s.SetOnHeaderStartDrag([&](TObject* sender, TObject*&) { starts += sender == header ? 1 : 0; });
    s.SetOnHeaderEndDrag([&](TObject*, TObject*, int, int) { ++ends; });
    // The header's own drag events are the application's too: setting them
    // leaves the schedule's header events working.
    int ownStarts = 0, ownEnds = 0;
    header->OnStartDrag = [&](TObject*, TObject*&) { ++ownStarts; };
    header->OnEndDrag = [&](TObject*, TObject*, int, int) { ++ownEnds; };
    const int size = flipped ? 40 : 50;
    int nearEdge = 0, farEdge = 0;
    s.ColumnToPixels(1, nearEdge, farEdge);
    auto point = [&](int along) { return flipped ? Point(10, along) : Point(along, 8); };
    auto press = [&](int along) {
      const TPoint p = point(along);
      vxtest::MousePress(header, p.X, p.Y);
    };
    auto release = [&](int along) {
      const TPoint p = point(along);
      vxtest::MouseRelease(header, p.X, p.Y);
    };
    // In the middle of a column: a drag of the header.
    press(nearEdge + size / 2);
    EXPECT_EQ(s.GetColumns()->GetDownHeaderCell(), 1);
    EXPECT_TRUE(header->Dragging());
    EXPECT_EQ(starts, 1);
    release(nearEdge + size / 2);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(ownStarts, 1);
    EXPECT_EQ(ownEnds, 1);
    // Three pixels before the far edge (flipped: the row's line): the header
    // sizes the column, no drag.
    const int grab = flipped ? farEdge - 4 : farEdge - 3;
    const int rowTop = s.GetFlippedHeader()->CellRect(0, 1).Top;
    press(grab);
    EXPECT_TRUE(s.GetColumns()->GetInResizeArea());
    EXPECT_FALSE(header->Dragging());
    const TPoint to = point(grab + 20);
    vxtest::MouseMove(header, to.X, to.Y);
    release(grab + 20);
    EXPECT_EQ(starts, 1);
    // The header keeps the grab's distance from the edge; the title grid sizes
    // the row from its top to the pointer.
    const int sized = flipped ? grab + 20 - rowTop : size + 20;
    EXPECT_EQ(s.GetColumns()->GetColumn(1)->GetWidth(), sized);
    EXPECT_EQ(s.GetColumns()->GetColumn(4)->GetWidth(), sized);  // every column with ResizeAllCol
    // Inside the five-pixel band but out of the header's own: neither.
    s.ColumnToPixels(1, nearEdge, farEdge);
    press(nearEdge + 4);
    EXPECT_TRUE(s.GetColumns()->GetInResizeArea());
    EXPECT_FALSE(header->Dragging());
    release(nearEdge + 4);
    EXPECT_EQ(s.GetColumns()->GetColumn(1)->GetWidth(), sized);
    EXPECT_EQ(starts, 1);
  }
}

TEST(SchemaHints, AMoveShowsTheBookingsOwnLengthAtAnyScale) {
  for (bool flipped : {false, true}) {
    MouseSchema s(flipped);
    TvxDataEntity_SchemaTime* e = s.Item(3, 9, 10);
    // A scale where an hour is no whole number of pixels.
    const TDateTime start = s.GetScaler()->GetStart();
    s.SetWindow(start, start + (s.GetScaler()->GetStop() - start) * 1.13);
    s.Settle();
    const TPoint middle = s.Grab(e);
    s.Press(middle);
    s.Move(s.Shifted(middle, 7));
    s.Move(s.Shifted(middle, 41));
    const std::string caption = s.GetHintWindow()->GetCaption();
    ASSERT_GE(caption.size(), 5u);
    EXPECT_EQ(caption.substr(caption.size() - 5), "01:00");
    s.Release(s.Shifted(middle, 41));
    s.Settle();
    EXPECT_NEAR(e->GetStopDateTime() - e->GetStartDateTime(), TestSchema::kHour, 1e-9);
  }
}

// Alt with Shift moves the finish, Alt with Ctrl the start, of the first
// selected booking, as a resize by the mouse writes it (snapped, never past
// the other end); the application's refusal leaves it, and a handler that
// deletes it meanwhile is safe.
TEST(SchemaKeys, AltResizesTheSelectedBooking) {
  enum Refuse { rNone, rCanEdit, rDelete };
  struct Case {
    const char* name;
    bool later;
    Qt::KeyboardModifiers modifiers;
    Refuse refuse;
    double start, stop;  // minutes after the key
  };
  const Qt::KeyboardModifiers finish = Qt::AltModifier | Qt::ShiftModifier, start = Qt::AltModifier | Qt::ControlModifier;
  const Case cases[] = {
      {"finish later by the length snap", true, finish, rNone, 600, 675},
      {"finish earlier", false, finish, rNone, 600, 645},
      {"start earlier by the start snap", false, start, rNone, 585, 660},
      {"start later", true, start, rNone, 615, 660},
      {"not editable", true, finish, rCanEdit, 600, 660},
      {"deleted while asked", true, start, rDelete, 0, 0},
  };
  for (bool flipped : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (flipped ? ", flipped" : ""));
      MouseSchema s(flipped);
      TvxDataEntity_SchemaTime* a = s.Item(1, 10, 11);
      TvxDataEntity_SchemaTime* other = s.Item(2, 10, 11);
      s.SetStartSnap(15.0 / 1440);
      s.SetLengthSnap(15.0 / 1440);
      a->SetSelected(true);
      s.Settle();
      s.Area()->SetFocus();
      int asked = 0;
      if (c.refuse != rNone)
        s.OnBeforeCanEditItem_SchemaTime = [&](TObject*, TvxDataEntity* e) {
          if (e != a || asked++) return;
          if (c.refuse == rCanEdit)
            e->SetCanEdit(false);
          else
            s.RemoveSchemaTime(a);
        };
      const Qt::Key key = c.later ? (flipped ? Qt::Key_Right : Qt::Key_Down) : (flipped ? Qt::Key_Left : Qt::Key_Up);
      vxtest::KeyClick(s.Area(), key, c.modifiers);
      s.Settle();
      if (c.refuse != rNone) {
        EXPECT_GE(asked, 1);
      }
      if (c.refuse != rDelete) {
        EXPECT_NEAR(Minutes(a->GetStartDateTime()), c.start, 1e-6);
        EXPECT_NEAR(Minutes(a->GetStopDateTime()), c.stop, 1e-6);
        EXPECT_EQ(a->GetCol(), 1);
      }
      // Only the selected booking; the arrows did not walk the selection either.
      EXPECT_NEAR(Minutes(other->GetStopDateTime()), 660, 1e-6);
      EXPECT_FALSE(other->GetSelected());
    }
  }
}

// The title grid is one stop of the tab order, or none, as HeaderTabStop
// says: Tab from the drawing area reaches it only then, and never stays in its
// cells. The program can focus it either way, but not while the normal
// orientation hides it.
TEST(SchemaKeys, TheTitleGridAsATabStop) {
  struct Case {
    bool flipped, stop;
  } cases[] = {{true, true}, {true, false}, {false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.flipped ? "flipped, " : "normal, ") << (c.stop ? "a stop" : "no stop"));
    MouseSchema s(c.flipped);
    s.SetHeaderTabStop(c.stop);
    EXPECT_EQ(s.GetHeaderTabStop(), c.stop);
    TControl* titles = s.GetFlippedHeader();
    s.Area()->SetFocus();
    ASSERT_TRUE(s.Area()->Focused());
    bool reached = false;
    for (int k = 0; k < 8 && !reached; ++k) {
      ASSERT_NE(QApplication::focusWidget(), nullptr);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      vxtest::ReturnToTheEventLoop();
      reached = titles->Focused();
    }
    EXPECT_EQ(reached, c.flipped && c.stop);
    if (reached) {
      vxtest::KeyClick(titles, Qt::Key_Tab);
      EXPECT_FALSE(titles->Focused());
    }
    titles->SetFocus();
    vxtest::ReturnToTheEventLoop();
    EXPECT_EQ(titles->Focused(), c.flipped);
  }
}
