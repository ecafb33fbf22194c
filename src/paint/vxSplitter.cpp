#include <vxplan/paint/vxSplitter.h>

#include <algorithm>

#include <vxplan/platform/ui/XorOverlay.h>

namespace vx {

TvxSplitter::TvxSplitter(TComponent* AOwner) : TControl(AOwner) {
  SetCursor(crHSplit);
  SetAlign(alLeft);
  SetWidth(3);
}

TvxSplitter::~TvxSplitter() {
  Destroying();
  FControl = nullptr;
  FActiveControl.reset();
  FLineDC.reset();
}

void TvxSplitter::SetBeveled(bool theValue) {
  FBeveled = theValue;
  Invalidate();
}

void TvxSplitter::SetMinSize(int theValue) { FMinSize = std::max(theValue, 1); }

void TvxSplitter::SetParentColor(bool theValue) {
  FParentColor = theValue;
  Invalidate();
}

void TvxSplitter::SetColor(TColor theColor) {
  FParentColor = false;
  TControl::SetColor(theColor);
}

bool TvxSplitter::Horizontal() const noexcept { return GetAlign() == alLeft || GetAlign() == alRight; }

void TvxSplitter::RequestAlign() {
  // Turned across: the bar keeps its thickness in the new direction.
  const bool horizontal = Horizontal() || GetAlign() == alNone || GetAlign() == alClient;
  if (horizontal != FHorizontalBar) {
    FHorizontalBar = horizontal;
    SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
  }
  TControl::RequestAlign();
  if (GetCursor() == crHSplit || GetCursor() == crVSplit) {
    const TCursor wanted = GetAlign() == alTop || GetAlign() == alBottom ? crVSplit : crHSplit;
    if (GetCursor() != wanted) SetCursor(wanted);
  }
}

void TvxSplitter::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  TWinControl* parent = GetParent();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(FParentColor && parent ? parent->GetColor() : GetColor());
  c->FillRect(r);
  if (FBeveled) {
    if (Horizontal())
      r = Rect(r.Left + 1, r.Top - 2, r.Right - 1, r.Bottom + 2);
    else
      r = Rect(r.Left - 2, r.Top + 1, r.Right + 2, r.Bottom - 1);
    r = Rect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
    c->GetBrush()->SetColor(clBtnHighlight);
    c->FrameRect(r);
    r = Rect(r.Left - 2, r.Top - 2, r.Right - 2, r.Bottom - 2);
    c->GetBrush()->SetColor(clBtnShadow);
    c->FrameRect(r);
  }
  if (Focused()) c->DrawFocusFrame(GetClientRect());
  if (IsDesigning()) {
    c->GetPen()->SetStyle(psDot);
    c->GetPen()->SetMode(pmXor);
    c->GetPen()->SetColor(RGB(206, 216, 255));
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(GetClientRect());
    c->GetPen()->SetMode(pmCopy);
    c->GetPen()->SetStyle(psSolid);
  }
  TControl::Paint();  // OnPaint
}

TControl* TvxSplitter::FindControl() {
  TWinControl* parent = GetParent();
  if (!parent) return nullptr;
  TPoint p = Point(GetLeft(), GetTop());
  switch (GetAlign()) {
    case alLeft: --p.X; break;
    case alRight: p.X += GetWidth(); break;
    case alTop: --p.Y; break;
    case alBottom: p.Y += GetHeight(); break;
    default: return nullptr;
  }
  const bool towardsStart = GetAlign() == alLeft || GetAlign() == alTop;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->GetControl(i);
    if (c == this || !c->GetVisible()) continue;
    TRect r = c->GetBoundsRect();
    // A collapsed neighbour still has an edge to find.
    if (r.Width() == 0) (towardsStart ? r.Left : r.Right) += towardsStart ? -1 : 1;
    if (r.Height() == 0) (towardsStart ? r.Top : r.Bottom) += towardsStart ? -1 : 1;
    if (r.Contains(p)) return c;
  }
  return nullptr;
}

int TvxSplitter::CurrentSize() const {
  if (!FControl) return 0;
  return Horizontal() ? FControl->GetWidth() : FControl->GetHeight();
}

void TvxSplitter::CalcSplitSize(int X, int Y, int& NewSize, int& Split) {
  Split = Horizontal() ? X - FDownPos.X : Y - FDownPos.Y;
  const bool growsWithSplit = GetAlign() == alLeft || GetAlign() == alTop;
  const int wanted = CurrentSize() + (growsWithSplit ? Split : -Split);
  NewSize = std::clamp(wanted, FMinSize, std::max(FMaxSize, FMinSize));
  if (NewSize != wanted) Split += growsWithSplit ? NewSize - wanted : wanted - NewSize;
}

bool TvxSplitter::CanResize(int& NewSize) {
  bool accept = true;
  if (OnCanResize) OnCanResize(this, NewSize, accept);
  return accept;
}

