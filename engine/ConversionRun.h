// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/RunReport.h"

class TConsoleIO;

// What a conversion run needs of the main window. TfrmMain implements it; the
// run itself holds no widget.
class IRunHost {
 public:
  virtual ~IRunHost() = default;
  virtual int QueueCount() const = 0;
  virtual std::string EntryPath(int index) const = 0;  // the entry's caption as path bytes
  virtual void SelectEntry(int index) = 0;
  // editOutputFolder, as path bytes; an empty text makes the run use the default folder.
  virtual std::string OutputFolderText() const = 0;
  // BuildCommandLine with the six current choices.
  virtual std::string BuildCommandLine(const std::string& shortSource,
                                       const std::string& shortOutput) const = 0;
  // ResolveExistingOutput with the window's OverwritePolicy and prompt.
  virtual std::string ResolveExistingOutput(const std::string& path) = 0;
  virtual TConsoleIO& ConsoleIO() = 0;
  virtual void ClearLatestTime() = 0;  // EncoderProgress.LatestTimeSeconds := 0
  virtual void ResetStatus() = 0;
  virtual bool ReadAutoPowerOff() const = 0;
  virtual void ShowPowerOffCountdown() = 0;  // modal
  // msgFolderView CR LF CR LF msgFinishInfo, with the failures between the
  // two when there are any (FinishQuestionText); Yes = true.
  virtual bool AskFinishQuestion(const RunReport& report) = 0;
  virtual void OpenOutputFolder(const std::string& folder) = 0;
};

// One pass over the queue: output names, existing outputs, placeholder,
// encoder start and wait, finishing steps. Lives on the GUI thread. The wait
// sleeps on the GUI thread's event queue itself (runner notices, repaints and
// the Stop click are handled inside it), so the host needs no event pump.
class ConversionRun {
 public:
  explicit ConversionRun(IRunHost& host);
  ~ConversionRun();
  ConversionRun(const ConversionRun&) = delete;
  ConversionRun& operator=(const ConversionRun&) = delete;

  void StartRun();
  void StopRun();
  // The main window is closing (FormClose's engine share): stop a running
  // encoder and delete m9s.avs from the temporary folder. A wait in progress
  // then ends without touching the runner again, nothing further starts and
  // no dialog shows, so the host may release the runner right after this.
  void Shutdown();

  // The encoder's standard error, piece by piece: its last line is the
  // reason kept when the entry fails.
  void ReceiveEncoderError(std::string_view text);
  // False from a Stop until the next encoder starts: the text a stopped
  // encoder still delivers must not write the status line again.
  bool ShowsProgress() const { return !stopped_; }

  bool KeepGoing() const { return keepGoing_; }
  bool IsActive() const { return active_; }
  // The outcomes of the current or last run.
  const RunReport& Report() const { return report_; }

 private:
  class ActiveScope;
  // Waits while the encoder runs; false when the run must end at once.
  bool WaitForEncoder(const ActiveScope& scope);
  // Places the placeholder, starts the encoder and waits for it; false
  // when the run must end at once.
  bool ConvertEntry(const ActiveScope& scope, const std::string& source, const std::string& output);
  // The entry's outcome from how its encoder ended.
  void JudgeEntry(const std::string& source, const std::string& output);

  IRunHost& host_;
  bool keepGoing_ = true;
  bool active_ = false;
  bool closing_ = false;
  bool stopped_ = false;   // Stop was given during the current entry
  std::string errorTail_;  // the end of the current encoder's standard error
  RunReport report_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
