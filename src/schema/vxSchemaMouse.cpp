// The drawing area under the mouse: selecting bookings, moving them in time
// and across columns, resizing either end, outlines over the area while
// dragging, auto-scroll of time and of columns, and handing a booking to the
// toolkit's drag when it leaves the area. Also the presses on the column
// header and on the title grid.
#include <algorithm>

#include "platform/ui/Menus.h"
#include "schema/vxSchema.h"

namespace vx {

namespace {

// Pixels at either end of a booking, along the time axis, that take a resize.
constexpr int kGrowBand = 3;
// Pixels from a column's edges, in the header, that count as its resize band.
constexpr int kHeaderResizeBand = 5;
// The columns step while the pointer is this close to the area's edge.
constexpr int kColumnStepEdge = 5;

}  // namespace

// --- decisions ------------------------------------------------------------------------

bool TvxSchema_ComBasic::InGrowArea(TvxDataEntity* theDataEntity, int X, int Y, bool& GrowDir, TRect& theRect) {
  auto* item = dynamic_cast<TvxDataEntity_SchemaTime*>(theDataEntity);
  if (!item || !RectFromDataEntity(itsFlipView, item, theRect)) return false;
  const TRect& r = theRect;
  const TRect startBand = itsFlipView ? Rect(r.Left, r.Top, r.Left + kGrowBand, r.Bottom)
                                      : Rect(r.Left, r.Top, r.Right, r.Top + kGrowBand);
  const TRect stopBand = itsFlipView ? Rect(r.Right - kGrowBand, r.Top, r.Right, r.Bottom)
                                     : Rect(r.Left, r.Bottom - kGrowBand, r.Right, r.Bottom);
  const TPoint p = Point(X, Y);
  if (startBand.Contains(p)) {
    GrowDir = true;
    return true;
  }
  if (stopBand.Contains(p)) {
    GrowDir = false;
    return true;
  }
  return false;
}

void TvxSchema_ComBasic::UpdateMultiSelect(TvxDataEntity* theDataEntity, TShiftState Shift, bool IsMouseDown) {
  TvxHold hold(theDataEntity);  // selection handlers may delete it
  if (IsMouseDown) {
    if (auto* item = dynamic_cast<TvxDataEntity_SchemaTime*>(theDataEntity); item && item != itsActiveDataEntity) {
      itsActiveDataEntity = item;
      InvalidateArea();
    }
    itsDeferedSelection = false;
    if (theDataEntity && theDataEntity->GetSelected()) {
      // The press may start a move of the whole selection: decided at release.
      itsDeferedSelection = true;
      return;
    }
  } else if (!itsDeferedSelection) {
    return;
  }
  itsDeferedSelection = false;
  if (Shift.Contains(ssShift) || Shift.Contains(ssCtrl)) {
    if (Here(theDataEntity)) theDataEntity->SetSelected(!theDataEntity->GetSelected());
  } else {
    itsvxLayers->ClearSelections();
    if (Here(theDataEntity)) theDataEntity->SetSelected(true);
  }
  InvalidateArea();
}

TCursor TvxSchema_ComBasic::HoverCursor(TvxDataEntity_SchemaTime* theItem, int X, int Y) {
  bool dir = false;
  TRect r;
  if (theItem && InGrowArea(theItem, X, Y, dir, r) && theItem->GetCanEdit()) return itsFlipView ? crHSplit : crVSplit;
  return crArrow;
}

// --- press ----------------------------------------------------------------------------

void TvxSchema_ComBasic::SchemaMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (IsDestroying()) return;
  // Another button pressed in the middle of a gesture ends it, changing nothing.
  if (itsLocalDrag || itsLocalGrow) EndMoveModes();
  itsMouseMoveCancelCalled = false;
  if (itsTA->CanFocus()) itsTA->SetFocus();
  fAutoScrollHasBeenAppliedDuringMove = false;
  DoHideShowMeBig(this);
  if (Button == mbLeft) fLeftButtonDown = true;
  int col = -1;
  GetPositionDateTimeAndCol(X, Y, itsMouseDownDateTime, col);
  itsMouseDownColumn = itsDataListColumns->GetColumn(col);
  itsMouseDownDataEntity = GetDataEntityFromXY(X, Y);
  UpdateMultiSelect(itsMouseDownDataEntity, Shift, true);
  // Handlers may have deleted it (it is forgotten then), and may still.
  auto* item = dynamic_cast<TvxDataEntity_SchemaTime*>(itsMouseDownDataEntity);
  TvxHold hold(item);
  if (Button == mbRight)
    PopupAtPress(item, X, Y);
  else if (Button == mbLeft && item)
    StartPressMode(item, X, Y);
  if (OnSchemaMouseDown) OnSchemaMouseDown(Sender, Button, Shift, X, Y);
  if (IsDestroying()) return;
  // The handler took the button away (a modal window) or cancelled.
  if (!fLeftButtonDown || itsMouseMoveCancelCalled) EndMoveModes();
}

