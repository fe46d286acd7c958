// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

constexpr int kSkinCount = 18;
// "Silver.ssk": the skin when nothing is stored, and for any index outside 1..18.
constexpr int kDefaultSkinIndex = 10;

// The skin file name (without folder) for index 1..18 of the skin menu.
std::string SkinTable(int index);
