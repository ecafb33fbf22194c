#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>

#include <vxplan/platform/ui/ExtCtrls.h>

namespace vx {

class TXYSizer;
using TOnResize = std::function<void(TXYSizer* Sender, TPoint theNewPoint)>;

// A 5 x 5 grip the user drags freely inside its parent (kept clear of the
// parent's edges by the margins), with cross-hair guide lines while dragging;
// the displacement is reported when it is let go.
class VX_API TXYSizer : public TCustomPanel {
public:
  explicit TXYSizer(TComponent* AOwner);
  ~TXYSizer() override;

  int GetTopMargin() const noexcept { return itsTopMargin; }
  void SetTopMargin(int v) noexcept { itsTopMargin = v; }
  int GetLeftMargin() const noexcept { return itsLeftMargin; }
  void SetLeftMargin(int v) noexcept { itsLeftMargin = v; }
  int GetRightMargin() const noexcept { return itsRightMargin; }
  void SetRightMargin(int v) noexcept { itsRightMargin = v; }
  int GetBottomMargin() const noexcept { return itsBottomMargin; }
  void SetBottomMargin(int v) noexcept { itsBottomMargin = v; }
  // The guide lines (shown in the parent while dragging).
  TPanel* GetPanelX() const noexcept { return itsPanelX; }
  TPanel* GetPanelY() const noexcept { return itsPanelY; }

  TOnResize OnResize;

protected:
  // Let go after a drag; raises OnResize.
  virtual void Resized(TPoint theDelta);
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void ShowGuides();

  TPanel* itsPanelX = nullptr;
  TPanel* itsPanelY = nullptr;
  TPoint itsDownPoint{};
  TPoint itsDownMemPoint{};
  bool itsDragging = false;
  int itsTopMargin = 5;
  int itsLeftMargin = 5;
  int itsRightMargin = 5;
  int itsBottomMargin = 5;
};

}  // namespace vx
