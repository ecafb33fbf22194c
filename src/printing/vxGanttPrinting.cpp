#include <vxplan/printing/vxGanttPrinting.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/printing/vxGridPrinting.h>
#include <vxplan/printing/vxTreePrinting.h>

namespace vx {

struct TvxPrintGantt::TBlock {
  int x = 0, y = 0;
  double scaleX = 1, scaleY = 1;
  int leftWidth = 0;
  bool grid = false;  // the grid as left side, else the tree
  // Held: page handlers run between pages and may delete them.
  TvxHeld<TvxDataEntity_Tree> startRow;
  TvxHeld<TvxDataEntity_GridTreeNode> startNode;
  int rowCount = -1;
  bool expandAll = false;
  TDateTime start = 0, stop = 0;
  int areaWidth = 0, scalerHeight = 0;
  int pageWidth = -1, pageHeight = -1;
  TOnSizeCallBack sizeCallBack;
  bool expandRows = true;  // open collapsed rows for this block (not when the job did)
};

namespace {

// Holds a chart in its printing shape (time axis and area sized for paper,
// the axis on the printed span) and puts everything back when it goes, also
// after a failure.
class TChartOnPaper {
public:
  explicit TChartOnPaper(TvxGant_ComBasic* theGant)
      : fGant(theGant),
        fScaler(theGant->GetDateScaler()),
        fStart(fScaler->GetStart()),
        fStop(fScaler->GetStop()),
        fScalerBounds(fScaler->GetBoundsRect()),
        fAreaBounds(theGant->GetGA()->GetBoundsRect()) {
    fGant->BeginUpdate();
  }
  TChartOnPaper(const TChartOnPaper&) = delete;
  TChartOnPaper& operator=(const TChartOnPaper&) = delete;

  void ShapeAxis(TDateTime theStart, TDateTime theStop, int theWidth, int theHeight) {
    const TRect& b = fScalerBounds;
    fScaler->SetSizeDontTell(Rect(b.Left, b.Top, b.Left + std::max(theWidth, 1), b.Top + std::max(theHeight, 0)));
    if (theStart < theStop) {
      fScaler->SetStart(theStart);
      fScaler->SetStop(theStop);
    }
    fScaler->CalcDrawMode();
  }
  void ShapeArea(int theWidth, int theHeight) {
    const TRect& b = fAreaBounds;
    fGant->GetGA()->SetSizeDontTell(Rect(b.Left, b.Top, b.Left + std::max(theWidth, 1), b.Top + std::max(theHeight, 0)));
  }

