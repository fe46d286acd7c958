// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/ConsoleIO.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
// glibc 2.36 declares these without C linkage for C++.
extern "C" {
#include <sys/pidfd.h>
}
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <stdexcept>
#include <thread>

#include "console/ChildSpawn.h"
#include "console/ConsoleErrorSink.h"
#include "console/ConsoleNotify.h"
#include "console/ConsoleSession.h"
#include "platform/ShellWords.h"
#include "platform/SystemError.h"

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until deadline for poll: -1 when there is none.
int Remaining(const std::optional<Clock::time_point>& deadline) {
  if (!deadline) return -1;
  auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Writing to a pipe whose reader is gone raises SIGPIPE, which would end
// the program; it is held back on this thread and a signal it caused is
// taken away again, so the write just fails with EPIPE.
class SigpipeBlock {
 public:
  SigpipeBlock() {
    sigemptyset(&pipeSet_);
    sigaddset(&pipeSet_, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSet_, &previous_);
    sigset_t pending;
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
  }
  ~SigpipeBlock() {
    if (raised_ && !wasPending_) {
      timespec none{};
      while (sigtimedwait(&pipeSet_, nullptr, &none) < 0 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  SigpipeBlock(const SigpipeBlock&) = delete;
  SigpipeBlock& operator=(const SigpipeBlock&) = delete;
  void Raised() { raised_ = true; }

 private:
  sigset_t pipeSet_, previous_;
  bool wasPending_ = false;
  bool raised_ = false;
};

// Writes all of text; with a deadline it never blocks past it and returns
// false when time ran out. Raises SystemError when the write fails.
bool WriteAll(int fd, const std::string& text, std::optional<Clock::time_point> deadline) {
  if (fd < 0) RaiseOSError(EBADF);
  SigpipeBlock block;
  std::size_t done = 0;
  while (done < text.size()) {
    // Waiting here, not spinning on EAGAIN, when the end is non-blocking.
    pollfd target{fd, POLLOUT, 0};
    int ready = ::poll(&target, 1, Remaining(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) RaiseLastOSError();
    if (ready == 0) return false;
    ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      if (errno == EPIPE) block.Raised();
      RaiseLastOSError();
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// The pipe end in non-blocking mode for the lifetime of this object.
class NonBlocking {
 public:
  explicit NonBlocking(int fd) : fd_(fd), flags_(fd >= 0 ? ::fcntl(fd, F_GETFL) : -1) {
    if (flags_ >= 0) ::fcntl(fd_, F_SETFL, flags_ | O_NONBLOCK);
  }
  ~NonBlocking() {
    if (flags_ >= 0) ::fcntl(fd_, F_SETFL, flags_);
  }
  NonBlocking(const NonBlocking&) = delete;
  NonBlocking& operator=(const NonBlocking&) = delete;

 private:
  int fd_;
  int flags_;
};

// Reaps the child; the way it ended, when waitpid tells.
std::optional<TProcessExit> Reap(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return std::nullopt;
  if (WIFEXITED(status)) return TProcessExit{true, WEXITSTATUS(status), 0};
  if (WIFSIGNALED(status)) return TProcessExit{false, 0, WTERMSIG(status)};
  return std::nullopt;
}

// The moment a wait of timeoutMs milliseconds ends; none for a negative count.
std::optional<Clock::time_point> DeadlineAfter(int timeoutMs) {
  if (timeoutMs < 0) return std::nullopt;
  return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

// Writes to the child's input without blocking past the deadline, so a child
// that reads nothing cannot hold this thread; false when time ran out.
bool WriteBounded(int fd, const std::string& text, std::optional<Clock::time_point> deadline) {
  NonBlocking mode(fd);
  return WriteAll(fd, text, deadline);
}

bool HasExited(int pidfd, int timeoutMs) {
  const auto deadline = DeadlineAfter(timeoutMs);
  for (;;) {
    pollfd process{pidfd, POLLIN, 0};
    int ready = ::poll(&process, 1, Remaining(deadline));
    if (ready < 0 && errno == EINTR) continue;
    return ready > 0;
  }
}

}  // namespace

TConsoleIO::TConsoleIO(QObject* owner)
    : QObject(owner),
      NotifyWindow(std::make_unique<TConsoleNotify>(
          [this](TConsoleSession& session, TConsoleNotice& notice) {
            HandleNotice(session, notice);
          })) {}

TConsoleIO::~TConsoleIO() {
  // From here on a handler's Run is refused: its workers would outlive us.
  destroying_ = true;
  RunReportingErrors([this] {
    if (stopProcessOnFree_) Stop();
  });
  // No worker may wait for this thread any longer: give up their hand-offs.
  if (session_) {
    session_->Cancel();
    endedSessions_.push_back(std::move(session_));
  }
  JoinEndedSessions(true);
  RunReportingErrors([this] {
    // After a kill the child ends at once; reap it here.
    CloseProcess(stopProcessOnFree_ && enableKill_ ? -1 : 0);
    inputWrite_.Close();
  });
  NotifyWindow.reset();
}

void TConsoleIO::Run(const std::string& CommandLine, const std::string& CurrentDirectory,
                     bool ShowWindow) {
  (void)ShowWindow;  // console children have no window on this platform
  // Checked before anything starts, so no child is ever left unrecorded.
  if (IsRunning()) throw std::logic_error("Assertion failure");
  if (destroying_) throw std::logic_error("The console runner is being destroyed");
  exitStatus_.reset();
  JoinEndedSessions(false);

  auto words = SplitShellWords(CommandLine);
  if (!words) RaiseOSError(EINVAL);
  if (words->empty()) RaiseOSError(ENOENT);

  ChildPipes pipes = CreateChildPipes();
  auto session = std::make_shared<TConsoleSession>();
  session->notify = NotifyWindow.get();
  pid_t pid = SpawnChild(*words, CurrentDirectory, pipes);
  FileDescriptor handle(::pidfd_open(pid, 0));
  int openError = errno;
  if (handle.IsOpen()) {
    session->processHandle = handle.Get();
    session->outputRead = std::move(pipes.outputRead);
    session->errorRead = std::move(pipes.errorRead);
    try {
      session->Start();
    } catch (const std::system_error& error) {  // SystemError and the threads' own
      openError = error.code().value();
      handle = FileDescriptor();
    }
  }
  if (!handle.IsOpen()) {
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    RaiseOSError(openError);
  }
  // The child holds its own ends; ours would keep the readers from ever
  // seeing the end of the child's output.
  pipes.inputRead.Close();
  pipes.outputWrite.Close();
  pipes.errorWrite.Close();
  inputWrite_ = std::move(pipes.inputWrite);
  PendingOutput();
  session_ = std::move(session);
  SetProcessHandle(pid, std::move(handle));
}

void TConsoleIO::Send(const std::string& Text) {
  if (!WriteBounded(inputWrite_.Get(), Text + SendTerminator(), DeadlineAfter(waitTimeout_)))
    RaiseOSError(ETIMEDOUT);
}

void TConsoleIO::Stop() {
  if (!IsRunning()) return;
  const auto deadline = DeadlineAfter(waitTimeout_);
  if (!terminateCommand_.empty()) {
    try {
      WriteBounded(inputWrite_.Get(), terminateCommand_ + SendTerminator(), deadline);
    } catch (const SystemError&) {
      // The child no longer reads (it has gone or is going); Stop reports nothing.
    }
  }
  if (!enableKill_) return;
  if (terminateCommand_.empty() || !WaitForChild(Remaining(deadline))) KillChild();
}

std::string TConsoleIO::SendTerminator() const {
  if (!splitSend_ || splitMode_ == smNone) return {};
  if (splitMode_ == sm0D0A) return "\r\n";
  return std::string(1, splitChar_);
}

void TConsoleIO::KillChild() {
  if (processHandle_.IsOpen()) ::pidfd_send_signal(processHandle_.Get(), SIGKILL, nullptr, 0);
}

bool TConsoleIO::WaitForChild(int timeoutMs) {
  return processHandle_.IsOpen() && HasExited(processHandle_.Get(), timeoutMs);
}

void TConsoleIO::HandleNotice(TConsoleSession& session, TConsoleNotice& notice) {
  {
    std::lock_guard lock(session.mutex);
    if (notice.state != TConsoleNotice::Pending) return;
    notice.state = TConsoleNotice::Taken;
  }
  // Notices of a child that has already been reported as ended are dropped:
  // its output belongs to no run any more.
  ++handlingNotices_;
  // The worker must hear that its notice is done, whatever happens here.
  RunReportingErrors([&] {
    if (&session == session_.get()) {
      switch (notice.kind) {
        case TConsoleNotice::Output:
        case TConsoleNotice::Error:
          DeliverChunk(session, notice);
          break;
        case TConsoleNotice::ReadFailure:
          Deliver(OnError, notice.text);
          break;
        case TConsoleNotice::Ended:
          ProcessEnded();
          break;
      }
    }
  });
  --handlingNotices_;
  {
    std::lock_guard lock(session.mutex);
    notice.state = TConsoleNotice::Done;
  }
  session.changed.notify_all();
}

void TConsoleIO::Deliver(const TReceiveEvent& event, const std::string& text) {
  if (event) RunReportingErrors([&] { event(this, text); });
}

void TConsoleIO::DeliverChunk(TConsoleSession& session, const TConsoleNotice& notice) {
  // A read takes what the pipe holds at once; it is handed on in the pieces
  // that reads of kConsoleChunk bytes would have given, one after the other.
  for (long at = 0; at < notice.count && &session == session_.get(); at += kConsoleChunk) {
    long count = std::min(kConsoleChunk, notice.count - at);
    if (notice.kind == TConsoleNotice::Output)
      DeliverOutput(notice.data + at, count);
    else
      DeliverError(notice.data + at, count);
  }
}

void TConsoleIO::DeliverOutput(const char* data, long count) {
  if (count <= 0) return;
  ReceiveBuffer.append(data, static_cast<std::size_t>(count));
  if (!OnReceiveOutput) return;
  if (!splitReceive_ || splitMode_ == smNone) {
    std::string whole = PendingOutput();
    Deliver(OnReceiveOutput, whole);
    return;
  }
  const std::string separator =
      splitMode_ == sm0D0A ? std::string("\r\n") : std::string(1, splitChar_);
  for (;;) {
    std::size_t end = ReceiveBuffer.find(separator, receiveStart_);
    if (end == std::string::npos) break;
    std::string piece = ReceiveBuffer.substr(receiveStart_, end - receiveStart_);
    // Taken before the handler runs, so a handler that pumps events sees a
    // consistent buffer and a handler that raises does not get its piece again.
    // The front is dropped once per chunk, not once per piece.
    receiveStart_ = end + separator.size();
    Deliver(OnReceiveOutput, piece);
  }
  ReceiveBuffer.erase(0, std::min(receiveStart_, ReceiveBuffer.size()));
  receiveStart_ = 0;
}

std::string TConsoleIO::PendingOutput() {
  std::string rest = ReceiveBuffer.substr(std::min(receiveStart_, ReceiveBuffer.size()));
  ReceiveBuffer.clear();
  receiveStart_ = 0;
  return rest;
}

void TConsoleIO::DeliverError(const char* data, long count) {
  if (count <= 0 || !OnReceiveError) return;
  Deliver(OnReceiveError, std::string(data, static_cast<std::size_t>(count)));
}

void TConsoleIO::ProcessEnded() {
  std::string rest = PendingOutput();
  if (OnReceiveOutput) Deliver(OnReceiveOutput, rest);
  // Taken out first: the status handler may already start the next child.
  std::shared_ptr<TConsoleSession> ended = std::move(session_);
  FileDescriptor input = std::move(inputWrite_);
  RunReportingErrors([this] { CloseProcess(0); });
  if (ended) {
    ended->Cancel();
    endedSessions_.push_back(std::move(ended));
  }
  RunReportingErrors([&] { input.Close(); });
}

void TConsoleIO::CloseProcess(int waitMs) {
  if (processId_ == 0) return;
  pid_t pid = processId_;
  FileDescriptor handle = std::move(processHandle_);
  if (HasExited(handle.Get(), waitMs)) {
    exitStatus_ = Reap(pid);
  } else {
    // Left running (no kill allowed): reap it whenever it ends, without us.
    std::thread([pid] {
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  }
  SetProcessHandle(0, FileDescriptor());
  handle.Close();
}

void TConsoleIO::SetProcessHandle(pid_t pid, FileDescriptor handle) {
  if (pid == processId_) return;
  if (pid != 0 && processId_ != 0) throw std::logic_error("Assertion failure");
  processId_ = pid;
  processHandle_ = std::move(handle);
  if (OnProcessStatusChange)
    RunReportingErrors([this] { OnProcessStatusChange(this, IsRunning()); });
}

void TConsoleIO::JoinEndedSessions(bool all) {
  for (auto it = endedSessions_.begin(); it != endedSessions_.end();) {
    if (all || (*it)->Finished()) {
      (*it)->Join();
      it = endedSessions_.erase(it);
    } else {
      ++it;
    }
  }
}
