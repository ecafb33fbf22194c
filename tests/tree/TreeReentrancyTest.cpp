// Handlers that delete what they are handed: for every event of the tree
// (and its popup and printer) that hands out an entity or a node, a handler
// removes (a) that entity, (b) its parent (a root's whole list), (c) every
// entity, once, in the middle of a real gesture (Qt events through the event
// loop), a paint or the print loop. The tree must come out whole: no
// sanitizer report, and it still paints, prints and takes input afterwards.
// Handlers that end the control itself go through deleteLater().
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QTest>
#include <climits>
#include <utility>

#include "UiTestSupport.h"
#include <vxplan/printing/vxTreePrinting.h>
#include <vxplan/tree/vxTree.h>
#include <vxplan/tree/vxTreePopup.h>

using namespace vx;

namespace {

enum class Kill { Object, Parent, All };

const char* Name(Kill k) { return k == Kill::Object ? "Object" : k == Kill::Parent ? "Parent" : "All"; }

// Ten root entities "r0" .. "r9" with three children each; r1 expanded, all editable.
struct Scene {
  TvxTree* tree = new TvxTree(nullptr);
  QPointer<TvxTree> alive = tree;
  TvxTreePopup popup{nullptr};
  TBitmap shot;
  bool armed = true;

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
  bool Fire() { return std::exchange(armed, false); }

  void KillEntity(Kill k, TvxDataEntity_Tree* e) {
    if (!Fire()) return;
    if (k == Kill::Object && e) tree->RemoveDataEntity(e);
    if (k == Kill::Parent && e) {
      if (TvxDataEntity_Tree* parent = e->ParentNode())
        tree->RemoveDataEntity(parent);
      else if (e->GetDataList())
        e->GetDataList()->Clear();
    }
    if (k == Kill::All) tree->Clear();
    // Applications look at the tree at once: the nodes follow the lists.
    tree->GetCurrentDataEntity();
  }
  void KillNode(Kill k, TTreeNode* n) { KillEntity(k, TvxTree_ComBasic::GetDataEntityFromNode(n)); }

  void Disarm() {
    tree->OnSelectionChanged = nullptr;
    tree->OnCurrentDataEntityChange = nullptr;
    tree->OnChange = nullptr;
    tree->OnChanging = nullptr;
    tree->OnExpanding = nullptr;
    tree->OnCollapsing = nullptr;
    tree->OnExpanded = nullptr;
    tree->OnEditing = nullptr;
    tree->OnEdited = nullptr;
    tree->OnBeforeCanEditItem = nullptr;
    tree->OnValueChanged = nullptr;
    tree->OnCustomDrawItem = nullptr;
    tree->OnAdvancedCustomDrawItem = nullptr;
    tree->OnRightClick = nullptr;
    tree->OnTopItemChanged = nullptr;
    popup.OnUserPickDataEntity = nullptr;
  }

  // After the case: the entities come back; the tree paints, prints, and
  // takes clicks and keys as before.
  void CheckWhole() {
    Disarm();
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

using Arm = void (*)(Scene& s, Kill k);
using Drive = void (*)(Scene& s);

struct Case {
  const char* name;
  Drive prepare;  // before the handler is armed
  Arm arm;
  Drive drive;
};

void Nothing(Scene&) {}
void ClickRow0(Scene& s) { s.Click(0); }
void ClickRow2(Scene& s) { s.Click(2); }
void EditRow2(Scene& s) { s.Edit(2); }
void KeyDown(Scene& s) { s.Key(Qt::Key_Down); }
void Repaint(Scene& s) { s.tree->Repaint(); }
void ArmSelection(Scene& s, Kill k) {
  s.tree->OnSelectionChanged = [&s, k](TObject*, TvxDataList*, TvxDataEntity* e) {
    s.KillEntity(k, dynamic_cast<TvxDataEntity_Tree*>(e));
  };
}
void ArmExpanding(Scene& s, Kill k) {
  s.tree->OnExpanding = [&s, k](TObject*, TTreeNode* n, bool&) { s.KillNode(k, n); };
}
// A key into the editor, when one opened.
template <Qt::Key theKey>
void EditorKey(Scene& s) {
  if (QWidget* editor = s.Editor()) QTest::keyClick(editor, theKey);
}

const Case kCases[] = {
    {"SelectionChangedByClick", Nothing, ArmSelection, ClickRow2},
    {"SelectionChangedByKey", ClickRow2, ArmSelection, KeyDown},
    {"CurrentEntityChange", Nothing,
     [](Scene& s, Kill k) {
       s.tree->OnCurrentDataEntityChange = [&s, k](TvxTree_ComBasic*, TvxDataEntity_Tree* e) { s.KillEntity(k, e); };
     },
     ClickRow2},
    {"Change", ClickRow2,
     [](Scene& s, Kill k) { s.tree->OnChange = [&s, k](TObject*, TTreeNode* n) { s.KillNode(k, n); }; }, KeyDown},
    {"Changing", ClickRow2,
     [](Scene& s, Kill k) { s.tree->OnChanging = [&s, k](TObject*, TTreeNode* n, bool&) { s.KillNode(k, n); }; },
     [](Scene& s) { s.Key(Qt::Key_Up); }},
    {"ExpandingByKey", ClickRow0, ArmExpanding, [](Scene& s) { s.Key(Qt::Key_Right); }},
    {"ExpandingByButton", Nothing, ArmExpanding,
     [](Scene& s) {
       const TRect r = s.RowRect(0);
       // The button sits in the root's indentation, left of its text.
       vxtest::MousePress(s.tree, r.Left - 12, (r.Top + r.Bottom) / 2);
       vxtest::MouseRelease(s.tree, r.Left - 12, (r.Top + r.Bottom) / 2);
     }},
    {"Expanded", ClickRow0,
     [](Scene& s, Kill k) { s.tree->OnExpanded = [&s, k](TObject*, TTreeNode* n) { s.KillNode(k, n); }; },
     [](Scene& s) { s.Key(Qt::Key_Right); }},
    {"CollapsingByKey", [](Scene& s) { s.Click(1); },
     [](Scene& s, Kill k) { s.tree->OnCollapsing = [&s, k](TObject*, TTreeNode* n, bool&) { s.KillNode(k, n); }; },
     [](Scene& s) { s.Key(Qt::Key_Left); }},
    {"Editing", Nothing,
     [](Scene& s, Kill k) { s.tree->OnEditing = [&s, k](TObject*, TTreeNode* n, bool&) { s.KillNode(k, n); }; },
     EditRow2},
    {"BeforeCanEdit", Nothing,
     [](Scene& s, Kill k) {
       s.tree->OnBeforeCanEditItem = [&s, k](TObject*, TvxDataEntity* e) {
         s.KillEntity(k, dynamic_cast<TvxDataEntity_Tree*>(e));
       };
     },
     EditRow2},
    {"ValueChangedWhileTyping", EditRow2,
     [](Scene& s, Kill k) {
       s.tree->OnValueChanged = [&s, k](TObject*, TvxDataEntity* e) {
         s.KillEntity(k, dynamic_cast<TvxDataEntity_Tree*>(e));
       };
     },
     EditorKey<Qt::Key_X>},
    {"Edited", EditRow2,
     [](Scene& s, Kill k) { s.tree->OnEdited = [&s, k](TObject*, TTreeNode* n, std::string&) { s.KillNode(k, n); }; },
     EditorKey<Qt::Key_Return>},
    {"CustomDraw", Nothing,
     [](Scene& s, Kill k) {
       s.tree->OnCustomDrawItem = [&s, k](TCustomTreeView*, TTreeNode* n, TCustomDrawState, bool&) { s.KillNode(k, n); };
     },
     Repaint},
    {"AdvancedCustomDraw", Nothing,
     [](Scene& s, Kill k) {
       s.tree->OnAdvancedCustomDrawItem = [&s, k](TCustomTreeView*, TTreeNode* n, TCustomDrawState, bool&) {
         s.KillNode(k, n);
       };
     },
     Repaint},
    {"RightClick", Nothing,
     [](Scene& s, Kill k) {
       s.tree->OnRightClick = [&s, k](TvxTree_ComBasic*, TvxDataEntity_Tree* e) { s.KillEntity(k, e); };
     },
     [](Scene& s) { s.Click(3, Qt::RightButton); }},
    {"TopItemChangedByWheel", Nothing,
     [](Scene& s, Kill k) { s.tree->OnTopItemChanged = [&s, k](TObject*) { s.KillEntity(k, s.tree->GetTopDataEntity()); }; },
     [](Scene& s) { vxtest::Wheel(s.tree, 50, 50, -120); }},
    {"PopupPick", [](Scene& s) { s.popup.InitRootLevel(); },
     [](Scene& s, Kill k) {
       s.popup.OnUserPickDataEntity = [&s, k](TvxTreePopup*, TvxDataEntity_Tree* e) { s.KillEntity(k, e); };
     },
     [](Scene& s) {
       // r1's sub-menu: opened, then its first child picked, then the menu built again.
       TMenuItem* r1 = s.popup.GetItems()->GetItem(1);
       r1->Click();
       r1->GetItem(2)->GetItem(0)->Click();
       r1->GetItem(3)->GetItem(0)->Click();
       s.popup.InitRootLevel();
     }},
};

using Param = std::tuple<Case, Kill>;

class TreeHandlerDeletes : public testing::TestWithParam<Param> {};

TEST_P(TreeHandlerDeletes, AndTheTreeGoesOn) {
  const auto& [c, kill] = GetParam();
  Scene s;
  s.Show();
  c.prepare(s);
  c.arm(s, kill);
  c.drive(s);
  vxtest::ProcessEventsUntilIdle();
  s.tree->PaintTo(&s.shot);
  EXPECT_FALSE(s.armed) << c.name << " never called the handler";
  s.CheckWhole();
}

INSTANTIATE_TEST_SUITE_P(EveryEvent, TreeHandlerDeletes,
                         testing::Combine(testing::ValuesIn(kCases), testing::Values(Kill::Object, Kill::Parent, Kill::All)),
                         [](const testing::TestParamInfo<Param>& info) {
                           return std::string(std::get<0>(info.param).name) + "_" + Name(std::get<1>(info.param));
                         });

// The print loop's size callback hears of the entity at the page's break.
class TreePrintCallbackDeletes : public testing::TestWithParam<Kill> {};

TEST_P(TreePrintCallbackDeletes, AndTheTreeGoesOn) {
  const Kill kill = GetParam();
  Scene s;
  s.Show();
  // Rows of 18 pixels: five fit into 100, the sixth opens the next page.
  const int printed = s.Print(100, [&s, kill](bool, int, TObject* o) {
    s.KillEntity(kill, dynamic_cast<TvxDataEntity_Tree*>(o));
  });
  EXPECT_FALSE(s.armed);
  EXPECT_EQ(printed, 5);
  s.CheckWhole();
}

INSTANTIATE_TEST_SUITE_P(EveryKind, TreePrintCallbackDeletes, testing::Values(Kill::Object, Kill::Parent, Kill::All),
                         [](const testing::TestParamInfo<Kill>& info) { return std::string(Name(info.param)); });

// A handler may end the tree itself, through deleteLater(): the event, and
// what follows it in the tree, complete first (the input helpers run the event
// loop after each event: a gesture ends with the event that ends the tree).
struct EndCase {
  const char* name;
  void (*run)(Scene& s);
};

const EndCase kEndCases[] = {
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

class TreeHandlerEndsTheTree : public testing::TestWithParam<EndCase> {};

TEST_P(TreeHandlerEndsTheTree, ThroughDeleteLater) {
  Scene s;
  s.Show();
  GetParam().run(s);
  vxtest::ReturnToTheEventLoop();
  EXPECT_TRUE(s.alive.isNull());
}

INSTANTIATE_TEST_SUITE_P(Each, TreeHandlerEndsTheTree, testing::ValuesIn(kEndCases),
                         [](const testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

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
