// The grid under what breaks grids: keys into check boxes, the end of rows of
// any height (and rows made on demand, hidden at the end), gestures the
// window changes under, and values at and beyond the limits.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <climits>
#include <set>

#include "GridViewSupport.h"
#include <vxplan/grid/vxGrid.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/XorOverlay.h>
#include <vxplan/printing/vxGridPrinting.h>

using namespace gridview_test;

namespace {

// ---------------------------------------------------------------- keys into a check box

// Columns after the info column: 1 a check box, 2 a text.
struct BoolScene {
  TvxGrid grid{nullptr};
  TBabGridCellForViewer* g = grid.GetBabGridCellForViewer();
  BoolScene() {
    grid.SetBounds(0, 0, 300, 200);
    grid.AddColumn()->SetKind(tckBool);
    grid.AddColumn()->SetKind(tckSimpleEdit);
    grid.EnsureFixed();
    for (int k = 0; k < 5; ++k) grid.SetText(grid.GetCell(1, grid.AddRow(nullptr)->ListIndex()), "FALSE");
    vxtest::ShowWindow(&grid);
    grid.SetFocus();
    grid.SetFocusedCell(grid.GetCell(1, 2));
    vxtest::ProcessEventsUntilIdle();
  }
};

struct BoolKeys {
  const char* name;
  bool f2First;
  Qt::Key key;
  const char* stored;  // the cell after the key and Enter
};

// Space toggles the box; letters and digits mean nothing to a check box. No
// key may come back to the grid to be typed again.
const BoolKeys kBoolKeys[] = {
    {"Space", false, Qt::Key_Space, "TRUE"},      {"F2Space", true, Qt::Key_Space, "TRUE"},
    {"Letter", false, Qt::Key_A, "FALSE"},        {"F2Letter", true, Qt::Key_A, "FALSE"},
    {"Digit", false, Qt::Key_5, "FALSE"},         {"F2Digit", true, Qt::Key_5, "FALSE"},
    {"CapitalLetter", false, Qt::Key_Z, "FALSE"}, {"F2Escape", true, Qt::Key_Escape, "FALSE"},
};

class GridCheckBoxKeys : public testing::TestWithParam<BoolKeys> {};

TEST_P(GridCheckBoxKeys, TypeOnceAndStoreWhatTheBoxShows) {
  const BoolKeys& k = GetParam();
  BoolScene s;
  int typed = 0;
  s.grid.OnInplaceEditKeyPress = [&typed](TBabGridView_Custom*, char32_t&) { ++typed; };
  if (k.f2First) {
    vxtest::KeyClick(&s.grid, Qt::Key_F2);
    ASSERT_TRUE(s.grid.GetEditing());
    EXPECT_EQ(s.grid.GetCurrentEditor(), s.grid.GetInplaceBooleanEditor());
  }
  vxtest::KeyClick(&s.grid, k.key);
  // A key that reached the editor was heard there once at most.
  EXPECT_LE(typed, 1);
  if (s.grid.GetEditing()) vxtest::KeyClick(&s.grid, Qt::Key_Return);
  EXPECT_FALSE(s.grid.GetEditing());
  EXPECT_EQ(s.grid.GetText(s.grid.GetCell(1, 2)), k.stored);
  EXPECT_EQ(s.grid.GetFocusedCell(), s.grid.GetCell(1, 2));
}

INSTANTIATE_TEST_SUITE_P(Each, GridCheckBoxKeys, testing::ValuesIn(kBoolKeys),
                         [](const testing::TestParamInfo<BoolKeys>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- the end of the rows

struct EndCase {
  const char* name;
  int rows;            // rows below the header, made on demand
  int tallFrom;        // rows from this one on are tall
  int tallHeight;
  int hiddenFrom;      // rows from this one on are hidden
  int expectedFocus;   // the row Ctrl+End focuses
};

const EndCase kEndCases[] = {
    {"EvenRows", 40, INT_MAX, 0, INT_MAX, 40},
    {"TallerLastRows", 1000, 995, 70, INT_MAX, 1000},
    {"LastRowTallerThanTheArea", 30, 30, 400, INT_MAX, 30},
    {"HiddenLastRows", 1000, INT_MAX, 0, 997, 996},
    {"AMillionRowsHiddenAtTheEnd", 1000000, 999990, 45, 999998, 999997},
};

class GridEndKeys : public testing::TestWithParam<EndCase> {};

TEST_P(GridEndKeys, ShowTheLastRowWholeAndTheBarAtItsEnd) {
  const EndCase& c = GetParam();
  ViewScene s(4, 0);
  TBabGridCellForViewer* g = s.g;
  s.view.OnVirtualLoad = [&c, g](TBabGridCell* caller, TAxisContentItem* item, bool isRow) {
    if (caller != g || !isRow) return;
    const int r = item->ListIndex();
    if (r >= c.tallFrom) {
      item->SetUserSizeActive(true);
      item->SetUserSize(c.tallHeight);
    }
    if (r >= c.hiddenFrom) item->SetHide(true);
  };
  s.Virtual(c.rows);
  s.Show();
  s.Click(1, 2);
  TScrollBar* bar = s.view.GetVertScrollBar();
  for (int round = 0; round < 2; ++round) {
    // A second Ctrl+End finds everything in place already.
    s.Key(Qt::Key_End, Qt::ControlModifier);
    s.Paint();
    ASSERT_EQ(s.Focused(), g->getCell(1, c.expectedFocus)) << s.FocusName();
    EXPECT_FALSE(g->GetAxisContentListY()->getAxisContentItem(c.expectedFocus)->GetHide());
    const TRect r = s.Focused()->getVisibleRect();
    const TRect area = s.view.GetDrawRect();
    EXPECT_GE(r.Top, area.Top);
    if (c.tallHeight < area.Height()) {
      EXPECT_LE(r.Bottom, area.Bottom);
    }
    EXPECT_EQ(bar->GetPosition() + bar->GetPageSize() - 1, bar->GetMax());
    EXPECT_LE(g->GetAxisContentListY()->LoadedCount(), TAxisContentList::MaxLoadedItems + 1);
  }
  // And back to the first row, at the top.
  s.Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(s.Focused(), g->getCell(1, 1));
  EXPECT_EQ(g->GetTop(), 1);
  EXPECT_EQ(bar->GetPosition(), bar->GetMin());
}

INSTANTIATE_TEST_SUITE_P(Each, GridEndKeys, testing::ValuesIn(kEndCases),
                         [](const testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

// Folding rows at the end leaves no room below the last row.
TEST(GridEndOfRows, FoldingTheLastRowsBringsTheViewBackDown) {
  ViewScene s(3, 40);
  s.Show();
  s.Key(Qt::Key_Down);
  s.Key(Qt::Key_End, Qt::ControlModifier);
  s.Paint();
  const int topAtEnd = s.g->GetTop();
  ASSERT_GT(topAtEnd, 1);
  for (int r = 31; r <= 40; ++r) s.g->GetAxisContentListY()->getAxisContentItem(r)->SetHide(true);
  s.Paint();
  EXPECT_EQ(s.g->GetTop(), topAtEnd - 10);
  TAxisContentList* rows = s.g->GetAxisContentListY();
  TAxisContentItem* last = rows->getAxisContentItem(30);
  EXPECT_TRUE(last->GetIsOnScreen());
  EXPECT_GT(last->GetAcumSize() + last->GetCalculatedSize() + 20, s.view.GetDrawRect().Height());
}

// ---------------------------------------------------------------- gestures the window changes under

using vxtest::Interruption;

class GridGestureInterrupted : public testing::TestWithParam<Interruption> {
protected:
  TPanel other{nullptr};  // first: the view may be its child when it goes
  ViewScene s{4, 5};

  void SetUp() override { other.SetBounds(0, 0, 100, 100); }
  void TearDown() override { s.view.SetParent(nullptr); }
  // Interrupts the gesture, then the other control lets the mouse go.
  void Interrupt() {
    GetParam().interrupt(&s.view, &other);
    vxtest::ProcessEventsUntilIdle();
    other.SetMouseCapture(false);
  }
  // Whether the view still gets the pointer's events.
  bool OnItsOwn() const { return s.view.GetParent() != &other; }
};

TEST_P(GridGestureInterrupted, ColumnResizeEndsCancelled) {
  s.Show();
  const int border = ViewScene::X(2);
  vxtest::MousePress(&s.view, border, 10);
  vxtest::MouseMove(&s.view, border + 30, 10);
  ASSERT_EQ(s.view.GetMouseMoveMode(), TBabGridView_Custom::mmResizeCols);
  ASSERT_NE(s.view.GetTrackLine(), NoRect());
  Interrupt();
  EXPECT_EQ(s.view.GetMouseMoveMode(), TBabGridView_Custom::mmNone);
  EXPECT_EQ(s.view.GetTrackLine(), NoRect());
  // The pointer moves on without a button, and a late release comes: nothing follows it.
  if (OnItsOwn()) {
    vxtest::MouseMove(&s.view, border + 50, 10);
    vxtest::MouseRelease(&s.view, border + 50, 10);
  }
  EXPECT_EQ(s.g->GetAxisContentListX()->getAxisContentItem(1)->GetUserSize(), 60);
  EXPECT_EQ(s.view.GetTrackLine(), NoRect());
}

TEST_P(GridGestureInterrupted, DragEndsWithoutADrop) {
  int ends = 0;
  s.view.OnEndDrag = [&ends](TObject*, TObject* target, int, int) { ends += target ? 100 : 1; };
  s.view.SetDragMode(dmAutomatic);
  s.Show();
  const TPoint p = ViewScene::Mid(1, 2);
  vxtest::MousePress(&s.view, p.X, p.Y);
  vxtest::MouseMove(&s.view, p.X + 20, p.Y + 20);
  ASSERT_TRUE(s.view.Dragging());
  Interrupt();
  EXPECT_FALSE(s.view.Dragging());
  EXPECT_EQ(ends, 1);
}

TEST_P(GridGestureInterrupted, ASelectionWaitingForTheReleaseIsDropped) {
  if (GetParam().takesTheMouse) GTEST_SKIP() << "a click holds no mouse of its own";
  s.Show();
  s.Click(1, 2);
  s.Click(1, 4, Qt::ControlModifier);  // two cells selected
  const TPoint p = ViewScene::Mid(1, 2);
  vxtest::MousePress(&s.view, p.X, p.Y);  // on a selected cell: the rule waits
  Interrupt();
  if (OnItsOwn()) vxtest::MouseRelease(&s.view, p.X, p.Y);
  EXPECT_TRUE(s.g->getCell(1, 4)->GetSelected());
}

INSTANTIATE_TEST_SUITE_P(Each, GridGestureInterrupted, testing::ValuesIn(vxtest::kInterruptions),
                         [](const testing::TestParamInfo<Interruption>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- values at and beyond the limits

// Columns after the info column: 1 a sortable text (wrapped), 2 a date, 3 a
// tree button column.
struct LimitScene {
  TvxGrid grid{nullptr};
  TBabGridCellForViewer* g = grid.GetBabGridCellForViewer();
  LimitScene() {
    grid.SetBounds(0, 0, 400, 300);
    TvxCellLayout* wrap = grid.GetCellLayouts()->Add();
    wrap->SetName("wrap");
    wrap->SetWrapTextAndFit(true);
    TvxGrid_Column* text = grid.AddColumn();
    text->SetSortEnable(true);
    text->SetLayoutName("wrap");
    grid.AddColumn()->SetKind(tckDate);
    grid.AddColumn()->SetTreeButton(true);
    grid.EnsureFixed();
    for (int k = 0; k < 20; ++k) {
      const int y = grid.AddRow(nullptr)->ListIndex();
      grid.SetText(grid.GetCell(1, y), "row " + std::to_string(100 - k));
      grid.SetText(grid.GetCell(2, y), "2024-03-15");
    }
    vxtest::ShowWindow(&grid);
    grid.SetFocus();
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> r;
    for (int y = 1; y < grid.GetCellCountY(); ++y) r.push_back(grid.GetText(grid.GetCell(1, y)));
    return r;
  }
};

struct Limit {
  const char* name;
  void (*apply)(LimitScene& s);
  void (*check)(LimitScene& s);
};

void NoCheck(LimitScene&) {}

const Limit kLimits[] = {
    {"RowHeightIntMax", [](LimitScene& s) { s.grid.SetRowHeight(3, INT_MAX); },
     [](LimitScene& s) { EXPECT_EQ(s.grid.GetRowHeight(3), kMaxItemSize); }},
    {"RowHeightNegative", [](LimitScene& s) { s.grid.SetRowHeight(3, -50); },
     [](LimitScene& s) { EXPECT_EQ(s.grid.GetRowHeight(3), 20); }},
    {"RowHeightOfNoRow", [](LimitScene& s) { s.grid.SetRowHeight(INT_MAX, 10), s.grid.SetRowHeight(INT_MIN, 10); },
     [](LimitScene& s) { EXPECT_EQ(s.grid.GetRowHeight(INT_MAX), 0); }},
    {"ColumnWidthIntMax", [](LimitScene& s) { s.grid.GetColumns()->GetColumn(0)->SetWidth(INT_MAX); },
     [](LimitScene& s) { EXPECT_EQ(s.grid.GetColumns()->GetColumn(0)->GetWidth(), kMaxItemSize); }},
    {"ColumnWidthNegative", [](LimitScene& s) { s.grid.GetColumns()->GetColumn(0)->SetWidth(-1); },
     [](LimitScene& s) { EXPECT_EQ(s.grid.GetColumns()->GetColumn(0)->GetWidth(), 0); }},
    {"RunTimeWidthIntMin", [](LimitScene& s) { s.grid.GetColumns()->GetColumn(1)->SetRunTimeWidth(INT_MIN); },
     [](LimitScene& s) { EXPECT_EQ(s.grid.GetColumns()->GetColumn(1)->GetRunTimeWidth(), 0); }},
    {"LayoutMinimaIntMax",
     [](LimitScene& s) {
       s.grid.GetCellLayouts()->GetCellLayout(0)->SetMinHeight(INT_MAX);
       s.grid.GetCellLayouts()->GetCellLayout(0)->SetMinWidth(INT_MAX);
     },
     [](LimitScene& s) { EXPECT_EQ(s.grid.GetCellLayouts()->GetCellLayout(0)->GetMinHeight(), kMaxItemSize); }},
    {"SortColumnIntMax", [](LimitScene& s) { s.grid.SortColumn(INT_MAX, true), s.grid.SortColumn(INT_MIN, false); },
     [](LimitScene& s) { EXPECT_EQ(s.Texts().front(), "row 100"); }},
    {"SortColumnNegative", [](LimitScene& s) { s.grid.SortColumn(-1, true); },
     [](LimitScene& s) { EXPECT_EQ(s.Texts().front(), "row 100"); }},
    {"InsetIntMax",
     [](LimitScene& s) { s.grid.OnCellInset = [](TBabGridView_Custom*, TBabCell*) { return INT_MAX; }; },
     [](LimitScene& s) {
       s.grid.Repaint();
       const TRect r = s.grid.GetCell(3, 2)->getVisibleRect();
       EXPECT_EQ(r.Left, r.Right);  // indented to the cell's right edge, no further
     }},
    {"InsetIntMin", [](LimitScene& s) { s.grid.OnCellInset = [](TBabGridView_Custom*, TBabCell*) { return INT_MIN; }; },
     NoCheck},
    {"ScrollPositionsBeyond", [](LimitScene& s) { s.g->SetTop(INT_MAX), s.g->SetLeft(INT_MIN); },
     [](LimitScene& s) {
       s.grid.UpdateLayout();
       EXPECT_TRUE(s.g->GetAxisContentListY()->getAxisContentItem(20)->GetIsOnScreen());
       EXPECT_EQ(s.g->GetLeft(), 1);
     }},
    {"CellsBeyond", NoCheck,
     [](LimitScene& s) {
       EXPECT_EQ(s.grid.GetCell(INT_MAX, INT_MAX), nullptr);
       EXPECT_EQ(s.grid.GetCell(INT_MIN, -1), nullptr);
       EXPECT_EQ(s.grid.GetCellAtPixel(INT_MAX, INT_MIN), nullptr);
     }},
    {"AMegabyteOfText",
     [](LimitScene& s) {
       std::string text(1 << 20, 'x');
       for (size_t k = 80; k < text.size(); k += 81) text[k] = ' ';
       s.grid.SetText(s.grid.GetCell(1, 2), text);
       s.grid.SetText(s.grid.GetCell(3, 2), std::string(1 << 20, 'y'));
     },
     [](LimitScene& s) {
       s.grid.UpdateLayout();
       EXPECT_LE(s.grid.GetRowHeight(2), kMaxItemSize);
       EXPECT_EQ(s.grid.GetText(s.grid.GetCell(3, 2)).size(), 1u << 20);
     }},
    {"DatesOutsideTheCalendar",
     [](LimitScene& s) {
       s.grid.SetText(s.grid.GetCell(2, 1), "10000-01-01");
       s.grid.SetText(s.grid.GetCell(2, 2), "0000-12-31");
       s.grid.SetText(s.grid.GetCell(2, 3), "-5-01-01");
     },
     [](LimitScene& s) {
       // The editor does not start on a text that is no date; the cell keeps
       // it, and the user hears why.
       vxtest::MessageCapture messages;
       for (int row = 1; row <= 3; ++row) {
         s.grid.SetFocusedCell(s.grid.GetCell(2, row));
         vxtest::KeyClick(&s.grid, Qt::Key_F2);
         EXPECT_FALSE(s.grid.GetEditing()) << row;
         EXPECT_FALSE(s.grid.GetInplaceDateTimeEditor()->isVisible()) << row;
       }
       ASSERT_EQ(messages.Messages().size(), 3u);
       EXPECT_EQ(messages.Messages()[0], "'10000-01-01' is not a valid date");
       EXPECT_EQ(s.grid.GetText(s.grid.GetCell(2, 1)), "10000-01-01");
       s.grid.SortColumn(1, false);  // they sort by their texts
     }},
};

class GridLimits : public testing::TestWithParam<Limit> {};

TEST_P(GridLimits, ADefinedAnswerThatPaintsPrintsAndDrags) {
  LimitScene s;
  GetParam().apply(s);
  vxtest::ProcessEventsUntilIdle();
  GetParam().check(s);
  // Paint, a drag of a column border and of a row border, and a printout.
  TBitmap shot;
  s.grid.PaintTo(&shot);
  const int border = s.g->getCell(1, 0)->getVisibleRect().Right;
  vxtest::MousePress(&s.grid, border, 10);
  vxtest::MouseMove(&s.grid, border + 3000, 10);
  vxtest::MouseRelease(&s.grid, border + 3000, 10);
  vxtest::MousePress(&s.grid, 10, 21);
  vxtest::MouseMove(&s.grid, 10, -3000);
  vxtest::MouseRelease(&s.grid, 10, -3000);
  s.grid.PaintTo(&shot);
  EXPECT_LE(s.g->GetAxisContentListX()->getAxisContentItem(1)->GetUserSize(), kMaxItemSize);
  const std::string pdf = testing::TempDir() + "grid-limits.pdf";
  {
    auto dc = TDeviceContext::CreatePdf(pdf, 210, 297, 150);
    int w = 0, h = 0, rows = 0;
    TvxGridPrinting::Print(&s.grid, dc.get(), 10, 10, 1.5, 1.5, nullptr, -1, 380, w, h, -1, 1700, {}, rows);
    dc->EndDoc();
    EXPECT_GT(rows, 0);
  }
  EXPECT_EQ(vxtest::CountPdfPages(pdf), 1);
  QFile::remove(QString::fromStdString(pdf));
}

INSTANTIATE_TEST_SUITE_P(Each, GridLimits, testing::ValuesIn(kLimits),
                         [](const testing::TestParamInfo<Limit>& info) { return std::string(info.param.name); });

}  // namespace
