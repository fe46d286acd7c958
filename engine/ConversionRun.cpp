// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ConversionRun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>

#include "console/ConsoleIO.h"
#include "engine/OutputPaths.h"
#include "engine/OverwritePolicy.h"

namespace {

// The user's videos folder with its trailing '/', for a run whose output
// folder text is empty.
std::string DefaultOutputFolder() {
  const QString movies = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
  return WithTrailingSeparator(QFile::encodeName(movies).toStdString());
}

}  // namespace

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
  std::string folder = host_.OutputFolderText();
  if (folder.empty()) folder = DefaultOutputFolder();
  EnsureOutputFolder(folder);

  const int count = host_.QueueCount();
  for (int i = 0; i < count; ++i) {
    if (!keepGoing_) return;
    host_.SelectEntry(i);
    const std::string source = host_.EntryPath(i);
    const std::string shortSource = ShortPathForm(source);
    folder = WithTrailingSeparator(folder);
    std::string output = folder + OutputName(source);
    // A .3gp source in the output folder would be its own output: the
    // placeholder would truncate it before the encoder reads it.
    if (IsSameFile(output, source))
      output = AutoName(output);
    else
      output = host_.ResolveExistingOutput(output);
    if (!scope.Usable()) return;
    if (output.empty()) continue;

    WritePlaceholder(output);
    const std::string shortOutput = ShortPathForm(output);
    const std::string command = host_.BuildCommandLine(shortSource, shortOutput);
    host_.ClearLatestTime();
    host_.ConsoleIO().Run(command, std::string(), false);
    if (!WaitForEncoder(scope)) return;
  }

  host_.ResetStatus();
  if (host_.ReadAutoPowerOff()) host_.ShowPowerOffCountdown();
  if (!scope.Usable()) return;
  if (host_.AskFinishQuestion() && scope.Usable()) host_.OpenOutputFolder(folder);
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
  host_.ConsoleIO().Stop();
  host_.ResetStatus();
}

void ConversionRun::Shutdown() {
  closing_ = true;
  keepGoing_ = false;
  if (host_.ConsoleIO().IsRunning()) host_.ConsoleIO().Stop();
  DeleteTempScript();
}
