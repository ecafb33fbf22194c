#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>

#include <vxplan/platform/ui/Graphics.h>

namespace vx {

// For one paint: thePicture's pixels become the window's own, where the
// window is a picture itself (a backing store, an image rendered into) that
// holds the control whole, unclipped, at the picture's ratio and format.
// What is drawn into the picture is then on the window without a copy. The
// picture gets its own pixels back (as they were) when this ends.
class VX_API TWindowPixels {
public:
  TWindowPixels(TCanvas* theWindow, TBitmap* thePicture);
  // The same for a picture that is to be theWidth x theHeight, whatever its
  // size now (none, on a first paint).
  TWindowPixels(TCanvas* theWindow, TBitmap* thePicture, int theWidth, int theHeight);
  ~TWindowPixels();
  TWindowPixels(const TWindowPixels&) = delete;
  TWindowPixels& operator=(const TWindowPixels&) = delete;

  // Whether the picture draws on the window: false when the window did not
  // allow it, or once the picture was given other pixels (resized).
  bool Active() const;
  // How many paints have drawn straight on a window so far.
  static int Taken() noexcept;

private:
  struct Impl;
  std::unique_ptr<Impl> fImpl;
};

}  // namespace vx
