#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <QCoreApplication>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "UiTestSupport.h"
#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/scaler/vxScaler.h>

using namespace vx;

namespace {

constexpr double kMs = OneMillisecond;

// A horizontal scaler of the given width showing [start, stop).
struct Axis {
  TvxDateScaler s{nullptr};
  Axis(int width, TDateTime start, TDateTime stop) {
    s.SetHorizontal(true);
    s.SetBounds(0, 0, width, 40);
    s.SetStart(start);
    s.SetStop(stop);
  }
};

TDateTime D(int y, int m, int d, int h = 0, int n = 0) { return EncodeDate(y, m, d) + EncodeTime(h, n, 0, 0); }

}  // namespace

TEST(ScalerModel, WindowScaleAndConversionsWithoutHiddenTime) {
  const TDateTime start = D(2024, 1, 1);
  Axis a(1000, start, start + 10);
  EXPECT_DOUBLE_EQ(a.s.GetScale(), 0.01);
  EXPECT_EQ(a.s.DateToPixel(start + 2.5), 250);  // round trips inside the window: ScalerPropertyTest
  // Outside the marks the conversion is linear from Start and Stop.
  EXPECT_NEAR(a.s.PixelToDate(-100), start - 1, kMs);
  EXPECT_NEAR(a.s.PixelToDate(1200), start + 12, kMs);
  EXPECT_EQ(a.s.DateToPixel(start - 1), -100);
  EXPECT_EQ(a.s.DateToPixel(start + 12), 1200);
  EXPECT_DOUBLE_EQ(a.s.DateDiffToPixelLength(start + 3, start + 1), -200);
  EXPECT_EQ(a.s.TimeToPixel(start + 5.25), 25);  // only the time of day counts
  EXPECT_DOUBLE_EQ(a.s.PixelLenToDate(50), 0.5);

  // Panning keeps the visible length; moving the end changes the scale.
  a.s.SetStart(start + 3);
  EXPECT_NEAR(a.s.GetStop(), start + 13, 1e-9);
  a.s.SetStop(start + 23);
  EXPECT_NEAR(a.s.GetStart(), start + 3, 1e-9);
  EXPECT_NEAR(a.s.GetScale(), 0.02, 1e-12);

  a.s.SetScale(0.5);
  EXPECT_NEAR(a.s.GetStop(), start + 3 + 500, 1e-6);
  // A scale that would show less than ten seconds is refused.
  const TDateTime stopBefore = a.s.GetStop();
  a.s.SetScale(1e-12);
  EXPECT_EQ(a.s.GetStop(), stopBefore);
  EXPECT_NEAR(a.s.GetScale(), 0.5, 1e-9);
}

TEST(ScalerModel, LimitsClampStartAndStop) {
  Axis a(100, D(2024, 1, 1), D(2024, 1, 11));
  a.s.SetStart(-5);
  EXPECT_GE(a.s.GetStart(), 0);
  const TDateTime minStart = D(2020, 6, 1);
  a.s.SetMinStart(minStart);
  a.s.SetStart(minStart - 365);
  EXPECT_NEAR(a.s.GetStart(), minStart - 5, 1e-6);  // half a screen before MinStart
  EXPECT_TRUE(a.s.CheckIfOkStartStop(minStart - 5, minStart));
  EXPECT_FALSE(a.s.CheckIfOkStartStop(minStart - 5.5, minStart));

  a.s.SetMaxStop(D(2030, 1, 1));
  a.s.SetStart(D(2025, 1, 1));
  a.s.SetStop(D(2040, 1, 1));
  const double halfScreen = a.s.PixelLenToDate(50);
  EXPECT_LT(a.s.GetStop(), D(2030, 1, 1) + halfScreen + 1);
  a.s.SetMaxStop(D(5000, 1, 1));
  a.s.SetStop(D(4500, 1, 1));
  EXPECT_EQ(a.s.GetStop(), D(4000, 1, 1));
}

