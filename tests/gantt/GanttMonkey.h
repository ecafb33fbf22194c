#pragma once

// Random mouse, wheel and key input over a chart with a few hundred items,
// links and layers and handlers that say yes or no at random, through Qt's
// real event delivery. Answers what is wrong afterwards (empty when nothing).
// Shared by a short run in the tests and a long one among the benchmarks.
#include <QApplication>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <random>
#include <set>
#include <string>

#include <vxplan/gantt/vxGant.h>

namespace vxmonkey {

using namespace vx;

// What is wrong with a chart's structure (empty when nothing): every item in
// exactly one layer of one row, every link's ends and the active item alive,
// no outline and no mouse mode left.
inline std::string ChartProblems(TvxGant* g) {
  std::string problems;
  std::set<TvxDataEntity_Kronit*> seen;
  g->GetRowList()->ForEachRow([&](TGantRow* row) {
    for (int k = 0; k < row->GetLayerCount(); ++k) {
      TvxDataList* layer = row->GetLayer(k);
      for (int i = 0; i < layer->Count(); ++i) {
        auto* item = static_cast<TvxDataEntity_Kronit*>(layer->GetItems(i));
        if (!seen.insert(item).second) problems += "an item twice; ";
        if (item->GetDataList() != layer || item->GetRow() != row)
          problems += "an item in a list it does not know; ";
      }
    }
  });
  for (int i = 0; i < g->GetLinks()->Count(); ++i) {
    auto* link = static_cast<TvxDataEntity_Link*>(g->GetLinks()->GetItems(i));
    if (!seen.count(link->fLinkOwner) || !seen.count(link->fLinkedTo)) problems += "a link to a gone item; ";
  }
  if (g->GetActiveDataEntity() && !seen.count(g->GetActiveDataEntity())) problems += "a gone active item; ";
  if (g->OutlineCount() != 0) problems += "an outline left on screen; ";
  if (g->GetMouseMoveMode() != mmNone) problems += "a mouse mode left; ";
  return problems;
}

inline std::string RunGanttMonkey(unsigned theSeed, int theEvents) {
  std::mt19937 rng(theSeed);
  auto rand = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto g = std::make_unique<TvxGant>(nullptr);
  g->SetBounds(0, 0, 900, 500);
  g->GetTreeView()->SetItemHeight(20);
  const double day0 = 46000;
  g->GetDateScaler()->SetStart(day0);
  g->GetDateScaler()->SetStop(day0 + 10);
  g->show();
  g->activateWindow();
  QApplication::processEvents();

  std::vector<TvxDataEntity_Tree*> nodes;
  for (int i = 0; i < 40; ++i) {
    TvxDataEntity_Tree* parent = i > 10 && rand(0, 2) == 0 ? nodes[static_cast<size_t>(rand(0, 9))] : nullptr;
    TvxDataEntity_Tree* n = g->AddDataEntityTree(parent);
    n->SetText("n" + std::to_string(i));
    nodes.push_back(n);
    TGantRow* row = g->GetRowList()->FindRowFromTreeNode(n);
    row->fTimeItems_CanMove = rand(0, 5) != 0;
    row->fTimeItems_CanChangeRow = rand(0, 5) != 0;
    row->fTimeItems_CanResize = rand(0, 5) != 0;
    row->SetCollisionDetection(rand(0, 3) == 0);
    for (int k = 0; k < 8; ++k) {
      TvxDataEntity_Kronit* item = g->AddKronit(n, rand(0, 2));
      const double from = rand(0, 90) / 10.0;
      item->SetStartDateTime(day0 + from);
      item->SetStopDateTime(day0 + from + rand(0, 20) / 10.0);
      item->SetStyle(static_cast<std::uint8_t>(rand(0, 8)));
      if (rand(0, 4) == 0) item->GetTimeItemTextCollection()->AddText("t", 1, 1, 1);
    }
    nodes.back()->SetExpanded(rand(0, 1) == 1);
  }
  std::vector<TvxDataEntity_Kronit*> items;
  g->ForEachKronit([&](TvxDataEntity_Kronit* k) { items.push_back(k); });
  for (int l = 0; l < 60; ++l) {
    TvxDataEntity_Link* link = g->AddLink();
    link->fLinkOwner = items[static_cast<size_t>(rand(0, static_cast<int>(items.size()) - 1))];
    link->fLinkedTo = items[static_cast<size_t>(rand(0, static_cast<int>(items.size()) - 1))];
    link->fLinkStyle = static_cast<TLinkStyle>(rand(0, 1));
  }
  // The application: says yes or no at random, moves and copies items, makes
  // links, and now and then deletes an item while the user works.
  g->OnBeforeCanEditItem_Kronit = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) { k->SetCanEdit(rand(0, 4) != 0); };
  g->OnTimeChangeRow = [&](TvxGant_ComBasic* chart, TvxDataEntity_Kronit* item, TGantRow*, TGantRow* to, TDateTime start,
                           TDateTime stop, TvxDataEntity_Kronit*& made) {
    if (rand(0, 1)) return;
    made = chart->AddKronitToGantRow(to, 0);
    made->SetStartDateTime(start);
    made->SetStopDateTime(stop);
    chart->RemoveKronit(item);
  };
  int copies = 0;
  g->OnTimeCopy = [&](TvxGant_ComBasic* chart, TvxDataEntity_Kronit*, TGantRow*, TGantRow* to, TDateTime start,
                      TDateTime stop, TvxDataEntity_Kronit*& made) {
    if (++copies > 200) return;
    made = chart->AddKronitToGantRow(to, rand(0, 2));
    made->SetStartDateTime(start);
    made->SetStopDateTime(stop);
  };
  g->OnDependencyAction = [&](TvxDataEntity_Kronit* a, TvxDataEntity_Kronit* b) {
    if (g->GetLinks()->Count() > 300) return;
    TvxDataEntity_Link* link = g->AddLink();
    link->fLinkOwner = a;
    link->fLinkedTo = b;
  };
  g->OnClickGantArea = [&](TvxGant_ComBasic* chart, TvxDataEntity_Kronit* k) {
    if (k && rand(0, 60) == 0) chart->RemoveKronit(k);
  };
  g->SetStartDragWhenTimeMoveOutside(rand(0, 1) == 1);
  g->GetTreeView()->OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = rand(0, 1); };

  QWindow* window = g->windowHandle();
  TvxOffscreenPaint_GA* ga = g->GetGA();
  const QPoint origin = ga->mapTo(g.get(), QPoint(0, 0));
  auto at = [&] { return origin + QPoint(rand(-40, ga->width() + 40), rand(-20, ga->height() + 20)); };
  auto inside = [&](QPoint p) { return QRect(QPoint(0, 0), g->size()).contains(p) ? p : QPoint(origin.x() + 5, origin.y() + 5); };
  const Qt::KeyboardModifiers mods[] = {Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier};
  const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End, Qt::Key_Space, Qt::Key_Escape};
  bool down = false;
  for (int e = 0; e < theEvents; ++e) {
    const int what = rand(0, 99);
    if (what < 25 && !down) {
      if (rand(0, 20) == 0) g->SetStickyMode(smDependency);
      const bool right = rand(0, 4) == 0;
      // Right presses stay over the area itself: elsewhere a line editor's own menu would wait for the user.
      const QPoint p = right ? origin + QPoint(rand(0, ga->width() - 1), rand(0, ga->height() - 1)) : inside(at());
      QTest::mousePress(window, right ? Qt::RightButton : Qt::LeftButton, mods[rand(0, 2)], p);
      down = true;
    } else if (what < 70) {
      QTest::mouseMove(window, inside(at()));
    } else if (what < 85 && down) {
      QTest::mouseRelease(window, Qt::LeftButton, mods[rand(0, 2)], inside(at()));
      QTest::mouseRelease(window, Qt::RightButton, Qt::NoModifier, inside(at()));
      down = false;
    } else if (what < 90) {
      ga->setFocus();
      QTest::keyClick(window, keys[rand(0, 7)], mods[rand(0, 2)]);
    } else if (what < 95) {
      QWheelEvent wheel(QPointF(10, 10), ga->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, rand(0, 1) ? 120 : -240),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(ga, &wheel);
    } else if (!down) {
      QTest::mouseDClick(window, Qt::LeftButton, mods[rand(0, 2)], inside(at()));
    }
    QApplication::processEvents();
  }
  if (down) QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, inside(at()));
  for (int k = 0; k < 20; ++k) QApplication::processEvents();

  std::string problems = ChartProblems(g.get());
  g.reset();
  QApplication::processEvents();
  return problems;
}

}  // namespace vxmonkey
