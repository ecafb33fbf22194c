// The bridge from a control's accessible content (Accessible.h) to Qt's
// accessibility: one interface for the control, one per node asked for,
// cached by id until the content resets or the control goes.
#include <vxplan/platform/ui/Accessible.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>
#include <unordered_map>
#include <unordered_set>

#include <vxplan/platform/ui/Controls.h>

namespace vx {

int TvxAccessibleContent::IndexInParent(TvxAccessibleId theId) {
  const TvxAccessibleId parent = Parent(theId);
  if (parent == vxAccessibleNone) return -1;
  const int count = ChildCount(parent);
  for (int i = 0; i < count; ++i)
    if (ChildAt(parent, i) == theId) return i;
  return -1;
}

namespace {

constexpr int kGenerationShift = 40;
constexpr TvxAccessibleId kIndexMask = (TvxAccessibleId{1} << kGenerationShift) - 1;

}  // namespace

TvxAccessibleId TvxAccessiblePaths::IdOf(const TPath& thePath) {
  auto it = fIds.find(thePath);
  if (it != fIds.end()) return it->second;
  if (fPaths.size() >= MostPaths) {
    fIds.clear();
    fPaths.clear();
    fGeneration = (fGeneration + 1) & ((TvxAccessibleId{1} << (64 - kGenerationShift - 1)) - 1);
  }
  fPaths.push_back(thePath);
  const TvxAccessibleId id = fGeneration << kGenerationShift | static_cast<TvxAccessibleId>(fPaths.size());
  fIds.emplace(thePath, id);
  return id;
}

const TvxAccessiblePaths::TPath* TvxAccessiblePaths::PathOf(TvxAccessibleId theId) const {
  if (theId == vxAccessibleNone || theId >> kGenerationShift != fGeneration) return nullptr;
  const TvxAccessibleId index = theId & kIndexMask;
  return index >= 1 && index <= fPaths.size() ? &fPaths[static_cast<std::size_t>(index - 1)] : nullptr;
}

namespace {

QAccessible::Role QtRole(TvxAccessibleRole theRole) {
  switch (theRole) {
    case arPane: return QAccessible::Pane;
    case arList: return QAccessible::List;
    case arListItem: return QAccessible::ListItem;
    case arTable: return QAccessible::Table;
    case arCell: return QAccessible::Cell;
    case arColumnHeader: return QAccessible::ColumnHeader;
    case arRowHeader: return QAccessible::RowHeader;
    case arTree: return QAccessible::Tree;
    case arTreeItem: return QAccessible::TreeItem;
    case arSlider: return QAccessible::Slider;
    case arIndicator: return QAccessible::Indicator;
  }
  return QAccessible::Pane;
}

QAccessible::State QtState(TvxAccessibleState s) {
  QAccessible::State q;
  q.focusable = s.Contains(asFocusable);
  q.focused = s.Contains(asFocused);
  q.selectable = s.Contains(asSelectable);
  q.selected = s.Contains(asSelected);
  q.checkable = s.Contains(asCheckable);
  q.checked = s.Contains(asChecked);
  q.editable = s.Contains(asEditable);
  q.expandable = s.Contains(asExpandable);
  q.expanded = s.Contains(asExpanded);
  q.collapsed = s.Contains(asExpandable) && !s.Contains(asExpanded);
  q.invisible = s.Contains(asInvisible);
  q.offscreen = s.Contains(asOffscreen);
  q.active = s.Contains(asActive);
  return q;
}

QString QtText(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The control's class as written in the source, without the namespace.
QString ClassNameOf(const TControl& theControl) {
  const char* mangled = typeid(theControl).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  QString name = QString::fromLatin1(status == 0 && plain ? plain.get() : mangled);
  const qsizetype colons = name.lastIndexOf(QLatin1String("::"));
  return colons >= 0 ? name.mid(colons + 2) : name;
}

class TControlAccess;

// One node of a control's content.
class TNodeAccess : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
  TNodeAccess(TControlAccess* theOwner, TvxAccessibleId theId) : fOwner(theOwner), fId(theId) {}

  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int index) const override;
  int childCount() const override;
  int indexOfChild(const QAccessibleInterface* theChild) const override;
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType t) override;

