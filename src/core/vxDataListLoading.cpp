// Virtual loading: the window of loaded entities, and the lazy list indexes.
#include <algorithm>
#include <array>
#include <vector>

#include <vxplan/core/vxDataEntityPack.h>

namespace vx {

using detail::Fire;

namespace {

// The entities of one load step, held until their load notifications are done.
// Most steps load one entity, so small steps need no allocation.
class LoadBatch {
public:
  LoadBatch() = default;
  LoadBatch(const LoadBatch&) = delete;
  LoadBatch& operator=(const LoadBatch&) = delete;
  ~LoadBatch() {
    for (size_t k = 0; k < fSize; ++k) At(k)->Release();
  }
  void Push(TvxDataEntity* e) {
    e->AddRef();
    if (fSize < fInline.size())
      fInline[fSize] = e;
    else
      fMore.push_back(e);
    ++fSize;
  }
  size_t Size() const { return fSize; }
  TvxDataEntity* At(size_t k) const { return k < fInline.size() ? fInline[k] : fMore[k - fInline.size()]; }

private:
  std::array<TvxDataEntity*, 8> fInline{};
  std::vector<TvxDataEntity*> fMore;
  size_t fSize = 0;
};

}  // namespace

TvxDataEntity* TvxDataList::EnsureLoadedItem(int i) {
  if (i < 0 || i >= Count()) return nullptr;
  if (IsLoaded(i)) return fItems.At(i - fUnloadedPreCount);
  // Load and unload handlers may free the list.
  TvxHold hold(this);

  int from = i, to = i;
  bool front = false;
  // The stretch that joins i to the window, so that the window stays contiguous.
  auto workOutStretch = [&] {
    if (i >= fUnloadedPreCount) {
      int end = fUnloadedPreCount + LoadedCount();
      from = (end > 0 && end < i) ? end : i;
      to = i;
      front = false;
    } else {
      from = i;
      to = fUnloadedPreCount - 1;
      front = true;
    }
  };
  workOutStretch();

  if ((to - from) + LoadedCount() > MaxLoadedWindow) {
    UnloadAll();
    if (i >= Count()) return nullptr;  // an unload handler shrank the list
    if (LoadedCount() == 0) {
      // Nothing left: re-base the empty window on i and load i alone.
      int unloaded = fUnloadedPreCount + fUnloadedPostCount;
      fUnloadedPreCount = i;
      fUnloadedPostCount = unloaded - i;
      from = to = i;
      front = false;
    } else {
      // Only part of the window went: join i to what is left of it.
      workOutStretch();
    }
  }

  LoadItems(from, to, front);
  return !hold.Gone() && IsLoaded(i) ? fItems.At(i - fUnloadedPreCount) : nullptr;
}

void TvxDataList::LoadItems(int from, int to, bool front) {
  if (from < 0 || from > to || to >= Count()) return;
  if (fItems.Empty() && fUnloadedPreCount == 0) {
    // Empty window: re-base it on the stretch.
    const int total = Count();
    fUnloadedPreCount = from;
    fUnloadedPostCount = total - from;
  }
  if (front ? to != fUnloadedPreCount - 1 : from != fUnloadedPreCount + LoadedCount()) return;

  LoadBatch batch;
  // The gap counters shrink with every entity placed, so that Count and the
  // indexes stay right for handlers that run during creation.
  if (front) {
    for (int k = to; k >= from && fUnloadedPreCount > 0; --k) {
      TvxDataEntity* e = CreateItem();
      batch.Push(e);
      ItemsInsert(0, e);
      --fUnloadedPreCount;
    }
  } else {
    for (int k = from; k <= to && fUnloadedPostCount > 0; ++k) {
      TvxDataEntity* e = CreateItem();
      batch.Push(e);
      ItemsInsert(LoadedCount(), e);
      --fUnloadedPostCount;
    }
  }

  if (!fListController || !fListController->fOnLoadItem) return;
  TvxHold hold(this);  // a load handler may free the list
  // Front loads are reported from the highest index down, back loads upwards:
  // always moving away from the window. Batch order is creation order.
  for (size_t k = 0; k < batch.Size(); ++k) {
    TvxDataEntity* e = batch.At(k);
    if (!hold.Gone() && e->fDataList == this && !e->IsFreePending())
      Fire(fListController, &TvxListController::fOnLoadItem, e);
  }
}

void TvxDataList::LoadAll() {
  if (fUnloadedPreCount > 0) LoadItems(0, fUnloadedPreCount - 1, true);
  if (fUnloadedPostCount > 0) LoadItems(fUnloadedPreCount + LoadedCount(), Count() - 1, false);
}

bool TvxDataList::CanUnload(TvxDataEntity* e) {
  // An entity the list is working on stays.
  if (!e || !e->CanDelete()) return false;
  bool canUnload = false;
  Fire(fListController, &TvxListController::fOnUnLoadItem, e, canUnload);
  return canUnload;
}

void TvxDataList::Unload(int i, bool before) {
  if (!IsLoaded(i)) return;
  int p = i - fUnloadedPreCount;
  if (p != (before ? 0 : LoadedCount() - 1)) return;  // only an end of the window
  TvxDataEntity* e = ItemsErase(p);
  // An emptied window stands at the front, with every unloaded entity after it.
  if (before && !fItems.Empty())
    ++fUnloadedPreCount;
  else
    ++fUnloadedPostCount;
  DisposeEntity(e);
}

void TvxDataList::Purge() {
  while (!fItems.Empty() && CanUnload(fItems.Front())) Unload(fUnloadedPreCount, true);
  while (!fItems.Empty() && CanUnload(fItems.Back())) Unload(fUnloadedPreCount + LoadedCount() - 1, false);
}

void TvxDataList::UnloadAll() {
  ClearSelections();
  Purge();
}

void TvxDataList::ListIndexesOutOfDate(int i) noexcept { fItems.StartsOutOfDateFrom(i - fUnloadedPreCount); }

void TvxDataList::EnsureListIndexes() { fItems.UpdateStarts(); }

void TvxDataList::UpdateListIndexesFrom(int i) {
  ListIndexesOutOfDate(i);
  fItems.UpdateStarts();
}

}  // namespace vx
