// SPDX-License-Identifier: GPL-3.0-or-later
// Each entry's outcome: failures reported and cleaned up, Stop, queue edits
// during a run, things in the way of the output, and the encoder's end with us.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include <QLabel>
#include <QTableView>
#include <QTextDocument>

#include "app/PlainToolTip.h"
#include "app/UnitMain.h"
#include "engine/OverwritePolicy.h"
#include "engine/RunReport.h"
#include "queue/QueueModel.h"
#include "tests/run/RunTestBase.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/qt/FindControl.h"
#include "ui/PathText.h"

namespace fs = std::filesystem;
using std::chrono::milliseconds;

namespace {

QString Text(const fs::path& path) { return PathToText(path.string()); }

TEST(RunReport, FinishTextListsTenFailuresWithReasonsAndCountsTheRest) {
  RunReport report;
  report.Add(EntryOutcome::Converted);
  report.Add(EntryOutcome::Skipped);
  const std::string errorLine = LastTextLine("warning\nlibm9s: bad\r\n \n");
  EXPECT_EQ(errorLine, "libm9s: bad");
  report.AddFailure({"/v/a.avi", EntryFailure::ExitCode, 1, errorLine});
  report.AddFailure({"/v/b.avi", EntryFailure::Signal, 9, ""});
  report.AddFailure({"/v/c.avi", EntryFailure::StartFailed, 2, "System Error.  Code: 2.\nNo such"});
  for (int i = 0; i < 9; ++i) report.AddFailure({"", EntryFailure::ExitCode, 3, ""});
  FinishTexts texts;
  texts.convertedCount = "%d/%d 100%%";
  const QStringList lines = QString::fromStdString(FinishQuestionText(report, texts)).split("\r\n");
  EXPECT_EQ(lines.mid(0, 7),
            (QStringList{"Conversion finished.", "1/14 100%", "", "These files were not converted:",
                         "/v/a.avi: libm9s: bad", "/v/b.avi: The encoder was ended by signal 9.",
                         "/v/c.avi: System Error.  Code: 2. No such"}));
  EXPECT_EQ(lines[7], "(empty entry): The encoder ended with exit code 3.");
  EXPECT_EQ(lines.mid(14), (QStringList{"...and 2 more.", "", "Open the output folder now?"}));
  EXPECT_EQ(FinishQuestionText(RunReport(), texts),
            "Conversion finished.\r\n\r\nOpen the output folder now?");
}

TEST_F(RunTest, FailedEntriesLeaveNothingAndTheFinishQuestionNamesThem) {
  MainWindowSession session(ProgramFolder());
  // A folder "<b>x<" holds the file: the path shows the markup-like text whole.
  const fs::path good = Source("in/<b>x</b> &amp;.avi", MediaKind::Avi);
  std::string noise(64 * 1024, '\0');
  std::mt19937 random(7);
  for (char& byte : noise) byte = static_cast<char>(random());
  WriteFileBytes(dir / "in" / "broken.avi", noise);
  for (const fs::path& source : {good, dir / "in" / "broken.avi", dir / "in" / "missing.avi"})
    session.Queue(source);
  session.Entries().Append(QString());  // an entry emptied in place
  const fs::path out = dir / "out";
  session.SetOutputFolder(out.string());

  session.ClickConvert();

  ExpectValid3gp(out / "b> &amp;.3gp", 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 1);
  ASSERT_EQ(session.prompts.finishTexts.size(), 1);
  const QStringList lines = session.prompts.finishTexts[0].split("\r\n");
  EXPECT_EQ(lines.mid(1, 3),
            (QStringList{"1 of 4 files were converted.", "", "These files were not converted:"}));
  EXPECT_TRUE(lines[4].startsWith(Text(dir / "in" / "broken.avi") + ": libm9s: "));
  EXPECT_TRUE(lines[5].startsWith(Text(dir / "in" / "missing.avi") + ": libm9s: "));
  EXPECT_TRUE(lines[6].startsWith("(empty entry): libm9s: ")) << lines.join("\n").toStdString();
  EXPECT_EQ(lines.mid(7), (QStringList{"", "Open the output folder now?"}));
  EXPECT_TRUE(session.errors.isEmpty());
  // The name is shown as the characters it holds, never read as markup.
  QLabel* status = Find<QLabel>(&session.window(), "labelCurrentInfo");
  EXPECT_EQ(status->textFormat(), Qt::PlainText);
  const auto shown = std::find_if(session.samples.begin(), session.samples.end(),
                                  [&](const auto& s) { return s.text.endsWith(Text(good)); });
  ASSERT_NE(shown, session.samples.end());
  QTextDocument hint;
  hint.setHtml(PlainTextAsRichText(shown->hint));
  EXPECT_EQ(hint.toPlainText(), shown->text);
}

TEST_F(RunTest, StopDuringTheFirstOfTwoLeavesReadyAndZeroForGood) {
  MainWindowSession session(ProgramFolder());
  const fs::path a = dir / "in" / "a.mp4";
  auto feeder = SlowSource(a, /*hold=*/true);
  session.Queue(a);
  session.Queue(Source("in/b.avi", MediaKind::Avi));
  session.SetOutputFolder((dir / "out").string());
  session.WhenStatus([](const auto& s) { return s.text.contains("1/2") && s.bar >= 1; },
                     [&] { session.ClickConvert(); });
  session.ClickConvert();
  feeder->Release();
  EXPECT_EQ(session.window().Run().Report().Count(EntryOutcome::Stopped), 1);
  EXPECT_GT(ProbeMedia(dir / "out" / "a.3gp")->durationSeconds, 0);  // the partial file stays
  const auto ready = [&] { return session.StatusText() == "Ready" && session.BarValue() == 0; };
  EXPECT_TRUE(ready());
  EXPECT_FALSE(WaitFor([&] { return !ready(); }, milliseconds(1000)));
}

// Queue edits handled inside the first entry's conversion (run under ASan in CI).
TEST_F(RunTest, RemoveAndClearAllDuringARunNeverReadPastTheQueue) {
  for (const bool clearAll : {false, true}) {
    MainWindowSession session(ProgramFolder());
    const int count = clearAll ? 3 : 2;
    const char* names[] = {"a", "b", "c"};
    for (int i = 0; i < count; ++i)
      session.Queue(Source(std::string("in/") + names[i] + ".avi", MediaKind::Avi));
    const fs::path out = dir / (clearAll ? "out-clear" : "out-remove");
    session.SetOutputFolder(out.string());
    TfrmMain& window = session.window();
    session.WhenStatus([](const auto& s) { return s.text.contains("1/"); },
                       [&] {
                         Find<QTableView>(&window, "listViewFiles")->selectRow(1);
                         clearAll ? window.ActionFileClearAllExecute()
                                  : window.ActionFileDeleteExecute();
                       },
                       /*insideTheHandler=*/true);
    session.ClickConvert();
    ExpectValid3gp(out / "a.3gp", 1);
    EXPECT_FALSE(fs::exists(out / "b.3gp"));
    EXPECT_FALSE(fs::exists(out / "c.3gp"));
    EXPECT_EQ(session.prompts.finishTexts.size(), 1) << clearAll;
    EXPECT_EQ(session.Entries().Count(), clearAll ? 0 : 1);
  }
}

TEST_F(RunTest, PipeLinkAndFolderAtTheOutputPathFailAtOnceAndTheRunGoesOn) {
  MainWindowSession session(ProgramFolder());
  const fs::path out = dir / "out";
  fs::create_directories(out / "folder.3gp");
  ASSERT_EQ(::mkfifo((out / "pipe.3gp").c_str(), 0644), 0);
  WriteFileBytes(dir / "elsewhere", "target");
  fs::create_symlink(dir / "elsewhere", out / "link.3gp");
  for (const char* name : {"pipe", "link", "folder", "good"})
    session.Queue(Source(std::string("in/") + name + ".avi", MediaKind::Avi));
  session.window().SetOverwritePolicy(kOverwriteAll);
  session.SetOutputFolder(out.string());
  const auto start = std::chrono::steady_clock::now();
  auto goodStarted = start;
  session.WhenStatus([](const auto& s) { return s.text.contains("4/4"); },
                     [&] { goodStarted = std::chrono::steady_clock::now(); });
  session.ClickConvert();
  EXPECT_LT(goodStarted - start, std::chrono::seconds(3));  // three failures, a second each at most
  EXPECT_GT(goodStarted, start);
  ASSERT_EQ(session.prompts.finishTexts.size(), 1);
  for (const char* name : {"pipe", "link", "folder"})
    EXPECT_TRUE(session.prompts.finishTexts[0].contains(
        Text(dir / "in" / name) + ".avi: Something other than a file is at the output path " +
        Text(out / name) + ".3gp."));
  EXPECT_EQ(ReadFileBytes(dir / "elsewhere"), "target");
  EXPECT_TRUE(fs::is_fifo(out / "pipe.3gp"));
  EXPECT_TRUE(fs::is_directory(out / "folder.3gp"));
  ExpectValid3gp(out / "good.3gp", 1);
}

// The Velbrin process of the test below: a run on its own main window.
TEST_F(RunTest, ChildVelbrinRun) {
  const char* source = std::getenv("VELBRIN_TEST_CHILD_SOURCE");
  if (source == nullptr) GTEST_SKIP() << "only as the child of EncoderStopsWhenVelbrinIsKilled";
  setenv("LIBM9S_PARENT_PID", std::to_string(getpid()).c_str(), 1);  // as the program does
  MainWindowSession session(ProgramFolder());
  session.Queue(source);
  session.SetOutputFolder(std::getenv("VELBRIN_TEST_CHILD_OUT"));
  session.ClickConvert();
}

TEST_F(RunTest, EncoderStopsWhenVelbrinIsKilled) {
  const fs::path source = dir / "in" / "slow.mp4";
  auto feeder = SlowSource(source, /*hold=*/false);
  const EnvOverride sourceName("VELBRIN_TEST_CHILD_SOURCE", source.string());
  const EnvOverride outName("VELBRIN_TEST_CHILD_OUT", dir.folder() + "out");
  ChildProcess velbrin({"/proc/self/exe", "--gtest_filter=RunTest.ChildVelbrinRun"});
  std::vector<pid_t> encoders;
  ASSERT_TRUE(WaitFor(
      [&] {
        encoders = EncoderChildren(velbrin.pid());
        std::error_code error;  // more than the placeholder: the encoder has begun writing
        const bool writing = fs::file_size(dir / "out" / "slow.3gp", error) > 6 && !error;
        return !encoders.empty() && writing && feeder->Fed() >= 20;
      },
      milliseconds(60000)));
  velbrin.Signal(SIGKILL);
  EXPECT_TRUE(WaitFor([&] { return ProcessGone(encoders[0]); }, milliseconds(2000)));
  const auto partial = ProbeMedia(dir / "out" / "slow.3gp");
  ASSERT_TRUE(partial.has_value());
  EXPECT_GT(partial->durationSeconds, 0);
}

}  // namespace
