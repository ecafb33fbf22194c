// Handlers that delete what they are handed: for every event and hook of the
// column grid that hands out a cell, a row, a column or a printed row, a
// handler drops (a) that object, (b) its row or column, (c) everything, once,
// in the middle of a real gesture (Qt events through the event loop) or of
// the print loop. The grid must come out whole: no sanitizer report, and it
// still paints, prints and takes input afterwards.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <utility>

#include "UiTestSupport.h"
#include <vxplan/grid/vxGrid.h>
#include <vxplan/printing/vxGridPrinting.h>

using namespace vx;

namespace {

enum class Kill { Object, Line, All };

const char* Name(Kill k) { return k == Kill::Object ? "Object" : k == Kill::Line ? "Line" : "All"; }

// Columns after the info column: 1 a sortable text, 2 a check box, 3 a
// sortable pick list, 4 a nested grid of two cells, 5 a grouped text.
struct Scene {
  TvxGrid* owned = new TvxGrid(nullptr);
  QPointer<TvxGrid> alive{owned};
  TvxGrid& grid = *owned;
  TBabGridCellForViewer* g = grid.GetBabGridCellForViewer();
  TBitmap shot;
  bool armed = true;  // handlers act once

  Scene() {
    grid.SetBounds(0, 0, 480, 300);
    TvxGrid_SubGrid* week = grid.GetSubGrids()->Add();
    week->SetName("week");
    week->SetHasHeaders(false);
    week->SetHasInfoCol(false);
    for (int k = 0; k < 2; ++k) week->GetColumns()->Add()->SetWidth(30);
    grid.OnInitContent = [](TBabGridView_Custom*, TBabSimpleCellStringData* d) {
      TBabCell* c = d->GetBabCell();
      if (c->GetIsFixed()) return;
      const bool nested = c->getGridCell()->getGridCell() != nullptr;
      const int row = nested ? c->getGridCell()->GetRow() : c->GetRow();
      d->SetString(c->GetCol() == 2 && !nested ? "FALSE" : "t" + std::to_string(row % 7));
    };
    // A week cell holds one row of two days.
    grid.OninitSubGridContent = [](TBabGridView_Custom*, TBabSubGridCellData* d) {
      auto* week = static_cast<TBabGridCell*>(d->GetBabCell());
      if (week->getGridCell()) week->GetAxisContentListY()->AddNew(nullptr);
    };
    Columns();
    Rows(30);
  }
  ~Scene() {
    if (alive) Disarm();
    delete alive.data();
  }

