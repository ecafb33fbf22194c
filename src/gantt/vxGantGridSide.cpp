// The chart on its grid side: a column grid whose tree keeps a Gantt row per
// node, scrolled together with the Gantt area.
#include <vxplan/gantt/vxGantGridSide.h>

#include <algorithm>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/Math.h>

namespace vx {

namespace {

const TvxDataEntity_GridTreeNode* AsGridNode(const TvxDataEntity* e) {
  return dynamic_cast<const TvxDataEntity_GridTreeNode*>(e);
}

bool BarNeeded(TScrollBar* theBar) {
  return theBar->GetMax() - theBar->GetMin() + 1 > theBar->GetPageSize() || theBar->GetPosition() > theBar->GetMin();
}

}  // namespace

void TGantGridSide::Build() {
  TvxGant_ComBasic* gant = fGant;
  fGrid = gant->CreateGrid(gant);
  fGrid->SetParent(gant->fPanelTreeHolder);
  fGrid->SetAlign(alClient);
  fGrid->SetTabStop(true);
  fGrid->SetMultiSelect(true);
  fGrid->SetVisible(false);
  fGrid->SetName("Grid");
  fGrid->SetIntegrationOwner(gant);
  fGrid->AddColumn()->SetTreeButton(true);
  fGrid->SetExtendLastColumnToWidth(true);
  // Heard privately: the grid's public events are the application's.
  TBabGridView_Custom::THostListeners host;
  host.TopLeftChanged = [this](TObject*) { TopLeftChanged(); };
  host.AxisChanged = [this](TObject*) {
    fGant->InvalidateGA();
    if (fScrollOutOfGrid) MirrorScrollBar();
  };
  host.VirtualLoad = [gant](TBabGridCell* c, TAxisContentItem* i, bool row) {
    if (gant->OnVirtualLoad_Grid) gant->OnVirtualLoad_Grid(c, i, row);
  };
  host.VirtualUnLoad = [gant](TBabGridCell* c, TAxisContentItem* i, bool row, bool perform, bool& can) {
    if (gant->OnVirtualUnLoad_Grid) gant->OnVirtualUnLoad_Grid(c, i, row, perform, can);
  };
  host.VerticalScrollVisibilityChanged = [gant](TObject*) { gant->RealignScrollbar(); };
  host.KeyDown = [gant](TObject*, unsigned short& Key, TShiftState Shift) {
    if (gant->ZoomKey(Key, Shift)) Key = 0;
  };
  fGrid->SetHostListeners(std::move(host));
  fGrid->SetHostColumnSort([gant](TvxGrid* g, TvxGrid_Column* c, bool up, bool& goOn) {
    if (gant->OnColumnSort_Grid) gant->OnColumnSort_Grid(g, c, up, goOn);
  });
  fGrid->SetOwnerPrintResizeFont(
      [gant](TvxOffscreenPaint* c, int& size, bool& def) { gant->_OnPrintResizeFont(c, size, def); });
  fGrid->SetUseTree(true);
  fGridTree = fGrid->GetTree();
  if (fGridTree)
    fGridTree->fOnIntegrationEvents = [this](TIntegrationEventKind k, TvxDataEntity* e) { IntegrationEvents(k, e); };
}

void TGantGridSide::FreeGrid() {
  fGridTree = nullptr;
  delete fGrid;
  fGrid = nullptr;
}

bool TGantGridSide::Shown() const { return fGant->GetSide() == this; }

void TGantGridSide::IntegrationEvents(TIntegrationEventKind theKind, TvxDataEntity* theEntity) {
  // While the chart goes, its rows go with the row list, not one by one.
  TGantRowList* rows = fGant->GetRowList();
  if (fGant->IsDestroying() || !rows) return;
  auto* node = dynamic_cast<TvxDataEntity_GridTreeNode*>(theEntity);
  switch (theKind) {
    case ieInsert:
    case ieLoad:
      if (node && !rows->FindRowFromGridNode(node)) node->SetIntegrationCookie(rows->AddRow(nullptr, node));
      break;
    case ieRemove:
    case ieUnload:
      if (node) {
        rows->RemoveRow(nullptr, node);
        node->SetIntegrationCookie(nullptr);
      }
      break;
    default: break;
  }
  fGant->InvalidateGA();
}

void TGantGridSide::TopLeftChanged() {
  fGant->InvalidateGA();
  // The rows' places follow the grid's layout: the application's handler
  // hit-tests and measures the rows it now shows.
  if (fGrid && !fGant->GetGA()->GetIsPrinting()) fGrid->RedrawIfNeeded();
  if (fScrollOutOfGrid) MirrorScrollBar();
  if (fGant->OnGridTopLeftChanged) fGant->OnGridTopLeftChanged(fGant);
}

// ---------------------------------------------------------------- rows on screen

TvxDataEntity* TGantGridSide::NodeOf(const TGantRow* theRow) const {
  return theRow ? theRow->GetGridTreeNode() : nullptr;
}

TGantRow* TGantGridSide::RowOfNode(const TvxDataEntity* theNode) const {
  return fGant->GetRowList() ? fGant->GetRowList()->FindRowFromGridNode(AsGridNode(theNode)) : nullptr;
}

int TGantGridSide::ShownIndexOf(const TGantRow* theRow) {
  const TvxDataEntity_GridTreeNode* node = theRow ? theRow->GetGridTreeNode() : nullptr;
  TAxisContentItem* item = node ? node->GetAxisContentItem() : nullptr;
  if (!item || !fGrid || item->GetHide()) return -1;
  if (item->GetAxisContentList() != fGrid->GetBabGridCellForViewer()->GetAxisContentListY()) return -1;
  return item->ListIndex();  // the grid's order; its top row counts the same way
}

int TGantGridSide::FirstIndexOnScreen() { return fGrid ? fGrid->GetBabGridCellForViewer()->GetTop() : 0; }

int TGantGridSide::HeaderHeight() {
  if (!fGrid) return 0;
  TBabGridCellForViewer* g = fGrid->GetBabGridCellForViewer();
  // The grid's first row lines up with the area's top: the grid's border
  // counts with its header.
  int h = fGrid->GetDrawRect().Top;
  TAxisContentList* rows = g->GetAxisContentListY();
  for (int k = 0; k < rows->FixedLoaded(); ++k) h += rows->getLoadedAxisContentItem(k)->GetCalculatedSize();
  return h;
}

TRect TGantGridSide::NodeBand(const TvxDataEntity* theNode) {
  const TvxDataEntity_GridTreeNode* node = AsGridNode(theNode);
  TAxisContentItem* item = node ? node->GetAxisContentItem() : nullptr;
  if (!item || !fGrid || !item->GetIsOnScreen() || item->GetHide()) return NoRect();
  TBabGridCellForViewer* g = fGrid->GetBabGridCellForViewer();
  if (item->GetAxisContentList() != g->GetAxisContentListY()) return NoRect();
  // The row's whole height, also where the grid cuts it at its bottom.
  const int top = fGrid->GetDrawRect().Top + item->GetAcumSize() - fHeaderHeight;
  return Rect(0, top, fGant->GetGA() ? fGant->GetGA()->GetWidth() : 0, top + item->GetCalculatedSize());
}

void TGantGridSide::SetShown(bool theShown) {
  if (fGrid) fGrid->SetVisible(theShown);
  if (!theShown && fScrollBar) fScrollBar->SetVisible(false);
  fHeaderHeight = theShown ? fGant->GridHeaderHeight() : 0;
}

void TGantGridSide::Prepare() {
  if (!fGrid) return;
  // On paper the printer has placed the rows; the screen's layout stays.
  if (fGant->GetGA()->GetIsPrinting()) return;
  fGrid->RedrawIfNeeded();
  if (fScrollOutOfGrid) MirrorScrollBar();
  const int header = fGant->GridHeaderHeight();
  if (header != fHeaderHeight) {
    fHeaderHeight = header;
    fGant->UpdateGridAlign();
  }
}

void TGantGridSide::ForEachRowOnScreen(const std::function<void(TGantRow*)>& f) {
  if (!fGrid) return;
  TAxisContentList* rows = fGrid->GetBabGridCellForViewer()->GetAxisContentListY();
  for (int k = 0; k < rows->VisibleCount(); ++k) {
    TGantRow* row = RowOfNode(TvxGridTree::NodeOfRow(rows->getVisibleAxisContentItem(k)));
    if (!row) continue;
    row->UpdateRect();
    if (row->GetRect().Top != -1) f(row);
  }
}

void TGantGridSide::DrawBands(int& theY, int& theIndex) {
  if (!fGrid) return;
  TvxOffscreenPaint_GA* ga = fGant->GetGA();
  const int w = ga->GetWidth();
  if (fPrintRows.Active()) {
    const double sy = ga->GetScaley();
    for (const TGantPrintRows::TPlace& place : fPrintRows.Rows()) {
      fGant->fPainter.DrawRowBackgound(Rect(0, Round(place.fTop * sy), w, Round(place.fBottom * sy)), theIndex++);
      theY = std::max(theY, Round(place.fBottom * sy));
    }
    return;
  }
  TAxisContentList* rows = fGrid->GetBabGridCellForViewer()->GetAxisContentListY();
  for (int k = 0; k < rows->VisibleCount(); ++k) {
    TRect r = NodeBand(TvxGridTree::NodeOfRow(rows->getVisibleAxisContentItem(k)));
    if (r.Top == -1) continue;
    r.Left = 0;
    r.Right = w;
    fGant->fPainter.DrawRowBackgound(r, theIndex++);
    theY = std::max(theY, r.Bottom);
  }
}

TGantRow* TGantGridSide::RowAt(int y) {
  TGantRow* found = nullptr;
  ForEachShownRow([&](TGantRow* row) {
    if (!found && row->GetRect().Top < y && y < row->GetRect().Bottom) found = row;
  });
  return found;
}

// A row laid out in sub-columns gets the height they need (at least one's:
// a row of no height could not be seen or hit again).
void TGantGridSide::RowHeightFollows(TGantRow* theRow) {
  TAxisContentItem* item = theRow->GetGridTreeNode() ? theRow->GetGridTreeNode()->GetAxisContentItem() : nullptr;
  if (!item || !fGrid || !Shown()) return;
  fGrid->SetRowHeight(item->ListIndex(),
                      theRow->fIncreaseRowHeightOnCollision_SuggestedHeightPerItem * std::max(theRow->GetNumOfSubCols(), 1));
}

// ---------------------------------------------------------------- the current row and keys

TGantRow* TGantGridSide::CurrentRow() { return fGrid ? RowOfNode(fGrid->GetCurrentNode()) : nullptr; }

void TGantGridSide::MakeRowCurrent(TGantRow* theRow) {
  TvxDataEntity_GridTreeNode* node = theRow ? theRow->GetGridTreeNode() : nullptr;
  if (node && fGrid && fGrid->GetCurrentNode() != node) MakeNodeCurrent(node);
}

TvxDataEntity_Kronit* TGantGridSide::NeighbourUpDown(int theLayer, TvxDataEntity_Kronit* theRef, bool theUp) {
  if (!fGrid) return nullptr;
  TvxDataEntity_GridTreeNode* from =
      theRef && theRef->GetRow() ? theRef->GetRow()->GetGridTreeNode() : fGrid->GetCurrentNode();
  TAxisContentItem* item = from ? from->GetAxisContentItem() : nullptr;
  TBabGridCellForViewer* g = fGrid->GetBabGridCellForViewer();
  TAxisContentList* rows = g->GetAxisContentListY();
  if (!item || item->GetAxisContentList() != rows) return nullptr;
  const int step = theUp ? -1 : 1;
  for (int y = item->ListIndex() + step; y >= g->GetFixedRows() && y < rows->Count(); y += step) {
    TAxisContentItem* next = rows->getAxisContentItem(y);
    TvxDataEntity_GridTreeNode* node = TvxGridTree::NodeOfRow(next);
    if (!next || next->GetHide() || !node) continue;
    TvxHold holdRef(theRef), holdNode(node);
    MakeNodeCurrent(node);
    if (holdNode.Gone()) return nullptr;
    TGantRow* row = RowOfNode(node);
    return fGant->FindNeighbourClosest(row ? row->GetLayer(theLayer) : nullptr, holdRef.Gone() ? nullptr : theRef);
  }
  return nullptr;
}

void TGantGridSide::MakeNodeCurrent(TvxDataEntity_GridTreeNode* theNode) {
  TAxisContentItem* item = theNode && fGrid ? theNode->GetAxisContentItem() : nullptr;
  TBabGridCellForViewer* g = fGrid ? fGrid->GetBabGridCellForViewer() : nullptr;
  if (!item || item->GetAxisContentList() != g->GetAxisContentListY()) return;
  // Selection handlers run in between and may drop the row: its cell is
  // looked up afresh from the held row item.
  TvxHold holdItem(item);
  if (TBabCell* cell = g->getCell(g->GetFixedCols(), item->ListIndex())) g->UpdateMultiSelect(cell, TShiftState());
  if (holdItem.Gone() || item->ListIndex() < 0) return;
  if (TBabCell* cell = g->getCell(g->GetFixedCols(), item->ListIndex())) g->SetFocusedCell(cell);
}

// ---------------------------------------------------------------- scrolling

void TGantGridSide::ScrollStep(TScrollDirection theDir) {
  if (fGrid) fGrid->PublicScroll(theDir);
}

void TGantGridSide::WheelRows(int theRows) {
  if (TScrollBar* bar = fGrid ? fGrid->GetVertScrollBar() : nullptr)
    fGrid->SetScrollbarPosition(bar, std::clamp(bar->GetPosition() - theRows, bar->GetMin(), bar->GetMax()));
}

void TGantGridSide::WheelStep(TWMMouseWheel& Msg) {
  if (fGrid) fGrid->HandleExternalWheelScroll(Msg);
}

void TGantGridSide::SetVerticalScrollOutOfGrid(bool v) {
  fScrollOutOfGrid = v;
  if (fGrid) fGrid->HijackVerticalScroll(v);
  if (v && !fScrollBar && fGant->fPanelScrollHolder) {
    fScrollBar = new TScrollBar(fGant, sbVertical);
    fScrollBar->SetParent(fGant->fPanelScrollHolder);
    fScrollBar->SetTabStop(false);
    fScrollBar->SetVisible(Shown());
    fScrollBar->SetChangeListener([this](TObject*) {
      if (fMirroring || !fGrid) return;
      fGrid->GetVertScrollBar()->SetPosition(fScrollBar->GetPosition());
    });
  }
  fGant->RealignScrollbar();
}

// The grid's own bar, taken over and hidden, still carries its range and
// position: the chart's bar in the scroll column shows them.
void TGantGridSide::CopyScrollBar() {
  if (!fScrollBar || !fGrid || fGant->IsDestroying()) return;
  TScrollBar* bar = fGrid->GetVertScrollBar();
  fMirroring = true;
  fScrollBar->SetPageSize(1);
  fScrollBar->SetParams(bar->GetPosition(), bar->GetMin(), bar->GetMax());
  fScrollBar->SetPageSize(bar->GetPageSize());
  fMirroring = false;
}

void TGantGridSide::MirrorScrollBar() {
  if (!fScrollBar || !fGrid || fGant->IsDestroying()) return;
  CopyScrollBar();
  if (BarNeeded(fGrid->GetVertScrollBar()) != fGant->fPanelScrollHolder->GetVisible()) fGant->RealignScrollbar();
}

void TGantGridSide::RealignScrollbar() {
  fGant->fScrollBarVertical->SetVisible(false);
  const bool taken = fScrollOutOfGrid && fGrid && fGrid->GetHijackedVerticalScroll() && fScrollBar;
  bool shown = false;
  if (taken) {
    TPanel* holder = fGant->fPanelScrollHolder;
    shown = BarNeeded(fGrid->GetVertScrollBar());
    const int top = fGant->fPanelAboveTree->GetHeight() + fGant->GridHeaderHeight();
    fScrollBar->SetBounds(0, top, holder->GetWidth(), std::max(holder->GetHeight() - top, 0));
    fScrollBar->SetVisible(true);
    CopyScrollBar();
  }
  fGant->fPanelScrollHolder->SetVisible(shown);
  fGant->fPanelAboveScroll->SetVisible(shown);
}

// ---------------------------------------------------------------- settings

bool TGantGridSide::GetRowSelect() const { return fGrid && fGrid->GetRowSelect(); }

void TGantGridSide::SetRowSelect(bool v) {
  if (fGrid) fGrid->SetRowSelect(v);
}

bool TGantGridSide::GetShowButtons() const {
  TvxGrid_Column* first = fGrid ? fGrid->GetColumns()->GetColumn(0) : nullptr;
  return first && first->GetTreeButton();
}

void TGantGridSide::SetShowButtons(bool v) {
  if (TvxGrid_Column* first = fGrid ? fGrid->GetColumns()->GetColumn(0) : nullptr) first->SetTreeButton(v);
}

}  // namespace vx
