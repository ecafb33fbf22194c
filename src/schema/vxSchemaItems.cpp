// Bookings: the schema time, its text lines, the data operations of the
// control, the list notifications and times relative to a column.
#include <algorithm>
#include <cmath>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/FlagScope.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/schema/vxSchema.h>

namespace vx {

namespace {

// Layers beyond this are refused: a layer index is a drawing position, not
// a count of bookings.
constexpr int kMaxLayer = 65535;

bool SameTime(TDateTime a, TDateTime b) { return a == b || (std::isnan(a) && std::isnan(b)); }

}  // namespace

// --- a booking ------------------------------------------------------------------------

void TvxDataEntity_SchemaTime::AfterCreate(TvxDataList* theDataList) {
  TvxDataEntity::AfterCreate(theDataList);
  itsBackColor = 0xFFFFFF;
  itsFrameColor = 0;
  itsTexts.clear();
}

TvxSchema_ComBasic* TvxDataEntity_SchemaTime::GetSchema() const {
  TvxDataList* list = GetDataList();
  auto* controller = list ? dynamic_cast<TSchemaTimeListController*>(list->GetListController()) : nullptr;
  return controller ? controller->fSchema : nullptr;
}

void TvxDataEntity_SchemaTime::SetStartDateTime(TDateTime theValue) {
  if (SameTime(theValue, itsStartDateTime)) return;
  itsStartDateTime = theValue;
  if (TvxSchema_ComBasic* schema = GetSchema()) schema->fIndexHooks.TimesChanged(this);
  DoInfoPush();
}

void TvxDataEntity_SchemaTime::SetStopDateTime(TDateTime theValue) {
  if (SameTime(theValue, itsStopDateTime)) return;
  itsStopDateTime = theValue;
  if (TvxSchema_ComBasic* schema = GetSchema()) schema->fIndexHooks.TimesChanged(this);
  DoInfoPush();
}

void TvxDataEntity_SchemaTime::SetCol(int theCol) {
  if (theCol == itsCol) return;
  const int old = itsCol;
  itsCol = theCol;
  itsUseSubCol = false;
  if (TvxSchema_ComBasic* schema = GetSchema()) schema->fIndexHooks.ColumnChanged(this, old);
  DoInfoPush();
}

void TvxDataEntity_SchemaTime::SetLeftInset(int theValue) {
  TvxSchema_ComBasic* schema = GetSchema();
  if (schema) schema->fIndexHooks.InsetsChanging(this, false);
  itsLeftInset = theValue;
  if (schema) schema->fIndexHooks.InsetsChanging(this, true);
}

void TvxDataEntity_SchemaTime::SetRightInset(int theValue) {
  TvxSchema_ComBasic* schema = GetSchema();
  if (schema) schema->fIndexHooks.InsetsChanging(this, false);
  itsRightInset = theValue;
  if (schema) schema->fIndexHooks.InsetsChanging(this, true);
}

void TvxDataEntity_SchemaTime::AddText(const std::string& Text, int X, int Y, int Style) {
  TvxSchemaText line;
  line.SetText(Text);
  line.SetPos(Point(X, Y));
  line.SetStyle(Style);
  itsTexts.push_back(std::move(line));
}

void TvxDataEntity_SchemaTime::AlterText(int Index, const std::string& Text, int X, int Y, int Style) {
  if (Index < 0 || Index >= TextCount()) return;
  TvxSchemaText& line = itsTexts[static_cast<size_t>(Index)];
  line.SetText(Text);
  line.SetPos(Point(X, Y));
  line.SetStyle(Style);
}

void TvxDataEntity_SchemaTime::SetText(int Index, const std::string& Text, int X, int Y, int Style) {
  AlterText(Index, Text, X, Y, Style);
}

bool TvxDataEntity_SchemaTime::GetText(int Index, std::string& Text, int& X, int& Y, int& Style) const {
  if (Index < 0 || Index >= TextCount()) return false;
  const TvxSchemaText& line = itsTexts[static_cast<size_t>(Index)];
  Text = line.GetText();
  X = line.GetPos().X;
  Y = line.GetPos().Y;
  Style = line.GetStyle();
  return true;
}

TvxDataEntity_SchemaTime* DataEntity_Schema(TObject* theObject) {
  auto* item = dynamic_cast<TvxDataEntity_SchemaTime*>(theObject);
  if (!item) throw EInvalidCast();
  return item;
}

// --- keeping the index in step --------------------------------------------------------

void TSchemaIndexHooks::TimesChanged(TvxDataEntity_SchemaTime* theItem) {
  fSchema.fIndex.TimesChanged(theItem);
  fSchema.fSubColumns->MarkColumnDirty(theItem->itsCol);
}

void TSchemaIndexHooks::ColumnChanged(TvxDataEntity_SchemaTime* theItem, int theOldCol) {
  fSchema.fIndex.Moved(theItem, theOldCol);
  fSchema.fSubColumns->MarkColumnDirty(theOldCol);
  fSchema.fSubColumns->MarkColumnDirty(theItem->itsCol);
}

void TSchemaIndexHooks::InsetsChanging(TvxDataEntity_SchemaTime* theItem, bool theDone) {
  if (theItem->fIndexPos < 0) return;  // counted only while indexed
  if (theItem->itsLeftInset < 0 || theItem->itsRightInset < 0) fSchema.fNegativeInsetItems += theDone ? 1 : -1;
}

void TSchemaIndexHooks::Indexed(TvxDataEntity_SchemaTime* theItem, bool theIn) {
  if (theIn) {
    if (theItem->fIndexPos >= 0) return;
    fSchema.fIndex.Add(theItem);
    InsetsChanging(theItem, true);
  } else {
    if (theItem->fIndexPos < 0) return;
    InsetsChanging(theItem, false);
    fSchema.fIndex.Remove(theItem);
  }
  fSchema.fSubColumns->MarkColumnDirty(theItem->itsCol);
}

// --- data operations ------------------------------------------------------------------

TvxDataEntity_SchemaColumn* TvxSchema_ComBasic::AddColumn() {
  auto* column = static_cast<TvxDataEntity_SchemaColumn*>(itsDataListColumns->Add());
  UpdateColumnScrollerLater();
  return column;
}

void TvxSchema_ComBasic::RemoveColumn(TvxDataEntity_SchemaColumn* theColumn) {
  if (!theColumn || theColumn->GetDataList() != itsDataListColumns) return;
  itsDataListColumns->Remove(theColumn);
  UpdateColumnScrollerLater();
}

void TvxSchema_ComBasic::ClearColumns() {
  itsDataListColumns->Clear();
  itsHeader->GetSections()->Clear();
  itsFlippedHeader->SetRowCount(0);
  UpdateColumnScrollerLater();
}

TvxDataList* TvxSchema_ComBasic::AddDataList() {
  TvxDataList* list = CreateDataList();
  list->AfterCreate(itsSchemaTimeListController.get(), ClassOfDataEntity_SchemaTime());
  itsvxLayers->Add(list);
  return list;
}

TvxDataEntity_SchemaTime* TvxSchema_ComBasic::AddSchemaTime(int theLayer) {
  if (theLayer < 0 || theLayer > kMaxLayer) return nullptr;
  while (itsvxLayers->Count() <= theLayer) AddDataList();
  TvxDataList* layer = itsvxLayers->GetDataList(theLayer);
  return layer ? dynamic_cast<TvxDataEntity_SchemaTime*>(layer->Add()) : nullptr;
}

void TvxSchema_ComBasic::RemoveSchemaTime(TvxDataEntity_SchemaTime* theSchemaTime) {
  if (!theSchemaTime || !theSchemaTime->GetDataList()) return;
  theSchemaTime->GetDataList()->Remove(theSchemaTime);
}

TvxDataEntity_SchemaTime* TvxSchema_ComBasic::FindSchemaTimeObjectFromUserReference(void* theReference) {
  for (int k = 0; k < itsvxLayers->Count(); ++k) {
    TvxDataList* layer = itsvxLayers->GetDataList(k);
    if (!layer) continue;
    TvxDataEntity* found =
        layer->FindDataEntity([theReference](TvxDataEntity* e) { return e->GetUserReference() == theReference; });
    if (found) return dynamic_cast<TvxDataEntity_SchemaTime*>(found);
  }
  return nullptr;
}

std::string TvxSchema_ComBasic::HeaderFromColumn(int theIndex) {
  TvxDataEntity_SchemaColumn* column = itsDataListColumns->GetColumn(theIndex);
  if (!column) return "???";
  std::string title = column->itsText;
  if (OnHeaderFromColumn) title = OnHeaderFromColumn(theIndex);
  return title;
}

int TvxSchema_ComBasic::GetColumnSpace() { return itsDataListColumns->GetColumnSpace_FW(itsFlipView); }

// --- times relative to a column -------------------------------------------------------

void TvxSchema_ComBasic::GetStartStopDateAndCol(TvxDataEntity* theDataEntity, TDateTime& theStart, TDateTime& theStop,
                                                int& theCol) {
  TvxDataEntity_SchemaTime* item = DataEntity_Schema(theDataEntity);
  theCol = item->itsCol;
  theStart = theStop = 0;
  if (TvxDataEntity_SchemaColumn* column = itsDataListColumns->GetColumn(theCol)) {
    theStart = item->itsStartDateTime - column->itsOffsetDate;
    theStop = item->itsStopDateTime - column->itsOffsetDate;
  }
}

void TvxSchema_ComBasic::SetStartStopDateAndCol(TvxDataEntity* theDataEntity, TDateTime theStart, TDateTime theStop,
                                                int theCol) {
  TvxDataEntity_SchemaTime* item = DataEntity_Schema(theDataEntity);
  // Asking whether it may be edited, and where it goes, calls out: the
  // booking is held and asked for again after each call.
  TvxHeld<TvxDataEntity_SchemaTime> held(item);
  if (!item->GetCanEdit() || !Here(item)) return;
  // The value-changed notifications of the single steps are swallowed: one
  // reports the whole change at the end.
  {
    TFlagScope waiting(itsWaitForAllValues);
    const int last = itsDataListColumns->Count() - 1;
    auto clamp = [last](int c) { return std::min(std::max(c, 0), last); };
    theCol = clamp(theCol);
    bool keepTimes = false;
    if (theCol != item->itsCol) {
      if (OnSwitchCol) {
        OnSwitchCol(this, item, item->itsCol, theCol);
        theCol = std::min(std::max(theCol, 0), itsDataListColumns->Count() - 1);
      }
      keepTimes = Here(item) && theCol != item->itsCol && !itsMoveInTimeWhenColSwitch;
    }
    TDateTime start = 0, stop = 0;
    SnappedTimes(theCol, theStart, theStop, start, stop);
    if (!keepTimes && Here(item)) {
      item->SetStartDateTime(start);
      item->SetStopDateTime(stop);
    }
    if (Here(item)) item->SetCol(theCol);
  }
  // One report of the whole change, also inside another such operation (a
  // column switch handler's), which then goes on swallowing its own steps.
  TFlagScope reporting(itsWaitForAllValues, false);
  if (Here(item)) item->DoInfoPush();
}

// --- notifications of the bookings ----------------------------------------------------

void TvxSchema_ComBasic::_OnContentChanged(TvxDataList* theList) {
  UpdateSubColumns();
  InvalidateArea();
  if (OnContentChanged_SchemaTime) OnContentChanged_SchemaTime(this, theList);
}

void TvxSchema_ComBasic::_OnInsertItem(TvxDataEntity* theEntity) {
  UpdateSubColumns();
  InvalidateArea();
  if (OnInsertItem_SchemaTime) OnInsertItem_SchemaTime(this, theEntity);
}

void TvxSchema_ComBasic::_OnDeleteItem(TvxDataEntity* theEntity) {
  if (theEntity == itsActiveDataEntity) itsActiveDataEntity = nullptr;
  // The bookings after it in its layer move up: their ids change meaning.
  if (itsTA && !IsDestroying()) itsTA->NotifyAccessibleReset();
  UpdateSubColumns();
  InvalidateArea();
  if (OnDeleteItem_SchemaTime) OnDeleteItem_SchemaTime(this, theEntity);
}

// Two events in a row hand out the same booking: the second only while the
// first's handler has left it (and its list) in place.
void TvxSchema_ComBasic::_OnSelectionChanged(TvxDataList* theList, TvxDataEntity* theEntity) {
  InvalidateArea();
  TvxHeld<TvxDataList> list(theList);
  TvxHeld<TvxDataEntity> entity(theEntity);
  if (OnSelectionChanged) OnSelectionChanged(this);
  if (!OnSelectionChanged_SchemaTime || (theList && !list.Get()) || (theEntity && !Here(entity.Get()))) return;
  OnSelectionChanged_SchemaTime(this, theList, theEntity);
}

void TvxSchema_ComBasic::_OnInfoPush(TvxDataEntity* theEntity) {
  if (itsWaitForAllValues) return;
  TvxHeld<TvxDataEntity> held(theEntity);
  if (OnChangeDataEntity_SchemaTime)
    OnChangeDataEntity_SchemaTime(this, dynamic_cast<TvxDataEntity_SchemaTime*>(theEntity));
  if (!Here(held.Get())) return;
  UpdateSubColumns();
  InvalidateArea();
  if (OnValueChanged_SchemaTime) OnValueChanged_SchemaTime(this, theEntity);
}

void TvxSchema_ComBasic::_OnBeforeCanEditItem(TvxDataEntity* theEntity) {
  theEntity->SetCanEdit(true);
  if (OnBeforeCanEditItem_SchemaTime) OnBeforeCanEditItem_SchemaTime(this, theEntity);
}

}  // namespace vx
