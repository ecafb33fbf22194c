// The column grid page: a small project plan in a TvxGrid. Phases fold open
// and shut over their tasks; each task row nests a grid of its week's hours
// and a tree of checklist items. Tasks of one team next to each other share
// one cell; notes wrap over several lines; a start time and a "done on" date
// with a check box edit in their own pickers. Columns hide and show through
// the check boxes above, and the grid's expanded state is saved and restored.
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "Gallery.h"
#include <vxplan/grid/vxGrid.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/printing/vxGridPrinting.h>

using namespace vx;

namespace {

enum Col { cTask, cTeam, cStart, cDone, cHours, cChecklist, cNotes, cCount };

struct Check {
  const char* text;
  bool done;
  std::vector<Check> items;
};

struct Task {
  const char* name;
  const char* team;
  const char* start;
  int hours[5];
  std::vector<Check> checklist;
  const char* notes;
  int doneDay;  // days after the plan's first Monday; -1: not done
  std::vector<Task> subtasks;
};

struct Phase {
  const char* name;
  std::vector<Task> tasks;
};

const std::vector<Phase>& Plan() {
  static const std::vector<Phase> plan = {
      {"Design",
       {{"Requirements", "Product", "09:00", {4, 6, 2, 0, 0},
         {{"Interview users", true, {}}, {"Sign-off", true, {}}}, "Agreed with the steering group", 3, {}},
        {"Wireframes", "UX", "09:30", {0, 2, 6, 6, 4},
         {{"Screens", true, {{"Planner", true, {}}, {"Reports", false, {}}}}, {"Usability test", false, {}}},
         "Two rounds of feedback\nbefore the review", -1, {}},
        {"Review", "UX", "14:00", {0, 0, 0, 2, 2}, {{"Book the room", true, {}}}, "", -1, {}}}},
      {"Build",
       {{"Backend", "Platform", "08:00", {8, 8, 8, 8, 4},
         {{"API", false, {{"Auth", true, {}}, {"Search", false, {}}}}, {"Database", false, {{"Migrations", false, {}}}}},
         "Search waits for the index service", -1, {}},
        {"Frontend", "Platform", "08:30", {6, 6, 8, 8, 6},
         {{"Components", false, {}}},
         "", -1,
         {{"Web app", "Platform", "08:30", {4, 4, 4, 4, 2}, {{"Routing", true, {}}}, "", -1, {}},
          {"Mobile app", "Platform", "10:00", {2, 2, 4, 4, 4}, {{"Offline mode", false, {}}}, "Needs a test phone", -1,
           {}}}},
        {"Test plan", "QA", "10:00", {2, 2, 2, 4, 4}, {{"Cases written", false, {}}}, "", -1, {}}}},
      {"Launch",
       {{"Beta", "QA", "09:00", {0, 4, 4, 4, 4}, {{"Invite testers", false, {}}}, "Fifty testers from\nthree customers", -1,
         {}},
        {"Release notes", "Product", "13:00", {0, 0, 2, 2, 4}, {{"Draft", false, {}}}, "", -1, {}},
        {"Go live", "Ops", "07:00", {0, 0, 0, 0, 8}, {{"Rollback plan", false, {}}, {"Monitoring", false, {}}}, "", -1,
         {}}}}};
  return plan;
}

std::string DateText(TDateTime t) { return FormatDateTime(FormatSettings().ShortDateFormat, t); }

// Which rows hold a task (and so a week and a checklist): not the phases.
bool IsTaskRow(TAxisContentItem* theRow) {
  TvxDataEntity_GridTreeNode* node = TvxGrid::AxisContentItemToGridTreeNode(theRow);
  return node && node->GetLevel() > 0;
}

TvxGrid_Column* GridColumn(TvxGrid* theGrid, int theCol) { return theGrid->GetColumns()->GetColumn(theCol); }

// The task's name is its key: the other texts may be edited in between.
std::string TaskKey(TvxGrid* theGrid, TvxDataEntity_GridTreeNode* theNode) {
  TAxisContentItem* row = theNode ? theNode->GetAxisContentItem() : nullptr;
  return row ? theGrid->GetText(
                   theGrid->GetCell(theGrid->GetBabGridCellForViewer()->GetFixedCols() + cTask, row->ListIndex()))
             : std::string();
}

// Shuts every node that has children, so that a restore opens only what was saved.
void CollapseParents(TvxDataList* theList) {
  for (int i = 0; theList && i < theList->Count(); ++i) {
    auto* node = static_cast<TvxDataEntity_GridTreeNode*>(theList->GetItems(i));
    if (node->GetSubDataListCount() == 0) continue;
    CollapseParents(node->GetSubDataList());
    node->SetExpanded(false);
  }
}

// Builds the grid: its definitions, its handlers and the plan's rows. The
// grid owns all it is given (the layouts included), the builder nothing.
class PlanBuilder {
public:
  explicit PlanBuilder(TvxGrid* theGrid) : fGrid(theGrid) {}

