// The grid view on screen, driven by real input through the event loop:
// pixels at documented places, navigation, resizing, scrolling, and the
// model changing under the view.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <tuple>
#include <utility>
#include <vector>

#include "GridViewSupport.h"
#include <vxplan/platform/ui/WindowPixels.h>

using namespace gridview_test;

namespace {

// A view that lets every header sort, and notes the requests.
class SortingView : public TBabGridView {
public:
  using TBabGridView::TBabGridView;
  std::vector<std::pair<TBabCell*, bool>> sorts;

protected:
  bool CheckSortAllow(TBabCell*) override { return true; }
  void DoSortCell(TBabCell* c, bool up) override { sorts.push_back({c, up}); }
};

}  // namespace

TEST(GridViewPaint, HeadersLinesCheckBoxesSelectionAndFocus) {
  ViewScene s;
  s.onCell = [](TBabSimpleCellStringData* d) {
    TBabCell* c = d->GetBabCell();
    if (c->GetCol() == 2 && (c->GetRow() == 1 || c->GetRow() == 2)) {
      d->SetIsBoolean(true);
      d->SetString(c->GetRow() == 1 ? "true" : "FALSE");
    }
  };
  s.Show();
  s.Click(1, 1);
  s.Paint();
  // Header (1,0) at (61,1)-(121,21), raised one pixel inside; the grid line
  // right of a plain cell; the single border; check boxes at (124,26)-(135,37),
  // sunken, ticked when checked; the clicked cell in the highlight colour,
  // framed by the dotted focus rectangle (60,20)-(122,42); the grid's own
  // focus frame one pixel inside the area.
  s.ExpectPixels({{101, 2, clWhite},  {62, 12, clWhite},   {101, 20, Shadow()},
                  {120, 12, Shadow()}, {100, 12, Face()},  {240, 70, Face()},
                  {230, 70, clWhite},  {0, 150, ColorToRGB(clWindowFrame)},
                  {124, 30, Dark()},   {134, 30, Light()}, {128, 32, clBlack},
                  {128, 52, clWhite},  {124, 50, Dark()},  {100, 30, Highlight()},
                  {61, 41, clBlack},   {62, 41, clWhite},  {2, 150, Highlight()}});
  // Without the input focus: a grey selection and no focus rectangles.
  s.view.clearFocus();
  vxtest::ProcessEventsUntilIdle();
  s.Paint();
  s.ExpectPixels({{100, 30, Face()}, {61, 41, clWhite}, {2, 150, clWhite}});
}

// The application's hooks into a cell's rendering: it may change the text
// before it is fetched, draw a cell itself, and draw the tree buttons.
TEST(GridViewPaint, TheApplicationsRenderHooks) {
  ViewScene s;
  TBabGridCellForViewer* g = s.g;
  s.onCell = [](TBabSimpleCellStringData* d) {
    if (d->GetBabCell()->GetCol() != 2) return;
    d->SetIsBoolean(true);
    d->SetString("true");
  };
  s.view.OnBeforeRenderCell = [](TBabGridView_Custom*, TBabCell* c) {
    if (c->GetCol() == 3 && c->GetRow() == 1) dynamic_cast<TBabSimpleCellStringData*>(c->GetBabCellData())->SetString("late");
  };
  std::vector<std::string> seen;
  TRect drawnByHand;
  s.view.OnUserRenderCell = [&](TBabGridView_Custom* v, TCanvas* canvas, TBabCell* c, const std::string& text,
                                bool value, bool isText, TBabDrawStateSet, TRect r, bool& draw) {
    if (c->GetRow() != 1 || c->getGridCell() != g) return;
    seen.push_back((v == &s.view ? "" : "? ") + text + " " + std::to_string(isText) + std::to_string(value));
    if (c->GetCol() != 4) return;
    canvas->GetBrush()->SetColor(clLime);
    canvas->FillRect(r);
    drawnByHand = r;
    draw = false;
  };
  s.view.OnCellHasButton = [g](TBabGridView_Custom*, TBabCell* c) {
    return c->getGridCell() == g && c->GetCol() == 1 && c->GetRow() == 1;
  };
  std::vector<std::string> buttons;
  s.view.OnRenderButton = [&](TBabGridView_Custom* v, TCanvas* canvas, TBabCell* c, TRect r) {
    buttons.push_back((v == &s.view ? "" : "? ") + std::to_string(c->GetCol()) + "," + std::to_string(c->GetRow()));
    canvas->GetBrush()->SetColor(clRed);
    canvas->FillRect(r);
  };
  s.Show();
  seen.clear();
  buttons.clear();
  s.Paint();
  EXPECT_EQ(seen, (std::vector<std::string>{"0,1 10", "1,1 10", "true 01", "late 10", "4,1 10"}));
  // The text section (the cell less two pixels) is the application's alone.
  EXPECT_EQ(drawnByHand, Rect(ViewScene::X(4) + 2, ViewScene::Y(1) + 2, ViewScene::X(4) + 58, ViewScene::Y(1) + 18));
  EXPECT_EQ(vxtest::MatchingPixels(s.shot.GetCanvas(), 400, 300, [](TColor p) { return p == clLime; }), drawnByHand);
  // The button section: 15 pixels at the cell's left, drawn only by the application.
  EXPECT_EQ(buttons, std::vector<std::string>{"1,1"});
  EXPECT_EQ(vxtest::MatchingPixels(s.shot.GetCanvas(), 400, 300, [](TColor p) { return p == clRed; }),
            Rect(ViewScene::X(1) + 1, ViewScene::Y(1) + 1, ViewScene::X(1) + 16, ViewScene::Y(1) + 19));
}

