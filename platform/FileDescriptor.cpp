// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileDescriptor.h"

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

bool FileDescriptor::TryClose() {
  if (fd_ < 0) return true;
  // The descriptor is gone after close even when it reports an error (EINTR
  // included on Linux), so it is forgotten first, and EINTR is no failure.
  return ::close(Release()) == 0 || errno == EINTR;
}

void FileDescriptor::Close() {
  if (!TryClose()) RaiseLastOSError();
}
