// The components' Qt face: signals raised by real gestures through the event
// loop, NOTIFY signals of the properties a user changes, and the Qt habits
// (parents, hide/show, findChild).
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <memory>

#include "UiTestSupport.h"
#include <vxplan/designer/QvxWidgets.h>
#include <vxplan/gantt/vxGant.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/paint/vxSplitter.h>
#include <vxplan/platform/ui/QtConvert.h>
#include <vxplan/scaler/vxScaler.h>
#include <vxplan/schema/vxSchema.h>
#include <vxplan/tree/vxTree.h>

using namespace vx;

namespace {

constexpr double kDay0 = 46000;

// A chart in a shown window: one node with one bar from day 1 to day 2,
// 100 pixels a day.
struct GantForm {
  QWidget window;
  QvxGant* face = new QvxGant(&window);
  TvxGant* gant = face->gant();
  TvxDataEntity_Kronit* bar = nullptr;

  GantForm() {
    window.resize(900, 400);
    face->setGeometry(0, 0, 900, 400);
    window.show();
    gant->GetTreeView()->SetItemHeight(20);
    gant->GetDateScaler()->SetStart(kDay0);
    gant->GetDateScaler()->SetStop(kDay0 + 7);
    TvxDataEntity_Tree* node = gant->AddDataEntityTree(nullptr);
    node->SetText("task");
    bar = gant->AddKronit(node, 0);
    bar->SetStartDateTime(kDay0 + 1);
    bar->SetStopDateTime(kDay0 + 2);
    vxtest::ProcessEventsUntilIdle();
  }
  TPoint BarCentre() {
    const TRect r = gant->RectFromDataEntity(bar);
    return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
};

// A Qt widget filling a shown window of the given size.
template <class W>
W* ShownFace(QWidget& theWindow, int theWidth, int theHeight) {
  theWindow.resize(theWidth, theHeight);
  auto* face = new W(&theWindow);
  face->setGeometry(0, 0, theWidth, theHeight);
  theWindow.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&theWindow));
  return face;
}

// Two heard on one signal: each hears every emission with its arguments.
template <class Obj, class... A>
struct TwoSlots {
  std::vector<std::tuple<std::decay_t<A>...>> first, second;
  QMetaObject::Connection c1, c2;
  TwoSlots(Obj* theObject, void (Obj::*theSignal)(A...)) {
    c1 = QObject::connect(theObject, theSignal, [this](A... a) { first.emplace_back(a...); });
    c2 = QObject::connect(theObject, theSignal, [this](A... a) { second.emplace_back(a...); });
  }
  ~TwoSlots() {
    QObject::disconnect(c1);
    QObject::disconnect(c2);
  }
  // Both heard it once, carrying theExpected.
  template <class T>
  void ExpectOnce(T theExpected) const {
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(std::get<0>(first[0]), theExpected);
    EXPECT_EQ(std::get<0>(second[0]), theExpected);
  }
};

}  // namespace

// A click, a right click and a double click on the bar: each raises its
// signal once, after the application's handler, with the bar; both heard
// hear it.
TEST(QtFace, GantClicksReachEverySlotAfterTheHandler) {
  struct Row {
    const char* name;
    void (QvxGant::*signal)(TvxDataEntity_Kronit*);
    std::function<void(TvxGant*, TPoint)> gesture;
    TvxEventOf<TOnKronitNotify> TvxGant::*handler;
  };
  const Row rows[] = {
      {"click", &QvxGant::itemClicked,
       [](TvxGant* g, TPoint p) { vxtest::MouseClick(g->GetGA(), p.X, p.Y); }, &TvxGant::OnClickGantArea},
      {"right click", &QvxGant::itemRightClicked,
       [](TvxGant* g, TPoint p) { vxtest::MouseClick(g->GetGA(), p.X, p.Y, Qt::RightButton); },
       &TvxGant::OnRightClickGantArea},
      {"double click", &QvxGant::itemDoubleClicked,
       [](TvxGant* g, TPoint p) { vxtest::MouseDoubleClick(g->GetGA(), p.X, p.Y); }, &TvxGant::OnDblClickGantArea},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    GantForm form;
    std::vector<std::string> order;
    form.gant->*row.handler = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit*) { order.push_back("handler"); };
    TwoSlots<QvxGant, TvxDataEntity_Kronit*> heard(form.face, row.signal);
    QObject::connect(form.face, row.signal, form.face, [&] { order.push_back("signal"); });
    row.gesture(form.gant, form.BarCentre());
    vxtest::ProcessEventsUntilIdle();
    heard.ExpectOnce(form.bar);
    ASSERT_FALSE(order.empty());
    EXPECT_EQ(order.front(), "handler");
    EXPECT_EQ(order.back(), "signal");
  }
}

