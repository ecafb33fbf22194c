#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/gantt/vxGantItems.h>

namespace vx {

class TvxGant_ComBasic;

// Draws the dependency links: which show, where they end on their bars, and
// the route each takes round the bars to its arrow head.
class VX_API TGantLinkPainter {
public:
  explicit TGantLinkPainter(TvxGant_ComBasic& theChart) : fChart(theChart) {}
  TGantLinkPainter(const TGantLinkPainter&) = delete;
  TGantLinkPainter& operator=(const TGantLinkPainter&) = delete;

  // Every link that shows, into the area's offscreen canvas.
  void RenderLinks();
  bool LinkEnds(TvxDataEntity_Link* theLink, TPoint& theStart, TPoint& theStop, TLinkStyle& theStyle,
                TLinkBars* theBars = nullptr);
  void DrawLink(TPoint theStart, TPoint theStop, TCanvas* theCanvas, TLinkStyle theStyle, TColor theColor,
                int thePenWidth, TvxDataEntity_Link* theLink, const TLinkBars* theBars = nullptr);
  // With theBars, a route that would run back across a bar goes round it
  // instead, between the rows, and comes into the target from outside.
  TLinkRoute RouteLink(TPoint theStart, TPoint theStop, TLinkStyle theStyle, TvxDataEntity_Link* theLink,
                       const TRect& theClip, const TLinkBars* theBars = nullptr) const;

private:
  bool LinePassesThroughWindow(const TvxDataEntity_Kronit* theOwner, const TvxDataEntity_Kronit* theLinked) const;
  // An end whose row is scrolled away gets a line just above or below the
  // area over its time span, so that the link leaves the area towards it.
  void StandInEnds(TvxDataEntity_Kronit* theOwner, TGantRow* theOwnerRow, TRect& A, TvxDataEntity_Kronit* theTarget,
                   TGantRow* theTargetRow, TRect& B);
  // The row of pixels a detour runs along, between the bars.
  static int LinkLane(const TLinkBars& theBars);

  TvxGant_ComBasic& fChart;
};

}  // namespace vx
