// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One real child process with its three standard streams on pipes. The
// destructor kills and reaps a child that is still running.
class ChildProcess {
 public:
  using Clock = std::chrono::steady_clock;
  struct Line {
    Clock::time_point arrived;
    std::string text;
  };

  // Starts argv[0] (a path, not searched in PATH unless it has no '/').
  // Throws std::runtime_error when the process cannot be started.
  explicit ChildProcess(const std::vector<std::string>& argv);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  // Writes to the child's standard input; false when the child no longer reads.
  bool WriteInput(std::string_view bytes);
  void CloseInput();
  void Signal(int signal);

  // Reads output until the predicate over standard output holds, the child
  // ends, or the limit passes. Returns whether the predicate held.
  bool WaitForOutput(const std::function<bool(const std::string&)>& done,
                     std::chrono::milliseconds limit);
  // Waits for the end (reading all output meanwhile); the exit code, or
  // 128 + signal number; empty when the limit passed first.
  std::optional<int> Wait(std::chrono::milliseconds limit);

  bool Running() const { return pid_ > 0 && !status_; }
  const std::string& Output() const { return out_; }
  const std::string& Error() const { return err_; }
  // Complete standard-output lines (without the line feed), stamped when read.
  const std::vector<Line>& OutputLines() const { return lines_; }
  // The moment the end was seen, and the resources the child used.
  Clock::time_point EndedAt() const { return ended_; }
  const rusage& Usage() const { return usage_; }

 private:
  void Pump(std::chrono::milliseconds slice);
  void Reap(bool block);

  pid_t pid_ = -1;
  int in_ = -1, out_fd_ = -1, err_fd_ = -1;
  std::string out_, err_, partial_;
  std::vector<Line> lines_;
  std::optional<int> status_;
  Clock::time_point ended_{};
  rusage usage_{};
};

// Runs a command to its end and returns its exit code (128 + signal when
// killed); output goes into *output when given. Throws when it cannot start
// or does not end within the limit.
int RunCommand(const std::vector<std::string>& argv, std::chrono::milliseconds limit,
               std::string* output = nullptr);
