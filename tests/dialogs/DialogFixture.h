// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/Unit_common.h"
#include "tests/support/TempDir.h"
#include "tests/support/qt/RecordingPowerOff.h"

// A TfrmCommon on a fresh program folder, put in place as the global frmCommon
// for the test, with a recording power-off service.
class DialogTest : public ::testing::Test {
 protected:
  DialogTest();
  ~DialogTest() override;

  std::string ConfigText() const { return ReadFileBytes(program_ / "config.ini"); }
  void WriteConfig(const std::string& text) const;

  TempDir program_;
  std::unique_ptr<TfrmCommon> common_;
  RecordingPowerOff powerOff_;

 private:
  TfrmCommon* previous_;
};
