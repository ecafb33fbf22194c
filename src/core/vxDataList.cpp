#include <algorithm>
#include <climits>
#include <utility>

#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {

using detail::Fire;

namespace {

// The controller of the list being sorted: compare handlers are reached
// through this one slot, which is why sorts cannot nest.
TvxListController* gSortController = nullptr;

// Holds every entity of a sort, so that a compare handler that frees one
// cannot leave the sort with a dangling pointer.
struct HoldAll {
  std::vector<TvxDataEntity*>& items;
  explicit HoldAll(std::vector<TvxDataEntity*>& theItems) : items(theItems) {
    for (TvxDataEntity* e : items) e->AddRef();
  }
  ~HoldAll() {
    for (TvxDataEntity* e : items) e->Release();
  }
};

// Quicksort (not stable) that stays within bounds and ends whatever the compare
// answers, even when a handler is inconsistent.
template <class T, class Less>
void InsertionSort(std::vector<T>& a, int lo, int hi, Less& less) {
  for (int k = lo + 1; k <= hi; ++k) {
    T x = a[k];
    int m = k;
    while (m > lo && less(x, a[m - 1])) {
      a[m] = a[m - 1];
      --m;
    }
    a[m] = x;
  }
}

template <class T, class Less>
void QuickSort(std::vector<T>& a, int lo, int hi, Less& less) {
  while (hi - lo > 12) {
    int mid = lo + (hi - lo) / 2;
    if (less(a[mid], a[lo])) std::swap(a[mid], a[lo]);
    if (less(a[hi], a[lo])) std::swap(a[hi], a[lo]);
    if (less(a[hi], a[mid])) std::swap(a[hi], a[mid]);
    T pivot = a[mid];
    int i = lo, j = hi;
    while (i <= j) {
      while (i <= hi && less(a[i], pivot)) ++i;
      while (j >= lo && less(pivot, a[j])) --j;
      if (i <= j) {
        std::swap(a[i], a[j]);
        ++i;
        --j;
      }
    }
    if (j >= hi || i <= lo) break;  // no progress: only an inconsistent compare does this
    if (j - lo < hi - i) {
      QuickSort(a, lo, j, less);
      lo = i;
    } else {
      QuickSort(a, i, hi, less);
      hi = j;
    }
  }
  InsertionSort(a, lo, hi, less);
}

}  // namespace

TvxDataList* TvxDataList::Create(TvxListController* theListController, TvxDataEntityClass theDataEntityClass,
                                 TvxDataListClass theListClass) {
  TvxDataList* list = theListClass.Create();
  if (!list) list = new TvxDataList();
  list->AfterCreate(theListController, theDataEntityClass);
  return list;
}

void TvxDataList::AfterCreate(TvxListController* theListController, TvxDataEntityClass theDataEntityClass) {
  fListController = theListController;
  fDataEntityClass = theDataEntityClass ? theDataEntityClass : TvxDataEntityClass::Of<TvxDataEntity>();
  ListIndexesOutOfDate(0);
}

TvxDataList::~TvxDataList() {
  // Only entities left over after CleanForFree (or a list never cleaned) get
  // here: free them without notifications, the owner may be gone.
  std::vector<TvxDataEntity*> left;
  left.reserve(static_cast<size_t>(LoadedCount()));
  fItems.ForEach([&left](TvxDataEntity* e) { left.push_back(e); });
  fItems.Reset();
  for (TvxDataEntity* e : left) {
    e->fDataList = nullptr;
    FreeCall(e);
  }
}

void TvxDataList::CleanForFree() {
  // Each entity leaves the window before it goes, so that the notifications
  // never show a handler a freed entity.
  while (!fItems.Empty()) DisposeEntity(ItemsErase(0));
  fUnloadedPreCount = 0;
  fUnloadedPostCount = 0;
}

void TvxDataList::FreeDataEntity(TvxDataEntity* e) {
  if (e) e->FreeWheneverPossible();
}

