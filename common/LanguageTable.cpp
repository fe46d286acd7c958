// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/LanguageTable.h"

#include "common/ConfigKeys.h"
#include "ui/TextCodec.h"

LanguageTable::LanguageTable(const std::string& fileName, int languageIndex)
    : document_(profile::Document::Load(fileName)), languageIndex_(languageIndex) {}

std::string LanguageTable::Raw(const std::string& section, const std::string& key) const {
  return document_.Value(section, key).value_or(std::string());
}

QString LanguageTable::Text(const std::string& section, const std::string& key) const {
  const std::string raw = Raw(section, key);
  if (raw.empty()) return QString();
  return DecodeText(raw, CodePage(languageIndex_));
}

const char* LanguageTable::CodePage(int languageIndex) {
  switch (languageIndex) {
    case kLanguageChinese:
      return "GBK";
    case kLanguageJapanese:
      return "CP932";
    default:
      return "UTF-8";
  }
}
