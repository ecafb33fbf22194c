#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include <vxplan/core/vxEvent.h>
#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/TreeView.h>
#include <vxplan/tree/vxTreeAccessible.h>

namespace vx {

class TvxTree_ComBasic;
class TvxBeginUpdate;
class TvxDataEntity_Tree;
class TvxDataList_Tree;

using TOnTreeDataEntityDelete = std::function<void(TvxTree_ComBasic* theTree, TvxDataEntity_Tree* theObs)>;
using TOnCurrentDataEntityChange = std::function<void(TvxTree_ComBasic* theTree, TvxDataEntity_Tree* theDataEntity)>;
using TOnTreeUnLoadItem = std::function<void(TObject* Caller, TvxDataEntity* theDataEntity, bool& CanUnload)>;

// The node class the tree control makes: when it goes it lets go of its entity.
class VX_API TTreeNode_vxSub : public TTreeNode {
public:
  using TTreeNode::TTreeNode;
  ~TTreeNode_vxSub() override;
  bool fvxDeleting = false;
};

// A list of sibling tree entities.
class VX_API TvxDataList_Tree : public TvxDataList {
public:
  TvxDataEntity_Tree* GetOwningDataEntity() const noexcept { return fOwningDataEntity; }

protected:
  ~TvxDataList_Tree() override = default;

private:
  friend class TvxTree_ComBasic;
  friend class TvxDataEntity_Tree;
  TvxDataEntity_Tree* fOwningDataEntity = nullptr;
  bool fNeedsSort = false;
};

class VX_API TvxListController_Tree : public TvxListController {
public:
  TvxTree_ComBasic* fOwningTree = nullptr;
};

// One entity of the tree: a node's data and, below it, a list of children.
class VX_API TvxDataEntity_Tree : public TvxDataEntity {
public:
  void CleanForFree() override;
  void SetVisible(bool theValue) override;
  // Has a node, shown by the view, under a visible parent entity.
  bool GetVisible() const override;
  void AfterCreate(TvxDataList* theDataList) override;

  const std::string& GetText() const noexcept { return fText; }
  // More than 255 characters raise "Treenodes only allow strings smaller than 255 chars".
  void SetText(const std::string& theText);
  int GetImageIndex() const noexcept { return fImageIndex; }
  void SetImageIndex(int theIndex);
  int GetSelectedIndex() const noexcept { return fSelectedIndex; }
  void SetSelectedIndex(int theIndex);
  bool GetExpanded() const noexcept { return fExpanded; }
  void SetExpanded(bool theValue);
  const std::string& GetFontName() const noexcept { return FFontName; }
  void SetFontName(const std::string& theName);
  TFontStyles GetFontStyle() const noexcept { return FFontStyle; }
  void SetFontStyle(TFontStyles theStyle);
  bool Get_HideNode() const noexcept { return fHideNode; }
  void Set_HideNode(bool theValue);

  // The list of children, made on first use: most entities never have any.
  TvxDataList_Tree* GetSubDataList() const;
  // The list of children if one was made; nil otherwise.
  TvxDataList_Tree* PeekSubDataList() const noexcept { return fSubDataList; }
  TTreeNode* GetTreeNode() const noexcept { return fTreeNode; }
  // The entity whose sub list holds this one; nil for root entities.
  TvxDataEntity_Tree* ParentNode() const;
  int GetLevel() const;
  TvxTree_ComBasic* Tree() const;
  TvxDataEntity_Tree* GetNextVisible() const;
  TvxDataEntity_Tree* GetPrevVisible() const;
  void EditText();

protected:
  ~TvxDataEntity_Tree() override = default;

private:
  friend class TvxTree_ComBasic;
  friend class TTreeNode_vxSub;
  std::string FFontName;
  TFontStyles FFontStyle;
  TTreeNode* fTreeNode = nullptr;
  mutable TvxDataList_Tree* fSubDataList = nullptr;
  std::string fText;
  int fImageIndex = -1;
  int fSelectedIndex = -1;
  bool fExpanded = false;
  TTreeNode* fExpanderSubNode = nullptr;
  bool fHideNode = false;
};

// A tree view whose content lives in a hierarchy of data lists: a root list of
// entities and, under every entity, a list of its children. Changes to the
// lists are mirrored into the view's nodes lazily, once before the next paint.
//
// Handlers of the events below may delete anything: the entity they are
// handed, its parent or list, every entity (Clear). Not the tree itself: a
// handler that wants it gone calls deleteLater() on it. The tree reads what
// it holds after a handler returns, and the view's nodes it walks stay until
// no handler runs (they are taken away at the next synchronisation).
class VX_API TvxTree_ComBasic : public TCustomTreeView {
public:
  explicit TvxTree_ComBasic(TComponent* AOwner);
  // As a Qt child of theParent, owned by the nearest component around it.
  template <QtParentWidget W>
  explicit TvxTree_ComBasic(W* theParent) : TvxTree_ComBasic(OwnerFromQtParent(theParent)) {
    AdoptQtParent(theParent);
  }
  ~TvxTree_ComBasic() override;

