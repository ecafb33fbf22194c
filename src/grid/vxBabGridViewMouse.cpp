// The grid view and the mouse: focus and selection by clicks, header sorting,
// tree buttons, column and row resizing with a tracking line, the delayed
// edit start and the start of a drag.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include <vxplan/grid/vxBabGridView.h>
#include <vxplan/grid/vxBabGridViewInternal.h>
#include <vxplan/platform/ui/XorOverlay.h>

namespace vx {

namespace {

// How far the mouse moves with the button down before a drag starts (the
// toolkit's own threshold).
constexpr int kDragThreshold = 5;
// How near the press point the mouse must stay for the delayed edit start.
constexpr int kSlowStartSlack = 3;

bool Near(TPoint a, TPoint b, int theSlack) {
  return std::abs(a.X - b.X) <= theSlack && std::abs(a.Y - b.Y) <= theSlack;
}

}  // namespace

// ---------------------------------------------------------------- resize zones

bool TBabGridView_Custom::ZoneIn(TBabGridCell* theGrid, int x, int y, TBabCell*& theCell, bool& theIsHorz) {
  TBabCell* a = theGrid->CellFromPix(x - 2, y - 2, false);
  if (!a) return false;
  // A nested grid is asked first.
  if (a->IsGridCell() && ZoneIn(static_cast<TBabGridCell*>(a), x, y, theCell, theIsHorz)) return true;
  if (!a->GetIsFixed()) return false;
  const TPoint pa = theGrid->GridCoordsFromPix(x - 2, y - 2);
  const TPoint pb = theGrid->GridCoordsFromPix(x + 2, y + 2);
  const bool beyond = pb.X < 0 || pb.Y < 0;
  TBabCell* b = beyond ? nullptr : theGrid->getCell(pb.X, pb.Y);
  if (b) b = b->GetGroupMaster();
  if (!beyond && !(b && b != a && b->GetIsFixed())) return false;
  theCell = a;
  theIsHorz = pa.X != pb.X;
  return true;
}

bool TBabGridView_Custom::InResizeZone(int x, int y, TBabCell*& theCell, bool& theIsHorz) {
  theCell = nullptr;
  theIsHorz = false;
  return ZoneIn(fBabGridCellForViewer.get(), x, y, theCell, theIsHorz);
}

// ---------------------------------------------------------------- tracking line

void TBabGridView_Custom::TrackWLine(int thePos) {
  if (!fTrack) fTrack = std::make_unique<TXorOverlay>(this);
  // Drawing the same line again takes it away.
  if (fOldTrack != NoRect()) fTrack->InvertRect(fOldTrack, TXorOverlay::xpHalftone);
  const TRect line = fMouseMoveMode == mmResizeCols ? Rect(thePos, 0, thePos + 2, GetHeight())
                                                     : Rect(0, thePos, GetWidth(), thePos + 2);
  fTrack->InvertRect(line, TXorOverlay::xpHalftone);
  fOldTrack = line;
}

void TBabGridView_Custom::EndTracking() {
  fTrack.reset();
  fOldTrack = NoRect();
}

// ---------------------------------------------------------------- hit boxes

bool TBabGridView_Custom::CheckBoxHit(TBabCell* theCell, int x, int y) {
  TBabSimpleCellStringData* data = gridview::StringData(theCell);
  if (!data || !data->GetIsBoolean()) return false;
  TvxWatch<TBabCell> alive(theCell);
  TRect text, icon, button, r = InflateRect(theCell->getVisibleRect(), -1, -1);
  if (!alive) return false;
  DivideTheRectIntoSections(theCell, TBabDrawStateSet(), text, icon, button, r, false);
  // A little larger than the box, for the hand's sake.
  return InflateRect(CheckBoxRectFromDrawRect(text), 2, 2).Contains(Point(x, y));
}

bool TBabGridView_Custom::ButtonBoxHit(TBabCell* theCell, int x, int y) {
  if (!theCell || !CellHasButton(theCell)) return false;
  return ButtonSection(theCell).Contains(Point(x, y));
}

bool TBabGridView_Custom::SortZoneHit(TBabCell* theCell, int x, int y) {
  TBabGridCell* g = theCell ? theCell->getGridCell() : nullptr;
  if (!g || theCell->GetRow() >= g->GetFixedRows()) return false;
  TvxWatch<TBabCell> alive(theCell);
  const TRect r = theCell->getVisibleRect();
  return alive && InflateRect(r, -2, -2).Contains(Point(x, y)) && CheckSortAllow(theCell);
}

// ---------------------------------------------------------------- press, move, release

void TBabGridView_Custom::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!Shift.Contains(ssDouble)) HideReadOnly();  // the double click's own hint stays
  fLatestKnownMousePos = Point(X, Y);
  fMouseDownOnCell = false;
  if (!IsDesigning()) PressOnCell(Button, Shift, X, Y);
  fMouseDownPoint = Point(X, Y);
  fMouseMoveMode = mmNone;
  if (!fEditing) PressOnHeader(Button, Shift.Contains(ssDouble), X, Y);
  TvxOffscreenPaint::MouseDown(Button, Shift, X, Y);
}

