#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/core/vxEntityWindow.h>
#include <vxplan/core/vxEventHandling.h>
#include <vxplan/core/vxHolding.h>
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/rtl/Color.h>
#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/Object.h>
#include <vxplan/platform/rtl/Set.h>
#include <vxplan/platform/rtl/Types.h>
// Qt-free declarations only: the shift state and font styles the view hands in.
#include <vxplan/platform/ui/Graphics.h>
#include <vxplan/platform/ui/Messages.h>

namespace vx {

class TCanvas;
class TBabCell;
class TBabGridCell;
class TBabGridCellForViewer;
class TAxisContentItem;
class TAxisContentList;
class TCellMatris;

enum TBabDrawState { babFixed, babSelected, babFocused };
using TBabDrawStateSet = TSet<TBabDrawState>;

enum TBabDirection {
  babdirNone,
  babdirLeft,
  babdirRight,
  babdirUp,
  babdirDown,
  babdirInwards,
  babdirPageUp,
  babdirPageDown,
  babdirHomeRow,
  babdirEndRow,
  babdirHomeCell,
  babdirEndCell
};

enum TBabCellType { babCellTypeSimple, babCellTypeGrid };

enum TFrameOption { foLeft, foRight, foTop, foBottom };
using TFrameOptions = TSet<TFrameOption>;
enum TFrameKind { fkNormal, fk3d };

class TLayoutProp;

// The largest width of a column or height of a row, in pixels: sizes given
// by the host or the user are kept within 0 .. kMaxItemSize, so that sums of
// them cannot overflow.
constexpr int kMaxItemSize = 100000;

// Draws one frame line of a layout; clearing aDoDefaultDraw skips the default line.
using TOnLineDraw = std::function<void(TLayoutProp* theLayoutProp, TFrameOption theFrameOption, TBabCell* theBabCell,
                                       TRect theRect, TPoint theStart, TPoint theStop, bool& aDoDefaultDraw,
                                       TCanvas* theCanvas)>;

// The visual properties a cell refers to. Owned by a column or cell layout or
// by the view, never by the cell.
class VX_API TLayoutProp : public TObject {
public:
  std::string Name;
  TColor BackColor = clWindow;
  TColor FrontColor = clWindowText;
  bool UseFontInfo = false;
  TColor FontColor = clWindowText;
  std::string FontName;
  int FontSize = 8;
  TFontStyles FontStyle;
  int MinWidth = 20;
  int MinHeight = 20;
  bool WrapTextAndFit = false;
  bool FlagDraw = false;
  unsigned Flags = 0;
  TFrameOptions FrameOptions;
  TFrameKind FrameKind = fkNormal;
  TColor FrameColor = clBlack;
  bool FrameOptionsUse = false;
  bool HorzAlignRight = false;
  bool HorzAlignCenter = false;
  bool VertAlignCenter = false;
  bool EndEllipsis = false;
  TOnLineDraw OnFrameLineDraw;
  // The handler of the column layout that owns this one, asked first;
  // OnFrameLineDraw stays the application's own.
  TOnLineDraw ColumnFrameLineDraw;
};

// The value object of a cell, created with the cell and freed with it.
// Descendants are made through class references, so they need a default
// constructor; InitContent runs once the cell has both of its axis items.
class VX_API TBabCellData : public TObject {
public:
  TBabCellData() = default;
  virtual void InitContent() {}

