// Random edits, hides, selections, focus moves and scrolls on a virtual grid
// with a nested grid in every row, against a plain reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <deque>
#include <optional>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "GridTestSupport.h"

using namespace vx;
using namespace gridtest;

namespace {

constexpr int kCols = 3;
constexpr int kNestedCol = 1;
constexpr int kNested = 3;  // nested grids are kNested by kNested
constexpr int kHeight = 200;

struct NestedData : TBabGridCellData {
  void InitContent() override {
    auto* g = static_cast<TBabGridCell*>(GetBabCell());
    if (!g->getGridCell()) return;  // the outermost cell
    AddCols(g, kNested);
    AddRows(g, kNested);
  }
};

class GridModel {
public:
  explicit GridModel(unsigned theSeed) : fRng(theSeed) {
    g = std::make_unique<TBabGridCellForViewer>(nullptr, TBabSimpleCellDataClass::Of<TBabSimpleCellData>(),
                                                TBabGridCellDataClass::Of<NestedData>());
    rows = g->GetAxisContentListY();
    g->fOnCreateCell = [this](TBabGridCell* caller, TAxisContentItem* x, TAxisContentItem*) {
      return caller == g.get() && x->ListIndex() == kNestedCol ? babCellTypeGrid : babCellTypeSimple;
    };
    g->fOnVirtualLoad = [this](TBabGridCell* caller, TAxisContentItem* item, bool isRow) {
      if (caller != g.get() || !isRow) return;
      Tag* t = ref[static_cast<size_t>(item->ListIndex())];
      item->SetValue(t);
      item->SetHide(hidden.count(t->id) != 0);
    };
    g->fOnVirtualUnLoad = [this](TBabGridCell* caller, TAxisContentItem*, bool isRow, bool, bool& can) {
      can = caller == g.get() && isRow;
    };
    AddCols(g.get(), kCols);
    ref.push_back(NewTag());
    rows->AddNew(ref.back());
    g->SetFixedRows(1);
    for (int k = 0; k < 250; ++k) ref.push_back(NewTag());
    rows->AddUnloaded(250);
  }

  void Step() {
    const int n = static_cast<int>(ref.size());
    switch (Rand(0, 9)) {
      case 0:
      case 1: Scroll(Rand(0, n + 3)); break;
      case 2: Insert(Rand(1, n)); break;
      case 3:
        if (n > 2) Drop(Rand(1, n - 1));
        break;
      case 4:
        if (n > 2) Move(Rand(1, n - 1), Rand(1, n - 1));
        break;
      case 5:
        if (n > 1) ToggleHide(Rand(1, n - 1));
        break;
      case 6:
      case 7: Click(); break;
      default: Focus(); break;
    }
    g->CalcVisibleArea(Rect(0, 0, 200, kHeight));
    ForgetUnloaded();
    Check();
  }

private:
  Tag* NewTag() { return &pool.emplace_back(fNextId++); }
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(fRng); }
  int IndexOf(int id) const {
    for (size_t k = 0; k < ref.size(); ++k)
      if (ref[k]->id == id) return static_cast<int>(k);
    return -1;
  }
  bool Loaded(int id) const {
    const int i = IndexOf(id);
    return i >= 0 && rows->IsLoaded(i);
  }

  void Scroll(int t) {
    g->SetTop(t);
    top = std::max(std::min(t, static_cast<int>(ref.size()) - 1), 1);
  }

  void Insert(int i) {
    Tag* t = NewTag();
    ASSERT_NE(rows->InsertNew(i, t), nullptr);
    ref.insert(ref.begin() + i, t);
  }

  void Drop(int i) {
    const int id = ref[static_cast<size_t>(i)]->id;
    rows->Drop(i);
    ref.erase(ref.begin() + i);
    for (int c = 0; c < kCols; ++c) selected.erase({id, c});
    if (static_cast<int>(ref.size()) <= top) top = 1;
  }

