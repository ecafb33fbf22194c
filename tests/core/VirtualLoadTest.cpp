#include <gtest/gtest.h>

#include "ControllerLog.h"
#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/platform/rtl/Exception.h>

using namespace vx;
using vxtest::ControllerLog;
using vxtest::Names;
using Lines = std::vector<std::string>;

namespace {

struct VirtualList {
  ControllerLog c;
  TvxOwned<TvxDataList> list{TvxDataList::Create(&c.controller, {})};

  VirtualList() { c.logVisible = false; }

  // pre unloaded, then `loaded` loaded, then post unloaded.
  VirtualList(int pre, int loaded, int post) : VirtualList() {
    list->AddUnloaded(pre + loaded + post);
    for (int i = pre; i < pre + loaded; ++i) list->GetItems(i);
    c.Reset();
  }

  void ExpectWindow(int pre, int loaded, int post) {
    EXPECT_EQ(list->GetUnloadedPreCount(), pre);
    EXPECT_EQ(list->LoadedCount(), loaded);
    EXPECT_EQ(list->GetUnloadedPostCount(), post);
    // Each loaded entity knows its index, and was filled for that index.
    for (int p = 0; p < list->LoadedCount(); ++p) {
      TvxDataEntity* e = list->GetLoaded(p);
      ASSERT_EQ(e->ListIndex(), pre + p);
      ASSERT_EQ(e->GetUserIntegerReference(), pre + p);
    }
  }
};

}  // namespace

TEST(VirtualLoad, WindowGrowsTowardsTheIndexRead) {
  VirtualList v(3, 2, 5);
  EXPECT_FALSE(v.list->IsLoaded(2));
  ASSERT_NE(v.list->GetItems(2), nullptr);
  EXPECT_EQ(v.c.log, (Lines{"load 2"}));
  v.ExpectWindow(2, 3, 5);

  v.c.Reset();
  v.list->GetItems(9);  // the gap to the window is filled
  EXPECT_EQ(v.c.log, (Lines{"load 5", "load 6", "load 7", "load 8", "load 9"}));
  v.ExpectWindow(2, 8, 0);

  v.c.Reset();
  v.list->GetItems(0);  // front loads report from the window outwards
  EXPECT_EQ(v.c.log, (Lines{"load 1", "load 0"}));
  v.ExpectWindow(0, 10, 0);

  for (int bad : {10, -1}) EXPECT_EQ(v.list->GetItems(bad), nullptr) << bad;
  EXPECT_EQ(v.list->EnsureLoadedItem(10), nullptr);

  // Loading from an empty window starts at the index read.
  VirtualList far(0, 0, 1000);
  far.list->GetItems(700);
  far.ExpectWindow(700, 1, 299);
}

TEST(VirtualLoad, PassingTheLimitUnloadsWhatMayGo) {
  VirtualList v(0, 0, 2000);
  v.c.allowUnload = true;
  for (int i = 0; i <= 500; ++i) v.list->GetItems(i);
  v.ExpectWindow(0, 501, 1499);
  v.c.Reset();
  v.list->GetItems(501);  // one more would pass 500: everything goes, i alone is loaded
  v.ExpectWindow(501, 1, 1498);
  EXPECT_EQ(v.c.Count("delete"), 501);
  EXPECT_EQ(v.c.Count("load"), 1);

  v.list->GetItems(1500);  // a far jump discards the window
  v.ExpectWindow(1500, 1, 499);
  v.list->GetItems(1200);  // a short gap before the window is filled
  v.ExpectWindow(1200, 301, 499);
  v.list->GetItems(600);  // a gap over the limit before the window: dropped again
  v.ExpectWindow(600, 1, 1399);
  v.list->GetItems(700);
  v.ExpectWindow(600, 101, 1299);

  // Selections of the loaded entities are cleared when the window is dropped.
  v.list->GetItems(650)->SetSelected(true);
  v.c.Reset();
  v.list->GetItems(10);
  EXPECT_EQ(v.c.Count("deselect"), 1);
}

TEST(VirtualLoad, WithoutUnloadingTheWindowJustGrows) {
  VirtualList v(0, 0, 2000);
  v.c.controller.fOnUnLoadItem = nullptr;
  v.list->GetItems(0);
  v.list->GetItems(1999);
  v.ExpectWindow(0, 2000, 0);
  EXPECT_EQ(v.c.Count("delete"), 0);
}

