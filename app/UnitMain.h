// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <QMainWindow>
#include <QString>

#include "engine/ConversionRun.h"
#include "engine/EncoderProgress.h"

class IPrompts;
class LanguageTable;
class QMenu;
class QueueModel;
class TConsoleIO;
class TFrmBatchAdd;
class TFrmDirectory;
class TfrmOverWrite;
class TfrmPowerOffWindows;
class TfrmSetting;
class TsuiSkinEngine;

namespace Ui {
class TfrmMain;
}

// The main window: the queue, the six choices, the status area, the output
// folder and the Start/Stop command, plus the menus. It owns the runner, the
// run state and the dialogs (created once, hidden, by CreateDialogs).
class TfrmMain : public QMainWindow, public IRunHost {
  Q_OBJECT

 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The dialogs, hidden, in start-up order: power-off count-down, settings,
  // existing-output prompt, add-from-folder, output folder. Call once, before
  // the window is first shown.
  void CreateDialogs();
  TfrmPowerOffWindows* frmPowerOffWindows() const { return frmPowerOffWindows_; }
  TfrmSetting* frmSetting() const { return frmSetting_; }
  TfrmOverWrite* frmOverWrite() const { return frmOverWrite_; }
  TFrmBatchAdd* FrmBatchAdd() const { return frmBatchAdd_; }
  TFrmDirectory* FrmDirectory() const { return frmDirectory_; }

  // Modal questions go through here; the window does not own the prompts.
  void SetPrompts(IPrompts* prompts);

  void FormCreate();
  void FormShow();
  void FormClose();
  void SetControlsEnabled(bool enabled);
  void ApplyLanguage(const std::string& languageFileName);
  void ApplyJapaneseAdjustments();
  // The finish question's texts from the language file (section frmMain).
  void ApplyFinishTexts(const LanguageTable& table);

  // Output folder (config.ini, setting/outputFolder).
  QString LoadOutputFolder() const;
  // The stored value's default: the user's videos folder with a trailing '/'.
  static std::string DefaultOutputFolder();
  void SaveOutputFolder();
  void editOutputFolderChange();

  // The queue.
  void AddFileToList(const QString& path);
  void AddFilesFromFolder(const std::string& folder, bool subDirs, const std::string& extension);
  QueueModel& Queue() const { return *queue_; }
  int SelectedIndex() const;  // -1 when nothing is selected

  // Commands.
  void ActionFileAddExecute();
  void ActionFileBatchAddExecute();
  void ActionFileDeleteExecute();
  void ActionFileClearAllExecute();
  void ActionFileMoveUpExecute();
  void ActionFileMoveDownExecute();
  void ActionConvertNowExecute();
  void ActionSetDirectoryExecute();
  void ActionExitExecute();
  void N_SettingClick();
  void N_SkinClick(int index);

  // Runner events.
  void ConsoleIOReceiveOutput(const std::string& text);
  void ConsoleIOReceiveError(const std::string& text);
  void ConsoleIOProcessStatusChange(bool isRunning);
  void HandleEncoderText(std::string_view text);

  // IRunHost.
  int QueueCount() const override;
  std::string EntryPath(int index) const override;
  void SelectEntry(int index) override;
  std::string OutputFolderText() const override;
  std::string BuildCommandLine(const std::string& shortSource,
                               const std::string& shortOutput) const override;
  std::string ResolveExistingOutput(const std::string& path) override;
  // The runner; FormClose releases it, so only valid until the window closes.
  TConsoleIO& ConsoleIO() override;
  void ClearLatestTime() override;
  void ResetStatus() override;
  bool ReadAutoPowerOff() const override;
  void ShowPowerOffCountdown() override;
  bool AskFinishQuestion(const RunReport& report) override;
  void OpenOutputFolder(const std::string& folder) override;

  std::unique_ptr<Ui::TfrmMain> ui;
  QMenu* PopupMenu = nullptr;
  TsuiSkinEngine* suiSkinEngine = nullptr;
  ConversionRun Run{*this};
  EncoderProgress Progress;
  int OverwritePolicy = 0;

  // The texts kept from the language file.
  QString Title;
  QString msgStatusReady;
  QString msgStatusRun;
  QString msgClearAll;
  QString msgFolderView;
  QString msgFinishInfo;
  QString StringStartCaption;
  QString StringStopCaption;
  // The finish question's texts, failures included (FinishQuestionText).
  FinishTexts Finish;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void SetUpControls();
  void SetUpMenus();
  void FillChoiceLists();
  void CreateRunner();
  void AddPathToList(const std::string& path);
  void MoveSelected(int step);
  void SelectRow(int row);

  QueueModel* queue_ = nullptr;
  std::unique_ptr<TConsoleIO> consoleIO_;
  IPrompts* prompts_ = nullptr;
  std::unique_ptr<IPrompts> ownPrompts_;
  TfrmPowerOffWindows* frmPowerOffWindows_ = nullptr;
  TfrmSetting* frmSetting_ = nullptr;
  TfrmOverWrite* frmOverWrite_ = nullptr;
  TFrmBatchAdd* frmBatchAdd_ = nullptr;
  TFrmDirectory* frmDirectory_ = nullptr;
  int openFilterIndex_ = 0;  // the open-file dialog's remembered filter group
  bool shown_ = false;
  bool closing_ = false;
};
