// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/MediaFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

// Every kind of fixture is a real file that libavformat reads with both
// streams, and leaving a stream out really leaves it out.
TEST(MediaFixtures, everyKindIsARealFileWithTheAskedStreams) {
  TempDir dir;
  for (MediaKind kind : AllMediaKinds()) {
    const auto path = dir / ("clip" + MediaExtension(kind));
    MakeMedia(path, kind, 1.0);
    std::string error;
    auto info = ProbeMedia(path, &error);
    ASSERT_TRUE(info) << path << ": " << error;
    EXPECT_FALSE(info->videoCodec.empty()) << path;
    EXPECT_FALSE(info->audioCodec.empty()) << path;
    EXPECT_GT(info->videoFrames, 10) << path;
  }
  const auto silent = dir / "silent.mkv";
  MakeMedia(silent, MediaKind::Mkv, 1.0, {.video = true, .audio = false});
  auto info = ProbeMedia(silent);
  ASSERT_TRUE(info);
  EXPECT_TRUE(info->audioCodec.empty());
  EXPECT_EQ(320, info->width);
  EXPECT_NEAR(25.0, info->frameRate, 0.01);
}
