#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include <vxplan/platform/rtl/FlagScope.h>

using namespace vx;

namespace {

// Opens `depth` nested scopes on a counter, records the value seen in the
// innermost one, and throws there when asked.
void Nest(int& counter, int depth, bool raise, int& seen) {
  if (depth == 0) {
    seen = counter;
    if (raise) throw std::runtime_error("handler failed");
    return;
  }
  TFlagScope scope(counter);
  Nest(counter, depth - 1, raise, seen);
}

struct CounterCase {
  int start;
  int depth;
  bool raise;
  int seenInside;
};

}  // namespace

TEST(FlagScope, CounterCountsNestedScopesAndRestoresOnReturnAndThrow) {
  const std::vector<CounterCase> cases = {
      {0, 1, false, 1}, {0, 3, false, 3}, {5, 2, false, 7}, {0, 1, true, 1}, {0, 4, true, 4}, {-2, 2, true, 0},
  };
  for (const CounterCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "start " << c.start << " depth " << c.depth << " raise " << c.raise);
    int counter = c.start, seen = -100;
    if (c.raise)
      EXPECT_THROW(Nest(counter, c.depth, true, seen), std::runtime_error);
    else
      Nest(counter, c.depth, false, seen);
    EXPECT_EQ(seen, c.seenInside);
    EXPECT_EQ(counter, c.start);
  }
}

TEST(FlagScope, FlagIsSetInsideAndGetsBackItsOldValue) {
  struct Case {
    bool before;
    bool raise;
  };
  for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
    SCOPED_TRACE(testing::Message() << "before " << c.before << " raise " << c.raise);
    bool flag = c.before;
    bool inside = false, innerInside = false, afterInner = false;
    try {
      TFlagScope outer(flag);
      inside = flag;
      {
        TFlagScope inner(flag, false);  // an explicit value, nested
        innerInside = flag;
      }
      afterInner = flag;
      if (c.raise) throw std::runtime_error("handler failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(inside);
    EXPECT_FALSE(innerInside);
    EXPECT_TRUE(afterInner);
    EXPECT_EQ(flag, c.before);
  }
}

TEST(FlagScope, PointerTakesTheValueAndGetsTheOuterOneBack) {
  int a = 1, b = 2;
  int* current = nullptr;
  {
    TFlagScope outer(current, &a);
    EXPECT_EQ(current, &a);
    try {
      TFlagScope inner(current, &b);
      EXPECT_EQ(current, &b);
      throw std::runtime_error("handler failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(current, &a);
  }
  EXPECT_EQ(current, nullptr);
}
