// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ConversionRun.h"

#include <QCoreApplication>
#include <QEventLoop>

#include "console/ConsoleIO.h"
#include "engine/OutputPaths.h"
#include "engine/OverwritePolicy.h"
#include "platform/SystemError.h"
#include "ui/DefaultFolders.h"

// Marks the run active for the length of one StartRun. The flag it clears
// on leaving belongs to the run, which may be destroyed by an event handled
// inside the wait; `alive` tells whether it still exists.
class ConversionRun::ActiveScope {
 public:
  explicit ActiveScope(ConversionRun& run) : run_(run), alive_(run.alive_) { run_.active_ = true; }
  ~ActiveScope() {
    if (*alive_) run_.active_ = false;
  }
  ActiveScope(const ActiveScope&) = delete;
  ActiveScope& operator=(const ActiveScope&) = delete;
  // False once the run has been destroyed or its window is closing: touch nothing then.
  bool Usable() const { return *alive_ && !run_.closing_; }

 private:
  ConversionRun& run_;
  std::shared_ptr<bool> alive_;
};

ConversionRun::ConversionRun(IRunHost& host) : host_(host) {}

ConversionRun::~ConversionRun() { *alive_ = false; }

void ConversionRun::StartRun() {
  // A Start handled inside this run's own wait would begin a second run
  // inside the first; only Stop acts while a run is active.
  if (active_ || closing_) return;
  const ActiveScope scope(*this);
  keepGoing_ = true;
  report_ = RunReport();
  std::string folder = host_.OutputFolderText();
  if (folder.empty()) folder = DefaultOutputFolder();
  EnsureOutputFolder(folder);

  const int count = host_.QueueCount();
  for (int i = 0; i < count; ++i) {
    if (!keepGoing_) return;
    // Entries removed during the run: the one that is gone ends the loop.
    if (i >= host_.QueueCount()) break;
    host_.SelectEntry(i);
    const std::string source = host_.EntryPath(i);
    folder = WithTrailingSeparator(folder);
    std::string output = folder + OutputName(source);
    // A .3gp source in the output folder would be its own output: the
    // placeholder would truncate it before the encoder reads it.
    if (IsSameFile(output, source))
      output = AutoName(output);
    else
      output = host_.ResolveExistingOutput(output);
    if (!scope.Usable()) return;
    if (output.empty()) {
      report_.Add(EntryOutcome::Skipped);
      continue;
    }
    if (!ConvertEntry(scope, source, output)) return;
  }

  host_.ResetStatus();
  if (host_.ReadAutoPowerOff()) host_.ShowPowerOffCountdown();
  if (!scope.Usable()) return;
  if (host_.AskFinishQuestion(report_) && scope.Usable()) host_.OpenOutputFolder(folder);
}

bool ConversionRun::ConvertEntry(const ActiveScope& scope, const std::string& source,
                                 const std::string& output) {
  if (!WritePlaceholder(output)) {
    report_.AddFailure({source, EntryFailure::NotAFile, 0, output});
    return true;
  }
  const std::string command = host_.BuildCommandLine(ShortPathForm(source), ShortPathForm(output));
  host_.ClearLatestTime();
  errorTail_.clear();
  stopped_ = false;
  try {
    host_.ConsoleIO().Run(command, std::string(), false);
  } catch (const SystemError& error) {
    RemoveFailedOutput(output);
    report_.AddFailure({source, EntryFailure::StartFailed, error.code().value(), error.what()});
    return true;
  }
  if (!WaitForEncoder(scope)) return false;
  JudgeEntry(source, output);
  return true;
}

void ConversionRun::JudgeEntry(const std::string& source, const std::string& output) {
  // Our own Stop ends the encoder as it likes (quit, or killed after the
  // wait): its partial file stays, as the user asked for it.
  if (stopped_) {
    report_.Add(EntryOutcome::Stopped);
    return;
  }
  const std::optional<TProcessExit>& exit = host_.ConsoleIO().ExitStatus();
  if (exit && exit->Succeeded()) {
    report_.Add(EntryOutcome::Converted);
    return;
  }
  EntryFailure failure{source, EntryFailure::ExitCode, -1, LastTextLine(errorTail_)};
  if (exit && !exit->Exited) {
    failure.kind = EntryFailure::Signal;
    failure.number = exit->Signal;
  } else if (exit) {
    failure.number = exit->Code;
  }
  RemoveFailedOutput(output);
  report_.AddFailure(std::move(failure));
}

void ConversionRun::ReceiveEncoderError(std::string_view text) {
  // Only the last line counts: a bounded tail keeps it whatever the encoder
  // wrote before.
  constexpr size_t kTailBytes = 4096;
  errorTail_.append(text);
  if (errorTail_.size() > 2 * kTailBytes) errorTail_.erase(0, errorTail_.size() - kTailBytes);
}

bool ConversionRun::WaitForEncoder(const ActiveScope& scope) {
  // Sleeps on the event queue until something arrives (a runner notice, a
  // repaint, a click), so the wait costs no processor time of its own.
  while (scope.Usable() && host_.ConsoleIO().IsRunning())
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return scope.Usable();
}

void ConversionRun::StopRun() {
  keepGoing_ = false;
  stopped_ = true;
  host_.ConsoleIO().Stop();
  host_.ResetStatus();
}

void ConversionRun::Shutdown() {
  closing_ = true;
  keepGoing_ = false;
  stopped_ = true;
  if (host_.ConsoleIO().IsRunning()) host_.ConsoleIO().Stop();
  DeleteTempScript();
}
