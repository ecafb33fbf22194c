#include <vxplan/designer/QvxWidgets.h>

#include <QResizeEvent>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/platform/ui/QtConvert.h>
#include <vxplan/scaler/vxScaler.h>
#include <vxplan/schema/vxSchema.h>
#include <vxplan/tree/vxTree.h>

namespace vx {

namespace {

// The component is a child widget without a parent control: it follows the
// wrapper's size itself.
// The wrapper takes its preferred size first: settings such as the chart's
// tree width are limited by the component's size when they are made, and a
// form sets them before its layout gives the widget its real size.
template <class T>
T* Hosted(T* theControl, QWidget* theHost) {
  theHost->resize(theHost->sizeHint());
  theControl->QWidget::setParent(theHost);
  theControl->SetBounds(0, 0, theHost->width(), theHost->height());
  theControl->show();
  return theControl;
}

// Default names, so that findChild finds the widget and its component.
void Name(QWidget* theHost, TControl* theControl, const char* theHostName, const char* theControlName) {
  theHost->setObjectName(QString::fromLatin1(theHostName));
  theControl->setObjectName(QString::fromLatin1(theControlName));
}

void Follow(TControl* theControl, QResizeEvent* e) {
  theControl->SetBounds(0, 0, e->size().width(), e->size().height());
}

}  // namespace

// --- QvxGant

QvxGant::QvxGant(QWidget* parent) : QWidget(parent), fGant(Hosted(new TvxGant(nullptr), this)) {
  // As Qt's own views: the Qt wheel, tool tips beside the pointer.
  fGant->SetWheelConvention(wcQt);
  if (TvxGrid* grid = fGant->GetGrid()) grid->SetTypingConvention(tcQt);
  if (TGraphHintWindow* hint = fGant->GetHintWindow()) hint->SetShowBelowOwner(false);
  Name(this, fGant, "QvxGant", "gant");
  Listen();
}
// The listeners go before the events they hang on.
QvxGant::~QvxGant() {
  fListeners.Clear();
  delete fGant;
}
void QvxGant::resizeEvent(QResizeEvent* e) { Follow(fGant, e); }

QDateTime QvxGant::start() const { return ToQDateTime(fGant->GetStart()); }
void QvxGant::setStart(const QDateTime& v) {
  fGant->SetStart(FromQDateTime(v));
  NoteTimeWindow();
}
QDateTime QvxGant::stop() const { return ToQDateTime(fGant->GetStop()); }
void QvxGant::setStop(const QDateTime& v) {
  fGant->SetStop(FromQDateTime(v));
  NoteTimeWindow();
}
int QvxGant::treeWidth() const { return fGant->GetTreeWidth(); }
void QvxGant::setTreeWidth(int v) {
  fGant->SetTreeWidth(v);
  NoteTreeWidth();
}
int QvxGant::rowHeight() const { return fGant->GetTreeView()->GetItemHeight(); }
void QvxGant::setRowHeight(int v) { fGant->GetTreeView()->SetItemHeight(v); }
int QvxGant::scalerHeight() const { return fGant->GetScalerHeight(); }
void QvxGant::setScalerHeight(int v) { fGant->SetScalerHeight(v); }
bool QvxGant::useGridNotTree() const { return fGant->GetUseGridNotTree(); }
void QvxGant::setUseGridNotTree(bool v) { fGant->SetUseGridNotTree(v); }
QColor QvxGant::backColor() const { return ToQColor(fGant->GetGantBackColor()); }
void QvxGant::setBackColor(const QColor& v) { fGant->SetGantBackColor(FromQColor(v)); }
QColor QvxGant::pyjamasColor() const { return ToQColor(fGant->GetGantPyjamasColor()); }
void QvxGant::setPyjamasColor(const QColor& v) { fGant->SetGantPyjamasColor(FromQColor(v)); }
bool QvxGant::verticalPyjamas() const { return fGant->GetVerticalPyjamas(); }
void QvxGant::setVerticalPyjamas(bool v) { fGant->SetVerticalPyjamas(v); }
bool QvxGant::drawShortLines() const { return fGant->GetDrawShortLines(); }
void QvxGant::setDrawShortLines(bool v) { fGant->SetDrawShortLines(v); }
bool QvxGant::drawLongLines() const { return fGant->GetDrawLongLines(); }
void QvxGant::setDrawLongLines(bool v) { fGant->SetDrawLongLines(v); }
bool QvxGant::todayLine() const { return fGant->GetTodayLineOnOff(); }
void QvxGant::setTodayLine(bool v) { fGant->SetTodayLineOnOff(v); }
QColor QvxGant::todayLineColor() const { return ToQColor(fGant->GetTodayLineColor()); }
void QvxGant::setTodayLineColor(const QColor& v) { fGant->SetTodayLineColor(FromQColor(v)); }
bool QvxGant::multiSelectTree() const { return fGant->GetMultiSelectTree(); }
void QvxGant::setMultiSelectTree(bool v) { fGant->SetMultiSelectTree(v); }
bool QvxGant::showButtonsTree() const { return fGant->GetShowButtonsTree(); }
void QvxGant::setShowButtonsTree(bool v) { fGant->SetShowButtonsTree(v); }
bool QvxGant::showLinesTree() const { return fGant->GetShowLinesTree(); }
void QvxGant::setShowLinesTree(bool v) { fGant->SetShowLinesTree(v); }

// --- QvxSchema

// A Qt widget scrolls, pans and zooms with the wheel as Qt's widgets do.
QvxSchema::QvxSchema(QWidget* parent) : QWidget(parent), fSchema(Hosted(new TvxSchema(nullptr), this)) {
  fSchema->SetWheelConvention(wcQt);
  Name(this, fSchema, "QvxSchema", "schema");
  Listen();
}
QvxSchema::~QvxSchema() {
  fListeners.Clear();
  delete fSchema;
}
void QvxSchema::resizeEvent(QResizeEvent* e) { Follow(fSchema, e); }

QDateTime QvxSchema::start() const { return ToQDateTime(fSchema->GetScalerStart()); }
void QvxSchema::setStart(const QDateTime& v) {
  fSchema->SetScalerStart(FromQDateTime(v));
  NoteTimeWindow();
}
QDateTime QvxSchema::stop() const { return ToQDateTime(fSchema->GetScalerStop()); }
void QvxSchema::setStop(const QDateTime& v) {
  fSchema->SetScalerStop(FromQDateTime(v));
  NoteTimeWindow();
}
bool QvxSchema::flipView() const { return fSchema->GetFlipView(); }
void QvxSchema::setFlipView(bool v) { fSchema->SetFlipView(v); }
int QvxSchema::scalerWidth() const { return fSchema->GetScalerWidth(); }
void QvxSchema::setScalerWidth(int v) { fSchema->SetScalerWidth(v); }
int QvxSchema::scalerHeight() const { return fSchema->GetScalerHeight(); }
void QvxSchema::setScalerHeight(int v) { fSchema->SetScalerHeight(v); }
QString QvxSchema::dateFormat() const { return ToQString(fSchema->GetScalerDateFormat()); }
void QvxSchema::setDateFormat(const QString& v) { fSchema->SetScalerDateFormat(FromQString(v)); }
QString QvxSchema::timeFormat() const { return ToQString(fSchema->GetScalerTimeFormat()); }
void QvxSchema::setTimeFormat(const QString& v) { fSchema->SetScalerTimeFormat(FromQString(v)); }
QColor QvxSchema::backColor() const { return ToQColor(fSchema->GetSchemaColor()); }
void QvxSchema::setBackColor(const QColor& v) { fSchema->SetSchemaColor(FromQColor(v)); }
QColor QvxSchema::pyjamasColor() const { return ToQColor(fSchema->GetSchemaPyjamasColor()); }
void QvxSchema::setPyjamasColor(const QColor& v) { fSchema->SetSchemaPyjamasColor(FromQColor(v)); }
bool QvxSchema::drawShortLines() const { return fSchema->GetDrawShortLines(); }
void QvxSchema::setDrawShortLines(bool v) { fSchema->SetDrawShortLines(v); }
bool QvxSchema::todayLine() const { return fSchema->GetTodayLineOnOff(); }
void QvxSchema::setTodayLine(bool v) { fSchema->SetTodayLineOnOff(v); }
QColor QvxSchema::todayLineColor() const { return ToQColor(fSchema->GetTodayLineColor()); }
void QvxSchema::setTodayLineColor(const QColor& v) { fSchema->SetTodayLineColor(FromQColor(v)); }
bool QvxSchema::collisionDetect() const { return fSchema->GetCollisionDetect(); }
void QvxSchema::setCollisionDetect(bool v) { fSchema->SetCollisionDetect(v); }
bool QvxSchema::resizeAllColumns() const { return fSchema->GetResizeAllCol(); }
void QvxSchema::setResizeAllColumns(bool v) { fSchema->SetResizeAllCol(v); }

// --- QvxDateScaler

QvxDateScaler::QvxDateScaler(QWidget* parent)
    : QWidget(parent), fScaler(Hosted(new TvxDateScaler(nullptr), this)) {
  // As Qt's widgets: the wheel zooms, Shift+wheel pans.
  fScaler->SetWheelConvention(wcQt);
  Name(this, fScaler, "QvxDateScaler", "scaler");
  fListeners.Listen(fScaler->OnChange, [this](TObject*) { NoteTimeWindow(); });
  fStart = start();
  fStop = stop();
}
QvxDateScaler::~QvxDateScaler() {
  fListeners.Clear();
  delete fScaler;
}
void QvxDateScaler::resizeEvent(QResizeEvent* e) { Follow(fScaler, e); }

QDateTime QvxDateScaler::start() const { return ToQDateTime(fScaler->GetStart()); }
void QvxDateScaler::setStart(const QDateTime& v) {
  fScaler->SetStart(FromQDateTime(v));
  NoteTimeWindow();
}
QDateTime QvxDateScaler::stop() const { return ToQDateTime(fScaler->GetStop()); }
void QvxDateScaler::setStop(const QDateTime& v) {
  fScaler->SetStop(FromQDateTime(v));
  NoteTimeWindow();
}
QString QvxDateScaler::dateFormat() const { return ToQString(fScaler->GetDateFormat()); }
void QvxDateScaler::setDateFormat(const QString& v) { fScaler->SetDateFormat(FromQString(v)); }
QString QvxDateScaler::timeFormat() const { return ToQString(fScaler->GetTimeFormat()); }
void QvxDateScaler::setTimeFormat(const QString& v) { fScaler->SetTimeFormat(FromQString(v)); }
int QvxDateScaler::firstDayOfWeek() const { return fScaler->GetFirstDayOfWeek(); }
void QvxDateScaler::setFirstDayOfWeek(int v) { fScaler->SetFirstDayOfWeek(v); }
bool QvxDateScaler::weekNumbers() const { return fScaler->GetWeekNumbers(); }
void QvxDateScaler::setWeekNumbers(bool v) { fScaler->SetWeekNumbers(v); }
bool QvxDateScaler::indicatorOn() const { return fScaler->GetIndicatorOn(); }
void QvxDateScaler::setIndicatorOn(bool v) { fScaler->SetIndicatorOn(v); }
bool QvxDateScaler::rescaleWithCtrl() const { return fScaler->GetRescaleWithCtrl(); }
void QvxDateScaler::setRescaleWithCtrl(bool v) { fScaler->SetRescaleWithCtrl(v); }
int QvxDateScaler::pixelsForModeSwitch() const { return fScaler->GetPixelsForModeSwitch(); }
void QvxDateScaler::setPixelsForModeSwitch(int v) { fScaler->SetPixelsForModeSwitch(v); }
QvxDateScaler::LookAndFeel QvxDateScaler::lookAndFeel() const {
  return fScaler->GetLookAndFeel() == tlfBoxed ? Boxed : Classic;
}
void QvxDateScaler::setLookAndFeel(LookAndFeel v) { fScaler->SetLookAndFeel(v == Boxed ? tlfBoxed : tlfClassic); }
QvxDateScaler::ScrollButtons QvxDateScaler::scrollButtons() const {
  switch (fScaler->GetScrollButtons()) {
    case tsbSmall: return SmallButtons;
    case tsbOff: return NoButtons;
    default: return ClassicButtons;
  }
}
void QvxDateScaler::setScrollButtons(ScrollButtons v) {
  fScaler->SetScrollButtons(v == SmallButtons ? tsbSmall : v == NoButtons ? tsbOff : tsbClassic);
}
QColor QvxDateScaler::color() const { return ToQColor(fScaler->GetColor()); }
void QvxDateScaler::setColor(const QColor& v) { fScaler->SetColor(FromQColor(v)); }

// --- QvxGrid

QvxGrid::QvxGrid(QWidget* parent) : QWidget(parent), fGrid(Hosted(new TvxGrid(nullptr), this)) {
  Name(this, fGrid, "QvxGrid", "grid");
  fGrid->SetTypingConvention(tcQt);
  Listen();
}
QvxGrid::~QvxGrid() {
  fListeners.Clear();
  delete fGrid;
}
void QvxGrid::resizeEvent(QResizeEvent* e) { Follow(fGrid, e); }

QStringList QvxGrid::columns() const {
  QStringList r;
  TvxGrid_Columns* cols = fGrid->GetColumns();
  for (int i = 0; i < cols->Count(); ++i) r << ToQString(cols->GetColumn(i)->GetHeaderText());
  return r;
}

void QvxGrid::setColumns(const QStringList& v) {
  TvxGrid_Columns* cols = fGrid->GetColumns();
  while (cols->Count() > v.size()) cols->Delete(cols->Count() - 1);
  while (cols->Count() < v.size()) fGrid->AddColumn()->SetWidth(fColumnWidth);
  for (int i = 0; i < v.size(); ++i) cols->GetColumn(i)->SetHeaderText(FromQString(v[i]));
  fGrid->EnsureFixed();
  fGrid->Invalidate();
}

int QvxGrid::columnWidth() const { return fColumnWidth; }
void QvxGrid::setColumnWidth(int v) {
  TvxGrid_Columns* cols = fGrid->GetColumns();
  for (int i = 0; i < cols->Count(); ++i) cols->GetColumn(i)->SetWidth(v);
  // The column keeps what it made of v (its least width, say).
  const int width = cols->Count() > 0 ? cols->GetColumn(0)->GetWidth() : v;
  if (width == fColumnWidth) return;
  fColumnWidth = width;
  emit columnWidthChanged(width);
}
bool QvxGrid::hasHeaders() const { return fGrid->GetHasHeaders(); }
void QvxGrid::setHasHeaders(bool v) { fGrid->SetHasHeaders(v); }
bool QvxGrid::hasInfoCol() const { return fGrid->GetHasInfoCol(); }
void QvxGrid::setHasInfoCol(bool v) { fGrid->SetHasInfoCol(v); }
bool QvxGrid::rowSelect() const { return fGrid->GetRowSelect(); }
void QvxGrid::setRowSelect(bool v) { fGrid->SetRowSelect(v); }
bool QvxGrid::multiSelect() const { return fGrid->GetMultiSelect(); }
void QvxGrid::setMultiSelect(bool v) { fGrid->SetMultiSelect(v); }
bool QvxGrid::extendLastColumnToWidth() const { return fGrid->GetExtendLastColumnToWidth(); }
void QvxGrid::setExtendLastColumnToWidth(bool v) { fGrid->SetExtendLastColumnToWidth(v); }
bool QvxGrid::userSortEnable() const { return fGrid->GetUserSortEnable(); }
void QvxGrid::setUserSortEnable(bool v) { fGrid->SetUserSortEnable(v); }

// --- QvxTree

QvxTree::QvxTree(QWidget* parent) : QWidget(parent), fTree(Hosted(new TvxTree(nullptr), this)) {
  Name(this, fTree, "QvxTree", "tree");
  Listen();
}
QvxTree::~QvxTree() {
  fListeners.Clear();
  delete fTree;
}
void QvxTree::resizeEvent(QResizeEvent* e) { Follow(fTree, e); }

bool QvxTree::showButtons() const { return fTree->GetShowButtons(); }
void QvxTree::setShowButtons(bool v) { fTree->SetShowButtons(v); }
bool QvxTree::showLines() const { return fTree->GetShowLines(); }
void QvxTree::setShowLines(bool v) { fTree->SetShowLines(v); }
bool QvxTree::showRoot() const { return fTree->GetShowRoot(); }
void QvxTree::setShowRoot(bool v) { fTree->SetShowRoot(v); }
bool QvxTree::rowSelect() const { return fTree->GetRowSelect(); }
void QvxTree::setRowSelect(bool v) { fTree->SetRowSelect(v); }
bool QvxTree::multiSelect() const { return fTree->GetMultiSelect(); }
void QvxTree::setMultiSelect(bool v) { fTree->SetMultiSelect(v); }
bool QvxTree::hideSelection() const { return fTree->GetHideSelection(); }
void QvxTree::setHideSelection(bool v) { fTree->SetHideSelection(v); }
bool QvxTree::readOnly() const { return fTree->GetReadOnly(); }
void QvxTree::setReadOnly(bool v) { fTree->SetReadOnly(v); }
bool QvxTree::autoExpand() const { return fTree->GetAutoExpand(); }
void QvxTree::setAutoExpand(bool v) { fTree->SetAutoExpand(v); }
bool QvxTree::gridLines() const { return fTree->GetDrawGridLines(); }
void QvxTree::setGridLines(bool v) { fTree->SetDrawGridLines(v); }
int QvxTree::indent() const { return fTree->GetIndent(); }
void QvxTree::setIndent(int v) { fTree->SetIndent(v); }
int QvxTree::itemHeight() const { return fTree->GetItemHeight(); }
void QvxTree::setItemHeight(int v) { fTree->SetItemHeight(v); }

}  // namespace vx
