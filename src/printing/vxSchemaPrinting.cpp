#include <vxplan/printing/vxSchemaPrinting.h>

#include <algorithm>
#include <memory>

#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/rtl/Math.h>

namespace vx {

namespace {

// Holds a schedule in its printing shape (orientation, time range, first
// column, axis and area sized for paper) and puts everything back when it
// goes, also after a failure.
class TSchemaOnPaper {
public:
  TSchemaOnPaper(TvxSchema_ComBasic* theSchema, bool theFlipped)
      : fSchema(theSchema),
        fScaler(theSchema->GetScaler()),
        fArea(theSchema->GetSchemaArea()),
        fFlipped(theSchema->GetFlipView()),
        fStart(fScaler->GetStart()),
        fStop(fScaler->GetStop()),
        fTopLeft(theSchema->GetColumns()->GetTopLeftCol()) {
    fSchema->BeginUpdate();
    if (theFlipped != fFlipped) {
      fSchema->SetFlipView(theFlipped);
      TDoLater::DoAllNow();
    }
    fScalerBounds = fScaler->GetBoundsRect();
    fAreaBounds = fArea->GetBoundsRect();
  }
  TSchemaOnPaper(const TSchemaOnPaper&) = delete;
  TSchemaOnPaper& operator=(const TSchemaOnPaper&) = delete;

  void Range(TDateTime theStart, TDateTime theStop) {
    if (!(theStart < theStop)) return;
    fScaler->SetStart(theStart);
    fScaler->SetStop(theStop);
  }
  void Size(TvxOffscreenPaint* theControl, int theWidth, int theHeight) {
    const TRect b = theControl->GetBoundsRect();
    theControl->SetSizeDontTell(Rect(b.Left, b.Top, b.Left + std::max(theWidth, 1), b.Top + std::max(theHeight, 1)));
  }

