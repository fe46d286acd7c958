// SPDX-License-Identifier: GPL-3.0-or-later
// libm9s: converts one video file into a 3GP file with MPEG-4 video and AAC audio.
#include "encoder/Options.h"
#include "encoder/ProgressMarkers.h"
#include "encoder/StopControl.h"
#include "encoder/Transcoder.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr int kBadCommandLine = 2;
constexpr int kFailed = 1;

// The one line the user sees: control characters in file names could break it.
void Complain(const std::string& text) {
  std::string line = "libm9s: " + text;
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  line += '\n';
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedOptions parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.options.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (!parsed.error.empty()) {
    Complain(parsed.error + " (libm9s -h shows the usage)");
    return kBadCommandLine;
  }
  av_log_set_level(AV_LOG_WARNING);
  try {
    StopControl stop;
    ProgressReporter progress(stdout);
    Transcoder session(parsed.options, stop, progress);
    session.Run();
  } catch (const EncodeError& e) {
    Complain(e.what());
    return kFailed;
  } catch (const std::bad_alloc&) {
    Complain("out of memory");
    return kFailed;
  } catch (const std::exception& e) {
    Complain(std::string("unexpected failure: ") + e.what());
    return kFailed;
  }
  return 0;
}
