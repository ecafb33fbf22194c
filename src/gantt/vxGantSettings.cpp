// The settings groups whose setters reach into the chart's children.
#include <vxplan/gantt/vxGantSettings.h>

namespace vx {

void TGantLeftSideSettings::SetColorTree(TColor v) {
  SettingsTree()->SetColor(v);
  if (TvxGrid* grid = GetGrid()) grid->SetColor(v);
}

void TGantLeftSideSettings::SetDragCursorTree(TCursor v) {
  SettingsTree()->SetDragCursor(v);
  if (TvxGrid* grid = GetGrid()) grid->SetDragCursor(v);
}

void TGantLeftSideSettings::SetDragModeTree(TDragMode v) {
  SettingsTree()->SetDragMode(v);
  if (TvxGrid* grid = GetGrid()) grid->SetDragMode(v);
}

void TGantLeftSideSettings::SetBorderStyleTree(TBorderStyle v) {
  SettingsTree()->SetBorderStyle(v);
  if (TvxGrid* grid = GetGrid()) grid->SetBorderStyle(v);
}

void TGantLeftSideSettings::SetMultiSelectTree(bool v) {
  SettingsTree()->SetMultiSelect(v);
  if (TvxGrid* grid = GetGrid()) grid->SetMultiSelect(v);
}

void TGantLeftSideSettings::SetShowLinesTree(bool v) {
  SettingsTree()->SetShowLines(v);
  if (TvxGrid* grid = GetGrid()) grid->SetShowLinesTree(v);
}

void TGantLeftSideSettings::SetCursorTree(TCursor v) {
  SettingsTree()->SetCursor(v);
  if (TvxGrid* grid = GetGrid()) grid->SetCursorGrid(v);
}

void TGantLeftSideSettings::SetGridFocusRects(bool v) {
  GetGrid()->SetFocusRect_Cell(v);
  GetGrid()->SetFocusRect_Grid(v);
}

void TGantLeftSideSettings::SetPopupMenuTreeview(TPopupMenu* m) {
  SettingsTree()->SetPopupMenu(m);
  if (TvxGrid* grid = GetGrid()) grid->SetPopupMenu(m);
}

void TGantAreaSettings::SetCursorGantArea(TCursor v) {
  fCursorGantArea = v;
  if (TvxOffscreenPaint_GA* area = SettingsArea()) area->SetCursor(v);
}

void TGantAreaSettings::SetWheelConvention(TWheelConvention theValue) {
  fWheelConvention = theValue;
  if (TvxDateScaler* scaler = SettingsScaler()) scaler->SetWheelConvention(theValue);
  fWheelRows.Reset();
}

}  // namespace vx
