#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"

namespace vxtest {

// Runs posted events and deferred calls until nothing is left (or a bound of
// rounds is reached, for code that keeps queueing work).
void ProcessEventsUntilIdle(int theMaxRounds = 100);

// Bounding box of the pixels of theCanvas (0..theWidth, 0..theHeight, in
// logical coordinates) that match; Left = -1 when none does.
vx::TRect MatchingPixels(vx::TCanvas* theCanvas, int theWidth, int theHeight,
                         const std::function<bool(vx::TColor)>& theMatch);

// Pages of a PDF file written by the device context; -1 when it cannot be read.
int CountPdfPages(const std::string& thePath);

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