void TvxSchema_ComBasic::StartPressMode(TvxDataEntity_SchemaTime* theItem, int X, int Y) {
  itsLocalMouseDownStart = Point(X, Y);
  itsLocalMouseDownOffset = Point(0, 0);
  EraseOutlines();
  itsLocalDrag = itsLocalGrow = false;
  // Each step may call out (editing, drawing rectangles): the booking is
  // asked for again after it.
  TvxHeld<TvxDataEntity_SchemaTime> held(theItem);
  if (!theItem->GetCanEdit() || !Here(held.Get())) return;
  CollectMoveRects();
  bool dir = false;
  TRect r;
  const bool grow = Here(held.Get()) && InGrowArea(theItem, X, Y, dir, r);
  if (!Here(held.Get())) {
    ClearMoveRects();
    return;
  }
  if (grow) {
    ClearMoveRects();  // a resize changes this one booking
    itsLocalGrow = true;
    itsLocalGrowDataEntity = theItem;
    itsLocalGrowDir = dir;
    itsLocalGrowRect = itsLocalGrowOrgRect = r;
  } else {
    itsLocalDrag = true;
  }
  // Outlines come over the area: while they do, only an invalidation paints it
  // anew, not the overlay's own updates.
  itsTA->SetKeepUntilInvalidated(true);
  // Held, so that a control taking the mouse ends the gesture (CancelMode).
  itsTA->SetMouseCapture(true);
  fEscapeHook = std::make_unique<TKeyHook>([this](unsigned short Key, TShiftState) {
    if (Key != VK_ESCAPE || !(itsLocalDrag || itsLocalGrow)) return false;
    CancelGesture();
    return true;
  });
}

void TvxSchema_ComBasic::PopupAtPress(TvxDataEntity_SchemaTime* theItem, int X, int Y) {
  itsPopupSelectedDataEntity = theItem;
  const TPoint at = itsTA->ClientToScreen(Point(X, Y));
  if (theItem && fPopupSchema) {
    fPopupSchema->SetPopupComponent(itsTA);
    fPopupSchema->Popup(at.X, at.Y);
  } else if (TPopupMenu* menu = GetPopupMenu()) {
    menu->Popup(at.X, at.Y);
  }
}

void TvxSchema_ComBasic::CollectMoveRects() {
  ClearMoveRects();
  // Asking whether a booking may be edited, and where it lies, calls out:
  // the selection is held first.
  TvxHeldList<TvxDataEntity_SchemaTime> selected;
  SelectedItems(selected, true);
  selected.ForEach([&](TvxDataEntity_SchemaTime* item) {
    // Only bookings of shown columns: one of a column scrolled away has no
    // place on the column axis to move from.
    if (!Here(item) || !itsDataListColumns->GetColumn(item->itsCol) ||
        itsDataListColumns->LiveSize(itsFlipView, item->itsCol) <= 0)
      return;
    TRect r;
    if (!item->GetCanEdit() || !Here(item) || !RectFromDataEntity(itsFlipView, item, r) || !Here(item)) return;
    fMoveRectsArray.push_back(TMoveRect{r, TvxHeld<TvxDataEntity_SchemaTime>(item)});
  });
}

void TvxSchema_ComBasic::ClearMoveRects() {
  std::vector<TMoveRect> rects;
  rects.swap(fMoveRectsArray);
}

// --- gesture ends ---------------------------------------------------------------------

