// The column grid's cells: their kind, content and look from the definitions,
// tree buttons and icons from the nodes, grouping, editing and the row hooks
// of cells that keep a tree.
#include <vxplan/grid/vxBabGridViewInternal.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {


TBabCellType TvxGrid::_OnCreateCell(TBabGridCell* theCaller, TAxisContentItem* theX, TAxisContentItem* theY) {
  TvxGrid_Column* col = AxisContentItemToColumn(theX);
  if (!col || (col->GetKind() != tckSubGrid && col->GetKind() != tckSubTree)) return babCellTypeSimple;
  if (!theCaller || !theX || !theY || theCaller->IsFixedCell(theX->ListIndex(), theY->ListIndex()))
    return babCellTypeSimple;
  return babCellTypeGrid;
}

void TvxGrid::InitContent(TBabSimpleCellStringData* theData) {
  TBabGridView_Custom::InitContent(theData);
  TBabCell* cell = theData->GetBabCell();
  TvxGrid_Column* col = CellToColumn(cell);
  if (!col) return;
  if (TLayoutProp* lp = col->GetLayoutProp(); lp && !cell->GetIsFixed()) cell->SetLayoutProp(lp);
  theData->SetIsBoolean(col->GetKind() == tckBool && !cell->GetIsFixed());
  if (fContentSource && IsOwnContentCell(cell)) fContentSource->FillCell(theData);
}

bool TvxGrid::IsOwnContentCell(const TBabCell* theCell) const {
  return theCell && !theCell->IsGridCell() && theCell->getGridCell() == GetBabGridCellForViewer() &&
         !theCell->GetIsFixed();
}

void TvxGrid::initSubGridContent(TBabSubGridCellData* theData) {
  TBabGridView_Custom::initSubGridContent(theData);
  if (auto* data = dynamic_cast<TBabSubGridCellDataTreeRef*>(theData)) InitSubGrid(data);
}

void TvxGrid::InitSubGrid(TBabSubGridCellDataTreeRef* theData) {
  auto* cell = dynamic_cast<TBabGridCell*>(theData->GetBabCell());
  if (!cell || !cell->getGridCell()) return;  // the outermost cell has the grid's own columns
  TvxGrid_Column* col = CellToColumn(cell);
  if (!col) return;
  if (TvxGrid_SubGrid* sub = ColumnToSubGrid(cell->GetAxisContentItemY(), col)) {
    InitColumnsAndFixed(cell, sub->GetColumns(), sub->GetHasHeaders(), sub->GetHasInfoCol());
    theData->fSpawnedBy = sub;
    theData->fSpawnedCell = cell;
    theData->SetUseGridTree(col->GetKind() == tckSubTree);
  }
  if (TLayoutProp* lp = col->GetLayoutProp(); lp && !cell->GetIsFixed()) cell->SetLayoutProp(lp);
}

TvxGrid_SubGrid* TvxGrid::ColumnToSubGrid(TAxisContentItem* theRowItem, TvxGrid_Column* theColumn) {
  std::string name = theColumn->GetSubGridName();
  if (const TOnContextSensitiveSubGrid& choose = theColumn->GetOnContextSensitiveSubGrid())
    choose(this, theRowItem, theColumn, name);
  return fSubGrids->SubGridByName(name);
}

void TvxGrid::PreDrawGetStringAndSetAttributes(TBabCell* theCell, TBabDrawStateSet theState, std::string& theText,
                                               bool& theValue, bool& theIsText) {
  TvxWatch<TBabCell> alive(theCell);
  TBabGridView_Custom::PreDrawGetStringAndSetAttributes(theCell, theState, theText, theValue, theIsText);
  if (!alive || !theCell->GetIsFixed()) return;
  if (TvxGrid_Column* col = CellToColumn(theCell)) {
    theText = col->GetHeaderText();
    theIsText = true;
  }
}

TvxAccessibleContent* TvxGrid::AccessibleContent() {
  if (IsDestroying()) return nullptr;
  if (!fAccessible) fAccessible = std::make_unique<TGridAccessible>(*this);
  return fAccessible.get();
}

bool TvxGrid::CheckSortAllow(TBabCell* theCell) {
  // Sorting orders the rows of the grid itself.
  if (!theCell || theCell->getGridCell() != GetBabGridCellForViewer()) return false;
  TvxGrid_Column* col = CellToColumn(theCell);
  return col && col->GetSortEnable();
}

