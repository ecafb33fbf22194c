#include <vxplan/platform/rtl/Color.h>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace vx {

namespace {

// A fixed, light system palette, so that drawings look the same everywhere.
constexpr TSystemColors kLight = {{
    RGB(0xC8, 0xC8, 0xC8),  // scroll bar
    RGB(0xA0, 0xA0, 0xA0),  // background (the desktop): a light grey
    RGB(0x99, 0xB4, 0xD1),  // active caption
    RGB(0xBF, 0xCD, 0xDB),  // inactive caption
    RGB(0xF0, 0xF0, 0xF0),  // menu
    RGB(0xFF, 0xFF, 0xFF),  // window
    RGB(0x64, 0x64, 0x64),  // window frame
    RGB(0x00, 0x00, 0x00),  // menu text
    RGB(0x00, 0x00, 0x00),  // window text
    RGB(0x00, 0x00, 0x00),  // caption text
    RGB(0xB4, 0xB4, 0xB4),  // active border
    RGB(0xF4, 0xF7, 0xFC),  // inactive border
    RGB(0xAB, 0xAB, 0xAB),  // application work space
    RGB(0x00, 0x78, 0xD7),  // highlight
    RGB(0xFF, 0xFF, 0xFF),  // highlight text
    RGB(0xF0, 0xF0, 0xF0),  // button face
    RGB(0xA0, 0xA0, 0xA0),  // button shadow
    RGB(0x6D, 0x6D, 0x6D),  // grey text
    RGB(0x00, 0x00, 0x00),  // button text
    RGB(0x00, 0x00, 0x00),  // inactive caption text
    RGB(0xFF, 0xFF, 0xFF),  // button highlight
    RGB(0x69, 0x69, 0x69),  // 3D dark shadow
    RGB(0xE3, 0xE3, 0xE3),  // 3D light
    RGB(0x00, 0x00, 0x00),  // info text
    RGB(0xFF, 0xFF, 0xE1),  // info background
    RGB(0xF0, 0xF0, 0xF0),  // stripe
    RGB(0xC0, 0xC0, 0xC0),  // grid line
    RGB(0xD8, 0xD8, 0xD8),  // hidden time
    RGB(0xD9, 0xD9, 0xD9),  // inactive highlight
    RGB(0x00, 0x00, 0x00),  // inactive highlight text
    RGB(0x00, 0x00, 0x00),  // focus rectangle
}};

std::atomic<const TSystemColors*> gDefault{&kLight};
thread_local const TSystemColors* tScoped = nullptr;

const TSystemColors& InForce() noexcept {
  if (tScoped) return *tScoped;
  return *gDefault.load(std::memory_order_acquire);
}

double Linear(int theChannel) noexcept {
  const double c = theChannel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

const TSystemColors& LightSystemColors() noexcept { return kLight; }

void SetDefaultSystemColors(const TSystemColors* theColors) noexcept {
  gDefault.store(theColors ? theColors : &kLight, std::memory_order_release);
}

TSystemColorsScope::TSystemColorsScope(const TSystemColors& theColors) noexcept : fPrevious(tScoped) {
  tScoped = &theColors;
}

TSystemColorsScope::~TSystemColorsScope() { tScoped = fPrevious; }

bool PaperColorsInForce() noexcept { return tScoped == &kLight; }

TColor ColorToRGB(TColor theColor) noexcept {
  if (theColor < 0) {
    const unsigned index = static_cast<unsigned>(theColor) & 0xFFu;
    if (index < static_cast<unsigned>(kSystemColorCount)) return InForce().Colors[index] & 0xFFFFFF;
    return clBlack;
  }
  if (theColor == clNone || theColor == clDefault) return clWhite;
  return theColor & 0xFFFFFF;
}

double RelativeLuminance(TColor theColor) noexcept {
  const TColor c = ColorToRGB(theColor);
  return 0.2126 * Linear(GetRValue(c)) + 0.7152 * Linear(GetGValue(c)) + 0.0722 * Linear(GetBValue(c));
}

double ContrastRatio(TColor theFirst, TColor theSecond) noexcept {
  const double a = RelativeLuminance(theFirst), b = RelativeLuminance(theSecond);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

TColor MixColors(TColor theFirst, TColor theSecond, double theAmount) noexcept {
  if (!(theAmount > 0)) theAmount = 0;  // NaN too
  if (theAmount > 1) theAmount = 1;
  const TColor a = ColorToRGB(theFirst), b = ColorToRGB(theSecond);
  auto mix = [theAmount](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * theAmount)); };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

TColor ContrastTint(TColor theColor, double theAmount) noexcept {
  return MixColors(theColor, RelativeLuminance(theColor) > 0.18 ? clBlack : clWhite, theAmount);
}

}  // namespace vx
