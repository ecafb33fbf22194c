#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <vxplan/core/vxEvent.h>
#include <vxplan/grid/vxBabGridContent.h>
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/ComCtrls.h>
#include <vxplan/platform/ui/StdCtrls.h>

namespace vx {

class TBabGridView_Custom;
class TBabSimpleCellStringData;
class TBabSubGridCellData;
class TXorOverlay;

enum TBabEditorType { babETEdit, babETMemo, babETCombo, babETBool, babETDateTime };

using TCellEvent = std::function<void(TBabGridView_Custom* theBabGridView, TBabCell* theBabCell)>;
using TOnUserRenderCell = std::function<void(
    TBabGridView_Custom* theBabGridView, TCanvas* theCanvas, TBabCell* theBabCell, const std::string& theString,
    bool theBoolean, bool theIsStringEdit, TBabDrawStateSet theDrawState, TRect theDrawRect, bool& aDefaultDraw)>;
using TSlowStartProc = std::function<void()>;
using TOnCellBooleanEvent = std::function<bool(TBabGridView_Custom* theBabGridView, TBabCell* theBabCell)>;
using TOnRenderButton =
    std::function<void(TBabGridView_Custom* theBabGridView, TCanvas* theCanvas, TBabCell* theBabCell, TRect theRect)>;
using TOnCellInset = std::function<int(TBabGridView_Custom* theBabGridView, TBabCell* theBabCell)>;
using TOnCellGetCellEvent = std::function<TBabCell*(TBabGridView_Custom* theBabGridView, TBabCell* theBabCell)>;
using TOninitSubGridContent =
    std::function<void(TBabGridView_Custom* theBabGridView, TBabSubGridCellData* theBabSubGridCellData)>;
using TOnInitContent =
    std::function<void(TBabGridView_Custom* theBabGridView, TBabSimpleCellStringData* theBabSimpleCellStringData)>;
using TOnChooseEditor = std::function<void(TBabGridView_Custom* theBabGridView,
                                           TBabSimpleCellStringData* theBabSimpleCellStringData,
                                           TBabEditorType& EditorChoise)>;
using TOnEditStop = std::function<void(TBabGridView_Custom* theBabGridView, TControl* theEditComponent,
                                       TBabSimpleCellStringData* theBabSimpleCellStringData, std::string& theText)>;
using TOnAfterUserSize = std::function<void(TBabGridView_Custom* theBabGridView, TBabCell* theBabCell,
                                            bool theIsHorz, TAxisContentItem* theAxisContentItem)>;
using TOnInplaceEditOnChange = std::function<void(TBabGridView_Custom* theBabGridView, const std::string& theValue)>;
using TOnInplaceEditKeyPress = std::function<void(TBabGridView_Custom* aBabGrid, char32_t& Key)>;
// The class-wide hooks of edits starting and ending in any view.
using TOnClassEditEvent = std::function<void(TBabGridView_Custom* theBabGridView, TBabCell* theBabCell)>;

// The default data of a simple cell: its text, or a check box ("TRUE" when
// checked). SetString only stores: the view's SetText also repaints.
class VX_API TBabSimpleCellStringData : public TBabSimpleCellData {
public:
  void InitContent() override;
  const std::string& GetString() const noexcept { return fString; }
  void SetString(const std::string& theValue) { fString = theValue; }
  bool GetIsBoolean() const noexcept { return fIsBoolean; }
  void SetIsBoolean(bool theValue) noexcept { fIsBoolean = theValue; }

private:
  std::string fString;
  bool fIsBoolean = false;
};

// The default data of a grid cell; a nested one is filled by the view's
// initSubGridContent when it is made.
class VX_API TBabSubGridCellData : public TBabGridCellData {
public:
  void InitContent() override;
};

// The view's scroll bars: a move of one scrolls the view.
class VX_API TScrollbar_vx : public TScrollBar {
public:
  TScrollbar_vx(TBabGridView_Custom* theView, TScrollBarKind theKind);

protected:
  void Changed() override;

private:
  TBabGridView_Custom* fView;
};

// The in-place editors: one of each kind per view, reused for every edit.
// They pass their keys through the view's EditorKeyPress and end the edit
// when they lose the focus (the combo box and the date-time picker only
// with StopEditOnFocusChange).
// What every in-place editor does with its keys and its leaving: the view
// decides. MultiLine editors keep Enter for a new line.
template <class Base, bool MultiLine = false>
class TBabInplace : public Base {
public:
  explicit TBabInplace(TBabGridView_Custom* theView) : Base(theView), fBabGridView(theView) {}
  TBabGridView_Custom* GetBabGridView() const noexcept { return fBabGridView; }

protected:
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void DoExit() override;
  void Changed() override;

