// Handlers that delete what they are handed: for every event of the tree
// (and its popup and printer) that hands out an entity or a node, a handler
// removes (a) that entity, (b) its parent (a root's whole list), (c) every
// entity, once, in the middle of a real gesture (Qt events through the event
// loop), a paint or the print loop. The tree must come out whole: no
// sanitizer report, and it still paints, prints and takes input afterwards.
// Handlers that end the control itself go through deleteLater().
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <climits>

#include "ReentrancyHarness.h"
#include <vxplan/printing/vxTreePrinting.h>
#include <vxplan/tree/vxTree.h>
#include <vxplan/tree/vxTreePopup.h>

using namespace vx;
using vxtest::Kill;

namespace {

// Ten root entities "r0" .. "r9" with three children each; r1 expanded, all editable.
struct Scene : vxtest::Reentrant {
  TvxTree* tree = new TvxTree(nullptr);
  QPointer<TvxTree> alive = tree;
  TvxTreePopup popup{nullptr};
  TBitmap shot;

  Scene() {
    tree->SetBounds(0, 0, 260, 150);  // eight rows of the thirteen shown
    tree->SetMultiSelect(true);
    tree->SetRightClickSelect(true);
    popup.SetTree(tree);
    Fill();
  }
  ~Scene() { delete alive.data(); }

  void Fill() {
    for (int i = 0; i < 10; ++i) {
      TvxDataEntity_Tree* e = tree->AddDataEntity(nullptr);
      e->SetText("r" + std::to_string(i));
      e->SetCanEdit(true);
      for (int k = 0; k < 3; ++k) {
        TvxDataEntity_Tree* c = tree->AddDataEntity(e);
        c->SetText("r" + std::to_string(i) + "." + std::to_string(k));
        c->SetCanEdit(true);
      }
    }
    Root(1)->SetExpanded(true);
    tree->EnsureDisplayUpToDate();
  }
  TvxDataEntity_Tree* Root(int i) { return static_cast<TvxDataEntity_Tree*>(tree->GetRootDataList()->GetItems(i)); }
  void Show() {
    vxtest::ShowWindow(tree);
    tree->SetFocus();
    vxtest::ProcessEventsUntilIdle();
  }
  TRect RowRect(int theRow) {
    tree->EnsureDisplayUpToDate();
    TTreeNode* n = tree->GetVisibleRow(theRow);
    return n ? n->DisplayRect(true) : NoRect();
  }
  void Click(int theRow, Qt::MouseButton theButton = Qt::LeftButton) {
    const TRect r = RowRect(theRow);
    const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
    vxtest::MousePress(tree, x, y, theButton);
    vxtest::MouseRelease(tree, x, y, theButton);
  }
  void Key(Qt::Key theKey) { vxtest::KeyClick(tree, theKey); }
  // An edit of the node in row theRow, through F2.
  void Edit(int theRow) {
    Click(theRow);
    tree->SetCurrentDataEntity(tree->GetDataEntityFromRow(theRow));
    vxtest::ProcessEventsUntilIdle();
    QTest::qWait(1050);  // a click that selects does not start an edit for a second
    Key(Qt::Key_F2);
  }
  QWidget* Editor() { return tree->findChild<QLineEdit*>(); }
  int Print(int thePageHeight = -1, const TOnSizeCallBack& theCallback = {}) {
    auto dc = TDeviceContext::CreateImage(400, 1200);
    int rows = -1, w = 0, h = 0;
    TvxPrintTree::Print(tree, dc.get(), 0, 0, 1, 1, 200, nullptr, rows, false, w, h, thePageHeight, theCallback);
    return rows;
  }
  void KillEntity(TvxDataEntity_Tree* e) {
    if (!Fire()) return;
    if (kill == Kill::Object && e) tree->RemoveDataEntity(e);
    if (kill == Kill::Line && e) {
      if (TvxDataEntity_Tree* parent = e->ParentNode())
        tree->RemoveDataEntity(parent);
      else if (e->GetDataList())
        e->GetDataList()->Clear();
    }
    if (kill == Kill::All) tree->Clear();
    // Applications look at the tree at once: the nodes follow the lists.
    tree->GetCurrentDataEntity();
  }
  void KillNode(TTreeNode* n) { KillEntity(TvxTree_ComBasic::GetDataEntityFromNode(n)); }

