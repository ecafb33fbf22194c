#pragma once

#include <memory>
#include <string>

#include "UiTestSupport.h"
#include <vxplan/gantt/vxGant.h>

namespace vxtest {

// A chart with fixed-height tree rows, sized so that a few dozen rows show,
// and a time axis of 100 pixels per day starting at kDay0.
class TestGant : public vx::TvxGant {
public:
  static constexpr double kDay0 = 46000;  // 2025-12-09
  static constexpr int kRowHeight = 20;

  TestGant() : vx::TvxGant(nullptr) {
    SetBounds(0, 0, 900, 600);
    GetTreeView()->SetItemHeight(kRowHeight);
    GetDateScaler()->SetStart(kDay0);
    GetDateScaler()->SetStop(kDay0 + 7);
    ProcessEventsUntilIdle();
  }
  using vx::TvxGant::fRowDrawOffset;

  vx::TvxDataEntity_Tree* Node(vx::TvxDataEntity_Tree* parent, const std::string& text) {
    vx::TvxDataEntity_Tree* e = AddDataEntityTree(parent);
    e->SetText(text);
    return e;
  }
  vx::TGantRow* RowOf(vx::TvxDataEntity_Tree* node) { return GetRowList()->FindRowFromTreeNode(node); }
  vx::TvxDataEntity_Kronit* Item(vx::TvxDataEntity_Tree* node, double from, double to, int layer = 0) {
    vx::TvxDataEntity_Kronit* k = AddKronit(node, layer);
    k->SetStartDateTime(kDay0 + from);
    k->SetStopDateTime(kDay0 + to);
    return k;
  }
  // Waits until every row's layout has been handed back.
  void WaitForLayouts(int theSeconds = 30);
};

// A shown chart for gestures: the axis shows exactly 100 pixels a day across
// the area, and nothing snaps.
class ShownGant : public TestGant {
public:
  ShownGant();
  int X(double day) { return GetDateScaler()->DateToPixel(kDay0 + day); }
  // The middle of the node's row.
  int MidY(vx::TvxDataEntity_Tree* node);
};

}  // namespace vxtest
