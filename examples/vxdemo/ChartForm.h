#pragma once

#include <vxplan/gantt/vxGant.h>

// A chart filling a borderless form of the gallery's page size, as every
// Gantt page has it: the palette's colours, the Qt wheel, hints beside the
// pointer as Qt's tool tips are, typing over a grid cell's text as in Qt's
// views.
template <class Chart>
Chart* ChartOnForm(vx::TPanel*& theForm, int theTreeWidth, int theItemHeight) {
  theForm = new vx::TPanel(nullptr);
  theForm->SetBevelOuter(vx::bvNone);
  theForm->SetBounds(0, 0, 1160, 560);
  auto* g = new Chart(theForm);
  g->SetParent(theForm);
  g->SetAlign(vx::alClient);
  g->SetTreeWidth(theTreeWidth);
  g->SetGantBackColor(vx::clWindow);
  g->SetGantPyjamasColor(vx::clStripe);
  g->GetTreeView()->SetItemHeight(theItemHeight);
  g->SetWheelConvention(vx::wcQt);
  if (vx::TvxGrid* grid = g->GetGrid()) grid->SetTypingConvention(vx::tcQt);
  if (vx::TGraphHintWindow* hint = g->GetHintWindow()) hint->SetShowBelowOwner(false);
  return g;
}
