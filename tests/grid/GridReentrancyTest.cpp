// Handlers that delete what they are handed: for every event and hook of the
// column grid that hands out a cell, a row, a column or a printed row, a
// handler drops (a) that object, (b) its row or column, (c) everything, once,
// in the middle of a real gesture (Qt events through the event loop) or of
// the print loop. The grid must come out whole: no sanitizer report, and it
// still paints, prints and takes input afterwards.
#include "ReentrancyHarness.h"
#include <vxplan/grid/vxGrid.h>
#include <vxplan/printing/vxGridPrinting.h>

using namespace vx;
using vxtest::Kill;

namespace {

// Columns after the info column: 1 a sortable text, 2 a check box, 3 a
// sortable pick list, 4 a nested grid of two cells, 5 a grouped text.
struct Scene : vxtest::Reentrant {
  TvxGrid* owned = new TvxGrid(nullptr);
  QPointer<TvxGrid> alive{owned};
  TvxGrid& grid = *owned;
  TBabGridCellForViewer* g = grid.GetBabGridCellForViewer();
  TBitmap shot;

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
  ~Scene() { delete alive.data(); }

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
  void KillCell(TBabCell* c) {
    if (!Fire()) return;
    if (kill == Kill::Object) DropRowOf(c);
    if (kill == Kill::Line) DropColumnOf(c);
    if (kill == Kill::All) DropAll();
  }
  void KillRow(TAxisContentItem* theRow) {
    if (!Fire()) return;
    if (kill == Kill::Object && theRow) theRow->GetAxisContentList()->Drop(theRow->ListIndex());
    if (kill == Kill::Line) grid.GetColumns()->Delete(0), grid.RedrawIfNeeded();
    if (kill == Kill::All) DropAll();
  }
  void KillColumn(TvxGrid_Column* theColumn) {
    if (!Fire()) return;
    if (kill == Kill::Object && theColumn) grid.GetColumns()->Delete(theColumn->GetIndex()), grid.RedrawIfNeeded();
    if (kill == Kill::Line) g->GetAxisContentListY()->Drop(g->GetFixedRows());
    if (kill == Kill::All) DropAll();
  }

