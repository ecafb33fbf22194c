// The chart's side of the gestures on its items. Moves, copies and resizes
// work out the times (snapped) and the row an item would get in one place;
// the outlines, the hint and the release all read it there, so that what the
// user sees is what the release writes.
#include <vxplan/gantt/vxGantGesture.h>

#include <algorithm>
#include <cmath>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/DateUtils.h>

namespace vx {

namespace {

TvxGestureRules GantRules() {
  TvxGestureRules rules;
  rules.fTimeAcross = true;
  rules.fCopyWithCtrl = true;
  rules.fDoubleClickMoves = false;
  rules.fGrabPastStop = true;
  rules.fTimeStepWhileResizing = true;
  rules.fOutsideMargin = 25;
  rules.fLaneStepInterval = 50;
  return rules;
}

TvxDataEntity_Kronit* Kronit(TvxDataEntity* theItem) { return static_cast<TvxDataEntity_Kronit*>(theItem); }

}  // namespace

TGantGesture::TGantGesture(TvxGant_ComBasic& theChart) : fChart(theChart), fEngine(*this, GantRules()) {}

// --- the area's mouse -----------------------------------------------------------------

void TGantGesture::MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TvxGant_ComBasic& g = fChart;
  if (g.fGA->CanFocus()) g.fGA->SetFocus();
  g.RefreshOthers(g.fGA);
  const bool link = g.fLocalStickyMode == smDependency;
  fEngine.Press(Button, Shift, X, Y, !link);
  if (g.OnClickGantArea) g.OnClickGantArea(&g, g.GetMouseDownDataEntity());
  if (Button == mbRight && g.OnRightClickGantArea) g.OnRightClickGantArea(&g, g.GetMouseDownDataEntity());
  g.SetActiveDataEntity(g.GetMouseDownDataEntity());
  // A bar pressed makes its row the current one, as Up and Down do.
  if (TvxDataEntity_Kronit* pressed = g.GetMouseDownDataEntity()) g.fSide->MakeRowCurrent(pressed->GetRow());
  if (Button == mbLeft && g.GetMouseDownDataEntity()) fEngine.Begin(Shift, link);
  g.fLocalStickyMode = smNone;
  if (g.OnGantAreaMouseDown) g.OnGantAreaMouseDown(Sender, Button, Shift, X, Y);
  fEngine.PressHandled();
}

void TGantGesture::MouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
  fEngine.Move(Shift, X, Y);
  if (fChart.OnGantAreaMouseMove) fChart.OnGantAreaMouseMove(Sender, Shift, X, Y);
}

void TGantGesture::MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  fEngine.Release(Button, Shift, X, Y);
  ReportHintInfo(fChart.GetMouseDownDataEntity());
  if (fChart.fHint) fChart.fHint->ShowSlowHintFor(nullptr, X, Y);
  if (fChart.OnGantAreaMouseUp) fChart.OnGantAreaMouseUp(Sender, Button, Shift, X, Y);
}

// --- hit tests and permissions --------------------------------------------------------

TWinControl* TGantGesture::GestureArea() { return fChart.fGA; }

TvxDataEntity* TGantGesture::GestureItemAt(int x, int y) { return fChart.GetDataEntityFromXY(x, y); }

bool TGantGesture::GestureInGrowBand(TvxDataEntity* theItem, int x, int y, TRect& theRect, bool& theStart) {
  return fChart.InGrowArea(Kronit(theItem), x, y, theRect, theStart);
}

bool TGantGesture::GestureCanEdit(TvxDataEntity* theItem) {
  TvxHold hold(theItem);
  const bool canEdit = theItem->GetCanEdit();  // asks the application, which may delete it
  return canEdit && !hold.Gone() && Kronit(theItem)->GetRow();
}

bool TGantGesture::GestureResizable(TvxDataEntity* theItem) { return Kronit(theItem)->IsResizable(); }

TvxGesturePermits TGantGesture::GesturePermitsAt(TPoint thePoint) {
  TGantRow* row = fChart.fRowList->FindRowFromY(thePoint.Y);
  if (!row) return {false, false, false};
  return {row->fTimeItems_CanMove, row->fTimeItems_CanChangeRow, row->fTimeItems_CanResize};
}

