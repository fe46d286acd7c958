// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sole owner of one open file descriptor; closes it when dropped.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  // Gives the descriptor up without closing it.
  int Release();
  // Closes the descriptor now; raises the system error when close fails.
  void Close();
  // Closes the descriptor now; false (errno set) when close reported a failure.
  // Either way the descriptor is gone afterwards.
  bool TryClose();

 private:
  int fd_ = -1;
};