  ~TChartOnPaper() {
    fGant->GetGA()->SetSizeDontTell(fAreaBounds);
    fScaler->SetSizeDontTell(fScalerBounds);
    fScaler->SetStart(fStart);
    fScaler->SetStop(fStop);
    fScaler->CalcDrawMode();
    fGant->EndUpdate();
    fScaler->Invalidate();
  }

private:
  TvxGant_ComBasic* fGant;
  TvxDateScaler* fScaler;
  TDateTime fStart, fStop;
  TRect fScalerBounds, fAreaBounds;
};

// The height of a row of the left side the chart shows, in screen pixels: the
// tree's, or the grid's first row's.
int RowHeightOnPaper(TvxGant_ComBasic* theGant) {
  if (!theGant->GetUseGridNotTree() || !theGant->GetGrid()) return TvxPrintTree::PrintRowHeight(theGant->GetTreeView());
  TBabGridCellForViewer* g = theGant->GetGrid()->GetBabGridCellForViewer();
  TAxisContentList* rows = g->GetAxisContentListY();
  for (int k = rows->FixedLoaded(); k < rows->LoadedCount(); ++k) {
    TAxisContentItem* item = rows->getLoadedAxisContentItem(k);
    if (!item->GetHide() && item->GetCalculatedSize() > 0) return item->GetCalculatedSize();
  }
  return 18;
}

// Bands of rows the grid side fills, walking the rows' heights.
int GridBands(TvxGant_ComBasic* theGant, int theRowsHeight) {
  TAxisContentList* rows = theGant->GetGrid()->GetBabGridCellForViewer()->GetAxisContentListY();
  int bands = 1, used = 0;
  for (int y = theGant->GetGrid()->GetBabGridCellForViewer()->GetFixedRows(); y < rows->Count(); ++y) {
    TAxisContentItem* item = rows->getAxisContentItem(y);
    if (!item || item->GetHide() || item->GetCalculatedSize() <= 0) continue;
    if (used > 0 && used + item->GetCalculatedSize() > theRowsHeight) {
      ++bands;
      used = 0;
    }
    used += item->GetCalculatedSize();
  }
  return bands;
}

// Rows opened for printing, closed again when it goes (also after a failure).
struct TOpenedRows {
  TvxGant_ComBasic* gant;
  std::vector<TvxDataEntity*> list;
  explicit TOpenedRows(TvxGant_ComBasic* theGant) : gant(theGant) {}
  TOpenedRows(const TOpenedRows&) = delete;
  TOpenedRows& operator=(const TOpenedRows&) = delete;
  ~TOpenedRows() { TvxPrintGantt::Collapse(gant, true, list); }
};

// Where the chart goes on each sheet: the printable block in device pixels
// and the chart's parts in screen pixels.
struct TSheet {
  int x = 0, y = 0, width = 0, height = 0;
  double scale = 1;
  int leftWidth = 0, areaWidth = 0, scalerHeight = 0;
  int rowsPerPage = 0;
};

TSheet SheetFor(TvxGant_ComBasic* theGant, int theDpi, int theWidth, int theHeight, const TPrintSetup& theSetup) {
  TSheet s;
  const int margin = theSetup.MarginPixels(theDpi);
  s.scale = theDpi / 96.0;  // screen pixels are 1/96 inch
  s.x = s.y = margin;
  s.width = ClampToInt(static_cast<long long>(theWidth) - 2LL * margin);
  s.height = ClampToInt(static_cast<long long>(theHeight) - 2LL * margin);
  if (s.width <= 0 || s.height <= 0) return s;  // margins wider than the paper: nothing fits
  const int screenWidth = static_cast<int>(s.width / s.scale);
  // The left side as wide as on screen, but never more than half the paper.
  s.leftWidth = std::clamp(theGant->GetTreeWidth(), 0, std::max(screenWidth / 2, 0));
  s.areaWidth = screenWidth - s.leftWidth;
  s.scalerHeight = theGant->GetScalerHeight();
  const double rowHeight = RowHeightOnPaper(theGant) * s.scale;
  const int below = s.height - Round(s.scalerHeight * s.scale);
  s.rowsPerPage = rowHeight > 0 && below > 0 ? static_cast<int>(below / rowHeight) : 0;
  return s;
}

// Whether the paper holds at least one row of the chart over some time.
bool SheetUsable(TvxGant_ComBasic* theGant, int theDpi, int theWidth, int theHeight, const TPrintSetup& theSetup) {
  if (!theGant || theGant->IsDestroying() || theDpi <= 0 || !theSetup.Usable()) return false;
  const TSheet sheet = SheetFor(theGant, theDpi, theWidth, theHeight, theSetup);
  return sheet.rowsPerPage > 0 && sheet.areaWidth >= 1 && !TimeSpansForPages(theGant->GetDateScaler(), theSetup, sheet.areaWidth).empty();
}

}  // namespace

TvxPrintGantt::TBlock TvxPrintGantt::MakeBlock(int X, int Y, double ScaleX, double ScaleY, int LeftWidth,
                                               TvxDataEntity_Tree* StartRow, int RowCount, bool ExpandAll,
                                               TDateTime PrintStart, TDateTime PrintStop, int AreaWidth,
                                               int ScalerHeight, int PageWidth, int PageHeight) {
  TBlock b;
  b.x = X;
  b.y = Y;
  b.scaleX = ScaleX;
  b.scaleY = ScaleY;
  b.leftWidth = LeftWidth;
  b.startRow.Reset(StartRow);
  b.rowCount = RowCount;
  b.expandAll = ExpandAll;
  b.start = PrintStart;
  b.stop = PrintStop;
  b.areaWidth = AreaWidth;
  b.scalerHeight = ScalerHeight;
  b.pageWidth = PageWidth;
  b.pageHeight = PageHeight;
  return b;
}

void TvxPrintGantt::Expand(TvxGant_ComBasic* Gant, bool ExpandAll, std::vector<TvxDataEntity*>& theList, bool theGrid) {
  if (!ExpandAll || !Gant) return;
  // The rows as they are now; rows that opening adds print through the
  // left side's own walk.
  std::vector<TvxDataEntity*> collapsed;
  Gant->GetRowList()->ForEachRow([&](TGantRow* row) {
    if (theGrid) {
      TvxDataEntity_GridTreeNode* n = row->GetGridTreeNode();
      if (n && !n->GetExpanded() && n->GetSubDataListCount() > 0) collapsed.push_back(n);
    } else {
      TvxDataEntity_Tree* e = row->GetTreeNode();
      if (e && !e->GetExpanded() && e->PeekSubDataList() && e->PeekSubDataList()->Count() > 0) collapsed.push_back(e);
    }
  });
  for (TvxDataEntity* e : collapsed) {
    SetExpandedOf(e, true);
    theList.push_back(e);
  }
}

void TvxPrintGantt::Collapse(TvxGant_ComBasic* Gant, bool ExpandAll, std::vector<TvxDataEntity*>& theList) {
  if (!ExpandAll || !Gant) return;
  for (TvxDataEntity* e : theList) SetExpandedOf(e, false);
  theList.clear();
}

void TvxPrintGantt::SetExpandedOf(TvxDataEntity* theNode, bool theValue) {
  if (auto* e = dynamic_cast<TvxDataEntity_Tree*>(theNode))
    e->SetExpanded(theValue);
  else if (auto* n = dynamic_cast<TvxDataEntity_GridTreeNode*>(theNode))
    n->SetExpanded(theValue);
}

void TvxPrintGantt::InternalPrintLoop(TvxGant_ComBasic* Gant, HDC DC, int X, int Y, double ScaleX, double ScaleY,
                                      int LeftWidth, TvxDataEntity_Tree* StartRow, int RowCount, bool ExpandAll,
                                      TDateTime PrintStart, TDateTime PrintStop, int AreaWidth, int ScalerHeight,
                                      int& PrintedWidth, int& PrintedHeight, int PageWidth, int PageHeight,
                                      const TOnSizeCallBack& SizeCallBack, int& theRowsPrinted, bool theGrid,
                                      TvxDataEntity_GridTreeNode* theGridStartRow) {
  TBlock b = MakeBlock(X, Y, ScaleX, ScaleY, LeftWidth, StartRow, RowCount, ExpandAll, PrintStart, PrintStop,
                       AreaWidth, ScalerHeight, PageWidth, PageHeight);
  b.sizeCallBack = SizeCallBack;
  b.grid = theGrid;
  b.startNode.Reset(theGridStartRow);
  PrintBlock(Gant, DC, b, PrintedWidth, PrintedHeight, theRowsPrinted);
}

// The page's rows placed for the area, and put back on screen when it goes.
class TvxPrintGantt::TRowsOnPaper {
public:
  TRowsOnPaper(TvxGant_ComBasic* theGant, bool theGrid) : fSide(theGant->GetSide(theGrid)) {
    fSide->PrintRows().Begin();
  }
  TRowsOnPaper(const TRowsOnPaper&) = delete;
  TRowsOnPaper& operator=(const TRowsOnPaper&) = delete;
  ~TRowsOnPaper() {
    for (const TGantPrintRows::TPlace& place : fSide->PrintRows().End()) {
      // A node deleted while the page was drawn has no row left.
      if (TGantRow* row = fSide->RowOfNode(place.fNode.Get())) row->UpdateRect();
    }
  }

private:
  TGantSide* fSide;
};

void TvxPrintGantt::PrintTreeSide(TvxGant_ComBasic* Gant, HDC DC, const TBlock& b, int& theWidth, int& theHeight,
                                  int& theRows) {
  TGantPrintRows& rows = Gant->GetSide(false)->PrintRows();
  TvxPrintTree tree;
  const int h = TvxPrintTree::PrintRowHeight(Gant->GetTreeView());
  tree.fOnItemPrinted = [&rows, h](TvxDataEntity_Tree* e) {
    const int top = rows.Count() * h;
    rows.Add(e, top, top + h);
  };
  theRows = b.rowCount;
  tree.PrintDynamic(Gant->GetTreeView(), DC, b.x, b.y + Round(b.scalerHeight * b.scaleY), b.scaleX, b.scaleY,
                    b.leftWidth, b.startRow.Get(), theRows, b.expandAll, theWidth, theHeight, b.pageHeight, b.sizeCallBack);
}

void TvxPrintGantt::PrintGridSide(TvxGant_ComBasic* Gant, HDC DC, const TBlock& b, TvxGridPrinting& thePrinter,
                                  int& theWidth, int& theHeight, int& theRows) {
  TvxGrid* grid = Gant->GetGrid();
  TBabGridCellForViewer* g = grid->GetBabGridCellForViewer();
  TAxisContentItem* item = b.startNode.Get() ? b.startNode.Get()->GetAxisContentItem() : nullptr;
  TBabCell* start = item && item->GetAxisContentList() == g->GetAxisContentListY()
                        ? g->getCell(g->GetFixedCols(), item->ListIndex())
                        : nullptr;
  // The grid's header ends where the time axis ends.
  const int header = TvxGridPrinting::HeaderHeight(grid);
  const int y = b.y + Round((b.scalerHeight - header) * b.scaleY);
  thePrinter.BeforePrintAndPrint(grid, DC, b.x, y, b.scaleX, b.scaleY, start, b.rowCount, b.leftWidth, theWidth,
                                 theHeight, b.pageWidth, b.pageHeight, b.sizeCallBack, theRows);
  theHeight = std::max(0, theHeight - Round(header * b.scaleY));
  for (const TvxGridPrinting::TPrintedRow& r : thePrinter.GetPrintedRows())
    if (TvxDataEntity_GridTreeNode* node = TvxGridTree::NodeOfRow(r.fItem)) Gant->GetSide(true)->PrintRows().Add(node, r.fTop, r.fBottom);
}

void TvxPrintGantt::PrintBlock(TvxGant_ComBasic* Gant, HDC DC, const TBlock& b, int& PrintedWidth,
                               int& PrintedHeight, int& theRowsPrinted) {
  PrintedWidth = PrintedHeight = theRowsPrinted = 0;
  if (!Gant || !DC || Gant->IsDestroying() || !(b.scaleX > 0) || !(b.scaleY > 0)) return;
  if (b.grid && !Gant->GetGrid()) return;
  // A page that was to start at a row deleted meanwhile has nothing to print.
  if (b.startRow.Gone() || b.startNode.Gone()) return;
  // Layout work still waiting (a tree to synchronise, a scroll bar to show)
  // is done first, so that the chart is taken and put back as laid out.
  TDoLater::DoAllNow();
  TOpenedRows opened(Gant);
  TChartOnPaper paper(Gant);
  TRowsOnPaper rows(Gant, b.grid);
  TvxGridPrinting gridPrinter;

  paper.ShapeAxis(b.start, b.stop, b.areaWidth, b.scalerHeight);
  if (b.expandRows) Expand(Gant, b.expandAll, opened.list, b.grid);

  // The left side first: it decides which rows the page holds.
  int leftWidth = 0, leftHeight = 0;
  if (b.grid)
    PrintGridSide(Gant, DC, b, gridPrinter, leftWidth, leftHeight, theRowsPrinted);
  else
    PrintTreeSide(Gant, DC, b, leftWidth, leftHeight, theRowsPrinted);

  const int areaX = b.x + Round(b.leftWidth * b.scaleX);
  Gant->GetDateScaler()->Print(DC, areaX, b.y, b.scaleX, b.scaleY, true);
  paper.ShapeArea(b.areaWidth, Round(leftHeight / b.scaleY));
  if (leftHeight > 0) Gant->GetGA()->Print(DC, areaX, b.y + Round(b.scalerHeight * b.scaleY), b.scaleX, b.scaleY, true);

  PrintedWidth = Round(b.areaWidth * b.scaleX) + leftWidth;
  PrintedHeight = Round(b.scalerHeight * b.scaleY) + leftHeight;
}

void TvxPrintGantt::Print(TvxGant_ComBasic* Gant, HDC DC, int X, int Y, double ScaleX, double ScaleY, int LeftWidth,
                          TvxDataEntity_Tree* StartRow, int RowCount, bool ExpandAll, TDateTime PrintStart,
                          TDateTime PrintStop, int AreaWidth, int ScalerHeight, int& PrintedWidth, int& PrintedHeight,
                          int PageWidth, int PageHeight, const TOnSizeCallBack& SizeCallBack) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  TBlock b = MakeBlock(X, Y, ScaleX, ScaleY, LeftWidth, StartRow, RowCount, ExpandAll, PrintStart, PrintStop,
                       AreaWidth, ScalerHeight, PageWidth, PageHeight);
  InternalPrint(Gant, DC, b, PrintedWidth, PrintedHeight, SizeCallBack);
}

