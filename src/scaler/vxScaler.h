#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <vxplan/core/vxEvent.h>
#include <vxplan/core/vxEventHandling.h>
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/rtl/Set.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/scaler/vxScalerAccessible.h>
#include <vxplan/scaler/vxVisibleTimeTable.h>

namespace vx {

class TvxDateScaler;

// Steps of the scale marks: true-time lengths that also name a resolution.
constexpr double kScale10Hun = 10.0 / MSecsPerDay;
constexpr double kScale1Sec = 1.0 / 86400;
constexpr double kScale10Sec = 10.0 / 86400;
constexpr double kScale1Min = 1.0 / 1440;
constexpr double kScale10Min = 10.0 / 1440;
constexpr double kScale1Hour = 1.0 / 24;
constexpr double kScale1Day = 1;
constexpr double kScale1Week = 7;
constexpr double kScale1Month = 27;
constexpr double kScale3Month = 86;
constexpr double kScale1Year = 365;
constexpr double kScale10Year = 3652;
constexpr double kScale20Year = 7305;
constexpr double kScale100Year = 36524;

constexpr double kMinute = 1.0 / 1440;
constexpr double kHour = 1.0 / 24;
constexpr double kDay = 1;
constexpr double kWeek = 7;
constexpr double kMonth = 30;
constexpr double kYear = 365;

// The zoom table, in visible days per pixel.
constexpr double Scale10SecAndSec = 0.0000006;
constexpr double ScaleMinuteAnd10Sec = 0.00000283;
constexpr double Scale10MinuteAndMinute = 0.0000314;
constexpr double ScaleHourAnd10Minute = 0.0002;
constexpr double ScaleDayAndHour = 0.0018;
constexpr double ScaleWeekAndDay = 0.0347;
constexpr double ScaleMonthAndWeek = 0.0927;
constexpr double ScaleQuorterAndMonth = 1.0;
constexpr double ScaleYearAndQuorter = 2.0;
constexpr double ScaleDecadesAndYear = 10.64;
constexpr double ScaleDoubleDecadesAndDecades = 40.62;

// The next finer / coarser scale of the zoom table; the scale itself at the
// end of the table.
VX_API double GetPrevScale(double theScale) noexcept;
VX_API double GetNextScale(double theScale) noexcept;

enum TvxHiddenHoursEnum {
  thh00, thh01, thh02, thh03, thh04, thh05, thh06, thh07, thh08, thh09, thh10, thh11,
  thh12, thh13, thh14, thh15, thh16, thh17, thh18, thh19, thh20, thh21, thh22, thh23
};
using TvxHiddenHours = TSet<TvxHiddenHoursEnum>;
enum TvxHiddenDaysEnum { thdSUN, thdMON, thdTUE, thdWED, thdTHU, thdFRI, thdSAT };
using TvxHiddenDays = TSet<TvxHiddenDaysEnum>;

enum TScalerFont { sTextFont1, sTextFont2, sTextFont3 };
enum TIndicatorStyle { isNone, isNormal, isColorfull, isSober };
enum TLookAndFeel { tlfClassic, tlfBoxed };
enum TScrollButtons { tsbClassic, tsbSmall, tsbOff };

// One tick of the scale: its date, its position in (print) pixels from Start
// and its label.
struct VX_API TScaleMark {
  bool LongNotShort = false;
  TDateTime DateTime = 0;
  double Pixel = 0;
  std::string PresString;
  TScalerFont ScalerFont = sTextFont1;
  // The interval from this mark to the next lies wholly in hidden time.
  bool Hidden = false;
  std::string SubShortStr;
  TScalerFont SubShortScalerFont = sTextFont1;
};

using TOnLimitScaling = std::function<bool(TvxDateScaler* caller, TDateTime aStart, TDateTime aStop, double aScale)>;
using TOnUserStringEvent =
    std::function<void(TDateTime theDate, TDateTime theStep, std::string& theResult, TScalerFont& theScalerFont)>;
using TOnInfoStringEvent = std::function<void(std::string& theResult, TScalerFont& theScalerFont)>;
using TOnScalerUserDraw = std::function<void(TvxDateScaler* caller, TCanvas* aCanvas, TRect aRect)>;

// The message that delivers OnChange after the repaint that shows a change.
constexpr unsigned WM_SCALER_CHANGE = 3022;

// The time axis: a visible window of time (Start, Stop) laid out along the
// control's length, with hidden hours and days taking no pixels, two rows of
// scale marks, zooming, panning and timer scrolling.
class VX_API TvxDateScaler : public TvxOffscreenPaint {
public:
  explicit TvxDateScaler(TComponent* AOwner);
  // As a Qt child of theParent, owned by the nearest component around it.
  template <QtParentWidget W>
  explicit TvxDateScaler(W* theParent) : TvxDateScaler(OwnerFromQtParent(theParent)) {
    AdoptQtParent(theParent);
  }
  ~TvxDateScaler() override;