  TvxDataEntity_Tree* AddDataEntity(TvxDataEntity_Tree* Parent);
  TvxDataEntity_Tree* InsertDataEntity(TvxDataEntity_Tree* Parent, int Index);
  void RemoveDataEntity(TvxDataEntity_Tree* Entity);
  void ChangeOwner(TvxDataEntity_Tree* Entity, TvxDataEntity_Tree* NewParent);
  void Clear();

  TvxDataList_Tree* GetRootDataList() const noexcept { return fRootDataList; }
  TvxDataList2lev* GetListOfDataLists() const noexcept { return fListOfDataListListInstances; }
  static TvxDataEntity_Tree* GetDataEntityFromNode(const TTreeNode* Node);
  TvxDataEntity_Tree* GetDataEntityAt(int X, int Y);
  TvxDataEntity_Tree* GetDataEntityFromRow(int Row);
  TRect GetRect(TvxDataEntity_Tree* Entity);
  TvxDataEntity_Tree* GetNextVisible(TvxDataEntity_Tree* Entity);
  TvxDataEntity_Tree* GetPrevVisible(TvxDataEntity_Tree* Entity);

  TvxDataEntity_Tree* GetCurrentDataEntity();
  // Selected on the next turn of the message loop (after the display is up to date).
  void SetCurrentDataEntity(TvxDataEntity_Tree* Entity);
  TvxDataEntity_Tree* GetTopDataEntity();
  void SetTopDataEntity(TvxDataEntity_Tree* Entity);

  void ExpandLevels(int N);
  int GetAutoExpandLevels() const noexcept { return fAutoExpandLevels; }
  void SetAutoExpandLevels(int N);
  int GetMaxLevels() const noexcept { return fMaxLevels; }
  // -1 (or less): no limit.
  void SetMaxLevels(int N) noexcept { fMaxLevels = N < -1 ? -1 : N; }
  bool GetMultiSelect() const noexcept { return fMultiSelect; }
  void SetMultiSelect(bool v) noexcept { fMultiSelect = v; }
  bool GetDrawGridLines() const noexcept { return FDrawGridLines; }
  void SetDrawGridLines(bool v);
  bool GetScrollBarVert() const noexcept { return fScrollBarVert; }
  void SetScrollBarVert(bool v);
  bool GetScrollBarHorz() const noexcept { return fScrollBarHorz; }
  void SetScrollBarHorz(bool v);

  void DisplayOutOfDate();
  void EnsureDisplayUpToDate();
  void UpdateDisplay();
  void UpdateMultiSelect(TvxDataEntity_Tree* Entity, TShiftState Shift);
  // A descendant answers false for entities that can have no children.
  virtual bool NeedsDummyNode(TvxDataEntity_Tree* Entity);
  // Node operations made by synchronisations (creations, deletions, moves),
  // for measuring that only changed nodes are touched.
  long long GetNodeOperationCount() const noexcept { return fNodeOperations; }