bool TvxGrid::_OnCheckCellGrouping(TBabCell* theCellAbove, TBabCell* theCell) {
  TvxGrid_Column* col = CellToColumn(theCellAbove);
  if (!col || !col->GetGroupcells() || theCellAbove->GetIsFixed()) return false;
  if (const TOnGroupcellCompare& compare = col->GetOnGroupcellCompare()) return compare(this, col, theCellAbove, theCell);
  return GetText(theCellAbove) == GetText(theCell);
}

// ---------------------------------------------------------------- tree buttons and icons

TvxGridTree* TvxGrid::TreeOf(const TBabGridCell* theGridCell) const {
  auto* data = theGridCell ? dynamic_cast<TBabSubGridCellDataTreeRef*>(theGridCell->GetBabCellData()) : nullptr;
  return data ? data->GetGridTree() : nullptr;
}

TvxDataEntity_GridTreeNode* TvxGrid::AxisContentItemToGridTreeNode(const TAxisContentItem* theItem) {
  return TvxGridTree::NodeOfRow(theItem);
}

TvxDataEntity_GridTreeNode* TvxGrid::CellToNode(const TBabCell* theCell) {
  if (!theCell || theCell->IsGridCell()) return nullptr;
  auto* data = theCell->getGridCell()
                   ? dynamic_cast<TBabSubGridCellDataTreeRef*>(theCell->getGridCell()->GetBabCellData())
                   : nullptr;
  if (!data || !data->GetGridTree()) return nullptr;
  return TvxGridTree::NodeOfRow(theCell->GetAxisContentItemY());
}

TvxDataEntity_GridTreeNode* TvxGrid::GetCurrentNode() const { return CellToNode(GetFocusedCell()); }

TvxGridTree* TvxGrid::GetTree() const { return TreeOf(GetBabGridCellForViewer()); }

TvxGridTree* TvxGrid::GetTreeInSubGrid(TBabCell* theCell) const {
  return theCell && theCell->IsGridCell() ? TreeOf(static_cast<TBabGridCell*>(theCell)) : nullptr;
}

bool TvxGrid::GetUseTree() const { return GetTree() != nullptr; }

void TvxGrid::SetUseTree(bool theValue) { SetUseTreeInSubGrid(GetBabGridCellForViewer(), theValue); }

bool TvxGrid::GetUseTreeInSubGrid(TBabCell* theCell) const { return GetTreeInSubGrid(theCell) != nullptr; }

void TvxGrid::SetUseTreeInSubGrid(TBabCell* theCell, bool theValue) {
  auto* data = theCell && theCell->IsGridCell() ? dynamic_cast<TBabSubGridCellDataTreeRef*>(theCell->GetBabCellData())
                                                : nullptr;
  if (data) data->SetUseGridTree(theValue);
}

bool TvxGrid::IsButtonExpanded(TBabCell* theCell) {
  if (OnIsButtonExpanded) return OnIsButtonExpanded(this, theCell);
  TvxDataEntity_GridTreeNode* node = CellToNode(theCell);
  return node && node->GetExpanded();
}

bool TvxGrid::IsButtonTerminal(TBabCell* theCell) {
  if (OnIsButtonTerminal) return OnIsButtonTerminal(this, theCell);
  TvxDataEntity_GridTreeNode* node = CellToNode(theCell);
  return node && node->GetExpanded() && node->GetSubDataListCount() == 0;
}

bool TvxGrid::ButtonHasNonHiddenChildren(TBabCell* theCell) {
  if (OnButtonHasNonHiddenChildren) return OnButtonHasNonHiddenChildren(this, theCell);
  TvxDataEntity_GridTreeNode* node = CellToNode(theCell);
  if (!node) return false;
  if (!node->GetSubDataListInitiated()) return true;
  TvxDataList* sub = node->PeekSubDataList();
  for (int p = 0; sub && p < sub->LoadedCount(); ++p) {
    auto* child = static_cast<TvxDataEntity_GridTreeNode*>(sub->GetLoaded(p));
    if (!child->Get_HideNode()) return true;
  }
  // Unloaded children are taken to show.
  return sub && sub->Count() > sub->LoadedCount();
}

