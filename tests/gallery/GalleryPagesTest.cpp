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

  const std::string pdf = testing::TempDir() + "gallery-" + GetParam() + ".pdf";
  if (w.Page().printPdf) {
    EXPECT_GT(w.Page().printPdf(pdf), 0);
  } else {
    auto dc = vx::TDeviceContext::CreatePdf(pdf, 210, 297, 150);
    ASSERT_TRUE(dc);
    w.Page().print(dc.get());
    dc->EndDoc();
  }
  EXPECT_GT(vxtest::CountPdfPages(pdf), 0);
  QFile::remove(QString::fromStdString(pdf));
}

INSTANTIATE_TEST_SUITE_P(Every, GalleryPages,
                         testing::Values("gantt", "ganttgrid", "bigplan", "schema", "grid", "scaler", "panels", "tree",
                                         "splitter"));

}  // namespace
