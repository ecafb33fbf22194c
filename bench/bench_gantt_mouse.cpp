// Gantt chart figures under the mouse, on the 100,000-item plan in a
// 1920 x 1080 area: one step of dragging 100 selected items, one auto-scroll
// step; and the long run of random input.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <QWindow>
#include <memory>

#include "../tests/gantt/GanttMonkey.h"
#include <vxplan/gantt/vxGant.h>

using namespace vx;

namespace {

constexpr double kDay0 = 46000;

std::unique_ptr<TvxGant> ShownPlan() {
  auto g = std::make_unique<TvxGant>(nullptr);
  g->SetBounds(0, 0, 200 + 1920 + 18, 1080 + 45);
  g->SetTreeWidth(200);
  g->GetTreeView()->SetItemHeight(24);
  g->GetDateScaler()->SetStart(kDay0);
  g->GetDateScaler()->SetStop(kDay0 + 60);
  for (int r = 0; r < 10000; ++r) {
    TvxDataEntity_Tree* node = g->AddRootDataEntityTree();
    for (int i = 0; i < 10; ++i) {
      TvxDataEntity_Kronit* k = g->AddKronit(node, 0);
      k->SetStartDateTime(kDay0 + i * 6 + (r % 3) * 0.1);
      k->SetStopDateTime(kDay0 + i * 6 + 4.8);
    }
  }
  g->show();
  g->activateWindow();
  for (int k = 0; k < 5; ++k) QApplication::processEvents();
  return g;
}

// The mouse moves one step while 100 selected items are dragged: the
// outlines are taken away and drawn anew, and the hint follows.
void BM_GanttDragStep(benchmark::State& state) {
  auto g = ShownPlan();
  int selected = 0;
  TvxDataEntity_Kronit* first = nullptr;
  g->GetRowList()->ForEachRow([&](TGantRow* row) {
    auto* k = static_cast<TvxDataEntity_Kronit*>(row->GetLayer(0)->GetItems(1));
    if (selected < 100 && g->RectFromDataEntity(k).Top >= 0) {
      k->SetSelected(true);
      if (!first) first = k;
      ++selected;
    }
  });
  QWindow* window = g->windowHandle();
  const QPoint origin = g->GetGA()->mapTo(g.get(), QPoint(0, 0));
  const TRect r = g->RectFromDataEntity(first);
  const QPoint press = origin + QPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
  QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, press);
  QTest::mouseMove(window, press + QPoint(4, 0));
  int dx = 0;
  for (auto _ : state) {
    dx = dx > 300 ? 0 : dx + 3;
    QTest::mouseMove(window, press + QPoint(8 + dx, dx % 7));
    QApplication::processEvents();
  }
  state.counters["outlines"] = g->OutlineCount();
  QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, press);
}
BENCHMARK(BM_GanttDragStep)->Name("GanttDragStep/100_selected_in_100k")->Unit(benchmark::kMillisecond);

// One step of the axis while an item is held past the area's right edge:
// the axis moves and the area is painted anew.
void BM_GanttAutoScrollStep(benchmark::State& state) {
  auto g = ShownPlan();
  TvxDateScaler* s = g->GetDateScaler();
  TBitmap scalerShot, areaShot;
  for (auto _ : state) {
    // What one tick of the axis's stepping does.
    s->SetStart(s->VisibleTimeDiffToTrueTime(s->GetStart(), s->GetScrollStep()));
    s->PaintTo(&scalerShot);
    g->GetGA()->PaintTo(&areaShot);
  }
}
BENCHMARK(BM_GanttAutoScrollStep)->Name("GanttAutoScrollStep/100k")->Unit(benchmark::kMillisecond);

// 100,000 random mouse, wheel and key events over a chart of a few hundred
// items; fails when the chart is not whole afterwards.
void BM_GanttMonkey(benchmark::State& state) {
  for (auto _ : state) {
    const std::string problems = vxmonkey::RunGanttMonkey(4711u, 100000);
    if (!problems.empty()) state.SkipWithError(("seed 4711: " + problems).c_str());
  }
}
BENCHMARK(BM_GanttMonkey)->Name("GanttMonkey/100k_events")->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
