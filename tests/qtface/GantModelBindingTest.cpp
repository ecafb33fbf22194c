// The model shown in the chart: after any sequence of the model's changes the
// chart's rows and bars equal what the model says, and what the user had
// (expanded nodes, selected bars, the top row) outlives layout changes.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QStandardItemModel>
#include <cmath>
#include <random>

#include "BindingSupport.h"
#include "PlanModel.h"

using namespace vx;
using vxtest::PlanModel;
using vxtest::TestGant;

namespace {

QDateTime Day(double d) { return ToQDateTime(TestGant::kDay0 + d); }

// One random change of the model, of the kinds a binding hears.
enum Edit { eInsertTask, eInsertBar, eRemove, eMove, eTimes, eText, eColour, eReset, eLayout, eEditCount };

struct Random {
  std::mt19937 gen;
  int Int(int n) { return n <= 0 ? 0 : static_cast<int>(gen() % static_cast<unsigned>(n)); }
};

// Any row of the model, or the root (invalid).
QModelIndex AnyRow(PlanModel& m, Random& r, bool rootToo) {
  QModelIndex at;
  for (int depth = 0; depth < 4; ++depth) {
    const int n = m.rowCount(at);
    if (n == 0 || (rootToo && r.Int(3) == 0 && depth > 0)) break;
    at = m.index(r.Int(n), 0, at);
    if (r.Int(2) == 0) break;
  }
  return at;
}

void SetBar(PlanModel& m, const QModelIndex& i, Random& r, const QString& text) {
  const double s = r.Int(40) / 4.0;
  m.setData(i, Day(s), Qt::UserRole + 1);
  m.setData(i, Day(s + r.Int(12) / 4.0), Qt::UserRole + 2);
  m.setData(i, text, Qt::DisplayRole);
}

void Apply(PlanModel& m, Edit e, Random& r, int step) {
  const QString name = QStringLiteral("r%1").arg(step);
  if (e == eReset) {
    m.Reset([&] {
      if (!m.Root().kids.empty()) m.Root().kids.pop_back();
    });
    return;
  }
  if (e == eLayout) return m.ReverseChildren(AnyRow(m, r, true));
  if (e == eInsertTask || e == eInsertBar) {
    const QModelIndex parent = AnyRow(m, r, true);
    const int row = r.Int(m.rowCount(parent) + 1);
    m.insertRows(row, 1, parent);
    const QModelIndex made = m.index(row, 0, parent);
    if (e == eInsertBar) SetBar(m, made, r, name);
    else m.setData(made, name, Qt::DisplayRole);
    return;
  }
  const QModelIndex at = AnyRow(m, r, false);
  const QModelIndex to = e == eMove ? AnyRow(m, r, true) : QModelIndex();
  if (!at.isValid()) return;
  switch (e) {
    case eRemove: m.removeRows(at.row(), 1, at.parent()); break;
    case eMove: m.moveRows(at.parent(), at.row(), 1, to, r.Int(m.rowCount(to) + 1)); break;
    case eTimes: SetBar(m, at, r, at.data().toString()); break;
    case eText: m.setData(at, name, Qt::DisplayRole); break;
    case eColour: m.setData(at, QColor::fromHsv(r.Int(360), 200, 200), Qt::BackgroundRole); break;
    default: break;
  }
}

}  // namespace

// Seeded runs of random edits; after each, the chart equals the model.
TEST(GantModelBinding, ChartFollowsRandomEdits) {
  const struct {
    unsigned seed;
    int steps;
  } kRuns[] = {{1, 150}, {7, 150}, {42, 250}, {2025, 250}};
  for (const auto& run : kRuns) {
    SCOPED_TRACE(run.seed);
    TestGant chart;
    PlanModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    Random r{std::mt19937(run.seed)};
    for (int k = 0; k < 6; ++k) Apply(model, k % 2 ? eInsertBar : eInsertTask, r, k);
    QvxGantModelBinding binding(&chart);
    binding.setModel(&model);
    ASSERT_EQ(vxtest::ChartShows(chart), vxtest::ModelSays(model));
    for (int step = 0; step < run.steps; ++step) {
      const Edit e = static_cast<Edit>(r.Int(eEditCount));
      Apply(model, e, r, step);
      ASSERT_EQ(vxtest::ChartShows(chart), vxtest::ModelSays(model)) << "step " << step << " edit " << e;
    }
  }
}

