#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <vxplan/core/vxEvent.h>
#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/core/vxHolding.h>
#include <vxplan/gantt/vxGantAlign.h>
#include <vxplan/gantt/vxGantArea.h>
#include <vxplan/gantt/vxGantBinding.h>
#include <vxplan/gantt/vxGantGesture.h>
#include <vxplan/gantt/vxGantItemModel.h>
#include <vxplan/gantt/vxGantItems.h>
#include <vxplan/gantt/vxGantKeys.h>
#include <vxplan/gantt/vxGantLinks.h>
#include <vxplan/gantt/vxGantPaint.h>
#include <vxplan/gantt/vxGantRows.h>
#include <vxplan/gantt/vxGantGridSide.h>
#include <vxplan/gantt/vxGantSettings.h>
#include <vxplan/gantt/vxGantSide.h>
#include <vxplan/gantt/vxGantTabs.h>
#include <vxplan/gantt/vxGantTree.h>
#include <vxplan/gantt/vxGantTreeSide.h>
#include <vxplan/timeitems/vxTimeDistinctGeneric.h>
#include <vxplan/timeitems/vxLayoutJob.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/paint/vxGraphStuff.h>
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/paint/vxSplitter.h>
#include <vxplan/platform/ui/XorOverlay.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/TreeView.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/scaler/vxScaler.h>
#include <vxplan/tree/vxTree.h>

