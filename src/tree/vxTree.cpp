#include <vxplan/tree/vxTree.h>

#include <algorithm>
#include <climits>

#include <vxplan/core/vxBeginUpdate.h>
#include <vxplan/core/vxHolding.h>
#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {

namespace {

size_t CharacterCount(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;  // not a UTF-8 continuation byte
  return n;
}

TvxTree_ComBasic* TreeOf(const TTreeNode* node) {
  return node ? dynamic_cast<TvxTree_ComBasic*>(node->GetTreeView()) : nullptr;
}

}  // namespace

// --- nodes -----------------------------------------------------------------------------

TTreeNode_vxSub::~TTreeNode_vxSub() {
  fvxDeleting = true;
  if (TvxDataEntity_Tree* e = TvxTree_ComBasic::GetDataEntityFromNode(this)) {
    if (e->fTreeNode == this) e->fTreeNode = nullptr;
    if (e->fExpanderSubNode == this) e->fExpanderSubNode = nullptr;
  }
  // A placeholder belongs to its parent's entity.
  if (TvxDataEntity_Tree* p = TvxTree_ComBasic::GetDataEntityFromNode(GetParent()))
    if (p->fExpanderSubNode == this) p->fExpanderSubNode = nullptr;
  SetData(nullptr);
  if (TvxTree_ComBasic* tree = TreeOf(this)) {
    if (tree->fUpdating_Selected == this) tree->fUpdating_Selected = nullptr;
    if (tree->fUpdating_TopItem == this) tree->fUpdating_TopItem = nullptr;
    if (tree->fAnchor == this) tree->fAnchor = nullptr;
    if (tree->fLastSelectedItem == this) tree->fLastSelectedItem = nullptr;
    if (tree->fEditNode == this) tree->fEditNode = nullptr;
    tree->fListOfTreeNodesToDelete.erase(this);
  }
}

// --- entities ---------------------------------------------------------------------------

void TvxDataEntity_Tree::AfterCreate(TvxDataList* theDataList) { TvxDataEntity::AfterCreate(theDataList); }

void TvxDataEntity_Tree::CleanForFree() {
  // The delete notifications come first: the tree releases the sub list and
  // the nodes there.
  TvxDataEntity::CleanForFree();
  if (fTreeNode && !fTreeNode->GetDeleting()) fTreeNode->SetData(nullptr);
  fTreeNode = nullptr;
  fSubDataList = nullptr;
  fExpanderSubNode = nullptr;
}

void TvxDataEntity_Tree::SetVisible(bool theValue) {
  TvxDataEntity::SetVisible(theValue);
  if (TvxTree_ComBasic* t = Tree()) t->DisplayOutOfDate();
}

bool TvxDataEntity_Tree::GetVisible() const {
  if (!fTreeNode || !fTreeNode->IsVisible()) return false;
  const TvxDataEntity_Tree* parent = ParentNode();
  return !parent || parent->GetVisible();
}

void TvxDataEntity_Tree::SetText(const std::string& theText) {
  if (CharacterCount(theText) > 255) throw Exception("Treenodes only allow strings smaller than 255 chars");
  fText = theText;
  if (fTreeNode) fTreeNode->SetText(theText);
}

void TvxDataEntity_Tree::SetImageIndex(int theIndex) {
  fImageIndex = theIndex;
  if (fTreeNode) fTreeNode->SetImageIndex(theIndex);
}

void TvxDataEntity_Tree::SetSelectedIndex(int theIndex) {
  fSelectedIndex = theIndex;
  if (fTreeNode) fTreeNode->SetSelectedIndex(theIndex);
}

void TvxDataEntity_Tree::SetExpanded(bool theValue) {
  fExpanded = theValue;
  TvxTree_ComBasic* tree = Tree();
  if (fTreeNode) {
    fTreeNode->SetExpanded(theValue);
  } else if (tree) {
    tree->DisplayOutOfDate();
    if (theValue && !tree->fUpdating && !tree->fExpanding) {
      tree->EnsureDisplayUpToDate();
      tree->DisplayOutOfDate();
    }
  }
}

void TvxDataEntity_Tree::SetFontName(const std::string& theName) {
  FFontName = theName;
  if (TvxTree_ComBasic* t = Tree()) t->Invalidate();
}

void TvxDataEntity_Tree::SetFontStyle(TFontStyles theStyle) {
  FFontStyle = theStyle;
  if (TvxTree_ComBasic* t = Tree()) t->Invalidate();
}

void TvxDataEntity_Tree::Set_HideNode(bool theValue) {
  fHideNode = theValue;
  if (TvxTree_ComBasic* t = Tree()) t->DisplayOutOfDate();
}

TvxDataEntity_Tree* TvxDataEntity_Tree::ParentNode() const {
  auto* list = dynamic_cast<TvxDataList_Tree*>(GetDataList());
  return list ? list->fOwningDataEntity : nullptr;
}

int TvxDataEntity_Tree::GetLevel() const {
  int level = 0;
  for (TvxDataEntity_Tree* p = ParentNode(); p; p = p->ParentNode()) ++level;
  return level;
}

TvxDataList_Tree* TvxDataEntity_Tree::GetSubDataList() const {
  if (fSubDataList) return fSubDataList;
  TvxTree_ComBasic* tree = Tree();
  return tree ? tree->SubListOf(const_cast<TvxDataEntity_Tree*>(this)) : nullptr;
}

TvxTree_ComBasic* TvxDataEntity_Tree::Tree() const {
  TvxDataList* list = GetDataList();
  auto* c = list ? dynamic_cast<TvxListController_Tree*>(list->GetListController()) : nullptr;
  return c ? c->fOwningTree : nullptr;
}

TvxDataEntity_Tree* TvxDataEntity_Tree::GetNextVisible() const {
  if (!fTreeNode) return nullptr;
  return TvxTree_ComBasic::GetDataEntityFromNode(fTreeNode->GetNextVisible());
}

