#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

#include <vxplan/core/vxExposable.h>

namespace vx {

// The library's rule for calls out to the application: a handler may delete
// anything (the entity it was handed, its row or column, its list, all data)
// except its own control, which goes through deleteLater(). So after any call
// out (an On... event, a user-draw hook, a page or collision handler, a list
// controller handler that raises one), the library reads only what it holds
// with the tools below, or what it looks up afresh. Never a raw pointer taken
// before the call.

// Holds an exposable (see TvxExposable) for as long as the holder lives; a
// copy holds it once more. The object cannot be deleted under the holder:
// freeing it meanwhile only cleans it, and Get() then answers nil.
template <class T>
class TvxHeld {
public:
  TvxHeld() noexcept = default;
  explicit TvxHeld(T* theObject) noexcept : fObject(theObject) { Acquire(); }
  TvxHeld(const TvxHeld& theOther) noexcept : fObject(theOther.fObject) { Acquire(); }
  TvxHeld(TvxHeld&& theOther) noexcept : fObject(std::exchange(theOther.fObject, nullptr)) {}
  TvxHeld& operator=(TvxHeld theOther) noexcept {
    std::swap(fObject, theOther.fObject);
    return *this;
  }
  ~TvxHeld() { Reset(); }

  // The object, or nil when it has been freed since it was taken.
  T* Get() const noexcept { return fObject && !fObject->IsFreePending() ? fObject : nullptr; }
  explicit operator bool() const noexcept { return Get() != nullptr; }
  // An object was held and has been freed since.
  bool Gone() const noexcept { return fObject && fObject->IsFreePending(); }
  // Whether theObject is the one held, gone or not (an identity test only).
  bool Is(const void* theObject) const noexcept { return theObject && theObject == fObject; }
  // Lets the object go (it is deleted now when it was freed meanwhile).
  void Reset() noexcept {
    if (T* o = std::exchange(fObject, nullptr)) static_cast<TvxExposable*>(o)->Release();
  }
  void Reset(T* theObject) noexcept { *this = TvxHeld(theObject); }

private:
  void Acquire() noexcept {
    if (fObject) static_cast<TvxExposable*>(fObject)->AddRef();
  }

  T* fObject = nullptr;
};

// Many exposables held at once: a walk over a snapshot taken before the walk
// calls out. ForEach skips what has been freed meanwhile.
template <class T>
class TvxHeldList {
public:
  TvxHeldList() = default;
  TvxHeldList(const TvxHeldList&) = delete;
  TvxHeldList& operator=(const TvxHeldList&) = delete;
  ~TvxHeldList() { Clear(); }

  void Add(T* theObject) {
    if (!theObject) return;
    fItems.push_back(theObject);
    static_cast<TvxExposable*>(theObject)->AddRef();
  }
  std::size_t Size() const noexcept { return fItems.size(); }
  bool Empty() const noexcept { return fItems.empty(); }
  // Item k, nil when it has been freed meanwhile.
  T* At(std::size_t k) const noexcept {
    T* o = fItems[k];
    return o->IsFreePending() ? nullptr : o;
  }
  // Calls f(item) for every item still alive, in order; f may answer false to
  // stop (a void f walks them all).
  template <class F>
  void ForEach(F&& f) const {
    for (std::size_t k = 0; k < fItems.size(); ++k) {
      T* o = At(k);
      if (!o) continue;
      if constexpr (std::is_same_v<decltype(f(o)), bool>) {
        if (!f(o)) return;
      } else {
        f(o);
      }
    }
  }
  void Clear() noexcept {
    std::vector<T*> items;
    items.swap(fItems);
    for (T* o : items) static_cast<TvxExposable*>(o)->Release();
  }

private:
  std::vector<T*> fItems;
};

// For objects that are not exposables (cells, sections, records of a view):
// a TvxWatch tells whether the watched object still exists. The object pays
// for a watch only once one is taken (one small block, shared by its watches).
class VX_API TvxWatchable {
public:
  TvxWatchable() noexcept = default;
  // A copy is another object, with no watches of its own.
  TvxWatchable(const TvxWatchable&) noexcept {}
  TvxWatchable& operator=(const TvxWatchable&) noexcept { return *this; }

protected:
  ~TvxWatchable() {
    if (fBlock) {
      fBlock->fAlive = false;
      Unref(fBlock);
    }
  }

private:
  template <class>
  friend class TvxWatch;
  struct TBlock {
    int fRefs = 1;  // the object's own reference while it lives, and one per watch
    bool fAlive = true;
  };
  TBlock* Block() const {
    if (!fBlock) fBlock = new TBlock();
    return fBlock;
  }
  static void Unref(TBlock* theBlock) noexcept {
    if (--theBlock->fRefs == 0) delete theBlock;
  }

  mutable TBlock* fBlock = nullptr;
};

template <class T>
class TvxWatch {
public:
  TvxWatch() noexcept = default;
  explicit TvxWatch(T* theObject) : fObject(theObject) {
    if (fObject) {
      fBlock = static_cast<const TvxWatchable*>(fObject)->Block();
      ++fBlock->fRefs;
    }
  }
  TvxWatch(const TvxWatch& theOther) noexcept : fObject(theOther.fObject), fBlock(theOther.fBlock) {
    if (fBlock) ++fBlock->fRefs;
  }
  TvxWatch(TvxWatch&& theOther) noexcept
      : fObject(std::exchange(theOther.fObject, nullptr)), fBlock(std::exchange(theOther.fBlock, nullptr)) {}
  TvxWatch& operator=(TvxWatch theOther) noexcept {
    std::swap(fObject, theOther.fObject);
    std::swap(fBlock, theOther.fBlock);
    return *this;
  }
  ~TvxWatch() {
    if (fBlock) TvxWatchable::Unref(fBlock);
  }

  // The object, or nil once it has been deleted.
  T* Get() const noexcept { return fBlock && fBlock->fAlive ? fObject : nullptr; }
  explicit operator bool() const noexcept { return Get() != nullptr; }
  bool Is(const void* theObject) const noexcept { return theObject && theObject == fObject; }

private:
  T* fObject = nullptr;
  TvxWatchable::TBlock* fBlock = nullptr;
};

}  // namespace vx
