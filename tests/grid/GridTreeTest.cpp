// The grid tree: rows in step with the nodes through bursts of changes, tree
// buttons through real input, a tree in a sub-tree column, sorting a tree,
// the expanded state, and rows unloaded and loaded again.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "UiTestSupport.h"
#include <vxplan/grid/vxGrid.h>

using namespace vx;

namespace {

struct TreeScene {
  // Before the grid: its tree reports into them while it goes.
  std::set<TvxDataEntity_GridTreeNode*> alive;
  std::vector<std::string> events;
  TvxGrid grid{nullptr};
  TBabGridCellForViewer* g = grid.GetBabGridCellForViewer();
  TvxGridTree* tree = nullptr;

  TreeScene() {
    grid.SetBounds(0, 0, 400, 400);
    TvxGrid_Column* c = grid.AddColumn();
    c->SetTreeButton(true);
    c->SetWidth(150);
    c->SetSortEnable(true);
    grid.SetUseTree(true);
    tree = grid.GetTree();
    tree->fOnDeleteItem = [this](TvxGridTree*, TvxDataEntity_GridTreeNode* n) { alive.erase(n); };
    tree->fOnIntegrationEvents = [this](TIntegrationEventKind k, TvxDataEntity*) {
      if (k == ieInsert || k == ieRemove) events.push_back(k == ieInsert ? "+" : "-");
    };
  }
  TvxDataEntity_GridTreeNode* Add(TvxDataEntity_GridTreeNode* theParent, const std::string& theText) {
    TvxDataEntity_GridTreeNode* n = tree->AddDataEntity(theParent);
    alive.insert(n);
    grid.SetText(g->getCell(1, n->GetAxisContentItem()->ListIndex()), theText);
    return n;
  }
  std::string Text(TvxDataEntity_GridTreeNode* n) {
    return grid.GetText(g->getCell(1, n->GetAxisContentItem()->ListIndex()));
  }
  // Texts of the rows that show, top down.
  std::vector<std::string> Shown() {
    std::vector<std::string> r;
    TAxisContentList* rows = g->GetAxisContentListY();
    for (int y = g->GetFixedRows(); y < rows->Count(); ++y)
      if (!rows->getAxisContentItem(y)->GetHide()) r.push_back(grid.GetText(g->getCell(1, y)));
    return r;
  }
  TvxDataEntity_GridTreeNode* FirstRoot() {
    return static_cast<TvxDataEntity_GridTreeNode*>(tree->GetRootDataEntities()->GetItems(0));
  }
  // Every row stands for a live node, in tree order; the rows that show are
  // the visible nodes in order.
  void CheckInStep() {
    TAxisContentList* rows = g->GetAxisContentListY();
    ASSERT_EQ(rows->Count() - g->GetFixedRows(), static_cast<int>(alive.size()));
    TvxDataEntity_GridTreeNode* n = tree->GetRootDataEntities()->Count() ? FirstRoot() : nullptr;
    TvxDataEntity_GridTreeNode* v = n && n->IsVisible() ? n : (n ? n->GetNextVisible() : nullptr);
    for (int y = g->GetFixedRows(); y < rows->Count(); ++y) {
      TAxisContentItem* item = rows->getAxisContentItem(y);
      TvxDataEntity_GridTreeNode* node = TvxGrid::AxisContentItemToGridTreeNode(item);
      ASSERT_TRUE(alive.count(node)) << "row " << y;
      ASSERT_EQ(node, n) << "row " << y;
      ASSERT_EQ(node->GetAxisContentItem(), item);
      ASSERT_EQ(item->GetHide(), !node->IsVisible()) << "row " << y;
      if (!item->GetHide()) {
        ASSERT_EQ(node, v) << "row " << y;
        v = v->GetNextVisible();
      }
      n = n->GetNext();
    }
    ASSERT_EQ(n, nullptr);
  }
};

using Strings = std::vector<std::string>;

}  // namespace

TEST(GridTree, RowsStayInStepThroughBurstsOfChanges) {
  TreeScene s;
  std::mt19937 rng(11);
  auto rand = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto any = [&]() {
    auto it = s.alive.begin();
    std::advance(it, rand(0, static_cast<int>(s.alive.size()) - 1));
    return *it;
  };
  int made = 0;
  for (int burst = 0; burst < 60; ++burst) {
    for (int step = 0; step < 12; ++step) {
      const int op = rand(0, 9);
      if (op < 4 || s.alive.size() < 3) {
        s.Add(s.alive.empty() || rand(0, 2) == 0 ? nullptr : any(), "n" + std::to_string(made++));
      } else if (op == 4) {
        s.tree->RemoveDataEntity(any());
      } else if (op == 5) {
        TvxDataEntity_GridTreeNode* n = any();
        n->Move(rand(0, n->GetDataList()->Count() - 1));
      } else if (op == 6) {
        TvxDataEntity_GridTreeNode* n = any();
        n->SetExpanded(!n->GetExpanded());
      } else if (op == 7) {
        TvxDataEntity_GridTreeNode* n = any();
        n->Set_HideNode(!n->Get_HideNode());
        n->UpdateVisibility();
      } else {
        // A node moves under a parent that is not one of its own descendants.
        TvxDataEntity_GridTreeNode* n = any();
        TvxDataEntity_GridTreeNode* p = any();
        bool inside = false;
        for (TvxDataEntity_GridTreeNode* a = p; a; a = a->ParentNode()) inside |= a == n;
        if (!inside) n->ChangeOwner(p->GetSubDataList(), 0);
      }
    }
    SCOPED_TRACE("burst " + std::to_string(burst));
    s.CheckInStep();
    if (::testing::Test::HasFatalFailure()) return;
    s.grid.UpdateLayout();
  }
  // Every node came and went with exactly one insert and one remove.
  const long inserts = std::count(s.events.begin(), s.events.end(), "+");
  const long removes = std::count(s.events.begin(), s.events.end(), "-");
  EXPECT_EQ(inserts - removes, static_cast<long>(s.alive.size()));
}

