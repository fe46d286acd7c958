// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Where config.ini is read and written. The program folder's own file when the
// user may write there (the folder, or the file itself); otherwise (an
// installed program) the user's configuration folder, with the program
// folder's file as the starting values until the user's file exists.
struct ConfigLocation {
  std::string fileName;
  std::string seedFileName;  // empty: no starting values elsewhere
};

// `xdgConfigHome` and `home` are the environment's values (null when unset).
ConfigLocation LocateConfigFile(const std::string& programFolder, const char* xdgConfigHome,
                                const char* home);
