// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/FolderScan.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Plain '*' / '?' matching with backtracking to the last star; linear in practice.
bool GlobMatch(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

void Scan(const std::string& folder, bool subDirs, const std::string& pattern,
          const FolderScanCallbacks& callbacks) {
  DirHandle dir(opendir(folder.c_str()));
  if (!dir) return;
  while (dirent* entry = readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (!WildcardMatch(pattern, name)) continue;
    const std::string path = folder + "/" + std::string(name);
    // d_type saves an lstat per file; an unknown type still gets the full test.
    const bool maybeFolder = entry->d_type == DT_DIR || entry->d_type == DT_UNKNOWN;
    if (subDirs && maybeFolder && IsPlainSubFolder(path, name)) {
      Scan(path, subDirs, pattern, callbacks);
    } else if (callbacks.addFile) {
      callbacks.addFile(path);
    }
    if (callbacks.afterEntry) callbacks.afterEntry();
    if (callbacks.cancelled && callbacks.cancelled()) return;
  }
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (GlobMatch(pattern, name)) return true;
  if (pattern.ends_with(".*") && name.find('.') == std::string_view::npos &&
      GlobMatch(pattern.substr(0, pattern.size() - 2), name))
    return true;
  if (pattern.ends_with('.') && !pattern.ends_with("..") &&
      name.find('.') == std::string_view::npos)
    return GlobMatch(pattern.substr(0, pattern.size() - 1), name);
  return false;
}

bool IsPlainSubFolder(const std::string& path, std::string_view name) {
  if (name.empty() || name.front() == '.') return false;
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && (info.st_mode & S_IWUSR) != 0;
}

void ScanFolder(const std::string& folder, bool subDirs, const std::string& extension,
                const FolderScanCallbacks& callbacks) {
  const std::string pattern = "*." + (extension.empty() ? std::string("*") : extension);
  Scan(folder, subDirs, pattern, callbacks);
}
