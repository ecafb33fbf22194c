// The column grid: sorting 100,000 rows by a text column and repainting.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include <vxplan/grid/vxGrid.h>

using namespace vx;

namespace {

void BM_GridSort100k(benchmark::State& state) {
  auto grid = std::make_unique<TvxGrid>(nullptr);
  grid->SetBounds(0, 0, 1920, 1080);
  for (const char* header : {"Name", "Amount"}) {
    TvxGrid_Column* c = grid->AddColumn();
    c->SetHeaderText(header);
    c->SetWidth(200);
    c->SetSortEnable(true);
  }
  grid->EnsureFixed();
  unsigned seed = 12345;
  for (int r = 0; r < 100000; ++r) {
    const int y = grid->AddRow(nullptr)->ListIndex();
    seed = seed * 1103515245u + 12345u;
    grid->SetText(grid->GetCell(1, y), "Item " + std::to_string(seed % 1000003));
    grid->SetText(grid->GetCell(2, y), std::to_string(r));
  }
  grid->show();
  for (int k = 0; k < 5; ++k) QApplication::processEvents();
  TBitmap shot;
  bool down = false;
  for (auto _ : state) {
    grid->SortColumn(0, down);
    down = !down;
    grid->PaintTo(&shot);
  }
}
BENCHMARK(BM_GridSort100k)->Name("GridSort/100k")->Unit(benchmark::kMillisecond);

}  // namespace
