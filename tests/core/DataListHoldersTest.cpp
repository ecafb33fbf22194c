#include <algorithm>
#include <cstdint>
#include <random>
#include <gtest/gtest.h>

#include "ControllerLog.h"
#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/platform/rtl/Exception.h>

using namespace vx;
using vxtest::ControllerLog;

namespace {

// A two-level holder over lists of the given sizes; entity names are
// 10 * list + position.
struct Holder {
  ControllerLog c;
  std::vector<TvxOwned<TvxDataList>> lists;
  TvxOwned<TvxDataList2lev> holder{TvxDataList2lev::Create()};

  explicit Holder(std::initializer_list<int> sizes) {
    for (int n : sizes) AddList(n);
  }
  TvxDataList* AddList(int n) {
    lists.emplace_back(TvxDataList::Create(&c.controller, {}));
    TvxDataList* list = lists.back().get();
    for (int i = 0; i < n; ++i) list->Add()->SetUserIntegerReference(10 * (static_cast<int>(lists.size()) - 1) + i);
    holder->Add(list);
    return list;
  }
  std::vector<int> Selected() {
    std::vector<int> names;
    for (auto& l : lists)
      for (int i = 0; i < l->Count(); ++i)
        if (l->GetItems(i)->GetSelected()) names.push_back(l->GetItems(i)->GetUserIntegerReference());
    return names;
  }
};

}  // namespace

TEST(DataList2lev, HoldsEachListOnceAndReportsBadIndexes) {
  Holder h({1, 2});
  h.holder->Add(h.lists[0].get());
  EXPECT_EQ(h.holder->Count(), 2);
  EXPECT_EQ(h.holder->IndexOf(h.lists[1].get()), 1);
  EXPECT_EQ(h.holder->GetDataList(1), h.lists[1].get());
  EXPECT_THROW(h.holder->GetDataList(2), EListError);
  EXPECT_THROW(h.holder->GetDataList(-1), EListError);
  EXPECT_THROW(h.holder->Delete(5), EListError);
  EXPECT_THROW(h.holder->SetDataList(2, nullptr), EListError);
  h.holder->Remove(h.lists[0].get());
  EXPECT_EQ(h.holder->GetDataList(0), h.lists[1].get());
  h.holder->Clear();  // holds, never owns: the lists live on
  EXPECT_EQ(h.holder->Count(), 0);
  EXPECT_EQ(h.lists[1]->Count(), 2);
}

TEST(DataList2lev, LargeHolderAnswersAsAScanThroughRandomChanges) {
  // Past a few dozen lists the holder counts its members instead of scanning.
  // Adds (repeated ones too), removes, deletes, replacements (nil and lists
  // held twice among them) and bulk removals, against a plain vector that is
  // scanned: count, positions and membership agree after every change.
  Holder h({});
  for (int k = 0; k < 300; ++k) h.AddList(0);
  TvxDataList2lev* holder = h.holder.get();
  std::vector<TvxDataList*> model;
  for (auto& l : h.lists) model.push_back(l.get());
  auto indexIn = [&model](TvxDataList* l) {
    auto it = std::find(model.begin(), model.end(), l);
    return it == model.end() ? -1 : static_cast<int>(it - model.begin());
  };
  std::mt19937 rng(11);
  auto any = [&]() -> TvxDataList* {
    const size_t k = rng() % (h.lists.size() + 1);
    return k == h.lists.size() ? nullptr : h.lists[k].get();
  };
  for (int step = 0; step < 4000; ++step) {
    TvxDataList* l = any();
    const int at = model.empty() ? 0 : static_cast<int>(rng() % model.size());
    switch (rng() % 8) {
      case 0:
      case 1:
      case 2:
        if (indexIn(l) < 0) model.push_back(l);
        holder->Add(l);
        break;
      case 3:
      case 4:
        if (indexIn(l) >= 0) model.erase(model.begin() + indexIn(l));
        holder->Remove(l);
        break;
      case 5:
        if (model.empty()) break;
        model.erase(model.begin() + at);
        holder->Delete(at);
        break;
      case 6:
        if (model.empty()) break;
        model[static_cast<size_t>(at)] = l;
        holder->SetDataList(at, l);
        break;
      default: {
        if (step % 50 != 7) break;  // now and then, a bulk removal of some lists
        const uintptr_t residue = rng() % 13;
        auto gone = [residue](TvxDataList* x) { return (reinterpret_cast<uintptr_t>(x) / 64) % 13 == residue; };
        model.erase(std::remove_if(model.begin(), model.end(), gone), model.end());
        holder->RemoveIf(gone);
        break;
      }
    }
    ASSERT_EQ(holder->Count(), static_cast<int>(model.size())) << step;
    for (int probe = 0; probe < 4; ++probe) {
      TvxDataList* x = any();
      ASSERT_EQ(holder->IndexOf(x), indexIn(x)) << step;
    }
  }
  for (int i = 0; i < holder->Count(); ++i) EXPECT_EQ(holder->GetDataList(i), model[static_cast<size_t>(i)]);
}

