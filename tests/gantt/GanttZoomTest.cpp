// The chart zoomed out: its lines meet the scaler's marks, texts keep to
// their room, the area follows a drag on the axis, links end at bar edges.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "GanttSupport.h"
#include <vxplan/platform/rtl/Color.h>

using namespace vx;
using vxtest::TestGant;

namespace {

constexpr TColor kBack = 0xF0F0F0, kPyjamas = 0xE8E8E8;

struct Zoomed : TestGant {
  using TestGant::fLinkPainter;
  using TestGant::fStartScaleWhenDrawn;  // the window the area's last paint showed
  TBitmap area, axis;
  Zoomed() {
    SetGantBackColor(kBack);
    SetGantPyjamasColor(kPyjamas);
  }
  void Paint() {
    GetTreeView()->EnsureDisplayUpToDate();
    GetGA()->Invalidate();
    GetGA()->PaintTo(&area);
    GetDateScaler()->Invalidate();
    GetDateScaler()->PaintTo(&axis);
  }
  TColor AreaAt(int x, int y) { return ColorToRGB(area.GetCanvas()->GetPixel(x, y)); }
  TColor AxisAt(int x, int y) { return ColorToRGB(axis.GetCanvas()->GetPixel(x, y)); }
  // The columns of the area's top row in theColor.
  std::set<int> AreaColumns(TColor theColor) {
    std::set<int> xs;
    for (int x = 0; x < area.GetWidth(); ++x)
      if (AreaAt(x, 3) == theColor) xs.insert(x);
    return xs;
  }
};

}  // namespace

