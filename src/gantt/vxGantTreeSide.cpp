// The chart's tree as its left side: rows found through the tree's nodes,
// the current row the tree's selection, scrolling through the tree.
#include <vxplan/gantt/vxGantTreeSide.h>

#include <algorithm>

#include <vxplan/gantt/vxGant.h>

namespace vx {

namespace {

const TvxDataEntity_Tree* AsTreeNode(const TvxDataEntity* e) { return dynamic_cast<const TvxDataEntity_Tree*>(e); }

}  // namespace

TGantTree* TGantTreeSide::Tree() const { return fGant->GetTreeView(); }

TvxDataEntity* TGantTreeSide::NodeOf(const TGantRow* theRow) const { return theRow ? theRow->GetTreeNode() : nullptr; }

TGantRow* TGantTreeSide::RowOfNode(const TvxDataEntity* theNode) const {
  return fGant->GetRowList() ? fGant->GetRowList()->FindRowFromTreeNode(AsTreeNode(theNode)) : nullptr;
}

TRect TGantTreeSide::NodeBand(const TvxDataEntity* theNode) {
  const TvxDataEntity_Tree* node = AsTreeNode(theNode);
  return node && Tree() ? Tree()->GetRect(const_cast<TvxDataEntity_Tree*>(node)) : NoRect();
}

int TGantTreeSide::ShownIndexOf(const TGantRow* theRow) {
  TGantTree* tree = Tree();
  const TvxDataEntity_Tree* node = theRow ? theRow->GetTreeNode() : nullptr;
  if (!tree || !node) return -1;
  tree->EnsureDisplayUpToDate();
  return tree->RowOf(node->GetTreeNode());
}

int TGantTreeSide::FirstIndexOnScreen() { return Tree() ? Tree()->GetScrollInfo(sbVertical).nPos : 0; }

TGantRow* TGantTreeSide::RowAt(int y) {
  if (!Tree()) return nullptr;
  // The row of the node shown at y: rows never overlap.
  TGantRow* row = RowOfNode(Tree()->GetDataEntityAt(1, y + fGant->fRowDrawOffset));
  if (!row) return nullptr;
  row->UpdateRect();
  const TRect r = row->GetRect();
  return r.Top < y && y < r.Bottom ? row : nullptr;
}

void TGantTreeSide::ForEachRowOnScreen(const std::function<void(TGantRow*)>& f) {
  TGantTree* tree = Tree();
  if (!tree) return;
  // The tree's shown rows from the top one down, until a row falls below the area.
  const int rows = tree->VisibleRowCount();
  for (int k = tree->GetScrollInfo(sbVertical).nPos; k < rows; ++k) {
    TGantRow* row = RowOfNode(TvxTree_ComBasic::GetDataEntityFromNode(tree->GetVisibleRow(k)));
    if (!row) continue;
    row->UpdateRect();
    if (row->GetRect().Top == -1 || row->GetRect().Top >= fGant->GetGA()->GetHeight()) break;
    f(row);
  }
}

// --- the current row and keys -----------------------------------------------------------

TGantRow* TGantTreeSide::CurrentRow() { return Tree() ? RowOfNode(Tree()->GetCurrentDataEntity()) : nullptr; }

void TGantTreeSide::MakeRowCurrent(TGantRow* theRow) {
  TvxDataEntity_Tree* node = theRow ? theRow->GetTreeNode() : nullptr;
  TGantTree* tree = Tree();
  if (!node || !tree || tree->GetCurrentDataEntity() == node) return;
  TvxHold hold(node);  // the tree's selection handlers may delete it
  tree->UpdateMultiSelect(node, TShiftState());
  if (!hold.Gone() && node->GetTreeNode()) tree->SetSelected(node->GetTreeNode());
}

TvxDataEntity_Kronit* TGantTreeSide::NeighbourUpDown(int theLayer, TvxDataEntity_Kronit* theRef, bool theUp) {
  TGantTree* tree = Tree();
  if (!tree) return nullptr;
  TvxDataEntity_Tree* from = theRef && theRef->GetRow() ? theRef->GetRow()->GetTreeNode() : tree->GetCurrentDataEntity();
  if (!from) return nullptr;
  TvxDataEntity_Tree* to = theUp ? tree->GetPrevVisible(from) : tree->GetNextVisible(from);
  if (!to || to == from) return nullptr;
  // The tree's selection handlers may delete the node moved to, or theRef.
  TvxHold holdTo(to), holdRef(theRef);
  tree->UpdateMultiSelect(to, TShiftState());
  if (!holdTo.Gone() && to->GetTreeNode()) tree->SetSelected(to->GetTreeNode());
  if (holdTo.Gone()) return nullptr;
  TGantRow* row = RowOfNode(to);
  return fGant->FindNeighbourClosest(row ? row->GetLayer(theLayer) : nullptr, holdRef.Gone() ? nullptr : theRef);
}

// --- scrolling ------------------------------------------------------------------------

void TGantTreeSide::ScrollTo(int thePos) {
  TGantTree* tree = Tree();
  const TScrollInfo info = tree->GetScrollInfo(sbVertical);
  const int pos = std::clamp(thePos, 0, std::max(info.nMax - info.nPage + 1, 0));
  if (pos == info.nPos) return;
  tree->SetScrollPos(sbVertical, pos);
  tree->ExternalScrollOutOfDate();
}

void TGantTreeSide::ScrollStep(TScrollDirection theDir) {
  if (!Tree()) return;
  // One row per tick, as the grid's own scrolling does; nothing past the ends.
  const TScrollInfo info = Tree()->GetScrollInfo(sbVertical);
  const int pos = theDir == tsdUp ? info.nPos - 1 : info.nPos + 1;
  if (pos < 0 || pos > std::max(info.nMax - info.nPage + 1, 0)) return;
  ScrollTo(pos);
}

void TGantTreeSide::WheelRows(int theRows) {
  if (Tree()) ScrollTo(Tree()->GetScrollInfo(sbVertical).nPos - theRows);
}

void TGantTreeSide::WheelStep(TWMMouseWheel& Msg) {
  // One visible node per wheel message, whatever its size.
  if (Tree() && Msg.WheelDelta != 0) Tree()->Scroll(-Msg.WheelDelta);
}

void TGantTreeSide::RealignScrollbar() {
  // A tree whose content fits hides the whole scroll column.
  TScrollBar* bar = fGant->fScrollBarVertical;
  bar->SetVisible(true);
  const bool shown = bar->GetEnabled();
  fGant->fPanelScrollHolder->SetVisible(shown);
  fGant->fPanelAboveScroll->SetVisible(shown);
  if (fGant->OnRealignScrollbar)
    fGant->OnRealignScrollbar(fGant, bar->GetPosition(), bar->GetMin(), bar->GetMax(), bar->GetPageSize(), shown);
}

// --- layout and settings --------------------------------------------------------------

void TGantTreeSide::SetShown(bool theShown) {
  if (Tree()) Tree()->SetVisible(theShown);
}

void TGantTreeSide::Prepare() {
  // Also on paper: rows the printer loaded get their Gantt rows.
  if (Tree()) Tree()->EnsureDisplayUpToDate();
}

bool TGantTreeSide::GetRowSelect() const { return Tree()->GetRowSelect(); }

void TGantTreeSide::SetRowSelect(bool v) { Tree()->SetRowSelect(v); }

bool TGantTreeSide::GetShowButtons() const { return Tree()->GetShowButtons(); }

void TGantTreeSide::SetShowButtons(bool v) { Tree()->SetShowButtons(v); }

}  // namespace vx
