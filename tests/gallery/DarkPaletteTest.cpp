// The components follow the application's palette: in the gallery's dark
// palette what they draw stays readable, a switch while they show repaints
// them, and paper stays white.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <cmath>
#include <functional>
#include <limits>
#include <map>

#include "GallerySupport.h"
#include <vxplan/gantt/vxGant.h>
#include <vxplan/grid/vxBabGridView.h>
#include <vxplan/platform/ui/Palette.h>
#include <vxplan/platform/ui/QtConvert.h>
#include <vxplan/scaler/vxScaler.h>
#include <vxplan/schema/vxSchema.h>
#include <vxplan/tree/vxTree.h>

namespace {

using vxtest::GalleryWindow;

// A region of a picture: its background (the commonest colour) and the
// pixel that stands out from it most.
struct Ink {
  vx::TColor background = vx::clNone;
  vx::TColor ink = vx::clNone;
  double Contrast() const { return vx::ContrastRatio(background, ink); }
};

Ink InkIn(const QImage& theShot, const QRect& theRegion) {
  std::map<QRgb, int> counts;
  const QRect r = theRegion.intersected(theShot.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) ++counts[theShot.pixel(x, y) & 0xFFFFFF];
  Ink out;
  if (counts.empty()) return out;
  const auto commonest =
      std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; });
  out.background = vx::FromQColor(QColor(commonest->first));
  out.ink = out.background;
  for (const auto& [rgb, n] : counts) {
    const vx::TColor c = vx::FromQColor(QColor(rgb));
    if (vx::ContrastRatio(c, out.background) > out.Contrast()) out.ink = c;
  }
  return out;
}

// Restores the light palette whatever a test does.
struct DarkPalette : testing::Test {
  void TearDown() override {
    ApplyGalleryPalette(false);
    vxtest::ProcessEventsUntilIdle();
  }
};

// Where on which page a component shows text (or lines) on its background,
// and the contrast WCAG asks of it: 4.5 for text, 3 for lines.
struct Place {
  const char* page;
  const char* what;
  std::function<QWidget*(GalleryWindow&)> widget;
  std::function<QRect(QWidget*)> region;
  double least;
};

QRect TopRows(QWidget* w, int theHeight) { return QRect(0, 0, w->width(), std::min(theHeight, w->height())); }

const Place kPlaces[] = {
    {"gantt", "tree side labels", [](GalleryWindow& w) -> QWidget* { return w.Component<vx::TvxGant>()->GetTreeView(); },
     [](QWidget* w) { return TopRows(w, 66); }, 4.5},
    {"gantt", "time axis labels",
     [](GalleryWindow& w) -> QWidget* { return w.Component<vx::TvxGant>()->GetDateScaler(); },
     [](QWidget* w) { return QRect(0, w->height() / 3, w->width(), w->height() * 2 / 3); }, 4.5},
    {"schema", "time axis labels",
     [](GalleryWindow& w) -> QWidget* { return w.Component<vx::TvxSchema>()->GetScaler(); },
     [](QWidget* w) { return QRect(w->width() / 2, 0, w->width() / 2, w->height()); }, 4.5},
    {"schema", "column titles", [](GalleryWindow& w) -> QWidget* { return w.Component<vx::TvxSchema>()->GetHeader(); },
     [](QWidget* w) { return QRect(0, 0, w->width(), w->height()); }, 4.5},
    {"grid", "cell texts", [](GalleryWindow& w) -> QWidget* { return w.Component<vx::TBabGridView_Custom>(); },
     [](QWidget* w) { return QRect(0, 30, w->width(), 60); }, 4.5},
    {"columngrid", "cell and nested grid texts",
     [](GalleryWindow& w) -> QWidget* { return w.Component<vx::TBabGridView_Custom>(); },
     [](QWidget* w) { return QRect(0, 22, w->width(), 80); }, 4.5},
    {"scaler", "labels", [](GalleryWindow& w) -> QWidget* { return w.Component<vx::TvxDateScaler>(); },
     [](QWidget* w) { return QRect(0, 0, w->width(), w->height()); }, 4.5},
    {"tree", "node texts", [](GalleryWindow& w) -> QWidget* { return w.Component<vx::TvxTree>(); },
     [](QWidget* w) { return TopRows(w, 80); }, 4.5},
};

TEST_F(DarkPalette, TextsAndLinesContrastAndFollowASwitch) {
  for (const Place& p : kPlaces) {
    SCOPED_TRACE(std::string(p.page) + ": " + p.what);
    ApplyGalleryPalette(false);
    GalleryWindow w(p.page);
    QWidget* widget = p.widget(w);
    ASSERT_NE(widget, nullptr);
    const QRect region = p.region(widget);
    const Ink light = InkIn(widget->grab().toImage(), region);
    EXPECT_GT(vx::RelativeLuminance(light.background), 0.5);
    EXPECT_GE(light.Contrast(), p.least);

    // Switched while it shows: repainted in the new colours.
    ApplyGalleryPalette(true);
    vxtest::ProcessEventsUntilIdle();
    const Ink dark = InkIn(widget->grab().toImage(), region);
    EXPECT_LT(vx::RelativeLuminance(dark.background), 0.1) << std::hex << dark.background;
    EXPECT_GE(dark.Contrast(), p.least) << std::hex << dark.ink << " on " << dark.background;
  }
}

