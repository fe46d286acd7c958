// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/skins/SkinFixtures.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include <QApplication>
#include <QPalette>

#include "tests/support/TempDir.h"

std::string SkinText(const std::map<std::string, std::string>& changes) {
  std::vector<std::pair<std::string, std::string>> keys = {
      {"Name", "Test"},          {"Window", "#e0e0e0"},    {"WindowText", "#101010"},
      {"Base", "#ffffff"},       {"Text", "#101010"},      {"Button", "#d0d0d0"},
      {"ButtonText", "#101010"}, {"Highlight", "#204080"}, {"HighlightedText", "#ffffff"},
      {"Accent", "#6080c0"},     {"Border", "#808080"},    {"Title", "#c0c0c0"},
  };
  for (const auto& [key, value] : changes) {
    bool replaced = false;
    for (auto& entry : keys)
      if (entry.first == key) {
        entry.second = value;
        replaced = true;
      }
    if (!replaced) keys.emplace_back(key, value);
  }
  std::string text = "; test skin\n[Skin]\n";
  for (const auto& [key, value] : keys)
    if (!value.empty()) text += key + "=" + value + "\n";
  return text;
}

void WriteSkin(const std::filesystem::path& file, const std::string& window) {
  std::filesystem::create_directories(file.parent_path());
  WriteFileBytes(file, SkinText({{"Window", window}}));
}

std::string RealSkinFolder() { return std::string(VELBRIN_PROGRAM_DIR) + "skins/"; }

QColor ApplicationWindowColour() { return QApplication::palette().color(QPalette::Window); }
