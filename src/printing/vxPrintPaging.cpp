#include <vxplan/printing/vxPrintPaging.h>

#include <algorithm>
#include <cmath>

#include <vxplan/platform/rtl/Math.h>

namespace vx {

int RunPrintPages(HDC theDC, HDC theMeasureDC, const TPageAsk& theAsk, const TNextPage& theNext,
                  const TPrintOnePage& thePrint) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  TPrintPageState state;
  int printed = 0;
  for (int page = 1;; ++page) {
    if (page > 1 && ((!state.fHeightHit && !state.fWidthHit) || !theNext(state))) break;
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

bool TPrintSetup::Usable() const { return std::isfinite(fMarginMm) && fDpi <= MostDpi; }

int TPrintSetup::MarginPixels(int theDpi) const {
  if (!std::isfinite(fMarginMm)) return 0;
  return Round(std::min(std::max(fMarginMm, 0.0) / 25.4 * theDpi, 1e9));
}

double TPrintSetup::WidthMm() const {
  const double w = fPaper == ppsLetter ? 215.9 : 210, h = fPaper == ppsLetter ? 279.4 : 297;
  return fOrientation == ppoLandscape ? h : w;
}

double TPrintSetup::HeightMm() const {
  const double w = fPaper == ppsLetter ? 215.9 : 210, h = fPaper == ppsLetter ? 279.4 : 297;
  return fOrientation == ppoLandscape ? w : h;
}

std::vector<std::pair<TDateTime, TDateTime>> TimeSpansForPages(TvxDateScaler* theScaler, const TPrintSetup& theSetup,
                                                                int theExtent) {
  const bool own = theSetup.fStart != 0 || theSetup.fStop != 0;
  if (!own) return {{theScaler->GetStart(), theScaler->GetStop()}};
  if (!(theSetup.fStart < theSetup.fStop) || theExtent < 1) return {};
  if (theSetup.fFitToPage) return {{theSetup.fStart, theSetup.fStop}};
  const double perPage = theScaler->GetScale() * theExtent;
  constexpr size_t kMostPages = 1000;
  std::vector<std::pair<TDateTime, TDateTime>> spans;
  for (TDateTime t = theSetup.fStart; t < theSetup.fStop && spans.size() < kMostPages;) {
    const TDateTime next = theScaler->VisibleTimeDiffToTrueTime(t, perPage);
    if (!(next > t)) break;
    spans.emplace_back(t, next);
    t = next;
  }
  return spans;
}

void PaperPixels(const TPrintSetup& theSetup, int& theDpi, int& theWidth, int& theHeight) {
  theDpi = theSetup.fDpi > 0 ? std::min(theSetup.fDpi, TPrintSetup::MostDpi) : 300;
  theWidth = Round(theSetup.WidthMm() / 25.4 * theDpi);
  theHeight = Round(theSetup.HeightMm() / 25.4 * theDpi);
}

int PrintDocumentToPdf(const std::string& theFileName, const TPrintSetup& theSetup, const TUsablePaper& theUsable,
                       const TPrintDocument& thePrint) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  if (!theSetup.Usable()) return 0;
  int dpi = 0, w = 0, h = 0;
  PaperPixels(theSetup, dpi, w, h);
  if (theUsable && !theUsable(dpi, w, h)) return 0;
  std::unique_ptr<TDeviceContext> dc = TDeviceContext::CreatePdf(theFileName, theSetup.WidthMm(), theSetup.HeightMm(), dpi);
  if (!dc) return 0;
  const int pages = thePrint(dc.get());
  dc->EndDoc();
  return pages;
}

int PrintDocumentToPrinter(const TPrintSetup& theSetup, bool theShowDialog, const TPrintDocument& thePrint) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  if (!theSetup.Usable()) return 0;
  std::unique_ptr<TDeviceContext> dc = TDeviceContext::CreatePrinter(theSetup.WidthMm(), theSetup.HeightMm(), theShowDialog);
  if (!dc) return 0;
  const int pages = thePrint(dc.get());
  dc->EndDoc();
  return pages;
}

}  // namespace vx
