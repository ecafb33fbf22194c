// The schedule's time hint beside the pointer and the enlarged preview of the
// booking it rests on.
#include <vxplan/schema/vxSchemaPreview.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/schema/vxSchema.h>

namespace vx {

namespace {

// The preview stands this far from the booking it shows.
constexpr int kShowMeBigGap = 10;
// The time hint stands this far from the pointer, and is at most this wide.
constexpr int kHintGap = 16;
constexpr int kHintMaxWidth = 400;
// The date before a time in the hint.
const char* const kHintDate = "ddd d mmm ";

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

TSchemaPreview::TSchemaPreview(TvxSchema_ComBasic& theSchema) : fSchema(theSchema) {}

void TSchemaPreview::Create(bool theWindows) {
  if (theWindows) {
    fHintWindow = new TvxSchema_ComBasicHintWindow(&fSchema);
    fHintWindow->SetBounds(0, 0, 120, 30);
    fHintWindow->SetVisible(false);
    fShowMeBigWindow = new TvxSchema_ComBasicHintWindow(&fSchema);
    fShowMeBigWindow->SetBounds(0, 0, 120, 230);
    fShowMeBigWindow->SetVisible(false);
    fShowMeBigWindow->fDrawContent = [this](TvxSchema_ComBasicHintWindow*, TCanvas* c) { DrawShowMeBig(c); };
  }
  // Started by the mouse; the show delay is the timer's default.
  fShowMeBigTimer = new TOwnedTimer(&fSchema, [this](TObject*) { ShowMeBig(); });
  fShowMeBigTimer->SetEnabled(false);
  fHideShowMeBigTimer = new TOwnedTimer(&fSchema, [this](TObject*) { HideShowMeBig(); });
  fHideShowMeBigTimer->SetEnabled(false);
  fHideShowMeBigTimer->SetInterval(5000);
}

void TSchemaPreview::Stop() {
  for (TTimer* t : {fShowMeBigTimer, fHideShowMeBigTimer})
    if (t) t->SetEnabled(false);
  if (fShowMeBigWindow) fShowMeBigWindow->fDrawContent = nullptr;
}

// --- the time hint --------------------------------------------------------------------

void TSchemaPreview::MoveInfo(TvxDataEntity_SchemaTime* theSchemaTime, TDateTime theStart, TDateTime theLength, int X,
                              int Y) {
  // A host with a hint of its own hears of every change, nil and zeros to hide it.
  if (fSchema.OnSchemaHintInfo) {
    fSchema.OnSchemaHintInfo(&fSchema, theSchemaTime, theStart, theLength, X, Y);
    return;
  }
  if (!fHintWindow || theStart == 0 || theLength == 0 || fSchema.IsDestroying()) return;
  fHintWindow->SetCaption(HintText(fSchema.itsScaler->GetTimeFormat(), theStart, theLength));
  // Beside the pointer, on its other side where the screen ends.
  const TPoint pointer = fSchema.itsTA->ClientToScreen(Point(X, Y));
  const TRect need = fHintWindow->CalcHintRect(kHintMaxWidth, fHintWindow->GetCaption());
  const int w = need.Width(), h = need.Height();
  int left = pointer.X + kHintGap, top = pointer.Y + kHintGap;
  const TRect screen = ScreenWorkArea(pointer);
  if (!screen.IsEmpty()) {
    if (left + w > screen.Right) left = pointer.X - kHintGap - w;
    if (top + h > screen.Bottom) top = pointer.Y - kHintGap - h;
    left = std::clamp(left, screen.Left, std::max(screen.Left, screen.Right - w));
    top = std::clamp(top, screen.Top, std::max(screen.Top, screen.Bottom - h));
  }
  fHintWindow->SetBounds(left, top, w, h);
  // Not both at once: the preview stands for the booking.
  if (fShowMeBigWindow && fShowMeBigWindow->IsShowing())
    fHintWindow->ReleaseHandle();
  else if (!fHintWindow->IsShowing())
    fHintWindow->ActivateHint(fHintWindow->GetBoundsRect(), fHintWindow->GetCaption());
}

void TSchemaPreview::HideHint() {
  if (fHintWindow) fHintWindow->ReleaseHandle();
}

// --- the pointer ----------------------------------------------------------------------

void TSchemaPreview::HoverOver(TvxDataEntity_SchemaTime* theItem, int X, int Y) {
  if (!theItem) {
    fShowMeBigDataEntity = nullptr;
    HideShowMeBig();
    MoveInfo(nullptr, 0, 0, X, Y);
    return;
  }
  if (Point(X, Y) != fShowMeBigXY) {
    fShowMeBigXY = Point(X, Y);
    fShowMeBigDataEntity = theItem;
    if (fSchema.itsShowBigONOFF && fShowMeBigWindow && fShowMeBigTimer) fShowMeBigTimer->SetEnabled(true);
  }
  MoveInfo(theItem, theItem->GetStartDateTime(), theItem->GetStopDateTime() - theItem->GetStartDateTime(), X, Y);
}

void TSchemaPreview::PointerMoved() {
  if (fShowMeBigTimer) fShowMeBigTimer->SetEnabled(false);
}

void TSchemaPreview::Leave() {
  fShowMeBigXY = Point(-1, -1);
  fShowMeBigDataEntity = nullptr;
  HideShowMeBig();
  MoveInfo(nullptr, 0, 0, -1, -1);
}

// --- the preview ----------------------------------------------------------------------

void TSchemaPreview::ShowMeBig() {
  if (fShowMeBigTimer) fShowMeBigTimer->SetEnabled(false);
  TvxSchema_ComBasic& s = fSchema;
  if (!s.itsShowBigONOFF || !fShowMeBigWindow || s.IsDestroying() || s.fGesture->Engine().Active()) return;
  // Only for the application the user works in.
  if (!FormIsActive(s.itsTA)) return;
  TvxHeld<TvxDataEntity_SchemaTime> held(s.GetDataEntityFromXY(fShowMeBigXY.X, fShowMeBigXY.Y));
  TvxDataEntity_SchemaTime* item = held.Get();
  TRect r;
  if (!item || !s.RectFromDataEntity(s.itsFlipView, item, r) || !s.Here(item)) return;
  const int width = fShowMeBigWindow->GetWidth();
  int left = r.Left - width - kShowMeBigGap;
  if (left < 0) left = r.Right + kShowMeBigGap;
  const TPoint at = s.itsTA->ClientToScreen(Point(left, r.Top - kShowMeBigGap));
  fShowMeBigShown = item;
  fShowMeBigWindow->SetBounds(at.X, at.Y, width, fShowMeBigWindow->GetHeight());
  fShowMeBigWindow->Invalidate();
  fShowMeBigWindow->ActivateHint(fShowMeBigWindow->GetBoundsRect(), fShowMeBigWindow->GetCaption());
  if (fHideShowMeBigTimer) {
    fHideShowMeBigTimer->SetEnabled(false);  // from the full interval again
    fHideShowMeBigTimer->SetEnabled(true);
  }
  MoveInfo(item, item->GetStartDateTime(), item->GetStopDateTime() - item->GetStartDateTime(), fShowMeBigXY.X,
           fShowMeBigXY.Y);
}

void TSchemaPreview::HideShowMeBig() {
  fShowMeBigShown = nullptr;
  if (fShowMeBigWindow) fShowMeBigWindow->ReleaseHandle();
  if (fHintWindow) fHintWindow->ReleaseHandle();
  if (fShowMeBigTimer) fShowMeBigTimer->SetEnabled(false);
  if (fHideShowMeBigTimer) fHideShowMeBigTimer->SetEnabled(false);
}

void TSchemaPreview::DrawShowMeBig(TCanvas* theCanvas) {
  if (!fShowMeBigShown || !fShowMeBigWindow || fSchema.IsDestroying()) return;
  const TRect r = Rect(0, 0, fShowMeBigWindow->GetWidth() - 2, fShowMeBigWindow->GetHeight() - 2);
  fSchema.Painter().DrawContent(fShowMeBigShown, r, theCanvas);
}

void TSchemaPreview::Forget(TvxDataEntity* theEntity) {
  if (theEntity == fShowMeBigDataEntity) fShowMeBigDataEntity = nullptr;
  if (theEntity == fShowMeBigShown) {
    fShowMeBigShown = nullptr;
    if (fShowMeBigWindow && !fSchema.IsDestroying()) fShowMeBigWindow->ReleaseHandle();
  }
}

}  // namespace vx