namespace vx {

// The Gantt chart: a left side (tree) listing the rows, a time axis on top,
// and the area in which each row shows its time items and links.
class VX_API TvxGant_ComBasic : public TCustomPanel, public TGantScalerSettings, public TGantLook,
                         public TGantLeftSideSettings, public TGantAreaSettings, public TGantItemDefaults,
                         public TGantGestureState {
public:
  // Paused rows resume once fewer layout workers than this run.
  static constexpr int ResumeBelowThreads = 5;
  // The left side's width and the time axis's height are kept within this.
  static constexpr int MostPartSize = 4096;
  // A row has at most this many layers: AddKronit answers nil beyond.
  static constexpr int MostLayers = 1024;

  explicit TvxGant_ComBasic(TComponent* AOwner);
  // As a Qt child of theParent, owned by the nearest component around it.
  template <QtParentWidget W>
  explicit TvxGant_ComBasic(W* theParent) : TvxGant_ComBasic(OwnerFromQtParent(theParent)) {
    AdoptQtParent(theParent);
  }
  ~TvxGant_ComBasic() override;

  // For descendants that make their own children or lists through the
  // factory operations: construct with this and call InitializeInConstructor
  // at the end of the descendant's constructor (a constructor runs the base's
  // own operations, not the descendant's overrides).
  struct DeferInitialize {};

  // --- children and lists
  TGantTree* GetTreeView() const noexcept { return fTree; }
  TvxDateScaler* GetDateScaler() const noexcept { return fDateScaler; }
  TvxOffscreenPaint_GA* GetGA() const noexcept { return fGA; }
  TGantRowList* GetRowList() const noexcept { return fRowList; }
  TvxDataList3lev* GetAllDataEntities() const noexcept { return fAllDataEntities; }
  TvxListController* GetKronitListController() const noexcept {
    return fItemModel ? fItemModel->Controller() : nullptr;
  }
  TvxDataEntityClass GetClassOfDataEntity_Kronit() const noexcept { return fClassOfDataEntity_Kronit; }
  // The left side in use: the grid (true) or the tree.
  bool GetUseGridNotTree() const noexcept { return fSide == fGridSide.get(); }
  // A row belongs to the left side in use.
  bool RowTypeCheckOK(const TGantRow* theRow) const { return fSide->Owns(theRow); }
  // The left side in use, and either side by kind.
  TGantSide* GetSide() const noexcept { return fSide; }
  TGantSide* GetSide(bool theGrid) const noexcept;
  // The side whose rows the area shows: the one on paper while a page is
  // printed, else the one in use.
  TGantSide* ShownSide() const noexcept;

  // --- time items
  TvxDataEntity_Kronit* AddKronitToGantRow(TGantRow* theRow, int theLayer);
  TvxDataEntity_Kronit* AddKronit(TvxDataEntity_Tree* theTreeNode, int theLayer);
  TvxDataEntity_Kronit* GridNode_AddKronit(TvxDataEntity_GridTreeNode* theGridNode, int theLayer);
  void RemoveKronit(TvxDataEntity_Kronit* theItem);
  // Moves theItem into layer theLayer of theRow (made when missing) with the
  // times theStart and theStop, keeping its texts, links and selection; the
  // one call an OnTimeChangeRow handler needs. False, changing nothing, for a
  // nil item or row, a row of another chart, a layer outside 0 .. MostLayers-1
  // or times of no number.
  bool MoveKronitToRow(TvxDataEntity_Kronit* theItem, TGantRow* theRow, int theLayer, TDateTime theStart,
                       TDateTime theStop);
  void CopyDataEntity(TvxDataEntity_Kronit* theSource, TvxDataEntity_Kronit* theTarget);
  bool TimeCopy(TvxDataEntity_Kronit* theItem, TGantRow* theRow, TGantRow* theNewRow, TDateTime theStart,
                TDateTime theStop, TvxDataEntity_Kronit*& theNewItem);
  bool TimeMoveRow(TvxDataEntity_Kronit* theItem, TGantRow* theRow, TGantRow* theNewRow, TDateTime theStart,
                   TDateTime theStop, TvxDataEntity_Kronit*& theNewItem);
  TvxDataEntity_Kronit* FindKronitObjectFromUserReference(void* theReference);
  void GetStartStopLenFromRect(const TRect& theRect, TDateTime& theStart, TDateTime& theLen, TDateTime& theStop);
  TRect RectFromDataEntity(TvxDataEntity_Kronit* theItem);
  bool IsVisible(const TvxDataEntity_Kronit* theItem) const;
  TvxDataEntity_Kronit* GetDataEntityFromXY(int x, int y);
  TvxDataEntity_Kronit* GetActiveDataEntity() const noexcept { return fActiveDataEntity; }
  void SetActiveDataEntity(TvxDataEntity_Kronit* theItem);
  // Every item of every row, layers in order.
  void ForEachKronit(const std::function<void(TvxDataEntity_Kronit*)>& f);

  // --- a binding to another model (see vxGantBinding.h); nil clears it
  void SetBindingListener(TGantBindingListener* theListener) noexcept { fBindingListener = theListener; }
  TGantBindingListener* GetBindingListener() const noexcept { return fBindingListener; }

  // --- links
  TvxDataEntity_Link* AddLink();
  TvxDataList* GetLinks() const noexcept { return fLinksDataList; }
  void DropAllLinks(TvxDataEntity_Kronit* theItem);

  // --- rows
  virtual TGantRow* CreateRow(TvxDataEntity_Tree* theTreeNode, TvxDataEntity_GridTreeNode* theGridTreeNode);
  void UnPauseCollisionDetectionRows() { fLayoutJobs->ResumeAll(); }
  bool GetPausedCollisionDetectionRows() const noexcept { return fLayoutJobs->PausedCount() > 0; }
  // Rows with a layout waiting, running or being handed back, or paused.
  int PendingLayoutCount() const noexcept { return fLayoutJobs->PendingCount() + fLayoutJobs->PausedCount(); }

  // --- the left side
  TvxDataEntity_Tree* AddDataEntityTree(TvxDataEntity_Tree* theParent);
  TvxDataEntity_Tree* AddRootDataEntityTree() { return AddDataEntityTree(nullptr); }
  // A node of the grid's tree (nil parent: a root node); it gets its row.
  TvxDataEntity_GridTreeNode* GridNode_Add(TvxDataEntity_GridTreeNode* theParent);
  void GridNode_Remove(TvxDataEntity_GridTreeNode* theNode);
  void SetUseGridNotTree(bool theValue);
  void HandleTreeAlign(TObject*) { fAlign.HandleTreeAlign(); }
  void RealignScrollbar();
  int GetTreeWidth() const;
  void SetTreeWidth(int theWidth);
  // Sets the time axis and the tree's width without raising OnAlignNeed.
  void SetScaleAndTree(TDateTime theStart, TDateTime theStop, int theTreeWidth) {
    fAlign.SetScaleAndTree(theStart, theStop, theTreeWidth);
  }

  // --- refreshing
  void BeginUpdate();
  void EndUpdate();
  void Repaint() override;
  void RefreshOthers(TObject* theSender);
  void InvalidateGA();

  // --- painting
  TCustomImageList* GetImageList() const;
  void SetImageList(TCustomImageList* theList);
  TBitmap* GetGantBitMap() { return fPainter.GantBitMap(); }
  // Calls f for every row of the current side that the area shows, top down.
  void ForEachShownRow(const std::function<void(TGantRow*)>& f) { ShownSide()->ForEachShownRow(f); }


  // --- the time axis's settings
  // The scaler, and the panels above the tree and the scroll bar, so that the
  // first row of the left side and of the area line up.
  void SetScalerHeight(int theHeight);
  // 0 with the tree; with the grid, how far its first row lies below its top.
  virtual int GridHeaderHeight() { return fSide->HeaderHeight(); }

  // --- the grid side
  TOnVirtualLoad OnVirtualLoad_Grid;
  TOnVirtualUnLoad OnVirtualUnLoad_Grid;
  TOnColumnSort OnColumnSort_Grid;
  TvxEventOf<TNotifyEvent> OnGridTopLeftChanged;
  void UpdateGridAlign() { SetScalerHeight(GetScalerHeight()); }
  // Widens the left side to show its widest row.
  void MakeSureAllVisibleInTree();
  static int CountVisibleTreeViewItems(TCustomTreeView* theTreeView);

  // --- mouse and keyboard
  // The Qt convention's wheel at x (the area's pixels): rows, time or zoom.
  void WheelQt(TShiftState theShift, int theDelta, int x);
  // The keyboard's zoom (Ctrl with + or -) from the area, the tree or the
  // grid; none mid-gesture, whose outline is in pixels. Answers whether
  // theKey was one.
  bool ZoomKey(unsigned short theKey, TShiftState theShift);
  // The active item selected (alone, unless it already was) and where a menu
  // asked for from the keyboard opens: under its left end, or the area's middle.
  void PlaceKeyboardMenu(TPoint& thePlace);
  TGantRow* GetActiveGantRow();
  // Clears the selection of every loaded item.
  void ClearSelections();
  // Runs the arrow-key navigation for theKey, then clears the active item.
  void PerformGantAreaKeyfunction(unsigned short theKey, TShiftState theShift);
  // The hint that follows the item under the mouse and shows the times while
  // dragging; nil while designing.
  TGraphHintWindow* GetHintWindow() const noexcept { return fHint; }
  TvxDataEntity_Kronit* FindNeighbourClosest(TvxDataList* theList, TvxDataEntity_Kronit* theRef);
  TvxDataEntity_Kronit* FindNeighbourToRightLeft(TvxDataList* theList, TvxDataEntity_Kronit* theRef, bool theRight);
  TvxDataEntity_Kronit* FindNeighbourToUpDown(int theLayer, TvxDataEntity_Kronit* theRef, bool theUp);
  void MakeSureActiveInView();
  void MakeSureRowInView(TGantRow* theRow);
  // The hint of a time item: its name (first text), start, finish and
  // length, one a line, in the scaler's formats; empty for other objects.
  std::string HintText(TObject* theObject);
  // The same for theItem landing at theStart .. theStop.
  std::string HintText(TvxDataEntity_Kronit* theItem, TDateTime theStart, TDateTime theStop);
  // Start, finish and length as the hint tells them, theSeparator between.
  std::string TimesText(TDateTime theStart, TDateTime theStop, const std::string& theSeparator);

  // --- tab sheets: the chart on a tab of a page control, beside the
  // application's own sheets
  bool GetUseTabSheets() const { return fTabSheets.GetUseTabSheets(); }
  void SetUseTabSheets(bool v) { fTabSheets.SetUseTabSheets(v); }
  TPageControl* GetPageControl() const noexcept { return fPageControl; }
  TTabSheet* GetGantTabSheet() const noexcept { return fGantTabSheet; }
  void AddTabSheet(TTabSheet* theSheet, TTabSheetTreeChange h1, TTabSheetChanging h2, TNotifyEvent h3,
                   TNotifyEvent h4) {
    fTabSheets.AddTabSheet(theSheet, std::move(h1), std::move(h2), std::move(h3), std::move(h4));
  }
  // Tells the visible application sheets the row of the tree's current node.
  void ChangeInTree() { fTabSheets.ChangeInTree(); }

  // --- update bracketing with an event's signature
  void BeginUpdateNotifyCompatible(TObject*) { BeginUpdate(); }
  void EndUpdateNotifyCompatible(TObject*) { EndUpdate(); }

  // --- events of rows, items and links
  //
  // Events belong to the application. A handler may delete anything: the item,
  // row, link or node it is handed, its row or layer, every item. The chart
  // reads afterwards only what it holds or looks up afresh. It may not delete
  // the chart itself directly; to close the chart from one of its handlers,
  // call deleteLater() on it (the chart goes once the handler has returned to
  // the event loop).
  TUserCreateGantRow OnUserCreateGantRow;
  TGantRowNotify OnAfterAddGantRow;
  TGantRowNotify OnBeforeFreeGantRow;
  TOnCollisionDetected OnCollisionDetected;
  TvxEventOf<TOnContentChanged> OnContentChanged_Kronit;
  TvxEventOf<TOnSelectionChanged> OnSelectionChanged_Kronit;
  TvxEventOf<TOnKronitNotify> OnDeleteItem_Kronit;
  TvxEventOf<TOnKronitNotify> OnInsertItem_Kronit;
  TvxEventOf<TOnKronitNotify> OnValueChanged_Kronit;
  TOnInfoPush_Kronit OnChangeDataEntity_Kronit;
  TOnKronitNotify OnBeforeCanEditItem_Kronit;
  TOnKronitNotify OnVirtualLoad_Kronit;
  TOnVirtualUnLoad_Kronit OnVirtualUnLoad_Kronit;
  TOnTimeCopyOrMove OnTimeCopy;
  // A bar dragged to another row: the chart leaves the change to the
  // application. The usual answer moves the bar with the dragged times:
  //   [](TvxGant_ComBasic* g, TvxDataEntity_Kronit* k, TGantRow*, TGantRow* to,
  //      TDateTime start, TDateTime stop, TvxDataEntity_Kronit*& moved) {
  //     if (g->MoveKronitToRow(k, to, 0, start, stop)) moved = k;
  //   }
  TOnTimeCopyOrMove OnTimeChangeRow;
  TOnHintInfo OnHintInfo;
  TOnAlignNeed OnAlignNeed;
  TvxEventOf<TOnKronitNotify> OnClickGantArea;
  TvxEventOf<TOnKronitNotify> OnRightClickGantArea;
  TvxEventOf<TOnKronitNotify> OnDblClickGantArea;
  TOnDependencyAction OnDependencyAction;
  TOnKeyNavigateDataList OnKeyNavigateDataList;
  TMouseEvent OnGantAreaMouseDown;
  TMouseMoveEvent OnGantAreaMouseMove;
  TMouseEvent OnGantAreaMouseUp;
  TStartDragEvent OnGantAreaStartDrag;
  TDragOverEvent OnGantAreaDragOver;
  TDragDropEvent OnGantAreaDragDrop;
  // The tree's own events, under the chart's names.
  TStartDragEvent OnTreeStartDrag;
  TEndDragEvent OnTreeEndDrag;
  TDragDropEvent OnTreeDragDrop;
  TDragOverEvent OnTreeDragOver;
  TMouseMoveEvent OnTreeMouseMove;
  TMouseEvent OnTreeMouseDown;
  TOnContentChanged OnContentChanged_Tree;
  TvxEventOf<TOnSelectionChanged> OnSelectionChanged_Tree;
  TOnDeleteItem OnDeleteItem_Tree;
  TOnInsertItem OnInsertItem_Tree;
  TOnInfoPush OnValueChanged_Tree;
  TOnBeforeCanEditItem OnBeforeCanEditItem_Tree;
  TOnInfoPush OnChangeDataEntity_Tree;
  TOnPrintResizeFont OnPrintResizeFont;
  TOnPrintToHdcNewPage OnPrintToHdcNewPage;
  TOnUserDrawContent OnUserDrawBackground;
  TOnUserDrawContent OnUserDrawForeground;
  TOnUserDrawTime OnUserDrawTime;
  TOnUserDrawLinks OnUserDrawLinks;
  TvxEventOf<TOnScalerChange> OnScalerChange;
  TOnRealignScrollbar OnRealignScrollbar;

protected:
  // Room for the parts with a few rows; the least keeps each part usable.
  TPoint PreferredSize() const override;
  TPoint MinimumSize() const override;
  friend class TGantRow;
  friend class TGantRowList;
  friend class TGantTree;
  friend class TvxOffscreenPaint_GA;
  friend class TGantTreeSide;
  friend class TGantGridSide;
  friend class TGantGesture;
  friend class TGantPainter;
  friend class TGantLinkPainter;
  friend class TGantItemModel;
  friend class TvxDataEntity_Kronit;  // makes its texts through the item model
  friend class TGantTabSheets;
  friend class TGantAlign;
  friend class TGantKeys;

  TvxGant_ComBasic(TComponent* AOwner, DeferInitialize);
  TvxDateScaler* SettingsScaler() const override { return fDateScaler; }
  TGantTree* SettingsTree() const override { return fTree; }
  TGantGridSide* SettingsGridSide() const override { return fGridSide.get(); }
  TGantSide* SettingsSide() const override { return fSide; }
  TvxOffscreenPaint_GA* SettingsArea() const override { return fGA; }
  TvxTimeGesture& GestureEngine() const noexcept override { return fGesture->Engine(); }
  void LookChanged(bool theBackground) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  virtual void InitializeInConstructor();
  virtual void Initialize();
  void BuildChildren();
  virtual TvxDateScaler* CreateDateScaler(TComponent* theOwner);
  virtual TGantTree* CreateTree(TComponent* theOwner);
  virtual TvxGrid* CreateGrid(TComponent* theOwner);
  void GridRowHeightFollows(TGantRow* theRow) { fGridSide->RowHeightFollows(theRow); }
  virtual TGantRowList* CreateRowList();
  virtual TvxDataList* CreateLinkList();
  virtual TvxDataList_GantRow* CreateDataList_GantRow();
  virtual TvxDataList2lev* CreateDataList2Lev();
  virtual TvxDataList3lev* CreateDataList3Lev();
  virtual void _OnBeforeCanEditItem(TvxDataEntity* e);
  virtual void _OnBeforeCanEditItem_Link(TvxDataEntity* e);
  // The Gantt area's paint.
  virtual void GantAreaPaint(TObject* Sender);
  virtual void DoBackground();
  virtual void UserDrawTime(TvxDataEntity_Kronit* theItem, const TRect& theRect);
  // A dotted outline, inverted over the area (drawing it again takes it
  // away); with theHint the rectangle's times are snapped and reported
  // through OnHintInfo.
  virtual void DrawOutline(const TRect& theRect, bool theHint);

  // Mouse and keyboard of the Gantt area.
  virtual void GantAreaMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void GantAreaMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  virtual void GantAreaMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void OnGADblClick(TObject* Sender);
  virtual void GantAreaKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift);
  virtual void GantAreaStartDrag(TObject* Sender, TObject*& DragObject);
  virtual void GantAreaDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void GantAreaDragDrop(TObject* Sender, TObject* Source, int X, int Y);
  virtual void GantAreaEndDrag(TObject* Sender, TObject* Target, int X, int Y);
  virtual bool InGrowArea(TvxDataEntity_Kronit* theItem, int x, int y, TRect& theRect, bool& theLeftSide);