// A sub-task's only child moved out to a place before the sub-task in its
// parent: the indexes of the move name places after it, the binding still
// holds the rows where they were. The sub-task becomes a bar again.
TEST(GantModelBinding, AChildMovedOutBeforeItsTaskLeavesItABar) {
  for (int dest = 0; dest <= 3; ++dest) {
    SCOPED_TRACE(dest);
    TestGant chart;
    PlanModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    auto add = [&](const QModelIndex& parent, const QString& text, double from) {
      const int row = model.rowCount(parent);
      model.insertRows(row, 1, parent);
      const QModelIndex made = model.index(row, 0, parent);
      model.setData(made, Day(from), Qt::UserRole + 1);
      model.setData(made, Day(from + 1), Qt::UserRole + 2);
      model.setData(made, text, Qt::DisplayRole);
      return made;
    };
    model.insertRows(0, 1, {});
    const QModelIndex t = model.index(0, 0);
    model.setData(t, QStringLiteral("T"), Qt::DisplayRole);
    for (int k = 0; k < 3; ++k) add(t, QStringLiteral("s%1").arg(k), k);
    add(model.index(2, 0, t), QStringLiteral("b"), 5);
    QvxGantModelBinding binding(&chart);
    binding.setModel(&model);
    ASSERT_EQ(vxtest::ChartShows(chart), vxtest::ModelSays(model));
    model.moveRows(model.index(2, 0, t), 0, 1, t, dest);
    EXPECT_EQ(vxtest::ChartShows(chart), vxtest::ModelSays(model));
  }
}

// The same over a QStandardItemModel, whose signals differ (no moves, a row
// inserted with its items), and with lookups both ways.
TEST(GantModelBinding, StandardItemModelAndLookups) {
  TestGant chart;
  QStandardItemModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  auto task = [&](QStandardItem* parent, const QString& text) {
    auto* item = new QStandardItem(text);
    (parent ? parent : model.invisibleRootItem())->appendRow(item);
    return item;
  };
  auto bar = [&](QStandardItem* parent, const QString& text, double from, double to) {
    auto* item = task(parent, text);
    item->setData(Day(from), Qt::UserRole + 1);
    item->setData(Day(to), Qt::UserRole + 2);
    return item;
  };
  QStandardItem* a = task(nullptr, "A");
  bar(a, "a1", 1, 2);
  QStandardItem* a2 = bar(a, "a2", 3, 4);
  QStandardItem* b = task(nullptr, "B");
  QvxGantModelBinding binding(&chart);
  binding.setModel(&model);
  EXPECT_EQ(vxtest::ChartShows(chart), vxtest::ModelSays(model));

  TvxDataEntity_Kronit* k = binding.itemOf(a2->index());
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(binding.indexOf(k), a2->index());
  EXPECT_EQ(binding.nodeOf(a2->index()), nullptr);  // a bar row has no node
  TvxDataEntity_Tree* nodeA = binding.nodeOf(a->index());
  ASSERT_NE(nodeA, nullptr);
  EXPECT_EQ(binding.indexOf(nodeA), a->index());
  EXPECT_FALSE(binding.indexOf(static_cast<TvxDataEntity_Kronit*>(nullptr)).isValid());
  EXPECT_EQ(binding.itemOf(QModelIndex()), nullptr);

  // Changes of every kind, each checked against the model.
  const std::function<void()> kEdits[] = {
      [&] { a2->setData(Day(5), Qt::UserRole + 1); },                 // start moves past finish
      [&] { a2->setBackground(QColor(Qt::red)); },                   // colour as a brush
      [&] { bar(b, "b1", 2, 3); },                                   // a bar into an empty task
      [&] { bar(a2, "under a bar", 1, 1.5); },                       // a bar given a child is a task
      [&] { a2->removeRow(0); },                                     // and a bar again
      [&] { b->setData(Day(0), Qt::UserRole + 1); },                 // a task's own bar
      [&] { b->setData(QVariant(), Qt::UserRole + 1); },             // and gone
      [&] { model.sort(0, Qt::DescendingOrder); },                   // a layout change
      [&] { a->insertRow(0, new QStandardItem("new task")); },
      [&] { model.removeRow(0); },
      [&] { a->setText(QString(1000, QChar('x'))); },               // cut to what a node takes
      [&] { model.clear(); },
  };
  for (std::size_t e = 0; e < std::size(kEdits); ++e) {
    kEdits[e]();
    ASSERT_EQ(vxtest::ChartShows(chart), vxtest::ModelSays(model)) << "edit " << e;
  }
}

