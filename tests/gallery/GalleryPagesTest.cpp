// Every gallery page opens in a window, paints, prints and closes cleanly.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "GallerySupport.h"

namespace {

class GalleryPages : public testing::TestWithParam<const char*> {};

TEST_P(GalleryPages, OpenPaintPrintClose) {
  vxtest::GalleryWindow w(GetParam());
  ASSERT_NE(w.Page().widget, nullptr) << GetParam();
  const QImage shot = w.Page().widget->grab().toImage();
  ASSERT_FALSE(shot.isNull());
  // Something is drawn: more than one colour over the page.
  const QRgb first = shot.pixel(shot.width() / 2, shot.height() / 2);
  bool varied = false;
  for (int y = 0; y < shot.height() && !varied; y += 7)
    for (int x = 0; x < shot.width() && !varied; x += 7) varied = shot.pixel(x, y) != first;
  EXPECT_TRUE(varied);

  // Export PDF…, and Print… / Print preview… (the same code onto a paged device).
  const std::string pdf = testing::TempDir() + "gallery-" + GetParam() + ".pdf";
  EXPECT_GT(ExportPdf(w.Page(), pdf), 0);
  EXPECT_GT(vxtest::CountPdfPages(pdf), 0);
  auto dc = vx::TDeviceContext::CreatePdf(pdf, 297, 210, 150);
  ASSERT_TRUE(dc);
  const int printed = PrintPage(w.Page(), dc.get());
  dc->EndDoc();
  EXPECT_GT(printed, 0);
  EXPECT_GE(vxtest::CountPdfPages(pdf), printed);
  QFile::remove(QString::fromStdString(pdf));
}

INSTANTIATE_TEST_SUITE_P(Every, GalleryPages,
                         testing::Values("gantt", "ganttgrid", "bigplan", "ganttfeatures", "schema", "schemafeatures",
                                         "grid", "columngrid", "scaler", "panels", "tree", "splitter"));

}  // namespace
