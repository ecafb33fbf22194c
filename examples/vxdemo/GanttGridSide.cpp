// The Gantt page's grid side: the plan's phases and tasks as rows of a column
// grid with their start, finish, duration and progress beside the chart.
// The cells are edited in place and sorted by a click on a header; a new
// start, finish or duration moves the task's bar.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "GanttGridSide.h"
#include "GanttPlanActions.h"
#include <vxplan/platform/rtl/DateUtils.h>

using namespace vx;

namespace {

enum { kTask, kStart, kFinish, kDuration, kProgress };

std::string DateText(TDateTime t) { return FormatDateTime(FormatSettings().ShortDateFormat, t); }

std::string DaysText(double d) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", std::round(d * 10) / 10);
  return buffer;
}

TvxDataEntity_Kronit* BarOf(TvxDataEntity_GridTreeNode* theNode) {
  return theNode ? static_cast<TvxDataEntity_Kronit*>(theNode->GetUserReference()) : nullptr;
}

// The bars of the node's row, first layer, earliest first: a task split in
// parts has several.
std::vector<TvxDataEntity_Kronit*> RowBars(TvxGant& g, TvxDataEntity_GridTreeNode* theNode) {
  std::vector<TvxDataEntity_Kronit*> bars;
  TGantRow* row = theNode ? g.GetRowList()->FindRowFromGridNode(theNode) : nullptr;
  TvxDataList* list = row && row->GetLayerCount() > 0 ? row->GetLayer(0) : nullptr;
  for (int i = 0; list && i < list->Count(); ++i) bars.push_back(static_cast<TvxDataEntity_Kronit*>(list->GetItems(i)));
  std::sort(bars.begin(), bars.end(),
            [](auto* a, auto* b) { return a->GetStartDateTime() < b->GetStartDateTime(); });
  return bars;
}

void SetColumnTexts(TvxGant& g, TvxDataEntity_GridTreeNode* theNode) {
  TvxGrid* grid = g.GetGrid();
  const std::vector<TvxDataEntity_Kronit*> bars = RowBars(g, theNode);
  if (bars.empty() || !theNode->GetAxisContentItem()) return;
  TDateTime start = bars.front()->GetStartDateTime(), stop = start;
  for (auto* k : bars) stop = std::max(stop, k->GetStopDateTime());
  const int y = theNode->GetAxisContentItem()->ListIndex();
  const int fixed = grid->GetBabGridCellForViewer()->GetFixedCols();
  grid->SetText(grid->GetCell(fixed + kStart, y), DateText(start));
  grid->SetText(grid->GetCell(fixed + kFinish, y), DateText(stop));
  grid->SetText(grid->GetCell(fixed + kDuration, y), DaysText(stop - start));
  // Progress as the bar's label shows it; phases have none.
  const int done = BarProgress(bars.back());
  grid->SetText(grid->GetCell(fixed + kProgress, y), done < 0 ? std::string() : std::to_string(done));
}

TvxDataEntity_Kronit* CopyBar(TvxGant& g, TvxDataEntity_GridTreeNode* theNode, TvxDataEntity_Kronit* theSource,
                              int theLayer) {
  TvxDataEntity_Kronit* k = g.GridNode_AddKronit(theNode, theLayer);
  k->SetStartDateTime(theSource->GetStartDateTime());
  k->SetStopDateTime(theSource->GetStopDateTime());
  k->SetStyle(theSource->GetStyle());
  k->SetColor(theSource->GetColor());
  k->SetTopInset(theSource->GetTopInset());
  k->SetBottomInset(theSource->GetBottomInset());
  k->SetFixedSize(theSource->GetFixedSize());
  k->SetImageIndex(theSource->GetImageIndex());
  TvxTimeItemTextCollection* texts = theSource->GetTimeItemTextCollection();
  for (int i = 0; texts && i < texts->GetCount(); ++i) {
    const TvxTimeItemText* t = texts->GetTimeItemText(i);
    k->GetTimeItemTextCollection()->AddTextEx(t->GetText(), t->GetPos().X, t->GetPos().Y, t->GetStyle(),
                                              t->GetTextRectPlaceX(), t->GetTextRectPlaceY());
  }
  return k;
}

