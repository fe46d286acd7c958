// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QDialog>
#include <QStringList>

#include "queue/FolderTree.h"

namespace Ui {
class TFrmBatchAdd;
}

// The modeless add-from-folder dialog. Its tree's root is the computer, which
// holds the file-system root and every volume mounted under the media roots.
// Its folder, extension and sub-folder box keep their state between showings;
// each showing reads the tree again.
class TFrmBatchAdd : public QDialog {
  Q_OBJECT

 public:
  // The main window's folder scan: folder and extension as bytes.
  using FolderScan =
      std::function<void(const std::string& folder, bool subDirs, const std::string& ext)>;

  // OK hands the chosen folder to addFilesFromFolder.
  explicit TFrmBatchAdd(FolderScan addFilesFromFolder, QWidget* parent = nullptr,
                        QStringList mediaRoots = DefaultMediaRoots());
  ~TFrmBatchAdd() override;

  // Hides the dialog and hands the selected folder, the sub-folder box and the
  // trimmed extension to the folder scan. The computer node is no folder:
  // nothing is scanned for it.
  void buttonOKClick();
  void buttonCancelClick();

  // Selects a folder in the tree (tests, and a caller that wants to preset it).
  bool SelectFolder(const QString& path);
  QString SelectedFolder() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TFrmBatchAdd> ui;
  FolderTree* tree_;
  FolderScan addFilesFromFolder_;
};

// The extension text with blanks and control characters removed from both ends.
std::string TrimExtension(const std::string& text);
