#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <vxplan/platform/rtl/Color.h>
#include <vxplan/platform/rtl/Object.h>
#include <vxplan/platform/rtl/Set.h>
#include <vxplan/platform/rtl/Types.h>
#include <vxplan/platform/ui/Graphics.h>
#include <vxplan/platform/ui/Messages.h>

namespace vx {

class TControl;
class TWinControl;
class TPopupMenu;
class TvxAccessibleContent;

enum TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateItem>;
enum TOperation { opInsert, opRemove };

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
enum TDragMode { dmManual, dmAutomatic };

// Cursor ids.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, unsigned short& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;

// How a component's wheel works. wcClassic: the component's own documented
// rule (one step a wheel message, whatever its delta). wcQt: as in Qt's item
// views: the wheel scrolls by the platform's wheel step with fine deltas
// (touchpads, high-resolution wheels) added up, Shift+wheel goes sideways (in
// time), Ctrl+wheel zooms.
enum TWheelConvention { wcClassic, wcQt };

// What a character typed on a cell does. tcClassic: the component's own
// documented rule (letters, digits and space start an edit and are added
// after the cell's text). tcQt: as in Qt's item views: any printable
// character starts an edit and replaces the cell's text.
enum TTypingConvention { tcClassic, tcQt };

// Adds up wheel deltas (120 a notch) into whole steps of theStepsPerNotch a
// notch, keeping the rest for the next delta.
class VX_API TWheelSteps {
public:
  int Add(int theDelta, int theStepsPerNotch) noexcept {
    fRest += static_cast<long long>(theDelta) * theStepsPerNotch;
    const long long steps = fRest / 120;
    fRest -= steps * 120;
    return static_cast<int>(std::clamp<long long>(steps, -1000000, 1000000));
  }
  void Reset() noexcept { fRest = 0; }

private:
  long long fRest = 0;
};
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
// A drag starts: the handler may hand an object of its own to the targets
// (by default they get the source control).
using TStartDragEvent = std::function<void(TObject* Sender, TObject*& DragObject)>;
// A drag ended: dropped on Target, or cancelled (Target nil).
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

// Owns the components created with it as owner, and frees them when it goes.
class VX_API TComponent : public TObject {
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* GetOwner() const noexcept { return fOwner; }
  int ComponentCount() const noexcept { return static_cast<int>(fComponents.size()); }
  TComponent* GetComponent(int i) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);

  TComponentState GetComponentState() const noexcept { return fComponentState; }
  bool IsDestroying() const noexcept { return fComponentState.Contains(csDestroying); }
  bool IsDesigning() const noexcept { return fComponentState.Contains(csDesigning); }
  void SetDesigning(bool theValue);

  const std::string& GetName() const noexcept { return fName; }
  void SetName(const std::string& theName) { fName = theName; }
  std::intptr_t GetTag() const noexcept { return fTag; }
  void SetTag(std::intptr_t theTag) noexcept { fTag = theTag; }

  // AComponent's Notification(this, opRemove) runs when this component goes,
  // so that it can drop a reference it holds to this one without owning it.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

protected:
  // Marks the component as going and tells those that asked; the first thing
  // every destructor does.
  void Destroying() noexcept;
  // Frees the owned components, the last first.
  void DestroyComponents();
  virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
  TComponent* fOwner = nullptr;
  std::vector<TComponent*> fComponents;
  std::vector<TComponent*> fFreeNotifies;
  TComponentState fComponentState;
  std::string fName;
  std::intptr_t fTag = 0;
};

// A control: a Qt widget with the classic control surface. Qt's input events
// arrive as messages at WndProc, which dispatches them to the classic handlers
// (MouseDown, KeyDown ...), each of which raises its On... event. Exceptions
// thrown by handlers never reach Qt: they go to the application's handler.
// A Qt parent that is not itself a component: what the components' Qt
// constructors take (a control goes to the owner constructor, which keeps
// `new TvxGant(nullptr)` meaning "no owner").
template <class W>
concept QtParentWidget = std::is_base_of_v<QWidget, W> && !std::is_base_of_v<TComponent, W>;

class VX_API TControl : public QWidget, public TComponent {
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* GetParent() const;
  virtual void SetParent(TWinControl* AParent);

