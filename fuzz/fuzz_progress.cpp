// SPDX-License-Identifier: GPL-3.0-or-later
// Encoder text in pieces, as the runner hands it on: the progress never
// crashes, the bar never passes 99, and the only error is the conversion error.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/EncoderProgress.h"
#include "platform/SystemError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  EncoderProgress progress;
  while (in.remaining_bytes() > 0) {
    const std::string piece = in.ConsumeRandomLengthString(1025);
    try {
      ParseClockText(piece);
    } catch (const ConvertError&) {
    }
    const EncoderProgress kept = progress;
    try {
      const ProgressView view = UpdateProgress(progress, piece);
      if (view.Position < 0 || view.Position > 99 || view.Span == 0) {
        std::fprintf(stderr, "bar %d, span %lld\n", view.Position,
                     static_cast<long long>(view.Span));
        std::abort();
      }
      FormatStatusLine(piece, 1, 2, view.Span, piece);
    } catch (const ConvertError&) {
      if (progress.LatestTimeSeconds != kept.LatestTimeSeconds) {
        std::fprintf(stderr, "a bad time moved the stored position\n");
        std::abort();
      }
    }
    FormatClock(progress.DurationSeconds);
    FormatClock(progress.LatestTimeSeconds);
  }
  return 0;
}