// Every line of the area stands on a tick of the scaler, and every long tick
// has its line, at every zoom and with hidden time.
TEST(GanttZoom, AreaLinesMeetTheScalerTicks) {
  struct Case {
    const char* name;
    double days;
    bool hideWeekends;
    bool hideNights;
  };
  const Case cases[] = {
      {"a week", 7, false, false},         {"six weeks", 42, false, false}, {"four months", 120, false, false},
      {"five weeks", 35, false, false},    {"a year", 365, false, false},   {"four years", 1500, false, false},
      {"a day, nights hidden", 1, false, true}, {"a month, weekends hidden", 30, true, false},
      {"seven weeks, weekends hidden", 49, true, false},
      {"four months, weekends hidden", 120, true, false}, {"a year, weekends hidden", 365, true, false},
      {"a fortnight, nights and weekends hidden", 14, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Zoomed g;
    TvxDateScaler* s = g.GetDateScaler();
    if (c.hideWeekends) s->SetHiddenDays(TvxHiddenDays{thdSAT, thdSUN});
    if (c.hideNights) {
      TvxHiddenHours nights;
      for (int h = 0; h < 24; ++h)
        if (h < 7 || h >= 19) nights.Include(static_cast<TvxHiddenHoursEnum>(h));
      s->SetHiddenHours(nights);
    }
    s->SetStart(TestGant::kDay0);
    s->SetStop(TestGant::kDay0 + c.days);
    g.SetDrawShortLines(true);
    g.SetDrawLongLines(true);
    g.Paint();
    const int bottom = s->GetHeight() - 1;
    const std::set<int> longs = g.AreaColumns(ColorToRGB(clBackground));
    const std::set<int> shorts = g.AreaColumns(0x808080);
    EXPECT_GE(longs.size() + shorts.size(), 3u);
    for (int x : longs) EXPECT_EQ(g.AxisAt(x, bottom - 12), clBlack) << "long line at " << x << " has no long tick";
    for (int x : shorts) EXPECT_EQ(g.AxisAt(x, bottom), clBlack) << "short line at " << x << " has no tick";
    // The long ticks, from the scaler's picture: each has its line.
    for (int x = 1; x + 1 < g.area.GetWidth(); ++x) {
      const bool longTick = g.AxisAt(x, bottom) == clBlack && g.AxisAt(x, bottom - 12) == clBlack &&
                            g.AxisAt(x, bottom - 13) == clBlack;
      EXPECT_TRUE(!longTick || longs.count(x)) << "long tick at " << x << " has no line";
    }
    // Thinned short lines stay regular: between two lines, short or long,
    // lies at least one tick that got no line.
    std::vector<double> ticks;
    s->GetScaleLinePixels(false, 0, ticks);
    if (ticks.size() > 2 && ticks[2] - ticks[1] < 30) {
      std::set<int> lines = shorts;
      lines.insert(longs.begin(), longs.end());
      const std::vector<int> xs(lines.begin(), lines.end());
      for (size_t i = 1; i < xs.size(); ++i) {
        int between = 0;
        for (double p : ticks)
          if (p > xs[i - 1] + 0.5 && p < xs[i] - 0.5) ++between;
        EXPECT_GE(between, 1) << "lines at " << xs[i - 1] << " and " << xs[i];
      }
    }
  }
}

// While the axis is dragged, the area is painted with each new window, not
// only after the release; the application's OnChange of the scaler is its own
// and the chart's events still come after the drag.
TEST(GanttZoom, AreaFollowsADragOnTheAxis) {
  struct Case {
    const char* name;
    Qt::KeyboardModifiers keys;
    int dx;
  };
  const Case cases[] = {
      {"zoom out", Qt::NoModifier, 60}, {"zoom in", Qt::NoModifier, -40}, {"pan", Qt::ControlModifier, 80}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Zoomed g;
    vxtest::ShowWindow(&g);
    TvxDateScaler* s = g.GetDateScaler();
    int appChanges = 0, chartChanges = 0;
    s->OnChange = [&](TObject*) { ++appChanges; };
    g.OnScalerChange = [&](TvxGant_ComBasic*, TDateTime, TDateTime) { ++chartChanges; };
    vxtest::ProcessEventsUntilIdle();
    appChanges = chartChanges = 0;
    const int x0 = 300, y = 35;
    vxtest::MousePress(s, x0, y, Qt::LeftButton, c.keys);
    TDateTime lastStop = s->GetStop();
    for (int step = 1; step <= 4; ++step) {
      vxtest::MouseMove(s, x0 + c.dx * step / 4, y);
      vxtest::ProcessEventsUntilIdle();
      EXPECT_NE(s->GetStop(), lastStop) << "step " << step;
      lastStop = s->GetStop();
      // The area's last paint showed the scaler's present window.
      EXPECT_EQ(g.fStartScaleWhenDrawn, s->GetStart()) << "step " << step;
    }
    vxtest::MouseRelease(s, x0 + c.dx, y, Qt::LeftButton, c.keys);
    vxtest::ProcessEventsUntilIdle();
    EXPECT_EQ(g.fStartScaleWhenDrawn, s->GetStart());
    EXPECT_GE(appChanges, 1);
    EXPECT_EQ(appChanges, chartChanges);  // both hear every delivered change
  }
}

// A text cut to its room: whole, with an ellipsis after three characters or
// more, or not at all.
TEST(GanttZoom, TextsFitTheirRoom) {
  TBitmap b(10, 10);
  TCanvas* c = b.GetCanvas();
  c->GetFont()->SetSize(9);
  const std::string label = "Excavation 3", umlauts = "\xC3\x9C\x62\x65rg\xC3\xA4nge";  // "Übergänge"
  const int whole = c->TextWidth(label);
  const std::string ellipsis = "\xE2\x80\xA6";
  struct Case {
    std::string text;
    int room;
    const char* expect;  // "whole", "cut" or "none"
  };
  const Case cases[] = {
      {label, whole + 20, "whole"},  {label, whole, "whole"},     {label, whole - 1, "cut"},
      {label, whole / 2, "cut"},     {label, 3, "none"},          {label, 0, "none"},
      {label, -50, "none"},          {"37%", c->TextWidth("37%") - 1, "none"},
      {"37%", c->TextWidth("37%"), "whole"}, {umlauts, c->TextWidth(umlauts) - 2, "cut"},
      {"", 100, "none"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text + " in " + std::to_string(k.room));
    const std::string fit = TvxTimeItemTextCollection::FitToRoom(c, k.text, k.room);
    if (std::string(k.expect) == "whole") {
      EXPECT_EQ(fit, k.text);
    } else if (std::string(k.expect) == "none") {
      EXPECT_EQ(fit, "");
    } else {
      ASSERT_GT(fit.size(), ellipsis.size());
      EXPECT_EQ(fit.substr(fit.size() - ellipsis.size()), ellipsis);
      const std::string kept = fit.substr(0, fit.size() - ellipsis.size());
      EXPECT_EQ(k.text.compare(0, kept.size(), kept), 0);  // a prefix
      EXPECT_GE(kept.size(), 3u);
      EXPECT_LE(c->TextWidth(fit), k.room);
      EXPECT_NE(static_cast<unsigned char>(k.text[kept.size()]) & 0xC0, 0x80u);  // cut between characters
    }
  }
}

// A label is fitted once and kept: drawn again after its room, its font or
// its text changed, it looks exactly as a label drawn so for the first time.
TEST(GanttZoom, AKeptFitFollowsRoomFontAndText) {
  auto draw = [](TvxTimeItemTextCollection& theTexts, int theRoom, int theSize) {
    TBitmap b(200, 20);
    TCanvas* c = b.GetCanvas();
    c->GetBrush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 200, 20));
    theTexts.fOnStyleSet = [theSize](TvxTimeItemTextCollection*, TCanvas* canvas, int) {
      canvas->GetFont()->SetSize(theSize);
    };
    theTexts.DrawToCanvasInsideRect(Rect(0, 0, theRoom, 20), c, 1, 1);
    return b.Image().copy();
  };
  auto fresh = [&draw](const std::string& theText, int theRoom, int theSize) {
    TvxTimeItemTextCollection texts;
    texts.AddText(theText, 0, 0, 0);
    return draw(texts, theRoom, theSize);
  };
  // The steps below change what is drawn.
  ASSERT_NE(fresh("Foundation works", 60, 9), fresh("Foundation works", 140, 9));
  ASSERT_NE(fresh("Foundation works", 140, 9), fresh("Foundation works", 140, 14));
  TvxTimeItemTextCollection kept;
  TvxTimeItemText* text = kept.AddText("Foundation works", 0, 0, 0);
  struct Step {
    const char* text;
    int room, size;
  } const steps[] = {{"Foundation works", 60, 9},  {"Foundation works", 60, 9}, {"Foundation works", 140, 9},
                     {"Foundation works", 140, 14}, {"Roof", 140, 14},           {"Roofing and gutters", 45, 14}};
  for (const Step& k : steps) {
    SCOPED_TRACE(std::string(k.text) + " in " + std::to_string(k.room) + " at " + std::to_string(k.size));
    if (text->GetText() != k.text) text->SetText(k.text);
    EXPECT_EQ(draw(kept, k.room, k.size), fresh(k.text, k.room, k.size));
  }
}

