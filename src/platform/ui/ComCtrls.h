#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Graphics.h"

class QLineEdit;
class QScrollBar;
class QTimer;

namespace vx {

class TTreeNode;
class TTreeNodes;
class TCustomTreeView;
class TCustomImageList;
class TPopupMenu;
class TTimer;

enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };
enum TCustomDrawStateItem { cdsSelected, cdsFocused, cdsHot };
using TCustomDrawState = TSet<TCustomDrawStateItem>;
enum TScrollBarKind { sbHorizontal, sbVertical };

// The scroll position of a tree view along one axis: rows vertically,
// pixels horizontally.
struct TScrollInfo {
  int nMin = 0;
  int nMax = 0;
  int nPage = 0;
  int nPos = 0;
};

// A node of a tree view: text, a data pointer, two image indexes and its
// children. Nodes belong to their view's TTreeNodes; delete them through it
// (or Delete). Descendants come from TCustomTreeView::CreateNode.
class TTreeNode : public TObject {
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
class TTreeNodes : public TObject {
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

// A list of same-sized pictures, drawn by index. Pictures keep their
// transparency: what is clear in them leaves the background alone.
class TCustomImageList : public TComponent {
public:
  TCustomImageList(TComponent* AOwner, int theWidth = 16, int theHeight = 16);
  ~TCustomImageList() override;
  int GetWidth() const noexcept { return fWidth; }
  int GetHeight() const noexcept { return fHeight; }
  int Count() const noexcept { return static_cast<int>(fImages.size()); }
  // Adds a copy of theBitmap (scaled to the list's size); answers its index.
  int Add(TBitmap* theBitmap);
  // Adds a picture file (PNG and the other formats the platform reads) or a
  // resource compiled into the program (a name starting with ":/"); answers
  // its index, or -1 when it cannot be read (nothing is added then).
  int AddFromFile(const std::string& theFileName);
  void Draw(TCanvas* theCanvas, int x, int y, int theIndex) const;
  TBitmap* GetBitmap(int theIndex) const;

private:
  int fWidth, fHeight;
  std::vector<std::unique_ptr<TBitmap>> fImages;
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
class TCustomTreeView : public TWinControl {
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
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void Resize() override;
  void AdjustClientRect(TRect& Rect) override;

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
  TCustomImageList* fImages = nullptr;
  TTreeNode* fEditNode = nullptr;
  QLineEdit* fEditor = nullptr;
  TTreeNode* fPendingEdit = nullptr;
  QTimer* fEditTimer = nullptr;
  class TScrollBar* fVertBar = nullptr;
  class TScrollBar* fHorzBar = nullptr;
  bool fSyncingBars = false;
  int fWheelRest = 0;  // wheel steps (times the lines a notch) not yet scrolled
};

// A scroll bar control.
class TScrollBar : public TWinControl {
public:
  TScrollBar(TComponent* AOwner, TScrollBarKind theKind = sbHorizontal);
  TScrollBarKind GetKind() const noexcept { return fKind; }
  int GetMin() const;
  int GetMax() const;
  int GetPosition() const;
  int GetPageSize() const;
  void SetMin(int v);
  void SetMax(int v);
  void SetPosition(int v);
  void SetPageSize(int v);
  void SetParams(int thePosition, int theMin, int theMax);
  // A user's scroll (not program changes of the position).
  TNotifyEvent OnScroll;
  // Any change of the position.
  TNotifyEvent OnChange;
  // For the control the bar serves: heard before OnScroll (OnChange), which
  // stay the application's.
  void SetScrollListener(TNotifyEvent theListener) { fScrollListener = std::move(theListener); }
  void SetChangeListener(TNotifyEvent theListener) { fChangeListener = std::move(theListener); }

protected:
  void Resize() override;
  // The position changed; heard here first, by descendants, then by OnChange.
  virtual void Changed() {}
  // The user scrolled; raises OnScroll.
  virtual void Scroll();

private:
  TScrollBarKind fKind;
  QScrollBar* fBar;
  bool fSettingByProgram = false;
  TNotifyEvent fScrollListener;
  TNotifyEvent fChangeListener;
};

class THeaderControl;
class THeaderSections;

// One section of a header control: a width and a text, which may hold
// several lines (separated by line feeds).
class THeaderSection : public TObject {
public:
  explicit THeaderSection(THeaderSections* theOwner) : fOwner(theOwner) {}

  int GetWidth() const noexcept { return fWidth; }
  // Kept within MinWidth .. MaxWidth; negative widths read as 0.
  void SetWidth(int theWidth);
  const std::string& GetText() const noexcept { return fText; }
  void SetText(const std::string& theText);
  int GetMinWidth() const noexcept { return fMinWidth; }
  void SetMinWidth(int theValue);
  int GetMaxWidth() const noexcept { return fMaxWidth; }
  void SetMaxWidth(int theValue);
  TAlignment GetAlignment() const noexcept { return fAlignment; }
  void SetAlignment(TAlignment theValue);
  int GetIndex() const;
  // Left and right edge in the control's client coordinates.
  int GetLeft() const;
  int GetRight() const { return GetLeft() + fWidth; }

private:
  THeaderSections* fOwner;
  int fWidth = 50;
  int fMinWidth = 0;
  int fMaxWidth = 10000;
  std::string fText;
  TAlignment fAlignment = taLeftJustify;
};

// The sections of a header control, left to right. Owns them.
class THeaderSections : public TObject {
public:
  explicit THeaderSections(THeaderControl* theOwner) : fOwner(theOwner) {}
  ~THeaderSections() override;

