// Geometry of the schedule: columns to pixels and back, the rectangles of
// bookings, hit testing, visibility, and the collision layout of each column.
#include <algorithm>
#include <cmath>
#include <set>

#include "platform/rtl/Math.h"
#include "platform/ui/Forms.h"
#include "schema/vxSchema.h"

namespace vx {

int TvxSchema_ComBasic::InlineLayoutLimit = 500;

int TvxSchema_ComBasic::FarPixel(double thePixel) {
  if (std::isnan(thePixel)) return 0;
  return static_cast<int>(std::clamp(thePixel, -static_cast<double>(kFarPixel), static_cast<double>(kFarPixel)));
}

// --- columns and pixels ---------------------------------------------------------------

void TvxSchema_ComBasic::ColumnToPixels(int theCol, int& theNear, int& theFar) {
  ColumnToPixels_fw(itsFlipView, theCol, theNear, theFar);
}

void TvxSchema_ComBasic::ColumnToPixels_fw(bool theFlipped, int theCol, int& theNear, int& theFar) {
  if (theCol < 0 || theCol >= itsDataListColumns->Count()) {
    theNear = theFar = -1;
    return;
  }
  theFar = itsDataListColumns->GetFarSideOffset_FW(theFlipped, theCol);
  theNear = theFar - itsDataListColumns->LiveSize(theFlipped, theCol);
}

int TvxSchema_ComBasic::PixelToColumn(int thePixel) {
  return itsDataListColumns->PixelToColumn_FW(itsFlipView, thePixel);
}

TvxDataEntity_SchemaColumn* TvxSchema_ComBasic::ColumnFromXY(TPoint thePoint) {
  return itsDataListColumns->GetColumn(PixelToColumn(itsFlipView ? thePoint.Y : thePoint.X));
}

void TvxSchema_ComBasic::GetPositionDateTimeAndCol(int X, int Y, TDateTime& theDateTime, int& theCol) {
  theDateTime = itsScaler->PixelToDate(itsFlipView ? X : Y);
  theCol = PixelToColumn(itsFlipView ? Y : X);
}

void TvxSchema_ComBasic::StartAndLengthFromRect(const TRect& theRect, TDateTime& theStart, TDateTime& theLength) {
  int across, from, to;
  if (itsFlipView) {
    across = theRect.Top + (theRect.Bottom - theRect.Top) / 2;
    from = theRect.Left;
    to = theRect.Right;
  } else {
    across = theRect.Left + (theRect.Right - theRect.Left) / 2;
    from = theRect.Top;
    to = theRect.Bottom;
  }
  TvxDataEntity_SchemaColumn* column = itsDataListColumns->GetColumn(PixelToColumn(across));
  const TDateTime start = itsScaler->PixelToDate(from);
  theStart = (column ? column->itsOffsetDate : 0) + start;
  theLength = itsScaler->PixelToDate(to) - start;
}

// --- the rectangle of a booking ---------------------------------------------------------

bool TvxSchema_ComBasic::HeaderPixelsFromStartStopFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity,
                                                                 int& theNear, int& theFar) {
  TvxDataEntity_SchemaTime* item = DataEntity_Schema(theDataEntity);
  const int col = item->itsCol;
  ColumnToPixels_fw(theFlipped, col, theNear, theFar);
  TvxDataEntity_SchemaColumn* column = itsDataListColumns->GetColumn(col);
  if (item->itsUseSubCol && column) {
    const int n = std::max(column->itsSubColCount, 1);
    const int w = Round(static_cast<double>(theFar - theNear) / n);
    theNear = FarPixel(theNear + static_cast<double>(w) * std::max(item->itsSubCol, 0));
    theFar = FarPixel(static_cast<double>(theNear) + w);
  }
  return true;
}

TDateTime TvxSchema_ComBasic::TimeOnAxis(TDateTime theTime) {
  // The axis is asked only about times of the calendar (years 1 to 9999):
  // anything beyond lies as far off the area as those.
  if (std::isnan(theTime)) return kFirstDay;
  return std::clamp(theTime, kFirstDay, kAfterLastDay);
}

