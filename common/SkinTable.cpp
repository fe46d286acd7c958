// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/SkinTable.h"

#include <array>
#include <string_view>

namespace {

constexpr std::array<std::string_view, kSkinCount> kSkinFiles = {
    "Calmness.ssk",    "DiamondBlue.ssk", "DiamondGreen.ssk", "GlassGreen.ssk", "Longhorn.ssk",
    "MacOS.ssk",       "MP10.ssk",        "MSN.ssk",          "OneBlue.ssk",    "Silver.ssk",
    "SportsBlack.ssk", "SportsBlue.ssk",  "Midsummer.ssk",    "Emerald.ssk",    "Warm.ssk",
    "XPBlue.ssk",      "XPGreen.ssk",     "XPSilver.ssk",
};

}  // namespace

std::string SkinTable(int index) {
  if (index < 1 || index > kSkinCount) index = kDefaultSkinIndex;
  return std::string(kSkinFiles[static_cast<size_t>(index - 1)]);
}