TEST(ScalerModel, ZoomTableAndCentredZoom) {
  EXPECT_EQ(GetPrevScale(1.5), 1.0);
  EXPECT_EQ(GetNextScale(1.5), 2.0);
  EXPECT_EQ(GetPrevScale(1.0), 0.0927);
  EXPECT_EQ(GetPrevScale(Scale10SecAndSec), Scale10SecAndSec);  // the end of the table keeps the scale
  EXPECT_EQ(GetNextScale(100), 100);

  const TDateTime start = D(2024, 1, 1);
  Axis a(1000, start, start + 10);
  const TDateTime centre = a.s.PixelToDate(400);
  a.s.SetCenterScale(0.005, centre, 400);
  EXPECT_NEAR(a.s.GetScale(), 0.005, 1e-9);
  EXPECT_NEAR(a.s.PixelToDate(400), centre, 2 * kMs);

  // A veto leaves the window as it was.
  int asked = 0;
  a.s.OnLimitScaling = [&](TvxDateScaler*, TDateTime, TDateTime, double) { return ++asked > 0; };
  const TDateTime s0 = a.s.GetStart(), e0 = a.s.GetStop();
  a.s.SetCenterScale(0.02, centre, 400);
  EXPECT_EQ(asked, 1);
  EXPECT_NEAR(a.s.GetStart(), s0, 1e-9);
  EXPECT_NEAR(a.s.GetStop(), e0, 1e-9);
  a.s.OnLimitScaling = nullptr;

  // An animated zoom lands on the next step of the table and reports each frame.
  a.s.SetScale(1.5);
  int frames = 0;
  a.s.OnAnimateChange = [&](TObject*) { ++frames; };
  const TDateTime middle = a.s.PixelToDate(500);
  a.s.ZoomIn(500);
  EXPECT_NEAR(a.s.GetScale(), 1.0, 1e-6);
  EXPECT_NEAR(a.s.PixelToDate(500), middle, 0.6);  // within a pixel at one day per pixel
  EXPECT_GE(frames, 10);
  EXPECT_EQ(a.s.GetUpdateDepth(), 0);

  // An animated move to a window.
  a.s.AnimateScaleTransition(start, start + 20, 4);
  EXPECT_NEAR(a.s.GetStart(), start, 1e-6);
  EXPECT_NEAR(a.s.GetStop(), start + 20, 1e-6);
}

TEST(ScalerModel, HiddenHoursAndDays) {
  Axis a(1000, D(2024, 1, 1), D(2024, 1, 29));
  TvxDateScaler& s = a.s;
  const TDateTime mon = D(2024, 1, 8);  // a Monday
  EXPECT_NEAR(s.DateDiffToVisibleTime(mon, mon + 3.5), 3.5, 1e-12);
  EXPECT_NEAR(s.VisibleTimeDiffToTrueTime(mon, 3.5), mon + 3.5, 1e-12);

  TvxHiddenHours nights;
  for (int h : {0, 1, 2, 3, 4, 5, 6, 7, 17, 18, 19, 20, 21, 22, 23}) nights.Include(static_cast<TvxHiddenHoursEnum>(h));
  s.SetHiddenHours(nights);
  EXPECT_EQ(s.GetHiddenHourCount(), 15);
  EXPECT_NEAR(s.VisibleTimeForDay(static_cast<long long>(mon)), 9.0 / 24, 1e-12);
  EXPECT_NEAR(s.DateDiffToVisibleTime(mon + 12 * OneHour, mon + 18 * OneHour), 5 * OneHour, 1e-9);
  EXPECT_NEAR(s.DateDiffToVisibleTime(mon + 16.5 * OneHour, mon + 1 + 9.25 * OneHour), 1.75 * OneHour, 1e-9);
  EXPECT_NEAR(s.DateDiffToVisibleTime(mon + 1 + 9.25 * OneHour, mon + 16.5 * OneHour), -1.75 * OneHour, 1e-9);
  // Inside one hidden hour: nothing; inside one visible hour: its own length.
  EXPECT_EQ(s.DateDiffToVisibleTime(mon + 20.1 * OneHour, mon + 20.7 * OneHour), 0);
  EXPECT_NEAR(s.DateDiffToVisibleTime(mon + 10.1 * OneHour, mon + 10.7 * OneHour), 0.6 * OneHour, 1e-9);

  s.SetHiddenHours({thh17, thh18, thh19, thh20, thh21, thh22, thh23});
  EXPECT_NEAR(s.VisibleTimeDiffToTrueTime(mon + 16 * OneHour, 2 * OneHour), mon + 1 + OneHour, 11 * OneSecond);

  s.SetHiddenHours(TvxHiddenHours());
  s.SetHiddenDays({thdSAT, thdSUN});
  const TDateTime fri = D(2024, 1, 12), sat = D(2024, 1, 13), sun = D(2024, 1, 14);
  EXPECT_NEAR(s.DateDiffToVisibleTime(fri + 0.5, sun + 1.5), 1, 1e-9);
  EXPECT_NEAR(s.VisibleTimeToTrueTime_High(sat + 10 * OneHour), sun + 1, 1e-12);
  EXPECT_NEAR(s.VisibleTimeToTrueTime_Low(sun + 10 * OneHour), sat - kMs, 1e-12);
  EXPECT_NEAR(s.VisibleTimeForWeek(), 5, 1e-12);
  // Long spans add whole weeks at once: 100 years.
  EXPECT_NEAR(s.DateDiffToVisibleTime(D(1950, 1, 2), D(2050, 1, 3)), (D(2050, 1, 3) - D(1950, 1, 2)) * 5 / 7, 1.0);

  s.SetHiddenHours(nights);
  EXPECT_NEAR(s.VisibleTimeDiffToTrueTime(D(2024, 1, 15, 9), -2 * OneHour), fri + 16 * OneHour - kMs, 11 * OneSecond);

  // Hiding everything hides nothing.
  TvxHiddenHours all;
  for (int h = 0; h < 24; ++h) all.Include(static_cast<TvxHiddenHoursEnum>(h));
  s.SetHiddenHours(all);
  EXPECT_EQ(s.GetHiddenHourCount(), 0);
  s.SetHiddenDays({thdSUN, thdMON, thdTUE, thdWED, thdTHU, thdFRI, thdSAT});
  EXPECT_TRUE(s.GetHiddenDays().IsEmpty());
}