TEST(GridTree, ButtonsExpandThroughRealInputAndTheChildrenAreAskedForOnce) {
  TreeScene s;
  int asked = 0;
  s.grid.OnInitTreeSubDataList = [&](TvxGrid*, TvxGridTree*, TvxDataEntity_GridTreeNode* n) {
    ++asked;
    for (int k = 0; k < 2; ++k) s.Add(n, s.Text(n) + "." + std::to_string(k));
  };
  TvxDataEntity_GridTreeNode* a = s.Add(nullptr, "a");
  s.Add(nullptr, "b");
  EXPECT_EQ(s.Shown(), (Strings{"a", "b"}));
  vxtest::ShowWindow(&s.grid);
  // The button of "a" sits at the left of its cell (x 21.., row y 22..42).
  vxtest::MousePress(&s.grid, 28, 31);
  vxtest::MouseRelease(&s.grid, 28, 31);
  EXPECT_TRUE(a->GetExpanded());
  EXPECT_EQ(s.Shown(), (Strings{"a", "a.0", "a.1", "b"}));
  a->SetExpanded(false);
  a->SetExpanded(true);
  EXPECT_EQ(asked, 1);
  // Children are indented a level; a collapsed parent hides all below it.
  TvxDataEntity_GridTreeNode* child = static_cast<TvxDataEntity_GridTreeNode*>(a->GetSubDataList()->GetItems(0));
  s.grid.OnInitTreeSubDataList = nullptr;
  child->SetExpanded(true);
  s.Add(child, "a.0.x");
  EXPECT_EQ(s.grid.GetParentButtonCell(s.g->getCell(1, child->GetAxisContentItem()->ListIndex())),
            s.g->getCell(1, a->GetAxisContentItem()->ListIndex()));
  a->SetExpanded(false);
  EXPECT_EQ(s.Shown(), (Strings{"a", "b"}));
  a->SetExpanded(true);
  EXPECT_EQ(s.Shown(), (Strings{"a", "a.0", "a.0.x", "a.1", "b"}));
  child->SetExpanded(false);
  EXPECT_EQ(s.Shown(), (Strings{"a", "a.0", "a.1", "b"}));
  // A refused collapse changes nothing.
  s.tree->fOnCollapse = [](TvxGridTree*, TvxDataEntity_GridTreeNode*, bool& allow) { allow = false; };
  a->SetExpanded(false);
  EXPECT_TRUE(a->GetExpanded());
  s.CheckInStep();
}

TEST(GridTree, SortingKeepsChildrenBelowTheirParentAndTheExpandedStateComesBack) {
  TreeScene s;
  TvxDataEntity_GridTreeNode* b = s.Add(nullptr, "b");
  TvxDataEntity_GridTreeNode* a = s.Add(nullptr, "a");
  for (const char* t : {"b2", "b1"}) s.Add(b, t);
  s.Add(a, "a1");
  a->SetExpanded(true);
  b->SetExpanded(true);
  s.grid.SortColumn(0, false);
  EXPECT_EQ(s.Shown(), (Strings{"a", "a1", "b", "b1", "b2"}));
  EXPECT_EQ(s.FirstRoot(), a);
  s.grid.SortColumn(0, true);
  EXPECT_EQ(s.Shown(), (Strings{"b", "b2", "b1", "a", "a1"}));
  s.CheckInStep();

  // Saved twice before the message loop runs: the first snapshot counts.
  s.grid.ExpandedStateSave();
  a->SetExpanded(false);
  s.grid.ExpandedStateSave();
  b->SetExpanded(false);
  s.grid.ExpandedStateRestore();
  EXPECT_TRUE(a->GetExpanded() && b->GetExpanded());
}

