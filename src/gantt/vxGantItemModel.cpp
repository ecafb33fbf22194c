// The chart's listener on its items' list controller.
#include <vxplan/gantt/vxGantItemModel.h>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {

TGantItemModel::TGantItemModel(TvxGant_ComBasic& theChart) : fChart(theChart) {
  TvxListController& c = fController;
  c.fInsertItem = [this](TvxDataEntity* e) { _InsertItem_Kronit(e); };
  c.fDeleteItem = [this](TvxDataEntity* e) { _DeleteItem_Kronit(e); };
  c.fOnContentChanged = [this](TvxDataList* l) { _ContentChanged_Kronit(l); };
  c.fOnSelectionChanged = [this](TvxDataList* l, TvxDataEntity* e) { _SelectionChanged_Kronit(l, e); };
  c.fOnInfoPush = [this](TvxDataEntity* e) { _InfoPush_Kronit(e); };
  c.fBeforeCanEditItem = [this](TvxDataEntity* e) { fChart._OnBeforeCanEditItem(e); };
  c.fOnLoadItem = [this](TvxDataEntity* e) { _LoadItem_Kronit(e); };
  c.fOnUnLoadItem = [this](TvxDataEntity* e, bool& can) { _UnLoadItem_Kronit(e, can); };
}

bool TGantItemModel::TCallOutItems::Alive(const TvxDataEntity_Kronit* theItem) const {
  for (const TvxHeld<TvxDataEntity_Kronit>& inserted : fInserted)
    if (inserted.Is(theItem)) return inserted.Get() != nullptr;
  return fDeleted.count(theItem) == 0;
}

void TGantItemModel::AskForNewItem(const TOnTimeCopyOrMove& theHandler, TvxDataEntity_Kronit* theItem,
                                   TGantRow* theRow, TGantRow* theNewRow, TDateTime theStart, TDateTime theStop,
                                   TvxDataEntity_Kronit*& theNewItem) {
  TCallOutItems items;
  {
    TFlagScope collecting(fCallOutItems, &items);
    theHandler(&fChart, theItem, theRow, theNewRow, theStart, theStop, theNewItem);
  }
  if (theNewItem && !items.Alive(theNewItem)) theNewItem = nullptr;
}

void TGantItemModel::GiveTexts(TvxDataEntity_Kronit* theItem) {
  if (theItem->fTimeItemTextCollection) return;
  theItem->fTimeItemTextCollection = std::make_unique<TvxTimeItemTextCollection>();
  theItem->fTimeItemTextCollection->fOnStyleSet = [this](TvxTimeItemTextCollection* c, TCanvas* canvas, int style) {
    _OnTimeItemSyleSet(c, canvas, style);
  };
}

void TGantItemModel::_InsertItem_Kronit(TvxDataEntity* e) {
  auto* item = static_cast<TvxDataEntity_Kronit*>(e);
  if (fCallOutItems) fCallOutItems->fInserted.emplace_back(item);
  fChart.InvalidateGA();
  if (TGantRow* row = item->GetRow()) row->UpdateSubColumns();
  if (fChart.OnInsertItem_Kronit) fChart.OnInsertItem_Kronit(&fChart, item);
}

void TGantItemModel::_DeleteItem_Kronit(TvxDataEntity* e) {
  auto* item = static_cast<TvxDataEntity_Kronit*>(e);
  if (fCallOutItems) fCallOutItems->fDeleted.insert(item);
  if (fChart.fActiveDataEntity == item) fChart.SetActiveDataEntity(nullptr);
  // The items after it in its row move up: their ids change meaning.
  if (!fChart.IsDestroying() && fChart.fGA) fChart.fGA->NotifyAccessibleReset();
  // The item being resized or linked from went: the drag ends.
  if (fChart.fGesture) fChart.fGesture->Engine().Forget(item);
  // The hint asks for its text later: it must not keep a gone item.
  if (fChart.fHint && fChart.fHint->GetHintObject() == item) fChart.fHint->ShowSlowHintFor(nullptr, 0, 0);
  fChart.InvalidateGA();
  if (!fChart.IsDestroying())
    if (TGantRow* row = item->GetRow()) row->UpdateSubColumns();
  if (fChart.OnDeleteItem_Kronit) fChart.OnDeleteItem_Kronit(&fChart, item);
  fChart.DropAllLinks(item);
}

void TGantItemModel::_ContentChanged_Kronit(TvxDataList* l) {
  fChart.InvalidateGA();
  if (!fChart.IsDestroying())
    if (auto* layer = dynamic_cast<TvxDataList_GantRow*>(l))
      if (TGantRow* row = layer->GetRow()) row->UpdateSubColumns();
  if (fChart.OnContentChanged_Kronit) fChart.OnContentChanged_Kronit(&fChart, l);
}

void TGantItemModel::_SelectionChanged_Kronit(TvxDataList* l, TvxDataEntity* e) {
  fChart.InvalidateGA();
  if (fChart.OnSelectionChanged_Kronit) fChart.OnSelectionChanged_Kronit(&fChart, l, e);
}

void TGantItemModel::_InfoPush_Kronit(TvxDataEntity* e) {
  auto* item = static_cast<TvxDataEntity_Kronit*>(e);
  // The application changed the item: it is drawn anew whether or not its row
  // lays items out.
  fChart.InvalidateGA();
  if (TGantRow* row = item->GetRow()) row->UpdateSubColumns();
  if (TGantBindingListener* binding = fChart.fBindingListener) {
    TvxHold hold(item);
    binding->BindingItemEdited(item);  // writes to the bound model, which may take the item away
    if (hold.Gone()) return;
  }
  if (fChart.OnChangeDataEntity_Kronit) fChart.OnChangeDataEntity_Kronit(&fChart, item);
  if (fChart.OnValueChanged_Kronit) fChart.OnValueChanged_Kronit(&fChart, item);
}

void TGantItemModel::_LoadItem_Kronit(TvxDataEntity* e) {
  auto* item = static_cast<TvxDataEntity_Kronit*>(e);
  if (fChart.OnVirtualLoad_Kronit) fChart.OnVirtualLoad_Kronit(&fChart, item);
}

void TGantItemModel::_UnLoadItem_Kronit(TvxDataEntity* e, bool& CanUnload) {
  if (fChart.OnVirtualUnLoad_Kronit)
    fChart.OnVirtualUnLoad_Kronit(&fChart, static_cast<TvxDataEntity_Kronit*>(e), CanUnload);
}

void TGantItemModel::_OnTimeItemSyleSet(TvxTimeItemTextCollection*, TCanvas* theCanvas, int theStyle) {
  TFont* font = theStyle == 2   ? fChart.GetFontTimeItemStyle2()
                : theStyle == 3 ? fChart.GetFontTimeItemStyle3()
                                : fChart.GetFontTimeItemStyle1();
  theCanvas->SetFont(*font);
  fChart.fGA->PrintResizeFont();
}

}  // namespace vx
