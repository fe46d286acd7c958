// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <thread>

#include "platform/FileDescriptor.h"

// Watches for the requests to stop early: a line "quit" on standard input
// and SIGINT/SIGTERM. The first request asks for an orderly stop; a signal
// after it ends the process at once. One instance per process.
class StopControl {
 public:
  StopControl();
  ~StopControl();
  StopControl(const StopControl&) = delete;
  StopControl& operator=(const StopControl&) = delete;

  bool Requested() const;
  // The flag itself, for FFmpeg's interrupt callback.
  static int InterruptCallback(void* control);

 private:
  void WatchInput();

  FileDescriptor wakeRead_;   // the watcher polls it beside standard input
  FileDescriptor wakeWrite_;  // closed at the end, which wakes the watcher
  std::thread watcher_;
};

// True when a line read from standard input asks to stop.
bool IsQuitLine(const char* begin, const char* end);
