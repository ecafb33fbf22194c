// The binding's model-to-chart half: the mirror of the model's rows, the
// model's signals, the view state kept across rebuilds, and the links.
#include <vxplan/designer/QvxGantModelBinding.h>

#include <QAbstractItemModel>
#include <QBrush>
#include <QDate>
#include <QDateTime>
#include <QModelRoleData>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <utility>

#include <vxplan/designer/QvxGantModelBindingPrivate.h>
#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

// --- reading a row ----------------------------------------------------------------------

namespace {

// Days from a date-like value; false for anything else or no number.
bool ToDays(const QVariant& theValue, TDateTime& theDays) {
  switch (theValue.typeId()) {
    case QMetaType::QDateTime: {
      const QDateTime dt = theValue.toDateTime();
      if (!dt.isValid()) return false;
      theDays = FromQDateTime(dt);
      return true;
    }
    case QMetaType::QDate: {
      const QDate d = theValue.toDate();
      if (!d.isValid()) return false;
      theDays = FromQDateTime(QDateTime(d, QTime(0, 0)));
      return true;
    }
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong: {
      const double v = theValue.toDouble();
      if (!std::isfinite(v)) return false;
      // 0001-01-01 .. 9999-12-31.
      theDays = std::clamp(v, -693593.0, 2958465.0);
      return true;
    }
    default: return false;
  }
}

TColor ToColor(const QVariant& theValue, const QColor& theDefault) {
  QColor c;
  if (theValue.typeId() == QMetaType::QColor) c = theValue.value<QColor>();
  else if (theValue.typeId() == QMetaType::QBrush) c = theValue.value<QBrush>().color();
  return FromQColor(c.isValid() ? c : theDefault);
}

// At most theMost characters, never half a surrogate pair.
std::string Cut(const QString& theText, int theMost) {
  if (theText.size() <= theMost) return FromQString(theText);
  int n = theMost;
  if (n > 0 && theText.at(n - 1).isHighSurrogate()) --n;
  return FromQString(theText.left(n));
}

}  // namespace

QvxGantModelBinding::TRowData QvxGantModelBinding::Read(const QModelIndex& theIndex) const {
  TRowData d;
  const QvxGantField* fields[] = {&fMap.text, &fMap.start, &fMap.finish, &fMap.colour, &fMap.style, &fMap.links};
  QVariant* values[] = {&d.text, &d.start, &d.finish, &d.colour, &d.style, &d.links};
  constexpr int kFields = 6;
  // One multiData call for the fields of each column.
  QModelRoleData roles[kFields] = {QModelRoleData(0), QModelRoleData(0), QModelRoleData(0),
                                   QModelRoleData(0), QModelRoleData(0), QModelRoleData(0)};
  bool done[kFields] = {};
  for (int k = 0; k < kFields; ++k) {
    if (done[k]) continue;
    const int column = fields[k]->column;
    int n = 0, which[kFields];
    for (int j = k; j < kFields; ++j)
      if (!done[j] && fields[j]->column == column) {
        roles[n] = QModelRoleData(fields[j]->role);
        which[n++] = j;
        done[j] = true;
      }
    const QModelIndex at = column == theIndex.column() ? theIndex : theIndex.siblingAtColumn(column);
    if (!at.isValid()) continue;
    fModel->multiData(at, QModelRoleDataSpan(roles, n));
    for (int j = 0; j < n; ++j) *values[which[j]] = roles[j].data();
  }
  d.hasStart = ToDays(d.start, d.startDays);
  if (!ToDays(d.finish, d.finishDays) || !d.hasStart || d.finishDays < d.startDays) d.finishDays = d.startDays;
  return d;
}

bool QvxGantModelBinding::IsBar(const TTask& theParent, const QModelIndex& theIndex, const TRowData& theData) const {
  return &theParent != fRoot.get() && theData.hasStart && !fModel->hasChildren(theIndex);
}

