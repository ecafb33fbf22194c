#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <vxplan/core/vxEvent.h>
#include <vxplan/core/vxExposable.h>
#include <vxplan/core/vxHolding.h>

using namespace vx;

namespace {

struct Item : TvxExposable {
  void CleanForFree() override {}

 protected:
  ~Item() override = default;
};

struct Cell : TvxWatchable {};

using TItemEvent = TvxEvent<void(int theCode, Item* theItem)>;

struct EventCase {
  const char* name;
  bool handler;
  int listeners;
  bool handlerFrees;
};

}  // namespace

// Handler set or not, no or two listeners, the handler freeing the item or
// not: who runs, in which order, and what each listener is handed.
TEST(NotificationEvent, HandlerThenListenersEachSeeingWhatIsStillThere) {
  const EventCase cases[] = {
      {"no one", false, 0, false},           {"handler only", true, 0, false},
      {"handler frees, alone", true, 0, true}, {"listeners only", false, 2, false},
      {"handler and listeners", true, 2, false}, {"handler frees, listeners", true, 2, true},
  };
  for (const EventCase& c : cases) {
    SCOPED_TRACE(c.name);
    TItemEvent event;
    TvxEventListeners listeners;
    std::vector<std::string> log;
    Item* item = new Item();
    TvxHeld<Item> probe(item);  // keeps the memory readable to check the end
    if (c.handler)
      event = [&](int code, Item* it) {
        log.push_back("handler " + std::to_string(code) + (it == item ? " item" : " other"));
        if (c.handlerFrees) it->FreeWheneverPossible();
      };
    for (int k = 0; k < c.listeners; ++k)
      listeners.Listen(event, [&log, k](int code, Item* it) {
        log.push_back("listener" + std::to_string(k) + " " + std::to_string(code) + (it ? " item" : " nil"));
      });

    EXPECT_EQ(static_cast<bool>(event), c.handler || c.listeners > 0);
    if (event) event(7, item);

    std::vector<std::string> expected;
    if (c.handler) expected.push_back("handler 7 item");
    for (int k = 0; k < c.listeners; ++k)
      expected.push_back("listener" + std::to_string(k) + " 7" + (c.handlerFrees ? " nil" : " item"));
    EXPECT_EQ(log, expected);
    EXPECT_EQ(probe.Gone(), c.handlerFrees);
    if (!c.handlerFrees) item->FreeWheneverPossible();
  }
}

// Detaching: one listener, all of an owner's, one from inside a dispatch,
// and the handler cleared while listeners stay.
TEST(NotificationEvent, ListenersDetachAndTheHandlerIsTheApplicationsAlone) {
  TvxEvent<void(int)> event;
  std::vector<int> seen;
  int second = 0;
  {
    TvxEventListeners owner;
    owner.Listen(event, [&](int v) { seen.push_back(v); });
    second = TvxEventAccess::Listen(event, [&](int v) {
      seen.push_back(-v);
      TvxEventAccess::Unlisten(event, second);  // detaches itself mid-dispatch
    });
    TvxEventAccess::Listen(event, [&](int v) { seen.push_back(100 + v); });
    event(1);
    event(2);
    EXPECT_EQ(seen, (std::vector<int>{1, -1, 101, 2, 102}));
    EXPECT_FALSE(event.Handler());
  }
  // The owner's listener went with it; the third one stays.
  seen.clear();
  event = [&](int v) { seen.push_back(1000 + v); };
  event(3);
  EXPECT_EQ(seen, (std::vector<int>{1003, 103}));
  // An application chaining its previous handler copies the handler alone:
  // the listener still runs once, after the chain.
  seen.clear();
  event = [&, previous = TvxEvent<void(int)>(event)](int v) {
    previous(v);
    seen.push_back(2000 + v);
  };
  event(4);
  EXPECT_EQ(seen, (std::vector<int>{1004, 2004, 104}));
  const std::function<void(int)> asFunction = event;
  seen.clear();
  asFunction(5);
  EXPECT_EQ(seen, (std::vector<int>{1005, 2005}));
  event = nullptr;
  EXPECT_TRUE(event);  // a listener still wants it
  EXPECT_EQ(TvxEventAccess::Listen(event, std::function<void(int)>()), 0);
}

// A watched argument (a cell) deleted by the handler reaches listeners as nil;
// plain values and references go through unchanged.
TEST(NotificationEvent, WatchedArgumentsAndPlainValues) {
  TvxEvent<void(Cell*, const std::string&)> event;
  TvxEventListeners listeners;
  std::vector<std::string> log;
  bool deleteIt = true;
  event = [&](Cell* c, const std::string&) {
    if (deleteIt) delete c;
  };
  listeners.Listen(event, [&](Cell* c, const std::string& s) { log.push_back((c ? "cell " : "nil ") + s); });
  event(new Cell(), "a");
  deleteIt = false;
  Cell kept;
  event(&kept, "b");
  EXPECT_EQ(log, (std::vector<std::string>{"nil a", "cell b"}));
}
