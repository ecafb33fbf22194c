// The flat address map against a node-based map, through random adds,
// changes and erasures that make it grow and close the gaps they leave.
#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

#include <vxplan/core/vxPointerMap.h>

using vx::TvxPointerMap;

TEST(PointerMap, AgreesWithANodeMapThroughGrowthAndErasure) {
  std::vector<long long> objects(5000);  // distinct, aligned addresses
  std::mt19937 rng(5);
  std::uniform_int_distribution<size_t> pick(0, objects.size() - 1);
  TvxPointerMap<int> map;
  std::unordered_map<const void*, int> reference;
  for (int step = 0; step < 60000; ++step) {
    const void* key = &objects[pick(rng)];
    switch (rng() % 4) {
      case 0:
      case 1:
        map.Set(key, step);
        reference[key] = step;
        break;
      case 2:
        EXPECT_EQ(map.Erase(key), reference.erase(key) == 1);
        break;
      default: {
        const int* found = map.Find(key);
        auto it = reference.find(key);
        ASSERT_EQ(found != nullptr, it != reference.end());
        if (found) EXPECT_EQ(*found, it->second);
      }
    }
    ASSERT_EQ(map.Size(), reference.size());
  }
  for (const long long& o : objects) {
    const int* found = map.Find(&o);
    ASSERT_EQ(found != nullptr, reference.count(&o) == 1);
  }
  // Nil is never a key.
  map.Set(nullptr, 1);
  EXPECT_EQ(map.Find(nullptr), nullptr);
  EXPECT_FALSE(map.Erase(nullptr));
  map.Clear();
  EXPECT_EQ(map.Size(), 0u);
  EXPECT_EQ(map.Find(&objects[0]), nullptr);
}
