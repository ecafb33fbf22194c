// The column grid's definitions: columns, sub-grids and cell layouts, and the
// data of its grid cells.
#include <algorithm>

#include <vxplan/grid/vxBabGridViewInternal.h>
#include <vxplan/grid/vxGrid.h>

namespace vx {

using gridview::UpperText;

// ---------------------------------------------------------------- cell layouts

TvxCellLayout::TvxCellLayout(TvxCellLayouts* theCollection)
    : fLayoutProperty(std::make_unique<TLayoutProp>()), fCollection(theCollection) {
  // The font is handed out for editing: its edits reach the cells too.
  fFont.SetOwnerListener([this](TObject*) {
    CopyFont();
    Changed();
  });
  Changed();
  CopyFont();
  if (TvxGrid* g = fCollection ? fCollection->GetGrid() : nullptr) g->_CellLayoutCreated(this);
}

TvxCellLayout::~TvxCellLayout() {
  TvxGrid* g = fCollection ? fCollection->GetGrid() : nullptr;
  if (!g) return;
  g->_CellLayoutDestroy(this);
  // Cells and columns that point at the layout forget it (a handler may
  // drop layouts while the grid paints).
  if (!g->IsDestroying()) g->ForgetLayout(fLayoutProperty.get());
}

int TvxCellLayout::GetIndex() const { return fCollection ? fCollection->IndexOf(this) : -1; }

std::string TvxCellLayout::GetDisplayName() const {
  return fName.empty() ? "TvxCellLayout" : fName;
}

void TvxCellLayout::Apply(TBabCell* theCell) const {
  if (theCell) theCell->SetLayoutProp(fLayoutProperty.get());
}

void TvxCellLayout::Remove(TBabCell* theCell) {
  if (theCell) theCell->SetLayoutProp(nullptr);
}

// Every setter stores and copies into the property object the cells point at.
void TvxCellLayout::Changed() {
  TLayoutProp& p = *fLayoutProperty;
  p.Name = fName;
  p.BackColor = fBackColor;
  p.FrontColor = fFrontColor;
  p.UseFontInfo = fUseFontInfo;
  p.MinWidth = fMinWidth;
  p.MinHeight = fMinHeight;
  p.WrapTextAndFit = fWrapTextAndFit;
  p.FlagDraw = fWindowsFlagDraw;
  p.Flags = fWindowsFlags;
  p.FrameOptions = fFrameOptions;
  p.FrameKind = fFrameKind;
  p.FrameColor = fFrameColor;
  p.FrameOptionsUse = fFrameOptionsUse;
  p.HorzAlignRight = fHorzAlignRight;
  p.HorzAlignCenter = fHorzAlignCenter;
  p.VertAlignCenter = fVertAlignCenter;
  p.EndEllipsis = fEndEllipsis;
  p.ColumnFrameLineDraw = fOnFrameLineDraw;
  TvxGrid* g = fCollection ? fCollection->GetGrid() : nullptr;
  if (g && !g->IsDestroying()) g->RecalcExtents();
}

void TvxCellLayout::CopyFont() {
  TLayoutProp& p = *fLayoutProperty;
  p.FontName = fFont.GetName();
  p.FontSize = fFont.GetSize();
  p.FontStyle = fFont.GetStyle();
  p.FontColor = fFont.GetColor();
}

void TvxCellLayout::SetName(const std::string& v) { fName = v, Changed(); }
void TvxCellLayout::SetBackColor(TColor v) { fBackColor = v, Changed(); }
void TvxCellLayout::SetFrontColor(TColor v) { fFrontColor = v, Changed(); }
void TvxCellLayout::SetUseFontInfo(bool v) { fUseFontInfo = v, CopyFont(), Changed(); }
void TvxCellLayout::SetFont(const TFont& f) { fFont.Assign(f), CopyFont(), Changed(); }
void TvxCellLayout::SetMinWidth(int v) { fMinWidth = std::clamp(v, 0, kMaxItemSize), Changed(); }
void TvxCellLayout::SetMinHeight(int v) { fMinHeight = std::clamp(v, 0, kMaxItemSize), Changed(); }
void TvxCellLayout::SetWrapTextAndFit(bool v) { fWrapTextAndFit = v, Changed(); }
void TvxCellLayout::SetWindowsFlagDraw(bool v) { fWindowsFlagDraw = v, Changed(); }
void TvxCellLayout::SetWindowsFlags(unsigned v) { fWindowsFlags = v, Changed(); }
void TvxCellLayout::SetFrameOptionsUse(bool v) { fFrameOptionsUse = v, Changed(); }
void TvxCellLayout::SetFrameOptions(TFrameOptions v) { fFrameOptions = v, Changed(); }
void TvxCellLayout::SetFrameKind(TFrameKind v) { fFrameKind = v, Changed(); }
void TvxCellLayout::SetFrameColor(TColor v) { fFrameColor = v, Changed(); }
void TvxCellLayout::SetHorzAlignRight(bool v) { fHorzAlignRight = v, Changed(); }
void TvxCellLayout::SetHorzAlignCenter(bool v) { fHorzAlignCenter = v, Changed(); }
void TvxCellLayout::SetVertAlignCenter(bool v) { fVertAlignCenter = v, Changed(); }
void TvxCellLayout::SetEndEllipsis(bool v) { fEndEllipsis = v, Changed(); }
void TvxCellLayout::SetOnFrameLineDraw(TOnLineDraw v) { fOnFrameLineDraw = std::move(v), Changed(); }

void TvxCellLayouts::ApplyFromLayoutName(const std::string& theName, TBabCell* theCell) const {
  const std::string key = UpperText(theName);
  for (int i = 0; i < Count(); ++i)
    if (UpperText(Item(i)->GetName()) == key) {
      Item(i)->Apply(theCell);
      return;
    }
}

// ---------------------------------------------------------------- columns

TvxGrid_Column::TvxGrid_Column(TvxGrid_Columns* theCollection)
    : fGrid(theCollection ? theCollection->GetGrid() : nullptr),
      fSubGrid(theCollection ? theCollection->GetSubGrid() : nullptr),
      fCollection(theCollection) {
  if (fGrid) fGrid->_ColumnCreated(this);
}

TvxGrid_Column::~TvxGrid_Column() {
  if (!fGrid) return;
  fGrid->_ColumnDestroy(this);
  if (fGrid->fSortingColumn == this) fGrid->fSortingColumn = nullptr;
  // Column items that stand for it forget it (a handler may drop the
  // definitions while the grid paints).
  if (!fGrid->IsDestroying()) fGrid->ForgetColumn(this);
}

int TvxGrid_Column::GetIndex() const { return fCollection ? fCollection->IndexOf(this) : -1; }

std::string TvxGrid_Column::GetDisplayName() const {
  return fHeaderText.empty() ? "Column" + std::to_string(GetIndex()) : fHeaderText;
}

void TvxGrid_Column::Assign(const TvxGrid_Column& theSource) {
  SetWidth(theSource.fWidth);
  SetKind(theSource.fKind);
  SetHeaderText(theSource.fHeaderText);
  fSortEnable = theSource.fSortEnable;
  fReadOnly = theSource.fReadOnly;
  SetSubGridName(theSource.fSubGridName);
  SetTreeButton(theSource.fButton);
  SetHasIcon(theSource.fHasIcon);
  fOnGetIconIndex = theSource.fOnGetIconIndex;
  SetHidden(theSource.fHidden);
}

void TvxGrid_Column::SetWidth(int v) {
  v = std::clamp(v, 0, kMaxItemSize);
  if (v == fWidth) return;
  fWidth = v;
  if (fGrid) fGrid->NeedEnsureFixed();
}

void TvxGrid_Column::SetKind(TColumnKind v) { fKind = v; }

void TvxGrid_Column::SetHeaderText(const std::string& v) {
  fHeaderText = v;
  if (fGrid) fGrid->NeedEnsureFixed();
}

void TvxGrid_Column::SetSubGridName(const std::string& v) { fSubGridName = v; }

void TvxGrid_Column::SetTreeButton(bool v) {
  fButton = v;
  if (fGrid) fGrid->Invalidate();
}

void TvxGrid_Column::SetHasIcon(bool v) {
  fHasIcon = v;
  if (fGrid) fGrid->Invalidate();
}

void TvxGrid_Column::AskRebuildExtents() {
  if (fGrid) fGrid->RecalcExtents();
}

void TvxGrid_Column::SetHidden(bool v) {
  fHidden = v;
  if (fCollection) fCollection->fCellVisibiltyOutOfDate = true;
  AskRebuildExtents();
}

void TvxGrid_Column::SetLayoutName(const std::string& v) {
  fLayoutName = v;
  fLayoutPropertyOutOfDate = true;
  AskRebuildExtents();
}

void TvxGrid_Column::SetGroupcells(bool v) {
  fGroupcells = v;
  AskRebuildExtents();
}

void TvxGrid_Column::SetOnGroupcellCompare(TOnGroupcellCompare v) {
  fOnGroupcellCompare = std::move(v);
  AskRebuildExtents();
}

TLayoutProp* TvxGrid_Column::GetLayoutProp() {
  if (!fLayoutPropertyOutOfDate) return fLayoutProp;
  fLayoutPropertyOutOfDate = false;
  TvxCellLayouts* layouts = fGrid ? fGrid->GetCellLayouts() : nullptr;
  const std::string key = UpperText(fLayoutName);
  for (int i = 0; layouts && i < layouts->Count(); ++i)
    if (UpperText(layouts->Item(i)->GetName()) == key) fLayoutProp = layouts->Item(i)->GetLayoutProperty();
  return fLayoutProp;
}

int TvxGrid_Column::GetRunTimeWidth() {
  TAxisContentItem* item = fGrid ? fGrid->ColumnToAxisContentItem(this) : nullptr;
  if (!item) return fWidth;
  if (item->GetUserSize() == TBabGridView_Custom::kFillUserSize) {
    const int left =
        fGrid->GetWidthOffAxisContentItemForHeightCalculation(fGrid->GetBabGridCellForViewer(), item);
    if (left >= 2) return left;
  }
  return item->GetUserSize();
}

void TvxGrid_Column::SetRunTimeWidth(int theWidth) {
  if (TAxisContentItem* item = fGrid ? fGrid->ColumnToAxisContentItem(this) : nullptr) {
    item->SetUserSizeActive(true);
    item->SetUserSize(theWidth);
  }
}

void TvxGrid_Column::SetIndex(int theIndex) {
  const int from = GetIndex();
  if (!fCollection || from < 0 || theIndex < 0 || theIndex >= fCollection->Count() || theIndex == from) return;
  if (fGrid) fGrid->EnsureFixed();
  fCollection->MoveItem(from, theIndex);
  if (!fGrid) return;
  auto move = [&](TBabGridCell* g) {
    const int fixed = g->GetFixedCols();
    g->GetAxisContentListX()->Move(fixed + from, fixed + theIndex);
  };
  if (fSubGrid) {
    for (TBabGridCell* g : fSubGrid->GetSpawnedGridCells()) move(g);
  } else {
    move(fGrid->GetBabGridCellForViewer());
  }
  fGrid->RecalcExtents();
}

void TvxGrid_Columns::Changed() {
  if (fGrid) fGrid->NeedEnsureFixed();
}

// ---------------------------------------------------------------- sub-grids

TvxGrid_SubGrid::TvxGrid_SubGrid(TvxGrid_SubGrids* theCollection) : fCollection(theCollection) {
  TvxGrid* g = theCollection ? theCollection->GetGrid() : nullptr;
  fvxGrid_Columns.reset(g ? g->CreateColumnsCollection(this) : new TvxGrid_Columns(nullptr, this));
}

TvxGrid_SubGrid::~TvxGrid_SubGrid() {
  // Its columns go first, while it knows the cells built from it.
  fvxGrid_Columns->Clear();
  // The nested cells built from it outlive it: they forget it.
  for (TBabGridCell* cell : fSpawnedGridCells)
    if (auto* data = dynamic_cast<TBabSubGridCellDataTreeRef*>(cell->GetBabCellData())) data->fSpawnedBy = nullptr;
}

int TvxGrid_SubGrid::GetIndex() const { return fCollection ? fCollection->IndexOf(this) : -1; }

std::string TvxGrid_SubGrid::GetDisplayName() const {
  return fName.empty() ? "SubGrid" + std::to_string(GetIndex()) : fName;
}

void TvxGrid_SubGrid::Assign(const TvxGrid_SubGrid& theSource) {
  fvxGrid_Columns->Clear();
  for (int i = 0; i < theSource.fvxGrid_Columns->Count(); ++i)
    fvxGrid_Columns->Add()->Assign(*theSource.fvxGrid_Columns->GetColumn(i));
  fName = theSource.fName;
  fHasInfoCol = theSource.fHasInfoCol;
  fHasHeaders = theSource.fHasHeaders;
  fExtendLastColumnToWidth = theSource.fExtendLastColumnToWidth;
}

void TvxGrid_SubGrid::AddSpawned(TBabGridCell* theCell) {
  if (std::find(fSpawnedGridCells.begin(), fSpawnedGridCells.end(), theCell) == fSpawnedGridCells.end())
    fSpawnedGridCells.push_back(theCell);
}

void TvxGrid_SubGrid::RemoveSpawned(TBabGridCell* theCell) {
  fSpawnedGridCells.erase(std::remove(fSpawnedGridCells.begin(), fSpawnedGridCells.end(), theCell),
                          fSpawnedGridCells.end());
}

TvxGrid_SubGrid* TvxGrid_SubGrids::SubGridByName(const std::string& theName) const {
  const std::string key = UpperText(theName);
  TvxGrid_SubGrid* found = nullptr;
  for (int i = 0; i < Count(); ++i)
    if (UpperText(Item(i)->GetName()) == key) found = Item(i);
  return found;
}

// ---------------------------------------------------------------- grid cell data

TBabSubGridCellDataTreeRef::~TBabSubGridCellDataTreeRef() {
  if (fSpawnedBy) fSpawnedBy->RemoveSpawned(fSpawnedCell);
  if (fGridTree) {
    // The cell's rows are gone already: the nodes must not touch them.
    fGridTree->DetachGridCell();
    fGridTree.reset();
  }
}

void TBabSubGridCellDataTreeRef::SetUseGridTree(bool theValue) {
  fUseGridTree = theValue;
  if (!theValue) {
    fGridTree.reset();
    return;
  }
  if (fGridTree) return;
  auto* cell = dynamic_cast<TBabGridCell*>(GetBabCell());
  auto* grid = dynamic_cast<TvxGrid*>(TBabGridView_Custom::ViewOf(cell));
  if (!cell || !grid) return;
  fGridTree.reset(grid->CreateGridTree(
      [grid](TvxGridTree* tree, TvxDataEntity_GridTreeNode* node) { grid->_InitTreeSubDataList(tree, node); }));
  if (fGridTree) fGridTree->SetGridCell(cell);
}

}  // namespace vx
