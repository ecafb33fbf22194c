// Random operations on two data lists, checked after every step against a
// plain vector per list that plays the application's data store.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>
#include <string>

#include <vxplan/core/vxDataEntityPack.h>

using namespace vx;

namespace {

struct Counters {
  int insert = 0, del = 0, content = 0, visible = 0, load = 0, unloadApproved = 0, unloadedContent = 0,
      selection = 0, move = 0, enter = 0, leave = 0;
};

class Model {
public:
  explicit Model(unsigned seed) : rng(seed) {
    for (int L = 0; L < 2; ++L) {
      TvxListController& c = ctrl[L];
      Counters& n = now[L];
      c.fInsertItem = [&n](TvxDataEntity*) { ++n.insert; };
      c.fDeleteItem = [&n](TvxDataEntity*) { ++n.del; };
      c.fOnContentChanged = [&n](TvxDataList*) { ++n.content; };
      c.fOnVisibleChanged = [&n](TvxDataEntity*) { ++n.visible; };
      c.fOnSelectionChanged = [&n](TvxDataList*, TvxDataEntity*) { ++n.selection; };
      c.fOnHandlePerformedMove = [&n](TvxDataEntity*, int, int) { ++n.move; };
      c.fOnEnterOwnerAfterChange = [&n](TvxDataEntity*) { ++n.enter; };
      c.fOnLeaveOwnerBeforeChange = [&n](TvxDataEntity*) { ++n.leave; };
      c.fOnUnLoadedContentChanged = [&n](TvxDataList*) { ++n.unloadedContent; };
      // The application fills a loaded entity from its store...
      c.fOnLoadItem = [this, L](TvxDataEntity* e) {
        ++now[L].load;
        int i = e->ListIndex();
        ASSERT_TRUE(i >= 0 && i < static_cast<int>(store[L].size()));
        e->SetUserIntegerReference(store[L][static_cast<size_t>(i)]);
      };
      // ...and lets entities go as its mood of the moment says.
      c.fOnUnLoadItem = [this, L](TvxDataEntity*, bool& can) {
        can = std::uniform_real_distribution<double>(0, 1)(rng) < unloadChance;
        if (can) ++now[L].unloadApproved;
      };
      c.fOnSortCompare = [](TvxDataEntity* a, TvxDataEntity* b) {
        return (a->GetUserIntegerReference() > b->GetUserIntegerReference()) -
               (a->GetUserIntegerReference() < b->GetUserIntegerReference());
      };
      list[L].reset(TvxDataList::Create(&ctrl[L], {}));
    }
  }

  void Step(int step);
  void Check();

private:
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  std::set<int> SelectedIds() const {
    std::set<int> ids;
    for (int L = 0; L < 2; ++L)
      for (int p = 0; p < list[L]->LoadedCount(); ++p)
        if (list[L]->GetLoaded(p)->GetSelected()) ids.insert(list[L]->GetLoaded(p)->GetUserIntegerReference());
    return ids;
  }
  void ExpectRead(int L, int i, TvxDataEntity* e) {
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(list[L]->IsLoaded(i));
    ASSERT_EQ(e->GetUserIntegerReference(), store[L][static_cast<size_t>(i)]);
  }

