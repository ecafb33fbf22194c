// Random windows, widths and hidden sets: the mapping stays monotonic, the
// round trip lands within a pixel, and hidden time takes no pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include <vxplan/platform/rtl/Math.h>
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
    // The anchor of a date is the last mark at or before it, wherever the
    // date falls: on a mark, just beside one, or past either end.
    std::vector<double> probes = {first - 30, last + 30, std::nextafter(first, 0.0)};
    for (const TScaleMark& m : marks)
      probes.insert(probes.end(), {m.DateTime, std::nextafter(m.DateTime, 0.0), m.DateTime + pixelTime / 3});
    for (double d : probes) {
      auto after = std::upper_bound(marks.begin(), marks.end(), d,
                                    [](double t, const TScaleMark& m) { return t < m.DateTime; });
      const double anchorDate = after == marks.begin() ? s.GetStart() : std::prev(after)->DateTime;
      const double anchorPixel = after == marks.begin() ? 0 : std::prev(after)->Pixel;
      ASSERT_EQ(s.DateToPixel(d), Round(s.DateDiffToPixelLength(anchorDate, d) + anchorPixel))
          << "date " << d;
    }
    // Every pixel of the axis answers a date that lies on that very pixel.
    for (int p = 0; p < width; p += 1 + width / 300) {
      ASSERT_EQ(s.DateToPixel(s.PixelToDate(p)), p) << "pixel " << p;
    }
  }
}

// The table of visible time answers what the walk over hidden spans does.
TEST(ScalerProperty, VisibleTimeTableAgreesWithTheWalk) {
  std::mt19937 rng(4411);
  auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  for (int trial = 0; trial < 40; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    TvxDateScaler s(nullptr);
    TvxHiddenHours hours;
    TvxHiddenDays days;
    std::array<bool, 24> hidden{};
    for (int h = 0; h < 24; ++h)
      if (uniform(0, 1) < 0.4) hours.Include(static_cast<TvxHiddenHoursEnum>(h));
    for (int d = 0; d < 7; ++d)
      if (uniform(0, 1) < 0.3) days.Include(static_cast<TvxHiddenDaysEnum>(d));
    s.SetHiddenHours(hours);
    s.SetHiddenDays(days);
    for (int h = 0; h < 24; ++h) hidden[static_cast<size_t>(h)] = s.IsHiddenHour(h);
    const long long first = static_cast<long long>(EncodeDate(2024, 1, 1)) + trial * 13;
    const long long count = 1 + trial * 7;
    TVisibleTimeTable table;
    ASSERT_TRUE(table.Build(first, count, hidden, 1, [&](long long day) { return s.IsHiddenDay(day); }));
    EXPECT_FALSE(table.Covers(static_cast<double>(first), 2));  // another key
    EXPECT_FALSE(table.Covers(static_cast<double>(first + count), 1));
    for (int k = 0; k < 200; ++k) {
      const double d = first + uniform(0, static_cast<double>(count));
      ASSERT_TRUE(table.Covers(d, 1));
      const double visible = table.VisibleBefore(d);
      ASSERT_NEAR(visible, s.DateDiffToVisibleTime(static_cast<double>(first), d), 2 * OneMillisecond) << d;
      // Back: a date with the same visible time, which is d itself when d is shown.
      const double back = table.DateAt(visible);
      ASSERT_NEAR(table.VisibleBefore(back), visible, 2 * OneMillisecond) << d;
      if (s.VisibleTimeToTrueTime_High(d) == d && visible > 0) ASSERT_NEAR(back, d, 2 * OneMillisecond) << d;
    }
  }
  // More days than it tables: nothing, and nothing covered.
  TVisibleTimeTable big;
  EXPECT_FALSE(big.Build(0, TVisibleTimeTable::MostDays + 1, {}, 0, [](long long) { return false; }));
  EXPECT_FALSE(big.Covers(1.5, 0));
}
