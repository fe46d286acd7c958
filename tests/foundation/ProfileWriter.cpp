// SPDX-License-Identifier: GPL-3.0-or-later
// A child for the profile-file tests:
//   profile_writer loop FILE        writes [setting] counter=1,2,3,... for ever,
//                                   printing "ready" after the first write
//   profile_writer write FILE S K V one write, as user nobody when run as root;
//                                   prints "ok" or the error text
//   profile_writer keys FILE P N    once a line or the end comes on standard input,
//                                   writes [setting] P1=1 .. PN=N, one key a call
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include <grp.h>
#include <unistd.h>

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

int WriteOnce(const std::string& file, const char* section, const char* key, const char* value) {
  if (::geteuid() == 0 &&
      (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
    std::perror("cannot drop privileges");
    return 2;
  }
  try {
    profile::WriteString(file, section, key, value);
    std::fputs("ok", stdout);
  } catch (const std::exception& error) {
    std::fputs(error.what(), stdout);
  }
  return 0;
}

int WriteKeys(const std::string& file, const std::string& prefix, int count) {
  // Waiting for the go lets the test start several writers at the same moment.
  for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
  }
  for (int i = 1; i <= count; ++i)
    profile::WriteString(file, "setting", prefix + std::to_string(i), std::to_string(i));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "loop" && argc == 3) return Loop(argv[2]);
  if (mode == "write" && argc == 6) return WriteOnce(argv[2], argv[3], argv[4], argv[5]);
  if (mode == "keys" && argc == 5) return WriteKeys(argv[2], argv[3], std::atoi(argv[4]));
  std::fputs(
      "usage: profile_writer loop FILE | write FILE SECTION KEY VALUE | keys FILE PREFIX COUNT\n",
      stderr);
  return 2;
}
