#include <vxplan/platform/ui/TreeView.h>

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/FlagScope.h>
#include <vxplan/platform/ui/ControlsInternal.h>
#include <vxplan/platform/ui/ExpandBox.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

namespace {

// Keeps the in-place editor's keys: Enter ends editing with the text, Escape
// drops it; losing the focus ends it too.
class EditorFilter : public QObject {
public:
  EditorFilter(TCustomTreeView* theView, QObject* theParent) : QObject(theParent), fView(theView) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(e)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        GuardedCall([&] { fView->EndEdit(key == Qt::Key_Escape); });
        return true;
      }
    } else if (e->type() == QEvent::FocusOut) {
      GuardedCall([&] { fView->EndEdit(false); });
    }
    return false;
  }

private:
  TCustomTreeView* fView;
};

}  // namespace

// --- TTreeNode -----------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* theOwner) : fOwner(theOwner) {}

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::GetTreeView() const noexcept { return fOwner ? fOwner->GetOwner() : nullptr; }

TTreeNode* TTreeNode::GetItem(int i) const {
  if (i < 0 || i >= Count()) throw EListError(i);
  return fChildren[static_cast<size_t>(i)];
}

int TTreeNode::GetIndex() const {
  const std::vector<TTreeNode*>& siblings = fParent ? fParent->fChildren : fOwner->fRoots;
  auto it = std::find(siblings.begin(), siblings.end(), this);
  return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

int TTreeNode::GetLevel() const noexcept {
  int level = 0;
  for (TTreeNode* p = fParent; p; p = p->fParent) ++level;
  return level;
}

int TTreeNode::GetAbsoluteIndex() const {
  int index = 0;
  for (TTreeNode* n = fOwner->GetFirstNode(); n; n = n->GetNext()) {
    if (n == this) return index;
    ++index;
  }
  return -1;
}

TTreeNode* TTreeNode::GetNextSibling() const {
  const std::vector<TTreeNode*>& siblings = fParent ? fParent->fChildren : fOwner->fRoots;
  const int i = GetIndex();
  return i >= 0 && i + 1 < static_cast<int>(siblings.size()) ? siblings[static_cast<size_t>(i) + 1] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  const std::vector<TTreeNode*>& siblings = fParent ? fParent->fChildren : fOwner->fRoots;
  const int i = GetIndex();
  return i > 0 ? siblings[static_cast<size_t>(i) - 1] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!fChildren.empty()) return fChildren.front();
  for (const TTreeNode* n = this; n; n = n->fParent)
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

bool TTreeNode::IsVisible() const noexcept {
  for (TTreeNode* p = fParent; p; p = p->fParent)
    if (!p->fExpanded) return false;
  return true;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  TCustomTreeView* view = GetTreeView();
  const int row = view->RowOf(const_cast<TTreeNode*>(this));
  return row < 0 ? nullptr : view->GetVisibleRow(row + 1);
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  TCustomTreeView* view = GetTreeView();
  const int row = view->RowOf(const_cast<TTreeNode*>(this));
  return row <= 0 ? nullptr : view->GetVisibleRow(row - 1);
}

void TTreeNode::SetText(const std::string& theText) {
  if (theText == fText) return;
  fText = theText;
  if (TCustomTreeView* v = GetTreeView()) v->Invalidate();
}

void TTreeNode::SetImageIndex(int theIndex) {
  if (theIndex == fImageIndex) return;
  fImageIndex = theIndex;
  if (TCustomTreeView* v = GetTreeView()) v->Invalidate();
}

void TTreeNode::SetSelectedIndex(int theIndex) {
  if (theIndex == fSelectedIndex) return;
  fSelectedIndex = theIndex;
  if (TCustomTreeView* v = GetTreeView()) v->Invalidate();
}

void TTreeNode::SetExpanded(bool theExpanded) {
  if (theExpanded == fExpanded) return;
  GetTreeView()->ChangeExpanded(this, theExpanded);
}

void TTreeNode::Expand(bool theRecurse) {
  SetExpanded(true);
  if (theRecurse)
    for (size_t k = 0; k < fChildren.size(); ++k) fChildren[k]->Expand(true);
}

void TTreeNode::Collapse(bool theRecurse) {
  if (theRecurse)
    for (TTreeNode* c : fChildren) c->Collapse(true);
  SetExpanded(false);
}

bool TTreeNode::GetSelected() const { return GetTreeView() && GetTreeView()->GetSelected() == this; }

TRect TTreeNode::DisplayRect(bool theTextOnly) const {
  TCustomTreeView* view = GetTreeView();
  const int row = view->RowOf(const_cast<TTreeNode*>(this));
  const TRect area = view->ItemArea();
  const TScrollInfo v = view->GetScrollInfo(sbVertical);
  if (row < 0 || row < v.nPos) return TRect{};
  const int h = view->GetItemHeight();
  const int top = area.Top + (row - v.nPos) * h;
  if (top >= area.Bottom) return TRect{};
  if (!theTextOnly) return Rect(area.Left, top, area.Right, top + h);
  const int left = view->TextLeftOf(const_cast<TTreeNode*>(this));
  return Rect(left, top, left + view->GetCanvas()->TextWidth(fText) + 4, top + h);
}

void TTreeNode::MoveTo(TTreeNode* theDestination, TNodeAttachMode theMode) {
  if (theDestination == this) return;
  for (TTreeNode* p = theDestination; p; p = p->fParent)
    if (p == this) return;  // not under itself
  TTreeNodes* nodes = fOwner;
  nodes->Detach(this);
  switch (theMode) {
    case naAddChild: nodes->Attach(this, theDestination, -1); break;
    case naAddChildFirst: nodes->Attach(this, theDestination, 0); break;
    case naAddFirst: nodes->Attach(this, theDestination ? theDestination->fParent : nullptr, 0); break;
    case naInsert:
      nodes->Attach(this, theDestination ? theDestination->fParent : nullptr,
                    theDestination ? theDestination->GetIndex() : -1);
      break;
    default: nodes->Attach(this, theDestination ? theDestination->fParent : nullptr, -1); break;
  }
  --nodes->fCount;  // Attach counted it again
}

void TTreeNode::Delete() { fOwner->Delete(this); }

void TTreeNode::EditText() { GetTreeView()->StartEdit(this); }

// --- TTreeNodes ------------------------------------------------------------------------

TTreeNodes::~TTreeNodes() { Clear(); }

TTreeNode* TTreeNodes::Attach(TTreeNode* theNode, TTreeNode* theParent, int theIndex) {
  std::vector<TTreeNode*>& siblings = SiblingsOf(theParent);
  if (theIndex < 0 || theIndex > static_cast<int>(siblings.size()))
    siblings.push_back(theNode);
  else
    siblings.insert(siblings.begin() + theIndex, theNode);
  theNode->fParent = theParent;
  ++fCount;
  fOwner->RowsChanged();
  return theNode;
}

void TTreeNodes::Detach(TTreeNode* theNode) {
  std::vector<TTreeNode*>& siblings = SiblingsOf(theNode->fParent);
  // Most removals take the last sibling (clearing, rebuilding): look from the back.
  auto it = std::find(siblings.rbegin(), siblings.rend(), theNode);
  if (it != siblings.rend()) siblings.erase(std::next(it).base());
  theNode->fParent = nullptr;
  fOwner->RowsChanged();
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* theParent, const std::string& theText) {
  TTreeNode* n = fOwner->CreateNode();
  n->fText = theText;
  return Attach(n, theParent, -1);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* theParent, const std::string& theText) {
  TTreeNode* n = fOwner->CreateNode();
  n->fText = theText;
  return Attach(n, theParent, 0);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* theParent, const std::string& theText, void* theData) {
  TTreeNode* n = AddChild(theParent, theText);
  n->fData = theData;
  return n;
}

TTreeNode* TTreeNodes::Add(TTreeNode* theSibling, const std::string& theText) {
  return AddChild(theSibling ? theSibling->fParent : nullptr, theText);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* theSibling, const std::string& theText) {
  TTreeNode* n = fOwner->CreateNode();
  n->fText = theText;
  if (!theSibling) return Attach(n, nullptr, -1);
  return Attach(n, theSibling->fParent, theSibling->GetIndex());
}

void TTreeNodes::DestroyNode(TTreeNode* theNode) {
  if (theNode->fDeleting) return;
  theNode->fDeleting = true;
  fOwner->Delete(theNode);
  while (!theNode->fChildren.empty()) DestroyNode(theNode->fChildren.back());
  Detach(theNode);
  fOwner->NodeRemoved(theNode);
  --fCount;
  delete theNode;
}

void TTreeNodes::Delete(TTreeNode* theNode) {
  if (theNode && theNode->fOwner == this) DestroyNode(theNode);
}

void TTreeNodes::Condemn(TTreeNode* theNode, std::vector<TTreeNode*>& theDoomed) {
  if (theNode->fDeleting) return;
  theNode->fDeleting = true;
  fOwner->Delete(theNode);
  for (TTreeNode* c : theNode->fChildren) Condemn(c, theDoomed);
  fOwner->NodeRemoved(theNode);
  theDoomed.push_back(theNode);
}

void TTreeNodes::DeleteNodes(const std::vector<TTreeNode*>& theNodes) {
  BeginUpdate();
  std::vector<TTreeNode*> doomed;
  for (TTreeNode* n : theNodes)
    if (n && n->fOwner == this) Condemn(n, doomed);
  // Take them out of their sibling lists, one pass per list.
  auto unlink = [](std::vector<TTreeNode*>& v) {
    v.erase(std::remove_if(v.begin(), v.end(), [](TTreeNode* n) { return n->fDeleting; }), v.end());
  };
  unlink(fRoots);
  for (TTreeNode* n : doomed)
    if (n->fParent && !n->fParent->fDeleting) unlink(n->fParent->fChildren);
  // Children first: each destructor sees its subtree gone.
  for (TTreeNode* n : doomed) {
    n->fChildren.clear();
    --fCount;
    delete n;
  }
  fOwner->RowsChanged();
  EndUpdate();
}

void TTreeNodes::SortChildren(TTreeNode* theParent, const std::function<bool(TTreeNode*, TTreeNode*)>& theLess) {
  std::vector<TTreeNode*>& v = SiblingsOf(theParent);
  std::stable_sort(v.begin(), v.end(), theLess);
  fOwner->RowsChanged();
}

bool TTreeNodes::SortChildrenByKey(TTreeNode* theParent, const std::function<long long(TTreeNode*)>& theKey) {
  std::vector<TTreeNode*>& v = SiblingsOf(theParent);
  std::vector<std::pair<long long, TTreeNode*>> keyed;
  keyed.reserve(v.size());
  for (TTreeNode* n : v) keyed.emplace_back(theKey(n), n);
  auto byKey = [](const auto& a, const auto& b) { return a.first < b.first; };
  if (std::is_sorted(keyed.begin(), keyed.end(), byKey)) return false;
  std::stable_sort(keyed.begin(), keyed.end(), byKey);
  for (size_t k = 0; k < v.size(); ++k) v[k] = keyed[k].second;
  fOwner->RowsChanged();
  return true;
}

void TTreeNodes::Clear() {
  BeginUpdate();
  while (!fRoots.empty()) DestroyNode(fRoots.back());
  EndUpdate();
}

TTreeNode* TTreeNodes::GetRoot(int i) const {
  if (i < 0 || i >= RootCount()) throw EListError(i);
  return fRoots[static_cast<size_t>(i)];
}

TTreeNode* TTreeNodes::GetItem(int theAbsoluteIndex) const {
  int index = 0;
  for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext())
    if (index++ == theAbsoluteIndex) return n;
  throw EListError(theAbsoluteIndex);
}

