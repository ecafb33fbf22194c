#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <unordered_map>
#include <vector>

#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/core/vxHolding.h>
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/platform/rtl/Types.h>
#include <vxplan/platform/ui/Messages.h>

namespace vx {

class TvxGant_ComBasic;
class TGantRow;
class TvxDataEntity;
class TvxDataEntity_Kronit;

// The rows of a page being printed: the side's nodes in their order on
// paper, each with its band in screen pixels from the page's first row.
// While active, the area shows these rows, whatever the screen shows.
class VX_API TGantPrintRows {
public:
  struct TPlace {
    // Held: drawing on the page calls the application, which may delete it.
    TvxHeld<TvxDataEntity> fNode;
    int fTop, fBottom;
  };
  bool Active() const noexcept { return fActive; }
  // Starts a page with no rows yet.
  void Begin();
  void Add(const TvxDataEntity* theNode, int theTop, int theBottom);
  // Ends the page; answers the rows it held.
  std::vector<TPlace> End();
  const TPlace* PlaceOf(const TvxDataEntity* theNode) const;
  const std::vector<TPlace>& Rows() const noexcept { return fRows; }
  int Count() const noexcept { return static_cast<int>(fRows.size()); }

private:
  bool fActive = false;
  std::vector<TPlace> fRows;
  std::unordered_map<const TvxDataEntity*, size_t> fPlace;  // node -> index in fRows
};

// What the chart asks of its left side: the control that lists the rows (a
// tree, or a grid with a tree in its rows). A Gantt row belongs to one node
// of one side; the chart asks only the side in use (or the side on paper).
class VX_API TGantSide {
public:
  explicit TGantSide(TvxGant_ComBasic* theGant) : fGant(theGant) {}
  virtual ~TGantSide() = default;
  TGantSide(const TGantSide&) = delete;
  TGantSide& operator=(const TGantSide&) = delete;

  // --- rows and nodes
  // The node of theRow when it is one of this side's; nil otherwise.
  virtual TvxDataEntity* NodeOf(const TGantRow* theRow) const = 0;
  bool Owns(const TGantRow* theRow) const { return NodeOf(theRow) != nullptr; }
  virtual TGantRow* RowOfNode(const TvxDataEntity* theNode) const = 0;
  // The band of theNode on screen in the area's pixels; NoRect when not shown.
  virtual TRect NodeBand(const TvxDataEntity* theNode) = 0;
  // theRow's band: on paper its place on the page, else its node's on screen.
  TRect RowBand(const TGantRow* theRow);
  // The row whose band holds y (edges excluded); nil between or below rows.
  virtual TGantRow* RowAt(int y) = 0;
  // theRow's place among the side's shown rows, top down, and the place of
  // the first row on screen: a row scrolled away lies above or below. -1 for
  // a row the side does not show (collapsed away, hidden, another side's).
  virtual int ShownIndexOf(const TGantRow* theRow) = 0;
  virtual int FirstIndexOnScreen() = 0;
  // Every row shown (on paper: on the page), top down, its band brought up
  // to date first.
  void ForEachShownRow(const std::function<void(TGantRow*)>& f);

  // --- the current row and keys
  virtual TGantRow* CurrentRow() = 0;
  virtual void MakeRowCurrent(TGantRow* theRow) = 0;
  // Moves the current row one shown row up or down and answers the item of
  // layer theLayer there closest in time to theRef; nil past either end.
  virtual TvxDataEntity_Kronit* NeighbourUpDown(int theLayer, TvxDataEntity_Kronit* theRef, bool theUp) = 0;

  // --- scrolling
  // One row, while a drag holds the pointer at the area's edge.
  virtual void ScrollStep(TScrollDirection theDir) = 0;
  // theRows rows up (negative: down), the Qt wheel convention.
  virtual void WheelRows(int theRows) = 0;
  // One wheel message, the classic convention.
  virtual void WheelStep(TWMMouseWheel& Msg) = 0;
  // Shows the scroll column of the chart as the side needs it.
  virtual void RealignScrollbar() = 0;

  // --- layout
  // How far the first row lies below the side's top.
  virtual int HeaderHeight() = 0;
  // Shows or hides the side's control; the chart swaps sides with it.
  virtual void SetShown(bool theShown) = 0;
  // Brings the control up to date before the area paints.
  virtual void Prepare() = 0;
  // True when the area's stripes follow the side's rows (DrawBands draws
  // them) rather than a fixed height.
  virtual bool OwnBands() const { return false; }
  // The stripes behind the side's rows; theY and theIndex continue below.
  virtual void DrawBands(int& /*theY*/, int& /*theIndex*/) {}
  // A row laid out in sub-columns asks for the height they need.
  virtual void RowHeightFollows(TGantRow* /*theRow*/) {}

  // --- settings that differ between the sides
  virtual bool GetRowSelect() const = 0;
  virtual void SetRowSelect(bool v) = 0;
  virtual bool GetShowButtons() const = 0;
  virtual void SetShowButtons(bool v) = 0;

  // --- printing
  TGantPrintRows& PrintRows() noexcept { return fPrintRows; }
  const TGantPrintRows& PrintRows() const noexcept { return fPrintRows; }

protected:
  // The rows shown on screen, top down (not on paper).
  virtual void ForEachRowOnScreen(const std::function<void(TGantRow*)>& f) = 0;

  TvxGant_ComBasic* fGant;
  TGantPrintRows fPrintRows;
};

}  // namespace vx
