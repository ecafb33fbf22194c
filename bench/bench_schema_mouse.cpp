// Schedule figures under the mouse, on the resource planner of 1,000 columns
// of 100 bookings (100,000) in a 1920 x 1080 drawing area: one step of
// dragging 100 selected bookings, the drop of those 100; and the long run of
// random input. All through Qt's event delivery, as a user's input.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "../tests/schema/SchemaMonkey.h"
#include <vxplan/schema/vxSchema.h>
#include "SchemaBenchSupport.h"

using namespace vx;

namespace {

using vxbench::Repeated;
using vxbench::WaitForLayout;

constexpr double kDay0 = 46000;  // 2025-12-09
constexpr int kAreaWidth = 1920, kAreaHeight = 1080;

// The planner, shown, with 100 of the bookings on screen selected: about
// three in each of the columns shown. theFirst: the one to press on.
struct Planner {
  std::unique_ptr<TvxSchema> s = std::make_unique<TvxSchema>(nullptr);
  TvxDataEntity_SchemaTime* first = nullptr;
  QWindow* window = nullptr;
  QPoint origin;

  Planner() {
    s->SetBounds(0, 0, kAreaWidth + 50, kAreaHeight + 20);
    TDoLater::DoAllNow();
    s->SetQuadPoint(Point(50, 20));
    s->SetScalerStart(kDay0);
    s->SetScalerStop(kDay0 + 1);
    s->SetScalerTimeFormat("hh:nn");
    for (int c = 0; c < 1000; ++c) s->AddColumn()->SetText("R" + std::to_string(c));
    for (int c = 0; c < 1000; ++c)
      for (int k = 0; k < 100; ++k) {
        TvxDataEntity_SchemaTime* e = s->AddSchemaTime(0);
        e->SetCol(c);
        const double start = kDay0 + 14.0 * k / 100 + ((c * 7 + k * 3) % 10) / 24.0;
        e->SetStartDateTime(start);
        e->SetStopDateTime(start + (2 + k % 3) / 24.0);
        e->AddText("Booking " + std::to_string(k), 2, 2, 1);
      }
    WaitForLayout(*s);
    s->show();
    s->activateWindow();
    for (int k = 0; k < 5; ++k) QApplication::processEvents();
    window = s->windowHandle();
    origin = s->GetSchemaArea()->mapTo(s.get(), QPoint(0, 0));
    SelectShown(100);
  }

  void SelectShown(int theCount) {
    int selected = 0;
    TvxDataList* layer = s->GetLayers()->GetDataList(0);
    for (int round = 0; round < 3 && selected < theCount; ++round)
      for (int c = 0; c < 40 && selected < theCount; ++c) {
        int seen = 0;
        for (int k = 0; k < 100; ++k) {
          auto* e = static_cast<TvxDataEntity_SchemaTime*>(layer->GetItems(c * 100 + k));
          TRect r;
          if (!s->IsVisible(e) || !s->RectFromDataEntity(false, e, r) || r.Top < 0 || r.Bottom > kAreaHeight ||
              r.Right > kAreaWidth)
            continue;
          if (seen++ != round || e->GetSelected()) continue;
          e->SetSelected(true);
          if (!first) first = e;
          ++selected;
          break;
        }
      }
    WaitForLayout(*s);
  }

  QPoint Middle(TvxDataEntity_SchemaTime* e) {
    TRect r;
    s->RectFromDataEntity(false, e, r);
    return origin + QPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
  }
};

// The mouse moves one step while 100 selected bookings are dragged: the
// outlines are taken away and drawn anew, the hint follows, and the area
// under them shows again.
void BM_SchemaDragStep(benchmark::State& state) {
  Planner p;
  const QPoint press = p.Middle(p.first);
  QTest::mousePress(p.window, Qt::LeftButton, Qt::NoModifier, press);
  QTest::mouseMove(p.window, press + QPoint(0, 4));
  QApplication::processEvents();
  int d = 0;
  for (auto _ : state) {
    d = d > 240 ? 0 : d + 3;
    QTest::mouseMove(p.window, press + QPoint(d % 11, 8 + d));
    QApplication::processEvents();
  }
  state.counters["outline_lines"] = p.s->OutlineCount();
  QTest::mouseRelease(p.window, Qt::LeftButton, Qt::NoModifier, press);
}
BENCHMARK(BM_SchemaDragStep)->Name("SchemaDragStep/100_selected_in_100k")->Unit(benchmark::kMillisecond)->Apply(Repeated);

// The release of 100 selected bookings dragged half an hour: each is moved,
// the columns they are in are laid out again, and the area repaints.
void BM_SchemaDrop(benchmark::State& state) {
  Planner p;
  if (std::getenv("DBG_INLINE")) TvxSchema_ComBasic::InlineLayoutLimit = 100000;
  int direction = 1;
  using Clock = std::chrono::steady_clock;
  double release = 0, layout = 0, repaint = 0, requests = 0;
  auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  for (auto _ : state) {
    state.PauseTiming();
    const QPoint press = p.Middle(p.first);
    const QPoint to = press + QPoint(0, direction * 22);  // 45 pixels an hour
    QTest::mousePress(p.window, Qt::LeftButton, Qt::NoModifier, press);
    QTest::mouseMove(p.window, press + QPoint(0, direction * 4));
    QTest::mouseMove(p.window, to);
    QApplication::processEvents();
    state.ResumeTiming();
    const int paints = p.s->GetSchemaArea()->GetUpdateRequestCount();
    const auto t0 = Clock::now();
    // The release and the turn of the event loop after it (the layout and a paint).
    QTest::mouseRelease(p.window, Qt::LeftButton, Qt::NoModifier, to);
    const auto t1 = Clock::now();
    // A layout on a worker comes back, and what it changed is painted.
    WaitForLayout(*p.s);
    const auto t2 = Clock::now();
    QApplication::processEvents();
    const auto t3 = Clock::now();
    requests += p.s->GetSchemaArea()->GetUpdateRequestCount() - paints;
    release += ms(t1 - t0);
    layout += ms(t2 - t1);
    repaint += ms(t3 - t2);
    direction = -direction;
  }
  // Where the time goes, per drop.
  const double n = static_cast<double>(state.iterations());
  state.counters["release_ms"] = release / n;
  state.counters["layout_ms"] = layout / n;
  state.counters["repaint_ms"] = repaint / n;
  state.counters["paint_requests"] = requests / n;
}
BENCHMARK(BM_SchemaDrop)->Name("SchemaDrop/100_selected")->Unit(benchmark::kMillisecond)->Apply(Repeated);

// 100,000 random mouse, wheel and key events over a schedule of a few hundred
// bookings in both orientations; fails when it is not whole afterwards.
void BM_SchemaMonkey(benchmark::State& state) {
  for (auto _ : state) {
    vxmonkey::TSchemaMonkeyCounts counts;
    const std::string problems = vxmonkey::RunSchemaMonkey(4711u, 100000, &counts);
    if (!problems.empty()) state.SkipWithError(("seed 4711: " + problems).c_str());
    state.counters["changed"] = counts.changed;
    state.counters["switched"] = counts.switched;
    state.counters["deleted"] = counts.deleted;
    state.counters["dropped"] = counts.dropped;
  }
}
BENCHMARK(BM_SchemaMonkey)->Name("SchemaMonkey/100k_events")->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
