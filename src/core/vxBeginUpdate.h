#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>

#include <vxplan/platform/rtl/Object.h>

namespace vx {

using TOnBeginOrEndUpdate = std::function<void()>;

// Pairs at most one begin-update with one end-update: begin on the first Mark,
// end when the object goes, and no end when Mark was never called.
class VX_API TvxBeginUpdate : public TObject {
public:
  TvxBeginUpdate(TOnBeginOrEndUpdate theBeginUpdate, TOnBeginOrEndUpdate theEndUpdate);
  ~TvxBeginUpdate() override;

  void Mark();
  bool GetBeginUpdateEntered() const noexcept { return itsBeginUpdateEntered; }

private:
  bool itsBeginUpdateEntered = false;
  TOnBeginOrEndUpdate itsBeginUpdate;
  TOnBeginOrEndUpdate itsEndUpdate;
};

}  // namespace vx
