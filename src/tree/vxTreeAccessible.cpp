// The tree's accessible content: its shown nodes, level by level.
#include <vxplan/tree/vxTreeAccessible.h>

#include <algorithm>

#include <vxplan/platform/ui/TreeView.h>

namespace vx {

bool TTreeAccessible::Live() const { return !fTree.IsDestroying() && fTree.GetItems(); }

TTreeNode* TTreeAccessible::Child(TTreeNode* theParent, int theIndex) {
  if (theIndex < 0) return nullptr;
  if (!theParent) return theIndex < fTree.GetItems()->RootCount() ? fTree.GetItems()->GetRoot(theIndex) : nullptr;
  return theIndex < theParent->Count() ? theParent->GetItem(theIndex) : nullptr;
}

TvxAccessibleId TTreeAccessible::IdOf(const TTreeNode* theNode) {
  if (!theNode || !Live() || theNode->GetTreeView() != &fTree || theNode->GetDeleting()) return vxAccessibleNone;
  TvxAccessiblePaths::TPath path;
  for (const TTreeNode* n = theNode; n; n = n->GetParent()) path.emplace_back(n->GetIndex(), 0);
  std::reverse(path.begin(), path.end());
  return fPaths.IdOf(path);
}

TTreeNode* TTreeAccessible::NodeOf(TvxAccessibleId theId) {
  const TvxAccessiblePaths::TPath* path = Live() ? fPaths.PathOf(theId) : nullptr;
  if (!path) return nullptr;
  TTreeNode* node = nullptr;
  for (const auto& step : *path) {
    node = Child(node, step.first);
    if (!node) return nullptr;
  }
  return node;
}

bool TTreeAccessible::Exists(TvxAccessibleId theId) {
  return theId == vxAccessibleRoot ? Live() : NodeOf(theId) != nullptr;
}

int TTreeAccessible::ChildCount(TvxAccessibleId theId) {
  if (theId == vxAccessibleRoot) return Live() ? fTree.GetItems()->RootCount() : 0;
  TTreeNode* node = NodeOf(theId);
  // A collapsed node's children do not show.
  return node && node->GetExpanded() ? node->Count() : 0;
}

TvxAccessibleId TTreeAccessible::ChildAt(TvxAccessibleId theId, int theIndex) {
  if (theIndex < 0 || theIndex >= ChildCount(theId)) return vxAccessibleNone;
  return IdOf(Child(theId == vxAccessibleRoot ? nullptr : NodeOf(theId), theIndex));
}

TvxAccessibleId TTreeAccessible::Parent(TvxAccessibleId theId) {
  TTreeNode* node = theId == vxAccessibleRoot ? nullptr : NodeOf(theId);
  if (!node) return vxAccessibleNone;
  return node->GetParent() ? IdOf(node->GetParent()) : vxAccessibleRoot;
}

int TTreeAccessible::IndexInParent(TvxAccessibleId theId) {
  TTreeNode* node = theId == vxAccessibleRoot ? nullptr : NodeOf(theId);
  return node ? node->GetIndex() : -1;
}

TvxAccessibleRole TTreeAccessible::Role(TvxAccessibleId theId) {
  return theId == vxAccessibleRoot ? arTree : arTreeItem;
}

std::string TTreeAccessible::Name(TvxAccessibleId theId) {
  TTreeNode* node = theId == vxAccessibleRoot ? nullptr : NodeOf(theId);
  return node ? node->GetText() : std::string();
}

std::string TTreeAccessible::Description(TvxAccessibleId theId) {
  TTreeNode* node = theId == vxAccessibleRoot ? nullptr : NodeOf(theId);
  if (!node) return {};
  const int siblings = node->GetParent() ? node->GetParent()->Count() : fTree.GetItems()->RootCount();
  return "Level " + std::to_string(node->GetLevel() + 1) + ", " + std::to_string(node->GetIndex() + 1) + " of " +
         std::to_string(siblings);
}

TvxAccessibleState TTreeAccessible::State(TvxAccessibleId theId) {
  if (theId == vxAccessibleRoot) return Live() ? TvxAccessibleState{asFocusable} : TvxAccessibleState{};
  TTreeNode* node = NodeOf(theId);
  if (!node) return {};
  TvxAccessibleState s{asSelectable, asFocusable};
  if (node->GetSelected()) s.Include(asSelected);
  if (node == fTree.GetSelected()) {
    s.Include(asActive);
    if (fTree.Focused()) s.Include(asFocused);
  }
  if (node->HasChildren()) s.Include(asExpandable);
  if (node->GetExpanded() && node->HasChildren()) s.Include(asExpanded);
  const TRect r = node->DisplayRect(false);
  if (r.Right <= r.Left || r.Bottom <= r.Top) s.Include(asOffscreen);
  return s;
}

TRect TTreeAccessible::Bounds(TvxAccessibleId theId) {
  if (theId == vxAccessibleRoot) return Live() ? fTree.GetClientRect() : TRect{};
  TTreeNode* node = NodeOf(theId);
  if (!node) return {};
  const TRect r = IntersectRect(node->DisplayRect(false), fTree.GetClientRect());
  return r.Right > r.Left && r.Bottom > r.Top ? r : TRect{};
}

TvxAccessibleId TTreeAccessible::NodeAt(int x, int y) { return Live() ? IdOf(fTree.GetNodeAt(x, y)) : vxAccessibleNone; }

TvxAccessibleId TTreeAccessible::Current() { return Live() ? IdOf(fTree.GetSelected()) : vxAccessibleNone; }

}  // namespace vx