TBabCell* TvxGrid::GetParentButtonCell(TBabCell* theCell) {
  if (OnGetParentButtonCell) return OnGetParentButtonCell(this, theCell);
  TvxDataEntity_GridTreeNode* node = CellToNode(theCell);
  TvxDataEntity_GridTreeNode* parent = node ? node->ParentNode() : nullptr;
  TAxisContentItem* row = parent ? parent->GetAxisContentItem() : nullptr;
  if (!row) return nullptr;
  return theCell->getGridCell()->getCell(theCell->GetCol(), row->ListIndex());
}

int TvxGrid::CellInset(TBabCell* theCell) {
  if (OnCellInset) return OnCellInset(this, theCell);
  TvxDataEntity_GridTreeNode* node = CellToNode(theCell);
  if (!node) return 0;
  return Round(node->GetLevel() * (GetIsPrinting() ? GetPrintScalex() : 1.0));
}

int TvxGrid::CellIconIndex(TBabCell* theCell) {
  TvxGrid_Column* col = CellToColumn(theCell);
  if (!col) return -1;
  int index = -1;
  if (col->GetOnGetIconIndex()) {
    // The handler may drop the cell or the column (and the handler with it).
    const TOnGetIconIndex handler = col->GetOnGetIconIndex();
    TvxWatch<TBabCell> alive(theCell);
    index = handler(this, col, theCell);
    col = alive ? CellToColumn(theCell) : nullptr;
    if (!col) return -1;
  }
  if (col->GetTreeButton())
    if (TvxDataEntity_GridTreeNode* node = CellToNode(theCell))
      index = theCell->GetSelected() ? node->GetSelectedIndex() : node->GetImageIndex();
  return index;
}

bool TvxGrid::CellHasIcon(TBabCell* theCell) {
  TvxGrid_Column* col = CellToColumn(theCell);
  return col && col->GetHasIcon() && CellIconIndex(theCell) != -1;
}

void TvxGrid::DoButtonAction(TBabCell* theCell) {
  // Expanding is heard (OnExpand, the sub list's filling): the cell may go.
  TvxWatch<TBabCell> alive(theCell);
  if (theCell && !theCell->IsGridCell())
    if (TvxDataEntity_GridTreeNode* node = CellToNode(theCell)) {
      TFlagScope expanding(fIsExpanding);
      node->SetExpanded(!node->GetExpanded());
    }
  if (alive)
    TBabGridView_Custom::DoButtonAction(theCell);
  else
    Invalidate();
}

// ---------------------------------------------------------------- editing

void TvxGrid::DoChooseEditor(TBabSimpleCellStringData* theData, TBabEditorType& theChoice) {
  TvxGrid_Column* col = theData ? CellToColumn(theData->GetBabCell()) : nullptr;
  if (!col) return;
  // A source's check box is one whatever the column's kind.
  if (fContentSource && theData->GetIsBoolean() && IsOwnContentCell(theData->GetBabCell())) {
    theChoice = babETBool;
    return;
  }
  switch (col->GetKind()) {
    case tckSimpleEdit: theChoice = babETEdit; break;
    case tckMemo: theChoice = babETMemo; break;
    case tckBool: theChoice = babETBool; break;
    case tckCombo: theChoice = babETCombo; break;
    case tckDate:
    case tckTime:
      theChoice = babETDateTime;
      GetInplaceDateTimeEditor()->SetShowCheckbox(col->GetCheckBoxOnDateTime());
      break;
    default: break;
  }
}

void TvxGrid::InitEditor(TControl* theEditor, TBabCell* theCell, std::string& theText) {
  TvxGrid_Column* col = CellToColumn(theCell);
  TvxWatch<TBabCell> alive(theCell);
  if (theEditor == GetInplaceComboEditor() && OnBeforeEditWithCombo) OnBeforeEditWithCombo(this, col, theCell);
  if (!alive) return;  // the start ends there
  col = CellToColumn(theCell);
  TBabInplaceDateTimeEditor* picker = GetInplaceDateTimeEditor();
  if (theEditor == picker) {
    picker->SetKind(col && col->GetKind() == tckDate ? dtkDate : dtkTime);
    picker->SetShowCheckbox(col && col->GetCheckBoxOnDateTime());
  }
  TBabGridView_Custom::InitEditor(theEditor, theCell, theText);
}

