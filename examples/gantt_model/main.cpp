// A plan in a QStandardItemModel, shown twice: in a QTreeView (edit a date
// there and the bar moves) and in a Gantt chart (drag a bar and the tree's
// dates change). The chart and the tree share the one model.
//
//   gantt_model                  opens a window
//   gantt_model --render FILE    renders the window to FILE (PNG) and exits
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPixmap>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <vxplan/designer/QvxGantModelBinding.h>
#include <vxplan/designer/QvxWidgets.h>

using namespace vx;

namespace {

constexpr int kStart = Qt::UserRole + 1, kFinish = Qt::UserRole + 2;

struct Work {
  const char* name;
  int startDay, days;
};
struct Task {
  const char* name;
  Work work[2];
};
struct Phase {
  const char* name;
  Task tasks[2];
};

const Phase kPlan[] = {
    {"Design", {{"Sketches", {{"Draft", 0, 2}, {"Review", 2, 1}}}, {"Drawings", {{"Plans", 3, 3}, {"Sign-off", 6, 1}}}}},
    {"Build", {{"Walls", {{"Bricks", 7, 5}, {"Plaster", 12, 2}}}, {"Roof", {{"Beams", 14, 3}, {"Tiles", 17, 3}}}}},
};

// The tree's second and third columns show a row's start and finish; both
// columns read and write the roles the chart reads on column 0.
class DateColumns : public QStandardItemModel {
public:
  using QStandardItemModel::QStandardItemModel;
  QVariant data(const QModelIndex& i, int role) const override {
    if (i.column() > 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
      return i.siblingAtColumn(0).data(i.column() == 1 ? kStart : kFinish);
    return QStandardItemModel::data(i, role);
  }
  bool setData(const QModelIndex& i, const QVariant& v, int role) override {
    if (i.column() > 0 && role == Qt::EditRole) {
      if (!v.toDateTime().isValid()) return false;
      return QStandardItemModel::setData(i.siblingAtColumn(0), v, i.column() == 1 ? kStart : kFinish);
    }
    const bool ok = QStandardItemModel::setData(i, v, role);
    // A date changed on column 0 is seen in the date columns too.
    if (ok && i.column() == 0 && (role == kStart || role == kFinish))
      emit dataChanged(i.siblingAtColumn(1), i.siblingAtColumn(2), {Qt::DisplayRole});
    return ok;
  }
};

QStandardItem* Row(QStandardItem* parent, const QString& text) {
  QList<QStandardItem*> row{new QStandardItem(text), new QStandardItem, new QStandardItem};
  parent->appendRow(row);
  return row[0];
}

void FillPlan(QStandardItemModel& model, const QDateTime& start) {
  model.setHorizontalHeaderLabels({"Plan", "Start", "Finish"});
  for (const Phase& phase : kPlan) {
    QStandardItem* p = Row(model.invisibleRootItem(), phase.name);
    for (const Task& task : phase.tasks) {
      QStandardItem* t = Row(p, task.name);
      for (const Work& w : task.work) {
        QStandardItem* bar = Row(t, w.name);
        bar->setData(start.addDays(w.startDay), kStart);
        bar->setData(start.addDays(w.startDay + w.days), kFinish);
        bar->setBackground(QColor(0x5B, 0x8D, 0xD6));
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* renderTo = nullptr;
  for (int k = 1; k + 1 < argc; ++k)
    if (std::strcmp(argv[k], "--render") == 0) renderTo = argv[k + 1];
  if (renderTo && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);

  const QDateTime start(QDate(2025, 3, 3), QTime(0, 0));
  DateColumns model;
  FillPlan(model, start);

  QSplitter window;
  auto* tree = new QTreeView(&window);
  tree->setModel(&model);
  tree->expandAll();
  tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* chart = new QvxGant(&window);
  chart->setStart(start.addDays(-1));
  chart->setStop(start.addDays(22));
  chart->setTreeWidth(140);
  auto* binding = new QvxGantModelBinding(chart->gant(), &window);
  binding->setModel(&model);
  chart->gant()->GetTreeView()->ExpandLevels(3);

  window.resize(1200, 360);
  window.setSizes({480, 720});
  window.setWindowTitle(QStringLiteral("vxplan: one model, two views"));
  window.show();
  if (!renderTo) return app.exec();

  app.processEvents();
  if (!window.grab().toImage().save(QString::fromUtf8(renderTo))) {
    std::fprintf(stderr, "could not write %s\n", renderTo);
    return 1;
  }
  std::printf("wrote %s\n", renderTo);
  return 0;
}