TEST(ScalerModel, HidingTimeKeepsTheScaleAndTheStart) {
  Axis a(1000, D(2024, 1, 1), D(2024, 1, 11));
  const double scale = a.s.GetScale();
  a.s.SetHiddenDays({thdSAT, thdSUN});
  EXPECT_EQ(a.s.GetStart(), D(2024, 1, 1));
  EXPECT_NEAR(a.s.GetScale(), scale, 1e-4);
  EXPECT_NEAR(a.s.GetStop(), D(2024, 1, 13), 1e-6);  // ten weekdays: the weekend between costs nothing
  EXPECT_NEAR(a.s.VisibleTimeAmount(), 10, 0.01);
}

TEST(ScalerModel, NarrowDaysKeepTheFirstLetterOfTheirName) {
  // Days of 20 pixels: "Tue" and its neighbours would not fit beside each other.
  Axis a(200, D(2024, 1, 1), D(2024, 1, 11));
  const auto& shorts = a.s.GetShortScaleMarks();
  ASSERT_EQ(a.s.GetSmallStep(), kScale1Day);
  ASSERT_GE(shorts.size(), 8u);
  std::string letters;
  for (size_t i = 1; i < 8; ++i) letters += shorts[i].PresString;
  EXPECT_EQ(letters, "TWTFSSM");
}

