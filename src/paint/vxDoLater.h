#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstddef>
#include <cstdint>

#include <vxplan/platform/rtl/Object.h>
#include <vxplan/platform/rtl/SyncObjs.h>

namespace vx {

// A comparable method reference: an object and one of its member functions
// taking the call's data. Two references are equal when both the object and
// the member function are.
class VX_API TDoLaterCall {
public:
  constexpr TDoLaterCall() noexcept = default;

  template <auto Method, class T>
  static TDoLaterCall Of(T* theObject) noexcept {
    TDoLaterCall call;
    call.fObject = theObject;
    call.fCode = &Thunk<Method, T>;
    return call;
  }

  void operator()(TObject* theData) const {
    if (fCode) fCode(fObject, theData);
  }
  bool IsAssigned() const noexcept { return fCode != nullptr; }
  const void* GetObject() const noexcept { return fObject; }
  std::size_t Hash() const noexcept;

  friend bool operator==(const TDoLaterCall& a, const TDoLaterCall& b) noexcept {
    return a.fObject == b.fObject && a.fCode == b.fCode;
  }

private:
  using Code = void (*)(void*, TObject*);
  template <auto Method, class T>
  static void Thunk(void* theObject, TObject* theData) {
    (static_cast<T*>(theObject)->*Method)(theData);
  }

  void* fObject = nullptr;
  Code fCode = nullptr;
};

// The method reference of obj->Method, for DoLater and NeverMind.
template <auto Method, class T>
TDoLaterCall DoLaterCall(T* theObject) noexcept {
  return TDoLaterCall::Of<Method>(theObject);
}

// Process-wide queue of calls to run later, on the user-interface thread,
// after the current call: a burst of identical requests runs once.
//
// - DoLater may be called from any thread. A call equal to a pending one
//   (same method reference, same data) is dropped; order is kept.
// - A running call is no longer pending: queueing its twin while it runs
//   queues a new run.
// - A call that throws ends the pass; it stays first and runs again on the
//   next pass, and the exception reaches the caller of DoAllNow (from the
//   message loop: the application's exception handler).
// - Calls run with the queue unlocked, so that a worker queueing work never
//   waits for them; passes themselves do not overlap.
class VX_API TDoLater {
public:
  // The message loop runs pending calls in slices of about this many
  // milliseconds (DoAllNow runs them all).
  static constexpr int SliceMs = 8;
  static void DoLater(TDoLaterCall aCall, TObject* theData, const TThreadSyncInfo* aSyncInfo = nullptr);
  // Removes every pending entry of aCall, whatever its data, except a running one.
  static void NeverMind(TDoLaterCall aCall);
  // Runs all pending entries now, in queue order, and those they queue.
  static void DoAllNow();
  static bool AlreadyInList(TDoLaterCall aCall, TObject* theData);
  static bool CompareMethodPointer(TDoLaterCall a, TDoLaterCall b) noexcept { return a == b; }
  static int PendingCount();
};

// The message that makes the hidden window run the queue.
constexpr unsigned WM_DOLATER_RUN = 40925;

}  // namespace vx
