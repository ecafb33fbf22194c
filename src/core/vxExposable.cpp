#include <vxplan/core/vxExposable.h>

#include <vxplan/platform/rtl/Exception.h>

namespace vx {

void TvxExposable::FreeWheneverPossible() {
  CleanForFree();
  FreeExposable(this);
}

void TvxExposable::FreeCall(TObject* theObject) {
  if (!theObject) return;
  auto* e = dynamic_cast<TvxExposable*>(theObject);
  if (!e) throw EInvalidCast();
  FreeExposable(e);
}

void TvxExposable::FreeExposable(TvxExposable* theObject) {
  if (theObject->CanDelete())
    delete theObject;
  else
    theObject->fWhenZeroRefCountDestroy = true;
}

void TvxExposable::Release() {
  if (fRefCount > 0) --fRefCount;
  if (fRefCount == 0 && fWhenZeroRefCountDestroy) delete this;
}

}  // namespace vx
