// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ConfigLocation.h"

#include <pwd.h>
#include <unistd.h>

namespace {

constexpr char kConfigName[] = "config.ini";

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string UserConfigFolder(const char* xdgConfigHome, const char* home) {
  if (xdgConfigHome && xdgConfigHome[0] == '/') return xdgConfigHome;
  std::string base = home ? home : "";
  if (base.empty()) {
    if (const passwd* entry = ::getpwuid(::getuid())) base = entry->pw_dir;
  }
  return base + "/.config";
}

}  // namespace

ConfigLocation LocateConfigFile(const std::string& programFolder, const char* xdgConfigHome,
                                const char* home) {
  const std::string own = programFolder + kConfigName;
  // A writable file (or link to one) in a read-only folder is still the user's own.
  if (::access(programFolder.c_str(), W_OK) == 0 || ::access(own.c_str(), W_OK) == 0)
    return {own, std::string()};
  return {UserConfigFolder(xdgConfigHome, home) + "/velbrin/" + kConfigName, own};
}
