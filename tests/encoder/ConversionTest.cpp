// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/encoder/EncoderRun.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

constexpr double kSourceSeconds = 2.0;

// The length of a made file as FFmpeg reads it, which may differ from the one
// asked for; that one only where the container keeps no length (SWF).
double SourceSeconds(const std::filesystem::path& source, double made) {
  std::string error;
  auto info = ProbeMedia(source, &error);
  EXPECT_TRUE(info) << source << ": " << error;
  return info && info->durationSeconds > 0 ? info->durationSeconds : made;
}

// A file the converter's defaults should give, with the source's length.
void ExpectDefaultOutput(const std::filesystem::path& out, double seconds, bool video, bool audio) {
  std::string error;
  auto info = ProbeMedia(out, &error);
  ASSERT_TRUE(info) << out << ": " << error;
  EXPECT_NE(std::string::npos, info->formatName.find("3gp")) << info->formatName;
  EXPECT_NEAR(seconds, info->durationSeconds, 0.5) << out;
  if (video) {
    EXPECT_EQ("mpeg4", info->videoCodec) << out;
    EXPECT_EQ(176, info->width);
    EXPECT_EQ(144, info->height);
    EXPECT_NEAR(14.98, info->frameRate, 0.01) << out;
    EXPECT_GT(info->videoFrames, 0);
  } else {
    EXPECT_EQ("", info->videoCodec) << out;
  }
  if (audio) {
    EXPECT_EQ("aac", info->audioCodec) << out;
    EXPECT_EQ("LC", info->audioProfile);
    EXPECT_EQ(16000, info->sampleRate);
    EXPECT_EQ(2, info->channels);
    EXPECT_GT(info->audioPackets, 0);
  } else {
    EXPECT_EQ("", info->audioCodec) << out;
  }
}

}  // namespace

TEST(EncoderConversion, everySourceKindConvertsWithTheDefaults) {
  TempDir dir;
  for (MediaKind kind : AllMediaKinds()) {
    const auto source = dir / ("clip" + MediaExtension(kind));
    const auto out = dir / ("clip" + MediaExtension(kind) + ".3gp");
    SCOPED_TRACE(source.string());
    MakeMedia(source, kind, kSourceSeconds);
    WriteFileBytes(out, "placeh");  // the converter leaves a placeholder there first
    auto result = RunEncoder(EncoderArgs(source, out));
    ASSERT_EQ(0, result.exitCode) << result.err;
    ExpectDefaultOutput(out, SourceSeconds(source, kSourceSeconds), true, true);
  }
}

TEST(EncoderConversion, aMissingStreamIsLeftOutOfTheOutput) {
  TempDir dir;
  MakeMedia(dir / "silent.avi", MediaKind::Avi, kSourceSeconds, {.video = true, .audio = false});
  MakeMedia(dir / "sound.mkv", MediaKind::Mkv, kSourceSeconds, {.video = false, .audio = true});
  auto silent = RunEncoder(EncoderArgs(dir / "silent.avi", dir / "silent.3gp"));
  ASSERT_EQ(0, silent.exitCode) << silent.err;
  ExpectDefaultOutput(dir / "silent.3gp", SourceSeconds(dir / "silent.avi", kSourceSeconds), true,
                      false);
  auto sound = RunEncoder(EncoderArgs(dir / "sound.mkv", dir / "sound.3gp"));
  ASSERT_EQ(0, sound.exitCode) << sound.err;
  ExpectDefaultOutput(dir / "sound.3gp", SourceSeconds(dir / "sound.mkv", kSourceSeconds), false,
                      true);
}

