#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <string>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/rtl/Exception.h>

using namespace vx;

namespace {

template <class F>
std::string ThrownMessage(F f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "<nothing thrown>";
}

struct Ymd {
  int y, m, d;
  bool operator==(const Ymd&) const = default;
};

Ymd Decoded(TDateTime dt) {
  Ymd r{};
  DecodeDate(dt, r.y, r.m, r.d);
  return r;
}

std::string DecodedTime(TDateTime dt) {
  int h = -1, n = -1, s = -1, z = -1;
  DecodeTime(dt, h, n, s, z);
  return std::to_string(h) + ":" + std::to_string(n) + ":" + std::to_string(s) + "." + std::to_string(z);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(DateTime, EveryDayOfTheRangeRoundTripsWithItsWeekday) {
  // Walks 0001-01-01 (a Monday) .. 9999-12-31 one day at a time: each serial
  // is the previous one plus one, decodes to the expected date and has the
  // next weekday (1 Sunday .. 7 Saturday). Known serials pin the calendar.
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_EQ(DaysInMonth(2023, 13), 0);
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0);  // 1900 has no Feb 29
  EXPECT_EQ(EncodeDate(2024, 1, 1), 45292.0);
  Ymd expected{1, 1, 1};
  double serial = EncodeDate(1, 1, 1);
  EXPECT_EQ(serial, -693593.0);
  int weekday = 2;
  long mismatches = 0;
  for (;;) {
    if (!(Decoded(serial) == expected) || EncodeDate(expected.y, expected.m, expected.d) != serial ||
        DayOfWeek(serial) != weekday) {
      if (++mismatches < 5) ADD_FAILURE() << expected.y << "-" << expected.m << "-" << expected.d << " at " << serial;
    }
    if (expected == Ymd{9999, 12, 31}) break;
    serial += 1;
    weekday = weekday % 7 + 1;
    if (++expected.d > DaysInMonth(expected.y, expected.m)) {
      expected.d = 1;
      if (++expected.m > 12) expected.m = 1, ++expected.y;
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(serial, 2958465.0);
  EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), (MSecsPerDay - 1) / MSecsPerDay);
  // Times of day and values out of range.
  EXPECT_EQ(DayOfWeek(0.75), 7);
  EXPECT_EQ(DayOfWeek(-1.25), 6);  // 1899-12-29, Friday
  EXPECT_EQ(DayOfWeek(kNaN), 2);   // as 0001-01-01
  EXPECT_EQ(DayOfWeek(1e300), 6);  // as 9999-12-31
}

TEST(DateTime, TimeRoundTripsAndNegativeDates) {
  for (double date : {EncodeDate(1, 1, 1), 0.0, EncodeDate(2000, 2, 29), EncodeDate(9999, 12, 31)})
    for (int h = 0; h < 24; h += 1)
      for (int n = 0; n < 60; n += 7)
        for (int ms : {0, 1, 499, 500, 999}) {
          const double t = EncodeTime(h, n, 59 - n, ms);
          // Before the epoch the time is subtracted: the fraction's absolute value is the time.
          const double dt = date < 0 ? date - t : date + t;
          EXPECT_EQ(DecodedTime(dt), std::to_string(h) + ":" + std::to_string(n) + ":" + std::to_string(59 - n) + "." +
                                         std::to_string(ms))
              << dt;
          EXPECT_EQ(Decoded(dt), Decoded(date)) << dt;
        }

  EXPECT_EQ(Decoded(-1.25), (Ymd{1899, 12, 29}));
  EXPECT_EQ(DecodedTime(-1.25), "6:0:0.0");
  const double d = EncodeDate(1800, 6, 15) - EncodeTime(13, 45, 30, 250);
  EXPECT_EQ(Decoded(d), (Ymd{1800, 6, 15}));
  EXPECT_EQ(DecodedTime(d), "13:45:30.250");
  EXPECT_EQ(Decoded(-0.5), (Ymd{1899, 12, 30}));  // the date part truncates toward zero
}

TEST(DateTime, InvalidArgumentsThrowAndTryFormsRefuse) {
  const std::string dateMsg = "Invalid argument to date encode";
  const std::string timeMsg = "Invalid argument to time encode";
  const int badDates[][3] = {{2023, 13, 1}, {2023, 0, 1}, {2023, 2, 29}, {1900, 2, 29}, {2024, 2, 30}, {2024, 4, 31},
                             {2024, 1, 0},  {2024, 1, -1}, {0, 1, 1},    {10000, 1, 1}, {-5, 1, 1}};
  for (const auto& b : badDates) {
    EXPECT_EQ(ThrownMessage([&] { EncodeDate(b[0], b[1], b[2]); }), dateMsg) << b[0] << "-" << b[1] << "-" << b[2];
    TDateTime r = 0;
    EXPECT_FALSE(TryEncodeDate(b[0], b[1], b[2], r));
  }
  const int badTimes[][4] = {{24, 0, 0, 0}, {-1, 0, 0, 0}, {0, 60, 0, 0}, {0, -1, 0, 0},
                             {0, 0, 60, 0}, {0, 0, -1, 0}, {0, 0, 0, 1000}, {0, 0, 0, -1}};
  for (const auto& b : badTimes) {
    EXPECT_EQ(ThrownMessage([&] { EncodeTime(b[0], b[1], b[2], b[3]); }), timeMsg) << b[0] << ":" << b[1];
    TDateTime r = 0;
    EXPECT_FALSE(TryEncodeTime(b[0], b[1], b[2], b[3], r));
  }
  TDateTime r = 0;
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, r));
  EXPECT_EQ(r, EncodeDate(2024, 2, 29));
  EXPECT_TRUE(TryEncodeTime(23, 59, 59, 999, r));
}

