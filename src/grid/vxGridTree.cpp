// The grid tree: nodes in data lists, their rows in a grid cell's row axis,
// and the integration events through which a chart follows them.
#include <vxplan/grid/vxGridTree.h>

#include <algorithm>

#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/rtl/Exception.h>

namespace vx {

namespace {

TvxDataList_GridTree* TreeList(const TvxDataEntity* e) {
  return e ? dynamic_cast<TvxDataList_GridTree*>(e->GetDataList()) : nullptr;
}

TvxDataEntity_GridTreeNode* AsNode(TObject* o) { return dynamic_cast<TvxDataEntity_GridTreeNode*>(o); }

// Loaded children only: walking the tree never loads a node.
template <class F>
void ForEachLoadedChild(TvxDataList* theList, F&& f) {
  if (!theList) return;
  for (int p = 0; p < theList->LoadedCount(); ++p)
    if (auto* child = AsNode(theList->GetLoaded(p))) f(child);
}

}  // namespace

// ---------------------------------------------------------------- the lists

void TvxDataList_GridTree::AddUnloaded(int theCount) {
  TvxDataList::AddUnloaded(theCount);
  if (theCount < 1 || fOwningDataEntity || !fGridTree) return;
  if (TAxisContentList* rows = fGridTree->Rows()) rows->AddUnloaded(theCount);
}

// ---------------------------------------------------------------- a node

void TvxDataEntity_GridTreeNode::AfterCreate(TvxDataList* theDataList) {
  TvxDataEntity::AfterCreate(theDataList);
  fCanEdit = true;
}

void TvxDataEntity_GridTreeNode::CleanForFree() {
  // Children go first, while their parent is still whole.
  if (fSubDataList) {
    if (TvxGridTree* tree = GetGridTree())
      tree->DeInitSubList(this);
    else {
      TvxDataList_GridTree* sub = fSubDataList;
      fSubDataList = nullptr;
      sub->FreeWheneverPossible();
    }
  }
  TvxGridTree* tree = GetGridTree();
  if (tree) tree->ForgetPending(this);
  TvxDataEntity::CleanForFree();
  DropRow();
  fIntegrationCookie = nullptr;
}

void TvxDataEntity_GridTreeNode::DropRow() {
  TAxisContentItem* item = fAxisContentItem;
  if (!item) return;
  fAxisContentItem = nullptr;
  if (TvxGridTree::NodeOfRow(item) == this) {
    item->SetValue2(nullptr);
    item->SetValue(nullptr);
  }
  if (TAxisContentList* rows = item->GetAxisContentList()) rows->Drop(item->ListIndex());
}

TvxDataEntity_GridTreeNode* TvxDataEntity_GridTreeNode::ParentNode() const {
  TvxDataList_GridTree* list = TreeList(this);
  return list ? list->fOwningDataEntity : nullptr;
}

int TvxDataEntity_GridTreeNode::GetLevel() const {
  int level = 0;
  for (const TvxDataEntity_GridTreeNode* p = ParentNode(); p; p = p->ParentNode()) ++level;
  return level;
}

TvxGridTree* TvxDataEntity_GridTreeNode::GetGridTree() const {
  TvxDataList_GridTree* list = TreeList(this);
  return list ? list->fGridTree : nullptr;
}

TvxDataList_GridTree* TvxDataEntity_GridTreeNode::GetSubDataList() {
  if (fSubDataList) return fSubDataList;
  TvxGridTree* tree = GetGridTree();
  if (!tree) return nullptr;
  TvxDataList_GridTree* list = tree->CreateDataList_GridTree();
  tree->Initialise(list, this);
  fSubDataList = list;
  tree->fAllSubLists->Add(list);
  return list;
}

int TvxDataEntity_GridTreeNode::GetSubDataListCount() const { return fSubDataList ? fSubDataList->Count() : 0; }

TvxDataEntity_GridTreeNode* TvxDataEntity_GridTreeNode::Sibling(int theDelta) {
  TvxDataList* list = GetDataList();
  if (!list) return nullptr;
  const int i = ListIndex() + theDelta;
  return i >= 0 && i < list->Count() ? AsNode(list->GetItems(i)) : nullptr;
}

TvxDataEntity_GridTreeNode* TvxDataEntity_GridTreeNode::LastDescendant() {
  TvxDataEntity_GridTreeNode* node = this;
  while (node->GetSubDataListCount() > 0) {
    auto* last = AsNode(node->fSubDataList->GetItems(node->fSubDataList->Count() - 1));
    if (!last) break;
    node = last;
  }
  return node;
}

TvxDataEntity_GridTreeNode* TvxDataEntity_GridTreeNode::GetNext() {
  if (GetSubDataListCount() > 0) return AsNode(fSubDataList->GetItems(0));
  for (TvxDataEntity_GridTreeNode* node = this; node; node = node->ParentNode())
    if (TvxDataEntity_GridTreeNode* next = node->Sibling(1)) return next;
  return nullptr;
}

TvxDataEntity_GridTreeNode* TvxDataEntity_GridTreeNode::GetPrev() {
  if (TvxDataEntity_GridTreeNode* prev = Sibling(-1)) return prev->LastDescendant();
  return ParentNode();
}

TvxDataEntity_GridTreeNode* TvxDataEntity_GridTreeNode::GetNextVisible() {
  TvxDataEntity_GridTreeNode* node = GetNext();
  while (node && !node->IsVisible()) {
    // Below a node that does not show, nothing shows.
    TvxDataEntity_GridTreeNode* last = node->LastDescendant();
    node = last->GetNext();
  }
  return node;
}

TvxDataEntity_GridTreeNode* TvxDataEntity_GridTreeNode::GetPrevVisible() {
  TvxDataEntity_GridTreeNode* node = GetPrev();
  while (node && !node->IsVisible()) node = node->GetPrev();
  return node;
}

bool TvxDataEntity_GridTreeNode::IsVisible() const {
  if (fHideNode) return false;
  const TvxDataEntity_GridTreeNode* parent = ParentNode();
  return !parent || (parent->fExpanded && parent->IsVisible());
}

void TvxDataEntity_GridTreeNode::SetExpanded(bool theValue) {
  if (theValue == fExpanded) return;
  // The handlers asked here may free the node (or everything).
  TvxHold hold(this);
  TvxGridTree* tree = GetGridTree();
  bool allow = true;
  if (tree) {
    if (theValue)
      tree->_OnExpand(this, allow);
    else
      tree->_OnCollapse(this, allow);
  }
  if (!allow || hold.Gone()) return;
  fExpanded = theValue;
  if (theValue && !fSubDataListInitiated && tree) {
    fSubDataListInitiated = true;
    tree->_InitSubDataList(this);
    if (hold.Gone()) return;
  }
  UpdateVisibility();
}

void TvxDataEntity_GridTreeNode::SetImageIndex(int theValue) {
  if (theValue == fImageIndex) return;
  fImageIndex = theValue;
  if (TvxGridTree* tree = GetGridTree()) tree->RepaintCells();
}

void TvxDataEntity_GridTreeNode::SetSelectedIndex(int theValue) {
  if (theValue == fSelectedIndex) return;
  fSelectedIndex = theValue;
  if (TvxGridTree* tree = GetGridTree()) tree->RepaintCells();
}

void TvxDataEntity_GridTreeNode::InitGridRow() {
  TvxGridTree* tree = GetGridTree();
  TAxisContentList* rows = tree ? tree->Rows() : nullptr;
  if (!rows || fAxisContentItem) return;
  TvxDataEntity_GridTreeNode* prev = GetPrev();
  int at = rows->GetFixedItems();
  if (prev) {
    if (!prev->fAxisContentItem) {
      rows->AddUnloaded(1);  // the predecessor is not loaded: nor is this row
      return;
    }
    at = prev->fAxisContentItem->ListIndex() + 1;
  }
  TAxisContentItem* item = rows->InsertNew(at, this);
  if (!item) return;
  item->SetValue2(this);
  fAxisContentItem = item;
  item->SetHide(!IsVisible());
}

void TvxDataEntity_GridTreeNode::UpdateVisibility() {
  const TvxDataEntity_GridTreeNode* parent = ParentNode();
  ApplyVisibility(!parent || (parent->fExpanded && parent->IsVisible()));
}

void TvxDataEntity_GridTreeNode::ApplyVisibility(bool theParentShows) {
  const bool shows = theParentShows && !fHideNode;
  if (fAxisContentItem) fAxisContentItem->SetHide(!shows);
  SetVisible(shows);
  ForEachLoadedChild(fSubDataList, [&](TvxDataEntity_GridTreeNode* child) { child->ApplyVisibility(shows && fExpanded); });
}

// ---------------------------------------------------------------- the tree

TvxGridTree::TvxGridTree(TOnTreeControllerCallBackInitSubList theInitSubList)
    : fTreeControllerCallBackInitSubList(std::move(theInitSubList)) {
  Initialize();
}

TvxGridTree::TvxGridTree(TOnTreeControllerCallBackInitSubList theInitSubList, DeferInitialize)
    : fTreeControllerCallBackInitSubList(std::move(theInitSubList)) {}

void TvxGridTree::Initialize() {
  if (fRootDataEntities) return;
  fAllSubLists = CreateDataList2Lev();
  fAllSubLists->AfterCreate();
  fListController = std::make_unique<TvxListController>();
  TvxListController& c = *fListController;
  c.fDeleteItem = [this](TvxDataEntity* e) { _DeleteItem(e); };
  c.fInsertItem = [this](TvxDataEntity* e) { _InsertItem(e); };
  c.fOnSelectionChanged = [this](TvxDataList* l, TvxDataEntity* e) { _SelectionChanged(l, e); };
  c.fOnContentChanged = [this](TvxDataList* l) { _ContentChanged(l); };
  c.fOnUnLoadedContentChanged = [this](TvxDataList* l) { _OnUnLoadedContentChanged(l); };
  c.fOnSortCompare = [this](TvxDataEntity* a, TvxDataEntity* b) { return _SortCompare(a, b); };
  c.fOnVisibleChanged = [this](TvxDataEntity* e) { _OnVisibleChanged(e); };
  c.fOnHandlePerformedMove = [this](TvxDataEntity* e, int a, int b) { _OnHandlePerformedMove(e, a, b); };
  c.fOnEnterOwnerAfterChange = [this](TvxDataEntity* e) { _OnEnterOwnerAfterChange(e); };
  c.fOnLoadItem = [this](TvxDataEntity* e) { _OnLoadItem(e); };
  c.fOnUnLoadItem = [this](TvxDataEntity* e, bool& can) { _OnUnloadItem(e, can); };
  fRootDataEntities = CreateDataList_GridTree();
  Initialise(fRootDataEntities, nullptr);
}

TvxGridTree::~TvxGridTree() {
  TDoLater::NeverMind(DoLaterCall<&TvxGridTree::RestoreRowsAsync>(this));
  fPendingRestore.clear();
  if (fRootDataEntities) fRootDataEntities->FreeWheneverPossible();
  fRootDataEntities = nullptr;
  if (fAllSubLists) fAllSubLists->FreeWheneverPossible();
  fAllSubLists = nullptr;
  fListController.reset();
}

void TvxGridTree::Initialise(TvxDataList_GridTree* theList, TvxDataEntity_GridTreeNode* theOwner) {
  theList->fGridTree = this;
  theList->fOwningDataEntity = theOwner;
  theList->AfterCreate(fListController.get(), GetClassOfDataEntity_GridTreeNode());
}

TvxDataList_GridTree* TvxGridTree::CreateDataList_GridTree() { return new TvxDataList_GridTree(); }

TvxDataList2lev* TvxGridTree::CreateDataList2Lev() { return new TvxDataList2lev(); }

TvxDataEntityClass TvxGridTree::GetClassOfDataEntity_GridTreeNode() {
  return TvxDataEntityClass::Of<TvxDataEntity_GridTreeNode>();
}

TvxDataEntity_GridTreeNode* TvxGridTree::AddDataEntity(TvxDataEntity_GridTreeNode* theParent) {
  TvxDataList* list = theParent ? static_cast<TvxDataList*>(theParent->GetSubDataList()) : fRootDataEntities;
  return list ? AsNode(list->Add()) : nullptr;
}

TvxDataEntity_GridTreeNode* TvxGridTree::InsertDataEntity(TvxDataEntity_GridTreeNode* theParent, int theIndex) {
  TvxDataList* list = theParent ? static_cast<TvxDataList*>(theParent->GetSubDataList()) : fRootDataEntities;
  return list ? AsNode(list->Insert(theIndex)) : nullptr;
}

void TvxGridTree::RemoveDataEntity(TvxDataEntity_GridTreeNode* theNode) {
  if (theNode && theNode->GetDataList()) theNode->GetDataList()->Remove(theNode);
}

void TvxGridTree::SetExpandedState(TvxDataList* theList, bool theValue) {
  if (!theList) return;
  // Expanding is heard: the list and the node at hand are held.
  TvxHold list(theList);
  for (int i = 0; i < theList->Count() && !list.Gone(); ++i) {
    auto* node = AsNode(theList->GetItems(i));
    if (!node) continue;
    TvxHold hold(node);
    SetExpandedState(node->fSubDataList, theValue);
    if (!hold.Gone()) node->SetExpanded(theValue);
  }
}

void TvxGridTree::IntegrationTargetInvalidate() { Raise(ieInvalidate, nullptr); }

void TvxGridTree::DeInitSubList(TvxDataEntity_GridTreeNode* theNode) {
  if (!theNode || !theNode->fSubDataList) return;
  TvxDataList_GridTree* sub = theNode->fSubDataList;
  if (fAllSubLists) fAllSubLists->Remove(sub);
  sub->Clear();
  theNode->fSubDataList = nullptr;
  sub->FreeWheneverPossible();
}

void TvxGridTree::CleanNode(TvxDataList* theList) {
  ForEachLoadedChild(theList, [this](TvxDataEntity_GridTreeNode* node) {
    node->fAxisContentItem = nullptr;
    CleanNode(node->fSubDataList);
  });
}

void TvxGridTree::DetachGridCell() {
  CleanNode(fRootDataEntities);
  fGridCell = nullptr;
}

TvxDataEntity_GridTreeNode* TvxGridTree::NodeOfRow(const TAxisContentItem* theItem) {
  if (!theItem) return nullptr;
  if (auto* node = AsNode(theItem->GetValue2())) return node;
  // A row still being made holds its node as its value only.
  return AsNode(theItem->GetValue());
}

void TvxGridTree::Raise(TIntegrationEventKind theKind, TvxDataEntity* theEntity) {
  if (fOnIntegrationEvents) fOnIntegrationEvents(theKind, theEntity);
}

void TvxGridTree::RepaintCells() {
  TBabGridCellForViewer* v = fGridCell ? fGridCell->GetViewerGridCell() : nullptr;
  if (v) v->GetSelectionChangeEvent()->TriggerEvent(fGridCell);
}

// ---------------------------------------------------------------- notifications

void TvxGridTree::_InsertItem(TvxDataEntity* e) {
  auto* node = AsNode(e);
  if (!node) return;
  node->InitGridRow();
  Raise(ieInsert, node);
  if (fOnInsertItem) fOnInsertItem(this, node);
  if (node->GetDataList()) node->UpdateVisibility();
}

void TvxGridTree::_DeleteItem(TvxDataEntity* e) {
  auto* node = AsNode(e);
  if (!node) return;
  if (fOnDeleteItem) fOnDeleteItem(this, node);
  Raise(ieRemove, node);
}

void TvxGridTree::_SelectionChanged(TvxDataList*, TvxDataEntity* e) { Raise(ieSelectionChanged, e); }

void TvxGridTree::_ContentChanged(TvxDataList*) {}

void TvxGridTree::_OnUnLoadedContentChanged(TvxDataList* l) {
  if (l != fRootDataEntities || fRootDataEntities->Count() != 0) return;
  if (TAxisContentList* rows = Rows(); rows && !rows->InLoad()) rows->ClearKeepFixedItems();
}

int TvxGridTree::_SortCompare(TvxDataEntity*, TvxDataEntity*) { return -1; }

void TvxGridTree::_OnVisibleChanged(TvxDataEntity* e) { Raise(ieVisibleChanged, e); }

void TvxGridTree::_InitSubDataList(TvxDataEntity_GridTreeNode* theNode) {
  if (fTreeControllerCallBackInitSubList) fTreeControllerCallBackInitSubList(this, theNode);
}

void TvxGridTree::_OnHandlePerformedMove(TvxDataEntity* e, int, int) {
  if (fMoveHold > 0) return;
  if (auto* node = AsNode(e)) HandleMoveOfTreeNode(node);
  Raise(ieMovePerfomed, e);
}

void TvxGridTree::_OnEnterOwnerAfterChange(TvxDataEntity* e) {
  if (auto* node = AsNode(e)) {
    HandleMoveOfTreeNode(node);
    RepaintCells();  // its level, and so its indentation, changed
  }
  Raise(ieMovePerfomed, e);
}

void TvxGridTree::HandleMoveOfTreeNode(TvxDataEntity_GridTreeNode* theNode) {
  TAxisContentList* rows = Rows();
  if (!theNode || !rows || !theNode->fAxisContentItem) return;
  PlaceRow(theNode);
  theNode->UpdateVisibility();
  ForEachLoadedChild(theNode->fSubDataList, [this](TvxDataEntity_GridTreeNode* child) { HandleMoveOfTreeNode(child); });
}

void TvxGridTree::PlaceRow(TvxDataEntity_GridTreeNode* theNode) {
  TAxisContentList* rows = Rows();
  TvxDataEntity_GridTreeNode* prev = theNode->GetPrev();
  int target = rows->GetFixedItems() - 1;
  if (prev) {
    // A predecessor without a row gives no place: the row stays.
    if (!prev->fAxisContentItem) return;
    target = prev->fAxisContentItem->ListIndex();
  }
  const int from = theNode->fAxisContentItem->ListIndex();
  if (from < target) --target;
  if (from != target + 1) rows->Move(from, target + 1);
}

void TvxGridTree::_OnExpand(TvxDataEntity_GridTreeNode* theNode, bool& allow) {
  allow = true;
  if (fOnExpand) fOnExpand(this, theNode, allow);
}

void TvxGridTree::_OnCollapse(TvxDataEntity_GridTreeNode* theNode, bool& allow) {
  allow = true;
  if (fOnCollapse) fOnCollapse(this, theNode, allow);
}

}  // namespace vx
