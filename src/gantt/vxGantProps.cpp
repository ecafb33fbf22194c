// The chart's settings that reach into its children: the left side's and the
// time axis's sizes, the print fonts, the grid's tree.
#include <algorithm>

#include <vxplan/gantt/vxGant.h>

namespace vx {

void TvxGant_ComBasic::SetScalerHeight(int theHeightAsked) {
  const int theHeight = std::clamp(theHeightAsked, 0, MostPartSize);
  fPanelAboveTree->SetHeight(std::max(theHeight - GridHeaderHeight(), 0));
  fPanelAboveScroll->SetHeight(theHeight);
  fDateScaler->SetHeight(theHeight);
  HandleTreeAlign(nullptr);
}

void TvxGant_ComBasic::MakeSureAllVisibleInTree() {
  const TScrollInfo info = fTree->GetScrollInfo(sbHorizontal);
  if (info.nMax > 0) SetTreeWidth(info.nMax);
}

int TvxGant_ComBasic::CountVisibleTreeViewItems(TCustomTreeView* theTreeView) {
  if (!theTreeView) return 0;
  // Every top-level node, and below each the children the view shows.
  std::function<int(TTreeNode*)> shown = [&](TTreeNode* node) {
    int n = 0;
    for (int k = 0; k < node->Count(); ++k) {
      TTreeNode* child = node->GetItem(k);
      if (child->IsVisible()) n += 1 + shown(child);
    }
    return n;
  };
  TTreeNodes* nodes = theTreeView->GetItems();
  int count = nodes->RootCount();
  for (int k = 0; k < nodes->RootCount(); ++k) count += shown(nodes->GetRoot(k));
  return count;
}

void TvxGant_ComBasic::_OnPrintResizeFont(TvxOffscreenPaint* theCaller, int& theFontSize, bool& theDefaultResize) {
  theDefaultResize = true;
  // The application hears which part prints: the area, the scaler or the grid.
  if (OnPrintResizeFont) OnPrintResizeFont(theCaller ? theCaller : fGA, theFontSize, theDefaultResize);
}

// --- the left side's settings: the tree's, passed on to the grid -----------------------

TvxDataEntity_GridTreeNode* TvxGant_ComBasic::GridNode_Add(TvxDataEntity_GridTreeNode* theParent) {
  return GetGridTree() ? GetGridTree()->AddDataEntity(theParent) : nullptr;
}

void TvxGant_ComBasic::GridNode_Remove(TvxDataEntity_GridTreeNode* theNode) {
  if (GetGridTree()) GetGridTree()->RemoveDataEntity(theNode);
}

}  // namespace vx
