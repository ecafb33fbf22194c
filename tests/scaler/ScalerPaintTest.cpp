#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/scaler/vxScaler.h>

using namespace vx;

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

// A horizontal 1000 x 45 scaler over ten days from 2024-01-01 (100 px a day),
// without indicator and buttons unless a test wants them.
struct Painted {
  TvxDateScaler s{nullptr};
  TBitmap shot;
  Painted() {
    s.SetHorizontal(true);
    s.SetBounds(0, 0, 1000, 45);
    s.SetStart(D(2024, 1, 1));
    s.SetStop(D(2024, 1, 11));
    s.SetIndicatorOn(false);
    s.SetScrollButtons(tsbOff);
    s.SetColor(clWhite);
  }
  TCanvas* Paint() {
    s.PaintTo(&shot);
    return shot.GetCanvas();
  }
  // The width of a label in the scaler's first text font.
  int TextWidth(const std::string& theText) {
    TCanvas measure;
    auto dc = TDeviceContext::CreateImage(10, 10);
    measure.SetHandle(dc.get());
    measure.SetFont(*s.GetTextFont(sTextFont1));
    return measure.TextWidth(theText);
  }
  bool InkIn(int x1, int y1, int x2, int y2) {
    TCanvas* c = shot.GetCanvas();
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x)
        if (c->GetPixel(x, y) != clWhite) return true;
    return false;
  }
};

}  // namespace

TEST(ScalerPaint, TicksRiseFromTheBottomEdge) {
  Painted p;
  TCanvas* c = p.Paint();
  // Ticks run up from the bottom edge and stop short of their length: day
  // ticks (5) cover 41..44, the week tick at Monday 2024-01-08 (15) 31..44.
  for (int y = 41; y < 45; ++y) EXPECT_EQ(c->GetPixel(300, y), clBlack) << y;
  EXPECT_NE(c->GetPixel(300, 40), clBlack);
  EXPECT_NE(c->GetPixel(301, 43), clBlack);
  EXPECT_EQ(c->GetPixel(700, 31), clBlack);
  EXPECT_NE(c->GetPixel(700, 30), clBlack);
  const std::vector<int>& shorts = p.s.GetShortLinePos();
  EXPECT_NE(std::find(shorts.begin(), shorts.end(), 300), shorts.end());
  const std::vector<int>& longs = p.s.GetLongLinePos();
  EXPECT_NE(std::find(longs.begin(), longs.end(), 700), longs.end());

  // Boxed: grey band lines instead of ticks.
  p.s.SetLookAndFeel(tlfBoxed);
  c = p.Paint();
  const TColor grey = ColorToRGB(clBtnShadow);
  EXPECT_EQ(c->GetPixel(500, 15), grey);
  EXPECT_EQ(c->GetPixel(500, 30), grey);
  EXPECT_EQ(c->GetPixel(700, 20), grey);  // a week separator between the bands
  EXPECT_EQ(c->GetPixel(300, 40), grey);  // a day separator below them
  EXPECT_NE(c->GetPixel(300, 20), grey);
}

TEST(ScalerPaint, ScrollButtonsByStyle) {
  Painted p;
  p.s.SetScrollButtons(tsbClassic);
  p.Paint();
  EXPECT_EQ(p.s.GetDownButtonRect(), Rect(1, 1, 20, 20));
  EXPECT_EQ(p.s.GetUpButtonRect(), Rect(981, 1, 1000, 20));
  EXPECT_TRUE(p.InkIn(1, 1, 20, 20));
  p.s.SetScrollButtons(tsbSmall);
  p.Paint();
  EXPECT_EQ(p.s.GetDownButtonRect(), Rect(1, 1, 12, 12));

  // A press on a button scrolls on the timer until the release.
  p.s.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(995, 5));
  EXPECT_TRUE(p.s.IsScrollTimerOn());
  EXPECT_TRUE(p.s.IsScrollingUp());
  p.s.Perform(WM_LBUTTONUP, 0, MAKELPARAM(995, 5));
  EXPECT_FALSE(p.s.IsScrollTimerOn());
  EXPECT_FALSE(p.s.IsScrollingUp());

  p.s.SetScrollButtons(tsbOff);
  p.Paint();
  EXPECT_EQ(p.s.GetUpButtonRect(), NoRect());
  EXPECT_EQ(p.s.GetDownButtonRect(), NoRect());
  p.s.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(995, 5));
  EXPECT_FALSE(p.s.IsScrollTimerOn());
  p.s.Perform(WM_LBUTTONUP, 0, MAKELPARAM(995, 5));

  // The print has no buttons.
  p.s.SetScrollButtons(tsbClassic);
  auto dc = TDeviceContext::CreateImage(1000, 45);
  p.s.Print(dc.get(), 0, 0, 1, 1, false);
  TCanvas printed;
  printed.SetHandle(dc.get());
  EXPECT_EQ(vxtest::MatchingPixels(&printed, 20, 14, [](TColor c) { return c != clWhite; }).Left, -1);
}

