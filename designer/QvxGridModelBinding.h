#pragma once

#include <vxplan/designer/QvxExport.h>

#include <QAbstractItemModel>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

namespace vx {

class TvxGrid;
class TBabCell;
class TBabSimpleCellStringData;
class TBabGridCellForViewer;
class TAxisContentList;

// The roles the binding reads and writes; a role of -1 is not read.
//
//   display      the cell's text (numbers, dates and times in the locale's
//                short form, other values as QVariant::toString)
//   edit         what an in-place edit writes; the text is converted to the
//                type the model holds under this role, and a text that does
//                not convert is refused
//   checkState   when the model answers it, the cell is a check box (no
//                text); a toggle writes Qt::Checked or Qt::Unchecked here
//   alignment    Qt::AlignRight, Qt::AlignHCenter, Qt::AlignVCenter
//   foreground   the text colour (a QColor or a QBrush)
//   background   the cell's colour (a QColor or a QBrush)
//   font         bold or not; the rest of the font stays the grid's
//   headerText   the column titles (horizontal header data)
//   headerWidth  the column widths (horizontal header data: a QSize or an int)
struct VX_QT_API QvxGridRoleMap {
  int display = Qt::DisplayRole;
  int edit = Qt::EditRole;
  int checkState = Qt::CheckStateRole;
  int alignment = Qt::TextAlignmentRole;
  int foreground = Qt::ForegroundRole;
  int background = Qt::BackgroundRole;
  int font = Qt::FontRole;
  int headerText = Qt::DisplayRole;
  int headerWidth = Qt::SizeHintRole;
};

// Shows a QAbstractItemModel in a column grid (TvxGrid, as QvxGrid::grid()
// gives it), both ways.
//
// Columns are the model's columns, titled and sized by its horizontal
// header data. Rows are the top-level rows of the model, made on demand: the
// grid's row axis holds them unloaded, and only rows that show are loaded
// and asked for data, so a model of ten million rows opens in constant time.
// When the model can fetch more (canFetchMore on the root), showing rows near
// the end asks it to (fetchMore, after the current event), and the rows it
// inserts extend the axis. Children of the rows are not shown: a tree model
// shows as the flat table of its top level.
//
// An in-place edit of a cell whose flags have Qt::ItemIsEditable ends in
// setData (a check box needs Qt::ItemIsUserCheckable); when the model
// answers false the cell keeps its text. Other cells open no editor.
//
// The model's changes update only what they touch: dataChanged the cells
// that exist (an open edit goes on); inserted, removed and moved rows move the axis without
// rebuilding it, keeping the rows at the top, the focus and the selection.
// layoutChanged and modelReset rebuild the rows that are loaded, keeping the
// top row and the focused and selected cells (layoutChanged by persistent
// index, modelReset by row and column number where they still exist).
// Rows that change end an open edit unwritten.
//
// Binding a model replaces the grid's rows and column definitions with the
// model's; unbinding (or the model's deletion) leaves an empty grid, and a
// grid deleted first leaves a binding with nothing to do. The binding fills
// the grid through the grid's content source (TvxGridContentSource) and
// leaves every On... event to the application.
class VX_QT_API QvxGridModelBinding : public QObject {
  Q_OBJECT

public:
  // At most this many rows show (the grid's axis counts in int, with its header).
  static constexpr int kMaxRows = 0x7fffffff - 16;
  static constexpr int kMaxColumns = 10000;
  // Longer texts are cut here: a cell holds no more than this many characters.
  static constexpr int kMaxCellText = 10000;

  explicit QvxGridModelBinding(TvxGrid* grid, QObject* parent = nullptr);
  ~QvxGridModelBinding() override;

  TvxGrid* grid() const;
  QAbstractItemModel* model() const { return fModel; }
  // Nil unbinds: the rows and column definitions the binding made go.
  void setModel(QAbstractItemModel* model);
  const QvxGridRoleMap& roleMap() const noexcept { return fRoles; }
  // Every shown cell is read again.
  void setRoleMap(const QvxGridRoleMap& map);

  // Rows and columns of the model against those of the grid (which has its
  // header row and info column in front); -1 when there is no such one.
  int gridRow(int modelRow) const;
  int modelRow(int gridRow) const;
  int gridColumn(int modelColumn) const;
  int modelColumn(int gridColumn) const;
  // The model's index of a cell of the grid's own rows; invalid for others.
  QModelIndex indexOf(const TBabCell* cell) const;
  // The cell of a model index if the grid has made it (nothing is loaded).
  TBabCell* cellOf(const QModelIndex& index) const;
  // Rows the grid shows now (the model's, up to kMaxRows).
  int rowCount() const noexcept { return fRows; }

private:
  class Source;
  class Looks;
  friend class Source;

  void connectModel();
  void unbind(bool theModelAlive);
  bool bound() const;
  TBabGridCellForViewer* outer() const;
  TAxisContentList* rowAxis() const;
  int clampedRowCount() const;

  // Cells.
  struct CellValues;
  CellValues readCell(const QModelIndex& theIndex) const;
  void fillCell(TBabSimpleCellStringData* theData);
  bool canEditCell(TBabCell* theCell);
  bool writeCell(TBabCell* theCell, std::string& theText);
  static bool valueFromText(const QString& theText, const QVariant& theOld, QVariant& theValue);

  // Columns.
  void syncColumns();
  void refreshAllCells();
  void refreshCell(TBabCell* theCell);

  // Rows.
  bool endEdit();
  void rebuildRows(int theTop);
  void insertRows(int theFirst, int theCount);
  bool removeGridRows(int theStart, int theStop);
  void removeRows(int theFirst, int theLast);
  void moveRows(int theStart, int theEnd, int theDestination);
  void keepTop(int theTop);

  // Focus and selection kept across a rebuild.
  struct Kept {
    QPersistentModelIndex top, focus;
    std::vector<QPersistentModelIndex> selected;
    int topRow = -1, focusRow = -1, focusColumn = -1;
  };
  Kept keep() const;
  void restore(const Kept& theKept, bool theByIndex);

  // Fetching more rows, after the current event.
  void rowLoaded(int theGridRow);
  void fetchMoreLater();
  void fetchMoreIfNeeded();

  // The model's signals.
  void onDataChanged(const QModelIndex& theTopLeft, const QModelIndex& theBottomRight);
  void onHeaderDataChanged(Qt::Orientation theOrientation);
  void onRowsInserted(const QModelIndex& theParent, int theFirst, int theLast);
  void onRowsRemoved(const QModelIndex& theParent, int theFirst, int theLast);
  void onRowsMoved(const QModelIndex& theParent, int theStart, int theEnd, const QModelIndex& theDestination,
                   int theRow);
  void onColumnsChanged();
  void onLayoutAboutToBeChanged();
  void onLayoutChanged();
  void onModelAboutToBeReset();
  void onModelReset();

  QPointer<QObject> fGridObject;
  TvxGrid* fGrid;
  QPointer<QAbstractItemModel> fModel;
  std::vector<QMetaObject::Connection> fConnections;
  QvxGridRoleMap fRoles;
  std::unique_ptr<Source> fSource;
  std::unique_ptr<Looks> fLooks;
  int fRows = 0;
  bool fFetchQueued = false;
  Kept fKept;
};

}  // namespace vx
