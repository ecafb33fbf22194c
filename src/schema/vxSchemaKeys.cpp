// The drawing area's keys (stepping the selection in time and across
// columns, walking to the next or previous booking, the item menu), the time
// hint and the enlarged preview of the booking under the mouse.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Math.h"
#include "platform/ui/Menus.h"
#include "schema/vxSchema.h"

namespace vx {

namespace {

// The small step of the keys, and the Ctrl+Shift step when the start snap is
// no coarser than the small one.
constexpr TDateTime kKeyStep = OneMinute;
constexpr TDateTime kCoarseKeyStep = 10 * OneMinute;
// The preview stands this far from the booking it shows.
constexpr int kShowMeBigGap = 10;
// The time hint stands this far from the pointer, and is at most this wide.
constexpr int kHintGap = 16;
constexpr int kHintMaxWidth = 400;
// The date before a time in the hint.
const char* const kHintDate = "ddd d mmm ";

bool IsArrow(unsigned short Key) { return Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN; }

// The hint names only times of the calendar; others read as this.
const char* const kNoTime = "--:--";

bool Nameable(TDateTime t) {
  return std::isfinite(t) && t >= TvxSchema_ComBasic::kFirstDay && t < TvxSchema_ComBasic::kAfterLastDay;
}

std::string TimeText(const std::string& theFormat, TDateTime t) {
  return Nameable(t) ? FormatDateTime(theFormat, t) : kNoTime;
}

std::string DateTimeText(const std::string& theFormat, TDateTime t) {
  return Nameable(t) ? FormatDateTime(kHintDate, t) + FormatDateTime(theFormat, t) : kNoTime;
}

// Hours and minutes, the hours counted on past a day ("26:30").
std::string LengthText(TDateTime theLength) {
  if (!Nameable(std::fabs(theLength))) return kNoTime;
  const std::int64_t minutes = Round64(std::fabs(theLength) * 1440);
  char text[32];
  std::snprintf(text, sizeof text, "%s%02lld:%02lld", theLength < 0 ? "-" : "", static_cast<long long>(minutes / 60),
                static_cast<long long>(minutes % 60));
  return text;
}

// The start with its date, the stop (with its date when that is another
// day), the length.
std::string HintText(const std::string& theFormat, TDateTime theStart, TDateTime theLength) {
  const TDateTime stop = theStart + theLength;
  const bool sameDay = Nameable(theStart) && Nameable(stop) && std::floor(theStart) == std::floor(stop);
  return DateTimeText(theFormat, theStart) + "\r" +
         (sameDay ? TimeText(theFormat, stop) : DateTimeText(theFormat, stop)) + "\r" + LengthText(theLength);
}

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

void TvxSchema_ComBasic::HandleDataEntityPopup(TvxDataEntity* theDataEntity, const TRect& theRect) {
  if (!theDataEntity || !fPopupSchema || IsDestroying()) return;
  itsPopupSelectedDataEntity = theDataEntity;
  fPopupSchema->SetPopupComponent(itsTA);
  const TPoint at = itsTA->ClientToScreen(Point(theRect.Left, theRect.Bottom));
  fPopupSchema->Popup(at.X, at.Y);
  if (itsTA->CanFocus()) itsTA->SetFocus();
}

// --- the time hint --------------------------------------------------------------------

void TvxSchema_ComBasic::DoMoveInfo(TvxDataEntity_SchemaTime* theSchemaTime, TDateTime theStart, TDateTime theLength,
                                    int X, int Y) {
  // A host with a hint of its own hears of every change, nil and zeros to hide it.
  if (OnSchemaHintInfo) {
    OnSchemaHintInfo(this, theSchemaTime, theStart, theLength, X, Y);
    return;
  }
  if (!itsHintWindow || theStart == 0 || theLength == 0 || IsDestroying()) return;
  itsHintWindow->SetCaption(HintText(itsScaler->GetTimeFormat(), theStart, theLength));
  // Beside the pointer, on its other side where the screen ends.
  const TPoint pointer = itsTA->ClientToScreen(Point(X, Y));
  const TRect need = itsHintWindow->CalcHintRect(kHintMaxWidth, itsHintWindow->GetCaption());
  const int w = need.Width(), h = need.Height();
  int left = pointer.X + kHintGap, top = pointer.Y + kHintGap;
  const TRect screen = ScreenWorkArea(pointer);
  if (!screen.IsEmpty()) {
    if (left + w > screen.Right) left = pointer.X - kHintGap - w;
    if (top + h > screen.Bottom) top = pointer.Y - kHintGap - h;
    left = std::clamp(left, screen.Left, std::max(screen.Left, screen.Right - w));
    top = std::clamp(top, screen.Top, std::max(screen.Top, screen.Bottom - h));
  }
  itsHintWindow->SetBounds(left, top, w, h);
  // Not both at once: the preview stands for the booking.
  if (itsShowMeBigWindow && itsShowMeBigWindow->IsShowing())
    itsHintWindow->ReleaseHandle();
  else if (!itsHintWindow->IsShowing())
    itsHintWindow->ActivateHint(itsHintWindow->GetBoundsRect(), itsHintWindow->GetCaption());
}

// --- the preview ----------------------------------------------------------------------

void TvxSchema_ComBasic::DoShowMeBig(TObject*) {
  if (itsShowMeBigTimer) itsShowMeBigTimer->SetEnabled(false);
  if (!itsShowBigONOFF || !itsShowMeBigWindow || IsDestroying() || fGesture->Engine().Active()) return;
  // Only for the application the user works in.
  if (!FormIsActive(itsTA)) return;
  TvxHeld<TvxDataEntity_SchemaTime> held(GetDataEntityFromXY(itsShowMeBigXY.X, itsShowMeBigXY.Y));
  TvxDataEntity_SchemaTime* item = held.Get();
  TRect r;
  if (!item || !RectFromDataEntity(itsFlipView, item, r) || !Here(item)) return;
  const int width = itsShowMeBigWindow->GetWidth();
  int left = r.Left - width - kShowMeBigGap;
  if (left < 0) left = r.Right + kShowMeBigGap;
  const TPoint at = itsTA->ClientToScreen(Point(left, r.Top - kShowMeBigGap));
  fShowMeBigShown = item;
  itsShowMeBigWindow->SetBounds(at.X, at.Y, width, itsShowMeBigWindow->GetHeight());
  itsShowMeBigWindow->Invalidate();
  itsShowMeBigWindow->ActivateHint(itsShowMeBigWindow->GetBoundsRect(), itsShowMeBigWindow->GetCaption());
  if (itsHideShowMeBigTimer) {
    itsHideShowMeBigTimer->SetEnabled(false);  // from the full interval again
    itsHideShowMeBigTimer->SetEnabled(true);
  }
  DoMoveInfo(item, item->itsStartDateTime, item->itsStopDateTime - item->itsStartDateTime, itsShowMeBigXY.X,
             itsShowMeBigXY.Y);
}

void TvxSchema_ComBasic::DoHideShowMeBig(TObject*) {
  fShowMeBigShown = nullptr;
  if (itsShowMeBigWindow) itsShowMeBigWindow->ReleaseHandle();
  if (itsHintWindow) itsHintWindow->ReleaseHandle();
  if (itsShowMeBigTimer) itsShowMeBigTimer->SetEnabled(false);
  if (itsHideShowMeBigTimer) itsHideShowMeBigTimer->SetEnabled(false);
}

void TvxSchema_ComBasic::DrawShowMeBig(TCanvas* theCanvas) {
  if (!fShowMeBigShown || !itsShowMeBigWindow || IsDestroying()) return;
  fPainter->DrawContent(fShowMeBigShown,
                        Rect(0, 0, itsShowMeBigWindow->GetWidth() - 2, itsShowMeBigWindow->GetHeight() - 2), theCanvas);
}

// Whatever the interaction refers to lets go of a booking that goes.
void TvxSchema_ComBasic::ForgetInteractionItem(TvxDataEntity* theEntity) {
  if (theEntity == itsShowMeBigDataEntity) itsShowMeBigDataEntity = nullptr;
  if (theEntity == itsPopupSelectedDataEntity) itsPopupSelectedDataEntity = nullptr;
  if (theEntity == fShowMeBigShown) {
    fShowMeBigShown = nullptr;
    if (itsShowMeBigWindow && !IsDestroying()) itsShowMeBigWindow->ReleaseHandle();
  }
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
