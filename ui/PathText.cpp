// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PathText.h"

#include <QByteArray>

namespace {

// Length of the valid UTF-8 sequence starting at s[i], or 0.
size_t ValidSequenceLength(std::string_view s, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char c = byte(i);
  if (c < 0x80) return 1;
  size_t len;
  char32_t min;
  if ((c & 0xE0) == 0xC0) {
    len = 2;
    min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3;
    min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4;
    min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  char32_t cp = c & (0x7F >> len);
  for (size_t k = 1; k < len; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

QString PathToText(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  size_t i = 0;
  while (i < bytes.size()) {
    size_t len = ValidSequenceLength(bytes, i);
    if (len == 0) {
      text.append(QChar(static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[i]))));
      ++i;
    } else {
      text.append(QString::fromUtf8(bytes.data() + i, static_cast<qsizetype>(len)));
      i += len;
    }
  }
  return text;
}

std::string TextToPath(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  const qsizetype n = text.size();
  qsizetype start = 0;
  auto flush = [&](qsizetype end) {
    if (end > start) bytes += text.mid(start, end - start).toUtf8().toStdString();
  };
  for (qsizetype i = 0; i < n; ++i) {
    char16_t u = text.at(i).unicode();
    bool escaped =
        u >= 0xDC80 && u <= 0xDCFF && !(i > 0 && QChar::isHighSurrogate(text.at(i - 1).unicode()));
    if (escaped) {
      flush(i);
      bytes += static_cast<char>(u - 0xDC00);
      start = i + 1;
    }
  }
  flush(n);
  return bytes;
}

QUrl PathToFileUrl(std::string_view absolutePath) {
  const QByteArray bytes(absolutePath.data(), static_cast<qsizetype>(absolutePath.size()));
  return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"));
}

std::string FileUrlToPath(const QUrl& url) {
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}
