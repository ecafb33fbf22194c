// Row layouts on worker threads: rows paused for lack of workers and resumed
// by the chart, and a chart that goes while layouts run (the lifecycle itself
// is the layout job's, tested there). Also run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <thread>

#include "GanttSupport.h"

using namespace vx;
using vxtest::TestGant;

namespace {

// Every row goes to a worker while it lives.
struct AllOnWorkers {
  int keep = TGantRow::InlineLayoutLimit;
  AllOnWorkers() { TGantRow::InlineLayoutLimit = 0; }
  ~AllOnWorkers() { TGantRow::InlineLayoutLimit = keep; }
};

TGantRow* BusyRow(TestGant& g, int theItems) {
  TvxDataEntity_Tree* n = g.Node(nullptr, "n");
  for (int i = 0; i < theItems; ++i) g.Item(n, i * 0.1, i * 0.1 + 0.25);
  TGantRow* row = g.RowOf(n);
  row->SetCollisionDetection(true);
  return row;
}

}  // namespace

TEST(GanttRows, LayoutsOnWorkerThreadsPauseAndResume) {
  // More rows than workers may run at once.
  AllOnWorkers workers;
  {
    TestGant g;
    int reported = 0;
    g.OnCollisionDetected = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit*, int) { ++reported; };
    std::vector<TGantRow*> rows;
    for (int r = 0; r < TTimeDistinctGenericThread::MaxThreads + 15; ++r) rows.push_back(BusyRow(g, 30));
    TDoLater::DoAllNow();  // the workers' results wait for the event loop
    EXPECT_TRUE(g.GetPausedCollisionDetectionRows());
    g.WaitForLayouts();
    EXPECT_EQ(g.PendingLayoutCount(), 0);
    EXPECT_FALSE(g.GetPausedCollisionDetectionRows());
    for (TGantRow* row : rows) {
      EXPECT_TRUE(row->GetCollisionDetection());
      EXPECT_EQ(row->GetNumOfSubCols(), 3);
    }
    EXPECT_EQ(reported, static_cast<int>(rows.size()) * 30);
  }
}

TEST(GanttRows, AChartGoesWhileLayoutsRun) {
  AllOnWorkers workers;
  auto g = std::make_unique<TestGant>();
  for (int r = 0; r < 60; ++r) BusyRow(*g, 400);
  TDoLater::DoAllNow();  // workers start, the rest pause
  g.reset();
  // Whatever was in flight ends without a result and without a leak.
  for (int k = 0; k < 2000 && TTimeDistinctGenericThread::ThreadCount() > 0; ++k) {
    vxtest::ProcessEventsUntilIdle(2);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(TTimeDistinctGenericThread::ThreadCount(), 0);
}
