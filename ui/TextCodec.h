// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iconv.h>

#include <string_view>

#include <QString>

// Decodes bytes of one character set (any name iconv knows: "GBK", "CP932",
// "UTF-8") into text for display. A byte that starts no valid sequence, and an
// incomplete sequence at the end, each become U+FFFD and decoding goes on with
// the following byte, so nothing after a bad byte is lost. One codec serves
// one thread at a time.
class TextCodec {
 public:
  // Throws std::invalid_argument when iconv does not know the character set.
  explicit TextCodec(const char* charset);
  ~TextCodec();
  TextCodec(const TextCodec&) = delete;
  TextCodec& operator=(const TextCodec&) = delete;

  QString Decode(std::string_view bytes) const;

 private:
  iconv_t cd_;
};

// One-off decoding with a codec made for the call.
QString DecodeText(std::string_view bytes, const char* charset);
