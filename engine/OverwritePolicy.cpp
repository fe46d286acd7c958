// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/OverwritePolicy.h"

#include <sys/stat.h>

int OverwriteAnswerCode(OverwriteChoice choice, bool remember) {
  switch (choice) {
    case OverwriteChoice::Overwrite:
      return remember ? kOverwriteAll : kOverwriteOnce;
    case OverwriteChoice::Ignore:
      return remember ? kOverwriteSkipAll : kOverwriteAsk;
    case OverwriteChoice::AutoName:
      return remember ? kOverwriteAutoNameAll : kOverwriteAutoNameOnce;
  }
  return kOverwriteAsk;
}

bool OutputFileExists(const std::string& path) {
  struct stat info;
  if (path.empty() || lstat(path.c_str(), &info) != 0) return false;
  if (!S_ISLNK(info.st_mode)) return !S_ISDIR(info.st_mode);
  // A link counts as its target, and as a file when it leads nowhere.
  return stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode);
}

std::string ResolveExistingOutput(const std::string& path, int& policy,
                                  const std::function<int()>& ask) {
  if (!OutputFileExists(path)) return path;
  if (policy == kOverwriteAsk) policy = ask();
  switch (policy) {
    case kOverwriteOnce:
      policy = kOverwriteAsk;
      return path;
    case kOverwriteAll:
      return path;
    case kOverwriteAutoNameOnce:
      policy = kOverwriteAsk;
      return AutoName(path);
    case kOverwriteAutoNameAll:
      return AutoName(path);
    case kOverwriteSkipAll:
      return std::string();
    default:
      // 0 skips this entry and asks again next time; a code that never
      // occurs is treated the same rather than remembered.
      policy = kOverwriteAsk;
      return std::string();
  }
}

std::string PathExtension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot);
}

std::string AutoName(const std::string& path) {
  std::string candidate = path;
  const std::string suffix = "(1)" + PathExtension(path);
  // Each step appends to the whole name, extension included, until one is free.
  while (OutputFileExists(candidate)) candidate += suffix;
  return candidate;
}
