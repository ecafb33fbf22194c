// Values no schedule should meet, met anyway: times that are not numbers,
// infinite, enormous, outside the calendar or the wrong way round; sizes
// and indexes of zero, below it or at the integer's end; megabyte texts.
// Each is painted, printed to PDF, dragged, stepped by the keys and hovered
// in both orientations; the answer is defined (no sanitizer report), what
// can be checked is, and a plain booking still moves afterwards.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <climits>
#include <cmath>
#include <functional>

#include "SchemaMouseSupport.h"
#include <vxplan/printing/vxSchemaPrinting.h>

using namespace vx;
using vxtest::MouseSchema;
using vxtest::TestSchema;

namespace {

constexpr double kDay0 = TestSchema::kDay0;
constexpr double kH = TestSchema::kHour;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const std::string kMegabyte(1 << 20, 'x');

void Times(TvxDataEntity_SchemaTime* e, double theStart, double theStop) {
  e->SetStartDateTime(theStart);
  e->SetStopDateTime(theStop);
}

// A row: what goes wrong (done to the schedule and to its odd booking, a
// booking of column 1 from 09:00 to 09:30 until then), and what must hold
// after painting, printing, dragging, stepping and hovering.
struct Bad {
  const char* name;
  std::function<void(MouseSchema& s, TvxDataEntity_SchemaTime* e)> make;
  std::function<void(MouseSchema& s, TvxDataEntity_SchemaTime* e)> check;
};

constexpr TColor kRed = 0x0000FF;

void NotDrawnNorHit(MouseSchema& s, TvxDataEntity_SchemaTime*) {
  const TPoint at = s.At(1, 9.25);
  EXPECT_EQ(s.GetDataEntityFromXY(at.X, at.Y), nullptr);
  EXPECT_NE(s.PaintArea()->GetPixel(at.X, at.Y), kRed);
}

// The booking's rectangle has edges within reach and sizes that fit an int.
void Bounded(MouseSchema& s, TvxDataEntity_SchemaTime* e) {
  TRect r;
  s.RectFromDataEntity(s.GetFlipView(), e, r);
  for (int edge : {r.Left, r.Top, r.Right, r.Bottom}) EXPECT_LE(std::abs(static_cast<long long>(edge)), 1000000000LL);
}

std::vector<Bad> Rows() {
  return {
      {"times not a number", [](MouseSchema&, TvxDataEntity_SchemaTime* e) { Times(e, kNaN, kNaN); },
       [](MouseSchema& s, TvxDataEntity_SchemaTime* e) {
         NotDrawnNorHit(s, e);
         TRect r;
         EXPECT_FALSE(s.RectFromDataEntity(s.GetFlipView(), e, r));
         EXPECT_TRUE(std::isnan(e->GetStartDateTime()));  // the keys moved nothing
       }},
      {"start not a number", [](MouseSchema&, TvxDataEntity_SchemaTime* e) { e->SetStartDateTime(kNaN); }, NotDrawnNorHit},
      {"infinite, both ways", [](MouseSchema&, TvxDataEntity_SchemaTime* e) { Times(e, -kInf, kInf); },
       [](MouseSchema& s, TvxDataEntity_SchemaTime* e) {
         Bounded(s, e);
         EXPECT_EQ(e->GetStartDateTime(), -kInf);
         EXPECT_EQ(e->GetStopDateTime(), kInf);
         // Hovered last: a hint of no times, not of whatever infinity formats to.
         EXPECT_EQ(s.GetHintWindow()->GetCaption(), "--:--\r--:--\r--:--");
       }},
      {"infinitely late", [](MouseSchema&, TvxDataEntity_SchemaTime* e) { Times(e, kInf, kInf); }, Bounded},
      {"enormous", [](MouseSchema&, TvxDataEntity_SchemaTime* e) { Times(e, -1e300, 1e300); }, Bounded},
      {"the year 1 to the year 9999",
       [](MouseSchema&, TvxDataEntity_SchemaTime* e) {
         Times(e, TvxSchema_ComBasic::kFirstDay, TvxSchema_ComBasic::kAfterLastDay - 1e-6);
       },
       Bounded},
      {"before the year 1", [](MouseSchema&, TvxDataEntity_SchemaTime* e) { Times(e, -1e6, kDay0 + 9.5 * kH); }, Bounded},
      {"after the year 9999", [](MouseSchema&, TvxDataEntity_SchemaTime* e) { Times(e, kDay0 + 9 * kH, 3e6); }, Bounded},
      {"start after stop", [](MouseSchema&, TvxDataEntity_SchemaTime* e) { Times(e, kDay0 + 10 * kH, kDay0 + 9 * kH); },
       [](MouseSchema& s, TvxDataEntity_SchemaTime* e) {
         TRect r;
         ASSERT_TRUE(s.RectFromDataEntity(s.GetFlipView(), e, r));
         // Drawn at its start, as short as can be seen (flipped, from a pixel inside).
         EXPECT_EQ(s.GetFlipView() ? r.Width() : r.Height(), s.GetFlipView() ? 4 : 5);
       }},
      {"column at the integer's end", [](MouseSchema&, TvxDataEntity_SchemaTime* e) { e->SetCol(INT_MAX); }, NotDrawnNorHit},
      {"column below zero", [](MouseSchema&, TvxDataEntity_SchemaTime* e) { e->SetCol(INT_MIN); }, NotDrawnNorHit},
      {"insets at the integer's ends",
       [](MouseSchema&, TvxDataEntity_SchemaTime* e) {
         e->SetLeftInset(INT_MIN);
         e->SetRightInset(INT_MIN);
       },
       Bounded},
      {"insets larger than the column",
       [](MouseSchema&, TvxDataEntity_SchemaTime* e) {
         e->SetLeftInset(INT_MAX);
         e->SetRightInset(INT_MAX);
       },
       Bounded},
      {"column sizes", [](MouseSchema& s, TvxDataEntity_SchemaTime*) {
         s.GetColumns()->GetColumn(0)->SetWidth(INT_MAX);
         s.GetColumns()->GetColumn(2)->SetWidth(-5);
         s.GetColumns()->GetColumn(3)->SetWidth(0);
       },
       [](MouseSchema& s, TvxDataEntity_SchemaTime*) {
         EXPECT_EQ(s.GetColumns()->GetColumn(0)->GetWidth(), TDataListColumns::kMaxColumnSize);
         EXPECT_EQ(s.GetColumns()->GetColumn(2)->GetWidth(), 0);
         s.GetColumns()->SetResizeCell(1);
         s.GetColumns()->HeaderCellReSize(INT_MAX);
         EXPECT_EQ(s.GetColumns()->GetColumn(1)->GetWidth(), TDataListColumns::kMaxColumnSize);
       }},
      {"scaler sizes", [](MouseSchema& s, TvxDataEntity_SchemaTime*) {
         s.SetScalerWidth(100000);
         s.SetScalerHeight(100000);
         s.Settle();
       },
       [](MouseSchema& s, TvxDataEntity_SchemaTime*) {
         for (TControl* c : {static_cast<TControl*>(s.GetScaler()), static_cast<TControl*>(s.GetSchemaArea())}) {
           EXPECT_LE(c->GetWidth(), s.GetWidth());
           EXPECT_LE(c->GetHeight(), s.GetHeight());
         }
         for (int v : {INT_MIN, -5, 0, INT_MAX}) {
           s.SetScalerWidth(v);
           s.SetScalerHeight(v);
           s.Settle();
           EXPECT_LE(s.GetScaler()->GetWidth(), s.GetWidth());
           EXPECT_LE(s.GetScaler()->GetHeight(), s.GetHeight());
         }
       }},
      {"inner corners", [](MouseSchema& s, TvxDataEntity_SchemaTime*) {
         s.SetQuadPoint(Point(INT_MAX, INT_MIN));
         s.SetFlippedQuadPoint(Point(INT_MIN, INT_MAX));
         s.PartResize(s.GetXYSizer(), Point(INT_MAX, INT_MAX));
       },
       [](MouseSchema& s, TvxDataEntity_SchemaTime*) {
         EXPECT_LE(s.GetSchemaArea()->GetWidth(), s.GetWidth());
         EXPECT_GE(s.GetSchemaArea()->GetWidth(), 0);
       }},
      {"snap steps", [](MouseSchema& s, TvxDataEntity_SchemaTime*) {
         for (double v : {kNaN, kInf, 1e300, -1.0, 0.0}) {
           s.SetStartSnap(v);
           s.SetLengthSnap(v);
         }
       },
       [](MouseSchema& s, TvxDataEntity_SchemaTime* e) {
         EXPECT_EQ(s.GetStartSnap(), 5 * TestSchema::kMinute);
         EXPECT_TRUE(std::isfinite(e->GetStartDateTime()) && std::isfinite(e->GetStopDateTime()));
       }},
      {"offset dates", [](MouseSchema& s, TvxDataEntity_SchemaTime*) {
         s.GetColumns()->GetColumn(1)->SetOffsetDate(kNaN);
         s.GetColumns()->GetColumn(2)->SetOffsetDate(1e300);
       },
       [](MouseSchema& s, TvxDataEntity_SchemaTime*) { EXPECT_EQ(s.GetColumns()->GetColumn(1)->GetOffsetDate(), 0); }},
      {"megabyte texts", [](MouseSchema& s, TvxDataEntity_SchemaTime* e) {
         e->AddText(kMegabyte, 2, 2, 1);
         e->AddText(kMegabyte, INT_MAX, INT_MIN, INT_MAX);
         s.GetColumns()->GetColumn(1)->SetText(kMegabyte);
       },
       [](MouseSchema&, TvxDataEntity_SchemaTime* e) { EXPECT_EQ(e->TextCount(), 2); }},
      {"layers and indexes", [](MouseSchema& s, TvxDataEntity_SchemaTime*) {
         EXPECT_EQ(s.AddSchemaTime(INT_MAX), nullptr);
         EXPECT_EQ(s.AddSchemaTime(-1), nullptr);
         s.SetDrawLayerArray({INT_MAX, -1, 0, INT_MIN});
         s.GetColumns()->SetTopLeftCol(INT_MAX);
         s.GetColumns()->SetTopLeftCol(INT_MIN);
       },
       [](MouseSchema& s, TvxDataEntity_SchemaTime*) {
         // Only the first entry names a layer that could exist, and none does: nothing shows.
         const TPoint at = s.At(4, 9.25);
         EXPECT_EQ(s.GetDataEntityFromXY(at.X, at.Y), nullptr);
         s.SetDrawLayerArray({0, 1, 2});
         EXPECT_EQ(s.GetColumns()->GetTopLeftCol(), 0);
         EXPECT_EQ(s.HeaderFromColumn(INT_MAX), "???");
         int nearEdge = 0, farEdge = 0;
         s.ColumnToPixels(INT_MIN, nearEdge, farEdge);
         EXPECT_EQ(nearEdge, -1);
       }},
  };
}

struct Case {
  size_t row;
  bool flipped;
};

class SchemaBadValues : public testing::TestWithParam<Case> {};

TEST_P(SchemaBadValues, PaintPrintDragStepAndHover) {
  const Bad bad = Rows()[GetParam().row];
  MouseSchema s(GetParam().flipped);
  TvxDataEntity_SchemaTime* e = s.Item(1, 9, 9.5);
  e->SetBackColor(kRed);
  TvxDataEntity_SchemaTime* plain = s.Item(4, 9, 9.5);
  s.Settle();
  const TPoint on = s.At(1, 9.25), plainAt = s.At(4, 9.25);
  bad.make(s, e);
  s.Settle();

  s.Area()->Invalidate();
  vxtest::ProcessEventsUntilIdle();
  s.PaintArea();
  QTemporaryDir dir;
  const std::string pdf = dir.path().toStdString() + "/bad.pdf";
  EXPECT_GE(TvxPrintSchema::PrintToPdf(&s, pdf), 0);
  // Dragged where it shows (if it shows there), then stepped by the keys.
  s.Drag(on, s.Shifted(on, MouseSchema::Px(20), 10));
  s.Move(on);
  s.GetLayers()->ClearSelections();
  e->SetSelected(true);
  s.Area()->SetFocus();
  for (Qt::Key k : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left}) {
    vxtest::KeyClick(s.Area(), k, Qt::ControlModifier);
    vxtest::KeyClick(s.Area(), k, Qt::ControlModifier | Qt::ShiftModifier);
  }
  vxtest::KeyClick(s.Area(), Qt::Key_Menu);
  s.Settle();
  bad.check(s, e);

  // A plain booking still moves by a drag.
  s.Settle();
  s.SetQuadPoint(Point(50, 20));
  s.SetFlippedQuadPoint(Point(50, 20));
  s.GetColumns()->SetTopLeftCol(0);
  s.GetColumns()->SetResizeCell(0);
  s.GetColumns()->HeaderCellReSize(GetParam().flipped ? 40 : 50);
  s.ResetWindow();
  e->SetSelected(false);
  const double before = plain->GetStartDateTime();
  const TPoint from = s.At(4, 9.25);
  EXPECT_EQ(from, plainAt);
  s.Drag(from, s.Shifted(from, MouseSchema::Px(20)));
  EXPECT_NEAR((plain->GetStartDateTime() - before) * 1440, 20, 1e-6);
}

std::vector<Case> Cases() {
  std::vector<Case> cases;
  for (size_t k = 0; k < Rows().size(); ++k)
    for (bool flipped : {false, true}) cases.push_back({k, flipped});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Every, SchemaBadValues, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Case>& info) {
                           std::string name = std::string(Rows()[info.param.row].name) +
                                              (info.param.flipped ? " flipped" : " normal");
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