bool TvxSchema_ComBasic::ScalerPixelsFromStartStopFromDataEntity(bool, TvxDataEntity* theDataEntity, int& theStart,
                                                                 int& theStop) {
  TDateTime start, stop;
  int col;
  GetStartStopDateAndCol(theDataEntity, start, stop, col);
  theStart = FarPixel(itsScaler->DateToPixel(TimeOnAxis(start)));
  theStop = FarPixel(itsScaler->DateToPixel(TimeOnAxis(stop)));
  // Short bookings stay visible and can be picked.
  if (theStop < theStart + 5) theStop = theStart + 5;
  return true;
}

bool TvxSchema_ComBasic::XStartStopFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity, int& theStart,
                                                  int& theStop) {
  return theFlipped ? ScalerPixelsFromStartStopFromDataEntity(theFlipped, theDataEntity, theStart, theStop)
                    : HeaderPixelsFromStartStopFromDataEntity(theFlipped, theDataEntity, theStart, theStop);
}

bool TvxSchema_ComBasic::YStartStopFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity, int& theStart,
                                                  int& theStop) {
  return theFlipped ? HeaderPixelsFromStartStopFromDataEntity(theFlipped, theDataEntity, theStart, theStop)
                    : ScalerPixelsFromStartStopFromDataEntity(theFlipped, theDataEntity, theStart, theStop);
}

bool TvxSchema_ComBasic::RectFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity, TRect& theRect) {
  TvxDataEntity_SchemaTime* item = DataEntity_Schema(theDataEntity);
  // A time that is not a number has no place on the axis.
  if (std::isnan(item->itsStartDateTime) || std::isnan(item->itsStopDateTime)) {
    theRect = NoRect();
    return false;
  }
  int nearEdge, farEdge, start, stop;
  HeaderPixelsFromStartStopFromDataEntity(theFlipped, item, nearEdge, farEdge);
  ScalerPixelsFromStartStopFromDataEntity(theFlipped, item, start, stop);
  const double n = static_cast<double>(nearEdge) + item->itsLeftInset;
  const double f = static_cast<double>(farEdge) - item->itsRightInset;
  const double sx = itsTA->GetScalex(), sy = itsTA->GetScaley();
  // Every edge stays within a range whose widths and offsets fit an int.
  auto at = [](double thePixel, double theScale) { return FarPixel(static_cast<double>(Round(thePixel * theScale))); };
  if (theFlipped)
    theRect = Rect(FarPixel(at(start, sx) + 1.0), at(n, sy), at(stop, sx), at(f, sy));
  else
    theRect = Rect(FarPixel(at(n, sx) + 1.0), at(start, sy), at(f, sx), at(stop, sy));
  if (!OnGetDrawingRect) return true;
  const bool shown = OnGetDrawingRect(this, item, theRect);
  theRect = Rect(FarPixel(theRect.Left), FarPixel(theRect.Top), FarPixel(theRect.Right), FarPixel(theRect.Bottom));
  return shown;
}

bool TvxSchema_ComBasic::Here(const TvxDataEntity* theItem) const {
  auto* item = dynamic_cast<const TvxDataEntity_SchemaTime*>(theItem);
  return item && !item->IsFreePending() && item->GetSchema() == this;
}

bool TvxSchema_ComBasic::VisibleHere(TvxDataEntity_SchemaTime* theItem) {
  return Here(theItem) && IsVisible(theItem) && Here(theItem);
}

bool TvxSchema_ComBasic::IsVisible(TvxDataEntity_SchemaTime* theSchemaTime) {
  bool runDefault = true, result = true;
  if (OnIsVisible) result = OnIsVisible(this, theSchemaTime, runDefault);
  if (!runDefault || !result) return result;
  TDateTime start, stop;
  int col;
  GetStartStopDateAndCol(theSchemaTime, start, stop, col);
  return itsScaler->GetStart() <= stop && itsScaler->GetStop() >= start;
}

// --- drawing order and hit testing ------------------------------------------------------

