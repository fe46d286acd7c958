// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/TypedFileNames.h"

namespace {

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