  ~TSchemaOnPaper() {
    fArea->SetSizeDontTell(fAreaBounds);
    fScaler->SetSizeDontTell(fScalerBounds);
    fScaler->SetStart(fStart);
    fScaler->SetStop(fStop);
    fScaler->CalcDrawMode();
    fSchema->GetColumns()->SetTopLeftCol(fTopLeft);
    if (fSchema->GetFlipView() != fFlipped) {
      fSchema->SetFlipView(fFlipped);
      TDoLater::DoAllNow();
    }
    fSchema->EndUpdate();
    fArea->Invalidate();
    fScaler->Invalidate();
  }

private:
  TvxSchema_ComBasic* fSchema;
  TvxDateScaler* fScaler;
  TvxOffscreenPaint* fArea;
  bool fFlipped;
  TDateTime fStart, fStop;
  int fTopLeft;
  TRect fScalerBounds{}, fAreaBounds{};
};

// The column a page broke at, held: drawing the page calls out to the
// application, which may delete it. A width break wins over a height break.
class TPageBreak {
public:
  void Clear() { *this = TPageBreak(); }
  void Note(bool IsWidthNotHeight, TObject* theObject) {
    auto* column = dynamic_cast<TvxDataEntity_SchemaColumn*>(theObject);
    if (IsWidthNotHeight) {
      fWidthHit = true;
      fWidth.Reset(column);
    } else {
      fHeight.Reset(column);
    }
  }
  // Nil when there was no break, or its column went meanwhile.
  TvxDataEntity_SchemaColumn* Column() const { return fWidthHit ? fWidth.Get() : fHeight.Get(); }

private:
  bool fWidthHit = false;
  TvxHeld<TvxDataEntity_SchemaColumn> fWidth, fHeight;
};

// The inner corner on paper: the titles' size, with the time axis strip as
// thick as asked.
TPoint PaperCorner(TvxSchema_ComBasic* theSchema, bool theFlipped, int theThickness) {
  return theFlipped ? Point(theSchema->GetFlippedQuadPoint().X, theThickness)
                    : Point(theThickness, theSchema->GetQuadPoint().Y);
}

// A title line under line, as the header shows it; lines below the cell
// are not written.
void PrintTitle(TCanvas& theCanvas, const TRect& theCell, const std::string& theText, double ScaleX, double ScaleY) {
  int y = theCell.Top + Round(2 * ScaleY);
  for (size_t from = 0; from <= theText.size() && y < theCell.Bottom;) {
    const size_t end = std::min(theText.find('\n', from), theText.size());
    std::string line = theText.substr(from, std::min<size_t>(end - from, 4096));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string cut;
    theCanvas.TextOut(theCell.Left + Round(3 * ScaleX), y, ShowableText(line, theCell.Width(), cut));
    y += theCanvas.TextHeight("Xg");
    from = end + 1;
  }
}

}  // namespace

void TvxPrintSchema::PrintColumns(TvxSchema_ComBasic* Schema, HDC DC, int X, int Y, double ScaleX, double ScaleY,
                                  int FirstCol, int LastCol, bool Flipped, int& theExtent, int PageWidth,
                                  int PageHeight, const TOnSizeCallBack& SizeCallBack, TPoint theCorner) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  theExtent = 0;
  if (!Schema || !DC) return;
  TDataListColumns* cols = Schema->GetColumns();
  TDeviceState device(DC, Point(X, Y));
  TCanvas canvas;
  canvas.SetHandle(DC);
  TFont* font = Flipped ? static_cast<TControl*>(Schema->GetFlippedHeader())->GetFont()
                        : static_cast<TControl*>(Schema->GetHeader())->GetFont();
  const int size = font->GetSize();
  canvas.GetFont()->SetName(font->GetName());
  canvas.GetFont()->SetStyle(font->GetStyle());
  canvas.GetFont()->SetColor(clBlack);
  // The titles' font is sized for the device as the area sizes its own, so
  // that OnPrintResizeFont decides for both.
  TvxOffscreenPaint* area = Schema->GetSchemaArea();
  const double fontScale = area->GetFontScale(&canvas);
  canvas.GetFont()->SetSize(area->PrintFontSize(size, fontScale, ScaleY));
  canvas.GetPen()->SetColor(clBlack);
  canvas.GetPen()->SetWidth(std::max(1, Round(std::min(ScaleX, ScaleY) / 2)));
  double pos = Flipped ? theCorner.Y * ScaleY : theCorner.X * ScaleX;
  for (int col = std::max(FirstCol, 0); col <= LastCol; ++col) {
    TvxDataEntity_SchemaColumn* column = cols->GetColumn(col);
    if (!column) break;
    const int size = cols->LiveSize(Flipped, col);
    TRect cell;
    if (Flipped) {
      cell = Rect(0, Round(pos), Round(theCorner.X * ScaleX), Round(pos + (size + 1) * ScaleY));
      if (PageHeight > 0 && Y + cell.Bottom - 1 > PageHeight) {
        // This column opens the next page.
        if (SizeCallBack) SizeCallBack(false, Y + cell.Top, column);
        break;
      }
    } else {
      cell = Rect(Round(pos), 0, Round(pos + size * ScaleX), Round(theCorner.Y * ScaleY));
      if (PageWidth > 0 && X + cell.Right - 1 > PageWidth) {
        if (SizeCallBack) SizeCallBack(true, X + cell.Left, column);
        break;
      }
    }
    DC->SelectClipRect(OffsetRect(cell, X, Y));
    canvas.GetBrush()->SetStyle(bsClear);
    PrintTitle(canvas, cell, column->GetText(), ScaleX, ScaleY);
    canvas.GetBrush()->SetStyle(bsSolid);
    canvas.GetBrush()->SetColor(clBlack);
    canvas.FrameRect(cell);
    DC->RemoveClip();
    pos += Flipped ? (size + 1) * ScaleY : size * ScaleX;
    theExtent += Flipped ? size + 1 : size;
  }
  canvas.SetHandle(nullptr);
}

