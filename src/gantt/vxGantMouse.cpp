// The Gantt area under the mouse: selecting, moving, copying and resizing
// items, drawing links, auto-scrolling, and handing a drag to the platform.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gantt/vxGant.h"
#include "platform/rtl/DateUtils.h"

namespace vx {

// --- the area's input, handed to the chart --------------------------------------------

void TvxOffscreenPaint_GA::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (fGantt && !fGantt->IsDestroying()) fGantt->GantAreaMouseDown(this, Button, Shift, X, Y);
  // The area's own events stay the application's.
  if (!IsDestroying()) TvxOffscreenPaint::MouseDown(Button, Shift, X, Y);
}

void TvxOffscreenPaint_GA::MouseMove(TShiftState Shift, int X, int Y) {
  if (fGantt && !fGantt->IsDestroying()) fGantt->GantAreaMouseMove(this, Shift, X, Y);
  if (!IsDestroying()) TvxOffscreenPaint::MouseMove(Shift, X, Y);
}

void TvxOffscreenPaint_GA::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (fGantt && !fGantt->IsDestroying()) fGantt->GantAreaMouseUp(this, Button, Shift, X, Y);
  if (!IsDestroying()) TvxOffscreenPaint::MouseUp(Button, Shift, X, Y);
}

void TvxOffscreenPaint_GA::DblClick() {
  TvxOffscreenPaint::DblClick();
  if (fGantt && !fGantt->IsDestroying()) fGantt->OnGADblClick(this);
}

void TvxOffscreenPaint_GA::KeyDown(unsigned short& Key, TShiftState Shift) {
  TvxOffscreenPaint::KeyDown(Key, Shift);
  if (fGantt && !fGantt->IsDestroying()) fGantt->GantAreaKeyDown(this, Key, Shift);
}

void TvxOffscreenPaint_GA::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  if (fGantt && !fGantt->IsDestroying()) fGantt->GantAreaDragOver(this, Source, X, Y, State, Accept);
}

void TvxOffscreenPaint_GA::DragDrop(TObject* Source, int X, int Y) {
  if (fGantt && !fGantt->IsDestroying()) fGantt->GantAreaDragDrop(this, Source, X, Y);
}

void TvxOffscreenPaint_GA::DoStartDrag(TObject*& DragObject) {
  if (fGantt && !fGantt->IsDestroying()) fGantt->GantAreaStartDrag(this, DragObject);
}

void TvxOffscreenPaint_GA::DoEndDrag(TObject* Target, int X, int Y) {
  if (fGantt && !fGantt->IsDestroying()) fGantt->GantAreaEndDrag(this, Target, X, Y);
}

void TvxOffscreenPaint_GA::DoExit() {
  TvxOffscreenPaint::DoExit();
  Invalidate();  // the focus frame goes
}

bool TvxOffscreenPaint_GA::KeyboardMenuPlace(TPoint& thePlace) {
  if (!fGantt || fGantt->IsDestroying()) return false;
  fGantt->PlaceKeyboardMenu(thePlace);
  return true;
}

void TvxOffscreenPaint_GA::MouseLeave() {
  TvxOffscreenPaint::MouseLeave();
  if (!fGantt || fGantt->IsDestroying() || fGantt->GetMouseMoveMode() != mmNone) return;
  if (TGraphHintWindow* hint = fGantt->GetHintWindow()) hint->ShowSlowHintFor(nullptr, 0, 0);
}

void TvxOffscreenPaint_GA::CancelMode() {
  TvxOffscreenPaint::CancelMode();
  if (fGantt && !fGantt->IsDestroying()) fGantt->CancelGesture();
}

// --- decisions ------------------------------------------------------------------------

