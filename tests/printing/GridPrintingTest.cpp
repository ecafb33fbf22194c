// The column grid on paper: rows that fit the page, the row at the break
// reported, the grid put back (the chart on its grid side is printed in
// GanttPrintingTest).
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "UiTestSupport.h"
#include <vxplan/grid/vxGrid.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/printing/vxGridPrinting.h>

using namespace vx;

namespace {

// A grid of two text columns and n rows "row k".
struct Sheet {
  TvxGrid grid{nullptr};
  TBabGridCellForViewer* g = grid.GetBabGridCellForViewer();
  std::vector<TAxisContentItem*> rows;

  explicit Sheet(int n) {
    grid.SetBounds(0, 0, 300, 120);
    for (int c = 0; c < 2; ++c) {
      TvxGrid_Column* col = grid.AddColumn();
      col->SetWidth(100);
      col->SetHeaderText("Column " + std::to_string(c));
    }
    grid.EnsureFixed();
    for (int k = 0; k < n; ++k) {
      rows.push_back(grid.AddRow(nullptr));
      grid.SetText(grid.GetCell(1, rows.back()->ListIndex()), "row " + std::to_string(k));
    }
    vxtest::ProcessEventsUntilIdle();
    grid.UpdateLayout();
  }
  int RowHeight() const { return rows.front()->GetCalculatedSize(); }
};

}  // namespace

TEST(GridPrinting, RowsToThePageLimitTheBreakReportedAndTheGridPutBack) {
  Sheet s(6);
  s.g->SetTop(s.rows[1]->ListIndex());
  const TRect bounds = s.grid.GetBoundsRect();
  const int font = s.grid.GetFont()->GetSize();
  const int header = TvxGridPrinting::HeaderHeight(&s.grid);
  const int rh = s.RowHeight();
  ASSERT_GT(header, 0);
  ASSERT_GT(rh, 0);

  // Unlimited: every row from the first, twice the size.
  auto dc = TDeviceContext::CreateImage(800, 800);
  int w = 0, h = 0, printed = 0;
  TvxGridPrinting::Print(&s.grid, dc.get(), 10, 10, 2, 2, nullptr, -1, 250, w, h, -1, -1, {}, printed);
  EXPECT_EQ(printed, 6);
  EXPECT_EQ(w, 500);
  EXPECT_EQ(h, Round((header + 6 * rh) * 2.0));
  // The header's text and the last row's text inked; nothing below the block.
  EXPECT_TRUE(vxtest::Inked(dc.get(), Rect(10, 10, 510, 10 + header * 2)));
  EXPECT_TRUE(vxtest::Inked(dc.get(), Rect(10, 10 + h - rh * 2, 510, 10 + h)));
  EXPECT_FALSE(vxtest::Inked(dc.get(), Rect(0, 12 + h, 800, 800)));
  EXPECT_FALSE(vxtest::Inked(dc.get(), Rect(512, 0, 800, 800)));

  // The page rules, from row 2 of six (device limits; rows in screen pixels).
  const int third = 10 + Round((header + 2.5 * rh) * 2);  // the third row crosses it
  const int exact = 10 + Round((header + 2 * rh) * 2);    // two rows end on it
  const int blanks = 10 + Round((header + 4 * rh + 30) * 2);  // one blank row fits below the last
  struct Case {
    const char* what;
    int rowCount, pageWidth, pageHeight;
    bool callback;
    int printed;
    int reported;  // index into rows of the row the callback hears of; -1: none
    int blank;     // blank rows past the last
  } cases[] = {
      {"a page the third row crosses", -1, -1, third, true, 2, 3, 0},
      {"a page two rows fill exactly", -1, -1, exact, true, 2, 3, 0},
      {"a page limit nobody hears of limits nothing", -1, -1, third, false, 4, -1, 0},
      {"a page width alone limits no rows", -1, 600, -1, true, 4, -1, 0},
      {"a row count stops earlier", 2, -1, -1, true, 2, -1, 0},
      {"a row count past the last row adds blank rows", 6, -1, -1, true, 6, -1, 2},
      {"blank rows stop at the page, with nothing to report", 6, -1, blanks, true, 5, -1, 1},
  };
  TBabCell* start = s.grid.GetCell(1, s.rows[2]->ListIndex());
  auto page = TDeviceContext::CreateImage(800, 800);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<TObject*> breaks;
    TOnSizeCallBack cb;
    if (c.callback) cb = [&](bool isWidth, int, TObject* o) {
      EXPECT_FALSE(isWidth);
      breaks.push_back(o);
    };
    TvxGridPrinting::Print(&s.grid, page.get(), 10, 10, 2, 2, start, c.rowCount, 250, w, h, c.pageWidth, c.pageHeight,
                           cb, printed);
    EXPECT_EQ(printed, c.printed);
    ASSERT_EQ(breaks.size(), c.reported < 0 ? 0u : 1u);
    if (c.reported >= 0) {
      EXPECT_EQ(breaks[0], s.rows[c.reported]);
    }
    EXPECT_EQ(h, Round((header + (c.printed - c.blank) * rh + c.blank * 20) * 2.0));
  }
  // Hidden rows are passed over without counting.
  s.rows[3]->SetHide(true);
  TvxGridPrinting::Print(&s.grid, page.get(), 10, 10, 2, 2, start, 2, 250, w, h, -1, -1, {}, printed);
  EXPECT_EQ(printed, 2);
  EXPECT_EQ(h, Round((header + 2 * rh) * 2.0));

  // The grid is as it was.
  EXPECT_EQ(s.grid.GetBoundsRect(), bounds);
  EXPECT_EQ(s.grid.GetFont()->GetSize(), font);
  EXPECT_EQ(s.g->GetTop(), s.rows[1]->ListIndex());
  EXPECT_FALSE(s.grid.GetIsPrinting());
}

