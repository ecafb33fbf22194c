#pragma once

#include <QTabWidget>
#include <functional>
#include <string>
#include <vector>

#include <vxplan/platform/ui/Controls.h>
#include <vxplan/platform/ui/DeviceContext.h>

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
  // Every page of the print-out onto a paged device (a printer, a print
  // preview, a PDF document) on its own paper; answers the pages. Pages
  // without it print through print, on one sheet.
  std::function<int(vx::TDeviceContext* theDC)> printPages;
};

// The page's print-out onto a paged device; answers the pages printed.
int PrintPage(const GalleryPage& thePage, vx::TDeviceContext* theDC);
// The page's print-out as a PDF file (A4 landscape unless the page knows
// better); answers the pages written, 0 when the file cannot be written.
int ExportPdf(const GalleryPage& thePage, const std::string& theFileName);
class QMainWindow;
// A File menu and a toolbar on theWindow: Print…, Print preview… and Export
// PDF… of the page theTabs shows.
void AddPrintActions(QMainWindow* theWindow, QTabWidget* theTabs, const std::vector<GalleryPage>* thePages);
// The gallery's look: Fusion with a light or a dark palette. The components
// follow the application's palette, so the switch repaints them all.
void ApplyGalleryPalette(bool theDark);
// A View menu on theWindow with a "Dark mode" switch.
void AddViewActions(QMainWindow* theWindow, bool theDark);
class QVBoxLayout;
class QString;
// Lays thePage out top down, its help text first (wrapped); answers the layout.
QVBoxLayout* PageWithHelp(QWidget* thePage, const QString& theHelp);
// The size the gallery's window opens at: at most 1280 x 800, and never more
// than the screen it opens on has room for.
QSize GalleryWindowSize(QWidget* theWindow);

// Every page, in the order the window shows them.
std::vector<GalleryPage> MakeGalleryPages();
// One page by its name; a page with an empty name when there is none.
GalleryPage MakeGalleryPage(const std::string& theName);
// The caption of the page's tab: the name unless the page has one of its own.
std::string GalleryPageCaption(const std::string& theName);

GalleryPage MakeScalerPage();
GalleryPage MakePanelsPage();
GalleryPage MakeTreePage();
GalleryPage MakeSplitterPage();
GalleryPage MakeGanttPage();
GalleryPage MakeGanttGridPage();
GalleryPage MakeBigPlanPage();
GalleryPage MakeGanttFeaturesPage();
GalleryPage MakeSchemaPage();
GalleryPage MakeSchemaFeaturesPage();

// Prints what theControl shows, at 150 dpi, half an inch from the page's corner.
void PrintBitmapOf(vx::TControl* theControl, vx::TDeviceContext* theDC);
GalleryPage MakeGridPage();
GalleryPage MakeColumnGridPage();
