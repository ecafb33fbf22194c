#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <vxplan/platform/ui/Controls.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/Graphics.h>

class QScrollBar;
class QTimer;

namespace vx {

class TCustomImageList;
class TPopupMenu;
class TTimer;

enum TScrollBarKind { sbHorizontal, sbVertical };

// The scroll position of a tree view along one axis: rows vertically,
// pixels horizontally.
struct VX_API TScrollInfo {
  int nMin = 0;
  int nMax = 0;
  int nPage = 0;
  int nPos = 0;
};

// A list of same-sized pictures, drawn by index. Pictures keep their
// transparency: what is clear in them leaves the background alone.
class VX_API TCustomImageList : public TComponent {
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

// A scroll bar control.
class VX_API TScrollBar : public TWinControl {
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
class VX_API THeaderSection : public TObject {
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
class VX_API THeaderSections : public TObject {
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
class VX_API THeaderControl : public TWinControl {
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
class VX_API TUpDown : public TWinControl {
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
