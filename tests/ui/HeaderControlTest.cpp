// The header control and the up-down control, driven by real input.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <chrono>
#include <thread>

#include "UiTestSupport.h"
#include <vxplan/platform/ui/ComCtrls.h>
#include <vxplan/platform/ui/Menus.h>

using namespace vx;

namespace {

// A header with sections of 60, 0 and 80 pixels, shown.
struct HeaderScene {
  TPanel form{nullptr};
  THeaderControl* h;
  std::vector<std::string> log;
  HeaderScene() {
    form.SetBounds(0, 0, 400, 60);
    h = new THeaderControl(&form);
    h->SetParent(&form);
    h->SetBounds(0, 0, 400, 30);
    for (int w : {60, 0, 80}) h->GetSections()->Add()->SetWidth(w);
    h->GetSections()->GetItem(0)->SetText("Mon\n12 Jan");
    h->OnSectionTrack = [this](THeaderControl*, THeaderSection* s, int w, TSectionTrackState st) {
      log.push_back("track " + std::to_string(s->GetIndex()) + " " + std::to_string(w) + " " + std::to_string(st));
    };
    h->OnSectionResize = [this](THeaderControl*, THeaderSection* s) {
      log.push_back("resize " + std::to_string(s->GetIndex()) + " " + std::to_string(s->GetWidth()));
    };
    h->OnSectionClick = [this](THeaderControl*, THeaderSection* s) {
      log.push_back("click " + std::to_string(s->GetIndex()));
    };
    vxtest::ShowWindow(&form);
  }
};

}  // namespace

TEST(HeaderControl, SectionsAndTheirEdges) {
  THeaderControl h(nullptr);
  THeaderSections* sections = h.GetSections();
  EXPECT_EQ(sections->GetItem(0), nullptr);
  const unsigned stamp = h.GetSizeStamp();
  THeaderSection* a = sections->Add();
  THeaderSection* c = sections->Add();
  THeaderSection* b = sections->Insert(1);
  EXPECT_EQ(sections->Insert(9), nullptr);
  EXPECT_NE(h.GetSizeStamp(), stamp);
  a->SetWidth(40);
  b->SetWidth(0);
  c->SetWidth(-5);  // no negative widths
  EXPECT_EQ(c->GetWidth(), 0);
  c->SetMinWidth(10);
  EXPECT_EQ(c->GetWidth(), 10);
  c->SetMaxWidth(30);
  c->SetWidth(90);
  EXPECT_EQ(c->GetWidth(), 30);
  EXPECT_EQ(b->GetIndex(), 1);
  EXPECT_EQ(c->GetLeft(), 40);
  EXPECT_EQ(c->GetRight(), 70);
  // Edges take a resize within 3 pixels; a section without width has none,
  // and the section under a point is one with width.
  for (auto [x, edge] : {std::pair{38, 0}, {43, 0}, {44, -1}, {72, 2}})
    EXPECT_EQ(h.SectionEdgeAt(x), edge) << x;
  EXPECT_EQ(h.SectionAt(40), 2);
  EXPECT_EQ(h.SectionAt(75), -1);
  sections->Delete(0);
  sections->Delete(7);
  EXPECT_EQ(sections->Count(), 2);
  EXPECT_EQ(c->GetLeft(), 0);
}

TEST(HeaderControl, DraggingAnEdgeResizesItsSection) {
  HeaderScene s;
  // The zero-width section shares the edge at 60 but does not take it.
  vxtest::MousePress(s.h, 61, 10);
  vxtest::MouseMove(s.h, 70, 10);
  vxtest::MouseMove(s.h, 90, 10);
  vxtest::MouseRelease(s.h, 90, 10);
  EXPECT_EQ(s.h->GetSections()->GetItem(0)->GetWidth(), 89);
  EXPECT_EQ(s.h->GetSections()->GetItem(2)->GetLeft(), 89);
  EXPECT_EQ(s.log, (std::vector<std::string>{"track 0 60 0", "track 0 69 1", "resize 0 69", "track 0 89 1",
                                             "resize 0 89", "track 0 89 2"}));
  // A press inside a section clicks it; one on an edge does not.
  s.log.clear();
  vxtest::MouseClick(s.h, 120, 10);
  EXPECT_EQ(s.log, (std::vector<std::string>{"click 2"}));
  EXPECT_EQ(s.h->GetTrackingSection(), -1);
  // A right click shows the popup menu.
  TPopupMenu menu(nullptr);
  menu.GetItems()->Add(new TMenuItem(nullptr));
  s.h->SetPopupMenu(&menu);
  vxtest::MouseClick(s.h, 30, 10, Qt::RightButton);
  EXPECT_TRUE(menu.IsShown());
  menu.CloseMenu();
}