void QvxGantModelBinding::ApplyBar(TvxDataEntity_Kronit* theItem, const TRowData& theData) {
  if (!theItem) return;
  theItem->SetStartDateTime(theData.startDays);
  theItem->SetStopDateTime(theData.finishDays);
  theItem->SetColor(ToColor(theData.colour, fMap.defaultColor));
  bool ok = false;
  const int style = theData.style.toInt(&ok);
  theItem->SetStyle(ok && style >= 0 && style <= 255 ? static_cast<std::uint8_t>(style) : gtsSquare);
  TvxTimeItemTextCollection* texts = theItem->GetTimeItemTextCollection();
  const std::string text = Cut(theData.text.toString(), MostText);
  if (texts) {
    if (text.empty()) {
      while (texts->GetCount() > 0) texts->DropText(0);
    } else if (texts->GetCount() == 0) {
      texts->AddText(text, 3, 1, 1);
    } else {
      texts->GetTimeItemText(0)->SetText(text);
    }
  }
  if (!theData.links.isNull()) fHasLinkRoles = true;
  if (TGantRow* row = theItem->GetRow()) row->UpdateSubColumns();
  fChart->InvalidateGA();
}

void QvxGantModelBinding::ApplyTask(TTask& theTask, const TRowData& theData) {
  TvxDataEntity_Tree* node = theTask.node.Get();
  if (!node) return;
  const std::string text = Cut(theData.text.toString(), 255);
  if (node->GetText() != text) node->SetText(text);
  TvxDataEntity_Kronit* own = theTask.ownBar.Get();
  if (theData.hasStart && !own) {
    own = fChart->AddKronit(node, 0);
    theTask.ownBar.Reset(own);
  } else if (!theData.hasStart && own) {
    fChart->RemoveKronit(own);
    theTask.ownBar.Reset();
    own = nullptr;
  }
  ApplyBar(own, theData);
}

// --- the mirror -------------------------------------------------------------------------

int QvxGantModelBinding::TasksBefore(const TTask& theTask, int theRow) const {
  int n = 0;
  for (int k = 0; k < theRow && k < static_cast<int>(theTask.rows.size()); ++k)
    if (theTask.rows[k].task) ++n;
  return n;
}

QvxGantModelBinding::TEntry QvxGantModelBinding::MakeEntry(TTask& theParent, const QModelIndex& theIndex,
                                                           bool theAppend) {
  TEntry entry;
  const TRowData d = Read(theIndex);
  TvxDataEntity_Tree* parentNode = theParent.node.Get();
  if (IsBar(theParent, theIndex, d)) {
    if (!parentNode) return entry;
    TvxDataEntity_Kronit* bar = fChart->AddKronit(parentNode, 0);
    entry.bar.Reset(bar);
    ApplyBar(bar, d);
    return entry;
  }
  TGantTree* tree = fChart->GetTreeView();
  if (&theParent != fRoot.get() && !parentNode) return entry;
  TvxDataEntity_Tree* node = theAppend ? tree->AddDataEntity(parentNode)
                                       : tree->InsertDataEntity(parentNode, TasksBefore(theParent, theIndex.row()));
  entry.task = std::make_unique<TTask>();
  entry.task->parent = &theParent;
  entry.task->node.Reset(node);
  fTaskOfNode[node] = entry.task.get();
  ApplyTask(*entry.task, d);
  BuildChildren(*entry.task, theIndex);
  return entry;
}

void QvxGantModelBinding::BuildChildren(TTask& theTask, const QModelIndex& theParent) {
  const int n = fModel->rowCount(theParent);
  theTask.rows.reserve(theTask.rows.size() + n);
  for (int r = 0; r < n; ++r) theTask.rows.push_back(MakeEntry(theTask, fModel->index(r, 0, theParent), true));
}

void QvxGantModelBinding::ForgetTask(TTask& theTask) {
  fTaskOfNode.erase(theTask.node.Get());
  for (TEntry& e : theTask.rows)
    if (e.task) ForgetTask(*e.task);
}

