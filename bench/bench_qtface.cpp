// The Qt face's item-model binding: binding a large plan and showing the
// first screen, and one task's change, repaint included.
#include <benchmark/benchmark.h>

#include <QStandardItemModel>

#include <vxplan/designer/QvxGantModelBinding.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/QtConvert.h>

using namespace vx;

namespace {

constexpr int kTasks = 10000, kItems = 10;
constexpr double kDay0 = 46000;

std::unique_ptr<QStandardItemModel> Plan() {
  auto model = std::make_unique<QStandardItemModel>();
  QStandardItem* root = model->invisibleRootItem();
  for (int t = 0; t < kTasks; ++t) {
    auto* task = new QStandardItem(QStringLiteral("Task %1").arg(t));
    QList<QStandardItem*> bars;
    for (int k = 0; k < kItems; ++k) {
      auto* bar = new QStandardItem(QStringLiteral("%1.%2").arg(t).arg(k));
      bar->setData(ToQDateTime(kDay0 + k * 2 + t % 7 * 0.25), Qt::UserRole + 1);
      bar->setData(ToQDateTime(kDay0 + k * 2 + 1.5), Qt::UserRole + 2);
      bars.push_back(bar);
    }
    task->appendRows(bars);
    root->appendRow(task);
  }
  return model;
}

std::unique_ptr<TvxGant> Chart() {
  auto chart = std::make_unique<TvxGant>(nullptr);
  chart->SetBounds(0, 0, 1200, 800);
  chart->GetTreeView()->SetItemHeight(20);
  chart->GetDateScaler()->SetStart(kDay0);
  chart->GetDateScaler()->SetStop(kDay0 + 21);
  chart->show();
  Application()->ProcessMessages();
  return chart;
}

void ModelBind(benchmark::State& state) {
  const std::unique_ptr<QStandardItemModel> model = Plan();
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<TvxGant> chart = Chart();
    state.ResumeTiming();
    {
      QvxGantModelBinding binding(chart.get());
      binding.setModel(model.get());
      chart->Repaint();
      Application()->ProcessMessages();
      state.PauseTiming();
    }
    chart.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(ModelBind)->Name("ModelBind/100k")->Unit(benchmark::kMillisecond)->Iterations(3);

void ModelChangeOne(benchmark::State& state) {
  const std::unique_ptr<QStandardItemModel> model = Plan();
  std::unique_ptr<TvxGant> chart = Chart();
  QvxGantModelBinding binding(chart.get());
  binding.setModel(model.get());
  Application()->ProcessMessages();
  QStandardItem* bar = model->item(3)->child(4);
  const QDateTime times[2] = {ToQDateTime(kDay0 + 8), ToQDateTime(kDay0 + 8.25)};
  const bool wholeChart = state.range(0) != 0;
  int k = 0, painted = 0;
  chart->OnUserDrawBackground = [&painted](TvxGant_ComBasic*, const TRect&, TCanvas*) { ++painted; };
  for (auto _ : state) {
    bar->setData(times[k ^= 1], Qt::UserRole + 1);
    // What the change left to paint (the area), as the event loop paints
    // it; or the whole chart, tree and axis included.
    if (wholeChart)
      chart->Repaint();
    else
      Application()->ProcessMessages();
  }
  state.counters["area_paints_per_change"] = benchmark::Counter(painted, benchmark::Counter::kAvgIterations);
}
BENCHMARK(ModelChangeOne)->Name("ModelChangeOne/100k")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(ModelChangeOne)->Name("ModelChangeOne/100k/whole_chart_repainted")->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
