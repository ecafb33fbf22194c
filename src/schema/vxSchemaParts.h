#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/rtl/Types.h>

namespace vx {

class TvxSchema_ComBasic;
class TObject;

// Where the schedule's parts stand: the header, the scaler, the drawing area,
// the column scroller and the sizer around the inner corner, and the
// scaler's sizes asked for, applied after the current call.
class VX_API TSchemaParts {
public:
  explicit TSchemaParts(TvxSchema_ComBasic& theSchema);

  // Sets the children's bounds for the current orientation.
  void Place();
  // The inner corner as the children can have it: inside the control, so
  // that no child is ever larger than the control, whatever was asked for.
  TPoint CornerInside(TPoint theCorner) const;
  // The sizer moved the current orientation's inner corner by Delta.
  void MoveCorner(TPoint Delta);
  // The scaler's width (height) in the current orientation.
  int ScalerWidth() const;
  int ScalerHeight() const;
  // A size asked for goes to the orientation it was asked in, even when the
  // orientation switches before it is applied.
  void AskScalerWidth(int theWidth);
  void AskScalerHeight(int theHeight);
  // Nothing deferred reaches the control any more.
  void NeverMind();

private:
  void ScalerWidthPerform(TObject* theData);
  void ScalerHeightPerform(TObject* theData);

  TvxSchema_ComBasic& fSchema;
  int fLatestKnownScalerWidth = 50;
  int fLatestKnownScalerHeight = 0;
  bool fScalerWidthFlipped = false;  // the orientation the sizes were asked in
  bool fScalerHeightFlipped = false;
};

}  // namespace vx
