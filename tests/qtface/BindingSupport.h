#pragma once

// What a bound chart shows, read back from the chart, and what the model
// says it should show, worked out from the model alone.
#include <QAbstractItemModel>
#include <QColor>
#include <QDateTime>
#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <compare>
#include <vector>

#include "GanttSupport.h"
#include <vxplan/designer/QvxGantModelBinding.h>
#include <vxplan/platform/ui/QtConvert.h>

namespace vxtest {

struct ShownBar {
  double start = 0, stop = 0;
  std::string text;
  vx::TColor colour = 0;
  auto operator<=>(const ShownBar&) const = default;
};

struct ShownTask {
  std::string text;
  std::vector<ShownBar> bars;  // sorted
  std::vector<ShownTask> kids;
  bool operator==(const ShownTask&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const ShownTask& t) {
  os << "{" << t.text << " bars:";
  for (const ShownBar& b : t.bars) os << " [" << b.start << ".." << b.stop << " " << b.text << " " << b.colour << "]";
  for (const ShownTask& k : t.kids) os << " " << k;
  return os << "}";
}

// The chart's tree with each node's bars.
inline std::vector<ShownTask> ChartShows(vx::TvxGant_ComBasic& chart) {
  std::function<std::vector<ShownTask>(vx::TvxDataList*)> walk = [&](vx::TvxDataList* list) {
    std::vector<ShownTask> out;
    for (int i = 0; list && i < list->Count(); ++i) {
      auto* node = static_cast<vx::TvxDataEntity_Tree*>(list->GetItems(i));
      ShownTask t;
      t.text = node->GetText();
      if (vx::TGantRow* row = chart.GetRowList()->FindRowFromTreeNode(node))
        row->ForEachItem([&](vx::TvxDataEntity_Kronit* k) {
          vx::TvxTimeItemTextCollection* texts = k->GetTimeItemTextCollection();
          const std::string text = texts && texts->GetCount() ? texts->GetTimeItemText(0)->GetText() : "";
          t.bars.push_back({k->GetStartDateTime(), k->GetStopDateTime(), text, k->GetColor()});
          return true;
        });
      std::sort(t.bars.begin(), t.bars.end());
      t.kids = walk(node->GetSubDataList());
      out.push_back(std::move(t));
    }
    return out;
  };
  return walk(chart.GetTreeView()->GetRootDataList());
}

// The same from the model, by the documented shape, with the default role map
// and dates as QDateTime.
inline std::vector<ShownTask> ModelSays(const QAbstractItemModel& m, const QModelIndex& parent = {}) {
  std::vector<ShownTask> out;
  auto bar = [&](const QModelIndex& i) {
    const QDateTime s = i.data(Qt::UserRole + 1).toDateTime(), f = i.data(Qt::UserRole + 2).toDateTime();
    const double start = vx::FromQDateTime(s);
    const double stop = f.isValid() && vx::FromQDateTime(f) >= start ? vx::FromQDateTime(f) : start;
    const QColor c = i.data(Qt::BackgroundRole).value<QColor>();
    return ShownBar{start, stop, vx::FromQString(i.data().toString()),
                    vx::FromQColor(c.isValid() ? c : QColor(0x5B, 0x8D, 0xD6))};
  };
  for (int r = 0; r < m.rowCount(parent); ++r) {
    const QModelIndex i = m.index(r, 0, parent);
    const bool hasStart = i.data(Qt::UserRole + 1).toDateTime().isValid();
    if (parent.isValid() && hasStart && !m.hasChildren(i)) continue;  // a bar of the parent task
    ShownTask t;
    t.text = vx::FromQString(i.data().toString().left(255));
    if (hasStart) t.bars.push_back(bar(i));
    for (int c = 0; c < m.rowCount(i); ++c) {
      const QModelIndex k = m.index(c, 0, i);
      if (k.data(Qt::UserRole + 1).toDateTime().isValid() && !m.hasChildren(k)) t.bars.push_back(bar(k));
    }
    std::sort(t.bars.begin(), t.bars.end());
    t.kids = ModelSays(m, i);
    out.push_back(std::move(t));
  }
  return out;
}

}  // namespace vxtest
