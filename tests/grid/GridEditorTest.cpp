// In-place editing through real keys and clicks: starting, ending, moving
// on with Tab, nested cells, cells that go while edited, dates.
#include <gtest/gtest.h>

#include <QTest>

#include "GridViewSupport.h"

using namespace gridview_test;

namespace {

// Columns: 0 text, 1 check box, 2 pick list, 3 date, 4 notes; a nested grid
// of two by two cells in (5,2).
struct EditScene : ViewScene {
  std::vector<std::string> stops;
  explicit EditScene(int theRows = 10) : ViewScene(6, theRows, 420, 300) {
    TBabGridCellForViewer* outer = g;
    onCell = [outer](TBabSimpleCellStringData* d) {
      TBabCell* c = d->GetBabCell();
      if (c->getGridCell() != outer || c->GetRow() == 0) return;
      if (c->GetCol() == 1) {
        d->SetIsBoolean(true);
        d->SetString("FALSE");
      }
      if (c->GetCol() == 3) d->SetString("2024-03-15");
    };
    view.OnChooseEditor = [outer](TBabGridView_Custom*, TBabSimpleCellStringData* d, TBabEditorType& type) {
      if (d->GetBabCell()->getGridCell() != outer) return;
      switch (d->GetBabCell()->GetCol()) {
        case 2: type = babETCombo; break;
        case 3: type = babETDateTime; break;
        case 4: type = babETMemo; break;
        default: break;
      }
    };
    view.OnEditStop = [this](TBabGridView_Custom*, TControl*, TBabSimpleCellStringData* d, std::string& text) {
      stops.push_back(std::to_string(d->GetBabCell()->GetCol()) + "," + std::to_string(d->GetBabCell()->GetRow()) +
                      "=" + text);
    };
    Nest(5, 2, 2);
    view.GetInplaceComboEditor()->SetItems({"Ada", "Chen", "Dana"});
  }
  std::string Text(int theCol, int theRow) { return view.GetText(g->getCell(theCol, theRow)); }
  // The nested grid makes row 2 twice as high: places come from the last paint.
  TPoint At(int theCol, int theRow) {
    Paint();
    const TRect r = g->getCell(theCol, theRow)->getVisibleRect();
    return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void ClickAt(int theCol, int theRow) {
    const TPoint p = At(theCol, theRow);
    vxtest::MousePress(&view, p.X, p.Y);
    vxtest::MouseRelease(&view, p.X, p.Y);
  }
  bool EditorShown() {
    for (TControl* e : std::initializer_list<TControl*>{view.GetInplaceEditor(), view.GetInplaceMemoEditor(),
                                                        view.GetInplaceComboEditor(), view.GetInplaceBooleanEditor(),
                                                        view.GetInplaceDateTimeEditor()})
      if (e->isVisible()) return true;
    return false;
  }
};

}  // namespace

TEST(GridEditors, StartingAndEnding) {
  EditScene s;
  int starts = 0, ends = 0;
  TBabGridView_Custom::InstallClassEvents([&starts](TBabGridView_Custom*, TBabCell*) { ++starts; },
                                          [&ends](TBabGridView_Custom*, TBabCell*) { ++ends; });
  std::vector<std::string> live;
  s.view.OnInplaceEditOnChange = [&live](TBabGridView_Custom*, const std::string& v) { live.push_back(v); };
  s.Show();
  // Typing a character starts an edit with it; Enter writes.
  s.Click(0, 1);
  s.Key(Qt::Key_X);
  ASSERT_TRUE(s.view.GetEditing());
  EXPECT_EQ(s.view.GetCurrentEditor(), s.view.GetInplaceEditor());
  EXPECT_EQ(s.view.GetInplaceEditor()->GetText(), "0,1x");
  EXPECT_EQ(s.view.GetInplaceEditor()->GetBoundsRect(), Rect(1, 21, 61, 42));
  EXPECT_EQ(live.back(), "0,1x");
  s.Key(Qt::Key_Return);
  EXPECT_FALSE(s.view.GetEditing());
  EXPECT_FALSE(s.EditorShown());
  EXPECT_TRUE(s.view.Focused());
  EXPECT_EQ(s.Text(0, 1), "0,1x");
  // F2 starts; Escape restores and tells nobody.
  s.Key(Qt::Key_Down);
  s.Key(Qt::Key_F2);
  ASSERT_TRUE(s.view.GetEditing());
  s.Key(Qt::Key_Z);
  s.Key(Qt::Key_Escape);
  EXPECT_FALSE(s.view.GetEditing());
  EXPECT_EQ(s.Text(0, 2), "0,2");
  // A double click starts; Down ends the edit and moves on.
  const TPoint p = s.At(0, 3);
  vxtest::MouseDoubleClick(&s.view, p.X, p.Y);
  ASSERT_TRUE(s.view.GetEditing());
  EXPECT_EQ(s.view.GetEditCell(), s.g->getCell(0, 3));
  s.Key(Qt::Key_Q);
  s.Key(Qt::Key_Down);
  EXPECT_FALSE(s.view.GetEditing());
  EXPECT_EQ(s.FocusName(), "0,4");
  EXPECT_EQ(s.stops, (std::vector<std::string>{"0,1=0,1x", "0,3=0,3q"}));
  EXPECT_EQ(starts, 3);
  EXPECT_EQ(ends, 3);
  TBabGridView_Custom::InstallClassEvents(nullptr, nullptr);
}

// A character typed on a cell: the classic rule adds letters and digits to
// the text and leaves other characters to the search; Qt's replaces the text
// with any printable character, in whichever editor the cell has.
TEST(GridEditors, ACharacterTypedOnACellByConvention) {
  struct Row {
    TTypingConvention convention;
    int col;
    Qt::Key key;
    const char* written;  // by Tab; nothing when no edit starts
  };
  const Row rows[] = {
      {tcClassic, 0, Qt::Key_X, "0,1=0,1x"}, {tcClassic, 0, Qt::Key_Minus, ""},
      {tcClassic, 4, Qt::Key_N, "4,1=4,1n"}, {tcQt, 0, Qt::Key_X, "0,1=x"},
      {tcQt, 0, Qt::Key_Minus, "0,1=-"},     {tcQt, 0, Qt::Key_Period, "0,1=."},
      {tcQt, 2, Qt::Key_Z, "2,1=z"},         {tcQt, 4, Qt::Key_N, "4,1=n"},
      {tcQt, 1, Qt::Key_Space, "1,1=TRUE"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.convention) + " col " + std::to_string(r.col) + " key " + std::to_string(r.key));
    EditScene s;
    s.view.SetTypingConvention(r.convention);
    s.Show();
    s.Click(r.col, 1);
    s.Key(r.key);
    EXPECT_EQ(s.view.GetEditing(), *r.written != 0);
    if (s.view.GetEditing()) s.Key(Qt::Key_Tab);
    EXPECT_EQ(s.stops.empty() ? "" : s.stops.front(), r.written);
    if (s.view.GetEditing()) s.Key(Qt::Key_Escape);
  }
}

