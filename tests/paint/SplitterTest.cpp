#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>

#include "UiTestSupport.h"
#include <vxplan/paint/vxSplitter.h>
#include <vxplan/paint/vxXYSizer.h>

using namespace vx;

namespace {

// A 400 x 300 parent with a neighbour docked on one side, the splitter next
// to it and a client panel filling the rest.
struct Docked {
  TPanel parent{nullptr};
  TPanel* neighbour = new TPanel(&parent);
  TvxSplitter* splitter = new TvxSplitter(&parent);
  TPanel* client = new TPanel(&parent);
  int moved = 0;
  explicit Docked(TAlign side) {
    parent.SetBounds(0, 0, 400, 300);
    parent.SetBevelOuter(bvNone);
    parent.SetColor(clWhite);
    neighbour->SetParent(&parent);
    // At the edge it docks to, so that it comes before the splitter.
    neighbour->SetBounds(side == alRight ? 300 : 0, side == alBottom ? 200 : 0, 100, 100);
    neighbour->SetAlign(side);
    splitter->SetParent(&parent);
    splitter->SetAlign(side);
    // After the neighbour, beyond it from the edge.
    if (side == alLeft) splitter->SetLeft(200);
    if (side == alTop) splitter->SetTop(200);
    if (side == alRight) splitter->SetLeft(0);
    if (side == alBottom) splitter->SetTop(0);
    client->SetParent(&parent);
    client->SetAlign(alClient);
    splitter->OnMoved = [this](TObject*) { ++moved; };
  }
  // A drag on the splitter by (dx, dy), in its own coordinates.
  void Press(int x = 1, int y = 1) { splitter->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
  void Move(int x, int y) { splitter->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
  void Release(int x, int y) { splitter->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
  void Drag(int dx, int dy) {
    Press();
    Move(1 + dx, 1 + dy);
    Release(1 + dx, 1 + dy);
  }
};

}  // namespace

TEST(Splitter, ResizesTheNeighbourOnEverySide) {
  struct Case {
    TAlign side;
    int dx, dy, size;  // the drag, and the neighbour's size after it
    TCursor cursor;
  };
  // Towards the middle a right or bottom neighbour grows; its far edge stays.
  for (const Case& c : {Case{alLeft, 40, 0, 140, crHSplit}, Case{alTop, 0, -30, 70, crVSplit},
                        Case{alRight, -50, 0, 150, crHSplit}, Case{alBottom, 0, 20, 80, crVSplit}}) {
    SCOPED_TRACE(c.side);
    Docked d(c.side);
    EXPECT_EQ(d.splitter->GetCursor(), c.cursor);
    d.Drag(c.dx, c.dy);
    const bool across = c.side == alLeft || c.side == alRight;
    EXPECT_EQ(across ? d.neighbour->GetWidth() : d.neighbour->GetHeight(), c.size);
    const TRect r = d.neighbour->GetBoundsRect();
    if (c.side == alRight || c.side == alBottom) EXPECT_EQ(across ? r.Right : r.Bottom, across ? 400 : 300);
    EXPECT_EQ(d.moved, 1);
  }
}

TEST(Splitter, ClampsCollapsesAndAsks) {
  Docked d(alLeft);
  // Shrinking to 20 with MinSize 30: clamped to 30, which collapses.
  d.Drag(-80, 0);
  EXPECT_EQ(d.neighbour->GetWidth(), 0);
  // A collapsed neighbour is still found, and comes back.
  d.Drag(120, 0);
  EXPECT_EQ(d.neighbour->GetWidth(), 120);
  // Growing past the room left: the client keeps MinSize.
  d.Drag(1000, 0);
  EXPECT_EQ(d.neighbour->GetWidth(), 400 - 30 - 3);

  // A refused proposal leaves the line where it was.
  Docked v(alLeft);
  v.splitter->SetResizeStyle(rsLine);
  int asked = 0;
  v.splitter->OnCanResize = [&](TObject*, int& size, bool& accept) {
    ++asked;
    accept = size <= 150;
  };
  v.Press();
  v.Move(31, 1);
  EXPECT_EQ(v.splitter->GetProposedSize(), 130);
  v.Move(81, 1);  // 180: refused
  EXPECT_EQ(v.splitter->GetProposedSize(), 130);
  v.Release(81, 1);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(v.neighbour->GetWidth(), 130);

  // The handler may change the size it is asked about.
  Docked h(alLeft);
  h.splitter->OnCanResize = [](TObject*, int& size, bool&) { size = size / 10 * 10; };
  h.Drag(37, 0);
  EXPECT_EQ(h.neighbour->GetWidth(), 130);
}

TEST(Splitter, WithoutANeighbourPressesDoNothing) {
  TPanel parent(nullptr);
  parent.SetBounds(0, 0, 200, 100);
  auto* s = new TvxSplitter(&parent);
  s->SetParent(&parent);  // alone at the left edge
  const int left = s->GetLeft();
  s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  EXPECT_FALSE(s->IsSizing());
  s->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 1));
  s->Perform(WM_LBUTTONUP, 0, MAKELPARAM(30, 1));
  EXPECT_EQ(s->GetLeft(), left);
  // A hidden panel beside it does not count either.
  auto* hidden = new TPanel(&parent);
  hidden->SetParent(&parent);
  hidden->SetWidth(50);
  hidden->SetAlign(alLeft);
  hidden->SetVisible(false);
  s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  EXPECT_FALSE(s->IsSizing());
}

TEST(Splitter, TheDragLineIsDrawnOverTheParentAndEscapeCancels) {
  Docked d(alLeft);
  d.parent.show();
  d.neighbour->SetColor(clWhite);
  d.client->SetColor(clWhite);
  d.neighbour->SetBevelOuter(bvNone);
  d.client->SetBevelOuter(bvNone);
  d.splitter->SetColor(clWhite);
  auto darkColumns = [&] {
    TBitmap shot;
    d.parent.PaintTo(&shot);
    return vxtest::MatchingPixels(shot.GetCanvas(), 400, 300, [](TColor p) { return p == clBlack; });
  };
  d.Press();
  d.Move(51, 1);
  // A checker line of the splitter's width where the edge would go, over the client.
  const TRect line = darkColumns();
  EXPECT_EQ(line.Left, 150);
  EXPECT_EQ(line.Right, 153);
  EXPECT_LE(line.Top, 1);
  EXPECT_GE(line.Bottom, 299);
  EXPECT_EQ(d.neighbour->GetWidth(), 100);  // not yet

  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(&d.parent, &escape);
  EXPECT_FALSE(d.splitter->IsSizing());
  EXPECT_EQ(darkColumns().Left, -1);
  d.Release(51, 1);
  EXPECT_EQ(d.neighbour->GetWidth(), 100);
  EXPECT_EQ(d.moved, 0);

  // Updating as it goes.
  d.splitter->SetResizeStyle(rsUpdate);
  d.Press();
  d.Move(21, 1);
  EXPECT_EQ(d.neighbour->GetWidth(), 120);
  EXPECT_EQ(darkColumns().Left, -1);
  d.Release(21, 1);
  EXPECT_EQ(d.neighbour->GetWidth(), 120);
}

TEST(Splitter, DrawsBeveled) {
  Docked d(alLeft);
  d.splitter->SetWidth(6);
  d.splitter->SetColor(clWhite);
  d.splitter->SetBeveled(true);
  TBitmap shot;
  d.splitter->PaintTo(&shot);
  TCanvas* c = shot.GetCanvas();
  // A lit frame over columns 2..5 and a shaded one over 0..3, across the bar.
  const TColor lit = ColorToRGB(clBtnHighlight), shade = ColorToRGB(clBtnShadow);
  const TColor across[] = {shade, clWhite, lit, shade, clWhite, lit};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(c->GetPixel(x, 150), across[x]) << x;
}

TEST(XYSizer, FollowsTheMouseInsideTheMarginsAndReportsTheDrag) {
  TPanel parent(nullptr);
  parent.SetBounds(0, 0, 300, 200);
  auto* grip = new TXYSizer(&parent);
  grip->SetParent(&parent);
  grip->SetBounds(100, 100, 5, 5);
  std::vector<TPoint> reported;
  grip->OnResize = [&](TXYSizer*, TPoint p) { reported.push_back(p); };

  grip->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  grip->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(32, -18));
  EXPECT_EQ(grip->GetLeft(), 130);
  EXPECT_EQ(grip->GetTop(), 80);
  // Guides through the grip's grab point, across the parent.
  ASSERT_TRUE(grip->GetPanelX()->GetVisible());
  EXPECT_EQ(grip->GetPanelX()->GetBoundsRect(), Rect(5, 82, 295, 84));
  EXPECT_EQ(grip->GetPanelY()->GetBoundsRect(), Rect(132, 5, 134, 195));
  // Into the left margin (x = 3 in the parent): it stays.
  grip->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-127, 2));
  EXPECT_EQ(grip->GetLeft(), 130);
  // Close to the edge but outside the margin: it follows.
  grip->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-125, 2));
  EXPECT_EQ(grip->GetLeft(), 3);
  // Beyond the bottom margin: stays.
  grip->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 120));
  EXPECT_EQ(grip->GetTop(), 80);
  grip->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, 120));
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], Point(3 - 100, 80 - 100));
  EXPECT_FALSE(grip->GetPanelX()->GetVisible() || grip->GetPanelY()->GetVisible());

  // The grip is black.
  TBitmap shot;
  grip->PaintTo(&shot);
  EXPECT_EQ(vxtest::MatchingPixels(shot.GetCanvas(), 5, 5, [](TColor p) { return p == clBlack; }), Rect(0, 0, 5, 5));

  // Moves without the button, or without a press, do nothing.
  grip->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(40, 40));
  EXPECT_EQ(grip->GetLeft(), 3);
}

