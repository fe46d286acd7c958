// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace {

TEST(HelpFiles, eachLanguageHasACompiledChmWithoutTimeStamp) {
  for (const char* name : {"Velbrin.chm", "Velbrin_gb.chm", "Velbrin_jp.chm"}) {
    const std::string bytes = ReadFileBytes(std::string(VELBRIN_PROGRAM_DIR) + name);
    ASSERT_GT(bytes.size(), 0x60u) << name;
    EXPECT_EQ(bytes.substr(0, 4), "ITSF") << name;
    // The header's stamp is cleared so that builds are reproducible.
    EXPECT_EQ(bytes.substr(0x10, 4), std::string(4, '\0')) << name;
    // Every topic of the guide was compiled in.
    for (const char* topic : {"/index.html", "/queue.html", "/convert.html", "/options.html"})
      EXPECT_NE(bytes.find(topic), std::string::npos) << name << " " << topic;
  }
}

}  // namespace
