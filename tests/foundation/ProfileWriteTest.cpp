// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "common/ConfigStore.h"
#include "platform/ProfileFile.h"
#include "platform/SystemError.h"
#include "tests/foundation/WriterChild.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// Names in the folder other than the ones given.
std::vector<std::string> OtherNames(const fs::path& folder, const std::string& keep) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename() != keep) names.push_back(entry.path().filename().string());
  return names;
}

TEST(ConfigFile, MissingFileGivesDefaultsAndTheFirstWriteCreatesIt) {
  TempDir dir;
  const std::string file = (dir / "config.ini").string();
  ConfigStore config(file);
  EXPECT_EQ(config.ReadInteger("skin", "skin", 10), 10);
  EXPECT_EQ(config.ReadString("setting", "outputFolder", "/home/u/Videos/"), "/home/u/Videos/");
  EXPECT_EQ(config.ReadInteger("setting", "autoPowerOff_WaitTime", 30), 30);
  EXPECT_FALSE(fs::exists(file));

  config.WriteInteger("skin", "skin", -3);
  EXPECT_EQ(ReadFileBytes(file), "[skin]\nskin=-3\n");
  EXPECT_EQ(config.ReadInteger("skin", "skin", 10), -3);
  EXPECT_EQ(config.ReadInteger("common", "language", 2), 2);
  EXPECT_TRUE(OtherNames(dir.path(), "config.ini").empty());
}

TEST(ConfigFile, EveryCallSeesTheFileAsItIsNow) {
  TempDir dir;
  const std::string file = (dir / "config.ini").string();
  ConfigStore config(file);
  WriteFileBytes(file, "[setting]\nautoPowerOff=1\n");
  EXPECT_EQ(config.ReadInteger("setting", "autoPowerOff", 0), 1);
  WriteFileBytes(file, "[setting]\nautoPowerOff=0x\n");
  EXPECT_EQ(config.ReadInteger("setting", "autoPowerOff", 0), 0);
  fs::remove(file);
  EXPECT_EQ(config.ReadInteger("setting", "autoPowerOff", 7), 7);
}

TEST(ConfigFile, WindowsFileIsReadAndOnlyTheWrittenKeysChange) {
  TempDir dir;
  const std::string file = (dir / "config.ini").string();
  const std::string head =
      "; Velbrin \xe2\x80\x94 Einstellungen f\xc3\xbcr alle\r\n"  // UTF-8 comment
      "; r\xe9glages enregistr\xe9s\r\n"                          // ANSI (1252) comment
      "[Common]\r\n"
      "Language = 3\r\n"
      "\r\n"
      "[Extra]\r\n"
      "Window=10,20,300,400\r\n"
      "Recent1=\"D:\\Video\\my clip.avi\"\r\n"
      "\r\n"
      "[SKIN]\r\n";
  const std::string tail =
      "\r\n"
      "[Setting]\r\n"
      "OutputFolder=D:\\3GP\\\r\n"
      "AutoPowerOff=1\r\n";
  WriteFileBytes(file, head + "Skin\t=\t0x0C\r\n" + tail);

  ConfigStore config(file);
  EXPECT_EQ(config.ReadInteger("common", "language", 2), 3);
  EXPECT_EQ(config.ReadInteger("skin", "skin", 10), 12);
  EXPECT_EQ(config.ReadString("setting", "outputFolder", "/"), "D:\\3GP\\");
  EXPECT_EQ(config.ReadInteger("setting", "autoPowerOff", 0), 1);
  EXPECT_EQ(config.ReadInteger("setting", "autoPowerOff_WaitTime", 30), 30);
  EXPECT_EQ(config.ReadString("extra", "recent1", ""), "D:\\Video\\my clip.avi");

  config.WriteInteger("skin", "skin", 4);
  EXPECT_EQ(ReadFileBytes(file), head + "Skin=4\r\n" + tail);
  config.WriteInteger("setting", "autoPowerOff_WaitTime", 45);
  EXPECT_EQ(ReadFileBytes(file), head + "Skin=4\r\n" + tail + "autoPowerOff_WaitTime=45\r\n");
  EXPECT_EQ(config.ReadInteger("setting", "autoPowerOff_WaitTime", 30), 45);
}

