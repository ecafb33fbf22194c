// The draw grid: cells drawn by the application, sizes dragged with the mouse.
#include <vxplan/platform/ui/Grids.h>

#include <algorithm>

#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/Menus.h>

namespace vx {

TDrawGrid::TDrawGrid(TComponent* AOwner) : TWinControl(AOwner) {
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 320, 120);
  fColWidths.assign(5, fDefaultColWidth);
  fRowHeights.assign(5, fDefaultRowHeight);
}

TDrawGrid::~TDrawGrid() {
  Destroying();
  if (fPopupMenu) fPopupMenu->RemoveFreeNotification(this);
}

void TDrawGrid::SetPopupMenu(TPopupMenu* theMenu) {
  if (theMenu == fPopupMenu) return;
  if (fPopupMenu) fPopupMenu->RemoveFreeNotification(this);
  fPopupMenu = theMenu;
  if (fPopupMenu) fPopupMenu->FreeNotification(this);
}

void TDrawGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == fPopupMenu) fPopupMenu = nullptr;
}

// --- sizes -----------------------------------------------------------------------------

void TDrawGrid::SetColCount(int theCount) {
  theCount = std::max(theCount, 0);
  if (theCount == GetColCount()) return;
  fColWidths.resize(static_cast<size_t>(theCount), fDefaultColWidth);
  SetLeftCol(fLeftCol);
  ++fSizeStamp;
  ColWidthsChanged();
  Invalidate();
}

void TDrawGrid::SetRowCount(int theCount) {
  theCount = std::max(theCount, 0);
  if (theCount == GetRowCount()) return;
  fRowHeights.resize(static_cast<size_t>(theCount), fDefaultRowHeight);
  SetTopRow(fTopRow);
  ++fSizeStamp;
  RowHeightsChanged();
  Invalidate();
}

void TDrawGrid::InsertRow(int ARow) {
  if (ARow < 0 || ARow > GetRowCount()) return;
  fRowHeights.insert(fRowHeights.begin() + ARow, fDefaultRowHeight);
  ++fSizeStamp;
  RowHeightsChanged();
  Invalidate();
}

void TDrawGrid::DeleteRow(int ARow) {
  if (ARow < 0 || ARow >= GetRowCount()) return;
  fRowHeights.erase(fRowHeights.begin() + ARow);
  SetTopRow(fTopRow);
  ++fSizeStamp;
  RowHeightsChanged();
  Invalidate();
}

void TDrawGrid::SetFixedCols(int theCount) {
  fFixedCols = std::max(theCount, 0);
  ++fSizeStamp;
  SetLeftCol(fLeftCol);
  Invalidate();
}

void TDrawGrid::SetFixedRows(int theCount) {
  fFixedRows = std::max(theCount, 0);
  ++fSizeStamp;
  SetTopRow(fTopRow);
  Invalidate();
}

void TDrawGrid::SetDefaultColWidth(int theWidth) {
  fDefaultColWidth = std::max(theWidth, 0);
  std::fill(fColWidths.begin(), fColWidths.end(), fDefaultColWidth);
  ++fSizeStamp;
  ColWidthsChanged();
  Invalidate();
}

void TDrawGrid::SetDefaultRowHeight(int theHeight) {
  fDefaultRowHeight = std::max(theHeight, 0);
  std::fill(fRowHeights.begin(), fRowHeights.end(), fDefaultRowHeight);
  ++fSizeStamp;
  RowHeightsChanged();
  Invalidate();
}

int TDrawGrid::GetColWidths(int ACol) const {
  return ACol >= 0 && ACol < GetColCount() ? fColWidths[static_cast<size_t>(ACol)] : 0;
}

void TDrawGrid::SetColWidths(int ACol, int theWidth) {
  if (ACol < 0 || ACol >= GetColCount()) return;
  theWidth = std::max(theWidth, 0);
  if (fColWidths[static_cast<size_t>(ACol)] == theWidth) return;
  fColWidths[static_cast<size_t>(ACol)] = theWidth;
  ++fSizeStamp;
  ColWidthsChanged();
  Invalidate();
}

int TDrawGrid::GetRowHeights(int ARow) const {
  return ARow >= 0 && ARow < GetRowCount() ? fRowHeights[static_cast<size_t>(ARow)] : 0;
}