// A text beside a bar ends before the next bar of its row: it is cut or left
// out, never drawn over its neighbour or the neighbour's text.
TEST(GanttZoom, TextsBesideABarKeepOutOfItsNeighbours) {
  struct Case {
    const char* name;
    std::string text;
    double gap;  // days between the bars (100 pixels a day)
    bool drawn;  // the text beside the first bar
  };
  const Case cases[] = {{"far apart", "100%", 1, true},
                        {"too close", "100%", 0.15, false},
                        {"touching", "100%", 0, false},
                        {"long text, cut", "Finished two weeks late", 0.5, true}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Zoomed g;
    g.SetDrawLongLines(false);
    TvxDataEntity_Tree* n = g.Node(nullptr, "n");
    // The neighbour first: drawn before the first bar, it would be painted over.
    TvxDataEntity_Kronit* b = g.Item(n, 1.5 + k.gap, 3 + k.gap);
    TvxDataEntity_Kronit* a = g.Item(n, 1, 1.5);
    a->SetColor(0xC0C0C0);
    b->SetColor(0xC0C0C0);
    a->GetTimeItemTextCollection()->AddTextEx(k.text, 4, 1, 1, trpOutsideFar, trpInside);
    b->GetTimeItemTextCollection()->AddText("Neighbour", 3, 1, 1);
    g.Paint();
    const TRect A = g.RectFromDataEntity(a), B = g.RectFromDataEntity(b);
    auto ink = [&](int x0, int x1) {
      int count = 0;
      for (int x = x0; x < x1; ++x)
        for (int y = A.Top + 1; y < A.Bottom - 1; ++y) {
          const TColor p = g.AreaAt(x, y);
          if (GetRValue(p) < 0x80 && GetGValue(p) < 0x80) ++count;
        }
      return count;
    };
    EXPECT_EQ(ink(A.Right + 1, B.Left) > 0, k.drawn);
    EXPECT_TRUE(B.Left - A.Right <= 2 || ink(B.Left - 2, B.Left) == 0);  // a gap before the neighbour
    // The neighbour's own text is as it is without the first bar's.
    const int withText = ink(B.Left + 1, B.Left + 60);
    a->GetTimeItemTextCollection()->DropText(0);
    g.Paint();
    EXPECT_EQ(ink(B.Left + 1, B.Left + 60), withText);
  }
}

