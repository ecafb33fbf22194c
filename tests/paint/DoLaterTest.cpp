#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "UiTestSupport.h"
#include <vxplan/paint/vxDoLater.h>

using namespace vx;
using Lines = std::vector<std::string>;

namespace {

struct Data : TObject {
  explicit Data(std::string n) : name(std::move(n)) {}
  std::string name;
};

class Target : public TObject {
public:
  explicit Target(std::string n, Lines* theLog) : name(std::move(n)), log(theLog) {}
  ~Target() override {
    TDoLater::NeverMind(DoLaterCall<&Target::F>(this));
    TDoLater::NeverMind(DoLaterCall<&Target::G>(this));
  }
  void F(TObject* d) {
    log->push_back(name + ".F(" + static_cast<Data*>(d)->name + ")");
    if (failures > 0) {
      --failures;
      throw std::runtime_error("F failed");
    }
    if (then) {
      auto next = std::move(then);
      then = nullptr;
      next();
    }
  }
  void G(TObject* d) { log->push_back(name + ".G(" + static_cast<Data*>(d)->name + ")"); }

  TDoLaterCall f() { return DoLaterCall<&Target::F>(this); }
  TDoLaterCall g() { return DoLaterCall<&Target::G>(this); }

  std::string name;
  Lines* log;
  int failures = 0;
  std::function<void()> then;
};

}  // namespace

TEST(DoLater, DropsDuplicatesAndKeepsOrder) {
  Lines log;
  Target t("t", &log), u("u", &log);
  Data x("x"), y("y");
  TDoLater::DoLater(t.f(), &x);
  TDoLater::DoLater(t.f(), &x);
  TDoLater::DoLater(u.f(), &x);  // another object: another call
  TDoLater::DoLater(t.f(), &y);
  TDoLater::DoLater(t.f(), &x);
  TDoLater::DoLater(t.g(), &x);
  EXPECT_TRUE(TDoLater::AlreadyInList(t.f(), &y));
  EXPECT_FALSE(TDoLater::AlreadyInList(u.g(), &x));
  EXPECT_TRUE(TDoLater::CompareMethodPointer(t.f(), DoLaterCall<&Target::F>(&t)));
  EXPECT_FALSE(TDoLater::CompareMethodPointer(t.f(), t.g()));
  EXPECT_EQ(TDoLater::PendingCount(), 4);
  TDoLater::DoAllNow();
  EXPECT_EQ(log, (Lines{"t.F(x)", "u.F(x)", "t.F(y)", "t.G(x)"}));

  // Once run, the same call may be queued again.
  TDoLater::DoLater(t.f(), &x);
  TDoLater::DoAllNow();
  EXPECT_EQ(log.back(), "t.F(x)");
  TDoLater::DoLater(TDoLaterCall(), &x);  // an empty reference is ignored
  EXPECT_EQ(TDoLater::PendingCount(), 0);
}

TEST(DoLater, NeverMindRemovesEveryEntryOfOneCall) {
  Lines log;
  Target t("t", &log);
  Data x("x"), y("y");
  TDoLater::DoLater(t.f(), &x);
  TDoLater::DoLater(t.g(), &x);
  TDoLater::DoLater(t.f(), &y);
  TDoLater::NeverMind(t.f());
  EXPECT_FALSE(TDoLater::AlreadyInList(t.f(), &x));
  TDoLater::DoAllNow();
  EXPECT_EQ(log, (Lines{"t.G(x)"}));

  // An object that goes after NeverMind is never called back.
  auto* gone = new Target("gone", &log);
  TDoLater::DoLater(gone->f(), &x);
  TDoLater::DoLater(gone->g(), &y);
  delete gone;  // its destructor says NeverMind
  vxtest::ProcessEventsUntilIdle();
  TDoLater::DoAllNow();
  EXPECT_EQ(log, (Lines{"t.G(x)"}));
}

TEST(DoLater, CallsQueuedByACallRunInTheSamePass) {
  Lines log;
  Target t("t", &log);
  Data x("x"), y("y");
  t.then = [&] {
    TDoLater::DoLater(t.g(), &y);
    TDoLater::DoLater(t.f(), &x);  // its own twin: it is running, so this is a new run
  };
  TDoLater::DoLater(t.f(), &x);
  TDoLater::DoAllNow();
  EXPECT_EQ(log, (Lines{"t.F(x)", "t.G(y)", "t.F(x)"}));
  EXPECT_EQ(TDoLater::PendingCount(), 0);

  // A running call that says NeverMind for itself is still finished; a nested
  // pass does not run it twice.
  log.clear();
  t.then = [&] {
    TDoLater::NeverMind(t.f());
    TDoLater::DoLater(t.g(), &x);
    TDoLater::DoAllNow();
  };
  TDoLater::DoLater(t.f(), &y);
  TDoLater::DoAllNow();
  EXPECT_EQ(log, (Lines{"t.F(y)", "t.G(x)"}));
}

TEST(DoLater, AFailingCallStaysFirstAndRunsAgain) {
  Lines log;
  Target t("t", &log);
  Data x("x"), y("y");
  t.failures = 1;
  TDoLater::DoLater(t.f(), &x);
  TDoLater::DoLater(t.g(), &y);
  EXPECT_THROW(TDoLater::DoAllNow(), std::runtime_error);
  EXPECT_EQ(log, (Lines{"t.F(x)"}));
  EXPECT_EQ(TDoLater::PendingCount(), 2);
  EXPECT_TRUE(TDoLater::AlreadyInList(t.f(), &x));
  TDoLater::DoLater(t.f(), &x);  // still pending: dropped
  TDoLater::DoAllNow();
  EXPECT_EQ(log, (Lines{"t.F(x)", "t.F(x)", "t.G(y)"}));

  // From the message loop the failure reaches the application's handler.
  vxtest::MessageCapture capture;
  t.failures = 1;
  TDoLater::DoLater(t.f(), &y);
  vxtest::ProcessEventsUntilIdle(3);
  EXPECT_EQ(capture.Messages(), (Lines{"F failed"}));
  TDoLater::DoAllNow();
  EXPECT_EQ(TDoLater::PendingCount(), 0);
}

// The message loop runs the queue, but thousands of queued calls do not hold
// it: it runs them a slice at a time, and what was posted meanwhile gets in
// between.
TEST(DoLater, TheMessageLoopRunsALongQueueInSlices) {
  constexpr int kCalls = 40;
  Lines log;
  std::vector<std::unique_ptr<Target>> targets;
  Data x("x");
  int ran = 0;
  for (int k = 0; k < kCalls; ++k) {
    targets.push_back(std::make_unique<Target>("t" + std::to_string(k), &log));
    targets.back()->then = [&ran] {
      ++ran;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));  // longer than a slice / kCalls
    };
    TDoLater::DoLater(targets.back()->f(), &x);
  }
  int ranWhenPosted = -1;
  QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { ranWhenPosted = ran; }, Qt::QueuedConnection);
  for (int turn = 0; turn < 1000 && (ran < kCalls || ranWhenPosted < 0); ++turn)
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  EXPECT_EQ(ran, kCalls);
  EXPECT_GT(ranWhenPosted, 0);
  EXPECT_LT(ranWhenPosted, kCalls);
  // DoAllNow still runs everything at once.
  for (auto& t : targets) TDoLater::DoLater(t->g(), &x);
  TDoLater::DoAllNow();
  EXPECT_EQ(TDoLater::PendingCount(), 0);
}
