// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TypedFileNames.h"

namespace {

constexpr QChar kQuote = QLatin1Char('"');

// The index of the quote that closes the name opened before `from`, or -1.
qsizetype ClosingQuote(const QString& text, qsizetype from) {
  for (qsizetype at = text.indexOf(kQuote, from); at >= 0; at = text.indexOf(kQuote, at + 1)) {
    qsizetype next = at + 1;
    while (next < text.size() && text[next].isSpace()) ++next;
    if (next == text.size() || (next > at + 1 && text[next] == kQuote)) return at;
  }
  return -1;
}

}  // namespace

QStringList SplitTypedFileNames(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return {};
  if (!trimmed.startsWith(kQuote)) return {trimmed};
  QStringList names;
  qsizetype at = 0;
  while (at < trimmed.size()) {
    const qsizetype close = ClosingQuote(trimmed, at + 1);
    if (close < 0) return {trimmed};
    const QString name = trimmed.mid(at + 1, close - at - 1);
    if (!name.isEmpty()) names << name;
    at = close + 1;
    while (at < trimmed.size() && trimmed[at].isSpace()) ++at;
  }
  return names;
}
