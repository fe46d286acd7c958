// SPDX-License-Identifier: GPL-3.0-or-later
#include <clocale>
#include <string>

#include <gtest/gtest.h>

#include "engine/CommandLine.h"
#include "engine/ConversionSettings.h"

namespace {

ConversionSettings Defaults() {
  return MakeConversionSettings(ChoiceDefaultIndex(ConversionChoice::VideoSize),
                                ChoiceDefaultIndex(ConversionChoice::VideoBitrate),
                                ChoiceDefaultIndex(ConversionChoice::FrameRate),
                                ChoiceDefaultIndex(ConversionChoice::AudioBitrate),
                                ChoiceDefaultIndex(ConversionChoice::SampleRate),
                                ChoiceDefaultIndex(ConversionChoice::Channels));
}

TEST(CommandLine, DefaultsGiveTheExampleCommand) {
  EXPECT_EQ(BuildCommandLine("/opt/velbrin/", Defaults(), "/home/ann/video/clip.avi",
                             "/home/ann/out/clip.3gp"),
            "/opt/velbrin/libm9s -i /home/ann/video/clip.avi  -vcodec mpeg4 -acodec libfaac -f 3gp "
            "-b 120k -r 14.98 -s 176x144 -ar 16000 -ab 12.2k -ac 2 -y /home/ann/out/clip.3gp");
}

TEST(CommandLine, EmptySourceLeavesThreeBlanks) {
  const std::string command = BuildCommandLine("/opt/velbrin/", Defaults(), "", "/o/a.3gp");
  EXPECT_NE(command.find("/opt/velbrin/libm9s -i   -vcodec mpeg4 "), std::string::npos) << command;
}

TEST(CommandLine, LastAndFirstIndexOfEveryTable) {
  const ConversionSettings last = MakeConversionSettings(6, 4, 4, 7, 1, 1);
  EXPECT_EQ(BuildCommandLine("/p/", last, "/s.avi", "/o.3gp"),
            "/p/libm9s -i /s.avi  -vcodec mpeg4 -acodec libfaac -f 3gp -b 512k -r 29.97 "
            "-s 1408x1152 -ar 16000 -ab 12.2k -ac 2 -y /o.3gp");
  const ConversionSettings first = MakeConversionSettings(0, 0, 0, 0, 0, 0);
  EXPECT_EQ(BuildCommandLine("/p/", first, "/s.avi", "/o.3gp"),
            "/p/libm9s -i /s.avi  -vcodec mpeg4 -acodec libfaac -f 3gp -b 40k -r 7.00 "
            "-s 128x96 -ar 8000 -ab 4.75k -ac 1 -y /o.3gp");
}

TEST(CommandLine, IndexOutsideItsTableTakesTheDefault) {
  const ConversionSettings odd = MakeConversionSettings(-1, 5, 99, 8, -1, 2);
  const ConversionSettings defaults = Defaults();
  EXPECT_EQ(odd.VideoSize, defaults.VideoSize);
  EXPECT_EQ(odd.VideoBitrate, defaults.VideoBitrate);
  EXPECT_EQ(odd.FrameRate, defaults.FrameRate);
  EXPECT_EQ(odd.AudioBitrate, defaults.AudioBitrate);
  EXPECT_EQ(odd.SampleRate, defaults.SampleRate);
  EXPECT_EQ(odd.Channels, defaults.Channels);
}

TEST(CommandLine, ListsShowTheirItemTextsAndDefaults) {
  const struct {
    ConversionChoice choice;
    size_t count;
    const char* defaultText;
  } cases[] = {
      {ConversionChoice::VideoSize, 7, "176x144"}, {ConversionChoice::VideoBitrate, 5, "120k"},
      {ConversionChoice::FrameRate, 5, "14.985"},  {ConversionChoice::AudioBitrate, 8, "12.2K"},
      {ConversionChoice::SampleRate, 2, "16000"},  {ConversionChoice::Channels, 2, "2 - Stereo"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.defaultText);
    const auto& items = ChoiceItemTexts(c.choice);
    ASSERT_EQ(items.size(), c.count);
    EXPECT_EQ(items[static_cast<size_t>(ChoiceDefaultIndex(c.choice))], c.defaultText);
  }
}

TEST(CommandLine, FrameRatesPrintTwoDecimalsHalfUpOfTheStoredValue) {
  const char* expected[] = {"7.00", "14.98", "23.98", "25.00", "29.97"};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const ConversionSettings settings = MakeConversionSettings(2, 2, i, 7, 1, 1);
    EXPECT_EQ(FormatFrameRate(settings.FrameRate), expected[i]);
    EXPECT_NE(BuildCommandLine("/p/", settings, "/s", "/o")
                  .find(std::string(" -r ") + expected[i] + " -s "),
              std::string::npos);
  }
  const struct {
    double value;
    const char* text;
  } more[] = {
      {0.0, "0.00"},    {0.125, "0.13"}, {0.005, "0.01"},           {1.005, "1.00"},
      {2.675, "2.67"},  {9.995, "9.99"}, {999.999, "1000.00"},      {-1.5, "-1.50"},
      {-0.001, "0.00"}, {1e-9, "0.00"},  {123456.785, "123456.79"}, {0.994999, "0.99"},
  };
  for (const auto& c : more) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatFrameRate(c.value), c.text);
  }
}

TEST(CommandLine, NumbersIgnoreTheLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  bool comma = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
    if (std::setlocale(LC_ALL, name)) {
      comma = true;
      break;
    }
  const ConversionSettings settings = MakeConversionSettings(2, 2, 2, 0, 1, 1);
  EXPECT_EQ(settings.FrameRate, 23.975);
  const std::string command = BuildCommandLine("/p/", settings, "/s", "/o");
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_NE(command.find(" -r 23.98 "), std::string::npos) << command;
  EXPECT_NE(command.find(" -ab 4.75k "), std::string::npos) << command;
  RecordProperty("decimalCommaLocale", comma ? "yes" : "none installed");
}

}  // namespace