void TvxDataList::DisposeEntity(TvxDataEntity* e) {
  TFlagScope scope(fDisposing, e);
  FreeDataEntity(e);
}

TvxDataEntity* TvxDataList::CreateItem() {
  TvxDataEntity* e = fDataEntityClass.Create();
  try {
    e->AfterCreate(this);
  } catch (...) {
    e->fDataList = nullptr;
    FreeCall(e);
    throw;
  }
  e->fDataList = this;
  return e;
}

TvxDataEntity* TvxDataList::GetLoaded(int p) const {
  if (p < 0 || p >= LoadedCount()) return nullptr;
  return fItems.At(p);
}

void TvxDataList::ItemsInsert(int p, TvxDataEntity* e) {
  fItems.Insert(p, e);
  ++fChangeStamp;
}

TvxDataEntity* TvxDataList::ItemsErase(int p) {
  TvxDataEntity* e = fItems.Erase(p);
  e->fWindowSlot = TvxEntityWindow::DetachedSlot(p + fUnloadedPreCount);
  ++fChangeStamp;
  if (fItems.Empty()) {
    // An empty window stands at the front.
    fUnloadedPostCount += fUnloadedPreCount;
    fUnloadedPreCount = 0;
  }
  return e;
}

int TvxDataList::WindowPosOf(TvxDataEntity* e) {
  if (!e || e->fDataList != this) return -1;
  return fItems.PosOf(e);
}

void TvxDataList::DetachLoaded(TvxDataEntity* e) {
  const int p = WindowPosOf(e);
  if (p >= 0) ItemsErase(p);
}

int TvxDataList::EnsureInsertPosition(int i) {
  if (i < 0 || i > Count()) return -1;
  EnsureLoadedItem(i);
  if (i == Count() && i >= 1) EnsureLoadedItem(i - 1);
  int p = i - fUnloadedPreCount;
  if (p < 0 || p > LoadedCount() || i > Count()) return -1;
  return p;
}

TvxDataEntity* TvxDataList::Insert(int i) {
  int p = EnsureInsertPosition(i);
  return p < 0 ? nullptr : InsertItem(p);
}

TvxDataEntity* TvxDataList::InsertItem(int p) {
  if (p < 0 || p > LoadedCount()) return nullptr;
  if (Count() == INT_MAX) throw EListError("List capacity out of bounds (" + std::to_string(Count()) + ")");
  TvxDataEntity* e = CreateItem();
  TvxHold hold(e);
  bool selected = e->fSelected;
  e->fSelected = false;
  ItemsInsert(p, e);
  Fire(fListController, &TvxListController::fInsertItem, e);
  Fire(fListController, &TvxListController::fOnContentChanged, this);
  if (e->IsFreePending()) return nullptr;  // a handler deleted it again
  if (selected) e->SetSelected(true);
  return e;
}

void TvxDataList::Delete(int i) {
  if (i < 0 || i >= Count()) return;
  if (IsLoaded(i)) {
    DisposeEntity(ItemsErase(i - fUnloadedPreCount));
  } else if (i >= fUnloadedPreCount) {
    --fUnloadedPostCount;
  } else {
    --fUnloadedPreCount;  // every loaded entity moves down by one
  }
}

void TvxDataList::Remove(TvxDataEntity* e) {
  int p = WindowPosOf(e);
  if (p >= 0) Delete(p + fUnloadedPreCount);
}

int TvxDataList::IndexOf(TvxDataEntity* e) {
  int p = WindowPosOf(e);
  return p < 0 ? -1 : p + fUnloadedPreCount;
}

void TvxDataList::Clear() {
  while (!fItems.Empty()) Delete(fUnloadedPreCount + LoadedCount() - 1);
  fUnloadedPreCount = 0;
  fUnloadedPostCount = 0;
  Fire(fListController, &TvxListController::fOnUnLoadedContentChanged, this);
}

