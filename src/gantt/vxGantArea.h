#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>

#include <vxplan/gantt/vxGantAccessible.h>
#include <vxplan/gantt/vxGantItems.h>
#include <vxplan/paint/vxOffscreenPaint.h>

namespace vx {

// The Gantt area: paints through its chart.
class VX_API TvxOffscreenPaint_GA : public TvxOffscreenPaint {
public:
  TvxOffscreenPaint_GA(TComponent* AOwner, TvxGant_ComBasic* theGantt);
  TvxGant_ComBasic* fGantt;
  // Made when an accessibility client first asks.
  TvxAccessibleContent* AccessibleContent() override;

protected:
  void OffscreenPaint() override;
  bool PaintsEveryPixel() const override { return true; }  // the background covers the area
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;
  void DoStartDrag(TObject*& DragObject) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;
  void DoExit() override;
  // Hidden, reparented, deactivated or robbed of the mouse: the drag ends.
  void CancelMode() override;
  // The menu key opens the menu at the active item, selected.
  bool KeyboardMenuPlace(TPoint& thePlace) override;
  // The hover hint goes with the pointer.
  void MouseLeave() override;
  // The chart scrolls first; OnWheelScroll stays the application's.
  void WheelScroll(TWMMouseWheel& Msg) override;

private:
  std::unique_ptr<TGantAccessible> fAccessible;
};

}  // namespace vx