void TvxPrintSchema::PrintLoop(TvxSchema_ComBasic* Schema, HDC DC, int X, int Y, int TimeLength, int ScalerThickness,
                               double ScaleX, double ScaleY, int FirstCol, int LastCol, TDateTime PrintStart,
                               TDateTime PrintStop, bool Flipped, int& PrintedWidth, int& PrintedHeight, int PageWidth,
                               int PageHeight, const TOnSizeCallBack& SizeCallBack) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  PrintedWidth = PrintedHeight = 0;
  if (!Schema || !DC || Schema->IsDestroying() || !(ScaleX > 0) || !(ScaleY > 0) || TimeLength <= 0) return;
  // Layout work still waiting is done first, so that the schedule is taken
  // and put back as laid out.
  TDoLater::DoAllNow();
  TDataListColumns* cols = Schema->GetColumns();
  const int last = std::min(LastCol, cols->Count() - 1);
  const int first = std::max(FirstCol, 0);
  TSchemaOnPaper paper(Schema, Flipped);
  paper.Range(PrintStart, PrintStop);
  // The printed columns start at the titles' edge.
  if (first <= last) cols->SetTopLeftCol(first);
  const TPoint corner = PaperCorner(Schema, Flipped, std::max(ScalerThickness, 0));
  int extent = 0;
  PrintColumns(Schema, DC, X, Y, ScaleX, ScaleY, first, last, Flipped, extent, PageWidth, PageHeight, SizeCallBack,
               corner);

  TvxDateScaler* scaler = Schema->GetScaler();
  TvxOffscreenPaint* area = Schema->GetSchemaArea();
  const int areaWidth = Flipped ? TimeLength : extent, areaHeight = Flipped ? extent : TimeLength;
  if (Flipped)
    paper.Size(scaler, TimeLength, corner.Y);
  else
    paper.Size(scaler, corner.X, TimeLength);
  if (Flipped ? corner.Y > 0 : corner.X > 0) {
    if (Flipped)
      scaler->Print(DC, X + Round(corner.X * ScaleX), Y, ScaleX, ScaleY, true);
    else
      scaler->Print(DC, X, Y + Round(corner.Y * ScaleY), ScaleX, ScaleY, true);
  }
  if (extent > 0) {
    paper.Size(area, areaWidth, areaHeight);
    area->Print(DC, X + Round(corner.X * ScaleX), Y + Round(corner.Y * ScaleY), ScaleX, ScaleY, true);
  }
  PrintedWidth = Round((corner.X + areaWidth) * ScaleX);
  PrintedHeight = Round((corner.Y + areaHeight) * ScaleY);
}

void TvxPrintSchema::Print(TvxSchema_ComBasic* Schema, HDC DC, int X, int Y, int TimeLength, int ScalerThickness,
                           double ScaleX, double ScaleY, int FirstCol, int LastCol, TDateTime PrintStart,
                           TDateTime PrintStop, bool Flipped, int& PrintedWidth, int& PrintedHeight, int PageWidth,
                           int PageHeight, const TOnSizeCallBack& SizeCallBack) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  PrintedWidth = PrintedHeight = 0;
  if (!Schema || !DC) return;
  if (!Schema->OnPrintToHdcNewPage) {
    PrintLoop(Schema, DC, X, Y, TimeLength, ScalerThickness, ScaleX, ScaleY, FirstCol, LastCol, PrintStart,
              PrintStop, Flipped, PrintedWidth, PrintedHeight, PageWidth, PageHeight, SizeCallBack);
    return;
  }
  // Pages the application does not want drawn are laid out on a scratch device.
  std::unique_ptr<TDeviceContext> measure = TDeviceContext::CreateImage(1, 1, DC->PixelsPerInch());
  int first = FirstCol, printedFirst = FirstCol;
  TPageBreak pageBreak;
  auto ask = [Schema](int n, int& h, int& w, bool& go, bool& render) {
    if (Schema->OnPrintToHdcNewPage) Schema->OnPrintToHdcNewPage(Schema, n, h, w, go, render);
  };
  auto next = [&](const TPrintPageState&) {
    // The next page starts at the column that did not fit; a page too small
    // for a single column, or a break column that went, ends the job.
    TvxDataEntity_SchemaColumn* column = pageBreak.Column();
    if (!column || column->ListIndex() <= printedFirst) return false;
    first = column->ListIndex();
    return true;
  };
  auto page = [&](HDC dc, int, int h, int w, TPrintPageState& state) {
    printedFirst = first;
    pageBreak.Clear();
    auto report = [&state, &pageBreak, &SizeCallBack](bool isWidth, int value, TObject* o) {
      state.OnSizeCallback(isWidth, value, o);
      pageBreak.Note(isWidth, o);
      if (SizeCallBack) SizeCallBack(isWidth, value, o);
    };
    PrintLoop(Schema, dc, X, Y, TimeLength, ScalerThickness, ScaleX, ScaleY, first, LastCol, PrintStart, PrintStop,
              Flipped, PrintedWidth, PrintedHeight, w, h, report);
  };
  RunPrintPages(DC, measure.get(), ask, next, page);
}

