// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/PowerOffService.h"

// Counts power-off requests instead of making them.
class RecordingPowerOff : public IPowerOffService {
 public:
  void PowerOff() override { ++requests; }
  int requests = 0;
};
