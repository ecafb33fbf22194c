// Gantt chart painting figures on a 1920 x 1080 area: a full repaint of a
// busy screen, scrolling and zooming large plans. A repaint here is the
// control's whole paint into a picture (its off-screen bitmap drawn and
// copied out), without the window system's flush of the window to the screen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <memory>

#include <vxplan/gantt/vxGant.h>

using namespace vx;

namespace {

constexpr double kDay0 = 46000;
constexpr int kTree = 200;

std::unique_ptr<TvxGant> ShownChart() {
  auto g = std::make_unique<TvxGant>(nullptr);
  g->SetBounds(0, 0, kTree + 1920 + 18, 1080 + 45);
  g->SetTreeWidth(kTree);
  g->GetTreeView()->SetItemHeight(24);
  g->GetDateScaler()->SetStart(kDay0);
  g->GetDateScaler()->SetStop(kDay0 + 60);
  g->show();
  QApplication::processEvents();
  return g;
}

TvxDataEntity_Kronit* Bar(TvxGant& g, TvxDataEntity_Tree* node, double from, double length) {
  TvxDataEntity_Kronit* k = g.AddKronit(node, 0);
  k->SetStartDateTime(kDay0 + from);
  k->SetStopDateTime(kDay0 + from + length);
  k->SetColor(0xD6A05B);
  k->SetTopInset(3);
  k->SetBottomInset(3);
  return k;
}

// theRows rows of theItems bars each over the two visible months.
void Fill(TvxGant& g, int theRows, int theItems, bool theLabels) {
  for (int r = 0; r < theRows; ++r) {
    TvxDataEntity_Tree* node = g.AddRootDataEntityTree();
    node->SetText("Row " + std::to_string(r));
    for (int i = 0; i < theItems; ++i) {
      TvxDataEntity_Kronit* k = Bar(g, node, (i * 60.0) / theItems + (r % 3) * 0.1, 60.0 / theItems * 0.8);
      if (theLabels) k->GetTimeItemTextCollection()->AddText("Task " + std::to_string(i), 2, 2, 1);
    }
  }
}

void Settle(TvxGant& g) {
  for (int k = 0; k < 5; ++k) QApplication::processEvents();
  g.GetGA()->Repaint();
}

// The paint of one control, as a repaint runs it.
void Repaint(TControl* theControl, TBitmap& theShot) { theControl->PaintTo(&theShot); }

// 40 rows of 50 labelled bars and 500 links, all on screen.
void BM_GanttFullRepaint(benchmark::State& state) {
  auto g = ShownChart();
  Fill(*g, 40, 50, true);
  std::vector<TvxDataEntity_Kronit*> bars;
  g->ForEachKronit([&](TvxDataEntity_Kronit* k) { bars.push_back(k); });
  for (int l = 0; l < 500; ++l) {
    TvxDataEntity_Link* link = g->AddLink();
    link->fLinkOwner = bars[static_cast<size_t>(l * 4)];
    link->fLinkedTo = bars[static_cast<size_t>(l * 4 + 51) % bars.size()];
    link->fLinkStyle = l % 2 ? tlsMSProject : tlsDefault;
  }
  Settle(*g);
  TBitmap shot;
  for (auto _ : state) {
    // Drawn anew: an area that keeps its picture until invalidated would
    // otherwise only copy it.
    g->GetGA()->Invalidate();
    Repaint(g->GetGA(), shot);
  }
}
BENCHMARK(BM_GanttFullRepaint)->Name("GanttFullRepaint/40x50")->Unit(benchmark::kMillisecond);

// Scrolling a plan by one row at a time: tree and area repainted.
void ScrollByRows(benchmark::State& state, TvxGant& g) {
  Settle(g);
  TGantTree* tree = g.GetTreeView();
  TBitmap treeShot, areaShot;
  int top = 0;
  for (auto _ : state) {
    top = top > 5000 ? 0 : top + 1;
    tree->SetScrollPos(sbVertical, top);
    Repaint(tree, treeShot);
    Repaint(g.GetGA(), areaShot);
  }
}

void BM_GanttScroll100k(benchmark::State& state) {
  auto g = ShownChart();
  Fill(*g, 10000, 10, false);
  ScrollByRows(state, *g);
}
BENCHMARK(BM_GanttScroll100k)->Name("GanttScroll/100k")->Unit(benchmark::kMillisecond);

void BM_GanttLoadAndScroll1M(benchmark::State& state) {
  auto g = ShownChart();
  const auto start = std::chrono::steady_clock::now();
  Fill(*g, 100000, 10, false);
  g->GetTreeView()->EnsureDisplayUpToDate();
  const double loadMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  ScrollByRows(state, *g);
  state.counters["load_ms"] = loadMs;
}
BENCHMARK(BM_GanttLoadAndScroll1M)->Name("GanttScroll/1M")->Unit(benchmark::kMillisecond);

void BM_GanttScroll1MFilledAsShown(benchmark::State& state) {
  auto g = ShownChart();
  g->OnVirtualLoad_Kronit = [](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
    const double from = k->ListIndex() * 6.0 + (k->GetRow()->GetTreeNode()->ListIndex() % 3) * 0.1;
    k->SetStartDateTime(kDay0 + from);
    k->SetStopDateTime(kDay0 + from + 4.8);
  };
  for (int r = 0; r < 100000; ++r)
    g->GetRowList()->FindRowFromTreeNode(g->AddRootDataEntityTree())->AddDataList()->AddUnloaded(10);
  ScrollByRows(state, *g);
}
BENCHMARK(BM_GanttScroll1MFilledAsShown)->Name("GanttScroll/1M_filled_as_shown")->Unit(benchmark::kMillisecond);

// One zoom step on the 100,000-item plan: the scaler changes, the area follows.
void BM_GanttZoom100k(benchmark::State& state) {
  auto g = ShownChart();
  Fill(*g, 10000, 10, false);
  Settle(*g);
  TvxDateScaler* s = g->GetDateScaler();
  TBitmap scalerShot, areaShot;
  bool in = true;
  for (auto _ : state) {
    const double scale = s->GetScale();
    s->SetCenterScale(in ? scale / 1.25 : scale * 1.25, s->PixelToDate(960), 960);
    in = !in;
    Repaint(s, scalerShot);
    Repaint(g->GetGA(), areaShot);
  }
}
BENCHMARK(BM_GanttZoom100k)->Name("GanttZoom/100k")->Unit(benchmark::kMillisecond);

}  // namespace