TEST(VirtualLoad, PartialUnloadKeepsTheWindowContiguous) {
  VirtualList v(0, 0, 3000);
  // Entities at index 100 and 300 refuse to go.
  v.c.controller.fOnUnLoadItem = [](TvxDataEntity* e, bool& can) {
    can = e->GetUserIntegerReference() != 100 && e->GetUserIntegerReference() != 300;
  };
  for (int i = 0; i < 400; ++i) v.list->GetItems(i);
  v.list->GetItems(1000);  // over the limit: only the ends up to 100 and 300 may go
  // What is left (100..300) is joined to 1000 by loading the gap.
  v.ExpectWindow(100, 901, 1999);

  VirtualList front(0, 0, 3000);
  front.c.controller.fOnUnLoadItem = [](TvxDataEntity* e, bool& can) { can = e->GetUserIntegerReference() != 2700; };
  for (int i = 2600; i < 3000; ++i) front.list->GetItems(i);
  front.list->GetItems(2000);
  front.ExpectWindow(2000, 701, 299);
}

TEST(VirtualLoad, UnloadedIndexesChangeWithoutNotifications) {
  VirtualList v(3, 2, 5);
  v.list->Delete(8);  // after the window
  v.ExpectWindow(3, 2, 4);
  v.list->Delete(0);  // before the window: the loaded ones move down
  EXPECT_EQ(v.list->GetLoaded(0)->ListIndex(), 2);
  EXPECT_TRUE(v.c.log.empty());

  v.c.Reset();
  for (int none : {0, -5}) v.list->AddUnloaded(none);
  EXPECT_TRUE(v.c.log.empty());
  v.list->AddUnloaded(2);
  EXPECT_EQ(v.c.log, (Lines{"content", "unloaded-content"}));
  EXPECT_EQ(v.list->Count(), 10);
  EXPECT_THROW(v.list->AddUnloaded(2147483647), EListError);
  EXPECT_EQ(v.list->Count(), 10);
}

TEST(VirtualLoad, UnloadPurgeAndExplicitLoadsStayAtTheEnds) {
  VirtualList v(2, 4, 2);
  v.c.allowUnload = true;
  v.list->Unload(3, true);  // not an end: ignored
  v.list->Unload(9, false);
  v.ExpectWindow(2, 4, 2);
  v.list->Unload(2, true);
  v.list->Unload(5, false);
  v.ExpectWindow(3, 2, 3);
  v.list->LoadItems(0, 1, true);  // not next to the window: ignored
  v.list->LoadItems(6, 6, false);
  v.list->LoadItems(5, 7, false);
  v.ExpectWindow(3, 5, 0);
  v.list->Purge();
  v.ExpectWindow(0, 0, 8);  // an empty window stands at the front

  // Held entities and a refusing handler stop the purge at the first refusal from each end.
  VirtualList w(0, 6, 0);
  w.c.controller.fOnUnLoadItem = [](TvxDataEntity* e, bool& can) { can = e->GetUserIntegerReference() != 4; };
  {
    TvxHold hold(w.list->GetItems(1));
    w.list->Purge();
  }
  w.ExpectWindow(1, 4, 1);
  EXPECT_FALSE(w.list->CanUnload(nullptr));
}

TEST(VirtualLoad, InsertMoveAndSortWorkOnUnloadedLists) {
  VirtualList v(0, 0, 1000);
  v.c.allowUnload = true;
  v.list->GetItems(10);
  TvxDataEntity* inserted = v.list->Insert(900);  // far away: the window moves there
  ASSERT_NE(inserted, nullptr);
  EXPECT_EQ(inserted->ListIndex(), 900);
  EXPECT_EQ(v.list->Add()->ListIndex(), 1001);

  // A move far away must not unload the entity being moved.
  v.list->GetItems(950)->SetUserIntegerReference(-7);
  TvxDataEntity* moving = v.list->GetItems(950);
  moving->Move(5);
  EXPECT_EQ(v.list->GetItems(5), moving);
  EXPECT_EQ(moving->GetUserIntegerReference(), -7);

  // Sort loads the whole list, past the limit, and keeps it consistent.
  v.c.controller.fOnSortCompare = [](TvxDataEntity* a, TvxDataEntity* b) {
    return b->GetUserIntegerReference() - a->GetUserIntegerReference();
  };
  v.list->Sort(false);
  EXPECT_EQ(v.list->LoadedCount(), 1002);
  for (int i = 0; i < v.list->Count(); ++i) ASSERT_EQ(v.list->GetItems(i)->ListIndex(), i);
  EXPECT_EQ(v.list->GetItems(1001), moving);
}
