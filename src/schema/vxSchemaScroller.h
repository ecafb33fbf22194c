#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/rtl/Types.h>
#include <vxplan/platform/ui/Controls.h>

namespace vx {

class TvxSchema_ComBasic;
class TScrollBar;

// The schedule's column scroller (a scroll bar along the columns' side of
// the drawing area in each orientation, only the current one shown) and the
// mouse wheel in the Qt convention.
class VX_API TSchemaScroller {
public:
  explicit TSchemaScroller(TvxSchema_ComBasic& theSchema);

  // The bars, children of the control (it deletes them).
  void Create();
  // The bars go before the lists do.
  void Destroy();
  // The bar of the current orientation.
  TScrollBar* Bar() const noexcept;
  // The thickness the shown bar takes off the time axis (0 when hidden).
  int Thickness() const noexcept;

  void Update();
  void BarScrolled(TObject* Sender);
  void ScrollTo(int NewValue);
  bool HandleWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);

private:
  // Whole columns (rows) the area shows from the top-left one; at least 1.
  int ColumnsInView();
  void ScrollColumnsByWheel(int WheelDelta);
  void PanTimeByWheel(int WheelDelta);
  void ZoomTimeByWheel(int WheelDelta, TPoint MousePos);

  TvxSchema_ComBasic& fSchema;
  TScrollBar* fColumnScrollBar = nullptr;  // horizontal, below the area
  TScrollBar* fRowScrollBar = nullptr;     // vertical, flipped, right of it
  bool fCurrentlyUpdatingScroller = false;
  bool fScrollerShown = false;
  int fScrollBarThickness = 0;
  TWheelSteps fColumnWheel;  // wheel units not yet a whole column
};

}  // namespace vx
