// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/Options.h"

#include <charconv>
#include <cstdlib>
#include <numeric>

namespace {

constexpr int kMaxSide = 4096;

// Digits with at most one '.', at least one digit before or after it. The
// value comes back as mantissa / 10^decimals so no rounding happens.
struct Decimal {
  int64_t mantissa = 0;
  int decimals = 0;
};

std::optional<Decimal> ParseDecimal(std::string_view text, int maxDecimals) {
  Decimal d;
  bool dot = false, digit = false;
  for (char c : text) {
    if (c == '.' && !dot) {
      dot = true;
    } else if (c >= '0' && c <= '9') {
      if (dot && ++d.decimals > maxDecimals) return std::nullopt;
      if (d.mantissa > (INT64_MAX - 9) / 10) return std::nullopt;
      d.mantissa = d.mantissa * 10 + (c - '0');
      digit = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digit) return std::nullopt;
  return d;
}

std::optional<int> ParseInt(std::string_view text, int low, int high) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
    return std::nullopt;
  return value;
}

int64_t Pow10(int n) {
  int64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

enum class Field {
  Source,
  VideoCodec,
  AudioCodec,
  Format,
  VideoRate,
  FrameRate,
  Size,
  SampleRate,
  AudioRate,
  Channels,
  Output
};

struct OptionName {
  const char* name;
  Field field;
};

constexpr OptionName kOptions[] = {
    {"-i", Field::Source},    {"-vcodec", Field::VideoCodec}, {"-acodec", Field::AudioCodec},
    {"-f", Field::Format},    {"-b", Field::VideoRate},       {"-r", Field::FrameRate},
    {"-s", Field::Size},      {"-ar", Field::SampleRate},     {"-ab", Field::AudioRate},
    {"-ac", Field::Channels}, {"-y", Field::Output},
};

const OptionName* FindOption(std::string_view arg) {
  for (const auto& o : kOptions)
    if (arg == o.name) return &o;
  return nullptr;
}

bool IsHelp(std::string_view arg) { return arg == "-h" || arg == "-help" || arg == "--help"; }

// Applies one value; returns the complaint when it cannot be used.
std::string Apply(EncoderOptions& o, Field field, const std::string& option,
                  const std::string& value) {
  auto bad = [&](const char* what) {
    return "invalid value '" + value + "' for " + option + ": " + what;
  };
  switch (field) {
    case Field::Source:
      if (value.empty()) return "empty source path after -i";
      o.source = value;
      return {};
    case Field::Output:
      if (value.empty()) return "empty output path after -y";
      o.output = value;
      return {};
    case Field::VideoCodec:
      return value == "mpeg4" ? std::string() : bad("the video codec must be mpeg4");
    case Field::AudioCodec:
      return value == "libfaac" || value == "aac" ? std::string()
                                                  : bad("the audio codec must be libfaac");
    case Field::Format:
      return value == "3gp" ? std::string() : bad("the output format must be 3gp");
    case Field::VideoRate:
    case Field::AudioRate: {
      auto rate = ParseBitRate(value);
      if (!rate || *rate < 1000 || *rate > 100'000'000)
        return bad("expected a bit rate from 1k to 100M such as 120k");
      (field == Field::VideoRate ? o.videoBitRate : o.audioBitRate) = *rate;
      return {};
    }
    case Field::FrameRate: {
      auto rate = ParseFrameRate(value);
      if (!rate) return bad("expected a frame rate above 0 and up to 120 such as 14.98");
      o.frameRate = *rate;
      return {};
    }
    case Field::Size: {
      auto size = ParseSize(value);
      if (!size) return bad("expected WxH with even sides from 2 to 4096 such as 176x144");
      o.width = size->first;
      o.height = size->second;
      return {};
    }
    case Field::SampleRate: {
      auto rate = ParseInt(value, 1000, 96000);
      if (!rate) return bad("expected a sample rate in Hz such as 16000");
      o.sampleRate = *rate;
      return {};
    }
    case Field::Channels: {
      auto n = ParseInt(value, 1, 2);
      if (!n) return bad("expected 1 or 2 channels");
      o.channels = *n;
      return {};
    }
  }
  return "internal error";
}

}  // namespace

std::optional<int64_t> ParseBitRate(std::string_view text) {
  int64_t scale = 1;
  if (!text.empty() && (text.back() == 'k' || text.back() == 'K')) {
    scale = 1000;
    text.remove_suffix(1);
  } else if (!text.empty() && (text.back() == 'm' || text.back() == 'M')) {
    scale = 1'000'000;
    text.remove_suffix(1);
  }
  auto d = ParseDecimal(text, 6);
  if (!d) return std::nullopt;
  const int64_t div = Pow10(d->decimals);
  // The rounding sum below must stay in range; such rates are refused anyway.
  if (d->mantissa > (INT64_MAX - div / 2) / scale) return std::nullopt;
  return (d->mantissa * scale + div / 2) / div;  // nearest bit/s
}

std::optional<Rate> ParseFrameRate(std::string_view text) {
  auto d = ParseDecimal(text, 4);
  if (!d || d->mantissa == 0) return std::nullopt;
  const int64_t den = Pow10(d->decimals);
  if (d->mantissa > 120 * den) return std::nullopt;
  const int64_t g = std::gcd(d->mantissa, den);
  return Rate{static_cast<int>(d->mantissa / g), static_cast<int>(den / g)};
}

std::optional<std::pair<int, int>> ParseSize(std::string_view text) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return std::nullopt;
  auto w = ParseInt(text.substr(0, x), 2, kMaxSide);
  auto h = ParseInt(text.substr(x + 1), 2, kMaxSide);
  if (!w || !h || *w % 2 != 0 || *h % 2 != 0) return std::nullopt;
  return std::pair{*w, *h};
}

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  auto& o = parsed.options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (IsHelp(arg)) {
      o.help = true;
      return parsed;
    }
    const OptionName* option = FindOption(arg);
    if (!option) {
      parsed.error = arg.starts_with("-") ? "unknown option '" + arg + "'"
                                          : "unexpected argument '" + arg + "'";
      return parsed;
    }
    // A value that is itself an option name means the value was left out
    // (an empty path leaves "-i" directly before the next option).
    if (i + 1 >= args.size() || FindOption(args[i + 1]) || IsHelp(args[i + 1])) {
      parsed.error = option->field == Field::Source ? std::string("empty source path after -i")
                                                    : "missing value for " + arg;
      return parsed;
    }
    parsed.error = Apply(o, option->field, arg, args[++i]);
    if (!parsed.error.empty()) return parsed;
  }
  if (o.source.empty())
    parsed.error = "no source given (-i SRC)";
  else if (o.output.empty())
    parsed.error = "no output given (-y OUT)";
  return parsed;
}

std::string UsageText() {
  return "usage: libm9s -i SRC -vcodec mpeg4 -acodec libfaac -f 3gp -b RATE -r FPS -s WxH\n"
         "              -ar HZ -ab RATE -ac N -y OUT\n"
         "Converts SRC into a 3GP file OUT with MPEG-4 video and AAC-LC audio.\n"
         "  -b RATE   video bit rate, e.g. 120k      -r FPS   frame rate, e.g. 14.98\n"
         "  -s WxH    picture size, e.g. 176x144     -ar HZ   audio sample rate, e.g. 16000\n"
         "  -ab RATE  audio bit rate, e.g. 12.2k     -ac N    audio channels, 1 or 2\n"
         "  -y OUT    output file, replaced if it exists\n"
         "Prints ffmpeg_release_duration=HH:MM:SS.ff=ffmpeg_release_duration and\n"
         "ffmpeg_release_time=S.ss=ffmpeg_release_time on standard output; a line 'quit'\n"
         "on standard input or SIGINT/SIGTERM ends the conversion with a complete file.\n";
}
