// The drawing area's keys (stepping the selection in time and across
// columns, walking to the next or previous booking, the item menu), and the
// hint window's paint.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/ui/Menus.h>
#include <vxplan/schema/vxSchema.h>

namespace vx {

namespace {

// The small step of the keys, and the Ctrl+Shift step when the start snap is
// no coarser than the small one.
constexpr TDateTime kKeyStep = OneMinute;
constexpr TDateTime kCoarseKeyStep = 10 * OneMinute;
bool IsArrow(unsigned short Key) { return Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN; }

}  // namespace

// --- keys -----------------------------------------------------------------------------

void TvxSchema_ComBasic::SchemaKeyDown(TObject*, unsigned short& Key, TShiftState Shift) {
  if (!IsDestroying()) {
    const bool ctrl = Shift.Contains(ssCtrl), shift = Shift.Contains(ssShift);
    if (Key == VK_APPS && (ctrl || !shift)) {
      // Where it lies may be the application's answer, which may delete it.
      TvxHeld<TvxDataEntity_SchemaTime> item(dynamic_cast<TvxDataEntity_SchemaTime*>(itsvxLayers->FindSelected()));
      TRect r{};
      if (item.Get()) RectFromDataEntity(itsFlipView, item.Get(), r);
      if (Here(item.Get())) HandleDataEntityPopup(item.Get(), r);
      Key = 0;
    } else if (GetScaler() && !(fGesture && fGesture->Engine().Pressed()) && GetScaler()->ZoomKey(Key, Shift)) {
      Key = 0;  // zooming waits for the end of a gesture: its outline is in pixels
    } else if (Shift.Contains(ssAlt) && (ctrl || shift) && IsArrow(Key)) {
      if (KeyGrow(Key, Shift)) Key = 0;
    } else if (ctrl && IsArrow(Key)) {
      KeyStep(Key, Shift);
    } else if (!ctrl && !shift && IsArrow(Key)) {
      if (Key == VK_LEFT || Key == VK_UP)
        itsvxLayers->SelectPrev();
      else
        itsvxLayers->SelectNext();
      InvalidateArea();
      if (OnSchemaHintInfo)
        OnSchemaHintInfo(this, dynamic_cast<TvxDataEntity_SchemaTime*>(itsvxLayers->FindSelected()), 0, 0, 0, 0);
      if (itsTA) itsTA->NotifyAccessibleFocus();
    }
  }
  KeyDown(Key, Shift);
}

// The arrow's direction on the screen is the way the selection moves: along
// the time axis (down, or flipped to the right, is later) by a time step,
// across it to the next or previous column. A time step is the start snap,
// which snapping cannot undo (a minute when starts do not snap); with Shift
// too it is ten minutes where the snap is a minute or less.
void TvxSchema_ComBasic::KeyStep(unsigned short Key, TShiftState Shift) {
  const unsigned short later = itsFlipView ? VK_RIGHT : VK_DOWN, earlier = itsFlipView ? VK_LEFT : VK_UP;
  const unsigned short next = itsFlipView ? VK_DOWN : VK_RIGHT, previous = itsFlipView ? VK_UP : VK_LEFT;
  // The start snap compared with a little room, as times are not exact.
  const bool fine = itsStartSnap <= kKeyStep * (1 + 1e-9);
  TDateTime step = itsStartSnapONOFF ? itsStartSnap : kKeyStep;
  if (Shift.Contains(ssShift)) step = fine ? kCoarseKeyStep : itsStartSnap;
  if (Key == later)
    HandleMoveOfSelectedFromTimeDiff(step, 0);
  else if (Key == earlier)
    HandleMoveOfSelectedFromTimeDiff(-step, 0);
  else if (Key == next)
    HandleMoveOfSelectedFromTimeDiff(0, 1);
  else if (Key == previous)
    HandleMoveOfSelectedFromTimeDiff(0, -1);
}

// The stop moves by the length snap and the start by the start snap (a
// minute where they do not snap), as a drag lands on them.
bool TvxSchema_ComBasic::KeyGrow(unsigned short Key, TShiftState Shift) {
  const unsigned short later = itsFlipView ? VK_RIGHT : VK_DOWN, earlier = itsFlipView ? VK_LEFT : VK_UP;
  const bool ctrl = Shift.Contains(ssCtrl), shift = Shift.Contains(ssShift);
  if ((Key != later && Key != earlier) || ctrl == shift) return false;
  auto* item = dynamic_cast<TvxDataEntity_SchemaTime*>(itsvxLayers->FindSelected());
  if (!item || !fGesture) return true;
  const bool start = ctrl;
  const bool snaps = start ? itsStartSnapONOFF : itsLengthSnapONOFF;
  const TDateTime snap = start ? itsStartSnap : itsLengthSnap;
  const TDateTime step = snaps && std::isfinite(snap) && snap > 0 && snap <= kMaxSnap ? snap : kKeyStep;
  fGesture->KeyGrow(item, start, Key == later ? step : -step);
  InvalidateArea();
  return true;
}

void TvxSchema_ComBasic::HandleDataEntityPopup(TvxDataEntity* theDataEntity, const TRect& theRect) {
  if (!theDataEntity || !fPopupSchema || IsDestroying()) return;
  itsPopupSelectedDataEntity = theDataEntity;
  fPopupSchema->SetPopupComponent(itsTA);
  const TPoint at = itsTA->ClientToScreen(Point(theRect.Left, theRect.Bottom));
  fPopupSchema->Popup(at.X, at.Y);
  if (itsTA->CanFocus()) itsTA->SetFocus();
}

// Whatever the interaction refers to lets go of a booking that goes.
void TvxSchema_ComBasic::ForgetInteractionItem(TvxDataEntity* theEntity) {
  if (theEntity == itsPopupSelectedDataEntity) itsPopupSelectedDataEntity = nullptr;
  fPreview->Forget(theEntity);
  if (!IsDestroying() && fGesture) fGesture->Engine().Forget(theEntity);
}

void TvxSchema_ComBasicHintWindow::Paint() {
  if (!fDrawContent) {
    THintWindow::Paint();
    return;
  }
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
  fDrawContent(this, c);
  TWinControl::Paint();
}

}  // namespace vx