void TvxPrintGantt::PrintWithGrid(TvxGant_ComBasic* Gant, HDC DC, int X, int Y, double ScaleX, double ScaleY,
                                  int LeftWidth, TvxDataEntity_GridTreeNode* StartRow, int RowCount, bool ExpandAll,
                                  TDateTime PrintStart, TDateTime PrintStop, int AreaWidth, int ScalerHeight,
                                  int& PrintedWidth, int& PrintedHeight, int PageWidth, int PageHeight,
                                  const TOnSizeCallBack& SizeCallBack) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  TBlock b = MakeBlock(X, Y, ScaleX, ScaleY, LeftWidth, nullptr, RowCount, ExpandAll, PrintStart, PrintStop,
                       AreaWidth, ScalerHeight, PageWidth, PageHeight);
  b.grid = true;
  b.startNode.Reset(StartRow);
  InternalPrint(Gant, DC, b, PrintedWidth, PrintedHeight, SizeCallBack);
}

TvxDataEntity_GridTreeNode* TvxPrintGantt::NextGridNodeAfter(TvxGant_ComBasic* Gant, TObject* theRow) {
  auto* item = dynamic_cast<TAxisContentItem*>(theRow);
  TAxisContentList* rows = Gant->GetGrid() ? Gant->GetGrid()->GetBabGridCellForViewer()->GetAxisContentListY() : nullptr;
  if (!item || !rows || item->GetAxisContentList() != rows) return nullptr;
  for (int y = item->ListIndex() + 1; y < rows->Count(); ++y) {
    TAxisContentItem* next = rows->getAxisContentItem(y);
    if (next && !next->GetHide())
      if (TvxDataEntity_GridTreeNode* node = TvxGridTree::NodeOfRow(next)) return node;
  }
  return nullptr;
}

