// Sorting the column grid's rows by a column, flat or as a tree, and saving
// and restoring which tree nodes are expanded.
#include <algorithm>
#include <cstdio>
#include <numeric>

#include "grid/vxBabGridViewInternal.h"
#include "grid/vxGrid.h"
#include "paint/vxDoLater.h"

namespace vx {

using gridview::UpperText;

namespace {

std::string ZeroPadded(long long theValue, int theDigits) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lld", theDigits, theValue);
  return buffer;
}

}  // namespace

void TvxGrid::SortColumn(int theIndex, bool theUpNotDown) {
  TBabGridCellForViewer* g = GetBabGridCellForViewer();
  if (g->GetFixedRows() < 1) return;
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
  std::vector<TAxisContentItem*> list;
  list.reserve(static_cast<size_t>(rows->LoadedCount()));
  for (int p = rows->FixedLoaded(); p < rows->LoadedCount(); ++p) list.push_back(rows->getLoadedAxisContentItem(p));
  InternalSortList(list);
  rows->Reorder(list);
}

void TvxGrid::TreeSort(TvxGridTree* theTree) {
  TAxisContentList* rows = GetBabGridCellForViewer()->GetAxisContentListY();
  LoadAllRows(rows);
  theTree->RestorePendingRows();
  std::vector<TAxisContentItem*> order;
  order.reserve(static_cast<size_t>(rows->LoadedCount()));
  {
    TvxGridTree::TMoveHold hold(theTree);  // the rows follow in one step below
    SortNodes(theTree->GetRootDataEntities(), order);
  }
  // Rows that stand for no node keep their order, behind the tree's.
  std::vector<char> taken(static_cast<size_t>(rows->LoadedCount()), 0);
  for (TAxisContentItem* item : order) taken[static_cast<size_t>(item->LoadedListIndex())] = 1;
  for (int p = rows->FixedLoaded(); p < rows->LoadedCount(); ++p)
    if (!taken[static_cast<size_t>(p)]) order.push_back(rows->getLoadedAxisContentItem(p));
  rows->Reorder(order);
  theTree->IntegrationTargetInvalidate();
}

// Sorts the nodes of one list by their rows, moves them in their list, and
// lists their rows in tree order, each followed by its children's.
void TvxGrid::SortNodes(TvxDataList* theList, std::vector<TAxisContentItem*>& theOrder) {
  if (!theList) return;
  std::vector<TAxisContentItem*> items;
  std::vector<TvxDataEntity_GridTreeNode*> rowless;
  for (int i = 0; i < theList->Count(); ++i) {
    auto* node = static_cast<TvxDataEntity_GridTreeNode*>(theList->GetItems(i));
    if (!node) continue;
    if (node->GetAxisContentItem())
      items.push_back(node->GetAxisContentItem());
    else
      rowless.push_back(node);
  }
  InternalSortList(items);
  int k = 0;
  for (TAxisContentItem* item : items) {
    TvxDataEntity_GridTreeNode* node = AxisContentItemToGridTreeNode(item);
    node->Move(k++);
    theOrder.push_back(item);
    SortNodes(node->PeekSubDataList(), theOrder);
  }
  // Nodes without a row go behind, in their order.
  for (TvxDataEntity_GridTreeNode* node : rowless) node->Move(k++);
}

void TvxGrid::InternalSortList(std::vector<TAxisContentItem*>& theList) {
  bool doDefault = true;
  if (OnUserSort) OnUserSort(this, fSortingColumn, theList, doDefault);
  if (!doDefault || theList.size() < 2) return;
  struct Key {
    std::string text;
    bool negative;
  };
  std::vector<Key> keys(theList.size());
  for (size_t k = 0; k < theList.size(); ++k) keys[k].text = GetSortString(theList[k], keys[k].negative);
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
}

std::string TvxGrid::GetSortString(TAxisContentItem* theRowItem, bool& isNegative) {
  isNegative = false;
  TvxGrid_Column* col = fSortingColumn;
  TAxisContentList* rows = theRowItem ? theRowItem->GetAxisContentList() : nullptr;
  TBabGridCell* g = rows ? rows->GetBabGridCell() : nullptr;
  if (!col || !g) return std::string();
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
  if (OnGetUserSortCompareString) OnGetUserSortCompareString(this, col, cell, s);
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
  const bool saved = fExpandedStateAlreadySaved;
  fExpandedStateAlreadySaved = true;
  try {
    RestoreLevel(0, theConvert);
  } catch (...) {
    fExpandedStateAlreadySaved = saved;
    throw;
  }
  fExpandedStateAlreadySaved = saved;
}

void TvxGrid::RestoreLevel(int theLevel, const TOnConvertNodeToStringKey& theConvert) {
  // Expanding makes the rows of the next level: that level is restored next.
  for (int level = theLevel;; ++level) {
    bool any = false;
    TAxisContentList* rows = GetBabGridCellForViewer()->GetAxisContentListY();
    std::vector<TvxDataEntity_GridTreeNode*> nodes;
    for (int p = 0; p < rows->LoadedCount(); ++p)
      if (auto* node = AxisContentItemToGridTreeNode(rows->getLoadedAxisContentItem(p)); node && node->GetLevel() == level)
        nodes.push_back(node);
    for (const auto& [key, entryLevel] : fExpandStateStringList) {
      if (entryLevel != level) continue;
      for (TvxDataEntity_GridTreeNode* node : nodes)
        if (!node->GetExpanded() && NodeKey(node, theConvert) == key) {
          node->SetExpanded(true);
          any = true;
        }
    }
    if (!any) return;
  }
}

}  // namespace vx
