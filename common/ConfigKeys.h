// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The entries of config.ini, each spelled only here.
struct ConfigKey {
  const char* section;
  const char* name;
};

inline constexpr ConfigKey kLanguageKey{"common", "language"};
inline constexpr ConfigKey kSkinKey{"skin", "skin"};
inline constexpr ConfigKey kOutputFolderKey{"setting", "outputFolder"};
inline constexpr ConfigKey kAutoPowerOffKey{"setting", "autoPowerOff"};
inline constexpr ConfigKey kAutoPowerOffWaitTimeKey{"setting", "autoPowerOff_WaitTime"};

// The numbers config.ini stores for the languages.
inline constexpr int kLanguageChinese = 1;
inline constexpr int kLanguageEnglish = 2;
inline constexpr int kLanguageJapanese = 3;
