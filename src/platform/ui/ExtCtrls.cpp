#include "platform/ui/ExtCtrls.h"

#include <QTimer>

#include "platform/ui/Forms.h"

namespace vx {

void Frame3D(TCanvas* theCanvas, TRect& r, TColor theTopColor, TColor theBottomColor, int theWidth) {
  TPen* pen = theCanvas->GetPen();
  const TColor oldColor = pen->GetColor();
  const int oldWidth = pen->GetWidth();
  pen->SetWidth(1);
  --r.Bottom;
  --r.Right;
  for (int k = 0; k < theWidth; ++k) {
    pen->SetColor(theTopColor);
    const TPoint top[] = {Point(r.Left, r.Bottom), Point(r.Left, r.Top), Point(r.Right, r.Top)};
    theCanvas->Polyline(top);
    pen->SetColor(theBottomColor);
    const TPoint bottom[] = {Point(r.Right, r.Top), Point(r.Right, r.Bottom), Point(r.Left - 1, r.Bottom)};
    theCanvas->Polyline(bottom);
    r = InflateRect(r, -1, -1);
  }
  ++r.Bottom;
  ++r.Right;
  pen->SetColor(oldColor);
  pen->SetWidth(oldWidth);
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TWinControl(AOwner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::Changed() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetCaption(const std::string& theCaption) {
  fCaption = theCaption;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut theValue) {
  fBevelInner = theValue;
  Changed();
}

void TCustomPanel::SetBevelOuter(TBevelCut theValue) {
  fBevelOuter = theValue;
  Changed();
}

void TCustomPanel::SetBevelWidth(int theValue) {
  fBevelWidth = std::max(theValue, 1);
  Changed();
}

void TCustomPanel::SetBorderStyle(TBorderStyle theValue) {
  fBorderStyle = theValue;
  Changed();
}

void TCustomPanel::SetBorderWidth(int theValue) {
  fBorderWidth = std::max(theValue, 0);
  Changed();
}

void TCustomPanel::SetAlignment(TAlignment theValue) {
  fAlignment = theValue;
  Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& r) {
  TWinControl::AdjustClientRect(r);
  int inset = fBorderWidth;
  if (fBorderStyle == bsSingle) inset += 1;
  if (fBevelOuter != bvNone) inset += fBevelWidth;
  if (fBevelInner != bvNone) inset += fBevelWidth;
  r = InflateRect(r, -inset, -inset);
}

void TCustomPanel::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  if (fBorderStyle == bsSingle) {
    c->GetBrush()->SetColor(clWindowFrame);
    c->FrameRect(r);
    r = InflateRect(r, -1, -1);
  }
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    const TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    if (cut == bvSpace)
      Frame3D(c, r, GetColor(), GetColor(), fBevelWidth);
    else
      Frame3D(c, r, top, bottom, fBevelWidth);
  };
  bevel(fBevelOuter);
  Frame3D(c, r, GetColor(), GetColor(), fBorderWidth);
  bevel(fBevelInner);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  if (!fCaption.empty()) {
    c->SetFont(*GetFont());
    c->GetBrush()->SetStyle(bsClear);
    unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (fAlignment == taCenter) flags |= DT_CENTER;
    if (fAlignment == taRightJustify) flags |= DT_RIGHT;
    c->DrawText(fCaption, r, flags);
  }
  TWinControl::Paint();
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), fTimer(std::make_unique<QTimer>()) {
  QObject::connect(fTimer.get(), &QTimer::timeout, [this] {
    if (fOnTimer) GuardedCall([this] { fOnTimer(this); });
  });
}

TTimer::~TTimer() {
  Destroying();
  fTimer->stop();
}

void TTimer::SetEnabled(bool theEnabled) {
  fEnabled = theEnabled;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned theInterval) {
  fInterval = theInterval;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent theHandler) {
  fOnTimer = std::move(theHandler);
  UpdateTimer();
}

int TTimer::GetRemainingTime() const { return fTimer->isActive() ? fTimer->remainingTime() : -1; }

void TTimer::UpdateTimer() {
  fTimer->stop();
  if (fEnabled && fInterval > 0 && fOnTimer) fTimer->start(static_cast<int>(fInterval));
}

}  // namespace vx
