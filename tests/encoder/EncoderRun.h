// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/support/ChildProcess.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

// The encoder's command line with the converter's default choices; a value
// can be replaced by its option name afterwards.
struct EncoderArgs {
  std::vector<std::string> args;
  EncoderArgs(const std::string& source, const std::string& output);
  EncoderArgs& Set(const std::string& option, const std::string& value);
};

std::string EncoderProgram();

struct EncoderResult {
  int exitCode = -1;
  std::string out;
  std::string err;
  std::vector<ChildProcess::Line> lines;
};

// Runs the encoder to its end; fails the test (and kills it) past the limit.
EncoderResult RunEncoder(const EncoderArgs& args,
                         std::chrono::milliseconds limit = std::chrono::seconds(120));

// Lines of standard error that are the encoder's own messages.
std::vector<std::string> OwnMessages(const std::string& err);
