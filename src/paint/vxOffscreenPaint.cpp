#include <vxplan/paint/vxOffscreenPaint.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/ui/WindowPixels.h>

namespace vx {

TvxOffscreenPaint::TvxOffscreenPaint(TComponent* AOwner)
    : TCustomPanel(AOwner), fDrawBitmap(std::make_unique<TBitmap>()) {
  fOffscreenCanvas = fDrawBitmap->GetCanvas();
  // The whole window is drawn on every paint: no background, no erasing.
  SetOpaque();
  SetCaption("");
}

TvxOffscreenPaint::~TvxOffscreenPaint() {
  Destroying();
  fAggregateOwnerInterface = nullptr;
  fAggregateOwner = nullptr;
  fOffscreenCanvas = nullptr;
}

void TvxOffscreenPaint::OffscreenPaint() {
  if (OnPaint) OnPaint(this);
}

TCanvas* TvxOffscreenPaint::GetOffscreenCanvas() {
  if (fTemporaryPrintingCanvas && GetIsPrinting()) return fTemporaryPrintingCanvas.get();
  return fOffscreenCanvas;
}

void TvxOffscreenPaint::UpdateOffscreenCanvas() {
  const int w = std::min(GetWidth(), MostBitmapSide), h = std::min(GetHeight(), MostBitmapSide);
  fDrawBitmap->SetDevicePixelRatio(GetScreenPixelRatio());
  fDrawBitmap->SetSize(w, h);
  // A paint that failed half-way may have left the bitmap's device moved or clipped.
  if (HDC dc = fOffscreenCanvas->GetHandle()) {
    dc->SetViewportOrg(Point(0, 0));
    dc->RemoveClip();
  }
  fOffscreenCanvas->SetFont(*GetFont());
  fOffscreenCanvas->GetBrush()->SetColor(GetColor());
  if (!PaintsEveryPixel()) GetOffscreenCanvas()->FillRect(Rect(0, 0, w, h));
}

bool TvxOffscreenPaint::PaintOnWindow() {
  // Insets are left to what the copy covers. A first paint or one after a
  // resize draws on the window too: the picture is made only when a paint
  // needs one, and a new control's first frame costs no picture.
  const int w = GetWidth(), h = GetHeight();
  if (fHorzInset > 0 || fVertInset > 0 || w <= 0 || h <= 0 || w > MostBitmapSide || h > MostBitmapSide ||
      fDrawBitmap->GetDevicePixelRatio() != GetScreenPixelRatio())
    return false;
  TWindowPixels window(GetCanvas(), fDrawBitmap.get(), w, h);
  if (!window.Active()) return false;
  UpdateOffscreenCanvas();
  OffscreenPaint();
  // Given other pixels meanwhile: they hold the drawing, copied as usual.
  if (!window.Active()) SmashPaint();
  return true;
}

void TvxOffscreenPaint::Paint() {
  // A paint that comes while printing draws nothing, but counts as the paint
  // the pending invalidations asked for.
  fInvalidateCount = 0;
  const bool asked = std::exchange(fAsked, false);
  if (GetIsPrinting()) return;
  // A paint nobody asked for (an expose, something drawn over the control)
  // copies the picture there is; only an invalidation draws it anew. A
  // picture taken for paper is drawn in the paper's colours, and the screen's
  // drawn again after it.
  const bool paper = PaperColorsInForce();
  const bool stale = paper || !fKeepUntilInvalidated || !fContentValid || fDrawBitmap->GetWidth() != std::min(GetWidth(), MostBitmapSide) ||
                     fDrawBitmap->GetHeight() != std::min(GetHeight(), MostBitmapSide) ||
                     fDrawBitmap->GetDevicePixelRatio() != GetScreenPixelRatio();
  if (!stale) {
    fPictureShown = true;
    SmashPaint();
    return;
  }
  // A picture that is never shown again (every paint draws anew), or that
  // no paint showed again since the last asked-for drawing, is not worth its
  // copy: this drawing goes into the window's own pixels. Where paints in
  // between only copied it (an overlay comes and goes over it), it is drawn
  // as a picture again.
  const bool straight = fPaintsOnWindow && !paper && (!fKeepUntilInvalidated || (asked && !fPictureShown));
  if (asked) fPictureShown = false;
  if (straight) {
    fContentValid = false;  // the picture gets its old pixels back
    if (PaintOnWindow()) return;
  }
  UpdateOffscreenCanvas();
  OffscreenPaint();
  fContentValid = !paper;
  SmashPaint();
}

void TvxOffscreenPaint::SmashPaint() {
  TCanvas* window = GetCanvas();
  const int w = GetWidth(), h = GetHeight();
  const TRect visible = Rect(0, 0, w - fHorzInset, h - fVertInset);
  window->CopyRect(visible, fOffscreenCanvas, visible);
  if (fHorzInset > 0 && fVertInset > 0) {
    TBrush* brush = window->GetBrush();
    const TColor old = brush->GetColor();
    brush->SetColor(clBtnFace);
    window->FillRect(Rect(w - fHorzInset, h - fVertInset, w, h));
    brush->SetColor(old);
  }
}

void TvxOffscreenPaint::BeginUpdate() { ++fUpdate; }

void TvxOffscreenPaint::EndUpdate() {
  if (fUpdate > 0) --fUpdate;
  Invalidate();
}

void TvxOffscreenPaint::Invalidate() {
  if (IsDestroying()) return;
  fContentValid = false;
  fAsked = true;
  if (++fInvalidateCount == 1) TCustomPanel::Invalidate();
}

void TvxOffscreenPaint::Repaint() {
  fContentValid = false;
  fAsked = true;
  if (fUpdate > 0) return;
  TCustomPanel::Repaint();
}

void TvxOffscreenPaint::PossibleScroll(TScrollDirection) {}

void TvxOffscreenPaint::EndPrint() {
  if (fIsPrinting > 0 && --fIsPrinting == 0) Invalidate();
}

void TvxOffscreenPaint::SetHorzInset(int theValue) {
  fHorzInset = std::max(theValue, 0);
  Invalidate();
}

void TvxOffscreenPaint::SetVertInset(int theValue) {
  fVertInset = std::max(theValue, 0);
  Invalidate();
}

void TvxOffscreenPaint::SetSpecialKey(unsigned theKey, bool theWanted) {
  if (theKey < fSetSpecialOfChar.size()) fSetSpecialOfChar.set(theKey, theWanted);
}

void TvxOffscreenPaint::SetActiveXOwner(void* anInterface, TWinControl* aOwner, TOnTab aOnTab) {
  fAggregateOwnerInterface = anInterface;
  fAggregateOwner = aOwner;
  fOnAggregateTab = std::move(aOnTab);
}

void TvxOffscreenPaint::PaletteChanged() { Invalidate(); }

void TvxOffscreenPaint::Print(HDC DC, int x, int y, double scalex, double scaley, bool aResize) {
  if (!DC) return;
  // Paper is white whatever the screen's palette.
  TSystemColorsScope paper(LightSystemColors());
  FPrintx = x;
  FPrinty = y;
  FPrintScalex = scalex;
  FPrintScaley = scaley;
  const int l = GetLeft(), t = GetTop(), w = GetWidth(), h = GetHeight();
  const int sw = Round(w * GetPrintScalex()), sh = Round(h * GetPrintScaley());

  // The device's own clip comes back afterwards, whatever it was.
  const bool hadClip = DC->HasClip();
  const TRect oldClip = hadClip ? OffsetRect(DC->GetClipBox(), DC->GetViewportOrg().X, DC->GetViewportOrg().Y)
                                : TRect{};
  const TPoint oldOrigin = DC->GetViewportOrg();
  auto restore = [&] {
    fTemporaryPrintingCanvas.reset();
    if (hadClip)
      DC->SelectClipRect(oldClip);
    else
      DC->RemoveClip();
    DC->SetViewportOrg(oldOrigin);
    SetSizeDontTell(Rect(l, t, l + w, t + h));
    EndPrint();
  };

  if (aResize) SetSizeDontTell(Rect(l, t, l + sw, t + sh));
  fTemporaryPrintingCanvas = std::make_unique<TCanvas>();
  BeginPrint();
  try {
    DC->SetViewportOrg(Point(x, y));
    fTemporaryPrintingCanvas->SetHandle(DC);
    fTemporaryPrintingCanvas->SetFont(*GetFont());
    DC->SelectClipRect(aResize ? Rect(x, y, x + sw, y + sh) : Rect(x, y, x + w, y + h));
    CalculateFontScale();
    OffscreenPaint();
    if (hadClip)
      DC->SelectClipRect(oldClip);
    else
      DC->RemoveClip();
    if (OnPrintBeforeResettingScale) OnPrintBeforeResettingScale(this);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

double TvxOffscreenPaint::GetFontScale(TCanvas* aCanvas) {
  if (!aCanvas) return 1;
  aCanvas->GetFont()->SetSize(8);
  const int height = aCanvas->TextHeight("X");
  return height == 0 ? 1.0 : 13.0 / height;
}

void TvxOffscreenPaint::CalculateFontScale() { fPrintFontscale = GetFontScale(fTemporaryPrintingCanvas.get()); }

namespace {
// Points; far past any paper, and well inside an int.
constexpr double kMaxPrintFontSize = 10000;
}  // namespace

int TvxOffscreenPaint::PrintFontSize(int theSize, double theFontScale, double theScaleY) {
  int size = theSize;
  bool defaultResize = true;
  // Copies: a handler may replace itself.
  const TOnPrintResizeFont owner = fOwnerPrintResizeFont;
  if (owner) owner(this, size, defaultResize);
  const TOnPrintResizeFont own = OnPrintResizeFont;
  if (own) own(this, size, defaultResize);
  if (!defaultResize) return size;
  const double scaled = size * theFontScale * theScaleY;
  return std::isfinite(scaled) ? Round(std::clamp(scaled, -kMaxPrintFontSize, kMaxPrintFontSize)) : size;
}

void TvxOffscreenPaint::PrintResizeFont() {
  if (!GetIsPrinting() || !fTemporaryPrintingCanvas) return;
  const int size = PrintFontSize(fTemporaryPrintingCanvas->GetFont()->GetSize(), fPrintFontscale, GetPrintScaley());
  // A handler may have ended the printing.
  if (fTemporaryPrintingCanvas) fTemporaryPrintingCanvas->GetFont()->SetSize(size);
}

void TvxOffscreenPaint::WndProc(TMessage& Message) {
  if (fAggregateOwner && fOnAggregateTab && Message.Msg == WM_KEYDOWN) {
    TMessage probe = Message;
    if (!probe.Decoded) probe.CharCode = static_cast<unsigned>(probe.WParam);
    if (probe.CharCode == VK_TAB) {
      fOnAggregateTab(true);  // the host moves on instead
      return;
    }
  }
  TCustomPanel::WndProc(Message);
}

void TvxOffscreenPaint::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Invalidate();
      Message.Result = 1;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_FOCUSCHANGED:
      TCustomPanel::Dispatch(Message);
      Invalidate();
      break;
    case WM_MOUSEWHEEL:
      TCustomPanel::Dispatch(Message);
      WheelScroll(Message);
      break;
    case CM_WANTSPECIALKEY: {
      const auto key = static_cast<unsigned>(Message.WParam);
      if (key < fSetSpecialOfChar.size() && fSetSpecialOfChar.test(key))
        Message.Result = 1;
      else if (fOnAggregateTab && key == VK_TAB && fOnAggregateTab(false))
        Message.Result = 1;
      else
        TCustomPanel::Dispatch(Message);
      break;
    }
    default: TCustomPanel::Dispatch(Message); break;
  }
}

void TvxOffscreenPaint::WheelScroll(TWMMouseWheel& Msg) {
  if (OnWheelScroll) OnWheelScroll(Msg);
}

void TvxOffscreenPaint::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  ScrollNearEdge(X, Y);
  TCustomPanel::DragOver(Source, X, Y, State, Accept);
}

void TvxOffscreenPaint::ScrollNearEdge(int X, int Y) {
  if (Y < 5)
    PossibleScroll(tsdUp);
  else if (Y > GetHeight() - 5 - fVertInset)
    PossibleScroll(tsdDown);
  else if (X < 5)
    PossibleScroll(tsdLeft);
  else if (X > GetWidth() - 5 - fHorzInset)
    PossibleScroll(tsdRight);
}

}  // namespace vx
