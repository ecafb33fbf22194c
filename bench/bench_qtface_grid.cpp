// The Qt face's item-model binding of the column grid: a table model of ten
// million rows opened in a grid of 1280 x 800 and painted once.
#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QString>

#include <vxplan/designer/QvxGridModelBinding.h>
#include <vxplan/grid/vxGrid.h>

using namespace vx;

namespace {

class TenMillion : public QAbstractTableModel {
public:
  int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : 10'000'000; }
  int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : 8; }
  QVariant data(const QModelIndex& i, int role) const override {
    if (role != Qt::DisplayRole) return {};
    return i.column() == 0 ? QVariant(i.row()) : QVariant(QString("Row %1 col %2").arg(i.row()).arg(i.column()));
  }
  QVariant headerData(int s, Qt::Orientation o, int role) const override {
    if (o == Qt::Horizontal && role == Qt::DisplayRole) return QString("Column %1").arg(s);
    return QAbstractTableModel::headerData(s, o, role);
  }
};

// A new grid each time: made, bound, painted into its bitmap.
void BM_GridModelOpen(benchmark::State& state) {
  TenMillion model;
  TBitmap shot;
  int rows = 0;
  for (auto _ : state) {
    TvxGrid grid(nullptr);
    grid.SetBounds(0, 0, 1280, 800);
    QvxGridModelBinding binding(&grid);
    binding.setModel(&model);
    grid.PaintTo(&shot);
    rows = grid.GetBabGridCellForViewer()->GetVisibleRowCount();
  }
  state.counters["rows_visible"] = rows;
}
BENCHMARK(BM_GridModelOpen)->Name("GridModelOpen/10M")->Unit(benchmark::kMillisecond);

}  // namespace