TEST(ScalerModel, ScaleMarksAndLabels) {
  Axis a(1000, D(2024, 1, 1), D(2024, 1, 11));
  TvxDateScaler& s = a.s;
  EXPECT_EQ(s.GetSmallStep(), kScale1Day);
  EXPECT_EQ(s.GetSmallStepName(), "1 dag");
  EXPECT_EQ(s.GetLongStep(), kScale1Week);
  const auto& shorts = s.GetShortScaleMarks();
  ASSERT_GE(shorts.size(), 10u);
  EXPECT_EQ(shorts[0].DateTime, D(2024, 1, 1));
  EXPECT_EQ(shorts[0].Pixel, 0);
  EXPECT_EQ(shorts[0].PresString, "Mon");
  EXPECT_EQ(shorts[1].PresString, "Tue");
  EXPECT_NEAR(shorts[3].Pixel, 300, 1e-9);
  const auto& longs = s.GetLongScaleMarks();
  ASSERT_GE(longs.size(), 2u);
  EXPECT_EQ(longs[0].DateTime, D(2024, 1, 1));
  EXPECT_EQ(longs[0].PresString, "2024 w 1");
  EXPECT_EQ(longs[1].PresString, "2024 w 2");
  EXPECT_EQ(s.GetOddOrEventStartForVerticalBack(), 1);

  // A quarter step: the first mark lies before Start.
  s.SetStop(D(2024, 3, 20) + 1000 * 3.0);
  s.SetStart(D(2024, 3, 20));
  ASSERT_EQ(s.GetSmallStep(), kScale3Month);
  EXPECT_EQ(s.GetShortScaleMarks()[0].DateTime, D(2024, 1, 1));
  EXPECT_LT(s.GetShortScaleMarks()[0].Pixel, 0);
  EXPECT_EQ(s.GetShortScaleMarks()[0].PresString, " Q1");
  EXPECT_EQ(s.GetShortScaleMarks()[1].DateTime, D(2024, 4, 1));
  EXPECT_EQ(s.GetShortScaleMarks()[1].PresString, " Q2");
  EXPECT_EQ(TvxDateScaler::DateToQuarter(D(2024, 3, 20)), 2);
  EXPECT_EQ(s.GetLongScaleMarks()[0].PresString, "2024");

  // Decades label their span.
  s.SetStop(s.GetStart() + 1000 * 10.0);
  ASSERT_EQ(s.GetLongStep(), kScale10Year);
  EXPECT_EQ(s.GetLongScaleMarks()[0].PresString, "2020 - 2029");

  // Hooks choose texts and fonts; a zero switch distance builds no marks.
  s.SetStop(s.GetStart() + 10);
  s.OnUserStringShort = [](TDateTime, TDateTime, std::string& text, TScalerFont& font) {
    text = "<" + text + ">";
    font = sTextFont3;
  };
  s.CalcDrawMode();
  EXPECT_EQ(s.GetShortScaleMarks()[1].PresString, "<Thu>");
  EXPECT_EQ(s.GetShortScaleMarks()[1].ScalerFont, sTextFont3);
  s.OnUserStringShort = nullptr;
  s.SetPixelsForModeSwitch(0);
  EXPECT_TRUE(s.GetShortScaleMarks().empty());
  EXPECT_EQ(s.DateToPixel(s.GetStart() + 5), 500);  // linear without marks
  s.SetPixelsForModeSwitch(15);

  // Below ten milliseconds per 15 pixels: the finest steps.
  s.SetStop(s.GetStart() + 1000 * 0.0000000005);
  EXPECT_EQ(s.GetSmallStep(), kScale10Hun);
  EXPECT_EQ(s.GetSmallStepName(), "1 tiondel");
  EXPECT_EQ(s.GetLongStep(), kScale1Sec);
}

TEST(ScalerModel, WeekNumbers) {
  TvxDateScaler s(nullptr);
  const struct {
    TDateTime date;
    int week;
    bool nextYear;
  } cases[] = {{D(2020, 12, 31), 53, false}, {D(2024, 12, 30), 1, true}, {D(2017, 1, 1), 1, false},
               {D(2017, 1, 2), 1, false},    {D(2017, 1, 9), 2, false}};
  for (const auto& c : cases) {
    bool nextYear = !c.nextYear;
    EXPECT_EQ(s.GetWeekNum(c.date, nextYear), c.week) << c.date;
    EXPECT_EQ(nextYear, c.nextYear) << c.date;
  }
  EXPECT_EQ(s.GetWeekString("", D(2024, 12, 30), false, 0), "2025 w 1");
  bool containsJan1;
  EXPECT_EQ(s.FirstWeekOfYear(D(2026, 6, 1), containsJan1), D(2025, 12, 29));
  EXPECT_TRUE(containsJan1);
  // Weeks starting on Sunday.
  s.SetFirstDayOfWeek(1);
  EXPECT_EQ(s.TruncToFirstDayOfWeek(D(2024, 1, 3, 15)), D(2023, 12, 31));
  s.SetFirstDayOfWeek(9);  // ignored
  EXPECT_EQ(s.GetFirstDayOfWeek(), 1);
  s.SetWeekNumbers(false);
  EXPECT_EQ(s.GetWeekString("dd.mm", D(2024, 5, 6), false, 0), "06.05");
}

