// Browses a data list of 10,000,000 virtually loaded entities: the list holds
// counts for what is not on screen and creates entities only as they are read.
#include <cstdio>
#include <string>

#include "core/vxDataEntityPack.h"

using namespace vx;

namespace {

struct Stats {
  long loads = 0;
  long unloads = 0;
};

void Show(const char* step, TvxDataList* list, const Stats& stats) {
  const TvxDataEntity* first = list->GetLoaded(0);
  const TvxDataEntity* last = list->GetLoaded(list->LoadedCount() - 1);
  std::printf("%-34s count %9d | before %9d | loaded %4d | after %9d | window %s .. %s | loads %6ld unloads %6ld\n",
              step, list->Count(), list->GetUnloadedPreCount(), list->LoadedCount(), list->GetUnloadedPostCount(),
              first ? first->GetVariantReference().AsString().c_str() : "-",
              last ? last->GetVariantReference().AsString().c_str() : "-", stats.loads, stats.unloads);
}

}  // namespace

int main() {
  Stats stats;
  TvxListController controller;
  // The application fills a freshly loaded entity from its own data...
  controller.fOnLoadItem = [&](TvxDataEntity* e) {
    ++stats.loads;
    e->SetVariantReference(Variant("row " + std::to_string(e->ListIndex())));
  };
  // ...and lets any entity go again.
  controller.fOnUnLoadItem = [&](TvxDataEntity*, bool& canUnload) {
    canUnload = true;
    ++stats.unloads;
  };

  TvxOwned<TvxDataList> list(TvxDataList::Create(&controller, TvxDataEntityClass::Of<TvxDataEntity>()));
  list->AddUnloaded(10'000'000);
  Show("10,000,000 rows, none loaded", list.get(), stats);

  for (int top = 0; top < 2000; top += 50) {
    for (int i = top; i < top + 50; ++i) list->GetItems(i);
    if (top % 500 == 450 || top == 0) Show(("scrolled to row " + std::to_string(top)).c_str(), list.get(), stats);
  }
  for (int i = 7'654'321; i < 7'654'321 + 50; ++i) list->GetItems(i);
  Show("jumped to row 7,654,321", list.get(), stats);
  for (int i = 7'654'320; i >= 7'654'000; --i) list->GetItems(i);
  Show("scrolled back to row 7,654,000", list.get(), stats);
  list->GetItems(9'999'999);
  Show("jumped to the last row", list.get(), stats);

  // A small list sorted through the controller's compare handler.
  TvxListController sortController;
  sortController.fOnSortCompare = [](TvxDataEntity* a, TvxDataEntity* b) {
    return a->GetVariantReference().AsString().compare(b->GetVariantReference().AsString());
  };
  TvxOwned<TvxDataList> fruits(TvxDataList::Create(&sortController, {}));
  for (const char* name : {"plum", "apple", "quince", "cherry", "fig", "banana"})
    fruits->Add()->SetVariantReference(Variant(name));
  auto print = [&](const char* title) {
    std::printf("%-34s", title);
    for (int i = 0; i < fruits->Count(); ++i)
      std::printf(" %s", fruits->GetItems(i)->GetVariantReference().AsString().c_str());
    std::printf("\n");
  };
  print("small list as inserted:");
  fruits->Sort(false);
  print("sorted ascending:");
  fruits->Sort(true);
  print("sorted descending:");
  return 0;
}