TEST(ConfigFile, KeepsThePermissionsOfTheFileItReplaces) {
  TempDir dir;
  const std::string file = (dir / "config.ini").string();
  WriteFileBytes(file, "[a]\nk=1\n");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  profile::WriteString(file, "a", "k", "2");
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

void ExpectRefused(const std::string& file, const std::string& value) {
  try {
    profile::WriteString(file, "setting", "outputFolder", value);
    ADD_FAILURE() << "the write to " << file << " was not refused";
  } catch (const WriteError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + file);
  }
}

TEST(ConfigFile, RefusedWritesRaiseAndChangeNothing) {
  TempDir dir;
  // A folder that does not exist.
  ExpectRefused((dir / "missing" / "config.ini").string(), "/x/");
  EXPECT_FALSE(fs::exists(dir / "missing"));
  // A "folder" that is a regular file.
  WriteFileBytes(dir / "plain", "not a folder");
  ExpectRefused((dir / "plain" / "config.ini").string(), "/x/");
  EXPECT_EQ(ReadFileBytes(dir / "plain"), "not a folder");
  // A config.ini that is a folder cannot be read, so it is not replaced.
  fs::create_directory(dir / "isdir");
  fs::create_directory(dir / "isdir" / "config.ini");
  ExpectRefused((dir / "isdir" / "config.ini").string(), "/x/");
  EXPECT_TRUE(fs::is_directory(dir / "isdir" / "config.ini"));
  // A value that would break the line it stands on.
  const std::string file = (dir / "config.ini").string();
  WriteFileBytes(file, "[setting]\noutputFolder=/old/\n");
  ExpectRefused(file, "/new\n[common]\nlanguage=1/");
  EXPECT_EQ(ReadFileBytes(file), "[setting]\noutputFolder=/old/\n");
  for (const std::string& name : OtherNames(dir.path(), "config.ini"))
    EXPECT_TRUE(name == "plain" || name == "isdir") << name << " was left behind";
}

TEST(ConfigFile, ReadOnlyFolderRefusesTheWriteAndKeepsTheFile) {
  // Root ignores permission bits, so the writer child runs as nobody then.
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  const fs::path folder = dir / "program";
  fs::create_directory(folder);
  const std::string file = (folder / "config.ini").string();
  const std::string before = "[setting]\r\noutputFolder=/old/\r\n";
  WriteFileBytes(file, before);
  ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);

  WriterChild child({PROFILE_WRITER, "write", file, "setting", "outputFolder", "/new/"});
  EXPECT_EQ(child.ReadAll(), "Unable to write to " + file);
  const int status = child.Wait();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_TRUE(OtherNames(folder, "config.ini").empty());
}

TEST(ConfigFile, WriteOpensItsFilesCloseOnExecAndNeverTouchesTheUmask) {
  // Another thread's child must not inherit the temporary file, nor find the umask cleared.
  for (const bool existing : {false, true}) {
    TempDir dir;
    const std::string file = (dir / "config.ini").string();
    if (existing) WriteFileBytes(file, "[common]\nlanguage=3\n");
    WriterChild child({PROFILE_WRITER, "confined", file});
    EXPECT_EQ(child.ReadAll(), "ok") << "existing: " << existing;
    const int status = child.Wait();
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3) GTEST_SKIP() << "no seccomp rule here";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(profile::ReadString(file, "setting", "outputFolder", ""), "/x/");
  }
}

