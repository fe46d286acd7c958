// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string kProgram = INSTALL_PROGRAMDIR "/";
const std::string kData = INSTALL_DATADIR "/";

// One installation shared by every test: installing is the slow part.
class InstallTree : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix_ = new TempDir;
    std::string log;
    const int code = RunCommand(
        {CMAKE_PROGRAM, "--install", BUILD_DIR, "--prefix", prefix_->path().string()}, 120s, &log);
    ASSERT_EQ(code, 0) << log;
  }
  static void TearDownTestSuite() {
    delete prefix_;
    prefix_ = nullptr;
  }
  static fs::path At(const std::string& relative) { return prefix_->path() / relative; }

  // Names of the regular files in a folder.
  static std::set<std::string> Names(const fs::path& folder, const std::string& extension) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.is_regular_file() && entry.path().extension() == extension)
        names.insert(entry.path().filename().string());
    return names;
  }

  static inline TempDir* prefix_ = nullptr;
};

// Width and height from a PNG's header chunk; {0, 0} when it is not a PNG.
std::pair<uint32_t, uint32_t> PngSize(const fs::path& file) {
  const std::string bytes = ReadFileBytes(file);
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0 || bytes.compare(12, 4, "IHDR") != 0)
    return {0, 0};
  auto be32 = [&](size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  return {be32(16), be32(20)};
}

TEST_F(InstallTree, holdsTheProgramFolderAndWhatTheDesktopNeeds) {
  for (const std::string& file :
       {kProgram + "Velbrin.chm", kProgram + "Velbrin_gb.chm", kProgram + "Velbrin_jp.chm",
        kData + "applications/velbrin.desktop", kData + "metainfo/velbrin.metainfo.xml",
        kData + "icons/hicolor/scalable/apps/velbrin.svg",
        std::string(INSTALL_MANDIR "/man1/libm9s.1.gz"), kData + "doc/velbrin/copyright"})
    EXPECT_TRUE(fs::is_regular_file(At(file))) << file;
  for (const char* program : {"velbrin", "libm9s"}) {
    const auto perms = fs::status(At(kProgram + program)).permissions();
    EXPECT_NE(perms & fs::perms::others_exec, fs::perms::none) << program;
  }
  for (uint32_t side : {48u, 128u, 256u}) {
    const std::string name = std::to_string(side) + "x" + std::to_string(side);
    EXPECT_EQ(PngSize(At(kData + "icons/hicolor/" + name + "/apps/velbrin.png")),
              std::make_pair(side, side))
        << name;
  }
}

TEST_F(InstallTree, dataFoldersHoldEverySourceFile) {
  const std::pair<std::string, std::string> folders[] = {{"language", ".ini"}, {"skins", ".ssk"}};
  for (const auto& [folder, extension] : folders) {
    const auto installed = Names(At(kProgram + folder), extension);
    EXPECT_FALSE(installed.empty()) << folder;
    EXPECT_EQ(installed, Names(fs::path(VELBRIN_SOURCE_DIR) / folder, extension)) << folder;
  }
}

TEST_F(InstallTree, binLinkIsRelativeAndReachesTheInstalledProgram) {
  const fs::path link = At(INSTALL_BINDIR "/velbrin");
  ASSERT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::read_symlink(link).is_relative()) << fs::read_symlink(link);
  EXPECT_EQ(fs::canonical(link), fs::canonical(At(kProgram + "velbrin")));
  // The installed encoder runs from its folder, without the build tree.
  std::string usage;
  EXPECT_EQ(RunCommand({At(kProgram + "libm9s").string(), "-h"}, 30s, &usage), 0) << usage;
}

TEST_F(InstallTree, desktopValidatorsAcceptTheInstalledFiles) {
  const std::vector<std::string> checks[] = {
      {"desktop-file-validate", At(kData + "applications/velbrin.desktop").string()},
      {"appstreamcli", "validate", "--no-net",
       At(kData + "metainfo/velbrin.metainfo.xml").string()},
  };
  for (const auto& argv : checks) {
    std::string output;
    EXPECT_EQ(RunCommand(argv, 120s, &output), 0) << argv[0] << ": " << output;
  }
}

}  // namespace
