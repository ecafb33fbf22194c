// The classic in-application drag: one at a time, driven by the source's
// mouse events (it holds the mouse), asking the control under the mouse
// whether it takes the drop. Escape cancels.
#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QWidget>
#include <cstdlib>
#include <memory>

#include <vxplan/platform/ui/ControlsInternal.h>

namespace vx {

namespace {

struct DragState {
  TControl* source = nullptr;
  TObject* dragObject = nullptr;
  bool started = false;
  TPoint startPos;
  int threshold = 5;
  TControl* target = nullptr;
  bool accepted = false;
  TPoint lastPos;
  std::unique_ptr<TKeyHook> escape;
  bool cursorSet = false;
};

DragState& Drag() {
  static DragState state;
  return state;
}

TPoint gLastMousePos;
bool gMouseSeen = false;

// The control under a screen point: the deepest widget there, or its
// nearest ancestor that is a control.
TControl* ControlAt(TPoint p) {
  const QPoint at(p.X, p.Y);
  QWidget* hit = nullptr;
  QWidget* active = QApplication::activeWindow();
  const QWidgetList tops = QApplication::topLevelWidgets();
  auto probe = [&](QWidget* top) {
    if (hit || !top || !top->isVisible() || !top->frameGeometry().contains(at)) return;
    QWidget* child = top->childAt(top->mapFromGlobal(at));
    hit = child ? child : top;
  };
  probe(active);
  for (QWidget* top : tops) probe(top);
  for (QWidget* w = hit; w; w = w->parentWidget())
    if (auto* c = dynamic_cast<TControl*>(w)) return c->IsDestroying() ? nullptr : c;
  return nullptr;
}

void SetDragCursor(TCursor theCursor) {
  DragState& d = Drag();
  const QCursor cursor(detail::CursorShape(theCursor));
  if (d.cursorSet) {
    QApplication::changeOverrideCursor(cursor);
  } else {
    QApplication::setOverrideCursor(cursor);
    d.cursorSet = true;
  }
}

void Reset() {
  DragState& d = Drag();
  if (d.cursorSet) QApplication::restoreOverrideCursor();
  if (d.source) d.source->SetMouseCapture(false);
  d.escape.reset();
  d = DragState();
}

TObject* Carried() {
  DragState& d = Drag();
  return d.dragObject ? d.dragObject : d.source;
}

void Over(TPoint thePos) {
  DragState& d = Drag();
  d.lastPos = thePos;
  TControl* now = ControlAt(thePos);
  if (now != d.target && d.target) {
    const TPoint p = d.target->ScreenToClient(thePos);
    bool ignored = false;
    d.target->DoDragOver(Carried(), p.X, p.Y, dsDragLeave, ignored);
    d.target = nullptr;
    d.accepted = false;
    if (!Drag().source) return;  // a handler ended the drag
  }
  if (now) {
    const TPoint p = now->ScreenToClient(thePos);
    const TDragState state = now == d.target ? dsDragMove : dsDragEnter;
    d.target = now;
    bool accept = false;
    now->DoDragOver(Carried(), p.X, p.Y, state, accept);
    if (!Drag().source) return;
    d.accepted = accept;
  }
  SetDragCursor(d.accepted ? d.source->GetDragCursor() : crNoDrop);
}

void Start() {
  DragState& d = Drag();
  TObject* obj = nullptr;
  d.source->DoStartDrag(obj);
  if (!Drag().source) return;
  d.dragObject = obj;
  d.started = true;
  Over(d.lastPos);
}

void Finish(bool theDrop) {
  DragState& d = Drag();
  if (!d.source) return;
  TControl* source = d.source;
  TObject* carried = Carried();
  const bool started = d.started;
  TControl* target = theDrop && d.accepted ? d.target : nullptr;
  TControl* left = !target ? d.target : nullptr;
  const TPoint pos = d.lastPos;
  Reset();
  if (!started) return;
  if (left) {
    const TPoint p = left->ScreenToClient(pos);
    bool ignored = false;
    left->DoDragOver(carried, p.X, p.Y, dsDragLeave, ignored);
  }
  if (target) {
    const TPoint p = target->ScreenToClient(pos);
    target->DoDragDrop(carried, p.X, p.Y);
  }
  const TPoint p = target ? target->ScreenToClient(pos) : source->ScreenToClient(pos);
  source->DoEndDrag(target, p.X, p.Y);
}

}  // namespace

void TControl::BeginDrag(bool Immediate, int Threshold) {
  DragState& d = Drag();
  if (d.source || IsDestroying()) return;  // one drag at a time
  d.source = this;
  d.threshold = Threshold < 0 ? 5 : Threshold;
  d.startPos = d.lastPos = detail::LastMousePos();
  d.escape = std::make_unique<TKeyHook>([](unsigned short Key, TShiftState) {
    if (Key != VK_ESCAPE || !Drag().source) return false;
    Finish(false);
    return true;
  });
  SetMouseCapture(true);
  if (Immediate) Start();
}

void TControl::EndDrag(bool Drop) {
  if (Drag().source == this) Finish(Drop);
}

bool TControl::Dragging() const { return Drag().source == this; }

void TControl::DoStartDrag(TObject*& DragObject) {
  if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
  if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

TPoint detail::LastMousePos() { return gMouseSeen ? gLastMousePos : GetCursorPos(); }

void detail::NoteMousePos(TPoint theScreenPos) {
  gLastMousePos = theScreenPos;
  gMouseSeen = true;
}

bool detail::DragHandlesMouse(TControl* theSource, unsigned theMsg, TPoint theScreenPos) {
  DragState& d = Drag();
  if (!d.source || d.source != theSource) return false;
  if (theMsg == WM_MOUSEMOVE) {
    d.lastPos = theScreenPos;
    if (!d.started) {
      if (std::abs(theScreenPos.X - d.startPos.X) + std::abs(theScreenPos.Y - d.startPos.Y) >= d.threshold) Start();
    } else {
      Over(theScreenPos);
    }
    return true;
  }
  if (theMsg == WM_LBUTTONUP || theMsg == WM_RBUTTONUP || theMsg == WM_MBUTTONUP) {
    d.lastPos = theScreenPos;
    const bool started = d.started;
    Finish(true);
    return started;  // a release before the drag began is a click
  }
  return d.started;
}

void detail::DragForget(TControl* theControl) {
  DragState& d = Drag();
  if (d.source == theControl) {
    Reset();  // it cannot hear its end any more
  } else if (d.target == theControl) {
    d.target = nullptr;
    d.accepted = false;
  }
}

}  // namespace vx
