// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The user's videos folder with its trailing '/': the output folder when
// config.ini names none, and the run's when the output folder text is empty.
std::string DefaultOutputFolder();
