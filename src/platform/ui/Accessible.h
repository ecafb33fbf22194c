#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <vxplan/platform/rtl/Set.h>
#include <vxplan/platform/rtl/Types.h>

namespace vx {

// What a self-drawn control shows to assistive technology: a tree of nodes
// addressed by opaque ids, the control itself being vxAccessibleRoot. A
// control answers it from TControl::AccessibleContent(); the toolkit layer
// turns it into the platform's accessibility objects. Every call reads the
// control afresh: an id is a key to look up, never a held pointer, and an id
// whose node has gone answers false from Exists (and empty elsewhere).
using TvxAccessibleId = std::uint64_t;
constexpr TvxAccessibleId vxAccessibleRoot = 0;
constexpr TvxAccessibleId vxAccessibleNone = ~TvxAccessibleId{0};

// Ids of content whose nodes are found by two places (a row or a layer, and
// an index in it); never the root nor none.
constexpr TvxAccessibleId PairedId(int theOuter, int theInner) noexcept {
  return (static_cast<TvxAccessibleId>(theOuter) + 1) << 32 | static_cast<std::uint32_t>(theInner);
}
// The outer place of a paired id (huge for an id that is not one) and its inner place.
constexpr TvxAccessibleId PairedOuter(TvxAccessibleId theId) noexcept { return (theId >> 32) - 1; }
constexpr int PairedInner(TvxAccessibleId theId) noexcept { return static_cast<int>(theId & 0xFFFFFFFFu); }

enum TvxAccessibleRole {
  arPane,
  arList,
  arListItem,
  arTable,
  arCell,
  arColumnHeader,
  arRowHeader,
  arTree,
  arTreeItem,
  arSlider,
  arIndicator
};

enum TvxAccessibleStateItem {
  asFocusable,
  asFocused,
  asSelectable,
  asSelected,
  asCheckable,
  asChecked,
  asEditable,
  asExpandable,
  asExpanded,
  asInvisible,
  asOffscreen,
  asActive  // the current item or cell, whether or not the control has focus
};
using TvxAccessibleState = TSet<TvxAccessibleStateItem>;

// A node's tie to another: a link leads to (arFlowsTo) or comes from
// (arFlowsFrom) the other node.
enum TvxAccessibleRelationKind { arFlowsTo, arFlowsFrom };
struct VX_API TvxAccessibleRelation {
  TvxAccessibleId fTarget = vxAccessibleNone;
  TvxAccessibleRelationKind fKind = arFlowsTo;
};

class VX_API TvxAccessibleContent {
public:
  virtual ~TvxAccessibleContent() = default;

  virtual bool Exists(TvxAccessibleId theId) = 0;
  virtual int ChildCount(TvxAccessibleId theId) = 0;
  // vxAccessibleNone outside 0 .. ChildCount-1.
  virtual TvxAccessibleId ChildAt(TvxAccessibleId theId, int theIndex) = 0;
  // vxAccessibleNone for the root and for gone nodes.
  virtual TvxAccessibleId Parent(TvxAccessibleId theId) = 0;
  // The node's place among its parent's children; -1 when it is not one of
  // them (gone, or not shown). The base walks the parent's children.
  virtual int IndexInParent(TvxAccessibleId theId);

  virtual TvxAccessibleRole Role(TvxAccessibleId theId) = 0;
  // Empty names of the root fall back to the control's name or class.
  virtual std::string Name(TvxAccessibleId theId) = 0;
  virtual std::string Description(TvxAccessibleId /*theId*/) { return {}; }
  virtual std::string Value(TvxAccessibleId /*theId*/) { return {}; }
  virtual TvxAccessibleState State(TvxAccessibleId theId) = 0;
  // In the control's client coordinates; empty for none.
  virtual TRect Bounds(TvxAccessibleId theId) = 0;
  // The deepest node at (x, y) of the control; vxAccessibleNone for none.
  virtual TvxAccessibleId NodeAt(int /*x*/, int /*y*/) { return vxAccessibleNone; }
  // The current item or cell (what the keyboard moved to); none when none.
  virtual TvxAccessibleId Current() { return vxAccessibleNone; }
  virtual std::vector<TvxAccessibleRelation> Relations(TvxAccessibleId /*theId*/) { return {}; }

  // A numeric value with its range (for a slider); false for none.
  virtual bool NumericValue(TvxAccessibleId /*theId*/, double& /*theValue*/, double& /*theMin*/,
                            double& /*theMax*/) {
    return false;
  }

  // Table data, for a root of role arTable.
  virtual int TableRows() { return 0; }
  virtual int TableColumns() { return 0; }
  // The data cell (not a header); vxAccessibleNone outside the table.
  virtual TvxAccessibleId TableCell(int /*theRow*/, int /*theColumn*/) { return vxAccessibleNone; }
  virtual std::string ColumnHeader(int /*theColumn*/) { return {}; }
  // Where a data cell stands; false for other nodes.
  virtual bool CellPlace(TvxAccessibleId /*theId*/, int& /*theRow*/, int& /*theColumn*/) { return false; }
};

// Ids for nodes known by their path of places from the root (a grid's
// column and row at each level, a tree's child indexes): the content looks
// the path up afresh. Holds at most MostPaths paths; past that the ids start
// again and the old ones answer nil.
class VX_API TvxAccessiblePaths {
public:
  using TPath = std::vector<std::pair<int, int>>;
  static constexpr std::size_t MostPaths = std::size_t{1} << 20;

  // Never vxAccessibleRoot nor vxAccessibleNone.
  TvxAccessibleId IdOf(const TPath& thePath);
  // Nil for an id this registry did not give, or gave before starting again.
  const TPath* PathOf(TvxAccessibleId theId) const;
  std::size_t Count() const noexcept { return fPaths.size(); }

private:
  std::map<TPath, TvxAccessibleId> fIds;
  std::vector<TPath> fPaths;
  TvxAccessibleId fGeneration = 0;
};

}  // namespace vx
