#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vector>

#include <vxplan/platform/ui/ComCtrls.h>
#include <vxplan/platform/ui/Grids.h>
#include <vxplan/schema/vxSchemaItems.h>

namespace vx {

class TvxSchema_ComBasic;
class TDataListColumns;
class TvxDataEntity_SchemaColumn;
class TvxDataEntity_SchemaTime;
class TDrawGrid_Schema;
class TPopupMenu;

// The column header of the normal orientation. A left press on a column
// starts a drag of the header (the header drag events apply); a press near a
// column's edge does not, the header sizes the column there.
class VX_API THeaderControl_MouseControl : public THeaderControl {
public:
  explicit THeaderControl_MouseControl(TComponent* AOwner) : THeaderControl(AOwner) {}
  TDataListColumns* itsDataListColumns = nullptr;
  // Set once the schedule is built; until then the header tells it nothing.
  TvxSchema_ComBasic* itsSchema = nullptr;

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  // The columns follow the sections; OnResize and OnSectionResize stay the
  // application's.
  void Resize() override;
  void SectionResize(THeaderSection* theSection) override;  // The schedule's header drag events, after the control's own events.
  void DoStartDrag(TObject*& DragObject) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;
};

// The column titles of the flipped orientation: one row per column, drawn in
// the fixed first column.
class VX_API TDrawGrid_Schema : public TDrawGrid {
public:
  explicit TDrawGrid_Schema(TComponent* AOwner) : TDrawGrid(AOwner) {}
  TDataListColumns* itsDataListColumns = nullptr;
  // Set once the schedule is built; until then the grid tells it nothing.
  TvxSchema_ComBasic* itsSchema = nullptr;
  // Raised after every change of a row height or column width.
  TNotifyEvent itsOnCellExtentChange;

protected:
  // The schedule's header drag events, after the control's own events.
  void DoStartDrag(TObject*& DragObject) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;
  // As the header's, along y.
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void RowHeightsChanged() override;
  void ColWidthsChanged() override;
  // The titles and the area follow; OnDrawCell and OnTopLeftChanged stay the
  // application's.
  void DrawCellContent(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  void TopLeftChanged() override;
};

// The list of columns. It keeps the header's sections and the title grid's
// rows in step with the columns (one each, at the column's index) and knows
// the columns' pixel spans along the column axis.
class VX_API TDataListColumns : public TvxDataList {
public:
  // Columns are at most this large (a header section's largest width).
  static constexpr int kMaxColumnSize = 10000;
  THeaderControl_MouseControl* GetHeaderControl() const noexcept { return itsHeaderControl; }
  TDrawGrid_Schema* GetFlippedHeader() const noexcept { return itsFlippedHeader; }
  TvxSchema_ComBasic* GetSchema() const noexcept { return itsSchema; }
  // Nil outside 0 .. Count-1.
  TvxDataEntity_SchemaColumn* GetColumn(int i);
  int GetVisibleDefaultWidth() const noexcept { return itsVisibleDefaultWidth; }
  int GetVisibleDefaultHeight() const noexcept { return itsVisibleDefaultHeight; }
  int GetResizeCell() const noexcept { return itsResizeCell; }
  void SetResizeCell(int theCell) noexcept { itsResizeCell = theCell; }

  // The first shown column; the columns before it have size 0.
  int GetTopLeftCol() const;
  void SetTopLeftCol(int N);
  // The far edge of Col on the column axis, counted from the top-left column
  // (each flipped row adds its grid line); 0 for a column before it.
  int GetFarSideOffset_FW(bool theFlipped, int theCol);
  int GetFarSideOffset(int theCol);
  // The column under a pixel of the column axis (see the control's
  // PixelToColumn).
  int PixelToColumn_FW(bool theFlipped, int thePixel);
  // The live size of a column: its section's width, or its row's height.
  int LiveSize(bool theFlipped, int theCol);
  // Sum of the columns' live sizes in an orientation.
  int GetColumnSpace_FW(bool theFlipped);
  // The size a column shows at: its own, or what its sub-columns need (see
  // the control's SubColumnSize), at most kMaxColumnSize.
  int ShownSize(TvxDataEntity_SchemaColumn* theColumn, bool theFlipped) const;
  // Gives a shown column its shown size again in both orientations.
  void ShowSize(int theCol);
  bool WillFit(const std::string& theText, int theCol);

  // Column resizing: the new size goes to the resized column, or to all.
  void HeaderCellReSize(int NewSize);
  void HeaderControlSectionResize(THeaderControl* HeaderControl, THeaderSection* Section);
  void FlippedHeaderResize(TObject* Sender);
  void ChangeTopLeft(TObject* Sender);
  void DrawFlippedCell(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State);

  // The header's (or, flipped, the title grid's) last press: the column under
  // it and whether it was within 5 pixels of that column's edges.
  int GetDownHeaderCell() const noexcept { return itsDownHeaderCell; }
  TPoint GetMouseDownPoint() const noexcept { return itsMouseDownPoint; }
  bool GetInResizeArea() const noexcept { return itsInResizeArea; }
  // Notes a press at thePos along the column axis.
  void HeaderMouseDown(bool theFlipped, int thePos, TPoint thePoint);

  virtual void _OnColumnsContentChanged(TvxDataList* theList);
  virtual void _OnColumnsSelectionChanged(TvxDataList* theList, TvxDataEntity* theEntity);
  virtual void _OnColumnsDeleteItem(TvxDataEntity* theEntity);
  virtual void _OnColumnsInsertItem(TvxDataEntity* theEntity);
  virtual void _OnColumnsInfoPush(TvxDataEntity* theEntity);
  void _OnHandlePerformedMove(TvxDataEntity* theEntity, int theOldIndex, int theNewIndex);

protected:
  ~TDataListColumns() override = default;

private:
  friend class TvxSchema_ComBasic;
  friend class TvxDataEntity_SchemaColumn;
  // Columns before N get size 0, the others their own sizes; the title grid
  // and the scroller stand at N.
  void ApplyTopLeft(int N);
  // The size rule: the new size of one column, decided with the application.
  void ApplySize(int theInitiatingColumn, int theColumn, int NewSize, bool theFlipped);
  // Running far edges of every column (live sizes), rebuilt when a size changes.
  const std::vector<int>& FarEdges(bool theFlipped);

  THeaderControl_MouseControl* itsHeaderControl = nullptr;
  TDrawGrid_Schema* itsFlippedHeader = nullptr;
  TvxSchema_ComBasic* itsSchema = nullptr;
  int itsDownHeaderCell = -1;
  TPoint itsMouseDownPoint{};
  int itsResizeCell = 0;
  bool itsInResizeArea = false;
  bool itsSettingTopLeft = false;
  int itsVisibleDefaultWidth = 50;
  int itsVisibleDefaultHeight = 18;

  struct TEdgeCache {
    unsigned stamp = 0;
    int count = -1;
    std::vector<int> far;
  };
  TEdgeCache fWidthEdges;
  TEdgeCache fHeightEdges;
};

}  // namespace vx
