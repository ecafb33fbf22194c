// The item-model binding: columns from the header, rows on demand, and the
// model's changes applied to the grid's axes.
#include <vxplan/designer/QvxGridModelBinding.h>

#include <QSize>
#include <algorithm>

#include <vxplan/designer/QvxGridModelInternal.h>
#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

namespace {

// Rows of one insert made loaded inside the window; more rebuild the window.
constexpr int kMaxLoadedInsert = 64;
// Rows this near the end ask the model to fetch more.
constexpr int kFetchAhead = 20;
// Selected cells kept across a rebuild.
constexpr size_t kMaxKeptSelection = 10000;

}  // namespace

QvxGridModelBinding::QvxGridModelBinding(TvxGrid* grid, QObject* parent)
    : QObject(parent),
      fGridObject(grid),
      fGrid(grid),
      fSource(std::make_unique<Source>(this)),
      fLooks(std::make_unique<Looks>()) {
  if (grid) connect(grid, &QObject::destroyed, this, [this] { fGrid = nullptr; });
}

QvxGridModelBinding::~QvxGridModelBinding() { unbind(static_cast<bool>(fModel)); }

TvxGrid* QvxGridModelBinding::grid() const { return fGridObject ? fGrid : nullptr; }

bool QvxGridModelBinding::bound() const {
  return fModel && fGridObject && fGrid && !fGrid->IsDestroying();
}

TBabGridCellForViewer* QvxGridModelBinding::outer() const { return fGrid->GetBabGridCellForViewer(); }
TAxisContentList* QvxGridModelBinding::rowAxis() const { return outer()->GetAxisContentListY(); }

int QvxGridModelBinding::clampedRowCount() const {
  return fModel ? std::clamp(fModel->rowCount(), 0, kMaxRows) : 0;
}

void QvxGridModelBinding::setModel(QAbstractItemModel* model) {
  if (model == fModel) return;
  unbind(static_cast<bool>(fModel));
  if (!model || !grid() || fGrid->IsDestroying()) return;
  fModel = model;
  fGrid->SetContentSource(fSource.get());
  connectModel();
  syncColumns();
  rebuildRows(0);
  // A model that fetches gets asked once the grid shows, as it would scrolling.
  fetchMoreLater();
}

void QvxGridModelBinding::setRoleMap(const QvxGridRoleMap& map) {
  fRoles = map;
  if (!bound()) return;
  syncColumns();
  refreshAllCells();
}

void QvxGridModelBinding::connectModel() {
  QAbstractItemModel* m = fModel;
  using M = QAbstractItemModel;
  fConnections = {
      connect(m, &M::dataChanged, this,
              [this](const QModelIndex& tl, const QModelIndex& br) { onDataChanged(tl, br); }),
      connect(m, &M::headerDataChanged, this, [this](Qt::Orientation o) { onHeaderDataChanged(o); }),
      connect(m, &M::rowsInserted, this, &QvxGridModelBinding::onRowsInserted),
      connect(m, &M::rowsRemoved, this, &QvxGridModelBinding::onRowsRemoved),
      connect(m, &M::rowsMoved, this, &QvxGridModelBinding::onRowsMoved),
      connect(m, &M::columnsInserted, this, [this] { onColumnsChanged(); }),
      connect(m, &M::columnsRemoved, this, [this] { onColumnsChanged(); }),
      connect(m, &M::columnsMoved, this, [this] { onColumnsChanged(); }),
      connect(m, &M::layoutAboutToBeChanged, this, [this] { onLayoutAboutToBeChanged(); }),
      connect(m, &M::layoutChanged, this, [this] { onLayoutChanged(); }),
      connect(m, &M::modelAboutToBeReset, this, [this] { onModelAboutToBeReset(); }),
      connect(m, &M::modelReset, this, [this] { onModelReset(); }),
      // The model is half gone then: nothing of it is asked.
      connect(m, &QObject::destroyed, this, [this] { unbind(false); }),
  };
}

