// Columns: the column entity, the column list with its header sections and
// title-grid rows, column sizes, the top-left column and the column spans.
#include <algorithm>
#include <cmath>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/FlagScope.h>
#include <vxplan/schema/vxSchema.h>

namespace vx {

namespace {

// The schedule's header drag events, raised by the header and the title grid
// after their own. Each handler is copied before the call: it may replace
// itself.
void HeaderStartDrag(TvxSchema_ComBasic* theSchema, TControl* theSender, TObject*& theDragObject) {
  if (!theSchema) return;
  if (const TStartDragEvent e = theSchema->GetOnHeaderStartDrag()) e(theSender, theDragObject);
}

void HeaderEndDrag(TvxSchema_ComBasic* theSchema, TControl* theSender, TObject* theTarget, int X, int Y) {
  if (!theSchema) return;
  if (const TEndDragEvent e = theSchema->GetOnHeaderEndDrag()) e(theSender, theTarget, X, Y);
}

// Set, the schedule's handler decides, starting from yes when the control's
// own event had no say.
void HeaderDragOver(TvxSchema_ComBasic* theSchema, TControl* theSender, TObject* theSource, int X, int Y,
                    TDragState theState, bool& theAccept) {
  if (!theSchema) return;
  const TDragOverEvent e = theSchema->GetOnHeaderDragOver();
  if (!e) return;
  if (!theSender->OnDragOver) theAccept = true;
  e(theSender, theSource, X, Y, theState, theAccept);
}

void HeaderDragDrop(TvxSchema_ComBasic* theSchema, TControl* theSender, TObject* theSource, int X, int Y) {
  if (!theSchema) return;
  if (const TDragDropEvent e = theSchema->GetOnHeaderDragDrop()) e(theSender, theSource, X, Y);
}

}  // namespace

void THeaderControl_MouseControl::DoStartDrag(TObject*& DragObject) {
  THeaderControl::DoStartDrag(DragObject);
  HeaderStartDrag(itsSchema, this, DragObject);
}

void THeaderControl_MouseControl::DoEndDrag(TObject* Target, int X, int Y) {
  THeaderControl::DoEndDrag(Target, X, Y);
  HeaderEndDrag(itsSchema, this, Target, X, Y);
}

void THeaderControl_MouseControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  THeaderControl::DragOver(Source, X, Y, State, Accept);
  HeaderDragOver(itsSchema, this, Source, X, Y, State, Accept);
}

void THeaderControl_MouseControl::DragDrop(TObject* Source, int X, int Y) {
  THeaderControl::DragDrop(Source, X, Y);
  HeaderDragDrop(itsSchema, this, Source, X, Y);
}

void TDrawGrid_Schema::DoStartDrag(TObject*& DragObject) {
  TDrawGrid::DoStartDrag(DragObject);
  HeaderStartDrag(itsSchema, this, DragObject);
}

void TDrawGrid_Schema::DoEndDrag(TObject* Target, int X, int Y) {
  TDrawGrid::DoEndDrag(Target, X, Y);
  HeaderEndDrag(itsSchema, this, Target, X, Y);
}

void TDrawGrid_Schema::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  TDrawGrid::DragOver(Source, X, Y, State, Accept);
  HeaderDragOver(itsSchema, this, Source, X, Y, State, Accept);
}

void TDrawGrid_Schema::DragDrop(TObject* Source, int X, int Y) {
  TDrawGrid::DragDrop(Source, X, Y);
  HeaderDragDrop(itsSchema, this, Source, X, Y);
}

// --- a column -------------------------------------------------------------------------

TvxDataEntity_SchemaColumn::~TvxDataEntity_SchemaColumn() {
  // The column owns what OnInitColumnDataObject made for it.
  if (auto* exposable = dynamic_cast<TvxExposable*>(itsDataObject))
    TvxExposable::FreeCall(exposable);
  else
    delete itsDataObject;
}

TDataListColumns* TvxDataEntity_SchemaColumn::Columns() const { return dynamic_cast<TDataListColumns*>(GetDataList()); }

void TvxDataEntity_SchemaColumn::SetOffsetDate(TDateTime theValue) {
  // An offset that is not a finite time would take every booking off the axis.
  if (theValue == itsOffsetDate || !std::isfinite(theValue)) return;
  itsOffsetDate = theValue;
  DoInfoPush();
}

