#include <vxplan/platform/ui/Controls.h>
#include <vxplan/platform/rtl/FlagScope.h>
#include <vxplan/platform/ui/ControlsInternal.h>
#include <vxplan/platform/ui/Menus.h>
#include <vxplan/platform/ui/Palette.h>

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/ui/DeviceContext.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

namespace {

const QEvent::Type kPostedMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

struct PostedMessage : QEvent {
  PostedMessage(unsigned msg, WPARAM w, LPARAM l) : QEvent(kPostedMessageEvent) {
    message.Msg = msg;
    message.WParam = w;
    message.LParam = l;
  }
  TMessage message;
};

TShiftState ShiftFromModifiers(Qt::KeyboardModifiers m) {
  TShiftState s;
  if (m & Qt::ShiftModifier) s.Include(ssShift);
  if (m & Qt::ControlModifier) s.Include(ssCtrl);
  if (m & Qt::AltModifier) s.Include(ssAlt);
  return s;
}

TShiftState ShiftFromButtons(Qt::MouseButtons b) {
  TShiftState s;
  if (b & Qt::LeftButton) s.Include(ssLeft);
  if (b & Qt::RightButton) s.Include(ssRight);
  if (b & Qt::MiddleButton) s.Include(ssMiddle);
  return s;
}

WPARAM KeyStateFromShift(TShiftState s) {
  WPARAM w = 0;
  if (s.Contains(ssLeft)) w |= MK_LBUTTON;
  if (s.Contains(ssRight)) w |= MK_RBUTTON;
  if (s.Contains(ssMiddle)) w |= MK_MBUTTON;
  if (s.Contains(ssShift)) w |= MK_SHIFT;
  if (s.Contains(ssCtrl)) w |= MK_CONTROL;
  return w;
}

TShiftState ShiftFromKeyState(WPARAM w) {
  TShiftState s;
  if (w & MK_LBUTTON) s.Include(ssLeft);
  if (w & MK_RBUTTON) s.Include(ssRight);
  if (w & MK_MBUTTON) s.Include(ssMiddle);
  if (w & MK_SHIFT) s.Include(ssShift);
  if (w & MK_CONTROL) s.Include(ssCtrl);
  return s;
}

unsigned short VirtualKey(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<unsigned short>('A' + (qtKey - Qt::Key_A));
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<unsigned short>('0' + (qtKey - Qt::Key_0));
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return static_cast<unsigned short>(VK_F1 + (qtKey - Qt::Key_F1));
  switch (qtKey) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Equal: return VK_OEM_PLUS;
    default: return 0;
  }
}

}  // namespace

unsigned short detail::VirtualKeyOf(int theQtKey) { return VirtualKey(theQtKey); }

TShiftState detail::ShiftOf(Qt::KeyboardModifiers theModifiers) { return ShiftFromModifiers(theModifiers); }

Qt::CursorShape detail::CursorShape(TCursor c) {
  switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
  }
}

namespace {

bool IsMouseMessage(unsigned msg) { return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK; }

}  // namespace

// --- TComponent ------------------------------------------------------------------

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  DestroyComponents();
  if (fOwner) fOwner->RemoveComponent(this);
}

TComponent* TComponent::GetComponent(int i) const {
  if (i < 0 || i >= ComponentCount()) throw EListError(i);
  return fComponents[static_cast<size_t>(i)];
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->fOwner == this) return;
  if (AComponent->fOwner) AComponent->fOwner->RemoveComponent(AComponent);
  fComponents.push_back(AComponent);
  AComponent->fOwner = this;
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  auto it = std::find(fComponents.begin(), fComponents.end(), AComponent);
  if (it == fComponents.end()) return;
  fComponents.erase(it);
  AComponent->fOwner = nullptr;
  Notification(AComponent, opRemove);
}

void TComponent::DestroyComponents() {
  while (!fComponents.empty()) {
    TComponent* c = fComponents.back();
    fComponents.pop_back();
    c->fOwner = nullptr;
    delete c;
  }
}

