#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <vxplan/core/vxEvent.h>
#include <vxplan/grid/vxBabGridView.h>
#include <vxplan/grid/vxGridAccessible.h>
#include <vxplan/grid/vxGridTree.h>

namespace vx {

class TvxGrid;
class TvxGrid_Column;
class TvxGrid_Columns;
class TvxGrid_SubGrid;
class TvxGrid_SubGrids;
class TvxCellLayout;
class TvxCellLayouts;

enum TColumnKind { tckSimpleEdit, tckMemo, tckBool, tckCombo, tckDate, tckTime, tckSubGrid, tckSubTree };

using TOnColumnSort =
    std::function<void(TvxGrid* aGrid, TvxGrid_Column* aColumn, bool aUpNotDown, bool& GoOnInternalSort)>;
using TOnInitTreeSubDataList = std::function<void(TvxGrid* aGrid, TvxGridTree* aGridTree,
                                                  TvxDataEntity_GridTreeNode* aDataEntity_GridTreeNode)>;
using TOnResizeEvent = std::function<void(TvxGrid* aGrid, int index)>;
using TOnGetUserSortCompareString =
    std::function<void(TvxGrid* aGrid, TvxGrid_Column* aSortingColumn, TBabCell* aBabcell, std::string& aCompareStr)>;
// aList holds the row items to sort; a handler that sorts them itself clears aDoDefaultSort.
using TOnUserSort = std::function<void(TvxGrid* aGrid, TvxGrid_Column* aSortingColumn,
                                       std::vector<TAxisContentItem*>& aList, bool& aDoDefaultSort)>;
using TOnCellEvent = std::function<void(TvxGrid* aGrid, TvxGrid_Column* aColumn, TBabCell* aBabCell)>;
using TOnGetIconIndex = std::function<int(TvxGrid* aGrid, TvxGrid_Column* aColumn, TBabCell* aBabCell)>;
using TOnGroupcellCompare =
    std::function<bool(TvxGrid* aGrid, TvxGrid_Column* aColumn, TBabCell* aBabCell1, TBabCell* aBabCell2)>;
using TOnContextSensitiveSubGrid = std::function<void(TvxGrid* aGrid, TAxisContentItem* aAxisContentItemY,
                                                      TvxGrid_Column* aColumn, std::string& SubGrid)>;
using TOnConvertNodeToStringKey =
    std::function<std::string(TvxGrid* aGrid, TvxDataEntity_GridTreeNode* aDataEntity_GridTreeNode)>;

// An owning, ordered collection of definitions.
template <class T>
class TvxItemCollection : public TObject {
public:
  int Count() const noexcept { return static_cast<int>(fItems.size()); }
  // Nil outside 0 .. Count-1.
  T* Item(int i) const { return i >= 0 && i < Count() ? fItems[static_cast<size_t>(i)].get() : nullptr; }
  int IndexOf(const T* theItem) const {
    for (size_t k = 0; k < fItems.size(); ++k)
      if (fItems[k].get() == theItem) return static_cast<int>(k);
    return -1;
  }
  // Nothing outside 0 .. Count-1.
  void Delete(int i) {
    if (i < 0 || i >= Count()) return;
    std::unique_ptr<T> gone = std::move(fItems[static_cast<size_t>(i)]);
    fItems.erase(fItems.begin() + i);
    gone.reset();
    Changed();
  }
  void Clear() {
    while (Count() > 0) Delete(Count() - 1);
  }

protected:
  T* Append(std::unique_ptr<T> theItem) {
    fItems.push_back(std::move(theItem));
    Changed();
    return fItems.back().get();
  }
  void MoveItem(int theFrom, int theTo) {
    if (theFrom == theTo || theFrom < 0 || theTo < 0 || theFrom >= Count() || theTo >= Count()) return;
    std::unique_ptr<T> item = std::move(fItems[static_cast<size_t>(theFrom)]);
    fItems.erase(fItems.begin() + theFrom);
    fItems.insert(fItems.begin() + theTo, std::move(item));
  }
  virtual void Changed() {}

