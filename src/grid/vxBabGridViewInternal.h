#pragma once

// Helpers the grid view's files share.
#include <string>

#include <vxplan/grid/vxBabGridView.h>

namespace vx::gridview {

inline TBabSimpleCellStringData* StringData(const TBabCell* theCell) {
  return theCell && !theCell->IsGridCell() ? dynamic_cast<TBabSimpleCellStringData*>(theCell->GetBabCellData())
                                           : nullptr;
}

// Upper case of UTF-8 text: ASCII and the Latin-1 letters.
std::string UpperText(const std::string& theText);
// UTF-8 of one character.
std::string Utf8Of(char32_t theChar);

}  // namespace vx::gridview

namespace vx {

// The layout of the view's cell tree; the view does the work of each update.
class VX_HIDDEN TBabGridView_Custom::TViewLayout : public TBabGridLayout {
public:
  explicit TViewLayout(TBabGridView_Custom* theView)
      : TBabGridLayout(theView->fBabGridCellForViewer.get()), fView(theView) {}
  void HardViewParamsUpdate() override { fView->HardViewParamsUpdate(); }
  void SoftViewParamsUpdate() override { fView->SoftViewParamsUpdate(); }
  void BaseHardViewParamsUpdate() { TBabGridLayout::HardViewParamsUpdate(); }

private:
  TBabGridView_Custom* fView;
};

}  // namespace vx
