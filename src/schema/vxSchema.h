#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <vxplan/core/vxEvent.h>
#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/core/vxDataTraveser.h>
#include <vxplan/core/vxHolding.h>
#include <vxplan/timeitems/vxTimeDistinctGeneric.h>
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/paint/vxXYSizer.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/ComCtrls.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/Grids.h>
#include <vxplan/platform/ui/HintWindow.h>
#include <vxplan/platform/ui/XorOverlay.h>
#include <vxplan/scaler/vxScaler.h>
#include <vxplan/schema/vxSchemaIndex.h>
#include <vxplan/schema/vxSchemaIndexHooks.h>
#include <vxplan/schema/vxSchemaArea.h>
#include <vxplan/schema/vxSchemaColumns.h>
#include <vxplan/schema/vxSchemaItems.h>
#include <vxplan/schema/vxSchemaGesture.h>
#include <vxplan/schema/vxSchemaPainter.h>
#include <vxplan/schema/vxSchemaParts.h>
#include <vxplan/schema/vxSchemaPreview.h>
#include <vxplan/schema/vxSchemaScroller.h>
#include <vxplan/schema/vxSchemaSettings.h>
#include <vxplan/schema/vxSchemaSubColumns.h>

namespace vx {
class TvxSchema_ComBasic;
class TDataListColumns;
class TvxDataEntity_SchemaColumn;
class TvxDataEntity_SchemaTime;
class TDrawGrid_Schema;
class TPopupMenu;

// The schedule control: resources as columns (or, flipped, as rows) against a
// time axis, with their bookings laid out side by side where they overlap.
// Keys of the area (the arrows point the way on screen: along the time axis
// is later or earlier, across it the next or previous column):
//   arrows                 select the next or previous booking,
//   Ctrl+arrows            move the selection a step in time or a column,
//   Ctrl+Shift+arrows      the same by the coarse step,
//   Alt+Shift+time arrows  move the first selected booking's finish a step,
//   Alt+Ctrl+time arrows   move its start a step (as a resize by the mouse),
//   the menu key           opens the booking's menu.
class VX_API TvxSchema_ComBasic : public TCustomPanel,
                           public TSchemaScalerSettings,
                           public TSchemaLook,
                           public TSchemaSnapSettings,
                           public TSchemaBehaviour,
                           public TSchemaTextFonts,
                           public TSchemaChildSettings,
                           public TSchemaHeaderDragEvents,
                           public TSchemaLayoutSettings,
                           public TSchemaGestureState,
                           public TSchemaPreviewAccess {
public:
  // Layouts of at most this many bookings run on the user-interface thread in
  // the deferred pass: a worker thread costs more than they do.
  static int InlineLayoutLimit;

  explicit TvxSchema_ComBasic(TComponent* AOwner);
  // As a Qt child of theParent, owned by the nearest component around it.
  template <QtParentWidget W>
  explicit TvxSchema_ComBasic(W* theParent) : TvxSchema_ComBasic(OwnerFromQtParent(theParent)) {
    AdoptQtParent(theParent);
  }
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
  TScrollBar* GetColumnScrollBar() const noexcept { return fScroller->Bar(); }
  TDataListColumns* GetColumns() const noexcept { return itsDataListColumns; }
  TvxDataList2lev* GetLayers() const noexcept { return itsvxLayers; }
  TvxListController* GetSchemaTimeListController() const noexcept { return itsSchemaTimeListController.get(); }
  const TDrawLayerArray& GetDrawLayerArray() const noexcept { return itsDrawLayerArray; }
  void SetDrawLayerArray(const TDrawLayerArray& theArray);
  TBitmap* GetPyjamasBitMap() { return fPainter ? fPainter->PyjamasBitMap() : nullptr; }

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
  // The wheel over any part of the schedule (MousePos on the screen);
  // answers whether it was taken (never in the classic style).
  bool HandleWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);

  // --- the mouse and the keys
  // The booking the item menu (PopupSchema) was opened for; for its handlers.
  TvxDataEntity* GetPopupSelectedDataEntity() const noexcept { return itsPopupSelectedDataEntity; }

