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
  auto record = std::make_unique<TTabSheetRecord>();
  record->fSheet = theSheet;
  record->fOnTreeChange = std::move(h1);
  record->fOnChanging = std::move(h2);
  record->fOnOther = std::move(h3);
  record->fOnPageEvent = std::move(h4);
  fTreeChangeNotifyList.push_back(std::move(record));
}

void TGantTabSheets::PageChanging(TObject* Sender, bool& AllowChange) {
  AllowChange = true;
  if (fChart.IsDestroying() || fChart.IsDesigning()) return;
  for (auto& r : fTreeChangeNotifyList)
    if (r->fSheet == fChart.fPageControl->GetActivePage()) {
      if (r->fOnChanging) r->fOnChanging(Sender, AllowChange);
      if (r->fOnPageEvent) r->fOnPageEvent(Sender);
    }
}

void TGantTabSheets::PageChange(TObject* Sender) {
  if (fChart.IsDestroying() || fChart.IsDesigning()) return;
  for (auto& r : fTreeChangeNotifyList)
    if (r->fSheet == fChart.fPageControl->GetActivePage() && r->fOnPageEvent) r->fOnPageEvent(Sender);
  ChangeInTree();
}

void TGantTabSheets::ChangeInTree() {
  if (fChart.IsDestroying() || !fChart.fTree) return;
  auto* node = TvxTree_ComBasic::GetDataEntityFromNode(fChart.fTree->GetSelected());
  TGantRow* row = fChart.fRowList->FindRowFromTreeNode(node);
  for (auto& r : fTreeChangeNotifyList)
    if (r->fSheet->Showing() && r->fOnTreeChange) r->fOnTreeChange(row);
}

}  // namespace vx
