// The schedule page as a user meets it: the week view and the resource view
// of the gallery, driven through Qt's event delivery (presses, moves,
// releases, the wheel, keys and menus), then read back: the bookings' times,
// columns, texts and selection, the scroll position, and pixels.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>
#include <cmath>
#include <functional>

#include "GallerySupport.h"
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/Menus.h>
#include <vxplan/platform/ui/TreeView.h>
#include <vxplan/schema/vxSchema.h>

using namespace vx;

namespace {

// The schedule page's two views, and the page of the schedule's features.
enum View { kWeek, kResources, kFeatures };

// The page in its window, showing one of its views.
struct Journey {
  vxtest::GalleryWindow window;
  TvxSchema* s = nullptr;

  explicit Journey(View theView, int theWidth = 1180)
      : window(theView == kFeatures ? "schemafeatures" : "schema", theWidth) {
    s = window.Component<TvxSchema>(theView == kFeatures ? 0 : theView);
    if (auto* stack = window.Page().widget->findChild<QStackedWidget*>()) stack->setCurrentIndex(theView);
    vxtest::ProcessEventsUntilIdle();
    Settle();
  }
  TControl* Area() const { return s->GetSchemaArea(); }
  bool Flipped() const { return s->GetFlipView(); }
  void Settle() {
    for (int k = 0; k < 200 && s->IsLayoutPending(); ++k) {
      vxtest::ProcessEventsUntilIdle();
      QTest::qWait(5);
    }
    vxtest::ProcessEventsUntilIdle();
  }
  // The k-th booking of a layer.
  TvxDataEntity_SchemaTime* Booking(int k, int theLayer = 0) const {
    return dynamic_cast<TvxDataEntity_SchemaTime*>(s->GetLayers()->GetDataList(theLayer)->GetItems(k));
  }
  int Count(int theLayer = 0) const { return s->GetLayers()->GetDataList(theLayer)->Count(); }
  // The features page's Parking list, and a point of it in the area's terms.
  TCustomTreeView* Parking() const { return window.Component<TCustomTreeView>(); }
  TPoint OnParking() const {
    return Area()->ScreenToClient(Parking()->ClientToScreen(Point(Parking()->GetWidth() / 2, 40)));
  }
  // Presses theE and drags it out of the area onto the Parking list; no release.
  void DragOut(TvxDataEntity_SchemaTime* theE) {
    const TPoint at = Into(theE);
    Press(at);
    Move(Shifted(at, 10));
    Move(OnParking());
    Move(Shifted(OnParking(), 5));
  }
  TRect RectOf(TvxDataEntity_SchemaTime* e) const {
    TRect r;
    s->RectFromDataEntity(Flipped(), e, r);
    return r;
  }
  // A point in a booking, theInto pixels from its start along the time axis.
  // A point in a booking, theInto pixels from its start along the time axis
  // (its middle when it is shorter), clear of its resize bands.
  TPoint Into(TvxDataEntity_SchemaTime* e, int theInto = 12) const {
    const TRect r = RectOf(e);
    const int into = std::min(theInto, (Flipped() ? r.Width() : r.Height()) / 2);
    return Flipped() ? Point(r.Left + into, (r.Top + r.Bottom) / 2) : Point((r.Left + r.Right) / 2, r.Top + into);
  }
  // theP moved along the time axis, and across it.
  TPoint Shifted(TPoint theP, int theTime, int theAcross = 0) const {
    return Flipped() ? Point(theP.X + theTime, theP.Y + theAcross) : Point(theP.X + theAcross, theP.Y + theTime);
  }
  // Pixels of theMinutes along the time axis, at the scale shown.
  int Px(double theMinutes) const { return static_cast<int>(std::lround(theMinutes / 1440 / s->GetScaler()->GetScale())); }
  void Press(TPoint p, Qt::MouseButton b = Qt::LeftButton) { vxtest::MousePress(Area(), p.X, p.Y, b); }
  void Move(TPoint p) { vxtest::MouseMove(Area(), p.X, p.Y); }
  void Release(TPoint p, Qt::MouseButton b = Qt::LeftButton) { vxtest::MouseRelease(Area(), p.X, p.Y, b); }
  void Drag(TPoint from, TPoint to) {
    Press(from);
    Move(Point((from.X + to.X) / 2, (from.Y + to.Y) / 2));
    Move(to);
    Release(to);
    Settle();
  }
  void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    vxtest::KeyClick(Area(), k, m);
    Settle();
  }
  void Wheel(int theDelta, Qt::KeyboardModifiers m = Qt::NoModifier, TPoint at = Point(200, 100)) {
    vxtest::Wheel(Area(), at.X, at.Y, theDelta, m);
    Settle();
  }
  std::string TimesLine(TvxDataEntity_SchemaTime* e) const {
    std::string text;
    int x = 0, y = 0, style = 0;
    e->GetText(1, text, x, y, style);
    return text;
  }
  static std::string Times(TvxDataEntity_SchemaTime* e) {
    return FormatDateTime("hh:nn", e->GetStartDateTime()) + "-" + FormatDateTime("hh:nn", e->GetStopDateTime());
  }
  // Chooses the menu's entry with theCaption by a click on it.
  static void Choose(TPopupMenu* theMenu, const std::string& theCaption) {
    QMenu* menu = theMenu ? theMenu->GetItems()->SubMenu(false) : nullptr;
    ASSERT_TRUE(menu && menu->isVisible());
    for (int k = 0; k < theMenu->GetItems()->Count(); ++k)
      if (theMenu->GetItems()->GetItem(k)->GetCaption() == theCaption) {
        QAction* action = theMenu->GetItems()->GetItem(k)->Action();
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
        vxtest::ProcessEventsUntilIdle();
        return;
      }
    FAIL() << "no entry " << theCaption;
  }
};

