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
