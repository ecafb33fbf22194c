#pragma once

#include <vxplan/gantt/vxGant.h>

// A chart whose rows are resources without children: its tree shows no
// expand buttons.
class LeafTree : public vx::TGantTree {
public:
  using vx::TGantTree::TGantTree;
  bool NeedsDummyNode(vx::TvxDataEntity_Tree*) override { return false; }
};

class LeafChart : public vx::TvxGant {
public:
  explicit LeafChart(vx::TComponent* AOwner) : vx::TvxGant(AOwner, DeferInitialize{}) { InitializeInConstructor(); }

protected:
  vx::TGantTree* CreateTree(vx::TComponent* theOwner) override { return new LeafTree(theOwner, this); }
};
