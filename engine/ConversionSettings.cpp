// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ConversionSettings.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <stdexcept>

namespace {

// One row per choice: the list texts and, where the text is not itself the
// option, the option values beside them.
struct ChoiceTable {
  std::vector<std::string> items;
  std::vector<std::string> values;
  int defaultIndex;
};

const ChoiceTable& Table(ConversionChoice choice) {
  static const std::array<ChoiceTable, 6> tables{{
      {{"128x96", "128x160", "176x144", "320x240", "352x288", "704x576", "1408x1152"}, {}, 2},
      {{"40k", "80k", "120k", "256k", "512k"}, {}, 2},
      {{"7", "14.985", "23.975", "25.000", "29.970"}, {}, 1},
      {{"4.75K", "5.15K", "5.9K", "6.7K", "7.4K", "7.95K", "10.2K", "12.2K"},
       {"4.75k", "5.15k", "5.9k", "6.7k", "7.4k", "7.95k", "10.2k", "12.2k"},
       7},
      {{"8000", "16000"}, {"8000", "16000"}, 1},
      {{"1 - Mono", "2 - Stereo"}, {"1", "2"}, 1},
  }};
  return tables[static_cast<size_t>(choice)];
}

const std::string& OptionValue(ConversionChoice choice, int index) {
  const ChoiceTable& table = Table(choice);
  if (index < 0 || index >= static_cast<int>(table.items.size())) index = table.defaultIndex;
  const std::vector<std::string>& values = table.values.empty() ? table.items : table.values;
  return values[static_cast<size_t>(index)];
}

// Decimal text read with "." whatever the locale says.
double ParseDecimal(const std::string& text) {
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size())
    throw std::logic_error("bad number in a choice table: " + text);
  return value;
}

int ParseWhole(const std::string& text) { return static_cast<int>(ParseDecimal(text)); }

}  // namespace

const std::vector<std::string>& ChoiceItemTexts(ConversionChoice choice) {
  return Table(choice).items;
}

int ChoiceDefaultIndex(ConversionChoice choice) { return Table(choice).defaultIndex; }

ConversionSettings MakeConversionSettings(int videoSize, int videoBitrate, int frameRate,
                                          int audioBitrate, int sampleRate, int channels) {
  ConversionSettings settings;
  settings.VideoSize = OptionValue(ConversionChoice::VideoSize, videoSize);
  settings.VideoBitrate = OptionValue(ConversionChoice::VideoBitrate, videoBitrate);
  settings.FrameRate = ParseDecimal(OptionValue(ConversionChoice::FrameRate, frameRate));
  settings.AudioBitrate = OptionValue(ConversionChoice::AudioBitrate, audioBitrate);
  settings.SampleRate = ParseWhole(OptionValue(ConversionChoice::SampleRate, sampleRate));
  settings.Channels = ParseWhole(OptionValue(ConversionChoice::Channels, channels));
  return settings;
}

std::string FormatFrameRate(double value) {
  // 18 significant digits as d.ddddddddddddddddde±x, free of the locale.
  char buffer[64];
  auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 17);
  std::string text(buffer, result.ptr);
  std::string sign;
  if (!text.empty() && text[0] == '-') {
    sign = "-";
    text.erase(0, 1);
  }
  size_t e = text.find('e');
  if (e == std::string::npos) return text;  // inf or nan
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);

  // digits with the decimal point after `point` of them.
  int point = exponent + 1;
  if (point < 1) {
    digits.insert(0, static_cast<size_t>(1 - point), '0');
    point = 1;
  }
  if (static_cast<int>(digits.size()) < point + 3)
    digits.append(static_cast<size_t>(point + 3) - digits.size(), '0');

  std::string kept = digits.substr(0, static_cast<size_t>(point) + 2);
  if (digits[static_cast<size_t>(point) + 2] >= '5') {
    int i = static_cast<int>(kept.size()) - 1;
    while (i >= 0 && kept[static_cast<size_t>(i)] == '9') kept[static_cast<size_t>(i--)] = '0';
    if (i < 0) {
      kept.insert(0, 1, '1');
      ++point;
    } else {
      ++kept[static_cast<size_t>(i)];
    }
  }
  std::string whole = kept.substr(0, static_cast<size_t>(point));
  size_t firstDigit = whole.find_first_not_of('0');
  whole = firstDigit == std::string::npos ? "0" : whole.substr(firstDigit);
  std::string fraction = kept.substr(static_cast<size_t>(point));
  if (whole == "0" && fraction == "00") sign.clear();
  return sign + whole + "." + fraction;
}
