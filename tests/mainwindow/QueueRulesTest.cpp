// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/TypedFileNames.h"
#include "queue/FolderScan.h"
#include "queue/QueueRules.h"

namespace {

struct PathCase {
  const char* path;
  bool accepted;
};

class ExtensionRule : public ::testing::TestWithParam<PathCase> {};

TEST_P(ExtensionRule, substringSearchOnTheLowerCasedLastExtension) {
  EXPECT_EQ(IsSupportedPath(GetParam().path), GetParam().accepted) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ExtensionRule,
    ::testing::Values(PathCase{"/v/Movie.AVI", true}, PathCase{"/v/clip.3gp", true},
                      PathCase{"/v/my.trip.MpEg", true}, PathCase{"/v/a.mp", true},
                      PathCase{"/v/a.rmv", true}, PathCase{"/v/a.3g", true},
                      PathCase{"/v/a.m", true}, PathCase{"/v/a.avs", false},
                      PathCase{"/v/a.psp", false}, PathCase{"/v/a.txt", false},
                      PathCase{"/v/clip", false}, PathCase{"/v.d/clip", false},
                      PathCase{"/v.avi/clip", false}, PathCase{"", false},
                      PathCase{"/v/a.avi;", true}, PathCase{"/v/a.MKV", true}));

TEST(OpenDialogFilter, nineGroupsInOrderWithQtPatterns) {
  const QStringList filters = FilterTextToNameFilters(OpenDialogFilterText());
  ASSERT_EQ(filters.size(), 9);
  EXPECT_TRUE(filters[0].startsWith("Support files (*.avi *.mpg *.mpeg *.wmv *.asf *.avs"));
  EXPECT_FALSE(filters[0].contains("*.3gp"));
  EXPECT_EQ(filters[1], "RM files (*.rm *.rmvb)");
  EXPECT_EQ(filters[2], "AVI files (*.avi)");
  EXPECT_EQ(filters[5], "Portable device files (*.3gp *.mp4 *.avs *.psp *.mkv)");
  // Qt's "*.*" would skip names without a dot; the group means every file.
  EXPECT_EQ(filters[8], "All files (*)");
  for (const QString& filter : filters) EXPECT_FALSE(filter.contains(';')) << filter.toStdString();
}

struct WildcardCase {
  const char* pattern;
  const char* name;
  bool matches;
};

class Wildcards : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(Wildcards, windowsRules) {
  EXPECT_EQ(WildcardMatch(GetParam().pattern, GetParam().name), GetParam().matches)
      << GetParam().pattern << " ~ " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, Wildcards,
    ::testing::Values(WildcardCase{"*.*", "clip.avi", true}, WildcardCase{"*.*", "2008", true},
                      WildcardCase{"*.*", ".hidden", true}, WildcardCase{"*.avi", "CLIP.AVI", true},
                      WildcardCase{"*.avi", "2008", false},
                      WildcardCase{"*.avi", "a.avi.txt", false},
                      WildcardCase{"*.avi", "a.b.avi", true}, WildcardCase{"*.a?i", "x.avi", true},
                      WildcardCase{"*.mp*", "x.mpeg", true}, WildcardCase{"*.mp*", "x.mkv", false},
                      WildcardCase{"*.", "README", true}, WildcardCase{"*.", "a.txt", false}));

TEST(TypedFileNames, splitLikeTheDialogQuotesASelection) {
  const std::pair<QString, QStringList> cases[] = {
      {"  clip.avi ", {"clip.avi"}},
      {"a\"b.avi", {"a\"b.avi"}},
      {"\"a.avi\" \"b c.avi\"", {"a.avi", "b c.avi"}},
      {"\"say \"hi\".avi\" \"x.avi\"", {"say \"hi\".avi", "x.avi"}},
      {"\"quoted\".avi", {"\"quoted\".avi"}},
      {"", {}},
  };
  for (const auto& [text, names] : cases)
    EXPECT_EQ(SplitTypedFileNames(text), names) << text.toStdString();
}

}  // namespace
