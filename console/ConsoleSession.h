// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileDescriptor.h"

class TConsoleNotify;

// Output is handed on in pieces of at most this many bytes.
constexpr long kConsoleChunk = 1025;
// A reader takes up to this much in one read and one hand-off: a whole pipe
// buffer, so a fast child costs two thread switches per 64 KiB, not per KiB.
constexpr long kConsoleReadSize = 64 * kConsoleChunk;

// One notice of a worker for the creating thread. It is shared with the
// posted event, so a notice that was given up is never read through a
// dangling pointer; the chunk itself stays in the worker's buffer, which is
// only read while the worker waits.
struct TConsoleNotice {
  enum Kind { Output, Error, ReadFailure, Ended };
  enum State { Pending, Taken, Done, Abandoned };
  Kind kind = Output;
  const char* data = nullptr;
  long count = 0;
  std::string text;
  State state = Pending;  // guarded by the session's mutex
};

// What the workers of one started child share: its read ends, the wake-up
// used to cancel them, and the state of their hand-offs. The runner and each
// worker hold it, so nothing a worker uses dies before the worker ends.
struct TConsoleSession : std::enable_shared_from_this<TConsoleSession> {
  using Clock = std::chrono::steady_clock;

  TConsoleNotify* notify = nullptr;
  FileDescriptor outputRead;
  FileDescriptor errorRead;
  FileDescriptor cancelEvent;  // an eventfd: readable once the session is cancelled
  int processHandle = -1;      // the runner's pidfd; outlives the exit waiter

  std::mutex mutex;
  std::condition_variable changed;
  bool cancelled = false;
  int readersOpen = 2;
  int readersBusy = 0;
  Clock::time_point lastProgress{};

  std::vector<std::thread> workers;
  std::atomic<int> workersDone{0};

  // Posts the notice to the creating thread and waits until it was handled.
  // False when the session was cancelled first (the notice is given up).
  bool HandOff(const std::shared_ptr<TConsoleNotice>& notice);
  // Wakes every worker; pending hand-offs are given up, nothing more is read.
  void Cancel();
  void Start();
  bool Finished() const { return workersDone.load() == static_cast<int>(workers.size()); }
  void Join();

 private:
  void ReadPipe(FileDescriptor& pipe, TConsoleNotice::Kind kind);
  void WaitForExit();
  bool WaitForReadersAfterExit();
};
