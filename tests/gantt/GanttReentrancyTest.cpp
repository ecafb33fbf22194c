// Handlers that delete: every event and hook of the chart that hands out an
// item, a row, a link or a page, answered by a handler that deletes that
// object, its row, or everything, while the user works through Qt's real
// event delivery or the chart prints. Afterwards the chart still paints,
// prints and takes input.
#include <QTest>
#include <functional>
#include <string>

#include "GanttMonkey.h"
#include "GanttSupport.h"
#include "ReentrancyHarness.h"
#include <vxplan/printing/vxGanttPrinting.h>

using namespace vx;
using vxtest::Kill;
using vxtest::TestGant;

namespace {

// Three phases of three tasks; each task has a bar in layer 0 and one in
// layer 1, the middle task of each phase two overlapping bars; links chain
// the tasks' first bars. Axis: 100 pixels a day from kDay0.
struct Plan : TestGant, vxtest::Reentrant {
  vxtest::MessageCapture messages;
  std::vector<TvxDataEntity_Tree*> tasks;
  std::vector<TvxDataEntity_Kronit*> bars;  // bars[k]: task k's first bar

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

  void Show() {}  // shown when made
  // Deletes what the kill names, the first time only.
  void Delete(TvxDataEntity_Kronit* theItem, TGantRow* theRow = nullptr) {
    if (!Fire()) return;
    if (!theRow && theItem) theRow = theItem->GetRow();
    if (kill == Kill::Object && theItem)
      RemoveKronit(theItem);
    else if (kill != Kill::All && theRow)
      GetTreeView()->RemoveDataEntity(theRow->GetTreeNode());
    if (kill == Kill::All) GetTreeView()->Clear();
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
  void CheckWhole() {
    EXPECT_EQ(vxmonkey::ChartProblems(this), "");
    Repaint();
    PrintBlock();
    vxtest::MousePress(GetGA(), 150, 30);
    vxtest::MouseRelease(GetGA(), 150, 30);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    vxtest::ProcessEventsUntilIdle();
    EXPECT_TRUE(messages.Messages().empty()) << messages.Messages().front();
  }
};

void ClickBar1(Plan& p) { p.Click(p.bars[1]); }
void DragBar1(Plan& p) { p.Drag(p.Centre(p.bars[1]), 40, 0); }
void DragBar1ToRow3(Plan& p) { p.Drag(p.Centre(p.bars[1]), 30, 2 * TestGant::kRowHeight); }
void ActivateBar1(Plan& p) { p.SetActiveDataEntity(p.bars[1]); }
void AltRight(Plan& p) { p.Key(Qt::Key_Right, Qt::AltModifier); }
void Repaint(Plan& p) { p.GetGA()->Repaint(); }
void UserStyled(Plan& p) {
  p.bars[1]->SetStyle(gtsUser);
  p.bars[2]->SetStyle(gtsUser);
}
// The handler deletes the pressed bar 1 when another item loses its selection.
void ArmUnselected(Plan& p) {
  p.OnSelectionChanged_Kronit = [&p](TObject*, TvxDataList*, TvxDataEntity* e) {
    if (!e->GetSelected()) p.Delete(p.bars[1]);
  };
}
void ArmSelection(Plan& p) {
  p.OnSelectionChanged_Kronit = [&p](TObject*, TvxDataList*, TvxDataEntity* e) {
    p.Delete(static_cast<TvxDataEntity_Kronit*>(e));
  };
}
void ArmCanEdit(Plan& p) {
  p.OnBeforeCanEditItem_Kronit = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) { p.Delete(k); };
}
void ArmValue(Plan& p) {
  p.OnValueChanged_Kronit = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) { p.Delete(k); };
}
void ArmHint(Plan& p) {
  p.OnHintInfo = [&p](TObject* o, TDateTime, TDateTime, TDateTime) {
    if (auto* k = dynamic_cast<TvxDataEntity_Kronit*>(o)) p.Delete(k);
  };
}
void ArmChangeRow(Plan& p) {
  p.OnTimeChangeRow = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, TGantRow* from, TGantRow*, TDateTime,
                           TDateTime, TvxDataEntity_Kronit*&) { p.Delete(k, from); };
}
void ArmUserDrawTime(Plan& p) {
  p.OnUserDrawTime = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, TCanvas*, const TRect&) { p.Delete(k); };
}

