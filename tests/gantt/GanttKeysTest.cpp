// The Gantt area's keyboard edits (Alt with the arrows), through Qt's real
// key delivery: where the active item lands, what the application hears and
// refuses; and the area's focus frame.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "GanttSupport.h"
#include <vxplan/platform/rtl/Color.h>
#include <vxplan/platform/ui/Graphics.h>

using namespace vx;
using vxtest::TestGant;

namespace {

// Three rows; one item from day 1 to day 2 in the first, active and focused;
// times snap to whole days, so a key step is a day.
struct KeyGant : vxtest::ShownGant {
  TvxDataEntity_Tree* n[3]{};
  TvxDataEntity_Kronit* k = nullptr;
  KeyGant() {
    for (int i = 0; i < 3; ++i) n[i] = Node(nullptr, "row " + std::to_string(i));
    k = Item(n[0], 1, 2);
    GetSnap()->fStartSnapONOFF = GetSnap()->fStopSnapONOFF = true;
    GetSnap()->fStartSnap = GetSnap()->fStopSnap = 1;
    // The application moves an item to another row: a new one there, the old one goes.
    OnTimeChangeRow = [](TvxGant_ComBasic* chart, TvxDataEntity_Kronit* item, TGantRow*, TGantRow* to,
                         TDateTime start, TDateTime stop, TvxDataEntity_Kronit*& made) {
      made = chart->AddKronitToGantRow(to, 0);
      made->SetStartDateTime(start);
      made->SetStopDateTime(stop);
      chart->RemoveKronit(item);
    };
    SetActiveDataEntity(k);
    GetGA()->SetFocus();
    vxtest::ProcessEventsUntilIdle();
  }
  void Key(Qt::Key theKey, Qt::KeyboardModifiers theModifiers) { vxtest::KeyClick(GetGA(), theKey, theModifiers); }
  // The items of a row's first layer.
  std::vector<TvxDataEntity_Kronit*> ItemsOf(int theRow) {
    std::vector<TvxDataEntity_Kronit*> items;
    TvxDataList* layer = RowOf(n[theRow])->GetLayer(0);
    for (int i = 0; layer && i < layer->Count(); ++i) items.push_back(static_cast<TvxDataEntity_Kronit*>(layer->GetItems(i)));
    return items;
  }
};

constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kAltShift = Qt::AltModifier | Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kAltCtrl = Qt::AltModifier | Qt::ControlModifier;

}  // namespace

// Where an Alt-arrow puts the active item, and the refusals that leave it
// where it was, as they do a drag.
TEST(GanttKeys, AltArrowsMoveAndResizeTheActiveItemUnlessRefused) {
  enum Refusal { rNone, rCanEdit, rRowNoMove, rRowNoResize, rRowNoChange, rChangeRowIgnored, rFixed };
  struct Case {
    const char* name;
    Refusal refusal;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    double start, stop;  // days, after the key
    int row;
  };
  const Case cases[] = {
      {"later", rNone, Qt::Key_Right, kAlt, 2, 3, 0},
      {"earlier", rNone, Qt::Key_Left, kAlt, 0, 1, 0},
      {"finish later", rNone, Qt::Key_Right, kAltShift, 1, 3, 0},
      {"finish back to the start, not past it", rNone, Qt::Key_Left, kAltShift, 1, 1, 0},
      {"start earlier", rNone, Qt::Key_Left, kAltCtrl, 0, 2, 0},
      {"start up to the finish", rNone, Qt::Key_Right, kAltCtrl, 2, 2, 0},
      {"next row", rNone, Qt::Key_Down, kAlt, 1, 2, 1},
      {"no row above the first", rNone, Qt::Key_Up, kAlt, 1, 2, 0},
      {"without Alt the arrows only walk", rNone, Qt::Key_Right, Qt::NoModifier, 1, 2, 0},
      {"not editable: no move", rCanEdit, Qt::Key_Right, kAlt, 1, 2, 0},
      {"not editable: no resize", rCanEdit, Qt::Key_Right, kAltShift, 1, 2, 0},
      {"not editable: no row change", rCanEdit, Qt::Key_Down, kAlt, 1, 2, 0},
      {"row forbids moving in time", rRowNoMove, Qt::Key_Left, kAlt, 1, 2, 0},
      {"row forbids resizing", rRowNoResize, Qt::Key_Left, kAltCtrl, 1, 2, 0},
      {"row forbids changing rows", rRowNoChange, Qt::Key_Down, kAlt, 1, 2, 0},
      {"the application leaves a row change undone", rChangeRowIgnored, Qt::Key_Down, kAlt, 1, 2, 0},
      {"fixed size: no resize", rFixed, Qt::Key_Right, kAltShift, 1, 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KeyGant g;
    TGantRow* row = g.RowOf(g.n[0]);
    int pushed = 0, asked = 0;
    g.OnValueChanged_Kronit = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit*) { ++pushed; };
    switch (c.refusal) {
      case rNone: break;
      case rCanEdit:
        g.OnBeforeCanEditItem_Kronit = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit* item) {
          ++asked;
          item->SetCanEdit(false);
        };
        break;
      case rRowNoMove: row->fTimeItems_CanMove = false; break;
      case rRowNoResize: row->fTimeItems_CanResize = false; break;
      case rRowNoChange: row->fTimeItems_CanChangeRow = false; break;
      case rChangeRowIgnored:
        g.OnTimeChangeRow = [&](TvxGant_ComBasic*, TvxDataEntity_Kronit*, TGantRow*, TGantRow*, TDateTime,
                                TDateTime, TvxDataEntity_Kronit*&) { ++asked; };
        break;
      case rFixed: g.k->SetFixedSize(100); break;
    }
    g.Key(c.key, c.modifiers);
    const std::vector<TvxDataEntity_Kronit*> items = g.ItemsOf(c.row);
    ASSERT_EQ(items.size(), 1u);
    TvxDataEntity_Kronit* item = items[0];
    EXPECT_DOUBLE_EQ(item->GetStartDateTime(), TestGant::kDay0 + c.start);
    EXPECT_DOUBLE_EQ(item->GetStopDateTime(), TestGant::kDay0 + c.stop);
    // A time edit is pushed as a drag's is; the active item follows the edit.
    const bool timeEdit = c.modifiers != Qt::NoModifier && c.row == 0 && c.start + c.stop != 3;
    EXPECT_EQ(pushed > 0, timeEdit);
    if (c.modifiers != Qt::NoModifier) {
      EXPECT_EQ(g.GetActiveDataEntity(), item);
    }
    EXPECT_EQ(asked, c.refusal == rCanEdit || c.refusal == rChangeRowIgnored ? 1 : 0);
  }
}

