#include <gtest/gtest.h>

#include <array>

#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/core/vxDataTraveser.h>

using namespace vx;

namespace {

// Lists of the given sizes in one two-level holder; entity names are
// 10 * list + position.
struct Lists {
  TvxListController controller;
  std::vector<TvxOwned<TvxDataList>> lists;
  TvxOwned<TvxDataList2lev> holder{TvxDataList2lev::Create()};

  explicit Lists(std::initializer_list<int> sizes, int firstName = 0) {
    int k = firstName;
    for (int n : sizes) {
      lists.emplace_back(TvxDataList::Create(&controller, {}));
      for (int i = 0; i < n; ++i) lists.back()->Add()->SetUserIntegerReference(10 * k + i);
      holder->Add(lists.back().get());
      ++k;
    }
  }
};

std::vector<int> Forward(TDataListTrav& trav) {
  std::vector<int> names;
  for (trav.First(); !trav.Eof(); trav.Next()) names.push_back(trav.DataEntity()->GetUserIntegerReference());
  return names;
}

std::vector<int> Backward(TDataListTrav& trav) {
  std::vector<int> names;
  for (trav.Last(); !trav.BOF(); trav.Prev()) names.push_back(trav.DataEntity()->GetUserIntegerReference());
  return names;
}

}  // namespace

TEST(DataListTrav, WalksNonEmptyListsBothWays) {
  Lists l({0, 2, 0, 1});
  TDataListTrav trav(l.holder.get());
  EXPECT_EQ(Forward(trav), (std::vector<int>{10, 11, 30}));
  EXPECT_EQ(Backward(trav), (std::vector<int>{30, 11, 10}));
  EXPECT_EQ(trav.GetTravListCount(), 2);
  EXPECT_EQ(trav.GetObsCountInList(5), 0);

  // Past either end nothing happens and nothing is read.
  trav.First();
  for (int k = 0; k < 4; ++k) trav.Next();
  EXPECT_TRUE(trav.Eof());
  EXPECT_EQ(trav.DataEntity(), nullptr);
  trav.Prev();  // back in from the end
  EXPECT_EQ(trav.DataEntity()->GetUserIntegerReference(), 30);
  trav.Last();
  for (int k = 0; k < 4; ++k) trav.Prev();
  EXPECT_TRUE(trav.BOF());
  EXPECT_EQ(trav.DataEntity(), nullptr);

  Lists empty({0, 0});
  TDataListTrav none(empty.holder.get());
  EXPECT_TRUE(Forward(none).empty());
  EXPECT_TRUE(Backward(none).empty());

  TDataListTrav single(l.lists[1].get());
  EXPECT_EQ(Forward(single), (std::vector<int>{10, 11}));
}

TEST(DataListTrav, StartListAndExplicitOrder) {
  Lists l({1, 1, 1, 1});
  TDataListTrav fromTwo(l.holder.get(), 2);
  EXPECT_EQ(Forward(fromTwo), (std::vector<int>{20, 30, 0, 10}));

  const std::array<int, 3> order{3, -1, 0};
  TDataListTrav ordered(l.holder.get(), order, 2);
  EXPECT_EQ(Forward(ordered), (std::vector<int>{30, 0}));
  // Only as many entries as the holder has lists are taken.
  const std::array<int, 6> longOrder{1, 0, 3, 2, 1, 0};
  TDataListTrav clipped(l.holder.get(), longOrder, 5);
  EXPECT_EQ(Forward(clipped), (std::vector<int>{10, 0, 30, 20}));

  // A start beyond the holder asks it for the missing list.
  l.holder->SetOnMissingIndex([&](TvxExposable*, int index, bool& fixable) {
    while (l.holder->Count() <= index) {
      l.lists.emplace_back(TvxDataList::Create(&l.controller, {}));
      l.lists.back()->Add()->SetUserIntegerReference(10 * l.holder->Count());
      l.holder->Add(l.lists.back().get());
    }
    fixable = true;
  });
  TDataListTrav beyond(l.holder.get(), 5);
  EXPECT_EQ(Forward(beyond), (std::vector<int>{50, 0, 10, 20, 30, 40}));
}

TEST(DataListTrav, ThreeLevelsAndLiveCounts) {
  Lists a({1, 0, 2}), b({0, 1}, 5);
  TvxOwned<TvxDataList3lev> all(TvxDataList3lev::Create());
  all->Add(a.holder.get());
  all->Add(b.holder.get());
  TDataListTrav trav(all.get());
  std::vector<int> names, holders;
  for (trav.First(); !trav.Eof(); trav.Next()) {
    names.push_back(trav.DataEntity()->GetUserIntegerReference());
    holders.push_back(trav.GetCurrentListListIndex());
  }
  EXPECT_EQ(names, (std::vector<int>{0, 20, 21, 60}));
  EXPECT_EQ(holders, (std::vector<int>{0, 0, 0, 1}));

  // Entities added to a later list during the walk are met; a list emptied
  // during the walk is stepped over.
  names.clear();
  for (trav.First(); !trav.Eof(); trav.Next()) {
    TvxDataEntity* e = trav.DataEntity();
    names.push_back(e->GetUserIntegerReference());
    if (e->GetUserIntegerReference() == 0) {
      b.lists[1]->Add()->SetUserIntegerReference(61);
      a.lists[2]->Clear();
    }
  }
  EXPECT_EQ(names, (std::vector<int>{0, 60, 61}));
}
