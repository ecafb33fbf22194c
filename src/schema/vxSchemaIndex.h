#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vx {

class TvxDataEntity_SchemaTime;

// The bookings of a schedule grouped by their column index, each group
// sorted by start when asked (after changes), with the running maximum of
// the stops in that order. The bookings of one column that meet a time
// window are then found by two binary searches and a scan of little more
// than the answer, whatever else the column holds.
class VX_API TSchemaTimeIndex {
public:
  // Enters a booking under its current column.
  void Add(TvxDataEntity_SchemaTime* theItem);
  // Takes a booking out of the column it was entered under.
  void Remove(TvxDataEntity_SchemaTime* theItem);
  // The booking's column changed from theOldCol to its current one.
  void Moved(TvxDataEntity_SchemaTime* theItem, int theOldCol);
  // The booking's start or stop changed.
  void TimesChanged(TvxDataEntity_SchemaTime* theItem);
  void Clear();

  // The bookings of a column, in start order; empty for a column without any.
  const std::vector<TvxDataEntity_SchemaTime*>& Items(int theCol);
  // Bookings of a column whose start is at most theTo and whose stop is at
  // least theFrom (absolute times), in start order.
  template <class F>
  void ForEachMeeting(int theCol, double theFrom, double theTo, F&& f);
  // Every column index that holds bookings.
  std::vector<int> Columns() const;
  std::size_t Count() const noexcept { return fCount; }
  // Heap bytes the index takes, for the memory figures.
  std::size_t MemoryBytes() const;

private:
  struct Column {
    std::vector<TvxDataEntity_SchemaTime*> items;
    std::vector<double> maxStop;  // running maximum of the stops, in items' order
    bool sorted = true;
  };
  Column* Find(int theCol);
  void Sort(Column& theColumn);
  // [first, last) of the sorted items that may meet [theFrom, theTo].
  static void Range(const Column& theColumn, double theFrom, double theTo, std::size_t& theFirst,
                    std::size_t& theLast);
  static double StopOf(const TvxDataEntity_SchemaTime* theItem);

  std::unordered_map<int, Column> fColumns;
  std::size_t fCount = 0;
  static const std::vector<TvxDataEntity_SchemaTime*> kNone;
};

template <class F>
void TSchemaTimeIndex::ForEachMeeting(int theCol, double theFrom, double theTo, F&& f) {
  Column* c = Find(theCol);
  if (!c || c->items.empty()) return;
  if (!c->sorted) Sort(*c);
  std::size_t first = 0, last = 0;
  Range(*c, theFrom, theTo, first, last);
  for (std::size_t k = first; k < last; ++k)
    if (StopOf(c->items[k]) >= theFrom) f(c->items[k]);
}

}  // namespace vx
