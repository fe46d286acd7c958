// SPDX-License-Identifier: GPL-3.0-or-later
// A child for the profile-file tests:
//   profile_writer loop FILE        writes [setting] counter=1,2,3,... for ever,
//                                   printing "ready" after the first write
//   profile_writer write FILE S K V one write, as user nobody when run as root;
//                                   prints "ok" or the error text
//   profile_writer keys FILE P N    once a line or the end comes on standard input,
//                                   writes [setting] P1=1 .. PN=N, one key a call
//   profile_writer confined FILE    writes setting/outputFolder=/x/ where an open
//                                   without O_CLOEXEC fails and umask() kills;
//                                   prints "ok" or the error; exit 3: no such rule here
//   profile_writer start PROGRAM XDG [VALUE]  as nobody when run as root, with
//                                   XDG_CONFIG_HOME=XDG: starts the shared services,
//                                   writes setting/outputFolder=VALUE when given,
//                                   prints config.ini's path and the output folder
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <cstddef>
#include <string>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "common/Unit_common.h"
#include "platform/ProfileFile.h"

namespace {

constexpr uid_t kNobody = 65534;

int Loop(const std::string& file) {
  for (long i = 1;; ++i) {
    profile::WriteString(file, "setting", "counter", std::to_string(i));
    if (i == 1) {
      std::fputs("ready\n", stdout);
      std::fflush(stdout);
    }
  }
}

bool DropPrivileges() {
  if (::geteuid() == 0 &&
      (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
    std::perror("cannot drop privileges");
    return false;
  }
  return true;
}

int Write(const std::string& file, const char* section, const char* key, const char* value) {
  try {
    profile::WriteString(file, section, key, value);
    std::fputs("ok", stdout);
  } catch (const std::exception& error) {
    std::fputs(error.what(), stdout);
  }
  return 0;
}

int WriteOnce(const std::string& file, const char* section, const char* key, const char* value) {
  return DropPrivileges() ? Write(file, section, key, value) : 2;
}

int WriteKeys(const std::string& file, const std::string& prefix, int count) {
  // Waiting for the go lets the test start several writers at the same moment.
  for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
  }
  for (int i = 1; i <= count; ++i)
    profile::WriteString(file, "setting", prefix + std::to_string(i), std::to_string(i));
  return 0;
}

// Opens without O_CLOEXEC fail with EPERM, and umask() kills the process.
bool Confine() {
#if defined(__x86_64__) || defined(__aarch64__)
  auto refuseWithoutCloexec = [](long number, int flagsArg) {
    const unsigned flags = offsetof(seccomp_data, args) + 8 * flagsArg;  // the low half
    return std::vector<sock_filter>{
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<unsigned>(number), 0, 4),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, flags),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, O_CLOEXEC, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM)};
  };
  std::vector<sock_filter> code{BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                                BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_umask, 0, 1),
                                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS)};
  for (const sock_filter& op : refuseWithoutCloexec(SYS_openat, 2)) code.push_back(op);
#ifdef SYS_open
  for (const sock_filter& op : refuseWithoutCloexec(SYS_open, 1)) code.push_back(op);
#endif
  code.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
  const sock_fprog program{static_cast<unsigned short>(code.size()), code.data()};
  return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
#else
  return false;  // the rule is written for these machines' system call numbers
#endif
}

int Start(const std::string& program, const std::string& xdg, const char* value) {
  if (!DropPrivileges()) return 2;
  ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
  const TfrmCommon common(program);
  if (value) common.Config().WriteString("setting", "outputFolder", value);
  std::printf("%s\n%s", common.ConfigFileName().c_str(),
              common.Config().ReadString("setting", "outputFolder", "").c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "loop" && argc == 3) return Loop(argv[2]);
  if (mode == "write" && argc == 6) return WriteOnce(argv[2], argv[3], argv[4], argv[5]);
  if (mode == "keys" && argc == 5) return WriteKeys(argv[2], argv[3], std::atoi(argv[4]));
  if (mode == "confined" && argc == 3)
    return Confine() ? Write(argv[2], "setting", "outputFolder", "/x/") : 3;
  if (mode == "start" && (argc == 4 || argc == 5)) return Start(argv[2], argv[3], argv[4]);
  std::fputs(
      "usage: profile_writer loop FILE | write FILE SECTION KEY VALUE | keys FILE PREFIX COUNT\n",
      stderr);
  return 2;
}