void QvxGridModelBinding::unbind(bool theModelAlive) {
  for (const QMetaObject::Connection& c : fConnections) disconnect(c);
  fConnections.clear();
  const bool hadModel = fModel || !theModelAlive;
  fModel = nullptr;
  fRows = 0;
  fKept = Kept();
  if (fGridObject && fGrid && !fGrid->IsDestroying()) {
    if (fGrid->GetContentSource() == fSource.get()) fGrid->SetContentSource(nullptr);
    if (hadModel) {
      // The rows and columns were the model's (an open edit closes unwritten).
      rowAxis()->ClearKeepFixedItems();
      fGrid->GetColumns()->Clear();
      fGrid->NeedEnsureFixed();
      fGrid->EnsureFixed();
      fGrid->Invalidate();
    }
  }
  // No cell points at a look any more.
  fLooks->Clear();
}

// ---------------------------------------------------------------- lookups

int QvxGridModelBinding::gridRow(int theModelRow) const {
  if (!bound() || theModelRow < 0 || theModelRow >= fRows) return -1;
  return theModelRow + outer()->GetFixedRows();
}

int QvxGridModelBinding::modelRow(int theGridRow) const {
  if (!bound()) return -1;
  const int r = theGridRow - outer()->GetFixedRows();
  return theGridRow >= 0 && r >= 0 && r < fRows ? r : -1;
}

int QvxGridModelBinding::gridColumn(int theModelColumn) const {
  if (!bound() || theModelColumn < 0 || theModelColumn >= fGrid->GetColumns()->Count()) return -1;
  return theModelColumn + outer()->GetFixedCols();
}

int QvxGridModelBinding::modelColumn(int theGridColumn) const {
  if (!bound()) return -1;
  const int c = theGridColumn - outer()->GetFixedCols();
  return theGridColumn >= 0 && c >= 0 && c < fGrid->GetColumns()->Count() ? c : -1;
}

QModelIndex QvxGridModelBinding::indexOf(const TBabCell* cell) const {
  if (!bound() || !cell || cell->IsGridCell() || cell->getGridCell() != outer() || cell->GetIsFixed()) return {};
  const int r = modelRow(cell->GetRow()), c = modelColumn(cell->GetCol());
  return r < 0 || c < 0 ? QModelIndex() : fModel->index(r, c);
}

TBabCell* QvxGridModelBinding::cellOf(const QModelIndex& index) const {
  if (!bound() || !index.isValid() || index.model() != fModel || index.parent().isValid()) return nullptr;
  const int r = gridRow(index.row()), c = gridColumn(index.column());
  TAxisContentList* rows = rowAxis();
  TAxisContentList* cols = outer()->GetAxisContentListX();
  if (r < 0 || c < 0 || !rows->IsLoaded(r) || !cols->IsLoaded(c)) return nullptr;
  return outer()->GetCellMatris()->getLoadedCell(cols->IndexConvert_RealToLoaded(c), rows->IndexConvert_RealToLoaded(r));
}

// ---------------------------------------------------------------- columns

void QvxGridModelBinding::syncColumns() {
  const int n = std::clamp(fModel->columnCount(), 0, kMaxColumns);
  std::vector<QVariant> titles, widths;
  for (int c = 0; c < n; ++c) {
    titles.push_back(fRoles.headerText < 0 ? QVariant() : fModel->headerData(c, Qt::Horizontal, fRoles.headerText));
    widths.push_back(fRoles.headerWidth < 0 ? QVariant()
                                            : fModel->headerData(c, Qt::Horizontal, fRoles.headerWidth));
  }
  // headerData is the application's: look the grid up again.
  if (!bound()) return;
  TvxGrid_Columns* cols = fGrid->GetColumns();
  while (cols->Count() > n) cols->Delete(cols->Count() - 1);
  while (cols->Count() < n) fGrid->AddColumn()->SetWidth(100);
  for (int c = 0; c < n && c < cols->Count(); ++c) {
    TvxGrid_Column* col = cols->GetColumn(c);
    QString title = titles[static_cast<size_t>(c)].toString();
    title.truncate(kMaxCellText);
    col->SetHeaderText(FromQString(title));
    const QVariant& w = widths[static_cast<size_t>(c)];
    const int width = w.typeId() == QMetaType::QSize ? w.toSize().width() : w.isValid() ? w.toInt() : -1;
    if (width > 0) col->SetWidth(std::min(width, kMaxItemSize));
  }
  fGrid->NeedEnsureFixed();
  fGrid->EnsureFixed();
  fGrid->Invalidate();
}

