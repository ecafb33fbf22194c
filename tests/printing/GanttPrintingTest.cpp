// The Gantt chart on paper: one block at scaled positions, page by page under
// the application's control, on its grid side, and whole documents to PDF.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <set>
#include <stdexcept>
#include <tuple>

#include "GanttSupport.h"
#include <vxplan/platform/rtl/Color.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/printing/vxGanttPrinting.h>

using namespace vx;
using vxtest::TestGant;

namespace {

constexpr TColor kBar = 0x0000FF;  // red

// A chart of n tasks, task k with a red bar from day 1 to day 3.
struct Plan : TestGant {
  std::vector<TvxDataEntity_Tree*> tasks;
  explicit Plan(int n, const std::string& name = "task") {
    for (int k = 0; k < n; ++k) {
      tasks.push_back(Node(nullptr, name + " " + std::to_string(k)));
      Item(tasks.back(), 1, 3)->SetColor(kBar);
    }
    vxtest::ProcessEventsUntilIdle();
  }
};

bool Red(TDeviceContext* dc, int x, int y) {
  dc->EndPainting();
  return (dc->Image()->pixel(x, y) & 0xFFFFFF) == 0xFF0000;
}

// A block: left side 150, area 400 for days 0..4 (100 per day), axis 40 high,
// scaled twice at (10, 10).
struct Block {
  int width = 0, height = 0, rows = 0;
  void Print(TvxGant_ComBasic* g, HDC dc, TvxDataEntity_Tree* start = nullptr, int count = -1, int pageHeight = -1,
             const TOnSizeCallBack& cb = {}) {
    TvxPrintGantt::InternalPrintLoop(g, dc, 10, 10, 2, 2, 150, start, count, false, TestGant::kDay0,
                                     TestGant::kDay0 + 4, 400, 40, width, height, -1, pageHeight, cb, rows);
  }
};

}  // namespace

TEST(GanttPrinting, OneBlockAtScaledPositionsAndTheChartPutBack) {
  Plan g(3);
  const TDateTime start = g.GetDateScaler()->GetStart(), stop = g.GetDateScaler()->GetStop();
  const TRect scalerBounds = g.GetDateScaler()->GetBoundsRect(), areaBounds = g.GetGA()->GetBoundsRect();
  auto dc = TDeviceContext::CreateImage(1200, 400);
  Block b;
  b.Print(&g, dc.get());
  EXPECT_EQ(b.rows, 3);
  EXPECT_EQ(b.width, 800 + 300);
  EXPECT_EQ(b.height, 80 + 3 * 2 * TestGant::kRowHeight);

  // The area starts at 10 + 150 * 2 = 310, under the axis (10 + 40 * 2 = 90);
  // day 1 is 200 device pixels in, day 3 600. Rows are 40 high.
  const int barY = 90 + 20;
  EXPECT_FALSE(Red(dc.get(), 508, barY));
  EXPECT_TRUE(Red(dc.get(), 512, barY));
  EXPECT_TRUE(Red(dc.get(), 908, barY));
  EXPECT_FALSE(Red(dc.get(), 912, barY));
  EXPECT_TRUE(Red(dc.get(), 700, 90 + 40 + 20));   // the second task's bar
  EXPECT_FALSE(Red(dc.get(), 700, 90 + 120 + 5));  // nothing below the last row
  // The tree's text in each row, left of the area; the axis above the area only.
  EXPECT_TRUE(vxtest::Inked(dc.get(), Rect(10, 90, 310, 130)));
  EXPECT_TRUE(vxtest::Inked(dc.get(), Rect(10, 170, 310, 210)));
  EXPECT_TRUE(vxtest::Inked(dc.get(), Rect(310, 10, 1110, 90)));
  EXPECT_FALSE(vxtest::Inked(dc.get(), Rect(10, 10, 310, 90)));
  EXPECT_FALSE(vxtest::Inked(dc.get(), Rect(1111, 0, 1200, 400)));
  // A tick of the axis at each day: a dark column where day 2 begins.
  bool tick = false;
  dc->EndPainting();
  for (int x = 708; x <= 712; ++x)
    for (int y = 60; y < 90; ++y) tick = tick || (dc->Image()->pixel(x, y) & 0xFFFFFF) < 0x808080;
  EXPECT_TRUE(tick);

  EXPECT_EQ(g.GetDateScaler()->GetStart(), start);
  EXPECT_EQ(g.GetDateScaler()->GetStop(), stop);
  EXPECT_EQ(g.GetDateScaler()->GetBoundsRect(), scalerBounds);
  EXPECT_EQ(g.GetGA()->GetBoundsRect(), areaBounds);
  EXPECT_FALSE(g.GetGA()->GetIsPrinting());
  // The screen still hits the bars where it shows them.
  TvxDataEntity_Kronit* first = g.RowOf(g.tasks[0])->ItemCount() ? g.GetDataEntityFromXY(200, 10) : nullptr;
  EXPECT_NE(first, nullptr);
}

