// Column widths, row heights, user sizes, the layout pass and the deferred layout.
#include <gtest/gtest.h>

#include "GridTestSupport.h"
#include "UiTestSupport.h"

using namespace vx;
using namespace gridtest;

namespace {

void SetLayout(TBabGridCell* g, TLayoutProp* p) {
  g->GetCellMatris()->ForEachCell([p](TBabCell* c) { c->SetLayoutProp(p); });
}

int RowSize(TBabGridCell* g, int r) { return g->GetAxisContentListY()->getAxisContentItem(r)->GetCalculatedSize(); }
int ColSize(TBabGridCell* g, int c) { return g->GetAxisContentListX()->getAxisContentItem(c)->GetCalculatedSize(); }

}  // namespace

TEST(GridSizing, CutColumnIsCountedCutRowIsNot) {
  auto g = NewGrid();
  AddCols(g.get(), 5);
  AddRows(g.get(), 5);
  g->CalcVisibleArea(Rect(10, 10, 60, 60));
  EXPECT_EQ(g->GetVisibleColCount(), 3);
  EXPECT_FALSE(g->GetLastColumnShow());
  EXPECT_EQ(g->GetBrokenColumn(), 2);
  EXPECT_EQ(g->GetVisibleRowCount(), 2);
  EXPECT_FALSE(g->GetLastRowShow());
  EXPECT_EQ(g->GetAxisContentListY()->VisibleCount(), 3);
  EXPECT_EQ(g->GetDrawRect(), Rect(10, 10, 60, 60));
  // Offsets are relative to the area; hit testing adds its corner.
  EXPECT_EQ(g->GetAxisContentListX()->getAxisContentItem(2)->GetAcumSize(), 40);
  EXPECT_EQ(g->GridCoordsFromPix(55, 15), (TPoint{2, 0}));
  // A wide area shows everything.
  g->SetLeft(1);
  g->CalcVisibleArea(Rect(0, 0, 500, 500));
  EXPECT_TRUE(g->GetLastColumnShow());
  EXPECT_TRUE(g->GetLastRowShow());
  EXPECT_EQ(g->GetVisibleColCount(), 4);
  EXPECT_EQ(g->GetAxisContentListX()->getAxisContentItem(1)->GetAcumSize(), 0);
}

TEST(GridSizing, UserSizesAndWrappedTextMeasuring) {
  auto g = NewGrid();
  AddCols(g.get(), 2);
  AddRows(g.get(), 3);
  TLayoutProp wrapped;
  wrapped.WrapTextAndFit = true;
  wrapped.MinHeight = 20;
  wrapped.MinWidth = 35;
  SetLayout(g.get(), &wrapped);
  int measured = 0;
  g->fOnMeasureHeight = [&](TBabGridCell* caller, TBabCell* c, int& h) {
    EXPECT_EQ(caller, g.get());
    ++measured;
    h = c->GetRow() == 2 ? 10 : 60;  // row 2: text smaller than the minimum
  };
  g->CalcVisibleArea(Rect(0, 0, 200, 400));
  EXPECT_EQ(measured, 6);  // each wrapped cell once per pass
  EXPECT_EQ(RowSize(g.get(), 0), 60);
  EXPECT_EQ(ColSize(g.get(), 0), 35);

  TAxisContentItem* row1 = g->GetAxisContentListY()->getAxisContentItem(1);
  row1->SetUserSizeActive(true);
  row1->SetUserSize(30);  // smaller than its text
  g->CalcVisibleArea(Rect(0, 0, 200, 400));
  EXPECT_EQ(RowSize(g.get(), 1), 30);
  row1->SetUserSize(5);  // but never below the layout's minimum
  g->CalcVisibleArea(Rect(0, 0, 200, 400));
  EXPECT_EQ(RowSize(g.get(), 1), 20);
  EXPECT_EQ(RowSize(g.get(), 2), 20);  // short text still gets the layout's minimum

  // A shared holder carries one user size for several columns.
  TUserSizeItem shared;
  int sizeEvents = 0;
  TSingleEventListener l(g->GetUserSizeEvent(), [&](TSingleEventListener* e) {
    EXPECT_EQ(e->GetCallingMessage(), g->GetAxisContentListX()->getAxisContentItem(0));
    ++sizeEvents;
  }, false);
  for (int c = 0; c < 2; ++c) g->GetAxisContentListX()->getAxisContentItem(c)->SetUserSizeItem(&shared);
  TAxisContentItem* col0 = g->GetAxisContentListX()->getAxisContentItem(0);
  col0->SetUserSizeActive(true);
  col0->SetUserSize(70);
  EXPECT_EQ(sizeEvents, 1);
  EXPECT_EQ(g->GetAxisContentListX()->getAxisContentItem(1)->GetUserSize(), 70);
  g->CalcVisibleArea(Rect(0, 0, 200, 400));
  EXPECT_EQ(ColSize(g.get(), 1), 70);
}