TEST(GridEditors, TabMovesToTheNextEditableCellAndEditsIt) {
  EditScene s;
  s.view.OnEditorCanModify = [](TBabGridView_Custom*, TBabCell* c) { return c->GetCol() != 1; };
  s.Show();
  s.Click(0, 1);
  s.Key(Qt::Key_A);
  s.Key(Qt::Key_Tab);
  // The check box column is read-only: the pick list is next.
  ASSERT_TRUE(s.view.GetEditing());
  EXPECT_EQ(s.FocusName(), "2,1");
  EXPECT_EQ(s.view.GetCurrentEditor(), s.view.GetInplaceComboEditor());
  EXPECT_EQ(s.Text(0, 1), "0,1a");
  s.Key(Qt::Key_Tab);
  EXPECT_EQ(s.view.GetCurrentEditor(), s.view.GetInplaceDateTimeEditor());
  s.Key(Qt::Key_Tab);
  EXPECT_EQ(s.view.GetCurrentEditor(), s.view.GetInplaceMemoEditor());
  // In notes Enter breaks the line; Tab goes on, past the end of the row.
  s.Key(Qt::Key_B);
  s.Key(Qt::Key_Return);
  EXPECT_TRUE(s.view.GetEditing());
  s.Key(Qt::Key_C);
  s.Key(Qt::Key_Tab);
  EXPECT_EQ(s.Text(4, 1), "4,1b\nc");
  EXPECT_EQ(s.FocusName(), "5,1");
  s.Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(s.FocusName(), "4,1");
  EXPECT_EQ(s.view.GetCurrentEditor(), s.view.GetInplaceMemoEditor());
  s.Key(Qt::Key_Escape);
  EXPECT_FALSE(s.view.GetEditing());
  EXPECT_EQ(s.stops.size(), 5u);
}

