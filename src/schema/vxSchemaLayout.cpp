// Geometry of the schedule: columns to pixels and back, the rectangles of
// bookings, hit testing, visibility, and the collision layout of each column.
#include <algorithm>
#include <cmath>
#include <set>
#include <typeinfo>

#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/schema/vxSchema.h>

namespace vx {

int TvxSchema_ComBasic::InlineLayoutLimit = 500;

int TvxSchema_ComBasic::FarPixel(double thePixel) {
  if (std::isnan(thePixel)) return 0;
  return static_cast<int>(std::clamp(thePixel, -static_cast<double>(kFarPixel), static_cast<double>(kFarPixel)));
}

// --- columns and pixels ---------------------------------------------------------------

void TvxSchema_ComBasic::ColumnToPixels(int theCol, int& theNear, int& theFar) {
  ColumnToPixels_fw(itsFlipView, theCol, theNear, theFar);
}

void TvxSchema_ComBasic::ColumnToPixels_fw(bool theFlipped, int theCol, int& theNear, int& theFar) {
  if (theCol < 0 || theCol >= itsDataListColumns->Count()) {
    theNear = theFar = -1;
    return;
  }
  theFar = itsDataListColumns->GetFarSideOffset_FW(theFlipped, theCol);
  theNear = theFar - itsDataListColumns->LiveSize(theFlipped, theCol);
}

int TvxSchema_ComBasic::PixelToColumn(int thePixel) {
  return itsDataListColumns->PixelToColumn_FW(itsFlipView, thePixel);
}

TvxDataEntity_SchemaColumn* TvxSchema_ComBasic::ColumnFromXY(TPoint thePoint) {
  return itsDataListColumns->GetColumn(PixelToColumn(itsFlipView ? thePoint.Y : thePoint.X));
}

void TvxSchema_ComBasic::GetPositionDateTimeAndCol(int X, int Y, TDateTime& theDateTime, int& theCol) {
  theDateTime = itsScaler->PixelToDate(itsFlipView ? X : Y);
  theCol = PixelToColumn(itsFlipView ? Y : X);
}

void TvxSchema_ComBasic::StartAndLengthFromRect(const TRect& theRect, TDateTime& theStart, TDateTime& theLength) {
  int across, from, to;
  if (itsFlipView) {
    across = theRect.Top + (theRect.Bottom - theRect.Top) / 2;
    from = theRect.Left;
    to = theRect.Right;
  } else {
    across = theRect.Left + (theRect.Right - theRect.Left) / 2;
    from = theRect.Top;
    to = theRect.Bottom;
  }
  TvxDataEntity_SchemaColumn* column = itsDataListColumns->GetColumn(PixelToColumn(across));
  const TDateTime start = itsScaler->PixelToDate(from);
  theStart = (column ? column->itsOffsetDate : 0) + start;
  theLength = itsScaler->PixelToDate(to) - start;
}

// --- the rectangle of a booking ---------------------------------------------------------

bool TvxSchema_ComBasic::HeaderPixelsFromStartStopFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity,
                                                                 int& theNear, int& theFar) {
  TvxDataEntity_SchemaTime* item = DataEntity_Schema(theDataEntity);
  const int col = item->itsCol;
  ColumnToPixels_fw(theFlipped, col, theNear, theFar);
  TvxDataEntity_SchemaColumn* column = itsDataListColumns->GetColumn(col);
  if (item->itsUseSubCol && column) {
    const int n = std::max(column->itsSubColCount, 1);
    const int w = Round(static_cast<double>(theFar - theNear) / n);
    theNear = FarPixel(theNear + static_cast<double>(w) * std::max(item->itsSubCol, 0));
    theFar = FarPixel(static_cast<double>(theNear) + w);
  }
  return true;
}

TDateTime TvxSchema_ComBasic::TimeOnAxis(TDateTime theTime) {
  // The axis is asked only about times of the calendar (years 1 to 9999):
  // anything beyond lies as far off the area as those.
  if (std::isnan(theTime)) return kFirstDay;
  return std::clamp(theTime, kFirstDay, kAfterLastDay);
}

