#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/vxDataEntityPack.h"
#include "core/vxDataTraveser.h"
#include "core/vxHolding.h"
#include "timeitems/vxTimeDistinctGeneric.h"
#include "paint/vxDoLater.h"
#include "paint/vxOffscreenPaint.h"
#include "paint/vxXYSizer.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/XorOverlay.h"
#include "scaler/vxScaler.h"
#include "schema/vxSchemaIndex.h"

namespace vx {

class TvxSchema_ComBasic;
class TDataListColumns;
class TvxDataEntity_SchemaColumn;
class TvxDataEntity_SchemaTime;
class TDrawGrid_Schema;
class TPopupMenu;

// tssUser items are drawn by the application (OnDrawTimeContent).
enum TTimeStyle_Schema : std::uint8_t { tssNormal, tssUser };
// When the column scroller shows.
enum TScrollVisibility { svAlways, svWhenNeeded, svNever };
// Layer indexes in drawing order.
using TDrawLayerArray = std::vector<int>;

using TOnInitColumnDataObject =
    std::function<TObject*(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaColumn* theDataEntity_SchemaColumn)>;
// May move the rectangle; false hides the item.
using TOnGetDrawingRect =
    std::function<bool(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theDataEntity, TRect& theReturnRect)>;
using TOnSchemaHintInfo = std::function<void(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theObject,
                                             TDateTime theStart, TDateTime theLength, int X, int Y)>;
using TUserDecideColSize = std::function<void(TvxSchema_ComBasic* theSchema, int theInitiatingColumn,
                                              int theColumnToSet, int theCurrentSize, int& theSizeToSet)>;
using TOnSwitchCol = std::function<void(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theDataEntity,
                                        int theOldCol, int& theNewCol)>;
using TOnChangeDataEntity_SchemaTime =
    std::function<void(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theDataEntity)>;
using TOnIsVisible =
    std::function<bool(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theDataEntity, bool& RunDefault)>;
using TOnDrawTimeContent = std::function<void(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theDataEntity,
                                              const TRect& theRect, TCanvas* theCanvas)>;
using TDrawBackAndForeEvent = std::function<void(TvxSchema_ComBasic* theSchema, const TRect& aRect, TCanvas* aCanvas)>;
using THeaderFromColumn = std::function<std::string(int index)>;
// The chart's collision event has another signature: this one is the schedule's.
using TOnSchemaCollisionDetected =
    std::function<void(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theDataEntity, int theNewSubColPosition)>;
// Page negotiation of the schedule's printing.
using TOnSchemaPrintToHdcNewPage = std::function<void(TvxSchema_ComBasic* Sender, int aPageNo, int& pageHeight,
                                                      int& pageWidht, bool& goahead, bool& render)>;

// One resource: a column in the normal orientation, a row in the flipped one.
class TvxDataEntity_SchemaColumn : public TvxDataEntity {
public:
  TDataListColumns* Columns() const;
  int GetData() const noexcept { return itsData; }
  void SetData(int theValue) noexcept { itsData = theValue; }
  // Subtracted from the times of the column's items before they are placed
  // on the axis. A change re-lays and repaints the column.
  TDateTime GetOffsetDate() const noexcept { return itsOffsetDate; }
  // Ignores a value that is not a finite time.
  void SetOffsetDate(TDateTime theValue);
  // What OnInitColumnDataObject made for the column; freed with it.
  TObject* GetDataObject() const noexcept { return itsDataObject; }
  int GetSubColCount() const noexcept { return itsSubColCount; }
  int GetVisibleWidth() const noexcept { return itsVisibleWidth; }
  int GetVisibleHeight() const noexcept { return itsVisibleHeight; }
  const std::string& GetText() const noexcept { return itsText; }
  // Stores the title and shows it in the column's header section.
  void SetText(const std::string& theText);
  // The live size in the current orientation: the header section's width, or
  // the title grid's row height when flipped.
  int GetWidth();
  void SetWidth(int theWidth);
  int GetWidth_FW(bool theFlipped);
  // Writes the live size and stores it as the column's own.
  void SetWidth_FW(bool theFlipped, int theWidth);

protected:
  ~TvxDataEntity_SchemaColumn() override;

private:
  friend class TDataListColumns;
  friend class TvxSchema_ComBasic;
  int itsData = 0;
  TDateTime itsOffsetDate = 0;
  TObject* itsDataObject = nullptr;
  int itsSubColCount = 1;
  int itsVisibleWidth = 50;
  int itsVisibleHeight = 18;
  std::string itsText;
};

// Casts an object to a column; EInvalidCast for anything else.
TvxDataEntity_SchemaColumn* DataEntity_SchemaColumn(TObject* theObject);

// The part of theText that theWidth pixels could show (no character is
// drawn narrower than half a pixel): a megabyte title is not laid out whole
// to show a word. Answers theText itself when it is short enough, else
// theCut, filled with its beginning.
const std::string& ShowableText(const std::string& theText, int theWidth, std::string& theCut);

// The column header of the normal orientation. A left press on a column
// starts a drag of the header (the header drag events apply); a press near a
// column's edge does not, the header sizes the column there.
class THeaderControl_MouseControl : public THeaderControl {
public:
  explicit THeaderControl_MouseControl(TComponent* AOwner) : THeaderControl(AOwner) {}
  TDataListColumns* itsDataListColumns = nullptr;
  // Set once the schedule is built; until then the header tells it nothing.
  TvxSchema_ComBasic* itsSchema = nullptr;

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  // The columns follow the sections; OnResize and OnSectionResize stay the
  // application's.
  void Resize() override;
  void SectionResize(THeaderSection* theSection) override;
};

// The column titles of the flipped orientation: one row per column, drawn in
// the fixed first column.
class TDrawGrid_Schema : public TDrawGrid {
public:
  explicit TDrawGrid_Schema(TComponent* AOwner) : TDrawGrid(AOwner) {}
  TDataListColumns* itsDataListColumns = nullptr;
  // Set once the schedule is built; until then the grid tells it nothing.
  TvxSchema_ComBasic* itsSchema = nullptr;
  // Raised after every change of a row height or column width.
  TNotifyEvent itsOnCellExtentChange;

protected:
  // As the header's, along y.
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void RowHeightsChanged() override;
  void ColWidthsChanged() override;
  // The titles and the area follow; OnDrawCell and OnTopLeftChanged stay the
  // application's.
  void DrawCellContent(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  void TopLeftChanged() override;
};

// The list of columns. It keeps the header's sections and the title grid's
// rows in step with the columns (one each, at the column's index) and knows
// the columns' pixel spans along the column axis.
class TDataListColumns : public TvxDataList {
public:
  // Columns are at most this large (a header section's largest width).
  static constexpr int kMaxColumnSize = 10000;
  THeaderControl_MouseControl* GetHeaderControl() const noexcept { return itsHeaderControl; }
  TDrawGrid_Schema* GetFlippedHeader() const noexcept { return itsFlippedHeader; }
  TvxSchema_ComBasic* GetSchema() const noexcept { return itsSchema; }
  // Nil outside 0 .. Count-1.
  TvxDataEntity_SchemaColumn* GetColumn(int i);
  int GetVisibleDefaultWidth() const noexcept { return itsVisibleDefaultWidth; }
  int GetVisibleDefaultHeight() const noexcept { return itsVisibleDefaultHeight; }
  int GetResizeCell() const noexcept { return itsResizeCell; }
  void SetResizeCell(int theCell) noexcept { itsResizeCell = theCell; }