TDateTime TGantGesture::GestureTimeAt(int x, int) { return fChart.fDateScaler->PixelToDate(x); }

void TGantGesture::GestureSelection(std::vector<std::pair<TvxDataEntity*, TRect>>& theItems) {
  fChart.fRowList->ForEachRow([&](TGantRow* row) {
    for (int k = 0; k < row->GetLayerCount(); ++k) {
      TvxDataList* layer = row->GetLayer(k);
      for (int p = 0; p < layer->LoadedCount(); ++p) {
        auto* item = static_cast<TvxDataEntity_Kronit*>(layer->GetLoaded(p));
        if (item->GetSelected()) theItems.emplace_back(item, fChart.RectFromDataEntity(item));
      }
    }
  });
}

void TGantGesture::GestureClearSelection() { fChart.ClearSelections(); }

void TGantGesture::GestureSelectionShown() { fChart.InvalidateGA(); }

// --- landings -------------------------------------------------------------------------

TDateTime TGantGesture::DragTime(int theDx) {
  if (theDx == 0) return 0;
  return fChart.fDateScaler->PixelToDate(AddClamped(fEngine.PressPoint().X, theDx)) - fEngine.PressTime();
}

TGantGesture::TLanding TGantGesture::MoveLanding(TvxDataEntity_Kronit* theItem, const TRect& theRect, TDateTime theTime,
                                                 int theDy) {
  TLanding landing;
  TGantRow* oldRow = theItem->GetRow();
  if (!oldRow) return landing;
  TvxDateScaler* scaler = fChart.fDateScaler;
  const TDateTime oldStart = theItem->GetStartDateTime(), oldStop = theItem->GetStopDateTime();
  landing.fStart = oldStart + theTime;
  landing.fStop = oldStop + theTime;
  fChart.fSnap->fCurrentScreenResolution = scaler->GetSmallStep();
  fChart.fSnap->SnapMove(landing.fStart, landing.fStop);
  if (fChart.fMoveOver12Then24)
    TSnapHandler::SnapMoveTo24HIfMoveOver12H(oldStart, oldStop, landing.fStart, landing.fStop);
  const int middle = theRect.Top + theRect.Height() / 2;
  TGantRow* row = theDy != 0 ? fChart.fRowList->FindRowFromY(AddClamped(middle, theDy)) : nullptr;
  landing.fRow = row ? row : oldRow;
  // Across: the landing times. Down: the same place in the row it lands in.
  int x1 = 0, x2 = 0;
  oldRow->XFromTimes(theItem, landing.fStart, landing.fStop, x1, x2);
  oldRow->UpdateRect();
  landing.fRow->UpdateRect();
  const int dy = landing.fRow == oldRow ? 0 : landing.fRow->GetRect().Top - oldRow->GetRect().Top;
  landing.fRect = Rect(x1, AddClamped(theRect.Top, dy), std::max(x2, AddClamped(x1, 5)), AddClamped(theRect.Bottom, dy));
  return landing;
}

TGantGesture::TLanding TGantGesture::GrowLanding(TvxDataEntity_Kronit* theItem, const TRect& theRect, bool theStart,
                                                 TDateTime theEdge) {
  TLanding landing;
  if (!theItem->GetRow()) return landing;
  TvxDateScaler* scaler = fChart.fDateScaler;
  landing.fRow = theItem->GetRow();
  TDateTime start = theItem->GetStartDateTime(), stop = theItem->GetStopDateTime();
  if (!theStart)
    stop = std::max(theEdge, start);
  else
    start = std::min(theEdge, stop);
  fChart.fSnap->fCurrentScreenResolution = scaler->GetSmallStep();
  fChart.fSnap->Snap(start, stop);
  // Only the end the user drags snaps: the other stays where it was, and
  // snapping never turns the item inside out.
  if (!theStart)
    start = theItem->GetStartDateTime();
  else
    stop = theItem->GetStopDateTime();
  landing.fStart = start;
  landing.fStop = std::max(start, stop);
  int x1 = 0, x2 = 0;
  landing.fRow->XFromTimes(theItem, landing.fStart, landing.fStop, x1, x2);
  landing.fRect = Rect(x1, theRect.Top, std::max(x2, AddClamped(x1, 5)), theRect.Bottom);
  return landing;
}

