#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <memory>
#include <vector>

#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/grid/vxBabGridContent.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {

class TvxGridTree;
class TvxDataEntity_GridTreeNode;

enum TIntegrationEventKind {
  ieInsert,
  ieRemove,
  ieSelectionChanged,
  ieVisibleChanged,
  ieMovePerfomed,
  ieUnload,
  ieLoad,
  ieInvalidate
};

using TOnIntegrationEvent = std::function<void(TIntegrationEventKind aIntegrationEventKind, TvxDataEntity* aDataEntity)>;
using TOnContentChangeEvent = std::function<void(TvxGridTree* aGridTree, TvxDataEntity_GridTreeNode* aDataEntity)>;
using TOnExpandCollapseEvent =
    std::function<void(TvxGridTree* aGridTree, TvxDataEntity_GridTreeNode* aDataEntity, bool& allow)>;
using TOnTreeControllerCallBackInitSubList =
    std::function<void(TvxGridTree* aGridTree, TvxDataEntity_GridTreeNode* aDataEntity_GridTreeNode)>;

// A list of sibling nodes: the root list of a grid tree, or a node's children.
class VX_API TvxDataList_GridTree : public TvxDataList {
public:
  // The root list's unloaded nodes stand as unloaded rows of the grid cell too.
  void AddUnloaded(int theCount) override;
  TvxDataEntity_GridTreeNode* GetOwningDataEntity() const noexcept { return fOwningDataEntity; }
  TvxGridTree* GetGridTree() const noexcept { return fGridTree; }

protected:
  ~TvxDataList_GridTree() override = default;

private:
  friend class TvxGridTree;
  friend class TvxDataEntity_GridTreeNode;
  TvxDataEntity_GridTreeNode* fOwningDataEntity = nullptr;
  TvxGridTree* fGridTree = nullptr;
};

// One node of a grid tree: the row of a grid cell while it is loaded, and
// below it a list of children, made when first asked for.
class VX_API TvxDataEntity_GridTreeNode : public TvxDataEntity {
public:
  void CleanForFree() override;
  void AfterCreate(TvxDataList* theDataList) override;

  // The integration listener's (the Gantt chart keeps the node's row there).
  TObject* GetIntegrationCookie() const noexcept { return fIntegrationCookie; }
  void SetIntegrationCookie(TObject* theValue) noexcept { fIntegrationCookie = theValue; }
  TvxDataEntity_GridTreeNode* ParentNode() const;
  // Number of ancestors.
  int GetLevel() const;
  TvxGridTree* GetGridTree() const;
  TvxDataList_GridTree* GetSubDataList();
  // Without asking the list into being.
  TvxDataList_GridTree* PeekSubDataList() const noexcept { return fSubDataList; }
  int GetSubDataListCount() const;
  // Tree order: children first, then the next sibling, then up.
  TvxDataEntity_GridTreeNode* GetNext();
  TvxDataEntity_GridTreeNode* GetPrev();
  TvxDataEntity_GridTreeNode* GetNextVisible();
  TvxDataEntity_GridTreeNode* GetPrevVisible();
  // Not hidden, and every ancestor expanded and shown.
  bool IsVisible() const;

  bool GetExpanded() const noexcept { return fExpanded; }
  // Asks the tree (which may refuse); the first expansion asks for the children.
  void SetExpanded(bool theValue);
  bool GetSubDataListInitiated() const noexcept { return fSubDataListInitiated; }
  int GetImageIndex() const noexcept { return fImageIndex; }
  void SetImageIndex(int theValue);
  int GetSelectedIndex() const noexcept { return fSelectedIndex; }
  void SetSelectedIndex(int theValue);
  // Stored only: the grid does not consult it.
  bool GetHidden() const noexcept { return fHidden; }
  void SetHidden(bool theValue) noexcept { fHidden = theValue; }
  // Stored only: UpdateVisibility applies it.
  bool Get_HideNode() const noexcept { return fHideNode; }
  void Set_HideNode(bool theValue) noexcept { fHideNode = theValue; }
  // The node's row; nil while it has none.
  TAxisContentItem* GetAxisContentItem() const noexcept { return fAxisContentItem; }