TEST(GridSizing, HiddenItemsTakeNoRoomAndNestedGridsSumTheirItems) {
  auto g = NewGrid();
  g->fOnCreateCell = [](TBabGridCell* caller, TAxisContentItem* x, TAxisContentItem* y) {
    return caller->getGridCell() == nullptr && x->ListIndex() == 1 && y->ListIndex() == 0 ? babCellTypeGrid
                                                                                           : babCellTypeSimple;
  };
  AddCols(g.get(), 3);
  AddRows(g.get(), 4);
  auto* nested = static_cast<TBabGridCell*>(g->getCell(1, 0));
  AddCols(nested, 4);
  AddRows(nested, 2);
  nested->GetAxisContentListX()->getAxisContentItem(3)->SetHide(true);
  g->GetAxisContentListY()->getAxisContentItem(2)->SetHide(true);
  g->GetAxisContentListX()->getAxisContentItem(2)->SetHide(true);
  g->CalcVisibleArea(Rect(0, 0, 300, 300));
  EXPECT_EQ(ColSize(g.get(), 1), 60);  // three visible nested columns
  EXPECT_EQ(RowSize(g.get(), 0), 40);
  EXPECT_EQ(RowSize(g.get(), 2), 0);
  EXPECT_EQ(g->GetVisibleRowCount(), 3);
  EXPECT_EQ(g->GetVisibleColCount(), 2);
  EXPECT_FALSE(g->GetAxisContentListY()->getAxisContentItem(2)->GetIsOnScreen());
  EXPECT_EQ(g->GetAxisContentListY()->getAxisContentItem(3)->GetAcumSize(), 60);
}

namespace {

class CountingLayout : public TBabGridLayout {
public:
  using TBabGridLayout::TBabGridLayout;
  int hard = 0, soft = 0;
  void HardViewParamsUpdate() override {
    ++hard;
    TBabGridLayout::HardViewParamsUpdate();
  }
  void SoftViewParamsUpdate() override {
    ++soft;
    TBabGridLayout::SoftViewParamsUpdate();
  }
};

}  // namespace

TEST(GridSizing, DeferredLayoutRunsOncePerBurst) {
  auto g = NewGrid();
  CountingLayout layout(g.get());
  AddCols(g.get(), 4);
  AddRows(g.get(), 10);
  layout.SetDrawRect(Rect(0, 0, 200, 100));
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(layout.hard, 1);
  EXPECT_EQ(layout.soft, 1);
  EXPECT_EQ(g->GetVisibleRowCount(), 5);
  EXPECT_FALSE(layout.GetHardViewParamsOutOfDate());

  // A scroll is soft only; the pass's own loads do not start another.
  g->SetTop(3);
  g->SetTop(4);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(layout.hard, 1);
  EXPECT_EQ(layout.soft, 2);

  // Hiding the first scrolled column moves the scroll position to one that shows.
  g->SetLeft(1);
  g->GetAxisContentListX()->getAxisContentItem(1)->SetHide(true);
  g->GetAxisContentListX()->getAxisContentItem(2)->SetHide(true);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(layout.hard, 2);
  EXPECT_EQ(g->GetLeft(), 3);

  // A user resize drag makes the row user-sized.
  layout.DoResize(15, g->getCell(0, 5), false);
  EXPECT_TRUE(layout.GetHardViewParamsOutOfDate());
  layout.Update();  // a paint works it off at once
  EXPECT_EQ(RowSize(g.get(), 5), 35);
  EXPECT_EQ(layout.hard, 3);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(layout.hard, 3);
}
