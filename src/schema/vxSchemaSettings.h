#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>
#include <string>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/Controls.h>
#include <vxplan/platform/ui/Graphics.h>
#include <vxplan/scaler/vxScaler.h>

namespace vx {

// The time axis's settings under the schedule's names; the scaler keeps them.
class VX_API TSchemaScalerSettings {
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
class VX_API TSchemaLook {
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
class VX_API TSchemaSnapSettings {
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

// Plain switches of the schedule's behaviour; read where they apply.
class VX_API TSchemaBehaviour {
public:
  bool GetShowBigONOFF() const noexcept { return itsShowBigONOFF; }
  void SetShowBigONOFF(bool v) noexcept { itsShowBigONOFF = v; }
  bool GetResizeAllCol() const noexcept { return itsResizeAllCol; }
  void SetResizeAllCol(bool v) noexcept { itsResizeAllCol = v; }
  bool GetMoveInTimeWhenColSwitch() const noexcept { return itsMoveInTimeWhenColSwitch; }
  void SetMoveInTimeWhenColSwitch(bool v) noexcept { itsMoveInTimeWhenColSwitch = v; }
  bool GetTimeItemAutoScroll() const noexcept { return fTimeItemAutoScroll; }
  void SetTimeItemAutoScroll(bool v) noexcept { fTimeItemAutoScroll = v; }
  bool GetStartDragWhenTimeMoveOutside() const noexcept { return fStartDragWhenTimeMoveOutside; }
  void SetStartDragWhenTimeMoveOutside(bool v) noexcept { fStartDragWhenTimeMoveOutside = v; }
  // What the mouse wheel does over the schedule. wcClassic: the drawing area
  // leaves it to its OnWheelScroll and the flipped titles scroll a row per
  // notch. wcQt: it scrolls the columns (rows) by the platform's wheel step,
  // Shift+wheel moves in time and Ctrl+wheel zooms in time around the pointer.
  TWheelConvention GetWheelConvention() const noexcept { return fWheelConvention; }
  void SetWheelConvention(TWheelConvention theStyle) noexcept { fWheelConvention = theStyle; }

protected:
  ~TSchemaBehaviour() = default;

  bool itsShowBigONOFF = true;
  bool itsResizeAllCol = true;
  bool itsMoveInTimeWhenColSwitch = false;
  bool fTimeItemAutoScroll = true;
  bool fStartDragWhenTimeMoveOutside = false;
  TWheelConvention fWheelConvention = wcClassic;
};

// The fonts of the bookings' text styles 1 to 3 (other styles use the
// control's font). A change repaints the area.
class VX_API TSchemaTextFonts {
public:
  TFont* GetTextFont1() const noexcept { return fTextFont1.get(); }
  TFont* GetTextFont2() const noexcept { return fTextFont2.get(); }
  TFont* GetTextFont3() const noexcept { return fTextFont3.get(); }
  void SetTextFont1(const TFont& theFont) { Set(*fTextFont1, theFont); }
  void SetTextFont2(const TFont& theFont) { Set(*fTextFont2, theFont); }
  void SetTextFont3(const TFont& theFont) { Set(*fTextFont3, theFont); }

protected:
  ~TSchemaTextFonts() = default;
  // As the look's: false, the pyjamas bitmap stays.
  virtual void LookChanged(bool theBackground) = 0;

