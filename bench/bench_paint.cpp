// Painting and deferred-call figures: a full paint cycle of a full-HD panel,
// and a flood of deferred calls.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <cstdlib>
#include <vector>

#include <vxplan/paint/vxDoLater.h>
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/platform/ui/Palette.h>

using namespace vx;

namespace {

// Fills 10,000 rectangles in four colours.
class Tiles : public TvxOffscreenPaint {
public:
  Tiles() : TvxOffscreenPaint(nullptr) {
    SetBevelOuter(bvNone);
    SetBounds(0, 0, 1920, 1080);
  }
  int frames = 0;
  void OffscreenPaint() override {
    ++frames;
    TCanvas* c = GetOffscreenCanvas();
    static const TColor colours[] = {clRed, clBlue, clTeal, clOlive};
    for (int k = 0; k < 10000; ++k) {
      const int x = (k * 37) % 1900, y = (k * 53) % 1060;
      c->GetBrush()->SetColor(colours[k & 3]);
      c->FillRect(Rect(x, y, x + 20, y + 12));
    }
  }
};

void BM_PaintCycleFullHd10kRects(benchmark::State& state) {
  Tiles tiles;
  tiles.Show();
  QCoreApplication::processEvents();
  const int before = tiles.frames;
  for (auto _ : state) tiles.Repaint();  // synchronous: fill, OffscreenPaint, copy to the window
  if (tiles.frames - before != static_cast<int>(state.iterations())) state.SkipWithError("frames were skipped");
}
BENCHMARK(BM_PaintCycleFullHd10kRects)->Unit(benchmark::kMillisecond);

class Sink : public TObject {
public:
  long runs = 0;
  void Run(TObject*) { ++runs; }
};

void BM_DoLater1MOver1000PairsThenDoAllNow(benchmark::State& state) {
  Sink sink;
  std::vector<TObject> data(1000);
  const TDoLaterCall call = DoLaterCall<&Sink::Run>(&sink);
  for (auto _ : state) {
    for (int k = 0; k < 1'000'000; ++k) TDoLater::DoLater(call, &data[static_cast<size_t>(k % 1000)]);
    TDoLater::DoAllNow();
  }
  if (sink.runs != 1000 * static_cast<long>(state.iterations())) state.SkipWithError("wrong number of runs");
}
BENCHMARK(BM_DoLater1MOver1000PairsThenDoAllNow)->Unit(benchmark::kMillisecond);

// What a paint adds to follow the palette: the system colours of the
// widget's palette resolved once, as every control's paint does.
void PaletteResolve_per_paint(benchmark::State& state) {
  Tiles tiles;  // a control, so that the application's palette is followed
  const QPalette palette = tiles.palette();
  for (auto _ : state) {
    const TSystemColors colors = SystemColorsFrom(palette, QPalette::Active);
    benchmark::DoNotOptimize(colors);
  }
}
BENCHMARK(PaletteResolve_per_paint)->Name("PaletteResolve/per_paint")->Unit(benchmark::kMicrosecond);

// One system colour resolved inside a paint's scope: the cost each cell's
// colours now have.
void ColorToRGB_system_in_scope(benchmark::State& state) {
  Tiles tiles;
  const TSystemColors colors = SystemColorsFrom(tiles.palette(), QPalette::Active);
  TSystemColorsScope scope(colors);
  TColor c = clWindow;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c = ColorToRGB(c == clWhite ? clHighlight : clWindow));
  }
}
BENCHMARK(ColorToRGB_system_in_scope)->Name("ColorToRGB/system_in_scope");

}  // namespace
