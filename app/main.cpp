// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/UnitMain.h"
#include "common/QtTranslation.h"
#include "common/Unit_common.h"
#include "console/ConsoleErrorSink.h"
#include "ui/ErrorDisplay.h"
#include "ui/SleepInhibitor.h"

int main(int argc, char** argv) {
  // Our encoders stop when we die (set before any thread exists): they learn
  // who started them, for a death that came before they could watch for it.
  setenv("LIBM9S_PARENT_PID", std::to_string(getpid()).c_str(), 1);
  VelbrinApplication app(argc, argv);
  SetConsoleErrorSink(ShowErrorText);  // the runner's errors go to the one error display
  // The shared services come first: the main window's first showing reads the
  // language, the skin and config.ini through them.
  TfrmCommon common;
  frmCommon = &common;
  // Qt's own texts follow the language; they must be in place before any window.
  const QtTranslation qtTexts(common.LanguageIndex());
  LogindSleepInhibitor inhibitor;
  int result = 0;
  {
    // The window's end releases a sleep lock still held.
    TfrmMain frmMain({.sleepInhibitor = &inhibitor});
    frmMain.show();
    result = app.exec();
  }
  frmCommon = nullptr;
  return result;
}
