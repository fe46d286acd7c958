// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Unit_common.h"

#include "ui/PowerOffService.h"

namespace {
const char kSettingSection[] = "setting";
}  // namespace

bool TfrmCommon::ReadAutoPowerOff() const {
  return config_.ReadInteger(kSettingSection, "autoPowerOff", 0) == 1;
}

int TfrmCommon::ReadAutoPowerOffWaitTime() const {
  return config_.ReadInteger(kSettingSection, "autoPowerOff_WaitTime", 30);
}

void TfrmCommon::PowerOffComputer() {
  IPowerOffService* service = powerOff_;
  if (service == nullptr) {
    static LogindPowerOffService logind;
    service = &logind;
  }
  service->PowerOff();
}
