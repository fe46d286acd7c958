// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/Unit_batch.h"

#include "ui/PathText.h"
#include "ui_Unit_batch.h"

std::string TrimExtension(const std::string& text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  std::size_t begin = 0, end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

TFrmBatchAdd::TFrmBatchAdd(FolderScan addFilesFromFolder, QWidget* parent, QStringList mediaRoots)
    : QDialog(parent),
      ui(new Ui::TFrmBatchAdd),
      addFilesFromFolder_(std::move(addFilesFromFolder)) {
  ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(402, 271);
  // The computer node has no folder of its own: its path text is its name.
  const FolderTree::Root root{ComputerNodeName(), ComputerNodeName(), QString(),
                              QAbstractFileIconProvider::Computer};
  tree_ = new FolderTree(ui->ShellTreeView, root, [roots = std::move(mediaRoots)] {
    return QList<FolderPlace>{{QStringLiteral("/"), QStringLiteral("/")}} + MountedVolumes(roots);
  });
  connect(ui->buttonOK, &QPushButton::clicked, this, &TFrmBatchAdd::buttonOKClick);
  connect(ui->buttonCancel, &QPushButton::clicked, this, &TFrmBatchAdd::buttonCancelClick);
}

TFrmBatchAdd::~TFrmBatchAdd() = default;

bool TFrmBatchAdd::SelectFolder(const QString& path) { return tree_->SelectFolder(path); }

QString TFrmBatchAdd::SelectedFolder() const { return tree_->SelectedPath(); }

void TFrmBatchAdd::buttonOKClick() {
  const QString folder = tree_->SelectedPath();
  // The computer node has no folder of its own; its name is no path to scan
  // (it would be read relative to the working folder).
  const bool isFolder = !folder.isEmpty() && !tree_->RootSelected();
  hide();
  const std::string ext = TrimExtension(TextToPath(ui->editExt->text()));
  const bool subDirs = ui->checkBoxIsSubDirectorie->isChecked();
  if (isFolder && addFilesFromFolder_) addFilesFromFolder_(TextToPath(folder), subDirs, ext);
}

void TFrmBatchAdd::buttonCancelClick() { hide(); }

void TFrmBatchAdd::showEvent(QShowEvent* event) {
  tree_->Refresh();
  QDialog::showEvent(event);
}
