#pragma once

#include <vxplan/platform/rtl/Export.h>

// The tree view the toolkit draws itself.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <vxplan/platform/ui/ComCtrls.h>

class QLineEdit;
class QTimer;

namespace vx {

class TTreeNode;
class TTreeNodes;
class TCustomTreeView;

enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };
enum TCustomDrawStateItem { cdsSelected, cdsFocused, cdsHot };
using TCustomDrawState = TSet<TCustomDrawStateItem>;

// A node of a tree view: text, a data pointer, two image indexes and its
// children. Nodes belong to their view's TTreeNodes; delete them through it
// (or Delete). Descendants come from TCustomTreeView::CreateNode.
class VX_API TTreeNode : public TObject {
public:
  explicit TTreeNode(TTreeNodes* theOwner);
  ~TTreeNode() override;

  TTreeNodes* GetOwner() const noexcept { return fOwner; }
  TCustomTreeView* GetTreeView() const noexcept;
  TTreeNode* GetParent() const noexcept { return fParent; }
  int Count() const noexcept { return static_cast<int>(fChildren.size()); }
  TTreeNode* GetItem(int i) const;
  bool HasChildren() const noexcept { return !fChildren.empty(); }
  int GetIndex() const;
  int GetLevel() const noexcept;
  // Row among all nodes in depth-first order (expanded or not).
  int GetAbsoluteIndex() const;
  TTreeNode* GetFirstChild() const noexcept { return fChildren.empty() ? nullptr : fChildren.front(); }
  TTreeNode* GetLastChild() const noexcept { return fChildren.empty() ? nullptr : fChildren.back(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // Depth first, expanded or not.
  TTreeNode* GetNext() const;
  // The next / previous node the view shows.
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;
  // All ancestors expanded.
  bool IsVisible() const noexcept;

  const std::string& GetText() const noexcept { return fText; }
  void SetText(const std::string& theText);
  void* GetData() const noexcept { return fData; }
  void SetData(void* theData) noexcept { fData = theData; }
  int GetImageIndex() const noexcept { return fImageIndex; }
  void SetImageIndex(int theIndex);
  int GetSelectedIndex() const noexcept { return fSelectedIndex; }
  void SetSelectedIndex(int theIndex);
  bool GetExpanded() const noexcept { return fExpanded; }
  // Through the view's expanding/collapsing checks and notifications.
  void SetExpanded(bool theExpanded);
  void Expand(bool theRecurse);
  void Collapse(bool theRecurse);
  bool GetSelected() const;
  bool GetDeleting() const noexcept { return fDeleting; }

  // The node's row (textOnly: just its text) in client coordinates;
  // an empty rectangle when it is not shown.
  TRect DisplayRect(bool theTextOnly) const;
  void MoveTo(TTreeNode* theDestination, TNodeAttachMode theMode);
  void Delete();
  void EditText();

protected:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  bool fDeleting = false;

private:
  TTreeNodes* fOwner;
  TTreeNode* fParent = nullptr;
  std::vector<TTreeNode*> fChildren;
  int fRow = -1;  // row in the view's shown rows, when they are laid out
  std::string fText;
  void* fData = nullptr;
  int fImageIndex = -1;
  int fSelectedIndex = -1;
  bool fExpanded = false;
};

// All nodes of a tree view.
class VX_API TTreeNodes : public TObject {
public:
  explicit TTreeNodes(TCustomTreeView* theOwner) : fOwner(theOwner) {}
  ~TTreeNodes() override;

  TCustomTreeView* GetOwner() const noexcept { return fOwner; }
  // A new last child of theParent (a root node for nil).
  TTreeNode* AddChild(TTreeNode* theParent, const std::string& theText);
  TTreeNode* AddChildFirst(TTreeNode* theParent, const std::string& theText);
  TTreeNode* AddChildObject(TTreeNode* theParent, const std::string& theText, void* theData);
  // A new last sibling of theSibling (a root for nil).
  TTreeNode* Add(TTreeNode* theSibling, const std::string& theText);
  // A new node just before theSibling.
  TTreeNode* Insert(TTreeNode* theSibling, const std::string& theText);
  void Delete(TTreeNode* theNode);
  // Deletes several nodes (with their children) in one pass: much cheaper
  // than one by one when many siblings go.
  void DeleteNodes(const std::vector<TTreeNode*>& theNodes);
  // Reorders the children of theParent (the roots for nil), stably.
  void SortChildren(TTreeNode* theParent, const std::function<bool(TTreeNode*, TTreeNode*)>& theLess);
  // Stable sort by a key read once per child; nothing when already in order.
  // Answers whether the order changed.
  bool SortChildrenByKey(TTreeNode* theParent, const std::function<long long(TTreeNode*)>& theKey);
  void Clear();
  int Count() const noexcept { return fCount; }
  int RootCount() const noexcept { return static_cast<int>(fRoots.size()); }
  TTreeNode* GetRoot(int i) const;
  TTreeNode* GetFirstNode() const noexcept { return fRoots.empty() ? nullptr : fRoots.front(); }
  // By absolute index (depth-first over all nodes).
  TTreeNode* GetItem(int theAbsoluteIndex) const;
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const noexcept { return fUpdateCount > 0; }

private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  TTreeNode* Attach(TTreeNode* theNode, TTreeNode* theParent, int theIndex);
  std::vector<TTreeNode*>& SiblingsOf(TTreeNode* theParent) { return theParent ? theParent->fChildren : fRoots; }
  void Detach(TTreeNode* theNode);
  void DestroyNode(TTreeNode* theNode);
  void Condemn(TTreeNode* theNode, std::vector<TTreeNode*>& theDoomed);

  TCustomTreeView* fOwner;
  std::vector<TTreeNode*> fRoots;
  int fCount = 0;
  int fUpdateCount = 0;
};

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
using TTVCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;

// A tree view drawn by the toolkit: rows of nodes with indentation, expand
// buttons, lines, images and text, one selected node, in-place editing, and
// scrolling by rows (vertically) and pixels (horizontally). Items are laid
// out on demand, so large trees cost only what is shown.
class VX_API TCustomTreeView : public TWinControl {
public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  TTreeNodes* GetItems() noexcept { return fItems.get(); }
  TTreeNode* GetSelected() const noexcept { return fSelected; }
  void SetSelected(TTreeNode* theNode);
  TTreeNode* GetTopItem();
  void SetTopItem(TTreeNode* theNode);
  TTreeNode* GetNodeAt(int X, int Y);
  // Rows the view shows, in order.
  int VisibleRowCount();
  TTreeNode* GetVisibleRow(int theRow);
  int RowOf(TTreeNode* theNode);
  int GetItemHeight();
  // A fixed row height; 0 goes back to the height the font needs.
  void SetItemHeight(int theHeight);
  bool HasFixedItemHeight() const noexcept { return fItemHeightFixed; }
  int GetIndent() const noexcept { return fIndent; }
  // Kept within 1 .. kMaxIndent pixels.
  void SetIndent(int theIndent);
  static constexpr int kMaxIndent = 1000;
  // Row heights are kept within 0 .. kMaxItemHeight pixels.
  static constexpr int kMaxItemHeight = 10000;

  // Vertical: rows (nMax = rows - 1, nPage = rows per page, nPos = top row);
  // horizontal: pixels.
  TScrollInfo GetScrollInfo(TScrollBarKind theKind);
  void SetScrollPos(TScrollBarKind theKind, int thePos);
  bool GetScrollBarVisible(TScrollBarKind theKind) const noexcept;
  void SetScrollBarVisible(TScrollBarKind theKind, bool theVisible);

  bool GetShowButtons() const noexcept { return fShowButtons; }
  void SetShowButtons(bool v);
  bool GetShowLines() const noexcept { return fShowLines; }
  void SetShowLines(bool v);
  bool GetShowRoot() const noexcept { return fShowRoot; }
  void SetShowRoot(bool v);
  bool GetRowSelect() const noexcept { return fRowSelect; }
  void SetRowSelect(bool v);
  bool GetHideSelection() const noexcept { return fHideSelection; }
  void SetHideSelection(bool v);
  bool GetReadOnly() const noexcept { return fReadOnly; }
  void SetReadOnly(bool v) noexcept { fReadOnly = v; }
  bool GetAutoExpand() const noexcept { return fAutoExpand; }
  void SetAutoExpand(bool v) noexcept { fAutoExpand = v; }
  bool GetRightClickSelect() const noexcept { return fRightClickSelect; }
  void SetRightClickSelect(bool v) noexcept { fRightClickSelect = v; }
  TCustomImageList* GetImages() const noexcept { return fImages; }
  void SetImages(TCustomImageList* theImages);
  // The node under the pointer is drawn underlined in the highlight colour.
  bool GetHotTrack() const noexcept { return fHotTrack; }
  void SetHotTrack(bool v);
  TTreeNode* GetHotNode() const noexcept { return fHotNode; }
  // A node whose text the view cuts shows it whole in a tip under the pointer.
  bool GetToolTips() const noexcept { return fToolTips; }
  void SetToolTips(bool v) noexcept { fToolTips = v; }
  // bsSingle: a one-pixel frame in the window-frame colour round the view.
  TBorderStyle GetBorderStyle() const noexcept { return fBorderStyle; }
  void SetBorderStyle(TBorderStyle v);

  bool IsEditing() const noexcept { return fEditNode != nullptr; }
  // Starts editing theNode's text in place (when CanEdit allows).
  bool StartEdit(TTreeNode* theNode);
  // Ends editing, keeping (or dropping) the edited text.
  void EndEdit(bool theCancel);
  TTreeNode* GetEditNode() const noexcept { return fEditNode; }
  // The in-place editor's current text (empty when not editing).
  std::string GetEditText() const;
  void SetEditText(const std::string& theText);

  void BeginUpdate() { fItems->BeginUpdate(); }
  void EndUpdate() { fItems->EndUpdate(); }

  TTVChangingEvent OnChanging;
  TTVChangedEvent OnChange;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVCustomDrawItemEvent OnCustomDrawItem;
  TTVCustomDrawItemEvent OnAdvancedCustomDrawItem;
  // The in-place editor's text changed (each key typed).
  TNotifyEvent OnEditTextChanged;
  // The view's rows changed position (scrolled or laid out again).
  TNotifyEvent OnScrolled;

protected:
  friend class TTreeNode;
  friend class TTreeNodes;
  virtual TTreeNode* CreateNode();
  virtual bool CanExpand(TTreeNode* Node);
  virtual void Expand(TTreeNode* Node);
  virtual bool CanCollapse(TTreeNode* Node);
  virtual void Collapse(TTreeNode* Node);
  virtual bool CanChange(TTreeNode* Node);
  virtual void Change(TTreeNode* Node);
  virtual bool CanEdit(TTreeNode* Node);
  virtual void Edit(TTreeNode* Node, std::string& S);
  // Before the default drawing of a node; the handler may change the canvas.
  virtual bool CustomDrawItem(TTreeNode* Node, TCustomDrawState State);
  // After it (lines, marks).
  virtual void AfterDrawItem(TTreeNode* Node, TCustomDrawState State, const TRect& theRowRect);
  // A node is about to go (its data is still there).
  virtual void Delete(TTreeNode* Node);
  // The rows moved (scrolling); raises OnScrolled.
  virtual void Scrolled();
  // The in-place editor's text changed; raises OnEditTextChanged.
  virtual void EditTextChanged();
  // A click's pending edit start is dropped with the gesture.
  void CancelMode() override;

  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  // Typed characters search the shown rows, as in Qt's views.
  void KeyPress(char32_t& Key) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void Resize() override;
  void AdjustClientRect(TRect& Rect) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;
  bool event(QEvent* e) override;

  // The rows the view shows changed: lay them out again before the next use.
  void RowsChanged();
  TRect ItemArea();

private:
  void EnsureRows();
  void UpdateScrollBars();
  void ClampScroll();
  void NodeRemoved(TTreeNode* theNode);
  void DrawNode(TTreeNode* theNode, int theRow, const TRect& theArea);
  int TextLeftOf(TTreeNode* theNode) const;
  void ChangeExpanded(TTreeNode* theNode, bool theExpanded);
  void FitEditor();
  void SetHotNode(TTreeNode* theNode);
  // Shows theNode's whole text in a tip when the view cuts it; false when
  // there is nothing to show.
  bool ShowTextTip(const QPoint& thePos, const QPoint& theGlobalPos);

  std::unique_ptr<TTreeNodes> fItems;
  TTreeNode* fSelected = nullptr;
  std::vector<TTreeNode*> fRows;  // shown nodes in order, when fRowsValid
  bool fRowsValid = false;
  int fTopRow = 0;
  int fScrollX = 0;
  int fIndent = 19;
  int fItemHeight = 0;
  bool fItemHeightFixed = false;
  bool fShowButtons = true;
  bool fShowLines = true;
  bool fShowRoot = true;
  bool fRowSelect = false;
  bool fHideSelection = true;
  bool fReadOnly = false;
  bool fAutoExpand = false;
  bool fRightClickSelect = false;
  bool fVertBarAllowed = true;
  bool fHorzBarAllowed = true;
  bool fHotTrack = false;
  bool fToolTips = false;
  TBorderStyle fBorderStyle = bsNone;
  TTreeNode* fHotNode = nullptr;
  TCustomImageList* fImages = nullptr;
  TTreeNode* fEditNode = nullptr;
  QLineEdit* fEditor = nullptr;
  TTreeNode* fPendingEdit = nullptr;
  QTimer* fEditTimer = nullptr;
  class TScrollBar* fVertBar = nullptr;
  class TScrollBar* fHorzBar = nullptr;
  bool fSyncingBars = false;
  int fWheelRest = 0;  // wheel steps (times the lines a notch) not yet scrolled
  std::u32string fSearch;  // typed so far, while keys come quickly
  long long fSearchAt = 0;  // when the last was typed (ms)
};

}  // namespace vx