  // --- window -----------------------------------------------------------------
  TDateTime GetStart() const noexcept { return fStart; }
  TDateTime GetStop() const noexcept { return fStop; }
  // Pans: the window begins at Value and keeps its visible length. Non-finite
  // values are ignored.
  void SetStart(TDateTime Value);
  // Zooms: moves the end, keeping Start.
  void SetStop(TDateTime Value);
  virtual void SetScale(double aScale);
  virtual void SetCenterScale(double aScale, TDateTime aCenter, int aPixel);
  double GetScale();
  virtual int GetScaleLen() const;
  TDateTime VisibleTimeAmount();
  TDateTime GetMinStart() const noexcept { return fMinStart; }
  void SetMinStart(TDateTime Value);
  TDateTime GetMaxStop() const noexcept { return fMaxStop; }
  void SetMaxStop(TDateTime Value);
  bool CheckIfOkStartStop(TDateTime aStart, TDateTime aStop);
  bool GetHorizontal() const noexcept { return fHorizontal; }
  void SetHorizontal(bool Value) noexcept { fHorizontal = Value; }
  double GetZoomFactor() const noexcept { return fZoomFactor; }
  void SetZoomFactor(double Value) noexcept { fZoomFactor = Value; }

  // --- conversions --------------------------------------------------------------
  virtual double PixelLenToDate(int n);
  int DateToPixel(TDateTime aDate);
  TDateTime PixelToDate(int aPixel);
  double DateDiffToPixelLength(TDateTime aFrom, TDateTime aTo);
  virtual int TimeToPixel(TDateTime aTime);
  int GetPixelFromScaleMark(const TScaleMark& aMark);

  // --- zoom, animation, scrolling -------------------------------------------------
  void ZoomIn(int aPixel);
  void ZoomOut(int aPixel);
  // The wheel's zoom: the scale changes by ZoomStepPerNotch for every notch
  // (120) of theDelta, finer deltas in proportion, keeping the time under
  // aPixel where it is. Positive deltas zoom in.
  static constexpr double ZoomStepPerNotch = 1.25;
  void WheelZoom(int aPixel, int theDelta);
  // The wheel's pan: an eighth of the window a notch, later for negative deltas.
  void WheelPan(int theDelta);
  // The keyboard's zoom, a wheel notch around the middle: Ctrl with + (or =)
  // zooms in, Ctrl with - out. Answers whether theKey was one of them.
  bool ZoomKey(unsigned short theKey, TShiftState theShift);
  // wcClassic (the default): the wheel is the application's (OnMouseWheel).
  // wcQt: the wheel and Ctrl+wheel zoom around the pointer, Shift+wheel pans.
  TWheelConvention GetWheelConvention() const noexcept { return fWheelConvention; }
  void SetWheelConvention(TWheelConvention theValue) noexcept { fWheelConvention = theValue; }
  void AnimateScaleTransition(double aScale, int aSteps);
  void AnimateScaleTransition(double aScale, int aPixel, int aSteps);
  void AnimateScaleTransition(TDateTime aStart, TDateTime aStop, int aSteps);
  void StartStepUp();
  void StartStepDown();
  void StopStep();
  // While a drag holds the pointer at thePos beyond 0 .. theExtent, the
  // window steps towards it (before: earlier, beyond: later); inside it stops.
  // Answers whether it steps.
  bool StepAtEdge(int thePos, int theExtent);
  // StopStep, when stepping.
  void StopStepping();
  double GetScrollStep() { return PixelLenToDate(15); }

