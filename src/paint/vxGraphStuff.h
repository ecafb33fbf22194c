#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/HintWindow.h>

namespace vx {

class TCustomImageList;
class TPopupMenu;

// Rounds the start and stop of a dragged time item to snap steps, counted
// from the midnight of their day. The owner keeps fCurrentScreenResolution at
// the time one snap must at least cover on screen, so that steps never get
// finer than the mouse can place. A step that is not a positive finite time
// snaps nothing.
class VX_API TSnapHandler : public TObject {
public:
  bool fStartSnapONOFF = false;
  bool fStopSnapONOFF = false;
  // When moving, snap the stop on its own instead of keeping the length.
  bool fStopSnapOnMoveONOFF = false;
  TDateTime fStartSnap = 0;
  TDateTime fStopSnap = 0;
  TDateTime fCurrentScreenResolution = 0;

  // aSnap, or the multiple of it nearest to the screen resolution when that
  // is coarser.
  TDateTime CalcScreenSnap(TDateTime aSnap) const;
  void Snap(TDateTime& aStart, TDateTime& aStop) const;
  // A moved item keeps its length: only its start snaps (unless
  // fStopSnapOnMoveONOFF).
  void SnapMove(TDateTime& aStart, TDateTime& aStop) const;
  // An item moved by 12 hours or more (start and stop both) moves by whole
  // days instead, keeping its time of day.
  static void SnapMoveTo24HIfMoveOver12H(TDateTime aOrigStart, TDateTime aOrigStop, TDateTime& aStart,
                                          TDateTime& aStop);
};

class TGraphHintWindow;
using TOnUpdateTextEvent = std::function<void(TGraphHintWindow* theGraphHintWindow, TObject* theObject)>;

// A hint that follows the object under the mouse: it shows after a second
// on the same object, hides after five, and asks for its text when the object
// changes. Showing and hiding happen through deferred calls, never inside a
// timer tick. Its owner is the window control it describes.
class VX_API TGraphHintWindow : public THintWindow {
public:
  // Where the hint stands from the pointer (right and below it, or turned to
  // the other side where the screen ends).
  static constexpr int PointerOffsetX = 12;
  static constexpr int PointerOffsetY = 20;

  explicit TGraphHintWindow(TComponent* AOwner);
  ~TGraphHintWindow() override;

  // Hover over anObject at (X, Y) in the owner's client coordinates; nil
  // hides the hint.
  void ShowSlowHintFor(TObject* anObject, int X, int Y);
  // Shows at once, without timers, until hidden.
  void ShowDirect(int X, int Y);
  // The same beside the pointer at (X, Y), whatever the placement settings:
  // the feedback of a gesture under way.
  void ShowAtPointer(int X, int Y);
  // Three lines of text, shown at once.
  void ShowMoveInfo(const std::string& s1, const std::string& s2, const std::string& s3, int X, int Y);
  void SetPos(int X, int Y);
  void UpdateStaticPos();

  TObject* GetHintObject() const noexcept { return fHintObject; }
  bool GetStaticPos() const noexcept { return fStaticPos; }
  void SetStaticPos(bool theValue) noexcept { fStaticPos = theValue; }
  // Left, Top: offset from the owner's client origin; Right, Bottom: width and height.
  const TRect& GetStaticPosRect() const noexcept { return fStaticPosRect; }
  void SetStaticPosRect(const TRect& theRect) noexcept { fStaticPosRect = theRect; }
  bool GetShowBelowOwner() const noexcept { return fShowBelowOwner; }
  void SetShowBelowOwner(bool theValue) noexcept { fShowBelowOwner = theValue; }
  TTimer* GetShowTimer() const noexcept { return fShowTimer; }
  TTimer* GetHideTimer() const noexcept { return fHideTimer; }

  TOnUpdateTextEvent fOnUpdateTextEvent;

protected:
  void DoShow(TObject* Sender);
  void DoHide(TObject* Sender);
  void DoShowAsync(TObject* theData);
  void DoHideAsync(TObject* theData);

private:
  void Place(int X, int Y);
  void PlaceBesidePointer(int X, int Y);
  void FitText();
  TControl* OwnerControl() const;

  TTimer* fHideTimer = nullptr;
  TTimer* fShowTimer = nullptr;
  TObject* fHintObject = nullptr;
  bool fStaticPos = false;
  TRect fStaticPosRect{};
  bool fShowBelowOwner = true;
};

// Drawing and pop-up helpers several controls share.
class VX_API GStuff {
public:
  // A bar shaded as a cylinder lit from above (plain when smaller than 15 x 15).
  static void FillRadiated(TCanvas* aCanvas, const TRect& aRect, TColor aColor);
  // Each of red, green and blue times f (kept within 0..255).
  static TColor TintColor(TColor aColor, double f);
  // Selection handles: black 5 x 5 squares in the four corners.
  static void DoSelectContent(TCanvas* aCanvas, const TRect& aRect);
  static void BevelRect(TCanvas* aCanvas, const TRect& aRect, bool aRaised);
  // The font, same name and height, turned by anAngle degrees.
  static void RotateFont(TFont* aFont, int anAngle);
  static bool BigEnough(const TRect& aRect, int aWidth, int aHeight);
  static TRect Fixrect(const TRect& aRect, int dLeft, int dTop, int dRight, int dBottom);
  // Draws a picture stretched into aRect in a way every device takes.
  static void PrintBitmap(TCanvas* aCanvas, const TRect& aRect, TBitmap* aBitmap);
  static void PrintBitmap_ImageList(TCanvas* aCanvas, const TRect& aRect, TCustomImageList* anImageList, int anIndex);
  // One entry per string, each calling aOnClick (its Tag is its index); with
  // aAddCancel a separator and "Avbryt" follow.
  static void CreateMenuOptions(TPopupMenu* aPopup, const std::vector<std::string>& aStrings, TNotifyEvent aOnClick,
                                int aDefaultIndex, bool aAddCancel);
  // Lets the user pick one of aStrings from a menu at (X, Y) in aControl
  // (screen coordinates for nil); the index picked, -1 when cancelled.
  static int UserOptionStrings(TControl* aControl, int X, int Y, const std::vector<std::string>& aStrings,
                               int aDefault);
  static int UserOption(TControl* aControl, int X, int Y, std::initializer_list<std::string> anArrayOfStrings,
                        int aDefault);
};

}  // namespace vx
