// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <stdexcept>

extern char** environ;

namespace {

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// Writing to a child that has gone must fail with EPIPE, not end the test.
void IgnoreBrokenPipes() {
  static std::once_flag once;
  std::call_once(once, [] { ::signal(SIGPIPE, SIG_IGN); });
}

struct PipePair {
  int fd[2] = {-1, -1};
  PipePair() {
    if (::pipe2(fd, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  }
  ~PipePair() {
    CloseFd(fd[0]);
    CloseFd(fd[1]);
  }
  int Take(int end) {
    int f = fd[end];
    fd[end] = -1;
    return f;
  }
};

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
  if (argv.empty()) throw std::runtime_error("no command");
  IgnoreBrokenPipes();
  PipePair in, out, err;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.fd[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out.fd[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err.fd[1], 2);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const bool search = argv[0].find('/') == std::string::npos;
  int rc = search ? posix_spawnp(&pid_, args[0], &actions, &attr, args.data(), environ)
                  : posix_spawn(&pid_, args[0], &actions, &attr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) {
    pid_ = -1;
    throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(rc));
  }
  in_ = in.Take(1);
  out_fd_ = out.Take(0);
  err_fd_ = err.Take(0);
  ::fcntl(out_fd_, F_SETFL, O_NONBLOCK);
  ::fcntl(err_fd_, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
  CloseFd(in_);
  if (Running()) {
    ::kill(pid_, SIGKILL);
    Reap(true);
  }
  CloseFd(out_fd_);
  CloseFd(err_fd_);
}

bool ChildProcess::WriteInput(std::string_view bytes) {
  while (!bytes.empty() && in_ >= 0) {
    ssize_t n = ::write(in_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return bytes.empty();
}

void ChildProcess::CloseInput() { CloseFd(in_); }

void ChildProcess::Signal(int signal) {
  if (Running()) ::kill(pid_, signal);
}

void ChildProcess::Reap(bool block) {
  if (pid_ <= 0 || status_) return;
  int status = 0;
  pid_t r;
  do {
    r = ::wait4(pid_, &status, block ? 0 : WNOHANG, &usage_);
  } while (r < 0 && errno == EINTR);
  if (r == pid_) {
    ended_ = Clock::now();
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
}

void ChildProcess::Pump(std::chrono::milliseconds slice) {
  pollfd fds[2] = {{out_fd_, POLLIN, 0}, {err_fd_, POLLIN, 0}};
  int ready = ::poll(fds, 2, static_cast<int>(slice.count()));
  if (ready > 0) {
    char buffer[4096];
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        std::string_view got(buffer, static_cast<size_t>(n));
        if (i == 1) {
          err_.append(got);
          continue;
        }
        out_.append(got);
        partial_.append(got);
        const auto now = Clock::now();
        for (size_t eol; (eol = partial_.find('\n')) != std::string::npos;) {
          lines_.push_back({now, partial_.substr(0, eol)});
          partial_.erase(0, eol + 1);
        }
      } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        CloseFd(i == 0 ? out_fd_ : err_fd_);
      }
    }
  }
  Reap(false);
}

bool ChildProcess::WaitForOutput(const std::function<bool(const std::string&)>& done,
                                 std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (!done(out_)) {
    if (Clock::now() >= end) return false;
    if (!Running() && out_fd_ < 0 && err_fd_ < 0) return done(out_);
    Pump(std::chrono::milliseconds(10));
  }
  return true;
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (Running() || out_fd_ >= 0 || err_fd_ >= 0) {
    if (Clock::now() >= end) return std::nullopt;
    Pump(std::chrono::milliseconds(5));
  }
  return status_;
}

int RunCommand(const std::vector<std::string>& argv, std::chrono::milliseconds limit,
               std::string* output) {
  ChildProcess child(argv);
  child.CloseInput();
  auto code = child.Wait(limit);
  if (!code) throw std::runtime_error(argv[0] + " did not end in time");
  if (output) *output = child.Output() + child.Error();
  return *code;
}
