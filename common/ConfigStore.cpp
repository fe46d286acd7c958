// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ConfigStore.h"

#include <utility>

#include "platform/ProfileFile.h"

ConfigStore::ConfigStore(std::string fileName) : fileName_(std::move(fileName)) {}

int ConfigStore::ReadInteger(const std::string& section, const std::string& key,
                             int fallback) const {
  return profile::ReadInteger(fileName_, section, key, fallback);
}

std::string ConfigStore::ReadString(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
  return profile::ReadString(fileName_, section, key, fallback);
}

void ConfigStore::WriteInteger(const std::string& section, const std::string& key,
                               int value) const {
  profile::WriteString(fileName_, section, key, std::to_string(value));
}

void ConfigStore::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) const {
  profile::WriteString(fileName_, section, key, value);
}
