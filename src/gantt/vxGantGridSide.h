#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/gantt/vxGantSide.h>
#include <vxplan/grid/vxGrid.h>

namespace vx {

class TvxDataEntity_GridTreeNode;

// A column grid with a tree in its rows as the chart's left side: a Gantt
// row per grid-tree node, the grid and the area scrolled together, the
// grid's bar optionally shown in the chart's scroll column.
class VX_API TGantGridSide : public TGantSide {
public:
  using TGantSide::TGantSide;

  // Makes the grid through the chart's factory and listens to it privately.
  void Build();
  // The grid goes before the chart's own members (its tree calls back).
  void FreeGrid();
  TvxGrid* GetGrid() const noexcept { return fGrid; }
  TvxGridTree* GetGridTree() const noexcept { return fGridTree; }
  bool GetVerticalScrollOutOfGrid() const noexcept { return fScrollOutOfGrid; }
  void SetVerticalScrollOutOfGrid(bool v);
  TScrollBar* GetScrollBar() const noexcept { return fScrollBar; }

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
  int HeaderHeight() override;
  void SetShown(bool theShown) override;
  void Prepare() override;
  bool OwnBands() const override { return true; }
  void DrawBands(int& theY, int& theIndex) override;
  void RowHeightFollows(TGantRow* theRow) override;
  bool GetRowSelect() const override;
  void SetRowSelect(bool v) override;
  bool GetShowButtons() const override;
  void SetShowButtons(bool v) override;

protected:
  void ForEachRowOnScreen(const std::function<void(TGantRow*)>& f) override;

private:
  // Grid-tree changes: a Gantt row per node.
  void IntegrationEvents(TIntegrationEventKind theKind, TvxDataEntity* theEntity);
  void TopLeftChanged();
  // The row of theNode becomes the grid's current (focused, selected) row.
  void MakeNodeCurrent(TvxDataEntity_GridTreeNode* theNode);
  void MirrorScrollBar();
  void CopyScrollBar();
  bool Shown() const;

  TvxGrid* fGrid = nullptr;
  TvxGridTree* fGridTree = nullptr;
  bool fScrollOutOfGrid = false;
  // The bar that stands for the grid's own while it scrolls out of the grid.
  TScrollBar* fScrollBar = nullptr;
  bool fMirroring = false;
  // The header height the rows were placed for.
  int fHeaderHeight = 0;
};

}  // namespace vx
