#include <vxplan/scaler/vxVisibleTimeTable.h>

#include <algorithm>
#include <cmath>

#include <vxplan/platform/rtl/DateUtils.h>

namespace vx {

namespace {

constexpr std::int64_t kMsPerHour = 3600000;

}  // namespace

void TVisibleTimeTable::BuildHours(const std::array<bool, 24>& theHiddenHours) {
  fHourHidden = theHiddenHours;
  fHourStart[0] = 0;
  for (int h = 0; h < 24; ++h) fHourStart[static_cast<size_t>(h) + 1] = fHourStart[static_cast<size_t>(h)] + (theHiddenHours[static_cast<size_t>(h)] ? 0 : OneHour);
}

bool TVisibleTimeTable::Covers(double theDate, std::uint64_t theKey) const noexcept {
  if (theKey != fKey || fDayStart.empty() || !std::isfinite(theDate)) return false;
  const double day = std::floor(theDate);
  return day >= static_cast<double>(fFirstDay) && day < static_cast<double>(fFirstDay) + static_cast<double>(fDayHidden.size());
}

double TVisibleTimeTable::VisibleBefore(double theDate) const noexcept {
  const double day = std::floor(theDate);
  const size_t i = static_cast<size_t>(day - static_cast<double>(fFirstDay));
  if (fDayHidden[i]) return fDayStart[i];
  const std::int64_t ms = std::llround((theDate - day) * MSecsPerDay);
  const int h = std::min(23, static_cast<int>(ms / kMsPerHour));
  double within = fHourStart[static_cast<size_t>(h)];
  if (!fHourHidden[static_cast<size_t>(h)]) within += static_cast<double>(ms - h * kMsPerHour) / MSecsPerDay;
  return fDayStart[i] + within;
}

double TVisibleTimeTable::DateAt(double theVisible) const noexcept {
  // The last day starting at or before theVisible: past a run of hidden
  // days, the shown day after them.
  const size_t days = fDayHidden.size();
  auto it = std::upper_bound(fDayStart.begin(), fDayStart.begin() + static_cast<std::ptrdiff_t>(days), theVisible);
  const size_t i = it == fDayStart.begin() ? 0 : static_cast<size_t>(it - fDayStart.begin()) - 1;
  const double rest = std::max(0.0, theVisible - fDayStart[i]);
  // Likewise the last hour starting at or before the rest: a shown one.
  auto hour = std::upper_bound(fHourStart.begin(), fHourStart.begin() + 24, rest);
  const int h = hour == fHourStart.begin() ? 0 : static_cast<int>(hour - fHourStart.begin()) - 1;
  const double into = std::min(OneHour, rest - fHourStart[static_cast<size_t>(h)]);
  return static_cast<double>(fFirstDay) + static_cast<double>(i) + h * OneHour + into;
}

}  // namespace vx