void TTreeNodes::BeginUpdate() { ++fUpdateCount; }

void TTreeNodes::EndUpdate() {
  if (fUpdateCount > 0 && --fUpdateCount == 0) {
    fOwner->RowsChanged();
    fOwner->Invalidate();
  }
}

// --- TCustomTreeView --------------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TWinControl(AOwner), fItems(new TTreeNodes(this)) {
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 121, 97);
  fVertBar = new TScrollBar(this, sbVertical);
  fVertBar->SetParent(this);
  fVertBar->SetAlign(alRight);
  fVertBar->SetChangeListener([this](TObject*) {
    if (!fSyncingBars) SetScrollPos(sbVertical, fVertBar->GetPosition());
  });
  fHorzBar = new TScrollBar(this, sbHorizontal);
  fHorzBar->SetParent(this);
  fHorzBar->SetAlign(alBottom);
  fHorzBar->SetChangeListener([this](TObject*) {
    if (!fSyncingBars) SetScrollPos(sbHorizontal, fHorzBar->GetPosition());
  });
  fVertBar->SetVisible(false);
  fHorzBar->SetVisible(false);
  // A click on the selected node edits it, unless a double click follows.
  fEditTimer = new QTimer(this);
  fEditTimer->setSingleShot(true);
  QObject::connect(fEditTimer, &QTimer::timeout, [this] {
    TTreeNode* node = fPendingEdit;
    fPendingEdit = nullptr;
    if (node && node == fSelected) GuardedCall([&] { StartEdit(node); });
  });
}

