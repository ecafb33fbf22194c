// The grid page: a plan of 100,000 projects with ten rows each, a million
// rows in all, made only as they come into view. Projects fold open and
// shut; each row holds a small grid of its week's hours; five columns edit
// with the five in-place editors (text, status is read-only and answers to
// typed letters, a check box, a pick list, a date and notes).
#include <QLabel>
#include <QVBoxLayout>
#include <set>
#include <unordered_map>

#include "Gallery.h"
#include <vxplan/grid/vxBabGridView.h>
#include <vxplan/platform/rtl/DateUtils.h>

using namespace vx;

namespace {

constexpr int kRows = 1'000'000;
enum Col { cNumber, cTask, cStatus, cDone, cOwner, cDue, cNotes, cHours, cCount };
const char* const kTitles[] = {"#", "Task", "Status", "Done", "Owner", "Due", "Notes", "Hours Mo-Fr"};
const int kWidths[] = {64, 210, 104, 46, 92, 92, 170, 5 * 26 + 1};
const char* const kStatus[] = {"On track", "At risk", "Late", "Done"};
const char* const kOwners[] = {"Ada", "Björn", "Chen", "Dana", "Emil", "Fatima", "Goran", "Hana"};
const char* const kTasks[] = {"Survey", "Permits", "Foundations", "Frame", "Roof", "Wiring", "Plumbing", "Fit-out", "Handover"};
const char* const kSites[] = {"Harbour", "North Yard", "Airport", "Campus", "Depot", "Riverside", "Old Town", "Mill"};
const char* const kNotes[] = {"", "Waiting for drawings", "", "Crane booked\nfor the first week", "", "Check with client",
                              "", ""};

unsigned Hash(unsigned x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

// Rows 1.. are data: every tenth row (1, 11, 21 ...) a project, the nine after it its tasks.
int ProjectOf(int theRow) { return (theRow - 1) / 10; }
bool IsProject(int theRow) { return (theRow - 1) % 10 == 0; }
int ProjectRow(int theProject) { return theProject * 10 + 1; }

// The plan behind the grid: generated values, and what the user changed.
struct Plan {
  std::set<int> collapsed;
  std::unordered_map<long long, std::string> edits;
  TLayoutProp hoursLayout;
  TLayoutProp statusLayout;
  TLayoutProp notesLayout;  // a row grows to show every line of its note

  static long long Key(int theRow, int theCol) { return static_cast<long long>(theRow) * 64 + theCol; }

  int Status(int r) const { return static_cast<int>(Hash(static_cast<unsigned>(r) * 7 + 1) % 4); }

  std::string Text(int r, int c) const {
    if (auto it = edits.find(Key(r, c)); it != edits.end()) return it->second;
    const unsigned h = Hash(static_cast<unsigned>(r));
    const int p = ProjectOf(r);
    switch (c) {
      case cNumber: return std::to_string(r);
      case cTask:
        if (IsProject(r)) return "P-" + std::to_string(10000 + p) + " " + kSites[p % 8];
        return kTasks[(r - 2) % 10 % 9];
      case cStatus: return kStatus[Status(r)];
      case cDone: return Status(r) == 3 ? "TRUE" : "FALSE";
      case cOwner: return kOwners[h % 8];
      case cDue: return FormatDateTime(FormatSettings().ShortDateFormat, EncodeDate(2025, 1, 6) + p % 700 + (r - 1) % 10 * 3);
      case cNotes: return kNotes[(h >> 8) % 8];
      default: return std::to_string((h >> (4 + 2 * (c - cHours))) % 9);
    }
  }
};

// Icons in the task and status columns, from the program's resources.
class PlanGrid : public TBabGridView {
public:
  PlanGrid(TComponent* AOwner, Plan* thePlan) : TBabGridView(AOwner), fPlan(thePlan) {}
  bool CellHasIcon(TBabCell* c) override {
    return c->getGridCell() == GetBabGridCellForViewer() && !c->GetIsFixed() &&
           (c->GetCol() == cTask || c->GetCol() == cStatus);
  }
  int CellIconIndex(TBabCell* c) override {
    if (c->GetCol() == cStatus) return fPlan->Status(c->GetRow());
    return IsProject(c->GetRow()) ? 4 : 5;
  }

private:
  Plan* fPlan;
};

bool Outer(TBabGridView_Custom* v, TBabCell* c) { return c && c->getGridCell() == v->GetBabGridCellForViewer(); }

void Fill(PlanGrid* grid, Plan* plan) {
  TBabGridCellForViewer* g = grid->GetBabGridCellForViewer();
  grid->OnInitContent = [plan](TBabGridView_Custom* v, TBabSimpleCellStringData* d) {
    TBabCell* c = d->GetBabCell();
    if (!Outer(v, c)) {
      // A day in a row's week: its hours.
      const int row = c->getGridCell()->GetRow();
      d->SetString(plan->Text(row, cHours + c->GetCol()));
      c->SetLayoutProp(&plan->hoursLayout);
      return;
    }
    const int row = c->GetRow(), col = c->GetCol();
    if (row == 0) {
      d->SetString(kTitles[col]);
      return;
    }
    d->SetString(plan->Text(row, col));
    d->SetIsBoolean(col == cDone);
    if (col == cStatus) c->SetLayoutProp(&plan->statusLayout);
    if (col == cNotes) c->SetLayoutProp(&plan->notesLayout);
  };
  grid->OninitSubGridContent = [g](TBabGridView_Custom*, TBabSubGridCellData* d) {
    auto* week = static_cast<TBabGridCell*>(d->GetBabCell());
    if (week == g) return;  // the outermost grid is filled below
    for (int k = 0; k < 5; ++k) {
      TAxisContentItem* day = week->GetAxisContentListX()->AddNew(nullptr);
      day->SetUserSizeActive(true);
      day->SetUserSize(26);
    }
    week->GetAxisContentListY()->AddNew(nullptr);
  };
  grid->SetOnCreateCell([g](TBabGridCell* caller, TAxisContentItem* x, TAxisContentItem* y) {
    return caller == g && x->ListIndex() == cHours && y->ListIndex() > 0 ? babCellTypeGrid : babCellTypeSimple;
  });
  // Rows come and go with the view; a task of a folded project comes hidden.
  grid->OnVirtualLoad = [g, plan](TBabGridCell* caller, TAxisContentItem* item, bool isRow) {
    if (caller != g || !isRow) return;
    const int r = item->ListIndex();
    if (r > 0 && !IsProject(r) && plan->collapsed.count(ProjectOf(r))) item->SetHide(true);
  };
  grid->OnVirtualUnLoad = [g](TBabGridCell* caller, TAxisContentItem*, bool isRow, bool, bool& can) {
    can = caller == g && isRow;
  };

  // The task column is a tree: projects with their tasks.
  grid->OnCellHasButton = [](TBabGridView_Custom* v, TBabCell* c) {
    return Outer(v, c) && c->GetCol() == cTask && c->GetRow() > 0;
  };
  grid->OnCellInset = [](TBabGridView_Custom*, TBabCell* c) { return IsProject(c->GetRow()) ? 0 : 1; };
  grid->OnIsButtonTerminal = [](TBabGridView_Custom*, TBabCell* c) { return !IsProject(c->GetRow()); };
  grid->OnIsButtonExpanded = [plan](TBabGridView_Custom*, TBabCell* c) {
    return !plan->collapsed.count(ProjectOf(c->GetRow()));
  };
  grid->OnGetParentButtonCell = [g](TBabGridView_Custom*, TBabCell* c) -> TBabCell* {
    if (IsProject(c->GetRow())) return nullptr;
    return g->getCell(cTask, ProjectRow(ProjectOf(c->GetRow())));
  };
  grid->OnButtonClick = [g, plan](TBabGridView_Custom*, TBabCell* c) {
    if (!IsProject(c->GetRow())) return;
    const int p = ProjectOf(c->GetRow());
    const bool fold = !plan->collapsed.count(p);
    if (fold)
      plan->collapsed.insert(p);
    else
      plan->collapsed.erase(p);
    for (int r = ProjectRow(p) + 1; r < ProjectRow(p) + 10 && r <= kRows; ++r)
      g->GetAxisContentListY()->getAxisContentItem(r)->SetHide(fold);
  };

  // Editing: one column per editor kind; the status is read-only.
  grid->OnChooseEditor = [](TBabGridView_Custom* v, TBabSimpleCellStringData* d, TBabEditorType& type) {
    if (!d || !Outer(v, d->GetBabCell())) return;
    switch (d->GetBabCell()->GetCol()) {
      case cOwner: type = babETCombo; break;
      case cDue: type = babETDateTime; break;
      case cNotes: type = babETMemo; break;
      default: break;
    }
  };
  grid->OnEditorCanModify = [](TBabGridView_Custom* v, TBabCell* c) { return !(Outer(v, c) && c->GetCol() == cStatus); };
  grid->OnEditStop = [plan](TBabGridView_Custom* v, TControl*, TBabSimpleCellStringData* d, std::string& text) {
    TBabCell* c = d->GetBabCell();
    if (Outer(v, c))
      plan->edits[Plan::Key(c->GetRow(), c->GetCol())] = text;
    else
      plan->edits[Plan::Key(c->getGridCell()->GetRow(), cHours + c->GetCol())] = text;
  };
  std::vector<std::string> owners(std::begin(kOwners), std::end(kOwners));
  grid->GetInplaceComboEditor()->SetItems(owners);

  // Fixed first: a cell knows whether it is a header when it is made.
  g->SetFixedCols(1);
  g->SetFixedRows(1);
  TAxisContentList* cols = g->GetAxisContentListX();
  for (int c = 0; c < cCount; ++c) {
    TAxisContentItem* col = cols->AddNew(nullptr);
    col->SetUserSizeActive(true);
    col->SetUserSize(kWidths[c]);
  }
  g->GetAxisContentListY()->AddNew(nullptr);
  g->GetAxisContentListY()->AddUnloaded(kRows);
}

}  // namespace

GalleryPage MakeGridPage() {
  auto* plan = new Plan;
  plan->hoursLayout.BackColor = clStripe;
  plan->hoursLayout.HorzAlignCenter = true;
  plan->hoursLayout.MinWidth = 20;
  plan->statusLayout.FontColor = clGrayText;
  plan->notesLayout.WrapTextAndFit = true;

  auto* form = new TPanel(nullptr);
  form->SetBevelOuter(bvNone);
  form->SetBounds(0, 0, 1100, 560);
  auto* images = new TCustomImageList(form);
  for (const char* name : {"ontrack", "atrisk", "late", "done", "project", "task"})
    images->AddFromFile(std::string(":/icons/") + name + ".png");

  auto* grid = new PlanGrid(form, plan);
  grid->SetTypingConvention(tcQt);
  grid->SetParent(form);
  grid->SetAlign(alClient);
  grid->SetImageList(images);
  Fill(grid, plan);

  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* info = new QLabel(QStringLiteral(
      "A million rows, made as they scroll into view. Drag a header border to size a column (double-click fits "
      "it), click + and - to fold a project, F2 or typing edits, Tab moves on, letters in Status jump to a match."));
  info->setWordWrap(true);
  auto* focus = new QLabel;
  layout->addWidget(info);
  layout->addWidget(form, 1);
  layout->addWidget(focus);
  // Owned by the page: freed with it.
  QObject::connect(page, &QObject::destroyed, [plan] { delete plan; });

  grid->OnTopLeftChanged = [grid, focus](TObject*) {
    TBabCell* f = grid->GetBabGridCellForViewer()->GetFocusedCellDownTrack();
    if (!f) return;
    TBabCell* row = f->getGridCell() == grid->GetBabGridCellForViewer() ? f : f->getGridCell();
    focus->setText(QString::fromStdString("Row " + std::to_string(row->GetRow()) + ": " +
                                          grid->GetText(grid->GetBabGridCellForViewer()->getCell(cTask, row->GetRow())) +
                                          "   |   cell text: " + grid->GetText(f)));
  };

  // A start that shows what the grid does: project 2 folded, a task focused.
  plan->collapsed.insert(1);
  grid->Init();
  TBabGridCellForViewer* g = grid->GetBabGridCellForViewer();
  if (TBabCell* c = g->getCell(cOwner, 4)) {
    g->SetFocusedCell(c);
    g->UpdateMultiSelect(c, TShiftState());
  }

  GalleryPage result{"grid", page, nullptr, nullptr, nullptr, {grid}, nullptr};
  result.print = [grid](TDeviceContext* dc) {
    // The grid prints itself at 150 dots per inch, half an inch in.
    const int dpi = dc->PixelsPerInch();
    const double scale = dpi / 150.0;
    grid->Print(dc, dpi / 2, dpi / 2, scale, scale, true);
  };
  return result;
}
