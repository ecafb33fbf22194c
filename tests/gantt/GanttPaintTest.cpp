// The Gantt area's picture, read back at documented pixel positions.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "GanttSupport.h"
#include <vxplan/platform/rtl/Color.h>

using namespace vx;
using vxtest::TestGant;

namespace {

constexpr TColor kBack = 0xF0F0F0, kPyjamas = 0xD0D0D0;

// A chart whose background is easy to tell from what is drawn on it.
struct Painted : TestGant {
  TBitmap shot;
  Painted() {
    SetGantBackColor(kBack);
    SetGantPyjamasColor(kPyjamas);
    SetDrawLongLines(false);
  }
  TColor At(int x, int y) { return ColorToRGB(shot.GetCanvas()->GetPixel(x, y)); }
  // As an application does after changing fields that tell nobody.
  void Paint() {
    GetTreeView()->EnsureDisplayUpToDate();
    GetGA()->Invalidate();
    GetGA()->PaintTo(&shot);
  }
  // The bounding box of pixels of theColor inside theArea.
  TRect Find(TColor theColor, const TRect& theArea) {
    TRect r{-1, -1, -1, -1};
    for (int y = std::max(theArea.Top, 0); y < std::min(theArea.Bottom, shot.GetHeight()); ++y)
      for (int x = std::max(theArea.Left, 0); x < std::min(theArea.Right, shot.GetWidth()); ++x)
        if (At(x, y) == theColor) {
          if (r.Left < 0)
            r = Rect(x, y, x + 1, y + 1);
          else
            r = Rect(std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1), std::max(r.Bottom, y + 1));
        }
    return r;
  }
};

}  // namespace

TEST(GanttPaint, BackgroundBandsAndStripes) {
  Painted g;
  g.Paint();
  // No rows yet: bands of 18 pixels, the even ones patterned half and half.
  EXPECT_EQ(g.At(0, 0), kBack);
  EXPECT_EQ(g.At(1, 0), kPyjamas);
  EXPECT_EQ(g.At(0, 1), kPyjamas);
  EXPECT_EQ(g.At(1, 18), kBack);
  EXPECT_EQ(g.At(0, 19), kBack);
  EXPECT_EQ(g.At(1, 36), kPyjamas);
  // Rows set the band height.
  g.Node(nullptr, "n");
  g.Paint();
  EXPECT_EQ(g.At(1, TestGant::kRowHeight), kBack);
  EXPECT_EQ(g.At(0, TestGant::kRowHeight + 1), kBack);
  EXPECT_EQ(g.At(1, 2 * TestGant::kRowHeight), kPyjamas);

  // Where the scale lines stand is checked against the axis in GanttZoomTest.
  // Vertical stripes: no horizontal bands, columns alternate between the long marks.
  TvxDateScaler* s = g.GetDateScaler();
  g.SetVerticalPyjamas(true);
  s->SetStop(s->GetStart() + 60);  // several weeks in view
  g.Paint();
  size_t i = 0;
  while (i < s->GetLongScaleMarks().size() && s->GetLongScaleMarks()[i].Pixel < 1) ++i;
  ASSERT_LT(i + 1, s->GetLongScaleMarks().size());
  const int a = static_cast<int>(std::lround(s->GetLongScaleMarks()[i].Pixel));
  const int b = static_cast<int>(std::lround(s->GetLongScaleMarks()[i + 1].Pixel));
  auto plain = [&](int x) { return g.At(x, 40) == kPyjamas && g.At(x + 1, 40) == kPyjamas; };
  EXPECT_NE(plain(a + 2), plain(b + 2));  // one solid, the next patterned
  EXPECT_EQ(g.At(a + 2, 19) == kPyjamas, g.At(a + 2, 21) == kPyjamas);  // no band edge
}

