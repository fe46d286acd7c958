// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/FolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QTreeView>

namespace {
// Whether `path` is `ancestor` or lies below it.
bool IsWithin(const QString& path, const QString& ancestor) {
  if (path == ancestor) return true;
  const QString prefix = ancestor.endsWith(QLatin1Char('/')) ? ancestor : ancestor + '/';
  return path.startsWith(prefix);
}
}  // namespace

FolderTree::FolderTree(QTreeView* view, const QString& rootPath, const QString& rootLabel)
    : QSortFilterProxyModel(view),
      view_(view),
      files_(new QFileSystemModel(this)),
      rootPath_(QDir::cleanPath(QFileInfo(rootPath).absoluteFilePath())),
      rootLabel_(rootLabel) {
  files_->setOption(QFileSystemModel::DontWatchForChanges, true);
  files_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
  files_->setRootPath(rootPath_);
  setSourceModel(files_);
  setRecursiveFilteringEnabled(false);

  view_->setModel(this);
  view_->setHeaderHidden(true);
  for (int column = 1; column < files_->columnCount(); ++column) view_->hideColumn(column);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Only the root's parent level is hidden above the root, so the root is the top node.
  view_->setRootIndex(mapFromSource(files_->index(rootPath_).parent()));
  SelectRoot();
  view_->expand(RootIndex());
}

QModelIndex FolderTree::RootIndex() const { return mapFromSource(files_->index(rootPath_)); }

bool FolderTree::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  const QString path = files_->filePath(files_->index(sourceRow, 0, sourceParent));
  // The way down to the root, the root, and everything below it.
  return IsWithin(path, rootPath_) || IsWithin(rootPath_, path);
}

QVariant FolderTree::data(const QModelIndex& index, int role) const {
  if (role == Qt::DisplayRole && !rootLabel_.isEmpty() && index == RootIndex()) return rootLabel_;
  return QSortFilterProxyModel::data(index, role);
}

QString FolderTree::SelectedPath() const {
  const QModelIndex current = view_->currentIndex();
  if (!current.isValid()) return QString();
  if (current == RootIndex() && !rootLabel_.isEmpty()) return rootLabel_;
  return files_->filePath(mapToSource(current));
}

bool FolderTree::RootSelected() const { return view_->currentIndex() == RootIndex(); }

bool FolderTree::SelectFolder(const QString& path) {
  const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  if (!IsWithin(clean, rootPath_) || !QFileInfo(clean).isDir()) return false;
  const QModelIndex index = mapFromSource(files_->index(clean));
  if (!index.isValid()) return false;
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) view_->expand(up);
  view_->setCurrentIndex(index);
  view_->scrollTo(index);
  return true;
}

void FolderTree::SelectRoot() { view_->setCurrentIndex(RootIndex()); }
