#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx {

// Visible time over a run of whole days as prefix sums, so that a date's
// visible time from the first day and the date at a visible time are each a
// binary search instead of a walk over the hidden spans. Hidden hours are
// the same on every day; a hidden day hides all of its hours. Times within a
// day count in whole milliseconds, as the scaler's own arithmetic does.
class VX_API TVisibleTimeTable {
public:
  // More days than this are not tabled (the callers walk instead).
  static constexpr long long MostDays = 40000;

  // Tables theDayCount days from theFirstDay; theHiddenDay(day) says whether
  // a day is hidden. False, and an empty table, beyond MostDays.
  template <class HiddenDay>
  bool Build(long long theFirstDay, long long theDayCount, const std::array<bool, 24>& theHiddenHours,
             std::uint64_t theKey, HiddenDay&& theHiddenDay) {
    fDayStart.clear();
    fFirstDay = theFirstDay;
    fKey = theKey;
    if (theDayCount < 1 || theDayCount > MostDays) return false;
    BuildHours(theHiddenHours);
    fDayStart.reserve(static_cast<std::size_t>(theDayCount) + 1);
    double sum = 0;
    fDayHidden.assign(static_cast<std::size_t>(theDayCount), 0);
    for (long long i = 0; i < theDayCount; ++i) {
      fDayStart.push_back(sum);
      const bool hidden = theHiddenDay(theFirstDay + i);
      fDayHidden[static_cast<std::size_t>(i)] = hidden;
      if (!hidden) sum += fHourStart[24];
    }
    fDayStart.push_back(sum);
    return true;
  }

  // Whether the table was built for theKey and its days hold theDate.
  bool Covers(double theDate, std::uint64_t theKey) const noexcept;
  // Visible time from the first day's start to theDate (which it covers).
  double VisibleBefore(double theDate) const noexcept;
  // The shown date whose visible time from the first day's start is
  // theVisible: across hidden time, the shown time after it (clamped to the
  // days tabled).
  double DateAt(double theVisible) const noexcept;

private:
  void BuildHours(const std::array<bool, 24>& theHiddenHours);

  long long fFirstDay = 0;
  std::uint64_t fKey = 0;
  std::vector<double> fDayStart;   // visible time before each day, and the total
  std::vector<char> fDayHidden;
  std::array<double, 25> fHourStart{};  // visible time of a shown day before each hour
  std::array<bool, 24> fHourHidden{};
};

}  // namespace vx
