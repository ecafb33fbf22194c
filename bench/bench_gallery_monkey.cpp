// 100,000 random mouse, wheel and key events on each page of the gallery,
// with the application's handlers deleting now and then what they are
// handed; fails (with its seed) when a page is not whole afterwards.
#include <benchmark/benchmark.h>

#include <string>

#include "../tests/gallery/GalleryMonkey.h"

namespace {

void BM_GalleryMonkey(benchmark::State& state, const char* thePage) {
  const unsigned seed = 4711u;
  for (auto _ : state) {
    const std::string problems = vxmonkey::RunGalleryMonkey(thePage, seed, 100000);
    if (!problems.empty()) state.SkipWithError(("seed " + std::to_string(seed) + ": " + problems).c_str());
  }
}

#define VX_MONKEY_PAGE(page)                                                                  \
  BENCHMARK_CAPTURE(BM_GalleryMonkey, page, #page)                                            \
      ->Name("GalleryMonkey/" #page "/100k_events")                                           \
      ->Unit(benchmark::kSecond)                                                              \
      ->Iterations(1)

VX_MONKEY_PAGE(gantt);
VX_MONKEY_PAGE(ganttgrid);
VX_MONKEY_PAGE(bigplan);
VX_MONKEY_PAGE(schema);
VX_MONKEY_PAGE(grid);
VX_MONKEY_PAGE(columngrid);
VX_MONKEY_PAGE(scaler);
VX_MONKEY_PAGE(tree);

}  // namespace