bool TvxGant_ComBasic::InGrowArea(TvxDataEntity_Kronit* theItem, int x, int y, TRect& theRect, bool& theLeftSide) {
  theRect = RectFromDataEntity(theItem);
  if (fOnlyResizeRightDueToProximity) {
    theLeftSide = false;
    return true;
  }
  if (fFavourMoveOverResizeOnSmallTimeItems && theRect.Width() < 9) return false;
  const TPoint p = Point(x, y);
  if (Rect(theRect.Left, theRect.Top, theRect.Left + 3, theRect.Bottom).Contains(p)) {
    theLeftSide = true;
    return true;
  }
  if (Rect(theRect.Right - 3, theRect.Top, theRect.Right, theRect.Bottom).Contains(p)) {
    theLeftSide = false;
    return true;
  }
  return false;
}

void TvxGant_ComBasic::DoProximityCheck(TvxDataEntity_Kronit*& theItem, int x, int y) {
  fOnlyResizeRightDueToProximity = false;
  if (theItem) return;
  // Just past an item's right end grabs that end.
  theItem = GetDataEntityFromXY(x - 5, y);
  fOnlyResizeRightDueToProximity = theItem != nullptr;
}

void TvxGant_ComBasic::ClearSelections() {
  // The layers with a selection first, held: clearing tells the application,
  // whose handler may delete items, layers or rows.
  TvxHeldList<TvxDataList> selected;
  fRowList->ForEachRow([&selected](TGantRow* row) {
    for (int k = 0; k < row->GetLayerCount(); ++k) {
      TvxDataList* layer = row->GetLayer(k);
      for (int p = 0; layer && p < layer->LoadedCount(); ++p)
        if (layer->GetLoaded(p)->GetSelected()) {
          selected.Add(layer);
          break;
        }
    }
  });
  selected.ForEach([](TvxDataList* layer) { layer->ClearSelections(); });
}

void TvxGant_ComBasic::UpdateMultiSelect(TvxDataEntity_Kronit* theItem, TShiftState theShift, bool theIsPress) {
  if (theIsPress) {
    fDeferedSelection = false;
    if (theItem && theItem->GetSelected()) {
      fDeferedSelection = true;  // a drag of the selection may follow
      return;
    }
  } else if (!fDeferedSelection) {
    return;
  }
  TvxHold hold(theItem);  // selection handlers may delete it
  if (theShift.Contains(ssShift) || theShift.Contains(ssCtrl)) {
    if (theItem) theItem->SetSelected(!theItem->GetSelected());
  } else {
    ClearSelections();
    if (theItem && !hold.Gone()) theItem->SetSelected(true);
  }
  InvalidateGA();
}

void TvxGant_ComBasic::CreateScrollableMoveSnapShot() {
  ClearScrollableMoveSnapShot();
  fRowList->ForEachRow([this](TGantRow* row) {
    for (int k = 0; k < row->GetLayerCount(); ++k) {
      TvxDataList* layer = row->GetLayer(k);
      for (int p = 0; p < layer->LoadedCount(); ++p) {
        auto* item = static_cast<TvxDataEntity_Kronit*>(layer->GetLoaded(p));
        if (!item->GetSelected()) continue;
        item->AddRef();  // an item deleted meanwhile stays readable until the drag ends
        fScrollabeMoveSnapShot.push_back({RectFromDataEntity(item), item});
      }
    }
  });
}

void TvxGant_ComBasic::ClearScrollableMoveSnapShot() {
  std::vector<TDrawRect> items;
  items.swap(fScrollabeMoveSnapShot);
  for (TDrawRect& d : items) d.fItem->Release();
}

void TvxGant_ComBasic::MouseMoveModeCancel() {
  fMouseMoveModeCancelWasCalled = true;
  fLocalmmMode = mmNone;
  EraseOutlines();
  if (fScrollTimer) fScrollTimer->SetEnabled(false);
  if (fDateScaler) fDateScaler->StopStep();
}