TvxTimeLanding TGantGesture::Landing(const TLanding& theLanding) {
  TvxTimeLanding landing;
  landing.fStart = theLanding.fStart;
  landing.fStop = theLanding.fStop;
  landing.fRect = theLanding.fRect;
  landing.fValid = theLanding.fRow != nullptr;
  return landing;
}

TvxTimeLanding TGantGesture::GestureMoveLanding(TvxDataEntity* theItem, const TRect& theRect, TPoint theDelta) {
  return Landing(MoveLanding(Kronit(theItem), theRect, DragTime(theDelta.X), theDelta.Y));
}

// Where the dragged end would go: the time under it moved by the pointer.
static TDateTime GrowEdge(TvxDateScaler* theScaler, const TRect& theRect, bool theStart, int theDx) {
  return theScaler->PixelToDate(AddClamped(theStart ? theRect.Left : theRect.Right, theDx));
}

TvxTimeLanding TGantGesture::GestureGrowLanding(TvxDataEntity* theItem, const TRect& theRect, bool theStart,
                                                TPoint theDelta) {
  return Landing(GrowLanding(Kronit(theItem), theRect, theStart, GrowEdge(fChart.fDateScaler, theRect, theStart, theDelta.X)));
}

// --- the release ----------------------------------------------------------------------

void TGantGesture::GestureWritesBegin() { fChart.fGA->BeginUpdate(); }

void TGantGesture::GestureWritesEnd() { fChart.fGA->EndUpdate(); }

void TGantGesture::GestureWriteMove(TvxDataEntity* theItem, const TRect& theRect, TPoint theDelta, bool theCopy) {
  if (theDelta.X == 0 && theDelta.Y == 0) return;
  WriteMove(Kronit(theItem), theRect, DragTime(theDelta.X), theDelta.Y, theCopy);
}

TvxDataEntity_Kronit* TGantGesture::WriteMove(TvxDataEntity_Kronit* theItem, const TRect& theRect, TDateTime theTime,
                                              int theDy, bool theCopy) {
  TvxHeld<TvxDataEntity_Kronit> held(theItem);
  TvxDataEntity_Kronit* item = held.Get();
  TGantRow* oldRow = item->GetRow();
  if (!oldRow) return nullptr;  // deleted by a handler meanwhile
  const TLanding landing = MoveLanding(item, theRect, theTime, theDy);
  TvxDataEntity_Kronit* newItem = nullptr;
  if (theCopy) {
    fChart.TimeCopy(item, oldRow, landing.fRow, landing.fStart, landing.fStop, newItem);
  } else {
    if (fChart.fMoveInTimeWhenMoveRow || landing.fRow == oldRow) {
      item->SetStartDateTime(landing.fStart);
      item->SetStopDateTime(landing.fStop);
      item->DoInfoPush();
    }
    // The application heard of the change: the item and its row afresh.
    oldRow = held.Get() ? item->GetRow() : nullptr;
    TGantRow* newRow =
        oldRow ? fChart.fRowList->FindRowFromY(AddClamped(theRect.Top + theRect.Height() / 2, theDy)) : nullptr;
    if (oldRow && newRow && newRow != oldRow && theDy != 0)
      fChart.TimeMoveRow(item, oldRow, newRow, landing.fStart, landing.fStop, newItem);
  }
  if (!newItem) return nullptr;
  TvxHeld<TvxDataEntity_Kronit> made(newItem);
  newItem->SetSelected(true);  // its handler may delete it
  return made.Get();
}

void TGantGesture::GestureWriteGrow(TvxDataEntity* theItem, const TRect& theRect, bool theStart, TPoint theDelta) {
  WriteGrow(Kronit(theItem), theRect, theStart, GrowEdge(fChart.fDateScaler, theRect, theStart, theDelta.X));
}

