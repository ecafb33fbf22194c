#include <vxplan/platform/rtl/Exception.h>

namespace vx {

EListError::EListError(int theIndex)
    : Exception("List index out of bounds (" + std::to_string(theIndex) + ")") {}

}  // namespace vx