TEST(GanttPrinting, AFailingPageLeavesTheChartAsItWas) {
  Plan g(5);
  const TDateTime start = g.GetDateScaler()->GetStart(), stop = g.GetDateScaler()->GetStop();
  const TRect areaBounds = g.GetGA()->GetBoundsRect();
  g.OnUserDrawForeground = [](TvxGant_ComBasic*, const TRect&, TCanvas*) { throw std::runtime_error("ink out"); };
  auto dc = TDeviceContext::CreateImage(1200, 400);
  Block b;
  EXPECT_THROW(b.Print(&g, dc.get()), std::runtime_error);
  EXPECT_EQ(g.GetDateScaler()->GetStart(), start);
  EXPECT_EQ(g.GetDateScaler()->GetStop(), stop);
  EXPECT_EQ(g.GetGA()->GetBoundsRect(), areaBounds);
  EXPECT_FALSE(g.GetGA()->GetIsPrinting());
  EXPECT_FALSE(dc->HasClip());
  // The next print works.
  g.OnUserDrawForeground = nullptr;
  b.Print(&g, dc.get());
  EXPECT_EQ(b.rows, 5);
}

TEST(GanttPrinting, PagesUnderTheApplicationsControl) {
  Plan g(10);
  auto dc = TDeviceContext::CreateImage(1200, 400);
  // Four rows of 40 fit under the axis: 90 + 4 * 40 = 250.
  int asked = 0, stopAt = 0, pageHeight = 260, w = 0, h = 0, measured = 0;
  bool draw = true;
  g.OnPrintToHdcNewPage = [&](TvxGant_ComBasic* theGant, int page, int& ph, int& pw, bool& go, bool& render) {
    EXPECT_EQ(theGant, &g);
    EXPECT_EQ(page, ++asked);
    EXPECT_EQ(std::make_pair(ph, pw), std::make_pair(-1, -1));
    ph = pageHeight;
    go = page != stopAt;
    render = draw && page > measured;
  };
  // Answers each break's row, the row the next page starts with.
  auto print = [&](TDeviceContext* d, TvxDataEntity_Tree* start = nullptr, int count = -1) {
    std::vector<std::string> breaks;
    asked = 0;
    const TOnSizeCallBack cb = [&](bool, int, TObject* o) {
      breaks.push_back(static_cast<TvxDataEntity_Tree*>(o)->GetText());
    };
    TvxPrintGantt::Print(&g, d, 10, 10, 2, 2, 150, start, count, false, TestGant::kDay0, TestGant::kDay0 + 4,
                         400, 40, w, h, -1, -1, cb);
    return breaks;
  };
  // Pages of 4, 4 and 2 rows.
  EXPECT_EQ(print(dc.get()), (std::vector<std::string>{"task 4", "task 8"}));
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(h, 80 + 2 * 40);  // the last page

  // Stopped on page 2: one page printed, asked twice.
  stopAt = 2;
  EXPECT_EQ(print(dc.get()), std::vector<std::string>{"task 4"});
  EXPECT_EQ(asked, 2);
  stopAt = 1;
  EXPECT_TRUE(print(dc.get()).empty());
  EXPECT_EQ(asked, 1);

  // Measured pages run to the end without touching the device.
  stopAt = 0;
  draw = false;
  auto clean = TDeviceContext::CreateImage(1200, 400);
  print(clean.get());
  EXPECT_EQ(asked, 3);
  EXPECT_FALSE(vxtest::Inked(clean.get(), Rect(0, 0, 1200, 400)));

  // A row count spans pages; a page too small for a row ends the job.
  draw = true;
  EXPECT_EQ(print(dc.get(), g.tasks[1], 6), std::vector<std::string>{"task 5"});
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(h, 80 + 2 * 40);
  // Rows of a page only measured are not used up: pages 2 and 3 print the
  // five rows left of the six asked for, the last page one row high.
  measured = 1;
  EXPECT_EQ(print(dc.get(), g.tasks[1], 6), (std::vector<std::string>{"task 5", "task 9"}));

  EXPECT_EQ(asked, 3);
  EXPECT_EQ(h, 80 + 1 * 40);
  measured = 0;
  pageHeight = 100;
  print(dc.get());
  EXPECT_EQ(asked, 1);
}