void TGantGesture::WriteGrow(TvxDataEntity_Kronit* theItem, const TRect& theRect, bool theStart, TDateTime theEdge) {
  if (!theItem->GetRow()) return;
  const TLanding landing = GrowLanding(theItem, theRect, theStart, theEdge);
  theItem->SetStartDateTime(landing.fStart);
  theItem->SetStopDateTime(landing.fStop);
  theItem->DoInfoPush();
}

// --- the keyboard's edits ------------------------------------------------------------

bool TGantGesture::KeyEditable(TvxDataEntity_Kronit* theItem) {
  // A press on it would start nothing: neither does a key.
  return !fEngine.Active() && theItem && theItem->GetRow() && GestureCanEdit(theItem);
}

bool TGantGesture::RowsAway(TvxDataEntity_Kronit* theItem, int theRows, int& theDy) {
  TGantRow* from = theItem->GetRow();
  const auto target = [&]() -> TGantRow* {
    std::vector<TGantRow*> shown;
    fChart.fSide->ForEachShownRow([&](TGantRow* row) { shown.push_back(row); });
    const auto at = std::find(shown.begin(), shown.end(), from);
    if (at == shown.end()) return nullptr;
    const long long to = static_cast<long long>(at - shown.begin()) + theRows;
    return to >= 0 && to < static_cast<long long>(shown.size()) ? shown[static_cast<size_t>(to)] : nullptr;
  };
  TGantRow* row = target();
  if (!row) {
    // As a drag at the edge does: the rows step once, then the row is looked for again.
    TvxHold hold(theItem);
    fChart.fSide->ScrollStep(theRows < 0 ? tsdUp : tsdDown);
    if (hold.Gone() || theItem->GetRow() != from) return false;
    row = target();
    if (!row) return false;
  }
  const TRect rect = fChart.RectFromDataEntity(theItem);
  row->UpdateRect();
  const TRect band = row->GetRect();
  theDy = (band.Top + band.Height() / 2) - (rect.Top + rect.Height() / 2);
  return true;
}

TvxDataEntity_Kronit* TGantGesture::KeyMove(TvxDataEntity_Kronit* theItem, TDateTime theTime, int theRows) {
  TvxHeld<TvxDataEntity_Kronit> item(theItem);
  if (!std::isfinite(theTime) || (theTime == 0 && theRows == 0) || !KeyEditable(theItem) || !item.Get())
    return item.Get();
  TGantRow* row = theItem->GetRow();
  if ((theTime != 0 && !row->fTimeItems_CanMove) || (theRows != 0 && !row->fTimeItems_CanChangeRow)) return theItem;
  // As a press on it does: an item not selected is selected alone.
  if (!theItem->GetSelected()) {
    GestureClearSelection();
    if (item.Get()) theItem->SetSelected(true);
    if (!item.Get() || !theItem->GetRow()) return item.Get();
  }
  int dy = 0;
  if (theRows != 0 && !RowsAway(theItem, theRows, dy)) return item.Get();
  // The selection and its rectangles now, after any scroll; every item held,
  // as the handlers of each write may delete any of them.
  std::vector<std::pair<TvxDataEntity*, TRect>> selection;
  GestureSelection(selection);
  std::vector<std::pair<TvxHeld<TvxDataEntity_Kronit>, TRect>> moved;
  for (auto& [entity, rect] : selection) moved.emplace_back(TvxHeld<TvxDataEntity_Kronit>(Kronit(entity)), rect);
  TvxHeld<TvxDataEntity_Kronit> result(theItem);
  GestureWritesBegin();
  try {
    for (auto& [held, rect] : moved) {
      TvxDataEntity_Kronit* each = held.Get();
      if (!each) continue;
      const bool isItem = item.Is(each);
      if (TvxDataEntity_Kronit* made = WriteMove(each, rect, theTime, dy, false); made && isItem) result.Reset(made);
    }
  } catch (...) {
    GestureWritesEnd();
    throw;
  }
  GestureWritesEnd();
  return result.Get();
}