  TAxisContentItem* GetAxisContentItemX() const;
  TAxisContentItem* GetAxisContentItemY() const;
  TBabCellType GetBabCellType() const;
  TBabCell* GetBabCell() const noexcept { return fBabCell; }
  TObject* GetUserReference() const noexcept { return fUserReference; }
  void SetUserReference(TObject* theValue) noexcept { fUserReference = theValue; }

private:
  friend class TBabCell;
  TBabCell* fBabCell = nullptr;
  TObject* fUserReference = nullptr;  // the host's; never freed here
};

class VX_API TBabSimpleCellData : public TBabCellData {};
class VX_API TBabGridCellData : public TBabCellData {};
using TBabSimpleCellDataClass = TMetaClass<TBabSimpleCellData>;
using TBabGridCellDataClass = TMetaClass<TBabGridCellData>;

// A user size shared between axis items (the host's; the grid never creates one).
class VX_API TUserSizeItem : public TObject {
public:
  bool GetUserSizeActive() const noexcept { return fUserSizeActive; }
  void SetUserSizeActive(bool theValue) noexcept { fUserSizeActive = theValue; }
  int GetUserSize() const noexcept { return fUserSize; }
  void SetUserSize(int theValue) noexcept { fUserSize = theValue; }

private:
  bool fUserSizeActive = false;
  int fUserSize = 0;
};

// Hooks of the outermost grid cell.
using TOnInternalSelectionChanged = std::function<void(TBabGridCell* theCaller, TBabCell* theBabCell, bool theValue)>;
using TOnCellRectTampering = std::function<void(TBabGridCell* theCaller, TBabCell* theBabCell, TRect& theRect)>;
using TOnScaleRect = std::function<void(TRect& theRect)>;
using TOnDeInitCell = std::function<void(TBabCell* theCell)>;
using TOnCheckCellGrouping = std::function<bool(TBabCell* aGroupingCell, TBabCell* aTestCell)>;
using TOnVirtualLoad =
    std::function<void(TBabGridCell* theCaller, TAxisContentItem* theAxisItem, bool theRowNotColumn)>;
using TOnVirtualUnLoad = std::function<void(TBabGridCell* theCaller, TAxisContentItem* theAxisItem,
                                            bool theRowNotColumn, bool UnloadPerform, bool& CanUnload)>;
using TOnKeepAfterUnloadCheck = std::function<void(TBabGridCell* theCaller, TAxisContentItem* theAxisItem,
                                                   bool theRowNotColumn, bool& KeepAfterUnload)>;
using TOnUnloadIntervall = std::function<void(TBabGridCell* theCaller, TAxisContentItem* theAxisItem,
                                              bool theRowNotColumn, int& Start, int& Stop)>;
using TOnDeleteOfUnloaded =
    std::function<void(TBabGridCell* theCaller, bool theRowNotColumn, int& Start, int& Stop)>;
// An item leaves its axis and is freed (dropped, or unloaded after the unload hooks).
using TOnAxisItemRemoved =
    std::function<void(TBabGridCell* theCaller, TAxisContentItem* theAxisItem, bool theRowNotColumn)>;
using TOnCreateCell = std::function<TBabCellType(TBabGridCell* theCaller, TAxisContentItem* theXAxisItem,
                                                 TAxisContentItem* theYAxisItem)>;
using TOnMeasureHeight = std::function<void(TBabGridCell* theCaller, TBabCell* theBabCell, int& theHeight)>;
using TOnInitCellData = std::function<void(TBabGridCell* theCaller, TBabCellData* theCellData)>;
using TOnDrawBabCell = std::function<void(TRect theDrawRect, TBabCell* theBabCell, TBabDrawStateSet theBabDrawState)>;

// One column or one row of a grid cell.
//
// An item is an entity of its axis: it keeps its place in a TvxEntityWindow as
// a data list's entities do, so its index is read lazily the same way and an
// edit never renumbers the rest of the axis. Only the axis creates and frees
// items; the data-entity members that make no sense here are hidden.
class VX_API TAxisContentItem : public TvxDataEntity {
public:
  TAxisContentItem(TObject* theValue, TAxisContentList* theAxisContentList);

  // Real index in the axis; -1 once the item has left it.
  int ListIndex() const;
  // Position in the axis's loaded list; -1 once the item has left it.
  int LoadedListIndex() const;

  TObject* GetValue() const noexcept { return fValue; }
  // For load handlers, which fill the blank items a load creates.
  void SetValue(TObject* theValue) noexcept { fValue = theValue; }
  TObject* GetValue2() const noexcept { return fValue2; }
  void SetValue2(TObject* theValue) noexcept { fValue2 = theValue; }
  TAxisContentList* GetAxisContentList() const noexcept { return fAxisContentList; }

  bool GetHide() const noexcept { return fHide; }
  void SetHide(bool theValue);

