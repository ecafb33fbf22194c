#pragma once

#include <vxplan/designer/QvxExport.h>

// Qt widgets over the components, for Qt Designer and for forms made with
// it: each one holds its component, filling the widget, and offers the
// settings that make sense at design time as Qt properties, and the
// component's notifications as Qt signals. Everything else (data, printing)
// goes through the component itself.
//
// A signal is raised after the component's own On... handler has run; any
// number of slots may connect. An item handed to a signal is the one the
// component named, or nil when the application's handler freed it meanwhile.
// Events that take an answer back (permissions, accept flags, user drawing,
// virtual loading, printing pages) stay std::function hooks on the
// component: one answer needs one answerer.

#include <QColor>
#include <QDateTime>
#include <QStringList>
#include <QWidget>

#include <vxplan/core/vxEvent.h>

namespace vx {

class TBabCell;
class TvxDataEntity_Kronit;
class TvxDataEntity_SchemaTime;
class TvxDataEntity_Tree;

class TvxGant;
class TvxSchema;
class TvxDateScaler;
class TvxGrid;
class TvxTree;
class TvxGrid_Column;

// The Gantt chart `TvxGant` as a Qt widget.
class VX_QT_API QvxGant : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QDateTime start READ start WRITE setStart NOTIFY startChanged)
  Q_PROPERTY(QDateTime stop READ stop WRITE setStop NOTIFY stopChanged)
  Q_PROPERTY(int treeWidth READ treeWidth WRITE setTreeWidth NOTIFY treeWidthChanged)
  Q_PROPERTY(int rowHeight READ rowHeight WRITE setRowHeight)
  Q_PROPERTY(int scalerHeight READ scalerHeight WRITE setScalerHeight)
  Q_PROPERTY(bool useGridNotTree READ useGridNotTree WRITE setUseGridNotTree)
  Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)
  Q_PROPERTY(QColor pyjamasColor READ pyjamasColor WRITE setPyjamasColor)
  Q_PROPERTY(bool verticalPyjamas READ verticalPyjamas WRITE setVerticalPyjamas)
  Q_PROPERTY(bool drawShortLines READ drawShortLines WRITE setDrawShortLines)
  Q_PROPERTY(bool drawLongLines READ drawLongLines WRITE setDrawLongLines)
  Q_PROPERTY(bool todayLine READ todayLine WRITE setTodayLine)
  Q_PROPERTY(QColor todayLineColor READ todayLineColor WRITE setTodayLineColor)
  Q_PROPERTY(bool multiSelectTree READ multiSelectTree WRITE setMultiSelectTree)
  Q_PROPERTY(bool showButtonsTree READ showButtonsTree WRITE setShowButtonsTree)
  Q_PROPERTY(bool showLinesTree READ showLinesTree WRITE setShowLinesTree)

public:
  explicit QvxGant(QWidget* parent = nullptr);
  ~QvxGant() override;
  TvxGant* gant() const noexcept { return fGant; }

  QDateTime start() const;
  void setStart(const QDateTime& v);
  QDateTime stop() const;
  void setStop(const QDateTime& v);
  int treeWidth() const;
  void setTreeWidth(int v);
  int rowHeight() const;
  void setRowHeight(int v);
  int scalerHeight() const;
  void setScalerHeight(int v);
  bool useGridNotTree() const;
  void setUseGridNotTree(bool v);
  QColor backColor() const;
  void setBackColor(const QColor& v);
  QColor pyjamasColor() const;
  void setPyjamasColor(const QColor& v);
  bool verticalPyjamas() const;
  void setVerticalPyjamas(bool v);
  bool drawShortLines() const;
  void setDrawShortLines(bool v);
  bool drawLongLines() const;
  void setDrawLongLines(bool v);
  bool todayLine() const;
  void setTodayLine(bool v);
  QColor todayLineColor() const;
  void setTodayLineColor(const QColor& v);
  bool multiSelectTree() const;
  void setMultiSelectTree(bool v);
  bool showButtonsTree() const;
  void setShowButtonsTree(bool v);
  bool showLinesTree() const;
  void setShowLinesTree(bool v);

  QSize sizeHint() const override { return {640, 320}; }

