// The chart's tab sheets: its own page and the application's beside it.
#include <vxplan/gantt/vxGantTabs.h>

#include <vxplan/gantt/vxGant.h>

namespace vx {

bool TGantTabSheets::GetUseTabSheets() const { return fChart.fPageControl && fChart.fPageControl->GetVisible(); }

void TGantTabSheets::SetUseTabSheets(bool v) {
  if (!fChart.fPageControl || v == GetUseTabSheets()) return;
  TWinControl* holder = v ? static_cast<TWinControl*>(fChart.fGantTabSheet) : &fChart;
  if (v) {
    fChart.fGantTabSheet->SetPageControl(fChart.fPageControl);
    fChart.fPageControl->SetVisible(true);
  }
  fChart.fPanelScaleAndGantHolder->SetParent(holder);
  fChart.fPanelScrollHolder->SetParent(holder);
  if (v) {
    fChart.fPageControl->SetActivePage(fChart.fGantTabSheet);
    fChart.fGantTabSheet->BringToFront();
  } else {
    fChart.fPageControl->SetVisible(false);
  }
  fChart.Realign();
  fChart.fAlign.LineUpTreeWithArea();
}

void TGantTabSheets::AddTabSheet(TTabSheet* theSheet, TTabSheetTreeChange h1, TTabSheetChanging h2, TNotifyEvent h3,
                                 TNotifyEvent h4) {
  if (!theSheet || !fChart.fPageControl) return;
  theSheet->SetPageControl(fChart.fPageControl);
  theSheet->FreeNotification(&fChart);  // the application may free its sheet at any time
  auto record = std::make_unique<TTabSheetRecord>();
  record->fSheet = theSheet;
  record->fOnTreeChange = std::move(h1);
  record->fOnChanging = std::move(h2);
  record->fOnOther = std::move(h3);
  record->fOnPageEvent = std::move(h4);
  fTreeChangeNotifyList.push_back(std::move(record));
}

void TGantTabSheets::SheetGone(TComponent* theSheet) noexcept {
  // The record stays, deaf: a walk over the records may be under way.
  for (auto& r : fTreeChangeNotifyList)
    if (r->fSheet == theSheet) r->fSheet = nullptr;
}

// Handlers may add sheets (the list grows; records are never taken out) or
// free them: the walks go by index, and copy each handler before calling it.
void TGantTabSheets::PageChanging(TObject* Sender, bool& AllowChange) {
  AllowChange = true;
  if (fChart.IsDestroying() || fChart.IsDesigning()) return;
  TTabSheet* left = fChart.fPageControl->GetActivePage();
  for (size_t i = 0; i < fTreeChangeNotifyList.size(); ++i) {
    if (!left || fTreeChangeNotifyList[i]->fSheet != left) continue;
    if (TTabSheetChanging h2 = fTreeChangeNotifyList[i]->fOnChanging) h2(Sender, AllowChange);
    if (TNotifyEvent h4 = fTreeChangeNotifyList[i]->fOnPageEvent) h4(Sender);
  }
}

void TGantTabSheets::PageChange(TObject* Sender) {
  if (fChart.IsDestroying() || fChart.IsDesigning()) return;
  TTabSheet* shown = fChart.fPageControl->GetActivePage();
  for (size_t i = 0; i < fTreeChangeNotifyList.size(); ++i)
    if (shown && fTreeChangeNotifyList[i]->fSheet == shown)
      if (TNotifyEvent h4 = fTreeChangeNotifyList[i]->fOnPageEvent) h4(Sender);
  if (!fChart.IsDestroying()) ChangeInTree();
}

void TGantTabSheets::ChangeInTree() {
  for (size_t i = 0; i < fTreeChangeNotifyList.size(); ++i) {
    if (fChart.IsDestroying() || !fChart.fTree) return;
    TTabSheetRecord& r = *fTreeChangeNotifyList[i];
    if (!r.fSheet || !r.fSheet->Showing() || !r.fOnTreeChange) continue;
    // Afresh for each: an earlier handler may have deleted the row.
    auto* node = TvxTree_ComBasic::GetDataEntityFromNode(fChart.fTree->GetSelected());
    TTabSheetTreeChange h1 = r.fOnTreeChange;
    h1(fChart.fRowList->FindRowFromTreeNode(node));
  }
}

}  // namespace vx
