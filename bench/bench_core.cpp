// Data model figures: appending, inserting at the front, virtual scrolling and
// jumping, and the memory one loaded entity costs.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <random>

#include <vxplan/core/vxDataEntityPack.h>

using namespace vx;

namespace {

// A controller whose every handler is assigned and does nothing.
void AssignIdleHandlers(TvxListController& c) {
  auto entity = [](TvxDataEntity*) {};
  c.fDeleteItem = c.fInsertItem = c.fOnEnterOwnerAfterChange = c.fOnLeaveOwnerBeforeChange = entity;
  c.fOnVisibleChanged = c.fBeforeCanEditItem = c.fOnInfoPush = c.fOnLoadItem = entity;
  c.fOnHandlePerformedMove = [](TvxDataEntity*, int, int) {};
  c.fOnSelectionChanged = [](TvxDataList*, TvxDataEntity*) {};
  c.fOnContentChanged = c.fOnUnLoadedContentChanged = [](TvxDataList*) {};
  c.fOnUnLoadItem = [](TvxDataEntity*, bool&) {};
}

void AppendMillion(benchmark::State& state) {
  TvxListController c;
  AssignIdleHandlers(c);
  for (auto _ : state) {
    TvxDataList* list = TvxDataList::Create(&c, {});
    for (int i = 0; i < 1'000'000; ++i) list->Add();
    benchmark::DoNotOptimize(list->Count());
    state.PauseTiming();
    list->FreeWheneverPossible();
    state.ResumeTiming();
  }
}

// Registered first and run once: the process touches this memory for the first
// time, so the figure includes the page faults a fresh application pays.
void BM_Append1M_FirstTouch(benchmark::State& state) { AppendMillion(state); }
BENCHMARK(BM_Append1M_FirstTouch)->Unit(benchmark::kMillisecond)->Iterations(1);

// Later runs reuse the memory the previous run freed. The allocator is told to
// keep it rather than give it back to the system, or whether it does (which
// depends on the order of frees) would decide the figure with page faults.
void BM_Append1M(benchmark::State& state) {
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  AppendMillion(state);
  mallopt(M_TRIM_THRESHOLD, 128 * 1024);
}
BENCHMARK(BM_Append1M)->Unit(benchmark::kMillisecond);

void BM_InsertAtFront100kThenListIndex(benchmark::State& state) {
  TvxListController c;
  AssignIdleHandlers(c);
  double renumberNs = 0;
  for (auto _ : state) {
    TvxDataList* list = TvxDataList::Create(&c, {});
    TvxDataEntity* first = list->Add();
    for (int i = 0; i < 100'000; ++i) list->Insert(0);
    auto t0 = std::chrono::steady_clock::now();
    int index = first->ListIndex();  // the one renumbering
    renumberNs += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count();
    if (index != 100'000) state.SkipWithError("wrong list index");
    state.PauseTiming();
    list->FreeWheneverPossible();
    state.ResumeTiming();
  }
  state.counters["renumber_ms"] = renumberNs / 1e6 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_InsertAtFront100kThenListIndex)->Unit(benchmark::kMillisecond);

// 10,000 scattered inserts and deletes in a list of 100,000 entities, each
// followed by the list index of a random entity: the reads interleave with
// the edits, as a tree's or a chart's notifications make them.
void BM_ScatteredBurst10kIn100k(benchmark::State& state) {
  TvxListController c;
  AssignIdleHandlers(c);
  for (auto _ : state) {
    state.PauseTiming();
    TvxDataList* list = TvxDataList::Create(&c, {});
    for (int i = 0; i < 100'000; ++i) list->Add();
    std::mt19937 rng(11);
    long long sum = 0;
    state.ResumeTiming();
    for (int k = 0; k < 10'000; ++k) {
      std::uniform_int_distribution<int> at(0, list->Count() - 1);
      if (k % 2 == 0)
        list->Insert(at(rng));
      else
        list->Delete(at(rng));
      sum += list->GetItems(at(rng))->ListIndex();
    }
    benchmark::DoNotOptimize(sum);
    state.PauseTiming();
    list->FreeWheneverPossible();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ScatteredBurst10kIn100k)->Unit(benchmark::kMillisecond);

// A list of 10,000,000 entities of which the application loads what is read.
struct VirtualList {
  TvxListController c;
  TvxDataList* list;
  int maxLoaded = 0;
  VirtualList() {
    c.fOnLoadItem = [](TvxDataEntity* e) { e->SetUserIntegerReference(e->ListIndex() * 3); };
    c.fOnUnLoadItem = [](TvxDataEntity*, bool& canUnload) { canUnload = true; };
    list = TvxDataList::Create(&c, {});
    list->AddUnloaded(10'000'000);
  }
  ~VirtualList() { list->FreeWheneverPossible(); }
  void Read(int i) {
    benchmark::DoNotOptimize(list->GetItems(i)->GetUserIntegerReference());
    maxLoaded = std::max(maxLoaded, list->LoadedCount());
  }
};

void BM_VirtualScroll(benchmark::State& state) {
  VirtualList v;
  int top = 0;
  for (auto _ : state) {
    // One page of 50 rows, then the next page.
    for (int i = top; i < top + 50; ++i) v.Read(i);
    top = top + 50 >= 10'000'000 - 50 ? 0 : top + 50;
  }
  state.SetItemsProcessed(state.iterations() * 50);
  state.counters["max_loaded"] = v.maxLoaded;
  state.counters["ns_per_access"] =
      benchmark::Counter(static_cast<double>(state.iterations() * 50), benchmark::Counter::kIsRate |
                                                                           benchmark::Counter::kInvert);
}
BENCHMARK(BM_VirtualScroll);

void BM_VirtualJump(benchmark::State& state) {
  VirtualList v;
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> any(0, 10'000'000 - 1);
  for (auto _ : state) v.Read(any(rng));
  state.SetItemsProcessed(state.iterations());
  state.counters["max_loaded"] = v.maxLoaded;
}
BENCHMARK(BM_VirtualJump);

void BM_MemoryPerLoadedEntity(benchmark::State& state) {
  const int n = 1'000'000;
  double perEntity = 0;
  for (auto _ : state) {
    TvxListController c;
    malloc_trim(0);
    const size_t before = mallinfo2().uordblks;
    TvxDataList* list = TvxDataList::Create(&c, {});
    for (int i = 0; i < n; ++i) list->Add();
    perEntity = static_cast<double>(mallinfo2().uordblks - before) / n;
    list->FreeWheneverPossible();
  }
  state.counters["bytes_per_entity"] = perEntity;
  state.counters["sizeof_entity"] = static_cast<double>(sizeof(TvxDataEntity));
}
BENCHMARK(BM_MemoryPerLoadedEntity)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
