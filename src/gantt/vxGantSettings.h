#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>
#include <string>

#include <vxplan/gantt/vxGantArea.h>
#include <vxplan/gantt/vxGantGridSide.h>
#include <vxplan/gantt/vxGantItems.h>
#include <vxplan/gantt/vxGantSide.h>
#include <vxplan/gantt/vxGantTree.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/paint/vxGraphStuff.h>
#include <vxplan/scaler/vxScaler.h>

namespace vx {

// The time axis's settings under the chart's names; the scaler keeps them.
class VX_API TGantScalerSettings {
public:
  TDateTime GetStart() const { return SettingsScaler()->GetStart(); }
  void SetStart(TDateTime v) { SettingsScaler()->SetStart(v); }
  TDateTime GetStop() const { return SettingsScaler()->GetStop(); }
  void SetStop(TDateTime v) { SettingsScaler()->SetStop(v); }
  double GetScale() const { return SettingsScaler()->GetScale(); }
  void SetScale(double v) { SettingsScaler()->SetScale(v); }
  double GetZoomFactor() const { return SettingsScaler()->GetZoomFactor(); }
  void SetZoomFactor(double v) { SettingsScaler()->SetZoomFactor(v); }
  TDateTime GetMinStart() const { return SettingsScaler()->GetMinStart(); }
  void SetMinStart(TDateTime v) { SettingsScaler()->SetMinStart(v); }
  TDateTime GetMaxStop() const { return SettingsScaler()->GetMaxStop(); }
  void SetMaxStop(TDateTime v) { SettingsScaler()->SetMaxStop(v); }
  const std::string& GetDateFormat() const { return SettingsScaler()->GetDateFormat(); }
  void SetDateFormat(const std::string& v) { SettingsScaler()->SetDateFormat(v); }
  const std::string& GetTimeFormat() const { return SettingsScaler()->GetTimeFormat(); }
  void SetTimeFormat(const std::string& v) { SettingsScaler()->SetTimeFormat(v); }
  bool GetIndicatorOn() const { return SettingsScaler()->GetIndicatorOn(); }
  void SetIndicatorOn(bool v) { SettingsScaler()->SetIndicatorOn(v); }
  int GetPixelsForModeSwitch() const { return SettingsScaler()->GetPixelsForModeSwitch(); }
  void SetPixelsForModeSwitch(int v) { SettingsScaler()->SetPixelsForModeSwitch(v); }
  bool GetRescaleWithCtrl() const { return SettingsScaler()->GetRescaleWithCtrl(); }
  void SetRescaleWithCtrl(bool v) { SettingsScaler()->SetRescaleWithCtrl(v); }
  TColor GetColorScaler() const { return SettingsScaler()->GetColor(); }
  void SetColorScaler(TColor v) { SettingsScaler()->SetColor(v); }
  TFont* GetFontScaler() const { return SettingsScaler()->GetFont(); }
  void SetFontScaler(const TFont& f) { SettingsScaler()->SetFont(f); }
  TCursor GetCursorScaler() const { return SettingsScaler()->GetCursor(); }
  void SetCursorScaler(TCursor v) { SettingsScaler()->SetCursor(v); }
  int GetFirstDayOfWeekScaler() const { return SettingsScaler()->GetFirstDayOfWeek(); }
  void SetFirstDayOfWeekScaler(int v) { SettingsScaler()->SetFirstDayOfWeek(v); }
  TLookAndFeel GetLookAndFeel() const { return SettingsScaler()->GetLookAndFeel(); }
  void SetLookAndFeel(TLookAndFeel v) { SettingsScaler()->SetLookAndFeel(v); }
  TScrollButtons GetScrollButtons() const { return SettingsScaler()->GetScrollButtons(); }
  void SetScrollButtons(TScrollButtons v) { SettingsScaler()->SetScrollButtons(v); }
  TvxHiddenHours GetHiddenHours() const { return SettingsScaler()->GetHiddenHours(); }
  void SetHiddenHours(TvxHiddenHours v) { SettingsScaler()->SetHiddenHours(v); }
  TvxHiddenDays GetHiddenDays() const { return SettingsScaler()->GetHiddenDays(); }
  void SetHiddenDays(TvxHiddenDays v) { SettingsScaler()->SetHiddenDays(v); }
  int GetScalerHeight() const { return SettingsScaler()->GetHeight(); }