void QvxGantModelBinding::DropEntry(TEntry& theEntry) {
  if (theEntry.bar) {
    fChart->RemoveKronit(theEntry.bar.Get());
    theEntry.bar.Reset();
  }
  if (theEntry.task) {
    ForgetTask(*theEntry.task);
    // The node takes its row, its bars and its child nodes with it.
    if (TvxDataEntity_Tree* node = theEntry.task->node.Get()) fChart->GetTreeView()->RemoveDataEntity(node);
    theEntry.task.reset();
  }
}

QvxGantModelBinding::TTask* QvxGantModelBinding::TaskAt(const QModelIndex& theParent) const {
  if (!fRoot) return nullptr;
  if (!theParent.isValid()) return fRoot.get();
  if (theParent.model() != fModel) return nullptr;
  std::vector<int> path;
  for (QModelIndex i = theParent.siblingAtColumn(0); i.isValid(); i = i.parent()) path.insert(path.begin(), i.row());
  return TaskAtPath(path);
}

QvxGantModelBinding::TTask* QvxGantModelBinding::TaskAtPath(const std::vector<int>& thePath) const {
  TTask* t = fRoot.get();
  for (int r : thePath) {
    if (!t || r < 0 || r >= static_cast<int>(t->rows.size()) || !t->rows[r].task) return nullptr;
    t = t->rows[r].task.get();
  }
  return t;
}

QvxGantModelBinding::TEntry* QvxGantModelBinding::EntryAt(const QModelIndex& theIndex) const {
  if (!theIndex.isValid()) return nullptr;
  TTask* parent = TaskAt(theIndex.parent());
  if (!parent || theIndex.row() >= static_cast<int>(parent->rows.size())) return nullptr;
  return &parent->rows[theIndex.row()];
}

QModelIndex QvxGantModelBinding::IndexOfTask(const TTask* theTask) const {
  if (!theTask || !theTask->parent || !fModel) return {};
  const TTask* parent = theTask->parent;
  const QModelIndex parentIndex = IndexOfTask(parent);
  for (std::size_t r = 0; r < parent->rows.size(); ++r)
    if (parent->rows[r].task.get() == theTask) return fModel->index(static_cast<int>(r), 0, parentIndex);
  return {};
}

void QvxGantModelBinding::RefreshRow(TTask& theParent, int theRow, const QModelIndex& theIndex) {
  if (theRow < 0 || theRow >= static_cast<int>(theParent.rows.size())) return;
  TEntry& entry = theParent.rows[theRow];
  const TRowData d = Read(theIndex);
  const bool bar = IsBar(theParent, theIndex, d);
  if (bar && !entry.task) return ApplyBar(entry.bar.Get(), d);
  if (!bar && entry.task) return ApplyTask(*entry.task, d);
  // The row changed kind: made anew in place.
  DropEntry(entry);
  entry = MakeEntry(theParent, theIndex, false);
}

void QvxGantModelBinding::RecheckKind(const QModelIndex& theIndex) {
  if (!theIndex.isValid()) return;
  if (TTask* parent = TaskAt(theIndex.parent())) RefreshRow(*parent, theIndex.row(), theIndex.siblingAtColumn(0));
}

void QvxGantModelBinding::RefreshIndex(const QModelIndex& theIndex) {
  if (!fModel || !theIndex.isValid() || theIndex.model() != fModel) return;
  TApplying applying(*this);
  RecheckKind(theIndex);
}

void QvxGantModelBinding::ClearChart() {
  DropLinks();
  if (fRoot && fChart) {
    fChart->BeginUpdate();
    for (TEntry& e : fRoot->rows) DropEntry(e);
    fChart->EndUpdate();
  }
  fRoot.reset();
  fTaskOfNode.clear();
}

