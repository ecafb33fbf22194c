// The date scaler's accessible content: its time window as a value.
#include <vxplan/scaler/vxScalerAccessible.h>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/scaler/vxScaler.h>

namespace vx {

bool TScalerAccessible::Exists(TvxAccessibleId theId) {
  return theId == vxAccessibleRoot && !fScaler.IsDestroying();
}

std::string TScalerAccessible::Value(TvxAccessibleId theId) {
  if (!Exists(theId)) return {};
  const std::string format = fScaler.GetDateFormat() + " " + fScaler.GetTimeFormat();
  return FormatDateTime(format, fScaler.GetStart()) + " \u2013 " + FormatDateTime(format, fScaler.GetStop());
}

TRect TScalerAccessible::Bounds(TvxAccessibleId theId) {
  return Exists(theId) ? fScaler.GetClientRect() : TRect{};
}

}  // namespace vx
