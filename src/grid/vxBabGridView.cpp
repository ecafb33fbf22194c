// The grid view's composition: the outermost cell and its hooks, the layout,
// the reactions to the cell tree's events, content and properties.
#include <vxplan/grid/vxBabGridView.h>
#include <vxplan/grid/vxBabGridViewInternal.h>

#include <utility>

#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/HintWindow.h>
#include <vxplan/platform/ui/XorOverlay.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {


// ---------------------------------------------------------------- data classes

void TBabSimpleCellStringData::InitContent() {
  if (TBabGridView_Custom* v = TBabGridView_Custom::ViewOf(GetBabCell())) v->InitContent(this);
}

void TBabSubGridCellData::InitContent() {
  // The outermost cell's data goes to initSubGridContent through Init.
  TBabCell* cell = GetBabCell();
  if (!cell || !cell->getGridCell()) return;
  if (TBabGridView_Custom* v = TBabGridView_Custom::ViewOf(cell)) v->initSubGridContent(this);
}

TBabGridView_Custom* TBabGridView_Custom::ViewOf(const TBabCell* theCell) {
  TBabGridCellForViewer* v = theCell ? theCell->GetViewerGridCell() : nullptr;
  return v ? dynamic_cast<TBabGridView_Custom*>(v->GetViewer()) : nullptr;
}

// ---------------------------------------------------------------- life

TBabGridView_Custom::TBabGridView_Custom(TComponent* AOwner)
    : TBabGridView_Custom(AOwner, TBabSimpleCellDataClass::Of<TBabSimpleCellStringData>(),
                          TBabGridCellDataClass::Of<TBabSubGridCellData>()) {}

TBabGridView_Custom::TBabGridView_Custom(TComponent* AOwner, TBabSimpleCellDataClass theSimpleDataClass,
                                         TBabGridCellDataClass theGridDataClass)
    : TvxOffscreenPaint(AOwner) {
  SetBorderStyle(bsSingle);
  SetBevelOuter(bvNone);
  SetBevelInner(bvNone);
  SetColor(clWindow);
  SetTabStop(true);
  SetPaintsOnWindow(true);  // every paint draws it whole: no copy where the window allows
  for (unsigned key : {13u, 37u, 38u, 39u, 40u, 43u, 113u}) SetSpecialKey(key);

  fDefaultContentLayoutProperty = std::make_unique<TLayoutProp>();
  fDefaultContentLayoutProperty->MinHeight = 20;
  fDefaultContentLayoutProperty->MinWidth = 20;
  fDefaultContentLayoutProperty->FrontColor = clWindowText;
  fDefaultContentLayoutProperty->BackColor = clWindow;
  fDefaultContentLayoutProperty->UseFontInfo = false;

  CreateEditors();
  fBabGridCellForViewer = std::make_unique<TBabGridCellForViewer>(this, theSimpleDataClass, theGridDataClass);
  fLayout = std::make_unique<TViewLayout>(this);

  fHorz = new TScrollbar_vx(this, sbHorizontal);
  fVert = new TScrollbar_vx(this, sbVertical);
  for (TScrollbar_vx* bar : {fHorz, fVert}) {
    bar->SetParent(this);
    bar->SetTabStop(false);
    bar->SetVisible(false);
  }

  fSlowStartTimer = new TTimer(this);
  fSlowStartTimer->SetEnabled(false);
  fSlowStartTimer->SetInterval(750);
  fSlowStartTimer->SetOnTimer([this](TObject* s) { SlowStartTimer(s); });

  InstallHooks();
  Listen();
  fLayout->SetDrawRect(GetDrawRect());
}