  void BeginUpdate() override;
  void EndUpdate() override;
  void Print(HDC DC, int x, int y, double scalex, double scaley, bool aResize) override;

  // --- hidden time ----------------------------------------------------------------
  TvxHiddenHours GetHiddenHours() const noexcept { return fHiddenHours; }
  void SetHiddenHours(TvxHiddenHours Value);
  TvxHiddenDays GetHiddenDays() const noexcept { return fHiddenDays; }
  void SetHiddenDays(TvxHiddenDays Value);
  bool IsHiddenHour(int aHour) const noexcept;
  bool IsHiddenDay(long long aDay) const noexcept;
  int GetHiddenHourCount() const noexcept { return fHiddenHoursCount; }
  TDateTime VisibleTimeForDay(long long aDay) const noexcept;
  TDateTime VisibleTimeForWeek();
  TDateTime VisibleTimeForPartOfDay(long long aDay, TDateTime aLen, TDateTime aFrom) const noexcept;
  TDateTime DateDiffToVisibleTime(TDateTime aFrom, TDateTime aTo);
  TDateTime VisibleTimeDiffToTrueTime(TDateTime aFrom, TDateTime aVisible);
  TDateTime VisibleTimeToTrueTime_Low(TDateTime aDate) const noexcept;
  TDateTime VisibleTimeToTrueTime_High(TDateTime aDate) const noexcept;

  // --- marks and labels ----------------------------------------------------------
  void CalcDrawMode();
  static TDateTime StepFork(TDateTime aMinTime, std::string& aName);
  TDateTime Snap(TDateTime aDate, TDateTime aStep);
  static TDateTime GetAdaptiveStep(TDateTime aDate, TDateTime aStep);
  std::string GetApprioateStringShort(TDateTime aDate, TDateTime aStep, TScalerFont& aFont, int aPixels,
                                      std::string& aSubStr, TScalerFont& aSubFont);
  std::string GetApprioateStringLong(TDateTime aDate, TDateTime aStep, TScalerFont& aFont);
  std::string GetWeekString(const std::string& aFormat, TDateTime aDate, bool aWithoutYear, int aPixels);
  int GetWeekNum(TDateTime aDate, bool& aNextYear) const;
  TDateTime FirstWeekOfYear(TDateTime aDate, bool& aContainsJan1) const;
  TDateTime TruncToFirstDayOfWeek(TDateTime aDate) const;
  static int DateToQuarter(TDateTime aDate);
  int GetOddOrEventStartForVerticalBack() const noexcept { return fOddOrEven; }

  const std::vector<TScaleMark>& GetShortScaleMarks() const noexcept { return fShortScaleMarkDrawList; }
  const std::vector<TScaleMark>& GetLongScaleMarks() const noexcept { return fLongScaleMarkDrawList; }
  TDateTime GetSmallStep() const noexcept { return fSmallStep; }
  TDateTime GetLongStep() const noexcept { return fLongStep; }
  const std::string& GetSmallStepName() const noexcept { return fSmallStepName; }
  const std::string& GetLongStepName() const noexcept { return fLongStepName; }
  TDateTime GetCtrlStep() const noexcept { return fCtrlStep; }

