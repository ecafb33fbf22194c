#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>
#include <vector>

#include <vxplan/paint/vxStripePattern.h>
#include <vxplan/platform/rtl/Types.h>
#include <vxplan/platform/ui/Graphics.h>

namespace vx {

class TvxGant_ComBasic;
class TGantRow;
class TvxDataEntity_Kronit;

// Paints the Gantt area: the background with its stripes, scale lines and
// today line, then the rows' items with their texts, the links and the
// application's foreground.
class VX_API TGantPainter {
public:
  explicit TGantPainter(TvxGant_ComBasic& theChart) : fChart(theChart) {}
  TGantPainter(const TGantPainter&) = delete;
  TGantPainter& operator=(const TGantPainter&) = delete;

  // The whole area, into its offscreen canvas.
  void Paint();
  // Everything behind the items, the application's background included.
  void Background();
  // The shown items of theRow, each with its texts in the room beside it.
  void DrawRow(TGantRow* theRow);
  // One band of the horizontal stripes: even indexes take the pattern.
  void DrawRowBackgound(const TRect& theRect, int theIndex);
  // The 2 x 2 pattern of the background and pyjamas colours, as they
  // resolve now.
  TBitmap* GantBitMap();

private:
  void DefaultBackGround();
  void DoVerticalPyjamas();
  void DoTodayLine();
  void DrawHiddenTimeSeams();
  void DrawScaleLines();
  // One item with its texts, handles and focus rectangle.
  void DrawContent(TvxDataEntity_Kronit* theItem, const TRect& theRect);
  // Narrows theLeft..theRight to the room beside theRect that no other item
  // of the row being drawn takes.
  void TextRoom(const TRect& theRect, int& theLeft, int& theRight);
  void MeasureRoom();

  TvxGant_ComBasic& fChart;
  TvxStripePattern fStripes;
  std::vector<double> fScaleLinePixels;  // the scale lines of a paint, kept to spare allocations
  // The shown items of the row being drawn, by their left edges: the room of
  // the texts beside them.
  std::vector<TRect> fRowItemRects;
  TGantRow* fRoomRow = nullptr;
  bool fRoomMeasured = false;
};

}  // namespace vx
