// The user's edits written to the model through real mouse and key events:
// the model's answer decides where the bar ends.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QStandardItemModel>

#include "BindingSupport.h"
#include "PlanModel.h"

using namespace vx;
using vxtest::PlanModel;
using vxtest::TestGant;

namespace {

QDateTime Day(double d) { return ToQDateTime(TestGant::kDay0 + d); }
double DayOf(const QVariant& v) { return FromQDateTime(v.toDateTime()) - TestGant::kDay0; }

// A shown chart, 100 pixels a day, no snapping.
struct Chart : vxtest::ShownGant {
  void Drag(int x1, int y1, int x2, int y2, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    vxtest::MousePress(GetGA(), x1, y1, Qt::LeftButton, mods);
    vxtest::MouseMove(GetGA(), (x1 + x2) / 2, (y1 + y2) / 2);
    vxtest::MouseMove(GetGA(), x2, y2);
    vxtest::MouseRelease(GetGA(), x2, y2, Qt::LeftButton, mods);
    vxtest::ProcessEventsUntilIdle();
  }
};

// A standard model that refuses writes when told to.
class Refusing : public QStandardItemModel {
public:
  bool fRefuse = false;
  int fWrites = 0;
  bool setData(const QModelIndex& i, const QVariant& v, int role) override {
    ++fWrites;
    return !fRefuse && QStandardItemModel::setData(i, v, role);
  }
};

// Tasks A and B, each with one bar: A's from day 1 to 2, B's from 4 to 5.
void FillPlan(QAbstractItemModel& m) {
  if (m.columnCount() < 1) m.insertColumns(0, 1);  // an empty standard model has no column
  m.insertRows(0, 2);
  for (int t = 0; t < 2; ++t) {
    const QModelIndex task = m.index(t, 0);
    m.setData(task, t ? "B" : "A", Qt::DisplayRole);
    if (m.columnCount(task) < 1) m.insertColumns(0, 1, task);
    m.insertRows(0, 1, task);
    const QModelIndex bar = m.index(0, 0, task);
    m.setData(bar, t ? "b" : "a", Qt::DisplayRole);
    m.setData(bar, Day(1 + 3 * t), Qt::UserRole + 1);
    m.setData(bar, Day(2 + 3 * t), Qt::UserRole + 2);
  }
}

}  // namespace

// A move and a resize with the mouse: accepted, the model holds the dragged
// times; refused, the bar stays where it was.
TEST(GantModelWriteBack, MoveAndResize) {
  const struct {
    const char* name;
    bool refuse;
    bool resize;
    double start, finish;  // in the model and on the chart afterwards
  } kCases[] = {
      {"move accepted", false, false, 3, 4},
      {"move refused", true, false, 1, 2},
      {"resize accepted", false, true, 1, 3},
      {"resize refused", true, true, 1, 2},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Chart chart;
    Refusing model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    FillPlan(model);
    QvxGantModelBinding binding(&chart);
    binding.setModel(&model);
    model.fRefuse = c.refuse;
    model.fWrites = 0;
    const QModelIndex bar = model.index(0, 0, model.index(0, 0));
    const int y = chart.MidY(binding.nodeOf(model.index(0, 0)));
    if (c.resize) chart.Drag(chart.X(2) - 1, y, chart.X(3) - 1, y);
    else chart.Drag(chart.X(1.5), y, chart.X(3.5), y);
    EXPECT_GT(model.fWrites, 0);
    EXPECT_NEAR(DayOf(bar.data(Qt::UserRole + 1)), c.start, 0.02);
    EXPECT_NEAR(DayOf(bar.data(Qt::UserRole + 2)), c.finish, 0.02);
    TvxDataEntity_Kronit* k = binding.itemOf(bar);
    ASSERT_NE(k, nullptr);
    EXPECT_NEAR(k->GetStartDateTime() - TestGant::kDay0, c.start, 0.02);
    EXPECT_NEAR(k->GetStopDateTime() - TestGant::kDay0, c.finish, 0.02);
  }
}

// A bar dragged to another task's row moves its model row there (moveRows,
// or copied and removed where the model cannot move); Ctrl copies it.
TEST(GantModelWriteBack, ChangeRowAndCopy) {
  const struct {
    const char* name;
    bool canMove;  // PlanModel moves rows, QStandardItemModel does not
    bool copy;
  } kCases[] = {
      {"moved by moveRows", true, false},
      {"moved by copy and remove", false, false},
      {"copied", true, true},
      {"copied into a standard model", false, true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Chart chart;
    std::unique_ptr<QAbstractItemModel> model;
    if (c.canMove) model = std::make_unique<PlanModel>();
    else model = std::make_unique<QStandardItemModel>();
    QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    FillPlan(*model);
    QvxGantModelBinding binding(&chart);
    binding.setModel(model.get());
    const QModelIndex a = model->index(0, 0), b = model->index(1, 0);
    const int ya = chart.MidY(binding.nodeOf(a)), yb = chart.MidY(binding.nodeOf(b));
    chart.Drag(chart.X(1.5), ya, chart.X(2.5), yb, c.copy ? Qt::ControlModifier : Qt::NoModifier);
    EXPECT_EQ(model->rowCount(a), c.copy ? 1 : 0);
    ASSERT_EQ(model->rowCount(b), 2);
    const QModelIndex landed = model->index(1, 0, b);
    EXPECT_EQ(landed.data().toString(), "a");
    EXPECT_NEAR(DayOf(landed.data(Qt::UserRole + 1)), 2, 0.02);
    EXPECT_NEAR(DayOf(landed.data(Qt::UserRole + 2)), 3, 0.02);
    EXPECT_EQ(vxtest::ChartShows(chart), vxtest::ModelSays(*model));
    ASSERT_NE(binding.itemOf(landed), nullptr);
    EXPECT_TRUE(binding.itemOf(landed)->GetSelected());
  }
}

// The awkward models: rows removed while a bar is dragged, and a model that
// resets from inside setData. The drag ends cleanly and the chart shows the
// model.
TEST(GantModelWriteBack, ModelsThatChangeUnderADrag) {
  for (const bool resetInSetData : {false, true}) {
    SCOPED_TRACE(resetInSetData ? "reset in setData" : "rows removed under the drag");
    Chart chart;
    PlanModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    FillPlan(model);
    QvxGantModelBinding binding(&chart);
    binding.setModel(&model);
    model.fResetInSetData = resetInSetData;
    const int y = chart.MidY(binding.nodeOf(model.index(0, 0)));
    vxtest::MousePress(chart.GetGA(), chart.X(1.5), y);
    vxtest::MouseMove(chart.GetGA(), chart.X(2.5), y);
    if (!resetInSetData) model.removeRows(0, 1);  // task A and its bar, the one being dragged
    vxtest::MouseMove(chart.GetGA(), chart.X(3.5), y);
    vxtest::MouseRelease(chart.GetGA(), chart.X(3.5), y);
    vxtest::ProcessEventsUntilIdle();
    EXPECT_EQ(chart.GetMouseMoveMode(), mmNone);
    EXPECT_EQ(vxtest::ChartShows(chart), vxtest::ModelSays(model));
    if (resetInSetData)
      EXPECT_NEAR(DayOf(model.index(0, 0, model.index(0, 0)).data(Qt::UserRole + 1)), 3, 0.02);
  }
}
