// The tree view under the pointer: the hot node, and the tip that shows a
// node's text the view cuts.
#include <vxplan/platform/ui/TreeView.h>

#include <QHelpEvent>
#include <QToolTip>

#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

void TCustomTreeView::SetHotTrack(bool v) {
  if (v == fHotTrack) return;
  fHotTrack = v;
  if (!v) SetHotNode(nullptr);
}

void TCustomTreeView::SetBorderStyle(TBorderStyle v) {
  if (v == fBorderStyle) return;
  fBorderStyle = v;
  Realign();  // the scroll bars move inside the frame, or back out
  RowsChanged();
  Invalidate();
}

void TCustomTreeView::SetHotNode(TTreeNode* theNode) {
  if (theNode == fHotNode) return;
  fHotNode = theNode;
  Invalidate();
}

void TCustomTreeView::MouseMove(TShiftState Shift, int X, int Y) {
  TWinControl::MouseMove(Shift, X, Y);
  // The application's handler may have changed the nodes: looked up afresh.
  if (fHotTrack && !IsDestroying()) SetHotNode(GetNodeAt(X, Y));
}

void TCustomTreeView::MouseLeave() {
  SetHotNode(nullptr);
  TWinControl::MouseLeave();
}

bool TCustomTreeView::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip && fToolTips) {
    auto* help = static_cast<QHelpEvent*>(e);
    if (ShowTextTip(help->pos(), help->globalPos())) return true;
  }
  return TWinControl::event(e);
}

bool TCustomTreeView::ShowTextTip(const QPoint& thePos, const QPoint& theGlobalPos) {
  TTreeNode* node = GetNodeAt(thePos.x(), thePos.y());
  if (!node || node == fEditNode) return false;
  const TRect text = node->DisplayRect(true), area = ItemArea();
  if (text.IsEmpty() || (text.Left >= area.Left && text.Right <= area.Right)) {
    QToolTip::hideText();
    return false;
  }
  QToolTip::showText(theGlobalPos, ToQString(node->GetText()), this,
                     QRect(text.Left, text.Top, text.Width(), text.Height()));
  return true;
}

}  // namespace vx
