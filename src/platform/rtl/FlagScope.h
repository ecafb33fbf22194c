#pragma once

#include <concepts>
#include <utility>

namespace vx {

// Gives a variable a value for the life of a scope and puts back the value it
// had when the scope ends, by return or by exception. Without a value a flag
// is set and a counter counts one more: scopes nest.
template <class T>
class TFlagScope {
public:
  explicit TFlagScope(T& theVar)
    requires std::same_as<T, bool> || std::integral<T>
      : TFlagScope(theVar, Raised(theVar)) {}
  TFlagScope(T& theVar, T theValue) : fVar(theVar), fSaved(std::exchange(theVar, std::move(theValue))) {}
  ~TFlagScope() { fVar = std::move(fSaved); }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

private:
  static T Raised(const T& theVar) {
    if constexpr (std::same_as<T, bool>)
      return true;
    else
      return static_cast<T>(theVar + 1);
  }

  T& fVar;
  T fSaved;
};

template <class T>
TFlagScope(T&) -> TFlagScope<T>;
template <class T, class U>
TFlagScope(T&, U) -> TFlagScope<T>;

}  // namespace vx
