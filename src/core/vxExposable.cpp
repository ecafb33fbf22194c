#include "core/vxExposable.h"

#include "platform/rtl/Exception.h"

namespace vx {

void TvxExposable::FreeWheneverPossible() {
  CleanForFree();
  FreeCall(this);
}

void TvxExposable::FreeCall(TObject* theObject) {
  if (!theObject) return;
  auto* e = dynamic_cast<TvxExposable*>(theObject);
  if (!e) throw EInvalidCast();
  if (e->CanDelete())
    delete e;
  else
    e->fWhenZeroRefCountDestroy = true;
}

void TvxExposable::Release() {
  if (fRefCount > 0) --fRefCount;
  if (fRefCount == 0 && fWhenZeroRefCountDestroy) delete this;
}

}  // namespace vx