  std::mt19937 rng;
  TvxListController ctrl[2];
  Counters now[2];
  std::vector<int> store[2];
  TvxOwned<TvxDataList> list[2];
  int nextId = 1;
  double unloadChance = 1.0;
};

void Model::Step(int step) {
  if (step % 500 == 0) unloadChance = std::array<double, 4>{1.0, 0.9, 0.5, 0.0}[static_cast<size_t>(Rand(0, 3))];

  const int L = Rand(0, 1);
  TvxDataList* l = list[L].get();
  const int count = l->Count();
  const Counters before[2] = {now[0], now[1]};
  const int loadedBefore[2] = {list[0]->LoadedCount(), list[1]->LoadedCount()};
  const std::set<int> selectedBefore = SelectedIds();
  std::set<int> deletedIds;       // gone without a deselect report
  int selectedOnPurpose = 0;      // explicit selection changes
  Counters expect[2]{};           // notifications the operation itself implies
  int loadedDelta[2] = {0, 0};    // change of the window other than loads and unloads

  int op = Rand(0, 99);
  if (count > 1500) op = op < 50 ? 15 : op;  // keep the lists small enough to sort often
  if (op < 18) {
    int i = Rand(0, count);
    TvxDataEntity* e = l->Insert(i);
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->ListIndex(), i);
    e->SetUserIntegerReference(nextId);
    store[L].insert(store[L].begin() + i, nextId++);
    expect[L].insert = 1;
    expect[L].visible = 1;
    expect[L].content = 1;
    loadedDelta[L] = 1;
  } else if (op < 33) {
    int i = Rand(-1, count);
    bool loaded = l->IsLoaded(i);
    if (loaded) deletedIds.insert(l->GetItems(i)->GetUserIntegerReference());
    l->Delete(i);
    if (i >= 0 && i < count) store[L].erase(store[L].begin() + i);
    if (loaded) {
      expect[L].del = 1;
      expect[L].content = 1;
      loadedDelta[L] = -1;
    }
  } else if (op < 43 && l->LoadedCount() > 0) {
    TvxDataEntity* e = l->GetLoaded(Rand(0, l->LoadedCount() - 1));
    int from = e->ListIndex(), to = Rand(0, count - 1);
    e->Move(to);
    ASSERT_EQ(e->ListIndex(), to);
    int id = store[L][static_cast<size_t>(from)];
    store[L].erase(store[L].begin() + from);
    store[L].insert(store[L].begin() + to, id);
    expect[L].move = 1;
  } else if (op < 51 && l->LoadedCount() > 0) {
    const int M = 1 - L;
    TvxDataEntity* e = l->GetLoaded(Rand(0, l->LoadedCount() - 1));
    int from = e->ListIndex(), to = Rand(0, list[M]->Count());
    e->ChangeOwner(list[M].get(), to);
    ASSERT_EQ(e->GetDataList(), list[M].get());
    ASSERT_EQ(e->ListIndex(), to);
    int id = store[L][static_cast<size_t>(from)];
    store[L].erase(store[L].begin() + from);
    store[M].insert(store[M].begin() + to, id);
    expect[L].leave = 1;
    expect[M].enter = 1;
    expect[L].content = expect[M].content = 1;
    loadedDelta[L] = -1;
    loadedDelta[M] = 1;
  } else if (op < 55) {
    bool descending = Rand(0, 1) == 1;
    l->Sort(descending);
    std::sort(store[L].begin(), store[L].end());
    if (descending) std::reverse(store[L].begin(), store[L].end());
    ASSERT_EQ(l->LoadedCount(), l->Count());
    expect[L].content = 1;
  } else if (op < 65 && l->LoadedCount() > 0) {
    TvxDataEntity* e = l->GetLoaded(Rand(0, l->LoadedCount() - 1));
    e->SetSelected(!e->GetSelected());
    selectedOnPurpose = 1;
  } else if (op < 93) {
    if (count == 0) return;
    // Scroll a page, or jump.
    int start = Rand(0, count - 1);
    int n = Rand(0, 1) ? 1 : std::min(50, count - start);
    for (int i = start; i < start + n; ++i) ASSERT_NO_FATAL_FAILURE(ExpectRead(L, i, l->GetItems(i)));
  } else if (op < 98) {
    int n = Rand(0, 300);
    l->AddUnloaded(n);
    for (int k = 0; k < n; ++k) store[L].push_back(nextId++);
    if (n > 0) expect[L].content = expect[L].unloadedContent = 1;
  } else {
    for (int p = 0; p < l->LoadedCount(); ++p) deletedIds.insert(l->GetLoaded(p)->GetUserIntegerReference());
    int loaded = l->LoadedCount();
    l->Clear();
    store[L].clear();
    expect[L].del = expect[L].content = loaded;
    expect[L].unloadedContent = 1;
    loadedDelta[L] = -loaded;
  }
  if (::testing::Test::HasFatalFailure()) return;

