#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <memory>

#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/platform/ui/HintWindow.h>
#include <vxplan/schema/vxSchemaAccessible.h>
#include <vxplan/schema/vxSchemaItems.h>

namespace vx {

class TvxSchema_ComBasic;
class TDataListColumns;
class TvxDataEntity_SchemaColumn;
class TvxDataEntity_SchemaTime;
class TDrawGrid_Schema;
class TPopupMenu;

// The drawing area.
class VX_API TvxOffscreenPaint_Schema : public TvxOffscreenPaint {
public:
  TvxOffscreenPaint_Schema(TComponent* AOwner, TvxSchema_ComBasic* theSchema);
  TvxSchema_ComBasic* fSchema;
  // Set once the schedule is built; until then the area tells it nothing.
  bool fWired = false;
  // Made when an accessibility client first asks.
  TvxAccessibleContent* AccessibleContent() override;

protected:
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void CancelMode() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  // The background covers the whole area.
  bool PaintsEveryPixel() const override;
  // The schedule draws and takes the mouse first; the area's public events
  // stay the application's and are raised after.
  void OffscreenPaint() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;
  void DoStartDrag(TObject*& DragObject) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;

private:
  bool Live() const;
  std::unique_ptr<TSchemaAccessible> fAccessible;
};

// The time hint and the enlarged preview: repaints only when its caption
// changes and keeps the size the control gives it, whatever the text needs.
class VX_API TvxSchema_ComBasicHintWindow : public THintWindow {
public:
  using THintWindow::THintWindow;

protected:
  void Paint() override;

private:
  friend class TvxSchema_ComBasic;
  friend class TSchemaPreview;
  // Draws the window's content in place of the caption (the preview); the
  // canvas is the window's, bound while it paints.
  std::function<void(TvxSchema_ComBasicHintWindow* Sender, TCanvas* theCanvas)> fDrawContent;
};

}  // namespace vx