  // --- properties
  bool GetFlipView() const noexcept { return itsFlipView; }
  void SetFlipView(bool theValue);
  TPopupMenu* GetPopupSchema() const noexcept { return fPopupSchema; }
  void SetPopupSchema(TPopupMenu* theMenu);
  void SetScalerStart(TDateTime theValue);
  void SetScalerStop(TDateTime theValue);
  int GetScalerWidth() const;
  void SetScalerWidth(int theWidth);
  int GetScalerHeight() const;
  void SetScalerHeight(int theHeight);
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
  TvxEventOf<TNotifyEvent> OnTopLeftColumnChange;
  TvxEventOf<TNotifyEvent> OnScalerChange;
  TvxEventOf<TNotifyEvent> OnSelectionChanged;
  TMouseEvent OnSchemaMouseDown;
  TMouseMoveEvent OnSchemaMouseMove;
  TMouseEvent OnSchemaMouseUp;
  TvxEventOf<TOnContentChanged> OnContentChanged_SchemaTime;
  TvxEventOf<TOnSelectionChanged> OnSelectionChanged_SchemaTime;
  TvxEventOf<TOnDeleteItem> OnDeleteItem_SchemaTime;
  TvxEventOf<TOnInsertItem> OnInsertItem_SchemaTime;
  TvxEventOf<TOnInfoPush> OnValueChanged_SchemaTime;
  TOnBeforeCanEditItem OnBeforeCanEditItem_SchemaTime;
  TOnContentChanged OnContentChanged_Column;
  TOnSelectionChanged OnSelectionChanged_Column;
  TOnDeleteItem OnDeleteItem_Column;
  TOnInsertItem OnInsertItem_Column;
  TOnInfoPush OnValueChanged_Column;
  TOnBeforeCanEditItem OnBeforeCanEditItem_Column;

protected:
  // Room for the parts with a few rows; the least keeps each part usable.
  TPoint PreferredSize() const override;
  TPoint MinimumSize() const override;
  friend class TDataListColumns;
  friend class TvxDataEntity_SchemaColumn;
  friend class TvxDataEntity_SchemaTime;
  friend class TvxOffscreenPaint_Schema;
  friend class TSchemaGesture;
  friend class TSchemaSubColumns;
  friend class TSchemaPainter;
  friend class TSchemaPreview;
  friend class TSchemaParts;
  friend class TSchemaIndexHooks;
  friend class TSchemaScroller;

  TvxSchema_ComBasic(TComponent* AOwner, DeferInitialize);
  void CollisionSettingChanged() override;
  void ColumnSizesChanged(bool theSizes) override;
  TvxTimeGesture* GestureEngine() const noexcept override;
  TSchemaPreview* PreviewOfSchema() const noexcept override { return fPreview.get(); }
  TvxDateScaler* SettingsScaler() const override { return itsScaler; }
  void AxisSettingChanged() override { InvalidateArea(); }
  void LookChanged(bool theBackground) override;
  THeaderControl_MouseControl* SettingsHeader() const override { return itsHeader; }
  TDrawGrid_Schema* SettingsTitles() const override { return itsFlippedHeader; }
  TvxOffscreenPaint* SettingsArea() const override;

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
  // Whether IsVisible never shows a booking outside the scaler's window, so
  // that only the window's bookings need asking. True only for this
  // library's own classes without an OnIsVisible handler: a descendant that
  // overrides IsVisible is asked about every booking without more ado. One
  // that keeps IsVisible's rule may answer true again, for speed.
  virtual bool VisibilityFollowsTime() const;

  // Descendants paint parts of the area through it.
  TSchemaPainter& Painter() noexcept { return *fPainter; }
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
  // Whether (X, Y) is in the 3-pixel band at either end of the booking along
  // the time axis; GrowDir true for the start's. theRect: its rectangle.
  virtual bool InGrowArea(TvxDataEntity* theDataEntity, int X, int Y, bool& GrowDir, TRect& theRect);
  void HandleMoveOfSelectedFromTimeDiff(TDateTime TimeDiff, int ColDiff);
  // A dotted outline over the drawing area (never into its picture); with
  // ShowInfo the times it stands for go to the hint.
  virtual void DrawOutline(const TRect& theRect, bool ShowInfo);
  void HandleDataEntityPopup(TvxDataEntity* theDataEntity, const TRect& theRect);

