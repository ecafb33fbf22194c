// The Gantt area through Qt's accessibility: its items as children with
// names, dates, states and links, and focus events as the keys walk.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>
#include <cmath>
#include <limits>
#include <memory>

#include "AccessibleSupport.h"
#include "GanttSupport.h"

using namespace vx;
using vxtest::ChildNames;
using vxtest::FocusRecorder;
using vxtest::ShownGant;

namespace {

double TestGantDay(double theDay) { return vxtest::TestGant::kDay0 + theDay; }

TvxDataEntity_Kronit* Named(TvxDataEntity_Kronit* k, const std::string& theName) {
  k->GetTimeItemTextCollection()->AddText(theName, 0, 0, 0);
  return k;
}

// Two rows with items and a row without.
struct Plan {
  std::unique_ptr<ShownGant> g = std::make_unique<ShownGant>();
  TvxDataEntity_Tree* design = g->Node(nullptr, "Design");
  TvxDataEntity_Tree* build = g->Node(nullptr, "Build");
  TvxDataEntity_Tree* empty = g->Node(nullptr, "Empty");
  TvxDataEntity_Kronit* a = Named(g->Item(design, 0, 1), "Sketch");
  TvxDataEntity_Kronit* b = Named(g->Item(design, 2, 3.5), "Review");
  TvxDataEntity_Kronit* c = Named(g->Item(build, 1, 2), "Frame");
  Plan() {
    g->GetDateScaler()->SetDateFormat("yyyy-mm-dd");
    g->GetDateScaler()->SetTimeFormat("hh:nn");
    g->InvalidateGA();
    vxtest::ProcessEventsUntilIdle();
  }
  QAccessibleInterface* Area() { return QAccessible::queryAccessibleInterface(g->GetGA()); }
  QAccessibleInterface* ChildNamed(const QString& theName) {
    QAccessibleInterface* area = Area();
    for (int i = 0; area && i < area->childCount(); ++i)
      if (area->child(i) && area->child(i)->text(QAccessible::Name) == theName) return area->child(i);
    return nullptr;
  }
  QPoint Centre(TvxDataEntity_Kronit* k) {
    const TRect r = g->RectFromDataEntity(k);
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
};

TEST(GanttAccessible, ItemsAreChildrenWithNameDatesAndStates) {
  Plan p;
  p.b->SetSelected(true);
  QAccessibleInterface* area = p.Area();
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->role(), QAccessible::List);
  // Named after the control's name (the chart names its area), else its class.
  EXPECT_EQ(area->text(QAccessible::Name), "GanttArea");
  p.g->GetGA()->SetName("");
  EXPECT_EQ(area->text(QAccessible::Name), "TvxOffscreenPaint_GA");
  p.g->GetGA()->SetName("GanttArea");
  ASSERT_EQ(ChildNames(area), (std::vector<QString>{"Sketch", "Review", "Frame"}));