void TvxPrintGantt::InternalPrint(TvxGant_ComBasic* Gant, HDC DC, TBlock b, int& PrintedWidth, int& PrintedHeight,
                                  const TOnSizeCallBack& SizeCallBack) {
  PrintedWidth = PrintedHeight = 0;
  if (!Gant || !DC) return;
  int rowsPrinted = 0;
  if (!Gant->OnPrintToHdcNewPage) {
    b.sizeCallBack = SizeCallBack;
    PrintBlock(Gant, DC, b, PrintedWidth, PrintedHeight, rowsPrinted);
    return;
  }
  TOpenedRows opened(Gant);
  Expand(Gant, b.expandAll, opened.list, b.grid);

  // Pages the application does not want drawn are laid out on a scratch device.
  std::unique_ptr<TDeviceContext> measure = TDeviceContext::CreateImage(1, 1, DC->PixelsPerInch());
  b.expandRows = false;  // opened for the whole job above
  auto ask = [Gant](int n, int& h, int& w, bool& go, bool& render) {
    if (Gant->OnPrintToHdcNewPage) Gant->OnPrintToHdcNewPage(Gant, n, h, w, go, render);
  };
  auto next = [&b, &rowsPrinted, Gant](const TPrintPageState& previous) {
    // The next page starts after the page's break; a page too small for a
    // single row ends the job instead of repeating it.
    if (b.grid) {
      b.startNode.Reset(NextGridNodeAfter(Gant, previous.HeightObject()));
      if (!b.startNode) return false;
    } else {
      b.startRow.Reset(dynamic_cast<TvxDataEntity_Tree*>(previous.HeightObject()));
      if (!b.startRow) return false;
    }
    return b.rowCount != 0 && rowsPrinted > 0;
  };
  auto page = [&, DC](HDC dc, int, int h, int w, TPrintPageState& state) {
    b.pageHeight = h;
    b.pageWidth = w;
    b.sizeCallBack = [&state, &SizeCallBack](bool isWidth, int value, TObject* o) {
      state.OnSizeCallback(isWidth, value, o);
      if (SizeCallBack) SizeCallBack(isWidth, value, o);
    };
    PrintBlock(Gant, dc, b, PrintedWidth, PrintedHeight, rowsPrinted);
    // Only rows that went on paper count: a page only measured prints none.
    if (dc == DC && b.rowCount >= 0) b.rowCount = std::max(0, b.rowCount - rowsPrinted);
  };
  RunPrintPages(DC, measure.get(), ask, next, page);
}