  TBabGridView_Custom* fBabGridView;
};

class VX_API TBabInplaceEditor : public TBabInplace<TCustomEdit> {
public:
  explicit TBabInplaceEditor(TBabGridView_Custom* theView);
};

class VX_API TBabInplaceMemoEditor : public TBabInplace<TCustomMemo, true> {
public:
  explicit TBabInplaceMemoEditor(TBabGridView_Custom* theView);
};

class VX_API TBabInplaceComboEditor : public TBabInplace<TCustomComboBox> {
public:
  explicit TBabInplaceComboEditor(TBabGridView_Custom* theView);
};

class VX_API TBabInplaceBoolEditor : public TBabInplace<TCustomCheckBox> {
public:
  explicit TBabInplaceBoolEditor(TBabGridView_Custom* theView);
};

class VX_API TBabInplaceDateTimeEditor : public TBabInplace<TDateTimePicker> {
public:
  explicit TBabInplaceDateTimeEditor(TBabGridView_Custom* theView);
};

// A date typed by a user, by the short date format; month names of that
// format may stand for their numbers. The time of day is cut off. A text
// that is no date raises EConvertError.
VX_API TDateTime SafeStrToDate(const std::string& theText);

// Shows a cell tree on screen: paints every cell (headers, text, check
// boxes, icons, tree buttons and lines, frames, the focus), scrolls with two
// scroll bars, selects and navigates by mouse and keyboard, resizes columns
// and rows with the mouse, starts drags and edits cells in place.
//
// The view keeps only the focused cell across changes of the axes; every
// other cell it refers to (the edited one, a pending selection, a resize) it
// forgets when the model frees it.
//
// Handlers of the events and hooks below may delete anything: the cell, row
// or column they are handed, its grid cell, every row and column. Not the
// view itself: a handler that wants it gone calls deleteLater() on it. What
// the view was doing around the handler goes on with what is still there.
class VX_API TBabGridView_Custom : public TvxOffscreenPaint {
public:
  // In the view's scope: the Gantt chart has a mouse mode of its own named mmNone.
  enum TMMode { mmNone, mmResizeCols, mmResizeRows };
  explicit TBabGridView_Custom(TComponent* AOwner);
  TBabGridView_Custom(TComponent* AOwner, TBabSimpleCellDataClass theSimpleDataClass,
                      TBabGridCellDataClass theGridDataClass);
  ~TBabGridView_Custom() override;

  TBabGridCellForViewer* GetBabGridCellForViewer() const noexcept { return fBabGridCellForViewer.get(); }
  static TBabGridView_Custom* ViewOf(const TBabCell* theCell);

  // Content.
  void Init();
  virtual void InitContent(TBabSimpleCellStringData* theData);
  virtual void initSubGridContent(TBabSubGridCellData* theData);
  std::string GetText(TBabCell* theCell) const;
  void SetText(TBabCell* theCell, const std::string& theText);
  void RecalcExtents();
  void BeginUpdate() override;
  void EndUpdate() override;
  virtual TBabSimpleCellDataClass GetSimpleCellDataClass() const;
  virtual TBabGridCellDataClass GetGridCellDataClass() const;