// The lists the walk over the draw layers visits, in order (a list named
// twice is visited twice).
struct TvxSchema_ComBasic::TDrawPlan {
  std::vector<TvxDataList*> lists;
  // Positions of theList in the walk; at most 11.
  template <class F>
  void ForEachPosition(const TvxDataList* theList, F&& f) const {
    for (size_t k = 0; k < lists.size(); ++k)
      if (lists[k] == theList) f(static_cast<int>(k));
  }
};

TvxSchema_ComBasic::TDrawPlan TvxSchema_ComBasic::MakeDrawPlan() {
  TDrawPlan plan;
  const int high = std::min({static_cast<int>(itsDrawLayerArray.size()), itsvxLayers->Count(),
                             TDataListTrav::MaxDrawingOrder});
  for (int k = 0; k < high; ++k) {
    const int layer = itsDrawLayerArray[static_cast<size_t>(k)];
    // Entries that name no layer are stepped over.
    if (layer < 0 || layer >= itsvxLayers->Count()) continue;
    if (TvxDataList* list = itsvxLayers->GetDataList(layer)) plan.lists.push_back(list);
  }
  return plan;
}

std::vector<TvxDataList*> TvxSchema_ComBasic::DrawnLists() {
  std::vector<TvxDataList*> lists;
  for (TvxDataList* list : MakeDrawPlan().lists)
    if (std::find(lists.begin(), lists.end(), list) == lists.end()) lists.push_back(list);
  return lists;
}

std::vector<TvxDataList*> TvxSchema_ComBasic::AllLayers() {
  std::vector<TvxDataList*> lists;
  for (int k = 0; k < itsvxLayers->Count(); ++k)
    if (TvxDataList* list = itsvxLayers->GetDataList(k)) lists.push_back(list);
  return lists;
}

TvxDataEntity_SchemaTime* TvxSchema_ComBasic::HitTestAll(int X, int Y) {
  // Each booking is asked where it lies, which may call out: the walk is over
  // a held snapshot.
  TvxHeldList<TvxDataEntity_SchemaTime> items;
  for (TvxDataList* list : MakeDrawPlan().lists)
    for (int i = 0; i < list->Count(); ++i) items.Add(dynamic_cast<TvxDataEntity_SchemaTime*>(list->GetItems(i)));
  TvxDataEntity_SchemaTime* hit = nullptr;
  items.ForEach([&](TvxDataEntity_SchemaTime* item) {
    TRect r;
    if (Here(item) && RectFromDataEntity(itsFlipView, item, r) && Here(item) && r.Contains(Point(X, Y))) hit = item;
    return hit == nullptr;
  });
  return hit;
}

TvxDataEntity_SchemaTime* TvxSchema_ComBasic::GetDataEntityFromXY(int X, int Y) {
  // A moved rectangle, or a booking reaching out of its column, may be
  // anywhere: then every booking is asked, in drawing order.
  if (OnGetDrawingRect || fNegativeInsetItems > 0) return HitTestAll(X, Y);
  const int across = itsFlipView ? Y : X;
  const int count = itsDataListColumns->Count();
  if (count == 0) return nullptr;
  // Before the columns' start only a column before the top-left one could
  // reach; they have no size, but the definition is kept.
  if (across < 0) return HitTestAll(X, Y);
  const TDrawPlan plan = MakeDrawPlan();
  // Only the column under the point, and those before it whose sub-columns
  // reach past their far edge, can hold a booking there. Nothing here calls
  // out (there is no OnGetDrawingRect), so the index is read as it stands.
  TvxDataEntity_SchemaTime* best = nullptr;
  std::pair<int, int> bestRank{INT_MAX, INT_MAX};
  for (int c = PixelToColumn(across); c >= 0; --c) {
    int nearEdge, farEdge;
    ColumnToPixels(c, nearEdge, farEdge);
    (void)nearEdge;
    if (farEdge + fSubColSpill <= across) break;
    for (TvxDataEntity_SchemaTime* item : fIndex.Items(c)) {
      TRect r;
      if (!RectFromDataEntity(itsFlipView, item, r) || !r.Contains(Point(X, Y))) continue;
      const int index = item->ListIndex();
      plan.ForEachPosition(item->GetDataList(), [&](int k) {
        if (std::make_pair(k, index) < bestRank) {
          bestRank = {k, index};
          best = item;
        }
      });
    }
  }
  return best;
}

