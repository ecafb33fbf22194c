#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/ui/Accessible.h>

namespace vx {

class TvxGant_ComBasic;
class TGantRow;
class TvxDataEntity_Kronit;

// The Gantt area as assistive technology sees it: a list of the items of the
// rows on screen, each named by its first text and described by its start,
// finish and length in the chart's formats; links are relations. An item's id
// is its row's place in the row list and its place in that row (layers in
// order, loaded items only), looked up afresh on every call.
class VX_API TGantAccessible : public TvxAccessibleContent {
public:
  explicit TGantAccessible(TvxGant_ComBasic& theChart) : fChart(theChart) {}

  // The id of theItem; vxAccessibleNone for nil or an item outside a row.
  TvxAccessibleId IdOf(const TvxDataEntity_Kronit* theItem);
  // The item of theId; nil when it has gone.
  TvxDataEntity_Kronit* ItemOf(TvxAccessibleId theId);

  bool Exists(TvxAccessibleId theId) override;
  int ChildCount(TvxAccessibleId theId) override;
  TvxAccessibleId ChildAt(TvxAccessibleId theId, int theIndex) override;
  TvxAccessibleId Parent(TvxAccessibleId theId) override;
  int IndexInParent(TvxAccessibleId theId) override;
  TvxAccessibleRole Role(TvxAccessibleId theId) override;
  std::string Name(TvxAccessibleId theId) override;
  std::string Description(TvxAccessibleId theId) override;
  TvxAccessibleState State(TvxAccessibleId theId) override;
  TRect Bounds(TvxAccessibleId theId) override;
  TvxAccessibleId NodeAt(int x, int y) override;
  TvxAccessibleId Current() override;
  std::vector<TvxAccessibleRelation> Relations(TvxAccessibleId theId) override;

private:
  bool Live() const;
  // Loaded item theIndex of theRow, layers in order; nil outside.
  static TvxDataEntity_Kronit* ItemAt(const TGantRow* theRow, int theIndex);
  static int LoadedItems(const TGantRow* theRow);

  TvxGant_ComBasic& fChart;
};

}  // namespace vx
