#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <string>
#include <vector>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/printing/vxGridPrinting.h>
#include <vxplan/printing/vxPrintPaging.h>

namespace vx {

// Prints a Gantt chart onto a device context: the time axis on top, the left
// side on the left, the area beside it, all scaled from screen pixels to
// device pixels; in one block, or page by page under the application's
// control (the chart's OnPrintToHdcNewPage).
class VX_API TvxPrintGantt {
public:
  // With OnPrintToHdcNewPage assigned, pages follow one another until the
  // handler stops them or the rows run out; each page starts at the row that
  // did not fit the page before. The handler starts each new sheet on the
  // device itself (NewPage) from page 2 on. PrintedWidth and PrintedHeight
  // report the last page.
  static void Print(TvxGant_ComBasic* Gant, HDC DC, int X, int Y, double ScaleX, double ScaleY, int LeftWidth,
                    TvxDataEntity_Tree* StartRow, int RowCount, bool ExpandAll, TDateTime PrintStart,
                    TDateTime PrintStop, int AreaWidth, int ScalerHeight, int& PrintedWidth, int& PrintedHeight,
                    int PageWidth = -1, int PageHeight = -1, const TOnSizeCallBack& SizeCallBack = {});

  // As Print, with the grid as left side; StartRow is a grid node.
  static void PrintWithGrid(TvxGant_ComBasic* Gant, HDC DC, int X, int Y, double ScaleX, double ScaleY,
                            int LeftWidth, TvxDataEntity_GridTreeNode* StartRow, int RowCount, bool ExpandAll,
                            TDateTime PrintStart, TDateTime PrintStop, int AreaWidth, int ScalerHeight,
                            int& PrintedWidth, int& PrintedHeight, int PageWidth = -1, int PageHeight = -1,
                            const TOnSizeCallBack& SizeCallBack = {});

  // The chart to a PDF file, with the left side it shows, every page: rows that do not fit a page go on
  // the next, a time span wider than a page on the pages beside it; each
  // page repeats the time axis and the left side. Text stays text. Answers
  // the pages written; 0 when the file cannot be written or the paper holds
  // not one row (margins too wide, a span that ends before it starts).
  static int PrintToPdf(TvxGant_ComBasic* Gant, const std::string& theFileName, const TPrintSetup& theSetup = {});
  // To a printer, through the platform's print dialog when asked (otherwise
  // the default printer); the dialog may change the paper. Answers the pages
  // printed; 0 when cancelled or there is no printer.
  static int PrintToPrinter(TvxGant_ComBasic* Gant, const TPrintSetup& theSetup = {}, bool theShowDialog = true);
  // The pages PrintToPdf would write, without drawing any.
  static int CountPages(TvxGant_ComBasic* Gant, const TPrintSetup& theSetup = {});
  // Every page onto a paged device (a PDF document or a printer), starting
  // new sheets on it; the paper is the device's. Answers the pages printed.
  static int PrintPages(TvxGant_ComBasic* Gant, HDC DC, const TPrintSetup& theSetup = {});

  // One block; theRowsPrinted reports the rows that went on paper. With
  // theGrid the grid is the left side and theGridStartRow its first row;
  // otherwise the tree, from StartRow.
  static void InternalPrintLoop(TvxGant_ComBasic* Gant, HDC DC, int X, int Y, double ScaleX, double ScaleY,
                                int LeftWidth, TvxDataEntity_Tree* StartRow, int RowCount, bool ExpandAll,
                                TDateTime PrintStart, TDateTime PrintStop, int AreaWidth, int ScalerHeight,
                                int& PrintedWidth, int& PrintedHeight, int PageWidth, int PageHeight,
                                const TOnSizeCallBack& SizeCallBack, int& theRowsPrinted, bool theGrid = false,
                                TvxDataEntity_GridTreeNode* theGridStartRow = nullptr);
  // Opens the collapsed rows with children (only with ExpandAll): their tree
  // entities, or with theGrid their grid nodes, noting them in theList;
  // Collapse closes exactly those again.
  static void Expand(TvxGant_ComBasic* Gant, bool ExpandAll, std::vector<TvxDataEntity*>& theList, bool theGrid = false);
  static void Collapse(TvxGant_ComBasic* Gant, bool ExpandAll, std::vector<TvxDataEntity*>& theList);

private:
  struct TBlock;
  class TRowsOnPaper;
  static TBlock MakeBlock(int X, int Y, double ScaleX, double ScaleY, int LeftWidth, TvxDataEntity_Tree* StartRow,
                          int RowCount, bool ExpandAll, TDateTime PrintStart, TDateTime PrintStop, int AreaWidth,
                          int ScalerHeight, int PageWidth, int PageHeight);
  static void PrintBlock(TvxGant_ComBasic* Gant, HDC DC, const TBlock& theBlock, int& PrintedWidth,
                         int& PrintedHeight, int& theRowsPrinted);
  static void PrintTreeSide(TvxGant_ComBasic* Gant, HDC DC, const TBlock& theBlock, int& theWidth, int& theHeight,
                            int& theRows);
  static void PrintGridSide(TvxGant_ComBasic* Gant, HDC DC, const TBlock& theBlock, TvxGridPrinting& thePrinter,
                            int& theWidth, int& theHeight, int& theRows);
  static void InternalPrint(TvxGant_ComBasic* Gant, HDC DC, TBlock theBlock, int& PrintedWidth, int& PrintedHeight,
                            const TOnSizeCallBack& SizeCallBack);
  // The first shown grid node below theRow (a grid row item); nil: none.
  static TvxDataEntity_GridTreeNode* NextGridNodeAfter(TvxGant_ComBasic* Gant, TObject* theRow);
  static void SetExpandedOf(TvxDataEntity* theNode, bool theValue);
  static int RunSheets(TvxGant_ComBasic* Gant, HDC DC, int theDpi, int theWidth, int theHeight,
                       const TPrintSetup& theSetup, bool theDraw);
};

}  // namespace vx
