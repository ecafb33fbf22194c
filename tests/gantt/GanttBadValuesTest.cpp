// Values at the edges: times that are not numbers, infinite or far outside
// the calendar, ends the wrong way round, sizes and indexes of zero, below
// zero or at the largest int, megabyte texts. The chart paints, prints,
// drags and steps through them to a defined answer, with no sanitizer report.
#include <gtest/gtest.h>

#include <QFile>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "GanttSupport.h"
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/printing/vxGanttPrinting.h>

using namespace vx;
using vxtest::TestGant;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Two rows, the first with a bar the case spoils, the second with a sound one
// beside it.
struct Chart : TestGant {
  TvxDataEntity_Tree* node = nullptr;
  TvxDataEntity_Kronit* bar = nullptr;
  TvxDataEntity_Kronit* sound = nullptr;
  Chart() {
    vxtest::ShowWindow(this);
    node = Node(nullptr, "spoilt");
    bar = Item(node, 1, 2);
    bar->GetTimeItemTextCollection()->AddText("bar", 2, 1, 1);
    sound = Item(Node(nullptr, "sound"), 2, 3);
    vxtest::ProcessEventsUntilIdle();
  }
  void SetTimes(TDateTime a, TDateTime b) {
    bar->SetStartDateTime(a);
    bar->SetStopDateTime(b);
    bar->DoInfoPush();
  }
  // Paint, print, drag across the spoilt row and the sound one, hover, keys.
  void Exercise() {
    Repaint();
    TBitmap shot;
    GetGA()->PaintTo(&shot);
    const std::string pdf = testing::TempDir() + "gantt-bad-values.pdf";
    TPrintSetup setup;
    setup.fDpi = 100;
    TvxPrintGantt::PrintToPdf(this, pdf, setup);
    QFile::remove(QString::fromStdString(pdf));
    for (TvxDataEntity_Kronit* k : {bar, sound}) {
      TGantRow* row = k->GetRow();
      if (!row) continue;
      row->UpdateRect();
      const int y = (row->GetRect().Top + row->GetRect().Bottom) / 2;
      for (int x : {5, 150, GetGA()->GetWidth() - 5}) {
        vxtest::MouseMove(GetGA(), x, y);
        vxtest::MousePress(GetGA(), x, y);
        vxtest::MouseMove(GetGA(), x + 60, y + 20);
        vxtest::MouseRelease(GetGA(), x + 60, y + 20);
      }
    }
    SetActiveDataEntity(bar);
    GetGA()->SetFocus();
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Home, Qt::Key_End, Qt::Key_Down, Qt::Key_Up})
      vxtest::KeyClick(GetGA(), key);
    (void)HintText(bar);
    vxtest::ProcessEventsUntilIdle();
  }
};

struct Case {
  const char* name;
  std::function<void(Chart&)> spoil;
  // What must hold afterwards (the defined answer); may be empty.
  std::function<void(Chart&)> expect;
};

