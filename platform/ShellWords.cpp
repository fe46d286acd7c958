// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ShellWords.h"

namespace {

bool IsPlainByte(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case '_': case '.': case '/': case '+': case ',': case ':': case '@': case '%': case '=':
    case '-':
      return true;
    default:
      return false;
  }
}

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

std::string QuoteShellWord(std::string_view word) {
  bool plain = !word.empty();
  for (unsigned char c : word) plain = plain && IsPlainByte(c);
  if (plain) return std::string(word);
  std::string quoted = "'";
  for (char c : word) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  quoted += '\'';
  return quoted;
}

std::optional<std::vector<std::string>> SplitShellWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (IsSeparator(c)) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
      ++i;
    } else if (c == '\\') {
      if (i + 1 >= text.size()) return std::nullopt;
      if (text[i + 1] != '\n') {  // backslash-newline joins lines
        word += text[i + 1];
        inWord = true;
      }
      i += 2;
    } else if (c == '\'') {
      size_t end = text.find('\'', i + 1);
      if (end == std::string_view::npos) return std::nullopt;
      word.append(text.substr(i + 1, end - i - 1));
      inWord = true;
      i = end + 1;
    } else if (c == '"') {
      inWord = true;
      ++i;
      for (;;) {
        if (i >= text.size()) return std::nullopt;
        char d = text[i];
        if (d == '"') {
          ++i;
          break;
        }
        if (d == '\\' && i + 1 < text.size()) {
          char n = text[i + 1];
          if (n == '"' || n == '\\' || n == '$' || n == '`') {
            word += n;
            i += 2;
            continue;
          }
          if (n == '\n') {
            i += 2;
            continue;
          }
        }
        word += d;
        ++i;
      }
    } else {
      word += c;
      inWord = true;
      ++i;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}
