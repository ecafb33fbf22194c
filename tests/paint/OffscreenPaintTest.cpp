#include <gtest/gtest.h>

#include <stdexcept>

#include "UiTestSupport.h"
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/platform/ui/WindowPixels.h>

using namespace vx;

namespace {

// Fills its area with a colour and draws a red box at (10, 10, 30, 20).
class Boxes : public TvxOffscreenPaint {
public:
  explicit Boxes(TComponent* owner = nullptr) : TvxOffscreenPaint(owner) {
    SetBevelOuter(bvNone);
    SetBounds(0, 0, 200, 100);
  }
  int paints = 0;
  bool throwNext = false;
  TColor fill = clAqua;
  std::vector<TScrollDirection> scrolls;

  void OffscreenPaint() override {
    ++paints;
    TCanvas* c = GetOffscreenCanvas();
    c->GetBrush()->SetColor(fill);
    c->FillRect(Rect(0, 0, GetWidth(), GetHeight()));
    c->GetBrush()->SetColor(clRed);
    c->FillRect(Rect(10, 10, 30, 20));
    if (throwNext) {
      throwNext = false;
      c->SetViewportOrg(Point(50, 50));  // left behind by the failure
      throw std::runtime_error("paint failed");
    }
  }
  void PossibleScroll(TScrollDirection d) override { scrolls.push_back(d); }
};

TColor PixelOf(TControl& c, int x, int y) {
  TBitmap shot;
  c.PaintTo(&shot);
  return shot.GetCanvas()->GetPixel(x, y);
}

}  // namespace

TEST(OffscreenPaint, PaintsItsBitmapToTheWindowInOneCopy) {
  Boxes b;
  TBitmap shot;
  b.PaintTo(&shot);
  EXPECT_EQ(b.paints, 1);
  EXPECT_EQ(shot.GetCanvas()->GetPixel(10, 10), clRed);
  EXPECT_EQ(shot.GetCanvas()->GetPixel(29, 19), clRed);
  EXPECT_EQ(shot.GetCanvas()->GetPixel(30, 19), clAqua);

  // The bitmap follows the control's size.
  b.SetBounds(0, 0, 120, 60);
  b.PaintTo(&shot);
  EXPECT_EQ(b.GetDrawBitmap()->GetHeight(), 60);
  EXPECT_EQ(shot.GetCanvas()->GetPixel(119, 59), clAqua);
}

// Drawn straight on the window, a first frame or one at a new size makes no
// picture; a control that keeps its picture makes it when a paint only
// shows it again, and shows the same drawing.
TEST(OffscreenPaint, DrawingOnTheWindowMakesThePictureOnlyWhenItIsShownAgain) {
  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "kept until invalidated" : "drawn at every paint");
    Boxes b;
    b.SetPaintsOnWindow(true);
    b.SetKeepUntilInvalidated(keep);
    const int taken = TWindowPixels::Taken();
    EXPECT_EQ(PixelOf(b, 10, 10), clRed);
    EXPECT_EQ(TWindowPixels::Taken(), taken + 1);
    EXPECT_EQ(b.GetDrawBitmap()->GetWidth(), 0);
    EXPECT_EQ(PixelOf(b, 30, 19), clAqua);  // not invalidated meanwhile
    EXPECT_EQ(b.GetDrawBitmap()->GetWidth(), keep ? 200 : 0);
    EXPECT_EQ(b.paints, 2);
    b.SetBounds(0, 0, 120, 60);
    b.Invalidate();
    EXPECT_EQ(PixelOf(b, 119, 59), clAqua);
    EXPECT_EQ(PixelOf(b, 29, 19), clRed);
    EXPECT_EQ(TWindowPixels::Taken(), taken + (keep ? 2 : 4));
    EXPECT_EQ(b.paints, 4);
  }
}

TEST(OffscreenPaint, APaintThatCoversEveryPixelGetsNoFillBeforeIt) {
  // Draws only a box, and says it covers everything: what was there stays.
  struct Covering : Boxes {
    bool covers = true;
    void OffscreenPaint() override {
      GetOffscreenCanvas()->GetBrush()->SetColor(clBlue);
      GetOffscreenCanvas()->FillRect(Rect(50, 50, 60, 60));
    }
    bool PaintsEveryPixel() const override { return covers; }
  } c;
  c.GetDrawBitmap()->SetSize(200, 100);
  c.GetDrawBitmap()->GetCanvas()->GetBrush()->SetColor(clRed);
  c.GetDrawBitmap()->GetCanvas()->FillRect(Rect(0, 0, 200, 100));
  EXPECT_EQ(PixelOf(c, 5, 5), clRed);
  EXPECT_EQ(PixelOf(c, 55, 55), clBlue);
  c.covers = false;  // the usual fill in the control's colour first
  c.SetColor(clLime);
  EXPECT_EQ(PixelOf(c, 5, 5), clLime);
}

