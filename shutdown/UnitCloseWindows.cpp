// SPDX-License-Identifier: GPL-3.0-or-later
#include "shutdown/UnitCloseWindows.h"

#include <QShowEvent>

#include "common/Unit_common.h"
#include "ui_UnitCloseWindows.h"

TfrmPowerOffWindows::TfrmPowerOffWindows(QWidget* parent)
    : QDialog(parent), ui(new Ui::TfrmPowerOffWindows) {
  ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  YesCaption = ui->buttonYes->text();
  Timer.setInterval(1000);
  connect(&Timer, &QTimer::timeout, this, &TfrmPowerOffWindows::TimerTimer);
  connect(ui->buttonYes, &QPushButton::clicked, this, &TfrmPowerOffWindows::buttonYesClick);
  connect(ui->buttonNo, &QPushButton::clicked, this, &TfrmPowerOffWindows::buttonNoClick);
}

TfrmPowerOffWindows::~TfrmPowerOffWindows() = default;

void TfrmPowerOffWindows::showEvent(QShowEvent* event) {
  // A re-exposure of a dialog already counting is no new showing.
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmPowerOffWindows::FormShow() {
  TicksElapsed = 0;
  WaitSeconds = frmCommon->ReadAutoPowerOffWaitTime();
  Timer.start();
}

void TfrmPowerOffWindows::TimerTimer() {
  ++TicksElapsed;
  ui->buttonYes->setText(YesCaption + QLatin1Char('(') +
                         QString::number(qint64{WaitSeconds} - TicksElapsed) + QLatin1Char(')'));
  if (TicksElapsed >= WaitSeconds) PowerOffAndClose();
}

void TfrmPowerOffWindows::buttonYesClick() { PowerOffAndClose(); }

void TfrmPowerOffWindows::buttonNoClick() { reject(); }

void TfrmPowerOffWindows::reject() {
  Timer.stop();
  TicksElapsed = 0;
  QDialog::reject();
}

void TfrmPowerOffWindows::PowerOffAndClose() {
  // Stopping first makes this the only request of the showing, even if the
  // request itself lets events run.
  if (!Timer.isActive()) return;
  Timer.stop();
  frmCommon->PowerOffComputer();
  accept();
}
