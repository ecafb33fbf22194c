// Axes: the index model, fixed items, gaps, loading and unloading.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "GridTestSupport.h"

using namespace vx;
using namespace gridtest;

TEST(GridAxis, FixedRowKeepsTopAndFocusBehindIt) {
  auto g = NewGrid();
  AddCols(g.get(), 3);
  AddRows(g.get(), 10);
  g->SetFixedRows(1);
  g->SetTop(0);
  EXPECT_EQ(g->GetTop(), 1);
  g->SetTop(4);
  EXPECT_EQ(g->GetTop(), 4);
  g->SetTop(100);  // beyond the axis: the last row
  EXPECT_EQ(g->GetTop(), 9);

  TBabCell* c = g->getCell(1, 2);
  g->SetFocusedCell(c);
  EXPECT_EQ(g->GetFocusedCell(), c);
  g->SetFocusedCell(g->getCell(2, 0));  // a header cell focuses nothing
  EXPECT_EQ(g->GetFocusedCell(), nullptr);
  EXPECT_TRUE(g->IsFixedCell(2, 0));
  EXPECT_FALSE(g->IsFixedCell(2, 1));
  EXPECT_TRUE(g->getCell(0, 0)->GetIsFixed());

  // Dropping rows up to the scroll position brings it back behind the header.
  for (int k = 9; k >= 4; --k) g->GetAxisContentListY()->Drop(k);
  EXPECT_EQ(g->GetTop(), 1);
}

// Index upkeep through inserts, moves and drops is checked against a
// reference by the random model test; here what it does not reach.
TEST(GridAxis, MailboxBoundsAndSlotsRefilledOnDemand) {
  auto g = NewGrid();
  AddCols(g.get(), 2);
  AddRows(g.get(), 10);
  TAxisContentList* rows = g->GetAxisContentListY();
  // The mailbox replaces the value of the next insert once.
  Tag mail(300), tag(301);
  rows->SetNextItemReferenceMailbox(&mail);
  EXPECT_EQ(rows->InsertNew(4, nullptr)->GetValue(), &mail);
  EXPECT_EQ(rows->InsertNew(5, &tag)->GetValue(), &tag);
  EXPECT_EQ(rows->InsertNew(-1, nullptr), nullptr);
  EXPECT_EQ(rows->InsertNew(rows->Count() + 1, nullptr), nullptr);
  EXPECT_EQ(rows->Count(), 12);
  TCellMatris* m = g->GetCellMatris();
  TAxisContentItem* row2 = rows->getAxisContentItem(2);
  m->UnloadY(2);
  EXPECT_EQ(m->getLoadedCell(0, 2), nullptr);
  EXPECT_EQ(g->getCell(1, 2)->GetAxisContentItemY(), row2);
  m->UnloadX(0);
  EXPECT_EQ(m->ExistingCellCount(), rows->Count());
}

namespace {

// Rows 0..theFixed-1 fixed and loaded, then theUnloaded declared rows.
struct VirtualRows {
  std::unique_ptr<TBabGridCellForViewer> g = NewGrid();
  TAxisContentList* rows = g->GetAxisContentListY();
  std::vector<int> loads;  // real indexes, in the order the hook saw them
  std::vector<int> unloads;

  VirtualRows(int theFixed, int theUnloaded) {
    AddCols(g.get(), 2);
    AddRows(g.get(), theFixed);
    g->SetFixedRows(theFixed);
    rows->AddUnloaded(theUnloaded);
    g->fOnVirtualLoad = [this](TBabGridCell*, TAxisContentItem* item, bool isRow) {
      if (isRow) loads.push_back(item->ListIndex());
    };
    AllowUnload(g.get());
    auto allow = g->fOnVirtualUnLoad;
    g->fOnVirtualUnLoad = [this, allow](TBabGridCell* c, TAxisContentItem* item, bool isRow, bool perform, bool& can) {
      allow(c, item, isRow, perform, can);
      if (perform && isRow) unloads.push_back(item->ListIndex());
    };
  }
};

// With nothing unloaded in front, the loaded items are 0, 1, 2, ...
void ExpectNoFrontGap(const TAxisContentList* theRows) {
  EXPECT_EQ(theRows->GetUnloadedPreCount(), 0);
  const std::vector<int> idx = LoadedIndexes(theRows);
  for (int k = 0; k < static_cast<int>(idx.size()); ++k) EXPECT_EQ(idx[k], k);
}

}  // namespace

