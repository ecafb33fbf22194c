// The grid and tree pages of the gallery as a user meets them: journeys of
// presses, moves, releases, the wheel and keys through Qt's event delivery,
// then what the user sees: cell texts, the focus, the scroll position, the
// editors, pixels at known places.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <functional>

#include "GallerySupport.h"
#include <vxplan/grid/vxBabGridView.h>
#include <vxplan/tree/vxTree.h>
#include <vxplan/tree/vxTreePopup.h>

using namespace vx;

namespace {

// Columns of the grid page.
enum Col { cNumber, cTask, cStatus, cDone, cOwner, cDue, cNotes, cHours };

struct Journey {
  vxtest::GalleryWindow window;
  TBabGridView_Custom* grid = nullptr;
  TvxTree_ComBasic* tree = nullptr;

  explicit Journey(const std::string& thePage) : window(thePage) {
    grid = window.Component<TBabGridView_Custom>();
    tree = window.Component<TvxTree_ComBasic>();
  }
  TBabGridCellForViewer* g() const { return grid->GetBabGridCellForViewer(); }

  // Grid: where a cell shows now (after a paint).
  TRect CellRect(int theCol, int theRow) {
    grid->Repaint();
    TBabCell* c = g()->getCell(theCol, theRow);
    return c ? c->getVisibleRect() : NoRect();
  }
  TPoint CellMid(int theCol, int theRow) {
    const TRect r = CellRect(theCol, theRow);
    return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void Click(int theCol, int theRow) {
    const TPoint p = CellMid(theCol, theRow);
    vxtest::MouseClick(grid, p.X, p.Y);
  }
  void DoubleClick(int theCol, int theRow) {
    const TPoint p = CellMid(theCol, theRow);
    vxtest::MouseClick(grid, p.X, p.Y);
    vxtest::MouseDoubleClick(grid, p.X, p.Y);
    vxtest::MouseRelease(grid, p.X, p.Y);
  }
  void Key(Qt::Key theKey, Qt::KeyboardModifiers theModifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window.Window(), theKey, theModifiers);
    vxtest::ProcessEventsUntilIdle(3);
  }
  void Type(const std::string& theText) {
    QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(theText));
    vxtest::ProcessEventsUntilIdle(3);
  }
  std::string Text(int theCol, int theRow) { return grid->GetText(g()->getCell(theCol, theRow)); }
  std::string Focus() {
    TBabCell* f = g()->GetFocusedCellDownTrack();
    return f ? std::to_string(f->GetCol()) + "," + std::to_string(f->GetRow()) : "none";
  }
};

}  // namespace

// The page's own popup (a component of the tree's form).
TvxTreePopup* PopupOf(TvxTree_ComBasic* theTree) {
  TComponent* form = theTree ? dynamic_cast<TComponent*>(theTree->GetParent()) : nullptr;
  for (int i = 0; form && i < form->ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TvxTreePopup*>(form->GetComponent(i))) return p;
  return nullptr;
}

// The rows of the grid page that show whole now: the last one's bottom.
int LastShownBottom(Journey& j) {
  TAxisContentList* rows = j.g()->GetAxisContentListY();
  TAxisContentItem* last = rows->getVisibleAxisContentItem(rows->VisibleCount() - 1);
  return j.grid->GetDrawRect().Top + last->GetAcumSize() + last->GetCalculatedSize();
}

struct Case {
  const char* name;
  const char* page;
  std::function<void(Journey&)> walk;
};

