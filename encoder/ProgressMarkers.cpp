// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/ProgressMarkers.h"

#include <cinttypes>

#include "engine/MarkerProtocol.h"

std::string FormatDurationText(int64_t microseconds) {
  if (microseconds < 0) microseconds = 0;
  const int64_t centis = (microseconds + 5000) / 10000;
  const int64_t seconds = centis / 100;
  char text[64];
  std::snprintf(text, sizeof text, "%02" PRId64 ":%02" PRId64 ":%02" PRId64 ".%02" PRId64,
                seconds / 3600, seconds / 60 % 60, seconds % 60, centis % 100);
  return text;
}

std::string DurationMarker(int64_t microseconds) {
  return std::string(kDurationMarkerOpen) + FormatDurationText(microseconds) +
         std::string(kDurationMarkerClose);
}

std::string TimeMarker(double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", seconds < 0 ? 0.0 : seconds);
  return std::string(kTimeMarkerOpen) + text + std::string(kTimeMarkerClose);
}

void ProgressReporter::WriteLine(const std::string& line) {
  // A reader that went away is no reason to stop converting.
  std::fputs(line.c_str(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
}

void ProgressReporter::Duration(int64_t microseconds) { WriteLine(DurationMarker(microseconds)); }

void ProgressReporter::Advance(double seconds) {
  if (seconds > position_) {
    position_ = seconds;
    pending_ = true;
  }
  const auto now = Clock::now();
  if (pending_ && now - last_ >= interval_) {
    WriteLine(TimeMarker(position_));
    pending_ = false;
    last_ = now;
  }
}

void ProgressReporter::Finish() {
  WriteLine(TimeMarker(position_));
  pending_ = false;
}