TEST(DataList2lev, MissingIndexHandlerMayAddTheLists) {
  Holder h({1});
  int calls = 0;
  h.holder->SetOnMissingIndex([&](TvxExposable* caller, int index, bool& fixable) {
    ++calls;
    EXPECT_EQ(caller, h.holder.get());
    if (index < 3) {
      while (h.holder->Count() <= index) h.AddList(0);
      fixable = true;
    }
  });
  TvxDataList* third = h.holder->GetDataList(2);
  EXPECT_EQ(third, h.lists[2].get());
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(h.holder->GetDataList(7), nullptr);  // not fixable
  // A handler that claims a fix but adds nothing does not loop.
  h.holder->SetOnMissingIndex([&](TvxExposable*, int, bool& fixable) { fixable = true; });
  EXPECT_EQ(h.holder->GetDataList(9), nullptr);
}

TEST(DataList2lev, SelectionWalksAllListsAndWraps) {
  Holder h({0, 2, 0, 1});  // entities 10, 11 and 30
  EXPECT_EQ(h.holder->FindSelected(), nullptr);
  // Nothing selected: next takes the first, previous the last; empty lists
  // are stepped over, both ends wrap, and of several selected the step
  // starts from the first and clears the others.
  enum Op { oNext, oPrev, oAlsoSelect11, oClear };
  const std::pair<Op, std::vector<int>> steps[] = {
      {oNext, {10}}, {oNext, {11}},         {oNext, {30}}, {oNext, {10}},  {oPrev, {30}},
      {oAlsoSelect11, {11, 30}}, {oPrev, {10}}, {oClear, {}}, {oPrev, {30}},
  };
  for (size_t k = 0; k < std::size(steps); ++k) {
    const Op op = steps[k].first;
    if (op == oNext) h.holder->SelectNext();
    if (op == oPrev) h.holder->SelectPrev();
    if (op == oAlsoSelect11) h.holder->SelectDataEntity(h.lists[1]->GetItems(1));
    if (op == oClear) h.holder->ClearSelections();
    EXPECT_EQ(h.Selected(), steps[k].second) << "step " << k;
  }
  EXPECT_EQ(h.holder->FindSelected()->GetUserIntegerReference(), 30);

  Holder empty({0, 0});
  empty.holder->SelectNext();
  empty.holder->SelectPrev();
  EXPECT_EQ(empty.holder->FindSelected(), nullptr);
}

