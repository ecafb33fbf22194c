// The schedule's collision layout: the columns out of date, the bookings a
// run lays out, and the hand-over of its result.
#include <vxplan/schema/vxSchemaSubColumns.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include <vxplan/platform/rtl/Math.h>
#include <vxplan/schema/vxSchema.h>

namespace vx {

namespace {

// A fingerprint of a set of bookings: equal sets give equal values.
std::uint64_t Mix(const void* p) {
  std::uint64_t x = reinterpret_cast<std::uintptr_t>(p);
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdull;
  x ^= x >> 33;
  return x;
}

// Whole seconds, so that times a hair apart do not collide.
double ToSecond(double t) {
  if (!std::isfinite(t)) return t;
  const double midnight = std::floor(t);
  return midnight + static_cast<double>(Round64((t - midnight) / OneSecond)) * OneSecond;
}

// Small layouts run inline; when every worker is taken, so do large ones.
TLayoutPolicy SchemaPolicy() {
  TLayoutPolicy policy;
  policy.fInlineLimit = &TvxSchema_ComBasic::InlineLayoutLimit;
  policy.fWhenBusy = lwbRunInline;
  policy.fApplyError = "SubColThreadDone:";
  return policy;
}

}  // namespace

TSchemaSubColumns::TSchemaSubColumns(TvxSchema_ComBasic* theSchema)
    : fSchema(theSchema), fJob(this, SchemaPolicy()) {}

void TSchemaSubColumns::MarkColumnDirty(int theCol) {
  if (!fAllColumnsDirty) fDirtyColumns.insert(theCol);
}

void TSchemaSubColumns::MarkAllColumnsDirty() {
  fAllColumnsDirty = true;
  fDirtyColumns.clear();
  fDirtyFrom = -1;
}

void TSchemaSubColumns::MarkColumnsFrom(int theCol) {
  theCol = std::max(theCol, 0);
  fDirtyFrom = fDirtyFrom < 0 ? theCol : std::min(fDirtyFrom, theCol);
}

// --- what a run takes -------------------------------------------------------------------

bool TSchemaSubColumns::LayoutTake(int& theSize) {
  if (fSchema->IsDestroying() || !fSchema->itsCollisionDetect) return false;
  fTaken = TakeColumnsToLayOut();
  if (fTaken.empty()) return false;
  OrderedItems(fTaken, fItems);
  theSize = static_cast<int>(fItems.Size());
  return true;
}

void TSchemaSubColumns::LayoutFill(TDistinctTimeHolderList* theList) {
  FillHolders(fItems, theList);
  fItems.Clear();
}

void TSchemaSubColumns::LayoutApply(TDistinctTimeHolderList* theList) {
  // Looked up afresh: a worker's result comes back after the event loop.
  const std::vector<int> columns = fTaken;
  TvxHeldList<TvxDataEntity_SchemaTime> items;
  OrderedItems(columns, items);
  ApplyLayout(columns, theList, items);
}

bool TSchemaSubColumns::LayoutCurrent() {
  // Bookings of these columns changed meanwhile: the result is out of date
  // (and may name bookings that went).
  if (fAllColumnsDirty) return false;
  for (int c : fTaken)
    if (fDirtyColumns.count(c) || (fDirtyFrom >= 0 && c >= fDirtyFrom)) return false;
  return true;
}

void TSchemaSubColumns::LayoutDropped() {
  // The next run takes these columns again.
  for (int c : fTaken) MarkColumnDirty(c);
  fItems.Clear();
}

std::vector<int> TSchemaSubColumns::TakeColumnsToLayOut() {
  std::set<int> columns;
  const int count = fSchema->itsDataListColumns->Count();
  const bool byTime = fSchema->VisibilityFollowsTime();
  // Every column holding bookings, asked for only when more than the
  // columns that changed may need a layout.
  const bool wide = fAllColumnsDirty || !byTime || fDirtyFrom >= 0 || fCheckVisibleSets;
  const std::vector<int> keys = wide ? fSchema->fIndex.Columns() : std::vector<int>();
  if (fAllColumnsDirty || !byTime) {
    columns.insert(keys.begin(), keys.end());
    for (int c = 0; c < count; ++c) columns.insert(c);
  } else {
    columns.insert(fDirtyColumns.begin(), fDirtyColumns.end());
    if (fDirtyFrom >= 0) {
      for (int k : keys)
        if (k >= fDirtyFrom) columns.insert(k);
      for (int c = fDirtyFrom; c < count; ++c) columns.insert(c);
    }
    if (fCheckVisibleSets) {
      // The window moved: the columns whose visible bookings changed.
      const double from = fSchema->itsScaler->GetStart(), to = fSchema->itsScaler->GetStop();
      for (int k : keys)
        if (!columns.count(k) && VisibleSetChanged(k, from, to)) columns.insert(k);
    }
  }
  fAllColumnsDirty = false;
  fDirtyColumns.clear();
  fDirtyFrom = -1;
  fCheckVisibleSets = false;
  return std::vector<int>(columns.begin(), columns.end());
}

bool TSchemaSubColumns::VisibleSetChanged(int k, double theFrom, double theTo) {
  // Asked only about the bookings that meet the window; held, as the
  // visibility handler may change the bookings.
  const double slack = 1e-6 * (1 + std::fabs(theFrom) + std::fabs(theTo));
  TvxHeldList<TvxDataEntity_SchemaTime> items;
  if (TvxDataEntity_SchemaColumn* column = fSchema->itsDataListColumns->GetColumn(k)) {
    const double offset = column->GetOffsetDate();
    fSchema->fIndex.ForEachMeeting(k, theFrom + offset - slack, theTo + offset + slack,
                                   [&](TvxDataEntity_SchemaTime* item) { items.Add(item); });
  } else {  // outside the list: times read as 0
    for (TvxDataEntity_SchemaTime* item : fSchema->fIndex.Items(k)) items.Add(item);
  }
  std::uint64_t hash = 0;
  int n = 0;
  items.ForEach([&](TvxDataEntity_SchemaTime* item) {
    if (fSchema->VisibleHere(item)) {
      hash += Mix(item);
      ++n;
    }
  });
  auto laid = fLaidVisible.find(k);
  return laid == fLaidVisible.end() ? n > 0 : (laid->second.first != hash || laid->second.second != n);
}

int TSchemaSubColumns::LayerIndexOf(TvxDataList* theList) { return fSchema->itsvxLayers->IndexOf(theList); }

void TSchemaSubColumns::OrderedItems(const std::vector<int>& theColumns,
                                     TvxHeldList<TvxDataEntity_SchemaTime>& theItems) {
  // Every booking of the columns, in the walk over all layers, each in list order.
  struct Ranked {
    int layer, index;
    TvxDataEntity_SchemaTime* item;
  };
  std::vector<Ranked> ranked;
  std::vector<std::pair<TvxDataList*, int>> layers;  // few: looked up linearly
  auto layerOf = [&](TvxDataList* list) {
    for (const auto& [l, k] : layers)
      if (l == list) return k;
    layers.emplace_back(list, LayerIndexOf(list));
    return layers.back().second;
  };
  for (int c : theColumns)
    for (TvxDataEntity_SchemaTime* item : fSchema->fIndex.Items(c)) {
      const int layer = layerOf(item->GetDataList());
      if (layer >= 0) ranked.push_back(Ranked{layer, item->ListIndex(), item});
    }
  std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    return a.layer != b.layer ? a.layer < b.layer : a.index < b.index;
  });
  theItems.Clear();
  for (const Ranked& r : ranked) theItems.Add(r.item);
}