TCustomTreeView::~TCustomTreeView() {
  Destroying();
  fEditNode = nullptr;  // the editor losing focus as it goes ends nothing
  fPendingEdit = nullptr;
  delete fEditor;  // and its filter with it
  fEditor = nullptr;
  fItems->Clear();
}

TTreeNode* TCustomTreeView::CreateNode() { return new TTreeNode(fItems.get()); }

void TCustomTreeView::RowsChanged() {
  fRowsValid = false;
  if (!IsDestroying() && !fItems->Updating()) Invalidate();
}

void TCustomTreeView::EnsureRows() {
  if (fRowsValid) return;
  fRows.clear();
  // Depth first over the expanded nodes, without recursion.
  std::vector<std::pair<const std::vector<TTreeNode*>*, size_t>> stack;
  stack.push_back({&fItems->fRoots, 0});
  while (!stack.empty()) {
    auto& [list, next] = stack.back();
    if (next >= list->size()) {
      stack.pop_back();
      continue;
    }
    TTreeNode* n = (*list)[next++];
    n->fRow = static_cast<int>(fRows.size());
    fRows.push_back(n);
    if (n->fExpanded && !n->fChildren.empty()) stack.push_back({&n->fChildren, 0});
  }
  fRowsValid = true;
  ClampScroll();
}

