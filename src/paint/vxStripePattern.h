#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>

#include <vxplan/platform/rtl/Color.h>
#include <vxplan/platform/ui/Graphics.h>

namespace vx {

// The 2 x 2 pattern of two colours that stripes are filled with. It is drawn
// again whenever either colour resolves otherwise than when it was drawn: a
// system colour under another palette, or a new colour.
class VX_API TvxStripePattern {
public:
  TvxStripePattern();
  ~TvxStripePattern();
  TvxStripePattern(const TvxStripePattern&) = delete;
  TvxStripePattern& operator=(const TvxStripePattern&) = delete;

  // The pattern of theFirst (top left) and theSecond as they resolve now.
  TBitmap* Get(TColor theFirst, TColor theSecond);

private:
  std::unique_ptr<TBitmap> fBitmap;
  TColor fFirst = -1;  // resolved; -1 is never a resolved colour
  TColor fSecond = -1;
};

}  // namespace vx
