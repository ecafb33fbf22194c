// The date scaler's window, conversions, zoom, animation, timer scrolling and
// change notification.
#include <vxplan/scaler/vxScaler.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/Math.h>

namespace vx {

namespace {

constexpr double kZoomTable[] = {Scale10SecAndSec,     ScaleMinuteAnd10Sec, Scale10MinuteAndMinute, ScaleHourAnd10Minute,
                                 ScaleDayAndHour,      ScaleWeekAndDay,     ScaleMonthAndWeek,      ScaleQuorterAndMonth,
                                 ScaleYearAndQuorter,  ScaleDecadesAndYear, ScaleDoubleDecadesAndDecades};
constexpr double kZoomTolerance = Scale10SecAndSec / 2;

void PauseBetweenFrames() { std::this_thread::sleep_for(std::chrono::milliseconds(10)); }

// The absolute end of the axis: 4000-01-01.
double AbsoluteEnd() {
  static const double end = EncodeDate(4000, 1, 1);
  return end;
}

}  // namespace

double GetPrevScale(double theScale) noexcept {
  double best = theScale;
  bool found = false;
  for (double v : kZoomTable)
    if (v + kZoomTolerance < theScale && (!found || v > best)) {
      best = v;
      found = true;
    }
  return best;
}

double GetNextScale(double theScale) noexcept {
  double best = theScale;
  bool found = false;
  for (double v : kZoomTable)
    if (v - kZoomTolerance > theScale && (!found || v < best)) {
      best = v;
      found = true;
    }
  return best;
}

TvxAccessibleContent* TvxDateScaler::AccessibleContent() {
  if (IsDestroying()) return nullptr;
  if (!fAccessible) fAccessible = std::make_unique<TScalerAccessible>(*this);
  return fAccessible.get();
}

TvxDateScaler::TvxDateScaler(TComponent* AOwner) : TvxOffscreenPaint(AOwner) {
  fMaxStop = AbsoluteEnd();
  for (TFont* f : {&fTextFont1, &fTextFont2, &fTextFont3}) {
    f->SetName("Arial");
    f->SetSize(7);
  }
  fStart = Date();
  fStop = fStart + 7;
  fScrollTimer = new TTimer(this);
  fScrollTimer->SetEnabled(false);
  fScrollTimer->SetInterval(50);
  fScrollTimer->SetOnTimer([this](TObject*) { ScrollTimerTick(); });
  fListsCreated = true;
  CalcDrawMode();
}

TvxDateScaler::~TvxDateScaler() {
  Destroying();
  fScrollTimer->SetEnabled(false);
}

// --- window ----------------------------------------------------------------------

int TvxDateScaler::GetScaleLen() const { return fHorizontal ? GetWidth() : GetHeight(); }

TDateTime TvxDateScaler::VisibleTimeAmount() {
  if (!fVisibleTimeAmountValid || fStart != fOldStart || fStop != fOldStop) {
    fVisibleTimeAmount = DateDiffToVisibleTime(fStart, fStop);
    fOldStart = fStart;
    fOldStop = fStop;
    fVisibleTimeAmountValid = true;
  }
  return fVisibleTimeAmount;
}

double TvxDateScaler::GetScale() {
  const int len = GetScaleLen();
  if (len <= 0) return 0;
  const double s = VisibleTimeAmount() / len;
  return s < 0 ? 0 : s;
}

double TvxDateScaler::PixelLenToDate(int n) { return GetScale() * n; }

void TvxDateScaler::SetStart(TDateTime Value) {
  if (!std::isfinite(Value) || Value == fStart) return;
  if (Value < 0) Value = 0;
  if (Value > AbsoluteEnd()) Value = AbsoluteEnd();  // nothing exists beyond the axis' end
  const double amount = VisibleTimeAmount();
  const double halfScreen = PixelLenToDate(GetScaleLen() / 2);
  fStart = std::max(Value, VisibleTimeDiffToTrueTime(fMinStart, -halfScreen));
  fStop = VisibleTimeDiffToTrueTime(fStart, amount);
  CalcDrawMode();
  fCallOnChangeWhenRefreshed = true;
  Invalidate();
}

void TvxDateScaler::SetStop(TDateTime Value) {
  if (!std::isfinite(Value) || Value == fStop) return;
  const double halfScreen = PixelLenToDate(GetScaleLen() / 2);
  double stop = std::min(Value, VisibleTimeDiffToTrueTime(fMaxStop, halfScreen));
  if (stop > AbsoluteEnd()) stop = AbsoluteEnd();
  // An end at or before the start (asked for, or where a limit put it) would
  // leave no window: the end stays where it was.
  if (!(stop > fStart)) return;
  fStop = stop;
  CalcDrawMode();
  fCallOnChangeWhenRefreshed = true;
  fOldScale = GetScale();
  Invalidate();
}

void TvxDateScaler::SetScale(double aScale) {
  if (!std::isfinite(aScale)) return;
  const double oldStart = fStart, oldStop = fStop;
  SetStop(VisibleTimeDiffToTrueTime(fStart, GetScaleLen() * aScale));
  if (VisibleTimeAmount() < kScale10Sec) {
    SetStop(oldStop);
    SetStart(oldStart);
  }
  CalcDrawMode();
  fCallOnChangeWhenRefreshed = true;
  Invalidate();
}

void TvxDateScaler::SetCenterScale(double aScale, TDateTime aCenter, int aPixel) {
  if (!std::isfinite(aScale) || !std::isfinite(aCenter)) return;
  BeginUpdate();
  try {
    const double oldStart = fStart, oldScale = GetScale();
    const int len = GetScaleLen();
    double newStart;
    if (len * aScale > 2 * (fMaxStop - fMinStart)) {
      aScale = 2 * (fMaxStop - fMinStart) / len;
      newStart = fMinStart - PixelLenToDate(len / 4);
    } else {
      newStart = VisibleTimeToTrueTime_High(VisibleTimeDiffToTrueTime(aCenter, -aPixel * aScale));
    }
    SetStart(newStart);
    SetScale(aScale);
    const bool vetoed = OnLimitScaling && OnLimitScaling(this, fStart, fStop, GetScale());
    if (vetoed || VisibleTimeAmount() < kScale10Sec) {
      SetStart(oldStart);
      SetScale(oldScale);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TvxDateScaler::SetMinStart(TDateTime Value) {
  if (std::isfinite(Value)) fMinStart = Value;
}

void TvxDateScaler::SetMaxStop(TDateTime Value) {
  if (std::isfinite(Value)) fMaxStop = Value;
}

bool TvxDateScaler::CheckIfOkStartStop(TDateTime aStart, TDateTime aStop) {
  const double halfScreen = PixelLenToDate(GetScaleLen() / 2);
  return aStart >= fMinStart - halfScreen && aStop <= fMaxStop + halfScreen;
}

// --- conversions ---------------------------------------------------------------------

double TvxDateScaler::ScalePixel() {
  if (!GetIsPrinting()) return GetScaleLen();
  return GetScaleLen() * (fHorizontal ? GetPrintScalex() : GetPrintScaley());
}

double TvxDateScaler::DateDiffToPixelLength(TDateTime aFrom, TDateTime aTo) {
  const double amount = VisibleTimeAmount();
  if (amount == 0) return 0;
  double length = GetScaleLen() * DateDiffToVisibleTime(aFrom, aTo) / amount;
  if (GetIsPrinting()) length *= fHorizontal ? GetPrintScalex() : GetPrintScaley();
  return length;
}

double TvxDateScaler::PixelsPerVisibleTime() {
  const double amount = VisibleTimeAmount();
  if (amount == 0) return 0;
  double perDay = GetScaleLen() / amount;
  if (GetIsPrinting()) perDay *= fHorizontal ? GetPrintScalex() : GetPrintScaley();
  return perDay;
}

bool TvxDateScaler::PixelToDateByTable(int aPixel, TDateTime aLowDate, double aLowPix, TDateTime aHighDate,
                                       TDateTime& aDate) {
  const double perDay = PixelsPerVisibleTime();
  if (!(perDay > 0) || !std::isfinite(perDay) || !std::isfinite(aLowDate) || !std::isfinite(aHighDate)) return false;
  const double visible = (aPixel - aLowPix) / perDay;
  double d;
  if (fHiddenDaysCount == 0 && fHiddenHoursCount == 0) {
    d = aLowDate + visible;
  } else {
    // Tabled over the window's days, again whenever the window or the
    // hidden time changes.
    const std::uint64_t key = fHiddenHours.Bits() | (fHiddenDays.Bits() << 24);
    if (!fVisibleTable) fVisibleTable = std::make_unique<TVisibleTimeTable>();
    TVisibleTimeTable& table = *fVisibleTable;
    if (!table.Covers(aLowDate, key) || !table.Covers(aHighDate, key)) {
      const double first = std::floor(std::min(aLowDate, fStart)) - 1, last = std::floor(std::max(aHighDate, fStop)) + 1;
      if (!(last - first < static_cast<double>(TVisibleTimeTable::MostDays))) return false;
      std::array<bool, 24> hours{};
      for (int h = 0; h < 24; ++h) hours[static_cast<size_t>(h)] = IsHiddenHour(h);
      table.Build(static_cast<long long>(first), static_cast<long long>(last - first) + 1, hours, key,
                  [this](long long day) { return IsHiddenDay(day); });
      if (!table.Covers(aLowDate, key) || !table.Covers(aHighDate, key)) return false;
    }
    d = table.DateAt(table.VisibleBefore(aLowDate) + visible);
  }
  d = std::clamp(d, aLowDate, aHighDate);
  // The answer must agree with DateToPixel; where rounding says otherwise the
  // caller searches.
  if (DateToPixel(d) != aPixel) return false;
  aDate = d;
  return true;
}

void TvxDateScaler::FindScaleMarksFromDate(TDateTime aDate, int& aBefore, int& aAfter) const {
  const std::vector<TScaleMark>& marks = fShortScaleMarkDrawList;
  aBefore = aAfter = -1;
  const size_t count = marks.size();
  if (count == 0) return;
  if (std::isnan(aDate)) {
    aAfter = count > 1 ? 1 : -1;  // as a search that never moves: the first mark
    aBefore = 0;
    return;
  }
  // The last mark at or before the date. Marks are close to evenly spaced in
  // time, so the search starts where the date falls between the ends and
  // widens from there: every bar of a frame asks twice.
  auto after = [aDate](const TScaleMark& m) { return aDate < m.DateTime; };
  const double first = marks.front().DateTime, last = marks.back().DateTime;
  size_t lo = 0, hi = count;  // the answer's upper bound lies in [lo, hi]
  if (last > first && aDate > first && aDate < last) {
    const auto guess = static_cast<size_t>((aDate - first) / (last - first) * static_cast<double>(count - 1));
    size_t g = std::min(guess, count - 1), step = 1;
    if (after(marks[g])) {
      hi = g;
      while (hi > step && after(marks[hi - step])) hi -= step, step *= 2;
      lo = hi > step ? hi - step : 0;
    } else {
      lo = g + 1;
      while (lo + step < count && !after(marks[lo + step - 1])) lo += step, step *= 2;
      hi = std::min(count, lo + step);
    }
  }
  const size_t upper = static_cast<size_t>(
      std::partition_point(marks.begin() + static_cast<std::ptrdiff_t>(lo), marks.begin() + static_cast<std::ptrdiff_t>(hi),
                           [&](const TScaleMark& m) { return !after(m); }) -
      marks.begin());
  aBefore = static_cast<int>(upper) - 1;
  aAfter = upper < count ? static_cast<int>(upper) : -1;
}

void TvxDateScaler::FindScaleMarksFromPixel(int aPixel, int& aBefore, int& aAfter) const {
  const std::vector<TScaleMark>& marks = fShortScaleMarkDrawList;
  // The first mark right of the pixel, and the one before it.
  auto it = std::upper_bound(marks.begin(), marks.end(), static_cast<double>(aPixel),
                             [](double p, const TScaleMark& m) { return p < m.Pixel; });
  aAfter = it == marks.end() ? -1 : static_cast<int>(it - marks.begin());
  aBefore = (it == marks.begin()) ? -1 : static_cast<int>(it - marks.begin()) - 1;
}

int TvxDateScaler::DateToPixel(TDateTime aDate) {
  if (VisibleTimeAmount() == 0) return 0;
  int before, after;
  FindScaleMarksFromDate(aDate, before, after);
  double anchorDate = fStart, anchorPixel = 0;
  if (before >= 0) {
    anchorDate = fShortScaleMarkDrawList[static_cast<size_t>(before)].DateTime;
    anchorPixel = fShortScaleMarkDrawList[static_cast<size_t>(before)].Pixel;
  }
  return Round(DateDiffToPixelLength(anchorDate, aDate) + anchorPixel);
}

TDateTime TvxDateScaler::PixelToDate(int aPixel) {
  int before, after;
  FindScaleMarksFromPixel(aPixel, before, after);
  double lowDate = fStart, lowPix = 0, highDate = fStop, highPix = GetScaleLen();
  if (before >= 0) {
    lowDate = fShortScaleMarkDrawList[static_cast<size_t>(before)].DateTime;
    lowPix = fShortScaleMarkDrawList[static_cast<size_t>(before)].Pixel;
  }
  if (after >= 0) {
    highDate = fShortScaleMarkDrawList[static_cast<size_t>(after)].DateTime;
    highPix = fShortScaleMarkDrawList[static_cast<size_t>(after)].Pixel;
  }
  // Exactly on a mark (the last one may end the row right at the end), or
  // on the window's start before the first mark.
  if (lowPix == aPixel) return VisibleTimeToTrueTime_Low(lowDate);
  if (lowPix < aPixel && aPixel < highPix) {
    TDateTime byTable;
    if (PixelToDateByTable(aPixel, lowDate, lowPix, highDate, byTable)) return byTable;
    // Bisection on DateToPixel, so that the answer agrees with it.
    for (int round = 0; round < 200; ++round) {
      const double mid = lowDate + (highDate - lowDate) / 2;
      double midPix = DateToPixel(mid);
      if (highDate - lowDate < OneMillisecond) break;
      if (midPix == aPixel) {
        lowDate = mid;
        break;
      }
      if (aPixel < midPix) {
        if (midPix == highPix) midPix -= 1;
        highDate = mid;
        highPix = midPix;
      } else {
        if (midPix == lowPix) midPix += 1;
        lowDate = mid;
        lowPix = midPix;
      }
    }
    return VisibleTimeToTrueTime_Low(lowDate);
  }
  if (aPixel < 0) return fStart + GetScale() * aPixel;
  return fStop + GetScale() * (aPixel - GetScaleLen());
}

int TvxDateScaler::TimeToPixel(TDateTime aTime) {
  const double amount = VisibleTimeAmount();
  if (amount == 0 || !std::isfinite(aTime)) return 0;
  auto timeOfDayMs = [](double d) { return std::floor((d - std::floor(d)) * MSecsPerDay) / MSecsPerDay; };
  return Round((timeOfDayMs(aTime) - timeOfDayMs(fStart)) * GetScaleLen() / amount);
}

int TvxDateScaler::GetPixelFromScaleMark(const TScaleMark& aMark) {
  const double amount = VisibleTimeAmount();
  if (amount == 0) return 0;
  return Round((aMark.DateTime - fStart) * GetScaleLen() / amount);
}

// --- zoom and animation ----------------------------------------------------------------

void TvxDateScaler::ZoomIn(int aPixel) { AnimateScaleTransition(GetPrevScale(GetScale()), aPixel, 20); }

void TvxDateScaler::ZoomOut(int aPixel) { AnimateScaleTransition(GetNextScale(GetScale()), aPixel, 20); }

void TvxDateScaler::WheelZoom(int aPixel, int theDelta) {
  if (theDelta == 0) return;
  const double factor = std::pow(ZoomStepPerNotch, -std::clamp(theDelta, -12000, 12000) / 120.0);
  SetCenterScale(GetScale() * factor, PixelToDate(aPixel), aPixel);
}

void TvxDateScaler::WheelPan(int theDelta) {
  if (theDelta == 0) return;
  const double notches = std::clamp(theDelta, -12000, 12000) / 120.0;
  SetStart(VisibleTimeDiffToTrueTime(fStart, -notches * VisibleTimeAmount() / 8));
}

bool TvxDateScaler::ZoomKey(unsigned short theKey, TShiftState theShift) {
  if (!theShift.Contains(ssCtrl) || theShift.Contains(ssAlt)) return false;
  const bool in = theKey == VK_ADD || theKey == VK_OEM_PLUS;
  if (!in && theKey != VK_SUBTRACT) return false;
  WheelZoom(GetScaleLen() / 2, in ? 120 : -120);
  return true;
}

void TvxDateScaler::KeyDown(unsigned short& Key, TShiftState Shift) {
  TvxOffscreenPaint::KeyDown(Key, Shift);
  if (Key == 0 || IsDestroying()) return;
  if (ZoomKey(Key, Shift)) {
    Key = 0;
    return;
  }
  const unsigned short earlier = fHorizontal ? VK_LEFT : VK_UP, later = fHorizontal ? VK_RIGHT : VK_DOWN;
  if ((Key != earlier && Key != later) || Shift.Contains(ssAlt) || Shift.Contains(ssCtrl)) return;
  WheelPan(Key == earlier ? 120 : -120);
  Key = 0;
}

bool TvxDateScaler::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (fWheelConvention != wcQt) return TvxOffscreenPaint::DoMouseWheel(Shift, WheelDelta, MousePos);
  if (Shift.Contains(ssShift)) {
    WheelPan(WheelDelta);
  } else {
    const TPoint at = ScreenToClient(MousePos);
    WheelZoom(fHorizontal ? at.X : at.Y, WheelDelta);
  }
  return true;
}

void TvxDateScaler::AnimateScaleTransition(double aScale, int aSteps) { AnimateScaleTransition(aScale, 0, aSteps); }

void TvxDateScaler::AnimateScaleTransition(double aScale, int aPixel, int aSteps) {
  if (!(aScale > 0) || !std::isfinite(aScale) || aSteps <= 0) return;
  const double delta = (aScale - GetScale()) / aSteps;
  const double center = PixelToDate(aPixel);
  double last = 0;
  for (int step = 0; step < aSteps; ++step) {
    BeginUpdate();
    try {
      SetCenterScale(GetScale() + delta, center, aPixel);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    // The target is reached, or the limits stopped the zoom.
    if (std::fabs(GetScale() - aScale) < 1e-8 || std::fabs(GetScale() - last) < 1e-8) break;
    if (OnAnimateChange) OnAnimateChange(this);
    fCallOnChangeWhenRefreshed = true;
    Repaint();
    last = GetScale();
    PauseBetweenFrames();
  }
}

void TvxDateScaler::AnimateScaleTransition(TDateTime aStart, TDateTime aStop, int aSteps) {
  if (!std::isfinite(aStart) || !std::isfinite(aStop)) return;
  if (!(aStart < aStop)) aStop = aStart + 1;
  if (aSteps <= 0) return;
  double dStart = (aStart - fStart) / aSteps, dStop = (aStop - fStop) / aSteps;
  while (std::fabs(dStart) < kMinute && aSteps > 1) {
    aSteps /= 2;
    dStart = (aStart - fStart) / aSteps;
    dStop = (aStop - fStop) / aSteps;
  }
  for (int step = 0; step < aSteps; ++step) {
    const double s = fStop;
    if (!CheckIfOkStartStop(fStart + dStart, s + dStop)) break;
    BeginUpdate();
    try {
      SetStart(fStart + dStart);
      SetStop(s + dStop);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    if (OnAnimateChange) OnAnimateChange(this);
    fCallOnChangeWhenRefreshed = true;
    Repaint();
    PauseBetweenFrames();
  }
}

void TvxDateScaler::BeginUpdate() { TvxOffscreenPaint::BeginUpdate(); }

void TvxDateScaler::EndUpdate() {
  CalcDrawMode();
  TvxOffscreenPaint::EndUpdate();
}

// --- timer scrolling ---------------------------------------------------------------------

void TvxDateScaler::StartStepUp() { StartStep(true); }

void TvxDateScaler::StartStepDown() { StartStep(false); }

void TvxDateScaler::StartStep(bool aLater) {
  fScrollTimer->SetInterval(150);
  fAutScrollStarted = true;
  fScrollADDTIME = aLater;
  fScrollSUBTIME = !aLater;
  fScrollTimer->SetEnabled(true);
}

bool TvxDateScaler::StepAtEdge(int thePos, int theExtent) {
  // Starting again would restart the interval: only a change starts it.
  if (thePos < 0) {
    if (!IsScrollingDown()) StartStepDown();
    return true;
  }
  if (thePos > theExtent) {
    if (!IsScrollingUp()) StartStepUp();
    return true;
  }
  StopStepping();
  return false;
}

void TvxDateScaler::StopStepping() {
  if (IsScrollingUp() || IsScrollingDown()) StopStep();
}

void TvxDateScaler::StopStep() {
  fScrollTimer->SetInterval(50);
  fAutScrollStarted = false;
  fScrollADDTIME = false;
  fScrollSUBTIME = false;
  fScrollTimer->SetEnabled(false);
  fDown = false;
  fReScaling = false;
  fCallOnChangeWhenRefreshed = false;
  Invalidate();
}

bool TvxDateScaler::IsScrollTimerOn() const noexcept { return fScrollTimer->GetEnabled(); }

unsigned TvxDateScaler::GetScrollTimerInterval() const noexcept { return fScrollTimer->GetInterval(); }

void TvxDateScaler::ScrollTimerTick() {
  const TPoint mouse = ScreenToClient(GetCursorPos());
  if (!fUpButtonRect.Contains(mouse) && !fDownButtonRect.Contains(mouse) && !fAutScrollStarted) {
    StopStep();
    return;
  }
  if (!fScrollADDTIME && !fScrollSUBTIME) return;
  BeginUpdate();
  try {
    double step = GetScrollStep();
    if (!fAutScrollStarted) {
      // Held longer, the buttons scroll faster.
      const double held = (Now() - fMouseDownTime) * 86400;
      if (held > 2) step *= 3;
      if (held > 5) step *= 7;
    }
    const double newStart = VisibleTimeDiffToTrueTime(fStart, fScrollADDTIME ? step : -step);
    if (newStart != fStart && CheckIfOkStartStop(newStart, newStart + VisibleTimeAmount())) SetStart(newStart);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// --- painting, change notification, resize, print -------------------------------------------

void TvxDateScaler::OffscreenPaint() {
  if (!GetIsPrinting()) {
    if (fWasResized) {
      // The scale stays and the window grows or shrinks with the control,
      // unless the window itself changed since the last paint.
      if (fStop == fStopOnLastDraw)
        SetStop(VisibleTimeDiffToTrueTime(fStart, GetScaleLen() * fOldScale));
      else
        CalcDrawMode();
      fWasResized = false;
    }
    fOldScaleLen = GetScaleLen();
    fOldScale = GetScale();
  }
  DoThePaint(GetOffscreenCanvas(), Rect(0, 0, GetWidth(), GetHeight()));
  fStopOnLastDraw = fStop;
}

void TvxDateScaler::PostChangeIfDue() {
  if (fCallOnChangeWhenRefreshed && (OnChange || fChangeDeliveredEvent.ListenerCount() > 0) && !fReScaling) {
    fCallOnChangeWhenRefreshed = false;
    PostMessage(this, WM_SCALER_CHANGE);
  }
}

void TvxDateScaler::CallChange() {
  // The scaler itself goes only through deleteLater: it is still here after.
  fChangeDeliveredEvent.TriggerEvent(this);
  if (OnChange) OnChange(this);
}

void TvxDateScaler::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_SCALER_CHANGE) {
    CallChange();
    return;
  }
  TvxOffscreenPaint::Dispatch(Message);
}

void TvxDateScaler::Resize() {
  fWasResized = true;
  TvxOffscreenPaint::Resize();
}

void TvxDateScaler::Print(HDC DC, int x, int y, double scalex, double scaley, bool aResize) {
  BeginPrint();
  InternalSetPrintOrigin(x, y);
  InternalSetPrintScalex(scalex);
  InternalSetPrintScaley(scaley);
  try {
    CalcDrawMode();  // marks in print pixels
    TvxOffscreenPaint::Print(DC, x, y, scalex, scaley, aResize);
  } catch (...) {
    EndPrint();
    CalcDrawMode();
    throw;
  }
  EndPrint();
  CalcDrawMode();
}

void TvxDateScaler::RecoverFromScaleError() {
  fStop = fStart + 1;
  if (fDown) MouseUp(mbLeft, TShiftState(), -1, -1);
  fDown = false;
  fReScaling = false;
}

// --- painting-side setters -------------------------------------------------------------

void TvxDateScaler::SetIndicatorOn(bool Value) {
  fIndicatorOn = Value;
  Invalidate();
}

void TvxDateScaler::SetIndicatorStyle(TIndicatorStyle Value) {
  fIndicatorStyle = Value;
  Invalidate();
}

void TvxDateScaler::SetLookAndFeel(TLookAndFeel Value) {
  fLookAndFeel = Value;
  Invalidate();
}

void TvxDateScaler::SetScrollButtons(TScrollButtons Value) {
  fScrollButtons = Value;
  Invalidate();
}

void TvxDateScaler::SetLongDatesToLeftEnd(bool Value) {
  fLongDatesToLeftEnd = Value;
  Invalidate();
}

TFont* TvxDateScaler::GetTextFont(TScalerFont aFont) noexcept {
  switch (aFont) {
    case sTextFont2: return &fTextFont2;
    case sTextFont3: return &fTextFont3;
    default: return &fTextFont1;
  }
}

void TvxDateScaler::SetTextFont1(const TFont& Value) {
  fTextFont1.Assign(Value);
  Invalidate();
}

void TvxDateScaler::SetTextFont2(const TFont& Value) {
  fTextFont2.Assign(Value);
  Invalidate();
}

void TvxDateScaler::SetTextFont3(const TFont& Value) {
  fTextFont3.Assign(Value);
  Invalidate();
}

TPoint TvxDateScaler::PreferredSize() const { return Point(480, 40); }

TPoint TvxDateScaler::MinimumSize() const { return Point(80, 24); }

}  // namespace vx
