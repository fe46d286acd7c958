// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TextCodec.h"

#include <bit>
#include <cerrno>
#include <stdexcept>
#include <string>

namespace {

const iconv_t kInvalid = reinterpret_cast<iconv_t>(-1);
// QChar holds UTF-16 in the machine's byte order.
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr char16_t kReplacement = u'\uFFFD';

}  // namespace

TextCodec::TextCodec(const char* charset) : cd_(iconv_open(kUtf16, charset)) {
  if (cd_ == kInvalid) throw std::invalid_argument(std::string("Unknown character set ") + charset);
}

TextCodec::~TextCodec() { iconv_close(cd_); }

QString TextCodec::Decode(std::string_view bytes) const {
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state

  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  char16_t buffer[512];
  // iconv's interface is not const-correct; it never writes through the input.
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* out = reinterpret_cast<char*>(buffer);
    size_t outLeft = sizeof buffer;
    const size_t result = iconv(cd_, &in, &inLeft, &out, &outLeft);
    const int error = errno;
    text.append(reinterpret_cast<const QChar*>(buffer),
                static_cast<qsizetype>((sizeof buffer - outLeft) / sizeof(char16_t)));
    if (result != static_cast<size_t>(-1)) break;
    if (error == E2BIG) continue;
    // EILSEQ (invalid sequence) or EINVAL (cut off at the end): one byte is
    // given up and the rest is decoded from the next byte on.
    text.append(QChar(kReplacement));
    ++in;
    --inLeft;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  }
  // A stateful charset may still owe its closing bytes.
  char* out = reinterpret_cast<char*>(buffer);
  size_t outLeft = sizeof buffer;
  iconv(cd_, nullptr, nullptr, &out, &outLeft);
  text.append(reinterpret_cast<const QChar*>(buffer),
              static_cast<qsizetype>((sizeof buffer - outLeft) / sizeof(char16_t)));
  return text;
}

QString DecodeText(std::string_view bytes, const char* charset) {
  return TextCodec(charset).Decode(bytes);
}