  // Every notification fired as often as the operation, its loads and its unloads imply.
  for (int k = 0; k < 2; ++k) {
    SCOPED_TRACE("list " + std::to_string(k));
    const Counters& b = before[k];
    const Counters& n = now[k];
    const int loads = n.load - b.load, unloads = n.unloadApproved - b.unloadApproved;
    ASSERT_EQ(list[k]->LoadedCount(), loadedBefore[k] + loads - unloads + loadedDelta[k]);
    ASSERT_EQ(n.insert - b.insert, expect[k].insert);
    ASSERT_EQ(n.visible - b.visible, expect[k].visible + loads);
    ASSERT_EQ(n.del - b.del, expect[k].del + unloads);
    ASSERT_EQ(n.content - b.content, expect[k].content + unloads);
    ASSERT_EQ(n.unloadedContent - b.unloadedContent, expect[k].unloadedContent);
    ASSERT_EQ(n.move - b.move, expect[k].move);
    ASSERT_EQ(n.enter - b.enter, expect[k].enter);
    ASSERT_EQ(n.leave - b.leave, expect[k].leave);
  }
  // Selection reports: one per entity whose flag changed, deletions aside;
  // nothing becomes selected on its own.
  std::set<int> selectedAfter = SelectedIds();
  std::set<int> changed;
  for (int id : selectedBefore)
    if (!selectedAfter.count(id) && !deletedIds.count(id)) changed.insert(id);
  for (int id : selectedAfter)
    if (!selectedBefore.count(id)) changed.insert(id);
  int reports = now[0].selection - before[0].selection + now[1].selection - before[1].selection;
  if (selectedOnPurpose)
    ASSERT_EQ(static_cast<int>(changed.size()), 1);
  else
    ASSERT_LE(selectedAfter.size(), selectedBefore.size());
  ASSERT_EQ(reports, static_cast<int>(changed.size()));
}

void Model::Check() {
  std::set<int> seen;
  for (int L = 0; L < 2; ++L) {
    SCOPED_TRACE("list " + std::to_string(L));
    TvxDataList* l = list[L].get();
    const int pre = l->GetUnloadedPreCount(), loaded = l->LoadedCount(), post = l->GetUnloadedPostCount();
    ASSERT_EQ(l->Count(), static_cast<int>(store[L].size()));
    ASSERT_EQ(pre + loaded + post, l->Count());
    ASSERT_GE(pre, 0);
    ASSERT_GE(post, 0);
    if (loaded == 0) {
      ASSERT_EQ(pre, 0);
    }
    ASSERT_FALSE(l->IsLoaded(pre - 1));
    ASSERT_EQ(l->IsLoaded(pre), loaded > 0);
    ASSERT_FALSE(l->IsLoaded(pre + loaded));
    for (int p = 0; p < loaded; ++p) {
      TvxDataEntity* e = l->GetLoaded(p);
      ASSERT_EQ(e->GetDataList(), l);
      ASSERT_EQ(e->ListIndex(), pre + p);
      ASSERT_EQ(e->GetUserIntegerReference(), store[L][static_cast<size_t>(pre + p)]);
      ASSERT_TRUE(seen.insert(e->GetUserIntegerReference()).second) << "entity twice";
    }
  }
}

int EnvInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

}  // namespace

TEST(DataListModel, RandomOperationsMatchTheReference) {
  // VX_MODEL_SEED replays one seed; VX_MODEL_STEPS makes the run longer.
  const int steps = EnvInt("VX_MODEL_STEPS", 6000);
  std::vector<unsigned> seeds{20261206u, 1u, 424242u};
  if (int seed = EnvInt("VX_MODEL_SEED", 0)) seeds = {static_cast<unsigned>(seed)};
  for (unsigned seed : seeds) {
    Model model(seed);
    for (int step = 0; step < steps; ++step) {
      SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step) +
                   " (replay with VX_MODEL_SEED=" + std::to_string(seed) + ")");
      ASSERT_NO_FATAL_FAILURE(model.Step(step));
      ASSERT_NO_FATAL_FAILURE(model.Check());
    }
  }
}