void QvxGridModelBinding::refreshAllCells() {
  if (!bound()) return;
  std::vector<TvxWatch<TBabCell>> cells;
  outer()->GetCellMatris()->ForEachCell([&](TBabCell* c) {
    if (!c->IsGridCell() && !c->GetIsFixed()) cells.emplace_back(c);
  });
  for (const TvxWatch<TBabCell>& c : cells)
    if (c && bound()) refreshCell(c.Get());
  if (bound()) fGrid->Invalidate();
}

void QvxGridModelBinding::onColumnsChanged() {
  if (!bound()) return;
  syncColumns();
  refreshAllCells();
}

void QvxGridModelBinding::onHeaderDataChanged(Qt::Orientation theOrientation) {
  if (theOrientation == Qt::Horizontal && bound()) syncColumns();
}

// ---------------------------------------------------------------- cells

void QvxGridModelBinding::onDataChanged(const QModelIndex& theTopLeft, const QModelIndex& theBottomRight) {
  if (!bound() || !theTopLeft.isValid() || !theBottomRight.isValid() || theTopLeft.parent().isValid()) return;
  const int r0 = theTopLeft.row(), r1 = theBottomRight.row();
  const int c0 = theTopLeft.column(), c1 = theBottomRight.column();
  // Only cells that exist are read again; the loaded rows bound the walk.
  TAxisContentList* rows = rowAxis();
  TCellMatris* m = outer()->GetCellMatris();
  std::vector<TvxWatch<TBabCell>> cells;
  for (int p = rows->FixedLoaded(); p < rows->LoadedCount(); ++p) {
    const int r = modelRow(rows->IndexConvert_LoadedToReal(p));
    if (r < r0 || r > r1) continue;
    for (int x = 0; x < m->LoadedCountX(); ++x) {
      TBabCell* cell = m->getLoadedCell(x, p);
      if (!cell || cell->IsGridCell() || cell->GetIsFixed()) continue;
      const int c = modelColumn(cell->GetCol());
      if (c >= c0 && c <= c1) cells.emplace_back(cell);
    }
  }
  for (const TvxWatch<TBabCell>& c : cells)
    if (c && bound()) refreshCell(c.Get());
  if (bound()) fGrid->Invalidate();
}

// ---------------------------------------------------------------- rows

void QvxGridModelBinding::keepTop(int theTop) {
  if (bound()) outer()->SetTop(theTop);
}

void QvxGridModelBinding::rebuildRows(int theTop) {
  if (!endEdit()) return;
  TAxisContentList* rows = rowAxis();
  rows->ClearKeepFixedItems();
  fRows = clampedRowCount();
  if (!bound()) return;
  if (fRows > 0) rows->AddUnloaded(fRows);
  keepTop(theTop);
  fGrid->Invalidate();
}

// An open edit ends unwritten before rows change: its row may be another
// one by the time the grid would write it.
bool QvxGridModelBinding::endEdit() {
  if (fGrid->GetEditing()) fGrid->BreakEditing();
  return bound();
}