void TvxGant_ComBasic::CancelGesture() {
  if (fLocalmmMode == mmNone && !fMouseDown) return;
  MouseMoveModeCancel();
  ClearScrollableMoveSnapShot();
  fLocalmmDataEntity.Reset();
  fDeferedSelection = false;
  fMouseDown = false;
  if (fGA) fGA->SetCursor(fCursorGantArea);
  if (fHint) fHint->ShowSlowHintFor(nullptr, 0, 0);
  InvalidateGA();
}

// --- press ----------------------------------------------------------------------------

void TvxGant_ComBasic::GantAreaMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  fMouseMoveModeCancelWasCalled = false;
  fMouseDown = true;
  if (fGA->CanFocus()) fGA->SetFocus();
  RefreshOthers(fGA);
  fMouseDownDateTime = fDateScaler->PixelToDate(X);
  TvxDataEntity_Kronit* item = GetDataEntityFromXY(X, Y);
  DoProximityCheck(item, X, Y);
  // From here on the pressed item is read from its holder: every step below
  // may call a handler that deletes it.
  fMouseDownDataEntity.Reset(item);
  if (fLocalStickyMode != smDependency) UpdateMultiSelect(item, Shift, true);
  if (OnClickGantArea) OnClickGantArea(this, fMouseDownDataEntity.Get());
  if (Button == mbRight && OnRightClickGantArea) OnRightClickGantArea(this, fMouseDownDataEntity.Get());
  SetActiveDataEntity(fMouseDownDataEntity.Get());
  // A bar pressed makes its row the current one, as Up and Down do.
  if (TvxDataEntity_Kronit* pressed = fMouseDownDataEntity.Get()) MakeRowCurrent(pressed->GetRow());
  item = fMouseDownDataEntity.Get();
  if (Button == mbLeft && item) StartPressMode(item, Shift, X, Y);
  fLocalStickyMode = smNone;
  if (OnGantAreaMouseDown) OnGantAreaMouseDown(Sender, Button, Shift, X, Y);
  if (fMouseMoveModeCancelWasCalled) fLocalmmMode = mmNone;
}

void TvxGant_ComBasic::StartPressMode(TvxDataEntity_Kronit* theItem, TShiftState theShift, int x, int y) {
  fLocalMouseDownStart = Point(x, y);
  fLocalMouseDownOffset = Point(0, 0);
  EraseOutlines();
  fLocalmmMode = mmNone;
  TRect r;
  bool left = false;
  if (fLocalStickyMode == smDependency) {
    fLocalStickyMode = smNone;
    fLocalmmMode = mmDependency;
    fLocalmmDataEntity.Reset(theItem);
    return;
  }
  TvxHold hold(theItem);
  const bool canEdit = theItem->GetCanEdit();  // asks the application, which may delete it
  if (!canEdit || hold.Gone() || !theItem->GetRow()) return;
  if (theItem->IsResizable() && InGrowArea(theItem, x, y, r, left)) {
    fLocalmmOrgRect = fLocalmmRect = r;
    fLocalmmMode = left ? mmGrowLeft : mmGrowRight;
    fLocalmmDataEntity.Reset(theItem);
  } else {
    if (!theShift.Contains(ssDouble)) fLocalmmMode = mmMove;
    if (theShift.Contains(ssCtrl)) fLocalmmMode = mmCopy;
    if (fLocalmmMode != mmNone) CreateScrollableMoveSnapShot();
  }
}

// --- movement -------------------------------------------------------------------------

