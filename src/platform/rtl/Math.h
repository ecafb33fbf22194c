#pragma once

#include <cmath>
#include <cstdint>

namespace vx {

// Nearest integer, exact halves to the even neighbour. Values beyond the
// integer range saturate and NaN gives 0, so that no conversion is undefined.
inline int Round(double x) noexcept {
  if (!(x == x)) return 0;
  const double r = std::nearbyint(x);
  if (r >= 2147483647.0) return 2147483647;
  if (r <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(r);
}
inline std::int64_t Round64(double x) noexcept {
  if (!(x == x)) return 0;
  const double r = std::nearbyint(x);
  if (r >= 9.2e18) return INT64_MAX;
  if (r <= -9.2e18) return INT64_MIN;
  return static_cast<std::int64_t>(r);
}
// Toward zero, saturating like Round.
inline int Trunc(double x) noexcept {
  if (!(x == x)) return 0;
  if (x >= 2147483647.0) return 2147483647;
  if (x <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(x);
}
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
