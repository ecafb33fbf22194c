#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/Controls.h>

namespace vx {

class TvxGant_ComBasic;
class TGantRow;
class TvxDataEntity_Kronit;

// The Gantt area's keys: the arrow keys, Home, End and Space walk the active
// item through a layer of its row and across rows; Escape ends a drag.
// With Alt the arrows edit the active item as a drag would, one time step at
// a time (the snap, as coarse as the axis shows; without snapping the axis'
// small step):
//   Alt+Left/Right        moves it (and the selection with it) in time,
//   Alt+Shift+Left/Right  moves its finish,
//   Alt+Ctrl+Left/Right   moves its start,
//   Alt+Up/Down           moves it to the row above or below.
// The application hears and may refuse these as it does a drag's.
class VX_API TGantKeys {
public:
  explicit TGantKeys(TvxGant_ComBasic& theChart) : fChart(theChart) {}
  TGantKeys(const TGantKeys&) = delete;
  TGantKeys& operator=(const TGantKeys&) = delete;

  void KeyDown(unsigned short& Key, TShiftState Shift);

private:
  // Alt with an arrow: the edit of the active item; false for other keys.
  bool EditKey(unsigned short theKey, TShiftState theShift);
  // One key step in time for the end theStop (else the start) that moves.
  TDateTime TimeStep(bool theStop) const;
  // The item theKey walks to from theActive in theRow; nil for none.
  TvxDataEntity_Kronit* KeyTarget(unsigned short theKey, TvxDataEntity_Kronit* theActive, TGantRow* theRow);

  TvxGant_ComBasic& fChart;
};

}  // namespace vx