void TvxSchema_ComBasic::EndMoveModes() {
  if (!itsTA || !itsScaler) return;
  const bool active = itsLocalDrag || itsLocalGrow;
  itsLocalDrag = itsLocalGrow = false;
  itsLocalGrowDataEntity = nullptr;
  EraseOutlines();
  ClearMoveRects();
  itsTA->SetKeepUntilInvalidated(false);
  if (itsScaler->IsScrollingUp() || itsScaler->IsScrollingDown()) itsScaler->StopStep();
  if (fColScrollTimer) StopColumnStep();
  if (active && itsHintWindow) itsHintWindow->ReleaseHandle();
  fEscapeHook.reset();
  // Last: letting the mouse go may report back here (CancelMode).
  if (active && itsTA->GetMouseCapture()) itsTA->SetMouseCapture(false);
}

void TvxSchema_ComBasic::MouseMoveModeCancel() {
  itsMouseMoveCancelCalled = true;
  if (!IsDestroying()) EndMoveModes();
}

void TvxSchema_ComBasic::CancelGesture() {
  if (IsDestroying() || !itsTA) return;
  const bool active = itsLocalDrag || itsLocalGrow;
  // The press that started it is over as far as the area is concerned: its
  // release writes nothing.
  fLeftButtonDown = false;
  EndMoveModes();
  DoHideShowMeBig(this);
  if (!active) return;
  itsTA->SetCursor(crArrow);
  DoMoveInfo(nullptr, 0, 0, -1, -1);
}

void TvxSchema_ComBasic::CancelMode() {
  TCustomPanel::CancelMode();
  CancelGesture();
}

void TvxOffscreenPaint_Schema::CancelMode() {
  TvxOffscreenPaint::CancelMode();
  if (fSchema) fSchema->CancelGesture();
}

// --- movement -------------------------------------------------------------------------

void TvxSchema_ComBasic::SchemaMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
  if (IsDestroying()) return;
  if (itsShowMeBigTimer) itsShowMeBigTimer->SetEnabled(false);
  TCursor cursor = crArrow;
  // A cancel, or a left button released where the area did not see it.
  if ((itsLocalDrag || itsLocalGrow) && (itsMouseMoveCancelCalled || !Shift.Contains(ssLeft))) EndMoveModes();
  if (itsLocalDrag) {
    HandleLocalDrag(X, Y);
    DoScaleStartStopAdjust(X, Y);
    DoColumnAdjust(X, Y);
    if (fStartDragWhenTimeMoveOutside && !itsTA->GetClientRect().Contains(Point(X, Y))) StartDragOutside();
  } else if (itsLocalGrow) {
    HandleLocalGrow(X, Y);
    // The split cursor of the band that was grabbed.
    cursor = itsFlipView ? crHSplit : crVSplit;
  } else {
    TvxHeld<TvxDataEntity_SchemaTime> item(GetDataEntityFromXY(X, Y));
    cursor = HoverCursor(item.Get(), X, Y);  // asks the editing handler
    HoverOver(Here(item.Get()) ? item.Get() : nullptr, X, Y);
  }
  itsTA->SetCursor(cursor);
  if (OnSchemaMouseMove) OnSchemaMouseMove(Sender, Shift, X, Y);
}

void TvxSchema_ComBasic::HoverOver(TvxDataEntity_SchemaTime* theItem, int X, int Y) {
  if (!theItem) {
    itsShowMeBigDataEntity = nullptr;
    DoHideShowMeBig(this);
    DoMoveInfo(nullptr, 0, 0, X, Y);
    return;
  }
  if (Point(X, Y) != itsShowMeBigXY) {
    itsShowMeBigXY = Point(X, Y);
    itsShowMeBigDataEntity = theItem;
    if (itsShowBigONOFF && itsShowMeBigWindow && itsShowMeBigTimer) itsShowMeBigTimer->SetEnabled(true);
  }
  DoMoveInfo(theItem, theItem->itsStartDateTime, theItem->itsStopDateTime - theItem->itsStartDateTime, X, Y);
}

void TvxSchema_ComBasic::SchemaMouseLeave(TObject*) {
  // Off the area the hint and the preview describe nothing (a drag keeps its hint).
  if (IsDestroying() || itsLocalDrag || itsLocalGrow) return;
  itsShowMeBigXY = Point(-1, -1);
  itsShowMeBigDataEntity = nullptr;
  DoHideShowMeBig(this);
  DoMoveInfo(nullptr, 0, 0, -1, -1);
}

// --- auto-scroll ----------------------------------------------------------------------

