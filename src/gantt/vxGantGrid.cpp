// The chart on its grid side: a column grid whose tree keeps a Gantt row per
// node, scrolled together with the Gantt area, and the settings of the left
// side that reach the grid.
#include <algorithm>

#include "gantt/vxGant.h"
#include "platform/rtl/Math.h"

namespace vx {

namespace {

TvxDataEntity_GridTreeNode* AsGridNode(TvxDataEntity* e) { return dynamic_cast<TvxDataEntity_GridTreeNode*>(e); }

}  // namespace

TvxGrid* TvxGant_ComBasic::CreateGrid(TComponent* theOwner) { return new TvxGrid(theOwner); }

void TvxGant_ComBasic::BuildGrid() {
  fGrid = CreateGrid(this);
  fGrid->SetParent(fPanelTreeHolder);
  fGrid->SetAlign(alClient);
  fGrid->SetTabStop(true);
  fGrid->SetMultiSelect(true);
  fGrid->SetVisible(false);
  fGrid->SetName("Grid");
  fGrid->SetIntegrationOwner(this);
  fGrid->AddColumn()->SetTreeButton(true);
  fGrid->SetExtendLastColumnToWidth(true);
  // Heard privately: the grid's public events are the application's.
  TBabGridView_Custom::THostListeners host;
  host.TopLeftChanged = [this](TObject* s) { GridtopLeftChanged(s); };
  host.AxisChanged = [this](TObject*) {
    InvalidateGA();
    if (fGridVerticalScrollOutOfGrid) MirrorGridScrollBar();
  };
  host.VirtualLoad = [this](TBabGridCell* c, TAxisContentItem* i, bool row) {
    if (OnVirtualLoad_Grid) OnVirtualLoad_Grid(c, i, row);
  };
  host.VirtualUnLoad = [this](TBabGridCell* c, TAxisContentItem* i, bool row, bool perform, bool& can) {
    if (OnVirtualUnLoad_Grid) OnVirtualUnLoad_Grid(c, i, row, perform, can);
  };
  host.VerticalScrollVisibilityChanged = [this](TObject*) { RealignScrollbar(); };
  fGrid->SetHostListeners(std::move(host));
  fGrid->SetHostColumnSort([this](TvxGrid* g, TvxGrid_Column* c, bool up, bool& goOn) {
    if (OnColumnSort_Grid) OnColumnSort_Grid(g, c, up, goOn);
  });
  fGrid->SetOwnerPrintResizeFont([this](TvxOffscreenPaint* c, int& size, bool& def) { _OnPrintResizeFont(c, size, def); });
  fGrid->SetUseTree(true);
  fGridTree = fGrid->GetTree();
  if (fGridTree)
    fGridTree->fOnIntegrationEvents = [this](TIntegrationEventKind k, TvxDataEntity* e) { GridTreeIntegrationEvents(k, e); };
}

TvxDataEntity_GridTreeNode* TvxGant_ComBasic::GridNode_Add(TvxDataEntity_GridTreeNode* theParent) {
  return fGridTree ? fGridTree->AddDataEntity(theParent) : nullptr;
}

void TvxGant_ComBasic::GridNode_Remove(TvxDataEntity_GridTreeNode* theNode) {
  if (fGridTree) fGridTree->RemoveDataEntity(theNode);
}

void TvxGant_ComBasic::GridTreeIntegrationEvents(TIntegrationEventKind theKind, TvxDataEntity* theEntity) {
  // While the chart goes, its rows go with the row list, not one by one.
  if (IsDestroying() || !fRowList) return;
  TvxDataEntity_GridTreeNode* node = AsGridNode(theEntity);
  switch (theKind) {
    case ieInsert:
    case ieLoad:
      if (node && !fRowList->FindRowFromGridNode(node)) node->SetIntegrationCookie(fRowList->AddRow(nullptr, node));
      break;
    case ieRemove:
    case ieUnload:
      if (node) {
        fRowList->RemoveRow(nullptr, node);
        node->SetIntegrationCookie(nullptr);
      }
      break;
    default: break;
  }
  InvalidateGA();
}

void TvxGant_ComBasic::GridtopLeftChanged(TObject*) {
  InvalidateGA();
  if (fGridVerticalScrollOutOfGrid) MirrorGridScrollBar();
  if (OnGridTopLeftChanged) OnGridTopLeftChanged(this);
}

// ---------------------------------------------------------------- rows on screen

int TvxGant_ComBasic::GridHeaderHeight() {
  if (!fUseGridNotTree || !fGrid) return 0;
  TBabGridCellForViewer* g = fGrid->GetBabGridCellForViewer();
  // The grid's first row lines up with the area's top: the grid's border
  // counts with its header.
  int h = fGrid->GetDrawRect().Top;
  TAxisContentList* rows = g->GetAxisContentListY();
  for (int k = 0; k < rows->FixedLoaded(); ++k) h += rows->getLoadedAxisContentItem(k)->GetCalculatedSize();
  return h;
}

TRect TvxGant_ComBasic::GridRowRect(TvxDataEntity_GridTreeNode* theNode) {
  TAxisContentItem* item = theNode ? theNode->GetAxisContentItem() : nullptr;
  if (!item || !fGrid || !item->GetIsOnScreen() || item->GetHide()) return NoRect();
  TBabGridCellForViewer* g = fGrid->GetBabGridCellForViewer();
  if (item->GetAxisContentList() != g->GetAxisContentListY()) return NoRect();
  // The row's whole height, also where the grid cuts it at its bottom.
  const int top = fGrid->GetDrawRect().Top + item->GetAcumSize() - fCurrentGridHeaderHeight;
  return Rect(0, top, fGA ? fGA->GetWidth() : 0, top + item->GetCalculatedSize());
}

void TvxGant_ComBasic::PrepareLeftSide() {
  if (!fUseGridNotTree) {
    // Also on paper: rows the printer loaded get their Gantt rows.
    if (fTree) fTree->EnsureDisplayUpToDate();
  } else if (fGrid && !fGA->GetIsPrinting()) {
    fGrid->RedrawIfNeeded();
    if (fGridVerticalScrollOutOfGrid) MirrorGridScrollBar();
  }
  // On paper the printer has placed the rows; the screen's layout stays.
  if (fGA->GetIsPrinting()) return;
  const int header = GridHeaderHeight();
  if (header != fCurrentGridHeaderHeight) {
    fCurrentGridHeaderHeight = header;
    UpdateGridAlign();
  }
}

template <class F>
static void ForEachGridRowOnScreen(TvxGrid* theGrid, F&& f) {
  TAxisContentList* rows = theGrid->GetBabGridCellForViewer()->GetAxisContentListY();
  for (int k = 0; k < rows->VisibleCount(); ++k)
    if (TvxDataEntity_GridTreeNode* node = TvxGridTree::NodeOfRow(rows->getVisibleAxisContentItem(k))) f(node);
}

void TvxGant_ComBasic::ForEachShownRow(const std::function<void(TGantRow*)>& f) {
  if (fPrintRows.fActive) {
    // On paper: the rows of the page, whatever the screen shows.
    // By index: drawing a row calls the application, which may delete rows.
    for (size_t k = 0; k < fPrintRows.fRows.size(); ++k) {
      TvxDataEntity* node = fPrintRows.fRows[k].fNode.Get();
      TGantRow* row = !node                ? nullptr
                      : fPrintRows.fGrid   ? fRowList->FindRowFromGridNode(AsGridNode(node))
                                           : fRowList->FindRowFromTreeNode(dynamic_cast<TvxDataEntity_Tree*>(node));
      if (!row) continue;
      row->UpdateRect();
      f(row);
    }
    return;
  }
  if (!fUseGridNotTree) {
    ForEachShownTreeRow(f);
    return;
  }
  if (!fGrid) return;
  ForEachGridRowOnScreen(fGrid, [&](TvxDataEntity_GridTreeNode* node) {
    TGantRow* row = fRowList->FindRowFromGridNode(node);
    if (!row) return;
    row->UpdateRect();
    if (row->GetRect().Top != -1) f(row);
  });
}

void TvxGant_ComBasic::DrawGridRowBands(int& theY, int& theIndex) {
  if (!fGrid) return;
  const int w = fGA->GetWidth();
  if (fPrintRows.fActive) {
    const double sy = fGA->GetScaley();
    for (const TPrintRows::TPlace& place : fPrintRows.fRows) {
      DrawRowBackgound(Rect(0, Round(place.fTop * sy), w, Round(place.fBottom * sy)), theIndex++);
      theY = std::max(theY, Round(place.fBottom * sy));
    }
    return;
  }
  ForEachGridRowOnScreen(fGrid, [&](TvxDataEntity_GridTreeNode* node) {
    TRect r = GridRowRect(node);
    if (r.Top == -1) return;
    r.Left = 0;
    r.Right = w;
    DrawRowBackgound(r, theIndex++);
    theY = std::max(theY, r.Bottom);
  });
}

TGantRow* TvxGant_ComBasic::FindGridRowFromY(int y) {
  TGantRow* found = nullptr;
  ForEachShownRow([&](TGantRow* row) {
    if (!found && row->GetRect().Top < y && y < row->GetRect().Bottom) found = row;
  });
  return found;
}

// A row laid out in sub-columns gets the height they need (at least one's:
// a row of no height could not be seen or hit again).
void TvxGant_ComBasic::GridRowHeightFollows(TGantRow* theRow) {
  TAxisContentItem* item = theRow->GetGridTreeNode() ? theRow->GetGridTreeNode()->GetAxisContentItem() : nullptr;
  if (!item || !fGrid || !fUseGridNotTree) return;
  fGrid->SetRowHeight(item->ListIndex(),
                      theRow->fIncreaseRowHeightOnCollision_SuggestedHeightPerItem * std::max(theRow->GetNumOfSubCols(), 1));
}

// ---------------------------------------------------------------- keys and scrolling

TvxDataEntity_Kronit* TvxGant_ComBasic::FindGridNeighbourToUpDown(int theLayer, TvxDataEntity_Kronit* theRef,
                                                                  bool theUp) {
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
    MakeGridRowCurrent(node);
    if (holdNode.Gone()) return nullptr;
    TGantRow* row = fRowList->FindRowFromGridNode(node);
    return FindNeighbourClosest(row ? row->GetLayer(theLayer) : nullptr, holdRef.Gone() ? nullptr : theRef);
  }
  return nullptr;
}

