// SPDX-License-Identifier: GPL-3.0-or-later
#include "shutdown/UnitSetting.h"

#include <charconv>
#include <string>

#include <QShowEvent>

#include "ui/Guarded.h"
#include "common/ConfigKeys.h"
#include "common/Unit_common.h"
#include "platform/SystemError.h"
#include "ui/PathText.h"
#include "ui_UnitSetting.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

int StrToInt(const QString& text) {
  const std::string bytes = TextToPath(text);
  std::size_t begin = 0, end = bytes.size();
  while (begin < end && IsBlank(bytes[begin])) ++begin;
  while (end > begin && IsBlank(bytes[end - 1])) --end;
  const char* first = bytes.data() + begin;
  const char* last = bytes.data() + end;
  // from_chars takes a minus sign but not a plus sign.
  if (first != last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
  int value = 0;
  const auto [stop, error] = std::from_chars(first, last, value, 10);
  if (first == last || error != std::errc() || stop != last) throw ConvertError(bytes);
  return value;
}

TfrmSetting::TfrmSetting(QWidget* parent) : QDialog(parent), ui(new Ui::TfrmSetting) {
  ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  connect(ui->checkBoxAutoPowerOff, &QCheckBox::clicked, this,
          &TfrmSetting::checkBoxAutoPowerOffClick);
  // A wait time that is no integer is reported and the dialog stays open.
  connect(ui->ButtonOK, &QPushButton::clicked, this,
          [this] { RunGuarded([this] { ButtonOKClick(); }); });
  connect(ui->ButtonCancel, &QPushButton::clicked, this, &TfrmSetting::ButtonCancelClick);
}

TfrmSetting::~TfrmSetting() = default;

void TfrmSetting::showEvent(QShowEvent* event) {
  // Un-minimizing is no new showing: the edits not yet saved stay.
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmSetting::FormShow() {
  const bool on = frmCommon->ReadAutoPowerOff();
  ui->checkBoxAutoPowerOff->setChecked(on);
  ui->editWaitTime->setEnabled(on);
  ui->editWaitTime->setText(QString::number(frmCommon->ReadAutoPowerOffWaitTime()));
}

void TfrmSetting::checkBoxAutoPowerOffClick() {
  ui->editWaitTime->setEnabled(ui->checkBoxAutoPowerOff->isChecked());
}

void TfrmSetting::ButtonOKClick() {
  const bool on = ui->checkBoxAutoPowerOff->isChecked();
  const int waitTime = StrToInt(ui->editWaitTime->text());
  const ConfigStore& config = frmCommon->Config();
  config.WriteInteger(kAutoPowerOffKey.section, kAutoPowerOffKey.name, on ? 1 : 0);
  config.WriteInteger(kAutoPowerOffWaitTimeKey.section, kAutoPowerOffWaitTimeKey.name, waitTime);
  hide();
}

void TfrmSetting::ButtonCancelClick() { hide(); }
