// Printing figures: a 2,000-task plan to a multi-page A4 landscape PDF, the
// memory of printing a 1,000,000-item plan page by page, and a resource plan
// of 200 resources over two weeks to PDF.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <memory>
#include <thread>
#include <unistd.h>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/printing/vxGanttPrinting.h>
#include <vxplan/printing/vxSchemaPrinting.h>
#include "SchemaBenchSupport.h"

using namespace vx;

namespace {

constexpr double kDay0 = 46000;

std::unique_ptr<TvxGant> MakeChart() {
  auto g = std::make_unique<TvxGant>(nullptr);
  g->SetBounds(0, 0, 1400, 800);
  g->SetTreeWidth(200);
  g->GetTreeView()->SetItemHeight(20);
  g->GetDateScaler()->SetStart(kDay0);
  g->GetDateScaler()->SetStop(kDay0 + 28);
  return g;
}

// theRows tasks with theItems bars each, named, spread over four weeks.
void Fill(TvxGant& g, int theRows, int theItems) {
  for (int r = 0; r < theRows; ++r) {
    TvxDataEntity_Tree* node = g.AddRootDataEntityTree();
    node->SetText("Task " + std::to_string(r));
    for (int i = 0; i < theItems; ++i) {
      TvxDataEntity_Kronit* k = g.AddKronit(node, 0);
      const double start = kDay0 + (r * 3 + i * 5) % 25;
      k->SetStartDateTime(start);
      k->SetStopDateTime(start + 1 + (r + i) % 3);
    }
  }
  while (g.PendingLayoutCount() > 0) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (g.PendingLayoutCount() > 0) std::this_thread::yield();
  }
  QCoreApplication::processEvents();
}

double RssMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// A document of the span theStart..theStop on A4 landscape, timed; the pages
// and pages per second reported.
template <class F>
void TimePdf(benchmark::State& state, TDateTime theStart, TDateTime theStop, F thePrint) {
  QTemporaryDir dir;
  const std::string pdf = dir.filePath("print.pdf").toStdString();
  TPrintSetup setup;
  setup.fStart = theStart;
  setup.fStop = theStop;
  int pages = 0;
  for (auto _ : state) pages = thePrint(pdf, setup);
  state.counters["pages"] = pages;
  state.counters["pages_per_s"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate);
}

// 2,000 tasks over four weeks, the whole plan on A4 landscape at 300 dpi:
// bands of rows down, two weeks per page across.
void BM_GanttPrintPdf(benchmark::State& state) {
  auto g = MakeChart();
  Fill(*g, 2000, 2);
  TimePdf(state, kDay0, kDay0 + 28,
          [&](const std::string& pdf, const TPrintSetup& setup) { return TvxPrintGantt::PrintToPdf(g.get(), pdf, setup); });
}
BENCHMARK(BM_GanttPrintPdf)->Name("GanttPrintPdf/2000")->Unit(benchmark::kMillisecond)->Iterations(3);

// 100,000 tasks of 10 bars (1,000,000 items) printed page by page under the
// application's control onto a PDF; the resident size is sampled after every
// page. Flat: what page 400 holds is what page 20 held.
void BM_GanttPrintMemory(benchmark::State& state) {
  auto g = MakeChart();
  Fill(*g, 100000, 10);
  QTemporaryDir dir;
  const std::string pdf = dir.filePath("big.pdf").toStdString();
  constexpr int kPages = 400;
  double before = 0, atPage20 = 0, peak = 0;
  for (auto _ : state) {
    auto dc = TDeviceContext::CreatePdf(pdf, 297, 210, 300);
    before = RssMb();
    g->OnPrintToHdcNewPage = [&](TvxGant_ComBasic*, int page, int& h, int&, bool& go, bool&) {
      const double rss = RssMb();
      peak = std::max(peak, rss);
      if (page == 21) atPage20 = rss;
      go = page <= kPages;
      if (go && page > 1) dc->NewPage();
      h = dc->Height() - 100;
    };
    int w = 0, h = 0;
    TvxPrintGantt::Print(g.get(), dc.get(), 100, 100, 3.125, 3.125, 200, nullptr, -1, false, kDay0, kDay0 + 14, 1000,
                         45, w, h);
    dc->EndDoc();
    g->OnPrintToHdcNewPage = nullptr;
  }
  state.counters["pages"] = kPages;
  state.counters["rss_before_MB"] = before;
  state.counters["rss_page20_MB"] = atPage20;
  state.counters["rss_peak_MB"] = peak;
  state.counters["growth_after_page20_MB"] = peak - atPage20;
}
BENCHMARK(BM_GanttPrintMemory)->Name("GanttPrintMemory/1M")->Unit(benchmark::kMillisecond)->Iterations(1);

// 200 resources as rows (flipped) over two weeks with weekends hidden, some
// 2,000 bookings with a title and a time each, on A4 landscape at 300 dpi:
// bands of resources down, the two weeks at the screen's scale across.
void BM_SchemaPrintPdf(benchmark::State& state) {
  auto s = std::make_unique<TvxSchema>(nullptr);
  s->SetBounds(0, 0, 1400, 800);
  s->SetHiddenDays(TvxHiddenDays{thdSAT, thdSUN});
  s->SetFlipView(true);
  s->SetFlippedQuadPoint(Point(130, 46));
  for (int r = 0; r < 200; ++r) s->AddColumn()->SetText("Resource " + std::to_string(r + 1));
  s->GetColumns()->SetResizeCell(0);
  s->GetColumns()->HeaderCellReSize(26);
  const TDateTime monday = kDay0 - 5;  // 2025-12-08
  s->SetScalerStart(monday);
  s->SetScalerStop(monday + 14);
  for (int r = 0; r < 200; ++r)
    for (int i = 0; i < 15; ++i) {
      const int day = (r * 3 + i * 5) % 14;
      if (day % 7 >= 5) continue;
      TvxDataEntity_SchemaTime* e = s->AddSchemaTime(0);
      e->SetCol(r);
      const double start = monday + day + (7 + (r + i * 7) % 9) / 24.0;
      e->SetStartDateTime(start);
      e->SetStopDateTime(start + (2 + (r + i) % 14) / 24.0);
      e->AddText("Job " + std::to_string(r * 15 + i), 2, 2, 1);
    }
  vxbench::WaitForLayout(*s);
  TimePdf(state, monday, monday + 14,
          [&](const std::string& pdf, const TPrintSetup& setup) { return TvxPrintSchema::PrintToPdf(s.get(), pdf, setup); });
}
BENCHMARK(BM_SchemaPrintPdf)->Name("SchemaPrintPdf/200x2weeks")->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