signals:
  void itemClicked(vx::TvxDataEntity_Kronit* item);
  void itemRightClicked(vx::TvxDataEntity_Kronit* item);
  void itemDoubleClicked(vx::TvxDataEntity_Kronit* item);
  // The item the selection changed at (nil when it went).
  void selectionChanged(vx::TvxDataEntity_Kronit* item);
  // Its times after the change.
  void itemValueChanged(vx::TvxDataEntity_Kronit* item, const QDateTime& start, const QDateTime& stop);
  void itemInserted(vx::TvxDataEntity_Kronit* item);
  void itemDeleted(vx::TvxDataEntity_Kronit* item);
  void contentChanged();
  void treeSelectionChanged(vx::TvxDataEntity_Tree* node);
  void gridTopLeftChanged();
  // The time window, whatever moved it (the axis, the wheel, the area's edge).
  void timeWindowChanged(const QDateTime& start, const QDateTime& stop);
  void startChanged(const QDateTime& start);
  void stopChanged(const QDateTime& stop);
  // The splitter was dragged, or the width set.
  void treeWidthChanged(int width);

protected:
  void resizeEvent(QResizeEvent* e) override;

private:
  void Listen();
  void NoteTimeWindow();
  void NoteTreeWidth();

  TvxGant* fGant;
  TvxEventListeners fListeners;
  QDateTime fStart, fStop;
  int fTreeWidth = -1;
};

// The schedule `TvxSchema` as a Qt widget.
class VX_QT_API QvxSchema : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QDateTime start READ start WRITE setStart NOTIFY startChanged)
  Q_PROPERTY(QDateTime stop READ stop WRITE setStop NOTIFY stopChanged)
  Q_PROPERTY(bool flipView READ flipView WRITE setFlipView)
  Q_PROPERTY(int scalerWidth READ scalerWidth WRITE setScalerWidth)
  Q_PROPERTY(int scalerHeight READ scalerHeight WRITE setScalerHeight)
  Q_PROPERTY(QString dateFormat READ dateFormat WRITE setDateFormat)
  Q_PROPERTY(QString timeFormat READ timeFormat WRITE setTimeFormat)
  Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)
  Q_PROPERTY(QColor pyjamasColor READ pyjamasColor WRITE setPyjamasColor)
  Q_PROPERTY(bool drawShortLines READ drawShortLines WRITE setDrawShortLines)
  Q_PROPERTY(bool todayLine READ todayLine WRITE setTodayLine)
  Q_PROPERTY(QColor todayLineColor READ todayLineColor WRITE setTodayLineColor)
  Q_PROPERTY(bool collisionDetect READ collisionDetect WRITE setCollisionDetect)
  Q_PROPERTY(bool resizeAllColumns READ resizeAllColumns WRITE setResizeAllColumns)

public:
  explicit QvxSchema(QWidget* parent = nullptr);
  ~QvxSchema() override;
  TvxSchema* schema() const noexcept { return fSchema; }

  QDateTime start() const;
  void setStart(const QDateTime& v);
  QDateTime stop() const;
  void setStop(const QDateTime& v);
  bool flipView() const;
  void setFlipView(bool v);
  int scalerWidth() const;
  void setScalerWidth(int v);
  int scalerHeight() const;
  void setScalerHeight(int v);
  QString dateFormat() const;
  void setDateFormat(const QString& v);
  QString timeFormat() const;
  void setTimeFormat(const QString& v);
  QColor backColor() const;
  void setBackColor(const QColor& v);
  QColor pyjamasColor() const;
  void setPyjamasColor(const QColor& v);
  bool drawShortLines() const;
  void setDrawShortLines(bool v);
  bool todayLine() const;
  void setTodayLine(bool v);
  QColor todayLineColor() const;
  void setTodayLineColor(const QColor& v);
  bool collisionDetect() const;
  void setCollisionDetect(bool v);
  bool resizeAllColumns() const;
  void setResizeAllColumns(bool v);

  QSize sizeHint() const override { return {640, 400}; }

signals:
  void selectionChanged();
  // The booking the selection changed at (nil when it went).
  void bookingSelectionChanged(vx::TvxDataEntity_SchemaTime* booking);
  void bookingValueChanged(vx::TvxDataEntity_SchemaTime* booking, const QDateTime& start, const QDateTime& stop);
  void bookingInserted(vx::TvxDataEntity_SchemaTime* booking);
  void bookingDeleted(vx::TvxDataEntity_SchemaTime* booking);
  void contentChanged();
  void topLeftColumnChanged();
  void timeWindowChanged(const QDateTime& start, const QDateTime& stop);
  void startChanged(const QDateTime& start);
  void stopChanged(const QDateTime& stop);

protected:
  void resizeEvent(QResizeEvent* e) override;

private:
  void Listen();
  void NoteTimeWindow();

  TvxSchema* fSchema;
  TvxEventListeners fListeners;
  QDateTime fStart, fStop;
};

