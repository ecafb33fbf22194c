#include <cstddef>
#include <string>
#include <utility>

#include <vxplan/platform/rtl/DateUtils.h>

namespace vx {

namespace {

// Nested formats (c, ddddd, dddddd, t, tt) may name each other through the
// settings; these bound a settings format that refers to itself.
constexpr int kMaxNesting = 3;
constexpr int kMaxExpansions = 100;

char Lower(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchesAt(const std::string& s, std::size_t pos, const char* lowerText) noexcept {
  for (std::size_t i = 0; lowerText[i] != '\0'; ++i)
    if (pos + i >= s.size() || Lower(s[pos + i]) != lowerText[i]) return false;
  return true;
}

// Length of the am/pm style specifier starting at pos (0 when there is none).
std::size_t AmPmLength(const std::string& s, std::size_t pos) noexcept {
  if (MatchesAt(s, pos, "am/pm")) return 5;
  if (MatchesAt(s, pos, "a/p")) return 3;
  if (MatchesAt(s, pos, "ampm")) return 4;
  return 0;
}

// Whether the format (quoted text aside) holds an am/pm specifier, which puts
// every h of that format on the 12-hour clock.
bool UsesTwelveHourClock(const std::string& s) noexcept {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"' || c == '\'') {
      const std::size_t close = s.find(c, i + 1);
      if (close == std::string::npos) return false;
      i = close;
    } else if (Lower(c) == 'a' && AmPmLength(s, i) != 0) {
      return true;
    }
  }
  return false;
}

class Formatter {
public:
  Formatter(TDateTime theDateTime, const TFormatSettings& theSettings) : fSettings(theSettings) {
    DecodeDate(theDateTime, fYear, fMonth, fDay);
    DecodeTime(theDateTime, fHour, fMin, fSec, fMSec);
    fDayOfWeek = DayOfWeek(theDateTime);
  }

  void Append(const std::string& theFormat, int theDepth);
  std::string& Result() noexcept { return fOut; }

private:
  void Nested(const std::string& theFormat, int theDepth) {
    if (theDepth >= kMaxNesting || fExpansions >= kMaxExpansions) return;
    ++fExpansions;
    Append(theFormat, theDepth + 1);
  }