int TCustomTreeView::VisibleRowCount() {
  EnsureRows();
  return static_cast<int>(fRows.size());
}

TTreeNode* TCustomTreeView::GetVisibleRow(int theRow) {
  EnsureRows();
  return theRow >= 0 && theRow < static_cast<int>(fRows.size()) ? fRows[static_cast<size_t>(theRow)] : nullptr;
}

int TCustomTreeView::RowOf(TTreeNode* theNode) {
  if (!theNode) return -1;
  EnsureRows();
  const int row = theNode->fRow;
  return row >= 0 && row < static_cast<int>(fRows.size()) && fRows[static_cast<size_t>(row)] == theNode ? row : -1;
}

void TCustomTreeView::SetItemHeight(int theHeight) {
  fItemHeight = std::clamp(theHeight, 0, kMaxItemHeight);
  fItemHeightFixed = fItemHeight > 0;
  RowsChanged();
  Invalidate();
}

int TCustomTreeView::GetItemHeight() {
  if (fItemHeight <= 0) {
    GetCanvas()->SetFont(*GetFont());
    fItemHeight = std::max(16, GetCanvas()->TextHeight("Xg") + 4);
  }
  return fItemHeight;
}

void TCustomTreeView::SetIndent(int theIndent) {
  fIndent = std::clamp(theIndent, 1, kMaxIndent);
  Invalidate();
}

TRect TCustomTreeView::ItemArea() {
  TRect r = GetClientRect();
  AdjustClientRect(r);
  if (!fVertBar) return r;  // still being made
  if (fVertBar->GetVisible()) r.Right -= fVertBar->GetWidth();
  if (fHorzBar->GetVisible()) r.Bottom -= fHorzBar->GetHeight();
  return r;
}

void TCustomTreeView::AdjustClientRect(TRect& Rect) {
  TWinControl::AdjustClientRect(Rect);
  if (fBorderStyle == bsSingle) Rect = InflateRect(Rect, -1, -1);  // the bars too sit inside the frame
}

int TCustomTreeView::TextLeftOf(TTreeNode* theNode) const {
  const int indentSlots = theNode->GetLevel() + (fShowRoot ? 1 : 0);
  int left = -fScrollX + indentSlots * fIndent + 2;
  if (fImages) left += fImages->GetWidth() + 2;
  return left;
}

TScrollInfo TCustomTreeView::GetScrollInfo(TScrollBarKind theKind) {
  EnsureRows();
  TScrollInfo info;
  const TRect area = ItemArea();
  if (theKind == sbVertical) {
    info.nMax = std::max(static_cast<int>(fRows.size()) - 1, 0);
    info.nPage = std::max(area.Height() / GetItemHeight(), 0);
    info.nPos = fTopRow;
  } else {
    int widest = 0;
    const int h = GetItemHeight();
    for (int r = fTopRow; r < static_cast<int>(fRows.size()) && (r - fTopRow) * h < area.Height(); ++r) {
      TTreeNode* n = fRows[static_cast<size_t>(r)];
      widest = std::max(widest, TextLeftOf(n) + fScrollX + GetCanvas()->TextWidth(n->fText) + 6);
    }
    info.nMax = std::max(widest - 1, 0);
    info.nPage = std::max(area.Width(), 0);
    info.nPos = fScrollX;
  }
  return info;
}

void TCustomTreeView::ClampScroll() {
  const int rows = static_cast<int>(fRows.size());
  const int page = std::max(ItemArea().Height() / GetItemHeight(), 1);
  fTopRow = std::clamp(fTopRow, 0, std::max(rows - page, 0));
  fScrollX = std::max(fScrollX, 0);
}

void TCustomTreeView::SetScrollPos(TScrollBarKind theKind, int thePos) {
  EnsureRows();
  const int before = theKind == sbVertical ? fTopRow : fScrollX;
  if (theKind == sbVertical)
    fTopRow = thePos;
  else
    fScrollX = thePos;
  ClampScroll();
  if ((theKind == sbVertical ? fTopRow : fScrollX) == before) return;
  UpdateScrollBars();
  Invalidate();
  Scrolled();
}

