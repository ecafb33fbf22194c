#include <vxplan/paint/vxXYSizer.h>

namespace vx {

namespace {

TPanel* MakeGuide(TComponent* theOwner) {
  auto* p = new TPanel(theOwner);
  p->SetBevelOuter(bvNone);
  p->SetColor(clGray);
  p->SetVisible(false);
  return p;
}

}  // namespace

TXYSizer::TXYSizer(TComponent* AOwner) : TCustomPanel(AOwner) {
  itsPanelX = MakeGuide(this);
  itsPanelY = MakeGuide(this);
  SetBevelOuter(bvNone);
  SetBounds(GetLeft(), GetTop(), 5, 5);
  SetCursor(crSizeAll);
}

TXYSizer::~TXYSizer() {
  Destroying();
  // The guides live in the parent; they go with the grip (unless the parent
  // took them already).
  delete itsPanelX;
  delete itsPanelY;
}

void TXYSizer::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomPanel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == itsPanelX) itsPanelX = nullptr;
  if (AComponent == itsPanelY) itsPanelY = nullptr;
}

void TXYSizer::Paint() {
  TCustomPanel::Paint();
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(clBlack);
  c->FillRect(GetClientRect());
}

void TXYSizer::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomPanel::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  itsDownPoint = Point(X, Y);
  itsDownMemPoint = Point(GetLeft(), GetTop());
  itsDragging = true;
}

void TXYSizer::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomPanel::MouseMove(Shift, X, Y);
  TWinControl* parent = GetParent();
  if (!itsDragging || !Shift.Contains(ssLeft) || !parent) return;
  const TPoint inParent = Point(GetLeft() + X, GetTop() + Y);
  const TRect allowed = Rect(itsLeftMargin, itsTopMargin, parent->GetClientWidth() - itsRightMargin,
                             parent->GetClientHeight() - itsBottomMargin);
  if (!allowed.Contains(inParent)) return;  // into a margin: the grip stays
  SetBounds(GetLeft() + X - itsDownPoint.X, GetTop() + Y - itsDownPoint.Y, GetWidth(), GetHeight());
  ShowGuides();
}

void TXYSizer::ShowGuides() {
  TWinControl* parent = GetParent();
  if (!itsPanelX || !itsPanelY) return;
  for (TPanel* guide : {itsPanelX, itsPanelY})
    if (guide->GetParent() != parent) guide->SetParent(parent);
  itsPanelX->SetBounds(5, GetTop() + itsDownPoint.Y, parent->GetClientWidth() - 10, 2);
  itsPanelY->SetBounds(GetLeft() + itsDownPoint.X, 5, 2, parent->GetClientHeight() - 10);
  itsPanelX->SetVisible(true);
  itsPanelY->SetVisible(true);
  itsPanelX->BringToFront();
  itsPanelY->BringToFront();
  BringToFront();
}

void TXYSizer::Resized(TPoint theDelta) {
  if (OnResize) OnResize(this, theDelta);
}

void TXYSizer::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomPanel::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !itsDragging) return;
  itsDragging = false;
  Resized(Point(GetLeft() - itsDownMemPoint.X, GetTop() - itsDownMemPoint.Y));
  for (TPanel* guide : {itsPanelX, itsPanelY})
    if (guide) guide->SetVisible(false);
}

}  // namespace vx
