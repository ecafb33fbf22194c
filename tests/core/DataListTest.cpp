#include <gtest/gtest.h>

#include <random>

#include "ControllerLog.h"
#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/platform/rtl/Exception.h>

using namespace vx;
using vxtest::ControllerLog;
using vxtest::Names;
using vxtest::NameByIndex;
using Lines = std::vector<std::string>;

namespace {

// An entity class whose defaults make new entities selected.
struct BornSelected : TvxDataEntity {
  void AfterCreate(TvxDataList* theList) override {
    TvxDataEntity::AfterCreate(theList);
    fSelected = true;
  }
};
struct Other : TvxDataEntity {};

TvxOwned<TvxDataList> MakeList(ControllerLog& c, TvxDataEntityClass cls = {}) {
  return TvxOwned<TvxDataList>(TvxDataList::Create(&c.controller, cls));
}

void Fill(TvxDataList* list, int n) {
  for (int i = 0; i < n; ++i) list->Add();
  NameByIndex(list);
}

}  // namespace

TEST(DataList, InsertReportsTheNewEntityInOrder) {
  ControllerLog c;
  auto list = MakeList(c, TvxDataEntityClass::Of<BornSelected>());
  TvxDataEntity* e = list->Add();
  ASSERT_NE(e, nullptr);
  // Visible before it is placed; selected only once it is in the list.
  EXPECT_EQ(c.log, (Lines{"visible 0", "insert 0", "content", "select 0"}));
  EXPECT_TRUE(e->GetVisible());
  EXPECT_TRUE(e->GetSelected());
  EXPECT_EQ(e->GetDataList(), list.get());

  EXPECT_EQ(list->Insert(-1), nullptr);
  EXPECT_EQ(list->Insert(3), nullptr);
  EXPECT_EQ(list->InsertItem(2), nullptr);
  EXPECT_EQ(list->Count(), 1);
}

// Indexes after inserts, deletes, moves, changes of owner and sorts, and the
// number of each notification, are checked against a reference at every
// step in DataListModelTest; here the order of the reports and what a
// handler sees while it runs.
TEST(DataList, DeletedEntitiesAreOutOfTheListWhenReported) {
  ControllerLog c;
  auto list = MakeList(c);
  Fill(list.get(), 4);
  int countSeen = -1, indexSeen = 0;
  c.controller.fDeleteItem = [&](TvxDataEntity* e) {
    countSeen = list->Count();
    indexSeen = list->IndexOf(e);
    EXPECT_EQ(e->ListIndex(), 1);  // the index it had
  };
  list->Delete(1);
  EXPECT_EQ(countSeen, 3);
  EXPECT_EQ(indexSeen, -1);
  EXPECT_EQ(Names(list.get()), (std::vector<int>{0, 2, 3}));

  c.controller.fDeleteItem = [&](TvxDataEntity* e) { c.Note("delete", e); };
  c.Reset();
  // Freeing an entity directly takes it out of its list too.
  list->GetItems(1)->FreeWheneverPossible();
  EXPECT_EQ(Names(list.get()), (std::vector<int>{0, 3}));
  EXPECT_EQ(c.log, (Lines{"delete 2", "content"}));
  EXPECT_EQ(list->GetItems(1)->ListIndex(), 1);
}

TEST(DataList, RemoveAndIndexOfOnlyConcernTheirOwnEntities) {
  ControllerLog c1, c2;
  auto a = MakeList(c1), b = MakeList(c2);
  Fill(a.get(), 3);
  Fill(b.get(), 3);
  TvxDataEntity* foreign = b->GetItems(1);
  EXPECT_EQ(a->IndexOf(foreign), -1);
  EXPECT_EQ(a->IndexOf(nullptr), -1);
  a->Remove(foreign);
  a->Remove(nullptr);
  EXPECT_EQ(a->Count(), 3);
  EXPECT_EQ(b->Count(), 3);
  a->Remove(a->GetItems(0));
  EXPECT_EQ(Names(a.get()), (std::vector<int>{1, 2}));
}

TEST(DataList, MoveShiftsTheOthersAndReportsBothIndexes) {
  ControllerLog c;
  auto list = MakeList(c);
  Fill(list.get(), 5);
  c.Reset();
  list->GetItems(0)->Move(3);
  list->GetItems(4)->Move(1);
  EXPECT_EQ(Names(list.get()), (std::vector<int>{1, 4, 2, 3, 0}));
  EXPECT_EQ(c.log, (Lines{"move 0->3", "move 4->1"}));
  list->GetItems(0)->Move(5);
  list->GetItems(0)->Move(-1);
  EXPECT_EQ(Names(list.get()), (std::vector<int>{1, 4, 2, 3, 0}));
}