void TvxDataEntity_SchemaColumn::SetText(const std::string& theText) {
  itsText = theText;
  TDataListColumns* columns = Columns();
  if (!columns || !columns->itsHeaderControl) return;
  if (THeaderSection* s = columns->itsHeaderControl->GetSections()->GetItem(ListIndex())) {
    if (s->GetText() != theText) s->SetText(theText);
  }
  if (columns->itsFlippedHeader) columns->itsFlippedHeader->Invalidate();
}

int TvxDataEntity_SchemaColumn::GetWidth() {
  TDataListColumns* columns = Columns();
  return GetWidth_FW(columns && columns->itsSchema && columns->itsSchema->GetFlipView());
}

void TvxDataEntity_SchemaColumn::SetWidth(int theWidth) {
  TDataListColumns* columns = Columns();
  SetWidth_FW(columns && columns->itsSchema && columns->itsSchema->GetFlipView(), theWidth);
}

int TvxDataEntity_SchemaColumn::GetWidth_FW(bool theFlipped) {
  TDataListColumns* columns = Columns();
  if (!columns) return 0;
  const int i = ListIndex();
  if (theFlipped) return columns->itsFlippedHeader ? columns->itsFlippedHeader->GetRowHeights(i) : 0;
  THeaderSection* s = columns->itsHeaderControl ? columns->itsHeaderControl->GetSections()->GetItem(i) : nullptr;
  return s ? s->GetWidth() : 0;
}

void TvxDataEntity_SchemaColumn::SetWidth_FW(bool theFlipped, int theWidth) {
  theWidth = std::clamp(theWidth, 0, TDataListColumns::kMaxColumnSize);
  if (theFlipped)
    itsVisibleHeight = theWidth;
  else
    itsVisibleWidth = theWidth;
  TDataListColumns* columns = Columns();
  if (!columns) return;
  const int i = ListIndex();
  // A column before the top-left one stays hidden; it shows its size once
  // scrolled to.
  if (i < columns->GetTopLeftCol()) return;
  columns->ShowSize(i);
  if (columns->itsSchema) {
    columns->itsSchema->InvalidateArea();
    columns->itsSchema->UpdateColumnScrollerLater();
  }
}

TvxDataEntity_SchemaColumn* DataEntity_SchemaColumn(TObject* theObject) {
  auto* column = dynamic_cast<TvxDataEntity_SchemaColumn*>(theObject);
  if (!column) throw EInvalidCast();
  return column;
}

// --- the title grid -------------------------------------------------------------------

void TDrawGrid_Schema::RowHeightsChanged() {
  TDrawGrid::RowHeightsChanged();
  if (itsOnCellExtentChange) itsOnCellExtentChange(this);
}

void TDrawGrid_Schema::ColWidthsChanged() {
  TDrawGrid::ColWidthsChanged();
  if (itsOnCellExtentChange) itsOnCellExtentChange(this);
}

void TDrawGrid_Schema::DrawCellContent(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (itsSchema && itsDataListColumns) itsDataListColumns->DrawFlippedCell(this, ACol, ARow, ARect, AState);
  TDrawGrid::DrawCellContent(ACol, ARow, ARect, AState);
}

void TDrawGrid_Schema::TopLeftChanged() {
  if (itsSchema && itsDataListColumns) itsDataListColumns->ChangeTopLeft(this);
  TDrawGrid::TopLeftChanged();
}

// --- the column header ----------------------------------------------------------------

void THeaderControl_MouseControl::Resize() {
  if (itsSchema && !itsSchema->IsDestroying()) itsSchema->HeaderChanged(this);
  THeaderControl::Resize();
}

void THeaderControl_MouseControl::SectionResize(THeaderSection* theSection) {
  if (itsSchema && itsDataListColumns) itsDataListColumns->HeaderControlSectionResize(this, theSection);
  THeaderControl::SectionResize(theSection);
}

// --- the column list: notifications ---------------------------------------------------

TvxDataEntity_SchemaColumn* TDataListColumns::GetColumn(int i) {
  return ValidIndexDataEntity(i) ? static_cast<TvxDataEntity_SchemaColumn*>(GetItems(i)) : nullptr;
}

void TDataListColumns::_OnColumnsContentChanged(TvxDataList* theList) {
  if (!itsSchema || itsSchema->IsDestroying()) return;
  if (itsHeaderControl) {
    THeaderSections* sections = itsHeaderControl->GetSections();
    sections->BeginUpdate();
    for (int i = 0; i < std::min(Count(), sections->Count()); ++i)
      if (TvxDataEntity_SchemaColumn* c = GetColumn(i)) sections->GetItem(i)->SetText(c->itsText);
    sections->EndUpdate();
  }
  if (itsFlippedHeader) itsFlippedHeader->Invalidate();
  itsSchema->Invalidate();
  itsSchema->InvalidateArea();
  if (itsSchema->OnContentChanged_Column) itsSchema->OnContentChanged_Column(itsSchema, theList);
}

void TDataListColumns::_OnColumnsSelectionChanged(TvxDataList* theList, TvxDataEntity* theEntity) {
  if (itsSchema && itsSchema->OnSelectionChanged_Column) itsSchema->OnSelectionChanged_Column(itsSchema, theList, theEntity);
}

void TDataListColumns::_OnColumnsInsertItem(TvxDataEntity* theEntity) {
  auto* column = static_cast<TvxDataEntity_SchemaColumn*>(theEntity);
  TvxSchema_ComBasic* schema = itsSchema;
  if (!schema) return;
  if (schema->OnInitColumnDataObject) column->itsDataObject = schema->OnInitColumnDataObject(schema, column);
  // A new column takes the sizes the columns have now.
  column->itsVisibleWidth = itsVisibleDefaultWidth;
  column->itsVisibleHeight = itsVisibleDefaultHeight;
  const int i = column->ListIndex();
  const bool shown = i >= GetTopLeftCol();
  if (itsFlippedHeader) {
    itsFlippedHeader->InsertRow(i);
    itsFlippedHeader->SetRowCount(Count());
    itsFlippedHeader->SetRowHeights(i, shown ? column->itsVisibleHeight : 0);
  }
  if (itsHeaderControl) {
    if (THeaderSection* s = itsHeaderControl->GetSections()->Insert(i)) s->SetWidth(shown ? column->itsVisibleWidth : 0);
  }
  // Bookings refer to columns by index: those from here on may belong to another column now.
  schema->MarkColumnsFrom(i);
  schema->UpdateColumnScrollerLater();
  if (schema->OnInsertItem_Column) schema->OnInsertItem_Column(schema, column);
}

void TDataListColumns::_OnColumnsDeleteItem(TvxDataEntity* theEntity) {
  TvxSchema_ComBasic* schema = itsSchema;
  if (!schema) return;
  const int i = theEntity->ListIndex();
  // The column's own section and row go, and their sizes with them.
  if (itsHeaderControl) itsHeaderControl->GetSections()->Delete(i);
  if (itsFlippedHeader) {
    itsFlippedHeader->DeleteRow(i);
    itsFlippedHeader->SetRowCount(Count());
  }
  if (itsDownHeaderCell == i) itsDownHeaderCell = -1;
  // Columns shift: the ones before the top-left column stay hidden, the
  // others show their own sizes.
  if (Count() > 0 && i < GetTopLeftCol() && !schema->IsDestroying()) ApplyTopLeft(GetTopLeftCol());
  if (!schema->IsDestroying()) {
    schema->MarkColumnsFrom(i);
    schema->UpdateColumnScrollerLater();
  }
  if (schema->OnDeleteItem_Column) schema->OnDeleteItem_Column(schema, theEntity);
}

void TDataListColumns::_OnColumnsInfoPush(TvxDataEntity* theEntity) {
  TvxSchema_ComBasic* schema = itsSchema;
  if (!schema) return;
  // The offset date may have changed: the column's bookings move on the axis.
  schema->fSubColumns->MarkColumnDirty(theEntity->ListIndex());
  schema->UpdateSubColumns();
  schema->InvalidateArea();
  if (schema->OnValueChanged_Column) schema->OnValueChanged_Column(schema, theEntity);
}

