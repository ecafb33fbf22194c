// Random tree, item and link operations on a chart, checked after every step
// against a plain reference: which nodes have rows, where every item lies, and
// which links exist between which items.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>

#include "GanttSupport.h"

using namespace vx;
using vxtest::TestGant;

namespace {

struct RefItem {
  int node;
  double start, stop;
};

class GanttModel {
public:
  explicit GanttModel(unsigned seed) : rng(seed) {}

  void Step();
  void Check();

private:
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  double Day() { return std::uniform_real_distribution<double>(-1, 8)(rng); }
  template <class M>
  int AnyKey(const M& m) {
    auto it = m.begin();
    std::advance(it, Rand(0, static_cast<int>(m.size()) - 1));
    return it->first;
  }
  void Forget(TvxDataEntity_Tree* node);

  std::mt19937 rng;
  TestGant g;
  std::map<int, TvxDataEntity_Tree*> nodes;
  std::map<int, TvxDataEntity_Kronit*> items;
  std::map<int, RefItem> ref;
  std::map<int, std::pair<int, int>> links;  // link id -> (owner id, target id)
  int nextId = 1;
};

void GanttModel::Forget(TvxDataEntity_Tree* node) {
  // A node takes its children, its row, the row's items and their links.
  TvxDataList* sub = node->GetSubDataList();
  for (int i = 0; i < sub->Count(); ++i) Forget(static_cast<TvxDataEntity_Tree*>(sub->GetItems(i)));
  const int id = node->GetUserIntegerReference();
  nodes.erase(id);
  for (auto it = ref.begin(); it != ref.end();) {
    if (it->second.node != id) {
      ++it;
      continue;
    }
    const int item = it->first;
    items.erase(item);
    for (auto l = links.begin(); l != links.end();)
      l = l->second.first == item || l->second.second == item ? links.erase(l) : std::next(l);
    it = ref.erase(it);
  }
}

void GanttModel::Step() {
  const int op = Rand(0, 99);
  if (op < 15 || nodes.empty()) {
    TvxDataEntity_Tree* parent = nodes.empty() || Rand(0, 2) == 0 ? nullptr : nodes[AnyKey(nodes)];
    TvxDataEntity_Tree* n = g.Node(parent, "n" + std::to_string(nextId));
    n->SetUserIntegerReference(nextId);
    nodes[nextId++] = n;
  } else if (op < 20) {
    TvxDataEntity_Tree* n = nodes[AnyKey(nodes)];
    Forget(n);
    g.GetTreeView()->RemoveDataEntity(n);
  } else if (op < 27) {
    TvxDataEntity_Tree* n = nodes[AnyKey(nodes)];
    n->Move(Rand(0, n->GetDataList()->Count() - 1));
  } else if (op < 37) {
    TvxDataEntity_Tree* n = nodes[AnyKey(nodes)];
    n->SetExpanded(!n->GetExpanded());
  } else if (op < 60) {
    const int node = AnyKey(nodes);
    double a = Day(), b = Day();
    if (a > b) std::swap(a, b);
    TvxDataEntity_Kronit* k = g.Item(nodes[node], a, b, Rand(0, 2));
    k->SetUserIntegerReference(nextId);
    items[nextId] = k;
    ref[nextId++] = {node, a, b};
  } else if (op < 68 && !items.empty()) {
    const int item = AnyKey(items);
    g.RemoveKronit(items[item]);
    items.erase(item);
    ref.erase(item);
    for (auto l = links.begin(); l != links.end();)
      l = l->second.first == item || l->second.second == item ? links.erase(l) : std::next(l);
  } else if (op < 78 && !items.empty()) {
    const int item = AnyKey(items);
    RefItem& r = ref[item];
    r.start = Day();
    r.stop = r.start + Rand(0, 40) / 10.0;
    items[item]->SetStartDateTime(TestGant::kDay0 + r.start);
    items[item]->SetStopDateTime(TestGant::kDay0 + r.stop);
    items[item]->DoInfoPush();
  } else if (op < 92 && items.size() >= 2) {
    const int from = AnyKey(items), to = AnyKey(items);
    TvxDataEntity_Link* l = g.AddLink();
    l->fLinkOwner = items[from];
    l->fLinkedTo = items[to];
    l->SetUserIntegerReference(nextId);
    links[nextId++] = {from, to};
  } else if (!links.empty()) {
    const int id = AnyKey(links);
    TvxDataList* list = g.GetLinks();
    for (int i = 0; i < list->Count(); ++i)
      if (list->GetItems(i)->GetUserIntegerReference() == id) list->Delete(i);
    links.erase(id);
  } else {
    g.GetDateScaler()->SetStart(TestGant::kDay0 + Rand(-2, 2));
    g.GetDateScaler()->SetStop(g.GetDateScaler()->GetStart() + 7);
  }
}

void GanttModel::Check() {
  ASSERT_EQ(g.GetRowList()->Count(), static_cast<int>(nodes.size()));
  for (auto& [id, node] : nodes) {
    TGantRow* row = g.RowOf(node);
    ASSERT_NE(row, nullptr) << "node " << id;
  }
  TvxDateScaler* s = g.GetDateScaler();
  int counted = 0;
  g.ForEachKronit([&](TvxDataEntity_Kronit*) { ++counted; });
  ASSERT_EQ(counted, static_cast<int>(items.size()));
  for (auto& [id, item] : items) {
    const RefItem& r = ref[id];
    ASSERT_EQ(item->GetRow(), g.RowOf(nodes[r.node])) << "item " << id;
    TRect expect = NoRect();
    const TRect band = g.GetTreeView()->GetRect(nodes[r.node]);
    if (band.Top != -1 && nodes[r.node]->GetVisible()) {
      const int left = s->DateToPixel(TestGant::kDay0 + r.start);
      expect = Rect(left, band.Top + 1, std::max(s->DateToPixel(TestGant::kDay0 + r.stop), left + 5), band.Bottom - 1);
    }
    ASSERT_EQ(g.RectFromDataEntity(item), expect) << "item " << id;
  }
  TvxDataList* list = g.GetLinks();
  ASSERT_EQ(list->Count(), static_cast<int>(links.size()));
  for (int i = 0; i < list->Count(); ++i) {
    auto* l = static_cast<TvxDataEntity_Link*>(list->GetItems(i));
    const auto& ends = links.at(l->GetUserIntegerReference());
    ASSERT_EQ(l->fLinkOwner, items.at(ends.first));
    ASSERT_EQ(l->fLinkedTo, items.at(ends.second));
  }
}

}  // namespace

TEST(GanttModel, RandomTreeItemAndLinkOperationsMatchTheReference) {
  const char* seedText = std::getenv("VX_GANTT_SEED");
  std::vector<unsigned> seeds{7u, 20261207u};
  if (seedText && *seedText) seeds = {static_cast<unsigned>(std::atoi(seedText))};
  for (unsigned seed : seeds) {
    GanttModel model(seed);
    for (int step = 0; step < 1500; ++step) {
      SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step) +
                   " (replay with VX_GANTT_SEED=" + std::to_string(seed) + ")");
      model.Step();
      if (::testing::Test::HasFatalFailure()) return;
      model.Check();
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}
