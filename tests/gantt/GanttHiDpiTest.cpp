// On a screen of device pixel ratio 2 (this suite runs with QT_SCALE_FACTOR=2):
// the area's off-screen bitmap is made at that ratio, and every documented
// position still holds in logical pixels.
#include <gtest/gtest.h>

#include "GanttSupport.h"
#include <vxplan/platform/rtl/Color.h>

using namespace vx;
using vxtest::TestGant;

TEST(GanttHiDpi, TheAreaDrawsAtTheScreensDensity) {
  TestGant g;
  vxtest::ShowWindow(&g);
  ASSERT_EQ(g.GetGA()->GetScreenPixelRatio(), 2.0);
  TvxDataEntity_Kronit* k = g.Item(g.Node(nullptr, "n"), 1, 2);
  k->SetColor(0x00C000);
  vxtest::ProcessEventsUntilIdle();
  g.GetGA()->Repaint();
  TBitmap* bitmap = g.GetGA()->GetDrawBitmap();
  EXPECT_EQ(bitmap->GetDevicePixelRatio(), 2.0);
  EXPECT_EQ(bitmap->GetWidth(), g.GetGA()->GetWidth());  // logical
  EXPECT_EQ(bitmap->Image().width(), 2 * g.GetGA()->GetWidth());  // physical
  // What the window shows (drawn into its pixels or copied from the picture)
  // at that density too.
  const TRect r = g.RectFromDataEntity(k);
  TBitmap shot;
  g.GetGA()->Invalidate();
  g.GetGA()->PaintTo(&shot);
  EXPECT_EQ(shot.GetDevicePixelRatio(), 2.0);
  TCanvas* c = shot.GetCanvas();
  EXPECT_EQ(ColorToRGB(c->GetPixel(r.Left, r.Top + 5)), clBlack);  // the frame
  EXPECT_EQ(ColorToRGB(c->GetPixel(r.Left + 1, r.Top + 5)), 0x00C000);
  EXPECT_EQ(ColorToRGB(c->GetPixel(r.Right - 1, r.Top + 5)), clBlack);
  EXPECT_NE(ColorToRGB(c->GetPixel(r.Right, r.Top + 5)), 0x00C000);
  // The one-pixel frame is two physical pixels wide, and no wider: crisp.
  const QImage& image = shot.Image();
  EXPECT_EQ(image.pixel(2 * r.Left, 2 * (r.Top + 5)) & 0xFFFFFF, 0u);
  EXPECT_EQ(image.pixel(2 * r.Left + 1, 2 * (r.Top + 5)) & 0xFFFFFF, 0u);
  EXPECT_NE(image.pixel(2 * r.Left + 2, 2 * (r.Top + 5)) & 0xFFFFFF, 0u);
  // A paint nobody asked for shows the same, from the picture.
  TBitmap again;
  g.GetGA()->PaintTo(&again);
  EXPECT_EQ(again.Image(), shot.Image());
}
