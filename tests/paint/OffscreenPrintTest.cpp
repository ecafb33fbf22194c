#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <stdexcept>

#include "UiTestSupport.h"
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/platform/rtl/Math.h>

using namespace vx;

namespace {

// Paints its whole (possibly scaled) area red, with a blue 5 x 5 mark at the
// origin, and notes what it saw while painting.
class Printed : public TvxOffscreenPaint {
public:
  Printed() : TvxOffscreenPaint(nullptr) {
    SetBevelOuter(bvNone);
    SetBounds(7, 9, 100, 50);
  }
  bool fail = false;
  int widthSeen = 0;
  double scaleSeen = 0;
  bool printingSeen = false;
  TCanvas* canvasSeen = nullptr;
  int fontSizeSeen = 0;
  std::function<void()> during;

  void OffscreenPaint() override {
    TCanvas* c = GetOffscreenCanvas();
    widthSeen = GetWidth();
    scaleSeen = GetScalex();
    printingSeen = GetIsPrinting();
    canvasSeen = c;
    c->GetBrush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, GetWidth(), GetHeight()));
    c->GetBrush()->SetColor(clBlue);
    c->FillRect(Rect(0, 0, 5, 5));
    if (during) during();
    if (fail) throw std::runtime_error("print failed");
  }
};

TRect RedArea(TDeviceContext* dc) {
  TCanvas c;
  c.SetHandle(dc);
  return vxtest::MatchingPixels(&c, dc->Width(), dc->Height(), [](TColor p) { return p == clRed; });
}

}  // namespace

TEST(OffscreenPrint, PrintsAtTheOriginWithAndWithoutResize) {
  Printed p;
  auto dc = TDeviceContext::CreateImage(400, 300);
  p.Print(dc.get(), 20, 30, 2, 2, false);
  EXPECT_EQ(RedArea(dc.get()), Rect(20, 30, 120, 80));  // clipped to the unscaled size
  EXPECT_EQ(p.widthSeen, 100);
  EXPECT_TRUE(p.printingSeen && p.scaleSeen == 2.0);
  EXPECT_NE(p.canvasSeen, p.GetDrawBitmap()->GetCanvas());

  auto big = TDeviceContext::CreateImage(400, 300);
  p.Print(big.get(), 20, 30, 2, 2, true);
  EXPECT_EQ(p.widthSeen, 200);  // laid out at twice the size
  EXPECT_EQ(RedArea(big.get()), Rect(20, 30, 220, 130));
  // Everything is back as it was.
  EXPECT_EQ(p.GetBoundsRect(), Rect(7, 9, 107, 59));
  EXPECT_FALSE(p.GetIsPrinting());
  EXPECT_FALSE(p.GetAssignedPrintingCanvas());
  EXPECT_EQ(big->GetViewportOrg(), Point(0, 0));
  EXPECT_FALSE(big->HasClip());
  EXPECT_EQ(p.GetOffscreenCanvas(), p.GetDrawBitmap()->GetCanvas());
  EXPECT_EQ(p.GetScalex(), 1.0);

  // A scale of 0 reads as 1.
  auto zero = TDeviceContext::CreateImage(400, 300);
  p.Print(zero.get(), 0, 0, 0, 0, true);
  EXPECT_EQ(RedArea(zero.get()), Rect(0, 0, 100, 50));
}

TEST(OffscreenPrint, AFailureRestoresTheDeviceAndTheControl) {
  Printed p;
  p.fail = true;
  auto dc = TDeviceContext::CreateImage(400, 300);
  dc->SetViewportOrg(Point(3, 4));
  dc->SelectClipRect(Rect(0, 0, 300, 200));
  EXPECT_THROW(p.Print(dc.get(), 50, 60, 1.5, 1.5, true), std::runtime_error);
  EXPECT_EQ(dc->GetViewportOrg(), Point(3, 4));
  EXPECT_TRUE(dc->HasClip());
  EXPECT_EQ(dc->GetClipBox(), Rect(-3, -4, 297, 196));
  EXPECT_EQ(p.GetBoundsRect(), Rect(7, 9, 107, 59));
  EXPECT_FALSE(p.GetIsPrinting());
  EXPECT_FALSE(p.GetAssignedPrintingCanvas());

  // And the next print works.
  p.fail = false;
  auto next = TDeviceContext::CreateImage(400, 300);
  p.Print(next.get(), 50, 60, 1, 1, false);
  EXPECT_EQ(RedArea(next.get()), Rect(50, 60, 150, 110));
}

TEST(OffscreenPrint, PrinterFontsFollowTheScale) {
  Printed p;
  QTemporaryDir dir;
  auto dc = TDeviceContext::CreatePdf(dir.filePath("f.pdf").toStdString(), 210, 297, 300);
  ASSERT_NE(dc, nullptr);
  double fontScale = 0;
  p.during = [&] {
    TCanvas* c = p.GetOffscreenCanvas();
    fontScale = p.GetPrintFontscale();
    c->GetFont()->SetSize(10);
    p.PrintResizeFont();
    p.fontSizeSeen = c->GetFont()->GetSize();
  };
  p.Print(dc.get(), 0, 0, 2, 2, true);
  // At 300 dpi an 8 point "X" is far taller than 13 pixels: fonts shrink to screen pixels.
  EXPECT_GT(fontScale, 0.1);
  EXPECT_LT(fontScale, 0.5);
  EXPECT_EQ(p.fontSizeSeen, Round(10 * fontScale * 2));

  p.OnPrintResizeFont = [](TvxOffscreenPaint*, int& size, bool& defaultResize) {
    size = 20;
    defaultResize = false;
  };
  p.Print(dc.get(), 0, 0, 2, 2, true);
  EXPECT_EQ(p.fontSizeSeen, 20);

  // Outside a print nothing changes.
  p.GetDrawBitmap()->GetCanvas()->GetFont()->SetSize(9);
  p.PrintResizeFont();
  EXPECT_EQ(p.GetDrawBitmap()->GetCanvas()->GetFont()->GetSize(), 9);
}

TEST(OffscreenPrint, PrintsOntoAPdfPagePerCall) {
  QTemporaryDir dir;
  const QString path = dir.filePath("pages.pdf");
  Printed p;
  int beforeReset = 0;
  p.OnPrintBeforeResettingScale = [&](TObject*) { beforeReset = p.GetWidth(); };
  {
    auto dc = TDeviceContext::CreatePdf(path.toStdString(), 210, 297, 150);
    ASSERT_NE(dc, nullptr);
    p.Print(dc.get(), 100, 100, 3, 3, true);
    EXPECT_EQ(beforeReset, 300);
    ASSERT_TRUE(dc->NewPage());
    p.Print(dc.get(), 100, 100, 3, 3, true);
    dc->EndDoc();
  }
  EXPECT_EQ(vxtest::CountPdfPages(path.toStdString()), 2);
}

TEST(OffscreenPrint, APaintDuringAPrintDoesNotSwallowLaterInvalidations) {
  Printed p;
  TBitmap shot;
  p.PaintTo(&shot);
  const int base = p.GetUpdateRequestCount();
  p.BeginPrint();
  p.Invalidate();
  EXPECT_EQ(p.GetUpdateRequestCount(), base + 1);
  p.PaintTo(&shot);  // the platform paints while the print runs
  p.EndPrint();      // leaving the print invalidates, and must reach the platform
  EXPECT_EQ(p.GetUpdateRequestCount(), base + 2);
}