// The application's handler deletes the clicked bar: the signal still comes,
// once, and carries nil; nothing reads the freed bar.
TEST(QtFace, AHandlerThatDeletesTheItemLeavesTheSignalWithNil) {
  GantForm form;
  form.gant->OnClickGantArea = [&](TvxGant_ComBasic* g, TvxDataEntity_Kronit* k) { g->RemoveKronit(k); };
  QSignalSpy spy(form.face, &QvxGant::itemClicked);
  const TPoint p = form.BarCentre();
  vxtest::MouseClick(form.gant->GetGA(), p.X, p.Y);
  vxtest::ProcessEventsUntilIdle();
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).value<TvxDataEntity_Kronit*>(), nullptr);
}

// Dragging the splitter: treeWidthChanged once with the width the tree got.
TEST(QtFace, DraggingTheSplitterNotifiesTheTreeWidth) {
  GantForm form;
  TvxSplitter* splitter = nullptr;
  for (QObject* c : form.gant->children())
    if (auto* s = dynamic_cast<TvxSplitter*>(c)) splitter = s;
  ASSERT_NE(splitter, nullptr);
  const int before = form.face->treeWidth();
  TwoSlots<QvxGant, int> heard(form.face, &QvxGant::treeWidthChanged);
  const int y = splitter->GetHeight() / 2;
  vxtest::MousePress(splitter, 1, y);
  for (int s = 1; s <= 4; ++s) vxtest::MouseMove(splitter, 1 + 15 * s, y);
  vxtest::MouseRelease(splitter, 61, y);
  vxtest::ProcessEventsUntilIdle();
  EXPECT_NE(form.face->treeWidth(), before);
  heard.ExpectOnce(form.face->treeWidth());
  EXPECT_EQ(form.face->metaObject()->property(form.face->metaObject()->indexOfProperty("treeWidth")).notifySignal().name(),
            QByteArray("treeWidthChanged"));
}

// Shift+wheel over the axis scrolls it: the time window's signals carry the
// new window, as the properties then read it.
TEST(QtFace, ScrollingTheAxisNotifiesTheTimeWindow) {
  QWidget window;
  auto* face = ShownFace<QvxDateScaler>(window, 600, 40);
  face->setStart(ToQDateTime(kDay0));
  face->setStop(ToQDateTime(kDay0 + 6));
  vxtest::ProcessEventsUntilIdle();
  TwoSlots<QvxDateScaler, const QDateTime&, const QDateTime&> heard(face, &QvxDateScaler::timeWindowChanged);
  QSignalSpy starts(face, &QvxDateScaler::startChanged);
  const QDateTime before = face->start();
  vxtest::Wheel(face->scaler(), 300, 20, -120, Qt::ShiftModifier);  // pans
  // The axis tells of a change once it has painted it.
  QTest::qWaitFor([&] { return !heard.first.empty(); }, 2000);
  vxtest::ProcessEventsUntilIdle();
  ASSERT_NE(face->start(), before);
  heard.ExpectOnce(face->start());
  EXPECT_EQ(std::get<1>(heard.first[0]), face->stop());
  ASSERT_EQ(starts.count(), 1);
  EXPECT_EQ(starts.at(0).at(0).toDateTime(), face->start());
}

