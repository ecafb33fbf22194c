#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <initializer_list>

#include <vxplan/platform/ui/Controls.h>

namespace vx {

// Tab walks theControls in the order given, each after the one before it;
// those that take no focus (hidden, disabled, no tab stop) are passed over
// by Tab itself. Null entries are skipped.
VX_API void SetTabOrder(std::initializer_list<TControl*> theControls);

}  // namespace vx
