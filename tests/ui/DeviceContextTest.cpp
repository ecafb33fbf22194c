#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "UiTestSupport.h"
#include <vxplan/platform/ui/DeviceContext.h>
#include <vxplan/platform/ui/Graphics.h>

using namespace vx;


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