void TDataListColumns::_OnHandlePerformedMove(TvxDataEntity*, int theOldIndex, int theNewIndex) {
  // The moved column keeps its size: its section and row move with it.
  if (itsHeaderControl) {
    THeaderSections* sections = itsHeaderControl->GetSections();
    if (THeaderSection* moved = sections->GetItem(theOldIndex)) {
      const int width = moved->GetWidth();
      sections->BeginUpdate();
      sections->Delete(theOldIndex);
      if (THeaderSection* s = sections->Insert(theNewIndex)) s->SetWidth(width);
      sections->EndUpdate();
    }
  }
  if (itsFlippedHeader && theOldIndex < itsFlippedHeader->GetRowCount()) {
    const int height = itsFlippedHeader->GetRowHeights(theOldIndex);
    itsFlippedHeader->DeleteRow(theOldIndex);
    itsFlippedHeader->InsertRow(theNewIndex);
    itsFlippedHeader->SetRowHeights(theNewIndex, height);
  }
  if (std::min(theOldIndex, theNewIndex) < GetTopLeftCol()) ApplyTopLeft(GetTopLeftCol());
  for (int i = 0; i < Count(); ++i)
    if (TvxDataEntity_SchemaColumn* c = GetColumn(i)) c->SetText(itsSchema ? itsSchema->HeaderFromColumn(i) : c->itsText);
  if (itsFlippedHeader) itsFlippedHeader->Invalidate();
  if (itsSchema) {
    itsSchema->MarkColumnsFrom(std::min(theOldIndex, theNewIndex));
    itsSchema->InvalidateArea();
  }
}

// --- sizes ----------------------------------------------------------------------------

void TDataListColumns::ApplySize(int theInitiatingColumn, int theColumn, int NewSize, bool theFlipped) {
  TvxDataEntity_SchemaColumn* column = GetColumn(theColumn);
  if (!column) return;
  int size = NewSize;
  const int current = theFlipped ? column->itsVisibleHeight : column->itsVisibleWidth;
  if (itsSchema && itsSchema->OnUserDecideColSize)
    itsSchema->OnUserDecideColSize(itsSchema, theInitiatingColumn, theColumn, current, size);
  size = std::clamp(size, 7, kMaxColumnSize);
  if (theFlipped) {
    column->itsVisibleHeight = size;
    if (itsFlippedHeader) itsFlippedHeader->SetRowHeights(theColumn, ShownSize(column, true));
    itsVisibleDefaultHeight = size;
  } else {
    column->itsVisibleWidth = size;
    if (THeaderSection* s = itsHeaderControl ? itsHeaderControl->GetSections()->GetItem(theColumn) : nullptr)
      s->SetWidth(ShownSize(column, false));
    itsVisibleDefaultWidth = size;
  }
}

void TDataListColumns::HeaderCellReSize(int NewSize) {
  THeaderSections* sections = itsHeaderControl ? itsHeaderControl->GetSections() : nullptr;
  if (sections) sections->BeginUpdate();
  struct EndUpdate {
    THeaderSections* s;
    ~EndUpdate() {
      if (s) s->EndUpdate();
    }
  } end{sections};
  if (itsSettingTopLeft || !itsSchema) return;
  if (itsResizeCell > Count() - 1) itsResizeCell = Count() - 1;
  if (itsResizeCell < 0 || Count() == 0) return;
  const bool flipped = itsSchema->GetFlipView();
  const int initiating = itsResizeCell;
  TFlagScope scope(itsSettingTopLeft);
  for (int i = 0; i < Count(); ++i) {
    if (!itsSchema->GetResizeAllCol() && i != initiating) continue;
    if (TvxDataEntity_SchemaColumn* c = GetColumn(i)) c->SetText(itsSchema->HeaderFromColumn(i));
    ApplySize(initiating, i, NewSize, flipped);
  }
  // Sizes given to hidden columns go again with the top-left column.
  if (itsSchema->GetResizeAllCol()) itsSchema->ScrollAccordingToUpDown(GetTopLeftCol());
  itsSchema->InvalidateArea();
}

void TDataListColumns::HeaderControlSectionResize(THeaderControl*, THeaderSection* Section) {
  if (!Section || !itsSchema) return;
  itsInResizeArea = true;
  itsResizeCell = Section->GetIndex();
  HeaderCellReSize(Section->GetWidth());
  itsSchema->UpdateColumnScrollerLater();
}

