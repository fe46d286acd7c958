// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EncoderProgress.h"
#include "tests/encoder/EncoderRun.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TempDir.h"

#include <signal.h>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

constexpr double kLongSeconds = 60.0;

// One long source shared by the tests here: it takes the encoder several
// seconds at the largest picture size.
class EncoderLongRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    MakeMedia(Source(), MediaKind::Avi, kLongSeconds, {}, {.width = 1280, .height = 720});
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::filesystem::path Source() { return *dir_ / "long.avi"; }
  static std::filesystem::path Out(const std::string& name) { return *dir_ / name; }
  static EncoderArgs SlowArgs(const std::string& out) {
    return EncoderArgs(Source(), Out(out))
        .Set("-s", "1408x1152")
        .Set("-b", "512k")
        .Set("-r", "29.97");
  }

  // Starts the encoder, waits until it has really converted for a second,
  // then asks it to stop; returns the exit code and how long the stop took.
  static std::pair<int, std::chrono::milliseconds> StopAfterOneSecond(
      const std::function<void(ChildProcess&)>& ask, const std::string& out) {
    ChildProcess child(SlowArgs(out).args);
    EXPECT_TRUE(child.WaitForOutput(
        [](const std::string& o) { return o.find("=ffmpeg_release_time") != std::string::npos; },
        60s));
    child.WaitForOutput([](const std::string&) { return false; }, 1s);
    EXPECT_TRUE(child.Running()) << "the source converted too fast for a stop test";
    const auto asked = ChildProcess::Clock::now();
    ask(child);
    auto code = child.Wait(10s);
    EXPECT_TRUE(code.has_value());
    return {code.value_or(-1),
            std::chrono::duration_cast<std::chrono::milliseconds>(child.EndedAt() - asked)};
  }

  static TempDir* dir_;
};

TempDir* EncoderLongRun::dir_ = nullptr;

double TimeValue(const std::string& line) {
  return std::stod(ExtractMarkedValue(line, "ffmpeg_release_time=", "=ffmpeg_release_time"));
}

}  // namespace

TEST_F(EncoderLongRun, markersReportDurationFirstThenRisingTimesOftenEnough) {
  auto result = RunEncoder(SlowArgs("markers.3gp"));
  ASSERT_EQ(0, result.exitCode) << result.err;
  ASSERT_FALSE(result.lines.empty());
  const auto& first = result.lines.front();
  ASSERT_NE(std::string::npos, first.text.find("ffmpeg_release_duration=")) << first.text;
  const std::string duration =
      ExtractMarkedValue(first.text, "ffmpeg_release_duration=", "=ffmpeg_release_duration");
  EXPECT_EQ(static_cast<int64_t>(kLongSeconds), ParseClockText(duration)) << duration;

  std::vector<ChildProcess::Line> times;
  for (const auto& line : result.lines) {
    if (line.text.find("ffmpeg_release_time=") == std::string::npos) continue;
    EXPECT_TRUE(line.text.starts_with("ffmpeg_release_time=") &&
                line.text.ends_with("=ffmpeg_release_time"))
        << line.text;
    times.push_back(line);
  }
  ASSERT_GE(times.size(), 3u);
  const auto span = times.back().arrived - times.front().arrived;
  ASSERT_GT(span, 2s) << "the conversion was too quick to judge the marker rate";
  for (size_t i = 1; i < times.size(); ++i) {
    EXPECT_GE(TimeValue(times[i].text), TimeValue(times[i - 1].text));
    EXPECT_LE(times[i].arrived - times[i - 1].arrived, 500ms) << "gap before " << times[i].text;
  }
  EXPECT_GT(TimeValue(times.back().text), TimeValue(times.front().text));
  EXPECT_NEAR(kLongSeconds, TimeValue(times.back().text), 0.5);
  // Markers come a few times a second, not once per frame.
  EXPECT_LT(times.size(), static_cast<size_t>(kLongSeconds * 29.97 / 2));
}

TEST_F(EncoderLongRun, quitOnInputOrSigtermEndsPromptlyWithAPlayableFile) {
  const std::pair<const char*, std::function<void(ChildProcess&)>> ways[] = {
      {"quit.3gp", [](ChildProcess& c) { c.WriteInput("some other text\nquit\n"); }},
      {"term.3gp", [](ChildProcess& c) { c.Signal(SIGTERM); }},
      {"int.3gp", [](ChildProcess& c) { c.Signal(SIGINT); }},
  };
  for (const auto& [name, ask] : ways) {
    SCOPED_TRACE(name);
    auto [code, took] = StopAfterOneSecond(ask, name);
    EXPECT_EQ(0, code);
    EXPECT_LT(took, 500ms);
    std::string error;
    auto info = ProbeMedia(Out(name), &error);
    ASSERT_TRUE(info) << error;
    EXPECT_GT(info->durationSeconds, 0.0);
    EXPECT_LT(info->durationSeconds, kLongSeconds - 1);
    EXPECT_EQ("mpeg4", info->videoCodec);
    EXPECT_EQ("aac", info->audioCodec);
  }
}

TEST_F(EncoderLongRun, endOfInputIsNoStop) {
  ChildProcess child(EncoderArgs(Source(), Out("eof.3gp")).args);
  child.CloseInput();
  auto code = child.Wait(120s);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(0, *code) << child.Error();
  auto info = ProbeMedia(Out("eof.3gp"));
  ASSERT_TRUE(info);
  EXPECT_NEAR(kLongSeconds, info->durationSeconds, 0.5);
}