bool TvxSplitter::DoCanResize(int& NewSize) {
  const bool accept = CanResize(NewSize);
  if (accept && NewSize <= FMinSize) NewSize = 0;
  return accept;
}

void TvxSplitter::AllocateLineDC() {
  if (FResizeStyle == rsLine || FResizeStyle == rsPattern) FLineDC = std::make_unique<TXorOverlay>(GetParent());
}

void TvxSplitter::ReleaseLineDC() { FLineDC.reset(); }

void TvxSplitter::DrawLine() {
  if (!FLineDC) return;
  FLineVisible = !FLineVisible;
  TPoint p = Point(GetLeft(), GetTop());
  if (Horizontal())
    p.X += FSplit;
  else
    p.Y += FSplit;
  FLineDC->InvertRect(Rect(p.X, p.Y, p.X + GetWidth(), p.Y + GetHeight()),
                      FResizeStyle == rsPattern ? TXorOverlay::xpHalftone : TXorOverlay::xpInvert);
}

void TvxSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && !IsSizing()) BeginSizing(X, Y);
}

void TvxSplitter::BeginSizing(int X, int Y) {
  FControl = FindControl();
  FDownPos = Point(X, Y);
  if (!FControl) return;
  TWinControl* parent = GetParent();
  const TRect client = parent->GetClientRect();
  FMaxSize = (Horizontal() ? client.Width() : client.Height()) - FMinSize;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->GetControl(i);
    if (!c->GetVisible()) continue;
    const TAlign a = c->GetAlign();
    if (Horizontal() && (a == alLeft || a == alRight)) FMaxSize -= c->GetWidth();
    if (!Horizontal() && (a == alTop || a == alBottom)) FMaxSize -= c->GetHeight();
  }
  FMaxSize += CurrentSize();
  CalcSplitSize(X, Y, FNewSize, FSplit);
  AllocateLineDC();
  DrawLine();
  FActiveControl = std::make_unique<TKeyHook>([this](unsigned short Key, TShiftState) {
    if (Key != VK_ESCAPE || !IsSizing()) return false;
    StopSizing();
    return true;
  });
}

void TvxSplitter::MouseMove(TShiftState Shift, int X, int Y) {
  TControl::MouseMove(Shift, X, Y);
  if (Shift.Contains(ssLeft) && FControl) SizeTo(X, Y);
}

void TvxSplitter::SizeTo(int X, int Y) {
  int newSize = 0, split = 0;
  CalcSplitSize(X, Y, newSize, split);
  if (!DoCanResize(newSize)) return;  // the line stays where it was
  if (FResizeStyle == rsLine || FResizeStyle == rsPattern) {
    if (FLineVisible) DrawLine();
    FNewSize = newSize;
    FSplit = split;
    DrawLine();
  } else {
    FNewSize = newSize;
    FSplit = split;
    if (FResizeStyle == rsUpdate) UpdateControlSize();
  }
}

void TvxSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft && FControl) EndSizing();
}

void TvxSplitter::EndSizing() {
  if (FLineVisible) DrawLine();
  UpdateControlSize();
  StopSizing();
}

void TvxSplitter::KeyDown(unsigned short& Key, TShiftState Shift) {
  TControl::KeyDown(Key, Shift);
  const unsigned short back = Horizontal() ? VK_LEFT : VK_UP, on = Horizontal() ? VK_RIGHT : VK_DOWN;
  if ((Key != back && Key != on) || IsSizing()) return;
  const int step = (Shift.Contains(ssCtrl) ? 1 : 10) * (Key == back ? -1 : 1);
  // A drag of step pixels from the bar's middle; a handler that ends the
  // drag (Escape) leaves nothing to write.
  const int x = GetWidth() / 2, y = GetHeight() / 2;
  BeginSizing(x, y);
  if (FControl) SizeTo(Horizontal() ? x + step : x, Horizontal() ? y : y + step);
  if (FControl) EndSizing();
  Key = 0;
}

void TvxSplitter::UpdateControlSize() {
  if (!FControl) return;
  // Also when the neighbour was resized otherwise since the last drag.
  if (FNewSize == FOldSize && FNewSize == CurrentSize()) return;
  const TRect b = FControl->GetBoundsRect();
  switch (GetAlign()) {
    case alLeft: FControl->SetWidth(FNewSize); break;
    case alTop: FControl->SetHeight(FNewSize); break;
    case alRight: FControl->SetBounds(b.Right - FNewSize, b.Top, FNewSize, b.Height()); break;  // the far edge stays
    case alBottom: FControl->SetBounds(b.Left, b.Bottom - FNewSize, b.Width(), FNewSize); break;
    default: break;
  }
  Update();
  if (OnMoved) OnMoved(this);
  FOldSize = FNewSize;
}

void TvxSplitter::StopSizing() {
  if (!FControl) return;
  if (FLineVisible) DrawLine();
  FControl = nullptr;
  ReleaseLineDC();
  FLineVisible = false;
  FActiveControl.reset();
}

}  // namespace vx