TBabGridView_Custom::~TBabGridView_Custom() {
  Destroying();
  TDoLater::NeverMind(DoLaterCall<&TBabGridView_Custom::MakeSureFocusedIsVisible_Async>(this));
  TDoLater::NeverMind(DoLaterCall<&TBabGridView_Custom::NavigateKey_Async>(this));
  TDoLater::NeverMind(DoLaterCall<&TBabGridView_Custom::FollowEdit_Async>(this));
  TDoLater::NeverMind(DoLaterCall<&TBabGridView_Custom::AxisChanged_Async>(this));
  // What could call back goes first, while the view is whole.
  fEditing = false;
  fEditBabSimpleCell = nullptr;
  fCurrentEditor = nullptr;
  delete fInplaceEditor;
  delete fInplaceMemoEditor;
  delete fInplaceComboEditor;
  delete fInplaceBooleanEditor;
  delete fInplaceDateTimeEditor;
  delete fHorz;
  delete fVert;
  delete fSlowStartTimer;
  delete fReadOnlyHintTimer;
  delete fReadOnlyHint;
  fTrack.reset();
  for (TSingleEventListener* l : fListeners) delete l;
  fListeners.clear();
  fLayout.reset();
  fBabGridCellForViewer.reset();
}

void TBabGridView_Custom::InstallHooks() {
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  g->fOnMeasureHeight = [this](TBabGridCell* c, TBabCell* cell, int& h) { _OnMeasureHeight(c, cell, h); };
  g->fOnCellRectTampering = [this](TBabGridCell* c, TBabCell* cell, TRect& r) { OnCellRectTampering(c, cell, r); };
  g->fOnScaleRect = [this](TRect& r) { _OnScaleRect(r); };
  g->fOnCheckCellGrouping = [this](TBabCell* a, TBabCell* b) { return _OnCheckCellGrouping(a, b); };
  g->fOnVirtualLoad = [this](TBabGridCell* c, TAxisContentItem* i, bool row) { _OnVirtualLoad(c, i, row); };
  g->fOnVirtualUnLoad = [this](TBabGridCell* c, TAxisContentItem* i, bool row, bool perform, bool& can) {
    _OnVirtualUnLoad(c, i, row, perform, can);
  };
  g->fOnKeepAfterUnloadCheck = [this](TBabGridCell* c, TAxisContentItem* i, bool row, bool& keep) {
    _OnKeepAfterUnLoad(c, i, row, keep);
  };
  g->fOnUnloadIntervall = [this](TBabGridCell* c, TAxisContentItem* i, bool row, int& a, int& b) {
    _OnUnloadIntervall(c, i, row, a, b);
  };
  g->fOnDeleteOfUnloaded = [this](TBabGridCell* c, bool row, int& a, int& b) { _OnDeleteOfUnloaded(c, row, a, b); };
  g->fOnAxisItemRemoved = [this](TBabGridCell* c, TAxisContentItem* i, bool row) { _OnAxisItemRemoved(c, i, row); };
  g->fOnDeInitCell = [this](TBabCell* cell) { OnCellDeInit(cell); };
}

void TBabGridView_Custom::Listen() {
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  auto on = [this](TEvent* e, TOnEvent handler) { fListeners.push_back(new TSingleEventListener(e, handler, false)); };
  on(g->GetAxisChangeEvent(), [this](TSingleEventListener*) { OnAxisChange(); });
  on(g->GetTopLeftChangedEvent(), [this](TSingleEventListener*) { OnTopLeftChangeEvent(); });
  on(g->GetFocusedCellChangeEvent(), [this](TSingleEventListener*) { OnFocusedCellChange(); });
  on(g->GetSelectionChangeEvent(), [this](TSingleEventListener* l) {
    if (IsDestroying()) return;
    if (!fPainting) Invalidate();
    auto* cell = dynamic_cast<TBabCell*>(l->GetCallingMessage());
    if (OnCellSelectionChanged) OnCellSelectionChanged(this, cell);
    if (OnSelectionChanged) OnSelectionChanged(this);
  });
  on(g->GetUserSizeEvent(), [this](TSingleEventListener* l) {
    if (!IsDestroying()) UserSizeChanged(dynamic_cast<TAxisContentItem*>(l->GetCallingMessage()));
  });
}

bool TBabGridView_Custom::Quiet() const { return fInLayoutPass || fPainting || IsDestroying(); }

// ---------------------------------------------------------------- the model's events