// A click on a booking selects it: bookingSelectionChanged once, with the
// booking, for both heard.
TEST(QtFace, ClickingABookingNotifiesItsSelection) {
  QWidget window;
  auto* face = ShownFace<QvxSchema>(window, 650, 500);
  TvxSchema* s = face->schema();
  s->SetScalerStart(kDay0 + 8.0 / 24);
  s->SetScalerStop(kDay0 + 16.0 / 24);
  for (const char* name : {"a", "b"}) s->AddColumn()->SetText(name);
  TvxDataEntity_SchemaTime* booking = s->AddSchemaTime(0);
  booking->SetCol(1);
  booking->SetStartDateTime(kDay0 + 10.0 / 24);
  booking->SetStopDateTime(kDay0 + 12.0 / 24);
  vxtest::ProcessEventsUntilIdle();
  TRect r;
  ASSERT_TRUE(s->RectFromDataEntity(false, booking, r));
  TwoSlots<QvxSchema, TvxDataEntity_SchemaTime*> heard(face, &QvxSchema::bookingSelectionChanged);
  vxtest::MouseClick(s->GetSchemaArea(), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  heard.ExpectOnce(booking);
  EXPECT_TRUE(booking->GetSelected());
}

// A click on a cell makes it current: currentCellChanged once, with the
// cell under the pointer, for both heard.
TEST(QtFace, ClickingACellNotifiesTheCurrentCell) {
  QWidget window;
  auto* face = ShownFace<QvxGrid>(window, 480, 240);
  face->setColumns({"A", "B", "C"});
  TvxGrid* grid = face->grid();
  for (int k = 0; k < 6; ++k) grid->AddRow(nullptr);
  vxtest::ProcessEventsUntilIdle();
  const int x = 150, y = 75;
  TBabCell* cell = grid->GetCellAtPixel(x, y);
  ASSERT_NE(cell, nullptr);
  ASSERT_FALSE(cell->GetIsFixed());
  ASSERT_NE(grid->GetFocusedCell(), cell);
  TwoSlots<QvxGrid, TBabCell*> heard(face, &QvxGrid::currentCellChanged);
  vxtest::MouseClick(grid, x, y);
  heard.ExpectOnce(cell);
  EXPECT_EQ(grid->GetFocusedCell(), cell);
}

// A click on the second node of a tree makes it current: currentChanged
// once, with that node, for both heard.
TEST(QtFace, ClickingATreeNodeNotifiesTheCurrentNode) {
  QWidget window;
  auto* face = ShownFace<QvxTree>(window, 300, 300);
  TvxTree* tree = face->tree();
  tree->SetItemHeight(20);
  tree->AddDataEntity(nullptr)->SetText("first");
  TvxDataEntity_Tree* second = tree->AddDataEntity(nullptr);
  second->SetText("second");
  vxtest::ProcessEventsUntilIdle();
  TwoSlots<QvxTree, TvxDataEntity_Tree*> heard(face, &QvxTree::currentChanged);
  vxtest::MouseClick(tree, 40, 30);
  heard.ExpectOnce(second);
}

// Qt's hide, show and setParent keep the control's own Visible flag and its
// place in the new parent's layout.
TEST(QtFace, QtVisibilityAndReparentingKeepVisible) {
  QWidget window;
  window.resize(400, 300);
  QWidget other(&window);
  other.setGeometry(0, 0, 400, 300);
  auto* scaler = new TvxDateScaler(&window);
  window.show();
  vxtest::ProcessEventsUntilIdle();
  ASSERT_TRUE(scaler->GetVisible());
  struct Step {
    const char* name;
    std::function<void()> act;
    bool visible, onScreen;
  };
  const Step steps[] = {
      {"hide", [&] { scaler->hide(); }, false, false},
      {"show", [&] { scaler->show(); }, true, true},
      {"setVisible(false)", [&] { scaler->setVisible(false); }, false, false},
      {"Show", [&] { scaler->Show(); }, true, true},
      {"setParent elsewhere", [&] { scaler->setParent(&other); }, true, true},
      {"hidden, then moved", [&] { scaler->hide(); scaler->setParent(&window); }, false, false},
      {"shown again", [&] { scaler->show(); }, true, true},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    s.act();
    vxtest::ProcessEventsUntilIdle();
    EXPECT_EQ(scaler->GetVisible(), s.visible);
    EXPECT_EQ(scaler->Showing(), s.onScreen);
  }
}

// A component made with a Qt parent: owned by the nearest component around
// it (none for a plain widget), a Qt child of that parent; nullptr still
// means "no owner".
TEST(QtFace, AQtParentGivesTheNearestComponentAsOwner) {
  QWidget plain;
  auto* gant = new TvxGant(&plain);
  EXPECT_EQ(gant->GetOwner(), nullptr);
  EXPECT_EQ(gant->parentWidget(), &plain);

  auto* inner = new QWidget(gant);
  auto* grid = new TvxGrid(inner);
  EXPECT_EQ(grid->GetOwner(), gant);
  EXPECT_EQ(grid->parentWidget(), inner);
  auto* tree = new TvxTree(static_cast<QWidget*>(gant));
  EXPECT_EQ(tree->GetOwner(), gant);
  EXPECT_EQ(tree->GetParent(), gant);

  std::unique_ptr<TvxSchema> loose(new TvxSchema(nullptr));
  EXPECT_EQ(loose->GetOwner(), nullptr);
  EXPECT_EQ(loose->parentWidget(), nullptr);
  delete gant;  // takes the grid and the tree with it
}

// findChild and qobject_cast find the Qt widgets and their components; the
// components' size hints leave room for their parts.
TEST(QtFace, WidgetsAreFoundByNameAndHintSensibleSizes) {
  QWidget form;
  auto* layout = new QVBoxLayout(&form);
  layout->addWidget(new QvxGant);
  layout->addWidget(new QvxSchema);
  layout->addWidget(new QvxDateScaler);
  layout->addWidget(new QvxGrid);
  layout->addWidget(new QvxTree);
  const char* const names[][2] = {{"QvxGant", "gant"}, {"QvxSchema", "schema"}, {"QvxDateScaler", "scaler"},
                                  {"QvxGrid", "grid"}, {"QvxTree", "tree"}};
  for (const auto& n : names) {
    SCOPED_TRACE(n[0]);
    QWidget* face = form.findChild<QWidget*>(QString::fromLatin1(n[0]));
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->metaObject()->className(), QByteArray("vx::") + n[0]);
    QWidget* component = face->findChild<QWidget*>(QString::fromLatin1(n[1]));
    ASSERT_NE(component, nullptr);
    const QSize hint = component->sizeHint(), least = component->minimumSizeHint();
    EXPECT_TRUE(least.isValid());
    EXPECT_GE(hint.width(), least.width());
    EXPECT_GE(hint.height(), least.height());
    EXPECT_LT(hint.width(), 2000);
  }
  auto* gant = form.findChild<QvxGant*>()->gant();
  EXPECT_GT(gant->minimumSizeHint().height(), gant->GetScalerHeight());
  EXPECT_GT(gant->sizeHint().width(), gant->GetTreeWidth());
}