  TOnTreeDataEntityDelete OnDataEntityDelete;
  TOnEntityCompare OnSortCompare;
  TvxEventOf<TOnCurrentDataEntityChange> OnCurrentDataEntityChange;
  TvxEventOf<TOnContentChanged> OnContentChanged;
  TvxEventOf<TOnSelectionChanged> OnSelectionChanged;
  TvxEventOf<TOnDeleteItem> OnDeleteItem;
  TvxEventOf<TOnInsertItem> OnInsertItem;
  TvxEventOf<TOnInfoPush> OnValueChanged;
  TOnBeforeCanEditItem OnBeforeCanEditItem;
  // Entities of a list with unloaded entities: one was just loaded (fill it
  // from the application's data, by its list index), or may be unloaded.
  TOnInsertItem OnLoadItem;
  TOnTreeUnLoadItem OnUnLoadItem;
  TvxEventOf<TOnCurrentDataEntityChange> OnRightClick;
  TvxEventOf<TNotifyEvent> OnTopItemChanged;

  // Made when an accessibility client first asks.
  TvxAccessibleContent* AccessibleContent() override;

protected:
  // Room for the parts with a few rows; the least keeps each part usable.
  TPoint PreferredSize() const override;
  TPoint MinimumSize() const override;
  TTreeNode* CreateNode() override;
  bool CanExpand(TTreeNode* Node) override;
  bool CanCollapse(TTreeNode* Node) override;
  bool CanChange(TTreeNode* Node) override;
  void Expand(TTreeNode* Node) override;
  void Collapse(TTreeNode* Node) override;
  void Change(TTreeNode* Node) override;
  bool CanEdit(TTreeNode* Node) override;
  void Edit(TTreeNode* Node, std::string& S) override;
  bool CustomDrawItem(TTreeNode* Node, TCustomDrawState State) override;
  void AfterDrawItem(TTreeNode* Node, TCustomDrawState State, const TRect& theRowRect) override;
  void Scrolled() override;
  void EditTextChanged() override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void Resize() override;
  void CancelMode() override;
  void DoStartDrag(TObject*& DragObject) override;

  virtual void HandleAutoExpand();
  virtual void PerformAutoExpandItem(TvxDataEntity_Tree* Entity);
  virtual TvxDataList2lev* CreateDataList2Lev();
  virtual void InitializeInConstructor();

  // Controller handlers; a descendant adds its own work around them.
  // Raise the public events of the same name; a descendant hears them here,
  // leaving the events to the application.
  virtual void DoInsertItem(TvxDataEntity_Tree* e);
  virtual void DoDeleteItem(TvxDataEntity_Tree* e);
  virtual void DoContentChanged(TvxDataList* l);
  virtual void DoSelectionChanged(TvxDataList* l, TvxDataEntity* e);
  virtual void DoValueChanged(TvxDataEntity* e);
  virtual void DoBeforeCanEditItem(TvxDataEntity* e);
  virtual void _DeleteItem(TvxDataEntity* e);
  virtual void _InsertItem(TvxDataEntity* e);
  virtual void _OnInfoPush(TvxDataEntity* e);
  virtual void _SelectionChanged(TvxDataList* l, TvxDataEntity* e);
  virtual void _ContentChanged(TvxDataList* l);
  virtual int _SortCompare(TvxDataEntity* a, TvxDataEntity* b);
  virtual void _OnBeforeCanEditItem(TvxDataEntity* e);
  virtual void _LeaveOwnerBeforeChange(TvxDataEntity* e);
  virtual void _EnterOwnerAfterChange(TvxDataEntity* e);
  virtual void _OnVisibleChanged(TvxDataEntity* e);
  virtual void _OnHandlePerformedMove(TvxDataEntity* e, int theOldIndex, int theNewIndex);
  // A loaded entity is set up as an inserted one (it gets its sub list), then
  // handed to OnLoadItem; an unloaded one goes as a deleted one.
  virtual void _LoadItem(TvxDataEntity* e);
  virtual void _UnLoadItem(TvxDataEntity* e, bool& CanUnload);
  // The set-up every new entity gets, inserted or loaded, before the
  // application hears of it.
  virtual void SetUpEntity(TvxDataEntity_Tree* theEntity);
  // theEntity's list of children, made when first asked for.
  TvxDataList_Tree* SubListOf(TvxDataEntity_Tree* theEntity);

private:
  std::unique_ptr<TTreeAccessible> fAccessible;
  friend class TTreeNode_vxSub;
  friend class TvxDataEntity_Tree;
  // While the application's code runs (a handler, or the view's own input
  // that calls one), the view's nodes are not deleted: code around the
  // handler may still walk them. The deletions wait for the next
  // synchronisation after the last such scope.
  class TCallOut {
  public:
    explicit TCallOut(TvxTree_ComBasic* theTree) : fTree(theTree) { ++fTree->fCallingOut; }
    ~TCallOut();
    TCallOut(const TCallOut&) = delete;
    TCallOut& operator=(const TCallOut&) = delete;

