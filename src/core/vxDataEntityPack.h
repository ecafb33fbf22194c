#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include <vxplan/core/vxEntityWindow.h>
#include <vxplan/core/vxExposable.h>
#include <vxplan/core/vxPointerCounts.h>
#include <vxplan/platform/rtl/Object.h>
#include <vxplan/platform/rtl/Variant.h>

namespace vx {

class TvxDataEntity;
class TvxDataList;
class TvxDataList2lev;
class TvxDataList3lev;

using TvxDataEntityClass = TMetaClass<TvxDataEntity>;
using TvxDataListClass = TMetaClass<TvxDataList>;

// Handlers of a list controller.
using TOnDataEntityNotify = std::function<void(TvxDataEntity* theDataEntity)>;
using TOnEntityCompare = std::function<int(TvxDataEntity* the1, TvxDataEntity* the2)>;
using TOnHandlePerformedMove =
    std::function<void(TvxDataEntity* thevxDataEntity, int theOldIndex, int theNewIndex)>;
using TOnDataListDataEntityNotify =
    std::function<void(TvxDataList* thevxDataList, TvxDataEntity* theDataEntity)>;
using TOnDataListNotify = std::function<void(TvxDataList* thevxDataList)>;
using TOnDataEntityUnloadNotify = std::function<void(TvxDataEntity* theDataEntity, bool& CanUnload)>;
using TOnMissingIndex = std::function<void(TvxExposable* theCaller, int theIndex, bool& theFixable)>;

// Callbacks used with lists.
using TFindFunc = std::function<bool(TvxDataEntity* thevxDataEntity)>;
using TSelectedDataEntityEvent = std::function<void(TvxDataList* theDataList, TvxDataEntity* theDataEntity)>;

// Event types the controls publish for their data lists.
using TOnContentChanged = std::function<void(TObject* Caller, TvxDataList* thevxDataList)>;
using TOnSelectionChanged =
    std::function<void(TObject* Caller, TvxDataList* thevxDataList, TvxDataEntity* theDataEntity)>;
using TOnDeleteItem = std::function<void(TObject* Caller, TvxDataEntity* theDataEntity)>;
using TOnInsertItem = std::function<void(TObject* Caller, TvxDataEntity* theDataEntity)>;
using TOnInfoPush = std::function<void(TObject* Caller, TvxDataEntity* theDataEntity)>;
using TOnBeforeCanEditItem = std::function<void(TObject* Caller, TvxDataEntity* theDataEntity)>;

// The record of handlers through which a list reports every change to the
// control that owns it. The control creates it and fills in what it needs; an
// empty handler is skipped. Lists do not own their controller.
class VX_API TvxListController : public TObject {
public:
  TOnDataEntityNotify fDeleteItem;
  TOnDataEntityNotify fInsertItem;
  TOnDataEntityNotify fOnEnterOwnerAfterChange;
  TOnDataEntityNotify fOnLeaveOwnerBeforeChange;
  TOnEntityCompare fOnSortCompare;
  TOnHandlePerformedMove fOnHandlePerformedMove;
  TOnDataListDataEntityNotify fOnSelectionChanged;
  TOnDataListNotify fOnContentChanged;
  TOnDataEntityNotify fOnVisibleChanged;
  TOnDataEntityNotify fBeforeCanEditItem;
  TOnDataEntityNotify fOnInfoPush;
  TOnDataEntityNotify fOnLoadItem;
  TOnDataEntityUnloadNotify fOnUnLoadItem;
  TOnDataListNotify fOnUnLoadedContentChanged;
};

namespace detail {
// Calls a controller handler when the controller exists and the handler is set.
template <class Handler, class... Args>
inline void Fire(const TvxListController* c, Handler TvxListController::*h, Args&&... args) {
  if (c && c->*h) (c->*h)(std::forward<Args>(args)...);
}
}  // namespace detail

// An item held in a data list. Only lists create entities (from their entity
// class, followed by AfterCreate); they end through FreeWheneverPossible.
class VX_API TvxDataEntity : public TvxExposable {
public:
  TvxDataEntity() = default;