void TCustomTreeView::Scrolled() {
  if (OnScrolled) OnScrolled(this);
}

void TCustomTreeView::EditTextChanged() {
  if (OnEditTextChanged) OnEditTextChanged(this);
}

void TCustomTreeView::CancelMode() {
  TWinControl::CancelMode();
  fPendingEdit = nullptr;
  if (fEditTimer) fEditTimer->stop();
}

bool TCustomTreeView::GetScrollBarVisible(TScrollBarKind theKind) const noexcept {
  return theKind == sbVertical ? fVertBarAllowed : fHorzBarAllowed;
}

void TCustomTreeView::SetScrollBarVisible(TScrollBarKind theKind, bool theVisible) {
  (theKind == sbVertical ? fVertBarAllowed : fHorzBarAllowed) = theVisible;
  UpdateScrollBars();
}

void TCustomTreeView::UpdateScrollBars() {
  if (IsDestroying() || fSyncingBars) return;
  TFlagScope scope(fSyncingBars);
  EnsureRows();
  const TScrollInfo v = GetScrollInfo(sbVertical);
  const bool showV = fVertBarAllowed && v.nMax + 1 > v.nPage;
  if (showV != fVertBar->GetVisible()) fVertBar->SetVisible(showV);
  if (showV) {
    fVertBar->SetPageSize(std::max(v.nPage, 1));
    fVertBar->SetParams(v.nPos, 0, v.nMax);
  }
  const TScrollInfo h = GetScrollInfo(sbHorizontal);
  const bool showH = fHorzBarAllowed && h.nMax + 1 > h.nPage && h.nPage > 0;
  if (showH != fHorzBar->GetVisible()) fHorzBar->SetVisible(showH);
  if (showH) {
    fHorzBar->SetPageSize(std::max(h.nPage, 1));
    fHorzBar->SetParams(h.nPos, 0, h.nMax);
  }
}

TTreeNode* TCustomTreeView::GetTopItem() { return GetVisibleRow(fTopRow); }

void TCustomTreeView::SetTopItem(TTreeNode* theNode) {
  const int row = RowOf(theNode);
  if (row >= 0) SetScrollPos(sbVertical, row);
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) {
  const TRect area = ItemArea();
  if (!area.Contains(Point(X, Y))) return nullptr;
  return GetVisibleRow(fTopRow + (Y - area.Top) / GetItemHeight());
}

void TCustomTreeView::SetSelected(TTreeNode* theNode) {
  if (theNode == fSelected) return;
  if (theNode && !CanChange(theNode)) return;
  fSelected = theNode;
  if (theNode) {
    // Bring it into view.
    for (TTreeNode* p = theNode->fParent; p; p = p->fParent)
      if (!p->fExpanded) ChangeExpanded(p, true);
    const int row = RowOf(theNode);
    const int page = std::max(ItemArea().Height() / GetItemHeight(), 1);
    if (row >= 0 && row < fTopRow) SetScrollPos(sbVertical, row);
    if (row >= fTopRow + page) SetScrollPos(sbVertical, row - page + 1);
  }
  Invalidate();
  Change(theNode);
  NotifyAccessibleFocus();
}

void TCustomTreeView::ChangeExpanded(TTreeNode* theNode, bool theExpanded) {
  if (theExpanded) {
    if (!CanExpand(theNode)) return;
    theNode->fExpanded = true;
    RowsChanged();
    Expand(theNode);
  } else {
    if (!CanCollapse(theNode)) return;
    theNode->fExpanded = false;
    // A selected node inside goes to the collapsed node.
    for (TTreeNode* p = fSelected ? fSelected->fParent : nullptr; p; p = p->fParent)
      if (p == theNode) {
        fSelected = theNode;
        Change(theNode);
        break;
      }
    RowsChanged();
    Collapse(theNode);
  }
  UpdateScrollBars();
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
  bool allow = true;
  if (OnExpanding) OnExpanding(this, Node, allow);
  return allow;
}

void TCustomTreeView::Expand(TTreeNode* Node) {
  if (OnExpanded) OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
  bool allow = true;
  if (OnCollapsing) OnCollapsing(this, Node, allow);
  return allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node) {
  if (OnCollapsed) OnCollapsed(this, Node);
}

bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool allow = true;
  if (OnChanging) OnChanging(this, Node, allow);
  return allow;
}

void TCustomTreeView::Change(TTreeNode* Node) {
  if (OnChange) OnChange(this, Node);
}

bool TCustomTreeView::CanEdit(TTreeNode* Node) {
  bool allow = !fReadOnly;
  if (OnEditing) OnEditing(this, Node, allow);
  return allow;
}

void TCustomTreeView::Edit(TTreeNode* Node, std::string& S) {
  if (OnEdited) OnEdited(this, Node, S);
}