  int Count() const noexcept { return static_cast<int>(fItems.size()); }
  // Nil outside 0 .. Count-1.
  THeaderSection* GetItem(int i) const;
  THeaderSection* Add() { return Insert(Count()); }
  // A new section at i (0 .. Count); nil for any other index.
  THeaderSection* Insert(int i);
  // Nothing outside 0 .. Count-1.
  void Delete(int i);
  void Clear();
  int IndexOf(const THeaderSection* theSection) const;
  // Changes inside an update repaint once, at its end.
  void BeginUpdate() noexcept { ++fUpdate; }
  void EndUpdate();
  bool Updating() const noexcept { return fUpdate > 0; }

  THeaderControl* GetOwner() const noexcept { return fOwner; }

private:
  friend class THeaderSection;
  void Changed(bool theSizes);
  int LeftOf(int i) const;

  THeaderControl* fOwner;
  std::vector<std::unique_ptr<THeaderSection>> fItems;
  mutable std::vector<int> fLefts;  // left edge of each section, when fLeftsValid
  mutable bool fLeftsValid = false;
  int fUpdate = 0;
};

enum TSectionTrackState { tsTrackBegin, tsTrackMove, tsTrackEnd };
using TSectionNotifyEvent = std::function<void(THeaderControl* HeaderControl, THeaderSection* Section)>;
using TSectionTrackEvent =
    std::function<void(THeaderControl* HeaderControl, THeaderSection* Section, int Width, TSectionTrackState State)>;

// A row of titled sections, drawn by the toolkit. The user resizes a section
// by dragging its right edge (the section follows the mouse and OnSectionResize
// is raised with every change); a click on a section raises OnSectionClick;
// a right click shows the popup menu.
class THeaderControl : public TWinControl {
public:
  // Pixels on either side of a section's right edge that take a resize.
  static constexpr int ResizeMargin = 3;

  explicit THeaderControl(TComponent* AOwner);
  ~THeaderControl() override;

  THeaderSections* GetSections() noexcept { return fSections.get(); }
  TPopupMenu* GetPopupMenu() const noexcept { return fPopupMenu; }
  void SetPopupMenu(TPopupMenu* theMenu);
  // The section whose right edge takes a resize at x; -1 when none. Sections
  // without width take none.
  int SectionEdgeAt(int x) const;
  // The section under x; -1 when none.
  int SectionAt(int x) const;
  // The section being resized by the mouse; -1 when none.
  int GetTrackingSection() const noexcept { return fTracking; }
  // Width of theText in the control's font.
  int TextWidth(const std::string& theText);
  // Grows with every change of a section's width, count or place.
  unsigned GetSizeStamp() const noexcept { return fSizeStamp; }

  TSectionNotifyEvent OnSectionResize;
  TSectionTrackEvent OnSectionTrack;
  TSectionNotifyEvent OnSectionClick;

protected:
  friend class THeaderSections;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // A drag of the header took the release: the pressed section comes up.
  void DoEndDrag(TObject* Target, int X, int Y) override;
  virtual void DrawSection(THeaderSection* theSection, const TRect& theRect);
  // The mouse gave theSection a new width; raises OnSectionResize.
  virtual void SectionResize(THeaderSection* theSection);

private:
  void SectionsChanged(bool theSizes);

  std::unique_ptr<THeaderSections> fSections;
  TPopupMenu* fPopupMenu = nullptr;
  int fTracking = -1;
  int fTrackOffset = 0;
  int fPressed = -1;
  unsigned fSizeStamp = 0;
};

enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };
enum TUpDownDirection { updNone, updUp, updDown };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;
using TUDChangingEventEx =
    std::function<void(TObject* Sender, bool& AllowChange, int NewValue, TUpDownDirection Direction)>;

// Two arrow buttons that step a position between Min and Max by Increment:
// the up (vertical) or right (horizontal) button adds it, the other one
// subtracts it. Held down, a button repeats. Each user step asks
// OnChanging and OnChangingEx first (either may refuse it), then moves the
// position and raises OnClick. Program changes of the position raise nothing.
class TUpDown : public TWinControl {
public:
  explicit TUpDown(TComponent* AOwner);
  ~TUpDown() override;

  int GetMin() const noexcept { return fMin; }
  void SetMin(int theValue);
  int GetMax() const noexcept { return fMax; }
  void SetMax(int theValue);
  int GetPosition() const noexcept { return fPosition; }
  // Kept within Min .. Max.
  void SetPosition(int theValue);
  int GetIncrement() const noexcept { return fIncrement; }
  void SetIncrement(int theValue) noexcept { fIncrement = theValue; }
  TUDOrientation GetOrientation() const noexcept { return fOrientation; }
  void SetOrientation(TUDOrientation theValue);
  bool GetWrap() const noexcept { return fWrap; }
  void SetWrap(bool theValue) noexcept { fWrap = theValue; }
  // As a user's press on a button: one step.
  void Click(TUDBtnType Button);
  // The rectangle of a button in client coordinates.
  TRect ButtonRect(TUDBtnType Button) const;

  TUDClickEvent OnClick;
  TUDChangingEvent OnChanging;
  TUDChangingEventEx OnChangingEx;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void RepeatTick(TObject* Sender);
  void DrawButton(TUDBtnType Button);

  int fMin = 0;
  int fMax = 100;
  int fPosition = 0;
  int fIncrement = 1;
  TUDOrientation fOrientation = udVertical;
  bool fWrap = false;
  int fPressed = -1;  // the held button, or -1
  TTimer* fRepeat = nullptr;
};

}  // namespace vx
