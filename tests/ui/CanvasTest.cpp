#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>

#include "UiTestSupport.h"
#include <vxplan/platform/ui/DeviceContext.h>
#include <vxplan/platform/ui/Graphics.h>

using namespace vx;

namespace {

struct Probe {
  int x, y;
  TColor colour;
};

// Bounding box of the pixels that are not white; Left = -1 when none.
TRect InkOf(TCanvas* c, int theWidth, int theHeight) {
  return vxtest::MatchingPixels(c, theWidth, theHeight, [](TColor p) { return p != clWhite; });
}

// A white bitmap and a canvas with a black 1-pixel pen and a clear brush.
struct Surface {
  TBitmap bmp{40, 30};
  TCanvas* c = bmp.GetCanvas();
  Surface() {
    c->GetPen()->SetColor(clBlack);
    c->GetBrush()->SetStyle(bsClear);
  }
  TColor At(int x, int y) { return c->GetPixel(x, y); }
  TRect Inked() { return InkOf(c, bmp.GetWidth(), bmp.GetHeight()); }
  void Expect(std::initializer_list<Probe> theProbes) {
    for (const Probe& p : theProbes) EXPECT_EQ(At(p.x, p.y), p.colour) << p.x << "," << p.y;
  }
};

}  // namespace

TEST(Canvas, ShapesKeepToTheirPixels) {
  Surface s;
  s.c->GetBrush()->SetColor(clRed);
  s.c->FillRect(Rect(2, 3, 6, 5));  // right and bottom edges excluded
  EXPECT_EQ(s.Inked(), Rect(2, 3, 6, 5));
  s.Expect({{2, 3, clRed}});

  Surface r;
  r.c->GetBrush()->SetColor(clLime);
  r.c->Rectangle(5, 5, 15, 10);
  EXPECT_EQ(r.Inked(), Rect(5, 5, 15, 10));
  r.Expect({{5, 5, clBlack}, {14, 9, clBlack}, {10, 7, clLime}});

  Surface l;
  l.c->MoveTo(3, 4);
  l.c->LineTo(13, 4);  // the end point stays undrawn
  l.c->LineTo(13, 14);
  EXPECT_EQ(l.Inked(), Rect(3, 4, 14, 14));
  // (13, 4) is drawn as the start of the second line.
  l.Expect({{12, 4, clBlack}, {13, 4, clBlack}, {13, 14, clWhite}});
  EXPECT_EQ(l.c->GetPenPos(), Point(13, 14));
  // Whatever the direction, the start is drawn and the end is not.
  l.c->MoveTo(30, 14);
  l.c->LineTo(30, 4);
  l.c->MoveTo(39, 20);
  l.c->LineTo(29, 20);
  l.Expect({{30, 14, clBlack}, {30, 5, clBlack}, {30, 4, clWhite}, {39, 20, clBlack}, {29, 20, clWhite}});

  Surface f;
  f.c->GetBrush()->SetColor(clBlue);
  f.c->FrameRect(Rect(1, 1, 8, 6));
  EXPECT_EQ(f.Inked(), Rect(1, 1, 8, 6));
  f.Expect({{7, 5, clBlue}, {4, 3, clWhite}});

  Surface p;
  p.c->GetBrush()->SetColor(clYellow);
  const TPoint tri[] = {Point(10, 2), Point(20, 12), Point(0, 12)};
  p.c->Polygon(tri);
  p.Expect({{10, 9, clYellow}, {1, 3, clWhite}});
}

TEST(Canvas, InvertingModesUndoThemselves) {
  Surface s;
  s.c->GetBrush()->SetColor(clNavy);
  s.c->FillRect(Rect(0, 0, 20, 20));
  s.c->GetPen()->SetMode(pmXor);
  s.c->GetPen()->SetColor(clWhite);
  s.c->MoveTo(0, 10);
  s.c->LineTo(30, 10);
  s.Expect({{5, 10, RGB(0xFF, 0xFF, 0x7F)}, {25, 10, clBlack}});  // navy xor white, white xor white
  s.c->MoveTo(0, 10);
  s.c->LineTo(30, 10);
  s.Expect({{5, 10, clNavy}, {25, 10, clWhite}});

  s.c->GetPen()->SetMode(pmNot);
  s.c->MoveTo(0, 3);
  s.c->LineTo(5, 3);
  EXPECT_EQ(s.At(2, 3), RGB(0xFF, 0xFF, 0x7F));
  s.c->GetPen()->SetMode(pmCopy);

  Surface f;
  f.c->DrawFocusRect(Rect(2, 2, 12, 9));
  f.Expect({{2, 2, clBlack}, {3, 2, clWhite}});  // dotted
  EXPECT_EQ(f.Inked(), Rect(2, 2, 12, 9));
  f.c->DrawFocusRect(Rect(2, 2, 12, 9));
  EXPECT_EQ(f.Inked().Left, -1);
}

