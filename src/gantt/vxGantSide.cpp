// What both left sides share: the rows of a page on paper, and the rows the
// area shows, from paper or from the screen.
#include <vxplan/gantt/vxGantSide.h>

#include <vxplan/gantt/vxGant.h>

namespace vx {

void TGantPrintRows::Begin() {
  End();
  fActive = true;
}

void TGantPrintRows::Add(const TvxDataEntity* theNode, int theTop, int theBottom) {
  if (!fActive || !theNode) return;
  fPlace.emplace(theNode, fRows.size());
  fRows.push_back({TvxHeld<TvxDataEntity>(const_cast<TvxDataEntity*>(theNode)), theTop, theBottom});
}

std::vector<TGantPrintRows::TPlace> TGantPrintRows::End() {
  std::vector<TPlace> rows = std::move(fRows);
  fActive = false;
  fRows.clear();
  fPlace.clear();
  return rows;
}

const TGantPrintRows::TPlace* TGantPrintRows::PlaceOf(const TvxDataEntity* theNode) const {
  auto it = fPlace.find(theNode);
  return it == fPlace.end() ? nullptr : &fRows[it->second];
}

TRect TGantSide::RowBand(const TGantRow* theRow) {
  const TvxDataEntity* node = NodeOf(theRow);
  if (!node) return NoRect();  // rows of the other side have no band
  if (!fPrintRows.Active()) return NodeBand(node);
  // On paper: by the row's place on the page; rows off the page have none.
  const TGantPrintRows::TPlace* place = fPrintRows.PlaceOf(node);
  return place ? Rect(0, place->fTop, 1, place->fBottom) : NoRect();
}

void TGantSide::ForEachShownRow(const std::function<void(TGantRow*)>& f) {
  if (!fPrintRows.Active()) {
    ForEachRowOnScreen(f);
    return;
  }
  // By index: drawing a row calls the application, which may delete rows.
  for (size_t k = 0; k < fPrintRows.Rows().size(); ++k) {
    TGantRow* row = RowOfNode(fPrintRows.Rows()[k].fNode.Get());
    if (!row) continue;
    row->UpdateRect();
    f(row);
  }
}

}  // namespace vx
