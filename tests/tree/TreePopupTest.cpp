#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>

#include "UiTestSupport.h"
#include <vxplan/tree/vxTreePopup.h>

using namespace vx;

namespace {

TvxDataEntity_Tree* Add(TvxTree& t, TvxDataEntity_Tree* parent, const std::string& text) {
  TvxDataEntity_Tree* e = t.AddDataEntity(parent);
  e->SetText(text);
  return e;
}

// A tree whose entities named "leaf..." can have no children; the others get
// three children when first expanded.
class LazyTree : public TvxTree {
public:
  explicit LazyTree(TComponent* AOwner) : TvxTree(AOwner) {
    OnExpanding = [this](TObject*, TTreeNode* n, bool&) {
      TvxDataEntity_Tree* e = GetDataEntityFromNode(n);
      if (!e || e->GetSubDataList()->Count() > 0) return;
      ++fills;
      for (int i = 0; i < 3; ++i) Add(*this, e, (i == 2 ? "leaf " : "") + e->GetText() + "." + std::to_string(i));
    };
  }
  bool NeedsDummyNode(TvxDataEntity_Tree* e) override { return e->GetText().rfind("leaf", 0) != 0; }
  int fills = 0;
};

std::vector<std::string> Captions(TMenuItem* m) {
  std::vector<std::string> out;
  for (int i = 0; i < m->Count(); ++i) out.push_back(m->GetItem(i)->GetCaption());
  return out;
}

// Indexes of the entries that start a new column.
std::vector<int> Breaks(TMenuItem* m) {
  std::vector<int> out;
  for (int i = 0; i < m->Count(); ++i)
    if (m->GetItem(i)->GetBreak() == mbBarBreak) out.push_back(i);
  return out;
}

// A popup over a lazy tree with the roots "a" and "leaf b", logging picks.
struct TwoRoots {
  LazyTree t{nullptr};
  TvxTreePopup popup{nullptr};
  std::vector<std::string> picked;
  TwoRoots() {
    Add(t, nullptr, "a");
    Add(t, nullptr, "leaf b");
    popup.SetTree(&t);
    popup.OnUserPickDataEntity = [this](TvxTreePopup* s, TvxDataEntity_Tree* e) {
      EXPECT_EQ(s, &popup);
      picked.push_back(e->GetText());
    };
  }
};

}  // namespace

TEST(TreePopup, BuildsLevelsLazilyAndReportsThePick) {
  TwoRoots scene;
  LazyTree& t = scene.t;
  TvxTreePopup& popup = scene.popup;
  std::vector<std::string>& picked = scene.picked;
  popup.OnCheckUserPickEnable = [](TvxTreePopup*, TvxDataEntity_Tree* e) { return e->GetText() != "a"; };

  popup.InitRootLevel();
  TMenuItem* root = popup.GetItems();
  ASSERT_EQ(Captions(root), (std::vector<std::string>{"a", "leaf b"}));
  TMenuItem* a = root->GetItem(0);
  TMenuItem* b = root->GetItem(1);
  // A leaf is picked directly; an entity that may have children opens a
  // sub-menu holding, for now, only its own pick entry.
  EXPECT_EQ(b->Count(), 0);
  EXPECT_TRUE(b->GetEnabled());
  ASSERT_EQ(a->Count(), 1);
  EXPECT_EQ(a->GetItem(0)->GetCaption(), "a");
  EXPECT_FALSE(a->GetItem(0)->GetEnabled());  // not pickable, but it still opens
  EXPECT_EQ(t.fills, 0);

  a->Click();  // opening the sub-menu
  EXPECT_EQ(t.fills, 1);
  EXPECT_EQ(Captions(a), (std::vector<std::string>{"a", "-", "a.0", "a.1", "leaf a.2"}));
  a->Click();  // a second opening builds nothing more
  EXPECT_EQ(a->Count(), 5);

  TMenuItem* a0 = a->GetItem(2);
  a0->Click();
  EXPECT_EQ(Captions(a0), (std::vector<std::string>{"a.0", "-", "a.0.0", "a.0.1", "leaf a.0.2"}));
  a0->GetItem(3)->Click();  // a.0.1's sub-menu entry: opens it
  a0->GetItem(3)->GetItem(0)->Click();  // and picks it
  // An entry's OnClick is the application's: set, it runs after the pick.
  int ownClicks = 0;
  b->OnClick = [&](TObject*) { ownClicks += picked.size() == 3 ? 1 : 0; };
  a->GetItem(4)->Click();
  b->Click();
  EXPECT_EQ(ownClicks, 1);
  a->GetItem(0)->Click();  // disabled entries are not chosen by the user, but Click
                           // from code still reports
  EXPECT_EQ(picked, (std::vector<std::string>{"a.0.1", "leaf a.2", "leaf b", "a"}));

  // An entity removed while the menu is open is not offered any more.
  picked.clear();
  TMenuItem* stale = a->GetItem(3)->GetItem(0);  // a.1's pick entry
  TvxDataEntity_Tree* a1 = static_cast<TvxMenuItem*>(stale)->fvxDataEntity_Tree;
  t.RemoveDataEntity(a1);
  stale->Click();
  EXPECT_TRUE(picked.empty());

  // The next popup starts again from the roots.
  popup.InitRootLevel();
  EXPECT_EQ(root->Count(), 2);
  EXPECT_EQ(root->GetItem(0)->Count(), 1);
}