using Copies = std::map<TvxDataEntity_Kronit*, TvxDataEntity_Kronit*>;

// A tree node of the plan and its children as grid nodes, their bars copied.
void Mirror(TvxGant& g, TvxDataEntity_Tree* theTreeNode, TvxDataEntity_GridTreeNode* theParent, int& theCount,
            Copies& theCopies) {
  TvxGrid* grid = g.GetGrid();
  TvxDataEntity_GridTreeNode* node = g.GridNode_Add(theParent);
  const int y = node->GetAxisContentItem()->ListIndex();
  const int fixed = grid->GetBabGridCellForViewer()->GetFixedCols();
  grid->SetText(grid->GetCell(fixed + kTask, y), theTreeNode->GetText());
  ++theCount;
  if (TGantRow* row = g.GetRowList()->FindRowFromTreeNode(theTreeNode))
    for (int layer = 0; layer < row->GetLayerCount(); ++layer) {
      TvxDataList* list = row->GetLayer(layer);
      for (int i = 0; list && i < list->Count(); ++i) {
        auto* source = static_cast<TvxDataEntity_Kronit*>(list->GetItems(i));
        TvxDataEntity_Kronit* k = CopyBar(g, node, source, layer);
        theCopies[source] = k;
        if (!BarOf(node)) node->SetUserReference(k);
      }
    }
  SetColumnTexts(g, node);
  TvxDataList* children = theTreeNode->GetSubDataList();
  for (int i = 0; children && i < children->Count(); ++i)
    Mirror(g, static_cast<TvxDataEntity_Tree*>(children->GetItems(i)), node, theCount, theCopies);
  node->SetExpanded(theTreeNode->GetExpanded());
}

// An edit of a date or of the duration moves the task's bars (a start moves
// them all, a finish or a duration the last one's end); an edit of the
// progress writes the bar's label. The row's other texts follow.
void EditStopped(TvxGant& g, TBabSimpleCellStringData* theData, std::string& theText) {
  TvxGrid* grid = g.GetGrid();
  TBabCell* cell = theData->GetBabCell();
  TvxDataEntity_GridTreeNode* node = TvxGrid::CellToNode(cell);
  const std::vector<TvxDataEntity_Kronit*> bars = RowBars(g, node);
  TvxGrid_Column* col = grid->CellToColumn(cell);
  if (bars.empty() || !col) return;
  TvxDataEntity_Kronit* first = bars.front();
  TvxDataEntity_Kronit* last = bars.back();
  if ((first->GetStyle() & 0x7F) == gtsSpan) {
    theText = grid->GetText(cell);  // a phase follows its tasks
    return;
  }
  const TDateTime start = first->GetStartDateTime();
  try {
    switch (col->GetIndex()) {
      case kStart: {
        const TDateTime shift = SafeStrToDate(theText) + (start - std::floor(start)) - start;
        for (auto* k : bars) {
          const TDateTime a = k->GetStartDateTime(), b = k->GetStopDateTime();
          k->SetStartDateTime(a + shift);
          k->SetStopDateTime(b + shift);
        }
        break;
      }
      case kFinish: {
        const TDateTime stop = last->GetStopDateTime();
        last->SetStopDateTime(std::max(SafeStrToDate(theText) + (stop - std::floor(stop)), last->GetStartDateTime()));
        break;
      }
      case kDuration:
        last->SetStopDateTime(std::max(start + std::max(0.0, std::stod(theText)), last->GetStartDateTime()));
        break;
      case kProgress: SetBarProgress(last, std::stoi(theText)); break;
      default: return;
    }
  } catch (const std::exception&) {
    // Not a date or a number: the cell keeps what it had.
    theText = grid->GetText(cell);
    return;
  }
  // Each push tells the chart (and the phase); a handler may take a bar, the
  // row or the cell away.
  TvxHeldList<TvxDataEntity_Kronit> held;
  for (auto* k : bars) held.Add(k);
  TvxHold holdNode(node);
  TvxWatch<TBabCell> watchCell(cell);
  held.ForEach([](TvxDataEntity_Kronit* k) { k->DoInfoPush(); });
  if (holdNode.Gone() || !watchCell) return;
  SetColumnTexts(g, node);
  theText = grid->GetText(cell);
}

}  // namespace

