// Gantt rows, time items and links, driven through the chart's real tree.
#include <gtest/gtest.h>

#include "GanttSupport.h"
#include <vxplan/platform/rtl/Exception.h>

using namespace vx;
using vxtest::TestGant;

// Rows following the tree's nodes through adding, moving, sorting, folding
// and removing, each reported once, are checked against a reference in
// GanttModelTest.

TEST(GanttRows, DestroyingTheChartFreesRowsWithoutReportingEach) {
  int freed = 0, deletedItems = 0;
  {
    TestGant g;
    g.OnBeforeFreeGantRow = [&](TGantRowList*, TGantRow*) { ++freed; };
    g.OnDeleteItem_Kronit = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit*) { ++deletedItems; };
    for (int i = 0; i < 20; ++i) {
      TvxDataEntity_Tree* n = g.Node(nullptr, "n");
      g.Item(g.Node(n, "c"), 0, 1);
      g.Item(n, 1, 2);
    }
    TvxDataEntity_Link* link = g.AddLink();
    link->fLinkOwner = static_cast<TvxDataEntity_Kronit*>(g.GetRowList()->GetGantRow(0)->GetLayer(0)->GetLoaded(0));
  }
  EXPECT_EQ(freed, 0);
  EXPECT_EQ(deletedItems, 40);  // every item still says it goes
}

TEST(GanttRows, UserCreatedRowsAndTheFallback) {
  TestGant g;
  struct MyRow : TGantRow {
    using TGantRow::TGantRow;
  };
  int asked = 0;
  g.OnUserCreateGantRow = [&](TGantRowList* list, TvxDataEntity_Tree* node, TvxDataEntity_GridTreeNode* gridNode,
                              TGantRow*& result) {
    if (++asked == 1) result = new MyRow(list, node, gridNode);  // the second time left unset
  };
  TvxDataEntity_Tree* mine = g.Node(nullptr, "mine");
  TvxDataEntity_Tree* plain = g.Node(nullptr, "plain");
  EXPECT_EQ(asked, 2);
  EXPECT_NE(dynamic_cast<MyRow*>(g.RowOf(mine)), nullptr);
  ASSERT_NE(g.RowOf(plain), nullptr);
  EXPECT_EQ(dynamic_cast<MyRow*>(g.RowOf(plain)), nullptr);
}

TEST(GanttItems, RectanglesInSubColumnsWithInsetsAndFixedSizes) {
  TestGant g;
  g.GetTreeView()->SetItemHeight(31);
  g.fRowDrawOffset = -10;  // the first row's band becomes 10 .. 41
  TvxDataEntity_Tree* n = g.Node(nullptr, "n");
  TGantRow* row = g.RowOf(n);
  EXPECT_EQ(row->GetLayerCount(), 0);
  TvxDataEntity_Kronit* in2 = g.Item(n, 0.5, 1);
  EXPECT_EQ(row->GetLayerCount(), 1);
  EXPECT_EQ(g.RectFromDataEntity(in2).Top, 11);
  EXPECT_EQ(g.RectFromDataEntity(in2).Bottom, 40);

  row->SetUseSubCols(3);
  row->fDataListOnSubColUse = false;  // items are placed by their own sub-column
  in2->SetSubCol(2);
  TvxDataEntity_Kronit* full = g.Item(n, 2, 3);
  EXPECT_EQ(g.RectFromDataEntity(in2).Top, 20);
  EXPECT_EQ(g.RectFromDataEntity(in2).Bottom, 29);
  EXPECT_EQ(g.RectFromDataEntity(full).Top, 11);  // sub-column 0: the whole height
  EXPECT_EQ(g.RectFromDataEntity(full).Bottom, 40);

  row->SetUseSubCols(0);
  full->SetTopInset(3);
  full->SetBottomInset(4);
  EXPECT_EQ(g.RectFromDataEntity(full).Top, 14);
  EXPECT_EQ(g.RectFromDataEntity(full).Bottom, 36);
  full->SetTopInset(25);
  full->SetBottomInset(25);
  EXPECT_EQ(g.RectFromDataEntity(full).Top, 36);
  EXPECT_EQ(g.RectFromDataEntity(full).Bottom, 36);  // empty, never inverted

  // Layers placed whole in sub-columns.
  TvxDataEntity_Kronit* second = g.Item(n, 0, 1, 1);
  row->SetUseSubCols(2);
  row->fDataListOnSubColUse = true;
  row->DataListOnSubCol(1, 1);
  EXPECT_EQ(g.RectFromDataEntity(second).Top, 11 + 14);

  TvxDateScaler* s = g.GetDateScaler();
  TvxDataEntity_Kronit* milestone = g.Item(n, 0, 0, 2);
  milestone->SetStartDateTime(s->PixelToDate(100));
  milestone->SetFixedSize(7);
  const TRect m = g.RectFromDataEntity(milestone);
  EXPECT_EQ(m.Left, s->DateToPixel(milestone->GetStartDateTime()) - 3);
  EXPECT_EQ(m.Right - m.Left, 7);
  EXPECT_FALSE(milestone->IsResizable());
  milestone->SetFixedSize(0);
  milestone->SetStopDateTime(milestone->GetStartDateTime());
  EXPECT_EQ(g.RectFromDataEntity(milestone).Right - g.RectFromDataEntity(milestone).Left, 5);  // never thinner

  // Rows off screen and collapsed nodes give no rectangle.
  TvxDataEntity_Tree* child = g.Node(n, "child");
  EXPECT_EQ(g.RectFromDataEntity(g.Item(child, 0, 1)), NoRect());
  EXPECT_EQ(g.AddKronit(nullptr, 0), nullptr);
  EXPECT_EQ(g.AddKronitToGantRow(nullptr, 0), nullptr);
}

