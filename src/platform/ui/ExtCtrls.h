#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <vxplan/platform/ui/Controls.h>

class QTimer;

namespace vx {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle { bsNone, bsSingle };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Draws a 3D frame inside r, theWidth pixels wide: top and left in theTopColor,
// bottom and right in theBottomColor; r shrinks by the frame.
VX_API void Frame3D(TCanvas* theCanvas, TRect& r, TColor theTopColor, TColor theBottomColor, int theWidth);

// A panel: a colour, bevels, a border and a centred caption. Its aligned
// children share what lies inside the border and the bevels.
class VX_API TCustomPanel : public TWinControl {
public:
  explicit TCustomPanel(TComponent* AOwner);

  const std::string& GetCaption() const noexcept { return fCaption; }
  void SetCaption(const std::string& theCaption);
  TBevelCut GetBevelInner() const noexcept { return fBevelInner; }
  void SetBevelInner(TBevelCut theValue);
  TBevelCut GetBevelOuter() const noexcept { return fBevelOuter; }
  void SetBevelOuter(TBevelCut theValue);
  int GetBevelWidth() const noexcept { return fBevelWidth; }
  void SetBevelWidth(int theValue);
  TBorderStyle GetBorderStyle() const noexcept { return fBorderStyle; }
  void SetBorderStyle(TBorderStyle theValue);
  int GetBorderWidth() const noexcept { return fBorderWidth; }
  void SetBorderWidth(int theValue);
  TAlignment GetAlignment() const noexcept { return fAlignment; }
  void SetAlignment(TAlignment theValue);
  bool GetFullRepaint() const noexcept { return fFullRepaint; }
  void SetFullRepaint(bool theValue) noexcept { fFullRepaint = theValue; }

protected:
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;

private:
  void Changed();

  std::string fCaption;
  TBevelCut fBevelInner = bvNone;
  TBevelCut fBevelOuter = bvRaised;
  int fBevelWidth = 1;
  TBorderStyle fBorderStyle = bsNone;
  int fBorderWidth = 0;
  TAlignment fAlignment = taCenter;
  bool fFullRepaint = true;
};

class VX_API TPanel : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
};

// Calls OnTimer every Interval milliseconds while Enabled (and both are set),
// on the user-interface thread.
class VX_API TTimer : public TComponent {
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool GetEnabled() const noexcept { return fEnabled; }
  // Enabling (also when enabled already) starts the interval afresh.
  void SetEnabled(bool theEnabled);
  unsigned GetInterval() const noexcept { return fInterval; }
  void SetInterval(unsigned theInterval);
  TNotifyEvent GetOnTimer() const { return fOnTimer; }
  void SetOnTimer(TNotifyEvent theHandler);
  // Milliseconds until the next tick; -1 when the timer is not running.
  int GetRemainingTime() const;

protected:
  // A tick; raises OnTimer.
  virtual void Timer();
  // Descendants that hear their ticks themselves run without an OnTimer.
  bool fTicksWithoutHandler = false;

private:
  void UpdateTimer();

  bool fEnabled = true;
  unsigned fInterval = 1000;
  TNotifyEvent fOnTimer;
  std::unique_ptr<QTimer> fTimer;
};

// A timer whose creator hears its ticks itself, first; OnTimer stays free
// for the application and is raised after.
class VX_API TOwnedTimer : public TTimer {
public:
  TOwnedTimer(TComponent* AOwner, TNotifyEvent theOwnTick);

protected:
  void Timer() override;

private:
  TNotifyEvent fOwnTick;
};

}  // namespace vx

class QTabBar;

namespace vx {

class TPageControl;

// A page of a page control: its children show while it is the active page.
class VX_API TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  const std::string& GetCaption() const noexcept { return fCaption; }
  void SetCaption(const std::string& theCaption);
  TPageControl* GetPageControl() const noexcept { return fPageControl; }
  // Puts the sheet on thePageControl (as its last page), or takes it off (nil).
  void SetPageControl(TPageControl* thePageControl);
  int GetPageIndex() const;

private:
  friend class TPageControl;
  std::string fCaption;
  TPageControl* fPageControl = nullptr;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// Pages with tabs along the top; one page shows at a time, filling the rest.
class VX_API TPageControl : public TWinControl {
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  int PageCount() const noexcept { return static_cast<int>(fPages.size()); }
  // Nil out of range.
  TTabSheet* GetPage(int i) const;
  TTabSheet* GetActivePage() const noexcept { return fActivePage; }
  // Through OnChanging (which may refuse) and OnChange, as a click on its tab.
  void SetActivePage(TTabSheet* thePage);
  int GetTabHeight() const;

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

protected:
  void Resize() override;
  void AdjustClientRect(TRect& Rect) override;
  // Raise OnChanging and OnChange.
  virtual void Changing(bool& AllowChange);
  virtual void Change();

private:
  friend class TTabSheet;
  void AddPage(TTabSheet* thePage);
  void RemovePage(TTabSheet* thePage);
  void ShowActive();
  void TabClicked(int theIndex);

  std::vector<TTabSheet*> fPages;
  TTabSheet* fActivePage = nullptr;
  QTabBar* fTabs = nullptr;
  bool fSyncing = false;
};

}  // namespace vx
