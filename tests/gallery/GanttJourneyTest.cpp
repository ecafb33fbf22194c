// The Gantt pages of the gallery as a user meets them: presses, moves,
// releases, the wheel and keys through Qt's event delivery, then what the
// user sees: the bars' times and rows, the selection, the hint, the menu,
// the scroll position.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <functional>

#include "GallerySupport.h"
#include "GanttPlanActions.h"
#include <vxplan/gantt/vxGant.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/paint/vxGraphStuff.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/StdCtrls.h>
#include <vxplan/tree/vxTree.h>

using namespace vx;

namespace {

struct Journey {
  vxtest::GalleryWindow window;
  TvxGant_ComBasic* g = nullptr;

  explicit Journey(const std::string& thePage) : window(thePage) { g = window.Component<TvxGant_ComBasic>(); }
  TvxOffscreenPaint_GA* Area() const { return g->GetGA(); }

  // The node of the tree side whose text is theText, among the roots and their children.
  TvxDataEntity_Tree* Node(const std::string& theText) const {
    TvxDataList* roots = g->GetTreeView()->GetRootDataList();
    for (int i = 0; i < roots->Count(); ++i) {
      auto* phase = static_cast<TvxDataEntity_Tree*>(roots->GetItems(i));
      if (phase->GetText() == theText) return phase;
      TvxDataList* tasks = phase->GetSubDataList();
      for (int k = 0; tasks && k < tasks->Count(); ++k)
        if (auto* t = static_cast<TvxDataEntity_Tree*>(tasks->GetItems(k)); t->GetText() == theText) return t;
    }
    return nullptr;
  }
  TGantRow* Row(const std::string& theText) const { return g->GetRowList()->FindRowFromTreeNode(Node(theText)); }
  // The row's i-th bar of its first layer.
  TvxDataEntity_Kronit* Bar(const std::string& theText, int i = 0) const {
    TGantRow* r = Row(theText);
    TvxDataList* l = r && r->GetLayerCount() > 0 ? r->GetLayer(0) : nullptr;
    return l && i < l->Count() ? static_cast<TvxDataEntity_Kronit*>(l->GetItems(i)) : nullptr;
  }
  TRect Rect(TvxDataEntity_Kronit* k) {
    Area()->Repaint();
    return g->RectFromDataEntity(k);
  }
  TPoint Mid(TvxDataEntity_Kronit* k) {
    const TRect r = Rect(k);
    return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void Click(TvxDataEntity_Kronit* k, Qt::MouseButton theButton = Qt::LeftButton) {
    const TPoint p = Mid(k);
    vxtest::MouseClick(Area(), p.X, p.Y, theButton);
    vxtest::ProcessEventsUntilIdle(3);
  }
  // A press at theFrom, moves in steps to theTo; no release.
  void Drag(TPoint theFrom, TPoint theTo) {
    vxtest::MousePress(Area(), theFrom.X, theFrom.Y);
    for (int s = 1; s <= 4; ++s)
      vxtest::MouseMove(Area(), theFrom.X + (theTo.X - theFrom.X) * s / 4, theFrom.Y + (theTo.Y - theFrom.Y) * s / 4);
  }
  void Key(Qt::Key theKey, Qt::KeyboardModifiers theModifiers = Qt::NoModifier) {
    vxtest::KeyClick(Area(), theKey, theModifiers);
    vxtest::ProcessEventsUntilIdle(3);
  }
  std::string Hint() const {
    TGraphHintWindow* h = g->GetHintWindow();
    return h && h->IsShowing() ? h->GetCaption() : std::string();
  }
  // The hint's line that starts with theLabel, without the label.
  std::string HintLine(const std::string& theLabel) const {
    const std::string hint = Hint();
    const size_t at = hint.find(theLabel);
    if (at == std::string::npos) return "(no " + theLabel + ")";
    const size_t from = at + theLabel.size(), to = hint.find('\r', from);
    return hint.substr(from, to == std::string::npos ? std::string::npos : to - from);
  }
  std::string Formatted(TDateTime t) const {
    TvxDateScaler* s = g->GetDateScaler();
    return FormatDateTime(s->GetDateFormat() + " " + s->GetTimeFormat(), t);
  }
  int TopRow() const { return g->GetTreeView()->GetScrollInfo(sbVertical).nPos; }
  // Ticks or unticks the page's check box of that name with a click.
  void Tick(const char* theName) {
    auto* box = window.Page().widget->findChild<QCheckBox*>(theName);
    ASSERT_NE(box, nullptr) << theName;
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
    Settle();
  }
  void Settle() {
    for (int k = 0; k < 200; ++k) {
      vxtest::ProcessEventsUntilIdle();
      bool pending = false;
      g->GetRowList()->ForEachRow([&pending](TGantRow* r) { pending = pending || r->IsLayoutPending(); });
      if (!pending) return;
      QTest::qWait(5);
    }
  }
};

QMenu* OpenMenu() {
  vxtest::ProcessEventsUntilIdle(3);
  return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QStringList Captions(QMenu* theMenu) {
  QStringList texts;
  for (QAction* a : theMenu->actions()) texts << a->text();
  return texts;
}

struct Case {
  const char* name;
  const char* page;
  std::function<void(Journey&)> walk;
};

const Case kJourneys[] = {
    {"ADragToAnotherRowMovesTheBarThereWithItsTimes", "gantt",
     [](Journey& j) {
       TvxDataEntity_Kronit* k = j.Bar("Permits 2");
       ASSERT_NE(k, nullptr);
       const TPoint from = j.Mid(k);
       const TRect target = j.Rect(j.Bar("Formwork 4"));
       j.Drag(from, Point(from.X + 45, (target.Top + target.Bottom) / 2));
       const std::string start = j.HintLine("Start: "), finish = j.HintLine("Finish: ");
       EXPECT_NE(j.Hint().find("Permits 2"), std::string::npos) << j.Hint();
       vxtest::MouseRelease(j.Area(), from.X + 45, (target.Top + target.Bottom) / 2);
       EXPECT_EQ(k->GetRow(), j.Row("Formwork 4"));
       EXPECT_EQ(j.Formatted(k->GetStartDateTime()), start);
       EXPECT_EQ(j.Formatted(k->GetStopDateTime()), finish);
       EXPECT_EQ(j.Row("Permits 2")->ItemCount(), 0);
     }},
    {"AResizeWritesWhatItsHintShows", "gantt",
     [](Journey& j) {
       for (const char* task : {"Curing 7", "Beams 9"}) {
         TvxDataEntity_Kronit* k = j.Bar(task);
         ASSERT_NE(k, nullptr);
         const TRect r = j.Rect(k);
         const int y = (r.Top + r.Bottom) / 2;
         // Either end: the hint while dragging names the task and tells the
         // start, finish and length the release writes.
         for (TPoint press : {Point(r.Right - 1, y), Point(r.Left + 1, y)}) {
           const int to = press.X + (press.X == r.Left + 1 ? -31 : 37);
           j.Drag(press, Point(to, y));
           const std::string shown = j.Hint();
           EXPECT_EQ(shown.rfind(task, 0), 0u) << shown;
           // Beside the pointer (where the screen lets it), on the screen.
           const QRect hint = j.g->GetHintWindow()->geometry();
           const QRect screen = j.Area()->screen()->availableGeometry();
           QPoint pointer = j.Area()->mapToGlobal(QPoint(to, y));
           pointer.setX(std::clamp(pointer.x(), screen.left(), screen.right()));
           pointer.setY(std::clamp(pointer.y(), screen.top(), screen.bottom()));
           const int dx = std::max({hint.left() - pointer.x(), 0, pointer.x() - hint.right()});
           const int dy = std::max({hint.top() - pointer.y(), 0, pointer.y() - hint.bottom()});
           EXPECT_LE(dx + dy, 40) << task;
           EXPECT_TRUE(screen.contains(hint)) << task;
           vxtest::MouseRelease(j.Area(), to, y);
           EXPECT_EQ(shown, j.g->HintText(k, k->GetStartDateTime(), k->GetStopDateTime())) << task;
           EXPECT_FALSE(j.g->GetHintWindow()->IsShowing());
         }
         EXPECT_NE(j.Rect(k).Right, r.Right) << task;
         EXPECT_NE(j.Rect(k).Left, r.Left) << task;
       }
     }},
    {"EscapeCallsADragOff", "gantt",
     [](Journey& j) {
       TvxDataEntity_Kronit* k = j.Bar("Excavation 3");
       ASSERT_NE(k, nullptr);
       const TDateTime start = k->GetStartDateTime(), stop = k->GetStopDateTime();
       TGantRow* row = k->GetRow();
       const TPoint from = j.Mid(k);
       const TRect r = j.Rect(k);
       // A move to another row, and a resize of either end.
       for (TPoint press : {from, Point(r.Right - 1, from.Y), Point(r.Left + 1, from.Y)}) {
         j.Drag(press, Point(press.X + 70, press.Y + 44));
         EXPECT_NE(j.g->GetMouseMoveMode(), mmNone);
         j.Key(Qt::Key_Escape);
         EXPECT_EQ(j.g->GetMouseMoveMode(), mmNone);
         EXPECT_EQ(j.Hint(), "");
         vxtest::MouseRelease(j.Area(), press.X + 70, press.Y + 44);
         EXPECT_EQ(k->GetStartDateTime(), start);
         EXPECT_EQ(k->GetStopDateTime(), stop);
         EXPECT_EQ(k->GetRow(), row);
       }
     }},
    {"ARightClickSelectsTheBarAndOpensItsMenu", "gantt",
     [](Journey& j) {
       TvxDataEntity_Kronit* other = j.Bar("Site check 1");
       j.Click(other);
       TvxDataEntity_Kronit* k = j.Bar("Formwork 4");
       ASSERT_NE(k, nullptr);
       j.Click(k, Qt::RightButton);
       EXPECT_TRUE(k->GetSelected());
       EXPECT_FALSE(other->GetSelected());
       QMenu* menu = OpenMenu();
       ASSERT_NE(menu, nullptr);
       EXPECT_EQ(Captions(menu), (QStringList{"Delete", "Colour", "Properties..."}));
       ASSERT_NE(menu->actions().at(1)->menu(), nullptr);  // the colours
       EXPECT_EQ(menu->actions().at(1)->menu()->actions().size(), 5);
       for (QAction* a : menu->actions()) EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
       const TPoint where = j.Mid(k);
       menu->actions().at(0)->trigger();
       menu->hide();
       vxtest::ProcessEventsUntilIdle(3);
       EXPECT_EQ(j.Row("Formwork 4")->ItemCount(), 0);
       // Where the bar was, nothing is left to act on.
       vxtest::MouseClick(j.Area(), where.X, where.Y, Qt::RightButton);
       menu = OpenMenu();
       ASSERT_NE(menu, nullptr);
       for (QAction* a : menu->actions()) EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
       menu->hide();
     }},
    {"TheMenuKeyOpensTheMenuAtTheActiveBar", "gantt",
     [](Journey& j) {
       j.Click(j.Bar("Site check 1"));
       j.Key(Qt::Key_Down);
       TvxDataEntity_Kronit* k = j.g->GetActiveDataEntity();
       ASSERT_NE(k, nullptr);
       EXPECT_EQ(k->GetRow(), j.Row("Permits 2"));
       k->SetSelected(false);
       j.Key(Qt::Key_Menu);
       EXPECT_TRUE(k->GetSelected());
       QMenu* menu = OpenMenu();
       ASSERT_NE(menu, nullptr);
       // Under the bar's left end.
       const TRect r = j.Rect(k);
       const QPoint at = j.Area()->mapToGlobal(QPoint(r.Left, r.Bottom));
       EXPECT_LE((menu->pos() - at).manhattanLength(), 4);
       menu->hide();
     }},
    {"LeftAndRightWalkTheBarsOfARow", "gantt",
     [](Journey& j) {
       TvxDataEntity_Kronit* first = j.Bar("Rebar 5", 0);
       TvxDataEntity_Kronit* second = j.Bar("Rebar 5", 1);
       ASSERT_NE(second, nullptr);  // the task is in two parts
       if (first->GetStartDateTime() > second->GetStartDateTime()) std::swap(first, second);
       j.Click(first);
       j.Key(Qt::Key_Right);
       EXPECT_EQ(j.g->GetActiveDataEntity(), second);
       EXPECT_TRUE(second->GetSelected());
       EXPECT_FALSE(first->GetSelected());
       j.Key(Qt::Key_Left);
       EXPECT_EQ(j.g->GetActiveDataEntity(), first);
     }},
    {"AClickedBarsRowBecomesTheCurrentRow", "gantt",
     [](Journey& j) {
       j.Click(j.Bar("Curing 7"));
       EXPECT_EQ(j.g->GetTreeView()->GetCurrentDataEntity(), j.Node("Curing 7"));
       j.Key(Qt::Key_Down);
       EXPECT_EQ(j.g->GetTreeView()->GetCurrentDataEntity(), j.Node("Framing 8"));
     }},
    {"TheWheelAsInQtsViews", "gantt",
     [](Journey& j) {
       const int top = j.TopRow();
       vxtest::Wheel(j.Area(), 300, 200, -120);
       EXPECT_EQ(j.TopRow(), top + 3);
       vxtest::Wheel(j.Area(), 300, 200, -60);
       vxtest::Wheel(j.Area(), 300, 200, -60);
       EXPECT_EQ(j.TopRow(), top + 6);
       TvxDateScaler* s = j.g->GetDateScaler();
       const TDateTime start = s->GetStart();
       vxtest::Wheel(j.Area(), 300, 200, -120, Qt::ShiftModifier);
       EXPECT_GT(s->GetStart(), start);
       EXPECT_EQ(j.TopRow(), top + 6);
       const double scale = s->GetScale();
       const TDateTime under = s->PixelToDate(300);
       vxtest::Wheel(j.Area(), 300, 200, 120, Qt::ControlModifier);
       EXPECT_NEAR(s->GetScale(), scale / 1.25, scale * 1e-6);  // gently, around the pointer
       EXPECT_NEAR(s->PixelToDate(300), under, 1.0 / 24);
       // The keyboard's zoom: a notch around the middle, and back; from the
       // tree too, once a click has given it the focus.
       vxtest::MouseClick(j.g->GetTreeView(), 60, 10);
       const int middle = s->GetScaleLen() / 2;
       const TDateTime centre = s->PixelToDate(middle);
       j.Key(Qt::Key_Plus, Qt::ControlModifier);
       EXPECT_NEAR(s->GetScale(), scale / 1.25 / 1.25, scale * 1e-6);
       EXPECT_NEAR(s->PixelToDate(middle), centre, 1.0 / 24);
       j.Key(Qt::Key_Minus, Qt::ControlModifier);
       EXPECT_NEAR(s->GetScale(), scale / 1.25, scale * 1e-6);
     }},
    {"APhaseSpansItsTasksAfterAnEdit", "gantt",
     [](Journey& j) {
       TvxDataEntity_Kronit* summary = j.Bar("1. Survey");
       TvxDataEntity_Kronit* last = nullptr;
       for (int i = 0; i < 30; ++i) {
         TGantRow* r = j.g->GetRowList()->FindRowFromTreeNode(
             static_cast<TvxDataEntity_Tree*>(j.Node("1. Survey")->GetSubDataList()->GetItems(std::min(i, 17))));
         r->ForEachItem([&](TvxDataEntity_Kronit* k) {
           if (!last || k->GetStopDateTime() > last->GetStopDateTime()) last = k;
           return true;
         });
       }
       ASSERT_NE(summary, nullptr);
       ASSERT_NE(last, nullptr);
       last->SetStopDateTime(last->GetStopDateTime() + 2);
       last->DoInfoPush();
       EXPECT_EQ(summary->GetStopDateTime(), last->GetStopDateTime());
       // A phase's own bar follows; it is not dragged.
       const TPoint p = j.Mid(summary);
       const TDateTime start = summary->GetStartDateTime();
       j.Drag(p, Point(p.X + 80, p.Y));
       vxtest::MouseRelease(j.Area(), p.X + 80, p.Y);
       EXPECT_EQ(summary->GetStartDateTime(), start);
     }},
    {"TheGridSidesDoneIsTheBarsLabel", "ganttgrid",
     [](Journey& j) {
       TvxGrid* grid = j.g->GetGrid();
       ASSERT_NE(grid, nullptr);
       int checked = 0;
       for (int i = 0; i < j.g->GetRowList()->Count(); ++i) {
         TGantRow* r = j.g->GetRowList()->GetGantRow(i);
         TvxDataEntity_GridTreeNode* n = r ? r->GetGridTreeNode() : nullptr;
         if (!n || !n->GetAxisContentItem() || r->ItemCount() == 0) continue;
         TvxDataList* l = r->GetLayer(0);
         auto* bar = static_cast<TvxDataEntity_Kronit*>(l->GetItems(l->Count() - 1));
         const int fixed = grid->GetBabGridCellForViewer()->GetFixedCols();
         const std::string done = grid->GetText(grid->GetCell(fixed + 4, n->GetAxisContentItem()->ListIndex()));
         const int label = BarProgress(bar);
         EXPECT_EQ(done, label < 0 ? "" : std::to_string(label)) << i;
         ++checked;
       }
       EXPECT_GT(checked, 100);
       // With the focus in the grid, Ctrl and - zoom the chart out, and no
       // edit starts with the "-".
       const TRect cell = grid->GetCell(1, 2)->getVisibleRect();
       vxtest::MouseClick(grid, cell.Left + 30, (cell.Top + cell.Bottom) / 2);
       const double scale = j.g->GetDateScaler()->GetScale();
       vxtest::KeyClick(grid, Qt::Key_Minus, Qt::ControlModifier);
       EXPECT_NEAR(j.g->GetDateScaler()->GetScale(), scale * 1.25, scale * 1e-6);
       EXPECT_FALSE(grid->GetEditing());
     }},
    {"TheBigPlansResourcesShowNoExpandButton", "bigplan",
     [](Journey& j) {
       TvxDataList* roots = j.g->GetTreeView()->GetRootDataList();
       ASSERT_GT(roots->Count(), 10);
       for (int i = 0; i < 10; ++i) {
         auto* n = static_cast<TvxDataEntity_Tree*>(roots->GetItems(i));
         ASSERT_NE(n->GetTreeNode(), nullptr);
         EXPECT_FALSE(n->GetTreeNode()->HasChildren()) << i;
       }
     }},
    {"OverlappingBookingsShareTheRowInBandsUntilTheLayoutIsOff", "ganttfeatures",
     [](Journey& j) {
       j.Settle();
       // Pairs of one row's jobs that overlap in time, and whether they overlap on screen.
       auto overlaps = [&j](bool theOnScreen) {
         int pairs = 0;
         for (const char* name : {"Crane 1", "Crew North", "Excavator", "Scaffolds"})
           for (int a = 0; j.Bar(name, a); ++a)
             for (int b = a + 1; j.Bar(name, b); ++b) {
               TvxDataEntity_Kronit *p = j.Bar(name, a), *q = j.Bar(name, b);
               if (p->GetStartDateTime() >= q->GetStopDateTime() || q->GetStartDateTime() >= p->GetStopDateTime()) continue;
               const TRect rp = j.Rect(p), rq = j.Rect(q);
               const bool shared = rp.Top < rq.Bottom && rq.Top < rp.Bottom;
               EXPECT_EQ(shared, theOnScreen) << name << " " << a << " " << b;
               ++pairs;
             }
         return pairs;
       };
       EXPECT_GT(overlaps(false), 3);
       j.Tick("collisions");
       EXPECT_GT(overlaps(true), 3);
     }},
    {"TheDetailsTabListsTheBookingsOfTheCurrentResource", "ganttfeatures",
     [](Journey& j) {
       j.Tick("tabSheets");
       TPageControl* pages = j.g->GetPageControl();
       ASSERT_TRUE(pages->GetVisible());
       ASSERT_EQ(pages->PageCount(), 2);
       EXPECT_TRUE(j.Area()->isVisible());  // the chart's own page shows first
       j.Click(j.Bar("Crane 2"));
       TTabSheet* details = pages->GetPage(0) == j.g->GetGantTabSheet() ? pages->GetPage(1) : pages->GetPage(0);
       pages->SetActivePage(details);
       vxtest::ProcessEventsUntilIdle();
       TCustomMemo* memo = nullptr;
       for (QObject* o : details->children()) memo = memo ? memo : dynamic_cast<TCustomMemo*>(o);
       ASSERT_NE(memo, nullptr);
       EXPECT_EQ(memo->GetText().rfind("Crane 2\n", 0), 0u) << memo->GetText();
       // Picking another resource while the page shows follows it.
       j.g->GetTreeView()->SetCurrentDataEntity(j.Node("Plumbers"));
       vxtest::ProcessEventsUntilIdle();
       EXPECT_EQ(memo->GetText().rfind("Plumbers\n", 0), 0u) << memo->GetText();
     }},
};

class GanttJourney : public testing::TestWithParam<Case> {};

TEST_P(GanttJourney, AsTheUserSeesIt) {
  Journey j(GetParam().page);
  ASSERT_NE(j.g, nullptr);
  GetParam().walk(j);
}

INSTANTIATE_TEST_SUITE_P(Gantt, GanttJourney, testing::ValuesIn(kJourneys),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
