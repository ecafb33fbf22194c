// The column grid through Qt's accessibility: a table of its cells with
// headers, texts, check states and editability, nested grids under their
// cell, and focus events as the keys move the focused cell.
#include <gtest/gtest.h>

#include <QAccessible>
#include <memory>

#include "AccessibleSupport.h"
#include "UiTestSupport.h"
#include <vxplan/grid/vxGrid.h>

using namespace vx;
using vxtest::FocusRecorder;

namespace {

// A shown grid: an info column, a header row, a text, a check and a
// read-only column, and two rows.
struct GridScene {
  std::unique_ptr<TvxGrid> grid = std::make_unique<TvxGrid>(nullptr);
  GridScene() {
    grid->SetBounds(0, 0, 500, 300);
    const char* headers[] = {"Name", "Done", "Note"};
    const TColumnKind kinds[] = {tckSimpleEdit, tckBool, tckSimpleEdit};
    for (int k = 0; k < 3; ++k) {
      TvxGrid_Column* c = grid->AddColumn();
      c->SetKind(kinds[k]);
      c->SetWidth(80);
      c->SetHeaderText(headers[k]);
    }
    grid->GetColumns()->GetColumn(2)->SetReadOnly(true);
    grid->EnsureFixed();
    Row({"Alpha", "TRUE", "first"});
    Row({"Beta", "FALSE", "second"});
    vxtest::ShowWindow(grid.get());
  }
  void Row(const std::vector<std::string>& theTexts) {
    const int y = grid->AddRow(nullptr)->ListIndex();
    for (size_t x = 0; x < theTexts.size(); ++x) grid->SetText(grid->GetCell(1 + static_cast<int>(x), y), theTexts[x]);
  }
  QAccessibleInterface* Table() { return QAccessible::queryAccessibleInterface(grid.get()); }
};

TEST(GridAccessible, ATableOfHeadersAndCellsWithTextCheckAndEditability) {
  GridScene s;
  QAccessibleInterface* table = s.Table();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->role(), QAccessible::Table);
  QAccessibleTableInterface* t = table->tableInterface();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->rowCount(), 2);
  EXPECT_EQ(t->columnCount(), 3);  // the info column is a header column
  EXPECT_EQ(t->columnDescription(0), "Name");
  EXPECT_EQ(t->columnDescription(2), "Note");
  EXPECT_EQ(t->cellAt(5, 0), nullptr);
  EXPECT_EQ(t->cellAt(0, -1), nullptr);

  struct Cell {
    int row, column;
    const char* name;
    bool checkable, checked, editable;
  };
  const Cell cells[] = {
      {0, 0, "Alpha", false, false, true}, {0, 1, "TRUE", true, true, true},   {0, 2, "first", false, false, false},
      {1, 0, "Beta", false, false, true},  {1, 1, "FALSE", true, false, true}, {1, 2, "second", false, false, false},
  };
  for (const Cell& c : cells) {
    SCOPED_TRACE(c.name);
    QAccessibleInterface* cell = t->cellAt(c.row, c.column);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->text(QAccessible::Name), c.name);
    EXPECT_EQ(cell->state().checkable, c.checkable);
    EXPECT_EQ(cell->state().checked, c.checked);
    EXPECT_EQ(cell->state().editable, c.editable);
    QAccessibleTableCellInterface* place = cell->tableCellInterface();
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->rowIndex(), c.row);
    EXPECT_EQ(place->columnIndex(), c.column);
    EXPECT_EQ(place->table(), table);
    vxtest::ExpectPlacedChild(table, cell);
  }
  // The header row comes first among the children.
  std::vector<QString> headers;
  for (int i = 0; i < table->childCount(); ++i)
    if (table->child(i)->role() == QAccessible::ColumnHeader) headers.push_back(table->child(i)->text(QAccessible::Name));
  EXPECT_EQ(headers, (std::vector<QString>{"", "Name", "Done", "Note"}));
  EXPECT_EQ(table->child(1)->text(QAccessible::Name), "Name");
}

TEST(GridAccessible, KeysRaiseFocusOnTheNewCell) {
  GridScene s;
  FocusRecorder recorder;
  s.grid->SetFocus();
  s.grid->SetFocusedCell(s.grid->GetCell(1, 1));
  vxtest::ProcessEventsUntilIdle();
  ASSERT_FALSE(recorder.Names().empty());
  EXPECT_EQ(recorder.Names().back(), "Alpha");
  vxtest::ExpectFocusWalk(recorder, s.grid.get(),
                          {{Qt::Key_Right, "TRUE"}, {Qt::Key_Down, "FALSE"}, {Qt::Key_Left, "Beta"},
                           {Qt::Key_Up, "Alpha"}});
}

TEST(GridAccessible, NestedGridCellsAreChildrenOfTheirCellAndGoneRowsLeaveNothing) {
  std::unique_ptr<TvxGrid> grid = std::make_unique<TvxGrid>(nullptr);
  grid->SetBounds(0, 0, 500, 300);
  grid->AddColumn()->SetHeaderText("Item");
  TvxGrid_Column* parts = grid->AddColumn();
  parts->SetKind(tckSubGrid);
  parts->SetWidth(200);
  TvxGrid_SubGrid* def = grid->GetSubGrids()->Add();
  def->SetName("Parts");
  def->SetHasInfoCol(false);
  def->GetColumns()->Add()->SetWidth(60);
  parts->SetSubGridName("Parts");
  grid->EnsureFixed();
  const int y = grid->AddRow(nullptr)->ListIndex();
  grid->SetText(grid->GetCell(1, y), "Door");
  TBabCell* nested = grid->GetCell(2, y);
  ASSERT_TRUE(nested && nested->IsGridCell());
  for (const char* text : {"hinge", "handle"}) {
    const int r = grid->AddRowInSubGrid(nested, nullptr)->ListIndex();
    grid->SetText(static_cast<TBabGridCell*>(nested)->getCell(0, r), text);
  }
  vxtest::ShowWindow(grid.get());

  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid.get());
  ASSERT_NE(table, nullptr);
  QAccessibleInterface* holder = table->tableInterface()->cellAt(0, 1);
  ASSERT_NE(holder, nullptr);
  ASSERT_EQ(holder->childCount(), 3);  // its header and two rows
  EXPECT_EQ(holder->child(1)->text(QAccessible::Name), "hinge");
  EXPECT_EQ(holder->child(2)->text(QAccessible::Name), "handle");
  EXPECT_EQ(holder->child(2)->parent(), holder);
  EXPECT_EQ(holder->indexOfChild(holder->child(2)), 2);
  // A nested cell is not a cell of the outer table.
  EXPECT_EQ(holder->child(2)->tableCellInterface(), nullptr);

  // The row goes: its cells' nodes answer "gone".
  QAccessibleInterface* hinge = holder->child(1);
  grid->GetBabGridCellForViewer()->GetAxisContentListY()->Drop(y);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_FALSE(hinge->isValid());
  EXPECT_EQ(hinge->text(QAccessible::Name), "");
  EXPECT_EQ(table->tableInterface()->rowCount(), 0);
  grid.reset();
}

}  // namespace
