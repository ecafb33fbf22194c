#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <cmath>

#include "UiTestSupport.h"
#include <vxplan/paint/vxGraphStuff.h>
#include <vxplan/platform/ui/ComCtrls.h>
#include <vxplan/platform/ui/Menus.h>

using namespace vx;

namespace {

constexpr double kMinute = 1.0 / 1440;
constexpr double kHour = 1.0 / 24;

TDateTime At(int day, int h, int m) { return EncodeDate(2024, 5, day) + EncodeTime(h, m, 0, 0); }

// A white picture to draw on.
struct Sheet {
  TBitmap b{100, 60};
  TCanvas* c = b.GetCanvas();
  Sheet() {
    c->GetBrush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 100, 60));
  }
  TRect Where(TColor colour) { return vxtest::MatchingPixels(c, 100, 60, [&](TColor p) { return p == colour; }); }
};

}  // namespace

TEST(Snap, StepsGrowWithTheScreenResolution) {
  TSnapHandler s;
  // A 15-minute step grows to the multiple nearest the screen's resolution.
  for (auto [resolution, step] : {std::pair{kHour, kHour}, {5 * kMinute, 15 * kMinute}, {50 * kMinute, 45 * kMinute}}) {
    s.fCurrentScreenResolution = resolution;
    EXPECT_NEAR(s.CalcScreenSnap(15 * kMinute), step, 1e-12) << resolution;
  }

  // Start and stop snap to their own steps, counted from midnight.
  s.fCurrentScreenResolution = 0;
  s.fStartSnapONOFF = s.fStopSnapONOFF = true;
  s.fStartSnap = 30 * kMinute;
  s.fStopSnap = kHour;
  TDateTime a = At(3, 8, 10), b = At(3, 10, 40);
  s.Snap(a, b);
  EXPECT_NEAR(a, At(3, 8, 0), 1e-9);
  EXPECT_NEAR(b, At(3, 11, 0), 1e-9);
  // A half goes to the even multiple.
  a = At(3, 8, 15);
  b = At(3, 9, 30);
  s.Snap(a, b);
  EXPECT_NEAR(a, At(3, 8, 0), 1e-9);
  EXPECT_NEAR(b, At(3, 10, 0), 1e-9);

  // A step that is no time snaps nothing (and never divides by zero).
  for (double bad : {0.0, -kHour, std::nan(""), HUGE_VAL}) {
    s.fStartSnap = s.fStopSnap = bad;
    a = At(3, 8, 10);
    b = At(3, 9, 10);
    s.Snap(a, b);
    EXPECT_EQ(a, At(3, 8, 10));
    EXPECT_EQ(b, At(3, 9, 10));
  }
}

TEST(Snap, MovesKeepTheLengthAndLongMovesKeepTheTimeOfDay) {
  TSnapHandler s;
  s.fStartSnapONOFF = true;
  s.fStartSnap = 30 * kMinute;
  // 08:10-09:10 moved by 3 days and 20 minutes.
  TDateTime a = At(1, 8, 10) + 3 + 20 * kMinute, b = At(1, 9, 10) + 3 + 20 * kMinute;
  s.SnapMove(a, b);
  EXPECT_NEAR(a, At(4, 8, 30), 1e-9);
  EXPECT_NEAR(b, At(4, 9, 30), 1e-9);
  // With the stop snapping on its own the length may change.
  s.fStopSnapONOFF = s.fStopSnapOnMoveONOFF = true;
  s.fStopSnap = kHour;
  a = At(1, 8, 40);
  b = At(1, 9, 20);
  s.SnapMove(a, b);
  EXPECT_NEAR(a, At(1, 8, 30), 1e-9);
  EXPECT_NEAR(b, At(1, 9, 0), 1e-9);

  // Moved by more than 12 hours (both ends, either way): by whole days.
  const TDateTime os = At(1, 8, 0), oe = At(1, 9, 0);
  struct Move {
    double start, stop, snapped;  // hours moved, and days after snapping (0: as moved)
  };
  for (const Move& m : {Move{11, 11, 0}, Move{13, 13, 1}, Move{-37, 2, 0}, Move{-37, -37, -2}}) {
    a = os + m.start * kHour;
    b = oe + m.stop * kHour;
    TSnapHandler::SnapMoveTo24HIfMoveOver12H(os, oe, a, b);
    EXPECT_NEAR(a, m.snapped ? os + m.snapped : os + m.start * kHour, 1e-12) << m.start;
    EXPECT_NEAR(b, m.snapped ? oe + m.snapped : oe + m.stop * kHour, 1e-12) << m.start;
  }
}

