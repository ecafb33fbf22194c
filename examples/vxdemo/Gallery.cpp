// The gallery's pages, as a library that the window and the tests share.
#include "Gallery.h"

#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <algorithm>

#include <vxplan/platform/ui/Graphics.h>

void PrintBitmapOf(vx::TControl* theControl, vx::TDeviceContext* dc) {
  vx::TBitmap shot;
  theControl->PaintTo(&shot);
  const int ppi = dc->PixelsPerInch();
  const int w = shot.GetWidth() * ppi / 150, h = shot.GetHeight() * ppi / 150;
  vx::TCanvas c;
  c.SetHandle(dc);
  c.StretchDraw(vx::Rect(ppi / 2, ppi / 2, ppi / 2 + w, ppi / 2 + h), &shot);
  c.SetHandle(nullptr);
}

namespace {

struct PageMaker {
  const char* name;
  GalleryPage (*make)();
};

const PageMaker kPages[] = {{"gantt", MakeGanttPage},   {"ganttgrid", MakeGanttGridPage}, {"bigplan", MakeBigPlanPage},
                            {"schema", MakeSchemaPage}, {"grid", MakeGridPage},           {"scaler", MakeScalerPage},
                            {"panels", MakePanelsPage}, {"tree", MakeTreePage},           {"splitter", MakeSplitterPage}};

}  // namespace

std::vector<GalleryPage> MakeGalleryPages() {
  std::vector<GalleryPage> pages;
  for (const PageMaker& p : kPages) pages.push_back(p.make());
  return pages;
}

GalleryPage MakeGalleryPage(const std::string& theName) {
  for (const PageMaker& p : kPages)
    if (theName == p.name) return p.make();
  return {};
}

int PrintPage(const GalleryPage& thePage, vx::TDeviceContext* theDC) {
  if (!theDC) return 0;
  if (thePage.printPages) return thePage.printPages(theDC);
  if (!thePage.print) return 0;
  thePage.print(theDC);
  return 1;
}

int ExportPdf(const GalleryPage& thePage, const std::string& theFileName) {
  if (thePage.printPdf) return thePage.printPdf(theFileName);
  auto dc = thePage.printPages ? vx::TDeviceContext::CreatePdf(theFileName, 297, 210, 300)
                               : vx::TDeviceContext::CreatePdf(theFileName, 210, 297, 300);
  if (!dc) return 0;
  const int pages = PrintPage(thePage, dc.get());
  dc->EndDoc();
  return pages;
}

void AddPrintActions(QMainWindow* theWindow, QTabWidget* theTabs, const std::vector<GalleryPage>* thePages) {
  auto current = [theTabs, thePages]() -> const GalleryPage* {
    const int k = theTabs->currentIndex();
    return k >= 0 && k < static_cast<int>(thePages->size()) ? &(*thePages)[static_cast<size_t>(k)] : nullptr;
  };
  auto* print = new QAction(QObject::tr("&Print…"), theWindow);
  print->setShortcut(QKeySequence::Print);
  QObject::connect(print, &QAction::triggered, theWindow, [current] {
    const GalleryPage* page = current();
    if (!page) return;
    // The platform's print dialog, then the component's page-by-page printer.
    auto dc = vx::TDeviceContext::CreatePrinter(297, 210, true);
    if (!dc) return;
    PrintPage(*page, dc.get());
    dc->EndDoc();
  });
  auto* preview = new QAction(QObject::tr("Print pre&view…"), theWindow);
  QObject::connect(preview, &QAction::triggered, theWindow, [theWindow, current] {
    const GalleryPage* page = current();
    if (!page) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFullPage(true);
    QPrintPreviewDialog dialog(&printer, theWindow);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [page](QPrinter* p) {
      if (auto dc = vx::TDeviceContext::ForPrinter(p)) {
        PrintPage(*page, dc.get());
        dc->EndDoc();
      }
    });
    dialog.exec();
  });
  auto* exportPdf = new QAction(QObject::tr("&Export PDF…"), theWindow);
  QObject::connect(exportPdf, &QAction::triggered, theWindow, [theWindow, current] {
    const GalleryPage* page = current();
    if (!page) return;
    const QString file = QFileDialog::getSaveFileName(theWindow, QObject::tr("Export PDF"),
                                                      QString::fromStdString(page->name + ".pdf"),
                                                      QObject::tr("PDF documents (*.pdf)"));
    if (file.isEmpty()) return;
    if (ExportPdf(*page, file.toStdString()) == 0)
      QMessageBox::warning(theWindow, QObject::tr("Export PDF"), QObject::tr("The file could not be written."));
  });
  // Pages that print nothing have the actions greyed.
  auto follow = [current, print, preview, exportPdf] {
    const GalleryPage* page = current();
    const bool prints = page && (page->print || page->printPages || page->printPdf);
    for (QAction* a : {print, preview, exportPdf}) a->setEnabled(prints);
  };
  QObject::connect(theTabs, &QTabWidget::currentChanged, theWindow, follow);
  follow();
  QMenu* file = theWindow->menuBar()->addMenu(QObject::tr("&File"));
  file->addActions({print, preview, exportPdf});
  auto* bar = theWindow->addToolBar(QObject::tr("Print"));
  bar->setMovable(false);
  bar->addActions({print, preview, exportPdf});
}

QSize GalleryWindowSize(QWidget* theWindow) {
  QScreen* screen = theWindow && theWindow->screen() ? theWindow->screen() : QGuiApplication::primaryScreen();
  const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
  return QSize(std::min(1280, room.width()), std::min(800, room.height()));
}