void QvxGridModelBinding::insertRows(int theFirst, int theCount) {
  if (theCount < 1 || !endEdit()) return;
  const int top = outer()->GetTop();
  if (theFirst < 0 || theFirst > fRows || static_cast<long long>(fRows) + theCount > kMaxRows) {
    rebuildRows(top);
    return;
  }
  const int at = theFirst + outer()->GetFixedRows();
  TAxisContentList* rows = rowAxis();
  // Counted first: rows inserted loaded are filled as they come.
  fRows += theCount;
  if (!rows->InsertUnloaded(at, theCount)) {
    // Into the loaded window: a few rows loaded, more start the window anew.
    if (theCount > kMaxLoadedInsert) {
      rebuildRows(top);
      return;
    }
    for (int k = 0; k < theCount; ++k)
      if (!rows->InsertNew(at + k, nullptr)) {
        rebuildRows(top);
        return;
      }
  }
  // The rows that were at the top stay there.
  if (at < top) keepTop(top + theCount);
  fGrid->Invalidate();
}

// Back to front, a stretch at a time: loaded rows one by one, unloaded ones
// as a whole. False when the axis would not shrink.
bool QvxGridModelBinding::removeGridRows(int theStart, int theStop) {
  TAxisContentList* rows = rowAxis();
  for (int stop = theStop; stop >= theStart;) {
    const int before = rows->Count();
    int start = stop;
    if (rows->IsLoaded(stop)) {
      rows->Drop(stop);
    } else {
      const int f = rows->FixedLoaded(), pre = rows->GetUnloadedPreCount();
      const int gapStart = stop < f + pre ? f : pre + rows->LoadedCount();
      start = std::max(theStart, gapStart);
      rows->DeleteOfUnloaded(start, stop);
    }
    if (!bound() || rows->Count() != before - (stop - start + 1)) return false;
    stop = start - 1;
  }
  return true;
}

void QvxGridModelBinding::removeRows(int theFirst, int theLast) {
  if (!endEdit()) return;
  const int top = outer()->GetTop();
  const int first = std::max(theFirst, 0), last = std::min(theLast, fRows - 1);
  if (last < first) return;
  const int fixed = outer()->GetFixedRows(), n = last - first + 1;
  if (!removeGridRows(first + fixed, last + fixed)) {
    if (bound()) rebuildRows(top);
    return;
  }
  fRows -= n;
  if (top > last + fixed)
    keepTop(top - n);
  else if (top >= first + fixed)
    keepTop(first + fixed);
  fGrid->Invalidate();
}

void QvxGridModelBinding::moveRows(int theStart, int theEnd, int theDestination) {
  const int n = theEnd - theStart + 1;
  if (n < 1 || theStart < 0 || theEnd >= fRows || (theDestination >= theStart && theDestination <= theEnd + 1)) return;
  if (!endEdit()) return;
  const int to = theDestination > theEnd ? theDestination - n : theDestination;
  const int fixed = outer()->GetFixedRows();
  TAxisContentList* rows = rowAxis();
  bool loaded = n <= kMaxLoadedInsert;
  for (int k = 0; loaded && k < n; ++k)
    loaded = rows->IsLoaded(theStart + fixed + k) && rows->IsLoaded(to + fixed + k);
  if (!loaded) {
    // Rows far apart: out and in again, blank until they show.
    removeRows(theStart, theEnd);
    if (bound()) insertRows(to, n);
    return;
  }
  // The rows move with their cells (and their selection).
  for (int k = 0; k < n; ++k) {
    if (theDestination > theEnd)
      rows->Move(theStart + fixed, theDestination - 1 + fixed);
    else
      rows->Move(theStart + fixed + k, theDestination + fixed + k);
  }
  fGrid->Invalidate();
}

void QvxGridModelBinding::onRowsInserted(const QModelIndex& theParent, int theFirst, int theLast) {
  if (!bound() || theParent.isValid()) return;
  insertRows(theFirst, theLast - theFirst + 1);
}

void QvxGridModelBinding::onRowsRemoved(const QModelIndex& theParent, int theFirst, int theLast) {
  if (!bound() || theParent.isValid()) return;
  removeRows(theFirst, theLast);
}

