#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/Graphics.h>

namespace vx {

class TvxSchema_ComBasic;
class TDataListColumns;
class TvxDataEntity_SchemaColumn;
class TvxDataEntity_SchemaTime;
class TDrawGrid_Schema;
class TPopupMenu;

// tssUser items are drawn by the application (OnDrawTimeContent).
enum TTimeStyle_Schema : std::uint8_t { tssNormal, tssUser };
// Layer indexes in drawing order.
using TDrawLayerArray = std::vector<int>;

using TOnInitColumnDataObject =
    std::function<TObject*(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaColumn* theDataEntity_SchemaColumn)>;
// May move the rectangle; false hides the item.
using TOnGetDrawingRect =
    std::function<bool(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theDataEntity, TRect& theReturnRect)>;
using TOnSchemaHintInfo = std::function<void(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theObject,
                                             TDateTime theStart, TDateTime theLength, int X, int Y)>;
using TUserDecideColSize = std::function<void(TvxSchema_ComBasic* theSchema, int theInitiatingColumn,
                                              int theColumnToSet, int theCurrentSize, int& theSizeToSet)>;
using TOnSwitchCol = std::function<void(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theDataEntity,
                                        int theOldCol, int& theNewCol)>;
using TOnChangeDataEntity_SchemaTime =
    std::function<void(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theDataEntity)>;
using TOnIsVisible =
    std::function<bool(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theDataEntity, bool& RunDefault)>;
using TOnDrawTimeContent = std::function<void(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theDataEntity,
                                              const TRect& theRect, TCanvas* theCanvas)>;
using TDrawBackAndForeEvent = std::function<void(TvxSchema_ComBasic* theSchema, const TRect& aRect, TCanvas* aCanvas)>;
using THeaderFromColumn = std::function<std::string(int index)>;
// The chart's collision event has another signature: this one is the schedule's.
using TOnSchemaCollisionDetected =
    std::function<void(TvxSchema_ComBasic* theSchema, TvxDataEntity_SchemaTime* theDataEntity, int theNewSubColPosition)>;
// Page negotiation of the schedule's printing.
using TOnSchemaPrintToHdcNewPage = std::function<void(TvxSchema_ComBasic* Sender, int aPageNo, int& pageHeight,
                                                      int& pageWidht, bool& goahead, bool& render)>;

// One resource: a column in the normal orientation, a row in the flipped one.
class VX_API TvxDataEntity_SchemaColumn : public TvxDataEntity {
public:
  TDataListColumns* Columns() const;
  int GetData() const noexcept { return itsData; }
  void SetData(int theValue) noexcept { itsData = theValue; }
  // Subtracted from the times of the column's items before they are placed
  // on the axis. A change re-lays and repaints the column.
  TDateTime GetOffsetDate() const noexcept { return itsOffsetDate; }
  // Ignores a value that is not a finite time.
  void SetOffsetDate(TDateTime theValue);
  // What OnInitColumnDataObject made for the column; freed with it.
  TObject* GetDataObject() const noexcept { return itsDataObject; }
  int GetSubColCount() const noexcept { return itsSubColCount; }
  int GetVisibleWidth() const noexcept { return itsVisibleWidth; }
  int GetVisibleHeight() const noexcept { return itsVisibleHeight; }
  const std::string& GetText() const noexcept { return itsText; }
  // Stores the title and shows it in the column's header section.
  void SetText(const std::string& theText);
  // The live size in the current orientation: the header section's width, or
  // the title grid's row height when flipped.
  int GetWidth();
  void SetWidth(int theWidth);
  int GetWidth_FW(bool theFlipped);
  // Writes the live size and stores it as the column's own.
  void SetWidth_FW(bool theFlipped, int theWidth);

protected:
  ~TvxDataEntity_SchemaColumn() override;

private:
  friend class TDataListColumns;
  friend class TvxSchema_ComBasic;
  friend class TSchemaSubColumns;
  friend class TSchemaPainter;
  int itsData = 0;
  TDateTime itsOffsetDate = 0;
  TObject* itsDataObject = nullptr;
  int itsSubColCount = 1;
  int itsVisibleWidth = 50;
  int itsVisibleHeight = 18;
  std::string itsText;
};

// Casts an object to a column; EInvalidCast for anything else.
VX_API TvxDataEntity_SchemaColumn* DataEntity_SchemaColumn(TObject* theObject);

// The part of theText that theWidth pixels could show (no character is
// drawn narrower than half a pixel): a megabyte title is not laid out whole
// to show a word. Answers theText itself when it is short enough, else
// theCut, filled with its beginning.
VX_API const std::string& ShowableText(const std::string& theText, int theWidth, std::string& theCut);

// One extra text line of a schema time: drawn in one of the three text
// fonts at an offset inside the item's rectangle.
class VX_API TvxSchemaText {
public:
  int GetStyle() const noexcept { return FStyle; }
  void SetStyle(int theStyle) noexcept { FStyle = theStyle; }
  const std::string& GetText() const noexcept { return FText; }
  void SetText(const std::string& theText) { FText = theText; }
  TPoint GetPos() const noexcept { return FPos; }
  void SetPos(TPoint thePos) noexcept { FPos = thePos; }

private:
  int FStyle = 0;
  std::string FText;
  TPoint FPos{};
};

// A booking: a span of time on one column, laid out beside the bookings it
// overlaps. Changes of start, stop and column are reported (DoInfoPush).
class VX_API TvxDataEntity_SchemaTime : public TvxDataEntity {
public:
  void AfterCreate(TvxDataList* theDataList) override;