void TSchemaSubColumns::FillHolders(const TvxHeldList<TvxDataEntity_SchemaTime>& theItems,
                                    TDistinctTimeHolderList* theList) {
  theItems.ForEach([&](TvxDataEntity_SchemaTime* item) {
    // A time that is not a number cannot be ordered against the others.
    if (!fSchema->VisibleHere(item) || std::isnan(item->GetStartDateTime()) || std::isnan(item->GetStopDateTime()))
      return;
    // The column stays in the key even across layers: bookings of different
    // resources never collide.
    std::string key = fSchema->itsCollisionDetectBetweenDataList ? std::string()
                                                                 : std::to_string(LayerIndexOf(item->GetDataList()));
    key += '*';
    key += std::to_string(item->GetCol());
    theList->Add(ToSecond(item->GetStartDateTime()), ToSecond(item->GetStopDateTime()), key, item);
  });
}

// --- the hand-over ----------------------------------------------------------------------

void TSchemaSubColumns::ApplyLayout(const std::vector<int>& theColumns, TDistinctTimeHolderList* theList,
                                    const TvxHeldList<TvxDataEntity_SchemaTime>& theItems) {
  TvxSchema_ComBasic* s = fSchema;  // the control itself outlives its handlers
  for (int c : theColumns)
    if (TvxDataEntity_SchemaColumn* column = s->itsDataListColumns->GetColumn(c)) column->itsSubColCount = 1;
  std::unordered_map<int, std::pair<std::uint64_t, int>> visible;
  for (int c : theColumns) visible[c] = {0, 0};
  // The visibility and collision handlers may delete bookings and columns:
  // the bookings are held, the columns looked up after each call.
  theItems.ForEach([&](TvxDataEntity_SchemaTime* item) {
    if (!s->VisibleHere(item)) return;
    auto& seen = visible[item->itsCol];
    seen.first += Mix(item);
    ++seen.second;
    TDistinctTimeHolder* holder = theList->FindFromReference(item);
    if (!holder) return;
    const int p = holder->GetDistinctPosition();
    if (p - 1 != item->itsSubCol && s->OnCollisionDetected) {
      s->OnCollisionDetected(s, item, p);
      if (!s->Here(item)) return;
    }
    item->itsUseSubCol = p != 0;
    item->itsSubCol = p - 1;
    TvxDataEntity_SchemaColumn* column = s->itsDataListColumns->GetColumn(item->itsCol);
    if (column && column->itsSubColCount - 1 < item->itsSubCol) {
      column->itsSubColCount = item->itsSubCol + 1;
      s->fSubColSpill = std::max(s->fSubColSpill, column->itsSubColCount / 2 + 1);
    }
  });
  for (const auto& [c, seen] : visible) {
    if (seen.second == 0)
      fLaidVisible.erase(c);
    else
      fLaidVisible[c] = seen;
  }
  // Columns that grow with their sub-columns take their new sizes.
  if (s->fSubColumnSize > 0) {
    for (int c : theColumns) s->itsDataListColumns->ShowSize(c);
    s->UpdateColumnScrollerLater();
  }
  s->InvalidateArea();
}

}  // namespace vx
