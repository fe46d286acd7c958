// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/FolderTree.h"

#include <algorithm>

#include <pwd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSet>
#include <QTreeView>

struct FolderTree::Node {
  Node* parent = nullptr;
  QString label;       // shown; empty: the folder's name
  QString path;        // the folder read for the children; empty: none
  int placeCount = 0;  // children that are places, before the sub-folders
  bool read = false;
  std::vector<std::unique_ptr<Node>> children;
};

namespace {

QString Clean(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

// Whether `path` is `ancestor` or lies below it.
bool IsWithin(const QString& path, const QString& ancestor) {
  if (path == ancestor) return true;
  const QString prefix = ancestor.endsWith(QLatin1Char('/')) ? ancestor : ancestor + '/';
  return path.startsWith(prefix);
}

QString Join(const QString& folder, const QString& name) {
  return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + '/' + name;
}

bool NameOrder(const QString& a, const QString& b) {
  const int order = QString::compare(a, b, Qt::CaseInsensitive);
  return order != 0 ? order < 0 : a < b;
}

// The sub-folders of a folder as the file-system model has them so far.
QList<FolderPlace> SubFolders(const QFileSystemModel& files, const QString& folder) {
  const QModelIndex parent = files.index(folder);
  QStringList names;
  for (int row = 0; row < files.rowCount(parent); ++row) {
    const QModelIndex child = files.index(row, 0, parent);
    if (files.isDir(child)) names << files.fileName(child);
  }
  std::sort(names.begin(), names.end(), NameOrder);
  QList<FolderPlace> folders;
  for (const QString& name : names) folders.push_back({QString(), Join(folder, name)});
  return folders;
}

}  // namespace

QString ComputerNodeName() { return QCoreApplication::translate("QFileSystemModel", "Computer"); }

QStringList DefaultMediaRoots() {
  QString user = qEnvironmentVariable("USER");
  if (const passwd* entry = ::getpwuid(::getuid())) user = QString::fromLocal8Bit(entry->pw_name);
  return {QStringLiteral("/media/") + user, QStringLiteral("/run/media/") + user,
          QStringLiteral("/mnt")};
}

QList<FolderPlace> MountedVolumes(const QStringList& mediaRoots) {
  QList<FolderPlace> volumes;
  for (const QString& root : mediaRoots) {
    QStringList names = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(), NameOrder);
    for (const QString& name : names) volumes.push_back({name, Join(Clean(root), name)});
  }
  return volumes;
}

FolderTree::FolderTree(QTreeView* view, Root root, FolderPlaces places)
    : QAbstractItemModel(view),
      view_(view),
      files_(new QFileSystemModel(this)),
      places_(std::move(places)),
      top_(std::make_unique<Node>()) {
  files_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
  files_->setRootPath(QStringLiteral("/"));  // without a root path the model reads no folder
  // Each folder that the model reads is watched; a change there reaches the node.
  for (auto signal : {&QFileSystemModel::rowsInserted, &QFileSystemModel::rowsRemoved})
    connect(files_, signal, this,
            [this](const QModelIndex& parent) { SourceChanged(files_->filePath(parent)); });
  connect(files_, &QFileSystemModel::directoryLoaded, this, &FolderTree::SourceChanged);

  auto node = std::make_unique<Node>();
  node->parent = top_.get();
  node->label = root.label;
  node->path = root.folder.isEmpty() ? QString() : Clean(root.folder);
  root_ = node.get();
  top_->children.push_back(std::move(node));
  rootText_ = root.pathText;
  rootIcon_ = root.icon;

  view_->setModel(this);
  view_->setHeaderHidden(true);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  SyncPlaces();
  SelectRoot();
  view_->expand(IndexOf(root_));
}

FolderTree::~FolderTree() = default;

FolderTree::Node* FolderTree::NodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<Node*>(index.internalPointer()) : top_.get();
}

QModelIndex FolderTree::IndexOf(const Node* node) const {
  if (node == top_.get()) return QModelIndex();
  const auto& siblings = node->parent->children;
  for (size_t row = 0; row < siblings.size(); ++row)
    if (siblings[row].get() == node)
      return createIndex(static_cast<int>(row), 0, const_cast<Node*>(node));
  return QModelIndex();
}

QModelIndex FolderTree::index(int row, int column, const QModelIndex& parent) const {
  const Node* node = NodeOf(parent);
  if (column != 0 || row < 0 || row >= static_cast<int>(node->children.size()))
    return QModelIndex();
  return createIndex(row, 0, node->children[static_cast<size_t>(row)].get());
}

QModelIndex FolderTree::parent(const QModelIndex& child) const {
  return child.isValid() ? IndexOf(NodeOf(child)->parent) : QModelIndex();
}

int FolderTree::rowCount(const QModelIndex& parent) const {
  return static_cast<int>(NodeOf(parent)->children.size());
}

int FolderTree::columnCount(const QModelIndex&) const { return 1; }

QVariant FolderTree::data(const QModelIndex& index, int role) const {
  const Node* node = NodeOf(index);
  if (!index.isValid()) return QVariant();
  if (role == Qt::DisplayRole)
    return node->label.isEmpty() ? QFileInfo(node->path).fileName() : node->label;
  if (role != Qt::DecorationRole) return QVariant();
  if (node == root_ && rootIcon_ != QAbstractFileIconProvider::Folder)
    return icons_.icon(rootIcon_);
  if (node->path == QLatin1String("/")) return icons_.icon(QAbstractFileIconProvider::Computer);
  return files_->fileIcon(files_->index(node->path));
}