// A header has no layout: it keeps the grid's font even when painted right
// after a cell whose layout brings a big font of its own, in this paint and
// the next.
TEST(GridViewPaint, AHeaderAfterACellOfItsOwnFontKeepsTheGridsFont) {
  ViewScene s(3, 2);
  TLayoutProp big;
  big.UseFontInfo = true;
  big.FontName = s.view.GetFont()->GetName();
  big.FontSize = 28;
  s.onCell = [&big](TBabSimpleCellStringData* d) {
    if (d->GetBabCell()->GetCol() == 1 && d->GetBabCell()->GetRow() == 2) d->GetBabCell()->SetLayoutProp(&big);
  };
  s.Show();
  // Ink of a header's text "c,0": the same width in the first and the last column.
  auto inkWidth = [&s](int theCol) {
    int lo = 1000, hi = -1;
    for (int x = s.X(theCol) + 2; x < s.X(theCol) + 58; ++x)
      for (int y = 3; y < 19; ++y) {
        const TColor p = s.Pixel(x, y);
        if ((p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16 & 0xFF) < 300) lo = std::min(lo, x), hi = std::max(hi, x);
      }
    return hi - lo;
  };
  for (int paint = 0; paint < 2; ++paint) {
    s.view.Invalidate();
    s.Paint();
    EXPECT_GT(inkWidth(0), 5);
    EXPECT_NEAR(inkWidth(2), inkWidth(0), 2) << "paint " << paint;
  }
}

// From its second paint on, the view draws on the window's own pixels when
// the window is a picture of its format; a window of another format gets
// the picture copied. Both must show the same pixels, bars and a scrolled,
// selected and focused grid included.
TEST(GridViewPaint, DrawnOnTheWindowAsThroughTheOffscreenPicture) {
  BasicScene<TBabGridView> s(8, 60);
  s.onCell = [](TBabSimpleCellStringData* d) {
    if (d->GetBabCell()->GetCol() == 2) {
      d->SetIsBoolean(true);
      d->SetString(d->GetBabCell()->GetRow() % 2 ? "TRUE" : "FALSE");
    }
  };
  s.Show();
  s.Click(1, 3);
  for (int k = 0; k < 14; ++k) s.Key(Qt::Key_Down);
  vxtest::ProcessEventsUntilIdle();
  TBitmap copied;
  copied.SetTransparent(true);
  for (int k = 0; k < 2; ++k) {
    s.Paint();
    s.view.PaintTo(&copied);
  }
  const int taken = TWindowPixels::Taken();
  s.Paint();
  EXPECT_EQ(TWindowPixels::Taken(), taken + 1);
  s.view.PaintTo(&copied);
  EXPECT_EQ(TWindowPixels::Taken(), taken + 1);
  int differing = 0, highlighted = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) {
      const TColor p = s.Pixel(x, y);
      if (p != copied.GetCanvas()->GetPixel(x, y)) ++differing;
      if (p == Highlight()) ++highlighted;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(highlighted, 100);
}

