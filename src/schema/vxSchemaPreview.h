#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/rtl/Types.h>

namespace vx {

class TvxSchema_ComBasic;
class TvxSchema_ComBasicHintWindow;
class TvxDataEntity;
class TvxDataEntity_SchemaTime;
class TTimer;
class TCanvas;

// The schedule's time hint and the enlarged preview of the booking the
// pointer rests on, with the preview's show and hide timers.
class VX_API TSchemaPreview {
public:
  explicit TSchemaPreview(TvxSchema_ComBasic& theSchema);

  // The timers, and with theWindows the hint and preview windows (none in
  // the form designer); all owned by the control.
  void Create(bool theWindows);
  // The control ends: the timers stop and the preview draws nothing more.
  void Stop();

  // The hint of theSchemaTime's times at (X, Y) on the area; nil and zeros
  // hide it. A host with a hint of its own (OnSchemaHintInfo) hears instead.
  void MoveInfo(TvxDataEntity_SchemaTime* theSchemaTime, TDateTime theStart, TDateTime theLength, int X, int Y);
  // The pointer rests at (X, Y) over theItem (nil: over no booking).
  void HoverOver(TvxDataEntity_SchemaTime* theItem, int X, int Y);
  // The pointer moved: the preview waits until it rests again.
  void PointerMoved();
  // The pointer left the area.
  void Leave();
  void HideHint();
  void ShowMeBig();
  void HideShowMeBig();
  // A booking goes: the preview lets go of it.
  void Forget(TvxDataEntity* theEntity);

  TvxSchema_ComBasicHintWindow* HintWindow() const noexcept { return fHintWindow; }
  TvxSchema_ComBasicHintWindow* ShowMeBigWindow() const noexcept { return fShowMeBigWindow; }
  TTimer* ShowMeBigTimer() const noexcept { return fShowMeBigTimer; }
  TTimer* HideShowMeBigTimer() const noexcept { return fHideShowMeBigTimer; }

private:
  void DrawShowMeBig(TCanvas* theCanvas);

  TvxSchema_ComBasic& fSchema;
  // Children of the control: it deletes them.
  TvxSchema_ComBasicHintWindow* fHintWindow = nullptr;
  TvxSchema_ComBasicHintWindow* fShowMeBigWindow = nullptr;
  TTimer* fShowMeBigTimer = nullptr;
  TTimer* fHideShowMeBigTimer = nullptr;
  // Where the pointer rests, and over which booking.
  TPoint fShowMeBigXY{-1, -1};
  TvxDataEntity* fShowMeBigDataEntity = nullptr;
  // The booking the preview shows.
  TvxDataEntity_SchemaTime* fShowMeBigShown = nullptr;
};

// The hint and preview windows and timers under the schedule's names.
class VX_API TSchemaPreviewAccess {
public:
  TvxSchema_ComBasicHintWindow* GetHintWindow() const noexcept { return PreviewOfSchema()->HintWindow(); }
  TvxSchema_ComBasicHintWindow* GetShowMeBigWindow() const noexcept { return PreviewOfSchema()->ShowMeBigWindow(); }
  TTimer* GetShowMeBigTimer() const noexcept { return PreviewOfSchema()->ShowMeBigTimer(); }
  TTimer* GetHideShowMeBigTimer() const noexcept { return PreviewOfSchema()->HideShowMeBigTimer(); }

protected:
  ~TSchemaPreviewAccess() = default;
  virtual TSchemaPreview* PreviewOfSchema() const noexcept = 0;
};

}  // namespace vx