  std::vector<std::unique_ptr<T>> fItems;
};

// The look of a cell, by name: its colours, font, frame and text flags. A
// cell points at the layout's property object, so a change shows at once.
class VX_API TvxCellLayout : public TObject {
public:
  explicit TvxCellLayout(TvxCellLayouts* theCollection);
  ~TvxCellLayout() override;

  virtual std::string GetDisplayName() const;
  int GetIndex() const;
  void Apply(TBabCell* theCell) const;
  static void Remove(TBabCell* theCell);
  TLayoutProp* GetLayoutProperty() const noexcept { return fLayoutProperty.get(); }

  const std::string& GetName() const noexcept { return fName; }
  void SetName(const std::string& v);
  TColor GetBackColor() const noexcept { return fBackColor; }
  void SetBackColor(TColor v);
  TColor GetFrontColor() const noexcept { return fFrontColor; }
  void SetFrontColor(TColor v);
  bool GetUseFontInfo() const noexcept { return fUseFontInfo; }
  void SetUseFontInfo(bool v);
  TFont* GetFont() noexcept { return &fFont; }
  void SetFont(const TFont& f);
  int GetMinWidth() const noexcept { return fMinWidth; }
  void SetMinWidth(int v);
  int GetMinHeight() const noexcept { return fMinHeight; }
  void SetMinHeight(int v);
  bool GetWrapTextAndFit() const noexcept { return fWrapTextAndFit; }
  void SetWrapTextAndFit(bool v);
  bool GetWindowsFlagDraw() const noexcept { return fWindowsFlagDraw; }
  void SetWindowsFlagDraw(bool v);
  unsigned GetWindowsFlags() const noexcept { return fWindowsFlags; }
  void SetWindowsFlags(unsigned v);
  bool GetFrameOptionsUse() const noexcept { return fFrameOptionsUse; }
  void SetFrameOptionsUse(bool v);
  TFrameOptions GetFrameOptions() const noexcept { return fFrameOptions; }
  void SetFrameOptions(TFrameOptions v);
  TFrameKind GetFrameKind() const noexcept { return fFrameKind; }
  void SetFrameKind(TFrameKind v);
  TColor GetFrameColor() const noexcept { return fFrameColor; }
  void SetFrameColor(TColor v);
  bool GetHorzAlignRight() const noexcept { return fHorzAlignRight; }
  void SetHorzAlignRight(bool v);
  bool GetHorzAlignCenter() const noexcept { return fHorzAlignCenter; }
  void SetHorzAlignCenter(bool v);
  bool GetVertAlignCenter() const noexcept { return fVertAlignCenter; }
  void SetVertAlignCenter(bool v);
  bool GetEndEllipsis() const noexcept { return fEndEllipsis; }
  void SetEndEllipsis(bool v);
  const TOnLineDraw& GetOnFrameLineDraw() const noexcept { return fOnFrameLineDraw; }
  void SetOnFrameLineDraw(TOnLineDraw v);

private:
  void CopyFont();
  void Changed();