TEST(GridPrinting, AFailureWhilePrintingLeavesTheGridAsItWas) {
  Sheet s(4);
  const TRect bounds = s.grid.GetBoundsRect();
  const int top = s.g->GetTop();
  s.grid.OnPrintBeforeResettingScale = [](TObject*) { throw std::runtime_error("paper jam"); };
  auto dc = TDeviceContext::CreateImage(400, 400);
  int w = 0, h = 0, printed = 0;
  EXPECT_THROW(TvxGridPrinting::Print(&s.grid, dc.get(), 0, 0, 1.5, 1.5, s.grid.GetCell(1, s.rows[2]->ListIndex()),
                                      -1, 200, w, h, -1, -1, {}, printed),
               std::runtime_error);
  EXPECT_EQ(s.grid.GetBoundsRect(), bounds);
  EXPECT_EQ(s.g->GetTop(), top);
  EXPECT_FALSE(s.grid.GetIsPrinting());
  EXPECT_FALSE(dc->HasClip());
}

TEST(GridPrinting, ABlockWithoutAPageEndsAtTheWorkingHeightAndSaysWhere) {
  Sheet s(700);  // well past 10,000 pixels of rows
  const int rh = s.RowHeight();
  auto dc = TDeviceContext::CreateImage(300, 300);
  int w = 0, h = 0, printed = 0;
  std::vector<TObject*> breaks;
  TvxGridPrinting::Print(&s.grid, dc.get(), 0, 0, 0.02, 0.02, nullptr, std::numeric_limits<int>::max(), 250, w, h,
                         -1, -1, [&](bool, int, TObject* o) { breaks.push_back(o); }, printed);
  EXPECT_GT(printed, 10000 / rh - 2);
  EXPECT_LT(printed, 10000 / rh + 2);
  ASSERT_EQ(breaks.size(), 1u);
  EXPECT_EQ(breaks[0], s.rows[printed - 1]);
}
