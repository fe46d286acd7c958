// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string_view>

class LanguageTable;
class QWidget;

// A window of the program under the name of its language-file section.
struct LanguageWindow {
  std::string_view section;
  QWidget* window = nullptr;
};

// Sets each window's caption and its named controls' texts from the language
// file, in the order of LanguageKeys. The App texts, the main window's kept
// messages and its list header are left to the main window, which keeps them.
void ApplyLanguageTexts(const LanguageTable& table, std::span<const LanguageWindow> windows);

// Makes the controls that show language texts prefer a face that draws shared
// Han characters in their Japanese shapes; other controls keep their face.
void ApplyJapaneseFaces(std::span<const LanguageWindow> windows);
