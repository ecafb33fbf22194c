// Hidden hours and days, and the conversions between true and visible time.
#include <cmath>
#include <cstdint>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/scaler/vxScaler.h>

namespace vx {

namespace {

constexpr std::int64_t kMsPerHour = 3600000;
constexpr std::int64_t kMsPerDay = 86400000;

// The arithmetic below runs on a continuous axis: day numbers are floored, so
// that time keeps its order on both sides of the epoch. Dates beyond
// 0001-01-01 .. 9999-12-31 (and non-finite ones) are taken at those ends, so
// that absurd input costs no more than the largest real one.
constexpr double kFirstDate = -693593.0;
constexpr double kLastDate = 2958466.0;

double Sane(double aDate) noexcept {
  if (!(aDate == aDate)) return 0;
  if (aDate < kFirstDate) return kFirstDate;
  if (aDate > kLastDate) return kLastDate;
  return aDate;
}

long long DayOf(double aDate) noexcept { return static_cast<long long>(std::floor(aDate)); }

// Milliseconds since the start of the day, 0 .. 86400000.
std::int64_t MsOfDay(double aDate) noexcept {
  const double frac = aDate - std::floor(aDate);
  return static_cast<std::int64_t>(std::llround(frac * MSecsPerDay));
}

int DayOfWeekOfDay(long long aDay) noexcept {
  // Day 0 (1899-12-30) is a Saturday (7).
  return static_cast<int>(((aDay % 7) + 7 + 6) % 7) + 1;
}

constexpr long long kMaxCorrections = 200;
constexpr long long kMaxSteps = 4000;

}  // namespace

bool TvxDateScaler::IsHiddenHour(int aHour) const noexcept {
  if (aHour < 0 || aHour > 23) return false;
  return fHiddenHours.Contains(static_cast<TvxHiddenHoursEnum>(aHour));
}

bool TvxDateScaler::IsHiddenDay(long long aDay) const noexcept {
  return fHiddenDays.Contains(static_cast<TvxHiddenDaysEnum>(DayOfWeekOfDay(aDay) - 1));
}

TDateTime TvxDateScaler::VisibleTimeForDay(long long aDay) const noexcept {
  if (IsHiddenDay(aDay)) return 0;
  return (24 - fHiddenHoursCount) / 24.0;
}

TDateTime TvxDateScaler::VisibleTimeForWeek() {
  if (fVisibleTimeForWeekOutOfDate) {
    const long long first = static_cast<long long>(EncodeDate(2002, 1, 1));
    fVisibleTimeForWeek = 0;
    for (long long d = first; d < first + 7; ++d) fVisibleTimeForWeek += VisibleTimeForDay(d);
    fVisibleTimeForWeekOutOfDate = false;
  }
  return fVisibleTimeForWeek;
}

TDateTime TvxDateScaler::VisibleTimeForPartOfDay(long long aDay, TDateTime aLen, TDateTime aFrom) const noexcept {
  if (IsHiddenDay(aDay)) return 0;
  const double len = aLen - std::trunc(aLen);
  const double from = aFrom - std::floor(aFrom);
  if (len <= 0) return len;

  // Whole milliseconds, so that hour boundaries are exact.
  const std::int64_t fromMs = std::llround(from * MSecsPerDay);
  const int h1 = static_cast<int>(fromMs / kMsPerHour);
  double head = 0;
  int first = h1;
  if (fromMs % kMsPerHour != 0) {
    head = static_cast<double>(kMsPerHour - fromMs % kMsPerHour) / MSecsPerDay;
    first = h1 + 1;
  }
  double tail;
  int last, h2;
  const std::int64_t endMs = std::llround((from + len) * MSecsPerDay);
  if (endMs >= kMsPerDay) {
    tail = 0;
    last = 23;
    h2 = 24;
  } else {
    h2 = static_cast<int>(endMs / kMsPerHour);
    tail = static_cast<double>(endMs % kMsPerHour) / MSecsPerDay;
    last = h2 - 1;
  }
  if (h2 == h1) {
    head = 0;
    tail = len;
  }
  if (IsHiddenHour(first - 1)) head = 0;
  if (IsHiddenHour(last + 1)) tail = 0;
  int n = 0;
  for (int h = first; h <= last; ++h)
    if (!IsHiddenHour(h)) ++n;
  if (n == 24) return 1.0;
  return n / 24.0 + tail + head;
}

TDateTime TvxDateScaler::DateDiffToVisibleTime(TDateTime aFrom, TDateTime aTo) {
  double a = Sane(aFrom), b = Sane(aTo);
  // Nothing hidden: all time is visible (every item's every paint asks this).
  if (fHiddenDaysCount == 0 && fHiddenHoursCount == 0) return b - a;
  double sign = 1;
  if (b < a) {
    std::swap(a, b);
    sign = -1;
  }
  const long long dayA = DayOf(a), dayB = DayOf(b);
  const double fracA = a - static_cast<double>(dayA), fracB = b - static_cast<double>(dayB);
  double rest = 1 - fracA;
  if (rest == 1) rest = 0;
  const long long firstFull = fracA == 0 ? dayA : dayA + 1;
  const long long lastFull = dayB - 1;

  double total;
  if (dayA == dayB)
    total = VisibleTimeForPartOfDay(dayB, fracB - fracA, a);
  else
    total = VisibleTimeForPartOfDay(dayA, rest, fracA) + VisibleTimeForPartOfDay(dayB, fracB, 0);

  // Whole days; whole weeks in one step once more than 13 days remain and
  // the walk stands on a Sunday.
  long long d = firstFull;
  while (d <= lastFull) {
    if (lastFull - d > 13 && DayOfWeekOfDay(d) == 1) {
      const long long w = (lastFull - d) / 7;
      total += VisibleTimeForWeek() * static_cast<double>(w);
      d += 7 * w;
    } else {
      total += VisibleTimeForDay(d);
      ++d;
    }
  }
  // Visible time never exceeds true time.
  if (b - a < total) total = b - a;
  return total * sign;
}

TDateTime TvxDateScaler::VisibleTimeDiffToTrueTime(TDateTime aFrom, TDateTime aVisible) {
  if (!std::isfinite(aFrom) || !std::isfinite(aVisible)) return std::isfinite(aFrom) ? aFrom : 0;
  double from = Sane(aFrom), visible = aVisible;
  double t = from + visible;
  // Successive correction: each round adds what is still missing. Bounded, so
  // that absurd input ends (with the best date found).
  for (long long round = 0; round < kMaxCorrections; ++round) {
    t = from + visible;
    if (t < 0) return 0;
    if (t > kLastDate || t < kFirstDate) return Sane(t);
    const double got = DateDiffToVisibleTime(from, t);
    if (std::fabs(visible - got) < kScale10Sec) return t;
    if (got == 0) t = visible > 0 ? VisibleTimeToTrueTime_High(t) : VisibleTimeToTrueTime_Low(t);
    from = t;
    visible -= got;
  }
  return t;
}

TDateTime TvxDateScaler::VisibleTimeToTrueTime_Low(TDateTime aDate) const noexcept {
  double d = Sane(aDate);
  for (long long step = 0; step < kMaxSteps; ++step) {
    if (d < 0) return 0;
    const long long day = DayOf(d);
    if (IsHiddenDay(day)) {
      d = d != static_cast<double>(day) ? static_cast<double>(day) : d - OneMillisecond;
      continue;
    }
    const int h = static_cast<int>(MsOfDay(d) / kMsPerHour);
    if (IsHiddenHour(h)) {
      d = static_cast<double>(day) + h * OneHour - OneMillisecond;
      continue;
    }
    return d;
  }
  return d;
}

TDateTime TvxDateScaler::VisibleTimeToTrueTime_High(TDateTime aDate) const noexcept {
  double d = Sane(aDate);
  for (long long step = 0; step < kMaxSteps; ++step) {
    const long long day = DayOf(d);
    if (IsHiddenDay(day)) {
      d = static_cast<double>(day + 1);
      continue;
    }
    const int h = static_cast<int>(MsOfDay(d) / kMsPerHour);
    if (IsHiddenHour(h)) {
      d = static_cast<double>(day) + (h + 1) * OneHour;
      continue;
    }
    return d;
  }
  return d;
}

void TvxDateScaler::SetHiddenHours(TvxHiddenHours Value) {
  fHiddenHours = Value - TvxHiddenHours::FromBits(~std::uint64_t{0} << 24);
  fVisibleTimeForWeekOutOfDate = true;
  fHiddenHoursCount = 0;
  for (int h = 0; h < 24; ++h)
    if (IsHiddenHour(h)) ++fHiddenHoursCount;
  if (fHiddenHoursCount == 24) {
    SetHiddenHours(TvxHiddenHours());  // hiding everything shows everything
    return;
  }
  AfterHiddenChange();
}

void TvxDateScaler::SetHiddenDays(TvxHiddenDays Value) {
  fHiddenDays = Value - TvxHiddenDays::FromBits(~std::uint64_t{0} << 7);
  fVisibleTimeForWeekOutOfDate = true;
  fHiddenDaysCount = 0;
  for (int d = 0; d < 7; ++d)
    if (fHiddenDays.Contains(static_cast<TvxHiddenDaysEnum>(d))) ++fHiddenDaysCount;
  if (fHiddenDaysCount == 7) {
    SetHiddenDays(TvxHiddenDays());
    return;
  }
  AfterHiddenChange();
}

void TvxDateScaler::AfterHiddenChange() {
  // Marks of the new setting at the old scale (the old visible amount is
  // still cached), then the window's end moves so that it shows as much
  // visible time as before.
  CalcDrawMode();
  SetStop(PixelToDate(GetScaleLen()));
  fVisibleTimeAmountValid = false;
  CalcDrawMode();
  fCallOnChangeWhenRefreshed = true;
  Invalidate();
}

}  // namespace vx
