// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QAbstractTableModel>
#include <QString>
#include <QTimer>

// The conversion queue: one text per entry, the path exactly as it was added.
// Additions are shown to the view in batches a few milliseconds apart, so a
// scan of a large tree does not relayout and repaint the list for every file;
// the queue itself (Count, Entry) always holds every entry at once. Every other
// change first shows what is still held back, so view rows and entries agree.
class QueueModel : public QAbstractTableModel {
 public:
  explicit QueueModel(QObject* parent = nullptr);

  int Count() const { return static_cast<int>(entries_.size()); }
  const QString& Entry(int index) const { return entries_[static_cast<size_t>(index)]; }
  void Append(const QString& path);
  void Remove(int index);
  void Clear();
  void Swap(int first, int second);
  void SetHeader(const QString& text);
  // Hands every held-back addition to the view now.
  void Publish();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<QString> entries_;
  int shown_ = 0;  // entries the view knows of
  QString header_;
  QTimer publishTimer_;
};
