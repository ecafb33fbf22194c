// The column grid: columns from definitions, cells by kind, layouts, nested
// grids, and sorting by every column kind (also by a click on a header).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>
#include <algorithm>
#include <functional>

#include "UiTestSupport.h"
#include <vxplan/grid/vxGrid.h>

using namespace vx;

namespace {

// A grid with an info column, a header row and one column per kind given.
struct GridScene {
  TvxGrid grid{nullptr};
  TBabGridCellForViewer* g = grid.GetBabGridCellForViewer();

  explicit GridScene(std::initializer_list<TColumnKind> theKinds) {
    grid.SetBounds(0, 0, 500, 300);
    for (TColumnKind kind : theKinds) {
      TvxGrid_Column* c = grid.AddColumn();
      c->SetKind(kind);
      c->SetWidth(70);
      c->SetSortEnable(true);
      c->SetHeaderText("H" + std::to_string(c->GetIndex()));
    }
    grid.EnsureFixed();
  }
  // Rows of texts, one text per column.
  void Rows(const std::vector<std::vector<std::string>>& theRows) {
    for (const auto& texts : theRows) {
      const int y = grid.AddRow(nullptr)->ListIndex();
      for (size_t x = 0; x < texts.size(); ++x) grid.SetText(grid.GetCell(1 + static_cast<int>(x), y), texts[x]);
    }
  }
  // The middle of a cell as last painted; a click there through the event loop.
  TPoint Mid(int theCol, int theRow) {
    grid.PaintTo(&shot);
    const TRect r = grid.GetCell(theCol, theRow)->getVisibleRect();
    return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void Click(int theCol, int theRow) {
    const TPoint p = Mid(theCol, theRow);
    vxtest::MouseClick(&grid, p.X, p.Y);
  }
  // Bounding box of the pixels of theArea in the last paint that match.
  TRect Where(TRect theArea, const std::function<bool(TColor)>& theMatch) {
    TRect box = Rect(-1, -1, -1, -1);
    for (int y = theArea.Top; y < theArea.Bottom; ++y)
      for (int x = theArea.Left; x < theArea.Right; ++x) {
        if (!theMatch(shot.GetCanvas()->GetPixel(x, y))) continue;
        box = box.Left == -1 ? Rect(x, y, x + 1, y + 1)
                             : Rect(std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                                    std::max(box.Bottom, y + 1));
      }
    return box;
  }
  TBitmap shot;
  std::vector<std::string> Column(int theColumn) {
    std::vector<std::string> r;
    for (int y = 1; y < grid.GetCellCountY(); ++y) r.push_back(grid.GetText(grid.GetCell(1 + theColumn, y)));
    return r;
  }
};

using Strings = std::vector<std::string>;

}  // namespace

TEST(ColumnGrid, ColumnsFromDefinitionsWithInfoColumnHeadersLayoutsAndHiding) {
  GridScene s({tckSimpleEdit, tckBool, tckCombo});
  TAxisContentList* cols = s.g->GetAxisContentListX();
  ASSERT_EQ(cols->Count(), 4);
  s.Rows({{"a", "TRUE", "x"}});
  TBabCell* first = s.grid.GetCell(1, 1);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(first->GetIsFixed());
  EXPECT_EQ(s.grid.CellToColumn(first), s.grid.GetColumns()->GetColumn(0));
  // A bool column's cells are check boxes; a header shows the header text.
  auto* boolData = dynamic_cast<TBabSimpleCellStringData*>(s.grid.GetCell(2, 1)->GetBabCellData());
  EXPECT_TRUE(boolData->GetIsBoolean());
  EXPECT_EQ(s.grid.GetColumns()->GetColumn(2)->GetDisplayName(), "H2");

  // A named layout reaches the column's new cells; renaming the layout does
  // not re-point the column until its LayoutName is set again.
  TvxCellLayout* blue = s.grid.GetCellLayouts()->Add();
  blue->SetName("Blue");
  blue->SetBackColor(0xFF0000);
  s.grid.GetColumns()->GetColumn(0)->SetLayoutName("BLUE");
  s.Rows({{"b"}});
  EXPECT_EQ(s.grid.GetCell(1, 2)->GetLayoutProp(), blue->GetLayoutProperty());
  EXPECT_EQ(s.grid.GetCell(1, 2)->GetLayoutProp()->BackColor, 0xFF0000);
  TvxCellLayout* red = s.grid.GetCellLayouts()->Add();
  red->SetName("Red");
  blue->SetName("Other");
  s.grid.GetColumns()->GetColumn(0)->SetLayoutName("nothing");
  EXPECT_EQ(s.grid.GetColumns()->GetColumn(0)->GetLayoutProp(), blue->GetLayoutProperty());

  // Hiding and moving definitions reach the column items.
  s.grid.GetColumns()->GetColumn(1)->SetHidden(true);
  s.grid.UpdateLayout();
  EXPECT_TRUE(cols->getAxisContentItem(2)->GetHide());
  s.grid.GetColumns()->GetColumn(2)->SetIndex(0);
  EXPECT_EQ(s.grid.GetText(s.grid.GetCell(1, 1)), "x");
  EXPECT_EQ(s.grid.GetColumns()->GetColumn(0)->GetHeaderText(), "H2");

  // Without info column and headers the data starts at (0, 0).
  s.grid.SetHasInfoCol(false);
  s.grid.SetHasHeaders(false);
  EXPECT_EQ(cols->Count(), 3);
  EXPECT_EQ(s.grid.GetText(s.grid.GetCell(0, 0)), "x");
}

namespace {

// An edit made on the font a layout hands out, and what its cells then see.
struct FontEdit {
  const char* name;
  void (*edit)(TFont*);
  bool (*seen)(const TLayoutProp&);
};

const FontEdit kFontEdits[] = {
    {"Size", [](TFont* f) { f->SetSize(23); }, [](const TLayoutProp& p) { return p.FontSize == 23; }},
    {"Name", [](TFont* f) { f->SetName("Courier New"); },
     [](const TLayoutProp& p) { return p.FontName == "Courier New"; }},
    {"Style", [](TFont* f) { f->SetStyle(TFontStyles{fsBold}); },
     [](const TLayoutProp& p) { return p.FontStyle == TFontStyles{fsBold}; }},
    {"Colour", [](TFont* f) { f->SetColor(0x0000FF); }, [](const TLayoutProp& p) { return p.FontColor == 0x0000FF; }},
};

}  // namespace

TEST(ColumnGrid, EditsOfALayoutsFontReachItsCells) {
  for (const FontEdit& e : kFontEdits) {
    SCOPED_TRACE(e.name);
    GridScene s({tckSimpleEdit});
    TvxCellLayout* big = s.grid.GetCellLayouts()->Add();
    big->SetName("Big");
    big->SetUseFontInfo(true);
    s.grid.GetColumns()->GetColumn(0)->SetLayoutName("Big");
    s.Rows({{"a"}});
    TBabCell* cell = s.grid.GetCell(1, 1);
    ASSERT_EQ(cell->GetLayoutProp(), big->GetLayoutProperty());
    s.grid.UpdateLayout();
    ASSERT_FALSE(s.grid.GetHardViewParamsOutOfDate());
    EXPECT_FALSE(e.seen(*cell->GetLayoutProp()));
    e.edit(big->GetFont());
    EXPECT_TRUE(e.seen(*cell->GetLayoutProp()));
    // The cells are measured again with the new font.
    EXPECT_TRUE(s.grid.GetHardViewParamsOutOfDate());
  }
}

TEST(ColumnGrid, SortsStablyByEveryColumnKind) {
  GridScene s({tckSimpleEdit, tckMemo, tckBool, tckCombo, tckDate, tckTime, tckSimpleEdit});
  s.grid.GetColumns()->GetColumn(6)->SetNumericSort(true);
  const std::string d1 = FormatDateTime(FormatSettings().ShortDateFormat, EncodeDate(2024, 3, 5));
  const std::string d2 = FormatDateTime(FormatSettings().ShortDateFormat, EncodeDate(2023, 12, 31));
  const std::string d3 = FormatDateTime(FormatSettings().ShortDateFormat, EncodeDate(2024, 1, 20));
  // Row tags in column 0; keys per kind in the others.
  s.Rows({{"r0", "b", "TRUE", "pear", d1, "10:00", "10"},
          {"r1", "a", "FALSE", "apple", d2, "09:30", "-5"},
          {"r2", "b", "TRUE", "fig", "not a date", "11:15", "3"},
          {"r3", "c", "FALSE", "apple", d3, "08:00", "-20"}});
  auto tagsAfter = [&](int theColumn, bool theDown) {
    s.grid.SortColumn(theColumn, theDown);
    Strings r = s.Column(0);
    s.grid.SortColumn(0, false);  // back to r0..r3
    return r;
  };
  EXPECT_EQ(tagsAfter(0, true), (Strings{"r3", "r2", "r1", "r0"}));
  // Equal keys keep their order ascending, and reverse it descending.
  EXPECT_EQ(tagsAfter(1, false), (Strings{"r1", "r0", "r2", "r3"}));
  EXPECT_EQ(tagsAfter(1, true), (Strings{"r3", "r2", "r0", "r1"}));
  EXPECT_EQ(tagsAfter(2, false), (Strings{"r1", "r3", "r0", "r2"}));
  EXPECT_EQ(tagsAfter(3, false), (Strings{"r1", "r3", "r2", "r0"}));
  // Dates by their date (an unreadable one by its text, after the digits).
  EXPECT_EQ(tagsAfter(4, false), (Strings{"r1", "r3", "r0", "r2"}));
  EXPECT_EQ(tagsAfter(5, false), (Strings{"r3", "r1", "r0", "r2"}));
  EXPECT_EQ(tagsAfter(6, false), (Strings{"r3", "r1", "r2", "r0"}));
  EXPECT_EQ(s.Column(6), (Strings{"10", "-5", "3", "-20"}));

  // The host may sort itself, stop the sort, or give its own keys.
  s.grid.OnColumnSort = [](TvxGrid*, TvxGrid_Column* c, bool, bool& goOn) { goOn = c->GetIndex() != 3; };
  EXPECT_EQ(tagsAfter(3, false), (Strings{"r0", "r1", "r2", "r3"}));
  s.grid.OnColumnSort = nullptr;
  s.grid.OnGetUserSortCompareString = [&](TvxGrid*, TvxGrid_Column*, TBabCell* cell, std::string& key) {
    key = std::to_string(9 - cell->GetRow());
  };
  EXPECT_EQ(tagsAfter(1, false), (Strings{"r3", "r2", "r1", "r0"}));
  s.grid.OnGetUserSortCompareString = nullptr;
  s.grid.OnUserSort = [](TvxGrid*, TvxGrid_Column*, std::vector<TAxisContentItem*>& list, bool& def) {
    std::swap(list.front(), list.back());
    def = false;
  };
  EXPECT_EQ(tagsAfter(1, false), (Strings{"r3", "r1", "r2", "r0"}));
}

// A date column with a box: the box says whether the cell has a date.
// Unticked, the edit stores day 0; a cell without a date opens unticked,
// and ticking it stores the date the picker offers.
TEST(ColumnGrid, ADateColumnsBoxSaysWhetherThereIsADate) {
  GridScene s({tckDate});
  s.grid.GetColumns()->GetColumn(0)->SetCheckBoxOnDateTime(true);
  s.Rows({{"2024-03-15"}, {""}});
  vxtest::ShowWindow(&s.grid);
  s.grid.SetFocus();
  TBabInplaceDateTimeEditor* picker = s.grid.GetInplaceDateTimeEditor();
  const auto date = [](TDateTime d) { return FormatDateTime(FormatSettings().ShortDateFormat, d); };
  struct Step {
    int row;
    bool clickBox;
    bool tickedAtStart;
    std::string stored;
  };
  const Step steps[] = {{1, true, true, date(0)}, {1, false, false, date(0)}, {2, false, false, ""},
                        {2, true, false, date(Date())}, {2, false, true, date(Date())}};
  for (const Step& st : steps) {
    SCOPED_TRACE("row " + std::to_string(st.row) + (st.clickBox ? ", box clicked" : ""));
    s.grid.SetFocusedCell(s.grid.GetCell(1, st.row));
    vxtest::KeyClick(&s.grid, Qt::Key_F2);
    ASSERT_TRUE(s.grid.GetEditing());
    EXPECT_EQ(picker->GetChecked(), st.tickedAtStart);
    if (st.clickBox) QTest::mouseClick(picker->findChild<QCheckBox*>(), Qt::LeftButton);
    vxtest::KeyClick(&s.grid, Qt::Key_Return);
    EXPECT_FALSE(s.grid.GetEditing());
    EXPECT_EQ(s.Column(0)[static_cast<size_t>(st.row - 1)], st.stored);
  }
}

TEST(ColumnGrid, HeaderClickSortsThroughTheEventLoopAndGroupsEqualCells) {
  GridScene s({tckSimpleEdit, tckSimpleEdit});
  s.grid.GetColumns()->GetColumn(1)->SetSortEnable(false);
  s.Rows({{"b", "x"}, {"c", "x"}, {"a", "y"}});
  vxtest::ShowWindow(&s.grid);
  // Header of column 1 (x 21..91, y 1..21): ascending, then descending.
  vxtest::MousePress(&s.grid, 50, 10);
  vxtest::MouseRelease(&s.grid, 50, 10);
  EXPECT_EQ(s.Column(0), (Strings{"a", "b", "c"}));
  EXPECT_EQ(s.grid.GetCurrentSortCol(), s.grid.GetCell(1, 0));
  vxtest::MousePress(&s.grid, 50, 10);
  vxtest::MouseRelease(&s.grid, 50, 10);
  EXPECT_EQ(s.Column(0), (Strings{"c", "b", "a"}));
  // A column without SortEnable does not sort.
  vxtest::MousePress(&s.grid, 120, 10);
  vxtest::MouseRelease(&s.grid, 120, 10);
  EXPECT_EQ(s.Column(0), (Strings{"c", "b", "a"}));

  // Two equal cells of a grouping column paint as one: the lower is the master.
  s.grid.GetColumns()->GetColumn(1)->SetGroupcells(true);
  TBitmap shot;
  s.grid.PaintTo(&shot);
  TBabCell* upper = s.grid.GetCell(2, 1);
  TBabCell* lower = s.grid.GetCell(2, 2);
  EXPECT_TRUE(lower->GetIsMasterGroupCell());
  EXPECT_TRUE(upper->GetIsGroupedCell() && !upper->GetIsMasterGroupCell());
  EXPECT_EQ(s.grid.GetCellAtPixel(120, 30)->GetGroupMaster(), lower);
  // Texts must match case and all; the application may decide instead, and
  // is never asked about a header above.
  s.grid.SetText(lower, "X");
  s.grid.PaintTo(&shot);
  EXPECT_FALSE(upper->GetIsGroupedCell());
  Strings asked;
  s.grid.GetColumns()->GetColumn(1)->SetOnGroupcellCompare([&](TvxGrid* g, TvxGrid_Column* c, TBabCell* a, TBabCell* b) {
    asked.push_back((g == &s.grid && c->GetIndex() == 1 ? "" : "? ") + std::to_string(a->GetRow()) + "," +
                    std::to_string(b->GetRow()));
    return true;
  });
  s.grid.PaintTo(&shot);
  EXPECT_EQ(upper->GetGroupMaster(), s.grid.GetCell(2, 3));
  EXPECT_NE(std::find(asked.begin(), asked.end(), "1,2"), asked.end());
  EXPECT_NE(std::find(asked.begin(), asked.end(), "2,3"), asked.end());
  EXPECT_EQ(std::count_if(asked.begin(), asked.end(), [](const std::string& a) { return a[0] != '1' && a[0] != '2'; }), 0);
  // An edit of a group, begun from any of its rows, covers the group.
  const TRect top = upper->getVisibleRect(), group = s.grid.GetCell(2, 3)->getVisibleRect();
  vxtest::MousePress(&s.grid, 120, top.Top + 5);
  vxtest::MouseRelease(&s.grid, 120, top.Top + 5);
  vxtest::KeyClick(&s.grid, Qt::Key_F2);
  ASSERT_TRUE(s.grid.GetEditing());
  EXPECT_EQ(s.grid.GetEditCell(), s.grid.GetCell(2, 3));
  EXPECT_EQ(s.grid.GetCurrentEditor()->GetBoundsRect(), Rect(group.Left, top.Top, group.Right, group.Bottom + 1));
  vxtest::KeyClick(&s.grid, Qt::Key_Escape);
}

TEST(ColumnGrid, SubGridCellsNestTheirDefinitionAndUnknownNamesStayEmpty) {
  GridScene s({tckSimpleEdit, tckSubGrid, tckSubGrid});
  TvxGrid_SubGrid* def = s.grid.GetSubGrids()->Add();
  def->SetName("Parts");
  def->SetHasInfoCol(false);
  for (int k = 0; k < 2; ++k) def->GetColumns()->Add()->SetWidth(30);
  s.grid.GetColumns()->GetColumn(1)->SetSubGridName("parts");
  s.grid.GetColumns()->GetColumn(2)->SetSubGridName("missing");
  s.grid.AddRow(nullptr);
  s.grid.AddRow(nullptr);
  TBabCell* nested = s.grid.GetCell(2, 1);
  ASSERT_TRUE(nested->IsGridCell());
  auto* ng = static_cast<TBabGridCell*>(nested);
  EXPECT_EQ(ng->GetAxisContentListX()->Count(), 2);
  EXPECT_EQ(ng->GetFixedRows(), 1);
  EXPECT_EQ(def->GetSpawnedGridCells().size(), 2u);
  TAxisContentItem* r = s.grid.AddRowInSubGrid(nested, nullptr);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(s.grid.CellToColumn(ng->getCell(1, 1)), def->GetColumns()->GetColumn(1));
  EXPECT_EQ(s.grid.AddRowInSubGrid(s.grid.GetCell(1, 1), nullptr), nullptr);
  auto* empty = static_cast<TBabGridCell*>(s.grid.GetCell(3, 1));
  EXPECT_EQ(empty->GetAxisContentListX()->Count(), 0);
  // Rows that go take their nested cells out of the definition's list.
  s.g->GetAxisContentListY()->Drop(1);
  EXPECT_EQ(def->GetSpawnedGridCells().size(), 1u);
}

// A frame line asks the column layout's handler, then the layout's own: a
// later change of the column layout keeps the application's handler.
TEST(ColumnGrid, FrameLinesAskTheColumnLayoutThenTheApplication) {
  GridScene s({tckSimpleEdit});
  TvxCellLayout* framed = s.grid.GetCellLayouts()->Add();
  framed->SetName("Framed");
  framed->SetFrameOptionsUse(true);
  framed->SetFrameOptions(TFrameOptions{foLeft, foTop});
  std::vector<std::string> heard;
  bool columnDraws = true;
  framed->SetOnFrameLineDraw([&](TLayoutProp*, TFrameOption, TBabCell*, TRect, TPoint, TPoint, bool& draw, TCanvas*) {
    heard.push_back("column");
    draw = columnDraws;
  });
  s.grid.GetColumns()->GetColumn(0)->SetLayoutName("Framed");
  s.Rows({{"a"}});
  framed->GetLayoutProperty()->OnFrameLineDraw = [&](TLayoutProp*, TFrameOption, TBabCell*, TRect, TPoint, TPoint,
                                                     bool&, TCanvas*) { heard.push_back("own"); };
  framed->SetFrameColor(clRed);
  TBitmap shot;
  s.grid.PaintTo(&shot);
  ASSERT_GE(heard.size(), 4u);  // two lines, each asking both
  EXPECT_EQ(std::vector<std::string>(heard.begin(), heard.begin() + 2), (std::vector<std::string>{"column", "own"}));
  // The column's handler that draws the line itself: the layout's own is not asked.
  heard.clear();
  columnDraws = false;
  s.grid.Invalidate();
  s.grid.PaintTo(&shot);
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(std::count(heard.begin(), heard.end(), "own"), 0);
}

TEST(ColumnGrid, EachKindEditsWithItsOwnEditor) {
  GridScene s({tckSimpleEdit, tckMemo, tckBool, tckCombo, tckDate, tckTime});
  s.grid.GetColumns()->GetColumn(4)->SetCheckBoxOnDateTime(true);
  s.Rows({{"a", "b", "FALSE", "pear", "", "10:00"}});
  Strings combos;
  s.grid.OnBeforeEditWithCombo = [&](TvxGrid* g, TvxGrid_Column* c, TBabCell* cell) {
    combos.push_back((g == &s.grid ? "" : "? ") + c->GetHeaderText() + " " + std::to_string(cell->GetCol()) + "," +
                     std::to_string(cell->GetRow()));
    s.grid.InitEditCombo({"apple", "pear", "plum"}, 2);
  };
  vxtest::ShowWindow(&s.grid);
  TBabInplaceDateTimeEditor* picker = s.grid.GetInplaceDateTimeEditor();
  struct Row {
    TBabEditorType type;
    TControl* editor;
  };
  const Row rows[] = {{babETEdit, s.grid.GetInplaceEditor()},      {babETMemo, s.grid.GetInplaceMemoEditor()},
                      {babETBool, s.grid.GetInplaceBooleanEditor()}, {babETCombo, s.grid.GetInplaceComboEditor()},
                      {babETDateTime, picker},                       {babETDateTime, picker}};
  for (int k = 0; k < 6; ++k) {
    SCOPED_TRACE(k);
    s.Click(1 + k, 1);
    vxtest::KeyClick(&s.grid, Qt::Key_F2);
    ASSERT_TRUE(s.grid.GetEditing());
    EXPECT_EQ(s.grid.GetEditorChoise(), rows[k].type);
    EXPECT_EQ(s.grid.GetCurrentEditor(), rows[k].editor);
    // Dates pick a day, times a time; the check box where the column asks for it.
    if (k >= 4) {
      EXPECT_EQ(picker->GetKind(), k == 4 ? dtkDate : dtkTime);
      EXPECT_EQ(picker->GetShowCheckbox(), k == 4);
    }
    vxtest::KeyClick(&s.grid, Qt::Key_Escape);
  }
  EXPECT_EQ(combos, Strings{"H3 4,1"});
  EXPECT_EQ(s.grid.GetInplaceComboEditor()->GetItems(), (Strings{"apple", "pear", "plum"}));
}

TEST(ColumnGrid, AssignCopiesWhatAColumnIsButNotItsLookAndAHiddenOneTakesNoRoom) {
  GridScene s({tckSimpleEdit, tckSimpleEdit, tckSimpleEdit});
  s.Rows({{"a", "b", "c"}});
  TvxGrid_Columns* cols = s.grid.GetColumns();
  TvxGrid_Column* from = cols->GetColumn(2);
  from->SetKind(tckDate);
  from->SetWidth(33);
  from->SetHeaderText("When");
  from->SetSortEnable(false);
  from->SetReadOnly(true);
  from->SetSubGridName("Parts");
  from->SetTreeButton(true);
  from->SetHasIcon(true);
  from->SetOnGetIconIndex([](TvxGrid*, TvxGrid_Column*, TBabCell*) { return 7; });
  from->SetHidden(true);
  from->SetLayoutName("Blue");
  from->SetGroupcells(true);
  from->SetNumericSort(true);
  from->SetCheckBoxOnDateTime(true);
  auto traits = [](TvxGrid_Column* c) {
    const auto& icon = c->GetOnGetIconIndex();
    return std::to_string(c->GetKind()) + " " + std::to_string(c->GetWidth()) + " " + c->GetHeaderText() + " " +
           std::to_string(c->GetSortEnable()) + std::to_string(c->GetReadOnly()) + " " + c->GetSubGridName() + " " +
           std::to_string(c->GetTreeButton()) + std::to_string(c->GetHasIcon()) +
           std::to_string(icon ? icon(nullptr, nullptr, nullptr) : -1) + std::to_string(c->GetHidden()) + " [" +
           c->GetLayoutName() + "] " + std::to_string(c->GetGroupcells()) + std::to_string(c->GetNumericSort()) +
           std::to_string(c->GetCheckBoxOnDateTime());
  };
  TvxGrid_Column* to = cols->GetColumn(0);
  const TPoint first = s.Mid(1, 1);
  to->Assign(*from);
  EXPECT_EQ(traits(to), "4 33 When 01 Parts 1171 [] 000");
  // The copy is hidden: the column after it moves into its place.
  s.Mid(2, 1);
  EXPECT_EQ(s.grid.GetCellAtPixel(first.X - 30, first.Y), s.grid.GetCell(2, 1));
  // A sub-grid definition copies its columns, its name and its flags.
  TvxGrid_SubGrid* a = s.grid.GetSubGrids()->Add();
  a->SetName("A");
  a->SetHasInfoCol(false);
  a->SetHasHeaders(false);
  a->SetExtendLastColumnToWidth(true);
  a->GetColumns()->Add()->Assign(*from);
  a->GetColumns()->Add();
  TvxGrid_SubGrid* b = s.grid.GetSubGrids()->Add();
  for (int k = 0; k < 3; ++k) b->GetColumns()->Add();
  b->Assign(*a);
  EXPECT_EQ(b->GetName(), "A");
  EXPECT_EQ(std::to_string(b->GetHasInfoCol()) + std::to_string(b->GetHasHeaders()) +
                std::to_string(b->GetExtendLastColumnToWidth()),
            "001");
  ASSERT_EQ(b->GetColumns()->Count(), 2);
  EXPECT_EQ(traits(b->GetColumns()->GetColumn(0)), "4 33 When 01 Parts 1171 [] 000");
}

TEST(ColumnGrid, TheLastColumnFillsTheWidthAndFollowsIt) {
  GridScene s({tckSimpleEdit, tckSimpleEdit});
  s.Rows({{"a", "b"}});
  s.grid.SetExtendLastColumnToWidth(true);
  vxtest::ShowWindow(&s.grid);
  TvxGrid_Column* last = s.grid.GetColumns()->GetColumn(1);
  auto reach = [&] {
    s.Mid(2, 1);
    return s.grid.GetCell(2, 1)->getVisibleRect().Right - s.grid.GetDrawRect().Right;
  };
  EXPECT_EQ(reach(), 0);
  const int width = last->GetRunTimeWidth();
  EXPECT_GT(width, 300);
  EXPECT_FALSE(s.grid.GetHorzScrollBar()->GetVisible());
  s.grid.SetBounds(0, 0, 600, 300);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(reach(), 0);
  EXPECT_EQ(last->GetRunTimeWidth(), width + 100);
  EXPECT_EQ(last->GetWidth(), 70);
}

TEST(ColumnGrid, IconsComeBeforeTheTextWhereTheColumnHasThem) {
  GridScene s({tckSimpleEdit, tckSimpleEdit});
  TCustomImageList images(nullptr, 8, 8);
  for (TColor colour : {clRed, clBlue}) {
    TBitmap b(8, 8);
    b.GetCanvas()->GetBrush()->SetColor(colour);
    b.GetCanvas()->FillRect(Rect(0, 0, 8, 8));
    images.Add(&b);
  }
  s.grid.SetImageList(&images);
  Strings asked;
  auto index = [&](TvxGrid* g, TvxGrid_Column* c, TBabCell* cell) {
    asked.push_back((g == &s.grid ? "" : "? ") + c->GetHeaderText());
    return cell->GetRow() == 3 ? -1 : cell->GetRow() - 1;
  };
  s.grid.GetColumns()->GetColumn(0)->SetHasIcon(true);
  s.grid.GetColumns()->GetColumn(0)->SetOnGetIconIndex(index);
  s.grid.GetColumns()->GetColumn(1)->SetOnGetIconIndex(index);
  s.Rows({{"xx", "xx"}, {"xx", "xx"}, {"xx", "xx"}});
  s.Mid(1, 1);
  auto area = [&](int theCol, int theRow) { return s.grid.GetCell(theCol, theRow)->getVisibleRect(); };
  auto ink = [&](int theCol, int theRow) {
    return s.Where(area(theCol, theRow), [](TColor p) { return GetRValue(p) + GetGValue(p) + GetBValue(p) < 200; });
  };
  const TRect r1 = area(1, 1);
  // The icon at the top left of the cell inside its frame; the text after it.
  EXPECT_EQ(s.Where(r1, [](TColor p) { return p == clRed; }), Rect(r1.Left + 1, r1.Top + 1, r1.Left + 9, r1.Top + 9));
  const TRect r2 = area(1, 2);
  EXPECT_EQ(s.Where(r2, [](TColor p) { return p == clBlue; }), Rect(r2.Left + 1, r2.Top + 1, r2.Left + 9, r2.Top + 9));
  EXPECT_EQ(ink(1, 1).Left, ink(1, 3).Left + 9);
  // Index -1, or a column without HasIcon: no icon, the text where it was.
  for (TPoint cell : {Point(1, 3), Point(2, 1)})
    EXPECT_EQ(s.Where(area(cell.X, cell.Y), [](TColor p) { return p == clRed || p == clBlue; }).Left, -1);
  EXPECT_EQ(ink(2, 1).Left - area(2, 1).Left, ink(1, 3).Left - area(1, 3).Left);
  EXPECT_NE(std::find(asked.begin(), asked.end(), "H0"), asked.end());
}

// Frame lines on the edges the layout names, in its colour; a raised frame
// adds a line a quarter lighter beside each, inwards of the cell's top-left.
TEST(ColumnGrid, FrameLinesOnTheChosenEdges) {
  struct Row {
    TFrameOptions options;
    TFrameKind kind;
  };
  const Row rows[] = {{TFrameOptions{foLeft}, fkNormal},
                      {TFrameOptions{foRight, foBottom}, fkNormal},
                      {TFrameOptions{foTop, foLeft, foRight, foBottom}, fk3d}};
  constexpr TColor kFrame = 0x000080, kLighter = 0x0000A0;
  for (const Row& row : rows) {
    GridScene s({tckSimpleEdit});
    TvxCellLayout* framed = s.grid.GetCellLayouts()->Add();
    framed->SetName("Framed");
    framed->SetFrameOptionsUse(true);
    framed->SetFrameOptions(row.options);
    framed->SetFrameKind(row.kind);
    framed->SetFrameColor(kFrame);
    s.grid.GetColumns()->GetColumn(0)->SetLayoutName("Framed");
    s.Rows({{""}, {""}});
    s.Mid(1, 1);
    // The frame is the cell's rectangle less a pixel each side.
    const TRect f = InflateRect(s.grid.GetCell(1, 1)->getVisibleRect(), -1, -1);
    const int mx = (f.Left + f.Right) / 2, my = (f.Top + f.Bottom) / 2;
    const std::pair<TFrameOption, TPoint> edges[] = {{foLeft, Point(f.Left, my)},
                                                     {foRight, Point(f.Right, my)},
                                                     {foTop, Point(mx, f.Top)},
                                                     {foBottom, Point(mx, f.Bottom)}};
    for (const auto& [option, at] : edges) {
      SCOPED_TRACE(std::to_string(option) + " kind " + std::to_string(row.kind));
      const TColor p = s.shot.GetCanvas()->GetPixel(at.X, at.Y);
      EXPECT_EQ(p == kFrame, row.options.Contains(option));
      const bool across = option == foLeft || option == foRight;
      if (row.kind == fk3d) {
        EXPECT_EQ(s.shot.GetCanvas()->GetPixel(at.X - (across ? 1 : 0), at.Y - (across ? 0 : 1)), kLighter);
      }
    }
  }
}
