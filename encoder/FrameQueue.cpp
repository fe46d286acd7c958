// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/FrameQueue.h"

bool FrameQueue::Push(QueuedFrame item) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return closed_ || items_.size() < capacity_; });
  if (closed_) return false;
  items_.push_back(std::move(item));
  changed_.notify_all();
  return true;
}

std::optional<QueuedFrame> FrameQueue::Pop() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return closed_ || !items_.empty(); });
  if (items_.empty()) return std::nullopt;
  QueuedFrame item = std::move(items_.front());
  items_.pop_front();
  changed_.notify_all();
  return item;
}

void FrameQueue::Close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
  changed_.notify_all();
}
