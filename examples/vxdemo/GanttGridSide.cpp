// The Gantt page's grid side: the plan's phases and tasks as rows of a column
// grid with their start, finish, duration and progress beside the chart.
// The cells are edited in place and sorted by a click on a header; a new
// start, finish or duration moves the task's bar.
#include <cmath>
#include <cstdio>
#include <map>

#include "GanttGridSide.h"
#include "platform/rtl/DateUtils.h"

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

void SetColumnTexts(TvxGrid* theGrid, TvxDataEntity_GridTreeNode* theNode) {
  TvxDataEntity_Kronit* k = BarOf(theNode);
  if (!k || !theNode->GetAxisContentItem()) return;
  const int y = theNode->GetAxisContentItem()->ListIndex();
  const int fixed = theGrid->GetBabGridCellForViewer()->GetFixedCols();
  theGrid->SetText(theGrid->GetCell(fixed + kStart, y), DateText(k->GetStartDateTime()));
  theGrid->SetText(theGrid->GetCell(fixed + kFinish, y), DateText(k->GetStopDateTime()));
  theGrid->SetText(theGrid->GetCell(fixed + kDuration, y), DaysText(k->GetStopDateTime() - k->GetStartDateTime()));
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
  grid->SetText(grid->GetCell(fixed + kProgress, y), std::to_string((theCount++ * 37) % 100));
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
  SetColumnTexts(grid, node);
  TvxDataList* children = theTreeNode->GetSubDataList();
  for (int i = 0; children && i < children->Count(); ++i)
    Mirror(g, static_cast<TvxDataEntity_Tree*>(children->GetItems(i)), node, theCount, theCopies);
  node->SetExpanded(theTreeNode->GetExpanded());
}

// An edit of a date or of the duration moves the bar; the row's other texts follow.
void EditStopped(TvxGrid* theGrid, TBabSimpleCellStringData* theData, std::string& theText) {
  TBabCell* cell = theData->GetBabCell();
  TvxDataEntity_GridTreeNode* node = TvxGrid::CellToNode(cell);
  TvxDataEntity_Kronit* k = BarOf(node);
  TvxGrid_Column* col = theGrid->CellToColumn(cell);
  if (!k || !col) return;
  const TDateTime start = k->GetStartDateTime(), stop = k->GetStopDateTime();
  try {
    switch (col->GetIndex()) {
      case kStart: {
        const TDateTime day = SafeStrToDate(theText);
        k->SetStartDateTime(day + (start - std::floor(start)));
        k->SetStopDateTime(k->GetStartDateTime() + (stop - start));
        break;
      }
      case kFinish: {
        const TDateTime day = SafeStrToDate(theText) + (stop - std::floor(stop));
        k->SetStopDateTime(std::max(day, start));
        break;
      }
      case kDuration: k->SetStopDateTime(start + std::max(0.0, std::stod(theText))); break;
      default: return;
    }
  } catch (const std::exception&) {
    // Not a date or a number: the cell keeps what it had.
    theText = theGrid->GetText(cell);
    return;
  }
  k->DoInfoPush();
  SetColumnTexts(theGrid, node);
  theText = theGrid->GetText(cell);
}

}  // namespace

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
  grid->OnEditStop = [grid](TBabGridView_Custom*, TControl*, TBabSimpleCellStringData* d, std::string& text) {
    EditStopped(grid, d, text);
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