  // After the case: the entities come back; the tree paints, prints, and
  // takes clicks and keys as before.
  void CheckWhole() {
    tree->PaintTo(&shot);
    if (tree->IsEditing()) tree->EndEdit(true);
    tree->Clear();
    Fill();
    tree->SetTopDataEntity(Root(0));
    vxtest::ProcessEventsUntilIdle();
    Click(2);
    EXPECT_EQ(tree->GetCurrentDataEntity(), Root(1)->GetSubDataList()->GetItems(0));
    Key(Qt::Key_Down);
    vxtest::ProcessEventsUntilIdle();
    EXPECT_EQ(tree->GetCurrentDataEntity(), Root(1)->GetSubDataList()->GetItems(1));
    EXPECT_TRUE(tree->GetCurrentDataEntity()->GetSelected());
    tree->PaintTo(&shot);
    EXPECT_NE(vxtest::MatchingPixels(shot.GetCanvas(), 260, 150,
                                     [](TColor c) { return c == ColorToRGB(clHighlight); }).Left,
              -1);
    EXPECT_EQ(Print(), 13);  // ten roots and r1's children
  }
};

void ClickRow0(Scene& s) { s.Click(0); }
void ClickRow2(Scene& s) { s.Click(2); }
void EditRow2(Scene& s) { s.Edit(2); }
void KeyDown(Scene& s) { s.Key(Qt::Key_Down); }
void Repaint(Scene& s) { s.tree->Repaint(); }
void ArmSelection(Scene& s) {
  s.tree->OnSelectionChanged = [&s](TObject*, TvxDataList*, TvxDataEntity* e) {
    s.KillEntity(dynamic_cast<TvxDataEntity_Tree*>(e));
  };
}
void ArmExpanding(Scene& s) {
  s.tree->OnExpanding = [&s](TObject*, TTreeNode* n, bool&) { s.KillNode(n); };
}
// A key into the editor, when one opened.
template <Qt::Key theKey>
void EditorKey(Scene& s) {
  if (QWidget* editor = s.Editor()) QTest::keyClick(editor, theKey);
}

const vxtest::Reentry<Scene> kCases[] = {
    {"SelectionChangedByClick", nullptr, ArmSelection, ClickRow2},
    {"SelectionChangedByKey", ClickRow2, ArmSelection, KeyDown},
    {"CurrentEntityChange", nullptr,
     [](Scene& s) {
       s.tree->OnCurrentDataEntityChange = [&s](TvxTree_ComBasic*, TvxDataEntity_Tree* e) { s.KillEntity(e); };
     },
     ClickRow2},
    {"Change", ClickRow2,
     [](Scene& s) { s.tree->OnChange = [&s](TObject*, TTreeNode* n) { s.KillNode(n); }; }, KeyDown},
    {"Changing", ClickRow2,
     [](Scene& s) { s.tree->OnChanging = [&s](TObject*, TTreeNode* n, bool&) { s.KillNode(n); }; },
     [](Scene& s) { s.Key(Qt::Key_Up); }},
    {"ExpandingByKey", ClickRow0, ArmExpanding, [](Scene& s) { s.Key(Qt::Key_Right); }},
    {"ExpandingByButton", nullptr, ArmExpanding,
     [](Scene& s) {
       const TRect r = s.RowRect(0);
       // The button sits in the root's indentation, left of its text.
       vxtest::MousePress(s.tree, r.Left - 12, (r.Top + r.Bottom) / 2);
       vxtest::MouseRelease(s.tree, r.Left - 12, (r.Top + r.Bottom) / 2);
     }},
    {"Expanded", ClickRow0,
     [](Scene& s) { s.tree->OnExpanded = [&s](TObject*, TTreeNode* n) { s.KillNode(n); }; },
     [](Scene& s) { s.Key(Qt::Key_Right); }},
    {"CollapsingByKey", [](Scene& s) { s.Click(1); },
     [](Scene& s) { s.tree->OnCollapsing = [&s](TObject*, TTreeNode* n, bool&) { s.KillNode(n); }; },
     [](Scene& s) { s.Key(Qt::Key_Left); }},
    {"Editing", nullptr,
     [](Scene& s) { s.tree->OnEditing = [&s](TObject*, TTreeNode* n, bool&) { s.KillNode(n); }; },
     EditRow2},
    {"BeforeCanEdit", nullptr,
     [](Scene& s) {
       s.tree->OnBeforeCanEditItem = [&s](TObject*, TvxDataEntity* e) {
         s.KillEntity(dynamic_cast<TvxDataEntity_Tree*>(e));
       };
     },
     EditRow2},
    {"ValueChangedWhileTyping", EditRow2,
     [](Scene& s) {
       s.tree->OnValueChanged = [&s](TObject*, TvxDataEntity* e) {
         s.KillEntity(dynamic_cast<TvxDataEntity_Tree*>(e));
       };
     },
     EditorKey<Qt::Key_X>},
    {"Edited", EditRow2,
     [](Scene& s) { s.tree->OnEdited = [&s](TObject*, TTreeNode* n, std::string&) { s.KillNode(n); }; },
     EditorKey<Qt::Key_Return>},
    {"CustomDraw", nullptr,
     [](Scene& s) {
       s.tree->OnCustomDrawItem = [&s](TCustomTreeView*, TTreeNode* n, TCustomDrawState, bool&) { s.KillNode(n); };
     },
     Repaint},
    {"AdvancedCustomDraw", nullptr,
     [](Scene& s) {
       s.tree->OnAdvancedCustomDrawItem = [&s](TCustomTreeView*, TTreeNode* n, TCustomDrawState, bool&) {
         s.KillNode(n);
       };
     },
     Repaint},
    {"RightClick", nullptr,
     [](Scene& s) {
       s.tree->OnRightClick = [&s](TvxTree_ComBasic*, TvxDataEntity_Tree* e) { s.KillEntity(e); };
     },
     [](Scene& s) { s.Click(3, Qt::RightButton); }},
    {"TopItemChangedByWheel", nullptr,
     [](Scene& s) { s.tree->OnTopItemChanged = [&s](TObject*) { s.KillEntity(s.tree->GetTopDataEntity()); }; },
     [](Scene& s) { vxtest::Wheel(s.tree, 50, 50, -120); }},
    {"PopupPick", [](Scene& s) { s.popup.InitRootLevel(); },
     [](Scene& s) {
       s.popup.OnUserPickDataEntity = [&s](TvxTreePopup*, TvxDataEntity_Tree* e) { s.KillEntity(e); };
     },
     [](Scene& s) {
       // r1's sub-menu: opened, then its first child picked, then the menu built again.
       TMenuItem* r1 = s.popup.GetItems()->GetItem(1);
       r1->Click();
       r1->GetItem(2)->GetItem(0)->Click();
       r1->GetItem(3)->GetItem(0)->Click();
       s.popup.InitRootLevel();
     }},
    // The print loop's size callback hears of the entity at the page's break.
    {"PrintPageBreak", nullptr, [](Scene&) {},
     [](Scene& s) {
       // Rows of 18 pixels: five fit into 100, the sixth opens the next page.
       EXPECT_EQ(s.Print(100, [&s](bool, int, TObject* o) { s.KillEntity(dynamic_cast<TvxDataEntity_Tree*>(o)); }), 5);
     }},
};

VX_REENTRY_SUITE(TreeHandlerDeletes, Scene, kCases, vxtest::kObjectLineAll);

// A handler may end the tree itself, through deleteLater(): the event, and
// what follows it in the tree, complete first (the input helpers run the event
// loop after each event: a gesture ends with the event that ends the tree).
const vxtest::Ending<Scene> kEndings[] = {
    {"RightClick",
     [](Scene& s) {
       s.tree->OnRightClick = [&s](TvxTree_ComBasic*, TvxDataEntity_Tree*) { s.tree->deleteLater(); };
       const TRect r = s.RowRect(3);
       vxtest::MousePress(s.tree, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, Qt::RightButton);
     }},
    {"ValueChanged",
     [](Scene& s) {
       s.Edit(2);
       s.tree->OnValueChanged = [&s](TObject*, TvxDataEntity*) { s.tree->deleteLater(); };
       EditorKey<Qt::Key_X>(s);
     }},
    {"PrintPage",
     [](Scene& s) {
       s.Print(100, [&s](bool, int, TObject*) { s.tree->deleteLater(); });
     }},
};

VX_ENDING_SUITE(TreeHandlerEndsTheTree, Scene, kEndings);

}  // namespace