  TPopupMenu* GetPopupMenuScaler() const { return SettingsScaler()->GetPopupMenu(); }
  void SetPopupMenuScaler(TPopupMenu* m) { SettingsScaler()->SetPopupMenu(m); }

protected:
  ~TGantScalerSettings() = default;
  // The chart's scaler; it lives as long as the chart.
  virtual TvxDateScaler* SettingsScaler() const = 0;
};

// How the chart's area looks: background, pyjamas, lines and links. A change
// repaints the area.
class VX_API TGantLook {
public:
  TColor GetGantBackColor() const noexcept { return fBackColor; }
  void SetGantBackColor(TColor theColor) { Set(fBackColor, theColor, true); }
  TColor GetGantPyjamasColor() const noexcept { return fPyjamasColor; }
  void SetGantPyjamasColor(TColor theColor) { Set(fPyjamasColor, theColor, true); }
  bool GetVerticalPyjamas() const noexcept { return fVerticalPyjamas; }
  void SetVerticalPyjamas(bool v) { Set(fVerticalPyjamas, v, false); }
  bool GetDrawShortLines() const noexcept { return fDrawShortLines; }
  void SetDrawShortLines(bool v) { Set(fDrawShortLines, v, false); }
  bool GetDrawLongLines() const noexcept { return fDrawLongLines; }
  void SetDrawLongLines(bool v) { Set(fDrawLongLines, v, false); }
  bool GetTodayLineOnOff() const noexcept { return fTodayLineOnOff; }
  void SetTodayLineOnOff(bool v) { Set(fTodayLineOnOff, v, false); }
  TColor GetTodayLineColor() const noexcept { return fTodayLineColor; }
  void SetTodayLineColor(TColor v) { Set(fTodayLineColor, v, false); }
  TLinkShow GetLinkShow() const noexcept { return fLinkShow; }
  void SetLinkShow(TLinkShow v) { Set(fLinkShow, v, false); }
  int GetBackGroundHeight() const noexcept { return fBackGroundHeight; }

protected:
  ~TGantLook() = default;
  // A setting changed; theBackground: the background bitmap is stale too.
  virtual void LookChanged(bool theBackground) = 0;

  int fBackGroundHeight = 18;
  TColor fBackColor = 0xC0C0C0;
  TColor fPyjamasColor = 0x808080;
  bool fVerticalPyjamas = false;
  bool fDrawShortLines = false;
  bool fDrawLongLines = true;
  bool fTodayLineOnOff = false;
  TColor fTodayLineColor = 0;
  TLinkShow fLinkShow = lsOneEndVisible;

private:
  template <class T>
  void Set(T& theField, T theValue, bool theBackground) {
    theField = theValue;
    LookChanged(theBackground);
  }
};

// The left side's settings under the chart's names: the tree's own, passed
// on to the grid where the grid has them, and the grid's.
class VX_API TGantLeftSideSettings {
public:
  TColor GetColorTree() const { return SettingsTree()->GetColor(); }
  void SetColorTree(TColor v);
  TCursor GetDragCursorTree() const { return SettingsTree()->GetDragCursor(); }
  void SetDragCursorTree(TCursor v);
  TDragMode GetDragModeTree() const { return SettingsTree()->GetDragMode(); }
  void SetDragModeTree(TDragMode v);
  TFont* GetFontTree() const { return SettingsTree()->GetFont(); }
  void SetFontTree(const TFont& f) { SettingsTree()->SetFont(f); }
  bool GetHideSelectionTree() const { return SettingsTree()->GetHideSelection(); }
  void SetHideSelectionTree(bool v) { SettingsTree()->SetHideSelection(v); }
  int GetIndentTree() const { return SettingsTree()->GetIndent(); }
  void SetIndentTree(int v) { SettingsTree()->SetIndent(v); }
  int GetAutoExpandLevelsTree() const { return SettingsTree()->GetAutoExpandLevels(); }
  void SetAutoExpandLevelsTree(int v) { SettingsTree()->SetAutoExpandLevels(v); }
  int GetMaxLevelsTree() const { return SettingsTree()->GetMaxLevels(); }
  void SetMaxLevelsTree(int v) { SettingsTree()->SetMaxLevels(v); }
  bool GetRightClickSelectTree() const { return SettingsTree()->GetRightClickSelect(); }
  void SetRightClickSelectTree(bool v) { SettingsTree()->SetRightClickSelect(v); }
  bool GetMultiSelectTree() const { return SettingsTree()->GetMultiSelect(); }
  void SetMultiSelectTree(bool v);
  bool GetGridLinesTree() const { return SettingsTree()->GetDrawGridLines(); }
  void SetGridLinesTree(bool v) { SettingsTree()->SetDrawGridLines(v); }
  bool GetAutoExpandTree() const { return SettingsTree()->GetAutoExpand(); }
  void SetAutoExpandTree(bool v) { SettingsTree()->SetAutoExpand(v); }
  // The side in use answers these.
  bool GetRowSelectTree() const { return SettingsSide()->GetRowSelect(); }
  void SetRowSelectTree(bool v) { SettingsSide()->SetRowSelect(v); }
  bool GetShowButtonsTree() const { return SettingsSide()->GetShowButtons(); }
  void SetShowButtonsTree(bool v) { SettingsSide()->SetShowButtons(v); }
  bool GetShowLinesTree() const { return SettingsTree()->GetShowLines(); }
  void SetShowLinesTree(bool v);
  TCursor GetCursorTree() const { return SettingsTree()->GetCursor(); }
  void SetCursorTree(TCursor v);
  bool GetHotTrackTree() const { return SettingsTree()->GetHotTrack(); }
  void SetHotTrackTree(bool v) { SettingsTree()->SetHotTrack(v); }
  bool GetToolTipsTree() const { return SettingsTree()->GetToolTips(); }
  void SetToolTipsTree(bool v) { SettingsTree()->SetToolTips(v); }
  // The tree's and the grid's.
  TBorderStyle GetBorderStyleTree() const { return SettingsTree()->GetBorderStyle(); }
  void SetBorderStyleTree(TBorderStyle v);