void TDataListColumns::FlippedHeaderResize(TObject*) {
  // Only the user's dragging of a row's line resizes columns; sizes the
  // program gives one row stay with that row.
  if (!itsFlippedHeader || !itsSchema || itsSettingTopLeft || itsFlippedHeader->GetSizingRow() < 0) return;
  itsResizeCell = itsFlippedHeader->GetSizingRow();
  const int row = itsResizeCell < itsFlippedHeader->GetRowCount() ? itsResizeCell : itsFlippedHeader->GetTopRow();
  HeaderCellReSize(itsFlippedHeader->GetRowHeights(row));
  itsSchema->UpdateColumnScrollerLater();
}

int TDataListColumns::ShownSize(TvxDataEntity_SchemaColumn* theColumn, bool theFlipped) const {
  const int own = theFlipped ? theColumn->itsVisibleHeight : theColumn->itsVisibleWidth;
  const int each = itsSchema ? itsSchema->GetSubColumnSize() : 0;
  if (each <= 0 || theColumn->itsSubColCount <= 1) return own;
  return static_cast<int>(std::clamp(static_cast<long long>(each) * theColumn->itsSubColCount,
                                     static_cast<long long>(own), static_cast<long long>(kMaxColumnSize)));
}

void TDataListColumns::ShowSize(int theCol) {
  TvxDataEntity_SchemaColumn* c = GetColumn(theCol);
  if (!c || theCol < GetTopLeftCol()) return;
  if (itsFlippedHeader) itsFlippedHeader->SetRowHeights(theCol, ShownSize(c, true));
  if (THeaderSection* s = itsHeaderControl ? itsHeaderControl->GetSections()->GetItem(theCol) : nullptr)
    s->SetWidth(ShownSize(c, false));
}

// --- the top-left column ----------------------------------------------------------------

int TDataListColumns::GetTopLeftCol() const { return itsFlippedHeader ? itsFlippedHeader->GetTopRow() : 0; }

void TDataListColumns::ApplyTopLeft(int N) {
  TFlagScope scope(itsSettingTopLeft);
  THeaderSections* sections = itsHeaderControl ? itsHeaderControl->GetSections() : nullptr;
  if (sections) sections->BeginUpdate();
  for (int i = 0; i < Count(); ++i) {
    TvxDataEntity_SchemaColumn* c = GetColumn(i);
    const bool shown = i >= N;
    if (itsFlippedHeader) itsFlippedHeader->SetRowHeights(i, shown && c ? ShownSize(c, true) : 0);
    if (THeaderSection* s = sections ? sections->GetItem(i) : nullptr) s->SetWidth(shown && c ? ShownSize(c, false) : 0);
  }
  if (sections) sections->EndUpdate();
  if (itsFlippedHeader) itsFlippedHeader->SetTopRow(N);
  if (TScrollBar* scroller = itsSchema ? itsSchema->GetColumnScrollBar() : nullptr) {
    scroller->SetMax(std::max(scroller->GetMax(), Count() - 1));
    scroller->SetPosition(N);
    itsSchema->UpdateColumnScrollerLater();
  }
  itsResizeCell = N;
}

void TDataListColumns::SetTopLeftCol(int N) {
  if (Count() == 0 || !itsSchema) return;
  N = std::clamp(N, 0, Count() - 1);
  ApplyTopLeft(N);
  if (itsSchema->OnTopLeftColumnChange) itsSchema->OnTopLeftColumnChange(itsSchema);
  itsSchema->InvalidateArea();
}

void TDataListColumns::ChangeTopLeft(TObject*) {
  if (!itsSettingTopLeft && itsFlippedHeader) SetTopLeftCol(itsFlippedHeader->GetTopRow());
}

// --- spans ------------------------------------------------------------------------------

const std::vector<int>& TDataListColumns::FarEdges(bool theFlipped) {
  TEdgeCache& cache = theFlipped ? fHeightEdges : fWidthEdges;
  const unsigned stamp = theFlipped ? (itsFlippedHeader ? itsFlippedHeader->GetSizeStamp() : 0)
                                    : (itsHeaderControl ? itsHeaderControl->GetSizeStamp() : 0);
  if (cache.count == Count() && cache.stamp == stamp) return cache.far;
  // Rebuilt once after any number of size changes; read in constant time.
  cache.far.resize(static_cast<size_t>(Count()));
  // Summed wide and held within reach, however many columns there are.
  long long edge = 0;
  for (int i = 0; i < Count(); ++i) {
    if (theFlipped) {
      edge += (itsFlippedHeader ? itsFlippedHeader->GetRowHeights(i) : 0) + 1;
    } else {
      const THeaderSection* s = itsHeaderControl ? itsHeaderControl->GetSections()->GetItem(i) : nullptr;
      edge += s ? s->GetWidth() : 0;
    }
    edge = std::min<long long>(edge, TvxSchema_ComBasic::kFarPixel);
    cache.far[static_cast<size_t>(i)] = static_cast<int>(edge);
  }
  cache.count = Count();
  cache.stamp = stamp;
  return cache.far;
}

