#pragma once

// Random mouse, wheel and key input over a schedule of a few hundred bookings,
// through Qt's real event delivery, switching between the orientations now
// and then, with handlers that allow, refuse and redirect at random. Answers
// what is wrong afterwards (empty when nothing). Shared by a short run in the
// tests and a long one among the benchmarks.
#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>
#include <memory>
#include <random>
#include <set>
#include <string>

#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/Menus.h>
#include <vxplan/schema/vxSchema.h>

namespace vxmonkey {

using namespace vx;

struct TSchemaMonkeyCounts {
  int deleted = 0;  // bookings the item menu or the host deleted
  int dropped = 0;  // drags out of the area that a target took
  int switched = 0;  // orientation switches
  int changed = 0;   // bookings moved or resized (one report each)
};

// Checks a schedule after the input: every booking in exactly one layer with
// a valid column and no negative length, and nothing of a gesture left.
inline std::string SchemaProblems(TvxSchema& s) {
  std::string problems;
  std::set<TvxDataEntity*> seen;
  const int columns = s.GetColumns()->Count();
  for (int k = 0; k < s.GetLayers()->Count(); ++k) {
    TvxDataList* layer = s.GetLayers()->GetDataList(k);
    for (int i = 0; layer && i < layer->Count(); ++i) {
      auto* e = dynamic_cast<TvxDataEntity_SchemaTime*>(layer->GetItems(i));
      if (!e || !seen.insert(e).second) problems += "a booking twice; ";
      if (!e) continue;
      if (e->GetDataList() != layer || e->GetSchema() != &s) problems += "a booking in a list it does not know; ";
      if (e->GetCol() < 0 || e->GetCol() >= columns) problems += "a booking without a column; ";
      if (e->GetStopDateTime() < e->GetStartDateTime()) problems += "a negative length; ";
    }
  }
  if (s.OutlineCount() != 0) problems += "an outline left on screen; ";
  if (s.GetHintWindow()->IsShowing()) problems += "the hint left on screen; ";
  if (s.GetShowMeBigWindow()->IsShowing()) problems += "the preview left on screen; ";
  if (s.GetLocalDrag() || s.GetLocalGrow()) problems += "a gesture left; ";
  if (s.GetSchemaArea()->Dragging()) problems += "a drag left; ";
  if (s.GetScaler()->IsScrollingUp() || s.GetScaler()->IsScrollingDown() || s.GetColScrollTimer()->GetEnabled())
    problems += "an auto-scroll left; ";
  return problems;
}

inline std::string RunSchemaMonkey(unsigned theSeed, int theEvents, TSchemaMonkeyCounts* theCounts = nullptr) {
  std::mt19937 rng(theSeed);
  auto rand = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  TSchemaMonkeyCounts counts;
  auto form = std::make_unique<TPanel>(nullptr);
  form->SetBounds(0, 0, 900, 520);
  auto* s = new TvxSchema(form.get());
  s->SetParent(form.get());
  s->SetBounds(0, 0, 700, 520);
  auto* target = new TPanel(form.get());
  target->SetParent(form.get());
  target->SetBounds(720, 0, 180, 520);
  s->SetQuadPoint(Point(50, 30));
  s->SetFlippedQuadPoint(Point(80, 30));
  s->SetScalerTimeFormat("hh:nn");
  const double day0 = 46000, hour = 1.0 / 24;
  for (int c = 0; c < 30; ++c) {
    TvxDataEntity_SchemaColumn* column = s->AddColumn();
    column->SetText("c" + std::to_string(c));
    column->SetOffsetDate(c % 7);
  }
  s->SetScalerStart(day0 + 7 * hour);
  s->SetScalerStop(day0 + 17 * hour);
  for (int i = 0; i < 300; ++i) {
    TvxDataEntity_SchemaTime* e = s->AddSchemaTime(rand(0, 2));
    const int col = rand(0, 29);
    const double start = day0 + col % 7 + (7 + rand(0, 90) / 10.0) * hour;
    e->SetCol(col);
    e->SetStartDateTime(start);
    e->SetStopDateTime(start + rand(0, 36) * 5 / 1440.0);
    if (rand(0, 3) == 0) e->AddText("t", 2, 2, rand(0, 3));
  }

  // The application: allows and refuses at random, redirects column changes
  // (also beyond the columns), deletes bookings from its menu and its
  // mouse-down handler, cancels gestures.
  s->OnBeforeCanEditItem_SchemaTime = [&](TObject*, TvxDataEntity* e) { e->SetCanEdit(rand(0, 4) != 0); };
  s->OnSwitchCol = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime*, int, int& to) {
    if (rand(0, 3) == 0) to = rand(-3, 34);
  };
  s->OnSchemaMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
    const int what = rand(0, 80);
    if (what == 0) s->MouseMoveModeCancel();
    if (what == 1)
      if (TvxDataEntity_SchemaTime* e = s->GetDataEntityFromXY(x, y)) {
        s->RemoveSchemaTime(e);
        ++counts.deleted;
      }
  };
  auto* items = new TPopupMenu(form.get());
  auto* remove = new TMenuItem(nullptr);
  remove->SetCaption("Delete");
  remove->OnClick = [&](TObject*) {
    if (auto* e = dynamic_cast<TvxDataEntity_SchemaTime*>(s->GetPopupSelectedDataEntity())) {
      s->RemoveSchemaTime(e);
      ++counts.deleted;
    }
  };
  items->GetItems()->Add(remove);
  auto* nothing = new TMenuItem(nullptr);
  nothing->SetCaption("Nothing");
  items->GetItems()->Add(nothing);
  auto* standard = new TPopupMenu(form.get());
  standard->GetItems()->Add(new TMenuItem(nullptr));
  standard->GetItems()->GetItem(0)->SetCaption("Standard");
  s->SetPopupSchema(items);
  s->SetPopupMenu(standard);
  s->OnValueChanged_SchemaTime = [&](TObject*, TvxDataEntity*) { ++counts.changed; };
  target->OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = rand(0, 1) == 1; };
  target->OnDragDrop = [&](TObject*, TObject*, int, int) { ++counts.dropped; };
  s->SetOnHeaderDragOver([&](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = rand(0, 1) == 1; });
  auto settings = [&] {
    s->SetMoveInTimeWhenColSwitch(rand(0, 1) == 1);
    s->SetStartDragWhenTimeMoveOutside(rand(0, 2) == 0);
    s->SetTimeItemAutoScroll(rand(0, 3) != 0);
    s->SetShowBigONOFF(rand(0, 1) == 1);
  };
  settings();
  s->GetShowMeBigTimer()->SetInterval(30);
  form->show();
  form->activateWindow();
  QApplication::processEvents();

  QWindow* window = form->windowHandle();
  TvxOffscreenPaint* area = s->GetSchemaArea();
  auto origin = [&] { return area->mapTo(form.get(), QPoint(0, 0)); };
  // Mostly over the area and just beyond it, sometimes anywhere in the form.
  auto at = [&] {
    if (rand(0, 5) == 0) return QPoint(rand(0, form->width() - 1), rand(0, form->height() - 1));
    return origin() + QPoint(rand(-40, area->width() + 40), rand(-30, area->height() + 30));
  };
  auto inside = [&](QPoint p) {
    return QRect(QPoint(0, 0), form->size()).contains(p) ? p : origin() + QPoint(5, 5);
  };
  const Qt::KeyboardModifiers mods[] = {Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier,
                                        Qt::ControlModifier | Qt::ShiftModifier};
  const Qt::Key keys[] = {Qt::Key_Left,   Qt::Key_Right, Qt::Key_Up,   Qt::Key_Down, Qt::Key_Menu,
                          Qt::Key_Escape, Qt::Key_Return, Qt::Key_Home, Qt::Key_PageDown};
  bool down = false;
  for (int e = 0; e < theEvents; ++e) {
    const int what = rand(0, 399);
    if (what == 0 || (what == 2 && rand(0, 1) == 0)) {
      s->SetFlipView(!s->GetFlipView());  // even in the middle of a gesture
      ++counts.switched;
    } else if (what == 1) {
      settings();
    } else if (what < 100 && !down) {
      const bool right = rand(0, 5) == 0;
      // Right presses stay over the area: elsewhere an editor's own menu would wait for the user.
      const QPoint p = right ? origin() + QPoint(rand(0, area->width() - 1), rand(0, area->height() - 1)) : inside(at());
      QTest::mousePress(window, right ? Qt::RightButton : Qt::LeftButton, mods[rand(0, 3)], p);
      down = true;
    } else if (what < 280) {
      QTest::mouseMove(window, inside(at()));
    } else if (what < 340 && down) {
      QTest::mouseRelease(window, Qt::LeftButton, mods[rand(0, 3)], inside(at()));
      QTest::mouseRelease(window, Qt::RightButton, Qt::NoModifier, inside(at()));
      down = false;
    } else if (what < 360) {
      area->setFocus();
      QTest::keyClick(window, keys[rand(0, 8)], mods[rand(0, 3)]);
    } else if (what < 380) {
      const QPointF local(rand(0, area->width() - 1), rand(0, area->height() - 1));
      QWheelEvent wheel(local, area->mapToGlobal(local), QPoint(), QPoint(0, rand(0, 1) ? 120 : -240), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(area, &wheel);
    } else if (!down) {
      QTest::mouseDClick(window, Qt::LeftButton, mods[rand(0, 3)], inside(at()));
    }
    QApplication::processEvents();
  }
  if (down) {
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, inside(at()));
    QTest::mouseRelease(window, Qt::RightButton, Qt::NoModifier, inside(at()));
  }
  items->CloseMenu();
  standard->CloseMenu();
  // The pointer leaves the schedule.
  QTest::mouseMove(window, QPoint(800, 260));
  for (int k = 0; k < 20; ++k) QApplication::processEvents();
  TDoLater::DoAllNow();
  while (s->IsLayoutPending()) {
    QApplication::processEvents();
    TDoLater::DoAllNow();
  }
  std::string problems = SchemaProblems(*s);
  if (theCounts) *theCounts = counts;
  form.reset();
  QApplication::processEvents();
  return problems;
}

}  // namespace vxmonkey
