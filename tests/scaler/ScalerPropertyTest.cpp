// Random windows, widths and hidden sets: the mapping stays monotonic, the
// round trip lands within a pixel, and hidden time takes no pixels.
#include <gtest/gtest.h>

#include <random>

#include <vxplan/scaler/vxScaler.h>

using namespace vx;

TEST(ScalerProperty, MappingIsMonotonicAndRoundTrips) {
  std::mt19937 rng(7301);
  auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  for (int trial = 0; trial < 60; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    TvxDateScaler s(nullptr);
    s.SetHorizontal(true);
    const int width = std::uniform_int_distribution<int>(200, 2000)(rng);
    s.SetBounds(0, 0, width, 40);
    TvxHiddenHours hours;
    TvxHiddenDays days;
    for (int h = 0; h < 24; ++h)
      if (uniform(0, 1) < 0.3) hours.Include(static_cast<TvxHiddenHoursEnum>(h));
    for (int d = 0; d < 7; ++d)
      if (uniform(0, 1) < 0.2) days.Include(static_cast<TvxHiddenDaysEnum>(d));
    s.SetHiddenHours(hours);
    s.SetHiddenDays(days);
    // Windows from an hour to a few years.
    const double start = EncodeDate(2024, 1, 1) + uniform(0, 700);
    const double span = std::exp(uniform(std::log(1.0 / 24), std::log(1500.0)));
    s.SetStart(start);
    s.SetScale(span / width);
    ASSERT_GT(s.GetScale(), 0);

    const auto& marks = s.GetShortScaleMarks();
    for (size_t k = 1; k < marks.size(); ++k) {
      ASSERT_LT(marks[k - 1].DateTime, marks[k].DateTime);
      ASSERT_LE(marks[k - 1].Pixel, marks[k].Pixel + 1e-9);
      // A hidden interval takes no pixels.
      if (marks[k - 1].Hidden) {
        ASSERT_NEAR(marks[k - 1].Pixel, marks[k].Pixel, 1e-6);
      }
    }

    const double first = s.GetStart(), last = s.GetStop();
    int previous = s.DateToPixel(first);
    const double pixelTime = s.GetScale();
    for (int k = 1; k <= 400; ++k) {
      const double d = first + (last - first) * k / 400;
      const int p = s.DateToPixel(d);
      ASSERT_GE(p, previous) << "not monotonic at " << d;
      previous = p;
      if (s.VisibleTimeToTrueTime_High(d) != d) continue;  // hidden
      const double back = s.PixelToDate(p);
      // Within one pixel's worth of visible time.
      ASSERT_LE(std::fabs(s.DateDiffToVisibleTime(back, d)), 1.5 * pixelTime + 11 * OneSecond)
          << "date " << d << " pixel " << p;
    }
  }
}