  TPopupMenu* GetPopupMenuTreeview() const { return SettingsTree()->GetPopupMenu(); }
  void SetPopupMenuTreeview(TPopupMenu* m);

  // The grid side's parts (nil before it is made).
  TvxGrid* GetGrid() const noexcept { return SettingsGridSide()->GetGrid(); }
  TvxGridTree* GetGridTree() const noexcept { return SettingsGridSide()->GetGridTree(); }
  bool GetGridVerticalScrollOutOfGrid() const noexcept { return SettingsGridSide()->GetVerticalScrollOutOfGrid(); }
  void SetGridVerticalScrollOutOfGrid(bool v) { SettingsGridSide()->SetVerticalScrollOutOfGrid(v); }
  // The bar that stands for the grid's own while GridVerticalScrollOutOfGrid.
  TScrollBar* GetGridScrollBar() const noexcept { return SettingsGridSide()->GetScrollBar(); }

  TvxCellLayouts* GetGrid_CellLayouts() const { return GetGrid()->GetCellLayouts(); }
  TvxGrid_Columns* GetGrid_Columns() const { return GetGrid()->GetColumns(); }
  TvxGrid_SubGrids* GetGrid_SubGrids() const { return GetGrid()->GetSubGrids(); }
  bool GetGrid_HasHeaders() const { return GetGrid()->GetHasHeaders(); }
  void SetGrid_HasHeaders(bool v) { GetGrid()->SetHasHeaders(v); }
  bool GetGrid_HasInfoCol() const { return GetGrid()->GetHasInfoCol(); }
  void SetGrid_HasInfoCol(bool v) { GetGrid()->SetHasInfoCol(v); }
  bool GetGrid_RowSelect() const { return GetGrid()->GetRowSelect(); }
  void SetGrid_RowSelect(bool v) { GetGrid()->SetRowSelect(v); }
  bool GetGrid_ExtendLastColumnToWidth() const { return GetGrid()->GetExtendLastColumnToWidth(); }
  void SetGrid_ExtendLastColumnToWidth(bool v) { GetGrid()->SetExtendLastColumnToWidth(v); }
  bool GetGrid_UserSortEnable() const { return GetGrid()->GetUserSortEnable(); }
  void SetGrid_UserSortEnable(bool v) { GetGrid()->SetUserSortEnable(v); }
  bool GetGrid_MultiSelect() const { return GetGrid()->GetMultiSelect(); }
  void SetGrid_MultiSelect(bool v) { GetGrid()->SetMultiSelect(v); }
  bool GetGridFocusRects() const { return GetGrid()->GetFocusRect_Cell(); }
  void SetGridFocusRects(bool v);
  bool GetGridStopEditOnFocusChange() const { return GetGrid()->GetStopEditOnFocusChange(); }
  void SetGridStopEditOnFocusChange(bool v) { GetGrid()->SetStopEditOnFocusChange(v); }

protected:
  ~TGantLeftSideSettings() = default;
  // The chart's tree, grid side and the side in use.
  virtual TGantTree* SettingsTree() const = 0;
  virtual TGantGridSide* SettingsGridSide() const = 0;
  virtual TGantSide* SettingsSide() const = 0;

private:
};

// The Gantt area's settings under the chart's names: its cursor and menu,
// how drags and the wheel behave, the snap, the sticky link mode.
class VX_API TGantAreaSettings {
public:
  TCursor GetCursorGantArea() const noexcept { return fCursorGantArea; }
  void SetCursorGantArea(TCursor v);
  bool GetMoveInTimeWhenMoveRow() const noexcept { return fMoveInTimeWhenMoveRow; }
  void SetMoveInTimeWhenMoveRow(bool v) noexcept { fMoveInTimeWhenMoveRow = v; }
  bool GetMoveOver12Then24() const noexcept { return fMoveOver12Then24; }
  void SetMoveOver12Then24(bool v) noexcept { fMoveOver12Then24 = v; }
  bool GetStartDragWhenTimeMoveOutside() const noexcept { return fStartDragWhenTimeMoveOutside; }
  void SetStartDragWhenTimeMoveOutside(bool v) noexcept { fStartDragWhenTimeMoveOutside = v; }
  TTimeItemAutoScroll GetTimeItemAutoScroll() const noexcept { return fTimeItemAutoScroll; }
  void SetTimeItemAutoScroll(TTimeItemAutoScroll v) noexcept { fTimeItemAutoScroll = v; }
  int GetHdcToUseOnNewPage() const noexcept { return fHdcToUseOnNewPage; }
  void SetHdcToUseOnNewPage(int v) noexcept { fHdcToUseOnNewPage = v; }
  TSnapHandler* GetSnap() const noexcept { return fSnap.get(); }
  TPopupMenu* GetPopupMenuGantArea() const { return SettingsArea()->GetPopupMenu(); }
  void SetPopupMenuGantArea(TPopupMenu* m) { SettingsArea()->SetPopupMenu(m); }
  // smDependency: the next left press on an item starts drawing a link.
  TGantStickyMode GetStickyMode() const noexcept { return fLocalStickyMode; }
  void SetStickyMode(TGantStickyMode theMode) noexcept { fLocalStickyMode = theMode; }
  // The wheel over the area, the left side and the time axis. wcClassic (the
  // default): one visible node of the tree a wheel message. wcQt: the wheel
  // scrolls the rows by the platform's wheel step, Shift+wheel moves in
  // time, Ctrl+wheel zooms in time around the pointer (on the time axis the
  // wheel zooms too).
  TWheelConvention GetWheelConvention() const noexcept { return fWheelConvention; }
  void SetWheelConvention(TWheelConvention theValue);

protected:
  ~TGantAreaSettings() = default;
  // The chart's area and scaler (nil before they are made).
  virtual TvxOffscreenPaint_GA* SettingsArea() const = 0;
  virtual TvxDateScaler* SettingsScaler() const = 0;