TEST(GanttPrinting, ExpandAllPrintsClosedRowsAndClosesThemAgain) {
  TestGant g;
  TvxDataEntity_Tree* open = g.Node(nullptr, "open");
  g.Node(open, "open.1");
  TvxDataEntity_Tree* closed = g.Node(nullptr, "closed");
  TvxDataEntity_Tree* inner = g.Node(closed, "closed.1");
  g.Node(inner, "closed.1.1");
  open->SetExpanded(true);
  vxtest::ProcessEventsUntilIdle();
  auto dc = TDeviceContext::CreateImage(1200, 600);
  int w = 0, h = 0, rows = 0;
  TvxPrintGantt::InternalPrintLoop(&g, dc.get(), 0, 0, 1, 1, 150, nullptr, -1, true, TestGant::kDay0,
                                   TestGant::kDay0 + 4, 400, 40, w, h, -1, -1, {}, rows);
  EXPECT_EQ(rows, 5);
  EXPECT_EQ(w, 150 + 400);
  EXPECT_TRUE(open->GetExpanded());
  EXPECT_FALSE(closed->GetExpanded());
  EXPECT_FALSE(inner->GetExpanded());
  TvxPrintGantt::InternalPrintLoop(&g, dc.get(), 0, 0, 1, 1, 150, nullptr, -1, false, TestGant::kDay0,
                                   TestGant::kDay0 + 4, 400, 40, w, h, -1, -1, {}, rows);
  EXPECT_EQ(rows, 3);
}

TEST(GanttPrinting, AHugePlanIsVisitedOnlyWhereThePagesAre) {
  TestGant g;
  TGantTree* tree = g.GetTreeView();
  int loads = 0;
  tree->OnLoadItem = [&](TObject*, TvxDataEntity* e) {
    ++loads;
    auto* node = static_cast<TvxDataEntity_Tree*>(e);
    node->SetText("task " + std::to_string(node->ListIndex()));
    g.Item(node, 1, 2)->SetColor(kBar);
  };
  tree->OnUnLoadItem = [](TObject*, TvxDataEntity*, bool& can) { can = true; };
  TvxDataList* roots = tree->GetRootDataList();
  roots->AddUnloaded(100000);
  vxtest::ProcessEventsUntilIdle();
  auto* from = static_cast<TvxDataEntity_Tree*>(roots->GetItems(60000));
  loads = 0;
  int pages = 0;
  g.OnPrintToHdcNewPage = [&](TvxGant_ComBasic*, int page, int& h, int&, bool& go, bool&) {
    h = 90 + 25 * 40;  // 25 rows a page
    go = page <= 3;
    pages += go;
  };
  auto dc = TDeviceContext::CreateImage(1200, 1200);
  int w = 0, h = 0;
  TvxPrintGantt::Print(&g, dc.get(), 10, 10, 2, 2, 150, from, -1, false, TestGant::kDay0, TestGant::kDay0 + 4, 400,
                       40, w, h);
  EXPECT_EQ(pages, 3);
  EXPECT_EQ(h, 80 + 25 * 40);
  // The three pages' rows (and the row that would open the fourth) were loaded, no others.
  EXPECT_LE(loads, 3 * 25 + 1);
  EXPECT_LE(roots->LoadedCount(), 500);
  EXPECT_LE(g.GetRowList()->Count(), 500);
  // The last page shows rows 60050.. with their bars.
  EXPECT_TRUE(Red(dc.get(), 700, 90 + 20));
  EXPECT_TRUE(Red(dc.get(), 700, 90 + 24 * 40 + 20));
}