void TCustomTreeView::Delete(TTreeNode*) {}

void TCustomTreeView::NodeRemoved(TTreeNode* theNode) {
  // Its later siblings move up: the ids of nodes change meaning.
  if (!IsDestroying()) NotifyAccessibleReset();
  if (fSelected == theNode) fSelected = nullptr;
  if (fHotNode == theNode) fHotNode = nullptr;
  if (fPendingEdit == theNode) fPendingEdit = nullptr;
  if (fEditNode == theNode) {
    fEditNode = nullptr;
    if (fEditor) fEditor->hide();
  }
}

void TCustomTreeView::SetImages(TCustomImageList* theImages) {
  fImages = theImages;
  Invalidate();
}

#define VX_FLAG_SETTER(name, field) \
  void TCustomTreeView::name(bool v) { \
    field = v;                          \
    Invalidate();                       \
  }
VX_FLAG_SETTER(SetShowButtons, fShowButtons)
VX_FLAG_SETTER(SetShowLines, fShowLines)
VX_FLAG_SETTER(SetShowRoot, fShowRoot)
VX_FLAG_SETTER(SetRowSelect, fRowSelect)
VX_FLAG_SETTER(SetHideSelection, fHideSelection)
#undef VX_FLAG_SETTER

bool TCustomTreeView::StartEdit(TTreeNode* theNode) {
  if (!theNode || fEditNode) return false;
  if (!CanEdit(theNode)) return false;
  SetSelected(theNode);
  TRect r = theNode->DisplayRect(true);
  if (r.IsEmpty()) {
    SetTopItem(theNode);
    r = theNode->DisplayRect(true);
  }
  if (!fEditor) {
    fEditor = new QLineEdit(this);
    fEditor->installEventFilter(new EditorFilter(this, fEditor));
    QObject::connect(fEditor, &QLineEdit::textEdited, [this](const QString&) {
      FitEditor();
      GuardedCall([this] { EditTextChanged(); });
    });
  }
  fEditNode = theNode;
  // In the tree's font, as tall as the row, as wide as its text needs.
  fEditor->setFont(detail::QtFontOf(*GetFont()));
  fEditor->setText(ToQString(theNode->fText));
  fEditor->setGeometry(r.Left, r.Top, 0, r.Height());
  FitEditor();
  fEditor->show();
  fEditor->setFocus();
  fEditor->selectAll();
  return true;
}

void TCustomTreeView::EndEdit(bool theCancel) {
  if (!fEditNode) return;
  TTreeNode* node = fEditNode;
  fEditNode = nullptr;
  std::string text = FromQString(fEditor->text());
  fEditor->hide();
  if (!theCancel) {
    Edit(node, text);
    node->SetText(text);
  }
  if (!IsDestroying()) SetFocus();
}

std::string TCustomTreeView::GetEditText() const { return fEditNode ? FromQString(fEditor->text()) : std::string(); }

void TCustomTreeView::SetEditText(const std::string& theText) {
  if (!fEditNode) return;
  fEditor->setText(ToQString(theText));
  FitEditor();
  EditTextChanged();
}

// The editor widens as its text grows (never narrower than it started, nor
// past the rows' right edge).
void TCustomTreeView::FitEditor() {
  if (!fEditor) return;
  const QFontMetrics fm(fEditor->font());
  const int needed = fm.horizontalAdvance(fEditor->text()) + fm.averageCharWidth() * 2 + 8;
  const int room = std::max(ItemArea().Right - fEditor->x(), 40);
  fEditor->resize(std::clamp(std::max(needed, fEditor->width()), std::min(80, room), room), fEditor->height());
}

bool TCustomTreeView::CustomDrawItem(TTreeNode* Node, TCustomDrawState State) {
  bool defaultDraw = true;
  if (OnCustomDrawItem) OnCustomDrawItem(this, Node, State, defaultDraw);
  return defaultDraw;
}

void TCustomTreeView::AfterDrawItem(TTreeNode* Node, TCustomDrawState State, const TRect&) {
  bool defaultDraw = true;
  if (OnAdvancedCustomDrawItem) OnAdvancedCustomDrawItem(this, Node, State, defaultDraw);
}