TEST(GanttPaint, TodayLineAtNoon) {
  Painted g;
  const TDateTime today = std::floor(Now());
  g.GetDateScaler()->SetStart(today - 1);
  g.GetDateScaler()->SetStop(today + 2);
  g.SetTodayLineOnOff(true);
  g.SetTodayLineColor(0x0000FF);
  g.Paint();
  const int x = g.GetDateScaler()->DateToPixel(today + 0.5);
  EXPECT_EQ(g.At(x, 10), 0x0000FF);
  EXPECT_EQ(g.At(x, g.GetGA()->GetHeight() - 1), 0x0000FF);
  EXPECT_NE(g.At(x + 1, 10), 0x0000FF);
  // Noon out of view: no line.
  g.GetDateScaler()->SetStart(today + 1);
  g.GetDateScaler()->SetStop(today + 3);
  g.Paint();
  EXPECT_EQ(g.Find(0x0000FF, Rect(0, 0, g.GetGA()->GetWidth(), 100)).Left, -1);
}

TEST(GanttPaint, EachStyleAtItsRectangle) {
  TCustomImageList images(nullptr, 8, 8);  // outlives the chart that shows it
  Painted g;
  const TColor red = 0x2020E0;
  struct Case {
    std::uint8_t style;
    TvxDataEntity_Kronit* item = nullptr;
  };
  std::vector<Case> cases{{gtsSquare}, {gtsSpan},   {gtsLine},  {gtsLineWEnd},     {gtsWave},
                          {gtsRomb},   {gtsPipe},   {gtsImage}, {0x80 | gtsSquare}, {gtsUser}};
  // The image style draws a picture of the chart's list at its natural size.
  TBitmap picture(8, 8);
  picture.GetCanvas()->GetBrush()->SetColor(red);
  picture.GetCanvas()->FillRect(Rect(0, 0, 8, 8));
  images.Add(&picture);
  g.SetImageList(&images);
  // The application's style: it is handed the item and where to draw it.
  g.OnUserDrawTime = [&](TvxGant_ComBasic* chart, TvxDataEntity_Kronit* k, TCanvas* c, const TRect& r) {
    EXPECT_EQ(chart, &g);
    EXPECT_EQ(r, g.RectFromDataEntity(k));
    c->GetBrush()->SetColor(k->GetColor());
    c->FillRect(InflateRect(r, 0, -2));
  };
  for (Case& c : cases) {
    TvxDataEntity_Tree* n = g.Node(nullptr, "n");
    c.item = g.Item(n, 1, 2);
    c.item->SetStyle(c.style);
    c.item->SetColor(red);
  }
  g.Paint();
  for (const Case& c : cases) {
    SCOPED_TRACE("style " + std::to_string(c.style));
    const TRect r = g.RectFromDataEntity(c.item);
    const TRect area = InflateRect(r, 3, 3);
    const TRect drawn = g.Find(red, area);
    ASSERT_NE(drawn.Left, -1);
    const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    switch (c.style & 0x7F) {
      case gtsSquare:
        EXPECT_EQ(drawn, InflateRect(r, -1, -1));  // filled, inside a black frame
        EXPECT_EQ(g.At(r.Left, r.Top), clBlack);
        EXPECT_EQ(g.At(r.Right - 1, r.Bottom - 1), clBlack);
        break;
      case gtsSpan:
        EXPECT_EQ(g.At(cx, r.Top + 1), red);  // the bar
        EXPECT_EQ(g.At(cx, r.Top), clBlack);
        EXPECT_NE(g.At(cx, r.Top + 8), red);  // nothing under the middle
        EXPECT_EQ(g.Find(red, Rect(r.Left, r.Top + 4, r.Left + 12, r.Bottom)).Left != -1, true);  // a triangle
        break;
      case gtsLine:
      case gtsLineWEnd:
        EXPECT_EQ(g.At(cx, cy - 1), red);  // the thick line through the middle
        EXPECT_EQ(g.At(cx, cy - 2), clBlack);  // and its frame
        EXPECT_EQ(g.At(r.Left, r.Top) == clBlack, (c.style & 0x7F) == gtsLineWEnd);  // end marks
        break;
      case gtsWave:
        EXPECT_LT(drawn.Top, cy - 2);  // up and down through the band
        EXPECT_GT(drawn.Bottom, cy + 2);
        break;
      case gtsRomb:
        EXPECT_EQ(g.At(cx, r.Top + 1), red);  // the top corner
        EXPECT_NE(g.At(cx, cy), red);          // not filled
        EXPECT_LE(drawn.Left, r.Left + 1);
        EXPECT_GE(drawn.Right, r.Right - 1);
        break;
      case gtsPipe:
        // Shaded: lighter or darker at the top than in the middle.
        EXPECT_NE(g.At(cx, r.Top + 1), g.At(cx, cy));
        EXPECT_NE(g.At(cx, cy), kBack);
        break;
      case gtsImage: EXPECT_EQ(drawn, Rect(r.Left, r.Top, r.Left + 8, r.Top + 8)); break;
      case gtsUser: EXPECT_EQ(drawn, InflateRect(r, 0, -2)); break;
    }
  }
  // No such picture, or no handler: nothing drawn.
  cases[7].item->SetImageIndex(1);
  g.OnUserDrawTime = nullptr;
  g.Paint();
  for (int k : {7, 9}) EXPECT_EQ(g.Find(red, g.RectFromDataEntity(cases[k].item)).Left, -1) << k;
}

