// Sorting the column grid's rows by a column, flat or as a tree, and saving
// and restoring which tree nodes are expanded.
#include <algorithm>
#include <cstdio>
#include <numeric>

#include <vxplan/grid/vxBabGridViewInternal.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {

using gridview::UpperText;

namespace {

// Every loaded row behind the fixed ones, held: the sort calls out (load,
// sort and compare-string events), and a handler may drop rows meanwhile.
void HoldRows(TAxisContentList* theRows, TvxHeldList<TAxisContentItem>& theHeld) {
  for (int p = theRows->FixedLoaded(); p < theRows->LoadedCount(); ++p) theHeld.Add(theRows->getLoadedAxisContentItem(p));
}

// theOrder made fit for Reorder: rows that have left the axis (or come twice)
// go, loaded rows it does not name follow in their order.
std::vector<TAxisContentItem*> CompleteOrder(TAxisContentList* theRows, const std::vector<TAxisContentItem*>& theOrder) {
  const int f = theRows->FixedLoaded(), n = theRows->LoadedCount();
  std::vector<char> taken(static_cast<size_t>(std::max(n, 0)), 0);
  std::vector<TAxisContentItem*> order;
  order.reserve(static_cast<size_t>(std::max(n - f, 0)));
  for (TAxisContentItem* item : theOrder) {
    const int p = item && item->GetAxisContentList() == theRows ? item->LoadedListIndex() : -1;
    if (p < f || p >= n || taken[static_cast<size_t>(p)]) continue;
    taken[static_cast<size_t>(p)] = 1;
    order.push_back(item);
  }
  for (int p = f; p < n; ++p)
    if (!taken[static_cast<size_t>(p)]) order.push_back(theRows->getLoadedAxisContentItem(p));
  return order;
}

std::string ZeroPadded(long long theValue, int theDigits) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lld", theDigits, theValue);
  return buffer;
}

}  // namespace

void TvxGrid::SortColumn(int theIndex, bool theUpNotDown) {
  TBabGridCellForViewer* g = GetBabGridCellForViewer();
  if (g->GetFixedRows() < 1 || theIndex < 0 || theIndex >= fvxGrid_Columns->Count()) return;
  if (TBabCell* header = g->getCell(g->GetFixedCols() + theIndex, g->GetFixedRows() - 1))
    DoSortCell(header, theUpNotDown);
}

void TvxGrid::DoSortCell(TBabCell* theHeaderCell, bool theUpNotDown) {
  TBabGridCell* g = theHeaderCell ? theHeaderCell->getGridCell() : nullptr;
  if (!g) return;
  TvxGrid_Column* col = fvxGrid_Columns->GetColumn(theHeaderCell->GetCol() - g->GetFixedCols());
  if (!col) return;
  fSortingColumn = col;
  fSortUpNotDown = theUpNotDown;
  bool goOn = true;
  if (fHostColumnSort) fHostColumnSort(this, col, theUpNotDown, goOn);
  if (OnColumnSort) OnColumnSort(this, col, theUpNotDown, goOn);
  if (goOn && fSortingColumn) DoInternalResortOfContent();
}

// Every row takes part: the unloaded ones are loaded first (a later layout
// unloads again what the host lets go).
void TvxGrid::LoadAllRows(TAxisContentList* theRows) {
  if (theRows->GetUnloadedPreCount() > 0)
    theRows->LoadItems(theRows->FixedLoaded(), theRows->FixedLoaded() + theRows->GetUnloadedPreCount() - 1, true);
  if (theRows->GetUnloadedPostCount() > 0)
    theRows->LoadItems(theRows->GetUnloadedPreCount() + theRows->LoadedCount(), theRows->Count() - 1, false);
}

void TvxGrid::DoInternalResortOfContent() {
  StopEditing();
  if (TvxGridTree* tree = GetTree())
    TreeSort(tree);
  else
    FlatSort();
  Invalidate();
}

void TvxGrid::FlatSort() {
  TAxisContentList* rows = GetBabGridCellForViewer()->GetAxisContentListY();
  LoadAllRows(rows);
  TvxHeldList<TAxisContentItem> held;
  HoldRows(rows, held);
  std::vector<TAxisContentItem*> list;
  held.ForEach([&list](TAxisContentItem* item) { list.push_back(item); });
  InternalSortList(list);
  rows->Reorder(CompleteOrder(rows, list));
}