bool TvxSchema_ComBasic::ScalerPixelsFromStartStopFromDataEntity(bool, TvxDataEntity* theDataEntity, int& theStart,
                                                                 int& theStop) {
  TDateTime start, stop;
  int col;
  GetStartStopDateAndCol(theDataEntity, start, stop, col);
  theStart = FarPixel(itsScaler->DateToPixel(TimeOnAxis(start)));
  theStop = FarPixel(itsScaler->DateToPixel(TimeOnAxis(stop)));
  // Short bookings stay visible and can be picked.
  if (theStop < theStart + 5) theStop = theStart + 5;
  return true;
}

bool TvxSchema_ComBasic::XStartStopFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity, int& theStart,
                                                  int& theStop) {
  return theFlipped ? ScalerPixelsFromStartStopFromDataEntity(theFlipped, theDataEntity, theStart, theStop)
                    : HeaderPixelsFromStartStopFromDataEntity(theFlipped, theDataEntity, theStart, theStop);
}

bool TvxSchema_ComBasic::YStartStopFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity, int& theStart,
                                                  int& theStop) {
  return theFlipped ? HeaderPixelsFromStartStopFromDataEntity(theFlipped, theDataEntity, theStart, theStop)
                    : ScalerPixelsFromStartStopFromDataEntity(theFlipped, theDataEntity, theStart, theStop);
}

bool TvxSchema_ComBasic::RectFromDataEntity(bool theFlipped, TvxDataEntity* theDataEntity, TRect& theRect) {
  TvxDataEntity_SchemaTime* item = DataEntity_Schema(theDataEntity);
  // A time that is not a number has no place on the axis.
  if (std::isnan(item->itsStartDateTime) || std::isnan(item->itsStopDateTime)) {
    theRect = NoRect();
    return false;
  }
  int nearEdge, farEdge, start, stop;
  HeaderPixelsFromStartStopFromDataEntity(theFlipped, item, nearEdge, farEdge);
  ScalerPixelsFromStartStopFromDataEntity(theFlipped, item, start, stop);
  const double n = static_cast<double>(nearEdge) + item->itsLeftInset;
  const double f = static_cast<double>(farEdge) - item->itsRightInset;
  const double sx = itsTA->GetScalex(), sy = itsTA->GetScaley();
  // Every edge stays within a range whose widths and offsets fit an int.
  auto at = [](double thePixel, double theScale) { return FarPixel(static_cast<double>(Round(thePixel * theScale))); };
  if (theFlipped)
    theRect = Rect(FarPixel(at(start, sx) + 1.0), at(n, sy), at(stop, sx), at(f, sy));
  else
    theRect = Rect(FarPixel(at(n, sx) + 1.0), at(start, sy), at(f, sx), at(stop, sy));
  if (!OnGetDrawingRect) return true;
  const bool shown = OnGetDrawingRect(this, item, theRect);
  theRect = Rect(FarPixel(theRect.Left), FarPixel(theRect.Top), FarPixel(theRect.Right), FarPixel(theRect.Bottom));
  return shown;
}

bool TvxSchema_ComBasic::Here(const TvxDataEntity* theItem) const {
  auto* item = dynamic_cast<const TvxDataEntity_SchemaTime*>(theItem);
  return item && !item->IsFreePending() && item->GetSchema() == this;
}

bool TvxSchema_ComBasic::VisibleHere(TvxDataEntity_SchemaTime* theItem) {
  return Here(theItem) && IsVisible(theItem) && Here(theItem);
}

void TvxSchema_ComBasic::DefaultDrawContent(TvxDataEntity_SchemaTime* theSchemaTime, const TRect& theRect,
                                            TCanvas* theCanvas) {
  fPainter->DefaultDrawContent(theSchemaTime, theRect, theCanvas);
}

