#pragma once

#include <functional>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include <vxplan/grid/vxBabGridView.h>

namespace gridview_test {

using namespace vx;

// A grid view shown as a window: theCols columns of 60 pixels, one fixed
// header row and theRows rows of 20 pixels below it, cell texts "col,row".
// With the border of one pixel, column c spans x = 1 + 60c .. 61 + 60c and
// row r spans y = 1 + 20r .. 21 + 20r.
template <class View>
struct BasicScene {
  View view{nullptr};
  TBabGridCellForViewer* g;
  TBitmap shot;
  int fCols, fRows;
  bool fFilled = false;
  // Called for every simple cell made, after its text is set.
  std::function<void(TBabSimpleCellStringData*)> onCell;

  explicit BasicScene(int theCols = 5, int theRows = 10, int theWidth = 400, int theHeight = 300)
      : g(view.GetBabGridCellForViewer()), fCols(theCols), fRows(theRows) {
    view.SetBounds(0, 0, theWidth, theHeight);
    view.OnInitContent = [this](TBabGridView_Custom*, TBabSimpleCellStringData* d) {
      TBabCell* c = d->GetBabCell();
      d->SetString(std::to_string(c->GetCol()) + "," + std::to_string(c->GetRow()));
      if (onCell) onCell(d);
    };
  }

  // Makes the columns and rows (cells are made with them: the view's events
  // must be set before).
  void Fill() {
    if (fFilled) return;
    fFilled = true;
    g->SetFixedRows(1);
    for (int c = 0; c < fCols; ++c) {
      TAxisContentItem* col = g->GetAxisContentListX()->AddNew(nullptr);
      col->SetUserSizeActive(true);
      col->SetUserSize(60);
    }
    for (int r = 0; r <= fRows; ++r) g->GetAxisContentListY()->AddNew(nullptr);
  }

  // Rows made on demand below the header; only the outer grid's rows unload.
  void Virtual(int theRows) {
    TBabGridCellForViewer* outer = g;
    view.OnVirtualUnLoad = [outer](TBabGridCell* caller, TAxisContentItem*, bool isRow, bool, bool& can) {
      can = caller == outer && isRow;
    };
    Fill();
    g->GetAxisContentListY()->AddUnloaded(theRows);
  }

  // A nested grid of theSize by theSize cells in (theCol, theRow); before Fill.
  void Nest(int theCol, int theRow, int theSize) {
    TBabGridCellForViewer* outer = g;
    view.SetOnCreateCell([=](TBabGridCell* caller, TAxisContentItem* x, TAxisContentItem* y) {
      return caller == outer && x->ListIndex() == theCol && y->ListIndex() == theRow ? babCellTypeGrid
                                                                                     : babCellTypeSimple;
    });
    view.OninitSubGridContent = [theSize](TBabGridView_Custom*, TBabSubGridCellData* d) {
      auto* nested = static_cast<TBabGridCell*>(d->GetBabCell());
      for (int k = 0; k < theSize; ++k) {
        nested->GetAxisContentListX()->AddNew(nullptr);
        nested->GetAxisContentListY()->AddNew(nullptr);
      }
    };
  }

  void Show() {
    Fill();
    vxtest::ShowWindow(&view);
    view.SetFocus();
    vxtest::ProcessEventsUntilIdle();
  }

  TCanvas* Paint() {
    view.PaintTo(&shot);
    return shot.GetCanvas();
  }

  TColor Pixel(int x, int y) { return shot.GetCanvas()->GetPixel(x, y); }

  struct PixelAt {
    int x, y;
    TColor colour;
  };
  // Compares pixels of the last paint.
  void ExpectPixels(std::initializer_list<PixelAt> thePixels) {
    for (const PixelAt& p : thePixels) EXPECT_EQ(Pixel(p.x, p.y), p.colour) << "at " << p.x << "," << p.y;
  }

  static int X(int theCol) { return 1 + 60 * theCol; }
  static int Y(int theRow) { return 1 + 20 * theRow; }
  // The middle of a cell of the outermost grid (rows of 20 pixels).
  static TPoint Mid(int theCol, int theRow) { return Point(X(theCol) + 30, Y(theRow) + 10); }

  void Click(int theCol, int theRow, Qt::KeyboardModifiers theModifiers = Qt::NoModifier) {
    const TPoint p = Mid(theCol, theRow);
    vxtest::MousePress(&view, p.X, p.Y, Qt::LeftButton, theModifiers);
    vxtest::MouseRelease(&view, p.X, p.Y, Qt::LeftButton, theModifiers);
  }

  void Key(Qt::Key theKey, Qt::KeyboardModifiers theModifiers = Qt::NoModifier) {
    vxtest::KeyClick(&view, theKey, theModifiers);
  }

  TBabCell* Focused() const { return g->GetFocusedCellDownTrack(); }
  // Column and row of the focused cell ("none" without one); nested cells
  // as "col,row in col,row".
  std::string FocusName() const {
    TBabCell* f = Focused();
    if (!f) return "none";
    std::string s = std::to_string(f->GetCol()) + "," + std::to_string(f->GetRow());
    if (TBabGridCell* gc = f->getGridCell(); gc && gc->getGridCell())
      s += " in " + std::to_string(gc->GetCol()) + "," + std::to_string(gc->GetRow());
    return s;
  }
};

using ViewScene = BasicScene<TBabGridView>;

// Resolved when asked: system colours follow the application's palette.
inline TColor Face() { return ColorToRGB(clBtnFace); }
inline TColor Shadow() { return ColorToRGB(clBtnShadow); }
inline TColor Dark() { return ColorToRGB(cl3DDkShadow); }
inline TColor Light() { return ColorToRGB(cl3DLight); }
inline TColor Highlight() { return ColorToRGB(clHighlight); }

}  // namespace gridview_test