  // The table cell.
  bool isSelected() const override { return state().selected; }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override;
  int rowIndex() const override;
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override;

  TvxAccessibleId Id() const noexcept { return fId; }

private:
  TvxAccessibleContent* Content() const;

  TControlAccess* fOwner;
  TvxAccessibleId fId;
};

// The control: its content's root, a table or a value where the content is one.
class TControlAccess : public QAccessibleWidget, public QAccessibleTableInterface, public QAccessibleValueInterface {
public:
  explicit TControlAccess(TControl* theControl)
      : QAccessibleWidget(theControl), fControl(theControl), fKey(theControl) {}
  ~TControlAccess() override;

  // Nil once the control is going.
  TvxAccessibleContent* Content() const {
    return fControl && !fControl->IsDestroying() ? fControl->AccessibleContent() : nullptr;
  }
  TControl* Control() const { return fControl; }
  // The interface of a node: this for the root, nil for none or gone.
  QAccessibleInterface* Node(TvxAccessibleId theId) const;
  TvxAccessibleId IdOf(const QAccessibleInterface* theIface) const;
  void DropNodes();
  void Forget() {
    DropNodes();
    fControl = nullptr;
  }
  QRect ToScreen(const TRect& r) const;
  QAccessibleInterface* NodeAtScreen(int x, int y) const;

  bool isValid() const override { return Content() != nullptr && QAccessibleWidget::isValid(); }
  QAccessibleInterface* childAt(int x, int y) const override { return NodeAtScreen(x, y); }
  QAccessibleInterface* child(int index) const override;
  int childCount() const override;
  int indexOfChild(const QAccessibleInterface* theChild) const override;
  QAccessibleInterface* focusChild() const override;
  QString text(QAccessible::Text t) const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType t) override;

  // The table.
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
  QList<QAccessibleInterface*> selectedCells() const override;
  QString columnDescription(int column) const override;
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override;
  int rowCount() const override;
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override { DropNodes(); }

  // The value.
  QVariant currentValue() const override;
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override;
  QVariant minimumValue() const override;
  QVariant minimumStepSize() const override { return {}; }

private:
  bool Numbers(double& theValue, double& theMin, double& theMax) const {
    TvxAccessibleContent* c = Content();
    return c && c->NumericValue(vxAccessibleRoot, theValue, theMin, theMax);
  }

  QPointer<TControl> fControl;
  const TControl* fKey;  // to drop from the bridged set, never dereferenced
  mutable std::unordered_map<TvxAccessibleId, QAccessible::Id> fNodes;
};

// --- the nodes ---------------------------------------------------------------------------

TvxAccessibleContent* TNodeAccess::Content() const { return fOwner->Content(); }

bool TNodeAccess::isValid() const {
  TvxAccessibleContent* c = Content();
  return c && c->Exists(fId);
}

QWindow* TNodeAccess::window() const { return fOwner->window(); }

QList<QPair<QAccessibleInterface*, QAccessible::Relation>> TNodeAccess::relations(QAccessible::Relation match) const {
  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> out;
  TvxAccessibleContent* c = Content();
  if (!c || !c->Exists(fId)) return out;
  for (const TvxAccessibleRelation& r : c->Relations(fId)) {
    // A link leading on: the other end is controlled by this one.
    const QAccessible::Relation kind = r.fKind == arFlowsTo ? QAccessible::Controlled : QAccessible::Controller;
    if (!(match & kind)) continue;
    if (QAccessibleInterface* other = fOwner->Node(r.fTarget)) out.append({other, kind});
  }
  return out;
}

QAccessibleInterface* TNodeAccess::childAt(int x, int y) const {
  for (int i = 0; i < childCount(); ++i) {
    QAccessibleInterface* c = child(i);
    if (c && c->rect().contains(x, y)) return c;
  }
  return nullptr;
}

