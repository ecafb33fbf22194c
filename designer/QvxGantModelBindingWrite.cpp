// The binding's chart-to-model half: binding and unbinding, the lookups, and
// the user's edits written to the model.
#include <QAbstractItemModel>
#include <QDate>
#include <QDateTime>

#include <vxplan/designer/QvxGantModelBinding.h>
#include <vxplan/designer/QvxGantModelBindingPrivate.h>
#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

QvxGantModelBinding::QvxGantModelBinding(TvxGant_ComBasic* chart, QObject* parent) : QObject(parent), fChart(chart) {
  if (fChart) fChart->SetBindingListener(this);
}

QvxGantModelBinding::~QvxGantModelBinding() {
  Disconnect();
  if (!fChart) return;
  TApplying applying(*this);
  ClearChart();
  if (fChart->GetBindingListener() == this) fChart->SetBindingListener(nullptr);
}

void QvxGantModelBinding::BindingChartGone() {
  // Nothing of the chart is touched any more: the holds let go, the model is
  // no longer heard.
  Disconnect();
  fLinks.clear();
  fTaskOfNode.clear();
  fRoot.reset();
  fChart = nullptr;
}

void QvxGantModelBinding::setModel(QAbstractItemModel* theModel) {
  Disconnect();
  fModel = theModel;
  Connect();
  Rebuild();
}

void QvxGantModelBinding::setLinkModel(QAbstractItemModel* theModel) {
  for (const QMetaObject::Connection& c : fLinkConnections) QObject::disconnect(c);
  fLinkConnections.clear();
  fLinkModel = theModel;
  if (fLinkModel) {
    QAbstractItemModel* m = fLinkModel;
    fLinkConnections.push_back(connect(m, &QAbstractItemModel::rowsInserted, this, [this] { LinksOutOfDate(); }));
    fLinkConnections.push_back(connect(m, &QAbstractItemModel::rowsRemoved, this, [this] { LinksOutOfDate(); }));
    fLinkConnections.push_back(connect(m, &QAbstractItemModel::rowsMoved, this, [this] { LinksOutOfDate(); }));
    fLinkConnections.push_back(connect(m, &QAbstractItemModel::dataChanged, this, [this] { LinksOutOfDate(); }));
    fLinkConnections.push_back(connect(m, &QAbstractItemModel::layoutChanged, this, [this] { LinksOutOfDate(); }));
    fLinkConnections.push_back(connect(m, &QAbstractItemModel::modelReset, this, [this] { LinksOutOfDate(); }));
    fLinkConnections.push_back(connect(m, &QObject::destroyed, this, [this] {
      fLinkConnections.clear();
      LinksOutOfDate();
    }));
  }
  RebuildLinks();
}

void QvxGantModelBinding::setRoleMap(const QvxGantRoleMap& theMap) {
  fMap = theMap;
  Rebuild();
}

void QvxGantModelBinding::Connect() {
  QAbstractItemModel* m = fModel;
  if (!m || !fChart) return;
  using M = QAbstractItemModel;
  auto& c = fConnections;
  c.push_back(connect(m, &M::dataChanged, this, &QvxGantModelBinding::OnDataChanged));
  c.push_back(connect(m, &M::rowsInserted, this, &QvxGantModelBinding::OnRowsInserted));
  c.push_back(connect(m, &M::rowsRemoved, this, &QvxGantModelBinding::OnRowsRemoved));
  c.push_back(connect(m, &M::rowsAboutToBeMoved, this, &QvxGantModelBinding::OnRowsAboutToBeMoved));
  c.push_back(connect(m, &M::rowsMoved, this, &QvxGantModelBinding::OnRowsMoved));
  c.push_back(connect(m, &M::layoutAboutToBeChanged, this, &QvxGantModelBinding::OnLayoutAboutToBeChanged));
  c.push_back(connect(m, &M::layoutChanged, this, &QvxGantModelBinding::OnLayoutChanged));
  c.push_back(connect(m, &M::modelAboutToBeReset, this, &QvxGantModelBinding::OnAboutToBeReset));
  c.push_back(connect(m, &M::modelReset, this, &QvxGantModelBinding::OnReset));
  // Columns change what a row's fields are: the chart is made anew.
  c.push_back(connect(m, &M::columnsInserted, this, [this] { Rebuild(); }));
  c.push_back(connect(m, &M::columnsRemoved, this, [this] { Rebuild(); }));
  c.push_back(connect(m, &M::columnsMoved, this, [this] { Rebuild(); }));
  c.push_back(connect(m, &QObject::destroyed, this, &QvxGantModelBinding::OnModelDestroyed));
}