bool TvxSchema_ComBasic::VisibilityFollowsTime() const {
  if (OnIsVisible) return false;
  // A descendant may have widened IsVisible; only these keep it as it is.
  const std::type_info& type = typeid(*this);
  return type == typeid(TvxSchema_ComBasic) || type == typeid(TvxSchema);
}

bool TvxSchema_ComBasic::IsVisible(TvxDataEntity_SchemaTime* theSchemaTime) {
  bool runDefault = true, result = true;
  if (OnIsVisible) result = OnIsVisible(this, theSchemaTime, runDefault);
  if (!runDefault || !result) return result;
  TDateTime start, stop;
  int col;
  GetStartStopDateAndCol(theSchemaTime, start, stop, col);
  return itsScaler->GetStart() <= stop && itsScaler->GetStop() >= start;
}

// --- drawing order and hit testing ------------------------------------------------------

TvxDataEntity_SchemaTime* TvxSchema_ComBasic::HitTestAll(int X, int Y) {
  // Each booking is asked where it lies, which may call out: the walk is over
  // a held snapshot.
  TvxHeldList<TvxDataEntity_SchemaTime> items;
  for (TvxDataList* list : fPainter->MakeDrawPlan().lists)
    for (int i = 0; i < list->Count(); ++i) items.Add(dynamic_cast<TvxDataEntity_SchemaTime*>(list->GetItems(i)));
  TvxDataEntity_SchemaTime* hit = nullptr;
  items.ForEach([&](TvxDataEntity_SchemaTime* item) {
    TRect r;
    if (Here(item) && RectFromDataEntity(itsFlipView, item, r) && Here(item) && r.Contains(Point(X, Y))) hit = item;
    return hit == nullptr;
  });
  return hit;
}

TvxDataEntity_SchemaTime* TvxSchema_ComBasic::GetDataEntityFromXY(int X, int Y) {
  // A moved rectangle, or a booking reaching out of its column, may be
  // anywhere: then every booking is asked, in drawing order.
  if (OnGetDrawingRect || fNegativeInsetItems > 0) return HitTestAll(X, Y);
  const int across = itsFlipView ? Y : X;
  const int count = itsDataListColumns->Count();
  if (count == 0) return nullptr;
  // Before the columns' start only a column before the top-left one could
  // reach; they have no size, but the definition is kept.
  if (across < 0) return HitTestAll(X, Y);
  const TSchemaPainter::TDrawPlan plan = fPainter->MakeDrawPlan();
  // Only the column under the point, and those before it whose sub-columns
  // reach past their far edge, can hold a booking there. Nothing here calls
  // out (there is no OnGetDrawingRect), so the index is read as it stands.
  TvxDataEntity_SchemaTime* best = nullptr;
  std::pair<int, int> bestRank{INT_MAX, INT_MAX};
  for (int c = PixelToColumn(across); c >= 0; --c) {
    int nearEdge, farEdge;
    ColumnToPixels(c, nearEdge, farEdge);
    (void)nearEdge;
    if (farEdge + fSubColSpill <= across) break;
    for (TvxDataEntity_SchemaTime* item : fIndex.Items(c)) {
      TRect r;
      if (!RectFromDataEntity(itsFlipView, item, r) || !r.Contains(Point(X, Y))) continue;
      const int index = item->ListIndex();
      plan.ForEachPosition(item->GetDataList(), [&](int k) {
        if (std::make_pair(k, index) < bestRank) {
          bestRank = {k, index};
          best = item;
        }
      });
    }
  }
  return best;
}

// --- the collision layout ---------------------------------------------------------------

void TvxSchema_ComBasic::UpdateSubColumns() {
  if (!itsCollisionDetect || IsDestroying()) return;
  fSubColumns->Request();
}

bool TvxSchema_ComBasic::IsLayoutPending() const { return fSubColumns->IsPending(); }

void TvxSchema_ComBasic::MarkColumnsFrom(int theCol) {
  fSubColumns->MarkColumnsFrom(theCol);
  UpdateSubColumns();
  InvalidateArea();
}

}  // namespace vx