TEST(DateTime, DecodingClampsAndRounds) {
  EXPECT_EQ(Decoded(kNaN), (Ymd{1, 1, 1}));
  EXPECT_EQ(Decoded(-kInf), (Ymd{1, 1, 1}));
  EXPECT_EQ(Decoded(-1e300), (Ymd{1, 1, 1}));
  EXPECT_EQ(Decoded(-693594.0), (Ymd{1, 1, 1}));
  EXPECT_EQ(Decoded(kInf), (Ymd{9999, 12, 31}));
  EXPECT_EQ(Decoded(1e300), (Ymd{9999, 12, 31}));
  EXPECT_EQ(Decoded(2958466.5), (Ymd{9999, 12, 31}));
  EXPECT_EQ(DecodedTime(kNaN), "0:0:0.0");
  EXPECT_EQ(DecodedTime(kInf), "0:0:0.0");
  EXPECT_EQ(DecodedTime(-kInf), "0:0:0.0");
  EXPECT_EQ(DecodedTime(1e300), "0:0:0.0");

  // Nearest millisecond, carrying into seconds, minutes and hours...
  EXPECT_EQ(DecodedTime(45292 + 43200000.4 / MSecsPerDay), "12:0:0.0");
  EXPECT_EQ(DecodedTime(45292 + 43200000.6 / MSecsPerDay), "12:0:0.1");
  EXPECT_EQ(DecodedTime((39599999.6) / MSecsPerDay), "11:0:0.0");
  // ...but never into the next day.
  EXPECT_EQ(DecodedTime(86399999.6 / MSecsPerDay), "23:59:59.999");
  EXPECT_EQ(DecodedTime(0.99999999999), "23:59:59.999");
  EXPECT_EQ(DecodedTime(-3.99999999999), "23:59:59.999");
}

TEST(DateTime, ClockFollowsLocalTime) {
  const std::time_t secs = std::time(nullptr);
  std::tm local{};
  localtime_r(&secs, &local);
  const double expected = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
                          EncodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec, 0);
  const double now = Now();
  EXPECT_NEAR(now, expected, 5 * OneSecond);
  const double today = Date();
  const double time = Time();
  EXPECT_EQ(today, std::floor(today));
  EXPECT_NEAR(today, std::floor(expected), 1.0);  // tolerates a run across midnight
  EXPECT_GE(time, 0.0);
  EXPECT_LT(time, 1.0);
}

