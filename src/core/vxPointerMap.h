#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace vx {

// A map from object addresses to small values, held in one flat table
// (open addressing): no allocation per entry, which for hundreds of
// thousands of rows made and freed is most of what a node-based map costs.
// Nil is no key.
template <class V>
class TvxPointerMap {
public:
  std::size_t Size() const noexcept { return fSize; }

  V* Find(const void* theKey) noexcept {
    const std::size_t at = Locate(theKey);
    return at == kNone ? nullptr : &fSlots[at].value;
  }
  const V* Find(const void* theKey) const noexcept { return const_cast<TvxPointerMap*>(this)->Find(theKey); }

  // Sets theKey's value, adding the key when it is new.
  void Set(const void* theKey, V theValue) {
    if (!theKey || theKey == Gone()) return;
    if (std::size_t at = Locate(theKey); at != kNone) {
      fSlots[at].value = std::move(theValue);
      return;
    }
    if ((fSize + fGone + 1) * 2 > fSlots.size()) Rehash(std::max<std::size_t>(16, (fSize + 1) * 4));
    std::size_t i = Home(theKey);
    while (fSlots[i].key && fSlots[i].key != Gone()) i = (i + 1) & (fSlots.size() - 1);
    if (fSlots[i].key == Gone()) --fGone;
    fSlots[i] = Slot{theKey, std::move(theValue)};
    ++fSize;
  }

  bool Erase(const void* theKey) noexcept {
    const std::size_t at = Locate(theKey);
    if (at == kNone) return false;
    fSlots[at] = Slot{Gone(), V()};
    --fSize;
    ++fGone;
    return true;
  }

  void Clear() noexcept {
    fSlots.clear();
    fSize = fGone = 0;
  }

private:
  struct Slot {
    const void* key = nullptr;
    V value{};
  };
  static constexpr std::size_t kNone = ~std::size_t{0};
  // Marks a slot whose key was erased; no object lives at address 1.
  static const void* Gone() noexcept { return reinterpret_cast<const void*>(std::uintptr_t{1}); }

  std::size_t Home(const void* theKey) const noexcept {
    const auto h = (reinterpret_cast<std::uintptr_t>(theKey) >> 3) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(h ^ (h >> 29)) & (fSlots.size() - 1);
  }

  std::size_t Locate(const void* theKey) const noexcept {
    if (!theKey || theKey == Gone() || fSlots.empty()) return kNone;
    for (std::size_t i = Home(theKey);; i = (i + 1) & (fSlots.size() - 1)) {
      if (fSlots[i].key == theKey) return i;
      if (!fSlots[i].key) return kNone;
    }
  }

  void Rehash(std::size_t theAtLeast) {
    std::size_t capacity = 16;
    while (capacity < theAtLeast) capacity *= 2;
    std::vector<Slot> old(capacity);
    old.swap(fSlots);
    fGone = 0;
    for (Slot& s : old)
      if (s.key && s.key != Gone()) {
        std::size_t i = Home(s.key);
        while (fSlots[i].key) i = (i + 1) & (fSlots.size() - 1);
        fSlots[i] = std::move(s);
      }
  }

  std::vector<Slot> fSlots;  // a power of two in size, at most half taken
  std::size_t fSize = 0;
  std::size_t fGone = 0;  // erased slots still marked
};

}  // namespace vx
