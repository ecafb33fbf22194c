// A Gantt chart of a small plan: three phases with their tasks in the tree,
// a bar for every task, a summary bar for every phase, and links from each
// task to the next. Dragging a bar moves it; the window's title says where
// it went.
//
//   gantt_minimal                  opens a window
//   gantt_minimal --render FILE    renders the chart to FILE (PNG) and exits
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/Forms.h>

using namespace vx;

namespace {

struct Task {
  const char* name;
  int startDay;  // days after the plan's start
  int days;
};

struct Phase {
  const char* name;
  Task tasks[3];
};

const Phase kPlan[] = {
    {"Design", {{"Sketches", 0, 3}, {"Review", 3, 2}, {"Drawings", 5, 4}}},
    {"Build", {{"Foundations", 9, 5}, {"Walls", 14, 6}, {"Roof", 20, 4}}},
    {"Finish", {{"Interiors", 24, 6}, {"Inspection", 30, 1}, {"Handover", 31, 1}}},
};

// Tasks have no children: no expand button in front of them. (By default
// every node may have children, made when it is first opened.)
class PlanTree : public TGantTree {
public:
  using TGantTree::TGantTree;
  bool NeedsDummyNode(TvxDataEntity_Tree* e) override { return e->GetLevel() == 0; }
};

class PlanChart : public TvxGant {
public:
  PlanChart() : TvxGant(nullptr, DeferInitialize{}) { InitializeInConstructor(); }

protected:
  TGantTree* CreateTree(TComponent* theOwner) override { return new PlanTree(theOwner, this); }
};

TvxDataEntity_Kronit* AddBar(TvxGant& theChart, TvxDataEntity_Tree* theNode, TDateTime theStart, TDateTime theStop,
                             TKronitStyle theStyle, TColor theColor) {
  TvxDataEntity_Kronit* bar = theChart.AddKronit(theNode, 0);
  bar->SetStartDateTime(theStart);
  bar->SetStopDateTime(theStop);
  bar->SetStyle(theStyle);
  bar->SetColor(theColor);
  bar->SetTopInset(3);
  bar->SetBottomInset(3);
  return bar;
}

void FillPlan(TvxGant& theChart, TDateTime theStart) {
  TvxDataEntity_Kronit* previous = nullptr;
  for (const Phase& phase : kPlan) {
    TvxDataEntity_Tree* phaseNode = theChart.AddRootDataEntityTree();
    phaseNode->SetText(phase.name);
    phaseNode->SetFontStyle(TFontStyles{fsBold});
    TDateTime phaseStop = theStart;
    TDateTime phaseStart = theStart + phase.tasks[0].startDay;
    for (const Task& task : phase.tasks) {
      TvxDataEntity_Tree* taskNode = theChart.AddDataEntityTree(phaseNode);
      taskNode->SetText(task.name);
      const TDateTime start = theStart + task.startDay, stop = start + task.days;
      TvxDataEntity_Kronit* bar = AddBar(theChart, taskNode, start, stop, gtsSquare, RGB(0x5B, 0x8D, 0xD6));
      bar->GetTimeItemTextCollection()->AddText(task.name, 3, 1, 1);
      // Finish-to-start: each task waits for the one before.
      if (previous) {
        TvxDataEntity_Link* link = theChart.AddLink();
        link->fLinkOwner = previous;
        link->fLinkedTo = bar;
        link->SetStartFinishOption(tlsfFS);
      }
      previous = bar;
      phaseStop = stop;
    }
    AddBar(theChart, phaseNode, phaseStart, phaseStop, gtsSpan, RGB(0x30, 0x30, 0x30));
    phaseNode->SetExpanded(true);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* renderTo = nullptr;
  for (int k = 1; k + 1 < argc; ++k)
    if (std::strcmp(argv[k], "--render") == 0) renderTo = argv[k + 1];
  if (renderTo && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);

  PlanChart chart;
  chart.SetBounds(0, 0, 960, 320);
  chart.SetTreeWidth(180);
  chart.GetTreeView()->SetItemHeight(22);
  chart.SetGantBackColor(RGB(0xFA, 0xFA, 0xFA));
  chart.SetGantPyjamasColor(RGB(0xE6, 0xEA, 0xF0));
  const TDateTime start = EncodeDate(2025, 3, 3);
  FillPlan(chart, start);
  chart.GetDateScaler()->SetStart(start - 1);
  chart.GetDateScaler()->SetStop(start + 34);

  // A bar moved or resized with the mouse has its new times already.
  chart.OnValueChanged_Kronit = [&chart](TvxGant_ComBasic*, TvxDataEntity_Kronit* bar) {
    const std::string& format = FormatSettings().ShortDateFormat;
    const std::string text =
        FormatDateTime(format, bar->GetStartDateTime()) + " - " + FormatDateTime(format, bar->GetStopDateTime());
    chart.setWindowTitle(QString::fromStdString("Moved: " + text));
  };

  // A bar dragged to another row: the chart leaves that to the application.
  // Move it there with the dragged times.
  chart.OnTimeChangeRow = [](TvxGant_ComBasic* g, TvxDataEntity_Kronit* bar, TGantRow*, TGantRow* to, TDateTime from,
                             TDateTime until, TvxDataEntity_Kronit*& moved) {
    if (g->MoveKronitToRow(bar, to, 0, from, until)) moved = bar;
  };
  chart.SetWheelConvention(wcQt);

  chart.setWindowTitle(QStringLiteral("vxplan: a small plan"));
  chart.show();
  if (!renderTo) return app.exec();

  Application()->ProcessMessages();
  const QImage image = chart.grab().toImage();
  if (!image.save(QString::fromUtf8(renderTo))) {
    std::fprintf(stderr, "could not write %s\n", renderTo);
    return 1;
  }
  std::printf("wrote %s\n", renderTo);
  return 0;
}
