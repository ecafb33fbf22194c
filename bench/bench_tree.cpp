// Data-bound tree figures: filling a large tree and showing it, and taking a
// burst of changes into it with one synchronisation.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <random>

#include <vxplan/tree/vxTree.h>

using namespace vx;

namespace {

constexpr int kEntities = 100000;

std::unique_ptr<TvxTree> MakeTree() {
  auto t = std::make_unique<TvxTree>(nullptr);
  t->SetBounds(0, 0, 800, 600);
  return t;
}

void Fill(TvxTree& t, int n) {
  for (int i = 0; i < n; ++i) t.AddDataEntity(nullptr)->SetText("Entity " + std::to_string(i));
}

// 100,000 root entities inserted, then the first paint (the synchronisation
// that makes the nodes included).
void BM_Insert100kThenFirstPaint(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto t = MakeTree();
    TBitmap shot;
    state.ResumeTiming();
    Fill(*t, kEntities);
    t->PaintTo(&shot);
    state.PauseTiming();
    if (t->GetItems()->Count() != 2 * kEntities) state.SkipWithError("nodes missing");  // each with its placeholder
    t.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Insert100kThenFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

// 10,000 mixed changes (inserts, deletes, moves, renames, a quarter each) in a
// 100,000-entity tree, then one synchronisation. The time is the
// synchronisation's; applying the changes to the lists is reported apart.
void BM_Burst10kInto100k(benchmark::State& state) {
  long long operations = 0;
  double changesMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto t = MakeTree();
    Fill(*t, kEntities);
    t->EnsureDisplayUpToDate();
    const long long before = t->GetNodeOperationCount();
    std::mt19937 rng(7);
    TvxDataList* roots = t->GetRootDataList();
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < 10000; ++k) {
      std::uniform_int_distribution<int> any(0, roots->Count() - 1);
      const int i = any(rng);
      switch (k % 4) {
        case 0: t->InsertDataEntity(nullptr, i)->SetText("New " + std::to_string(k)); break;
        case 1: t->RemoveDataEntity(static_cast<TvxDataEntity_Tree*>(roots->GetItems(i))); break;
        case 2: roots->GetItems(i)->Move(any(rng)); break;
        default: static_cast<TvxDataEntity_Tree*>(roots->GetItems(i))->SetText("Renamed " + std::to_string(k)); break;
      }
    }
    changesMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    state.ResumeTiming();
    t->EnsureDisplayUpToDate();
    state.PauseTiming();
    operations = t->GetNodeOperationCount() - before;
    if (t->GetItems()->RootCount() != roots->Count()) state.SkipWithError("nodes and entities differ");
    t.reset();
    state.ResumeTiming();
  }
  state.counters["node_operations"] = static_cast<double>(operations);
  state.counters["changes_ms"] = changesMs;
}
BENCHMARK(BM_Burst10kInto100k)->Unit(benchmark::kMillisecond)->Iterations(3);

// 10,000 scattered inserts and deletes in a 100,000-entity tree, each followed
// by the list index of a random entity, then the synchronisation: the whole
// burst as an application that edits a large plan pays for it.
void BM_TreeScatteredBurst10kIn100k(benchmark::State& state) {
  long long operations = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto t = MakeTree();
    Fill(*t, kEntities);
    t->EnsureDisplayUpToDate();
    const long long before = t->GetNodeOperationCount();
    std::mt19937 rng(13);
    TvxDataList* roots = t->GetRootDataList();
    long long sum = 0;
    state.ResumeTiming();
    for (int k = 0; k < 10000; ++k) {
      std::uniform_int_distribution<int> any(0, roots->Count() - 1);
      if (k % 2 == 0)
        t->InsertDataEntity(nullptr, any(rng))->SetText("New " + std::to_string(k));
      else
        t->RemoveDataEntity(static_cast<TvxDataEntity_Tree*>(roots->GetItems(any(rng))));
      sum += roots->GetItems(any(rng))->ListIndex();
    }
    t->EnsureDisplayUpToDate();
    state.PauseTiming();
    benchmark::DoNotOptimize(sum);
    operations = t->GetNodeOperationCount() - before;
    if (t->GetItems()->RootCount() != roots->Count()) state.SkipWithError("nodes and entities differ");
    t.reset();
    state.ResumeTiming();
  }
  state.counters["node_operations"] = static_cast<double>(operations);
}
BENCHMARK(BM_TreeScatteredBurst10kIn100k)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