  // The first shown column; the columns before it have size 0.
  int GetTopLeftCol() const;
  void SetTopLeftCol(int N);
  // The far edge of Col on the column axis, counted from the top-left column
  // (each flipped row adds its grid line); 0 for a column before it.
  int GetFarSideOffset_FW(bool theFlipped, int theCol);
  int GetFarSideOffset(int theCol);
  // The column under a pixel of the column axis (see the control's
  // PixelToColumn).
  int PixelToColumn_FW(bool theFlipped, int thePixel);
  // The live size of a column: its section's width, or its row's height.
  int LiveSize(bool theFlipped, int theCol);
  // Sum of the columns' live sizes in an orientation.
  int GetColumnSpace_FW(bool theFlipped);
  // The size a column shows at: its own, or what its sub-columns need (see
  // the control's SubColumnSize), at most kMaxColumnSize.
  int ShownSize(TvxDataEntity_SchemaColumn* theColumn, bool theFlipped) const;
  // Gives a shown column its shown size again in both orientations.
  void ShowSize(int theCol);
  bool WillFit(const std::string& theText, int theCol);

  // Column resizing: the new size goes to the resized column, or to all.
  void HeaderCellReSize(int NewSize);
  void HeaderControlSectionResize(THeaderControl* HeaderControl, THeaderSection* Section);
  void FlippedHeaderResize(TObject* Sender);
  void ChangeTopLeft(TObject* Sender);
  void DrawFlippedCell(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State);

  // The header's (or, flipped, the title grid's) last press: the column under
  // it and whether it was within 5 pixels of that column's edges.
  int GetDownHeaderCell() const noexcept { return itsDownHeaderCell; }
  TPoint GetMouseDownPoint() const noexcept { return itsMouseDownPoint; }
  bool GetInResizeArea() const noexcept { return itsInResizeArea; }
  // Notes a press at thePos along the column axis.
  void HeaderMouseDown(bool theFlipped, int thePos, TPoint thePoint);

  virtual void _OnColumnsContentChanged(TvxDataList* theList);
  virtual void _OnColumnsSelectionChanged(TvxDataList* theList, TvxDataEntity* theEntity);
  virtual void _OnColumnsDeleteItem(TvxDataEntity* theEntity);
  virtual void _OnColumnsInsertItem(TvxDataEntity* theEntity);
  virtual void _OnColumnsInfoPush(TvxDataEntity* theEntity);
  void _OnHandlePerformedMove(TvxDataEntity* theEntity, int theOldIndex, int theNewIndex);

protected:
  ~TDataListColumns() override = default;

private:
  friend class TvxSchema_ComBasic;
  friend class TvxDataEntity_SchemaColumn;
  // Columns before N get size 0, the others their own sizes; the title grid
  // and the scroller stand at N.
  void ApplyTopLeft(int N);
  // The size rule: the new size of one column, decided with the application.
  void ApplySize(int theInitiatingColumn, int theColumn, int NewSize, bool theFlipped);
  // Running far edges of every column (live sizes), rebuilt when a size changes.
  const std::vector<int>& FarEdges(bool theFlipped);

  THeaderControl_MouseControl* itsHeaderControl = nullptr;
  TDrawGrid_Schema* itsFlippedHeader = nullptr;
  TvxSchema_ComBasic* itsSchema = nullptr;
  int itsDownHeaderCell = -1;
  TPoint itsMouseDownPoint{};
  int itsResizeCell = 0;
  bool itsInResizeArea = false;
  bool itsSettingTopLeft = false;
  int itsVisibleDefaultWidth = 50;
  int itsVisibleDefaultHeight = 18;

  struct TEdgeCache {
    unsigned stamp = 0;
    int count = -1;
    std::vector<int> far;
  };
  TEdgeCache fWidthEdges;
  TEdgeCache fHeightEdges;
};

// One extra text line of a schema time: drawn in one of the three text
// fonts at an offset inside the item's rectangle.
class TvxSchemaText {
public:
  int GetStyle() const noexcept { return FStyle; }
  void SetStyle(int theStyle) noexcept { FStyle = theStyle; }
  const std::string& GetText() const noexcept { return FText; }
  void SetText(const std::string& theText) { FText = theText; }
  TPoint GetPos() const noexcept { return FPos; }
  void SetPos(TPoint thePos) noexcept { FPos = thePos; }

private:
  int FStyle = 0;
  std::string FText;
  TPoint FPos{};
};

// A booking: a span of time on one column, laid out beside the bookings it
// overlaps. Changes of start, stop and column are reported (DoInfoPush).
class TvxDataEntity_SchemaTime : public TvxDataEntity {
public:
  void AfterCreate(TvxDataList* theDataList) override;

