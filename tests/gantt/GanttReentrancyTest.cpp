// Handlers that delete: every event and hook of the chart that hands out an
// item, a row, a link or a page, answered by a handler that deletes that
// object, its row, or everything, while the user works through Qt's real
// event delivery or the chart prints. Afterwards the chart still paints,
// prints and takes input.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <functional>
#include <string>

#include "GanttMonkey.h"
#include "GanttSupport.h"
#include <vxplan/printing/vxGanttPrinting.h>

using namespace vx;
using vxtest::TestGant;

namespace {

enum TVictim { vObject, vRow, vEverything };
const char* const kVictims[] = {"the object", "its row", "everything"};

// Three phases of three tasks; each task has a bar in layer 0 and one in
// layer 1, the middle task of each phase two overlapping bars; links chain
// the tasks' first bars. Axis: 100 pixels a day from kDay0.
struct Plan : TestGant {
  std::vector<TvxDataEntity_Tree*> tasks;
  std::vector<TvxDataEntity_Kronit*> bars;  // bars[k]: task k's first bar
  TVictim victim = vObject;
  bool fired = false;
  bool armed = true;

  Plan() {
    vxtest::ShowWindow(this);
    GetSnap()->fStartSnapONOFF = false;
    GetSnap()->fStopSnapONOFF = false;
    for (int p = 0; p < 3; ++p) {
      TvxDataEntity_Tree* phase = Node(nullptr, "phase " + std::to_string(p));
      for (int t = 0; t < 3; ++t) {
        TvxDataEntity_Tree* task = Node(phase, "task " + std::to_string(p) + "." + std::to_string(t));
        tasks.push_back(task);
        bars.push_back(Item(task, 0.5 + t, 1.5 + t));
        Item(task, 3.5, 4, 1);
        if (t == 1) Item(task, 0.8 + t, 1.8 + t);
      }
      phase->SetExpanded(true);
    }
    for (size_t k = 1; k < bars.size(); ++k) {
      TvxDataEntity_Link* link = AddLink();
      link->fLinkOwner = bars[k - 1];
      link->fLinkedTo = bars[k];
    }
    vxtest::ProcessEventsUntilIdle();
  }

  // Deletes what the case's victim names, the first time only.
  void Kill(TvxDataEntity_Kronit* theItem, TGantRow* theRow = nullptr) {
    if (!armed) return;
    armed = false;
    fired = true;
    if (!theRow && theItem) theRow = theItem->GetRow();
    switch (victim) {
      case vObject:
        if (theItem)
          RemoveKronit(theItem);
        else if (theRow)
          GetTreeView()->RemoveDataEntity(theRow->GetTreeNode());
        break;
      case vRow:
        if (theRow) GetTreeView()->RemoveDataEntity(theRow->GetTreeNode());
        break;
      case vEverything: GetTreeView()->Clear(); break;
    }
  }

  // A row's first bar as the chart has it now; nil when it or its row went.
  static TvxDataEntity_Kronit* FirstOf(TGantRow* row) {
    TvxDataList* layer = row ? row->GetLayer(0) : nullptr;
    return layer && layer->Count() > 0 ? static_cast<TvxDataEntity_Kronit*>(layer->GetItems(0)) : nullptr;
  }
  TvxDataEntity_Kronit* FirstBar(size_t k) { return FirstOf(GetRowList()->FindRowFromTreeNode(tasks[k])); }

