#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QThread>
#include <QToolTip>

#include "UiTestSupport.h"
#include <vxplan/platform/ui/TreeView.h>
#include <vxplan/platform/ui/DeviceContext.h>

using namespace vx;

namespace {

class View : public TCustomTreeView {
public:
  using TCustomTreeView::TCustomTreeView;
  int deletes = 0;
  using TCustomTreeView::Paint;

protected:
  void Delete(TTreeNode*) override { ++deletes; }
};

std::vector<std::string> Texts(TTreeNodes* nodes) {
  std::vector<std::string> out;
  for (TTreeNode* n = nodes->GetFirstNode(); n; n = n->GetNext()) out.push_back(n->GetText());
  return out;
}

void Click(TControl& c, int x, int y, WPARAM keys = 0) {
  c.Perform(WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
  c.Perform(WM_LBUTTONUP, keys, MAKELPARAM(x, y));
}

// Center of a node's text.
TPoint TextPoint(TTreeNode* n) {
  const TRect r = n->DisplayRect(true);
  return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

}  // namespace

TEST(TreeView, NodesKeepTheirOrderThroughInsertMoveSortAndBatchDelete) {
  View v(nullptr);
  TTreeNodes* nodes = v.GetItems();
  TTreeNode* a = nodes->AddChild(nullptr, "a");
  TTreeNode* c = nodes->AddChild(nullptr, "c");
  TTreeNode* b = nodes->Insert(c, "b");
  TTreeNode* a2 = nodes->AddChild(a, "a2");
  nodes->AddChildFirst(a, "a1");
  nodes->Add(a2, "a3");
  EXPECT_EQ(Texts(nodes), (std::vector<std::string>{"a", "a1", "a2", "a3", "b", "c"}));
  EXPECT_EQ(b->GetAbsoluteIndex(), 4);
  EXPECT_EQ(a2->GetLevel(), 1);
  EXPECT_EQ(nodes->GetItem(2), a2);

  // A node cannot go under itself; elsewhere it takes its children along.
  a->MoveTo(a2, naAddChild);
  EXPECT_EQ(a->GetParent(), nullptr);
  a->MoveTo(c, naAddChild);
  EXPECT_EQ(Texts(nodes), (std::vector<std::string>{"b", "c", "a", "a1", "a2", "a3"}));
  EXPECT_EQ(a2->GetLevel(), 2);

  // Sorting is stable.
  nodes->SortChildren(a, [](TTreeNode* x, TTreeNode* y) { return x->GetText() == "a3" && y->GetText() != "a3"; });
  EXPECT_EQ(Texts(nodes), (std::vector<std::string>{"b", "c", "a", "a3", "a1", "a2"}));

  // Many siblings, a parent together with its children, and the selection, at once.
  std::vector<TTreeNode*> doomed;
  for (int i = 0; i < 500; ++i) {
    TTreeNode* n = nodes->AddChild(b, "x" + std::to_string(i));
    if (i % 2 == 0) doomed.push_back(n);
  }
  v.SetSelected(doomed[3]);
  doomed.push_back(a);
  doomed.push_back(a2);  // already going with a
  v.deletes = 0;
  nodes->DeleteNodes(doomed);
  EXPECT_EQ(v.deletes, 250 + 4);
  EXPECT_EQ(nodes->Count(), 2 + 250);
  EXPECT_EQ(v.GetSelected(), nullptr);
  EXPECT_EQ(b->GetItem(0)->GetText(), "x1");
  EXPECT_EQ(b->GetItem(249)->GetText(), "x499");
  EXPECT_EQ(c->Count(), 0);

  nodes->Clear();
  EXPECT_EQ(nodes->GetFirstNode(), nullptr);
}

TEST(TreeView, RowsFollowExpansionAndScrolling) {
  View v(nullptr);
  v.SetBounds(0, 0, 200, 200);
  TTreeNodes* nodes = v.GetItems();
  std::vector<TTreeNode*> roots;
  for (int i = 0; i < 100; ++i) roots.push_back(nodes->AddChild(nullptr, "root " + std::to_string(i)));
  for (int i = 0; i < 5; ++i) nodes->AddChild(roots[1], "child " + std::to_string(i));

  EXPECT_EQ(v.VisibleRowCount(), 100);
  bool allow = false;
  v.OnExpanding = [&](TObject*, TTreeNode*, bool& a) { a = allow; };
  roots[1]->SetExpanded(true);
  EXPECT_FALSE(roots[1]->GetExpanded());  // vetoed
  allow = true;
  roots[1]->SetExpanded(true);
  EXPECT_EQ(v.VisibleRowCount(), 105);
  EXPECT_EQ(v.GetVisibleRow(2)->GetText(), "child 0");
  EXPECT_EQ(v.RowOf(roots[2]), 7);

  const int h = v.GetItemHeight();
  const TScrollInfo info = v.GetScrollInfo(sbVertical);
  EXPECT_EQ(info.nMax, 104);
  EXPECT_GT(info.nPage, 0);
  EXPECT_TRUE(v.GetScrollBarVisible(sbVertical));
  v.SetScrollPos(sbVertical, 1000);  // clamped to the last full page
  EXPECT_EQ(v.GetScrollInfo(sbVertical).nPos, 105 - info.nPage);
  v.SetScrollPos(sbVertical, 10);
  EXPECT_EQ(v.GetTopItem(), v.GetVisibleRow(10));
  EXPECT_EQ(v.GetNodeAt(5, h / 2), v.GetVisibleRow(10));
  EXPECT_EQ(v.GetNodeAt(5, h + h / 2), v.GetVisibleRow(11));
  EXPECT_TRUE(roots[0]->DisplayRect(false).IsEmpty());  // scrolled out above
  EXPECT_EQ(roots[0]->GetNextVisible(), roots[1]);
  EXPECT_EQ(roots[2]->GetPrevVisible()->GetText(), "child 4");

  // Selecting brings a node into view; collapsing over the selection moves it up.
  v.SetSelected(roots[99]);
  EXPECT_FALSE(roots[99]->DisplayRect(false).IsEmpty());
  v.SetSelected(roots[1]->GetItem(3));
  EXPECT_FALSE(roots[1]->GetItem(3)->DisplayRect(false).IsEmpty());
  roots[1]->SetExpanded(false);
  EXPECT_EQ(v.GetSelected(), roots[1]);
  EXPECT_EQ(v.VisibleRowCount(), 100);
  // Selecting a hidden node expands its parents.
  v.SetSelected(roots[1]->GetItem(4));
  EXPECT_TRUE(roots[1]->GetExpanded());

  // Wheel: three rows a notch.
  v.SetScrollPos(sbVertical, 20);
  v.Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<std::uint16_t>(-120)) << 16, MAKELPARAM(5, 5));
  EXPECT_EQ(v.GetScrollInfo(sbVertical).nPos, 23);
}

