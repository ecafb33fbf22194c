#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <array>
#include <string>

namespace vx {

// Days since 1899-12-30; the fraction is the time of day. For negative values
// the date is the truncated part and the time the absolute fraction
// (-1.25 is 1899-12-29 06:00), as on the classic runtime.
using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;
constexpr double OneHour = 1.0 / 24;
constexpr double OneMinute = 1.0 / (24 * 60);
constexpr double OneSecond = 1.0 / (24 * 60 * 60);
constexpr double OneMillisecond = 1.0 / MSecsPerDay;

// Names and default formats used by FormatDateTime; replaceable as a whole
// (FormatSettings() = ...) or field by field.
struct VX_API TFormatSettings {
  char DateSeparator = '-';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "yyyy/mm/dd";
  std::string LongDateFormat = "dddd, d mmmm yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
  // Sunday first.
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};

// The process-wide settings (user-interface thread).
VX_API TFormatSettings& FormatSettings();

VX_API bool IsLeapYear(int theYear) noexcept;
VX_API int DaysInMonth(int theYear, int theMonth) noexcept;

// Years 1..9999. Invalid arguments raise vx::Exception "Invalid argument to
// date encode" / "Invalid argument to time encode"; the Try forms answer false.
VX_API TDateTime EncodeDate(int theYear, int theMonth, int theDay);
VX_API TDateTime EncodeTime(int theHour, int theMin, int theSec, int theMSec);
VX_API bool TryEncodeDate(int theYear, int theMonth, int theDay, TDateTime& theResult) noexcept;
VX_API bool TryEncodeTime(int theHour, int theMin, int theSec, int theMSec, TDateTime& theResult) noexcept;

// Dates outside 0001-01-01 .. 9999-12-31 (and non-finite values) decode as the
// nearest end of that range.
VX_API void DecodeDate(TDateTime theDate, int& theYear, int& theMonth, int& theDay) noexcept;
// The time of day, rounded to the nearest millisecond.
VX_API void DecodeTime(TDateTime theTime, int& theHour, int& theMin, int& theSec, int& theMSec) noexcept;
// 1 = Sunday ... 7 = Saturday.
VX_API int DayOfWeek(TDateTime theDate) noexcept;

VX_API TDateTime Now();
VX_API TDateTime Date();
VX_API TDateTime Time();

// Formats with the classic specifiers (case-insensitive): c d dd ddd dddd
// ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz t tt am/pm a/p
// ampm / : and "quoted" or 'quoted' literals; m or mm right after h or hh
// means minutes. An empty format formats as "c" (short date, then the long
// time unless it is midnight).
VX_API std::string FormatDateTime(const std::string& theFormat, TDateTime theDateTime);
VX_API std::string FormatDateTime(const std::string& theFormat, TDateTime theDateTime, const TFormatSettings& theSettings);
// A length read as days and a time of day in theTimeFormat ("3 d 04:00:00",
// "-05:30"); empty for no number or more days than any calendar holds.
VX_API std::string FormatDuration(TDateTime theLength, const std::string& theTimeFormat);

// Reading dates and times typed by a user, by FormatSettings: a date is two or
// three numbers separated by DateSeparator (or '/'), in the order of day,
// month and year in ShortDateFormat; a missing year is this year, and a
// two-digit year lands within 50 years of today. A time is h[:n[:s[.z]]],
// optionally followed by am or pm. Texts that do not read raise EConvertError
// ("'<text>' is not a valid date", "... time", "... date and time"); the Try
// forms answer false instead.
VX_API TDateTime StrToDate(const std::string& theText);
VX_API TDateTime StrToTime(const std::string& theText);
// A date, a time, or a date followed by a time.
VX_API TDateTime StrToDateTime(const std::string& theText);
VX_API bool TryStrToDate(const std::string& theText, TDateTime& theResult);
VX_API bool TryStrToTime(const std::string& theText, TDateTime& theResult);
VX_API bool TryStrToDateTime(const std::string& theText, TDateTime& theResult);

}  // namespace vx