void TvxGant_ComBasic::GantAreaMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
  if (IsDestroying()) return;
  TCursor cursor = fCursorGantArea;
  fGantMousePosition = Point(X, Y);
  TGantRow* row = fRowList->FindRowFromY(fMouseDown ? fLocalMouseDownStart.Y : Y);
  if (fLocalStickyMode == smDependency) cursor = FDefaultLinkCursor;
  switch (fLocalmmMode) {
    case mmDependency:
      cursor = FDefaultLinkCursor;
      DoScaleStartStopAdjust(X);
      DoGridTopBotAdjust(Y);
      HandleLocalDependency(X, Y);
      break;
    case mmMove:
    case mmCopy:
      if (row && (row->fTimeItems_CanMove || row->fTimeItems_CanChangeRow)) {
        DoScaleStartStopAdjust(X);
        DoGridTopBotAdjust(Y);
        HandleLocalDrag(X, Y, row);
        if (fStartDragWhenTimeMoveOutside && !Rect(-25, -25, fGA->GetWidth() + 25, fGA->GetHeight() + 25).Contains(Point(X, Y)))
          StartPlatformDrag();
      }
      break;
    case mmGrowLeft:
    case mmGrowRight:
      if (row && row->fTimeItems_CanResize) {
        cursor = crHSplit;
        DoScaleStartStopAdjust(X);
        HandleLocalGrow(X, Y);
      }
      break;
    case mmNone: {
      TvxDataEntity_Kronit* item = GetDataEntityFromXY(X, Y);
      DoProximityCheck(item, X, Y);
      TvxHold hold(item);  // the hint's handler may delete it
      SetActiveDataEntityHint(item, X, Y);
      if (hold.Gone()) item = nullptr;
      TRect r;
      bool left = false;
      TGantRow* itemRow = item ? item->GetRow() : nullptr;
      if (item && item->IsResizable() && InGrowArea(item, X, Y, r, left) && item->GetCanEdit() && itemRow &&
          itemRow->fTimeItems_CanResize)
        cursor = crHSplit;
      fOnlyResizeRightDueToProximity = false;
      break;
    }
  }
  fGA->SetCursor(cursor);
  if (OnGantAreaMouseMove) OnGantAreaMouseMove(Sender, Shift, X, Y);
}

void TvxGant_ComBasic::SetActiveDataEntityHint(TvxDataEntity_Kronit* theItem, int x, int y) {
  TvxHold hold(theItem);
  ReportHintInfo(theItem);
  if (fHint) fHint->ShowSlowHintFor(hold.Gone() ? nullptr : theItem, x, y);
}

void TvxGant_ComBasic::ReportHintInfo(TvxDataEntity_Kronit* theItem) {
  if (!OnHintInfo) return;
  if (theItem)
    OnHintInfo(theItem, theItem->GetStartDateTime(), theItem->GetStopDateTime(),
               theItem->GetStopDateTime() - theItem->GetStartDateTime());
  else
    OnHintInfo(nullptr, 0, 0, 0);
}

void TvxGant_ComBasic::HandleLocalDependency(int x, int y) {
  EraseOutlines();
  fLocalMouseDownOffset = Point(x - fLocalMouseDownStart.X, y - fLocalMouseDownStart.Y);
  DrawOutlineOfDependencyArrow(fLocalMouseDownOffset);
}

// --- auto-scroll ----------------------------------------------------------------------

void TvxGant_ComBasic::DoScaleStartStopAdjust(int x) {
  if (fTimeItemAutoScroll != ttiaHorzAndVert && fTimeItemAutoScroll != ttiaHorz) return;
  // Starting again would restart the scaler's interval: only a change starts it.
  if (x < 0) {
    if (!fDateScaler->IsScrollingDown()) fDateScaler->StartStepDown();
  } else if (x > fGA->GetWidth()) {
    if (!fDateScaler->IsScrollingUp()) fDateScaler->StartStepUp();
  } else if (fDateScaler->IsScrollingUp() || fDateScaler->IsScrollingDown()) {
    fDateScaler->StopStep();
  }
}

void TvxGant_ComBasic::DoGridTopBotAdjust(int y) {
  if (fTimeItemAutoScroll != ttiaHorzAndVert && fTimeItemAutoScroll != ttiaVert) {
    fScrollTimer->SetEnabled(false);
    return;
  }
  const bool up = y < 5, down = y > fGA->GetHeight() - 5;
  if (!up && !down) {
    fScrollTimer->SetEnabled(false);
    return;
  }
  const TScrollDirection dir = up ? tsdUp : tsdDown;
  if (fScrollTimer->GetEnabled() && fScrollDir == dir) return;
  fScrollDir = dir;
  fScrollTimer->SetEnabled(true);
}

