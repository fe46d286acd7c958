// SPDX-License-Identifier: GPL-3.0-or-later
// The child programs of the runner's tests: one executable, the mode first.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

namespace {

void WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) std::exit(90);
    done += static_cast<std::size_t>(n);
  }
}

// "\n", "\r", "\0" and "\\" in an argument stand for those bytes.
std::string Decode(const char* text) {
  std::string out;
  for (const char* p = text; *p; ++p) {
    if (*p != '\\' || !p[1]) {
      out += *p;
      continue;
    }
    ++p;
    out += *p == 'n' ? '\n' : *p == 'r' ? '\r' : *p == '0' ? '\0' : *p;
  }
  return out;
}

// Waits until the reader took everything from the pipe, so the next write
// becomes a chunk of its own.
void WaitDrained(int fd) {
  for (int i = 0; i < 200000; ++i) {
    int left = 0;
    if (::ioctl(fd, FIONREAD, &left) != 0 || left == 0) return;
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  std::exit(91);
}

[[noreturn]] void Idle() {
  for (;;) ::pause();
}

void IgnoreStopSignals() {
  ::signal(SIGTERM, SIG_IGN);
  ::signal(SIGINT, SIG_IGN);
}

std::string ReadAll(int fd) {
  std::string all;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0) all.append(buffer, n);
  return all;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "chunks" || mode == "errchunks") {
    int fd = mode == "chunks" ? 1 : 2;
    for (int i = 2; i < argc; ++i) {
      WriteAll(fd, Decode(argv[i]));
      WaitDrained(fd);
    }
    return 0;
  }
  if (mode == "lines") {
    int count = std::atoi(argv[2]);
    for (int i = 0; i < count; ++i) std::printf("line %d\n", i);
    return 0;
  }
  if (mode == "flood") {
    // Both streams interleaved, each in blocks larger than a reader's chunk.
    long total = std::atol(argv[2]);
    std::string block(4096, '\0');
    for (long done = 0; done < total; done += block.size()) {
      for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>((done + i) % 251);
      std::size_t size = std::min<long>(block.size(), total - done);
      WriteAll(1, block.substr(0, size));
      WriteAll(2, block.substr(0, size));
    }
    return 0;
  }
  if (mode == "echo") {
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(0, buffer, sizeof buffer)) > 0) WriteAll(1, std::string(buffer, n));
    return 0;
  }
  if (mode == "quitter") {  // ends on the line "quit"
    std::string line;
    while (std::getline(std::cin, line))
      if (line == "quit") return 0;
    return 1;
  }
  if (mode == "stubborn") {  // ignores its input and the polite signals
    IgnoreStopSignals();
    WriteAll(1, Decode(argc > 2 ? argv[2] : "ready\\n"));
    Idle();
  }
  if (mode == "closein") {  // runs on, but nobody reads its input any more
    ::close(0);
    WriteAll(1, "closed\n");
    Idle();
  }
  if (mode == "fillstdin") {  // its own standard input, filled until full
    IgnoreStopSignals();
    int fd = ::open("/proc/self/fd/0", O_WRONLY | O_NONBLOCK);
    if (fd < 0) return 92;
    std::string block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    WriteAll(1, "full\n");
    Idle();
  }
  if (mode == "fds") {
    DIR* dir = ::opendir("/proc/self/fd");
    std::string list;
    while (dirent* entry = ::readdir(dir)) {
      if (entry->d_name[0] == '.' || std::atoi(entry->d_name) == ::dirfd(dir)) continue;
      list += std::string(list.empty() ? "" : " ") + entry->d_name;
    }
    ::closedir(dir);
    WriteAll(1, list + "\n");
    std::string line;
    while (std::getline(std::cin, line))
      if (line == "quit") return 0;
    return 0;
  }
  if (mode == "signals") {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
      if (line.rfind("SigBlk:", 0) == 0 || line.rfind("SigIgn:", 0) == 0) WriteAll(1, line + "\n");
    return 0;
  }
  if (mode == "args") {
    for (int i = 2; i < argc; ++i) WriteAll(1, std::string(argv[i]) + '\0');
    return 0;
  }
  if (mode == "grandchild" || mode == "grandchild-stay") {
    if (::fork() == 0) {
      ReadAll(0);  // holds every pipe until our input is closed
      return 0;
    }
    WriteAll(1, "parent\n");
    if (mode == "grandchild-stay") {
      IgnoreStopSignals();
      Idle();
    }
    return 0;
  }
  if (mode == "stream") {
    WriteAll(1, "pid " + std::to_string(::getpid()) + "\n");
    for (long i = 0;; ++i) WriteAll(1, "tick " + std::to_string(i) + "\n");
  }
  if (mode == "cwd") {
    char buffer[4096];
    WriteAll(1, std::string(::getcwd(buffer, sizeof buffer)) + "\n");
    return 0;
  }
  if (mode == "abort") std::abort();
  if (mode == "segv") ::raise(SIGSEGV);
  if (mode == "selfkill") ::raise(SIGKILL);
  if (mode == "exit") return std::atoi(argv[2]);
  return 99;
}