TEST(GridAxis, FarRequestRestartsTheWindowAndGapDropsTouchNoCell) {
  VirtualRows v(1, 10000);
  const int cellsBefore = v.g->GetCellMatris()->ExistingCellCount();
  ASSERT_NE(v.rows->getAxisContentItem(9000), nullptr);
  EXPECT_EQ(v.loads, std::vector<int>{9000});
  EXPECT_EQ(v.rows->Count(), 10001);
  EXPECT_EQ(v.rows->GetUnloadedPreCount(), 8999);
  EXPECT_EQ(LoadedIndexes(v.rows), (std::vector<int>{0, 9000}));
  EXPECT_EQ(v.g->GetCellMatris()->ExistingCellCount(), cellsBefore + 2);

  TAxisContentItem* item = v.rows->getAxisContentItem(9000);
  const int cells = v.g->GetCellMatris()->ExistingCellCount();
  v.rows->Drop(5000);  // front gap
  EXPECT_EQ(v.rows->GetUnloadedPreCount(), 8998);
  EXPECT_EQ(item->ListIndex(), 8999);
  v.rows->Drop(9500);  // back gap
  EXPECT_EQ(v.rows->GetUnloadedPostCount(), 999);
  EXPECT_EQ(v.rows->Count(), 9999);
  EXPECT_EQ(v.g->GetCellMatris()->ExistingCellCount(), cells);
  EXPECT_EQ(v.g->getCell(1, 8999)->GetAxisContentItemY(), item);

  // Loading near the window loads only the stretch up to it, nearest first.
  v.loads.clear();
  ASSERT_NE(v.rows->getAxisContentItem(8995), nullptr);
  EXPECT_EQ(v.loads, (std::vector<int>{8998, 8997, 8996, 8995}));
  EXPECT_EQ(v.rows->GetUnloadedPreCount(), 8994);
  v.loads.clear();
  v.rows->getAxisContentItem(9002);
  EXPECT_EQ(v.loads, (std::vector<int>{9000, 9001, 9002}));
  EXPECT_EQ(LoadedIndexes(v.rows), Join({0}, Range(8995, 9002)));
}

TEST(GridAxis, RestartWithSeveralFixedItemsLoadsOnlyTheRequest) {
  VirtualRows v(3, 2000);
  v.rows->getAxisContentItem(1000);
  v.loads.clear();
  v.rows->getAxisContentItem(1999);
  EXPECT_EQ(v.loads, std::vector<int>{1999});
  EXPECT_EQ(LoadedIndexes(v.rows), (std::vector<int>{0, 1, 2, 1999}));
  EXPECT_EQ(v.rows->GetUnloadedPostCount(), 3);
  EXPECT_GE(v.rows->GetUnloadedPreCount(), 0);
  // The last item of the axis: no back gap below zero.
  v.rows->getAxisContentItem(2002);
  EXPECT_EQ(v.rows->GetUnloadedPostCount(), 0);
  EXPECT_EQ(v.rows->Count(), 2003);
}

TEST(GridAxis, WithoutUnloadHandlerTheWindowOnlyGrowsAndSelectionStays) {
  auto g = NewGrid();
  AddCols(g.get(), 2);
  AddRows(g.get(), 3);
  TAxisContentList* rows = g->GetAxisContentListY();
  rows->AddUnloaded(1000);
  g->getCell(1, 1)->SetSelected(true);
  rows->getAxisContentItem(900);
  EXPECT_EQ(rows->LoadedCount(), 901);
  EXPECT_EQ(rows->GetUnloadedPreCount(), 0);
  EXPECT_TRUE(g->getCell(1, 1)->GetSelected());
  g->CalcVisibleArea(Rect(0, 0, 100, 100));
  EXPECT_EQ(rows->LoadedCount(), 901);
}

