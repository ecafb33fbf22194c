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

namespace {

// Rows past the grid's last one are blank and of the grid's smallest height.
constexpr int kBlankRowHeight = 20;
// The grid is laid out this high for a block without a page limit; a block
// never grows past it, so one print call cannot load a huge virtual grid.
constexpr int kWorkingHeight = 10000;
constexpr int kMaxWorkingHeight = 10 * kWorkingHeight;

}  // namespace

int TvxGridPrinting::WorkingHeight(int Y, double ScaleY, int PageHeight, bool theLimited) {
  if (!theLimited) return kWorkingHeight;
  // Past the page by a margin, so that the row crossing the page is laid out.
  const double page = (static_cast<double>(PageHeight) - Y) / ScaleY + 100;
  return static_cast<int>(std::clamp(page, 1.0, static_cast<double>(kMaxWorkingHeight)));
}

void TvxGridPrinting::CountRows(int theFirst, int RowCount, int Y, double ScaleY, int PageHeight, bool theLimited,
                                int theWorkingHeight, const TOnSizeCallBack& SizeCallBack) {
  TAxisContentList* rows = fGrid->GetBabGridCellForViewer()->GetAxisContentListY();
  const auto wanted = [&] { return RowCount < 0 || static_cast<int>(fRows.size()) < RowCount; };
  const auto crosses = [&](int theBottom) {
    return theLimited && Y + Round((fHeader + theBottom) * ScaleY) > PageHeight;
  };
  const auto report = [&](TAxisContentItem* theLastFitted, int theExtent) {
    if (SizeCallBack && theLastFitted) SizeCallBack(false, Y + Round((fHeader + theExtent) * ScaleY), theLastFitted);
    DropGoneRows();  // rows the callback dropped are not printed
  };
  int extent = 0;
  TAxisContentItem* lastFitted = nullptr;
  int y = theFirst;
  for (; y < rows->Count() && wanted(); ++y) {
    TAxisContentItem* item = rows->getAxisContentItem(y);
    if (!item || item->GetHide()) continue;
    // A row the layout did not reach lies past the working height: the block
    // ends there, and a paging caller goes on from the last row taken.
    if (!item->GetIsOnScreen()) return report(lastFitted, extent);
    if (item->GetCalculatedSize() <= 0) continue;
    int bottom = extent + item->GetCalculatedSize();
    const bool over = crosses(bottom);
    if (over && !fRows.empty()) return report(lastFitted, extent);
    // A row taller than the page still takes a page of its own, cut at its
    // bottom: a page without a row would never let a paging loop move on.
    if (over) bottom = std::clamp(static_cast<int>((PageHeight - Y) / ScaleY) - fHeader, 1, bottom);
    fHeldRows.Add(item);
    fRows.push_back({item, extent, bottom});
    extent = bottom;
    lastFitted = item;
    if (over) return report(lastFitted, extent);
  }
  // A row count past the last row is made up with blank rows, up to the page.
  if (y < rows->Count() || RowCount < 0) return;
  while (wanted() && extent + kBlankRowHeight <= theWorkingHeight && !crosses(extent + kBlankRowHeight)) {
    fRows.push_back({nullptr, extent, extent + kBlankRowHeight});
    extent += kBlankRowHeight;
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
  // The page limit needs somebody to hear of the break; without one the block
  // runs to the working height. A page width alone limits nothing here: the
  // block is as wide as the caller asks.
  const bool limited = SizeCallBack && PageHeight >= 0;
  const int width = std::max(Width, 1);
  const int working = WorkingHeight(Y, ScaleY, PageHeight, limited);
  Grid->SetSizeDontTell(Rect(fBounds.Left, fBounds.Top, fBounds.Left + width, fBounds.Top + working));
  Grid->UpdateLayout();
  fHeader = HeaderHeight(Grid);
  CountRows(first, RowCount, Y, ScaleY, PageHeight, limited, working, SizeCallBack);
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
  fRows.erase(std::remove_if(fRows.begin(), fRows.end(),
                             [](const TPrintedRow& r) { return r.fItem && r.fItem->IsFreePending(); }),
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
