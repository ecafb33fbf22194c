#include <vxplan/platform/ui/Forms.h>

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/ui/Controls.h>
#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

namespace {

std::mutex gSinkMutex;
TMessageSink gSink;

bool HasDisplay() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void DefaultSink(const std::string& theText) {
  if (HasDisplay() && QThread::currentThread() == QCoreApplication::instance()->thread()) {
    QMessageBox::information(nullptr, QCoreApplication::applicationName(), ToQString(theText));
    return;
  }
  std::fprintf(stderr, "%s\n", theText.c_str());
}

const QEvent::Type kMessageWindowEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

void ShowMessage(const std::string& theText) {
  TMessageSink sink;
  {
    std::lock_guard<std::mutex> lock(gSinkMutex);
    sink = gSink;
  }
  if (sink)
    sink(theText);
  else
    DefaultSink(theText);
}

void Beep() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
}

int WheelRows(int& theRest, int theDelta, TShiftState theShift, int thePage) {
  const int page = std::max(thePage, 1);
  if (theShift.Contains(ssCtrl) || theShift.Contains(ssShift)) {
    theRest = 0;
    return theDelta > 0 ? -page : theDelta < 0 ? page : 0;
  }
  if ((theRest > 0) != (theDelta > 0)) theRest = 0;  // turned round
  theRest += theDelta * WheelScrollLines();
  const int lines = theRest / 120;
  theRest -= lines * 120;
  return -std::clamp(lines, -page, page);
}

std::string GetClipboardText() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
  return FromQString(QGuiApplication::clipboard()->text());
}

void SetClipboardText(const std::string& theText) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  QGuiApplication::clipboard()->setText(ToQString(theText));
}

TMessageSink SetShowMessageSink(TMessageSink theSink) {
  std::lock_guard<std::mutex> lock(gSinkMutex);
  TMessageSink old = std::move(gSink);
  gSink = std::move(theSink);
  return old;
}

TApplication* Application() {
  static TApplication theApplication;
  return &theApplication;
}

void TApplication::ProcessMessages() {
  if (!QCoreApplication::instance()) return;
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

namespace {
QPointer<QWidget> gMainForm;
}  // namespace

TControl* TApplication::GetMainForm() const { return dynamic_cast<TControl*>(gMainForm.data()); }

void TApplication::SetMainForm(TControl* theForm) { gMainForm = theForm; }

bool TApplication::HasEventLoop() const { return QCoreApplication::instance() != nullptr; }

void TApplication::HandleException(std::exception_ptr theException) {
  if (!theException) return;
  if (OnException) {
    OnException(theException);
    return;
  }
  try {
    std::rethrow_exception(theException);
  } catch (const std::exception& e) {
    ShowMessage(e.what());
  } catch (...) {
    ShowMessage("Unknown exception");
  }
}

namespace {

// Held while a receiver is made (on whatever thread posts first) and while
// it reads a posted message: the receiver's own members are then never read
// before the thread that made them has let go of them, also for race
// detectors that cannot see inside Qt's queue.
std::recursive_mutex& ReceiverLock() {
  static std::recursive_mutex lock;
  return lock;
}

class HiddenReceiver : public QObject {
public:
  HiddenReceiver(std::function<void(unsigned)> theHandler, std::shared_ptr<std::recursive_mutex> thePostLock)
      : fHandler(std::move(theHandler)), fPostLock(std::move(thePostLock)) {}

  struct Posted : QEvent {
    explicit Posted(unsigned theMsg) : QEvent(kMessageWindowEvent), msg(theMsg) {}
    unsigned msg;
  };

  bool event(QEvent* e) override {
    unsigned msg = 0;
    bool ours = false;
    {
      // Posting happens under these locks: taking them here orders the
      // poster's writes before these reads, also for race detectors that
      // cannot see inside Qt's own queue.
      std::lock_guard<std::recursive_mutex> made(ReceiverLock());
      std::lock_guard<std::recursive_mutex> lock(*fPostLock);
      ours = e->type() == kMessageWindowEvent;
      if (ours) msg = static_cast<Posted*>(e)->msg;
    }
    if (!ours) return QObject::event(e);
    GuardedCall([&] { fHandler(msg); });
    return true;
  }

private:
  std::function<void(unsigned)> fHandler;
  std::shared_ptr<std::recursive_mutex> fPostLock;
};

}  // namespace

struct TMessageWindow::Impl {
  std::function<void(unsigned)> handler;
  std::shared_ptr<std::recursive_mutex> lock = std::make_shared<std::recursive_mutex>();
  HiddenReceiver* receiver = nullptr;  // made on first Post, lives on the UI thread
};

TMessageWindow::TMessageWindow(std::function<void(unsigned theMsg)> theHandler) : fImpl(new Impl) {
  fImpl->handler = std::move(theHandler);
}

TMessageWindow::~TMessageWindow() {
  std::lock_guard<std::recursive_mutex> lock(*fImpl->lock);
  if (!fImpl->receiver) return;
  // Posted messages still waiting die with the receiver.
  if (QCoreApplication::instance() && QThread::currentThread() != fImpl->receiver->thread())
    fImpl->receiver->deleteLater();
  else
    delete fImpl->receiver;
}

bool TMessageWindow::Post(unsigned theMsg) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return false;
  std::lock_guard<std::recursive_mutex> made(ReceiverLock());
  std::lock_guard<std::recursive_mutex> lock(*fImpl->lock);
  if (!fImpl->receiver) {
    // Made on whatever thread posts first, then handed to the UI thread.
    fImpl->receiver = new HiddenReceiver(fImpl->handler, fImpl->lock);
    if (fImpl->receiver->thread() != app->thread()) fImpl->receiver->moveToThread(app->thread());
  }
  QCoreApplication::postEvent(fImpl->receiver, new HiddenReceiver::Posted(theMsg));
  return true;
}

}  // namespace vx