TEST(ScalerPaint, LabelsThatWouldCollideAreDropped) {
  Painted p;
  // Every short label the same text, w pixels wide, and the days w pixels apart.
  const std::string text = "WWWWW";
  const int w = p.TextWidth(text);
  ASSERT_GT(w, 20);
  p.s.OnUserStringShort = [&](TDateTime, TDateTime, std::string& t, TScalerFont&) { t = text; };
  p.s.SetStop(D(2024, 1, 1) + 1000.0 / w);
  p.s.CalcDrawMode();
  ASSERT_EQ(p.s.GetSmallStep(), kScale1Day);
  p.Paint();
  // Centred in their intervals: label k starts at k * w. Label 0 would start
  // at 0 (not drawn), label 1 is drawn, label 2 collides with it, label 3 is drawn.
  EXPECT_FALSE(p.InkIn(2, 30, w - 2, 40));
  EXPECT_TRUE(p.InkIn(w + 2, 30, 2 * w - 2, 40));
  EXPECT_FALSE(p.InkIn(2 * w + 2, 30, 3 * w - 2, 40));
  EXPECT_TRUE(p.InkIn(3 * w + 2, 30, 4 * w - 2, 40));

  // Seven more pixels between them and they all fit.
  p.s.SetStop(D(2024, 1, 1) + 1000.0 / (w + 7));
  p.Paint();
  EXPECT_TRUE(p.InkIn(2 * (w + 7) + 2, 30, 3 * (w + 7) - 2, 40));
}

