// SPDX-License-Identifier: GPL-3.0-or-later
// The runner used the wrong way: from a handler during its destruction, with a
// child that never reads, and with a bare program name.
#include <sys/wait.h>

#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "ConsoleTestSupport.h"
#include "platform/SystemError.h"
#include "tests/support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

long MillisSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Our working directory changed for one test, and back afterwards.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~WorkingDirectory() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

}  // namespace

TEST(ConsoleIOMisuse, runFromAStatusHandlerDuringDestructionIsRefused) {
  const int threadsBefore = ThreadCount();
  std::string refusal;
  auto runner = std::make_unique<TConsoleIO>();
  runner->SetEnableKill(true);
  runner->SetWaitTimeout(100);
  runner->OnProcessStatusChange = [&](TConsoleIO* sender, bool running) {
    if (running) return;
    try {
      sender->Run(Child("stubborn"), "", false);
    } catch (const std::logic_error& error) {
      refusal = error.what();
    }
  };
  runner->Run(Child("stubborn"), "", false);
  runner.reset();
  EXPECT_EQ(refusal, "The console runner is being destroyed");
  EXPECT_TRUE(::waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD);  // nothing left running
  EXPECT_EQ(ThreadCount(), threadsBefore);
}

TEST(ConsoleIOMisuse, sendToAChildThatNeverReadsGivesUpAtTheTimeout) {
  TConsoleIO runner;
  runner.SetSplitMode(smSplitchar);
  runner.SetEnableKill(true);
  runner.SetWaitTimeout(300);
  Recorder record(runner);
  runner.Run(Child("fillstdin"), "", false);
  ASSERT_TRUE(WaitUntil([&] { return !record.pieces.empty(); }));
  const auto start = Clock::now();
  try {
    runner.Send("more than the full pipe takes");
    ADD_FAILURE() << "the write into a full pipe succeeded";
  } catch (const SystemError& error) {
    EXPECT_EQ(error.code().value(), ETIMEDOUT);
  }
  EXPECT_GE(MillisSince(start), 290);
  EXPECT_LT(MillisSince(start), 1500);
  runner.Stop();
  ASSERT_TRUE(WaitUntil([&] { return record.Ended(); }));
}

TEST(ConsoleIOMisuse, aBareProgramNameIsLookedForInTheWorkingDirectoryThenOnPath) {
  // "true" lies on PATH and prints nothing; ours in the folder says where it is.
  TempDir here, elsewhere;
  WriteFileBytes(here / "true", "#!/bin/sh\necho local\n");
  std::filesystem::permissions(here / "true", std::filesystem::perms::owner_all);
  WriteFileBytes(elsewhere / "true", "#!/bin/sh\necho not runnable\n");  // no execute right
  struct Case {
    const TempDir& cwd;
    std::string childDirectory;
    std::string output;
  };
  for (const Case& c : {Case{here, "", "local\n"}, Case{here, elsewhere.folder(), "local\n"},
                        Case{elsewhere, "", ""}}) {
    SCOPED_TRACE(c.cwd.folder() + " / " + c.childDirectory);
    WorkingDirectory cwd(c.cwd.path());
    TConsoleIO runner;
    runner.SetSplitReceive(false);
    Recorder record(runner);
    runner.Run("true", c.childDirectory, false);
    ASSERT_TRUE(WaitUntil([&] { return record.Ended(); }));
    EXPECT_EQ(record.output, c.output);
  }
}