TEST(GridEditors, CheckBoxesPickListsAndNestedCells) {
  EditScene s;
  s.Show();
  // A click on a check box toggles it at once, with no editor left open.
  const TPoint box = Point(ViewScene::X(1) + 8, ViewScene::Y(1) + 10);
  vxtest::MousePress(&s.view, box.X, box.Y);
  vxtest::MouseRelease(&s.view, box.X, box.Y);
  EXPECT_EQ(s.Text(1, 1), "TRUE");
  EXPECT_FALSE(s.view.GetEditing());
  EXPECT_FALSE(s.EditorShown());
  EXPECT_EQ(s.stops, std::vector<std::string>{"1,1=TRUE"});
  // A click beside the box only selects.
  s.Click(1, 2);
  EXPECT_EQ(s.Text(1, 2), "FALSE");
  // The pick list takes typed text and a pick alike.
  s.Click(2, 1);
  s.Key(Qt::Key_F2);
  TBabInplaceComboEditor* combo = s.view.GetInplaceComboEditor();
  ASSERT_TRUE(combo->isVisible());
  combo->SetItemIndex(1);
  s.Key(Qt::Key_Return);
  EXPECT_EQ(s.Text(2, 1), "Chen");
  // A cell of a nested grid edits in place, inside its own rectangle.
  const TPoint inner = Point(ViewScene::X(5) + 30, ViewScene::Y(2) + 30);
  vxtest::MousePress(&s.view, inner.X, inner.Y);
  vxtest::MouseRelease(&s.view, inner.X, inner.Y);
  EXPECT_EQ(s.FocusName(), "1,1 in 5,2");
  s.Key(Qt::Key_F2);
  ASSERT_TRUE(s.view.GetEditing());
  EXPECT_EQ(s.view.GetInplaceEditor()->GetBoundsRect(), Rect(ViewScene::X(5) + 20, 61, ViewScene::X(5) + 40, 82));
  s.Key(Qt::Key_N);
  s.Key(Qt::Key_Return);
  TBabCell* nested = s.Focused();
  EXPECT_EQ(s.view.GetText(nested), "1,1n");
  EXPECT_EQ(s.FocusName(), "1,1 in 5,2");
}

TEST(GridEditors, DatesWrittenInTheShortForm) {
  EditScene s;
  s.Show();
  s.Click(3, 1);
  s.Key(Qt::Key_F2);
  TBabInplaceDateTimeEditor* picker = s.view.GetInplaceDateTimeEditor();
  ASSERT_TRUE(s.view.GetEditing());
  EXPECT_EQ(picker->GetDate(), EncodeDate(2024, 3, 15));
  picker->SetDateTime(EncodeDate(2024, 4, 1));
  s.Key(Qt::Key_Return);
  EXPECT_EQ(s.Text(3, 1), "2024-04-01");
  // Delete clears to date 0.
  s.Key(Qt::Key_Down);
  s.Key(Qt::Key_F2);
  s.Key(Qt::Key_Delete);
  EXPECT_FALSE(s.view.GetEditing());
  EXPECT_EQ(s.Text(3, 2), "1899-12-30");
  // (Texts that are no date: the limits test.)
  EXPECT_EQ(SafeStrToDate("2024-02-29 13:30"), EncodeDate(2024, 2, 29));
}

TEST(GridEditors, TheEditedCellGoesScrollsOrLosesTheFocus) {
  EditScene s(0);
  TBabGridCellForViewer* g = s.g;
  s.Virtual(1000);
  s.Show();
  // The row goes while its cell is edited: the editor closes, nothing is written.
  s.ClickAt(0, 4);
  s.Key(Qt::Key_X);
  ASSERT_TRUE(s.view.GetEditing());
  g->GetAxisContentListY()->Drop(4);
  EXPECT_FALSE(s.view.GetEditing());
  EXPECT_FALSE(s.EditorShown());
  s.Paint();
  // The editor follows its cell as the grid scrolls, and the edit ends
  // (written) once the cell is out of sight.
  s.ClickAt(0, 3);
  s.Key(Qt::Key_Y);
  const int top = s.view.GetInplaceEditor()->GetTop();
  vxtest::Wheel(&s.view, 100, 150, -40);  // a fine wheel's step: one line
  EXPECT_TRUE(s.view.GetEditing());
  EXPECT_EQ(s.view.GetInplaceEditor()->GetTop(), top - 20);
  vxtest::Wheel(&s.view, 100, 150, -80);
  EXPECT_FALSE(s.view.GetEditing());
  EXPECT_EQ(s.stops.back(), "0,3=0,3y");
  // Unloaded while edited: a jump far away discards the row.
  g->SetTop(1);
  s.Paint();
  s.ClickAt(0, 1);
  s.Key(Qt::Key_Z);
  g->SetTop(900);
  s.Paint();
  vxtest::ProcessEventsUntilIdle();
  EXPECT_FALSE(s.view.GetEditing());
  EXPECT_EQ(s.stops.back(), "0,3=0,3y");
  // The focus leaves for another control: the edit ends, written, and the
  // focus stays where it went.
  TCustomEdit other(nullptr);
  other.SetParent(&s.view);
  other.SetBounds(300, 250, 80, 20);
  s.ClickAt(0, 902);
  s.Key(Qt::Key_W);
  ASSERT_TRUE(s.view.GetEditing());
  other.SetFocus();
  vxtest::ProcessEventsUntilIdle();
  EXPECT_FALSE(s.view.GetEditing());
  EXPECT_EQ(s.stops.back(), "0,902=0,902w");
  EXPECT_TRUE(other.ContainsFocus());
}

TEST(GridEditors, AHeldClickStartsAnEditAfterADelay) {
  EditScene s;
  s.view.SetAutoEditMode(true);
  s.Show();
  s.Click(0, 2);
  EXPECT_FALSE(s.view.GetEditing());
  QTest::qWait(900);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_TRUE(s.view.GetEditing());
  EXPECT_EQ(s.view.GetEditCell(), s.g->getCell(0, 2));
}
