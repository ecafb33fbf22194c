#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>

#include <vxplan/platform/rtl/Object.h>

namespace vx {

// Common base of data entities, data lists and their holders. Such an object
// ends in two steps: it is cleaned first (its owner and listeners are told it
// goes, its links to the owner are cut), then freed: FreeWheneverPossible.
//
// The library holds an object (AddRef/Release) while it is in the middle of
// an operation on it, so that a handler that frees it cannot pull it away under
// the operation's feet: freeing a held object is postponed to its last Release.
class VX_API TvxExposable : public TObject {
public:
  TvxExposable() { Initialize(); }

  virtual void CleanForFree() = 0;

  void FreeWheneverPossible();

  // Frees theObject when it can be deleted now; otherwise marks it to be freed
  // when the last hold goes. Nil is ignored; an object that is not a
  // TvxExposable raises EInvalidCast.
  static void FreeCall(TObject* theObject);

  virtual bool CanDelete() const noexcept { return fRefCount == 0; }
  TObject* GetObjectFromInterface() noexcept { return this; }

  void AddRef() noexcept { ++fRefCount; }
  void Release();
  bool IsFreePending() const noexcept { return fWhenZeroRefCountDestroy; }

protected:
  // Only FreeCall ends an exposable, so that cleaning always comes first.
  ~TvxExposable() override = default;

  void Initialize() {}

private:
  static void FreeExposable(TvxExposable* theObject);

  int fRefCount = 0;
  bool fWhenZeroRefCountDestroy = false;
};

// Holds an exposable for the length of a scope (see TvxExposable).
class VX_API TvxHold {
public:
  explicit TvxHold(TvxExposable* theObject) noexcept : fObject(theObject) {
    if (fObject) fObject->AddRef();
  }
  ~TvxHold() {
    if (fObject) fObject->Release();
  }
  TvxHold(const TvxHold&) = delete;
  TvxHold& operator=(const TvxHold&) = delete;
  // The object was freed while held (see vxHolding for the other holders).
  bool Gone() const noexcept { return fObject && fObject->IsFreePending(); }

private:
  TvxExposable* fObject;
};

// Owning pointer for an exposable: disposes of it with FreeWheneverPossible.
struct VX_API TvxFreeWheneverPossible {
  void operator()(TvxExposable* theObject) const {
    if (theObject) theObject->FreeWheneverPossible();
  }
};

template <class T>
using TvxOwned = std::unique_ptr<T, TvxFreeWheneverPossible>;

}  // namespace vx