TEST(ScalerModel, OneChangeNotificationAfterTheRepaint) {
  TvxDateScaler s(nullptr);
  s.SetHorizontal(true);
  s.SetBounds(0, 0, 500, 40);
  int changes = 0;
  s.OnChange = [&](TObject*) { ++changes; };
  TBitmap shot;
  s.PaintTo(&shot);
  vxtest::ProcessEventsUntilIdle();
  changes = 0;
  s.SetStart(D(2024, 1, 1));
  s.SetStop(D(2024, 2, 1));
  s.SetScale(0.1);
  EXPECT_EQ(changes, 0);
  s.PaintTo(&shot);
  EXPECT_EQ(changes, 0);  // after the paint, outside its call
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(changes, 1);

  // Held back while a drag zooms; one change after the release's repaint.
  s.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 30));
  s.Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(330, 30));
  s.PaintTo(&shot);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(changes, 1);
  s.Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(360, 30));
  s.Perform(WM_LBUTTONUP, 0, MAKELPARAM(360, 30));
  s.PaintTo(&shot);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(changes, 2);

  // A resize keeps the scale and grows the window with the control.
  const double scale = s.GetScale();
  const TDateTime start = s.GetStart();
  s.SetBounds(0, 0, 800, 40);
  s.PaintTo(&shot);
  EXPECT_NEAR(s.GetScale(), scale, 1e-9);
  EXPECT_EQ(s.GetStart(), start);
  EXPECT_NEAR(s.GetStop() - start, scale * 800, 1e-6);
}

TEST(ScalerModel, TimerScrolling) {
  Axis a(1000, D(2024, 1, 1), D(2024, 1, 11));
  a.s.StartStepUp();
  EXPECT_TRUE(a.s.IsScrollTimerOn());
  EXPECT_EQ(a.s.GetScrollTimerInterval(), 150u);
  const TDateTime before = a.s.GetStart();
  for (int k = 0; k < 100 && a.s.GetStart() == before; ++k) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_NEAR(a.s.GetStart() - before, a.s.GetScrollStep(), 1e-9);  // one step of 15 pixels
  a.s.StopStep();
  EXPECT_FALSE(a.s.IsScrollTimerOn());
  EXPECT_EQ(a.s.GetScrollTimerInterval(), 50u);

}

TEST(ScalerModel, AbsurdInputNeverHangsOrCorrupts) {
  Axis a(1920, D(2024, 1, 1), D(2024, 2, 1));
  a.s.SetHiddenDays({thdSAT, thdSUN});
  const TDateTime start = a.s.GetStart(), stop = a.s.GetStop();
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (double bad : {nan, inf, -inf}) {
    a.s.SetStart(bad);
    a.s.SetStop(bad);
    a.s.SetScale(bad);
    a.s.SetCenterScale(bad, bad, 10);
    EXPECT_EQ(a.s.GetStart(), start);  // ignored, not clamped
    EXPECT_EQ(a.s.GetStop(), stop);
  }
  for (double huge : {1e300, -1e300}) {
    a.s.SetStart(huge);
    EXPECT_GE(a.s.GetStart(), 0);
    EXPECT_LE(a.s.GetStart(), D(4000, 1, 1));
    EXPECT_LE(a.s.GetShortScaleMarks().size(), 1920u);
    a.s.SetStart(start);
  }
  // A label hook that fails makes the rebuild fail cleanly, with a sane window after.
  a.s.OnUserStringLong = [](TDateTime, TDateTime, std::string&, TScalerFont&) { throw std::runtime_error("bad hook"); };
  try {
    a.s.CalcDrawMode();
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Scale error:bad hook");
  }
  EXPECT_EQ(a.s.GetStop(), a.s.GetStart() + 1);
  a.s.OnUserStringLong = nullptr;
  a.s.CalcDrawMode();
  EXPECT_FALSE(a.s.GetShortScaleMarks().empty());
}
