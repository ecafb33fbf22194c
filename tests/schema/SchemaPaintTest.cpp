// Painting of the drawing area, read back at documented pixels in both
// orientations: background and stripes, scale lines and separators, the
// today line, bookings with their texts, selection and the active booking.
#include <gtest/gtest.h>

#include <cmath>

#include "SchemaSupport.h"

using namespace vx;
using vxtest::TestSchema;

namespace {

constexpr TColor kBack = 32768;     // the default SchemaColor
constexpr TColor kPyjamas = 32896;  // and SchemaPyjamasColor
constexpr double kH = TestSchema::kHour;

TColor Line() { return ColorToRGB(clBackground); }

// The 2 x 2 pattern: SchemaColor where x + y is even.
bool Patterned(TCanvas* c, int x, int y) {
  return c->GetPixel(x, y) == ((x + y) % 2 == 0 ? kBack : kPyjamas) &&
         c->GetPixel(x + 1, y) == ((x + 1 + y) % 2 == 0 ? kBack : kPyjamas);
}

bool Plain(TCanvas* c, int x, int y) { return c->GetPixel(x, y) == kBack && c->GetPixel(x + 1, y) == kBack; }

// Pixels near a text colour (the antialiased edges included).
std::function<bool(TColor)> Ink(TColor theColor) {
  return [theColor](TColor p) {
    const int d = std::abs(GetRValue(p) - GetRValue(theColor)) + std::abs(GetGValue(p) - GetGValue(theColor)) +
                  std::abs(GetBValue(p) - GetBValue(theColor));
    return d < 200;
  };
}

}  // namespace

TEST(SchemaPaint, BackgroundStripesLinesAndSeparators) {
  TestSchema s;
  // Eight hours across midnight: a long mark (the day) at 240.
  s.SetWindow(TestSchema::kDay0 + 20 * kH, TestSchema::kDay0 + 28 * kH);
  s.Column("a");
  s.Column("b")->SetWidth(60);
  s.Column("c");
  TCanvas* c = s.PaintArea();
  // Column 0 plain, column 1 (odd) in the pattern, column 2 plain, and past
  // the last column nothing but the background.
  EXPECT_TRUE(Plain(c, 20, 7));
  EXPECT_TRUE(Patterned(c, 70, 7));
  EXPECT_TRUE(Patterned(c, 71, 300));
  EXPECT_TRUE(Plain(c, 130, 7));
  for (int x = 162; x < 598; x += 9) EXPECT_FALSE(Patterned(c, x, 7)) << x;
  // Separators at the far edges, in the system background colour.
  for (int x : {50, 110, 160}) EXPECT_EQ(c->GetPixel(x, 7), Line()) << x;
  EXPECT_NE(c->GetPixel(210, 7), Line());
  // Long scale lines across at the scaler's long marks.
  const std::vector<TScaleMark>& marks = s.GetScaler()->GetLongScaleMarks();
  int drawn = 0;
  for (const TScaleMark& m : marks) {
    const int y = static_cast<int>(std::lround(m.Pixel));
    if (y <= 0 || y >= 480) continue;
    EXPECT_EQ(c->GetPixel(25, y), Line()) << y;
    EXPECT_EQ(c->GetPixel(400, y), Line()) << y;
    ++drawn;
  }
  EXPECT_GT(drawn, 0);
  // Short lines only when asked, in silver.
  const std::vector<TScaleMark>& shorts = s.GetScaler()->GetShortScaleMarks();
  ASSERT_GT(shorts.size(), 2u);
  const int y = static_cast<int>(std::lround(shorts[2].Pixel));
  EXPECT_NE(c->GetPixel(25, y), clSilver);
  s.SetDrawShortLines(true);
  c = s.PaintArea();
  EXPECT_TRUE(c->GetPixel(25, y) == clSilver || c->GetPixel(25, y) == Line());

  // The top-left column moves the stripes: column 1 first, still patterned.
  s.GetColumns()->SetTopLeftCol(1);
  c = s.PaintArea();
  EXPECT_TRUE(Patterned(c, 20, 9));
  EXPECT_TRUE(Plain(c, 80, 9));
  EXPECT_EQ(c->GetPixel(0, 9), Line());  // the columns before it end at 0
  EXPECT_EQ(c->GetPixel(60, 9), Line());
}