// Scattered edits on lists of every size, each followed by index reads: the
// reads must see the edit, whatever blocks the window keeps its entities in.
namespace {

class ScatteredEdits {
public:
  // A list of theSize loaded entities or, when virtual, declared unloaded and
  // loaded where it is read.
  ScatteredEdits(unsigned seed, int theSize, bool isVirtual) : rng(seed), virtualList(isVirtual) {
    ctrl.fOnLoadItem = [this](TvxDataEntity* e) {
      e->SetUserIntegerReference(store[static_cast<size_t>(e->ListIndex())]);
    };
    ctrl.fOnUnLoadItem = [this](TvxDataEntity* e, bool& can) { can = e != watched; };
    for (auto& l : list) l.reset(TvxDataList::Create(&ctrl, {}));
    for (int i = 0; i < theSize; ++i) store.push_back(nextId++);
    if (virtualList)
      list[0]->AddUnloaded(theSize);
    else
      for (int i = 0; i < theSize; ++i) list[0]->Add()->SetUserIntegerReference(store[static_cast<size_t>(i)]);
  }

  // One edit on list 0 (inserts, deletes, moves, changes of owner to and from
  // list 1), then reads of the edited entity, a watched one and a random one.
  // The list grows in phase 0, shrinks in phase 1 and keeps its size in phase 2.
  void Step(int phase) {
    TvxDataList* l = list[0].get();
    const int count = l->Count();
    int op = Rand(0, 9);
    if (phase == 0 && op < 5) op = 0;
    if (phase == 1 && op < 5) op = 3;
    TvxDataEntity* edited = nullptr;
    if (op < 3 || count == 0) {
      const int i = std::min(Pick(count + 1), count);
      edited = l->Insert(i);
      ASSERT_NE(edited, nullptr);
      edited->SetUserIntegerReference(nextId);
      store.insert(store.begin() + i, nextId++);
    } else if (op < 5) {
      const int i = Pick(count);
      if (watched && l->IndexOf(watched) == i) watched = nullptr;
      l->Delete(i);
      store.erase(store.begin() + i);
    } else if (op < 8) {
      const int from = Pick(count), to = Pick(count);
      edited = l->GetItems(from);
      edited->Move(to);
      const int id = store[static_cast<size_t>(from)];
      store.erase(store.begin() + from);
      store.insert(store.begin() + to, id);
    } else if (op == 8) {
      // Out to list 1, which holds no unloaded entities.
      const int from = Pick(count), to = Rand(0, list[1]->Count());
      TvxDataEntity* e = l->GetItems(from);
      if (e == watched) watched = nullptr;
      e->ChangeOwner(list[1].get(), to);
      ASSERT_EQ(e->ListIndex(), to);
      other.insert(other.begin() + to, store[static_cast<size_t>(from)]);
      store.erase(store.begin() + from);
    } else if (list[1]->Count() > 0) {
      // And back again, into the window when list 0 is virtual.
      const int from = Rand(0, list[1]->Count() - 1);
      const int to = l->LoadedCount() > 0 ? l->GetUnloadedPreCount() + Rand(0, l->LoadedCount()) : Rand(0, count);
      edited = list[1]->GetItems(from);
      edited->ChangeOwner(l, to);
      store.insert(store.begin() + to, other[static_cast<size_t>(from)]);
      other.erase(other.begin() + from);
    }
    if (edited) ExpectIndex(edited);
    if (watched) ExpectIndex(watched);
    if (l->Count() > 0) {
      const int i = Pick(l->Count());
      TvxDataEntity* e = l->GetItems(i);
      ASSERT_NE(e, nullptr);
      ASSERT_EQ(e->GetUserIntegerReference(), store[static_cast<size_t>(i)]);
      ASSERT_EQ(e->ListIndex(), i);
      if (!watched || Rand(0, 50) == 0) watched = e;
    }
    if (virtualList) {
      ASSERT_LE(l->LoadedCount(), 2 * TvxDataList::MaxLoadedWindow);
    }
  }