// Joined recordings can change the sound's rate and channels midway; the
// output still holds all of it, at the chosen rate.
TEST(EncoderConversion, soundThatChangesItsFormatMidwayIsConvertedWhole) {
  TempDir dir;
  const std::vector<std::string> ts = {"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "mpegts"};
  std::vector<std::string> later = {"-output_ts_offset", "2"};
  later.insert(later.end(), ts.begin(), ts.end());
  MakeMediaWith(dir / "a.ts", 2.0, {}, {.sampleRate = 44100, .channels = 2}, ts);
  MakeMediaWith(dir / "b.ts", 2.0, {}, {.sampleRate = 22050, .channels = 1}, later);
  // MPEG-TS files join by plain concatenation, as FFmpeg's concat protocol does.
  const auto source = dir / "joined.ts";
  WriteFileBytes(source, ReadFileBytes(dir / "a.ts") + ReadFileBytes(dir / "b.ts"));
  const auto out = dir / "joined.3gp";
  auto result = RunEncoder(EncoderArgs(source, out));
  ASSERT_EQ(0, result.exitCode) << result.err;
  const double seconds = SourceSeconds(source, 4.0);
  ExpectDefaultOutput(out, seconds, true, true);
  auto info = ProbeMedia(out);
  ASSERT_TRUE(info);
  // Each AAC packet holds 1024 samples.
  EXPECT_NEAR(seconds, info->audioPackets * 1024.0 / info->sampleRate, 0.25);
}

// Each value of each choice list, one at a time with the others at default.
TEST(EncoderConversion, everyTableValueGivesAFileWithThatProperty) {
  TempDir dir;
  const auto source = dir / "one.mp4";
  MakeMedia(source, MediaKind::Mp4, 1.0);
  const double seconds = SourceSeconds(source, 1.0);
  struct Case {
    const char* option;
    const char* value;
    std::function<void(const MediaInfo&)> check;
  };
  auto size = [](int w, int h) {
    return [w, h](const MediaInfo& i) {
      EXPECT_EQ(w, i.width);
      EXPECT_EQ(h, i.height);
    };
  };
  auto rate = [](double fps) {
    return [fps](const MediaInfo& i) { EXPECT_NEAR(fps, i.frameRate, 0.01); };
  };
  auto any = [](const MediaInfo& i) { EXPECT_EQ("aac", i.audioCodec); };
  std::vector<Case> cases = {
      {"-s", "128x96", size(128, 96)},
      {"-s", "128x160", size(128, 160)},
      {"-s", "176x144", size(176, 144)},
      {"-s", "320x240", size(320, 240)},
      {"-s", "352x288", size(352, 288)},
      {"-s", "704x576", size(704, 576)},
      {"-s", "1408x1152", size(1408, 1152)},
      {"-r", "7.00", rate(7)},
      {"-r", "14.98", rate(14.98)},
      {"-r", "23.98", rate(23.98)},
      {"-r", "25.00", rate(25)},
      {"-r", "29.97", rate(29.97)},
      {"-ar", "8000", [](const MediaInfo& i) { EXPECT_EQ(8000, i.sampleRate); }},
      {"-ar", "16000", [](const MediaInfo& i) { EXPECT_EQ(16000, i.sampleRate); }},
      {"-ac", "1", [](const MediaInfo& i) { EXPECT_EQ(1, i.channels); }},
      {"-ac", "2", [](const MediaInfo& i) { EXPECT_EQ(2, i.channels); }},
  };
  for (const char* b : {"40k", "80k", "120k", "256k", "512k"}) cases.push_back({"-b", b, any});
  for (const char* ab : {"4.75k", "5.15k", "5.9k", "6.7k", "7.4k", "7.95k", "10.2k", "12.2k"})
    cases.push_back({"-ab", ab, any});
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.option) + " " + c.value);
    const auto out = dir / ("out" + std::to_string(n++) + ".3gp");
    auto result = RunEncoder(EncoderArgs(source, out).Set(c.option, c.value));
    ASSERT_EQ(0, result.exitCode) << result.err;
    auto info = ProbeMedia(out);
    ASSERT_TRUE(info);
    EXPECT_EQ("mpeg4", info->videoCodec);
    EXPECT_EQ("aac", info->audioCodec);
    EXPECT_NEAR(seconds, info->durationSeconds, 0.5);
    c.check(*info);
  }
}

// The bit rate holds on average once the rate control has had time to settle.
TEST(EncoderConversion, videoBitRateStaysNearTheChosenOne) {
  TempDir dir;
  const auto source = dir / "ten.avi";
  MakeMedia(source, MediaKind::Avi, 10.0, {}, {.width = 640, .height = 480});
  for (const char* b : {"80k", "120k", "256k"}) {
    SCOPED_TRACE(b);
    const auto out = dir / (std::string(b) + ".3gp");
    auto result = RunEncoder(EncoderArgs(source, out).Set("-b", b));
    ASSERT_EQ(0, result.exitCode) << result.err;
    auto info = ProbeMedia(out);
    ASSERT_TRUE(info);
    const double wanted = std::stod(b) * 1000;
    const double got = info->videoBytes * 8.0 / info->durationSeconds;
    EXPECT_NEAR(1.0, got / wanted, 0.15) << got;
  }
}

TEST(EncoderConversion, awkwardPathsWorkAsSourceAndOutput) {
  TempDir dir;
  const std::string names[] = {"with blanks",
                               "quote's \"double\"",
                               "dollar $HOME $(x)",
                               "Grüße ビデオ",
                               std::string("latin1 \xe9\xff byte"),
                               "-dash"};
  MakeMedia(dir / "plain.avi", MediaKind::Avi, 1.0);
  for (const auto& name : names) {
    SCOPED_TRACE(name);
    std::filesystem::create_directory(dir / name);
    const auto source = dir / name / (name + ".avi");
    const auto out = dir / name / (name + ".3gp");
    std::filesystem::copy_file(dir / "plain.avi", source);
    auto result = RunEncoder(EncoderArgs(source, out));
    ASSERT_EQ(0, result.exitCode) << result.err;
    auto info = ProbeMedia(out);
    ASSERT_TRUE(info);
    EXPECT_EQ("mpeg4", info->videoCodec);
  }
}
