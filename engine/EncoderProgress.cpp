// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EncoderProgress.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/MarkerProtocol.h"
#include "platform/SystemError.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks and control characters: every byte up to and including the space.
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> SplitDroppingEmpty(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

// A decimal integer in 32-bit range with an optional sign; anything else is
// not a valid integer value.
int32_t ReadInteger(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) throw ConvertError(std::string(text));
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) throw ConvertError(std::string(text));
    value = value * 10 + (text[i] - '0');
    if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1)
      throw ConvertError(std::string(text));
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) throw ConvertError(std::string(text));
  return static_cast<int32_t>(value);
}

// A decimal number with '.' as its mark, rounded to whole units with halves
// going to the even neighbour. Works on the digits themselves, so the
// result is exact and does not depend on the locale; saturates at the int64 range.
int64_t ReadRoundedDecimal(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t point = text.find('.', i);
  const std::string_view whole =
      text.substr(i, point == std::string_view::npos ? text.npos : point - i);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() && fraction.empty()) throw ConvertError(std::string(text));
  for (char c : whole)
    if (!IsDigit(c)) throw ConvertError(std::string(text));
  for (char c : fraction)
    if (!IsDigit(c)) throw ConvertError(std::string(text));

  constexpr uint64_t kLimit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  uint64_t value = 0;
  bool saturated = false;
  for (char c : whole) {
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (value > (kLimit - digit) / 10) {
      saturated = true;
      break;
    }
    value = value * 10 + digit;
  }
  if (!saturated && !fraction.empty()) {
    bool up = false;
    if (fraction[0] > '5') {
      up = true;
    } else if (fraction[0] == '5') {
      const bool exactHalf = fraction.find_first_not_of('0', 1) == std::string_view::npos;
      up = !exactHalf || (value % 2 == 1);
    }
    if (up) {
      if (value == kLimit)
        saturated = true;
      else
        ++value;
    }
  }
  if (saturated) value = kLimit;
  return negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
}

// Nearest whole number of a finite value, halves to the even neighbour,
// independent of the floating-point rounding mode in force.
double RoundHalfEven(double x) {
  const double floor = std::floor(x);
  const double rest = x - floor;
  if (rest > 0.5) return floor + 1;
  if (rest < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

int BarPosition(int64_t now, int64_t span) {
  const double ratio = static_cast<double>(now) / static_cast<double>(span) * 100.0;
  if (std::isnan(ratio) || ratio <= 0) return 0;
  if (ratio >= 99) return 99;
  return static_cast<int>(RoundHalfEven(ratio));
}

std::string TwoDigits(int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

std::string ExtractMarkedValue(std::string_view text, std::string_view open,
                               std::string_view close) {
  const size_t closeAt = text.rfind(close);
  if (closeAt == std::string_view::npos || closeAt < open.size()) return {};
  const size_t openAt = text.rfind(open, closeAt - open.size());
  if (openAt == std::string_view::npos) return {};
  const size_t valueAt = openAt + open.size();
  return std::string(text.substr(valueAt, closeAt - valueAt));
}

int64_t ParseClockText(std::string_view text) {
  if (text.empty()) return 0;
  const auto pieces = SplitDroppingEmpty(text, '.');
  if (pieces.size() != 2) return 0;
  const auto clock = SplitDroppingEmpty(pieces[0], ':');
  if (clock.size() != 3) return 0;
  const int32_t hours = ReadInteger(clock[0]);
  const int32_t minutes = ReadInteger(clock[1]);
  const int32_t seconds = ReadInteger(clock[2]);
  ReadInteger(pieces[1]);  // the fraction must be an integer too; its value is not used
  // 32-bit signed arithmetic, wrapping as two's complement rather than overflowing.
  const uint32_t sum = static_cast<uint32_t>(hours) * 3600u + static_cast<uint32_t>(minutes) * 60u +
                       static_cast<uint32_t>(seconds);
  return static_cast<int64_t>(static_cast<int32_t>(sum));
}

std::string FormatClock(int64_t seconds) {
  if (seconds < 0) {
    const uint64_t magnitude = 0 - static_cast<uint64_t>(seconds);
    if (magnitude > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
      return "-" + FormatClock(std::numeric_limits<int64_t>::max());
    return "-" + FormatClock(static_cast<int64_t>(magnitude));
  }
  const int64_t hours = seconds / 3600;
  const int64_t minutes = (seconds - hours * 3600) / 60;
  const int64_t secs = seconds - hours * 3600 - minutes * 60;
  return TwoDigits(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(secs);
}

ProgressView UpdateProgress(EncoderProgress& progress, std::string_view text) {
  // Each value is stored as soon as it was read: a good duration counts even
  // when the time in the same piece turns out bad.
  const std::string duration = ExtractMarkedValue(text, kDurationMarkerOpen, kDurationMarkerClose);
  const std::string_view durationValue = Trim(duration);
  if (!durationValue.empty()) progress.DurationSeconds = ParseClockText(durationValue);

  const std::string time = ExtractMarkedValue(text, kTimeMarkerOpen, kTimeMarkerClose);
  const std::string_view timeValue = Trim(time);
  int64_t now = progress.LatestTimeSeconds;
  if (!timeValue.empty()) {
    now = ReadRoundedDecimal(timeValue);
    if (now > progress.LatestTimeSeconds) progress.LatestTimeSeconds = now;
  }

  ProgressView view;
  view.Span = progress.DurationSeconds == 0 ? 1 : progress.DurationSeconds;
  view.Position = BarPosition(now, view.Span);
  return view;
}

std::string FormatStatusLine(std::string_view msgStatusRun, int index1, int count, int64_t span,
                             std::string_view caption) {
  // The pattern is a language text: only its first %s is filled and %% gives
  // one %, every other byte stands as it is. It never reaches printf.
  const std::string position = std::to_string(index1) + "/" + std::to_string(count);
  std::string line;
  bool filled = false;
  for (size_t i = 0; i < msgStatusRun.size(); ++i) {
    const char c = msgStatusRun[i];
    if (c == '%' && i + 1 < msgStatusRun.size()) {
      const char next = msgStatusRun[i + 1];
      if (next == '%') {
        line += '%';
        ++i;
        continue;
      }
      if (next == 's' && !filled) {
        line += position;
        filled = true;
        ++i;
        continue;
      }
    }
    line += c;
  }
  line += " [-" + FormatClock(span) + "] ";
  line += caption;
  return line;
}
