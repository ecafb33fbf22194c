#include "UiTestSupport.h"

#include <stdexcept>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <vxplan/paint/vxDoLater.h>

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

void ReturnToTheEventLoop() {
  ProcessEventsUntilIdle();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ProcessEventsUntilIdle();
}

const Interruption kInterruptions[3] = {
    {"HiddenAndShown",
     [](vx::TControl* c, vx::TWinControl*) {
       c->hide();
       ProcessEventsUntilIdle();
       c->show();
     },
     false},
    {"MouseTakenByAnother", [](vx::TControl*, vx::TWinControl* other) { other->SetMouseCapture(true); }, true},
    {"NewParent", [](vx::TControl* c, vx::TWinControl* other) { c->SetParent(other); }, false},
};

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

namespace {

// Sends theSend to the control's window at the point, then runs the events that follow.
template <class F>
void AtWindow(vx::TControl* c, int x, int y, F theSend) {
  QWidget* top = c->window();
  theSend(top->windowHandle(), c->mapTo(top, QPoint(x, y)));
  ProcessEventsUntilIdle(3);
}

}  // namespace

void MousePress(vx::TControl* c, int x, int y, Qt::MouseButton b, Qt::KeyboardModifiers m) {
  AtWindow(c, x, y, [&](QWindow* w, QPoint at) { QTest::mousePress(w, b, m, at); });
}

void MouseMove(vx::TControl* c, int x, int y) {
  AtWindow(c, x, y, [&](QWindow* w, QPoint at) { QTest::mouseMove(w, at); });
}

void MouseRelease(vx::TControl* c, int x, int y, Qt::MouseButton b, Qt::KeyboardModifiers m) {
  AtWindow(c, x, y, [&](QWindow* w, QPoint at) { QTest::mouseRelease(w, b, m, at); });
}

void MouseClick(vx::TControl* c, int x, int y, Qt::MouseButton b, Qt::KeyboardModifiers m) {
  MousePress(c, x, y, b, m);
  MouseRelease(c, x, y, b, m);
}

void MouseDoubleClick(vx::TControl* c, int x, int y, Qt::KeyboardModifiers m) {
  AtWindow(c, x, y, [&](QWindow* w, QPoint at) { QTest::mouseDClick(w, Qt::LeftButton, m, at); });
}

void Wheel(vx::TControl* c, int x, int y, int theDelta, Qt::KeyboardModifiers m) {
  // Qt's test library has no wheel for windows: the event goes where a
  // window's wheel would go, the widget under the mouse.
  QWidget* target = c->childAt(x, y) ? c->childAt(x, y) : c;
  const QPoint local = target->mapFrom(c, QPoint(x, y));
  QWheelEvent e(local, target->mapToGlobal(local), QPoint(), QPoint(0, theDelta), Qt::NoButton, m, Qt::NoScrollPhase,
                false);
  QCoreApplication::sendEvent(target, &e);
  ProcessEventsUntilIdle(3);
}

void UserScroll(vx::TControl* theBar, int thePosition) {
  auto* bar = theBar->findChild<QScrollBar*>();
  if (!bar) throw std::logic_error("UserScroll: not a scroll bar");
  bar->setSliderPosition(thePosition);
  bar->triggerAction(QAbstractSlider::SliderMove);
  ProcessEventsUntilIdle();
}

void KeyClick(vx::TControl* c, Qt::Key k, Qt::KeyboardModifiers m) {
  QTest::keyClick(c->window()->windowHandle(), k, m);
  ProcessEventsUntilIdle(3);
}

void ShowWindow(vx::TControl* c) {
  c->show();
  c->activateWindow();
  (void)QTest::qWaitForWindowExposed(c);
  ProcessEventsUntilIdle();
}

bool Inked(vx::TDeviceContext* theDC, const vx::TRect& r) {
  QImage* image = theDC ? theDC->Image() : nullptr;
  if (!image) return false;
  theDC->EndPainting();
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, image->height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, image->width()); ++x)
      if ((image->pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return true;
  return false;
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

std::string PdfText(const std::string& thePath) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QString::fromStdString(thePath), QStringLiteral("-")});
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
  return p.readAllStandardOutput().toStdString();
}

MessageCapture::MessageCapture() {
  fPrevious = vx::SetShowMessageSink([this](const std::string& text) { fMessages.push_back(text); });
}

MessageCapture::~MessageCapture() { vx::SetShowMessageSink(fPrevious); }

}  // namespace vxtest
