#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>
#include <vector>

#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/core/vxHolding.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/Controls.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/XorOverlay.h>

namespace vx {

// What a press on a time item started.
enum TvxGestureMode { gmNone, gmMove, gmCopy, gmGrowStart, gmGrowStop, gmLink };

// The cursor a gesture asks for: the area's own, a resize, or drawing a link.
enum TvxGestureCursor { gcIdle, gcResize, gcLink };

// Where an item would land: its times, its lane (row or column) and its
// outline. Not valid: it lands nowhere (no lane, no such item any more).
struct VX_API TvxTimeLanding {
  TDateTime fStart = 0, fStop = 0;
  int fLane = -1;
  TRect fRect = NoRect();
  bool fValid = false;
};

// What the lane under a press lets a drag do.
struct VX_API TvxGesturePermits {
  bool fMove = true, fChangeLane = true, fResize = true;
};

// How the controls differ on purpose.
struct VX_API TvxGestureRules {
  bool fTimeAcross = true;           // time runs along x (else along y)
  bool fCopyWithCtrl = false;        // Ctrl on a press copies instead of moving
  bool fDoubleClickMoves = true;     // the second press of a double click moves
  bool fGrabPastStop = false;        // a press just past an item's stop end resizes it
  bool fFavourMoveOnSmall = false;   // no resize bands on items narrower than kSmallItem
  bool fTimeStepWhileResizing = false;
  int fOutsideMargin = 0;            // how far beyond the area a drag leaves it
  unsigned fLaneStepInterval = 500;  // ms between lane steps at the edge
  static constexpr int kGrowBand = 3;
  static constexpr int kSmallItem = 9;
  static constexpr int kGrabPastStop = 5;
  static constexpr int kLaneStepEdge = 5;
};

// What a control supplies to the gesture engine: hit tests and rectangles,
// pixels to times and lanes (snapped), permissions, the writes of a release
// (which call the application), selection, hints and scrolling.
class VX_API TvxTimeGestureHost {
public:
  virtual ~TvxTimeGestureHost() = default;

  virtual TWinControl* GestureArea() = 0;
  virtual TvxDataEntity* GestureItemAt(int x, int y) = 0;
  // Whether (x, y) is on one of theItem's resize bands (theStart: its start's);
  // theRect: its rectangle.
  virtual bool GestureInGrowBand(TvxDataEntity* theItem, int x, int y, TRect& theRect, bool& theStart) = 0;
  virtual bool GestureCanEdit(TvxDataEntity* theItem) = 0;
  virtual bool GestureResizable(TvxDataEntity*) { return true; }
  virtual TvxGesturePermits GesturePermitsAt(TPoint) { return {}; }
  virtual TDateTime GestureTimeAt(int x, int y) = 0;
  virtual int GestureLaneAt(int x, int y) = 0;
  // The items a move takes along, with their rectangles now.
  virtual void GestureSelection(std::vector<std::pair<TvxDataEntity*, TRect>>& theItems) = 0;
  virtual void GestureClearSelection() = 0;
  virtual void GestureSelectionShown() {}

  virtual TvxTimeLanding GestureMoveLanding(TvxDataEntity* theItem, const TRect& theRect, TPoint theDelta) = 0;
  virtual TvxTimeLanding GestureGrowLanding(TvxDataEntity* theItem, const TRect& theRect, bool theStart,
                                            TPoint theDelta) = 0;
  virtual void GestureWriteMove(TvxDataEntity* theItem, const TRect& theRect, TPoint theDelta, bool theCopy) = 0;
  virtual void GestureWriteGrow(TvxDataEntity* theItem, const TRect& theRect, bool theStart, TPoint theDelta) = 0;
  virtual void GestureWritesBegin() {}
  virtual void GestureWritesEnd() {}
  virtual void GestureLink(TvxDataEntity*, int, int) {}

  virtual void GestureOutline(const TRect& theRect) = 0;
  virtual void GestureLinkOutline(TPoint, TPoint) {}
  virtual void GestureHint(TvxDataEntity* theItem, const TvxTimeLanding& theLanding, TPoint thePointer) = 0;
  virtual void GestureHover(TvxDataEntity* theItem, int x, int y) = 0;
  virtual void GestureCursor(TvxGestureCursor theCursor) = 0;

  // Steps the time axis while thePos lies beyond it; answers whether it steps.
  virtual bool GestureTimeStep(int thePos) = 0;
  virtual void GestureTimeStepStop() = 0;
  virtual bool GestureLanesStep() = 0;  // whether lanes step at the edge
  virtual void GestureStepLanes(bool theForward) = 0;
  virtual bool GestureLeavesOutside() { return false; }
  virtual void GestureLeave() {}