  // Gives the node its row below its predecessor's.
  void InitGridRow();
  // The row's hide flag and the visible flag of the node and its descendants.
  void UpdateVisibility();

protected:
  ~TvxDataEntity_GridTreeNode() override = default;

private:
  friend class TvxGridTree;
  TvxDataEntity_GridTreeNode* LastDescendant();
  TvxDataEntity_GridTreeNode* Sibling(int theDelta);
  TvxDataEntity_GridTreeNode* Root();
  void DropRow();
  void ApplyVisibility(bool theParentShows);

  TObject* fIntegrationCookie = nullptr;
  TvxDataList_GridTree* fSubDataList = nullptr;
  int fImageIndex = -1;
  int fSelectedIndex = -1;
  bool fExpanded = false;
  bool fSubDataListInitiated = false;
  TAxisContentItem* fAxisContentItem = nullptr;
  bool fHidden = false;
  bool fHideNode = false;
};

// A tree kept in the row axis of a grid cell: every node that is loaded has
// a row there, children directly below their parent, hidden while an
// ancestor is collapsed. Every change is also told to an integration
// listener (the Gantt chart keeps a Gantt row per node through it).
// Handlers of its events may delete the node, its parent or every node.
class VX_API TvxGridTree : public TObject {
public:
  explicit TvxGridTree(TOnTreeControllerCallBackInitSubList theInitSubList = nullptr);
  ~TvxGridTree() override;

  // For descendants with factories of their own: construct with this and
  // call Initialize at the end of the descendant's constructor.
  struct DeferInitialize {};
  TvxGridTree(TOnTreeControllerCallBackInitSubList theInitSubList, DeferInitialize);

  TvxDataEntity_GridTreeNode* AddDataEntity(TvxDataEntity_GridTreeNode* theParent);
  // Nil for an index outside 0 .. Count of the list.
  TvxDataEntity_GridTreeNode* InsertDataEntity(TvxDataEntity_GridTreeNode* theParent, int theIndex);
  void RemoveDataEntity(TvxDataEntity_GridTreeNode* theNode);
  // Children first, then the node, for every node of the list.
  void SetExpandedState(TvxDataList* theList, bool theValue);
  void ExpandAll() { SetExpandedState(fRootDataEntities, true); }
  void CollapseAll() { SetExpandedState(fRootDataEntities, false); }
  void IntegrationTargetInvalidate();
  void DeInitSubList(TvxDataEntity_GridTreeNode* theNode);
  // Forgets the rows of every loaded node of the list and its sub lists.
  void CleanNode(TvxDataList* theList);
  // Puts the node's row (and its descendants') back below its predecessor's.
  void HandleMoveOfTreeNode(TvxDataEntity_GridTreeNode* theNode);

  TvxDataList_GridTree* GetRootDataEntities() const noexcept { return fRootDataEntities; }
  TvxDataList2lev* GetAllSubLists() const noexcept { return fAllSubLists; }
  TBabGridCell* GetGridCell() const noexcept { return fGridCell; }
  // Binds the tree to the grid cell whose rows show it (set by its creator).
  void SetGridCell(TBabGridCell* theGridCell) noexcept { fGridCell = theGridCell; }
  // The grid cell's content is going: the nodes let go of their rows first.
  void DetachGridCell();
  TvxListController* GetListController() const noexcept { return fListController.get(); }
  // While one lives, moves within the lists leave the rows where they are:
  // whoever moves places the rows itself (a sort, in one step).
  class TMoveHold {
  public:
    explicit TMoveHold(TvxGridTree* theTree) : fHold(theTree->fMoveHold) {}

  private:
    TFlagScope<int> fHold;
  };
  // Gives the descendants of reloaded root rows their rows now.
  void RestorePendingRows() { RestoreRowsAsync(nullptr); }
  // The node at a row of the grid cell; nil for rows of no node.
  static TvxDataEntity_GridTreeNode* NodeOfRow(const TAxisContentItem* theItem);