// The date scaler (time axis) `TvxDateScaler` as a Qt widget.
class VX_QT_API QvxDateScaler : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QDateTime start READ start WRITE setStart NOTIFY startChanged)
  Q_PROPERTY(QDateTime stop READ stop WRITE setStop NOTIFY stopChanged)
  Q_PROPERTY(QString dateFormat READ dateFormat WRITE setDateFormat)
  Q_PROPERTY(QString timeFormat READ timeFormat WRITE setTimeFormat)
  Q_PROPERTY(int firstDayOfWeek READ firstDayOfWeek WRITE setFirstDayOfWeek)
  Q_PROPERTY(bool weekNumbers READ weekNumbers WRITE setWeekNumbers)
  Q_PROPERTY(bool indicatorOn READ indicatorOn WRITE setIndicatorOn)
  Q_PROPERTY(bool rescaleWithCtrl READ rescaleWithCtrl WRITE setRescaleWithCtrl)
  Q_PROPERTY(int pixelsForModeSwitch READ pixelsForModeSwitch WRITE setPixelsForModeSwitch)
  Q_PROPERTY(LookAndFeel lookAndFeel READ lookAndFeel WRITE setLookAndFeel)
  Q_PROPERTY(ScrollButtons scrollButtons READ scrollButtons WRITE setScrollButtons)
  Q_PROPERTY(QColor color READ color WRITE setColor)

public:
  // The values of `TLookAndFeel`, in its order.
  enum LookAndFeel { Classic, Boxed };
  Q_ENUM(LookAndFeel)
  // The values of `TScrollButtons`, in its order.
  enum ScrollButtons { ClassicButtons, SmallButtons, NoButtons };
  Q_ENUM(ScrollButtons)

  explicit QvxDateScaler(QWidget* parent = nullptr);
  ~QvxDateScaler() override;
  TvxDateScaler* scaler() const noexcept { return fScaler; }

  QDateTime start() const;
  void setStart(const QDateTime& v);
  QDateTime stop() const;
  void setStop(const QDateTime& v);
  QString dateFormat() const;
  void setDateFormat(const QString& v);
  QString timeFormat() const;
  void setTimeFormat(const QString& v);
  // 1 = Sunday ... 7 = Saturday.
  int firstDayOfWeek() const;
  void setFirstDayOfWeek(int v);
  bool weekNumbers() const;
  void setWeekNumbers(bool v);
  bool indicatorOn() const;
  void setIndicatorOn(bool v);
  bool rescaleWithCtrl() const;
  void setRescaleWithCtrl(bool v);
  int pixelsForModeSwitch() const;
  void setPixelsForModeSwitch(int v);
  LookAndFeel lookAndFeel() const;
  void setLookAndFeel(LookAndFeel v);
  ScrollButtons scrollButtons() const;
  void setScrollButtons(ScrollButtons v);
  QColor color() const;
  void setColor(const QColor& v);

  QSize sizeHint() const override { return {480, 40}; }

signals:
  void timeWindowChanged(const QDateTime& start, const QDateTime& stop);
  void startChanged(const QDateTime& start);
  void stopChanged(const QDateTime& stop);

protected:
  void resizeEvent(QResizeEvent* e) override;

private:
  void NoteTimeWindow();

  TvxDateScaler* fScaler;
  TvxEventListeners fListeners;
  QDateTime fStart, fStop;
};

// The column grid `TvxGrid` as a Qt widget. Its columns are set from a list
// of header texts; kinds, widths and layouts go through the grid.
class VX_QT_API QvxGrid : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QStringList columns READ columns WRITE setColumns)
  Q_PROPERTY(int columnWidth READ columnWidth WRITE setColumnWidth NOTIFY columnWidthChanged)
  Q_PROPERTY(bool hasHeaders READ hasHeaders WRITE setHasHeaders)
  Q_PROPERTY(bool hasInfoCol READ hasInfoCol WRITE setHasInfoCol)
  Q_PROPERTY(bool rowSelect READ rowSelect WRITE setRowSelect)
  Q_PROPERTY(bool multiSelect READ multiSelect WRITE setMultiSelect)
  Q_PROPERTY(bool extendLastColumnToWidth READ extendLastColumnToWidth WRITE setExtendLastColumnToWidth)
  Q_PROPERTY(bool userSortEnable READ userSortEnable WRITE setUserSortEnable)