TEST(GridAxis, ScrollingOneRowLoadsOneAndUnloadsTheTopOne) {
  VirtualRows v(0, 1000);
  v.g->CalcVisibleArea(Rect(0, 0, 100, 100));
  // Five rows of 20 fill 100 pixels; the sixth is cut, laid out and loaded.
  EXPECT_EQ(LoadedIndexes(v.rows), Range(0, 5));

  v.loads.clear();
  v.g->SetTop(1);
  v.g->CalcVisibleArea(Rect(0, 0, 100, 100));
  EXPECT_EQ(v.loads, std::vector<int>{6});
  EXPECT_EQ(v.unloads, std::vector<int>{0});
  EXPECT_EQ(LoadedIndexes(v.rows), Range(1, 6));
  EXPECT_EQ(v.rows->Count(), 1000);
  EXPECT_EQ(v.g->GetCellMatris()->ExistingCellCount(), 2 * 6);

  // (Selected rows staying loaded: the random model test.)
  v.g->SetTop(20);
  v.g->CalcVisibleArea(Rect(0, 0, 100, 100));
  EXPECT_EQ(LoadedIndexes(v.rows), Range(20, 25));

  // Back to the top: the stretch just loaded in front is protected for this
  // pass and trimmed by the next.
  v.g->SetTop(0);
  v.g->CalcVisibleArea(Rect(0, 0, 100, 100));
  EXPECT_EQ(LoadedIndexes(v.rows), Range(0, 19));
  v.g->CalcVisibleArea(Rect(0, 0, 100, 100));
  EXPECT_EQ(LoadedIndexes(v.rows), Range(0, 5));
  EXPECT_EQ(v.rows->Count(), 1000);
}

TEST(GridAxis, UnloadIntervalsKeepAndDeleteOfUnloaded) {
  VirtualRows v(0, 100);
  // Rows go in pairs, and unloaded rows are gone for good.
  v.g->fOnUnloadIntervall = [](TBabGridCell*, TAxisContentItem* item, bool, int& s, int& e) {
    s = item->ListIndex() - item->ListIndex() % 2;
    e = s + 1;
  };
  v.g->fOnKeepAfterUnloadCheck = [](TBabGridCell*, TAxisContentItem*, bool, bool& keep) { keep = false; };
  v.g->CalcVisibleArea(Rect(0, 0, 100, 50));  // rows 0..2 laid out
  EXPECT_EQ(LoadedIndexes(v.rows), Range(0, 2));
  v.g->SetTop(2);
  v.g->CalcVisibleArea(Rect(0, 0, 100, 50));  // rows 2..4: 0 and 1 leave together
  EXPECT_EQ(v.rows->Count(), 98);
  EXPECT_EQ(v.rows->GetUnloadedPreCount(), 0);
  EXPECT_EQ(LoadedIndexes(v.rows), Range(0, 2));

  v.g->fOnUnloadIntervall = [](TBabGridCell*, TAxisContentItem*, bool, int& s, int& e) { e = s - 1; };
  v.g->SetTop(10);
  EXPECT_EQ(ErrorOf([&] { v.g->CalcVisibleArea(Rect(0, 0, 100, 50)); }), "Incorrect intervall");

  std::vector<std::pair<int, int>> deleted;
  v.g->fOnDeleteOfUnloaded = [&deleted](TBabGridCell*, bool isRow, int& s, int& e) {
    EXPECT_TRUE(isRow);
    deleted.emplace_back(s, e);
  };
  const int post = v.rows->GetUnloadedPostCount();
  v.rows->DeleteOfUnloaded(v.rows->Count() - 5, v.rows->Count() - 1);
  EXPECT_EQ(v.rows->GetUnloadedPostCount(), post - 5);
  v.rows->DeleteOfUnloaded(5, 4);  // ignored
  v.rows->Clear();
  EXPECT_EQ(v.rows->Count(), 0);
  EXPECT_EQ(v.g->GetCellMatris()->ExistingCellCount(), 0);
  ASSERT_EQ(deleted.size(), 2u);
  EXPECT_EQ(deleted[1].second - deleted[1].first + 1, post - 5);
}