  TTimeStyle_Schema GetStyle() const noexcept { return fStyle; }
  void SetStyle(TTimeStyle_Schema theStyle) noexcept { fStyle = theStyle; }
  // Set by the collision layout.
  int GetSubCol() const noexcept { return itsSubCol; }
  bool GetUseSubCol() const noexcept { return itsUseSubCol; }
  TDateTime GetStartDateTime() const noexcept { return itsStartDateTime; }
  void SetStartDateTime(TDateTime theValue);
  TDateTime GetStopDateTime() const noexcept { return itsStopDateTime; }
  void SetStopDateTime(TDateTime theValue);
  int GetCol() const noexcept { return itsCol; }
  // A new column: the item spans it whole until the next layout.
  void SetCol(int theCol);
  int GetLeftInset() const noexcept { return itsLeftInset; }
  void SetLeftInset(int theValue);
  int GetRightInset() const noexcept { return itsRightInset; }
  void SetRightInset(int theValue);
  TColor GetBackColor() const noexcept { return itsBackColor; }
  void SetBackColor(TColor theValue) noexcept { itsBackColor = theValue; }
  TColor GetFrameColor() const noexcept { return itsFrameColor; }
  void SetFrameColor(TColor theValue) noexcept { itsFrameColor = theValue; }

  // Text lines; an index outside 0 .. count-1 reads and writes nothing.
  void AddText(const std::string& Text, int X, int Y, int Style);
  void AlterText(int Index, const std::string& Text, int X, int Y, int Style);
  void SetText(int Index, const std::string& Text, int X, int Y, int Style);
  bool GetText(int Index, std::string& Text, int& X, int& Y, int& Style) const;
  int TextCount() const noexcept { return static_cast<int>(itsTexts.size()); }
  const std::vector<TvxSchemaText>& GetTexts() const noexcept { return itsTexts; }

  // The control whose layer holds the item; nil outside one.
  TvxSchema_ComBasic* GetSchema() const;

protected:
  ~TvxDataEntity_SchemaTime() override = default;

private:
  friend class TvxSchema_ComBasic;
  friend class TSchemaTimeIndex;
  TTimeStyle_Schema fStyle = tssNormal;
  bool itsUseSubCol = false;
  int itsSubCol = 0;
  TDateTime itsStartDateTime = 0;
  TDateTime itsStopDateTime = 0;
  int itsCol = 0;
  int itsLeftInset = 0;
  int itsRightInset = 0;
  TColor itsBackColor = 0xFFFFFF;
  TColor itsFrameColor = 0;
  int fIndexPos = -1;  // place in the control's index of its column
  std::vector<TvxSchemaText> itsTexts;
};

// Casts an object to a schema time; EInvalidCast for anything else.
TvxDataEntity_SchemaTime* DataEntity_Schema(TObject* theObject);

// The controller of a schedule's layers: it knows its control, so that a
// booking can find the control it belongs to.
class TSchemaTimeListController : public TvxListController {
public:
  TvxSchema_ComBasic* fSchema = nullptr;
};

// Declared class of the layers; adds nothing.
class TvxDataList_Schema : public TvxDataList {
protected:
  ~TvxDataList_Schema() override = default;
};

// The drawing area.
class TvxOffscreenPaint_Schema : public TvxOffscreenPaint {
public:
  TvxOffscreenPaint_Schema(TComponent* AOwner, TvxSchema_ComBasic* theSchema);
  TvxSchema_ComBasic* fSchema;
  // Set once the schedule is built; until then the area tells it nothing.
  bool fWired = false;

protected:
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void CancelMode() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  // The background covers the whole area.
  bool PaintsEveryPixel() const override;
  // The schedule draws and takes the mouse first; the area's public events
  // stay the application's and are raised after.
  void OffscreenPaint() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;
  void DoStartDrag(TObject*& DragObject) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;

private:
  bool Live() const;
};

// The time hint and the enlarged preview: repaints only when its caption
// changes and keeps the size the control gives it, whatever the text needs.
class TvxSchema_ComBasicHintWindow : public THintWindow {
public:
  using THintWindow::THintWindow;

protected:
  void Paint() override;

private:
  friend class TvxSchema_ComBasic;
  // Draws the window's content in place of the caption (the preview); the
  // canvas is the window's, bound while it paints.
  std::function<void(TvxSchema_ComBasicHintWindow* Sender, TCanvas* theCanvas)> fDrawContent;
};

// The schedule control: resources as columns (or, flipped, as rows) against a
// time axis, with their bookings laid out side by side where they overlap.
class TvxSchema_ComBasic : public TCustomPanel {
public:
  // Layouts of at most this many bookings run on the user-interface thread in
  // the deferred pass: a worker thread costs more than they do.
  static int InlineLayoutLimit;

  explicit TvxSchema_ComBasic(TComponent* AOwner);
  ~TvxSchema_ComBasic() override;

  // For descendants that substitute classes through the factory operations:
  // construct with this and call InitializeInConstructor at the end of the
  // descendant's constructor (a constructor runs the base's own operations,
  // not the descendant's overrides).
  struct DeferInitialize {};

  // --- children and lists
  TvxDateScaler* GetScaler() const noexcept { return itsScaler; }
  TXYSizer* GetXYSizer() const noexcept { return itsXYSizer; }
  THeaderControl_MouseControl* GetHeader() const noexcept { return itsHeader; }
  TDrawGrid_Schema* GetFlippedHeader() const noexcept { return itsFlippedHeader; }
  TvxOffscreenPaint* GetSchemaArea() const noexcept { return itsTA; }
  // The column scroller of the current orientation: a scroll bar along the
  // columns' side of the drawing area (below it, or flipped at its right).
  TScrollBar* GetColumnScrollBar() const noexcept { return itsFlipView ? itsRowScrollBar : itsColumnScrollBar; }
  TDataListColumns* GetColumns() const noexcept { return itsDataListColumns; }
  TvxDataList2lev* GetLayers() const noexcept { return itsvxLayers; }
  TvxListController* GetSchemaTimeListController() const noexcept { return itsSchemaTimeListController.get(); }
  const TDrawLayerArray& GetDrawLayerArray() const noexcept { return itsDrawLayerArray; }
  void SetDrawLayerArray(const TDrawLayerArray& theArray);
  TBitmap* GetPyjamasBitMap() const noexcept { return itsPyjamasBitMap.get(); }

