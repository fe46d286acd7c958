// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/Options.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Command(std::vector<std::string> extra = {}) {
  std::vector<std::string> args = {"-i",  "in.avi",  "-vcodec", "mpeg4",  "-acodec", "libfaac",
                                   "-f",  "3gp",     "-b",      "120k",   "-r",      "14.98",
                                   "-s",  "176x144", "-ar",     "16000",  "-ab",     "12.2k",
                                   "-ac", "2",       "-y",      "out.3gp"};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

}  // namespace

TEST(EncoderOptions, bitRatesWithDecimalsAndSuffixesAreExact) {
  const std::pair<const char*, int64_t> cases[] = {
      {"4.75k", 4750},  {"5.15k", 5150},   {"5.9k", 5900},   {"6.7k", 6700}, {"7.4k", 7400},
      {"7.95k", 7950},  {"10.2k", 10200},  {"12.2k", 12200}, {"40k", 40000}, {"120k", 120000},
      {"512K", 512000}, {"1.5M", 1500000}, {"64000", 64000}, {"0.0015k", 2}};
  for (auto [text, bits] : cases) EXPECT_EQ(bits, ParseBitRate(text)) << text;
  // The last two have the most digits a rate may have: no overflow while rounding.
  for (const char* bad : {"", "k", "12.2.2k", "-5k", "12,2k", "abc", "1e3", "12kk", " 12k",
                          "922337203685477.1807", "9223372036.854775k"})
    EXPECT_FALSE(ParseBitRate(bad)) << bad;
}

TEST(EncoderOptions, frameRatesBecomeExactFractions) {
  const std::tuple<const char*, int, int> cases[] = {{"7.00", 7, 1},       {"14.98", 749, 50},
                                                     {"23.98", 1199, 50},  {"25.00", 25, 1},
                                                     {"29.97", 2997, 100}, {"14.985", 2997, 200}};
  for (auto [text, num, den] : cases) {
    auto rate = ParseFrameRate(text);
    ASSERT_TRUE(rate) << text;
    EXPECT_EQ(num, rate->num) << text;
    EXPECT_EQ(den, rate->den) << text;
  }
  for (const char* bad : {"abc", "0", "0.00", "", ".", "-25", "121", "25fps"})
    EXPECT_FALSE(ParseFrameRate(bad)) << bad;
}

TEST(EncoderOptions, sizesNeedTwoEvenSidesInRange) {
  for (const char* good :
       {"128x96", "128x160", "176x144", "320x240", "352x288", "704x576", "1408x1152"})
    EXPECT_TRUE(ParseSize(good)) << good;
  for (const char* bad : {"0x0", "176x", "x144", "177x144", "176*144", "8192x8192", "-2x2", ""})
    EXPECT_FALSE(ParseSize(bad)) << bad;
}

TEST(EncoderOptions, optionsComeInAnyOrderAndTheTemplateIsUnderstood) {
  auto parsed = ParseOptions(Command());
  ASSERT_EQ("", parsed.error);
  EXPECT_EQ("in.avi", parsed.options.source);
  EXPECT_EQ("out.3gp", parsed.options.output);
  EXPECT_EQ(12200, parsed.options.audioBitRate);
  EXPECT_EQ(749, parsed.options.frameRate.num);

  auto reordered = ParseOptions({"-y", "o.3gp", "-ac", "1", "-s", "320x240", "-i", "-odd name",
                                 "-ar", "8000", "-ab", "4.75k", "-b", "40k", "-r", "7"});
  ASSERT_EQ("", reordered.error);
  EXPECT_EQ("-odd name", reordered.options.source);
  EXPECT_EQ(1, reordered.options.channels);
  EXPECT_EQ(320, reordered.options.width);
  EXPECT_EQ(8000, reordered.options.sampleRate);
  EXPECT_EQ(4750, reordered.options.audioBitRate);
  EXPECT_TRUE(ParseOptions({"-h"}).options.help);
}

TEST(EncoderOptions, unusableCommandLinesAreRefusedWithAReason) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {Command({"-x", "1"}), "unknown option '-x'"},
      {Command({"stray"}), "unexpected argument 'stray'"},
      {Command({"-s", "0x0"}), "-s"},
      {Command({"-r", "abc"}), "-r"},
      {Command({"-ac", "3"}), "-ac"},
      {Command({"-vcodec", "h264"}), "mpeg4"},
      {Command({"-f", "mp4"}), "3gp"},
      {Command({"-b"}), "missing value for -b"},
      {{"-i", "-vcodec", "mpeg4", "-y", "o.3gp"}, "empty source path"},
      {{"-i", "", "-y", "o.3gp"}, "empty source path"},
      {{"-i", "a.avi"}, "no output"},
      {{"-y", "o.3gp"}, "no source"},
  };
  for (const auto& [args, reason] : cases) {
    auto parsed = ParseOptions(args);
    EXPECT_NE(std::string::npos, parsed.error.find(reason)) << parsed.error << " / " << reason;
  }
}
