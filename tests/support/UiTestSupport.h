#pragma once

#include <functional>
#include <string>
#include <vector>

#include <Qt>

#include <vxplan/platform/ui/Controls.h>
#include <vxplan/platform/ui/DeviceContext.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/Graphics.h>

namespace vxtest {

// Runs posted events and deferred calls until nothing is left (or a bound of
// rounds is reached, for code that keeps queueing work).
void ProcessEventsUntilIdle(int theMaxRounds = 100);

// Bounding box of the pixels of theCanvas (0..theWidth, 0..theHeight, in
// logical coordinates) that match; Left = -1 when none does.
vx::TRect MatchingPixels(vx::TCanvas* theCanvas, int theWidth, int theHeight,
                         const std::function<bool(vx::TColor)>& theMatch);

// Whether any pixel of theDeviceRect on an image device differs from white.
bool Inked(vx::TDeviceContext* theDC, const vx::TRect& theDeviceRect);

// Real input through Qt's window system, as a user's: delivered to the
// control's window and routed by Qt (to the widget under the mouse, or the
// one holding it), then the event loop runs. Points are in theControl's
// client coordinates; the control's window must be shown.
void MousePress(vx::TControl* theControl, int x, int y, Qt::MouseButton theButton = Qt::LeftButton,
                Qt::KeyboardModifiers theModifiers = Qt::NoModifier);
void MouseMove(vx::TControl* theControl, int x, int y);
void MouseRelease(vx::TControl* theControl, int x, int y, Qt::MouseButton theButton = Qt::LeftButton,
                  Qt::KeyboardModifiers theModifiers = Qt::NoModifier);
// A press and a release at the same point.
void MouseClick(vx::TControl* theControl, int x, int y, Qt::MouseButton theButton = Qt::LeftButton,
                Qt::KeyboardModifiers theModifiers = Qt::NoModifier);
void MouseDoubleClick(vx::TControl* theControl, int x, int y, Qt::KeyboardModifiers theModifiers = Qt::NoModifier);
void Wheel(vx::TControl* theControl, int x, int y, int theDelta, Qt::KeyboardModifiers theModifiers = Qt::NoModifier);
void KeyClick(vx::TControl* theControl, Qt::Key theKey, Qt::KeyboardModifiers theModifiers = Qt::NoModifier);
// Moves theBar (a TScrollBar) to thePosition as the user's drag of its
// slider would, so that it reports a scroll, and runs the events that follow.
void UserScroll(vx::TControl* theBar, int thePosition);
// Shows theControl as a window of its size and waits until it is exposed.
void ShowWindow(vx::TControl* theControl);

// Pages of a PDF file written by the device context; -1 when it cannot be read.
int CountPdfPages(const std::string& thePath);
// The text of a PDF file as a reader extracts it (pdftotext); empty when it
// cannot be read.
std::string PdfText(const std::string& thePath);

// What returning to the event loop does: posted events, deferred calls and
// deferred deletions (deleteLater) run.
void ReturnToTheEventLoop();

// The ways a window can change under a gesture (the control then hears
// CancelMode): theOther is a control to be given as parent or to take the mouse.
struct Interruption {
  const char* name;
  void (*interrupt)(vx::TControl* theControl, vx::TWinControl* theOther);
  bool takesTheMouse;  // meaningful only for a gesture that holds the mouse
};
extern const Interruption kInterruptions[3];

// Captures ShowMessage texts (and so the exceptions that reach the
// application's default handler) while it lives.
class MessageCapture {
public:
  MessageCapture();
  ~MessageCapture();
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;
  const std::vector<std::string>& Messages() const { return fMessages; }

private:
  std::vector<std::string> fMessages;
  vx::TMessageSink fPrevious;
};

}  // namespace vxtest
