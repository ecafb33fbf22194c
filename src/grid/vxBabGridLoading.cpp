// Virtual loading of axis items: loading on demand, unloading with the host's
// permission, purging after a layout pass.
#include <algorithm>

#include <vxplan/grid/vxBabGridContent.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {

void TAxisContentList::EnsureLoadedItem(int i) {
  if (i < 0 || i >= Count()) return;
  // Fixed items missing (the axis was shorter when they were declared) come
  // first; nothing is unloaded in front of them then.
  if (LoadedCount() < fFixedItems && fUnloadedPreCount == 0 && LoadedCount() < Count())
    LoadItems(LoadedCount(), std::min(fFixedItems, Count()) - 1, false);
  bool resetDone = false;
  for (;;) {
    if (i < 0 || i >= Count() || IsLoaded(i)) return;
    const int f = FixedLoaded(), loaded = LoadedCount();
    int start, stop;
    const bool inFront = i < f + fUnloadedPreCount;
    if (inFront) {
      start = i;
      stop = f + fUnloadedPreCount - 1;
    } else {
      start = fUnloadedPreCount + loaded;
      stop = i;
    }
    if (!resetDone && (stop - start) + loaded > MaxLoadedItems) {
      // A jump far away discards the window rather than loading all between.
      resetDone = true;
      UnloadAll();
      i = std::min(i, Count() - 1);
      if (LoadedCount() == FixedLoaded() && i >= FixedLoaded()) {
        const int gaps = fUnloadedPreCount + fUnloadedPostCount;
        fUnloadedPreCount = i - FixedLoaded();
        fUnloadedPostCount = gaps - fUnloadedPreCount;
      }
      continue;  // what is left of the window decides the stretch again
    }
    LoadItems(start, stop, inFront);
    return;
  }
}

void TAxisContentList::LoadItems(int theStart, int theStop, bool theInFront) {
  if (theStop < theStart) return;
  // Only stretches that join the window keep it contiguous.
  const int f = FixedLoaded();
  if (theInFront ? (theStart < f || theStop != f + fUnloadedPreCount - 1)
                 : (theStart != fUnloadedPreCount + LoadedCount() || theStop >= Count()))
    return;
  TFlagScope loading(fInLoadItems);
  fUnloadProtectedStart = theStart;
  fUnloadProtectedStop = theStop;
  for (int k = theStart; k <= theStop; ++k) {
    auto* item = new TAxisContentItem(nullptr, this);
    if (theInFront) {
      fList.Insert(FixedLoaded(), item);
      if (fUnloadedPreCount > 0) --fUnloadedPreCount;
    } else {
      fList.Insert(LoadedCount(), item);
      if (fUnloadedPostCount > 0) --fUnloadedPostCount;
    }
    fBabGridCell->InsertingAxisItem(this, item);
  }
  TBabGridCellForViewer* v = Viewer();
  if (v && v->fOnVirtualLoad) {
    fLoadOperationInFront = theInFront;
    const bool isRow = IsRowAxis();
    // Nearest the existing window first.
    for (int n = 0; n <= theStop - theStart; ++n) {
      const int k = theInFront ? theStop - n : theStart + n;
      if (TAxisContentItem* item = IsLoaded(k) ? getLoadedAxisContentItem(IndexConvert_RealToLoaded(k)) : nullptr)
        v->fOnVirtualLoad(fBabGridCell, item, isRow);
    }
  }
  ChangeInUnloaded();
}

bool TAxisContentList::CanUnload(TAxisContentItem* theItem) {
  if (!theItem || theItem->fAxisContentList != this || theItem->LoadedListIndex() < 0) throw Exception("Index fu");
  if (theItem->fIsOnScreen) return false;
  const int i = theItem->ListIndex();
  TCellMatris* m = fBabGridCell->GetCellMatris();
  if (IsRowAxis() ? m->HasRowSelections(i) : m->HasColumnSelections(i)) return false;
  TBabGridCellForViewer* v = Viewer();
  if (!v || !v->fOnVirtualUnLoad) return false;
  bool can = false;
  v->fOnVirtualUnLoad(fBabGridCell, theItem, IsRowAxis(), false, can);
  return can;
}

void TAxisContentList::UnloadIntervall(TAxisContentItem* theItem, int& theStart, int& theStop) {
  theStart = theStop = theItem ? theItem->ListIndex() : -1;
  TBabGridCellForViewer* v = Viewer();
  if (v && v->fOnUnloadIntervall) v->fOnUnloadIntervall(fBabGridCell, theItem, IsRowAxis(), theStart, theStop);
  if (theStop < theStart) throw Exception("Incorrect intervall");
}

