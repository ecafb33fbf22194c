// Workers queue deferred calls while the user-interface thread runs the queue.
// Built and run under ThreadSanitizer too (make tsan).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <thread>
#include <vector>

#include "UiTestSupport.h"
#include <vxplan/paint/vxDoLater.h>

using namespace vx;

namespace {

class Counter : public TObject {
public:
  explicit Counter(int n) : runs(static_cast<size_t>(n), 0) {}
  ~Counter() override { TDoLater::NeverMind(DoLaterCall<&Counter::Run>(this)); }
  void Run(TObject* d) {
    EXPECT_EQ(std::this_thread::get_id(), ui);
    ++runs[static_cast<size_t>(static_cast<Item*>(d)->index)];
  }
  struct Item : TObject {
    int index = 0;
  };
  std::vector<int> runs;  // touched by the UI thread only
  std::thread::id ui = std::this_thread::get_id();
};

}  // namespace

TEST(DoLaterThreads, WorkersQueueWhileTheUiThreadRuns) {
  constexpr int kItems = 200, kWorkers = 3, kCallsPerWorker = 20000;
  Counter counter(kItems);
  std::vector<Counter::Item> items(kItems);
  for (int i = 0; i < kItems; ++i) items[static_cast<size_t>(i)].index = i;
  const TDoLaterCall call = DoLaterCall<&Counter::Run>(&counter);

  std::atomic<int> done{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w)
    workers.emplace_back([&, w] {
      TThreadSyncInfo me;
      for (int k = 0; k < kCallsPerWorker; ++k)
        TDoLater::DoLater(call, &items[static_cast<size_t>((k * 7 + w) % kItems)], &me);
      done.fetch_add(1);
    });
  while (done.load() < kWorkers) {
    TDoLater::DoAllNow();
    QCoreApplication::processEvents();
  }
  for (auto& t : workers) t.join();
  vxtest::ProcessEventsUntilIdle();
  TDoLater::DoAllNow();

  EXPECT_EQ(TDoLater::PendingCount(), 0);
  long total = 0;
  for (int r : counter.runs) {
    EXPECT_GE(r, 1);
    total += r;
  }
  EXPECT_LE(total, static_cast<long>(kWorkers) * kCallsPerWorker);
  TThreadSyncInfo a, b;
  EXPECT_TRUE(a.IsEqual(b));
  bool sameAsWorker = true;
  std::thread([&] { sameAsWorker = TThreadSyncInfo().IsEqual(a); }).join();
  EXPECT_FALSE(sameAsWorker);
}