  TPoint Centre(TvxDataEntity_Kronit* k) {
    const TRect r = RectFromDataEntity(k);
    return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void Click(TvxDataEntity_Kronit* k, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
    const TPoint p = Centre(k);
    vxtest::MousePress(GetGA(), p.X, p.Y, b, m);
    vxtest::MouseRelease(GetGA(), p.X, p.Y, b, m);
  }
  // Press on from, move in steps by (dx, dy), release there.
  void Drag(TPoint from, int dx, int dy, Qt::KeyboardModifiers m = Qt::NoModifier) {
    vxtest::MousePress(GetGA(), from.X, from.Y, Qt::LeftButton, m);
    for (int s = 1; s <= 4; ++s) vxtest::MouseMove(GetGA(), from.X + dx * s / 4, from.Y + dy * s / 4);
    vxtest::MouseRelease(GetGA(), from.X + dx, from.Y + dy, Qt::LeftButton, m);
  }
  void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    GetGA()->SetFocus();
    vxtest::KeyClick(GetGA(), k, m);
  }
  void PrintBlock() {
    auto dc = TDeviceContext::CreateImage(1400, 900);
    int w = 0, h = 0;
    TvxPrintGantt::Print(this, dc.get(), 10, 10, 1, 1, 200, nullptr, -1, true, kDay0, kDay0 + 6, 600, 40, w, h);
  }