TEST(Canvas, TextLandsWhereItIsPut) {
  TBitmap bmp(200, 80);
  TCanvas* c = bmp.GetCanvas();
  c->GetFont()->SetSize(12);
  c->GetFont()->SetColor(clBlack);
  c->GetBrush()->SetStyle(bsClear);
  const int w = c->TextWidth("Gantt"), h = c->TextHeight("Gantt");
  EXPECT_GT(w, 20);
  EXPECT_GT(h, 10);
  c->TextOut(30, 20, "Gantt");
  const TRect ink = InkOf(c, 200, 80);
  EXPECT_GT(ink.Width() * ink.Height(), 20);
  EXPECT_TRUE(ink.Left >= 30 && ink.Right <= 30 + w && ink.Top >= 20 && ink.Bottom <= 20 + h);

  // An opaque brush fills the text cell behind the letters.
  c->GetBrush()->SetColor(clYellow);
  c->TextOut(100, 50, "ab");
  EXPECT_EQ(c->GetPixel(100, 50), clYellow);

  // Rotated by 90 degrees the text runs upwards from its point.
  TBitmap up(80, 120);
  TCanvas* u = up.GetCanvas();
  u->GetFont()->SetSize(12);
  u->GetFont()->SetOrientation(900);
  u->GetBrush()->SetStyle(bsClear);
  u->TextOut(20, 100, "Gantt");
  const TRect upInk = InkOf(u, 80, 120);
  EXPECT_LT(upInk.Top, 100 - 20);
  EXPECT_LE(upInk.Bottom, 100);

  // DrawText: calculating a rectangle draws nothing; centring centres.
  TBitmap d(200, 40);
  TCanvas* dc = d.GetCanvas();
  dc->GetBrush()->SetStyle(bsClear);
  TRect calc = Rect(0, 0, 0, 0);
  const int calcHeight = dc->DrawText("Hello", calc, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(calc.Width(), dc->TextWidth("Hello"));
  EXPECT_EQ(calcHeight, calc.Height());
  TRect wrap = Rect(0, 0, 40, 0);
  dc->DrawText("one two three four", wrap, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_GT(wrap.Height(), 2 * dc->TextHeight("X") - 1);
  TRect area = Rect(0, 0, 200, 40);
  dc->DrawText("Hello", area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  const TRect centred = InkOf(dc, 200, 40);
  EXPECT_NEAR((centred.Left + centred.Right - 1) / 2.0, 100.0, 3.0);
}

TEST(Canvas, ViewportOriginAndClipComeFromTheDevice) {
  Surface s;
  HDC dc = s.c->GetHandle();
  ASSERT_NE(dc, nullptr);
  s.c->GetBrush()->SetColor(clRed);
  TPoint old = dc->SetViewportOrg(Point(10, 5));
  EXPECT_EQ(old, Point(0, 0));
  s.c->FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(s.At(0, 0), clRed);  // pixels are read in logical coordinates too
  dc->SetViewportOrg(Point(0, 0));
  EXPECT_EQ(s.Inked(), Rect(10, 5, 12, 7));

  dc->SelectClipRect(Rect(20, 0, 25, 30));
  s.c->GetBrush()->SetColor(clBlue);
  s.c->FillRect(Rect(0, 10, 40, 12));
  s.Expect({{19, 10, clWhite}, {20, 10, clBlue}, {25, 10, clWhite}});
  EXPECT_EQ(s.c->GetClipRect(), Rect(20, 0, 25, 30));
  dc->RemoveClip();
  s.c->FillRect(Rect(0, 20, 40, 21));
  EXPECT_EQ(s.At(0, 20), clBlue);

  // Resizing keeps the picture and the device state.
  s.bmp.SetSize(60, 40);
  s.Expect({{20, 10, clBlue}, {59, 39, clWhite}});
}

// System colours resolve; a font keeps its points on another device; a
// pattern keeps its place over fills wider than its tile.
TEST(Canvas, ColoursFontsAndPatterns) {
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack);  // unknown system colour

  TFont f;
  f.SetSize(10);
  TFont printer;
  printer.SetPixelsPerInch(300);
  printer.Assign(f);  // keeps the size in points
  EXPECT_EQ(printer.GetSize(), 10);
  EXPECT_LT(printer.GetHeight(), -40);

  // A 3 x 1 pattern over a fill wider than the tile the canvas repeats it to.
  TBitmap pattern(3, 1);
  pattern.GetCanvas()->SetPixel(0, 0, clRed);
  pattern.GetCanvas()->SetPixel(1, 0, clBlue);
  pattern.GetCanvas()->SetPixel(2, 0, clLime);
  Surface s;
  s.bmp.SetSize(150, 70);
  s.c->GetBrush()->SetStyle(bsSolid);
  s.c->GetBrush()->SetBitmap(&pattern);
  s.c->FillRect(Rect(0, 0, 150, 70));
  const TColor expected[] = {clRed, clBlue, clLime};
  for (int x : {0, 1, 2, 64, 65, 66, 100, 149})
    for (int y : {0, 1, 63, 64, 69}) EXPECT_EQ(s.At(x, y), expected[x % 3]) << x << "," << y;
  // A change of the pattern shows in the next fill.
  pattern.GetCanvas()->SetPixel(1, 0, clYellow);
  s.c->GetBrush()->SetBitmap(&pattern);
  s.c->FillRect(Rect(0, 0, 150, 70));
  s.Expect({{100, 30, clYellow}, {99, 30, clRed}});
}

// Plain fills, lines and labels take shortcuts on an unclipped picture; a
// clip (even one covering everything) sends them through the painter. Both
// must give the same pixels, including with the viewport moved and at the
// picture's edges.
TEST(Canvas, ShortcutsDrawWhatThePainterDraws) {
  auto scene = [](TCanvas* c) {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(clRed);
    c->FillRect(Rect(-5, 3, 12, 9));
    c->GetBrush()->SetColor(clNavy);
    c->FrameRect(Rect(20, 2, 35, 14));
    c->FrameRect(Rect(50, 1, 51, 3));  // one pixel wide
    c->GetPen()->SetColor(clGreen);
    const TPoint from[] = {Point(10, 20), Point(30, 20), Point(50, 40), Point(70, 40), Point(58, 2)};
    for (const TPoint& f : from)
      for (int len : {1, 2, 3, 7}) {
        for (int sx : {-1, 1})
          for (int sy : {-1, 1}) {
            c->MoveTo(f.X, f.Y);
            c->LineTo(f.X + sx * len, f.Y + sy * len);
          }
        c->MoveTo(f.X, f.Y + 9);
        c->LineTo(f.X + len, f.Y + 9);
        c->MoveTo(f.X - 2, f.Y);
        c->LineTo(f.X - 2, f.Y - len);
      }
    c->MoveTo(55, 47);
    c->LineTo(62, 54);  // runs off the picture
    // Patterned fills keep their tile anchored at the painter's origin.
    static TBitmap tile(3, 2);
    tile.GetCanvas()->SetPixel(0, 0, clYellow);
    tile.GetCanvas()->SetPixel(2, 1, clPurple);
    c->GetBrush()->SetBitmap(&tile);
    c->FillRect(Rect(-4, 30, 17, 37));
    c->FillRect(Rect(40, 44, 70, 60));
    c->GetBrush()->SetBitmap(nullptr);
  };
  TBitmap fast(60, 50), slow(60, 50);
  for (TBitmap* b : {&fast, &slow}) b->GetCanvas()->GetHandle()->SetViewportOrg(Point(3, -1));
  scene(fast.GetCanvas());
  slow.GetCanvas()->GetHandle()->SelectClipRect(Rect(-10, -10, 100, 100));
  scene(slow.GetCanvas());
  slow.GetCanvas()->GetHandle()->RemoveClip();
  int differing = 0, inked = 0;
  for (int y = -1; y < 51; ++y)
    for (int x = -3; x < 57; ++x) {
      const TColor a = fast.GetCanvas()->GetPixel(x, y);
      if (a != slow.GetCanvas()->GetPixel(x, y)) ++differing;
      if (a != clWhite && a != clNone) ++inked;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(inked, 200);

  // A clipped label shows only inside its clip, and the same letters as the
  // unclipped one there, in the font's colour.
  TBitmap whole(120, 30), cut(120, 30);
  for (TBitmap* b : {&whole, &cut}) {
    b->GetCanvas()->GetFont()->SetSize(12);
    b->GetCanvas()->GetFont()->SetColor(clMaroon);
    b->GetCanvas()->GetBrush()->SetStyle(bsClear);
  }
  whole.GetCanvas()->TextOut(10, 5, "Wagon");
  cut.GetCanvas()->TextOutClipped(Rect(20, 0, 40, 30), 10, 5, "Wagon");
  int shown = 0, leaked = 0, wrong = 0, maroon = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) {
      const TColor p = cut.GetCanvas()->GetPixel(x, y);
      if (x < 20 || x >= 40) {
        if (p != clWhite) ++leaked;
      } else {
        if (p != clWhite) ++shown;
        if (p != whole.GetCanvas()->GetPixel(x, y)) ++wrong;
        if (p == clMaroon) ++maroon;
      }
    }
  EXPECT_GT(shown, 10);
  EXPECT_GT(maroon, 0);
  EXPECT_EQ(leaked, 0);
  EXPECT_EQ(wrong, 0);

  // A label drawn again comes from a picture of it: the pixels of the letters
  // drawn the first time, but for rounding at the softened edges.
  TBitmap twice(120, 60);
  TCanvas* c = twice.GetCanvas();
  c->GetFont()->SetSize(11);
  c->GetFont()->SetStyle(TFontStyles{fsItalic});
  c->GetFont()->SetColor(clNavy);
  c->GetBrush()->SetStyle(bsClear);
  c->TextOut(4, 4, "Jiffy");
  c->TextOut(4, 32, "Jiffy");
  int inkedOnce = 0, unlike = 0;
  for (int y = 0; y < 28; ++y)
    for (int x = 0; x < 120; ++x) {
      const TColor p = c->GetPixel(x, y);
      if (p != clWhite) ++inkedOnce;
      const TColor q = c->GetPixel(x, y + 28);
      for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF)) > 2) ++unlike;
    }
  EXPECT_GT(inkedOnce, 10);
  EXPECT_EQ(unlike, 0);
}