TEST(TreeView, MouseAndKeysSelectExpandAndEdit) {
  View v(nullptr);
  v.SetBounds(0, 0, 240, 300);
  v.show();
  TTreeNodes* nodes = v.GetItems();
  TTreeNode* a = nodes->AddChild(nullptr, "alpha");
  TTreeNode* a1 = nodes->AddChild(a, "alpha one");
  TTreeNode* b = nodes->AddChild(nullptr, "beta");
  std::vector<std::string> edited;
  v.OnEdited = [&](TObject*, TTreeNode*, std::string& s) {
    edited.push_back(s);
    s += "!";
  };
  int changes = 0;
  v.OnChange = [&](TObject*, TTreeNode*) { ++changes; };

  // The button (first indent slot) toggles; the text selects.
  const int h = v.GetItemHeight();
  Click(v, v.GetIndent() / 2, h / 2);
  EXPECT_TRUE(a->GetExpanded());
  EXPECT_EQ(v.GetSelected(), nullptr);
  const TPoint pb = TextPoint(b);
  Click(v, pb.X, pb.Y);
  EXPECT_EQ(v.GetSelected(), b);
  EXPECT_EQ(changes, 1);

  // Keys walk the shown rows; Left goes to the parent, then collapses it.
  const struct {
    unsigned short key;
    TTreeNode* selected;
    bool expanded;  // a's
  } kKeys[] = {
      {VK_UP, a1, true}, {VK_LEFT, a, true}, {VK_LEFT, a, false}, {VK_RIGHT, a, true}, {VK_END, b, true},
  };
  for (const auto& k : kKeys) {
    v.Perform(WM_KEYDOWN, k.key);
    EXPECT_EQ(v.GetSelected(), k.selected) << k.key;
    EXPECT_EQ(a->GetExpanded(), k.expanded) << k.key;
  }

  // F2 edits in place; Enter keeps, Escape drops.
  v.Perform(WM_KEYDOWN, VK_F2);
  ASSERT_TRUE(v.IsEditing());
  int typed = 0;
  v.OnEditTextChanged = [&](TObject*) { ++typed; };
  v.SetEditText("gamma");
  EXPECT_EQ(typed, 1);
  EXPECT_EQ(v.GetEditText(), "gamma");
  auto* editor = v.findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(editor, &enter);
  EXPECT_FALSE(v.IsEditing());
  EXPECT_EQ(edited, std::vector<std::string>{"gamma"});
  EXPECT_EQ(b->GetText(), "gamma!");  // the handler may change the text

  ASSERT_TRUE(v.StartEdit(a));
  v.SetEditText("lost");
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(editor, &escape);
  EXPECT_EQ(a->GetText(), "alpha");
  EXPECT_EQ(edited.size(), 1u);

  // A node deleted while edited ends the editing quietly.
  ASSERT_TRUE(v.StartEdit(a1));
  nodes->Delete(a1);
  EXPECT_FALSE(v.IsEditing());
  EXPECT_FALSE(editor->isVisible());

  v.SetReadOnly(true);
  EXPECT_FALSE(v.StartEdit(a));
  v.SetReadOnly(false);

  // A second click on the selected node's text edits it once the double-click
  // time has passed; a double click does not.
  v.SetSelected(b);
  const TPoint pt = TextPoint(b);
  Click(v, pt.X, pt.Y);
  EXPECT_FALSE(v.IsEditing());
  QElapsedTimer t;
  t.start();
  while (!v.IsEditing() && t.elapsed() < 3000) {
    QCoreApplication::processEvents();
    QThread::msleep(5);
  }
  EXPECT_TRUE(v.IsEditing());
  v.EndEdit(true);

  Click(v, pt.X, pt.Y);
  v.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.X, pt.Y));
  t.restart();
  while (t.elapsed() < QApplication::doubleClickInterval() + 100) {
    QCoreApplication::processEvents();
    QThread::msleep(5);
  }
  EXPECT_FALSE(v.IsEditing());
}