// Without columns (and past the last row) only the background: no stripe
// stands for a column that is not there.
TEST(SchemaPaint, NoStripesWithoutColumns) {
  TestSchema s;
  for (bool flipped : {false, true}) {
    s.SetFlipView(flipped);
    TCanvas* c = s.PaintArea();
    for (int k = 0; k < 24; ++k) EXPECT_FALSE(Patterned(c, k * 23 + 7, k * 17 + 5)) << k;
  }
  s.Column("a");
  s.Column("b");
  TCanvas* c = s.PaintArea();
  EXPECT_TRUE(Plain(c, 100, 5));
  EXPECT_TRUE(Patterned(c, 100, 25));  // row 1
  EXPECT_TRUE(Plain(c, 100, 45));      // past the last row
}

TEST(SchemaPaint, BookingsTheirTextsAndMarks) {
  TestSchema s;
  TFont f1, f2, f3;
  f1.SetColor(clRed);
  f2.SetColor(clBlue);
  f3.SetColor(clFuchsia);
  for (TFont* f : {&f1, &f2, &f3}) f->SetSize(10);
  f2.SetSize(16);
  s.SetTextFont1(f1);
  s.SetTextFont2(f2);
  s.SetTextFont3(f3);
  s.Column("a");
  s.Column("b")->SetWidth(120);
  TvxDataEntity_SchemaTime* e = s.Item(1, 10, 13);
  e->SetBackColor(clYellow);
  e->SetFrameColor(clBlack);
  e->AddText("WM", 3, 2, 1);
  e->AddText("WM", 3, 60, 2);
  e->AddText("WM", 40, 120, 3);
  e->AddText("", 3, 150, 1);
  s.Settle();
  // The booking fills (51, 120, 170, 300) framed in its frame colour.
  TCanvas* c = s.PaintArea();
  EXPECT_EQ(c->GetPixel(51, 120), clBlack);
  EXPECT_EQ(c->GetPixel(169, 299), clBlack);
  EXPECT_EQ(c->GetPixel(52, 121), clYellow);
  EXPECT_TRUE(Patterned(c, 110, 300));
  // Each text line lands at its offset, in its style's font.
  const TRect red = vxtest::MatchingPixels(c, 600, 480, Ink(clRed));
  const TRect blue = vxtest::MatchingPixels(c, 600, 480, Ink(clBlue));
  const TRect pink = vxtest::MatchingPixels(c, 600, 480, Ink(clFuchsia));
  ASSERT_TRUE(red.Left >= 0 && blue.Left >= 0 && pink.Left >= 0);
  EXPECT_GE(red.Left, 54);
  EXPECT_GE(red.Top, 122);
  EXPECT_LT(red.Bottom, 150);
  EXPECT_GE(blue.Top, 180);
  EXPECT_LT(blue.Bottom, 210);
  EXPECT_GT(blue.Bottom - blue.Top, red.Bottom - red.Top);  // the larger font
  EXPECT_GE(pink.Left, 91);
  EXPECT_GE(pink.Top, 240);
  // Clipped one pixel inside the booking: a text that runs over the edge stops there.
  e->AlterText(2, "WMWMWMWMWMWM", 40, 120, 3);
  c = s.PaintArea();
  const TRect clipped = vxtest::MatchingPixels(c, 600, 480, Ink(clFuchsia));
  EXPECT_LE(clipped.Right, 169);

  // Selected: handles in the corners. Active: a focus rectangle 2 inside.
  e->SetSelected(true);
  c = s.PaintArea();
  EXPECT_EQ(c->GetPixel(53, 122), clBlack);
  EXPECT_EQ(c->GetPixel(167, 297), clBlack);
  EXPECT_EQ(c->GetPixel(60, 200), clYellow);
  e->SetSelected(false);
  s.SetActiveDataEntity(e);
  c = s.PaintArea();
  int marked = 0;
  for (int y = 122; y < 298; ++y) marked += c->GetPixel(53, y) != clYellow;
  EXPECT_GT(marked, 40);
  EXPECT_EQ(c->GetPixel(54, 200), clYellow);

  // Bookings of the application's style are drawn by it.
  e->SetStyle(tssUser);
  TRect given;
  s.OnDrawTimeContent = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime*, const TRect& r, TCanvas* canvas) {
    given = r;
    canvas->GetBrush()->SetColor(clAqua);
    canvas->FillRect(r);
  };
  c = s.PaintArea();
  EXPECT_EQ(given, Rect(51, 120, 170, 300));
  EXPECT_EQ(c->GetPixel(120, 250), clAqua);
}