TEST(TreePopup, ColumnsOfThirtyAndTheApplicationsOwnEntries) {
  TvxTree t(nullptr);
  for (int i = 0; i < 65; ++i) Add(t, nullptr, "e" + std::to_string(i));
  TvxTreePopup popup(nullptr);
  popup.SetTree(&t);

  // The entities go under an entry the application names, next to its own.
  auto* mine = new TMenuItem(nullptr);
  mine->SetCaption("Pick");
  popup.GetItems()->Add(mine);
  auto* own = new TMenuItem(nullptr);
  own->SetCaption("My entry");
  mine->Add(own);
  popup.SetMenuToAddTo(mine);
  popup.InitRootLevel();
  ASSERT_EQ(mine->Count(), 66);
  // 30 entries a column, the application's entry counted.
  EXPECT_EQ(Breaks(mine), (std::vector<int>{30, 60}));
  popup.InitRootLevel();  // again: only the entity entries are replaced
  EXPECT_EQ(mine->Count(), 66);
  EXPECT_EQ(mine->GetItem(0), own);
  EXPECT_EQ(popup.GetItems()->Count(), 1);

  // The target going (or the tree) leaves the popup working without it.
  delete mine;
  EXPECT_EQ(popup.GetMenuToAddTo(), nullptr);
  popup.InitRootLevel();
  EXPECT_EQ(popup.GetItems()->Count(), 65);
  EXPECT_EQ(Breaks(popup.GetItems()), (std::vector<int>{30, 60}));  // 30, 30 and 5
}

TEST(TreePopup, OutlivesItsTree) {
  TvxTreePopup popup(nullptr);
  {
    TvxTree t(nullptr);
    Add(t, nullptr, "x");
    popup.SetTree(&t);
    popup.InitRootLevel();
    EXPECT_EQ(popup.GetItems()->Count(), 1);
  }
  EXPECT_EQ(popup.GetTree(), nullptr);
  popup.InitRootLevel();  // the old entries go; their entities with them
  EXPECT_EQ(popup.GetItems()->Count(), 0);
}

TEST(TreePopup, WorksUnderTheEventLoop) {
  TwoRoots scene;
  TvxTreePopup& popup = scene.popup;
  std::vector<std::string>& picked = scene.picked;

  popup.Popup(100, 100);
  vxtest::ProcessEventsUntilIdle();
  ASSERT_TRUE(popup.IsShown());
  QMenu* menu = popup.GetItems()->SubMenu(false);
  ASSERT_EQ(menu->actions().size(), 2);

  // Opening "a" with the keyboard fills its sub-menu before it shows.
  menu->setActiveAction(menu->actions()[0]);
  QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QCoreApplication::sendEvent(menu, &right);
  vxtest::ProcessEventsUntilIdle();
  QMenu* sub = menu->actions()[0]->menu();
  ASSERT_NE(sub, nullptr);
  EXPECT_TRUE(sub->isVisible());
  ASSERT_EQ(sub->actions().size(), 5);  // "a", separator, three children
  EXPECT_TRUE(sub->actions()[1]->isSeparator());
  EXPECT_EQ(sub->actions()[4]->text(), QStringLiteral("leaf a.2"));

  // Choosing an entry picks its entity and closes the menu.
  sub->setActiveAction(sub->actions()[4]);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(sub, &enter);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(picked, std::vector<std::string>{"leaf a.2"});
  EXPECT_FALSE(popup.IsShown());

  // Dismissed from code: nothing picked, and the next popup starts afresh.
  popup.Popup(100, 100);
  vxtest::ProcessEventsUntilIdle();
  ASSERT_TRUE(popup.IsShown());
  popup.CloseMenu();
  vxtest::ProcessEventsUntilIdle();
  EXPECT_FALSE(popup.IsShown());
  EXPECT_EQ(picked.size(), 1u);
  EXPECT_EQ(popup.GetItems()->GetItem(0)->Count(), 1);
}
