// The Qt widgets' signals: each listens to its component's notification
// events behind the application's handlers and raises the matching signal.
#include <vxplan/designer/QvxWidgets.h>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/paint/vxSplitter.h>
#include <vxplan/platform/ui/QtConvert.h>
#include <vxplan/scaler/vxScaler.h>
#include <vxplan/schema/vxSchema.h>
#include <vxplan/tree/vxTree.h>

namespace vx {

namespace {

// The time window as last told: the signals of whatever moved, once a change.
template <class W>
void EmitTimeWindow(W& theWidget, QDateTime& theStart, QDateTime& theStop) {
  const QDateTime s = theWidget.start(), e = theWidget.stop();
  if (s == theStart && e == theStop) return;
  const bool startMoved = s != theStart, stopMoved = e != theStop;
  theStart = s;
  theStop = e;
  emit theWidget.timeWindowChanged(s, e);
  if (startMoved) emit theWidget.startChanged(s);
  if (stopMoved) emit theWidget.stopChanged(e);
}

template <class T>
T* As(TvxDataEntity* theEntity) {
  return dynamic_cast<T*>(theEntity);
}

// The splitter that sizes the chart's left side.
TvxSplitter* SplitterOf(TvxGant* theGant) {
  for (QObject* child : theGant->children())
    if (auto* s = dynamic_cast<TvxSplitter*>(child)) return s;
  return nullptr;
}

}  // namespace

// --- QvxGant

void QvxGant::Listen() {
  using K = TvxDataEntity_Kronit;
  TvxGant* g = fGant;
  fListeners.Listen(g->OnClickGantArea, [this](TvxGant_ComBasic*, K* k) { emit itemClicked(k); });
  fListeners.Listen(g->OnRightClickGantArea, [this](TvxGant_ComBasic*, K* k) { emit itemRightClicked(k); });
  fListeners.Listen(g->OnDblClickGantArea, [this](TvxGant_ComBasic*, K* k) { emit itemDoubleClicked(k); });
  fListeners.Listen(g->OnSelectionChanged_Kronit,
                    [this](TObject*, TvxDataList*, TvxDataEntity* e) { emit selectionChanged(As<K>(e)); });
  fListeners.Listen(g->OnValueChanged_Kronit, [this](TvxGant_ComBasic*, K* k) {
    emit itemValueChanged(k, k ? ToQDateTime(k->GetStartDateTime()) : QDateTime(),
                          k ? ToQDateTime(k->GetStopDateTime()) : QDateTime());
  });
  fListeners.Listen(g->OnInsertItem_Kronit, [this](TvxGant_ComBasic*, K* k) { emit itemInserted(k); });
  fListeners.Listen(g->OnDeleteItem_Kronit, [this](TvxGant_ComBasic*, K* k) { emit itemDeleted(k); });
  fListeners.Listen(g->OnContentChanged_Kronit, [this](TObject*, TvxDataList*) { emit contentChanged(); });
  fListeners.Listen(g->OnSelectionChanged_Tree, [this](TObject*, TvxDataList*, TvxDataEntity* e) {
    emit treeSelectionChanged(As<TvxDataEntity_Tree>(e));
  });
  fListeners.Listen(g->OnGridTopLeftChanged, [this](TObject*) { emit gridTopLeftChanged(); });
  fListeners.Listen(g->OnScalerChange, [this](TvxGant_ComBasic*, TDateTime, TDateTime) {
    NoteTimeWindow();
    NoteTreeWidth();
  });
  if (TvxSplitter* s = SplitterOf(g)) fListeners.Listen(s->OnMoved, [this](TObject*) { NoteTreeWidth(); });
  fStart = start();
  fStop = stop();
  fTreeWidth = treeWidth();
}

// Raised once per change, whichever way it came.
void QvxGant::NoteTimeWindow() { EmitTimeWindow(*this, fStart, fStop); }

void QvxGant::NoteTreeWidth() {
  const int w = treeWidth();
  if (w == fTreeWidth) return;
  fTreeWidth = w;
  emit treeWidthChanged(w);
}

// --- QvxSchema

void QvxSchema::Listen() {
  using B = TvxDataEntity_SchemaTime;
  TvxSchema* s = fSchema;
  fListeners.Listen(s->OnSelectionChanged, [this](TObject*) { emit selectionChanged(); });
  fListeners.Listen(s->OnSelectionChanged_SchemaTime, [this](TObject*, TvxDataList*, TvxDataEntity* e) {
    emit bookingSelectionChanged(As<B>(e));
  });
  fListeners.Listen(s->OnValueChanged_SchemaTime, [this](TObject*, TvxDataEntity* e) {
    B* b = As<B>(e);
    emit bookingValueChanged(b, b ? ToQDateTime(b->GetStartDateTime()) : QDateTime(),
                             b ? ToQDateTime(b->GetStopDateTime()) : QDateTime());
  });
  fListeners.Listen(s->OnInsertItem_SchemaTime, [this](TObject*, TvxDataEntity* e) { emit bookingInserted(As<B>(e)); });
  fListeners.Listen(s->OnDeleteItem_SchemaTime, [this](TObject*, TvxDataEntity* e) { emit bookingDeleted(As<B>(e)); });
  fListeners.Listen(s->OnContentChanged_SchemaTime, [this](TObject*, TvxDataList*) { emit contentChanged(); });
  fListeners.Listen(s->OnTopLeftColumnChange, [this](TObject*) { emit topLeftColumnChanged(); });
  fListeners.Listen(s->OnScalerChange, [this](TObject*) { NoteTimeWindow(); });
  fStart = start();
  fStop = stop();
}

void QvxSchema::NoteTimeWindow() { EmitTimeWindow(*this, fStart, fStop); }

// --- QvxDateScaler

void QvxDateScaler::NoteTimeWindow() { EmitTimeWindow(*this, fStart, fStop); }

// --- QvxGrid

void QvxGrid::Listen() {
  TvxGrid* g = fGrid;
  fListeners.Listen(g->OnColumnResized, [this](TvxGrid*, int column) {
    TvxGrid_Columns* cols = fGrid->GetColumns();
    const int width = column >= 0 && column < cols->Count() ? cols->GetColumn(column)->GetRunTimeWidth() : 0;
    emit columnResized(column, width);
    if (column == 0 && width != fColumnWidth) {
      fColumnWidth = width;
      emit columnWidthChanged(width);
    }
  });
  fListeners.Listen(g->OnTopLeftChanged, [this](TObject*) { emit topLeftChanged(); });
  fListeners.Listen(g->OnSelectionChanged, [this](TObject*) { emit selectionChanged(); });
  fListeners.Listen(g->OnCellSelectionChanged,
                    [this](TBabGridView_Custom*, TBabCell* c) { emit currentCellChanged(c); });
  fListeners.Listen(g->OnRightClick, [this](TBabGridView_Custom*, TBabCell* c) { emit cellRightClicked(c); });
  fListeners.Listen(g->OnButtonClick, [this](TBabGridView_Custom*, TBabCell* c) { emit cellButtonClicked(c); });
}

// --- QvxTree

void QvxTree::Listen() {
  using N = TvxDataEntity_Tree;
  TvxTree* t = fTree;
  fListeners.Listen(t->OnCurrentDataEntityChange, [this](TvxTree_ComBasic*, N* n) { emit currentChanged(n); });
  fListeners.Listen(t->OnSelectionChanged,
                    [this](TObject*, TvxDataList*, TvxDataEntity* e) { emit selectionChanged(As<N>(e)); });
  fListeners.Listen(t->OnRightClick, [this](TvxTree_ComBasic*, N* n) { emit nodeRightClicked(n); });
  fListeners.Listen(t->OnInsertItem, [this](TObject*, TvxDataEntity* e) { emit nodeInserted(As<N>(e)); });
  fListeners.Listen(t->OnDeleteItem, [this](TObject*, TvxDataEntity* e) { emit nodeDeleted(As<N>(e)); });
  fListeners.Listen(t->OnValueChanged, [this](TObject*, TvxDataEntity* e) { emit nodeValueChanged(As<N>(e)); });
  fListeners.Listen(t->OnContentChanged, [this](TObject*, TvxDataList*) { emit contentChanged(); });
  fListeners.Listen(t->OnTopItemChanged, [this](TObject*) { emit topItemChanged(); });
}

}  // namespace vx
