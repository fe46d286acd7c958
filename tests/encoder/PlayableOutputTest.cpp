// SPDX-License-Identifier: GPL-3.0-or-later
// What phones need of an output: a true level and buffer, every frame, the
// index first, and an upright, undistorted, uncombed picture.
#include "tests/encoder/EncoderRun.h"
#include "tests/encoder/OutputInspection.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TempDir.h"

extern "C" {
#include <libavformat/version.h>
}

#include <gtest/gtest.h>

namespace {

bool IndexFirst(const std::filesystem::path& file) {
  const auto boxes = TopLevelBoxes(file);
  const auto moov = std::find(boxes.begin(), boxes.end(), "moov");
  return moov != boxes.end() && std::find(boxes.begin(), moov, "mdat") == moov;
}

// Converts at 25 fps so each output frame matches a source frame.
std::string ConvertLuma(const std::filesystem::path& source, const std::string& size,
                        const std::string& rate = "512k") {
  const auto out = source.string() + ".3gp";
  auto result =
      RunEncoder(EncoderArgs(source, out).Set("-s", size).Set("-r", "25.00").Set("-b", rate));
  EXPECT_EQ(0, result.exitCode) << result.err;
  return DecodeLuma({"-i", out}, "");
}

}  // namespace

// Levels worked out by hand from the Simple Profile table: picture blocks,
// blocks per second and bit rate against levels 1, 2, 3, 4a, 5, 6.
TEST(EncoderPlayableOutput, eachSizeClaimsTheLowestLevelItMeetsAndItsBuffer) {
  TempDir dir;
  MakeMedia(dir / "two.mp4", MediaKind::Mp4, 2.0);
  const struct {
    const char *size, *rate, *bits;
    int level;
  } cases[] = {
      {"128x96", "7.00", "40k", 1},      {"128x160", "14.98", "40k", 1},
      {"176x144", "14.98", "40k", 1},    {"176x144", "14.98", "120k", 2},
      {"176x144", "29.97", "40k", 2},    {"320x240", "25.00", "256k", 3},
      {"352x288", "25.00", "120k", 3},   {"352x288", "14.98", "512k", 4},
      {"704x576", "25.00", "512k", 5},   {"704x576", "29.97", "512k", 6},
      {"1408x1152", "14.98", "120k", 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.size) + " " + c.rate + " " + c.bits);
    const auto out = dir / (std::string(c.size) + c.rate + c.bits + ".3gp");
    auto result = RunEncoder(
        EncoderArgs(dir / "two.mp4", out).Set("-s", c.size).Set("-r", c.rate).Set("-b", c.bits));
    ASSERT_EQ(0, result.exitCode) << result.err;
    const VideoHeader header = ReadVideoHeader(out);
    EXPECT_EQ(c.level, header.profileLevel);
    EXPECT_GT(header.bufferBytes, 0);
    EXPECT_GE(header.maxBitRate, std::stod(c.bits) * 1000);
    EXPECT_TRUE(IndexFirst(out));
  }
}

TEST(EncoderPlayableOutput, everySourceFrameBecomesAnOutputFrame) {
  TempDir dir;
  for (int frames : {1, 2, 3}) {
    const auto source = dir / (std::to_string(frames) + ".avi");
    MakeMedia(source, MediaKind::Avi, (frames - 0.5) / 7, {.audio = false}, {.frameRate = 7});
    auto result = RunEncoder(EncoderArgs(source, source.string() + ".3gp").Set("-r", "7.00"));
    ASSERT_EQ(0, result.exitCode) << result.err;
    auto info = ProbeMedia(source.string() + ".3gp");
    ASSERT_TRUE(info);
    EXPECT_EQ(frames, info->videoFrames);
  }
}