bool FolderTree::hasChildren(const QModelIndex& parent) const {
  const Node* node = NodeOf(parent);
  return !node->children.empty() || (!node->read && !node->path.isEmpty());
}

bool FolderTree::canFetchMore(const QModelIndex& parent) const {
  const Node* node = NodeOf(parent);
  return !node->read && !node->path.isEmpty();
}

void FolderTree::fetchMore(const QModelIndex& parent) { Fetch(NodeOf(parent)); }

void FolderTree::Fetch(Node* node) {
  if (node->read || node->path.isEmpty()) return;
  node->read = true;
  read_.insert(node->path, node);
  const QModelIndex folder = files_->index(node->path);
  if (files_->canFetchMore(folder)) files_->fetchMore(folder);  // read in the background
  Sync(node);
}

void FolderTree::Sync(Node* node) {
  Merge(node, node->placeCount, static_cast<int>(node->children.size()),
        SubFolders(*files_, node->path));
}

void FolderTree::SyncPlaces() {
  QList<FolderPlace> wanted;
  for (const FolderPlace& place : places_()) {
    const QString path = Clean(place.path);
    const bool shown = std::any_of(wanted.begin(), wanted.end(),
                                   [&](const FolderPlace& p) { return p.path == path; });
    if (shown || path == root_->path || !QFileInfo(place.path).isDir()) continue;
    files_->index(path);  // known to the model before it is painted
    wanted.push_back({place.label, path});
  }
  root_->placeCount = Merge(root_, 0, root_->placeCount, wanted);
}

// Makes node's children in rows [from, end) the wanted folders, in their
// order, keeping the nodes (and what was read below them) of folders still
// wanted. Returns where the range ends now.
int FolderTree::Merge(Node* node, int from, int end, const QList<FolderPlace>& wanted) {
  const QModelIndex parent = IndexOf(node);
  auto& children = node->children;
  QSet<QString> paths;  // a folder may hold thousands of folders
  for (const FolderPlace& place : wanted) paths.insert(place.path);
  for (int row = end - 1; row >= from; --row) {
    if (paths.contains(children[static_cast<size_t>(row)]->path)) continue;
    beginRemoveRows(parent, row, row);
    Forget(children[static_cast<size_t>(row)].get());
    children.erase(children.begin() + row);
    endRemoveRows();
    --end;
  }
  for (int k = 0; k < wanted.size(); ++k) {
    const int row = from + k;
    if (row < end && children[static_cast<size_t>(row)]->path == wanted[k].path) continue;
    auto child = std::make_unique<Node>();
    child->parent = node;
    child->label = wanted[k].label;
    child->path = wanted[k].path;
    beginInsertRows(parent, row, row);
    children.insert(children.begin() + row, std::move(child));
    endInsertRows();
    ++end;
  }
  return end;
}

void FolderTree::Forget(Node* node) {
  read_.remove(node->path, node);
  for (auto& child : node->children) Forget(child.get());
}

void FolderTree::SourceChanged(const QString& folder) {
  for (Node* node : read_.values(folder)) Sync(node);
}

void FolderTree::Refresh() {
  SyncPlaces();
  const QList<Node*> read = read_.values();
  for (Node* node : read) {
    if (!read_.contains(node->path, node)) continue;  // gone with a folder above it
    // New folders the watcher has not reported yet are put into the file-system model.
    for (const QString& name : QDir(node->path).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
      files_->index(Join(node->path, name));
    Sync(node);
  }
  view_->scrollTo(view_->currentIndex());
}

QString FolderTree::SelectedPath() const {
  const QModelIndex current = view_->currentIndex();
  if (!current.isValid()) return QString();
  const Node* node = NodeOf(current);
  return node == root_ ? rootText_ : node->path;
}

bool FolderTree::RootSelected() const { return NodeOf(view_->currentIndex()) == root_; }

bool FolderTree::SelectFolder(const QString& path) {
  if (path.isEmpty() || !QFileInfo(path).isDir()) return false;
  const QString target = Clean(path);
  // The deepest node under the root whose folder holds the target.
  Node* node = nullptr;
  auto consider = [&](Node* candidate) {
    if (!candidate->path.isEmpty() && IsWithin(target, candidate->path) &&
        (!node || candidate->path.size() > node->path.size()))
      node = candidate;
  };
  consider(root_);
  for (int row = 0; row < root_->placeCount; ++row)
    consider(root_->children[static_cast<size_t>(row)].get());
  if (!node) return false;
  while (node->path != target) {
    Fetch(node);
    const QString rest =
        target.mid(node->path.size()).section('/', 0, 0, QString::SectionSkipEmpty);
    const QString next = Join(node->path, rest);
    files_->index(next);  // in the model at once, before its siblings are read
    Sync(node);
    auto& children = node->children;
    auto found = std::find_if(children.begin() + node->placeCount, children.end(),
                              [&](const auto& child) { return child->path == next; });
    if (found == children.end()) return false;
    node = found->get();
  }
  const QModelIndex index = IndexOf(node);
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) view_->expand(up);
  view_->setCurrentIndex(index);
  view_->scrollTo(index);
  return true;
}

void FolderTree::SelectRoot() { view_->setCurrentIndex(IndexOf(root_)); }
