// Schedule figures, by scene: a resource planner of 1,000 columns of 100
// bookings (100,000) in a 1920 x 1080 drawing area, and a week view of seven
// day columns of 2,000 bookings each.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QCoreApplication>
#include <algorithm>
#include <memory>
#include <thread>

#include <vxplan/schema/vxSchema.h>
#include "SchemaBenchSupport.h"

using namespace vx;

namespace {

using vxbench::Repeated;
using vxbench::WaitForLayout;

constexpr double kDay0 = 46000;  // 2025-12-09
constexpr int kAreaWidth = 1920, kAreaHeight = 1080;

// A schedule whose drawing area is 1920 x 1080, shown on the (offscreen)
// screen, the time axis over one day (45 pixels an hour).
std::unique_ptr<TvxSchema> MakeSchema() {
  auto s = std::make_unique<TvxSchema>(nullptr);
  s->SetBounds(0, 0, kAreaWidth + 50, kAreaHeight + 20);
  TDoLater::DoAllNow();
  s->SetQuadPoint(Point(50, 20));
  s->SetScalerStart(kDay0);
  s->SetScalerStop(kDay0 + 1);
  return s;
}

// One booking of column theCol: the k-th of theCount over theDays days, from
// two to four hours long, with one line of text; neighbours overlap.
void Book(TvxSchema& s, int theCol, int k, int theCount, double theDays) {
  TvxDataEntity_SchemaTime* e = s.AddSchemaTime(0);
  e->SetCol(theCol);
  const double start = kDay0 + theDays * k / theCount + ((theCol * 7 + k * 3) % 10) / 24.0;
  e->SetStartDateTime(start);
  e->SetStopDateTime(start + (2 + k % 3) / 24.0);
  e->SetBackColor(RGB(0xCF, 0xE2, 0xF3));
  e->AddText("Booking " + std::to_string(k), 2, 2, 1);
}

// 1,000 columns of 100 bookings over 14 days.
void FillPlanner(TvxSchema& s) {
  for (int c = 0; c < 1000; ++c) s.AddColumn()->SetText("R" + std::to_string(c));
  for (int c = 0; c < 1000; ++c)
    for (int k = 0; k < 100; ++k) Book(s, c, k, 100, 14);
}

struct Planner {
  std::unique_ptr<TvxSchema> s = MakeSchema();
  Planner() {
    FillPlanner(*s);
    WaitForLayout(*s);
    s->show();
    QCoreApplication::processEvents();
  }
  // The whole drawing area, painted and copied to the window now.
  void Repaint() { s->GetSchemaArea()->Repaint(); }
};

// Built and laid out, the user-interface thread waiting for the result.
void BM_SchemaBuild(benchmark::State& state) {
  int subCols = 0;
  for (auto _ : state) {
    auto s = MakeSchema();
    FillPlanner(*s);
    WaitForLayout(*s);
    state.PauseTiming();
    subCols = s->GetColumns()->GetColumn(0)->GetSubColCount();
    s.reset();
    state.ResumeTiming();
  }
  state.counters["sub_columns_col0"] = subCols;
}
BENCHMARK(BM_SchemaBuild)->Name("SchemaBuild/100k")->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SchemaRepaint(benchmark::State& state) {
  Planner p;
  for (auto _ : state) p.Repaint();
}
BENCHMARK(BM_SchemaRepaint)->Name("SchemaRepaint/100k")->Unit(benchmark::kMillisecond)->Apply(Repeated);

// The next column becomes the first shown one, and the area repaints.
void BM_SchemaScrollColumn(benchmark::State& state) {
  Planner p;
  int top = 0;
  for (auto _ : state) {
    top = (top + 1) % 900;
    p.s->GetColumns()->SetTopLeftCol(top);
    p.Repaint();
  }
}
BENCHMARK(BM_SchemaScrollColumn)->Name("SchemaScrollColumn/100k")->Unit(benchmark::kMillisecond)->Apply(Repeated);

// One booking moves by ten minutes: its column is laid out again and the
// area repaints.
void BM_SchemaChangeOne(benchmark::State& state) {
  Planner p;
  TvxDataEntity_SchemaTime* e = static_cast<TvxDataEntity_SchemaTime*>(p.s->GetLayers()->GetDataList(0)->GetItems(205));
  double shift = 10.0 / 1440;
  for (auto _ : state) {
    e->SetStartDateTime(e->GetStartDateTime() + shift);
    e->SetStopDateTime(e->GetStopDateTime() + shift);
    shift = -shift;
    WaitForLayout(*p.s);
    p.Repaint();
  }
}
BENCHMARK(BM_SchemaChangeOne)->Name("SchemaChangeOne/100k")->Unit(benchmark::kMillisecond)->Apply(Repeated);

// A week view: seven day columns against 07:00 to 19:00 of today, each
// column offset to its day; each holds 2,000 bookings over 250 weeks of its
// weekday (about eight a day), of which this week's are shown.
void BM_SchemaWeek(benchmark::State& state) {
  auto s = MakeSchema();
  TvxHiddenHours night;
  for (int h = 0; h < 24; ++h)
    if (h < 7 || h >= 19) night.Include(static_cast<TvxHiddenHoursEnum>(h));
  s->SetHiddenHours(night);
  const double today = kDay0 + 7 * 125;  // in the middle of the bookings
  for (int d = 0; d < 7; ++d) {
    TvxDataEntity_SchemaColumn* c = s->AddColumn();
    c->SetOffsetDate(d);
    c->SetWidth(kAreaWidth / 7);
  }
  for (int d = 0; d < 7; ++d)
    for (int k = 0; k < 2000; ++k) {
      TvxDataEntity_SchemaTime* e = s->AddSchemaTime(0);
      e->SetCol(d);
      const double start = today - 7 * 125 + d + 7 * (k / 8) + (8 + (k % 8) * 1.25) / 24.0;
      e->SetStartDateTime(start);
      e->SetStopDateTime(start + 1.5 / 24);
      e->AddText("Meeting " + std::to_string(k), 2, 2, 1);
      e->AddText("Room 2", 2, 14, 2);
    }
  s->SetScalerStart(today + 7.0 / 24);
  s->SetScalerStop(today + 19.0 / 24);
  WaitForLayout(*s);
  s->show();
  QCoreApplication::processEvents();
  for (auto _ : state) s->GetSchemaArea()->Repaint();
  state.counters["sub_columns_col0"] = s->GetColumns()->GetColumn(0)->GetSubColCount();
}
BENCHMARK(BM_SchemaWeek)->Name("SchemaWeek/14k")->Unit(benchmark::kMillisecond)->Apply(Repeated);

// Heap bytes per booking with one text line, in the planner of 100,000.
void BM_SchemaMemoryPerBooking(benchmark::State& state) {
  double perBooking = 0;
  for (auto _ : state) {
    auto s = MakeSchema();
    for (int c = 0; c < 1000; ++c) s->AddColumn();
    WaitForLayout(*s);
    malloc_trim(0);
    const size_t before = mallinfo2().uordblks;
    for (int c = 0; c < 1000; ++c)
      for (int k = 0; k < 100; ++k) Book(*s, c, k, 100, 14);
    WaitForLayout(*s);
    // The layout's worker and its copy of the times go once it has ended.
    while (TTimeDistinctGenericThread::ThreadCount() > 0) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      std::this_thread::yield();
    }
    malloc_trim(0);
    const size_t after = mallinfo2().uordblks;
    perBooking = static_cast<double>(after - before) / 100000;
    state.PauseTiming();
    s.reset();
    state.ResumeTiming();
  }
  state.counters["bytes_per_booking"] = perBooking;
}
BENCHMARK(BM_SchemaMemoryPerBooking)->Name("SchemaMemory/100k")->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
