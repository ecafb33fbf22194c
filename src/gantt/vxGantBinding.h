#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/gantt/vxGantItems.h>

namespace vx {

// The private route by which a binding (a chart that shows another model's
// data) hears the user's edits, without taking the chart's On… events, which
// stay the application's. A chart has at most one; the binding sets and
// clears it (SetBindingListener).
//
// Each call is a call out: the binding may change or delete any item, row or
// node, so the chart reads only what it holds afterwards.
class VX_API TGantBindingListener {
public:
  // An item's times or look were pushed (a move or resize ended, DoInfoPush).
  virtual void BindingItemEdited(TvxDataEntity_Kronit* theItem) = 0;
  // A node's text was edited in place.
  virtual void BindingNodeEdited(TvxDataEntity_Tree* theNode) = 0;
  // A copy or a change of row made with the mouse that no OnTimeCopy or
  // OnTimeChangeRow handler takes: the same contract as those handlers.
  virtual void BindingCopy(TvxGant_ComBasic* theGant, TvxDataEntity_Kronit* theItem, TGantRow* theRow,
                           TGantRow* theNewRow, TDateTime theStart, TDateTime theStop,
                           TvxDataEntity_Kronit*& theNewItem) = 0;
  virtual void BindingChangeRow(TvxGant_ComBasic* theGant, TvxDataEntity_Kronit* theItem, TGantRow* theRow,
                                TGantRow* theNewRow, TDateTime theStart, TDateTime theStop,
                                TvxDataEntity_Kronit*& theNewItem) = 0;
  // The chart is being destroyed; its items, rows and nodes are still whole.
  virtual void BindingChartGone() = 0;

protected:
  ~TGantBindingListener() = default;
};

}  // namespace vx