void TvxDataList::ClearSelections() {
  // Selection handlers may change the list or free it: the list is held and
  // walked by position, and a change starts the walk again (what is cleared
  // stays cleared), a bounded number of times.
  TvxHold hold(this);
  int restarts = 0;
  for (int p = 0; p < LoadedCount(); ++p) {
    TvxDataEntity* e = fItems.At(p);
    if (!e->fSelected) continue;
    const std::uint64_t stamp = fChangeStamp;
    e->SetSelected(false);
    if (fChangeStamp != stamp && restarts++ < 8) p = -1;
  }
}

void TvxDataList::IteratorOfSelectedDataEntities(const TSelectedDataEntityEvent& proc) {
  if (!proc) return;
  TvxHold hold(this);  // proc may change or free the list
  for (int p = 0; p < LoadedCount(); ++p) {
    TvxDataEntity* e = fItems.At(p);
    if (e->fSelected) proc(this, e);
  }
}

TvxDataEntity* TvxDataList::FindDataEntity(const TFindFunc& func) {
  if (!func) return nullptr;
  TvxHold hold(this);
  for (int p = 0; p < LoadedCount(); ++p) {
    TvxDataEntity* e = fItems.At(p);
    TvxHold held(e);
    if (func(e)) return held.Gone() || hold.Gone() ? nullptr : e;
  }
  return nullptr;
}

int TvxDataList::VisibleCount() const {
  int n = 0;
  fItems.ForEach([&n](const TvxDataEntity* e) { n += e->GetVisible() ? 1 : 0; });
  return n;
}

bool TvxDataList::VisibleIndexDataEntity(int i) {
  if (!ValidIndexDataEntity(i)) return false;
  TvxDataEntity* e = GetItems(i);
  return e && e->GetVisible();
}

int TvxDataList::ListIndexToVisibleIndex(int i) {
  if (i < 0) return -1;
  int visible = 0;
  for (int k = 0; k <= i && k < Count(); ++k) {
    TvxDataEntity* e = GetItems(k);
    if (e && e->GetVisible()) ++visible;
  }
  return visible - 1;
}

int TvxDataList::VisibleIndexToListIndex(int v) {
  if (v < 0) return -1;
  int visible = -1;
  for (int k = 0; k < Count(); ++k) {
    TvxDataEntity* e = GetItems(k);
    if (e && e->GetVisible() && ++visible == v) return k;
  }
  return -1;
}

void TvxDataList::SelectionChanged(TvxDataList* theList, TvxDataEntity* e) {
  Fire(fListController, &TvxListController::fOnSelectionChanged, theList, e);
}

void TvxDataList::Sort(bool descending) {
  if (!fListController || !fListController->fOnSortCompare) return;
  if (gSortController) throw Exception("Sort: sorts cannot nest");
  {
    TFlagScope slot(gSortController, fListController);
    LoadAll();
    std::vector<TvxDataEntity*> sorted;
    sorted.reserve(static_cast<size_t>(LoadedCount()));
    fItems.ForEach([&sorted](TvxDataEntity* e) { sorted.push_back(e); });
    HoldAll hold(sorted);
    const std::uint64_t stamp = fChangeStamp;
    auto less = [](TvxDataEntity* a, TvxDataEntity* b) { return gSortController->fOnSortCompare(a, b) < 0; };
    if (!sorted.empty()) QuickSort(sorted, 0, static_cast<int>(sorted.size()) - 1, less);
    if (fChangeStamp != stamp) throw Exception("Sort: the list changed while it was sorted");
    if (descending) std::reverse(sorted.begin(), sorted.end());
    fItems.Assign(sorted);
    ++fChangeStamp;
  }
  Fire(fListController, &TvxListController::fOnContentChanged, this);
}

void TvxDataList::AddUnloaded(int theCount) {
  if (theCount <= 0) return;
  if (theCount > INT_MAX - Count())
    throw EListError("List capacity out of bounds (" + std::to_string(static_cast<long long>(Count()) + theCount) + ")");
  fUnloadedPostCount += theCount;
  Fire(fListController, &TvxListController::fOnContentChanged, this);
  Fire(fListController, &TvxListController::fOnUnLoadedContentChanged, this);
}

}  // namespace vx
