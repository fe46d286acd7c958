// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

// A real child process with its standard output on a pipe.
class WriterChild {
 public:
  explicit WriterChild(const std::vector<std::string>& argv);
  ~WriterChild();
  WriterChild(const WriterChild&) = delete;
  WriterChild& operator=(const WriterChild&) = delete;

  // Reads up to the next line feed (without it); empty at end of output.
  std::string ReadLine();
  // Everything the child still prints, until it closes its output.
  std::string ReadAll();
  void Kill(int signal);
  // Waits for the child and returns its wait status.
  int Wait();

 private:
  pid_t pid_ = -1;
  int out_ = -1;
};