TvxDataEntity_Tree* TvxDataEntity_Tree::GetPrevVisible() const {
  if (!fTreeNode) return nullptr;
  return TvxTree_ComBasic::GetDataEntityFromNode(fTreeNode->GetPrevVisible());
}

void TvxDataEntity_Tree::EditText() {
  if (TvxTree_ComBasic* t = Tree()) {
    t->EnsureDisplayUpToDate();
    if (fTreeNode) fTreeNode->EditText();
  }
}

// --- the control: construction ------------------------------------------------------------

TvxAccessibleContent* TvxTree_ComBasic::AccessibleContent() {
  if (IsDestroying()) return nullptr;
  if (!fAccessible) fAccessible = std::make_unique<TTreeAccessible>(*this);
  return fAccessible.get();
}

TvxTree_ComBasic::TvxTree_ComBasic(TComponent* AOwner)
    : TCustomTreeView(AOwner),
      fClassOfDataList_Tree(TvxDataListClass::Of<TvxDataList_Tree>()),
      fClassOfDataEntity_Tree(TvxDataEntityClass::Of<TvxDataEntity_Tree>()) {
  InitializeInConstructor();
}

void TvxTree_ComBasic::InitializeInConstructor() {
  if (!IsDesigning()) GetItems()->Clear();
  fListOfDataListListInstances = CreateDataList2Lev();
  fMaxLevels = -1;
  SetHideSelection(false);
  fMultiSelect = false;
  fListController = std::make_unique<TvxListController_Tree>();
  TvxListController_Tree& c = *fListController;
  c.fOwningTree = this;
  c.fOnContentChanged = [this](TvxDataList* l) { _ContentChanged(l); };
  c.fOnSelectionChanged = [this](TvxDataList* l, TvxDataEntity* e) { _SelectionChanged(l, e); };
  c.fDeleteItem = [this](TvxDataEntity* e) { _DeleteItem(e); };
  c.fInsertItem = [this](TvxDataEntity* e) { _InsertItem(e); };
  c.fOnEnterOwnerAfterChange = [this](TvxDataEntity* e) { _EnterOwnerAfterChange(e); };
  c.fOnLeaveOwnerBeforeChange = [this](TvxDataEntity* e) { _LeaveOwnerBeforeChange(e); };
  c.fOnInfoPush = [this](TvxDataEntity* e) { _OnInfoPush(e); };
  c.fOnSortCompare = [this](TvxDataEntity* a, TvxDataEntity* b) { return _SortCompare(a, b); };
  c.fBeforeCanEditItem = [this](TvxDataEntity* e) { _OnBeforeCanEditItem(e); };
  c.fOnVisibleChanged = [this](TvxDataEntity* e) { _OnVisibleChanged(e); };
  c.fOnHandlePerformedMove = [this](TvxDataEntity* e, int a, int b) { _OnHandlePerformedMove(e, a, b); };
  c.fOnLoadItem = [this](TvxDataEntity* e) { _LoadItem(e); };
  c.fOnUnLoadItem = [this](TvxDataEntity* e, bool& can) { _UnLoadItem(e, can); };
  fRootDataList = static_cast<TvxDataList_Tree*>(TvxDataList::Create(&c, fClassOfDataEntity_Tree, fClassOfDataList_Tree));
  fListOfDataListListInstances->Add(fRootDataList);
}

TvxTree_ComBasic::TCallOut::~TCallOut() {
  // Nodes that waited for the handlers go at the next synchronisation.
  if (--fTree->fCallingOut == 0 && !fTree->fListOfTreeNodesToDelete.empty() && !fTree->IsDestroying())
    fTree->DisplayOutOfDate();
}

void TvxTree_ComBasic::EditTextChanged() {
  TCallOut callOut(this);
  // While typing, the entity follows the editor.
  if (TvxDataEntity_Tree* e = GetDataEntityFromNode(GetEditNode())) {
    TvxHeld<TvxDataEntity_Tree> held(e);
    e->SetText(GetEditText());
    if (held) e->DoInfoPush();
  }
  TCustomTreeView::EditTextChanged();
}

TvxDataList2lev* TvxTree_ComBasic::CreateDataList2Lev() { return TvxDataList2lev::Create(); }

TvxTree_ComBasic::~TvxTree_ComBasic() {
  fCurrentDataEntity_Async_Mailbox = nullptr;
  TDoLater::NeverMind(DoLaterCall<&TvxTree_ComBasic::DeferredSelect>(this));
  TDoLater::NeverMind(DoLaterCall<&TvxTree_ComBasic::CheckSelectionAfterKey>(this));
  EnsureDisplayUpToDate();
  Destroying();
  Clear();
  fListOfDataListListInstances->Remove(fRootDataList);
  fRootDataList->FreeWheneverPossible();
  fRootDataList = nullptr;
  fListOfDataListListInstances->FreeWheneverPossible();
  fListOfDataListListInstances = nullptr;
  // The view's nodes go while the entities are gone and this object whole.
  GetItems()->Clear();
  fListController.reset();
}

// --- data operations ------------------------------------------------------------------------

TvxDataEntity_Tree* TvxTree_ComBasic::AddDataEntity(TvxDataEntity_Tree* Parent) {
  TvxDataList_Tree* list = Parent ? SubListOf(Parent) : fRootDataList;
  return list ? static_cast<TvxDataEntity_Tree*>(list->Add()) : nullptr;
}

TvxDataEntity_Tree* TvxTree_ComBasic::InsertDataEntity(TvxDataEntity_Tree* Parent, int Index) {
  TvxDataList_Tree* list = Parent ? SubListOf(Parent) : fRootDataList;
  return list ? static_cast<TvxDataEntity_Tree*>(list->Insert(Index)) : nullptr;
}