TEST(GanttPaint, SelectionHandlesAndLayers) {
  Painted g;
  TvxDataEntity_Tree* n = g.Node(nullptr, "n");
  TvxDataEntity_Kronit* k = g.Item(n, 1, 3);
  k->SetColor(0x00C000);
  k->SetSelected(true);
  g.RowOf(n)->fTimeItems_SelectionColor = 0xFF0000;
  g.Paint();
  TRect r = g.RectFromDataEntity(k);
  EXPECT_EQ(g.Find(0xFF0000, r), r);  // the corner handles span the item
  EXPECT_EQ(g.At(r.Left + 6, r.Top + 1), 0x00C000);
  g.RowOf(n)->fTime_ItemsHasSelectHandles = false;
  g.Paint();
  EXPECT_EQ(g.Find(0xFF0000, r).Left, -1);

  // Two layers over the same time: the layer drawn last is on top.
  TvxDataEntity_Kronit* under = g.Item(n, 5, 6, 0);
  TvxDataEntity_Kronit* over = g.Item(n, 5, 6, 1);
  under->SetColor(0x0000C0);
  over->SetColor(0xC00000);
  g.Paint();
  r = g.RectFromDataEntity(over);
  EXPECT_EQ(g.At(r.Left + r.Width() / 2, r.Top + r.Height() / 2), 0xC00000);
  g.RowOf(n)->SetDrawLayerStart(1);
  g.Paint();
  EXPECT_EQ(g.At(r.Left + r.Width() / 2, r.Top + r.Height() / 2), 0x0000C0);
}

TEST(GanttPaint, LinksFollowTheirRoutes) {
  Painted g;
  TvxDataEntity_Tree* n1 = g.Node(nullptr, "a");
  TvxDataEntity_Tree* n2 = g.Node(nullptr, "b");
  g.Node(nullptr, "c");
  TvxDataEntity_Kronit* a = g.Item(n1, 1, 2);
  TvxDataEntity_Kronit* b = g.Item(n2, 3, 4);
  TvxDataEntity_Link* link = g.AddLink();
  link->fLinkOwner = a;
  link->fLinkedTo = b;
  link->fLinkColor = 0x00FFFF;
  link->SetStartFinishOption(tlsfFS);
  g.Paint();
  const TRect A = g.RectFromDataEntity(a), B = g.RectFromDataEntity(b);
  // Default route: right from A's end to half way, down to B's middle, right into B.
  const int ay = A.Top + A.Height() / 2, by = B.Top + B.Height() / 2;
  const int mx = A.Right + (B.Left - 1 - A.Right) / 2;
  EXPECT_EQ(g.At(A.Right + 2, ay), 0x00FFFF);
  EXPECT_EQ(g.At(mx, (ay + by) / 2), 0x00FFFF);
  EXPECT_EQ(g.At(B.Left - 4, by), 0x00FFFF);
  // Project routing: along A's row to just past B's start, then down onto B's top edge.
  link->fLinkStyle = tlsMSProject;
  g.Paint();
  const int x = B.Left + 3 + 3;
  EXPECT_EQ(g.At(x, ay), 0x00FFFF);
  EXPECT_EQ(g.At(x, B.Top - 5), 0x00FFFF);
  EXPECT_NE(g.At(mx, (ay + by) / 2), 0x00FFFF);  // the default route is gone

  // Shown while one end is in view; with both ends required, not when A is out of it.
  g.GetDateScaler()->SetStart(TestGant::kDay0 + 2.5);
  g.GetDateScaler()->SetStop(TestGant::kDay0 + 6);
  g.Paint();
  EXPECT_NE(g.Find(0x00FFFF, Rect(0, 0, 400, 100)).Left, -1);
  g.SetLinkShow(lsBothEndsVisible);
  g.Paint();
  EXPECT_EQ(g.Find(0x00FFFF, Rect(0, 0, 400, 100)).Left, -1);
  // A window between the two ends: only lsAlways draws the link across it.
  g.GetDateScaler()->SetStart(TestGant::kDay0 + 2.2);
  g.GetDateScaler()->SetStop(TestGant::kDay0 + 2.8);
  for (TLinkShow show : {lsOneEndVisible, lsBothEndsVisible, lsAlways}) {
    g.SetLinkShow(show);
    g.Paint();
    EXPECT_EQ(g.Find(0x00FFFF, Rect(0, 0, g.GetGA()->GetWidth(), 100)).Left != -1, show == lsAlways) << show;
  }
}