void TvxSchema_ComBasic::CollectShownItems(int theFirst, int theLast, TvxHeldList<TvxDataEntity_SchemaTime>& theItems) {
  const TDrawPlan plan = MakeDrawPlan();
  const bool byTime = VisibilityFollowsTime();
  const double from = itsScaler->GetStart(), to = itsScaler->GetStop();
  // Widened a little: IsVisible decides exactly.
  const double slack = 1e-6 * (1 + std::fabs(from) + std::fabs(to));
  TvxHeldList<TvxDataEntity_SchemaTime> candidates;
  for (int c = theFirst; c <= theLast; ++c) {
    TvxDataEntity_SchemaColumn* column = itsDataListColumns->GetColumn(c);
    if (!column || itsDataListColumns->LiveSize(itsFlipView, c) <= 0) continue;
    if (byTime) {
      const double offset = column->itsOffsetDate;
      fIndex.ForEachMeeting(c, from + offset - slack, to + offset + slack,
                            [&](TvxDataEntity_SchemaTime* item) { candidates.Add(item); });
    } else {
      for (TvxDataEntity_SchemaTime* item : fIndex.Items(c)) candidates.Add(item);
    }
  }
  // Asked only now, and held: a visibility handler may change the bookings.
  struct Ranked {
    int pos, index;
    TvxDataEntity_SchemaTime* item;
  };
  std::vector<Ranked> ranked;
  candidates.ForEach([&](TvxDataEntity_SchemaTime* item) {
    if (!VisibleHere(item)) return;
    const int index = item->ListIndex();
    plan.ForEachPosition(item->GetDataList(), [&](int k) { ranked.push_back(Ranked{k, index, item}); });
  });
  // The walk over the draw layers, backwards: the first booking of the walk
  // is drawn last and lies on top.
  std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    return a.pos != b.pos ? a.pos > b.pos : a.index > b.index;
  });
  theItems.Clear();
  for (const Ranked& r : ranked) theItems.Add(r.item);
}

// --- the collision layout ---------------------------------------------------------------

void TvxSchema_ComBasic::UpdateSubColumns() {
  if (!itsCollisionDetect || IsDestroying()) return;
  TDoLater::DoLater(DoLaterCall<&TvxSchema_ComBasic::UpdateSubColumns_Perform>(this), nullptr);
}

bool TvxSchema_ComBasic::IsLayoutPending() const {
  return itsTimeDistinctGenericThread != nullptr ||
         TDoLater::AlreadyInList(
             DoLaterCall<&TvxSchema_ComBasic::UpdateSubColumns_Perform>(const_cast<TvxSchema_ComBasic*>(this)),
             nullptr);
}

void TvxSchema_ComBasic::MarkColumnDirty(int theCol) {
  if (!fAllColumnsDirty) fDirtyColumns.insert(theCol);
}

void TvxSchema_ComBasic::MarkAllColumnsDirty() {
  fAllColumnsDirty = true;
  fDirtyColumns.clear();
  fDirtyFrom = -1;
}

void TvxSchema_ComBasic::MarkColumnsFrom(int theCol) {
  theCol = std::max(theCol, 0);
  fDirtyFrom = fDirtyFrom < 0 ? theCol : std::min(fDirtyFrom, theCol);
  UpdateSubColumns();
  InvalidateArea();
}

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

}  // namespace

