// The collision layout on a worker thread: results equal to the inline
// layout's, and changes while it runs (the lifecycle itself is the layout
// job's, tested there). Also run under ThreadSanitizer (make tsan).
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "SchemaSupport.h"

using namespace vx;
using vxtest::TestSchema;

namespace {

// Every layout goes to a worker while it lives.
struct AllOnWorkers {
  int keep = TvxSchema_ComBasic::InlineLayoutLimit;
  AllOnWorkers() { TvxSchema_ComBasic::InlineLayoutLimit = 0; }
  ~AllOnWorkers() { TvxSchema_ComBasic::InlineLayoutLimit = keep; }
};

// theColumns columns of theItems overlapping bookings each, in three layers.
std::vector<TvxDataEntity_SchemaTime*> Fill(TestSchema& s, int theColumns, int theItems) {
  std::vector<TvxDataEntity_SchemaTime*> items;
  for (int c = 0; c < theColumns; ++c) s.Column(std::to_string(c));
  for (int c = 0; c < theColumns; ++c)
    for (int i = 0; i < theItems; ++i) items.push_back(s.Item(c, 8 + (i % 37) * 0.2, 9 + (i % 23) * 0.15, i % 3));
  return items;
}

}  // namespace

TEST(SchemaThreads, AWorkersLayoutEqualsTheInlineOne) {
  TestSchema inlineOne;
  std::vector<TvxDataEntity_SchemaTime*> expected = Fill(inlineOne, 6, 120);
  inlineOne.SetCollisionDetectBetweenDataList(true);
  inlineOne.Settle();
  {
    AllOnWorkers workers;
    TestSchema s;
    int reported = 0;
    s.OnCollisionDetected = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime*, int) { ++reported; };
    std::vector<TvxDataEntity_SchemaTime*> items = Fill(s, 6, 120);
    s.SetCollisionDetectBetweenDataList(true);
    TDoLater::DoAllNow();
    EXPECT_TRUE(s.IsLayoutPending());
    s.Settle();
    EXPECT_FALSE(s.IsLayoutPending());
    EXPECT_GT(reported, 0);
    for (size_t k = 0; k < items.size(); ++k) {
      ASSERT_EQ(items[k]->GetSubCol(), expected[k]->GetSubCol()) << k;
      ASSERT_EQ(items[k]->GetUseSubCol(), expected[k]->GetUseSubCol()) << k;
    }
    for (int c = 0; c < 6; ++c)
      EXPECT_EQ(s.GetColumns()->GetColumn(c)->GetSubColCount(), inlineOne.GetColumns()->GetColumn(c)->GetSubColCount());
  }
}

TEST(SchemaThreads, ChangesWhileALayoutRuns) {
  AllOnWorkers workers;
  TestSchema s;
  std::vector<TvxDataEntity_SchemaTime*> items = Fill(s, 2, 3000);
  TDoLater::DoAllNow();  // a worker lays out both columns
  // Meanwhile bookings go and come: the running layout is dropped or
  // replaced, and what is finally applied is the layout of what is there.
  for (int k = 0; k < 200; ++k) s.RemoveSchemaTime(items[static_cast<size_t>(k)]);
  items.erase(items.begin(), items.begin() + 200);
  for (int k = 0; k < 200; ++k) items.push_back(s.Item(k % 2, 9, 9.5, 0));
  vxtest::ProcessEventsUntilIdle(2);
  items.back()->SetStopDateTime(items.back()->GetStopDateTime() + 0.01);
  s.Settle();
  // The same control laid out again inline must change nothing.
  std::vector<std::pair<bool, int>> places;
  for (TvxDataEntity_SchemaTime* e : items) places.emplace_back(e->GetUseSubCol(), e->GetSubCol());
  TvxSchema_ComBasic::InlineLayoutLimit = 1 << 30;
  s.SetCollisionDetect(false);
  s.SetCollisionDetect(true);
  s.Settle();
  for (size_t k = 0; k < items.size(); ++k)
    ASSERT_EQ(std::make_pair(items[k]->GetUseSubCol(), items[k]->GetSubCol()), places[k]) << k;
}