  void Move(int from, int to) {
    rows->Move(from, to);
    if (from == to) return;
    Tag* t = ref[static_cast<size_t>(from)];
    ref.erase(ref.begin() + from);
    ref.insert(ref.begin() + to, t);
  }

  void ToggleHide(int i) {
    const int id = ref[static_cast<size_t>(i)]->id;
    const bool h = hidden.insert(id).second;  // not there: now hidden
    if (!h) hidden.erase(id);
    rows->getAxisContentItem(i)->SetHide(h);
  }

  // A loaded non-fixed row, or -1.
  int RandomLoadedRow() {
    if (rows->LoadedCount() <= 1) return -1;
    return rows->getLoadedAxisContentItem(Rand(1, rows->LoadedCount() - 1))->ListIndex();
  }

  void Click() {
    const int r = RandomLoadedRow();
    if (r < 0) return;
    const int c = Rand(0, kCols - 1), id = ref[static_cast<size_t>(r)]->id;
    const int kind = Rand(0, 3);
    TShiftState shift;
    if (kind & 1) shift.Include(ssShift);
    if (kind & 2) shift.Include(ssCtrl);
    g->UpdateMultiSelect(g->getCell(c, r), shift);
    const std::pair<int, int> cell{id, c};
    if (kind == 0) {
      anchor = cell;
      selected = {cell};
    } else if (kind == 2) {
      anchor = cell;
      if (!selected.erase(cell)) selected.insert(cell);
    } else {
      if (!anchor) anchor = cell;
      if (kind == 1) selected.clear();
      const int ar = IndexOf(anchor->first);
      for (int y = std::min(ar, r); y <= std::max(ar, r); ++y)
        for (int x = std::min(anchor->second, c); x <= std::max(anchor->second, c); ++x)
          selected.insert({ref[static_cast<size_t>(y)]->id, x});
    }
  }

  void Focus() {
    const int r = RandomLoadedRow();
    if (r < 0) return;
    auto* nested = static_cast<TBabGridCell*>(g->getCell(kNestedCol, r));
    const int x = Rand(0, kNested - 1), y = Rand(0, kNested - 1);
    g->SetFocusedCell(nested->getCell(x, y));
    focus = std::make_tuple(ref[static_cast<size_t>(r)]->id, x, y);
  }

  // Cells of rows that went are gone, and with them focus and anchor.
  void ForgetUnloaded() {
    if (focus && !Loaded(std::get<0>(*focus))) focus.reset();
    if (anchor && !Loaded(anchor->first)) anchor.reset();
  }

  std::vector<int> ExpectedOnScreen() const {
    std::vector<int> r;
    int acc = 20 * kNested;  // the header row holds a nested grid too
    for (int k = top; k < static_cast<int>(ref.size()); ++k) {
      if (hidden.count(ref[static_cast<size_t>(k)]->id)) continue;
      r.push_back(k);
      acc += 20 * kNested;
      if (acc > kHeight) break;
    }
    return r;
  }

