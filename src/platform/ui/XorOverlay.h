#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>
#include <vector>

#include <vxplan/platform/ui/Controls.h>

namespace vx {

// Exclusive-or drawing over a control and everything on it, for feedback
// while the user drags (a sizing line): the control's own painting is left
// alone. Inverting the same rectangle a second time takes it away again, as
// exclusive-or does. Everything drawn goes when the overlay goes.
class VX_API TXorOverlay : public TObject {
public:
  // xpInvert inverts every pixel; xpHalftone every other one, in a checker.
  enum TPattern { xpInvert, xpHalftone };

  explicit TXorOverlay(TWinControl* theControl);
  ~TXorOverlay() override;
  TXorOverlay(const TXorOverlay&) = delete;
  TXorOverlay& operator=(const TXorOverlay&) = delete;

  // theRect in the control's client coordinates.
  void InvertRect(const TRect& theRect, TPattern thePattern);
  // A one-pixel line from a to b, b itself excluded; xpHalftone dots it.
  void InvertLine(TPoint a, TPoint b, TPattern thePattern);
  // Takes everything away.
  void Clear();
  // The rectangles now shown.
  int Count() const noexcept;

private:
  struct Impl;
  std::unique_ptr<Impl> fImpl;
};

}  // namespace vx
