#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include <vxplan/gantt/vxKronitItemTexts.h>
#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/ui/DeviceContext.h>

using namespace vx;

namespace {

// A white 300 x 200 picture; the item (100, 50, 140, 62) framed in grey so
// that text pixels can be told from it.
struct Scene {
  std::unique_ptr<TDeviceContext> dc = TDeviceContext::CreateImage(300, 200);
  TCanvas c;
  TvxTimeItemTextCollection texts;
  const TRect item = Rect(100, 50, 140, 62);
  int styleCalls = 0;
  Scene() {
    c.SetHandle(dc.get());
    texts.fOnStyleSet = [this](TvxTimeItemTextCollection*, TCanvas* canvas, int style) {
      ++styleCalls;
      canvas->GetFont()->SetSize(style == 2 ? 12 : 9);
      canvas->GetFont()->SetColor(clBlack);
    };
  }
  TRect Ink() {
    return vxtest::MatchingPixels(&c, 300, 200, [](TColor p) { return p != clWhite; });
  }
  void Draw(double sx = 1, double sy = 1) { texts.DrawToCanvasInsideRect(item, &c, sx, sy); }
};

}  // namespace

TEST(ItemTexts, InsideTextsAreClippedToTheItem) {
  Scene s;
  s.texts.AddText("Inside text much longer than the item", 2, 1, 1);
  s.Draw();
  const TRect ink = s.Ink();
  ASSERT_NE(ink.Left, -1);
  EXPECT_GE(ink.Left, 102);
  EXPECT_GE(ink.Top, 51);
  EXPECT_LE(ink.Right, 139);  // clipped to (102, 51, 139, 61)
  EXPECT_LE(ink.Bottom, 61);
  EXPECT_EQ(s.styleCalls, 1);
  EXPECT_FALSE(s.dc->HasClip());  // the clip went again

  // A clip the caller had is kept.
  Scene clipped;
  clipped.dc->SelectClipRect(Rect(0, 0, 120, 200));
  clipped.texts.AddText("Inside text much longer than the item", 2, 1, 1);
  clipped.Draw();
  EXPECT_LE(clipped.Ink().Right, 120);
  EXPECT_TRUE(clipped.dc->HasClip());
  EXPECT_EQ(clipped.dc->GetClipBox(), Rect(0, 0, 120, 200));
}

TEST(ItemTexts, TextsBesideTheItemAreNotClipped) {
  Scene far;
  far.texts.AddTextEx("Far to the right", 4, 0, 1, trpOutsideFar, trpInside);
  far.Draw();
  const TRect right = far.Ink();
  EXPECT_GE(right.Left, 144);
  EXPECT_LE(right.Left, 146);
  EXPECT_GT(right.Right, 180);  // longer than the box of the item's size

  Scene near;
  TvxTimeItemText* t = near.texts.AddTextEx("Left", 2, 0, 1, trpOutsideNear, trpInside);
  near.Draw();
  const int width = near.c.TextWidth(t->GetText());
  const TRect left = near.Ink();
  EXPECT_LE(left.Right, 100 - 2);
  EXPECT_GE(left.Right, 100 - 2 - 2);
  EXPECT_GE(left.Left, 100 - 2 - width);

  Scene above;
  above.texts.AddTextEx("Up", 0, 3, 2, trpInside, trpOutsideNear);
  above.Draw();
  EXPECT_LE(above.Ink().Bottom, 50 - 3);
  EXPECT_GE(above.Ink().Top, 50 - 3 - above.c.TextHeight("Up"));

  Scene below;
  below.texts.AddTextEx("Down", 0, 5, 1, trpInside, trpOutsideFar);
  below.Draw(2, 2);  // offsets scale with the print scales
  EXPECT_GE(below.Ink().Top, 62 + 10);
}

TEST(ItemTexts, EmptyAndOutOfRoomTextsDrawNothing) {
  Scene s;
  s.texts.AddText("", 0, 0, 1);
  s.texts.AddText("narrow", 45, 0, 1);  // the offset is wider than the item
  s.Draw();
  EXPECT_EQ(s.Ink().Left, -1);
  EXPECT_EQ(s.styleCalls, 1);  // the empty text asks for no font
  EXPECT_THROW(s.texts.DropText(2), EListError);
}
