#pragma once

// The binding's own records, shared by its two halves.
#include <QPersistentModelIndex>
#include <QVariant>
#include <memory>
#include <vector>

#include <vxplan/designer/QvxGantModelBinding.h>

namespace vx {

// A task row: its node, its own bar, and one entry per child row of the
// model, in the model's order.
struct VX_HIDDEN QvxGantModelBinding::TTask {
  TvxHeld<TvxDataEntity_Tree> node;  // nil for the (invisible) root
  TvxHeld<TvxDataEntity_Kronit> ownBar;
  TTask* parent = nullptr;
  std::vector<TEntry> rows;
};

// One model row: a task, or a bar in its parent's row (or, in a row the
// chart could not take, neither).
struct VX_HIDDEN QvxGantModelBinding::TEntry {
  std::unique_ptr<TTask> task;
  TvxHeld<TvxDataEntity_Kronit> bar;
};

struct VX_HIDDEN QvxGantModelBinding::TRowData {
  QVariant text, start, finish, colour, style, links;
  bool hasStart = false;
  TDateTime startDays = 0, finishDays = 0;
};

// A row named so that it is found again after a layout change (the
// persistent index) or a reset (the same place).
struct VX_HIDDEN QvxGantModelBinding::TViewKey {
  QPersistentModelIndex index;
  std::vector<int> path;
};

struct VX_HIDDEN QvxGantModelBinding::TViewState {
  std::vector<TViewKey> expanded, selected;
  TViewKey current, top;
  bool hasTree = false;
};

// While the binding writes into the chart, the chart's pushes are its own,
// not the user's.
class VX_HIDDEN QvxGantModelBinding::TApplying {
public:
  explicit TApplying(QvxGantModelBinding& theBinding) : fBinding(theBinding) { ++fBinding.fApplying; }
  ~TApplying() { --fBinding.fApplying; }
  TApplying(const TApplying&) = delete;
  TApplying& operator=(const TApplying&) = delete;

private:
  QvxGantModelBinding& fBinding;
};

}  // namespace vx