TEST(DeviceContext, PdfPagesAtTheirResolution) {
  QTemporaryDir dir;
  const QString path = dir.filePath("two.pdf");
  {
    std::unique_ptr<TDeviceContext> dc = TDeviceContext::CreatePdf(path.toStdString(), 210, 297, 300);
    ASSERT_NE(dc, nullptr);
    EXPECT_TRUE(dc->IsPrinter());
    EXPECT_NEAR(dc->GetDeviceCaps(HORZRES), 2480, 2);  // 210 mm at 300 dpi
    TCanvas canvas;
    canvas.SetHandle(dc.get());
    canvas.GetFont()->SetSize(10);
    EXPECT_EQ(canvas.GetFont()->GetHeight(), -42);  // 10 pt at 300 dpi
    canvas.TextOut(100, 100, "page one");
    EXPECT_GT(dc->GetTextMetrics().tmHeight, 30);
    EXPECT_TRUE(dc->NewPage());
    canvas.TextOut(100, 100, "page two");
    EXPECT_EQ(dc->PageCount(), 2);
    dc->EndDoc();
    EXPECT_FALSE(dc->NewPage());
  }
  EXPECT_EQ(vxtest::CountPdfPages(path.toStdString()), 2);
  EXPECT_EQ(TDeviceContext::CreatePdf("/nonexistent-dir/x.pdf"), nullptr);
}