void TvxSchema_ComBasic::DoScaleStartStopAdjust(int X, int Y) {
  if (!fTimeItemAutoScroll) return;
  const int p = itsFlipView ? X : Y;
  const int extent = itsFlipView ? itsScaler->GetWidth() : itsScaler->GetHeight();
  // Starting again would restart the scaler's interval: only a change starts it.
  if (p < 0) {
    if (!itsScaler->IsScrollingDown()) itsScaler->StartStepDown();
    fAutoScrollHasBeenAppliedDuringMove = true;
  } else if (p > extent) {
    if (!itsScaler->IsScrollingUp()) itsScaler->StartStepUp();
    fAutoScrollHasBeenAppliedDuringMove = true;
  } else if (itsScaler->IsScrollingUp() || itsScaler->IsScrollingDown()) {
    itsScaler->StopStep();
  }
}

void TvxSchema_ComBasic::DoColumnAdjust(int X, int Y) {
  const int p = itsFlipView ? Y : X;
  const int extent = itsFlipView ? itsTA->GetHeight() : itsTA->GetWidth();
  if (fTimeItemAutoScroll && p < kColumnStepEdge) {
    StartColumnStepDown();
    fAutoScrollHasBeenAppliedDuringMove = true;
  } else if (fTimeItemAutoScroll && p > extent - kColumnStepEdge) {
    StartColumnStepUp();
    fAutoScrollHasBeenAppliedDuringMove = true;
  } else {
    StopColumnStep();
  }
}

// --- release --------------------------------------------------------------------------

void TvxSchema_ComBasic::SchemaMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (IsDestroying()) return;
  const TPoint delta = Point(X - itsLocalMouseDownStart.X, Y - itsLocalMouseDownStart.Y);
  if (itsScaler->IsScrollingUp() || itsScaler->IsScrollingDown()) itsScaler->StopStep();
  StopColumnStep();
  // The left button ends a gesture; another one released meanwhile does not.
  if (Button == mbLeft) {
    fLeftButtonDown = false;
    const bool moved = delta.X != 0 || delta.Y != 0 || fAutoScrollHasBeenAppliedDuringMove;
    if (itsLocalDrag) {
      EraseOutlines();
      HandleMoveOfSelected(delta, X, Y);
      InvalidateArea();
    } else if (itsLocalGrow) {
      EraseOutlines();
      HandleGrow(delta);
      InvalidateArea();
    }
    // A selection dragged along stays selected as it was.
    if (moved && (itsLocalDrag || itsLocalGrow)) itsDeferedSelection = false;
  }
  UpdateMultiSelect(itsMouseDownDataEntity, Shift, false);
  if (Button == mbLeft) EndMoveModes();
  if (itsHintWindow) itsHintWindow->ReleaseHandle();
  DoMoveInfo(nullptr, 0, 0, X, Y);
  if (OnSchemaMouseUp) OnSchemaMouseUp(Sender, Button, Shift, X, Y);
}

void TvxSchema_ComBasic::HandleMoveOfSelected(TPoint Delta, int X, int Y) {
  // Without auto-scroll a release where the press was moves nothing; after
  // one, the time under the pointer has changed all the same.
  if (Delta.X == 0 && Delta.Y == 0 && !fAutoScrollHasBeenAppliedDuringMove) return;
  // A copy: handlers may end the gesture while the bookings move.
  const std::vector<TMoveRect> rects = fMoveRectsArray;
  if (fAutoScrollHasBeenAppliedDuringMove) {
    // The axis or the columns moved under the pointer: pixels say nothing,
    // the times and columns under the press and the release do.
    TvxHeldList<TvxDataEntity_SchemaTime> items;
    for (const TMoveRect& m : rects) items.Add(m.item.Get());
    TDateTime at = 0;
    int col = -1;
    GetPositionDateTimeAndCol(X, Y, at, col);
    const int downCol = itsMouseDownColumn ? itsMouseDownColumn->ListIndex() : -1;
    const int colDiff = col >= 0 && downCol >= 0 ? col - downCol : 0;
    MoveByTimeDiff(items, at - itsMouseDownDateTime, colDiff);
  } else {
    for (const TMoveRect& m : rects) {
      TvxDataEntity_SchemaTime* item = m.item.Get();
      if (!Here(item)) continue;
      TDateTime start = 0, stop = 0;
      int col = 0;
      MovedByPixels(item, m.rect, Delta, start, stop, col);
      if (col >= 0) SetStartStopDateAndCol(item, start, stop, col);
    }
  }
  UpdateSubColumns();
}

