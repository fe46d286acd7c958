// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The only access to config.ini: every call reads or writes the file at once,
// nothing is cached. With a seed file, reads take the seed's values until the
// file exists, and the first write starts from the seed's bytes in a folder
// made as needed (the user's configuration folder).
class ConfigStore {
 public:
  explicit ConfigStore(std::string fileName, std::string seedFileName = std::string());

  int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback) const;
  void WriteInteger(const std::string& section, const std::string& key, int value) const;
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value) const;

  const std::string& FileName() const { return fileName_; }

 private:
  const std::string& ReadFrom() const;

  std::string fileName_;
  std::string seedFileName_;
};
