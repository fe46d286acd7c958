// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QDialog>
#include <QString>
#include <QStringList>

#include "queue/FolderTree.h"

namespace Ui {
class TFrmDirectory;
}

// The modal output-folder dialog. Its tree's root is the desktop (the desktop
// folder, or the home folder when there is none), holding the home folder,
// the videos folder, the computer (the file-system root) and every volume
// mounted under the media roots, then the desktop's own folders. Each showing
// reads the tree again, so folders and volumes that came meanwhile are there.
// OK: ChosenFolder = the selected path,
// Accepted. Cancel or Escape: ChosenFolder empty, Rejected. The close box:
// Rejected, ChosenFolder left as it was.
class TFrmDirectory : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmDirectory(QWidget* parent = nullptr, QStringList mediaRoots = DefaultMediaRoots());
  ~TFrmDirectory() override;

  void ButtonOKClick();
  void ButtonCancelClick();

  bool SelectFolder(const QString& path);
  QString SelectedFolder() const;
  // The tree's root folder.
  static QString DesktopFolder();

  // The folder OK took (see above).
  const QString& ChosenFolder() const { return chosenFolder_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TFrmDirectory> ui;
  FolderTree* tree_;
  QString chosenFolder_;
};
