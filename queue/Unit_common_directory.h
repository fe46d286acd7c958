// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QDialog>
#include <QString>

class FolderTree;

namespace Ui {
class TFrmDirectory;
}

// The modal output-folder dialog, rooted at the user's desktop folder (the
// home folder when there is none). OK: ChosenFolder = the selected path,
// Accepted. Cancel or Escape: ChosenFolder empty, Rejected. The close box:
// Rejected, ChosenFolder left as it was.
class TFrmDirectory : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmDirectory(QWidget* parent = nullptr);
  ~TFrmDirectory() override;

  void ButtonOKClick();
  void ButtonCancelClick();

  bool SelectFolder(const QString& path);
  QString SelectedFolder() const;
  // The tree's root folder.
  static QString DesktopFolder();

  std::unique_ptr<Ui::TFrmDirectory> ui;
  QString ChosenFolder;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  FolderTree* tree_;
};
