// The Gantt pages: a project plan in phases and tasks, with every bar style,
// milestones, texts, links of both routings, hidden weekends and nights and
// the today line; and a big plan of 100,000 rows whose bars are made as the
// rows come into view.
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>

#include "ChartForm.h"
#include "Gallery.h"
#include "LeafChart.h"
#include "GanttGridSide.h"
#include "GanttPlanActions.h"
#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/printing/vxGanttPrinting.h>

using namespace vx;

namespace {

const char* const kPhases[] = {"Survey",     "Foundations", "Structure", "Roofing", "Facade",   "Plumbing",
                               "Electrical", "Interiors",   "Landscape", "Fit-out", "Handover", "Aftercare"};
const char* const kTasks[] = {"Site check", "Permits",   "Excavation", "Formwork", "Rebar",      "Pour",
                              "Curing",     "Framing",   "Beams",      "Sheeting", "Insulation", "Cladding",
                              "Windows",    "Pipework",  "Wiring",     "Boards",   "Paint",      "Flooring",
                              "Fixtures",   "Test run",  "Snagging",   "Planting", "Paths",      "Lighting"};

// Tasks have no children: no expand button for them.
class PlanTree : public TGantTree {
public:
  using TGantTree::TGantTree;
  bool NeedsDummyNode(TvxDataEntity_Tree* e) override { return e->GetUserIntegerReference() == 0; }
};

class PlanChart : public TvxGant {
public:
  explicit PlanChart(TComponent* AOwner) : TvxGant(AOwner, DeferInitialize{}) { InitializeInConstructor(); }

protected:
  TGantTree* CreateTree(TComponent* theOwner) override { return new PlanTree(theOwner, this); }
};

TvxDataEntity_Kronit* Bar(TvxGant& g, TvxDataEntity_Tree* node, TDateTime from, TDateTime to, std::uint8_t style,
                          TColor color) {
  TvxDataEntity_Kronit* k = g.AddKronit(node, 0);
  k->SetStartDateTime(from);
  k->SetStopDateTime(to);
  k->SetStyle(style);
  k->SetColor(color);
  k->SetTopInset(2);
  k->SetBottomInset(2);
  return k;
}

void DrawFlag(TBitmap& b) {
  b.SetSize(16, 16);
  TCanvas* c = b.GetCanvas();
  c->GetBrush()->SetColor(0xC0C0C0);
  c->FillRect(Rect(0, 0, 16, 16));
  c->GetBrush()->SetColor(clBlack);
  c->FillRect(Rect(3, 1, 5, 15));
  c->GetBrush()->SetColor(RGB(0xD0, 0x30, 0x30));
  c->FillRect(Rect(5, 2, 14, 8));
}

// Working time: the next weekday at or after t, from 8 o'clock on.
TDateTime Working(TDateTime t) {
  TDateTime day = std::floor(t);
  while (DayOfWeek(day) == 1 || DayOfWeek(day) == 7) day += 1;
  return std::max(t, day + 8.0 / 24);
}

// A plan of twelve phases of about two dozen tasks each, chained by links.
void FillPlan(TvxGant& g, TDateTime theStart) {
  const TColor colours[] = {RGB(0x5B, 0x8D, 0xD6), RGB(0x6A, 0xB8, 0x6A), RGB(0xE3, 0xA2, 0x3B), RGB(0xB0, 0x6A, 0xC8)};
  TvxDataEntity_Kronit* previous = nullptr;
  TDateTime phaseStart = theStart;
  for (int p = 0; p < 12; ++p) {
    TvxDataEntity_Tree* phase = g.AddRootDataEntityTree();
    phase->SetText(std::to_string(p + 1) + ". " + kPhases[p]);
    phase->SetFontStyle(TFontStyles{fsBold});
    const int tasks = 18 + (p * 7) % 9;
    TDateTime t = phaseStart;
    TDateTime end = phaseStart;
    std::vector<TvxDataEntity_Kronit*> bars;
    for (int i = 0; i < tasks; ++i) {
      TvxDataEntity_Tree* node = g.AddDataEntityTree(phase);
      node->SetText(kTasks[(p * 5 + i) % 24] + std::string(" ") + std::to_string(i + 1));
      node->SetUserIntegerReference(1);
      t = Working(t);
      const TDateTime length = 1 + ((p + i) % 4);
      const int kind = (p + i) % 11;
      std::uint8_t style = gtsSquare;
      if (kind == 3) style = gtsPipe;
      if (kind == 5) style = gtsLineWEnd;
      if (kind == 7) style = gtsWave;
      if (kind == 9) style = gtsLine;
      TvxDataEntity_Kronit* k = Bar(g, node, t, t + length, style, colours[(p + i) % 4]);
      k->GetTimeItemTextCollection()->AddText(node->GetText(), 3, 1, 1);
      if (i % 5 == 4 && style == gtsSquare) {
        // A task split in two parts with a pause between: Left and Right
        // walk from one to the other.
        k->SetStopDateTime(t + 1);
        TvxDataEntity_Kronit* rest = Bar(g, node, Working(t + 2), Working(t + 2) + length, style, colours[(p + i) % 4]);
        rest->GetTimeItemTextCollection()->AddText(node->GetText() + " (cont.)", 3, 1, 1);
        k = rest;
      }
      k->GetTimeItemTextCollection()->AddTextEx(std::to_string((i * 37) % 100) + "%", 4, 1, 2, trpOutsideFar, trpInside);
      if (previous && i % 3 != 1) {
        TvxDataEntity_Link* link = g.AddLink();
        link->fLinkOwner = previous;
        link->fLinkedTo = k;
        link->SetStartFinishOption(tlsfFS);
        link->fLinkStyle = i % 2 ? tlsMSProject : tlsDefault;
      }
      previous = k;
      bars.push_back(k);
      end = std::max(end, k->GetStopDateTime());
      t += (i % 3 == 2) ? length : std::floor(length * 0.6);
      if (i == tasks / 2) {
        // A milestone half way.
        TvxDataEntity_Kronit* m = g.AddKronit(node, 1);
        m->SetStartDateTime(t);
        m->SetStopDateTime(t);
        m->SetStyle(i % 2 ? gtsImage : gtsRomb);
        m->SetFixedSize(14);
        m->SetColor(RGB(0xD0, 0x30, 0x30));
        m->GetTimeItemTextCollection()->AddTextEx("Review", 2, 0, 2, trpOutsideFar, trpInside);
      }
    }
    TvxDataEntity_Kronit* summary = Bar(g, phase, phaseStart, end, gtsSpan, clWindowText);
    summary->SetTopInset(4);
    phase->SetExpanded(p < 3);
    phaseStart = Working(phaseStart + std::floor((end - phaseStart) * 0.7));
  }
}

}  // namespace

