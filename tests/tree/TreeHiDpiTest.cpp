// The tree's expand boxes on a screen of twice the usual density (run with
// QT_SCALE_FACTOR=2): frame and strokes of one thickness, the box centred on
// the lines that join it.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "UiTestSupport.h"
#include <vxplan/tree/vxTree.h>

using namespace vx;

TEST(TreeHiDpi, ExpandBoxesAreCentredOnTheirLines) {
  TvxTree tree(nullptr);
  tree.SetBounds(0, 0, 200, 150);
  for (int i = 0; i < 3; ++i) tree.AddDataEntity(tree.AddDataEntity(nullptr));
  vxtest::ShowWindow(&tree);
  TBitmap shot;
  tree.PaintTo(&shot);
  ASSERT_EQ(shot.GetDevicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
  const QImage& image = shot.Image();
  // The second root's box: grey frame pixels across its middle row, the
  // minus and the grey line below it, all in device pixels.
  tree.EnsureDisplayUpToDate();
  const TRect row = tree.GetVisibleRow(1)->DisplayRect(false);
  const int h = row.Bottom - row.Top, bx = tree.GetIndent() / 2, mid = row.Top + h / 2;
  const QRgb grey = qRgb(0x80, 0x80, 0x80);
  std::vector<int> frame;
  for (int x = (bx - 6) * 2; x < (bx + 7) * 2; ++x)
    if (image.pixel(x, (mid - 2) * 2) == grey) frame.push_back(x);
  ASSERT_EQ(frame.size(), 4u);  // two device pixels on each side
  EXPECT_EQ(frame[1] - frame[0], 1);
  EXPECT_EQ(frame[3] - frame[2], 1);
  std::vector<int> minus;
  for (int x = (bx - 6) * 2; x < (bx + 7) * 2; ++x)
    if (image.pixel(x, mid * 2) == qRgb(0, 0, 0)) minus.push_back(x);
  ASSERT_FALSE(minus.empty());
  EXPECT_EQ(minus.front() - frame[1], frame[2] - minus.back());
  // The dotted line down to the next root, in the box's middle.
  std::vector<int> line;
  for (int y = (mid + 6) * 2; y < row.Bottom * 2; ++y)
    for (int x = (bx - 6) * 2; x < (bx + 7) * 2; ++x)
      if (image.pixel(x, y) == grey) line.push_back(x);
  ASSERT_FALSE(line.empty());
  for (int x : line) EXPECT_EQ(x / 2, bx);
  EXPECT_EQ((frame.front() + frame.back()) / 2, bx * 2);
}