  void CleanForFree() override;
  virtual void SetVisible(bool theValue);
  virtual bool GetVisible() const;
  virtual void AfterCreate(TvxDataList* theDataList);

  // The entity's index in its list (-1 outside a list). While the list
  // reports the entity's removal it answers the index the entity had.
  int ListIndex();

  bool GetSelected() const noexcept { return fSelected; }
  void SetSelected(bool theValue);
  bool GetCanEdit();
  void SetCanEdit(bool theValue) noexcept { fCanEdit = theValue; }
  TvxDataList* GetDataList() const noexcept { return fDataList; }

  void* GetUserReference() const noexcept { return fUserReference; }
  void SetUserReference(void* theValue) noexcept { fUserReference = theValue; }
  int GetUserIntegerReference() const noexcept { return fUserIntegerReference; }
  void SetUserIntegerReference(int theValue) noexcept { fUserIntegerReference = theValue; }
  const Variant& GetVariantReference() const noexcept { return fVariantReference; }
  void SetVariantReference(Variant theValue) { fVariantReference = std::move(theValue); }

  // Tells the list's controller that the application changed the entity.
  void DoInfoPush();

  // Moves the entity to another index of its list; nothing for an index
  // outside 0 .. Count-1.
  void Move(int newIndex);

  // Moves the entity into another list at index theIndex (0 .. Count of that
  // list). Nothing when the entity is in no list, the target is nil or its own
  // list, the entity is not of the target's entity class, or the index is out
  // of range.
  void ChangeOwner(TvxDataList* theNewList, int theIndex);

protected:
  ~TvxDataEntity() override = default;

  friend class TvxDataList;
  friend class TvxEntityWindow;

  // Descendants set their defaults here in AfterCreate, without reports.
  bool fSelected = false;
  bool fVisible = false;
  bool fCanEdit = false;
  TvxDataList* fDataList = nullptr;
  void* fUserReference = nullptr;
  int fUserIntegerReference = 0;
  // Where the entity stands in its list's window (see TvxEntityWindow), from
  // which its list index follows. Next to the integer reference: keeps the
  // entity at 56 bytes.
  std::uint32_t fWindowSlot = TvxEntityWindow::DetachedSlot(0);
  Variant fVariantReference;
};

// An ordered list of entities of which only a contiguous window is loaded:
// fUnloadedPreCount unloaded entities, the loaded window fItems, then
// fUnloadedPostCount unloaded entities. Every change is reported through the
// list controller. The list owns its loaded entities.
class VX_API TvxDataList : public TvxExposable {
public:
  // Most entities kept loaded by virtual loading, when the application lets
  // them be unloaded.
  static constexpr int MaxLoadedWindow = 500;

  TvxDataList() = default;

  // Base constructor followed by AfterCreate, for lists of class theListClass.
  static TvxDataList* Create(TvxListController* theListController, TvxDataEntityClass theDataEntityClass,
                             TvxDataListClass theListClass = TvxDataListClass::Of<TvxDataList>());

  void CleanForFree() override;
  virtual void FreeDataEntity(TvxDataEntity* e);
  // An empty entity class stands for TvxDataEntity.
  virtual void AfterCreate(TvxListController* theListController, TvxDataEntityClass theDataEntityClass);
  // Appends theCount unloaded entities; nothing for a count below 1. A count
  // that would take the list past the largest Integer raises EListError.
  virtual void AddUnloaded(int theCount);

