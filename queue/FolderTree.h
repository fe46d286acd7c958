// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSortFilterProxyModel>
#include <QString>

class QFileSystemModel;
class QTreeView;

// A folder tree for a QTreeView: folders only, one root node at the top,
// exactly one node selected (the root at first). The root may carry a label of
// its own, which is then also its path text (a node with no file-system path,
// such as "Computer" over "/"). The tree does not follow later changes on disk.
class FolderTree : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  // Shows `rootPath` (absolute) as the only top node of `view`.
  FolderTree(QTreeView* view, const QString& rootPath, const QString& rootLabel = QString());

  // The full path of the selected node: its file-system path, or the root's label.
  QString SelectedPath() const;
  bool RootSelected() const;
  // Selects (and reveals) the folder at `path`; false when it is not in the tree.
  bool SelectFolder(const QString& path);
  void SelectRoot();

  QVariant data(const QModelIndex& index, int role) const override;

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  QModelIndex RootIndex() const;

  QTreeView* view_;
  QFileSystemModel* files_;
  QString rootPath_;
  QString rootLabel_;
};