  int GetCalculatedSize() const noexcept { return fCalculatedSize; }
  void SetCalculatedSize(int theValue) noexcept { fCalculatedSize = theValue; }
  int GetAcumSize() const noexcept { return fAcumSize; }
  void SetAcumSize(int theValue) noexcept { fAcumSize = theValue; }
  bool GetIsOnScreen() const noexcept { return fIsOnScreen; }

  int GetUserSize() const noexcept;
  bool GetUserSizeActive() const noexcept;
  void SetUserSize(int theValue);
  void SetUserSizeActive(bool theValue) noexcept;
  TUserSizeItem* GetUserSizeItem() const noexcept { return fUserSizeItem; }
  void SetUserSizeItem(TUserSizeItem* theValue) noexcept { fUserSizeItem = theValue; }

private:
  using TvxDataEntity::ChangeOwner;
  using TvxDataEntity::GetSelected;
  using TvxDataEntity::Move;
  using TvxDataEntity::SetSelected;

  friend class TAxisContentList;
  friend class TBabGridCell;
  ~TAxisContentItem() override = default;

  TObject* fValue;
  TObject* fValue2 = nullptr;
  TAxisContentList* fAxisContentList;
  int fCalculatedSize = 0;
  int fAcumSize = 0;
  int fUserSize = 0;
  bool fUserSizeActive = false;
  TUserSizeItem* fUserSizeItem = nullptr;
  bool fHide = false;
  bool fIsOnScreen = false;
};

// One axis of a grid cell. Real indexes run over the fixed items, the front
// gap of unloaded items, the loaded window and the back gap; the loaded list
// holds the fixed items first, then the window.
class VX_API TAxisContentList : public TObject {
public:
  // A load step that would hold more than this many items first unloads what it may.
  static constexpr int MaxLoadedItems = 500;

  explicit TAxisContentList(TBabGridCell* theGridCell);
  ~TAxisContentList() override;

  int Count() const noexcept { return LoadedCount() + fUnloadedPreCount + fUnloadedPostCount; }
  int LoadedCount() const noexcept { return fList.Size(); }
  int GetUnloadedPreCount() const noexcept { return fUnloadedPreCount; }
  int GetUnloadedPostCount() const noexcept { return fUnloadedPostCount; }
  int VisibleCount() const noexcept { return static_cast<int>(fVisibleList.size()); }
  TAxisContentItem* getVisibleAxisContentItem(int i) const;
  int GetHiddenRowCount() const noexcept { return static_cast<int>(fHiddenItemsList.size()); }
  const std::vector<TAxisContentItem*>& GetHiddenItems() const noexcept { return fHiddenItemsList; }
  TBabGridCell* GetBabGridCell() const noexcept { return fBabGridCell; }
  bool IsRowAxis() const noexcept;

  // Fixed items present in the loaded list (fewer than asked for while the
  // axis is shorter).
  int FixedLoaded() const noexcept { return fFixedItems < LoadedCount() ? fFixedItems : LoadedCount(); }
  int GetFixedItems() const noexcept { return fFixedItems; }
  // Loads what becomes fixed first; a front gap is loaded (or the window
  // re-based) so that no unloaded item ever sits among the fixed ones.
  void SetFixedItems(int theValue);

  int IndexConvert_RealToLoaded(int i) const noexcept { return i < FixedLoaded() ? i : i - fUnloadedPreCount; }
  int IndexConvert_LoadedToReal(int i) const noexcept { return i < FixedLoaded() ? i : i + fUnloadedPreCount; }
  bool IsLoaded(int i) const noexcept;

  // Item i, loaded on demand; nil outside 0 .. Count-1.
  TAxisContentItem* getAxisContentItem(int i);
  // Loaded item at loaded index p; nil outside the loaded list. Never loads.
  TAxisContentItem* getLoadedAxisContentItem(int p) const;

