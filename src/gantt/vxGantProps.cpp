// The chart's settings that reach into its children: the left side's and the
// time axis's sizes, the tree's events, the tab sheets, the settings the
// grid shares with the tree.
#include <algorithm>

#include "gantt/vxGant.h"

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

void TvxGant_ComBasic::SetCursorGantArea(TCursor v) {
  fCursorGantArea = v;
  if (fGA) fGA->SetCursor(v);
}

void TvxGant_ComBasic::_OnPrintResizeFont(TvxOffscreenPaint*, int& theFontSize, bool& theDefaultResize) {
  theDefaultResize = true;
  if (OnPrintResizeFont) OnPrintResizeFont(fGA, theFontSize, theDefaultResize);
}

// --- tab sheets -----------------------------------------------------------------------

bool TvxGant_ComBasic::GetUseTabSheets() const { return fPageControl && fPageControl->GetVisible(); }

void TvxGant_ComBasic::SetUseTabSheets(bool v) {
  if (!fPageControl || v == GetUseTabSheets()) return;
  TWinControl* holder = v ? static_cast<TWinControl*>(fGantTabSheet) : this;
  if (v) {
    fGantTabSheet->SetPageControl(fPageControl);
    fPageControl->SetVisible(true);
  }
  fPanelScaleAndGantHolder->SetParent(holder);
  fPanelScrollHolder->SetParent(holder);
  if (v) {
    fPageControl->SetActivePage(fGantTabSheet);
    fGantTabSheet->BringToFront();
  } else {
    fPageControl->SetVisible(false);
  }
  Realign();
  LineUpTreeWithArea();
}

void TvxGant_ComBasic::LineUpTreeWithArea() {
  // The tree's first row at the height of the area's top.
  Realign();
  if (fPageControl->GetVisible()) fPageControl->Realign();
  fPanelScaleAndGantHolder->Realign();
  const int areaTop = fGA->ClientToScreen(Point(0, 0)).Y;
  const int treeTop = fPanelTreeHolder->ClientToScreen(Point(0, 0)).Y;
  fPanelAboveTree->SetHeight(std::max(areaTop - treeTop - GridHeaderHeight(), 0));
}

void TvxGant_ComBasic::AddTabSheet(TTabSheet* theSheet, TTabSheetTreeChange h1, TTabSheetChanging h2, TNotifyEvent h3,
                                   TNotifyEvent h4) {
  if (!theSheet || !fPageControl) return;
  theSheet->SetPageControl(fPageControl);
  auto record = std::make_unique<TTabSheetRecord>();
  record->fSheet = theSheet;
  record->fOnTreeChange = std::move(h1);
  record->fOnChanging = std::move(h2);
  record->fOnOther = std::move(h3);
  record->fOnPageEvent = std::move(h4);
  fTreeChangeNotifyList.push_back(std::move(record));
}

void TvxGant_ComBasic::PageChanging(TObject* Sender, bool& AllowChange) {
  AllowChange = true;
  if (IsDestroying() || IsDesigning()) return;
  for (auto& r : fTreeChangeNotifyList)
    if (r->fSheet == fPageControl->GetActivePage()) {
      if (r->fOnChanging) r->fOnChanging(Sender, AllowChange);
      if (r->fOnPageEvent) r->fOnPageEvent(Sender);
    }
}

void TvxGant_ComBasic::PageChange(TObject* Sender) {
  if (IsDestroying() || IsDesigning()) return;
  for (auto& r : fTreeChangeNotifyList)
    if (r->fSheet == fPageControl->GetActivePage() && r->fOnPageEvent) r->fOnPageEvent(Sender);
  ChangeInTree();
}

void TvxGant_ComBasic::ChangeInTree() {
  if (IsDestroying() || !fTree) return;
  TGantRow* row = fRowList->FindRowFromTreeNode(TvxTree_ComBasic::GetDataEntityFromNode(fTree->GetSelected()));
  for (auto& r : fTreeChangeNotifyList)
    if (r->fSheet->Showing() && r->fOnTreeChange) r->fOnTreeChange(row);
}

// --- the left side's settings: the tree's, passed on to the grid -----------------------

TvxDataEntity_GridTreeNode* TvxGant_ComBasic::GridNode_Add(TvxDataEntity_GridTreeNode* theParent) {
  return GetGridTree() ? GetGridTree()->AddDataEntity(theParent) : nullptr;
}

void TvxGant_ComBasic::GridNode_Remove(TvxDataEntity_GridTreeNode* theNode) {
  if (GetGridTree()) GetGridTree()->RemoveDataEntity(theNode);
}

void TvxGant_ComBasic::SetPopupMenuTreeview(TPopupMenu* m) {
  fTree->SetPopupMenu(m);
  if (GetGrid()) GetGrid()->SetPopupMenu(m);
}

}  // namespace vx
