// Layout threads: an empty list, and every way of disposing of them (the
// delivery of results goes through the layout job, tested there). Also run under ThreadSanitizer (make tsan).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <deque>
#include <thread>
#include <vector>

#include "UiTestSupport.h"
#include <vxplan/timeitems/vxTimeDistinctGeneric.h>

using namespace vx;

namespace {

// A row's worth of holders: n items of one hour every 20 minutes (three deep).
void Fill(TTimeDistinctGenericThread* t, int n, std::deque<TObject>& refs) {
  refs.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    t->GetList()->Add(45000 + i / 72.0, 45000 + i / 72.0 + 1 / 24.0, "", &refs[static_cast<size_t>(i)]);
}

void WaitUntil(const std::function<bool()>& done, int maxMs = 20000) {
  for (int k = 0; k < maxMs / 2 && !done(); ++k) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace

TEST(LayoutThread, AnEmptyListStillReportsDone) {
  const int before = TTimeDistinctGenericThread::ThreadCount();
  auto* empty = new TTimeDistinctGenericThread();
  EXPECT_EQ(TTimeDistinctGenericThread::ThreadCount(), before + 1);
  bool done = false;
  empty->fOnDone = [&](TObject*) { done = true; };
  empty->Start();
  WaitUntil([&] { return done; });
  EXPECT_TRUE(done);
  TTimeDistinctGenericThread::FreeAndCleanUp(empty);
  EXPECT_EQ(empty, nullptr);
  WaitUntil([&] { return TTimeDistinctGenericThread::ThreadCount() == before; });
  EXPECT_EQ(TTimeDistinctGenericThread::ThreadCount(), before);
}

TEST(LayoutThread, DisposedAtAnyStageItNeverDeliversAndTheCountStaysRight) {
  const int before = TTimeDistinctGenericThread::ThreadCount();
  int delivered = 0;
  std::vector<std::deque<TObject>> refs(60);
  for (int k = 0; k < 60; ++k) {
    auto* t = new TTimeDistinctGenericThread();
    Fill(t, 2000 + 37 * k, refs[static_cast<size_t>(k)]);
    t->fOnDone = [&](TObject*) { ++delivered; };
    switch (k % 4) {
      case 0:  // never started
        break;
      case 1:  // running
        t->Start();
        break;
      case 2:  // started, maybe finished, result maybe waiting for the UI thread
        t->Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(k % 7));
        break;
      default:  // finished and its result on the way
        t->Start();
        while (!t->Finished() && TTimeDistinctGenericThread::ThreadCount() > 0) {
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
          if (t->Terminated()) break;
          QCoreApplication::processEvents();
          if (delivered > 0) break;
        }
        break;
    }
    if (k % 4 != 3) {
      TTimeDistinctGenericThread::FreeAndCleanUp(t);
    } else {
      const int seen = delivered;
      TTimeDistinctGenericThread::FreeAndCleanUp(t);
      delivered = seen;  // a thread that finished before disposal may have delivered
    }
  }
  // Stopped threads never deliver, and they all go.
  const int afterDisposal = delivered;
  WaitUntil([&] { return TTimeDistinctGenericThread::ThreadCount() == before; });
  EXPECT_EQ(TTimeDistinctGenericThread::ThreadCount(), before);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(delivered, afterDisposal);
}

// Results come back a batch at a time: many layouts ending together do not
// hold the message loop, and what was posted meanwhile gets in between.
TEST(LayoutThread, ResultsComeBackInBatchesThatLetOtherEventsIn) {
  constexpr int kLayouts = 40;
  std::vector<TTimeDistinctGenericThread*> threads;
  std::vector<std::deque<TObject>> refs(kLayouts);
  int delivered = 0;
  for (int k = 0; k < kLayouts; ++k) {
    auto* t = new TTimeDistinctGenericThread();
    Fill(t, 10, refs[static_cast<size_t>(k)]);
    t->fOnDone = [&delivered](TObject*) {
      ++delivered;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));  // longer than a batch / kLayouts
    };
    threads.push_back(t);
  }
  for (TTimeDistinctGenericThread* t : threads) t->Start();
  // Ended, results waiting: the loop is not run meanwhile.
  for (TTimeDistinctGenericThread* t : threads)
    for (int k = 0; k < 20000 && !t->Finished(); ++k) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  int deliveredWhenPosted = -1;
  QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { deliveredWhenPosted = delivered; },
                            Qt::QueuedConnection);
  WaitUntil([&] { return delivered == kLayouts && deliveredWhenPosted >= 0; });
  EXPECT_EQ(delivered, kLayouts);
  EXPECT_GT(deliveredWhenPosted, 0);
  EXPECT_LT(deliveredWhenPosted, kLayouts);
  for (TTimeDistinctGenericThread*& t : threads) TTimeDistinctGenericThread::FreeAndCleanUp(t);
}
