// Two- and three-level list holders.
#include <algorithm>

#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/core/vxHolding.h>
#include <vxplan/platform/rtl/Exception.h>

namespace vx {

namespace {

template <class T>
void CheckIndex(const std::vector<T*>& theList, int i) {
  if (i < 0 || i >= static_cast<int>(theList.size())) throw EListError(i);
}

template <class T>
int IndexIn(const std::vector<T*>& theList, const T* theItem) {
  auto it = std::find(theList.begin(), theList.end(), theItem);
  return it == theList.end() ? -1 : static_cast<int>(it - theList.begin());
}

}  // namespace

TvxDataList2lev* TvxDataList2lev::Create() {
  auto* holder = new TvxDataList2lev();
  holder->AfterCreate();
  return holder;
}

// From this size on the holder counts its members, once it is looked in.
constexpr size_t kCountedFrom = 64;

void TvxDataList2lev::CleanForFree() { Clear(); }

void TvxDataList2lev::Clear() {
  fList.clear();
  fMembers.Clear();
  fCounting = false;
}

void TvxDataList2lev::EnsureCounted() const {
  if (fCounting || fList.size() < kCountedFrom) return;
  fCounting = true;
  for (TvxDataList* l : fList) fMembers.Add(l, +1);
}

void TvxDataList2lev::Counted(TvxDataList* theList, int theDelta) {
  if (theList && theDelta > 0) theList->fEverHeld = true;  // a list going may be gone already
  if (fCounting) fMembers.Add(theList, theDelta);
}

bool TvxDataList2lev::Contains(TvxDataList* theList) const {
  if (theList && !theList->fEverHeld) return false;
  EnsureCounted();
  if (fCounting) return fMembers.Get(theList) > 0;
  return IndexIn(fList, theList) >= 0;
}

void TvxDataList2lev::Add(TvxDataList* theList) {
  if (Contains(theList)) return;
  fList.push_back(theList);
  Counted(theList, +1);
}

void TvxDataList2lev::Delete(int i) {
  CheckIndex(fList, i);
  TvxDataList* gone = fList[static_cast<size_t>(i)];
  fList.erase(fList.begin() + i);
  Counted(gone, -1);
}

void TvxDataList2lev::Remove(TvxDataList* theList) {
  if (!Contains(theList)) return;
  Delete(IndexOf(theList));
}

void TvxDataList2lev::RemoveIf(const std::function<bool(TvxDataList*)>& thePredicate) {
  if (!thePredicate) return;
  auto gone = std::stable_partition(fList.begin(), fList.end(), [&](TvxDataList* l) { return !thePredicate(l); });
  if (fCounting)
    for (auto it = gone; it != fList.end(); ++it) fMembers.Erase(*it);
  fList.erase(gone, fList.end());
}

int TvxDataList2lev::IndexOf(TvxDataList* theList) const {
  if (theList && !theList->fEverHeld) return -1;
  EnsureCounted();
  if (fCounting && fMembers.Get(theList) == 0) return -1;
  return IndexIn(fList, theList);
}

TvxDataList* TvxDataList2lev::GetDataList(int i) {
  // The handler may add the missing lists; ask again only while it makes
  // progress, so that a handler that claims a fix it did not make cannot loop.
  while (i >= Count() && fOnMissingIndex) {
    const int before = Count();
    bool fixable = false;
    fOnMissingIndex(this, i, fixable);
    if (!fixable || Count() <= before) return nullptr;
  }
  CheckIndex(fList, i);
  return fList[static_cast<size_t>(i)];
}

void TvxDataList2lev::SetDataList(int i, TvxDataList* theList) {
  CheckIndex(fList, i);
  TvxDataList* old = fList[static_cast<size_t>(i)];
  fList[static_cast<size_t>(i)] = theList;
  Counted(old, -1);
  Counted(theList, +1);
}

// The selection walks below read only loaded entities and skip unloaded
// stretches by their counts: an unloaded entity holds no selection, and a
// walk over a virtual list must not load it. Only the entity that gets
// selected is loaded.

void TvxDataList2lev::ClearSelections() {
  // A selection handler may drop lists from this holder, free them or free
  // the holder: the walk goes over the lists held as they were.
  TvxHold hold(this);
  TvxHeldList<TvxDataList> lists;
  for (TvxDataList* list : fList) lists.Add(list);
  lists.ForEach([](TvxDataList* list) { list->ClearSelections(); });
}

TvxDataEntity* TvxDataList2lev::FirstSelected(int& theList, int& theIndex) const {
  for (int k = 0; k < Count(); ++k) {
    const TvxDataList* list = fList[static_cast<size_t>(k)];
    for (int p = 0; list && p < list->LoadedCount(); ++p) {
      TvxDataEntity* e = list->GetLoaded(p);
      if (e->GetSelected()) {
        theList = k;
        theIndex = p + list->GetUnloadedPreCount();
        return e;
      }
    }
  }
  return nullptr;
}

TvxDataEntity* TvxDataList2lev::FindSelected() {
  int k = 0, i = 0;
  return FirstSelected(k, i);
}

int TvxDataList2lev::NonEmptyFrom(int k, int theStep) const {
  for (; k >= 0 && k < Count(); k += theStep) {
    const TvxDataList* list = fList[static_cast<size_t>(k)];
    if (list && list->Count() > 0) return k;
  }
  return -1;
}

void TvxDataList2lev::SelectStep(bool forward) {
  TvxHold hold(this);  // selection handlers may free the holder
  const int step = forward ? 1 : -1;
  const int first = NonEmptyFrom(forward ? 0 : Count() - 1, step);
  if (first < 0) return;  // nothing to select
  int k = first, i = forward ? 0 : fList[static_cast<size_t>(first)]->Count() - 1;
  int selectedList = 0, selectedIndex = 0;
  if (FirstSelected(selectedList, selectedIndex)) {
    // The walk keeps its position by index: clearing may run handlers.
    ClearSelections();
    k = selectedList;
    i = selectedIndex + step;
    TvxDataList* list = k < Count() ? fList[static_cast<size_t>(k)] : nullptr;
    if (!list || i < 0 || i >= list->Count()) {
      // On to the neighbouring list, wrapping round at the ends.
      k = NonEmptyFrom(k + step, step);
      if (k < 0) k = NonEmptyFrom(forward ? 0 : Count() - 1, step);
      if (k < 0) return;
      i = forward ? 0 : fList[static_cast<size_t>(k)]->Count() - 1;
    }
  }
  if (TvxDataEntity* e = fList[static_cast<size_t>(k)]->GetItems(i)) e->SetSelected(true);
}

void TvxDataList2lev::SelectNext() { SelectStep(true); }

void TvxDataList2lev::SelectPrev() { SelectStep(false); }

void TvxDataList2lev::SelectDataEntity(TvxDataEntity* e) {
  if (e) e->SetSelected(true);
}

TvxDataList3lev* TvxDataList3lev::Create() {
  auto* holder = new TvxDataList3lev();
  holder->AfterCreate();
  return holder;
}

void TvxDataList3lev::CleanForFree() { fList.clear(); }

void TvxDataList3lev::Add(TvxDataList2lev* theList) { fList.push_back(theList); }

void TvxDataList3lev::Delete(int i) {
  CheckIndex(fList, i);
  fList.erase(fList.begin() + i);
}

void TvxDataList3lev::Remove(TvxDataList2lev* theList) {
  int i = IndexOf(theList);
  if (i >= 0) fList.erase(fList.begin() + i);
}

int TvxDataList3lev::IndexOf(TvxDataList2lev* theList) const { return IndexIn(fList, theList); }

TvxDataList2lev* TvxDataList3lev::GetDataListList(int i) const {
  CheckIndex(fList, i);
  return fList[static_cast<size_t>(i)];
}

void TvxDataList3lev::SetDataListList(int i, TvxDataList2lev* theList) {
  CheckIndex(fList, i);
  fList[static_cast<size_t>(i)] = theList;
}

}  // namespace vx