TEST(ConfigFile, LinkIsWrittenThroughAndAWritableFileInAReadOnlyFolderInPlace) {
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  fs::create_directories(dir / "real");
  WriteFileBytes(dir / "real" / "velbrin.ini", "[skin]\r\nskin=3\r\n");
  fs::create_symlink("real/velbrin.ini", dir / "config.ini");
  ConfigStore((dir / "config.ini").string()).WriteInteger("skin", "skin", 12);
  EXPECT_TRUE(fs::is_symlink(dir / "config.ini"));
  EXPECT_EQ(ReadFileBytes(dir / "real" / "velbrin.ini"), "[skin]\r\nskin=12\r\n");
  EXPECT_TRUE(OtherNames(dir / "real", "velbrin.ini").empty());

  // Only rewriting the file itself can store the value; the writer runs as nobody.
  const std::string file = (dir / "real" / "open.ini").string();
  WriteFileBytes(file, "[setting]\noutputFolder=/a/longer/folder/than/the/new/one/\n");
  ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
  ASSERT_EQ(::chmod((dir / "real").c_str(), 0555), 0);
  WriterChild child({PROFILE_WRITER, "write", file, "setting", "outputFolder", "/new/"});
  EXPECT_EQ(child.ReadAll(), "ok");
  child.Wait();
  EXPECT_EQ(ReadFileBytes(file), "[setting]\noutputFolder=/new/\n");
}

TEST(ConfigFile, WritersInTwoProcessesKeepEachOthersKeys) {
  TempDir dir;
  const std::string file = (dir / "config.ini").string();
  WriteFileBytes(file, "[common]\nlanguage=3\n");
  constexpr int kKeys = 150;
  ChildProcess first({PROFILE_WRITER, "keys", file, "a", std::to_string(kKeys)});
  ChildProcess second({PROFILE_WRITER, "keys", file, "b", std::to_string(kKeys)});
  first.CloseInput();  // go, both at once
  second.CloseInput();
  EXPECT_EQ(first.Wait(std::chrono::minutes(2)), 0) << first.Error();
  EXPECT_EQ(second.Wait(std::chrono::minutes(2)), 0) << second.Error();

  const profile::Document doc = profile::Document::Load(file);
  EXPECT_EQ(doc.Value("common", "language"), "3");
  std::vector<std::string> lost;
  for (const std::string prefix : {"a", "b"})
    for (int i = 1; i <= kKeys; ++i)
      if (doc.Value("setting", prefix + std::to_string(i)) != std::to_string(i))
        lost.push_back(prefix + std::to_string(i));
  EXPECT_TRUE(lost.empty()) << lost.size() << " keys lost, the first " << lost.front();
  EXPECT_TRUE(OtherNames(dir.path(), "config.ini").empty());
}

TEST(ConfigFile, KilledWriterNeverLeavesABrokenFile) {
  TempDir dir;
  const std::string file = (dir / "config.ini").string();
  // Padding makes each write long enough for kills to land inside it.
  std::string padding;
  for (int i = 0; i < 4000; ++i) padding += "; padding line " + std::to_string(i) + "\n";
  const std::string start =
      "[common]\nlanguage=3\n" + padding +
      "[setting]\noutputFolder=/media/my videos/\ncounter=0\n[skin]\nskin=7\n";
  WriteFileBytes(file, start);

  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> delayMicros(0, 4000);
  long lastCounter = 0;
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    {
      WriterChild child({PROFILE_WRITER, "loop", file});
      ASSERT_EQ(child.ReadLine(), "ready");
      std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(random)));
      child.Kill(SIGKILL);
      const int status = child.Wait();
      ASSERT_TRUE(WIFSIGNALED(status));
    }
    const std::string bytes = ReadFileBytes(file);
    const profile::Document doc = profile::Document::Parse(bytes);
    const std::optional<std::string> counter = doc.Value("setting", "counter");
    ASSERT_TRUE(counter.has_value());
    const std::optional<int> value = profile::ParseProfileInteger(*counter);
    ASSERT_TRUE(value.has_value()) << *counter;
    EXPECT_GE(*value, 1);
    // The whole file is the start file with one value changed: no key lost, no byte moved.
    ASSERT_EQ(bytes, profile::SetValue(start, "setting", "counter", *counter));
    lastCounter = *value;
    // A kill between the temporary file and the rename leaves the temporary file behind;
    // it never replaces config.ini, so clear it away for the next round.
    for (const std::string& name : OtherNames(dir.path(), "config.ini")) {
      EXPECT_EQ(name.rfind(".config.ini.", 0), 0u) << name;
      fs::remove(dir / name);
    }
  }
  EXPECT_GE(lastCounter, 1);
}

}  // namespace
