#include <vxplan/core/vxDataEntityPack.h>

namespace vx {

using detail::Fire;

void TvxDataEntity::AfterCreate(TvxDataList* theDataList) {
  fDataList = theDataList;
  SetVisible(true);
}

void TvxDataEntity::CleanForFree() {
  TvxDataList* list = fDataList;
  if (!list) return;
  // Freed directly rather than through its list: leave no dangling slot.
  if (list->fDisposing != this) list->DetachLoaded(this);
  TvxListController* c = list->fListController;
  Fire(c, &TvxListController::fDeleteItem, this);
  Fire(c, &TvxListController::fOnContentChanged, list);
  fDataList = nullptr;
}

bool TvxDataEntity::GetVisible() const { return fVisible; }

void TvxDataEntity::SetVisible(bool theValue) {
  if (fVisible == theValue) return;
  fVisible = theValue;
  if (fDataList) Fire(fDataList->fListController, &TvxListController::fOnVisibleChanged, this);
}

void TvxDataEntity::SetSelected(bool theValue) {
  if (fSelected == theValue) return;
  fSelected = theValue;
  if (fDataList) Fire(fDataList->fListController, &TvxListController::fOnSelectionChanged, fDataList, this);
}

bool TvxDataEntity::GetCanEdit() {
  if (fDataList) Fire(fDataList->fListController, &TvxListController::fBeforeCanEditItem, this);
  return fCanEdit;
}

void TvxDataEntity::DoInfoPush() {
  if (fDataList) Fire(fDataList->fListController, &TvxListController::fOnInfoPush, this);
}

int TvxDataEntity::ListIndex() {
  if (!fDataList) return -1;
  if (TvxEntityWindow::IsDetached(fWindowSlot)) return TvxEntityWindow::DetachedIndex(fWindowSlot);
  const int p = fDataList->fItems.PosOf(this);
  return p < 0 ? -1 : p + fDataList->fUnloadedPreCount;
}

void TvxDataEntity::Move(int newIndex) {
  TvxDataList* list = fDataList;
  if (!list || newIndex < 0 || newIndex >= list->Count()) return;
  if (list->WindowPosOf(this) < 0) return;
  TvxHold hold(this);  // a held entity is never unloaded by the load below
  int oldIndex = ListIndex();
  if (!list->EnsureLoadedItem(newIndex)) return;
  int oldPos = list->WindowPosOf(this);
  if (oldPos < 0 || !list->IsLoaded(newIndex)) return;  // a load handler took it away
  oldIndex = oldPos + list->fUnloadedPreCount;
  int newPos = newIndex - list->fUnloadedPreCount;
  list->ItemsErase(oldPos);
  list->ItemsInsert(newPos, this);
  Fire(list->fListController, &TvxListController::fOnHandlePerformedMove, this, oldIndex, newIndex);
}

void TvxDataEntity::ChangeOwner(TvxDataList* theNewList, int theIndex) {
  TvxDataList* oldList = fDataList;
  if (!oldList || !theNewList || theNewList == oldList) return;
  if (!theNewList->fDataEntityClass.IsInstance(this)) return;
  if (theIndex < 0 || theIndex > theNewList->Count()) return;
  if (oldList->WindowPosOf(this) < 0) return;
  TvxHold hold(this);

  Fire(oldList->fListController, &TvxListController::fOnLeaveOwnerBeforeChange, this);
  if (fDataList != oldList || IsFreePending()) return;  // the handler dealt with it

  // Make room in the new list first, while the entity is still fully in the old.
  int newPos = theNewList->EnsureInsertPosition(theIndex);
  int oldPos = oldList->WindowPosOf(this);
  if (newPos < 0 || oldPos < 0 || fDataList != oldList) return;

  oldList->ItemsErase(oldPos);
  fDataList = theNewList;
  theNewList->ItemsInsert(newPos, this);

  Fire(theNewList->fListController, &TvxListController::fOnEnterOwnerAfterChange, this);
  Fire(theNewList->fListController, &TvxListController::fOnContentChanged, theNewList);
  Fire(oldList->fListController, &TvxListController::fOnContentChanged, oldList);
}

}  // namespace vx