void TBabGridView_Custom::OnAxisChange() {
  // The change is told from inside the axis's own work (an item half
  // inserted or dropped, a loop over the loaded ones): the application hears
  // of it on the next turn of the message loop, once for a burst, where its
  // handler may change the axes again.
  if (IsDestroying()) return;
  // Only for a listener: a bulk load raises this once an item.
  if (OnAxisChanged) {
    fAxisChangePending = true;
    TDoLater::DoLater(DoLaterCall<&TBabGridView_Custom::AxisChanged_Async>(this), nullptr);
  }
  // Loads and unloads of a layout pass (or of painting) are not changes to
  // react to: reacting would lay out and paint again, without end.
  if (fInLayoutPass || fPainting) return;
  StopEditing();
  if (fHost.AxisChanged) fHost.AxisChanged(this);
  Invalidate();
}

void TBabGridView_Custom::OnTopLeftChangeEvent() {
  if (IsDestroying()) return;
  if (!Quiet()) Invalidate();
  // Not in the middle of a layout pass: the application hears of it after.
  if (fInLayoutPass)
    fTopLeftPending = true;
  else
    TopLeftChanged();
}

void TBabGridView_Custom::AfterLayoutPass() {
  if (fInLayoutPass || IsDestroying()) return;
  const bool topLeft = std::exchange(fTopLeftPending, false);
  const bool bar = std::exchange(fVertVisibilityPending, false);
  if (topLeft) TopLeftChanged();
  if (bar && fHost.VerticalScrollVisibilityChanged) fHost.VerticalScrollVisibilityChanged(this);
  if (bar && OnVerticalScrollVisibilityChanged) OnVerticalScrollVisibilityChanged(this);
}

void TBabGridView_Custom::AxisChanged_Async(TObject*) {
  // Run inside a pass or a paint (all deferred calls run now): the end of
  // that asks again.
  if (fInLayoutPass || fPainting || IsDestroying() || !std::exchange(fAxisChangePending, false)) return;
  if (OnAxisChanged) OnAxisChanged(this);
}

void TBabGridView_Custom::AskAgainForAxisChange() {
  if (fAxisChangePending && !fInLayoutPass && !fPainting && !IsDestroying())
    TDoLater::DoLater(DoLaterCall<&TBabGridView_Custom::AxisChanged_Async>(this), nullptr);
}

void TBabGridView_Custom::OnFocusedCellChange() {
  if (IsDestroying()) return;
  if (!fStartingEdit) StopEditing();
  TDoLater::DoLater(DoLaterCall<&TBabGridView_Custom::MakeSureFocusedIsVisible_Async>(this), nullptr);
  TopLeftChanged();
  if (!fPainting) Invalidate();
  FocusChanged(fBabGridCellForViewer->GetFocusedCell());
  NotifyAccessibleFocus();
}

void TBabGridView_Custom::TopLeftChanged() {
  if (fHost.TopLeftChanged) fHost.TopLeftChanged(this);
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TBabGridView_Custom::OnCellDeInit(TBabCell* theCell) {
  if (theCell == fMouseUp_Selection_Cell) {
    fMouseUp_Selection = false;
    fMouseUp_Selection_Cell = nullptr;
  }
  if (theCell == fCurrentSortCol) fCurrentSortCol = nullptr;
  if (theCell == fMouseDownCell) {
    fMouseDownCell = nullptr;
    if (fMouseMoveMode != mmNone && !IsDestroying()) EndTracking();
    fMouseMoveMode = mmNone;
  }
  if (theCell == fEditBabSimpleCell) {
    // The edited cell goes: the edit closes and nothing is written.
    fEditBabSimpleCell = nullptr;
    if (!fInsideStopEditing && !IsDestroying()) CloseEditWithoutStoring();
  }
}

// ---------------------------------------------------------------- hooks of the cell tree

void TBabGridView_Custom::OnCellRectTampering(TBabGridCell*, TBabCell* theCell, TRect& theRect) {
  if (!theCell || theCell->IsGridCell() || theRect == NoRect()) return;
  // Tree cells are indented by their level.
  if (CellHasButton(theCell)) theRect.Left = std::min(theRect.Left + IndentOf(theCell), theRect.Right);
}

void TBabGridView_Custom::_OnScaleRect(TRect& theRect) {
  if (!GetIsPrinting()) return;
  const double sx = GetPrintScalex(), sy = GetPrintScaley();
  theRect = Rect(Round(theRect.Left * sx), Round(theRect.Top * sy), Round(theRect.Right * sx),
                 Round(theRect.Bottom * sy));
}

void TBabGridView_Custom::_OnVirtualLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn) {
  if (fHost.VirtualLoad) fHost.VirtualLoad(theCaller, theItem, theRowNotColumn);
  if (OnVirtualLoad) OnVirtualLoad(theCaller, theItem, theRowNotColumn);
}

