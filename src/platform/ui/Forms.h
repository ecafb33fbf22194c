#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include <vxplan/platform/rtl/Object.h>
#include <vxplan/platform/ui/Messages.h>

namespace vx {

using TMessageSink = std::function<void(const std::string& theText)>;
using TExceptionEvent = std::function<void(std::exception_ptr theException)>;

// Shows a message to the user through the current sink: by default a message
// box when the application has a display, else standard error. Tests and
// headless runs install their own sink.
VX_API void ShowMessage(const std::string& theText);
// Installs a sink (empty restores the default); answers the previous one.
VX_API TMessageSink SetShowMessageSink(TMessageSink theSink);

// The warning beep (nothing without a display).
VX_API void Beep();
// The rows one wheel message scrolls, as in Qt's views: a notch (120) the
// system's wheel lines, the smaller steps of a fine wheel added up in
// theRest (kept by the caller), Ctrl or Shift a page, never more than a
// page at a time. Positive: on down the rows.
VX_API int WheelRows(int& theRest, int theDelta, TShiftState theShift, int thePage);
// The system clipboard's text; empty when it holds none or there is no
// application object.
VX_API std::string GetClipboardText();
VX_API void SetClipboardText(const std::string& theText);

class TControl;

class VX_API TApplication : public TObject {
public:
  // The application's main window, for telling whether it is active; nil
  // when none was named (or it has gone).
  TControl* GetMainForm() const;
  void SetMainForm(TControl* theForm);

  // Runs what is waiting in the event queue (posted messages and deferred
  // calls included), without waiting for more.
  void ProcessMessages();
  // The one place exceptions from event handlers end: OnException when set,
  // else ShowMessage with the exception's message.
  void HandleException(std::exception_ptr theException);
  // Whether a Qt application object exists.
  bool HasEventLoop() const;

  TExceptionEvent OnException;
};

VX_API TApplication* Application();

// Calls fn; an exception it throws goes to the application's handler.
template <class Fn>
void GuardedCall(Fn&& fn) noexcept {
  try {
    fn();
  } catch (...) {
    try {
      Application()->HandleException(std::current_exception());
    } catch (...) {
    }
  }
}

// A hidden receiver living on the user-interface thread: Post, from any
// thread, makes the handler run there with the posted number, after the
// current call. Without an application object posts are dropped.
class VX_API TMessageWindow : public TObject {
public:
  explicit TMessageWindow(std::function<void(unsigned theMsg)> theHandler);
  ~TMessageWindow() override;
  bool Post(unsigned theMsg);

private:
  struct Impl;
  std::unique_ptr<Impl> fImpl;
};

}  // namespace vx