// The filled head of a project-routed link is drawn in rows of pixels; it
// must cover what the outlined triangle covers, in both directions and at
// the sizes printing and zooming give it.
TEST(GanttPaint, ArrowHeadsCoverTheirTriangle) {
  for (int half = 1; half <= 7; ++half)
    for (int dir : {-1, 1}) {
      TBitmap rows(30, 30), polygon(30, 30);
      const TPoint tip = Point(15, dir > 0 ? 5 : 25);
      TvxTimeDraw::ArrowHead(rows.GetCanvas(), clRed, tip, half, dir);
      TCanvas* c = polygon.GetCanvas();
      c->GetPen()->SetColor(clRed);
      c->GetBrush()->SetColor(clRed);
      const TPoint pts[] = {tip, Point(tip.X - half, tip.Y + half * dir), Point(tip.X + half, tip.Y + half * dir)};
      c->Polygon(pts);
      int differing = 0, red = 0;
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
          const TColor p = rows.GetCanvas()->GetPixel(x, y);
          if (p != c->GetPixel(x, y)) ++differing;
          if (p == clRed) ++red;
        }
      EXPECT_EQ(differing, 0) << "half " << half << " dir " << dir;
      EXPECT_EQ(red, (half + 1) * (half + 1));
    }
}

// A full frame is drawn straight onto the window when nothing will show the
// picture again; it must look exactly like the picture copied there, and
// must not reach past the area into the tree beside it or the scroll bars.
TEST(GanttPaint, OnTheWindowExactlyAsThroughThePicture) {
  Painted g;
  g.SetGantBackColor(clWindow);
  g.SetGantPyjamasColor(clStripe);
  std::vector<TvxDataEntity_Kronit*> bars;
  for (int r = 0; r < 40; ++r) {
    TvxDataEntity_Tree* node = g.Node(nullptr, "Row " + std::to_string(r));
    // Bars from far before the window to far after it, and labelled ones inside.
    bars.push_back(g.Item(node, -30 + r % 3, 0.5 + r % 5));
    TvxDataEntity_Kronit* k = g.Item(node, 2 + (r % 4) * 0.3, 60);
    k->GetTimeItemTextCollection()->AddText("Task " + std::to_string(r), 2, 2, 1);
    k->SetColor(r % 2 ? 0x5BA0D6 : 0xD6A05B);
    bars.push_back(k);
  }
  for (size_t l = 0; l + 3 < bars.size(); l += 3) {
    TvxDataEntity_Link* link = g.AddLink();
    link->fLinkOwner = bars[l];
    link->fLinkedTo = bars[l + 3];
    link->fLinkStyle = l % 2 ? tlsMSProject : tlsDefault;
  }
  g.show();
  vxtest::ProcessEventsUntilIdle();
  auto frame = [&](bool onWindow) {
    g.GetGA()->SetPaintsOnWindow(onWindow);
    g.Paint();  // asked for: the area alone
    const QImage area = g.shot.Image().copy();
    g.GetGA()->Invalidate();
    const QImage whole = g.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return std::make_pair(area, whole);
  };
  const auto [pictureArea, pictureWhole] = frame(false);
  const auto [windowArea, windowWhole] = frame(true);
  EXPECT_EQ(windowArea, pictureArea);
  EXPECT_EQ(windowWhole, pictureWhole);
  // A paint nobody asked for after a straight one (an overlay passing) shows
  // the same picture, drawn for it.
  g.GetGA()->PaintTo(&g.shot);
  EXPECT_EQ(g.shot.Image(), pictureArea);
  g.GetGA()->PaintTo(&g.shot);
  EXPECT_EQ(g.shot.Image(), pictureArea);
}