void TComponent::SetDesigning(bool theValue) {
  if (theValue)
    fComponentState.Include(csDesigning);
  else
    fComponentState.Exclude(csDesigning);
  for (TComponent* c : fComponents) c->SetDesigning(theValue);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(fFreeNotifies.begin(), fFreeNotifies.end(), AComponent) == fFreeNotifies.end()) {
    fFreeNotifies.push_back(AComponent);
    // Both ways, so that whichever goes first lets go of the other.
    AComponent->fFreeNotifies.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  std::erase(fFreeNotifies, AComponent);
  std::erase(AComponent->fFreeNotifies, this);
}

void TComponent::Destroying() noexcept {
  if (fComponentState.Contains(csDestroying)) return;
  fComponentState.Include(csDestroying);
  while (!fFreeNotifies.empty()) {
    TComponent* other = fFreeNotifies.back();
    fFreeNotifies.pop_back();
    std::erase(other->fFreeNotifies, this);
    if (!other->IsDestroying()) {
      try {
        other->Notification(this, opRemove);
      } catch (...) {
        // A destructor must finish; the reference is dropped regardless.
      }
    }
  }
}

// --- TControl --------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : QWidget(nullptr), TComponent(AOwner) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  fFont.SetOwnerListener([this](TObject*) { FontChanged(); });
  detail::InstallAccessibleFactory();
  // The palette may have changed while no control was there to hear it.
  FollowApplicationPalette();
}

TControl::~TControl() {
  Destroying();
  detail::DragForget(this);
  detail::ForgetAccessible(this);
  // Children and owned components go while this control is still whole, so
  // that none of them calls back into a half-destroyed object.
  DestroyComponents();
  const QList<QWidget*> children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* child : children) delete child;
}

