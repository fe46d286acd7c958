// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/run/RunSession.h"
#include "tests/support/EnvOverride.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TempDir.h"

// A temporary folder with its own program folder and sources made in it.
class RunTest : public ::testing::Test {
 protected:
  std::filesystem::path Source(const std::string& relative, MediaKind kind, double seconds = 1);
  // A 4 s faststart MP4 behind a named pipe: the encoder reading it runs
  // as long as the feeder feeds it (about 4 s), or until Release with hold.
  std::unique_ptr<FifoFeeder> SlowSource(const std::filesystem::path& fifo, bool hold);
  std::string ProgramFolder(bool withEncoder = true);
  // The made file is a 3GP with MPEG-4 video and AAC sound of about the given length.
  static void ExpectValid3gp(const std::filesystem::path& file, double seconds);

  TempDir dir;

 private:
  std::string slowBytes_;
};
