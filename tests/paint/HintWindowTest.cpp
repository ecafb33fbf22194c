#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include "UiTestSupport.h"
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/paint/vxGraphStuff.h>

using namespace vx;

namespace {

// An active window holding a 300 x 200 panel that owns the hint.
struct Scene {
  TPanel form{nullptr};
  TPanel* owner = new TPanel(&form);
  TGraphHintWindow* hint = new TGraphHintWindow(owner);
  TObject a, b;
  std::vector<TObject*> asked;
  Scene() {
    form.SetBounds(100, 100, 400, 300);
    owner->SetParent(&form);
    owner->SetBounds(20, 30, 300, 200);
    form.show();
    form.activateWindow();
    QApplication::setActiveWindow(&form);
    vxtest::ProcessEventsUntilIdle();
    hint->fOnUpdateTextEvent = [this](TGraphHintWindow* h, TObject* o) {
      asked.push_back(o);
      h->SetCaption(o == &a ? "Object A" : "Object B");
    };
  }
  TPoint Origin() { return owner->ClientToScreen(Point(0, 0)); }
  void Wait(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
      QCoreApplication::processEvents();
      QThread::msleep(5);
    }
  }
};

}  // namespace

TEST(GraphHint, TheShowTimerRestartsOnlyForAnotherObject) {
  Scene s;
  s.hint->ShowSlowHintFor(&s.a, 10, 20);
  EXPECT_EQ(s.asked, std::vector<TObject*>{&s.a});
  EXPECT_EQ(s.hint->GetCaption(), "Object A");
  EXPECT_GT(s.hint->GetShowTimer()->GetRemainingTime(), 700);
  s.Wait(500);
  s.hint->ShowSlowHintFor(&s.a, 15, 20);  // the same object: the timer runs on
  EXPECT_LT(s.hint->GetShowTimer()->GetRemainingTime(), 600);
  EXPECT_EQ(s.asked.size(), 1u);
  s.hint->ShowSlowHintFor(&s.b, 40, 20);  // another: from the start, new text
  EXPECT_GT(s.hint->GetShowTimer()->GetRemainingTime(), 700);
  EXPECT_EQ(s.asked, (std::vector<TObject*>{&s.a, &s.b}));
  EXPECT_EQ(s.hint->GetCaption(), "Object B");
  // Below the owner by default, at the mouse's x.
  EXPECT_EQ(s.hint->GetLeft(), s.Origin().X + 40);
  EXPECT_EQ(s.hint->GetTop(), s.Origin().Y + 200 + 4);

  // Leaving every object: hidden, and nothing shows later.
  s.hint->ShowSlowHintFor(nullptr, 0, 0);
  EXPECT_EQ(s.hint->GetShowTimer()->GetRemainingTime(), -1);
  s.hint->ShowSlowHintFor(&s.b, 40, 20);  // back on b: asks again
  EXPECT_EQ(s.asked.size(), 3u);
}

TEST(GraphHint, ShowsAndHidesThroughDeferredCalls) {
  Scene s;
  s.hint->SetShowBelowOwner(false);
  s.hint->ShowSlowHintFor(&s.a, 10, 20);
  // Beside the pointer, as tool tips stand.
  EXPECT_EQ(s.hint->GetLeft(), s.Origin().X + 10 + TGraphHintWindow::PointerOffsetX);
  EXPECT_EQ(s.hint->GetTop(), s.Origin().Y + 20 + TGraphHintWindow::PointerOffsetY);
  // The tick only queues the showing.
  s.hint->GetShowTimer()->GetOnTimer()(s.hint->GetShowTimer());
  EXPECT_FALSE(s.hint->IsShowing());
  EXPECT_EQ(s.hint->GetShowTimer()->GetRemainingTime(), -1);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_TRUE(s.hint->IsShowing());
  EXPECT_GT(s.hint->GetHideTimer()->GetRemainingTime(), 3000);
  // The hide tick likewise; both timers stop.
  s.hint->GetHideTimer()->GetOnTimer()(s.hint->GetHideTimer());
  EXPECT_TRUE(s.hint->IsShowing());
  EXPECT_EQ(s.hint->GetHideTimer()->GetRemainingTime(), -1);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_FALSE(s.hint->IsShowing());

  // Not while another window is active.
  TPanel other(nullptr);
  other.show();
  QApplication::setActiveWindow(&other);
  s.hint->ShowSlowHintFor(&s.b, 10, 20);
  s.hint->GetShowTimer()->GetOnTimer()(s.hint->GetShowTimer());
  vxtest::ProcessEventsUntilIdle();
  EXPECT_FALSE(s.hint->IsShowing());
  QApplication::setActiveWindow(&s.form);
}

TEST(GraphHint, DirectShowsStaticPlacesAndFitsItsText) {
  Scene s;
  s.hint->ShowSlowHintFor(&s.a, 10, 20);
  s.hint->ShowMoveInfo("Start 08:00", "Stop 09:30", "Row Assembly line 2", 30, 40);
  EXPECT_TRUE(s.hint->IsShowing());
  EXPECT_EQ(s.hint->GetCaption(), "Start 08:00\rStop 09:30\rRow Assembly line 2");
  EXPECT_EQ(s.hint->GetShowTimer()->GetRemainingTime(), -1);
  EXPECT_EQ(s.hint->GetHideTimer()->GetRemainingTime(), -1);
  // Three lines do not fit the standard 30 pixels: the window grows.
  EXPECT_GE(s.hint->GetHeight(), 3 * s.hint->GetCanvas()->TextHeight("Xg"));
  TBitmap shot;
  s.hint->PaintTo(&shot);
  const TRect ink = vxtest::MatchingPixels(shot.GetCanvas(), shot.GetWidth(), shot.GetHeight(), [](TColor p) {
    return p != ColorToRGB(clInfoBk) && p != ColorToRGB(clWindowFrame);
  });
  ASSERT_NE(ink.Left, -1);
  EXPECT_LT(ink.Bottom, shot.GetHeight() - 1);  // the last line is inside
  EXPECT_GT(ink.Bottom - ink.Top, 2 * s.hint->GetCanvas()->TextHeight("Xg"));

  s.hint->SetStaticPos(true);
  s.hint->SetStaticPosRect(Rect(5, 6, 150, 40));
  s.hint->ShowDirect(99, 99);
  EXPECT_EQ(s.hint->GetBoundsRect(), Rect(s.Origin().X + 5, s.Origin().Y + 6, s.Origin().X + 155, s.Origin().Y + 46));
}

TEST(GraphHint, GoingWithCallsPendingIsSafe) {
  Scene s;
  s.hint->ShowSlowHintFor(&s.a, 10, 20);
  s.hint->GetShowTimer()->GetOnTimer()(s.hint->GetShowTimer());
  s.hint->GetHideTimer()->GetOnTimer()(s.hint->GetHideTimer());
  EXPECT_GE(TDoLater::PendingCount(), 2);
  delete s.hint;  // the pending show and hide must not reach it (ASan)
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(TDoLater::PendingCount(), 0);
  // And with its owner.
  auto* owner = new TPanel(nullptr);
  auto* hint = new TGraphHintWindow(owner);
  hint->ShowDirect(1, 1);
  hint->GetShowTimer()->GetOnTimer()(hint->GetShowTimer());
  delete owner;
  vxtest::ProcessEventsUntilIdle();
  SUCCEED();
}