void TBabGridView_Custom::_OnVirtualUnLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn,
                                           bool theUnloadPerform, bool& theCanUnload) {
  if (fHost.VirtualUnLoad) fHost.VirtualUnLoad(theCaller, theItem, theRowNotColumn, theUnloadPerform, theCanUnload);
  if (OnVirtualUnLoad) OnVirtualUnLoad(theCaller, theItem, theRowNotColumn, theUnloadPerform, theCanUnload);
}

// ---------------------------------------------------------------- content

void TBabGridView_Custom::Init() {
  fDoFirstGridInit = true;
  Invalidate();
}

void TBabGridView_Custom::InitContent(TBabSimpleCellStringData* theData) {
  TBabCell* cell = theData->GetBabCell();
  if (cell && !cell->GetIsFixed()) cell->SetLayoutProp(fDefaultContentLayoutProperty.get());
  if (OnInitContent) OnInitContent(this, theData);
}

void TBabGridView_Custom::initSubGridContent(TBabSubGridCellData* theData) {
  if (OninitSubGridContent) OninitSubGridContent(this, theData);
}

TBabSimpleCellDataClass TBabGridView_Custom::GetSimpleCellDataClass() const {
  return TBabSimpleCellDataClass::Of<TBabSimpleCellStringData>();
}

TBabGridCellDataClass TBabGridView_Custom::GetGridCellDataClass() const {
  return TBabGridCellDataClass::Of<TBabSubGridCellData>();
}

std::string TBabGridView_Custom::GetText(TBabCell* theCell) const {
  auto* data = theCell ? dynamic_cast<TBabSimpleCellStringData*>(theCell->GetBabCellData()) : nullptr;
  return data ? data->GetString() : std::string();
}

void TBabGridView_Custom::SetText(TBabCell* theCell, const std::string& theText) {
  auto* data = theCell ? dynamic_cast<TBabSimpleCellStringData*>(theCell->GetBabCellData()) : nullptr;
  if (!data) return;
  data->SetString(theText);
  Invalidate();
  TLayoutProp* layout = theCell->GetLayoutProp();
  if (layout && layout->WrapTextAndFit) {
    theCell->SetMinHeight(0);
    RecalcExtents();
  }
}

void TBabGridView_Custom::ForgetLayoutProp(const TLayoutProp* theProp) {
  if (!theProp) return;
  if (fLastSeenLayoutProp == theProp) fLastSeenLayoutProp = nullptr;
  TLayoutProp* fallback = fDefaultContentLayoutProperty.get();
  std::function<void(TBabGridCell*)> walk = [&](TBabGridCell* theGrid) {
    if (theGrid->GetLayoutProp() == theProp) theGrid->SetLayoutProp(nullptr);
    theGrid->GetCellMatris()->ForEachCell([&](TBabCell* c) {
      if (c->IsGridCell()) {
        walk(static_cast<TBabGridCell*>(c));
      } else if (c->GetLayoutProp() == theProp) {
        c->SetLayoutProp(c->GetIsFixed() ? nullptr : fallback);
      }
    });
  };
  walk(fBabGridCellForViewer.get());
  RecalcExtents();
}

void TBabGridView_Custom::RecalcExtents() {
  fLayout->SetHardOutOfDate();
  Invalidate();
}

void TBabGridView_Custom::BeginUpdate() {
  TvxOffscreenPaint::BeginUpdate();
  fBabGridCellForViewer->BeginUpdate();
}

void TBabGridView_Custom::EndUpdate() {
  fBabGridCellForViewer->EndUpdate();
  TvxOffscreenPaint::EndUpdate();
}

// ---------------------------------------------------------------- layout

