// The column grid's composition, its columns built from the definitions, its
// rows and cells, and the sizes it keeps for a stretched last column.
#include <vxplan/grid/vxGrid.h>

#include <vxplan/grid/vxBabGridViewInternal.h>
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {


TvxGrid::TvxGrid(TComponent* AOwner) : TvxGrid(AOwner, DeferInitialize{}) { Initialize(); }

TvxGrid::TvxGrid(TComponent* AOwner, DeferInitialize)
    : TBabGridView_Custom(AOwner, TBabSimpleCellDataClass::Of<TBabSimpleCellStringData>(),
                          TBabGridCellDataClass::Of<TBabSubGridCellDataTreeRef>()) {}

void TvxGrid::Initialize() {
  if (fvxGrid_Columns) return;
  fvxGrid_Columns.reset(CreateColumnsCollection(nullptr));
  fSubGrids.reset(CreateSubGridsCollection());
  fCellLayouts.reset(CreateCellLayoutsCollection());
  fHasHeaders = true;
  fHasInfoCol = true;
  SetOnCreateCell([this](TBabGridCell* g, TAxisContentItem* x, TAxisContentItem* y) { return _OnCreateCell(g, x, y); });
  OnChooseEditor = [this](TBabGridView_Custom*, TBabSimpleCellStringData* d, TBabEditorType& t) { DoChooseEditor(d, t); };
  OnCellHasButton = [this](TBabGridView_Custom*, TBabCell* c) {
    TvxGrid_Column* col = CellToColumn(c);
    return col && col->GetTreeButton();
  };
}

TvxGrid::~TvxGrid() {
  Destroying();
  TDoLater::NeverMind(DoLaterCall<&TvxGrid::ExtendLastColumnToWidth_Async>(this));
  TDoLater::NeverMind(DoLaterCall<&TvxGrid::ClearExpandedStateAlreadySavedFlag>(this));
  // The cells (and the trees and nested grids in them) go while the
  // definitions they refer to are whole.
  if (TBabGridCellForViewer* g = GetBabGridCellForViewer()) {
    if (auto* data = dynamic_cast<TBabSubGridCellDataTreeRef*>(g->GetBabCellData())) data->SetUseGridTree(false);
    g->GetAxisContentListY()->Clear();
    g->GetAxisContentListX()->Clear();
  }
  DestroyColumns();
  if (fSubGrids) fSubGrids->Clear();
  if (fCellLayouts) fCellLayouts->Clear();
}

void TvxGrid::DestroyColumns() {
  if (fvxGrid_Columns) fvxGrid_Columns->Clear();
}

TvxGrid_Columns* TvxGrid::CreateColumnsCollection(TvxGrid_SubGrid* theSubGrid) {
  return new TvxGrid_Columns(this, theSubGrid);
}

TvxGrid_SubGrids* TvxGrid::CreateSubGridsCollection() { return new TvxGrid_SubGrids(this); }

TvxCellLayouts* TvxGrid::CreateCellLayoutsCollection() { return new TvxCellLayouts(this); }

TvxGridTree* TvxGrid::CreateGridTree(TOnTreeControllerCallBackInitSubList theInitSubList) {
  return new TvxGridTree(std::move(theInitSubList));
}

void TvxGrid::_InitTreeSubDataList(TvxGridTree* theTree, TvxDataEntity_GridTreeNode* theNode) {
  if (OnInitTreeSubDataList) OnInitTreeSubDataList(this, theTree, theNode);
}

// ---------------------------------------------------------------- columns

TvxGrid_Column* TvxGrid::AddColumn() {
  TvxGrid_Column* col = fvxGrid_Columns->Add();
  if (fvxGrid_Columns->Count() == 1) {
    EnsureFixed();
    RecalcExtents();
  }
  return col;
}

void TvxGrid::NeedEnsureFixed() {
  if (IsDestroying()) return;
  fNeedEnsureFixed = true;
  Invalidate();
}

void TvxGrid::EnsureFixed() {
  if (!fNeedEnsureFixed || IsDestroying()) return;
  InitColumnsAndFixed(GetBabGridCellForViewer(), fvxGrid_Columns.get(), fHasHeaders, fHasInfoCol);
  RecalcExtents();
}

void TvxGrid::InitColumnsAndFixed(TBabGridCell* theGridCell, TvxGrid_Columns* theColumns, bool theHasHeaders,
                                  bool theHasInfoCol) {
  if (!theGridCell || !theColumns) return;
  TFlagScope building(fBuildingColumns);
  if (theGridCell == GetBabGridCellForViewer()) fNeedEnsureFixed = false;
  TAxisContentList* cols = theGridCell->GetAxisContentListX();
  TAxisContentList* rows = theGridCell->GetAxisContentListY();
  // Fixed items are declared before they are made: a cell decides at its
  // creation whether it is a header.
  if (theHasInfoCol && theGridCell->GetFixedCols() != 1) {
    theGridCell->SetFixedCols(1);
    if (TAxisContentItem* info = cols->InsertNew(0, nullptr)) {
      info->SetUserSizeActive(true);
      info->SetUserSize(20);
    }
  } else if (!theHasInfoCol && theGridCell->GetFixedCols() > 0) {
    theGridCell->SetFixedCols(0);
    cols->Drop(0);
  }
  if (theHasHeaders && theGridCell->GetFixedRows() != 1) {
    theGridCell->SetFixedRows(1);
    rows->InsertNew(0, nullptr);
  } else if (!theHasHeaders && theGridCell->GetFixedRows() > 0) {
    theGridCell->SetFixedRows(0);
    rows->Drop(0);
  }
  const int fixed = theGridCell->GetFixedCols(), wanted = fixed + theColumns->Count();
  while (cols->Count() < wanted)
    if (!cols->AddNew(theColumns->GetColumn(cols->Count() - fixed))) break;
  while (cols->Count() > wanted) cols->Drop(cols->Count() - 1);
  for (int i = 0; i < theColumns->Count(); ++i) {
    TAxisContentItem* item = cols->getAxisContentItem(fixed + i);
    if (!item) continue;
    item->SetValue(theColumns->GetColumn(i));
    item->SetUserSizeActive(true);
    item->SetUserSize(theColumns->GetColumn(i)->GetWidth());
  }
  if (TvxGrid_SubGrid* sub = theColumns->GetSubGrid()) sub->AddSpawned(theGridCell);
  theColumns->SetCellVisibiltyOutOfDate(true);
}

void TvxGrid::UpdateColumnsVisibility(TvxGrid_Columns* theColumns) {
  if (!theColumns) return;
  theColumns->SetCellVisibiltyOutOfDate(false);
  auto apply = [theColumns](TBabGridCell* g) {
    const int fixed = g->GetFixedCols();
    for (int i = 0; i < theColumns->Count(); ++i)
      if (TAxisContentItem* item = g->GetAxisContentListX()->getAxisContentItem(fixed + i))
        item->SetHide(theColumns->GetColumn(i)->GetHidden());
  };
  if (TvxGrid_SubGrid* sub = theColumns->GetSubGrid()) {
    for (TBabGridCell* g : sub->GetSpawnedGridCells()) apply(g);
  } else {
    apply(GetBabGridCellForViewer());
  }
}

void TvxGrid::ForgetColumn(TvxGrid_Column* theColumn) {
  auto forget = [theColumn](TBabGridCell* g) {
    TAxisContentList* cols = g->GetAxisContentListX();
    for (int p = 0; p < cols->LoadedCount(); ++p)
      if (TAxisContentItem* item = cols->getLoadedAxisContentItem(p); item->GetValue() == theColumn)
        item->SetValue(nullptr);
  };
  if (TvxGrid_SubGrid* sub = theColumn->GetSubGrid())
    for (TBabGridCell* g : sub->GetSpawnedGridCells()) forget(g);
  else
    forget(GetBabGridCellForViewer());
  Invalidate();
}

void TvxGrid::ForgetLayout(TLayoutProp* theProp) {
  ForgetLayoutProp(theProp);
  auto forget = [theProp](TvxGrid_Columns* theColumns) {
    for (int i = 0; i < theColumns->Count(); ++i) theColumns->GetColumn(i)->ForgetLayoutProp(theProp);
  };
  forget(fvxGrid_Columns.get());
  for (int i = 0; fSubGrids && i < fSubGrids->Count(); ++i) forget(fSubGrids->Item(i)->GetColumns());
}

TvxGrid_Column* TvxGrid::AxisContentItemToColumn(const TAxisContentItem* theItem) {
  return theItem ? dynamic_cast<TvxGrid_Column*>(theItem->GetValue()) : nullptr;
}

TvxGrid_Column* TvxGrid::CellToColumn(TBabCell* theCell) const {
  if (!theCell) return nullptr;
  if (TvxGrid_Column* col = AxisContentItemToColumn(theCell->GetAxisContentItemX())) return col;
  TBabGridCell* g = theCell->getGridCell();
  if (g != GetBabGridCellForViewer()) return nullptr;
  return fvxGrid_Columns->GetColumn(theCell->GetCol() - g->GetFixedCols());
}

TAxisContentItem* TvxGrid::ColumnToAxisContentItem(TvxGrid_Column* theColumn) const {
  const int i = fvxGrid_Columns->IndexOf(theColumn);
  if (i < 0) return nullptr;
  TBabGridCellForViewer* g = GetBabGridCellForViewer();
  TAxisContentItem* item = g->GetAxisContentListX()->getAxisContentItem(g->GetFixedCols() + i);
  return item && item->GetValue() == theColumn ? item : nullptr;
}

void TvxGrid::SetHasHeaders(bool v) {
  if (v == fHasHeaders) return;
  fHasHeaders = v;
  fNeedEnsureFixed = true;
  EnsureFixed();
}

void TvxGrid::SetHasInfoCol(bool v) {
  if (v == fHasInfoCol) return;
  fHasInfoCol = v;
  fNeedEnsureFixed = true;
  EnsureFixed();
}

void TvxGrid::SetExtendLastColumnToWidth(bool v) {
  fExtendLastColumnToWidth = v;
  RecalcExtents();
}

void TvxGrid::RedrawIfNeeded() {
  if (fNeedEnsureFixed || GetHardViewParamsOutOfDate() || GetSoftViewParamsOutOfDate()) {
    EnsureFixed();
    UpdateLayout();
    Invalidate();
  }
}

// ---------------------------------------------------------------- the stretched last column

void TvxGrid::HardViewParamsUpdate() {
  if (fvxGrid_Columns->GetCellVisibiltyOutOfDate()) UpdateColumnsVisibility(fvxGrid_Columns.get());
  for (int i = 0; i < fSubGrids->Count(); ++i)
    if (fSubGrids->Item(i)->GetColumns()->GetCellVisibiltyOutOfDate())
      UpdateColumnsVisibility(fSubGrids->Item(i)->GetColumns());
  if (TvxGridTree* tree = GetTree()) tree->IntegrationTargetInvalidate();
  if (fExtendLastColumnToWidth) TDoLater::DoLater(DoLaterCall<&TvxGrid::ExtendLastColumnToWidth_Async>(this), nullptr);
  TBabGridView_Custom::HardViewParamsUpdate();
}

void TvxGrid::ExtendLastColumnToWidth_Async(TObject*) {
  if (IsDestroying() || !fExtendLastColumnToWidth || fvxGrid_Columns->Count() == 0 || GetIsPrinting()) return;
  ExtendLastColumn(GetBabGridCellForViewer());
}

void TvxGrid::ExtendLastColumn(TBabGridCell* theGridCell) {
  TAxisContentList* cols = theGridCell->GetAxisContentListX();
  TAxisContentItem* last = cols->getAxisContentItem(cols->Count() - 1);
  if (!last || last->GetUserSize() == kFillUserSize) return;
  last->SetUserSizeActive(true);
  last->SetUserSize(kFillUserSize);
  RecalcExtents();
}

bool TvxGrid::GetExpandLastColumnIfShort() const {
  const int defs = fvxGrid_Columns->Count();
  if (!fExtendLastColumnToWidth || defs == 0) return false;
  TBabGridCellForViewer* g = GetBabGridCellForViewer();
  const int last = g->GetFixedCols() + defs - 1;
  TAxisContentList* cols = g->GetAxisContentListX();
  if (g->GetBrokenColumn() != last || cols->Count() < defs) return false;
  TAxisContentItem* item = cols->getLoadedAxisContentItem(cols->IndexConvert_RealToLoaded(last));
  return item && fvxGrid_Columns->GetColumn(defs - 1)->GetWidth() < GetWidth() - item->GetAcumSize();
}

int TvxGrid::GetWidthOffAxisContentItemForHeightCalculation(TBabGridCell* theGridCell, TAxisContentItem* theItem) {
  if (theItem && theItem->GetUserSize() == kFillUserSize) return WidthLeftForColumn(theGridCell, theItem);
  return TBabGridView_Custom::GetWidthOffAxisContentItemForHeightCalculation(theGridCell, theItem);
}

void TvxGrid::UserSizeChanged(TAxisContentItem* theItem) {
  if (!theItem || fBuildingColumns) return;
  TBabGridCellForViewer* g = GetBabGridCellForViewer();
  TAxisContentList* list = theItem->GetAxisContentList();
  if (list == g->GetAxisContentListX()) {
    for (int i = 0; i < fSubGrids->Count(); ++i)
      if (fSubGrids->Item(i)->GetExtendLastColumnToWidth())
        for (TBabGridCell* cell : fSubGrids->Item(i)->GetSpawnedGridCells()) ExtendLastColumn(cell);
    RecalcExtents();
    if (OnColumnResized) OnColumnResized(this, theItem->ListIndex() - g->GetFixedCols());
  } else if (list == g->GetAxisContentListY()) {
    RecalcExtents();
    if (OnRowResized) OnRowResized(this, theItem->ListIndex() - g->GetFixedRows());
  }
}

void TvxGrid::TopLeftChanged() {
  TBabGridView_Custom::TopLeftChanged();
  const int left = GetBabGridCellForViewer()->GetLeft();
  if (fExtendLastColumnToWidth && left != fLastKnownLeft) RecalcExtents();
  fLastKnownLeft = left;
}

void TvxGrid::Resize() {
  TBabGridView_Custom::Resize();
  if (fExtendLastColumnToWidth && fvxGrid_Columns) RecalcExtents();
}

void TvxGrid::OffscreenPaint() {
  EnsureFixed();
  TBabGridView_Custom::OffscreenPaint();
}

// ---------------------------------------------------------------- rows and cells

TAxisContentItem* TvxGrid::AddRow(TObject* theValue) {
  return GetBabGridCellForViewer()->GetAxisContentListY()->AddNew(theValue);
}

TAxisContentItem* TvxGrid::InsertRow(int theIndex, TObject* theValue) {
  return GetBabGridCellForViewer()->GetAxisContentListY()->InsertNew(theIndex, theValue);
}

TAxisContentItem* TvxGrid::AddRowInSubGrid(TBabCell* theGridCell, TObject* theValue) {
  auto* g = theGridCell && theGridCell->IsGridCell() ? static_cast<TBabGridCell*>(theGridCell) : nullptr;
  return g ? g->GetAxisContentListY()->AddNew(theValue) : nullptr;
}

TAxisContentItem* TvxGrid::InsertRowInSubGrid(TBabCell* theGridCell, int theIndex, TObject* theValue) {
  auto* g = theGridCell && theGridCell->IsGridCell() ? static_cast<TBabGridCell*>(theGridCell) : nullptr;
  return g ? g->GetAxisContentListY()->InsertNew(theIndex, theValue) : nullptr;
}

TBabCell* TvxGrid::GetCell(int x, int y) { return GetBabGridCellForViewer()->getCell(x, y); }

int TvxGrid::GetCellCountX() const { return GetBabGridCellForViewer()->GetAxisContentListX()->Count(); }

int TvxGrid::GetCellCountY() const { return GetBabGridCellForViewer()->GetAxisContentListY()->Count(); }

int TvxGrid::GetRowHeight(int i) {
  TAxisContentItem* row = GetBabGridCellForViewer()->GetAxisContentListY()->getAxisContentItem(i);
  if (!row) return 0;
  return std::max(row->GetUserSizeActive() ? row->GetUserSize() : 0, row->GetCalculatedSize());
}

void TvxGrid::SetRowHeight(int i, int h) {
  TAxisContentItem* row = GetBabGridCellForViewer()->GetAxisContentListY()->getAxisContentItem(i);
  if (!row) return;
  row->SetUserSizeActive(true);
  row->SetUserSize(h);
  RecalcExtents();
}

TBabCell* TvxGrid::GetTopLeftCell() {
  TBabGridCellForViewer* g = GetBabGridCellForViewer();
  TAxisContentList* cols = g->GetAxisContentListX();
  for (int x = g->GetLeft(); x < cols->Count(); ++x) {
    TAxisContentItem* item = cols->getAxisContentItem(x);
    if (item && !item->GetHide()) return g->getCell(x, g->GetTop());
  }
  return nullptr;
}

void TvxGrid::SetTopLeftCell(TBabCell* theCell) {
  TBabGridCellForViewer* g = GetBabGridCellForViewer();
  if (!theCell || theCell->getGridCell() != g) return;
  TAxisContentList* cols = g->GetAxisContentListX();
  const int x = theCell->GetCol();
  // The closest column that shows.
  for (int d = 0; d < cols->Count(); ++d)
    for (int c : {x - d, x + d}) {
      TAxisContentItem* item = c >= g->GetFixedCols() ? cols->getAxisContentItem(c) : nullptr;
      if (item && !item->GetHide()) {
        g->SetLeft(c);
        g->SetTop(theCell->GetRow());
        return;
      }
    }
  g->SetTop(theCell->GetRow());
}

TBabCell* TvxGrid::GetFocusedCell() const { return GetBabGridCellForViewer()->GetFocusedCellDownTrack(); }

void TvxGrid::SetFocusedCell(TBabCell* theCell) {
  // Through the outermost cell, which focuses every grid on the way down.
  if (!theCell || theCell->GetViewerGridCell() == GetBabGridCellForViewer())
    GetBabGridCellForViewer()->SetFocusedCell(theCell);
}

TBabCell* TvxGrid::GetCellAtPixel(int x, int y) { return GetBabGridCellForViewer()->CellFromPix(x, y, true); }

TPoint TvxGrid::PreferredSize() const { return Point(480, 240); }

TPoint TvxGrid::MinimumSize() const { return Point(60, 60); }

}  // namespace vx
