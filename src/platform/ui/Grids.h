#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <string>
#include <vector>

#include <vxplan/platform/rtl/Set.h>
#include <vxplan/platform/ui/Controls.h>

namespace vx {

class TPopupMenu;

enum TGridOption { goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRowSizing, goColSizing };
using TGridOptions = TSet<TGridOption>;
enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

class TDrawGrid;
using TDrawCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;

// A grid of cells the application draws (OnDrawCell), drawn by the toolkit:
// fixed columns and rows at the left and top, then the others from LeftCol
// and TopRow on; a grid line of GridLineWidth after every column and row.
// With goRowSizing (goColSizing) the user drags the line below a row (right
// of a column) in the fixed cells to size it. The wheel scrolls by rows.
// The grid has no scroll bars: the owner moves TopRow and LeftCol.
class VX_API TDrawGrid : public TWinControl {
public:
  // Pixels on either side of a grid line that take a sizing press.
  static constexpr int SizingMargin = 3;

  explicit TDrawGrid(TComponent* AOwner);
  ~TDrawGrid() override;

  int GetColCount() const noexcept { return static_cast<int>(fColWidths.size()); }
  // New columns take DefaultColWidth; negative counts read as 0.
  void SetColCount(int theCount);
  int GetRowCount() const noexcept { return static_cast<int>(fRowHeights.size()); }
  void SetRowCount(int theCount);
  int GetFixedCols() const noexcept { return fFixedCols; }
  void SetFixedCols(int theCount);
  int GetFixedRows() const noexcept { return fFixedRows; }
  void SetFixedRows(int theCount);
  int GetDefaultColWidth() const noexcept { return fDefaultColWidth; }
  // Every column takes the new width.
  void SetDefaultColWidth(int theWidth);
  int GetDefaultRowHeight() const noexcept { return fDefaultRowHeight; }
  // Every row takes the new height.
  void SetDefaultRowHeight(int theHeight);
  // 0 outside the grid.
  int GetColWidths(int ACol) const;
  // Nothing outside the grid; negative sizes read as 0.
  void SetColWidths(int ACol, int theWidth);
  int GetRowHeights(int ARow) const;
  void SetRowHeights(int ARow, int theHeight);
  // A new row at ARow (0 .. RowCount) with the default height; and its removal.
  void InsertRow(int ARow);
  void DeleteRow(int ARow);
  int GetGridLineWidth() const noexcept { return fGridLineWidth; }
  void SetGridLineWidth(int theWidth);
  TGridOptions GetOptions() const noexcept { return fOptions; }
  void SetOptions(TGridOptions theOptions);
  TColor GetFixedColor() const noexcept { return fFixedColor; }
  void SetFixedColor(TColor theColor);
  bool GetDefaultDrawing() const noexcept { return fDefaultDrawing; }
  void SetDefaultDrawing(bool theValue) noexcept { fDefaultDrawing = theValue; }

  // The first scrolled row (column) shown; kept within the scrolled ones.
  int GetTopRow() const noexcept { return fTopRow; }
  void SetTopRow(int theRow);
  int GetLeftCol() const noexcept { return fLeftCol; }
  void SetLeftCol(int theCol);

  // The cell's rectangle on screen; empty (all 0) when it is not shown.
  TRect CellRect(int ACol, int ARow) const;
  // The cell under (X, Y); -1, -1 when none.
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
  // The row (column) whose line is being dragged; -1 when none.
  int GetSizingRow() const noexcept { return fSizingRow; }
  int GetSizingCol() const noexcept { return fSizingCol; }

  // Grows with every change of a size, a count or the scroll position.
  unsigned GetSizeStamp() const noexcept { return fSizeStamp; }

  TPopupMenu* GetPopupMenu() const noexcept { return fPopupMenu; }
  void SetPopupMenu(TPopupMenu* theMenu);

  TDrawCellEvent OnDrawCell;
  TNotifyEvent OnTopLeftChanged;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Called after every change of a row height (column width), from the
  // program or the mouse.
  virtual void RowHeightsChanged() {}
  virtual void ColWidthsChanged() {}
  // Raises OnTopLeftChanged.
  virtual void TopLeftChanged();
  // Draws one cell: the default fill, OnDrawCell, then the fixed cells' bevel.
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  // The cell's content, between the default fill and the bevel; raises OnDrawCell.
  virtual void DrawCellContent(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);

private:
  // Start of each shown column (row) along its axis, in order: fixed ones,
  // then from LeftCol (TopRow) on, until the client area ends.
  struct Span {
    int index;
    int start;
    int size;
  };
  std::vector<Span> ShownCols() const;
  std::vector<Span> ShownRows() const;
  std::vector<Span> Shown(const std::vector<int>& theSizes, int theFixed, int theFirst, int theLimit) const;
  int FixedWidth() const;
  int FixedHeight() const;
  // The row whose bottom line (column whose right line) takes a sizing press at
  // (X, Y); -1 when none.
  int RowLineAt(int X, int Y) const;
  int ColLineAt(int X, int Y) const;

  std::vector<int> fColWidths;
  std::vector<int> fRowHeights;
  int fFixedCols = 1;
  int fFixedRows = 1;
  int fDefaultColWidth = 64;
  int fDefaultRowHeight = 24;
  int fGridLineWidth = 1;
  TGridOptions fOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine};
  TColor fFixedColor = clBtnFace;
  bool fDefaultDrawing = true;
  int fTopRow = 1;
  int fLeftCol = 1;
  int fSizingRow = -1;
  int fSizingCol = -1;
  int fSizingOffset = 0;
  int fWheelRest = 0;
  unsigned fSizeStamp = 0;
  TPopupMenu* fPopupMenu = nullptr;
};

}  // namespace vx