  void Define() {
    DefineLayouts();
    DefineColumns();
    DefineSubGrids();
    // Notes, last, take the width the others leave.
    fGrid->SetExtendLastColumnToWidth(true);
    fGrid->EnsureFixed();  // the rows are filled next: their cells need the columns
    Listen();
  }

  void DefineLayouts() {
    TvxCellLayout* phase = fGrid->GetCellLayouts()->Add();
    phase->SetName("Phase");
    phase->SetFont(*fGrid->GetFont());
    phase->GetFont()->SetStyle({fsBold});
    phase->SetUseFontInfo(true);
    TvxCellLayout* notes = fGrid->GetCellLayouts()->Add();
    notes->SetName("Notes");
    notes->SetWrapTextAndFit(true);  // a row grows to show every line
    TvxCellLayout* hours = fGrid->GetCellLayouts()->Add();
    hours->SetName("Hours");
    hours->SetBackColor(clStripe);
    hours->SetHorzAlignCenter(true);
  }

  void DefineColumns() {
    struct Def {
      const char* header;
      TColumnKind kind;
      int width;
      const char* subGrid;
    };
    const Def defs[] = {{"Task", tckSimpleEdit, 140, ""},     {"Team", tckCombo, 70, ""},
                        {"Start", tckTime, 50, ""},           {"Done on", tckDate, 106, ""},
                        {"Hours", tckSubGrid, 5 * 28, "Week"}, {"Checklist", tckSubTree, 160, "Checklist"},
                        {"Notes", tckMemo, 140, ""}};
    for (const Def& d : defs) {
      TvxGrid_Column* c = fGrid->AddColumn();
      c->SetHeaderText(d.header);
      c->SetKind(d.kind);
      c->SetWidth(d.width);
      c->SetSubGridName(d.subGrid);
      c->SetSortEnable(d.kind != tckSubGrid && d.kind != tckSubTree);
    }
    GridColumn(fGrid, cTask)->SetTreeButton(true);
    // Neighbouring tasks of one team share a cell; phases, without a team, never.
    GridColumn(fGrid, cTeam)->SetGroupcells(true);
    GridColumn(fGrid, cTeam)->SetOnGroupcellCompare([](TvxGrid* g, TvxGrid_Column*, TBabCell* a, TBabCell* b) {
      return !g->GetText(a).empty() && g->GetText(a) == g->GetText(b);
    });
    GridColumn(fGrid, cNotes)->SetLayoutName("Notes");
    GridColumn(fGrid, cDone)->SetCheckBoxOnDateTime(true);
    // A phase has no week and no checklist of its own.
    for (Col c : {cHours, cChecklist})
      GridColumn(fGrid, c)->SetOnContextSensitiveSubGrid(
          [](TvxGrid*, TAxisContentItem* row, TvxGrid_Column*, std::string& name) {
            if (!IsTaskRow(row)) name.clear();
          });
  }