TEST(GridViewPaint, TreeLinesButtonsSortSymbolAndNestedFrame) {
  BasicScene<SortingView> s(5, 10);
  TBabGridCellForViewer* g = s.g;
  bool expanded = false;
  s.view.OnCellHasButton = [g](TBabGridView_Custom*, TBabCell* c) {
    return c->getGridCell() == g && c->GetCol() == 1 && c->GetRow() >= 1 && c->GetRow() <= 3;
  };
  s.view.OnCellInset = [](TBabGridView_Custom*, TBabCell* c) { return c->GetRow() == 1 ? 0 : 1; };
  s.view.OnIsButtonTerminal = [](TBabGridView_Custom*, TBabCell* c) { return c->GetRow() != 1; };
  s.view.OnIsButtonExpanded = [&expanded](TBabGridView_Custom*, TBabCell*) { return expanded; };
  s.view.OnGetParentButtonCell = [g](TBabGridView_Custom*, TBabCell* c) -> TBabCell* {
    return c->GetRow() > 1 ? g->getCell(1, 1) : nullptr;
  };
  s.Nest(3, 5, 2);
  s.Show();
  s.Paint();
  // The parent's button at (64,26)-(73,35): grey frame, minus, and a plus
  // while folded. Silver lines from it (68,30) down to each child's button
  // level, then ten pixels right (children indented by 15); none below the
  // last child.
  s.ExpectPixels({{64, 30, clGray},   {67, 30, clBlack},  {68, 28, clBlack},  {70, 28, clWhite},
                  {68, 45, clSilver}, {74, 50, clSilver}, {68, 62, clSilver}, {74, 70, clSilver},
                  {68, 75, clWhite}});
  expanded = true;
  s.view.Invalidate();
  s.Paint();
  // The nested grid's frame at its left, bottom and right edges, over the
  // cells inside it, and the line between its first two cells.
  s.ExpectPixels({{68, 28, clWhite}, {182, 120, Face()}, {210, 139, Face()}, {240, 120, Face()},
                  {200, 110, Face()}, {199, 119, clWhite}});

  // A click in a header's middle sorts; the same header again turns the
  // order round. The symbol sits at the right of the header's text area.
  for (bool up : {false, true}) {
    s.Click(2, 0);
    s.Paint();
    ASSERT_EQ(s.view.sorts.size(), up ? 2u : 1u);
    EXPECT_EQ(s.view.sorts.back().first, s.view.sorts.front().first);
    EXPECT_EQ(s.view.sorts.back().second, up);
    s.ExpectPixels({{172, 14, up ? Face() : clWhite}, {173, 8, up ? Dark() : Face()}});
  }
}

TEST(GridViewKeys, NavigationAcrossNestedGridsHiddenRowsAndCopy) {
  ViewScene s(6, 12);
  s.Nest(3, 2, 2);
  s.Fill();
  s.g->GetAxisContentListY()->getAxisContentItem(5)->SetHide(true);
  s.Show();
  s.Click(1, 1);
  EXPECT_EQ(s.FocusName(), "1,1");
  const std::vector<std::pair<Qt::Key, std::string>> walk{
      {Qt::Key_Down, "1,2"},          {Qt::Key_Right, "2,2"},           {Qt::Key_Right, "3,2"},
      {Qt::Key_Return, "0,0 in 3,2"}, {Qt::Key_Right, "1,0 in 3,2"},    {Qt::Key_Down, "1,1 in 3,2"},
      {Qt::Key_Right, "4,2"},         {Qt::Key_Left, "3,2"},            {Qt::Key_Down, "3,3"},
      {Qt::Key_Down, "3,4"},          {Qt::Key_Down, "3,6"},            {Qt::Key_Up, "3,4"},
      {Qt::Key_Home, "0,4"},          {Qt::Key_End, "5,4"},             {Qt::Key_Tab, "0,6"},
      {Qt::Key_Backtab, "5,4"},       {Qt::Key_Tab, "0,6"},             {Qt::Key_Tab, "1,6"}};
  for (const auto& [key, expected] : walk) {
    s.Key(key);
    EXPECT_EQ(s.FocusName(), expected) << "after key " << key;
  }
  // Moving selects the new cell alone; Shift extends from the anchor.
  EXPECT_TRUE(s.Focused()->GetSelected());
  s.Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_TRUE(s.g->getCell(1, 6)->GetSelected());
  EXPECT_TRUE(s.g->getCell(2, 6)->GetSelected());
  s.Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(s.FocusName(), "2,12");
  s.Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(s.FocusName(), "2,1");
  // Enter into a nested grid does not edit there yet; the next Enter does.
  s.Click(2, 2);
  s.Key(Qt::Key_Right);
  s.Key(Qt::Key_Return);
  EXPECT_EQ(s.FocusName(), "0,0 in 3,2");
  EXPECT_FALSE(s.view.GetEditing());
  s.Key(Qt::Key_Return);
  EXPECT_TRUE(s.view.GetEditing());
  s.Key(Qt::Key_Escape);
  s.Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(GetClipboardText(), "0,0");
}

