#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include <vxplan/core/vxPointerMap.h>
#include <vxplan/gantt/vxGantItems.h>
#include <vxplan/timeitems/vxLayoutJob.h>

namespace vx {

// A layer of a Gantt row: a data list of time items that knows its row.
class VX_API TvxDataList_GantRow : public TvxDataList {
public:
  TGantRow* GetRow() const noexcept { return fRow; }
  void CleanForFree() override;

protected:
  ~TvxDataList_GantRow() override = default;

private:
  friend class TGantRow;
  TGantRow* fRow = nullptr;
};

// The band of the Gantt area that belongs to one node of the left side (a
// tree node, or a grid-tree node). It holds the node's time items in layers
// and lays overlapping items out in sub-columns when asked to.
class VX_API TGantRow : public TvxExposable, private TLayoutJobClient {
public:
  static constexpr int MaxLayerSubCols = 10;
  // Rows with at most this many items are laid out on the user-interface
  // thread in the deferred pass: a worker thread costs more than their layout.
  static int InlineLayoutLimit;

  TGantRow(TGantRowList* theRowList, TvxDataEntity_Tree* theTreeNode, TvxDataEntity_GridTreeNode* theGridTreeNode);
  void CleanForFree() override;

  TvxDataList_GantRow* AddDataList();
  void OnMissingIndex(TvxExposable* theCaller, int theIndex, bool& theFixable);
  TvxDataList2lev* GetDataListList() const noexcept { return fDataListList; }
  int GetLayerCount() const noexcept { return fDataListList ? fDataListList->Count() : 0; }
  // Layer i when it exists (never creates it); nil otherwise.
  TvxDataList_GantRow* GetLayer(int i) const;
  // Position of theList among the row's layers; -1 when it is not one.
  int IndexOfLayer(const TvxDataList* theList) const;

  TRect GetRect() const noexcept { return fRect; }
  // The band from the node as the left side shows it now; (-1,-1,-1,-1) off
  // screen.
  void UpdateRect();
  bool GetVisible() const;
  int GetDrawLayerStart() const noexcept { return fDrawLayerStart; }
  void SetDrawLayerStart(int n) noexcept { fDrawLayerStart = n; }
  int GetNumOfSubCols() const noexcept { return fNumOfSubCols; }
  void SetUseSubCols(int n) noexcept { fNumOfSubCols = std::clamp(n, 0, TvxDataEntity_Kronit::MostSubCols); }
  // Places whole layers (0..9) in sub-columns; other layers are ignored.
  void DataListOnSubCol(int theLayer, int theSubCol) noexcept;
  int GetDataListSubCol(int theLayer) const noexcept;

  bool GetCollisionDetection() const noexcept { return fCollisionDetection; }
  void SetCollisionDetection(bool theValue);
  bool GetCollisionDetectionBetweenLayers() const noexcept { return fCollisionDetectionBetweenLayers; }
  void SetCollisionDetectionBetweenLayers(bool theValue);
  bool GetCollisionDetectionPause() const noexcept { return fLayout && fLayout->GetPaused(); }
  void SetCollisionDetectionPause(bool theValue);
  // A layout is waiting, running or being handed back.
  bool IsLayoutPending() const { return fLayout && fLayout->IsPending(); }
  void UpdateSubColumns();
  // The deferred layout itself, and the stop of a running one.
  void UpdateSubColumnsAsync(TObject*) {
    if (fLayout) fLayout->RunNow();
  }
  void CleanUpThread() {
    if (fLayout) fLayout->DropWorker();
  }

  // Item geometry and hit testing.
  void XStartStopFromDataEntity(const TvxDataEntity_Kronit* theItem, int& x1, int& x2) const;
  // The same for theItem at the times theStart and theStop.
  void XFromTimes(const TvxDataEntity_Kronit* theItem, TDateTime theStart, TDateTime theStop, int& x1, int& x2) const;
  bool YStartStopFromDataEntity(const TvxDataEntity_Kronit* theItem, int& y1, int& y2) const;
  bool RectFromDataEntity(TvxDataEntity_Kronit* theItem, TRect& theRect) const;
  TvxDataEntity_Kronit* FindDataEntityFromXY(int x, int y) const;
  TvxDataEntity_Kronit* FindDataEntityFromX(int x) const;
  // Calls f for every item in drawing order (layers from fDrawLayerStart on,
  // wrapping; items in list order), loading unloaded ones; f answers false
  // to stop. Empty layers are skipped.
  void ForEachItem(const std::function<bool(TvxDataEntity_Kronit*)>& f) const;
  // The same, from the last item drawn to the first.
  void ForEachItemReverse(const std::function<bool(TvxDataEntity_Kronit*)>& f) const;
  int ItemCount() const;
  // Draws the row's items that meet the visible time span.
  void DrawContent();

