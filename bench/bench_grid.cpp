// Grid model figures: laying out a full-HD area after a jump into ten million
// declared rows, and paging through rows that each hold a nested grid. The
// view's figures (painting a full-HD grid, scrolling, jumping) follow in
// bench_grid_view.cpp.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include <vxplan/grid/vxBabGridContent.h>

using namespace vx;

namespace {

constexpr TRect kArea = Rect(0, 0, 1920, 1080);

// Fills nested grids (never the outermost cell) with a five by five grid.
struct FiveByFive : TBabGridCellData {
  void InitContent() override {
    auto* g = static_cast<TBabGridCell*>(GetBabCell());
    if (!g->getGridCell()) return;
    for (int k = 0; k < 5; ++k) g->GetAxisContentListX()->AddNew(nullptr);
    for (int k = 0; k < 5; ++k) g->GetAxisContentListY()->AddNew(nullptr);
  }
};

// A host that declares theRows rows (one of them a fixed header) and lets the
// grid unload every row it no longer needs.
std::unique_ptr<TBabGridCellForViewer> VirtualGrid(int theCols, int theRows, int theNestedCol) {
  auto g = std::make_unique<TBabGridCellForViewer>(nullptr, TBabSimpleCellDataClass::Of<TBabSimpleCellData>(),
                                                   TBabGridCellDataClass::Of<FiveByFive>());
  TBabGridCellForViewer* outer = g.get();
  g->fOnVirtualUnLoad = [outer](TBabGridCell* caller, TAxisContentItem*, bool isRow, bool, bool& can) {
    can = caller == outer && isRow;
  };
  g->fOnVirtualLoad = [](TBabGridCell*, TAxisContentItem* item, bool) { item->SetValue2(nullptr); };
  if (theNestedCol >= 0)
    g->fOnCreateCell = [outer, theNestedCol](TBabGridCell* caller, TAxisContentItem* x, TAxisContentItem*) {
      return caller == outer && x->ListIndex() == theNestedCol ? babCellTypeGrid : babCellTypeSimple;
    };
  for (int c = 0; c < theCols; ++c) g->GetAxisContentListX()->AddNew(nullptr);
  g->GetAxisContentListY()->AddNew(nullptr);
  g->SetFixedRows(1);
  g->GetAxisContentListY()->AddUnloaded(theRows - 1);
  return g;
}

void Report(benchmark::State& state, TBabGridCellForViewer* g, int theMaxRows, int theMaxCells) {
  state.counters["rows_loaded_max"] = theMaxRows;
  state.counters["cells_max"] = theMaxCells;
  state.counters["rows_visible"] = g->GetVisibleRowCount();
}

void BM_GridCalcVisibleArea_10M(benchmark::State& state) {
  constexpr int kRows = 10'000'000;
  auto g = VirtualGrid(20, kRows, -1);
  g->CalcVisibleArea(kArea);
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pick(1, kRows - 1);
  int maxRows = 0, maxCells = 0;
  for (auto _ : state) {
    g->SetTop(pick(rng));
    g->CalcVisibleArea(kArea);
    state.PauseTiming();
    maxRows = std::max(maxRows, g->GetAxisContentListY()->LoadedCount());
    maxCells = std::max(maxCells, g->GetCellMatris()->ExistingCellCount());
    state.ResumeTiming();
  }
  Report(state, g.get(), maxRows, maxCells);
}
BENCHMARK(BM_GridCalcVisibleArea_10M)->Name("GridCalcVisibleArea/10M")->Unit(benchmark::kMicrosecond);

// One row on, as a wheel notch or an arrow key scrolls.
void BM_GridRowStep_10M(benchmark::State& state) {
  constexpr int kRows = 10'000'000;
  auto g = VirtualGrid(20, kRows, -1);
  g->SetTop(kRows / 2);
  g->CalcVisibleArea(kArea);
  for (auto _ : state) {
    g->SetTop(g->GetTop() + 1);
    g->CalcVisibleArea(kArea);
  }
  Report(state, g.get(), g->GetAxisContentListY()->LoadedCount(), g->GetCellMatris()->ExistingCellCount());
}
BENCHMARK(BM_GridRowStep_10M)->Name("GridRowStep/10M")->Unit(benchmark::kMicrosecond);

void BM_GridNestedPageStep_100k(benchmark::State& state) {
  constexpr int kRows = 100'000;
  auto g = VirtualGrid(5, kRows, 1);
  g->CalcVisibleArea(kArea);
  int maxRows = 0, maxCells = 0;
  for (auto _ : state) {
    // A page: the fully shown rows below the header.
    int top = g->GetTop() + std::max(1, g->GetVisibleRowCount() - g->GetFixedRows());
    if (top >= kRows) top = 1;
    g->SetTop(top);
    g->CalcVisibleArea(kArea);
    state.PauseTiming();
    maxRows = std::max(maxRows, g->GetAxisContentListY()->LoadedCount());
    int cells = 0;
    g->GetCellMatris()->ForEachCell([&cells](TBabCell* c) {
      ++cells;
      if (c->IsGridCell()) cells += static_cast<TBabGridCell*>(c)->GetCellMatris()->ExistingCellCount();
    });
    maxCells = std::max(maxCells, cells);
    state.ResumeTiming();
  }
  Report(state, g.get(), maxRows, maxCells);
}
BENCHMARK(BM_GridNestedPageStep_100k)->Name("GridNestedPageStep/100k")->Unit(benchmark::kMicrosecond);

}  // namespace