  int GetLeft() const { return x(); }
  int GetTop() const { return y(); }
  int GetWidth() const { return width(); }
  int GetHeight() const { return height(); }
  void SetLeft(int v) { SetBounds(v, GetTop(), GetWidth(), GetHeight()); }
  void SetTop(int v) { SetBounds(GetLeft(), v, GetWidth(), GetHeight()); }
  void SetWidth(int v) { SetBounds(GetLeft(), GetTop(), v, GetHeight()); }
  void SetHeight(int v) { SetBounds(GetLeft(), GetTop(), GetWidth(), v); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect GetBoundsRect() const { return Rect(GetLeft(), GetTop(), GetLeft() + GetWidth(), GetTop() + GetHeight()); }
  TRect GetClientRect() const { return Rect(0, 0, GetWidth(), GetHeight()); }
  int GetClientWidth() const { return GetWidth(); }
  int GetClientHeight() const { return GetHeight(); }
  // Changes the bounds without asking the parent to lay out its children again.
  void SetBoundsQuietly(const TRect& theRect);

  TAlign GetAlign() const noexcept { return fAlign; }
  void SetAlign(TAlign theAlign);
  // The control's own flag: a child of a hidden parent is still Visible.
  bool GetVisible() const noexcept { return fVisible; }
  void SetVisible(bool theVisible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // On screen: the control and all its parents shown.
  bool Showing() const { return isVisible(); }
  // Qt's show() and hide() go through SetVisible, so Visible stays right.
  void setVisible(bool visible) override;
  // Qt layouts ask these; they answer PreferredSize and MinimumSize.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool GetEnabled() const { return isEnabled(); }
  void SetEnabled(bool theEnabled);

  TColor GetColor() const noexcept { return fColor; }
  virtual void SetColor(TColor theColor);
  TFont* GetFont() noexcept { return &fFont; }
  void SetFont(const TFont& theFont) { fFont.Assign(theFont); }
  TCursor GetCursor() const noexcept { return fCursor; }
  void SetCursor(TCursor theCursor);
  const std::string& GetHint() const noexcept { return fHint; }
  void SetHint(const std::string& theHint);
  bool GetShowHint() const noexcept { return fShowHint; }
  void SetShowHint(bool theShowHint);
  bool GetTabStop() const noexcept { return fTabStop; }
  void SetTabStop(bool theTabStop);
  // Shown at the mouse when the right button is released over the control.
  TPopupMenu* GetPopupMenu() const noexcept { return fPopupMenu; }
  void SetPopupMenu(TPopupMenu* theMenu);

  void SetFocus();
  bool Focused() const { return hasFocus(); }
  // Moves the input focus on to the next (or previous) control of the
  // window in tab order; answers whether it moved.
  bool SelectNextControl(bool theForward);
  // Puts the control above its siblings.
  void BringToFront();
  bool CanFocus() const;
  bool GetMouseCapture() const;
  void SetMouseCapture(bool theCapture);

  virtual void Invalidate();
  virtual void Repaint();
  // For a control that paints every pixel of itself: nothing is erased first.
  void SetOpaque();
  void Update();
  // Times the platform was asked to repaint the control (through Invalidate).
  int GetUpdateRequestCount() const noexcept { return fUpdateRequests; }

  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;

  // Physical pixels per logical one on the control's screen (2 on a
  // high-density screen).
  double GetScreenPixelRatio() const { return devicePixelRatioF(); }

  // The window's canvas: bound to the window while it paints.
  TCanvas* GetCanvas() noexcept { return &fCanvas; }
  // Renders the control (and its children) as it would appear on screen into
  // theBitmap, which takes the control's size. Works for hidden controls too.
  void PaintTo(TBitmap* theBitmap);

  LRESULT Perform(unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // The classic in-application drag, over mouse capture. Immediate starts at
  // once; otherwise once the mouse has moved Threshold pixels (default 5)
  // with the button down. The control under the mouse is asked DragOver; the
  // release drops on it when it accepted; Escape cancels. The source hears
  // EndDrag either way. While it drags, the source gets no mouse events.
  void BeginDrag(bool Immediate, int Threshold = -1);
  // Ends the drag of this control: dropping where the mouse is, or cancelling.
  void EndDrag(bool Drop);
  // Waiting for the threshold or dragging.
  bool Dragging() const;
  TCursor GetDragCursor() const noexcept { return fDragCursor; }
  void SetDragCursor(TCursor theCursor) noexcept { fDragCursor = theCursor; }
  TDragMode GetDragMode() const noexcept { return fDragMode; }
  // dmAutomatic: a left press begins a drag (with the threshold).
  virtual void SetDragMode(TDragMode theMode) { fDragMode = theMode; }

  // Entry points of the drag manager.
  void DoDragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  void DoDragDrop(TObject* Source, int X, int Y);
  virtual void DoStartDrag(TObject*& DragObject);
  virtual void DoEndDrag(TObject* Target, int X, int Y);

  // What a self-drawn control shows to assistive technology (Accessible.h);
  // nil for none. Asked only when an accessibility client asks.
  virtual TvxAccessibleContent* AccessibleContent() { return nullptr; }
  // The content's current item or cell moved: assistive technology hears of
  // it. Costs next to nothing when nothing listens.
  void NotifyAccessibleFocus();
  // The content's ids changed meaning: the platform objects made for them go.
  void NotifyAccessibleReset();
  // An accessibility client or an update handler listens.
  static bool AccessibleListening();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TNotifyEvent OnPaint;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TMouseWheelEvent OnMouseWheel;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TStartDragEvent OnStartDrag;
  TEndDragEvent OnEndDrag;

protected:
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Click();
  virtual void DblClick();
  virtual void KeyDown(unsigned short& Key, TShiftState Shift);
  virtual void KeyUp(unsigned short& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);
  // The modifiers held when the character KeyPress is handling was typed
  // (none for one sent by the program).
  TShiftState GetCharShift() const noexcept { return fCharShift; }
  // MousePos in screen coordinates; answers whether the wheel was handled.
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, int X, int Y);
  virtual void DoEnter();
  virtual void DoExit();
  // The mouse came over the control, or left it; they raise OnMouseEnter and
  // OnMouseLeave.
  virtual void MouseEnter();
  virtual void MouseLeave();
  // WM_CANCELMODE: a gesture under way ends, cancelled, writing nothing. The
  // control hears it when it (or a window around it) is hidden, when it
  // changes parent, when its window is deactivated and when another control
  // takes the mouse from it. Controls with gestures override it.
  virtual void CancelMode();
  // Where the pop-up menu opens when asked for from the keyboard (the menu
  // key, Shift+F10), in client coordinates; a control with a current item
  // puts it there (and may select the item first). Answers false for no menu.
  virtual bool KeyboardMenuPlace(TPoint& thePlace);
  void KeyboardMenu();
  virtual void Resize();
  // Draws the control on GetCanvas(); the base raises OnPaint.
  virtual void Paint();
  // Binds the canvas to the window's device context, paints, unbinds.
  virtual void PaintWindow(HDC DC);
  virtual void FontChanged();
  // The palette or the style changed: system colours now resolve otherwise.
  // The base repaints; controls that keep pictures in resolved colours
  // override it to drop them.
  virtual void PaletteChanged();
  // Asks the parent to lay out its aligned children again; runs whenever the
  // alignment or the bounds change.
  virtual void RequestAlign();

  // Qt's side.
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

  // The size the control would like, and the least that keeps its parts
  // usable; a negative coordinate says "no preference".
  virtual TPoint PreferredSize() const { return Point(-1, -1); }
  virtual TPoint MinimumSize() const { return Point(-1, -1); }
  // For the Qt constructors: the nearest ancestor of theParent that is a
  // component (the owner a control created there gets), else nil.
  static TComponent* OwnerFromQtParent(QWidget* theParent);
  // Puts a freshly made control into theParent: SetParent when it is a
  // control, else as a Qt child.
  void AdoptQtParent(QWidget* theParent);

  // Fills the decoded fields of a message sent with Perform or PostMessage.
  void DecodeMessage(TMessage& Message) const;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void DispatchQtInput(QEvent* e);
  void ParentChanged();

  TAlign fAlign = alNone;
  bool fVisible = true;
  TColor fColor = clWindow;
  TFont fFont;
  TCursor fCursor = crDefault;
  std::string fHint;
  bool fShowHint = false;
  bool fTabStop = false;
  bool fQuietBounds = false;
  bool fPressedInside = false;
  TShiftState fCharShift;
  bool fReparenting = false;       // between Qt's ParentAboutToChange and ParentChange
  bool fSettingParent = false;     // in SetParent, which does its own bookkeeping
  bool fShownBeforeReparent = false;
  bool fVisibleBeforeQt = true;  // Visible before Qt's last setVisible
  QPointer<QWidget> fParentBefore;  // the parent a Qt setParent is leaving
  int fUpdateRequests = 0;
  TCursor fDragCursor = crDrag;
  TPopupMenu* fPopupMenu = nullptr;
  TDragMode fDragMode = dmManual;
  TCanvas fCanvas;
};

// A control that holds other controls and lays out its aligned children:
// top, then bottom, then left, then right, then client, each group in the
// order of its position.
class VX_API TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  int ControlCount() const;
  TControl* GetControl(int i) const;

  void Realign();

protected:
  // The area the aligned children share; the base uses the client rectangle.
  virtual void AdjustClientRect(TRect& Rect);
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  void resizeEvent(QResizeEvent* e) override;

private:
  friend class TControl;
  bool fAligning = false;
};

// The mouse pointer's position in screen coordinates.
VX_API TPoint GetCursorPos();

// Lines one notch of the mouse wheel scrolls, as the platform has it.
VX_API int WheelScrollLines();

// The part of the screen at thePoint (screen coordinates) that windows may
// cover; the primary screen's when no screen holds the point.
VX_API TRect ScreenWorkArea(TPoint thePoint);

// Whether theControl's form (its top-level window) is the active window, or
// the application's main form is; true for no control.
VX_API bool FormIsActive(const TControl* theControl);

// While it lives, every key pressed in the application goes first to the
// handler (with its virtual-key code); a handler that answers true takes the
// key. For modes such as sizing that Escape must cancel whatever has focus.
class VX_API TKeyHook : public TObject {
public:
  using THandler = std::function<bool(unsigned short Key, TShiftState Shift)>;
  explicit TKeyHook(THandler theHandler);
  ~TKeyHook() override;
  TKeyHook(const TKeyHook&) = delete;
  TKeyHook& operator=(const TKeyHook&) = delete;

private:
  struct Impl;
  std::unique_ptr<Impl> fImpl;
};

// Posts a message to the control's WndProc, run on the user-interface thread
// after the current call. Thread-safe. Answers false for a nil control.
VX_API bool PostMessage(TControl* theControl, unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// Perform by another name.
VX_API LRESULT SendMessage(TControl* theControl, unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);

}  // namespace vx
