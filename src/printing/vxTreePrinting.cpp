#include <vxplan/printing/vxTreePrinting.h>

#include <vxplan/core/vxHolding.h>
#include <vxplan/paint/vxGraphStuff.h>
#include <vxplan/platform/rtl/Math.h>

namespace vx {

void TvxPrintTree::Print(TvxTree_ComBasic* Tree, HDC DC, int X, int Y, double ScaleX, double ScaleY, int Width,
                         TvxDataEntity_Tree* StartRow, int& theRows, bool ExpandAll, int& PrintedWidth,
                         int& PrintedHeight, int PageHeight, const TOnSizeCallBack& SizeCallBack) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  TvxPrintTree printer;
  printer.PrintDynamic(Tree, DC, X, Y, ScaleX, ScaleY, Width, StartRow, theRows, ExpandAll, PrintedWidth,
                       PrintedHeight, PageHeight, SizeCallBack);
}

void TvxPrintTree::PrintDynamic(TvxTree_ComBasic* Tree, HDC DC, int X, int Y, double ScaleX, double ScaleY, int Width,
                                TvxDataEntity_Tree* StartRow, int& theRows, bool ExpandAll, int& PrintedWidth,
                                int& PrintedHeight, int PageHeight, const TOnSizeCallBack& SizeCallBack) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  PrintedWidth = PrintedHeight = 0;
  if (!Tree || !DC) {
    theRows = 0;
    return;
  }
  FPrintx = X;
  FPrinty = Y;
  FPrintScalex = ScaleX;
  FPrintScaley = ScaleY;
  fExpandAll = ExpandAll;
  fRowsToPrint = theRows;
  fStartRow = StartRow;
  fTree = Tree;
  fPageHeight = PageHeight;
  fSizeCallBack = SizeCallBack;
  Tree->EnsureDisplayUpToDate();
  fRowHeight = PrintRowHeight(Tree);

  // No more rows than the page holds, than asked for, or than there are.
  const int fit = fPageHeight >= 0 ? std::max(0, static_cast<int>((fPageHeight - Y) / (fRowHeight * ScaleY))) : -1;
  int limit = fit;
  if (fRowsToPrint >= 0) limit = fit >= 0 ? std::min(fit, fRowsToPrint) : fRowsToPrint;
  const int rows = CountRows(fStartRow, limit);
  PrintedWidth = Round(Width * ScaleX);
  PrintedHeight = Round(rows * fRowHeight * ScaleY);

  {
    TDeviceState device(DC, Point(X, Y));
    TCanvas canvas;
    canvas.SetHandle(DC);
    fTemporaryPrintingCanvas = &canvas;
    DC->SelectClipRect(Rect(X, Y, X + PrintedWidth, Y + PrintedHeight));
    struct TForget {
      TvxPrintTree* p;
      TCanvas& c;
      ~TForget() {
        c.SetHandle(nullptr);
        p->fTemporaryPrintingCanvas = nullptr;
      }
    } forget{this, canvas};
    PrintRows();
  }
  theRows = fRowCount;
}

int TvxPrintTree::PrintRowHeight(TvxTree_ComBasic* Tree) {
  // A tree that sets its own row height (the Gantt chart's) prints at it.
  if (Tree->HasFixedItemHeight()) return Tree->GetItemHeight();
  return Tree->GetImages() ? Tree->GetImages()->GetHeight() + 2 : 18;
}

int TvxPrintTree::CountPrintRows(TvxTree_ComBasic* Tree, TvxDataEntity_Tree* theStartRow, bool ExpandAll,
                                 int theLimit) {
  if (!Tree) return 0;
  TvxPrintTree printer;
  printer.fTree = Tree;
  printer.fExpandAll = ExpandAll;
  return printer.CountRows(theStartRow, theLimit);
}