// --- whole documents --------------------------------------------------------------------

struct TvxPrintSchema::TSheet {
  int x = 0, y = 0, width = 0, height = 0;
  double scale = 1;
  bool flipped = false;
  int timeExtent = 0;   // screen pixels of time a page holds
  int thickness = 0;    // of the time axis strip
  int columnSpace = 0;  // screen pixels of columns a page holds

  TSheet(TvxSchema_ComBasic* theSchema, int theDpi, int theWidth, int theHeight, const TPrintSetup& theSetup) {
    const int margin = Round(std::max(theSetup.fMarginMm, 0.0) / 25.4 * theDpi);
    scale = theDpi / 96.0;  // screen pixels are 1/96 inch
    x = y = margin;
    width = theWidth - 2 * margin;
    height = theHeight - 2 * margin;
    flipped = theSchema->GetFlipView();
    if (theSetup.fFitColumnsToPage) {
      // Smaller print until the titles and every column fit across.
      const int corner = flipped ? theSchema->GetFlippedQuadPoint().Y : theSchema->GetQuadPoint().X;
      int need = corner;
      TDataListColumns* cols = theSchema->GetColumns();
      for (int k = 0; k < cols->Count(); ++k) need += ColumnSize(cols->GetColumn(k));
      const int across = flipped ? height : width;
      if (need > 0 && need * scale > across) scale = static_cast<double>(across) / need;
    }
    const int w = static_cast<int>(width / scale), h = static_cast<int>(height / scale);
    if (flipped) {
      const TPoint q = theSchema->GetFlippedQuadPoint();
      thickness = q.Y;
      timeExtent = w - q.X;
      columnSpace = h - q.Y;
    } else {
      const TPoint q = theSchema->GetQuadPoint();
      thickness = q.X;
      timeExtent = h - q.Y;
      columnSpace = w - q.X;
    }
  }
  // Whether the first column fits and there is time to show.
  bool Usable(TvxSchema_ComBasic* theSchema, const TPrintSetup& theSetup) const {
    TDataListColumns* cols = theSchema->GetColumns();
    if (timeExtent < 1 || columnSpace < 1 || cols->Count() == 0) return false;
    if (ColumnSize(cols->GetColumn(0)) > columnSpace) return false;
    return !TimeSpansForPages(theSchema->GetScaler(), theSetup, timeExtent).empty();
  }
  // The size it shows at (grown with its sub-columns, too).
  int ColumnSize(TvxDataEntity_SchemaColumn* theColumn) const {
    TDataListColumns* cols = theColumn->Columns();
    return cols ? cols->ShownSize(theColumn, flipped) + (flipped ? 1 : 0) : 0;
  }
  // Bands of columns the pages hold, by the columns' own sizes.
  int ColumnBands(TDataListColumns* theColumns) const {
    int bands = 1, used = 0;
    for (int k = 0; k < theColumns->Count(); ++k) {
      const int size = ColumnSize(theColumns->GetColumn(k));
      if (used > 0 && used + size > columnSpace) {
        ++bands;
        used = 0;
      }
      used += size;
    }
    return bands;
  }
};

