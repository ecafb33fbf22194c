// The chart's composition and lifecycle: its children, lists and
// controllers, its collaborators, refreshing.
#include <vxplan/gantt/vxGant.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/TabOrder.h>

namespace vx {

// The chart's pages: the chart hears the change first, through the hooks it
// gives; OnChanging and OnChange stay the application's.
class TGantPageControl : public TPageControl {
public:
  using TChangingHook = std::function<void(TObject*, bool&)>;
  TGantPageControl(TComponent* AOwner, TChangingHook theChanging, TNotifyEvent theChange)
      : TPageControl(AOwner), fChanging(std::move(theChanging)), fChange(std::move(theChange)) {}

protected:
  void Changing(bool& AllowChange) override {
    fChanging(this, AllowChange);
    if (AllowChange) TPageControl::Changing(AllowChange);
  }
  void Change() override {
    fChange(this);
    TPageControl::Change();
  }

private:
  TChangingHook fChanging;
  TNotifyEvent fChange;
};

// A panel of the left side: the tree and the axis stay aligned when it
// resizes; OnResize stays the application's.
class TGantAlignPanel : public TPanel {
public:
  TGantAlignPanel(TComponent* AOwner, TvxGant_ComBasic* theGantt) : TPanel(AOwner), fGantt(theGantt) {}
  // Set once the panel is placed; its first sizes tell the chart nothing.
  bool fWired = false;

protected:
  void Resize() override {
    if (fWired && !fGantt->IsDestroying()) fGantt->HandleTreeAlign(this);
    TPanel::Resize();
  }

private:
  TvxGant_ComBasic* fGantt;
};

TvxGant_ComBasic::TvxGant_ComBasic(TComponent* AOwner) : TCustomPanel(AOwner) { InitializeInConstructor(); }

TvxGant_ComBasic::TvxGant_ComBasic(TComponent* AOwner, DeferInitialize) : TCustomPanel(AOwner) {}

void TvxGant_ComBasic::InitializeInConstructor() { Initialize(); }

void TvxGant_ComBasic::Initialize() {
  fGesture = std::make_unique<TGantGesture>(*this);
  fClassOfDataEntity_Kronit = TvxDataEntityClass::Of<TvxDataEntity_Kronit>();
  fClassOfDataEntity_Link = TvxDataEntityClass::Of<TvxDataEntity_Link>();
  fRowList = CreateRowList();

  // Links are repainted with the chart: their handlers have nothing to do.
  fLinkDataListController = std::make_unique<TvxListController>();
  fLinkDataListController->fBeforeCanEditItem = [this](TvxDataEntity* e) { _OnBeforeCanEditItem_Link(e); };
  fLinksDataList = CreateLinkList();
  SetBounds(GetLeft(), GetTop(), 350, 250);
  SetCaption("");

  BuildChildren();

  fAllDataEntities = CreateDataList3Lev();
  fAllDataEntities->AfterCreate();
  fSnap = std::make_unique<TSnapHandler>();
  fSnap->fStartSnap = 5 * OneMinute;
  fSnap->fStopSnap = OneMinute;
  fSnap->fStartSnapONOFF = true;
  fSnap->fStopSnapONOFF = true;
  fSnap->fStopSnapOnMoveONOFF = false;
  fBackGroundHeight = 18;
  fStartScaleWhenDrawn = fDateScaler->GetStart();

  fItemModel = std::make_unique<TGantItemModel>(*this);

  if (!IsDesigning()) {
    fHint = new TGraphHintWindow(fGA);
    fHint->fOnUpdateTextEvent = [this](TGraphHintWindow* h, TObject* o) {
      if (h) h->SetCaption(HintText(o));
    };
  }
  for (unsigned key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_SPACE}) fGA->SetSpecialKey(key);

  SetUseGridNotTree(false);
  HandleTreeAlign(nullptr);
}

