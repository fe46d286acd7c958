// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An exact frame rate such as 749/50 for "14.98".
struct Rate {
  int num = 0;
  int den = 1;
};

// Everything one conversion is asked to do; the defaults are the converter's
// default choices.
struct EncoderOptions {
  std::string source;
  std::string output;
  int64_t videoBitRate = 120000;  // bit/s
  Rate frameRate{749, 50};
  int width = 176;
  int height = 144;
  int sampleRate = 16000;
  int64_t audioBitRate = 12200;  // bit/s
  int channels = 2;
  bool help = false;
};

struct ParsedOptions {
  EncoderOptions options;
  std::string error;  // empty when the command line was usable
};

// Reads the command line (without the program name). Options may come in any
// order; the last of a repeated option counts.
ParsedOptions ParseOptions(const std::vector<std::string>& args);

// "120k", "12.2k", "4.75k", "1.5M", "64000" in bit/s; empty for anything else.
std::optional<int64_t> ParseBitRate(std::string_view text);
// "14.98", "7", "25.000" as an exact fraction; empty for anything else.
std::optional<Rate> ParseFrameRate(std::string_view text);
// "176x144"; empty for anything else.
std::optional<std::pair<int, int>> ParseSize(std::string_view text);

std::string UsageText();