  std::unique_ptr<TLayoutProp> fLayoutProperty;
  bool fWrapTextAndFit = false;
  bool fUseFontInfo = false;
  bool fWindowsFlagDraw = false;
  unsigned fWindowsFlags = 0;
  int fMinHeight = 20;
  int fMinWidth = 20;
  std::string fName;
  TColor fFrontColor = clWindowText;
  TColor fBackColor = clWindow;
  TFont fFont;
  TColor fFrameColor = clBtnFace;
  TFrameKind fFrameKind = fkNormal;
  TFrameOptions fFrameOptions{foRight};
  bool fFrameOptionsUse = false;
  TOnLineDraw fOnFrameLineDraw;
  bool fHorzAlignCenter = false;
  bool fHorzAlignRight = false;
  bool fVertAlignCenter = false;
  bool fEndEllipsis = false;
  TvxCellLayouts* fCollection;
};

class VX_API TvxCellLayouts : public TvxItemCollection<TvxCellLayout> {
public:
  explicit TvxCellLayouts(TvxGrid* theGrid) : fGrid(theGrid) {}
  TvxCellLayout* Add() { return Append(std::make_unique<TvxCellLayout>(this)); }
  TvxCellLayout* GetCellLayout(int i) const { return Item(i); }
  // The first layout of that name (upper case compared) is applied.
  void ApplyFromLayoutName(const std::string& theName, TBabCell* theCell) const;
  TvxGrid* GetGrid() const noexcept { return fGrid; }

private:
  TvxGrid* fGrid;
};

// One column of the grid (or of a sub-grid definition): how its cells are
// edited, shown, sorted and grouped.
class VX_API TvxGrid_Column : public TObject {
public:
  explicit TvxGrid_Column(TvxGrid_Columns* theCollection);
  ~TvxGrid_Column() override;

  // Copies Width, Kind, HeaderText, SortEnable, ReadOnly, SubGridName,
  // TreeButton, HasIcon, OnGetIconIndex and Hidden.
  virtual void Assign(const TvxGrid_Column& theSource);
  virtual std::string GetDisplayName() const;
  int GetIndex() const;
  // Moves the definition and its column items.
  virtual void SetIndex(int theIndex);
  virtual void SetHidden(bool v);
  virtual void SetSubGridName(const std::string& v);
  virtual void SetKind(TColumnKind v);

  int GetWidth() const noexcept { return fWidth; }
  void SetWidth(int v);
  TColumnKind GetKind() const noexcept { return fKind; }
  const std::string& GetHeaderText() const noexcept { return fHeaderText; }
  void SetHeaderText(const std::string& v);
  bool GetSortEnable() const noexcept { return fSortEnable; }
  void SetSortEnable(bool v) noexcept { fSortEnable = v; }
  bool GetReadOnly() const noexcept { return fReadOnly; }
  void SetReadOnly(bool v) noexcept { fReadOnly = v; }
  const std::string& GetSubGridName() const noexcept { return fSubGridName; }
  bool GetTreeButton() const noexcept { return fButton; }
  void SetTreeButton(bool v);
  bool GetHasIcon() const noexcept { return fHasIcon; }
  void SetHasIcon(bool v);
  const TOnGetIconIndex& GetOnGetIconIndex() const noexcept { return fOnGetIconIndex; }
  void SetOnGetIconIndex(TOnGetIconIndex v) { fOnGetIconIndex = std::move(v); }
  bool GetHidden() const noexcept { return fHidden; }
  const std::string& GetLayoutName() const noexcept { return fLayoutName; }
  void SetLayoutName(const std::string& v);
  bool GetGroupcells() const noexcept { return fGroupcells; }
  void SetGroupcells(bool v);
  bool GetNumericSort() const noexcept { return fNumericSort; }
  void SetNumericSort(bool v) noexcept { fNumericSort = v; }
  const TOnGroupcellCompare& GetOnGroupcellCompare() const noexcept { return fOnGroupcellCompare; }
  void SetOnGroupcellCompare(TOnGroupcellCompare v);
  const TOnContextSensitiveSubGrid& GetOnContextSensitiveSubGrid() const noexcept { return fOnContextSensitiveSubGrid; }
  void SetOnContextSensitiveSubGrid(TOnContextSensitiveSubGrid v) { fOnContextSensitiveSubGrid = std::move(v); }
  bool GetCheckBoxOnDateTime() const noexcept { return fCheckBoxOnDateTime; }
  void SetCheckBoxOnDateTime(bool v) noexcept { fCheckBoxOnDateTime = v; }

