// Gantt chart figures: building large plans, memory per time item, and a
// plan whose items are made only when their rows are first shown.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include <vxplan/gantt/vxGant.h>

using namespace vx;

namespace {

constexpr double kDay0 = 46000;

std::unique_ptr<TvxGant> MakeChart() {
  auto g = std::make_unique<TvxGant>(nullptr);
  g->SetBounds(0, 0, 1920 + 200, 1080 + 45);
  g->SetTreeWidth(200);
  g->GetTreeView()->SetItemHeight(20);
  g->GetDateScaler()->SetStart(kDay0);
  g->GetDateScaler()->SetStop(kDay0 + 60);
  return g;
}

// theRows root nodes with theItems items each, spread over two months.
void Fill(TvxGant& g, int theRows, int theItems, bool theCollision) {
  for (int r = 0; r < theRows; ++r) {
    TvxDataEntity_Tree* node = g.AddRootDataEntityTree();
    for (int i = 0; i < theItems; ++i) {
      TvxDataEntity_Kronit* k = g.AddKronit(node, 0);
      const double start = kDay0 + (r * 7 + i * 2) % 55;
      k->SetStartDateTime(start);
      k->SetStopDateTime(start + 1 + (i % 4));
    }
    if (theCollision) g.GetRowList()->FindRowFromTreeNode(node)->SetCollisionDetection(true);
  }
}

// Answers the longest turn of the event loop meanwhile (ms): how long the
// user-interface thread was busy at a stretch.
double WaitForLayouts(TvxGant& g) {
  double longest = 0;
  while (g.PendingLayoutCount() > 0) {
    const auto t0 = std::chrono::steady_clock::now();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    longest = std::max(longest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    if (g.PendingLayoutCount() > 0) std::this_thread::yield();
  }
  return longest;
}

// 10,000 rows of 10 items: built, and with collision detection on, laid out
// until the last result has been handed back on the user-interface thread.
void BM_GanttBuild(benchmark::State& state) {
  const bool collision = state.range(0) != 0;
  // 2: every row on a worker thread, however few items it has.
  const int keep = TGantRow::InlineLayoutLimit;
  if (state.range(0) == 2) TGantRow::InlineLayoutLimit = 0;
  int subCols = 0;
  double longest = 0;
  for (auto _ : state) {
    auto g = MakeChart();
    Fill(*g, 10000, 10, collision);
    if (collision) longest = std::max(longest, WaitForLayouts(*g));
    state.PauseTiming();
    subCols = g->GetRowList()->GetGantRow(0)->GetNumOfSubCols();
    g.reset();
    state.ResumeTiming();
  }
  state.counters["sub_columns_row0"] = subCols;
  state.counters["longest_busy_ms"] = longest;
  TGantRow::InlineLayoutLimit = keep;
}
BENCHMARK(BM_GanttBuild)->Name("GanttBuild/10kx10/collision_off")->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GanttBuild)->Name("GanttBuild/10kx10/collision_on")->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GanttBuild)->Name("GanttBuild/10kx10/collision_on_workers")->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

// What one time item costs in memory, its text collection included, in a
// chart of 100,000 items.
void BM_GanttMemoryPerItem(benchmark::State& state) {
  double perItem = 0;
  for (auto _ : state) {
    auto g = MakeChart();
    TvxDataEntity_Tree* node = g->AddRootDataEntityTree();
    malloc_trim(0);
    const size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 100000; ++i) g->AddKronit(node, 0);
    perItem = static_cast<double>(mallinfo2().uordblks - before) / 100000;
  }
  state.counters["bytes_per_item"] = perItem;
  state.counters["sizeof_item"] = sizeof(TvxDataEntity_Kronit);
}
BENCHMARK(BM_GanttMemoryPerItem)->Name("GanttMemoryPerItem/100k")->Unit(benchmark::kMillisecond)->Iterations(1);

// 100,000 rows of 10 items whose items are made when their row is first
// drawn: declaring the plan and showing its first screen.
void BM_GanttOpenFilledAsShown(benchmark::State& state) {
  long long loaded = 0;
  for (auto _ : state) {
    auto g = MakeChart();
    g->OnVirtualLoad_Kronit = [&loaded](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
      const int row = k->GetRow()->GetTreeNode()->ListIndex();
      const double start = kDay0 + (row * 7 + k->ListIndex() * 5) % 55;
      k->SetStartDateTime(start);
      k->SetStopDateTime(start + 2);
      loaded++;
    };
    loaded = 0;
    for (int r = 0; r < 100000; ++r) {
      TvxDataEntity_Tree* node = g->AddRootDataEntityTree();
      g->GetRowList()->FindRowFromTreeNode(node)->AddDataList()->AddUnloaded(10);
    }
    TBitmap shot;
    g->PaintTo(&shot);
    state.PauseTiming();
    g.reset();
    state.ResumeTiming();
  }
  state.counters["items_made"] = static_cast<double>(loaded);
}
BENCHMARK(BM_GanttOpenFilledAsShown)->Name("GanttOpen/100kx10/filled_as_shown")->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
