// The gallery's pages, as a library that the window and the tests share.
#include "Gallery.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include <vxplan/platform/ui/Graphics.h>

void PrintBitmapOf(vx::TControl* theControl, vx::TDeviceContext* dc) {
  vx::TBitmap shot;
  {
    vx::TSystemColorsScope paper(vx::LightSystemColors());  // printed light whatever the screen
    theControl->PaintTo(&shot);
  }
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
  const char* caption = nullptr;
};

const PageMaker kPages[] = {{"gantt", MakeGanttPage},
                            {"ganttgrid", MakeGanttGridPage},
                            {"bigplan", MakeBigPlanPage},
                            {"ganttfeatures", MakeGanttFeaturesPage},
                            {"schema", MakeSchemaPage},
                            {"schemafeatures", MakeSchemaFeaturesPage},
                            {"grid", MakeGridPage},
                            {"columngrid", MakeColumnGridPage, "Column grid"},
                            {"scaler", MakeScalerPage},
                            {"panels", MakePanelsPage},
                            {"tree", MakeTreePage},
                            {"splitter", MakeSplitterPage}};

}  // namespace

QVBoxLayout* PageWithHelp(QWidget* thePage, const QString& theHelp) {
  auto* layout = new QVBoxLayout(thePage);
  auto* help = new QLabel(theHelp);
  help->setWordWrap(true);
  layout->addWidget(help);
  return layout;
}

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

std::string GalleryPageCaption(const std::string& theName) {
  for (const PageMaker& p : kPages)
    if (theName == p.name && p.caption) return p.caption;
  return theName;
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

void ApplyGalleryPalette(bool theDark) {
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  if (!theDark) {
    QApplication::setPalette(QApplication::style()->standardPalette());
    return;
  }
  QPalette p;
  const QColor window(0x35, 0x35, 0x38), base(0x26, 0x26, 0x29), text(0xE8, 0xE8, 0xE8);
  const QColor highlight(0x3D, 0x8E, 0xE0);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, QColor(0x30, 0x30, 0x34));
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, window);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::BrightText, QColor(0xFF, 0x6B, 0x6B));
  p.setColor(QPalette::Light, QColor(0x5A, 0x5A, 0x60));
  p.setColor(QPalette::Midlight, QColor(0x47, 0x47, 0x4C));
  p.setColor(QPalette::Mid, QColor(0x2C, 0x2C, 0x2F));
  p.setColor(QPalette::Dark, QColor(0x1E, 0x1E, 0x20));
  p.setColor(QPalette::Shadow, QColor(0x10, 0x10, 0x10));
  p.setColor(QPalette::Highlight, highlight);
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::ToolTipBase, QColor(0x45, 0x45, 0x4A));
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::PlaceholderText, QColor(0xA0, 0xA0, 0xA0));
  p.setColor(QPalette::Link, highlight.lighter(120));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
  QApplication::setPalette(p);
}

void AddViewActions(QMainWindow* theWindow, bool theDark) {
  auto* dark = new QAction(QObject::tr("&Dark mode"), theWindow);
  dark->setCheckable(true);
  dark->setChecked(theDark);
  dark->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
  QObject::connect(dark, &QAction::toggled, theWindow, [](bool on) { ApplyGalleryPalette(on); });
  theWindow->menuBar()->addMenu(QObject::tr("&View"))->addAction(dark);
}

QSize GalleryWindowSize(QWidget* theWindow) {
  QScreen* screen = theWindow && theWindow->screen() ? theWindow->screen() : QGuiApplication::primaryScreen();
  const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
  return QSize(std::min(1280, room.width()), std::min(800, room.height()));
}