TWinControl* TControl::GetParent() const { return dynamic_cast<TWinControl*>(parentWidget()); }

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == GetParent()) return;
  TWinControl* old = GetParent();
  {
    // Qt hides a widget on its way to another parent: not the control's hide.
    TFlagScope own(fSettingParent);
    setParent(AParent);
  }
  if (AParent && fVisible == isHidden()) QWidget::setVisible(fVisible);
  if (old && fAlign != alNone) old->Realign();
  RequestAlign();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // Qt's own limits: beyond them its rectangle arithmetic overflows.
  AWidth = std::clamp(AWidth, 0, QWIDGETSIZE_MAX);
  AHeight = std::clamp(AHeight, 0, QWIDGETSIZE_MAX);
  ALeft = std::clamp(ALeft, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  ATop = std::clamp(ATop, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (ALeft == x() && ATop == y() && AWidth == width() && AHeight == height()) return;
  const QSize oldSize = size();
  setGeometry(ALeft, ATop, AWidth, AHeight);
  // Qt holds a hidden widget's resize back until it is shown; layout and
  // Resize must not wait for that.
  if (testAttribute(Qt::WA_PendingResizeEvent) && oldSize != size()) {
    setAttribute(Qt::WA_PendingResizeEvent, false);
    QResizeEvent e(size(), oldSize);
    QCoreApplication::sendEvent(this, &e);
  }
  if (!fQuietBounds) RequestAlign();
}

void TControl::SetBoundsQuietly(const TRect& theRect) {
  TFlagScope scope(fQuietBounds);
  SetBounds(theRect.Left, theRect.Top, theRect.Width(), theRect.Height());
}

void TControl::BringToFront() { raise(); }

void TControl::SetOpaque() {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
}

void TControl::RequestAlign() {
  TWinControl* parent = GetParent();
  if (parent && !parent->IsDestroying() && !parent->fAligning) parent->Realign();
}

void TControl::SetAlign(TAlign theAlign) {
  if (theAlign == fAlign) return;
  fAlign = theAlign;
  RequestAlign();
}

void TControl::SetVisible(bool theVisible) {
  const bool changed = theVisible != fVisible;
  fVisible = theVisible;
  if (theVisible == isHidden()) QWidget::setVisible(theVisible);
  if (changed && fAlign != alNone) RequestAlign();
}

void TControl::setVisible(bool visible) {
  fVisibleBeforeQt = fVisible;
  // Qt hides a widget while it changes parent; that is not the control's
  // choice, and neither is what happens while it goes.
  if (fReparenting || fSettingParent || IsDestroying()) {
    QWidget::setVisible(visible);
    return;
  }
  // Qt's show() also shows a child that was never hidden along with its
  // parent (not hidden, not yet visible): always pass it on.
  const bool changed = visible != fVisible;
  fVisible = visible;
  QWidget::setVisible(visible);
  if (changed && fAlign != alNone) RequestAlign();
}

QSize TControl::sizeHint() const {
  const TPoint p = PreferredSize();
  return p.X < 0 || p.Y < 0 ? QWidget::sizeHint() : QSize(p.X, p.Y);
}

QSize TControl::minimumSizeHint() const {
  const TPoint p = MinimumSize();
  return p.X < 0 || p.Y < 0 ? QWidget::minimumSizeHint() : QSize(p.X, p.Y);
}

TComponent* TControl::OwnerFromQtParent(QWidget* theParent) {
  for (QWidget* w = theParent; w; w = w->parentWidget())
    if (auto* c = dynamic_cast<TComponent*>(w)) return c;
  return nullptr;
}

void TControl::AdoptQtParent(QWidget* theParent) {
  if (!theParent) return;
  if (auto* control = dynamic_cast<TWinControl*>(theParent))
    SetParent(control);
  else
    QWidget::setParent(theParent);
}

// A Qt setParent done behind SetParent's back: the same bookkeeping after it.
void TControl::ParentChanged() {
  QWidget* old = fParentBefore.data();
  fParentBefore = nullptr;
  fReparenting = false;
  if (fSettingParent) return;
  // Qt leaves a moved widget hidden (a hide of its own, not marked explicit);
  // a control that was Visible shows again.
  const bool hiddenByQt =
      isHidden() && !testAttribute(Qt::WA_WState_ExplicitShowHide) && !fVisible && fVisibleBeforeQt;
  if (hiddenByQt) fVisible = true;
  if (fShownBeforeReparent || hiddenByQt)
    if (parentWidget() && !isWindow() && fVisible && isHidden()) QWidget::setVisible(true);
  if (auto* oldControl = dynamic_cast<TWinControl*>(old); oldControl && oldControl != parentWidget() && fAlign != alNone)
    oldControl->Realign();
  RequestAlign();
}

void TControl::SetEnabled(bool theEnabled) {
  setEnabled(theEnabled);
  Invalidate();
}

void TControl::SetColor(TColor theColor) {
  if (theColor == fColor) return;
  fColor = theColor;
  Invalidate();
}

void TControl::FontChanged() { Invalidate(); }

void TControl::SetCursor(TCursor theCursor) {
  fCursor = theCursor;
  if (theCursor == crDefault)
    unsetCursor();
  else
    setCursor(QCursor(detail::CursorShape(theCursor)));
}

void TControl::SetHint(const std::string& theHint) {
  fHint = theHint;
  setToolTip(fShowHint ? ToQString(fHint) : QString());
}

void TControl::SetShowHint(bool theShowHint) {
  fShowHint = theShowHint;
  SetHint(fHint);
}

void TControl::SetTabStop(bool theTabStop) {
  fTabStop = theTabStop;
  setFocusPolicy(theTabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool TControl::CanFocus() const { return isEnabled() && fVisible && focusPolicy() != Qt::NoFocus; }

void TControl::SetFocus() {
  if (focusPolicy() == Qt::NoFocus) setFocusPolicy(Qt::ClickFocus);
  setFocus(Qt::OtherFocusReason);
}

bool TControl::SelectNextControl(bool theForward) { return focusNextPrevChild(theForward); }

namespace {

// The control a mouse button went down on, until it comes up: Qt gives it the
// mouse meanwhile without an explicit grab, so taking the mouse (or missing
// the release) must be told to it.
QPointer<TControl> gPressedControl;

}  // namespace

bool TControl::GetMouseCapture() const { return QWidget::mouseGrabber() == this; }

void TControl::SetMouseCapture(bool theCapture) {
  if (!theCapture) {
    if (GetMouseCapture()) releaseMouse();
    return;
  }
  QPointer<QWidget> previous = QWidget::mouseGrabber();
  if (!previous) previous = gPressedControl.data();
  grabMouse();
  // The control that had the mouse loses its gesture with it.
  if (auto* c = dynamic_cast<TControl*>(previous.data()); c && c != this && !c->IsDestroying()) {
    if (gPressedControl == c) gPressedControl = nullptr;
    c->Perform(WM_CANCELMODE);
  }
}

void TControl::SetPopupMenu(TPopupMenu* theMenu) {
  if (fPopupMenu == theMenu) return;
  if (fPopupMenu) RemoveFreeNotification(fPopupMenu);
  fPopupMenu = theMenu;
  if (theMenu) FreeNotification(theMenu);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == fPopupMenu) fPopupMenu = nullptr;
}

void TControl::Invalidate() {
  if (IsDestroying()) return;
  ++fUpdateRequests;
  update();
}

void TControl::Repaint() {
  if (IsDestroying()) return;
  repaint();
}

void TControl::Update() {
  if (!IsDestroying()) QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
}

void TControl::PaintTo(TBitmap* theBitmap) {
  if (!theBitmap) return;
  theBitmap->SetDevicePixelRatio(devicePixelRatioF());
  theBitmap->SetSize(width(), height());
  QImage* image = theBitmap->MutableImage();
  if (!image || image->isNull()) return;
  QPainter painter(image);
  render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

TPoint TControl::ClientToScreen(TPoint p) const {
  QPoint g = mapToGlobal(QPoint(p.X, p.Y));
  return Point(g.x(), g.y());
}

TPoint TControl::ScreenToClient(TPoint p) const {
  QPoint l = mapFromGlobal(QPoint(p.X, p.Y));
  return Point(l.x(), l.y());
}

LRESULT TControl::Perform(unsigned Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) { Dispatch(Message); }

void TControl::DecodeMessage(TMessage& m) const {
  if (m.Decoded) return;
  m.Decoded = true;
  if (IsMouseMessage(m.Msg)) {
    m.XPos = LoWordSigned(m.LParam);
    m.YPos = HiWordSigned(m.LParam);
    m.Shift = ShiftFromKeyState(m.WParam);
  } else if (m.Msg == WM_MOUSEWHEEL) {
    m.WheelDelta = static_cast<std::int16_t>((m.WParam >> 16) & 0xFFFF);
    m.Shift = ShiftFromKeyState(m.WParam & 0xFFFF);
    m.XPos = LoWordSigned(m.LParam);
    m.YPos = HiWordSigned(m.LParam);
  } else if (m.Msg == WM_KEYDOWN || m.Msg == WM_KEYUP || m.Msg == WM_CHAR) {
    m.CharCode = static_cast<unsigned>(m.WParam);
    if (QCoreApplication::instance()) m.Shift = ShiftFromModifiers(QGuiApplication::queryKeyboardModifiers());
  }
}

void TControl::Dispatch(TMessage& m) {
  DecodeMessage(m);
  switch (m.Msg) {
    case WM_LBUTTONDOWN: MouseDown(mbLeft, m.Shift + TShiftState{ssLeft}, m.XPos, m.YPos); break;
    case WM_RBUTTONDOWN: MouseDown(mbRight, m.Shift + TShiftState{ssRight}, m.XPos, m.YPos); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, m.Shift + TShiftState{ssMiddle}, m.XPos, m.YPos); break;
    case WM_LBUTTONDBLCLK:
      DblClick();
      MouseDown(mbLeft, m.Shift + TShiftState{ssLeft, ssDouble}, m.XPos, m.YPos);
      break;
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, m.Shift + TShiftState{ssRight, ssDouble}, m.XPos, m.YPos); break;
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, m.Shift + TShiftState{ssMiddle, ssDouble}, m.XPos, m.YPos); break;
    case WM_LBUTTONUP: {
      const bool wasPressed = fPressedInside;
      fPressedInside = false;
      MouseUp(mbLeft, m.Shift, m.XPos, m.YPos);
      if (wasPressed && GetClientRect().Contains(Point(m.XPos, m.YPos))) Click();
      break;
    }
    case WM_RBUTTONUP: MouseUp(mbRight, m.Shift, m.XPos, m.YPos); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, m.Shift, m.XPos, m.YPos); break;
    case WM_MOUSEMOVE: MouseMove(m.Shift, m.XPos, m.YPos); break;
    case WM_MOUSEWHEEL: m.Result = DoMouseWheel(m.Shift, m.WheelDelta, Point(m.XPos, m.YPos)) ? 1 : 0; break;
    case WM_KEYDOWN: {
      auto key = static_cast<unsigned short>(m.CharCode);
      KeyDown(key, m.Shift);
      m.CharCode = key;
      break;
    }
    case WM_KEYUP: {
      auto key = static_cast<unsigned short>(m.CharCode);
      KeyUp(key, m.Shift);
      m.CharCode = key;
      break;
    }
    case WM_CHAR: {
      char32_t c = static_cast<char32_t>(m.CharCode);
      fCharShift = m.Shift;
      KeyPress(c);
      m.CharCode = static_cast<unsigned>(c);
      break;
    }
    case WM_SETFOCUS: DoEnter(); break;
    case WM_KILLFOCUS: DoExit(); break;
    case WM_CANCELMODE:
      fPressedInside = false;
      if (gPressedControl == this) gPressedControl = nullptr;
      CancelMode();
      break;
    case CM_MOUSEENTER: MouseEnter(); break;
    case CM_MOUSELEAVE: MouseLeave(); break;
    default: DefaultHandler(m); break;
  }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) fPressedInside = true;
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::KeyDown(unsigned short& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TControl::KeyUp(unsigned short& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TControl::KeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  return handled;
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = static_cast<bool>(OnDragOver);
  if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoDragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  DragOver(Source, X, Y, State, Accept);
}

void TControl::DoDragDrop(TObject* Source, int X, int Y) { DragDrop(Source, X, Y); }

void TControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TControl::CancelMode() {}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Paint() {
  if (OnPaint) OnPaint(this);
}

void TControl::PaintWindow(HDC DC) {
  fCanvas.SetHandle(DC);
  try {
    Paint();
  } catch (...) {
    fCanvas.SetHandle(nullptr);
    throw;
  }
  fCanvas.SetHandle(nullptr);
}

bool TControl::event(QEvent* e) {
  if (IsDestroying()) return QWidget::event(e);
  bool handled = true;
  GuardedCall([&] {
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::FocusIn:
      case QEvent::FocusOut:
      case QEvent::Enter:
      case QEvent::Leave:
      case QEvent::KeyRelease:
        DispatchQtInput(e);
        break;
      case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
          // Tab moves the focus unless the control asks for it.
          if (Perform(CM_WANTSPECIALKEY, VK_TAB) == 0) {
            handled = QWidget::event(e);
            break;
          }
        }
        DispatchQtInput(e);
        break;
      }
      case QEvent::ApplicationPaletteChange:
        FollowApplicationPalette();
        handled = QWidget::event(e);
        PaletteChanged();
        break;
      case QEvent::PaletteChange:
      case QEvent::StyleChange:
        handled = QWidget::event(e);
        PaletteChanged();
        break;
      case QEvent::ActivationChange:
        handled = QWidget::event(e);
        if (GroupsDiffer(palette())) PaletteChanged();
        break;
      case QEvent::ParentAboutToChange:
        fReparenting = true;
        fShownBeforeReparent = !isHidden();
        fParentBefore = parentWidget();
        handled = QWidget::event(e);
        break;
      case QEvent::ParentChange:
        Perform(WM_CANCELMODE);
        handled = QWidget::event(e);
        ParentChanged();
        break;
      case QEvent::Hide:
      case QEvent::UngrabMouse:
      case QEvent::WindowDeactivate:
        Perform(WM_CANCELMODE);
        handled = QWidget::event(e);
        break;
      default:
        if (e->type() == kPostedMessageEvent) {
          TMessage m = static_cast<PostedMessage*>(e)->message;
          WndProc(m);
        } else {
          handled = QWidget::event(e);
        }
        break;
    }
  });
  return handled;
}

