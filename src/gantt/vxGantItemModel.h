#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <unordered_set>
#include <vector>

#include <vxplan/core/vxHolding.h>
#include <vxplan/gantt/vxGantItems.h>

namespace vx {

class TvxGant_ComBasic;

// The chart's listener on its items' list controller: texts for new and
// loaded items, repaints and sub-columns on changes, the application's item
// events; and which items a copy or a change of row handed back alive.
class VX_API TGantItemModel {
public:
  // Gives an item its text collection, hooked to the chart's font chooser.
  void GiveTexts(TvxDataEntity_Kronit* theItem);
  explicit TGantItemModel(TvxGant_ComBasic& theChart);
  TGantItemModel(const TGantItemModel&) = delete;
  TGantItemModel& operator=(const TGantItemModel&) = delete;

  TvxListController* Controller() noexcept { return &fController; }
  // Runs the application's copy or row change; nils theNewItem when the
  // application deleted it again.
  void AskForNewItem(const TOnTimeCopyOrMove& theHandler, TvxDataEntity_Kronit* theItem, TGantRow* theRow,
                     TGantRow* theNewRow, TDateTime theStart, TDateTime theStop, TvxDataEntity_Kronit*& theNewItem);

private:
  // The items inserted and deleted while the application answers a copy or a
  // change of row, so that the item it hands back is known to be alive.
  struct TCallOutItems {
    std::vector<TvxHeld<TvxDataEntity_Kronit>> fInserted;
    std::unordered_set<const void*> fDeleted;
    bool Alive(const TvxDataEntity_Kronit* theItem) const;
  };

  void _InsertItem_Kronit(TvxDataEntity* e);
  void _DeleteItem_Kronit(TvxDataEntity* e);
  void _ContentChanged_Kronit(TvxDataList* l);
  void _SelectionChanged_Kronit(TvxDataList* l, TvxDataEntity* e);
  void _InfoPush_Kronit(TvxDataEntity* e);
  void _LoadItem_Kronit(TvxDataEntity* e);
  void _UnLoadItem_Kronit(TvxDataEntity* e, bool& CanUnload);
  void _OnTimeItemSyleSet(TvxTimeItemTextCollection* theCollection, TCanvas* theCanvas, int theStyle);

  TvxGant_ComBasic& fChart;
  TvxListController fController;
  TCallOutItems* fCallOutItems = nullptr;
};

}  // namespace vx
