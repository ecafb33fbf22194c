// The up-down control: two arrow buttons drawn by the toolkit.
#include <algorithm>

#include <vxplan/platform/ui/ComCtrls.h>
#include <vxplan/platform/ui/ExtCtrls.h>

namespace vx {

namespace {

// A held button repeats after this delay, then at the interval.
constexpr unsigned kRepeatDelay = 400;
constexpr unsigned kRepeatInterval = 100;

}  // namespace

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 16, 24);
  fRepeat = new TTimer(this);
  fRepeat->SetEnabled(false);
  fRepeat->SetOnTimer([this](TObject* s) { RepeatTick(s); });
}

TUpDown::~TUpDown() { Destroying(); }

void TUpDown::SetMin(int theValue) {
  fMin = theValue;
  if (fMax < fMin) fMax = fMin;
  SetPosition(fPosition);
}

void TUpDown::SetMax(int theValue) {
  fMax = theValue;
  if (fMin > fMax) fMin = fMax;
  SetPosition(fPosition);
}

void TUpDown::SetPosition(int theValue) {
  theValue = std::clamp(theValue, fMin, fMax);
  if (theValue == fPosition) return;
  fPosition = theValue;
  Invalidate();
}

void TUpDown::SetOrientation(TUDOrientation theValue) {
  fOrientation = theValue;
  Invalidate();
}

TRect TUpDown::ButtonRect(TUDBtnType Button) const {
  const int w = GetWidth(), h = GetHeight();
  if (fOrientation == udVertical)
    return Button == btNext ? Rect(0, 0, w, h / 2) : Rect(0, h / 2, w, h);
  return Button == btNext ? Rect(w / 2, 0, w, h) : Rect(0, 0, w / 2, h);
}

void TUpDown::Click(TUDBtnType Button) {
  const long long step = Button == btNext ? fIncrement : -static_cast<long long>(fIncrement);
  long long next = fPosition + step;
  if (next > fMax) next = fWrap ? fMin : fMax;
  if (next < fMin) next = fWrap ? fMax : fMin;
  const int newValue = static_cast<int>(next);
  if (newValue == fPosition) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (allow && OnChangingEx) OnChangingEx(this, allow, newValue, Button == btNext ? updUp : updDown);
  if (!allow) return;
  SetPosition(newValue);
  if (OnClick) OnClick(this, Button);
}

void TUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TWinControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  for (TUDBtnType b : {btNext, btPrev})
    if (ButtonRect(b).Contains(Point(X, Y))) {
      fPressed = b;
      Invalidate();
      Click(b);
      fRepeat->SetInterval(kRepeatDelay);
      fRepeat->SetEnabled(true);
      return;
    }
}

void TUpDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && fPressed >= 0) {
    fPressed = -1;
    fRepeat->SetEnabled(false);
    Invalidate();
  }
  TWinControl::MouseUp(Button, Shift, X, Y);
}

void TUpDown::RepeatTick(TObject*) {
  if (fPressed < 0) {
    fRepeat->SetEnabled(false);
    return;
  }
  // Only while the pointer stays on the held button.
  const auto button = static_cast<TUDBtnType>(fPressed);
  if (!ButtonRect(button).Contains(ScreenToClient(GetCursorPos()))) return;
  if (fRepeat->GetInterval() != kRepeatInterval) fRepeat->SetInterval(kRepeatInterval);
  Click(button);
}

void TUpDown::DrawButton(TUDBtnType Button) {
  TCanvas* c = GetCanvas();
  TRect r = ButtonRect(Button);
  const bool down = fPressed == Button;
  Frame3D(c, r, down ? clBtnShadow : clBtnHighlight, down ? clBtnHighlight : clBtnShadow, 1);
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  // A small triangle pointing the way the button steps.
  const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
  const int a = std::max(1, std::min(r.Width(), r.Height()) / 4);
  const bool atEnd = Button == btNext ? fPosition == (fIncrement >= 0 ? fMax : fMin)
                                      : fPosition == (fIncrement >= 0 ? fMin : fMax);
  const TColor ink = GetEnabled() && !atEnd ? clBtnText : clGrayText;
  c->GetPen()->SetColor(ink);
  c->GetBrush()->SetColor(ink);
  const bool forward = Button == btNext;
  if (fOrientation == udVertical) {
    const int d = forward ? -1 : 1;
    const TPoint t[] = {Point(cx - a, cy - d * a / 2), Point(cx + a, cy - d * a / 2), Point(cx, cy + d * a / 2 + d)};
    c->Polygon(t);
  } else {
    const int d = forward ? 1 : -1;
    const TPoint t[] = {Point(cx - d * a / 2, cy - a), Point(cx - d * a / 2, cy + a), Point(cx + d * a / 2 + d, cy)};
    c->Polygon(t);
  }
}

void TUpDown::Paint() {
  DrawButton(btNext);
  DrawButton(btPrev);
  TWinControl::Paint();
}

}  // namespace vx