void TvxGant_ComBasic::MakeGridRowCurrent(TvxDataEntity_GridTreeNode* theNode) {
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

void TvxGant_ComBasic::MakeRowCurrent(TGantRow* theRow) {
  if (!theRow) return;
  if (TvxDataEntity_GridTreeNode* node = theRow->GetGridTreeNode()) {
    if (fUseGridNotTree && fGrid && fGrid->GetCurrentNode() != node) MakeGridRowCurrent(node);
    return;
  }
  TvxDataEntity_Tree* node = theRow->GetTreeNode();
  if (!node || !fTree || fUseGridNotTree || fTree->GetCurrentDataEntity() == node) return;
  TvxHold hold(node);  // the tree's selection handlers may delete it
  fTree->UpdateMultiSelect(node, TShiftState());
  if (!hold.Gone() && node->GetTreeNode()) fTree->SetSelected(node->GetTreeNode());
}

void TvxGant_ComBasic::SetGridVerticalScrollOutOfGrid(bool v) {
  fGridVerticalScrollOutOfGrid = v;
  if (fGrid) fGrid->HijackVerticalScroll(v);
  if (v && !fGridScrollBar && fPanelScrollHolder) {
    fGridScrollBar = new TScrollBar(this, sbVertical);
    fGridScrollBar->SetParent(fPanelScrollHolder);
    fGridScrollBar->SetTabStop(false);
    fGridScrollBar->SetChangeListener([this](TObject*) {
      if (fMirroringGridBar || !fGrid) return;
      fGrid->GetVertScrollBar()->SetPosition(fGridScrollBar->GetPosition());
    });
  }
  RealignScrollbar();
}

// The grid's own bar, taken over and hidden, still carries its range and
// position: the chart's bar in the scroll column shows them.
void TvxGant_ComBasic::CopyGridScrollBar() {
  if (!fGridScrollBar || !fGrid || IsDestroying()) return;
  TScrollBar* bar = fGrid->GetVertScrollBar();
  fMirroringGridBar = true;
  fGridScrollBar->SetPageSize(1);
  fGridScrollBar->SetParams(bar->GetPosition(), bar->GetMin(), bar->GetMax());
  fGridScrollBar->SetPageSize(bar->GetPageSize());
  fMirroringGridBar = false;
}

void TvxGant_ComBasic::MirrorGridScrollBar() {
  if (!fGridScrollBar || !fGrid || IsDestroying()) return;
  CopyGridScrollBar();
  TScrollBar* bar = fGrid->GetVertScrollBar();
  const bool needed = bar->GetMax() - bar->GetMin() + 1 > bar->GetPageSize() || bar->GetPosition() > bar->GetMin();
  if (needed != fPanelScrollHolder->GetVisible()) RealignScrollbar();
}

void TvxGant_ComBasic::RealignGridScrollbar() {
  fScrollBarVertical->SetVisible(false);
  const bool taken = fGridVerticalScrollOutOfGrid && fGrid && fGrid->GetHijackedVerticalScroll() && fGridScrollBar;
  bool shown = false;
  if (taken) {
    TScrollBar* bar = fGrid->GetVertScrollBar();
    shown = bar->GetMax() - bar->GetMin() + 1 > bar->GetPageSize() || bar->GetPosition() > bar->GetMin();
    const int top = fPanelAboveTree->GetHeight() + GridHeaderHeight();
    fGridScrollBar->SetBounds(0, top, fPanelScrollHolder->GetWidth(), std::max(fPanelScrollHolder->GetHeight() - top, 0));
    fGridScrollBar->SetVisible(true);
    CopyGridScrollBar();
  }
  fPanelScrollHolder->SetVisible(shown);
  fPanelAboveScroll->SetVisible(shown);
}

// ---------------------------------------------------------------- left-side settings that reach the grid

void TvxGant_ComBasic::SetColorTree(TColor v) {
  fTree->SetColor(v);
  if (fGrid) fGrid->SetColor(v);
}

void TvxGant_ComBasic::SetDragCursorTree(TCursor v) {
  fTree->SetDragCursor(v);
  if (fGrid) fGrid->SetDragCursor(v);
}

void TvxGant_ComBasic::SetDragModeTree(TDragMode v) {
  fTree->SetDragMode(v);
  if (fGrid) fGrid->SetDragMode(v);
}

void TvxGant_ComBasic::SetBorderStyleTree(TBorderStyle v) {
  fBorderStyleTree = v;
  if (fGrid) fGrid->SetBorderStyle(v);
}

void TvxGant_ComBasic::SetMultiSelectTree(bool v) {
  fTree->SetMultiSelect(v);
  if (fGrid) fGrid->SetMultiSelect(v);
}

void TvxGant_ComBasic::SetShowLinesTree(bool v) {
  fTree->SetShowLines(v);
  if (fGrid) fGrid->SetShowLinesTree(v);
}

void TvxGant_ComBasic::SetCursorTree(TCursor v) {
  fTree->SetCursor(v);
  if (fGrid) fGrid->SetCursorGrid(v);
}

bool TvxGant_ComBasic::GetRowSelectTree() const {
  return fUseGridNotTree && fGrid ? fGrid->GetRowSelect() : fTree->GetRowSelect();
}

void TvxGant_ComBasic::SetRowSelectTree(bool v) {
  if (fUseGridNotTree && fGrid)
    fGrid->SetRowSelect(v);
  else
    fTree->SetRowSelect(v);
}

bool TvxGant_ComBasic::GetShowButtonsTree() const {
  if (fUseGridNotTree && fGrid) {
    TvxGrid_Column* first = fGrid->GetColumns()->GetColumn(0);
    return first && first->GetTreeButton();
  }
  return fTree->GetShowButtons();
}

void TvxGant_ComBasic::SetShowButtonsTree(bool v) {
  if (fUseGridNotTree && fGrid) {
    if (TvxGrid_Column* first = fGrid->GetColumns()->GetColumn(0)) first->SetTreeButton(v);
  } else {
    fTree->SetShowButtons(v);
  }
}

void TvxGant_ComBasic::SetPopupMenuTreeview(TPopupMenu* m) {
  fTree->SetPopupMenu(m);
  if (fGrid) fGrid->SetPopupMenu(m);
}

void TvxGant_ComBasic::SetGridFocusRects(bool v) {
  fGrid->SetFocusRect_Cell(v);
  fGrid->SetFocusRect_Grid(v);
}

}  // namespace vx
