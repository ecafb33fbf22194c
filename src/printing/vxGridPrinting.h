#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vector>

#include <vxplan/grid/vxGrid.h>
#include <vxplan/printing/vxPrintPaging.h>

namespace vx {

// Prints a column grid onto a device context: the grid lays itself out for
// the rows that are to appear and draws itself scaled from screen pixels to
// device pixels. One printer holds one grid in its printing shape between
// BeforePrintAndPrint and ResetAfterPrint (its destructor resets a grid it
// still holds, so a failure half-way leaves the grid as it was).
class VX_API TvxGridPrinting {
public:
  // A printed row: its place below the header, in screen pixels.
  struct TPrintedRow {
    TAxisContentItem* fItem = nullptr;
    int fTop = 0;
    int fBottom = 0;
  };

  TvxGridPrinting() = default;
  TvxGridPrinting(const TvxGridPrinting&) = delete;
  TvxGridPrinting& operator=(const TvxGridPrinting&) = delete;
  ~TvxGridPrinting();

  // The header (fixed rows) and the rows from StartCell's row on (nil: the
  // first scrolled row), RowCount of them (negative: all that remain), Width
  // screen pixels wide. With a size callback and a page height (device
  // pixels, -1: none) the rows stop before the first that would cross it, and
  // SizeCallBack hears of the last row that fitted; a first row taller than
  // the page is printed alone, cut at the page's bottom. Without a page limit
  // a block ends after 10,000 screen pixels of rows (the callback, if any,
  // hears of that break too). Hidden rows are passed over; a RowCount past
  // the grid's last row is made up with blank rows of 20 pixels.
  static void Print(TvxGrid* Grid, HDC DC, int X, int Y, double ScaleX, double ScaleY, TBabCell* StartCell,
                    int RowCount, int Width, int& PrintedWidth, int& PrintedHeight, int PageWidth, int PageHeight,
                    const TOnSizeCallBack& SizeCallBack, int& RowsPrinted);
  // As Print, leaving the grid in its printing shape until ResetAfterPrint.
  void BeforePrintAndPrint(TvxGrid* Grid, HDC DC, int X, int Y, double ScaleX, double ScaleY, TBabCell* StartCell,
                           int RowCount, int Width, int& PrintedWidth, int& PrintedHeight, int PageWidth,
                           int PageHeight, const TOnSizeCallBack& SizeCallBack, int& RowsPrinted);
  // The grid's scroll position, font size and bounds back; it leaves printing.
  void ResetAfterPrint();

  const std::vector<TPrintedRow>& GetPrintedRows() const noexcept { return fRows; }
  // The height of the fixed rows with the border above them, in screen pixels.
  static int HeaderHeight(TvxGrid* Grid);

private:
  static int WorkingHeight(int Y, double ScaleY, int PageHeight, bool theLimited);
  void CountRows(int theFirst, int RowCount, int Y, double ScaleY, int PageHeight, bool theLimited,
                 int theWorkingHeight, const TOnSizeCallBack& SizeCallBack);
  void DropGoneRows();

  TvxGrid* fGrid = nullptr;
  int fTop = 0, fLeft = 0, fFontSize = 0;
  TRect fBounds{};
  int fHeader = 0;
  std::vector<TPrintedRow> fRows;
  // The rows of fRows, held: the size callback may drop rows.
  TvxHeldList<TAxisContentItem> fHeldRows;
};

}  // namespace vx