  int Count() const noexcept { return LoadedCount() + fUnloadedPreCount + fUnloadedPostCount; }
  int LoadedCount() const noexcept { return fItems.Size(); }
  int GetUnloadedPreCount() const noexcept { return fUnloadedPreCount; }
  int GetUnloadedPostCount() const noexcept { return fUnloadedPostCount; }
  // Loaded entity at window position p; nil outside the window. Never loads.
  TvxDataEntity* GetLoaded(int p) const;
  bool IsLoaded(int i) const noexcept { return i >= fUnloadedPreCount && i < fUnloadedPreCount + LoadedCount(); }

  // Entity at list index i, loaded if needed; nil outside 0 .. Count-1.
  TvxDataEntity* GetItems(int i) { return EnsureLoadedItem(i); }
  TvxDataEntity* Add() { return Insert(Count()); }
  // Inserts a new entity at list index i (0 .. Count); nil for any other index.
  TvxDataEntity* Insert(int i);
  // Inserts a new entity at window position p (0 .. LoadedCount); nil otherwise.
  TvxDataEntity* InsertItem(int p);
  void Delete(int i);
  // Deletes e when it belongs to this list; nothing otherwise.
  void Remove(TvxDataEntity* e);
  // e's list index; -1 for nil and for an entity of another list.
  int IndexOf(TvxDataEntity* e);
  void Clear();

  void ClearSelections();
  void IteratorOfSelectedDataEntities(const TSelectedDataEntityEvent& proc);
  TvxDataEntity* FindDataEntity(const TFindFunc& func);
  int VisibleCount() const;
  bool ValidIndexDataEntity(int i) const noexcept { return i >= 0 && i < Count(); }
  bool VisibleIndexDataEntity(int i);
  int ListIndexToVisibleIndex(int i);
  int VisibleIndexToListIndex(int v);
  void SelectionChanged(TvxDataList* theList, TvxDataEntity* e);

  // Sorts with the controller's fOnSortCompare (nothing without it), loading
  // every entity first. Sorts do not nest: a Sort started while another runs
  // raises vx::Exception, and so does a compare handler that changes the list.
  void Sort(bool descending);

  TvxDataEntity* EnsureLoadedItem(int i);
  // Loads the stretch from..to next to the window: at the front it must end
  // just before the window, at the back start just after it (or anywhere, when
  // the window is empty). Any other stretch is ignored.
  void LoadItems(int from, int to, bool front);
  bool CanUnload(TvxDataEntity* e);
  // Unloads the first (before = true) or last loaded entity; i must be its index.
  void Unload(int i, bool before);
  void Purge();
  void UnloadAll();

  // Indexes are renumbered lazily, by blocks of the window: an edit marks the
  // blocks after it out of date and the next index read renumbers what it
  // needs. These bring all of them up to date, or mark them from index i.
  void EnsureListIndexes();
  void ListIndexesOutOfDate(int i) noexcept;
  void UpdateListIndexesFrom(int i);

  TvxListController* GetListController() const noexcept { return fListController; }
  TvxDataEntityClass GetDataEntityClass() const noexcept { return fDataEntityClass; }
  TObject* GetMiscObjectPointer() const noexcept { return fMiscObjectPointer; }
  void SetMiscObjectPointer(TObject* theObject) noexcept { fMiscObjectPointer = theObject; }

protected:
  ~TvxDataList() override;

  TvxDataEntity* CreateItem();

private:
  friend class TvxDataEntity;
  friend class TvxDataList2lev;

  // Window edits go through these, so that a sort can tell that its compare
  // handler changed the list. An erased entity keeps the index it had.
  void ItemsInsert(int p, TvxDataEntity* e);
  TvxDataEntity* ItemsErase(int p);
  // Window position of e; -1 when e is not in the window.
  int WindowPosOf(TvxDataEntity* e);
  // Takes e out of the window when it is still there (an entity freed directly).
  void DetachLoaded(TvxDataEntity* e);
  // Frees an entity that has been taken out of the window (or is being), with
  // its delete notifications.
  void DisposeEntity(TvxDataEntity* e);
  // Makes list index i part of the window, or the end of the list part of it
  // when i = Count; answers the window position of i.
  int EnsureInsertPosition(int i);
  void LoadAll();

