// The Gantt area's accessible content: the items of the rows on screen (the
// loaded ones: reading never loads an item).
#include <vxplan/gantt/vxGantAccessible.h>

#include <vxplan/gantt/vxGant.h>

namespace vx {

bool TGantAccessible::Live() const { return !fChart.IsDestroying() && fChart.GetGA(); }

TvxDataEntity_Kronit* TGantAccessible::ItemAt(const TGantRow* theRow, int theIndex) {
  if (!theRow || theIndex < 0) return nullptr;
  for (int k = 0; k < theRow->GetLayerCount(); ++k) {
    TvxDataList* layer = theRow->GetLayer(k);
    if (!layer) continue;
    if (theIndex < layer->LoadedCount()) return static_cast<TvxDataEntity_Kronit*>(layer->GetLoaded(theIndex));
    theIndex -= layer->LoadedCount();
  }
  return nullptr;
}

int TGantAccessible::LoadedItems(const TGantRow* theRow) {
  int n = 0;
  for (int k = 0; theRow && k < theRow->GetLayerCount(); ++k)
    if (TvxDataList* layer = theRow->GetLayer(k)) n += layer->LoadedCount();
  return n;
}

TvxAccessibleId TGantAccessible::IdOf(const TvxDataEntity_Kronit* theItem) {
  TGantRow* row = theItem && Live() ? theItem->GetRow() : nullptr;
  const int pos = row ? fChart.GetRowList()->IndexOf(row) : -1;
  if (pos < 0) return vxAccessibleNone;
  int index = 0;
  for (int k = 0; k < row->GetLayerCount(); ++k) {
    TvxDataList* layer = row->GetLayer(k);
    if (!layer) continue;
    for (int p = 0; p < layer->LoadedCount(); ++p, ++index)
      if (layer->GetLoaded(p) == theItem) return PairedId(pos, index);
  }
  return vxAccessibleNone;
}

TvxDataEntity_Kronit* TGantAccessible::ItemOf(TvxAccessibleId theId) {
  if (theId == vxAccessibleRoot || theId == vxAccessibleNone || !Live()) return nullptr;
  const TvxAccessibleId rowPart = PairedOuter(theId);
  if (rowPart >= static_cast<TvxAccessibleId>(fChart.GetRowList()->Count())) return nullptr;
  return ItemAt(fChart.GetRowList()->GetGantRow(static_cast<int>(rowPart)), PairedInner(theId));
}

bool TGantAccessible::Exists(TvxAccessibleId theId) {
  return theId == vxAccessibleRoot ? Live() : ItemOf(theId) != nullptr;
}

int TGantAccessible::ChildCount(TvxAccessibleId theId) {
  if (theId != vxAccessibleRoot || !Live()) return 0;
  long long count = 0;
  fChart.ForEachShownRow([&](TGantRow* row) { count += LoadedItems(row); });
  return static_cast<int>(std::min<long long>(count, INT_MAX));
}

TvxAccessibleId TGantAccessible::ChildAt(TvxAccessibleId theId, int theIndex) {
  if (theId != vxAccessibleRoot || theIndex < 0 || !Live()) return vxAccessibleNone;
  TvxAccessibleId found = vxAccessibleNone;
  int rest = theIndex;
  fChart.ForEachShownRow([&](TGantRow* row) {
    if (found != vxAccessibleNone) return;
    const int n = LoadedItems(row);
    if (rest < n) {
      found = PairedId(fChart.GetRowList()->IndexOf(row), rest);
    }
    rest -= n;
  });
  return found;
}

TvxAccessibleId TGantAccessible::Parent(TvxAccessibleId theId) {
  return theId != vxAccessibleRoot && ItemOf(theId) ? vxAccessibleRoot : vxAccessibleNone;
}

int TGantAccessible::IndexInParent(TvxAccessibleId theId) {
  TvxDataEntity_Kronit* item = ItemOf(theId);
  if (!item) return -1;
  const TGantRow* own = item->GetRow();
  int before = 0, found = -1;
  fChart.ForEachShownRow([&](TGantRow* row) {
    if (found >= 0) return;
    if (row == own)
      found = before + PairedInner(theId);
    else
      before += LoadedItems(row);
  });
  return found;
}

TvxAccessibleRole TGantAccessible::Role(TvxAccessibleId theId) {
  return theId == vxAccessibleRoot ? arList : arListItem;
}

std::string TGantAccessible::Name(TvxAccessibleId theId) {
  TvxDataEntity_Kronit* item = ItemOf(theId);
  TvxTimeItemTextCollection* texts = item ? item->TimeItemTextsIfAny() : nullptr;
  return texts && texts->GetCount() > 0 ? texts->GetTimeItemText(0)->GetText() : std::string();
}

std::string TGantAccessible::Description(TvxAccessibleId theId) {
  TvxDataEntity_Kronit* item = ItemOf(theId);
  return item ? fChart.TimesText(item->GetStartDateTime(), item->GetStopDateTime(), ", ") : std::string();
}

TvxAccessibleState TGantAccessible::State(TvxAccessibleId theId) {
  if (theId == vxAccessibleRoot) return Live() ? TvxAccessibleState{asFocusable} : TvxAccessibleState{};
  TvxDataEntity_Kronit* item = ItemOf(theId);
  if (!item) return {};
  TvxAccessibleState s{asSelectable, asFocusable};
  if (item->GetSelected()) s.Include(asSelected);
  if (item == fChart.GetActiveDataEntity()) {
    s.Include(asActive);
    if (fChart.GetGA()->Focused()) s.Include(asFocused);
  }
  if (!item->GetVisible()) s.Include(asInvisible);
  const TRect r = Bounds(theId);
  if (!fChart.IsVisible(item) || r.Right <= r.Left || r.Bottom <= r.Top) s.Include(asOffscreen);
  return s;
}

TRect TGantAccessible::Bounds(TvxAccessibleId theId) {
  if (theId == vxAccessibleRoot) return Live() ? fChart.GetGA()->GetClientRect() : TRect{};
  TvxDataEntity_Kronit* item = ItemOf(theId);
  if (!item || !item->GetRow() || !item->GetRow()->GetVisible()) return TRect{};
  const TRect area = fChart.GetGA()->GetClientRect();
  const TRect r = IntersectRect(fChart.RectFromDataEntity(item), area);
  return r.Right > r.Left && r.Bottom > r.Top ? r : TRect{};
}

TvxAccessibleId TGantAccessible::NodeAt(int x, int y) {
  return Live() ? IdOf(fChart.GetDataEntityFromXY(x, y)) : vxAccessibleNone;
}

TvxAccessibleId TGantAccessible::Current() { return Live() ? IdOf(fChart.GetActiveDataEntity()) : vxAccessibleNone; }

std::vector<TvxAccessibleRelation> TGantAccessible::Relations(TvxAccessibleId theId) {
  std::vector<TvxAccessibleRelation> out;
  TvxDataEntity_Kronit* item = ItemOf(theId);
  TvxDataList* links = item ? fChart.GetLinks() : nullptr;
  for (int p = 0; links && p < links->LoadedCount(); ++p) {
    auto* link = dynamic_cast<TvxDataEntity_Link*>(links->GetLoaded(p));
    if (!link) continue;
    if (link->fLinkOwner == item && link->fLinkedTo) out.push_back({IdOf(link->fLinkedTo), arFlowsTo});
    if (link->fLinkedTo == item && link->fLinkOwner) out.push_back({IdOf(link->fLinkOwner), arFlowsFrom});
  }
  std::erase_if(out, [](const TvxAccessibleRelation& r) { return r.fTarget == vxAccessibleNone; });
  return out;
}

}  // namespace vx