TEST(GanttItems, HitTestingFollowsTheDrawingOrderBackwards) {
  TestGant g;
  TvxDataEntity_Tree* n = g.Node(nullptr, "n");
  TvxDataEntity_Kronit* early = g.Item(n, 0, 2);
  TvxDataEntity_Kronit* late = g.Item(n, 1, 3);  // later in the list: drawn over early
  TGantRow* row = g.RowOf(n);
  row->UpdateRect();
  const int y = (row->GetRect().Top + row->GetRect().Bottom) / 2;
  TvxDateScaler* s = g.GetDateScaler();
  EXPECT_EQ(g.GetDataEntityFromXY(s->DateToPixel(TestGant::kDay0 + 1.5), y), late);
  EXPECT_EQ(g.GetDataEntityFromXY(s->DateToPixel(TestGant::kDay0 + 0.5), y), early);
  EXPECT_EQ(g.GetDataEntityFromXY(s->DateToPixel(TestGant::kDay0 + 4), y), nullptr);

  // Layers 0, 1, 2 drawn from layer 1: 1, 2, 0. Layer 0 is on top.
  TvxDataEntity_Kronit* l2 = g.Item(n, 5, 6, 2);
  EXPECT_EQ(row->GetLayerCount(), 3);  // the missing layer 1 was made too
  TvxDataEntity_Kronit* l1 = g.Item(n, 5, 6, 1);
  TvxDataEntity_Kronit* l0 = g.Item(n, 5, 6, 0);
  row->SetDrawLayerStart(1);
  std::vector<TvxDataEntity_Kronit*> order;
  row->ForEachItem([&](TvxDataEntity_Kronit* k) {
    if (k->GetStartDateTime() == TestGant::kDay0 + 5) order.push_back(k);
    return true;
  });
  EXPECT_EQ(order, (std::vector<TvxDataEntity_Kronit*>{l1, l2, l0}));
  EXPECT_EQ(g.GetDataEntityFromXY(s->DateToPixel(TestGant::kDay0 + 5.5), y), l0);
  row->SetDrawLayerStart(0);
  EXPECT_EQ(g.GetDataEntityFromXY(s->DateToPixel(TestGant::kDay0 + 5.5), y), l2);
  l2->SetVisible(false);  // invisible items are not hit
  EXPECT_EQ(g.GetDataEntityFromXY(s->DateToPixel(TestGant::kDay0 + 5.5), y), l1);
}

