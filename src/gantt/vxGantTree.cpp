// The chart's tree: a row for every node, and vertical scrolling through the
// chart's own scroll bar, shared with the Gantt area.
#include <algorithm>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {

TGantTree::TGantTree(TComponent* AOwner, TvxGant_ComBasic* theGant) : TvxTree_ComBasic(AOwner), fGant(theGant) {
  // The chart's scroll bar stands in for the tree's own.
  SetScrollBarVert(false);
}

TGantTree::~TGantTree() {
  TDoLater::NeverMind(DoLaterCall<&TGantTree::UpdateExternalScroll>(this));
  if (fVertScrollExternal) fVertScrollExternal->SetScrollListener(nullptr);
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
  if (ChartAlive() && fGant->GetSide(false)->PrintRows().PlaceOf(e)) {
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

void TGantTree::KeyDown(unsigned short& Key, TShiftState Shift) {
  TvxTree_ComBasic::KeyDown(Key, Shift);
  if (Key != 0 && ChartAlive() && fGant->ZoomKey(Key, Shift)) Key = 0;
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
  if (fVertScrollExternal) fVertScrollExternal->SetScrollListener(nullptr);
  fVertScrollExternal = theBar;
  if (theBar) theBar->SetScrollListener([this](TObject* s) { OnExternalScroll(s); });
  ExternalScrollOutOfDate();
}

void TGantTree::ExternalScrollOutOfDate() {
  // Asked once per burst: a plan of many rows asks once per row.
  if (IsDestroying() || fExternalScrollAsked) return;
  fExternalScrollAsked = true;
  TDoLater::DoLater(DoLaterCall<&TGantTree::UpdateExternalScroll>(this), nullptr);
}

void TGantTree::UpdateExternalScroll(TObject*) {
  fExternalScrollAsked = false;
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

// --- the tree's events, passed on to the chart's ----------------------------------------

void TGantTree::DoInsertItem(TvxDataEntity_Tree* e) {
  TvxTree_ComBasic::DoInsertItem(e);
  if (ChartAlive() && fGant->OnInsertItem_Tree) fGant->OnInsertItem_Tree(fGant, e);
}

void TGantTree::DoDeleteItem(TvxDataEntity_Tree* e) {
  TvxTree_ComBasic::DoDeleteItem(e);
  if (ChartAlive() && fGant->OnDeleteItem_Tree) fGant->OnDeleteItem_Tree(fGant, e);
}

void TGantTree::DoContentChanged(TvxDataList* l) {
  TvxTree_ComBasic::DoContentChanged(l);
  if (ChartAlive() && fGant->OnContentChanged_Tree) fGant->OnContentChanged_Tree(fGant, l);
}

void TGantTree::DoSelectionChanged(TvxDataList* l, TvxDataEntity* e) {
  TvxTree_ComBasic::DoSelectionChanged(l, e);
  if (ChartAlive() && fGant->OnSelectionChanged_Tree) fGant->OnSelectionChanged_Tree(fGant, l, e);
}

void TGantTree::DoValueChanged(TvxDataEntity* e) {
  TvxTree_ComBasic::DoValueChanged(e);
  if (ChartAlive())
    if (TGantBindingListener* binding = fGant->GetBindingListener()) {
      TvxHold hold(e);
      binding->BindingNodeEdited(static_cast<TvxDataEntity_Tree*>(e));
      if (hold.Gone()) return;
    }
  // Each handler may free what the next would read: the chart is looked up afresh.
  if (ChartAlive() && fGant->OnChangeDataEntity_Tree) fGant->OnChangeDataEntity_Tree(fGant, e);
  if (ChartAlive() && fGant->OnValueChanged_Tree) fGant->OnValueChanged_Tree(fGant, e);
}

void TGantTree::DoBeforeCanEditItem(TvxDataEntity* e) {
  TvxTree_ComBasic::DoBeforeCanEditItem(e);
  if (ChartAlive() && fGant->OnBeforeCanEditItem_Tree) fGant->OnBeforeCanEditItem_Tree(fGant, e);
}

void TGantTree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TvxTree_ComBasic::MouseDown(Button, Shift, X, Y);
  if (ChartAlive() && fGant->OnTreeMouseDown) fGant->OnTreeMouseDown(this, Button, Shift, X, Y);
}

void TGantTree::MouseMove(TShiftState Shift, int X, int Y) {
  TvxTree_ComBasic::MouseMove(Shift, X, Y);
  if (ChartAlive() && fGant->OnTreeMouseMove) fGant->OnTreeMouseMove(this, Shift, X, Y);
}

// The tree takes what is dragged over it unless a handler says no.
void TGantTree::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = true;
  if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
  if (ChartAlive() && fGant->OnTreeDragOver) fGant->OnTreeDragOver(this, Source, X, Y, State, Accept);
}

void TGantTree::DragDrop(TObject* Source, int X, int Y) {
  TvxTree_ComBasic::DragDrop(Source, X, Y);
  if (ChartAlive() && fGant->OnTreeDragDrop) fGant->OnTreeDragDrop(this, Source, X, Y);
}

void TGantTree::DoStartDrag(TObject*& DragObject) {
  TvxTree_ComBasic::DoStartDrag(DragObject);
  if (ChartAlive() && fGant->OnTreeStartDrag) fGant->OnTreeStartDrag(this, DragObject);
}

void TGantTree::DoEndDrag(TObject* Target, int X, int Y) {
  TvxTree_ComBasic::DoEndDrag(Target, X, Y);
  if (ChartAlive() && fGant->OnTreeEndDrag) fGant->OnTreeEndDrag(this, Target, X, Y);
}

}  // namespace vx
