// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include <QColor>

#include "tests/support/EnvOverride.h"

// A complete, valid skin file text; entries of `changes` replace or add keys
// (an empty value removes the key).
std::string SkinText(const std::map<std::string, std::string>& changes = {});
// Writes SkinText with the given window colour, so a test can tell skins apart.
void WriteSkin(const std::filesystem::path& file, const std::string& window);
// The folder of the real skins in the built program folder.
std::string RealSkinFolder();
// The application's window colour as it stands now.
QColor ApplicationWindowColour();

// Points XDG_DATA_HOME at a folder for the life of the object.
class ScopedDataHome {
 public:
  explicit ScopedDataHome(const std::string& folder) : value_("XDG_DATA_HOME", folder) {}

 private:
  EnvOverride value_;
};
