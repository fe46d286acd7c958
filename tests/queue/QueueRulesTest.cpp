// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>
#include <vector>

#include <gtest/gtest.h>

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
  const std::vector<std::string> filters = FilterTextToNameFilters(OpenDialogFilterText());
  ASSERT_EQ(filters.size(), 9);
  EXPECT_TRUE(filters[0].starts_with("Support files (*.avi *.mpg *.mpeg *.wmv *.asf *.avs"));
  EXPECT_EQ(filters[0].find("*.3gp"), std::string::npos);
  EXPECT_EQ(filters[1], "RM files (*.rm *.rmvb)");
  EXPECT_EQ(filters[2], "AVI files (*.avi)");
  EXPECT_EQ(filters[5], "Portable device files (*.3gp *.mp4 *.avs *.psp *.mkv)");
  // Qt's "*.*" would skip names without a dot; the group means every file.
  EXPECT_EQ(filters[8], "All files (*)");
  for (const std::string& filter : filters)
    EXPECT_EQ(filter.find(';'), std::string::npos) << filter;
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

}  // namespace
