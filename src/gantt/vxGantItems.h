#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/gantt/vxKronitItemTexts.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/TreeView.h>
#include <vxplan/tree/vxTree.h>

namespace vx {

class TvxGant_ComBasic;
class TGantRow;
class TGantRowList;
class TGantTree;
class TvxOffscreenPaint_GA;
class TvxDataEntity_Kronit;
class TvxDataEntity_Link;
// A node of the grid's tree (the chart's other left side).
class TvxDataEntity_GridTreeNode;

// How a time item is drawn. Only the low 7 bits of a stored style select the
// drawing, so an application may keep a flag in the high bit.
enum TKronitStyle : std::uint8_t { gtsSquare, gtsSpan, gtsUser, gtsLine, gtsLineWEnd, gtsWave, gtsRomb, gtsImage, gtsPipe };
// Which ends of its two items a link joins ("start" is an item's left edge).
enum TLinkStartFinishOption { tlsfNormal, tlsfSS, tlsfSF, tlsfFS, tlsfFF };
enum TLinkStyle { tlsDefault, tlsMSProject, tlsUserDraw };
enum TLinkShow { lsOneEndVisible, lsBothEndsVisible, lsAlways };
enum TGantMouseMoveMode { mmNone, mmMove, mmCopy, mmGrowLeft, mmGrowRight, mmDependency };
enum TGantStickyMode { smNone, smDependency };
enum TTimeItemAutoScroll { ttiaHorzAndVert, ttiaHorz, ttiaVert, ttiaNone };

using TUserCreateGantRow = std::function<void(TGantRowList* theGantRowList, TvxDataEntity_Tree* theNode,
                                              TvxDataEntity_GridTreeNode* theDataEntity_GridTreeNode, TGantRow*& result)>;
using TGantRowNotify = std::function<void(TGantRowList* theGantRowList, TGantRow* theGantRow)>;
using TOnCollisionDetected =
    std::function<void(TvxGant_ComBasic* theGant, TvxDataEntity_Kronit* theDataEntity, int theNewSubColPosition)>;
// A copy or a change of row made with the mouse, for the application to carry
// out. theNewItem starts nil; an application that makes a new item may put it
// there, and the chart selects it.
using TOnTimeCopyOrMove =
    std::function<void(TvxGant_ComBasic* theGant, TvxDataEntity_Kronit* theDataEntity, TGantRow* theRow,
                       TGantRow* theNewRow, TDateTime theStart, TDateTime theStop, TvxDataEntity_Kronit*& theNewItem)>;
using TOnKronitNotify = std::function<void(TvxGant_ComBasic* theGant, TvxDataEntity_Kronit* theDataEntity)>;
using TOnInfoPush_Kronit = TOnKronitNotify;
using TOnVirtualUnLoad_Kronit =
    std::function<void(TvxGant_ComBasic* theGant, TvxDataEntity_Kronit* theDataEntity, bool& CanUnload)>;
using TOnHintInfo = std::function<void(TObject* theObject, TDateTime theStart, TDateTime theStop, TDateTime theLength)>;
using TOnUserDrawContent = std::function<void(TvxGant_ComBasic* theGant, const TRect& aRect, TCanvas* theCanvas)>;
using TOnUserDrawTime =
    std::function<void(TvxGant_ComBasic* theGant, TvxDataEntity_Kronit* theDataEntity, TCanvas* theCanvas, const TRect& theRect)>;
using TOnUserDrawLinks = std::function<void(TvxGant_ComBasic* theGant, TvxDataEntity_Link* theDataEntity_Link,
                                            TCanvas* theCanvas, TPoint theStart, TPoint theStop)>;
// The lines of a link: its route, and its head (an outline, or a filled
// triangle), the head only when the tip lies in the clip.
struct VX_API TLinkRoute {
  TPoint line[6];
  int lineCount = 0;
  TPoint head[4];
  int headCount = 0;
  bool filledHead = false;
};

// The bars a link joins, and the sides its ends take: leave 1 out of the
// owner's right side, -1 out of its left; arrive 1 into the target's left
// side (moving right), -1 into its right. 0: not known (a link being drawn
// with the mouse).
struct VX_API TLinkBars {
  TRect owner, target;
  int leave = 0, arrive = 0;
};

// The handlers an application gives a tab sheet of its own (AddTabSheet):
// the row of the tree's current node, the page about to be left (may refuse),
// and two plain notifications.
using TTabSheetTreeChange = std::function<void(TGantRow* theRow)>;
using TTabSheetChanging = std::function<void(TObject* Sender, bool& AllowChange)>;
struct VX_API TTabSheetRecord {
  TTabSheet* fSheet = nullptr;
  TTabSheetTreeChange fOnTreeChange;
  TTabSheetChanging fOnChanging;
  TNotifyEvent fOnOther;
  TNotifyEvent fOnPageEvent;
};
using TOnDependencyAction = std::function<void(TvxDataEntity_Kronit* theFirst, TvxDataEntity_Kronit* theSecond)>;
// The layer of theGantRow whose items the arrow keys walk.
using TOnKeyNavigateDataList = std::function<int(TvxGant_ComBasic* theGant, TGantRow* theGantRow)>;

// A selected item and its rectangle when a drag began.
struct VX_API TDrawRect {
  TRect fRect;
  TvxDataEntity_Kronit* fItem = nullptr;
};
// The application's page negotiation while the chart prints page by page.
using TOnPrintToHdcNewPage = std::function<void(TvxGant_ComBasic* theGant, int aPageNo, int& pageHeight,
                                                int& pageWidht, bool& goahead, bool& render)>;
using TOnAlignNeed = std::function<void(TvxGant_ComBasic* theGant, TDateTime theStart, TDateTime theStop, int theWidth)>;
using TOnScalerChange = std::function<void(TvxGant_ComBasic* theGant, TDateTime theStart, TDateTime theStop)>;
using TOnRealignScrollbar = std::function<void(TvxGant_ComBasic* theGant, int Position, int Min, int Max, int PageSize,
                                               bool Enabled)>;

// A time item: a bar (or milestone, line, image ...) from a start to a stop
// time, in a layer of a Gantt row. Setters store and tell nobody: call
// DoInfoPush (or repaint the chart) after changing an item.
class VX_API TvxDataEntity_Kronit : public TvxDataEntity {
public:
  TDateTime GetStartDateTime() const noexcept { return fStartDateTime; }
  void SetStartDateTime(TDateTime theValue) noexcept { fStartDateTime = theValue; }
  TDateTime GetStopDateTime() const noexcept { return fStopDateTime; }
  void SetStopDateTime(TDateTime theValue) noexcept { fStopDateTime = theValue; }
  // The stored style, high bit included.
  std::uint8_t GetStyle() const noexcept { return fStyle; }
  void SetStyle(std::uint8_t theValue) noexcept { fStyle = theValue; }
  // The style that is drawn: the low 7 bits.
  TKronitStyle GetDrawStyle() const noexcept { return static_cast<TKronitStyle>(fStyle & 0x7F); }
  TColor GetColor() const noexcept { return fColor; }
  void SetColor(TColor theValue) noexcept { fColor = theValue; }
  // Sizes in pixels are kept within MostPixels either way, sub-columns within
  // -1 .. MostSubCols: far beyond any screen, and no arithmetic overflows.
  static constexpr int MostPixels = 1 << 16;
  static constexpr int MostSubCols = 1 << 16;
  int GetTopInset() const noexcept { return fTopInset; }
  void SetTopInset(int theValue) noexcept { fTopInset = std::clamp(theValue, -MostPixels, MostPixels); }
  int GetBottomInset() const noexcept { return fBottomInset; }
  void SetBottomInset(int theValue) noexcept { fBottomInset = std::clamp(theValue, -MostPixels, MostPixels); }
  int GetFixedSize() const noexcept { return fFixedSize; }
  void SetFixedSize(int theValue) noexcept { fFixedSize = std::clamp(theValue, -MostPixels, MostPixels); }
  int GetImageIndex() const noexcept { return fImageIndex; }
  void SetImageIndex(int theValue) noexcept { fImageIndex = theValue; }
  int GetSubCol() const noexcept { return fSubCol; }
  void SetSubCol(int theValue) noexcept { fSubCol = std::clamp(theValue, -1, MostSubCols); }
  bool IsResizable() const noexcept { return fFixedSize < 1; }
  // The row whose layer holds the item; nil outside a row's layer.
  TGantRow* GetRow() const noexcept;
  // The item's texts; every item in a chart's row has them (made at the
  // first call: most items of a large plan never carry a label). Nil outside
  // a chart's row.
  TvxTimeItemTextCollection* GetTimeItemTextCollection() const;
  // The texts if the item has any made, without making them.
  TvxTimeItemTextCollection* TimeItemTextsIfAny() const noexcept { return fTimeItemTextCollection.get(); }

protected:
  ~TvxDataEntity_Kronit() override;

private:
  friend class TvxGant_ComBasic;
  friend class TGantItemModel;
  friend class TGantRow;
  TDateTime fStartDateTime = 0;
  TDateTime fStopDateTime = 0;
  std::uint8_t fStyle = gtsSquare;
  TColor fColor = 0;
  int fTopInset = 0;
  int fBottomInset = 0;
  int fFixedSize = 0;
  int fImageIndex = 0;
  int fSubCol = 0;
  mutable std::unique_ptr<TvxTimeItemTextCollection> fTimeItemTextCollection;
};

// Casts an object to a time item; EInvalidCast for anything else.
VX_API TvxDataEntity_Kronit* TimeDataEntity(TObject* theObject);

// A dependency arrow from one time item (the owner) to another. Deleting
// either item deletes the link.
class VX_API TvxDataEntity_Link : public TvxDataEntity {
public:
  TLinkStartFinishOption GetStartFinishOption() const noexcept { return fStartFinishOption; }
  // Stores the option and repaints the owner's chart.
  void SetStartFinishOption(TLinkStartFinishOption theOption);