TEST(SchemaPaint, DrawingOrderAndWhatIsNotShown) {
  TestSchema s;
  for (int k = 0; k < 4; ++k) s.Column(std::to_string(k));
  TvxDataEntity_SchemaTime* under = s.Item(0, 10, 12, 1);
  TvxDataEntity_SchemaTime* over = s.Item(0, 11, 13, 0);
  under->SetBackColor(clRed);
  over->SetBackColor(clLime);
  s.Settle();
  // The walk's first booking (layer 0) is drawn last, on top.
  TCanvas* c = s.PaintArea();
  EXPECT_EQ(c->GetPixel(25, 200), clLime);
  EXPECT_EQ(c->GetPixel(25, 150), clRed);
  // The application's background lies over the schedule's and under the
  // bookings; its foreground over them. Both get the whole area.
  std::vector<TRect> told;
  auto fill = [&told](TColor theColor, TRect theArea) {
    return [&told, theColor, theArea](TvxSchema_ComBasic*, const TRect& r, TCanvas* canvas) {
      told.push_back(r);
      canvas->GetBrush()->SetColor(theColor);
      canvas->FillRect(theArea.IsEmpty() ? r : theArea);
    };
  };
  s.OnDrawBackground = fill(clFuchsia, TRect{});
  s.OnDrawForeground = fill(clNavy, Rect(20, 0, 30, 480));
  c = s.PaintArea();
  for (int x : {60, 150, 250, 599}) EXPECT_EQ(c->GetPixel(x, 100), clFuchsia) << x;
  EXPECT_EQ(c->GetPixel(40, 200), clLime);
  EXPECT_EQ(c->GetPixel(25, 200), clNavy);
  EXPECT_EQ(c->GetPixel(25, 50), clNavy);
  EXPECT_EQ(told, (std::vector<TRect>{Rect(0, 0, 600, 480), Rect(0, 0, 600, 480)}));
  s.OnDrawBackground = s.OnDrawForeground = nullptr;
  s.SetDrawLayerArray({1, 0});
  c = s.PaintArea();
  EXPECT_EQ(c->GetPixel(25, 200), clRed);
  // Outside the window, or in a column before the top-left one: not drawn.
  TvxDataEntity_SchemaTime* late = s.Item(2, 17, 18);
  late->SetBackColor(clBlue);
  s.Settle();
  c = s.PaintArea();
  EXPECT_EQ(vxtest::MatchingPixels(c, 600, 480, [](TColor p) { return p == clBlue; }).Left, -1);
  s.GetColumns()->SetTopLeftCol(2);
  c = s.PaintArea();
  EXPECT_EQ(vxtest::MatchingPixels(c, 600, 480, [](TColor p) { return p == clRed || p == clLime; }).Left, -1);
  // Hidden by the application.
  s.GetColumns()->SetTopLeftCol(0);
  s.OnGetDrawingRect = [&](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, TRect&) { return e != over; };
  c = s.PaintArea();
  EXPECT_EQ(c->GetPixel(25, 200), clRed);
  EXPECT_EQ(vxtest::MatchingPixels(c, 600, 480, [](TColor p) { return p == clLime; }).Left, -1);
}

