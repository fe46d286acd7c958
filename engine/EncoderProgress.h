// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The duration and latest position taken from the encoder's marked output.
struct EncoderProgress {
  int64_t DurationSeconds = 0;
  int64_t LatestTimeSeconds = 0;
};

// What one piece of encoder text makes the progress bar and status line show.
struct ProgressView {
  int Position = 0;  // 0..99
  int64_t Span = 1;  // seconds the status line shows as [-HH:MM:SS]
};

// Value of the last complete Open...Close pair in text, or empty.
std::string ExtractMarkedValue(std::string_view text, std::string_view open,
                               std::string_view close);
// "H:M:S.f" to whole seconds; another shape gives 0; a piece that is not a
// decimal integer throws ConvertError.
int64_t ParseClockText(std::string_view text);
// Whole seconds as HH:MM:SS (hours may take more digits; a negative value gets a '-').
std::string FormatClock(int64_t seconds);
// Updates the stored values from one piece of text and returns what to show.
// A bad value throws ConvertError; the time is then left as it was, while a
// good duration read before it is kept.
ProgressView UpdateProgress(EncoderProgress& progress, std::string_view text);
// The status line: msgStatusRun's first %s filled with "i/N" (%% gives %; a pattern
// without %s shows no position), then " [-HH:MM:SS]" of span, a blank, the caption.
std::string FormatStatusLine(std::string_view msgStatusRun, int index1, int count, int64_t span,
                             std::string_view caption);