  TAxisContentItem* AddNew(TObject* theValue);
  // i in 0 .. Count; nil for any other index.
  TAxisContentItem* InsertNew(int i, TObject* theValue);
  void AddUnloaded(int n);
  // n blank items at i when i lies in a gap or at the end, whatever n (the
  // window stays as it is); false, changing nothing, anywhere else.
  bool InsertUnloaded(int i, int n);
  // Nothing for indexes outside the axis, or when both items cannot be
  // loaded at once.
  void Move(int theFrom, int theTo);
  // Puts the loaded items behind the fixed ones in theOrder, in one step (a
  // sort moves every row). False, changing nothing, unless theOrder holds
  // each of those items exactly once.
  bool Reorder(const std::vector<TAxisContentItem*>& theOrder);
  void Drop(int i);
  void Clear() { CommonClear(0); }
  void ClearKeepFixedItems() { CommonClear(fFixedItems); }
  void SetNextItemReferenceMailbox(TObject* theValue) noexcept { fNextItemReferenceMailbox = theValue; }

  // Virtual loading.
  void EnsureLoadedItem(int i);
  void LoadItems(int theStart, int theStop, bool theInFront);
  // Unloads the first non-fixed loaded item (theFront, i must be its index)
  // or the last loaded one; nothing for any other index.
  void Unload(int i, bool theFront);
  void UnloadAll();
  void Purge();
  bool CanUnload(TAxisContentItem* theItem);
  void UnloadIntervall(TAxisContentItem* theItem, int& theStart, int& theStop);
  void DeleteOfUnloaded(int theStart, int theStop);
  bool GetLoadOperationInFront() const noexcept { return fLoadOperationInFront; }
  bool InLoad() const noexcept { return fInLoadItems > 0; }
  int GetUnloadProtectedStart() const noexcept { return fUnloadProtectedStart; }
  int GetUnloadProtectedStop() const noexcept { return fUnloadProtectedStop; }

  // Indexes are kept by the loaded list's lazy block starts.
  void ListIndexesOutOfDate(int i) noexcept;
  void EnsureListIndexes() const;
  void UpdateListIndexesFrom(int i) const;

  void ClearVisibles();
  void AddToVisible(TAxisContentItem* theItem);
  void UpdateHiddenItemsList(TAxisContentItem* theItem, bool theHidden);

private:
  friend class TAxisContentItem;
  friend class TBabGridCell;

  TBabGridCellForViewer* Viewer() const noexcept;
  void RaiseAxisChange();
  void ChangeInUnloaded();
  void CommonClear(int theFirst);
  // Removes a loaded item with its cells; the caller fixes the gaps.
  void RemoveLoaded(TAxisContentItem* theItem);
  void EmptyFrontGap();
  void CheckNotInLoad() const;
  TAxisContentItem* InsertLoaded(int p, TObject* theValue);
  bool PurgeFront();
  bool PurgeBack();
  bool IntervalCanUnload(int theStart, int theStop);

  bool fLoadOperationInFront = false;
  int fInLoadItems = 0;
  TObject* fNextItemReferenceMailbox = nullptr;
  TvxEntityWindow fList;
  std::vector<TAxisContentItem*> fVisibleList;
  std::vector<TAxisContentItem*> fHiddenItemsList;
  TBabGridCell* fBabGridCell;
  int fUnloadedPreCount = 0;
  int fUnloadedPostCount = 0;
  int fFixedItems = 0;
  int fUnloadProtectedStart = -1;
  int fUnloadProtectedStop = -1;
};

// The cells of one grid cell: a list per loaded column, a slot per loaded row.
// A slot is empty until its cell is asked for. Owns its cells.
class VX_API TCellMatris : public TObject {
public:
  explicit TCellMatris(TBabGridCell* theGridCell) : fBabGridCell(theGridCell) {}
  ~TCellMatris() override;

  int CountX() const noexcept;
  int CountY() const noexcept;
  int LoadedCountX() const noexcept { return static_cast<int>(fCellListList.size()); }
  int LoadedCountY() const noexcept;

  // Loads column x and row y; nil outside the matrix.
  TBabCell* getCell(int x, int y);
  // The cell in a slot, by loaded indexes; nil when empty or outside. Never creates.
  TBabCell* getLoadedCell(int theLoadedX, int theLoadedY) const noexcept;