TEST(FormatDateTime, EverySpecifier) {
  TFormatSettings fs;
  const double dt = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);  // a Tuesday
  const double morning = EncodeDate(2024, 11, 25) + EncodeTime(9, 30, 5, 600);
  const struct {
    const char* format;
    double value;
    const char* expected;
  } cases[] = {
      {"d|dd|ddd|dddd", dt, "5|05|Tue|Tuesday"},
      {"ddddd", dt, "2024-03-05"},
      {"dddddd", dt, "Tuesday, 5 March 2024"},
      {"m|mm|mmm|mmmm", dt, "3|03|Mar|March"},
      {"y|yy|yyy|yyyy", dt, "24|24|2024|2024"},
      {"yyyy yy", EncodeDate(1, 1, 1), "0001 01"},
      {"h|hh|n|nn|s|ss|z|zzz", dt, "14|14|7|07|9|09|45|045"},
      {"h|hh|n|nn|s|ss|z|zzz", morning, "9|09|30|30|5|05|600|600"},
      {"t|tt", dt, "14:07|14:07:09"},
      {"c", dt, "2024-03-05 14:07:09"},
      {"c", EncodeDate(2024, 3, 5), "2024-03-05"},
      {"", dt, "2024-03-05 14:07:09"},
      {"", EncodeDate(2024, 3, 5), "2024-03-05"},
      {"yyyy-mm-dd hh:nn", -1.25, "1899-12-29 06:00"},
      // Case-insensitive, also within one specifier.
      {"DD/MM/YYYY HH:NN:SS.ZZZ", dt, "05-03-2024 14:07:09.045"},
      {"dDdD MmMm C", dt, "Tuesday March 2024-03-05 14:07:09"},
      // m right after h is minutes, even past separators and literals.
      {"hh:mm", dt, "14:07"},
      {"h 'o''clock' m", dt, "14 oclock 7"},
      {"mm/dd", dt, "03-05"},
      {"hh:nn mm", dt, "14:07 03"},
      {"hh mmm", dt, "14 Mar"},
      // Literals.
      {"'yyyy' \"dd\" yyyy", dt, "yyyy dd 2024"},
      {"\"it's\" d", dt, "it's 5"},
      {"'unterminated d", dt, "unterminated d"},
      {"[#xbq] !", dt, "[#xbq] !"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, c.value, fs), c.expected) << '"' << c.format << '"';
}

TEST(FormatDateTime, TwelveHourClock) {
  TFormatSettings fs;
  fs.TimeAMString = "vm";
  fs.TimePMString = "nm";
  const struct {
    int hour;
    const char* expected;
  } cases[] = {{0, "12 am|12 AM|12 a|12 A|12 vm|12:05"},
               {11, "11 am|11 AM|11 a|11 A|11 vm|11:05"},
               {12, "12 pm|12 PM|12 p|12 P|12 nm|12:05"},
               {13, "1 pm|1 PM|1 p|1 P|1 nm|01:05"},
               {23, "11 pm|11 PM|11 p|11 P|11 nm|11:05"}};
  // One am/pm anywhere in the format puts every h of it on the 12-hour clock.
  for (const auto& c : cases) {
    const double dt = EncodeDate(2024, 6, 1) + EncodeTime(c.hour, 5, 0, 0);
    EXPECT_EQ(FormatDateTime("h am/pm|h AM/PM|h a/p|h A/P|h AmPm|hh:nn", dt, fs), c.expected) << c.hour;
  }
  const double pm = EncodeDate(2024, 6, 1) + EncodeTime(13, 5, 0, 0);
  EXPECT_EQ(FormatDateTime("Am/pM h", pm, fs), "pM 1");  // before the hour, case kept as written
  EXPECT_EQ(FormatDateTime("h 'am/pm'", pm, fs), "13 am/pm");
  EXPECT_EQ(FormatDateTime("h ap", pm, fs), "13 ap");
}

