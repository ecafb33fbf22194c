#pragma once

// A small tree model with every operation a binding hears (rows inserted,
// removed and moved, data changed, layout changed, reset), and knobs for the
// awkward answers: refusing writes, resetting from inside setData.
#include <QAbstractItemModel>
#include <QMap>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace vxtest {

class PlanModel : public QAbstractItemModel {
public:
  struct Node {
    Node* parent = nullptr;
    QMap<int, QVariant> roles;
    std::vector<std::unique_ptr<Node>> kids;
    int RowOf(const Node* n) const {
      for (std::size_t k = 0; k < kids.size(); ++k)
        if (kids[k].get() == n) return static_cast<int>(k);
      return -1;
    }
  };

  bool fRefuse = false;          // setData answers false
  bool fResetInSetData = false;  // setData resets the model before answering

  Node* NodeOf(const QModelIndex& i) const { return i.isValid() ? static_cast<Node*>(i.internalPointer()) : &fRoot; }

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override {
    Node* p = NodeOf(parent);
    if (row < 0 || column != 0 || row >= static_cast<int>(p->kids.size())) return {};
    return createIndex(row, 0, p->kids[row].get());
  }
  QModelIndex parent(const QModelIndex& child) const override {
    Node* p = child.isValid() ? NodeOf(child)->parent : &fRoot;
    return p == &fRoot ? QModelIndex() : createIndex(p->parent->RowOf(p), 0, p);
  }
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.column() > 0 ? 0 : static_cast<int>(NodeOf(parent)->kids.size());
  }
  int columnCount(const QModelIndex& = {}) const override { return 1; }
  QVariant data(const QModelIndex& i, int role) const override {
    return i.isValid() ? NodeOf(i)->roles.value(role == Qt::EditRole ? Qt::DisplayRole : role) : QVariant();
  }
  Qt::ItemFlags flags(const QModelIndex& i) const override {
    return i.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::NoItemFlags;
  }
  bool setData(const QModelIndex& i, const QVariant& value, int role) override {
    if (!i.isValid()) return false;
    if (fResetInSetData) {
      beginResetModel();
      endResetModel();
    }
    if (fRefuse) return false;
    NodeOf(i)->roles[role == Qt::EditRole ? Qt::DisplayRole : role] = value;
    emit dataChanged(i, i, {role});
    return true;
  }
  bool insertRows(int row, int count, const QModelIndex& parent = {}) override {
    Node* p = NodeOf(parent);
    if (row < 0 || row > static_cast<int>(p->kids.size()) || count < 1) return false;
    beginInsertRows(parent, row, row + count - 1);
    for (int k = 0; k < count; ++k) {
      auto n = std::make_unique<Node>();
      n->parent = p;
      p->kids.insert(p->kids.begin() + row + k, std::move(n));
    }
    endInsertRows();
    return true;
  }
  bool removeRows(int row, int count, const QModelIndex& parent = {}) override {
    Node* p = NodeOf(parent);
    if (row < 0 || count < 1 || row + count > static_cast<int>(p->kids.size())) return false;
    beginRemoveRows(parent, row, row + count - 1);
    p->kids.erase(p->kids.begin() + row, p->kids.begin() + row + count);
    endRemoveRows();
    return true;
  }
  bool moveRows(const QModelIndex& from, int row, int count, const QModelIndex& to, int dest) override {
    Node* a = NodeOf(from);
    Node* b = NodeOf(to);
    if (row < 0 || count < 1 || row + count > static_cast<int>(a->kids.size()) || dest < 0 ||
        dest > static_cast<int>(b->kids.size()))
      return false;
    for (Node* up = b; up; up = up->parent)  // not into itself
      for (int k = row; k < row + count; ++k)
        if (up == a->kids[k].get()) return false;
    if (!beginMoveRows(from, row, row + count - 1, to, dest)) return false;
    std::vector<std::unique_ptr<Node>> taken;
    for (int k = 0; k < count; ++k) taken.push_back(std::move(a->kids[row + k]));
    a->kids.erase(a->kids.begin() + row, a->kids.begin() + row + count);
    if (a == b && dest > row) dest -= count;
    for (int k = 0; k < count; ++k) {
      taken[k]->parent = b;
      b->kids.insert(b->kids.begin() + dest + k, std::move(taken[k]));
    }
    endMoveRows();
    return true;
  }
  // The children of parent reversed, as a layout change.
  void ReverseChildren(const QModelIndex& parent) {
    emit layoutAboutToBeChanged();
    Node* p = NodeOf(parent);
    const QModelIndexList before = persistentIndexList();
    std::vector<Node*> nodes;
    for (const QModelIndex& i : before) nodes.push_back(NodeOf(i));
    std::reverse(p->kids.begin(), p->kids.end());
    QModelIndexList after;
    for (Node* n : nodes) after.push_back(createIndex(n->parent->RowOf(n), 0, n));
    changePersistentIndexList(before, after);
    emit layoutChanged();
  }
  void Reset(const std::function<void()>& change) {
    beginResetModel();
    change();
    endResetModel();
  }
  Node& Root() { return fRoot; }

private:
  mutable Node fRoot;
};

}  // namespace vxtest
