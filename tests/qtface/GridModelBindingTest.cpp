// The column grid bound to an item model: rows on demand, the model's
// changes against a plain reference, edits written back through real keys,
// and a model or rows that go at bad moments.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAbstractTableModel>
#include <QApplication>
#include <QBrush>
#include <QFont>
#include <QTest>
#include <climits>
#include <memory>
#include <random>
#include <set>

#include "UiTestSupport.h"
#include <vxplan/designer/QvxGridModelBinding.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/platform/ui/QtConvert.h>

using namespace vx;

namespace {

// A table of texts and numbers. Column 0 texts, column 1 ints, column 2
// read-only, column 3 check boxes. It can hold rows back for fetchMore.
class TableModel : public QAbstractTableModel {
public:
  struct Row {
    QString text;
    int number = 0;
    QString fixed;
    bool checked = false;
  };
  std::vector<Row> rows;
  int pending = 0;         // rows fetchMore hands out, kFetch at a time
  static constexpr int kFetch = 10;
  bool refuse = false;     // setData answers false
  std::function<void()> onSetData;  // after a write, before answering
  int setDataCalls = 0;
  std::set<int> rowsAsked;
  QString huge;            // when set, column 0 of row 0 shows it

  explicit TableModel(int theRows = 0) { Fill(theRows, 0); }
  void Fill(int theRows, int theFirst) {
    for (int r = 0; r < theRows; ++r) rows.push_back(Make(theFirst + r));
  }
  static Row Make(int r) { return {QString("t%1").arg(r), r * 3, QString("f%1").arg(r), r % 2 == 0}; }

  int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : static_cast<int>(rows.size()); }
  int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : 4; }
  QVariant data(const QModelIndex& i, int role) const override {
    if (!checkIndex(i, CheckIndexOption::IndexIsValid)) return {};
    const_cast<TableModel*>(this)->rowsAsked.insert(i.row());
    const Row& row = rows[static_cast<size_t>(i.row())];
    if (i.column() == 3)
      return role == Qt::CheckStateRole ? QVariant(row.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    if (role == Qt::TextAlignmentRole && i.column() == 1) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ForegroundRole && i.column() == 2) return QBrush(Qt::red);
    if (role == Qt::FontRole && i.column() == 0 && i.row() % 5 == 0) return QFont(QString(), -1, QFont::Bold);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (i.column()) {
      case 0: return i.row() == 0 && !huge.isEmpty() ? huge : row.text;
      case 1: return row.number;
      default: return row.fixed;
    }
  }
  QVariant headerData(int s, Qt::Orientation o, int role) const override {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && s >= 0 && s < 4)
      return QStringList{"Text", "Number", "Fixed", "Done"}[s];
    if (o == Qt::Horizontal && role == Qt::SizeHintRole && s == 0) return QSize(120, 20);
    return QAbstractTableModel::headerData(s, o, role);
  }
  Qt::ItemFlags flags(const QModelIndex& i) const override {
    Qt::ItemFlags f = QAbstractTableModel::flags(i);
    if (!i.isValid()) return f;
    if (i.column() == 3) return f | Qt::ItemIsUserCheckable;
    return i.column() == 2 ? f : f | Qt::ItemIsEditable;
  }
  bool setData(const QModelIndex& i, const QVariant& v, int role) override {
    ++setDataCalls;
    if (refuse || !checkIndex(i, CheckIndexOption::IndexIsValid)) return false;
    Row& row = rows[static_cast<size_t>(i.row())];
    if (i.column() == 3 && role == Qt::CheckStateRole)
      row.checked = v.toInt() == Qt::Checked;
    else if (role == Qt::EditRole && i.column() == 0)
      row.text = v.toString();
    else if (role == Qt::EditRole && i.column() == 1 && v.typeId() == QMetaType::Int)
      row.number = v.toInt();
    else
      return false;
    emit dataChanged(i, i);
    if (onSetData) onSetData();
    return true;
  }
  bool canFetchMore(const QModelIndex& p) const override { return !p.isValid() && pending > 0 && !inserting; }
  void fetchMore(const QModelIndex& p) override {
    if (!canFetchMore(p)) return;
    const int n = std::min(pending, kFetch);
    Insert(rowCount(), n);
    pending -= n;
  }

  // The edits the reference test makes.
  void Insert(int at, int n) {
    // No fetching from within the signals of an insert (the tester asks then).
    inserting = true;
    beginInsertRows({}, at, at + n - 1);
    for (int k = 0; k < n; ++k) rows.insert(rows.begin() + at + k, Make(1000 + at * 7 + k));
    endInsertRows();
    inserting = false;
  }
  bool inserting = false;
  void Remove(int at, int n) {
    beginRemoveRows({}, at, at + n - 1);
    rows.erase(rows.begin() + at, rows.begin() + at + n);
    endRemoveRows();
  }
  void Move(int from, int n, int to) {
    if (!beginMoveRows({}, from, from + n - 1, {}, to)) return;
    std::vector<Row> block(rows.begin() + from, rows.begin() + from + n);
    rows.erase(rows.begin() + from, rows.begin() + from + n);
    const int at = to > from ? to - n : to;
    rows.insert(rows.begin() + at, block.begin(), block.end());
    endMoveRows();
  }
  void Set(int r, const QString& text) {
    rows[static_cast<size_t>(r)].text = text;
    emit dataChanged(index(r, 0), index(r, 0));
  }
  void Reset(int theRows) {
    beginResetModel();
    rows.clear();
    Fill(theRows, 5000);
    endResetModel();
  }
  // Reverses the rows, moving the persistent indexes with them.
  void Reverse() {
    emit layoutAboutToBeChanged();
    std::reverse(rows.begin(), rows.end());
    const int n = rowCount();
    for (const QModelIndex& i : persistentIndexList()) changePersistentIndex(i, index(n - 1 - i.row(), i.column()));
    emit layoutChanged();
  }
};

