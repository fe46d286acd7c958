// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "ui/ShellService.h"

// The shell's "open", recorded instead of done.
class RecordingShell : public IShellService {
 public:
  bool Open(const QString& target) override;
  // The opened targets as the bytes of the paths they name.
  std::vector<std::string> OpenedPaths() const;

  QStringList opened;
};
