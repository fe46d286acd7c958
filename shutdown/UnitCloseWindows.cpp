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
  yesCaption_ = ui->buttonYes->text();
  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, &TfrmPowerOffWindows::TimerTimer);
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
  ticksElapsed_ = 0;
  waitSeconds_ = frmCommon->ReadAutoPowerOffWaitTime();
  timer_.start();
}

void TfrmPowerOffWindows::TimerTimer() {
  ++ticksElapsed_;
  ui->buttonYes->setText(yesCaption_ + QLatin1Char('(') +
                         QString::number(qint64{waitSeconds_} - ticksElapsed_) + QLatin1Char(')'));
  if (ticksElapsed_ >= waitSeconds_) PowerOffAndClose();
}

void TfrmPowerOffWindows::buttonYesClick() { PowerOffAndClose(); }

void TfrmPowerOffWindows::buttonNoClick() { reject(); }

void TfrmPowerOffWindows::reject() {
  timer_.stop();
  ticksElapsed_ = 0;
  QDialog::reject();
}

void TfrmPowerOffWindows::PowerOffAndClose() {
  // Stopping first makes this the only request of the showing, even if the
  // request itself lets events run.
  if (!timer_.isActive()) return;
  timer_.stop();
  frmCommon->PowerOffComputer();
  accept();
}
