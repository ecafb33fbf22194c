#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <string>

#include <vxplan/platform/ui/Controls.h>

namespace vx {

// A small tool-tip window with a text on the info colours. It floats above
// everything as its own top-level window, never takes focus, and goes with
// its owner. Its bounds are in screen coordinates. Lines of the caption are
// separated by carriage returns (or line feeds).
class VX_API THintWindow : public TWinControl {
public:
  explicit THintWindow(TComponent* AOwner);
  ~THintWindow() override;

  const std::string& GetCaption() const noexcept { return fCaption; }
  void SetCaption(const std::string& theCaption);
  // Shows the window at theRect (screen coordinates) with theText.
  void ActivateHint(const TRect& theRect, const std::string& theText);
  // The size theText needs, frame included.
  TRect CalcHintRect(int theMaxWidth, const std::string& theText);
  // Hides the window.
  void ReleaseHandle();
  bool IsShowing() const;

protected:
  void Paint() override;

private:
  std::string fCaption;
};

}  // namespace vx
