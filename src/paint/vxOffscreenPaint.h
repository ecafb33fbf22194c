#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <bitset>
#include <functional>
#include <memory>

#include <vxplan/platform/ui/Controls.h>
#include <vxplan/platform/ui/DeviceContext.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/Graphics.h>

namespace vx {

class TvxOffscreenPaint;

enum TScrollDirection { tsdUp, tsdDown, tsdLeft, tsdRight };

using TWheelMessageEvent = std::function<void(TWMMouseWheel& Msg)>;
using TOnPrintResizeFont = std::function<void(TvxOffscreenPaint* caller, int& FontSize, bool& DefaultResize)>;
using TOnTab = std::function<bool(bool perform)>;

// The base of every self-drawn surface: a descendant draws its whole content
// in OffscreenPaint onto GetOffscreenCanvas(), which is an off-screen bitmap
// on screen (copied to the window in one step) or the printer's canvas while
// Print runs. Invalidations are coalesced to one platform request per paint.
class VX_API TvxOffscreenPaint : public TCustomPanel {
public:
  // A control sized far past any screen gets a picture of this many pixels a
  // side at most: what lies beyond is not drawn, and nothing allocates
  // without bound.
  static constexpr int MostBitmapSide = 8192;

  explicit TvxOffscreenPaint(TComponent* AOwner);
  ~TvxOffscreenPaint() override;

  virtual void OffscreenPaint();
  TCanvas* GetOffscreenCanvas();
  TCanvas* GetDirectCanvas() { return GetCanvas(); }
  virtual void SmashPaint();

  virtual void BeginUpdate();
  virtual void EndUpdate();
  void Invalidate() override;
  void Repaint() override;

  // Called while something is dragged near an edge; the base does nothing.
  virtual void PossibleScroll(TScrollDirection aDirection);

  // Draws the content onto DC with its top-left at (x, y); with aResize the
  // content is laid out at the scaled size. The device's viewport origin and
  // clip, the bounds and the print depth are restored also after a failure.
  virtual void Print(HDC DC, int x, int y, double scalex, double scaley, bool aResize);
  void BeginPrint() noexcept { ++fIsPrinting; }
  void EndPrint();
  bool GetIsPrinting() const noexcept { return fIsPrinting > 0; }
  bool GetAssignedPrintingCanvas() const noexcept { return fTemporaryPrintingCanvas != nullptr; }
  int GetPrintx() const noexcept { return FPrintx; }
  int GetPrinty() const noexcept { return FPrinty; }
  double GetPrintScalex() const noexcept { return FPrintScalex == 0 ? 1.0 : FPrintScalex; }
  double GetPrintScaley() const noexcept { return FPrintScaley == 0 ? 1.0 : FPrintScaley; }
  double GetScalex() const noexcept { return GetIsPrinting() ? GetPrintScalex() : 1.0; }
  double GetScaley() const noexcept { return GetIsPrinting() ? GetPrintScaley() : 1.0; }
  void InternalSetPrintScalex(double theValue) noexcept { FPrintScalex = theValue; }
  void InternalSetPrintOrigin(int x, int y) noexcept {
    FPrintx = x;
    FPrinty = y;
  }
  void InternalSetPrintScaley(double theValue) noexcept { FPrintScaley = theValue; }

  void PrintResizeFont();
  // A font size in points for a device, sized as this panel sizes its own
  // printing font: by theFontScale (GetFontScale of the device) and the
  // vertical print scale, unless the owner or OnPrintResizeFont decide.
  int PrintFontSize(int theSize, double theFontScale, double theScaleY);
  // For the control that owns this one: asked before OnPrintResizeFont, which
  // stays the application's and may still change the answer.
  void SetOwnerPrintResizeFont(TOnPrintResizeFont theHandler) { fOwnerPrintResizeFont = std::move(theHandler); }
  void CalculateFontScale();
  double GetFontScale(TCanvas* aCanvas);
  double GetPrintFontscale() const noexcept { return fPrintFontscale; }

  void SetSizeDontTell(const TRect& aRect) { SetBoundsQuietly(aRect); }
  // An embedding host and its Tab handler; nil host for none.
  void SetActiveXOwner(void* anInterface, TWinControl* aOwner, TOnTab aOnTab);

  int GetHorzInset() const noexcept { return fHorzInset; }
  void SetHorzInset(int theValue);
  int GetVertInset() const noexcept { return fVertInset; }
  void SetVertInset(int theValue);
  int GetUpdateDepth() const noexcept { return fUpdate; }
  TBitmap* GetDrawBitmap() noexcept { return fDrawBitmap.get(); }
  // With this on, a paint nobody asked for (an expose, an overlay drawn over
  // the control) copies the picture there is, and only Invalidate or Repaint
  // draw it anew. For controls whose every change invalidates them.
  bool GetKeepUntilInvalidated() const noexcept { return fKeepUntilInvalidated; }
  void SetKeepUntilInvalidated(bool theValue) noexcept { fKeepUntilInvalidated = theValue; }
  // With this on, a paint that has to draw the content anyway draws it
  // into the window's own pixels, without the copy from the picture, unless a
  // paint since the last such one only copied the picture (an overlay or an
  // expose over a control that keeps it). The copy of a full-screen picture
  // is a quarter of such a frame.
  bool GetPaintsOnWindow() const noexcept { return fPaintsOnWindow; }
  void SetPaintsOnWindow(bool theValue) noexcept { fPaintsOnWindow = theValue; }
  // Keys (virtual key codes) the control receives itself instead of the focus
  // navigation taking them.
  void SetSpecialKey(unsigned theKey, bool theWanted = true);

  TNotifyEvent OnPrintBeforeResettingScale;
  TWheelMessageEvent OnWheelScroll;
  TOnPrintResizeFont OnPrintResizeFont;

protected:
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  // What is dragged near an edge asks for a scroll that way.
  void ScrollNearEdge(int X, int Y);
  // After the wheel turned over the control; raises OnWheelScroll.
  virtual void WheelScroll(TWMMouseWheel& Msg);
  void UpdateOffscreenCanvas();
  void PaletteChanged() override;
  // Whether OffscreenPaint covers every pixel of the area by itself; the
  // bitmap is then not filled before it.
  virtual bool PaintsEveryPixel() const { return false; }

private:
  // Draws the content into the window's own pixels; false when the window
  // does not allow it (see TWindowPixels) or the picture is not yet made.
  bool PaintOnWindow();
  void* fAggregateOwnerInterface = nullptr;
  TWinControl* fAggregateOwner = nullptr;
  TOnTab fOnAggregateTab;
  TOnPrintResizeFont fOwnerPrintResizeFont;
  TCanvas* fOffscreenCanvas = nullptr;
  std::unique_ptr<TCanvas> fTemporaryPrintingCanvas;
  int fUpdate = 0;
  int fIsPrinting = 0;
  bool fClocking = false;
  int fHorzInset = 0;
  int fVertInset = 0;
  std::unique_ptr<TBitmap> fDrawBitmap;
  std::bitset<256> fSetSpecialOfChar;
  int fInvalidateCount = 0;
  bool fContentValid = false;  // the bitmap shows the content as it is
  bool fKeepUntilInvalidated = false;
  bool fPaintsOnWindow = false;
  bool fAsked = false;        // an invalidation or repaint came since the last paint
  bool fPictureShown = false;  // a paint since the last asked-for drawing only copied the picture
  int FPrintx = 0;
  int FPrinty = 0;
  double FPrintScalex = 1;
  double FPrintScaley = 1;
  double fPrintFontscale = 1;
};

}  // namespace vx
