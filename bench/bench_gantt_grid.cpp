// The Gantt chart on its grid side: scrolling a plan of 100,000 bars in
// 10,000 grid rows by one row, the grid and the area repainted together.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include <vxplan/gantt/vxGant.h>

using namespace vx;

namespace {

constexpr double kDay0 = 46000;

void BM_GanttGridScroll100k(benchmark::State& state) {
  auto g = std::make_unique<TvxGant>(nullptr);
  g->SetBounds(0, 0, 300 + 1920 + 18, 1080 + 45);
  g->SetUseGridNotTree(true);
  g->SetTreeWidth(300);
  TvxGrid* grid = g->GetGrid();
  grid->GetColumns()->GetColumn(0)->SetHeaderText("Task");
  grid->AddColumn()->SetHeaderText("Start");
  g->GetDateScaler()->SetStart(kDay0);
  g->GetDateScaler()->SetStop(kDay0 + 60);
  for (int r = 0; r < 10000; ++r) {
    TvxDataEntity_GridTreeNode* node = g->GridNode_Add(nullptr);
    const int y = node->GetAxisContentItem()->ListIndex();
    grid->SetText(grid->GetCell(1, y), "Row " + std::to_string(r));
    grid->SetText(grid->GetCell(2, y), std::to_string(r % 28 + 1) + ".01.2026");
    for (int i = 0; i < 10; ++i) {
      TvxDataEntity_Kronit* k = g->GridNode_AddKronit(node, 0);
      const double from = i * 6.0 + (r % 3) * 0.1;
      k->SetStartDateTime(kDay0 + from);
      k->SetStopDateTime(kDay0 + from + 4.8);
      k->SetColor(0xD6A05B);
      k->SetTopInset(3);
      k->SetBottomInset(3);
    }
  }
  g->show();
  for (int k = 0; k < 5; ++k) QApplication::processEvents();
  TBabGridCellForViewer* cells = grid->GetBabGridCellForViewer();
  TBitmap gridShot, areaShot;
  int top = 1;
  for (auto _ : state) {
    top = top > 5000 ? 1 : top + 1;
    cells->SetTop(top);
    grid->PaintTo(&gridShot);
    g->GetGA()->PaintTo(&areaShot);
  }
  state.counters["rows"] = g->GetRowList()->Count();
}
BENCHMARK(BM_GanttGridScroll100k)->Name("GanttGridScroll/100k")->Unit(benchmark::kMillisecond);

}  // namespace
