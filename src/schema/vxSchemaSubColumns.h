#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <vxplan/core/vxHolding.h>
#include <vxplan/timeitems/vxLayoutJob.h>

namespace vx {

class TvxSchema_ComBasic;
class TvxDataEntity_SchemaTime;
class TvxDataList;

// The schedule's collision layout: which columns are out of date, what a run
// takes of them, and how its result reaches the bookings. The lifecycle
// (deferral, worker, stale results) is the layout job's.
class VX_API TSchemaSubColumns : private TLayoutJobClient {
public:
  explicit TSchemaSubColumns(TvxSchema_ComBasic* theSchema);

  void Request() { fJob.Request(); }
  // Drops what waits or runs.
  void Cancel() { fJob.Cancel(); }
  bool IsPending() const { return fJob.IsPending(); }
  void MarkColumnDirty(int theCol);
  void MarkAllColumnsDirty();
  // Every column from theCol on (bookings refer to columns by index).
  void MarkColumnsFrom(int theCol);
  // The scaler's window moved: columns whose visible bookings changed re-lay.
  void WindowMoved() noexcept { fCheckVisibleSets = true; }

private:
  bool LayoutTake(int& theSize) override;
  void LayoutFill(TDistinctTimeHolderList* theList) override;
  void LayoutApply(TDistinctTimeHolderList* theList) override;
  bool LayoutCurrent() override;
  void LayoutDropped() override;

  std::vector<int> TakeColumnsToLayOut();
  // Whether column k's visible bookings differ from those of its last layout.
  bool VisibleSetChanged(int k, double theFrom, double theTo);
  // The bookings of the columns, in the walk over all layers.
  void OrderedItems(const std::vector<int>& theColumns, TvxHeldList<TvxDataEntity_SchemaTime>& theItems);
  void FillHolders(const TvxHeldList<TvxDataEntity_SchemaTime>& theItems, TDistinctTimeHolderList* theList);
  void ApplyLayout(const std::vector<int>& theColumns, TDistinctTimeHolderList* theList,
                   const TvxHeldList<TvxDataEntity_SchemaTime>& theItems);
  int LayerIndexOf(TvxDataList* theList);

  TvxSchema_ComBasic* fSchema;
  // Columns whose layout is out of date (every one with fAllColumnsDirty).
  std::unordered_set<int> fDirtyColumns;
  bool fAllColumnsDirty = true;
  int fDirtyFrom = -1;  // every column from here on, when not -1
  bool fCheckVisibleSets = false;
  // The columns of the last run (while a worker runs: its columns), and
  // their bookings between taking and filling.
  std::vector<int> fTaken;
  TvxHeldList<TvxDataEntity_SchemaTime> fItems;
  // Fingerprint and count of each column's visible bookings at its last layout.
  std::unordered_map<int, std::pair<std::uint64_t, int>> fLaidVisible;
  TLayoutJob fJob;  // last: it goes first
};

}  // namespace vx