// What an item's removal does to links, rows and the active item is checked
// against a reference in GanttModelTest and after every deleting handler in
// GanttReentrancyTest.
TEST(GanttItems, NotificationsReachTheApplicationAndRepaint) {
  TestGant g;
  TvxDataEntity_Tree* n = g.Node(nullptr, "n");
  std::vector<std::string> log;
  g.OnInsertItem_Kronit = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
    EXPECT_NE(k->GetTimeItemTextCollection(), nullptr);  // texts come before the application hears
    log.push_back("insert");
  };
  g.OnChangeDataEntity_Kronit = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit*) { log.push_back("change"); };
  g.OnValueChanged_Kronit = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit*) { log.push_back("value"); };
  g.OnSelectionChanged_Kronit = [&](TObject*, TvxDataList*, TvxDataEntity*) { log.push_back("select"); };
  g.OnBeforeCanEditItem_Kronit = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
    k->SetCanEdit(false);
    log.push_back("canedit");
  };
  TvxDataEntity_Kronit* k = g.Item(n, 0, 1);
  g.Show();
  vxtest::ProcessEventsUntilIdle();
  g.GetGA()->Repaint();  // nothing waits to be painted
  const int paints = g.GetGA()->GetUpdateRequestCount();
  k->SetStartDateTime(TestGant::kDay0 + 0.5);  // setters alone tell nobody
  EXPECT_EQ(g.GetGA()->GetUpdateRequestCount(), paints);
  k->DoInfoPush();
  EXPECT_GT(g.GetGA()->GetUpdateRequestCount(), paints);
  k->SetSelected(true);
  EXPECT_FALSE(k->GetCanEdit());
  EXPECT_EQ(log, (std::vector<std::string>{"insert", "change", "value", "select", "canedit"}));
  EXPECT_EQ(g.FindKronitObjectFromUserReference(nullptr), k);
  int marker = 0;
  k->SetUserReference(&marker);
  EXPECT_EQ(g.FindKronitObjectFromUserReference(&marker), k);
  EXPECT_EQ(TimeDataEntity(k), k);
  EXPECT_THROW(TimeDataEntity(n), EInvalidCast);
  k->SetStyle(0x80 | gtsRomb);
  EXPECT_EQ(k->GetDrawStyle(), gtsRomb);
  // The active item going is told as no item.
  std::vector<TObject*> hinted;
  g.OnHintInfo = [&](TObject* o, TDateTime, TDateTime, TDateTime) { hinted.push_back(o); };
  g.SetActiveDataEntity(k);
  hinted.clear();
  g.RemoveKronit(k);
  EXPECT_EQ(g.GetActiveDataEntity(), nullptr);
  EXPECT_EQ(hinted, std::vector<TObject*>{nullptr});
  g.RemoveKronit(nullptr);  // nothing
}

TEST(GanttItems, VisibilityInTimeIncludesBothEnds) {
  TestGant g;
  TvxDataEntity_Tree* n = g.Node(nullptr, "n");
  EXPECT_TRUE(g.IsVisible(g.Item(n, -2, 0)));     // stops at the axis' start
  EXPECT_TRUE(g.IsVisible(g.Item(n, -2, 9)));     // spans the axis
  EXPECT_TRUE(g.IsVisible(g.Item(n, 7, 8)));      // starts at its stop
  EXPECT_FALSE(g.IsVisible(g.Item(n, -2, -1)));
  EXPECT_FALSE(g.IsVisible(g.Item(n, 7.5, 8)));
}

TEST(GanttRows, CollisionLayoutPlacesOverlappingItems) {
  TestGant g;
  TvxDataEntity_Tree* n = g.Node(nullptr, "n");
  TvxDataEntity_Kronit* a = g.Item(n, 1, 3);
  TvxDataEntity_Kronit* b = g.Item(n, 2, 4);
  TvxDataEntity_Kronit* c = g.Item(n, 5, 6);
  TvxDataEntity_Kronit* other = g.Item(n, 1, 3, 1);  // another layer: no collision with a
  TGantRow* row = g.RowOf(n);
  row->SetCollisionDetection(true);
  g.WaitForLayouts();
  EXPECT_EQ(c->GetSubCol(), 0);
  EXPECT_EQ(b->GetSubCol(), 1);  // the later one is placed first
  EXPECT_EQ(a->GetSubCol(), 2);
  EXPECT_EQ(other->GetSubCol(), 0);
  EXPECT_EQ(row->GetNumOfSubCols(), 2);

  row->SetCollisionDetectionBetweenLayers(true);
  g.WaitForLayouts();
  EXPECT_EQ(row->GetNumOfSubCols(), 3);

  // The application's own sub-column wins.
  g.OnCollisionDetected = [](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, int) { k->SetSubCol(7); };
  g.Item(n, 2.5, 2.6);
  g.WaitForLayouts();
  EXPECT_EQ(a->GetSubCol(), 7);
  g.OnCollisionDetected = nullptr;

  row->SetCollisionDetection(false);
  EXPECT_EQ(row->GetNumOfSubCols(), 0);
  g.WaitForLayouts();
  EXPECT_EQ(g.PendingLayoutCount(), 0);
}

