#pragma once

#include <vxplan/designer/QvxExport.h>

// Shows a QAbstractItemModel in a Gantt chart, both ways.
//
// The model's shape
//   - Every row of the model's tree is a task: one row of the chart, in the
//     model's order and nesting (the model's tree is the chart's tree),
//     except for the bar rows below.
//   - A bar row is a row with a parent, a start and no children of its own:
//     it is a bar in its parent task's row. So a task with ten bars is a
//     model row with ten leaf children that carry a start.
//   - A task row that carries a start is a bar in its own row as well (a
//     summary, or the only bar of a simple plan's task).
//   - Root rows are always tasks.
//   A row may change kind (a bar given children becomes a task); the chart
//   follows.
//
// The fields (QvxGantRoleMap), each read from a role of a column (column 0
// unless the map says otherwise):
//   text      Qt::DisplayRole     a task's node text, a bar's label
//   start     Qt::UserRole + 1    QDateTime, QDate, or a number of days
//   finish    Qt::UserRole + 2    the same; missing or before start: start
//   colour    Qt::BackgroundRole  QColor or QBrush; missing: defaultColor
//   style     Qt::UserRole + 3    int, the bar's style (0 .. 255; else 0)
//   progress  Qt::UserRole + 4    int 0 .. 100; kept in the model, not drawn
//   id        Qt::UserRole + 5    any value that names a bar, for links
//   links     Qt::UserRole + 6    a list of the ids this bar leads to
// Bad values have an answer: an invalid or non-date start is no start; days
// outside the years 1 .. 9999 are clamped; texts are cut (a node's to 255
// characters, a bar's to MostText).
//
// Links come from the links role, or from a second model (setLinkModel): a
// table whose rows are (from id, to id[, link type as TLinkStartFinishOption])
// in columns 0, 1 and 2; a link model replaces the links role.
//
// Both ways
//   - The model's dataChanged, rowsInserted, rowsRemoved and rowsMoved touch
//     only the rows named; layoutChanged and modelReset rebuild the chart and
//     keep its expanded nodes, selected bars, current node and top row.
//   - The user's move, resize, copy, change of row and in-place edit of a
//     task's text write to the model through setData (insertRows/moveRows for
//     a copy or a change of row). The model's answer decides: what the chart
//     shows afterwards is read back from the model, so a refused write leaves
//     the bar where it was.
//
// The binding reaches the chart through its binding listener, not through
// the chart's On… events, which stay the application's. It fills the chart
// with its own rows: bind it to a chart the application does not fill. A
// chart has one binding at a time.
#include <QHash>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QColor>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include <vxplan/gantt/vxGant.h>

class QAbstractItemModel;

namespace vx {

struct VX_QT_API QvxGantField {
  int role = Qt::DisplayRole;
  int column = 0;
};

struct VX_QT_API QvxGantRoleMap {
  QvxGantField text{Qt::DisplayRole, 0};
  QvxGantField start{Qt::UserRole + 1, 0};
  QvxGantField finish{Qt::UserRole + 2, 0};
  QvxGantField colour{Qt::BackgroundRole, 0};
  QvxGantField style{Qt::UserRole + 3, 0};
  QvxGantField progress{Qt::UserRole + 4, 0};
  QvxGantField id{Qt::UserRole + 5, 0};
  QvxGantField links{Qt::UserRole + 6, 0};
  QColor defaultColor{0x5B, 0x8D, 0xD6};
};

class VX_QT_API QvxGantModelBinding : public QObject, private TGantBindingListener {
  Q_OBJECT

public:
  // A bar's label is cut to this many characters.
  static constexpr int MostText = 4096;

  explicit QvxGantModelBinding(TvxGant_ComBasic* chart, QObject* parent = nullptr);
  ~QvxGantModelBinding() override;

  // Binds theModel (nil: none), replacing what the binding showed before.
  void setModel(QAbstractItemModel* theModel);
  QAbstractItemModel* model() const noexcept { return fModel; }
  void setLinkModel(QAbstractItemModel* theModel);
  QAbstractItemModel* linkModel() const noexcept { return fLinkModel; }
  // Takes effect at once: the chart is rebuilt.
  void setRoleMap(const QvxGantRoleMap& theMap);
  const QvxGantRoleMap& roleMap() const noexcept { return fMap; }
  TvxGant_ComBasic* chart() const noexcept { return fChart; }

  // The model row of a bar (a bar row, or the task row of its own bar) or of
  // a node; invalid for anything the binding did not make.
  QModelIndex indexOf(const TvxDataEntity_Kronit* theItem) const;
  QModelIndex indexOf(const TvxDataEntity_Tree* theNode) const;
  // The bar of a bar row or a task's own bar; nil when there is none.
  TvxDataEntity_Kronit* itemOf(const QModelIndex& theIndex) const;
  // The node of a task row; nil for bar rows and indexes of other models.
  TvxDataEntity_Tree* nodeOf(const QModelIndex& theIndex) const;

private:
  struct TTask;
  struct TEntry;
  struct TRowData;
  struct TViewState;
  struct TViewKey;
  class TApplying;