void TControl::DispatchQtInput(QEvent* e) {
  TMessage m;
  m.Decoded = true;
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      auto* me = static_cast<QMouseEvent*>(e);
      const QPoint pos = me->position().toPoint();
      m.XPos = pos.x();
      m.YPos = pos.y();
      m.Shift = ShiftFromModifiers(me->modifiers()) + ShiftFromButtons(me->buttons());
      const Qt::MouseButton b = me->button();
      if (e->type() == QEvent::MouseMove) {
        m.Msg = WM_MOUSEMOVE;
      } else if (e->type() == QEvent::MouseButtonPress) {
        m.Msg = b == Qt::RightButton ? WM_RBUTTONDOWN : b == Qt::MiddleButton ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
      } else if (e->type() == QEvent::MouseButtonRelease) {
        m.Msg = b == Qt::RightButton ? WM_RBUTTONUP : b == Qt::MiddleButton ? WM_MBUTTONUP : WM_LBUTTONUP;
      } else {
        m.Msg = b == Qt::RightButton ? WM_RBUTTONDBLCLK : b == Qt::MiddleButton ? WM_MBUTTONDBLCLK : WM_LBUTTONDBLCLK;
      }
      m.WParam = KeyStateFromShift(m.Shift);
      m.LParam = MAKELPARAM(m.XPos, m.YPos);
      if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
        gPressedControl = this;
      } else if (e->type() == QEvent::MouseButtonRelease) {
        if (me->buttons() == Qt::NoButton && gPressedControl == this) gPressedControl = nullptr;
      } else if (me->buttons() == Qt::NoButton && gPressedControl == this) {
        // The release went elsewhere (a popup, another window): the gesture
        // it would have ended ends now, cancelled.
        gPressedControl = nullptr;
        Perform(WM_CANCELMODE);
        if (IsDestroying()) return;
      }
      const QPoint g = me->globalPosition().toPoint();
      detail::NoteMousePos(Point(g.x(), g.y()));
      if (detail::DragHandlesMouse(this, m.Msg, Point(g.x(), g.y()))) return;
      if (m.Msg == WM_LBUTTONDOWN && fDragMode == dmAutomatic) BeginDrag(false);
      break;
    }
    case QEvent::Wheel: {
      auto* we = static_cast<QWheelEvent*>(e);
      const QPoint g = we->globalPosition().toPoint();
      m.Msg = WM_MOUSEWHEEL;
      m.XPos = g.x();
      m.YPos = g.y();
      m.WheelDelta = we->angleDelta().y() != 0 ? we->angleDelta().y() : we->angleDelta().x();
      m.Shift = ShiftFromModifiers(we->modifiers()) + ShiftFromButtons(we->buttons());
      m.WParam = (static_cast<WPARAM>(static_cast<std::uint16_t>(m.WheelDelta)) << 16) | KeyStateFromShift(m.Shift);
      m.LParam = MAKELPARAM(m.XPos, m.YPos);
      break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* k = static_cast<QKeyEvent*>(e);
      m.Msg = e->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP;
      m.CharCode = VirtualKey(k->key());
      m.Shift = ShiftFromModifiers(k->modifiers());
      if (k->key() == Qt::Key_Backtab) m.Shift.Include(ssShift);  // Shift+Tab, whatever the modifiers say
      m.WParam = m.CharCode;
      if (m.CharCode != 0) WndProc(m);
      // The menu key and Shift+F10 open the pop-up menu, unless the control took the key.
      if (m.Msg == WM_KEYDOWN && m.CharCode != 0 && !IsDestroying() &&
          (k->key() == Qt::Key_Menu || (k->key() == Qt::Key_F10 && m.Shift == TShiftState{ssShift}))) {
        KeyboardMenu();
        return;
      }
      // Typed characters follow their key as WM_CHAR.
      if (e->type() == QEvent::KeyPress) {
        const QString text = k->text();
        if (!text.isEmpty()) {
          TMessage c;
          c.Decoded = true;
          c.Msg = WM_CHAR;
          c.CharCode = text.toUcs4().value(0);
          c.WParam = c.CharCode;
          c.Shift = m.Shift;
          WndProc(c);
        }
      }
      return;
    }
    case QEvent::FocusIn: m.Msg = WM_SETFOCUS; break;
    case QEvent::FocusOut: m.Msg = WM_KILLFOCUS; break;
    case QEvent::Enter: m.Msg = CM_MOUSEENTER; break;
    case QEvent::Leave: m.Msg = CM_MOUSELEAVE; break;
    default: return;
  }
  WndProc(m);
  if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) Perform(CM_FOCUSCHANGED);
  if (m.Msg == WM_RBUTTONUP && fPopupMenu && !IsDestroying()) {
    const TPoint at = ClientToScreen(Point(m.XPos, m.YPos));
    fPopupMenu->Popup(at.X, at.Y);
  }
}

