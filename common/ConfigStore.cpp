// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ConfigStore.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/ProfileFile.h"

namespace {

// Missing folders are made private to the user, as configuration folders are.
void MakeFolders(const std::string& file) {
  const std::filesystem::path folder = std::filesystem::path(file).parent_path();
  std::error_code error;
  if (folder.empty() || std::filesystem::is_directory(folder, error)) return;
  MakeFolders(folder.string());
  ::mkdir(folder.c_str(), 0700);  // a failure shows as the write's own error
}

}  // namespace

ConfigStore::ConfigStore(std::string fileName, std::string seedFileName)
    : fileName_(std::move(fileName)), seedFileName_(std::move(seedFileName)) {}

const std::string& ConfigStore::ReadFrom() const {
  if (seedFileName_.empty() || ::access(fileName_.c_str(), F_OK) == 0) return fileName_;
  return seedFileName_;
}

int ConfigStore::ReadInteger(const std::string& section, const std::string& key,
                             int fallback) const {
  return profile::ReadInteger(ReadFrom(), section, key, fallback);
}

std::string ConfigStore::ReadString(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
  return profile::ReadString(ReadFrom(), section, key, fallback);
}

void ConfigStore::WriteInteger(const std::string& section, const std::string& key,
                               int value) const {
  WriteString(section, key, std::to_string(value));
}

void ConfigStore::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) const {
  if (!seedFileName_.empty()) MakeFolders(fileName_);
  profile::WriteString(fileName_, section, key, value, seedFileName_);
}