// Stored turned a quarter counter-clockwise; ffmpeg's own autorotation shows
// it upright with rotate=270 (its rotate=90 turns the other way): a display
// matrix of -90 degrees.
TEST(EncoderPlayableOutput, aTurnedClipComesOutUpright) {
  TempDir dir;
  MakeMediaWith(dir / "stored.mp4", 2.0, {.audio = false}, {},
                {"-vf", "transpose=cclock", "-c:v", "libx264", "-pix_fmt", "yuv420p"});
  // FFmpeg 7 takes the turn as an input option, in counter-clockwise degrees.
#if LIBAVFORMAT_VERSION_MAJOR >= 61
  std::vector<std::string> argv = {"-display_rotation:v",         "270", "-i",
                                   (dir / "stored.mp4").string(), "-c",  "copy"};
#else
  std::vector<std::string> argv = {
      "-i", (dir / "stored.mp4").string(), "-c", "copy", "-metadata:s:v", "rotate=270"};
#endif
  argv.insert(argv.begin(), {"ffmpeg", "-nostdin", "-v", "error"});
  argv.push_back((dir / "turned.mp4").string());
  ASSERT_EQ(0, RunCommand(argv, std::chrono::seconds(60)));
  const std::string upright = DecodeLuma({"-noautorotate", "-i", (dir / "turned.mp4").string()},
                                         "transpose=clock,scale=176:144");
  EXPECT_GT(Psnr(ConvertLuma(dir / "turned.mp4", "176x144"), upright), 25);
}

TEST(EncoderPlayableOutput, aWidePictureGetsBarsAndSquarePixelsAFourByThreeNone) {
  TempDir dir;
  MakeMedia(dir / "wide.avi", MediaKind::Avi, 1.0, {}, {.width = 640, .height = 360});
  MakeMedia(dir / "tv.avi", MediaKind::Avi, 1.0, {}, {.width = 320, .height = 240});
  const std::string wide = ConvertLuma(dir / "wide.avi", "176x144");
  const std::string tv = ConvertLuma(dir / "tv.avi", "176x144");
  // 176 / (16/9) = 99 lines of picture: 22 black ones above and below.
  EXPECT_LT(RowsMean(wide, 176, 0, 20), 20);
  EXPECT_LT(RowsMean(wide, 176, 124, 144), 20);
  EXPECT_GT(RowsMean(wide, 176, 30, 114), 40);
  EXPECT_GT(RowsMean(tv, 176, 0, 4), 40);
  EXPECT_GT(RowsMean(tv, 176, 140, 144), 40);
  for (const char* name : {"wide.avi.3gp", "tv.avi.3gp"}) {
    const VideoHeader header = ReadVideoHeader(dir / name);
    EXPECT_EQ(header.aspectNum, header.aspectDen) << name;
  }
}

// Fields from 50 pictures a second woven into 25 frames comb wherever the
// picture moves unless they are joined first.
TEST(EncoderPlayableOutput, anInterlacedSourceComesOutWithoutCombing) {
  TempDir dir;
  const std::vector<std::string> mpeg2 = {"-c:v", "mpeg2video", "-b:v", "8M"};
  auto woven = mpeg2;
  woven.insert(woven.begin(), {"-vf", "tinterlace=interleave_top,setfield=tff", "-flags",
                               "+ilme+ildct", "-top", "1"});
  MakeMediaWith(dir / "fields.mpg", 2.0, {.audio = false},
                {.width = 704, .height = 576, .frameRate = 50}, woven);
  MakeMediaWith(dir / "frames.mpg", 2.0, {.audio = false}, {.width = 704, .height = 576}, mpeg2);
  const double fields = CombMeasure(ConvertLuma(dir / "fields.mpg", "704x576"), 704);
  const double frames = CombMeasure(ConvertLuma(dir / "frames.mpg", "704x576"), 704);
  EXPECT_LT(fields, frames * 1.3);
}

// Every size up to 352x288 keeps the average within 15% of the asked rate,
// also where the picture is too small or too still to need it.
TEST(EncoderPlayableOutput, smallSizesHoldTheAverageRateAtEveryFrameRate) {
  TempDir dir;
  MakeMedia(dir / "six.avi", MediaKind::Avi, 6.0, {.audio = false}, {.width = 640, .height = 480});
  for (const char* size : {"128x96", "128x160", "176x144", "320x240", "352x288"}) {
    for (const char* rate : {"7.00", "29.97"}) {
      for (const char* bits : {"40k", "512k"}) {
        SCOPED_TRACE(std::string(size) + " " + rate + " " + bits);
        const auto out = dir / "rate.3gp";
        auto result = RunEncoder(
            EncoderArgs(dir / "six.avi", out).Set("-s", size).Set("-r", rate).Set("-b", bits));
        ASSERT_EQ(0, result.exitCode) << result.err;
        auto info = ProbeMedia(out);
        ASSERT_TRUE(info);
        EXPECT_NEAR(1.0, info->videoBytes * 8.0 / info->durationSeconds / (std::stod(bits) * 1000),
                    0.15);
      }
    }
  }
}
