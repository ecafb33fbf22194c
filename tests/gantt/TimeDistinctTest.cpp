#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "ReferenceLayout.h"
#include <vxplan/timeitems/vxTimeDistinctGeneric.h>
#include <vxplan/platform/rtl/Exception.h>

using namespace vx;

namespace {

std::vector<int> Positions(TDistinctTimeHolderList* list) {
  std::vector<int> p;
  for (int i = 0; i < list->Count(); ++i) p.push_back(list->Get(i)->GetDistinctPosition());
  return p;
}

std::vector<int> Layout(std::initializer_list<std::tuple<double, double, const char*>> holders) {
  TDistinctTimeHolderList list;
  for (const auto& [s, e, key] : holders) list.Add(s, e, key, nullptr);
  TTimeDistinctGeneric(&list).ResolveConflicts();
  return Positions(&list);
}

}  // namespace

// A few layouts by hand, which keep the reference below honest.
TEST(TimeDistinct, TheLayoutOfTheExamples) {
  EXPECT_EQ(Layout({{1, 3, ""}, {2, 4, ""}, {5, 6, ""}}), (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(Layout({{1, 2, ""}, {2, 3, ""}}), (std::vector<int>{0, 0}));  // touching only
  EXPECT_EQ(Layout({{4, 4, ""}, {4, 4, ""}}), (std::vector<int>{2, 1}));  // a second each: they collide
  EXPECT_EQ(Layout({{1, 5, "a"}, {1, 5, "b"}, {2, 3, "a"}}), (std::vector<int>{2, 0, 1}));

  TDistinctTimeHolderList two;
  two.Add(1, 3, "", nullptr);
  two.Add(2, 4, "", nullptr);
  EXPECT_TRUE(TTimeDistinctGeneric(&two).HasConflicts());
  EXPECT_EQ(Positions(&two), (std::vector<int>{0, 0}));  // asking assigns nothing
  // A reference finds its first holder; an index past the end is an error.
  TObject a;
  EXPECT_EQ(two.FindFromReference(&a), nullptr);
  two.Add(5, 6, "", &a);
  two.Add(7, 8, "", &a);
  EXPECT_EQ(two.FindFromReference(&a), two.Get(2));
  EXPECT_THROW(two.Get(4), EListError);
}

TEST(TimeDistinct, SameLayoutAsThePairwiseScanOnRandomRows) {
  std::mt19937 rng(20261206);
  auto uni = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  auto chance = [&](double p) { return uni(0, 1) < p; };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int round = 0; round < 1500; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int n = std::uniform_int_distribution<int>(0, round < 1000 ? 40 : 400)(rng);
    const int keys = std::uniform_int_distribution<int>(1, 3)(rng);
    const double span = uni(1, 200), maxLength = uni(0.1, 60);
    TDistinctTimeHolderList fast, reference;
    double lastS = 0, lastE = 1;
    for (int i = 0; i < n; ++i) {
      double s = std::round(uni(0, span) * 4) / 4, e = s + std::round(uni(0, maxLength) * 4) / 4;
      if (chance(0.1)) {  // identical to the one before
        s = lastS;
        e = lastE;
      } else if (chance(0.1)) {  // touching it
        s = lastE;
        e = s + uni(0.25, maxLength);
      } else if (chance(0.06)) {  // reversed
        std::swap(s, e);
      } else if (chance(0.06)) {  // zero length
        e = s;
      } else if (chance(0.01)) {
        e = nan;
      } else if (chance(0.01)) {
        s = nan;
      } else if (chance(0.01)) {
        e = std::numeric_limits<double>::infinity();
      }
      lastS = s;
      lastE = e;
      const std::string key(1, static_cast<char>('a' + i % keys));
      fast.Add(s, e, key, nullptr);
      reference.Add(s, e, key, nullptr);
    }
    TTimeDistinctGeneric engine(&fast);
    engine.ResolveConflicts();
    vxtest::ReferenceLayout(&reference);
    ASSERT_EQ(Positions(&fast), Positions(&reference));
    bool any = false;
    for (int p : Positions(&reference)) any = any || p > 0;
    ASSERT_EQ(TTimeDistinctGeneric(&reference).HasConflicts(), any);
    // Sub-column lists agree with the positions, and their members never collide.
    for (int c = 0; c < engine.SubColumnCount(); ++c) {
      TDistinctTimeHolderList* column = engine.GetSubColumn(c);
      for (int k = 0; k < column->Count(); ++k) {
        ASSERT_EQ(column->Get(k)->GetDistinctPosition(), c + 1);
        for (int m = k + 1; m < column->Count(); ++m)
          ASSERT_FALSE(TTimeDistinctGeneric::InConflict(column->Get(k), column->Get(m)));
      }
    }
  }
}