void TvxSchema_ComBasic::HandleMoveOfSelectedFromTimeDiff(TDateTime TimeDiff, int ColDiff) {
  if (TimeDiff == 0 && ColDiff == 0) return;
  TvxHeldList<TvxDataEntity_SchemaTime> items;
  SelectedItems(items, false);
  MoveByTimeDiff(items, TimeDiff, ColDiff);
  UpdateSubColumns();
}

void TvxSchema_ComBasic::MoveByTimeDiff(const TvxHeldList<TvxDataEntity_SchemaTime>& theItems, TDateTime TimeDiff,
                                        int ColDiff) {
  if (TimeDiff == 0 && ColDiff == 0) return;
  theItems.ForEach([&](TvxDataEntity_SchemaTime* item) {
    if (!Here(item)) return;
    TDateTime start = 0, stop = 0;
    int col = 0;
    GetStartStopDateAndCol(item, start, stop, col);
    // Outside the columns its times read as 0: moving it would lose them.
    if (!itsDataListColumns->GetColumn(col)) return;
    SetStartStopDateAndCol(item, start + TimeDiff, stop + TimeDiff, col + ColDiff);
  });
}

void TvxSchema_ComBasic::SelectedItems(TvxHeldList<TvxDataEntity_SchemaTime>& theItems, bool theDrawnOnly) {
  theItems.Clear();
  const std::vector<TvxDataList*> lists = theDrawnOnly ? DrawnLists() : AllLayers();
  for (TvxDataList* list : lists)
    for (int p = 0; p < list->LoadedCount(); ++p)
      if (auto* item = dynamic_cast<TvxDataEntity_SchemaTime*>(list->GetLoaded(p)); item && item->GetSelected())
        theItems.Add(item);
}

void TvxSchema_ComBasic::HandleGrow(TPoint Delta) {
  auto* item = dynamic_cast<TvxDataEntity_SchemaTime*>(itsLocalGrowDataEntity);
  if ((itsFlipView ? Delta.X : Delta.Y) == 0 || !Here(item)) return;
  TvxHeld<TvxDataEntity_SchemaTime> held(item);
  TDateTime start = 0, stop = 0;
  int col = 0;
  if (!GrownTimes(item, Delta, start, stop, col)) return;
  SetStartStopDateAndCol(item, start, stop, col);
  UpdateSubColumns();
}

// --- the drag out of the area ---------------------------------------------------------

void TvxSchema_ComBasic::StartDragOutside() {
  // The move is abandoned: nothing changes, the outlines and the hint go.
  EndMoveModes();
  fLeftButtonDown = false;
  DoMoveInfo(nullptr, 0, 0, -1, -1);
  InvalidateArea();
  itsTA->BeginDrag(true);
}

// --- the header and the title grid ----------------------------------------------------

void TDataListColumns::HeaderMouseDown(bool theFlipped, int thePos, TPoint thePoint) {
  itsDownHeaderCell = PixelToColumn_FW(theFlipped, thePos);
  itsMouseDownPoint = thePoint;
  int nearEdge = -1, farEdge = -1;
  if (itsSchema) itsSchema->ColumnToPixels_fw(theFlipped, itsDownHeaderCell, nearEdge, farEdge);
  itsInResizeArea = thePos < nearEdge + kHeaderResizeBand || thePos > farEdge - kHeaderResizeBand;
  itsResizeCell = PixelToColumn_FW(theFlipped, thePos - kHeaderResizeBand);
}

void THeaderControl_MouseControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (itsDataListColumns) itsDataListColumns->HeaderMouseDown(false, X, Point(X, Y));
  THeaderControl::MouseDown(Button, Shift, X, Y);
  // Where the header sizes a column (it tracks then) no drag starts.
  if (Button == mbLeft && itsDataListColumns && !itsDataListColumns->GetInResizeArea() && GetTrackingSection() < 0 &&
      !IsDestroying())
    BeginDrag(true);
}

void TDrawGrid_Schema::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (itsDataListColumns) itsDataListColumns->HeaderMouseDown(true, Y, Point(X, Y));
  TDrawGrid::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && itsDataListColumns && !itsDataListColumns->GetInResizeArea() && GetSizingRow() < 0 &&
      !IsDestroying())
    BeginDrag(true);
}

}  // namespace vx
