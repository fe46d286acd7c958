// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/QueueModel.h"

#include <utility>

namespace {

// Short enough to look immediate, long enough to gather a scan's additions.
constexpr int kPublishDelayMs = 15;

}  // namespace

QueueModel::QueueModel(QObject* parent) : QAbstractTableModel(parent) {
  publishTimer_.setSingleShot(true);
  publishTimer_.setInterval(kPublishDelayMs);
  connect(&publishTimer_, &QTimer::timeout, this, &QueueModel::Publish);
}

void QueueModel::Append(const QString& path) {
  entries_.push_back(path);
  if (!publishTimer_.isActive()) publishTimer_.start();
}

void QueueModel::Publish() {
  publishTimer_.stop();
  if (shown_ == Count()) return;
  beginInsertRows(QModelIndex(), shown_, Count() - 1);
  shown_ = Count();
  endInsertRows();
}

void QueueModel::Remove(int index) {
  Publish();
  if (index < 0 || index >= Count()) return;
  beginRemoveRows(QModelIndex(), index, index);
  entries_.erase(entries_.begin() + index);
  shown_ = Count();
  endRemoveRows();
}

void QueueModel::Clear() {
  publishTimer_.stop();
  beginResetModel();
  entries_.clear();
  shown_ = 0;
  endResetModel();
}

void QueueModel::Swap(int first, int second) {
  Publish();
  if (first < 0 || second < 0 || first >= Count() || second >= Count()) return;
  std::swap(entries_[static_cast<size_t>(first)], entries_[static_cast<size_t>(second)]);
  emit dataChanged(index(first, 0), index(first, 0));
  emit dataChanged(index(second, 0), index(second, 0));
}

void QueueModel::SetHeader(const QString& text) {
  header_ = text;
  emit headerDataChanged(Qt::Horizontal, 0, 0);
}

int QueueModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_; }

int QueueModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1; }

QVariant QueueModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shown_) return {};
  if (role == Qt::DisplayRole || role == Qt::EditRole) return Entry(index.row());
  return {};
}

bool QueueModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.row() >= shown_ || role != Qt::EditRole) return false;
  entries_[static_cast<size_t>(index.row())] = value.toString();
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags QueueModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

QVariant QueueModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole) return header_;
  return QAbstractTableModel::headerData(section, orientation, role);
}