  TvxDataEntity_Tree* GetTreeNode() const noexcept { return fTreeNode; }
  TvxDataEntity_GridTreeNode* GetGridTreeNode() const noexcept { return fGridTreeNode; }
  TGantRowList* GetGantRowList() const noexcept { return fGantRowList; }
  TvxGant_ComBasic* GetGant() const noexcept { return fGant; }

  bool fDragEnable = false;
  bool fTimeItems_CanMove = true;
  bool fTimeItems_CanChangeRow = true;
  bool fTimeItems_CanResize = true;
  TColor fTimeItems_SelectionColor = 0;
  bool fTime_ItemsHasSelectHandles = true;
  bool fTime_ItemsHasFocusRect = true;
  bool fDataListOnSubColUse = true;
  int fIncreaseRowHeightOnCollision_SuggestedHeightPerItem = 0;
  bool fIncreaseRowHeightOnCollision = false;

  void SetTimeItems_CanMove(bool theValue) noexcept { fTimeItems_CanMove = theValue; }
  void SetTimeItems_CanResize(bool theValue) noexcept { fTimeItems_CanResize = theValue; }
  void SetTimeItems_CanChangeRow(bool theValue) noexcept { fTimeItems_CanChangeRow = theValue; }

protected:
  ~TGantRow() override;

private:
  friend class TGantRowList;
  // The row's layout job, made when first needed; nil once the row is cleaned.
  TLayoutJob* Layout();
  bool LayoutTake(int& theSize) override;
  void LayoutFill(TDistinctTimeHolderList* theList) override { FillHolders(theList); }
  void LayoutApply(TDistinctTimeHolderList* theList) override { ApplyLayout(theList); }
  void LayoutPaused(bool thePaused) override { SetCollisionDetection(!thePaused); }
  void FillHolders(TDistinctTimeHolderList* theList) const;
  void ApplyLayout(TDistinctTimeHolderList* theList);

  TvxDataEntity_GridTreeNode* fGridTreeNode;
  TvxDataList2lev* fDataListList = nullptr;
  TvxDataEntity_Tree* fTreeNode;
  TGantRowList* fGantRowList;
  TvxGant_ComBasic* fGant;
  std::unique_ptr<TLayoutJob> fLayout;  // see Layout()
  int fDrawLayerStart = 0;
  TRect fRect = NoRect();
  int fNumOfSubCols = 0;
  int fDataListIndexSubColArray[MaxLayerSubCols] = {};
  bool fCollisionDetection = false;
  bool fCollisionDetectionBetweenLayers = false;
  int fListPos = -1;  // position in the row list
};

// Every row of one chart, in order of creation. Owns the rows.
class VX_API TGantRowList : public TvxExposable {
public:
  explicit TGantRowList(TvxGant_ComBasic* theGant);
  void CleanForFree() override;

  int Count() const noexcept { return fLive; }
  // Nil out of range.
  TGantRow* GetGantRow(int i);
  TGantRow* AddRow(TvxDataEntity_Tree* theTreeNode, TvxDataEntity_GridTreeNode* theGridTreeNode);
  void RemoveRow(TvxDataEntity_Tree* theTreeNode, TvxDataEntity_GridTreeNode* theGridTreeNode);
  // The row of the current left side at y: Top < y < Bottom; nil when none.
  TGantRow* FindRowFromY(int y);
  TGantRow* FindRowFromTreeNode(const TvxDataEntity_Tree* theNode) const;
  TGantRow* FindRowFromGridNode(const TvxDataEntity_GridTreeNode* theNode) const;
  // A tree node's row, or else a grid node's.
  TGantRow* FindRowFromUntypedNode(TvxDataEntity* theNode) const;
  TGantRow* FindRowFromTreeNodeDataEntityUserReference(void* theReference);
  TvxGant_ComBasic* GetGant() const noexcept { return fGant; }
  // theRow's place in the list (as GetGantRow counts); -1 for none of its rows.
  int IndexOf(const TGantRow* theRow);
  // Calls f for every row in list order.
  void ForEachRow(const std::function<void(TGantRow*)>& f);

protected:
  ~TGantRowList() override;

private:
  void Compact();
  void Unlist(TGantRow* theRow);

  TvxGant_ComBasic* fGant;
  std::vector<TGantRow*> fList;  // nil where a row was removed, until compacted
  int fLive = 0;
  TvxPointerMap<TGantRow*> fByNode;  // rows by their tree or grid node
};

}  // namespace vx
