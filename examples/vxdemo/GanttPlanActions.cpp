// The plan pages' answers to the user's changes: row changes, summary bars
// that follow their tasks, and the bar menu with its properties dialog.
#include "GanttPlanActions.h"

#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/Menus.h>
#include <vxplan/platform/ui/QtConvert.h>
#include <vxplan/tree/vxTree.h>

using namespace vx;

namespace {

TvxTimeItemText* ProgressText(TvxDataEntity_Kronit* theBar) {
  TvxTimeItemTextCollection* texts = theBar ? theBar->GetTimeItemTextCollection() : nullptr;
  for (int i = 0; texts && i < texts->GetCount(); ++i) {
    TvxTimeItemText* t = texts->GetTimeItemText(i);
    if (!t->GetText().empty() && t->GetText().back() == '%') return t;
  }
  return nullptr;
}

bool IsSummary(TvxDataEntity_Kronit* theBar) { return theBar && (theBar->GetStyle() & 0x7F) == gtsSpan; }

// The row of a phase (a node with children) for theRow: itself, or its parent's.
TGantRow* PhaseRow(TvxGant& g, TGantRow* theRow) {
  if (!theRow) return nullptr;
  if (TvxDataEntity_Tree* n = theRow->GetTreeNode()) {
    if (n->GetLevel() > 0) n = n->ParentNode();
    return n ? g.GetRowList()->FindRowFromTreeNode(n) : nullptr;
  }
  if (TvxDataEntity_GridTreeNode* n = theRow->GetGridTreeNode()) {
    if (n->GetLevel() > 0) n = n->ParentNode();
    return n ? g.GetRowList()->FindRowFromGridNode(n) : nullptr;
  }
  return nullptr;
}

TvxDataEntity_Kronit* SummaryOf(TGantRow* thePhaseRow) {
  TvxDataList* list = thePhaseRow && thePhaseRow->GetLayerCount() > 0 ? thePhaseRow->GetLayer(0) : nullptr;
  for (int i = 0; list && i < list->Count(); ++i)
    if (auto* k = static_cast<TvxDataEntity_Kronit*>(list->GetItems(i)); IsSummary(k)) return k;
  return nullptr;
}

// The rows of the phase's tasks.
std::vector<TGantRow*> TaskRows(TvxGant& g, TGantRow* thePhaseRow) {
  std::vector<TGantRow*> rows;
  auto add = [&](TvxDataList* children, auto find) {
    for (int i = 0; children && i < children->Count(); ++i)
      if (TGantRow* r = find(children->GetItems(i))) rows.push_back(r);
  };
  if (TvxDataEntity_Tree* n = thePhaseRow->GetTreeNode())
    add(n->GetSubDataList(),
        [&](TvxDataEntity* e) { return g.GetRowList()->FindRowFromTreeNode(static_cast<TvxDataEntity_Tree*>(e)); });
  else if (TvxDataEntity_GridTreeNode* gn = thePhaseRow->GetGridTreeNode())
    add(gn->GetSubDataList(), [&](TvxDataEntity* e) {
      return g.GetRowList()->FindRowFromGridNode(static_cast<TvxDataEntity_GridTreeNode*>(e));
    });
  return rows;
}

const TColor kColours[] = {RGB(0x5B, 0x8D, 0xD6), RGB(0x6A, 0xB8, 0x6A), RGB(0xE3, 0xA2, 0x3B), RGB(0xB0, 0x6A, 0xC8),
                           RGB(0xD0, 0x50, 0x50)};
const char* const kColourNames[] = {"Blue", "Green", "Amber", "Violet", "Red"};

// The selected bars, held: deleting or recolouring one calls handlers.
void ForSelected(TvxGant& g, const std::function<void(TvxDataEntity_Kronit*)>& theDo) {
  TvxHeldList<TvxDataEntity_Kronit> selected;
  for (int i = 0; i < g.GetRowList()->Count(); ++i)
    if (TGantRow* r = g.GetRowList()->GetGantRow(i))
      r->ForEachItem([&](TvxDataEntity_Kronit* k) {
        if (k->GetSelected()) selected.Add(k);
        return true;
      });
  selected.ForEach([&](TvxDataEntity_Kronit* k) { theDo(k); });
}

// The properties of one bar: its name, start, finish and progress. Not
// modal: the bar may go while the dialog is open, and then the dialog goes.
class BarDialog : public QDialog {
public:
  BarDialog(TvxGant& g, TvxDataEntity_Kronit* theBar, QWidget* theParent)
      : QDialog(theParent), fGantt(g), fBar(theBar) {
    setWindowTitle(QStringLiteral("Bar properties"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* form = new QFormLayout(this);
    fName = new QLineEdit(ToQString(BarName(theBar)), this);
    fStart = new QDateTimeEdit(ToQDateTime(theBar->GetStartDateTime()), this);
    fFinish = new QDateTimeEdit(ToQDateTime(theBar->GetStopDateTime()), this);
    for (QDateTimeEdit* e : {fStart, fFinish}) {
      e->setDisplayFormat(QStringLiteral("ddd d MMM yyyy hh:mm"));
      e->setCalendarPopup(true);
    }
    fProgress = new QSpinBox(this);
    fProgress->setRange(0, 100);
    fProgress->setSuffix(QStringLiteral(" %"));
    fProgress->setValue(std::max(BarProgress(theBar), 0));
    fProgress->setEnabled(BarProgress(theBar) >= 0);
    form->addRow(QStringLiteral("Name"), fName);
    form->addRow(QStringLiteral("Start"), fStart);
    form->addRow(QStringLiteral("Finish"), fFinish);
    form->addRow(QStringLiteral("Done"), fProgress);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { Apply(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  }
  TvxDataEntity_Kronit* Bar() const { return fBar; }
  void Forget() {
    fBar = nullptr;
    reject();
  }

private:
  void Apply() {
    if (TvxDataEntity_Kronit* k = fBar) {
      TvxTimeItemTextCollection* texts = k->GetTimeItemTextCollection();
      if (texts && texts->GetCount() > 0 && !IsSummary(k))
        texts->GetTimeItemText(0)->SetText(fName->text().toStdString());
      const TDateTime start = FromQDateTime(fStart->dateTime());
      k->SetStartDateTime(start);
      k->SetStopDateTime(std::max(start, FromQDateTime(fFinish->dateTime())));
      if (fProgress->isEnabled()) SetBarProgress(k, fProgress->value());
      k->DoInfoPush();  // the chart and the grid side follow
    }
    accept();
  }
  TvxGant& fGantt;
  TvxDataEntity_Kronit* fBar;
  QLineEdit* fName;
  QDateTimeEdit* fStart;
  QDateTimeEdit* fFinish;
  QSpinBox* fProgress;
};

}  // namespace

std::string BarName(TvxDataEntity_Kronit* theBar) {
  TvxTimeItemTextCollection* texts = theBar ? theBar->GetTimeItemTextCollection() : nullptr;
  return texts && texts->GetCount() > 0 ? texts->GetTimeItemText(0)->GetText() : std::string();
}

int BarProgress(TvxDataEntity_Kronit* theBar) {
  const TvxTimeItemText* t = ProgressText(theBar);
  if (!t) return -1;
  try {
    return std::clamp(std::stoi(t->GetText()), 0, 100);
  } catch (const std::exception&) {
    return -1;
  }
}

void SetBarProgress(TvxDataEntity_Kronit* theBar, int theProgress) {
  if (TvxTimeItemText* t = ProgressText(theBar)) t->SetText(std::to_string(std::clamp(theProgress, 0, 100)) + "%");
}

void FollowTasks(TvxGant& g, TGantRow* theRow) {
  TGantRow* phase = PhaseRow(g, theRow);
  TvxDataEntity_Kronit* summary = SummaryOf(phase);
  if (!summary) return;
  TDateTime first = std::numeric_limits<double>::infinity(), last = -first;
  for (TGantRow* r : TaskRows(g, phase))
    for (int layer = 0; layer < r->GetLayerCount(); ++layer) {
      TvxDataList* list = r->GetLayer(layer);
      for (int i = 0; list && i < list->Count(); ++i) {
        auto* k = static_cast<TvxDataEntity_Kronit*>(list->GetItems(i));
        first = std::min(first, k->GetStartDateTime());
        last = std::max(last, k->GetStopDateTime());
      }
    }
  if (!std::isfinite(first) || !std::isfinite(last)) return;
  if (summary->GetStartDateTime() == first && summary->GetStopDateTime() == last) return;
  summary->SetStartDateTime(first);
  summary->SetStopDateTime(last);
  summary->DoInfoPush();
}

void AnswerPlanEdits(TvxGant& g, std::function<void(TvxDataEntity_Kronit*)> theChanged) {
  // Phases' bars sum up their tasks: the user changes the tasks.
  for (int i = 0; i < g.GetRowList()->Count(); ++i)
    if (TGantRow* r = g.GetRowList()->GetGantRow(i); r && SummaryOf(r)) {
      r->SetTimeItems_CanMove(false);
      r->SetTimeItems_CanResize(false);
      r->SetTimeItems_CanChangeRow(false);
    }
  g.OnTimeChangeRow = [&g](TvxGant_ComBasic*, TvxDataEntity_Kronit* k, TGantRow* from, TGantRow* to, TDateTime start,
                           TDateTime stop, TvxDataEntity_Kronit*& moved) {
    if (!k || !to || IsSummary(k) || SummaryOf(to)) return;  // tasks only, onto tasks' rows
    TvxHold holdFrom(from);
    if (g.MoveKronitToRow(k, to, 0, start, stop)) moved = k;
    if (!holdFrom.Gone()) FollowTasks(g, from);
  };
  g.OnValueChanged_Kronit = [&g, theChanged](TvxGant_ComBasic*, TvxDataEntity_Kronit* k) {
    TvxHold hold(k);
    if (theChanged) theChanged(k);
    if (!hold.Gone() && !IsSummary(k)) FollowTasks(g, k->GetRow());
  };
}

void AddBarMenu(TvxGant& g, QWidget* theParent) {
  auto* menu = new TPopupMenu(&g);
  auto* remove = new TMenuItem(nullptr);
  remove->SetCaption("Delete");
  remove->OnClick = [&g](TObject*) {
    ForSelected(g, [&g](TvxDataEntity_Kronit* k) {
      TGantRow* row = k->GetRow();
      TvxHold holdRow(row);
      g.RemoveKronit(k);
      if (!holdRow.Gone()) FollowTasks(g, row);
    });
    g.InvalidateGA();
  };
  auto* colour = new TMenuItem(nullptr);
  colour->SetCaption("Colour");
  for (int c = 0; c < 5; ++c) {
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(kColourNames[c]);
    item->OnClick = [&g, c](TObject*) {
      ForSelected(g, [c](TvxDataEntity_Kronit* k) {
        if (!IsSummary(k)) k->SetColor(kColours[c]);
      });
      g.InvalidateGA();
    };
    colour->Add(item);
  }
  // One dialog at a time; it closes when its bar goes.
  auto dialog = std::make_shared<QPointer<BarDialog>>();
  auto* properties = new TMenuItem(nullptr);
  properties->SetCaption("Properties...");
  properties->OnClick = [&g, theParent, dialog](TObject*) {
    TvxDataEntity_Kronit* k = g.GetActiveDataEntity();
    if (!k || !k->GetSelected()) {
      k = nullptr;
      ForSelected(g, [&k](TvxDataEntity_Kronit* s) { k = k ? k : s; });
    }
    if (!k) return;
    if (*dialog) (*dialog)->close();
    *dialog = new BarDialog(g, k, theParent);
    (*dialog)->open();
  };
  g.OnDeleteItem_Kronit = [previous = g.OnDeleteItem_Kronit, dialog](TvxGant_ComBasic* chart, TvxDataEntity_Kronit* k) {
    if (previous) previous(chart, k);
    if (*dialog && (*dialog)->Bar() == k) (*dialog)->Forget();
  };
  menu->GetItems()->Add(remove);
  menu->GetItems()->Add(colour);
  menu->GetItems()->Add(properties);
  // Over empty time, with nothing selected, the entries have nothing to act on.
  menu->OnPopup = [&g, remove, colour, properties](TObject*) {
    bool selected = false;
    ForSelected(g, [&selected](TvxDataEntity_Kronit*) { selected = true; });
    remove->SetEnabled(selected);
    colour->SetEnabled(selected);
    properties->SetEnabled(selected);
  };
  g.SetPopupMenuGantArea(menu);
}
