#include <vxplan/printing/vxGridPrinting.h>

#include <algorithm>

#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/rtl/Math.h>

namespace vx {

TvxGridPrinting::~TvxGridPrinting() { ResetAfterPrint(); }

int TvxGridPrinting::HeaderHeight(TvxGrid* Grid) {
  if (!Grid) return 0;
  TBabGridCellForViewer* g = Grid->GetBabGridCellForViewer();
  int h = Grid->GetBorderStyle() == bsSingle ? 1 : 0;
  TAxisContentList* rows = g->GetAxisContentListY();
  for (int k = 0; k < rows->FixedLoaded(); ++k) {
    TAxisContentItem* item = rows->getLoadedAxisContentItem(k);
    if (!item->GetHide()) h += item->GetCalculatedSize();
  }
  return h;
}

void TvxGridPrinting::Print(TvxGrid* Grid, HDC DC, int X, int Y, double ScaleX, double ScaleY, TBabCell* StartCell,
                            int RowCount, int Width, int& PrintedWidth, int& PrintedHeight, int PageWidth,
                            int PageHeight, const TOnSizeCallBack& SizeCallBack, int& RowsPrinted) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  TvxGridPrinting printer;
  printer.BeforePrintAndPrint(Grid, DC, X, Y, ScaleX, ScaleY, StartCell, RowCount, Width, PrintedWidth,
                              PrintedHeight, PageWidth, PageHeight, SizeCallBack, RowsPrinted);
  printer.ResetAfterPrint();
}

void TvxGridPrinting::CountRows(int theFirst, int RowCount, int Y, double ScaleY, int PageHeight,
                                const TOnSizeCallBack& SizeCallBack) {
  TAxisContentList* rows = fGrid->GetBabGridCellForViewer()->GetAxisContentListY();
  const bool limited = PageHeight >= 0;
  int extent = 0;
  TAxisContentItem* lastFitted = nullptr;
  for (int y = theFirst; y < rows->Count(); ++y) {
    if (RowCount >= 0 && static_cast<int>(fRows.size()) >= RowCount) break;
    TAxisContentItem* item = rows->getAxisContentItem(y);
    if (!item || item->GetHide() || item->GetCalculatedSize() <= 0) continue;
    int bottom = extent + item->GetCalculatedSize();
    const bool over = limited && Y + Round((fHeader + bottom) * ScaleY) > PageHeight;
    if (over && !fRows.empty()) {
      if (SizeCallBack) SizeCallBack(false, Y + Round((fHeader + extent) * ScaleY), lastFitted);
      DropGoneRows();  // rows the callback dropped are not printed
      break;
    }
    // A row taller than the page still takes a page of its own, cut at its
    // bottom: a page without a row would never let a paging loop move on.
    if (over) bottom = std::clamp(static_cast<int>((PageHeight - Y) / ScaleY) - fHeader, 1, bottom);
    fHeldRows.Add(item);
    fRows.push_back({item, extent, bottom});
    extent = bottom;
    lastFitted = item;
    if (over) {
      if (SizeCallBack) SizeCallBack(false, Y + Round((fHeader + extent) * ScaleY), lastFitted);
      DropGoneRows();
      break;
    }
  }
}

void TvxGridPrinting::BeforePrintAndPrint(TvxGrid* Grid, HDC DC, int X, int Y, double ScaleX, double ScaleY,
                                          TBabCell* StartCell, int RowCount, int Width, int& PrintedWidth,
                                          int& PrintedHeight, int, int PageHeight, const TOnSizeCallBack& SizeCallBack,
                                          int& RowsPrinted) {
  ResetAfterPrint();
  PrintedWidth = PrintedHeight = RowsPrinted = 0;
  if (!Grid || !DC || Grid->IsDestroying() || !(ScaleX > 0) || !(ScaleY > 0)) return;
  TBabGridCellForViewer* g = Grid->GetBabGridCellForViewer();
  // Layout work still waiting is done first, so the grid is taken and put
  // back as laid out.
  TDoLater::DoAllNow();
  fGrid = Grid;
  fTop = g->GetTop();
  fLeft = g->GetLeft();
  fFontSize = Grid->GetFont()->GetSize();
  fBounds = Grid->GetBoundsRect();
  Grid->BeginPrint();

  TAxisContentItem* start = StartCell ? StartCell->GetAxisContentItemY() : nullptr;
  const int first = start && start->GetAxisContentList() == g->GetAxisContentListY() ? start->ListIndex()
                                                                                      : g->GetFixedRows();
  g->SetTop(first);
  g->SetLeft(g->GetFixedCols());
  // Laid out once at about a page's height, so that the rows to count know
  // their heights (nested grids, wrapped texts).
  const int width = std::max(Width, 1);
  const int page = PageHeight >= 0 ? Round((PageHeight - Y) / ScaleY) : 10000;
  Grid->SetSizeDontTell(Rect(fBounds.Left, fBounds.Top, fBounds.Left + width, fBounds.Top + std::clamp(page, 1, 10000)));
  Grid->UpdateLayout();
  fHeader = HeaderHeight(Grid);
  CountRows(first, RowCount, Y, ScaleY, PageHeight, SizeCallBack);
  RowsPrinted = static_cast<int>(fRows.size());
  const int extent = fRows.empty() ? 0 : fRows.back().fBottom;
  // Exactly the header and the counted rows (the border below the last).
  const int border = Grid->GetBorderStyle() == bsSingle ? 1 : 0;
  Grid->SetSizeDontTell(Rect(fBounds.Left, fBounds.Top, fBounds.Left + width, fBounds.Top + fHeader + extent + border));
  Grid->Print(DC, X, Y, ScaleX, ScaleY, true);
  DropGoneRows();  // painting calls out too
  PrintedWidth = Round(width * ScaleX);
  PrintedHeight = Round((fHeader + extent) * ScaleY);
}

void TvxGridPrinting::DropGoneRows() {
  fRows.erase(std::remove_if(fRows.begin(), fRows.end(), [](const TPrintedRow& r) { return r.fItem->IsFreePending(); }),
              fRows.end());
}

void TvxGridPrinting::ResetAfterPrint() {
  if (!fGrid) return;
  fRows.clear();
  fHeldRows.Clear();
  TvxGrid* grid = fGrid;
  fGrid = nullptr;
  if (grid->IsDestroying()) return;
  TBabGridCellForViewer* g = grid->GetBabGridCellForViewer();
  grid->GetFont()->SetSize(fFontSize);
  grid->SetSizeDontTell(fBounds);
  g->SetLeft(fLeft);
  g->SetTop(fTop);
  grid->EndPrint();
  grid->UpdateLayout();
}

}  // namespace vx