TEST(OffscreenPaint, InvalidationsAreCoalescedPerPaint) {
  Boxes b;
  b.Show();
  vxtest::ProcessEventsUntilIdle();
  const int paintsAfterShow = b.paints;
  const int base = b.GetUpdateRequestCount();
  for (int k = 0; k < 10; ++k) b.Invalidate();
  EXPECT_EQ(b.GetUpdateRequestCount(), base + 1);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(b.paints, paintsAfterShow + 1);
  b.Invalidate();
  EXPECT_EQ(b.GetUpdateRequestCount(), base + 2);
  vxtest::ProcessEventsUntilIdle();

  // No repaint inside an update bracket; leaving it invalidates once.
  const int paints = b.paints;
  b.BeginUpdate();
  b.BeginUpdate();
  b.Repaint();
  EXPECT_EQ(b.paints, paints);
  const int requests = b.GetUpdateRequestCount();
  b.EndUpdate();
  b.Repaint();
  EXPECT_EQ(b.paints, paints);
  b.EndUpdate();
  EXPECT_EQ(b.GetUpdateDepth(), 0);
  // Both ends invalidate, and the two invalidations are one request.
  EXPECT_EQ(b.GetUpdateRequestCount(), requests + 1);
  b.Repaint();
  EXPECT_EQ(b.paints, paints + 1);
  b.EndUpdate();  // unbalanced: stays at 0
  EXPECT_EQ(b.GetUpdateDepth(), 0);

  // Focus changes invalidate (descendants draw the focus).
  vxtest::ProcessEventsUntilIdle();
  const int beforeFocus = b.GetUpdateRequestCount();
  b.Perform(WM_SETFOCUS);
  EXPECT_EQ(b.GetUpdateRequestCount(), beforeFocus + 1);
  b.Hide();
}

TEST(OffscreenPaint, InsetsLeaveTheScrollBarsTheirPlaceAndFillTheCorner) {
  Boxes b;
  b.SetColor(clWhite);
  b.SetHorzInset(17);
  b.SetVertInset(17);
  TBitmap shot;
  b.PaintTo(&shot);
  TCanvas* s = shot.GetCanvas();
  EXPECT_EQ(s->GetPixel(182, 82), clAqua);
  EXPECT_EQ(s->GetPixel(183, 83), ColorToRGB(clBtnFace));
  EXPECT_NE(s->GetPixel(190, 40), clAqua);  // the scroll bar's strip is not copied
  EXPECT_NE(s->GetPixel(100, 90), clAqua);

  b.SetVertInset(0);  // one inset alone: no corner
  TBitmap fresh;
  b.PaintTo(&fresh);
  EXPECT_NE(fresh.GetCanvas()->GetPixel(190, 90), ColorToRGB(clBtnFace));
  EXPECT_EQ(fresh.GetCanvas()->GetPixel(100, 90), clAqua);
}

TEST(OffscreenPaint, AFailedPaintReachesTheApplicationAndTheNextPaintWorks) {
  vxtest::MessageCapture capture;
  Boxes b;
  b.throwNext = true;
  TBitmap shot;
  b.PaintTo(&shot);
  ASSERT_EQ(capture.Messages().size(), 1u);
  EXPECT_EQ(capture.Messages()[0], "paint failed");
  EXPECT_EQ(PixelOf(b, 10, 10), clRed);  // drawn at the right place again
  EXPECT_EQ(PixelOf(b, 60, 60), clAqua);

  // Also on screen, through the event loop.
  b.Show();
  b.throwNext = true;
  b.Invalidate();
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(capture.Messages().size(), 2u);
  b.Invalidate();
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(capture.Messages().size(), 2u);
  b.Hide();
}

TEST(OffscreenPaint, DragsNearAnEdgeAskToScrollOneWay) {
  Boxes b;
  bool accept = false;
  const std::pair<TPoint, std::vector<TScrollDirection>> cases[] = {
      {Point(100, 3), {tsdUp}},   {Point(3, 3), {tsdUp}},       {Point(100, 96), {tsdDown}},
      {Point(2, 50), {tsdLeft}},  {Point(196, 50), {tsdRight}}, {Point(100, 50), {}},
  };
  for (const auto& [at, expected] : cases) {
    b.scrolls.clear();
    b.DoDragOver(nullptr, at.X, at.Y, dsDragMove, accept);
    EXPECT_EQ(b.scrolls, expected) << at.X << "," << at.Y;
  }
  b.SetVertInset(17);  // the edge moves up by the inset
  b.scrolls.clear();
  b.DoDragOver(nullptr, 100, 80, dsDragMove, accept);
  EXPECT_EQ(b.scrolls, std::vector<TScrollDirection>{tsdDown});
}

TEST(OffscreenPaint, WheelHookSpecialKeysAndTheHostsTab) {
  Boxes b;
  std::vector<std::string> log;
  b.OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    log.push_back("wheel event " + std::to_string(delta));
    handled = true;
  };
  b.OnWheelScroll = [&](TWMMouseWheel& m) { log.push_back("wheel hook " + std::to_string(m.WheelDelta)); };
  b.Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<std::uint16_t>(-120)) << 16, MAKELPARAM(5, 5));
  EXPECT_EQ(log, (std::vector<std::string>{"wheel event -120", "wheel hook -120"}));

  EXPECT_EQ(b.Perform(CM_WANTSPECIALKEY, VK_RETURN), 0);
  b.SetSpecialKey(VK_RETURN);
  EXPECT_EQ(b.Perform(CM_WANTSPECIALKEY, VK_RETURN), 1);

  TPanel host(nullptr);
  std::vector<bool> tabs;
  bool hostWantsTab = false;
  b.OnKeyDown = [&](TObject*, unsigned short& key, TShiftState) { log.push_back("key " + std::to_string(key)); };
  b.SetActiveXOwner(nullptr, &host, [&](bool perform) {
    tabs.push_back(perform);
    return hostWantsTab;
  });
  EXPECT_EQ(b.Perform(CM_WANTSPECIALKEY, VK_TAB), 0);
  hostWantsTab = true;
  EXPECT_EQ(b.Perform(CM_WANTSPECIALKEY, VK_TAB), 1);
  log.clear();
  b.Perform(WM_KEYDOWN, VK_TAB);
  b.Perform(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(tabs, (std::vector<bool>{false, false, true}));
  EXPECT_EQ(log, (std::vector<std::string>{"key 40"}));  // the Tab went to the host
  b.SetActiveXOwner(nullptr, nullptr, nullptr);
  b.Perform(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(log.back(), "key 9");
}
