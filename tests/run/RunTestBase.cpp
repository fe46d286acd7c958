// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/run/RunTestBase.h"

#include <chrono>
#include <cstdlib>

namespace fs = std::filesystem;

fs::path RunTest::Source(const std::string& relative, MediaKind kind, double seconds) {
  const fs::path path = dir / relative;
  fs::create_directories(path.parent_path());
  MakeMedia(path, kind, seconds);
  return path;
}

std::unique_ptr<FifoFeeder> RunTest::SlowSource(const fs::path& fifo, bool hold) {
  if (slowBytes_.empty()) {
    const fs::path made = dir / "slow-made.mp4";
    MakeMediaWith(made, 4, {}, {},
                  {"-c:v", "mpeg4", "-q:v", "5", "-c:a", "aac", "-movflags", "+faststart"});
    slowBytes_ = ReadFileBytes(made);
  }
  fs::create_directories(fifo.parent_path());
  return std::make_unique<FifoFeeder>(fifo, slowBytes_, 40, std::chrono::milliseconds(100), hold);
}

std::string RunTest::ProgramFolder(bool withEncoder) {
  return MakeProgramFolder(dir / (withEncoder ? "prog" : "prog-without-encoder"), withEncoder);
}

void RunTest::ExpectValid3gp(const fs::path& file, double seconds) {
  std::string error;
  const auto info = ProbeMedia(file, &error);
  ASSERT_TRUE(info.has_value()) << file << ": " << error;
  EXPECT_NE(info->formatName.find("3gp"), std::string::npos) << file;
  EXPECT_EQ(info->videoCodec, "mpeg4") << file;
  EXPECT_EQ(info->audioCodec, "aac") << file;
  EXPECT_GT(info->videoFrames, 0) << file;
  EXPECT_NEAR(info->durationSeconds, seconds, 0.5) << file;
}