QAccessibleInterface* TNodeAccess::parent() const {
  TvxAccessibleContent* c = Content();
  if (!c || !c->Exists(fId)) return nullptr;
  const TvxAccessibleId p = c->Parent(fId);
  return p == vxAccessibleNone ? fOwner : fOwner->Node(p);
}

QAccessibleInterface* TNodeAccess::child(int index) const {
  TvxAccessibleContent* c = Content();
  if (!c || !c->Exists(fId)) return nullptr;
  return fOwner->Node(c->ChildAt(fId, index));
}

int TNodeAccess::childCount() const {
  TvxAccessibleContent* c = Content();
  return c && c->Exists(fId) ? std::max(c->ChildCount(fId), 0) : 0;
}

int TNodeAccess::indexOfChild(const QAccessibleInterface* theChild) const {
  TvxAccessibleContent* c = Content();
  const TvxAccessibleId id = fOwner->IdOf(theChild);
  if (!c || id == vxAccessibleNone || !c->Exists(id) || c->Parent(id) != fId) return -1;
  return c->IndexInParent(id);
}

QString TNodeAccess::text(QAccessible::Text t) const {
  TvxAccessibleContent* c = Content();
  if (!c || !c->Exists(fId)) return {};
  switch (t) {
    case QAccessible::Name: return QtText(c->Name(fId));
    case QAccessible::Description: return QtText(c->Description(fId));
    case QAccessible::Value: return QtText(c->Value(fId));
    default: return {};
  }
}

QRect TNodeAccess::rect() const {
  TvxAccessibleContent* c = Content();
  return c && c->Exists(fId) ? fOwner->ToScreen(c->Bounds(fId)) : QRect();
}

QAccessible::Role TNodeAccess::role() const {
  TvxAccessibleContent* c = Content();
  return c && c->Exists(fId) ? QtRole(c->Role(fId)) : QAccessible::NoRole;
}

QAccessible::State TNodeAccess::state() const {
  TvxAccessibleContent* c = Content();
  if (!c || !c->Exists(fId)) {
    QAccessible::State gone;
    gone.invalid = true;
    return gone;
  }
  return QtState(c->State(fId));
}

void* TNodeAccess::interface_cast(QAccessible::InterfaceType t) {
  int row = 0, column = 0;
  TvxAccessibleContent* c = Content();
  if (t == QAccessible::TableCellInterface && c && c->CellPlace(fId, row, column))
    return static_cast<QAccessibleTableCellInterface*>(this);
  return nullptr;
}

int TNodeAccess::columnIndex() const {
  int row = -1, column = -1;
  TvxAccessibleContent* c = Content();
  return c && c->CellPlace(fId, row, column) ? column : -1;
}

int TNodeAccess::rowIndex() const {
  int row = -1, column = -1;
  TvxAccessibleContent* c = Content();
  return c && c->CellPlace(fId, row, column) ? row : -1;
}

QAccessibleInterface* TNodeAccess::table() const { return fOwner; }

// --- the control -------------------------------------------------------------------------

QAccessibleInterface* TControlAccess::Node(TvxAccessibleId theId) const {
  if (theId == vxAccessibleRoot) return const_cast<TControlAccess*>(this);
  TvxAccessibleContent* c = Content();
  if (theId == vxAccessibleNone || !c || !c->Exists(theId)) return nullptr;
  auto it = fNodes.find(theId);
  if (it != fNodes.end())
    if (QAccessibleInterface* known = QAccessible::accessibleInterface(it->second)) return known;
  auto* node = new TNodeAccess(const_cast<TControlAccess*>(this), theId);
  fNodes[theId] = QAccessible::registerAccessibleInterface(node);
  return node;
}