// A splitter made a tab stop moves by its keys as by a drag of that much,
// through real key events, and frames itself in the highlight colour while
// it has the focus.
TEST(Splitter, KeysMoveItAsADragWouldAndItsFocusShows) {
  struct Case {
    const char* name;
    TAlign side;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool refuse;
    int size;  // the neighbour's, after the key
    int moved;
  };
  const Case cases[] = {
      {"right grows a left neighbour", alLeft, Qt::Key_Right, Qt::NoModifier, false, 110, 1},
      {"Ctrl+Left by a pixel", alLeft, Qt::Key_Left, Qt::ControlModifier, false, 99, 1},
      {"arrows along the bar do nothing", alLeft, Qt::Key_Down, Qt::NoModifier, false, 100, 0},
      {"down shrinks a bottom neighbour", alBottom, Qt::Key_Down, Qt::NoModifier, false, 90, 1},
      {"up grows a bottom neighbour", alBottom, Qt::Key_Up, Qt::NoModifier, false, 110, 1},
      // As a refused drag's release does, OnMoved tells of the size kept.
      {"refused by OnCanResize", alLeft, Qt::Key_Right, Qt::NoModifier, true, 100, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Docked d(c.side);
    if (c.refuse) d.splitter->OnCanResize = [](TObject*, int&, bool& accept) { accept = false; };
    d.splitter->SetTabStop(true);
    vxtest::ShowWindow(&d.parent);
    d.splitter->SetFocus();
    vxtest::ProcessEventsUntilIdle();
    ASSERT_TRUE(d.splitter->Focused());
    vxtest::KeyClick(d.splitter, c.key, c.modifiers);
    const bool across = c.side == alLeft || c.side == alRight;
    EXPECT_EQ(across ? d.neighbour->GetWidth() : d.neighbour->GetHeight(), c.size);
    EXPECT_EQ(d.moved, c.moved);
    EXPECT_FALSE(d.splitter->IsSizing());
  }

  Docked d(alLeft);
  d.splitter->SetWidth(6);
  d.splitter->SetTabStop(true);
  vxtest::ShowWindow(&d.parent);
  const QColor highlight = [] {
    const TColor h = ColorToRGB(clHighlight);
    return QColor(GetRValue(h), GetGValue(h), GetBValue(h));
  }();
  const auto highlighted = [&] {
    d.splitter->Repaint();
    const QImage picture = d.splitter->grab().toImage();
    int hits = 0;
    for (int y = 0; y < picture.height(); ++y)
      if (picture.pixelColor(0, y).rgb() == highlight.rgb()) ++hits;
    return hits;
  };
  d.splitter->SetFocus();
  vxtest::ProcessEventsUntilIdle();
  EXPECT_GT(highlighted(), 10);
  d.client->SetTabStop(true);
  d.client->SetFocus();
  vxtest::ProcessEventsUntilIdle();
  ASSERT_FALSE(d.splitter->Focused());
  EXPECT_EQ(highlighted(), 0);
}