void TvxGant_ComBasic::BuildChildren() {
  auto panel = [this](TWinControl* theParent, TAlign theAlign) {
    auto* p = new TGantAlignPanel(this, this);
    p->SetParent(theParent);
    p->SetBevelOuter(bvNone);
    p->SetCaption("");
    p->SetAlign(theAlign);
    return p;
  };
  fPanelTreeHolder = panel(this, alLeft);
  fPanelTreeHolder->SetBounds(1, 1, 100, GetHeight() - 2);
  static_cast<TGantAlignPanel*>(fPanelTreeHolder)->fWired = true;

  fSplitter = new TvxSplitter(this);
  fSplitter->SetParent(this);
  fSplitter->SetAlign(alLeft);
  fSplitter->SetLeft(101);
  fSplitter->SetCursor(crHSplit);

  fPageControl = new TGantPageControl(
      this,
      [this](TObject* s, bool& allow) {
        if (!IsDestroying()) fTabSheets.PageChanging(s, allow);
      },
      [this](TObject* s) {
        if (!IsDestroying()) fTabSheets.PageChange(s);
      });
  fPageControl->SetParent(this);
  fPageControl->SetVisible(false);
  fPageControl->SetAlign(alClient);
  fGantTabSheet = new TTabSheet(this);
  fGantTabSheet->SetCaption("Gant");

  fPanelScaleAndGantHolder = panel(this, alClient);
  fPanelScaleAndGantHolder->SetCaption("PanelScaleAndGantHolder");
  fPanelScrollHolder = panel(this, alRight);
  fPanelScrollHolder->SetBounds(312, 1, 16, GetHeight() - 2);

  fDateScaler = CreateDateScaler(this);
  fDateScaler->SetParent(fPanelScaleAndGantHolder);
  fDateScaler->SetAlign(alTop);
  fDateScaler->SetHeight(45);
  const TDateTime today = std::floor(Now());
  fDateScaler->SetStart(today - 15);
  fDateScaler->SetStop(today + 15);
  fDateScaler->SetHorizontal(true);
  fDateScaler->SetTimeFormat("HH:MM:SS");
  fDateScaler->SetDateFormat("YYMMDD");
  fDateScaler->SetShowHint(true);
  fDateScaler->SetName("DateScaler");
  // Heard privately: the scaler's OnChange is the application's. The area
  // follows every new window at once, drags on the axis included.
  fScalerChangeDelivered = std::make_unique<TSingleEventListener>(
      fDateScaler->GetChangeDeliveredEvent(), [this](TSingleEventListener*) { fAlign.ScaleChanged(); }, false);
  fScalerMarksChanged = std::make_unique<TSingleEventListener>(
      fDateScaler->GetMarksChangedEvent(), [this](TSingleEventListener*) { InvalidateGA(); }, false);

  fPanelAboveTree = panel(fPanelTreeHolder, alTop);
  fPanelAboveTree->SetHeight(45);
  static_cast<TGantAlignPanel*>(fPanelAboveTree)->fWired = true;

  fScrollBarVertical = new TScrollBar(this, sbVertical);
  fScrollBarVertical->SetParent(fPanelScrollHolder);
  fScrollBarVertical->SetAlign(alClient);
  fScrollBarVertical->SetEnabled(false);
  fScrollBarVertical->SetTabStop(false);

  fTree = CreateTree(this);
  fTree->SetParent(fPanelTreeHolder);
  fTree->SetTop(41);
  fTree->SetVertScrollExternal(fScrollBarVertical);
  fTree->SetTabStop(true);
  fTree->SetVisible(false);
  fTree->SetName("Treeview");

  fPanelAboveScroll = panel(fPanelScrollHolder, alTop);
  fPanelAboveScroll->SetHeight(45);

  fGA = new TvxOffscreenPaint_GA(this, this);
  fGA->SetParent(fPanelScaleAndGantHolder);
  fGA->SetAlign(alClient);
  fGA->SetName("GanttArea");
  fGA->SetCursor(fCursorGantArea);
  fGA->SetKeepUntilInvalidated(true);  // outlines drawn over it cost no repaint
  fGA->SetPaintsOnWindow(true);        // and a full frame no copy when none are
  fGA->SetTabStop(true);
  auto printFont = [this](TvxOffscreenPaint* c, int& size, bool& def) { _OnPrintResizeFont(c, size, def); };
  fGA->SetOwnerPrintResizeFont(printFont);
  fDateScaler->SetOwnerPrintResizeFont(printFont);
  fGridSide->Build();
  // The left side first (the tree or the grid, whichever shows), then the
  // area, the axis and the tab sheets.
  SetTabOrder({fTree, fGridSide->GetGrid(), fGA, fDateScaler, fPageControl});
}