// Ten million rows (or any count), texts made up as they are asked for.
class BigModel : public QAbstractTableModel {
public:
  explicit BigModel(int theRows) : fRows(theRows) {}
  int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : fRows; }
  int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : 5; }
  QVariant data(const QModelIndex& i, int role) const override {
    if (role == Qt::DisplayRole) {
      rowsAsked.insert(i.row());
      return QString("r%1c%2").arg(i.row()).arg(i.column());
    }
    return {};
  }
  QVariant headerData(int s, Qt::Orientation o, int role) const override {
    return o == Qt::Horizontal && role == Qt::DisplayRole ? QString("C%1").arg(s) : QVariant();
  }
  mutable std::set<int> rowsAsked;

private:
  int fRows;
};

// A grid of 400 x 300 shown as a window, bound to a model; made with the
// model, bound at once under the model tester.
struct Scene {
  TvxGrid grid{nullptr};
  QvxGridModelBinding binding{&grid};
  std::unique_ptr<QAbstractItemModelTester> tester;
  TBitmap shot;

  Scene() { grid.SetBounds(0, 0, 400, 300); }
  explicit Scene(QAbstractItemModel* theModel)
      : tester(std::make_unique<QAbstractItemModelTester>(theModel,
                                                          QAbstractItemModelTester::FailureReportingMode::Fatal)) {
    grid.SetBounds(0, 0, 400, 300);
    Bind(theModel);
  }
  void Bind(QAbstractItemModel* theModel) {
    binding.setModel(theModel);
    vxtest::ShowWindow(&grid);
    grid.SetFocus();
    Settle();
  }
  void Settle() {
    vxtest::ProcessEventsUntilIdle();
    grid.PaintTo(&shot);
  }
  TBabGridCellForViewer* Outer() { return grid.GetBabGridCellForViewer(); }
  TAxisContentList* Rows() { return Outer()->GetAxisContentListY(); }
  std::string Text(int theModelRow, int theModelCol) {
    return grid.GetText(Outer()->getCell(binding.gridColumn(theModelCol), binding.gridRow(theModelRow)));
  }
  TPoint Mid(int theModelRow, int theModelCol) {
    Settle();
    const TRect r = Outer()->getCell(binding.gridColumn(theModelCol), binding.gridRow(theModelRow))->getVisibleRect();
    return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void Click(int theModelRow, int theModelCol) {
    const TPoint p = Mid(theModelRow, theModelCol);
    vxtest::MouseClick(&grid, p.X, p.Y);
  }
  // Opens the editor of a cell with F2.
  bool Edit(int theModelRow, int theModelCol) {
    Click(theModelRow, theModelCol);
    vxtest::KeyClick(&grid, Qt::Key_F2);
    return grid.GetEditing();
  }
  // Every cell the grid holds shows what the model holds for it.
  void ExpectCellsEqualModel(const QAbstractItemModel& theModel, const std::string& theStep) {
    ASSERT_EQ(binding.rowCount(), theModel.rowCount()) << theStep;
    ASSERT_EQ(Rows()->Count(), theModel.rowCount() + Outer()->GetFixedRows()) << theStep;
    int seen = 0;
    Outer()->GetCellMatris()->ForEachCell([&](TBabCell* c) {
      if (c->GetIsFixed() || c->IsGridCell()) return;
      const QModelIndex i = binding.indexOf(c);
      ASSERT_TRUE(i.isValid()) << theStep;
      const QVariant check = theModel.data(i, Qt::CheckStateRole);
      const std::string expected = check.isValid() ? (check.toInt() == Qt::Checked ? "TRUE" : "FALSE")
                                                   : FromQString(theModel.data(i, Qt::DisplayRole).toString());
      EXPECT_EQ(grid.GetText(c), expected) << theStep << " at " << i.row() << "," << i.column();
      ++seen;
    });
    if (theModel.rowCount() > 0) EXPECT_GT(seen, 0) << theStep;
  }
};

}  // namespace