// Bad values: each row's bar, or none, as documented.
TEST(GantModelBinding, BadValues) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    QVariant start, finish;
    bool bar;
    double from, to;  // days after kDay0, when a bar
  } kCases[] = {
      {"invalid date", QDateTime(), Day(1), false, 0, 0},
      {"NaN days", nan, Day(1), false, 0, 0},
      {"text", QStringLiteral("monday"), Day(1), false, 0, 0},
      {"finish before start", Day(3), Day(1), true, 3, 3},
      {"no finish", Day(2), QVariant(), true, 2, 2},
      {"a date", QDate(2025, 12, 10), Day(2), true, 1, 2},
      {"days as a number", TestGant::kDay0 + 1.5, Day(2), true, 1.5, 2},
      {"days far out of any calendar", 1e300, -1e300, true, nan, nan},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    TestGant chart;
    QStandardItemModel model;
    auto* task = new QStandardItem("t");
    auto* item = new QStandardItem("b");
    item->setData(c.start, Qt::UserRole + 1);
    item->setData(c.finish, Qt::UserRole + 2);
    task->appendRow(item);
    model.appendRow(task);
    QvxGantModelBinding binding(&chart);
    binding.setModel(&model);
    TvxDataEntity_Kronit* k = binding.itemOf(item->index());
    ASSERT_EQ(k != nullptr, c.bar);
    if (!k) {
      // Not a bar: a task of its own.
      EXPECT_NE(binding.nodeOf(item->index()), nullptr);
    } else if (std::isnan(c.from)) {
      // Clamped to the years 1 .. 9999, the finish to the start.
      EXPECT_EQ(k->GetStartDateTime(), k->GetStopDateTime());
      EXPECT_LE(k->GetStartDateTime(), EncodeDate(9999, 12, 31) + 1);
    } else {
      EXPECT_NEAR(k->GetStartDateTime(), TestGant::kDay0 + c.from, 1e-6);
      EXPECT_NEAR(k->GetStopDateTime(), TestGant::kDay0 + c.to, 1e-6);
    }
  }
}

// Expanded nodes, selected bars and the top row outlive a layout change, a
// reset and a change of one row.
TEST(GantModelBinding, ViewStateKept) {
  TestGant chart;
  vxtest::ShowWindow(&chart);
  PlanModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.insertRows(0, 60);
  for (int t = 0; t < 60; ++t) {
    const QModelIndex task = model.index(t, 0);
    model.setData(task, QStringLiteral("task %1").arg(t), Qt::DisplayRole);
    model.insertRows(0, 2, task);
    model.insertRows(0, 1, model.index(0, 0, task));  // a sub-task with a bar
    const QModelIndex sub = model.index(0, 0, task), bar = model.index(1, 0, task);
    model.setData(sub, QStringLiteral("sub %1").arg(t), Qt::DisplayRole);
    model.setData(model.index(0, 0, sub), Day(1), Qt::UserRole + 1);
    model.setData(bar, Day(t % 5), Qt::UserRole + 1);
    model.setData(bar, Day(t % 5 + 1), Qt::UserRole + 2);
  }
  QvxGantModelBinding binding(&chart);
  binding.setModel(&model);
  const QPersistentModelIndex expanded(model.index(30, 0)), selected(model.index(1, 0, model.index(31, 0)));
  const QPersistentModelIndex top(model.index(25, 0));
  binding.nodeOf(expanded)->SetExpanded(true);
  binding.itemOf(selected)->SetSelected(true);
  TGantTree* tree = chart.GetTreeView();
  tree->EnsureDisplayUpToDate();
  tree->SetTopDataEntity(binding.nodeOf(top));
  vxtest::ProcessEventsUntilIdle();
  ASSERT_EQ(tree->GetTopDataEntity(), binding.nodeOf(top));

  const struct {
    const char* name;
    std::function<void()> change;
  } kChanges[] = {
      {"one row's data", [&] { model.setData(model.index(30, 0), QStringLiteral("renamed"), Qt::DisplayRole); }},
      {"a bar's times", [&] { model.setData(selected, Day(4), Qt::UserRole + 2); }},
      {"a layout change", [&] { model.ReverseChildren(model.index(30, 0)); }},
      {"a row inserted below", [&] { model.insertRows(59, 1); }},
  };
  for (const auto& c : kChanges) {
    SCOPED_TRACE(c.name);
    c.change();
    vxtest::ProcessEventsUntilIdle();
    ASSERT_NE(binding.nodeOf(expanded), nullptr);
    EXPECT_TRUE(binding.nodeOf(expanded)->GetExpanded());
    ASSERT_NE(binding.itemOf(selected), nullptr);
    EXPECT_TRUE(binding.itemOf(selected)->GetSelected());
    EXPECT_EQ(tree->GetTopDataEntity(), binding.nodeOf(top));
    EXPECT_EQ(vxtest::ChartShows(chart), vxtest::ModelSays(model));
  }
  // A reset keeps them by place.
  model.Reset([] {});
  vxtest::ProcessEventsUntilIdle();
  EXPECT_TRUE(binding.nodeOf(model.index(30, 0))->GetExpanded());
  EXPECT_EQ(tree->GetTopDataEntity(), binding.nodeOf(model.index(25, 0)));
}

