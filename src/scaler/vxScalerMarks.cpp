// Scale resolutions, the two rows of scale marks and their labels.
#include <cmath>
#include <cstdio>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/scaler/vxScaler.h>

namespace vx {

namespace {

// Below this width a day's label is its name's first letter.
constexpr int kNarrowDayPixels = 26;

// The first character of a UTF-8 text.
std::string FirstCharacter(const std::string& theText) {
  size_t n = 1;
  while (n < theText.size() && (static_cast<unsigned char>(theText[n]) & 0xC0) == 0x80) ++n;
  return theText.substr(0, n);
}

struct Step {
  double length;
  const char* name;
};

// In order: the resolution for a least length is the first one longer than it.
constexpr Step kSteps[] = {
    {kScale10Hun, "1 tiondel"}, {kScale1Sec, "1 sek"},      {kScale10Sec, "10 sek"},  {kScale1Min, "1 min"},
    {kScale10Min, "10 min"},    {kScale1Hour, "1 timme"},   {kScale1Day, "1 dag"},    {kScale1Week, "1 vecka"},
    {kScale1Month, "1 månad"},  {kScale3Month, "3 månader"}, {kScale1Year, "1 år"},    {kScale10Year, "10 år"},
    {kScale20Year, "20 år"},
};
constexpr const char* kName100Year = "100 år";

// Marks are at least PixelsForModeSwitch pixels apart; this only stops a
// degenerate window from building without end.
constexpr size_t kMaxMarksPerRow = 100000;

std::string FloatToStr(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

int YearOf(TDateTime d) {
  int y, m, day;
  DecodeDate(d, y, m, day);
  return y;
}

}  // namespace

TDateTime TvxDateScaler::StepFork(TDateTime aMinTime, std::string& aName) {
  for (const Step& s : kSteps)
    if (s.length > aMinTime) {
      aName = s.name;
      return s.length;
    }
  aName = kName100Year;
  return kScale100Year;
}

void TvxDateScaler::CalcDrawMode() {
  if (!fListsCreated) return;
  fShortScaleMarkDrawList.clear();
  fLongScaleMarkDrawList.clear();
  const double m = PixelLenToDate(fPixelsForModeSwitch);
  if (!(m > 1e-50) || !std::isfinite(m)) return;
  std::string stage;
  try {
    stage = "Init";
    fSmallStep = StepFork(m, fSmallStepName);
    fLongStep = StepFork(fSmallStep, fLongStepName);
    fDrawStep = fSmallStep;
    fCtrlStep = PixelLenToDate(10);
    stage = "Middle:" + FloatToStr(m);
    BuildScaleMarks(false, fSmallStep, fShortScaleMarkDrawList);
    stage.clear();
    BuildScaleMarks(true, fLongStep, fLongScaleMarkDrawList);
    CalcOddOrEven();
    if (!GetIsPrinting()) fMarksChangedEvent.TriggerEvent(this);
  } catch (const std::exception& e) {
    fShortScaleMarkDrawList.clear();
    fLongScaleMarkDrawList.clear();
    RecoverFromScaleError();
    throw Exception("Scale error:" + (stage.empty() ? std::string(e.what()) : stage));
  }
}

void TvxDateScaler::BuildScaleMarks(bool aLongRow, TDateTime aStep, std::vector<TScaleMark>& aList) {
  double prevDate = fStart, prevPix = 0;
  double d = Snap(fStart, aStep);
  const double end = ScalePixel();
  while (prevPix < end) {
    TScaleMark mark;
    mark.LongNotShort = aLongRow;
    mark.DateTime = d;
    mark.Pixel = prevPix + DateDiffToPixelLength(prevDate, d);
    if (aLongRow)
      mark.PresString = GetApprioateStringLong(d, aStep, mark.ScalerFont);
    else
      mark.PresString = GetApprioateStringShort(d, aStep, mark.ScalerFont, Round(mark.Pixel - prevPix),
                                                mark.SubShortStr, mark.SubShortScalerFont);
    prevPix = mark.Pixel;
    prevDate = d;
    double next = Snap(d + GetAdaptiveStep(d, aStep), aStep);
    mark.Hidden = DateDiffToVisibleTime(d, next) == 0;
    if (mark.Hidden) {
      // Jump over a hidden stretch, keeping the last three steps before the
      // visible time.
      const double k = std::trunc((VisibleTimeToTrueTime_High(next) - next) / aStep) - 3;
      if (k * aStep > aStep) next += k * aStep;
    }
    aList.push_back(std::move(mark));
    if (!(next > d) || aList.size() >= kMaxMarksPerRow) break;  // no progress: stop rather than loop
    d = next;
  }
}

TDateTime TvxDateScaler::GetAdaptiveStep(TDateTime aDate, TDateTime aStep) {
  int y, m, d;
  DecodeDate(aDate, y, m, d);
  auto firstOfMonth = [](int year, int month) {
    if (month > 12) {
      year += (month - 1) / 12;
      month = (month - 1) % 12 + 1;
    }
    return EncodeDate(year, month, 1);
  };
  if (aStep == kScale1Month) return firstOfMonth(y, m + 1) - aDate;
  if (aStep == kScale3Month) return firstOfMonth(y, 3 * ((m - 1) / 3) + 4) - aDate;
  if (aStep == kScale1Year) return EncodeDate(y + 1, 1, 1) - aDate;
  if (aStep == kScale10Year) return EncodeDate(y + 10, 1, 1) - aDate;
  if (aStep == kScale20Year) return EncodeDate(y + 20, 1, 1) - aDate;
  if (aStep == kScale100Year) return EncodeDate(y + 100, 1, 1) - aDate;
  return aStep;
}

TDateTime TvxDateScaler::Snap(TDateTime aDate, TDateTime aStep) {
  int y, m, d;
  DecodeDate(aDate, y, m, d);
  if (aStep == kScale3Month) return EncodeDate(y, 3 * ((m - 1) / 3) + 1, 1);
  if (aStep == kScale1Month) return EncodeDate(y, m, 1);
  if (aStep == kScale1Year) return EncodeDate(y, 1, 1);
  if (aStep == kScale10Year) return EncodeDate(std::max(y - y % 10, 1), 1, 1);
  if (aStep == kScale20Year) return EncodeDate(std::max(y - y % 20, 1), 1, 1);
  if (aStep == kScale100Year) return EncodeDate(std::max(y - y % 100, 1), 1, 1);
  if (aStep == kScale1Week) return TruncToFirstDayOfWeek(aDate);
  if (aStep < kScale10Hun) return aDate;
  const double snapped = std::trunc(aDate / aStep + 0.5) * aStep;
  if (!std::isfinite(snapped)) {
    RecoverFromScaleError();
    throw Exception("To small span");
  }
  return snapped;
}

// --- week numbering and quarters ------------------------------------------------------

TDateTime TvxDateScaler::TruncToFirstDayOfWeek(TDateTime aDate) const {
  double day = std::floor(aDate);
  for (int k = 0; k < 7 && DayOfWeek(day) != fFirstDayOfWeek; ++k) day -= 1;
  return day;
}

TDateTime TvxDateScaler::FirstWeekOfYear(TDateTime aDate, bool& aContainsJan1) const {
  const double jan1 = EncodeDate(YearOf(aDate), 1, 1);
  const int diff = DayOfWeek(jan1) - fFirstDayOfWeek;
  aContainsJan1 = diff >= 0 && diff <= 3;
  return aContainsJan1 ? TruncToFirstDayOfWeek(jan1) : TruncToFirstDayOfWeek(jan1 + 7);
}

int TvxDateScaler::GetWeekNum(TDateTime aDate, bool& aNextYear) const {
  aNextYear = false;
  bool containsJan1;
  int n = Trunc((aDate - FirstWeekOfYear(aDate, containsJan1)) / 7) + 1;
  if (n == 53) {
    bool nextContainsJan1;
    FirstWeekOfYear(aDate + 365, nextContainsJan1);
    if (nextContainsJan1) {
      n = 1;
      aNextYear = true;
    }
  }
  return n;
}

std::string TvxDateScaler::GetWeekString(const std::string& aFormat, TDateTime aDate, bool aWithoutYear, int) {
  if (!fWeekNumbers) return FormatDateTime(aFormat, aDate);
  bool nextYear;
  const int n = GetWeekNum(aDate, nextYear);
  if (nextYear) aDate += 365;
  std::string result;
  if (!aWithoutYear && !fWeekYearFormat.empty()) result = FormatDateTime(fWeekYearFormat, aDate);
  return result + fWeekPrefix + std::to_string(n);
}

int TvxDateScaler::DateToQuarter(TDateTime aDate) {
  int y, m, d;
  DecodeDate(aDate + 15, y, m, d);
  if (m < 1 || m > 12) throw Exception("Internal error - impossible return value");
  return (m - 1) / 3 + 1;
}

void TvxDateScaler::CalcOddOrEven() {
  fOddOrEven = 0;
  if (fLongScaleMarkDrawList.empty()) return;
  const double d = fLongScaleMarkDrawList.front().DateTime;
  int y, mo, day, h, mi, s, ms;
  DecodeDate(d, y, mo, day);
  DecodeTime(d, h, mi, s, ms);
  const double st = fLongStep;
  if (st == kScale1Sec)
    fOddOrEven = s;
  else if (st == kScale10Sec)
    fOddOrEven = s / 10;
  else if (st == kScale1Min)
    fOddOrEven = mi;
  else if (st == kScale10Min)
    fOddOrEven = mi / 10;
  else if (st == kScale1Hour)
    fOddOrEven = h;
  else if (st == kScale1Day)
    fOddOrEven = Round(d - EncodeDate(y, 1, 1));
  else if (st == kScale1Week) {
    bool nextYear;
    fOddOrEven = GetWeekNum(d, nextYear);
  } else if (st == kScale1Month)
    fOddOrEven = mo;
  else if (st == kScale3Month)
    fOddOrEven = DateToQuarter(d);
  else if (st == kScale1Year)
    fOddOrEven = y;
  else if (st == kScale10Year)
    fOddOrEven = y / 10;
  else if (st == kScale20Year)
    fOddOrEven = y / 20;
  else if (st == kScale100Year)
    fOddOrEven = y / 100;
}

// --- labels -----------------------------------------------------------------------------

std::string TvxDateScaler::GetApprioateStringShort(TDateTime aDate, TDateTime aStep, TScalerFont& aFont, int aPixels,
                                                   std::string& aSubStr, TScalerFont& aSubFont) {
  aFont = sTextFont1;
  std::string r;
  if (aStep == kScale1Sec || aStep == kScale10Sec)
    r = FormatDateTime("SS", aDate);
  else if (aStep == kScale1Min || aStep == kScale10Min)
    r = FormatDateTime("NN", aDate);
  else if (aStep == kScale1Hour)
    r = FormatDateTime("HH", aDate);
  else if (aStep == kScale1Day) {
    r = FormatDateTime("ddd", aDate);
    // Days too narrow for their name keep its first letter rather than
    // losing every other label to the collision rule.
    if (aPixels > 0 && aPixels < kNarrowDayPixels && !r.empty()) r = FirstCharacter(r);
  } else if (aStep == kScale1Week)
    r = GetWeekString(fDateFormat, aDate, true, aPixels);
  else if (aStep == kScale1Month)
    r = FormatDateTime("mmm", aDate);
  else if (aStep == kScale3Month)
    r = fQuarterPrefix + std::to_string(DateToQuarter(aDate));
  else if (aStep == kScale1Year || aStep == kScale10Year || aStep == kScale20Year || aStep == kScale100Year)
    r = FormatDateTime("yy", aDate);
  else if (aStep == kScale10Hun)
    r = FormatDateTime(fDateFormat, aDate) + " " + FormatDateTime(fTimeFormat, aDate);
  if (OnUserStringShort) OnUserStringShort(aDate, aStep, r, aFont);
  if (OnUserStringShortSub) OnUserStringShortSub(aDate, aStep, aSubStr, aSubFont);
  return r;
}

std::string TvxDateScaler::GetApprioateStringLong(TDateTime aDate, TDateTime aStep, TScalerFont& aFont) {
  aFont = sTextFont1;
  std::string r;
  if (aStep == kScale1Sec || aStep == kScale10Sec || aStep == kScale1Min || aStep == kScale10Min ||
      aStep == kScale1Hour)
    r = FormatDateTime(fTimeFormat, aDate);
  else if (aStep == kScale1Day)
    r = FormatDateTime("ddd", aDate);
  else if (aStep == kScale1Week)
    r = GetWeekString(fDateFormat, aDate, false, 1000);
  else if (aStep == kScale1Month)
    r = FormatDateTime("yyyy mmm", aDate);
  else if (aStep == kScale3Month)
    r = FormatDateTime("yyyy", aDate) + fQuarterPrefix + std::to_string(DateToQuarter(aDate));
  else if (aStep == kScale1Year)
    r = FormatDateTime("yyyy", aDate);
  else if (aStep == kScale10Year || aStep == kScale20Year || aStep == kScale100Year)
    r = FormatDateTime("yyyy", aDate) + " - " + FormatDateTime("yyyy", aDate + aStep);
  else
    r = FormatDateTime(fDateFormat, aDate) + " " + FormatDateTime(fTimeFormat, aDate);
  if (OnUserStringLong) OnUserStringLong(aDate, aStep, r, aFont);
  return r;
}

// --- label settings -----------------------------------------------------------------------

void TvxDateScaler::ChangedLabels() {
  CalcDrawMode();
  Invalidate();
}

void TvxDateScaler::SetWeekNumbers(bool Value) {
  fWeekNumbers = Value;
  ChangedLabels();
}

void TvxDateScaler::SetPixelsForModeSwitch(int Value) {
  fPixelsForModeSwitch = std::max(Value, 0);
  ChangedLabels();
}

void TvxDateScaler::SetDateFormat(const std::string& Value) {
  fDateFormat = Value;
  ChangedLabels();
}

void TvxDateScaler::SetTimeFormat(const std::string& Value) {
  fTimeFormat = Value;
  ChangedLabels();
}

void TvxDateScaler::SetWeekPrefix(const std::string& Value) {
  fWeekPrefix = Value;
  ChangedLabels();
}

void TvxDateScaler::SetQuarterPrefix(const std::string& Value) {
  fQuarterPrefix = Value;
  ChangedLabels();
}

void TvxDateScaler::SetWeekYearFormat(const std::string& Value) {
  fWeekYearFormat = Value;
  ChangedLabels();
}

void TvxDateScaler::SetFirstDayOfWeek(int Value) {
  if (Value < 1 || Value > 7) return;
  fFirstDayOfWeek = Value;
  ChangedLabels();
}

}  // namespace vx
