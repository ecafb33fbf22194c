// Time items and links: the records, their geometry in a row, hit testing,
// and the chart's reactions to item changes.
#include <algorithm>
#include <cmath>
#include <utility>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/gantt/vxGantItemModel.h>
#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/Math.h>

namespace vx {

// --- records --------------------------------------------------------------------------

TvxDataEntity_Kronit::~TvxDataEntity_Kronit() = default;

TGantRow* TvxDataEntity_Kronit::GetRow() const noexcept {
  auto* layer = dynamic_cast<TvxDataList_GantRow*>(GetDataList());
  return layer ? layer->GetRow() : nullptr;
}

TvxTimeItemTextCollection* TvxDataEntity_Kronit::GetTimeItemTextCollection() const {
  if (!fTimeItemTextCollection) {
    TGantRow* row = GetRow();
    TvxGant_ComBasic* chart = row ? row->GetGant() : nullptr;
    if (chart && chart->fItemModel) chart->fItemModel->GiveTexts(const_cast<TvxDataEntity_Kronit*>(this));
  }
  return fTimeItemTextCollection.get();
}

TvxDataEntity_Kronit* TimeDataEntity(TObject* theObject) {
  if (!theObject) return nullptr;
  auto* item = dynamic_cast<TvxDataEntity_Kronit*>(theObject);
  if (!item) throw EInvalidCast();
  return item;
}

void TvxDataEntity_Link::SetStartFinishOption(TLinkStartFinishOption theOption) {
  fStartFinishOption = theOption;
  if (TGantRow* row = fLinkOwner ? fLinkOwner->GetRow() : nullptr)
    if (TvxGant_ComBasic* gant = row->GetGant()) gant->InvalidateGA();
}

void TvxDataList_GantRow::CleanForFree() {
  fRow = nullptr;
  TvxDataList::CleanForFree();
}

// --- geometry -------------------------------------------------------------------------

void TGantRow::XStartStopFromDataEntity(const TvxDataEntity_Kronit* theItem, int& x1, int& x2) const {
  XFromTimes(theItem, theItem->fStartDateTime, theItem->fStopDateTime, x1, x2);
}

void TGantRow::XFromTimes(const TvxDataEntity_Kronit* theItem, TDateTime theStart, TDateTime theStop, int& x1,
                          int& x2) const {
  TvxDateScaler* scaler = fGant->GetDateScaler();
  if (theItem->fFixedSize >= 1) {
    x1 = AddClamped(scaler->DateToPixel(theStart), -(theItem->fFixedSize / 2));
    x2 = AddClamped(x1, theItem->fFixedSize);
  } else {
    x1 = scaler->DateToPixel(theStart);
    x2 = scaler->DateToPixel(theStop);
  }
  if (fGant->GetGA()->GetIsPrinting()) {
    const double sx = fGant->GetGA()->GetPrintScalex();
    x1 = Round(x1 * sx);
    x2 = Round(x2 * sx);
  }
}

bool TGantRow::YStartStopFromDataEntity(const TvxDataEntity_Kronit* theItem, int& y1, int& y2) const {
  const TRect r = fRect;
  // On paper the printer placed exactly the rows of the page.
  const bool shown = r.Top != -1 && (fGant->ShownSide()->PrintRows().Active() || GetVisible());
  y1 = r.Top + 1;
  y2 = r.Bottom - 1;
  if (fNumOfSubCols > 1) {
    int band = -1;
    if (fCollisionDetection || !fDataListOnSubColUse) {
      if (theItem->fSubCol != 0) band = theItem->fSubCol - 1;
    } else {
      band = GetDataListSubCol(IndexOfLayer(theItem->GetDataList()));
    }
    if (band >= 0) {
      const int h = (y2 - y1) / fNumOfSubCols;
      y2 = y1 + (band + 1) * h;
      y1 = y1 + band * h;
    }
  }
  TvxOffscreenPaint_GA* ga = fGant->GetGA();
  if (ga->GetIsPrinting()) {
    y1 = Round(y1 * ga->GetPrintScaley());
    y2 = Round(y2 * ga->GetPrintScaley());
  }
  return shown;
}

bool TGantRow::RectFromDataEntity(TvxDataEntity_Kronit* theItem, TRect& theRect) const {
  if (!theItem || theItem->GetRow() != this || !theItem->GetVisible()) return false;
  int x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  if (!YStartStopFromDataEntity(theItem, y1, y2)) return false;
  XStartStopFromDataEntity(theItem, x1, x2);
  TvxOffscreenPaint_GA* ga = fGant->GetGA();
  const double s = ga->GetIsPrinting() ? ga->GetPrintScaley() : 1.0;
  theRect.Left = x1;
  theRect.Right = x2;
  theRect.Top = Round(theItem->fTopInset * s) + y1;
  theRect.Bottom = std::max(y2 - Round(theItem->fBottomInset * s), theRect.Top);
  if (theRect.Right - theRect.Left < 5) theRect.Right = theRect.Left + 5;  // every item can be seen and grabbed
  return true;
}

TvxDataEntity_Kronit* TGantRow::FindDataEntityFromXY(int x, int y) const {
  TvxDataEntity_Kronit* hit = nullptr;
  const TPoint p = Point(x, y);
  ForEachItemReverse([&](TvxDataEntity_Kronit* item) {
    TRect r;
    if (RectFromDataEntity(item, r) && r.Contains(p)) {
      hit = item;
      return false;
    }
    return true;
  });
  return hit;
}

TvxDataEntity_Kronit* TGantRow::FindDataEntityFromX(int x) const { return FindDataEntityFromXY(x, fRect.Top + 1); }

void TGantRow::ForEachItem(const std::function<bool(TvxDataEntity_Kronit*)>& f) const {
  const int n = GetLayerCount();
  if (n == 0) return;
  // The first layer drawn may name a layer that does not exist yet: the walk
  // then starts at the first layer.
  const int first = fDrawLayerStart >= 0 && fDrawLayerStart < n ? fDrawLayerStart : 0;
  // f may call out to the application, which may delete the item, its layer
  // or the row: the layer and the item are held while f runs, and a layer
  // freed meanwhile ends its walk (a freed row has no layers left).
  for (int k = 0; k < n; ++k) {
    TvxDataList* layer = GetLayer((first + k) % n);
    if (!layer) continue;
    TvxHold layerHold(layer);
    for (int i = 0; !layerHold.Gone() && i < layer->Count(); ++i)
      if (auto* item = static_cast<TvxDataEntity_Kronit*>(layer->GetItems(i))) {
        TvxHold itemHold(item);
        if (!f(item)) return;
      }
  }
}

void TGantRow::ForEachItemReverse(const std::function<bool(TvxDataEntity_Kronit*)>& f) const {
  const int n = GetLayerCount();
  if (n == 0) return;
  const int first = fDrawLayerStart >= 0 && fDrawLayerStart < n ? fDrawLayerStart : 0;
  for (int k = n - 1; k >= 0; --k) {
    TvxDataList* layer = GetLayer((first + k) % n);
    if (!layer) continue;
    TvxHold layerHold(layer);
    for (int i = layer->Count() - 1; i >= 0 && !layerHold.Gone(); --i) {
      if (i >= layer->Count()) continue;  // the walk's items shrank under it
      if (auto* item = static_cast<TvxDataEntity_Kronit*>(layer->GetItems(i))) {
        TvxHold itemHold(item);
        if (!f(item)) return;
      }
    }
  }
}

int TGantRow::ItemCount() const {
  int n = 0;
  for (int k = 0; k < GetLayerCount(); ++k)
    if (TvxDataList* layer = GetLayer(k)) n += layer->Count();
  return n;
}

// --- the chart: items -----------------------------------------------------------------

TvxDataEntity_Kronit* TvxGant_ComBasic::AddKronitToGantRow(TGantRow* theRow, int theLayer) {
  if (!theRow || theLayer < 0 || theLayer >= MostLayers) return nullptr;
  while (theRow->GetLayerCount() <= theLayer) theRow->AddDataList();
  auto* item = static_cast<TvxDataEntity_Kronit*>(theRow->GetLayer(theLayer)->Add());
  if (!item) return nullptr;
  item->fColor = 0xFFFFFF;
  item->fStyle = gtsSquare;
  item->SetCanEdit(true);
  return item;
}

TvxDataEntity_Kronit* TvxGant_ComBasic::AddKronit(TvxDataEntity_Tree* theTreeNode, int theLayer) {
  return AddKronitToGantRow(fRowList->FindRowFromTreeNode(theTreeNode), theLayer);
}

TvxDataEntity_Kronit* TvxGant_ComBasic::GridNode_AddKronit(TvxDataEntity_GridTreeNode* theGridNode, int theLayer) {
  return AddKronitToGantRow(fRowList->FindRowFromGridNode(theGridNode), theLayer);
}

void TvxGant_ComBasic::RemoveKronit(TvxDataEntity_Kronit* theItem) {
  if (theItem && theItem->GetDataList()) theItem->GetDataList()->Remove(theItem);
}

bool TvxGant_ComBasic::MoveKronitToRow(TvxDataEntity_Kronit* theItem, TGantRow* theRow, int theLayer,
                                       TDateTime theStart, TDateTime theStop) {
  if (!theItem || !theItem->GetRow() || !theRow || theRow->GetGant() != this || theLayer < 0 ||
      theLayer >= MostLayers || std::isnan(theStart) || std::isnan(theStop))
    return false;
  while (theRow->GetLayerCount() <= theLayer) theRow->AddDataList();
  TvxDataList* target = theRow->GetLayer(theLayer);
  TvxHold hold(theItem);  // the moves below tell the application
  if (theItem->GetDataList() != target) theItem->ChangeOwner(target, target->Count());
  if (hold.Gone() || theItem->GetDataList() != target) return false;
  theItem->SetStartDateTime(theStart);
  theItem->SetStopDateTime(std::max(theStart, theStop));
  theItem->DoInfoPush();
  return true;
}

void TvxGant_ComBasic::CopyDataEntity(TvxDataEntity_Kronit* theSource, TvxDataEntity_Kronit* theTarget) {
  if (!theSource || !theTarget) return;
  theTarget->fStartDateTime = theSource->fStartDateTime;
  theTarget->fStopDateTime = theSource->fStopDateTime;
  theTarget->SetSelected(theSource->GetSelected());
}

namespace {

// Who makes the copy or the move: the application's handler, else a bound
// chart's binding (nil when neither takes it).
TOnTimeCopyOrMove CopyOrMoveTaker(const TOnTimeCopyOrMove& theHandler, TGantBindingListener* theBinding, bool theCopy) {
  if (theHandler) return theHandler;
  if (!theBinding) return nullptr;
  return [theBinding, theCopy](TvxGant_ComBasic* g, TvxDataEntity_Kronit* k, TGantRow* r, TGantRow* nr, TDateTime s,
                               TDateTime e, TvxDataEntity_Kronit*& n) {
    if (theCopy)
      theBinding->BindingCopy(g, k, r, nr, s, e, n);
    else
      theBinding->BindingChangeRow(g, k, r, nr, s, e, n);
  };
}

}  // namespace

bool TvxGant_ComBasic::TimeCopy(TvxDataEntity_Kronit* theItem, TGantRow* theRow, TGantRow* theNewRow,
                                TDateTime theStart, TDateTime theStop, TvxDataEntity_Kronit*& theNewItem) {
  theNewItem = nullptr;
  const TOnTimeCopyOrMove taker = CopyOrMoveTaker(OnTimeCopy, fBindingListener, true);
  if (!taker) return false;
  fItemModel->AskForNewItem(taker, theItem, theRow, theNewRow, theStart, theStop, theNewItem);
  return true;
}

bool TvxGant_ComBasic::TimeMoveRow(TvxDataEntity_Kronit* theItem, TGantRow* theRow, TGantRow* theNewRow,
                                   TDateTime theStart, TDateTime theStop, TvxDataEntity_Kronit*& theNewItem) {
  theNewItem = nullptr;
  const TOnTimeCopyOrMove taker = CopyOrMoveTaker(OnTimeChangeRow, fBindingListener, false);
  if (!taker) return false;
  fItemModel->AskForNewItem(taker, theItem, theRow, theNewRow, theStart, theStop, theNewItem);
  return true;
}

void TvxGant_ComBasic::ForEachKronit(const std::function<void(TvxDataEntity_Kronit*)>& f) {
  fRowList->ForEachRow([&](TGantRow* row) {
    for (int k = 0; k < row->GetLayerCount(); ++k) {
      TvxDataList* layer = row->GetLayer(k);
      for (int i = 0; layer && i < layer->Count(); ++i)
        if (auto* item = static_cast<TvxDataEntity_Kronit*>(layer->GetItems(i))) f(item);
    }
  });
}

TvxDataEntity_Kronit* TvxGant_ComBasic::FindKronitObjectFromUserReference(void* theReference) {
  for (int r = 0; r < fRowList->Count(); ++r) {
    TGantRow* row = fRowList->GetGantRow(r);
    for (int k = 0; row && k < row->GetLayerCount(); ++k) {
      TvxDataList* layer = row->GetLayer(k);
      for (int i = 0; layer && i < layer->Count(); ++i) {
        auto* item = static_cast<TvxDataEntity_Kronit*>(layer->GetItems(i));
        if (item && item->GetUserReference() == theReference) return item;
      }
    }
  }
  return nullptr;
}

void TvxGant_ComBasic::GetStartStopLenFromRect(const TRect& theRect, TDateTime& theStart, TDateTime& theLen,
                                               TDateTime& theStop) {
  theStart = fDateScaler->PixelToDate(theRect.Left);
  theStop = fDateScaler->PixelToDate(theRect.Right);
  theLen = theStop - theStart;
}

TRect TvxGant_ComBasic::RectFromDataEntity(TvxDataEntity_Kronit* theItem) {
  TGantRow* row = theItem ? theItem->GetRow() : nullptr;
  if (!row || row->GetGant() != this) return NoRect();
  row->UpdateRect();
  TRect r;
  return row->RectFromDataEntity(theItem, r) ? r : NoRect();
}

bool TvxGant_ComBasic::IsVisible(const TvxDataEntity_Kronit* theItem) const {
  if (!theItem) return false;
  const TDateTime start = fDateScaler->GetStart(), stop = fDateScaler->GetStop();
  const TDateTime a = theItem->fStartDateTime, b = theItem->fStopDateTime;
  return (start <= a && a <= stop) || (start <= b && b <= stop) || (a < start && b > stop);
}

TvxDataEntity_Kronit* TvxGant_ComBasic::GetDataEntityFromXY(int x, int y) {
  TGantRow* row = fRowList->FindRowFromY(y);
  return row ? row->FindDataEntityFromXY(x, y) : nullptr;
}

void TvxGant_ComBasic::SetActiveDataEntity(TvxDataEntity_Kronit* theItem) {
  fActiveDataEntity = theItem;
  if (OnHintInfo) {
    if (theItem)
      OnHintInfo(theItem, theItem->fStartDateTime, theItem->fStopDateTime,
                 theItem->fStopDateTime - theItem->fStartDateTime);
    else
      OnHintInfo(nullptr, 0, 0, 0);
  }
  // Assistive technology hears of the item that is active now (the handler
  // may have changed it).
  if (fActiveDataEntity && fGA && !IsDestroying()) fGA->NotifyAccessibleFocus();
}

// --- the chart: links -----------------------------------------------------------------

TvxDataEntity_Link* TvxGant_ComBasic::AddLink() {
  auto* link = static_cast<TvxDataEntity_Link*>(fLinksDataList->Add());
  if (!link) return nullptr;
  link->fLinkStyle = fDefaultLinkStyle;
  link->fLinkColor = fDefaultLinkColor;
  link->FLinkPenWidth = FDefaultLinkPenWidth;
  return link;
}

void TvxGant_ComBasic::DropAllLinks(TvxDataEntity_Kronit* theItem) {
  if (!theItem || !fLinksDataList) return;
  for (int i = fLinksDataList->Count() - 1; i >= 0; --i) {
    auto* link = static_cast<TvxDataEntity_Link*>(fLinksDataList->GetItems(i));
    if (link && (link->fLinkOwner == theItem || link->fLinkedTo == theItem)) fLinksDataList->Delete(i);
  }
}

void TvxGant_ComBasic::_OnBeforeCanEditItem(TvxDataEntity* e) {
  if (OnBeforeCanEditItem_Kronit) OnBeforeCanEditItem_Kronit(this, static_cast<TvxDataEntity_Kronit*>(e));
}

void TvxGant_ComBasic::_OnBeforeCanEditItem_Link(TvxDataEntity*) {}

}  // namespace vx