TEST(GStuff, TintsStayWithinTheirBytes) {
  EXPECT_EQ(GStuff::TintColor(RGB(100, 200, 50), 0.97), RGB(97, 194, 48));
  EXPECT_EQ(GStuff::TintColor(RGB(250, 10, 255), 1.031), RGB(255, 10, 255));  // no carry into the next byte
  EXPECT_EQ(GStuff::TintColor(RGB(1, 1, 0), 0.3), RGB(0, 0, 0));
  EXPECT_EQ(GStuff::TintColor(clBtnFace, 1.0), ColorToRGB(clBtnFace));  // system colours by their value
}

TEST(GStuff, RadiatedFillDarkensThenBrightens) {
  Sheet s;
  GStuff::FillRadiated(s.c, Rect(10, 5, 90, 55), RGB(40, 120, 200));
  auto blue = [&](int y) { return (s.c->GetPixel(50, y) >> 16) & 0xFF; };
  // One colour a row, across the whole width.
  EXPECT_EQ(s.c->GetPixel(10, 20), s.c->GetPixel(89, 20));
  EXPECT_EQ(s.c->GetPixel(9, 20), clWhite);
  EXPECT_EQ(s.c->GetPixel(90, 20), clWhite);
  // Darker down to two thirds, brighter below.
  EXPECT_GT(blue(5), blue(30));
  EXPECT_LT(blue(40), blue(54));
  EXPECT_LT(blue(38), blue(5));
  // Small rectangles are filled plainly.
  Sheet small;
  GStuff::FillRadiated(small.c, Rect(10, 10, 24, 24), RGB(40, 120, 200));
  EXPECT_EQ(small.Where(RGB(40, 120, 200)), Rect(10, 10, 24, 24));
}

TEST(GStuff, HandlesAndBevelsSitOnTheEdges) {
  Sheet s;
  GStuff::DoSelectContent(s.c, Rect(20, 10, 80, 50));
  EXPECT_EQ(s.Where(clBlack), Rect(20, 10, 80, 50));
  for (TPoint p : {Point(20, 10), Point(79, 10), Point(20, 49), Point(79, 49), Point(24, 14), Point(75, 45)})
    EXPECT_EQ(s.c->GetPixel(p.X, p.Y), clBlack) << p.X << "," << p.Y;
  for (TPoint p : {Point(25, 10), Point(20, 15), Point(50, 30), Point(74, 49)})
    EXPECT_EQ(s.c->GetPixel(p.X, p.Y), clWhite) << p.X << "," << p.Y;

  Sheet b;
  b.c->GetPen()->SetColor(clRed);
  GStuff::BevelRect(b.c, Rect(10, 10, 40, 30), true);
  const TColor lit = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  // Left, top, right, bottom and inside.
  const std::pair<TPoint, TColor> raised[] = {
      {Point(10, 20), lit},  {Point(25, 10), lit},       {Point(39, 20), dark},
      {Point(25, 29), dark}, {Point(25, 20), clWhite}};
  for (const auto& [p, colour] : raised) EXPECT_EQ(b.c->GetPixel(p.X, p.Y), colour) << p.X << "," << p.Y;
  EXPECT_EQ(b.c->GetPen()->GetColor(), clRed);  // given back
  GStuff::BevelRect(b.c, Rect(10, 10, 40, 30), false);
  EXPECT_EQ(b.c->GetPixel(10, 20), dark);
  EXPECT_EQ(b.c->GetPixel(39, 20), lit);
}

