#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <vxplan/core/vxHolding.h>
#include <vxplan/platform/rtl/Object.h>
#include <vxplan/platform/ui/DeviceContext.h>
#include <vxplan/platform/ui/Graphics.h>
#include <vxplan/scaler/vxScaler.h>

namespace vx {

// Told by a left-side printer when a row (or a column) no longer fits the
// page: which limit was hit, where, and the object that stands at the break.
using TOnSizeCallBack = std::function<void(bool IsWidthNotHeight, int theRightOrBottomValue, TObject* theContextObject)>;

// What one page of a print job reported: the limits hit and the objects at
// the breaks. The objects are held (when they are exposables) until the next
// page is placed: the application's page handler may delete them meanwhile,
// and WidthObject / HeightObject then answer nil.
struct VX_API TPrintPageState {
  bool fWidthHit = false;
  bool fHeightHit = false;
  TObject* fWidthObject = nullptr;
  TObject* fHeightObject = nullptr;

  void OnSizeCallbackInit() { *this = TPrintPageState(); }
  void OnSizeCallback(bool IsWidthNotHeight, int, TObject* theContextObject) {
    auto* exposable = dynamic_cast<TvxExposable*>(theContextObject);
    if (IsWidthNotHeight) {
      fWidthHit = true;
      fWidthObject = theContextObject;
      fHeldWidth.Reset(exposable);
    } else {
      fHeightHit = true;
      fHeightObject = theContextObject;
      fHeldHeight.Reset(exposable);
    }
  }
  TObject* WidthObject() const { return Alive(fWidthObject, fHeldWidth); }
  TObject* HeightObject() const { return Alive(fHeightObject, fHeldHeight); }
  TOnSizeCallBack Callback() {
    return [this](bool w, int v, TObject* o) { OnSizeCallback(w, v, o); };
  }

private:
  static TObject* Alive(TObject* theObject, const TvxHeld<TvxExposable>& theHeld) {
    return theHeld.Is(theObject) && theHeld.Gone() ? nullptr : theObject;
  }
  TvxHeld<TvxExposable> fHeldWidth;
  TvxHeld<TvxExposable> fHeldHeight;
};

// The page negotiation with the application: before each page it may set the
// page's limits in device pixels (-1: none), stop the job, or have the page
// laid out without being drawn.
using TPageAsk = std::function<void(int thePageNo, int& pageHeight, int& pageWidth, bool& goahead, bool& render)>;
// Prints one page onto theDC within the limits, reporting breaks to theState.
using TPrintOnePage =
    std::function<void(HDC theDC, int thePageNo, int pageHeight, int pageWidth, TPrintPageState& theState)>;
// From page 2 on: moves the job past the previous page's break; false ends it.
using TNextPage = std::function<bool(const TPrintPageState& thePrevious)>;

// The device's viewport and clip, put back when it goes.
class VX_API TDeviceState {
public:
  TDeviceState(HDC theDC, TPoint theOrigin)
      : fDC(theDC), fOrigin(theDC->GetViewportOrg()), fHadClip(theDC->HasClip()) {
    if (fHadClip) fClip = OffsetRect(theDC->GetClipBox(), fOrigin.X, fOrigin.Y);
    theDC->SetViewportOrg(theOrigin);
  }
  TDeviceState(const TDeviceState&) = delete;
  TDeviceState& operator=(const TDeviceState&) = delete;
  ~TDeviceState() {
    if (fHadClip)
      fDC->SelectClipRect(fClip);
    else
      fDC->RemoveClip();
    fDC->SetViewportOrg(fOrigin);
  }

private:
  HDC fDC;
  TPoint fOrigin;
  bool fHadClip;
  TRect fClip{};
};

// The paging loop the Gantt chart and the schedule share: pages are asked for
// and printed until the application stops, or a page reports no break (of
// either limit).
// Pages that are not to be drawn go to theMeasureDC. Answers the pages printed.
VX_API int RunPrintPages(HDC theDC, HDC theMeasureDC, const TPageAsk& theAsk, const TNextPage& theNext,
                  const TPrintOnePage& thePrint);

enum TPaperSize { ppsA4, ppsLetter };
enum TPaperOrientation { ppoPortrait, ppoLandscape };

// Paper for the one-call printing of a chart or a schedule.
struct VX_API TPrintSetup {
  TPaperSize fPaper = ppsA4;
  TPaperOrientation fOrientation = ppoLandscape;
  double fMarginMm = 10;
  int fDpi = 300;
  // The time span on paper. Both 0: the time axis's window, on one page's
  // length of time. A span of its own is printed at the axis's scale, over as
  // many pages along the time as it takes (each repeating the titles or the
  // left side), unless fFitToPage squeezes it onto one page's length.
  TDateTime fStart = 0;
  TDateTime fStop = 0;
  bool fFitToPage = false;
  // The schedule: every column on one page across (printed smaller when
  // they would not fit).
  bool fFitColumnsToPage = false;
  bool fExpandAll = false;

  // Resolutions past this, and margins that are no number or infinite, print
  // nothing (a margin below zero counts as none).
  static constexpr int MostDpi = 4800;
  bool Usable() const;
  // The margin in device pixels at theDpi, within the int range.
  int MarginPixels(int theDpi) const;

  // The paper in millimetres, turned as the orientation says.
  double WidthMm() const;
  double HeightMm() const;
};

// The time spans of the pages along the time axis, theExtent screen pixels
// of time each: the axis's window alone, the setup's span squeezed onto one,
// or the span at the axis's scale (the last page keeps the scale and shows a
// little more). Empty for a span that ends before it starts.
VX_API std::vector<std::pair<TDateTime, TDateTime>> TimeSpansForPages(TvxDateScaler* theScaler, const TPrintSetup& theSetup,
                                                                int theExtent);

// A document on the setup's paper: a PDF file, or a printer (through the
// platform's dialog when asked). theUsable says from the paper's resolution
// and size in device pixels whether anything would print: nothing is written
// otherwise. thePrint prints every page onto the device and answers the
// pages; the call answers them too, 0 when nothing was printed.
using TUsablePaper = std::function<bool(int theDpi, int theWidth, int theHeight)>;
using TPrintDocument = std::function<int(HDC theDC)>;
VX_API int PrintDocumentToPdf(const std::string& theFileName, const TPrintSetup& theSetup, const TUsablePaper& theUsable,
                       const TPrintDocument& thePrint);
VX_API int PrintDocumentToPrinter(const TPrintSetup& theSetup, bool theShowDialog, const TPrintDocument& thePrint);
// The paper of the setup in device pixels at its resolution.
VX_API void PaperPixels(const TPrintSetup& theSetup, int& theDpi, int& theWidth, int& theHeight);

}  // namespace vx
