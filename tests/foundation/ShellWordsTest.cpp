// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/CommandLine.h"
#include "platform/ShellWords.h"
#include "tests/support/TempDir.h"

namespace {

using Words = std::vector<std::string>;

TEST(ShellWords, SplittingFollowsShellQuoting) {
  const struct {
    const char* text;
    std::optional<Words> words;
  } cases[] = {
      {"", Words{}},
      {" \t\n ", Words{}},
      {"a  b\tc\nd", Words{"a", "b", "c", "d"}},
      {"'a b' \"c d\"", Words{"a b", "c d"}},
      {"a'b'\"c\"d", Words{"abcd"}},
      {"'' \"\"", Words{"", ""}},
      {"'a\\b'", Words{"a\\b"}},
      {"'it'\\''s'", Words{"it's"}},
      {"\"\\\" \\\\ \\$ \\` \\x\"", Words{"\" \\ $ ` \\x"}},
      {"\"$HOME `id` *\"", Words{"$HOME `id` *"}},
      {"a\\ b \\'c", Words{"a b", "'c"}},
      {"a\\\nb", Words{"ab"}},
      {"\"a\\\nb\"", Words{"ab"}},
      {"$(id) ; * |", Words{"$(id)", ";", "*", "|"}},
      {"'open", std::nullopt},
      {"\"open", std::nullopt},
      {"\"open\\\"", std::nullopt},
      {"end\\", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SplitShellWords(c.text), c.words);
  }
}

const std::vector<std::string>& AwkwardNames() {
  static const std::vector<std::string> names = {
      "plain-name_1.avi",
      "with blank.avi",
      "it's.avi",
      "say \"hi\".avi",
      "$HOME.avi",
      "${x}$(id).avi",
      "`id`.avi",
      "a;b&c|d.avi",
      "*.avi",
      "what?[a].avi",
      "new\nline.avi",
      "tab\there.avi",
      "\xff\xfe.avi",
      "caf\xc3\xa9.avi",
      "back\\slash",
      "'",
      "\"",
      "~",
      "#hash",
      "a=b",
      "-dash",
      "<in >out",
      "!bang",
      "  ",
  };
  return names;
}

TEST(ShellWords, QuotedWordsComeBackWhole) {
  for (const std::string& name : AwkwardNames()) {
    SCOPED_TRACE(name);
    EXPECT_EQ(SplitShellWords(QuoteShellWord(name)), Words{name});
    EXPECT_EQ(SplitShellWords(QuoteShellWord("/tmp/" + name + "/x")), Words{"/tmp/" + name + "/x"});
  }
  EXPECT_EQ(QuoteShellWord("/home/ann/clip-1.avi"), "/home/ann/clip-1.avi");
  EXPECT_EQ(QuoteShellWord(""), "''");
  EXPECT_EQ(SplitShellWords(QuoteShellWord("")), Words{""});
}

TEST(ShellWords, CommandSplitsIntoTheEncodersArguments) {
  const std::string folder = "/opt/my apps/$velbrin/";
  const std::string source = "/v/it's a \"clip\"; `rm -rf x` $(id) *.avi";
  const std::string output = "/o/new\nline\t\xff.3gp";
  const std::string command =
      BuildCommandLine(folder, MakeConversionSettings(2, 2, 1, 7, 1, 1), source, output);
  const Words expected = {folder + "libm9s", "-i",  source,    "-vcodec", "mpeg4", "-acodec",
                          "libfaac",         "-f",  "3gp",     "-b",      "120k",  "-r",
                          "14.98",           "-s",  "176x144", "-ar",     "16000", "-ab",
                          "12.2k",           "-ac", "2",       "-y",      output};
  EXPECT_EQ(SplitShellWords(command), expected);

  Words withoutSource = expected;
  withoutSource.erase(withoutSource.begin() + 2);
  EXPECT_EQ(SplitShellWords(
                BuildCommandLine(folder, MakeConversionSettings(2, 2, 1, 7, 1, 1), "", output)),
            withoutSource);
}

// Even a real shell reads the command as the same words and runs nothing
// hidden in a path: the program here is a script that prints its arguments.
TEST(ShellWords, ShellReadsTheSameWordsAndRunsNothing) {
  TempDir dir;
  const std::string folder = dir.folder() + "my progs $HOME `x`/";
  std::filesystem::create_directory(folder);
  WriteFileBytes(folder + "libm9s",
                 "#!/bin/sh\nfor a in \"$0\" \"$@\"; do printf '%s\\0' \"$a\"; done\n");
  ASSERT_EQ(::chmod((folder + "libm9s").c_str(), 0755), 0);
  const std::string trap = dir.folder() + "ran";
  for (const std::string& name : AwkwardNames()) {
    SCOPED_TRACE(name);
    const std::string source =
        dir.folder() + name + "$(touch " + trap + ")`touch " + trap + "`;touch " + trap;
    const std::string command =
        BuildCommandLine(folder, ConversionSettings(), source, dir.folder() + name + ".3gp");
    FILE* shell = ::popen(command.c_str(), "r");
    ASSERT_NE(shell, nullptr);
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, shell)) > 0) out.append(buffer, n);
    EXPECT_EQ(::pclose(shell), 0);
    Words printed;
    for (size_t start = 0, end; (end = out.find('\0', start)) != std::string::npos; start = end + 1)
      printed.push_back(out.substr(start, end - start));
    EXPECT_EQ(SplitShellWords(command), printed);
    EXPECT_FALSE(std::filesystem::exists(trap));
  }
}

}  // namespace