void TDrawGrid::SetRowHeights(int ARow, int theHeight) {
  if (ARow < 0 || ARow >= GetRowCount()) return;
  theHeight = std::max(theHeight, 0);
  if (fRowHeights[static_cast<size_t>(ARow)] == theHeight) return;
  fRowHeights[static_cast<size_t>(ARow)] = theHeight;
  ++fSizeStamp;
  RowHeightsChanged();
  Invalidate();
}

void TDrawGrid::SetGridLineWidth(int theWidth) {
  fGridLineWidth = std::max(theWidth, 0);
  ++fSizeStamp;
  Invalidate();
}

void TDrawGrid::SetOptions(TGridOptions theOptions) {
  fOptions = theOptions;
  Invalidate();
}

void TDrawGrid::SetFixedColor(TColor theColor) {
  fFixedColor = theColor;
  Invalidate();
}

// --- scrolling --------------------------------------------------------------------------

void TDrawGrid::SetTopRow(int theRow) {
  theRow = std::clamp(theRow, fFixedRows, std::max(fFixedRows, GetRowCount() - 1));
  if (theRow == fTopRow) return;
  fTopRow = theRow;
  ++fSizeStamp;
  Invalidate();
  TopLeftChanged();
}

void TDrawGrid::SetLeftCol(int theCol) {
  theCol = std::clamp(theCol, fFixedCols, std::max(fFixedCols, GetColCount() - 1));
  if (theCol == fLeftCol) return;
  fLeftCol = theCol;
  ++fSizeStamp;
  Invalidate();
  TopLeftChanged();
}

void TDrawGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

bool TDrawGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  // A row per notch (120); smaller steps add up.
  fWheelRest += WheelDelta;
  const int rows = fWheelRest / 120;
  fWheelRest -= rows * 120;
  if (rows != 0) SetTopRow(fTopRow - rows);
  return true;
}

// --- geometry ---------------------------------------------------------------------------

std::vector<TDrawGrid::Span> TDrawGrid::Shown(const std::vector<int>& theSizes, int theFixed, int theFirst,
                                               int theLimit) const {
  std::vector<Span> spans;
  const int count = static_cast<int>(theSizes.size());
  int at = 0;
  auto add = [&](int k) {
    const int size = theSizes[static_cast<size_t>(k)];
    spans.push_back(Span{k, at, size});
    at += size + fGridLineWidth;
  };
  for (int k = 0; k < std::min(theFixed, count) && at < theLimit; ++k) add(k);
  for (int k = std::max(theFirst, theFixed); k < count && at < theLimit; ++k) add(k);
  return spans;
}

std::vector<TDrawGrid::Span> TDrawGrid::ShownCols() const {
  return Shown(fColWidths, fFixedCols, fLeftCol, GetWidth());
}

std::vector<TDrawGrid::Span> TDrawGrid::ShownRows() const {
  return Shown(fRowHeights, fFixedRows, fTopRow, GetHeight());
}

int TDrawGrid::FixedWidth() const {
  int w = 0;
  for (int k = 0; k < std::min(fFixedCols, GetColCount()); ++k) w += fColWidths[static_cast<size_t>(k)] + fGridLineWidth;
  return w;
}

int TDrawGrid::FixedHeight() const {
  int h = 0;
  for (int k = 0; k < std::min(fFixedRows, GetRowCount()); ++k)
    h += fRowHeights[static_cast<size_t>(k)] + fGridLineWidth;
  return h;
}

TRect TDrawGrid::CellRect(int ACol, int ARow) const {
  const std::vector<Span> cols = ShownCols(), rows = ShownRows();
  auto find = [](const std::vector<Span>& spans, int index) -> const Span* {
    for (const Span& s : spans)
      if (s.index == index) return &s;
    return nullptr;
  };
  const Span* c = find(cols, ACol);
  const Span* r = find(rows, ARow);
  if (!c || !r) return TRect{};
  return Rect(c->start, r->start, c->start + c->size, r->start + r->size);
}

void TDrawGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  ACol = ARow = -1;
  auto find = [](const std::vector<Span>& spans, int p) {
    for (const Span& s : spans)
      if (p >= s.start && p < s.start + s.size) return s.index;
    return -1;
  };
  ACol = find(ShownCols(), X);
  ARow = find(ShownRows(), Y);
  if (ACol < 0 || ARow < 0) ACol = ARow = -1;
}

int TDrawGrid::RowLineAt(int X, int Y) const {
  if (!fOptions.Contains(goRowSizing) || X < 0 || X >= FixedWidth()) return -1;
  int best = -1, bestDistance = SizingMargin;
  for (const Span& s : ShownRows()) {
    const int line = s.start + s.size;
    const int distance = std::abs(Y - line);
    if (distance <= bestDistance) {
      best = s.index;
      bestDistance = distance;
    }
  }
  return best;
}