namespace {

// ---------------------------------------------------------------- gestures the window changes under

using vxtest::Interruption;

class TreeGestureInterrupted : public testing::TestWithParam<Interruption> {
protected:
  TvxTree other{nullptr};  // first: the tree may be its child when it goes
  Scene s;

  void TearDown() override { s.tree->SetParent(nullptr); }
  void Interrupt(bool theRunEvents) {
    GetParam().interrupt(s.tree, &other);
    if (theRunEvents) vxtest::ProcessEventsUntilIdle();
    other.SetMouseCapture(false);
  }
};

TEST_P(TreeGestureInterrupted, ANodeDragEndsWithoutADrop) {
  int ends = 0;
  s.tree->OnEndDrag = [&ends](TObject*, TObject* target, int, int) { ends += target ? 100 : 1; };
  s.tree->SetDragMode(dmAutomatic);
  s.Show();
  const TRect r = s.RowRect(2);
  vxtest::MousePress(s.tree, r.Left + 5, r.Top + 5);
  vxtest::MouseMove(s.tree, r.Left + 5, r.Top + 40);
  ASSERT_TRUE(s.tree->Dragging());
  Interrupt(true);
  EXPECT_FALSE(s.tree->Dragging());
  EXPECT_EQ(ends, 1);
}

// A click on the selected node starts its edit a moment later, unless the
// gesture was cut short.
TEST_P(TreeGestureInterrupted, AClickWaitingToEditStartsNothing) {
  if (GetParam().takesTheMouse) GTEST_SKIP() << "the click is over: it holds no mouse";
  s.Show();
  s.Click(2);
  QTest::qWait(1050);  // a click that selects does not start an edit for a second
  const TRect r = s.RowRect(2);
  vxtest::MousePress(s.tree, r.Left + 5, r.Top + 5);
  vxtest::MouseRelease(s.tree, r.Left + 5, r.Top + 5);
  Interrupt(false);
  QTest::qWait(QApplication::doubleClickInterval() + 100);
  EXPECT_FALSE(s.tree->IsEditing());
}

INSTANTIATE_TEST_SUITE_P(Each, TreeGestureInterrupted, testing::ValuesIn(vxtest::kInterruptions),
                         [](const testing::TestParamInfo<Interruption>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// ---------------------------------------------------------------- values at and beyond the limits

TEST(TreeLimits, SizesAndLevelsAreKeptWithinBoundsAndTheTreeGoesOn) {
  struct Limit {
    const char* name;
    void (*apply)(TvxTree* t);
    void (*check)(TvxTree* t);
  };
  const Limit limits[] = {
      {"IndentIntMax", [](TvxTree* t) { t->SetIndent(INT_MAX); },
       [](TvxTree* t) { EXPECT_EQ(t->GetIndent(), TCustomTreeView::kMaxIndent); }},
      {"IndentNegative", [](TvxTree* t) { t->SetIndent(INT_MIN); }, [](TvxTree* t) { EXPECT_EQ(t->GetIndent(), 1); }},
      {"RowHeightIntMax", [](TvxTree* t) { t->SetItemHeight(INT_MAX); },
       [](TvxTree* t) { EXPECT_EQ(t->GetItemHeight(), TCustomTreeView::kMaxItemHeight); }},
      {"MaxLevelsIntMin", [](TvxTree* t) { t->SetMaxLevels(INT_MIN); },
       [](TvxTree* t) { EXPECT_EQ(t->GetMaxLevels(), -1); }},
      {"AutoExpandLevelsIntMax", [](TvxTree* t) { t->SetAutoExpandLevels(INT_MAX); },
       [](TvxTree* t) {
         t->EnsureDisplayUpToDate();
         EXPECT_TRUE(static_cast<TvxDataEntity_Tree*>(t->GetRootDataList()->GetItems(9))->GetExpanded());
       }},
      {"RowsBeyond", [](TvxTree*) {},
       [](TvxTree* t) {
         EXPECT_EQ(t->GetDataEntityFromRow(INT_MAX), nullptr);
         EXPECT_EQ(t->GetDataEntityFromRow(INT_MIN), nullptr);
         EXPECT_EQ(t->GetDataEntityAt(INT_MIN, INT_MAX), nullptr);
       }},
  };
  for (const Limit& l : limits) {
    SCOPED_TRACE(l.name);
    Scene s;
    s.Show();
    l.apply(s.tree);
    vxtest::ProcessEventsUntilIdle();
    l.check(s.tree);
    // It paints, scrolls by the wheel and by keys, and prints.
    s.tree->PaintTo(&s.shot);
    vxtest::Wheel(s.tree, 20, 20, -120);
    s.Click(0);
    s.Key(Qt::Key_End);
    s.tree->PaintTo(&s.shot);
    EXPECT_NE(s.tree->GetCurrentDataEntity(), nullptr);
    EXPECT_GT(s.Print(), 0);
  }
}

}  // namespace
