// Where the schedule's parts stand, and the scaler's sizes asked for.
#include <vxplan/schema/vxSchemaParts.h>

#include <algorithm>
#include <climits>

#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/schema/vxSchema.h>

namespace vx {

namespace {

int SaturatedAdd(long long a, long long b) {
  return static_cast<int>(std::clamp(a + b, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

}  // namespace

TSchemaParts::TSchemaParts(TvxSchema_ComBasic& theSchema) : fSchema(theSchema) {}

TPoint TSchemaParts::CornerInside(TPoint theCorner) const {
  const int w = std::max(fSchema.GetWidth(), 0), h = std::max(fSchema.GetHeight(), 0);
  return Point(std::clamp(theCorner.X, 0, w), std::clamp(theCorner.Y, 0, h));
}

void TSchemaParts::Place() {
  TvxSchema_ComBasic& s = fSchema;
  const int w = s.GetWidth(), h = s.GetHeight();
  // The column scroller takes its thickness off the time axis, beside the
  // area, so that it covers no booking; the axis keeps the area's length.
  TScrollBar* bar = s.GetColumnScrollBar();
  const int thick = s.fScroller->Thickness();
  auto size = [](int v) { return std::max(v, 0); };
  if (!s.itsFlipView) {
    const TPoint q = CornerInside(s.itsQuadPoint);
    const int along = size(h - q.Y - thick);
    s.itsHeader->SetVisible(true);
    s.itsScaler->SetHorizontal(false);
    s.itsFlippedHeader->SetVisible(false);
    s.itsHeader->SetBounds(q.X, 0, w - q.X, q.Y);
    s.itsScaler->SetBounds(0, q.Y, q.X, along);
    s.itsTA->SetBounds(q.X, q.Y, w - q.X, along);
    if (bar) bar->SetBounds(q.X, q.Y + along, w - q.X, thick);
    s.itsXYSizer->SetBounds(q.X - 3, q.Y - 3, 5, 5);
  } else {
    const TPoint q = CornerInside(s.itsFlippedQuadPoint);
    const int along = size(w - q.X - thick);
    s.itsHeader->SetVisible(false);
    s.itsScaler->SetHorizontal(true);
    s.itsFlippedHeader->SetVisible(true);
    s.itsScaler->SetBounds(q.X, 0, along, q.Y);
    s.itsFlippedHeader->SetBounds(0, q.Y, q.X, h - q.Y);
    s.itsFlippedHeader->SetDefaultColWidth(q.X);
    s.itsTA->SetBounds(q.X, q.Y, along, h - q.Y);
    if (bar) bar->SetBounds(q.X + along, q.Y, thick, h - q.Y);
    s.itsXYSizer->SetBounds(q.X - 3, q.Y - 3, 5, 5);
  }
  s.itsXYSizer->BringToFront();
  s.UpdateColumnScroller(nullptr);
}

void TSchemaParts::MoveCorner(TPoint Delta) {
  TvxSchema_ComBasic& s = fSchema;
  TPoint& q = s.itsFlipView ? s.itsFlippedQuadPoint : s.itsQuadPoint;
  q = CornerInside(Point(SaturatedAdd(q.X, Delta.X), SaturatedAdd(q.Y, Delta.Y)));
  s.UpdatePartSize();
}

int TSchemaParts::ScalerWidth() const {
  const TvxSchema_ComBasic& s = fSchema;
  if (!s.itsFlipView) return s.itsQuadPoint.X;
  return SaturatedAdd(s.GetWidth(), -static_cast<long long>(s.itsFlippedQuadPoint.X));
}

int TSchemaParts::ScalerHeight() const {
  const TvxSchema_ComBasic& s = fSchema;
  if (s.itsFlipView) return s.itsFlippedQuadPoint.Y;
  return SaturatedAdd(s.GetHeight(), -static_cast<long long>(s.itsQuadPoint.Y));
}

void TSchemaParts::AskScalerWidth(int theWidth) {
  fLatestKnownScalerWidth = theWidth;
  fScalerWidthFlipped = fSchema.itsFlipView;
  TDoLater::DoLater(DoLaterCall<&TSchemaParts::ScalerWidthPerform>(this), nullptr);
}

void TSchemaParts::ScalerWidthPerform(TObject*) {
  TvxSchema_ComBasic& s = fSchema;
  if (fScalerWidthFlipped)
    s.itsFlippedQuadPoint.X = SaturatedAdd(s.GetWidth(), -static_cast<long long>(fLatestKnownScalerWidth));
  else
    s.itsQuadPoint.X = fLatestKnownScalerWidth;
  s.UpdatePartSize();
}

void TSchemaParts::AskScalerHeight(int theHeight) {
  fLatestKnownScalerHeight = theHeight;
  fScalerHeightFlipped = fSchema.itsFlipView;
  TDoLater::DoLater(DoLaterCall<&TSchemaParts::ScalerHeightPerform>(this), nullptr);
}

void TSchemaParts::ScalerHeightPerform(TObject*) {
  TvxSchema_ComBasic& s = fSchema;
  if (fScalerHeightFlipped)
    s.itsFlippedQuadPoint.Y = fLatestKnownScalerHeight;
  else
    s.itsQuadPoint.Y = SaturatedAdd(s.GetHeight(), -static_cast<long long>(fLatestKnownScalerHeight));
  s.UpdatePartSize();
}

void TSchemaParts::NeverMind() {
  TDoLater::NeverMind(DoLaterCall<&TSchemaParts::ScalerWidthPerform>(this));
  TDoLater::NeverMind(DoLaterCall<&TSchemaParts::ScalerHeightPerform>(this));
}

}  // namespace vx
