#include <vxplan/tree/vxTreePopup.h>

namespace vx {

namespace {

// Entries per menu column before a new column starts.
constexpr int kItemsPerColumn = 30;

}  // namespace

TvxMenuItem::~TvxMenuItem() {
  Destroying();
  SetDataEntity(nullptr);
}

void TvxMenuItem::Click() {
  TvxWatch<TvxMenuItem> alive(this);
  if (fAction) {
    const TNotifyEvent action = fAction;  // the action may clear itself
    action(this);
  }
  // The pick may have rebuilt the menu: OnClick only on an entry still there.
  if (alive) TMenuItem::Click();
}

void TvxMenuItem::SetDataEntity(TvxDataEntity_Tree* theEntity) {
  if (theEntity == fvxDataEntity_Tree) return;
  if (theEntity) theEntity->AddRef();
  TvxDataEntity_Tree* old = fvxDataEntity_Tree;
  fvxDataEntity_Tree = theEntity;
  if (old) old->Release();
}

TvxTreePopup::TvxTreePopup(TComponent* AOwner) : TPopupMenu(AOwner) {}

TvxTreePopup::~TvxTreePopup() {
  Destroying();
  SetTree(nullptr);
  SetMenuToAddTo(nullptr);
}

void TvxTreePopup::SetTree(TvxTree_ComBasic* theTree) {
  if (fTree == theTree) return;
  if (fTree) fTree->RemoveFreeNotification(this);
  fTree = theTree;
  if (fTree) fTree->FreeNotification(this);
}

void TvxTreePopup::SetMenuToAddTo(TMenuItem* theItem) {
  if (fMenuToAddTo == theItem) return;
  if (fMenuToAddTo) fMenuToAddTo->RemoveFreeNotification(this);
  fMenuToAddTo = theItem;
  if (fMenuToAddTo) fMenuToAddTo->FreeNotification(this);
}

void TvxTreePopup::Notification(TComponent* AComponent, TOperation Operation) {
  TPopupMenu::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == fTree) fTree = nullptr;
  if (AComponent == fMenuToAddTo) fMenuToAddTo = nullptr;
}

void TvxTreePopup::DoPopup(TObject* Sender) {
  InitRootLevel();
  TPopupMenu::DoPopup(Sender);
}

void TvxTreePopup::CleanUp(TMenuItem* MenuItem) {
  if (!MenuItem) return;
  for (int i = MenuItem->Count() - 1; i >= 0; --i)
    if (dynamic_cast<TvxMenuItem*>(MenuItem->GetItem(i))) MenuItem->Delete(i);
}

void TvxTreePopup::InitRootLevel() {
  CleanUp(fMenuToAddTo);
  CleanUp(GetItems());
  TMenuItem* target = fMenuToAddTo ? fMenuToAddTo : GetItems();
  if (!fTree) return;
  fTree->GetCurrentDataEntity();  // brings the display up to date
  SetImages(fTree->GetImages());
  TvxDataList_Tree* roots = fTree->GetRootDataList();
  for (int i = 0; i < roots->Count(); ++i)
    DoTreeToMenu(static_cast<TvxDataEntity_Tree*>(roots->GetItems(i)), target);
}

TvxMenuItem* TvxTreePopup::AddEntityItem(TvxDataEntity_Tree* Entity, TMenuItem* ParentItem, bool thePicks) {
  auto* item = new TvxMenuItem(nullptr);
  item->SetCaption(Entity->GetText());
  item->SetImageIndex(Entity->GetImageIndex());
  if (thePicks) {
    item->SetDataEntity(Entity);
    item->SetAction([this](TObject* Sender) { OnPerformDataEntityAction(Sender); });
    if (OnCheckUserPickEnable) item->SetEnabled(OnCheckUserPickEnable(this, Entity));
  } else {
    item->SetAction([this](TObject* Sender) { OnInitSubMenu(Sender); });
  }
  ParentItem->Add(item);
  return item;
}

void TvxTreePopup::DoTreeToMenu(TvxDataEntity_Tree* Entity, TMenuItem* ParentItem) {
  if (!Entity || !ParentItem || !fTree) return;
  // An entity that can have children opens a sub-menu that starts with its own pick entry.
  const bool leaf = !fTree->NeedsDummyNode(Entity);
  TvxMenuItem* item = AddEntityItem(Entity, ParentItem, leaf);
  if (!leaf) AddEntityItem(Entity, item, true);
  // Every 30 entries a new column starts: the 31st, 61st ... entry opens one.
  const int index = ParentItem->Count() - 1;
  if (index > 0 && index % kItemsPerColumn == 0) item->SetBreak(mbBarBreak);
}

void TvxTreePopup::OnInitSubMenu(TObject* Sender) {
  auto* item = dynamic_cast<TvxMenuItem*>(Sender);
  if (!item) return;
  item->SetAction(nullptr);  // builds once
  if (item->Count() != 1 || !fTree) return;
  auto* pick = dynamic_cast<TvxMenuItem*>(item->GetItem(0));
  TvxDataEntity_Tree* entity = pick ? pick->fvxDataEntity_Tree : nullptr;
  if (!entity || entity->IsFreePending()) return;
  entity->SetExpanded(true);  // lets the application fill the children now
  fTree->GetCurrentDataEntity();
  TvxDataList_Tree* children = entity->PeekSubDataList();
  if (!children || children->Count() == 0) return;
  auto* separator = new TMenuItem(nullptr);
  separator->SetCaption("-");
  item->Add(separator);
  for (int i = 0; i < children->Count(); ++i)
    DoTreeToMenu(static_cast<TvxDataEntity_Tree*>(children->GetItems(i)), item);
}

void TvxTreePopup::OnPerformDataEntityAction(TObject* Sender) {
  auto* item = dynamic_cast<TvxMenuItem*>(Sender);
  if (!item || !item->fvxDataEntity_Tree || item->fvxDataEntity_Tree->IsFreePending()) return;
  if (OnUserPickDataEntity) OnUserPickDataEntity(this, item->fvxDataEntity_Tree);
}

}  // namespace vx