  struct Row {
    const char* name;
    const char* description;
    bool selected;
  };
  const Row rows[] = {
      {"Sketch", "Start: 2025-12-09 00:00, Finish: 2025-12-10 00:00, Length: 1 d 00:00", false},
      {"Review", "Start: 2025-12-11 00:00, Finish: 2025-12-12 12:00, Length: 1 d 12:00", true},
      {"Frame", "Start: 2025-12-10 00:00, Finish: 2025-12-11 00:00, Length: 1 d 00:00", false},
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(rows[i].name);
    QAccessibleInterface* item = area->child(i);
    vxtest::ExpectPlacedChild(area, item);
    EXPECT_TRUE(item->isValid());
    EXPECT_EQ(item->role(), QAccessible::ListItem);
    EXPECT_EQ(item->text(QAccessible::Description), rows[i].description);
    EXPECT_EQ(item->state().selected, rows[i].selected);
    EXPECT_TRUE(item->state().selectable);
    EXPECT_EQ(area->indexOfChild(item), i);
    EXPECT_EQ(area->child(i), item);  // asked twice, the same object
  }
  EXPECT_EQ(area->child(3), nullptr);
  EXPECT_EQ(area->child(-1), nullptr);
}

TEST(GanttAccessible, OnlyRowsOnScreenAndItemsThatAreThere) {
  Plan p;
  QAccessibleInterface* frame = p.ChildNamed("Frame");
  ASSERT_NE(frame, nullptr);
  const QAccessible::Id frameId = QAccessible::uniqueId(frame);
  // The item goes: its node goes with it, and the list has one child less.
  p.g->RemoveKronit(p.c);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(QAccessible::accessibleInterface(frameId), nullptr);
  EXPECT_EQ(ChildNames(p.Area()), (std::vector<QString>{"Sketch", "Review"}));
  // A collapsed parent's rows leave the screen, and their items the list.
  TvxDataEntity_Tree* child = p.g->Node(p.build, "Child");
  Named(p.g->Item(child, 0, 1), "Hidden");
  p.build->SetExpanded(true);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(ChildNames(p.Area()), (std::vector<QString>{"Sketch", "Review", "Hidden"}));
  p.build->SetExpanded(false);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_EQ(ChildNames(p.Area()), (std::vector<QString>{"Sketch", "Review"}));
}

TEST(GanttAccessible, BadTimesReadAsWhatTheHintShows) {
  Plan p;
  const double bad[][2] = {{std::nan(""), 1}, {0, std::numeric_limits<double>::infinity()}, {1e300, -1e300}, {5, 1}};
  for (const auto& times : bad) {
    p.c->SetStartDateTime(TestGantDay(times[0]));
    p.c->SetStopDateTime(TestGantDay(times[1]));
    p.g->InvalidateGA();
    vxtest::ProcessEventsUntilIdle();
    QAccessibleInterface* frame = p.ChildNamed("Frame");
    ASSERT_NE(frame, nullptr);
    // The same words the chart's hint shows for the item, one a line there.
    QString hint = QString::fromStdString(p.g->HintText(p.c));
    hint.replace('\r', ", ");
    EXPECT_EQ("Frame, " + frame->text(QAccessible::Description), hint);
    (void)frame->rect();
    (void)frame->state();
  }
}

TEST(GanttAccessible, LinksAreRelations) {
  Plan p;
  TvxDataEntity_Link* link = p.g->AddLink();
  link->fLinkOwner = p.a;
  link->fLinkedTo = p.c;
  QAccessibleInterface* sketch = p.ChildNamed("Sketch");
  QAccessibleInterface* frame = p.ChildNamed("Frame");
  QAccessibleInterface* review = p.ChildNamed("Review");
  ASSERT_TRUE(sketch && frame && review);
  const auto fromSketch = sketch->relations();
  ASSERT_EQ(fromSketch.size(), 1);
  EXPECT_EQ(fromSketch[0].first, frame);
  EXPECT_EQ(fromSketch[0].second, QAccessible::Controlled);
  const auto toFrame = frame->relations(QAccessible::Controller);
  ASSERT_EQ(toFrame.size(), 1);
  EXPECT_EQ(toFrame[0].first, sketch);
  EXPECT_TRUE(frame->relations(QAccessible::Controlled).isEmpty());
  EXPECT_TRUE(review->relations().isEmpty());
}

TEST(GanttAccessible, KeysRaiseFocusOnTheNewItem) {
  Plan p;
  EXPECT_FALSE(TControl::AccessibleListening());
  FocusRecorder recorder;
  EXPECT_TRUE(TControl::AccessibleListening());
  // A click makes the first item active.
  const QPoint sketch = p.Centre(p.a);
  vxtest::MousePress(p.g->GetGA(), sketch.x(), sketch.y());
  vxtest::MouseRelease(p.g->GetGA(), sketch.x(), sketch.y());
  ASSERT_EQ(p.g->GetActiveDataEntity(), p.a);
  ASSERT_FALSE(recorder.Names().empty());
  EXPECT_EQ(recorder.Names().back(), "Sketch");

  vxtest::ExpectFocusWalk(recorder, p.g->GetGA(),
                          {{Qt::Key_Right, "Review"}, {Qt::Key_Left, "Sketch"}, {Qt::Key_Down, "Frame"},
                           {Qt::Key_Up, "Sketch"}, {Qt::Key_End, "Review"}},
                          true);
}

TEST(GanttAccessible, HandlersThatDeleteLeaveNothingStale) {
  Plan p;
  FocusRecorder recorder;
  // The hint handler deletes the item the keys walk to: no event for it.
  TvxDataEntity_Kronit* review = p.b;
  p.g->OnHintInfo = [&](TObject* o, TDateTime, TDateTime, TDateTime) {
    if (o == review) {
      p.g->RemoveKronit(review);
      review = nullptr;
    }
  };
  const QPoint sketch = p.Centre(p.a);
  vxtest::MousePress(p.g->GetGA(), sketch.x(), sketch.y());
  vxtest::MouseRelease(p.g->GetGA(), sketch.x(), sketch.y());
  recorder.Clear();
  vxtest::KeyClick(p.g->GetGA(), Qt::Key_Right);
  EXPECT_EQ(review, nullptr);
  EXPECT_TRUE(recorder.Names().empty());
  EXPECT_EQ(ChildNames(p.Area()), (std::vector<QString>{"Sketch", "Frame"}));
  // The chart goes while clients hold its nodes: they go with it.
  QAccessibleInterface* frame = p.ChildNamed("Frame");
  ASSERT_NE(frame, nullptr);
  const QAccessible::Id frameId = QAccessible::uniqueId(frame);
  const QAccessible::Id areaId = QAccessible::uniqueId(p.Area());
  p.g.reset();
  EXPECT_EQ(QAccessible::accessibleInterface(frameId), nullptr);
  EXPECT_EQ(QAccessible::accessibleInterface(areaId), nullptr);
}

}  // namespace