const Case kCases[] = {
    {"times that are not numbers", [](Chart& c) { c.SetTimes(kNaN, kNaN); }, {}},
    {"infinite times", [](Chart& c) { c.SetTimes(-kInf, kInf); }, {}},
    {"huge times, ends the wrong way round", [](Chart& c) { c.SetTimes(1e300, -1e300); }, {}},
    {"huge times", [](Chart& c) { c.SetTimes(-1e300, 1e300); }, {}},
    {"year 1 to year 9999", [](Chart& c) { c.SetTimes(EncodeDate(1, 1, 1), EncodeDate(9999, 12, 31)); }, {}},
    {"before year 1 and after 9999", [](Chart& c) { c.SetTimes(-1e6, 3.5e6); }, {}},
    {"a long bar: two years at 100 pixels a day",
     [](Chart& c) { c.SetTimes(TestGant::kDay0 - 365, TestGant::kDay0 + 365); },
     [](Chart& c) { EXPECT_EQ(c.OutlineCount(), 0); }},
    {"insets, fixed size, sub-column and image at the largest int",
     [](Chart& c) {
       c.bar->SetTopInset(INT_MAX);
       c.bar->SetBottomInset(INT_MAX);
       c.bar->SetFixedSize(INT_MAX);
       c.bar->SetSubCol(INT_MAX);
       c.bar->SetImageIndex(INT_MAX);
       c.bar->SetStyle(255);
       c.RowOf(c.node)->SetUseSubCols(INT_MAX);
     },
     [](Chart& c) { EXPECT_LE(c.bar->GetSubCol(), 1 << 16); }},
    {"insets and sizes below zero",
     [](Chart& c) {
       c.bar->SetTopInset(INT_MIN);
       c.bar->SetBottomInset(-5);
       c.bar->SetFixedSize(-7);
       c.bar->SetSubCol(INT_MIN);
       c.RowOf(c.node)->SetUseSubCols(-3);
     },
     {}},
    {"a megabyte of text at offsets of the largest int",
     [](Chart& c) {
       c.bar->GetTimeItemTextCollection()->AddText(std::string(1 << 20, 'x'), INT_MAX, INT_MIN, 1);
       c.bar->GetTimeItemTextCollection()->AddTextEx(std::string(1 << 20, 'y'), INT_MIN, INT_MAX, 9, trpOutsideFar,
                                                     trpOutsideNear);
       c.node->SetText(std::string(200, 'z'));
     },
     {}},
    {"a time axis of no number, of infinity, turned round",
     [](Chart& c) {
       c.GetDateScaler()->SetStart(kNaN);
       c.GetDateScaler()->SetStop(kInf);
       c.GetDateScaler()->SetStart(1e300);
       c.GetDateScaler()->SetStop(-1e300);
       c.GetDateScaler()->SetScale(kNaN);
       c.GetDateScaler()->SetZoomFactor(0);
     },
     [](Chart& c) {
       EXPECT_TRUE(std::isfinite(c.GetDateScaler()->GetStart()));
       EXPECT_TRUE(std::isfinite(c.GetDateScaler()->GetStop()));
       EXPECT_LT(c.GetDateScaler()->GetStart(), c.GetDateScaler()->GetStop());
     }},
    {"a snap of no number, of infinity",
     [](Chart& c) {
       c.GetSnap()->fStartSnapONOFF = c.GetSnap()->fStopSnapONOFF = true;
       c.GetSnap()->fStartSnap = kNaN;
       c.GetSnap()->fStopSnap = kInf;
     },
     [](Chart& c) {
       EXPECT_TRUE(std::isfinite(c.bar->GetStartDateTime()));
       EXPECT_TRUE(std::isfinite(c.bar->GetStopDateTime()));
     }},
    {"sizes of the chart's parts at the largest int and below zero",
     [](Chart& c) {
       c.SetTreeWidth(INT_MAX);
       c.SetIndentTree(INT_MAX);
       c.SetScalerHeight(INT_MAX);
       c.GetTreeView()->SetItemHeight(INT_MAX);
       c.SetTreeWidth(-50);
       c.SetIndentTree(-3);
       c.SetScalerHeight(-1);
       c.GetTreeView()->SetItemHeight(0);
     },
     [](Chart& c) {
       EXPECT_GE(c.GetTreeWidth(), 0);
       EXPECT_LE(c.GetTreeWidth(), c.GetWidth());
       EXPECT_GE(c.GetScalerHeight(), 0);
     }},
    {"layers and rows at indexes of the largest int and below zero",
     [](Chart& c) {
       EXPECT_EQ(c.AddKronit(c.node, INT_MAX), nullptr);
       EXPECT_EQ(c.AddKronit(c.node, -1), nullptr);
       EXPECT_EQ(c.GetRowList()->GetGantRow(INT_MAX), nullptr);
       EXPECT_EQ(c.GetRowList()->GetGantRow(-1), nullptr);
       EXPECT_EQ(c.RowOf(c.node)->GetLayer(INT_MAX), nullptr);
       c.RowOf(c.node)->SetDrawLayerStart(INT_MAX);
       c.RowOf(c.node)->DataListOnSubCol(INT_MAX, INT_MAX);
     },
     [](Chart& c) { EXPECT_LE(c.RowOf(c.node)->GetLayerCount(), 2); }},
    {"print margins of no number and of 1e300: nothing to print",
     [](Chart& c) {
       for (double margin : {1e300, kNaN, -kInf, kInf}) {
         TPrintSetup setup;
         setup.fMarginMm = margin;
         const std::string pdf = testing::TempDir() + "gantt-margin.pdf";
         const int pages = TvxPrintGantt::PrintToPdf(&c, pdf, setup);
         EXPECT_EQ(pages, 0) << margin;
         EXPECT_EQ(TvxPrintGantt::CountPages(&c, setup) == 0, pages == 0) << margin;
         QFile::remove(QString::fromStdString(pdf));
       }
       TPrintSetup huge;
       huge.fDpi = INT_MAX;
       EXPECT_EQ(TvxPrintGantt::CountPages(&c, huge), 0);
     },
     {}},
};

class GanttBadValues : public testing::TestWithParam<int> {};

TEST_P(GanttBadValues, ADefinedAnswerAndNoSanitizerReport) {
  const Case& k = kCases[GetParam()];
  SCOPED_TRACE(k.name);
  vxtest::MessageCapture messages;
  Chart c;
  k.spoil(c);
  c.Exercise();
  if (k.expect) k.expect(c);
  EXPECT_TRUE(messages.Messages().empty()) << messages.Messages().front();
}

INSTANTIATE_TEST_SUITE_P(Every, GanttBadValues, testing::Range(0, static_cast<int>(std::size(kCases))));

}  // namespace
