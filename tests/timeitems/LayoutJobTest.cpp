// The layout job's lifecycle, with a client that counts what reaches it.
// Also run under ThreadSanitizer (make tsan).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "UiTestSupport.h"
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/timeitems/vxLayoutJob.h>

using namespace vx;

namespace {

enum TFirst { kInline, kWorker, kPaused };  // what the first run does
enum TTwist { kNone, kAskAgain, kOutOfDate, kDestroy, kDeleteInApply };

// Takes n items of three hours, one every hour: three sub-columns.
struct Client : TLayoutJobClient {
  int n = 0, limit = 100, takes = 0, applies = 0, dropped = 0, highest = 0;
  bool current = true, offThread = false, deleteInApply = false;
  std::vector<bool> pauses;
  std::deque<TObject> refs;
  std::unique_ptr<TLayoutJob> job;

  bool LayoutTake(int& theSize) override { return ++takes, theSize = n, true; }
  void LayoutFill(TDistinctTimeHolderList* theList) override {
    refs.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) theList->Add(45000 + i / 24.0, 45000 + (i + 3) / 24.0, "", &refs[size_t(i)]);
  }
  void LayoutApply(TDistinctTimeHolderList* theList) override {
    ++applies;
    offThread = offThread || !TThread::IsMainThread();
    for (TObject& r : refs) highest = std::max(highest, theList->FindFromReference(&r)->GetDistinctPosition());
    if (deleteInApply) job.reset();
  }
  bool LayoutCurrent() override { return std::exchange(current, true); }
  void LayoutDropped() override { ++dropped; }
  void LayoutPaused(bool thePaused) override { pauses.push_back(thePaused); }
};

struct Case {
  const char* name;
  int n;
  TLayoutWhenBusy whenBusy;
  bool busy;  // every worker taken at the first run
  TTwist twist;
  TFirst first;
  int takes, applies, dropped;
} const kCases[] = {
    {"small: inline", 50, lwbPause, false, kNone, kInline, 1, 1, 0},
    {"large: on a worker", 3000, lwbPause, false, kNone, kWorker, 1, 1, 0},
    {"a newer request drops the older result", 3000, lwbPause, false, kAskAgain, kWorker, 2, 1, 1},
    {"a result the owner finds out of date is dropped", 3000, lwbRunInline, false, kOutOfDate, kWorker, 2, 1, 1},
    {"busy, pausing: resumed once workers are free", 3000, lwbPause, true, kNone, kPaused, 2, 1, 0},
    {"busy, inline: runs at once", 3000, lwbRunInline, true, kNone, kInline, 1, 1, 0},
    {"destroyed with a worker in flight", 30000, lwbPause, false, kDestroy, kWorker, 1, 0, 0},
    {"the owner deletes the job while applying inline", 50, lwbPause, false, kDeleteInApply, kInline, 1, 1, 0},
    {"the owner deletes the job while applying a worker's", 3000, lwbPause, false, kDeleteInApply, kWorker, 1, 1, 0},
};

}  // namespace

TEST(LayoutJob, Lifecycle) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const int before = TTimeDistinctGenericThread::ThreadCount();
    std::vector<TTimeDistinctGenericThread*> taken;  // workers made, never started, count as running
    while (c.busy && TTimeDistinctGenericThread::ThreadCount() < TTimeDistinctGenericThread::MaxThreads)
      taken.push_back(new TTimeDistinctGenericThread());
    TLayoutJobGroup group(TTimeDistinctGenericThread::MaxThreads);
    Client client;
    client.n = c.n;
    client.current = c.twist != kOutOfDate;
    client.deleteInApply = c.twist == kDeleteInApply;
    client.job = std::make_unique<TLayoutJob>(&client, TLayoutPolicy{&client.limit, c.whenBusy}, &group);

    client.job->Request();
    client.job->Request();  // a burst runs once
    EXPECT_EQ(group.PendingCount(), 1);
    TDoLater::DoAllNow();
    EXPECT_EQ(client.applies, c.first == kInline ? 1 : 0);
    if (client.job) {
      EXPECT_EQ(client.job->IsPending(), c.first == kWorker);
      EXPECT_EQ(group.PausedCount(), c.first == kPaused ? 1 : 0);
    }
    if (c.twist == kAskAgain) {
      // No events are processed until the new request, so the result is
      // dropped either way: on arrival if the worker ended, else with it.
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      client.job->Request();
    }
    if (c.twist == kDestroy) {
      client.job.reset();
      client.refs.clear();  // the owner's state goes before the worker ends
    }
    for (TTimeDistinctGenericThread*& t : taken) TTimeDistinctGenericThread::FreeAndCleanUp(t);

    for (int k = 0; k < 10000; ++k) {
      const bool idle = !client.job || (!client.job->IsPending() && !client.job->GetPaused());
      if (idle && TTimeDistinctGenericThread::ThreadCount() == before) break;
      vxtest::ProcessEventsUntilIdle(2);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(TTimeDistinctGenericThread::ThreadCount(), before);
    EXPECT_EQ(std::tie(client.takes, client.applies, client.dropped), std::tie(c.takes, c.applies, c.dropped));
    EXPECT_FALSE(client.offThread);
    EXPECT_EQ(client.highest, c.applies ? 3 : 0);
    EXPECT_EQ(client.pauses, (c.first == kPaused ? std::vector<bool>{true, false} : std::vector<bool>()));
    EXPECT_EQ(group.PendingCount() + group.PausedCount(), 0);
  }
}
