// The Gantt area's keys: the arrow keys, Home, End and Space walk the active
// item through a layer of its row and across rows; the neighbours they find;
// with Alt they move and resize the active item.
#include <vxplan/gantt/vxGantKeys.h>

#include <algorithm>
#include <cmath>

#include <vxplan/gantt/vxGant.h>

namespace vx {

namespace {

TDateTime Middle(TDateTime theStart, TDateTime theStop) { return theStart + (theStop - theStart) / 2; }

TvxDataList* LayerOf(TGantRow* theRow, int theLayer) { return theRow ? theRow->GetLayer(theLayer) : nullptr; }

}  // namespace

TGantRow* TvxGant_ComBasic::GetActiveGantRow() { return fSide->CurrentRow(); }

TvxDataEntity_Kronit* TvxGant_ComBasic::FindNeighbourClosest(TvxDataList* theList, TvxDataEntity_Kronit* theRef) {
  if (!theList) return nullptr;
  const TDateTime reference = theRef ? Middle(theRef->GetStartDateTime(), theRef->GetStopDateTime())
                                     : Middle(fDateScaler->GetStart(), fDateScaler->GetStop());
  TvxDataEntity_Kronit* best = nullptr;
  double bestDistance = 0;
  for (int i = 0; i < theList->Count(); ++i) {
    auto* k = static_cast<TvxDataEntity_Kronit*>(theList->GetItems(i));
    if (!k || !k->GetVisible()) continue;
    const double distance = std::abs(reference - Middle(k->GetStartDateTime(), k->GetStopDateTime()));
    if (!best || distance < bestDistance) {
      best = k;
      bestDistance = distance;
    }
  }
  return best;
}

TvxDataEntity_Kronit* TvxGant_ComBasic::FindNeighbourToRightLeft(TvxDataList* theList, TvxDataEntity_Kronit* theRef,
                                                                 bool theRight) {
  if (!theList) return nullptr;
  const TDateTime refStart = theRef ? theRef->GetStartDateTime() : 268435455;
  const TDateTime refStop = theRef ? theRef->GetStopDateTime() : 0;
  TvxDataEntity_Kronit* best = nullptr;
  for (int i = 0; i < theList->Count(); ++i) {
    auto* k = static_cast<TvxDataEntity_Kronit*>(theList->GetItems(i));
    if (!k || k == theRef || !k->GetVisible()) continue;
    if (theRight) {
      if (k->GetStartDateTime() >= refStop && (!best || k->GetStartDateTime() < best->GetStartDateTime())) best = k;
    } else if (k->GetStopDateTime() <= refStart) {
      if (!best || k->GetStartDateTime() > best->GetStopDateTime()) best = k;
    }
  }
  return best;
}

TvxDataEntity_Kronit* TvxGant_ComBasic::FindNeighbourToUpDown(int theLayer, TvxDataEntity_Kronit* theRef, bool theUp) {
  return fSide->NeighbourUpDown(theLayer, theRef, theUp);
}

void TvxGant_ComBasic::GantAreaKeyDown(TObject*, unsigned short& Key, TShiftState Shift) { fKeys.KeyDown(Key, Shift); }

bool TvxGant_ComBasic::ZoomKey(unsigned short theKey, TShiftState theShift) {
  return !IsDestroying() && fDateScaler && !fGesture->Engine().Pressed() && fDateScaler->ZoomKey(theKey, theShift);
}

void TvxGant_ComBasic::PlaceKeyboardMenu(TPoint& thePlace) {
  TvxDataEntity_Kronit* active = fActiveDataEntity;
  if (!active) return;
  // Selection handlers may delete the item.
  TvxHold holdActive(active);
  if (!active->GetSelected()) {
    ClearSelections();
    if (holdActive.Gone()) return;
    active->SetSelected(true);
    if (holdActive.Gone()) return;
    InvalidateGA();
  }
  MakeSureActiveInView();
  if (holdActive.Gone()) return;
  const TRect r = RectFromDataEntity(active);
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  thePlace = Point(std::clamp(r.Left, 0, std::max(fGA->GetWidth() - 1, 0)), std::clamp(r.Bottom, 0, std::max(fGA->GetHeight() - 1, 0)));
}

void TvxGant_ComBasic::PerformGantAreaKeyfunction(unsigned short theKey, TShiftState theShift) {
  GantAreaKeyDown(this, theKey, theShift);
  SetActiveDataEntity(nullptr);
}

void TvxGant_ComBasic::MakeSureActiveInView() {
  TvxDataEntity_Kronit* k = fActiveDataEntity;
  if (!k) return;
  const TDateTime start = fDateScaler->GetStart(), stop = fDateScaler->GetStop();
  const TDateTime a = k->GetStartDateTime(), b = k->GetStopDateTime();
  if (a < start && b > stop) {
    fDateScaler->SetStart(a);
    fDateScaler->SetStop(b);
  } else if (b > stop) {
    fDateScaler->SetStart(start + (b - stop));
    fDateScaler->SetStop(b);
  } else if (a < start) {
    fDateScaler->SetStart(a);
    fDateScaler->SetStop(stop + (a - start));
  }
}

void TvxGant_ComBasic::MakeSureRowInView(TGantRow* theRow) {
  if (!theRow) return;
  bool any = false;
  TDateTime first = 0, last = 0;
  theRow->ForEachItem([&](TvxDataEntity_Kronit* k) {
    if (!any || k->GetStartDateTime() < first) first = k->GetStartDateTime();
    if (!any || k->GetStopDateTime() > last) last = k->GetStopDateTime();
    any = true;
    return true;
  });
  if (!any || last <= first) return;
  fDateScaler->SetStart(first);
  fDateScaler->SetStop(last);
}

// --- the keys' walk --------------------------------------------------------------------

TvxDataEntity_Kronit* TGantKeys::KeyTarget(unsigned short theKey, TvxDataEntity_Kronit* theActive, TGantRow* theRow) {
  TvxHold holdRow(theRow), holdActive(theActive);
  const int layer = fChart.OnKeyNavigateDataList ? fChart.OnKeyNavigateDataList(&fChart, theRow) : 0;
  // The handler may have deleted the active item or the row.
  if (holdRow.Gone()) return nullptr;
  if (theActive && (holdActive.Gone() || theActive->GetRow() != theRow)) theActive = nullptr;
  TvxDataList* list = LayerOf(theRow, layer);
  switch (theKey) {
    case VK_SPACE: return theActive;
    case VK_HOME: return fChart.FindNeighbourToRightLeft(list, nullptr, true);
    case VK_END: return fChart.FindNeighbourToRightLeft(list, nullptr, false);
    case VK_LEFT:
    case VK_RIGHT:
      return theActive ? fChart.FindNeighbourToRightLeft(list, theActive, theKey == VK_RIGHT)
                       : fChart.FindNeighbourClosest(list, nullptr);
    case VK_UP:
    case VK_DOWN: return fChart.FindNeighbourToUpDown(layer, theActive, theKey == VK_UP);
    default: return nullptr;
  }
}

// --- the keys' edits -------------------------------------------------------------------

TDateTime TGantKeys::TimeStep(bool theStop) const {
  TSnapHandler& snap = *fChart.fSnap;
  const TDateTime small = fChart.fDateScaler->GetSmallStep();
  const bool usableSmall = std::isfinite(small) && small > 0;
  snap.fCurrentScreenResolution = small;
  const bool on = theStop ? snap.fStopSnapONOFF : snap.fStartSnapONOFF;
  const TDateTime step = snap.CalcScreenSnap(theStop ? snap.fStopSnap : snap.fStartSnap);
  if (on && std::isfinite(step) && step > 0) return step;
  return usableSmall ? small : OneHour;
}

bool TGantKeys::EditKey(unsigned short theKey, TShiftState theShift) {
  if (!theShift.Contains(ssAlt)) return false;
  const bool across = theKey == VK_LEFT || theKey == VK_RIGHT, down = theKey == VK_UP || theKey == VK_DOWN;
  if (!across && !down) return false;
  TvxDataEntity_Kronit* active = fChart.fActiveDataEntity;
  if (!active || fChart.fGesture->Engine().Active()) return true;
  const int sign = theKey == VK_LEFT || theKey == VK_UP ? -1 : 1;
  const bool shift = theShift.Contains(ssShift), ctrl = theShift.Contains(ssCtrl);
  TGantGesture& gesture = *fChart.fGesture;
  TvxDataEntity_Kronit* after = nullptr;
  if (down)
    after = gesture.KeyMove(active, 0, sign);
  else if (shift != ctrl)
    after = gesture.KeyGrow(active, ctrl, sign * TimeStep(shift));
  else
    after = gesture.KeyMove(active, sign * TimeStep(false), 0);
  // A row change may have put a new item in its place, or none. Each step
  // reads the active item afresh: a removed item is no longer active.
  fChart.SetActiveDataEntity(after);
  if (TvxDataEntity_Kronit* now = fChart.fActiveDataEntity; now && down && now->GetRow())
    fChart.fSide->MakeRowCurrent(now->GetRow());
  fChart.InvalidateGA();
  fChart.MakeSureActiveInView();
  return true;
}

void TGantKeys::KeyDown(unsigned short& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE && (fChart.GetMouseMoveMode() != mmNone || fChart.fGesture->Engine().Pressed())) {
    fChart.CancelGesture();
    Key = 0;
    return;
  }
  if (EditKey(Key, Shift) || fChart.ZoomKey(Key, Shift)) {
    Key = 0;
    return;
  }
  if (Key != VK_SPACE && Key != VK_END && Key != VK_HOME && Key != VK_LEFT && Key != VK_UP && Key != VK_RIGHT &&
      Key != VK_DOWN)
    return;
  TvxDataEntity_Kronit* active = fChart.fActiveDataEntity;
  TGantRow* row = active ? active->GetRow() : fChart.GetActiveGantRow();
  if (!row) return;
  TvxHold holdActive(active);
  TvxDataEntity_Kronit* target = KeyTarget(Key, active, row);
  if (!target) {
    if (active && !holdActive.Gone() && (Key == VK_UP || Key == VK_DOWN)) {
      fChart.SetActiveDataEntity(nullptr);  // walked past the first or last row
      fChart.InvalidateGA();
    }
    return;
  }
  // Selection handlers may delete the target: it is held, and each step
  // after one checks that it is still there.
  TvxHold holdTarget(target);
  if (!Shift.Contains(ssShift) && !Shift.Contains(ssCtrl)) fChart.ClearSelections();
  if (holdTarget.Gone()) return;
  if (Key == VK_SPACE)
    target->SetSelected(!target->GetSelected());
  else
    target->SetSelected(true);
  if (holdTarget.Gone()) return;
  fChart.SetActiveDataEntity(target);
  fChart.InvalidateGA();
  fChart.MakeSureActiveInView();
}

}  // namespace vx
