#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>
#include <string>
#include <vector>

#include <vxplan/platform/ui/Controls.h>

class QAction;
class QMenu;

namespace vx {

class TCustomImageList;
class TPopupMenu;

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };

// A menu entry; an entry with entries of its own opens a sub-menu. OnClick
// runs when the user chooses a plain entry, and when a sub-menu is about to
// open (so that it can be filled then). Entries own their entries.
class VX_API TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const std::string& GetCaption() const noexcept { return fCaption; }
  void SetCaption(const std::string& theCaption);
  int GetImageIndex() const noexcept { return fImageIndex; }
  void SetImageIndex(int theIndex);
  bool GetEnabled() const noexcept { return fEnabled; }
  void SetEnabled(bool theEnabled);
  bool GetVisible() const noexcept { return fVisible; }
  void SetVisible(bool theVisible);
  // A column break before this entry (kept for the application; a menu
  // taller than the screen scrolls).
  TMenuBreak GetBreak() const noexcept { return fBreak; }
  void SetBreak(TMenuBreak theBreak) noexcept { fBreak = theBreak; }
  bool IsSeparator() const noexcept { return fCaption == "-"; }
  // The entry a double click would choose; shown in bold.
  bool GetDefault() const noexcept { return fDefault; }
  void SetDefault(bool theDefault);

  int Count() const noexcept { return static_cast<int>(fItems.size()); }
  TMenuItem* GetItem(int i) const;
  TMenuItem* GetParent() const noexcept { return fParent; }
  int IndexOf(TMenuItem* theItem) const;
  void Add(TMenuItem* theItem);
  void Insert(int theIndex, TMenuItem* theItem);
  // Takes theItem out without freeing it.
  void Remove(TMenuItem* theItem);
  // Frees the entry at i.
  void Delete(int i);

  // As the user choosing the entry (or opening its sub-menu).
  virtual void Click();
  TNotifyEvent OnClick;

  // Toolkit internals.
  QAction* Action();
  QMenu* SubMenu(bool theCreate);
  TPopupMenu* GetPopupMenu() const;

private:
  void UpdateAction();
  // The action of the entry after theIndex; nil at the end.
  QAction* ActionAfter(int theIndex);

  std::string fCaption;
  int fImageIndex = -1;
  bool fEnabled = true;
  bool fVisible = true;
  bool fDefault = false;
  TMenuBreak fBreak = mbNone;
  TMenuItem* fParent = nullptr;
  TPopupMenu* fPopup = nullptr;  // set on the root item of a popup menu
  std::vector<TMenuItem*> fItems;
  std::unique_ptr<QAction> fAction;
  std::unique_ptr<QMenu> fMenu;
  friend class TPopupMenu;
};

// A context menu. Popup shows it and returns at once (the choice arrives
// through the entries' OnClick); CloseMenu takes it away.
class VX_API TPopupMenu : public TComponent {
public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  TMenuItem* GetItems() noexcept { return fItems.get(); }
  TCustomImageList* GetImages() const noexcept { return fImages; }
  void SetImages(TCustomImageList* theImages) noexcept { fImages = theImages; }
  void Popup(int X, int Y);
  // Shows the menu and returns once it has closed, chosen from (the entry's
  // OnClick has run by then) or dismissed.
  void PopupModal(int X, int Y);
  void CloseMenu();
  bool IsShown() const;
  // The component the menu was opened for, as its opener sets it; handlers
  // read it. Nil once that component goes.
  TComponent* GetPopupComponent() const noexcept { return fPopupComponent; }
  void SetPopupComponent(TComponent* theComponent);

  TNotifyEvent OnPopup;

protected:
  // Before the menu shows; raises OnPopup.
  virtual void DoPopup(TObject* Sender);
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TComponent* fPopupComponent = nullptr;
  std::unique_ptr<TMenuItem> fItems;
  TCustomImageList* fImages = nullptr;
};

}  // namespace vx
