// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as text with a trailing '/'.
  std::string folder() const { return path_.string() + "/"; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Whole contents of a file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& file);
// Replaces a file with the given bytes; throws on failure.
void WriteFileBytes(const std::filesystem::path& file, const std::string& bytes);