TEST(GridViewMouse, ResizingColumnsAndRowsWithTrackingLines) {
  ViewScene s(5, 10);
  s.g->SetFixedCols(1);  // before the cells are made
  s.onCell = [](TBabSimpleCellStringData* d) {
    if (d->GetBabCell()->GetCol() == 3 && d->GetBabCell()->GetRow() == 4) d->SetString("a rather longer text");
  };
  std::vector<std::string> sized;
  s.view.OnAfterUserSize = [&sized](TBabGridView_Custom*, TBabCell*, bool horz, TAxisContentItem* item) {
    sized.push_back(std::string(horz ? "col " : "row ") + std::to_string(item->ListIndex()) + " " +
                    std::to_string(item->GetUserSize()));
  };
  s.Show();
  TAxisContentList* cols = s.g->GetAxisContentListX();
  // Over the border between the headers of columns 1 and 2 the cursor offers to split.
  vxtest::MouseMove(&s.view, 121, 10);
  EXPECT_EQ(s.view.GetCursor(), crHSplit);
  vxtest::MouseMove(&s.view, 150, 10);
  EXPECT_EQ(s.view.GetCursor(), crDefault);

  vxtest::MousePress(&s.view, 121, 10);
  EXPECT_EQ(s.view.GetMouseMoveMode(), TBabGridView_Custom::mmResizeCols);
  vxtest::MouseMove(&s.view, 140, 10);
  vxtest::MouseMove(&s.view, 151, 12);
  EXPECT_EQ(s.view.GetTrackLine(), Rect(151, 0, 153, 300));
  vxtest::MouseRelease(&s.view, 151, 12);
  EXPECT_EQ(s.view.GetTrackLine(), NoRect());
  EXPECT_EQ(s.view.GetMouseMoveMode(), TBabGridView_Custom::mmNone);
  EXPECT_EQ(cols->getAxisContentItem(1)->GetUserSize(), 90);
  s.Paint();
  EXPECT_EQ(cols->getAxisContentItem(2)->GetAcumSize(), 150);

  // Row borders are offered in the fixed column: row 1 grows by 10.
  vxtest::MousePress(&s.view, 30, 41);
  EXPECT_EQ(s.view.GetMouseMoveMode(), TBabGridView_Custom::mmResizeRows);
  vxtest::MouseMove(&s.view, 30, 51);
  EXPECT_EQ(s.view.GetTrackLine(), Rect(0, 51, 400, 53));
  vxtest::MouseRelease(&s.view, 30, 51);
  EXPECT_EQ(s.g->GetAxisContentListY()->getAxisContentItem(1)->GetUserSize(), 30);

  // A double click on the border after column 3 fits it to its widest text.
  const int border = 1 + 60 + 90 + 60 + 60;
  s.Paint();
  vxtest::MouseDoubleClick(&s.view, border, 10);
  TBitmap probe;
  probe.GetCanvas()->SetFont(*s.view.GetFont());
  EXPECT_EQ(cols->getAxisContentItem(3)->GetUserSize(), probe.GetCanvas()->TextWidth("a rather longer text") + 4);
  EXPECT_EQ(sized.front(), "col 1 90");
  EXPECT_EQ(sized.size(), 3u);
}

