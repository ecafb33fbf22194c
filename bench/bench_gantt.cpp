// Collision layout figures: one long row in the library's layout and in the
// pairwise reference, and many rows through the worker threads.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <random>
#include <thread>

#include "../tests/gantt/ReferenceLayout.h"
#include <vxplan/timeitems/vxTimeDistinctGeneric.h>

using namespace vx;

namespace {

// n holders of 1 to 8 hours placed at random over one year.
void FillYear(TDistinctTimeHolderList& list, int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> start(45000, 45365), hours(1, 8);
  for (int i = 0; i < n; ++i) {
    const double s = start(rng);
    list.Add(s, s + hours(rng) / 24, "", nullptr);
  }
}

void BM_LayoutOneRow(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  int depth = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TDistinctTimeHolderList list;
    FillYear(list, n, 17);
    state.ResumeTiming();
    TTimeDistinctGeneric engine(&list);
    engine.ResolveConflicts();
    depth = engine.SubColumnCount();
  }
  state.counters["sub_columns"] = depth;
}
BENCHMARK(BM_LayoutOneRow)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReferenceLayoutOneRow(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    TDistinctTimeHolderList list;
    FillYear(list, n, 17);
    state.ResumeTiming();
    vxtest::ReferenceLayout(&list);
  }
}
BENCHMARK(BM_ReferenceLayoutOneRow)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

// 10,000 rows of 20 holders, each laid out by a worker thread; never more
// than MaxThreads threads at once, as the chart does. Wall time until every
// result has been delivered on the user-interface thread.
void BM_TenThousandRowsThroughWorkers(benchmark::State& state) {
  constexpr int kRows = 10000;
  std::deque<TObject> refs(20);
  for (auto _ : state) {
    int next = 0, delivered = 0;
    while (delivered < kRows) {
      while (next < kRows && TTimeDistinctGenericThread::ThreadCount() < TTimeDistinctGenericThread::MaxThreads) {
        auto* t = new TTimeDistinctGenericThread();
        std::mt19937 rng(static_cast<unsigned>(next));
        std::uniform_real_distribution<double> start(45000, 45010), hours(1, 30);
        for (TObject& r : refs) {
          const double s = start(rng);
          t->GetList()->Add(s, s + hours(rng) / 24, "", &r);
        }
        t->fOnDone = [&delivered](TObject* sender) {
          ++delivered;
          auto* done = static_cast<TTimeDistinctGenericThread*>(sender);
          TTimeDistinctGenericThread::FreeAndCleanUp(done);
        };
        t->Start();
        ++next;
      }
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      if (TTimeDistinctGenericThread::ThreadCount() >= TTimeDistinctGenericThread::MaxThreads)
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    while (TTimeDistinctGenericThread::ThreadCount() > 0) QCoreApplication::processEvents();
  }
  state.counters["rows"] = kRows;
}
BENCHMARK(BM_TenThousandRowsThroughWorkers)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