// Typed characters find a shown row by the start of its text: from the row
// after the selected one for a new search or a repeated character, from the
// selected one as the text grows; a pause begins a new search.
TEST(TreeView, TypedCharactersSearchTheShownRows) {
  View v(nullptr);
  v.SetBounds(0, 0, 240, 300);
  v.show();
  TTreeNodes* nodes = v.GetItems();
  for (const char* t : {"Planning", "Rollout", "roof", "Review", "Ärende"}) nodes->AddChild(nullptr, t);
  nodes->AddChild(nodes->GetRoot(0), "Rebar");  // under a collapsed node: not shown
  std::vector<std::string> changes;
  v.OnChange = [&](TObject*, TTreeNode* n) { changes.push_back(n ? n->GetText() : "-"); };
  const struct {
    const char* typed;
    bool pauseFirst;
    const char* selected;  // "" when none
  } kCases[] = {
      {"r", false, "Rollout"}, {"r", false, "roof"},    {"r", false, "Review"},  {"r", false, "Rollout"},
      {"re", true, "Review"},  {"x", false, "Review"},   {"p", true, "Planning"}, {"ä", true, "Ärende"},
      {"ROO", true, "roof"},   {" ", true, "roof"},
  };
  for (const auto& c : kCases) {
    if (c.pauseFirst) QThread::msleep(static_cast<unsigned long>(QApplication::keyboardInputInterval()) + 50);
    for (char32_t ch : QString::fromUtf8(c.typed).toStdU32String()) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUcs4(&ch, 1));
      QCoreApplication::sendEvent(&v, &press);
    }
    ASSERT_NE(v.GetSelected(), nullptr) << c.typed;
    EXPECT_EQ(v.GetSelected()->GetText(), c.selected) << c.typed;
  }
  // Each row reached was told once.
  EXPECT_EQ(changes, (std::vector<std::string>{"Rollout", "roof", "Review", "Rollout", "roof", "Review", "Planning",
                                               "Ärende", "Rollout", "roof"}));
  // A change handler may delete the node found, or every node.
  v.OnChange = [&](TObject*, TTreeNode* n) {
    if (n && n->GetText() == "Review") nodes->Delete(n);
  };
  QThread::msleep(static_cast<unsigned long>(QApplication::keyboardInputInterval()) + 50);
  for (const char* t : {"r", "e", "v"}) {
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(t));
    QCoreApplication::sendEvent(&v, &typed);
  }
  EXPECT_EQ(Texts(nodes), (std::vector<std::string>{"Planning", "Rebar", "Rollout", "roof", "Ärende"}));
  v.OnChange = [&](TObject*, TTreeNode*) { nodes->Clear(); };
  QThread::msleep(static_cast<unsigned long>(QApplication::keyboardInputInterval()) + 50);
  QKeyEvent r(QEvent::KeyPress, Qt::Key_R, Qt::NoModifier, QStringLiteral("r"));
  QCoreApplication::sendEvent(&v, &r);
  QCoreApplication::sendEvent(&v, &r);
  EXPECT_EQ(nodes->Count(), 0);
  EXPECT_EQ(v.GetSelected(), nullptr);
  v.OnChange = nullptr;
  v.SetSelected(nodes->AddChild(nullptr, "roof"));
  // While a node is edited, characters are the editor's.
  ASSERT_TRUE(v.StartEdit(v.GetSelected()));
  QKeyEvent press(QEvent::KeyPress, Qt::Key_P, Qt::NoModifier, QStringLiteral("p"));
  QCoreApplication::sendEvent(&v, &press);
  EXPECT_EQ(v.GetSelected()->GetText(), "roof");
  v.EndEdit(true);
}

