// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "encoder/AvHandles.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

// One decoded frame on its way from the decoding thread to the encoding one;
// a null frame marks the end of the source.
struct QueuedFrame {
  int stream = -1;  // index of the source stream
  FramePtr frame;
};

// A bounded hand-over between two threads. Closing it wakes both sides: the
// producer's pushes fail from then on, the consumer still gets what is queued.
class FrameQueue {
 public:
  explicit FrameQueue(size_t capacity) : capacity_(capacity) {}

  // Waits while the queue is full; false once it is closed.
  bool Push(QueuedFrame item);
  // Waits for an item; empty only when closed and drained.
  std::optional<QueuedFrame> Pop();
  void Close();

 private:
  const size_t capacity_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<QueuedFrame> items_;
  bool closed_ = false;
};