void ShowBarInGrid(TvxGant& g, TvxDataEntity_Kronit* theBar) {
  TGantRow* row = theBar ? theBar->GetRow() : nullptr;
  if (TvxDataEntity_GridTreeNode* node = row ? row->GetGridTreeNode() : nullptr) SetColumnTexts(g, node);
}

void AddGridSide(TvxGant& g) {
  TvxGrid* grid = g.GetGrid();
  TvxGrid_Column* task = grid->GetColumns()->GetColumn(0);
  task->SetHeaderText("Task");
  task->SetWidth(170);
  task->SetSortEnable(true);
  auto add = [&](const char* theHeader, TColumnKind theKind, int theWidth, bool theNumeric) {
    TvxGrid_Column* c = grid->AddColumn();
    c->SetHeaderText(theHeader);
    c->SetKind(theKind);
    c->SetWidth(theWidth);
    c->SetSortEnable(true);
    c->SetNumericSort(theNumeric);
  };
  add("Start", tckDate, 80, false);
  add("Finish", tckDate, 80, false);
  add("Days", tckSimpleEdit, 44, true);
  add("Done %", tckSimpleEdit, 50, true);
  TvxCellLayout* numbers = grid->GetCellLayouts()->Add();
  numbers->SetName("Numbers");
  numbers->SetHorzAlignRight(true);
  numbers->SetVertAlignCenter(true);
  TvxCellLayout* text = grid->GetCellLayouts()->Add();
  text->SetName("Text");
  text->SetVertAlignCenter(true);
  text->SetMinHeight(22);
  for (int i = 0; i < grid->GetColumns()->Count(); ++i)
    grid->GetColumns()->GetColumn(i)->SetLayoutName(i >= kDuration ? "Numbers" : "Text");
  grid->OnEditStop = [&g](TBabGridView_Custom*, TControl*, TBabSimpleCellStringData* d, std::string& text) {
    EditStopped(g, d, text);
  };
  // Tasks have no children: no expand button for them.
  grid->OnButtonHasNonHiddenChildren = [](TBabGridView_Custom*, TBabCell* c) {
    TvxDataEntity_GridTreeNode* n = TvxGrid::CellToNode(c);
    return n && n->GetLevel() == 0;
  };
  // A bar that goes takes its node's reference to it along.
  g.OnDeleteItem_Kronit = [previous = g.OnDeleteItem_Kronit](TvxGant_ComBasic* chart, TvxDataEntity_Kronit* k) {
    if (previous) previous(chart, k);
    TGantRow* row = k->GetRow();
    TvxDataEntity_GridTreeNode* node = row ? row->GetGridTreeNode() : nullptr;
    if (node && node->GetUserReference() == k) node->SetUserReference(nullptr);
  };
  grid->EnsureFixed();
  int count = 0;
  Copies copies;
  TvxDataList* phases = g.GetTreeView()->GetRootDataList();
  for (int i = 0; i < phases->Count(); ++i)
    Mirror(g, static_cast<TvxDataEntity_Tree*>(phases->GetItems(i)), nullptr, count, copies);
  // The links between the copies, as between the bars.
  TvxDataList* links = g.GetLinks();
  for (int i = 0, n = links->Count(); i < n; ++i) {
    auto* l = static_cast<TvxDataEntity_Link*>(links->GetItems(i));
    if (!copies.count(l->fLinkOwner) || !copies.count(l->fLinkedTo)) continue;
    TvxDataEntity_Link* copy = g.AddLink();
    copy->fLinkOwner = copies[l->fLinkOwner];
    copy->fLinkedTo = copies[l->fLinkedTo];
    copy->fLinkStyle = l->fLinkStyle;
    copy->SetStartFinishOption(l->GetStartFinishOption());
  }
}
