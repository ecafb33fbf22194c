// A short seeded monkey over every page of the gallery, under the sanitizers.
// The long runs (100,000 events a page) are among the benchmarks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "GalleryMonkey.h"

namespace {

class GalleryMonkey : public testing::TestWithParam<const char*> {};

TEST_P(GalleryMonkey, RandomInputAndDestructiveHandlersLeaveThePageWhole) {
  // VX_MONKEY_SEED replays a run that failed.
  const char* fixed = std::getenv("VX_MONKEY_SEED");
  const unsigned seed = fixed ? static_cast<unsigned>(std::strtoul(fixed, nullptr, 10)) : 20261207u;
  // Printed first: a crash under the sanitizers ends the run before any trace.
  std::fprintf(stderr, "monkey on page %s, seed %u (set VX_MONKEY_SEED to replay)\n", GetParam(), seed);
  SCOPED_TRACE(std::string("page ") + GetParam() + ", seed " + std::to_string(seed));
  EXPECT_EQ(vxmonkey::RunGalleryMonkey(GetParam(), seed, 1500), "");
}

INSTANTIATE_TEST_SUITE_P(Every, GalleryMonkey,
                         testing::Values("gantt", "ganttgrid", "bigplan", "ganttfeatures", "schema", "schemafeatures", "grid",
                                         "columngrid", "scaler", "tree"));

}  // namespace
