// The schedule's settings kept outside the control: the time axis's, the
// look of the drawing area, snapping, and what the children keep.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include <vxplan/platform/rtl/Math.h>
#include <vxplan/schema/vxSchemaColumns.h>
#include <vxplan/schema/vxSchemaSettings.h>

#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/schema/vxSchemaColumns.h>

namespace vx {

void TSchemaScalerSettings::SetVerticalText(bool v) {
  SettingsScaler()->SetVerticalText(v);
  SettingsScaler()->Invalidate();
}

void TSchemaScalerSettings::SetHiddenHours(TvxHiddenHours v) {
  SettingsScaler()->SetHiddenHours(v);
  AxisSettingChanged();
}

void TSchemaScalerSettings::SetHiddenDays(TvxHiddenDays v) {
  SettingsScaler()->SetHiddenDays(v);
  AxisSettingChanged();
}

namespace {

// theValue rounded to a multiple of theStep, exact halves to the even
// multiple. Counted in whole milliseconds where the step allows, so that
// halves stay halves. A step that is not a positive finite time snaps nothing.
double RoundToStep(double theValue, double theStep) {
  if (!(theStep > 0) || !std::isfinite(theStep) || !std::isfinite(theValue)) return theValue;
  const std::int64_t step = Round64(theStep * MSecsPerDay);
  const double ms = theValue * MSecsPerDay;
  if (step >= 1 && std::fabs(theStep * MSecsPerDay - static_cast<double>(step)) < 1e-6 && std::fabs(ms) < 9e15) {
    const std::int64_t v = Round64(ms);
    std::int64_t q = v / step, r = v % step;
    if (r < 0) {
      r += step;
      --q;
    }
    if (2 * r > step || (2 * r == step && q % 2 != 0)) ++q;
    return static_cast<double>(q * step) / MSecsPerDay;
  }
  return std::nearbyint(theValue / theStep) * theStep;
}

bool UsableSnap(TDateTime theStep) { return std::isfinite(theStep) && theStep > 0 && theStep <= TSchemaSnapSettings::kMaxSnap; }

}  // namespace

// A step that could not snap (not a number, none, longer than a year) would
// carry the keys' steps and the snapped times with it: it is ignored.
void TSchemaSnapSettings::SetStartSnap(TDateTime v) noexcept {
  if (UsableSnap(v)) itsStartSnap = v;
}

void TSchemaSnapSettings::SetLengthSnap(TDateTime v) noexcept {
  if (UsableSnap(v)) itsLengthSnap = v;
}

void TSchemaSnapSettings::Snap(TDateTime& theStart, TDateTime& theLength) const {
  if (itsLengthSnapONOFF) theLength = RoundToStep(theLength, itsLengthSnap);
  if (itsStartSnapONOFF && std::isfinite(theStart)) {
    // The grid of start snaps counts from midnight of the start's own day.
    const double midnight = std::floor(theStart);
    theStart = midnight + RoundToStep(theStart - midnight, itsStartSnap);
  }
}

TPopupMenu* TSchemaChildSettings::GetHeaderPopupmenu() const { return SettingsHeader()->GetPopupMenu(); }

void TSchemaChildSettings::SetHeaderPopupmenu(TPopupMenu* theMenu) {
  SettingsHeader()->SetPopupMenu(theMenu);
  SettingsTitles()->SetPopupMenu(theMenu);
}

bool TSchemaChildSettings::GetHeaderTabStop() const { return SettingsTitles()->GetTabStop(); }

void TSchemaChildSettings::SetHeaderTabStop(bool theValue) { SettingsTitles()->SetTabStop(theValue); }

bool TSchemaChildSettings::GetSchemaTabStop() const { return SettingsArea()->GetTabStop(); }

void TSchemaChildSettings::SetSchemaTabStop(bool theValue) { SettingsArea()->SetTabStop(theValue); }

void TSchemaLayoutSettings::SetSubColumnSize(int theSize) {
  theSize = std::clamp(theSize, 0, TDataListColumns::kMaxColumnSize);
  if (theSize == fSubColumnSize) return;
  fSubColumnSize = theSize;
  ColumnSizesChanged(true);
}

}  // namespace vx
