#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <chrono>
#include <thread>

#include "SchemaSupport.h"

namespace vxtest {

// A shown schedule of six columns whose time axis has three pixels a minute
// from 08:00: normal, columns of 50 pixels and the axis down 480 pixels (to
// 10:40); flipped, rows of 40 (and a grid line) and the axis across 600 (to
// 11:20). A pixel is then well below a snap step, so that a drag's minutes
// are what was dragged. Snapping is as a new control has it (starts to 5
// minutes, lengths to 1).
// Failures while it lives name its orientation.
class MouseSchema : public TestSchema {
public:
  explicit MouseSchema(bool theFlipped, int theColumns = 6)
      : fTrace(__FILE__, __LINE__, theFlipped ? "flipped" : "normal"), fFlipped(theFlipped) {
    if (theFlipped) {
      SetFlipView(true);
      SetFlippedQuadPoint(vx::Point(50, 20));
    }
    for (int c = 0; c < theColumns; ++c) Column("c" + std::to_string(c));
    SizeColumns();
    SetScalerTimeFormat("hh:nn");
    ShowWindow(this);
    ResetWindow();
  }

  // The time axis as the constructor sets it.
  void ResetWindow() {
    SetWindow(kDay0 + 8 * kHour, kDay0 + 8 * kHour + (fFlipped ? 600 : 480) / kPixelsPerMinute * kMinute);
    Settle();
  }

  // Flipped, every row 40 pixels high.
  void SizeColumns() {
    if (!fFlipped || GetColumns()->Count() == 0) return;
    GetColumns()->SetResizeCell(0);
    GetColumns()->HeaderCellReSize(40);
    Settle();
  }
  static constexpr int kPixelsPerMinute = 3;
  // Pixels of theMinutes along the time axis.
  static int Px(double theMinutes) { return static_cast<int>(theMinutes * kPixelsPerMinute); }
  bool Flipped() const { return fFlipped; }
  vx::TControl* Area() const { return GetSchemaArea(); }
  // The pixel of an hour of kDay0 along the time axis.
  int T(double theHour) { return GetScaler()->DateToPixel(kDay0 + theHour * kHour); }
  // The point of an hour in a column, theAcross pixels into the column.
  vx::TPoint At(int theCol, double theHour, int theAcross = 20) { return AtPixel(theCol, T(theHour), theAcross); }
  vx::TPoint AtPixel(int theCol, int theTime, int theAcross = 20) {
    int nearEdge = 0, farEdge = 0;
    ColumnToPixels(theCol, nearEdge, farEdge);
    return fFlipped ? vx::Point(theTime, nearEdge + theAcross) : vx::Point(nearEdge + theAcross, theTime);
  }
  // A point of booking theE, in its middle across: its start band (theHour
  // -1), its stop band (-2), or theHour of kDay0 (0: its middle).
  static constexpr double kStartBand = -1, kStopBand = -2;
  vx::TPoint Grab(vx::TvxDataEntity_SchemaTime* theE, double theHour = 0) {
    vx::TRect r;
    RectFromDataEntity(fFlipped, theE, r);
    const int across = fFlipped ? (r.Top + r.Bottom) / 2 : (r.Left + r.Right) / 2;
    const int lo = fFlipped ? r.Left : r.Top, hi = fFlipped ? r.Right : r.Bottom;
    const int along = theHour == kStartBand  ? lo + 1
                      : theHour == kStopBand ? hi - 2
                      : theHour == 0         ? (lo + hi) / 2
                                             : T(theHour);
    return fFlipped ? vx::Point(along, across) : vx::Point(across, along);
  }
  // theP moved by theTime pixels along the time axis and theAcross across it.
  vx::TPoint Shifted(vx::TPoint theP, int theTime, int theAcross = 0) const {
    return fFlipped ? vx::Point(theP.X + theTime, theP.Y + theAcross) : vx::Point(theP.X + theAcross, theP.Y + theTime);
  }
  // The distance from one column's start to the next one's.
  int ColumnStep() const { return fFlipped ? 41 : 50; }

  void Press(vx::TPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
    vxtest::MousePress(Area(), p.X, p.Y, b, m);
  }
  void Move(vx::TPoint p) { vxtest::MouseMove(Area(), p.X, p.Y); }
  void Release(vx::TPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
    vxtest::MouseRelease(Area(), p.X, p.Y, b, m);
  }
  // A press, moves in steps to theTo, and the release there.
  // A handler may have the schedule deleted meanwhile (deleteLater).
  void Drag(vx::TPoint theFrom, vx::TPoint theTo, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QPointer<MouseSchema> alive(this);
    Press(theFrom, Qt::LeftButton, m);
    if (alive) Move(vx::Point((theFrom.X + theTo.X) / 2, (theFrom.Y + theTo.Y) / 2));
    if (alive) Move(theTo);
    if (alive) Release(theTo, Qt::LeftButton, m);
    if (alive) Settle();
  }
  // The event loop runs (timers tick) until thePredicate holds, at most
  // theMs milliseconds (a busy machine delays timers); answers whether it holds.
  template <class F>
  static bool RunUntil(F thePredicate, int theMs = 5000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(theMs);
    while (!thePredicate() && std::chrono::steady_clock::now() < until) {
      QApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return thePredicate();
  }
  // The event loop runs (timers tick) for theMs milliseconds.
  static void RunFor(int theMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(theMs);
    while (std::chrono::steady_clock::now() < until) {
      QApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

protected:
  bool KeepsVisibilityRule() const override { return typeid(*this) == typeid(MouseSchema); }

private:
  testing::ScopedTrace fTrace;
  bool fFlipped;
};

}  // namespace vxtest
