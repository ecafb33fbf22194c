#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/ui/Accessible.h>

namespace vx {

class TCustomTreeView;
class TTreeNode;

// A tree view as assistive technology sees it: its root nodes as children,
// an expanded node's children under it, each with its text, and its
// expanded, selected and current states. A node is known by its path of
// child indexes, looked up afresh on every call.
class VX_API TTreeAccessible : public TvxAccessibleContent {
public:
  explicit TTreeAccessible(TCustomTreeView& theTree) : fTree(theTree) {}

  TvxAccessibleId IdOf(const TTreeNode* theNode);
  // The node of theId; nil when it has gone.
  TTreeNode* NodeOf(TvxAccessibleId theId);

  bool Exists(TvxAccessibleId theId) override;
  int ChildCount(TvxAccessibleId theId) override;
  TvxAccessibleId ChildAt(TvxAccessibleId theId, int theIndex) override;
  TvxAccessibleId Parent(TvxAccessibleId theId) override;
  int IndexInParent(TvxAccessibleId theId) override;
  TvxAccessibleRole Role(TvxAccessibleId theId) override;
  std::string Name(TvxAccessibleId theId) override;
  std::string Description(TvxAccessibleId theId) override;
  TvxAccessibleState State(TvxAccessibleId theId) override;
  TRect Bounds(TvxAccessibleId theId) override;
  TvxAccessibleId NodeAt(int x, int y) override;
  TvxAccessibleId Current() override;

private:
  bool Live() const;
  TTreeNode* Child(TTreeNode* theParent, int theIndex);

  TCustomTreeView& fTree;
  TvxAccessiblePaths fPaths;
};

}  // namespace vx
