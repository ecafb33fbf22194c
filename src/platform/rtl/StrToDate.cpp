// Reading dates and times back from text, by the process-wide format settings.
#include <cctype>
#include <string>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/rtl/Exception.h>

namespace vx {

namespace {

enum class Order { DMY, MDY, YMD };

// The order of day, month and year in a date format (quoted text skipped).
Order OrderOf(const std::string& theFormat) {
  for (std::size_t i = 0; i < theFormat.size(); ++i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(theFormat[i])));
    if (c == '"' || c == '\'') {
      const std::size_t close = theFormat.find(theFormat[i], i + 1);
      if (close == std::string::npos) break;
      i = close;
    } else if (c == 'd') {
      return Order::DMY;
    } else if (c == 'm') {
      return Order::MDY;
    } else if (c == 'y') {
      return Order::YMD;
    }
  }
  return Order::YMD;
}

class Scanner {
public:
  explicit Scanner(const std::string& theText) : fText(theText) {}

  void SkipBlanks() {
    while (fPos < fText.size() && (fText[fPos] == ' ' || fText[fPos] == '\t')) ++fPos;
  }
  bool AtEnd() {
    SkipBlanks();
    return fPos >= fText.size();
  }
  std::size_t Pos() const noexcept { return fPos; }
  void SetPos(std::size_t thePos) noexcept { fPos = thePos; }

  // A run of at most 9 digits; its length in theDigits.
  bool Number(int& theValue, int& theDigits) {
    SkipBlanks();
    theValue = 0;
    theDigits = 0;
    while (fPos < fText.size() && std::isdigit(static_cast<unsigned char>(fText[fPos])) && theDigits < 9) {
      theValue = theValue * 10 + (fText[fPos] - '0');
      ++fPos;
      ++theDigits;
    }
    return theDigits > 0;
  }
  bool Char(char theChar) {
    SkipBlanks();
    if (fPos < fText.size() && fText[fPos] == theChar) {
      ++fPos;
      return true;
    }
    return false;
  }
  bool DateSeparator() {
    const char sep = FormatSettings().DateSeparator;
    return Char(sep) || (sep != '/' && Char('/'));
  }
  // "am" or "pm" (any case); answers 0 for none, 1 for am, 2 for pm.
  int AmPm() {
    SkipBlanks();
    if (fPos + 2 > fText.size()) return 0;
    const char a = static_cast<char>(std::tolower(static_cast<unsigned char>(fText[fPos])));
    const char b = static_cast<char>(std::tolower(static_cast<unsigned char>(fText[fPos + 1])));
    if ((a == 'a' || a == 'p') && b == 'm') {
      fPos += 2;
      return a == 'a' ? 1 : 2;
    }
    return 0;
  }

private:
  const std::string& fText;
  std::size_t fPos = 0;
};

int FullYear(int theYear, int theDigits) {
  if (theDigits > 2) return theYear;
  int y, m, d;
  DecodeDate(Date(), y, m, d);
  const int century = (y / 100) * 100;
  int full = century + theYear;
  if (full > y + 50) full -= 100;
  return full;
}

bool ScanDate(Scanner& s, TDateTime& theDate) {
  int n[3], digits[3], count = 0;
  if (!s.Number(n[0], digits[0])) return false;
  count = 1;
  while (count < 3) {
    const std::size_t before = s.Pos();
    if (!s.DateSeparator()) break;
    if (!s.Number(n[count], digits[count])) {
      s.SetPos(before);
      break;
    }
    ++count;
  }
  if (count < 2) return false;
  int y, m, d;
  const Order order = OrderOf(FormatSettings().ShortDateFormat);
  if (count == 2) {
    int today_y, today_m, today_d;
    DecodeDate(Date(), today_y, today_m, today_d);
    y = today_y;
    if (order == Order::MDY) {
      m = n[0];
      d = n[1];
    } else if (order == Order::DMY) {
      d = n[0];
      m = n[1];
    } else {
      m = n[0];
      d = n[1];
    }
  } else {
    switch (order) {
      case Order::DMY: d = n[0]; m = n[1]; y = FullYear(n[2], digits[2]); break;
      case Order::MDY: m = n[0]; d = n[1]; y = FullYear(n[2], digits[2]); break;
      default: y = FullYear(n[0], digits[0]); m = n[1]; d = n[2]; break;
    }
  }
  return TryEncodeDate(y, m, d, theDate);
}

bool ScanTime(Scanner& s, TDateTime& theTime) {
  const char sep = FormatSettings().TimeSeparator;
  int h = 0, n = 0, sec = 0, ms = 0, digits = 0;
  if (!s.Number(h, digits)) return false;
  if (s.Char(sep) || (sep != ':' && s.Char(':'))) {
    if (!s.Number(n, digits)) return false;
    if (s.Char(sep) || (sep != ':' && s.Char(':'))) {
      if (!s.Number(sec, digits)) return false;
      if (s.Char('.')) {
        if (!s.Number(ms, digits) || digits > 3) return false;
        while (digits++ < 3) ms *= 10;
      }
    }
  } else {
    // An hour alone is a time only with am or pm.
    const std::size_t before = s.Pos();
    if (s.AmPm() == 0) return false;
    s.SetPos(before);
  }
  switch (s.AmPm()) {
    case 1:
      if (h < 1 || h > 12) return false;
      if (h == 12) h = 0;
      break;
    case 2:
      if (h < 1 || h > 12) return false;
      if (h != 12) h += 12;
      break;
    default: break;
  }
  return TryEncodeTime(h, n, sec, ms, theTime);
}

TDateTime Combine(TDateTime theDate, TDateTime theTime) { return theDate >= 0 ? theDate + theTime : theDate - theTime; }

}  // namespace

bool TryStrToDate(const std::string& theText, TDateTime& theResult) {
  Scanner s(theText);
  TDateTime d;
  if (!ScanDate(s, d) || !s.AtEnd()) return false;
  theResult = d;
  return true;
}

bool TryStrToTime(const std::string& theText, TDateTime& theResult) {
  Scanner s(theText);
  TDateTime t;
  if (!ScanTime(s, t) || !s.AtEnd()) return false;
  theResult = t;
  return true;
}

bool TryStrToDateTime(const std::string& theText, TDateTime& theResult) {
  Scanner s(theText);
  TDateTime d = 0, t = 0;
  if (ScanDate(s, d)) {
    if (!s.AtEnd() && !ScanTime(s, t)) return false;
  } else {
    s.SetPos(0);
    if (!ScanTime(s, t)) return false;
  }
  if (!s.AtEnd()) return false;
  theResult = Combine(d, t);
  return true;
}

TDateTime StrToDate(const std::string& theText) {
  TDateTime r;
  if (!TryStrToDate(theText, r)) throw EConvertError("'" + theText + "' is not a valid date");
  return r;
}

TDateTime StrToTime(const std::string& theText) {
  TDateTime r;
  if (!TryStrToTime(theText, r)) throw EConvertError("'" + theText + "' is not a valid time");
  return r;
}

TDateTime StrToDateTime(const std::string& theText) {
  TDateTime r;
  if (!TryStrToDateTime(theText, r)) throw EConvertError("'" + theText + "' is not a valid date and time");
  return r;
}

}  // namespace vx
