// The blocks that hold a list's loaded entities, against a plain vector.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include <vxplan/core/vxDataEntityPack.h>

using namespace vx;

namespace {

struct Entities {
  std::vector<TvxDataEntity*> made;
  TvxDataEntity* Make() {
    made.push_back(TvxDataEntityClass::Of<TvxDataEntity>().Create());
    return made.back();
  }
  ~Entities() {
    for (TvxDataEntity* e : made) TvxExposable::FreeCall(e);
  }
};

}  // namespace

TEST(EntityWindow, BlocksFollowGrowthAndShrinkage) {
  // Grows to 20,000 by scattered inserts, shrinks to nothing by scattered
  // erases, grows again from the front: every position and every entity's
  // position stay those of the vector, and the blocks stay few.
  Entities pool;
  TvxEntityWindow w;
  std::vector<TvxDataEntity*> ref;
  std::mt19937 rng(5);
  auto rand = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto checkAll = [&] {
    ASSERT_EQ(w.Size(), static_cast<int>(ref.size()));
    for (int p = 0; p < w.Size(); ++p) {
      ASSERT_EQ(w.At(p), ref[static_cast<size_t>(p)]);
      ASSERT_EQ(w.PosOf(ref[static_cast<size_t>(p)]), p);
    }
    int n = 0;
    w.ForEach([&](TvxDataEntity* e) { ASSERT_EQ(e, ref[static_cast<size_t>(n++)]); });
    ASSERT_LE(w.BlockCount(), 8 * w.Size() / TvxEntityWindow::MaxBlock + 1);
    ASSERT_GE(w.BlockCount(), (w.Size() + TvxEntityWindow::MaxBlock - 1) / TvxEntityWindow::MaxBlock);
  };
  auto probe = [&] {
    if (ref.empty()) return;
    const int p = rand(0, static_cast<int>(ref.size()) - 1);
    ASSERT_EQ(w.At(p), ref[static_cast<size_t>(p)]);
    ASSERT_EQ(w.PosOf(ref[static_cast<size_t>(p)]), p);
  };
  for (int k = 0; k < 20000; ++k) {
    const int p = rand(0, static_cast<int>(ref.size()));
    TvxDataEntity* e = pool.Make();
    w.Insert(p, e);
    ref.insert(ref.begin() + p, e);
    ASSERT_NO_FATAL_FAILURE(probe());
  }
  checkAll();
  while (!ref.empty()) {
    const int p = rand(0, static_cast<int>(ref.size()) - 1);
    TvxDataEntity* e = w.Erase(p);
    ASSERT_EQ(e, ref[static_cast<size_t>(p)]);
    ref.erase(ref.begin() + p);
    EXPECT_EQ(w.PosOf(e), -1);  // its slot word now names a free slot
    ASSERT_NO_FATAL_FAILURE(probe());
    if (ref.size() % 2500 == 0) {
      ASSERT_NO_FATAL_FAILURE(checkAll());
    }
  }
  EXPECT_EQ(w.BlockCount(), 1);  // kept for the next insert
  for (int k = 0; k < 3000; ++k) {
    TvxDataEntity* e = pool.Make();
    w.Insert(0, e);
    ref.insert(ref.begin(), e);
  }
  checkAll();
  EXPECT_LE(w.BlockCount(), 3000 / TvxEntityWindow::MaxBlock + 2);  // front inserts fill whole blocks

  // A new order written over the window, as a sort does.
  std::shuffle(ref.begin(), ref.end(), rng);
  w.Assign(ref);
  checkAll();
  // An entity of another window is not in this one.
  TvxEntityWindow other;
  TvxDataEntity* stranger = pool.Make();
  other.Insert(0, stranger);
  EXPECT_EQ(w.PosOf(stranger), -1);
}
