#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>
#include <vector>

#include <vxplan/gantt/vxGantItems.h>

namespace vx {

class TvxGant_ComBasic;

// The chart on a tab of its page control, beside the application's own
// sheets, whose handlers hear the pages change and the tree's current row.
class VX_API TGantTabSheets {
public:
  explicit TGantTabSheets(TvxGant_ComBasic& theChart) : fChart(theChart) {}
  TGantTabSheets(const TGantTabSheets&) = delete;
  TGantTabSheets& operator=(const TGantTabSheets&) = delete;

  bool GetUseTabSheets() const;
  void SetUseTabSheets(bool v);
  void AddTabSheet(TTabSheet* theSheet, TTabSheetTreeChange h1, TTabSheetChanging h2, TNotifyEvent h3,
                   TNotifyEvent h4);
  // The page control's own change events, heard before the application's.
  void PageChanging(TObject* Sender, bool& AllowChange);
  void PageChange(TObject* Sender);
  void ChangeInTree();
  // An application's sheet went: its record hears nothing more.
  void SheetGone(TComponent* theSheet) noexcept;
  // The records go with the chart's children.
  void Clear() noexcept { fTreeChangeNotifyList.clear(); }

private:
  TvxGant_ComBasic& fChart;
  std::vector<std::unique_ptr<TTabSheetRecord>> fTreeChangeNotifyList;
};

}  // namespace vx