void TControl::KeyboardMenu() {
  if (!fPopupMenu || IsDestroying()) return;
  TPoint place = Point(GetWidth() / 2, GetHeight() / 2);
  // KeyboardMenuPlace may select, and so call handlers: the menu is read afresh.
  if (KeyboardMenuPlace(place) && fPopupMenu && !IsDestroying()) {
    const TPoint at = ClientToScreen(place);
    fPopupMenu->Popup(at.X, at.Y);
  }
}

bool TControl::KeyboardMenuPlace(TPoint&) { return true; }

void TControl::PaletteChanged() { update(); }

void TControl::paintEvent(QPaintEvent*) {
  if (IsDestroying()) return;
  // Once per paint: the widget's own palette, in its window's state; a
  // picture taken for paper keeps the paper's colours.
  const bool paper = PaperColorsInForce();
  TSystemColors colors;
  if (!paper) colors = SystemColorsFrom(palette(), isActiveWindow() ? QPalette::Active : QPalette::Inactive);
  TSystemColorsScope scope(paper ? LightSystemColors() : colors);
  QPainter painter(this);
  std::unique_ptr<TDeviceContext> dc = TDeviceContext::ForPainter(&painter, width(), height(), ScreenPixelsPerInch);
  GuardedCall([&] { PaintWindow(dc.get()); });
  fCanvas.SetHandle(nullptr);
}