void QvxGantModelBinding::Rebuild() {
  TApplying applying(*this);
  ClearChart();
  if (!fModel || !fChart) return;
  fRoot = std::make_unique<TTask>();
  fHasLinkRoles = false;
  fChart->BeginUpdate();
  BuildChildren(*fRoot, {});
  fChart->EndUpdate();
  RebuildLinks();
}

// --- the model's signals ----------------------------------------------------------------

void QvxGantModelBinding::OnDataChanged(const QModelIndex& theTopLeft, const QModelIndex& theBottomRight,
                                        const QList<int>& theRoles) {
  if (!theTopLeft.isValid() || !theBottomRight.isValid()) return;
  const QvxGantField* fields[] = {&fMap.text, &fMap.start, &fMap.finish, &fMap.colour, &fMap.style, &fMap.links};
  bool matters = theRoles.isEmpty(), links = theRoles.isEmpty() || theRoles.contains(fMap.id.role);
  for (const QvxGantField* f : fields) matters = matters || theRoles.contains(f->role);
  links = links || theRoles.contains(fMap.links.role);
  if (matters) {
    TTask* parent = TaskAt(theTopLeft.parent());
    if (!parent) return;
    TApplying applying(*this);
    const int last = std::min(theBottomRight.row(), static_cast<int>(parent->rows.size()) - 1);
    for (int r = std::max(0, theTopLeft.row()); r <= last; ++r)
      RefreshRow(*parent, r, fModel->index(r, 0, theTopLeft.parent()));
  }
  if (links && (fHasLinkRoles || !fLinks.empty())) LinksOutOfDate();
}

void QvxGantModelBinding::OnRowsInserted(const QModelIndex& theParent, int theFirst, int theLast) {
  TApplying applying(*this);
  TTask* parent = TaskAt(theParent);
  if (!parent) {
    RecheckKind(theParent);  // a bar given children becomes a task
    return;
  }
  const int first = std::clamp(theFirst, 0, static_cast<int>(parent->rows.size()));
  for (int r = first; r <= theLast; ++r) {
    TEntry e = MakeEntry(*parent, fModel->index(r, 0, theParent), false);
    parent->rows.insert(parent->rows.begin() + r, std::move(e));
  }
  LinksOutOfDate();
}

void QvxGantModelBinding::OnRowsRemoved(const QModelIndex& theParent, int theFirst, int theLast) {
  TApplying applying(*this);
  TTask* parent = TaskAt(theParent);
  if (!parent) return;
  RemoveRows(*parent, theFirst, theLast);
  RecheckKind(theParent);  // a task left without children may be a bar now
  LinksOutOfDate();
}

void QvxGantModelBinding::RemoveRows(TTask& theParent, int theFirst, int theLast) {
  const int size = static_cast<int>(theParent.rows.size());
  const int first = std::clamp(theFirst, 0, size), last = std::clamp(theLast + 1, first, size);
  for (int r = first; r < last; ++r) DropEntry(theParent.rows[r]);
  theParent.rows.erase(theParent.rows.begin() + first, theParent.rows.begin() + last);
}

void QvxGantModelBinding::OnRowsAboutToBeMoved(const QModelIndex& theParent, int theFirst, int theLast) {
  fPending = std::make_unique<TViewState>();
  fMoveSource.emplace();
  for (QModelIndex i = theParent.siblingAtColumn(0); i.isValid(); i = i.parent()) fMoveSource->insert(fMoveSource->begin(), i.row());
  if (TTask* parent = TaskAt(theParent))
    for (int r = std::max(0, theFirst); r <= theLast && r < static_cast<int>(parent->rows.size()); ++r) {
      TEntry& e = parent->rows[r];
      if (e.task) Capture(*fPending, *e.task, false);
      if (e.bar && e.bar.Get()->GetSelected()) fPending->selected.emplace_back(fModel->index(r, 0, theParent));
    }
}

