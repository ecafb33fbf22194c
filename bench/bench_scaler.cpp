// Time axis figures on a 1920-pixel axis with the nights (0-7, 17-23) and the
// weekend hidden: conversions and mark rebuilds.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <cstdlib>
#include <random>

#include <vxplan/scaler/vxScaler.h>

using namespace vx;

namespace {

std::unique_ptr<TvxDateScaler> MakeAxis() {
  auto s = std::make_unique<TvxDateScaler>(nullptr);
  s->SetHorizontal(true);
  s->SetBounds(0, 0, 1920, 40);
  TvxHiddenHours nights;
  for (int h : {0, 1, 2, 3, 4, 5, 6, 7, 17, 18, 19, 20, 21, 22, 23}) nights.Include(static_cast<TvxHiddenHoursEnum>(h));
  s->SetHiddenHours(nights);
  s->SetHiddenDays({thdSAT, thdSUN});
  s->SetStart(EncodeDate(2024, 3, 1));
  return s;
}

void BM_DateToPixelOneMonth(benchmark::State& state) {
  auto s = MakeAxis();
  s->SetStop(EncodeDate(2024, 4, 1));
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> any(s->GetStart(), s->GetStop());
  std::vector<double> dates(4096);
  for (double& d : dates) d = any(rng);
  size_t k = 0;
  for (auto _ : state) benchmark::DoNotOptimize(s->DateToPixel(dates[k++ & 4095]));
}
BENCHMARK(BM_DateToPixelOneMonth);

void CalcDrawModeAt(benchmark::State& state, double scale, double expectedStep) {
  auto s = MakeAxis();
  s->SetScale(scale);
  if (s->GetSmallStep() != expectedStep) state.SkipWithError("unexpected resolution");
  for (auto _ : state) s->CalcDrawMode();
  state.counters["short_marks"] = static_cast<double>(s->GetShortScaleMarks().size());
}
void BM_CalcDrawModeDay(benchmark::State& state) { CalcDrawModeAt(state, 0.02, kScale1Day); }
void BM_CalcDrawModeHour(benchmark::State& state) { CalcDrawModeAt(state, 0.002, kScale1Hour); }
void BM_CalcDrawModeMinute(benchmark::State& state) { CalcDrawModeAt(state, 0.00003, kScale1Min); }
BENCHMARK(BM_CalcDrawModeDay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcDrawModeHour)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcDrawModeMinute)->Unit(benchmark::kMicrosecond);

void BM_DateDiffToVisibleTime100Years(benchmark::State& state) {
  auto s = MakeAxis();
  const double from = EncodeDate(1950, 1, 3) + 0.4, to = EncodeDate(2050, 6, 7) + 0.6;
  for (auto _ : state) benchmark::DoNotOptimize(s->DateDiffToVisibleTime(from, to));
}
BENCHMARK(BM_DateDiffToVisibleTime100Years);

void BM_PixelToDateOneMonth(benchmark::State& state) {
  auto s = MakeAxis();
  s->SetStop(EncodeDate(2024, 4, 1));
  int p = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(s->PixelToDate(p));
    p = (p + 37) % 1920;
  }
}
BENCHMARK(BM_PixelToDateOneMonth);

// A full paint cycle (bitmap, ticks, labels, buttons, indicator, copy) of a
// shown 1920 x 45 scaler, nothing hidden.
void PaintAt(benchmark::State& state, double scale, double expectedStep) {
  TvxDateScaler s(nullptr);
  s.SetHorizontal(true);
  s.SetBounds(0, 0, 1920, 45);
  s.SetStart(EncodeDate(2024, 3, 1));
  s.SetScale(scale);
  if (s.GetSmallStep() != expectedStep) state.SkipWithError("unexpected resolution");
  s.Show();
  QCoreApplication::processEvents();
  for (auto _ : state) s.Repaint();
  state.counters["short_marks"] = static_cast<double>(s.GetShortScaleMarks().size());
}
void BM_PaintDay(benchmark::State& state) { PaintAt(state, 0.02, kScale1Day); }
void BM_PaintHour(benchmark::State& state) { PaintAt(state, 0.002, kScale1Hour); }
void BM_PaintMinute(benchmark::State& state) { PaintAt(state, 0.00003, kScale1Min); }
BENCHMARK(BM_PaintDay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintHour)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintMinute)->Unit(benchmark::kMicrosecond);

}  // namespace