int TDrawGrid::ColLineAt(int X, int Y) const {
  if (!fOptions.Contains(goColSizing) || Y < 0 || Y >= FixedHeight()) return -1;
  int best = -1, bestDistance = SizingMargin;
  for (const Span& s : ShownCols()) {
    const int distance = std::abs(X - (s.start + s.size));
    if (distance <= bestDistance) {
      best = s.index;
      bestDistance = distance;
    }
  }
  return best;
}

// --- painting ---------------------------------------------------------------------------

void TDrawGrid::DrawCellContent(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas* c = GetCanvas();
  const bool fixed = AState.Contains(gdFixed);
  if (fDefaultDrawing) {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(fixed ? fFixedColor : GetColor());
    c->FillRect(ARect);
  }
  c->SetFont(*GetFont());
  DrawCellContent(ACol, ARow, ARect, AState);
  if (fDefaultDrawing && fixed) {
    TRect r = ARect;
    Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
  }
}

void TDrawGrid::Paint() {
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
  const std::vector<Span> cols = ShownCols(), rows = ShownRows();
  for (const Span& row : rows)
    for (const Span& col : cols) {
      if (row.size <= 0 || col.size <= 0) continue;
      TGridDrawState state;
      if (row.index < fFixedRows || col.index < fFixedCols) state.Include(gdFixed);
      DrawCell(col.index, row.index, Rect(col.start, row.start, col.start + col.size, row.start + row.size), state);
    }
  // Grid lines after each shown column and row, darker along the fixed cells.
  if (fGridLineWidth > 0) {
    const int bottom = rows.empty() ? 0 : rows.back().start + rows.back().size + fGridLineWidth;
    for (const Span& col : cols) {
      const bool fixed = col.index < fFixedCols;
      if (!fOptions.Contains(fixed ? goFixedVertLine : goVertLine)) continue;
      c->GetBrush()->SetColor(fixed ? clBtnShadow : clGridLine);
      c->FillRect(Rect(col.start + col.size, 0, col.start + col.size + fGridLineWidth, bottom));
    }
    for (const Span& row : rows) {
      const bool fixed = row.index < fFixedRows;
      for (const Span& col : cols) {
        const bool fixedCell = fixed || col.index < fFixedCols;
        if (!fOptions.Contains(fixedCell ? goFixedHorzLine : goHorzLine)) continue;
        c->GetBrush()->SetColor(fixedCell ? clBtnShadow : clGridLine);
        c->FillRect(Rect(col.start, row.start + row.size, col.start + col.size + fGridLineWidth,
                         row.start + row.size + fGridLineWidth));
      }
    }
  }
  TWinControl::Paint();
}

// --- the mouse --------------------------------------------------------------------------

void TDrawGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    fSizingRow = RowLineAt(X, Y);
    fSizingCol = fSizingRow < 0 ? ColLineAt(X, Y) : -1;
    // The size follows the mouse from the start of the row (column).
    for (const Span& s : ShownRows())
      if (s.index == fSizingRow) fSizingOffset = s.start;
    for (const Span& s : ShownCols())
      if (s.index == fSizingCol) fSizingOffset = s.start;
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TDrawGrid::MouseMove(TShiftState Shift, int X, int Y) {
  if (Shift.Contains(ssLeft) && fSizingRow >= 0) SetRowHeights(fSizingRow, Y - fSizingOffset);
  if (Shift.Contains(ssLeft) && fSizingCol >= 0) SetColWidths(fSizingCol, X - fSizingOffset);
  if (fSizingRow >= 0 || (!Shift.Contains(ssLeft) && RowLineAt(X, Y) >= 0))
    SetCursor(crVSplit);
  else if (fSizingCol >= 0 || (!Shift.Contains(ssLeft) && ColLineAt(X, Y) >= 0))
    SetCursor(crHSplit);
  else
    SetCursor(crDefault);
  TWinControl::MouseMove(Shift, X, Y);
}

void TDrawGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    fSizingRow = -1;
    fSizingCol = -1;
  }
  TWinControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbRight && fPopupMenu && GetClientRect().Contains(Point(X, Y))) {
    const TPoint at = ClientToScreen(Point(X, Y));
    fPopupMenu->Popup(at.X, at.Y);
  }
}

}  // namespace vx
