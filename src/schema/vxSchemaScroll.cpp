// Scrolling the schedule: the column scroller (a scroll bar along the
// columns' side of the drawing area), the column stepping while a booking is
// dragged at the edge, and the mouse wheel.
#include <algorithm>
#include <cmath>

#include "platform/rtl/FlagScope.h"
#include "schema/vxSchema.h"

namespace vx {

// --- the column scroller --------------------------------------------------------------

void TvxSchema_ComBasic::UpdateColumnScrollerLater() {
  if (!IsDestroying()) TDoLater::DoLater(DoLaterCall<&TvxSchema_ComBasic::UpdateColumnScroller>(this), nullptr);
}

int TvxSchema_ComBasic::ColumnsInView() {
  const int extent = itsFlipView ? itsTA->GetHeight() : itsTA->GetWidth();
  const int count = itsDataListColumns->Count();
  int shown = 0;
  long long used = 0;
  for (int c = itsDataListColumns->GetTopLeftCol(); c < count; ++c) {
    used += itsDataListColumns->LiveSize(itsFlipView, c) + (itsFlipView ? 1 : 0);
    if (used > extent) break;
    ++shown;
  }
  return std::max(shown, 1);
}

void TvxSchema_ComBasic::UpdateColumnScroller(TObject*) {
  if (!itsColumnScrollBar || !itsRowScrollBar || IsDestroying()) return;
  TScrollBar* bar = GetColumnScrollBar();
  (itsFlipView ? itsColumnScrollBar : itsRowScrollBar)->SetVisible(false);
  bool show = itsScrollVisibility == svAlways;
  if (itsScrollVisibility == svWhenNeeded)
    show = itsFlipView ? static_cast<long long>(GetHeight()) - GetScalerHeight() < GetColumnSpace()
                       : static_cast<long long>(GetWidth()) - GetScalerWidth() < GetColumnSpace();
  const int top = itsDataListColumns->GetTopLeftCol();
  // Scrolled away from the first column, the user can always scroll back.
  if (top > 0) show = true;
  fCurrentlyUpdatingScroller = true;
  bar->SetPageSize(ColumnsInView());
  bar->SetParams(top, 0, std::max(itsDataListColumns->Count() - 1, 0));
  fCurrentlyUpdatingScroller = false;
  if (show != fScrollerShown) {
    // The area makes room for the bar, or takes it back.
    fScrollerShown = show;
    UpdatePartSize();
  }
  bar->SetVisible(show);
  bar->BringToFront();
}

void TvxSchema_ComBasic::ColumnScrollBarScroll(TObject* Sender) {
  auto* bar = dynamic_cast<TScrollBar*>(Sender);
  if (fCurrentlyUpdatingScroller || !bar || IsDestroying()) return;
  TFlagScope scope(fCurrentlyUpdatingScroller);
  ScrollAccordingToUpDown(bar->GetPosition());
}

void TvxSchema_ComBasic::ScrollAccordingToUpDown(int NewValue) {
  const int count = itsDataListColumns->Count();
  if (NewValue >= count) NewValue = count - 1;
  if (NewValue < 0) NewValue = 0;
  if (NewValue < count) itsDataListColumns->SetTopLeftCol(NewValue);
}

// --- the wheel ----------------------------------------------------------------------

bool TvxSchema_ComBasic::HandleWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (fWheelConvention != wcQt || IsDestroying() || WheelDelta == 0) return false;
  if (Shift.Contains(ssCtrl))
    ZoomTimeByWheel(WheelDelta, MousePos);
  else if (Shift.Contains(ssShift))
    PanTimeByWheel(WheelDelta);
  else
    ScrollColumnsByWheel(WheelDelta);
  return true;
}

// Small (high-resolution) deltas add up to whole columns; a notch away from
// the user shows earlier columns.
void TvxSchema_ComBasic::ScrollColumnsByWheel(int WheelDelta) {
  const int steps = fColumnWheel.Add(WheelDelta, WheelScrollLines());
  const int count = itsDataListColumns->Count();
  if (steps == 0 || count == 0) return;
  const int top = itsDataListColumns->GetTopLeftCol();
  // Forward only until the last column shows.
  int target = top - steps;
  if (steps < 0) target = std::min(target, std::max(top, count - ColumnsInView()));
  target = std::max(target, 0);
  if (target != top) itsDataListColumns->SetTopLeftCol(target);
}

// As the time axis's own wheel: an eighth of the window a notch.
void TvxSchema_ComBasic::PanTimeByWheel(int WheelDelta) { itsScaler->WheelPan(WheelDelta); }

// The time under the pointer stays where it is; a notch away from the user
// zooms in.
void TvxSchema_ComBasic::ZoomTimeByWheel(int WheelDelta, TPoint MousePos) {
  const TPoint p = itsTA->ScreenToClient(MousePos);
  const int extent = itsFlipView ? itsTA->GetWidth() : itsTA->GetHeight();
  itsScaler->WheelZoom(std::clamp(itsFlipView ? p.X : p.Y, 0, std::max(extent, 0)), WheelDelta);
}

bool TvxOffscreenPaint_Schema::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TvxOffscreenPaint::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  return fSchema && fSchema->HandleWheel(Shift, WheelDelta, MousePos);
}

bool THeaderControl_MouseControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (THeaderControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  TvxSchema_ComBasic* schema = itsDataListColumns ? itsDataListColumns->GetSchema() : nullptr;
  return schema && schema->HandleWheel(Shift, WheelDelta, MousePos);
}

bool TDrawGrid_Schema::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  TvxSchema_ComBasic* schema = itsDataListColumns ? itsDataListColumns->GetSchema() : nullptr;
  // The application's handler first, then the schedule's wheel, not the grid's.
  if (schema && schema->GetWheelConvention() == wcQt)
    return TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos) || schema->HandleWheel(Shift, WheelDelta, MousePos);
  return TDrawGrid::DoMouseWheel(Shift, WheelDelta, MousePos);
}

}  // namespace vx