void QvxGridModelBinding::onRowsMoved(const QModelIndex& theParent, int theStart, int theEnd,
                                      const QModelIndex& theDestination, int theRow) {
  if (!bound()) return;
  if (!theParent.isValid() && !theDestination.isValid())
    moveRows(theStart, theEnd, theRow);
  else if (!theParent.isValid())
    removeRows(theStart, theEnd);
  else if (!theDestination.isValid())
    insertRows(theRow, theEnd - theStart + 1);
}

// ---------------------------------------------------------------- rebuilding

QvxGridModelBinding::Kept QvxGridModelBinding::keep() const {
  Kept k;
  if (!bound()) return k;
  k.topRow = std::max(modelRow(outer()->GetTop()), 0);
  k.top = fModel->index(k.topRow, 0);
  if (TBabCell* focus = fGrid->GetFocusedCell(); indexOf(focus).isValid()) {
    k.focusRow = modelRow(focus->GetRow());
    k.focusColumn = modelColumn(focus->GetCol());
    k.focus = fModel->index(k.focusRow, k.focusColumn);
  }
  std::vector<std::pair<int, int>> selected;
  outer()->GetCellMatris()->ForEachCell([&](TBabCell* c) {
    if (selected.size() < kMaxKeptSelection && c->GetSelected() && !c->IsGridCell() && !c->GetIsFixed())
      selected.emplace_back(modelRow(c->GetRow()), modelColumn(c->GetCol()));
  });
  for (const auto& [r, c] : selected)
    if (r >= 0 && c >= 0) k.selected.emplace_back(fModel->index(r, c));
  return k;
}

void QvxGridModelBinding::restore(const Kept& theKept, bool theByIndex) {
  if (!bound()) return;
  auto cellAt = [this](int r, int c) -> TBabCell* {
    const int gr = gridRow(r), gc = gridColumn(c);
    return gr < 0 || gc < 0 ? nullptr : outer()->getCell(gc, gr);
  };
  const bool focusByIndex = theByIndex && theKept.focus.isValid();
  if (TBabCell* f = focusByIndex ? cellAt(theKept.focus.row(), theKept.focus.column())
                                 : cellAt(theKept.focusRow, theKept.focusColumn))
    fGrid->SetFocusedCell(f);
  if (theByIndex)
    for (const QPersistentModelIndex& s : theKept.selected) {
      if (!bound()) return;
      if (TBabCell* c = s.isValid() ? cellAt(s.row(), s.column()) : nullptr) c->SetSelected(true);
    }
  const int top = theByIndex && theKept.top.isValid() ? theKept.top.row() : theKept.topRow;
  if (bound() && top >= 0) keepTop(top + outer()->GetFixedRows());
}

void QvxGridModelBinding::onLayoutAboutToBeChanged() { fKept = keep(); }

void QvxGridModelBinding::onLayoutChanged() {
  if (!bound()) return;
  const Kept kept = std::exchange(fKept, Kept());
  rebuildRows(outer()->GetFixedRows());
  restore(kept, true);
}

void QvxGridModelBinding::onModelAboutToBeReset() { fKept = keep(); }

void QvxGridModelBinding::onModelReset() {
  if (!bound()) return;
  const Kept kept = std::exchange(fKept, Kept());
  syncColumns();
  if (!bound()) return;
  rebuildRows(outer()->GetFixedRows());
  restore(kept, false);
  fetchMoreLater();
}

// ---------------------------------------------------------------- fetching

void QvxGridModelBinding::rowLoaded(int theGridRow) {
  const int r = modelRow(theGridRow);
  if (r >= 0 && fRows - r <= kFetchAhead) fetchMoreLater();
}

// Not from within the grid's loading: the model answers with inserted rows.
void QvxGridModelBinding::fetchMoreLater() {
  if (fFetchQueued) return;
  fFetchQueued = true;
  QMetaObject::invokeMethod(this, &QvxGridModelBinding::fetchMoreIfNeeded, Qt::QueuedConnection);
}

void QvxGridModelBinding::fetchMoreIfNeeded() {
  fFetchQueued = false;
  if (bound() && fModel->canFetchMore(QModelIndex())) fModel->fetchMore(QModelIndex());
}

}  // namespace vx
