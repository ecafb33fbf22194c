#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/ui/Controls.h>

namespace vx {

class TvxGant_ComBasic;
class TGantRow;
class TvxDataEntity_Kronit;

// The Gantt area's keys: the arrow keys, Home, End and Space walk the active
// item through a layer of its row and across rows; Escape ends a drag.
class VX_API TGantKeys {
public:
  explicit TGantKeys(TvxGant_ComBasic& theChart) : fChart(theChart) {}
  TGantKeys(const TGantKeys&) = delete;
  TGantKeys& operator=(const TGantKeys&) = delete;

  void KeyDown(unsigned short& Key, TShiftState Shift);

private:
  // The item theKey walks to from theActive in theRow; nil for none.
  TvxDataEntity_Kronit* KeyTarget(unsigned short theKey, TvxDataEntity_Kronit* theActive, TGantRow* theRow);

  TvxGant_ComBasic& fChart;
};

}  // namespace vx