void TvxTree_ComBasic::RemoveDataEntity(TvxDataEntity_Tree* Entity) {
  if (!Entity || !Entity->GetDataList()) return;
  TvxHeld<TvxDataEntity_Tree> held(Entity);
  if (Entity->fTreeNode && GetSelected() == Entity->fTreeNode) SetSelected(nullptr);  // heard: OnChange
  if (held && Entity->GetDataList()) Entity->GetDataList()->Remove(Entity);
}

void TvxTree_ComBasic::ChangeOwner(TvxDataEntity_Tree* Entity, TvxDataEntity_Tree* NewParent) {
  if (!Entity || !NewParent || Entity == NewParent) return;
  for (TvxDataEntity_Tree* p = NewParent; p; p = p->ParentNode())
    if (p == Entity) return;  // not under itself
  if (TvxDataList_Tree* sub = SubListOf(NewParent)) Entity->ChangeOwner(sub, sub->Count());
}

void TvxTree_ComBasic::Clear() {
  fRootDataList->Clear();  // each entity takes its sub list with it
  fListOfDataListListInstances->Clear();
  FreeRetiredSubLists();
  fListOfDataListListInstances->Add(fRootDataList);
  DisplayOutOfDate();
}

// --- lookups ----------------------------------------------------------------------------

TvxDataEntity_Tree* TvxTree_ComBasic::GetDataEntityFromNode(const TTreeNode* Node) {
  if (!Node || !Node->GetData()) return nullptr;
  return dynamic_cast<TvxDataEntity_Tree*>(static_cast<TObject*>(Node->GetData()));
}

TvxDataEntity_Tree* TvxTree_ComBasic::GetDataEntityAt(int X, int Y) {
  EnsureDisplayUpToDate();
  return GetDataEntityFromNode(GetNodeAt(X, Y));
}

TvxDataEntity_Tree* TvxTree_ComBasic::GetDataEntityFromRow(int Row) {
  EnsureDisplayUpToDate();
  return GetDataEntityFromNode(GetVisibleRow(Row));
}

TRect TvxTree_ComBasic::GetRect(TvxDataEntity_Tree* Entity) {
  EnsureDisplayUpToDate();
  if (!Entity || !Entity->fTreeNode) return NoRect();
  const TRect r = Entity->fTreeNode->DisplayRect(false);
  return r.IsEmpty() ? NoRect() : r;
}

TvxDataEntity_Tree* TvxTree_ComBasic::GetNextVisible(TvxDataEntity_Tree* Entity) {
  EnsureDisplayUpToDate();
  if (!Entity || !Entity->fTreeNode) return Entity;
  return GetDataEntityFromNode(Entity->fTreeNode->GetNextVisible());
}

TvxDataEntity_Tree* TvxTree_ComBasic::GetPrevVisible(TvxDataEntity_Tree* Entity) {
  EnsureDisplayUpToDate();
  if (!Entity || !Entity->fTreeNode) return Entity;
  return GetDataEntityFromNode(Entity->fTreeNode->GetPrevVisible());
}

TvxDataEntity_Tree* TvxTree_ComBasic::GetCurrentDataEntity() {
  EnsureDisplayUpToDate();
  return GetDataEntityFromNode(GetSelected());
}

void TvxTree_ComBasic::SetCurrentDataEntity(TvxDataEntity_Tree* Entity) {
  DisplayOutOfDate();
  fCurrentDataEntity_Async_Mailbox = Entity;
  TDoLater::DoLater(DoLaterCall<&TvxTree_ComBasic::DeferredSelect>(this), nullptr);
}

void TvxTree_ComBasic::DeferredSelect(TObject*) {
  TvxHeld<TvxDataEntity_Tree> held(fCurrentDataEntity_Async_Mailbox);
  fCurrentDataEntity_Async_Mailbox = nullptr;
  EnsureDisplayUpToDate();  // may expand, which is heard
  TvxDataEntity_Tree* e = held.Get();
  if (!e || !e->fTreeNode) return;
  TCallOut callOut(this);
  // As a click on it: the current entity is a selected one.
  if (!e->GetSelected())
    UpdateMultiSelect(e, TShiftState());
  else
    SetSelected(e->fTreeNode);
}

TvxDataEntity_Tree* TvxTree_ComBasic::GetTopDataEntity() {
  EnsureDisplayUpToDate();
  return GetDataEntityFromNode(GetTopItem());
}

void TvxTree_ComBasic::SetTopDataEntity(TvxDataEntity_Tree* Entity) {
  EnsureDisplayUpToDate();
  if (Entity && Entity->fTreeNode) {
    const int x = GetScrollInfo(sbHorizontal).nPos;
    SetTopItem(Entity->fTreeNode);
    SetScrollPos(sbHorizontal, x);  // the horizontal position stays
  }
}

// --- settings -----------------------------------------------------------------------------

void TvxTree_ComBasic::SetAutoExpandLevels(int N) {
  fAutoExpandLevels = N;
  DisplayOutOfDate();
}

void TvxTree_ComBasic::ExpandLevels(int N) {
  const int keep = fAutoExpandLevels;
  fAutoExpandLevels = N;
  EnsureDisplayUpToDate();
  HandleAutoExpand();
  fAutoExpandLevels = keep;
}

void TvxTree_ComBasic::SetDrawGridLines(bool v) {
  FDrawGridLines = v;
  Invalidate();
}

void TvxTree_ComBasic::SetScrollBarVert(bool v) {
  fScrollBarVert = v;
  SetScrollBarVisible(sbVertical, v);
}

void TvxTree_ComBasic::SetScrollBarHorz(bool v) {
  fScrollBarHorz = v;
  SetScrollBarVisible(sbHorizontal, v);
}

bool TvxTree_ComBasic::NeedsDummyNode(TvxDataEntity_Tree*) { return true; }

// --- controller handlers ------------------------------------------------------------------

void TvxTree_ComBasic::SetUpEntity(TvxDataEntity_Tree* entity) {
  SortLater(entity->GetDataList());
  DisplayOutOfDate();
}