TEST(SchemaPaint, TheTodayLine) {
  TestSchema s;
  const double today = std::floor(Now());
  s.SetWindow(today + 8 * kH, today + 16 * kH);
  s.SetTodayLineColor(clRed);
  TCanvas* c = s.PaintArea();
  EXPECT_NE(c->GetPixel(300, 240), clRed);
  s.SetTodayLineOnOff(true);
  c = s.PaintArea();
  // Noon of today: 240 pixels down, across the whole area.
  EXPECT_EQ(c->GetPixel(0, 240), clRed);
  EXPECT_EQ(c->GetPixel(599, 240), clRed);
  // A window without today's noon shows no line.
  s.SetWindow(today + 13 * kH, today + 21 * kH);
  c = s.PaintArea();
  EXPECT_EQ(vxtest::MatchingPixels(c, 600, 480, [](TColor p) { return p == clRed; }).Left, -1);
  // Flipped: a vertical line.
  s.SetFlipView(true);
  s.SetWindow(today + 8 * kH, today + 8 * kH + 580.0 / 1440);
  c = s.PaintArea();
  EXPECT_EQ(c->GetPixel(240, 0), clRed);
  EXPECT_EQ(c->GetPixel(240, 449), clRed);
}

TEST(SchemaPaint, TheFlippedOrientation) {
  TestSchema s;
  s.Column("a");
  s.Column("b");
  s.SetFlipView(true);
  // 580 pixels, one a minute, from 20:00 across midnight.
  s.SetWindow(TestSchema::kDay0 + 20 * kH, TestSchema::kDay0 + 20 * kH + 580.0 / 1440);
  TvxDataEntity_SchemaTime* e = s.Item(1, 22, 23);
  e->SetBackColor(clYellow);
  s.Settle();
  TCanvas* c = s.PaintArea();
  // Row 1 spans y 20..38 (patterned), its booking x 121..180.
  EXPECT_TRUE(Plain(c, 300, 10));
  EXPECT_TRUE(Patterned(c, 300, 30));
  EXPECT_EQ(c->GetPixel(300, 19), Line());
  EXPECT_EQ(c->GetPixel(300, 38), Line());
  EXPECT_EQ(c->GetPixel(121, 20), clBlack);
  EXPECT_EQ(c->GetPixel(150, 28), clYellow);
  EXPECT_NE(c->GetPixel(181, 28), clYellow);
  // The long scale line of midnight runs down at 240.
  EXPECT_EQ(c->GetPixel(240, 300), Line());
  EXPECT_EQ(c->GetPixel(240, 5), Line());
  EXPECT_TRUE(Plain(c, 250, 5));

  // A title of two lines: the second in its own band below the first.
  TDrawGrid_Schema* titles = s.GetFlippedHeader();
  titles->GetFont()->SetColor(clRed);
  s.GetColumns()->GetColumn(0)->SetWidth_FW(true, 40);
  auto ink = [&](const std::string& theText) {
    s.GetColumns()->GetColumn(0)->SetText(theText);
    TBitmap shot;
    titles->PaintTo(&shot);
    return vxtest::MatchingPixels(shot.GetCanvas(), titles->GetColWidths(0), 40, Ink(clRed));
  };
  const TRect one = ink("X"), two = ink("X\nX");
  titles->GetCanvas()->SetFont(*titles->GetFont());
  ASSERT_NE(one.Left, -1);
  EXPECT_EQ(two.Top, one.Top);
  EXPECT_EQ(two.Bottom, one.Bottom + titles->GetCanvas()->TextHeight("X") + 2);
  EXPECT_EQ(ink("").Left, -1);
}