  bool GetWeekNumbers() const noexcept { return fWeekNumbers; }
  void SetWeekNumbers(bool Value);
  int GetPixelsForModeSwitch() const noexcept { return fPixelsForModeSwitch; }
  void SetPixelsForModeSwitch(int Value);
  const std::string& GetDateFormat() const noexcept { return fDateFormat; }
  void SetDateFormat(const std::string& Value);
  const std::string& GetTimeFormat() const noexcept { return fTimeFormat; }
  void SetTimeFormat(const std::string& Value);
  const std::string& GetWeekPrefix() const noexcept { return fWeekPrefix; }
  void SetWeekPrefix(const std::string& Value);
  const std::string& GetQuarterPrefix() const noexcept { return fQuarterPrefix; }
  void SetQuarterPrefix(const std::string& Value);
  const std::string& GetWeekYearFormat() const noexcept { return fWeekYearFormat; }
  void SetWeekYearFormat(const std::string& Value);
  int GetFirstDayOfWeek() const noexcept { return fFirstDayOfWeek; }
  // 1 = Sunday ... 7 = Saturday; other values are ignored.
  void SetFirstDayOfWeek(int Value);
  TFont* GetTextFont(TScalerFont aFont) noexcept;
  void SetTextFont1(const TFont& Value);
  void SetTextFont2(const TFont& Value);
  void SetTextFont3(const TFont& Value);

  // --- painting-side state (drawn by the painting code) ----------------------------
  bool GetIndicatorOn() const noexcept { return fIndicatorOn; }
  void SetIndicatorOn(bool Value);
  TIndicatorStyle GetIndicatorStyle() const noexcept { return fIndicatorStyle; }
  void SetIndicatorStyle(TIndicatorStyle Value);
  TLookAndFeel GetLookAndFeel() const noexcept { return fLookAndFeel; }
  void SetLookAndFeel(TLookAndFeel Value);
  TScrollButtons GetScrollButtons() const noexcept { return fScrollButtons; }
  void SetScrollButtons(TScrollButtons Value);
  bool GetVerticalText() const noexcept { return fVerticalText; }
  void SetVerticalText(bool Value) noexcept { fVerticalText = Value; }
  bool GetRescaleWithCtrl() const noexcept { return fRescaleWithCtrl; }
  void SetRescaleWithCtrl(bool Value) noexcept { fRescaleWithCtrl = Value; }
  bool GetLongDatesToLeftEnd() const noexcept { return fLongDatesToLeftEnd; }
  void SetLongDatesToLeftEnd(bool Value);
  TRect GetUpButtonRect() const noexcept { return fUpButtonRect; }
  TRect GetDownButtonRect() const noexcept { return fDownButtonRect; }
  bool IsScrollingUp() const noexcept { return fScrollADDTIME; }
  bool IsScrollingDown() const noexcept { return fScrollSUBTIME; }
  bool IsScrollTimerOn() const noexcept;
  unsigned GetScrollTimerInterval() const noexcept;
  // Whether OnChange is due after the next paint.
  bool GetCallOnChangeWhenRefreshed() const noexcept { return fCallOnChangeWhenRefreshed; }
  // Pixel of every short and long tick of the last paint; owners draw their
  // grid lines and bands from them.
  const std::vector<int>& GetShortLinePos() const noexcept { return fShortLinePos; }
  const std::vector<int>& GetLongLinePos() const noexcept { return fLongLinePos; }
  // Where the scale is marked, in the marks' pixels from Start, once per
  // pixel and in order: the ticks the scaler draws (in the boxed look its
  // separators). Areas under the scaler draw their lines from here, so that
  // their lines meet its marks. With aMinGap, a row whose lines are usually
  // closer than that keeps every other one, counted from the long marks so
  // that the lines stay with their time while the window pans.
  void GetScaleLinePixels(bool aLong, int aMinGap, std::vector<double>& aPixels) const;
  bool IsRescaling() const noexcept { return fReScaling; }
  // For the control that owns the scaler: OnChange and the other events are
  // the application's. The marks were rebuilt for a new window (at once, also
  // while a drag holds OnChange back), and a change is being delivered (just
  // before OnChange).
  TEvent* GetMarksChangedEvent() noexcept { return &fMarksChangedEvent; }
  TEvent* GetChangeDeliveredEvent() noexcept { return &fChangeDeliveredEvent; }