TvxDataList_Tree* TvxTree_ComBasic::SubListOf(TvxDataEntity_Tree* entity) {
  if (entity->fSubDataList) return entity->fSubDataList;
  if (IsDestroying() || !fListOfDataListListInstances || !entity->GetDataList()) return nullptr;
  auto* sub = static_cast<TvxDataList_Tree*>(
      TvxDataList::Create(fListController.get(), fClassOfDataEntity_Tree, fClassOfDataList_Tree));
  sub->fOwningDataEntity = entity;
  entity->fSubDataList = sub;
  fListOfDataListListInstances->Add(sub);
  return sub;
}

void TvxTree_ComBasic::_InsertItem(TvxDataEntity* e) {
  auto* entity = dynamic_cast<TvxDataEntity_Tree*>(e);
  if (!entity) return;
  SetUpEntity(entity);
  TCallOut callOut(this);
  DoInsertItem(entity);
}

void TvxTree_ComBasic::_LoadItem(TvxDataEntity* e) {
  auto* entity = dynamic_cast<TvxDataEntity_Tree*>(e);
  if (!entity) return;
  SetUpEntity(entity);
  TCallOut callOut(this);
  if (OnLoadItem) OnLoadItem(this, entity);
}

void TvxTree_ComBasic::_UnLoadItem(TvxDataEntity* e, bool& CanUnload) {
  TCallOut callOut(this);
  if (OnUnLoadItem) OnUnLoadItem(this, e, CanUnload);
}

void TvxTree_ComBasic::_DeleteItem(TvxDataEntity* e) {
  auto* entity = dynamic_cast<TvxDataEntity_Tree*>(e);
  if (!entity) return;
  if (fCurrentDataEntity_Async_Mailbox == entity) fCurrentDataEntity_Async_Mailbox = nullptr;
  {
    TCallOut callOut(this);
    TvxHold hold(entity);
    if (OnDataEntityDelete) OnDataEntityDelete(this, entity);
    DoDeleteItem(entity);
  }
  TvxDataList_Tree* sub = entity->fSubDataList;
  CleanTreeNode(entity);
  if (sub) {
    sub->Clear();  // the children go, each with its own notifications
    entity->fSubDataList = nullptr;
    RetireSubList(sub);
  }
  DisplayOutOfDate();
}

void TvxTree_ComBasic::_OnHandlePerformedMove(TvxDataEntity* e, int, int) {
  // Only the order changed: the sort pass puts the node where it belongs.
  SortLater(e->GetDataList());
  DisplayOutOfDate();
}

void TvxTree_ComBasic::_EnterOwnerAfterChange(TvxDataEntity* e) {
  auto* entity = dynamic_cast<TvxDataEntity_Tree*>(e);
  if (!entity) return;
  TvxDataEntity_Tree* parent = entity->ParentNode();
  if (entity->fTreeNode && parent && parent->fTreeNode && !entity->fHideNode) {
    if (parent->fExpanderSubNode) ScheduleNodeDeletion(parent->fExpanderSubNode);  // it has a child now
    parent->fExpanderSubNode = nullptr;
    entity->fTreeNode->MoveTo(parent->fTreeNode, naAddChild);
    ++fNodeOperations;
  } else if (entity->fTreeNode) {
    CleanTreeNode(entity);  // made again where it belongs at the next synchronisation
  }
  SortLater(entity->GetDataList());
  DisplayOutOfDate();
}

void TvxTree_ComBasic::_LeaveOwnerBeforeChange(TvxDataEntity*) {}

void TvxTree_ComBasic::_OnVisibleChanged(TvxDataEntity*) {}

void TvxTree_ComBasic::_ContentChanged(TvxDataList* l) {
  // A sort, for one, reorders the whole list.
  SortLater(l);
  DisplayOutOfDate();
  TCallOut callOut(this);
  DoContentChanged(l);
}

void TvxTree_ComBasic::_SelectionChanged(TvxDataList* l, TvxDataEntity* e) {
  EnsureDisplayUpToDate();
  Invalidate();  // the node draws its selection
  TCallOut callOut(this);
  DoSelectionChanged(l, e);
}

void TvxTree_ComBasic::_OnInfoPush(TvxDataEntity* e) {
  TCallOut callOut(this);
  DoValueChanged(e);
}

void TvxTree_ComBasic::_OnBeforeCanEditItem(TvxDataEntity* e) {
  TCallOut callOut(this);
  DoBeforeCanEditItem(e);
}

void TvxTree_ComBasic::DoInsertItem(TvxDataEntity_Tree* e) {
  if (OnInsertItem) OnInsertItem(this, e);
}

void TvxTree_ComBasic::DoDeleteItem(TvxDataEntity_Tree* e) {
  if (OnDeleteItem) OnDeleteItem(this, e);
}

void TvxTree_ComBasic::DoContentChanged(TvxDataList* l) {
  if (OnContentChanged) OnContentChanged(this, l);
}

void TvxTree_ComBasic::DoSelectionChanged(TvxDataList* l, TvxDataEntity* e) {
  if (OnSelectionChanged) OnSelectionChanged(this, l, e);
}

void TvxTree_ComBasic::DoValueChanged(TvxDataEntity* e) {
  if (OnValueChanged) OnValueChanged(this, e);
}

void TvxTree_ComBasic::DoBeforeCanEditItem(TvxDataEntity* e) {
  if (OnBeforeCanEditItem) OnBeforeCanEditItem(this, e);
}

int TvxTree_ComBasic::_SortCompare(TvxDataEntity* a, TvxDataEntity* b) {
  TCallOut callOut(this);
  return OnSortCompare ? OnSortCompare(a, b) : 0;
}

// --- synchronisation -------------------------------------------------------------------------