  std::unique_ptr<TFont> fTextFont1;
  std::unique_ptr<TFont> fTextFont2;
  std::unique_ptr<TFont> fTextFont3;

private:
  void Set(TFont& theField, const TFont& theFont) {
    theField.Assign(theFont);
    LookChanged(false);
  }
};

class THeaderControl_MouseControl;
class TDrawGrid_Schema;
class TvxOffscreenPaint;

// Settings the children keep: the header's menu (the title grid gets the
// same) and the tab stops.
class VX_API TSchemaChildSettings {
public:
  TPopupMenu* GetHeaderPopupmenu() const;
  void SetHeaderPopupmenu(TPopupMenu* theMenu);
  bool GetHeaderTabStop() const;
  void SetHeaderTabStop(bool theValue);
  bool GetSchemaTabStop() const;
  void SetSchemaTabStop(bool theValue);

protected:
  ~TSchemaChildSettings() = default;
  // The header (columns across), the title grid (flipped) and the drawing
  // area; they live as long as the schedule's settings are asked.
  virtual THeaderControl_MouseControl* SettingsHeader() const = 0;
  virtual TDrawGrid_Schema* SettingsTitles() const = 0;
  virtual TvxOffscreenPaint* SettingsArea() const = 0;
};

// The application's drag events of the column titles. The header and the
// title grid raise them after their own drag events, which stay free for the
// application too.
class VX_API TSchemaHeaderDragEvents {
public:
  TStartDragEvent GetOnHeaderStartDrag() const { return fOnHeaderStartDrag; }
  void SetOnHeaderStartDrag(TStartDragEvent theEvent) { fOnHeaderStartDrag = std::move(theEvent); }
  TEndDragEvent GetOnHeaderEndDrag() const { return fOnHeaderEndDrag; }
  void SetOnHeaderEndDrag(TEndDragEvent theEvent) { fOnHeaderEndDrag = std::move(theEvent); }
  TDragOverEvent GetOnHeaderDragOver() const { return fOnHeaderDragOver; }
  void SetOnHeaderDragOver(TDragOverEvent theEvent) { fOnHeaderDragOver = std::move(theEvent); }
  TDragDropEvent GetOnHeaderDragDrop() const { return fOnHeaderDragDrop; }
  void SetOnHeaderDragDrop(TDragDropEvent theEvent) { fOnHeaderDragDrop = std::move(theEvent); }

protected:
  ~TSchemaHeaderDragEvents() = default;

private:
  TStartDragEvent fOnHeaderStartDrag;
  TEndDragEvent fOnHeaderEndDrag;
  TDragOverEvent fOnHeaderDragOver;
  TDragDropEvent fOnHeaderDragDrop;
};

// When the column scroller shows.
enum TScrollVisibility { svAlways, svWhenNeeded, svNever };

// How bookings that overlap are laid out, and when the column scroller shows.
class VX_API TSchemaLayoutSettings {
public:
  bool GetCollisionDetectBetweenDataList() const noexcept { return itsCollisionDetectBetweenDataList; }
  void SetCollisionDetectBetweenDataList(bool theValue) {
    if (theValue == itsCollisionDetectBetweenDataList) return;
    itsCollisionDetectBetweenDataList = theValue;
    CollisionSettingChanged();
  }
  bool GetCollisionDetect() const noexcept { return itsCollisionDetect; }
  void SetCollisionDetect(bool theValue) {
    if (theValue == itsCollisionDetect) return;
    itsCollisionDetect = theValue;
    CollisionSettingChanged();
  }
  // Each sub-column of a column (row) at least this many pixels across: a
  // column whose bookings overlap grows to show them (0, the default: the
  // column keeps its size and its sub-columns share it).
  int GetSubColumnSize() const noexcept { return fSubColumnSize; }
  void SetSubColumnSize(int theSize);
  TScrollVisibility GetScrollVisibility() const noexcept { return itsScrollVisibility; }
  void SetScrollVisibility(TScrollVisibility theValue) {
    itsScrollVisibility = theValue;
    ColumnSizesChanged(false);
  }

protected:
  ~TSchemaLayoutSettings() = default;
  // Collision detection went on or off, or changed its scope.
  virtual void CollisionSettingChanged() = 0;
  // theSizes: the columns' sizes follow; else only the scroller.
  virtual void ColumnSizesChanged(bool theSizes) = 0;

  int fSubColumnSize = 0;
  TScrollVisibility itsScrollVisibility = svWhenNeeded;
  bool itsCollisionDetectBetweenDataList = false;
  bool itsCollisionDetect = true;
};

}  // namespace vx
