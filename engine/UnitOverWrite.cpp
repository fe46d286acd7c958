// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/UnitOverWrite.h"

#include "ui_UnitOverWrite.h"

TfrmOverWrite::TfrmOverWrite(QWidget* parent) : QDialog(parent), ui(new Ui::TfrmOverWrite) {
  ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(354, 118);
  connect(ui->buttonOverWrite, &QPushButton::clicked, this, &TfrmOverWrite::buttonOverWriteClick);
  connect(ui->buttonIgnore, &QPushButton::clicked, this, &TfrmOverWrite::buttonIgnoreClick);
  connect(ui->buttonAutoName, &QPushButton::clicked, this, &TfrmOverWrite::buttonAutoNameClick);
}

TfrmOverWrite::~TfrmOverWrite() = default;

void TfrmOverWrite::buttonOverWriteClick() { Answer(OverwriteChoice::Overwrite, Accepted); }

void TfrmOverWrite::buttonIgnoreClick() { Answer(OverwriteChoice::Ignore, Rejected); }

void TfrmOverWrite::buttonAutoNameClick() { Answer(OverwriteChoice::AutoName, Accepted); }

void TfrmOverWrite::Answer(OverwriteChoice choice, int result) {
  answerCode_ = OverwriteAnswerCode(choice, ui->checkBoxNotice->isChecked());
  done(result);
}

void TfrmOverWrite::reject() {
  // The close box and Escape press no button: this showing's answer is
  // "ignore this entry", whatever an earlier showing answered.
  answerCode_ = kOverwriteAsk;
  QDialog::reject();
}