TEST(DataList, ChangeOwnerMovesBetweenListsOfASuitableClass) {
  Lines order;  // outlives the lists, whose ends are reported into it
  ControllerLog ca, cb;
  auto a = MakeList(ca), b = MakeList(cb);
  auto others = MakeList(ca, TvxDataEntityClass::Of<Other>());
  Fill(a.get(), 3);
  Fill(b.get(), 2);
  ca.Reset();
  cb.Reset();
  ca.controller.fOnLeaveOwnerBeforeChange = [&](TvxDataEntity*) { order.push_back("leave old"); };
  ca.controller.fOnContentChanged = [&](TvxDataList*) { order.push_back("content old"); };
  cb.controller.fOnEnterOwnerAfterChange = [&](TvxDataEntity* e) {
    order.push_back("enter new");
    EXPECT_EQ(e->GetDataList(), b.get());
  };
  cb.controller.fOnContentChanged = [&](TvxDataList*) { order.push_back("content new"); };

  TvxDataEntity* moving = a->GetItems(1);
  moving->ChangeOwner(b.get(), 1);
  EXPECT_EQ(order, (Lines{"leave old", "enter new", "content new", "content old"}));
  EXPECT_EQ(Names(b.get()), (std::vector<int>{0, 1, 1}));

  order.clear();
  moving->ChangeOwner(b.get(), 0);        // its own list
  moving->ChangeOwner(nullptr, 0);        // no list
  moving->ChangeOwner(a.get(), 7);        // beyond the end
  moving->ChangeOwner(others.get(), 0);   // a list of another entity class
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(b->Count(), 3);
  moving->ChangeOwner(a.get(), 2);        // at the end
  EXPECT_EQ(Names(a.get()), (std::vector<int>{0, 2, 1}));

  // An entity of a descendant class may join a list of the base class.
  others->Add();
  others->GetItems(0)->ChangeOwner(a.get(), 0);
  EXPECT_EQ(a->Count(), 4);
  EXPECT_EQ(others->Count(), 0);
}

TEST(DataList, SortUsesTheCompareHandlerOnly) {
  ControllerLog c;
  auto list = MakeList(c);
  for (int v : {5, 3, 9, 1, 7}) list->Add()->SetUserIntegerReference(v);
  c.Reset();
  list->Sort(false);  // no compare handler: nothing happens
  EXPECT_EQ(Names(list.get()), (std::vector<int>{5, 3, 9, 1, 7}));
  EXPECT_TRUE(c.log.empty());

  c.controller.fOnSortCompare = [](TvxDataEntity* a, TvxDataEntity* b) {
    return a->GetUserIntegerReference() - b->GetUserIntegerReference();
  };
  list->Sort(true);
  EXPECT_EQ(Names(list.get()), (std::vector<int>{9, 7, 5, 3, 1}));
  EXPECT_EQ(c.log, (Lines{"content"}));

  // Many entities, a large share of them equal: every entity survives once.
  std::mt19937 rng(7);
  for (int i = 0; i < 2000; ++i) list->Add()->SetUserIntegerReference(static_cast<int>(rng() % 50));
  list->Sort(false);
  for (int i = 1; i < list->Count(); ++i)
    ASSERT_LE(list->GetItems(i - 1)->GetUserIntegerReference(), list->GetItems(i)->GetUserIntegerReference());
}

TEST(DataList, SortSurvivesMisbehavingCompareHandlers) {
  ControllerLog c, other;
  auto list = MakeList(c);
  auto second = MakeList(other);
  for (int i = 0; i < 300; ++i) list->Add()->SetUserIntegerReference(i);
  second->Add();
  other.controller.fOnSortCompare = [](TvxDataEntity*, TvxDataEntity*) { return 0; };

  // A compare that answers at random still leaves a permutation.
  std::mt19937 rng(11);
  c.controller.fOnSortCompare = [&](TvxDataEntity*, TvxDataEntity*) { return static_cast<int>(rng() % 3) - 1; };
  list->Sort(false);
  std::vector<int> names = Names(list.get());
  std::sort(names.begin(), names.end());
  for (int i = 0; i < 300; ++i) ASSERT_EQ(names[static_cast<size_t>(i)], i);

  // A compare that sorts again is refused, and the list is left as it was.
  std::vector<int> before = Names(list.get());
  c.controller.fOnSortCompare = [&](TvxDataEntity*, TvxDataEntity*) {
    second->Sort(false);
    return 0;
  };
  try {
    list->Sort(false);
    FAIL() << "nested sort accepted";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Sort: sorts cannot nest");
  }
  EXPECT_EQ(Names(list.get()), before);

  // A compare that deletes from the list aborts the sort; the list stays sound.
  c.controller.fOnSortCompare = [&](TvxDataEntity*, TvxDataEntity*) {
    if (list->Count() > 299) list->Delete(0);
    return 0;
  };
  EXPECT_THROW(list->Sort(false), Exception);
  EXPECT_EQ(list->Count(), 299);
  for (int i = 0; i < list->Count(); ++i) ASSERT_EQ(list->GetItems(i)->ListIndex(), i);

  // After all that, sorting works again.
  c.controller.fOnSortCompare = [](TvxDataEntity* a, TvxDataEntity* b) {
    return a->GetUserIntegerReference() - b->GetUserIntegerReference();
  };
  list->Sort(false);
  EXPECT_LT(list->GetItems(0)->GetUserIntegerReference(), list->GetItems(1)->GetUserIntegerReference());
}