  // Layout.
  TRect GetDrawRect() const;
  bool GetHardViewParamsOutOfDate() const noexcept;
  bool GetSoftViewParamsOutOfDate() const noexcept;
  // Lays out now what is out of date (a paint does it anyway).
  void UpdateLayout();
  virtual void HardViewParamsUpdate();
  virtual void SoftViewParamsUpdate();
  virtual int GetWidthOffAxisContentItemForHeightCalculation(TBabGridCell* theGridCell, TAxisContentItem* theItem);
  // A column whose user size is this fills the width the others leave.
  static constexpr int kFillUserSize = 1000;
  // The width the other columns of theGridCell leave to theItem: for the
  // column grid's stretched last column (user size kFillUserSize), whose
  // wrapped text is measured at that width.
  int WidthLeftForColumn(TBabGridCell* theGridCell, TAxisContentItem* theItem);
  virtual int GetFullyVisibleColumns() const;
  virtual bool GetExpandLastColumnIfShort() const { return false; }
  void DoResize(int theDelta, TBabCell* theCell, bool theIsHorz);
  void HandleAutoSize(TBabCell* theCell, bool theIsHorz);

  // Scrolling and navigation.
  void Scroll(TBabDirection theDirection, TShiftState theShift);
  void PublicScroll(TScrollDirection theDirection);
  void SetScrollbarPosition(TScrollBar* theBar, int thePosition);
  void MakeSureFocusedIsVisible();
  // Scrolls the least so that row theRow of the outermost grid shows whole,
  // with the row after it (when there is one), whatever the rows' heights.
  void ShowRow(int theRow);
  void HijackVerticalScroll(bool theValue);
  bool GetHijackedVerticalScroll() const noexcept { return fHijackVerticalScroll; }
  void HandleExternalWheelScroll(TWMMouseWheel& theMessage);
  virtual bool DecideScrollVisible(TScrollBar* theBar) const;
  TScrollbar_vx* GetHorzScrollBar() const noexcept { return fHorz; }
  TScrollbar_vx* GetVertScrollBar() const noexcept { return fVert; }

  // Editing.
  virtual void StartEditing();
  virtual void StopEditing();
  virtual void BreakEditing();
  bool GetEditing() const noexcept { return fEditing; }
  TBabCell* GetEditCell() const noexcept { return fEditBabSimpleCell; }
  TControl* GetCurrentEditor() const noexcept { return fCurrentEditor; }
  TBabEditorType GetEditorChoise() const noexcept { return fEditorChoise; }
  TBabInplaceEditor* GetInplaceEditor() const noexcept { return fInplaceEditor; }
  TBabInplaceMemoEditor* GetInplaceMemoEditor() const noexcept { return fInplaceMemoEditor; }
  TBabInplaceComboEditor* GetInplaceComboEditor() const noexcept { return fInplaceComboEditor; }
  TBabInplaceBoolEditor* GetInplaceBooleanEditor() const noexcept { return fInplaceBooleanEditor; }
  TBabInplaceDateTimeEditor* GetInplaceDateTimeEditor() const noexcept { return fInplaceDateTimeEditor; }
  virtual void InitEditor(TControl* theEditor, TBabCell* theCell, std::string& theText);
  virtual void DeInitEditor(TControl* theEditor, TBabCell* theCell, bool theCanceled, std::string theText);
  // An edit ends with theText, after OnEditStop: false leaves the cell as it
  // was, and theText may be rewritten. May call out: the cell may be gone after.
  virtual bool AcceptEditedText(TBabCell*, std::string&) { return true; }
  TBabEditorType InternalGetEditorType(TBabCell* theCell);
  void CheckEditLayout(TBabCell* theCell, TFont* theFont);
  bool GetEditRect(TBabCell* theCell, TRect& theRect);
  virtual bool EditorCanModifyDefaultValue(TBabCell* theCell);
  virtual bool EditorCanModify(TBabCell* theCell);
  virtual bool EditorValidKey(char32_t theKey);
  // Every editor's key press passes here first; allowEnter for the memo.
  void EditorKeyPress(char32_t& theKey, bool theAllowEnter);
  // Keys an editor handles for the view: Tab ends the edit and moves on.
  bool EditorKeyDown(TControl* theEditor, unsigned short& theKey, TShiftState theShift);
  void EditorExit(TControl* theEditor);
  void EditorChanged(TControl* theEditor);
  static void InstallClassEvents(TOnClassEditEvent theStartEditHook, TOnClassEditEvent theEndEditHook);
  // The hint that tells a user asking to edit a cell that cannot be edited.
  static constexpr const char* kReadOnlyHint = "Read-only";
  bool ReadOnlyShown() const;

