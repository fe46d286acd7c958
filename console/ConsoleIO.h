// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QObject>

#include "platform/FileDescriptor.h"

class TConsoleIO;
class TConsoleNotify;
struct TConsoleNotice;
struct TConsoleSession;

// How standard output is cut into pieces, and which terminator Send appends.
enum TSplitMode : std::uint8_t { smNone = 0, sm0D0A = 1, smSplitchar = 2 };

// How a child ended, as waitpid reported it: by exit with a code, or by a signal.
struct TProcessExit {
  bool Exited = false;  // true: Code holds the exit code; false: Signal ended it
  int Code = 0;
  int Signal = 0;
  bool Succeeded() const { return Exited && Code == 0; }
};

// One piece of the child's text; bytes one for one, zero bytes included.
using TReceiveEvent = std::function<void(TConsoleIO* Sender, const std::string& Cmd)>;
using TProcessStatusChangeEvent = std::function<void(TConsoleIO* Sender, bool IsRunning)>;

// Runs one console program at a time with its standard streams on pipes.
// What the child writes arrives as events on the thread that created the
// runner; worker threads hand each piece over and wait until it was handled.
// Everything except the workers runs on the creating thread. The runner must
// not be destroyed from inside one of its own event handlers.
class TConsoleIO : public QObject {
  Q_OBJECT

 public:
  explicit TConsoleIO(QObject* owner = nullptr);
  ~TConsoleIO() override;

  // Starts the child: the command text is split into words by shell rules
  // (quotes and backslashes, no expansion), the first word is the program (a
  // path; a name without '/' is looked for in our working directory first,
  // then on PATH, as the platform's own search does). An empty CurrentDirectory
  // keeps ours. ShowWindow has no effect: a console child has no window here.
  // Raises SystemError when the child cannot be started, std::logic_error
  // "Assertion failure" when a child is still recorded, and std::logic_error
  // when called (from a handler) while the runner is being destroyed.
  void Run(const std::string& CommandLine, const std::string& CurrentDirectory, bool ShowWindow);
  // Writes Text and the send terminator to the child's standard input,
  // waiting at most WaitTimeout for a child that does not read (then
  // SystemError ETIMEDOUT). Raises SystemError when there is no child to write to.
  void Send(const std::string& Text);
  // Writes TerminateCommand, and with EnableKill waits up to WaitTimeout and
  // kills the child. Never blocks much longer than WaitTimeout; reports nothing.
  void Stop();
  bool IsRunning() const { return processId_ != 0; }
  // How the last child ended: set before OnProcessStatusChange(false) fires
  // and kept until the next Run; empty while a child runs, before the first
  // one, and when the child was left running unreaped (no kill allowed).
  const std::optional<TProcessExit>& ExitStatus() const { return exitStatus_; }
  // True while one of its events runs: the runner must not be destroyed then.
  bool IsHandlingNotice() const { return handlingNotices_ > 0; }

  std::string TerminateCommand() const { return terminateCommand_; }
  void SetTerminateCommand(std::string value) { terminateCommand_ = std::move(value); }
  bool StopProcessOnFree() const { return stopProcessOnFree_; }
  void SetStopProcessOnFree(bool value) { stopProcessOnFree_ = value; }
  bool EnableKill() const { return enableKill_; }
  void SetEnableKill(bool value) { enableKill_ = value; }
  // Milliseconds; any negative value waits without limit.
  std::int32_t WaitTimeout() const { return waitTimeout_; }
  void SetWaitTimeout(std::int32_t value) { waitTimeout_ = value; }
  TSplitMode SplitMode() const { return splitMode_; }
  void SetSplitMode(TSplitMode value) { splitMode_ = value; }
  char SplitChar() const { return splitChar_; }
  void SetSplitChar(char value) { splitChar_ = value; }
  bool SplitReceive() const { return splitReceive_; }
  void SetSplitReceive(bool value) { splitReceive_ = value; }
  bool SplitSend() const { return splitSend_; }
  void SetSplitSend(bool value) { splitSend_ = value; }

  // Events; an empty one is skipped. An exception leaving a handler goes to
  // the console error sink (ConsoleErrorSink.h) and the runner goes on.
  TReceiveEvent OnReceiveOutput;
  TReceiveEvent OnReceiveError;
  TReceiveEvent OnError;
  TProcessStatusChangeEvent OnProcessStatusChange;

 private:
  void HandleNotice(TConsoleSession& session, TConsoleNotice& notice);
  void DeliverChunk(TConsoleSession& session, const TConsoleNotice& notice);
  void DeliverOutput(const char* data, long count);
  // Empties the receive buffer and returns what was not yet handed on.
  std::string PendingOutput();
  void DeliverError(const char* data, long count);
  void ProcessEnded();
  // Reaps and forgets the child; waitMs bounds the wait for its end (-1: none).
  void CloseProcess(int waitMs);
  void SetProcessHandle(pid_t pid, FileDescriptor handle);
  void Deliver(const TReceiveEvent& event, const std::string& text);
  std::string SendTerminator() const;
  void JoinEndedSessions(bool all);
  void KillChild();
  bool WaitForChild(int timeoutMs);

  std::unique_ptr<TConsoleNotify> NotifyWindow;
  FileDescriptor inputWrite_;  // our end of the child's standard input
  pid_t processId_ = 0;        // 0 = no child recorded
  std::optional<TProcessExit> exitStatus_;
  FileDescriptor processHandle_;  // pidfd of the recorded child
  std::shared_ptr<TConsoleSession> session_;
  std::vector<std::shared_ptr<TConsoleSession>> endedSessions_;

  std::string terminateCommand_ = "quit";
  bool enableKill_ = false;
  std::int32_t waitTimeout_ = 1000;
  bool stopProcessOnFree_ = true;

  std::string ReceiveBuffer;
  bool destroying_ = false;       // the destructor has begun: Run is refused
  int handlingNotices_ = 0;       // notices being handled now (a handler may pump events)
  std::size_t receiveStart_ = 0;  // ReceiveBuffer's text before this was handed on

  bool splitReceive_ = true;
  bool splitSend_ = true;
  char splitChar_ = '\n';
  TSplitMode splitMode_ = sm0D0A;
};
