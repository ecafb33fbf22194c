// The Gantt area under the mouse: its input handed to the chart, whose
// gestures on the items go to the gesture engine (see vxGantGesture), and the
// platform's drag events; the dotted outlines a drag draws.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/rtl/Math.h>

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

// --- the gesture, forwarded to the chart's side of it --------------------------------

bool TvxGant_ComBasic::InGrowArea(TvxDataEntity_Kronit* theItem, int x, int y, TRect& theRect, bool& theLeftSide) {
  theRect = RectFromDataEntity(theItem);
  return fGesture->Engine().InGrowBand(theRect, x, y, theLeftSide);
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

void TvxGant_ComBasic::GantAreaMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  fGesture->MouseDown(Sender, Button, Shift, X, Y);
}

void TvxGant_ComBasic::GantAreaMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
  if (!IsDestroying()) fGesture->MouseMove(Sender, Shift, X, Y);
}

void TvxGant_ComBasic::GantAreaMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  fGesture->MouseUp(Sender, Button, Shift, X, Y);
}

// --- outlines -------------------------------------------------------------------------

void TvxGant_ComBasic::DrawOutline(const TRect& theRect, bool theHint) {
  if (theHint) {
    TDateTime start = 0, len = 0, stop = 0;
    GetStartStopLenFromRect(theRect, start, len, stop);
    fSnap->fCurrentScreenResolution = fDateScaler->GetSmallStep();
    fSnap->Snap(start, stop);
    if (OnHintInfo) OnHintInfo(nullptr, start, stop, stop - start);
    fGesture->ShowLandingHint(nullptr, start, stop, fGesture->Engine().Pointer());
  }
  // As wide as the item would be drawn (at least 5 pixels), so that an item
  // of no length still shows.
  const TRect r = Rect(theRect.Left, theRect.Top, std::max(theRect.Right, AddClamped(theRect.Left, 5)), theRect.Bottom);
  const TPoint corners[] = {Point(r.Left, r.Top), Point(r.Left, r.Bottom), Point(r.Right, r.Bottom),
                            Point(r.Right, r.Top), Point(r.Left, r.Top)};
  TXorOverlay* overlay = fGesture->Engine().Overlay();
  for (int k = 0; k < 4; ++k) overlay->InvertLine(corners[k], corners[k + 1], TXorOverlay::xpHalftone);
}

// --- double click, platform drag ------------------------------------------------------

void TvxGant_ComBasic::OnGADblClick(TObject*) {
  if (OnDblClickGantArea) OnDblClickGantArea(this, GetMouseDownDataEntity());
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
