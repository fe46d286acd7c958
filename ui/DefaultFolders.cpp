// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DefaultFolders.h"

#include <QStandardPaths>

#include "engine/OutputPaths.h"
#include "ui/PathText.h"

std::string DefaultOutputFolder() {
  return WithTrailingSeparator(
      TextToPath(QStandardPaths::writableLocation(QStandardPaths::MoviesLocation)));
}
