#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace vx {

// A map from object addresses to small values, held in one flat table
// (open addressing, linear probing, at most half full): no allocation per
// entry, which for hundreds of thousands of rows or lists made and freed is
// most of what a node-based map costs. Nil is no key.
template <class V>
class TvxPointerMap {
public:
  std::size_t Size() const noexcept { return fUsed; }

  V* Find(const void* theKey) noexcept {
    if (!theKey || fSlots.empty()) return nullptr;
    Slot& s = fSlots[Place(theKey)];
    return s.key ? &s.value : nullptr;
  }
  const V* Find(const void* theKey) const noexcept { return const_cast<TvxPointerMap*>(this)->Find(theKey); }

  // Sets theKey's value, adding the key when it is new.
  void Set(const void* theKey, V theValue) {
    if (!theKey) return;
    if ((fUsed + 1) * 2 > fSlots.size()) Grow();
    Slot& s = fSlots[Place(theKey)];
    if (!s.key) {
      s.key = theKey;
      ++fUsed;
    }
    s.value = std::move(theValue);
  }

  bool Erase(const void* theKey) noexcept {
    if (!theKey || fSlots.empty()) return false;
    std::size_t hole = Place(theKey);
    if (!fSlots[hole].key) return false;
    fSlots[hole] = Slot{};
    --fUsed;
    // Close the gap: a key further on moves back unless it sits at or after
    // its home counted from the hole.
    const std::size_t mask = fSlots.size() - 1;
    for (std::size_t k = (hole + 1) & mask; fSlots[k].key; k = (k + 1) & mask) {
      const std::size_t home = Home(fSlots[k].key);
      if (((k - home) & mask) >= ((k - hole) & mask)) {
        fSlots[hole] = std::move(fSlots[k]);
        fSlots[k] = Slot{};
        hole = k;
      }
    }
    return true;
  }

  void Clear() noexcept {
    fSlots.clear();
    fSlots.shrink_to_fit();
    fUsed = 0;
  }

private:
  struct Slot {
    const void* key = nullptr;
    V value{};
  };

  std::size_t Home(const void* theKey) const noexcept {
    const auto h = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(theKey)) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(h >> 32) & (fSlots.size() - 1);
  }
  // theKey's slot, or the empty slot where it would go.
  std::size_t Place(const void* theKey) const noexcept {
    const std::size_t mask = fSlots.size() - 1;
    std::size_t k = Home(theKey);
    while (fSlots[k].key && fSlots[k].key != theKey) k = (k + 1) & mask;
    return k;
  }
  void Grow() {
    std::vector<Slot> old;
    old.swap(fSlots);
    fSlots.resize(old.empty() ? 16 : old.size() * 2);
    for (Slot& s : old)
      if (s.key) fSlots[Place(s.key)] = std::move(s);
  }

  std::vector<Slot> fSlots;  // a power of two in size, or empty
  std::size_t fUsed = 0;
};

}  // namespace vx