  // --- data
  TvxDataEntity_SchemaColumn* AddColumn();
  void RemoveColumn(TvxDataEntity_SchemaColumn* theColumn);
  void ClearColumns();
  TvxDataList* AddDataList();
  TvxDataEntity_SchemaTime* AddSchemaTime(int theLayer);
  void RemoveSchemaTime(TvxDataEntity_SchemaTime* theSchemaTime);
  TvxDataEntity_SchemaTime* FindSchemaTimeObjectFromUserReference(void* theReference);
  std::string HeaderFromColumn(int theIndex);
  void GetStartStopDateAndCol(TvxDataEntity* theDataEntity, TDateTime& theStart, TDateTime& theStop, int& theCol);
  void SetStartStopDateAndCol(TvxDataEntity* theDataEntity, TDateTime theStart, TDateTime theStop, int theCol);
  void Snap(TDateTime& theStart, TDateTime& theLength) const;
  int GetColumnSpace();
  void BeginUpdate();
  void EndUpdate();
  void Repaint() override;

  // --- geometry
  void UpdatePartSize();
  void PartResize(TXYSizer* Sizer, TPoint Delta);
  void HeaderChanged(TObject* Sender);
  TPoint GetQuadPoint() const noexcept { return itsQuadPoint; }
  void SetQuadPoint(TPoint thePoint);
  TPoint GetFlippedQuadPoint() const noexcept { return itsFlippedQuadPoint; }
  void SetFlippedQuadPoint(TPoint thePoint);
  void ColumnToPixels(int theCol, int& theNear, int& theFar);
  void ColumnToPixels_fw(bool theFlipped, int theCol, int& theNear, int& theFar);
  int PixelToColumn(int thePixel);
  TvxDataEntity_SchemaColumn* ColumnFromXY(TPoint thePoint);
  void GetPositionDateTimeAndCol(int X, int Y, TDateTime& theDateTime, int& theCol);
  void StartAndLengthFromRect(const TRect& theRect, TDateTime& theStart, TDateTime& theLength);
  bool XStartStopFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity, int& theStart, int& theStop);
  bool YStartStopFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity, int& theStart, int& theStop);
  bool HeaderPixelsFromStartStopFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity, int& theNear,
                                               int& theFar);
  bool ScalerPixelsFromStartStopFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity, int& theStart,
                                               int& theStop);
  bool RectFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity, TRect& theRect);
  TvxDataEntity_SchemaTime* GetDataEntityFromXY(int X, int Y);
  virtual bool IsVisible(TvxDataEntity_SchemaTime* theSchemaTime);

  // --- collision layout
  void UpdateSubColumns();
  // A layout is waiting, running or being handed back.
  bool IsLayoutPending() const;

  // --- column scroller
  void UpdateColumnScroller(TObject* Sender);
  // The user moved the column scroller.
  void ColumnScrollBarScroll(TObject* Sender);
  void ScrollAccordingToUpDown(int NewValue);
  void StartColumnStepUp();
  void StartColumnStepDown();
  void StopColumnStep();
  void OnColScrollTimer(TObject* Sender);
  // The wheel over any part of the schedule (MousePos on the screen);
  // answers whether it was taken (never in the classic style).
  bool HandleWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);

  // --- the mouse and the keys
  // Cancels the move or resize the current press started, without changing
  // anything; for the host's OnSchemaMouseDown.
  void MouseMoveModeCancel();
  // Ends a move or resize without changing anything: the outlines and the
  // hint go and the cursor is the arrow again. Escape does it, and so does
  // hiding the control, taking the mouse from it or deactivating its window.
  void CancelGesture();
  // The booking the item menu (PopupSchema) was opened for; for its handlers.
  TvxDataEntity* GetPopupSelectedDataEntity() const noexcept { return itsPopupSelectedDataEntity; }
  // A move of the selection (resize of one booking) is in progress.
  bool GetLocalDrag() const noexcept { return itsLocalDrag; }
  bool GetLocalGrow() const noexcept { return itsLocalGrow; }
  // The edge being dragged: true the start, false the stop.
  bool GetLocalGrowDir() const noexcept { return itsLocalGrowDir; }
  // Lines of outlines on screen over the drawing area.
  int OutlineCount() const;
  TvxSchema_ComBasicHintWindow* GetHintWindow() const noexcept { return itsHintWindow; }
  TvxSchema_ComBasicHintWindow* GetShowMeBigWindow() const noexcept { return itsShowMeBigWindow; }
  TTimer* GetShowMeBigTimer() const noexcept { return itsShowMeBigTimer; }
  TTimer* GetHideShowMeBigTimer() const noexcept { return itsHideShowMeBigTimer; }
  TTimer* GetColScrollTimer() const noexcept { return fColScrollTimer; }

  // --- properties
  bool GetFlipView() const noexcept { return itsFlipView; }
  void SetFlipView(bool theValue);
  // What the mouse wheel does over the schedule. wcClassic: the drawing area
  // leaves it to its OnWheelScroll and the flipped titles scroll a row per
  // notch. wcQt: it scrolls the columns (rows) by the platform's wheel step,
  // Shift+wheel moves in time and Ctrl+wheel zooms in time around the pointer.
  TWheelConvention GetWheelConvention() const noexcept { return fWheelConvention; }
  void SetWheelConvention(TWheelConvention theStyle) noexcept { fWheelConvention = theStyle; }
  TPopupMenu* GetHeaderPopupmenu() const;
  void SetHeaderPopupmenu(TPopupMenu* theMenu);
  TPopupMenu* GetPopupSchema() const noexcept { return fPopupSchema; }
  void SetPopupSchema(TPopupMenu* theMenu);
  TColor GetSchemaColor() const noexcept { return itsBackColor; }
  void SetBackColor(TColor theColor);
  void SetSchemaColor(TColor theColor) { SetBackColor(theColor); }
  TColor GetSchemaPyjamasColor() const noexcept { return itsPyjamasColor; }
  void SetPyjamasColor(TColor theColor);
  void SetSchemaPyjamasColor(TColor theColor) { SetPyjamasColor(theColor); }
  bool GetStartSnapONOFF() const noexcept { return itsStartSnapONOFF; }
  void SetStartSnapONOFF(bool v) noexcept { itsStartSnapONOFF = v; }
  bool GetLengthSnapONOFF() const noexcept { return itsLengthSnapONOFF; }
  void SetLengthSnapONOFF(bool v) noexcept { itsLengthSnapONOFF = v; }
  // The calendar's days, from 1 January of the year 1 to the end of 9999.
  static constexpr TDateTime kFirstDay = -693593, kAfterLastDay = 2958466;
  // A step that is not a positive time of at most kMaxSnap is ignored.
  static constexpr TDateTime kMaxSnap = 366;
  TDateTime GetStartSnap() const noexcept { return itsStartSnap; }
  void SetStartSnap(TDateTime v) noexcept;
  TDateTime GetLengthSnap() const noexcept { return itsLengthSnap; }
  void SetLengthSnap(TDateTime v) noexcept;
  TFont* GetTextFont1() const noexcept { return fTextFont1.get(); }
  TFont* GetTextFont2() const noexcept { return fTextFont2.get(); }
  TFont* GetTextFont3() const noexcept { return fTextFont3.get(); }
  void SetTextFont1(const TFont& theFont);
  void SetTextFont2(const TFont& theFont);
  void SetTextFont3(const TFont& theFont);
  bool GetCollisionDetectBetweenDataList() const noexcept { return itsCollisionDetectBetweenDataList; }
  void SetCollisionDetectBetweenDataList(bool theValue);
  bool GetCollisionDetect() const noexcept { return itsCollisionDetect; }
  void SetCollisionDetect(bool theValue);
  bool GetShowBigONOFF() const noexcept { return itsShowBigONOFF; }
  void SetShowBigONOFF(bool v) noexcept { itsShowBigONOFF = v; }
  // Each sub-column of a column (row) at least this many pixels across: a
  // column whose bookings overlap grows to show them (0, the default: the
  // column keeps its size and its sub-columns share it).
  int GetSubColumnSize() const noexcept { return fSubColumnSize; }
  void SetSubColumnSize(int theSize);
  bool GetResizeAllCol() const noexcept { return itsResizeAllCol; }
  void SetResizeAllCol(bool v) noexcept { itsResizeAllCol = v; }
  bool GetMoveInTimeWhenColSwitch() const noexcept { return itsMoveInTimeWhenColSwitch; }
  void SetMoveInTimeWhenColSwitch(bool v) noexcept { itsMoveInTimeWhenColSwitch = v; }
  const std::string& GetScalerDateFormat() const { return itsScaler->GetDateFormat(); }
  void SetScalerDateFormat(const std::string& v) { itsScaler->SetDateFormat(v); }
  const std::string& GetScalerTimeFormat() const { return itsScaler->GetTimeFormat(); }
  void SetScalerTimeFormat(const std::string& v) { itsScaler->SetTimeFormat(v); }
  TDateTime GetScalerStart() const { return itsScaler->GetStart(); }
  void SetScalerStart(TDateTime theValue);
  TDateTime GetScalerStop() const { return itsScaler->GetStop(); }
  void SetScalerStop(TDateTime theValue);
  int GetScalerWidth() const;
  void SetScalerWidth(int theWidth);
  int GetScalerHeight() const;
  void SetScalerHeight(int theHeight);
  bool GetDrawShortLines() const noexcept { return itsDrawShortLines; }
  void SetDrawShortLines(bool theValue);
  bool GetRescaleWithCtrl() const { return itsScaler->GetRescaleWithCtrl(); }
  void SetRescaleWithCtrl(bool v) { itsScaler->SetRescaleWithCtrl(v); }
  TLookAndFeel GetLookAndFeel() const { return itsScaler->GetLookAndFeel(); }
  void SetLookAndFeel(TLookAndFeel v) { itsScaler->SetLookAndFeel(v); }
  TScrollButtons GetScrollButtons() const { return itsScaler->GetScrollButtons(); }
  void SetScrollButtons(TScrollButtons v) { itsScaler->SetScrollButtons(v); }
  bool GetVerticalText() const { return itsScaler->GetVerticalText(); }
  void SetVerticalText(bool v);
  TDateTime GetMinStart() const { return itsScaler->GetMinStart(); }
  void SetMinStart(TDateTime v) { itsScaler->SetMinStart(v); }
  TDateTime GetMaxStop() const { return itsScaler->GetMaxStop(); }
  void SetMaxStop(TDateTime v) { itsScaler->SetMaxStop(v); }
  TvxHiddenHours GetHiddenHours() const { return itsScaler->GetHiddenHours(); }
  void SetHiddenHours(TvxHiddenHours v);
  TvxHiddenDays GetHiddenDays() const { return itsScaler->GetHiddenDays(); }
  void SetHiddenDays(TvxHiddenDays v);
  TColor GetTodayLineColor() const noexcept { return fTodayLineColor; }
  void SetTodayLineColor(TColor theColor);
  bool GetTodayLineOnOff() const noexcept { return fTodayLineOnOff; }
  void SetTodayLineOnOff(bool theValue);
  bool GetTimeItemAutoScroll() const noexcept { return fTimeItemAutoScroll; }
  void SetTimeItemAutoScroll(bool v) noexcept { fTimeItemAutoScroll = v; }
  bool GetStartDragWhenTimeMoveOutside() const noexcept { return fStartDragWhenTimeMoveOutside; }
  void SetStartDragWhenTimeMoveOutside(bool v) noexcept { fStartDragWhenTimeMoveOutside = v; }
  TScrollVisibility GetScrollVisibility() const noexcept { return itsScrollVisibility; }
  void SetScrollVisibility(TScrollVisibility theValue);
  bool GetHeaderTabStop() const;
  void SetHeaderTabStop(bool theValue);
  bool GetSchemaTabStop() const;
  void SetSchemaTabStop(bool theValue);
  TvxDataEntity_SchemaTime* GetActiveDataEntity() const noexcept { return itsActiveDataEntity; }
  void SetActiveDataEntity(TvxDataEntity_SchemaTime* theItem);
  TvxDataEntityClass GetClassOfDataEntity_SchemaTime() const noexcept { return fClassOfDataEntity_SchemaTime; }

  // --- events
  // A handler (an event, a drawing hook, a page handler) may delete any
  // booking, column or layer, the one it was handed included, or all of
  // them: the schedule carries on with what is left. It must not delete the
  // schedule itself (nor the children the schedule owns); to end the
  // schedule from one of its handlers, call its deleteLater(), which ends it
  // once the handler and the schedule's work around it are done.
  TOnInitColumnDataObject OnInitColumnDataObject;
  TOnGetDrawingRect OnGetDrawingRect;
  TOnSchemaHintInfo OnSchemaHintInfo;
  TUserDecideColSize OnUserDecideColSize;
  TOnSwitchCol OnSwitchCol;
  TOnChangeDataEntity_SchemaTime OnChangeDataEntity_SchemaTime;
  TOnIsVisible OnIsVisible;
  TOnDrawTimeContent OnDrawTimeContent;
  TDrawBackAndForeEvent OnDrawBackground;
  TDrawBackAndForeEvent OnDrawForeground;
  THeaderFromColumn OnHeaderFromColumn;
  TOnSchemaCollisionDetected OnCollisionDetected;
  TOnPrintResizeFont OnPrintResizeFont;
  TOnSchemaPrintToHdcNewPage OnPrintToHdcNewPage;
  TNotifyEvent OnTopLeftColumnChange;
  TNotifyEvent OnScalerChange;
  TNotifyEvent OnSelectionChanged;
  TMouseEvent OnSchemaMouseDown;
  TMouseMoveEvent OnSchemaMouseMove;
  TMouseEvent OnSchemaMouseUp;
  TOnContentChanged OnContentChanged_SchemaTime;
  TOnSelectionChanged OnSelectionChanged_SchemaTime;
  TOnDeleteItem OnDeleteItem_SchemaTime;
  TOnInsertItem OnInsertItem_SchemaTime;
  TOnInfoPush OnValueChanged_SchemaTime;
  TOnBeforeCanEditItem OnBeforeCanEditItem_SchemaTime;
  TOnContentChanged OnContentChanged_Column;
  TOnSelectionChanged OnSelectionChanged_Column;
  TOnDeleteItem OnDeleteItem_Column;
  TOnInsertItem OnInsertItem_Column;
  TOnInfoPush OnValueChanged_Column;
  TOnBeforeCanEditItem OnBeforeCanEditItem_Column;
  // Stored into, and read from, both the header and the title grid.
  TStartDragEvent GetOnHeaderStartDrag() const;
  void SetOnHeaderStartDrag(TStartDragEvent theEvent);
  TEndDragEvent GetOnHeaderEndDrag() const;
  void SetOnHeaderEndDrag(TEndDragEvent theEvent);
  TDragOverEvent GetOnHeaderDragOver() const;
  void SetOnHeaderDragOver(TDragOverEvent theEvent);
  TDragDropEvent GetOnHeaderDragDrop() const;
  void SetOnHeaderDragDrop(TDragDropEvent theEvent);