TvxGant_ComBasic::~TvxGant_ComBasic() {
  Destroying();
  // A binding lets go of the items and nodes it holds while they are whole.
  if (TGantBindingListener* binding = std::exchange(fBindingListener, nullptr)) binding->BindingChartGone();
  fScalerChangeDelivered.reset();
  fScalerMarksChanged.reset();
  if (fGesture) fGesture->Engine().Reset();
  // The lists go while every child is whole: their notifications reach the
  // tree and the Gantt area. Links first, so that items going do not search
  // them one by one.
  if (fLinksDataList) fLinksDataList->Clear();
  if (fAllDataEntities) fAllDataEntities->Clear();  // rows need not be looked up there one by one
  if (fRowList) fRowList->FreeWheneverPossible();
  fRowList = nullptr;
  if (fAllDataEntities) fAllDataEntities->FreeWheneverPossible();
  fAllDataEntities = nullptr;
  if (fLinksDataList) fLinksDataList->FreeWheneverPossible();
  fLinksDataList = nullptr;
  // The tree's and the grid's entities go next; their rows are gone already.
  delete fTree;
  fTree = nullptr;
  fGridSide->FreeGrid();
  fTabSheets.Clear();
  DestroyComponents();
  fItemModel.reset();
  fLinkDataListController.reset();
}

// --- factories ------------------------------------------------------------------------

TvxDateScaler* TvxGant_ComBasic::CreateDateScaler(TComponent* theOwner) { return new TvxDateScaler(theOwner); }

TGantTree* TvxGant_ComBasic::CreateTree(TComponent* theOwner) { return new TGantTree(theOwner, this); }

TvxGrid* TvxGant_ComBasic::CreateGrid(TComponent* theOwner) { return new TvxGrid(theOwner); }

TGantRowList* TvxGant_ComBasic::CreateRowList() { return new TGantRowList(this); }

TvxDataList* TvxGant_ComBasic::CreateLinkList() {
  return TvxDataList::Create(fLinkDataListController.get(), fClassOfDataEntity_Link);
}

TGantRow* TvxGant_ComBasic::CreateRow(TvxDataEntity_Tree* theTreeNode, TvxDataEntity_GridTreeNode* theGridTreeNode) {
  return new TGantRow(fRowList, theTreeNode, theGridTreeNode);
}

TvxDataList_GantRow* TvxGant_ComBasic::CreateDataList_GantRow() { return new TvxDataList_GantRow(); }

TvxDataList2lev* TvxGant_ComBasic::CreateDataList2Lev() { return new TvxDataList2lev(); }

TvxDataList3lev* TvxGant_ComBasic::CreateDataList3Lev() { return new TvxDataList3lev(); }

// --- the left side --------------------------------------------------------------------

TvxDataEntity_Tree* TvxGant_ComBasic::AddDataEntityTree(TvxDataEntity_Tree* theParent) {
  return fTree ? fTree->AddDataEntity(theParent) : nullptr;
}

TGantSide* TvxGant_ComBasic::GetSide(bool theGrid) const noexcept {
  return theGrid ? static_cast<TGantSide*>(fGridSide.get()) : fTreeSide.get();
}

TGantSide* TvxGant_ComBasic::ShownSide() const noexcept {
  for (TGantSide* side : {GetSide(false), GetSide(true)})
    if (side->PrintRows().Active()) return side;
  return fSide;
}

void TvxGant_ComBasic::SetUseGridNotTree(bool theValue) {
  // Both sides keep their rows; only the side in use shows and answers.
  fSide = GetSide(theValue);
  GetSide(!theValue)->SetShown(false);
  fSide->SetShown(true);
  if (fPanelAboveTree && fDateScaler) UpdateGridAlign();
  RealignScrollbar();
  InvalidateGA();
}

void TvxGant_ComBasic::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomPanel::Notification(AComponent, Operation);
  if (Operation == opRemove) fTabSheets.SheetGone(AComponent);
}