// The plan on the chart's tree side, or on its grid side.
GalleryPage PlanPage(const char* theName, bool theGridSide) {
  TPanel* form = nullptr;
  auto* g = ChartOnForm<PlanChart>(form, 230, 22);
  auto* images = new TCustomImageList(form);
  TBitmap flag;
  DrawFlag(flag);
  images->Add(&flag);
  g->SetImageList(images);

  const TDateTime today = std::floor(Now());
  TvxDateScaler* s = g->GetDateScaler();
  s->SetHiddenDays(TvxHiddenDays{thdSAT, thdSUN});
  TvxHiddenHours nights;
  for (int h = 0; h < 7; ++h) nights.Include(static_cast<TvxHiddenHoursEnum>(h));
  for (int h = 19; h < 24; ++h) nights.Include(static_cast<TvxHiddenHoursEnum>(h));
  s->SetHiddenHours(nights);
  // Readable dates and times, in the hint as on the axis.
  s->SetDateFormat("ddd d mmm");
  s->SetTimeFormat("hh:nn");
  FillPlan(*g, Working(today - 9));
  s->SetStart(today - 10);
  s->SetStop(today + 11);
  g->SetTodayLineOnOff(true);
  g->SetTodayLineColor(RGB(0xE0, 0x20, 0x20));
  g->SetDrawShortLines(true);
  g->GetTreeView()->SetCurrentDataEntity(static_cast<TvxDataEntity_Tree*>(g->GetTreeView()->GetRootDataList()->GetItems(0)));
  AddGridSide(*g);
  auto side = [g](bool theGrid) {
    g->SetUseGridNotTree(theGrid);
    g->SetTreeWidth(theGrid ? 470 : 230);
  };
  side(theGridSide);

  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* help = new QLabel(QStringLiteral(
      "A plan of twelve phases; phases span their tasks. Weekends and nights are hidden; the red line is today. "
      "Drag a bar to move it (to another row too), its ends to resize it, Ctrl-drag to copy; Escape calls a drag "
      "off. Right click a bar (or press the menu key) for its menu. The wheel scrolls, Shift+wheel moves in time, "
      "Ctrl+wheel zooms; arrows walk the bars, Alt+arrows move the bar in time or to another row, Alt+Shift and "
      "Alt+Ctrl+Left/Right move its finish or start. On the grid side, edit a start, finish, duration or progress in place "
      "(double click or F2); click a header to sort."));
  help->setWordWrap(true);
  layout->addWidget(help);
  auto* gridSide = new QCheckBox(QStringLiteral("Grid side: task, start, finish, duration and progress"));
  gridSide->setChecked(theGridSide);
  QObject::connect(gridSide, &QCheckBox::toggled, [side](bool on) { side(on); });
  // Links drawn with the mouse: from one bar to another, finish to start.
  auto* linking = new QCheckBox(QStringLiteral("Draw links: drag from one bar to another"));
  QObject::connect(linking, &QCheckBox::toggled, [g](bool on) { g->SetStickyMode(on ? smDependency : smNone); });
  g->OnDependencyAction = [g, linking](TvxDataEntity_Kronit* from, TvxDataEntity_Kronit* to) {
    if (from && to && from != to) {
      TvxDataEntity_Link* link = g->AddLink();
      link->fLinkOwner = from;
      link->fLinkedTo = to;
      link->SetStartFinishOption(tlsfFS);
      g->InvalidateGA();
    }
    if (linking->isChecked()) g->SetStickyMode(smDependency);  // stays on until unticked
  };
  // A Ctrl-drag asks for a copy: a bar like the dragged one, at the drop.
  g->OnTimeCopy = [g](TvxGant_ComBasic*, TvxDataEntity_Kronit* source, TGantRow*, TGantRow* to, TDateTime start,
                      TDateTime stop, TvxDataEntity_Kronit*& made) {
    if (!source || !to) return;
    made = to->GetTreeNode() ? g->AddKronit(to->GetTreeNode(), 0)
                             : to->GetGridTreeNode() ? g->GridNode_AddKronit(to->GetGridTreeNode(), 0) : nullptr;
    if (!made) return;
    made->SetStartDateTime(start);
    made->SetStopDateTime(stop);
    made->SetStyle(source->GetStyle());
    made->SetColor(source->GetColor());
    made->SetTopInset(2);
    made->SetBottomInset(2);
  };
  AnswerPlanEdits(*g, [g](TvxDataEntity_Kronit* k) { ShowBarInGrid(*g, k); });
  AddBarMenu(*g, page);
  auto* options = new QHBoxLayout;
  options->addWidget(gridSide);
  options->addWidget(linking);
  options->addStretch(1);
  layout->addLayout(options);
  layout->addWidget(form, 1);
  GalleryPage result{theName, page, nullptr, nullptr, nullptr, {g}, nullptr};
  // Seven weeks of the plan on A4 landscape, with the side the page shows:
  // pages across for the time, down for the rows.
  auto setup = [today] {
    TPrintSetup setup;
    setup.fStart = today - 10;
    setup.fStop = today + 39;
    return setup;
  };
  result.printPdf = [g, setup](const std::string& pdf) { return TvxPrintGantt::PrintToPdf(g, pdf, setup()); };
  result.printPages = [g, setup](TDeviceContext* dc) { return TvxPrintGantt::PrintPages(g, dc, setup()); };
  return result;
}

