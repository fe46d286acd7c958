// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/encoder/OutputInspection.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

uint64_t BigEndian(const std::string& s, size_t at, int bytes) {
  uint64_t v = 0;
  for (int i = 0; i < bytes && at + i < s.size(); ++i)
    v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

}  // namespace

VideoHeader ReadVideoHeader(const std::filesystem::path& file) {
  VideoHeader header;
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, file.c_str(), nullptr, nullptr) < 0) return header;
  std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> input(
      raw, [](AVFormatContext* c) { avformat_close_input(&c); });
  if (avformat_find_stream_info(raw, nullptr) < 0) return header;
  const int index = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (index < 0) return header;
  AVStream* stream = raw->streams[index];
  const std::string extra(reinterpret_cast<const char*>(stream->codecpar->extradata),
                          static_cast<size_t>(stream->codecpar->extradata_size));
  const size_t vos = extra.find(std::string("\0\0\1\xB0", 4));
  if (vos != std::string::npos && vos + 4 < extra.size())
    header.profileLevel = static_cast<unsigned char>(extra[vos + 4]);
  const AVRational sar = av_guess_sample_aspect_ratio(raw, stream, nullptr);
  header.aspectNum = sar.num;
  header.aspectDen = sar.den;
  // The decoder configuration descriptor (tag 4) inside the esds box.
  const std::string bytes = ReadFileBytes(file);
  size_t at = bytes.find("esds");
  if (at != std::string::npos) at = bytes.find('\x04', at + 8);
  if (at == std::string::npos) return header;
  ++at;
  while (at < bytes.size() && (static_cast<unsigned char>(bytes[at]) & 0x80)) ++at;
  header.bufferBytes = static_cast<int64_t>(BigEndian(bytes, at + 3, 3));
  header.maxBitRate = static_cast<int64_t>(BigEndian(bytes, at + 6, 4));
  return header;
}

std::vector<std::string> TopLevelBoxes(const std::filesystem::path& file) {
  const std::string bytes = ReadFileBytes(file);
  std::vector<std::string> boxes;
  for (size_t at = 0; at + 8 <= bytes.size();) {
    uint64_t size = BigEndian(bytes, at, 4);
    if (size == 1) size = BigEndian(bytes, at + 8, 8);
    if (size == 0) size = bytes.size() - at;
    boxes.push_back(bytes.substr(at + 4, 4));
    if (size < 8) break;
    at += size;
  }
  return boxes;
}

std::string DecodeLuma(const std::vector<std::string>& inputs, const std::string& filters) {
  std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-v", "error"};
  argv.insert(argv.end(), inputs.begin(), inputs.end());
  argv.insert(argv.end(), {"-vf", filters + (filters.empty() ? "" : ",") + "format=gray", "-f",
                           "rawvideo", "-"});
  ChildProcess child(argv);
  const auto code = child.Wait(std::chrono::seconds(120));
  EXPECT_EQ(0, code.value_or(-1)) << child.Error();
  return child.Output();
}

double Psnr(const std::string& x, const std::string& y) {
  const size_t n = std::min(x.size(), y.size());
  if (n == 0) return 0;
  double sum = 0;
  for (size_t i = 0; i < n; ++i) {
    const double d = static_cast<unsigned char>(x[i]) - static_cast<unsigned char>(y[i]);
    sum += d * d;
  }
  return sum == 0 ? 99 : 10 * std::log10(255.0 * 255.0 * static_cast<double>(n) / sum);
}

double RowsMean(const std::string& frame, int width, int from, int to) {
  double sum = 0;
  for (size_t i = static_cast<size_t>(from) * width; i < static_cast<size_t>(to) * width; ++i)
    sum += static_cast<unsigned char>(frame[i]);
  return sum / (static_cast<double>(to - from) * width);
}

double CombMeasure(const std::string& all, int width) {
  double sum = 0;
  size_t count = 0;
  for (size_t i = width; i + width < all.size(); ++i, ++count) {
    const int mid = static_cast<unsigned char>(all[i]);
    sum += std::abs(2 * mid - static_cast<unsigned char>(all[i - width]) -
                    static_cast<unsigned char>(all[i + width]));
  }
  return count ? sum / static_cast<double>(count) : 0;
}
