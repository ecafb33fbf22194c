#pragma once

#include <QTabWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/DeviceContext.h"

// One page of the gallery: a Qt widget holding a component and its controls,
// and how the component prints.
struct GalleryPage {
  std::string name;
  QWidget* widget = nullptr;
  std::function<void(vx::TDeviceContext* theDC)> print;
  // A page that writes its own document (paper and page count of its
  // choosing) instead of print; answers the pages written.
  std::function<int(const std::string& thePdf)> printPdf;
  // Further pictures (menus, for one) written into the render directory.
  std::function<void(const std::string& theDir)> extra;
  // The page's components, for tests that drive the page as a user would.
  std::vector<vx::TControl*> components;
};

// Every page, in the order the window shows them.
std::vector<GalleryPage> MakeGalleryPages();
// One page by its name; a page with an empty name when there is none.
GalleryPage MakeGalleryPage(const std::string& theName);

GalleryPage MakeScalerPage();
GalleryPage MakePanelsPage();
GalleryPage MakeTreePage();
GalleryPage MakeSplitterPage();
GalleryPage MakeGanttPage();
GalleryPage MakeGanttGridPage();
GalleryPage MakeBigPlanPage();
GalleryPage MakeSchemaPage();

// Prints what theControl shows, at 150 dpi, half an inch from the page's corner.
void PrintBitmapOf(vx::TControl* theControl, vx::TDeviceContext* theDC);
GalleryPage MakeGridPage();
