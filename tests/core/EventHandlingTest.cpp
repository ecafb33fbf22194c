#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <vxplan/core/vxBeginUpdate.h>
#include <vxplan/core/vxEventHandling.h>

using namespace vx;

namespace {

struct Owner : TObject {};
struct Message : TObject {};

}  // namespace

TEST(Event, ListenersRunInOrderOnceEachAndSeeTheCaller) {
  Owner owner;
  Message message;
  TEvent event(&owner);
  std::vector<std::string> calls;
  TSingleEventListener a(&event, [&](TSingleEventListener* l) {
    calls.push_back("a");
    EXPECT_EQ(l->GetCallingEventOwner(), &owner);
    EXPECT_EQ(l->GetCallingEvent(), &event);
    EXPECT_EQ(l->GetCallingMessage(), &message);
  }, false);
  TSingleEventListener b(&event, [&](TSingleEventListener*) { calls.push_back("b"); }, false);
  TSingleEventListener silent(&event, nullptr, false);

  event.AddListener(&a);  // already attached: stays once, in its place
  EXPECT_EQ(event.ListenerCount(), 3);
  event.TriggerEvent(&message);
  EXPECT_EQ(calls, (std::vector<std::string>{"a", "b"}));
  // A listener without a handler still learns who called.
  EXPECT_EQ(silent.GetCallingEventOwner(), &owner);
  EXPECT_EQ(silent.GetCallingMessage(), &message);

  event.RemoveListener(&a);
  EXPECT_EQ(a.GetEvent(), nullptr);
  calls.clear();
  event.TriggerEvent(nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"b"}));
  EXPECT_EQ(silent.GetCallingMessage(), nullptr);
}

TEST(Event, DestroyingTheEventFreesOnlyAutoFreeListeners) {
  int autoFreed = 0;
  struct Counted : TSingleEventListener {
    int* freed;
    Counted(TEvent* e, int* f) : TSingleEventListener(e, nullptr, true), freed(f) {}
    ~Counted() override { ++*freed; }
  };
  auto* event = new TEvent(nullptr);
  new Counted(event, &autoFreed);
  new Counted(event, &autoFreed);
  auto* kept = new TSingleEventListener(event, nullptr, false);
  delete event;
  EXPECT_EQ(autoFreed, 2);
  EXPECT_EQ(kept->GetEvent(), nullptr);
  delete kept;  // must not reach the destroyed event (ASan would catch it)

  // A listener freed before its event detaches itself.
  TEvent event2(nullptr);
  int called = 0;
  auto* gone = new TSingleEventListener(&event2, [&](TSingleEventListener*) { ++called; }, false);
  delete gone;
  event2.TriggerEvent(nullptr);
  EXPECT_EQ(called, 0);
  EXPECT_EQ(event2.ListenerCount(), 0);
}

TEST(Event, ChangesDuringATriggerActOnTheNextTrigger) {
  TEvent event(nullptr);
  std::vector<std::string> calls;
  TSingleEventListener* late = nullptr;
  TSingleEventListener* second = nullptr;

  // The first listener frees the second, removes itself, and adds a new one.
  TSingleEventListener first(&event, [&](TSingleEventListener* self) {
    calls.push_back("first");
    delete second;
    second = nullptr;
    event.RemoveListener(self);
    if (!late) late = new TSingleEventListener(&event, [&](TSingleEventListener*) { calls.push_back("late"); }, true);
  }, false);
  second = new TSingleEventListener(&event, [&](TSingleEventListener*) { calls.push_back("second"); }, false);
  new TSingleEventListener(&event, [&](TSingleEventListener*) { calls.push_back("third"); }, true);

  event.TriggerEvent(nullptr);
  // The freed listener is not called; the one after it is not skipped; the new one waits.
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "third"}));
  calls.clear();
  event.TriggerEvent(nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"third", "late"}));
}

TEST(Event, AListenerMayFreeItselfOrTheEventWhileTriggered) {
  std::vector<std::string> calls;
  auto* event = new TEvent(nullptr);
  new TSingleEventListener(event, [&](TSingleEventListener* self) {
    calls.push_back("self-freeing");
    delete self;
  }, false);
  new TSingleEventListener(event, [&](TSingleEventListener*) {
    calls.push_back("killer");
    delete event;
  }, true);
  new TSingleEventListener(event, [&](TSingleEventListener*) { calls.push_back("never"); }, true);
  event->TriggerEvent(nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"self-freeing", "killer"}));

  // Nested triggers: the inner one removes a listener the outer has yet to call.
  TEvent nested(nullptr);
  int depth = 0;
  calls.clear();
  TSingleEventListener* victim = nullptr;
  TSingleEventListener outer(&nested, [&](TSingleEventListener*) {
    calls.push_back("outer" + std::to_string(depth));
    if (depth++ == 0) nested.TriggerEvent(nullptr);
  }, false);
  TSingleEventListener remover(&nested, [&](TSingleEventListener*) {
    calls.push_back("remover");
    if (victim) nested.RemoveListener(victim);
  }, false);
  TSingleEventListener target(&nested, [&](TSingleEventListener*) { calls.push_back("victim"); }, false);
  victim = &target;
  nested.TriggerEvent(nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"outer0", "outer1", "remover", "remover"}));
}

TEST(BeginUpdate, PairsOneBeginWithOneEnd) {
  int begins = 0, ends = 0;
  { TvxBeginUpdate unused([&] { ++begins; }, [&] { ++ends; }); }
  EXPECT_EQ(begins, 0);
  EXPECT_EQ(ends, 0);
  {
    TvxBeginUpdate update([&] { ++begins; }, [&] { ++ends; });
    for (int k = 0; k < 3; ++k) update.Mark();
    EXPECT_TRUE(update.GetBeginUpdateEntered());
    EXPECT_EQ(ends, 0);
  }
  EXPECT_EQ(begins, 1);
  EXPECT_EQ(ends, 1);
  { TvxBeginUpdate noHandlers(nullptr, nullptr); noHandlers.Mark(); }
}