  void Number(int theValue, int theMinDigits) {
    char buf[12];
    int n = 0;
    unsigned v = theValue < 0 ? 0u : static_cast<unsigned>(theValue);
    do {
      buf[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v != 0);
    while (n < theMinDigits && n < static_cast<int>(sizeof buf)) buf[n++] = '0';
    while (n > 0) fOut.push_back(buf[--n]);
  }

  void Char(char c) {
    if (c != '\0') fOut.push_back(c);
  }

  const TFormatSettings& fSettings;
  std::string fOut;
  int fExpansions = 0;
  int fYear = 1, fMonth = 1, fDay = 1, fDayOfWeek = 1;
  int fHour = 0, fMin = 0, fSec = 0, fMSec = 0;
};

void Formatter::Append(const std::string& theFormat, int theDepth) {
  const bool twelveHour = UsesTwelveHourClock(theFormat);
  // Whether the last specifier written was h or hh: then m and mm are minutes.
  bool afterHour = false;
  const std::size_t size = theFormat.size();
  std::size_t i = 0;
  while (i < size) {
    const char c = theFormat[i];
    const char lc = Lower(c);
    // Length of the run of the same letter (any case) starting here.
    auto runLength = [&]() {
      std::size_t n = 1;
      while (i + n < size && Lower(theFormat[i + n]) == lc) ++n;
      return n;
    };
    switch (lc) {
      case '"':
      case '\'': {
        std::size_t close = theFormat.find(c, i + 1);
        if (close == std::string::npos) close = size;
        fOut.append(theFormat, i + 1, close - i - 1);
        i = close + 1;
        continue;
      }
      case '/':
        Char(fSettings.DateSeparator);
        ++i;
        continue;
      case ':':
        Char(fSettings.TimeSeparator);
        ++i;
        continue;
      case 'c': {
        const std::size_t n = runLength();
        Nested(fSettings.ShortDateFormat, theDepth);
        if (fHour != 0 || fMin != 0 || fSec != 0 || fMSec != 0) {
          fOut.push_back(' ');
          Nested(fSettings.LongTimeFormat, theDepth);
        }
        i += n;
        afterHour = false;
        continue;
      }
      case 'd': {
        const std::size_t n = runLength();
        switch (n) {
          case 1: Number(fDay, 1); break;
          case 2: Number(fDay, 2); break;
          case 3: fOut += fSettings.ShortDayNames[fDayOfWeek - 1]; break;
          case 4: fOut += fSettings.LongDayNames[fDayOfWeek - 1]; break;
          case 5: Nested(fSettings.ShortDateFormat, theDepth); break;
          default: Nested(fSettings.LongDateFormat, theDepth); break;
        }
        i += n;
        afterHour = false;
        continue;
      }
      case 'm': {
        const std::size_t n = runLength();
        if (n <= 2 && afterHour)
          Number(fMin, static_cast<int>(n));
        else if (n <= 2)
          Number(fMonth, static_cast<int>(n));
        else if (n == 3)
          fOut += fSettings.ShortMonthNames[fMonth - 1];
        else
          fOut += fSettings.LongMonthNames[fMonth - 1];
        i += n;
        afterHour = false;
        continue;
      }
      case 'y': {
        const std::size_t n = runLength();
        if (n <= 2)
          Number(fYear % 100, 2);
        else
          Number(fYear, 4);
        i += n;
        afterHour = false;
        continue;
      }
      case 'h': {
        const std::size_t n = runLength();
        int hour = fHour;
        if (twelveHour) {
          hour %= 12;
          if (hour == 0) hour = 12;
        }
        Number(hour, n == 1 ? 1 : 2);
        i += n;
        afterHour = true;
        continue;
      }
      case 'n':
      case 's':
      case 'z': {
        const std::size_t n = runLength();
        if (lc == 'n')
          Number(fMin, n == 1 ? 1 : 2);
        else if (lc == 's')
          Number(fSec, n == 1 ? 1 : 2);
        else
          Number(fMSec, n == 1 ? 1 : 3);
        i += n;
        afterHour = false;
        continue;
      }
      case 't': {
        const std::size_t n = runLength();
        Nested(n == 1 ? fSettings.ShortTimeFormat : fSettings.LongTimeFormat, theDepth);
        i += n;
        afterHour = false;
        continue;
      }
      case 'a': {
        const std::size_t n = AmPmLength(theFormat, i);
        if (n == 0) break;
        const bool pm = fHour >= 12;
        if (n == 4) {
          fOut += pm ? fSettings.TimePMString : fSettings.TimeAMString;
        } else if (n == 3) {
          fOut.push_back(theFormat[pm ? i + 2 : i]);  // the a or p as written
        } else {
          fOut.append(theFormat, pm ? i + 3 : i, 2);  // the am or pm as written
        }
        i += n;
        afterHour = false;
        continue;
      }
      default:
        break;
    }
    fOut.push_back(c);
    ++i;
  }
}

}  // namespace

std::string FormatDateTime(const std::string& theFormat, TDateTime theDateTime, const TFormatSettings& theSettings) {
  Formatter formatter(theDateTime, theSettings);
  formatter.Result().reserve(theFormat.size() + 16);
  // An empty format means "c"; an empty nested format stays empty.
  static const std::string kDefault = "c";
  formatter.Append(theFormat.empty() ? kDefault : theFormat, 0);
  return std::move(formatter.Result());
}

std::string FormatDateTime(const std::string& theFormat, TDateTime theDateTime) {
  return FormatDateTime(theFormat, theDateTime, FormatSettings());
}

}  // namespace vx
