// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/Unit_common_directory.h"

#include <QDir>
#include <QKeyEvent>
#include <QStandardPaths>

#include "ui_Unit_common_directory.h"

QString TFrmDirectory::DesktopFolder() {
  const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (!desktop.isEmpty() && QDir(desktop).exists()) return desktop;
  return QDir::homePath();
}

TFrmDirectory::TFrmDirectory(QWidget* parent, QStringList mediaRoots)
    : QDialog(parent), ui(new Ui::TFrmDirectory) {
  ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(401, 306);
  setModal(true);
  const QString desktop = DesktopFolder();
  const FolderTree::Root root{QStandardPaths::displayName(QStandardPaths::DesktopLocation), desktop,
                              desktop, QAbstractFileIconProvider::Desktop};
  tree_ = new FolderTree(ui->ShellTreeView1, root, [roots = std::move(mediaRoots)] {
    QList<FolderPlace> places{
        {QString(), QDir::homePath()},
        {QString(), QStandardPaths::writableLocation(QStandardPaths::MoviesLocation)},
        {ComputerNodeName(), QStringLiteral("/")}};
    return places + MountedVolumes(roots);
  });
  connect(ui->ButtonOK, &QPushButton::clicked, this, &TFrmDirectory::ButtonOKClick);
  connect(ui->ButtonCancel, &QPushButton::clicked, this, &TFrmDirectory::ButtonCancelClick);
}

TFrmDirectory::~TFrmDirectory() = default;

bool TFrmDirectory::SelectFolder(const QString& path) { return tree_->SelectFolder(path); }

QString TFrmDirectory::SelectedFolder() const { return tree_->SelectedPath(); }

void TFrmDirectory::ButtonOKClick() {
  chosenFolder_ = tree_->SelectedPath();
  accept();
}

void TFrmDirectory::ButtonCancelClick() {
  chosenFolder_.clear();
  QDialog::reject();
}

void TFrmDirectory::showEvent(QShowEvent* event) {
  tree_->Refresh();
  QDialog::showEvent(event);
}

void TFrmDirectory::keyPressEvent(QKeyEvent* event) {
  // Escape answers like Cancel; only the close box leaves ChosenFolder alone.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    ButtonCancelClick();
    return;
  }
  QDialog::keyPressEvent(event);
}