  // Loaded indexes.
  void InsertX(int x);
  void InsertY(int y);
  void DropX(int x);
  void DropY(int y);
  void MoveX(int theFrom, int theTo);
  void MoveY(int theFrom, int theTo);
  // Loaded position k of the axis takes the cells of loaded position theOld[k].
  void Reorder(bool theRows, const std::vector<int>& theOld);
  // Frees the column's or row's cells and empties their slots.
  void UnloadX(int x);
  void UnloadY(int y);
  void Clear();

  // Real indexes; false outside the axis. Never load.
  bool HasColumnSelections(int x) const;
  bool HasRowSelections(int y) const;
  // Existing cells, for walks that must not create any.
  template <class F>
  void ForEachCell(F&& f) const {
    for (const auto& col : fCellListList)
      for (TBabCell* c : col)
        if (c) f(c);
  }
  int ExistingCellCount() const;

private:
  void FreeCell(TBabCell* theCell);
  TBabCell* NewCell(int theLoadedX, int theLoadedY);

  TBabGridCell* fBabGridCell;
  std::vector<std::vector<TBabCell*>> fCellListList;
};

// A cell: the crossing of a column item and a row item of its grid cell.
// Cells go with their column or row, at any call out to the application:
// code that reads a cell after one watches it (TvxWatch<TBabCell>).
class VX_API TBabCell : public TObject, public TvxWatchable {
public:
  explicit TBabCell(TBabGridCell* theGridCell);
  ~TBabCell() override;

  virtual int GetCalculatedHeight() { return fCurrentHeight; }
  virtual int GetCalculatedWidth() { return fCurrentWidth; }
  virtual bool GetSelected() const { return fSelected; }
  virtual void SetSelected(bool theValue);
  // Where the cell was last painted, after the host's rectangle tampering.
  virtual TRect getVisibleRect();
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}
  virtual void CalculateSizes();

  int GetMinHeight();
  int GetMinWidth();
  // The cell's own current size, from which a pass can only grow it.
  void SetMinHeight(int theValue) noexcept { fCurrentHeight = theValue; }
  void SetMinWidth(int theValue) noexcept { fCurrentWidth = theValue; }

  TBabGridCell* getGridCell() const noexcept { return fBabGridCell; }
  TBabGridCellForViewer* GetViewerGridCell() const;
  bool GetIsFixed() const;
  TBabCell* GetGroupMaster();
  bool IsGridCell() const noexcept { return fIsGrid; }

  TAxisContentItem* GetAxisContentItemX() const noexcept { return fAxisContentItemX; }
  TAxisContentItem* GetAxisContentItemY() const noexcept { return fAxisContentItemY; }
  // Real column and row; -1 for the outermost cell.
  int GetCol() const { return fAxisContentItemX ? fAxisContentItemX->ListIndex() : -1; }
  int GetRow() const { return fAxisContentItemY ? fAxisContentItemY->ListIndex() : -1; }
  TBabCellData* GetBabCellData() const noexcept { return fBabCellData.get(); }
  TLayoutProp* GetLayoutProp() const noexcept { return fLayoutProp; }
  void SetLayoutProp(TLayoutProp* theValue) noexcept { fLayoutProp = theValue; }
  // Created on first use: the library itself never raises it.
  TEvent* GetCellChangeEvent();
  TRect GetLastDrawnRect() const noexcept { return fLastDrawnRect; }
  bool GetIsGroupedCell() const noexcept { return fIsGroupedCell; }
  bool GetIsMasterGroupCell() const noexcept { return fIsMasterGroupCell; }
  int GetCurrentHeight() const noexcept { return fCurrentHeight; }
  int GetCurrentWidth() const noexcept { return fCurrentWidth; }
  bool GetReEvalSize() const noexcept { return fReEvalSize; }
  void SetReEvalSize(bool theValue) noexcept { fReEvalSize = theValue; }
  int GetCachedMinHeight() const noexcept { return fCachedMinHeight; }

protected:
  friend class TBabGridCell;
  friend class TCellMatris;

  // The container makes the data; called by the constructors of the concrete
  // cells, once the cell's kind is known.
  void CreateData();
  void ApplySelected(bool theValue);