public:
  explicit QvxGrid(QWidget* parent = nullptr);
  ~QvxGrid() override;
  TvxGrid* grid() const noexcept { return fGrid; }

  // The header texts of the column definitions; setting it adds or deletes
  // definitions at the end and renames the others.
  QStringList columns() const;
  void setColumns(const QStringList& v);
  // The width of the first column definition; setting it sizes them all.
  int columnWidth() const;
  void setColumnWidth(int v);
  bool hasHeaders() const;
  void setHasHeaders(bool v);
  bool hasInfoCol() const;
  void setHasInfoCol(bool v);
  bool rowSelect() const;
  void setRowSelect(bool v);
  bool multiSelect() const;
  void setMultiSelect(bool v);
  bool extendLastColumnToWidth() const;
  void setExtendLastColumnToWidth(bool v);
  bool userSortEnable() const;
  void setUserSortEnable(bool v);

  QSize sizeHint() const override { return {480, 240}; }

signals:
  // The user sized a column (its index among the columns shown).
  void columnResized(int column, int width);
  // The first column's width changed (by the user or through the property).
  void columnWidthChanged(int width);
  void topLeftChanged();
  void selectionChanged();
  void currentCellChanged(vx::TBabCell* cell);
  void cellRightClicked(vx::TBabCell* cell);
  void cellButtonClicked(vx::TBabCell* cell);

protected:
  void resizeEvent(QResizeEvent* e) override;

private:
  void Listen();

  TvxGrid* fGrid;
  TvxEventListeners fListeners;
  int fColumnWidth = 80;
};

// The tree bound to data lists, `TvxTree`, as a Qt widget.
class VX_QT_API QvxTree : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool showButtons READ showButtons WRITE setShowButtons)
  Q_PROPERTY(bool showLines READ showLines WRITE setShowLines)
  Q_PROPERTY(bool showRoot READ showRoot WRITE setShowRoot)
  Q_PROPERTY(bool rowSelect READ rowSelect WRITE setRowSelect)
  Q_PROPERTY(bool multiSelect READ multiSelect WRITE setMultiSelect)
  Q_PROPERTY(bool hideSelection READ hideSelection WRITE setHideSelection)
  Q_PROPERTY(bool readOnly READ readOnly WRITE setReadOnly)
  Q_PROPERTY(bool autoExpand READ autoExpand WRITE setAutoExpand)
  Q_PROPERTY(bool gridLines READ gridLines WRITE setGridLines)
  Q_PROPERTY(int indent READ indent WRITE setIndent)
  Q_PROPERTY(int itemHeight READ itemHeight WRITE setItemHeight)

public:
  explicit QvxTree(QWidget* parent = nullptr);
  ~QvxTree() override;
  TvxTree* tree() const noexcept { return fTree; }

  bool showButtons() const;
  void setShowButtons(bool v);
  bool showLines() const;
  void setShowLines(bool v);
  bool showRoot() const;
  void setShowRoot(bool v);
  bool rowSelect() const;
  void setRowSelect(bool v);
  bool multiSelect() const;
  void setMultiSelect(bool v);
  bool hideSelection() const;
  void setHideSelection(bool v);
  bool readOnly() const;
  void setReadOnly(bool v);
  bool autoExpand() const;
  void setAutoExpand(bool v);
  bool gridLines() const;
  void setGridLines(bool v);
  int indent() const;
  void setIndent(int v);
  // 0 goes back to the height the font needs.
  int itemHeight() const;
  void setItemHeight(int v);

  QSize sizeHint() const override { return {240, 320}; }

signals:
  void currentChanged(vx::TvxDataEntity_Tree* node);
  void selectionChanged(vx::TvxDataEntity_Tree* node);
  void nodeRightClicked(vx::TvxDataEntity_Tree* node);
  void nodeInserted(vx::TvxDataEntity_Tree* node);
  void nodeDeleted(vx::TvxDataEntity_Tree* node);
  void nodeValueChanged(vx::TvxDataEntity_Tree* node);
  void contentChanged();
  void topItemChanged();

protected:
  void resizeEvent(QResizeEvent* e) override;

private:
  void Listen();

  TvxTree* fTree;
  TvxEventListeners fListeners;
};

}  // namespace vx

Q_DECLARE_OPAQUE_POINTER(vx::TvxDataEntity_Kronit*)
Q_DECLARE_OPAQUE_POINTER(vx::TvxDataEntity_SchemaTime*)
Q_DECLARE_OPAQUE_POINTER(vx::TvxDataEntity_Tree*)
Q_DECLARE_OPAQUE_POINTER(vx::TBabCell*)