void TvxTree_ComBasic::RetireSubList(TvxDataList_Tree* theList) {
  // Taken out of the holder in one pass later (one by one is a scan each);
  // until then it stays, empty and ownerless, where walks over the holder find it.
  theList->fOwningDataEntity = nullptr;
  theList->fNeedsSort = false;
  if (fListOfDataListListInstances) {
    fRetiredSubLists.push_back(theList);
  } else {
    fListsToSort.clear();  // the tree is going
    theList->FreeWheneverPossible();
  }
}

void TvxTree_ComBasic::FreeRetiredSubLists() {
  if (fRetiredSubLists.empty()) return;
  std::unordered_set<TvxDataList*> retired(fRetiredSubLists.begin(), fRetiredSubLists.end());
  fListOfDataListListInstances->RemoveIf([&retired](TvxDataList* l) { return retired.count(l) > 0; });
  std::erase_if(fListsToSort, [&retired](TvxDataList* l) { return retired.count(l) > 0; });
  std::vector<TvxDataList_Tree*> doomed;
  doomed.swap(fRetiredSubLists);
  for (TvxDataList_Tree* list : doomed) list->FreeWheneverPossible();
}

void TvxTree_ComBasic::DisplayOutOfDate() {
  // A burst of changes needs one repaint request, until the paint comes.
  if (fDisplayOutOfDate && fRepaintAsked) return;
  fDisplayOutOfDate = true;
  fRepaintAsked = true;
  Invalidate();
}

void TvxTree_ComBasic::EnsureDisplayUpToDate() {
  if (!fDisplayOutOfDate || fUpdating || fExpanding || IsDestroying()) return;
  fDisplayOutOfDate = false;
  if (fRealoadOfTreeNodesDetected && fCallingOut == 0) {
    {
      TFlagScope updating(fUpdating);
      GetItems()->Clear();
    }
    fRealoadOfTreeNodesDetected = false;
  }
  // Handlers run by the synchronisation (an expansion filling children) may
  // change the lists again: a few more rounds take those in at once.
  for (int round = 0; round < 4; ++round) {
    fDisplayOutOfDate = false;
    UpdateDisplay();
    if (!fDisplayOutOfDate) break;
  }
  HandleAutoExpand();
}

// Now, unless code around a handler may still walk the nodes (painting
// them, for one): then at the next synchronisation.
void TvxTree_ComBasic::DeleteNodes(const std::vector<TTreeNode*>& theNodes) {
  if (fCallingOut > 1) {
    for (TTreeNode* n : theNodes) ScheduleNodeDeletion(n);
    return;
  }
  fNodeOperations += static_cast<long long>(theNodes.size());
  GetItems()->DeleteNodes(theNodes);
}

void TvxTree_ComBasic::ScheduleNodeDeletion(TTreeNode* Node) {
  if (!Node) return;
  Node->SetData(nullptr);
  // A tree being destroyed clears all its nodes at the end anyway.
  if (!IsDestroying()) fListOfTreeNodesToDelete.insert(Node);
}

void TvxTree_ComBasic::CleanTreeNode(TvxDataEntity_Tree* Entity) {
  if (!Entity) return;
  ScheduleNodeDeletion(Entity->fTreeNode);
  Entity->fTreeNode = nullptr;
  ScheduleNodeDeletion(Entity->fExpanderSubNode);
  Entity->fExpanderSubNode = nullptr;
  if (TvxDataList_Tree* sub = Entity->fSubDataList)
    for (int p = 0; p < sub->LoadedCount(); ++p) CleanTreeNode(static_cast<TvxDataEntity_Tree*>(sub->GetLoaded(p)));
}

void TvxTree_ComBasic::Synchronise(TvxDataEntity_Tree* e, TvxDataEntity_Tree* parent, TvxBeginUpdate& bracket) {
  // Expanding a node is heard (OnExpanding): the handler may free the
  // entity or its children.
  TvxHold hold(e);
  if (e->fHideNode) {
    if (e->fTreeNode || e->fExpanderSubNode) {
      bracket.Mark();
      CleanTreeNode(e);
    }
    return;
  }
  TTreeNode* node = e->fTreeNode;
  bool made = false;  // with the entity's text
  if (!node) {
    bracket.Mark();
    ++fNodeOperations;
    if (parent && parent->fExpanderSubNode) {
      node = parent->fExpanderSubNode;  // the placeholder becomes the first child
      parent->fExpanderSubNode = nullptr;
    } else {
      node = GetItems()->AddChild(parent ? parent->fTreeNode : nullptr, e->fText);
      made = true;
      if (parent && parent->fExpanded && parent->fTreeNode) {
        made = false;  // expanding is heard: the text may change meanwhile
        parent->fTreeNode->SetExpanded(true);
      }
    }
    e->fTreeNode = node;
    // A new node goes last; the sort pass puts it in its place.
    SortLater(e->GetDataList());
  }
  TvxDataList_Tree* sub = e->fSubDataList;
  const bool childless = !sub || sub->Count() == 0;
  if (childless && !e->fExpanderSubNode && !node->HasChildren() && NeedsDummyNode(e) &&
      !(fMaxLevels != -1 && node->GetLevel() >= fMaxLevels - 1)) {
    bracket.Mark();
    ++fNodeOperations;
    e->fExpanderSubNode = GetItems()->AddChild(node, "Not initiated");
  }
  if (node->GetData() != e) node->SetData(e);
  if (!made && node->GetText() != e->fText) node->SetText(e->fText);
  if (node->GetImageIndex() != e->fImageIndex) node->SetImageIndex(e->fImageIndex);
  if (node->GetSelectedIndex() != e->fSelectedIndex) node->SetSelectedIndex(e->fSelectedIndex);
  if (node->GetExpanded() != e->fExpanded && (node->HasChildren() || !e->fExpanded)) {
    bracket.Mark();
    node->SetExpanded(e->fExpanded);
    if (hold.Gone() || e->fTreeNode != node) return;
    sub = e->fSubDataList;
  }
  if (!node->IsVisible() && e->fExpanderSubNode) return;  // nothing below to show yet
  if (!sub) return;
  TvxHold holdSub(sub);
  for (int p = 0; p < sub->LoadedCount() && !hold.Gone() && !holdSub.Gone(); ++p)
    Synchronise(static_cast<TvxDataEntity_Tree*>(sub->GetLoaded(p)), e, bracket);
}