  // The live width: the column item's user size (what the user dragged it to).
  int GetRunTimeWidth();
  void SetRunTimeWidth(int theWidth);
  // The layout named LayoutName; looked up again after LayoutName changes.
  TLayoutProp* GetLayoutProp();
  // A layout goes: the column looks its layout up again.
  void ForgetLayoutProp(const TLayoutProp* theProp) {
    if (fLayoutProp != theProp) return;
    fLayoutProp = nullptr;
    fLayoutPropertyOutOfDate = true;
  }
  TvxGrid* GetGrid() const noexcept { return fGrid; }
  TvxGrid_SubGrid* GetSubGrid() const noexcept { return fSubGrid; }
  TvxGrid_Columns* GetCollection() const noexcept { return fCollection; }

private:
  void AskRebuildExtents();

  TColumnKind fKind = tckSimpleEdit;
  std::string fHeaderText;
  int fWidth = 64;
  bool fSortEnable = false;
  bool fReadOnly = false;
  bool fButton = false;
  bool fHasIcon = false;
  TOnGetIconIndex fOnGetIconIndex;
  bool fHidden = false;
  std::string fLayoutName;
  bool fLayoutPropertyOutOfDate = false;
  bool fGroupcells = false;
  TOnGroupcellCompare fOnGroupcellCompare;
  bool fNumericSort = false;
  TOnContextSensitiveSubGrid fOnContextSensitiveSubGrid;
  bool fCheckBoxOnDateTime = false;
  TvxGrid* fGrid;
  TvxGrid_SubGrid* fSubGrid;
  std::string fSubGridName;
  TLayoutProp* fLayoutProp = nullptr;
  TvxGrid_Columns* fCollection;
};

class VX_API TvxGrid_Columns : public TvxItemCollection<TvxGrid_Column> {
public:
  TvxGrid_Columns(TvxGrid* theGrid, TvxGrid_SubGrid* theSubGrid) : fGrid(theGrid), fSubGrid(theSubGrid) {}
  TvxGrid_Column* Add() { return Append(std::make_unique<TvxGrid_Column>(this)); }
  TvxGrid_Column* GetColumn(int i) const { return Item(i); }
  TvxGrid* GetGrid() const noexcept { return fGrid; }
  TvxGrid_SubGrid* GetSubGrid() const noexcept { return fSubGrid; }
  bool GetCellVisibiltyOutOfDate() const noexcept { return fCellVisibiltyOutOfDate; }
  void SetCellVisibiltyOutOfDate(bool v) noexcept { fCellVisibiltyOutOfDate = v; }

protected:
  void Changed() override;

private:
  friend class TvxGrid_Column;
  bool fCellVisibiltyOutOfDate = false;
  TvxGrid* fGrid;
  TvxGrid_SubGrid* fSubGrid;
};

// A whole grid nested in the cells of tckSubGrid and tckSubTree columns.
class VX_API TvxGrid_SubGrid : public TObject {
public:
  explicit TvxGrid_SubGrid(TvxGrid_SubGrids* theCollection);
  ~TvxGrid_SubGrid() override;

