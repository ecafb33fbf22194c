#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/vxDataEntityPack.h"
#include "core/vxHolding.h"
#include "gantt/vxGantArea.h"
#include "gantt/vxGantGesture.h"
#include "gantt/vxGantItems.h"
#include "gantt/vxGantRows.h"
#include "gantt/vxGantGridSide.h"
#include "gantt/vxGantSettings.h"
#include "gantt/vxGantSide.h"
#include "gantt/vxGantTree.h"
#include "gantt/vxGantTreeSide.h"
#include "timeitems/vxTimeDistinctGeneric.h"
#include "timeitems/vxLayoutJob.h"
#include "grid/vxGrid.h"
#include "paint/vxDoLater.h"
#include "paint/vxGraphStuff.h"
#include "paint/vxOffscreenPaint.h"
#include "paint/vxSplitter.h"
#include "platform/ui/XorOverlay.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/TreeView.h"
#include "platform/ui/ExtCtrls.h"
#include "scaler/vxScaler.h"
#include "tree/vxTree.h"

namespace vx {

class TvxGant_ComBasic;
class TGantRow;
class TGantRowList;
class TGantTree;
class TvxOffscreenPaint_GA;
class TvxDataEntity_Kronit;
class TvxDataEntity_Link;
// A node of the grid's tree (the chart's other left side).
class TvxDataEntity_GridTreeNode;

// The Gantt chart: a left side (tree) listing the rows, a time axis on top,
// and the area in which each row shows its time items and links.
class TvxGant_ComBasic : public TCustomPanel, public TGantScalerSettings,
                         public TGantLook,
                         public TGantLeftSideSettings {
public:
  // Paused rows resume once fewer layout workers than this run.
  static constexpr int ResumeBelowThreads = 5;
  // The left side's width and the time axis's height are kept within this.
  static constexpr int MostPartSize = 4096;
  // A row has at most this many layers: AddKronit answers nil beyond.
  static constexpr int MostLayers = 1024;

  explicit TvxGant_ComBasic(TComponent* AOwner);
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
  TvxListController* GetKronitListController() const noexcept { return fKronitListController.get(); }
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
  TvxDataEntity_Kronit* GetMouseDownDataEntity() const noexcept;
  // Every item of every row, layers in order.
  void ForEachKronit(const std::function<void(TvxDataEntity_Kronit*)>& f);

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
  TvxGrid* GetGrid() const noexcept { return fGridSide->GetGrid(); }
  TvxGridTree* GetGridTree() const noexcept { return fGridSide->GetGridTree(); }
  void SetUseGridNotTree(bool theValue);
  void HandleTreeAlign(TObject* Sender);
  void RealignScrollbar();
  int GetTreeWidth() const;
  void SetTreeWidth(int theWidth);
  // Sets the time axis and the tree's width without raising OnAlignNeed.
  void SetScaleAndTree(TDateTime theStart, TDateTime theStop, int theTreeWidth);

  // --- refreshing
  void BeginUpdate();
  void EndUpdate();
  void Repaint() override;
  void RefreshOthers(TObject* theSender);
  void InvalidateGA();

  // --- painting
  TCustomImageList* GetImageList() const;
  void SetImageList(TCustomImageList* theList);
  TBitmap* GetGantBitMap() const noexcept { return fGantBitMap.get(); }
  // Calls f for every row of the current side that the area shows, top down.
  void ForEachShownRow(const std::function<void(TGantRow*)>& f) { ShownSide()->ForEachShownRow(f); }


  // --- the time axis's settings
  // The scaler, and the panels above the tree and the scroll bar, so that the
  // first row of the left side and of the area line up.
  void SetScalerHeight(int theHeight);
  // 0 with the tree; with the grid, how far its first row lies below its top.
  virtual int GridHeaderHeight() { return fSide->HeaderHeight(); }

  // --- the grid side
  bool GetGridVerticalScrollOutOfGrid() const noexcept { return fGridSide->GetVerticalScrollOutOfGrid(); }
  void SetGridVerticalScrollOutOfGrid(bool v) { fGridSide->SetVerticalScrollOutOfGrid(v); }
  // The bar that stands for the grid's own while GridVerticalScrollOutOfGrid.
  TScrollBar* GetGridScrollBar() const noexcept { return fGridSide->GetScrollBar(); }
  TOnVirtualLoad OnVirtualLoad_Grid;
  TOnVirtualUnLoad OnVirtualUnLoad_Grid;
  TOnColumnSort OnColumnSort_Grid;
  TNotifyEvent OnGridTopLeftChanged;
  void UpdateGridAlign() { SetScalerHeight(GetScalerHeight()); }
  // Widens the left side to show its widest row.
  void MakeSureAllVisibleInTree();
  static int CountVisibleTreeViewItems(TCustomTreeView* theTreeView);

  // --- the Gantt area's settings
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
  bool GetFavourMoveOverResizeOnSmallTimeItems() const noexcept;
  void SetFavourMoveOverResizeOnSmallTimeItems(bool v) noexcept;
  int GetHdcToUseOnNewPage() const noexcept { return fHdcToUseOnNewPage; }
  void SetHdcToUseOnNewPage(int v) noexcept { fHdcToUseOnNewPage = v; }
  TSnapHandler* GetSnap() const noexcept { return fSnap.get(); }
  TPopupMenu* GetPopupMenuGantArea() const { return fGA->GetPopupMenu(); }
  void SetPopupMenuGantArea(TPopupMenu* m) { fGA->SetPopupMenu(m); }
  TPopupMenu* GetPopupMenuTreeview() const { return fTree->GetPopupMenu(); }
  void SetPopupMenuTreeview(TPopupMenu* m);
  TPopupMenu* GetPopupMenuScaler() const { return fDateScaler->GetPopupMenu(); }
  void SetPopupMenuScaler(TPopupMenu* m) { fDateScaler->SetPopupMenu(m); }

  // --- mouse and keyboard
  // The wheel over the area, the left side and the time axis. wcClassic (the
  // default): one visible node of the tree a wheel message. wcQt: the wheel
  // scrolls the rows by the platform's wheel step, Shift+wheel moves in
  // time, Ctrl+wheel zooms in time around the pointer (on the time axis the
  // wheel zooms too).
  TWheelConvention GetWheelConvention() const noexcept { return fWheelConvention; }
  void SetWheelConvention(TWheelConvention theValue);
  // The Qt convention's wheel at x (the area's pixels): rows, time or zoom.
  void WheelQt(TShiftState theShift, int theDelta, int x);
  void MouseMoveModeCancel();
  // Ends a drag under way (move, copy, resize, link) as if it never began:
  // outlines gone, nothing written, the cursor and the selection as they were.
  // Escape does this, and so does the area losing the mouse.
  void CancelGesture();
  // The active item selected (alone, unless it already was) and where a menu
  // asked for from the keyboard opens: under its left end, or the area's middle.
  void PlaceKeyboardMenu(TPoint& thePlace);
  TGantMouseMoveMode GetMouseMoveMode() const noexcept;
  // smDependency: the next left press on an item starts drawing a link.
  TGantStickyMode GetStickyMode() const noexcept { return fLocalStickyMode; }
  void SetStickyMode(TGantStickyMode theMode) noexcept { fLocalStickyMode = theMode; }
  TGantRow* GetActiveGantRow();
  // Clears the selection of every loaded item.
  void ClearSelections();
  // Runs the arrow-key navigation for theKey, then clears the active item.
  void PerformGantAreaKeyfunction(unsigned short theKey, TShiftState theShift);
  TPoint GetLastMouseUpPos() const noexcept;
  // The hint that follows the item under the mouse and shows the times while
  // dragging; nil while designing.
  TGraphHintWindow* GetHintWindow() const noexcept { return fHint; }
  // Outlines now on screen over the area (while dragging).
  int OutlineCount() const noexcept;
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

  // --- tab sheets: the chart on a tab of a page control, beside the
  // application's own sheets
  bool GetUseTabSheets() const;
  void SetUseTabSheets(bool v);
  TPageControl* GetPageControl() const noexcept { return fPageControl; }
  TTabSheet* GetGantTabSheet() const noexcept { return fGantTabSheet; }
  void AddTabSheet(TTabSheet* theSheet, TTabSheetTreeChange h1, TTabSheetChanging h2, TNotifyEvent h3,
                   TNotifyEvent h4);
  // Tells the visible application sheets the row of the tree's current node.
  void ChangeInTree();

  // --- update bracketing with an event's signature
  void BeginUpdateNotifyCompatible(TObject*) { BeginUpdate(); }
  void EndUpdateNotifyCompatible(TObject*) { EndUpdate(); }

  // --- link defaults
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
  TOnContentChanged OnContentChanged_Kronit;
  TOnSelectionChanged OnSelectionChanged_Kronit;
  TOnKronitNotify OnDeleteItem_Kronit;
  TOnKronitNotify OnInsertItem_Kronit;
  TOnKronitNotify OnValueChanged_Kronit;
  TOnInfoPush_Kronit OnChangeDataEntity_Kronit;
  TOnKronitNotify OnBeforeCanEditItem_Kronit;
  TOnKronitNotify OnVirtualLoad_Kronit;
  TOnVirtualUnLoad_Kronit OnVirtualUnLoad_Kronit;
  TOnTimeCopyOrMove OnTimeCopy;
  // A bar dragged to another row: the chart leaves the change to the
  // application. The usual answer moves the bar with the dragged times:
  //   g->OnTimeChangeRow = [](TvxGant_ComBasic* g, TvxDataEntity_Kronit* k, TGantRow*, TGantRow* to,
  //                           TDateTime start, TDateTime stop, TvxDataEntity_Kronit*& moved) {
  //     if (g->MoveKronitToRow(k, to, 0, start, stop)) moved = k;
  //   };
  TOnTimeCopyOrMove OnTimeChangeRow;
  TOnHintInfo OnHintInfo;
  TOnAlignNeed OnAlignNeed;
  TOnKronitNotify OnClickGantArea;
  TOnKronitNotify OnRightClickGantArea;
  TOnKronitNotify OnDblClickGantArea;
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
  TOnSelectionChanged OnSelectionChanged_Tree;
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
  TOnScalerChange OnScalerChange;
  TOnRealignScrollbar OnRealignScrollbar;

protected:
  friend class TGantRow;
  friend class TGantRowList;
  friend class TGantTree;
  friend class TvxOffscreenPaint_GA;
  friend class TGantTreeSide;
  friend class TGantGridSide;
  friend class TGantGesture;

  TvxGant_ComBasic(TComponent* AOwner, DeferInitialize);
  TvxDateScaler* SettingsScaler() const override { return fDateScaler; }
  TGantTree* SettingsTree() const override { return fTree; }
  TvxGrid* SettingsGrid() const override { return GetGrid(); }
  TGantSide* SettingsSide() const override { return fSide; }
  void LookChanged(bool theBackground) override;

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
  void DefaultBackGround();
  void DrawRowBackgound(const TRect& theRect, int theIndex);
  void DoVerticalPyjamas();
  void DoTodayLine();
  void DrawHiddenTimeSeams();
  void DrawScaleLines();
  void ReInitBitmap();
  // One item with its texts, handles and focus rectangle.
  void DrawContent(TvxDataEntity_Kronit* theItem, const TRect& theRect);
  // Narrows theLeft..theRight to the room beside theRect that no other item
  // of the row being drawn takes.
  void TextRoom(const TRect& theRect, int& theLeft, int& theRight) const;
  virtual void UserDrawTime(TvxDataEntity_Kronit* theItem, const TRect& theRect);
  void RenderLinks();
  bool LinePassesThroughWindow(const TvxDataEntity_Kronit* theOwner, const TvxDataEntity_Kronit* theLinked) const;
  bool LinkEnds(TvxDataEntity_Link* theLink, TPoint& theStart, TPoint& theStop, TLinkStyle& theStyle,
                TLinkBars* theBars = nullptr);
  void DrawLink(TPoint theStart, TPoint theStop, TCanvas* theCanvas, TLinkStyle theStyle, TColor theColor,
                int thePenWidth, TvxDataEntity_Link* theLink, const TLinkBars* theBars = nullptr);
  // With theBars, a route that would run back across a bar goes round it
  // instead, between the rows, and comes into the target from outside.
  TLinkRoute RouteLink(TPoint theStart, TPoint theStop, TLinkStyle theStyle, TvxDataEntity_Link* theLink,
                       const TRect& theClip, const TLinkBars* theBars = nullptr) const;
  // The row of pixels a detour runs along, between the bars.
  static int LinkLane(const TLinkBars& theBars);
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
  TvxDataEntity_Kronit* KeyTarget(unsigned short theKey, TvxDataEntity_Kronit* theActive, TGantRow* theRow);

  // Item controller handlers.
  void _InsertItem_Kronit(TvxDataEntity* e);
  void _DeleteItem_Kronit(TvxDataEntity* e);
  void _ContentChanged_Kronit(TvxDataList* l);
  void _SelectionChanged_Kronit(TvxDataList* l, TvxDataEntity* e);
  void _InfoPush_Kronit(TvxDataEntity* e);
  void _LoadItem_Kronit(TvxDataEntity* e);
  void _UnLoadItem_Kronit(TvxDataEntity* e, bool& CanUnload);
  void _OnTimeItemSyleSet(TvxTimeItemTextCollection* theCollection, TCanvas* theCanvas, int theStyle);
  // The items inserted and deleted while the application answers a copy or a
  // change of row, so that the item it hands back is known to be alive.
  struct TCallOutItems {
    std::vector<TvxHeld<TvxDataEntity_Kronit>> fInserted;
    std::unordered_set<const void*> fDeleted;
    bool Alive(const TvxDataEntity_Kronit* theItem) const;
  };
  TCallOutItems* fCallOutItems = nullptr;
  // Runs the application's copy or row change; nils theNewItem when the
  // application deleted it again.
  void AskForNewItem(const TOnTimeCopyOrMove& theHandler, TvxDataEntity_Kronit* theItem, TGantRow* theRow,
                     TGantRow* theNewRow, TDateTime theStart, TDateTime theStop, TvxDataEntity_Kronit*& theNewItem);
  void GiveTexts(TvxDataEntity_Kronit* theItem);

  void ScaleChanged(TObject* Sender);
  void GantAreaWheelScroll(TWMMouseWheel& Msg);
  void PageChange(TObject* Sender);
  void PageChanging(TObject* Sender, bool& AllowChange);
  void LineUpTreeWithArea();
  void _OnPrintResizeFont(TvxOffscreenPaint* theCaller, int& theFontSize, bool& theDefaultResize);

  // Children, in the order they are made.
  TPanel* fPanelTreeHolder = nullptr;
  TvxSplitter* fSplitter = nullptr;
  TPageControl* fPageControl = nullptr;
  TTabSheet* fGantTabSheet = nullptr;
  std::vector<std::unique_ptr<TTabSheetRecord>> fTreeChangeNotifyList;
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
  std::unique_ptr<TvxListController> fKronitListController;
  std::unique_ptr<TvxListController> fLinkDataListController;
  TvxDataList* fLinksDataList = nullptr;
  std::unique_ptr<TFont> fFontTimeItemStyle1;
  std::unique_ptr<TFont> fFontTimeItemStyle2;
  std::unique_ptr<TFont> fFontTimeItemStyle3;

  TLinkStyle fDefaultLinkStyle = tlsDefault;
  TColor fDefaultLinkColor = 0xFF0000;
  int FDefaultLinkPenWidth = 0;
  TCursor FDefaultLinkCursor = crHandPoint;
  // The left sides; fSide is the one in use.
  std::unique_ptr<TGantTreeSide> fTreeSide = std::make_unique<TGantTreeSide>(this);
  std::unique_ptr<TGantGridSide> fGridSide = std::make_unique<TGantGridSide>(this);
  TGantSide* fSide = fTreeSide.get();
  bool fAligning = false;
  // What SetScaleAndTree last set: the scaler reports its change later, and
  // a change the application made itself asks for no alignment.
  struct {
    TDateTime start = 0, stop = 0;
    int width = -1;
  } fApplicationAlign;
  bool AlignedByApplication() const;
  TCursor fCursorGantArea = crArrow;
  bool fMoveInTimeWhenMoveRow = false;
  bool fMoveOver12Then24 = false;
  bool fStartDragWhenTimeMoveOutside = false;
  TTimeItemAutoScroll fTimeItemAutoScroll = ttiaHorzAndVert;
  int fHdcToUseOnNewPage = 0;
  TvxDataEntity_Kronit* fActiveDataEntity = nullptr;
  // The rows' layouts: how many are pending or paused, and their resuming.
  std::unique_ptr<TLayoutJobGroup> fLayoutJobs = std::make_unique<TLayoutJobGroup>(ResumeBelowThreads);
  int fRowDrawOffset = 0;
  std::unique_ptr<TBitmap> fGantBitMap;
  TDateTime fStartScaleWhenDrawn = 0;
  std::vector<double> fScaleLinePixels;  // the scale lines of a paint, kept to spare allocations
  // The shown items of the row being drawn, by their left edges: the room of
  // the texts beside them.
  std::vector<TRect> fRowItemRects;
  const TGantRow* fRoomRow = nullptr;
  std::unique_ptr<TSnapHandler> fSnap;
  TGantStickyMode fLocalStickyMode = smNone;
  TGraphHintWindow* fHint = nullptr;
  // The gestures on the items: held items, outlines, edge scrolling.
  std::unique_ptr<TGantGesture> fGesture;
  TWheelConvention fWheelConvention = wcClassic;
  TWheelSteps fWheelRows;
};

class TvxGant : public TvxGant_ComBasic {
public:
  using TvxGant_ComBasic::TvxGant_ComBasic;

protected:
  TvxGant(TComponent* AOwner, DeferInitialize theTag) : TvxGant_ComBasic(AOwner, theTag) {}
};

}  // namespace vx
