#include <vxplan/paint/vxStripePattern.h>

namespace vx {

TvxStripePattern::TvxStripePattern() : fBitmap(std::make_unique<TBitmap>()) {}

TvxStripePattern::~TvxStripePattern() = default;

TBitmap* TvxStripePattern::Get(TColor theFirst, TColor theSecond) {
  const TColor first = ColorToRGB(theFirst), second = ColorToRGB(theSecond);
  if (first == fFirst && second == fSecond) return fBitmap.get();
  fFirst = first;
  fSecond = second;
  fBitmap->SetSize(2, 2);
  TCanvas* c = fBitmap->GetCanvas();
  c->SetPixel(0, 0, first);
  c->SetPixel(1, 1, first);
  c->SetPixel(1, 0, second);
  c->SetPixel(0, 1, second);
  return fBitmap.get();
}

}  // namespace vx
