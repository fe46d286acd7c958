// SPDX-License-Identifier: GPL-3.0-or-later
// Whole runs on the real main window with the real encoder.
#include <filesystem>
#include <string>

#include <QAction>
#include <QLineEdit>

#include <QCheckBox>
#include <QPushButton>

#include "app/UnitMain.h"
#include "console/ConsoleIO.h"
#include "engine/UnitOverWrite.h"
#include "tests/run/RunTestBase.h"
#include "tests/support/qt/FindControl.h"
#include "ui/PathText.h"

namespace fs = std::filesystem;

namespace {

QString Text(const fs::path& path) { return PathToText(path.string()); }

TEST_F(RunTest, ThreeKindsGiveThreeOutputsAndOneFinishQuestion) {
  MainWindowSession session(ProgramFolder());
  const fs::path a = Source("in/a.avi", MediaKind::Avi);
  const fs::path b = Source("in/b.mkv", MediaKind::Mkv, 2);
  const fs::path c = Source("in2/c.mov", MediaKind::Mov);
  for (const auto& source : {a, b, c}) session.Queue(source);
  const fs::path out = dir / "out" / "deep" / "er";  // missing parents, no trailing '/'
  session.SetOutputFolder(out.string());
  session.prompts.finishAnswer = true;

  session.ClickConvert();

  ExpectValid3gp(out / "a.3gp", 1);
  ExpectValid3gp(out / "b.3gp", 2);
  ExpectValid3gp(out / "c.3gp", 1);
  ASSERT_EQ(session.prompts.finishTexts.size(), 1);
  EXPECT_TRUE(session.prompts.finishTexts[0].endsWith(
      "|Conversion finished.\r\n\r\nOpen the output folder now?"));
  EXPECT_EQ(session.shell.opened, QStringList{Text(out) + "/"});
  EXPECT_EQ(session.prompts.countdowns, 0);
  EXPECT_TRUE(session.errors.isEmpty()) << session.errors.join("\n").toStdString();
  EXPECT_EQ(session.BarValue(), 0);
  EXPECT_EQ(session.StatusText(), "Ready");
  // Each entry's line named it with its place in the queue and its duration.
  int seen = 0;
  const std::pair<QString, fs::path> expected[] = {{"Converting file 1/3 [-00:00:01] ", a},
                                                   {"Converting file 2/3 [-00:00:02] ", b},
                                                   {"Converting file 3/3 [-00:00:01] ", c}};
  for (const auto& [prefix, path] : expected) {
    for (const auto& sample : session.samples) {
      if (sample.text == prefix + Text(path)) {
        EXPECT_EQ(sample.hint, sample.text);
        ++seen;
        break;
      }
    }
  }
  EXPECT_EQ(seen, 3);
  EXPECT_FALSE(session.window().Run().IsActive());
}

TEST_F(RunTest, BarRisesThroughTheConversionAndEndsReady) {
  MainWindowSession session(ProgramFolder());
  const fs::path slow = dir / "in" / "slow clip.mp4";
  const auto feeder = SlowSource(slow, false);
  session.Queue(slow);
  session.SetOutputFolder(dir.folder() + "out/");

  session.ClickConvert();

  ExpectValid3gp(dir / "out" / "slow clip.3gp", 4);
  ASSERT_FALSE(session.samples.empty());
  int previous = 0;
  bool between = false;
  for (const auto& sample : session.samples) {
    EXPECT_GE(sample.bar, previous);
    EXPECT_LE(sample.bar, 99);
    previous = sample.bar;
    between = between || (sample.bar >= 1 && sample.bar <= 98);
    EXPECT_EQ(sample.hint, sample.text);
    EXPECT_TRUE(sample.text.startsWith("Converting file 1/1 [-00:00:0"))
        << sample.text.toStdString();
    EXPECT_TRUE(sample.text.endsWith("] " + Text(slow))) << sample.text.toStdString();
  }
  EXPECT_TRUE(between);
  EXPECT_EQ(session.samples.back().bar, 99);  // the end never shows 100
  EXPECT_TRUE(session.samples.back().text.startsWith("Converting file 1/1 [-00:00:04] "));
  EXPECT_EQ(session.BarValue(), 0);
  EXPECT_EQ(session.StatusText(), "Ready");
}

TEST_F(RunTest, StopDuringSecondOfThreeEndsWithoutFinishingAndNextStartVisitsAll) {
  MainWindowSession session(ProgramFolder(), /*autoPowerOff=*/true);
  const fs::path a = Source("in/a.avi", MediaKind::Avi);
  const fs::path b = dir / "in" / "b.mp4";
  const fs::path c = Source("in/c.mkv", MediaKind::Mkv);
  auto feeder = SlowSource(b, /*hold=*/true);
  for (const auto& source : {a, b, c}) session.Queue(source);
  const fs::path out = dir / "out";
  session.SetOutputFolder(out.string() + "/");
  bool stopped = false;
  session.WhenStatus(
      [](const MainWindowSession::Sample& s) { return s.text.contains("2/3") && s.bar >= 1; },
      [&] {
        EXPECT_EQ(Find<QAction>(&session.window(), "ActionConvertNow")->text(), "&Stop");
        stopped = true;
        feeder->Release();
        session.ClickConvert();  // Stop
      });

  session.ClickConvert();

  ASSERT_TRUE(stopped);
  EXPECT_FALSE(session.window().Run().KeepGoing());
  ExpectValid3gp(out / "a.3gp", 1);
  // The encoder got "quit" and wrote a playable file of what it had.
  const auto partial = ProbeMedia(out / "b.3gp");
  ASSERT_TRUE(partial.has_value());
  EXPECT_GT(partial->videoFrames, 0);
  EXPECT_LT(partial->durationSeconds, 3.9);
  EXPECT_FALSE(fs::exists(out / "c.3gp"));
  EXPECT_EQ(session.prompts.countdowns, 0);
  EXPECT_TRUE(session.prompts.finishTexts.isEmpty());
  EXPECT_TRUE(session.shell.opened.isEmpty());
  EXPECT_EQ(Find<QAction>(&session.window(), "ActionConvertNow")->text(), "&Start");

  // The next Start begins at the first entry again; the clashes are overwritten.
  feeder.reset();
  feeder = SlowSource(b, false);
  session.prompts.answerOverwrite = [](TfrmOverWrite& prompt) {
    Find<QCheckBox>(&prompt, "checkBoxNotice")->setChecked(true);
    Find<QPushButton>(&prompt, "buttonOverWrite")->click();
  };
  session.samples.clear();
  session.ClickConvert();
  ExpectValid3gp(out / "a.3gp", 1);
  ExpectValid3gp(out / "b.3gp", 4);
  ExpectValid3gp(out / "c.3gp", 1);
  EXPECT_TRUE(session.window().Run().KeepGoing());
  EXPECT_EQ(session.prompts.overwritePrompts, 1);  // Overwrite, ticked: asked once
  EXPECT_EQ(session.prompts.countdowns, 1);
  EXPECT_EQ(session.powerOff.requests, 0);  // the count-down was answered No
  EXPECT_EQ(session.prompts.finishTexts.size(), 1);
  ASSERT_FALSE(session.samples.empty());
  EXPECT_TRUE(session.samples.front().text.contains("1/3"));
}

TEST_F(RunTest, StopDuringTheLastEntryStillFinishes) {
  MainWindowSession session(ProgramFolder(), /*autoPowerOff=*/true);
  const fs::path a = Source("in/a.avi", MediaKind::Avi);
  const fs::path b = dir / "in" / "b.mp4";
  auto feeder = SlowSource(b, /*hold=*/true);
  session.Queue(a);
  session.Queue(b);
  session.SetOutputFolder(dir.folder() + "out");
  session.WhenStatus(
      [](const MainWindowSession::Sample& s) { return s.text.contains("2/2") && s.bar >= 1; },
      [&] {
        feeder->Release();
        session.ClickConvert();
      });

  session.ClickConvert();

  EXPECT_EQ(session.prompts.countdowns, 1);
  EXPECT_EQ(session.prompts.finishTexts.size(), 1);
  EXPECT_TRUE(session.shell.opened.isEmpty());  // answered No
  EXPECT_EQ(session.BarValue(), 0);
  EXPECT_EQ(session.StatusText(), "Ready");
  EXPECT_TRUE(session.errors.isEmpty()) << session.errors.join("\n").toStdString();
}

TEST_F(RunTest, EmptyQueueGoesStraightToTheFinishingSteps) {
  MainWindowSession session(ProgramFolder(), /*autoPowerOff=*/true);
  session.SetOutputFolder(dir.folder() + "empty-out");
  session.prompts.finishAnswer = true;
  session.ClickConvert();
  EXPECT_TRUE(fs::is_directory(dir / "empty-out"));
  EXPECT_EQ(session.prompts.countdowns, 1);
  EXPECT_EQ(session.prompts.finishTexts.size(), 1);
  // No entry visited: the folder text goes to the shell as it stands.
  EXPECT_EQ(session.shell.opened, QStringList{Text(dir / "empty-out")});
  EXPECT_EQ(session.StatusText(), "Ready");
}

TEST_F(RunTest, EmptyOutputFolderUsesTheVideosFolder) {
  const std::string home = (dir / "home").string();
  fs::create_directories(home);
  const EnvOverride homeValue("HOME", home);
  const EnvOverride configValue("XDG_CONFIG_HOME", (dir / "config").string());
  {
    MainWindowSession session(ProgramFolder());
    session.Queue(Source("in/a.avi", MediaKind::Avi));
    session.SetOutputFolder("");
    session.prompts.finishAnswer = true;
    session.ClickConvert();
    ExpectValid3gp(dir / "home" / "Videos" / "a.3gp", 1);
    EXPECT_EQ(session.shell.opened, QStringList{Text(dir / "home" / "Videos") + "/"});
  }
}

TEST_F(RunTest, StartInsideARunIsIgnored) {
  MainWindowSession session(ProgramFolder());
  const fs::path a = Source("in/a.avi", MediaKind::Avi);
  const fs::path out = dir / "out";
  fs::create_directories(out);
  WriteFileBytes(out / "a.3gp", "old");
  session.Queue(a);
  session.SetOutputFolder(out.string());
  // The prompt is up inside the run, no encoder running: a Start click now
  // must not begin a second run inside the first.
  session.prompts.answerOverwrite = [&](TfrmOverWrite& prompt) {
    EXPECT_FALSE(static_cast<IRunHost&>(session.window()).ConsoleIO().IsRunning());
    session.ClickConvert();
    Find<QPushButton>(&prompt, "buttonOverWrite")->click();
  };
  session.ClickConvert();
  EXPECT_EQ(session.prompts.overwritePrompts, 1);
  EXPECT_EQ(session.prompts.finishTexts.size(), 1);
  ExpectValid3gp(out / "a.3gp", 1);
}

}  // namespace