TEST(GridViewScroll, BarsFollowTheModel) {
  ViewScene s(5, 0);
  int shown = 0;
  s.view.OnVerticalScrollVisibilityChanged = [&shown](TObject*) { ++shown; };
  s.Virtual(1000);
  s.Show();
  s.Paint();
  TScrollBar* bar = s.view.GetVertScrollBar();
  // 298 pixels hold the header and 13 full rows (the 14th is cut).
  ASSERT_TRUE(bar->GetVisible());
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(s.view.GetHorzScrollBar()->GetVisible());
  EXPECT_EQ(bar->GetMin(), 1);
  EXPECT_EQ(bar->GetMax(), 1000);
  EXPECT_EQ(bar->GetPageSize(), 13);
  EXPECT_EQ(bar->GetPosition(), 1);
  EXPECT_EQ(s.view.GetDrawRect(), Rect(1, 1, 399 - bar->GetWidth(), 299));

  // Taken over by another control: the view's own bar goes, the area takes
  // its place, the range stays for the other control, whose wheel turns the view.
  s.view.HijackVerticalScroll(true);
  s.Paint();
  EXPECT_FALSE(bar->GetVisible());
  EXPECT_EQ(s.view.GetDrawRect(), Rect(1, 1, 399, 299));
  EXPECT_EQ(bar->GetMax(), 1000);
  TWMMouseWheel wheel;
  wheel.Msg = WM_MOUSEWHEEL;
  wheel.WParam = static_cast<WPARAM>(static_cast<std::uint16_t>(-120)) << 16;
  s.view.HandleExternalWheelScroll(wheel);
  s.Paint();
  EXPECT_EQ(s.g->GetTop(), 4);
  s.view.HijackVerticalScroll(false);
  s.Paint();
  EXPECT_TRUE(bar->GetVisible());
  EXPECT_EQ(bar->GetPosition(), 4);
  EXPECT_EQ(shown, 1);
  s.g->SetTop(1);
  s.Paint();

  // Page Down moves the focus by the full rows and the bar with it.
  s.Click(1, 1);
  s.Key(Qt::Key_PageDown);
  EXPECT_EQ(s.FocusName(), "1,14");
  EXPECT_EQ(s.g->GetTop(), 3);
  EXPECT_EQ(bar->GetPosition(), 3);
  // The wheel as in Qt's views: the system's three lines a notch, the steps
  // of a fine wheel adding up, a page with Ctrl.
  const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier;
  for (auto [delta, modifiers, top] : {std::tuple{-120, none, 6}, {20, none, 6}, {20, none, 5}, {-120, ctrl, 18},
                                       {120, ctrl, 5}, {120, none, 2}}) {
    vxtest::Wheel(&s.view, 100, 100, delta, modifiers);
    EXPECT_EQ(s.g->GetTop(), top) << delta << " " << modifiers.toInt();
  }
  // Ctrl+End goes to the last row, far past the loaded window.
  s.Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(s.FocusName(), "1,1000");
  s.Paint();
  EXPECT_EQ(bar->GetPosition(), 988);
  EXPECT_LE(s.g->GetAxisContentListY()->LoadedCount(), TAxisContentList::MaxLoadedItems);
  // Hidden rows leave the range; rows added at the end widen it.
  s.g->GetAxisContentListY()->getAxisContentItem(999)->SetHide(true);
  s.Paint();
  EXPECT_EQ(bar->GetMax(), 999);
  s.g->GetAxisContentListY()->AddUnloaded(50);
  s.Paint();
  EXPECT_EQ(bar->GetMax(), 1049);
  // Few enough rows to fit: the bar goes and the top comes back.
  s.g->GetAxisContentListY()->ClearKeepFixedItems();
  for (int k = 0; k < 3; ++k) s.g->GetAxisContentListY()->AddNew(nullptr);
  s.Paint();
  EXPECT_FALSE(bar->GetVisible());
  EXPECT_EQ(s.g->GetTop(), 1);
  EXPECT_EQ(s.view.GetDrawRect(), Rect(1, 1, 399, 299));
}

TEST(GridViewModel, PaintingAfterCellsAreFreedUnderTheView) {
  ViewScene s(5, 0);
  s.Virtual(1000);
  s.Show();
  s.Click(2, 5);
  // The focused cell's row goes: the view paints on without it.
  s.g->GetAxisContentListY()->Drop(5);
  s.Paint();
  EXPECT_EQ(s.FocusName(), "none");
  // A press on a selected cell waits for the release; its row goes meanwhile.
  s.Click(1, 3);
  const TPoint p = ViewScene::Mid(1, 3);
  vxtest::MousePress(&s.view, p.X, p.Y);
  s.g->GetAxisContentListY()->Drop(3);
  vxtest::MouseRelease(&s.view, p.X, p.Y);
  s.Paint();
  // A jump far away discards the window with the focused cell in it.
  s.Click(1, 2);
  s.g->SetTop(900);
  s.Paint();
  s.Key(Qt::Key_Down);
  s.Paint();
  EXPECT_LE(s.g->GetAxisContentListY()->LoadedCount(), TAxisContentList::MaxLoadedItems);
  EXPECT_EQ(s.g->GetTop(), 900);
}