// Links from the links role and from a link model.
TEST(GantModelBinding, Links) {
  TestGant chart;
  QStandardItemModel model;
  auto* task = new QStandardItem("t");
  QStandardItem* bars[3];
  for (int k = 0; k < 3; ++k) {
    bars[k] = new QStandardItem(QStringLiteral("b%1").arg(k));
    bars[k]->setData(Day(k), Qt::UserRole + 1);
    bars[k]->setData(Day(k + 1), Qt::UserRole + 2);
    bars[k]->setData(QStringLiteral("id%1").arg(k), Qt::UserRole + 5);
    task->appendRow(bars[k]);
  }
  bars[0]->setData(QVariantList{QStringLiteral("id1"), QStringLiteral("id2"), QStringLiteral("nobody")},
                   Qt::UserRole + 6);
  model.appendRow(task);
  QvxGantModelBinding binding(&chart);
  binding.setModel(&model);
  auto linked = [&](int from, int to) {
    for (int k = 0; k < chart.GetLinks()->Count(); ++k) {
      auto* l = static_cast<TvxDataEntity_Link*>(chart.GetLinks()->GetItems(k));
      if (l->fLinkOwner == binding.itemOf(bars[from]->index()) && l->fLinkedTo == binding.itemOf(bars[to]->index()))
        return true;
    }
    return false;
  };
  EXPECT_EQ(chart.GetLinks()->Count(), 2);  // an unknown id links nothing
  EXPECT_TRUE(linked(0, 1));
  EXPECT_TRUE(linked(0, 2));
  bars[0]->setData(QVariantList{QStringLiteral("id2")}, Qt::UserRole + 6);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(chart.GetLinks()->Count(), 1);

  QStandardItemModel links;
  links.appendRow({new QStandardItem("id2"), new QStandardItem("id1")});
  binding.setLinkModel(&links);
  EXPECT_EQ(chart.GetLinks()->Count(), 1);
  EXPECT_TRUE(linked(2, 1));
  links.appendRow({new QStandardItem("id1"), new QStandardItem("id0")});
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(chart.GetLinks()->Count(), 2);
  // A linked bar removed: its links go with it, and the rest are rebuilt.
  task->removeRow(1);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(chart.GetLinks()->Count(), 0);
}

// The model or the chart deleted while bound; the binding deleted first.
TEST(GantModelBinding, EitherSideGoes) {
  for (const char* gone : {"model", "chart", "binding"}) {
    SCOPED_TRACE(gone);
    auto chart = std::make_unique<TestGant>();
    auto model = std::make_unique<QStandardItemModel>();
    auto binding = std::make_unique<QvxGantModelBinding>(chart.get());
    model->appendRow(new QStandardItem("t"));
    binding->setModel(model.get());
    ASSERT_EQ(chart->GetTreeView()->GetRootDataList()->Count(), 1);
    if (gone == std::string("model")) {
      model.reset();
      EXPECT_EQ(binding->model(), nullptr);
      EXPECT_EQ(chart->GetTreeView()->GetRootDataList()->Count(), 0);
      continue;
    }
    if (gone == std::string("chart")) {
      chart.reset();
      EXPECT_EQ(binding->chart(), nullptr);
      model->appendRow(new QStandardItem("after"));  // heard by nobody
      EXPECT_EQ(binding->nodeOf(model->index(0, 0)), nullptr);
      continue;
    }
    binding.reset();
    EXPECT_EQ(chart->GetTreeView()->GetRootDataList()->Count(), 0);
    EXPECT_EQ(chart->GetBindingListener(), nullptr);
    model->appendRow(new QStandardItem("after"));
    EXPECT_EQ(chart->GetTreeView()->GetRootDataList()->Count(), 0);
  }
}