  void Check() {
    ASSERT_EQ(rows->Count(), static_cast<int>(ref.size()));
    ASSERT_EQ(g->GetTop(), top);
    const int pre = rows->GetUnloadedPreCount(), loaded = rows->LoadedCount();
    ASSERT_GE(loaded, 1);
    // Loaded items stand for what the reference has at their index.
    for (int p = 0; p < loaded; ++p) {
      TAxisContentItem* item = rows->getLoadedAxisContentItem(p);
      const int i = p == 0 ? 0 : p + pre;
      ASSERT_EQ(item->ListIndex(), i);
      ASSERT_EQ(item->GetValue(), ref[static_cast<size_t>(i)]);
      ASSERT_EQ(item->GetHide(), hidden.count(ref[static_cast<size_t>(i)]->id) != 0);
    }
    // On screen: the reference's rows from the scroll position.
    std::vector<int> onScreen;
    for (int k = 0; k < rows->VisibleCount(); ++k)
      if (int i = rows->getVisibleAxisContentItem(k)->ListIndex(); i > 0) onScreen.push_back(i);
    ASSERT_EQ(onScreen, ExpectedOnScreen());
    // The window is trimmed to what must stay: on screen, selected, just loaded.
    int lo = INT_MAX, hi = -1;
    auto keep = [&](int i) {
      if (i < 1) return;
      lo = std::min(lo, i);
      hi = std::max(hi, i);
    };
    for (int i : onScreen) keep(i);
    for (const auto& s : selected) keep(IndexOf(s.first));
    if (rows->GetUnloadProtectedStart() >= 0)
      for (int i = rows->GetUnloadProtectedStart(); i <= rows->GetUnloadProtectedStop(); ++i) keep(i);
    if (hi < 0)
      ASSERT_EQ(loaded, 1);
    else
      ASSERT_EQ(std::make_pair(pre + 1, pre + loaded - 1), std::make_pair(lo, hi));
    // Cells exist exactly for the loaded rows, nested grids fully.
    ASSERT_EQ(g->GetCellMatris()->ExistingCellCount(), kCols * loaded);
    for (int p = 0; p < loaded; ++p) {
      const int i = p == 0 ? 0 : p + pre;
      const int id = ref[static_cast<size_t>(i)]->id;
      for (int c = 0; c < kCols; ++c) {
        TBabCell* cell = g->GetCellMatris()->getLoadedCell(c, p);
        ASSERT_NE(cell, nullptr);
        ASSERT_EQ(cell->GetAxisContentItemY(), rows->getLoadedAxisContentItem(p));
        ASSERT_EQ(cell->GetSelected(), selected.count({id, c}) != 0) << "row " << i << " col " << c;
        ASSERT_EQ(cell->IsGridCell(), c == kNestedCol);
      }
      auto* nested = static_cast<TBabGridCell*>(g->GetCellMatris()->getLoadedCell(kNestedCol, p));
      ASSERT_EQ(nested->GetCellMatris()->ExistingCellCount(), kNested * kNested);
      nested->GetCellMatris()->ForEachCell([&](TBabCell* c) { ASSERT_EQ(c->GetSelected(), nested->GetSelected()); });
    }
    for (const auto& s : selected) ASSERT_TRUE(Loaded(s.first));
    // Focus and anchor.
    TBabCell* f = g->GetFocusedCellDownTrack();
    if (!focus) {
      ASSERT_EQ(f, nullptr);
    } else {
      ASSERT_NE(f, nullptr);
      ASSERT_EQ(f->getGridCell()->GetAxisContentItemY()->GetValue(), ref[static_cast<size_t>(IndexOf(std::get<0>(*focus)))]);
      ASSERT_EQ(std::make_pair(f->GetCol(), f->GetRow()), std::make_pair(std::get<1>(*focus), std::get<2>(*focus)));
    }
    TBabCell* a = g->GetAnchor();
    ASSERT_EQ(a != nullptr, anchor.has_value());
    if (a) {
      ASSERT_EQ(a->GetAxisContentItemY()->GetValue(), ref[static_cast<size_t>(IndexOf(anchor->first))]);
      ASSERT_EQ(a->GetCol(), anchor->second);
    }
  }

public:
  std::unique_ptr<TBabGridCellForViewer> g;
  TAxisContentList* rows = nullptr;

private:
  std::mt19937 fRng;
  int fNextId = 0;
  std::deque<Tag> pool;
  std::vector<Tag*> ref;
  std::set<int> hidden;
  std::set<std::pair<int, int>> selected;
  std::optional<std::pair<int, int>> anchor;
  std::optional<std::tuple<int, int, int>> focus;
  int top = 1;
};

}  // namespace

TEST(GridModel, RandomEditsScrollsAndSelectionsAgreeWithAReference) {
  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    GridModel m(seed);
    for (int step = 0; step < 400; ++step) {
      SCOPED_TRACE(step);
      m.Step();
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}
