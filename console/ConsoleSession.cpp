// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/ConsoleSession.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

#include <QCoreApplication>

#include "console/ConsoleNotify.h"
#include "platform/SystemError.h"

namespace {

// How long the end waits, after the child exited, for a pipe that delivers
// nothing more: a grandchild may hold it open for ever.
constexpr std::chrono::milliseconds kIdlePipeBound{200};

// Blocks until fd is readable (true) or the session's wake-up fired (false).
bool WaitReadable(int fd, int cancelFd) {
  for (;;) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {cancelFd, POLLIN, 0}};
    int ready = ::poll(fds, 2, -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (fds[1].revents != 0) return false;
    if (fds[0].revents != 0) return true;
  }
}

}  // namespace

bool TConsoleSession::HandOff(const std::shared_ptr<TConsoleNotice>& notice) {
  {
    std::lock_guard lock(mutex);
    if (cancelled) return false;
  }
  QCoreApplication::postEvent(notify, new TConsoleNoticeEvent(shared_from_this(), notice));
  std::unique_lock lock(mutex);
  changed.wait(lock, [&] {
    return notice->state == TConsoleNotice::Done ||
           (cancelled && notice->state == TConsoleNotice::Pending);
  });
  if (notice->state == TConsoleNotice::Done) return true;
  notice->state = TConsoleNotice::Abandoned;
  return false;
}

void TConsoleSession::Cancel() {
  {
    std::lock_guard lock(mutex);
    cancelled = true;
  }
  changed.notify_all();
  if (cancelEvent.IsOpen()) {
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = ::write(cancelEvent.Get(), &one, sizeof one);
  }
}

void TConsoleSession::Start() {
  cancelEvent = FileDescriptor(::eventfd(0, EFD_CLOEXEC));
  if (!cancelEvent.IsOpen()) RaiseLastOSError();
  auto self = shared_from_this();
  // Each worker keeps the session alive while it runs.
  try {
    workers.emplace_back([self] { self->ReadPipe(self->outputRead, TConsoleNotice::Output); });
    workers.emplace_back([self] { self->ReadPipe(self->errorRead, TConsoleNotice::Error); });
    workers.emplace_back([self] { self->WaitForExit(); });
  } catch (...) {
    Cancel();
    Join();
    throw;
  }
}

void TConsoleSession::Join() {
  for (auto& worker : workers)
    if (worker.joinable()) worker.join();
}

void TConsoleSession::ReadPipe(FileDescriptor& pipe, TConsoleNotice::Kind kind) {
  const int fd = pipe.Get();
  char buffer[kConsoleReadSize];  // the thread's stack has room for it
  for (;;) {
    if (!WaitReadable(fd, cancelEvent.Get())) break;
    ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (count == 0) break;  // every write end is closed
    auto notice = std::make_shared<TConsoleNotice>();
    if (count < 0) {
      // A pipe that fails once fails again: report it and end this reader.
      notice->kind = TConsoleNotice::ReadFailure;
      notice->text = SystemErrorText(errno);
      HandOff(notice);
      break;
    }
    notice->kind = kind;
    notice->data = buffer;
    notice->count = count;
    {
      std::lock_guard lock(mutex);
      ++readersBusy;
    }
    bool handled = HandOff(notice);
    {
      std::lock_guard lock(mutex);
      --readersBusy;
      lastProgress = Clock::now();
    }
    if (!handled) break;
  }
  pipe = FileDescriptor();  // only this reader uses it
  {
    std::lock_guard lock(mutex);
    --readersOpen;
  }
  changed.notify_all();
  ++workersDone;
}

bool TConsoleSession::WaitForReadersAfterExit() {
  std::unique_lock lock(mutex);
  lastProgress = Clock::now();
  for (;;) {
    if (cancelled) return false;
    if (readersOpen == 0) return true;
    auto limit = lastProgress + kIdlePipeBound;
    if (readersBusy == 0 && Clock::now() >= limit) return true;
    changed.wait_until(lock, readersBusy > 0 ? Clock::now() + kIdlePipeBound : limit);
  }
}

void TConsoleSession::WaitForExit() {
  if (WaitReadable(processHandle, cancelEvent.Get()) && WaitForReadersAfterExit()) {
    auto notice = std::make_shared<TConsoleNotice>();
    notice->kind = TConsoleNotice::Ended;
    HandOff(notice);
  }
  ++workersDone;
}
