// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <QString>

#include "platform/ProfileFile.h"

// The language file of the chosen language, read once through the profile
// rules; every key defaults to the empty text. Values are bytes in the
// language's code page (gb.ini GBK, jp.ini Shift_JIS, en.ini ASCII) and are
// decoded for display by Text().
class LanguageTable {
 public:
  // A missing or unreadable file gives a table in which every text is empty.
  LanguageTable(const std::string& fileName, int languageIndex);
  // The raw bytes of a key, empty when missing.
  std::string Raw(const std::string& section, const std::string& key) const;
  // The key's text decoded for display.
  QString Text(const std::string& section, const std::string& key) const;

  // The code page of a language's file, as iconv names it: 1 (Simplified
  // Chinese) GBK, 3 (Japanese) CP932, every other index UTF-8, which
  // covers the ASCII of the English file.
  static const char* CodePage(int languageIndex);

 private:
  profile::Document document_;
  int languageIndex_;
};