  void GantAreaWheelScroll(TWMMouseWheel& Msg);
  void _OnPrintResizeFont(TvxOffscreenPaint* theCaller, int& theFontSize, bool& theDefaultResize);

  // Children, in the order they are made.
  TPanel* fPanelTreeHolder = nullptr;
  TvxSplitter* fSplitter = nullptr;
  TPageControl* fPageControl = nullptr;
  TTabSheet* fGantTabSheet = nullptr;
  TGantTabSheets fTabSheets{*this};  // the application's sheets and their handlers
  TPanel* fPanelScaleAndGantHolder = nullptr;
  TPanel* fPanelScrollHolder = nullptr;
  TvxDateScaler* fDateScaler = nullptr;
  std::unique_ptr<TSingleEventListener> fScalerChangeDelivered;
  std::unique_ptr<TSingleEventListener> fScalerMarksChanged;
  TPanel* fPanelAboveTree = nullptr;
  TScrollBar* fScrollBarVertical = nullptr;
  TGantTree* fTree = nullptr;
  TPanel* fPanelAboveScroll = nullptr;
  TvxOffscreenPaint_GA* fGA = nullptr;

  TvxDataEntityClass fClassOfDataEntity_Kronit;
  TvxDataEntityClass fClassOfDataEntity_Link;
  TGantRowList* fRowList = nullptr;
  TvxDataList3lev* fAllDataEntities = nullptr;
  std::unique_ptr<TGantItemModel> fItemModel;  // the items' list controller and its handlers
  std::unique_ptr<TvxListController> fLinkDataListController;
  TvxDataList* fLinksDataList = nullptr;
  // The left sides; fSide is the one in use.
  std::unique_ptr<TGantTreeSide> fTreeSide = std::make_unique<TGantTreeSide>(this);
  std::unique_ptr<TGantGridSide> fGridSide = std::make_unique<TGantGridSide>(this);
  TGantSide* fSide = fTreeSide.get();
  TGantKeys fKeys{*this};  // the area's keys
  TGantAlign fAlign{*this};  // the left side, the time axis and the area lined up
  TvxDataEntity_Kronit* fActiveDataEntity = nullptr;
  // The rows' layouts: how many are pending or paused, and their resuming.
  std::unique_ptr<TLayoutJobGroup> fLayoutJobs = std::make_unique<TLayoutJobGroup>(ResumeBelowThreads);
  int fRowDrawOffset = 0;
  TDateTime fStartScaleWhenDrawn = 0;  // the scaler's start at the area's last paint
  // The area's painter and the links'.
  TGantPainter fPainter{*this};
  TGantLinkPainter fLinkPainter{*this};
  TGraphHintWindow* fHint = nullptr;
  // The gestures on the items: held items, outlines, edge scrolling.
  std::unique_ptr<TGantGesture> fGesture;
  TGantBindingListener* fBindingListener = nullptr;
};

class VX_API TvxGant : public TvxGant_ComBasic {
public:
  using TvxGant_ComBasic::TvxGant_ComBasic;

protected:
  TvxGant(TComponent* AOwner, DeferInitialize theTag) : TvxGant_ComBasic(AOwner, theTag) {}
};

}  // namespace vx