GalleryPage MakeGanttPage() { return PlanPage("gantt", false); }

GalleryPage MakeGanttGridPage() { return PlanPage("ganttgrid", true); }

GalleryPage MakeBigPlanPage() {
  TPanel* form = nullptr;
  auto* g = ChartOnForm<LeafChart>(form, 160, 20);
  const TDateTime day0 = std::floor(Now()) - 20;
  // Each row declares ten bars; they are made when the row is first drawn.
  g->OnVirtualLoad_Kronit = [day0](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
    const int row = k->GetRow()->GetTreeNode()->ListIndex();
    const int i = k->ListIndex();
    const TDateTime start = day0 + (row * 3 + i * 4) % 50 + (i % 3) * 0.25;
    k->SetStartDateTime(start);
    k->SetStopDateTime(start + 1 + (row + i) % 3);
    k->SetColor(i % 2 ? RGB(0x5B, 0x8D, 0xD6) : RGB(0x6A, 0xB8, 0x6A));
    k->SetTopInset(2);
    k->SetBottomInset(2);
  };
  g->GetTreeView()->BeginUpdate();
  for (int r = 0; r < 100000; ++r) {
    TvxDataEntity_Tree* node = g->AddRootDataEntityTree();
    node->SetText("Resource " + std::to_string(r + 1));
    g->GetRowList()->FindRowFromTreeNode(node)->AddDataList()->AddUnloaded(10);
  }
  g->GetTreeView()->EndUpdate();
  g->GetDateScaler()->SetStart(day0);
  g->GetDateScaler()->SetStop(day0 + 30);

  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* help = new QLabel(QStringLiteral(
      "100,000 rows of ten bars each. A row's bars are made when the row first comes into view."));
  help->setWordWrap(true);
  layout->addWidget(help);
  layout->addWidget(form, 1);
  GalleryPage result{"bigplan", page, nullptr, nullptr, nullptr, {g}, nullptr};
  // The first two A4 pages of the plan, page by page as the application
  // decides: it starts each sheet and stops after the second.
  result.print = [g](TDeviceContext* dc) {
    const double scale = dc->PixelsPerInch() / 96.0;
    const int margin = dc->PixelsPerInch() / 2;
    g->OnPrintToHdcNewPage = [dc, margin](TvxGant_ComBasic*, int page, int& h, int&, bool& go, bool&) {
      go = page <= 2;
      if (go && page > 1) dc->NewPage();
      h = dc->Height() - margin;
    };
    int w = 0, h = 0;
    const int area = static_cast<int>((dc->Width() - 2 * margin) / scale) - 160;
    TvxPrintGantt::Print(g, dc, margin, margin, scale, scale, 160, nullptr, -1, false, g->GetDateScaler()->GetStart(),
                         g->GetDateScaler()->GetStop(), area, g->GetScalerHeight(), w, h);
    g->OnPrintToHdcNewPage = nullptr;
  };
  return result;
}