TEST(GridTree, SubTreeColumnsKeepTreesOfTheirOwn) {
  TvxGrid grid(nullptr);
  grid.SetBounds(0, 0, 400, 300);
  grid.AddColumn()->SetWidth(60);
  TvxGrid_Column* tasks = grid.AddColumn();
  tasks->SetKind(tckSubTree);
  tasks->SetSubGridName("Tasks");
  TvxGrid_SubGrid* def = grid.GetSubGrids()->Add();
  def->SetName("Tasks");
  def->SetHasInfoCol(false);
  def->GetColumns()->Add()->SetTreeButton(true);
  grid.EnsureFixed();
  grid.AddRow(nullptr);
  grid.AddRow(nullptr);
  TBabCell* cell = grid.GetCell(2, 1);
  TvxGridTree* t = grid.GetTreeInSubGrid(cell);
  ASSERT_NE(t, nullptr);
  EXPECT_NE(t, grid.GetTreeInSubGrid(grid.GetCell(2, 2)));
  EXPECT_EQ(grid.GetTree(), nullptr);
  auto* nested = static_cast<TBabGridCell*>(cell);
  TvxDataEntity_GridTreeNode* root = t->AddDataEntity(nullptr);
  TvxDataEntity_GridTreeNode* kid = t->AddDataEntity(root);
  EXPECT_EQ(nested->GetAxisContentListY()->Count(), 3);  // header, root, hidden child
  EXPECT_TRUE(kid->GetAxisContentItem()->GetHide());
  root->SetExpanded(true);
  EXPECT_FALSE(kid->GetAxisContentItem()->GetHide());
  EXPECT_EQ(TvxGrid::CellToNode(nested->getCell(0, 2)), kid);
  EXPECT_EQ(grid.CellInset(nested->getCell(0, 2)), 1);
  // The row that holds the nested tree goes: the tree and its nodes with it.
  grid.GetBabGridCellForViewer()->GetAxisContentListY()->Drop(1);
  EXPECT_EQ(grid.GetBabGridCellForViewer()->GetAxisContentListY()->Count(), 2);
}

TEST(GridTree, UnloadedRootRowsComeBackByTheirPlaceInTheRootList) {
  TreeScene s;
  s.grid.SetBounds(0, 0, 300, 130);  // a few rows show
  s.grid.OnVirtualUnLoad = [](TBabGridCell*, TAxisContentItem*, bool isRow, bool, bool& can) { can = isRow; };
  // The host fills the rows that come back from their nodes.
  s.grid.OnVirtualLoad = [&](TBabGridCell* c, TAxisContentItem* item, bool isRow) {
    TvxDataEntity_GridTreeNode* n = TvxGrid::AxisContentItemToGridTreeNode(item);
    if (isRow && n) s.grid.SetText(c->getCell(1, item->ListIndex()), "r" + std::to_string(n->ListIndex()));
  };
  for (int r = 0; r < 600; ++r) s.Add(nullptr, "r" + std::to_string(r));
  s.grid.UpdateLayout();
  TAxisContentList* rows = s.g->GetAxisContentListY();
  s.g->SetTop(rows->Count() - 3);
  s.grid.UpdateLayout();
  ASSERT_GT(rows->GetUnloadedPreCount(), 0);
  EXPECT_EQ(rows->Count(), 601);
  s.g->SetTop(1);
  s.grid.UpdateLayout();
  vxtest::ProcessEventsUntilIdle();
  TvxDataList* roots = s.tree->GetRootDataEntities();
  EXPECT_EQ(roots->Count(), 600);
  for (int y = 1; y <= 4; ++y) {
    TAxisContentItem* item = rows->getAxisContentItem(y);
    TvxDataEntity_GridTreeNode* n = TvxGrid::AxisContentItemToGridTreeNode(item);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n, roots->GetItems(y - 1));
    EXPECT_EQ(n->GetAxisContentItem(), item);
    EXPECT_EQ(s.grid.GetText(s.g->getCell(1, y)), "r" + std::to_string(y - 1));
  }
}

// An application may drop a tree row straight from the grid's rows (in a
// handler, say) instead of removing its node: the node forgets the row, and
// folding, sorting, removing and painting go on without it.
TEST(GridTree, ARowDroppedUnderItsNodeIsForgotten) {
  TreeScene s;
  TvxDataEntity_GridTreeNode* a = s.Add(nullptr, "a");
  TvxDataEntity_GridTreeNode* a1 = s.Add(a, "a1");
  s.Add(a, "a2");
  s.Add(nullptr, "b");
  a->SetExpanded(true);
  s.grid.UpdateLayout();
  s.g->GetAxisContentListY()->Drop(a1->GetAxisContentItem()->ListIndex());
  EXPECT_EQ(a1->GetAxisContentItem(), nullptr);
  EXPECT_EQ(s.Shown(), (Strings{"a", "a2", "b"}));
  a->SetExpanded(false);
  a->SetExpanded(true);
  s.tree->CollapseAll();
  s.tree->ExpandAll();
  EXPECT_EQ(s.Shown(), (Strings{"a", "a2", "b"}));
  s.tree->RemoveDataEntity(a1);
  s.grid.UpdateLayout();
  TBitmap shot;
  s.grid.PaintTo(&shot);
  EXPECT_EQ(s.Shown(), (Strings{"a", "a2", "b"}));
}