  // --- model to chart
  void Connect();
  void Disconnect();
  void Rebuild();
  void ClearChart();
  void BuildChildren(TTask& theTask, const QModelIndex& theParent);
  TEntry MakeEntry(TTask& theParent, const QModelIndex& theIndex, bool theAppend);
  void DropEntry(TEntry& theEntry);
  void ForgetTask(TTask& theTask);
  void RefreshRow(TTask& theParent, int theRow, const QModelIndex& theIndex);
  void RecheckKind(const QModelIndex& theIndex);
  TRowData Read(const QModelIndex& theIndex) const;
  bool IsBar(const TTask& theParent, const QModelIndex& theIndex, const TRowData& theData) const;
  void ApplyBar(TvxDataEntity_Kronit* theItem, const TRowData& theData);
  void ApplyTask(TTask& theTask, const TRowData& theData);
  int TasksBefore(const TTask& theTask, int theRow) const;
  TTask* TaskAt(const QModelIndex& theParent) const;
  // By the rows from the root down, as the binding holds them.
  TTask* TaskAtPath(const std::vector<int>& thePath) const;
  void RemoveRows(TTask& theParent, int theFirst, int theLast);
  TEntry* EntryAt(const QModelIndex& theIndex) const;
  QModelIndex IndexOfTask(const TTask* theTask) const;
  void RefreshIndex(const QModelIndex& theIndex);

  void OnDataChanged(const QModelIndex& theTopLeft, const QModelIndex& theBottomRight, const QList<int>& theRoles);
  void OnRowsInserted(const QModelIndex& theParent, int theFirst, int theLast);
  void OnRowsRemoved(const QModelIndex& theParent, int theFirst, int theLast);
  void OnRowsAboutToBeMoved(const QModelIndex& theParent, int theFirst, int theLast);
  void OnRowsMoved(const QModelIndex& theParent, int theFirst, int theLast, const QModelIndex& theDest, int theRow);
  void OnLayoutAboutToBeChanged();
  void OnLayoutChanged();
  void OnAboutToBeReset();
  void OnReset();
  void OnModelDestroyed();

  // --- the chart's view state kept across rebuilds and moves
  void Capture(TViewState& theState, const TTask& theFrom, bool theWholeTree);
  void Restore(const TViewState& theState);
  TViewKey KeyOf(const QModelIndex& theIndex) const;
  QModelIndex Resolve(const TViewKey& theKey) const;

  // --- links
  void LinksOutOfDate();
  void RebuildLinks();
  void DropLinks();

  // --- chart to model
  void BindingItemEdited(TvxDataEntity_Kronit* theItem) override;
  void BindingNodeEdited(TvxDataEntity_Tree* theNode) override;
  void BindingCopy(TvxGant_ComBasic* theGant, TvxDataEntity_Kronit* theItem, TGantRow* theRow, TGantRow* theNewRow,
                   TDateTime theStart, TDateTime theStop, TvxDataEntity_Kronit*& theNewItem) override;
  void BindingChangeRow(TvxGant_ComBasic* theGant, TvxDataEntity_Kronit* theItem, TGantRow* theRow,
                        TGantRow* theNewRow, TDateTime theStart, TDateTime theStop,
                        TvxDataEntity_Kronit*& theNewItem) override;
  void BindingChartGone() override;
  bool WriteTimes(const QPersistentModelIndex& theIndex, TDateTime theStart, TDateTime theStop);
  QPersistentModelIndex CopyRowTo(const QPersistentModelIndex& theSource, const QPersistentModelIndex& theParent);
  TTask* TaskOfRow(TGantRow* theRow) const;
  QModelIndex FieldIndex(const QModelIndex& theRow, const QvxGantField& theField) const;

  TvxGant_ComBasic* fChart;
  QPointer<QAbstractItemModel> fModel;
  QPointer<QAbstractItemModel> fLinkModel;
  QvxGantRoleMap fMap;
  std::unique_ptr<TTask> fRoot;
  std::unordered_map<const TvxDataEntity_Tree*, TTask*> fTaskOfNode;
  std::vector<QMetaObject::Connection> fConnections;
  std::vector<QMetaObject::Connection> fLinkConnections;
  std::vector<TvxHeld<TvxDataEntity_Link>> fLinks;
  std::unique_ptr<TViewState> fPending;  // captured before a layout change, reset or move
  // Where the rows of a move come from, as the binding holds them before it.
  std::optional<std::vector<int>> fMoveSource;
  int fApplying = 0;    // the binding is writing into the chart
  bool fHasLinkRoles = false;
  bool fLinksQueued = false;
};

}  // namespace vx