  TvxEventOf<TNotifyEvent> OnChange;
  TNotifyEvent OnAnimateChange;
  TOnLimitScaling OnLimitScaling;
  TOnUserStringEvent OnUserStringShort;
  TOnUserStringEvent OnUserStringLong;
  TOnUserStringEvent OnUserStringShortSub;
  TOnInfoStringEvent OnInfoStringEvent;
  TOnScalerUserDraw OnUserDrawBackground;
  TOnScalerUserDraw OnUserDrawForeground;

  // Made when an accessibility client first asks.
  TvxAccessibleContent* AccessibleContent() override;

protected:
  // Room for the parts with a few rows; the least keeps each part usable.
  TPoint PreferredSize() const override;
  TPoint MinimumSize() const override;
  void OffscreenPaint() override;
  void Resize() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  // With the focus: the zoom keys, and the arrows along the axis pan it by
  // a wheel notch's eighth of the window.
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  bool RescaleNotPan() const noexcept;

  // Painting: the whole axis into aRect of aCanvas (the off-screen bitmap, or
  // the printer's canvas).
  virtual void DoThePaint(TCanvas* aCanvas, const TRect& aRect);
  void CalcPixAndDrawScaleMarks(TCanvas* aCanvas, const TRect& aRect, int fx, int fy);
  void DrawScaleMarksText(TCanvas* aCanvas, const TRect& aRect);
  int GetScaleMarkPix(const std::vector<TScaleMark>& aList, size_t i, bool aLeftPlaced);
  int GetBoxPix(const std::vector<TScaleMark>& aList, size_t i);
  bool TermsForLeftPlacedText(const TScaleMark& aMark) const noexcept;
  void RotateFontIfNeeded(TFont* aFont) const;
  void DrawBoxes(TCanvas* aCanvas, const TRect& aRect);
  void DrawScrollButtons(TCanvas* aCanvas);
  // Direction as a clock position: 3 right, 6 down, 9 left, 12 up.
  void DrawTriangleButton(TCanvas* aCanvas, const TRect& aRect, bool aPressed, int aDirection);
  void DrawZoomButtons(TCanvas* aCanvas);
  void DrawScaleIndicator(TCanvas* aCanvas);
  void NormalIndicator(TCanvas* aCanvas);
  void SoberIndicator(TCanvas* aCanvas);
  void ColorFullIndicator(TCanvas* aCanvas);
  void DoBackground(TCanvas* aCanvas, const TRect& aRect);
  void DoForeground(TCanvas* aCanvas, const TRect& aRect);
  // Posts the change message when a change is due (the end of every paint).
  void PostChangeIfDue();
  void CallChange();
  void ScrollTimerTick();
  // The scale length in print pixels while printing.
  double ScalePixel();

private:
  std::unique_ptr<TScalerAccessible> fAccessible;
  // Timer scrolling started from outside, towards later or earlier time.
  void StartStep(bool aLater);
  void BuildScaleMarks(bool aLongRow, TDateTime aStep, std::vector<TScaleMark>& aList);
  void ChangedLabels();
  void AfterHiddenChange();
  // Ends a mouse action as a left release at (-1, -1) and resets the window,
  // before a failed rebuild raises.
  void RecoverFromScaleError();
  void FindScaleMarksFromDate(TDateTime aDate, int& aBefore, int& aAfter) const;
  void FindScaleMarksFromPixel(int aPixel, int& aBefore, int& aAfter) const;
  void CalcOddOrEven();
  // Pixels per day of visible time (print scale included).
  double PixelsPerVisibleTime();
  // The date at aPixel between two marks, from the visible-time table; false
  // when the table cannot answer it exactly.
  bool PixelToDateByTable(int aPixel, TDateTime aLowDate, double aLowPix, TDateTime aHighDate, TDateTime& aDate);