// Focus, selection and check boxes.
void TBabGridView_Custom::PressOnCell(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  if (!fEditing && !Shift.Contains(ssDouble)) SetFocus();
  if (Button == mbLeft) SlowStart();
  if (Button == mbRight) StopEditing();
  TBabCell* cell = g->CellFromPix(X, Y, true);
  if (Button == mbRight) {
    if (OnRightClick) OnRightClick(this, cell);
    cell = g->CellFromPix(X, Y, true);
  }
  if (!cell || cell->GetIsFixed()) return;
  // Focus and selection are heard by the application, which may drop the
  // cell: it is read only while it is there.
  TvxWatch<TBabCell> alive(cell);
  g->SetFocusedCell(cell);
  if (fEditing || !alive) return;
  const bool onCheckBox = Button == mbLeft && CheckBoxHit(cell, X, Y);
  if (!alive) return;
  if (onCheckBox) {
    fToggleCheckBoxAndEndEdit = true;
    StartEditing();
    fToggleCheckBoxAndEndEdit = false;
  } else if (Button == mbLeft && cell->GetSelected()) {
    // Selected already: the rule waits for the release, so that a
    // selection of several cells can be dragged.
    fMouseUp_Selection = true;
    fMouseUp_Selection_Cell = cell;
    fMouseUp_Selection_Shift = Shift;
  } else if (Button == mbLeft) {
    cell->getGridCell()->UpdateMultiSelect(cell, Shift);
  } else if (Button == mbRight && !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
    TBabCell* f = g->GetFocusedCellDownTrack();
    if (f && !f->GetSelected() && f->getGridCell()) f->getGridCell()->UpdateMultiSelect(f, TShiftState());
  }
  fMouseDownOnCell = Button == mbLeft;
}

// Resizing, sorting and tree buttons.
void TBabGridView_Custom::PressOnHeader(TMouseButton Button, bool theDouble, int X, int Y) {
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  TBabCell* zoneCell = nullptr;
  bool horz = false;
  if (InResizeZone(X, Y, zoneCell, horz)) {
    if (Button != mbLeft) return;
    fMouseDownOnCell = false;
    TvxWatch<TBabCell> zone(zoneCell);
    if (theDouble && horz) HandleAutoSize(zoneCell, true);
    if (!zone) return;
    fMouseDownCell = zoneCell;
    fMouseMoveMode = horz ? mmResizeCols : mmResizeRows;
    // The drag follows the mouse beyond the control, and ends (cancelled)
    // when another control takes the mouse.
    SetMouseCapture(true);
    return;
  }
  if (IsDesigning() || Button != mbLeft) return;
  TBabCell* header = g->CellFromPix(X, Y, true);
  TvxWatch<TBabCell> alive(header);
  const bool sort = SortZoneHit(header, X, Y);
  if (header && !alive) return;
  if (sort) {
    fCurrentSortUpNotDown = header == fCurrentSortCol ? !fCurrentSortUpNotDown : false;
    fCurrentSortCol = header;
    DoSortCell(header, fCurrentSortUpNotDown);
    Invalidate();
  } else if (ButtonBoxHit(g->GetFocusedCellDownTrack(), X, Y)) {
    DoButtonAction(g->GetFocusedCellDownTrack());
  }
}

void TBabGridView_Custom::MouseMove(TShiftState Shift, int X, int Y) {
  fLatestKnownMousePos = Point(X, Y);
  if (fMouseMoveMode == mmResizeCols || fMouseMoveMode == mmResizeRows) {
    TrackWLine(fMouseMoveMode == mmResizeCols ? X : Y);
    SetGridCursor(fMouseMoveMode == mmResizeCols ? crHSplit : crVSplit);
  } else {
    TBabCell* cell = nullptr;
    bool horz = false;
    if (!fEditing && InResizeZone(X, Y, cell, horz))
      SetGridCursor(horz ? crHSplit : crVSplit);
    else
      SetGridCursor(fCursorGrid);
    if (Shift.Contains(ssLeft) && fDragModeOverride == dmAutomatic && fMouseDownOnCell && !fEditing && !Dragging() &&
        !Near(Point(X, Y), fMouseDownPoint, kDragThreshold)) {
      fMouseDownOnCell = false;
      fSlowStartTimer->SetEnabled(false);
      BeginDrag(true);
    }
  }
  TvxOffscreenPaint::MouseMove(Shift, X, Y);
}

