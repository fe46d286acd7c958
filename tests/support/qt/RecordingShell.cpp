// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/qt/RecordingShell.h"

#include "ui/PathText.h"

bool RecordingShell::Open(const QString& target) {
  opened.push_back(target);
  return true;
}

std::vector<std::string> RecordingShell::OpenedPaths() const {
  std::vector<std::string> paths;
  for (const QString& target : opened) paths.push_back(TextToPath(target));
  return paths;
}