  virtual std::string GetDisplayName() const;
  int GetIndex() const;
  void Assign(const TvxGrid_SubGrid& theSource);
  const std::string& GetName() const noexcept { return fName; }
  void SetName(const std::string& v) { fName = v; }
  TvxGrid_Columns* GetColumns() const noexcept { return fvxGrid_Columns.get(); }
  bool GetHasHeaders() const noexcept { return fHasHeaders; }
  void SetHasHeaders(bool v) noexcept { fHasHeaders = v; }
  bool GetHasInfoCol() const noexcept { return fHasInfoCol; }
  void SetHasInfoCol(bool v) noexcept { fHasInfoCol = v; }
  bool GetExtendLastColumnToWidth() const noexcept { return fExtendLastColumnToWidth; }
  void SetExtendLastColumnToWidth(bool v) noexcept { fExtendLastColumnToWidth = v; }
  // The nested grid cells built from this definition now.
  const std::vector<TBabGridCell*>& GetSpawnedGridCells() const noexcept { return fSpawnedGridCells; }
  void AddSpawned(TBabGridCell* theCell);
  void RemoveSpawned(TBabGridCell* theCell);

private:
  std::unique_ptr<TvxGrid_Columns> fvxGrid_Columns;
  std::string fName;
  bool fHasInfoCol = true;
  bool fHasHeaders = true;
  bool fExtendLastColumnToWidth = false;
  std::vector<TBabGridCell*> fSpawnedGridCells;
  TvxGrid_SubGrids* fCollection;
};

class VX_API TvxGrid_SubGrids : public TvxItemCollection<TvxGrid_SubGrid> {
public:
  explicit TvxGrid_SubGrids(TvxGrid* theGrid) : fGrid(theGrid) {}
  TvxGrid_SubGrid* Add() { return Append(std::make_unique<TvxGrid_SubGrid>(this)); }
  TvxGrid_SubGrid* GetSubGrid(int i) const { return Item(i); }
  // Upper case compared; the last of that name wins; nil when none.
  TvxGrid_SubGrid* SubGridByName(const std::string& theName) const;
  TvxGrid* GetGrid() const noexcept { return fGrid; }

private:
  TvxGrid* fGrid;
};

// The data of the column grid's grid cells: a grid cell may keep its rows as
// a tree, which it owns.
class VX_API TBabSubGridCellDataTreeRef : public TBabSubGridCellData {
public:
  ~TBabSubGridCellDataTreeRef() override;
  bool GetUseGridTree() const noexcept { return fUseGridTree; }
  void SetUseGridTree(bool theValue);
  TvxGridTree* GetGridTree() const noexcept { return fGridTree.get(); }
  TvxGrid_SubGrid* GetSpawnedBy() const noexcept { return fSpawnedBy; }

private:
  friend class TvxGrid;
  friend class TvxGrid_SubGrid;
  bool fUseGridTree = false;
  std::unique_ptr<TvxGridTree> fGridTree;
  TvxGrid_SubGrid* fSpawnedBy = nullptr;  // the definition whose spawned list holds the cell
  TBabGridCell* fSpawnedCell = nullptr;
};

// Where a grid's own rows get their content when something other than the
// application fills them (the item-model binding of the Qt face is one). The
// grid asks it as cells of its own rows are made, whether such a cell may be
// edited and whether an edit is taken; the rows it may load and unload at
// will. Headers and nested grids stay the grid's. Not owned by the grid.
class VX_API TvxGridContentSource {
public:
  virtual ~TvxGridContentSource() = default;
  // A cell of the grid's own rows is made: its text, check box and look.
  virtual void FillCell(TBabSimpleCellStringData* theData) = 0;
  virtual bool CanEditCell(TBabCell* theCell) = 0;
  // An edit of the cell ends with theText: false keeps the cell as it was;
  // theText may be rewritten. May call out: the cell may be gone after.
  virtual bool WriteCell(TBabCell* theCell, std::string& theText) = 0;
  // A row of the grid's own was loaded (its cells come when it shows).
  virtual void RowLoaded(TAxisContentItem*) {}
};

// The column grid: a grid view whose columns come from definitions, whose
// cells take named layouts, nest whole grids, sort by a header click and
// may hold a tree in their rows. Its handlers may delete as the view's may
// (definitions and layouts too); the grid itself only through deleteLater().
class VX_API TvxGrid : public TBabGridView_Custom {
public:
  explicit TvxGrid(TComponent* AOwner);
  // As a Qt child of theParent, owned by the nearest component around it.
  template <QtParentWidget W>
  explicit TvxGrid(W* theParent) : TvxGrid(OwnerFromQtParent(theParent)) {
    AdoptQtParent(theParent);
  }
  // For descendants with factories of their own: construct with this and
  // call Initialize at the end of the descendant's constructor.
  struct DeferInitialize {};
  TvxGrid(TComponent* AOwner, DeferInitialize);
  ~TvxGrid() override;