int TDataListColumns::GetFarSideOffset_FW(bool theFlipped, int theCol) {
  const int top = GetTopLeftCol();
  if (theCol < top || theCol >= Count()) return 0;
  const std::vector<int>& far = FarEdges(theFlipped);
  const int before = top > 0 ? far[static_cast<size_t>(top - 1)] : 0;
  return far[static_cast<size_t>(theCol)] - before;
}

int TDataListColumns::GetFarSideOffset(int theCol) {
  return GetFarSideOffset_FW(itsSchema && itsSchema->GetFlipView(), theCol);
}

int TDataListColumns::PixelToColumn_FW(bool theFlipped, int thePixel) {
  if (thePixel < 0) return 0;
  const std::vector<int>& far = FarEdges(theFlipped);
  // Rows count from the top row; columns from the first (those before the
  // top-left one have no width).
  const int from = theFlipped ? std::min(GetTopLeftCol(), Count()) : 0;
  const int before = from > 0 ? far[static_cast<size_t>(from - 1)] : 0;
  auto it = std::upper_bound(far.begin() + from, far.end(), before + thePixel);
  return it == far.end() ? Count() - 1 : static_cast<int>(it - far.begin());
}

int TDataListColumns::LiveSize(bool theFlipped, int theCol) {
  if (theFlipped) return itsFlippedHeader ? itsFlippedHeader->GetRowHeights(theCol) : 0;
  const THeaderSection* s = itsHeaderControl ? itsHeaderControl->GetSections()->GetItem(theCol) : nullptr;
  return s ? s->GetWidth() : 0;
}

int TDataListColumns::GetColumnSpace_FW(bool theFlipped) {
  const std::vector<int>& far = FarEdges(theFlipped);
  if (far.empty()) return 0;
  return far.back() - (theFlipped ? Count() : 0);
}

bool TDataListColumns::WillFit(const std::string& theText, int theCol) {
  if (itsSchema && itsSchema->GetFlipView()) {
    if (!itsFlippedHeader) return false;
    TCanvas* c = itsFlippedHeader->GetCanvas();
    c->SetFont(*itsFlippedHeader->GetFont());
    return c->TextWidth(theText) < itsFlippedHeader->GetColWidths(0) - 4;
  }
  THeaderSection* s = itsHeaderControl ? itsHeaderControl->GetSections()->GetItem(theCol) : nullptr;
  return s && itsHeaderControl->TextWidth(theText) < s->GetWidth() - 4;
}

void TDataListColumns::DrawFlippedCell(TObject*, int ACol, int ARow, const TRect& Rect, TGridDrawState) {
  if (ACol != 0 || ARow >= Count() || !itsFlippedHeader) return;
  TvxDataEntity_SchemaColumn* column = GetColumn(ARow);
  if (!column) return;
  TCanvas* c = itsFlippedHeader->GetCanvas();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(itsFlippedHeader->GetFixedColor());
  int y = Rect.Top + 2;
  const std::string& text = column->itsText;
  for (size_t from = 0;;) {
    const size_t end = text.find('\n', from);
    std::string line = text.substr(from, end == std::string::npos ? std::string::npos : end - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // Each line fills only its own band, so that it does not wipe the ones above.
    const int h = c->TextHeight(line);
    const TRect band = IntersectRect(Rect, vx::Rect(Rect.Left, y, Rect.Right, y + h + 2));
    std::string cut;
    if (!band.IsEmpty()) c->TextRect(band, Rect.Left + 2, y, ShowableText(line, band.Width(), cut));
    y += h + 2;
    if (end == std::string::npos || y >= Rect.Bottom) break;
    from = end + 1;
  }
}

}  // namespace vx