  TTimeStyle_Schema GetStyle() const noexcept { return fStyle; }
  void SetStyle(TTimeStyle_Schema theStyle) noexcept { fStyle = theStyle; }
  // Set by the collision layout.
  int GetSubCol() const noexcept { return itsSubCol; }
  bool GetUseSubCol() const noexcept { return itsUseSubCol; }
  TDateTime GetStartDateTime() const noexcept { return itsStartDateTime; }
  void SetStartDateTime(TDateTime theValue);
  TDateTime GetStopDateTime() const noexcept { return itsStopDateTime; }
  void SetStopDateTime(TDateTime theValue);
  int GetCol() const noexcept { return itsCol; }
  // A new column: the item spans it whole until the next layout.
  void SetCol(int theCol);
  int GetLeftInset() const noexcept { return itsLeftInset; }
  void SetLeftInset(int theValue);
  int GetRightInset() const noexcept { return itsRightInset; }
  void SetRightInset(int theValue);
  TColor GetBackColor() const noexcept { return itsBackColor; }
  void SetBackColor(TColor theValue) noexcept { itsBackColor = theValue; }
  TColor GetFrameColor() const noexcept { return itsFrameColor; }
  void SetFrameColor(TColor theValue) noexcept { itsFrameColor = theValue; }

  // Text lines; an index outside 0 .. count-1 reads and writes nothing.
  void AddText(const std::string& Text, int X, int Y, int Style);
  void AlterText(int Index, const std::string& Text, int X, int Y, int Style);
  void SetText(int Index, const std::string& Text, int X, int Y, int Style);
  bool GetText(int Index, std::string& Text, int& X, int& Y, int& Style) const;
  int TextCount() const noexcept { return static_cast<int>(itsTexts.size()); }
  const std::vector<TvxSchemaText>& GetTexts() const noexcept { return itsTexts; }

  // The control whose layer holds the item; nil outside one.
  TvxSchema_ComBasic* GetSchema() const;

protected:
  ~TvxDataEntity_SchemaTime() override = default;

private:
  friend class TvxSchema_ComBasic;
  friend class TSchemaTimeIndex;
  friend class TSchemaSubColumns;
  friend class TSchemaPainter;
  friend class TSchemaIndexHooks;
  TTimeStyle_Schema fStyle = tssNormal;
  bool itsUseSubCol = false;
  int itsSubCol = 0;
  TDateTime itsStartDateTime = 0;
  TDateTime itsStopDateTime = 0;
  int itsCol = 0;
  int itsLeftInset = 0;
  int itsRightInset = 0;
  TColor itsBackColor = 0xFFFFFF;
  TColor itsFrameColor = 0;
  int fIndexPos = -1;  // place in the control's index of its column
  std::vector<TvxSchemaText> itsTexts;
};

// Casts an object to a schema time; EInvalidCast for anything else.
VX_API TvxDataEntity_SchemaTime* DataEntity_Schema(TObject* theObject);

// The controller of a schedule's layers: it knows its control, so that a
// booking can find the control it belongs to.
class VX_API TSchemaTimeListController : public TvxListController {
public:
  TvxSchema_ComBasic* fSchema = nullptr;
};

// Declared class of the layers; adds nothing.
class VX_API TvxDataList_Schema : public TvxDataList {
protected:
  ~TvxDataList_Schema() override = default;
};

}  // namespace vx