TEST(GanttPrinting, APlanToPdfPageByPage) {
  Plan g(60, "Foundation pour");
  QTemporaryDir dir;
  const std::string path = dir.filePath("plan.pdf").toStdString();
  TPrintSetup setup;  // A4 landscape at 300 dpi: some 30 rows a page
  const int pages = TvxPrintGantt::CountPages(&g, setup);
  EXPECT_GE(pages, 2);
  EXPECT_LE(pages, 3);
  EXPECT_EQ(TvxPrintGantt::PrintToPdf(&g, path, setup), pages);
  EXPECT_EQ(vxtest::CountPdfPages(path), pages);
  const std::string text = vxtest::PdfText(path);
  EXPECT_NE(text.find("Foundation pour 0"), std::string::npos);
  EXPECT_NE(text.find("Foundation pour 59"), std::string::npos);

  // A span of its own at the axis's scale (7 days on about 600 pixels) goes
  // across pages: 20 days on pages of about 1000 pixels.
  setup.fStart = TestGant::kDay0;
  setup.fStop = TestGant::kDay0 + 20;
  setup.fPaper = ppsLetter;
  setup.fOrientation = ppoPortrait;
  const int tall = TvxPrintGantt::CountPages(&g, setup);
  setup.fFitToPage = true;
  const int bands = TvxPrintGantt::CountPages(&g, setup);
  setup.fFitToPage = false;
  ASSERT_GT(bands, 0);
  EXPECT_EQ(tall % bands, 0);
  EXPECT_GE(tall / bands, 3);
  EXPECT_EQ(TvxPrintGantt::PrintToPdf(&g, path, setup), tall);
  EXPECT_EQ(vxtest::CountPdfPages(path), tall);
  QFile f(QString::fromStdString(path));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().contains("/MediaBox [0 0 612.000000 792.000000]"));

  // What cannot be printed says so and writes nothing.
  setup.fStop = setup.fStart - 1;
  const std::string none = dir.filePath("none.pdf").toStdString();
  EXPECT_EQ(TvxPrintGantt::PrintToPdf(&g, none, setup), 0);
  setup = TPrintSetup();
  setup.fMarginMm = 150;
  EXPECT_EQ(TvxPrintGantt::PrintToPdf(&g, none, setup), 0);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(none)));
  EXPECT_EQ(TvxPrintGantt::PrintToPdf(&g, "/nonexistent-dir/plan.pdf"), 0);
  EXPECT_EQ(TvxPrintGantt::PrintToPdf(nullptr, path), 0);
}

TEST(GanttPrinting, APrinterTakesTheSamePages) {
  Plan g(40);
  QTemporaryDir dir;
  const std::string path = dir.filePath("printer.pdf").toStdString();
  TPrintSetup setup;
  setup.fOrientation = ppoPortrait;
  auto printer = TDeviceContext::CreatePrinter(setup.WidthMm(), setup.HeightMm(), false, path);
  ASSERT_NE(printer, nullptr);
  EXPECT_TRUE(printer->IsPrinter());
  setup.fDpi = printer->PixelsPerInch();
  const int pages = TvxPrintGantt::PrintPages(&g, printer.get(), setup);
  printer->EndDoc();
  EXPECT_EQ(pages, TvxPrintGantt::CountPages(&g, setup));
  EXPECT_EQ(vxtest::CountPdfPages(path), pages);
  EXPECT_NE(vxtest::PdfText(path).find("task 39"), std::string::npos);
}

namespace {

// A chart on its grid side: n grid nodes, node k with a red bar from day 1 to 3.
struct GridPlan : TestGant {
  std::vector<TvxDataEntity_GridTreeNode*> nodes;
  explicit GridPlan(int n) {
    for (int k = 0; k < n; ++k) {
      nodes.push_back(GridNode_Add(nullptr));
      GetGrid()->SetText(GetGrid()->GetCell(1, nodes.back()->GetAxisContentItem()->ListIndex()),
                         "grid task " + std::to_string(k));
      TvxDataEntity_Kronit* bar = GridNode_AddKronit(nodes.back(), 0);
      bar->SetStartDateTime(kDay0 + 1);
      bar->SetStopDateTime(kDay0 + 3);
      bar->SetColor(kBar);
    }
    SetUseGridNotTree(true);
    vxtest::ProcessEventsUntilIdle();
  }
  int RowHeight() { return nodes.front()->GetAxisContentItem()->GetCalculatedSize(); }
};

}  // namespace