constexpr double kMinute = 1.0 / 1440;

struct Case {
  const char* name;
  View view;
  std::function<void(Journey& j)> run;
  int width = 1180;  // of the window
};

const Case kJourneys[] = {
    {"a moved booking's text follows its times", kWeek,
     [](Journey& j) {
       TvxDataEntity_SchemaTime* e = j.Booking(0);
       const TDateTime start = e->GetStartDateTime();
       const TPoint at = j.Into(e);
       j.Drag(at, j.Shifted(at, j.Px(60)));
       EXPECT_NEAR((e->GetStartDateTime() - start) / kMinute, 60, 1e-6);
       EXPECT_EQ(j.TimesLine(e), Journey::Times(e));
     }},
    {"the drag hint names the date and the times the release writes", kWeek,
     [](Journey& j) {
       TvxDataEntity_SchemaTime* e = j.Booking(1);
       const TPoint at = j.Into(e);
       const TPoint to = j.Shifted(at, j.Px(47), 0);
       j.Press(at);
       j.Move(j.Shifted(at, 3));
       j.Move(to);
       TvxSchema_ComBasicHintWindow* hint = j.s->GetHintWindow();
       ASSERT_TRUE(hint->IsShowing());
       const std::string caption = hint->GetCaption();
       // Beside the pointer, inside the screen.
       const TPoint p = j.Area()->ClientToScreen(to);
       const TRect h = hint->GetBoundsRect(), screen = ScreenWorkArea(p);
       EXPECT_TRUE(h.Left == p.X + 16 || h.Right == p.X - 16);
       EXPECT_TRUE(h.Left >= screen.Left && h.Top >= screen.Top && h.Right <= screen.Right && h.Bottom <= screen.Bottom);
       j.Release(to);
       j.Settle();
       const std::string expected = FormatDateTime("ddd d mmm hh:nn", e->GetStartDateTime()) + "\r" +
                                    FormatDateTime("hh:nn", e->GetStopDateTime());
       EXPECT_EQ(caption.substr(0, expected.size()), expected);
       EXPECT_NEAR(std::fmod((e->GetStartDateTime() - std::floor(e->GetStartDateTime())) / kMinute, 5), 0, 1e-6);
     }},
    {"Escape ends a drag and writes nothing", kWeek,
     [](Journey& j) {
       TvxDataEntity_SchemaTime* e = j.Booking(2);
       const TDateTime start = e->GetStartDateTime();
       const int col = e->GetCol();
       const TPoint at = j.Into(e);
       j.Press(at);
       j.Move(j.Shifted(at, 10, 40));
       j.Move(j.Shifted(at, j.Px(90), 200));
       EXPECT_GT(j.s->OutlineCount(), 0);
       vxtest::KeyClick(j.Area(), Qt::Key_Escape);
       EXPECT_EQ(j.s->OutlineCount(), 0);
       EXPECT_EQ(j.Area()->GetCursor(), crArrow);
       j.Release(j.Shifted(at, j.Px(90), 200));
       j.Settle();
       EXPECT_EQ(e->GetStartDateTime(), start);
       EXPECT_EQ(e->GetCol(), col);
     }},
    {"Ctrl+arrows move the way they point, by the snap", kWeek,
     [](Journey& j) {
       TvxDataEntity_SchemaTime* e = j.Booking(3);
       const TDateTime start = e->GetStartDateTime();
       const int col = e->GetCol();
       j.Drag(j.Into(e), j.Into(e));
       ASSERT_TRUE(e->GetSelected());
       j.Key(Qt::Key_Down, Qt::ControlModifier);
       EXPECT_NEAR((e->GetStartDateTime() - start) / kMinute, 5, 1e-6);
       j.Key(Qt::Key_Up, Qt::ControlModifier);
       j.Key(Qt::Key_Up, Qt::ControlModifier);
       EXPECT_NEAR((e->GetStartDateTime() - start) / kMinute, -5, 1e-6);
       EXPECT_EQ(j.TimesLine(e), Journey::Times(e));
       j.Key(Qt::Key_Right, Qt::ControlModifier);
       EXPECT_EQ(e->GetCol(), col + 1);
     }},
    {"flipped, Right is later and Down the next resource", kResources,
     [](Journey& j) {
       TvxDataEntity_SchemaTime* e = j.Booking(0);
       const TDateTime start = e->GetStartDateTime();
       const int row = e->GetCol();
       j.Drag(j.Into(e), j.Into(e));
       ASSERT_TRUE(e->GetSelected());
       j.Key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
       EXPECT_NEAR((e->GetStartDateTime() - start) / kMinute, 5, 1e-6);
       EXPECT_EQ(e->GetCol(), row);
       j.Key(Qt::Key_Down, Qt::ControlModifier);
       EXPECT_EQ(e->GetCol(), row + 1);
       EXPECT_NEAR((e->GetStartDateTime() - start) / kMinute, 5, 1e-6);
     }},
    {"the scroll bar spans the rows and the wheel scrolls them", kResources,
     [](Journey& j) {
       TScrollBar* bar = j.s->GetColumnScrollBar();
       ASSERT_TRUE(bar->GetVisible());
       EXPECT_EQ(bar->GetKind(), sbVertical);
       const TRect area = j.Area()->GetBoundsRect(), b = bar->GetBoundsRect();
       EXPECT_EQ(b.Left, area.Right);  // beside the bookings, not over them
       EXPECT_EQ(b.Top, area.Top);
       EXPECT_EQ(b.Bottom, area.Bottom);
       EXPECT_GT(bar->GetPageSize(), 5);
       j.Wheel(-120);
       const int lines = WheelScrollLines();
       EXPECT_EQ(j.s->GetColumns()->GetTopLeftCol(), lines);
       EXPECT_EQ(bar->GetPosition(), lines);
       for (int k = 0; k < 4; ++k) j.Wheel(-30);
       EXPECT_EQ(j.s->GetColumns()->GetTopLeftCol(), 2 * lines);
       j.Wheel(120 * 2);
       EXPECT_EQ(j.s->GetColumns()->GetTopLeftCol(), 0);
       // The last resources can be reached.
       for (int k = 0; k < 200; ++k) j.Wheel(-120);
       EXPECT_EQ(j.s->GetColumns()->GetTopLeftCol() + bar->GetPageSize(), 200);
     }},
    {"Shift+wheel moves in time, Ctrl+wheel zooms around the pointer", kResources,
     [](Journey& j) {
       TvxDateScaler* scaler = j.s->GetScaler();
       const TDateTime start = scaler->GetStart();
       j.Wheel(-120, Qt::ShiftModifier);
       EXPECT_GT(scaler->GetStart(), start);
       EXPECT_EQ(j.s->GetColumns()->GetTopLeftCol(), 0);
       const TPoint at = Point(400, 60);
       const TDateTime under = scaler->PixelToDate(at.X);
       const double scale = scaler->GetScale();
       j.Wheel(120, Qt::ControlModifier, at);
       EXPECT_NEAR(scaler->GetScale(), scale / 1.25, scale * 1e-6);
       EXPECT_NEAR(scaler->DateToPixel(under), at.X, 1);
       // The keyboard's zoom: Ctrl and - or =, around the middle of the axis,
       // once a click has given the schedule the focus.
       vxtest::MouseClick(j.Area(), at.X, at.Y);
       const int middle = scaler->GetScaleLen() / 2;
       const TDateTime centre = scaler->PixelToDate(middle);
       j.Key(Qt::Key_Minus, Qt::ControlModifier);
       EXPECT_NEAR(scaler->GetScale(), scale, scale * 1e-6);
       EXPECT_NEAR(scaler->DateToPixel(centre), middle, 1);
       j.Key(Qt::Key_Equal, Qt::ControlModifier);
       EXPECT_NEAR(scaler->GetScale(), scale / 1.25, scale * 1e-6);
     }},
    {"overlapping bookings get rows tall enough to read", kResources,
     [](Journey& j) {
       int grown = 0;
       TDataListColumns* rows = j.s->GetColumns();
       for (int r = 0; r < rows->Count(); ++r) {
         TvxDataEntity_SchemaColumn* c = rows->GetColumn(r);
         if (c->GetSubColCount() < 2) continue;
         EXPECT_GE(c->GetWidth(), 26 * c->GetSubColCount()) << r;
         ++grown;
       }
       EXPECT_GT(grown, 0);
       for (int k = 0; k < 40; ++k) {
         TvxDataEntity_SchemaTime* e = j.Booking(k);
         // A sub-row of 26, less the booking's insets.
         if (e->GetUseSubCol() && e->GetCol() < 15) {
           EXPECT_GE(j.RectOf(e).Height(), 24) << k;
         }
       }
     }},
    {"past Sunday only the background", kWeek,
     [](Journey& j) {
       TBitmap shot;
       j.Area()->PaintTo(&shot);
       int nearEdge = 0, farEdge = 0;
       j.s->ColumnToPixels(6, nearEdge, farEdge);
       ASSERT_LT(farEdge + 20, shot.GetWidth());
       for (int y = 30; y < shot.GetHeight(); y += 37) {
         const TColor c = shot.GetCanvas()->GetPixel(farEdge + 10, y);
         EXPECT_TRUE(c == ColorToRGB(j.s->GetSchemaColor()) || c == ColorToRGB(clBackground) ||
                     c == ColorToRGB(j.s->GetTodayLineColor()))
             << y;
       }
     },
     1500},
    {"a right click selects the booking and opens its menu", kWeek,
     [](Journey& j) {
       TvxDataEntity_SchemaTime* a = j.Booking(4);
       TvxDataEntity_SchemaTime* b = j.Booking(5);
       j.Drag(j.Into(b), j.Into(b));
       ASSERT_TRUE(b->GetSelected());
       j.Press(j.Into(a), Qt::RightButton);
       j.Release(j.Into(a), Qt::RightButton);
       EXPECT_TRUE(a->GetSelected());
       EXPECT_FALSE(b->GetSelected());
       EXPECT_EQ(j.s->GetPopupSelectedDataEntity(), a);
       const TColor before = a->GetBackColor();
       Journey::Choose(j.s->GetPopupSchema(), "Next colour");
       EXPECT_NE(a->GetBackColor(), before);
       // The menu key opens it for the selected booking.
       j.Drag(j.Into(b), j.Into(b));
       j.Key(Qt::Key_Menu);
       EXPECT_EQ(j.s->GetPopupSelectedDataEntity(), b);
       const int count = j.s->GetLayers()->GetDataList(0)->Count();
       Journey::Choose(j.s->GetPopupSchema(), "Remove booking");
       j.Settle();
       EXPECT_EQ(j.s->GetLayers()->GetDataList(0)->Count(), count - 1);
     }},
    {"a booking dragged onto the parking list leaves the day, and comes back where it is dropped", kFeatures,
     [](Journey& j) {
       const int count = j.Count(), parked = j.Parking()->GetItems()->RootCount();
       TvxDataEntity_SchemaTime* e = j.Booking(0);
       std::string title, text;
       int x = 0, y = 0, style = 0;
       e->GetText(0, title, x, y, style);
       const TDateTime length = e->GetStopDateTime() - e->GetStartDateTime();
       j.DragOut(e);
       j.Release(j.Shifted(j.OnParking(), 5));
       j.Settle();
       EXPECT_EQ(j.Count(), count - 1);
       ASSERT_EQ(j.Parking()->GetItems()->RootCount(), parked + 1);
       TTreeNode* node = j.Parking()->GetSelected();
       ASSERT_NE(node, nullptr);
       EXPECT_EQ(node->GetText().rfind(title, 0), 0u) << node->GetText();
       // Back onto the third room at noon, from the list.
       const TDateTime noon = std::floor(Now()) + 0.5;
       int near = 0, far = 0;
       j.s->ColumnToPixels(2, near, far);
       const TPoint drop = j.Parking()->ScreenToClient(
           j.Area()->ClientToScreen(Point((near + far) / 2, static_cast<int>(j.s->GetScaler()->DateToPixel(noon)) + 1)));
       const TRect r = node->DisplayRect(true);
       const TPoint from = Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
       vxtest::MousePress(j.Parking(), from.X, from.Y);
       vxtest::MouseMove(j.Parking(), from.X, from.Y + 10);
       vxtest::MouseMove(j.Parking(), drop.X, drop.Y);
       vxtest::MouseRelease(j.Parking(), drop.X, drop.Y);
       j.Settle();
       EXPECT_EQ(j.Count(), count);
       EXPECT_EQ(j.Parking()->GetItems()->RootCount(), parked);
       TvxDataEntity_SchemaTime* back = j.Booking(j.Count() - 1);
       EXPECT_EQ(back->GetCol(), 2);
       EXPECT_NEAR((back->GetStartDateTime() - noon) / kMinute, 0, 1e-3);
       EXPECT_NEAR((back->GetStopDateTime() - back->GetStartDateTime()) / kMinute, length / kMinute, 1e-3);
       ASSERT_TRUE(back->GetText(0, text, x, y, style));
       EXPECT_EQ(text, title);
     }},
    {"the keyboard parks a booking through its menu, and Enter or the list's menu puts it back where it was",
     kFeatures,
     [](Journey& j) {
       const int count = j.Count(), parked = j.Parking()->GetItems()->RootCount();
       for (int round = 0; round < 2; ++round) {
         TvxDataEntity_SchemaTime* e = j.Booking(2);
         const int col = e->GetCol();
         const TDateTime start = e->GetStartDateTime(), stop = e->GetStopDateTime();
         j.Drag(j.Into(e), j.Into(e));
         j.Key(Qt::Key_Menu);
         Journey::Choose(j.s->GetPopupSchema(), "Park");
         j.Settle();
         ASSERT_EQ(j.Count(), count - 1);
         ASSERT_EQ(j.Parking()->GetItems()->RootCount(), parked + 1);
         if (round == 0) {
           j.Parking()->SetFocus();
           vxtest::KeyClick(j.Parking(), Qt::Key_Return);
         } else {
           const TRect r = j.Parking()->GetSelected()->DisplayRect(true);
           vxtest::MouseClick(j.Parking(), r.Left + 5, (r.Top + r.Bottom) / 2, Qt::RightButton);
           Journey::Choose(j.Parking()->GetPopupMenu(), "Put back where it was");
         }
         j.Settle();
         EXPECT_EQ(j.Count(), count);
         EXPECT_EQ(j.Parking()->GetItems()->RootCount(), parked);
         TvxDataEntity_SchemaTime* back = j.Booking(j.Count() - 1);
         EXPECT_EQ(back->GetCol(), col);
         EXPECT_EQ(back->GetStartDateTime(), start);
         EXPECT_EQ(back->GetStopDateTime(), stop);
       }
     }},
    {"Escape mid-drag leaves the day and the parking list as they were", kFeatures,
     [](Journey& j) {
       const int count = j.Count(), parked = j.Parking()->GetItems()->RootCount();
       TvxDataEntity_SchemaTime* e = j.Booking(3);
       const TDateTime start = e->GetStartDateTime();
       const int col = e->GetCol();
       j.DragOut(e);
       ASSERT_TRUE(j.Area()->Dragging());
       vxtest::KeyClick(j.Area(), Qt::Key_Escape);
       EXPECT_FALSE(j.Area()->Dragging());
       j.Release(j.OnParking());
       j.Settle();
       EXPECT_EQ(j.Count(), count);
       EXPECT_EQ(j.Parking()->GetItems()->RootCount(), parked);
       EXPECT_EQ(e->GetStartDateTime(), start);
       EXPECT_EQ(e->GetCol(), col);
     }},
    {"the layer switch changes whose colour is on top where a set-up meets its meeting", kFeatures,
     [](Journey& j) {
       // The widest overlap of a set-up and a meeting in one room.
       TRect best;
       TvxDataEntity_SchemaTime *meeting = nullptr, *setup = nullptr;
       for (int a = 0; a < j.Count(1); ++a)
         for (int b = 0; b < j.Count(0); ++b) {
           TvxDataEntity_SchemaTime *u = j.Booking(a, 1), *m = j.Booking(b, 0);
           const TRect ru = j.RectOf(u), rm = j.RectOf(m);
           const TRect both = Rect(std::max(ru.Left, rm.Left), std::max(ru.Top, rm.Top), std::min(ru.Right, rm.Right),
                                   std::min(ru.Bottom, rm.Bottom));
           if (u->GetCol() == m->GetCol() && both.Width() > best.Width() && both.Height() > 8)
             best = both, meeting = m, setup = u;
         }
       ASSERT_NE(meeting, nullptr);
       ASSERT_GT(best.Width(), 8);
       auto top = [&j, &best] {
         TBitmap shot;
         j.Area()->PaintTo(&shot);
         return shot.GetCanvas()->GetPixel(best.Right - 3, best.Bottom - 3);
       };
       EXPECT_EQ(top(), ColorToRGB(meeting->GetBackColor()));
       auto* box = j.window.Page().widget->findChild<QCheckBox*>("setupsOnTop");
       ASSERT_NE(box, nullptr);
       QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
       j.Settle();
       EXPECT_EQ(top(), ColorToRGB(setup->GetBackColor()));
       // Clicks follow the drawing: the booking on top is the one hit.
       EXPECT_EQ(j.s->GetDataEntityFromXY(best.Right - 3, best.Bottom - 3), setup);
     }},
};

class SchemaJourney : public testing::TestWithParam<Case> {};

TEST_P(SchemaJourney, OnTheGalleryPage) {
  Journey j(GetParam().view, GetParam().width);
  ASSERT_NE(j.s, nullptr);
  GetParam().run(j);
}

INSTANTIATE_TEST_SUITE_P(Schema, SchemaJourney, testing::ValuesIn(kJourneys),
                         [](const testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