void TAxisContentList::Unload(int i, bool theFront) {
  const int f = FixedLoaded();
  if (LoadedCount() <= f) return;
  const int expected = theFront ? f + fUnloadedPreCount : fUnloadedPreCount + LoadedCount() - 1;
  if (i != expected) return;
  TAxisContentItem* item = getLoadedAxisContentItem(IndexConvert_RealToLoaded(i));
  TBabGridCellForViewer* v = Viewer();
  const bool isRow = IsRowAxis();
  bool keep = true;
  if (v && v->fOnKeepAfterUnloadCheck) v->fOnKeepAfterUnloadCheck(fBabGridCell, item, isRow, keep);
  if (v && v->fOnVirtualUnLoad) {
    bool can = true;
    v->fOnVirtualUnLoad(fBabGridCell, item, isRow, true, can);
  }
  // A handler may have taken the item away meanwhile.
  if (item->fAxisContentList != this || item->LoadedListIndex() < 0) return;
  RemoveLoaded(item);
  if (keep) {
    if (theFront)
      ++fUnloadedPreCount;
    else
      ++fUnloadedPostCount;
  }
  ChangeInUnloaded();
}

bool TAxisContentList::IntervalCanUnload(int theStart, int theStop) {
  for (int k = theStart; k <= theStop; ++k) {
    TAxisContentItem* item = IsLoaded(k) ? getLoadedAxisContentItem(IndexConvert_RealToLoaded(k)) : nullptr;
    if (!item || !CanUnload(item)) return false;
  }
  return true;
}

bool TAxisContentList::PurgeFront() {
  const int f = FixedLoaded();
  if (LoadedCount() <= f) return false;
  const int first = f + fUnloadedPreCount;
  if (first >= fUnloadProtectedStart && first <= fUnloadProtectedStop) return false;
  int start, stop;
  UnloadIntervall(getLoadedAxisContentItem(f), start, stop);
  // Only loaded, non-fixed items can go, and the first one with them.
  start = std::max(start, first);
  stop = std::min(stop, fUnloadedPreCount + LoadedCount() - 1);
  if (start != first || stop < start || !IntervalCanUnload(start, stop)) return false;
  for (int n = stop - start + 1; n > 0 && LoadedCount() > FixedLoaded(); --n)
    Unload(FixedLoaded() + fUnloadedPreCount, true);
  return true;
}

bool TAxisContentList::PurgeBack() {
  const int f = FixedLoaded();
  if (LoadedCount() <= f) return false;
  const int last = fUnloadedPreCount + LoadedCount() - 1;
  if (last >= fUnloadProtectedStart && last <= fUnloadProtectedStop) return false;
  int start, stop;
  UnloadIntervall(getLoadedAxisContentItem(LoadedCount() - 1), start, stop);
  start = std::max(start, f + fUnloadedPreCount);
  stop = std::min(stop, last);
  if (stop != last || stop < start || !IntervalCanUnload(start, stop)) return false;
  for (int k = stop; k >= start && LoadedCount() > FixedLoaded(); --k) Unload(fUnloadedPreCount + LoadedCount() - 1, false);
  return true;
}

void TAxisContentList::Purge() {
  while (PurgeFront()) {
  }
  while (PurgeBack()) {
  }
}

void TAxisContentList::UnloadAll() {
  TBabGridCellForViewer* v = Viewer();
  // Without an unload handler nothing can go: keep the selection then.
  if (v && v->fOnVirtualUnLoad) fBabGridCell->SetSelected(false);
  ClearVisibles();
  Purge();
}

void TAxisContentList::DeleteOfUnloaded(int theStart, int theStop) {
  if (theStop < theStart) return;
  TBabGridCellForViewer* v = Viewer();
  if (v && v->fOnDeleteOfUnloaded) v->fOnDeleteOfUnloaded(fBabGridCell, IsRowAxis(), theStart, theStop);
  if (theStop < theStart) return;
  const int f = FixedLoaded(), n = theStop - theStart + 1;
  bool changed = false;
  if (theStart >= f && theStop < f + fUnloadedPreCount) {
    fUnloadedPreCount = std::max(0, fUnloadedPreCount - n);
    changed = true;
  } else if (theStart >= fUnloadedPreCount + LoadedCount()) {
    fUnloadedPostCount = std::max(0, fUnloadedPostCount - n);
    changed = true;
  }
  if (changed) ChangeInUnloaded();
}

}  // namespace vx
