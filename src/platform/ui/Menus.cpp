#include <vxplan/platform/ui/Menus.h>

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <algorithm>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/ui/ComCtrls.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

namespace {

// The application's style, except that a menu taller than the screen
// scrolls (as Qt menus do on some platforms) instead of spreading into
// columns past the screen's edge, where its last entries cannot be reached.
class ScrollingMenuStyle : public QProxyStyle {
public:
  ScrollingMenuStyle() : QProxyStyle(QApplication::style()->name()) {}
  int styleHint(StyleHint theHint, const QStyleOption* theOption, const QWidget* theWidget,
                QStyleHintReturn* theReturn) const override {
    if (theHint == QStyle::SH_Menu_Scrollable) return 1;
    return QProxyStyle::styleHint(theHint, theOption, theWidget, theReturn);
  }
};

QStyle* MenuStyle() {
  static QPointer<QStyle> style;
  if (!style && qobject_cast<QApplication*>(QCoreApplication::instance())) {
    style = new ScrollingMenuStyle;
    style->setParent(QCoreApplication::instance());  // goes with the application
  }
  return style;
}

}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  Destroying();
  if (fParent) fParent->Remove(this);
  while (!fItems.empty()) {
    TMenuItem* child = fItems.back();
    fItems.pop_back();
    child->fParent = nullptr;
    delete child;
  }
}

TPopupMenu* TMenuItem::GetPopupMenu() const {
  const TMenuItem* root = this;
  while (root->fParent) root = root->fParent;
  return root->fPopup;
}

QAction* TMenuItem::Action() {
  // An entry with entries of its own stands for a sub-menu.
  if (!fMenu && !fItems.empty()) SubMenu(true);
  if (fMenu) return fMenu->menuAction();
  if (!fAction) {
    fAction = std::make_unique<QAction>();
    QObject::connect(fAction.get(), &QAction::triggered, [this] { GuardedCall([this] { Click(); }); });
  }
  UpdateAction();
  return fAction.get();
}

QAction* TMenuItem::ActionAfter(int theIndex) {
  return theIndex + 1 < Count() ? fItems[static_cast<size_t>(theIndex + 1)]->Action() : nullptr;
}

QMenu* TMenuItem::SubMenu(bool theCreate) {
  if (!fMenu && theCreate) {
    fMenu = std::make_unique<QMenu>();
    if (QStyle* style = MenuStyle()) fMenu->setStyle(style);
    // A sub-menu about to open reports as a click on its entry, so that it
    // can be filled first.
    QObject::connect(fMenu.get(), &QMenu::aboutToShow, [this] {
      if (fParent) GuardedCall([this] { Click(); });
    });
    for (TMenuItem* child : fItems) fMenu->addAction(child->Action());
    UpdateAction();
    if (fParent && fParent->fMenu && fAction) {
      // The entry now stands for a sub-menu: its action changes in place.
      QMenu* parentMenu = fParent->fMenu.get();
      QAction* before = fParent->ActionAfter(fParent->IndexOf(this));
      if (fAction) parentMenu->removeAction(fAction.get());
      parentMenu->insertAction(before, fMenu->menuAction());
    }
  }
  return fMenu.get();
}

void TMenuItem::UpdateAction() {
  QAction* a = fMenu ? fMenu->menuAction() : fAction.get();
  if (!a) return;
  a->setSeparator(IsSeparator());
  a->setText(IsSeparator() ? QString() : ToQString(fCaption));
  a->setEnabled(fEnabled);
  a->setVisible(fVisible);
  QFont font = a->font();
  font.setBold(fDefault);
  a->setFont(font);
  TPopupMenu* popup = GetPopupMenu();
  TBitmap* image = popup && popup->GetImages() ? popup->GetImages()->GetBitmap(fImageIndex) : nullptr;
  a->setIcon(image ? QIcon(QPixmap::fromImage(image->Image())) : QIcon());
}

void TMenuItem::SetCaption(const std::string& theCaption) {
  fCaption = theCaption;
  UpdateAction();
}

void TMenuItem::SetImageIndex(int theIndex) {
  fImageIndex = theIndex;
  UpdateAction();
}

void TMenuItem::SetEnabled(bool theEnabled) {
  fEnabled = theEnabled;
  UpdateAction();
}

void TMenuItem::SetDefault(bool theDefault) {
  fDefault = theDefault;
  UpdateAction();
}

void TMenuItem::SetVisible(bool theVisible) {
  fVisible = theVisible;
  UpdateAction();
}

TMenuItem* TMenuItem::GetItem(int i) const {
  if (i < 0 || i >= Count()) throw EListError(i);
  return fItems[static_cast<size_t>(i)];
}

int TMenuItem::IndexOf(TMenuItem* theItem) const {
  auto it = std::find(fItems.begin(), fItems.end(), theItem);
  return it == fItems.end() ? -1 : static_cast<int>(it - fItems.begin());
}

void TMenuItem::Add(TMenuItem* theItem) { Insert(Count(), theItem); }

void TMenuItem::Insert(int theIndex, TMenuItem* theItem) {
  if (!theItem || theItem == this) return;
  if (theItem->fParent) theItem->fParent->Remove(theItem);
  theIndex = std::clamp(theIndex, 0, Count());
  fItems.insert(fItems.begin() + theIndex, theItem);
  theItem->fParent = this;
  if (fMenu)
    fMenu->insertAction(ActionAfter(theIndex), theItem->Action());  // one entry, not the whole menu
  else if (fPopup || fParent)
    SubMenu(true);
}

void TMenuItem::Remove(TMenuItem* theItem) {
  const int i = IndexOf(theItem);
  if (i < 0) return;
  fItems.erase(fItems.begin() + i);
  theItem->fParent = nullptr;
  if (fMenu) fMenu->removeAction(theItem->Action());
}

void TMenuItem::Delete(int i) {
  TMenuItem* item = GetItem(i);
  delete item;  // its destructor takes it out
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), fItems(std::make_unique<TMenuItem>(nullptr)) {
  fItems->fPopup = this;
  fItems->SubMenu(true);
}

TPopupMenu::~TPopupMenu() {
  Destroying();
  CloseMenu();
}

void TPopupMenu::SetPopupComponent(TComponent* theComponent) {
  // The link to an earlier component stays: it may be one of other links
  // between the two (a control's own menu), and it only ever clears this.
  fPopupComponent = theComponent;
  if (fPopupComponent) fPopupComponent->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == fPopupComponent) fPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(int X, int Y) {
  DoPopup(this);
  fItems->SubMenu(true)->popup(QPoint(X, Y));
}

void TPopupMenu::PopupModal(int X, int Y) {
  DoPopup(this);
  fItems->SubMenu(true)->exec(QPoint(X, Y));
}

void TPopupMenu::CloseMenu() {
  if (QMenu* m = fItems->SubMenu(false)) m->hide();
}

bool TPopupMenu::IsShown() const {
  QMenu* m = fItems->SubMenu(false);
  return m && m->isVisible();
}

}  // namespace vx
