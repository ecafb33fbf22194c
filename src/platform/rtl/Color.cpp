#include <vxplan/platform/rtl/Color.h>

namespace vx {

namespace {

// A fixed, light system palette, so that drawings look the same everywhere.
constexpr TColor kSystemPalette[] = {
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
};

}  // namespace

TColor ColorToRGB(TColor theColor) noexcept {
  if (theColor < 0) {
    unsigned index = static_cast<unsigned>(theColor) & 0xFFu;
    if (index < sizeof kSystemPalette / sizeof kSystemPalette[0]) return kSystemPalette[index];
    return clBlack;
  }
  if (theColor == clNone || theColor == clDefault) return clWhite;
  return theColor & 0xFFFFFF;
}

}  // namespace vx
