#pragma once

#include <string>
#include <typeinfo>

#include "UiTestSupport.h"
#include <vxplan/schema/vxSchema.h>

namespace vxtest {

// A schedule of 650 x 500 whose time axis shows 08:00 to 16:00 of kDay0 over
// 480 pixels (one pixel a minute): the inner corner stands at (50, 20), so
// the drawing area is 600 x 480 with columns of 50 pixels.
class TestSchema : public vx::TvxSchema {
public:
  static constexpr double kDay0 = 46000;  // 2025-12-09
  static constexpr double kHour = 1.0 / 24;
  static constexpr double kMinute = 1.0 / 1440;

  TestSchema() : vx::TvxSchema(nullptr) {
    SetBounds(0, 0, 650, 500);
    ProcessEventsUntilIdle();
    SetQuadPoint(vx::Point(50, 20));
    SetWindow(kDay0 + 8 * kHour, kDay0 + 16 * kHour);
  }

  void SetWindow(double theStart, double theStop) {
    SetScalerStart(theStart);
    SetScalerStop(theStop);
    ProcessEventsUntilIdle();
  }

  vx::TvxDataEntity_SchemaColumn* Column(const std::string& theText, double theOffset = 0) {
    vx::TvxDataEntity_SchemaColumn* c = AddColumn();
    c->SetText(theText);
    c->SetOffsetDate(theOffset);
    return c;
  }

  // A booking of column theCol from theFrom to theTo hours of kDay0 (plus
  // the column's offset).
  vx::TvxDataEntity_SchemaTime* Item(int theCol, double theFrom, double theTo, int theLayer = 0) {
    vx::TvxDataEntity_SchemaTime* e = AddSchemaTime(theLayer);
    const double offset = GetColumns()->GetColumn(theCol) ? GetColumns()->GetColumn(theCol)->GetOffsetDate() : 0;
    e->SetCol(theCol);
    e->SetStartDateTime(kDay0 + offset + theFrom * kHour);
    e->SetStopDateTime(kDay0 + offset + theTo * kHour);
    return e;
  }

  // Runs the deferred calls and waits for a layout on a worker to come back.
  void Settle(int theSeconds = 30);

  // The drawing area as it paints now.
  vx::TCanvas* PaintArea() {
    GetSchemaArea()->PaintTo(&fShot);
    return fShot.GetCanvas();
  }
  vx::TBitmap& Shot() { return fShot; }

  using vx::TvxSchema::Painter;
  using vx::TvxSchema::IsVisible;

  // Keeps IsVisible's rule, as the library's own classes do, so that tests
  // take the same path as they; a test class that changes the rule is asked
  // about every booking, as any descendant is.
  bool VisibilityFollowsTime() const override {
    return KeepsVisibilityRule() ? !OnIsVisible : vx::TvxSchema::VisibilityFollowsTime();
  }

protected:
  virtual bool KeepsVisibilityRule() const { return typeid(*this) == typeid(TestSchema); }

private:
  vx::TBitmap fShot;
};

}  // namespace vxtest
