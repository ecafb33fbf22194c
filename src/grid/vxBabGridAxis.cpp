// Axis items and axes: the index model, inserts, moves, drops and hiding.
#include <algorithm>
#include <climits>
#include <string>

#include <vxplan/grid/vxBabGridContent.h>

namespace vx {

// ---------------------------------------------------------------- TAxisContentItem

TAxisContentItem::TAxisContentItem(TObject* theValue, TAxisContentList* theAxisContentList)
    : fValue(theValue), fAxisContentList(theAxisContentList) {}

int TAxisContentItem::LoadedListIndex() const {
  if (!fAxisContentList) return -1;
  return fAxisContentList->fList.PosOf(this);
}

int TAxisContentItem::ListIndex() const {
  const int p = LoadedListIndex();
  return p < 0 ? -1 : fAxisContentList->IndexConvert_LoadedToReal(p);
}

void TAxisContentItem::SetHide(bool theValue) {
  if (fHide == theValue) return;
  fHide = theValue;
  if (!fAxisContentList) return;
  fAxisContentList->UpdateHiddenItemsList(this, theValue);
  fAxisContentList->RaiseAxisChange();
}

int TAxisContentItem::GetUserSize() const noexcept { return fUserSizeItem ? fUserSizeItem->GetUserSize() : fUserSize; }

bool TAxisContentItem::GetUserSizeActive() const noexcept {
  return fUserSizeItem ? fUserSizeItem->GetUserSizeActive() : fUserSizeActive;
}

void TAxisContentItem::SetUserSize(int theValue) {
  theValue = std::clamp(theValue, 0, kMaxItemSize);
  if (fUserSizeItem) fUserSizeItem->SetUserSize(theValue);
  fUserSize = theValue;
  if (!fAxisContentList) return;
  if (TBabGridCellForViewer* v = fAxisContentList->Viewer()) v->GetUserSizeEvent()->TriggerEvent(this);
}

void TAxisContentItem::SetUserSizeActive(bool theValue) noexcept {
  if (fUserSizeItem) fUserSizeItem->SetUserSizeActive(theValue);
  fUserSizeActive = theValue;
}

// ---------------------------------------------------------------- TAxisContentList

TAxisContentList::TAxisContentList(TBabGridCell* theGridCell) : fBabGridCell(theGridCell) {}

TAxisContentList::~TAxisContentList() {
  // The grid cell has freed the cells already.
  std::vector<TAxisContentItem*> items;
  fList.ForEach([&items](TvxDataEntity* e) { items.push_back(static_cast<TAxisContentItem*>(e)); });
  fList.Reset();
  for (TAxisContentItem* item : items) {
    item->fAxisContentList = nullptr;
    item->FreeWheneverPossible();
  }
}

TBabGridCellForViewer* TAxisContentList::Viewer() const noexcept {
  return fBabGridCell ? fBabGridCell->GetViewerGridCell() : nullptr;
}

bool TAxisContentList::IsRowAxis() const noexcept {
  return fBabGridCell && fBabGridCell->GetAxisContentListY() == this;
}

void TAxisContentList::RaiseAxisChange() {
  if (TBabGridCellForViewer* v = Viewer()) v->GetAxisChangeEvent()->TriggerEvent(this);
}

void TAxisContentList::ChangeInUnloaded() {
  if (fBabGridCell) fBabGridCell->ChangeInUnloaded(this);
}

bool TAxisContentList::IsLoaded(int i) const noexcept {
  const int f = FixedLoaded();
  if (i < 0) return false;
  if (i < f) return true;
  if (i < f + fUnloadedPreCount) return false;
  return i < fUnloadedPreCount + LoadedCount();
}

TAxisContentItem* TAxisContentList::getVisibleAxisContentItem(int i) const {
  if (i < 0 || i >= VisibleCount()) return nullptr;
  return fVisibleList[static_cast<size_t>(i)];
}

TAxisContentItem* TAxisContentList::getLoadedAxisContentItem(int p) const {
  if (p < 0 || p >= LoadedCount()) return nullptr;
  return static_cast<TAxisContentItem*>(fList.At(p));
}

TAxisContentItem* TAxisContentList::getAxisContentItem(int i) {
  if (i < 0 || i >= Count()) return nullptr;
  EnsureLoadedItem(i);
  return IsLoaded(i) ? getLoadedAxisContentItem(IndexConvert_RealToLoaded(i)) : nullptr;
}

void TAxisContentList::CheckNotInLoad() const {
  if (fInLoadItems > 0) throw Exception("Not allowed to add items during load");
}

TAxisContentItem* TAxisContentList::InsertLoaded(int p, TObject* theValue) {
  auto* item = new TAxisContentItem(theValue, this);
  fList.Insert(p, item);
  fBabGridCell->InsertingAxisItem(this, item);
  return item;
}

TAxisContentItem* TAxisContentList::AddNew(TObject* theValue) {
  CheckNotInLoad();
  if (Count() == INT_MAX) throw EListError("List capacity out of bounds (" + std::to_string(Count()) + ")");
  EnsureLoadedItem(Count() - 1);
  if (fUnloadedPostCount > 0) return nullptr;  // the end could not be loaded
  return InsertLoaded(LoadedCount(), theValue);
}

TAxisContentItem* TAxisContentList::InsertNew(int i, TObject* theValue) {
  CheckNotInLoad();
  if (i < 0 || i > Count()) return nullptr;
  if (i == Count()) {
    TObject* v = fNextItemReferenceMailbox ? fNextItemReferenceMailbox : theValue;
    fNextItemReferenceMailbox = nullptr;
    return AddNew(v);
  }
  // An insert among the fixed items pushes one out of them: nothing unloaded
  // may stand right behind them then.
  if (i < fFixedItems) EmptyFrontGap();
  EnsureLoadedItem(i);
  if (!IsLoaded(i)) return nullptr;
  if (fNextItemReferenceMailbox) {
    theValue = fNextItemReferenceMailbox;
    fNextItemReferenceMailbox = nullptr;
  }
  TAxisContentItem* item = InsertLoaded(IndexConvert_RealToLoaded(i), theValue);
  ListIndexesOutOfDate(i);
  return item;
}

void TAxisContentList::AddUnloaded(int n) {
  if (n < 1) return;
  if (static_cast<long long>(Count()) + n > INT_MAX)
    throw EListError("List capacity out of bounds (" + std::to_string(static_cast<long long>(Count()) + n) + ")");
  fUnloadedPostCount += n;
  ChangeInUnloaded();
}

bool TAxisContentList::InsertUnloaded(int i, int n) {
  if (i < fFixedItems || i > Count() || n < 1) return false;
  if (static_cast<long long>(Count()) + n > INT_MAX)
    throw EListError("List capacity out of bounds (" + std::to_string(static_cast<long long>(Count()) + n) + ")");
  const int f = FixedLoaded();
  if (fUnloadedPreCount > 0 && i >= f && i <= f + fUnloadedPreCount)
    fUnloadedPreCount += n;
  else if (i >= fUnloadedPreCount + LoadedCount())
    fUnloadedPostCount += n;
  else
    return false;
  ChangeInUnloaded();
  return true;
}

void TAxisContentList::EmptyFrontGap() {
  if (fUnloadedPreCount > 0 && fFixedItems < Count()) EnsureLoadedItem(FixedLoaded());
}

void TAxisContentList::Move(int theFrom, int theTo) {
  const int n = Count();
  if (theFrom < 0 || theFrom >= n || theTo < 0 || theTo >= n || theFrom == theTo) return;
  if ((theFrom < fFixedItems) != (theTo < fFixedItems)) EmptyFrontGap();
  EnsureLoadedItem(theFrom);
  EnsureLoadedItem(theTo);
  if (!IsLoaded(theFrom) || !IsLoaded(theTo)) return;
  if ((theFrom < fFixedItems) != (theTo < fFixedItems) && fUnloadedPreCount > 0) return;
  const int from = IndexConvert_RealToLoaded(theFrom), to = IndexConvert_RealToLoaded(theTo);
  TvxDataEntity* e = fList.Erase(from);
  fList.Insert(to, e);
  ListIndexesOutOfDate(std::min(theFrom, theTo));
  fBabGridCell->MowingAxisItem(this, from, to);
}

bool TAxisContentList::Reorder(const std::vector<TAxisContentItem*>& theOrder) {
  CheckNotInLoad();
  const int f = FixedLoaded(), n = LoadedCount();
  if (static_cast<int>(theOrder.size()) != n - f) return false;
  std::vector<int> old(static_cast<size_t>(n));
  std::vector<char> seen(static_cast<size_t>(n), 0);
  std::vector<TvxDataEntity*> all(static_cast<size_t>(n));
  for (int k = 0; k < f; ++k) {
    old[static_cast<size_t>(k)] = k;
    all[static_cast<size_t>(k)] = fList.At(k);
  }
  for (int k = f; k < n; ++k) {
    TAxisContentItem* item = theOrder[static_cast<size_t>(k - f)];
    const int p = item && item->fAxisContentList == this ? item->LoadedListIndex() : -1;
    if (p < f || seen[static_cast<size_t>(p)]) return false;
    seen[static_cast<size_t>(p)] = 1;
    old[static_cast<size_t>(k)] = p;
    all[static_cast<size_t>(k)] = item;
  }
  fList.Assign(all);
  fBabGridCell->ReorderingAxisItems(this, old);
  return true;
}

void TAxisContentList::RemoveLoaded(TAxisContentItem* theItem) {
  UpdateHiddenItemsList(theItem, false);
  auto it = std::find(fVisibleList.begin(), fVisibleList.end(), theItem);
  if (it != fVisibleList.end()) fVisibleList.erase(it);
  theItem->fIsOnScreen = false;
  // Whoever keeps the item (a grid tree's node) lets go of it before it is freed.
  if (TBabGridCellForViewer* v = Viewer(); v && v->fOnAxisItemRemoved) v->fOnAxisItemRemoved(fBabGridCell, theItem, IsRowAxis());
  fBabGridCell->DroppingAxisItem(this, theItem);
  const int p = theItem->LoadedListIndex();
  if (p >= 0) {
    const int real = IndexConvert_LoadedToReal(p);
    fList.Erase(p);
    theItem->fWindowSlot = TvxEntityWindow::DetachedSlot(real);
  }
  theItem->fAxisContentList = nullptr;
  theItem->FreeWheneverPossible();
}

void TAxisContentList::Drop(int i) {
  if (i < 0 || i >= Count()) return;
  if (!IsLoaded(i)) {
    // Only the gap that holds it shrinks.
    if (i >= FixedLoaded() + fUnloadedPreCount)
      --fUnloadedPostCount;
    else
      --fUnloadedPreCount;
    ChangeInUnloaded();
    fBabGridCell->KeepScrollPositionsInside(this);
    return;
  }
  if (i < FixedLoaded() && fUnloadedPreCount > 0) {
    EmptyFrontGap();
    if (fUnloadedPreCount > 0) return;  // the first unloaded item cannot become fixed
  }
  RemoveLoaded(getLoadedAxisContentItem(IndexConvert_RealToLoaded(i)));
  ListIndexesOutOfDate(i);
  fBabGridCell->KeepScrollPositionsInside(this);
}

void TAxisContentList::CommonClear(int theFirst) {
  CheckNotInLoad();
  const int first = std::max(theFirst, 0);
  const int keepFixed = std::max(first, FixedLoaded());
  while (LoadedCount() > keepFixed) RemoveLoaded(getLoadedAxisContentItem(LoadedCount() - 1));
  if (fUnloadedPostCount > 0) {
    const int start = LoadedCount() + fUnloadedPreCount;
    DeleteOfUnloaded(start, start + fUnloadedPostCount - 1);
    fUnloadedPostCount = 0;
  }
  if (fUnloadedPreCount > 0) {
    const int start = FixedLoaded();
    DeleteOfUnloaded(start, start + fUnloadedPreCount - 1);
    fUnloadedPreCount = 0;
  }
  // With the gaps gone, fixed items can go without anything moving into them.
  while (LoadedCount() > first) RemoveLoaded(getLoadedAxisContentItem(LoadedCount() - 1));
  ChangeInUnloaded();
  fBabGridCell->KeepScrollPositionsInside(this);
}

void TAxisContentList::SetFixedItems(int theValue) {
  const int n = std::max(theValue, 0);
  if (n == fFixedItems) return;
  EmptyFrontGap();
  if (fUnloadedPreCount > 0 && n < fFixedItems) return;  // the gap could not be closed
  for (int k = FixedLoaded(); k < std::min(n, Count()); ++k) EnsureLoadedItem(k);
  fFixedItems = n;
  RaiseAxisChange();
  if (fBabGridCell) fBabGridCell->KeepScrollPositionsInside(this);
}

void TAxisContentList::ListIndexesOutOfDate(int i) noexcept { fList.StartsOutOfDateFrom(IndexConvert_RealToLoaded(i)); }

void TAxisContentList::EnsureListIndexes() const { fList.UpdateStarts(); }

void TAxisContentList::UpdateListIndexesFrom(int) const { fList.UpdateStarts(); }

void TAxisContentList::ClearVisibles() {
  for (TAxisContentItem* item : fVisibleList) item->fIsOnScreen = false;
  fVisibleList.clear();
  fUnloadProtectedStart = -1;
  fUnloadProtectedStop = -1;
}

void TAxisContentList::AddToVisible(TAxisContentItem* theItem) {
  theItem->fIsOnScreen = true;
  fVisibleList.push_back(theItem);
}

void TAxisContentList::UpdateHiddenItemsList(TAxisContentItem* theItem, bool theHidden) {
  auto it = std::find(fHiddenItemsList.begin(), fHiddenItemsList.end(), theItem);
  if (theHidden && it == fHiddenItemsList.end())
    fHiddenItemsList.push_back(theItem);
  else if (!theHidden && it != fHiddenItemsList.end())
    fHiddenItemsList.erase(it);
}

}  // namespace vx
