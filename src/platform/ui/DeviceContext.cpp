#include <vxplan/platform/ui/DeviceContext.h>
#include <vxplan/platform/ui/QtConvert.h>

#include <QFontMetrics>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace vx {

struct TDeviceContext::Impl {
  std::unique_ptr<QPagedPaintDevice> ownPaged;
  QPagedPaintDevice* pdf = nullptr;  // a PDF writer or a printer, owned or not
  std::unique_ptr<QImage> ownImage;
  QImage* image = nullptr;
  QPainter* painter = nullptr;  // the active painter
  std::unique_ptr<QPainter> ownPainter;
};

TDeviceContext::TDeviceContext(Kind theKind, int theDpi) : fKind(theKind), fDpi(theDpi), fImpl(new Impl) {}

TDeviceContext::~TDeviceContext() { EndDoc(); }

std::unique_ptr<TDeviceContext> TDeviceContext::CreatePdf(const std::string& theFileName, double theWidthMm,
                                                          double theHeightMm, int theDpi) {
  std::unique_ptr<TDeviceContext> dc(new TDeviceContext(Kind::Pdf, theDpi > 0 ? theDpi : 300));
  auto writer = std::make_unique<QPdfWriter>(ToQString(theFileName));
  writer->setResolution(dc->fDpi);
  writer->setPageLayout(QPageLayout(QPageSize(QSizeF(theWidthMm, theHeightMm), QPageSize::Millimeter),
                                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  writer->setCreator(QStringLiteral("vxplan"));
  dc->fImpl->ownPaged = std::move(writer);
  dc->fImpl->pdf = dc->fImpl->ownPaged.get();
  dc->fImpl->ownPainter = std::make_unique<QPainter>();
  if (!dc->fImpl->ownPainter->begin(dc->fImpl->pdf)) return nullptr;
  dc->fImpl->painter = dc->fImpl->ownPainter.get();
  dc->ApplyState();
  return dc;
}

std::unique_ptr<TDeviceContext> TDeviceContext::CreatePrinter(double theWidthMm, double theHeightMm, bool theShowDialog,
                                                              const std::string& theOutputFile) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!theOutputFile.empty()) {
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(ToQString(theOutputFile));
  } else if (!theShowDialog && QPrinterInfo::defaultPrinterName().isEmpty()) {
    return nullptr;  // nowhere to print without asking
  }
  const bool landscape = theWidthMm > theHeightMm;
  QSizeF portrait = landscape ? QSizeF(theHeightMm, theWidthMm) : QSizeF(theWidthMm, theHeightMm);
  printer->setPageLayout(QPageLayout(QPageSize(portrait, QPageSize::Millimeter),
                                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
  printer->setFullPage(true);
  printer->setCreator(QStringLiteral("vxplan"));
  if (theShowDialog) {
    QPrintDialog dialog(printer.get());
    if (dialog.exec() != QDialog::Accepted) return nullptr;
  }
  std::unique_ptr<TDeviceContext> dc(new TDeviceContext(Kind::Pdf, printer->resolution() > 0 ? printer->resolution() : 300));
  dc->fImpl->ownPaged = std::move(printer);
  dc->fImpl->pdf = dc->fImpl->ownPaged.get();
  dc->fImpl->ownPainter = std::make_unique<QPainter>();
  if (!dc->fImpl->ownPainter->begin(dc->fImpl->pdf)) return nullptr;
  dc->fImpl->painter = dc->fImpl->ownPainter.get();
  dc->ApplyState();
  return dc;
}

std::unique_ptr<TDeviceContext> TDeviceContext::ForPrinter(QPrinter* thePrinter) {
  if (!thePrinter) return nullptr;
  std::unique_ptr<TDeviceContext> dc(new TDeviceContext(Kind::Pdf, thePrinter->resolution() > 0 ? thePrinter->resolution() : 300));
  dc->fImpl->pdf = thePrinter;
  dc->fImpl->ownPainter = std::make_unique<QPainter>();
  if (!dc->fImpl->ownPainter->begin(thePrinter)) return nullptr;
  dc->fImpl->painter = dc->fImpl->ownPainter.get();
  dc->ApplyState();
  return dc;
}

std::unique_ptr<TDeviceContext> TDeviceContext::CreateImage(int theWidth, int theHeight, int theDpi) {
  std::unique_ptr<TDeviceContext> dc(new TDeviceContext(Kind::OwnImage, theDpi > 0 ? theDpi : 96));
  dc->fImpl->ownImage = std::make_unique<QImage>(std::max(theWidth, 1), std::max(theHeight, 1), QImage::Format_RGB32);
  dc->fImpl->ownImage->fill(Qt::white);
  dc->fImpl->image = dc->fImpl->ownImage.get();
  return dc;
}

std::unique_ptr<TDeviceContext> TDeviceContext::ForImage(QImage* theImage, int theDpi) {
  std::unique_ptr<TDeviceContext> dc(new TDeviceContext(Kind::Image, theDpi));
  dc->fImpl->image = theImage;
  return dc;
}

std::unique_ptr<TDeviceContext> TDeviceContext::ForPainter(QPainter* thePainter, int theWidth, int theHeight,
                                                           int theDpi) {
  std::unique_ptr<TDeviceContext> dc(new TDeviceContext(Kind::Painter, theDpi));
  (void)theWidth;
  (void)theHeight;
  dc->fImpl->painter = thePainter;
  dc->ApplyState();
  return dc;
}

QPaintDevice* TDeviceContext::Device() const noexcept {
  if (fImpl->pdf) return fImpl->pdf;
  if (fImpl->image) return fImpl->image;
  return fImpl->painter ? fImpl->painter->device() : nullptr;
}

QPainter* TDeviceContext::Painter() {
  if (fEnded) return nullptr;
  if (!fImpl->painter && fImpl->image && !fImpl->image->isNull()) {
    if (!fImpl->ownPainter) fImpl->ownPainter = std::make_unique<QPainter>();
    if (!fImpl->ownPainter->begin(fImpl->image)) return nullptr;
    fImpl->painter = fImpl->ownPainter.get();
    ApplyState();
  }
  return fImpl->painter;
}

void TDeviceContext::ApplyState() {
  QPainter* p = fImpl->painter;
  if (!p) return;
  p->setRenderHint(QPainter::Antialiasing, false);
  p->setRenderHint(QPainter::TextAntialiasing, true);
  p->setRenderHint(QPainter::SmoothPixmapTransform, false);
  p->resetTransform();
  if (fHasClip)
    p->setClipRect(QRect(fClip.Left, fClip.Top, fClip.Width(), fClip.Height()));
  else
    p->setClipping(false);
  p->setTransform(QTransform::fromTranslate(fOrigin.X, fOrigin.Y));
}

void TDeviceContext::EndPainting() {
  if (fKind != Kind::Image && fKind != Kind::OwnImage) return;
  if (fImpl->painter) {
    fImpl->painter->end();
    fImpl->painter = nullptr;
  }
}

int TDeviceContext::Width() const {
  if (fImpl->pdf) return fImpl->pdf->width();
  if (fImpl->image) return static_cast<int>(fImpl->image->deviceIndependentSize().width() + 0.5);
  if (fImpl->painter && fImpl->painter->device()) return fImpl->painter->device()->width();
  return 0;
}

int TDeviceContext::Height() const {
  if (fImpl->pdf) return fImpl->pdf->height();
  if (fImpl->image) return static_cast<int>(fImpl->image->deviceIndependentSize().height() + 0.5);
  if (fImpl->painter && fImpl->painter->device()) return fImpl->painter->device()->height();
  return 0;
}

int TDeviceContext::GetDeviceCaps(int theIndex) const {
  switch (theIndex) {
    case TECHNOLOGY: return IsPrinter() ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZRES:
    case PHYSICALWIDTH: return Width();
    case VERTRES:
    case PHYSICALHEIGHT: return Height();
    case LOGPIXELSX:
    case LOGPIXELSY: return fDpi;
    case HORZSIZE: return static_cast<int>(Width() * 25.4 / fDpi + 0.5);
    case VERTSIZE: return static_cast<int>(Height() * 25.4 / fDpi + 0.5);
    default: return 0;
  }
}

TPoint TDeviceContext::SetViewportOrg(TPoint theOrigin) {
  TPoint old = fOrigin;
  fOrigin = theOrigin;
  if (fImpl->painter) fImpl->painter->setTransform(QTransform::fromTranslate(fOrigin.X, fOrigin.Y));
  return old;
}

void TDeviceContext::SelectClipRect(const TRect& theDeviceRect) {
  fHasClip = true;
  fClip = theDeviceRect.IsEmpty() ? TRect{} : theDeviceRect;
  if (QPainter* p = fImpl->painter) {
    p->resetTransform();
    p->setClipRect(QRect(fClip.Left, fClip.Top, fClip.Width(), fClip.Height()));
    p->setTransform(QTransform::fromTranslate(fOrigin.X, fOrigin.Y));
  }
}

void TDeviceContext::IntersectClipRect(const TRect& theLogicalRect) {
  TRect device = OffsetRect(theLogicalRect, fOrigin.X, fOrigin.Y);
  SelectClipRect(fHasClip ? IntersectRect(fClip, device) : device);
}

void TDeviceContext::RemoveClip() {
  fHasClip = false;
  if (fImpl->painter) fImpl->painter->setClipping(false);
}

TRect TDeviceContext::GetClipBox() const {
  TRect device = fHasClip ? fClip : Rect(0, 0, Width(), Height());
  return OffsetRect(device, -fOrigin.X, -fOrigin.Y);
}

TTextMetric TDeviceContext::GetTextMetrics() {
  TTextMetric tm;
  QPainter* p = Painter();
  if (!p) return tm;
  QFontMetrics fm(p->font(), Device());
  tm.tmAscent = fm.ascent();
  tm.tmDescent = fm.descent();
  tm.tmHeight = fm.height();
  tm.tmInternalLeading = std::max(0, fm.height() - p->font().pixelSize());
  tm.tmExternalLeading = std::max(0, fm.leading());
  tm.tmAveCharWidth = fm.averageCharWidth();
  tm.tmMaxCharWidth = fm.maxWidth();
  return tm;
}

bool TDeviceContext::NewPage() {
  if (!fImpl->pdf || fEnded) return false;
  if (!fImpl->pdf->newPage()) return false;
  ++fPageCount;
  return true;
}

void TDeviceContext::EndDoc() {
  if (fEnded) return;
  fEnded = true;
  if (fImpl->ownPainter && fImpl->ownPainter->isActive()) fImpl->ownPainter->end();
  fImpl->painter = nullptr;
}

QImage* TDeviceContext::Image() const noexcept { return fImpl->image; }

bool TDeviceContext::SaveToFile(const std::string& theFileName) {
  if (!fImpl->image) return false;
  return fImpl->image->save(ToQString(theFileName));
}

}  // namespace vx
