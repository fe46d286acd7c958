// SPDX-License-Identifier: GPL-3.0-or-later
// Runs that meet faults, hostile names and a window closed mid-run.
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <QAction>

#include <QPushButton>

#include "app/UnitMain.h"
#include "console/ConsoleIO.h"
#include "engine/OutputPaths.h"
#include "engine/UnitOverWrite.h"
#include "tests/run/RunTestBase.h"
#include "tests/support/qt/FindControl.h"
#include "ui/PathText.h"

namespace fs = std::filesystem;
using std::chrono::milliseconds;

namespace {

TEST_F(RunTest, MissingEncoderFailsEachEntryWithTheSystemErrorAndLeavesTheWindowUsable) {
  MainWindowSession session(ProgramFolder(/*withEncoder=*/false));
  session.Queue(Source("in/a.avi", MediaKind::Avi));
  session.Queue(Source("in/b.avi", MediaKind::Avi));
  const fs::path out = dir / "out";
  session.SetOutputFolder(out.string());
  for (int attempt = 1; attempt <= 2; ++attempt) {
    session.ClickConvert();
    EXPECT_TRUE(session.errors.isEmpty()) << session.errors.join("\n").toStdString();
    EXPECT_FALSE(fs::exists(out / "a.3gp"));
    EXPECT_FALSE(fs::exists(out / "b.3gp"));
    ASSERT_EQ(session.prompts.finishTexts.size(), attempt);
    for (const char* name : {"a", "b"})
      EXPECT_TRUE(session.prompts.finishTexts.back().contains(
          PathToText((dir / "in" / name).string()) + ".avi: System Error.  Code: 2. "));
    EXPECT_FALSE(session.window().Run().IsActive());
    EXPECT_TRUE(Find<QAction>(&session.window(), "ActionConvertNow")->isEnabled());
    EXPECT_TRUE(Find<QAction>(&session.window(), "ActionFileAdd")->isEnabled());
  }
}

TEST_F(RunTest, SourceDeletedAfterQueueingFailsWithoutAFileAndTheRunGoesOn) {
  MainWindowSession session(ProgramFolder());
  const fs::path gone = Source("in/gone.avi", MediaKind::Avi);
  session.Queue(gone);
  session.Queue(Source("in/b.avi", MediaKind::Avi));
  fs::remove(gone);
  const fs::path out = dir / "out";
  session.SetOutputFolder(out.string());
  session.ClickConvert();
  EXPECT_FALSE(fs::exists(out / "gone.3gp"));
  ExpectValid3gp(out / "b.3gp", 1);
  EXPECT_EQ(session.prompts.finishTexts.size(), 1);
}

TEST_F(RunTest, UnwritableOutputFolderShowsTheErrorWithoutFinishing) {
  MainWindowSession session(ProgramFolder(), /*autoPowerOff=*/true);
  session.Queue(Source("in/a.avi", MediaKind::Avi));
  WriteFileBytes(dir / "plain-file", "x");
  session.SetOutputFolder((dir / "plain-file" / "out").string());
  session.ClickConvert();
  ASSERT_EQ(session.errors.size(), 1);
  EXPECT_TRUE(session.errors[0].startsWith("System Error.  Code: 20."))
      << session.errors[0].toStdString();
  EXPECT_EQ(session.prompts.countdowns, 0);
  EXPECT_TRUE(session.prompts.finishTexts.isEmpty());
  EXPECT_TRUE(session.window().Run().KeepGoing());
  EXPECT_FALSE(session.window().Run().IsActive());
}

TEST_F(RunTest, SourceTheEncoderCannotReadDoesNotEndTheRun) {
  MainWindowSession session(ProgramFolder());
  fs::create_directories(dir / "in");
  WriteFileBytes(dir / "in" / "broken.avi", std::string(4096, '\x5a'));
  session.Queue(dir / "in" / "broken.avi");
  session.Queue(Source("in/good.mkv", MediaKind::Mkv));
  const fs::path out = dir / "out";
  session.SetOutputFolder(out.string());
  session.ClickConvert();
  EXPECT_FALSE(ProbeMedia(out / "broken.3gp").has_value());
  ExpectValid3gp(out / "good.3gp", 1);
  EXPECT_EQ(session.prompts.finishTexts.size(), 1);
  EXPECT_TRUE(session.errors.isEmpty()) << session.errors.join("\n").toStdString();
}

TEST_F(RunTest, HostileNamesConvertAndNothingInThemRuns) {
  const std::vector<std::string> names = {
      "with blank.avi",    "it's \"quoted\".avi",      "$HOME $(touch made1).avi",
      "`touch made2`.avi", "semi;touch made3;.avi",    "back\\slash & amp | pipe.avi",
      "日本語 é.avi",      "\xff\xfe latin1 \xe9.avi", "-i leading dash.avi",
  };
  const fs::path in = dir / "in";
  fs::create_directories(in);
  const fs::path made = Source("made.avi", MediaKind::Avi);
  MainWindowSession session(ProgramFolder());
  for (const auto& name : names) {
    fs::copy_file(made, in / name);
    session.Queue(in / name);
  }
  const fs::path out = dir / "out $(touch made4)";
  session.SetOutputFolder(out.string());
  // The encoder inherits our working folder: anything a name ran would land here.
  const fs::path cwd = fs::current_path();
  fs::current_path(dir.path());
  session.ClickConvert();
  fs::current_path(cwd);
  for (const auto& name : names) ExpectValid3gp(out / OutputName(name), 1);
  for (const char* file : {"made1", "made2", "made3", "made4"}) {
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
      EXPECT_NE(entry.path().filename(), file) << entry.path();
    EXPECT_FALSE(fs::exists(cwd / file));
  }
  EXPECT_TRUE(session.errors.isEmpty()) << session.errors.join("\n").toStdString();
}

TEST_F(RunTest, ClosingTheWindowMidRunStopsTheEncoderQuickly) {
  const EnvOverride tmp("TMPDIR", dir.path().string());
  // After the runner's event, and from inside it (a message box it showed).
  for (bool inside : {false, true}) {
    SCOPED_TRACE(inside ? "inside the event" : "after the event");
    WriteFileBytes(dir / "m9s.avs", "script");
    MainWindowSession session(ProgramFolder(), /*autoPowerOff=*/true);
    const std::string run = inside ? "inside" : "after";
    const fs::path slow = dir / run / "slow.mp4";
    auto feeder = SlowSource(slow, /*hold=*/true);
    session.Queue(slow);
    session.Queue(Source(run + "/next.avi", MediaKind::Avi));
    const fs::path out = dir / run / "out";
    session.SetOutputFolder(out.string());
    std::vector<pid_t> encoders;
    std::chrono::steady_clock::time_point closedAt;
    session.WhenStatus(
        [](const MainWindowSession::Sample& s) { return s.text.contains("1/2") && s.bar >= 1; },
        [&] {
          encoders = EncoderChildren();
          closedAt = std::chrono::steady_clock::now();
          session.CloseWindow();
        },
        inside);

    session.ClickConvert();
    const auto ended = std::chrono::steady_clock::now();

    ASSERT_EQ(encoders.size(), 1u);
    EXPECT_LT(ended - closedAt, milliseconds(2000));
    EXPECT_TRUE(ProcessGone(encoders[0]));
    EXPECT_TRUE(EncoderChildren().empty());
    EXPECT_FALSE(fs::exists(out / "next.3gp"));  // nothing further started
    EXPECT_EQ(session.prompts.countdowns, 0);
    EXPECT_TRUE(session.prompts.finishTexts.isEmpty());
    EXPECT_TRUE(session.errors.isEmpty()) << session.errors.join("\n").toStdString();
    EXPECT_FALSE(fs::exists(dir / "m9s.avs"));
    // A Start after the close starts nothing.
    session.ClickConvert();
    EXPECT_TRUE(EncoderChildren().empty());
  }
}

}  // namespace
