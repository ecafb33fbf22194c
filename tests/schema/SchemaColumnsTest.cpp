// Columns: their header sections and title rows, resizing (by program and
// with the mouse), the top-left column and titles.
#include <gtest/gtest.h>

#include "SchemaSupport.h"

using namespace vx;
using vxtest::TestSchema;

namespace {

std::vector<int> SectionWidths(TvxSchema_ComBasic& s) {
  std::vector<int> widths;
  THeaderSections* sections = s.GetHeader()->GetSections();
  for (int i = 0; i < sections->Count(); ++i) widths.push_back(sections->GetItem(i)->GetWidth());
  return widths;
}

std::vector<int> RowHeights(TvxSchema_ComBasic& s) {
  std::vector<int> heights;
  for (int i = 0; i < s.GetFlippedHeader()->GetRowCount(); ++i) heights.push_back(s.GetFlippedHeader()->GetRowHeights(i));
  return heights;
}

}  // namespace

TEST(SchemaColumns, EachColumnHasItsOwnSectionAndRow) {
  TestSchema s;
  int inits = 0, inserted = 0, deletedEvents = 0;
  s.OnInitColumnDataObject = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaColumn*) -> TObject* {
    ++inits;
    return nullptr;
  };
  s.OnInsertItem_Column = [&](TObject*, TvxDataEntity*) { ++inserted; };
  s.OnDeleteItem_Column = [&](TObject*, TvxDataEntity*) { ++deletedEvents; };
  TvxDataEntity_SchemaColumn* a = s.Column("A");
  TvxDataEntity_SchemaColumn* b = s.Column("B\nsecond line");
  TvxDataEntity_SchemaColumn* c = s.Column("C");
  EXPECT_EQ(inits, 3);
  EXPECT_EQ(inserted, 3);
  EXPECT_EQ(s.GetHeader()->GetSections()->GetItem(1)->GetText(), "B\nsecond line");
  EXPECT_EQ(SectionWidths(s), (std::vector<int>{50, 50, 50}));
  EXPECT_EQ(RowHeights(s), (std::vector<int>{18, 18, 18}));

  // Sizes by program: the live size (section or row) and the column's own.
  a->SetWidth(30);
  b->SetWidth_FW(false, 40);
  c->SetWidth_FW(true, 25);
  EXPECT_EQ(c->GetWidth_FW(true), 25);
  EXPECT_EQ(SectionWidths(s), (std::vector<int>{30, 40, 50}));
  EXPECT_EQ(RowHeights(s), (std::vector<int>{18, 18, 25}));
  EXPECT_EQ(s.GetColumnSpace(), 120);

  // A deleted column takes its own section and row, and their sizes, along.
  s.RemoveColumn(b);
  EXPECT_EQ(deletedEvents, 1);
  EXPECT_EQ(SectionWidths(s), (std::vector<int>{30, 50}));
  EXPECT_EQ(RowHeights(s), (std::vector<int>{18, 25}));
  EXPECT_EQ(s.GetHeader()->GetSections()->GetItem(1)->GetText(), "C");

  // A column moved in the list keeps its size; the titles follow.
  s.Column("D")->SetWidth(70);
  s.GetColumns()->GetColumn(2)->Move(0);
  EXPECT_EQ(SectionWidths(s), (std::vector<int>{70, 30, 50}));
  EXPECT_EQ(s.GetHeader()->GetSections()->GetItem(0)->GetText(), "D");

  // Titles: the text, unless the application decides.
  EXPECT_EQ(s.HeaderFromColumn(1), "A");
  s.OnHeaderFromColumn = [](int i) { return "Column " + std::to_string(i); };
  EXPECT_EQ(s.HeaderFromColumn(1), "Column 1");
  EXPECT_EQ(s.HeaderFromColumn(3), "???");

  s.ClearColumns();
  EXPECT_EQ(s.GetHeader()->GetSections()->Count(), 0);
  EXPECT_EQ(s.GetFlippedHeader()->GetRowCount(), 0);
}

