#pragma once

#include <vxplan/core/vxPointerMap.h>

namespace vx::detail {

// How often each pointer occurs, in one flat table: no allocation per key,
// which matters to a holder that counts a list per node of a large tree.
// Nil is counted apart.
class TPointerCounts {
public:
  bool Empty() const noexcept { return fCounts.Size() == 0 && fNulls == 0; }
  int Get(const void* theKey) const noexcept {
    if (!theKey) return fNulls;
    const int* count = fCounts.Find(theKey);
    return count ? *count : 0;
  }
  // Adds theDelta to theKey's count; a count that drops to 0 or below goes.
  void Add(const void* theKey, int theDelta) {
    if (!theKey) {
      fNulls = fNulls + theDelta > 0 ? fNulls + theDelta : 0;
      return;
    }
    int* count = fCounts.Find(theKey);
    if (!count) {
      if (theDelta > 0) fCounts.Set(theKey, theDelta);
      return;
    }
    *count += theDelta;
    if (*count <= 0) fCounts.Erase(theKey);
  }
  void Erase(const void* theKey) noexcept {
    if (!theKey)
      fNulls = 0;
    else
      fCounts.Erase(theKey);
  }
  void Clear() noexcept {
    fCounts.Clear();
    fNulls = 0;
  }

private:
  TvxPointerMap<int> fCounts;
  int fNulls = 0;
};

}  // namespace vx::detail