// Bars reaching far past the window are cut to it: the fill runs to both
// edges, the frame only where an end is in view, the label at the edge.
TEST(GanttPaint, BarsFarOutsideTheWindowAreCutToIt) {
  Painted g;
  const TColor red = 0x2020E0;
  const int w = g.GetGA()->GetWidth();
  struct Case {
    double from, to;  // days; the window shows days 0 .. 7, about 100 pixels each
    bool leftOut, rightOut;
  };
  const Case cases[] = {{-1000, 1000, true, true}, {-1e7, 1e7, true, true}, {-1000, 3, true, false},
                        {3, 1000, false, true},    {-1e9, -1e8, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " .. " + std::to_string(c.to));
    TvxDataEntity_Tree* n = g.Node(nullptr, "n");
    TvxDataEntity_Kronit* k = g.Item(n, c.from, c.to);
    k->SetColor(red);
    k->GetTimeItemTextCollection()->AddText("Label", 2, 2, 1);
    g.Paint();
    const TRect r = g.RectFromDataEntity(k);
    const int cy = r.Top + r.Height() / 2;
    if (c.to < 0) {  // wholly before the window: nothing
      EXPECT_EQ(g.Find(red, Rect(0, r.Top, w, r.Bottom)).Left, -1);
      EXPECT_EQ(g.Find(clBlack, Rect(0, r.Top, w, r.Bottom)).Left, -1);
      continue;
    }
    EXPECT_EQ(g.At(c.leftOut ? 0 : r.Left, cy), c.leftOut ? red : clBlack);
    EXPECT_EQ(g.At(c.rightOut ? w - 1 : r.Right - 1, cy), c.rightOut ? red : clBlack);
    EXPECT_EQ(g.At(c.leftOut ? 1 : r.Left + 1, r.Top), clBlack);  // the top of the frame
    // The label at the left edge of what shows.
    const int x0 = std::max(r.Left, 0);
    int label = 0;
    for (int x = x0 + 2; x < x0 + 30; ++x) label += g.At(x, r.Top + 8) != red;
    EXPECT_GT(label, 0);
    g.GetTreeView()->RemoveDataEntity(n);
  }
}

