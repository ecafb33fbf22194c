// The gallery: every component of the library on a page of its own.
//
//   vxdemo                 a window, when there is a display
//   vxdemo --render DIR    renders each page to DIR/<page>.png and prints it
//                          to DIR/<page>.pdf, then exits (also the choice
//                          when there is no display; DIR defaults to out)
//   vxdemo --dark          the gallery in a dark palette (with --render too:
//                          the pictures are dark, the PDFs print light)
//   vxdemo --page NAME     opens the window on that page
//   vxdemo --screenshot FILE SECONDS
//                          saves the whole screen to FILE after SECONDS and
//                          exits (for trying the window under a virtual display)
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QTabWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Gallery.h"
#include <vxplan/platform/ui/Forms.h>

namespace {

bool HasDisplay() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

int Render(QTabWidget& tabs, std::vector<GalleryPage>& pages, const std::string& dir) {
  QDir().mkpath(QString::fromStdString(dir));
  int failures = 0;
  for (size_t k = 0; k < pages.size(); ++k) {
    tabs.setCurrentIndex(static_cast<int>(k));
    vx::Application()->ProcessMessages();
    vx::Application()->ProcessMessages();
    const std::string png = dir + "/" + pages[k].name + ".png";
    if (pages[k].widget->grab().save(QString::fromStdString(png))) {
      std::printf("wrote %s\n", png.c_str());
    } else {
      std::printf("could not write %s\n", png.c_str());
      ++failures;
    }
    if (pages[k].extra) pages[k].extra(dir);
    const std::string pdf = dir + "/" + pages[k].name + ".pdf";
    if (pages[k].printPdf) {
      const int written = pages[k].printPdf(pdf);
      std::printf(written > 0 ? "wrote %s (%d pages)\n" : "could not write %s\n", pdf.c_str(), written);
      failures += written > 0 ? 0 : 1;
      continue;
    }
    auto dc = vx::TDeviceContext::CreatePdf(pdf, 210, 297, 300);
    if (!dc) {
      std::printf("could not write %s\n", pdf.c_str());
      ++failures;
      continue;
    }
    pages[k].print(dc.get());
    dc->EndDoc();
    std::printf("wrote %s (%d page%s)\n", pdf.c_str(), dc->PageCount(), dc->PageCount() == 1 ? "" : "s");
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string renderDir, startPage, screenshot;
  double screenshotAfter = 0;
  bool render = false, dark = false;
  for (int k = 1; k < argc; ++k) {
    if (std::strcmp(argv[k], "--render") == 0) {
      render = true;
      if (k + 1 < argc) renderDir = argv[++k];
    } else if (std::strcmp(argv[k], "--dark") == 0) {
      dark = true;
    } else if (std::strcmp(argv[k], "--page") == 0 && k + 1 < argc) {
      startPage = argv[++k];
    } else if (std::strcmp(argv[k], "--screenshot") == 0 && k + 2 < argc) {
      screenshot = argv[++k];
      screenshotAfter = std::atof(argv[++k]);
    }
  }
  if (!HasDisplay()) render = true;
  if (renderDir.empty()) renderDir = "out";
  if (render && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vxplan gallery"));
  ApplyGalleryPalette(dark);
  QMainWindow window;
  auto* tabs = new QTabWidget;
  std::vector<GalleryPage> pages = MakeGalleryPages();
  for (const GalleryPage& page : pages)
    tabs->addTab(page.widget, QString::fromStdString(GalleryPageCaption(page.name)));
  window.setCentralWidget(tabs);
  AddPrintActions(&window, tabs, &pages);
  AddViewActions(&window, dark);
  window.resize(GalleryWindowSize(&window));
  window.setWindowTitle(QStringLiteral("vxplan gallery"));
  for (size_t k = 0; k < pages.size(); ++k)
    if (pages[k].name == startPage) tabs->setCurrentIndex(static_cast<int>(k));
  window.show();
  if (render) return Render(*tabs, pages, renderDir);
  if (!screenshot.empty()) {
    QTimer::singleShot(static_cast<int>(screenshotAfter * 1000), [&] {
      const bool saved = QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(screenshot));
      std::printf("%s %s\n", saved ? "wrote" : "could not write", screenshot.c_str());
      QApplication::quit();
    });
  }
  return app.exec();
}
