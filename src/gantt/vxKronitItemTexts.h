#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <vxplan/platform/rtl/Object.h>
#include <vxplan/platform/rtl/Types.h>
#include <vxplan/platform/ui/Graphics.h>

namespace vx {

class TvxTimeItemTextCollection;

// Where a text sits relative to its item, per direction: inside it (clipped to
// it), in the box of the item's size just before it (left or above), or just
// after it (right or below).
enum TTextRectPlace { trpInside, trpOutsideNear, trpOutsideFar };

using TOnStyleSet = std::function<void(TvxTimeItemTextCollection* aTimeItemTextCollection, TCanvas* aCanvas, int aStyle)>;

class VX_API TvxTimeItemText : public TObject {
public:
  int GetStyle() const noexcept { return FStyle; }
  void SetStyle(int Value) noexcept { FStyle = Value; }
  const std::string& GetText() const noexcept { return FText; }
  void SetText(const std::string& Value) {
    FText = Value;
    fFit.reset();
  }
  // Offsets from the item, in pixels; kept within MostOffset either way.
  static constexpr int MostOffset = 1 << 16;
  TPoint GetPos() const noexcept { return FPos; }
  void SetPos(TPoint Value) noexcept {
    FPos = Point(std::clamp(Value.X, -MostOffset, MostOffset), std::clamp(Value.Y, -MostOffset, MostOffset));
  }
  TTextRectPlace GetTextRectPlaceX() const noexcept { return fTextRectPlaceX; }
  TTextRectPlace GetTextRectPlaceY() const noexcept { return fTextRectPlaceY; }

private:
  friend class TvxTimeItemTextCollection;
  // The text as last fitted, with what decided it: a label is fitted again
  // on every frame, to the same room in the same font.
  struct TFitted {
    int room = 0, height = 0, ppi = 0;
    TFontStyles style;
    std::string font, text;
  };
  const std::string& Fitted(TCanvas* aCanvas, int aRoom);
  std::unique_ptr<TFitted> fFit;
  int FStyle = 0;
  std::string FText;
  TPoint FPos;
  TTextRectPlace fTextRectPlaceY = trpInside;
  TTextRectPlace fTextRectPlaceX = trpInside;
};

// The labels of one time item, drawn with it.
class VX_API TvxTimeItemTextCollection : public TObject {
public:
  TvxTimeItemText* AddText(const std::string& aText, int x, int y, int aStyle);
  TvxTimeItemText* AddTextEx(const std::string& aText, int x, int y, int aStyle, TTextRectPlace aPlaceX,
                             TTextRectPlace aPlaceY);
  // EListError outside 0 .. Count-1.
  void DropText(int i);
  int GetCount() const noexcept { return static_cast<int>(fTexts.size()); }
  TvxTimeItemText* GetTimeItemText(int i) const;
  // Whether a text sits beside the item, and so needs the room up to its neighbours.
  bool HasTextBeside() const noexcept;

  // Draws every text of an item whose rectangle is aRect; offsets are scaled
  // by the print scales. Texts inside the item are clipped to it, texts
  // beside it are not clipped.
  void DrawToCanvasInsideRect(const TRect& aRect, TCanvas* aCanvas, double aScaleX, double aScaleY);
  // The same, with the room a text beside the item may take: from aRoomLeft
  // to aRoomRight (its neighbours in the row, or the edges). A text that
  // does not fit its room, inside the item or beside it, is cut with an
  // ellipsis, or left out.
  void DrawToCanvasInsideRect(const TRect& aRect, TCanvas* aCanvas, double aScaleX, double aScaleY, int aRoomLeft,
                              int aRoomRight);
  // aText as it fits aRoom pixels: whole, cut with an ellipsis after at least
  // three characters, or empty (a shorter stump says nothing).
  static std::string FitToRoom(TCanvas* aCanvas, const std::string& aText, int aRoom);

  TOnStyleSet fOnStyleSet;

private:
  std::vector<std::unique_ptr<TvxTimeItemText>> fTexts;
};

}  // namespace vx