TEST(GanttRows, AVirtuallyLoadedTreeHasRowsOnlyForLoadedNodes) {
  TestGant g;
  TGantTree* tree = g.GetTreeView();
  int freed = 0;
  g.OnBeforeFreeGantRow = [&](TGantRowList*, TGantRow*) { ++freed; };
  // The application fills a node and its row's items when the node loads.
  tree->OnLoadItem = [&](TObject*, TvxDataEntity* e) {
    auto* node = static_cast<TvxDataEntity_Tree*>(e);
    node->SetText("task " + std::to_string(node->ListIndex()));
    for (int i = 0; i < 3; ++i) g.Item(node, i, i + 0.5);
  };
  tree->OnUnLoadItem = [](TObject*, TvxDataEntity*, bool& can) { can = true; };
  TvxDataList* roots = tree->GetRootDataList();
  roots->AddUnloaded(100000);
  EXPECT_EQ(g.GetRowList()->Count(), 0);
  for (int i = 5000; i < 5020; ++i) roots->GetItems(i);
  EXPECT_EQ(g.GetRowList()->Count(), 20);
  auto* node = static_cast<TvxDataEntity_Tree*>(roots->GetItems(5010));
  EXPECT_EQ(node->GetText(), "task 5010");
  ASSERT_NE(g.RowOf(node), nullptr);
  EXPECT_EQ(g.RowOf(node)->ItemCount(), 3);

  // Jumping far away unloads the window: its rows and items go with it.
  roots->GetItems(90000);
  EXPECT_EQ(g.GetRowList()->Count(), 1);
  EXPECT_EQ(freed, 20);
  EXPECT_EQ(g.RowOf(static_cast<TvxDataEntity_Tree*>(roots->GetItems(90000)))->ItemCount(), 3);
}

// Items held unloaded are made when the area paints their row, not before:
// rows scrolled into view get theirs then. A layer's loaded window stays
// within its bound while the application lets items go, and grows when not.
TEST(GanttRows, ItemsLoadAsTheirRowsComeIntoView) {
  TestGant g;
  vxtest::ShowWindow(&g);
  std::vector<TGantRow*> rows;
  for (int r = 0; r < 80; ++r) {
    rows.push_back(g.RowOf(g.Node(nullptr, "row")));
    rows.back()->AddDataList()->AddUnloaded(r == 1 ? 2000 : 2);
  }
  int unloads = 0;
  bool allow = true;
  g.OnVirtualLoad_Kronit = [&](TvxGant_ComBasic* chart, TvxDataEntity_Kronit* k) {
    EXPECT_EQ(chart, &g);
    const double at = TestGant::kDay0 + k->ListIndex() * 0.003;  // 2000 items over 6 days
    k->SetStartDateTime(at);
    k->SetStopDateTime(at + 0.002);
  };
  g.OnVirtualUnLoad_Kronit = [&](TvxGant_ComBasic* chart, TvxDataEntity_Kronit* k, bool& can) {
    EXPECT_EQ(chart, &g);
    EXPECT_EQ(k->GetRow(), rows[1]);
    ++unloads;
    can = allow;
  };
  auto loaded = [&](int r) { return rows[r]->GetLayer(0)->LoadedCount(); };
  vxtest::ProcessEventsUntilIdle();
  g.GetGA()->Repaint();
  const int shown = g.GetGA()->GetHeight() / TestGant::kRowHeight;
  ASSERT_LT(shown, 60);
  EXPECT_EQ(loaded(0), 2);
  EXPECT_EQ(loaded(shown - 1), 2);
  EXPECT_EQ(loaded(70), 0);
  // The crowded row: every item met, at most a window's worth kept.
  EXPECT_LE(loaded(1), TvxDataList::MaxLoadedWindow);
  EXPECT_GE(unloads, 2000 - TvxDataList::MaxLoadedWindow);
  auto* last = static_cast<TvxDataEntity_Kronit*>(rows[1]->GetLayer(0)->GetItems(1999));
  EXPECT_NEAR(last->GetStartDateTime(), TestGant::kDay0 + 5.997, 1e-9);
  // Scrolled down, the rows now shown get their items.
  g.GetSide()->WheelRows(-60);
  vxtest::ProcessEventsUntilIdle();
  g.GetGA()->Repaint();
  EXPECT_EQ(loaded(70), 2);
  // Kept when the application says so.
  allow = false;
  g.GetSide()->WheelRows(60);
  vxtest::ProcessEventsUntilIdle();
  g.GetGA()->Repaint();
  EXPECT_EQ(loaded(1), 2000);
}
