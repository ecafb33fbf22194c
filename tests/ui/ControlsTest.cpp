#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "UiTestSupport.h"
#include <vxplan/platform/ui/ComCtrls.h>
#include <vxplan/platform/ui/Controls.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/Forms.h>

using namespace vx;
using Lines = std::vector<std::string>;

namespace {

// A control that logs the classic handlers it receives.
class Probe : public TWinControl {
public:
  using TWinControl::TWinControl;
  Lines log;
  unsigned customSeen = 0;
  bool wantTab = false;

protected:
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    log.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y) +
                  (s.Contains(ssDouble) ? " double" : "") + (s.Contains(ssShift) ? " shift" : ""));
    TWinControl::MouseDown(b, s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    log.push_back("up " + std::to_string(b));
    TWinControl::MouseUp(b, s, x, y);
  }
  void Click() override { log.push_back("click"); }
  void DblClick() override { log.push_back("dblclick"); }
  void KeyDown(unsigned short& key, TShiftState s) override {
    log.push_back("keydown " + std::to_string(key));
    TWinControl::KeyDown(key, s);
  }
  void KeyPress(char32_t& key) override { log.push_back(std::string("keypress ") + static_cast<char>(key)); }
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_USER + 7) {
      customSeen = static_cast<unsigned>(m.WParam);
      m.Result = 42;
      return;
    }
    if (m.Msg == CM_WANTSPECIALKEY && wantTab && m.WParam == VK_TAB) {
      m.Result = 1;
      return;
    }
    TWinControl::Dispatch(m);
  }
};

}  // namespace

TEST(Controls, AlignedChildrenShareTheParentInOrder) {
  TPanel parent(nullptr);
  parent.SetBevelOuter(bvNone);
  parent.SetBounds(0, 0, 300, 200);
  auto* top = new TPanel(&parent);
  auto* bottom = new TPanel(&parent);
  auto* left = new TPanel(&parent);
  auto* right = new TPanel(&parent);
  auto* client = new TPanel(&parent);
  auto* topToo = new TPanel(&parent);
  for (TPanel* p : {client, right, left, bottom, top, topToo}) p->SetParent(&parent);
  top->SetBounds(0, 0, 10, 20);
  topToo->SetBounds(0, 50, 10, 30);  // below the first top one
  bottom->SetHeight(25);
  left->SetWidth(40);
  right->SetWidth(50);
  client->SetAlign(alClient);
  right->SetAlign(alRight);
  left->SetAlign(alLeft);
  bottom->SetAlign(alBottom);
  topToo->SetAlign(alTop);
  top->SetAlign(alTop);

  EXPECT_EQ(top->GetBoundsRect(), Rect(0, 0, 300, 20));
  EXPECT_EQ(topToo->GetBoundsRect(), Rect(0, 20, 300, 50));
  EXPECT_EQ(bottom->GetBoundsRect(), Rect(0, 175, 300, 200));
  EXPECT_EQ(left->GetBoundsRect(), Rect(0, 50, 40, 175));
  EXPECT_EQ(right->GetBoundsRect(), Rect(250, 50, 300, 175));
  EXPECT_EQ(client->GetBoundsRect(), Rect(40, 50, 250, 175));

  // The parent grows: the layout follows. A hidden child gives up its place.
  parent.SetBounds(0, 0, 400, 300);
  EXPECT_EQ(client->GetBoundsRect(), Rect(40, 50, 350, 275));
  left->SetVisible(false);
  EXPECT_EQ(client->GetBoundsRect(), Rect(0, 50, 350, 275));

  // A border and a bevel keep the children off the edge.
  parent.SetBorderWidth(3);
  parent.SetBevelOuter(bvRaised);
  EXPECT_EQ(top->GetBoundsRect(), Rect(4, 4, 396, 24));

  // Visible is the control's own flag, whatever the parent's state.
  EXPECT_TRUE(top->GetVisible());
  EXPECT_FALSE(top->isVisible());
}