// Only this tree's lists are sorted: they are the ones it frees, and it
// drops them from the waiting ones before they go.
void TvxTree_ComBasic::SortLater(TvxDataList* theList) {
  // The root list, the usual one, is known without a cast.
  auto* list = theList == fRootDataList ? fRootDataList : dynamic_cast<TvxDataList_Tree*>(theList);
  if (!list || list->fNeedsSort || list->GetListController() != fListController.get()) return;
  list->fNeedsSort = true;
  fListsToSort.push_back(list);
}

void TvxTree_ComBasic::SortPass() {
  // Each list orders the children of one node: the order of the lists does
  // not matter, and lists that did not change are not visited.
  std::vector<TvxDataList_Tree*> due;
  due.swap(fListsToSort);
  for (TvxDataList_Tree* list : due) {
    if (!list->fNeedsSort) continue;  // retired since it was marked
    list->fNeedsSort = false;
    if (list->Count() == 0) continue;
    TvxDataEntity_Tree* owner = list->fOwningDataEntity;
    if (owner && !owner->fTreeNode) continue;
    if (NodesInListOrder(list, owner ? owner->fTreeNode : nullptr)) continue;
    // Nodes of entities by list index; anything else (a placeholder) last.
    // The nodes are this tree's: their data is an entity of it or nil.
    const bool moved = GetItems()->SortChildrenByKey(owner ? owner->fTreeNode : nullptr, [](TTreeNode* n) {
      auto* e = static_cast<TvxDataEntity_Tree*>(static_cast<TObject*>(n->GetData()));
      return e ? static_cast<long long>(e->ListIndex()) : static_cast<long long>(INT_MAX) + 1;
    });
    if (moved) ++fNodeOperations;
  }
}

// Whether the nodes under theParent (the roots for nil) already stand in the
// order of theList's entities, the others (placeholders) last: the common
// case, told without reading a list index.
bool TvxTree_ComBasic::NodesInListOrder(TvxDataList_Tree* theList, TTreeNode* theParent) {
  TTreeNodes* nodes = GetItems();
  const int count = theParent ? theParent->Count() : nodes->RootCount();
  const int loaded = theList->LoadedCount();
  int p = 0;
  bool others = false;
  for (int k = 0; k < count; ++k) {
    TTreeNode* n = theParent ? theParent->GetItem(k) : nodes->GetRoot(k);
    auto* e = static_cast<TvxDataEntity_Tree*>(static_cast<TObject*>(n->GetData()));
    if (!e) {
      others = true;
      continue;
    }
    if (others || e->GetDataList() != theList) return false;
    while (p < loaded && theList->GetLoaded(p) != e) ++p;
    if (p++ == loaded) return false;
  }
  return true;
}

void TvxTree_ComBasic::UpdateDisplay() {
  if (IsDestroying()) return;
  FreeRetiredSubLists();
  TFlagScope updating(fUpdating);
  fUpdating_Selected = GetSelected();
  fUpdating_TopItem = GetTopItem();
  const int scrollX = GetScrollInfo(sbHorizontal).nPos;
  {
    TvxBeginUpdate bracket([this] { BeginUpdate(); }, [this] { EndUpdate(); });
    for (int p = 0; p < fRootDataList->LoadedCount(); ++p)
      Synchronise(static_cast<TvxDataEntity_Tree*>(fRootDataList->GetLoaded(p)), nullptr, bracket);
    if (!fListOfTreeNodesToDelete.empty() && fCallingOut == 0) {
      bracket.Mark();
      std::vector<TTreeNode*> doomed(fListOfTreeNodesToDelete.begin(), fListOfTreeNodesToDelete.end());
      fListOfTreeNodesToDelete.clear();
      fNodeOperations += static_cast<long long>(doomed.size());
      GetItems()->DeleteNodes(doomed);
    }
    SortPass();
  }
  // The bracket is closed first: the rows are then laid out once, here, and
  // the paint that follows finds them done.
  if (fUpdating_Selected && GetSelected() != fUpdating_Selected) SetSelected(fUpdating_Selected);
  if (fUpdating_TopItem) SetTopItem(fUpdating_TopItem);
  if (GetScrollInfo(sbHorizontal).nPos != scrollX && scrollX >= 0) SetScrollPos(sbHorizontal, scrollX);
}

void TvxTree_ComBasic::ForEachEntity(const std::function<void(TvxDataEntity_Tree*)>& f) {
  for (int k = 0; k < fListOfDataListListInstances->Count(); ++k) {
    TvxDataList* list = fListOfDataListListInstances->GetDataList(k);
    for (int p = 0; list && p < list->LoadedCount(); ++p) f(static_cast<TvxDataEntity_Tree*>(list->GetLoaded(p)));
  }
}

void TvxTree_ComBasic::HandleAutoExpand() {
  if (fAutoExpandLevels <= 0) return;
  // Expanding is heard: the entities wait held, and those freed meanwhile are passed over.
  TvxHeldList<TvxDataEntity_Tree> due;
  ForEachEntity([&](TvxDataEntity_Tree* e) {
    if (!e->fExpanded && e->GetLevel() <= fAutoExpandLevels - 1 && e->GetVisible()) due.Add(e);
  });
  due.ForEach([this](TvxDataEntity_Tree* e) { PerformAutoExpandItem(e); });
  if (!due.Empty()) EnsureDisplayUpToDate();  // the newly shown level may cascade
}

void TvxTree_ComBasic::PerformAutoExpandItem(TvxDataEntity_Tree* Entity) { Entity->SetExpanded(true); }

// --- the view's hooks ---------------------------------------------------------------------

