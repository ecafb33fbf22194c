#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/Object.h"
#include "platform/ui/Messages.h"

namespace vx {

using TMessageSink = std::function<void(const std::string& theText)>;
using TExceptionEvent = std::function<void(std::exception_ptr theException)>;

// Shows a message to the user through the current sink: by default a message
// box when the application has a display, else standard error. Tests and
// headless runs install their own sink.
void ShowMessage(const std::string& theText);
// Installs a sink (empty restores the default); answers the previous one.
TMessageSink SetShowMessageSink(TMessageSink theSink);

// The warning beep (nothing without a display).
void Beep();
// The rows one wheel message scrolls, as in Qt's views: a notch (120) the
// system's wheel lines, the smaller steps of a fine wheel added up in
// theRest (kept by the caller), Ctrl or Shift a page, never more than a
// page at a time. Positive: on down the rows.
int WheelRows(int& theRest, int theDelta, TShiftState theShift, int thePage);
// The system clipboard's text; empty when it holds none or there is no
// application object.
std::string GetClipboardText();
void SetClipboardText(const std::string& theText);

class TControl;

class TApplication : public TObject {
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

TApplication* Application();

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
class TMessageWindow : public TObject {
public:
  explicit TMessageWindow(std::function<void(unsigned theMsg)> theHandler);
  ~TMessageWindow() override;
  bool Post(unsigned theMsg);

private:
  struct Impl;
  std::unique_ptr<Impl> fImpl;
};

}  // namespace vx