void QvxGantModelBinding::Disconnect() {
  for (const QMetaObject::Connection& c : fConnections) QObject::disconnect(c);
  fConnections.clear();
  fPending.reset();
}

// --- lookups ----------------------------------------------------------------------------

QModelIndex QvxGantModelBinding::FieldIndex(const QModelIndex& theRow, const QvxGantField& theField) const {
  return theRow.column() == theField.column ? theRow : theRow.siblingAtColumn(theField.column);
}

QvxGantModelBinding::TTask* QvxGantModelBinding::TaskOfRow(TGantRow* theRow) const {
  if (!theRow) return nullptr;
  auto found = fTaskOfNode.find(theRow->GetTreeNode());
  return found == fTaskOfNode.end() ? nullptr : found->second;
}

QModelIndex QvxGantModelBinding::indexOf(const TvxDataEntity_Tree* theNode) const {
  auto found = fTaskOfNode.find(theNode);
  return found == fTaskOfNode.end() ? QModelIndex() : IndexOfTask(found->second);
}

QModelIndex QvxGantModelBinding::indexOf(const TvxDataEntity_Kronit* theItem) const {
  TTask* task = theItem ? TaskOfRow(theItem->GetRow()) : nullptr;
  if (!task) return {};
  const QModelIndex taskIndex = IndexOfTask(task);
  if (task->ownBar.Get() == theItem) return taskIndex;
  for (std::size_t r = 0; r < task->rows.size(); ++r)
    if (!task->rows[r].task && task->rows[r].bar.Get() == theItem)
      return fModel->index(static_cast<int>(r), 0, taskIndex);
  return {};
}

TvxDataEntity_Kronit* QvxGantModelBinding::itemOf(const QModelIndex& theIndex) const {
  const TEntry* e = EntryAt(theIndex);
  if (!e) return nullptr;
  return e->task ? e->task->ownBar.Get() : e->bar.Get();
}

TvxDataEntity_Tree* QvxGantModelBinding::nodeOf(const QModelIndex& theIndex) const {
  const TEntry* e = EntryAt(theIndex);
  return e && e->task ? e->task->node.Get() : nullptr;
}

// --- the user's edits -------------------------------------------------------------------

namespace {

// A time in the kind of value the model holds there.
QVariant DateLike(const QVariant& theOld, TDateTime theDays) {
  switch (theOld.typeId()) {
    case QMetaType::QDate: return ToQDateTime(theDays).date();
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong: return theDays;
    default: return ToQDateTime(theDays);
  }
}

}  // namespace

bool QvxGantModelBinding::WriteTimes(const QPersistentModelIndex& theIndex, TDateTime theStart, TDateTime theStop) {
  // Each setData may answer with signals that change anything: the row is
  // looked up afresh through its persistent index before each write.
  bool ok = true;
  for (auto [field, days] : {std::pair{&fMap.start, theStart}, std::pair{&fMap.finish, theStop}}) {
    if (!fModel || !theIndex.isValid()) return false;
    const QModelIndex at = FieldIndex(theIndex, *field);
    ok = fModel->setData(at, DateLike(at.data(field->role), days), field->role) && ok;
  }
  return ok;
}