protected:
  friend class TDataListColumns;
  friend class TvxDataEntity_SchemaColumn;
  friend class TvxDataEntity_SchemaTime;
  friend class TvxOffscreenPaint_Schema;

  TvxSchema_ComBasic(TComponent* AOwner, DeferInitialize);

  void Resize() override;
  void CancelMode() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void ScaleChanged(TObject* Sender);
  virtual void _OnContentChanged(TvxDataList* theList);
  virtual void _OnSelectionChanged(TvxDataList* theList, TvxDataEntity* theEntity);
  virtual void _OnDeleteItem(TvxDataEntity* theEntity);
  virtual void _OnInsertItem(TvxDataEntity* theEntity);
  virtual void _OnInfoPush(TvxDataEntity* theEntity);
  virtual void _OnBeforeCanEditItem(TvxDataEntity* theEntity);
  virtual void DefaultDrawContent(TvxDataEntity_SchemaTime* theSchemaTime, const TRect& theRect, TCanvas* theCanvas);
  virtual TvxDataList* CreateDataList();
  virtual TvxDateScaler* CreateDateScaler(TComponent* theOwner);
  virtual TDataListColumns* CreateColumnsCollection();
  virtual TvxDataList2lev* Create2LevList();
  virtual TvxDataEntityClass ClassOfDataEntity_SchemaColumn();
  virtual TvxDataEntityClass ClassOfDataEntity_SchemaTime();
  virtual void InitializeInConstructor();
  virtual void Initialize();
  // A descendant whose IsVisible shows items outside the scaler's window
  // answers false, so that every item is considered instead of the window's.
  virtual bool VisibilityFollowsTime() const { return !OnIsVisible; }

  // Painting.
  void SchemaPaint(TObject* Sender);
  void DoBackground(TCanvas* theCanvas, int theLeft, int theTop, int theWidth, int theHeight);
  void DoTodayLine();
  void DoForeGround();
  void DrawContent(TvxDataEntity* theDataEntity, const TRect& theRect, TCanvas* theCanvas);
  void EnterTextStyle(TCanvas* theCanvas, int theStyle);
  void ReInitBitmap();
  void InvalidateArea();

  // Children's handlers.
  void SchemaMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void SchemaMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void SchemaMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void SchemaKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift);
  void SchemaStartDrag(TObject* Sender, TObject*& DragObject);
  void SchemaDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
  void SchemaDragDrop(TObject* Sender, TObject* Source, int X, int Y);
  void SchemaEndDrag(TObject* Sender, TObject* Target, int X, int Y);
  void _OnPrintResizeFont(TvxOffscreenPaint* Sender, int& FontSize, bool& DefaultResize);

  // The interaction.
  void UpdateMultiSelect(TvxDataEntity* theDataEntity, TShiftState Shift, bool IsMouseDown);
  // Whether (X, Y) is in the 3-pixel band at either end of the booking along
  // the time axis; GrowDir true for the start's. theRect: its rectangle.
  virtual bool InGrowArea(TvxDataEntity* theDataEntity, int X, int Y, bool& GrowDir, TRect& theRect);
  void HandleLocalDrag(int X, int Y);
  void HandleLocalGrow(int X, int Y);
  void HandleMoveOfSelected(TPoint Delta, int X, int Y);
  void HandleMoveOfSelectedFromTimeDiff(TDateTime TimeDiff, int ColDiff);
  void HandleGrow(TPoint Delta);
  void CollectMoveRects();
  void DrawOutlineOfSelected(TPoint Offset);
  // A dotted outline over the drawing area (never into its picture); with
  // ShowInfo the times it stands for go to the hint.
  virtual void DrawOutline(const TRect& theRect, bool ShowInfo);
  void DoMoveInfo(TvxDataEntity_SchemaTime* theSchemaTime, TDateTime theStart, TDateTime theLength, int X, int Y);
  void DoShowMeBig(TObject* Sender);
  void DoHideShowMeBig(TObject* Sender);
  void DoScaleStartStopAdjust(int X, int Y);
  void DoColumnAdjust(int X, int Y);
  void HandleDataEntityPopup(TvxDataEntity* theDataEntity, const TRect& theRect);

  // Deferred work.
  TPoint CornerInside(TPoint theCorner) const;
  void UpdatePartSizePerform(TObject* theData);
  void SetScalerWidth_Perform(TObject* theData);
  void SetScalerHeight_Perform(TObject* theData);
  void UpdateSubColumns_Perform(TObject* theData);
  void SubColThreadDone(TObject* Sender);
  void UpdateColumnScrollerLater();
  // Whole columns (rows) the area shows from the top-left one; at least 1.
  int ColumnsInView();
  void ScrollColumnsByWheel(int WheelDelta);
  void PanTimeByWheel(int WheelDelta);
  void ZoomTimeByWheel(int WheelDelta, TPoint MousePos);
  void CleanUpThread();