void TvxGrid::TreeSort(TvxGridTree* theTree) {
  TAxisContentList* rows = GetBabGridCellForViewer()->GetAxisContentListY();
  LoadAllRows(rows);
  theTree->RestorePendingRows();
  TvxHeldList<TAxisContentItem> held;
  HoldRows(rows, held);
  std::vector<TAxisContentItem*> order;
  order.reserve(static_cast<size_t>(rows->LoadedCount()));
  {
    TvxGridTree::TMoveHold hold(theTree);  // the rows follow in one step below
    SortNodes(theTree->GetRootDataEntities(), order);
  }
  // Rows that stand for no node keep their order, behind the tree's.
  rows->Reorder(CompleteOrder(rows, order));
  theTree->IntegrationTargetInvalidate();
}

// Sorts the nodes of one list by their rows, moves them in their list, and
// lists their rows in tree order, each followed by its children's.
// The rows are held by the caller; moving a node is heard, so the nodes are
// held here and what goes meanwhile is passed over.
void TvxGrid::SortNodes(TvxDataList* theList, std::vector<TAxisContentItem*>& theOrder) {
  if (!theList) return;
  TvxHeld<TvxDataList> list(theList);
  std::vector<TAxisContentItem*> items;
  TvxHeldList<TvxDataEntity_GridTreeNode> rowless;
  for (int i = 0; i < theList->Count(); ++i) {
    auto* node = static_cast<TvxDataEntity_GridTreeNode*>(theList->GetItems(i));
    if (!node) continue;
    if (node->GetAxisContentItem())
      items.push_back(node->GetAxisContentItem());
    else
      rowless.Add(node);
  }
  InternalSortList(items);
  int k = 0;
  for (TAxisContentItem* item : items) {
    if (!list || item->IsFreePending()) continue;
    TvxHeld<TvxDataEntity_GridTreeNode> node(AxisContentItemToGridTreeNode(item));
    if (!node) continue;
    node.Get()->Move(k++);
    if (item->IsFreePending()) continue;
    theOrder.push_back(item);
    if (node) SortNodes(node.Get()->PeekSubDataList(), theOrder);
  }
  // Nodes without a row go behind, in their order.
  rowless.ForEach([&k, &list](TvxDataEntity_GridTreeNode* node) {
    if (list) node->Move(k++);
  });
}

// The events called here may drop rows: the list is held while it is sorted,
// and the rows that went leave it.
void TvxGrid::InternalSortList(std::vector<TAxisContentItem*>& theList) {
  TvxHeldList<TAxisContentItem> held;
  for (TAxisContentItem* item : theList) held.Add(item);
  const auto dropGone = [&theList] {
    theList.erase(std::remove_if(theList.begin(), theList.end(),
                                 [](TAxisContentItem* item) { return !item || item->IsFreePending(); }),
                  theList.end());
  };
  bool doDefault = true;
  if (OnUserSort) OnUserSort(this, fSortingColumn, theList, doDefault);
  if (!doDefault || theList.size() < 2) {
    dropGone();
    return;
  }
  struct Key {
    std::string text;
    bool negative = false;
  };
  std::vector<Key> keys(theList.size());
  for (size_t k = 0; k < theList.size(); ++k)
    if (!theList[k]->IsFreePending()) keys[k].text = GetSortString(theList[k], keys[k].negative);
  std::vector<size_t> index(theList.size());
  std::iota(index.begin(), index.end(), 0);
  const bool down = fSortUpNotDown;
  std::sort(index.begin(), index.end(), [&](size_t a, size_t b) {
    int c = keys[a].text.compare(keys[b].text);
    c = c < 0 ? -1 : (c > 0 ? 1 : 0);
    if (down) c = -c;
    if (keys[a].negative && keys[b].negative) c = -c;
    return c < 0;
  });
  std::vector<TAxisContentItem*> sorted(theList.size());
  for (size_t k = 0; k < index.size(); ++k) sorted[k] = theList[index[k]];
  theList.swap(sorted);
  dropGone();
}