// ---------------------------------------------------------------- opening

// Only the rows that show are asked for, at the top and after Ctrl+End;
// counts beyond the axis are cut.
TEST(GridModelBinding, RowsAreAskedForOnlyWhenTheyShow) {
  const struct {
    const char* name;
    int rows;
    int shownRows;
  } kCases[] = {
      {"Empty", 0, 0},
      {"OneRow", 1, 1},
      {"TenMillion", 10'000'000, 10'000'000},
      {"IntMax", INT_MAX, QvxGridModelBinding::kMaxRows},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    BigModel model(c.rows);
    // The tester walks every row: the small ones only.
    std::unique_ptr<QAbstractItemModelTester> tester;
    if (c.rows < 1000)
      tester = std::make_unique<QAbstractItemModelTester>(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.rowsAsked.clear();
    Scene s;
    s.Bind(&model);
    EXPECT_EQ(s.binding.rowCount(), c.shownRows);
    EXPECT_EQ(s.grid.GetCellCountY(), c.shownRows + 1);
    EXPECT_LE(static_cast<int>(model.rowsAsked.size()), 20);
    EXPECT_EQ(s.binding.gridRow(c.shownRows), -1);
    EXPECT_EQ(s.binding.modelRow(0), -1);
    if (c.rows < 1000) continue;
    EXPECT_EQ(s.grid.GetColumns()->GetColumn(4)->GetHeaderText(), "C4");
    const int shown = s.Outer()->GetVisibleRowCount();
    ASSERT_GT(shown, 5);
    EXPECT_LT(*model.rowsAsked.rbegin(), shown + 1);
    EXPECT_EQ(s.Text(3, 2), "r3c2");
    model.rowsAsked.clear();
    vxtest::KeyClick(&s.grid, Qt::Key_End, Qt::ControlModifier);
    s.Settle();
    ASSERT_FALSE(model.rowsAsked.empty());
    EXPECT_GE(*model.rowsAsked.begin(), c.shownRows - shown - 2);
    EXPECT_EQ(s.Text(c.shownRows - 1, 0), "r" + std::to_string(c.shownRows - 1) + "c0");
    EXPECT_LE(s.Rows()->LoadedCount(), TAxisContentList::MaxLoadedItems + 1);
  }
}

TEST(GridModelBinding, RolesGiveTheLookAndHeadersTheColumns) {
  TableModel model(8);
  model.huge = QString(200000, QChar('w'));
  Scene s(&model);
  EXPECT_EQ(s.grid.GetColumns()->GetColumn(0)->GetHeaderText(), "Text");
  EXPECT_EQ(s.grid.GetColumns()->GetColumn(0)->GetWidth(), 120);
  EXPECT_EQ(static_cast<int>(s.Text(0, 0).size()), QvxGridModelBinding::kMaxCellText);  // huge texts are cut
  EXPECT_EQ(s.Text(2, 1), "6");
  EXPECT_EQ(s.Text(2, 3), "TRUE");
  EXPECT_EQ(s.Text(3, 3), "FALSE");
  const TLayoutProp* number = s.binding.cellOf(model.index(2, 1))->GetLayoutProp();
  EXPECT_TRUE(number->HorzAlignRight && number->VertAlignCenter);
  EXPECT_EQ(s.binding.cellOf(model.index(2, 2))->GetLayoutProp()->FontColor, FromQColor(Qt::red));
  EXPECT_TRUE(s.binding.cellOf(model.index(5, 0))->GetLayoutProp()->FontStyle.Contains(fsBold));
  EXPECT_FALSE(s.binding.cellOf(model.index(4, 0))->GetLayoutProp()->UseFontInfo);
  // A role left out is not read.
  QvxGridRoleMap roles;
  roles.checkState = -1;
  s.binding.setRoleMap(roles);
  s.Settle();
  EXPECT_EQ(s.Text(2, 3), "");
}

// ---------------------------------------------------------------- the model's changes

TEST(GridModelBinding, CellsEqualTheModelAfterRandomEdits) {
  for (unsigned seed : {1u, 7u, 42u}) {
    TableModel model(120);
    model.pending = 40;
    Scene s(&model);
    std::mt19937 rng(seed);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, std::max(lo, hi))(rng); };
    const char* const kWhat[] = {"insert", "remove", "move",   "set", "reset",
                                 "reverse", "scroll", "focus", "end"};
    for (int step = 0; step < 150; ++step) {
      const int n = model.rowCount(), what = pick(0, 8);
      if (what == 0) {
        model.Insert(pick(0, n), pick(1, 12));
      } else if (what == 1 && n > 0) {
        const int at = pick(0, n - 1);
        model.Remove(at, pick(1, std::min(8, n - at)));
      } else if (what == 2 && n > 4) {
        const int from = pick(0, n - 3), k = pick(1, std::min(3, n - from)), to = pick(0, n);
        if (to < from || to > from + k) model.Move(from, k, to);
      } else if (what == 3 && n > 0) {
        model.Set(pick(0, n - 1), QString("s%1").arg(step));
      } else if (what == 4 && step % 5 == 0) {
        model.Reset(pick(0, 150));
      } else if (what == 5) {
        model.Reverse();
      } else if (what == 6) {
        s.Outer()->SetTop(pick(1, n));
      } else if (what == 7 && n > 0) {
        const int col = s.binding.gridColumn(pick(0, 3));
        s.grid.SetFocusedCell(s.Outer()->getCell(col, s.binding.gridRow(pick(0, n - 1))));
      } else if (what == 8) {
        vxtest::KeyClick(&s.grid, Qt::Key_End, Qt::ControlModifier);
      }
      s.Settle();
      const std::string at = "seed " + std::to_string(seed) + " step " + std::to_string(step);
      s.ExpectCellsEqualModel(model, at + " " + kWhat[what]);
      if (testing::Test::HasFatalFailure()) return;
    }
  }
}
TEST(GridModelBinding, ChangesKeepTheTopRowTheFocusAndTheSelection) {
  TableModel model(200);
  Scene s(&model);
  s.Outer()->SetTop(s.binding.gridRow(50));
  s.Settle();
  s.Click(55, 0);
  ASSERT_EQ(s.binding.indexOf(s.grid.GetFocusedCell()), model.index(55, 0));
  auto topText = [&] { return s.grid.GetText(s.Outer()->getCell(s.binding.gridColumn(0), s.Outer()->GetTop())); };
  EXPECT_EQ(topText(), "t50");
  // Rows above the top: the same rows stay at the top, the focus with its row.
  model.Insert(10, 5);
  s.Settle();
  EXPECT_EQ(topText(), "t50");
  EXPECT_EQ(s.binding.indexOf(s.grid.GetFocusedCell()), model.index(60, 0));
  model.Remove(0, 8);
  s.Settle();
  EXPECT_EQ(topText(), "t50");
  EXPECT_EQ(s.binding.indexOf(s.grid.GetFocusedCell()), model.index(52, 0));
  EXPECT_TRUE(s.grid.GetFocusedCell()->GetSelected());
  // A new order: the focused row is found by its persistent index.
  const int before = model.rowCount();
  model.Reverse();
  s.Settle();
  ASSERT_NE(s.grid.GetFocusedCell(), nullptr);
  EXPECT_EQ(s.binding.indexOf(s.grid.GetFocusedCell()), model.index(before - 1 - 52, 0));
  EXPECT_EQ(s.grid.GetText(s.grid.GetFocusedCell()), "t55");
  EXPECT_TRUE(s.grid.GetFocusedCell()->GetSelected());
  // A reset keeps the top by its number.
  const int top = s.Outer()->GetTop();
  model.Reset(400);
  s.Settle();
  EXPECT_EQ(s.Outer()->GetTop(), top);
  // A data change reads the existing cell again, and only that row (the
  // tester, which reads rows of its own, has done its part).
  s.tester.reset();
  model.rowsAsked.clear();
  model.Set(s.binding.modelRow(top), "changed");
  EXPECT_EQ(topText(), "changed");
  EXPECT_EQ(model.rowsAsked, (std::set<int>{s.binding.modelRow(top)}));
}