void TCustomTreeView::DrawNode(TTreeNode* theNode, int theRow, const TRect& theArea) {
  TCanvas* c = GetCanvas();
  const int h = GetItemHeight();
  const int top = theArea.Top + (theRow - fTopRow) * h;
  const TRect row = Rect(theArea.Left, top, theArea.Right, top + h);
  const int level = theNode->GetLevel();
  const int indentSlots = level + (fShowRoot ? 1 : 0);
  const int x0 = theArea.Left - fScrollX;
  const int mid = top + h / 2;

  // Lines and the button are filled, whole logical pixels: at any pixel
  // ratio the box sits centred on the lines and its strokes are as thick as
  // its frame. Lines are dotted on every other pixel, the dots lined up
  // from row to row.
  c->GetBrush()->SetStyle(bsSolid);
  if (fShowLines) {
    c->GetBrush()->SetColor(clGray);  // a mid grey shows on light and dark windows alike
    auto dots = [c](int x1, int y1, int x2, int y2) {  // a run from (x1, y1) to (x2, y2), the end excluded
      for (int x = x1, y = y1; x < x2 || y < y2; x += x1 < x2, y += y1 < y2)
        if ((x + y) % 2 == 0) c->FillRect(Rect(x, y, x + 1, y + 1));
    };
    int slot = indentSlots - 1;
    for (TTreeNode* a = theNode; a && slot >= 0; a = a->fParent, --slot) {
      const int x = x0 + slot * fIndent + fIndent / 2;
      if (a == theNode) {
        dots(x, a->GetPrevSibling() || a->fParent ? top : mid, x, a->GetNextSibling() ? top + h : mid + 1);
        dots(x, mid, x0 + indentSlots * fIndent, mid);
      } else if (a->GetNextSibling()) {
        dots(x, top, x, top + h);
      }
    }
  }
  // The expand button.
  if (fShowButtons && theNode->HasChildren() && indentSlots > 0) {
    const int bx = x0 + (indentSlots - 1) * fIndent + fIndent / 2;
    DrawExpandBox(*c, Point(bx, mid), theNode->fExpanded, clWindow);
  }
  int x = x0 + indentSlots * fIndent + 2;
  const bool selected = theNode == fSelected && (Focused() || !fHideSelection);
  if (fImages) {
    const int image = selected ? theNode->fSelectedIndex : theNode->fImageIndex;
    fImages->Draw(c, x, top + (h - fImages->GetHeight()) / 2, image);
    x += fImages->GetWidth() + 2;
  }

  // Default colours and font, which a custom-draw handler may change.
  TCustomDrawState state;
  if (theNode == fSelected) state.Include(cdsSelected);
  if (theNode == fSelected && Focused()) state.Include(cdsFocused);
  const bool hot = fHotTrack && theNode == fHotNode;
  if (hot) state.Include(cdsHot);
  c->SetFont(*GetFont());
  c->GetFont()->SetColor(hot ? clHighlight : clWindowText);
  if (hot) {
    TFontStyles style = c->GetFont()->GetStyle();
    style.Include(fsUnderline);
    c->GetFont()->SetStyle(style);
  }
  c->GetBrush()->SetColor(GetColor());
  if (selected) {
    c->GetBrush()->SetColor(Focused() ? clHighlight : clBtnFace);
    if (Focused()) c->GetFont()->SetColor(clHighlightText);
  }
  if (CustomDrawItem(theNode, state)) {
    const int w = c->TextWidth(theNode->fText);
    const TRect textRect = fRowSelect ? row : Rect(x, top, x + w + 4, top + h);
    if (c->GetBrush()->GetColor() != GetColor() || fRowSelect) c->FillRect(textRect);
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(x + 2, top + (h - c->TextHeight(theNode->fText)) / 2, theNode->fText);
    if (theNode == fSelected && Focused()) c->DrawFocusRect(textRect);
  }
  AfterDrawItem(theNode, state, row);
}

void TCustomTreeView::Paint() {
  TCanvas* c = GetCanvas();
  EnsureRows();
  UpdateScrollBars();
  const TRect area = ItemArea();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
  if (fBorderStyle == bsSingle) {
    c->GetBrush()->SetColor(clWindowFrame);
    c->FrameRect(GetClientRect());
  }
  const int h = GetItemHeight();
  for (int r = fTopRow; (r - fTopRow) * h < area.Height(); ++r) {
    // A draw handler may expand or collapse nodes: the rows are laid out again.
    EnsureRows();
    if (r >= static_cast<int>(fRows.size())) break;
    DrawNode(fRows[static_cast<size_t>(r)], r, area);
  }
  TWinControl::Paint();
}

void TCustomTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (fEditNode) EndEdit(false);
  TTreeNode* node = GetNodeAt(X, Y);
  TTreeNode* before = fSelected;
  fPendingEdit = nullptr;
  if (node && Button == mbLeft) {
    const int indentSlots = node->GetLevel() + (fShowRoot ? 1 : 0);
    const int buttonLeft = ItemArea().Left - fScrollX + (indentSlots - 1) * fIndent;
    if (fShowButtons && node->HasChildren() && indentSlots > 0 && X >= buttonLeft && X < buttonLeft + fIndent &&
        !Shift.Contains(ssDouble)) {
      node->SetExpanded(!node->fExpanded);  // the button
    } else {
      SetSelected(node);
      const TRect text = node->DisplayRect(true);
      if (node == before && node == fSelected && !fReadOnly && text.Contains(Point(X, Y)) &&
          !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssDouble)) {
        fPendingEdit = node;
        fEditTimer->start(QApplication::doubleClickInterval());
      }
    }
  } else if (node && Button == mbRight && fRightClickSelect) {
    SetSelected(node);
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTreeView::DblClick() {
  fPendingEdit = nullptr;
  fEditTimer->stop();
  TWinControl::DblClick();
  if (fSelected && fSelected->HasChildren()) fSelected->SetExpanded(!fSelected->fExpanded);
}

void TCustomTreeView::KeyDown(unsigned short& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  EnsureRows();
  const int rows = static_cast<int>(fRows.size());
  const int row = RowOf(fSelected);
  const int page = std::max(ItemArea().Height() / GetItemHeight(), 1);
  auto go = [&](int r) {
    if (rows > 0) SetSelected(fRows[static_cast<size_t>(std::clamp(r, 0, rows - 1))]);
  };
  switch (Key) {
    case VK_UP: go(row < 0 ? 0 : row - 1); break;
    case VK_DOWN: go(row + 1); break;
    case VK_HOME: go(0); break;
    case VK_END: go(rows - 1); break;
    case VK_PRIOR: go(row - page); break;
    case VK_NEXT: go(row + page); break;
    case VK_LEFT:
      if (fSelected && fSelected->fExpanded && fSelected->HasChildren())
        fSelected->SetExpanded(false);
      else if (fSelected && fSelected->fParent)
        SetSelected(fSelected->fParent);
      break;
    case VK_RIGHT:
      if (fSelected && !fSelected->fExpanded && fSelected->HasChildren())
        fSelected->SetExpanded(true);
      else if (fSelected && fSelected->HasChildren())
        SetSelected(fSelected->GetFirstChild());
      break;
    case VK_ADD:
    case VK_SUBTRACT:
      if (Shift.Contains(ssCtrl)) return;  // Ctrl and + or -: the zoom of a host, not the node's
      if (fSelected) fSelected->SetExpanded(Key == VK_ADD);
      break;
    case VK_F2:
      if (fSelected) StartEdit(fSelected);
      break;
    default: return;
  }
  Key = 0;
}

// Keyboard search as Qt's views do it: characters typed within the keyboard
// input interval make one text, looked for from the selected row on (from the
// next one when a search begins, or when the same character is typed again,
// which steps through the rows it begins); the case is ignored.
void TCustomTreeView::KeyPress(char32_t& Key) {
  TWinControl::KeyPress(Key);
  if (Key == 0 || IsEditing() || Key < 0x20 || Key == 0x7F || Key > 0x10FFFF) return;
  if (GetCharShift().Contains(ssCtrl) || GetCharShift().Contains(ssAlt)) return;  // a shortcut's
  if (Key == ' ' && fSearch.empty()) return;
  const long long now = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now().time_since_epoch()).count();
  if (now - fSearchAt > QApplication::keyboardInputInterval() || fSearch.size() > 256) fSearch.clear();
  fSearchAt = now;
  fSearch += Key;
  Key = 0;
  const bool repeated = std::all_of(fSearch.begin(), fSearch.end(), [&](char32_t c) { return c == fSearch[0]; });
  const QString wanted = repeated ? QString::fromUcs4(fSearch.data(), 1)
                                  : QString::fromUcs4(fSearch.data(), static_cast<qsizetype>(fSearch.size()));
  EnsureRows();
  const int rows = static_cast<int>(fRows.size());
  if (rows == 0) return;
  const int selected = RowOf(fSelected);
  const int from = selected < 0 ? 0 : selected + (fSearch.size() == 1 || repeated ? 1 : 0);
  for (int k = 0; k < rows; ++k) {
    TTreeNode* n = fRows[static_cast<size_t>((from + k) % rows)];
    if (ToQString(n->GetText()).startsWith(wanted, Qt::CaseInsensitive)) {
      if (n != fSelected) SetSelected(n);
      return;
    }
  }
}

// As Qt's views (WheelRows).
bool TCustomTreeView::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  const int rows = WheelRows(fWheelRest, WheelDelta, Shift, ItemArea().Height() / GetItemHeight());
  if (rows != 0) SetScrollPos(sbVertical, fTopRow + rows);
  return true;
}

void TCustomTreeView::Resize() {
  TWinControl::Resize();
  if (IsDestroying() || !fVertBar) return;
  EnsureRows();
  ClampScroll();
  UpdateScrollBars();
}

}  // namespace vx
