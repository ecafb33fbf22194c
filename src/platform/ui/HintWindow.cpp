#include <vxplan/platform/ui/HintWindow.h>

#include <algorithm>

namespace vx {

namespace {

std::string WithLineFeeds(std::string s) {
  // Carriage return + line feed counts once.
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      out += '\n';
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TWinControl(AOwner) {
  // A top-level window of the tool-tip kind, on top of its owner's window.
  auto* ownerWidget = dynamic_cast<QWidget*>(AOwner);
  setParent(ownerWidget, Qt::ToolTip | Qt::FramelessWindowHint);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  SetColor(clInfoBk);
  SetVisible(false);
}

THintWindow::~THintWindow() { Destroying(); }

void THintWindow::SetCaption(const std::string& theCaption) {
  if (theCaption == fCaption) return;
  fCaption = theCaption;
  Invalidate();
}

TRect THintWindow::CalcHintRect(int theMaxWidth, const std::string& theText) {
  TCanvas* c = GetCanvas();
  c->SetFont(*GetFont());
  // Measured as Paint draws it: the widest line, lines a line spacing apart.
  TRect need = Rect(0, 0, 0, 0);
  c->DrawText(WithLineFeeds(theText), need, DT_CALCRECT | DT_LEFT | DT_NOPREFIX);
  return Rect(0, 0, std::min(need.Width(), std::max(theMaxWidth, 1)) + 10, need.Height() + 6);
}

void THintWindow::ActivateHint(const TRect& theRect, const std::string& theText) {
  SetCaption(theText);
  SetBounds(theRect.Left, theRect.Top, theRect.Width(), theRect.Height());
  SetVisible(true);
  raise();
}

void THintWindow::ReleaseHandle() { SetVisible(false); }

bool THintWindow::IsShowing() const { return isVisible(); }

void THintWindow::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  c->GetBrush()->SetColor(clWindowFrame);
  c->FrameRect(r);
  c->SetFont(*GetFont());
  c->GetFont()->SetColor(clInfoText);
  c->GetBrush()->SetStyle(bsClear);
  // Measured on the device it paints on: a hint sized before it had one
  // grows rather than cut its last line.
  TRect need = Rect(0, 0, 0, 0);
  c->DrawText(WithLineFeeds(fCaption), need, DT_CALCRECT | DT_LEFT | DT_NOPREFIX);
  if (need.Height() + 6 > r.Height() || need.Width() + 10 > r.Width())
    SetBounds(GetLeft(), GetTop(), std::max(r.Width(), need.Width() + 10), std::max(r.Height(), need.Height() + 6));
  r = Rect(r.Left + 4, r.Top + 2, r.Right - 4, r.Bottom - 2);
  c->DrawText(WithLineFeeds(fCaption), r, DT_LEFT | DT_NOPREFIX);
  TWinControl::Paint();
}

}  // namespace vx