int TvxPrintGantt::RunSheets(TvxGant_ComBasic* Gant, HDC DC, int theDpi, int theWidth, int theHeight,
                             const TPrintSetup& theSetup, bool theDraw) {
  if (!SheetUsable(Gant, theDpi, theWidth, theHeight, theSetup)) return 0;
  const TSheet sheet = SheetFor(Gant, theDpi, theWidth, theHeight, theSetup);
  const std::vector<std::pair<TDateTime, TDateTime>> spans = TimeSpansForPages(Gant->GetDateScaler(), theSetup, sheet.areaWidth);
  const int across = static_cast<int>(spans.size());
  const bool grid = Gant->GetUseGridNotTree() && Gant->GetGrid();
  if (!theDraw) {
    if (grid) return GridBands(Gant, static_cast<int>((sheet.height / sheet.scale)) - sheet.scalerHeight) * across;
    const int rows = TvxPrintTree::CountPrintRows(Gant->GetTreeView(), nullptr, theSetup.fExpandAll, -1);
    return std::max(1, (rows + sheet.rowsPerPage - 1) / sheet.rowsPerPage) * across;
  }

  TOpenedRows opened(Gant);
  Expand(Gant, theSetup.fExpandAll, opened.list, grid);

  TBlock b = MakeBlock(sheet.x, sheet.y, sheet.scale, sheet.scale, sheet.leftWidth, nullptr, -1, theSetup.fExpandAll,
                       0, 0, sheet.areaWidth, sheet.scalerHeight, sheet.x + sheet.width, sheet.y + sheet.height);
  b.grid = grid;
  b.expandRows = false;  // opened for the whole job above
  int pages = 0;
  // Down the rows a page at a time; for each band of rows, across the time.
  for (bool more = true; more;) {
    TObject* pageBreak = nullptr;
    for (int k = 0; k < across; ++k) {
      if (pages > 0 && !DC->NewPage()) return pages;
      TPrintPageState state;
      b.sizeCallBack = state.Callback();
      b.start = spans[static_cast<size_t>(k)].first;
      b.stop = spans[static_cast<size_t>(k)].second;
      int w = 0, h = 0, rows = 0;
      PrintBlock(Gant, DC, b, w, h, rows);
      ++pages;
      if (k == 0 && state.fHeightHit && rows > 0) pageBreak = state.HeightObject();
    }
    if (grid) {
      b.startNode.Reset(NextGridNodeAfter(Gant, pageBreak));
      more = b.startNode.Get() != nullptr;
    } else {
      b.startRow.Reset(dynamic_cast<TvxDataEntity_Tree*>(pageBreak));
      more = b.startRow.Get() != nullptr;
    }
  }
  return pages;
}