  // --- columns
  TvxGrid_Columns* GetColumns() const noexcept { return fvxGrid_Columns.get(); }
  TvxGrid_SubGrids* GetSubGrids() const noexcept { return fSubGrids.get(); }
  TvxCellLayouts* GetCellLayouts() const noexcept { return fCellLayouts.get(); }
  // A new definition; the first one builds the columns at once.
  TvxGrid_Column* AddColumn();
  void NeedEnsureFixed();
  void EnsureFixed();
  void InitColumnsAndFixed(TBabGridCell* theGridCell, TvxGrid_Columns* theColumns, bool theHasHeaders,
                           bool theHasInfoCol);
  void UpdateColumnsVisibility(TvxGrid_Columns* theColumns);
  TvxGrid_Column* CellToColumn(TBabCell* theCell) const;
  static TvxGrid_Column* AxisContentItemToColumn(const TAxisContentItem* theItem);
  // The column item of a definition of the grid's own columns; nil otherwise.
  TAxisContentItem* ColumnToAxisContentItem(TvxGrid_Column* theColumn) const;
  bool GetHasHeaders() const noexcept { return fHasHeaders; }
  virtual void SetHasHeaders(bool v);
  bool GetHasInfoCol() const noexcept { return fHasInfoCol; }
  virtual void SetHasInfoCol(bool v);
  bool GetExtendLastColumnToWidth() const noexcept { return fExtendLastColumnToWidth; }
  void SetExtendLastColumnToWidth(bool v);
  bool GetNeedEnsureFixed() const noexcept { return fNeedEnsureFixed; }

  // --- rows and cells
  TAxisContentItem* AddRow(TObject* theValue);
  TAxisContentItem* InsertRow(int theIndex, TObject* theValue);
  // Nil when the cell is not a grid cell.
  TAxisContentItem* AddRowInSubGrid(TBabCell* theGridCell, TObject* theValue);
  TAxisContentItem* InsertRowInSubGrid(TBabCell* theGridCell, int theIndex, TObject* theValue);
  TBabCell* GetCell(int x, int y);
  int GetCellCountX() const;
  int GetCellCountY() const;
  int GetRowHeight(int i);
  void SetRowHeight(int i, int h);
  TBabCell* GetTopLeftCell();
  void SetTopLeftCell(TBabCell* theCell);
  TBabCell* GetFocusedCell() const;
  void SetFocusedCell(TBabCell* theCell);
  TBabCell* GetCellAtPixel(int x, int y);

  // --- sorting
  // Sorts by the column (without the header's sort symbol).
  void SortColumn(int theIndex, bool theUpNotDown);
  void DoSortCell(TBabCell* theHeaderCell, bool theUpNotDown) override;
  virtual void DoInternalResortOfContent();
  void InternalSortList(std::vector<TAxisContentItem*>& theList);
  virtual std::string GetSortString(TAxisContentItem* theRowItem, bool& isNegative);
  TvxGrid_Column* GetSortingColumn() const noexcept { return fSortingColumn; }
  bool GetSortUpNotDown() const noexcept { return fSortUpNotDown; }

  // --- the tree in the rows
  TvxGridTree* GetTree() const;
  TvxGridTree* GetTreeInSubGrid(TBabCell* theCell) const;
  bool GetUseTree() const;
  void SetUseTree(bool theValue);
  bool GetUseTreeInSubGrid(TBabCell* theCell) const;
  void SetUseTreeInSubGrid(TBabCell* theCell, bool theValue);
  static TvxDataEntity_GridTreeNode* CellToNode(const TBabCell* theCell);
  static TvxDataEntity_GridTreeNode* AxisContentItemToGridTreeNode(const TAxisContentItem* theItem);
  TvxDataEntity_GridTreeNode* GetCurrentNode() const;
  virtual TvxGridTree* CreateGridTree(TOnTreeControllerCallBackInitSubList theInitSubList);
  void ExpandedStateSave(TOnConvertNodeToStringKey theConvert = nullptr);
  void ExpandedStateRestore(TOnConvertNodeToStringKey theConvert = nullptr);
  const std::vector<std::pair<std::string, int>>& GetExpandStateStringList() const noexcept {
    return fExpandStateStringList;
  }
  bool GetIsExpanding() const noexcept { return fIsExpanding; }