void QvxGantModelBinding::OnRowsMoved(const QModelIndex& theParent, int theFirst, int theLast,
                                      const QModelIndex& theDest, int theRow) {
  // Removed where they were, made anew where they are, their view state
  // kept. The indexes name places after the move while the binding still
  // holds the rows where they were: the source is found by its place before.
  TApplying applying(*this);
  const int count = theLast - theFirst + 1;
  const std::optional<std::vector<int>> source = std::exchange(fMoveSource, std::nullopt);
  if (TTask* from = source ? TaskAtPath(*source) : TaskAt(theParent)) RemoveRows(*from, theFirst, theLast);
  int first = theRow;
  if (theParent == theDest && theRow > theLast) first -= count;
  OnRowsInserted(theDest, first, first + count - 1);
  // Both in step with the model now: a task left empty may be a bar.
  RecheckKind(theParent);
  RecheckKind(theDest);
  if (fPending) {
    const std::unique_ptr<TViewState> state = std::move(fPending);
    Restore(*state);
  }
}

void QvxGantModelBinding::OnLayoutAboutToBeChanged() {
  fPending = std::make_unique<TViewState>();
  if (fRoot) Capture(*fPending, *fRoot, true);
}

void QvxGantModelBinding::OnLayoutChanged() {
  const std::unique_ptr<TViewState> state = std::move(fPending);
  Rebuild();
  if (state) Restore(*state);
}

void QvxGantModelBinding::OnAboutToBeReset() { OnLayoutAboutToBeChanged(); }

void QvxGantModelBinding::OnReset() { OnLayoutChanged(); }

void QvxGantModelBinding::OnModelDestroyed() {
  // Its signals are gone with it; what it showed goes too.
  fConnections.clear();
  fModel = nullptr;
  TApplying applying(*this);
  ClearChart();
}

// --- view state -------------------------------------------------------------------------

namespace {

std::vector<int> PathOf(const QModelIndex& theIndex) {
  std::vector<int> path;
  for (QModelIndex i = theIndex; i.isValid(); i = i.parent()) path.insert(path.begin(), i.row());
  return path;
}

}  // namespace

QvxGantModelBinding::TViewKey QvxGantModelBinding::KeyOf(const QModelIndex& theIndex) const {
  return TViewKey{QPersistentModelIndex(theIndex), PathOf(theIndex)};
}

QModelIndex QvxGantModelBinding::Resolve(const TViewKey& theKey) const {
  // After a layout change the persistent index; after a reset, the same place.
  if (theKey.index.isValid()) return theKey.index;
  QModelIndex at;
  for (int r : theKey.path) {
    at = fModel->index(r, 0, at);
    if (!at.isValid()) return {};
  }
  return at;
}

void QvxGantModelBinding::Capture(TViewState& theState, const TTask& theFrom, bool theWholeTree) {
  const QModelIndex index = IndexOfTask(&theFrom);
  const TvxDataEntity_Tree* node = theFrom.node.Get();
  if (node && node->GetExpanded()) theState.expanded.push_back(KeyOf(index));
  if (TvxDataEntity_Kronit* own = theFrom.ownBar.Get(); own && own->GetSelected())
    theState.selected.push_back(KeyOf(index));
  for (std::size_t r = 0; r < theFrom.rows.size(); ++r) {
    const TEntry& e = theFrom.rows[r];
    if (e.task) Capture(theState, *e.task, false);
    else if (TvxDataEntity_Kronit* bar = e.bar.Get(); bar && bar->GetSelected())
      theState.selected.push_back(KeyOf(fModel->index(static_cast<int>(r), 0, index)));
  }
  if (!theWholeTree) return;
  TGantTree* tree = fChart->GetTreeView();
  theState.current = KeyOf(indexOf(tree->GetCurrentDataEntity()));
  theState.top = KeyOf(indexOf(tree->GetTopDataEntity()));
  theState.hasTree = true;
}