TEST(TreeView, PaintsTextSelectionAndButtons) {
  View v(nullptr);
  v.SetBounds(0, 0, 200, 120);
  v.SetHideSelection(false);
  TTreeNodes* nodes = v.GetItems();
  TTreeNode* a = nodes->AddChild(nullptr, "Alpha");
  nodes->AddChild(a, "Inner");
  TTreeNode* b = nodes->AddChild(nullptr, "Beta");
  v.SetSelected(b);

  auto dc = TDeviceContext::CreateImage(200, 120);
  TCanvas* c = v.GetCanvas();
  c->SetHandle(dc.get());
  v.Paint();
  const int h = v.GetItemHeight();
  // Selected (unfocused) text sits on button face, in the second row.
  const TRect sel = vxtest::MatchingPixels(c, 200, 120, [](TColor p) { return p == ColorToRGB(clBtnFace); });
  ASSERT_NE(sel.Left, -1);
  EXPECT_GE(sel.Top, h);
  EXPECT_LE(sel.Bottom, 2 * h + 1);
  EXPECT_GE(sel.Left, v.GetIndent());
  // The collapsed node's button has a black plus in the first slot.
  const TRect plus = vxtest::MatchingPixels(c, v.GetIndent(), h, [](TColor p) { return p == clBlack; });
  ASSERT_NE(plus.Left, -1);
  EXPECT_GE(plus.Bottom - plus.Top, 4);  // the vertical stroke
  // Text ink in the first row.
  const TRect ink = vxtest::MatchingPixels(c, 200, h, [](TColor p) {
    return p != ColorToRGB(clWindow) && p != clBlack && p != ColorToRGB(clGray);
  });
  EXPECT_NE(ink.Left, -1);

  // Expanded: the plus loses its vertical stroke.
  a->SetExpanded(true);
  v.Paint();
  const TRect minus = vxtest::MatchingPixels(c, v.GetIndent(), h, [](TColor p) { return p == clBlack; });
  ASSERT_NE(minus.Left, -1);
  EXPECT_LE(minus.Bottom - minus.Top, 2);
  c->SetHandle(nullptr);
}

