#include <gtest/gtest.h>

#include <functional>
#include <random>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QThread>

#include "UiTestSupport.h"
#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/tree/vxTree.h>

using namespace vx;

namespace {

constexpr const char* kPlaceholder = "Not initiated";

// A hidden entity has no node, and neither have its descendants.
void ExpectNoNodes(TvxDataEntity_Tree* e) {
  EXPECT_EQ(e->GetTreeNode(), nullptr) << e->GetText();
  for (int i = 0; i < e->GetSubDataList()->Count(); ++i)
    ExpectNoNodes(static_cast<TvxDataEntity_Tree*>(e->GetSubDataList()->GetItems(i)));
}

// Every entity's node sits under its parent's node, siblings in list order,
// and every other node is a placeholder under a childless entity.
void ExpectMirrors(TTreeNode* theParentNode, TvxDataList* theList, int& theEntities) {
  int k = 0;
  for (int i = 0; i < theList->Count(); ++i) {
    auto* e = static_cast<TvxDataEntity_Tree*>(theList->GetItems(i));
    if (e->Get_HideNode()) {
      ExpectNoNodes(e);
      continue;
    }
    TTreeNode* n = e->GetTreeNode();
    ASSERT_NE(n, nullptr) << e->GetText();
    ++theEntities;
    EXPECT_EQ(n->GetParent(), theParentNode) << e->GetText();
    EXPECT_EQ(n->GetIndex(), k++) << e->GetText();
    EXPECT_EQ(TvxTree_ComBasic::GetDataEntityFromNode(n), e);
    EXPECT_EQ(n->GetText(), e->GetText());
    TvxDataList_Tree* sub = e->GetSubDataList();
    if (sub->Count() > 0 && (n->GetExpanded() || (n->Count() > 0 && n->GetItem(0)->GetData()))) {
      ExpectMirrors(n, sub, theEntities);
    } else {
      for (int c = 0; c < n->Count(); ++c) EXPECT_EQ(n->GetItem(c)->GetText(), kPlaceholder);
    }
  }
  // Nothing else: no orphaned nodes among the siblings (roots: CheckMirror).
  if (theParentNode) {
    EXPECT_EQ(theParentNode->Count(), k);
  }
}

int CheckMirror(TvxTree& t) {
  t.EnsureDisplayUpToDate();
  int entities = 0;
  ExpectMirrors(nullptr, t.GetRootDataList(), entities);
  int shownRoots = 0;
  for (int i = 0; i < t.GetRootDataList()->Count(); ++i)
    shownRoots += !static_cast<TvxDataEntity_Tree*>(t.GetRootDataList()->GetItems(i))->Get_HideNode();
  EXPECT_EQ(t.GetItems()->RootCount(), shownRoots);
  return entities;
}

TvxDataEntity_Tree* Add(TvxTree& t, TvxDataEntity_Tree* parent, const std::string& text) {
  TvxDataEntity_Tree* e = t.AddDataEntity(parent);
  e->SetText(text);
  return e;
}

std::vector<std::string> RootTexts(TvxTree& t) {
  t.EnsureDisplayUpToDate();
  std::vector<std::string> out;
  for (int i = 0; i < t.GetItems()->RootCount(); ++i) out.push_back(t.GetItems()->GetRoot(i)->GetText());
  return out;
}

void Click(TControl& c, TvxTree& t, int row, WPARAM keys = 0) {
  t.EnsureDisplayUpToDate();
  const TRect r = t.GetVisibleRow(row)->DisplayRect(true);
  const LPARAM at = MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  c.Perform(WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
  c.Perform(WM_LBUTTONUP, keys, at);
}

std::vector<std::string> SelectedTexts(TvxTree& t) {
  std::vector<std::string> out;
  TvxDataList* roots = t.GetRootDataList();
  for (int i = 0; i < roots->Count(); ++i)
    if (roots->GetItems(i)->GetSelected()) out.push_back(static_cast<TvxDataEntity_Tree*>(roots->GetItems(i))->GetText());
  return out;
}

class LeafTree : public TvxTree {
public:
  using TvxTree::TvxTree;
  bool NeedsDummyNode(TvxDataEntity_Tree* e) override { return e->GetText().rfind("leaf", 0) != 0; }
};

// A tree of 300 x 400, not shown; entities whose text starts "leaf" are leaves.
class Tree : public testing::Test {
protected:
  Tree() { t.SetBounds(0, 0, 300, 400); }
  LeafTree t{nullptr};
};

}  // namespace

TEST_F(Tree, ScatteredBurstsOnAListOfManyBlocksAreMirrored) {
  // 5,000 roots: the list keeps them in several blocks, and a burst of
  // scattered inserts, deletes and moves with index reads between them must
  // still come out in list order, touching few nodes.
  for (int i = 0; i < 5000; ++i) Add(t, nullptr, "r" + std::to_string(i));
  EXPECT_EQ(CheckMirror(t), 5000);
  TvxDataList* roots = t.GetRootDataList();
  std::mt19937 rng(3);
  const long long before = t.GetNodeOperationCount();
  for (int k = 0; k < 600; ++k) {
    std::uniform_int_distribution<int> any(0, roots->Count() - 1);
    if (k % 3 == 0)
      Add(t, nullptr, "n" + std::to_string(k))->Move(any(rng));
    else if (k % 3 == 1)
      t.RemoveDataEntity(static_cast<TvxDataEntity_Tree*>(roots->GetItems(any(rng))));
    else
      roots->GetItems(any(rng))->Move(any(rng));
    const int i = any(rng);
    ASSERT_EQ(roots->GetItems(i)->ListIndex(), i);
  }
  EXPECT_EQ(CheckMirror(t), 5000);
  // A node and a placeholder per new entity, a node per deleted one and its
  // placeholder, and one reordering of the roots.
  EXPECT_LE(t.GetNodeOperationCount() - before, 2 * 200 + 2 * 200 + 1);
}

TEST_F(Tree, BurstsOfChangesAreMirroredAtTheNextRead) {
  std::vector<TvxDataEntity_Tree*> roots;
  for (int i = 0; i < 50; ++i) roots.push_back(Add(t, nullptr, "r" + std::to_string(i)));
  for (int i = 0; i < 5; ++i) Add(t, roots[3], "r3." + std::to_string(i));
  // Nothing reaches the view until it is read.
  EXPECT_EQ(t.GetItems()->Count(), 0);
  EXPECT_EQ(CheckMirror(t), 55);  // children get nodes before their parent opens
  roots[3]->SetExpanded(true);
  EXPECT_EQ(CheckMirror(t), 55);

  const long long before = t.GetNodeOperationCount();
  // Inserts at the front, deletes in the middle, moves, a change of parent.
  TvxDataEntity_Tree* first = t.InsertDataEntity(nullptr, 0);
  first->SetText("first");
  t.RemoveDataEntity(roots[10]);
  t.RemoveDataEntity(roots[11]);
  roots[20]->Move(1);
  t.ChangeOwner(roots[30], roots[3]);
  roots[3]->GetSubDataList()->GetItems(0)->Move(5);
  roots[5]->SetText("renamed");
  EXPECT_EQ(CheckMirror(t), 54);
  EXPECT_EQ(RootTexts(t)[0], "first");
  EXPECT_EQ(RootTexts(t)[1], "r20");
  EXPECT_EQ(RootTexts(t)[2], "r0");
  EXPECT_EQ(roots[3]->GetTreeNode()->GetLastChild()->GetText(), "r3.0");
  // Only what changed was touched: far fewer operations than the 55 nodes.
  EXPECT_LT(t.GetNodeOperationCount() - before, 20);

  // A sort by the application's order reorders the nodes.
  t.OnSortCompare = [](TvxDataEntity* a, TvxDataEntity* b) {
    const std::string& x = static_cast<TvxDataEntity_Tree*>(a)->GetText();
    const std::string& y = static_cast<TvxDataEntity_Tree*>(b)->GetText();
    return x < y ? 1 : (x > y ? -1 : 0);  // descending by text
  };
  t.GetRootDataList()->Sort(false);
  CheckMirror(t);
  EXPECT_EQ(RootTexts(t).front(), "renamed");

  // A child added to a parent whose only child was a placeholder replaces it.
  Add(t, roots[40], "r40.0");
  CheckMirror(t);
  ASSERT_EQ(roots[40]->GetTreeNode()->Count(), 1);
  EXPECT_EQ(roots[40]->GetTreeNode()->GetItem(0)->GetText(), "r40.0");

  // Clearing empties the view.
  std::vector<std::string> deleted;
  t.OnDataEntityDelete = [&](TvxTree_ComBasic*, TvxDataEntity_Tree* e) { deleted.push_back(e->GetText()); };
  t.Clear();
  EXPECT_EQ(CheckMirror(t), 0);
  EXPECT_EQ(deleted.size(), 55u);
}

TEST_F(Tree, ABurstAsksForOneRepaintAndThePaintShowsIt) {
  // However many changes a burst holds, the window is asked to repaint once;
  // the paint that comes synchronises, and the next burst asks again.
  vxtest::ShowWindow(&t);
  vxtest::ProcessEventsUntilIdle();
  std::vector<TvxDataEntity_Tree*> roots;
  const struct {
    const char* name;
    std::function<void()> change;
  } bursts[] = {
      {"300 roots", [&] { for (int i = 0; i < 300; ++i) roots.push_back(Add(t, nullptr, "r" + std::to_string(i))); }},
      {"children under two roots", [&] { for (int i = 0; i < 20; ++i) Add(t, roots[3 + i % 2], "c" + std::to_string(i)); }},
      {"every third hidden", [&] { for (size_t i = 0; i < roots.size(); i += 3) roots[i]->Set_HideNode(true); }},
      {"shown again", [&] { for (size_t i = 3; i < roots.size(); i += 6) roots[i]->Set_HideNode(false); }},
      {"every fourth deleted", [&] {
         for (size_t i = 0; i < roots.size(); i += 4) t.RemoveDataEntity(roots[i]);
       }},
      {"cleared", [&] { t.Clear(); }},
  };
  for (const auto& burst : bursts) {
    const int before = t.GetUpdateRequestCount();
    burst.change();
    const int requests = t.GetUpdateRequestCount() - before;
    EXPECT_GE(requests, 1) << burst.name;
    EXPECT_LE(requests, 2) << burst.name;
    vxtest::ProcessEventsUntilIdle();
    const int painted = t.GetItems()->Count();
    CheckMirror(t);  // synchronises: nothing left for it when the paint did it
    EXPECT_EQ(t.GetItems()->Count(), painted) << burst.name;
  }
  EXPECT_EQ(t.GetItems()->Count(), 0);
}

TEST_F(Tree, PlaceholdersExpansionAndLevels) {
  TvxDataEntity_Tree* a = Add(t, nullptr, "a");
  TvxDataEntity_Tree* b = Add(t, nullptr, "b");
  Add(t, nullptr, "leaf c");
  t.EnsureDisplayUpToDate();
  // Childless entities show a button through a placeholder, unless they are leaves.
  ASSERT_EQ(a->GetTreeNode()->Count(), 1);
  EXPECT_EQ(a->GetTreeNode()->GetItem(0)->GetText(), kPlaceholder);
  EXPECT_FALSE(static_cast<TvxDataEntity_Tree*>(t.GetRootDataList()->GetItems(2))->GetTreeNode()->HasChildren());

  // Children come when the node is expanded; a node that gets none loses its button.
  int expanding = 0;
  t.OnExpanding = [&](TObject*, TTreeNode* n, bool&) {
    ++expanding;
    TvxDataEntity_Tree* e = TvxTree_ComBasic::GetDataEntityFromNode(n);
    if (e != a || e->GetSubDataList()->Count() > 0) return;
    for (int i = 0; i < 2; ++i) Add(t, e, "a." + std::to_string(i));
    static_cast<TvxDataEntity_Tree*>(e->GetSubDataList()->Add())->SetText("a.2");
  };
  // A list of children is made when first asked for.
  EXPECT_EQ(b->PeekSubDataList(), nullptr);
  a->SetExpanded(true);
  t.EnsureDisplayUpToDate();
  EXPECT_EQ(expanding, 1);
  ASSERT_EQ(a->GetTreeNode()->Count(), 3);
  EXPECT_EQ(a->GetTreeNode()->GetItem(0)->GetText(), "a.0");
  EXPECT_TRUE(a->GetExpanded());
  EXPECT_EQ(t.VisibleRowCount(), 6);
  b->SetExpanded(true);
  t.EnsureDisplayUpToDate();
  EXPECT_FALSE(b->GetTreeNode()->HasChildren());
  int entities = 0;
  ExpectMirrors(nullptr, t.GetRootDataList(), entities);
  EXPECT_EQ(entities, 6);
  // One asked for while its entity goes goes with it.
  t.OnDataEntityDelete = [](TvxTree_ComBasic*, TvxDataEntity_Tree* e) { e->GetSubDataList(); };
  t.RemoveDataEntity(b);
  t.OnDataEntityDelete = nullptr;
  EXPECT_EQ(CheckMirror(t), 5);

  // MaxLevels 2: childless entities at level 1 get no placeholder.
  TvxTree m(nullptr);
  m.SetMaxLevels(2);
  TvxDataEntity_Tree* r = Add(m, nullptr, "r");
  TvxDataEntity_Tree* child = Add(m, r, "child");
  m.EnsureDisplayUpToDate();
  EXPECT_TRUE(r->GetTreeNode()->HasChildren());
  r->SetExpanded(true);
  m.EnsureDisplayUpToDate();
  ASSERT_NE(child->GetTreeNode(), nullptr);
  EXPECT_FALSE(child->GetTreeNode()->HasChildren());

  // AutoExpandLevels 2: roots and their children open (also children filled on
  // expanding), grandchildren stay closed.
  TvxTree x(nullptr);
  x.OnExpanding = [&](TObject*, TTreeNode* n, bool&) {
    TvxDataEntity_Tree* e = TvxTree_ComBasic::GetDataEntityFromNode(n);
    if (e && e->GetSubDataList()->Count() == 0 && e->GetLevel() < 3)
      for (int i = 0; i < 2; ++i) Add(x, e, e->GetText() + "." + std::to_string(i));
  };
  TvxDataEntity_Tree* root = Add(x, nullptr, "x");
  x.SetAutoExpandLevels(2);
  x.EnsureDisplayUpToDate();
  EXPECT_TRUE(root->GetExpanded());
  ASSERT_EQ(root->GetSubDataList()->Count(), 2);
  auto* level1 = static_cast<TvxDataEntity_Tree*>(root->GetSubDataList()->GetItems(0));
  EXPECT_TRUE(level1->GetExpanded());
  ASSERT_EQ(level1->GetSubDataList()->Count(), 2);
  auto* level2 = static_cast<TvxDataEntity_Tree*>(level1->GetSubDataList()->GetItems(0));
  EXPECT_FALSE(level2->GetExpanded());
  ASSERT_NE(level2->GetTreeNode(), nullptr);
  EXPECT_EQ(x.VisibleRowCount(), 1 + 2 + 4);
}

TEST_F(Tree, MultiSelectByClicksAndKeys) {
  t.SetMultiSelect(true);
  for (int i = 0; i < 10; ++i) Add(t, nullptr, "row" + std::to_string(i));
  Click(t, t, 2);
  EXPECT_EQ(SelectedTexts(t), std::vector<std::string>{"row2"});
  Click(t, t, 5, MK_SHIFT);
  EXPECT_EQ(SelectedTexts(t), (std::vector<std::string>{"row2", "row3", "row4", "row5"}));
  Click(t, t, 3, MK_CONTROL);
  EXPECT_EQ(SelectedTexts(t), (std::vector<std::string>{"row2", "row4", "row5"}));
  Click(t, t, 7);
  EXPECT_EQ(SelectedTexts(t), std::vector<std::string>{"row7"});
  EXPECT_EQ(t.GetCurrentDataEntity()->GetText(), "row7");
  t.Perform(WM_KEYDOWN, VK_DOWN);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(SelectedTexts(t), std::vector<std::string>{"row8"});

  // Without MultiSelect, Shift does not extend.
  t.SetMultiSelect(false);
  Click(t, t, 1);
  Click(t, t, 4, MK_SHIFT);
  EXPECT_EQ(SelectedTexts(t), std::vector<std::string>{"row4"});

  // The current entity set from code arrives on the next turn of the loop, and
  // a removed entity never does.
  std::vector<std::string> current;
  t.OnCurrentDataEntityChange = [&](TvxTree_ComBasic*, TvxDataEntity_Tree* e) {
    current.push_back(e ? e->GetText() : "-");
  };
  auto* nine = static_cast<TvxDataEntity_Tree*>(t.GetRootDataList()->GetItems(9));
  t.SetCurrentDataEntity(nine);
  EXPECT_TRUE(current.empty());
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(current, std::vector<std::string>{"row9"});
  EXPECT_EQ(SelectedTexts(t), std::vector<std::string>{"row9"});  // and drawn as selected
  auto* zero = static_cast<TvxDataEntity_Tree*>(t.GetRootDataList()->GetItems(0));
  t.SetCurrentDataEntity(zero);
  t.RemoveDataEntity(zero);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_NE(t.GetCurrentDataEntity(), nullptr);
  EXPECT_EQ(t.GetCurrentDataEntity()->GetText(), "row9");

  // Deleting the selected entity leaves nothing current and nothing dangling.
  std::vector<std::string> deleted;
  t.OnDataEntityDelete = [&](TvxTree_ComBasic*, TvxDataEntity_Tree* e) { deleted.push_back(e->GetText()); };
  t.RemoveDataEntity(nine);
  EXPECT_EQ(deleted, std::vector<std::string>{"row9"});
  EXPECT_EQ(t.GetCurrentDataEntity(), nullptr);
  EXPECT_TRUE(SelectedTexts(t).empty());
  t.Perform(WM_KEYDOWN, VK_DOWN);  // the keys still find their way
  vxtest::ProcessEventsUntilIdle();
  ASSERT_NE(t.GetCurrentDataEntity(), nullptr);
  EXPECT_EQ(SelectedTexts(t).size(), 1u);
  t.OnDataEntityDelete = nullptr;  // the log goes before the tree
  t.OnCurrentDataEntityChange = nullptr;

  // A tree deleted with its current entity still to come: the deferred call
  // must not reach it (the sanitizer watches).
  auto* gone = new TvxTree(nullptr);
  gone->SetCurrentDataEntity(Add(*gone, nullptr, "x"));
  delete gone;
  vxtest::ProcessEventsUntilIdle();
}

TEST_F(Tree, EditingRules) {
  t.show();
  TvxDataEntity_Tree* a = Add(t, nullptr, "alpha");
  TvxDataEntity_Tree* b = Add(t, nullptr, "beta");
  b->SetCanEdit(true);
  std::vector<std::string> pushed;
  t.OnValueChanged = [&](TObject*, TvxDataEntity* e) { pushed.push_back(static_cast<TvxDataEntity_Tree*>(e)->GetText()); };

  // Selecting by a click and asking to edit at once is refused for a second.
  Click(t, t, 1);
  EXPECT_EQ(t.GetCurrentDataEntity(), b);
  EXPECT_FALSE(t.StartEdit(b->GetTreeNode()));
  QThread::msleep(1100);
  // An entity that may not be edited never is.
  EXPECT_FALSE(t.StartEdit(a->GetTreeNode()));
  ASSERT_TRUE(t.StartEdit(b->GetTreeNode()));
  // While typing, the entity follows and tells the application.
  t.SetEditText("bet");
  EXPECT_EQ(b->GetText(), "bet");
  EXPECT_EQ(pushed, std::vector<std::string>{"bet"});
  t.SetEditText("better");
  t.EndEdit(false);
  EXPECT_EQ(b->GetText(), "better");
  EXPECT_EQ(pushed.back(), "better");

  // Texts: 255 characters (not bytes) at most.
  std::string ok;
  for (int i = 0; i < 255; ++i) ok += "\xC3\xA9";  // e acute, two bytes
  EXPECT_NO_THROW(a->SetText(ok));
  EXPECT_THROW(a->SetText(std::string(256, 'x')), Exception);  // the text: below, as the user hears it
  EXPECT_EQ(a->GetText(), ok);

  // Typed past the limit: the application hears of it, the entity keeps its text.
  {
    vxtest::MessageCapture messages;
    ASSERT_TRUE(t.StartEdit(b->GetTreeNode()));
    t.SetEditText(std::string(255, 'y'));
    auto* editor = t.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->end(false);
    QKeyEvent z(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
    QCoreApplication::sendEvent(editor, &z);
    EXPECT_EQ(t.GetEditText().size(), 256u);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0], "Treenodes only allow strings smaller than 255 chars");
    EXPECT_EQ(b->GetText(), std::string(255, 'y'));
    t.EndEdit(true);
  }
}

TEST_F(Tree, DrawsGridLinesAndEntityFonts) {
  t.SetBounds(0, 0, 200, 100);
  TvxDataEntity_Tree* a = Add(t, nullptr, "Plain");
  TvxDataEntity_Tree* b = Add(t, nullptr, "Bold");
  b->SetFontStyle(TFontStyles{fsBold});
  TBitmap shot;
  TCanvas* c = shot.GetCanvas();
  auto silver = [&] {
    return vxtest::MatchingPixels(c, 200, 100, [](TColor p) { return p == clSilver; });
  };
  t.PaintTo(&shot);
  EXPECT_EQ(silver().Left, -1);
  t.SetDrawGridLines(true);
  t.PaintTo(&shot);
  const TRect lines = silver();
  ASSERT_NE(lines.Left, -1);
  const TRect textA = a->GetTreeNode()->DisplayRect(true);
  EXPECT_EQ(lines.Left, textA.Left);
  EXPECT_EQ(lines.Top, textA.Bottom);  // none above the first row
  // The bold row has more ink than it would plain.
  auto inkIn = [&](const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += c->GetPixel(x, y) == clBlack || c->GetPixel(x, y) == clWindowText;
    return n;
  };
  const int bold = inkIn(b->GetTreeNode()->DisplayRect(true));
  b->SetFontStyle(TFontStyles());
  t.PaintTo(&shot);
  EXPECT_GT(bold, inkIn(b->GetTreeNode()->DisplayRect(true)));
}