  // After the case: the definitions and rows come back, and the grid paints,
  // prints and takes clicks and keys as before.
  void CheckWhole() {
    Paint();
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

void ClickNameRow3(Scene& s) { s.Click(1, 3); }
void StartEditName3(Scene& s) {
  s.Click(1, 3);
  s.Key(Qt::Key_F2);
}
void F2(Scene& s) { s.Key(Qt::Key_F2); }
void Repaint(Scene& s) { s.grid.Repaint(); }
void ClickHeader1(Scene& s) { s.Click(1, 0); }
void ArmSelection(Scene& s) {
  s.grid.OnCellSelectionChanged = [&s](TBabGridView_Custom*, TBabCell* c) { s.KillCell(c); };
}
void ArmTopLeft(Scene& s) {
  s.grid.OnTopLeftChanged = [&s](TObject*) { s.KillCell(s.grid.GetFocusedCell()); };
}
void ArmBeforeRender(Scene& s) {
  s.grid.OnBeforeRenderCell = [&s](TBabGridView_Custom*, TBabCell* c) { s.KillCell(c); };
}
void ArmEditChange(Scene& s) {
  s.grid.OnInplaceEditOnChange = [&s](TBabGridView_Custom*, const std::string&) {
    s.KillCell(s.grid.GetEditCell());
  };
}
void ArmEditStop(Scene& s) {
  s.grid.OnEditStop = [&s](TBabGridView_Custom*, TControl*, TBabSimpleCellStringData* d, std::string&) {
    s.KillCell(d->GetBabCell());
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

const vxtest::Reentry<Scene> kCases[] = {
    {"SelectionByClick", nullptr, ArmSelection, ClickNameRow3},
    {"SelectionByNestedClick", nullptr, ArmSelection,
     [](Scene& s) {
       s.Paint();
       ClickInto(s, static_cast<TBabGridCell*>(s.g->getCell(4, 3))->getCell(1, 0), 5, 5);
     }},
    {"SelectionByArrow", ClickNameRow3, ArmSelection, [](Scene& s) { s.Key(Qt::Key_Down); }},
    {"SelectionOnDeferredRelease", ClickNameRow3, ArmSelection, ClickNameRow3},
    {"SelectionOfARange", ClickNameRow3, ArmSelection,
     [](Scene& s) { s.Click(3, 7, Qt::LeftButton, Qt::ShiftModifier); }},
    {"SelectionChangedAnyCell", ClickNameRow3,
     [](Scene& s) {
       s.grid.OnSelectionChanged = [&s](TObject*) { s.KillCell(s.grid.GetFocusedCell()); };
     },
     [](Scene& s) { s.Key(Qt::Key_Down, Qt::ShiftModifier); }},
    {"TopLeftByArrow", ClickNameRow3, ArmTopLeft, [](Scene& s) { s.Key(Qt::Key_Down); }},
    {"TopLeftByCtrlEnd", ClickNameRow3, ArmTopLeft, [](Scene& s) { s.Key(Qt::Key_End, Qt::ControlModifier); }},
    {"UserRenderCell", nullptr,
     [](Scene& s) {
       s.grid.OnUserRenderCell = [&s](TBabGridView_Custom*, TCanvas*, TBabCell* c, const std::string&, bool, bool,
                                         TBabDrawStateSet, TRect, bool&) { s.KillCell(c); };
     },
     Repaint},
    {"BeforeRenderCell", nullptr, ArmBeforeRender, Repaint},
    {"BeforeRenderCellOnPaper", nullptr, ArmBeforeRender, [](Scene& s) { s.Print(); }},
    {"GroupcellCompare", nullptr,
     [](Scene& s) {
       s.grid.GetColumns()->GetColumn(4)->SetOnGroupcellCompare(
           [&s](TvxGrid*, TvxGrid_Column*, TBabCell* a, TBabCell*) { return s.KillCell(a), false; });
     },
     Repaint},
    {"SortCompareString", nullptr,
     [](Scene& s) {
       s.grid.OnGetUserSortCompareString = [&s](TvxGrid*, TvxGrid_Column*, TBabCell* c, std::string&) {
         s.KillCell(c);
       };
     },
     ClickHeader1},
    {"UserSort", nullptr,
     [](Scene& s) {
       s.grid.OnUserSort = [&s](TvxGrid*, TvxGrid_Column*, std::vector<TAxisContentItem*>& list, bool&) {
         s.KillRow(list.empty() ? nullptr : list.front());
       };
     },
     [](Scene& s) { s.Click(3, 0); }},
    {"ColumnSort", nullptr,
     [](Scene& s) {
       s.grid.OnColumnSort = [&s](TvxGrid*, TvxGrid_Column* c, bool, bool&) { s.KillColumn(c); };
     },
     ClickHeader1},
    {"EditOnChangeAtStart", ClickNameRow3, ArmEditChange, F2},
    {"EditOnChangeTyping", StartEditName3, ArmEditChange,
     [](Scene& s) { vxtest::KeyClick(s.grid.GetInplaceEditor(), Qt::Key_X); }},
    {"QtTypingOverACellKeyPress", ClickNameRow3,
     [](Scene& s) {
       s.grid.SetTypingConvention(tcQt);
       s.grid.OnInplaceEditKeyPress = [&s](TBabGridView_Custom*, char32_t&) { s.KillCell(s.grid.GetEditCell()); };
     },
     [](Scene& s) { vxtest::KeyClick(&s.grid, Qt::Key_X); }},
    {"EditStop", StartEditName3, ArmEditStop,
     [](Scene& s) { vxtest::KeyClick(s.grid.GetInplaceEditor(), Qt::Key_Return); }},
    {"EditorCanModify", ClickNameRow3,
     [](Scene& s) {
       s.grid.OnEditorCanModify = [&s](TBabGridView_Custom*, TBabCell* c) { return s.KillCell(c), true; };
     },
     F2},
    {"BeforeEditWithCombo", [](Scene& s) { s.Click(3, 3); },
     [](Scene& s) {
       s.grid.OnBeforeEditWithCombo = [&s](TvxGrid*, TvxGrid_Column*, TBabCell* c) { s.KillCell(c); };
     },
     F2},
    {"CheckBoxClick", nullptr, ArmEditStop,
     [](Scene& s) {
       s.Paint();
       ClickInto(s, s.g->getCell(2, 4), 7, 9);
     }},
    {"RightClick", nullptr,
     [](Scene& s) { s.grid.OnRightClick = [&s](TBabGridView_Custom*, TBabCell* c) { s.KillCell(c); }; },
     [](Scene& s) { s.Click(1, 5, Qt::RightButton); }},
    {"ColumnResizedByDrag", nullptr,
     [](Scene& s) {
       s.grid.OnColumnResized = [&s](TvxGrid*, int index) { s.KillColumn(s.grid.GetColumns()->GetColumn(index)); };
     },
     [](Scene& s) { DragBorder(s, 1, 30); }},
    {"GridResize", ClickNameRow3,
     [](Scene& s) { s.grid.OnGridResize = [&s](TObject*) { s.KillCell(s.grid.GetFocusedCell()); }; },
     [](Scene& s) { s.grid.SetBounds(0, 0, 470, 290); }},
    {"AxisChanged", ClickNameRow3,
     [](Scene& s) { s.grid.OnAxisChanged = [&s](TObject*) { s.KillCell(s.grid.GetFocusedCell()); }; },
     [](Scene& s) { s.grid.AddRow(nullptr); }},
    {"RenderButton", nullptr,
     [](Scene& s) {
       s.grid.GetColumns()->GetColumn(0)->SetTreeButton(true);
       s.grid.OnRenderButton = [&s](TBabGridView_Custom*, TCanvas*, TBabCell* c, TRect) { s.KillCell(c); };
     },
     Repaint},
    {"IconIndex", nullptr,
     [](Scene& s) {
       s.grid.SetImageList(new TCustomImageList(&s.grid, 8, 8));
       s.grid.GetColumns()->GetColumn(0)->SetHasIcon(true);
       s.grid.GetColumns()->GetColumn(0)->SetOnGetIconIndex(
           [&s](TvxGrid*, TvxGrid_Column*, TBabCell* c) { return s.KillCell(c), 0; });
     },
     Repaint},
    {"AfterUserSizeByDrag", nullptr,
     [](Scene& s) {
       s.grid.OnAfterUserSize = [&s](TBabGridView_Custom*, TBabCell* c, bool, TAxisContentItem*) { s.KillCell(c); };
     },
     [](Scene& s) { DragBorder(s, 3, -20); }},
    // The print loop's size callback hears of the row at the page's break.
    {"PrintPageBreak", nullptr, [](Scene&) {},
     [](Scene& s) {
       const int printed =
           s.Print(200, [&s](bool, int, TObject* o) { s.KillRow(dynamic_cast<TAxisContentItem*>(o)); });
       // Eight rows of 20 pixels fit below the header of 21; the row at the
       // break is the eighth: dropped, it is not printed; with everything gone
       // nothing is.
       EXPECT_EQ(printed, s.kill == Kill::Object ? 7 : s.kill == Kill::Line ? 8 : 0);
     }},
};

VX_REENTRY_SUITE(GridHandlerDeletes, Scene, kCases, vxtest::kObjectLineAll);

// The same for a grid whose rows are a tree: the events of expanding hand out nodes.
struct TreeGridScene : vxtest::Reentrant {
  TvxGrid grid{nullptr};
  TBabGridCellForViewer* g = grid.GetBabGridCellForViewer();
  TvxGridTree* tree = nullptr;

  TreeGridScene() {
    grid.SetBounds(0, 0, 300, 300);
    TvxGrid_Column* c = grid.AddColumn();
    c->SetTreeButton(true);
    c->SetWidth(150);
    grid.SetUseTree(true);
    tree = grid.GetTree();
    Fill();
  }
  void Show() {
    vxtest::ShowWindow(&grid);
    grid.SetFocus();
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
  void KillNode(TvxDataEntity_GridTreeNode* n) {
    if (!Fire() || !n) return;
    if (kill == Kill::Object) tree->RemoveDataEntity(n);
    if (kill == Kill::Line) {
      if (TvxDataEntity_GridTreeNode* parent = n->ParentNode())
        tree->RemoveDataEntity(parent);
      else
        tree->GetRootDataEntities()->Clear();
    }
    if (kill == Kill::All) tree->GetRootDataEntities()->Clear();
  }
  // A press on the tree button of row theRow.
  void Button(int theRow) {
    TBitmap shot;
    grid.PaintTo(&shot);
    const TRect r = g->getCell(1, theRow)->getVisibleRect();
    vxtest::MousePress(&grid, r.Left + 6, (r.Top + r.Bottom) / 2);
    vxtest::MouseRelease(&grid, r.Left + 6, (r.Top + r.Bottom) / 2);
  }
  // Whole again: nodes back, a button folds a root open, keys move.
  void CheckWhole() {
    tree->GetRootDataEntities()->Clear();
    Fill();
    Button(1);
    EXPECT_TRUE(Root(0)->GetExpanded());
    EXPECT_EQ(g->GetAxisContentListY()->Count(), 1 + 5 + 2);
    vxtest::KeyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(TvxGrid::CellToNode(grid.GetFocusedCell()), Root(0)->GetSubDataList()->GetItems(0));
  }
};

void ButtonRow2(TreeGridScene& s) { s.Button(2); }

const vxtest::Reentry<TreeGridScene> kTreeCases[] = {
    {"ExpandByButton", nullptr,
     [](TreeGridScene& s) {
       s.tree->fOnExpand = [&s](TvxGridTree*, TvxDataEntity_GridTreeNode* n, bool&) { s.KillNode(n); };
     },
     ButtonRow2},
    {"FillOnFirstExpansion", nullptr,
     [](TreeGridScene& s) {
       s.grid.OnInitTreeSubDataList = [&s](TvxGrid*, TvxGridTree*, TvxDataEntity_GridTreeNode* n) {
         s.tree->AddDataEntity(n);
         s.KillNode(n);
       };
     },
     ButtonRow2},
    {"CollapseByButton", [](TreeGridScene& s) { s.Root(1)->SetExpanded(true); },
     [](TreeGridScene& s) {
       s.tree->fOnCollapse = [&s](TvxGridTree*, TvxDataEntity_GridTreeNode* n, bool&) { s.KillNode(n); };
     },
     ButtonRow2},
    {"ButtonClickOnAChild", [](TreeGridScene& s) { s.Root(0)->SetExpanded(true); },
     [](TreeGridScene& s) {
       s.grid.OnButtonClick = [&s](TBabGridView_Custom*, TBabCell* c) { s.KillNode(TvxGrid::CellToNode(c)); };
     },
     ButtonRow2},
};

VX_REENTRY_SUITE(GridTreeHandlerDeletes, TreeGridScene, kTreeCases, vxtest::kObjectLineAll);

// A handler may end the grid itself, through deleteLater(): the event, and
// what follows it in the grid, complete first (the input helpers run the event
// loop after each event: a gesture ends with the event that ends the grid).
const vxtest::Ending<Scene> kEndings[] = {
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

VX_ENDING_SUITE(GridHandlerEndsTheGrid, Scene, kEndings);

}  // namespace
