// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

// "HH:MM:SS.ff" for a duration in microseconds (hours may take more digits).
std::string FormatDurationText(int64_t microseconds);
// The two marker lines, without the line feed.
std::string DurationMarker(int64_t microseconds);
std::string TimeMarker(double seconds);

// Writes the markers to a stream, each as its own flushed line; time markers
// at most every interval, except the last one.
class ProgressReporter {
 public:
  using Clock = std::chrono::steady_clock;
  explicit ProgressReporter(std::FILE* out,
                            std::chrono::milliseconds interval = std::chrono::milliseconds(250))
      : out_(out), interval_(interval) {}

  void Duration(int64_t microseconds);
  // The output has advanced to this many seconds; printed when due.
  void Advance(double seconds);
  // The final position, printed whatever the interval.
  void Finish();

 private:
  void WriteLine(const std::string& line);

  std::FILE* out_;
  std::chrono::milliseconds interval_;
  double position_ = 0;
  bool pending_ = false;
  Clock::time_point last_{};
};
