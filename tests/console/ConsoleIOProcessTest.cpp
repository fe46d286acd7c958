// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <tuple>

#include <gtest/gtest.h>

#include "ConsoleTestSupport.h"
#include "tests/support/TempDir.h"
#include "platform/ShellWords.h"
#include "platform/SystemError.h"

namespace {

using Clock = std::chrono::steady_clock;

long Millis(Clock::duration span) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(span).count();
}

bool PieceArrived(const Recorder& record, const std::string& piece) {
  return std::find(record.pieces.begin(), record.pieces.end(), piece) != record.pieces.end();
}

bool NoChildLeft() { return ::waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD; }

}  // namespace

TEST(ConsoleIOStop, everyCombinationOfCommandAndKill) {
  TConsoleIO runner;
  runner.SetSplitMode(smSplitchar);
  Recorder record(runner);
  runner.Stop();  // no child: nothing happens
  EXPECT_TRUE(record.events.empty());

  runner.Run(Child("stubborn"), "", false);
  ASSERT_TRUE(WaitUntil([&] { return PieceArrived(record, "ready"); }));
  runner.SetTerminateCommand("");
  runner.Stop();  // neither command nor kill: the child stays
  EXPECT_FALSE(WaitUntil([&] { return record.Ended(); }, 300ms));
  runner.SetEnableKill(true);
  runner.Stop();  // no command, kill allowed: killed at once
  ASSERT_TRUE(WaitUntil([&] { return record.Ended(); }));

  // A child that ignores "quit" is killed when the timeout is over.
  runner.SetTerminateCommand("quit");
  runner.SetWaitTimeout(300);
  runner.Run(Child("stubborn"), "", false);
  ASSERT_TRUE(WaitUntil([&] { return record.started == 2; }));
  auto start = Clock::now();
  runner.Stop();
  EXPECT_GE(Millis(Clock::now() - start), 290);
  ASSERT_TRUE(WaitUntil([&] { return record.ended == 2; }));

  // A child that obeys ends the wait early; -1 waits without limit.
  runner.SetWaitTimeout(-1);
  runner.Run(Child("quitter"), "", false);
  runner.Stop();
  ASSERT_TRUE(WaitUntil([&] { return record.ended == 3; }));
  EXPECT_EQ(record.started, 3);
}

TEST(ConsoleIOStop, aKilledChildIsReportedOnceAndTheNextRunStartsClean) {
  TConsoleIO runner;
  runner.SetSplitMode(smSplitchar);
  runner.SetEnableKill(true);
  runner.SetWaitTimeout(200);
  Recorder record(runner);
  runner.Run(Child("stubborn 'ready\\npartial'"), "", false);
  ASSERT_TRUE(WaitUntil([&] { return PieceArrived(record, "ready"); }));
  runner.Stop();
  ASSERT_TRUE(WaitUntil([&] { return record.Ended(); }));
  EXPECT_EQ(record.events,
            (std::vector<std::string>{"run:1", "out:ready", "out:partial", "run:0"}));

  record.events.clear();
  runner.Run(Child("chunks 'fresh\\n'"), "", false);
  ASSERT_TRUE(WaitUntil([&] { return record.ended == 2; }));
  EXPECT_EQ(record.events, (std::vector<std::string>{"run:1", "out:fresh", "out:", "run:0"}));
}

TEST(ConsoleIOStop, aFullInputPipeNeverHoldsStopPastTheTimeout) {
  for (bool kill : {true, false}) {
    SCOPED_TRACE(kill ? "kill" : "no kill");
    TConsoleIO runner;
    runner.SetSplitMode(smSplitchar);
    runner.SetEnableKill(kill);
    runner.SetWaitTimeout(500);
    Recorder record(runner);
    runner.Run(Child("fillstdin"), "", false);
    ASSERT_TRUE(WaitUntil([&] { return PieceArrived(record, "full"); }));
    auto start = Clock::now();
    runner.Stop();
    EXPECT_LT(Millis(Clock::now() - start), 1500);
    if (!kill) {
      EXPECT_TRUE(runner.IsRunning());
      runner.SetEnableKill(true);
      runner.SetTerminateCommand("");
      runner.Stop();
    }
    ASSERT_TRUE(WaitUntil([&] { return record.Ended(); }));
  }
}

TEST(ConsoleIOSend, withoutAReadingChildSendRaisesInsteadOfKillingUs) {
  TConsoleIO runner;
  runner.SetSplitMode(smSplitchar);
  runner.SetEnableKill(true);
  Recorder record(runner);
  EXPECT_THROW(runner.Send("early"), SystemError);

  runner.Run(Child("closein"), "", false);
  ASSERT_TRUE(WaitUntil([&] { return PieceArrived(record, "closed"); }));
  try {
    runner.Send("nobody reads this");
    ADD_FAILURE() << "no error";
  } catch (const SystemError& error) {
    EXPECT_EQ(error.code().value(), EPIPE);
  }
  runner.Stop();  // the command cannot be written either; the kill still happens
  ASSERT_TRUE(WaitUntil([&] { return record.Ended(); }));
  EXPECT_THROW(runner.Send("late"), SystemError);
}

