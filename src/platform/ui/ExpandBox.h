#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/ui/Graphics.h>

namespace vx {

// The +/- box of a tree node, 9 pixels square around theCentre, minus when
// expanded, plus when not. Drawn by filling whole logical pixels so that at
// any pixel ratio frame and strokes are as thick and the box stays centred on
// the tree lines. Leaves the brush solid.
VX_API void DrawExpandBox(TCanvas& theCanvas, TPoint theCentre, bool theExpanded, TColor theFill);

}  // namespace vx