TEST(Controls, APageControlShowsItsActivePageWhicheverWasAddedFirst) {
  TPageControl pages(nullptr);
  pages.SetBounds(0, 0, 300, 200);
  vxtest::ShowWindow(&pages);
  auto* a = new TTabSheet(&pages);
  a->SetPageControl(&pages);
  auto* b = new TTabSheet(&pages);
  b->SetPageControl(&pages);  // hidden behind the active page
  for (TTabSheet* shown : {b, a, b}) {
    pages.SetActivePage(shown);
    for (TTabSheet* p : {a, b}) {
      EXPECT_EQ(p->isVisible(), p == shown);
      EXPECT_TRUE(p->GetVisible());  // still the application's choice
    }
    EXPECT_EQ(shown->GetBoundsRect(), Rect(0, pages.GetTabHeight(), 300, 200));
  }
}

TEST(Controls, MessagesReachTheClassicHandlers) {
  Probe p(nullptr);
  p.SetBounds(0, 0, 100, 50);
  p.Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20));
  p.Perform(WM_LBUTTONUP, 0, MAKELPARAM(11, 21));
  p.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(-5, 7));
  p.Perform(WM_LBUTTONUP, 0, MAKELPARAM(200, 7));  // released outside: no click
  EXPECT_EQ(p.log, (Lines{"down 0 10,20 shift", "up 0", "click", "dblclick", "down 0 -5,7 double", "up 0"}));

  // Real Qt events take the same road.
  p.log.clear();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(30, 40), QPointF(30, 40), Qt::RightButton, Qt::RightButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&p, &press);
  QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QCoreApplication::sendEvent(&p, &key);
  QKeyEvent menuKey(QEvent::KeyPress, Qt::Key_Menu, Qt::NoModifier);
  QCoreApplication::sendEvent(&p, &menuKey);
  EXPECT_EQ(p.log, (Lines{"down 1 30,40", "keydown 65", "keypress a", "keydown 93"}));

  // Tab goes to the control only when it asks for it.
  p.log.clear();
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
  QCoreApplication::sendEvent(&p, &tab);
  EXPECT_TRUE(p.log.empty());
  p.wantTab = true;
  QCoreApplication::sendEvent(&p, &tab);
  EXPECT_EQ(p.log, (Lines{"keydown 9", "keypress \t"}));

  // Private messages: sent now, or posted for after the current call.
  EXPECT_EQ(p.Perform(WM_USER + 7, 5), 42);
  EXPECT_EQ(p.customSeen, 5u);
  EXPECT_TRUE(PostMessage(&p, WM_USER + 7, 9));
  EXPECT_EQ(p.customSeen, 5u);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(p.customSeen, 9u);
  EXPECT_FALSE(PostMessage(nullptr, WM_USER));
}

TEST(Controls, ExceptionsFromHandlersGoToTheApplication) {
  vxtest::MessageCapture capture;
  TPanel p(nullptr);
  p.SetBounds(0, 0, 50, 50);
  p.OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) { throw std::runtime_error("handler failed"); };
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&p, &press);
  ASSERT_EQ(capture.Messages().size(), 1u);
  EXPECT_EQ(capture.Messages()[0], "handler failed");

  std::vector<std::string> seen;
  Application()->OnException = [&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& x) {
      seen.push_back(x.what());
    }
  };
  PostMessage(&p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  vxtest::ProcessEventsUntilIdle();
  Application()->OnException = nullptr;
  EXPECT_EQ(seen, (std::vector<std::string>{"handler failed"}));
}

TEST(Controls, OwnersFreeWhatTheyOwnAndParentsTheirChildren) {
  int freed = 0;
  struct Counted : TPanel {
    int* counter;
    Counted(TComponent* owner, int* c) : TPanel(owner), counter(c) {}
    ~Counted() override { ++*counter; }
  };
  auto* form = new TPanel(nullptr);
  auto* owned = new Counted(form, &freed);     // owned, parented elsewhere
  auto* other = new TPanel(nullptr);
  owned->SetParent(other);
  auto* child = new Counted(nullptr, &freed);  // parented only
  child->SetParent(form);
  auto* timer = new TTimer(form);
  EXPECT_EQ(form->ComponentCount(), 2);
  EXPECT_EQ(form->ControlCount(), 1);
  delete form;
  EXPECT_EQ(freed, 2);
  EXPECT_EQ(other->ControlCount(), 0);
  delete other;
  (void)timer;
}

TEST(Controls, TimerTicksUnderTheEventLoop) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(5);
  timer.SetOnTimer([&](TObject*) {
    if (++ticks == 3) timer.SetEnabled(false);
  });
  for (int k = 0; k < 200 && ticks < 3; ++k) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(ticks, 3);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(ticks, 3);
}

