// Where a dragged booking lands: the times a release would write for a move
// or a resize, the outlines that show them (snapped, in the target column),
// and the hint that names them. The release writes through the same
// reckoning, so the hint and the outlines never promise what it does not do.
#include <algorithm>
#include <cmath>

#include "schema/vxSchema.h"

namespace vx {

namespace {

// Outlines are drawn at least this long along the time axis, as bookings are.
constexpr int kMinOutline = 5;

}  // namespace

// --- the reckoning --------------------------------------------------------------------

void TvxSchema_ComBasic::MovedByPixels(TvxDataEntity_SchemaTime* theItem, const TRect& theRect, TPoint Delta,
                                       TDateTime& theStart, TDateTime& theStop, int& theCol) {
  GetStartStopDateAndCol(theItem, theStart, theStop, theCol);
  // Outside the columns its times read as 0: moving it would lose them.
  if (!itsDataListColumns->GetColumn(theCol)) {
    theCol = -1;
    return;
  }
  const int edge = itsFlipView ? theRect.Left : theRect.Top;
  const int d = itsFlipView ? Delta.X : Delta.Y;
  const TDateTime dt = d == 0 ? 0 : itsScaler->PixelToDate(edge + d) - itsScaler->PixelToDate(edge);
  theStart += dt;
  theStop += dt;
  // The columns under the rectangle's middle, before and after the move.
  const int across = itsFlipView ? theRect.Top + (theRect.Bottom - theRect.Top) / 2
                                 : theRect.Left + (theRect.Right - theRect.Left) / 2;
  const int acrossDelta = itsFlipView ? Delta.Y : Delta.X;
  if (acrossDelta != 0) theCol += PixelToColumn(across + acrossDelta) - PixelToColumn(across);
}

bool TvxSchema_ComBasic::GrownTimes(TvxDataEntity_SchemaTime* theItem, TPoint Delta, TDateTime& theStart,
                                    TDateTime& theStop, int& theCol) {
  GetStartStopDateAndCol(theItem, theStart, theStop, theCol);
  TvxDataEntity_SchemaColumn* column = itsDataListColumns->GetColumn(theCol);
  if (!column) return false;
  const int d = itsFlipView ? Delta.X : Delta.Y;
  auto shift = [this, d](int theEdge) {
    return d == 0 ? 0 : itsScaler->PixelToDate(theEdge + d) - itsScaler->PixelToDate(theEdge);
  };
  if (itsLocalGrowDir) {
    theStart += shift(itsFlipView ? itsLocalGrowOrgRect.Left : itsLocalGrowOrgRect.Top);
    // Snapped here, so that the stop stays where it is: snapping a start and
    // a length would move it.
    TDateTime absolute = column->itsOffsetDate + theStart, none = 0;
    Snap(absolute, none);
    theStart = std::min(absolute - column->itsOffsetDate, theStop);  // never a negative length
  } else {
    theStop += shift(itsFlipView ? itsLocalGrowOrgRect.Right : itsLocalGrowOrgRect.Bottom);
    theStop = std::max(theStop, theStart);
  }
  return true;
}

void TvxSchema_ComBasic::SnappedTimes(int theCol, TDateTime theStart, TDateTime theStop, TDateTime& theAbsStart,
                                      TDateTime& theAbsStop) const {
  TvxDataEntity_SchemaColumn* target = itsDataListColumns->GetColumn(theCol);
  const TDateTime offset = target ? target->itsOffsetDate : 0;
  theAbsStart = offset + theStart;
  TDateTime length = (offset + theStop) - theAbsStart;
  Snap(theAbsStart, length);
  // An endless length ends where it was asked to, not where infinity minus
  // infinity would put it.
  theAbsStop = std::isfinite(length) ? theAbsStart + length : offset + theStop;
}

void TvxSchema_ComBasic::Landing(TvxDataEntity_SchemaTime* theItem, TDateTime theStart, TDateTime theStop, int& theCol,
                                 TDateTime& theAbsStart, TDateTime& theAbsStop) const {
  theCol = std::min(std::max(theCol, 0), itsDataListColumns->Count() - 1);
  if (theCol != theItem->itsCol && !itsMoveInTimeWhenColSwitch) {
    // Another column, the same times.
    theAbsStart = theItem->itsStartDateTime;
    theAbsStop = theItem->itsStopDateTime;
    return;
  }
  SnappedTimes(theCol, theStart, theStop, theAbsStart, theAbsStop);
}

TRect TvxSchema_ComBasic::LandingRect(const TRect& theRect, int theFromCol, int theToCol, TDateTime theAbsStart,
                                      TDateTime theAbsStop) {
  int fromNear, fromFar, toNear, toFar;
  ColumnToPixels(theFromCol, fromNear, fromFar);
  ColumnToPixels(theToCol, toNear, toFar);
  const int across = fromNear >= 0 && toNear >= 0 ? toNear - fromNear : 0;
  TvxDataEntity_SchemaColumn* column = itsDataListColumns->GetColumn(theToCol);
  const TDateTime offset = column ? column->itsOffsetDate : 0;
  const int t1 = FarPixel(itsScaler->DateToPixel(TimeOnAxis(theAbsStart - offset)));
  const int t2 = std::max(FarPixel(itsScaler->DateToPixel(TimeOnAxis(theAbsStop - offset))), t1 + kMinOutline);
  return itsFlipView ? Rect(t1 + 1, theRect.Top + across, t2, theRect.Bottom + across)
                     : Rect(theRect.Left + across, t1, theRect.Right + across, t2);
}

// --- outlines while dragging ----------------------------------------------------------

void TvxSchema_ComBasic::HandleLocalDrag(int X, int Y) {
  EraseOutlines();
  itsLocalMouseDownOffset = Point(X - itsLocalMouseDownStart.X, Y - itsLocalMouseDownStart.Y);
  DrawOutlineOfSelected(itsLocalMouseDownOffset);
}

void TvxSchema_ComBasic::DrawOutlineOfSelected(TPoint Offset) {
  bool first = true;
  for (const TMoveRect& m : fMoveRectsArray) {
    TvxDataEntity_SchemaTime* item = m.item.Get();
    if (!Here(item)) continue;
    TDateTime start = 0, stop = 0, absStart = 0, absStop = 0;
    int col = 0;
    MovedByPixels(item, m.rect, Offset, start, stop, col);
    if (col < 0) continue;
    Landing(item, start, stop, col, absStart, absStop);
    DrawOutline(LandingRect(m.rect, item->itsCol, col, absStart, absStop), false);
    // The hint names where the first of them lands.
    if (first) DoMoveInfo(nullptr, absStart, absStop - absStart, itsLocalMouseDownStart.X + Offset.X,
                          itsLocalMouseDownStart.Y + Offset.Y);
    first = false;
  }
}

void TvxSchema_ComBasic::HandleLocalGrow(int X, int Y) {
  EraseOutlines();
  itsLocalMouseDownOffset = Point(X - itsLocalMouseDownStart.X, Y - itsLocalMouseDownStart.Y);
  auto* item = dynamic_cast<TvxDataEntity_SchemaTime*>(itsLocalGrowDataEntity);
  TDateTime start = 0, stop = 0, absStart = 0, absStop = 0;
  int col = 0;
  if (!Here(item) || !GrownTimes(item, itsLocalMouseDownOffset, start, stop, col)) return;
  SnappedTimes(col, start, stop, absStart, absStop);
  itsLocalGrowRect = LandingRect(itsLocalGrowOrgRect, col, col, absStart, absStop);
  DrawOutline(itsLocalGrowRect, false);
  DoMoveInfo(nullptr, absStart, absStop - absStart, X, Y);
}

void TvxSchema_ComBasic::DrawOutline(const TRect& theRect, bool ShowInfo) {
  if (ShowInfo) {
    TDateTime start = 0, length = 0;
    // Flipped, the rectangle starts a pixel inside its start time.
    TRect times = theRect;
    if (itsFlipView) times.Left -= 1;
    StartAndLengthFromRect(times, start, length);
    Snap(start, length);
    DoMoveInfo(nullptr, start, length, theRect.Right, theRect.Top);
  }
  if (!fOutlines) fOutlines = std::make_unique<TXorOverlay>(itsTA);
  TRect r = theRect;
  if (itsFlipView)
    r.Right = std::max(r.Right, r.Left + kMinOutline);
  else
    r.Bottom = std::max(r.Bottom, r.Top + kMinOutline);
  // Drawn as far as the area shows it: a side beyond stays out of sight.
  r = AreaClip(r);
  const TPoint corners[] = {Point(r.Left, r.Top), Point(r.Left, r.Bottom), Point(r.Right, r.Bottom),
                            Point(r.Right, r.Top), Point(r.Left, r.Top)};
  for (int k = 0; k < 4; ++k) fOutlines->InvertLine(corners[k], corners[k + 1], TXorOverlay::xpHalftone);
  itsLocalEraseOutline = true;
}

void TvxSchema_ComBasic::EraseOutlines() {
  if (fOutlines) fOutlines->Clear();
  itsLocalEraseOutline = false;
}

int TvxSchema_ComBasic::OutlineCount() const { return fOutlines ? fOutlines->Count() : 0; }

}  // namespace vx
