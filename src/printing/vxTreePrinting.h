#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/printing/vxPrintPaging.h>
#include <vxplan/tree/vxTree.h>

namespace vx {

// Prints the rows of a tree onto a device context, one text line per entity,
// scaled from screen pixels to device pixels.
class VX_API TvxPrintTree : public TObject {
public:
  // theRows: in, rows to print (negative: all); out, rows printed. With a
  // page height (device pixels, -1: none) the rows stop where the next would
  // cross it, and theSizeCallBack hears of the entity that did not fit.
  static void Print(TvxTree_ComBasic* Tree, HDC DC, int X, int Y, double ScaleX, double ScaleY, int Width,
                    TvxDataEntity_Tree* StartRow, int& theRows, bool ExpandAll, int& PrintedWidth, int& PrintedHeight,
                    int PageHeight = -1, const TOnSizeCallBack& SizeCallBack = {});

  void PrintDynamic(TvxTree_ComBasic* Tree, HDC DC, int X, int Y, double ScaleX, double ScaleY, int Width,
                    TvxDataEntity_Tree* StartRow, int& theRows, bool ExpandAll, int& PrintedWidth, int& PrintedHeight,
                    int PageHeight, const TOnSizeCallBack& SizeCallBack);
  int CalcRowsToPrint();
  void PrintRows();
  bool CheckIfItemShouldPrint(TvxDataEntity_Tree* Entity);
  void printItem(TvxDataEntity_Tree* Entity);
  // The height of one row in screen pixels.
  int RowHeight() const noexcept { return fRowHeight; }
  // Rows a print from theStartRow (nil: the first) would take, counting no
  // further than theLimit (negative: all).
  static int CountPrintRows(TvxTree_ComBasic* Tree, TvxDataEntity_Tree* theStartRow, bool ExpandAll, int theLimit);
  // The row height the tree prints at, in screen pixels.
  static int PrintRowHeight(TvxTree_ComBasic* Tree);

  // Told of every entity as it goes on paper (the Gantt chart draws the
  // rows beside them).
  std::function<void(TvxDataEntity_Tree*)> fOnItemPrinted;

  // The entity printed after theEntity: its first child when it shows its
  // children, else the next sibling of it or of the nearest ancestor.
  TvxDataEntity_Tree* NextInPrintOrder(TvxDataEntity_Tree* theEntity) const;

private:
  int CountRows(TvxDataEntity_Tree* theFrom, int theLimit) const;

  int FPrintx = 0, FPrinty = 0;
  double FPrintScalex = 1, FPrintScaley = 1;
  TCanvas* fTemporaryPrintingCanvas = nullptr;
  bool fExpandAll = false;
  int fRowsToPrint = -1;
  TvxDataEntity_Tree* fStartRow = nullptr;
  TvxTree_ComBasic* fTree = nullptr;
  int fRowCount = 0;
  int fRowHeight = 18;
  bool fPrintStarted = false;
  int fPageHeight = -1;
  TOnSizeCallBack fSizeCallBack;
  bool fPageFull = false;
};

}  // namespace vx
