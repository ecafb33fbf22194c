// The drawing area under the mouse: the press, move and release go to the
// gesture engine (see vxSchemaGesture), the hover shows the hint and the
// preview, a right press opens the item menu. Also the presses on the column
// header and on the title grid.
#include <algorithm>

#include <vxplan/platform/ui/Menus.h>
#include <vxplan/schema/vxSchema.h>

namespace vx {

namespace {

// Pixels from a column's edges, in the header, that count as its resize band.
constexpr int kHeaderResizeBand = 5;

}  // namespace

// --- press ----------------------------------------------------------------------------

bool TvxSchema_ComBasic::InGrowArea(TvxDataEntity* theDataEntity, int X, int Y, bool& GrowDir, TRect& theRect) {
  auto* item = dynamic_cast<TvxDataEntity_SchemaTime*>(theDataEntity);
  if (!item || !RectFromDataEntity(itsFlipView, item, theRect)) return false;
  return fGesture->Engine().InGrowBand(theRect, X, Y, GrowDir);
}

void TvxSchema_ComBasic::SchemaMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (IsDestroying()) return;
  if (itsTA->CanFocus()) itsTA->SetFocus();
  fPreview->HideShowMeBig();
  TvxTimeGesture& gesture = fGesture->Engine();
  gesture.Press(Button, Shift, X, Y);
  // Handlers may have deleted it (it is forgotten then), and may still.
  auto* item = dynamic_cast<TvxDataEntity_SchemaTime*>(gesture.PressedItem());
  if (Button == mbRight)
    PopupAtPress(item, X, Y);
  else if (Button == mbLeft && item)
    gesture.Begin(Shift);
  if (OnSchemaMouseDown) OnSchemaMouseDown(Sender, Button, Shift, X, Y);
  if (!IsDestroying()) gesture.PressHandled();
}

void TvxSchema_ComBasic::PopupAtPress(TvxDataEntity_SchemaTime* theItem, int X, int Y) {
  itsPopupSelectedDataEntity = theItem;
  const TPoint at = itsTA->ClientToScreen(Point(X, Y));
  if (theItem && fPopupSchema) {
    fPopupSchema->SetPopupComponent(itsTA);
    fPopupSchema->Popup(at.X, at.Y);
  } else if (TPopupMenu* menu = GetPopupMenu()) {
    menu->Popup(at.X, at.Y);
  }
}

// --- gesture ends ---------------------------------------------------------------------

TvxTimeGesture* TvxSchema_ComBasic::GestureEngine() const noexcept {
  return fGesture && itsTA && !IsDestroying() ? &fGesture->Engine() : nullptr;
}

void TvxSchema_ComBasic::CancelMode() {
  TCustomPanel::CancelMode();
  CancelGesture();
}

void TvxOffscreenPaint_Schema::CancelMode() {
  TvxOffscreenPaint::CancelMode();
  if (fSchema) fSchema->CancelGesture();
}

// --- movement -------------------------------------------------------------------------

void TvxSchema_ComBasic::SchemaMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
  if (IsDestroying()) return;
  fPreview->PointerMoved();
  fGesture->Engine().Move(Shift, X, Y);
  if (OnSchemaMouseMove) OnSchemaMouseMove(Sender, Shift, X, Y);
}

void TvxSchema_ComBasic::SchemaMouseLeave() {
  // Off the area the hint and the preview describe nothing (a drag keeps its hint).
  if (IsDestroying() || fGesture->Engine().Active()) return;
  fPreview->Leave();
}

// --- release --------------------------------------------------------------------------

void TvxSchema_ComBasic::SchemaMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (IsDestroying()) return;
  fGesture->Engine().Release(Button, Shift, X, Y);
  fPreview->HideHint();
  fPreview->MoveInfo(nullptr, 0, 0, X, Y);
  if (OnSchemaMouseUp) OnSchemaMouseUp(Sender, Button, Shift, X, Y);
}

void TvxSchema_ComBasic::HandleMoveOfSelectedFromTimeDiff(TDateTime TimeDiff, int ColDiff) {
  if (TimeDiff == 0 && ColDiff == 0) return;
  TvxHeldList<TvxDataEntity_SchemaTime> items;
  SelectedItems(items, false);
  MoveByTimeDiff(items, TimeDiff, ColDiff);
  UpdateSubColumns();
}

void TvxSchema_ComBasic::MoveByTimeDiff(const TvxHeldList<TvxDataEntity_SchemaTime>& theItems, TDateTime TimeDiff,
                                        int ColDiff) {
  if (TimeDiff == 0 && ColDiff == 0) return;
  theItems.ForEach([&](TvxDataEntity_SchemaTime* item) {
    if (!Here(item)) return;
    TDateTime start = 0, stop = 0;
    int col = 0;
    GetStartStopDateAndCol(item, start, stop, col);
    // Outside the columns its times read as 0: moving it would lose them.
    if (!itsDataListColumns->GetColumn(col)) return;
    SetStartStopDateAndCol(item, start + TimeDiff, stop + TimeDiff, col + ColDiff);
  });
}

void TvxSchema_ComBasic::SelectedItems(TvxHeldList<TvxDataEntity_SchemaTime>& theItems, bool theDrawnOnly) {
  theItems.Clear();
  const std::vector<TvxDataList*> lists = theDrawnOnly ? fPainter->DrawnLists() : fPainter->AllLayers();
  for (TvxDataList* list : lists)
    for (int p = 0; p < list->LoadedCount(); ++p)
      if (auto* item = dynamic_cast<TvxDataEntity_SchemaTime*>(list->GetLoaded(p)); item && item->GetSelected())
        theItems.Add(item);
}

// --- the header and the title grid ----------------------------------------------------

void TDataListColumns::HeaderMouseDown(bool theFlipped, int thePos, TPoint thePoint) {
  itsDownHeaderCell = PixelToColumn_FW(theFlipped, thePos);
  itsMouseDownPoint = thePoint;
  int nearEdge = -1, farEdge = -1;
  if (itsSchema) itsSchema->ColumnToPixels_fw(theFlipped, itsDownHeaderCell, nearEdge, farEdge);
  itsInResizeArea = thePos < nearEdge + kHeaderResizeBand || thePos > farEdge - kHeaderResizeBand;
  itsResizeCell = PixelToColumn_FW(theFlipped, thePos - kHeaderResizeBand);
}

void THeaderControl_MouseControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (itsDataListColumns) itsDataListColumns->HeaderMouseDown(false, X, Point(X, Y));
  THeaderControl::MouseDown(Button, Shift, X, Y);
  // Where the header sizes a column (it tracks then) no drag starts.
  if (Button == mbLeft && itsDataListColumns && !itsDataListColumns->GetInResizeArea() && GetTrackingSection() < 0 &&
      !IsDestroying())
    BeginDrag(true);
}

void TDrawGrid_Schema::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (itsDataListColumns) itsDataListColumns->HeaderMouseDown(true, Y, Point(X, Y));
  TDrawGrid::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && itsDataListColumns && !itsDataListColumns->GetInResizeArea() && GetSizingRow() < 0 &&
      !IsDestroying())
    BeginDrag(true);
}

}  // namespace vx
