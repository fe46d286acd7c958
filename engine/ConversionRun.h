// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

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
  virtual bool AskFinishQuestion() = 0;      // msgFolderView CR LF CR LF msgFinishInfo; Yes = true
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

  bool KeepGoing() const { return keepGoing_; }
  bool IsActive() const { return active_; }

 private:
  class ActiveScope;
  // Waits while the encoder runs; false when the run must end at once.
  bool WaitForEncoder(const ActiveScope& scope);

  IRunHost& host_;
  bool keepGoing_ = true;
  bool active_ = false;
  bool closing_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
