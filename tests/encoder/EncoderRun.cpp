// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/encoder/EncoderRun.h"

#include <gtest/gtest.h>

#include <sstream>

EncoderArgs::EncoderArgs(const std::string& source, const std::string& output)
    : args{EncoderProgram(), "-i",  source,    "-vcodec", "mpeg4", "-acodec",
           "libfaac",        "-f",  "3gp",     "-b",      "120k",  "-r",
           "14.98",          "-s",  "176x144", "-ar",     "16000", "-ab",
           "12.2k",          "-ac", "2",       "-y",      output} {}

EncoderArgs& EncoderArgs::Set(const std::string& option, const std::string& value) {
  for (size_t i = 1; i + 1 < args.size(); ++i) {
    if (args[i] == option) {
      args[i + 1] = value;
      return *this;
    }
  }
  args.insert(args.end(), {option, value});
  return *this;
}

std::string EncoderProgram() { return std::string(VELBRIN_PROGRAM_DIR) + "libm9s"; }

EncoderResult RunEncoder(const EncoderArgs& args, std::chrono::milliseconds limit) {
  ChildProcess child(args.args);
  auto code = child.Wait(limit);
  EXPECT_TRUE(code.has_value()) << "libm9s did not end within " << limit.count() << " ms";
  return {code.value_or(-1), child.Output(), child.Error(), child.OutputLines()};
}

std::vector<std::string> OwnMessages(const std::string& err) {
  std::vector<std::string> own;
  std::istringstream in(err);
  for (std::string line; std::getline(in, line);)
    if (line.starts_with("libm9s: ")) own.push_back(line);
  return own;
}
