// The draw grid: geometry with fixed cells and scrolling, owner-drawn cells,
// and sizes dragged with the real mouse.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/Grids.h>

using namespace vx;

namespace {

class CountingGrid : public TDrawGrid {
public:
  using TDrawGrid::TDrawGrid;
  int rowChanges = 0;
  int topLeftChanges = 0;

protected:
  void RowHeightsChanged() override { ++rowChanges; }
  void TopLeftChanged() override {
    ++topLeftChanges;
    TDrawGrid::TopLeftChanged();
  }
};

}  // namespace

TEST(DrawGrid, CellsRowsAndScrolling) {
  CountingGrid g(nullptr);
  g.SetBounds(0, 0, 300, 120);
  g.SetDefaultColWidth(50);
  g.SetDefaultRowHeight(20);
  // Fixed row and column first, then the scrolled ones; a line after each.
  EXPECT_EQ(g.CellRect(0, 0), Rect(0, 0, 50, 20));
  EXPECT_EQ(g.CellRect(2, 1), Rect(102, 21, 152, 41));
  int col, row;
  g.MouseToCell(120, 30, col, row);
  EXPECT_EQ(Point(col, row), Point(2, 1));
  g.MouseToCell(50, 30, col, row);  // on a grid line
  EXPECT_EQ(col, -1);
  // Scrolled: row 3 follows the fixed row; rows above it are not shown.
  g.SetTopRow(3);
  EXPECT_EQ(g.topLeftChanges, 1);
  EXPECT_EQ(g.CellRect(1, 3), Rect(51, 21, 101, 41));
  EXPECT_EQ(g.CellRect(1, 1), TRect{});
  g.SetTopRow(99);
  EXPECT_EQ(g.GetTopRow(), 4);
  g.SetTopRow(0);
  EXPECT_EQ(g.GetTopRow(), 1);  // not into the fixed rows
  // Row sizes, rows inserted and deleted where asked.
  const int before = g.rowChanges;
  g.SetRowHeights(2, 33);
  g.SetRowHeights(2, 33);  // unchanged: no report
  g.SetRowHeights(9, 33);  // outside: nothing
  EXPECT_EQ(g.rowChanges, before + 1);
  g.InsertRow(2);
  EXPECT_EQ(g.GetRowCount(), 6);
  EXPECT_EQ(g.GetRowHeights(2), 20);
  EXPECT_EQ(g.GetRowHeights(3), 33);
  g.DeleteRow(2);
  EXPECT_EQ(g.GetRowHeights(2), 33);
  g.SetRowCount(0);
  g.SetFixedRows(0);
  EXPECT_EQ(g.GetTopRow(), 0);
  EXPECT_EQ(g.GetRowHeights(0), 0);
}

TEST(DrawGrid, OwnerDrawnCellsAndTheirLines) {
  TDrawGrid g(nullptr);
  g.SetBounds(0, 0, 200, 60);
  g.SetColCount(2);
  g.SetRowCount(2);
  g.SetDefaultColWidth(60);
  g.SetDefaultRowHeight(20);
  std::vector<std::string> drawn;
  g.OnDrawCell = [&](TObject*, int c, int r, const TRect& rect, TGridDrawState st) {
    drawn.push_back(std::to_string(c) + "," + std::to_string(r) + (st.Contains(gdFixed) ? " fixed" : ""));
    if (c == 1 && r == 1) {
      g.GetCanvas()->GetBrush()->SetColor(clRed);
      g.GetCanvas()->FillRect(InflateRect(rect, -2, -2));
    }
  };
  TBitmap shot;
  g.PaintTo(&shot);
  EXPECT_EQ(drawn, (std::vector<std::string>{"0,0 fixed", "1,0 fixed", "0,1 fixed", "1,1"}));
  TCanvas* c = shot.GetCanvas();
  EXPECT_EQ(c->GetPixel(80, 30), clRed);
  EXPECT_EQ(c->GetPixel(62, 22), ColorToRGB(clWindow));
  EXPECT_EQ(c->GetPixel(30, 10), ColorToRGB(clBtnFace));  // a fixed cell
  EXPECT_EQ(c->GetPixel(30, 20), ColorToRGB(clBtnShadow));  // its line
  EXPECT_EQ(c->GetPixel(90, 41), ColorToRGB(clGridLine));    // a scrolled cell's line
}

TEST(DrawGrid, RowLinesDraggedInTheFixedColumn) {
  TPanel form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* g = new CountingGrid(&form);
  g->SetParent(&form);
  g->SetBounds(0, 0, 300, 200);
  g->SetFixedRows(0);
  g->SetTopRow(0);
  g->SetDefaultRowHeight(20);
  g->SetOptions(g->GetOptions() + TGridOptions{goRowSizing});
  vxtest::ShowWindow(&form);
  // Row 0's line lies at y = 20; in the fixed column it can be dragged.
  vxtest::MousePress(g, 30, 21);
  EXPECT_EQ(g->GetSizingRow(), 0);
  vxtest::MouseMove(g, 30, 30);
  vxtest::MouseMove(g, 30, 36);
  vxtest::MouseRelease(g, 30, 36);
  EXPECT_EQ(g->GetRowHeights(0), 36);
  EXPECT_EQ(g->GetSizingRow(), -1);
  EXPECT_EQ(g->GetRowHeights(1), 20);
  // In the scrolled cells the line is not a handle.
  vxtest::MousePress(g, 150, 36);
  vxtest::MouseMove(g, 150, 50);
  vxtest::MouseRelease(g, 150, 50);
  EXPECT_EQ(g->GetRowHeights(0), 36);
  // The wheel scrolls by rows.
  vxtest::Wheel(g, 150, 100, -240);
  EXPECT_EQ(g->GetTopRow(), 2);
  vxtest::Wheel(g, 150, 100, 120);
  EXPECT_EQ(g->GetTopRow(), 1);
}