TEST(DeviceContext, OriginAndClipStateOfAnImage) {
  std::unique_ptr<TDeviceContext> dc = TDeviceContext::CreateImage(50, 40);
  EXPECT_EQ(dc->GetClipBox(), Rect(0, 0, 50, 40));
  dc->SetViewportOrg(Point(10, 10));
  EXPECT_EQ(dc->GetClipBox(), Rect(-10, -10, 40, 30));
  dc->IntersectClipRect(Rect(0, 0, 20, 20));  // logical
  EXPECT_TRUE(dc->HasClip());
  EXPECT_EQ(dc->GetClipBox(), Rect(0, 0, 20, 20));
  dc->IntersectClipRect(Rect(10, -5, 30, 15));
  EXPECT_EQ(dc->GetClipBox(), Rect(10, 0, 20, 15));
  TCanvas c;
  c.SetHandle(dc.get());
  c.GetBrush()->SetColor(clRed);
  c.FillRect(Rect(-10, -10, 40, 30));
  // Red exactly in the clip, which is logical.
  EXPECT_EQ(vxtest::MatchingPixels(&c, 40, 30, [](TColor p) { return p == clRed; }), Rect(10, 0, 20, 15));
  dc->RemoveClip();
  EXPECT_FALSE(dc->HasClip());
  QTemporaryDir dir;
  EXPECT_TRUE(dc->SaveToFile(dir.filePath("x.png").toStdString()));
}