TEST(GridModelBinding, ShowingTheEndFetchesMore) {
  TableModel model(0);
  model.pending = 200;
  Scene s(&model);
  // Enough to fill the grid, not everything.
  const int filled = model.rowCount();
  EXPECT_GE(filled, s.Outer()->GetVisibleRowCount() - 1);
  EXPECT_LT(filled, 200);
  for (int k = 0; k < 30 && model.pending > 0; ++k) {
    vxtest::KeyClick(&s.grid, Qt::Key_End, Qt::ControlModifier);
    s.Settle();
  }
  EXPECT_EQ(model.rowCount(), 200);
  EXPECT_EQ(s.binding.rowCount(), 200);
  s.ExpectCellsEqualModel(model, "fetched");
}

// ---------------------------------------------------------------- editing

TEST(GridModelBinding, EditsEndInSetDataAndTheModelDecides) {
  struct Case {
    const char* name;
    int column;
    const char* typed;  // nullptr: a click on the check box
    bool refuse;
    bool written;
    std::string shown;  // the cell afterwards
  };
  const Case cases[] = {
      {"NotEditable", 2, "a", false, false, "f3"},
      {"TextAccepted", 0, "xy", false, true, "t3xy"},
      {"TextRefused", 0, "xy", true, false, "t3"},
      {"NumberAccepted", 1, "1", false, true, "91"},
      {"NotANumber", 1, "q", false, false, "9"},
      {"CheckAccepted", 3, nullptr, false, true, "TRUE"},
      {"CheckRefused", 3, nullptr, true, false, "FALSE"},
  };
  for (const Case& c : cases) {
    TableModel model(10);
    Scene s(&model);
    model.refuse = c.refuse;
    if (c.column == 2) {
      // The model lets no edit: neither F2 nor a typed key opens an editor.
      ASSERT_FALSE(s.Edit(3, c.column)) << c.name;
      vxtest::KeyClick(&s.grid, Qt::Key_A);
    } else if (c.typed) {
      ASSERT_TRUE(s.Edit(3, c.column)) << c.name;
      QTest::keyClicks(QApplication::focusWidget(), c.typed);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    } else {
      s.Settle();
      const TRect cell = s.binding.cellOf(model.index(3, 3))->getVisibleRect();
      const TRect r = TBabGridView_Custom::CheckBoxRectFromDrawRect(cell);
      vxtest::MouseClick(&s.grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    s.Settle();
    EXPECT_FALSE(s.grid.GetEditing()) << c.name;
    EXPECT_EQ(model.setDataCalls > 0, c.written || c.refuse) << c.name;
    EXPECT_EQ(s.Text(3, c.column), c.shown) << c.name;
    s.ExpectCellsEqualModel(model, c.name);
  }
}

// ---------------------------------------------------------------- bad moments

TEST(GridModelBinding, RowsOrTheModelGoingWhileEditing) {
  struct Case {
    const char* name;
    std::function<void(TableModel&)> during;  // while the editor is open
    bool atSetData;                            // or from inside setData
  };
  const Case cases[] = {
      {"RowRemoved", [](TableModel& m) { m.Remove(2, 3); }, false},
      {"ModelReset", [](TableModel& m) { m.Reset(3); }, false},
      {"ResetInSetData", [](TableModel& m) { m.Reset(4); }, true},
      {"RowsRemovedInSetData", [](TableModel& m) { m.Remove(0, 5); }, true},
  };
  for (const Case& c : cases) {
    TableModel model(10);
    Scene s(&model);
    ASSERT_TRUE(s.Edit(3, 0)) << c.name;
    QTest::keyClicks(QApplication::focusWidget(), "z");
    if (c.atSetData) {
      model.onSetData = [&] {
        model.onSetData = nullptr;
        c.during(model);
      };
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    } else {
      c.during(model);
    }
    s.Settle();
    EXPECT_FALSE(s.grid.GetEditing()) << c.name;
    EXPECT_FALSE(s.grid.GetInplaceEditor()->isVisible()) << c.name;
    s.ExpectCellsEqualModel(model, c.name);
  }
}

TEST(GridModelBinding, AModelDeletedWhileBoundLeavesAnEmptyGrid) {
  Scene s;
  auto model = std::make_unique<TableModel>(30);
  s.Bind(model.get());
  ASSERT_TRUE(s.Edit(2, 0));
  model.reset();
  s.Settle();
  EXPECT_EQ(s.binding.model(), nullptr);
  EXPECT_FALSE(s.grid.GetEditing());
  EXPECT_EQ(s.grid.GetCellCountY(), s.Outer()->GetFixedRows());
  EXPECT_EQ(s.grid.GetColumns()->Count(), 0);
  EXPECT_EQ(s.grid.GetContentSource(), nullptr);
  // Bound again, to another.
  TableModel other(4);
  s.binding.setModel(&other);
  s.Settle();
  EXPECT_EQ(s.Text(3, 0), "t3");
}

TEST(GridModelBinding, AGridDeletedFirstLeavesTheBindingIdle) {
  TableModel model(10);
  auto grid = std::make_unique<TvxGrid>(nullptr);
  QvxGridModelBinding binding(grid.get());
  binding.setModel(&model);
  grid.reset();
  EXPECT_EQ(binding.grid(), nullptr);
  model.Insert(0, 3);
  model.Reset(2);
  EXPECT_EQ(binding.gridRow(0), -1);
  EXPECT_EQ(binding.cellOf(model.index(0, 0)), nullptr);
}