bool TvxGrid::EditorCanModifyDefaultValue(TBabCell* theCell) {
  TvxGrid_Column* col = CellToColumn(theCell);
  return !col || !col->GetReadOnly();
}

// A read-only column refuses edits unless the host decides otherwise.
bool TvxGrid::EditorCanModify(TBabCell* theCell) {
  // A source's cell is editable only when the source says so; the host may still refuse.
  if (fContentSource && IsOwnContentCell(theCell)) {
    TvxWatch<TBabCell> alive(theCell);
    if (!fContentSource->CanEditCell(theCell) || !alive) return false;
  }
  return OnEditorCanModify ? OnEditorCanModify(this, theCell) : EditorCanModifyDefaultValue(theCell);
}

bool TvxGrid::AcceptEditedText(TBabCell* theCell, std::string& theText) {
  if (!fContentSource || !IsOwnContentCell(theCell)) return true;
  return fContentSource->WriteCell(theCell, theText);
}

void TvxGrid::InitEditCombo(const std::vector<std::string>& theItems, int theItemIndex) {
  TBabInplaceComboEditor* combo = GetInplaceComboEditor();
  combo->SetItems(theItems);
  if (theItemIndex != -1) combo->SetItemIndex(theItemIndex);
}

// ---------------------------------------------------------------- rows of cells with a tree

void TvxGrid::_OnVirtualLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn) {
  if (theRowNotColumn)
    if (TvxGridTree* tree = TreeOf(theCaller)) tree->_OnGridRowReload(theItem);
  if (fContentSource && theRowNotColumn && theCaller == GetBabGridCellForViewer()) fContentSource->RowLoaded(theItem);
  TBabGridView_Custom::_OnVirtualLoad(theCaller, theItem, theRowNotColumn);
}

void TvxGrid::_OnVirtualUnLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn,
                               bool theUnloadPerform, bool& theCanUnload) {
  // A source gives every row again: they may go, unless the host says otherwise.
  if (fContentSource && theRowNotColumn && theCaller == GetBabGridCellForViewer()) theCanUnload = true;
  TBabGridView_Custom::_OnVirtualUnLoad(theCaller, theItem, theRowNotColumn, theUnloadPerform, theCanUnload);
  if (theRowNotColumn && (theCanUnload || theUnloadPerform))
    if (TvxGridTree* tree = TreeOf(theCaller)) tree->_OnGridRowUnload(theItem, theUnloadPerform, theCanUnload);
}

void TvxGrid::_OnAxisItemRemoved(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn) {
  TBabGridView_Custom::_OnAxisItemRemoved(theCaller, theItem, theRowNotColumn);
  if (!theRowNotColumn || IsDestroying()) return;
  if (TvxGridTree* tree = TreeOf(theCaller)) tree->_OnGridRowRemoved(theItem);
}

void TvxGrid::_OnKeepAfterUnLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn,
                                 bool& theKeepAfterUnload) {
  TBabGridView_Custom::_OnKeepAfterUnLoad(theCaller, theItem, theRowNotColumn, theKeepAfterUnload);
  if (theRowNotColumn)
    if (TvxGridTree* tree = TreeOf(theCaller)) tree->_OnKeepGridRowAfterUnload(theItem, theKeepAfterUnload);
}

void TvxGrid::_OnUnloadIntervall(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn,
                                 int& theStart, int& theStop) {
  TBabGridView_Custom::_OnUnloadIntervall(theCaller, theItem, theRowNotColumn, theStart, theStop);
  if (theRowNotColumn)
    if (TvxGridTree* tree = TreeOf(theCaller)) tree->_OnUnloadIntervall(theItem, theStart, theStop);
}

void TvxGrid::_OnDeleteOfUnloaded(TBabGridCell* theCaller, bool theRowNotColumn, int& theStart, int& theStop) {
  TBabGridView_Custom::_OnDeleteOfUnloaded(theCaller, theRowNotColumn, theStart, theStop);
  if (theRowNotColumn)
    if (TvxGridTree* tree = TreeOf(theCaller))
      tree->_OnDeleteOfUnloaded(theCaller->GetAxisContentListY(), theStart, theStop);
}

}  // namespace vx