TvxDataEntity_Tree* TvxPrintTree::NextInPrintOrder(TvxDataEntity_Tree* theEntity) const {
  TvxDataList* sub = theEntity->PeekSubDataList();
  if ((fExpandAll || theEntity->GetExpanded()) && sub && sub->Count() > 0)
    return static_cast<TvxDataEntity_Tree*>(sub->GetItems(0));
  for (TvxDataEntity_Tree* e = theEntity; e; e = e->ParentNode()) {
    TvxDataList* list = e->GetDataList();
    const int i = e->ListIndex();
    if (list && i >= 0 && i + 1 < list->Count()) return static_cast<TvxDataEntity_Tree*>(list->GetItems(i + 1));
  }
  return nullptr;
}

int TvxPrintTree::CountRows(TvxDataEntity_Tree* theFrom, int theLimit) const {
  TvxDataList* roots = fTree->GetRootDataList();
  TvxDataEntity_Tree* e = theFrom ? theFrom : static_cast<TvxDataEntity_Tree*>(roots->GetItems(0));
  int n = 0;
  for (; e && (theLimit < 0 || n < theLimit); e = NextInPrintOrder(e)) ++n;
  return n;
}

int TvxPrintTree::CalcRowsToPrint() { return fRowsToPrint >= 0 ? fRowsToPrint : CountRows(fStartRow, -1); }

void TvxPrintTree::PrintRows() {
  fRowCount = 0;
  fPrintStarted = false;
  fPageFull = false;
  // From the first row to print on, in print order: the rows before it are
  // not walked.
  TvxDataList* roots = fTree->GetRootDataList();
  TvxDataEntity_Tree* e = fStartRow ? fStartRow : static_cast<TvxDataEntity_Tree*>(roots->GetItems(0));
  while (e && !fPageFull && (fRowsToPrint < 0 || fRowCount < fRowsToPrint)) {
    // The page and item callbacks may free entities: the walk holds the one
    // it stands on, and ends where that one went (its place is gone).
    TvxHeld<TvxDataEntity_Tree> held(e);
    printItem(e);
    if (!held) break;
    e = NextInPrintOrder(e);
  }
}

bool TvxPrintTree::CheckIfItemShouldPrint(TvxDataEntity_Tree* Entity) {
  if (!fPrintStarted) {
    fPrintStarted = !fStartRow || Entity == fStartRow;
    if (!fPrintStarted) return false;
  }
  return fRowsToPrint < 0 || fRowCount < fRowsToPrint;
}

void TvxPrintTree::printItem(TvxDataEntity_Tree* Entity) {
  if (fPageFull) return;
  if (CheckIfItemShouldPrint(Entity)) {
    const int y = Round(fRowCount * fRowHeight * FPrintScaley);
    const int bottom = Round((fRowCount + 1) * fRowHeight * FPrintScaley);
    if (fPageHeight >= 0 && FPrinty + bottom > fPageHeight) {
      // The page is full: this entity opens the next one.
      fPageFull = true;
      if (fSizeCallBack) fSizeCallBack(false, FPrinty + y, Entity);
      return;
    }
    int x = Round(Entity->GetLevel() * fTree->GetIndent() * FPrintScalex);
    TCanvas* c = fTemporaryPrintingCanvas;
    if (TCustomImageList* images = fTree->GetImages(); images && Entity->GetImageIndex() >= 0) {
      const int w = Round(images->GetWidth() * FPrintScalex), h = Round(images->GetHeight() * FPrintScaley);
      GStuff::PrintBitmap_ImageList(c, Rect(x, y, x + w, y + h), images, Entity->GetImageIndex());
      x += w + 3;
    }
    c->GetFont()->SetName(Entity->GetFontName().empty() ? fTree->GetFont()->GetName() : Entity->GetFontName());
    c->GetFont()->SetStyle(Entity->GetFontStyle());
    c->GetFont()->SetColor(clBlack);
    // The tree's font in screen pixels, scaled as the rows are, whatever the device's resolution.
    c->GetFont()->SetHeight(Round(fTree->GetFont()->GetHeight() * FPrintScaley));
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(x, y, Entity->GetText());
    ++fRowCount;
    if (fOnItemPrinted) fOnItemPrinted(Entity);
  }
}

}  // namespace vx