TEST(DataList2lev, SelectionWalksVirtualListsWithoutLoadingThem) {
  // Two lists of a million declared entities each, a window loaded in the
  // middle of the first. The walk reads the window and skips the rest by count.
  ControllerLog c;
  c.controller.fOnUnLoadItem = [](TvxDataEntity*, bool& can) { can = true; };
  TvxOwned<TvxDataList> a(TvxDataList::Create(&c.controller, {})), b(TvxDataList::Create(&c.controller, {}));
  a->AddUnloaded(1'000'000);
  b->AddUnloaded(1'000'000);
  TvxOwned<TvxDataList2lev> holder(TvxDataList2lev::Create());
  holder->Add(a.get());
  holder->Add(b.get());
  for (int i = 500'000; i < 500'010; ++i) a->GetItems(i);
  c.log.clear();

  holder->ClearSelections();
  EXPECT_EQ(holder->FindSelected(), nullptr);
  EXPECT_EQ(a->LoadedCount() + b->LoadedCount(), 10);
  EXPECT_TRUE(c.log.empty());  // nothing loaded, nothing reported

  // The selected entity as its list ('a' or 'b') and index.
  auto selected = [&] {
    TvxDataEntity* e = holder->FindSelected();
    return e ? std::make_pair(e->GetDataList() == a.get() ? 'a' : 'b', e->ListIndex()) : std::make_pair('-', -1);
  };
  a->GetItems(500'009)->SetSelected(true);
  holder->SelectNext();  // the next one is loaded, and only it
  EXPECT_EQ(selected(), std::make_pair('a', 500'010));
  EXPECT_EQ(a->LoadedCount(), 11);
  holder->SelectPrev();
  EXPECT_EQ(selected(), std::make_pair('a', 500'009));

  // At the end of a list the walk goes on in the next one; past the last it
  // wraps to the first. Each time one entity is loaded.
  holder->ClearSelections();
  a->GetItems(999'999)->SetSelected(true);
  holder->SelectNext();
  EXPECT_EQ(selected(), std::make_pair('b', 0));
  EXPECT_EQ(b->LoadedCount(), 1);
  holder->SelectPrev();
  holder->SelectPrev();
  EXPECT_EQ(selected(), std::make_pair('a', 999'998));
  holder->ClearSelections();
  holder->SelectPrev();  // nothing selected: the very last
  EXPECT_EQ(selected(), std::make_pair('b', 999'999));
  holder->SelectNext();  // wraps to the very first
  EXPECT_EQ(selected(), std::make_pair('a', 0));
  EXPECT_LE(a->LoadedCount() + b->LoadedCount(), 2 * TvxDataList::MaxLoadedWindow);
}

TEST(DataList3lev, HoldsTwoLevelListsWithoutOwningThem) {
  Holder a({1}), b({2});
  TvxOwned<TvxDataList3lev> all(TvxDataList3lev::Create());
  all->Add(a.holder.get());
  all->Add(b.holder.get());
  all->Add(a.holder.get());  // no duplicate check here
  EXPECT_EQ(all->Count(), 3);
  EXPECT_EQ(all->IndexOf(b.holder.get()), 1);
  all->Remove(a.holder.get());  // the first occurrence
  EXPECT_EQ(all->GetDataListList(1), a.holder.get());
  all->SetDataListList(0, a.holder.get());
  EXPECT_EQ(all->IndexOf(b.holder.get()), -1);
  EXPECT_THROW(all->GetDataListList(2), EListError);
  EXPECT_THROW(all->SetDataListList(-1, nullptr), EListError);
  all->Delete(1);
  EXPECT_EQ(all->Count(), 1);
  all.reset();
  EXPECT_EQ(a.holder->Count(), 1);
}

// A selection handler may delete anything while a walk clears or moves the
// selection: the entity it hears of, that entity's list, or the holder with
// all its lists. The walk ends cleanly, and what is left has no selection.
TEST(DataList2lev, SelectionHandlersThatDeleteDoNotBreakTheWalks) {
  enum Victim { vEntity, vList, vEverything };
  enum Walk { wClear, wClearOneList, wNext, wPrev };
  for (Victim victim : {vEntity, vList, vEverything})
    for (Walk walk : {wClear, wClearOneList, wNext, wPrev}) {
      SCOPED_TRACE(std::to_string(victim) + "/" + std::to_string(walk));
      vxtest::ControllerLog c;
      TvxDataList2lev* holder = TvxDataList2lev::Create();
      std::vector<TvxDataList*> lists;
      for (int l = 0; l < 3; ++l) {
        lists.push_back(TvxDataList::Create(&c.controller, {}));
        for (int i = 0; i < 4; ++i) lists.back()->Add()->SetSelected(i % 2 == 0);
        holder->Add(lists.back());
      }
      bool fired = false;
      c.controller.fOnSelectionChanged = [&](TvxDataList* list, TvxDataEntity* e) {
        if (fired || e->GetSelected()) return;
        fired = true;
        switch (victim) {
          case vEntity: list->Remove(e); break;
          case vList:
            holder->Remove(list);
            lists.erase(std::find(lists.begin(), lists.end(), list));
            list->FreeWheneverPossible();
            break;
          case vEverything:
            holder->FreeWheneverPossible();
            holder = nullptr;
            for (TvxDataList* l : lists) l->FreeWheneverPossible();
            lists.clear();
            break;
        }
      };
      switch (walk) {
        case wClear: holder->ClearSelections(); break;
        case wClearOneList: lists[1]->ClearSelections(); break;
        case wNext: holder->SelectNext(); break;
        case wPrev: holder->SelectPrev(); break;
      }
      EXPECT_TRUE(fired);
      int selected = 0;
      for (TvxDataList* l : lists)
        for (int i = 0; i < l->Count(); ++i) selected += l->GetItems(i)->GetSelected() ? 1 : 0;
      if (walk == wClear) {
        EXPECT_EQ(selected, 0);
      } else if (walk == wNext || walk == wPrev) {
        EXPECT_LE(selected, 1);
      }
      for (TvxDataList* l : lists) l->FreeWheneverPossible();
      if (holder) holder->FreeWheneverPossible();
    }
}