TEST(GStuff, FontsRectanglesAndPictures) {
  TFont f;
  f.SetName("DejaVu Sans");
  f.SetHeight(-13);
  f.SetStyle(TFontStyles{fsBold});
  GStuff::RotateFont(&f, 90);
  EXPECT_EQ(f.GetOrientation(), 900);
  EXPECT_EQ(f.GetHeight(), -13);  // the rest of the font stays

  for (auto [w, h] : {std::pair{10, 5}, {11, 5}, {10, 6}})
    EXPECT_EQ(GStuff::BigEnough(Rect(0, 0, 10, 5), w, h), w == 10 && h == 5) << w << "x" << h;
  EXPECT_EQ(GStuff::Fixrect(Rect(10, 10, 20, 20), -1, 2, 3, -4), Rect(9, 12, 23, 16));

  // A 2 x 2 picture stretched over 40 x 20.
  TBitmap picture(2, 2);
  picture.GetCanvas()->GetBrush()->SetColor(clRed);
  picture.GetCanvas()->FillRect(Rect(0, 0, 2, 2));
  Sheet s;
  GStuff::PrintBitmap(s.c, Rect(10, 10, 50, 30), &picture);
  EXPECT_EQ(s.Where(clRed), Rect(10, 10, 50, 30));

  TCustomImageList images(nullptr, 8, 8);
  TBitmap green(8, 8);
  green.GetCanvas()->GetBrush()->SetColor(clLime);
  green.GetCanvas()->FillRect(Rect(0, 0, 8, 8));
  images.Add(&green);
  Sheet t;
  GStuff::PrintBitmap_ImageList(t.c, Rect(60, 20, 76, 36), &images, 0);
  EXPECT_EQ(t.Where(clLime), Rect(60, 20, 76, 36));
  GStuff::PrintBitmap_ImageList(t.c, Rect(0, 0, 16, 16), &images, 5);  // no such image: nothing
  EXPECT_EQ(t.c->GetPixel(5, 5), clWhite);
}

TEST(GStuff, UserOptionsReturnTheIndexPicked) {
  TPopupMenu popup(nullptr);
  int clicked = -1;
  GStuff::CreateMenuOptions(
      &popup, {"One", "Two"}, [&](TObject* s) { clicked = static_cast<int>(static_cast<TMenuItem*>(s)->GetTag()); }, 1,
      true);
  TMenuItem* items = popup.GetItems();
  ASSERT_EQ(items->Count(), 4);
  EXPECT_TRUE(items->GetItem(1)->GetDefault());
  EXPECT_FALSE(items->GetItem(0)->GetDefault());
  EXPECT_TRUE(items->GetItem(2)->IsSeparator());
  EXPECT_EQ(items->GetItem(3)->GetCaption(), "Avbryt");
  items->GetItem(1)->Click();
  EXPECT_EQ(clicked, 1);
  // The entry's own OnClick is the application's: heard too, the pick kept.
  int heard = 0;
  items->GetItem(0)->OnClick = [&](TObject*) { ++heard; };
  items->GetItem(0)->Click();
  EXPECT_EQ(std::make_pair(clicked, heard), std::make_pair(0, 1));

  // The modal menu: the test chooses from the open menu by the event loop.
  auto choose = [](const QString& caption) {
    QTimer::singleShot(50, [caption] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      for (QAction* a : menu->actions())
        if (a->text() == caption) {
          menu->setActiveAction(a);
          a->trigger();
          menu->close();
          return;
        }
    });
  };
  const std::vector<std::string> options{"Red", "Green", "Blue"};
  TPanel owner(nullptr);
  owner.SetBounds(0, 0, 100, 100);
  owner.show();
  // Without an owner too; the cancel entry answers -1.
  const std::tuple<const char*, TPanel*, int> picks[] = {
      {"Green", &owner, 1}, {"Red", nullptr, 0}, {"Avbryt", &owner, -1}};
  for (const auto& [caption, on, index] : picks) {
    choose(caption);
    EXPECT_EQ(GStuff::UserOptionStrings(on, 10, 10, options, 0), index) << caption;
  }
  choose("Blue");
  EXPECT_EQ(GStuff::UserOption(&owner, 10, 10, {"Red", "Green", "Blue"}, 0), 2);
  // Dismissed without a choice.
  QTimer::singleShot(50, [] {
    if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
  });
  EXPECT_EQ(GStuff::UserOptionStrings(&owner, 10, 10, options, 0), -1);
}
