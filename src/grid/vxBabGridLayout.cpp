// Keeping the layout of a cell tree current: hard and soft updates, deferred.
#include <algorithm>

#include <vxplan/grid/vxBabGridContent.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {

TBabGridLayout::TBabGridLayout(TBabGridCellForViewer* theGridCell) : fGridCell(theGridCell) {
  // Loads and unloads of the pass itself raise axis changes: those are ignored.
  auto hard = [this](TSingleEventListener*) {
    if (!fUpdating) SetHardOutOfDate();
  };
  auto soft = [this](TSingleEventListener*) {
    if (!fUpdating) SetSoftOutOfDate();
  };
  fListeners.push_back(new TSingleEventListener(fGridCell->GetAxisChangeEvent(), hard, false));
  fListeners.push_back(new TSingleEventListener(fGridCell->GetUserSizeEvent(), hard, false));
  fListeners.push_back(new TSingleEventListener(fGridCell->GetTopLeftChangedEvent(), soft, false));
}

TBabGridLayout::~TBabGridLayout() {
  TDoLater::NeverMind(DoLaterCall<&TBabGridLayout::DeferredUpdate>(this));
  for (TSingleEventListener* l : fListeners) delete l;
}

void TBabGridLayout::SetDrawRect(TRect theRect) {
  if (theRect == fDrawRect) return;
  fDrawRect = theRect;
  SetSoftOutOfDate();
}

void TBabGridLayout::SetHardOutOfDate() {
  fHardViewParamsOutOfDate = true;
  Schedule();
}

void TBabGridLayout::SetSoftOutOfDate() {
  fSoftViewParamsOutOfDate = true;
  Schedule();
}

void TBabGridLayout::Schedule() {
  if (fDeferred) TDoLater::DoLater(DoLaterCall<&TBabGridLayout::DeferredUpdate>(this), nullptr);
}

void TBabGridLayout::DeferredUpdate(TObject*) { Update(); }

void TBabGridLayout::Update() {
  if (fUpdating) return;
  TFlagScope updating(fUpdating);
  if (fHardViewParamsOutOfDate) {
    HardViewParamsUpdate();
    fHardViewParamsOutOfDate = false;
    fSoftViewParamsOutOfDate = true;
  }
  if (fSoftViewParamsOutOfDate) {
    SoftViewParamsUpdate();
    fSoftViewParamsOutOfDate = false;
  }
}

void TBabGridLayout::HardViewParamsUpdate() {
  fGridCell->CalculateSizes();
  // The first scrolled column must be one that shows: forward, then back.
  TAxisContentList* ax = fGridCell->GetAxisContentListX();
  const int left = fGridCell->GetLeft();
  for (int k = left; k < ax->Count(); ++k) {
    TAxisContentItem* item = ax->getAxisContentItem(k);
    if (item && !item->GetHide()) {
      fGridCell->SetLeft(k);
      return;
    }
  }
  for (int k = left - 1; k >= 0; --k) {
    TAxisContentItem* item = ax->getAxisContentItem(k);
    if (item && !item->GetHide()) {
      fGridCell->SetLeft(k);
      return;
    }
  }
}

void TBabGridLayout::SoftViewParamsUpdate() { fGridCell->CalcVisibleArea(fDrawRect); }

void TBabGridLayout::DoResize(int theDelta, TBabCell* theCell, bool theIsHorz) {
  if (!theCell) return;
  TAxisContentItem* item = theIsHorz ? theCell->GetAxisContentItemX() : theCell->GetAxisContentItemY();
  if (!item) return;
  item->SetUserSizeActive(true);
  item->SetUserSize(static_cast<int>(
      std::clamp<long long>(static_cast<long long>(item->GetCalculatedSize()) + theDelta, 0, kMaxItemSize)));
}

}  // namespace vx