TRect TBabGridView_Custom::GetDrawRect() const {
  TRect r = Rect(0, 0, GetWidth(), GetHeight());
  // The single border is a frame of one pixel inside the control.
  if (GetBorderStyle() == bsSingle) r = InflateRect(r, -1, -1);
  if (!GetIsPrinting()) {
    if (fHorz && fHorz->GetVisible()) r.Bottom -= fHorz->GetHeight();
    if (fVert && fVert->GetVisible() && !fHijackVerticalScroll) r.Right -= fVert->GetWidth();
  }
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

bool TBabGridView_Custom::GetHardViewParamsOutOfDate() const noexcept { return fLayout->GetHardViewParamsOutOfDate(); }
bool TBabGridView_Custom::GetSoftViewParamsOutOfDate() const noexcept { return fLayout->GetSoftViewParamsOutOfDate(); }

void TBabGridView_Custom::UpdateLayout() {
  if (IsDestroying()) return;
  TRect r = GetDrawRect();
  if (GetIsPrinting() && GetAssignedPrintingCanvas()) {
    // On paper the view is at device size, but the axes count in screen
    // pixels: only the rows that fit the unscaled area are laid out.
    r = Rect(Round(r.Left / GetPrintScalex()), Round(r.Top / GetPrintScaley()), Round(r.Right / GetPrintScalex()),
             Round(r.Bottom / GetPrintScaley()));
  }
  fLayout->SetDrawRect(r);
  fLayout->Update();
  AskAgainForAxisChange();
}

void TBabGridView_Custom::HardViewParamsUpdate() {
  {
    TFlagScope pass(fInLayoutPass);
    fLayout->BaseHardViewParamsUpdate();
  }
  AfterLayoutPass();
}

void TBabGridView_Custom::SoftViewParamsUpdate() {
  if (IsDestroying()) return;
  LayOutArea();
  AfterLayoutPass();
}

void TBabGridView_Custom::LayOutArea() {
  TFlagScope pass(fInLayoutPass);
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  // A bar that comes or goes changes the area, and a bar that goes resets
  // the scroll position: both need the pass again.
  for (int round = 0; round < 3; ++round) {
    const TRect r = GetDrawRect();
    const int top = g->GetTop(), left = g->GetLeft();
    g->CalcVisibleArea(r);
    if (!GetIsPrinting() && !fHijackVerticalScroll) KeepEndAtBottom(r);
    UpdateScrollbars();
    if (GetDrawRect() == r && g->GetTop() == top && g->GetLeft() == left) break;
  }
  fLayout->SetDrawRect(GetDrawRect());
  // The editor follows its cell, after this pass.
  if (fEditing && !fInsideStopEditing)
    TDoLater::DoLater(DoLaterCall<&TBabGridView_Custom::FollowEdit_Async>(this), nullptr);
}

int TBabGridView_Custom::GetWidthOffAxisContentItemForHeightCalculation(TBabGridCell*, TAxisContentItem* theItem) {
  return theItem ? theItem->GetUserSize() : 0;
}

int TBabGridView_Custom::WidthLeftForColumn(TBabGridCell* theGridCell, TAxisContentItem* theItem) {
  if (!theGridCell) return 0;
  int width = 0;
  if (theGridCell == fBabGridCellForViewer.get()) {
    // The room the control offers, whatever its border: five pixels are
    // kept free of the filling column.
    width = GetWidth() - 5;
    if (!GetIsPrinting() && fVert && fVert->GetVisible() && !fHijackVerticalScroll) width -= fVert->GetWidth();
  } else {
    const TRect r = theGridCell->GetLastDrawnRect();
    width = r == NoRect() ? 0 : r.Width();
  }
  // Only the columns on screen take their share: the fixed ones, then those
  // from the scroll position up to this one (it covers what lies beyond).
  TAxisContentList* cols = theGridCell->GetAxisContentListX();
  for (TVisibleIterator it(theGridCell->GetFixedCols(), theGridCell->GetLeft(), cols->Count()); !it.Eof() && width > 0;
       it.Next()) {
    TAxisContentItem* col = cols->getAxisContentItem(it.Current());
    if (col == theItem) break;
    if (!col || col->GetHide() || col->GetUserSize() == kFillUserSize) continue;
    width -= GetWidthOffAxisContentItemForHeightCalculation(theGridCell, col);
  }
  return std::max(width, 0);
}

int TBabGridView_Custom::GetFullyVisibleColumns() const { return fBabGridCellForViewer->GetVisibleColCount(); }

void TBabGridView_Custom::DoResize(int theDelta, TBabCell* theCell, bool theIsHorz) {
  if (!theCell) return;
  // The resize is heard (OnColumnResized and the like) before OnAfterUserSize.
  TvxWatch<TBabCell> alive(theCell);
  TvxHeld<TAxisContentItem> item(theIsHorz ? theCell->GetAxisContentItemX() : theCell->GetAxisContentItemY());
  if (!item) return;
  fLayout->DoResize(theDelta, theCell, theIsHorz);
  if (OnAfterUserSize && alive && item) OnAfterUserSize(this, theCell, theIsHorz, item.Get());
  RecalcExtents();
}

void TBabGridView_Custom::Resize() {
  PlaceScrollbars();
  if (fLayout) fLayout->SetDrawRect(GetDrawRect());
  Invalidate();
  DoGridResize();
  TvxOffscreenPaint::Resize();
}

void TBabGridView_Custom::DoGridResize() {
  if (OnGridResize) OnGridResize(this);
}

// ---------------------------------------------------------------- buttons and insets

bool TBabGridView_Custom::CellHasButton(TBabCell* theCell) {
  return OnCellHasButton && theCell && !theCell->IsGridCell() && OnCellHasButton(this, theCell);
}

bool TBabGridView_Custom::IsButtonExpanded(TBabCell* theCell) {
  return OnIsButtonExpanded ? OnIsButtonExpanded(this, theCell) : false;
}

bool TBabGridView_Custom::IsButtonTerminal(TBabCell* theCell) {
  return OnIsButtonTerminal ? OnIsButtonTerminal(this, theCell) : true;
}

TBabCell* TBabGridView_Custom::GetParentButtonCell(TBabCell* theCell) {
  return OnGetParentButtonCell ? OnGetParentButtonCell(this, theCell) : nullptr;
}

bool TBabGridView_Custom::ButtonHasNonHiddenChildren(TBabCell* theCell) {
  return OnButtonHasNonHiddenChildren ? OnButtonHasNonHiddenChildren(this, theCell) : true;
}

int TBabGridView_Custom::CellInset(TBabCell* theCell) { return OnCellInset ? OnCellInset(this, theCell) : 0; }

void TBabGridView_Custom::DoButtonAction(TBabCell* theCell) {
  if (!theCell) return;
  if (theCell->IsGridCell()) {
    DoButtonAction(static_cast<TBabGridCell*>(theCell)->GetFocusedCell());
    return;
  }
  if (OnButtonClick) OnButtonClick(this, theCell);
  Invalidate();
}

// ---------------------------------------------------------------- properties

void TBabGridView_Custom::SetImageList(TCustomImageList* theValue) {
  fImageList = theValue;
  RecalcExtents();
}

void TBabGridView_Custom::SetFocusRect_Cell(bool theValue) {
  fFocusRect_Cell = theValue;
  Invalidate();
}

void TBabGridView_Custom::SetFocusRect_Grid(bool theValue) {
  fFocusRect_Grid = theValue;
  Invalidate();
}

void TBabGridView_Custom::SetShowLinesTree(bool theValue) {
  fShowLinesTree = theValue;
  Invalidate();
}

void TBabGridView_Custom::SetDragMode(TDragMode theMode) {
  // The view drags only past the threshold of its own mouse moves.
  fDragModeOverride = theMode;
  TvxOffscreenPaint::SetDragMode(dmManual);
}

void TBabGridView_Custom::SetGridCursor(TCursor theCursor) {
  if (GetCursor() != theCursor) SetCursor(theCursor);
}

void TBabGridView_Custom::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_COPY) {
    if (TBabCell* f = fBabGridCellForViewer->GetFocusedCellDownTrack(); f && !f->IsGridCell())
      SetClipboardText(GetText(f));
    return;
  }
  if (Message.Msg == CM_WANTSPECIALKEY && Message.WParam == VK_TAB) {
    // Tab moves between cells; past the last one KeyDown hands the focus on.
    Message.Result = 1;
    return;
  }
  TvxOffscreenPaint::Dispatch(Message);
}

}  // namespace vx
