#pragma once

#include <functional>

#include "platform/rtl/Object.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Graphics.h"

namespace vx {

// Told by a left-side printer when a row (or a column) no longer fits the
// page: which limit was hit, where, and the object that stands at the break.
using TOnSizeCallBack = std::function<void(bool IsWidthNotHeight, int theRightOrBottomValue, TObject* theContextObject)>;

// What one page of a print job reported: the limits hit and the objects at
// the breaks.
struct TPrintPageState {
  bool fWidthHit = false;
  bool fHeightHit = false;
  TObject* fWidthObject = nullptr;
  TObject* fHeightObject = nullptr;

  void OnSizeCallbackInit() { *this = TPrintPageState(); }
  void OnSizeCallback(bool IsWidthNotHeight, int, TObject* theContextObject) {
    if (IsWidthNotHeight) {
      fWidthHit = true;
      fWidthObject = theContextObject;
    } else {
      fHeightHit = true;
      fHeightObject = theContextObject;
    }
  }
  TOnSizeCallBack Callback() {
    return [this](bool w, int v, TObject* o) { OnSizeCallback(w, v, o); };
  }
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

// The paging loop the Gantt chart and the schedule share: pages are asked for
// and printed until the application stops, or a page reports no break.
// Pages that are not to be drawn go to theMeasureDC. Answers the pages printed.
int RunPrintPages(HDC theDC, HDC theMeasureDC, const TPageAsk& theAsk, const TNextPage& theNext,
                  const TPrintOnePage& thePrint);

}  // namespace vx
