// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QStringList>

#include <gtest/gtest.h>

#include "app/UnitMain.h"
#include "console/ConsoleErrorSink.h"
#include "tests/support/TempDir.h"
#include "ui/ErrorDisplay.h"
#include "ui/Prompts.h"

class QueueModel;
class TfrmCommon;

// Answers the window's modal questions the way a test says, and records them.
class FakePrompts : public IPrompts {
 public:
  bool AskOkCancel(QWidget* owner, const QString& caption, const QString& text) override;
  bool AskYesNo(QWidget* owner, const QString& caption, const QString& text) override;
  int ExecModal(QDialog* dialog) override;

  bool answer = true;
  std::function<int(QDialog*)> modal;  // unset: Rejected
  int questions = 0;
  QString lastCaption;
  QString lastText;
};

// A program folder of its own with config.ini, a started TfrmCommon as the
// global frmCommon, and a shown main window with its dialogs.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest();
  ~MainWindowTest() override;

  // Writes config.ini (nothing when configText is null) and a language file
  // under language/<name>, then starts the program parts and shows the window.
  void Start(const char* configText, const std::string& languageFile = "en.ini",
             const std::string& languageText = DefaultLanguage());
  void Restart();
  static std::string DefaultLanguage();
  std::string ConfigText() const;
  QStringList Entries() const;
  // The queue behind the list view, the run's view of the window, and the
  // list's selected row (-1: none).
  QueueModel& Queue() const;
  IRunHost& Host() const { return *window; }
  int Selected() const;

  TempDir folder;
  FakePrompts prompts;
  QStringList errors;
  std::unique_ptr<TfrmCommon> common;
  std::unique_ptr<TfrmMain> window;

 private:
  ErrorSink previousSink_;
  TConsoleErrorSink previousConsoleSink_;
};
