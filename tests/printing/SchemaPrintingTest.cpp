// The schedule on paper: a range of columns and a time range at scaled
// positions, pages that end where the next column no longer fits, the
// schedule put back after every page and after a failure, and whole
// documents to PDF in both orientations.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <set>
#include <stdexcept>

#include "SchemaSupport.h"
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/printing/vxSchemaPrinting.h>

using namespace vx;
using vxtest::TestSchema;

namespace {

constexpr TColor kRed = 0x0000FF;

// Five columns "C0".."C4" of 50 pixels; column 2 has a red booking 10:00-12:00.
struct Plan : TestSchema {
  TvxDataEntity_SchemaTime* booking = nullptr;
  Plan() {
    for (int k = 0; k < 5; ++k) Column("C" + std::to_string(k));
    booking = Item(2, 10, 12);
    booking->SetBackColor(kRed);
    Settle();
  }
};

bool Red(TDeviceContext* dc, int x, int y) {
  dc->EndPainting();
  return (dc->Image()->pixel(x, y) & 0xFFFFFF) == 0xFF0000;
}

// The schedule's state that printing must leave as it was.
struct Snapshot {
  int topLeft;
  bool flipped;
  TDateTime start, stop;
  TRect scaler, area;
  explicit Snapshot(TvxSchema& s)
      : topLeft(s.GetColumns()->GetTopLeftCol()),
        flipped(s.GetFlipView()),
        start(s.GetScaler()->GetStart()),
        stop(s.GetScaler()->GetStop()),
        scaler(s.GetScaler()->GetBoundsRect()),
        area(s.GetSchemaArea()->GetBoundsRect()) {}
  bool operator==(const Snapshot& o) const {
    return topLeft == o.topLeft && flipped == o.flipped && start == o.start && stop == o.stop &&
           scaler == o.scaler && area == o.area;
  }
};

constexpr double kFrom = TestSchema::kDay0 + 8 * TestSchema::kHour, kTo = TestSchema::kDay0 + 16 * TestSchema::kHour;

}  // namespace

TEST(SchemaPrinting, ColumnsTwoToFourAtScaledPositionsAndTheScheduleUnchanged) {
  Plan s;
  const Snapshot before(s);
  auto dc = TDeviceContext::CreateImage(600, 1100);
  int w = 0, h = 0;
  // Eight hours over 480 pixels, the axis 50 wide, twice the size at (10, 10).
  TvxPrintSchema::Print(&s, dc.get(), 10, 10, 480, 50, 2, 2, 2, 4, kFrom, kTo, false, w, h);
  EXPECT_EQ(w, (50 + 150) * 2);
  EXPECT_EQ(h, (20 + 480) * 2);
  // Column 2 comes first, right of the axis: x 110..210; 10:00-12:00 is
  // 120..240 minutes down the area, which starts at y 50.
  EXPECT_TRUE(Red(dc.get(), 160, 50 + 240 + 4));
  EXPECT_TRUE(Red(dc.get(), 160, 50 + 480 - 4));
  EXPECT_FALSE(Red(dc.get(), 160, 50 + 240 - 4));
  EXPECT_FALSE(Red(dc.get(), 160, 50 + 480 + 4));
  EXPECT_FALSE(Red(dc.get(), 260, 400));  // column 3 has nothing
  // The titles above the area, the axis left of it, nothing beyond the block.
  EXPECT_TRUE(vxtest::Inked(dc.get(), Rect(112, 12, 208, 48)));
  EXPECT_TRUE(vxtest::Inked(dc.get(), Rect(312, 12, 408, 48)));
  EXPECT_TRUE(vxtest::Inked(dc.get(), Rect(10, 50, 110, 1010)));
  EXPECT_FALSE(vxtest::Inked(dc.get(), Rect(412, 0, 600, 1100)));
  EXPECT_FALSE(vxtest::Inked(dc.get(), Rect(0, 1012, 600, 1100)));
  EXPECT_EQ(Snapshot(s), before);

  // A last column past the end is the last column.
  TvxPrintSchema::Print(&s, dc.get(), 10, 10, 480, 50, 2, 2, 2, 99, kFrom, kTo, false, w, h);
  EXPECT_EQ(w, (50 + 150) * 2);

  // The titles' font is sized through the area, so the application's font
  // handler decides it as it does the area's: a tiny font leaves the lower
  // part of a title cell blank, the default one reaches into it.
  const TRect titleBelowTop = Rect(112, 22, 208, 48);
  std::set<TvxOffscreenPaint*> callers;
  for (const bool tiny : {true, false}) {
    s.OnPrintResizeFont = [&](TvxOffscreenPaint* c, int& size, bool& byDefault) {
      callers.insert(c);
      if (!tiny) return;
      size = 2;
      byDefault = false;
    };
    auto titles = TDeviceContext::CreateImage(600, 1100);
    TvxPrintSchema::Print(&s, titles.get(), 10, 10, 480, 50, 2, 2, 2, 4, kFrom, kTo, false, w, h);
    EXPECT_NE(vxtest::Inked(titles.get(), titleBelowTop), tiny) << tiny;
  }
  s.OnPrintResizeFont = nullptr;
  EXPECT_EQ(callers, std::set<TvxOffscreenPaint*>{s.GetSchemaArea()});

  // Flipped: titles down the left, time across; column 2 is the first row.
  auto flipped = TDeviceContext::CreateImage(1200, 600);
  TvxPrintSchema::Print(&s, flipped.get(), 0, 0, 480, 30, 2, 2, 2, 4, kFrom, kTo, true, w, h);
  const TPoint q = s.GetFlippedQuadPoint();
  EXPECT_EQ(w, (q.X + 480) * 2);
  EXPECT_EQ(h, (30 + 3 * (s.GetColumns()->GetVisibleDefaultHeight() + 1)) * 2);
  const int rowMiddle = 30 * 2 + s.GetColumns()->GetVisibleDefaultHeight();
  EXPECT_TRUE(Red(flipped.get(), (q.X + 180) * 2, rowMiddle));
  EXPECT_FALSE(Red(flipped.get(), (q.X + 100) * 2, rowMiddle));
  EXPECT_EQ(Snapshot(s), before);
}

