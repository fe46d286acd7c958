// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <QString>
#include <QStringList>

#include "tests/support/qt/RecordingPowerOff.h"
#include "tests/support/qt/RecordingShell.h"
#include "ui/Prompts.h"

class TfrmMain;
class TfrmCommon;
class TfrmOverWrite;

// Answers the modal questions as a user would: the existing-output prompt
// by clicking its real buttons, the count-down with No, the finish question
// with the configured answer.
class AnsweringPrompts : public IPrompts {
 public:
  bool AskOkCancel(QWidget* owner, const QString& caption, const QString& text) override;
  bool AskYesNo(QWidget* owner, const QString& caption, const QString& text) override;
  int ExecModal(QDialog* dialog) override;

  // Clicks one button of the prompt (after ticking its check box when asked).
  std::function<void(TfrmOverWrite&)> answerOverwrite;
  bool finishAnswer = false;
  QStringList finishTexts;  // caption + "|" + text of each finish question
  int overwritePrompts = 0;
  int countdowns = 0;
};

// A copy of the built program folder in a temporary folder, so each test has
// its own config.ini; optionally without the encoder.
std::string MakeProgramFolder(const std::filesystem::path& where, bool withEncoder = true);

// The whole main window on its own program folder, as the program entry sets it up.
class MainWindowSession {
 public:
  explicit MainWindowSession(const std::string& programFolder, bool autoPowerOff = false);
  ~MainWindowSession();
  MainWindowSession(const MainWindowSession&) = delete;
  MainWindowSession& operator=(const MainWindowSession&) = delete;

  TfrmMain& window() { return *window_; }
  void Queue(const std::filesystem::path& source);
  void SetOutputFolder(const std::string& folder);
  // Start (or Stop) as a click on the command does; returns when the handler has.
  void ClickConvert();
  int BarValue() const;
  QString StatusText() const;
  QString StatusHint() const;
  // The window's end: what closing it does, then its destruction.
  void CloseWindow();

  RecordingShell shell;
  RecordingPowerOff powerOff;
  AnsweringPrompts prompts;
  QStringList errors;  // what the error display showed
  // Each progress line as shown: the label's caption and hint and the bar.
  struct Sample {
    QString text;
    QString hint;
    int bar = 0;
  };
  std::vector<Sample> samples;
  // Posts fn once a shown line satisfies the condition, so it runs like a
  // click handled inside the run's wait; or runs it at once, inside the
  // runner's event that showed the line.
  void WhenStatus(std::function<bool(const Sample&)> condition, std::function<void()> fn,
                  bool insideTheHandler = false);

 private:
  class StatusWatcher;
  struct Trigger {
    std::function<bool(const Sample&)> condition;
    std::function<void()> fn;
    bool insideTheHandler = false;  // run from the runner's event, not after it
  };
  void Record();

  std::unique_ptr<TfrmCommon> common_;
  std::unique_ptr<TfrmMain> window_;
  std::unique_ptr<StatusWatcher> watcher_;
  std::vector<Trigger> triggers_;
};

// Feeds a file into a named pipe from a thread, a piece every `pace`, so the
// encoder reading it runs for a known minimum time. With hold, the last piece
// waits until Release(); Release() also cuts the feed short, closing the pipe.
class FifoFeeder {
 public:
  FifoFeeder(const std::filesystem::path& fifo, std::string bytes, int pieces,
             std::chrono::milliseconds pace, bool hold);
  ~FifoFeeder();
  void Release() { released_ = true; }
  // The pieces written so far.
  int Fed() const { return fed_; }

 private:
  std::atomic<bool> released_{false};
  std::atomic<int> fed_{0};
  std::thread thread_;
};

// Living processes whose program is libm9s, children of parent (of this process when 0).
std::vector<pid_t> EncoderChildren(pid_t parent = 0);
bool ProcessGone(pid_t pid);
// Processes events until the condition holds or the limit passes.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit);
