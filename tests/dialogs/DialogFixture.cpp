// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/dialogs/DialogFixture.h"

DialogTest::DialogTest()
    : common_(std::make_unique<TfrmCommon>(program_.folder())), previous_(frmCommon) {
  frmCommon = common_.get();
  common_->SetPowerOffService(&powerOff_);
}

DialogTest::~DialogTest() { frmCommon = previous_; }

void DialogTest::WriteConfig(const std::string& text) const {
  WriteFileBytes(program_ / "config.ini", text);
}