TEST(SchemaPrinting, PagesEndWhereTheNextColumnNoLongerFits) {
  Plan s;
  const Snapshot before(s);
  auto dc = TDeviceContext::CreateImage(600, 1100);
  std::vector<int> breaks;
  auto cb = [&](bool isWidth, int, TObject* o) {
    EXPECT_TRUE(isWidth);
    breaks.push_back(DataEntity_SchemaColumn(o)->ListIndex());
  };
  int asked = 0;
  int limit = 10 + (50 + 2 * 50) * 2 + 5;  // the axis and two columns
  s.OnPrintToHdcNewPage = [&](TvxSchema_ComBasic* sender, int page, int& ph, int& pw, bool& go, bool&) {
    EXPECT_EQ(sender, &s);
    EXPECT_EQ(page, ++asked);
    EXPECT_EQ(pw, -1);
    EXPECT_EQ(ph, -1);
    pw = limit;
    go = true;
  };
  int w = 0, h = 0;
  TvxPrintSchema::Print(&s, dc.get(), 10, 10, 480, 50, 2, 2, 0, 4, kFrom, kTo, false, w, h, -1, -1, cb);
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(breaks, (std::vector<int>{2, 4}));
  EXPECT_EQ(w, (50 + 50) * 2);  // the last page: column 4 alone
  EXPECT_EQ(Snapshot(s), before);

  // No limit: everything on one page.
  breaks.clear();
  asked = 0;
  limit = -1;
  TvxPrintSchema::Print(&s, dc.get(), 10, 10, 480, 50, 2, 2, 0, 4, kFrom, kTo, false, w, h, -1, -1, cb);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(breaks.empty());
  EXPECT_EQ(w, (50 + 250) * 2);

  // A page narrower than one column ends the job instead of repeating it.
  asked = 0;
  limit = 10 + 50 * 2 + 20;
  TvxPrintSchema::Print(&s, dc.get(), 10, 10, 480, 50, 2, 2, 0, 4, kFrom, kTo, false, w, h);
  EXPECT_EQ(asked, 1);
}

