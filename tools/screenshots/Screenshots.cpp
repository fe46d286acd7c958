// SPDX-License-Identifier: GPL-3.0-or-later
// velbrin_screenshots PROGRAM_DIR LANGUAGE SKIN OUT_PREFIX [dialogs]
// Starts the real windows on a scratch copy of the program folder with the
// given language and skin and saves what a user would see as PNG files.
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <iostream>
#include <string>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTreeWidget>

#include "app/UnitMain.h"
#include "common/Unit_common.h"
#include "engine/UnitOverWrite.h"
#include "queue/Unit_batch.h"
#include "queue/Unit_common_directory.h"
#include "shutdown/UnitCloseWindows.h"
#include "shutdown/UnitSetting.h"
#include "ui/ErrorDisplay.h"

namespace fs = std::filesystem;

namespace {

// Lets deferred repaints and timers run, as they would before a person looks.
void Settle() {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 50);
}

void Save(QWidget* window, const std::string& file) {
  Settle();
  // Title bars are the desktop's; the client area is ours.
  if (!window->grab().save(QString::fromStdString(file)))
    std::cerr << "cannot write " << file << "\n";
}

void SaveDialog(QDialog* dialog, const std::string& file) {
  dialog->show();
  Save(dialog, file);
  dialog->hide();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::cerr << "usage: velbrin_screenshots PROGRAM_DIR LANGUAGE SKIN OUT_PREFIX [dialogs]\n";
    return 2;
  }
  VelbrinApplication app(argc, argv);
  const fs::path source = argv[1];
  const fs::path scratch =
      fs::temp_directory_path() / ("velbrin-shots-" + std::to_string(getpid()));
  fs::create_directories(scratch);
  fs::copy(source / "language", scratch / "language", fs::copy_options::recursive);
  fs::copy(source / "skins", scratch / "skins", fs::copy_options::recursive);
  {
    std::ofstream config(scratch / "config.ini");
    config << "[common]\nlanguage=" << argv[2] << "\n[skin]\nskin=" << argv[3]
           << "\n[setting]\noutputFolder=/home/user/Videos/Phone/\nautoPowerOff=1\n"
           << "autoPowerOff_WaitTime=30\n";
  }
  const std::string prefix = argv[4];
  {
    TfrmCommon common(scratch.string() + "/");
    frmCommon = &common;
    TfrmMain frmMain;
    frmMain.show();
    Settle();
    for (const char* name : {"/home/user/Videos/holiday.avi", "/home/user/Videos/concert.mkv",
                             "/home/user/Videos/trailer.mov", "/home/user/Videos/clip.rmvb"})
      frmMain.AddFileToList(QString::fromUtf8(name));
    Save(&frmMain, prefix + "main.png");
    if (argc > 5 && std::string(argv[5]) == "dialogs") {
      SaveDialog(frmMain.findChild<TfrmSetting*>(), prefix + "settings.png");
      SaveDialog(frmMain.findChild<TfrmPowerOffWindows*>(), prefix + "poweroff.png");
      SaveDialog(frmMain.findChild<TfrmOverWrite*>(), prefix + "overwrite.png");
      SaveDialog(frmMain.findChild<TFrmBatchAdd*>(), prefix + "batchadd.png");
      SaveDialog(frmMain.findChild<TFrmDirectory*>(), prefix + "directory.png");
    }
    frmMain.hide();
    frmCommon = nullptr;
  }
  fs::remove_all(scratch);
  return 0;
}