TEST(GridPrinting, TheChartOnItsGridSideBarsBesideTheirRowsPageByPage) {
  GridPlan g(5);
  const int rh = g.RowHeight();
  ASSERT_GT(rh, 0);
  const int top = g.GetGrid()->GetBabGridCellForViewer()->GetTop();
  const TRect gridBounds = g.GetGrid()->GetBoundsRect();
  // One block: left side 150, area 400 for days 0..4, axis 40, scaled twice at (10, 10).
  auto dc = TDeviceContext::CreateImage(1200, 1000);
  int w = 0, h = 0;
  // The font events name the part that prints them.
  std::set<const TvxOffscreenPaint*> callers;
  g.OnPrintResizeFont = [&](TvxOffscreenPaint* c, int&, bool&) { callers.insert(c); };
  TvxPrintGantt::PrintWithGrid(&g, dc.get(), 10, 10, 2, 2, 150, g.nodes[1], -1, false, TestGant::kDay0,
                               TestGant::kDay0 + 4, 400, 40, w, h);
  const std::set<const TvxOffscreenPaint*> parts = {g.GetGA(), g.GetDateScaler(), g.GetGrid()};
  EXPECT_TRUE(callers.count(g.GetDateScaler()) && callers.count(g.GetGrid()));
  EXPECT_TRUE(std::includes(parts.begin(), parts.end(), callers.begin(), callers.end()));
  g.OnPrintResizeFont = nullptr;
  EXPECT_EQ(w, 300 + 800);
  EXPECT_EQ(h, 80 + Round(4 * rh * 2.0));
  // Every printed row has its bar from day 1 (x = 310 + 200) to day 3 (310 + 600).
  for (int k = 0; k < 4; ++k) {
    const int y = 90 + Round((k + 0.5) * rh * 2);
    EXPECT_TRUE(Red(dc.get(), 512, y)) << k;
    EXPECT_TRUE(Red(dc.get(), 908, y)) << k;
    EXPECT_FALSE(Red(dc.get(), 500, y)) << k;
    EXPECT_TRUE(vxtest::Inked(dc.get(), Rect(12, y - 4, 300, y + 4))) << k;  // the grid's text
  }
  EXPECT_FALSE(Red(dc.get(), 700, 90 + 4 * rh * 2 + 4));
  EXPECT_EQ(g.GetGrid()->GetBabGridCellForViewer()->GetTop(), top);
  EXPECT_EQ(g.GetGrid()->GetBoundsRect(), gridBounds);
  // The same block through the loop of one page, told the side and the row.
  auto loop = TDeviceContext::CreateImage(1200, 1000);
  int lw = 0, lh = 0, printed = 0;
  TvxPrintGantt::InternalPrintLoop(&g, loop.get(), 10, 10, 2, 2, 150, nullptr, -1, false, TestGant::kDay0,
                                   TestGant::kDay0 + 4, 400, 40, lw, lh, -1, -1, {}, printed, true, g.nodes[1]);
  EXPECT_EQ(std::make_tuple(lw, lh, printed), std::make_tuple(w, h, 4));
  dc->EndPainting();
  loop->EndPainting();
  EXPECT_TRUE(*loop->Image() == *dc->Image());

  // Pages of two rows under the application's control: 2, 2 and 1.
  std::vector<int> rowsPerPage;
  auto page = TDeviceContext::CreateImage(1200, 1000);
  g.OnPrintToHdcNewPage = [&](TvxGant_ComBasic*, int, int& ph, int&, bool&, bool&) {
    ph = 10 + 80 + Round(2.5 * rh * 2);
    rowsPerPage.push_back(0);
  };
  int breaks = 0;
  const TOnSizeCallBack cb = [&](bool, int, TObject*) { ++breaks; };
  TvxPrintGantt::PrintWithGrid(&g, page.get(), 10, 10, 2, 2, 150, nullptr, -1, false, TestGant::kDay0,
                               TestGant::kDay0 + 4, 400, 40, w, h, -1, -1, cb);
  EXPECT_EQ(rowsPerPage.size(), 3u);
  EXPECT_EQ(breaks, 2);
  EXPECT_EQ(h, 80 + Round(rh * 2.0));  // the last page's single row

  // The whole chart to PDF on its grid side: the grid's texts are text.
  QTemporaryDir dir;
  const std::string pdf = dir.filePath("grid.pdf").toStdString();
  g.OnPrintToHdcNewPage = nullptr;
  TPrintSetup setup;
  const int pages = TvxPrintGantt::PrintToPdf(&g, pdf, setup);
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(pages, TvxPrintGantt::CountPages(&g, setup));
  EXPECT_NE(vxtest::PdfText(pdf).find("grid task 4"), std::string::npos);
}