TEST_F(DarkPalette, ChartStripesFocusAndPaperFollowTheirRules) {
  ApplyGalleryPalette(true);
  GalleryWindow w("gantt");
  auto* g = w.Component<vx::TvxGant>();
  ASSERT_NE(g, nullptr);
  vx::TvxOffscreenPaint_GA* area = g->GetGA();
  area->SetFocus();
  vxtest::ProcessEventsUntilIdle();
  const QImage shot = area->grab().toImage();
  // The chart's background and stripes are the palette's, told apart.
  const vx::TColor back = vx::FromQColor(shot.pixel(area->width() - 30, 3 * 22 + 11));
  EXPECT_LT(vx::RelativeLuminance(back), 0.1) << std::hex << back;
  // The focus rectangle, 2 pixels in, shows on the dark background.
  const Ink edge = InkIn(shot, QRect(area->width() / 2, 2, 40, 1));
  EXPECT_GE(edge.Contrast(), 3.0) << std::hex << edge.ink << " on " << edge.background;

  // Printed under the dark screen palette, the page is light paper.
  auto dc = vx::TDeviceContext::CreateImage(1200, 900, 96);
  ASSERT_TRUE(dc);
  PrintPage(w.Page(), dc.get());
  const Ink paper = InkIn(*dc->Image(), QRect(0, 0, 1200, 900));
  EXPECT_GT(vx::RelativeLuminance(paper.background), 0.8) << std::hex << paper.background;
  // And the screen is dark again after the paper's picture was taken.
  const Ink after = InkIn(area->grab().toImage(), QRect(0, 60, area->width(), 60));
  EXPECT_LT(vx::RelativeLuminance(after.background), 0.1) << std::hex << after.background;
}

// The derived colours keep their contrast in any palette.
TEST(SystemColors, DerivedColoursKeepTheirContrast) {
  struct Case {
    const char* name;
    bool dark;
  };
  for (const Case& c : {Case{"light", false}, Case{"dark", true}}) {
    SCOPED_TRACE(c.name);
    ApplyGalleryPalette(c.dark);
    const vx::TSystemColors set = vx::SystemColorsFrom(QApplication::palette(), QPalette::Active);
    vx::TSystemColorsScope scope(set);
    const struct {
      vx::TColor ink, on;
      double least;
    } pairs[] = {{vx::clWindowText, vx::clWindow, 4.5},        {vx::clBtnText, vx::clBtnFace, 4.5},
                 {vx::clHighlightText, vx::clHighlight, 3.0},  {vx::clGrayText, vx::clWindow, 4.5},
                 {vx::clInfoText, vx::clInfoBk, 4.5},          {vx::clWindowText, vx::clStripe, 4.5},
                 {vx::clFocusRect, vx::clWindow, 3.0},         {vx::clInactiveHighlightText, vx::clInactiveHighlight, 4.5},
                 {vx::clWindowText, vx::clHiddenTime, 4.5}};
    for (const auto& p : pairs)
      EXPECT_GE(vx::ContrastRatio(p.ink, p.on), p.least) << std::hex << p.ink << " on " << p.on;
    // Stripes and grid lines stand apart from the window, a little and more.
    EXPECT_GT(vx::ContrastRatio(vx::clStripe, vx::clWindow), 1.05);
    EXPECT_GT(vx::ContrastRatio(vx::clGridLine, vx::clWindow), vx::ContrastRatio(vx::clStripe, vx::clWindow));
  }
  ApplyGalleryPalette(false);
  // Paper is the fixed light set whatever the application's palette.
  vx::TSystemColorsScope paper(vx::LightSystemColors());
  EXPECT_TRUE(vx::PaperColorsInForce());
  EXPECT_EQ(vx::ColorToRGB(vx::clWindow), vx::clWhite);
  EXPECT_EQ(vx::ColorToRGB(vx::clGridLine), vx::clSilver);
  // Mixing amounts out of range (NaN included) clamp to the ends.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(vx::MixColors(vx::clNavy, vx::clWhite, nan), vx::clNavy);
  EXPECT_EQ(vx::MixColors(vx::clNavy, vx::clWhite, 1e300), vx::clWhite);
  EXPECT_EQ(vx::MixColors(vx::clNavy, vx::clWhite, -5), vx::clNavy);
}

}  // namespace
