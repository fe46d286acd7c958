// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's command line: words separated by zero bytes. Whatever it is,
// the parser answers with options inside their ranges or with a complaint.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "encoder/Options.h"

namespace {

void Check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ParseBitRate(text);
  ParseFrameRate(text);
  ParseSize(text);

  std::vector<std::string> args;
  size_t start = 0;
  while (start <= text.size() && args.size() < 64) {
    size_t end = text.find('\0', start);
    if (end == std::string::npos) end = text.size();
    args.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  const ParsedOptions parsed = ParseOptions(args);
  if (!parsed.error.empty() || parsed.options.help) return 0;
  const EncoderOptions& o = parsed.options;
  Check(!o.source.empty() && !o.output.empty(), "a path is missing");
  Check(o.width >= 2 && o.width <= 4096 && o.width % 2 == 0, "width");
  Check(o.height >= 2 && o.height <= 4096 && o.height % 2 == 0, "height");
  Check(o.videoBitRate >= 1000 && o.videoBitRate <= 100'000'000, "video bit rate");
  Check(o.audioBitRate >= 1000 && o.audioBitRate <= 100'000'000, "audio bit rate");
  Check(o.frameRate.num > 0 && o.frameRate.den > 0 && o.frameRate.num <= 120LL * o.frameRate.den,
        "frame rate");
  Check(o.sampleRate >= 1000 && o.sampleRate <= 96000, "sample rate");
  Check(o.channels == 1 || o.channels == 2, "channels");
  return 0;
}
