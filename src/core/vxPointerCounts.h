#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx::detail {

// How often each pointer occurs, in one open-addressed table (linear probing,
// at most half full): no allocation per key, which matters to a holder that
// counts a list per node of a large tree.
class TPointerCounts {
public:
  bool Empty() const noexcept { return fUsed == 0 && fNulls == 0; }
  int Get(const void* theKey) const noexcept {
    if (!theKey) return fNulls;
    if (fSlots.empty()) return 0;
    return fSlots[Find(theKey)].count;
  }
  // Adds theDelta to theKey's count; a count that drops to 0 or below goes.
  void Add(const void* theKey, int theDelta) {
    if (!theKey) {
      fNulls = fNulls + theDelta > 0 ? fNulls + theDelta : 0;
      return;
    }
    if ((fUsed + 1) * 2 > fSlots.size()) Grow();
    Slot& s = fSlots[Find(theKey)];
    if (!s.key) {
      if (theDelta <= 0) return;
      s.key = theKey;
      ++fUsed;
    }
    s.count += theDelta;
    if (s.count <= 0) Erase(theKey);
  }
  void Erase(const void* theKey) noexcept {
    if (!theKey) fNulls = 0;
    if (fSlots.empty() || !theKey) return;
    size_t hole = Find(theKey);
    if (!fSlots[hole].key) return;
    fSlots[hole] = Slot{};
    --fUsed;
    // Close the gap: a key further on moves back unless it sits where it hashes to, or past the hole.
    const size_t mask = fSlots.size() - 1;
    for (size_t k = (hole + 1) & mask; fSlots[k].key; k = (k + 1) & mask) {
      const size_t home = Home(fSlots[k].key);
      if (((k - home) & mask) >= ((k - hole) & mask)) {
        fSlots[hole] = fSlots[k];
        fSlots[k] = Slot{};
        hole = k;
      }
    }
  }
  void Clear() noexcept {
    fSlots.clear();
    fSlots.shrink_to_fit();
    fUsed = 0;
    fNulls = 0;
  }

private:
  struct Slot {
    const void* key = nullptr;
    int count = 0;
  };

  size_t Home(const void* theKey) const noexcept {
    const auto h = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(theKey)) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> 32) & (fSlots.size() - 1);
  }
  // theKey's slot, or the empty slot where it would go.
  size_t Find(const void* theKey) const noexcept {
    const size_t mask = fSlots.size() - 1;
    size_t k = Home(theKey);
    while (fSlots[k].key && fSlots[k].key != theKey) k = (k + 1) & mask;
    return k;
  }
  void Grow() {
    std::vector<Slot> old;
    old.swap(fSlots);
    fSlots.resize(old.empty() ? 64 : old.size() * 2);
    for (const Slot& s : old)
      if (s.key) fSlots[Find(s.key)] = s;
  }

  std::vector<Slot> fSlots;  // a power of two in size, or empty
  size_t fUsed = 0;
  int fNulls = 0;  // the empty key is counted apart: nil marks a free slot
};

}  // namespace vx::detail
