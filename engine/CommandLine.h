// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "engine/ConversionSettings.h"

// The one command text that starts the encoder for a queue entry. The program
// folder (with its trailing '/') stands in front of the executable's name;
// the two paths are quoted for the runner's word splitting, and an empty path
// goes into the command empty.
std::string BuildCommandLine(const std::string& programFolder, const ConversionSettings& settings,
                             const std::string& shortSource, const std::string& shortOutput);
