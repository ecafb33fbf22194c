#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/ui/Menus.h>

using namespace vx;

namespace {

TMenuItem* Entry(const std::string& theCaption) {
  auto* e = new TMenuItem(nullptr);
  e->SetCaption(theCaption);
  return e;
}

}  // namespace

TEST(Menus, EntriesOwnTheirEntriesAndReportChoices) {
  TPopupMenu popup(nullptr);
  TMenuItem* root = popup.GetItems();
  TMenuItem *file = Entry("File"), *open = Entry("Open"), *sep = Entry("-"), *quit = Entry("Quit");
  root->Add(file);
  file->Add(open);
  file->Add(quit);
  file->Insert(1, sep);
  EXPECT_EQ(file->Count(), 3);
  EXPECT_EQ(file->IndexOf(quit), 2);
  EXPECT_TRUE(sep->IsSeparator());
  EXPECT_EQ(quit->GetPopupMenu(), &popup);

  // The toolkit menu mirrors the entries: a sub-menu with a separator.
  QMenu* sub = file->SubMenu(false);
  ASSERT_NE(sub, nullptr);
  ASSERT_EQ(sub->actions().size(), 3);
  EXPECT_TRUE(sub->actions()[1]->isSeparator());
  EXPECT_EQ(sub->actions()[2]->text(), QStringLiteral("Quit"));

  // An entry in the middle that gets entries of its own becomes a sub-menu in place.
  open->Add(Entry("report.pdf"));
  ASSERT_EQ(sub->actions().size(), 3);
  ASSERT_NE(open->SubMenu(false), nullptr);
  EXPECT_EQ(sub->actions()[0], open->SubMenu(false)->menuAction());
  EXPECT_EQ(sub->actions()[0]->text(), QStringLiteral("Open"));

  std::vector<std::string> clicks;
  auto log = [&](TObject* s) { clicks.push_back(static_cast<TMenuItem*>(s)->GetCaption()); };
  quit->OnClick = log;
  file->OnClick = log;
  quit->Action()->trigger();  // as the user choosing it
  emit sub->aboutToShow();     // opening the sub-menu reports on its entry
  EXPECT_EQ(clicks, (std::vector<std::string>{"Quit", "File"}));

  quit->SetEnabled(false);
  EXPECT_FALSE(sub->actions()[2]->isEnabled());
  open->SetVisible(false);
  EXPECT_FALSE(sub->actions()[0]->isVisible());

  // Taking out does not free; deleting does (ASan watches both).
  file->Remove(open);
  EXPECT_EQ(open->GetParent(), nullptr);
  EXPECT_EQ(sub->actions().size(), 2);
  delete open;
  file->Delete(0);  // the separator
  EXPECT_EQ(file->Count(), 1);
  EXPECT_EQ(file->GetItem(0), quit);
  EXPECT_THROW(file->GetItem(5), EListError);

  // An entry filled before it joins a menu shown later is a sub-menu too.
  TPopupMenu later(nullptr);
  TMenuItem* colour = Entry("Colour");
  for (const char* c : {"Red", "Blue"}) colour->Add(Entry(c));
  later.GetItems()->Add(Entry("Delete"));
  later.GetItems()->Add(colour);
  QMenu* shown = later.GetItems()->SubMenu(true);
  ASSERT_EQ(shown->actions().size(), 2);
  EXPECT_EQ(shown->actions()[0]->text(), QStringLiteral("Delete"));
  ASSERT_NE(shown->actions()[1]->menu(), nullptr);
  EXPECT_EQ(shown->actions()[1]->text(), QStringLiteral("Colour"));
  EXPECT_EQ(shown->actions()[1]->menu()->actions().size(), 2);
}

TEST(Menus, FreeNotificationTellsEitherSide) {
  struct Watcher : TComponent {
    using TComponent::TComponent;
    std::vector<TComponent*> gone;
    void Notification(TComponent* c, TOperation op) override {
      if (op == opRemove) gone.push_back(c);
    }
  };
  Watcher w(nullptr);
  auto* item = new TMenuItem(nullptr);
  item->FreeNotification(&w);
  item->FreeNotification(&w);  // once is enough
  delete item;
  EXPECT_EQ(w.gone, std::vector<TComponent*>{item});

  // The watcher going first leaves nothing dangling behind in the watched one.
  auto* w2 = new Watcher(nullptr);
  TMenuItem other(nullptr);
  other.FreeNotification(w2);
  delete w2;
  auto* item2 = new TMenuItem(nullptr);
  item2->FreeNotification(&w);
  item2->RemoveFreeNotification(&w);
  delete item2;
  EXPECT_EQ(w.gone.size(), 1u);
}

TEST(Menus, ThePopupComponentIsForgottenWhenItGoes) {
  TPopupMenu menu(nullptr);
  auto* first = new TMenuItem(nullptr);
  TMenuItem second(nullptr);
  menu.SetPopupComponent(first);
  EXPECT_EQ(menu.GetPopupComponent(), first);
  menu.SetPopupComponent(&second);
  delete first;  // no longer the one: nothing changes
  EXPECT_EQ(menu.GetPopupComponent(), &second);
  auto* third = new TMenuItem(nullptr);
  menu.SetPopupComponent(third);
  delete third;
  EXPECT_EQ(menu.GetPopupComponent(), nullptr);
}