TvxAccessibleId TControlAccess::IdOf(const QAccessibleInterface* theIface) const {
  if (theIface == this) return vxAccessibleRoot;
  for (const auto& [id, qid] : fNodes)
    if (QAccessible::accessibleInterface(qid) == theIface) return id;
  return vxAccessibleNone;
}

void TControlAccess::DropNodes() {
  // Taken out first: deleting may come back here.
  auto nodes = std::move(fNodes);
  fNodes.clear();
  for (const auto& entry : nodes) QAccessible::deleteAccessibleInterface(entry.second);
}

QRect TControlAccess::ToScreen(const TRect& r) const {
  if (!fControl || r.Right <= r.Left || r.Bottom <= r.Top) return {};
  const QPoint origin = fControl->mapToGlobal(QPoint(0, 0));
  return QRect(QPoint(r.Left, r.Top) + origin, QPoint(r.Right - 1, r.Bottom - 1) + origin);
}

QAccessibleInterface* TControlAccess::NodeAtScreen(int x, int y) const {
  TvxAccessibleContent* c = Content();
  if (!c) return nullptr;
  const QPoint local = fControl->mapFromGlobal(QPoint(x, y));
  return Node(c->NodeAt(local.x(), local.y()));
}

QAccessibleInterface* TControlAccess::child(int index) const {
  TvxAccessibleContent* c = Content();
  return c ? Node(c->ChildAt(vxAccessibleRoot, index)) : nullptr;
}

int TControlAccess::childCount() const {
  TvxAccessibleContent* c = Content();
  return c ? std::max(c->ChildCount(vxAccessibleRoot), 0) : 0;
}

int TControlAccess::indexOfChild(const QAccessibleInterface* theChild) const {
  TvxAccessibleContent* c = Content();
  const TvxAccessibleId id = IdOf(theChild);
  if (!c || id == vxAccessibleNone || id == vxAccessibleRoot || !c->Exists(id)) return -1;
  return c->Parent(id) == vxAccessibleRoot ? c->IndexInParent(id) : -1;
}

QAccessibleInterface* TControlAccess::focusChild() const {
  TvxAccessibleContent* c = Content();
  if (!c || !fControl->hasFocus()) return nullptr;
  return Node(c->Current());
}

QString TControlAccess::text(QAccessible::Text t) const {
  TvxAccessibleContent* c = Content();
  if (!c) return {};
  switch (t) {
    case QAccessible::Name: {
      QString name = QtText(c->Name(vxAccessibleRoot));
      if (name.isEmpty()) name = QtText(fControl->GetName());
      return name.isEmpty() ? ClassNameOf(*fControl) : name;
    }
    case QAccessible::Description: return QtText(c->Description(vxAccessibleRoot));
    case QAccessible::Value: return QtText(c->Value(vxAccessibleRoot));
    default: return QAccessibleWidget::text(t);
  }
}

QAccessible::Role TControlAccess::role() const {
  TvxAccessibleContent* c = Content();
  return c ? QtRole(c->Role(vxAccessibleRoot)) : QAccessible::Client;
}

QAccessible::State TControlAccess::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  if (TvxAccessibleContent* c = Content()) {
    const QAccessible::State own = QtState(c->State(vxAccessibleRoot));
    s.focusable = s.focusable || own.focusable;
    s.invisible = s.invisible || own.invisible;
  }
  return s;
}

void* TControlAccess::interface_cast(QAccessible::InterfaceType t) {
  TvxAccessibleContent* c = Content();
  if (t == QAccessible::TableInterface && c && c->Role(vxAccessibleRoot) == arTable)
    return static_cast<QAccessibleTableInterface*>(this);
  double v = 0, lo = 0, hi = 0;
  if (t == QAccessible::ValueInterface && Numbers(v, lo, hi)) return static_cast<QAccessibleValueInterface*>(this);
  return QAccessibleWidget::interface_cast(t);
}

QAccessibleInterface* TControlAccess::cellAt(int row, int column) const {
  TvxAccessibleContent* c = Content();
  return c ? Node(c->TableCell(row, column)) : nullptr;
}