TEST(GridViewKeys, TypeAheadSearch) {
  const std::vector<std::string> words{"", "Apple", "Banana", "Abacus", "Abba", "Cherry", "Date"};
  ViewScene s(3, 6);
  s.onCell = [&words](TBabSimpleCellStringData* d) {
    if (d->GetBabCell()->GetCol() == 1 && d->GetBabCell()->GetRow() > 0) d->SetString(words[d->GetBabCell()->GetRow()]);
  };
  s.view.OnEditorCanModify = [](TBabGridView_Custom*, TBabCell*) { return false; };
  s.Show();
  // From the focus to the end, then round from the top; each key narrows.
  s.Click(1, 5);
  for (auto [key, focus] : {std::pair{Qt::Key_A, "1,1"}, {Qt::Key_B, "1,3"}, {Qt::Key_B, "1,4"}}) {
    s.Key(key);
    EXPECT_EQ(s.FocusName(), focus);
    EXPECT_FALSE(s.view.GetEditing());
  }
  EXPECT_TRUE(s.Focused()->GetSelected());
  EXPECT_EQ(s.view.GetNaviString(), "abb");
  // After a second's pause the typed text starts again.
  QTest::qWait(1100);
  s.Key(Qt::Key_C);
  EXPECT_EQ(s.view.GetNaviString(), "c");
  EXPECT_EQ(s.FocusName(), "1,5");
}

// What the view's events name, how often and when, through real input.
TEST(GridViewEvents, SelectionTopLeftAndSize) {
  ViewScene s(5, 30);
  std::vector<std::string> log;
  auto who = [&s](TObject* v) { return std::string(v == &s.view ? "" : "? "); };
  auto name = [](TBabCell* c) {
    return c ? std::to_string(c->GetCol()) + "," + std::to_string(c->GetRow()) + (c->GetSelected() ? " on" : " off")
             : std::string("nil");
  };
  s.view.OnCellSelectionChanged = [&](TBabGridView_Custom* v, TBabCell* c) { log.push_back(who(v) + "cell " + name(c)); };
  s.view.OnSelectionChanged = [&](TObject* v) { log.push_back(who(v) + "selection"); };
  s.view.OnTopLeftChanged = [&](TObject* v) {
    log.push_back(who(v) + "top " + std::to_string(s.g->GetTop()) + " focus " + s.FocusName());
  };
  s.view.OnGridResize = [&](TObject* v) { log.push_back(who(v) + "resize " + std::to_string(s.view.GetWidth())); };
  s.Show();
  log.clear();
  s.Click(1, 2);
  s.Key(Qt::Key_Down);
  vxtest::Wheel(&s.view, 100, 100, -120);
  s.view.SetBounds(0, 0, 380, 300);
  vxtest::ProcessEventsUntilIdle();
  // A focus change tells the top-left (with the new focus); each cell whose
  // selection changed is told, each time followed by the whole selection's event.
  EXPECT_EQ(log, (std::vector<std::string>{"top 1 focus 1,2", "cell 1,2 on", "selection", "top 1 focus 1,3",
                                           "cell 1,2 off", "selection", "cell 1,3 on", "selection",
                                           "top 4 focus 1,3", "resize 380"}));
}

TEST(GridViewMouse, ClicksSelectAndADragStartsPastTheThreshold) {
  ViewScene s(5, 10);
  std::vector<std::string> log;
  s.view.OnRightClick = [&log](TBabGridView_Custom*, TBabCell* c) {
    log.push_back("right " + std::to_string(c->GetCol()) + "," + std::to_string(c->GetRow()));
  };
  s.Show();
  auto selected = [&s] {
    std::string r;
    for (int y = 1; y <= 4; ++y)
      for (int x = 0; x < 5; ++x)
        if (s.g->getCell(x, y)->GetSelected()) r += std::to_string(x) + "," + std::to_string(y) + " ";
    return r;
  };
  s.Click(1, 1);
  s.Click(2, 2, Qt::ControlModifier);
  EXPECT_EQ(selected(), "1,1 2,2 ");
  s.Click(3, 3, Qt::ShiftModifier);
  EXPECT_EQ(selected(), "2,2 3,2 2,3 3,3 ");
  s.view.SetMultiSelect(false);
  s.Click(1, 4, Qt::ShiftModifier);
  EXPECT_EQ(selected(), "1,4 ");
  s.view.SetMultiSelect(true);
  const TPoint r = ViewScene::Mid(3, 1);
  vxtest::MousePress(&s.view, r.X, r.Y, Qt::RightButton);
  vxtest::MouseRelease(&s.view, r.X, r.Y, Qt::RightButton);
  EXPECT_EQ(log, std::vector<std::string>{"right 3,1"});
  EXPECT_EQ(s.FocusName(), "3,1");
  EXPECT_EQ(selected(), "3,1 ");

  // An automatic drag asked of the view starts only past the threshold.
  s.view.SetDragMode(dmAutomatic);
  EXPECT_EQ(s.view.GetDragMode(), dmManual);
  bool started = false, ended = false;
  s.view.OnStartDrag = [&started](TObject*, TObject*&) { started = true; };
  s.view.OnEndDrag = [&ended](TObject*, TObject*, int, int) { ended = true; };
  const TPoint p = ViewScene::Mid(1, 2);
  vxtest::MousePress(&s.view, p.X, p.Y);
  vxtest::MouseMove(&s.view, p.X + 3, p.Y);
  EXPECT_FALSE(s.view.Dragging());
  vxtest::MouseMove(&s.view, p.X + 12, p.Y + 4);
  EXPECT_TRUE(s.view.Dragging());
  EXPECT_TRUE(started);
  vxtest::MouseRelease(&s.view, p.X + 12, p.Y + 4);
  EXPECT_FALSE(s.view.Dragging());
  EXPECT_TRUE(ended);
  EXPECT_EQ(selected(), "1,2 ");
}

