#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <string>

#include <vxplan/printing/vxPrintPaging.h>
#include <vxplan/schema/vxSchema.h>

namespace vx {

// Prints a schedule onto a device context: the column titles, the time axis
// and the drawing area with its bookings, for a range of columns and a time
// range, in either orientation, scaled from screen pixels to device pixels;
// in one block, or page by page under the application's control (the
// schedule's OnPrintToHdcNewPage), a page ending where the next column no
// longer fits.
class VX_API TvxPrintSchema {
public:
  // TimeLength: screen pixels of time along the axis; ScalerThickness: the
  // time axis strip's width (normal) or height (flipped). LastCol is clamped
  // to the last column. Page limits in device pixels (-1 or 0: none). With
  // OnPrintToHdcNewPage assigned, each page starts at the column that did not
  // fit the page before; the handler starts each new sheet on the device
  // itself (NewPage) from page 2 on. PrintedWidth and PrintedHeight report
  // the last page. The page handler and the drawing hooks may delete
  // bookings and columns (a page then starts at a column still there, or the
  // job ends); they end the schedule only through its deleteLater().
  static void Print(TvxSchema_ComBasic* Schema, HDC DC, int X, int Y, int TimeLength, int ScalerThickness,
                    double ScaleX, double ScaleY, int FirstCol, int LastCol, TDateTime PrintStart, TDateTime PrintStop,
                    bool Flipped, int& PrintedWidth, int& PrintedHeight, int PageWidth = -1, int PageHeight = -1,
                    const TOnSizeCallBack& SizeCallBack = {});
  // One block. The schedule is put back afterwards, also after a failure.
  static void PrintLoop(TvxSchema_ComBasic* Schema, HDC DC, int X, int Y, int TimeLength, int ScalerThickness,
                        double ScaleX, double ScaleY, int FirstCol, int LastCol, TDateTime PrintStart,
                        TDateTime PrintStop, bool Flipped, int& PrintedWidth, int& PrintedHeight, int PageWidth,
                        int PageHeight, const TOnSizeCallBack& SizeCallBack);
  // The titles of the columns FirstCol..LastCol beside the inner corner
  // theCorner (screen pixels); theExtent answers the columns' extent in
  // screen pixels. A column that would cross the page limit is reported
  // (it opens the next page) and ends the titles.
  static void PrintColumns(TvxSchema_ComBasic* Schema, HDC DC, int X, int Y, double ScaleX, double ScaleY,
                           int FirstCol, int LastCol, bool Flipped, int& theExtent, int PageWidth, int PageHeight,
                           const TOnSizeCallBack& SizeCallBack, TPoint theCorner);

  // The whole schedule to a PDF file in the orientation it shows: columns
  // that do not fit a page go on the next, a time span longer than a page's
  // on further pages (titles repeated), as the setup says. Answers the pages;
  // 0 when the file cannot be written or the paper holds nothing.
  static int PrintToPdf(TvxSchema_ComBasic* Schema, const std::string& theFileName, const TPrintSetup& theSetup = {});
  // To a printer, through the platform's dialog when asked. Answers the pages.
  static int PrintToPrinter(TvxSchema_ComBasic* Schema, const TPrintSetup& theSetup = {}, bool theShowDialog = true);
  // The pages PrintToPdf would write, without drawing any.
  static int CountPages(TvxSchema_ComBasic* Schema, const TPrintSetup& theSetup = {});
  // Every page onto a paged device, starting new sheets on it.
  static int PrintPages(TvxSchema_ComBasic* Schema, HDC DC, const TPrintSetup& theSetup = {});

private:
  struct TSheet;
  static int RunSheets(TvxSchema_ComBasic* Schema, HDC DC, int theDpi, int theWidth, int theHeight,
                       const TPrintSetup& theSetup, bool theDraw);
};

}  // namespace vx
