// The tree (alone and as the Gantt chart's left side) through Qt's
// accessibility: nodes level by level with expanded and current states, and
// focus events as the keys move the current node.
#include <gtest/gtest.h>

#include <QAccessible>
#include <memory>

#include "AccessibleSupport.h"
#include "GanttSupport.h"
#include "UiTestSupport.h"
#include <vxplan/tree/vxTree.h>

using namespace vx;
using vxtest::ChildNames;
using vxtest::FocusRecorder;

namespace {

// Design (Sketch, Review) and Build, in a shown tree of either kind.
template <class Add>
void Fill(Add theAdd) {
  TvxDataEntity_Tree* design = theAdd(nullptr, "Design");
  theAdd(design, "Sketch");
  theAdd(design, "Review");
  theAdd(nullptr, "Build");
}

struct TreeScene {
  std::unique_ptr<TvxTree> tree = std::make_unique<TvxTree>(nullptr);
  TreeScene() {
    tree->SetBounds(0, 0, 260, 200);
    Fill([&](TvxDataEntity_Tree* parent, const char* text) {
      TvxDataEntity_Tree* e = tree->AddDataEntity(parent);
      e->SetText(text);
      return e;
    });
    tree->EnsureDisplayUpToDate();
    vxtest::ShowWindow(tree.get());
  }
  TCustomTreeView* View() { return tree.get(); }
  TvxDataEntity_Tree* Root(int i) { return static_cast<TvxDataEntity_Tree*>(tree->GetRootDataList()->GetItems(i)); }
};

struct GanttScene {
  std::unique_ptr<vxtest::ShownGant> g = std::make_unique<vxtest::ShownGant>();
  std::vector<TvxDataEntity_Tree*> roots;
  GanttScene() {
    Fill([&](TvxDataEntity_Tree* parent, const char* text) {
      TvxDataEntity_Tree* e = g->Node(parent, text);
      if (!parent) roots.push_back(e);
      return e;
    });
    vxtest::ProcessEventsUntilIdle();
  }
  TCustomTreeView* View() { return g->GetTreeView(); }
  TvxDataEntity_Tree* Root(int i) { return roots[static_cast<size_t>(i)]; }
};

template <class Scene>
void WalkTheTree() {
  Scene s;
  QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(s.View());
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->role(), QAccessible::Tree);
  EXPECT_EQ(ChildNames(tree), (std::vector<QString>{"Design", "Build"}));
  QAccessibleInterface* design = tree->child(0);
  ASSERT_NE(design, nullptr);
  EXPECT_EQ(design->role(), QAccessible::TreeItem);
  // Collapsed: its children do not show.
  EXPECT_TRUE(design->state().expandable);
  EXPECT_TRUE(design->state().collapsed);
  EXPECT_EQ(design->childCount(), 0);
  s.Root(0)->SetExpanded(true);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_TRUE(design->state().expanded);
  ASSERT_EQ(ChildNames(design), (std::vector<QString>{"Sketch", "Review"}));
  QAccessibleInterface* review = design->child(1);
  EXPECT_EQ(review->parent(), design);
  EXPECT_EQ(design->indexOfChild(review), 1);
  EXPECT_EQ(review->text(QAccessible::Description), "Level 2, 2 of 2");
  EXPECT_FALSE(review->state().expanded);
  EXPECT_TRUE(tree->rect().contains(review->rect()));
  EXPECT_EQ(tree->childAt(review->rect().center().x(), review->rect().center().y()), review);
  EXPECT_FALSE(tree->child(1)->state().expanded);

  FocusRecorder recorder;
  s.View()->SetFocus();
  s.View()->SetSelected(s.View()->GetItems()->GetRoot(0));
  ASSERT_FALSE(recorder.Names().empty());
  EXPECT_EQ(recorder.Names().back(), "Design");
  vxtest::ExpectFocusWalk(recorder, s.View(),
                          {{Qt::Key_Down, "Sketch"}, {Qt::Key_Down, "Review"}, {Qt::Key_Down, "Build"},
                           {Qt::Key_Up, "Review"}});
  // The node goes: what was made for it answers "gone".
  const QAccessible::Id reviewId = QAccessible::uniqueId(design->child(1));
  s.Root(0)->SetExpanded(false);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(ChildNames(tree), (std::vector<QString>{"Design", "Build"}));
  static_cast<TvxTree_ComBasic*>(s.View())->GetRootDataList()->Delete(0);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(QAccessible::accessibleInterface(reviewId), nullptr);
  EXPECT_EQ(ChildNames(QAccessible::queryAccessibleInterface(s.View())), (std::vector<QString>{"Build"}));
}

TEST(TreeAccessible, NodesLevelByLevelAndFocusOnKeys) { WalkTheTree<TreeScene>(); }

TEST(TreeAccessible, TheGanttChartsTreeSideToo) { WalkTheTree<GanttScene>(); }

}  // namespace