// Each column notification names the schedule and the column (or list),
// once, after the header and the title grid have followed.
TEST(SchemaColumns, ColumnEventsTellWhichColumnAndWhen) {
  TestSchema s;
  std::vector<std::string> log;
  auto name = [&](TObject* caller, TvxDataEntity* e) {
    auto* c = dynamic_cast<TvxDataEntity_SchemaColumn*>(e);
    return std::string(caller == &s ? "" : "? ") + (c ? std::to_string(c->ListIndex()) : "nil") + " sections " +
           std::to_string(s.GetHeader()->GetSections()->Count()) + " rows " +
           std::to_string(s.GetFlippedHeader()->GetRowCount());
  };
  s.OnInsertItem_Column = [&](TObject* c, TvxDataEntity* e) { log.push_back("insert " + name(c, e)); };
  s.OnDeleteItem_Column = [&](TObject* c, TvxDataEntity* e) { log.push_back("delete " + name(c, e)); };
  s.OnValueChanged_Column = [&](TObject* c, TvxDataEntity* e) { log.push_back("value " + name(c, e)); };
  s.OnSelectionChanged_Column = [&](TObject* c, TvxDataList* l, TvxDataEntity* e) {
    log.push_back("select " + name(c, e) + (l == s.GetColumns() ? "" : " ?"));
  };
  s.OnContentChanged_Column = [&](TObject* c, TvxDataList* l) {
    log.push_back("content" + std::string(c == &s && l == s.GetColumns() ? "" : " ?"));
  };
  s.OnBeforeCanEditItem_Column = [&](TObject* c, TvxDataEntity* e) {
    log.push_back("may edit " + name(c, e));
    e->SetCanEdit(false);
  };
  s.Column("A");
  TvxDataEntity_SchemaColumn* b = s.Column("B", 1);
  b->SetOffsetDate(1);  // unchanged: not told
  b->SetOffsetDate(2);
  b->SetSelected(true);
  EXPECT_FALSE(b->GetCanEdit());
  s.RemoveColumn(s.GetColumns()->GetColumn(0));
  EXPECT_EQ(log, (std::vector<std::string>{"insert 0 sections 1 rows 1", "content", "insert 1 sections 2 rows 2",
                                           "content", "value 1 sections 2 rows 2", "value 1 sections 2 rows 2",
                                           "select 1 sections 2 rows 2", "may edit 1 sections 2 rows 2",
                                           "delete 0 sections 1 rows 1", "content"}));
  s.OnDeleteItem_Column = nullptr;  // the schedule's end deletes the rest
  s.OnContentChanged_Column = nullptr;
}

TEST(SchemaColumns, ResizingOneColumnResizesAll) {
  TestSchema s;
  for (const char* t : {"A", "B", "C", "D"}) s.Column(t);
  TDataListColumns* columns = s.GetColumns();
  // Too small becomes 7; with ResizeAllCol every column follows.
  columns->SetResizeCell(1);
  columns->HeaderCellReSize(3);
  EXPECT_EQ(SectionWidths(s), (std::vector<int>{7, 7, 7, 7}));
  EXPECT_EQ(columns->GetVisibleDefaultWidth(), 7);
  EXPECT_EQ(s.Column("E")->GetWidth(), 7);  // new columns take the size the others have

  // The application decides per column.
  std::vector<std::string> asked;
  s.OnUserDecideColSize = [&](TvxSchema_ComBasic*, int init, int col, int current, int& size) {
    asked.push_back(std::to_string(init) + ":" + std::to_string(col) + ":" + std::to_string(current));
    if (col == 2) size = 90;
  };
  columns->SetResizeCell(3);
  columns->HeaderCellReSize(60);
  EXPECT_EQ(SectionWidths(s), (std::vector<int>{60, 60, 90, 60, 60}));
  EXPECT_EQ(asked, (std::vector<std::string>{"3:0:7", "3:1:7", "3:2:7", "3:3:7", "3:4:7"}));

  // Without ResizeAllCol only the resized column; a cell past the last is the last.
  s.OnUserDecideColSize = nullptr;
  s.SetResizeAllCol(false);
  columns->SetResizeCell(17);
  columns->HeaderCellReSize(44);
  EXPECT_EQ(SectionWidths(s), (std::vector<int>{60, 60, 90, 60, 44}));

  // Columns after the 256th are sized like the others.
  for (int k = 0; k < 300; ++k) s.Column("x");
  columns->SetResizeCell(290);
  columns->HeaderCellReSize(33);
  EXPECT_EQ(columns->GetColumn(290)->GetWidth(), 33);
}

