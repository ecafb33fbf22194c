#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/gantt/vxGantSide.h>

namespace vx {

class TGantTree;

// The chart's own tree as its left side: a row for every tree node, the
// rows scrolled through the chart's scroll bar.
class VX_API TGantTreeSide : public TGantSide {
public:
  using TGantSide::TGantSide;

  TvxDataEntity* NodeOf(const TGantRow* theRow) const override;
  TGantRow* RowOfNode(const TvxDataEntity* theNode) const override;
  TRect NodeBand(const TvxDataEntity* theNode) override;
  TGantRow* RowAt(int y) override;
  int ShownIndexOf(const TGantRow* theRow) override;
  int FirstIndexOnScreen() override;
  TGantRow* CurrentRow() override;
  void MakeRowCurrent(TGantRow* theRow) override;
  TvxDataEntity_Kronit* NeighbourUpDown(int theLayer, TvxDataEntity_Kronit* theRef, bool theUp) override;
  void ScrollStep(TScrollDirection theDir) override;
  void WheelRows(int theRows) override;
  void WheelStep(TWMMouseWheel& Msg) override;
  void RealignScrollbar() override;
  int HeaderHeight() override { return 0; }
  void SetShown(bool theShown) override;
  void Prepare() override;
  bool GetRowSelect() const override;
  void SetRowSelect(bool v) override;
  bool GetShowButtons() const override;
  void SetShowButtons(bool v) override;

protected:
  void ForEachRowOnScreen(const std::function<void(TGantRow*)>& f) override;

private:
  TGantTree* Tree() const;
  // Scrolls the tree to pos (clamped to its range) and tells the chart's bar.
  void ScrollTo(int thePos);
};

}  // namespace vx