TTreeNode* TvxTree_ComBasic::CreateNode() {
  if (!fUpdating && !IsDestroying()) {
    // Nodes made outside a synchronisation: start again from an empty view.
    fRealoadOfTreeNodesDetected = true;
    DisplayOutOfDate();
  }
  return new TTreeNode_vxSub(GetItems());
}

bool TvxTree_ComBasic::CanExpand(TTreeNode* Node) {
  TCallOut callOut(this);
  return TCustomTreeView::CanExpand(Node);
}

bool TvxTree_ComBasic::CanCollapse(TTreeNode* Node) {
  TCallOut callOut(this);
  return TCustomTreeView::CanCollapse(Node);
}

bool TvxTree_ComBasic::CanChange(TTreeNode* Node) {
  TCallOut callOut(this);
  return TCustomTreeView::CanChange(Node);
}

void TvxTree_ComBasic::Expand(TTreeNode* Node) {
  TCallOut callOut(this);
  TFlagScope scope(fExpanding);
  if (!IsDesigning()) {
    if (TvxDataEntity_Tree* e = GetDataEntityFromNode(Node)) {
      TvxDataList_Tree* sub = e->fSubDataList;
      if (!sub || sub->Count() == 0) {
        // Nothing came: the button goes.
        e->fExpanderSubNode = nullptr;
        std::vector<TTreeNode*> children;
        for (int k = 0; k < Node->Count(); ++k) children.push_back(Node->GetItem(k));
        DeleteNodes(children);
        Invalidate();
      } else if (e->fExpanderSubNode) {
        TTreeNode* placeholder = e->fExpanderSubNode;
        e->fExpanderSubNode = nullptr;
        DeleteNodes({placeholder});
        DisplayOutOfDate();
      }
      e->fExpanded = true;
    }
  }
  TCustomTreeView::Expand(Node);
}

void TvxTree_ComBasic::Collapse(TTreeNode* Node) {
  TCallOut callOut(this);
  TCustomTreeView::Collapse(Node);
  if (TvxDataEntity_Tree* e = GetDataEntityFromNode(Node)) e->fExpanded = Node->GetExpanded();
}

void TvxTree_ComBasic::Change(TTreeNode* Node) {
  TCallOut callOut(this);
  fLastSelectedItem = Node;
  if (!fUpdating && fCurrentDataEntity_Async_Mailbox) {
    fCurrentDataEntity_Async_Mailbox = nullptr;
    TDoLater::NeverMind(DoLaterCall<&TvxTree_ComBasic::DeferredSelect>(this));
  }
  if (OnCurrentDataEntityChange) OnCurrentDataEntityChange(this, GetDataEntityFromNode(Node));
  TCustomTreeView::Change(Node);
}

bool TvxTree_ComBasic::CanEdit(TTreeNode* Node) {
  // A click that selects does not also start editing.
  if ((Now() - fFocusSwitchTime) * 86400 < 1) return false;
  TCallOut callOut(this);
  TvxHeld<TvxDataEntity_Tree> e(GetDataEntityFromNode(Node));
  if (!e || !e.Get()->GetCanEdit() || !e) return false;
  if (!TCustomTreeView::CanEdit(Node) || !e || GetDataEntityFromNode(Node) != e.Get()) return false;
  fEditNode = Node;
  return true;
}

void TvxTree_ComBasic::Edit(TTreeNode* Node, std::string& S) {
  TCallOut callOut(this);
  TvxHeld<TvxDataEntity_Tree> e(GetDataEntityFromNode(Node));
  TCustomTreeView::Edit(Node, S);
  if (e && GetDataEntityFromNode(Node) == e.Get()) {
    e.Get()->SetText(S);
    if (e) e.Get()->DoInfoPush();
  }
  fEditNode = nullptr;
}

bool TvxTree_ComBasic::CustomDrawItem(TTreeNode* Node, TCustomDrawState State) {
  TCallOut callOut(this);
  TCanvas* c = GetCanvas();
  TvxDataEntity_Tree* e = GetDataEntityFromNode(Node);
  c->GetFont()->SetStyle(TFontStyles());
  c->GetBrush()->SetColor(GetColor());
  c->GetFont()->SetColor(clWindowText);
  if (e) {
    if (e->GetSelected()) {
      if (Focused()) {
        c->GetBrush()->SetColor(clHighlight);
        c->GetFont()->SetColor(clHighlightText);
      } else {
        c->GetBrush()->SetColor(clBtnFace);
      }
    }
    c->GetFont()->SetName(e->FFontName.empty() ? GetFont()->GetName() : e->FFontName);
    c->GetFont()->SetStyle(e->FFontStyle);
  }
  return TCustomTreeView::CustomDrawItem(Node, State);
}

void TvxTree_ComBasic::AfterDrawItem(TTreeNode* Node, TCustomDrawState State, const TRect& theRowRect) {
  TCallOut callOut(this);
  TCustomTreeView::AfterDrawItem(Node, State, theRowRect);
  if (!FDrawGridLines) return;
  const TRect text = Node->DisplayRect(true);
  if (text.IsEmpty()) return;
  TCanvas* c = GetCanvas();
  c->GetPen()->SetColor(clGridLine);
  if (Node != GetItems()->GetFirstNode()) {
    c->MoveTo(text.Left, text.Top);
    c->LineTo(theRowRect.Right, text.Top);
  }
  c->MoveTo(text.Left, text.Bottom);
  c->LineTo(theRowRect.Right, text.Bottom);
}

void TvxTree_ComBasic::Scrolled() {
  TCallOut callOut(this);
  NoteTopItem();
  if (fCurrentDataEntity_Async_Mailbox && !fUpdating) {
    fCurrentDataEntity_Async_Mailbox = nullptr;
    TDoLater::NeverMind(DoLaterCall<&TvxTree_ComBasic::DeferredSelect>(this));
  }
  TCustomTreeView::Scrolled();
}

