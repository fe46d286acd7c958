// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/FileDescriptor.h"

// The three pipes of a child: for each, the child's end and ours. Every end
// is close-on-exec and above the standard descriptors.
struct ChildPipes {
  FileDescriptor inputRead, inputWrite;
  FileDescriptor outputRead, outputWrite;
  FileDescriptor errorRead, errorWrite;
};

// Creates the three pipes; raises SystemError on failure, releasing what was made.
ChildPipes CreateChildPipes();

// The absolute path of name in our working directory when a regular file
// that we may run lies there; empty otherwise.
std::string ProgramInWorkingDirectory(const std::string& name);

// Starts argv[0] (a name without '/' is looked for in our working directory,
// then on PATH) with the child's
// ends of the pipes as its standard streams, in its own session, in
// directory (unless empty), with default signal handling and an empty signal
// mask, and with no other descriptor. Raises SystemError with the cause.
pid_t SpawnChild(const std::vector<std::string>& argv, const std::string& directory,
                 const ChildPipes& pipes);