void TvxGant_ComBasic::RealignScrollbar() {
  if (!fPanelScrollHolder || !fPanelAboveScroll || !fScrollBarVertical) return;
  fSide->RealignScrollbar();
}

int TvxGant_ComBasic::GetTreeWidth() const { return fPanelTreeHolder ? fPanelTreeHolder->GetWidth() : 0; }

void TvxGant_ComBasic::SetTreeWidth(int theWidth) {
  if (fPanelTreeHolder) fPanelTreeHolder->SetWidth(std::clamp(theWidth, 0, MostPartSize));
}

// --- refreshing -----------------------------------------------------------------------

void TvxGant_ComBasic::BeginUpdate() {
  fDateScaler->BeginUpdate();
  fGA->BeginUpdate();
  fTree->BeginUpdate();
}

void TvxGant_ComBasic::EndUpdate() {
  fDateScaler->EndUpdate();
  fGA->EndUpdate();
  fTree->EndUpdate();
}

void TvxGant_ComBasic::Repaint() {
  TCustomPanel::Repaint();
  if (fDateScaler) fDateScaler->Repaint();
  if (fTree) fTree->Repaint();
  if (fGA) fGA->Repaint();
}

void TvxGant_ComBasic::RefreshOthers(TObject* theSender) {
  if (IsDestroying()) return;
  if (fDateScaler && theSender != fDateScaler) fDateScaler->Repaint();
  if (fTree && theSender != fTree) fTree->Repaint();
  if (fGA && theSender != fGA) fGA->Invalidate();
}

void TvxGant_ComBasic::InvalidateGA() {
  if (fGA && !IsDestroying()) fGA->Invalidate();
}

void TvxGant_ComBasic::WheelQt(TShiftState theShift, int theDelta, int x) {
  if (theShift.Contains(ssCtrl)) {
    fDateScaler->WheelZoom(x, theDelta);
    return;
  }
  if (theShift.Contains(ssShift)) {
    fDateScaler->WheelPan(theDelta);
    return;
  }
  const int rows = fWheelRows.Add(theDelta, WheelScrollLines());
  if (rows != 0) fSide->WheelRows(rows);
}

void TvxGant_ComBasic::GantAreaWheelScroll(TWMMouseWheel& Msg) {
  if (fWheelConvention == wcQt) {
    const TPoint at = fGA->ScreenToClient(Point(Msg.XPos, Msg.YPos));
    WheelQt(Msg.Shift, Msg.WheelDelta, at.X);
    return;
  }
  fSide->WheelStep(Msg);
}

// --- the Gantt area -------------------------------------------------------------------

TvxOffscreenPaint_GA::TvxOffscreenPaint_GA(TComponent* AOwner, TvxGant_ComBasic* theGantt)
    : TvxOffscreenPaint(AOwner), fGantt(theGantt) {}

TvxAccessibleContent* TvxOffscreenPaint_GA::AccessibleContent() {
  if (!fGantt || IsDestroying()) return nullptr;
  if (!fAccessible) fAccessible = std::make_unique<TGantAccessible>(*fGantt);
  return fAccessible.get();
}

void TvxOffscreenPaint_GA::OffscreenPaint() {
  if (fGantt && !fGantt->IsDestroying()) fGantt->GantAreaPaint(this);
  TvxOffscreenPaint::OffscreenPaint();  // the application's OnPaint draws over the chart
}

void TvxOffscreenPaint_GA::WheelScroll(TWMMouseWheel& Msg) {
  if (fGantt && !fGantt->IsDestroying()) fGantt->GantAreaWheelScroll(Msg);
  TvxOffscreenPaint::WheelScroll(Msg);
}

TPoint TvxGant_ComBasic::PreferredSize() const {
  const int row = std::max(fTree ? fTree->GetItemHeight() : 0, 16);
  return Point(GetTreeWidth() + 400, GetScalerHeight() + 8 * row);
}

TPoint TvxGant_ComBasic::MinimumSize() const {
  const int row = std::max(fTree ? fTree->GetItemHeight() : 0, 16);
  return Point(std::min(GetTreeWidth(), 60) + 80, GetScalerHeight() + 2 * row);
}

}  // namespace vx
