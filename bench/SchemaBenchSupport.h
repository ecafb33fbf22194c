#pragma once
// What the schedule's benchmark programs share.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <algorithm>
#include <thread>
#include <vector>

#include <vxplan/paint/vxDoLater.h>
#include <vxplan/schema/vxSchema.h>

namespace vxbench {

// Repeated, with the fastest run reported beside the mean: on a machine
// shared with other work the fastest is the nearest to the figure alone.
inline void Repeated(benchmark::internal::Benchmark* b) {
  b->Repetitions(8)->ReportAggregatesOnly(true)->ComputeStatistics("min", [](const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
  });
}

// Deferred calls run, and the event loop turned until no layout is pending.
inline void WaitForLayout(vx::TvxSchema& s) {
  vx::TDoLater::DoAllNow();
  while (s.IsLayoutPending()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (s.IsLayoutPending()) std::this_thread::yield();
  }
}

}  // namespace vxbench
