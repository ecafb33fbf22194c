// Cells, their data, the cell matrix and the grid cell's life with its axes.
#include <algorithm>

#include <vxplan/grid/vxBabGridContent.h>

namespace vx {

// ---------------------------------------------------------------- TBabCellData

TAxisContentItem* TBabCellData::GetAxisContentItemX() const {
  return fBabCell ? fBabCell->GetAxisContentItemX() : nullptr;
}

TAxisContentItem* TBabCellData::GetAxisContentItemY() const {
  return fBabCell ? fBabCell->GetAxisContentItemY() : nullptr;
}

TBabCellType TBabCellData::GetBabCellType() const {
  return fBabCell && fBabCell->IsGridCell() ? babCellTypeGrid : babCellTypeSimple;
}

// ---------------------------------------------------------------- TBabCell

TBabCell::TBabCell(TBabGridCell* theGridCell) : fBabGridCell(theGridCell) {}

TBabCell::~TBabCell() = default;

void TBabCell::CreateData() {
  TBabCellData* data = nullptr;
  if (fBabGridCell) {
    data = fBabGridCell->CreateBabCellData(this);
  } else if (auto* v = dynamic_cast<TBabGridCellForViewer*>(this)) {
    data = v->GetBabGridCellDataClass().Create();
    if (!data) throw Exception("CreateBabCellData");
  }
  fBabCellData.reset(data);
  if (data) data->fBabCell = this;
}

TBabGridCellForViewer* TBabCell::GetViewerGridCell() const {
  const TBabCell* c = this;
  while (c->fBabGridCell) c = c->fBabGridCell;
  return dynamic_cast<TBabGridCellForViewer*>(const_cast<TBabCell*>(c));
}

TEvent* TBabCell::GetCellChangeEvent() {
  if (!fCellChangeEvent) fCellChangeEvent = std::make_unique<TEvent>(this);
  return fCellChangeEvent.get();
}

bool TBabCell::GetIsFixed() const {
  return fBabGridCell && fBabGridCell->IsFixedCell(GetCol(), GetRow());
}

TRect TBabCell::getVisibleRect() {
  TRect r = fLastDrawnRect;
  if (TBabGridCellForViewer* v = GetViewerGridCell()) v->CellRectTampering(this, r);
  return r;
}

namespace {

// One spread of a row selection at a time per grid cell, undone even when a
// handler throws or drops the grid cell.
class TRowSelecting {
public:
  TRowSelecting(TBabGridCell* theGrid, int& theField, int theRow)
      : fGrid(theGrid), fField(theField), fSaved(theField) {
    fField = theRow;
  }
  ~TRowSelecting() {
    if (fGrid) fField = fSaved;
  }
  TRowSelecting(const TRowSelecting&) = delete;
  TRowSelecting& operator=(const TRowSelecting&) = delete;

private:
  TvxWatch<TBabCell> fGrid;
  int& fField;
  int fSaved;
};

}  // namespace

void TBabCell::ApplySelected(bool theValue) {
  // The hooks and the handlers of the spread may drop this cell or its row.
  TvxWatch<TBabCell> self(this);
  TBabGridCellForViewer* v = GetViewerGridCell();
  if (v) v->InternalSelectionChanged(this, theValue);
  if (!self) return;
  fSelected = theValue;
  TBabGridCell* g = fBabGridCell;
  if (g && g->fRowSelect) {
    const int row = GetRow();
    // One spread per row: the cells it selects must not spread it again.
    if (row >= 0 && g->fRowSelecting != row) {
      TRowSelecting spreading(g, g->fRowSelecting, row);
      g->AreaSelect(theValue, Rect(g->GetFixedCols(), row, g->GetCellMatris()->CountX() - 1, row));
    }
    if (!self) return;
  }
  if (v) v->GetSelectionChangeEvent()->TriggerEvent(this);
}

void TBabCell::SetSelected(bool theValue) {
  if (fSelected == theValue) return;
  ApplySelected(theValue);
}

TBabSimpleCell::TBabSimpleCell(TBabGridCell* theGridCell) : TBabCell(theGridCell) { CreateData(); }

// ---------------------------------------------------------------- TCellMatris

TCellMatris::~TCellMatris() { Clear(); }

void TCellMatris::Clear() {
  // Column by column from the end, so that hooks see a consistent rest.
  while (!fCellListList.empty()) {
    std::vector<TBabCell*> col = std::move(fCellListList.back());
    fCellListList.pop_back();
    for (TBabCell* c : col)
      if (c) FreeCell(c);
  }
}

int TCellMatris::CountX() const noexcept { return fBabGridCell->GetAxisContentListX()->Count(); }
int TCellMatris::CountY() const noexcept { return fBabGridCell->GetAxisContentListY()->Count(); }
int TCellMatris::LoadedCountY() const noexcept { return fBabGridCell->GetAxisContentListY()->LoadedCount(); }

void TCellMatris::FreeCell(TBabCell* theCell) {
  if (TBabGridCellForViewer* v = theCell->GetViewerGridCell(); v && v->fOnDeInitCell) v->fOnDeInitCell(theCell);
  fBabGridCell->ForgetCell(theCell);
  delete theCell;
}

TBabCell* TCellMatris::NewCell(int theLoadedX, int theLoadedY) {
  TAxisContentList* ax = fBabGridCell->GetAxisContentListX();
  TAxisContentList* ay = fBabGridCell->GetAxisContentListY();
  return fBabGridCell->CreateCellFor(ax->getLoadedAxisContentItem(theLoadedX), ay->getLoadedAxisContentItem(theLoadedY));
}

TBabCell* TCellMatris::getLoadedCell(int theLoadedX, int theLoadedY) const noexcept {
  if (theLoadedX < 0 || theLoadedX >= LoadedCountX()) return nullptr;
  const auto& col = fCellListList[static_cast<size_t>(theLoadedX)];
  if (theLoadedY < 0 || theLoadedY >= static_cast<int>(col.size())) return nullptr;
  return col[static_cast<size_t>(theLoadedY)];
}

TBabCell* TCellMatris::getCell(int x, int y) {
  TAxisContentList* ax = fBabGridCell->GetAxisContentListX();
  TAxisContentList* ay = fBabGridCell->GetAxisContentListY();
  if (x < 0 || y < 0 || x >= ax->Count() || y >= ay->Count()) return nullptr;
  ax->EnsureLoadedItem(x);
  ay->EnsureLoadedItem(y);
  if (!ax->IsLoaded(x) || !ay->IsLoaded(y)) return nullptr;
  const int lx = ax->IndexConvert_RealToLoaded(x), ly = ay->IndexConvert_RealToLoaded(y);
  if (lx >= LoadedCountX()) return nullptr;
  auto& col = fCellListList[static_cast<size_t>(lx)];
  if (ly >= static_cast<int>(col.size())) return nullptr;
  TBabCell*& slot = col[static_cast<size_t>(ly)];
  if (!slot) slot = NewCell(lx, ly);
  return slot;
}

void TCellMatris::InsertX(int x) {
  const int rows = LoadedCountY();
  fCellListList.insert(fCellListList.begin() + x, std::vector<TBabCell*>(static_cast<size_t>(rows), nullptr));
  // The slots exist before any cell: a failing creation leaves them empty.
  for (int y = 0; y < rows; ++y) fCellListList[static_cast<size_t>(x)][static_cast<size_t>(y)] = NewCell(x, y);
}

void TCellMatris::InsertY(int y) {
  for (auto& col : fCellListList) col.insert(col.begin() + y, nullptr);
  for (int x = 0; x < LoadedCountX(); ++x) fCellListList[static_cast<size_t>(x)][static_cast<size_t>(y)] = NewCell(x, y);
}

void TCellMatris::DropX(int x) {
  if (x < 0 || x >= LoadedCountX()) return;
  UnloadX(x);
  fCellListList.erase(fCellListList.begin() + x);
}

void TCellMatris::DropY(int y) {
  UnloadY(y);
  for (auto& col : fCellListList)
    if (y >= 0 && y < static_cast<int>(col.size())) col.erase(col.begin() + y);
}

void TCellMatris::UnloadX(int x) {
  if (x < 0 || x >= LoadedCountX()) return;
  auto& col = fCellListList[static_cast<size_t>(x)];
  for (TBabCell*& c : col) {
    TBabCell* cell = c;
    c = nullptr;
    if (cell) FreeCell(cell);
  }
}

void TCellMatris::UnloadY(int y) {
  for (auto& col : fCellListList) {
    if (y < 0 || y >= static_cast<int>(col.size())) continue;
    TBabCell* cell = col[static_cast<size_t>(y)];
    col[static_cast<size_t>(y)] = nullptr;
    if (cell) FreeCell(cell);
  }
}

void TCellMatris::MoveX(int theFrom, int theTo) {
  if (theFrom == theTo) return;
  std::vector<TBabCell*> col = std::move(fCellListList[static_cast<size_t>(theFrom)]);
  fCellListList.erase(fCellListList.begin() + theFrom);
  fCellListList.insert(fCellListList.begin() + theTo, std::move(col));
}

void TCellMatris::MoveY(int theFrom, int theTo) {
  if (theFrom == theTo) return;
  for (auto& col : fCellListList) {
    TBabCell* c = col[static_cast<size_t>(theFrom)];
    col.erase(col.begin() + theFrom);
    col.insert(col.begin() + theTo, c);
  }
}

void TCellMatris::Reorder(bool theRows, const std::vector<int>& theOld) {
  auto permute = [&theOld](std::vector<TBabCell*>& v) {
    if (v.size() != theOld.size()) return;
    std::vector<TBabCell*> next(v.size());
    for (size_t k = 0; k < v.size(); ++k) next[k] = v[static_cast<size_t>(theOld[k])];
    v.swap(next);
  };
  if (theRows) {
    for (auto& col : fCellListList) permute(col);
    return;
  }
  if (fCellListList.size() != theOld.size()) return;
  std::vector<std::vector<TBabCell*>> next(fCellListList.size());
  for (size_t k = 0; k < next.size(); ++k) next[k] = std::move(fCellListList[static_cast<size_t>(theOld[k])]);
  fCellListList.swap(next);
}

bool TCellMatris::HasColumnSelections(int x) const {
  TAxisContentList* ax = fBabGridCell->GetAxisContentListX();
  if (x < 0 || x >= ax->Count() || !ax->IsLoaded(x)) return false;
  const int lx = ax->IndexConvert_RealToLoaded(x);
  if (lx >= LoadedCountX()) return false;
  for (TBabCell* c : fCellListList[static_cast<size_t>(lx)])
    if (c && c->GetSelected()) return true;
  return false;
}

bool TCellMatris::HasRowSelections(int y) const {
  TAxisContentList* ay = fBabGridCell->GetAxisContentListY();
  if (y < 0 || y >= ay->Count() || !ay->IsLoaded(y)) return false;
  const size_t ly = static_cast<size_t>(ay->IndexConvert_RealToLoaded(y));
  for (const auto& col : fCellListList)
    if (ly < col.size() && col[ly] && col[ly]->GetSelected()) return true;
  return false;
}

int TCellMatris::ExistingCellCount() const {
  int n = 0;
  ForEachCell([&n](TBabCell*) { ++n; });
  return n;
}

// ---------------------------------------------------------------- TBabGridCell

TBabGridCell::TBabGridCell(TBabGridCell* theParentGridCell)
    : TBabCell(theParentGridCell),
      fAxisContentListX(std::make_unique<TAxisContentList>(this)),
      fAxisContentListY(std::make_unique<TAxisContentList>(this)),
      fCellMatris(std::make_unique<TCellMatris>(this)),
      fTopLeftChangedEvent(std::make_unique<TEvent>(this)),
      fFocusedCellChangeEvent(std::make_unique<TEvent>(this)) {
  fIsGrid = true;
  if (theParentGridCell) CreateData();
}

TBabGridCell::~TBabGridCell() { FreeContent(); }

void TBabGridCell::FreeContent() noexcept {
  fFocusedCell = nullptr;
  fAnchor = nullptr;
  if (fCellMatris) fCellMatris->Clear();
  fAxisContentListX.reset();
  fAxisContentListY.reset();
}

TBabCellData* TBabGridCell::CreateBabCellData(TBabCell* theCell) {
  if (TBabGridCellForViewer* v = GetViewerGridCell()) {
    TBabCellData* data = theCell->IsGridCell() ? static_cast<TBabCellData*>(v->GetBabGridCellDataClass().Create())
                                               : static_cast<TBabCellData*>(v->GetBabSimpleCellDataClass().Create());
    if (data) return data;
  }
  if (fBabGridCell) return fBabGridCell->CreateBabCellData(theCell);
  throw Exception("CreateBabCellData");
}

TBabCell* TBabGridCell::CreateCellFor(TAxisContentItem* theX, TAxisContentItem* theY) {
  TBabGridCellForViewer* v = GetViewerGridCell();
  const TBabCellType type = v && v->fOnCreateCell ? v->fOnCreateCell(this, theX, theY) : babCellTypeSimple;
  std::unique_ptr<TBabCell> cell;
  if (type == babCellTypeGrid)
    cell = std::make_unique<TBabSubGridCell>(this);
  else
    cell = std::make_unique<TBabSimpleCell>(this);
  cell->fAxisContentItemX = theX;
  cell->fAxisContentItemY = theY;
  if (cell->fBabCellData) cell->fBabCellData->InitContent();
  if (type == babCellTypeGrid) {
    // Focus changes inside travel up to the outermost cell.
    TEvent* mine = fFocusedCellChangeEvent.get();
    new TSingleEventListener(static_cast<TBabGridCell*>(cell.get())->fFocusedCellChangeEvent.get(),
                             [mine](TSingleEventListener* l) { mine->TriggerEvent(l->GetCallingMessage()); }, true);
  }
  return cell.release();
}

TBabCell* TBabGridCell::CreateCell(int x, int y) {
  TAxisContentItem* ix = fAxisContentListX->getAxisContentItem(x);
  TAxisContentItem* iy = fAxisContentListY->getAxisContentItem(y);
  return ix && iy ? CreateCellFor(ix, iy) : nullptr;
}

void TBabGridCell::ForgetCell(TBabCell* theCell) noexcept {
  if (fFocusedCell == theCell) fFocusedCell = nullptr;
  if (fAnchor == theCell) fAnchor = nullptr;
}

void TBabGridCell::InsertingAxisItem(TAxisContentList* theList, TAxisContentItem* theItem) {
  if (!Owns(theList)) throw Exception("");
  const int p = theItem->LoadedListIndex();
  if (theList == fAxisContentListX.get())
    fCellMatris->InsertX(p);
  else
    fCellMatris->InsertY(p);
  theList->RaiseAxisChange();
}

void TBabGridCell::DroppingAxisItem(TAxisContentList* theList, TAxisContentItem* theItem) {
  if (!Owns(theList)) throw Exception("");
  const int p = theItem->LoadedListIndex();
  if (theList == fAxisContentListX.get())
    fCellMatris->DropX(p);
  else
    fCellMatris->DropY(p);
  theList->RaiseAxisChange();
}

void TBabGridCell::MowingAxisItem(TAxisContentList* theList, int theFromLoaded, int theToLoaded) {
  if (!Owns(theList)) throw Exception("");
  if (theList == fAxisContentListX.get())
    fCellMatris->MoveX(theFromLoaded, theToLoaded);
  else
    fCellMatris->MoveY(theFromLoaded, theToLoaded);
  theList->RaiseAxisChange();
}

void TBabGridCell::ReorderingAxisItems(TAxisContentList* theList, const std::vector<int>& theOld) {
  if (!Owns(theList)) throw Exception("");
  fCellMatris->Reorder(theList == fAxisContentListY.get(), theOld);
  theList->RaiseAxisChange();
}

void TBabGridCell::ChangeInUnloaded(TAxisContentList* theList) {
  if (!Owns(theList)) throw Exception("");
  theList->RaiseAxisChange();
}

void TBabGridCell::KeepScrollPositionsInside(TAxisContentList* theList) {
  // Keeps the scroll position inside the axis and behind the fixed items.
  if (theList == fAxisContentListX.get())
    SetLeft(fAxisContentListX->Count() <= fLeft ? 0 : fLeft);
  else if (theList == fAxisContentListY.get())
    SetTop(fAxisContentListY->Count() <= fTop ? 0 : fTop);
}

// ---------------------------------------------------------------- TBabGridCellForViewer

TBabGridCellForViewer::TBabGridCellForViewer(TObject* theViewer, TBabSimpleCellDataClass theSimpleCellDataClass,
                                             TBabGridCellDataClass theGridCellDataClass)
    : TBabGridCell(nullptr),
      fSelectionChangeEvent(std::make_unique<TEvent>(this)),
      fAxisChangeEvent(std::make_unique<TEvent>(this)),
      fUserSizeEvent(std::make_unique<TEvent>(this)),
      fBabSimpleCellDataClass(theSimpleCellDataClass),
      fBabGridCellDataClass(theGridCellDataClass),
      fViewer(theViewer) {
  CreateData();
  fBabCellData->InitContent();
}

TBabGridCellForViewer::~TBabGridCellForViewer() {
  // The cells go while the hooks they call on their way out still exist.
  FreeContent();
}

void TBabGridCellForViewer::CellRectTampering(TBabCell* theCell, TRect& theRect) {
  if (fOnCellRectTampering) fOnCellRectTampering(this, theCell, theRect);
}

void TBabGridCellForViewer::ScaleRect(TRect& theRect) const {
  if (fOnScaleRect) fOnScaleRect(theRect);
}

void TBabGridCellForViewer::InternalSelectionChanged(TBabCell* theCell, bool theValue) {
  if (fOnInternalSelectionChanged) fOnInternalSelectionChanged(this, theCell, theValue);
}

bool TBabGridCellForViewer::CheckCellGrouping(TBabCell* theGroupingCell, TBabCell* theTestCell) const {
  if (!fOnCheckCellGrouping || !theGroupingCell || !theTestCell) return false;
  return fOnCheckCellGrouping(theGroupingCell, theTestCell);
}

}  // namespace vx
