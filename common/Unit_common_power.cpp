// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Unit_common.h"

#include "common/ConfigKeys.h"
#include "ui/PowerOffService.h"

bool TfrmCommon::ReadAutoPowerOff() const {
  return config_.ReadInteger(kAutoPowerOffKey.section, kAutoPowerOffKey.name, 0) == 1;
}

int TfrmCommon::ReadAutoPowerOffWaitTime() const {
  return config_.ReadInteger(kAutoPowerOffWaitTimeKey.section, kAutoPowerOffWaitTimeKey.name, 30);
}

void TfrmCommon::PowerOffComputer() {
  IPowerOffService* service = powerOff_;
  if (service == nullptr) {
    static LogindPowerOffService logind;
    service = &logind;
  }
  service->PowerOff();
}