  // Tree buttons, lines, indentation and icons from the nodes (unless the
  // matching event answers).
  bool IsButtonExpanded(TBabCell* theCell) override;
  bool IsButtonTerminal(TBabCell* theCell) override;
  TBabCell* GetParentButtonCell(TBabCell* theCell) override;
  bool ButtonHasNonHiddenChildren(TBabCell* theCell) override;
  int CellInset(TBabCell* theCell) override;
  bool CellHasIcon(TBabCell* theCell) override;
  int CellIconIndex(TBabCell* theCell) override;
  void DoButtonAction(TBabCell* theCell) override;

  // Refreshes now when the columns or the layout wait for an update.
  void RedrawIfNeeded();
  void InitEditCombo(const std::vector<std::string>& theItems, int theItemIndex);

  // Nil for none: the application fills the cells (OnInitContent).
  TvxGridContentSource* GetContentSource() const noexcept { return fContentSource; }
  void SetContentSource(TvxGridContentSource* theSource) noexcept { fContentSource = theSource; }

  TObject* GetIntegrationOwner() const noexcept { return fIntegrationOwner; }
  void SetIntegrationOwner(TObject* v) noexcept { fIntegrationOwner = v; }
  bool GetUserSortEnable() const noexcept { return fUserSortEnable; }
  void SetUserSortEnable(bool v) noexcept { fUserSortEnable = v; }

  TOnColumnSort OnColumnSort;
  // For the control that hosts the grid: asked before OnColumnSort, which
  // stays the application's.
  void SetHostColumnSort(TOnColumnSort theListener) { fHostColumnSort = std::move(theListener); }
  TOnInitTreeSubDataList OnInitTreeSubDataList;
  TvxEventOf<TOnResizeEvent> OnColumnResized;
  TOnResizeEvent OnRowResized;
  TOnGetUserSortCompareString OnGetUserSortCompareString;
  TOnUserSort OnUserSort;
  TOnCellEvent OnBeforeEditWithCombo;

  // Made when an accessibility client first asks.
  TvxAccessibleContent* AccessibleContent() override;

protected:
  // Room for the parts with a few rows; the least keeps each part usable.
  TPoint PreferredSize() const override;
  TPoint MinimumSize() const override;
  virtual void Initialize();
  // Notifications of definitions made and going (nothing here).
  virtual void _ColumnDestroy(TvxGrid_Column*) {}
  virtual void _ColumnCreated(TvxGrid_Column*) {}
  virtual void _CellLayoutDestroy(TvxCellLayout*) {}
  virtual void _CellLayoutCreated(TvxCellLayout*) {}
  virtual void DestroyColumns();
  virtual TvxGrid_Columns* CreateColumnsCollection(TvxGrid_SubGrid* theSubGrid);
  virtual TvxGrid_SubGrids* CreateSubGridsCollection();
  virtual TvxCellLayouts* CreateCellLayoutsCollection();
  virtual void _InitTreeSubDataList(TvxGridTree* theTree, TvxDataEntity_GridTreeNode* theNode);

