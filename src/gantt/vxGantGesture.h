#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/gantt/vxGantItems.h>
#include <vxplan/platform/ui/Controls.h>
#include <vxplan/timeitems/vxTimeGesture.h>

namespace vx {

class TvxGant_ComBasic;
class TvxDataEntity_Kronit;
class TGantRow;

// The chart's side of the gestures on its items: pixels are (time, row),
// rows grant moves, row changes and resizes, a release writes through the
// chart's own operations (and OnTimeCopy, OnTimeChangeRow), and a press with
// the sticky link mode draws a link.
class VX_API TGantGesture final : public TvxTimeGestureHost {
public:
  explicit TGantGesture(TvxGant_ComBasic& theChart);

  TvxTimeGesture& Engine() noexcept { return fEngine; }
  const TvxTimeGesture& Engine() const noexcept { return fEngine; }

  void MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  // OnHintInfo for theItem (nil: none).
  void ReportHintInfo(TvxDataEntity_Kronit* theItem);
  // The hint beside the pointer: the item's name, start, finish and length.
  void ShowLandingHint(TvxDataEntity_Kronit* theItem, TDateTime theStart, TDateTime theStop, TPoint thePointer);

  // The keyboard's edits. They land and write as a release does (the same
  // permissions, snapping, OnTimeChangeRow and DoInfoPush), only by time
  // steps and rows instead of pixels. KeyMove moves the selection (theItem
  // selected alone first when it is not selected) by theTime and theRows
  // rows; KeyGrow moves one end of theItem by theTime. Each answers the item
  // that stands for theItem afterwards (a row change may make a new one; nil
  // when it went).
  TvxDataEntity_Kronit* KeyMove(TvxDataEntity_Kronit* theItem, TDateTime theTime, int theRows);
  TvxDataEntity_Kronit* KeyGrow(TvxDataEntity_Kronit* theItem, bool theStart, TDateTime theTime);

private:
  struct TLanding {
    TDateTime fStart = 0, fStop = 0;
    TGantRow* fRow = nullptr;
    TRect fRect = NoRect();
  };
  // The time a drag by theDx pixels from the press moves by.
  TDateTime DragTime(int theDx);
  TLanding MoveLanding(TvxDataEntity_Kronit* theItem, const TRect& theRect, TDateTime theTime, int theDy);
  // theEdge: where the resized end would go, before snapping.
  TLanding GrowLanding(TvxDataEntity_Kronit* theItem, const TRect& theRect, bool theStart, TDateTime theEdge);
  static TvxTimeLanding Landing(const TLanding& theLanding);
  // The writes of one moved item; answers a new item that stands for it.
  TvxDataEntity_Kronit* WriteMove(TvxDataEntity_Kronit* theItem, const TRect& theRect, TDateTime theTime, int theDy,
                                  bool theCopy);
  void WriteGrow(TvxDataEntity_Kronit* theItem, const TRect& theRect, bool theStart, TDateTime theEdge);
  // Whether the application lets theItem be edited (it may delete it).
  bool KeyEditable(TvxDataEntity_Kronit* theItem);
  // How far down (negative: up) the middle of the row theRows shown rows
  // from theItem's lies from the middle of its rectangle; false without such
  // a row (the rows step once towards it first, as at the edge in a drag).
  bool RowsAway(TvxDataEntity_Kronit* theItem, int theRows, int& theDy);

  TWinControl* GestureArea() override;
  TvxDataEntity* GestureItemAt(int x, int y) override;
  bool GestureInGrowBand(TvxDataEntity* theItem, int x, int y, TRect& theRect, bool& theStart) override;
  bool GestureCanEdit(TvxDataEntity* theItem) override;
  bool GestureResizable(TvxDataEntity* theItem) override;
  TvxGesturePermits GesturePermitsAt(TPoint thePoint) override;
  TDateTime GestureTimeAt(int x, int y) override;
  int GestureLaneAt(int, int) override { return -1; }
  void GestureSelection(std::vector<std::pair<TvxDataEntity*, TRect>>& theItems) override;
  void GestureClearSelection() override;
  void GestureSelectionShown() override;
  TvxTimeLanding GestureMoveLanding(TvxDataEntity* theItem, const TRect& theRect, TPoint theDelta) override;
  TvxTimeLanding GestureGrowLanding(TvxDataEntity* theItem, const TRect& theRect, bool theStart,
                                    TPoint theDelta) override;
  void GestureWriteMove(TvxDataEntity* theItem, const TRect& theRect, TPoint theDelta, bool theCopy) override;
  void GestureWriteGrow(TvxDataEntity* theItem, const TRect& theRect, bool theStart, TPoint theDelta) override;
  void GestureWritesBegin() override;
  void GestureWritesEnd() override;
  void GestureLink(TvxDataEntity* theFrom, int x, int y) override;
  void GestureOutline(const TRect& theRect) override;
  void GestureLinkOutline(TPoint theFrom, TPoint theTo) override;
  void GestureHint(TvxDataEntity* theItem, const TvxTimeLanding& theLanding, TPoint thePointer) override;
  void GestureHover(TvxDataEntity* theItem, int x, int y) override;
  void GestureCursor(TvxGestureCursor theCursor) override;
  bool GestureTimeStep(int thePos) override;
  void GestureTimeStepStop() override;
  bool GestureLanesStep() override;
  void GestureStepLanes(bool theForward) override;
  bool GestureLeavesOutside() override;
  void GestureLeave() override;
  void GestureEnded(bool theActive) override;
  void GestureCancelled(bool theActive, bool thePressed) override;

  TvxGant_ComBasic& fChart;
  TvxTimeGesture fEngine;
};

// The gesture's state under the chart's names.
class VX_API TGantGestureState {
public:
  void MouseMoveModeCancel();
  // Ends a drag under way (move, copy, resize, link) as if it never began:
  // outlines gone, nothing written, the cursor and the selection as they were.
  // Escape does this, and so does the area losing the mouse.
  void CancelGesture();
  TGantMouseMoveMode GetMouseMoveMode() const noexcept;
  TvxDataEntity_Kronit* GetMouseDownDataEntity() const noexcept;
  TPoint GetLastMouseUpPos() const noexcept;
  // Outlines now on screen over the area (while dragging).
  int OutlineCount() const noexcept;
  bool GetFavourMoveOverResizeOnSmallTimeItems() const noexcept;
  void SetFavourMoveOverResizeOnSmallTimeItems(bool v) noexcept;

protected:
  ~TGantGestureState() = default;
  virtual TvxTimeGesture& GestureEngine() const noexcept = 0;
};

}  // namespace vx
