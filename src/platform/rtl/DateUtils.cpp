#include <vxplan/platform/rtl/DateUtils.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/Math.h>

namespace vx {

namespace {

constexpr int kDaysPer400Years = 146097;
constexpr int kDaysPer100Years = 36524;
constexpr int kDaysPer4Years = 1461;
// Day 0 counted from 0001-01-01 is 1899-12-30.
constexpr std::int64_t kEpochOffset = 693593;
// Serial numbers of 0001-01-01 and 9999-12-31.
constexpr std::int64_t kMinSerial = -kEpochOffset;
constexpr std::int64_t kMaxSerial = 2958465;

constexpr int kMSecsPerDayInt = 86400000;

// Days before the first of each month, common and leap years.
constexpr int kMonthStart[2][13] = {{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
                                    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}};

// Days from 0001-01-01 to January 1st of theYear.
std::int64_t DaysBeforeYear(int theYear) noexcept {
  const std::int64_t y = theYear - 1;
  return y * 365 + y / 4 - y / 100 + y / 400;
}

// The whole-day serial, clamped to the supported range; the date part is
// truncated toward zero so that -1.25 belongs to day -1. NaN gives the low end.
std::int64_t ClampedSerial(TDateTime theDate) noexcept {
  if (!(theDate >= static_cast<double>(kMinSerial))) return kMinSerial;  // also NaN
  if (theDate >= static_cast<double>(kMaxSerial + 1)) return kMaxSerial;
  return static_cast<std::int64_t>(std::trunc(theDate));
}

struct LocalNow {
  TDateTime date;
  TDateTime time;
};

LocalNow ReadClock() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t secs = system_clock::to_time_t(now);
  // to_time_t may round; take the milliseconds relative to the second it chose.
  auto ms = duration_cast<milliseconds>(now - system_clock::from_time_t(secs)).count();
  if (ms < 0) ms = 0;
  if (ms > 999) ms = 999;
  std::tm local{};
  localtime_r(&secs, &local);
  const int sec = local.tm_sec > 59 ? 59 : local.tm_sec;  // leap second
  return {EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
          EncodeTime(local.tm_hour, local.tm_min, sec, static_cast<int>(ms))};
}

}  // namespace

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

bool IsLeapYear(int theYear) noexcept {
  return theYear % 4 == 0 && (theYear % 100 != 0 || theYear % 400 == 0);
}

int DaysInMonth(int theYear, int theMonth) noexcept {
  if (theMonth < 1 || theMonth > 12) return 0;
  const int leap = IsLeapYear(theYear) ? 1 : 0;
  return kMonthStart[leap][theMonth] - kMonthStart[leap][theMonth - 1];
}

bool TryEncodeDate(int theYear, int theMonth, int theDay, TDateTime& theResult) noexcept {
  if (theYear < 1 || theYear > 9999 || theMonth < 1 || theMonth > 12) return false;
  if (theDay < 1 || theDay > DaysInMonth(theYear, theMonth)) return false;
  const int leap = IsLeapYear(theYear) ? 1 : 0;
  const std::int64_t days = DaysBeforeYear(theYear) + kMonthStart[leap][theMonth - 1] + theDay - 1;
  theResult = static_cast<TDateTime>(days - kEpochOffset);
  return true;
}

bool TryEncodeTime(int theHour, int theMin, int theSec, int theMSec, TDateTime& theResult) noexcept {
  if (theHour < 0 || theHour > 23 || theMin < 0 || theMin > 59 || theSec < 0 || theSec > 59 || theMSec < 0 ||
      theMSec > 999)
    return false;
  const int ms = ((theHour * 60 + theMin) * 60 + theSec) * 1000 + theMSec;
  theResult = ms / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(int theYear, int theMonth, int theDay) {
  TDateTime result = 0;
  if (!TryEncodeDate(theYear, theMonth, theDay, result)) throw Exception("Invalid argument to date encode");
  return result;
}

TDateTime EncodeTime(int theHour, int theMin, int theSec, int theMSec) {
  TDateTime result = 0;
  if (!TryEncodeTime(theHour, theMin, theSec, theMSec, result)) throw Exception("Invalid argument to time encode");
  return result;
}

void DecodeDate(TDateTime theDate, int& theYear, int& theMonth, int& theDay) noexcept {
  // Zero-based day count since 0001-01-01, split into 400-, 100-, 4- and
  // 1-year cycles; the last 100- and 1-year cycle of each larger one is a day
  // longer, hence the clamps to 3.
  std::int64_t days = ClampedSerial(theDate) + kEpochOffset;
  int year = 1;
  year += static_cast<int>(days / kDaysPer400Years) * 400;
  days %= kDaysPer400Years;
  int centuries = static_cast<int>(days / kDaysPer100Years);
  if (centuries == 4) centuries = 3;
  year += centuries * 100;
  days -= static_cast<std::int64_t>(centuries) * kDaysPer100Years;
  year += static_cast<int>(days / kDaysPer4Years) * 4;
  days %= kDaysPer4Years;
  int years = static_cast<int>(days / 365);
  if (years == 4) years = 3;
  year += years;
  days -= static_cast<std::int64_t>(years) * 365;

  const int leap = IsLeapYear(year) ? 1 : 0;
  int month = 1;
  while (month < 12 && days >= kMonthStart[leap][month]) ++month;
  theYear = year;
  theMonth = month;
  theDay = static_cast<int>(days - kMonthStart[leap][month - 1]) + 1;
}

void DecodeTime(TDateTime theTime, int& theHour, int& theMin, int& theSec, int& theMSec) noexcept {
  theHour = theMin = theSec = theMSec = 0;
  if (!std::isfinite(theTime)) return;
  const double fraction = std::fabs(theTime - std::trunc(theTime));
  std::int64_t ms = Round64(fraction * MSecsPerDay);
  // A fraction within half a millisecond of the next day stays on this one.
  if (ms >= kMSecsPerDayInt) ms = kMSecsPerDayInt - 1;
  if (ms < 0) ms = 0;
  const int total = static_cast<int>(ms);
  theMSec = total % 1000;
  theSec = total / 1000 % 60;
  theMin = total / 60000 % 60;
  theHour = total / 3600000;
}

int DayOfWeek(TDateTime theDate) noexcept {
  // Serial 0 was a Saturday (7), serial 1 a Sunday (1).
  const std::int64_t serial = ClampedSerial(theDate);
  std::int64_t r = (serial + 6) % 7;
  if (r < 0) r += 7;
  return static_cast<int>(r) + 1;
}

TDateTime Now() {
  const LocalNow now = ReadClock();
  return now.date + now.time;
}

TDateTime Date() { return ReadClock().date; }

TDateTime Time() { return ReadClock().time; }

std::string FormatDuration(TDateTime theLength, const std::string& theTimeFormat) {
  if (!std::isfinite(theLength) || std::abs(theLength) >= 1e12) return "";
  const bool negative = theLength < 0;
  const TDateTime length = negative ? -theLength : theLength;
  const long long days = static_cast<long long>(length);
  std::string text = FormatDateTime(theTimeFormat, length - static_cast<TDateTime>(days));
  if (days > 0) text = std::to_string(days) + " d " + text;
  return negative ? "-" + text : text;
}

}  // namespace vx
