// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's runner: its set-up, its events and the Start/Stop command.
#include "app/UnitMain.h"
#include "common/Unit_common.h"
#include "console/ConsoleIO.h"
#include "queue/QueueModel.h"
#include "ui/Guarded.h"
#include "ui/PathText.h"
#include "ui/Prompts.h"
#include "ui_UnitMain.h"

void TfrmMain::CreateRunner() {
  consoleIO_ = std::make_unique<TConsoleIO>();
  consoleIO_->SetTerminateCommand("quit");
  consoleIO_->SetSplitMode(smSplitchar);
  consoleIO_->SetEnableKill(true);
  consoleIO_->SetStopProcessOnFree(true);
  consoleIO_->OnReceiveOutput = [this](TConsoleIO*, const std::string& text) {
    ConsoleIOReceiveOutput(text);
  };
  consoleIO_->OnReceiveError = [this](TConsoleIO*, const std::string& text) {
    ConsoleIOReceiveError(text);
  };
  consoleIO_->OnProcessStatusChange = [this](TConsoleIO*, bool isRunning) {
    ConsoleIOProcessStatusChange(isRunning);
  };
}

TfrmMain::~TfrmMain() {
  // The runner stops its child and its workers before the window's parts go.
  consoleIO_.reset();
  if (!frmCommon) return;
  if (frmCommon->SkinEngine() == suiSkinEngine) frmCommon->SetSkinEngine(nullptr);
  if (services_.shell) frmCommon->SetShellService(nullptr);
  if (services_.powerOff) frmCommon->SetPowerOffService(nullptr);
  if (services_.sleepInhibitor)
    frmCommon->SetSleepInhibitor(nullptr);  // releases a lock still held
}

TConsoleIO& TfrmMain::ConsoleIO() { return *consoleIO_; }

void TfrmMain::ConsoleIOReceiveOutput(const std::string& text) {
  if (run_.ShowsProgress()) RunGuarded([&] { HandleEncoderText(text); });
}

void TfrmMain::ConsoleIOReceiveError(const std::string& text) {
  run_.ReceiveEncoderError(text);
  if (run_.ShowsProgress()) RunGuarded([&] { HandleEncoderText(text); });
}

void TfrmMain::ConsoleIOProcessStatusChange(bool isRunning) {
  SetControlsEnabled(!isRunning);
  frmCommon->KeepAwake(isRunning);  // no sleep while an encoder runs
}

void TfrmMain::HandleEncoderText(std::string_view text) {
  const int selected = SelectedIndex();
  if (selected < 0) return;
  const std::string caption = EntryPath(selected);
  const ProgressView view = UpdateProgress(progress_, text);
  ui->progressBarCurrent->setValue(view.Position);
  const QString line = PathToText(FormatStatusLine(texts_.msgStatusRun.toStdString(), selected + 1,
                                                   QueueCount(), view.Span, caption));
  ui->labelCurrentInfo->setText(line);
  ui->labelCurrentInfo->setToolTip(line);
}

void TfrmMain::ActionConvertNowExecute() {
  if (closing_) return;  // the runner is gone or going
  if (ConsoleIO().IsRunning()) {
    run_.StopRun();
  } else if (!run_.IsActive()) {
    // A Start handled inside a run's wait is ignored: one run at a time.
    run_.StartRun();
  }
}