const Case kJourneys[] = {
    {"TypeAFullDate", "grid",
     [](Journey& j) {
       j.Click(cDue, 4);
       j.Key(Qt::Key_F2);
       ASSERT_TRUE(j.grid->GetEditing());
       j.Type("2026-12-03");
       j.Key(Qt::Key_Return);
       EXPECT_FALSE(j.grid->GetEditing());
       EXPECT_EQ(j.Text(cDue, 4), "2026-12-03");
       // Typed over only in part, it keeps the rest.
       j.Key(Qt::Key_F2);
       j.Type("2027");
       j.Key(Qt::Key_Return);
       EXPECT_EQ(j.Text(cDue, 4), "2027-12-03");
     }},
    {"ADateThatDoesNotReadStaysInItsEditor", "grid",
     [](Journey& j) {
       const std::string before = j.Text(cDue, 6);
       j.Click(cDue, 6);
       j.Key(Qt::Key_F2);
       j.Type("2026");
       j.Key(Qt::Key_Backspace);  // the month, emptied: "2026--dd"
       j.Key(Qt::Key_Return);
       EXPECT_TRUE(j.grid->GetEditing());
       EXPECT_EQ(j.Text(cDue, 6), before);
       j.Key(Qt::Key_Tab);
       EXPECT_TRUE(j.grid->GetEditing());
       // Typed on to a whole date, it is written as shown.
       j.Type("11");
       j.Key(Qt::Key_Return);
       EXPECT_FALSE(j.grid->GetEditing());
       EXPECT_EQ(j.Text(cDue, 6), "2026-11-" + before.substr(8));
       // Escape leaves a cell as it was.
       j.Key(Qt::Key_F2);
       j.Type("1999");
       j.Key(Qt::Key_Escape);
       EXPECT_FALSE(j.grid->GetEditing());
       EXPECT_EQ(j.Text(cDue, 6), "2026-11-" + before.substr(8));
       // Opened and closed untouched, a date writes back exactly what it was.
       j.grid->SetText(j.g()->getCell(cDue, 6), "0050-06-30");
       j.Key(Qt::Key_F2);
       j.Key(Qt::Key_Return);
       EXPECT_EQ(j.Text(cDue, 6), "0050-06-30");
     }},
    {"AltDownDropsThePickList", "grid",
     [](Journey& j) {
       j.Click(cOwner, 5);
       j.Key(Qt::Key_Down, Qt::AltModifier);
       ASSERT_TRUE(j.grid->GetEditing());
       EXPECT_TRUE(j.grid->GetInplaceComboEditor()->GetDroppedDown());
       // Down and Enter in the list pick, Enter again writes.
       const std::string before = j.Text(cOwner, 5);
       j.Key(Qt::Key_Down);
       j.Key(Qt::Key_Return);
       EXPECT_TRUE(j.grid->GetEditing());
       EXPECT_FALSE(j.grid->GetInplaceComboEditor()->GetDroppedDown());
       j.Key(Qt::Key_Return);
       EXPECT_FALSE(j.grid->GetEditing());
       EXPECT_NE(j.Text(cOwner, 5), before);
     }},
    {"F4DropsThePickListWhileEditing", "grid",
     [](Journey& j) {
       j.Click(cOwner, 7);
       j.Key(Qt::Key_F2);
       ASSERT_TRUE(j.grid->GetEditing());
       j.Key(Qt::Key_F4);
       EXPECT_TRUE(j.grid->GetEditing());
       EXPECT_TRUE(j.grid->GetInplaceComboEditor()->GetDroppedDown());
       j.Key(Qt::Key_Escape);  // the list closes
       j.Key(Qt::Key_Escape);  // the edit ends
       EXPECT_FALSE(j.grid->GetEditing());
     }},
    {"ReadOnlyStatusSaysSo", "grid",
     [](Journey& j) {
       j.Click(cStatus, 3);
       j.Key(Qt::Key_F2);
       EXPECT_FALSE(j.grid->GetEditing());
       EXPECT_TRUE(j.grid->ReadOnlyShown());
       j.Key(Qt::Key_Down);
       EXPECT_FALSE(j.grid->ReadOnlyShown());
       j.DoubleClick(cStatus, 6);
       EXPECT_FALSE(j.grid->GetEditing());
       EXPECT_TRUE(j.grid->ReadOnlyShown());
       // An editable cell edits as before.
       j.DoubleClick(cTask, 6);
       EXPECT_TRUE(j.grid->GetEditing());
       EXPECT_FALSE(j.grid->ReadOnlyShown());
     }},
    {"NotesShowEveryLine", "grid",
     [](Journey& j) {
       j.Click(cNotes, 2);
       j.Key(Qt::Key_F2);
       ASSERT_TRUE(j.grid->GetEditing());
       TControl* memo = j.grid->GetInplaceMemoEditor();
       const int oneLine = memo->GetHeight();
       j.Type("first");
       j.Key(Qt::Key_Return);
       j.Type("second");
       j.Key(Qt::Key_Return);
       j.Type("third");
       EXPECT_GE(memo->GetHeight(), 2 * oneLine);
       j.Key(Qt::Key_Tab);
       const std::string note = j.Text(cNotes, 2);
       ASSERT_GE(note.size(), 18u);
       EXPECT_EQ(note.substr(note.size() - 18), "first\nsecond\nthird");
       // The row grows to show the three lines, each whole.
       const TRect r = j.CellRect(cNotes, 2);
       EXPECT_GE(r.Height(), 3 * 14);
       TBitmap shot;
       j.grid->PaintTo(&shot);
       const TRect ink = vxtest::MatchingPixels(shot.GetCanvas(), j.grid->GetWidth(), j.grid->GetHeight(),
                                                [](TColor c) { return c == clBlack; });
       EXPECT_GE(ink.Bottom, r.Top + 2 * r.Height() / 3);
     }},
    {"CtrlEndShowsTheLastRowWholeAndFoldingLeavesNoRoomBelow", "grid",
     [](Journey& j) {
       j.Click(cTask, 2);
       j.Key(Qt::Key_End, Qt::ControlModifier);
       EXPECT_EQ(j.Focus(), "1,1000000");
       const int area = j.grid->GetDrawRect().Bottom;
       EXPECT_LE(j.CellRect(cTask, 1000000).Bottom, area);
       TScrollBar* bar = j.grid->GetVertScrollBar();
       EXPECT_EQ(bar->GetPosition() + bar->GetPageSize() - 1, bar->GetMax());
       EXPECT_LE(area - LastShownBottom(j), 20);
       // The last project's button, on its row.
       const int project = 999991;
       j.Key(Qt::Key_Up);
       const TRect r = j.CellRect(cTask, project);
       ASSERT_NE(r, NoRect());
       vxtest::MouseClick(j.grid, r.Left + 6, (r.Top + r.Bottom) / 2);
       j.grid->Repaint();
       EXPECT_TRUE(j.g()->GetAxisContentListY()->getAxisContentItem(1000000)->GetHide());
       EXPECT_LE(area - LastShownBottom(j), 20);
       EXPECT_TRUE(j.g()->GetAxisContentListY()->getAxisContentItem(project)->GetIsOnScreen());
     }},
    {"TheWheelAndTheBarAsInQtsViews", "grid",
     [](Journey& j) {
       TScrollBar* bar = j.grid->GetVertScrollBar();
       const int top = j.g()->GetTop();
       vxtest::Wheel(j.grid, 200, 200, -120);
       EXPECT_EQ(j.g()->GetTop(), top + 3);
       vxtest::Wheel(j.grid, 200, 200, 120);
       EXPECT_EQ(j.g()->GetTop(), top);
       const int page = bar->GetPageSize();
       vxtest::Wheel(j.grid, 200, 200, -120, Qt::ControlModifier);
       EXPECT_EQ(bar->GetPosition(), top + page);
       // A click in the bar's trough below the thumb turns a page.
       const int before = bar->GetPosition();
       vxtest::MouseClick(bar, bar->GetWidth() / 2, bar->GetHeight() - 30);
       EXPECT_EQ(bar->GetPosition(), before + bar->GetPageSize());
       EXPECT_EQ(j.g()->GetTop_ScrollVal(), bar->GetPosition());
     }},
    {"HiddenColumnsAndTheSavedExpandedStateComeBack", "columngrid",
     [](Journey& j) {
       // Columns: info, task, team, start, done on, hours, checklist, notes.
       // Rows: Design 1 (tasks 2-4), Build 5 (tasks 6, 7 with 8-9, 10).
       QWidget* page = j.window.Page().widget;
       auto* notes = page->findChild<QCheckBox*>(QStringLiteral("show Notes"));
       ASSERT_NE(notes, nullptr);
       TAxisContentItem* notesColumn = j.g()->GetAxisContentListX()->getAxisContentItem(7);
       ASSERT_TRUE(j.CellRect(7, 1) != NoRect());
       QTest::mouseClick(notes, Qt::LeftButton);
       j.grid->Repaint();
       EXPECT_TRUE(notesColumn->GetHide());
       EXPECT_FALSE(notesColumn->GetIsOnScreen());
       QTest::mouseClick(notes, Qt::LeftButton);
       j.grid->Repaint();
       EXPECT_TRUE(notesColumn->GetIsOnScreen());

       TAxisContentList* rows = j.g()->GetAxisContentListY();
       auto shown = [&] {
         std::string r;
         for (int y : {2, 6, 8}) r += rows->getAxisContentItem(y)->GetHide() ? '-' : '+';
         return r;
       };
       auto button = [&](int theRow) {
         const TRect r = j.CellRect(1, theRow);
         vxtest::MouseClick(j.grid, r.Left + 6, (r.Top + r.Bottom) / 2);
       };
       auto press = [page](const char* theCaption) {
         for (auto* b : page->findChildren<QPushButton*>())
           if (b->text() == QString::fromUtf8(theCaption)) QTest::mouseClick(b, Qt::LeftButton);
         vxtest::ProcessEventsUntilIdle();
       };
       ASSERT_EQ(shown(), "++-");
       button(1);  // Design shut
       ASSERT_EQ(shown(), "-+-");
       press("Save expanded");
       button(1);  // Design open, Build shut, Frontend open
       button(7);
       button(5);
       ASSERT_EQ(shown(), "+--");
       press("Restore expanded");
       EXPECT_EQ(shown(), "-+-");
     }},
    {"TypingOverASharedCellReplacesItsTextInAnEditorCoveringIt", "columngrid",
     [](Journey& j) {
       // Backend (6) and Frontend (7) share the team "Platform" (column 2).
       const TRect backend = j.CellRect(2, 6), frontend = j.CellRect(2, 7);
       ASSERT_EQ(j.Text(2, 6), j.Text(2, 7));
       vxtest::MouseClick(j.grid, (backend.Left + backend.Right) / 2, backend.Top + 5);
       j.Type("O");  // on the cell: the editor opens with it
       j.Type("ps");
       ASSERT_TRUE(j.grid->GetEditing());
       const TRect editor = j.grid->GetCurrentEditor()->GetBoundsRect();
       EXPECT_EQ(editor.Top, backend.Top);
       EXPECT_EQ(editor.Bottom, frontend.Bottom + 1);
       j.Key(Qt::Key_Return);
       EXPECT_FALSE(j.grid->GetEditing());
       EXPECT_EQ(j.Text(2, 7), "Ops");
     }},
    {"F2EditsTheSelectedNodeInTheTreesFont", "tree",
     [](Journey& j) {
       ASSERT_NE(j.tree, nullptr);
       QTest::qWait(1050);  // the selection the page starts with is a second old
       TvxDataEntity_Tree* current = j.tree->GetCurrentDataEntity();
       ASSERT_NE(current, nullptr);
       j.tree->SetFocus();
       j.Key(Qt::Key_F2);
       ASSERT_TRUE(j.tree->IsEditing());
       auto* editor = j.tree->findChild<QLineEdit*>();
       ASSERT_NE(editor, nullptr);
       EXPECT_EQ(editor->font().pixelSize(), std::abs(j.tree->GetFont()->GetHeight()));
       EXPECT_EQ(editor->text().toStdString(), current->GetText());
       const int width = editor->width();
       j.Type("Training 2 with a much longer name than before");  // over the selected old one
       EXPECT_GT(editor->width(), width);
       j.Key(Qt::Key_Return);
       EXPECT_FALSE(j.tree->IsEditing());
       EXPECT_EQ(current->GetText(), "Training 2 with a much longer name than before");
     }},
    {"TypingFindsAShownRowOfTheTree", "tree",
     [](Journey& j) {
       // The page opens on Harbour 1's Build phase: Migration 1 .. Kick-off 5, then Test and Rollout.
       j.tree->SetFocus();
       j.Key(Qt::Key_Home);
       j.Type("ro");
       TvxDataEntity_Tree* found = j.tree->GetCurrentDataEntity();
       ASSERT_NE(found, nullptr);
       EXPECT_EQ(found->GetText(), "Rollout");
       EXPECT_TRUE(found->GetSelected());
       // Typed again after a pause: the next row that begins so.
       QTest::qWait(QApplication::keyboardInputInterval() + 50);
       j.Type("r");
       ASSERT_NE(j.tree->GetCurrentDataEntity(), nullptr);
       EXPECT_EQ(j.tree->GetCurrentDataEntity()->GetText().rfind("Rollout", 0), 0u);
       EXPECT_NE(j.tree->GetCurrentDataEntity(), found);
       EXPECT_FALSE(found->GetSelected());
     }},
    {"APopupLongerThanTheScreenScrolls", "tree",
     [](Journey& j) {
       TvxTreePopup* popup = PopupOf(j.tree);
       ASSERT_NE(popup, nullptr);
       popup->InitRootLevel();
       QMenu* menu = popup->GetItems()->SubMenu(true);
       ASSERT_EQ(menu->actions().size(), 4000);
       menu->popup(QPoint(10, 10));
       vxtest::ProcessEventsUntilIdle();
       const QRect screen = menu->screen()->availableGeometry();
       EXPECT_LE(menu->height(), screen.height());
       EXPECT_LE(menu->width(), screen.width() / 2);
       // The last project can be reached: the menu scrolls to it.
       QAction* last = menu->actions().back();
       EXPECT_EQ(last->text(), QStringLiteral("P-4999  Mill 500"));
       menu->setActiveAction(last);
       vxtest::ProcessEventsUntilIdle();
       EXPECT_TRUE(menu->rect().contains(menu->actionGeometry(last)));
       menu->hide();
     }},
    {"TheTreesWheelAsInQtsViews", "tree",
     [](Journey& j) {
       const TScrollInfo before = j.tree->GetScrollInfo(sbVertical);
       vxtest::Wheel(j.tree, 100, 100, -120);
       EXPECT_EQ(j.tree->GetScrollInfo(sbVertical).nPos, before.nPos + 3);
       vxtest::Wheel(j.tree, 100, 100, -60);
       vxtest::Wheel(j.tree, 100, 100, -60);
       EXPECT_EQ(j.tree->GetScrollInfo(sbVertical).nPos, before.nPos + 6);
       vxtest::Wheel(j.tree, 100, 100, -120, Qt::ShiftModifier);
       EXPECT_EQ(j.tree->GetScrollInfo(sbVertical).nPos, before.nPos + 6 + before.nPage);
     }},
};

class GalleryJourney : public testing::TestWithParam<Case> {};

TEST_P(GalleryJourney, AsTheUserSeesIt) {
  Journey j(GetParam().page);
  ASSERT_TRUE(std::string(GetParam().page) != "tree" ? j.grid != nullptr : j.tree != nullptr);
  GetParam().walk(j);
}

INSTANTIATE_TEST_SUITE_P(GridAndTree, GalleryJourney, testing::ValuesIn(kJourneys),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });
