// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/FileDescriptor.h"

#include <unistd.h>

#include <cerrno>

#include "platform/SystemError.h"

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.Release();
  }
  return *this;
}

int FileDescriptor::Release() {
  int fd = fd_;
  fd_ = -1;
  return fd;
}

void FileDescriptor::Close() {
  if (fd_ < 0) return;
  // The descriptor is gone after close even when it reports an error (EINTR
  // included on Linux), so it is forgotten first.
  int fd = Release();
  if (::close(fd) != 0 && errno != EINTR) RaiseLastOSError();
}
