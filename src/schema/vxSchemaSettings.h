#pragma once

#include <string>

#include "platform/rtl/DateUtils.h"
#include "scaler/vxScaler.h"

namespace vx {

// The time axis's settings under the schedule's names; the scaler keeps them.
class TSchemaScalerSettings {
public:
  const std::string& GetScalerDateFormat() const { return SettingsScaler()->GetDateFormat(); }
  void SetScalerDateFormat(const std::string& v) { SettingsScaler()->SetDateFormat(v); }
  const std::string& GetScalerTimeFormat() const { return SettingsScaler()->GetTimeFormat(); }
  void SetScalerTimeFormat(const std::string& v) { SettingsScaler()->SetTimeFormat(v); }
  TDateTime GetScalerStart() const { return SettingsScaler()->GetStart(); }
  TDateTime GetScalerStop() const { return SettingsScaler()->GetStop(); }
  bool GetRescaleWithCtrl() const { return SettingsScaler()->GetRescaleWithCtrl(); }
  void SetRescaleWithCtrl(bool v) { SettingsScaler()->SetRescaleWithCtrl(v); }
  TLookAndFeel GetLookAndFeel() const { return SettingsScaler()->GetLookAndFeel(); }
  void SetLookAndFeel(TLookAndFeel v) { SettingsScaler()->SetLookAndFeel(v); }
  TScrollButtons GetScrollButtons() const { return SettingsScaler()->GetScrollButtons(); }
  void SetScrollButtons(TScrollButtons v) { SettingsScaler()->SetScrollButtons(v); }
  bool GetVerticalText() const { return SettingsScaler()->GetVerticalText(); }
  void SetVerticalText(bool v);
  TDateTime GetMinStart() const { return SettingsScaler()->GetMinStart(); }
  void SetMinStart(TDateTime v) { SettingsScaler()->SetMinStart(v); }
  TDateTime GetMaxStop() const { return SettingsScaler()->GetMaxStop(); }
  void SetMaxStop(TDateTime v) { SettingsScaler()->SetMaxStop(v); }
  TvxHiddenHours GetHiddenHours() const { return SettingsScaler()->GetHiddenHours(); }
  void SetHiddenHours(TvxHiddenHours v);
  TvxHiddenDays GetHiddenDays() const { return SettingsScaler()->GetHiddenDays(); }
  void SetHiddenDays(TvxHiddenDays v);

protected:
  ~TSchemaScalerSettings() = default;
  // The schedule's scaler; it lives as long as the schedule.
  virtual TvxDateScaler* SettingsScaler() const = 0;
  // Hidden hours or days changed: the drawing area follows the axis.
  virtual void AxisSettingChanged() = 0;
};

// How the schedule's drawing area looks: background, pyjamas and lines. A
// change repaints the area.
class TSchemaLook {
public:
  TColor GetSchemaColor() const noexcept { return itsBackColor; }
  void SetBackColor(TColor theColor) { Set(itsBackColor, theColor, true); }
  void SetSchemaColor(TColor theColor) { SetBackColor(theColor); }
  TColor GetSchemaPyjamasColor() const noexcept { return itsPyjamasColor; }
  void SetPyjamasColor(TColor theColor) { Set(itsPyjamasColor, theColor, true); }
  void SetSchemaPyjamasColor(TColor theColor) { SetPyjamasColor(theColor); }
  bool GetDrawShortLines() const noexcept { return itsDrawShortLines; }
  void SetDrawShortLines(bool theValue) { Set(itsDrawShortLines, theValue, false); }
  TColor GetTodayLineColor() const noexcept { return fTodayLineColor; }
  void SetTodayLineColor(TColor theColor) { Set(fTodayLineColor, theColor, false); }
  bool GetTodayLineOnOff() const noexcept { return fTodayLineOnOff; }
  void SetTodayLineOnOff(bool theValue) { Set(fTodayLineOnOff, theValue, false); }

protected:
  ~TSchemaLook() = default;
  // A setting changed; theBackground: the pyjamas bitmap is stale too.
  virtual void LookChanged(bool theBackground) = 0;

  TColor itsBackColor = 32768;
  TColor itsPyjamasColor = 32896;
  bool itsDrawShortLines = false;
  bool fTodayLineOnOff = false;
  TColor fTodayLineColor = 0;

private:
  template <class T>
  void Set(T& theField, T theValue, bool theBackground) {
    theField = theValue;
    LookChanged(theBackground);
  }
};

// Where moved and resized bookings snap to: starts to a grid counted from
// midnight, lengths to whole steps.
class TSchemaSnapSettings {
public:
  // The calendar's days, from 1 January of the year 1 to the end of 9999.
  static constexpr TDateTime kFirstDay = -693593, kAfterLastDay = 2958466;
  // A step that is not a positive time of at most kMaxSnap is ignored.
  static constexpr TDateTime kMaxSnap = 366;

  bool GetStartSnapONOFF() const noexcept { return itsStartSnapONOFF; }
  void SetStartSnapONOFF(bool v) noexcept { itsStartSnapONOFF = v; }
  bool GetLengthSnapONOFF() const noexcept { return itsLengthSnapONOFF; }
  void SetLengthSnapONOFF(bool v) noexcept { itsLengthSnapONOFF = v; }
  TDateTime GetStartSnap() const noexcept { return itsStartSnap; }
  void SetStartSnap(TDateTime v) noexcept;
  TDateTime GetLengthSnap() const noexcept { return itsLengthSnap; }
  void SetLengthSnap(TDateTime v) noexcept;
  void Snap(TDateTime& theStart, TDateTime& theLength) const;

protected:
  ~TSchemaSnapSettings() = default;

  bool itsStartSnapONOFF = true;
  bool itsLengthSnapONOFF = true;
  TDateTime itsStartSnap = 5 * OneMinute;
  TDateTime itsLengthSnap = OneMinute;
};

}  // namespace vx