  // Deferred work.
  void UpdateColumnScrollerLater();

private:
  // Whether a booking taken before a call out is still one of this control's.
  bool Here(const TvxDataEntity* theItem) const;
  // Here, IsVisible, and still here after asking.
  bool VisibleHere(TvxDataEntity_SchemaTime* theItem);
  // Edges further than this from the area are held there: rectangles' sizes
  // and offsets then never overflow.
  static constexpr int kFarPixel = 1000000000;
  static int FarPixel(double thePixel);
  static TDateTime TimeOnAxis(TDateTime theTime);
  TvxDataEntity_SchemaTime* HitTestAll(int X, int Y);
  // Bookings refer to columns by index: after a column is inserted, deleted
  // or moved at theCol, the columns from there on are laid out again.
  void MarkColumnsFrom(int theCol);
  void WireChildren();
  // The interaction's helpers.
  void SchemaMouseLeave();
  void MoveByTimeDiff(const TvxHeldList<TvxDataEntity_SchemaTime>& theItems, TDateTime TimeDiff, int ColDiff);
  // What setting relative times on a column writes: snapped absolute times.
  void SnappedTimes(int theCol, TDateTime theStart, TDateTime theStop, TDateTime& theAbsStart,
                    TDateTime& theAbsStop) const;
  // Every selected booking, layer by layer (only the drawn layers', in their
  // order, with theDrawnOnly).
  void SelectedItems(TvxHeldList<TvxDataEntity_SchemaTime>& theItems, bool theDrawnOnly);
  void PopupAtPress(TvxDataEntity_SchemaTime* theItem, int X, int Y);
  void KeyStep(unsigned short Key, TShiftState Shift);
  // Alt with Shift or Ctrl and an arrow along the time axis: the resize of
  // the first selected booking; false for other keys.
  bool KeyGrow(unsigned short Key, TShiftState Shift);
  void ForgetInteractionItem(TvxDataEntity* theEntity);

  TvxDateScaler* itsScaler = nullptr;
  TXYSizer* itsXYSizer = nullptr;
  THeaderControl_MouseControl* itsHeader = nullptr;
  TDrawGrid_Schema* itsFlippedHeader = nullptr;
  TvxOffscreenPaint_Schema* itsTA = nullptr;
  TvxDataList2lev* itsvxLayers = nullptr;
  bool itsFlipView = false;
  TPoint itsQuadPoint{70, 17};
  TPoint itsFlippedQuadPoint{70, 50};
  TvxDataEntity_SchemaTime* itsActiveDataEntity = nullptr;
  bool itsWaitForAllValues = false;
  TDrawLayerArray itsDrawLayerArray;
  TPopupMenu* fPopupSchema = nullptr;
  TvxDataEntityClass fClassOfDataEntity_SchemaTime;
  std::unique_ptr<TSchemaTimeListController> itsSchemaTimeListController;
  std::unique_ptr<TvxListController> itsColumnsListController;
  TDataListColumns* itsDataListColumns = nullptr;

  // The scaler's changes, heard privately: its OnChange is the application's.
  std::unique_ptr<TSingleEventListener> fScalerChangeDelivered;
  TvxDataEntity* itsPopupSelectedDataEntity = nullptr;
  // Where the parts stand, and the scaler's sizes asked for.
  std::unique_ptr<TSchemaParts> fParts = std::make_unique<TSchemaParts>(*this);
  // The column scroller and the wheel.
  std::unique_ptr<TSchemaScroller> fScroller = std::make_unique<TSchemaScroller>(*this);
  // The time hint and the enlarged preview.
  std::unique_ptr<TSchemaPreview> fPreview = std::make_unique<TSchemaPreview>(*this);
  // The drawing area's picture, the pyjamas pattern and the drawing order.
  std::unique_ptr<TSchemaPainter> fPainter;
  // The gestures on the bookings: held bookings, outlines, edge scrolling.
  std::unique_ptr<TSchemaGesture> fGesture;

  // The bookings of each column, for the paint's, the hit test's and the
  // layout's questions about one column and a time window.
  TSchemaTimeIndex fIndex;
  // Keep the index, the negative insets' count and the layout in step.
  TSchemaIndexHooks fIndexHooks{*this};
  // The collision layout: columns out of date, runs and their results.
  std::unique_ptr<TSchemaSubColumns> fSubColumns = std::make_unique<TSchemaSubColumns>(this);
  // Bookings with a negative inset reach beyond their column; while there are
  // any, hit testing and painting consider every column.
  int fNegativeInsetItems = 0;
  // Widest reach of a sub-column beyond its column's far edge, from rounding.
  int fSubColSpill = 1;
};

class VX_API TvxSchema : public TvxSchema_ComBasic {
public:
  using TvxSchema_ComBasic::TvxSchema_ComBasic;

protected:
  TvxSchema(TComponent* AOwner, DeferInitialize theTag) : TvxSchema_ComBasic(AOwner, theTag) {}
};

}  // namespace vx
