// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Windows file-name wildcards: '*' any run, '?' any one character, letters
// matched without regard to case; a pattern ending in ".*" also matches a name
// without that extension (so "*.*" matches every name, with or without a '.'),
// and a pattern ending in '.' matches names that have no '.'.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// The folder scan's sub-folder test: a real directory (a symbolic link is never
// entered, so a link cycle cannot make the scan run forever), not hidden (the
// name does not begin with '.'), and not read-only. Read-only is the owner's
// write bit of the folder's mode, like the read-only attribute it stands for;
// access(2) would call every folder writable for root.
bool IsPlainSubFolder(const std::string& path, std::string_view name);

struct FolderScanCallbacks {
  std::function<void(const std::string& path)> addFile;  // every entry not entered
  std::function<void()> afterEntry;                      // after each entry but "." and ".."
  std::function<bool()> cancelled;                       // optional: stop the scan early
};

// Scans folder + "/*." + extension (an empty extension counts as "*"); the '/'
// is inserted even when the folder already ends in one. Entries come in the
// order the file system returns them; with subDirs, a plain sub-folder that
// matches the pattern is scanned at once (depth first) instead of being handed
// to addFile. A missing or unreadable folder yields nothing.
void ScanFolder(const std::string& folder, bool subDirs, const std::string& extension,
                const FolderScanCallbacks& callbacks);