  // Row-axis hooks, called by the column grid for its tree's grid cell.
  void _OnGridRowReload(TAxisContentItem* theItem);
  void _OnGridRowUnload(TAxisContentItem* theItem, bool UnloadPerform, bool& CanUnload);
  void _OnKeepGridRowAfterUnload(TAxisContentItem* theItem, bool& KeepAfterUnload);
  void _OnUnloadIntervall(TAxisContentItem* theItem, int& Start, int& Stop);
  void _OnDeleteOfUnloaded(TAxisContentList* theRowList, int theStart, int theStop);
  // A row leaves the grid by other hands than the tree's: its node forgets it.
  void _OnGridRowRemoved(TAxisContentItem* theItem);
  // Item and node let go of each other; answers the node that had the row.
  TvxDataEntity_GridTreeNode* ForgetRow(TAxisContentItem* theItem);
  void _OnExpand(TvxDataEntity_GridTreeNode* theNode, bool& allow);
  void _OnCollapse(TvxDataEntity_GridTreeNode* theNode, bool& allow);

  TOnIntegrationEvent fOnIntegrationEvents;
  TOnContentChangeEvent fOnInsertItem;
  TOnContentChangeEvent fOnDeleteItem;
  TOnExpandCollapseEvent fOnExpand;
  TOnExpandCollapseEvent fOnCollapse;
  TOnTreeControllerCallBackInitSubList fTreeControllerCallBackInitSubList;

protected:
  virtual void _DeleteItem(TvxDataEntity* e);
  virtual void _InsertItem(TvxDataEntity* e);
  virtual void _SelectionChanged(TvxDataList* l, TvxDataEntity* e);
  virtual void _ContentChanged(TvxDataList* l);
  virtual void _OnUnLoadedContentChanged(TvxDataList* l);
  virtual int _SortCompare(TvxDataEntity* a, TvxDataEntity* b);
  virtual void _OnVisibleChanged(TvxDataEntity* e);
  virtual void _InitSubDataList(TvxDataEntity_GridTreeNode* theNode);
  virtual void _OnHandlePerformedMove(TvxDataEntity* e, int theOldIndex, int theNewIndex);
  virtual void _OnEnterOwnerAfterChange(TvxDataEntity* e);
  virtual TvxDataList_GridTree* CreateDataList_GridTree();
  virtual TvxDataList2lev* CreateDataList2Lev();
  // A descendant of TvxDataEntity_GridTreeNode.
  virtual TvxDataEntityClass GetClassOfDataEntity_GridTreeNode();
  void _OnLoadItem(TvxDataEntity* e);
  void _OnUnloadItem(TvxDataEntity* e, bool& CanUnload);
  // Makes the lists and the controller through the factories.
  void Initialize();

private:
  friend class TvxDataEntity_GridTreeNode;
  friend class TvxDataList_GridTree;
  void Raise(TIntegrationEventKind theKind, TvxDataEntity* theEntity);
  TAxisContentList* Rows() const noexcept { return fGridCell ? fGridCell->GetAxisContentListY() : nullptr; }
  void RepaintCells();
  void Initialise(TvxDataList_GridTree* theList, TvxDataEntity_GridTreeNode* theOwner);
  void PlaceRow(TvxDataEntity_GridTreeNode* theNode);
  // A reloaded row stands for a root node: the rows of its descendants
  // come back once the load is over.
  void RestoreRowsAsync(TObject*);
  void RestoreSubtree(TvxDataEntity_GridTreeNode* theNode);
  void ForgetPending(TvxDataEntity_GridTreeNode* theNode);

  int fGridReload = 0;
  int fGridUnload = 0;
  int fMoveHold = 0;
  TvxDataList_GridTree* fRootDataEntities = nullptr;
  TvxDataList2lev* fAllSubLists = nullptr;
  TBabGridCell* fGridCell = nullptr;
  std::unique_ptr<TvxListController> fListController;
  std::vector<TvxDataEntity_GridTreeNode*> fPendingRestore;
};

}  // namespace vx