int TvxPrintGantt::PrintPages(TvxGant_ComBasic* Gant, HDC DC, const TPrintSetup& theSetup) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  if (!DC) return 0;
  return RunSheets(Gant, DC, DC->PixelsPerInch(), DC->Width(), DC->Height(), theSetup, true);
}

int TvxPrintGantt::PrintToPdf(TvxGant_ComBasic* Gant, const std::string& theFileName, const TPrintSetup& theSetup) {
  if (!Gant) return 0;
  // Nothing is written for a job that would print nothing.
  return PrintDocumentToPdf(
      theFileName, theSetup, [&](int dpi, int w, int h) { return SheetUsable(Gant, dpi, w, h, theSetup); },
      [&](HDC dc) { return PrintPages(Gant, dc, theSetup); });
}

int TvxPrintGantt::PrintToPrinter(TvxGant_ComBasic* Gant, const TPrintSetup& theSetup, bool theShowDialog) {
  if (!Gant) return 0;
  return PrintDocumentToPrinter(theSetup, theShowDialog, [&](HDC dc) { return PrintPages(Gant, dc, theSetup); });
}

int TvxPrintGantt::CountPages(TvxGant_ComBasic* Gant, const TPrintSetup& theSetup) {
  int dpi = 0, w = 0, h = 0;
  PaperPixels(theSetup, dpi, w, h);
  return RunSheets(Gant, nullptr, dpi, w, h, theSetup, false);
}

}  // namespace vx
