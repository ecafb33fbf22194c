#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/ui/Controls.h>
#include <vxplan/timeitems/vxTimeGesture.h>

namespace vx {

class TvxSchema_ComBasic;
class TvxDataEntity_SchemaTime;

// The schedule's side of the gestures on its bookings: pixels are (time,
// column) along either orientation, a move to another column is a column
// switch (OnSwitchCol), and the columns step at the area's edge. After an
// auto-scroll a release moves by the times and columns under the press and
// the release, not by pixels.
class VX_API TSchemaGesture final : public TvxTimeGestureHost {
public:
  explicit TSchemaGesture(TvxSchema_ComBasic& theSchema);

  TvxTimeGesture& Engine() noexcept { return fEngine; }
  const TvxTimeGesture& Engine() const noexcept { return fEngine; }
  // The orientation changed: time runs across when flipped.
  void Orient(bool theFlipped) noexcept { fEngine.Rules().fTimeAcross = theFlipped; }
  // The keyboard's resize: theItem's start (else its stop) moved by theShift,
  // written as a release of a resize writes it (snapping, editability,
  // UpdateSubColumns). Nothing while a gesture is under way.
  void KeyGrow(TvxDataEntity_SchemaTime* theItem, bool theStartEdge, TDateTime theShift);

private:
  // Where a booking whose rectangle was theRect lands when moved by theDelta
  // pixels: its times relative to the target column, and that column (-1:
  // it is not moved).
  void MovedByPixels(TvxDataEntity_SchemaTime* theItem, const TRect& theRect, TPoint theDelta, TDateTime& theStart,
                     TDateTime& theStop, int& theCol);
  // The times of a resized booking after a drag of theDelta pixels, relative
  // to its column; false outside the columns.
  bool GrownTimes(TvxDataEntity_SchemaTime* theItem, const TRect& theRect, bool theStartEdge, TPoint theDelta,
                  TDateTime& theStart, TDateTime& theStop, int& theCol);
  // How far in time a drag of theDelta pixels moves that end of theRect.
  TDateTime EdgeShift(const TRect& theRect, bool theStartEdge, TPoint theDelta) const;
  // The same for the dragged end moved by theShift in time.
  bool GrownTimes(TvxDataEntity_SchemaTime* theItem, bool theStartEdge, TDateTime theShift, TDateTime& theStart,
                  TDateTime& theStop, int& theCol);
  void WriteGrow(TvxDataEntity_SchemaTime* theItem, bool theStartEdge, TDateTime theShift);
  // The same for a move (the column clamped, the times kept on a switch of
  // column unless MoveInTimeWhenColSwitch), the column switch handler aside.
  void Landing(TvxDataEntity_SchemaTime* theItem, TDateTime theStart, TDateTime theStop, int& theCol,
               TDateTime& theAbsStart, TDateTime& theAbsStop) const;
  // The outline of those times in column theToCol, as wide as theRect was in
  // theFromCol.
  TRect LandingRect(const TRect& theRect, int theFromCol, int theToCol, TDateTime theAbsStart, TDateTime theAbsStop);

  TWinControl* GestureArea() override;
  TvxDataEntity* GestureItemAt(int x, int y) override;
  bool GestureInGrowBand(TvxDataEntity* theItem, int x, int y, TRect& theRect, bool& theStart) override;
  bool GestureCanEdit(TvxDataEntity* theItem) override;
  TDateTime GestureTimeAt(int x, int y) override;
  int GestureLaneAt(int x, int y) override;
  void GestureSelection(std::vector<std::pair<TvxDataEntity*, TRect>>& theItems) override;
  void GestureClearSelection() override;
  void GestureSelectionShown() override;
  void GesturePressed(TvxDataEntity* theItem) override;
  TvxTimeLanding GestureMoveLanding(TvxDataEntity* theItem, const TRect& theRect, TPoint theDelta) override;
  TvxTimeLanding GestureGrowLanding(TvxDataEntity* theItem, const TRect& theRect, bool theStart,
                                    TPoint theDelta) override;
  void GestureWriteMove(TvxDataEntity* theItem, const TRect& theRect, TPoint theDelta, bool theCopy) override;
  void GestureWriteGrow(TvxDataEntity* theItem, const TRect& theRect, bool theStart, TPoint theDelta) override;
  void GestureWritesEnd() override;
  void GestureOutline(const TRect& theRect) override;
  void GestureHint(TvxDataEntity* theItem, const TvxTimeLanding& theLanding, TPoint thePointer) override;
  void GestureHover(TvxDataEntity* theItem, int x, int y) override;
  void GestureCursor(TvxGestureCursor theCursor) override;
  bool GestureTimeStep(int thePos) override;
  void GestureTimeStepStop() override;
  bool GestureLanesStep() override;
  void GestureStepLanes(bool theForward) override;
  bool GestureLeavesOutside() override;
  void GestureLeave() override;
  void GestureBegun() override;
  void GestureEnded(bool theActive) override;
  void GestureCancelled(bool theActive, bool thePressed) override;

  TvxSchema_ComBasic& fSchema;
  TvxTimeGesture fEngine;
};

// The gesture's state under the schedule's names; nothing while the
// schedule has no drawing area or is going.
class VX_API TSchemaGestureState {
public:
  // Cancels the move or resize the current press started, without changing
  // anything; for the host's OnSchemaMouseDown.
  void MouseMoveModeCancel() {
    if (TvxTimeGesture* e = GestureEngine()) e->CallOff();
  }
  // Ends a move or resize without changing anything: the outlines and the
  // hint go and the cursor is the arrow again. Escape does it, and so does
  // hiding the control, taking the mouse from it or deactivating its window.
  void CancelGesture() {
    if (TvxTimeGesture* e = GestureEngine()) e->Cancel();
  }
  // A move of the selection (resize of one booking) is in progress.
  bool GetLocalDrag() const noexcept { return GestureEngine() && GestureEngine()->Dragging(); }
  bool GetLocalGrow() const noexcept { return GestureEngine() && GestureEngine()->Resizing(); }
  // The edge being dragged: true the start, false the stop.
  bool GetLocalGrowDir() const noexcept { return GestureEngine() && GestureEngine()->Mode() == gmGrowStart; }
  // Lines of outlines on screen over the drawing area.
  int OutlineCount() const { return GestureEngine() ? GestureEngine()->OutlineCount() : 0; }
  TTimer* GetColScrollTimer() const noexcept { return GestureEngine() ? GestureEngine()->LaneTimer() : nullptr; }

protected:
  ~TSchemaGestureState() = default;
  virtual TvxTimeGesture* GestureEngine() const noexcept = 0;
};

}  // namespace vx