  bool fIsGroupedCell = false;
  bool fIsMasterGroupCell = false;
  bool fIsGrid = false;
  TBabGridCell* fBabGridCell;
  TAxisContentItem* fAxisContentItemX = nullptr;
  TAxisContentItem* fAxisContentItemY = nullptr;
  std::unique_ptr<TEvent> fCellChangeEvent;
  int fCurrentHeight = 0;
  int fCurrentWidth = 0;
  bool fSelected = false;
  TRect fLastDrawnRect = NoRect();
  std::unique_ptr<TBabCellData> fBabCellData;
  TLayoutProp* fLayoutProp = nullptr;
  bool fReEvalSize = false;
  int fCachedMinHeight = 0;
};

class VX_API TBabSimpleCell : public TBabCell {
public:
  explicit TBabSimpleCell(TBabGridCell* theGridCell);
};

// Yields the real indexes of one axis in screen order: the fixed items, then
// the items from the scroll position on. Hidden items are left to its users.
class VX_API TVisibleIterator {
public:
  TVisibleIterator(int theFixedCount, int theStart, int theCount) { Create(theFixedCount, theStart, theCount); }
  void Create(int theFixedCount, int theStart, int theCount) noexcept;
  void Reset() noexcept { fCurrent = fFixedCount > 0 ? 0 : fStart; }
  void Next() noexcept;
  // (EOF is a C macro.)
  bool Eof() const noexcept { return fCurrent >= fCount; }
  int Current() const noexcept { return fCurrent; }

private:
  int fFixedCount = 0;
  int fStart = 0;
  int fCount = 0;
  int fCurrent = 0;
};

// A cell that holds a whole grid: two axes and the cells where they cross.
class VX_API TBabGridCell : public TBabCell {
public:
  explicit TBabGridCell(TBabGridCell* theParentGridCell);
  ~TBabGridCell() override;

  int GetCalculatedHeight() override;
  int GetCalculatedWidth() override;
  void SetSelected(bool theValue) override;
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void CalculateSizes() override {}
  virtual TBabCellData* CreateBabCellData(TBabCell* theCell);

  TAxisContentList* GetAxisContentListX() const noexcept { return fAxisContentListX.get(); }
  TAxisContentList* GetAxisContentListY() const noexcept { return fAxisContentListY.get(); }
  TCellMatris* GetCellMatris() const noexcept { return fCellMatris.get(); }
  TBabCell* getCell(int x, int y) { return fCellMatris->getCell(x, y); }
  TBabCell* CreateCell(int x, int y);

  TEvent* GetTopLeftChangedEvent() const noexcept { return fTopLeftChangedEvent.get(); }
  TEvent* GetFocusedCellChangeEvent() const noexcept { return fFocusedCellChangeEvent.get(); }

  // Scrolling positions: real indexes of the first scrolled column and row.
  int GetTop() const noexcept { return fTop; }
  int GetLeft() const noexcept { return fLeft; }
  void SetTop(int i);
  void SetLeft(int i);
  int GetTop_ScrollVal() const;
  int GetLeft_ScrollVal() const;
  void SetTop_ScrollVal(int v);
  void SetLeft_ScrollVal(int v);
  static int Convert_TrueIndexToVisible(const TAxisContentList* theList, int i);
  static int Convert_VisibleIndexToTrue(const TAxisContentList* theList, int v);

  int GetFixedCols() const noexcept { return fAxisContentListX->GetFixedItems(); }
  int GetFixedRows() const noexcept { return fAxisContentListY->GetFixedItems(); }
  void SetFixedCols(int n);
  void SetFixedRows(int n);
  bool IsFixedCell(int x, int y) const;

  bool GetMultiSelect() const noexcept { return fMultiSelect; }
  void SetMultiSelect(bool theValue) noexcept { fMultiSelect = theValue; }
  bool GetRowSelect() const noexcept { return fRowSelect; }
  void SetRowSelect(bool theValue) noexcept { fRowSelect = theValue; }
  TBabCell* GetFocusedCell() const noexcept { return fFocusedCell; }
  TBabCell* GetAnchor() const noexcept { return fAnchor; }
  void SetFocusedCell(TBabCell* theCell);
  TBabCell* GetFocusedCellDownTrack() const;
  void AreaSelect(bool theValue, TRect theRect);
  void UpdateMultiSelect(TBabCell* theCell, TShiftState theShift);

