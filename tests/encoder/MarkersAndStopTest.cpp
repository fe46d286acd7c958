// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EncoderProgress.h"
#include "engine/MarkerProtocol.h"
#include "tests/encoder/EncoderRun.h"
#include "tests/encoder/OutputInspection.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

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
  return std::stod(ExtractMarkedValue(line, kTimeMarkerOpen, kTimeMarkerClose));
}

// What the kernel shows of a process in /proc.
std::string ProcText(pid_t pid, const std::string& name) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/" + name);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// 'S' while the main thread sleeps in a blocking call.
char MainThreadState(pid_t pid) {
  const std::string stat = ProcText(pid, "stat");
  const size_t paren = stat.rfind(')');
  return paren != std::string::npos && paren + 2 < stat.size() ? stat[paren + 2] : '?';
}

bool SignalPending(pid_t pid, int signal) {
  const std::string status = ProcText(pid, "status");
  const size_t at = status.find("ShdPnd:");
  return at != std::string::npos &&
         ((std::stoull(status.substr(at + 7), nullptr, 16) >> (signal - 1)) & 1) != 0;
}

size_t ThreadCount(pid_t pid) {
  std::error_code error;
  auto tasks = std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error);
  return error ? 0 : static_cast<size_t>(std::distance(begin(tasks), end(tasks)));
}

struct WriteEnd {
  int fd = -1;
  ~WriteEnd() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

TEST_F(EncoderLongRun, markersReportDurationFirstThenRisingTimesOftenEnough) {
  auto result = RunEncoder(SlowArgs("markers.3gp"));
  ASSERT_EQ(0, result.exitCode) << result.err;
  ASSERT_FALSE(result.lines.empty());
  const auto& first = result.lines.front();
  ASSERT_NE(std::string::npos, first.text.find("ffmpeg_release_duration=")) << first.text;
  const std::string duration =
      ExtractMarkedValue(first.text, kDurationMarkerOpen, kDurationMarkerClose);
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
    // Markers come every 250 ms of encoding; the bound leaves room for a busy machine.
    EXPECT_LE(times[i].arrived - times[i - 1].arrived, 1s) << "gap before " << times[i].text;
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
    EXPECT_LT(took, 1s);
    std::string error;
    auto info = ProbeMedia(Out(name), &error);
    ASSERT_TRUE(info) << error;
    EXPECT_GT(info->durationSeconds, 0.0);
    EXPECT_LT(info->durationSeconds, kLongSeconds - 1);
    EXPECT_EQ("mpeg4", info->videoCodec);
    EXPECT_EQ("aac", info->audioCodec);
    const auto boxes = TopLevelBoxes(Out(name));
    EXPECT_LT(std::find(boxes.begin(), boxes.end(), "moov"),
              std::find(boxes.begin(), boxes.end(), "mdat"));
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

// A signal after the first request ends the encoder at once, even when the
// orderly stop cannot finish: here the source is a pipe that never delivers.
TEST(EncoderStop, aSignalAfterTheFirstRequestEndsAStuckEncoderAtOnce) {
  TempDir dir;
  const auto source = dir / "never.ts";
  ASSERT_EQ(0, ::mkfifo(source.c_str(), 0600));
  const std::pair<const char*, std::function<void(ChildProcess&)>> firsts[] = {
      {"signal",
       [&](ChildProcess& c) {
         c.Signal(SIGINT);
         // Signals pending together arrive as one.
         EXPECT_TRUE(c.WaitForOutput([&](auto&) { return !SignalPending(c.pid(), SIGINT); }, 10s));
       }},
      {"quit line",
       [&](ChildProcess& c) {
         c.WriteInput("quit\n");
         // The input watcher ends with the quit line.
         EXPECT_TRUE(c.WaitForOutput([&](auto&) { return ThreadCount(c.pid()) == 1; }, 10s));
       }},
  };
  for (const auto& [name, first] : firsts) {
    SCOPED_TRACE(name);
    ChildProcess child(EncoderArgs(source, dir / "out.3gp").args);
    // Opening our end lets the encoder's open go on to a read that blocks.
    WriteEnd writer;
    ASSERT_TRUE(child.WaitForOutput(
        [&](auto&) {
          writer.fd = ::open(source.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
          return writer.fd >= 0;
        },
        10s));
    ASSERT_TRUE(
        child.WaitForOutput([&](auto&) { return MainThreadState(child.pid()) == 'S'; }, 10s));
    first(child);
    child.Signal(SIGINT);
    auto code = child.Wait(5s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(128 + SIGINT, *code);
  }
}
