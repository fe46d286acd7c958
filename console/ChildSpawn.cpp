// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/ChildSpawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/SystemError.h"

extern char** environ;

namespace {

// A pipe end on 0, 1 or 2 (when our own standard streams are closed) would
// be overwritten by another end's dup2 in the child; move it higher.
FileDescriptor AboveStandard(int fd) {
  FileDescriptor owned(fd);
  if (fd > 2) return owned;
  int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
  if (moved < 0) RaiseLastOSError();
  return FileDescriptor(moved);
}

void MakePipe(FileDescriptor& readEnd, FileDescriptor& writeEnd) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) RaiseLastOSError();
  FileDescriptor first(fds[0]), second(fds[1]);
  readEnd = AboveStandard(first.Release());
  writeEnd = AboveStandard(second.Release());
}

class SpawnSetup {
 public:
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions_);
    posix_spawnattr_init(&attributes_);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attributes_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  void Check(int result) {
    if (result != 0) RaiseOSError(result);
  }
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

}  // namespace

std::string ProgramInWorkingDirectory(const std::string& name) {
  struct stat info {};
  if (name.find('/') != std::string::npos || ::stat(name.c_str(), &info) != 0 ||
      !S_ISREG(info.st_mode) || ::access(name.c_str(), X_OK) != 0)
    return {};
  // Absolute, since the child changes to its own directory before it starts.
  std::error_code error;
  const auto folder = std::filesystem::current_path(error);
  return error ? std::string() : (folder / name).string();
}

ChildPipes CreateChildPipes() {
  ChildPipes pipes;
  MakePipe(pipes.inputRead, pipes.inputWrite);
  MakePipe(pipes.outputRead, pipes.outputWrite);
  MakePipe(pipes.errorRead, pipes.errorWrite);
  return pipes;
}

pid_t SpawnChild(const std::vector<std::string>& argv, const std::string& directory,
                 const ChildPipes& pipes) {
  if (argv.empty() || argv[0].empty()) RaiseOSError(ENOENT);
  SpawnSetup setup;
  setup.Check(posix_spawn_file_actions_adddup2(&setup.actions_, pipes.inputRead.Get(), 0));
  setup.Check(posix_spawn_file_actions_adddup2(&setup.actions_, pipes.outputWrite.Get(), 1));
  setup.Check(posix_spawn_file_actions_adddup2(&setup.actions_, pipes.errorWrite.Get(), 2));
  if (!directory.empty())
    setup.Check(posix_spawn_file_actions_addchdir_np(&setup.actions_, directory.c_str()));
  // Descriptors that others opened without close-on-exec stay with us too.
  setup.Check(posix_spawn_file_actions_addclosefrom_np(&setup.actions_, 3));

  sigset_t mask, defaults;
  sigemptyset(&mask);
  sigemptyset(&defaults);
  for (int signal = 1; signal < NSIG; ++signal)
    if (signal != SIGKILL && signal != SIGSTOP) sigaddset(&defaults, signal);
  setup.Check(posix_spawnattr_setsigmask(&setup.attributes_, &mask));
  setup.Check(posix_spawnattr_setsigdefault(&setup.attributes_, &defaults));
  setup.Check(posix_spawnattr_setflags(
      &setup.attributes_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));

  std::vector<char*> words;
  for (const auto& word : argv) words.push_back(const_cast<char*>(word.c_str()));
  words.push_back(nullptr);
  pid_t pid = 0;
  const std::string local = ProgramInWorkingDirectory(argv[0]);
  if (!local.empty())
    setup.Check(posix_spawn(&pid, local.c_str(), &setup.actions_, &setup.attributes_, words.data(),
                            environ));
  else
    setup.Check(
        posix_spawnp(&pid, words[0], &setup.actions_, &setup.attributes_, words.data(), environ));
  return pid;
}
