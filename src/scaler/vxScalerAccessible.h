#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/ui/Accessible.h>

namespace vx {

class TvxDateScaler;

// The date scaler as assistive technology sees it: a slider whose value is
// its time window, "start – stop" in the scaler's formats.
class VX_API TScalerAccessible : public TvxAccessibleContent {
public:
  explicit TScalerAccessible(TvxDateScaler& theScaler) : fScaler(theScaler) {}

  bool Exists(TvxAccessibleId theId) override;
  int ChildCount(TvxAccessibleId) override { return 0; }
  TvxAccessibleId ChildAt(TvxAccessibleId, int) override { return vxAccessibleNone; }
  TvxAccessibleId Parent(TvxAccessibleId) override { return vxAccessibleNone; }
  TvxAccessibleRole Role(TvxAccessibleId) override { return arSlider; }
  std::string Name(TvxAccessibleId) override { return {}; }
  std::string Value(TvxAccessibleId theId) override;
  TvxAccessibleState State(TvxAccessibleId) override { return {}; }
  TRect Bounds(TvxAccessibleId theId) override;

private:
  TvxDateScaler& fScaler;
};

}  // namespace vx
