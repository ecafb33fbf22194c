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
