// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <utility>

#include <gtest/gtest.h>

#include "platform/FileDescriptor.h"
#include "platform/SystemError.h"

namespace {

bool IsOpenDescriptor(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

TEST(FileDescriptor, OwnsItsDescriptorUntilDroppedReleasedOrClosed) {
  int fds[2];
  ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
  {
    FileDescriptor read(fds[0]), write(fds[1]);
    FileDescriptor moved = std::move(read);
    EXPECT_EQ(write.Release(), fds[1]);
    moved = FileDescriptor();  // a move over an open one closes it
    EXPECT_FALSE(IsOpenDescriptor(fds[0]));
  }
  EXPECT_TRUE(IsOpenDescriptor(fds[1]));  // released: no longer the owner's to close
  FileDescriptor(fds[1]).Close();
  EXPECT_FALSE(IsOpenDescriptor(fds[1]));

  // A number that is never open: close fails, and the owner forgets it either way.
  FileDescriptor stale(INT_MAX - 1);
  EXPECT_FALSE(stale.TryClose());
  EXPECT_FALSE(stale.IsOpen());
  stale = FileDescriptor(INT_MAX - 1);
  EXPECT_THROW(stale.Close(), SystemError);
  EXPECT_FALSE(stale.IsOpen());
}

}  // namespace
