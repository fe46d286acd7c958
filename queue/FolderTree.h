// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QAbstractFileIconProvider>
#include <QAbstractItemModel>
#include <QFileIconProvider>
#include <QList>
#include <QMultiHash>
#include <QString>
#include <QStringList>

class QFileSystemModel;
class QTreeView;

// A folder the tree shows under its root, named as the desktop names it.
struct FolderPlace {
  QString label;
  QString path;
};

// The places of a tree's root, asked again each time the tree is refreshed
// (a volume may be mounted or removed while the program runs).
using FolderPlaces = std::function<QList<FolderPlace>()>;

// A folder tree for a QTreeView, on a QFileSystemModel that watches the
// folders shown so that new ones appear: folders only, one root node at the
// top, exactly one node selected (the root at first). The root is a node of
// its own, like the desktop's namespace: its places come first, then the
// sub-folders of its folder when it has one. The root's path text is given;
// every other node's path is its folder's path.
class FolderTree : public QAbstractItemModel {
  Q_OBJECT

 public:
  struct Root {
    QString label;
    QString pathText;  // what SelectedPath gives for the root
    QString folder;    // whose sub-folders follow the places; empty: none
    QAbstractFileIconProvider::IconType icon = QAbstractFileIconProvider::Folder;
  };
  FolderTree(QTreeView* view, Root root, FolderPlaces places);
  ~FolderTree() override;

  // The full path of the selected node.
  QString SelectedPath() const;
  bool RootSelected() const;
  // Selects, reveals and scrolls to the folder at `path`; false when it is not in the tree.
  bool SelectFolder(const QString& path);
  void SelectRoot();
  // Reads the places and every folder shown so far again, so that what was
  // made or mounted meanwhile is there even where no change was reported.
  void Refresh();

  QModelIndex index(int row, int column, const QModelIndex& parent) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent) const override;
  int columnCount(const QModelIndex& parent) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool hasChildren(const QModelIndex& parent) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  struct Node;
  Node* NodeOf(const QModelIndex& index) const;
  QModelIndex IndexOf(const Node* node) const;
  void Fetch(Node* node);
  void Sync(Node* node);
  void SyncPlaces();
  int Merge(Node* node, int from, int end, const QList<FolderPlace>& wanted);
  void Forget(Node* node);
  void SourceChanged(const QString& folder);

  QTreeView* view_;
  QFileSystemModel* files_;
  FolderPlaces places_;
  std::unique_ptr<Node> top_;  // above the root: the view's invisible parent
  Node* root_;
  QString rootText_;
  QAbstractFileIconProvider::IconType rootIcon_;
  QFileIconProvider icons_;
  QMultiHash<QString, Node*> read_;  // read folders by path, to follow their changes
};

// The translated name of the computer node ("Computer").
QString ComputerNodeName();
// The folders under which removable and other volumes are mounted.
QStringList DefaultMediaRoots();
// The volumes mounted under the media roots, in name order within each root.
QList<FolderPlace> MountedVolumes(const QStringList& mediaRoots);