  // Every loaded entity of both lists, in order.
  void CheckAll() {
    for (int L = 0; L < 2; ++L) {
      TvxDataList* l = list[L].get();
      const std::vector<int>& ref = L == 0 ? store : other;
      ASSERT_EQ(l->Count(), static_cast<int>(ref.size()));
      const int pre = l->GetUnloadedPreCount();
      for (int p = 0; p < l->LoadedCount(); ++p) {
        TvxDataEntity* e = l->GetLoaded(p);
        ASSERT_EQ(e->GetUserIntegerReference(), ref[static_cast<size_t>(pre + p)]) << "list " << L << " at " << p;
        ASSERT_EQ(e->ListIndex(), pre + p);
      }
    }
  }

  // A jump elsewhere in a virtual list: the window moves there.
  void Jump() {
    watched = nullptr;
    const int i = Rand(0, list[0]->Count() - 1);
    ASSERT_EQ(list[0]->GetItems(i)->GetUserIntegerReference(), store[static_cast<size_t>(i)]);
    ASSERT_TRUE(list[0]->IsLoaded(i));
  }

private:
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  // An index below theCount: anywhere in a plain list, near the window of a
  // virtual one (a far one would load everything between it and the watched
  // entity, which may not be unloaded).
  int Pick(int theCount) {
    if (theCount <= 0) return 0;
    if (!virtualList || list[0]->LoadedCount() == 0) return Rand(0, theCount - 1);
    const int pre = list[0]->GetUnloadedPreCount();
    return std::clamp(Rand(pre - 100, pre + list[0]->LoadedCount() + 100), 0, theCount - 1);
  }
  void ExpectIndex(TvxDataEntity* e) {
    const int i = e->ListIndex();
    ASSERT_GE(i, 0);
    ASSERT_LT(i, e->GetDataList()->Count());
    const std::vector<int>& ref = e->GetDataList() == list[0].get() ? store : other;
    ASSERT_EQ(ref[static_cast<size_t>(i)], e->GetUserIntegerReference());
  }

  std::mt19937 rng;
  bool virtualList;
  TvxListController ctrl;
  TvxOwned<TvxDataList> list[2];
  std::vector<int> store, other;
  TvxDataEntity* watched = nullptr;
  int nextId = 1;
};

}  // namespace

// Plain lists of every size; then 200,000 declared entities of which a few
// hundred are loaded at a time, with jumps elsewhere.
TEST(DataListModel, ScatteredEditsKeepIndexesFromOneTo200kEntities) {
  const int steps = EnvInt("VX_MODEL_STEPS", 6000) / 2;
  const std::pair<int, bool> lists[] = {{1, false},    {2, false},      {9, false},      {1023, false},
                                        {1025, false}, {5000, false},   {200000, false}, {200000, true}};
  for (const auto& [size, isVirtual] : lists) {
    SCOPED_TRACE("size " + std::to_string(size) + (isVirtual ? ", virtual" : ""));
    ScatteredEdits model(isVirtual ? 77u : static_cast<unsigned>(size), size, isVirtual);
    for (int step = 0; step < steps; ++step) {
      if (isVirtual && step % 300 == 0) {
        ASSERT_NO_FATAL_FAILURE(model.Jump());
      }
      ASSERT_NO_FATAL_FAILURE(model.Step(isVirtual ? 2 : step * 3 / steps));
      if (step % (isVirtual ? 100 : 500) == (isVirtual ? 99 : 499)) {
        ASSERT_NO_FATAL_FAILURE(model.CheckAll());
      }
    }
    model.CheckAll();
  }
}