  void Columns() {
    const TColumnKind kinds[] = {tckSimpleEdit, tckBool, tckCombo, tckSubGrid, tckSimpleEdit};
    for (TColumnKind kind : kinds) {
      TvxGrid_Column* c = grid.AddColumn();
      c->SetKind(kind);
      c->SetWidth(kind == tckSubGrid ? 60 : 70);
      c->SetSortEnable(true);
      c->SetHeaderText("H" + std::to_string(c->GetIndex()));
      if (kind == tckSubGrid) c->SetSubGridName("week");
    }
    grid.GetColumns()->GetColumn(4)->SetGroupcells(true);
    grid.EnsureFixed();
  }
  void Rows(int n) {
    for (int k = 0; k < n; ++k) grid.AddRow(nullptr);
    grid.UpdateLayout();
  }
  void Show() {
    vxtest::ShowWindow(&grid);
    grid.SetFocus();
    vxtest::ProcessEventsUntilIdle();
  }
  void Paint() { grid.PaintTo(&shot); }
  TPoint Mid(int theCol, int theRow) {
    Paint();
    TBabCell* c = g->getCell(theCol, theRow);
    const TRect r = c ? c->getVisibleRect() : NoRect();
    return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void Click(int theCol, int theRow, Qt::MouseButton theButton = Qt::LeftButton,
             Qt::KeyboardModifiers theModifiers = Qt::NoModifier) {
    const TPoint p = Mid(theCol, theRow);
    vxtest::MousePress(&grid, p.X, p.Y, theButton, theModifiers);
    vxtest::MouseRelease(&grid, p.X, p.Y, theButton, theModifiers);
  }
  void Key(Qt::Key theKey, Qt::KeyboardModifiers theModifiers = Qt::NoModifier) {
    vxtest::KeyClick(&grid, theKey, theModifiers);
  }
  int Print(int thePageHeight = -1, const TOnSizeCallBack& theCallback = {}) {
    auto dc = TDeviceContext::CreateImage(600, 1200);
    int w = 0, h = 0, rows = 0;
    TvxGridPrinting::Print(&grid, dc.get(), 0, 0, 1, 1, nullptr, -1, 400, w, h, -1, thePageHeight, theCallback, rows);
    return rows;
  }
  // Every event the cases set, unset.
  void Disarm() {
    grid.OnCellSelectionChanged = nullptr;
    grid.OnSelectionChanged = nullptr;
    grid.OnTopLeftChanged = nullptr;
    grid.OnUserRenderCell = nullptr;
    grid.OnBeforeRenderCell = nullptr;
    grid.OnGetUserSortCompareString = nullptr;
    grid.OnUserSort = nullptr;
    grid.OnColumnSort = nullptr;
    grid.OnInplaceEditOnChange = nullptr;
    grid.OnEditStop = nullptr;
    grid.OnEditorCanModify = nullptr;
    grid.OnBeforeEditWithCombo = nullptr;
    grid.OnRightClick = nullptr;
    grid.OnAfterUserSize = nullptr;
    grid.OnColumnResized = nullptr;
    grid.OnGridResize = nullptr;
    grid.OnRenderButton = nullptr;
    grid.OnAxisChanged = nullptr;
    if (TvxGrid_Column* c = grid.GetColumns()->GetColumn(4)) c->SetOnGroupcellCompare(nullptr);
    if (TvxGrid_Column* c = grid.GetColumns()->GetColumn(0)) c->SetOnGetIconIndex(nullptr);
  }
  bool Fire() { return std::exchange(armed, false); }

  void DropRowOf(TBabCell* c) {
    if (TBabGridCell* owner = c ? c->getGridCell() : nullptr) owner->GetAxisContentListY()->Drop(c->GetRow());
  }
  void DropColumnOf(TBabCell* c) {
    TBabGridCell* owner = c ? c->getGridCell() : nullptr;
    if (!owner) return;
    if (owner != g) {
      owner->GetAxisContentListX()->Drop(c->GetCol());
      return;
    }
    // The application takes the definition away and has the grid follow at once.
    if (TvxGrid_Column* col = grid.CellToColumn(c)) grid.GetColumns()->Delete(col->GetIndex());
    grid.RedrawIfNeeded();
  }
  void DropAll() {
    grid.GetColumns()->Clear();
    g->GetAxisContentListY()->ClearKeepFixedItems();
    grid.RedrawIfNeeded();
  }
  // What a handler does with a cell it is handed.
  void KillCell(Kill k, TBabCell* c) {
    if (!Fire()) return;
    if (k == Kill::Object) DropRowOf(c);
    if (k == Kill::Line) DropColumnOf(c);
    if (k == Kill::All) DropAll();
  }
  void KillRow(Kill k, TAxisContentItem* theRow) {
    if (!Fire()) return;
    if (k == Kill::Object && theRow) theRow->GetAxisContentList()->Drop(theRow->ListIndex());
    if (k == Kill::Line) grid.GetColumns()->Delete(0), grid.RedrawIfNeeded();
    if (k == Kill::All) DropAll();
  }
  void KillColumn(Kill k, TvxGrid_Column* theColumn) {
    if (!Fire()) return;
    if (k == Kill::Object && theColumn) grid.GetColumns()->Delete(theColumn->GetIndex()), grid.RedrawIfNeeded();
    if (k == Kill::Line) g->GetAxisContentListY()->Drop(g->GetFixedRows());
    if (k == Kill::All) DropAll();
  }

  // After the case: the definitions and rows come back, and the grid paints,
  // prints and takes clicks and keys as before.
  void CheckWhole() {
    Disarm();
    if (grid.GetEditing()) grid.BreakEditing();
    grid.GetColumns()->Clear();
    g->GetAxisContentListY()->ClearKeepFixedItems();
    g->GetAxisContentListX()->ClearKeepFixedItems();
    Columns();
    Rows(30);
    g->SetTop(1);
    Click(1, 2);
    EXPECT_EQ(grid.GetFocusedCell(), g->getCell(1, 2));
    EXPECT_TRUE(g->getCell(1, 2)->GetSelected());
    Key(Qt::Key_Down);
    EXPECT_EQ(grid.GetFocusedCell(), g->getCell(1, 3));
    Paint();
    const TPoint p = Mid(1, 3);
    EXPECT_EQ(shot.GetCanvas()->GetPixel(p.X + 20, p.Y), ColorToRGB(clHighlight));
    EXPECT_EQ(Print(), 30);
  }
};

using Arm = void (*)(Scene& s, Kill k);
using Drive = void (*)(Scene& s);

struct Case {
  const char* name;
  Drive prepare;  // before the handler is armed
  Arm arm;
  Drive drive;
};

void Nothing(Scene&) {}
void ClickNameRow3(Scene& s) { s.Click(1, 3); }
void StartEditName3(Scene& s) {
  s.Click(1, 3);
  s.Key(Qt::Key_F2);
}
void F2(Scene& s) { s.Key(Qt::Key_F2); }
void Repaint(Scene& s) { s.grid.Repaint(); }
void ClickHeader1(Scene& s) { s.Click(1, 0); }
void ArmSelection(Scene& s, Kill k) {
  s.grid.OnCellSelectionChanged = [&s, k](TBabGridView_Custom*, TBabCell* c) { s.KillCell(k, c); };
}
void ArmTopLeft(Scene& s, Kill k) {
  s.grid.OnTopLeftChanged = [&s, k](TObject*) { s.KillCell(k, s.grid.GetFocusedCell()); };
}
void ArmBeforeRender(Scene& s, Kill k) {
  s.grid.OnBeforeRenderCell = [&s, k](TBabGridView_Custom*, TBabCell* c) { s.KillCell(k, c); };
}
void ArmEditChange(Scene& s, Kill k) {
  s.grid.OnInplaceEditOnChange = [&s, k](TBabGridView_Custom*, const std::string&) {
    s.KillCell(k, s.grid.GetEditCell());
  };
}
void ArmEditStop(Scene& s, Kill k) {
  s.grid.OnEditStop = [&s, k](TBabGridView_Custom*, TControl*, TBabSimpleCellStringData* d, std::string&) {
    s.KillCell(k, d->GetBabCell());
  };
}
// A drag of the right border of column theCol's header by theBy pixels.
void DragBorder(Scene& s, int theCol, int theBy) {
  s.Paint();
  const int border = s.g->getCell(theCol, 0)->getVisibleRect().Right;
  vxtest::MousePress(&s.grid, border, 10);
  vxtest::MouseMove(&s.grid, border + theBy, 10);
  vxtest::MouseRelease(&s.grid, border + theBy, 10);
}
// A click at an offset into a cell of the last paint.
void ClickInto(Scene& s, TBabCell* c, int dx, int dy) {
  const TRect r = c->getVisibleRect();
  vxtest::MousePress(&s.grid, r.Left + dx, r.Top + dy);
  vxtest::MouseRelease(&s.grid, r.Left + dx, r.Top + dy);
}

const Case kCases[] = {
    {"SelectionByClick", Nothing, ArmSelection, ClickNameRow3},
    {"SelectionByNestedClick", Nothing, ArmSelection,
     [](Scene& s) {
       s.Paint();
       ClickInto(s, static_cast<TBabGridCell*>(s.g->getCell(4, 3))->getCell(1, 0), 5, 5);
     }},
    {"SelectionByArrow", ClickNameRow3, ArmSelection, [](Scene& s) { s.Key(Qt::Key_Down); }},
    {"SelectionOnDeferredRelease", ClickNameRow3, ArmSelection, ClickNameRow3},
    {"SelectionOfARange", ClickNameRow3, ArmSelection,
     [](Scene& s) { s.Click(3, 7, Qt::LeftButton, Qt::ShiftModifier); }},
    {"SelectionChangedAnyCell", ClickNameRow3,
     [](Scene& s, Kill k) {
       s.grid.OnSelectionChanged = [&s, k](TObject*) { s.KillCell(k, s.grid.GetFocusedCell()); };
     },
     [](Scene& s) { s.Key(Qt::Key_Down, Qt::ShiftModifier); }},
    {"TopLeftByArrow", ClickNameRow3, ArmTopLeft, [](Scene& s) { s.Key(Qt::Key_Down); }},
    {"TopLeftByCtrlEnd", ClickNameRow3, ArmTopLeft, [](Scene& s) { s.Key(Qt::Key_End, Qt::ControlModifier); }},
    {"UserRenderCell", Nothing,
     [](Scene& s, Kill k) {
       s.grid.OnUserRenderCell = [&s, k](TBabGridView_Custom*, TCanvas*, TBabCell* c, const std::string&, bool, bool,
                                         TBabDrawStateSet, TRect, bool&) { s.KillCell(k, c); };
     },
     Repaint},
    {"BeforeRenderCell", Nothing, ArmBeforeRender, Repaint},
    {"BeforeRenderCellOnPaper", Nothing, ArmBeforeRender, [](Scene& s) { s.Print(); }},
    {"GroupcellCompare", Nothing,
     [](Scene& s, Kill k) {
       s.grid.GetColumns()->GetColumn(4)->SetOnGroupcellCompare(
           [&s, k](TvxGrid*, TvxGrid_Column*, TBabCell* a, TBabCell*) { return s.KillCell(k, a), false; });
     },
     Repaint},
    {"SortCompareString", Nothing,
     [](Scene& s, Kill k) {
       s.grid.OnGetUserSortCompareString = [&s, k](TvxGrid*, TvxGrid_Column*, TBabCell* c, std::string&) {
         s.KillCell(k, c);
       };
     },
     ClickHeader1},
    {"UserSort", Nothing,
     [](Scene& s, Kill k) {
       s.grid.OnUserSort = [&s, k](TvxGrid*, TvxGrid_Column*, std::vector<TAxisContentItem*>& list, bool&) {
         s.KillRow(k, list.empty() ? nullptr : list.front());
       };
     },
     [](Scene& s) { s.Click(3, 0); }},
    {"ColumnSort", Nothing,
     [](Scene& s, Kill k) {
       s.grid.OnColumnSort = [&s, k](TvxGrid*, TvxGrid_Column* c, bool, bool&) { s.KillColumn(k, c); };
     },
     ClickHeader1},
    {"EditOnChangeAtStart", ClickNameRow3, ArmEditChange, F2},
    {"EditOnChangeTyping", StartEditName3, ArmEditChange,
     [](Scene& s) { vxtest::KeyClick(s.grid.GetInplaceEditor(), Qt::Key_X); }},
    {"EditStop", StartEditName3, ArmEditStop,
     [](Scene& s) { vxtest::KeyClick(s.grid.GetInplaceEditor(), Qt::Key_Return); }},
    {"EditorCanModify", ClickNameRow3,
     [](Scene& s, Kill k) {
       s.grid.OnEditorCanModify = [&s, k](TBabGridView_Custom*, TBabCell* c) { return s.KillCell(k, c), true; };
     },
     F2},
    {"BeforeEditWithCombo", [](Scene& s) { s.Click(3, 3); },
     [](Scene& s, Kill k) {
       s.grid.OnBeforeEditWithCombo = [&s, k](TvxGrid*, TvxGrid_Column*, TBabCell* c) { s.KillCell(k, c); };
     },
     F2},
    {"CheckBoxClick", Nothing, ArmEditStop,
     [](Scene& s) {
       s.Paint();
       ClickInto(s, s.g->getCell(2, 4), 7, 9);
     }},
    {"RightClick", Nothing,
     [](Scene& s, Kill k) { s.grid.OnRightClick = [&s, k](TBabGridView_Custom*, TBabCell* c) { s.KillCell(k, c); }; },
     [](Scene& s) { s.Click(1, 5, Qt::RightButton); }},
    {"ColumnResizedByDrag", Nothing,
     [](Scene& s, Kill k) {
       s.grid.OnColumnResized = [&s, k](TvxGrid*, int index) { s.KillColumn(k, s.grid.GetColumns()->GetColumn(index)); };
     },
     [](Scene& s) { DragBorder(s, 1, 30); }},
    {"GridResize", ClickNameRow3,
     [](Scene& s, Kill k) { s.grid.OnGridResize = [&s, k](TObject*) { s.KillCell(k, s.grid.GetFocusedCell()); }; },
     [](Scene& s) { s.grid.SetBounds(0, 0, 470, 290); }},
    {"AxisChanged", ClickNameRow3,
     [](Scene& s, Kill k) { s.grid.OnAxisChanged = [&s, k](TObject*) { s.KillCell(k, s.grid.GetFocusedCell()); }; },
     [](Scene& s) { s.grid.AddRow(nullptr); }},
    {"RenderButton", Nothing,
     [](Scene& s, Kill k) {
       s.grid.GetColumns()->GetColumn(0)->SetTreeButton(true);
       s.grid.OnRenderButton = [&s, k](TBabGridView_Custom*, TCanvas*, TBabCell* c, TRect) { s.KillCell(k, c); };
     },
     Repaint},
    {"IconIndex", Nothing,
     [](Scene& s, Kill k) {
       s.grid.SetImageList(new TCustomImageList(&s.grid, 8, 8));
       s.grid.GetColumns()->GetColumn(0)->SetHasIcon(true);
       s.grid.GetColumns()->GetColumn(0)->SetOnGetIconIndex(
           [&s, k](TvxGrid*, TvxGrid_Column*, TBabCell* c) { return s.KillCell(k, c), 0; });
     },
     Repaint},
    {"AfterUserSizeByDrag", Nothing,
     [](Scene& s, Kill k) {
       s.grid.OnAfterUserSize = [&s, k](TBabGridView_Custom*, TBabCell* c, bool, TAxisContentItem*) { s.KillCell(k, c); };
     },
     [](Scene& s) { DragBorder(s, 3, -20); }},
};

using Param = std::tuple<Case, Kill>;

class GridHandlerDeletes : public testing::TestWithParam<Param> {};

TEST_P(GridHandlerDeletes, AndTheGridGoesOn) {
  const auto& [c, kill] = GetParam();
  Scene s;
  s.Show();
  c.prepare(s);
  c.arm(s, kill);
  c.drive(s);
  vxtest::ProcessEventsUntilIdle();
  s.Paint();
  EXPECT_FALSE(s.armed) << c.name << " never called the handler";
  s.CheckWhole();
}

INSTANTIATE_TEST_SUITE_P(EveryEvent, GridHandlerDeletes,
                         testing::Combine(testing::ValuesIn(kCases), testing::Values(Kill::Object, Kill::Line, Kill::All)),
                         [](const testing::TestParamInfo<Param>& info) {
                           return std::string(std::get<0>(info.param).name) + "_" + Name(std::get<1>(info.param));
                         });

// The print loop's size callback hears of the row at the page's break.
class GridPrintCallbackDeletes : public testing::TestWithParam<Kill> {};

TEST_P(GridPrintCallbackDeletes, AndTheGridGoesOn) {
  const Kill kill = GetParam();
  Scene s;
  s.Show();
  const int printed =
      s.Print(200, [&s, kill](bool, int, TObject* o) { s.KillRow(kill, dynamic_cast<TAxisContentItem*>(o)); });
  EXPECT_FALSE(s.armed);
  // Eight rows of 20 pixels fit below the header of 21; the row at the
  // break is the eighth: dropped, it is not printed; with everything gone
  // nothing is.
  EXPECT_EQ(printed, kill == Kill::Object ? 7 : kill == Kill::Line ? 8 : 0);
  s.CheckWhole();
}

INSTANTIATE_TEST_SUITE_P(EveryKind, GridPrintCallbackDeletes, testing::Values(Kill::Object, Kill::Line, Kill::All),
                         [](const testing::TestParamInfo<Kill>& info) { return std::string(Name(info.param)); });

// The same for a grid whose rows are a tree: the events of expanding hand out nodes.
struct TreeGridScene {
  TvxGrid grid{nullptr};
  TBabGridCellForViewer* g = grid.GetBabGridCellForViewer();
  TvxGridTree* tree = nullptr;
  bool armed = true;