void TControl::resizeEvent(QResizeEvent*) {
  if (IsDestroying()) return;
  GuardedCall([&] { Resize(); });
}

// --- TWinControl -----------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() { Destroying(); }

int TWinControl::ControlCount() const {
  int n = 0;
  for (QObject* o : children())
    if (dynamic_cast<TControl*>(o)) ++n;
  return n;
}

TControl* TWinControl::GetControl(int i) const {
  int n = 0;
  for (QObject* o : children())
    if (auto* c = dynamic_cast<TControl*>(o)) {
      if (n == i) return c;
      ++n;
    }
  throw EListError(i);
}

void TWinControl::Realign() {
  if (IsDestroying() || fAligning) return;
  TFlagScope scope(fAligning);
  TRect r = GetClientRect();
  AdjustClientRect(r);
  AlignControls(nullptr, r);
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::AlignControls(TControl*, TRect& r) {
  std::vector<TControl*> all;
  for (QObject* o : children())
    if (auto* c = dynamic_cast<TControl*>(o); c && c->GetAlign() != alNone && c->GetVisible()) all.push_back(c);
  if (all.empty()) return;
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> group;
    for (TControl* c : all)
      if (c->GetAlign() == a) group.push_back(c);
    // Each group in the order of its place: top ones from the top, bottom ones
    // from the bottom, and so on; ties keep the order of creation.
    std::stable_sort(group.begin(), group.end(), [a](TControl* p, TControl* q) {
      switch (a) {
        case alTop: return p->GetTop() < q->GetTop();
        case alBottom: return p->GetTop() + p->GetHeight() > q->GetTop() + q->GetHeight();
        case alLeft: return p->GetLeft() < q->GetLeft();
        case alRight: return p->GetLeft() + p->GetWidth() > q->GetLeft() + q->GetWidth();
        default: return false;
      }
    });
    for (TControl* c : group) {
      const int w = std::max(r.Width(), 0), h = std::max(r.Height(), 0);
      switch (a) {
        case alTop: {
          const int ch = std::min(c->GetHeight(), h);
          c->SetBounds(r.Left, r.Top, w, ch);
          r.Top += ch;
          break;
        }
        case alBottom: {
          const int ch = std::min(c->GetHeight(), h);
          c->SetBounds(r.Left, r.Bottom - ch, w, ch);
          r.Bottom -= ch;
          break;
        }
        case alLeft: {
          const int cw = std::min(c->GetWidth(), w);
          c->SetBounds(r.Left, r.Top, cw, h);
          r.Left += cw;
          break;
        }
        case alRight: {
          const int cw = std::min(c->GetWidth(), w);
          c->SetBounds(r.Right - cw, r.Top, cw, h);
          r.Right -= cw;
          break;
        }
        default: c->SetBounds(r.Left, r.Top, w, h); break;
      }
    }
  }
}

