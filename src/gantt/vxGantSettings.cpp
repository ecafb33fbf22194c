// The left side's settings: the tree's, passed on to the grid.
#include "gantt/vxGantSettings.h"

namespace vx {

void TGantLeftSideSettings::SetColorTree(TColor v) {
  SettingsTree()->SetColor(v);
  if (TvxGrid* grid = SettingsGrid()) grid->SetColor(v);
}

void TGantLeftSideSettings::SetDragCursorTree(TCursor v) {
  SettingsTree()->SetDragCursor(v);
  if (TvxGrid* grid = SettingsGrid()) grid->SetDragCursor(v);
}

void TGantLeftSideSettings::SetDragModeTree(TDragMode v) {
  SettingsTree()->SetDragMode(v);
  if (TvxGrid* grid = SettingsGrid()) grid->SetDragMode(v);
}

void TGantLeftSideSettings::SetBorderStyleTree(TBorderStyle v) {
  fBorderStyleTree = v;
  if (TvxGrid* grid = SettingsGrid()) grid->SetBorderStyle(v);
}

void TGantLeftSideSettings::SetMultiSelectTree(bool v) {
  SettingsTree()->SetMultiSelect(v);
  if (TvxGrid* grid = SettingsGrid()) grid->SetMultiSelect(v);
}

void TGantLeftSideSettings::SetShowLinesTree(bool v) {
  SettingsTree()->SetShowLines(v);
  if (TvxGrid* grid = SettingsGrid()) grid->SetShowLinesTree(v);
}

void TGantLeftSideSettings::SetCursorTree(TCursor v) {
  SettingsTree()->SetCursor(v);
  if (TvxGrid* grid = SettingsGrid()) grid->SetCursorGrid(v);
}

void TGantLeftSideSettings::SetGridFocusRects(bool v) {
  SettingsGrid()->SetFocusRect_Cell(v);
  SettingsGrid()->SetFocusRect_Grid(v);
}

}  // namespace vx