TEST(GridAxis, FailureTexts) {
  VirtualRows v(0, 100);
  // Inserting from a load handler.
  std::string message;
  int countInHandler = -1;
  v.g->fOnVirtualLoad = [&](TBabGridCell*, TAxisContentItem*, bool isRow) {
    if (!isRow || !message.empty()) return;
    countInHandler = v.rows->Count();
    message = ErrorOf([&] { v.rows->InsertNew(0, nullptr); });
    EXPECT_EQ(ErrorOf([&] { v.rows->AddNew(nullptr); }), message);
    EXPECT_EQ(v.rows->Count(), countInHandler);
  };
  v.rows->getAxisContentItem(3);
  EXPECT_EQ(message, "Not allowed to add items during load");
  EXPECT_EQ(v.rows->Count(), 100);

  // An item that is not the axis's own; a notification from a list that is
  // not one of the grid cell's axes; no data class anywhere up the chain.
  auto other = NewGrid();
  AddRows(other.get(), 1);
  TAxisContentList* foreign = other->GetAxisContentListY();
  EXPECT_EQ(ErrorOf([&] { v.rows->CanUnload(foreign->getAxisContentItem(0)); }), "Index fu");
  EXPECT_EQ(ErrorOf([&] { v.g->ChangeInUnloaded(foreign); }), "");
  EXPECT_EQ(ErrorOf([] { TBabGridCellForViewer bare(nullptr, TBabSimpleCellDataClass(), TBabGridCellDataClass()); }),
            "CreateBabCellData");
  TBabGridCellForViewer noSimple(nullptr, TBabSimpleCellDataClass(), TBabGridCellDataClass::Of<TBabGridCellData>());
  noSimple.GetAxisContentListX()->AddNew(nullptr);
  EXPECT_EQ(ErrorOf([&] { noSimple.GetAxisContentListY()->AddNew(nullptr); }), "CreateBabCellData");
  // The slot stays empty and the axes consistent.
  EXPECT_EQ(noSimple.GetCellMatris()->ExistingCellCount(), 0);
  EXPECT_EQ(noSimple.GetAxisContentListY()->Count(), 1);

  EXPECT_EQ(v.g->getCell(-1, 0), nullptr);
  EXPECT_EQ(v.g->getCell(0, 100), nullptr);
  EXPECT_FALSE(v.g->GetCellMatris()->HasRowSelections(-1));
  EXPECT_FALSE(v.g->GetCellMatris()->HasColumnSelections(2));
}

TEST(GridAxis, FixedItemsChangeWithAFrontGap) {
  VirtualRows v(1, 300);
  v.g->SetTop(200);
  v.g->CalcVisibleArea(Rect(0, 0, 100, 100));
  ASSERT_GT(v.rows->GetUnloadedPreCount(), 0);
  // A second fixed row: row 1 must be loaded, with nothing unloaded before it.
  v.g->SetFixedRows(2);
  ExpectNoFrontGap(v.rows);
  v.g->CalcVisibleArea(Rect(0, 0, 100, 100));
  EXPECT_EQ(LoadedIndexes(v.rows), Join({0, 1}, Range(200, 203)));
  // Then, each with rows unloaded behind the headers: a header row dropped,
  // one inserted, fewer fixed rows, a header moved into the body.
  TAxisContentItem* header = nullptr;
  for (int step = 0; step < 4; ++step) {
    SCOPED_TRACE(step);
    v.g->CalcVisibleArea(Rect(0, 0, 100, 100));
    ASSERT_GT(v.rows->GetUnloadedPreCount(), 0);
    if (step == 0) v.rows->Drop(0);
    if (step == 1) header = v.rows->InsertNew(0, nullptr);
    if (step == 2) v.g->SetFixedRows(1);
    if (step == 3) v.rows->Move(0, 150);
    ExpectNoFrontGap(v.rows);
  }
  EXPECT_EQ(v.rows->Count(), 301);
  EXPECT_EQ(v.rows->getAxisContentItem(150), header);
  EXPECT_EQ(v.g->GetTop(), 200);
}
