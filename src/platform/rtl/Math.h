#pragma once

#include <cmath>
#include <cstdint>

namespace vx {

// Nearest integer, exact halves to the even neighbour.
inline int Round(double x) noexcept { return static_cast<int>(std::nearbyint(x)); }
inline std::int64_t Round64(double x) noexcept { return static_cast<std::int64_t>(std::nearbyint(x)); }
// Toward zero.
inline int Trunc(double x) noexcept { return static_cast<int>(x); }
// a * b / c in 64 bits, rounded half away from zero; -1 when c is 0.
inline int MulDiv(int a, int b, int c) noexcept {
  if (c == 0) return -1;
  const std::int64_t p = static_cast<std::int64_t>(a) * b;
  std::int64_t q = p / c;
  const std::int64_t r = p % c;
  if (2 * (r < 0 ? -r : r) >= (c < 0 ? -static_cast<std::int64_t>(c) : c)) q += ((p < 0) != (c < 0)) ? -1 : 1;
  return static_cast<int>(q);
}

}  // namespace vx
