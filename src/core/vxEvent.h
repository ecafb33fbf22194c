#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstddef>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include <vxplan/core/vxHolding.h>

namespace vx {

namespace detail {

// How one argument of an event crosses the application's handler on its way
// to the listeners: an exposable is held and a watchable watched, so that a
// listener gets nil for what the handler freed; anything else goes as it is.
template <class A, class = void>
struct TEventArg {
  explicit TEventArg(A& theValue) noexcept : fValue(theValue) {}
  A& Get() const noexcept { return fValue; }
  A& fValue;
};

template <class T>
struct TEventArg<T*, std::enable_if_t<std::is_base_of_v<TvxExposable, T>>> {
  explicit TEventArg(T* theValue) noexcept : fHeld(theValue) {}
  T* Get() const noexcept { return fHeld.Get(); }
  TvxHeld<T> fHeld;
};

template <class T>
struct TEventArg<T*, std::enable_if_t<!std::is_base_of_v<TvxExposable, T> && std::is_base_of_v<TvxWatchable, T>>> {
  explicit TEventArg(T* theValue) : fWatch(theValue) {}
  T* Get() const noexcept { return fWatch.Get(); }
  TvxWatch<T> fWatch;
};

}  // namespace detail

class TvxEventAccess;

template <class Sig>
class TvxEvent;

namespace detail {
template <class F>
struct TSignatureOf;
template <class... A>
struct TSignatureOf<std::function<void(A...)>> {
  using type = void(A...);
};
}  // namespace detail

// The event for a std::function alias: TvxEventOf<TNotifyEvent>.
template <class F>
using TvxEventOf = TvxEvent<typename detail::TSignatureOf<F>::type>;

// A notification event: the application's handler (assigned, cleared and
// tested as a std::function) and, behind it, listeners that the library
// attaches for itself (the Qt widgets' signals). Calling it runs the handler,
// then each listener; pointers to exposables and watchables reach the
// listeners afresh, nil when the handler freed them. Events whose answer
// comes back through a reference stay plain std::function: there the
// emptiness of the handler means "do the default".

template <class... A>
class TvxEvent<void(A...)> {
public:
  using THandler = std::function<void(A...)>;

  TvxEvent() = default;
  // A copy is the application's handler alone, as a std::function's would be
  // (the usual chaining: [previous = g->OnX](...) { previous(...); ... }).
  // The listeners stay with the event they were attached to.
  TvxEvent(const TvxEvent& theOther) : fHandler(theOther.fHandler) {}
  TvxEvent& operator=(const TvxEvent& theOther) {
    if (this != &theOther) fHandler = theOther.fHandler;
    return *this;
  }
  // The application's handler, where a std::function is wanted.
  operator const THandler&() const noexcept { return fHandler; }

  template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, TvxEvent> &&
                                              std::is_constructible_v<THandler, F&&>>>
  TvxEvent& operator=(F&& theHandler) {
    fHandler = THandler(std::forward<F>(theHandler));
    return *this;
  }
  TvxEvent& operator=(std::nullptr_t) noexcept {
    fHandler = nullptr;
    return *this;
  }

  // Someone wants it: the application or a listener.
  explicit operator bool() const noexcept { return fHandler || fLive > 0; }
  // The application's handler alone.
  const THandler& Handler() const noexcept { return fHandler; }

  void operator()(A... a) const {
    if (fLive == 0) {
      if (fHandler) fHandler(a...);
      return;
    }
    const std::tuple<detail::TEventArg<A>...> held{detail::TEventArg<A>(a)...};
    if (fHandler) fHandler(a...);
    ++fDispatching;
    // By index: a listener may attach or detach others.
    for (std::size_t k = 0; k < fListeners.size(); ++k) {
      if (!fListeners[k].fCall) continue;
      const THandler call = fListeners[k].fCall;
      std::apply([&](const auto&... h) { call(h.Get()...); }, held);
    }
    if (--fDispatching == 0) Compact();
  }

private:
  friend class TvxEventAccess;
  struct TListener {
    int fId;
    THandler fCall;
  };

  int Listen(THandler theCall) {
    if (!theCall) return 0;
    fListeners.push_back({++fLastId, std::move(theCall)});
    ++fLive;
    return fLastId;
  }
  void Unlisten(int theId) noexcept {
    for (TListener& l : fListeners)
      if (l.fId == theId && l.fCall) {
        l.fCall = nullptr;
        --fLive;
      }
    if (fDispatching == 0) Compact();
  }
  void Compact() const noexcept {
    std::erase_if(fListeners, [](const TListener& l) { return !l.fCall; });
  }

  THandler fHandler;
  mutable std::vector<TListener> fListeners;
  int fLive = 0;
  int fLastId = 0;
  mutable int fDispatching = 0;
};

// The library's own door to an event's listeners; application code assigns
// the handler and leaves the listeners alone.
class VX_API TvxEventAccess {
public:
  // Answers the id to detach with (0 for an empty call).
  template <class Sig, class F>
  static int Listen(TvxEvent<Sig>& theEvent, F&& theCall) {
    return theEvent.Listen(typename TvxEvent<Sig>::THandler(std::forward<F>(theCall)));
  }
  template <class Sig>
  static void Unlisten(TvxEvent<Sig>& theEvent, int theId) noexcept {
    theEvent.Unlisten(theId);
  }
};

// Listeners attached for one owner, detached together (when the owner goes,
// before the events do).
class VX_API TvxEventListeners {
public:
  TvxEventListeners() = default;
  TvxEventListeners(const TvxEventListeners&) = delete;
  TvxEventListeners& operator=(const TvxEventListeners&) = delete;
  ~TvxEventListeners() { Clear(); }

  template <class Sig, class F>
  void Listen(TvxEvent<Sig>& theEvent, F&& theCall) {
    const int id = TvxEventAccess::Listen(theEvent, std::forward<F>(theCall));
    if (id) fDetach.push_back([&theEvent, id] { TvxEventAccess::Unlisten(theEvent, id); });
  }
  void Clear() noexcept {
    std::vector<std::function<void()>> detach;
    detach.swap(fDetach);
    for (auto& d : detach) d();
  }

private:
  std::vector<std::function<void()>> fDetach;
};

}  // namespace vx