  // Queries that answer the matching event, or the default without one.
  virtual bool IsButtonExpanded(TBabCell* theCell);
  virtual bool IsButtonTerminal(TBabCell* theCell);
  virtual TBabCell* GetParentButtonCell(TBabCell* theCell);
  virtual bool ButtonHasNonHiddenChildren(TBabCell* theCell);
  virtual int CellInset(TBabCell* theCell);
  // The indentation of a tree cell in pixels: 15 a level, the levels kept
  // within 0 .. kMaxCellInset.
  int IndentOf(TBabCell* theCell);
  static constexpr int kMaxCellInset = 1000;
  virtual bool CellHasIcon(TBabCell*) { return false; }
  virtual int CellIconIndex(TBabCell*) { return 0; }
  bool CellHasButton(TBabCell* theCell);
  virtual void DoButtonAction(TBabCell* theCell);

  // Painting helpers, shared with printing.
  TColor GetHighLightColor();
  unsigned GetFlags(TBabCell* theCell) const;
  std::string WholeLines(const std::string& theText, const TRect& r, unsigned theFlags);
  void DivideTheRectIntoSections(TBabCell* theCell, TBabDrawStateSet theState, TRect& theText, TRect& theIcon,
                                 TRect& theButton, TRect& r, bool theDoDraw);
  static TRect CheckBoxRectFromDrawRect(const TRect& r);
  // theSmooth: the tick as one smooth line (for screens of more than one
  // device pixel a logical one).
  static void DrawCheckBox(TCanvas* theCanvas, const TRect& r, bool theChecked, bool theSmooth = false);
  void DrawSortingSymbol(TBabCell* theCell, bool theUpNotDown, const TRect& r);
  // The view or its editor has the input focus.
  bool HasInputFocus() const;