private:
  // The index follows every booking that enters or leaves the control, and
  // every change of a booking's times, column or insets.
  void Indexed(TvxDataEntity_SchemaTime* theItem, bool theIn);
  void TimesChanged(TvxDataEntity_SchemaTime* theItem);
  void ColumnChanged(TvxDataEntity_SchemaTime* theItem, int theOldCol);
  void InsetsChanging(TvxDataEntity_SchemaTime* theItem, bool theDone);
  // Everything the drawing order needs to sort items: each layer list's
  // positions in the walk over the draw layers.
  struct TDrawPlan;
  TDrawPlan MakeDrawPlan();
  // The lists the walk over the draw layers visits, each once, in order.
  std::vector<TvxDataList*> DrawnLists();
  std::vector<TvxDataList*> AllLayers();
  // Bookings of the columns theFirst .. theLast that IsVisible takes, in
  // drawing order (the walk over the draw layers, backwards).
  void CollectShownItems(int theFirst, int theLast, TvxHeldList<TvxDataEntity_SchemaTime>& theItems);
  // Whether a booking taken before a call out is still one of this control's.
  bool Here(const TvxDataEntity* theItem) const;
  // Here, IsVisible, and still here after asking.
  bool VisibleHere(TvxDataEntity_SchemaTime* theItem);
  // Edges further than this from the area are held there: rectangles' sizes
  // and offsets then never overflow.
  static constexpr int kFarPixel = 1000000000;
  static int FarPixel(double thePixel);
  static TDateTime TimeOnAxis(TDateTime theTime);
  // Rectangles are drawn cut to the area and this margin around it.
  static constexpr int kClipMargin = 10;
  TRect AreaClip(const TRect& theRect) const;
  TvxDataEntity_SchemaTime* HitTestAll(int X, int Y);
  // Collision layout helpers.
  void MarkColumnDirty(int theCol);
  void MarkAllColumnsDirty();
  // Bookings refer to columns by index: after a column is inserted, deleted
  // or moved at theCol, the columns from there on are laid out again.
  void MarkColumnsFrom(int theCol);
  std::vector<int> TakeColumnsToLayOut();
  // The bookings of the columns, in the walk over all layers.
  void OrderedItems(const std::vector<int>& theColumns, TvxHeldList<TvxDataEntity_SchemaTime>& theItems);
  void FillHolders(const TvxHeldList<TvxDataEntity_SchemaTime>& theItems, TDistinctTimeHolderList* theList);
  void ApplyLayout(const std::vector<int>& theColumns, TDistinctTimeHolderList* theList,
                   const TvxHeldList<TvxDataEntity_SchemaTime>& theItems);
  int LayerIndexOf(TvxDataList* theList);
  void WireChildren();
  // The interaction's helpers.
  void StartPressMode(TvxDataEntity_SchemaTime* theItem, int X, int Y);
  void EndMoveModes();
  void ClearMoveRects();
  void EraseOutlines();
  void StartDragOutside();
  void SchemaMouseLeave(TObject* Sender);
  TCursor HoverCursor(TvxDataEntity_SchemaTime* theItem, int X, int Y);
  void HoverOver(TvxDataEntity_SchemaTime* theItem, int X, int Y);
  void MoveByTimeDiff(const TvxHeldList<TvxDataEntity_SchemaTime>& theItems, TDateTime TimeDiff, int ColDiff);
  // Where a booking whose rectangle was theRect lands when moved by Delta
  // pixels: its times relative to the target column, and that column (-1:
  // it is not moved).
  void MovedByPixels(TvxDataEntity_SchemaTime* theItem, const TRect& theRect, TPoint Delta, TDateTime& theStart,
                     TDateTime& theStop, int& theCol);
  // The times of the resized booking after a drag of Delta pixels, relative
  // to its column; false outside the columns.
  bool GrownTimes(TvxDataEntity_SchemaTime* theItem, TPoint Delta, TDateTime& theStart, TDateTime& theStop,
                  int& theCol);
  // What setting relative times on a column writes: snapped absolute times.
  void SnappedTimes(int theCol, TDateTime theStart, TDateTime theStop, TDateTime& theAbsStart,
                    TDateTime& theAbsStop) const;
  // The same for a move (the column clamped, the times kept on a switch of
  // column unless MoveInTimeWhenColSwitch), the column switch handler aside.
  void Landing(TvxDataEntity_SchemaTime* theItem, TDateTime theStart, TDateTime theStop, int& theCol,
               TDateTime& theAbsStart, TDateTime& theAbsStop) const;
  // The outline of those times in column theToCol, as wide as theRect was in
  // theFromCol.
  TRect LandingRect(const TRect& theRect, int theFromCol, int theToCol, TDateTime theAbsStart, TDateTime theAbsStop);
  // Every selected booking, layer by layer (only the drawn layers', in their
  // order, with theDrawnOnly).
  void SelectedItems(TvxHeldList<TvxDataEntity_SchemaTime>& theItems, bool theDrawnOnly);
  void PopupAtPress(TvxDataEntity_SchemaTime* theItem, int X, int Y);
  void KeyStep(unsigned short Key, TShiftState Shift);
  void ForgetInteractionItem(TvxDataEntity* theEntity);
  void DrawShowMeBig(TCanvas* theCanvas);

  bool fCurrentlyUpdatingScroller = false;
  bool fStartDragWhenTimeMoveOutside = false;
  int fLatestKnownScalerWidth = 50;
  int fLatestKnownScalerHeight = 0;
  bool fScalerWidthFlipped = false;  // the orientation the sizes were asked in
  bool fScalerHeightFlipped = false;
  bool fTodayLineOnOff = false;
  TColor fTodayLineColor = 0;
  bool fTimeItemAutoScroll = true;
  TvxDateScaler* itsScaler = nullptr;
  TXYSizer* itsXYSizer = nullptr;
  THeaderControl_MouseControl* itsHeader = nullptr;
  TDrawGrid_Schema* itsFlippedHeader = nullptr;
  TvxOffscreenPaint_Schema* itsTA = nullptr;
  TvxDataList2lev* itsvxLayers = nullptr;
  TScrollBar* itsColumnScrollBar = nullptr;  // horizontal, below the area
  TScrollBar* itsRowScrollBar = nullptr;     // vertical, flipped, right of it
  bool fScrollerShown = false;
  int fScrollBarThickness = 0;
  int fSubColumnSize = 0;
  TWheelConvention fWheelConvention = wcClassic;
  TWheelSteps fColumnWheel;  // wheel units not yet a whole column
  TScrollVisibility itsScrollVisibility = svWhenNeeded;
  std::unique_ptr<TBitmap> itsPyjamasBitMap;
  TColor itsBackColor = 32768;
  TColor itsPyjamasColor = 32896;
  bool itsStartSnapONOFF = true;
  bool itsLengthSnapONOFF = true;
  TDateTime itsStartSnap = 5 * OneMinute;
  TDateTime itsLengthSnap = OneMinute;
  bool itsShowBigONOFF = true;
  bool itsResizeAllCol = true;
  bool itsCollisionDetectBetweenDataList = false;
  bool itsCollisionDetect = true;
  bool itsFlipView = false;
  TPoint itsQuadPoint{70, 17};
  TPoint itsFlippedQuadPoint{70, 50};
  bool itsDrawShortLines = false;
  bool itsMoveInTimeWhenColSwitch = false;
  TvxDataEntity_SchemaTime* itsActiveDataEntity = nullptr;
  std::unique_ptr<TFont> fTextFont1;
  std::unique_ptr<TFont> fTextFont2;
  std::unique_ptr<TFont> fTextFont3;
  bool itsWaitForAllValues = false;
  TTimeDistinctGenericThread* itsTimeDistinctGenericThread = nullptr;
  TTimer* fColScrollTimer = nullptr;
  bool fColScrollUp = false;
  TDrawLayerArray itsDrawLayerArray;
  TPopupMenu* fPopupSchema = nullptr;
  TvxDataEntityClass fClassOfDataEntity_SchemaTime;
  std::unique_ptr<TSchemaTimeListController> itsSchemaTimeListController;
  std::unique_ptr<TvxListController> itsColumnsListController;
  TDataListColumns* itsDataListColumns = nullptr;

  // Interaction state.
  bool itsLocalDrag = false;
  bool itsLocalGrow = false;
  bool itsLocalEraseOutline = false;
  TPoint itsLocalMouseDownStart{};
  TPoint itsLocalMouseDownOffset{};
  TDateTime itsMouseDownDateTime = 0;
  TvxDataEntity_SchemaColumn* itsMouseDownColumn = nullptr;
  TvxDataEntity* itsMouseDownDataEntity = nullptr;
  bool itsDeferedSelection = false;
  TvxDataEntity* itsLocalGrowDataEntity = nullptr;
  bool itsLocalGrowDir = false;
  TRect itsLocalGrowRect{};
  TRect itsLocalGrowOrgRect{};
  TvxSchema_ComBasicHintWindow* itsHintWindow = nullptr;
  TvxSchema_ComBasicHintWindow* itsShowMeBigWindow = nullptr;
  TTimer* itsShowMeBigTimer = nullptr;
  TTimer* itsHideShowMeBigTimer = nullptr;
  // The scaler's changes, heard privately: its OnChange is the application's.
  std::unique_ptr<TSingleEventListener> fScalerChangeDelivered;
  TPoint itsShowMeBigXY{-1, -1};
  TvxDataEntity* itsShowMeBigDataEntity = nullptr;
  TvxDataEntity* itsPopupSelectedDataEntity = nullptr;
  // The bookings being moved with their rectangles at the press; each held
  // until the release (one deleted meanwhile is skipped).
  struct TMoveRect {
    TRect rect;
    TvxHeld<TvxDataEntity_SchemaTime> item;
  };
  std::vector<TMoveRect> fMoveRectsArray;
  bool fAutoScrollHasBeenAppliedDuringMove = false;
  bool itsMouseMoveCancelCalled = false;
  // The area's left button is down since a press it saw (a drag out of the
  // area, or a release it never saw, ends that).
  bool fLeftButtonDown = false;
  // The booking the preview shows.
  TvxDataEntity_SchemaTime* fShowMeBigShown = nullptr;
  // Outlines over the drawing area while dragging.
  std::unique_ptr<TXorOverlay> fOutlines;
  // Escape ends a gesture wherever the focus is.
  std::unique_ptr<TKeyHook> fEscapeHook;

  // The bookings of each column, for the paint's, the hit test's and the
  // layout's questions about one column and a time window.
  TSchemaTimeIndex fIndex;
  // Columns whose layout is out of date (every one with fAllColumnsDirty).
  std::unordered_set<int> fDirtyColumns;
  bool fAllColumnsDirty = true;
  int fDirtyFrom = -1;  // every column from here on, when not -1
  // The scaler window moved: columns whose visible bookings changed re-lay.
  bool fCheckVisibleSets = false;
  // Columns being laid out by the running thread.
  std::vector<int> fInFlightColumns;
  // Fingerprint and count of each column's visible bookings at its last layout.
  std::unordered_map<int, std::pair<std::uint64_t, int>> fLaidVisible;
  // Bookings with a negative inset reach beyond their column; while there are
  // any, hit testing and painting consider every column.
  int fNegativeInsetItems = 0;
  // Widest reach of a sub-column beyond its column's far edge, from rounding.
  int fSubColSpill = 1;
};

class TvxSchema : public TvxSchema_ComBasic {
public:
  using TvxSchema_ComBasic::TvxSchema_ComBasic;

protected:
  TvxSchema(TComponent* AOwner, DeferInitialize theTag) : TvxSchema_ComBasic(AOwner, theTag) {}
};

}  // namespace vx