  private:
    TvxTree_ComBasic* fTree;
  };
  // Entities in the tree's lists are always tree entities in tree lists.
  void Synchronise(TvxDataEntity_Tree* Entity, TvxDataEntity_Tree* Parent, TvxBeginUpdate& theBracket);
  void CleanTreeNode(TvxDataEntity_Tree* Entity);
  void ScheduleNodeDeletion(TTreeNode* Node);
  void DeleteNodes(const std::vector<TTreeNode*>& theNodes);
  void SortPass();
  void SortLater(TvxDataList* theList);
  bool NodesInListOrder(TvxDataList_Tree* theList, TTreeNode* theParent);
  void ClearAllSelections();
  void DeferredSelect(TObject*);
  void CheckSelectionAfterKey(TObject*);
  void NoteTopItem();
  void ForEachEntity(const std::function<void(TvxDataEntity_Tree*)>& f);
  void RetireSubList(TvxDataList_Tree* theList);
  void FreeRetiredSubLists();

  TDateTime fFocusSwitchTime = 0;
  bool FDrawGridLines = false;
  TvxDataList2lev* fListOfDataListListInstances = nullptr;
  TTreeNode* fEditNode = nullptr;
  bool fExpanding = false;
  int fAutoExpandLevels = 0;
  int fMaxLevels = -1;
  bool fMultiSelect = false;
  TTreeNode* fAnchor = nullptr;
  bool fSelectionsWasDoneOnDownButton = false;
  TShiftState fSelectionsWasDoneWithKeys;
  bool fDragging = false;
  TvxDataEntity_Tree* fLastTopItem = nullptr;
  TTreeNode* fLastSelectedItem = nullptr;
  TvxDataList_Tree* fRootDataList = nullptr;
  std::unique_ptr<TvxListController_Tree> fListController;
  bool fDisplayOutOfDate = false;
  bool fRepaintAsked = false;  // since the last paint
  bool fUpdating = false;
  TTreeNode* fUpdating_Selected = nullptr;
  TTreeNode* fUpdating_TopItem = nullptr;
  std::unordered_set<TTreeNode*> fListOfTreeNodesToDelete;
  TvxDataListClass fClassOfDataList_Tree;
  TvxDataEntityClass fClassOfDataEntity_Tree;
  bool fRealoadOfTreeNodesDetected = false;
  TvxDataEntity_Tree* fCurrentDataEntity_Async_Mailbox = nullptr;
  bool fScrollBarHorz = true;
  bool fScrollBarVert = true;
  long long fNodeOperations = 0;
  std::vector<TvxDataList_Tree*> fRetiredSubLists;
  std::vector<TvxDataList_Tree*> fListsToSort;  // marked fNeedsSort, this tree's
  int fCallingOut = 0;
  bool fPressPending = false;  // a left press whose release may still select
};

class VX_API TvxTree : public TvxTree_ComBasic {
public:
  using TvxTree_ComBasic::TvxTree_ComBasic;
};

}  // namespace vx
