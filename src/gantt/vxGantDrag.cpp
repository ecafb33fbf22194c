// Where a drag lands. Moves, copies and resizes work out the times (snapped)
// and the row an item would get from one place; the outlines, the hint and
// the release all read it there, so that what the user sees is what the
// release writes.
#include <algorithm>
#include <cmath>

#include "gantt/vxGant.h"
#include "platform/rtl/DateUtils.h"

namespace vx {

// --- landings -------------------------------------------------------------------------

TvxGant_ComBasic::TDragLanding TvxGant_ComBasic::MoveLanding(TvxDataEntity_Kronit* theItem, const TRect& theRect,
                                                             TPoint thePoint, TPoint theDelta) {
  TDragLanding landing;
  TGantRow* oldRow = theItem->GetRow();
  if (!oldRow) return landing;
  const TDateTime dt = theDelta.X != 0 ? fDateScaler->PixelToDate(thePoint.X) - fMouseDownDateTime : 0;
  const TDateTime oldStart = theItem->GetStartDateTime(), oldStop = theItem->GetStopDateTime();
  landing.fStart = oldStart + dt;
  landing.fStop = oldStop + dt;
  fSnap->fCurrentScreenResolution = fDateScaler->GetSmallStep();
  fSnap->SnapMove(landing.fStart, landing.fStop);
  if (fMoveOver12Then24) TSnapHandler::SnapMoveTo24HIfMoveOver12H(oldStart, oldStop, landing.fStart, landing.fStop);
  const int middle = theRect.Top + theRect.Height() / 2;
  TGantRow* row = theDelta.Y != 0 ? fRowList->FindRowFromY(AddClamped(middle, theDelta.Y)) : nullptr;
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

TvxGant_ComBasic::TDragLanding TvxGant_ComBasic::GrowLanding(TPoint theDelta) {
  TDragLanding landing;
  TvxDataEntity_Kronit* item = fLocalmmDataEntity.Get();
  if (!item || !item->GetRow()) return landing;
  landing.fRow = item->GetRow();
  TDateTime start = item->GetStartDateTime(), stop = item->GetStopDateTime();
  if (fLocalmmMode == mmGrowRight) {
    stop = std::max(fDateScaler->PixelToDate(AddClamped(fLocalmmOrgRect.Right, theDelta.X)), start);
  } else {
    start = std::min(fDateScaler->PixelToDate(AddClamped(fLocalmmOrgRect.Left, theDelta.X)), stop);
  }
  fSnap->fCurrentScreenResolution = fDateScaler->GetSmallStep();
  fSnap->Snap(start, stop);
  // Only the end the user drags snaps: the other stays where it was, and
  // snapping never turns the item inside out.
  if (fLocalmmMode == mmGrowRight)
    start = item->GetStartDateTime();
  else
    stop = item->GetStopDateTime();
  landing.fStart = start;
  landing.fStop = std::max(start, stop);
  int x1 = 0, x2 = 0;
  landing.fRow->XFromTimes(item, landing.fStart, landing.fStop, x1, x2);
  landing.fRect = Rect(x1, fLocalmmOrgRect.Top, std::max(x2, AddClamped(x1, 5)), fLocalmmOrgRect.Bottom);
  return landing;
}

// --- while dragging: outlines and the hint --------------------------------------------

void TvxGant_ComBasic::HandleLocalDrag(int x, int y, TGantRow* theRow) {
  EraseOutlines();
  fLocalMouseDownOffset.X = theRow->fTimeItems_CanMove ? x - fLocalMouseDownStart.X : 0;
  fLocalMouseDownOffset.Y = theRow->fTimeItems_CanChangeRow ? y - fLocalMouseDownStart.Y : 0;
  DrawOutlineOfSelected(fLocalMouseDownOffset);
}

void TvxGant_ComBasic::DrawOutlineOfSelected(TPoint theOffset) {
  const TPoint point = Point(AddClamped(fLocalMouseDownStart.X, theOffset.X), AddClamped(fLocalMouseDownStart.Y, theOffset.Y));
  // The hint names the pressed item (else the first); it is shown last, as
  // it tells the application (OnHintInfo).
  TvxDataEntity_Kronit* pressed = fMouseDownDataEntity.Get();
  TvxHeld<TvxDataEntity_Kronit> hinted;
  TDragLanding hint;
  for (const TDrawRect& d : fScrollabeMoveSnapShot) {
    if (d.fItem->IsFreePending() || !d.fItem->GetRow()) continue;
    const TDragLanding landing = MoveLanding(d.fItem, d.fRect, point, theOffset);
    DrawOutline(landing.fRect, false);
    if (d.fItem == pressed || !hinted.Get()) {
      hinted.Reset(d.fItem);
      hint = landing;
    }
  }
  if (hinted.Get()) ShowLandingHint(hinted.Get(), hint.fStart, hint.fStop);
}

void TvxGant_ComBasic::HandleLocalGrow(int x, int y) {
  EraseOutlines();
  fLocalMouseDownOffset = Point(x - fLocalMouseDownStart.X, y - fLocalMouseDownStart.Y);
  const TDragLanding landing = GrowLanding(fLocalMouseDownOffset);
  if (!landing.fRow) return;
  fLocalmmRect = landing.fRect;
  DrawOutline(fLocalmmRect, false);
  ShowLandingHint(fLocalmmDataEntity.Get(), landing.fStart, landing.fStop);
}

// --- the release ----------------------------------------------------------------------

void TvxGant_ComBasic::HandleMoveOfSelected(TPoint thePoint, TPoint theDelta, bool theIsCopy) {
  if ((theDelta.X == 0 && theDelta.Y == 0) || fScrollabeMoveSnapShot.empty()) return;
  fGA->BeginUpdate();
  // Handlers may add to the selection, or delete items and rows: the walk
  // goes over its own held copy, and landings are worked out afresh after
  // every call out.
  TvxHeldList<TvxDataEntity_Kronit> items;
  std::vector<TRect> rects;
  for (const TDrawRect& d : fScrollabeMoveSnapShot) {
    items.Add(d.fItem);
    rects.push_back(d.fRect);
  }
  try {
    for (size_t k = 0; k < items.Size(); ++k) {
      TvxDataEntity_Kronit* item = items.At(k);
      TGantRow* oldRow = item ? item->GetRow() : nullptr;
      if (!oldRow) continue;  // deleted by a handler meanwhile
      TDragLanding landing = MoveLanding(item, rects[k], thePoint, theDelta);
      TvxDataEntity_Kronit* newItem = nullptr;
      if (theIsCopy) {
        TimeCopy(item, oldRow, landing.fRow, landing.fStart, landing.fStop, newItem);
      } else {
        if (fMoveInTimeWhenMoveRow || landing.fRow == oldRow) {
          item->SetStartDateTime(landing.fStart);
          item->SetStopDateTime(landing.fStop);
          item->DoInfoPush();
        }
        // The application heard of the change: the item and its row afresh.
        oldRow = items.At(k) ? item->GetRow() : nullptr;
        TGantRow* newRow = oldRow ? fRowList->FindRowFromY(AddClamped(rects[k].Top + rects[k].Height() / 2, theDelta.Y)) : nullptr;
        if (oldRow && newRow && newRow != oldRow && theDelta.Y != 0)
          TimeMoveRow(item, oldRow, newRow, landing.fStart, landing.fStop, newItem);
      }
      if (newItem) newItem->SetSelected(true);
    }
  } catch (...) {
    fGA->EndUpdate();
    throw;
  }
  fGA->EndUpdate();
}

void TvxGant_ComBasic::HandleGrow(TPoint theDelta) {
  TvxDataEntity_Kronit* item = fLocalmmDataEntity.Get();
  if (theDelta.X == 0 || !item || !item->GetRow()) return;
  const TDragLanding landing = GrowLanding(theDelta);
  item->SetStartDateTime(landing.fStart);
  item->SetStopDateTime(landing.fStop);
  item->DoInfoPush();
}

// --- hints ----------------------------------------------------------------------------

namespace {

// A length reads as days and a time of day ("3 d 04:00:00"), not as a date.
std::string Duration(TDateTime theLength, const std::string& theTimeFormat) {
  // No number, or more days than any calendar holds: no length to tell.
  if (!std::isfinite(theLength) || std::abs(theLength) >= 1e12) return "";
  const bool negative = theLength < 0;
  const TDateTime length = negative ? -theLength : theLength;
  const long long days = static_cast<long long>(length);
  std::string text = FormatDateTime(theTimeFormat, length - static_cast<TDateTime>(days));
  if (days > 0) text = std::to_string(days) + " d " + text;
  return negative ? "-" + text : text;
}

}  // namespace

std::string TvxGant_ComBasic::HintText(TvxDataEntity_Kronit* theItem, TDateTime theStart, TDateTime theStop) {
  const std::string format = fDateScaler->GetDateFormat() + " " + fDateScaler->GetTimeFormat();
  std::string text;
  // The item's name: its first text line.
  if (TvxTimeItemTextCollection* texts = theItem ? theItem->GetTimeItemTextCollection() : nullptr)
    if (texts->GetCount() > 0 && !texts->GetTimeItemText(0)->GetText().empty())
      text = texts->GetTimeItemText(0)->GetText() + "\r";
  return text + "Start: " + FormatDateTime(format, theStart) + "\rFinish: " + FormatDateTime(format, theStop) +
         "\rLength: " + Duration(theStop - theStart, fDateScaler->GetTimeFormat());
}

std::string TvxGant_ComBasic::HintText(TObject* theObject) {
  auto* item = dynamic_cast<TvxDataEntity_Kronit*>(theObject);
  if (!item) return "";
  return HintText(item, item->GetStartDateTime(), item->GetStopDateTime());
}

void TvxGant_ComBasic::HintWantsNewText(TGraphHintWindow* theHintWindow, TObject* theObject) {
  if (theHintWindow) theHintWindow->SetCaption(HintText(theObject));
}

void TvxGant_ComBasic::ShowLandingHint(TvxDataEntity_Kronit* theItem, TDateTime theStart, TDateTime theStop) {
  if (OnHintInfo) OnHintInfo(nullptr, theStart, theStop, theStop - theStart);
  if (!fHint) return;
  fHint->SetCaption(HintText(theItem, theStart, theStop));
  fHint->ShowAtPointer(fGantMousePosition.X, fGantMousePosition.Y);
}

void TvxGant_ComBasic::ShowMoveHint(TDateTime theStart, TDateTime theStop) { ShowLandingHint(nullptr, theStart, theStop); }

}  // namespace vx
