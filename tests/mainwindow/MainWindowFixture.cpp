// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/mainwindow/MainWindowFixture.h"

#include <filesystem>

#include <QDialog>
#include <QTableView>

#include "common/Unit_common.h"
#include "console/ConsoleErrorSink.h"
#include "queue/QueueModel.h"
#include "tests/support/qt/FindControl.h"

bool FakePrompts::AskOkCancel(QWidget*, const QString& caption, const QString& text) {
  ++questions;
  lastCaption = caption;
  lastText = text;
  return answer;
}

bool FakePrompts::AskYesNo(QWidget* owner, const QString& caption, const QString& text) {
  return AskOkCancel(owner, caption, text);
}

int FakePrompts::ExecModal(QDialog* dialog) { return modal ? modal(dialog) : QDialog::Rejected; }

MainWindowTest::MainWindowTest()
    : previousSink_(SetErrorSink([this](const QString& text) { errors << text; })),
      previousConsoleSink_(SetConsoleErrorSink(ShowErrorText)) {}

MainWindowTest::~MainWindowTest() {
  window.reset();
  frmCommon = nullptr;
  common.reset();
  SetErrorSink(previousSink_);
  SetConsoleErrorSink(previousConsoleSink_);
}

std::string MainWindowTest::DefaultLanguage() {
  return "[App]\nTitle=Velbrin Test\n[frmMain]\ncaption=Main\nActionConvertNow=Convert\n"
         "StringStartCaption=Start\nStringStopCaption=Stop\nmsgStatusReady=Ready\n"
         "msgStatusRun=Converting %s\nmsgClearAll=Clear the list?\nActionFileAdd=&Add\n"
         "N_Tools=Tools\n";
}

void MainWindowTest::Start(const char* configText, const std::string& languageFile,
                           const std::string& languageText) {
  if (configText) WriteFileBytes(folder / "config.ini", configText);
  std::filesystem::create_directories(folder / "language");
  WriteFileBytes(folder / "language" / languageFile, languageText);
  Restart();
}

void MainWindowTest::Restart() {
  window.reset();
  frmCommon = nullptr;
  common = std::make_unique<TfrmCommon>(folder.folder());
  frmCommon = common.get();
  window = std::make_unique<TfrmMain>(MainServices{.prompts = &prompts});
  window->show();
}

std::string MainWindowTest::ConfigText() const { return ReadFileBytes(folder / "config.ini"); }

QStringList MainWindowTest::Entries() const {
  QStringList entries;
  for (int i = 0; i < Queue().Count(); ++i) entries << Queue().Entry(i);
  return entries;
}

QueueModel& MainWindowTest::Queue() const {
  return dynamic_cast<QueueModel&>(*Find<QTableView>(window.get(), "listViewFiles")->model());
}

int MainWindowTest::Selected() const {
  const QModelIndexList rows =
      Find<QTableView>(window.get(), "listViewFiles")->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}
