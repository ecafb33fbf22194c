#include "printing/vxPrintPaging.h"

namespace vx {

int RunPrintPages(HDC theDC, HDC theMeasureDC, const TPageAsk& theAsk, const TNextPage& theNext,
                  const TPrintOnePage& thePrint) {
  TPrintPageState state;
  int printed = 0;
  for (int page = 1;; ++page) {
    if (page > 1 && (!state.fHeightHit || !theNext(state))) break;
    state.OnSizeCallbackInit();
    int pageHeight = -1, pageWidth = -1;
    bool goahead = true, render = true;
    if (theAsk) theAsk(page, pageHeight, pageWidth, goahead, render);
    if (!goahead) break;
    thePrint(render ? theDC : theMeasureDC, page, pageHeight, pageWidth, state);
    ++printed;
  }
  return printed;
}

}  // namespace vx