TEST(SchemaColumns, TheTopLeftColumn) {
  TestSchema s;
  s.SetBounds(0, 0, 250, 500);  // four of the columns fit
  for (int k = 0; k < 6; ++k) s.Column(std::to_string(k))->SetWidth(40 + k);
  int changes = 0;
  s.OnTopLeftColumnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &s);
    ++changes;
  };
  TDataListColumns* columns = s.GetColumns();
  columns->SetTopLeftCol(2);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(s.GetColumnScrollBar()->GetPosition(), 2);
  EXPECT_EQ(SectionWidths(s), (std::vector<int>{0, 0, 42, 43, 44, 45}));
  EXPECT_EQ(RowHeights(s), (std::vector<int>{0, 0, 18, 18, 18, 18}));
  // Back: the hidden columns get their sizes again.
  columns->SetTopLeftCol(0);
  EXPECT_EQ(SectionWidths(s), (std::vector<int>{40, 41, 42, 43, 44, 45}));
  // Out of range: kept within the list.
  columns->SetTopLeftCol(40);
  EXPECT_EQ(columns->GetTopLeftCol(), 5);
  // The title grid scrolled (by its wheel, for one) moves the columns along.
  s.GetFlippedHeader()->SetTopRow(3);
  EXPECT_EQ(columns->GetTopLeftCol(), 3);
  EXPECT_EQ(SectionWidths(s), (std::vector<int>{0, 0, 0, 43, 44, 45}));
  // Asked through the scroller's rule: kept within the list.
  s.ScrollAccordingToUpDown(99);
  EXPECT_EQ(columns->GetTopLeftCol(), 5);
  s.ScrollAccordingToUpDown(-3);
  EXPECT_EQ(columns->GetTopLeftCol(), 0);
}

// Dragging a section's edge or a title row's line goes through the same
// resize: SchemaHeader.APressInTheResizeBandSizesAndOthersDragTheHeader drives
// it by the mouse in both orientations.

// A title fits when its width is below its place's less four: the section's,
// or flipped the title grid's first column (whatever the column).
TEST(SchemaColumns, WillFitWhenNarrowerThanThePlaceLessFour) {
  TestSchema s;
  s.Column("A");
  const std::string text = "Wednesday";
  struct Row {
    bool flipped;
    int extra;  // the place: the text's width plus this
    int col;
    bool fits;
  };
  const Row rows[] = {{false, 5, 0, true}, {false, 4, 0, false}, {false, 40, 1, false}, {false, 40, -1, false},
                      {true, 5, 0, true},  {true, 4, 0, false},  {true, 5, 7, true}};
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.flipped) + " " + std::to_string(r.extra) + " " + std::to_string(r.col));
    s.SetFlipView(r.flipped);
    vxtest::ProcessEventsUntilIdle();
    if (r.flipped) {
      TCanvas* c = s.GetFlippedHeader()->GetCanvas();
      c->SetFont(*s.GetFlippedHeader()->GetFont());
      s.GetFlippedHeader()->SetColWidths(0, c->TextWidth(text) + r.extra);
    } else {
      s.GetHeader()->GetSections()->GetItem(0)->SetWidth(s.GetHeader()->TextWidth(text) + r.extra);
    }
    EXPECT_EQ(s.GetColumns()->WillFit(text, r.col), r.fits);
  }
}