TEST(GridViewScroll, TheLastColumnComesFullyIntoView) {
  ViewScene s(10, 3);
  s.Show();
  s.Paint();
  TScrollBar* bar = s.view.GetHorzScrollBar();
  ASSERT_TRUE(bar->GetVisible());
  // 398 pixels: six full columns and a cut one; a page is the full ones.
  EXPECT_EQ(bar->GetPageSize(), 6);
  s.Click(1, 1);
  s.Key(Qt::Key_End);
  s.Paint();
  TAxisContentItem* last = s.g->GetAxisContentListX()->getAxisContentItem(9);
  EXPECT_TRUE(last->GetIsOnScreen());
  EXPECT_LE(last->GetAcumSize() + last->GetCalculatedSize(), s.view.GetDrawRect().Width());
}

namespace {

// The column grid's rule: a column of user size 1000 wraps at what is left.
class StretchingView : public TBabGridView {
public:
  using TBabGridView::TBabGridView;
  int GetWidthOffAxisContentItemForHeightCalculation(TBabGridCell* g, TAxisContentItem* item) override {
    return item->GetUserSize() == kFillUserSize ? WidthLeftForColumn(g, item) : item->GetUserSize();
  }
};

}  // namespace

// Wrapped texts: (1,1) at its column's user size, (3,2) in a stretched last column.
TEST(GridViewPaint, WrappedTextMeasuresAtTheColumnsWidth) {
  BasicScene<StretchingView> s(4, 2);
  TLayoutProp wrap;
  wrap.WrapTextAndFit = true;
  const std::string text = "one two three four five six seven eight nine ten";
  s.onCell = [&](TBabSimpleCellStringData* d) {
    const TBabCell* c = d->GetBabCell();
    const bool first = c->GetCol() == 1 && c->GetRow() == 1, stretched = c->GetCol() == 3 && c->GetRow() == 2;
    if (!first && !stretched) return;
    d->SetString(first ? "one two three four five six seven eight" : text);
    d->GetBabCell()->SetLayoutProp(&wrap);
  };
  s.Fill();
  TAxisContentList* rows = s.g->GetAxisContentListY();
  TAxisContentList* cols = s.g->GetAxisContentListX();
  cols->getAxisContentItem(3)->SetUserSize(TBabGridView_Custom::kFillUserSize);
  s.Show();
  s.Paint();
  TBitmap probe;
  probe.GetCanvas()->SetFont(*s.view.GetFont());
  const int line = probe.GetCanvas()->TextHeight("X");
  EXPECT_GE(rows->getAxisContentItem(1)->GetCalculatedSize(), 3 * line + 3);
  // 400 pixels less 5, less three columns of 60, leave 215: the text's lines at that width.
  EXPECT_EQ(s.view.WidthLeftForColumn(s.g, cols->getAxisContentItem(3)), 215);
  TRect r = Rect(0, 0, 215 - 4, 0);
  probe.GetCanvas()->DrawText(text, r, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  EXPECT_GT(r.Height(), line);
  EXPECT_EQ(rows->getAxisContentItem(2)->GetCalculatedSize(), std::max(r.Height() + 3, 20));
  // At 300 the text fits one line, and the row keeps the layout's minimum height.
  cols->getAxisContentItem(1)->SetUserSize(300);
  s.view.SetText(s.g->getCell(1, 1), s.view.GetText(s.g->getCell(1, 1)));
  s.Paint();
  EXPECT_EQ(rows->getAxisContentItem(1)->GetCalculatedSize(), wrap.MinHeight);
}

namespace {

// Columns of 60 in a view 400 wide; the last one fills the width.
struct FillCase {
  const char* name;
  int cols, rows, fixedCols, left, hiddenCol;
  bool verticalBar;
  int expected;  // before the vertical bar's width, when it shows
};

const FillCase kFillCases[] = {
    {"AllOnScreen", 4, 2, 0, 0, -1, false, 395 - 3 * 60},
    {"ScrolledOutColumnsLeaveTheirShare", 6, 2, 1, 4, -1, false, 395 - 2 * 60},
    {"HiddenColumnsLeaveTheirShare", 4, 2, 0, 0, 1, false, 395 - 2 * 60},
    {"TheVerticalBarTakesItsWidth", 4, 40, 0, 0, -1, true, 395 - 3 * 60},
    {"NoRoomLeftIsNoWidth", 9, 2, 0, 0, -1, false, 0},
};

}  // namespace

TEST(GridViewPaint, AStretchedLastColumnSharesOnlyWithColumnsOnScreen) {
  for (const FillCase& c : kFillCases) {
    SCOPED_TRACE(c.name);
    BasicScene<StretchingView> s(c.cols, c.rows);
    s.Fill();
    TAxisContentList* cols = s.g->GetAxisContentListX();
    s.g->SetFixedCols(c.fixedCols);
    if (c.hiddenCol >= 0) cols->getAxisContentItem(c.hiddenCol)->SetHide(true);
    TAxisContentItem* last = cols->getAxisContentItem(c.cols - 1);
    last->SetUserSize(TBabGridView_Custom::kFillUserSize);
    s.Show();
    s.g->SetLeft(c.left);
    s.Paint();
    ASSERT_EQ(s.g->GetLeft(), c.left);
    TScrollBar* bar = s.view.GetVertScrollBar();
    ASSERT_EQ(bar->GetVisible(), c.verticalBar);
    const int expected = c.expected - (c.verticalBar ? bar->GetWidth() : 0);
    EXPECT_EQ(s.view.WidthLeftForColumn(s.g, last), expected);
    EXPECT_EQ(s.view.GetWidthOffAxisContentItemForHeightCalculation(s.g, last), expected);
  }
}

TEST(GridViewScroll, LoadsAndUnloadsOfAPassAreToldAfterIt) {
  ViewScene s(5, 0);
  s.Virtual(1000);
  TAxisContentList* rows = s.g->GetAxisContentListY();
  int told = 0;
  std::vector<int> loadedWhenTold;
  bool clearOnce = false;
  s.view.OnAxisChanged = [&](TObject* sender) {
    EXPECT_EQ(sender, &s.view);
    ++told;
    loadedWhenTold.push_back(rows->LoadedCount());
    // A handler may change the axes it hears of.
    if (std::exchange(clearOnce, false)) rows->ClearKeepFixedItems();
  };
  s.Show();
  s.Paint();
  vxtest::ProcessEventsUntilIdle();
  // The first rows were loaded by the pass: told once it was over, with
  // the window as the pass left it.
  ASSERT_GE(told, 1);
  EXPECT_EQ(loadedWhenTold.back(), rows->LoadedCount());
  // A paint that loads nothing tells nothing.
  const int before = told;
  s.Paint();
  s.view.Repaint();
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(told, before);
  // Scrolling loads rows below and unloads those above.
  vxtest::Wheel(&s.view, 100, 100, -120);
  s.Paint();
  vxtest::ProcessEventsUntilIdle();
  ASSERT_EQ(s.g->GetTop(), 4);
  EXPECT_GT(told, before);
  EXPECT_EQ(loadedWhenTold.back(), rows->LoadedCount());
  // Told after the pass, a handler may empty the rows it hears of.
  clearOnce = true;
  vxtest::Wheel(&s.view, 100, 100, -120);
  s.Paint();
  vxtest::ProcessEventsUntilIdle();
  s.Paint();
  EXPECT_FALSE(clearOnce);
  EXPECT_EQ(rows->Count(), 1);
  EXPECT_FALSE(s.view.GetVertScrollBar()->GetVisible());
  // Nor does a handler emptying the rows upset a key's loads and unloads
  // (the change is told once the key's work is over).
  rows->AddUnloaded(1000);
  s.Paint();
  vxtest::ProcessEventsUntilIdle();
  clearOnce = true;
  s.view.SetFocus();
  vxtest::KeyClick(&s.view, Qt::Key_End, Qt::ControlModifier);
  s.Paint();
  EXPECT_FALSE(clearOnce);
  EXPECT_EQ(rows->Count(), 1);
}
