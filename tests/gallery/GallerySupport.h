#pragma once

// A gallery page in a window of its own, as the gallery shows it, for tests
// that use the page as a user would: real Qt events through the event loop.
#include <QMainWindow>
#include <QTest>
#include <memory>
#include <string>

#include "Gallery.h"
#include "UiTestSupport.h"

namespace vxtest {

class GalleryWindow {
public:
  explicit GalleryWindow(const std::string& thePage, int theWidth = 1180, int theHeight = 640)
      : fWindow(std::make_unique<QMainWindow>()) {
    fPage = MakeGalleryPage(thePage);
    if (!fPage.widget) return;
    fWindow->setCentralWidget(fPage.widget);
    fWindow->resize(theWidth, theHeight);
    fWindow->show();
    fWindow->activateWindow();
    (void)QTest::qWaitForWindowExposed(fWindow.get());
    ProcessEventsUntilIdle();
  }
  ~GalleryWindow() {
    fWindow.reset();
    ProcessEventsUntilIdle();
  }
  GalleryWindow(const GalleryWindow&) = delete;
  GalleryWindow& operator=(const GalleryWindow&) = delete;

  GalleryPage& Page() { return fPage; }
  QMainWindow* Window() const { return fWindow.get(); }
  // The page's k-th component of type T; nil when it has none.
  template <class T>
  T* Component(size_t k = 0) const {
    size_t seen = 0;
    for (vx::TControl* c : fPage.components)
      if (auto* t = dynamic_cast<T*>(c); t && seen++ == k) return t;
    return nullptr;
  }

private:
  std::unique_ptr<QMainWindow> fWindow;
  GalleryPage fPage;
};

}  // namespace vxtest