// Under the pointer: the hot node is drawn hot and forgotten when the
// pointer leaves or the node goes; a cut text shows whole in a tip, a text
// shown whole none. The frame takes a pixel on each side.
TEST(TreeView, HotNodeTextTipsAndFrame) {
  View v(nullptr);
  v.SetBounds(0, 0, 120, 100);
  TTreeNodes* nodes = v.GetItems();
  TTreeNode* shortNode = nodes->AddChild(nullptr, "Pour");
  TTreeNode* longNode = nodes->AddChild(nullptr, "Excavation of the north wing, second stage");
  std::vector<std::pair<TTreeNode*, bool>> drawn;  // node, drawn hot
  v.OnCustomDrawItem = [&](TCustomTreeView*, TTreeNode* n, TCustomDrawState s, bool&) {
    drawn.emplace_back(n, s.Contains(cdsHot));
  };
  vxtest::ShowWindow(&v);
  auto hotDrawn = [&] {
    drawn.clear();
    v.Repaint();
    vxtest::ProcessEventsUntilIdle();
    std::vector<TTreeNode*> hot;
    for (auto& [n, h] : drawn)
      if (h) hot.push_back(n);
    return hot;
  };
  const TPoint atShort = TextPoint(shortNode), atLong = Point(30, TextPoint(longNode).Y);
  vxtest::MouseMove(&v, atShort.X, atShort.Y);
  EXPECT_EQ(v.GetHotNode(), nullptr);  // off by default
  v.SetHotTrack(true);
  vxtest::MouseMove(&v, atLong.X, atLong.Y);
  EXPECT_EQ(v.GetHotNode(), longNode);
  EXPECT_EQ(hotDrawn(), std::vector<TTreeNode*>{longNode});
  vxtest::MouseMove(&v, atShort.X, atShort.Y);
  EXPECT_EQ(hotDrawn(), std::vector<TTreeNode*>{shortNode});
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&v, &leave);
  EXPECT_EQ(v.GetHotNode(), nullptr);
  vxtest::MouseMove(&v, atShort.X, atShort.Y);
  nodes->Delete(shortNode);
  EXPECT_EQ(v.GetHotNode(), nullptr);

  auto tipAt = [&v](TPoint p) {
    QToolTip::hideText();  // a tip shown before goes first
    for (int k = 0; k < 100 && QToolTip::isVisible(); ++k) {
      vxtest::ProcessEventsUntilIdle();
      QThread::msleep(10);
    }
    QHelpEvent help(QEvent::ToolTip, QPoint(p.X, p.Y), v.mapToGlobal(QPoint(p.X, p.Y)));
    QCoreApplication::sendEvent(&v, &help);
    return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
  };
  const TPoint longAt = Point(30, TextPoint(longNode).Y);  // the rows moved up
  EXPECT_EQ(tipAt(longAt), "");                             // off by default
  v.SetToolTips(true);
  EXPECT_EQ(tipAt(longAt), longNode->GetText());
  TTreeNode* fits = nodes->AddChild(nullptr, "Roof");
  EXPECT_EQ(tipAt(TextPoint(fits)), "");
  QToolTip::hideText();

  const TRect before = longNode->DisplayRect(false);
  v.SetBorderStyle(bsSingle);
  const TRect after = longNode->DisplayRect(false);
  EXPECT_EQ(std::make_pair(after.Left, after.Top), std::make_pair(before.Left + 1, before.Top + 1));
  EXPECT_EQ(after.Right, before.Right - 1);
}
