#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <memory>

#include <vxplan/core/vxEvent.h>
#include <vxplan/platform/ui/Controls.h>

namespace vx {

class TXorOverlay;

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewSize, bool& Accept)>;

// A thin bar between a docked neighbour and the rest of its parent: dragging
// it changes the neighbour's width (aligned left or right) or height (top or
// bottom). While dragging, a line shows where the edge will go (or, with
// rsUpdate, the neighbour follows at once); Escape cancels. A neighbour
// dragged down to MinSize collapses to nothing. Made a tab stop
// (SetTabStop(true)) it takes the focus and its keys: the arrows across the
// bar move it 10 pixels the way they point, 1 with Ctrl, as a drag by that
// much would (OnCanResize, MinSize, OnMoved).
class VX_API TvxSplitter : public TControl {
public:
  explicit TvxSplitter(TComponent* AOwner);
  ~TvxSplitter() override;

  bool GetBeveled() const noexcept { return FBeveled; }
  void SetBeveled(bool theValue);
  int GetMinSize() const noexcept { return FMinSize; }
  // At least 1.
  void SetMinSize(int theValue);
  TResizeStyle GetResizeStyle() const noexcept { return FResizeStyle; }
  void SetResizeStyle(TResizeStyle theValue) noexcept { FResizeStyle = theValue; }
  // Paints in the parent's colour (until a colour of its own is set).
  bool GetParentColor() const noexcept { return FParentColor; }
  void SetParentColor(bool theValue);
  void SetColor(TColor theColor) override;

  // While the user drags: the neighbour, and the size it would get.
  bool IsSizing() const noexcept { return FControl != nullptr; }
  TControl* GetSizedControl() const noexcept { return FControl; }
  int GetProposedSize() const noexcept { return FNewSize; }

  TCanResizeEvent OnCanResize;
  TvxEventOf<TNotifyEvent> OnMoved;

protected:
  void RequestAlign() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  // Raises OnCanResize; accepts by default.
  virtual bool CanResize(int& NewSize);
  // CanResize, then a size not above MinSize becomes 0.
  virtual bool DoCanResize(int& NewSize);

private:
  bool Horizontal() const noexcept;  // sizes widths
  TControl* FindControl();
  void CalcSplitSize(int X, int Y, int& NewSize, int& Split);
  // The three steps of a drag, shared by the mouse and the keys.
  void BeginSizing(int X, int Y);
  void SizeTo(int X, int Y);
  void EndSizing();
  void AllocateLineDC();
  void ReleaseLineDC();
  void DrawLine();
  void UpdateControlSize();
  void StopSizing();
  int CurrentSize() const;

  std::unique_ptr<TKeyHook> FActiveControl;  // Escape while sizing
  bool FBeveled = false;
  TControl* FControl = nullptr;
  TPoint FDownPos{};
  std::unique_ptr<TXorOverlay> FLineDC;
  bool FLineVisible = false;
  int FMinSize = 30;
  int FMaxSize = 0;
  int FNewSize = 0;
  int FOldSize = -1;
  TResizeStyle FResizeStyle = rsPattern;
  int FSplit = 0;
  bool FParentColor = true;
  bool FHorizontalBar = true;  // sizes widths; for turning the bar across
};

}  // namespace vx
