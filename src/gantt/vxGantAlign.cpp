// Lining up the left side, the time axis and the area.
#include <vxplan/gantt/vxGantAlign.h>

#include <algorithm>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {

void TGantAlign::HandleTreeAlign() {
  TvxGant_ComBasic& g = fChart;
  if (!g.fDateScaler || !g.fGA) return;
  g.fDateScaler->BeginUpdate();
  g.fGA->BeginUpdate();
  if (g.fTree && g.fPanelAboveTree) {
    if (g.fTree->GetAlign() != alClient) g.fTree->SetAlign(alClient);
    if (g.OnAlignNeed && !fAligning && !AlignedByApplication())
      g.OnAlignNeed(&g, g.fDateScaler->GetStart(), g.fDateScaler->GetStop(), g.fPanelTreeHolder->GetWidth());
    g.fTree->ExternalScrollOutOfDate();
  }
  g.fDateScaler->EndUpdate();
  g.fGA->EndUpdate();
}

void TGantAlign::LineUpTreeWithArea() {
  // The tree's first row at the height of the area's top.
  fChart.Realign();
  if (fChart.fPageControl->GetVisible()) fChart.fPageControl->Realign();
  fChart.fPanelScaleAndGantHolder->Realign();
  const int areaTop = fChart.fGA->ClientToScreen(Point(0, 0)).Y;
  const int treeTop = fChart.fPanelTreeHolder->ClientToScreen(Point(0, 0)).Y;
  fChart.fPanelAboveTree->SetHeight(std::max(areaTop - treeTop - fChart.GridHeaderHeight(), 0));
}

bool TGantAlign::AlignedByApplication() const {
  const TvxDateScaler* scaler = fChart.fDateScaler;
  return fApplicationAlign.width == fChart.GetTreeWidth() && fApplicationAlign.start == scaler->GetStart() &&
         fApplicationAlign.stop == scaler->GetStop();
}

void TGantAlign::SetScaleAndTree(TDateTime theStart, TDateTime theStop, int theTreeWidth) {
  TFlagScope aligning(fAligning);
  fChart.BeginUpdate();
  fChart.SetTreeWidth(theTreeWidth);
  fChart.fDateScaler->SetStart(theStart);
  fChart.fDateScaler->SetStop(theStop);
  fApplicationAlign = {fChart.fDateScaler->GetStart(), fChart.fDateScaler->GetStop(), fChart.GetTreeWidth()};
  fChart.EndUpdate();
}

void TGantAlign::ScaleChanged() {
  TvxGant_ComBasic& g = fChart;
  if (g.OnAlignNeed && !fAligning && !AlignedByApplication())
    g.OnAlignNeed(&g, g.fDateScaler->GetStart(), g.fDateScaler->GetStop(), g.GetTreeWidth());
  if (g.OnScalerChange) {
    const TDateTime start = g.fDateScaler->GetStart(), stop = g.fDateScaler->GetStop();
    g.OnScalerChange(&g, start, stop);
    if (g.fDateScaler->GetStart() != start || g.fDateScaler->GetStop() != stop) g.fDateScaler->StopStep();
  }
  g.InvalidateGA();
}

}  // namespace vx
