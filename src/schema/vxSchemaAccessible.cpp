// The schedule's accessible content: its bookings, layer by layer.
#include <vxplan/schema/vxSchemaAccessible.h>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/schema/vxSchema.h>

namespace vx {

bool TSchemaAccessible::Live() const { return !fSchema.IsDestroying() && fSchema.GetLayers(); }

TvxDataList* TSchemaAccessible::Layer(int k) const {
  TvxDataList2lev* layers = fSchema.GetLayers();
  return layers && k >= 0 && k < layers->Count() ? layers->GetDataList(k) : nullptr;
}

TvxAccessibleId TSchemaAccessible::IdOf(const TvxDataEntity_SchemaTime* theItem) {
  if (!theItem || !Live()) return vxAccessibleNone;
  for (int k = 0; k < fSchema.GetLayers()->Count(); ++k) {
    TvxDataList* layer = Layer(k);
    for (int p = 0; layer && p < layer->LoadedCount(); ++p)
      if (layer->GetLoaded(p) == theItem) return PairedId(k, p + layer->GetUnloadedPreCount());
  }
  return vxAccessibleNone;
}

TvxDataEntity_SchemaTime* TSchemaAccessible::ItemOf(TvxAccessibleId theId) {
  if (theId == vxAccessibleRoot || theId == vxAccessibleNone || !Live()) return nullptr;
  const TvxAccessibleId layerPart = PairedOuter(theId);
  if (layerPart >= static_cast<TvxAccessibleId>(fSchema.GetLayers()->Count())) return nullptr;
  TvxDataList* layer = Layer(static_cast<int>(layerPart));
  const int index = PairedInner(theId);
  if (!layer || !layer->IsLoaded(index)) return nullptr;
  return dynamic_cast<TvxDataEntity_SchemaTime*>(layer->GetLoaded(index - layer->GetUnloadedPreCount()));
}

bool TSchemaAccessible::Exists(TvxAccessibleId theId) {
  return theId == vxAccessibleRoot ? Live() : ItemOf(theId) != nullptr;
}

int TSchemaAccessible::ChildCount(TvxAccessibleId theId) {
  if (theId != vxAccessibleRoot || !Live()) return 0;
  long long n = 0;
  for (int k = 0; k < fSchema.GetLayers()->Count(); ++k)
    if (TvxDataList* layer = Layer(k)) n += layer->LoadedCount();
  return static_cast<int>(std::min<long long>(n, INT_MAX));
}

TvxAccessibleId TSchemaAccessible::ChildAt(TvxAccessibleId theId, int theIndex) {
  if (theId != vxAccessibleRoot || theIndex < 0 || !Live()) return vxAccessibleNone;
  for (int k = 0; k < fSchema.GetLayers()->Count(); ++k) {
    TvxDataList* layer = Layer(k);
    if (!layer) continue;
    if (theIndex < layer->LoadedCount()) return PairedId(k, theIndex + layer->GetUnloadedPreCount());
    theIndex -= layer->LoadedCount();
  }
  return vxAccessibleNone;
}

TvxAccessibleId TSchemaAccessible::Parent(TvxAccessibleId theId) {
  return theId != vxAccessibleRoot && ItemOf(theId) ? vxAccessibleRoot : vxAccessibleNone;
}

int TSchemaAccessible::IndexInParent(TvxAccessibleId theId) {
  if (!ItemOf(theId)) return -1;
  const int own = static_cast<int>(PairedOuter(theId));
  int before = 0;
  for (int k = 0; k < own; ++k)
    if (TvxDataList* layer = Layer(k)) before += layer->LoadedCount();
  return before + PairedInner(theId) - Layer(own)->GetUnloadedPreCount();
}

TvxAccessibleRole TSchemaAccessible::Role(TvxAccessibleId theId) {
  return theId == vxAccessibleRoot ? arList : arListItem;
}

std::string TSchemaAccessible::Name(TvxAccessibleId theId) {
  TvxDataEntity_SchemaTime* item = ItemOf(theId);
  return item && item->TextCount() > 0 ? item->GetTexts()[0].GetText() : std::string();
}

std::string TSchemaAccessible::Description(TvxAccessibleId theId) {
  TvxDataEntity_SchemaTime* item = ItemOf(theId);
  TvxDateScaler* scaler = fSchema.GetScaler();
  if (!item || !scaler) return {};
  TvxDataEntity_SchemaColumn* column = fSchema.GetColumns()->GetColumn(item->GetCol());
  const std::string format = scaler->GetDateFormat() + " " + scaler->GetTimeFormat();
  const TDateTime start = item->GetStartDateTime(), stop = item->GetStopDateTime();
  return "Column: " + (column ? column->GetText() : std::to_string(item->GetCol() + 1)) +
         ", Start: " + FormatDateTime(format, start) + ", Finish: " + FormatDateTime(format, stop) +
         ", Length: " + FormatDuration(stop - start, scaler->GetTimeFormat());
}

TvxAccessibleState TSchemaAccessible::State(TvxAccessibleId theId) {
  if (theId == vxAccessibleRoot) return Live() ? TvxAccessibleState{asFocusable} : TvxAccessibleState{};
  TvxDataEntity_SchemaTime* item = ItemOf(theId);
  if (!item) return {};
  TvxAccessibleState s{asSelectable, asFocusable};
  if (item->GetSelected()) s.Include(asSelected);
  if (theId == Current()) {
    s.Include(asActive);
    if (fSchema.GetSchemaArea()->Focused()) s.Include(asFocused);
  }
  const TRect r = Bounds(theId);
  if (r.Right <= r.Left || r.Bottom <= r.Top) s.Include(asOffscreen);
  return s;
}

TRect TSchemaAccessible::Bounds(TvxAccessibleId theId) {
  if (theId == vxAccessibleRoot) return Live() ? fSchema.GetSchemaArea()->GetClientRect() : TRect{};
  TvxDataEntity_SchemaTime* item = ItemOf(theId);
  TRect r{};
  if (!item || !fSchema.RectFromDataEntity(fSchema.GetFlipView(), item, r)) return {};
  r = IntersectRect(r, fSchema.GetSchemaArea()->GetClientRect());
  return r.Right > r.Left && r.Bottom > r.Top ? r : TRect{};
}

TvxAccessibleId TSchemaAccessible::NodeAt(int x, int y) {
  return Live() ? IdOf(fSchema.GetDataEntityFromXY(x, y)) : vxAccessibleNone;
}

TvxAccessibleId TSchemaAccessible::Current() {
  return Live() ? IdOf(dynamic_cast<TvxDataEntity_SchemaTime*>(fSchema.GetLayers()->FindSelected()))
                : vxAccessibleNone;
}

}  // namespace vx
