// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

#include "platform/SystemError.h"
#include "ui/PathText.h"

namespace {

TEST(PathText, EveryByteSequenceSurvivesTheRoundTrip) {
  const std::string samples[] = {
      "/home/ann/clip.avi",
      "/v/caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac.avi",  // valid UTF-8
      "/v/\xf0\x9f\x8e\xac.avi",                      // outside the BMP
      "/v/caf\xe9.avi",                               // Latin-1
      "/v/\x93\xfa\x96\x7b.avi",                      // Shift_JIS
      "/v/\xc3",                                      // cut sequence at the end
      "/v/\xc0\xaf",                                  // overlong '/'
      "/v/\xed\xa0\x80\xed\xb0\x80",                  // surrogates written as UTF-8
      "/v/\xf4\x90\x80\x80",                          // beyond U+10FFFF
      "/v/\xf0\x9f\x8e\xac\xff",                      // escape right after a pair
      std::string("/v/nul\0byte", 11),
  };
  for (const std::string& bytes : samples) {
    SCOPED_TRACE(bytes);
    EXPECT_EQ(TextToPath(PathToText(bytes)), bytes);
  }
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(TextToPath(PathToText(all)), all);
}

TEST(PathText, ValidUtf8ShowsAsItsCharacters) {
  EXPECT_EQ(PathToText("/v/caf\xc3\xa9"), QString::fromUtf8("/v/caf\xc3\xa9"));
  EXPECT_EQ(PathToText("/v/\xf0\x9f\x8e\xac"), QString::fromUtf8("/v/\xf0\x9f\x8e\xac"));
  EXPECT_EQ(TextToPath(QString::fromUtf8("/v/\xe6\x97\xa5")), "/v/\xe6\x97\xa5");
  EXPECT_EQ(PathToText("\xff").size(), 1);
}

TEST(Errors, TextsOfTheStandardErrors) {
  EXPECT_EQ(std::string(SystemError(ENOENT).what()),
            "System Error.  Code: 2.\nNo such file or directory");
  EXPECT_EQ(SystemError(EACCES).code().value(), EACCES);
  EXPECT_EQ(std::string(ConvertError("abc").what()), "'abc' is not a valid integer value");
  EXPECT_EQ(std::string(WriteError("/p/config.ini").what()), "Unable to write to /p/config.ini");
  errno = ENOTDIR;
  try {
    RaiseLastOSError();
  } catch (const SystemError& error) {
    EXPECT_EQ(error.code().value(), ENOTDIR);
  }
  // Callers that know only the standard type see the code and the same text.
  try {
    RaiseOSError(EACCES);
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code(), std::error_code(EACCES, std::system_category()));
    EXPECT_STREQ(error.what(), "System Error.  Code: 13.\nPermission denied");
  }
  EXPECT_STREQ(SystemError(0).what(), "A call to an OS function failed");
}

}  // namespace