// A scroll bar away from the mouse shows pictures of itself kept between
// paints: they must show what the style draws, wherever the thumb is.
TEST(Controls, KeptScrollBarPicturesShowWhatTheStyleDraws) {
  for (TScrollBarKind kind : {sbVertical, sbHorizontal}) {
    const bool vertical = kind == sbVertical;
    TScrollBar bar(nullptr, kind);
    bar.SetBounds(0, 0, vertical ? 17 : 300, vertical ? 300 : 17);
    auto* qbar = bar.findChild<QScrollBar*>();
    ASSERT_NE(qbar, nullptr);
    // Next to each other, 500000 and 500001 leave the thumb where it was; a
    // thumb that moves keeping its length is drawn again only around it.
    for (auto [pos, page] : {std::pair{0, 10}, {37, 10}, {500000, 10}, {500001, 10}, {999990, 10}, {123456, 10},
                             {130000, 10}, {400, 300000}, {0, 1}}) {
      bar.SetPageSize(page);
      bar.SetParams(pos, 0, 999999);
      const QImage shown = qbar->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
      QStyleOptionSlider opt;
      opt.initFrom(qbar);
      opt.orientation = vertical ? Qt::Vertical : Qt::Horizontal;
      if (!vertical) opt.state |= QStyle::State_Horizontal;
      opt.minimum = qbar->minimum();
      opt.maximum = qbar->maximum();
      opt.sliderPosition = opt.sliderValue = qbar->value();
      opt.singleStep = qbar->singleStep();
      opt.pageStep = qbar->pageStep();
      opt.subControls = QStyle::SC_All;
      QImage drawn(shown.size(), QImage::Format_ARGB32_Premultiplied);
      drawn.setDevicePixelRatio(shown.devicePixelRatio());
      drawn.fill(Qt::transparent);
      {
        QPainter p(&drawn);
        qbar->style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, &p, qbar);
      }
      ASSERT_EQ(drawn.size(), shown.size());
      int unlike = 0;
      for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
          const QRgb a = drawn.pixel(x, y), b = shown.pixel(x, y);
          if (std::abs(qRed(a) - qRed(b)) > 2 || std::abs(qGreen(a) - qGreen(b)) > 2 ||
              std::abs(qBlue(a) - qBlue(b)) > 2 || std::abs(qAlpha(a) - qAlpha(b)) > 2)
            ++unlike;
        }
      EXPECT_EQ(unlike, 0) << "position " << pos << " page " << page << (vertical ? " vertical" : " horizontal");
    }
  }
}

namespace {

class Gesturing : public TWinControl {
public:
  using TWinControl::TWinControl;
  int cancels = 0;

protected:
  void CancelMode() override { ++cancels; }
};

}  // namespace