  void DefineSubGrids() {
    TvxGrid_SubGrid* week = fGrid->GetSubGrids()->Add();
    week->SetName("Week");
    week->SetHasInfoCol(false);
    for (const char* day : {"Mo", "Tu", "We", "Th", "Fr"}) {
      TvxGrid_Column* c = week->GetColumns()->Add();
      c->SetHeaderText(day);
      c->SetWidth(28);
      c->SetLayoutName("Hours");
    }
    TvxGrid_SubGrid* list = fGrid->GetSubGrids()->Add();
    list->SetName("Checklist");
    list->SetHasInfoCol(false);
    list->SetHasHeaders(false);
    TvxGrid_Column* item = list->GetColumns()->Add();
    item->SetTreeButton(true);
    item->SetWidth(136);
    TvxGrid_Column* tick = list->GetColumns()->Add();
    tick->SetKind(tckBool);
    tick->SetWidth(22);
  }

  void Listen() {
    fGrid->GetInplaceComboEditor()->SetItems({"Product", "UX", "Platform", "QA", "Ops"});
    // A date unticked is "not done": the cell stays empty rather than show day 0.
    TvxGrid* g = fGrid;
    g->OnEditStop = [g](TBabGridView_Custom*, TControl*, TBabSimpleCellStringData* d, std::string& text) {
      if (g->CellToColumn(d->GetBabCell()) == GridColumn(g, cDone) && text == DateText(0)) text.clear();
    };
    // Phase rows in bold (where the column brings no layout of its own).
    TLayoutProp* phase = g->GetCellLayouts()->GetCellLayout(0)->GetLayoutProperty();
    g->OnInitContent = [g, phase](TBabGridView_Custom*, TBabSimpleCellStringData* d) {
      TBabCell* c = d->GetBabCell();
      if (c->getGridCell() == g->GetBabGridCellForViewer() && !c->GetIsFixed() && !IsTaskRow(c->GetAxisContentItemY()))
        c->SetLayoutProp(phase);
    };
    // A phase edits its name only.
    g->OnEditorCanModify = [g](TBabGridView_Custom*, TBabCell* c) {
      return c->getGridCell() != g->GetBabGridCellForViewer() || IsTaskRow(c->GetAxisContentItemY()) ||
             g->CellToColumn(c) == GridColumn(g, cTask);
    };
  }

  void Fill() {
    fGrid->SetUseTree(true);
    for (const Phase& p : Plan()) {
      TvxDataEntity_GridTreeNode* node = fGrid->GetTree()->AddDataEntity(nullptr);
      SetText(node, cTask, p.name);
      for (const Task& t : p.tasks) AddTask(node, t);
    }
  }

private:
  TBabCell* Cell(TvxDataEntity_GridTreeNode* theNode, int theCol) {
    return fGrid->GetCell(fGrid->GetBabGridCellForViewer()->GetFixedCols() + theCol,
                          theNode->GetAxisContentItem()->ListIndex());
  }
  void SetText(TvxDataEntity_GridTreeNode* theNode, int theCol, const std::string& theText) {
    fGrid->SetText(Cell(theNode, theCol), theText);
  }

  void AddTask(TvxDataEntity_GridTreeNode* theParent, const Task& t) {
    TvxDataEntity_GridTreeNode* node = fGrid->GetTree()->AddDataEntity(theParent);
    SetText(node, cTask, t.name);
    SetText(node, cTeam, t.team);
    SetText(node, cStart, t.start);
    SetText(node, cNotes, t.notes);
    if (t.doneDay >= 0) SetText(node, cDone, DateText(EncodeDate(2026, 3, 2) + t.doneDay));
    TBabCell* week = Cell(node, cHours);
    if (week && week->IsGridCell()) {
      auto* g = static_cast<TBabGridCell*>(week);
      TAxisContentItem* row = fGrid->AddRowInSubGrid(week, nullptr);
      for (int d = 0; d < 5; ++d)
        fGrid->SetText(g->getCell(g->GetFixedCols() + d, row->ListIndex()), std::to_string(t.hours[d]));
    }
    TBabCell* list = Cell(node, cChecklist);
    if (TvxGridTree* tree = fGrid->GetTreeInSubGrid(list))
      for (const Check& c : t.checklist) AddCheck(static_cast<TBabGridCell*>(list), tree, nullptr, c);
    for (const Task& s : t.subtasks) AddTask(node, s);
    // Open with nothing below: no button.
    if (t.subtasks.empty()) node->SetExpanded(true);
  }

