// SPDX-License-Identifier: GPL-3.0-or-later
// A child for the profile-file tests:
//   profile_writer loop FILE        writes [setting] counter=1,2,3,... for ever,
//                                   printing "ready" after the first write
//   profile_writer write FILE S K V one write, as user nobody when run as root;
//                                   prints "ok" or the error text
#include <cstdio>
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

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "loop" && argc == 3) return Loop(argv[2]);
  if (mode == "write" && argc == 6) return WriteOnce(argv[2], argv[3], argv[4], argv[5]);
  std::fputs("usage: profile_writer loop FILE | write FILE SECTION KEY VALUE\n", stderr);
  return 2;
}