  TvxEntityWindow fItems;
  TObject* fMiscObjectPointer = nullptr;
  TvxListController* fListController = nullptr;
  TvxDataEntityClass fDataEntityClass;
  int fUnloadedPreCount = 0;
  int fUnloadedPostCount = 0;
  std::uint64_t fChangeStamp = 0;
  TvxDataEntity* fDisposing = nullptr;
  // Ever put in a list holder: a list that never was is in none, and a holder
  // takes it without looking.
  bool fEverHeld = false;
};

// A list of data lists (for example all layers of one Gantt row). Holds, never
// owns.
class VX_API TvxDataList2lev : public TvxExposable {
public:
  TvxDataList2lev() = default;
  static TvxDataList2lev* Create();

  void CleanForFree() override;
  void AfterCreate() {}

  void Add(TvxDataList* theList);
  void Delete(int i);
  void Remove(TvxDataList* theList);
  // Takes out every list for which thePredicate answers true, in one pass.
  void RemoveIf(const std::function<bool(TvxDataList*)>& thePredicate);
  int IndexOf(TvxDataList* theList) const;
  int Count() const noexcept { return static_cast<int>(fList.size()); }
  void Clear();
  // The list at i. At or beyond Count the missing-index handler, when
  // assigned, may add the missing lists (it sets theFixable), after which the
  // read is tried again; when it does not, the answer is nil. Any other index
  // outside the list raises EListError.
  TvxDataList* GetDataList(int i);
  void SetDataList(int i, TvxDataList* theList);

  // Selections live on loaded entities only: these never load an entity,
  // except the one SelectNext or SelectPrev selects.
  void ClearSelections();
  TvxDataEntity* FindSelected();
  void SelectNext();
  void SelectPrev();
  void SelectDataEntity(TvxDataEntity* e);

  TOnMissingIndex GetOnMissingIndex() const { return fOnMissingIndex; }
  void SetOnMissingIndex(TOnMissingIndex theHandler) { fOnMissingIndex = std::move(theHandler); }

protected:
  ~TvxDataList2lev() override = default;

private:
  void SelectStep(bool forward);
  // The first selected entity, lists in order: its list and list index.
  TvxDataEntity* FirstSelected(int& theList, int& theIndex) const;
  // First list from k on, stepping by theStep, that holds entities; -1 if none.
  int NonEmptyFrom(int k, int theStep) const;
  void Counted(TvxDataList* theList, int theDelta);
  bool Contains(TvxDataList* theList) const;

  std::vector<TvxDataList*> fList;
  // Occurrences of each list, counted from the first look-up in a large
  // holder on (fCounting), so that looking does not scan (a tree holds a list
  // per node). Until then nothing is counted: new lists need no look-up.
  void EnsureCounted() const;
  mutable detail::TPointerCounts fMembers;
  mutable bool fCounting = false;
  TOnMissingIndex fOnMissingIndex;
};

// A list of two-level lists (for example all the time items of a chart).
// Holds, never owns.
class VX_API TvxDataList3lev : public TvxExposable {
public:
  TvxDataList3lev() = default;
  static TvxDataList3lev* Create();

  void CleanForFree() override;
  void AfterCreate() {}

  void Add(TvxDataList2lev* theList);
  void Delete(int i);
  void Remove(TvxDataList2lev* theList);
  int IndexOf(TvxDataList2lev* theList) const;
  int Count() const noexcept { return static_cast<int>(fList.size()); }
  void Clear() { fList.clear(); }
  // EListError for an index outside the list.
  TvxDataList2lev* GetDataListList(int i) const;
  void SetDataListList(int i, TvxDataList2lev* theList);

protected:
  ~TvxDataList3lev() override = default;

private:
  std::vector<TvxDataList2lev*> fList;
};

}  // namespace vx