void TBabGridView_Custom::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TMMode mode = fMouseMoveMode;
  TBabCell* cell = fMouseDownCell;
  fMouseMoveMode = mmNone;
  fMouseDownCell = nullptr;
  fMouseDownOnCell = false;
  if (mode != mmNone) {
    EndTracking();
    SetMouseCapture(false);
  }
  // A press on a border without a move resizes nothing (after a double
  // click the fitted width stays).
  if (mode == mmResizeCols && cell && X != fMouseDownPoint.X) DoResize(X - fMouseDownPoint.X, cell, true);
  if (mode == mmResizeRows && cell && Y != fMouseDownPoint.Y) DoResize(Y - fMouseDownPoint.Y, cell, false);
  ApplyDeferredSelection();
  TvxOffscreenPaint::MouseUp(Button, Shift, X, Y);
}

void TBabGridView_Custom::ApplyDeferredSelection() {
  if (!fMouseUp_Selection) return;
  TBabCell* cell = fMouseUp_Selection_Cell;
  fMouseUp_Selection = false;
  fMouseUp_Selection_Cell = nullptr;
  if (cell && cell->getGridCell()) cell->getGridCell()->UpdateMultiSelect(cell, fMouseUp_Selection_Shift);
}

void TBabGridView_Custom::DblClick() {
  TvxOffscreenPaint::DblClick();
  const TPoint p = fLatestKnownMousePos;
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  TBabCell* cell = g->CellFromPix(p.X, p.Y, true);
  TvxWatch<TBabCell> alive(cell);
  if (!cell || cell->GetIsFixed() || fEditing || ButtonBoxHit(g->GetFocusedCellDownTrack(), p.X, p.Y) || !alive) return;
  g->SetFocusedCell(cell);
  StartEditing();
  ShowReadOnly();
}

void TBabGridView_Custom::DoEndDrag(TObject* Target, int X, int Y) {
  // A click that became a drag: dropped on its own cell, the click's
  // selection applies after all.
  if (fMouseUp_Selection && fMouseUp_Selection_Cell) {
    const TPoint p = ScreenToClient(GetCursorPos());
    const TRect r = fMouseUp_Selection_Cell->getVisibleRect();
    if (r.Contains(p) || (Target == this && r.Contains(Point(X, Y)))) ApplyDeferredSelection();
  }
  fMouseUp_Selection = false;
  fMouseUp_Selection_Cell = nullptr;
  TvxOffscreenPaint::DoEndDrag(Target, X, Y);
}

// The window changed under a gesture (hidden, reparented, deactivated, the
// mouse taken): it ends cancelled. A resize writes nothing, a selection
// waiting for the release and a delayed edit start are dropped, a drag ends
// without a drop.
void TBabGridView_Custom::CancelMode() {
  TvxOffscreenPaint::CancelMode();
  const TMMode mode = std::exchange(fMouseMoveMode, mmNone);
  if (mode != mmNone) {
    EndTracking();
    SetMouseCapture(false);
  }
  fMouseDownCell = nullptr;
  fMouseDownOnCell = false;
  fMouseUp_Selection = false;
  fMouseUp_Selection_Cell = nullptr;
  if (fSlowStartTimer) fSlowStartTimer->SetEnabled(false);
  HideReadOnly();
  if (Dragging()) EndDrag(false);
  if (!IsDestroying()) SetGridCursor(fCursorGrid);
}

// ---------------------------------------------------------------- delayed edit start

void TBabGridView_Custom::SlowStart() {
  if (!fAutoEditMode || fSlowStartTimer->GetEnabled()) return;
  fSlowStartPoint = fLatestKnownMousePos;
  fSlowStartMethod = [this] { StartEditing(); };
  fSlowStartTimer->SetEnabled(true);
}

void TBabGridView_Custom::SlowStartTimer(TObject*) {
  fSlowStartTimer->SetEnabled(false);
  if (IsDestroying() || fEditing || Dragging() || fMouseMoveMode != mmNone || !Focused()) return;
  if (!Near(fLatestKnownMousePos, fSlowStartPoint, kSlowStartSlack)) return;
  TBabCell* f = fBabGridCellForViewer->GetFocusedCellDownTrack();
  // Only a press on the cell that has the focus now.
  if (!f || f->IsGridCell() || !f->getVisibleRect().Contains(fSlowStartPoint)) return;
  if (fSlowStartMethod) fSlowStartMethod();
}

}  // namespace vx