// A gesture cannot outlive the window it started in: every way the control
// can lose the mouse tells it to cancel.
TEST(Controls, AGestureIsCancelledWhenTheControlLosesTheMouse) {
  struct Case {
    const char* name;
    std::function<void(TPanel& form, TPanel& other, Gesturing& g)> act;
  };
  const Case cases[] = {
      {"hidden", [](TPanel&, TPanel&, Gesturing& g) { g.SetVisible(false); }},
      {"its window hidden", [](TPanel& form, TPanel&, Gesturing&) { form.hide(); }},
      {"given another parent", [](TPanel&, TPanel& other, Gesturing& g) { g.SetParent(&other); }},
      {"another control takes the mouse", [](TPanel&, TPanel& other, Gesturing& g) {
         g.SetMouseCapture(true);
         other.SetMouseCapture(true);
         other.SetMouseCapture(false);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TPanel form(nullptr), other(nullptr);
    form.SetBounds(0, 0, 200, 100);
    other.SetBounds(0, 0, 200, 100);
    auto* g = new Gesturing(&form);
    g->SetParent(&form);
    g->SetBounds(10, 10, 100, 50);
    vxtest::ShowWindow(&form);
    vxtest::ShowWindow(&other);
    form.activateWindow();
    vxtest::ProcessEventsUntilIdle();
    g->cancels = 0;
    c.act(form, other, *g);
    vxtest::ProcessEventsUntilIdle();
    EXPECT_GE(g->cancels, 1);
    delete g;
  }
}

// A control's font event is the application's: taking it keeps the control
// hearing its font's changes.
TEST(Controls, TheApplicationMayTakeTheFontsEvent) {
  struct Heard : TPanel {
    using TPanel::TPanel;
    int changes = 0;
    void FontChanged() override {
      TPanel::FontChanged();
      ++changes;
    }
  } panel(nullptr);
  int application = 0;
  panel.GetFont()->OnChange = [&](TObject*) { ++application; };
  panel.GetFont()->SetSize(20);
  EXPECT_EQ(panel.changes, 1);
  EXPECT_EQ(application, 1);
}

// The classic in-application drag, driven by real input through Qt.
namespace {

// A window with a source panel, a panel that takes drops from it and one
// that takes nothing.
struct DragScene {
  TPanel form{nullptr};
  TPanel* source;
  TPanel* target;
  TPanel* refuser;
  Lines log;

  DragScene() {
    form.SetBounds(0, 0, 400, 200);
    auto place = [this](int x) {
      auto* p = new TPanel(&form);
      p->SetParent(&form);
      p->SetBounds(x, 20, 80, 80);
      return p;
    };
    source = place(10);
    target = place(150);
    refuser = place(290);
    source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { source->BeginDrag(false); };
    source->OnMouseMove = [this](TObject*, TShiftState, int, int) { log.push_back("source move"); };
    source->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("source up"); };
    source->OnEndDrag = [this](TObject*, TObject* t, int x, int y) {
      log.push_back(std::string("end ") + (t == target ? "target" : t ? "other" : "none") + " " + std::to_string(x) +
                    "," + std::to_string(y));
    };
    target->OnDragOver = [this](TObject*, TObject* s, int x, int y, TDragState st, bool& accept) {
      accept = s == source;
      log.push_back("over " + std::to_string(st) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    target->OnDragDrop = [this](TObject*, TObject* s, int x, int y) {
      log.push_back(std::string("drop ") + (s == source ? "source" : "?") + " " + std::to_string(x) + "," +
                    std::to_string(y));
    };
    refuser->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = false; };
    vxtest::ShowWindow(&form);
  }
};

}  // namespace

TEST(ClassicDrag, DropsOnAControlThatAccepts) {
  DragScene s;
  vxtest::MousePress(s.source, 20, 20);
  s.log.clear();  // the pointer's way to the press
  vxtest::MouseMove(s.source, 22, 21);  // within the threshold: not yet a drag
  EXPECT_TRUE(s.source->Dragging());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  vxtest::MouseMove(s.target, 30, 40);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::DragCopyCursor);
  vxtest::MouseMove(s.target, 31, 40);
  vxtest::MouseRelease(s.target, 31, 40);
  EXPECT_FALSE(s.source->Dragging());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(s.log, (Lines{"over 0 30,40", "over 2 31,40", "drop source 31,40", "end target 31,40"}));
}

TEST(ClassicDrag, RefusalsEscapeAndClicks) {
  DragScene s;
  // Over a control that refuses: the no-drop cursor, and no drop.
  vxtest::MousePress(s.source, 20, 20);
  vxtest::MouseMove(s.refuser, 10, 10);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
  vxtest::MouseRelease(s.refuser, 10, 10);
  ASSERT_FALSE(s.log.empty());
  EXPECT_EQ(s.log.back().substr(0, 8), "end none");

  // Escape cancels over an accepting control: it hears the drag leave.
  vxtest::MousePress(s.source, 20, 20);
  s.log.clear();
  vxtest::MouseMove(s.target, 5, 5);
  vxtest::KeyClick(s.source, Qt::Key_Escape);
  EXPECT_FALSE(s.source->Dragging());
  EXPECT_EQ(s.log, (Lines{"over 0 5,5", "over 1 5,5", "end none 145,5"}));
  vxtest::MouseRelease(s.target, 5, 5);

  // A press and release without moving is a click, not a drag.
  vxtest::MousePress(s.source, 20, 20);
  s.log.clear();
  vxtest::MouseRelease(s.source, 20, 20);
  EXPECT_EQ(s.log, (Lines{"source up"}));
  EXPECT_FALSE(s.source->Dragging());
}