  // Properties.
  bool GetRowSelect() const { return fBabGridCellForViewer->GetRowSelect(); }
  void SetRowSelect(bool theValue) { fBabGridCellForViewer->SetRowSelect(theValue); }
  bool GetMultiSelect() const { return fBabGridCellForViewer->GetMultiSelect(); }
  void SetMultiSelect(bool theValue) { fBabGridCellForViewer->SetMultiSelect(theValue); }
  bool GetAutoEditMode() const noexcept { return fAutoEditMode; }
  void SetAutoEditMode(bool theValue) noexcept { fAutoEditMode = theValue; }
  TCustomImageList* GetImageList() const noexcept { return fImageList; }
  void SetImageList(TCustomImageList* theValue);
  TOnCreateCell GetOnCreateCell() const { return fBabGridCellForViewer->fOnCreateCell; }
  void SetOnCreateCell(TOnCreateCell theValue) { fBabGridCellForViewer->fOnCreateCell = std::move(theValue); }
  bool GetFocusRect_Cell() const noexcept { return fFocusRect_Cell; }
  void SetFocusRect_Cell(bool theValue);
  bool GetFocusRect_Grid() const noexcept { return fFocusRect_Grid; }
  void SetFocusRect_Grid(bool theValue);
  bool GetStopEditOnFocusChange() const noexcept { return fStopEditOnFocusChange; }
  void SetStopEditOnFocusChange(bool theValue) noexcept { fStopEditOnFocusChange = theValue; }
  bool GetStartEditOnEnter() const noexcept { return fStartEditOnEnter; }
  void SetStartEditOnEnter(bool theValue) noexcept { fStartEditOnEnter = theValue; }
  bool GetShowLinesTree() const noexcept { return fShowLinesTree; }
  void SetShowLinesTree(bool theValue);
  bool GetAllowKeyNavigation() const noexcept { return fAllowKeyNavigation; }
  void SetAllowKeyNavigation(bool theValue) noexcept { fAllowKeyNavigation = theValue; }
  TTypingConvention GetTypingConvention() const noexcept { return fTypingConvention; }
  void SetTypingConvention(TTypingConvention theValue) noexcept { fTypingConvention = theValue; }
  TCursor GetCursorGrid() const noexcept { return fCursorGrid; }
  void SetCursorGrid(TCursor theValue) noexcept { fCursorGrid = theValue; }
  bool GetToggleCheckBoxAndEndEdit() const noexcept { return fToggleCheckBoxAndEndEdit; }
  bool GetInplaceDateTimeClearStatesBetweenEdits() const noexcept { return fInplaceDateTimeClearStatesBetweenEdits; }
  void SetInplaceDateTimeClearStatesBetweenEdits(bool theValue) noexcept {
    fInplaceDateTimeClearStatesBetweenEdits = theValue;
  }
  TLayoutProp* GetDefaultContentLayoutProperty() const noexcept { return fDefaultContentLayoutProperty.get(); }
  TBabCell* GetCurrentSortCol() const noexcept { return fCurrentSortCol; }
  bool GetCurrentSortUpNotDown() const noexcept { return fCurrentSortUpNotDown; }
  TMMode GetMouseMoveMode() const noexcept { return fMouseMoveMode; }
  // The tracking line drawn now; (-1, -1, -1, -1) when none.
  TRect GetTrackLine() const noexcept { return fOldTrack; }
  TDragMode GetDragModeOverride() const noexcept { return fDragModeOverride; }
  void SetDragMode(TDragMode theMode) override;
  const std::string& GetNaviString() const noexcept { return fNaviString; }

  TvxEventOf<TNotifyEvent> OnTopLeftChanged;
  TvxEventOf<TNotifyEvent> OnSelectionChanged;
  TCellEvent OnBeforeRenderCell;
  TOnUserRenderCell OnUserRenderCell;
  TOnCellBooleanEvent OnCellHasButton;
  TOnRenderButton OnRenderButton;
  TvxEventOf<TCellEvent> OnButtonClick;
  TOnCellInset OnCellInset;
  TOnCellBooleanEvent OnIsButtonExpanded;
  TOnCellBooleanEvent OnIsButtonTerminal;
  TOnCellBooleanEvent OnButtonHasNonHiddenChildren;
  TOnCellGetCellEvent OnGetParentButtonCell;
  TNotifyEvent OnGridResize;
  TOnCellBooleanEvent OnEditorCanModify;
  TvxEventOf<TCellEvent> OnRightClick;
  TvxEventOf<TCellEvent> OnCellSelectionChanged;
  TOnVirtualLoad OnVirtualLoad;
  TOnVirtualUnLoad OnVirtualUnLoad;
  TNotifyEvent OnAxisChanged;
  TOninitSubGridContent OninitSubGridContent;
  TOnInitContent OnInitContent;
  TOnChooseEditor OnChooseEditor;
  TOnEditStop OnEditStop;
  TOnAfterUserSize OnAfterUserSize;
  TNotifyEvent OnVerticalScrollVisibilityChanged;
  TOnInplaceEditOnChange OnInplaceEditOnChange;
  TOnInplaceEditKeyPress OnInplaceEditKeyPress;