  // Whatever happened, the chart is whole: every item in one layer of one
  // row, links between live items, no gesture or outline left; and it still
  // paints, prints and takes input.
  std::string Check() {
    const std::string problems = vxmonkey::ChartProblems(this);
    Repaint();
    PrintBlock();
    vxtest::MousePress(GetGA(), 150, 30);
    vxtest::MouseRelease(GetGA(), 150, 30);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    vxtest::ProcessEventsUntilIdle();
    return problems;
  }
};

struct Case {
  const char* name;
  // Installs the handler that deletes (through Plan::Kill) and does what
  // makes the chart call it.
  std::function<void(Plan&)> run;
};

const Case kCases[] = {
    {"a click hands the pressed item to OnClickGantArea",
     [](Plan& p) {
       p.OnClickGantArea = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
         if (k) p.Kill(k);
       };
       p.Click(p.bars[1]);
     }},
    {"a right click hands it to OnRightClickGantArea",
     [](Plan& p) {
       p.OnRightClickGantArea = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
         if (k) p.Kill(k);
       };
       p.Click(p.bars[1], Qt::RightButton);
     }},
    {"a double click hands it to OnDblClickGantArea",
     [](Plan& p) {
       p.OnDblClickGantArea = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
         if (k) p.Kill(k);
       };
       const TPoint c = p.Centre(p.bars[1]);
       vxtest::MouseDoubleClick(p.GetGA(), c.X, c.Y);
       vxtest::MouseRelease(p.GetGA(), c.X, c.Y);
     }},
    {"a press clears the selection: the handler deletes the pressed item",
     [](Plan& p) {
       p.bars[4]->SetSelected(true);
       TvxDataEntity_Kronit* pressed = p.bars[1];
       p.OnSelectionChanged_Kronit = [&p, pressed](TObject*, TvxDataList*, TvxDataEntity* e) {
         if (!e->GetSelected()) p.Kill(pressed);
       };
       p.Click(pressed);
     }},
    {"a release on a selected item clears the others: the handler deletes the pressed item",
     [](Plan& p) {
       p.bars[1]->SetSelected(true);
       p.bars[4]->SetSelected(true);
       TvxDataEntity_Kronit* pressed = p.bars[1];
       p.OnSelectionChanged_Kronit = [&p, pressed](TObject*, TvxDataList*, TvxDataEntity* e) {
         if (!e->GetSelected()) p.Kill(pressed);
       };
       p.Click(pressed);
     }},
    {"a Ctrl press toggles the item: the handler deletes the toggled item",
     [](Plan& p) {
       p.OnSelectionChanged_Kronit = [&p](TObject*, TvxDataList*, TvxDataEntity* e) {
         p.Kill(static_cast<TvxDataEntity_Kronit*>(e));
       };
       p.Click(p.bars[1], Qt::LeftButton, Qt::ControlModifier);
     }},
    {"a press asks OnBeforeCanEditItem_Kronit",
     [](Plan& p) {
       p.OnBeforeCanEditItem_Kronit = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) { p.Kill(k); };
       p.Drag(p.Centre(p.bars[1]), 40, 0);
     }},
    {"the pointer over an item reports it to OnHintInfo",
     [](Plan& p) {
       p.OnHintInfo = [&p](TObject* o, TDateTime, TDateTime, TDateTime) {
         if (auto* k = dynamic_cast<TvxDataEntity_Kronit*>(o)) p.Kill(k);
       };
       const TPoint c = p.Centre(p.bars[1]);
       vxtest::MouseMove(p.GetGA(), c.X - 1, c.Y);
       vxtest::MouseMove(p.GetGA(), c.X, c.Y);
     }},
    {"a move in time writes the item and tells OnValueChanged_Kronit",
     [](Plan& p) {
       p.OnValueChanged_Kronit = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) { p.Kill(k); };
       p.bars[1]->SetSelected(true);
       p.bars[4]->SetSelected(true);
       p.Drag(p.Centre(p.bars[1]), 60, 0);
     }},
    {"a right-end resize tells OnValueChanged_Kronit",
     [](Plan& p) {
       p.OnValueChanged_Kronit = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) { p.Kill(k); };
       const TRect r = p.RectFromDataEntity(p.bars[1]);
       p.Drag(Point(r.Right - 1, (r.Top + r.Bottom) / 2), 50, 0);
     }},
    {"a move to another row hands the item and both rows to OnTimeChangeRow",
     [](Plan& p) {
       p.OnTimeChangeRow = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, TGantRow* from, TGantRow*, TDateTime,
                                TDateTime, TvxDataEntity_Kronit*&) { p.Kill(k, from); };
       p.Drag(p.Centre(p.bars[1]), 30, 2 * TestGant::kRowHeight);
     }},
    {"a move in time and row: OnValueChanged_Kronit deletes first, then OnTimeChangeRow",
     [](Plan& p) {
       p.SetMoveInTimeWhenMoveRow(true);
       p.OnValueChanged_Kronit = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) { p.Kill(k); };
       // Whatever it is handed must be alive: reading it is enough for the sanitizer.
       p.OnTimeChangeRow = [](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, TGantRow* from, TGantRow* to, TDateTime,
                              TDateTime, TvxDataEntity_Kronit*&) {
         EXPECT_TRUE(k && k->GetRow() == from && from->GetTreeNode() && to && to->GetTreeNode());
       };
       p.Drag(p.Centre(p.bars[1]), 30, 2 * TestGant::kRowHeight);
     }},
    {"a Ctrl-drag hands the copy to OnTimeCopy",
     [](Plan& p) {
       p.OnTimeCopy = [&p](TvxGant_ComBasic* g, TvxDataEntity_Kronit* k, TGantRow* from, TGantRow* to, TDateTime start,
                           TDateTime stop, TvxDataEntity_Kronit*& made) {
         made = g->AddKronitToGantRow(to, 0);
         made->SetStartDateTime(start);
         made->SetStopDateTime(stop);
         p.Kill(k, from);
       };
       p.bars[1]->SetSelected(true);
       p.bars[7]->SetSelected(true);
       p.Drag(p.Centre(p.bars[1]), 30, TestGant::kRowHeight, Qt::ControlModifier);
     }},
    {"a link drawn with the mouse goes to OnDependencyAction",
     [](Plan& p) {
       p.OnDependencyAction = [&p](TvxDataEntity_Kronit* a, TvxDataEntity_Kronit*) { p.Kill(a); };
       p.SetStickyMode(smDependency);
       const TPoint a = p.Centre(p.bars[1]), b = p.Centre(p.bars[4]);
       p.Drag(a, b.X - a.X, b.Y - a.Y);
     }},
    {"an arrow key asks OnKeyNavigateDataList for the active item's row",
     [](Plan& p) {
       p.SetActiveDataEntity(p.bars[1]);
       p.OnKeyNavigateDataList = [&p](TvxGant_ComBasic* g, TGantRow* row) {
         p.Kill(g->GetActiveDataEntity(), row);
         return 0;
       };
       p.Key(Qt::Key_Right);
     }},
    {"a key selects its target: the handler deletes the target",
     [](Plan& p) {
       p.SetActiveDataEntity(p.bars[4]);
       p.OnSelectionChanged_Kronit = [&p](TObject*, TvxDataList*, TvxDataEntity* e) {
         if (e->GetSelected()) p.Kill(static_cast<TvxDataEntity_Kronit*>(e));
       };
       p.Key(Qt::Key_Home);
     }},
    {"Alt-Right asks OnBeforeCanEditItem_Kronit",
     [](Plan& p) {
       p.SetActiveDataEntity(p.bars[1]);
       p.OnBeforeCanEditItem_Kronit = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) { p.Kill(k); };
       p.Key(Qt::Key_Right, Qt::AltModifier);
     }},
    {"Alt-Right moves the active item and tells OnValueChanged_Kronit",
     [](Plan& p) {
       p.SetActiveDataEntity(p.bars[1]);
       p.OnValueChanged_Kronit = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) { p.Kill(k); };
       p.Key(Qt::Key_Right, Qt::AltModifier);
     }},
    {"Alt-Ctrl-Left resizes the active item and tells OnValueChanged_Kronit",
     [](Plan& p) {
       p.SetActiveDataEntity(p.bars[1]);
       p.OnValueChanged_Kronit = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) { p.Kill(k); };
       p.Key(Qt::Key_Left, Qt::AltModifier | Qt::ControlModifier);
     }},
    {"Alt-Down hands the active item to OnTimeChangeRow",
     [](Plan& p) {
       p.SetActiveDataEntity(p.bars[1]);
       p.OnTimeChangeRow = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, TGantRow* from, TGantRow*,
                                TDateTime, TDateTime, TvxDataEntity_Kronit*&) { p.Kill(k, from); };
       p.Key(Qt::Key_Down, Qt::AltModifier);
     }},
    {"Alt-Right reports the active item to OnHintInfo",
     [](Plan& p) {
       p.SetActiveDataEntity(p.bars[1]);
       p.OnHintInfo = [&p](TObject* o, TDateTime, TDateTime, TDateTime) {
         if (auto* k = dynamic_cast<TvxDataEntity_Kronit*>(o)) p.Kill(k);
       };
       p.Key(Qt::Key_Right, Qt::AltModifier);
     }},
    {"Alt-Right selects the active item: the handler deletes it",
     [](Plan& p) {
       p.SetActiveDataEntity(p.bars[1]);
       p.OnSelectionChanged_Kronit = [&p](TObject*, TvxDataList*, TvxDataEntity* e) {
         p.Kill(static_cast<TvxDataEntity_Kronit*>(e));
       };
       p.Key(Qt::Key_Right, Qt::AltModifier);
     }},
    {"Down moves to the next row: the tree's selection handler deletes the node moved to",
     [](Plan& p) {
       p.SetActiveDataEntity(p.bars[1]);
       p.OnSelectionChanged_Tree = [&p](TObject*, TvxDataList*, TvxDataEntity* e) {
         auto* node = static_cast<TvxDataEntity_Tree*>(e);
         if (!node->GetSelected()) return;
         TGantRow* row = p.RowOf(node);
         p.Kill(Plan::FirstOf(row), row);
       };
       p.Key(Qt::Key_Down);
     }},
    {"the inline layout hands a moved item to OnCollisionDetected",
     [](Plan& p) {
       p.OnCollisionDetected = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, int) { p.Kill(k); };
       p.RowOf(p.tasks[1])->SetCollisionDetection(true);
       p.WaitForLayouts();
     }},
    {"painting hands an item of the application's style to OnUserDrawTime",
     [](Plan& p) {
       p.bars[1]->SetStyle(gtsUser);
       p.bars[2]->SetStyle(gtsUser);
       p.OnUserDrawTime = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, TCanvas*, const TRect&) { p.Kill(k); };
       p.GetGA()->Repaint();
     }},
    {"printing hands an item of the application's style to OnUserDrawTime",
     [](Plan& p) {
       p.bars[1]->SetStyle(gtsUser);
       p.bars[2]->SetStyle(gtsUser);
       p.OnUserDrawTime = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, TCanvas*, const TRect&) { p.Kill(k); };
       p.PrintBlock();
     }},
    {"painting hands a link to OnUserDrawLinks",
     [](Plan& p) {
       for (int i = 0; i < p.GetLinks()->Count(); ++i)
         static_cast<TvxDataEntity_Link*>(p.GetLinks()->GetItems(i))->fLinkStyle = tlsUserDraw;
       p.OnUserDrawLinks = [&p](TvxGant_ComBasic*, TvxDataEntity_Link* l, TCanvas*, TPoint, TPoint) {
         p.Kill(l->fLinkOwner);
       };
       p.GetGA()->Repaint();
     }},
    {"painting calls OnUserDrawBackground and OnUserDrawForeground",
     [](Plan& p) {
       p.OnUserDrawBackground = [&p](TvxGant_ComBasic*, const TRect&, TCanvas*) { p.Kill(p.FirstBar(1), p.RowOf(p.tasks[1])); };
       p.OnUserDrawForeground = [&p, calls = 0](TvxGant_ComBasic*, const TRect&, TCanvas*) mutable {
         if (++calls == 1) p.armed = true;  // once more, on what is left
         p.Kill(p.FirstBar(4), p.RowOf(p.tasks[4]));
       };
       p.GetGA()->Repaint();
     }},
    {"page by page, OnPrintToHdcNewPage deletes rows before the next page",
     [](Plan& p) {
       auto dc = TDeviceContext::CreateImage(1200, 2000);
       p.OnPrintToHdcNewPage = [&p](TvxGant_ComBasic*, int page, int& h, int&, bool& go, bool&) {
         h = 10 + 40 + 3 * TestGant::kRowHeight;  // three rows a page
         go = page <= 6;
         if (page == 2) {
           // The row that starts page 2: the fourth shown (phase 1).
           TvxDataEntity_Tree* next = p.GetTreeView()->GetDataEntityFromRow(3);
           TGantRow* row = p.RowOf(next);
           p.Kill(Plan::FirstOf(row), row);
         }
       };
       int w = 0, h = 0;
       TvxPrintGantt::Print(&p, dc.get(), 10, 10, 1, 1, 200, nullptr, -1, true, TestGant::kDay0, TestGant::kDay0 + 6,
                            600, 40, w, h);
       p.OnPrintToHdcNewPage = nullptr;
     }},
    {"an item loaded for painting goes to OnVirtualLoad_Kronit",
     [](Plan& p) {
       TGantRow* row = p.RowOf(p.tasks[2]);
       row->AddDataList()->AddUnloaded(3);
       p.OnVirtualLoad_Kronit = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
         k->SetStartDateTime(TestGant::kDay0 + 1);
         k->SetStopDateTime(TestGant::kDay0 + 2);
         p.Kill(k);
       };
       p.GetGA()->Repaint();
     }},
    {"the area's own mouse events: OnGantAreaMouseDown and OnGantAreaMouseUp",
     [](Plan& p) {
       p.OnGantAreaMouseDown = [&p](TObject*, TMouseButton, TShiftState, int x, int y) {
         p.Kill(p.GetDataEntityFromXY(x, y));
       };
       p.OnGantAreaMouseUp = [&p](TObject*, TMouseButton, TShiftState, int x, int y) {
         p.armed = true;
         p.Kill(p.GetDataEntityFromXY(x, y), p.GetRowList()->FindRowFromY(y));
       };
       p.bars[1]->SetSelected(true);
       p.Drag(p.Centre(p.bars[1]), 30, 0);
     }},
    {"a press on the tree goes to OnTreeMouseDown",
     [](Plan& p) {
       p.OnTreeMouseDown = [&p](TObject*, TMouseButton, TShiftState, int x, int y) {
         TGantRow* row = p.RowOf(p.GetTreeView()->GetDataEntityAt(x, y));
         p.Kill(Plan::FirstOf(row), row);
       };
       const TRect r = p.GetTreeView()->GetRect(p.tasks[1]);
       vxtest::MousePress(p.GetTreeView(), 30, (r.Top + r.Bottom) / 2);
       vxtest::MouseRelease(p.GetTreeView(), 30, (r.Top + r.Bottom) / 2);
     }},
    {"a scroll of the time axis goes to OnScalerChange",
     [](Plan& p) {
       p.OnScalerChange = [&p](TvxGant_ComBasic*, TDateTime, TDateTime) { p.Kill(p.bars[1]); };
       p.GetDateScaler()->SetStart(TestGant::kDay0 + 0.5);
       vxtest::ProcessEventsUntilIdle();
     }},
};

