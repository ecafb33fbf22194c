#include "UiTestSupport.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QFile>

#include "paint/vxDoLater.h"

namespace vxtest {

void ProcessEventsUntilIdle(int theMaxRounds) {
  for (int round = 0; round < theMaxRounds; ++round) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (vx::TDoLater::PendingCount() == 0) {
      QCoreApplication::sendPostedEvents();
      if (vx::TDoLater::PendingCount() == 0) return;
    }
  }
}

vx::TRect MatchingPixels(vx::TCanvas* theCanvas, int theWidth, int theHeight,
                         const std::function<bool(vx::TColor)>& theMatch) {
  vx::TRect r{-1, -1, -1, -1};
  for (int y = 0; y < theHeight; ++y)
    for (int x = 0; x < theWidth; ++x) {
      if (!theMatch(theCanvas->GetPixel(x, y))) continue;
      if (r.Left < 0)
        r = vx::Rect(x, y, x + 1, y + 1);
      else
        r = vx::Rect(std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1), std::max(r.Bottom, y + 1));
    }
  return r;
}

int CountPdfPages(const std::string& thePath) {
  QFile f(QString::fromStdString(thePath));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QByteArray data = f.readAll();
  int pages = 0;
  for (qsizetype at = data.indexOf("/Type /Page"); at >= 0; at = data.indexOf("/Type /Page", at + 1))
    if (data.mid(at, 12) != "/Type /Pages") ++pages;
  return pages;
}

MessageCapture::MessageCapture() {
  fPrevious = vx::SetShowMessageSink([this](const std::string& text) { fMessages.push_back(text); });
}

MessageCapture::~MessageCapture() { vx::SetShowMessageSink(fPrevious); }

}  // namespace vxtest
