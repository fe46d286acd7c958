// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/Unit_common.h"
#include "tests/foundation/WriterChild.h"
#include "tests/support/TempDir.h"
#include "tests/support/qt/RecordingShell.h"
#include "ui/PathText.h"
#include "ui/ShellService.h"

namespace {

struct LanguageCase {
  const char* written;  // nullptr: no config.ini at all
  int index;
  const char* languageFile;
  const char* helpFile;
};

TEST(Startup, LanguageValueSelectsTheLanguageRow) {
  const LanguageCase cases[] = {
      {nullptr, 2, "language/en.ini", "Velbrin.chm"},
      {"1", 1, "language/gb.ini", "Velbrin_gb.chm"},
      {"2", 2, "language/en.ini", "Velbrin.chm"},
      {"3", 3, "language/jp.ini", "Velbrin_jp.chm"},
      {"0", 0, "language/en.ini", "Velbrin.chm"},
      {"9", 9, "language/en.ini", "Velbrin.chm"},
      {"abc", 2, "language/en.ini", "Velbrin.chm"},
      {"0x3", 3, "language/jp.ini", "Velbrin_jp.chm"},
      {"0x", 2, "language/en.ini", "Velbrin.chm"},
  };
  for (const LanguageCase& c : cases) {
    SCOPED_TRACE(c.written ? c.written : "no config.ini");
    TempDir dir;
    if (c.written)
      WriteFileBytes(dir / "config.ini", std::string("[common]\nlanguage=") + c.written);
    TfrmCommon common(dir.folder());
    EXPECT_EQ(common.ProgramFolder(), dir.folder());
    EXPECT_EQ(common.ConfigFileName(), dir.folder() + "config.ini");
    EXPECT_EQ(common.LanguageIndex(), c.index);
    EXPECT_EQ(common.LanguageFileName(), dir.folder() + c.languageFile);
    EXPECT_EQ(common.HelpFileName(), dir.folder() + c.helpFile);
    EXPECT_EQ(common.Config().FileName(), common.ConfigFileName());
  }
}

TEST(Startup, LanguageIsSettledOnceAtStart) {
  TempDir dir;
  WriteFileBytes(dir / "config.ini", "[common]\nlanguage=3\n");
  TfrmCommon common(dir.folder());
  WriteFileBytes(dir / "config.ini", "[common]\nlanguage=1\n");
  EXPECT_EQ(common.LanguageIndex(), 3);
  EXPECT_EQ(common.LanguageFileName(), dir.folder() + "language/jp.ini");
  EXPECT_EQ(common.Config().ReadInteger("common", "language", 2),
            1);  // the store itself reads anew
}

TEST(Startup, ProgramFolderDefaultsToTheExecutablesFolder) {
  TfrmCommon common;
  const std::string folder = common.ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(folder + "foundation_tests"));
}

TEST(Startup, ReadOnlyProgramFolderKeepsTheUsersConfigInTheirConfigFolder) {
  // The starts run as nobody when the test runs as root, who may write anywhere.
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  const std::string program = dir.folder() + "program/", xdg = dir.folder() + "xdg";
  std::filesystem::create_directories(program);
  std::filesystem::create_directories(xdg);
  [[maybe_unused]] const int owned = ::chown(xdg.c_str(), 65534, 65534);
  WriteFileBytes(program + "config.ini", "[common]\nlanguage=3\n");
  ASSERT_EQ(::chmod((program + "config.ini").c_str(), 0644), 0);
  ASSERT_EQ(::chmod(program.c_str(), 0555), 0);
  const std::string user = xdg + "/velbrin/config.ini";
  for (const char* value : {"/media/ann/phone/", static_cast<const char*>(nullptr)}) {
    std::vector<std::string> argv{PROFILE_WRITER, "start", program, xdg};
    if (value) argv.push_back(value);
    WriterChild child(argv);
    EXPECT_EQ(child.ReadAll(), user + "\n/media/ann/phone/") << (value ? "first" : "next");
    child.Wait();
  }
  // The program folder's file gave the starting values and stays as it was.
  EXPECT_EQ(ReadFileBytes(user),
            "[common]\nlanguage=3\n[setting]\noutputFolder=/media/ann/phone/\n");
  EXPECT_EQ(ReadFileBytes(program + "config.ini"), "[common]\nlanguage=3\n");
}