QList<QAccessibleInterface*> TControlAccess::selectedCells() const {
  QList<QAccessibleInterface*> out;
  TvxAccessibleContent* c = Content();
  if (!c) return out;
  // Only the cells the grid has made: a table's rows may be unloaded.
  const int rows = c->TableRows(), columns = c->TableColumns();
  for (int r = 0; r < rows; ++r)
    for (int col = 0; col < columns; ++col) {
      const TvxAccessibleId id = c->TableCell(r, col);
      if (id != vxAccessibleNone && c->State(id).Contains(asSelected))
        if (QAccessibleInterface* cell = Node(id)) out.append(cell);
    }
  return out;
}

QString TControlAccess::columnDescription(int column) const {
  TvxAccessibleContent* c = Content();
  return c ? QtText(c->ColumnHeader(column)) : QString();
}

int TControlAccess::columnCount() const {
  TvxAccessibleContent* c = Content();
  return c ? std::max(c->TableColumns(), 0) : 0;
}

int TControlAccess::rowCount() const {
  TvxAccessibleContent* c = Content();
  return c ? std::max(c->TableRows(), 0) : 0;
}

QVariant TControlAccess::currentValue() const {
  double v = 0, lo = 0, hi = 0;
  return Numbers(v, lo, hi) ? QVariant(v) : QVariant();
}

QVariant TControlAccess::maximumValue() const {
  double v = 0, lo = 0, hi = 0;
  return Numbers(v, lo, hi) ? QVariant(hi) : QVariant();
}

QVariant TControlAccess::minimumValue() const {
  double v = 0, lo = 0, hi = 0;
  return Numbers(v, lo, hi) ? QVariant(lo) : QVariant();
}

// The controls Qt has a bridge for (user-interface thread only).
std::unordered_set<const TControl*>& Bridged() {
  static std::unordered_set<const TControl*> controls;
  return controls;
}

TControlAccess::~TControlAccess() {
  DropNodes();
  Bridged().erase(fKey);
}

QAccessibleInterface* Factory(const QString&, QObject* theObject) {
  auto* control = dynamic_cast<TControl*>(theObject);
  if (!control || control->IsDestroying() || !control->AccessibleContent()) return nullptr;
  Bridged().insert(control);
  return new TControlAccess(control);
}

// The bridge of a control that has one, without making one.
TControlAccess* ExistingAccess(TControl* theControl) {
  if (!Bridged().count(theControl)) return nullptr;
  return dynamic_cast<TControlAccess*>(QAccessible::queryAccessibleInterface(theControl));
}

}  // namespace

namespace detail {

void InstallAccessibleFactory() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(&Factory);
}

void ForgetAccessible(TControl* theControl) {
  if (TControlAccess* access = ExistingAccess(theControl)) access->Forget();
  Bridged().erase(theControl);
}

}  // namespace detail

bool TControl::AccessibleListening() {
  if (QAccessible::isActive()) return true;
  // Qt tells no one whether an update handler is installed: swap it out and back.
  QAccessible::UpdateHandler handler = QAccessible::installUpdateHandler(nullptr);
  QAccessible::installUpdateHandler(handler);
  return handler != nullptr;
}

void TControl::NotifyAccessibleFocus() {
  // As Qt's item views: a current item that moves in a control without the
  // keyboard focus is no focus to tell of.
  if (IsDestroying() || !hasFocus() || !AccessibleListening()) return;
  TvxAccessibleContent* content = AccessibleContent();
  if (!content) return;
  auto* access = dynamic_cast<TControlAccess*>(QAccessible::queryAccessibleInterface(this));
  if (!access) return;
  QAccessibleInterface* node = access->Node(content->Current());
  if (!node) return;
  QAccessibleEvent event(node, QAccessible::Focus);
  QAccessible::updateAccessibility(&event);
}

void TControl::NotifyAccessibleReset() {
  if (TControlAccess* access = ExistingAccess(this)) access->DropNodes();
}

}  // namespace vx