void TvxGant_ComBasic::OnVerticalScroll(TObject*) {
  fSide->ScrollStep(fScrollDir);
}

// --- release --------------------------------------------------------------------------

void TvxGant_ComBasic::GantAreaMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  fScrollTimer->SetEnabled(false);
  TPoint delta = Point(X - fLocalMouseDownStart.X, Y - fLocalMouseDownStart.Y);
  TGantRow* row = fRowList->FindRowFromY(fMouseDown ? fLocalMouseDownStart.Y : Y);
  fMouseDown = false;
  fLastMouseUpPos = delta;
  const TGantMouseMoveMode mode = fLocalmmMode;
  EraseOutlines();
  if (mode == mmDependency) {
    HandleDependencyChange(X, Y);
  } else if (mode == mmMove || mode == mmCopy) {
    fDateScaler->StopStep();
    if (!row || !row->fTimeItems_CanMove) delta.X = 0;
    if (!row || !row->fTimeItems_CanChangeRow) delta.Y = 0;
    HandleMoveOfSelected(Point(X, Y), delta, mode == mmCopy);
    if (delta.X != 0 || delta.Y != 0) fDeferedSelection = false;
    InvalidateGA();
  } else if (mode == mmGrowLeft || mode == mmGrowRight) {
    fDateScaler->StopStep();
    if (!row || !row->fTimeItems_CanResize) delta.X = 0;
    HandleGrow(delta);
    InvalidateGA();
  }
  ClearScrollableMoveSnapShot();
  fLocalmmDataEntity.Reset();
  UpdateMultiSelect(fMouseDownDataEntity.Get(), Shift, false);
  fLocalmmMode = mmNone;
  ReportHintInfo(fMouseDownDataEntity.Get());
  if (fHint) fHint->ShowSlowHintFor(nullptr, X, Y);
  if (OnGantAreaMouseUp) OnGantAreaMouseUp(Sender, Button, Shift, X, Y);
}

void TvxGant_ComBasic::HandleDependencyChange(int x, int y) {
  TvxDataEntity_Kronit* target = GetDataEntityFromXY(x, y);
  TvxDataEntity_Kronit* from = fLocalmmDataEntity.Get();
  if (target && from && OnDependencyAction) OnDependencyAction(from, target);
  InvalidateGA();
}

// --- double click, platform drag ------------------------------------------------------

void TvxGant_ComBasic::OnGADblClick(TObject*) {
  if (OnDblClickGantArea) OnDblClickGantArea(this, fMouseDownDataEntity.Get());
}

void TvxGant_ComBasic::StartPlatformDrag() {
  fLocalmmMode = mmNone;
  fMouseDown = false;
  EraseOutlines();
  ClearScrollableMoveSnapShot();
  fDateScaler->StopStep();
  fScrollTimer->SetEnabled(false);
  InvalidateGA();
  fGA->BeginDrag(true);
}

void TvxGant_ComBasic::GantAreaStartDrag(TObject* Sender, TObject*& DragObject) {
  if (OnGantAreaStartDrag) OnGantAreaStartDrag(Sender, DragObject);
}

void TvxGant_ComBasic::GantAreaDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                                        bool& Accept) {
  Accept = false;
  if (OnGantAreaDragOver) OnGantAreaDragOver(Sender, Source, X, Y, State, Accept);
}

void TvxGant_ComBasic::GantAreaDragDrop(TObject* Sender, TObject* Source, int X, int Y) {
  if (fGA->CanFocus()) fGA->SetFocus();
  if (OnGantAreaDragDrop) OnGantAreaDragDrop(Sender, Source, X, Y);
}

void TvxGant_ComBasic::GantAreaEndDrag(TObject*, TObject*, int, int) {}

}  // namespace vx