  TvxDataEntity_Kronit* fLinkOwner = nullptr;
  TvxDataEntity_Kronit* fLinkedTo = nullptr;
  TLinkStyle fLinkStyle = tlsDefault;
  TColor fLinkColor = 0;
  int FLinkPenWidth = 0;

protected:
  ~TvxDataEntity_Link() override = default;

private:
  TLinkStartFinishOption fStartFinishOption = tlsfNormal;
};

// The drawing of the time-item styles.
class VX_API TvxTimeDraw {
public:
  // Bars reaching far out on both sides are cut to a span every device draws.
  static TRect W95Safe(TRect r);
  // Filled in the colour, framed black.
  static void DrawTime(TCanvas* c, TColor theColor, const TRect& r);
  // A summary bar: a thin bar with a triangle hanging under each end.
  static void CoolOutline(TCanvas* c, TColor theColor, const TRect& r, double s);
  static void LineOutline(TCanvas* c, TColor theColor, const TRect& r, bool withEnds, double s);
  // One sine period across the item.
  static void WaveOutline(TCanvas* c, TColor theColor, const TRect& r);
  // An unfilled diamond.
  static void RombOutline(TCanvas* c, TColor theColor, const TRect& r);
  static void DrawImage(TCanvas* c, TCustomImageList* theList, int theIndex, const TRect& r, bool thePrinting);
  static void DrawPipe(TCanvas* c, TColor theColor, const TRect& r);
  static void DrawTimeHollow(TCanvas* c, TColor theColor, const TRect& r);
  // 5 x 5 handles in the four corners.
  static void DoSelectContent(TCanvas* c, const TRect& r, TColor theColor);
  // A filled arrow head with 45-degree sides, its point at theTip, opening
  // theHalf rows downwards (theDir 1) or upwards (-1): the pixels of the
  // outlined triangle, drawn as rows of pixels, which is many times faster.
  static void ArrowHead(TCanvas* c, TColor theColor, TPoint theTip, int theHalf, int theDir);
};

}  // namespace vx