class GanttReentrancy : public testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(GanttReentrancy, HandlersMayDeleteWhatTheyAreHanded) {
  const Case& c = kCases[std::get<0>(GetParam())];
  const auto victim = static_cast<TVictim>(std::get<1>(GetParam()));
  SCOPED_TRACE(std::string(c.name) + ", deleting " + kVictims[victim]);
  vxtest::MessageCapture messages;
  Plan p;
  p.victim = victim;
  c.run(p);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_TRUE(p.fired) << "the handler was never called";
  EXPECT_EQ(p.Check(), "");
  EXPECT_TRUE(messages.Messages().empty()) << messages.Messages().front();
}

INSTANTIATE_TEST_SUITE_P(EveryEvent, GanttReentrancy,
                         testing::Combine(testing::Range(0, static_cast<int>(std::size(kCases))), testing::Range(0, 3)));

}  // namespace

namespace {

// A chart closed from one of its own handlers goes through deleteLater():
// the handler returns, the chart finishes what it was doing, and goes when
// the event loop comes round.
TEST(GanttReentrancy, AHandlerMayCloseItsChartWithDeleteLater) {
  const std::vector<std::pair<const char*, std::function<void(Plan*)>>> cases = {
      {"right click",
       [](Plan* p) {
         p->OnRightClickGantArea = [p](TvxGant_ComBasic*, TvxDataEntity_Kronit*) { p->deleteLater(); };
         const TPoint c = p->Centre(p->bars[1]);
         // Press and release in one call: the chart may go once events run.
         QTest::mouseClick(p->windowHandle(), Qt::RightButton, {}, p->GetGA()->mapTo(p, QPoint(c.X, c.Y)));
       }},
      {"value changed",
       [](Plan* p) {
         p->OnValueChanged_Kronit = [p](TvxGant_ComBasic*, TvxDataEntity_Kronit*) { p->deleteLater(); };
         p->Drag(p->Centre(p->bars[1]), 40, 0);
       }},
      {"selection changed by a key",
       [](Plan* p) {
         p->SetActiveDataEntity(p->bars[4]);
         p->OnSelectionChanged_Kronit = [p](TObject*, TvxDataList*, TvxDataEntity*) { p->deleteLater(); };
         p->Key(Qt::Key_Home);
       }},
      {"an item drawn by the application",
       [](Plan* p) {
         p->bars[1]->SetStyle(gtsUser);
         p->OnUserDrawTime = [p](TvxGant_ComBasic*, TvxDataEntity_Kronit*, TCanvas*, const TRect&) { p->deleteLater(); };
         p->GetGA()->Repaint();
       }},
      {"a page of a page-by-page print",
       [](Plan* p) {
         auto dc = TDeviceContext::CreateImage(1200, 2000);
         p->OnPrintToHdcNewPage = [p](TvxGant_ComBasic*, int page, int& h, int&, bool& go, bool&) {
           h = 10 + 40 + 3 * TestGant::kRowHeight;
           go = page <= 3;
           if (page == 2) p->deleteLater();
         };
         int w = 0, h = 0;
         TvxPrintGantt::Print(p, dc.get(), 10, 10, 1, 1, 200, nullptr, -1, true, TestGant::kDay0,
                              TestGant::kDay0 + 6, 600, 40, w, h);
       }},
  };
  for (const auto& [name, run] : cases) {
    SCOPED_TRACE(name);
    QPointer<Plan> p = new Plan;
    run(p.data());  // the last event it sends ends in the handler
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    vxtest::ProcessEventsUntilIdle();
    EXPECT_TRUE(p.isNull());
  }
}

}  // namespace