TEST(HeaderControl, PaintsRaisedSectionsWithTheirLines) {
  HeaderScene s;
  s.h->GetSections()->GetItem(0)->SetWidth(100);
  TBitmap shot;
  s.h->PaintTo(&shot);
  TCanvas* c = shot.GetCanvas();
  EXPECT_EQ(c->GetPixel(0, 10), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(c->GetPixel(99, 10), ColorToRGB(clBtnShadow));
  EXPECT_EQ(c->GetPixel(50, 29), ColorToRGB(clBtnShadow));
  // Two lines of title: ink in the upper and in the lower half.
  auto ink = [](TColor p) { return GetRValue(p) < 120; };
  const TRect upper = vxtest::MatchingPixels(c, 100, 15, ink);
  EXPECT_GE(upper.Left, 2);
  TBitmap lower;
  lower.SetSize(100, 15);
  lower.GetCanvas()->CopyRect(Rect(0, 0, 100, 15), c, Rect(0, 15, 100, 30));
  EXPECT_GE(vxtest::MatchingPixels(lower.GetCanvas(), 100, 14, ink).Left, 2);
}

TEST(HeaderControl, ADragThatTakesTheReleaseRaisesThePressedSection) {
  HeaderScene s;
  s.h->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { s.h->BeginDrag(true); };
  int ended = 0;
  s.h->OnEndDrag = [&](TObject*, TObject*, int, int) { ++ended; };
  vxtest::MousePress(s.h, 30, 10);
  TBitmap shot;
  s.h->PaintTo(&shot);
  EXPECT_EQ(shot.GetCanvas()->GetPixel(0, 10), ColorToRGB(clBtnShadow));  // drawn pressed
  vxtest::MouseRelease(s.h, 30, 10);
  EXPECT_EQ(ended, 1);
  s.h->PaintTo(&shot);
  EXPECT_EQ(shot.GetCanvas()->GetPixel(0, 10), ColorToRGB(clBtnHighlight));
  EXPECT_TRUE(std::find(s.log.begin(), s.log.end(), "click 0") == s.log.end());
}

TEST(UpDown, StepsWithinItsRange) {
  TUpDown u(nullptr);
  std::vector<std::string> log;
  u.OnChangingEx = [&](TObject*, bool&, int value, TUpDownDirection d) {
    log.push_back("changing " + std::to_string(value) + (d == updUp ? " up" : " down"));
  };
  u.OnClick = [&](TObject*, TUDBtnType b) { log.push_back(b == btNext ? "next" : "prev"); };
  u.SetMax(2);
  u.Click(btNext);
  u.Click(btNext);
  u.Click(btNext);  // at the end: nothing
  u.Click(btPrev);
  EXPECT_EQ(u.GetPosition(), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"changing 1 up", "next", "changing 2 up", "next", "changing 1 down", "prev"}));
  // Refused steps change nothing; program changes raise nothing.
  u.OnChanging = [](TObject*, bool& allow) { allow = false; };
  u.Click(btNext);
  EXPECT_EQ(u.GetPosition(), 1);
  u.OnChanging = nullptr;
  log.clear();
  u.SetPosition(7);
  EXPECT_EQ(u.GetPosition(), 2);
  EXPECT_TRUE(log.empty());
  // A negative increment steps the other way; Wrap goes round.
  u.SetIncrement(-1);
  u.Click(btNext);
  EXPECT_EQ(u.GetPosition(), 1);
  u.SetWrap(true);
  u.Click(btNext);
  u.Click(btNext);
  EXPECT_EQ(u.GetPosition(), 2);
}

TEST(UpDown, ButtonsUnderTheMouseAndHeldDown) {
  TPanel form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* u = new TUpDown(&form);
  u->SetParent(&form);
  u->SetOrientation(udHorizontal);
  u->SetBounds(10, 10, 24, 16);
  u->SetMax(1000);
  vxtest::ShowWindow(&form);
  EXPECT_EQ(u->ButtonRect(btNext), Rect(12, 0, 24, 16));
  vxtest::MouseClick(u, 18, 8);
  EXPECT_EQ(u->GetPosition(), 1);
  vxtest::MouseClick(u, 4, 8);
  EXPECT_EQ(u->GetPosition(), 0);
  // Held, a button repeats after a pause.
  QCursor::setPos(u->mapToGlobal(QPoint(18, 8)));
  vxtest::MousePress(u, 18, 8);
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(900);
  while (std::chrono::steady_clock::now() < until) {
    vxtest::ProcessEventsUntilIdle(2);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  vxtest::MouseRelease(u, 18, 8);
  EXPECT_GE(u->GetPosition(), 2);
  const int held = u->GetPosition();
  vxtest::ProcessEventsUntilIdle();
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(u->GetPosition(), held);  // released: no more steps
}
