// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/SimpleProfileLevel.h"

#include <array>
#include <vector>

namespace {

constexpr int64_t kVbvUnit = 16384;  // the buffer size counts in these

// Levels 0 and 0b are left out: they add limits of their own (for instance
// on packet size) that this encoder does not track, and 0b is unknown to
// many players. Level 1 covers all that level 0 allows.
constexpr std::array<SimpleProfileLevel, 6> kLevels = {{
    {0x01, 99, 1485, 64000, 10 * kVbvUnit},
    {0x02, 396, 5940, 128000, 40 * kVbvUnit},
    {0x03, 396, 11880, 384000, 40 * kVbvUnit},
    {0x04, 1200, 36000, 4000000, 80 * kVbvUnit},
    {0x05, 1620, 40500, 8000000, 112 * kVbvUnit},
    {0x06, 3600, 108000, 12000000, 248 * kVbvUnit},
}};

// Reads and writes single bits, most significant first, as MPEG video does.
class BitReader {
 public:
  explicit BitReader(const std::string& bytes) : bytes_(bytes) {}
  bool Has(size_t n) const { return pos_ + n <= bytes_.size() * 8; }
  uint32_t Read(int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i, ++pos_)
      v = v << 1 | ((static_cast<unsigned char>(bytes_[pos_ / 8]) >> (7 - pos_ % 8)) & 1);
    return v;
  }
  size_t Position() const { return pos_; }

 private:
  const std::string& bytes_;
  size_t pos_ = 0;
};

class BitWriter {
 public:
  void Write(uint32_t value, int n) {
    for (int i = n - 1; i >= 0; --i) bits_.push_back((value >> i) & 1);
  }
  void Copy(const std::string& bytes, size_t from, size_t to) {
    BitReader in(bytes);
    for (size_t p = 0; p < from; ++p) in.Read(1);
    for (size_t p = from; p < to; ++p) bits_.push_back(static_cast<uint8_t>(in.Read(1)));
  }
  // MPEG-4 stuffing before the next start code: a zero, then ones to the byte end.
  std::string Finish() {
    bits_.push_back(0);
    while (bits_.size() % 8) bits_.push_back(1);
    std::string out(bits_.size() / 8, '\0');
    for (size_t i = 0; i < bits_.size(); ++i)
      if (bits_[i]) out[i / 8] = static_cast<char>(out[i / 8] | (0x80 >> (i % 8)));
    return out;
  }

 private:
  std::vector<uint8_t> bits_;
};

// Start of each start code (00 00 01 xx) in the headers.
std::vector<size_t> StartCodes(const std::string& s) {
  std::vector<size_t> at;
  for (size_t i = 0; i + 3 < s.size(); ++i)
    if (s[i] == 0 && s[i + 1] == 0 && s[i + 2] == 1) at.push_back(i);
  return at;
}

// The video object layer after its start code, with the VBV parameters set.
std::string LayerWithBuffer(const std::string& layer, const SimpleProfileLevel& level,
                            int64_t occupancyBits) {
  BitReader in(layer);
  if (!in.Has(64)) return {};
  in.Read(1 + 8);                        // random access, object type
  if (in.Read(1)) in.Read(4 + 3);        // layer identifier: version, priority
  if (in.Read(4) == 15) in.Read(8 + 8);  // extended pixel aspect
  if (in.Read(1) != 1) return {};        // control parameters follow
  in.Read(2 + 1);                        // chroma format, low delay
  const size_t flagAt = in.Position();
  if (in.Read(1) != 0) return {};  // already has VBV parameters
  // The payload ends where the closing stuffing (a zero, then ones) begins.
  size_t end = layer.size() * 8;
  while (end > flagAt + 1) {
    --end;
    if (((static_cast<unsigned char>(layer[end / 8]) >> (7 - end % 8)) & 1) == 0) break;
  }
  const auto rate = static_cast<uint32_t>(level.maxBitRate / 400);
  const auto size = static_cast<uint32_t>(level.bufferBits / kVbvUnit);
  const auto occupancy = static_cast<uint32_t>(occupancyBits / 64);
  BitWriter out;
  out.Copy(layer, 0, flagAt);
  out.Write(1, 1);
  out.Write(rate >> 15, 15), out.Write(1, 1), out.Write(rate & 0x7fff, 15), out.Write(1, 1);
  out.Write(size >> 3, 15), out.Write(1, 1), out.Write(size & 7, 3);
  out.Write(occupancy >> 15, 11), out.Write(1, 1), out.Write(occupancy & 0x7fff, 15);
  out.Write(1, 1);
  out.Copy(layer, flagAt + 1, end);
  return out.Finish();
}

}  // namespace

SimpleProfileLevel ChooseLevel(int width, int height, Rate frameRate, int64_t bitRate) {
  const int64_t blocks = static_cast<int64_t>((width + 15) / 16) * ((height + 15) / 16);
  for (const auto& level : kLevels) {
    // Block rate compared exactly: blocks * num / den <= limit.
    const bool rateFits =
        blocks * frameRate.num <= static_cast<int64_t>(level.macroblockRate) * frameRate.den;
    if (blocks <= level.macroblocks && rateFits && bitRate <= level.maxBitRate) return level;
  }
  return kLevels.back();
}

std::string WithLevelAndBuffer(const std::string& headers, const SimpleProfileLevel& level,
                               int64_t initialOccupancyBits) {
  std::string out;
  bool layerDone = false;
  const auto starts = StartCodes(headers);
  if (starts.empty() || starts.front() != 0) return {};
  for (size_t i = 0; i < starts.size(); ++i) {
    const size_t end = i + 1 < starts.size() ? starts[i + 1] : headers.size();
    std::string unit = headers.substr(starts[i], end - starts[i]);
    const auto code = static_cast<unsigned char>(unit[3]);
    if (code == 0xB0 && unit.size() > 4) {
      unit[4] = static_cast<char>(level.indication);
    } else if (code >= 0x20 && code <= 0x2F && !layerDone) {
      std::string layer = LayerWithBuffer(unit.substr(4), level, initialOccupancyBits);
      if (layer.empty()) return {};
      unit = unit.substr(0, 4) + layer;
      layerDone = true;
    }
    out += unit;
  }
  return layerDone ? out : std::string();
}
