// Gantt rows: their layers, their band on screen, their sub-column layout;
// and the row list that keeps a row for every node of the left side.
#include <algorithm>
#include <cmath>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/ui/Forms.h>

namespace vx {

int TGantRow::InlineLayoutLimit = 200;

// --- a row ----------------------------------------------------------------------------

TGantRow::TGantRow(TGantRowList* theRowList, TvxDataEntity_Tree* theTreeNode,
                   TvxDataEntity_GridTreeNode* theGridTreeNode)
    : fGridTreeNode(theGridTreeNode), fTreeNode(theTreeNode), fGantRowList(theRowList), fGant(theRowList->GetGant()) {
  fDataListList = fGant->CreateDataList2Lev();
  fDataListList->AfterCreate();
  fDataListList->SetOnMissingIndex(
      [this](TvxExposable* caller, int index, bool& fixable) { OnMissingIndex(caller, index, fixable); });
  fGant->fAllDataEntities->Add(fDataListList);
}

TLayoutJob* TGantRow::Layout() {
  // Made at the first layout: most rows of a large plan never lay out.
  if (!fLayout && fGant && !fGant->IsDestroying()) {
    // Rows that find no worker pause until the chart resumes them.
    TLayoutPolicy policy;
    policy.fInlineLimit = &InlineLayoutLimit;
    policy.fWhenBusy = lwbPause;
    fLayout = std::make_unique<TLayoutJob>(static_cast<TLayoutJobClient*>(this), policy, fGant->fLayoutJobs.get());
  }
  return fLayout.get();
}

TGantRow::~TGantRow() = default;

void TGantRow::CleanForFree() {
  fLayout.reset();  // nothing waits or runs for the row any more
  if (fDataListList) {
    if (fGant && fGant->fAllDataEntities) fGant->fAllDataEntities->Remove(fDataListList);
    // The last layer first; each takes its items with it, with their notifications.
    while (fDataListList->Count() > 0) {
      const int last = fDataListList->Count() - 1;
      TvxDataList* layer = fDataListList->GetDataList(last);
      fDataListList->Delete(last);
      if (layer) layer->FreeWheneverPossible();
    }
    fDataListList->FreeWheneverPossible();
    fDataListList = nullptr;
  }
  fTreeNode = nullptr;
  fGridTreeNode = nullptr;
  fGantRowList = nullptr;
  fGant = nullptr;
}

TvxDataList_GantRow* TGantRow::AddDataList() {
  TvxDataList_GantRow* layer = fGant->CreateDataList_GantRow();
  layer->AfterCreate(fGant->GetKronitListController(), fGant->GetClassOfDataEntity_Kronit());
  layer->fRow = this;
  fDataListList->Add(layer);
  return layer;
}

void TGantRow::OnMissingIndex(TvxExposable* theCaller, int theIndex, bool& theFixable) {
  if (theCaller != fDataListList || theIndex < 0 || theIndex >= TvxGant_ComBasic::MostLayers) return;
  theFixable = true;
  while (fDataListList->Count() <= theIndex) AddDataList();
}

TvxDataList_GantRow* TGantRow::GetLayer(int i) const {
  if (!fDataListList || i < 0 || i >= fDataListList->Count()) return nullptr;
  return static_cast<TvxDataList_GantRow*>(fDataListList->GetDataList(i));
}

int TGantRow::IndexOfLayer(const TvxDataList* theList) const {
  auto* layer = dynamic_cast<const TvxDataList_GantRow*>(theList);
  if (!layer || layer->fRow != this) return -1;
  return fDataListList->IndexOf(const_cast<TvxDataList_GantRow*>(layer));
}

void TGantRow::DataListOnSubCol(int theLayer, int theSubCol) noexcept {
  if (theLayer >= 0 && theLayer < MaxLayerSubCols) fDataListIndexSubColArray[theLayer] = theSubCol;
}

int TGantRow::GetDataListSubCol(int theLayer) const noexcept {
  return theLayer >= 0 && theLayer < MaxLayerSubCols ? fDataListIndexSubColArray[theLayer] : 0;
}

bool TGantRow::GetVisible() const {
  if (fTreeNode) return fTreeNode->GetVisible();
  TAxisContentItem* item = fGridTreeNode ? fGridTreeNode->GetAxisContentItem() : nullptr;
  return item && item->GetIsOnScreen() && fGridTreeNode->GetVisible();
}

void TGantRow::UpdateRect() {
  // Rows of the side not shown have no band.
  TRect r = fGant ? fGant->ShownSide()->RowBand(this) : NoRect();
  if (r.Bottom != -1 && !r.IsEmpty()) {
    r.Left = 0;
    r.Right = fGant->fGA ? fGant->fGA->GetWidth() : 0;
    if (fTreeNode && r.Bottom - r.Top > 0) fGant->fBackGroundHeight = r.Bottom - r.Top;
    r.Top -= fGant->fRowDrawOffset;
    r.Bottom -= fGant->fRowDrawOffset;
  } else {
    r = NoRect();
  }
  fRect = r;
}

// --- collision layout -----------------------------------------------------------------

void TGantRow::SetCollisionDetection(bool theValue) {
  if (theValue == fCollisionDetection) return;
  fCollisionDetection = theValue;
  if (theValue) {
    UpdateSubColumns();
  } else {
    // Nothing to lay out any more: what waits or runs goes.
    if (fLayout) fLayout->Cancel();
    fNumOfSubCols = 0;
  }
  if (fGant) fGant->InvalidateGA();
}

void TGantRow::SetCollisionDetectionBetweenLayers(bool theValue) {
  if (theValue == fCollisionDetectionBetweenLayers) return;
  fCollisionDetectionBetweenLayers = theValue;
  UpdateSubColumns();
}

void TGantRow::SetCollisionDetectionPause(bool theValue) {
  // Pausing switches the detection off (LayoutPaused), resuming on again.
  if (!theValue) {
    if (fLayout) fLayout->Resume();
  } else if (fCollisionDetection) {
    if (TLayoutJob* job = Layout()) job->Pause();
  }
}

void TGantRow::UpdateSubColumns() {
  // Rows without collision detection have nothing to lay out.
  if (!fCollisionDetection) return;
  if (TLayoutJob* job = Layout()) job->Request();
}

bool TGantRow::LayoutTake(int& theSize) {
  if (!fCollisionDetection || !fGant) return false;
  theSize = ItemCount();
  return true;
}

void TGantRow::FillHolders(TDistinctTimeHolderList* theList) const {
  // Whole seconds, so that times a hair apart do not make a collision.
  auto second = [](TDateTime t) { return std::round(t / OneSecond) * OneSecond; };
  for (int k = 0; k < GetLayerCount(); ++k) {
    TvxDataList* layer = GetLayer(k);
    const std::string key = fCollisionDetectionBetweenLayers ? std::string() : std::to_string(k);
    for (int i = 0; layer && i < layer->Count(); ++i) {
      auto* item = static_cast<TvxDataEntity_Kronit*>(layer->GetItems(i));
      if (item && item->GetVisible())
        theList->Add(second(item->GetStartDateTime()), second(item->GetStopDateTime()), key, item);
    }
  }
}

void TGantRow::ApplyLayout(TDistinctTimeHolderList* theList) {
  TvxHold hold(this);  // a collision handler may delete the row
  fNumOfSubCols = 0;
  int highest = 0;
  ForEachItem([&](TvxDataEntity_Kronit* item) {
    TDistinctTimeHolder* holder = theList->FindFromReference(item);
    if (!holder) return true;
    int now = holder->GetDistinctPosition();
    if (now != item->fSubCol && fGant && fGant->OnCollisionDetected) {
      item->fSubCol = -1;
      fGant->OnCollisionDetected(fGant, item, now);
      // The handler may have deleted the item (the walk holds it) or the row.
      if (!fGant) return false;
      if (item->IsFreePending() || item->GetRow() != this) return true;
      if (item->fSubCol != -1) now = item->fSubCol;
    }
    item->fSubCol = now;
    highest = std::max(highest, now);
    return fGant != nullptr;
  });
  if (!fGant) return;
  fNumOfSubCols = highest;
  if (fGridTreeNode && fIncreaseRowHeightOnCollision) fGant->GridRowHeightFollows(this);
  fGant->InvalidateGA();
}

// --- the row list ---------------------------------------------------------------------

TGantRowList::TGantRowList(TvxGant_ComBasic* theGant) : fGant(theGant) {}

TGantRowList::~TGantRowList() {
  for (TGantRow* row : fList)
    if (row) row->FreeWheneverPossible();
}

void TGantRowList::CleanForFree() {
  for (auto it = fList.rbegin(); it != fList.rend(); ++it) {
    TGantRow* row = *it;
    *it = nullptr;
    if (row) row->FreeWheneverPossible();
  }
  fList.clear();
  fByNode.Clear();
  fLive = 0;
}

void TGantRowList::Compact() {
  if (fLive == static_cast<int>(fList.size())) return;
  auto kept = std::remove(fList.begin(), fList.end(), nullptr);
  fList.erase(kept, fList.end());
  for (size_t k = 0; k < fList.size(); ++k) fList[k]->fListPos = static_cast<int>(k);
}

TGantRow* TGantRowList::GetGantRow(int i) {
  if (i < 0 || i >= fLive) return nullptr;
  Compact();
  return fList[static_cast<size_t>(i)];
}

int TGantRowList::IndexOf(const TGantRow* theRow) {
  if (!theRow) return -1;
  Compact();
  const int pos = theRow->fListPos;
  return pos >= 0 && pos < static_cast<int>(fList.size()) && fList[static_cast<size_t>(pos)] == theRow ? pos : -1;
}

void TGantRowList::ForEachRow(const std::function<void(TGantRow*)>& f) {
  Compact();
  for (size_t k = 0; k < fList.size(); ++k)
    if (TGantRow* row = fList[k]) f(row);
}

TGantRow* TGantRowList::AddRow(TvxDataEntity_Tree* theTreeNode, TvxDataEntity_GridTreeNode* theGridTreeNode) {
  TGantRow* row = nullptr;
  if (fGant->OnUserCreateGantRow) fGant->OnUserCreateGantRow(this, theTreeNode, theGridTreeNode, row);
  if (!row) row = fGant->CreateRow(theTreeNode, theGridTreeNode);
  if (!row) return nullptr;
  // Compacting when half the slots are empty keeps removals and appends
  // constant on average.
  if (fList.size() > 64 && static_cast<size_t>(fLive) * 2 < fList.size()) Compact();
  row->fListPos = static_cast<int>(fList.size());
  fList.push_back(row);
  ++fLive;
  if (theTreeNode)
    fByNode.Set(theTreeNode, row);
  else if (theGridTreeNode)
    fByNode.Set(theGridTreeNode, row);
  if (fGant->OnAfterAddGantRow) fGant->OnAfterAddGantRow(this, row);
  return row;
}

void TGantRowList::Unlist(TGantRow* theRow) {
  const int pos = theRow->fListPos;
  if (pos >= 0 && pos < static_cast<int>(fList.size()) && fList[static_cast<size_t>(pos)] == theRow) {
    fList[static_cast<size_t>(pos)] = nullptr;
    --fLive;
  }
  for (const void* node : {static_cast<const void*>(theRow->fTreeNode), static_cast<const void*>(theRow->fGridTreeNode)}) {
    TGantRow** found = fByNode.Find(node);
    if (found && *found == theRow) fByNode.Erase(node);
  }
}

void TGantRowList::RemoveRow(TvxDataEntity_Tree* theTreeNode, TvxDataEntity_GridTreeNode* theGridTreeNode) {
  TGantRow* row = theTreeNode ? FindRowFromTreeNode(theTreeNode) : FindRowFromGridNode(theGridTreeNode);
  if (!row) return;
  if (fGant->OnBeforeFreeGantRow) fGant->OnBeforeFreeGantRow(this, row);
  Unlist(row);
  // The rows after it move up: the ids of their items change meaning.
  if (!fGant->IsDestroying() && fGant->GetGA()) fGant->GetGA()->NotifyAccessibleReset();
  row->FreeWheneverPossible();
}

TGantRow* TGantRowList::FindRowFromY(int y) {
  return fGant->GetSide()->RowAt(y);
}

TGantRow* TGantRowList::FindRowFromTreeNode(const TvxDataEntity_Tree* theNode) const {
  if (!theNode) return nullptr;
  TGantRow* const* found = fByNode.Find(theNode);
  return found && (*found)->fTreeNode == theNode ? *found : nullptr;
}

TGantRow* TGantRowList::FindRowFromGridNode(const TvxDataEntity_GridTreeNode* theNode) const {
  if (!theNode) return nullptr;
  TGantRow* const* found = fByNode.Find(theNode);
  return found && (*found)->fGridTreeNode == theNode ? *found : nullptr;
}

TGantRow* TGantRowList::FindRowFromUntypedNode(TvxDataEntity* theNode) const {
  if (!theNode) return nullptr;
  if (auto* treeNode = dynamic_cast<TvxDataEntity_Tree*>(theNode)) return FindRowFromTreeNode(treeNode);
  // Otherwise a grid node: rows are found by the node's address.
  TGantRow* const* found = fByNode.Find(static_cast<const void*>(theNode));
  return found && static_cast<const void*>((*found)->fGridTreeNode) == theNode ? *found : nullptr;
}

TGantRow* TGantRowList::FindRowFromTreeNodeDataEntityUserReference(void* theReference) {
  TGantRow* found = nullptr;
  ForEachRow([&](TGantRow* row) {
    TvxDataEntity* node = row->fTreeNode ? static_cast<TvxDataEntity*>(row->fTreeNode) : row->fGridTreeNode;
    if (node && node->GetUserReference() == theReference) found = row;
  });
  return found;
}

}  // namespace vx
