#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <array>
#include <span>
#include <vector>

#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/platform/rtl/Object.h>

namespace vx {

enum TTravMode { trmMultiList, trmMulti, trmSingle };

// Walks the entities of one list, of all lists of a two-level list, or of all
// lists of a three-level list, as one sequence, forwards or backwards. Empty
// lists are skipped. Entities are read through GetItems, so unloaded entities
// are loaded as the walk reaches them.
//
// Stepping past either end is harmless: Next at Eof and Prev at BOF do
// nothing, and DataEntity outside the walk answers nil.
class VX_API TDataListTrav : public TObject {
public:
  static constexpr int MaxDrawingOrder = 11;

  explicit TDataListTrav(TvxDataList* theList);
  explicit TDataListTrav(TvxDataList2lev* theListList);
  TDataListTrav(TvxDataList2lev* theListList, int theStart);
  // Walks the lists order[0] .. order[min(high, Count-1)] (at most 11; -1
  // entries are skipped).
  TDataListTrav(TvxDataList2lev* theListList, std::span<const int> theOrder, int theHigh);
  explicit TDataListTrav(TvxDataList3lev* theListListList);

  void First();
  void Last();
  void Next();
  void Prev();
  bool Eof() const;
  bool BOF() const;
  TvxDataEntity* DataEntity() const;
  // Count of the i-th list of the walking order; 0 outside it.
  int GetObsCountInList(int i) const;

  TTravMode GetMode() const noexcept { return itsMode; }
  int GetCurrentIndex() const noexcept { return itsCurrentIndex; }
  int GetCurrentListIndex() const noexcept { return itsCurrentListIndex; }
  int GetCurrentListListIndex() const noexcept { return itsCurrentListListIndex; }
  // The list of the current entity; nil outside the walk.
  TvxDataList* GetCurrentDataList() const;
  int GetTravListCount() const noexcept { return static_cast<int>(itsTravList.size()); }

private:
  void BuildTravList();
  void AddToTravList(TvxDataList* theList, int theListListIndex);
  int CountAt(int theListPos) const;
  void UpdateCurrentListListIndex();

  TvxDataList* itsDataList = nullptr;
  TvxDataList2lev* itsDataListList = nullptr;
  TvxDataList3lev* itsDataListListList = nullptr;
  int itsCurrentIndex = 0;
  int itsCurrentListIndex = 0;
  int itsCurrentListListIndex = 0;
  TTravMode itsMode;
  std::vector<TvxDataList*> itsTravList;
  std::vector<int> itsTravListListIndex;  // multi-list mode: the two-level list of each entry
  int itsMidStart = 0;
  std::array<int, MaxDrawingOrder> itsDrawingOrderArray{};
  int itsDrawingOrderArrayCount = 0;
  bool itsUseDrawingOrderList = false;
};

}  // namespace vx