TEST(ConsoleIOLifetime, destroyingTheRunnerWhileItStreamsKillsReapsAndJoins) {
  int threadsBefore = ThreadCount();
  int fdsBefore = OpenDescriptorCount();
  auto runner = std::make_unique<TConsoleIO>();
  runner->SetSplitMode(smSplitchar);
  runner->SetEnableKill(true);
  Recorder record(*runner);
  runner->Run(Child("stream"), "", false);
  ASSERT_TRUE(WaitUntil([&] { return record.pieces.size() > 100; }));
  pid_t pid = std::stoi(record.pieces.at(0).substr(4));
  runner.reset();
  EXPECT_EQ(record.ended, 1);  // the destructor reports the end
  std::size_t eventsAtEnd = record.events.size();
  EXPECT_FALSE(WaitUntil([&] { return record.events.size() != eventsAtEnd; }, 300ms));
  EXPECT_EQ(::kill(pid, 0), -1);  // reaped: the pid no longer exists
  EXPECT_TRUE(NoChildLeft());
  EXPECT_EQ(ThreadCount(), threadsBefore);
  EXPECT_EQ(OpenDescriptorCount(), fdsBefore);
}

TEST(ConsoleIOLifetime, everyKindOfEndIsReportedAndHundredRunsLeakNothing) {
  int threadsBefore = ThreadCount();
  int fdsBefore = OpenDescriptorCount();
  {
    TConsoleIO runner;
    Recorder record(runner);
    // How each child ended, as the end event sees it: exit code or signal.
    std::optional<TProcessExit> seen;
    auto recordStatus = runner.OnProcessStatusChange;
    runner.OnProcessStatusChange = [&](TConsoleIO* sender, bool running) {
      if (!running) seen = runner.ExitStatus();
      recordStatus(sender, running);
    };
    const std::pair<const char*, TProcessExit> ends[] = {{"abort", {false, 0, SIGABRT}},
                                                         {"segv", {false, 0, SIGSEGV}},
                                                         {"selfkill", {false, 0, SIGKILL}},
                                                         {"exit 3", {true, 3, 0}},
                                                         {"exit 0", {true, 0, 0}}};
    int expected = 0;
    for (const auto& [mode, end] : ends) {
      SCOPED_TRACE(mode);
      runner.Run(Child(mode), "", false);
      EXPECT_FALSE(runner.ExitStatus().has_value());
      ++expected;
      ASSERT_TRUE(WaitUntil([&] { return record.ended == expected; }));
      ASSERT_TRUE(seen.has_value());
      EXPECT_EQ(std::tuple(seen->Exited, seen->Code, seen->Signal),
                std::tuple(end.Exited, end.Code, end.Signal));
      EXPECT_EQ(runner.ExitStatus()->Succeeded(), std::string(mode) == "exit 0");
    }
    for (int i = 0; i < 100; ++i) {
      runner.Run(Child("exit 0"), "", false);
      ++expected;
      ASSERT_TRUE(WaitUntil([&] { return record.ended == expected; }));
      ASSERT_TRUE(NoChildLeft());
    }
    EXPECT_EQ(record.started, expected);
  }
  EXPECT_EQ(ThreadCount(), threadsBefore);
  EXPECT_EQ(OpenDescriptorCount(), fdsBefore);
}

TEST(ConsoleIOSpawn, theChildSeesOnlyItsOwnThreeDescriptors) {
  int inherited = ::open("/dev/null", O_RDONLY);  // without close-on-exec on purpose
  ASSERT_GE(inherited, 0);
  TConsoleIO first, second;
  for (TConsoleIO* runner : {&first, &second}) {
    runner->SetSplitMode(smSplitchar);
    runner->SetEnableKill(true);
  }
  Recorder one(first), two(second);
  first.Run(Child("fds"), "", false);
  second.Run(Child("fds"), "", false);
  ASSERT_TRUE(WaitUntil([&] { return one.pieces.size() == 1 && two.pieces.size() == 1; }));
  EXPECT_EQ(one.pieces[0], "0 1 2");
  EXPECT_EQ(two.pieces[0], "0 1 2");
  // The first ends while the second still runs: its pipes are its own.
  first.Stop();
  ASSERT_TRUE(WaitUntil([&] { return one.Ended(); }));
  EXPECT_TRUE(second.IsRunning());
  second.Stop();
  ASSERT_TRUE(WaitUntil([&] { return two.Ended(); }));
  ::close(inherited);
}

TEST(ConsoleIOSpawn, blockedAndIgnoredSignalsAreDefaultInTheChild) {
  sigset_t blocked, previous;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGINT);
  sigaddset(&blocked, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &blocked, &previous);
  auto oldTerm = ::signal(SIGTERM, SIG_IGN);
  auto oldHup = ::signal(SIGHUP, SIG_IGN);
  TConsoleIO runner;
  runner.SetSplitMode(smSplitchar);
  Recorder record(runner);
  runner.Run(Child("signals"), "", false);
  bool ended = WaitUntil([&] { return record.Ended(); });
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  ::signal(SIGTERM, oldTerm);
  ::signal(SIGHUP, oldHup);
  ASSERT_TRUE(ended);
  ASSERT_EQ(record.pieces.size(), 3u);
  EXPECT_EQ(record.pieces[0], "SigBlk:\t0000000000000000");
  // glibc's posix_spawn leaves its two internal signals (32 and 33) ignored;
  // no program can install them, so only the others must be default.
  unsigned long long ignored = std::stoull(record.pieces[1].substr(8), nullptr, 16);
  EXPECT_EQ(ignored & ~0x180000000ull, 0u) << record.pieces[1];
}

