// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "queue/FolderScan.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

TEST(PlainSubFolder, onlyRealWritableVisibleFolders) {
  TempDir dir;
  fs::create_directories(dir / "plain");
  fs::create_directories(dir / "locked");
  chmod((dir / "locked").c_str(), 0500);
  fs::create_directory_symlink(dir / "plain", dir / "alias");
  WriteFileBytes(dir / "file", "x");
  EXPECT_TRUE(IsPlainSubFolder((dir / "plain").string(), "plain"));
  EXPECT_FALSE(IsPlainSubFolder((dir / "locked").string(), "locked"));
  EXPECT_FALSE(IsPlainSubFolder((dir / "alias").string(), "alias"));
  EXPECT_FALSE(IsPlainSubFolder((dir / "file").string(), "file"));
  EXPECT_FALSE(IsPlainSubFolder((dir / "plain").string(), ".plain"));
  chmod((dir / "locked").c_str(), 0700);
}

}  // namespace
