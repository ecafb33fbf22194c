#include <vxplan/platform/ui/ExtCtrls.h>

#include <QTabBar>
#include <QTimer>
#include <algorithm>

#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

void Frame3D(TCanvas* theCanvas, TRect& r, TColor theTopColor, TColor theBottomColor, int theWidth) {
  TPen* pen = theCanvas->GetPen();
  const TColor oldColor = pen->GetColor();
  const int oldWidth = pen->GetWidth();
  pen->SetWidth(1);
  --r.Bottom;
  --r.Right;
  for (int k = 0; k < theWidth; ++k) {
    pen->SetColor(theTopColor);
    const TPoint top[] = {Point(r.Left, r.Bottom), Point(r.Left, r.Top), Point(r.Right, r.Top)};
    theCanvas->Polyline(top);
    pen->SetColor(theBottomColor);
    const TPoint bottom[] = {Point(r.Right, r.Top), Point(r.Right, r.Bottom), Point(r.Left - 1, r.Bottom)};
    theCanvas->Polyline(bottom);
    r = InflateRect(r, -1, -1);
  }
  ++r.Bottom;
  ++r.Right;
  pen->SetColor(oldColor);
  pen->SetWidth(oldWidth);
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TWinControl(AOwner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::Changed() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetCaption(const std::string& theCaption) {
  fCaption = theCaption;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut theValue) {
  fBevelInner = theValue;
  Changed();
}

void TCustomPanel::SetBevelOuter(TBevelCut theValue) {
  fBevelOuter = theValue;
  Changed();
}

void TCustomPanel::SetBevelWidth(int theValue) {
  fBevelWidth = std::max(theValue, 1);
  Changed();
}

void TCustomPanel::SetBorderStyle(TBorderStyle theValue) {
  fBorderStyle = theValue;
  Changed();
}

void TCustomPanel::SetBorderWidth(int theValue) {
  fBorderWidth = std::max(theValue, 0);
  Changed();
}

void TCustomPanel::SetAlignment(TAlignment theValue) {
  fAlignment = theValue;
  Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& r) {
  TWinControl::AdjustClientRect(r);
  int inset = fBorderWidth;
  if (fBorderStyle == bsSingle) inset += 1;
  if (fBevelOuter != bvNone) inset += fBevelWidth;
  if (fBevelInner != bvNone) inset += fBevelWidth;
  r = InflateRect(r, -inset, -inset);
}

void TCustomPanel::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  if (fBorderStyle == bsSingle) {
    c->GetBrush()->SetColor(clWindowFrame);
    c->FrameRect(r);
    r = InflateRect(r, -1, -1);
  }
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    const TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    if (cut == bvSpace)
      Frame3D(c, r, GetColor(), GetColor(), fBevelWidth);
    else
      Frame3D(c, r, top, bottom, fBevelWidth);
  };
  bevel(fBevelOuter);
  Frame3D(c, r, GetColor(), GetColor(), fBorderWidth);
  bevel(fBevelInner);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  if (!fCaption.empty()) {
    c->SetFont(*GetFont());
    c->GetBrush()->SetStyle(bsClear);
    unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (fAlignment == taCenter) flags |= DT_CENTER;
    if (fAlignment == taRightJustify) flags |= DT_RIGHT;
    c->DrawText(fCaption, r, flags);
  }
  TWinControl::Paint();
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), fTimer(std::make_unique<QTimer>()) {
  QObject::connect(fTimer.get(), &QTimer::timeout, [this] {
    GuardedCall([this] { Timer(); });
  });
}

TTimer::~TTimer() {
  Destroying();
  fTimer->stop();
}

void TTimer::SetEnabled(bool theEnabled) {
  fEnabled = theEnabled;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned theInterval) {
  fInterval = theInterval;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent theHandler) {
  fOnTimer = std::move(theHandler);
  UpdateTimer();
}

void TTimer::Timer() {
  if (fOnTimer) fOnTimer(this);
}

TOwnedTimer::TOwnedTimer(TComponent* AOwner, TNotifyEvent theOwnTick) : TTimer(AOwner), fOwnTick(std::move(theOwnTick)) {
  fTicksWithoutHandler = true;
}

void TOwnedTimer::Timer() {
  if (fOwnTick) fOwnTick(this);
  TTimer::Timer();
}

int TTimer::GetRemainingTime() const { return fTimer->isActive() ? fTimer->remainingTime() : -1; }