  TreeGridScene() {
    grid.SetBounds(0, 0, 300, 300);
    TvxGrid_Column* c = grid.AddColumn();
    c->SetTreeButton(true);
    c->SetWidth(150);
    grid.SetUseTree(true);
    tree = grid.GetTree();
    Fill();
  }
  // Five roots, each with two children made on its first expansion.
  void Fill() {
    grid.OnInitTreeSubDataList = [this](TvxGrid*, TvxGridTree*, TvxDataEntity_GridTreeNode* n) {
      for (int k = 0; k < 2; ++k) tree->AddDataEntity(n);
    };
    for (int k = 0; k < 5; ++k) tree->AddDataEntity(nullptr);
    grid.UpdateLayout();
  }
  TvxDataEntity_GridTreeNode* Root(int i) {
    return static_cast<TvxDataEntity_GridTreeNode*>(tree->GetRootDataEntities()->GetItems(i));
  }
  void KillNode(Kill k, TvxDataEntity_GridTreeNode* n) {
    if (!std::exchange(armed, false) || !n) return;
    if (k == Kill::Object) tree->RemoveDataEntity(n);
    if (k == Kill::Line) {
      if (TvxDataEntity_GridTreeNode* parent = n->ParentNode())
        tree->RemoveDataEntity(parent);
      else
        tree->GetRootDataEntities()->Clear();
    }
    if (k == Kill::All) tree->GetRootDataEntities()->Clear();
  }
  // A press on the tree button of row theRow.
  void Button(int theRow) {
    TBitmap shot;
    grid.PaintTo(&shot);
    const TRect r = g->getCell(1, theRow)->getVisibleRect();
    vxtest::MousePress(&grid, r.Left + 6, (r.Top + r.Bottom) / 2);
    vxtest::MouseRelease(&grid, r.Left + 6, (r.Top + r.Bottom) / 2);
  }
};

struct TreeCase {
  const char* name;
  void (*arm)(TreeGridScene& s, Kill k);
  void (*drive)(TreeGridScene& s);
};

const TreeCase kTreeCases[] = {
    {"ExpandByButton",
     [](TreeGridScene& s, Kill k) {
       s.tree->fOnExpand = [&s, k](TvxGridTree*, TvxDataEntity_GridTreeNode* n, bool&) { s.KillNode(k, n); };
     },
     [](TreeGridScene& s) { s.Button(2); }},
    {"FillOnFirstExpansion",
     [](TreeGridScene& s, Kill k) {
       s.grid.OnInitTreeSubDataList = [&s, k](TvxGrid*, TvxGridTree*, TvxDataEntity_GridTreeNode* n) {
         s.tree->AddDataEntity(n);
         s.KillNode(k, n);
       };
     },
     [](TreeGridScene& s) { s.Button(2); }},
    {"CollapseByButton",
     [](TreeGridScene& s, Kill k) {
       s.Root(1)->SetExpanded(true);
       s.tree->fOnCollapse = [&s, k](TvxGridTree*, TvxDataEntity_GridTreeNode* n, bool&) { s.KillNode(k, n); };
     },
     [](TreeGridScene& s) { s.Button(2); }},
    {"ButtonClickOnAChild",
     [](TreeGridScene& s, Kill k) {
       s.Root(0)->SetExpanded(true);
       s.grid.OnButtonClick = [&s, k](TBabGridView_Custom*, TBabCell* c) { s.KillNode(k, TvxGrid::CellToNode(c)); };
     },
     [](TreeGridScene& s) { s.Button(2); }},
};

using TreeParam = std::tuple<TreeCase, Kill>;

class GridTreeHandlerDeletes : public testing::TestWithParam<TreeParam> {};

TEST_P(GridTreeHandlerDeletes, AndTheGridGoesOn) {
  const auto& [c, kill] = GetParam();
  TreeGridScene s;
  vxtest::ShowWindow(&s.grid);
  s.grid.SetFocus();
  c.arm(s, kill);
  c.drive(s);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_FALSE(s.armed) << c.name << " never called the handler";
  // Whole again: nodes back, a button folds a root open, keys move.
  s.tree->fOnExpand = nullptr;
  s.tree->fOnCollapse = nullptr;
  s.grid.OnButtonClick = nullptr;
  s.tree->GetRootDataEntities()->Clear();
  s.Fill();
  s.Button(1);
  EXPECT_TRUE(s.Root(0)->GetExpanded());
  EXPECT_EQ(s.g->GetAxisContentListY()->Count(), 1 + 5 + 2);
  vxtest::KeyClick(&s.grid, Qt::Key_Down);
  EXPECT_EQ(TvxGrid::CellToNode(s.grid.GetFocusedCell()), s.Root(0)->GetSubDataList()->GetItems(0));
}

INSTANTIATE_TEST_SUITE_P(EveryEvent, GridTreeHandlerDeletes,
                         testing::Combine(testing::ValuesIn(kTreeCases),
                                          testing::Values(Kill::Object, Kill::Line, Kill::All)),
                         [](const testing::TestParamInfo<TreeParam>& info) {
                           return std::string(std::get<0>(info.param).name) + "_" + Name(std::get<1>(info.param));
                         });

// A handler may end the grid itself, through deleteLater(): the event, and
// what follows it in the grid, complete first (the input helpers run the event
// loop after each event: a gesture ends with the event that ends the grid).
struct EndCase {
  const char* name;
  void (*run)(Scene& s);
};

const EndCase kEndCases[] = {
    {"RightClick",
     [](Scene& s) {
       s.grid.OnRightClick = [&s](TBabGridView_Custom*, TBabCell*) { s.grid.deleteLater(); };
       const TPoint p = s.Mid(1, 5);
       vxtest::MousePress(&s.grid, p.X, p.Y, Qt::RightButton);
     }},
    {"ValueChanged",
     [](Scene& s) {
       StartEditName3(s);
       s.grid.OnInplaceEditOnChange = [&s](TBabGridView_Custom*, const std::string&) { s.grid.deleteLater(); };
       vxtest::KeyClick(s.grid.GetInplaceEditor(), Qt::Key_X);
     }},
    {"PrintPage", [](Scene& s) { s.Print(200, [&s](bool, int, TObject*) { s.grid.deleteLater(); }); }},
};

class GridHandlerEndsTheGrid : public testing::TestWithParam<EndCase> {};

TEST_P(GridHandlerEndsTheGrid, ThroughDeleteLater) {
  Scene s;
  s.Show();
  GetParam().run(s);
  vxtest::ReturnToTheEventLoop();
  EXPECT_TRUE(s.alive.isNull());
}

INSTANTIATE_TEST_SUITE_P(Each, GridHandlerEndsTheGrid, testing::ValuesIn(kEndCases),
                         [](const testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

}  // namespace
