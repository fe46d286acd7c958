// SPDX-License-Identifier: GPL-3.0-or-later
// The computer is kept awake exactly while an encoder runs: real runs of the
// real encoder, with a recording inhibitor in place of logind.
#include <filesystem>
#include <string>

#include <QStringList>

#include "tests/run/RunTestBase.h"
#include "ui/SleepInhibitor.h"

namespace fs = std::filesystem;

namespace {

// Each call as it came: a second take or release would show.
struct RecordingInhibitor : ISleepInhibitor {
  void Inhibit(const QString& why) override {
    log << (held ? "take again" : "take: " + why);
    held = true;
  }
  void Release() override {
    log << (held ? "release" : "release again");
    held = false;
  }
  bool held = false;
  QStringList log;
};

TEST_F(RunTest, SleepIsInhibitedWhileTheEncoderRunsAndReleasedWhenItEnds) {
  enum class End { Finishes, Stop, Close };
  for (End end : {End::Finishes, End::Stop, End::Close}) {
    const std::string name = end == End::Finishes ? "finishes"
                             : end == End::Stop   ? "stop"
                                                  : "close";
    SCOPED_TRACE(name);
    RecordingInhibitor inhibitor;
    MainWindowSession session(ProgramFolder(), false, &inhibitor);
    const fs::path slow = dir / name / "slow.mp4";
    auto feeder = SlowSource(slow, /*hold=*/end != End::Finishes);
    session.Queue(slow);
    session.SetOutputFolder((dir / name / "out").string());
    bool heldWhileRunning = false;
    session.WhenStatus([](const MainWindowSession::Sample& s) { return s.bar >= 1; },
                       [&] {
                         heldWhileRunning = inhibitor.held;
                         if (end == End::Finishes) return;
                         feeder->Release();
                         if (end == End::Stop) session.ClickConvert();
                         if (end == End::Close) session.CloseWindow();
                       });

    session.ClickConvert();

    EXPECT_TRUE(heldWhileRunning);
    EXPECT_FALSE(inhibitor.held);
    EXPECT_EQ(inhibitor.log, QStringList({"take: Converting videos", "release"}));
  }
}

}  // namespace
