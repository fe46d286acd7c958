// SPDX-License-Identifier: GPL-3.0-or-later
// Clears the compile-time stamps that chmcmd writes into a CHM file (the ITSF
// header's and the #SYSTEM file's), so that the same sources always give the
// same bytes. Usage: velbrin_chmstamp FILE.chm
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

uint64_t Le(const std::string& b, size_t at, int n) {
  if (at + n > b.size()) throw std::runtime_error("truncated file");
  uint64_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

// The CHM directory's variable-length integers: 7 bits a byte, high bit = more.
uint64_t EncInt(const std::string& b, size_t& at) {
  uint64_t v = 0;
  for (int i = 0; i < 10; ++i) {
    if (at >= b.size()) throw std::runtime_error("truncated directory");
    const auto c = static_cast<unsigned char>(b[at++]);
    v = (v << 7) | (c & 0x7f);
    if (!(c & 0x80)) return v;
  }
  throw std::runtime_error("bad directory number");
}

void Zero(std::string& b, size_t at, size_t n) {
  if (at + n > b.size()) throw std::runtime_error("stamp outside the file");
  b.replace(at, n, n, '\0');
}

struct Span {
  size_t offset;
  size_t length;
};

// Where /#SYSTEM lies in the file (section 0 is stored uncompressed).
Span FindSystemFile(const std::string& b) {
  if (b.compare(0, 4, "ITSF") != 0) throw std::runtime_error("not a CHM file");
  const uint64_t dirOffset = Le(b, 0x48, 8);
  const uint64_t contentOffset = Le(b, 0x58, 8);
  if (b.compare(dirOffset, 4, "ITSP") != 0) throw std::runtime_error("no directory");
  const uint64_t headerLength = Le(b, dirOffset + 8, 4);
  const uint64_t chunkSize = Le(b, dirOffset + 0x10, 4);
  const uint64_t chunks = Le(b, dirOffset + 0x2c, 4);
  for (uint64_t c = 0; c < chunks; ++c) {
    const size_t chunk = dirOffset + headerLength + c * chunkSize;
    if (b.compare(chunk, 4, "PMGL") != 0) continue;
    const size_t end = chunk + chunkSize - Le(b, chunk + 4, 4);
    size_t at = chunk + 0x14;
    while (at < end) {
      const uint64_t nameLength = EncInt(b, at);
      const std::string_view name(b.data() + at, nameLength);
      at += nameLength;
      const uint64_t section = EncInt(b, at);
      const uint64_t offset = EncInt(b, at);
      const uint64_t length = EncInt(b, at);
      if (name == "/#SYSTEM" && section == 0) return {contentOffset + offset, length};
    }
  }
  throw std::runtime_error("no #SYSTEM file");
}

void ClearStamps(std::string& b) {
  Zero(b, 0x10, 4);  // ITSF header time stamp
  const Span system = FindSystemFile(b);
  const size_t end = system.offset + system.length;
  size_t at = system.offset + 4;  // after the version
  while (at + 4 <= end) {
    const uint64_t code = Le(b, at, 2);
    const uint64_t length = Le(b, at + 2, 2);
    at += 4;
    if (code == 10 && length >= 4) Zero(b, at, 4);       // compile time
    if (code == 4 && length >= 28) Zero(b, at + 20, 8);  // file time
    at += length;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE.chm\n", argv[0]);
    return 2;
  }
  try {
    std::string bytes;
    {
      std::ifstream in(argv[1], std::ios::binary);
      if (!in) throw std::runtime_error("cannot read");
      bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    ClearStamps(bytes);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
