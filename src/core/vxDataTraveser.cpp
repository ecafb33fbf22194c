#include <vxplan/core/vxDataTraveser.h>

#include <algorithm>

namespace vx {

TDataListTrav::TDataListTrav(TvxDataList* theList) : itsDataList(theList), itsMode(trmSingle) {}

TDataListTrav::TDataListTrav(TvxDataList2lev* theListList) : itsDataListList(theListList), itsMode(trmMulti) {}

TDataListTrav::TDataListTrav(TvxDataList2lev* theListList, int theStart)
    : itsDataListList(theListList), itsMode(trmMulti), itsMidStart(std::max(theStart, 0)) {}

TDataListTrav::TDataListTrav(TvxDataList2lev* theListList, std::span<const int> theOrder, int theHigh)
    : itsDataListList(theListList), itsMode(trmMulti), itsUseDrawingOrderList(true) {
  int high = theListList ? std::min(theHigh, theListList->Count() - 1) : -1;
  high = std::min({high, static_cast<int>(theOrder.size()) - 1, MaxDrawingOrder - 1});
  for (int k = 0; k <= high; ++k) itsDrawingOrderArray[static_cast<size_t>(k)] = theOrder[static_cast<size_t>(k)];
  itsDrawingOrderArrayCount = std::max(high + 1, 0);
}

TDataListTrav::TDataListTrav(TvxDataList3lev* theListListList)
    : itsDataListListList(theListListList), itsMode(trmMultiList) {}

void TDataListTrav::AddToTravList(TvxDataList* theList, int theListListIndex) {
  if (theList && theList->Count() > 0) {
    itsTravList.push_back(theList);
    itsTravListListIndex.push_back(theListListIndex);
  }
}

void TDataListTrav::BuildTravList() {
  itsTravList.clear();
  itsTravListListIndex.clear();
  switch (itsMode) {
    case trmSingle:
      AddToTravList(itsDataList, 0);
      break;
    case trmMulti:
      if (!itsDataListList) break;
      if (itsUseDrawingOrderList) {
        for (int k = 0; k < itsDrawingOrderArrayCount; ++k) {
          int index = itsDrawingOrderArray[static_cast<size_t>(k)];
          if (index != -1) AddToTravList(itsDataListList->GetDataList(index), 0);
        }
      } else {
        // A start beyond the holder asks for that list, so that a holder with
        // a missing-index handler can create it.
        if (itsMidStart > 0 && itsMidStart >= itsDataListList->Count()) itsDataListList->GetDataList(itsMidStart);
        for (int k = itsMidStart; k < itsDataListList->Count(); ++k) AddToTravList(itsDataListList->GetDataList(k), 0);
        for (int k = 0; k < itsMidStart && k < itsDataListList->Count(); ++k)
          AddToTravList(itsDataListList->GetDataList(k), 0);
      }
      break;
    case trmMultiList:
      if (!itsDataListListList) break;
      for (int m = 0; m < itsDataListListList->Count(); ++m) {
        TvxDataList2lev* holder = itsDataListListList->GetDataListList(m);
        if (!holder) continue;
        for (int k = 0; k < holder->Count(); ++k) AddToTravList(holder->GetDataList(k), m);
      }
      break;
  }
}

int TDataListTrav::CountAt(int theListPos) const {
  if (theListPos < 0 || theListPos >= GetTravListCount()) return 0;
  return itsTravList[static_cast<size_t>(theListPos)]->Count();
}

void TDataListTrav::UpdateCurrentListListIndex() {
  if (itsMode != trmMultiList) return;
  if (itsCurrentListIndex >= 0 && itsCurrentListIndex < GetTravListCount())
    itsCurrentListListIndex = itsTravListListIndex[static_cast<size_t>(itsCurrentListIndex)];
}

void TDataListTrav::First() {
  BuildTravList();
  itsCurrentListIndex = 0;
  itsCurrentIndex = 0;
  itsCurrentListListIndex = 0;
  UpdateCurrentListListIndex();
}

void TDataListTrav::Last() {
  BuildTravList();
  itsCurrentListIndex = GetTravListCount() - 1;
  itsCurrentIndex = CountAt(itsCurrentListIndex) - 1;
  itsCurrentListListIndex = 0;
  UpdateCurrentListListIndex();
}

void TDataListTrav::Next() {
  if (Eof()) return;
  if (itsCurrentListIndex < 0) {
    itsCurrentListIndex = 0;
    itsCurrentIndex = -1;
  }
  ++itsCurrentIndex;
  // Counts are read live: lists emptied during the walk are stepped over.
  while (itsCurrentListIndex < GetTravListCount() && itsCurrentIndex >= CountAt(itsCurrentListIndex)) {
    ++itsCurrentListIndex;
    itsCurrentIndex = 0;
  }
  UpdateCurrentListListIndex();
}

void TDataListTrav::Prev() {
  if (BOF()) return;
  if (itsCurrentListIndex >= GetTravListCount()) {
    itsCurrentListIndex = GetTravListCount() - 1;
    itsCurrentIndex = CountAt(itsCurrentListIndex);
  } else {
    itsCurrentIndex = std::min(itsCurrentIndex, CountAt(itsCurrentListIndex));
  }
  --itsCurrentIndex;
  while (itsCurrentListIndex >= 0 && itsCurrentIndex < 0) {
    --itsCurrentListIndex;
    itsCurrentIndex = itsCurrentListIndex >= 0 ? CountAt(itsCurrentListIndex) - 1 : -1;
  }
  UpdateCurrentListListIndex();
}

bool TDataListTrav::Eof() const {
  if (itsTravList.empty()) return true;
  return itsCurrentListIndex >= GetTravListCount() ||
         (itsCurrentListIndex >= 0 && itsCurrentIndex >= CountAt(itsCurrentListIndex));
}

bool TDataListTrav::BOF() const {
  if (itsTravList.empty()) return true;
  return itsCurrentListIndex < 0 || itsCurrentIndex < 0;
}

TvxDataList* TDataListTrav::GetCurrentDataList() const {
  if (Eof() || BOF()) return nullptr;
  return itsTravList[static_cast<size_t>(itsCurrentListIndex)];
}

TvxDataEntity* TDataListTrav::DataEntity() const {
  TvxDataList* list = GetCurrentDataList();
  return list ? list->GetItems(itsCurrentIndex) : nullptr;
}

int TDataListTrav::GetObsCountInList(int i) const { return CountAt(i); }

}  // namespace vx