// The application's hooks draw into the picture: the background under the
// lines and items, a link of its own style where the chart would route it.
TEST(GanttPaint, TheApplicationsDrawingShows) {
  Painted g;
  const int w = g.GetGA()->GetWidth(), h = g.GetGA()->GetHeight();
  TvxDataEntity_Tree* n1 = g.Node(nullptr, "a");
  TvxDataEntity_Tree* n2 = g.Node(nullptr, "b");
  TvxDataEntity_Kronit* a = g.Item(n1, 1, 2);
  TvxDataEntity_Kronit* b = g.Item(n2, 3, 4);
  a->SetColor(0x00C000);
  TvxDataEntity_Link* link = g.AddLink();
  link->fLinkOwner = a;
  link->fLinkedTo = b;
  link->fLinkStyle = tlsUserDraw;
  link->fLinkColor = 0xFF00FF;
  g.SetDrawLongLines(true);
  g.OnUserDrawBackground = [&](TvxGant_ComBasic* chart, const TRect& r, TCanvas* c) {
    EXPECT_EQ(chart, &g);
    EXPECT_EQ(r, Rect(0, 0, w, h));
    c->GetBrush()->SetColor(0x00FFFF);
    c->FillRect(r);
  };
  std::vector<std::pair<TPoint, TPoint>> links;
  g.OnUserDrawLinks = [&](TvxGant_ComBasic*, TvxDataEntity_Link* l, TCanvas* c, TPoint from, TPoint to) {
    EXPECT_EQ(l, link);
    links.push_back({from, to});
    c->GetPen()->SetColor(0x0000FF);
    c->MoveTo(from.X, from.Y);
    c->LineTo(to.X, to.Y);
  };
  g.Paint();
  const TRect A = g.RectFromDataEntity(a), B = g.RectFromDataEntity(b);
  EXPECT_EQ(g.At(A.Left + 3, h - 3), 0x00FFFF);  // no band, no pattern left
  EXPECT_EQ(g.At(A.Left + 3, A.Top + 3), 0x00C000);  // items over it
  int lines = 0;  // and the scale lines
  for (int x = 0; x < w; ++x) lines += g.At(x, h - 3) != 0x00FFFF;
  EXPECT_GT(lines, 0);
  // The link: finish of a to start of b, at their middles, drawn by the hook alone.
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].first, Point(A.Right, A.Top + A.Height() / 2));
  EXPECT_EQ(links[0].second, Point(B.Left, B.Top + B.Height() / 2));
  EXPECT_NE(g.Find(0x0000FF, Rect(A.Right, A.Top, B.Left, B.Bottom)).Left, -1);
  EXPECT_EQ(g.Find(0xFF00FF, Rect(0, 0, w, h)).Left, -1);
  // Without a hook, a link of that style is not drawn at all.
  g.OnUserDrawLinks = nullptr;
  g.Paint();
  EXPECT_EQ(g.Find(0x0000FF, Rect(0, 0, w, h)).Left, -1);
}

// Dotted focus rectangles: inside the active item when its row has them, and
// around the area while it has the keyboard.
TEST(GanttPaint, FocusRectanglesOnTheActiveItemAndTheFocusedArea) {
  Painted g;
  vxtest::ShowWindow(&g);
  const TColor green = 0x00C000, dotted = green ^ 0xFFFFFF;  // the dots invert
  TvxDataEntity_Kronit* k = g.Item(g.Node(nullptr, "n"), 1, 3);
  k->SetColor(green);
  struct Case {
    bool active, rowFocusRect;
  };
  for (const Case c : {Case{false, true}, Case{true, true}, Case{true, false}}) {
    g.SetActiveDataEntity(c.active ? k : nullptr);
    k->GetRow()->fTime_ItemsHasFocusRect = c.rowFocusRect;
    g.Paint();
    const TRect r = InflateRect(g.RectFromDataEntity(k), -2, -2);
    const bool dots = c.active && c.rowFocusRect;
    EXPECT_EQ(g.At(r.Left, r.Top + 2), dots ? dotted : green);
    EXPECT_EQ(g.At(r.Left + 1, r.Top + 2), green);  // every other pixel
    EXPECT_EQ(g.At(r.Right - 1, r.Bottom - 1) == dotted || g.At(r.Right - 2, r.Bottom - 1) == dotted, dots);
    EXPECT_EQ(g.At(r.Left + 5, r.Top - 1), green);  // not outside it
  }
  // The area's frame, 2 pixels in, only while it has the focus.
  const int w = g.GetGA()->GetWidth(), h = g.GetGA()->GetHeight();
  const TColor frame = ColorToRGB(clFocusRect);
  g.GetGA()->SetFocus();
  vxtest::ProcessEventsUntilIdle();
  ASSERT_TRUE(g.GetGA()->Focused());
  g.Paint();
  // Every other pixel: one of two neighbours.
  auto framed = [&](int x, int y, int dx, int dy) { return g.At(x, y) == frame || g.At(x + dx, y + dy) == frame; };
  EXPECT_EQ(g.At(2, 100), frame);
  EXPECT_TRUE(framed(w - 3, 100, 0, 1));
  EXPECT_TRUE(framed(100, h - 3, 1, 0));
  EXPECT_TRUE(framed(100, 2, 1, 0));
  EXPECT_FALSE(framed(1, 100, 0, 1));
  EXPECT_FALSE(framed(3, 100, 0, 1));
  g.GetTreeView()->SetFocus();
  vxtest::ProcessEventsUntilIdle();
  g.Paint();
  EXPECT_NE(g.At(2, 100), frame);
}