TEST(SchemaPrinting, AFailureHalfWayLeavesTheScheduleExactlyAsItWas) {
  Plan s;
  s.GetColumns()->SetTopLeftCol(1);
  s.Settle();  // scrolled, the column scroll bar shows and the area makes room for it
  const Snapshot before(s);
  auto dc = TDeviceContext::CreateImage(600, 1100);
  int w = 0, h = 0;
  // From the page handler, on the second page.
  s.OnPrintToHdcNewPage = [](TvxSchema_ComBasic*, int page, int& ph, int&, bool&, bool&) {
    if (page == 2) throw std::runtime_error("out of paper");
    ph = 200;  // flipped, the columns run down the page
  };
  EXPECT_THROW(TvxPrintSchema::Print(&s, dc.get(), 10, 10, 480, 50, 2, 2, 0, 4, kFrom, kTo, true, w, h),
               std::runtime_error);
  EXPECT_EQ(Snapshot(s), before);
  // From the drawing, in the other orientation.
  s.OnPrintToHdcNewPage = nullptr;
  s.OnGetDrawingRect = [](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime*, TRect&) -> bool {
    throw std::runtime_error("ink out");
  };
  EXPECT_THROW(TvxPrintSchema::Print(&s, dc.get(), 10, 10, 480, 50, 2, 2, 0, 4, kFrom, kTo, true, w, h),
               std::runtime_error);
  EXPECT_EQ(Snapshot(s), before);
  EXPECT_FALSE(s.GetSchemaArea()->GetIsPrinting());
  EXPECT_FALSE(dc->HasClip());
}

TEST(SchemaPrinting, ATwoWeekResourcePlanToPdfInBothOrientations) {
  TestSchema s;
  for (int k = 0; k < 40; ++k) s.Column("Crane " + std::to_string(k));
  s.GetColumns()->GetColumn(1)->SetText("Crane 1\nNorth");  // a title of two lines
  s.SetQuadPoint(Point(50, 36));
  for (int k = 0; k < 40; ++k)
    for (int d = 0; d < 14; d += 3) s.Item(k, d * 24 + 9, d * 24 + 15)->AddText("Lift " + std::to_string(k), 2, 2, 1);
  s.Settle();
  const Snapshot before(s);
  QTemporaryDir dir;
  const std::string pdf = dir.filePath("plan.pdf").toStdString();
  TPrintSetup setup;
  setup.fStart = TestSchema::kDay0;
  setup.fStop = TestSchema::kDay0 + 14;
  setup.fOrientation = ppoPortrait;

  // Normal: columns across, time down; the time range over further pages.
  const int pages = TvxPrintSchema::PrintToPdf(&s, pdf, setup);
  EXPECT_GT(pages, 2);
  EXPECT_EQ(pages, TvxPrintSchema::CountPages(&s, setup));
  std::string text = vxtest::PdfText(pdf);
  EXPECT_NE(text.find("Crane 39"), std::string::npos);
  EXPECT_NE(text.find("Lift 0"), std::string::npos);
  EXPECT_NE(text.find("North"), std::string::npos);
  EXPECT_EQ(text.find("1North"), std::string::npos);  // the lines one under the other
  EXPECT_EQ(Snapshot(s), before);
  // Every column across one page: only the time goes on further pages.
  setup.fFitColumnsToPage = true;
  const int fitted = TvxPrintSchema::PrintToPdf(&s, pdf, setup);
  EXPECT_LT(fitted, pages);
  EXPECT_EQ(fitted, TvxPrintSchema::CountPages(&s, setup));
  setup.fFitColumnsToPage = false;

  // Flipped, landscape: resources down, time across.
  s.SetFlipView(true);
  s.Settle();
  setup.fOrientation = ppoLandscape;
  const Snapshot flipped(s);
  const int across = TvxPrintSchema::PrintToPdf(&s, pdf, setup);
  EXPECT_GT(across, 1);
  EXPECT_EQ(across, TvxPrintSchema::CountPages(&s, setup));
  text = vxtest::PdfText(pdf);
  EXPECT_NE(text.find("Crane 39"), std::string::npos);
  EXPECT_EQ(Snapshot(s), flipped);

  // The span squeezed onto one page's length: fewer pages.
  setup.fFitToPage = true;
  EXPECT_LT(TvxPrintSchema::PrintToPdf(&s, pdf, setup), across);
  // Nothing to print: no file.
  setup.fMarginMm = 200;
  const std::string none = dir.filePath("none.pdf").toStdString();
  EXPECT_EQ(TvxPrintSchema::PrintToPdf(&s, none, setup), 0);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(none)));
}
