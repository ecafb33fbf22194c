#include <vxplan/platform/ui/Palette.h>

#include <QGuiApplication>
#include <deque>
#include <mutex>

#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

namespace {

struct TRoleOf {
  TColor system;
  QPalette::ColorRole role;
};

// Each classic system colour and the palette role that plays its part.
constexpr TRoleOf kRoles[] = {
    {clScrollBar, QPalette::Button},        {clBackground, QPalette::Window},
    {clActiveCaption, QPalette::Highlight}, {clInactiveCaption, QPalette::Mid},
    {clMenu, QPalette::Window},             {clWindow, QPalette::Base},
    {clWindowFrame, QPalette::Shadow},      {clMenuText, QPalette::WindowText},
    {clWindowText, QPalette::Text},         {clCaptionText, QPalette::HighlightedText},
    {clActiveBorder, QPalette::Mid},        {clInactiveBorder, QPalette::Midlight},
    {clAppWorkSpace, QPalette::Dark},       {clHighlight, QPalette::Highlight},
    {clHighlightText, QPalette::HighlightedText}, {clBtnFace, QPalette::Button},
    {clBtnShadow, QPalette::Dark},          {clBtnText, QPalette::ButtonText},
    {clInactiveCaptionText, QPalette::WindowText}, {clBtnHighlight, QPalette::Light},
    {cl3DDkShadow, QPalette::Shadow},       {cl3DLight, QPalette::Midlight},
    {clInfoText, QPalette::ToolTipText},    {clInfoBk, QPalette::ToolTipBase},
};

int Index(TColor theSystem) { return static_cast<int>(static_cast<unsigned>(theSystem) & 0xFFu); }

// The sets the application palette has had, kept for the process: the
// default is read by any thread, so a set once published never goes.
std::mutex gKeptMutex;
std::deque<TSystemColors>& Kept() {
  static auto* kept = new std::deque<TSystemColors>;  // outlives every reader
  return *kept;
}

}  // namespace

TSystemColors SystemColorsFrom(const QPalette& thePalette, QPalette::ColorGroup theGroup) {
  TSystemColors out = LightSystemColors();
  TColor* c = out.Colors;
  for (const TRoleOf& r : kRoles) c[Index(r.system)] = FromQColor(thePalette.color(theGroup, r.role));
  const TColor base = c[Index(clWindow)], text = c[Index(clWindowText)];
  // Grey text keeps a readable contrast where the palette's disabled text
  // often has none.
  c[Index(clGrayText)] = MixColors(text, base, 0.42);
  // The desktop's grey is what separators are drawn in: a line that shows
  // on the window either way.
  c[Index(clBackground)] = MixColors(base, text, 0.3725);  // A0A0A0 on white
  c[Index(clStripe)] = MixColors(base, text, 0.06);
  c[Index(clGridLine)] = MixColors(base, text, 0.247);  // silver on white
  c[Index(clHiddenTime)] = MixColors(base, text, 0.14);
  const TColor highlight = c[Index(clHighlight)];
  const TColor inactive = FromQColor(thePalette.color(QPalette::Inactive, QPalette::Highlight));
  if (inactive != highlight) {
    c[Index(clInactiveHighlight)] = inactive;
    c[Index(clInactiveHighlightText)] = FromQColor(thePalette.color(QPalette::Inactive, QPalette::HighlightedText));
  } else {
    c[Index(clInactiveHighlight)] = MixColors(base, text, 0.18);
    c[Index(clInactiveHighlightText)] = text;
  }
  // The focus rectangle in the highlight where it shows on the window, else
  // in the text colour.
  c[Index(clFocusRect)] = ContrastRatio(highlight, base) >= 3 ? highlight : text;
  return out;
}

bool GroupsDiffer(const QPalette& thePalette) {
  for (const TRoleOf& r : kRoles)
    if (thePalette.color(QPalette::Active, r.role) != thePalette.color(QPalette::Inactive, r.role)) return true;
  return false;
}

void FollowApplicationPalette() {
  if (!qGuiApp) return;
  const QPalette palette = QGuiApplication::palette();
  std::lock_guard lock(gKeptMutex);
  // Every control hears the change and every new control asks: the same
  // palette is resolved once.
  static qint64 followed = 0;
  if (palette.cacheKey() == followed) return;
  followed = palette.cacheKey();
  const TSystemColors now = SystemColorsFrom(palette, QPalette::Active);
  std::deque<TSystemColors>& all = Kept();
  for (const TSystemColors& kept : all)
    if (kept == now) {
      SetDefaultSystemColors(&kept);
      return;
    }
  all.push_back(now);
  SetDefaultSystemColors(&all.back());
}

}  // namespace vx
