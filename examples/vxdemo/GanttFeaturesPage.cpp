// The Gantt features page: a fortnight of site equipment and crews whose
// bookings overlap, laid out side by side in each row by the collision
// layout; service slots drawn by the application itself; vertical stripes
// over time; and the chart on a tab beside a page of the application's own.
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "Gallery.h"
#include "ChartForm.h"
#include "LeafChart.h"
#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/StdCtrls.h>
#include <vxplan/printing/vxGanttPrinting.h>

using namespace vx;

namespace {

const char* const kResources[] = {"Crane 1",       "Crane 2",   "Crew North", "Crew South", "Excavator",
                                   "Concrete pump", "Scaffolds", "Inspector",  "Electricians", "Plumbers"};
const char* const kJobs[] = {"Lift beams", "Pour slab", "Trenching", "Formwork", "Wiring",
                             "Pipework",   "Survey",    "Rebar",     "Cladding", "Checks"};
const TColor kJobColours[] = {RGB(0x5B, 0x8D, 0xD6), RGB(0x6A, 0xB8, 0x6A), RGB(0xE3, 0xA2, 0x3B),
                              RGB(0xB0, 0x6A, 0xC8)};
// Service slots: the layer the application draws itself.
constexpr int kServiceLayer = 1;
const TColor kServiceFill = RGB(0xF6, 0xE7, 0xB8);
const TColor kServiceInk = RGB(0x9A, 0x6A, 0x10);

TvxDataEntity_Kronit* Booking(TvxGant& g, TvxDataEntity_Tree* node, int theLayer, TDateTime from, TDateTime to) {
  TvxDataEntity_Kronit* k = g.AddKronit(node, theLayer);
  k->SetStartDateTime(from);
  k->SetStopDateTime(to);
  k->SetTopInset(0);
  k->SetBottomInset(1);
  return k;
}

// Every resource has jobs that overlap now and then, and a service slot or
// two across them.
void FillResources(TvxGant& g, TDateTime theMonday) {
  for (int r = 0; r < 10; ++r) {
    TvxDataEntity_Tree* node = g.AddRootDataEntityTree();
    node->SetText(kResources[r]);
    for (int i = 0; i < 6; ++i) {
      const TDateTime start = theMonday + (r * 2 + i * 5) % 12 + (8 + (r + i) % 5) / 24.0;
      const TDateTime length = 0.6 + ((r * 3 + i) % 5) * 0.5;
      TvxDataEntity_Kronit* k = Booking(g, node, 0, start, start + length);
      k->SetStyle(gtsSquare);
      k->SetColor(kJobColours[(r + i) % 4]);
      k->GetTimeItemTextCollection()->AddText(kJobs[(r + i * 3) % 10], 3, 1, 1);
    }
    const TDateTime service = theMonday + (r * 3 + 1) % 11 + 0.25;
    TvxDataEntity_Kronit* s = Booking(g, node, kServiceLayer, service, service + 1.5);
    s->SetStyle(gtsUser);
    s->SetColor(kServiceInk);
  }
}

// A service slot: hatched, framed, labelled; drawn here, not by the chart.
void DrawService(TvxDataEntity_Kronit* theItem, TCanvas* c, const TRect& r) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(kServiceFill);
  c->FillRect(r);
  c->GetPen()->SetStyle(psSolid);
  c->GetPen()->SetWidth(1);
  c->GetPen()->SetColor(theItem->GetColor());
  // Diagonals 8 pixels apart, clipped to the slot by hand.
  for (int d = 0; d < r.Width() + r.Height(); d += 8) {
    const int x0 = r.Left + std::max(0, d - r.Height()), y0 = r.Bottom - 1 - std::min(d, r.Height() - 1);
    const int x1 = r.Left + std::min(d, r.Width() - 1), y1 = r.Bottom - 1 - std::max(0, d - r.Width() + 1);
    c->MoveTo(x0, y0);
    c->LineTo(x1, y1);
  }
  c->GetBrush()->SetColor(theItem->GetColor());
  c->FrameRect(r);
  c->GetBrush()->SetStyle(bsClear);
  c->GetFont()->SetColor(RGB(0x40, 0x2A, 0x00));
  c->GetFont()->SetStyle(TFontStyles{fsBold});
  c->TextOutClipped(r, r.Left + 4, r.Top + 1, "Service");
  c->GetFont()->SetStyle(TFontStyles{});
  c->GetBrush()->SetStyle(bsSolid);
}