const vxtest::Reentry<Plan> kCases[] = {
    {"click", nullptr,
     [](Plan& p) {
       p.OnClickGantArea = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
         if (k) p.Delete(k);
       };
     },
     ClickBar1},
    {"right click", nullptr,
     [](Plan& p) {
       p.OnRightClickGantArea = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
         if (k) p.Delete(k);
       };
     },
     [](Plan& p) { p.Click(p.bars[1], Qt::RightButton); }},
    {"double click", nullptr,
     [](Plan& p) {
       p.OnDblClickGantArea = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
         if (k) p.Delete(k);
       };
     },
     [](Plan& p) {
       const TPoint c = p.Centre(p.bars[1]);
       vxtest::MouseDoubleClick(p.GetGA(), c.X, c.Y);
       vxtest::MouseRelease(p.GetGA(), c.X, c.Y);
     }},
    // A press clears the selection of another item.
    {"press unselects", [](Plan& p) { p.bars[4]->SetSelected(true); }, ArmUnselected, ClickBar1},
    // A release on a selected item clears the others.
    {"release unselects",
     [](Plan& p) {
       p.bars[1]->SetSelected(true);
       p.bars[4]->SetSelected(true);
     },
     ArmUnselected, ClickBar1},
    {"ctrl press toggles", nullptr, ArmSelection,
     [](Plan& p) { p.Click(p.bars[1], Qt::LeftButton, Qt::ControlModifier); }},
    {"press asks may edit", nullptr, ArmCanEdit, DragBar1},
    {"hint on hover", nullptr, ArmHint,
     [](Plan& p) {
       const TPoint c = p.Centre(p.bars[1]);
       vxtest::MouseMove(p.GetGA(), c.X - 1, c.Y);
       vxtest::MouseMove(p.GetGA(), c.X, c.Y);
     }},
    {"value changed by a move",
     [](Plan& p) {
       p.bars[1]->SetSelected(true);
       p.bars[4]->SetSelected(true);
     },
     ArmValue, [](Plan& p) { p.Drag(p.Centre(p.bars[1]), 60, 0); }},
    {"value changed by a right-end resize", nullptr, ArmValue,
     [](Plan& p) {
       const TRect r = p.RectFromDataEntity(p.bars[1]);
       p.Drag(Point(r.Right - 1, (r.Top + r.Bottom) / 2), 50, 0);
     }},
    {"row changed by a move", nullptr, ArmChangeRow, DragBar1ToRow3},
    // OnValueChanged_Kronit deletes first, then OnTimeChangeRow must be handed live objects.
    {"value changed then row changed", [](Plan& p) { p.SetMoveInTimeWhenMoveRow(true); },
     [](Plan& p) {
       ArmValue(p);
       // Reading what it is handed is enough for the sanitizer.
       p.OnTimeChangeRow = [](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, TGantRow* from, TGantRow* to, TDateTime,
                              TDateTime, TvxDataEntity_Kronit*&) {
         EXPECT_TRUE(k && k->GetRow() == from && from->GetTreeNode() && to && to->GetTreeNode());
       };
     },
     DragBar1ToRow3},
    {"copy by ctrl-drag",
     [](Plan& p) {
       p.bars[1]->SetSelected(true);
       p.bars[7]->SetSelected(true);
     },
     [](Plan& p) {
       p.OnTimeCopy = [&p](TvxGant_ComBasic* g, TvxDataEntity_Kronit* k, TGantRow* from, TGantRow* to, TDateTime start,
                           TDateTime stop, TvxDataEntity_Kronit*& made) {
         made = g->AddKronitToGantRow(to, 0);
         made->SetStartDateTime(start);
         made->SetStopDateTime(stop);
         p.Delete(k, from);
       };
     },
     [](Plan& p) { p.Drag(p.Centre(p.bars[1]), 30, TestGant::kRowHeight, Qt::ControlModifier); }},
    {"link drawn with the mouse", [](Plan& p) { p.SetStickyMode(smDependency); },
     [](Plan& p) { p.OnDependencyAction = [&p](TvxDataEntity_Kronit* a, TvxDataEntity_Kronit*) { p.Delete(a); }; },
     [](Plan& p) {
       const TPoint a = p.Centre(p.bars[1]), b = p.Centre(p.bars[4]);
       p.Drag(a, b.X - a.X, b.Y - a.Y);
     }},
    {"arrow key asks for the row's next item", ActivateBar1,
     [](Plan& p) {
       p.OnKeyNavigateDataList = [&p](TvxGant_ComBasic* g, TGantRow* row) {
         p.Delete(g->GetActiveDataEntity(), row);
         return 0;
       };
     },
     [](Plan& p) { p.Key(Qt::Key_Right); }},
    {"key selects its target", [](Plan& p) { p.SetActiveDataEntity(p.bars[4]); },
     [](Plan& p) {
       p.OnSelectionChanged_Kronit = [&p](TObject*, TvxDataList*, TvxDataEntity* e) {
         if (e->GetSelected()) p.Delete(static_cast<TvxDataEntity_Kronit*>(e));
       };
     },
     [](Plan& p) { p.Key(Qt::Key_Home); }},
    {"alt-right asks may edit", ActivateBar1, ArmCanEdit, AltRight},
    {"alt-right moves", ActivateBar1, ArmValue, AltRight},
    {"alt-ctrl-left resizes", ActivateBar1, ArmValue,
     [](Plan& p) { p.Key(Qt::Key_Left, Qt::AltModifier | Qt::ControlModifier); }},
    {"alt-down changes the row", ActivateBar1, ArmChangeRow, [](Plan& p) { p.Key(Qt::Key_Down, Qt::AltModifier); }},
    {"alt-right hints", ActivateBar1, ArmHint, AltRight},
    {"alt-right selects", ActivateBar1, ArmSelection, AltRight},
    // The tree's selection handler deletes the node moved to.
    {"down moves to the next row", ActivateBar1,
     [](Plan& p) {
       p.OnSelectionChanged_Tree = [&p](TObject*, TvxDataList*, TvxDataEntity* e) {
         auto* node = static_cast<TvxDataEntity_Tree*>(e);
         if (!node->GetSelected()) return;
         TGantRow* row = p.RowOf(node);
         p.Delete(Plan::FirstOf(row), row);
       };
     },
     [](Plan& p) { p.Key(Qt::Key_Down); }},
    {"inline layout collision", nullptr,
     [](Plan& p) {
       p.OnCollisionDetected = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, int) { p.Delete(k); };
     },
     [](Plan& p) {
       p.RowOf(p.tasks[1])->SetCollisionDetection(true);
       p.WaitForLayouts();
     }},
    {"user draw time, screen", UserStyled, ArmUserDrawTime, Repaint},
    {"user draw time, paper", UserStyled, ArmUserDrawTime, [](Plan& p) { p.PrintBlock(); }},
    {"user draw links",
     [](Plan& p) {
       for (int i = 0; i < p.GetLinks()->Count(); ++i)
         static_cast<TvxDataEntity_Link*>(p.GetLinks()->GetItems(i))->fLinkStyle = tlsUserDraw;
     },
     [](Plan& p) {
       p.OnUserDrawLinks = [&p](TvxGant_ComBasic*, TvxDataEntity_Link* l, TCanvas*, TPoint, TPoint) {
         p.Delete(l->fLinkOwner);
       };
     },
     Repaint},
    {"user draw background and foreground", nullptr,
     [](Plan& p) {
       p.OnUserDrawBackground = [&p](TvxGant_ComBasic*, const TRect&, TCanvas*) {
         p.Delete(p.FirstBar(1), p.RowOf(p.tasks[1]));
       };
       p.OnUserDrawForeground = [&p, calls = 0](TvxGant_ComBasic*, const TRect&, TCanvas*) mutable {
         if (++calls == 1) p.armed = true;  // once more, on what is left
         p.Delete(p.FirstBar(4), p.RowOf(p.tasks[4]));
       };
     },
     Repaint},
    // Page by page, the handler deletes rows before the next page.
    {"print new page", nullptr,
     [](Plan& p) {
       p.OnPrintToHdcNewPage = [&p](TvxGant_ComBasic*, int page, int& h, int&, bool& go, bool&) {
         h = 10 + 40 + 3 * TestGant::kRowHeight;  // three rows a page
         go = page <= 6;
         if (page == 2) {
           // The row that starts page 2: the fourth shown (phase 1).
           TGantRow* row = p.RowOf(p.GetTreeView()->GetDataEntityFromRow(3));
           p.Delete(Plan::FirstOf(row), row);
         }
       };
     },
     [](Plan& p) {
       auto dc = TDeviceContext::CreateImage(1200, 2000);
       int w = 0, h = 0;
       TvxPrintGantt::Print(&p, dc.get(), 10, 10, 1, 1, 200, nullptr, -1, true, TestGant::kDay0, TestGant::kDay0 + 6,
                            600, 40, w, h);
       p.OnPrintToHdcNewPage = nullptr;
     }},
    {"virtual load for painting", [](Plan& p) { p.RowOf(p.tasks[2])->AddDataList()->AddUnloaded(3); },
     [](Plan& p) {
       p.OnVirtualLoad_Kronit = [&p](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
         k->SetStartDateTime(TestGant::kDay0 + 1);
         k->SetStopDateTime(TestGant::kDay0 + 2);
         p.Delete(k);
       };
     },
     Repaint},
    {"area mouse down and up", [](Plan& p) { p.bars[1]->SetSelected(true); },
     [](Plan& p) {
       p.OnGantAreaMouseDown = [&p](TObject*, TMouseButton, TShiftState, int x, int y) {
         p.Delete(p.GetDataEntityFromXY(x, y));
       };
       p.OnGantAreaMouseUp = [&p](TObject*, TMouseButton, TShiftState, int x, int y) {
         p.armed = true;
         p.Delete(p.GetDataEntityFromXY(x, y), p.GetRowList()->FindRowFromY(y));
       };
     },
     [](Plan& p) { p.Drag(p.Centre(p.bars[1]), 30, 0); }},
    {"tree mouse down", nullptr,
     [](Plan& p) {
       p.OnTreeMouseDown = [&p](TObject*, TMouseButton, TShiftState, int x, int y) {
         TGantRow* row = p.RowOf(p.GetTreeView()->GetDataEntityAt(x, y));
         p.Delete(Plan::FirstOf(row), row);
       };
     },
     [](Plan& p) {
       const TRect r = p.GetTreeView()->GetRect(p.tasks[1]);
       vxtest::MousePress(p.GetTreeView(), 30, (r.Top + r.Bottom) / 2);
       vxtest::MouseRelease(p.GetTreeView(), 30, (r.Top + r.Bottom) / 2);
     }},
    {"scaler change", nullptr,
     [](Plan& p) { p.OnScalerChange = [&p](TvxGant_ComBasic*, TDateTime, TDateTime) { p.Delete(p.bars[1]); }; },
     [](Plan& p) { p.GetDateScaler()->SetStart(TestGant::kDay0 + 0.5); }},
};

VX_REENTRY_SUITE(GanttReentrancy, Plan, kCases, vxtest::kObjectLineAll);

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
         DragBar1(*p);
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
         Repaint(*p);
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
    vxtest::ExpectGoneAtTheEventLoop(p);
  }
}

}  // namespace