TEST(ScalerPaint, NormalIndicatorShowsWhereTheWindowLiesInThePeriod) {
  Painted p;
  p.s.SetStart(D(2024, 3, 1));
  p.s.SetStop(D(2024, 5, 1));
  p.s.SetIndicatorOn(true);
  std::string shown;
  p.s.OnInfoStringEvent = [&](std::string& text, TScalerFont&) { shown = text; };
  TCanvas* c = p.Paint();
  EXPECT_EQ(shown, "2024-2025");
  const int x0 = 33 + p.TextWidth(shown) + 10, length = 1000 - 33 - x0;
  const int g1 = x0 + Round(length * 60.0 / 366), g2 = x0 + Round(length * 121.0 / 366);
  const TColor green = RGB(0, 128, 0);
  EXPECT_EQ(c->GetPixel((g1 + g2) / 2, 5), green);
  EXPECT_EQ(c->GetPixel(g1, 5), green);
  EXPECT_EQ(c->GetPixel(g2, 5), green);
  EXPECT_EQ(c->GetPixel(g1 - 3, 5), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(c->GetPixel(g2 + 3, 5), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(c->GetPixel((g1 + g2) / 2, 6), ColorToRGB(clBtnShadow));

  // The period grows one month or year at a time and skips none.
  p.s.SetStart(D(2026, 11, 30));
  p.s.SetStop(D(2026, 12, 7));
  p.Paint();
  EXPECT_EQ(shown, "2026 Nov-Jan");
  p.s.SetStop(D(2028, 6, 1));
  p.s.SetStart(D(2025, 6, 1));
  p.Paint();
  EXPECT_EQ(shown, "2025-2027");  // 2025-06-01 to 2026-12-01

  // The colourful indicator is drawn on screen but never printed.
  p.s.SetIndicatorStyle(isColorfull);
  c = p.Paint();
  EXPECT_TRUE(p.InkIn(495, 5, 505, 9));
  auto print = TDeviceContext::CreateImage(1000, 45);
  p.s.Print(print.get(), 0, 0, 1, 1, false);
  TCanvas printed;
  printed.SetHandle(print.get());
  EXPECT_EQ(vxtest::MatchingPixels(&printed, 1000, 12, [](TColor px) { return px != clWhite; }).Left, -1);
}

// A drag on the axis zooms by 1 % a pixel from the press, keeping the date
// under the press in place; with Ctrl it pans. RescaleWithCtrl swaps the two.
TEST(ScalerPaint, DragZoomsOrPansByTheCtrlRule) {
  const struct {
    const char* name;
    bool rescaleWithCtrl;
    WPARAM keys;
    int dx;
    double scale;  // after the drag, as a factor
    bool pans;
  } cases[] = {{"right zooms out", false, MK_LBUTTON, 50, 1.5, false},
               {"left zooms in", false, MK_LBUTTON, -50, 0.5, false},
               {"Ctrl pans", false, MK_LBUTTON | MK_CONTROL, 50, 1, true},
               {"swapped: plain pans", true, MK_LBUTTON, 30, 1, true},
               {"swapped: Ctrl zooms", true, MK_LBUTTON | MK_CONTROL, 20, 1.2, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Painted p;
    p.s.SetRescaleWithCtrl(c.rescaleWithCtrl);
    const double scale = p.s.GetScale();
    const TDateTime start = p.s.GetStart(), under = p.s.PixelToDate(400);
    p.s.Perform(WM_LBUTTONDOWN, c.keys, MAKELPARAM(400, 30));
    p.s.Perform(WM_MOUSEMOVE, c.keys, MAKELPARAM(400 + c.dx / 2, 30));
    p.s.Perform(WM_MOUSEMOVE, c.keys, MAKELPARAM(400 + c.dx, 30));
    EXPECT_NEAR(p.s.GetScale(), c.scale * scale, 1e-9);
    EXPECT_EQ(p.s.IsRescaling(), !c.pans);
    if (c.pans)
      EXPECT_NEAR(p.s.GetStart(), start - c.dx * scale, 1e-9);  // the content follows the mouse
    else
      EXPECT_NEAR(p.s.PixelToDate(400), under, 1.5 * scale);
    p.s.Perform(WM_LBUTTONUP, 0, MAKELPARAM(400 + c.dx, 30));
    EXPECT_FALSE(p.s.IsRescaling());
  }
}

// The keyboard's way to what the wheel does: Ctrl with +, = or - zooms a
// notch around the middle; the arrows along the axis pan an eighth of the
// window; other keys and modifiers leave the window alone.
TEST(ScalerPaint, KeysZoomAroundTheMiddleAndPanAlongTheAxis) {
  const struct {
    bool horizontal;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    double scale;  // after, as a factor
    double pan;    // days the start moves, the scale kept
  } cases[] = {
      {true, Qt::Key_Plus, Qt::ControlModifier, 1 / 1.25, 0}, {true, Qt::Key_Equal, Qt::ControlModifier, 1 / 1.25, 0},
      {true, Qt::Key_Minus, Qt::ControlModifier, 1.25, 0},    {true, Qt::Key_Plus, Qt::NoModifier, 1, 0},
      {true, Qt::Key_Right, Qt::NoModifier, 1, 10.0 / 8},     {true, Qt::Key_Left, Qt::NoModifier, 1, -10.0 / 8},
      {true, Qt::Key_Down, Qt::NoModifier, 1, 0},             {true, Qt::Key_Right, Qt::AltModifier, 1, 0},
      {false, Qt::Key_Down, Qt::NoModifier, 1, 10.0 / 8},     {false, Qt::Key_Up, Qt::NoModifier, 1, -10.0 / 8},
      {false, Qt::Key_Right, Qt::NoModifier, 1, 0},           {false, Qt::Key_Minus, Qt::ControlModifier, 1.25, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.horizontal) + " key " + std::to_string(c.key) + " mod " +
                 std::to_string(c.modifiers.toInt()));
    Painted p;
    if (!c.horizontal) {
      p.s.SetHorizontal(false);
      p.s.SetBounds(0, 0, 60, 1000);
      p.s.SetStart(D(2024, 1, 1));
      p.s.SetStop(D(2024, 1, 11));
    }
    vxtest::ShowWindow(&p.s);
    p.s.SetFocus();
    const double scale = p.s.GetScale();
    const TDateTime start = p.s.GetStart(), middle = p.s.PixelToDate(500);
    vxtest::KeyClick(&p.s, c.key, c.modifiers);
    EXPECT_NEAR(p.s.GetScale(), c.scale * scale, 1e-9);
    if (c.scale != 1)
      EXPECT_NEAR(p.s.PixelToDate(500), middle, scale);
    else
      EXPECT_NEAR(p.s.GetStart(), start + c.pan, 1e-6);
  }
}

TEST(ScalerPaint, PrintedBandsFollowThePrintScale) {
  Painted p;
  p.s.SetBounds(0, 0, 500, 45);
  p.s.SetStop(D(2024, 1, 6));
  auto dc = TDeviceContext::CreateImage(1200, 200);
  p.s.Print(dc.get(), 0, 0, 2, 2, true);
  TCanvas printed;
  printed.SetHandle(dc.get());
  // Short labels in the band from 60 (30 x 2), long ones from 30; nothing above.
  const TRect ink = vxtest::MatchingPixels(&printed, 1200, 200, [](TColor px) { return px != clWhite; });
  EXPECT_GE(ink.Top, 30);
  EXPECT_TRUE(vxtest::MatchingPixels(&printed, 1200, 75, [](TColor px) { return px != clWhite; }).Bottom > 60);
  // The day ticks are at print pixels: 200 per day.
  EXPECT_EQ(printed.GetPixel(400, 89), clBlack);
  EXPECT_EQ(p.s.GetShortScaleMarks()[2].Pixel, 200);  // screen pixels again afterwards
  EXPECT_FALSE(p.s.GetIsPrinting());
}

namespace {

// Pixels where two pictures of the same size differ: their bounding box.
TRect Differs(TBitmap& a, TBitmap& b) {
  TRect r = NoRect();
  for (int y = 0; y < a.GetHeight(); ++y)
    for (int x = 0; x < a.GetWidth(); ++x) {
      if (a.GetCanvas()->GetPixel(x, y) == b.GetCanvas()->GetPixel(x, y)) continue;
      if (r.Left < 0)
        r = Rect(x, y, x + 1, y + 1);
      else
        r = Rect(std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1), std::max(r.Bottom, y + 1));
    }
  return r;
}

}  // namespace

TEST(ScalerPaint, ANarrowVerticalAxisReadsCleanly) {
  // The widths a schedule gives its time axis: 07:00 to 19:00 and then 07:00
  // to 09:00 of the next day (the night hidden), hours 34 pixels apart, the
  // last tick at the bottom edge.
  for (int width : {50, 56, 70}) {
    SCOPED_TRACE(width);
    TvxDateScaler s(nullptr);
    s.SetHorizontal(false);
    s.SetVerticalText(true);
    s.SetColor(clWhite);
    s.SetBounds(0, 0, width, 476);
    TvxHiddenHours night;
    for (int h = 0; h < 24; ++h)
      if (h < 7 || h >= 19) night.Include(static_cast<TvxHiddenHoursEnum>(h));
    s.SetHiddenHours(night);
    s.SetStart(D(2024, 1, 8) + 7.0 / 24);
    s.SetStop(D(2024, 1, 9) + 9.0 / 24);
    bool longs = true, shorts = true;
    s.OnUserStringLong = [&](TDateTime, TDateTime, std::string& t, TScalerFont&) {
      if (!longs) t.clear();
    };
    s.OnUserStringShort = [&](TDateTime, TDateTime, std::string& t, TScalerFont&) {
      if (!shorts) t.clear();
    };
    auto paint = [&](TBitmap& b) {
      s.CalcDrawMode();
      s.PaintTo(&b);
    };
    TBitmap all, none, onlyLong, onlyShort, bare;
    paint(all);
    longs = shorts = false;
    paint(none);
    longs = true;
    paint(onlyLong);
    longs = false;
    shorts = true;
    paint(onlyShort);
    shorts = longs = true;
    s.SetIndicatorOn(false);
    paint(bare);
    ASSERT_EQ(s.GetSmallStep(), kScale1Hour);

    // The indicator keeps to its band, out of the labels' way.
    const TRect indicator = Differs(all, bare);
    ASSERT_GE(indicator.Left, 0);
    EXPECT_LE(indicator.Right, 20);
    // Long labels before the short ones, the short ones before their ticks.
    const TRect longInk = Differs(onlyLong, none), shortInk = Differs(onlyShort, none);
    ASSERT_GE(longInk.Left, 0);
    ASSERT_GE(shortInk.Left, 0);
    EXPECT_GE(longInk.Left, 20);
    EXPECT_LE(longInk.Right, shortInk.Left);
    EXPECT_LE(shortInk.Right, width - 5);
    // The label of the tick at the bottom edge would be cut: it is not drawn.
    EXPECT_LE(shortInk.Bottom, 476 - 4);
    EXPECT_GE(shortInk.Top, 1);
  }
}