std::vector<int> TvxSchema_ComBasic::TakeColumnsToLayOut() {
  std::set<int> columns;
  const int count = itsDataListColumns->Count();
  // Every column holding bookings, asked for only when more than the
  // columns that changed may need a layout.
  const bool wide = fAllColumnsDirty || !VisibilityFollowsTime() || fDirtyFrom >= 0 || fCheckVisibleSets;
  const std::vector<int> keys = wide ? fIndex.Columns() : std::vector<int>();
  if (fAllColumnsDirty || !VisibilityFollowsTime()) {
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
      // The window moved: the columns whose visible bookings changed, each
      // asked only about the bookings that meet the window.
      const double from = itsScaler->GetStart(), to = itsScaler->GetStop();
      const double slack = 1e-6 * (1 + std::fabs(from) + std::fabs(to));
      for (int k : keys) {
        if (columns.count(k)) continue;
        // Held: the visibility handler may change the bookings.
        TvxHeldList<TvxDataEntity_SchemaTime> items;
        if (TvxDataEntity_SchemaColumn* column = itsDataListColumns->GetColumn(k)) {
          const double offset = column->itsOffsetDate;
          fIndex.ForEachMeeting(k, from + offset - slack, to + offset + slack,
                                [&](TvxDataEntity_SchemaTime* item) { items.Add(item); });
        } else {
          for (TvxDataEntity_SchemaTime* item : fIndex.Items(k)) items.Add(item);  // outside the list: times read as 0
        }
        std::uint64_t hash = 0;
        int n = 0;
        items.ForEach([&](TvxDataEntity_SchemaTime* item) {
          if (VisibleHere(item)) {
            hash += Mix(item);
            ++n;
          }
        });
        auto laid = fLaidVisible.find(k);
        if (laid == fLaidVisible.end() ? n > 0 : (laid->second.first != hash || laid->second.second != n))
          columns.insert(k);
      }
    }
  }
  fAllColumnsDirty = false;
  fDirtyColumns.clear();
  fDirtyFrom = -1;
  fCheckVisibleSets = false;
  return std::vector<int>(columns.begin(), columns.end());
}

int TvxSchema_ComBasic::LayerIndexOf(TvxDataList* theList) {
  return itsvxLayers->IndexOf(theList);
}

void TvxSchema_ComBasic::OrderedItems(const std::vector<int>& theColumns,
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
    for (TvxDataEntity_SchemaTime* item : fIndex.Items(c)) {
      const int layer = layerOf(item->GetDataList());
      if (layer >= 0) ranked.push_back(Ranked{layer, item->ListIndex(), item});
    }
  std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    return a.layer != b.layer ? a.layer < b.layer : a.index < b.index;
  });
  theItems.Clear();
  for (const Ranked& r : ranked) theItems.Add(r.item);
}

void TvxSchema_ComBasic::FillHolders(const TvxHeldList<TvxDataEntity_SchemaTime>& theItems,
                                     TDistinctTimeHolderList* theList) {
  theItems.ForEach([&](TvxDataEntity_SchemaTime* item) {
    // A time that is not a number cannot be ordered against the others.
    if (!VisibleHere(item) || std::isnan(item->itsStartDateTime) ||
        std::isnan(item->itsStopDateTime))
      return;
    // The column stays in the key even across layers: bookings of different
    // resources never collide.
    std::string key = itsCollisionDetectBetweenDataList ? std::string()
                                                        : std::to_string(LayerIndexOf(item->GetDataList()));
    key += '*';
    key += std::to_string(item->itsCol);
    theList->Add(ToSecond(item->itsStartDateTime), ToSecond(item->itsStopDateTime), key, item);
  });
}

void TvxSchema_ComBasic::UpdateSubColumns_Perform(TObject*) {
  if (IsDestroying() || !itsCollisionDetect) return;
  try {
    if (itsTimeDistinctGenericThread) {
      // A newer layout replaces the running one, which is never applied.
      for (int c : fInFlightColumns) MarkColumnDirty(c);
      CleanUpThread();
    }
    const std::vector<int> columns = TakeColumnsToLayOut();
    if (columns.empty()) return;
    TvxHeldList<TvxDataEntity_SchemaTime> items;
    OrderedItems(columns, items);
    if (static_cast<int>(items.Size()) <= InlineLayoutLimit ||
        TTimeDistinctGenericThread::ThreadCount() >= TTimeDistinctGenericThread::MaxThreads) {
      TDistinctTimeHolderList list;
      FillHolders(items, &list);
      TTimeDistinctGeneric engine(&list);
      engine.ResolveConflicts();
      try {
        ApplyLayout(columns, &list, items);
      } catch (const std::exception& e) {
        ShowMessage(std::string("SubColThreadDone:") + e.what());
      }
      return;
    }
    auto* thread = new TTimeDistinctGenericThread();
    itsTimeDistinctGenericThread = thread;
    fInFlightColumns = columns;
    FillHolders(items, thread->GetList());
    thread->fOnDone = [this](TObject* Sender) { SubColThreadDone(Sender); };
    thread->Start();
  } catch (const std::exception& e) {
    ShowMessage(std::string("UpdateSubColumns exception:") + e.what());
  }
}

