#pragma once

#include <memory>
#include <string>
#include <vector>

#include <vxplan/grid/vxBabGridContent.h>

namespace gridtest {

using namespace vx;

// A value an axis item stands for.
struct Tag : TObject {
  explicit Tag(int theId) : id(theId) {}
  int id;
};

inline std::unique_ptr<TBabGridCellForViewer> NewGrid() {
  return std::make_unique<TBabGridCellForViewer>(nullptr, TBabSimpleCellDataClass::Of<TBabSimpleCellData>(),
                                                 TBabGridCellDataClass::Of<TBabGridCellData>());
}

inline void AddCols(TBabGridCell* g, int n) {
  for (int k = 0; k < n; ++k) g->GetAxisContentListX()->AddNew(nullptr);
}

inline void AddRows(TBabGridCell* g, int n) {
  for (int k = 0; k < n; ++k) g->GetAxisContentListY()->AddNew(nullptr);
}

// Lets every item of every axis be unloaded.
inline void AllowUnload(TBabGridCellForViewer* g) {
  g->fOnVirtualUnLoad = [](TBabGridCell*, TAxisContentItem*, bool, bool, bool& can) { can = true; };
}

// Real indexes of the loaded items of an axis, in loaded order.
inline std::vector<int> LoadedIndexes(const TAxisContentList* a) {
  std::vector<int> r;
  for (int p = 0; p < a->LoadedCount(); ++p) r.push_back(a->getLoadedAxisContentItem(p)->ListIndex());
  return r;
}

// The message of the vx::Exception theCall raises; "<none>" when it raises none.
template <class F>
std::string ErrorOf(F&& theCall) {
  try {
    theCall();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "<none>";
}

inline std::vector<int> Range(int from, int to) {
  std::vector<int> r;
  for (int k = from; k <= to; ++k) r.push_back(k);
  return r;
}

inline std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace gridtest