void TWinControl::resizeEvent(QResizeEvent* e) {
  if (IsDestroying()) return;
  GuardedCall([&] { Realign(); });
  TControl::resizeEvent(e);
}

// --- messages ---------------------------------------------------------------------

TPoint GetCursorPos() {
  const QPoint p = QCursor::pos();
  return Point(p.x(), p.y());
}

bool PostMessage(TControl* theControl, unsigned Msg, WPARAM WParam, LPARAM LParam) {
  if (!theControl || !QCoreApplication::instance()) return false;
  QCoreApplication::postEvent(theControl, new PostedMessage(Msg, WParam, LParam));
  return true;
}

LRESULT SendMessage(TControl* theControl, unsigned Msg, WPARAM WParam, LPARAM LParam) {
  return theControl ? theControl->Perform(Msg, WParam, LParam) : 0;
}

// --- form activity and key hooks ---------------------------------------------------------

int WheelScrollLines() { return QCoreApplication::instance() ? std::max(QApplication::wheelScrollLines(), 1) : 3; }

TRect ScreenWorkArea(TPoint thePoint) {
  if (!QCoreApplication::instance()) return Rect(0, 0, 0, 0);
  QScreen* screen = QGuiApplication::screenAt(QPoint(thePoint.X, thePoint.Y));
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return Rect(0, 0, 0, 0);
  const QRect r = screen->availableGeometry();
  return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

bool FormIsActive(const TControl* theControl) {
  if (!theControl) return true;
  QWidget* active = QApplication::activeWindow();
  if (!active) return false;
  if (active == theControl->window()) return true;
  TControl* mainForm = Application()->GetMainForm();
  return mainForm && active == mainForm->window();
}

struct TKeyHook::Impl : QObject {
  THandler handler;
  bool running = false;
  bool orphaned = false;  // the hook went while its handler ran
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::KeyPress || !handler || orphaned) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    const unsigned short key = VirtualKey(k->key());
    if (key == 0) return false;
    bool taken = false;
    const THandler h = handler;  // the handler may free the hook
    running = true;
    GuardedCall([&] { taken = h(key, ShiftFromModifiers(k->modifiers())); });
    running = false;
    if (orphaned) deleteLater();
    return taken;
  }
};

TKeyHook::TKeyHook(THandler theHandler) : fImpl(std::make_unique<Impl>()) {
  fImpl->handler = std::move(theHandler);
  if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(fImpl.get());
}

TKeyHook::~TKeyHook() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(fImpl.get());
  if (fImpl->running) {
    fImpl->orphaned = true;
    (void)fImpl.release();  // freed when its handler has returned
  }
}

}  // namespace vx
