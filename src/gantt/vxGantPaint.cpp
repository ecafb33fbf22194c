// Painting of the Gantt area.
#include "gantt/vxGant.h"

namespace vx {

void TvxGant_ComBasic::GantAreaPaint(TObject*) {
  TCanvas* c = fGA->GetOffscreenCanvas();
  if (fTree && !fUseGridNotTree) fTree->EnsureDisplayUpToDate();
  c->GetBrush()->SetColor(0xC0C0C0);
  c->FillRect(fGA->GetClientRect());
  if (!fTree || fUseGridNotTree) return;
  const int rows = fTree->VisibleRowCount();
  for (int k = fTree->GetScrollInfo(sbVertical).nPos; k < rows; ++k) {
    TGantRow* row = fRowList->FindRowFromTreeNode(TvxTree_ComBasic::GetDataEntityFromNode(fTree->GetVisibleRow(k)));
    if (!row) continue;
    row->UpdateRect();
    if (row->GetRect().Top == -1) break;
    row->ForEachItem([&](TvxDataEntity_Kronit* item) {
      TRect r;
      if (IsVisible(item) && row->RectFromDataEntity(item, r)) {
        c->GetBrush()->SetColor(item->GetColor());
        c->FillRect(r);
      }
      return true;
    });
  }
}

}  // namespace vx
