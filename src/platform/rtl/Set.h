#pragma once

#include <cstdint>
#include <initializer_list>

namespace vx {

// A set of the values of a small enumeration (ordinals 0..63), stored as bits.
template <class E>
class TSet {
public:
  constexpr TSet() noexcept = default;
  constexpr TSet(std::initializer_list<E> values) noexcept {
    for (E v : values) fBits |= Bit(v);
  }
  static constexpr TSet FromBits(std::uint64_t bits) noexcept {
    TSet s;
    s.fBits = bits;
    return s;
  }

  constexpr bool Contains(E v) const noexcept { return (fBits & Bit(v)) != 0; }
  constexpr TSet& Include(E v) noexcept {
    fBits |= Bit(v);
    return *this;
  }
  constexpr TSet& Exclude(E v) noexcept {
    fBits &= ~Bit(v);
    return *this;
  }
  constexpr bool IsEmpty() const noexcept { return fBits == 0; }
  constexpr std::uint64_t Bits() const noexcept { return fBits; }

  friend constexpr TSet operator+(TSet a, TSet b) noexcept { return FromBits(a.fBits | b.fBits); }
  friend constexpr TSet operator-(TSet a, TSet b) noexcept { return FromBits(a.fBits & ~b.fBits); }
  friend constexpr TSet operator*(TSet a, TSet b) noexcept { return FromBits(a.fBits & b.fBits); }
  friend constexpr bool operator==(TSet a, TSet b) noexcept { return a.fBits == b.fBits; }

private:
  static constexpr std::uint64_t Bit(E v) noexcept { return std::uint64_t{1} << static_cast<unsigned>(v); }
  std::uint64_t fBits = 0;
};

}  // namespace vx