  // For the control that hosts the grid: heard before the public events of
  // the same name, which stay the application's.
  struct THostListeners {
    TNotifyEvent TopLeftChanged;
    TNotifyEvent AxisChanged;
    TNotifyEvent VerticalScrollVisibilityChanged;
    TOnVirtualLoad VirtualLoad;
    TOnVirtualUnLoad VirtualUnLoad;
    // A key the grid left alone.
    TKeyEvent KeyDown;
  };
  void SetHostListeners(THostListeners theListeners) { fHost = std::move(theListeners); }

protected:
  // Hooks of the cell tree.
  virtual void OnCellDeInit(TBabCell* theCell);
  virtual void FocusChanged(TBabCell*) {}
  virtual void SetGridCursor(TCursor theCursor);
  virtual void TopLeftChanged();
  virtual void DoGridResize();
  virtual void UserSizeChanged(TAxisContentItem*) {}
  virtual void OnAxisChange();
  virtual void OnTopLeftChangeEvent();
  virtual void OnFocusedCellChange();
  virtual void _OnMeasureHeight(TBabGridCell* theCaller, TBabCell* theCell, int& theHeight);
  virtual bool _OnCheckCellGrouping(TBabCell*, TBabCell*) { return false; }
  virtual void _OnVirtualLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn);
  virtual void _OnVirtualUnLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn,
                                bool theUnloadPerform, bool& theCanUnload);
  virtual void _OnKeepAfterUnLoad(TBabGridCell*, TAxisContentItem*, bool, bool& theKeepAfterUnload) {
    theKeepAfterUnload = true;
  }
  virtual void _OnUnloadIntervall(TBabGridCell*, TAxisContentItem*, bool, int&, int&) {}
  virtual void _OnDeleteOfUnloaded(TBabGridCell*, bool, int&, int&) {}
  virtual void _OnAxisItemRemoved(TBabGridCell*, TAxisContentItem*, bool) {}
  void OnCellRectTampering(TBabGridCell* theCaller, TBabCell* theCell, TRect& theRect);
  void _OnScaleRect(TRect& theRect);

  // Sorting by a header click: the view only marks the header.
  virtual void DoSortCell(TBabCell*, bool) {}
  virtual bool CheckSortAllow(TBabCell*) { return false; }

  // A layout goes: the cells that use it (and the font cache) forget it;
  // simple cells behind the headers fall back to the default layout.
  void ForgetLayoutProp(const TLayoutProp* theProp);

  // Painting.
  void OffscreenPaint() override;
  void PaintCells();
  virtual void OnDrawBabCell(TRect theRect, TBabCell* theCell, TBabDrawStateSet theState);
  virtual void PreDrawGetStringAndSetAttributes(TBabCell* theCell, TBabDrawStateSet theState, std::string& theText,
                                                bool& theValue, bool& theIsText);
  virtual void PostDrawGetStringAndSetAttributes(TBabCell*, TBabDrawStateSet, std::string&, bool&, bool&) {}
  // False when the cell went meanwhile (the set-up calls out).
  bool SetRenderAttributes(TBabCell* theCell, TBabDrawStateSet theState, std::string& theText, bool& theValue,
                           bool& theIsText, bool& theFlagDraw);
  void DoLines(TRect r, TBabCell* theCell, TBabDrawStateSet theState);
  void DefaultLines(TRect r, TBabCell* theCell);
  void LayoutPropertyLines(TRect r, TBabCell* theCell);
  void DrawButtonsAndLines();
  void RenderButton(TBabCell* theCell, const TRect& theButton);

  // Input.
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;
  void CancelMode() override;
  void Dispatch(TMessage& Message) override;
  void Resize() override;
  bool InResizeZone(int x, int y, TBabCell*& theCell, bool& theIsHorz);