TvxDataEntity_Kronit* TGantGesture::KeyGrow(TvxDataEntity_Kronit* theItem, bool theStart, TDateTime theTime) {
  TvxHeld<TvxDataEntity_Kronit> item(theItem);
  if (!std::isfinite(theTime) || theTime == 0 || !KeyEditable(theItem) || !item.Get()) return item.Get();
  if (!theItem->IsResizable() || !theItem->GetRow()->fTimeItems_CanResize) return theItem;
  const TDateTime edge = (theStart ? theItem->GetStartDateTime() : theItem->GetStopDateTime()) + theTime;
  WriteGrow(theItem, fChart.RectFromDataEntity(theItem), theStart, edge);
  return item.Get();
}

void TGantGesture::GestureLink(TvxDataEntity* theFrom, int x, int y) {
  TvxDataEntity_Kronit* target = fChart.GetDataEntityFromXY(x, y);
  if (target && theFrom && fChart.OnDependencyAction) fChart.OnDependencyAction(Kronit(theFrom), target);
  fChart.InvalidateGA();
}

// --- feedback -------------------------------------------------------------------------

void TGantGesture::GestureOutline(const TRect& theRect) { fChart.DrawOutline(theRect, false); }

void TGantGesture::GestureLinkOutline(TPoint theFrom, TPoint theTo) {
  TvxGant_ComBasic& g = fChart;
  const TLinkStyle style = g.fDefaultLinkStyle == tlsUserDraw ? tlsMSProject : g.fDefaultLinkStyle;
  const TLinkRoute route =
      g.fLinkPainter.RouteLink(theFrom, theTo, style, nullptr, Rect(0, 0, g.fGA->GetWidth(), g.fGA->GetHeight()));
  TXorOverlay* overlay = fEngine.Overlay();
  for (int k = 1; k < route.lineCount; ++k) overlay->InvertLine(route.line[k - 1], route.line[k], TXorOverlay::xpInvert);
  for (int k = 1; k < route.headCount; ++k) overlay->InvertLine(route.head[k - 1], route.head[k], TXorOverlay::xpInvert);
  if (route.filledHead && route.headCount == 3) overlay->InvertLine(route.head[2], route.head[0], TXorOverlay::xpInvert);
}

void TGantGesture::GestureHint(TvxDataEntity* theItem, const TvxTimeLanding& theLanding, TPoint thePointer) {
  ShowLandingHint(Kronit(theItem), theLanding.fStart, theLanding.fStop, thePointer);
}

void TGantGesture::ShowLandingHint(TvxDataEntity_Kronit* theItem, TDateTime theStart, TDateTime theStop,
                                   TPoint thePointer) {
  TvxHold hold(theItem);
  if (fChart.OnHintInfo) fChart.OnHintInfo(nullptr, theStart, theStop, theStop - theStart);
  if (!fChart.fHint) return;
  fChart.fHint->SetCaption(fChart.HintText(hold.Gone() ? nullptr : theItem, theStart, theStop));
  fChart.fHint->ShowAtPointer(thePointer.X, thePointer.Y);
}

void TGantGesture::GestureHover(TvxDataEntity* theItem, int x, int y) {
  TvxDataEntity_Kronit* item = Kronit(theItem);
  TvxHold hold(item);
  ReportHintInfo(item);
  if (fChart.fHint) fChart.fHint->ShowSlowHintFor(hold.Gone() ? nullptr : item, x, y);
}

void TGantGesture::ReportHintInfo(TvxDataEntity_Kronit* theItem) {
  if (!fChart.OnHintInfo) return;
  if (theItem)
    fChart.OnHintInfo(theItem, theItem->GetStartDateTime(), theItem->GetStopDateTime(),
                      theItem->GetStopDateTime() - theItem->GetStartDateTime());
  else
    fChart.OnHintInfo(nullptr, 0, 0, 0);
}

void TGantGesture::GestureCursor(TvxGestureCursor theCursor) {
  TCursor cursor = fChart.fCursorGantArea;
  if (theCursor == gcResize) cursor = crHSplit;
  if (theCursor == gcLink || (theCursor == gcIdle && fChart.fLocalStickyMode == smDependency))
    cursor = fChart.FDefaultLinkCursor;
  fChart.fGA->SetCursor(cursor);
}

// --- scrolling and leaving ------------------------------------------------------------