TEST(GanttKeys, KeysMoveTheSelectionAlongAndNextRowsComeIntoView) {
  KeyGant g;
  TvxDataEntity_Kronit* other = g.Item(g.n[1], 3, 4);
  g.k->SetSelected(true);
  other->SetSelected(true);
  g.Key(Qt::Key_Right, kAlt);
  EXPECT_DOUBLE_EQ(g.k->GetStartDateTime(), TestGant::kDay0 + 2);
  EXPECT_DOUBLE_EQ(other->GetStartDateTime(), TestGant::kDay0 + 4);
  EXPECT_TRUE(g.k->GetSelected() && other->GetSelected());

  // An active item not selected moves alone, as a press on it would select it alone.
  g.ClearSelections();
  other->SetSelected(true);
  g.Key(Qt::Key_Left, kAlt);
  EXPECT_DOUBLE_EQ(g.k->GetStartDateTime(), TestGant::kDay0 + 1);
  EXPECT_DOUBLE_EQ(other->GetStartDateTime(), TestGant::kDay0 + 4);
  EXPECT_FALSE(other->GetSelected());

  // Down twice: two rows on, the tree's current row following.
  g.Key(Qt::Key_Down, kAlt);
  g.Key(Qt::Key_Down, kAlt);
  ASSERT_EQ(g.ItemsOf(2).size(), 1u);
  EXPECT_EQ(g.GetActiveDataEntity(), g.ItemsOf(2)[0]);
  EXPECT_EQ(g.GetActiveGantRow(), g.RowOf(g.n[2]));
  g.Key(Qt::Key_Down, kAlt);  // no row below the last
  EXPECT_EQ(g.ItemsOf(2).size(), 1u);

  // A row below the screen: the rows step into view for it.
  KeyGant tall;
  std::vector<TvxDataEntity_Tree*> more;
  for (int i = 0; i < 60; ++i) more.push_back(tall.Node(nullptr, "more"));
  TvxDataEntity_Kronit* low = nullptr;
  TGantRow* lowRow = nullptr;
  tall.GetSide()->ForEachShownRow([&](TGantRow* row) { lowRow = row; });
  ASSERT_NE(lowRow, nullptr);
  low = tall.AddKronitToGantRow(lowRow, 0);
  low->SetStartDateTime(TestGant::kDay0 + 1);
  low->SetStopDateTime(TestGant::kDay0 + 2);
  TGantRow* lowBefore = lowRow;
  tall.SetActiveDataEntity(low);
  tall.Key(Qt::Key_Down, kAlt);
  TvxDataEntity_Kronit* moved = tall.GetActiveDataEntity();
  ASSERT_NE(moved, nullptr);
  EXPECT_NE(moved->GetRow(), lowBefore);
  EXPECT_EQ(lowBefore->GetLayer(0)->Count(), 0);
}

// Handlers that delete the item during a key edit are among the cases of
// GanttReentrancyTest.

TEST(GanttKeys, TheFocusedAreaFramesItselfInTheHighlightColour) {
  KeyGant g;
  const QColor highlight = [] {
    const TColor c = ColorToRGB(clHighlight);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  }();
  const auto framed = [&] {
    g.GetGA()->Repaint();
    vxtest::ProcessEventsUntilIdle();
    const QImage picture = g.GetGA()->grab().toImage();
    int hits = 0;
    // The frame's top edge, 2 pixels in.
    for (int x = 10; x < picture.width() - 10; ++x)
      if (picture.pixelColor(x, 2).rgb() == highlight.rgb()) ++hits;
    return hits;
  };
  ASSERT_TRUE(g.GetGA()->Focused());
  EXPECT_GT(framed(), 10);
  g.GetTreeView()->SetFocus();
  vxtest::ProcessEventsUntilIdle();
  ASSERT_FALSE(g.GetGA()->Focused());
  EXPECT_EQ(framed(), 0);
}

// The left side (the tree, or the grid in its place) comes before the area:
// Shift+Tab from the area reaches it, and Tab from the tree the area (the
// grid keeps Tab for its cells).
TEST(GanttKeys, TheLeftSideComesBeforeTheAreaInTabOrder) {
  KeyGant g;
  for (const bool grid : {false, true}) {
    SCOPED_TRACE(grid ? "grid" : "tree");
    g.SetUseGridNotTree(grid);
    vxtest::ProcessEventsUntilIdle();
    TControl* left = grid ? static_cast<TControl*>(g.GetGrid()) : g.GetTreeView();
    g.GetGA()->SetFocus();
    vxtest::ProcessEventsUntilIdle();
    vxtest::KeyClick(g.GetGA(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(left->Focused());
    if (grid) continue;
    vxtest::KeyClick(left, Qt::Key_Tab);
    EXPECT_TRUE(g.GetGA()->Focused());
  }
}
