// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/StopControl.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

// Every request to stop, from a signal or a quit line; signal handlers may
// only touch lock-free atomics.
std::atomic<int> stopRequests{0};
static_assert(std::atomic<int>::is_always_lock_free);

// The parent we were started by. Its death arrives as SIGTERM once for each
// of its threads that our parenthood passes through while it dies: that is
// one request, never the second one that ends us at once.
std::atomic<pid_t> startingParent{0};
static_assert(std::atomic<pid_t>::is_always_lock_free);

extern "C" void OnStopSignal(int signal, siginfo_t* info, void*) {
  const bool fromParent = signal == SIGTERM && info != nullptr && info->si_pid != 0 &&
                          info->si_pid == startingParent.load();
  if (stopRequests.fetch_add(1) >= 1 && !fromParent) {
    // A second request: end now, with the signal's own default effect.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    ::_exit(128 + signal);
  }
}

void InstallHandlers() {
  struct sigaction action {};
  action.sa_sigaction = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_SIGINFO;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // A reader that went away must show up as a write error, not kill us.
  ::signal(SIGPIPE, SIG_IGN);
}

// The encoder never outlives the program that started it: the death of the
// parent arrives as SIGTERM, the orderly stop. A parent that died before this
// point is no longer our parent; Velbrin names itself in LIBM9S_PARENT_PID,
// and a named program that is gone while we were reparented means just that.
// (A still-living one that is not our parent only passed the name on.)
void StopWithParent() {
  startingParent = ::getppid();
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  const char* named = std::getenv("LIBM9S_PARENT_PID");
  if (named == nullptr || *named == '\0') return;
  const pid_t parent = static_cast<pid_t>(std::atol(named));
  if (parent > 1 && ::getppid() != parent && ::kill(parent, 0) != 0 && errno == ESRCH)
    stopRequests.fetch_add(1);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

}  // namespace

bool IsQuitLine(const char* begin, const char* end) {
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
  return std::string(begin, end) == "quit";
}

StopControl::StopControl() {
  InstallHandlers();
  StopWithParent();
  int wake[2];
  if (::pipe2(wake, O_CLOEXEC) != 0) return;
  wakeRead_ = FileDescriptor(wake[0]);
  wakeWrite_ = FileDescriptor(wake[1]);
  watcher_ = std::thread([this] { WatchInput(); });
}

StopControl::~StopControl() {
  wakeWrite_.TryClose();  // wakes the watcher's poll
  if (watcher_.joinable()) watcher_.join();
}

bool StopControl::Requested() const { return stopRequests.load() > 0; }

int StopControl::InterruptCallback(void* control) {
  return static_cast<const StopControl*>(control)->Requested() ? 1 : 0;
}

void StopControl::WatchInput() {
  std::string line;
  bool input = true;
  while (true) {
    pollfd fds[2] = {{input ? 0 : -1, POLLIN, 0}, {wakeRead_.Get(), POLLIN, 0}};
    int ready = ::poll(fds, 2, -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    if (fds[0].revents == 0) continue;
    char buffer[256];
    ssize_t n = ::read(0, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) {
      input = false;  // the end of input is no request to stop
      continue;
    }
    line.append(buffer, static_cast<size_t>(n));
    for (size_t eol; (eol = line.find('\n')) != std::string::npos; line.erase(0, eol + 1)) {
      if (IsQuitLine(line.data(), line.data() + eol)) {
        stopRequests.fetch_add(1);  // a signal after it is the second request
        return;
      }
    }
    if (line.size() > 4096) line.erase(0, line.size() - 16);  // a line without end: keep a tail
  }
}