std::string TvxGrid::GetSortString(TAxisContentItem* theRowItem, bool& isNegative) {
  isNegative = false;
  TvxGrid_Column* col = fSortingColumn;
  TAxisContentList* rows = theRowItem ? theRowItem->GetAxisContentList() : nullptr;
  TBabGridCell* g = rows ? rows->GetBabGridCell() : nullptr;
  if (!col || !g || theRowItem->ListIndex() < 0) return std::string();
  const int row = theRowItem->ListIndex();
  TBabCell* cell = g->getCell(col->GetIndex() + g->GetFixedCols(), row);
  std::string s;
  if (cell && !cell->IsGridCell()) {
    switch (col->GetKind()) {
      case tckDate:
        s = GetText(cell);
        if (!s.empty()) {
          // A date that cannot be read sorts by its text.
          try {
            s = FormatDateTime("yyyy-mm-dd", SafeStrToDate(s));
          } catch (const std::exception&) {
          }
        }
        break;
      case tckSubGrid:
      case tckSubTree: break;
      default: s = GetText(cell); break;
    }
  }
  s = UpperText(s);
  if (col->GetNumericSort()) {
    if (!s.empty() && s[0] == '-') {
      isNegative = true;
      s.erase(0, 1);
    }
    s = std::string(17, '0') + s;
    s = (isNegative ? "A" : "B") + s.substr(s.size() - 17);
  }
  s += "###" + ZeroPadded(row, 11);
  if (OnGetUserSortCompareString && fSortingColumn == col) OnGetUserSortCompareString(this, col, cell, s);
  return s;
}

// ---------------------------------------------------------------- expanded state

std::string TvxGrid::_DefaultNodeToString(TvxDataEntity_GridTreeNode* theNode) {
  TAxisContentItem* row = theNode ? theNode->GetAxisContentItem() : nullptr;
  TBabGridCellForViewer* g = GetBabGridCellForViewer();
  if (!row || row->GetAxisContentList() != g->GetAxisContentListY()) return std::string();
  std::string key;
  const int y = row->ListIndex();
  for (int x = 0; x < g->GetAxisContentListX()->Count(); ++x) key += "#" + GetText(g->getCell(x, y));
  return key;
}

std::string TvxGrid::NodeKey(TvxDataEntity_GridTreeNode* theNode, const TOnConvertNodeToStringKey& theConvert) {
  return theConvert ? theConvert(this, theNode) : _DefaultNodeToString(theNode);
}

void TvxGrid::ExpandedStateSave(TOnConvertNodeToStringKey theConvert) {
  if (fExpandedStateAlreadySaved) return;
  fExpandedStateAlreadySaved = true;
  TDoLater::DoLater(DoLaterCall<&TvxGrid::ClearExpandedStateAlreadySavedFlag>(this), nullptr);
  fExpandStateStringList.clear();
  TAxisContentList* rows = GetBabGridCellForViewer()->GetAxisContentListY();
  for (int p = 0; p < rows->LoadedCount(); ++p) {
    TvxDataEntity_GridTreeNode* node = AxisContentItemToGridTreeNode(rows->getLoadedAxisContentItem(p));
    if (node && node->GetExpanded()) fExpandStateStringList.emplace_back(NodeKey(node, theConvert), node->GetLevel());
  }
}

void TvxGrid::ClearExpandedStateAlreadySavedFlag(TObject*) { fExpandedStateAlreadySaved = false; }

void TvxGrid::ExpandedStateRestore(TOnConvertNodeToStringKey theConvert) {
  TFlagScope scope(fExpandedStateAlreadySaved);
  RestoreLevel(0, theConvert);
}

void TvxGrid::RestoreLevel(int theLevel, const TOnConvertNodeToStringKey& theConvert) {
  // Expanding makes the rows of the next level: that level is restored next.
  for (int level = theLevel;; ++level) {
    bool any = false;
    TAxisContentList* rows = GetBabGridCellForViewer()->GetAxisContentListY();
    // Keys and expansions call out: the nodes are held, those freed passed over.
    TvxHeldList<TvxDataEntity_GridTreeNode> nodes;
    for (int p = 0; p < rows->LoadedCount(); ++p)
      if (auto* node = AxisContentItemToGridTreeNode(rows->getLoadedAxisContentItem(p)); node && node->GetLevel() == level)
        nodes.Add(node);
    for (const auto& [key, entryLevel] : std::vector<std::pair<std::string, int>>(fExpandStateStringList)) {
      if (entryLevel != level) continue;
      nodes.ForEach([&](TvxDataEntity_GridTreeNode* node) {
        if (!node->GetExpanded() && NodeKey(node, theConvert) == key && !node->IsFreePending()) {
          node->SetExpanded(true);
          any = true;
        }
      });
    }
    if (!any) return;
  }
}

}  // namespace vx
