#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>
#include <vector>

#include <vxplan/core/vxHolding.h>
#include <vxplan/paint/vxStripePattern.h>
#include <vxplan/platform/ui/Graphics.h>

namespace vx {

class TvxSchema_ComBasic;
class TvxDataEntity;
class TvxDataEntity_SchemaTime;
class TvxDataList;

// The schedule's painter: the drawing area's picture (background, today
// line, bookings and the application's hooks), the pyjamas pattern, and
// the drawing order the hit test and the selection share.
class VX_API TSchemaPainter {
public:
  explicit TSchemaPainter(TvxSchema_ComBasic& theSchema);

  // The lists the walk over the draw layers visits, in order (a list named
  // twice is visited twice).
  struct TDrawPlan {
    std::vector<TvxDataList*> lists;
    // Positions of theList in the walk; at most 11.
    template <class F>
    void ForEachPosition(const TvxDataList* theList, F&& f) const {
      for (size_t k = 0; k < lists.size(); ++k)
        if (lists[k] == theList) f(static_cast<int>(k));
    }
  };
  TDrawPlan MakeDrawPlan() const;
  // The lists the walk over the draw layers visits, each once, in order.
  std::vector<TvxDataList*> DrawnLists() const;
  std::vector<TvxDataList*> AllLayers() const;

  // The whole picture of the area, into its off-screen canvas.
  void Paint();
  void DoBackground(TCanvas* theCanvas, int theLeft, int theTop, int theWidth, int theHeight);
  // A booking with its selection and active marks; the application's
  // drawing for user-styled ones, the control's DefaultDrawContent else.
  void DrawContent(TvxDataEntity* theDataEntity, const TRect& theRect, TCanvas* theCanvas);
  void DefaultDrawContent(TvxDataEntity_SchemaTime* theSchemaTime, const TRect& theRect, TCanvas* theCanvas);
  // Rectangles are drawn cut to the area and this margin around it.
  static constexpr int kClipMargin = 10;
  TRect AreaClip(const TRect& theRect) const;
  // The 2 x 2 pattern of the background and pyjamas colours, as they
  // resolve now.
  TBitmap* PyjamasBitMap();

private:
  void DoTodayLine();
  void DoForeGround();
  // Bookings of the columns theFirst .. theLast that IsVisible takes, in
  // drawing order (the walk over the draw layers, backwards).
  void CollectShownItems(int theFirst, int theLast, TvxHeldList<TvxDataEntity_SchemaTime>& theItems);
  void EnterTextStyle(TCanvas* theCanvas, int theStyle);

  TvxSchema_ComBasic& fSchema;
  TvxStripePattern fStripes;
};

}  // namespace vx
