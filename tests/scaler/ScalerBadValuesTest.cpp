// Values at the edges for the time axis: windows of no number, infinite or
// turned round, resolutions of nothing, every hour or day hidden, sizes of
// zero and of the largest int, huge format texts. The scaler paints, prints,
// zooms and pans through them to a defined answer: a finite window with its
// start before its stop, and no sanitizer report.
#include <gtest/gtest.h>

#include <QFile>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>

#include "UiTestSupport.h"
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/scaler/vxScaler.h>

using namespace vx;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Case {
  const char* name;
  std::function<void(TvxDateScaler&)> spoil;
};

const Case kCases[] = {
    {"a window of no number", [](TvxDateScaler& s) {
       s.SetStart(kNaN);
       s.SetStop(kNaN);
     }},
    {"an infinite window", [](TvxDateScaler& s) {
       s.SetStop(kInf);
       s.SetStart(-kInf);
     }},
    {"a window turned round", [](TvxDateScaler& s) {
       s.SetStart(EncodeDate(2030, 1, 1));
       s.SetStop(EncodeDate(2020, 1, 1));
     }},
    {"a window of 1e300", [](TvxDateScaler& s) {
       s.SetStop(1e300);
       s.SetStart(-1e300);
     }},
    {"from year 1 to year 9999", [](TvxDateScaler& s) {
       s.SetStart(EncodeDate(1, 1, 1));
       s.SetStop(EncodeDate(9999, 12, 31));
     }},
    {"before year 1 and after 9999", [](TvxDateScaler& s) {
       s.SetStart(-1e6);
       s.SetStop(3.5e6);
     }},
    {"a window of no length", [](TvxDateScaler& s) {
       s.SetStop(s.GetStart());
       s.SetScale(0);
       s.SetScale(kNaN);
       s.SetScale(-1);
       s.SetScale(1e300);
     }},
    {"limits of no number and turned round", [](TvxDateScaler& s) {
       s.SetMinStart(kNaN);
       s.SetMaxStop(-kInf);
       s.SetMinStart(EncodeDate(2030, 1, 1));
       s.SetMaxStop(EncodeDate(2020, 1, 1));
     }},
    {"every hour and every day hidden", [](TvxDateScaler& s) {
       TvxHiddenHours hours;
       for (int h = 0; h < 24; ++h) hours.Include(static_cast<TvxHiddenHoursEnum>(h));
       s.SetHiddenHours(hours);
       s.SetHiddenDays(TvxHiddenDays{thdSUN, thdMON, thdTUE, thdWED, thdTHU, thdFRI, thdSAT});
     }},
    {"weekends and nights hidden", [](TvxDateScaler& s) {
       s.SetHiddenDays({thdSAT, thdSUN});
       s.SetHiddenHours({thh17, thh18, thh19, thh20, thh21, thh22, thh23});
     }},
    {"zoom factor, first day and mode switch out of range", [](TvxDateScaler& s) {
       s.SetZoomFactor(kNaN);
       s.SetZoomFactor(0);
       s.SetFirstDayOfWeek(INT_MAX);
       s.SetFirstDayOfWeek(-5);
       s.SetPixelsForModeSwitch(INT_MAX);
       s.SetPixelsForModeSwitch(0);
       s.SetPixelsForModeSwitch(-1);
     }},
    {"a megabyte of format", [](TvxDateScaler& s) {
       s.SetDateFormat(std::string(1 << 20, 'y'));
       s.SetTimeFormat(std::string(1 << 20, 'h'));
       s.SetWeekPrefix(std::string(1 << 20, 'w'));
     }},
    {"sizes of nothing and of the largest int", [](TvxDateScaler& s) {
       s.SetBounds(0, 0, 0, 0);
       s.Repaint();
       s.SetBounds(INT_MAX, INT_MAX, INT_MAX, INT_MAX);
       s.Repaint();
       s.SetBounds(0, 0, 800, 45);
     }},
};

class ScalerBadValues : public testing::TestWithParam<int> {};

TEST_P(ScalerBadValues, AFiniteWindowAndNoSanitizerReport) {
  const Case& k = kCases[GetParam()];
  SCOPED_TRACE(k.name);
  TPanel form(nullptr);
  form.SetBounds(0, 0, 900, 100);
  auto* scaler = new TvxDateScaler(&form);
  TvxDateScaler& s = *scaler;
  s.SetParent(&form);
  s.SetHorizontal(true);
  s.SetBounds(0, 0, 800, 45);
  s.SetStart(EncodeDate(2026, 1, 5));
  s.SetStop(EncodeDate(2026, 1, 19));
  vxtest::ShowWindow(&form);
  k.spoil(s);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_TRUE(std::isfinite(s.GetStart()) && std::isfinite(s.GetStop()));
  EXPECT_LT(s.GetStart(), s.GetStop());
  // Paint, print, convert; drag to zoom, Ctrl-drag to pan, the wheel.
  TBitmap shot;
  s.PaintTo(&shot);
  auto dc = TDeviceContext::CreateImage(2000, 200);
  s.Print(dc.get(), 10, 10, 2, 2, true);
  for (double t : {kNaN, kInf, -kInf, 1e300, -1e300, s.GetStart()}) {
    (void)s.DateToPixel(t);
    (void)s.TimeToPixel(t);
    (void)s.VisibleTimeToTrueTime_Low(t);
    const double visible = s.DateDiffToVisibleTime(s.GetStart(), t);
    const double back = s.VisibleTimeDiffToTrueTime(s.GetStart(), t);
    if (std::isfinite(t)) EXPECT_TRUE(std::isfinite(visible) && std::isfinite(back)) << t;
  }
  for (int x : {INT_MIN, -1, 0, 400, INT_MAX}) EXPECT_FALSE(std::isnan(s.PixelToDate(x)));
  for (Qt::KeyboardModifiers m : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
    vxtest::MousePress(&s, 300, 20, Qt::LeftButton, m);
    vxtest::MouseMove(&s, 350, 20);
    vxtest::MouseMove(&s, 500, 22);
    vxtest::MouseRelease(&s, 500, 22, Qt::LeftButton, m);
  }
  vxtest::Wheel(&s, 400, 20, 120);
  vxtest::Wheel(&s, 400, 20, -360);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_TRUE(std::isfinite(s.GetStart()) && std::isfinite(s.GetStop()));
  EXPECT_LT(s.GetStart(), s.GetStop());
}

INSTANTIATE_TEST_SUITE_P(Every, ScalerBadValues, testing::Range(0, static_cast<int>(std::size(kCases))));

}  // namespace