private:
  THostListeners fHost;
  class TViewLayout;
  friend class TViewLayout;
  friend class TScrollbar_vx;

  void InstallHooks();
  void Listen();
  // The layout pass of the visible area and the scroll bars.
  void LayOutArea();
  // Raises what a layout pass noted for the application, once it is over.
  void AfterLayoutPass();
  // Loads and unloads of a pass or paint, told to the application later.
  void AxisChanged_Async(TObject*);
  void AskAgainForAxisChange();
  TCanvas* Canvas() { return GetOffscreenCanvas(); }
  bool Quiet() const;

  // Painting (vxBabGridViewPaint.cpp).
  void PaintFixedCell(const TRect& r, TBabCell* theCell);
  void PaintSimpleCell(TRect& r, TBabCell* theCell, TBabDrawStateSet theState);
  void PaintGridCell(const TRect& r, TBabCell* theCell, TBabDrawStateSet theState);
  void DrawBorder();
  void DrawCheckBoxFast(TCanvas* theCanvas, const TRect& r, bool theChecked);
  TPoint ButtonMiddle(TBabCell* theCell);
  TRect ButtonSection(TBabCell* theCell);
  bool ButtonRegistered(const TBabCell* theCell) const;
  void DrawTreeLine(TBabCell* theCell);
  bool TextSection(TBabCell* theCell, TRect theRect, std::string& theText, TRect& theSection, int& theWidth);
  // The width of a cell's text plus what its other sections take.
  int MeasureAutoSize(TBabCell* theCell);

  // Scroll bars (vxBabGridViewScroll.cpp).
  void UpdateScrollbars();
  bool UpdateBar(TScrollbar_vx* theBar, bool theRows);
  void SetBarValues(TScrollBar* theBar, int theMin, int theMax, int thePage, int thePosition);
  void PlaceScrollbars();
  void BarMoved(TScrollbar_vx* theBar);
  void WheelScroll(int theDelta, TShiftState theShift);
  // Whether row theRow of the outermost grid shows whole now.
  bool RowFullyShown(int theRow) const;
  void KeepEndAtBottom(TRect theArea);
  void MakeSureFocusedIsVisible_Async(TObject*);

  // Mouse (vxBabGridViewMouse.cpp).
  void PressOnCell(TMouseButton Button, TShiftState Shift, int X, int Y);
  void PressOnHeader(TMouseButton Button, bool theDouble, int X, int Y);
  bool ZoneIn(TBabGridCell* theGrid, int x, int y, TBabCell*& theCell, bool& theIsHorz);
  void TrackWLine(int thePos);
  void EndTracking();
  void SlowStart();
  void SlowStartTimer(TObject*);
  bool CheckBoxHit(TBabCell* theCell, int x, int y);
  bool ButtonBoxHit(TBabCell* theCell, int x, int y);
  bool SortZoneHit(TBabCell* theCell, int x, int y);
  void ApplyDeferredSelection();

  // Keys (vxBabGridViewKeys.cpp).
  TBabDirection DirectionOf(unsigned short& theKey, TShiftState& theShift);
  TBabCell* TabStepFrom(TBabGridCell* theGrid, int x, int y, bool theBackwards);
  TBabCell* NextTabCell(TBabCell* theCell, bool theBackwards, bool theEditable);
  bool TabMove(bool theBackwards, bool theEdit);
  void NavigateKey_Async(TObject*);
  // Alt+Down or F4: an edit of the focused pick-list cell, its list dropped.
  bool DropPickList();
  bool IsEditingChar(char32_t theKey) const;
  // The character typed on the cell reaches the editor that just opened.
  void TypeIntoEditor(char32_t theKey);

  // Editors (vxBabGridViewEditors.cpp).
  void CreateEditors();
  void CreateDateTimeEditor();
  bool StartEditor(TControl* theEditor, TBabCell* theCell);
  void PlaceEditor(TControl* theEditor, TRect theRect);
  bool CellRectFromLayout(TBabCell* theCell, TRect& theRect);
  void ExtendOverGroup(TBabCell* theMaster, TRect& theRect);
  void FollowEdit_Async(TObject*);
  void HideEditors(bool theTakeFocus);
  void CloseEditWithoutStoring();
  std::string EditorResult();
  // False when the current editor's text is no value (a date that does not read).
  bool EditorResult(std::string& theText);
  bool EditorValueValid();
  bool RefuseInvalidValue();
  void StartByType(TBabCell* theCell, TBabSimpleCellStringData* theData, TBabEditorType theType);
  void ShowReadOnly();
  void HideReadOnly();

  std::unique_ptr<TViewLayout> fLayout;
  std::vector<TSingleEventListener*> fListeners;  // on the cell tree's events, freed before it
  bool fInLayoutPass = false;
  bool fPainting = false;
  bool fSettingBars = false;
  bool fStartingEdit = false;
  bool fEnterWentInwards = false;
  bool fTopLeftPending = false;
  bool fVertVisibilityPending = false;
  bool fAxisChangePending = false;

  TSlowStartProc fSlowStartMethod;
  TPoint fSlowStartPoint;
  TTimer* fSlowStartTimer = nullptr;
  TPoint fLatestKnownMousePos;
  bool fToggleCheckBoxAndEndEdit = false;
  bool fInsideStopEditing = false;
  TDateTime fNaviStringEditTime = 0;
  std::string fNaviString;
  std::vector<TvxWatch<TBabCell>> fCellsThatNeedButtonsAndLines;
  TCustomImageList* fImageList = nullptr;
  bool fInplaceDateTimeClearStatesBetweenEdits = false;
  bool fMouseUp_Selection = false;
  TBabCell* fMouseUp_Selection_Cell = nullptr;
  TShiftState fMouseUp_Selection_Shift;
  bool fFocusRect_Grid = true;
  bool fFocusRect_Cell = true;
  bool fStartEditOnEnter = true;
  bool fStopEditOnFocusChange = true;
  bool fShowLinesTree = true;
  TCursor fCursorGrid = crDefault;
  std::unique_ptr<TBabGridCellForViewer> fBabGridCellForViewer;
  TScrollbar_vx* fHorz = nullptr;
  TScrollbar_vx* fVert = nullptr;
  bool fHijackVerticalScroll = false;
  bool fEditing = false;
  TBabCell* fEditBabSimpleCell = nullptr;
  TBabInplaceEditor* fInplaceEditor = nullptr;
  TBabInplaceComboEditor* fInplaceComboEditor = nullptr;
  TBabInplaceMemoEditor* fInplaceMemoEditor = nullptr;
  TBabInplaceBoolEditor* fInplaceBooleanEditor = nullptr;
  TBabInplaceDateTimeEditor* fInplaceDateTimeEditor = nullptr;
  TControl* fCurrentEditor = nullptr;
  std::string fEditStartText;   // the date editor's cell text at the start
  std::string fEditStartShown;  // and what the picker showed then
  bool fEditStartChecked = true;  // and whether its box was ticked
  class THintWindow* fReadOnlyHint = nullptr;
  TTimer* fReadOnlyHintTimer = nullptr;
  TMMode fMouseMoveMode = mmNone;
  TPoint fMouseDownPoint;
  TBabCell* fMouseDownCell = nullptr;
  bool fMouseDownOnCell = false;  // the press may start a drag
  TBabEditorType fEditorChoise = babETEdit;
  bool fDoFirstGridInit = false;
  TRect fOldTrack = NoRect();
  std::unique_ptr<TXorOverlay> fTrack;
  TBabCell* fCurrentSortCol = nullptr;
  bool fCurrentSortUpNotDown = false;
  std::unique_ptr<TLayoutProp> fDefaultContentLayoutProperty;
  bool fAutoEditMode = false;
  TLayoutProp* fLastSeenLayoutProp = nullptr;
  bool fAllowKeyNavigation = true;
  TTypingConvention fTypingConvention = tcClassic;
  TDragMode fDragModeOverride = dmManual;
  bool fVertWasVisible = false;
  int fWheelRest = 0;  // wheel steps (times the lines a notch) not yet scrolled
  std::unique_ptr<TBitmap> fCheckBoxLooks[2];
};

// The grid view as an application places it.
class VX_API TBabGridView : public TBabGridView_Custom {
public:
  using TBabGridView_Custom::TBabGridView_Custom;
};

}  // namespace vx
