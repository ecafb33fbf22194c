#pragma once

// A monkey over a gallery page: random mouse, wheel and keys through Qt's
// real event delivery, while the application's handlers now and then delete
// what they are handed (an item, its row, a booking, a grid row, a tree
// node). Shared by a short seeded run in the tests and a long one among the
// benchmarks. Answers what is wrong afterwards (empty when nothing).
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <random>
#include <string>

#include "GallerySupport.h"
#include <vxplan/gantt/vxGant.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/schema/vxSchema.h>
#include <vxplan/tree/vxTree.h>

namespace vxmonkey {

using Rng = std::mt19937;

inline int Pick(Rng& theRng, int theLo, int theHi) { return std::uniform_int_distribution<int>(theLo, theHi)(theRng); }

// Chains theExtra after the handler the page set (if any).
template <class F, class G>
void Chain(F& theEvent, G theExtra) {
  F previous = theEvent;
  theEvent = [previous, theExtra](auto&&... theArgs) {
    if (previous) previous(theArgs...);
    theExtra(theArgs...);
  };
}

// The application turns destructive: handlers delete, now and then, what
// they were handed or its row.
inline void WreckGantt(vx::TvxGant_ComBasic* g, Rng& rng) {
  using namespace vx;
  auto killItem = [g, &rng](TvxDataEntity_Kronit* k, int theOdds) {
    if (!k || Pick(rng, 0, theOdds) != 0) return;
    if (Pick(rng, 0, 3) == 0) {
      if (TGantRow* row = k->GetRow()) {
        if (row->GetTreeNode() && row->GetTreeNode()->Tree())
          row->GetTreeNode()->Tree()->RemoveDataEntity(row->GetTreeNode());
        else if (row->GetGridTreeNode())
          g->GridNode_Remove(row->GetGridTreeNode());
        return;
      }
    }
    g->RemoveKronit(k);
  };
  Chain(g->OnClickGantArea, [killItem](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) { killItem(k, 40); });
  Chain(g->OnValueChanged_Kronit, [killItem](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) { killItem(k, 10); });
  Chain(g->OnSelectionChanged_Kronit, [killItem](TObject*, TvxDataList*, TvxDataEntity* e) {
    killItem(dynamic_cast<TvxDataEntity_Kronit*>(e), 60);
  });
  Chain(g->OnSelectionChanged_Tree, [g, &rng](TObject*, TvxDataList*, TvxDataEntity* e) {
    auto* node = dynamic_cast<TvxDataEntity_Tree*>(e);
    if (node && node->GetSelected() && Pick(rng, 0, 80) == 0) g->GetTreeView()->RemoveDataEntity(node);
  });
  Chain(g->OnTimeChangeRow, [killItem](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, TGantRow*, TGantRow*, vx::TDateTime,
                                       vx::TDateTime, TvxDataEntity_Kronit*&) { killItem(k, 5); });
}

inline void WreckSchema(vx::TvxSchema_ComBasic* s, Rng& rng) {
  using namespace vx;
  Chain(s->OnSelectionChanged_SchemaTime, [s, &rng](TObject*, TvxDataList*, TvxDataEntity* e) {
    auto* booking = dynamic_cast<TvxDataEntity_SchemaTime*>(e);
    if (booking && Pick(rng, 0, 40) == 0) s->RemoveSchemaTime(booking);
  });
  Chain(s->OnValueChanged_SchemaTime, [s, &rng](TObject*, TvxDataEntity* e) {
    auto* booking = dynamic_cast<TvxDataEntity_SchemaTime*>(e);
    if (booking && Pick(rng, 0, 10) == 0) s->RemoveSchemaTime(booking);
  });
}

inline void WreckGrid(vx::TvxGrid* grid, Rng& rng) {
  using namespace vx;
  Chain(grid->OnCellSelectionChanged, [grid, &rng](TBabGridView_Custom*, TBabCell* c) {
    if (!c || Pick(rng, 0, 60) != 0) return;
    // A row of a tree (the grid's own or one nested in a cell) goes with its node.
    if (TvxDataEntity_GridTreeNode* node = TvxGrid::AxisContentItemToGridTreeNode(c->GetAxisContentItemY())) {
      node->GetGridTree()->RemoveDataEntity(node);
      return;
    }
    TAxisContentList* rows = grid->GetBabGridCellForViewer()->GetAxisContentListY();
    const int row = c->getGridCell() == grid->GetBabGridCellForViewer() ? c->GetRow() : -1;
    if (row >= rows->GetFixedItems() && row < rows->Count()) rows->Drop(row);
  });
}

inline void WreckTree(vx::TvxTree_ComBasic* tree, Rng& rng) {
  using namespace vx;
  Chain(tree->OnSelectionChanged, [tree, &rng](TObject*, TvxDataList*, TvxDataEntity* e) {
    auto* node = dynamic_cast<TvxDataEntity_Tree*>(e);
    if (node && node->GetSelected() && Pick(rng, 0, 40) == 0) tree->RemoveDataEntity(node);
  });
}

inline std::string RunGalleryMonkey(const std::string& thePage, unsigned theSeed, int theEvents) {
  Rng rng(theSeed);
  vxtest::GalleryWindow w(thePage, 1180, 640);
  if (!w.Page().widget) return "no page " + thePage;
  for (vx::TControl* c : w.Page().components) {
    if (auto* g = dynamic_cast<vx::TvxGant_ComBasic*>(c)) WreckGantt(g, rng);
    if (auto* s = dynamic_cast<vx::TvxSchema_ComBasic*>(c)) WreckSchema(s, rng);
    if (auto* grid = dynamic_cast<vx::TvxGrid*>(c)) WreckGrid(grid, rng);
    if (auto* tree = dynamic_cast<vx::TvxTree_ComBasic*>(c)) WreckTree(tree, rng);
  }
  // Menus and dialogs opened on the way are closed again at once: a monkey
  // answers nothing.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  closer.start(20);

  QWindow* window = w.Window()->windowHandle();
  QWidget* page = w.Page().widget;
  auto anywhere = [&] {
    const QPoint topLeft = page->mapTo(w.Window(), QPoint(0, 0));
    return topLeft + QPoint(Pick(rng, 0, page->width() - 1), Pick(rng, 0, page->height() - 1));
  };
  // Most input goes to the page's components, where the interesting handlers are.
  auto onComponent = [&] {
    const auto& cs = w.Page().components;
    vx::TControl* c = cs[static_cast<size_t>(Pick(rng, 0, static_cast<int>(cs.size()) - 1))];
    if (!c->isVisible() || c->width() < 2 || c->height() < 2) return anywhere();
    return c->mapTo(w.Window(), QPoint(Pick(rng, 0, c->width() - 1), Pick(rng, 0, c->height() - 1)));
  };
  const Qt::KeyboardModifiers mods[] = {Qt::NoModifier, Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier,
                                        Qt::AltModifier, Qt::ControlModifier | Qt::ShiftModifier};
  const Qt::Key keys[] = {Qt::Key_A,     Qt::Key_Q,      Qt::Key_7,    Qt::Key_Space, Qt::Key_Return, Qt::Key_F2,
                          Qt::Key_Escape, Qt::Key_Tab,   Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,
                          Qt::Key_End,    Qt::Key_Home,  Qt::Key_PageDown, Qt::Key_F4, Qt::Key_Menu,  Qt::Key_Delete};
  Qt::MouseButtons down = Qt::NoButton;
  QPoint at = onComponent();
  for (int e = 0; e < theEvents; ++e) {
    const int what = Pick(rng, 0, 99);
    const Qt::KeyboardModifiers mod = mods[Pick(rng, 0, 5)];
    if (what < 20 && down == Qt::NoButton) {
      const Qt::MouseButton b = Pick(rng, 0, 5) == 0 ? Qt::RightButton : Qt::LeftButton;
      at = Pick(rng, 0, 9) == 0 ? anywhere() : onComponent();
      QTest::mousePress(window, b, mod, at);
      down = b;
    } else if (what < 55) {
      at += QPoint(Pick(rng, -60, 60), Pick(rng, -30, 30));
      if (Pick(rng, 0, 6) == 0) at = onComponent();
      QTest::mouseMove(window, at);
    } else if (what < 68 && down != Qt::NoButton) {
      QTest::mouseRelease(window, static_cast<Qt::MouseButton>(static_cast<int>(down)), mod, at);
      down = Qt::NoButton;
    } else if (what < 88) {
      QTest::keyClick(window, keys[Pick(rng, 0, static_cast<int>(std::size(keys)) - 1)], mod);
    } else if (what < 96) {
      if (QWidget* target = QApplication::widgetAt(w.Window()->mapToGlobal(at))) {
        const QPointF local = target->mapFromGlobal(QPointF(w.Window()->mapToGlobal(at)));
        const QPoint delta = Pick(rng, 0, 3) == 0 ? QPoint(0, Pick(rng, -40, 40)) : QPoint(0, Pick(rng, 0, 1) ? 120 : -120);
        QWheelEvent wheel(local, target->mapToGlobal(local), QPoint(), delta, Qt::NoButton, mod, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
      }
    } else if (down == Qt::NoButton) {
      at = onComponent();
      QTest::mouseDClick(window, Qt::LeftButton, mod, at);
    }
    QApplication::processEvents();
  }
  if (down != Qt::NoButton) QTest::mouseRelease(window, static_cast<Qt::MouseButton>(static_cast<int>(down)), {}, at);
  vxtest::ProcessEventsUntilIdle(20);

  // Afterwards the page still paints and prints, and no gesture is left.
  std::string problems;
  for (vx::TControl* c : w.Page().components) {
    if (auto* g = dynamic_cast<vx::TvxGant_ComBasic*>(c)) {
      if (g->GetMouseMoveMode() != vx::mmNone) problems += "a Gantt gesture left; ";
      if (g->OutlineCount() != 0) problems += "a Gantt outline left; ";
    }
  }
  if (w.Page().widget->grab().isNull()) problems += "the page does not paint; ";
  auto dc = vx::TDeviceContext::CreateImage(600, 400);
  if (w.Page().print) w.Page().print(dc.get());
  closer.stop();
  return problems;
}

}  // namespace vxmonkey