bool TGantGesture::GestureTimeStep(int thePos) {
  const TTimeItemAutoScroll scroll = fChart.fTimeItemAutoScroll;
  if (scroll != ttiaHorzAndVert && scroll != ttiaHorz) return false;
  return fChart.fDateScaler->StepAtEdge(thePos, fChart.fGA->GetWidth());
}

void TGantGesture::GestureTimeStepStop() { fChart.fDateScaler->StopStepping(); }

bool TGantGesture::GestureLanesStep() {
  return fChart.fTimeItemAutoScroll == ttiaHorzAndVert || fChart.fTimeItemAutoScroll == ttiaVert;
}

void TGantGesture::GestureStepLanes(bool theForward) { fChart.fSide->ScrollStep(theForward ? tsdDown : tsdUp); }

bool TGantGesture::GestureLeavesOutside() { return fChart.fStartDragWhenTimeMoveOutside; }

void TGantGesture::GestureLeave() {
  fChart.InvalidateGA();
  fChart.fGA->BeginDrag(true);
}

void TGantGesture::GestureEnded(bool theActive) {
  if (theActive) fChart.InvalidateGA();
}

void TGantGesture::GestureCancelled(bool theActive, bool thePressed) {
  if (!theActive && !thePressed) return;
  if (fChart.fGA) fChart.fGA->SetCursor(fChart.fCursorGantArea);
  if (fChart.fHint) fChart.fHint->ShowSlowHintFor(nullptr, 0, 0);
}

// --- hints ----------------------------------------------------------------------------

std::string TvxGant_ComBasic::HintText(TvxDataEntity_Kronit* theItem, TDateTime theStart, TDateTime theStop) {
  std::string text;
  // The item's name: its first text line.
  if (TvxTimeItemTextCollection* texts = theItem ? theItem->TimeItemTextsIfAny() : nullptr)
    if (texts->GetCount() > 0 && !texts->GetTimeItemText(0)->GetText().empty())
      text = texts->GetTimeItemText(0)->GetText() + "\r";
  return text + TimesText(theStart, theStop, "\r");
}

std::string TvxGant_ComBasic::TimesText(TDateTime theStart, TDateTime theStop, const std::string& theSeparator) {
  const std::string format = fDateScaler->GetDateFormat() + " " + fDateScaler->GetTimeFormat();
  return "Start: " + FormatDateTime(format, theStart) + theSeparator + "Finish: " + FormatDateTime(format, theStop) +
         theSeparator + "Length: " + FormatDuration(theStop - theStart, fDateScaler->GetTimeFormat());
}

std::string TvxGant_ComBasic::HintText(TObject* theObject) {
  auto* item = dynamic_cast<TvxDataEntity_Kronit*>(theObject);
  if (!item) return "";
  return HintText(item, item->GetStartDateTime(), item->GetStopDateTime());
}

// --- the state under the chart's names -----------------------------------------------

void TGantGestureState::MouseMoveModeCancel() { GestureEngine().CallOff(); }

void TGantGestureState::CancelGesture() { GestureEngine().Cancel(); }

TGantMouseMoveMode TGantGestureState::GetMouseMoveMode() const noexcept {
  switch (GestureEngine().Mode()) {
    case gmMove: return mmMove;
    case gmCopy: return mmCopy;
    case gmGrowStart: return mmGrowLeft;
    case gmGrowStop: return mmGrowRight;
    case gmLink: return mmDependency;
    case gmNone: break;
  }
  return mmNone;
}

TvxDataEntity_Kronit* TGantGestureState::GetMouseDownDataEntity() const noexcept {
  return static_cast<TvxDataEntity_Kronit*>(GestureEngine().PressedItem());
}

TPoint TGantGestureState::GetLastMouseUpPos() const noexcept { return GestureEngine().LastDelta(); }

int TGantGestureState::OutlineCount() const noexcept { return GestureEngine().OutlineCount(); }

bool TGantGestureState::GetFavourMoveOverResizeOnSmallTimeItems() const noexcept {
  return GestureEngine().Rules().fFavourMoveOnSmall;
}

void TGantGestureState::SetFavourMoveOverResizeOnSmallTimeItems(bool v) noexcept {
  GestureEngine().Rules().fFavourMoveOnSmall = v;
}

}  // namespace vx
