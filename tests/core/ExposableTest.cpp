#include <gtest/gtest.h>

#include <vxplan/core/vxExposable.h>
#include <vxplan/core/vxHolding.h>
#include <vxplan/platform/rtl/Exception.h>

using namespace vx;

namespace {

struct Tracked : TvxExposable {
  std::vector<std::string>* log;
  explicit Tracked(std::vector<std::string>* theLog) : log(theLog) {}
  void CleanForFree() override { log->push_back("clean"); }

 protected:
  ~Tracked() override { log->push_back("free"); }
};

}  // namespace

TEST(Exposable, CleansBeforeFreeingAndWaitsForTheLastHold) {
  std::vector<std::string> log;
  (new Tracked(&log))->FreeWheneverPossible();
  EXPECT_EQ(log, (std::vector<std::string>{"clean", "free"}));

  log.clear();
  auto* held = new Tracked(&log);
  {
    TvxHold hold(held);
    held->FreeWheneverPossible();
    EXPECT_EQ(log, (std::vector<std::string>{"clean"}));
    EXPECT_TRUE(held->IsFreePending());
  }
  EXPECT_EQ(log, (std::vector<std::string>{"clean", "free"}));

  log.clear();
  { TvxOwned<Tracked> owned(new Tracked(&log)); }
  EXPECT_EQ(log, (std::vector<std::string>{"clean", "free"}));
}

TEST(Exposable, FreeCallOfAForeignObjectIsAnInvalidCast) {
  TObject plain;
  EXPECT_THROW(TvxExposable::FreeCall(&plain), EInvalidCast);
  EXPECT_NO_THROW(TvxExposable::FreeCall(nullptr));
}

namespace {

struct Cell : TvxWatchable {
  int value = 7;
};

}  // namespace

// What the library reads after a handler ran: a held object that was freed
// meanwhile answers nil and is deleted with its last holder, however many
// holders, copies and lists hold it.
TEST(Holding, HeldObjectsFreedMeanwhileAnswerNilAndGoWithTheLastHolder) {
  std::vector<std::string> log;
  auto* a = new Tracked(&log);
  auto* b = new Tracked(&log);
  {
    TvxHeld<Tracked> held(a);
    TvxHeld<Tracked> copy = held;
    TvxHeldList<Tracked> walk;
    walk.Add(a);
    walk.Add(b);
    walk.Add(nullptr);
    EXPECT_EQ(walk.Size(), 2u);
    std::vector<Tracked*> seen;
    walk.ForEach([&](Tracked* t) {
      seen.push_back(t);
      if (t == a) b->FreeWheneverPossible();  // a handler frees the next one
    });
    EXPECT_EQ(seen, std::vector<Tracked*>{a});
    EXPECT_EQ(walk.At(1), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"clean"}));  // b waits for the list
    a->FreeWheneverPossible();
    EXPECT_EQ(held.Get(), nullptr);
    EXPECT_FALSE(copy);
    EXPECT_TRUE(copy.Is(a));
    walk.Clear();
    EXPECT_EQ(log, (std::vector<std::string>{"clean", "clean", "free"}));  // b went with the list
    held.Reset();
    EXPECT_EQ(log.size(), 3u);  // the copy still holds a
  }
  EXPECT_EQ(log, (std::vector<std::string>{"clean", "clean", "free", "free"}));

  // Moved and reassigned holders hand the hold on, never twice.
  log.clear();
  auto* c = new Tracked(&log);
  TvxHeld<Tracked> first(c);
  TvxHeld<Tracked> second = std::move(first);
  EXPECT_EQ(first.Get(), nullptr);
  EXPECT_EQ(second.Get(), c);
  second = second;  // self-assignment keeps the hold
  c->FreeWheneverPossible();
  EXPECT_EQ(log, (std::vector<std::string>{"clean"}));
  second.Reset(nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"clean", "free"}));
}

TEST(Holding, WatchesTellWhetherTheObjectStillExists) {
  TvxWatch<Cell> empty;
  EXPECT_EQ(empty.Get(), nullptr);
  auto* cell = new Cell;
  TvxWatch<Cell> w(cell);
  TvxWatch<Cell> copy = w;
  TvxWatch<Cell> moved = std::move(copy);
  EXPECT_EQ(w.Get(), cell);
  EXPECT_EQ(moved.Get(), cell);
  EXPECT_EQ(copy.Get(), nullptr);
  Cell other = *cell;  // a copy is another object: deleting the original leaves it unwatched
  delete cell;
  EXPECT_EQ(w.Get(), nullptr);
  EXPECT_EQ(moved.Get(), nullptr);
  EXPECT_TRUE(w.Is(cell));
  TvxWatch<Cell> ofCopy(&other);
  EXPECT_EQ(ofCopy.Get(), &other);
  EXPECT_EQ(other.value, 7);
}
