// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string_view>

// One text of a language file: the section (a window's name, or App) and the
// key (the caption, a control's or action's name, or a kept message text).
struct LanguageKey {
  std::string_view section;
  std::string_view key;
};

// Every key of the language files, in the order in which the main window
// applies them: App, frmMain, frmDirectory, frmBatchAdd, frmOverWrite,
// frmPowerOffWindows, frmSetting. (frmPowerOffWindows/buttonYes is listed once;
// the count-down dialog also keeps it as the base of its count-down caption.)
std::span<const LanguageKey> LanguageKeys();

// The seven frmMain keys whose texts are kept for later use rather than set
// on a control (msgStatusReady is also shown at once).
bool IsKeptMessageKey(std::string_view key);
