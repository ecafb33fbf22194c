// The schedule's side of the gestures on its bookings. Where a dragged
// booking lands: the times a release would write for a move or a resize, the
// outlines that show them (snapped, in the target column), and the hint that
// names them. The release writes through the same reckoning, so the hint and
// the outlines never promise what it does not do.
#include <vxplan/schema/vxSchemaGesture.h>

#include <algorithm>
#include <cmath>

#include <vxplan/schema/vxSchema.h>

namespace vx {

namespace {

// Outlines are drawn at least this long along the time axis, as bookings are.
constexpr int kMinOutline = 5;

TvxDataEntity_SchemaTime* Booking(TvxDataEntity* theItem) { return dynamic_cast<TvxDataEntity_SchemaTime*>(theItem); }

}  // namespace

TSchemaGesture::TSchemaGesture(TvxSchema_ComBasic& theSchema) : fSchema(theSchema), fEngine(*this, TvxGestureRules()) {
  fEngine.Rules().fTimeAcross = false;
  fEngine.Rules().fLaneStepInterval = 500;
}

// --- the reckoning --------------------------------------------------------------------

void TSchemaGesture::MovedByPixels(TvxDataEntity_SchemaTime* theItem, const TRect& theRect, TPoint theDelta,
                                   TDateTime& theStart, TDateTime& theStop, int& theCol) {
  TvxSchema_ComBasic& s = fSchema;
  s.GetStartStopDateAndCol(theItem, theStart, theStop, theCol);
  // Outside the columns its times read as 0: moving it would lose them.
  if (!s.itsDataListColumns->GetColumn(theCol)) {
    theCol = -1;
    return;
  }
  const bool flip = s.itsFlipView;
  const int edge = flip ? theRect.Left : theRect.Top;
  const int d = flip ? theDelta.X : theDelta.Y;
  const TDateTime dt = d == 0 ? 0 : s.itsScaler->PixelToDate(edge + d) - s.itsScaler->PixelToDate(edge);
  theStart += dt;
  theStop += dt;
  // The columns under the rectangle's middle, before and after the move.
  const int across = flip ? theRect.Top + (theRect.Bottom - theRect.Top) / 2 : theRect.Left + (theRect.Right - theRect.Left) / 2;
  const int acrossDelta = flip ? theDelta.Y : theDelta.X;
  if (acrossDelta != 0) theCol += s.PixelToColumn(across + acrossDelta) - s.PixelToColumn(across);
}

bool TSchemaGesture::GrownTimes(TvxDataEntity_SchemaTime* theItem, const TRect& theRect, bool theStartEdge,
                                TPoint theDelta, TDateTime& theStart, TDateTime& theStop, int& theCol) {
  return GrownTimes(theItem, theStartEdge, EdgeShift(theRect, theStartEdge, theDelta), theStart, theStop, theCol);
}

TDateTime TSchemaGesture::EdgeShift(const TRect& theRect, bool theStartEdge, TPoint theDelta) const {
  const bool flip = fSchema.itsFlipView;
  const int d = flip ? theDelta.X : theDelta.Y;
  const int edge = theStartEdge ? (flip ? theRect.Left : theRect.Top) : (flip ? theRect.Right : theRect.Bottom);
  return d == 0 ? 0 : fSchema.itsScaler->PixelToDate(edge + d) - fSchema.itsScaler->PixelToDate(edge);
}

bool TSchemaGesture::GrownTimes(TvxDataEntity_SchemaTime* theItem, bool theStartEdge, TDateTime theShift,
                                TDateTime& theStart, TDateTime& theStop, int& theCol) {
  TvxSchema_ComBasic& s = fSchema;
  s.GetStartStopDateAndCol(theItem, theStart, theStop, theCol);
  TvxDataEntity_SchemaColumn* column = s.itsDataListColumns->GetColumn(theCol);
  if (!column) return false;
  if (theStartEdge) {
    theStart += theShift;
    // Snapped here, so that the stop stays where it is: snapping a start and
    // a length would move it.
    TDateTime absolute = column->GetOffsetDate() + theStart, none = 0;
    s.Snap(absolute, none);
    theStart = std::min(absolute - column->GetOffsetDate(), theStop);  // never a negative length
  } else {
    theStop += theShift;
    theStop = std::max(theStop, theStart);
  }
  return true;
}

void TSchemaGesture::Landing(TvxDataEntity_SchemaTime* theItem, TDateTime theStart, TDateTime theStop, int& theCol,
                             TDateTime& theAbsStart, TDateTime& theAbsStop) const {
  theCol = std::min(std::max(theCol, 0), fSchema.itsDataListColumns->Count() - 1);
  if (theCol != theItem->GetCol() && !fSchema.itsMoveInTimeWhenColSwitch) {
    // Another column, the same times.
    theAbsStart = theItem->GetStartDateTime();
    theAbsStop = theItem->GetStopDateTime();
    return;
  }
  fSchema.SnappedTimes(theCol, theStart, theStop, theAbsStart, theAbsStop);
}

TRect TSchemaGesture::LandingRect(const TRect& theRect, int theFromCol, int theToCol, TDateTime theAbsStart,
                                  TDateTime theAbsStop) {
  TvxSchema_ComBasic& s = fSchema;
  int fromNear, fromFar, toNear, toFar;
  s.ColumnToPixels(theFromCol, fromNear, fromFar);
  s.ColumnToPixels(theToCol, toNear, toFar);
  const int across = fromNear >= 0 && toNear >= 0 ? toNear - fromNear : 0;
  TvxDataEntity_SchemaColumn* column = s.itsDataListColumns->GetColumn(theToCol);
  const TDateTime offset = column ? column->GetOffsetDate() : 0;
  const int t1 = TvxSchema_ComBasic::FarPixel(s.itsScaler->DateToPixel(TvxSchema_ComBasic::TimeOnAxis(theAbsStart - offset)));
  const int t2 = std::max(
      TvxSchema_ComBasic::FarPixel(s.itsScaler->DateToPixel(TvxSchema_ComBasic::TimeOnAxis(theAbsStop - offset))),
      t1 + kMinOutline);
  return s.itsFlipView ? Rect(t1 + 1, theRect.Top + across, t2, theRect.Bottom + across)
                       : Rect(theRect.Left + across, t1, theRect.Right + across, t2);
}

TvxTimeLanding TSchemaGesture::GestureMoveLanding(TvxDataEntity* theItem, const TRect& theRect, TPoint theDelta) {
  TvxTimeLanding landing;
  TvxDataEntity_SchemaTime* item = Booking(theItem);
  if (!fSchema.Here(item)) return landing;
  TDateTime start = 0, stop = 0;
  int col = 0;
  MovedByPixels(item, theRect, theDelta, start, stop, col);
  if (col < 0) return landing;
  Landing(item, start, stop, col, landing.fStart, landing.fStop);
  landing.fLane = col;
  landing.fRect = LandingRect(theRect, item->GetCol(), col, landing.fStart, landing.fStop);
  landing.fValid = true;
  return landing;
}

TvxTimeLanding TSchemaGesture::GestureGrowLanding(TvxDataEntity* theItem, const TRect& theRect, bool theStart,
                                                  TPoint theDelta) {
  TvxTimeLanding landing;
  TvxDataEntity_SchemaTime* item = Booking(theItem);
  TDateTime start = 0, stop = 0;
  int col = 0;
  if (!fSchema.Here(item) || !GrownTimes(item, theRect, theStart, theDelta, start, stop, col)) return landing;
  fSchema.SnappedTimes(col, start, stop, landing.fStart, landing.fStop);
  landing.fLane = col;
  landing.fRect = LandingRect(theRect, col, col, landing.fStart, landing.fStop);
  landing.fValid = true;
  return landing;
}

// --- the release ----------------------------------------------------------------------

void TSchemaGesture::GestureWriteMove(TvxDataEntity* theItem, const TRect& theRect, TPoint theDelta, bool) {
  TvxSchema_ComBasic& s = fSchema;
  TvxDataEntity_SchemaTime* item = Booking(theItem);
  if (!s.Here(item)) return;
  if (!fEngine.Scrolled()) {
    TDateTime start = 0, stop = 0;
    int col = 0;
    MovedByPixels(item, theRect, theDelta, start, stop, col);
    if (col >= 0) s.SetStartStopDateAndCol(item, start, stop, col);
    return;
  }
  // The axis or the columns moved under the pointer: pixels say nothing, the
  // times and columns under the press and the release do.
  TDateTime at = 0;
  int col = -1;
  s.GetPositionDateTimeAndCol(fEngine.Pointer().X, fEngine.Pointer().Y, at, col);
  const int downCol = fEngine.PressLane();
  const int colDiff = col >= 0 && downCol >= 0 ? col - downCol : 0;
  TvxHeldList<TvxDataEntity_SchemaTime> items;
  items.Add(item);
  s.MoveByTimeDiff(items, at - fEngine.PressTime(), colDiff);
}

void TSchemaGesture::GestureWriteGrow(TvxDataEntity* theItem, const TRect& theRect, bool theStart, TPoint theDelta) {
  TvxDataEntity_SchemaTime* item = Booking(theItem);
  if (fSchema.Here(item)) WriteGrow(item, theStart, EdgeShift(theRect, theStart, theDelta));
}

void TSchemaGesture::WriteGrow(TvxDataEntity_SchemaTime* theItem, bool theStartEdge, TDateTime theShift) {
  TvxHeld<TvxDataEntity_SchemaTime> held(theItem);
  TDateTime start = 0, stop = 0;
  int col = 0;
  if (!GrownTimes(theItem, theStartEdge, theShift, start, stop, col)) return;
  fSchema.SetStartStopDateAndCol(theItem, start, stop, col);
  fSchema.UpdateSubColumns();
}

void TSchemaGesture::KeyGrow(TvxDataEntity_SchemaTime* theItem, bool theStartEdge, TDateTime theShift) {
  if (fEngine.Active() || !fSchema.Here(theItem) || !std::isfinite(theShift) || theShift == 0) return;
  // As a press does: only what the application lets be edited.
  if (!GestureCanEdit(theItem)) return;
  WriteGrow(theItem, theStartEdge, theShift);
}

void TSchemaGesture::GestureWritesEnd() { fSchema.UpdateSubColumns(); }

// --- hit tests and selection ----------------------------------------------------------

TWinControl* TSchemaGesture::GestureArea() { return fSchema.itsTA; }

TvxDataEntity* TSchemaGesture::GestureItemAt(int x, int y) { return fSchema.GetDataEntityFromXY(x, y); }

bool TSchemaGesture::GestureInGrowBand(TvxDataEntity* theItem, int x, int y, TRect& theRect, bool& theStart) {
  TvxHeld<TvxDataEntity> held(theItem);
  const bool grow = fSchema.InGrowArea(theItem, x, y, theStart, theRect);
  return grow && fSchema.Here(held.Get());
}

bool TSchemaGesture::GestureCanEdit(TvxDataEntity* theItem) {
  TvxHeld<TvxDataEntity> held(theItem);
  return theItem->GetCanEdit() && fSchema.Here(held.Get());
}

TDateTime TSchemaGesture::GestureTimeAt(int x, int y) {
  TDateTime at = 0;
  int col = -1;
  fSchema.GetPositionDateTimeAndCol(x, y, at, col);
  return at;
}

int TSchemaGesture::GestureLaneAt(int x, int y) {
  TDateTime at = 0;
  int col = -1;
  fSchema.GetPositionDateTimeAndCol(x, y, at, col);
  return fSchema.itsDataListColumns->GetColumn(col) ? col : -1;
}

void TSchemaGesture::GestureSelection(std::vector<std::pair<TvxDataEntity*, TRect>>& theItems) {
  TvxSchema_ComBasic& s = fSchema;
  // Asking whether a booking may be edited, and where it lies, calls out:
  // the selection is held first.
  TvxHeldList<TvxDataEntity_SchemaTime> selected;
  s.SelectedItems(selected, true);
  selected.ForEach([&](TvxDataEntity_SchemaTime* item) {
    // Only bookings of shown columns: one of a column scrolled away has no
    // place on the column axis to move from.
    if (!s.Here(item) || !s.itsDataListColumns->GetColumn(item->GetCol()) ||
        s.itsDataListColumns->LiveSize(s.itsFlipView, item->GetCol()) <= 0)
      return;
    TRect r;
    if (!item->GetCanEdit() || !s.Here(item) || !s.RectFromDataEntity(s.itsFlipView, item, r) || !s.Here(item)) return;
    theItems.emplace_back(item, r);
  });
}

void TSchemaGesture::GestureClearSelection() { fSchema.itsvxLayers->ClearSelections(); }

void TSchemaGesture::GestureSelectionShown() { fSchema.InvalidateArea(); }

void TSchemaGesture::GesturePressed(TvxDataEntity* theItem) {
  if (auto* item = Booking(theItem); item && item != fSchema.itsActiveDataEntity) {
    fSchema.itsActiveDataEntity = item;
    fSchema.InvalidateArea();
  }
}

// --- feedback -------------------------------------------------------------------------

void TSchemaGesture::GestureOutline(const TRect& theRect) { fSchema.DrawOutline(theRect, false); }

void TSchemaGesture::GestureHint(TvxDataEntity*, const TvxTimeLanding& theLanding, TPoint thePointer) {
  fSchema.fPreview->MoveInfo(nullptr, theLanding.fStart, theLanding.fStop - theLanding.fStart, thePointer.X, thePointer.Y);
}

void TSchemaGesture::GestureHover(TvxDataEntity* theItem, int x, int y) {
  fSchema.fPreview->HoverOver(fSchema.Here(theItem) ? Booking(theItem) : nullptr, x, y);
}

void TSchemaGesture::GestureCursor(TvxGestureCursor theCursor) {
  fSchema.itsTA->SetCursor(theCursor == gcResize ? (fSchema.itsFlipView ? crHSplit : crVSplit) : crArrow);
}

// --- scrolling and leaving ------------------------------------------------------------

bool TSchemaGesture::GestureTimeStep(int thePos) {
  TvxSchema_ComBasic& s = fSchema;
  if (!s.fTimeItemAutoScroll) return false;
  return s.itsScaler->StepAtEdge(thePos, s.itsFlipView ? s.itsScaler->GetWidth() : s.itsScaler->GetHeight());
}

void TSchemaGesture::GestureTimeStepStop() { fSchema.itsScaler->StopStepping(); }

bool TSchemaGesture::GestureLanesStep() { return fSchema.fTimeItemAutoScroll; }

void TSchemaGesture::GestureStepLanes(bool theForward) {
  TDataListColumns* columns = fSchema.itsDataListColumns;
  const int next = columns->GetTopLeftCol() + (theForward ? 1 : -1);
  if (next < 0 || next > columns->Count() - 1) return;
  fSchema.ScrollAccordingToUpDown(next);
}

bool TSchemaGesture::GestureLeavesOutside() { return fSchema.fStartDragWhenTimeMoveOutside; }

void TSchemaGesture::GestureLeave() {
  fSchema.fPreview->MoveInfo(nullptr, 0, 0, -1, -1);
  fSchema.InvalidateArea();
  fSchema.itsTA->BeginDrag(true);
}

// --- the gesture's life ---------------------------------------------------------------

void TSchemaGesture::GestureBegun() {
  // Outlines come over the area: while they do, only an invalidation paints it
  // anew, not the overlay's own updates.
  fSchema.itsTA->SetKeepUntilInvalidated(true);
  // Held, so that a control taking the mouse ends the gesture (CancelMode).
  fSchema.itsTA->SetMouseCapture(true);
}

void TSchemaGesture::GestureEnded(bool theActive) {
  TvxOffscreenPaint_Schema* area = fSchema.itsTA;
  if (!area) return;
  area->SetKeepUntilInvalidated(false);
  if (!theActive) return;
  fSchema.InvalidateArea();
  fSchema.fPreview->HideHint();
  // Last: letting the mouse go may report back here (CancelMode).
  if (area->GetMouseCapture()) area->SetMouseCapture(false);
}

void TSchemaGesture::GestureCancelled(bool theActive, bool) {
  fSchema.fPreview->HideShowMeBig();
  if (!theActive) return;
  fSchema.itsTA->SetCursor(crArrow);
  fSchema.fPreview->MoveInfo(nullptr, 0, 0, -1, -1);
}

// --- the control's own reckoning and outlines ----------------------------------------

void TvxSchema_ComBasic::SnappedTimes(int theCol, TDateTime theStart, TDateTime theStop, TDateTime& theAbsStart,
                                      TDateTime& theAbsStop) const {
  TvxDataEntity_SchemaColumn* target = itsDataListColumns->GetColumn(theCol);
  const TDateTime offset = target ? target->itsOffsetDate : 0;
  theAbsStart = offset + theStart;
  TDateTime length = (offset + theStop) - theAbsStart;
  Snap(theAbsStart, length);
  // An endless length ends where it was asked to, not where infinity minus
  // infinity would put it.
  theAbsStop = std::isfinite(length) ? theAbsStart + length : offset + theStop;
}

void TvxSchema_ComBasic::DrawOutline(const TRect& theRect, bool ShowInfo) {
  if (ShowInfo) {
    TDateTime start = 0, length = 0;
    // Flipped, the rectangle starts a pixel inside its start time.
    TRect times = theRect;
    if (itsFlipView) times.Left -= 1;
    StartAndLengthFromRect(times, start, length);
    Snap(start, length);
    fPreview->MoveInfo(nullptr, start, length, theRect.Right, theRect.Top);
  }
  TRect r = theRect;
  if (itsFlipView)
    r.Right = std::max(r.Right, r.Left + kMinOutline);
  else
    r.Bottom = std::max(r.Bottom, r.Top + kMinOutline);
  // Drawn as far as the area shows it: a side beyond stays out of sight.
  r = fPainter->AreaClip(r);
  const TPoint corners[] = {Point(r.Left, r.Top), Point(r.Left, r.Bottom), Point(r.Right, r.Bottom),
                            Point(r.Right, r.Top), Point(r.Left, r.Top)};
  TXorOverlay* overlay = fGesture->Engine().Overlay();
  for (int k = 0; k < 4; ++k) overlay->InvertLine(corners[k], corners[k + 1], TXorOverlay::xpHalftone);
}

}  // namespace vx
