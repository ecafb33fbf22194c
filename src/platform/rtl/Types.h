#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <algorithm>
#include <climits>

namespace vx {

// Held at the ends of the int range instead of overflowing: geometry of
// things far off screen stays defined.
constexpr int ClampToInt(long long v) noexcept { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v); }
constexpr int AddClamped(int a, long long b) noexcept { return ClampToInt(a + b); }

// Device pixels. A rectangle runs from (Left, Top) to (Right, Bottom), the
// right and bottom edges excluded; (-1, -1, -1, -1) means "none".
struct VX_API TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct VX_API TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct VX_API TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const noexcept { return AddClamped(Right, -static_cast<long long>(Left)); }
  int Height() const noexcept { return AddClamped(Bottom, -static_cast<long long>(Top)); }
  bool IsEmpty() const noexcept { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint p) const noexcept { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(int x, int y) noexcept { return TPoint{x, y}; }
constexpr TRect Rect(int left, int top, int right, int bottom) noexcept { return TRect{left, top, right, bottom}; }
constexpr TRect NoRect() noexcept { return TRect{-1, -1, -1, -1}; }

inline TRect OffsetRect(TRect r, int dx, int dy) noexcept {
  return Rect(AddClamped(r.Left, dx), AddClamped(r.Top, dy), AddClamped(r.Right, dx), AddClamped(r.Bottom, dy));
}
inline TRect InflateRect(TRect r, int dx, int dy) noexcept {
  return Rect(AddClamped(r.Left, -static_cast<long long>(dx)), AddClamped(r.Top, -static_cast<long long>(dy)),
              AddClamped(r.Right, dx), AddClamped(r.Bottom, dy));
}
// The common part of a and b; an empty rectangle at the origin when they do not meet.
inline TRect IntersectRect(TRect a, TRect b) noexcept {
  TRect r = Rect(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom));
  return r.IsEmpty() ? TRect{} : r;
}

}  // namespace vx
