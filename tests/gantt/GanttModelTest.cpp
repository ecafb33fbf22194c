// Random tree, grid-tree, item and link operations on a chart, switching
// between its tree and its grid side, checked after every step against a
// plain reference: which nodes have rows (each reported as it comes and
// goes), which row lies at a band, where every item lies (and that items of
// the side not shown have no place), and which links exist.
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

// A node of either side.
struct Node {
  TvxDataEntity_Tree* tree = nullptr;
  TvxDataEntity_GridTreeNode* grid = nullptr;
  TvxDataEntity* Entity() const { return tree ? static_cast<TvxDataEntity*>(tree) : grid; }
  TvxDataList* Children() const { return tree ? static_cast<TvxDataList*>(tree->GetSubDataList()) : grid->PeekSubDataList(); }
};

class GanttModel {
public:
  GanttModel(unsigned seed, bool withGrid) : rng(seed), fWithGrid(withGrid) {
    g.OnAfterAddGantRow = [this](TGantRowList*, TGantRow*) { ++added; };
    g.OnBeforeFreeGantRow = [this](TGantRowList*, TGantRow*) { ++freed; };
    g.GetTreeView()->OnSortCompare = [](TvxDataEntity* x, TvxDataEntity* y) {  // by text, backwards
      return static_cast<TvxDataEntity_Tree*>(y)->GetText().compare(
          static_cast<TvxDataEntity_Tree*>(x)->GetText());
    };
  }

  void Step();
  void Check();
  // Items checked at a place on the grid side (so that the check is not idle).
  int GridPlaces() const { return gridPlaces; }

private:
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  double Day() { return std::uniform_real_distribution<double>(-1, 8)(rng); }
  template <class M>
  int AnyKey(const M& m) {
    auto it = m.begin();
    std::advance(it, Rand(0, static_cast<int>(m.size()) - 1));
    return it->first;
  }
  void Forget(TvxDataEntity* node);
  void AddNode();
  TRect Band(const Node& n);
  TGantRow* RowOf(const Node& n) {
    return n.tree ? g.RowOf(n.tree) : g.GetRowList()->FindRowFromGridNode(n.grid);
  }

  std::mt19937 rng;
  bool fWithGrid;
  TestGant g;
  std::map<int, Node> nodes;
  std::map<int, TvxDataEntity_Kronit*> items;
  std::map<int, RefItem> ref;
  std::map<int, std::pair<int, int>> links;  // link id -> (owner id, target id)
  int nextId = 1;
  int gridPlaces = 0;
  int added = 0, freed = 0, forgotten = 0;  // rows reported, nodes removed
};

void GanttModel::Forget(TvxDataEntity* node) {
  // A node takes its children, its row, the row's items and their links.
  const int id = node->GetUserIntegerReference();
  TvxDataList* sub = nodes[id].Children();
  for (int i = 0; sub && i < sub->Count(); ++i) Forget(sub->GetItems(i));
  nodes.erase(id);
  ++forgotten;
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
    AddNode();
  } else if (op < 20) {
    const Node n = nodes[AnyKey(nodes)];
    Forget(n.Entity());
    if (n.tree)
      g.GetTreeView()->RemoveDataEntity(n.tree);
    else
      g.GridNode_Remove(n.grid);
  } else if (op < 25) {
    TvxDataEntity* n = nodes[AnyKey(nodes)].Entity();
    n->Move(Rand(0, n->GetDataList()->Count() - 1));
  } else if (op < 27) {
    g.GetTreeView()->GetRootDataList()->Sort(false);
  } else if (op < 37) {
    const Node n = nodes[AnyKey(nodes)];
    if (n.tree)
      n.tree->SetExpanded(!n.tree->GetExpanded());
    else
      n.grid->SetExpanded(!n.grid->GetExpanded());
  } else if (op < 60) {
    const int node = AnyKey(nodes);
    double a = Day(), b = Day();
    if (a > b) std::swap(a, b);
    TvxDataEntity_Kronit* k = g.AddKronitToGantRow(RowOf(nodes[node]), Rand(0, 2));
    k->SetStartDateTime(TestGant::kDay0 + a);
    k->SetStopDateTime(TestGant::kDay0 + b);
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
  } else if (op < 96 && !links.empty()) {
    const int id = AnyKey(links);
    TvxDataList* list = g.GetLinks();
    for (int i = 0; i < list->Count(); ++i)
      if (list->GetItems(i)->GetUserIntegerReference() == id) list->Delete(i);
    links.erase(id);
  } else if (fWithGrid && Rand(0, 2) == 0) {
    g.SetUseGridNotTree(!g.GetUseGridNotTree());
  } else if (fWithGrid && Rand(0, 1) == 0) {
    g.GetGrid()->GetBabGridCellForViewer()->SetTop(Rand(1, 40));
  } else {
    g.GetDateScaler()->SetStart(TestGant::kDay0 + Rand(-2, 2));
    g.GetDateScaler()->SetStop(g.GetDateScaler()->GetStart() + Rand(3, 14));  // zoomed in or out
  }
}

