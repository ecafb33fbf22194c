// The gesture on time items that the Gantt chart and the schedule share.
#include <vxplan/timeitems/vxTimeGesture.h>

#include <utility>

namespace vx {

namespace {

// From theFrom to (x, y), held within int however far apart.
TPoint Offset(TPoint theFrom, int x, int y) {
  return Point(AddClamped(x, -static_cast<long long>(theFrom.X)), AddClamped(y, -static_cast<long long>(theFrom.Y)));
}

}  // namespace

TvxTimeGesture::TvxTimeGesture(TvxTimeGestureHost& theHost, const TvxGestureRules& theRules)
    : fHost(theHost), fRules(theRules), fLaneTimer(std::make_unique<TOwnedTimer>(nullptr, [this](TObject*) { LaneTick(); })) {
  fLaneTimer->SetEnabled(false);
  fLaneTimer->SetInterval(fRules.fLaneStepInterval);
}

TvxTimeGesture::~TvxTimeGesture() { Reset(); }

void TvxTimeGesture::Reset() {
  fEscape.reset();
  fLaneTimer->SetEnabled(false);
  fOutlines.reset();
  fMoved.clear();
  fGrowItem.Reset();
  fPressedItem.Reset();
  fMode = gmNone;
  fPressed = false;
}

void TvxTimeGesture::Forget(const TvxDataEntity* theItem) {
  if (fPressedItem.Is(theItem)) fPressedItem.Reset();
  if (!fGrowItem.Is(theItem)) return;
  fGrowItem.Reset();
  if (Resizing() || fMode == gmLink) End();
}

// --- decisions ------------------------------------------------------------------------

TvxDataEntity* TvxTimeGesture::HitAt(int x, int y) {
  fGrabbedPastStop = false;
  TvxDataEntity* item = fHost.GestureItemAt(x, y);
  if (item || !fRules.fGrabPastStop) return item;
  // Just past an item's stop end grabs that end.
  const int back = TvxGestureRules::kGrabPastStop;
  item = fRules.fTimeAcross ? fHost.GestureItemAt(AddClamped(x, -back), y) : fHost.GestureItemAt(x, AddClamped(y, -back));
  fGrabbedPastStop = item != nullptr;
  return item;
}

bool TvxTimeGesture::InGrowBand(const TRect& theRect, int x, int y, bool& theStart) const {
  if (fGrabbedPastStop) {
    theStart = false;
    return true;
  }
  const int length = fRules.fTimeAcross ? theRect.Width() : theRect.Height();
  if (fRules.fFavourMoveOnSmall && length < TvxGestureRules::kSmallItem) return false;
  const int band = TvxGestureRules::kGrowBand;
  const TRect& r = theRect;
  // Clamped: a rectangle far off the area must not overflow.
  const TRect startBand = fRules.fTimeAcross ? Rect(r.Left, r.Top, AddClamped(r.Left, band), r.Bottom)
                                             : Rect(r.Left, r.Top, r.Right, AddClamped(r.Top, band));
  const TRect stopBand = fRules.fTimeAcross ? Rect(AddClamped(r.Right, -band), r.Top, r.Right, r.Bottom)
                                            : Rect(r.Left, AddClamped(r.Bottom, -band), r.Right, r.Bottom);
  const TPoint p = Point(x, y);
  if (startBand.Contains(p)) {
    theStart = true;
    return true;
  }
  if (stopBand.Contains(p)) {
    theStart = false;
    return true;
  }
  return false;
}

TPoint TvxTimeGesture::Masked(TPoint theDelta, const TvxGesturePermits& thePermits) const {
  int& along = fRules.fTimeAcross ? theDelta.X : theDelta.Y;
  int& across = fRules.fTimeAcross ? theDelta.Y : theDelta.X;
  if (!thePermits.fMove) along = 0;
  if (!thePermits.fChangeLane) across = 0;
  return theDelta;
}

// A press on a selected item may start a drag of the whole selection: it
// selects that item alone only at a release without a move.
void TvxTimeGesture::Select(TvxDataEntity* theItem, TShiftState theShift, bool theIsPress) {
  if (theIsPress) {
    fDeferredSelection = theItem && theItem->GetSelected();
    if (fDeferredSelection) return;
  } else if (!fDeferredSelection) {
    return;
  }
  fDeferredSelection = false;
  TvxHold hold(theItem);  // selection handlers may delete it
  if (theShift.Contains(ssShift) || theShift.Contains(ssCtrl)) {
    if (theItem) theItem->SetSelected(!theItem->GetSelected());
  } else {
    fHost.GestureClearSelection();
    if (theItem && !hold.Gone()) theItem->SetSelected(true);
  }
  fHost.GestureSelectionShown();
}

// --- press ----------------------------------------------------------------------------

TvxDataEntity* TvxTimeGesture::Press(TMouseButton theButton, TShiftState theShift, int x, int y, bool theSelect) {
  // Another button pressed in the middle of a gesture ends it, changing nothing.
  if (Active()) End();
  fCancelCalled = false;
  fScrolled = false;
  fPressed = theButton == mbLeft;
  fPressAt = fPointer = Point(x, y);
  fPressTime = fHost.GestureTimeAt(x, y);
  fPressLane = fHost.GestureLaneAt(x, y);
  // From here on the pressed item is read from its holder: every step may
  // call a handler that deletes it.
  fPressedItem.Reset(HitAt(x, y));
  fHost.GesturePressed(fPressedItem.Get());
  if (theSelect) Select(fPressedItem.Get(), theShift, true);
  else fDeferredSelection = false;
  return fPressedItem.Get();
}

void TvxTimeGesture::Begin(TShiftState theShift, bool theLink) {
  EraseOutlines();
  fMode = gmNone;
  fMoved.clear();
  TvxDataEntity* item = fPressedItem.Get();
  if (!item) return;
  if (theLink) {
    fMode = gmLink;
    fGrowItem.Reset(item);
  } else {
    TvxHold hold(item);
    // Each step may call out: the item is asked for again after it.
    if (!fHost.GestureCanEdit(item) || hold.Gone()) return;
    TRect r;
    bool start = false;
    const bool grow = fHost.GestureResizable(item) && fHost.GestureInGrowBand(item, fPressAt.X, fPressAt.Y, r, start);
    if (hold.Gone()) return;
    if (grow) {
      fMode = start ? gmGrowStart : gmGrowStop;
      fGrowItem.Reset(item);
      fGrowRect = r;
    } else {
      if (fRules.fDoubleClickMoves || !theShift.Contains(ssDouble)) fMode = gmMove;
      if (fRules.fCopyWithCtrl && theShift.Contains(ssCtrl)) fMode = gmCopy;
      if (fMode == gmNone) return;
      std::vector<std::pair<TvxDataEntity*, TRect>> selection;
      fHost.GestureSelection(selection);
      for (auto& [moved, rect] : selection) fMoved.push_back({TvxHeld<TvxDataEntity>(moved), rect});
    }
  }
  fEscape = std::make_unique<TKeyHook>([this](unsigned short theKey, TShiftState) {
    if (theKey != VK_ESCAPE || !Active()) return false;
    Cancel();
    return true;
  });
  fHost.GestureBegun();
}

void TvxTimeGesture::PressHandled() {
  // The handler cancelled, or took the button away (a modal window).
  if (Active() && (fCancelCalled || !fPressed)) End();
}

// --- movement -------------------------------------------------------------------------

void TvxTimeGesture::Move(TShiftState theShift, int x, int y) {
  fPointer = Point(x, y);
  // A cancel, or a left button released where the area did not see it.
  if (Active() && (fCancelCalled || !theShift.Contains(ssLeft))) End();
  TvxGestureCursor cursor = gcIdle;
  const TPoint delta = Offset(fPressAt, x, y);
  switch (fMode) {
    case gmLink:
      cursor = gcLink;
      StepAtEdges(x, y, true);
      EraseOutlines();
      fHost.GestureLinkOutline(fPressAt, fPointer);
      break;
    case gmMove:
    case gmCopy: {
      const TvxGesturePermits permits = fHost.GesturePermitsAt(fPressAt);
      if (!permits.fMove && !permits.fChangeLane) break;
      StepAtEdges(x, y, true);
      DrawMoveOutlines(Masked(delta, permits));
      const int margin = fRules.fOutsideMargin;
      const TWinControl* area = fHost.GestureArea();
      if (fHost.GestureLeavesOutside() &&
          !Rect(-margin, -margin, area->GetWidth() + margin, area->GetHeight() + margin).Contains(fPointer)) {
        // The move is abandoned for the platform's drag: nothing changes.
        fPressed = false;
        End();
        fHost.GestureLeave();
      }
      break;
    }
    case gmGrowStart:
    case gmGrowStop:
      if (!fHost.GesturePermitsAt(fPressAt).fResize) break;
      cursor = gcResize;
      if (fRules.fTimeStepWhileResizing) StepAtEdges(x, y, false);
      DrawGrowOutline(delta);
      break;
    case gmNone: {
      TvxHeld<TvxDataEntity> item(HitAt(x, y));
      fHost.GestureHover(item.Get(), x, y);  // the hint's handler may delete it
      TRect r;
      bool start = false;
      if (TvxDataEntity* hovered = item.Get())
        if (fHost.GestureResizable(hovered) && fHost.GestureInGrowBand(hovered, x, y, r, start) && item.Get() &&
            fHost.GestureCanEdit(hovered) && item.Get() && fHost.GesturePermitsAt(fPointer).fResize)
          cursor = gcResize;
      fGrabbedPastStop = false;
      break;
    }
  }
  fHost.GestureCursor(cursor);
}

void TvxTimeGesture::DrawMoveOutlines(TPoint theDelta) {
  EraseOutlines();
  // The hint names the pressed item (else the first); it is shown last, as
  // it may tell the application.
  TvxHeld<TvxDataEntity> hinted;
  TvxTimeLanding hint;
  for (const THeldRect& m : fMoved) {
    TvxDataEntity* item = m.fItem.Get();
    if (!item) continue;
    const TvxTimeLanding landing = fHost.GestureMoveLanding(item, m.fRect, theDelta);
    if (!landing.fValid) continue;
    fHost.GestureOutline(landing.fRect);
    if (fPressedItem.Is(item) || !hinted.Get()) {
      hinted.Reset(item);
      hint = landing;
    }
  }
  if (hint.fValid) fHost.GestureHint(hinted.Get(), hint, fPointer);
}

void TvxTimeGesture::DrawGrowOutline(TPoint theDelta) {
  EraseOutlines();
  TvxDataEntity* item = fGrowItem.Get();
  if (!item) return;
  const TvxTimeLanding landing = fHost.GestureGrowLanding(item, fGrowRect, fMode == gmGrowStart, theDelta);
  if (!landing.fValid) return;
  fHost.GestureOutline(landing.fRect);
  fHost.GestureHint(fGrowItem.Get(), landing, fPointer);
}

// --- auto-scroll ----------------------------------------------------------------------

void TvxTimeGesture::StepAtEdges(int x, int y, bool theLanes) {
  if (fHost.GestureTimeStep(fRules.fTimeAcross ? x : y)) fScrolled = true;
  if (!theLanes) return;
  const int across = fRules.fTimeAcross ? y : x;
  const TWinControl* area = fHost.GestureArea();
  const int extent = fRules.fTimeAcross ? area->GetHeight() : area->GetWidth();
  const int edge = TvxGestureRules::kLaneStepEdge;
  const bool back = across < edge, forward = across > extent - edge;
  if (!fHost.GestureLanesStep() || (!back && !forward)) {
    fLaneTimer->SetEnabled(false);
    return;
  }
  if (fLaneTimer->GetInterval() != fRules.fLaneStepInterval) fLaneTimer->SetInterval(fRules.fLaneStepInterval);
  fScrolled = true;
  // Starting again would restart the interval: only a change of direction does.
  if (fLaneTimer->GetEnabled() && fLaneForward == forward) return;
  fLaneForward = forward;
  fLaneTimer->SetEnabled(true);
}

void TvxTimeGesture::LaneTick() {
  if (Active()) fHost.GestureStepLanes(fLaneForward);
}

void TvxTimeGesture::StopSteps() {
  fHost.GestureTimeStepStop();
  fLaneTimer->SetEnabled(false);
}

// --- release --------------------------------------------------------------------------

void TvxTimeGesture::Release(TMouseButton theButton, TShiftState theShift, int x, int y) {
  fPointer = Point(x, y);
  StopSteps();
  const TPoint delta = Offset(fPressAt, x, y);
  fLastDelta = delta;
  // The left button ends a gesture; another one released meanwhile does not.
  if (theButton == mbLeft) {
    fPressed = false;
    const TvxGestureMode mode = fMode;
    const bool moved = delta.X != 0 || delta.Y != 0 || fScrolled;
    EraseOutlines();
    if (mode == gmLink) {
      fHost.GestureLink(fGrowItem.Get(), x, y);
    } else if (mode == gmMove || mode == gmCopy) {
      const TPoint masked = Masked(delta, fHost.GesturePermitsAt(fPressAt));
      if (masked.X != 0 || masked.Y != 0 || fScrolled) WriteMoves(masked, mode == gmCopy);
    } else if (mode == gmGrowStart || mode == gmGrowStop) {
      TvxDataEntity* item = fGrowItem.Get();
      if (item && fHost.GesturePermitsAt(fPressAt).fResize && Along(delta) != 0)
        fHost.GestureWriteGrow(item, fGrowRect, mode == gmGrowStart, delta);
    }
    // A selection dragged along stays selected as it was.
    if (moved && mode != gmNone && mode != gmLink) fDeferredSelection = false;
  }
  Select(fPressedItem.Get(), theShift, false);
  if (theButton == mbLeft) End();
}

void TvxTimeGesture::WriteMoves(TPoint theDelta, bool theCopy) {
  if (fMoved.empty()) return;
  // Handlers may add to the selection or delete items and lanes: the walk
  // goes over its own held copy.
  const std::vector<THeldRect> moved = fMoved;
  fHost.GestureWritesBegin();
  try {
    for (const THeldRect& m : moved)
      if (TvxDataEntity* item = m.fItem.Get()) fHost.GestureWriteMove(item, m.fRect, theDelta, theCopy);
  } catch (...) {
    fHost.GestureWritesEnd();
    throw;
  }
  fHost.GestureWritesEnd();
}

// --- ends -----------------------------------------------------------------------------

void TvxTimeGesture::End() {
  const bool active = Active();
  fMode = gmNone;
  fGrowItem.Reset();
  EraseOutlines();
  fMoved.clear();
  StopSteps();
  fEscape.reset();
  fHost.GestureEnded(active);
}

void TvxTimeGesture::CallOff() {
  fCancelCalled = true;
  End();
}

void TvxTimeGesture::Cancel() {
  const bool active = Active(), pressed = fPressed;
  // The press that started it is over: its release writes nothing.
  fPressed = false;
  fDeferredSelection = false;
  End();
  fHost.GestureCancelled(active, pressed);
}

// --- outlines -------------------------------------------------------------------------

TXorOverlay* TvxTimeGesture::Overlay() {
  if (!fOutlines) fOutlines = std::make_unique<TXorOverlay>(fHost.GestureArea());
  return fOutlines.get();
}

void TvxTimeGesture::EraseOutlines() {
  if (fOutlines) fOutlines->Clear();
}

}  // namespace vx
