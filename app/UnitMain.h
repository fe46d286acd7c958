// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include <QMainWindow>
#include <QString>

#include "app/MainServices.h"
#include "app/MainTexts.h"
#include "common/LanguageApplication.h"
#include "engine/ConversionRun.h"
#include "engine/EncoderProgress.h"

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
// run state and its dialogs, all made (hidden) by the constructor. The run
// reaches it as its IRunHost. Tests reach its controls and dialogs by
// objectName, as a user's view of the window.
class TfrmMain : public QMainWindow, public IRunHost {
  Q_OBJECT

 public:
  explicit TfrmMain(const MainServices& services = {}, QWidget* parent = nullptr);
  ~TfrmMain() override;

  void FormCreate();
  void FormShow();
  void FormClose();
  void editOutputFolderChange();

  // The queue.
  void AddFileToList(const QString& path);
  void AddFilesFromFolder(const std::string& folder, bool subDirs, const std::string& extension);

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

  // What the window shows and remembers, read-only: the language file's kept
  // texts and the run's state.
  const MainTexts& Texts() const { return texts_; }
  const ConversionRun& Run() const { return run_; }
  // The remembered answer to the existing-output prompt (OverwritePolicy).
  void SetOverwritePolicy(int policy) { overwritePolicy_ = policy; }

  // The stored output folder's default: the user's videos folder with a trailing '/'.
  static std::string DefaultOutputFolder();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
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

  void SetUpControls();
  void SetUpMenus();
  void FillChoiceLists();
  void CreateDialogs();
  void CreateRunner();
  void UseServices(const MainServices& services);
  void SetControlsEnabled(bool enabled);
  void ApplyLanguage(const std::string& languageFileName);
  void ApplyJapaneseAdjustments();
  std::array<LanguageWindow, 6> LanguageWindows();
  QString LoadOutputFolder() const;
  void SaveOutputFolder();
  void HandleEncoderText(std::string_view text);
  void AddPathToList(const std::string& path);
  int SelectedIndex() const;  // -1 when nothing is selected
  void MoveSelected(int step);
  void SelectRow(int row);

  std::unique_ptr<Ui::TfrmMain> ui;
  QMenu* PopupMenu = nullptr;
  TsuiSkinEngine* suiSkinEngine = nullptr;
  ConversionRun run_{*this};
  EncoderProgress progress_;
  int overwritePolicy_ = 0;
  MainTexts texts_;

  QueueModel* queue_ = nullptr;
  std::unique_ptr<TConsoleIO> consoleIO_;
  IPrompts* prompts_ = nullptr;
  std::unique_ptr<IPrompts> ownPrompts_;
  MainServices services_;  // the ones handed to the shared services, taken back at the end
  TfrmPowerOffWindows* frmPowerOffWindows_ = nullptr;
  TfrmSetting* frmSetting_ = nullptr;
  TfrmOverWrite* frmOverWrite_ = nullptr;
  TFrmBatchAdd* frmBatchAdd_ = nullptr;
  TFrmDirectory* frmDirectory_ = nullptr;
  int openFilterIndex_ = 0;  // the open-file dialog's remembered filter group
  bool shown_ = false;
  bool closing_ = false;
};
