// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitMain.h"
#include "common/Unit_common.h"
#include "ui/ErrorDisplay.h"

int main(int argc, char** argv) {
  VelbrinApplication app(argc, argv);
  // The shared services come first: the main window's first showing reads the
  // language, the skin and config.ini through them.
  TfrmCommon common;
  frmCommon = &common;
  int result = 0;
  {
    TfrmMain frmMain;
    frmMain.CreateDialogs();
    frmMain.show();
    result = app.exec();
  }
  frmCommon = nullptr;
  return result;
}