void GanttModel::AddNode() {
  Node n;
  const bool grid = fWithGrid && Rand(0, 1) == 0;
  // A parent of the same side, or a root node.
  std::vector<int> parents;
  for (auto& [id, p] : nodes)
    if ((p.grid != nullptr) == grid) parents.push_back(id);
  const Node* parent = parents.empty() || Rand(0, 2) == 0 ? nullptr : &nodes[parents[Rand(0, static_cast<int>(parents.size()) - 1)]];
  if (grid)
    n.grid = g.GridNode_Add(parent ? parent->grid : nullptr);
  else
    n.tree = g.Node(parent ? parent->tree : nullptr, "n" + std::to_string(nextId));
  n.Entity()->SetUserIntegerReference(nextId);
  nodes[nextId++] = n;
}

// The band of a node's row as its side shows it: the tree's rectangle of the
// node, or the painted grid row moved into the area's coordinates.
TRect GanttModel::Band(const Node& n) {
  if (n.tree) {
    const TRect r = g.GetTreeView()->GetRect(n.tree);  // brings the tree's display up to date first
    return g.GetUseGridNotTree() || !n.tree->GetVisible() ? NoRect() : r;
  }
  TAxisContentItem* row = n.grid->GetAxisContentItem();
  if (!g.GetUseGridNotTree() || !row || row->GetHide() || !row->GetIsOnScreen()) return NoRect();
  TvxGrid* grid = g.GetGrid();
  const TRect cell = grid->GetCell(1, row->ListIndex())->GetLastDrawnRect();
  const int top = g.GetGA()->ScreenToClient(grid->ClientToScreen(Point(0, cell.Top))).Y;
  return Rect(0, top, 0, top + row->GetCalculatedSize());
}

void GanttModel::Check() {
  if (g.GetUseGridNotTree()) {
    // The grid as the user sees it, so that its rows have their places.
    TBitmap shot;
    g.GetGA()->PaintTo(&shot);
    g.GetGrid()->PaintTo(&shot);
  }
  // Each row reported once as it comes and once as it goes, never while the chart lives on.
  ASSERT_EQ(g.GetRowList()->Count(), static_cast<int>(nodes.size()));
  ASSERT_EQ(added - freed, static_cast<int>(nodes.size()));
  ASSERT_EQ(freed, forgotten);
  for (auto& [id, node] : nodes) {
    TGantRow* row = RowOf(node);
    ASSERT_NE(row, nullptr) << "node " << id;
    const TRect band = Band(node);
    if (band.Top != -1) {
      ASSERT_EQ(g.GetRowList()->FindRowFromY((band.Top + band.Bottom) / 2), row) << "node " << id;
    }
  }
  TvxDateScaler* s = g.GetDateScaler();
  int counted = 0;
  g.ForEachKronit([&](TvxDataEntity_Kronit*) { ++counted; });
  ASSERT_EQ(counted, static_cast<int>(items.size()));
  for (auto& [id, item] : items) {
    const RefItem& r = ref[id];
    ASSERT_EQ(item->GetRow(), RowOf(nodes[r.node])) << "item " << id;
    TRect expect = NoRect();
    const TRect band = Band(nodes[r.node]);
    if (band.Top != -1) {
      gridPlaces += nodes[r.node].grid != nullptr;
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

// Steps a model of each seed (or of VX_GANTT_SEED) and checks it after every
// step; theAfter looks at each model at its end.
template <class F>
void RunModels(std::vector<unsigned> theSeeds, bool theGridSide, int theSteps, F theAfter) {
  const char* seedText = std::getenv("VX_GANTT_SEED");
  if (seedText && *seedText) theSeeds = {static_cast<unsigned>(std::atoi(seedText))};
  for (unsigned seed : theSeeds) {
    GanttModel model(seed, theGridSide);
    for (int step = 0; step < theSteps; ++step) {
      SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step) +
                   " (replay with VX_GANTT_SEED=" + std::to_string(seed) + ")");
      model.Step();
      if (::testing::Test::HasFatalFailure()) return;
      model.Check();
      if (::testing::Test::HasFatalFailure()) return;
    }
    theAfter(model);
  }
}

TEST(GanttModel, RandomTreeItemAndLinkOperationsMatchTheReference) {
  RunModels({7u, 20261207u}, false, 1500, [](GanttModel&) {});
}

TEST(GanttModel, RandomOperationsOnBothSidesWithSwitchingMatchTheReference) {
  RunModels({3u, 20261208u}, true, 800, [](GanttModel& model) {
    EXPECT_GT(model.GridPlaces(), 500);
  });
}