void TvxSchema_ComBasic::SubColThreadDone(TObject* Sender) {
  if (Sender != itsTimeDistinctGenericThread || IsDestroying()) return;
  auto* thread = static_cast<TTimeDistinctGenericThread*>(Sender);
  const std::vector<int> columns = std::move(fInFlightColumns);
  fInFlightColumns.clear();
  // Bookings of these columns changed meanwhile: the result is out of date
  // (and may name bookings that went), the next layout takes them.
  bool stale = fAllColumnsDirty;
  for (int c : columns) stale = stale || fDirtyColumns.count(c) || (fDirtyFrom >= 0 && c >= fDirtyFrom);
  if (stale) {
    for (int c : columns) MarkColumnDirty(c);
    CleanUpThread();
    UpdateSubColumns();
    return;
  }
  try {
    TvxHeldList<TvxDataEntity_SchemaTime> items;
    OrderedItems(columns, items);
    ApplyLayout(columns, thread->GetList(), items);
  } catch (const std::exception& e) {
    ShowMessage(std::string("SubColThreadDone:") + e.what());
  }
  CleanUpThread();
}

void TvxSchema_ComBasic::ApplyLayout(const std::vector<int>& theColumns, TDistinctTimeHolderList* theList,
                                     const TvxHeldList<TvxDataEntity_SchemaTime>& theItems) {
  for (int c : theColumns)
    if (TvxDataEntity_SchemaColumn* column = itsDataListColumns->GetColumn(c)) column->itsSubColCount = 1;
  std::unordered_map<int, std::pair<std::uint64_t, int>> visible;
  for (int c : theColumns) visible[c] = {0, 0};
  // The visibility and collision handlers may delete bookings and columns:
  // the bookings are held, the columns looked up after each call.
  theItems.ForEach([&](TvxDataEntity_SchemaTime* item) {
    if (!VisibleHere(item)) return;
    auto& seen = visible[item->itsCol];
    seen.first += Mix(item);
    ++seen.second;
    TDistinctTimeHolder* holder = theList->FindFromReference(item);
    if (!holder) return;
    const int p = holder->GetDistinctPosition();
    if (p - 1 != item->itsSubCol && OnCollisionDetected) {
      OnCollisionDetected(this, item, p);
      if (!Here(item)) return;
    }
    item->itsUseSubCol = p != 0;
    item->itsSubCol = p - 1;
    TvxDataEntity_SchemaColumn* column = itsDataListColumns->GetColumn(item->itsCol);
    if (column && column->itsSubColCount - 1 < item->itsSubCol) {
      column->itsSubColCount = item->itsSubCol + 1;
      fSubColSpill = std::max(fSubColSpill, column->itsSubColCount / 2 + 1);
    }
  });
  for (const auto& [c, seen] : visible) {
    if (seen.second == 0)
      fLaidVisible.erase(c);
    else
      fLaidVisible[c] = seen;
  }
  // Columns that grow with their sub-columns take their new sizes.
  if (fSubColumnSize > 0) {
    for (int c : theColumns) itsDataListColumns->ShowSize(c);
    UpdateColumnScrollerLater();
  }
  InvalidateArea();
}

void TvxSchema_ComBasic::CleanUpThread() { TTimeDistinctGenericThread::FreeAndCleanUp(itsTimeDistinctGenericThread); }

}  // namespace vx
