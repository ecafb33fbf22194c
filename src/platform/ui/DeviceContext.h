#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>
#include <string>

#include <vxplan/platform/rtl/Object.h>
#include <vxplan/platform/rtl/Types.h>

class QPainter;
class QImage;
class QPaintDevice;
class QPrinter;

namespace vx {

// Indexes of GetDeviceCaps.
constexpr int TECHNOLOGY = 2;
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;
// Values of TECHNOLOGY.
constexpr int DT_RASDISPLAY = 1;
constexpr int DT_RASPRINTER = 2;

struct VX_API TTextMetric {
  int tmHeight = 0;
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
};

// A device context: a surface to draw on (a PDF document, an image, or a
// window while it paints) with its viewport origin and clip. Canvases draw
// through it; printing entry points take one.
class VX_API TDeviceContext : public TObject {
public:
  // A PDF document of pages theWidthMm x theHeightMm at theDpi pixels per inch.
  // Nil when the file cannot be written.
  static std::unique_ptr<TDeviceContext> CreatePdf(const std::string& theFileName, double theWidthMm = 210,
                                                   double theHeightMm = 297, int theDpi = 300);
  // A printer, paper theWidthMm x theHeightMm (wider than high: landscape),
  // at the printer's resolution; with theShowDialog the platform's print
  // dialog lets the user choose. With theOutputFile the job goes to that PDF
  // file instead. Nil when cancelled or there is no printer.
  static std::unique_ptr<TDeviceContext> CreatePrinter(double theWidthMm, double theHeightMm, bool theShowDialog,
                                                       const std::string& theOutputFile = {});
  // A white picture of theWidth x theHeight pixels.
  static std::unique_ptr<TDeviceContext> CreateImage(int theWidth, int theHeight, int theDpi = 96);

  ~TDeviceContext() override;

  int GetDeviceCaps(int theIndex) const;
  int Width() const;
  int Height() const;
  int PixelsPerInch() const noexcept { return fDpi; }
  bool IsPrinter() const noexcept { return fKind == Kind::Pdf; }

  // Logical (0, 0) lands on device pixel theOrigin; answers the previous origin.
  TPoint GetViewportOrg() const noexcept { return fOrigin; }
  TPoint SetViewportOrg(TPoint theOrigin);

  // Clip to a rectangle in device pixels (unaffected by the viewport origin).
  void SelectClipRect(const TRect& theDeviceRect);
  // Narrow the clip by a rectangle in logical coordinates.
  void IntersectClipRect(const TRect& theLogicalRect);
  void RemoveClip();
  bool HasClip() const noexcept { return fHasClip; }
  // The clip (or the whole surface) in logical coordinates.
  TRect GetClipBox() const;

  // Metrics of the font the last canvas on this device chose.
  TTextMetric GetTextMetrics();

  // PDF: starts the next page (the viewport origin and the clip carry over).
  bool NewPage();
  int PageCount() const noexcept { return fPageCount; }
  // Finishes the document or the drawing; later drawing is ignored.
  void EndDoc();

  // Image devices: the picture so far, and saving it (PNG by the name's suffix).
  QImage* Image() const noexcept;
  bool SaveToFile(const std::string& theFileName);

  // A printer the caller made and keeps (a print preview's, say); pages go
  // onto it as onto any printer.
  static std::unique_ptr<TDeviceContext> ForPrinter(QPrinter* thePrinter);
  // Toolkit internals.
  static std::unique_ptr<TDeviceContext> ForImage(QImage* theImage, int theDpi);
  static std::unique_ptr<TDeviceContext> ForPainter(QPainter* thePainter, int theWidth, int theHeight, int theDpi);
  QPainter* Painter();
  // Ends the painter of an image device (before the image changes).
  void EndPainting();
  QPaintDevice* Device() const noexcept;

private:
  enum class Kind { Pdf, OwnImage, Image, Painter };
  struct Impl;
  explicit TDeviceContext(Kind theKind, int theDpi);
  void ApplyState();

  Kind fKind;
  int fDpi;
  TPoint fOrigin;
  bool fHasClip = false;
  TRect fClip;  // device pixels
  int fPageCount = 1;
  bool fEnded = false;
  std::unique_ptr<Impl> fImpl;
};

}  // namespace vx