void TvxTree_ComBasic::NoteTopItem() {
  TvxDataEntity_Tree* top = GetDataEntityFromNode(GetTopItem());
  if (top == fLastTopItem) return;
  fLastTopItem = top;
  if (OnTopItemChanged) OnTopItemChanged(this);
}

void TvxTree_ComBasic::Paint() {
  fRepaintAsked = false;
  EnsureDisplayUpToDate();
  TCallOut callOut(this);
  TCustomTreeView::Paint();
}

// The window changed under a gesture: a press's deferred selection and a
// node drag end, cancelled.
void TvxTree_ComBasic::CancelMode() {
  TCustomTreeView::CancelMode();
  fPressPending = false;
  if (Dragging()) EndDrag(false);
}

void TvxTree_ComBasic::DoStartDrag(TObject*& DragObject) {
  fDragging = true;
  TCallOut callOut(this);
  TCustomTreeView::DoStartDrag(DragObject);
}

void TvxTree_ComBasic::Resize() {
  TCustomTreeView::Resize();
  if (IsDestroying()) return;
  SetScrollBarVisible(sbVertical, fScrollBarVert);
  SetScrollBarVisible(sbHorizontal, fScrollBarHorz);
}

// --- selection ------------------------------------------------------------------------------

void TvxTree_ComBasic::ClearAllSelections() { fListOfDataListListInstances->ClearSelections(); }

// Every selected flag set here is heard (OnSelectionChanged), and the
// handler may free the entity, its list or every entity: the entity is held,
// and the view's nodes stay until the handlers are done.
void TvxTree_ComBasic::UpdateMultiSelect(TvxDataEntity_Tree* Entity, TShiftState Shift) {
  TvxHeld<TvxDataEntity_Tree> held(Entity);
  EnsureDisplayUpToDate();
  if (Entity && !held) return;
  TCallOut callOut(this);
  if (Entity != GetDataEntityFromNode(GetSelected())) fFocusSwitchTime = Now();
  if (!Entity) {
    fAnchor = nullptr;
    ClearAllSelections();
    return;
  }
  TTreeNode* node = Entity->fTreeNode;
  if (fMultiSelect && Shift.Contains(ssShift)) {
    if (!fAnchor) fAnchor = node;
    if (!fAnchor || !node) return;
    int a = fAnchor->GetAbsoluteIndex(), b = node->GetAbsoluteIndex();
    if (a > b) std::swap(a, b);
    if (!Shift.Contains(ssCtrl)) ClearAllSelections();
    int index = 0;
    for (TTreeNode* n = GetItems()->GetFirstNode(); n && index <= b; n = n->GetNext(), ++index)
      if (index >= a)
        if (TvxDataEntity_Tree* e = GetDataEntityFromNode(n)) e->SetSelected(true);
  } else if (fMultiSelect && Shift.Contains(ssCtrl)) {
    fAnchor = node;
    Entity->SetSelected(!Entity->GetSelected());
  } else {
    fAnchor = node;
    ClearAllSelections();
    if (held) Entity->SetSelected(true);
    if (held && Entity->fTreeNode) SetSelected(Entity->fTreeNode);
  }
}

void TvxTree_ComBasic::CheckSelectionAfterKey(TObject*) {
  TvxDataEntity_Tree* current = GetCurrentDataEntity();
  if (current && !current->GetSelected()) UpdateMultiSelect(current, TShiftState());
}

// The view's input calls the application at every turn: the entities met
// are held, and the nodes stay until the message is done.
void TvxTree_ComBasic::WndProc(TMessage& m) {
  DecodeMessage(m);
  TCallOut callOut(this);
  switch (m.Msg) {
    case WM_LBUTTONDOWN: {
      TvxDataEntity_Tree* e = GetDataEntityAt(m.XPos, m.YPos);
      fSelectionsWasDoneOnDownButton = false;
      fSelectionsWasDoneWithKeys = m.Shift;
      fDragging = false;
      fPressPending = true;
      if (e && !e->GetSelected()) {
        UpdateMultiSelect(e, m.Shift);
        fSelectionsWasDoneOnDownButton = true;
      }
      TCustomTreeView::WndProc(m);
      break;
    }
    case WM_LBUTTONUP: {
      TCustomTreeView::WndProc(m);
      if (!fDragging && !fSelectionsWasDoneOnDownButton && fPressPending) {
        TvxDataEntity_Tree* e = GetDataEntityAt(m.XPos, m.YPos);
        if (e && e->GetSelected()) UpdateMultiSelect(e, fSelectionsWasDoneWithKeys);
      }
      fPressPending = false;
      break;
    }
    case WM_RBUTTONDOWN: {
      TvxHeld<TvxDataEntity_Tree> under(GetDataEntityAt(m.XPos, m.YPos));
      if (GetRightClickSelect()) {
        TvxDataEntity_Tree* current = GetCurrentDataEntity();
        if (!current || !current->GetSelected()) UpdateMultiSelect(current, m.Shift);
        if (under && under.Get()->fTreeNode) SetSelected(under.Get()->fTreeNode);
      }
      TCustomTreeView::WndProc(m);
      if (OnRightClick) OnRightClick(this, under.Get());
      break;
    }
    case WM_KEYDOWN: {
      const unsigned key = m.CharCode;
      TCustomTreeView::WndProc(m);
      if (key != VK_SHIFT && key != VK_CONTROL && key != VK_APPS && !IsDestroying()) {
        UpdateMultiSelect(GetCurrentDataEntity(), m.Shift);
        TDoLater::DoLater(DoLaterCall<&TvxTree_ComBasic::CheckSelectionAfterKey>(this), nullptr);
      }
      break;
    }
    default: TCustomTreeView::WndProc(m); break;
  }
}

TPoint TvxTree_ComBasic::PreferredSize() const { return Point(240, 320); }

TPoint TvxTree_ComBasic::MinimumSize() const { return Point(60, 40); }

}  // namespace vx
