// The per-column index of a schedule's bookings.
#include <vxplan/schema/vxSchemaIndex.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include <vxplan/schema/vxSchema.h>

namespace vx {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Starts that are not numbers sort last and meet no window.
double StartKey(const TvxDataEntity_SchemaTime* theItem) {
  const double s = theItem->GetStartDateTime();
  return std::isnan(s) ? kInf : s;
}

}  // namespace

const std::vector<TvxDataEntity_SchemaTime*> TSchemaTimeIndex::kNone;

double TSchemaTimeIndex::StopOf(const TvxDataEntity_SchemaTime* theItem) {
  const double s = theItem->GetStopDateTime();
  return std::isnan(s) ? -kInf : s;
}

TSchemaTimeIndex::Column* TSchemaTimeIndex::Find(int theCol) {
  auto it = fColumns.find(theCol);
  return it == fColumns.end() ? nullptr : &it->second;
}

void TSchemaTimeIndex::Add(TvxDataEntity_SchemaTime* theItem) {
  if (theItem->fIndexPos >= 0) return;  // entered already
  Column& c = fColumns[theItem->itsCol];
  theItem->fIndexPos = static_cast<int>(c.items.size());
  c.items.push_back(theItem);
  c.sorted = false;
  ++fCount;
}

void TSchemaTimeIndex::Remove(TvxDataEntity_SchemaTime* theItem) {
  const int pos = theItem->fIndexPos;
  Column* c = pos >= 0 ? Find(theItem->itsCol) : nullptr;
  if (!c || pos >= static_cast<int>(c->items.size()) || c->items[static_cast<size_t>(pos)] != theItem) return;
  // The last one fills the gap: the order is restored by the next sort.
  TvxDataEntity_SchemaTime* last = c->items.back();
  c->items[static_cast<size_t>(pos)] = last;
  last->fIndexPos = pos;
  c->items.pop_back();
  if (last != theItem) c->sorted = false;
  c->maxStop.resize(std::min(c->maxStop.size(), c->items.size()));
  theItem->fIndexPos = -1;
  --fCount;
  if (c->items.empty()) fColumns.erase(theItem->itsCol);
}

void TSchemaTimeIndex::Moved(TvxDataEntity_SchemaTime* theItem, int theOldCol) {
  if (theItem->fIndexPos < 0) return;
  const int now = theItem->itsCol;
  theItem->itsCol = theOldCol;
  Remove(theItem);
  theItem->itsCol = now;
  Add(theItem);
}

void TSchemaTimeIndex::TimesChanged(TvxDataEntity_SchemaTime* theItem) {
  if (theItem->fIndexPos < 0) return;
  if (Column* c = Find(theItem->itsCol)) c->sorted = false;
}

void TSchemaTimeIndex::Clear() {
  for (auto& [col, c] : fColumns)
    for (TvxDataEntity_SchemaTime* e : c.items) e->fIndexPos = -1;
  fColumns.clear();
  fCount = 0;
}

void TSchemaTimeIndex::Sort(Column& theColumn) {
  std::vector<TvxDataEntity_SchemaTime*>& items = theColumn.items;
  std::stable_sort(items.begin(), items.end(), [](const TvxDataEntity_SchemaTime* a, const TvxDataEntity_SchemaTime* b) {
    return StartKey(a) < StartKey(b);
  });
  theColumn.maxStop.resize(items.size());
  double running = -kInf;
  for (size_t k = 0; k < items.size(); ++k) {
    items[k]->fIndexPos = static_cast<int>(k);
    running = std::max(running, StopOf(items[k]));
    theColumn.maxStop[k] = running;
  }
  theColumn.sorted = true;
}

void TSchemaTimeIndex::Range(const Column& theColumn, double theFrom, double theTo, std::size_t& theFirst,
                             std::size_t& theLast) {
  const std::vector<TvxDataEntity_SchemaTime*>& items = theColumn.items;
  // Past the last start at most theTo ...
  theLast = static_cast<size_t>(
      std::upper_bound(items.begin(), items.end(), theTo,
                       [](double t, const TvxDataEntity_SchemaTime* e) { return t < StartKey(e); }) -
      items.begin());
  // ... and from the first one from which some stop reaches theFrom.
  theFirst = static_cast<size_t>(std::lower_bound(theColumn.maxStop.begin(), theColumn.maxStop.end(), theFrom) -
                                 theColumn.maxStop.begin());
  theFirst = std::min(theFirst, theLast);
}

const std::vector<TvxDataEntity_SchemaTime*>& TSchemaTimeIndex::Items(int theCol) {
  Column* c = Find(theCol);
  if (!c) return kNone;
  if (!c->sorted) Sort(*c);
  return c->items;
}

std::vector<int> TSchemaTimeIndex::Columns() const {
  std::vector<int> cols;
  cols.reserve(fColumns.size());
  for (const auto& [col, c] : fColumns) cols.push_back(col);
  std::sort(cols.begin(), cols.end());
  return cols;
}

std::size_t TSchemaTimeIndex::MemoryBytes() const {
  std::size_t bytes = fColumns.bucket_count() * sizeof(void*);
  for (const auto& [col, c] : fColumns)
    bytes += sizeof(std::pair<const int, Column>) + 16 + c.items.capacity() * sizeof(void*) +
             c.maxStop.capacity() * sizeof(double);
  return bytes;
}

}  // namespace vx
