// The grid's marks on a screen of twice the usual density (run with
// QT_SCALE_FACTOR=2): drawn at the device's resolution, centred.
#include <gtest/gtest.h>

#include <QImage>
#include <set>
#include <vector>

#include "UiTestSupport.h"
#include <vxplan/grid/vxGrid.h>

using namespace vx;

namespace {

// Device pixels of a logical rectangle of the shot.
struct Device {
  const QImage& image;
  double ratio;
  QRgb At(double x, double y) const {
    return image.pixel(static_cast<int>(x * ratio), static_cast<int>(y * ratio));
  }
  // Colours met in the logical rectangle, by device pixel.
  std::set<QRgb> Colours(const TRect& r) const {
    std::set<QRgb> c;
    for (int y = static_cast<int>(r.Top * ratio); y < static_cast<int>(r.Bottom * ratio); ++y)
      for (int x = static_cast<int>(r.Left * ratio); x < static_cast<int>(r.Right * ratio); ++x) c.insert(image.pixel(x, y));
    return c;
  }
  // The device columns (or rows) along a device line where theColour is.
  std::vector<int> Run(int theFixed, int theFrom, int theTo, bool theAlongX, QRgb theColour) const {
    std::vector<int> r;
    for (int k = theFrom; k < theTo; ++k)
      if ((theAlongX ? image.pixel(k, theFixed) : image.pixel(theFixed, k)) == theColour) r.push_back(k);
    return r;
  }
};

}  // namespace

TEST(GridHiDpi, CheckMarksAreSmoothAndTreeButtonsCentredOnTheirLines) {
  TvxGrid grid(nullptr);
  grid.SetBounds(0, 0, 300, 200);
  grid.AddColumn()->SetKind(tckBool);
  TvxGrid_Column* tree = grid.AddColumn();
  tree->SetTreeButton(true);
  tree->SetWidth(120);
  grid.EnsureFixed();
  grid.OnIsButtonTerminal = [](TBabGridView_Custom*, TBabCell*) { return false; };
  grid.OnButtonHasNonHiddenChildren = [](TBabGridView_Custom*, TBabCell*) { return true; };
  for (int k = 0; k < 3; ++k) grid.SetText(grid.GetCell(1, grid.AddRow(nullptr)->ListIndex()), "TRUE");
  vxtest::ShowWindow(&grid);
  TBitmap shot;
  grid.PaintTo(&shot);
  ASSERT_EQ(shot.GetDevicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
  const QImage& image = shot.Image();
  const Device d{image, 2.0};

  // The check box of (1,1): its tick drawn at the device's resolution shows
  // the in-between shades of a smooth line, not only black and white.
  // The box at (3, 5)-(14, 16) of the cell, the tick's corner at (5, 7).
  const TRect cell = grid.GetCell(1, 1)->getVisibleRect();
  const TRect box = Rect(cell.Left + 3, cell.Top + 5, cell.Left + 14, cell.Top + 16);
  std::set<QRgb> inside = d.Colours(InflateRect(box, -1, -1));
  inside.erase(qRgb(0, 0, 0));
  inside.erase(qRgb(255, 255, 255));
  EXPECT_GE(inside.size(), 3u);
  EXPECT_EQ(d.At(cell.Left + 5 + 3.5, cell.Top + 7 + 6), qRgb(0, 0, 0));  // where the tick's arms meet

  // The tree button of (2,1) on the tree line's middle (the box itself, drawn
  // by the routine the tree shares, is checked by the tree's test).
  const TRect section = InflateRect(grid.GetCell(2, 1)->getVisibleRect(), -1, -1);
  const int l = section.Left, t = section.Top;
  const std::vector<int> frame = d.Run((t + 6) * 2, (l + 1) * 2, (l + 12) * 2, true, qRgb(0x80, 0x80, 0x80));
  ASSERT_EQ(frame.size(), 4u);  // two device pixels each side
  const int centre = (frame.front() + frame.back()) / 2;
  const std::vector<int> below = d.Run((t + 15) * 2, (l + 1) * 2, (l + 12) * 2, true, qRgb(0xC0, 0xC0, 0xC0));
  ASSERT_FALSE(below.empty());  // the silver line to the next row
  EXPECT_EQ((below.front() + below.back()) / 2, centre);
}
