// The grid tree and virtual loading: rows of its grid cell that load and
// unload, and nodes that load into and unload from their lists.
#include <algorithm>

#include <vxplan/grid/vxGridTree.h>
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {

namespace {

TvxDataEntity_GridTreeNode* AsNode(TObject* o) { return dynamic_cast<TvxDataEntity_GridTreeNode*>(o); }

}  // namespace

TvxDataEntity_GridTreeNode* TvxDataEntity_GridTreeNode::Root() {
  TvxDataEntity_GridTreeNode* node = this;
  while (TvxDataEntity_GridTreeNode* parent = node->ParentNode()) node = parent;
  return node;
}

// Rows that come back stand for root nodes only: a child's row is dropped for
// good when it unloads. So the node of a reloaded row is the root next to the
// root of its neighbour on the side of the loaded window.
void TvxGridTree::_OnGridRowReload(TAxisContentItem* theItem) {
  TAxisContentList* rows = Rows();
  if (!rows || !theItem) return;
  TFlagScope reload(fGridReload);
  const int p = theItem->LoadedListIndex();
  TvxDataEntity_GridTreeNode* node = nullptr;
  bool hasNeighbour = false;
  if (rows->GetLoadOperationInFront()) {
    if (TvxDataEntity_GridTreeNode* next = NodeOfRow(rows->getLoadedAxisContentItem(p + 1))) {
      hasNeighbour = true;
      node = next->Root()->Sibling(-1);
    }
  } else if (p - 1 >= rows->FixedLoaded()) {
    if (TvxDataEntity_GridTreeNode* prev = NodeOfRow(rows->getLoadedAxisContentItem(p - 1))) {
      hasNeighbour = true;
      node = prev->Root()->Sibling(1);
    }
  }
  if (!hasNeighbour && fRootDataEntities->Count() > 0) {
    const int i = std::clamp(theItem->ListIndex() - rows->GetFixedItems(), 0, fRootDataEntities->Count() - 1);
    node = AsNode(fRootDataEntities->GetItems(i));
  }
  if (!node) throw Exception("No loadeditem found");
  if (node->fAxisContentItem) throw Exception("Unloaded or loaded?");
  theItem->SetValue(node);
  theItem->SetValue2(node);
  node->fAxisContentItem = theItem;
  theItem->SetHide(!node->IsVisible());
  if (node->GetSubDataListCount() > 0 &&
      std::find(fPendingRestore.begin(), fPendingRestore.end(), node) == fPendingRestore.end()) {
    fPendingRestore.push_back(node);
    TDoLater::DoLater(DoLaterCall<&TvxGridTree::RestoreRowsAsync>(this), nullptr);
  }
}

void TvxGridTree::RestoreRowsAsync(TObject*) {
  std::vector<TvxDataEntity_GridTreeNode*> pending;
  pending.swap(fPendingRestore);
  for (TvxDataEntity_GridTreeNode* node : pending)
    if (node->fAxisContentItem) RestoreSubtree(node);
}

void TvxGridTree::RestoreSubtree(TvxDataEntity_GridTreeNode* theNode) {
  TvxDataList* sub = theNode->fSubDataList;
  for (int i = 0; sub && i < sub->Count(); ++i) {
    // Loading a child gives it its row already.
    auto* child = AsNode(sub->GetItems(i));
    if (!child) continue;
    if (!child->fAxisContentItem) child->InitGridRow();
    RestoreSubtree(child);
  }
}

void TvxGridTree::ForgetPending(TvxDataEntity_GridTreeNode* theNode) {
  fPendingRestore.erase(std::remove(fPendingRestore.begin(), fPendingRestore.end(), theNode), fPendingRestore.end());
}

void TvxGridTree::_OnGridRowUnload(TAxisContentItem* theItem, bool UnloadPerform, bool&) {
  if (!UnloadPerform || !theItem) return;
  TFlagScope unload(fGridUnload);
  if (TvxDataEntity_GridTreeNode* node = ForgetRow(theItem))
    if (TvxDataList* list = node->GetDataList()) list->Purge();
}

void TvxGridTree::_OnGridRowRemoved(TAxisContentItem* theItem) { ForgetRow(theItem); }

TvxDataEntity_GridTreeNode* TvxGridTree::ForgetRow(TAxisContentItem* theItem) {
  TvxDataEntity_GridTreeNode* node = NodeOfRow(theItem);
  theItem->SetValue2(nullptr);
  theItem->SetValue(nullptr);
  if (!node || node->fAxisContentItem != theItem) return nullptr;
  node->fAxisContentItem = nullptr;
  return node;
}

void TvxGridTree::_OnKeepGridRowAfterUnload(TAxisContentItem* theItem, bool& KeepAfterUnload) {
  TvxDataEntity_GridTreeNode* node = NodeOfRow(theItem);
  KeepAfterUnload = !node || !node->ParentNode();
}

void TvxGridTree::_OnUnloadIntervall(TAxisContentItem* theItem, int& Start, int& Stop) {
  TAxisContentList* rows = Rows();
  TvxDataEntity_GridTreeNode* node = NodeOfRow(theItem);
  if (!rows || !node) return;
  TvxDataEntity_GridTreeNode* root = node->Root();
  const int firstLoaded = rows->FixedLoaded() + rows->GetUnloadedPreCount();
  const int lastLoaded = rows->GetUnloadedPreCount() + rows->LoadedCount() - 1;
  Start = root->fAxisContentItem ? root->fAxisContentItem->ListIndex() : firstLoaded;
  Stop = lastLoaded;
  // The next root, without loading it.
  TvxDataList* list = root->GetDataList();
  const int next = root->ListIndex() + 1;
  if (list && next < list->Count() && list->IsLoaded(next))
    if (auto* nextRoot = AsNode(list->GetLoaded(next - list->GetUnloadedPreCount())); nextRoot && nextRoot->fAxisContentItem)
      Stop = nextRoot->fAxisContentItem->ListIndex() - 1;
  Stop = std::max(Stop, Start);
}

void TvxGridTree::_OnDeleteOfUnloaded(TAxisContentList* theRowList, int theStart, int theStop) {
  TAxisContentList* rows = Rows();
  if (!rows || theRowList != rows) return;
  // Only root entries that are unloaded themselves: a loaded node keeps its row.
  const int fixed = rows->GetFixedItems();
  for (int i = theStop - fixed; i >= theStart - fixed; --i)
    if (i >= 0 && i < fRootDataEntities->Count() && !fRootDataEntities->IsLoaded(i)) fRootDataEntities->Delete(i);
}

void TvxGridTree::_OnLoadItem(TvxDataEntity* e) {
  auto* node = AsNode(e);
  if (!node) return;
  if (fGridReload == 0 && node->ParentNode()) {
    node->InitGridRow();
    node->UpdateVisibility();
  }
  Raise(ieLoad, node);
}

void TvxGridTree::_OnUnloadItem(TvxDataEntity* e, bool& CanUnload) {
  auto* node = AsNode(e);
  CanUnload = false;
  if (!node || node->fAxisContentItem) return;
  TvxDataList* sub = node->fSubDataList;
  CanUnload = !sub || sub->LoadedCount() == 0;
  if (CanUnload) Raise(ieUnload, node);
}

}  // namespace vx
