// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/foundation/WriterChild.h"

#include <cerrno>
#include <csignal>
#include <stdexcept>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

WriterChild::WriterChild(const std::vector<std::string>& argv) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  int rc = ::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  out_ = fds[0];
  if (rc != 0) {
    pid_ = -1;
    throw std::runtime_error("cannot start " + argv[0]);
  }
}

WriterChild::~WriterChild() {
  if (pid_ > 0) {
    Kill(SIGKILL);
    Wait();
  }
  if (out_ >= 0) ::close(out_);
}

std::string WriterChild::ReadLine() {
  std::string line;
  char c;
  for (;;) {
    ssize_t n = ::read(out_, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || c == '\n') return line;
    line += c;
  }
}

std::string WriterChild::ReadAll() {
  std::string text;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(out_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return text;
    text.append(buffer, static_cast<size_t>(n));
  }
}

void WriterChild::Kill(int signal) {
  if (pid_ > 0) ::kill(pid_, signal);
}

int WriterChild::Wait() {
  int status = 0;
  while (pid_ > 0 && ::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  return status;
}
