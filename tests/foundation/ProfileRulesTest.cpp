// SPDX-License-Identifier: GPL-3.0-or-later
#include <climits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/ProfileFile.h"

namespace {

struct ReadCase {
  const char* what;
  std::string bytes;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

TEST(ProfileRules, ReadingFollowsTheProfileRules) {
  const std::string longValue(3000, 'v');
  const ReadCase cases[] = {
      {"names without regard to case", "[Common]\nLanguage=3\n", "common", "LANGUAGE", "3"},
      {"blanks and tabs dropped", " \t[ skin ]\t\n \t skin \t= \t 7 \t\n", "skin", "skin", "7"},
      {"double quotes stripped", "[s]\nk=\" a b \"\n", "s", "k", " a b "},
      {"single quotes stripped", "[s]\nk='x'\n", "s", "k", "x"},
      {"quotes that do not match stay", "[s]\nk=\"x'\n", "s", "k", "\"x'"},
      {"one quote alone stays", "[s]\nk=\"\n", "s", "k", "\""},
      {"only one pair is stripped", "[s]\nk=\"\"x\"\"\n", "s", "k", "\"x\""},
      {"a semicolon inside a value is kept", "[s]\nk=a;b\n", "s", "k", "a;b"},
      {"a semicolon line is a comment", "[s]\n;k=1\n", "s", ";k", std::nullopt},
      {"an indented semicolon line is a comment", "[s]\n  ;k=1\n", "s", ";k", std::nullopt},
      {"a line without = is no key", "[s]\nk\n", "s", "k", std::nullopt},
      {"empty value is a value", "[s]\nk=\n", "s", "k", ""},
      {"= inside the value", "[s]\nk=a=b\n", "s", "k", "a=b"},
      {"first of duplicate keys", "[s]\nk=1\nK=2\n", "s", "k", "1"},
      {"first of duplicate sections", "[s]\nk=1\n[S]\nk=2\n", "s", "k", "1"},
      {"a key only in a later duplicate section", "[s]\na=1\n[s]\nk=2\n", "s", "k", std::nullopt},
      {"keys before any section belong to none", "k=1\n[s]\n", "s", "k", std::nullopt},
      {"a header without ] opens nothing", "[s]\nk=1\n[t\nk=2\n", "t", "k", std::nullopt},
      {"CR alone ends a line", "[s]\rk=1\rj=2\r", "s", "j", "2"},
      {"CRLF ends a line", "[s]\r\nk=1\r\n", "s", "k", "1"},
      {"last line without line end", "[s]\nk=1", "s", "k", "1"},
      {"a UTF-8 mark before the first section", "\xEF\xBB\xBF[s]\nk=1\n", "s", "k", "1"},
      {"missing section", "[s]\nk=1\n", "t", "k", std::nullopt},
      {"missing key", "[s]\nk=1\n", "s", "j", std::nullopt},
      {"value cut at 2047 bytes", "[s]\nk=" + longValue + "\n", "s", "k",
       longValue.substr(0, 2047)},
      {"bytes that are not ASCII pass through", "[s]\nk=\xe9\x81\xff\n", "s", "k", "\xe9\x81\xff"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(profile::Document::Parse(c.bytes).Value(c.section, c.key), c.expected);
  }
}

TEST(ProfileRules, IntegersAreDecimalOrLongHex) {
  const struct {
    const char* text;
    std::optional<int> expected;
  } cases[] = {
      {"1", 1},
      {"-5", -5},
      {"+7", 7},
      {"00012", 12},
      {"0x3", 3},
      {"0X1f", 31},
      {"0x7FFFFFFF", INT_MAX},
      {"0xFFFFFFFF", -1},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"0x", std::nullopt},
      {"0X", std::nullopt},
      {"0x100000000", std::nullopt},
      {"0xg", std::nullopt},
      {"0x-1", std::nullopt},
      {"-0x3", std::nullopt},
      {"2147483648", std::nullopt},
      {"abc", std::nullopt},
      {"12abc", std::nullopt},
      {"3.0", std::nullopt},
      {"", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"+-5", std::nullopt},
      {"1 2", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(profile::ParseProfileInteger(c.text), c.expected);
  }
}

struct WriteCase {
  const char* what;
  std::string before;
  const char* section;
  const char* key;
  std::string value;
  std::string after;
};

TEST(ProfileRules, WritingKeepsEveryOtherByte) {
  const WriteCase cases[] = {
      {"replaced in place with the file's spelling",
       "[Setting]\r\n  OutputFolder = c:\\ \r\n[x]\r\n", "setting", "outputfolder", "/v/",
       "[Setting]\r\nOutputFolder=/v/\r\n[x]\r\n"},
      {"new key after the section's last line, before its blank lines",
       "[a]\nx=1\n;note\n\n[b]\ny=2\n", "A", "z", "3", "[a]\nx=1\n;note\nz=3\n\n[b]\ny=2\n"},
      {"new key in a section that holds nothing", "[a]\n[b]\n", "a", "k", "v", "[a]\nk=v\n[b]\n"},
      {"new key in the last section without a line end", "[a]\nx=1", "a", "y", "2",
       "[a]\nx=1\ny=2\n"},
      {"new section at the end of the file", "[a]\r\nx=1\r\n", "s", "k", "v",
       "[a]\r\nx=1\r\n[s]\r\nk=v\r\n"},
      {"new section after a last line without line end", "[a]\nx=1", "s", "k", "v",
       "[a]\nx=1\n[s]\nk=v\n"},
      {"empty file", "", "s", "k", "v", "[s]\nk=v\n"},
      {"CR line ends are kept", "[a]\rx=1\r", "a", "y", "2", "[a]\rx=1\ry=2\r"},
      {"a line without line end replaced", "[a]\nx=1", "a", "x", "2", "[a]\nx=2"},
      {"only the first of duplicate keys changes", "[a]\nx=1\nx=2\n", "a", "x", "3",
       "[a]\nx=3\nx=2\n"},
      {"the first of duplicate sections gets the key", "[a]\nx=1\n[b]\n[a]\n", "a", "y", "2",
       "[a]\nx=1\ny=2\n[b]\n[a]\n"},
      {"comments and bytes before the first section stay",
       "\xEF\xBB\xBFjunk\n; \xe9t\xe9\n[a]\nk=1\n", "a", "k", "2",
       "\xEF\xBB\xBFjunk\n; \xe9t\xe9\n[a]\nk=2\n"},
      {"a value with blanks at its ends is quoted", "[a]\n", "a", "k", " x ", "[a]\nk=\" x \"\n"},
      {"a value in quotes is quoted again", "[a]\n", "a", "k", "'x'", "[a]\nk=\"'x'\"\n"},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string after = profile::SetValue(c.before, c.section, c.key, c.value);
    EXPECT_EQ(after, c.after);
    EXPECT_EQ(profile::Document::Parse(after).Value(c.section, c.key), c.value);
  }
}

TEST(ProfileRules, ValuesReadBackAsWritten) {
  const std::string values[] = {"",      " lead", "trail\t",  "\"q\"", "'q'",       "\"",
                                "a;b=c", "[x]",   "\xff\xfe", "c:\\",  "  \"x\"  ", "'"};
  std::string bytes = "[s]\nother=1\n";
  for (const std::string& value : values) {
    SCOPED_TRACE(value);
    bytes = profile::SetValue(bytes, "s", "k", value);
    const profile::Document doc = profile::Document::Parse(bytes);
    EXPECT_EQ(doc.Value("s", "k"), value);
    EXPECT_EQ(doc.Value("s", "other"), "1");
  }
  EXPECT_THROW(profile::SetValue(bytes, "s", "k", "two\nlines"), std::invalid_argument);
}

}  // namespace