TEST(DataList, SelectionVisibilityAndEditReports) {
  ControllerLog c;
  auto list = MakeList(c);
  Fill(list.get(), 6);
  c.Reset();
  list->GetItems(1)->SetSelected(true);
  list->GetItems(1)->SetSelected(true);  // no change, no report
  list->GetItems(4)->SetSelected(true);
  std::vector<int> selected;
  list->IteratorOfSelectedDataEntities(
      [&](TvxDataList* l, TvxDataEntity* e) { selected.push_back(l->IndexOf(e)); });
  EXPECT_EQ(selected, (std::vector<int>{1, 4}));
  list->ClearSelections();
  EXPECT_EQ(c.log, (Lines{"select 1", "select 4", "deselect 1", "deselect 4"}));
  EXPECT_EQ(list->FindDataEntity([](TvxDataEntity* e) { return e->GetUserIntegerReference() == 3; }),
            list->GetItems(3));

  // Entities 0, 2 and 3 hidden: visible ones are 1, 4, 5.
  for (int i : {0, 2, 3}) list->GetItems(i)->SetVisible(false);
  EXPECT_EQ(list->VisibleCount(), 3);
  // A hidden or missing entity maps to the nearest visible one before it.
  const std::pair<int, int> toVisible[] = {{0, -1}, {1, 0}, {3, 0}, {5, 2}, {99, 2}, {-1, -1}};
  for (auto [index, visible] : toVisible) EXPECT_EQ(list->ListIndexToVisibleIndex(index), visible) << index;
  const std::pair<int, int> toList[] = {{1, 4}, {3, -1}, {-1, -1}};
  for (auto [visible, index] : toList) EXPECT_EQ(list->VisibleIndexToListIndex(visible), index) << visible;
  for (int i : {3, 4, 6}) EXPECT_EQ(list->VisibleIndexDataEntity(i), i == 4) << i;

  // The handler decides CanEdit just before it is read.
  c.controller.fBeforeCanEditItem = [](TvxDataEntity* e) { e->SetCanEdit(e->GetUserIntegerReference() % 2 == 0); };
  EXPECT_TRUE(list->GetItems(2)->GetCanEdit());
  EXPECT_FALSE(list->GetItems(3)->GetCanEdit());
  c.Reset();
  list->GetItems(5)->DoInfoPush();
  EXPECT_EQ(c.log, (Lines{"info 5"}));
}

TEST(DataList, ClearAndFreeReportEveryEntityWithTheListConsistent) {
  ControllerLog c;
  auto list = MakeList(c);
  Fill(list.get(), 3);
  list->AddUnloaded(4);
  c.Reset();
  list->Clear();
  EXPECT_EQ(c.log, (Lines{"delete 2", "content", "delete 1", "content", "delete 0", "content", "unloaded-content"}));
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->GetUnloadedPostCount(), 0);

  // While a list is freed, handlers may walk it: every entity they meet is alive.
  Fill(list.get(), 5);
  int walked = 0;
  c.controller.fOnContentChanged = [&](TvxDataList* l) {
    for (int p = 0; p < l->LoadedCount(); ++p) walked += l->GetLoaded(p)->GetUserIntegerReference() >= 0;
  };
  c.Reset();
  list.reset();
  EXPECT_EQ(c.Count("delete"), 5);
  EXPECT_EQ(walked, 4 + 3 + 2 + 1);
}

TEST(DataList, HandlersMayDeleteTheEntityTheyAreToldAbout) {
  ControllerLog c;
  auto list = MakeList(c);
  Fill(list.get(), 2);
  c.controller.fInsertItem = [&](TvxDataEntity* e) { list->Remove(e); };
  EXPECT_EQ(list->Insert(1), nullptr);
  EXPECT_EQ(list->Count(), 2);

  c.controller.fInsertItem = nullptr;
  c.controller.fOnLeaveOwnerBeforeChange = [&](TvxDataEntity* e) { e->FreeWheneverPossible(); };
  ControllerLog cb;
  auto b = MakeList(cb);
  list->GetItems(0)->ChangeOwner(b.get(), 0);
  EXPECT_EQ(list->Count(), 1);
  EXPECT_EQ(b->Count(), 0);
}