  TBabCell* FindNeighbourCell(TBabCell* theCell, TBabDirection theDirection, bool theDescend);
  TBabCell* ClosestVisibleNeighbour(int theIndex, TAxisContentList* theList, TBabCell* theCell);

  static void CellExtents(const TAxisContentItem* theItem, int theFixedCount, int& theStop, int& theStart,
                          int theOffset) noexcept;
  TPoint GridCoordsFromPix(int x, int y) const;
  TBabCell* CellFromPix(int x, int y, bool theDescend);
  void Draw(TRect theRect, const TOnDrawBabCell& theDrawCallback);
  void CalcVisibleArea(TRect theRect);

  TRect GetDrawRect() const noexcept { return fDrawRect; }
  int GetVisibleColCount() const noexcept { return fVisibleColCount; }
  int GetVisibleRowCount() const noexcept { return fVisibleRowCount; }
  bool GetLastColumnShow() const noexcept { return fLastColumnShow; }
  int GetBrokenColumn() const noexcept { return fBrokenColumn; }
  bool GetLastRowShow() const noexcept { return fLastRowShow; }

  // From the axes.
  void InsertingAxisItem(TAxisContentList* theList, TAxisContentItem* theItem);
  void DroppingAxisItem(TAxisContentList* theList, TAxisContentItem* theItem);
  void MowingAxisItem(TAxisContentList* theList, int theFromLoaded, int theToLoaded);
  void ReorderingAxisItems(TAxisContentList* theList, const std::vector<int>& theOld);
  void ChangeInUnloaded(TAxisContentList* theList);

protected:
  friend class TBabCell;
  friend class TCellMatris;
  friend class TAxisContentList;

  // A cell of this grid goes: forget it as focus or anchor.
  void ForgetCell(TBabCell* theCell) noexcept;
  // Frees the cells and axes while the hooks of the outermost cell still exist.
  void FreeContent() noexcept;
  void KeepScrollPositionsInside(TAxisContentList* theList);
  bool Owns(const TAxisContentList* theList) const noexcept {
    return theList == fAxisContentListX.get() || theList == fAxisContentListY.get();
  }
  TBabCell* CreateCellFor(TAxisContentItem* theX, TAxisContentItem* theY);
  void StepFrom(int& x, int& y, TBabDirection theDirection) const;
  void MeasurePass(TRect theRect);
  void MeasureCell(int x, int y, TRect theRect);
  void LayoutPass(TRect theRect);

  bool fMultiSelect = true;
  std::unique_ptr<TAxisContentList> fAxisContentListX;
  std::unique_ptr<TAxisContentList> fAxisContentListY;
  std::unique_ptr<TCellMatris> fCellMatris;
  std::unique_ptr<TEvent> fTopLeftChangedEvent;
  std::unique_ptr<TEvent> fFocusedCellChangeEvent;
  int fTop = 0;
  int fLeft = 0;
  TRect fDrawRect = NoRect();
  int fVisibleColCount = 0;
  int fVisibleRowCount = 0;
  bool fLastColumnShow = true;
  int fBrokenColumn = 0;
  bool fLastRowShow = true;
  TBabCell* fFocusedCell = nullptr;
  TBabCell* fAnchor = nullptr;
  bool fRowSelect = false;
  int fRowSelecting = -1;  // the row a row selection is spreading over
};

class VX_API TBabSubGridCell : public TBabGridCell {
public:
  using TBabGridCell::TBabGridCell;
};

// The outermost grid cell, owned by the view: the hooks and events of the
// whole cell tree.
class VX_API TBabGridCellForViewer : public TBabGridCell {
public:
  TBabGridCellForViewer(TObject* theViewer, TBabSimpleCellDataClass theSimpleCellDataClass,
                        TBabGridCellDataClass theGridCellDataClass);
  ~TBabGridCellForViewer() override;