void TTimer::UpdateTimer() {
  fTimer->stop();
  if (fEnabled && fInterval > 0 && (fOnTimer || fTicksWithoutHandler)) fTimer->start(static_cast<int>(fInterval));
}

}  // namespace vx

// --- page control ---------------------------------------------------------------------

namespace vx {

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) { SetAlign(alClient); }

TTabSheet::~TTabSheet() {
  Destroying();
  SetPageControl(nullptr);
}

void TTabSheet::SetCaption(const std::string& theCaption) {
  fCaption = theCaption;
  if (fPageControl) {
    const int i = GetPageIndex();
    if (i >= 0) fPageControl->fTabs->setTabText(i, ToQString(theCaption));
  }
}

void TTabSheet::SetPageControl(TPageControl* thePageControl) {
  if (fPageControl == thePageControl) return;
  if (fPageControl) fPageControl->RemovePage(this);
  fPageControl = thePageControl;
  if (fPageControl) fPageControl->AddPage(this);
}

int TTabSheet::GetPageIndex() const {
  if (!fPageControl) return -1;
  auto it = std::find(fPageControl->fPages.begin(), fPageControl->fPages.end(), this);
  return it == fPageControl->fPages.end() ? -1 : static_cast<int>(it - fPageControl->fPages.begin());
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner), fTabs(new QTabBar(this)) {
  fTabs->setDrawBase(true);
  fTabs->setExpanding(false);
  QObject::connect(fTabs, &QTabBar::tabBarClicked, [this](int i) { GuardedCall([&] { TabClicked(i); }); });
  SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
  Destroying();
  for (TTabSheet* page : fPages) page->fPageControl = nullptr;
  fPages.clear();
}

TTabSheet* TPageControl::GetPage(int i) const {
  return i >= 0 && i < PageCount() ? fPages[static_cast<size_t>(i)] : nullptr;
}

int TPageControl::GetTabHeight() const { return fTabs->sizeHint().height(); }

void TPageControl::AddPage(TTabSheet* thePage) {
  fPages.push_back(thePage);
  thePage->SetParent(this);
  fSyncing = true;
  fTabs->addTab(ToQString(thePage->GetCaption()));
  fSyncing = false;
  if (!fActivePage) fActivePage = thePage;
  ShowActive();
}

void TPageControl::RemovePage(TTabSheet* thePage) {
  auto it = std::find(fPages.begin(), fPages.end(), thePage);
  if (it == fPages.end()) return;
  const int i = static_cast<int>(it - fPages.begin());
  fPages.erase(it);
  fSyncing = true;
  fTabs->removeTab(i);
  fSyncing = false;
  if (fActivePage == thePage) fActivePage = fPages.empty() ? nullptr : fPages.front();
  if (!IsDestroying() && !thePage->IsDestroying()) thePage->SetParent(nullptr);
  ShowActive();
}

void TPageControl::TabClicked(int theIndex) {
  if (TTabSheet* page = GetPage(theIndex)) SetActivePage(page);
}

void TPageControl::SetActivePage(TTabSheet* thePage) {
  if (thePage == fActivePage || (thePage && thePage->fPageControl != this)) return;
  bool allow = true;
  Changing(allow);
  if (!allow) {
    ShowActive();
    return;
  }
  fActivePage = thePage;
  ShowActive();
  Change();
}

void TPageControl::Changing(bool& AllowChange) {
  if (OnChanging) OnChanging(this, AllowChange);
}

void TPageControl::Change() {
  if (OnChange) OnChange(this);
}

void TPageControl::ShowActive() {
  if (IsDestroying()) return;
  // Qt's visibility only: a page's Visible stays the application's, so that a
  // page hidden while another was active shows again once it is chosen.
  for (TTabSheet* page : fPages) page->QWidget::setVisible(page == fActivePage && page->GetVisible());
  if (fActivePage) {
    fSyncing = true;
    fTabs->setCurrentIndex(fActivePage->GetPageIndex());
    fSyncing = false;
    fActivePage->raise();
  }
  Realign();
}

void TPageControl::AdjustClientRect(TRect& Rect) { Rect.Top += GetTabHeight(); }

void TPageControl::Resize() {
  fTabs->setGeometry(0, 0, GetWidth(), GetTabHeight());
  TWinControl::Resize();
}

}  // namespace vx