void QvxGantModelBinding::Restore(const TViewState& theState) {
  if (!fModel || !fChart) return;
  TApplying applying(*this);
  for (const TViewKey& k : theState.expanded)
    if (TvxDataEntity_Tree* node = nodeOf(Resolve(k))) node->SetExpanded(true);
  for (const TViewKey& k : theState.selected)
    if (TvxDataEntity_Kronit* bar = itemOf(Resolve(k))) bar->SetSelected(true);
  if (!theState.hasTree) return;
  TGantTree* tree = fChart->GetTreeView();
  if (TvxDataEntity_Tree* node = nodeOf(Resolve(theState.current))) tree->SetCurrentDataEntity(node);
  if (TvxDataEntity_Tree* node = nodeOf(Resolve(theState.top))) {
    tree->EnsureDisplayUpToDate();
    tree->SetTopDataEntity(node);
  }
}

// --- links ------------------------------------------------------------------------------

void QvxGantModelBinding::LinksOutOfDate() {
  if (fLinksQueued || (!fHasLinkRoles && !fLinkModel && fLinks.empty())) return;
  // A burst of changes rebuilds the links once.
  fLinksQueued = true;
  QTimer::singleShot(0, this, [this] {
    fLinksQueued = false;
    RebuildLinks();
  });
}

void QvxGantModelBinding::DropLinks() {
  TvxDataList* list = fChart ? fChart->GetLinks() : nullptr;
  for (TvxHeld<TvxDataEntity_Link>& held : fLinks)
    if (TvxDataEntity_Link* link = held.Get(); link && list) list->Remove(link);
  fLinks.clear();
}

void QvxGantModelBinding::RebuildLinks() {
  DropLinks();
  if (!fModel || !fChart || !fRoot || (!fHasLinkRoles && !fLinkModel)) return;
  // Every bar by its id, and what each bar's links role names.
  QHash<QString, TvxDataEntity_Kronit*> byId;
  std::vector<std::pair<QVariant, QVariantList>> leads;
  std::vector<std::pair<const TTask*, QModelIndex>> walk{{fRoot.get(), QModelIndex()}};
  auto note = [&](TvxDataEntity_Kronit* bar, const QModelIndex& at) {
    if (!bar) return;
    const QVariant id = FieldIndex(at, fMap.id).data(fMap.id.role);
    if (!id.isValid()) return;
    byId.insert(id.toString(), bar);
    if (!fLinkModel) {
      const QVariantList to = FieldIndex(at, fMap.links).data(fMap.links.role).toList();
      if (!to.isEmpty()) leads.emplace_back(id, to);
    }
  };
  while (!walk.empty()) {
    auto [task, index] = walk.back();
    walk.pop_back();
    note(task->ownBar.Get(), index);
    for (std::size_t r = 0; r < task->rows.size(); ++r) {
      const QModelIndex at = fModel->index(static_cast<int>(r), 0, index);
      if (task->rows[r].task) walk.emplace_back(task->rows[r].task.get(), at);
      else note(task->rows[r].bar.Get(), at);
    }
  }
  auto add = [&](const QVariant& from, const QVariant& to, int type) {
    TvxDataEntity_Kronit* a = byId.value(from.toString());
    TvxDataEntity_Kronit* b = byId.value(to.toString());
    if (!a || !b || a == b) return;
    TvxDataEntity_Link* link = fChart->AddLink();
    link->fLinkOwner = a;
    link->fLinkedTo = b;
    link->SetStartFinishOption(type >= tlsfNormal && type <= tlsfFF ? static_cast<TLinkStartFinishOption>(type)
                                                                    : tlsfFS);
    fLinks.emplace_back(link);
  };
  if (fLinkModel) {
    for (int r = 0, n = fLinkModel->rowCount(); r < n; ++r) {
      bool ok = false;
      const int type = fLinkModel->index(r, 2).data().toInt(&ok);
      add(fLinkModel->index(r, 0).data(), fLinkModel->index(r, 1).data(), ok ? type : tlsfFS);
    }
  } else {
    for (auto& [from, to] : leads)
      for (const QVariant& id : to) add(from, id, tlsfFS);
  }
  fChart->InvalidateGA();
}

}  // namespace vx