void QvxGantModelBinding::BindingItemEdited(TvxDataEntity_Kronit* theItem) {
  if (fApplying || !fModel) return;
  const QPersistentModelIndex index(indexOf(theItem));
  if (!index.isValid()) return;
  WriteTimes(index, theItem->GetStartDateTime(), theItem->GetStopDateTime());
  // Accepted or not, the chart shows what the model holds.
  RefreshIndex(index);
}

void QvxGantModelBinding::BindingNodeEdited(TvxDataEntity_Tree* theNode) {
  if (fApplying || !fModel) return;
  const QPersistentModelIndex index(indexOf(theNode));
  if (!index.isValid()) return;
  const QString text = ToQString(theNode->GetText());
  fModel->setData(FieldIndex(index, fMap.text), text, fMap.text.role);
  RefreshIndex(index);
}

QPersistentModelIndex QvxGantModelBinding::CopyRowTo(const QPersistentModelIndex& theSource,
                                                     const QPersistentModelIndex& theParent) {
  if (!fModel || !theSource.isValid() || !theParent.isValid()) return {};
  const int columns = fModel->columnCount(theSource.parent());
  const int row = fModel->rowCount(theParent);
  if (fModel->columnCount(theParent) < columns &&
      !fModel->insertColumns(fModel->columnCount(theParent), columns - fModel->columnCount(theParent), theParent))
    return {};
  if (!theParent.isValid() || !fModel->insertRows(row, 1, theParent) || !theParent.isValid()) return {};
  const QPersistentModelIndex made(fModel->index(row, 0, theParent));
  for (int c = 0; c < columns && theSource.isValid() && made.isValid(); ++c)
    fModel->setItemData(QModelIndex(made).siblingAtColumn(c),
                        fModel->itemData(QModelIndex(theSource).siblingAtColumn(c)));
  return made;
}

void QvxGantModelBinding::BindingCopy(TvxGant_ComBasic*, TvxDataEntity_Kronit* theItem, TGantRow*,
                                      TGantRow* theNewRow, TDateTime theStart, TDateTime theStop,
                                      TvxDataEntity_Kronit*& theNewItem) {
  if (fApplying || !fModel) return;
  TTask* target = TaskOfRow(theNewRow);
  const QPersistentModelIndex source(indexOf(theItem));
  // A task's own bar is its task row: copying it would copy the task.
  if (!target || !source.isValid() || theItem == TaskOfRow(theItem->GetRow())->ownBar.Get()) return;
  const QPersistentModelIndex made = CopyRowTo(source, QPersistentModelIndex(IndexOfTask(target)));
  if (!made.isValid()) return;
  WriteTimes(made, theStart, theStop);
  RefreshIndex(made);
  theNewItem = itemOf(made);
}

void QvxGantModelBinding::BindingChangeRow(TvxGant_ComBasic*, TvxDataEntity_Kronit* theItem, TGantRow*,
                                           TGantRow* theNewRow, TDateTime theStart, TDateTime theStop,
                                           TvxDataEntity_Kronit*& theNewItem) {
  if (fApplying || !fModel) return;
  TTask* target = TaskOfRow(theNewRow);
  QPersistentModelIndex source(indexOf(theItem));
  if (!target || !source.isValid() || theItem == TaskOfRow(theItem->GetRow())->ownBar.Get()) return;
  const QPersistentModelIndex targetIndex(IndexOfTask(target));
  const int row = fModel->rowCount(targetIndex);
  QPersistentModelIndex moved;
  if (fModel->moveRows(source.parent(), source.row(), 1, targetIndex, row)) {
    moved = source;
  } else {
    // A model that does not move rows: copied there, then removed here.
    moved = CopyRowTo(source, targetIndex);
    if (moved.isValid() && source.isValid()) fModel->removeRows(source.row(), 1, source.parent());
  }
  if (!moved.isValid()) return;
  WriteTimes(moved, theStart, theStop);
  RefreshIndex(moved);
  theNewItem = itemOf(moved);
}

}  // namespace vx
