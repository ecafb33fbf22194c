#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstdint>

namespace vx {

// $00BBGGRR; negative values ($FF0000nn) name system colours.
using TColor = std::int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colours, by their index in the system palette.
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;

// Colours the library derives from the system colours, resolved like them:
// they follow the application's palette on screen and print light.
constexpr TColor clStripe = clSystemColor | 25;             // every other row's tint of the window
constexpr TColor clGridLine = clSystemColor | 26;           // lines between cells and rows
constexpr TColor clHiddenTime = clSystemColor | 27;         // the shading of hidden time
constexpr TColor clInactiveHighlight = clSystemColor | 28;  // selection in a window without focus
constexpr TColor clInactiveHighlightText = clSystemColor | 29;
constexpr TColor clFocusRect = clSystemColor | 30;          // the keyboard focus rectangle

constexpr int kSystemColorCount = 31;

// One value for each system colour, indexed as above.
struct VX_API TSystemColors {
  TColor Colors[kSystemColorCount] = {};
  bool operator==(const TSystemColors&) const = default;
};

// The fixed light set: printing, and drawing before any palette is known.
VX_API const TSystemColors& LightSystemColors() noexcept;

// The set system colours resolve through on this thread when no scope is
// open: the application's palette once the toolkit layer has told it.
// theColors must live as long as the process (the toolkit keeps them).
VX_API void SetDefaultSystemColors(const TSystemColors* theColors) noexcept;

// Resolves system colours through theColors on this thread while it lives:
// a paint in the widget's own palette, a print job on paper.
class VX_API TSystemColorsScope {
public:
  explicit TSystemColorsScope(const TSystemColors& theColors) noexcept;
  ~TSystemColorsScope();
  TSystemColorsScope(const TSystemColorsScope&) = delete;
  TSystemColorsScope& operator=(const TSystemColorsScope&) = delete;

private:
  const TSystemColors* fPrevious;
};

// Whether the light set is in force through a scope on this thread: a print
// job, during which a paint keeps it instead of the widget's palette.
VX_API bool PaperColorsInForce() noexcept;

// The $00BBGGRR value of a colour: system colours through the colours in
// force (see above), clNone and clDefault as white, others unchanged (the
// high byte dropped).
VX_API TColor ColorToRGB(TColor theColor) noexcept;

// WCAG relative luminance (0..1) and contrast ratio (1..21) of two colours.
VX_API double RelativeLuminance(TColor theColor) noexcept;
VX_API double ContrastRatio(TColor theFirst, TColor theSecond) noexcept;
// theFirst moved theAmount (0..1) of the way to theSecond, both resolved.
VX_API TColor MixColors(TColor theFirst, TColor theSecond, double theAmount) noexcept;
// theColor moved theAmount away from its own lightness: darker when light,
// lighter when dark, so that a tint keeps its contrast on either background.
VX_API TColor ContrastTint(TColor theColor, double theAmount) noexcept;

constexpr TColor RGB(int r, int g, int b) noexcept {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) noexcept { return c & 0xFF; }
constexpr int GetGValue(TColor c) noexcept { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) noexcept { return (c >> 16) & 0xFF; }

}  // namespace vx