  TObject* GetViewer() const noexcept { return fViewer; }
  void CellRectTampering(TBabCell* theCell, TRect& theRect);
  void ScaleRect(TRect& theRect) const;
  void InternalSelectionChanged(TBabCell* theCell, bool theValue);
  bool CheckCellGrouping(TBabCell* theGroupingCell, TBabCell* theTestCell) const;
  void DoLoadAxisContentItem(TAxisContentItem*) {}

  TEvent* GetSelectionChangeEvent() const noexcept { return fSelectionChangeEvent.get(); }
  TEvent* GetAxisChangeEvent() const noexcept { return fAxisChangeEvent.get(); }
  TEvent* GetUserSizeEvent() const noexcept { return fUserSizeEvent.get(); }
  TBabSimpleCellDataClass GetBabSimpleCellDataClass() const noexcept { return fBabSimpleCellDataClass; }
  TBabGridCellDataClass GetBabGridCellDataClass() const noexcept { return fBabGridCellDataClass; }

  // Hooks, each consulted only when assigned.
  TOnInternalSelectionChanged fOnInternalSelectionChanged;
  TOnCellRectTampering fOnCellRectTampering;
  TOnScaleRect fOnScaleRect;
  TOnDeInitCell fOnDeInitCell;
  TOnCheckCellGrouping fOnCheckCellGrouping;
  TOnVirtualLoad fOnVirtualLoad;
  TOnVirtualUnLoad fOnVirtualUnLoad;
  TOnKeepAfterUnloadCheck fOnKeepAfterUnloadCheck;
  TOnUnloadIntervall fOnUnloadIntervall;
  TOnDeleteOfUnloaded fOnDeleteOfUnloaded;
  TOnAxisItemRemoved fOnAxisItemRemoved;
  TOnCreateCell fOnCreateCell;
  TOnMeasureHeight fOnMeasureHeight;

private:
  std::unique_ptr<TEvent> fSelectionChangeEvent;
  std::unique_ptr<TEvent> fAxisChangeEvent;
  std::unique_ptr<TEvent> fUserSizeEvent;
  TBabSimpleCellDataClass fBabSimpleCellDataClass;
  TBabGridCellDataClass fBabGridCellDataClass;
  TObject* fViewer;
};

// Keeps the layout of one cell tree current. Axis changes and user sizes
// make the sizes stale (hard), a scroll only the layout (soft). A paint works
// both off at once (Update); changes with no paint in sight are worked off by
// one deferred call after the burst, so a burst costs one pass.
class VX_API TBabGridLayout : public TObject {
public:
  explicit TBabGridLayout(TBabGridCellForViewer* theGridCell);
  ~TBabGridLayout() override;

  TRect GetDrawRect() const noexcept { return fDrawRect; }
  void SetDrawRect(TRect theRect);
  bool GetHardViewParamsOutOfDate() const noexcept { return fHardViewParamsOutOfDate; }
  bool GetSoftViewParamsOutOfDate() const noexcept { return fSoftViewParamsOutOfDate; }
  void SetHardOutOfDate();
  void SetSoftOutOfDate();
  // Whether a change queues a deferred update (off: the owner calls Update).
  bool GetDeferred() const noexcept { return fDeferred; }
  void SetDeferred(bool theValue) noexcept { fDeferred = theValue; }

  // Works off the flags: a hard update sets the soft flag.
  void Update();
  virtual void HardViewParamsUpdate();
  virtual void SoftViewParamsUpdate();
  // The size the column or row of theCell gets from a drag by theDelta pixels.
  void DoResize(int theDelta, TBabCell* theCell, bool theIsHorz);

private:
  void DeferredUpdate(TObject*);
  void Schedule();

  TBabGridCellForViewer* fGridCell;
  std::vector<TSingleEventListener*> fListeners;  // freed with the events
  TRect fDrawRect;
  bool fHardViewParamsOutOfDate = true;
  bool fSoftViewParamsOutOfDate = true;
  bool fDeferred = true;
  bool fUpdating = false;
};

}  // namespace vx
