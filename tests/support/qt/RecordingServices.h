// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "ui/PowerOffService.h"
#include "ui/ShellService.h"

// The desktop shell's "open", recorded; it succeeds unless told that no
// program opens the target.
class RecordingShell : public IShellService {
 public:
  bool Open(const QString& target) override {
    opened.push_back(target);
    return opens;
  }
  bool opens = true;
  QStringList opened;
};

// Counts power-off requests instead of making them.
class RecordingPowerOff : public IPowerOffService {
 public:
  void PowerOff() override { ++requests; }
  int requests = 0;
};
