// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's runner: its set-up, its events and the Start/Stop command.
#include "ui/Guarded.h"
#include "app/QueueModel.h"
#include "app/UnitMain.h"
#include "common/Unit_common.h"
#include "console/ConsoleIO.h"
#include "ui/Prompts.h"
#include "ui/PathText.h"
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
  if (frmCommon && frmCommon->SkinEngine() == suiSkinEngine) frmCommon->SetSkinEngine(nullptr);
}

TConsoleIO& TfrmMain::ConsoleIO() { return *consoleIO_; }

void TfrmMain::ConsoleIOReceiveOutput(const std::string& text) {
  if (Run.ShowsProgress()) RunGuarded([&] { HandleEncoderText(text); });
}

void TfrmMain::ConsoleIOReceiveError(const std::string& text) {
  Run.ReceiveEncoderError(text);
  if (Run.ShowsProgress()) RunGuarded([&] { HandleEncoderText(text); });
}

void TfrmMain::ConsoleIOProcessStatusChange(bool isRunning) {
  SetControlsEnabled(!isRunning);
  frmCommon->KeepAwake(isRunning);  // no sleep while an encoder runs
}

void TfrmMain::HandleEncoderText(std::string_view text) {
  const int selected = SelectedIndex();
  if (selected < 0) return;
  const std::string caption = EntryPath(selected);
  const ProgressView view = UpdateProgress(Progress, text);
  ui->progressBarCurrent->setValue(view.Position);
  const QString line = PathToText(
      FormatStatusLine(msgStatusRun.toStdString(), selected + 1, QueueCount(), view.Span, caption));
  ui->labelCurrentInfo->setText(line);
  ui->labelCurrentInfo->setToolTip(line);
}

void TfrmMain::ActionConvertNowExecute() {
  if (closing_) return;  // the runner is gone or going
  if (ConsoleIO().IsRunning()) {
    Run.StopRun();
  } else if (!Run.IsActive()) {
    // A Start handled inside a run's wait is ignored: one run at a time.
    Run.StartRun();
  }
}
