#include <vxplan/core/vxBeginUpdate.h>

namespace vx {

TvxBeginUpdate::TvxBeginUpdate(TOnBeginOrEndUpdate theBeginUpdate, TOnBeginOrEndUpdate theEndUpdate)
    : itsBeginUpdate(std::move(theBeginUpdate)), itsEndUpdate(std::move(theEndUpdate)) {}

TvxBeginUpdate::~TvxBeginUpdate() {
  if (itsBeginUpdateEntered && itsEndUpdate) itsEndUpdate();
}

void TvxBeginUpdate::Mark() {
  if (itsBeginUpdateEntered) return;
  if (itsBeginUpdate) itsBeginUpdate();
  itsBeginUpdateEntered = true;
}

}  // namespace vx
