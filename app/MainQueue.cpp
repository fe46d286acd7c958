// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's queue: additions from the open-file dialog, drops and the
// folder scan, and the commands on the selected entry.
#include <algorithm>

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "app/TypedFileNames.h"
#include "app/UnitMain.h"
#include "queue/FolderScan.h"
#include "queue/QueueModel.h"
#include "queue/QueueRules.h"
#include "queue/Unit_batch.h"
#include "ui/PathText.h"
#include "ui/Prompts.h"
#include "ui_UnitMain.h"

namespace {

constexpr qint64 kScanPumpIntervalMs = 4;

// The open-file dialog: several files, and a typed name that does not exist is
// taken all the same (the queue holds paths, not files). The name field is what
// counts, as in the platform dialog the queue was designed around; Qt would
// drop typed names as soon as one of them matches a listed file.
class OpenVideoDialog : public QFileDialog {
 public:
  explicit OpenVideoDialog(QWidget* parent) : QFileDialog(parent) {
    setOption(QFileDialog::DontUseNativeDialog);
    // The dialog's own check splits a name holding '"' into wrong pieces and
    // disables Open; ours follows, so Open is there whenever a name is.
    if (auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
      connect(field, &QLineEdit::textChanged, this, [this] {
        auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        if (QPushButton* open = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr)
          open->setEnabled(!TypedFiles().isEmpty() || !selectedFiles().isEmpty());
      });
  }

  const QStringList& ChosenFiles() const { return chosen_; }

  void accept() override {
    QStringList files = TypedFiles();
    if (files.isEmpty()) files = selectedFiles();
    if (files.isEmpty()) return;
    if (files.size() == 1 && QFileInfo(files.front()).isDir()) {
      setDirectory(files.front());
      return;
    }
    chosen_ = files;
    QDialog::accept();
  }

 private:
  // The names in the name field, as absolute paths.
  QStringList TypedFiles() const {
    const auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QStringList names = SplitTypedFileNames(field ? field->text() : QString());
    const QDir folder = directory();
    for (QString& name : names) name = QDir::cleanPath(folder.absoluteFilePath(name));
    return names;
  }

  QStringList chosen_;
};

// Only files from the file manager are taken; dragged text or web links are not.
bool CarriesLocalFiles(const QMimeData* data) {
  if (!data) return false;
  const QList<QUrl> urls = data->urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

}  // namespace

void TfrmMain::AddFileToList(const QString& path) {
  if (IsSupportedPath(TextToPath(path))) queue_->Append(path);
}

void TfrmMain::AddPathToList(const std::string& path) {
  if (IsSupportedPath(path)) queue_->Append(PathToText(path));
}

void TfrmMain::AddFilesFromFolder(const std::string& folder, bool subDirs,
                                  const std::string& extension) {
  FolderScanCallbacks callbacks;
  callbacks.addFile = [this](const std::string& path) { AddPathToList(path); };
  // The window is kept responsive, but events are handled a few times per
  // frame rather than after every one of a big tree's entries.
  // The first entry already lets waiting events in.
  QElapsedTimer sincePump;
  callbacks.afterEntry = [&sincePump] {
    if (sincePump.isValid() && sincePump.elapsed() < kScanPumpIntervalMs) return;
    QCoreApplication::processEvents();
    sincePump.start();
  };
  // Closing the window ends a scan that is still going.
  callbacks.cancelled = [this] { return closing_; };
  ScanFolder(folder, subDirs, extension, callbacks);
}

int TfrmMain::SelectedIndex() const {
  const QModelIndexList rows = ui->listViewFiles->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void TfrmMain::SelectRow(int row) {
  queue_->Publish();
  const QModelIndex index = queue_->index(row, 0);
  ui->listViewFiles->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  ui->listViewFiles->scrollTo(index);
}

void TfrmMain::ActionFileAddExecute() {
  OpenVideoDialog dialog(this);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::ReadOnly, false);
  dialog.setWindowTitle(QStringLiteral("Open video files"));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setSizeGripEnabled(true);
  QStringList filters;
  for (const std::string& filter : FilterTextToNameFilters(OpenDialogFilterText()))
    filters << QString::fromStdString(filter);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.value(openFilterIndex_));
  dialog.selectFile(QString());
  if (prompts_->ExecModal(&dialog) != QDialog::Accepted) return;
  const QStringList files = dialog.ChosenFiles();
  if (files.isEmpty()) return;
  const qsizetype group = filters.indexOf(dialog.selectedNameFilter());
  if (group >= 0) openFilterIndex_ = static_cast<int>(group);
  for (const QString& file : files) {
    if (file.isEmpty()) break;
    AddFileToList(file);
  }
}

void TfrmMain::ActionFileBatchAddExecute() {
  frmBatchAdd_->show();
  frmBatchAdd_->raise();
  frmBatchAdd_->activateWindow();
}

void TfrmMain::ActionFileDeleteExecute() {
  const int row = SelectedIndex();
  if (row >= 0) queue_->Remove(row);
}

void TfrmMain::ActionFileClearAllExecute() {
  if (prompts_->AskOkCancel(this, texts_.Title, texts_.msgClearAll)) queue_->Clear();
}

void TfrmMain::ActionFileMoveUpExecute() { MoveSelected(-1); }

void TfrmMain::ActionFileMoveDownExecute() { MoveSelected(+1); }

void TfrmMain::MoveSelected(int step) {
  const int row = SelectedIndex();
  if (row < 0) return;
  const int target = row + step;
  if (target < 0 || target >= queue_->Count()) return;
  queue_->Swap(row, target);
  SelectRow(target);
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (CarriesLocalFiles(event->mimeData())) event->acceptProposedAction();
}

void TfrmMain::dragMoveEvent(QDragMoveEvent* event) {
  if (CarriesLocalFiles(event->mimeData())) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event) {
  // Not blocked while busy: entries dropped during a run wait for the next one.
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) AddPathToList(FileUrlToPath(url));
  }
  event->acceptProposedAction();
}
