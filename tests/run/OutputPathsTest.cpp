// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/OutputPaths.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/SystemError.h"
#include "tests/support/EnvOverride.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

struct NameCase {
  const char* source;
  const char* output;
};

TEST(OutputName, RuleTable) {
  const std::vector<NameCase> cases = {
      {"/v/clip.avi", "clip.3gp"},
      {"/v/my.trip.mpg", "my.trip.3gp"},
      {"/v/clip", "clip.3gp"},
      {"/v.d/clip", "clip.3gp"},  // a dot in a folder name is no extension
      {"/v.d/clip.wmv", "clip.3gp"},
      {"/v/clip.3gp", "clip.3gp"},
      {"/v/a:b.avi", "a:b.3gp"},  // ':' is an ordinary byte on Linux
      {"/v/c:clip", "c:clip.3gp"},
      {"/v/clip.", "clip.3gp"},
      {"/v/with blank.mkv", "with blank.3gp"},
      {"/v/\xff\xfe.mov", "\xff\xfe.3gp"},
      {"clip.avi", "clip.3gp"},
  };
  for (const auto& c : cases) EXPECT_EQ(OutputName(c.source), c.output) << c.source;
  EXPECT_EQ(WithTrailingSeparator("/out"), "/out/");
  EXPECT_EQ(WithTrailingSeparator("/out/"), "/out/");
}

TEST(OutputFolder, CreatedWithMissingParentsAndFailureLeftToTheWrite) {
  TempDir dir;
  const std::string deep = (dir / "a" / "b" / "c").string();
  EnsureOutputFolder(deep + "///");
  EXPECT_TRUE(fs::is_directory(deep));
  EnsureOutputFolder(deep);  // already there: nothing happens
  EXPECT_TRUE(fs::is_directory(deep));

  // A folder path under a regular file cannot exist; the placeholder reports it.
  WriteFileBytes(dir / "file", "x");
  const std::string impossible = (dir / "file" / "out").string() + "/";
  EXPECT_NO_THROW(EnsureOutputFolder(impossible));
  EXPECT_THROW(WritePlaceholder(impossible + "clip.3gp"), SystemError);
}

TEST(Placeholder, SixBytesCreatedOrTruncated) {
  TempDir dir;
  const fs::path file = dir / "clip.3gp";
  WritePlaceholder(file.string());
  EXPECT_EQ(ReadFileBytes(file), "temp\r\n");
  WriteFileBytes(file, std::string(5000, 'v'));
  WritePlaceholder(file.string());
  EXPECT_EQ(ReadFileBytes(file), "temp\r\n");
  try {
    WritePlaceholder((dir / "missing" / "clip.3gp").string());
    FAIL();
  } catch (const SystemError& e) {
    EXPECT_EQ(e.code(), ENOENT);
    EXPECT_NE(std::string(e.what()).find("System Error.  Code: 2."), std::string::npos);
  }
  EXPECT_FALSE(WritePlaceholder(dir.path().string()));  // a folder: not a file, nothing thrown
}

TEST(ShortForm, PathItselfOrEmptyAndSameFileDetection) {
  TempDir dir;
  const std::string file = (dir / "a b.avi").string();
  WriteFileBytes(file, "x");
  EXPECT_EQ(ShortPathForm(file), file);
  EXPECT_EQ(ShortPathForm(dir.folder()), dir.folder());
  EXPECT_EQ(ShortPathForm((dir / "gone.avi").string()), "");
  EXPECT_EQ(ShortPathForm(""), "");

  fs::create_directory(dir / "sub");
  EXPECT_TRUE(IsSameFile(file, dir.folder() + "sub/../a b.avi"));
  EXPECT_TRUE(IsSameFile(file, dir.folder() + "/a b.avi"));
  fs::create_hard_link(file, dir / "link.3gp");
  EXPECT_TRUE(IsSameFile(file, (dir / "link.3gp").string()));
  WriteFileBytes(dir / "other", "x");
  EXPECT_FALSE(IsSameFile(file, (dir / "other").string()));
  EXPECT_FALSE(IsSameFile(file, (dir / "gone").string()));
  EXPECT_FALSE(IsSameFile((dir / "gone").string(), (dir / "gone").string()));
}

TEST(TempScript, TempFolderFromEnvironmentAndScriptDeleted) {
  TempDir dir;
  {
    const EnvOverride unset("TMPDIR", nullptr);
    EXPECT_EQ(TempFolder(), "/tmp/");
  }
  {
    const EnvOverride empty("TMPDIR", "");
    EXPECT_EQ(TempFolder(), "/tmp/");
  }
  const EnvOverride tmp("TMPDIR", dir.path().c_str());
  EXPECT_EQ(TempFolder(), dir.folder());

  DeleteTempScript();  // nothing there: nothing happens
  WriteFileBytes(dir / "m9s.avs", "script");
  WriteFileBytes(dir / "keep.avs", "script");
  DeleteTempScript();
  EXPECT_FALSE(fs::exists(dir / "m9s.avs"));
  EXPECT_TRUE(fs::exists(dir / "keep.avs"));

  fs::create_directory(dir / "m9s.avs");  // a folder is not the file
  DeleteTempScript();
  EXPECT_TRUE(fs::is_directory(dir / "m9s.avs"));
}

}  // namespace