  TWheelConvention fWheelConvention = wcClassic;
  // The window in time.
  TDateTime fMinStart = 0;
  TDateTime fMaxStop;
  TDateTime fOldStart = 0;
  TDateTime fOldStop = 0;
  TDateTime fVisibleTimeAmount = 0;
  bool fVisibleTimeAmountValid = false;
  TDateTime fStopOnLastDraw = 0;
  bool fWasResized = false;
  TDateTime fStart = 0;
  TDateTime fStop = 0;
  bool fHorizontal = false;
  bool fCallOnChangeWhenRefreshed = false;
  bool fScrollSUBTIME = false;
  bool fScrollADDTIME = false;
  TTimer* fScrollTimer = nullptr;  // owned as a component
  double fZoomFactor = 0.9;
  TDateTime fMouseDownTime = 0;
  bool fAutScrollStarted = false;
  int fOldScaleLen = 0;
  double fOldScale = 0;

  // hidden time
  bool fVisibleTimeForWeekOutOfDate = true;
  TDateTime fVisibleTimeForWeek = 0;
  TvxHiddenHours fHiddenHours;
  TvxHiddenDays fHiddenDays;
  int fHiddenDaysCount = 0;
  int fHiddenHoursCount = 0;
  std::unique_ptr<TVisibleTimeTable> fVisibleTable;  // made at the first pixel-to-date with hidden time

  // marks
  bool fWeekNumbers = true;
  std::vector<TScaleMark> fShortScaleMarkDrawList;
  std::vector<TScaleMark> fLongScaleMarkDrawList;
  bool fListsCreated = false;
  TDateTime fSmallStep = kScale1Day;
  TDateTime fLongStep = kScale1Week;
  std::string fSmallStepName;
  std::string fLongStepName;
  int fPixelsForModeSwitch = 15;
  double fDrawStep = kScale1Day;
  std::string fTimeFormat;
  std::string fDateFormat;
  std::string fWeekPrefix = " w ";
  std::string fQuarterPrefix = " Q";
  std::string fWeekYearFormat = "YYYY";
  TDateTime fCtrlStep = 0;
  int fFirstDayOfWeek = 2;
  int fOddOrEven = 0;
  TEvent fMarksChangedEvent{this};
  TEvent fChangeDeliveredEvent{this};

protected:
  // painting and mouse state
  TFont fTextFont1;
  TFont fTextFont2;
  TFont fTextFont3;
  TIndicatorStyle fIndicatorStyle = isNormal;
  bool fRescaleWithCtrl = false;
  TLookAndFeel fLookAndFeel = tlfClassic;
  TScrollButtons fScrollButtons = tsbClassic;
  bool fVerticalText = false;
  bool fLongDatesToLeftEnd = false;
  bool fDown = false;
  bool fReScaling = false;
  int fDownX = 0;
  int fDownY = 0;
  double fDownScale = 0;
  TShiftState fShift;
  int fDownPix = 0;
  TDateTime fDownDate = 0;
  std::vector<int> fShortLinePos;
  std::vector<int> fLongLinePos;
  TRect fUpButtonRect = NoRect();
  TRect fDownButtonRect = NoRect();
  bool fIndicatorOn = true;
  TRect fScaleUpButton = NoRect();  // zoom buttons: reserved, never drawn
  TRect fScaleDownButton = NoRect();

private:
  // Draws one label when it does not collide with the last one of its row.
  void DrawLabel(TCanvas* aCanvas, const std::string& aText, TScalerFont aFont, int anAnchor, int aTextPos,
                 int& aLast, bool aLeftPlaced, bool aLong);
};

}  // namespace vx
