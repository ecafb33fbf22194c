// Scrolling the schedule: the column scroller (a scroll bar along the
// columns' side of the drawing area), the column stepping while a booking is
// dragged at the edge, and the mouse wheel.
#include <vxplan/schema/vxSchemaScroller.h>

#include <algorithm>
#include <cmath>

#include <vxplan/platform/rtl/FlagScope.h>
#include <vxplan/platform/ui/ComCtrls.h>
#include <vxplan/schema/vxSchema.h>

namespace vx {

TSchemaScroller::TSchemaScroller(TvxSchema_ComBasic& theSchema) : fSchema(theSchema) {}

void TSchemaScroller::Create() {
  fColumnScrollBar = new TScrollBar(&fSchema, sbHorizontal);
  fRowScrollBar = new TScrollBar(&fSchema, sbVertical);
  fScrollBarThickness = fRowScrollBar->GetWidth();  // as the toolkit makes them
  for (TScrollBar* bar : {fColumnScrollBar, fRowScrollBar}) {
    bar->SetParent(&fSchema);
    bar->SetVisible(false);
    bar->SetScrollListener([this](TObject* s) { BarScrolled(s); });
  }
}

void TSchemaScroller::Destroy() {
  delete fColumnScrollBar;
  delete fRowScrollBar;
  fColumnScrollBar = fRowScrollBar = nullptr;
}

TScrollBar* TSchemaScroller::Bar() const noexcept { return fSchema.itsFlipView ? fRowScrollBar : fColumnScrollBar; }

int TSchemaScroller::Thickness() const noexcept { return fScrollerShown && Bar() ? fScrollBarThickness : 0; }

// --- the column scroller --------------------------------------------------------------

int TSchemaScroller::ColumnsInView() {
  const int extent = fSchema.itsFlipView ? fSchema.itsTA->GetHeight() : fSchema.itsTA->GetWidth();
  const int count = fSchema.itsDataListColumns->Count();
  int shown = 0;
  long long used = 0;
  for (int c = fSchema.itsDataListColumns->GetTopLeftCol(); c < count; ++c) {
    used += fSchema.itsDataListColumns->LiveSize(fSchema.itsFlipView, c) + (fSchema.itsFlipView ? 1 : 0);
    if (used > extent) break;
    ++shown;
  }
  return std::max(shown, 1);
}

void TSchemaScroller::Update() {
  if (!fColumnScrollBar || !fRowScrollBar || fSchema.IsDestroying()) return;
  TvxSchema_ComBasic& s = fSchema;
  TScrollBar* bar = Bar();
  (s.itsFlipView ? fColumnScrollBar : fRowScrollBar)->SetVisible(false);
  bool show = s.itsScrollVisibility == svAlways;
  if (s.itsScrollVisibility == svWhenNeeded)
    show = s.itsFlipView ? static_cast<long long>(s.GetHeight()) - s.GetScalerHeight() < s.GetColumnSpace()
                         : static_cast<long long>(s.GetWidth()) - s.GetScalerWidth() < s.GetColumnSpace();
  const int top = fSchema.itsDataListColumns->GetTopLeftCol();
  // Scrolled away from the first column, the user can always scroll back.
  if (top > 0) show = true;
  fCurrentlyUpdatingScroller = true;
  bar->SetPageSize(ColumnsInView());
  bar->SetParams(top, 0, std::max(fSchema.itsDataListColumns->Count() - 1, 0));
  fCurrentlyUpdatingScroller = false;
  if (show != fScrollerShown) {
    // The area makes room for the bar, or takes it back.
    fScrollerShown = show;
    fSchema.UpdatePartSize();
  }
  bar->SetVisible(show);
  bar->BringToFront();
}

void TSchemaScroller::BarScrolled(TObject* Sender) {
  auto* bar = dynamic_cast<TScrollBar*>(Sender);
  if (fCurrentlyUpdatingScroller || !bar || fSchema.IsDestroying()) return;
  TFlagScope scope(fCurrentlyUpdatingScroller);
  ScrollTo(bar->GetPosition());
}

void TSchemaScroller::ScrollTo(int NewValue) {
  const int count = fSchema.itsDataListColumns->Count();
  if (NewValue >= count) NewValue = count - 1;
  if (NewValue < 0) NewValue = 0;
  if (NewValue < count) fSchema.itsDataListColumns->SetTopLeftCol(NewValue);
}

// --- the wheel ----------------------------------------------------------------------

bool TSchemaScroller::HandleWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (fSchema.fWheelConvention != wcQt || fSchema.IsDestroying() || WheelDelta == 0) return false;
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
void TSchemaScroller::ScrollColumnsByWheel(int WheelDelta) {
  const int steps = fColumnWheel.Add(WheelDelta, WheelScrollLines());
  const int count = fSchema.itsDataListColumns->Count();
  if (steps == 0 || count == 0) return;
  const int top = fSchema.itsDataListColumns->GetTopLeftCol();
  // Forward only until the last column shows.
  int target = top - steps;
  if (steps < 0) target = std::min(target, std::max(top, count - ColumnsInView()));
  target = std::max(target, 0);
  if (target != top) fSchema.itsDataListColumns->SetTopLeftCol(target);
}

// As the time axis's own wheel: an eighth of the window a notch.
void TSchemaScroller::PanTimeByWheel(int WheelDelta) { fSchema.itsScaler->WheelPan(WheelDelta); }

// The time under the pointer stays where it is; a notch away from the user
// zooms in.
void TSchemaScroller::ZoomTimeByWheel(int WheelDelta, TPoint MousePos) {
  const TPoint p = fSchema.itsTA->ScreenToClient(MousePos);
  const int extent = fSchema.itsFlipView ? fSchema.itsTA->GetWidth() : fSchema.itsTA->GetHeight();
  fSchema.itsScaler->WheelZoom(std::clamp(fSchema.itsFlipView ? p.X : p.Y, 0, std::max(extent, 0)), WheelDelta);
}

// --- the control's forwarders ---------------------------------------------------------

void TvxSchema_ComBasic::UpdateColumnScrollerLater() {
  if (!IsDestroying()) TDoLater::DoLater(DoLaterCall<&TvxSchema_ComBasic::UpdateColumnScroller>(this), nullptr);
}

void TvxSchema_ComBasic::UpdateColumnScroller(TObject*) { fScroller->Update(); }

void TvxSchema_ComBasic::ColumnScrollBarScroll(TObject* Sender) { fScroller->BarScrolled(Sender); }

void TvxSchema_ComBasic::ScrollAccordingToUpDown(int NewValue) { fScroller->ScrollTo(NewValue); }

bool TvxSchema_ComBasic::HandleWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  return fScroller->HandleWheel(Shift, WheelDelta, MousePos);
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