TEST(FormatDateTime, SettingsAndNesting) {
  TFormatSettings de;
  de.DateSeparator = '.';
  de.TimeSeparator = 'h';
  de.ShortDateFormat = "dd/mm/yyyy";
  de.LongTimeFormat = "hh:nn";
  de.LongMonthNames[2] = "M\xC3\xA4rz";
  de.ShortDayNames[2] = "Di";
  const double dt = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
  EXPECT_EQ(FormatDateTime("c|ddd d mmmm", dt, de), "05.03.2024 14h07|Di 5 M\xC3\xA4rz");

  // The short overload reads the process-wide settings.
  const TFormatSettings saved = FormatSettings();
  FormatSettings().DateSeparator = '_';
  EXPECT_EQ(FormatDateTime("yyyy/mm", dt), "2024_03");
  FormatSettings() = saved;
  EXPECT_EQ(FormatDateTime("yyyy/mm", dt), "2024-03");

  // Formats that name themselves end instead of recursing forever.
  TFormatSettings loop;
  loop.ShortDateFormat = "dd c";
  loop.LongTimeFormat = "tt";
  const std::string looped = FormatDateTime("c", dt, loop);
  EXPECT_EQ(looped.rfind("05 05 ", 0), 0u) << looped;
  EXPECT_LT(looped.size(), 200u);
  std::string wide;
  for (int i = 0; i < 200; ++i) wide += "c ddddd t ";
  loop.ShortDateFormat = loop.ShortTimeFormat = wide;
  loop.LongTimeFormat = "tt";
  EXPECT_LT(FormatDateTime("c", dt, loop).size(), 1000000u);
}

TEST(StrToDate, ReadsByTheSettingsAndRefusesWhatIsNoDate) {
  const TFormatSettings saved = FormatSettings();
  EXPECT_EQ(StrToDate("2024-03-15"), EncodeDate(2024, 3, 15));
  EXPECT_EQ(StrToDate(" 2024/3/5 "), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToTime("7:05 pm"), EncodeTime(19, 5, 0, 0));
  EXPECT_EQ(StrToTime("13:30:15.5"), EncodeTime(13, 30, 15, 500));
  EXPECT_EQ(StrToDateTime("2024-02-29 06:00"), EncodeDate(2024, 2, 29) + 0.25);
  EXPECT_EQ(StrToDateTime("12:00"), 0.5);
  // Day first, a dot between, two-digit years near today, the year left out.
  FormatSettings().ShortDateFormat = "dd/mm/yyyy";
  FormatSettings().DateSeparator = '.';
  EXPECT_EQ(StrToDate("05.03.24"), EncodeDate(2024, 3, 5));
  int y, m, d;
  DecodeDate(Date(), y, m, d);
  EXPECT_EQ(StrToDate("1.2"), EncodeDate(y, 2, 1));
  FormatSettings() = saved;

  for (const char* bad : {"", "soon", "2024-13-01", "2024-02-30", "12", "2024-03-15 25:00", "7 xm", "1:2:3:4"}) {
    TDateTime v = -1;
    EXPECT_FALSE(TryStrToDateTime(bad, v)) << bad;
    EXPECT_EQ(v, -1) << bad;
  }
  EXPECT_EQ(ThrownMessage([] { StrToDate("soon"); }), "'soon' is not a valid date");
  EXPECT_EQ(ThrownMessage([] { StrToTime("noon"); }), "'noon' is not a valid time");
  EXPECT_EQ(ThrownMessage([] { StrToDateTime("x"); }), "'x' is not a valid date and time");
}

TEST(FormatDuration, DaysAndTimeOfDayOrNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double length;
    const char* expected;
  } cases[] = {{0, "00:00"},          {0.25, "06:00"},    {3.5, "3 d 12:00"}, {-0.25, "-06:00"},
               {-2.75, "-2 d 18:00"}, {nan, ""},          {1e12, ""},         {-1e300, ""},
               {std::numeric_limits<double>::infinity(), ""}};
  for (const auto& c : cases) EXPECT_EQ(FormatDuration(c.length, "hh:nn"), c.expected) << c.length;
}