  virtual void GesturePressed(TvxDataEntity*) {}
  virtual void GestureBegun() {}
  virtual void GestureEnded(bool) {}
  virtual void GestureCancelled(bool, bool) {}
};

// A gesture on time items: a press picks the item and a mode (move, copy,
// resize either end, link), the moves show outlines and the landing hint and
// step the axes at the edges, the release writes through the host, and a
// cancel ends it writing nothing. The pressed item and the moved ones are
// held: a handler may delete any of them meanwhile.
class VX_API TvxTimeGesture {
public:
  TvxTimeGesture(TvxTimeGestureHost& theHost, const TvxGestureRules& theRules);
  ~TvxTimeGesture();
  TvxTimeGesture(const TvxTimeGesture&) = delete;
  TvxTimeGesture& operator=(const TvxTimeGesture&) = delete;

  TvxGestureRules& Rules() noexcept { return fRules; }
  const TvxGestureRules& Rules() const noexcept { return fRules; }

  // Hits and holds the item under (x, y) and applies the selection of a press
  // (deferred on a selected item unless theSelect is false); answers it.
  TvxDataEntity* Press(TMouseButton theButton, TShiftState theShift, int x, int y, bool theSelect = true);
  // The mode of a left press on the pressed item; with theLink a link.
  void Begin(TShiftState theShift, bool theLink = false);
  // After the application's own mouse-down handler: ends what it called off.
  void PressHandled();
  void Move(TShiftState theShift, int x, int y);
  void Release(TMouseButton theButton, TShiftState theShift, int x, int y);
  // Ends the gesture writing nothing; the selection stays as it was.
  void Cancel();
  // The application calls the gesture off (from a handler of its own).
  void CallOff();
  // Lets go of everything (the control goes).
  void Reset();
  // theItem goes: a resize or link from it ends.
  void Forget(const TvxDataEntity* theItem);

  TvxGestureMode Mode() const noexcept { return fMode; }
  bool Active() const noexcept { return fMode != gmNone; }
  bool Dragging() const noexcept { return fMode == gmMove || fMode == gmCopy; }
  bool Resizing() const noexcept { return fMode == gmGrowStart || fMode == gmGrowStop; }
  bool Pressed() const noexcept { return fPressed; }
  TvxDataEntity* PressedItem() const noexcept { return fPressedItem.Get(); }
  TPoint PressPoint() const noexcept { return fPressAt; }
  TPoint Pointer() const noexcept { return fPointer; }
  TDateTime PressTime() const noexcept { return fPressTime; }
  int PressLane() const noexcept { return fPressLane; }
  TPoint LastDelta() const noexcept { return fLastDelta; }
  // The axis or the lanes stepped under the pointer since the press.
  bool Scrolled() const noexcept { return fScrolled; }
  TTimer* LaneTimer() const noexcept { return fLaneTimer.get(); }
  int OutlineCount() const noexcept { return fOutlines ? fOutlines->Count() : 0; }
  // The overlay the outlines go on.
  TXorOverlay* Overlay();
  void EraseOutlines();
  // Whether (x, y) is on a resize band of theRect, by the rules.
  bool InGrowBand(const TRect& theRect, int x, int y, bool& theStart) const;

private:
  struct THeldRect {
    TvxHeld<TvxDataEntity> fItem;
    TRect fRect;
  };
  TvxDataEntity* HitAt(int x, int y);
  void Select(TvxDataEntity* theItem, TShiftState theShift, bool theIsPress);
  void End();
  void StepAtEdges(int x, int y, bool theLanes);
  void StopSteps();
  void LaneTick();
  void DrawMoveOutlines(TPoint theDelta);
  void DrawGrowOutline(TPoint theDelta);
  void WriteMoves(TPoint theDelta, bool theCopy);
  TPoint Masked(TPoint theDelta, const TvxGesturePermits& thePermits) const;
  int Along(TPoint p) const noexcept { return fRules.fTimeAcross ? p.X : p.Y; }

  TvxTimeGestureHost& fHost;
  TvxGestureRules fRules;
  TvxGestureMode fMode = gmNone;
  bool fPressed = false;
  bool fCancelCalled = false;
  bool fDeferredSelection = false;
  bool fGrabbedPastStop = false;
  bool fScrolled = false;
  bool fLaneForward = false;
  TPoint fPressAt{};
  TPoint fPointer{};
  TPoint fLastDelta{};
  TDateTime fPressTime = 0;
  int fPressLane = -1;
  TvxHeld<TvxDataEntity> fPressedItem;
  TvxHeld<TvxDataEntity> fGrowItem;  // the item resized, or linked from
  TRect fGrowRect = NoRect();
  std::vector<THeldRect> fMoved;
  std::unique_ptr<TXorOverlay> fOutlines;
  std::unique_ptr<TTimer> fLaneTimer;
  std::unique_ptr<TKeyHook> fEscape;
};

}  // namespace vx