// The links each language opens, in the order help, home, support, feedback, products 1..7.
std::vector<std::string> OpenEverything(const std::string& folder) {
  TfrmCommon common(folder);
  RecordingShell shell;
  common.SetShellService(&shell);
  common.OpenHelpFile();
  common.OpenHomePage();
  common.OpenSupport();
  common.OpenFeedbackPage();
  for (int n = 1; n <= 7; ++n) common.OpenProductPage(n);
  const std::vector<std::string> opened = shell.OpenedPaths();
  EXPECT_EQ(opened[0], common.HelpFileName());
  EXPECT_EQ(opened[1], common.HomePageAddress());
  EXPECT_EQ(opened[2], common.SupportAddress());
  EXPECT_EQ(opened[3], common.FeedbackAddress());
  return opened;
}

TEST(Startup, HelpAndWebLinksFollowTheLanguage) {
  std::vector<std::vector<std::string>> links;
  for (const char* language : {"1", "2", "3", "7"}) {
    SCOPED_TRACE(language);
    TempDir dir;
    WriteFileBytes(dir / "config.ini", std::string("[common]\nlanguage=") + language + "\n");
    links.push_back(OpenEverything(dir.folder()));
    ASSERT_EQ(links.back().size(), 11u);
    EXPECT_EQ(links.back()[2].rfind("mailto:", 0), 0u);
    for (size_t i = 1; i < links.back().size(); ++i) {
      if (i == 2) continue;
      EXPECT_EQ(links.back()[i].rfind("https://", 0), 0u) << links.back()[i];
    }
  }
  const auto& chinese = links[0];
  const auto& english = links[1];
  const auto& japanese = links[2];
  const auto& other = links[3];
  for (int n = 4; n < 11; ++n) EXPECT_EQ(chinese[n], chinese[1]);  // every product: home page
  EXPECT_EQ(std::set<std::string>(english.begin() + 4, english.end()).size(), 7u);
  EXPECT_EQ(std::vector<std::string>(japanese.begin() + 4, japanese.end()),
            std::vector<std::string>(english.begin() + 4, english.end()));
  for (size_t i = 1; i < 11; ++i) EXPECT_EQ(other[i], english[i]);
  for (size_t i = 1; i < 4; ++i) {
    EXPECT_NE(chinese[i], english[i]);
    EXPECT_NE(japanese[i], english[i]);
  }
}

TEST(Startup, DocumentPathsKeepTheirBytes) {
  TempDir dir;
  TfrmCommon common(dir.folder());
  RecordingShell shell;
  common.SetShellService(&shell);
  const std::string path = dir.folder() + "caf\xe9 \xff/notes.txt";
  common.OpenDocument(path);
  common.OpenProductPage(0);  // no such entry: nothing opens
  common.OpenProductPage(8);
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.OpenedPaths()[0], path);
}

TEST(Startup, ShellAddressesKeepEveryByteOfALocalPath) {
  // Latin-1 é (not UTF-8), a blank and '#' that would otherwise start a fragment.
  const QUrl file = ShellUrl(PathToText("/home/ann/caf\xe9 menu#1.avi"));
  EXPECT_TRUE(file.isValid());
  EXPECT_EQ(file.toEncoded(), "file:///home/ann/caf%E9%20menu%231.avi");
  EXPECT_EQ(file.fragment(), "");
  EXPECT_EQ(ShellUrl(PathToText("/v/caf\xc3\xa9.avi")).toLocalFile(),
            QString::fromUtf8("/v/caf\xc3\xa9.avi"));
  EXPECT_EQ(ShellUrl("https://velbrin.example.org/en/#top").toString(),
            "https://velbrin.example.org/en/#top");
  EXPECT_EQ(ShellUrl("mailto:support@velbrin.example.org").scheme(), "mailto");
}

}  // namespace
