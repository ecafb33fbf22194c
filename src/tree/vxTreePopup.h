#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>

#include <vxplan/core/vxHolding.h>
#include <vxplan/platform/ui/Menus.h>
#include <vxplan/tree/vxTree.h>

namespace vx {

class TvxTreePopup;

using TOnUserPickDataEntity = std::function<void(TvxTreePopup* theSender, TvxDataEntity_Tree* theDataEntity)>;
using TOnCheckUserPickEnable = std::function<bool(TvxTreePopup* theSender, TvxDataEntity_Tree* theDataEntity)>;

// A menu entry standing for a tree entity; only these are replaced when the
// menu is built again. The entry holds its entity, so that an entity removed
// while the menu is open is not freed under it (and is no longer picked).
//
// The popup hears its entries through their Action, not through OnClick,
// which stays the application's: a click runs the action, then OnClick.
class VX_API TvxMenuItem : public TMenuItem, public TvxWatchable {
public:
  using TMenuItem::TMenuItem;
  ~TvxMenuItem() override;
  void SetDataEntity(TvxDataEntity_Tree* theEntity);
  void SetAction(TNotifyEvent theAction) { fAction = std::move(theAction); }
  void Click() override;
  TvxDataEntity_Tree* fvxDataEntity_Tree = nullptr;

private:
  TNotifyEvent fAction;
};

// A popup menu that offers a tree's entities as cascading menus, built level
// by level as the user opens them. A pick handler may delete any entity (the
// entries hold theirs); the popup itself only through deleteLater().
class VX_API TvxTreePopup : public TPopupMenu {
public:
  explicit TvxTreePopup(TComponent* AOwner);
  ~TvxTreePopup() override;

  TvxTree_ComBasic* GetTree() const noexcept { return fTree; }
  void SetTree(TvxTree_ComBasic* theTree);
  // The entry under which the entities appear; nil for the popup's own entries.
  TMenuItem* GetMenuToAddTo() const noexcept { return fMenuToAddTo; }
  void SetMenuToAddTo(TMenuItem* theItem);

  void InitRootLevel();
  void CleanUp(TMenuItem* MenuItem);
  void DoTreeToMenu(TvxDataEntity_Tree* Entity, TMenuItem* ParentItem);

  TOnUserPickDataEntity OnUserPickDataEntity;
  TOnCheckUserPickEnable OnCheckUserPickEnable;

protected:
  void DoPopup(TObject* Sender) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void OnInitSubMenu(TObject* Sender);
  void OnPerformDataEntityAction(TObject* Sender);
  // A new last entry of ParentItem for Entity: one that picks it, or one
  // whose sub-menu is built when it opens.
  TvxMenuItem* AddEntityItem(TvxDataEntity_Tree* Entity, TMenuItem* ParentItem, bool thePicks);

  TvxTree_ComBasic* fTree = nullptr;
  TMenuItem* fMenuToAddTo = nullptr;
};

}  // namespace vx
