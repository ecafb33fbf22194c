// The chart's tree: a row for every node, and vertical scrolling through the
// chart's own scroll bar, shared with the Gantt area.
#include <algorithm>

#include "gantt/vxGant.h"
#include "platform/rtl/FlagScope.h"

namespace vx {

TGantTree::TGantTree(TComponent* AOwner, TvxGant_ComBasic* theGant) : TvxTree_ComBasic(AOwner), fGant(theGant) {
  // The chart's scroll bar stands in for the tree's own.
  SetScrollBarVert(false);
}

TGantTree::~TGantTree() {
  TDoLater::NeverMind(DoLaterCall<&TGantTree::UpdateExternalScroll>(this));
  if (fVertScrollExternal) fVertScrollExternal->OnScroll = nullptr;
  fGant = nullptr;
}

bool TGantTree::ChartAlive() const { return fGant && !fGant->IsDestroying() && !IsDestroying(); }

void TGantTree::SetUpEntity(TvxDataEntity_Tree* theEntity) {
  TvxTree_ComBasic::SetUpEntity(theEntity);
  if (!ChartAlive()) return;
  fGant->GetRowList()->AddRow(theEntity, nullptr);
  fGant->InvalidateGA();
  ExternalScrollOutOfDate();
}

void TGantTree::_DeleteItem(TvxDataEntity* e) {
  if (ChartAlive())
    if (auto* entity = dynamic_cast<TvxDataEntity_Tree*>(e)) fGant->GetRowList()->RemoveRow(entity, nullptr);
  TvxTree_ComBasic::_DeleteItem(e);
  if (!ChartAlive()) return;
  fGant->InvalidateGA();
  ExternalScrollOutOfDate();
}

void TGantTree::_UnLoadItem(TvxDataEntity* e, bool& CanUnload) {
  // The rows of the page being printed stay.
  if (ChartAlive() && fGant->fPrintRows.fActive && fGant->fPrintRows.PlaceOf(e)) {
    CanUnload = false;
    return;
  }
  TvxTree_ComBasic::_UnLoadItem(e, CanUnload);
}

void TGantTree::_OnVisibleChanged(TvxDataEntity* e) {
  TvxTree_ComBasic::_OnVisibleChanged(e);
  if (ChartAlive()) fGant->InvalidateGA();
}

void TGantTree::_SelectionChanged(TvxDataList* l, TvxDataEntity* e) {
  TvxTree_ComBasic::_SelectionChanged(l, e);
  if (ChartAlive()) RefreshSelection();
}

void TGantTree::Expand(TTreeNode* Node) {
  TvxTree_ComBasic::Expand(Node);
  if (ChartAlive()) {
    ExternalScrollOutOfDate();
    fGant->RefreshOthers(this);
  }
}

void TGantTree::Collapse(TTreeNode* Node) {
  TvxTree_ComBasic::Collapse(Node);
  if (ChartAlive()) {
    ExternalScrollOutOfDate();
    fGant->RefreshOthers(this);
  }
}

void TGantTree::Scrolled() {
  TvxTree_ComBasic::Scrolled();
  if (!ChartAlive()) return;
  // The rows moved: so did their bands.
  ExternalScrollOutOfDate();
  fGant->InvalidateGA();
}

void TGantTree::Change(TTreeNode* Node) {
  TvxTree_ComBasic::Change(Node);
  if (ChartAlive()) RefreshSelection();
}

bool TGantTree::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (ChartAlive() && fGant->GetWheelConvention() == wcQt) {
    fGant->WheelQt(Shift, WheelDelta, fGant->GetGA()->ScreenToClient(MousePos).X);
    return true;
  }
  Scroll(-WheelDelta);
  return true;
}

void TGantTree::Resize() {
  TvxTree_ComBasic::Resize();
  if (ChartAlive()) ExternalScrollOutOfDate();
}

void TGantTree::RefreshSelection() {
  TvxDataEntity_Tree* current = GetDataEntityFromNode(GetSelected());
  fLastSelected = current && fGant->GetRowList()->FindRowFromTreeNode(current) ? GetSelected() : nullptr;
  fGant->ChangeInTree();
}

void TGantTree::Scroll(int theDelta) {
  if (theDelta == 0) return;
  EnsureDisplayUpToDate();
  TTreeNode* from = GetSelected() ? GetSelected() : GetTopItem();
  if (!from) return;
  TTreeNode* to = GetSelected() ? (theDelta < 0 ? from->GetPrevVisible() : from->GetNextVisible()) : from;
  TvxDataEntity_Tree* entity = GetDataEntityFromNode(to);
  if (!entity) return;
  UpdateMultiSelect(entity, TShiftState());
  SetSelected(to);
}

void TGantTree::SetVertScrollExternal(TScrollBar* theBar) {
  if (fVertScrollExternal) fVertScrollExternal->OnScroll = nullptr;
  fVertScrollExternal = theBar;
  if (theBar) theBar->OnScroll = [this](TObject* s) { OnExternalScroll(s); };
  ExternalScrollOutOfDate();
}

void TGantTree::ExternalScrollOutOfDate() {
  if (IsDestroying()) return;
  TDoLater::DoLater(DoLaterCall<&TGantTree::UpdateExternalScroll>(this), nullptr);
}

void TGantTree::UpdateExternalScroll(TObject*) {
  if (!ChartAlive()) return;
  EnsureDisplayUpToDate();
  const TScrollInfo info = GetScrollInfo(sbVertical);
  if (info.nMin != fLastScrollInfo.nMin || info.nMax != fLastScrollInfo.nMax || info.nPos != fLastScrollInfo.nPos) {
    fLastScrollInfo = info;
    fGant->HandleTreeAlign(nullptr);
    fGant->RefreshOthers(this);
  }
  if (fVertScrollExternal && !fVertScrolling) {
    const bool enable = info.nMax != 0 && info.nPage != 0 && (info.nPage <= info.nMax || info.nPos != 0);
    fVertScrollExternal->SetEnabled(enable);
    if (enable) {
      fVertScrollExternal->SetPageSize(std::min(info.nPage, info.nMax));
      fVertScrollExternal->SetParams(info.nPos, info.nMin, info.nMax);
      fVertScrollExternal->SetPageSize(std::min(info.nPage, info.nMax));
    }
  }
  fGant->RealignScrollbar();
}

void TGantTree::OnExternalScroll(TObject*) {
  if (!fVertScrollExternal || !ChartAlive()) return;
  TFlagScope scope(fVertScrolling);
  const int pos = fVertScrollExternal->GetPosition();
  if (pos != GetScrollInfo(sbVertical).nPos) {
    if (TvxDataEntity_Tree* top = GetDataEntityFromRow(pos)) SetTopDataEntity(top);
  }
}

}  // namespace vx
