// SPDX-License-Identifier: GPL-3.0-or-later
#include <QMainWindow>

#include "common/Unit_common.h"
#include "ui/ErrorDisplay.h"

TfrmCommon* frmCommon = nullptr;

int main(int argc, char** argv) {
  VelbrinApplication app(argc, argv);
  TfrmCommon common;
  frmCommon = &common;
  QMainWindow window;
  window.setFixedSize(414, 402);
  window.show();
  return app.exec();
}