  void AddCheck(TBabGridCell* theList, TvxGridTree* theTree, TvxDataEntity_GridTreeNode* theParent, const Check& c) {
    TvxDataEntity_GridTreeNode* node = theTree->AddDataEntity(theParent);
    const int y = node->GetAxisContentItem()->ListIndex();
    fGrid->SetText(theList->getCell(theList->GetFixedCols(), y), c.text);
    fGrid->SetText(theList->getCell(theList->GetFixedCols() + 1, y), c.done ? "TRUE" : "FALSE");
    for (const Check& k : c.items) AddCheck(theList, theTree, node, k);
    // Screens starts open: a tree in a cell shows at once.
    if (c.items.empty() || std::string(c.text) == "Screens") node->SetExpanded(true);
  }

  TvxGrid* fGrid;
};

}  // namespace

GalleryPage MakeColumnGridPage() {
  auto* form = new TPanel(nullptr);
  form->SetBevelOuter(bvNone);
  form->SetBounds(0, 0, 1100, 560);
  auto* grid = new TvxGrid(form);
  grid->SetParent(form);
  grid->SetAlign(alClient);
  grid->SetTypingConvention(tcQt);
  PlanBuilder plan(grid);
  plan.Define();
  plan.Fill();

  auto* page = new QWidget;
  QVBoxLayout* layout = PageWithHelp(page, QStringLiteral(
      "A project plan in the column grid. Click + and - to fold a phase, or an item of a task's checklist (a tree "
      "inside the cell). Hours is a grid inside each row. Neighbouring tasks of one team share a cell. F2 edits: "
      "notes over several lines (Enter breaks the line, Tab ends), the start time, and the done date, whose box "
      "unticked leaves the task not done."));

  auto* bar = new QHBoxLayout;
  bar->addWidget(new QLabel(QStringLiteral("Columns:")));
  for (int c = cTeam; c < cCount; ++c) {
    TvxGrid_Column* col = GridColumn(grid, c);
    auto* box = new QCheckBox(QString::fromStdString(col->GetHeaderText()));
    box->setObjectName(QStringLiteral("show ") + box->text());
    box->setChecked(!col->GetHidden());
    QObject::connect(box, &QCheckBox::toggled, page, [grid, c](bool on) { GridColumn(grid, c)->SetHidden(!on); });
    bar->addWidget(box);
  }
  bar->addStretch(1);
  auto* state = new QLabel;
  bar->addWidget(state);
  const TOnConvertNodeToStringKey key = TaskKey;
  auto* save = new QPushButton(QStringLiteral("Save expanded"));
  auto* restore = new QPushButton(QStringLiteral("Restore expanded"));
  restore->setEnabled(false);
  QObject::connect(save, &QPushButton::clicked, page, [grid, key, state, restore] {
    grid->ExpandedStateSave(key);
    state->setText(QStringLiteral("Expanded state saved"));
    restore->setEnabled(true);
  });
  // What was saved opens, everything else closes.
  QObject::connect(restore, &QPushButton::clicked, page, [grid, key] {
    CollapseParents(grid->GetTree()->GetRootDataEntities());
    grid->ExpandedStateRestore(key);
  });
  bar->addWidget(save);
  bar->addWidget(restore);
  layout->addLayout(bar);
  layout->addWidget(form, 1);

  // Two phases open at the start.
  TvxGridTree* tree = grid->GetTree();
  for (int p = 0; p < 2; ++p)
    static_cast<TvxDataEntity_GridTreeNode*>(tree->GetRootDataEntities()->GetItems(p))->SetExpanded(true);

  GalleryPage result{"columngrid", page, nullptr, nullptr, nullptr, {grid}, nullptr};
  result.print = [grid](TDeviceContext* dc) {
    // At 150 dots per inch, half an inch in, every row that shows.
    const int dpi = dc->PixelsPerInch();
    const double scale = dpi / 150.0;
    int w = 0, h = 0, rows = 0;
    TvxGridPrinting::Print(grid, dc, dpi / 2, dpi / 2, scale, scale, nullptr, -1, grid->GetWidth(), w, h, -1, -1, {},
                           rows);
  };
  return result;
}