  TCursor fCursorGantArea = crArrow;
  bool fMoveInTimeWhenMoveRow = false;
  bool fMoveOver12Then24 = false;
  bool fStartDragWhenTimeMoveOutside = false;
  TTimeItemAutoScroll fTimeItemAutoScroll = ttiaHorzAndVert;
  int fHdcToUseOnNewPage = 0;
  std::unique_ptr<TSnapHandler> fSnap;
  TGantStickyMode fLocalStickyMode = smNone;
  TWheelConvention fWheelConvention = wcClassic;
  TWheelSteps fWheelRows;  // the Qt convention's wheel, summed into rows
};

// What new links and the item texts' styles start from.
class VX_API TGantItemDefaults {
public:
  TLinkStyle GetDefaultLinkStyle() const noexcept { return fDefaultLinkStyle; }
  void SetDefaultLinkStyle(TLinkStyle v) noexcept { fDefaultLinkStyle = v; }
  TColor GetDefaultLinkColor() const noexcept { return fDefaultLinkColor; }
  void SetDefaultLinkColor(TColor v) noexcept { fDefaultLinkColor = v; }
  int GetDefaultLinkPenWidth() const noexcept { return FDefaultLinkPenWidth; }
  void SetDefaultLinkPenWidth(int v) noexcept { FDefaultLinkPenWidth = v; }
  TCursor GetDefaultLinkCursor() const noexcept { return FDefaultLinkCursor; }
  void SetDefaultLinkCursor(TCursor v) noexcept { FDefaultLinkCursor = v; }
  TFont* GetFontTimeItemStyle1() const noexcept { return fFontTimeItemStyle1.get(); }
  TFont* GetFontTimeItemStyle2() const noexcept { return fFontTimeItemStyle2.get(); }
  TFont* GetFontTimeItemStyle3() const noexcept { return fFontTimeItemStyle3.get(); }
  void SetFontTimeItemStyle1(const TFont& f) { fFontTimeItemStyle1->Assign(f); }
  void SetFontTimeItemStyle2(const TFont& f) { fFontTimeItemStyle2->Assign(f); }
  void SetFontTimeItemStyle3(const TFont& f) { fFontTimeItemStyle3->Assign(f); }

protected:
  ~TGantItemDefaults() = default;

  TLinkStyle fDefaultLinkStyle = tlsDefault;
  TColor fDefaultLinkColor = 0xFF0000;
  int FDefaultLinkPenWidth = 0;
  TCursor FDefaultLinkCursor = crHandPoint;
  std::unique_ptr<TFont> fFontTimeItemStyle1 = std::make_unique<TFont>();
  std::unique_ptr<TFont> fFontTimeItemStyle2 = std::make_unique<TFont>();
  std::unique_ptr<TFont> fFontTimeItemStyle3 = std::make_unique<TFont>();
};

}  // namespace vx