TEST(ConsoleIOSpawn, aGrandchildHoldingThePipesDelaysTheEndOnlyBriefly) {
  TConsoleIO runner;
  runner.SetSplitMode(smSplitchar);
  runner.SetEnableKill(true);
  Recorder record(runner);
  auto start = Clock::now();
  runner.Run(Child("grandchild"), "", false);
  ASSERT_TRUE(WaitUntil([&] { return record.Ended(); }));
  EXPECT_LT(Millis(Clock::now() - start), 5000);
  EXPECT_TRUE(PieceArrived(record, "parent"));

  runner.Run(Child("grandchild-stay"), "", false);
  ASSERT_TRUE(
      WaitUntil([&] { return PieceArrived(record, "parent") && record.pieces.size() > 2; }));
  start = Clock::now();
  runner.Stop();
  ASSERT_TRUE(WaitUntil([&] { return record.ended == 2; }));
  EXPECT_LT(Millis(Clock::now() - start), 5000);
}

TEST(ConsoleIOSpawn, aFailedRunRaisesTheCauseAndLeavesNothingBehind) {
  TempDir folder;
  TConsoleIO runner;
  Recorder record(runner);
  int threadsBefore = ThreadCount();
  int fdsBefore = OpenDescriptorCount();
  for (int i = 0; i < 50; ++i) {
    std::string missing = QuoteShellWord(folder.folder() + "no such program");
    std::string cwd = folder.folder() + "no such folder";
    struct Try {
      std::string command, directory;
    };
    for (const auto& attempt : {Try{missing, ""}, Try{Child("exit 0"), cwd}, Try{"'open", ""}}) {
      try {
        runner.Run(attempt.command, attempt.directory, false);
        ADD_FAILURE() << "started: " << attempt.command;
      } catch (const SystemError& error) {
        EXPECT_NE(error.code().value(), 0);
        if (i == 0 && attempt.command != "'open") {
          EXPECT_EQ(error.code().value(), ENOENT);
          EXPECT_NE(std::string(error.what()).find("No such file or directory"), std::string::npos);
        }
      }
      ASSERT_FALSE(runner.IsRunning());
    }
  }
  EXPECT_TRUE(record.events.empty());
  EXPECT_EQ(ThreadCount(), threadsBefore);
  EXPECT_EQ(OpenDescriptorCount(), fdsBefore);
}

TEST(ConsoleIOSpawn, wordsArriveByteExactAndTheProgramIsFound) {
  TempDir folder;
  auto blankDir = folder / "dir with blanks";
  std::filesystem::create_directory(blankDir);
  auto program = blankDir / "child prog";
  std::filesystem::copy_file(CONSOLE_CHILD, program);
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);

  TConsoleIO runner;
  runner.SetSplitMode(smSplitchar);
  runner.SetSplitChar('\0');
  Recorder record(runner);
  std::string line = QuoteShellWord(program.string()) +
                     R"( args 'a b' "c'd" 'e"f' back\\slash '' "" "tab	in" end)";
  runner.Run(line, "", false);
  ASSERT_TRUE(WaitUntil([&] { return record.Ended(); }));
  EXPECT_EQ(record.pieces, (std::vector<std::string>{"a b", "c'd", "e\"f", "back\\slash", "", "",
                                                     "tab\tin", "end", ""}));

  // No '/' in the program: found on PATH. The working directory is applied.
  runner.SetSplitChar('\n');
  record.pieces.clear();
  runner.Run("sh -c 'pwd'", folder.folder(), false);
  ASSERT_TRUE(WaitUntil([&] { return record.ended == 2; }));
  EXPECT_EQ(record.pieces.at(0), std::filesystem::canonical(folder.path()).string());
}

TEST(ConsoleIOSpawn, runWhileAChildIsRecordedRaisesBeforeStartingAnother) {
  TConsoleIO runner;
  runner.SetSplitMode(smSplitchar);
  runner.SetEnableKill(true);
  Recorder record(runner);
  runner.Run(Child("fds"), "", false);
  ASSERT_TRUE(WaitUntil([&] { return record.pieces.size() == 1; }));
  try {
    runner.Run(Child("stubborn"), "", false);
    ADD_FAILURE() << "second child started";
  } catch (const std::logic_error& error) {
    EXPECT_STREQ(error.what(), "Assertion failure");
  }
  EXPECT_EQ(record.started, 1);
  runner.Stop();  // "quit" ends the fds child
  ASSERT_TRUE(WaitUntil([&] { return record.Ended(); }));
  EXPECT_TRUE(NoChildLeft());  // a started second child would be left here
}