namespace {

// Whether the segment from p to q runs through the inside of r (its frame
// and the pixels around it excluded).
bool Crosses(TPoint p, TPoint q, const TRect& r) {
  const TRect inside = InflateRect(r, -1, -1);
  if (p.X == q.X)
    return p.X > inside.Left && p.X < inside.Right - 1 && std::max(p.Y, q.Y) > inside.Top &&
           std::min(p.Y, q.Y) < inside.Bottom - 1;
  return p.Y > inside.Top && p.Y < inside.Bottom - 1 && std::max(p.X, q.X) > inside.Left &&
         std::min(p.X, q.X) < inside.Right - 1;
}

}  // namespace

// A link comes into its target from outside, at the middle of a side or onto
// the top or bottom edge, and runs through neither bar on its way.
TEST(GanttZoom, LinksEndAtTheBarEdge) {
  struct Case {
    const char* name;
    TLinkStartFinishOption option;
    TLinkStyle style;
    double a0, a1, b0, b1;  // days
    int bRow;               // the target's row (the owner's is 0)
  };
  const Case cases[] = {
      {"finish to start, after", tlsfFS, tlsDefault, 1, 2, 3, 4, 1},
      {"finish to start, overlapping", tlsfFS, tlsDefault, 1, 3, 2, 4, 1},
      {"finish to start, just after", tlsfFS, tlsDefault, 1, 2, 2.02, 3, 1},
      {"finish to start, before", tlsfFS, tlsDefault, 3, 4, 1, 2, 1},
      {"finish to start, upwards", tlsfFS, tlsDefault, 1, 3, 2, 4, -1},
      {"finish to start, same row", tlsfFS, tlsDefault, 1, 2, 3, 4, 0},
      {"finish to finish", tlsfFF, tlsDefault, 1, 2, 1.5, 3, 1},
      {"start to finish", tlsfSF, tlsDefault, 2, 3, 1, 4, 1},
      {"start to start", tlsfSS, tlsDefault, 2, 3, 1, 4, 1},
      {"normal, backwards", tlsfNormal, tlsDefault, 3, 4, 1, 2.5, 1},
      {"normal, forwards", tlsfNormal, tlsDefault, 1, 2, 3, 4, 1},
      {"project, same row: routed as the default", tlsfFS, tlsMSProject, 1, 2, 3, 4, 0},
      {"project, overlapping", tlsfFS, tlsMSProject, 1, 3, 2, 4, 1},
      {"project, after", tlsfFS, tlsMSProject, 1, 2, 3, 4, 1},
      {"project, upwards", tlsfFS, tlsMSProject, 1, 3, 2, 4, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Zoomed g;
    TvxDataEntity_Tree* rows[3] = {g.Node(nullptr, "0"), g.Node(nullptr, "1"), g.Node(nullptr, "2")};
    const int ownerRow = c.bRow < 0 ? 1 : 0, targetRow = c.bRow < 0 ? 0 : (c.bRow == 0 ? 0 : ownerRow + c.bRow);
    TvxDataEntity_Kronit* a = g.Item(rows[ownerRow], c.a0, c.a1);
    TvxDataEntity_Kronit* b = g.Item(rows[targetRow], c.b0, c.b1, c.bRow == 0 ? 1 : 0);
    for (TvxDataEntity_Kronit* k : {a, b}) {  // bars with room between rows, as charts have them
      k->SetTopInset(2);
      k->SetBottomInset(2);
    }
    TvxDataEntity_Link* link = g.AddLink();
    link->fLinkOwner = a;
    link->fLinkedTo = b;
    link->fLinkStyle = c.style;
    link->SetStartFinishOption(c.option);
    g.GetTreeView()->EnsureDisplayUpToDate();
    TPoint start, stop;
    TLinkStyle style = tlsDefault;
    TLinkBars bars;
    ASSERT_TRUE(g.fLinkPainter.LinkEnds(link, start, stop, style, &bars));
    const TLinkRoute route = g.fLinkPainter.RouteLink(start, stop, style, link, Rect(0, 0, 2000, 2000), &bars);
    ASSERT_GE(route.lineCount, 2);
    ASSERT_GT(route.headCount, 0);
    const TRect A = bars.owner, B = bars.target;
    const TPoint tip = route.head[0];
    // Which ends the option joins: start is the left edge, finish the right.
    const bool backwards = c.option == tlsfNormal && c.a0 + c.a1 >= c.b0 + c.b1;
    const bool fromStart = c.option == tlsfSS || c.option == tlsfSF || backwards;
    const bool toFinish = c.option == tlsfSF || c.option == tlsfFF || backwards;
    EXPECT_EQ(route.line[0], Point(fromStart ? A.Left : A.Right, A.Top + A.Height() / 2));
    EXPECT_EQ(bars.arrive < 0, toFinish);
    EXPECT_EQ(style, c.bRow == 0 ? tlsDefault : c.style);
    EXPECT_EQ(route.filledHead, style == tlsMSProject);
    if (style == tlsMSProject) {
      // Onto the top or bottom edge, within the bar's width.
      // (Rectangles end before their Bottom: an arrow coming up stops a pixel short.)
      EXPECT_TRUE(tip.Y == B.Top - 1 || tip.Y == B.Bottom + 1) << tip.Y << " " << B.Top << " " << B.Bottom;
      EXPECT_GE(tip.X, B.Left);
      EXPECT_LE(tip.X, B.Right);
    } else {
      // Into a side, at its middle, from outside.
      EXPECT_EQ(tip.Y, B.Top + B.Height() / 2);
      const TPoint before = route.line[route.lineCount - 2];
      EXPECT_EQ(before.Y, tip.Y);
      if (bars.arrive > 0) {
        // Start-to-start links end on the frame itself.
        EXPECT_EQ(tip.X, c.option == tlsfSS ? B.Left : B.Left - 1);
        EXPECT_LT(before.X, tip.X);
      } else {
        EXPECT_EQ(tip.X, B.Right);
        EXPECT_GT(before.X, tip.X);
      }
    }
    for (int k = 1; k < route.lineCount; ++k) {
      EXPECT_FALSE(Crosses(route.line[k - 1], route.line[k], A)) << "segment " << k << " through the owner";
      EXPECT_FALSE(Crosses(route.line[k - 1], route.line[k], B)) << "segment " << k << " through the target";
    }
  }
}
