#pragma once

#include <vxplan/platform/rtl/Export.h>

// The system colours of a Qt palette: what the components draw with on
// screen, so that they follow the application's palette, dark or light.
#include <QPalette>

#include <vxplan/platform/rtl/Color.h>

namespace vx {

// The system colours of theGroup of thePalette, the derived ones included.
VX_API TSystemColors SystemColorsFrom(const QPalette& thePalette, QPalette::ColorGroup theGroup);

// Whether the active and inactive groups give different system colours.
VX_API bool GroupsDiffer(const QPalette& thePalette);

// Makes the application's palette (its active group) what system colours
// resolve through outside a paint; called when the first control is made and
// whenever the application's palette changes.
VX_API void FollowApplicationPalette();

}  // namespace vx
