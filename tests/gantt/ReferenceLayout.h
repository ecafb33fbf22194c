#pragma once

#include <vxplan/timeitems/vxTimeDistinctGeneric.h>

namespace vxtest {

// The layout by its definition: every pair, from the last holder backwards,
// placing each colliding holder first fit when first met. Quadratic; the
// library computes the same positions faster.
inline void ReferenceLayout(vx::TDistinctTimeHolderList* list) {
  vx::TTimeDistinctGeneric engine(list);
  const int n = list->Count();
  for (int i = n - 1; i >= 0; --i)
    for (int j = n - 1; j >= 0; --j) {
      vx::TDistinctTimeHolder* a = list->Get(i);
      vx::TDistinctTimeHolder* b = list->Get(j);
      if (i != j && vx::TTimeDistinctGeneric::InConflict(a, b)) {
        if (a->GetDistinctPosition() == 0) engine.MoveToConflictFreePosition(a);
        if (b->GetDistinctPosition() == 0) engine.MoveToConflictFreePosition(b);
      }
    }
}

}  // namespace vxtest