int TvxPrintSchema::RunSheets(TvxSchema_ComBasic* Schema, HDC DC, int theDpi, int theWidth, int theHeight,
                              const TPrintSetup& theSetup, bool theDraw) {
  if (!Schema || Schema->IsDestroying() || theDpi <= 0) return 0;
  const TSheet sheet(Schema, theDpi, theWidth, theHeight, theSetup);
  if (!sheet.Usable(Schema, theSetup)) return 0;
  const auto spans = TimeSpansForPages(Schema->GetScaler(), theSetup, sheet.timeExtent);
  const int across = static_cast<int>(spans.size());
  TDataListColumns* cols = Schema->GetColumns();
  if (!theDraw) return sheet.ColumnBands(cols) * across;

  const int pageWidth = sheet.flipped ? -1 : sheet.x + sheet.width;
  const int pageHeight = sheet.flipped ? sheet.y + sheet.height : -1;
  int pages = 0;
  // A band of columns at a time; for each band, along the time.
  for (int first = 0; first < cols->Count();) {
    int nextBand = -1;
    for (int k = 0; k < across; ++k) {
      if (pages > 0 && !DC->NewPage()) return pages;
      TPageBreak pageBreak;
      int w = 0, h = 0;
      PrintLoop(Schema, DC, sheet.x, sheet.y, sheet.timeExtent, sheet.thickness, sheet.scale, sheet.scale, first,
                cols->Count() - 1, spans[static_cast<size_t>(k)].first, spans[static_cast<size_t>(k)].second,
                sheet.flipped, w, h, pageWidth, pageHeight,
                [&pageBreak](bool isWidth, int, TObject* o) { pageBreak.Note(isWidth, o); });
      ++pages;
      if (k == 0)
        if (TvxDataEntity_SchemaColumn* column = pageBreak.Column()) nextBand = column->ListIndex();
    }
    // A column wider than the page ends the document there.
    if (nextBand <= first) break;
    first = nextBand;
  }
  return pages;
}

int TvxPrintSchema::PrintPages(TvxSchema_ComBasic* Schema, HDC DC, const TPrintSetup& theSetup) {
  TSystemColorsScope white(LightSystemColors());  // paper is white whatever the screen
  if (!DC) return 0;
  return RunSheets(Schema, DC, DC->PixelsPerInch(), DC->Width(), DC->Height(), theSetup, true);
}

int TvxPrintSchema::PrintToPdf(TvxSchema_ComBasic* Schema, const std::string& theFileName, const TPrintSetup& theSetup) {
  if (!Schema) return 0;
  return PrintDocumentToPdf(
      theFileName, theSetup,
      [&](int dpi, int w, int h) { return TSheet(Schema, dpi, w, h, theSetup).Usable(Schema, theSetup); },
      [&](HDC dc) { return PrintPages(Schema, dc, theSetup); });
}

int TvxPrintSchema::PrintToPrinter(TvxSchema_ComBasic* Schema, const TPrintSetup& theSetup, bool theShowDialog) {
  if (!Schema) return 0;
  return PrintDocumentToPrinter(theSetup, theShowDialog, [&](HDC dc) { return PrintPages(Schema, dc, theSetup); });
}

int TvxPrintSchema::CountPages(TvxSchema_ComBasic* Schema, const TPrintSetup& theSetup) {
  int dpi = 0, w = 0, h = 0;
  PaperPixels(theSetup, dpi, w, h);
  return RunSheets(Schema, nullptr, dpi, w, h, theSetup, false);
}

}  // namespace vx