  // The view's hooks.
  void InitContent(TBabSimpleCellStringData* theData) override;
  void initSubGridContent(TBabSubGridCellData* theData) override;
  void PreDrawGetStringAndSetAttributes(TBabCell* theCell, TBabDrawStateSet theState, std::string& theText,
                                        bool& theValue, bool& theIsText) override;
  bool CheckSortAllow(TBabCell* theCell) override;
  void UserSizeChanged(TAxisContentItem* theItem) override;
  bool GetExpandLastColumnIfShort() const override;
  int GetWidthOffAxisContentItemForHeightCalculation(TBabGridCell* theGridCell, TAxisContentItem* theItem) override;
  bool _OnCheckCellGrouping(TBabCell* theCellAbove, TBabCell* theCell) override;
  void _OnVirtualLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn) override;
  void _OnVirtualUnLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn,
                        bool theUnloadPerform, bool& theCanUnload) override;
  void _OnKeepAfterUnLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn,
                          bool& theKeepAfterUnload) override;
  void _OnUnloadIntervall(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn, int& theStart,
                          int& theStop) override;
  void _OnDeleteOfUnloaded(TBabGridCell* theCaller, bool theRowNotColumn, int& theStart, int& theStop) override;
  void _OnAxisItemRemoved(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn) override;
  void InitEditor(TControl* theEditor, TBabCell* theCell, std::string& theText) override;
  bool EditorCanModifyDefaultValue(TBabCell* theCell) override;
  bool EditorCanModify(TBabCell* theCell) override;
  bool AcceptEditedText(TBabCell* theCell, std::string& theText) override;
  void HardViewParamsUpdate() override;
  void TopLeftChanged() override;
  void OffscreenPaint() override;
  void Resize() override;

private:
  std::unique_ptr<TGridAccessible> fAccessible;
  TOnColumnSort fHostColumnSort;
  TvxGridContentSource* fContentSource = nullptr;
  // A cell of the grid's own rows (not a header, not in a nested grid).
  bool IsOwnContentCell(const TBabCell* theCell) const;
  friend class TvxGrid_Column;
  friend class TvxGrid_SubGrid;
  friend class TBabSubGridCellDataTreeRef;
  friend class TvxCellLayout;
  friend class TvxGrid_Columns;
  friend class TvxCellLayouts;
  TBabCellType _OnCreateCell(TBabGridCell* theCaller, TAxisContentItem* theX, TAxisContentItem* theY);
  // A definition goes: what refers to it forgets it.
  void ForgetColumn(TvxGrid_Column* theColumn);
  void ForgetLayout(TLayoutProp* theProp);
  void DoChooseEditor(TBabSimpleCellStringData* theData, TBabEditorType& theChoice);
  void InitSubGrid(TBabSubGridCellDataTreeRef* theData);
  TvxGrid_SubGrid* ColumnToSubGrid(TAxisContentItem* theRowItem, TvxGrid_Column* theColumn);
  TvxGridTree* TreeOf(const TBabGridCell* theGridCell) const;
  void ExtendLastColumnToWidth_Async(TObject*);
  void ExtendLastColumn(TBabGridCell* theGridCell);
  void ClearExpandedStateAlreadySavedFlag(TObject*);
  void RestoreLevel(int theLevel, const TOnConvertNodeToStringKey& theConvert);
  std::string NodeKey(TvxDataEntity_GridTreeNode* theNode, const TOnConvertNodeToStringKey& theConvert);
  std::string _DefaultNodeToString(TvxDataEntity_GridTreeNode* theNode);
  void LoadAllRows(TAxisContentList* theRows);
  void FlatSort();
  void TreeSort(TvxGridTree* theTree);
  void SortNodes(TvxDataList* theList, std::vector<TAxisContentItem*>& theOrder);

  bool fHasInfoCol = true;
  bool fHasHeaders = true;
  bool fExtendLastColumnToWidth = false;
  bool fUserSortEnable = false;
  std::unique_ptr<TvxCellLayouts> fCellLayouts;
  TObject* fIntegrationOwner = nullptr;
  std::vector<std::pair<std::string, int>> fExpandStateStringList;  // key and level
  bool fExpandedStateAlreadySaved = false;
  std::unique_ptr<TvxGrid_Columns> fvxGrid_Columns;
  bool fNeedEnsureFixed = false;
  TvxGrid_Column* fSortingColumn = nullptr;
  bool fSortUpNotDown = false;
  int fLastKnownLeft = -1;
  std::unique_ptr<TvxGrid_SubGrids> fSubGrids;
  bool fIsExpanding = false;
  bool fBuildingColumns = false;  // sizes set by the definitions are no user's resize
};

}  // namespace vx
