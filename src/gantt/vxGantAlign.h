#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/rtl/DateUtils.h>

namespace vx {

class TvxGant_ComBasic;

// Keeps the left side, the time axis and the area lined up, and tells the
// application (OnAlignNeed, OnScalerChange) when either changes unless it
// set them itself.
class VX_API TGantAlign {
public:
  explicit TGantAlign(TvxGant_ComBasic& theChart) : fChart(theChart) {}
  TGantAlign(const TGantAlign&) = delete;
  TGantAlign& operator=(const TGantAlign&) = delete;

  // A panel of the left side resized, or the time axis's height changed.
  void HandleTreeAlign();
  // Sets the time axis and the tree's width without raising OnAlignNeed.
  void SetScaleAndTree(TDateTime theStart, TDateTime theStop, int theTreeWidth);
  // The tree's first row at the height of the area's top.
  void LineUpTreeWithArea();
  // The scaler delivered a new window.
  void ScaleChanged();

private:
  bool AlignedByApplication() const;

  TvxGant_ComBasic& fChart;
  bool fAligning = false;
  // What SetScaleAndTree last set: the scaler reports its change later, and
  // a change the application made itself asks for no alignment.
  struct {
    TDateTime start = 0, stop = 0;
    int width = -1;
  } fApplicationAlign;
};

}  // namespace vx