// The bookings of theRow, one a line, for the Details page.
std::string Describe(TGantRow* theRow) {
  if (!theRow || !theRow->GetTreeNode()) return "Pick a resource in the tree to see its bookings here.";
  // In order of their start.
  std::vector<std::pair<TDateTime, std::string>> lines;
  theRow->ForEachItem([&lines](TvxDataEntity_Kronit* k) {
    const std::string what = k->GetDrawStyle() == gtsUser ? std::string("Service") : std::string("Job");
    lines.emplace_back(k->GetStartDateTime(), what + ": " + FormatDateTime("ddd d mmm hh:nn", k->GetStartDateTime()) +
                                                  " to " + FormatDateTime("ddd d mmm hh:nn", k->GetStopDateTime()));
    return true;
  });
  std::sort(lines.begin(), lines.end());
  std::string text = theRow->GetTreeNode()->GetText() + "\n";
  for (const auto& line : lines) text += "\n" + line.second;
  return text;
}

void SetCollisions(TvxGant& g, bool theOn, bool theAcrossLayers) {
  TvxDataList* roots = g.GetTreeView()->GetRootDataList();
  for (int i = 0; i < roots->Count(); ++i)
    if (TGantRow* row = g.GetRowList()->FindRowFromTreeNode(static_cast<TvxDataEntity_Tree*>(roots->GetItems(i)))) {
      row->SetCollisionDetectionBetweenLayers(theAcrossLayers);
      row->SetCollisionDetection(theOn);
    }
}

// The page control's Details sheet: the current resource's bookings.
void AddDetailsSheet(TvxGant& g) {
  auto* sheet = new TTabSheet(&g);
  sheet->SetCaption("Details");
  auto* memo = new TCustomMemo(sheet);
  memo->SetParent(sheet);
  memo->SetAlign(alClient);
  memo->SetText(Describe(nullptr));
  g.AddTabSheet(
      sheet, [memo](TGantRow* theRow) { memo->SetText(Describe(theRow)); }, nullptr, nullptr, nullptr);
}

QCheckBox* Option(QHBoxLayout* theRow, const char* theText, bool theOn, const char* theName) {
  auto* box = new QCheckBox(QString::fromUtf8(theText));
  box->setChecked(theOn);
  box->setObjectName(QString::fromUtf8(theName));
  theRow->addWidget(box);
  return box;
}

}  // namespace

GalleryPage MakeGanttFeaturesPage() {
  TPanel* form = nullptr;
  auto* g = ChartOnForm<LeafChart>(form, 150, 58);  // room for three or four bands of overlapping bookings
  const TDateTime today = std::floor(Now());
  const TDateTime monday = today - ((DayOfWeek(today) + 5) % 7);
  TvxDateScaler* s = g->GetDateScaler();
  s->SetDateFormat("ddd d mmm");
  s->SetTimeFormat("hh:nn");
  FillResources(*g, monday);
  s->SetStart(monday);
  s->SetStop(monday + 14);
  g->OnUserDrawTime = [](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, TCanvas* c, const TRect& r) {
    if (k && c) DrawService(k, c, r);
  };
  SetCollisions(*g, true, true);
  AddDetailsSheet(*g);

  auto* page = new QWidget;
  QVBoxLayout* layout = PageWithHelp(page, QStringLiteral(
      "Site resources over two weeks. Bookings of a resource that overlap are laid out side by side in bands of "
      "its row (the collision layout); the hatched service slots are drawn by the application itself. Drag a "
      "booking onto another and the row lays itself out again. Vertical stripes alternate between the major "
      "scale lines and move with the time. With tab sheets the chart sits on a tab beside a Details page that "
      "lists the bookings of the resource picked in the tree."));
  auto* options = new QHBoxLayout;
  QCheckBox* collide = Option(options, "Overlapping bookings side by side", true, "collisions");
  QCheckBox* across = Option(options, "Service slots collide with jobs", true, "acrossLayers");
  QCheckBox* stripes = Option(options, "Vertical stripes", false, "verticalStripes");
  QCheckBox* tabs = Option(options, "Tab sheets", false, "tabSheets");
  options->addStretch(1);
  layout->addLayout(options);
  auto relayout = [g, collide, across] { SetCollisions(*g, collide->isChecked(), across->isChecked()); };
  QObject::connect(collide, &QCheckBox::toggled, page, relayout);
  QObject::connect(across, &QCheckBox::toggled, page, relayout);
  QObject::connect(stripes, &QCheckBox::toggled, page, [g](bool on) { g->SetVerticalPyjamas(on); });
  QObject::connect(tabs, &QCheckBox::toggled, page, [g](bool on) { g->SetUseTabSheets(on); });
  layout->addWidget(form, 1);

  GalleryPage result{"ganttfeatures", page, nullptr, nullptr, nullptr, {g}, nullptr};
  auto setup = [monday] {
    TPrintSetup setup;
    setup.fStart = monday;
    setup.fStop = monday + 14;
    return setup;
  };
  result.printPdf = [g, setup](const std::string& pdf) { return TvxPrintGantt::PrintToPdf(g, pdf, setup()); };
  result.printPages = [g, setup](TDeviceContext* dc) { return TvxPrintGantt::PrintPages(g, dc, setup()); };
  return result;
}
