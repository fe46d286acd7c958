// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/QueueRules.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 9> kFilterPieces = {
    "Support files|*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.avs;*.vob;*.dat;*.mp4;*.psp;*.rm;*.rmvb;"
    "*.smk;*.swf;*.nsv;*.mov;*.qt;*.mkv|",
    "RM files (*.rm;*.rmvb)|*.rm;*.rmvb|",
    "AVI files (*.avi)|*.avi|",
    "MPEG files (*.mpg;*.mpeg)|*.mpg;*.mpeg|",
    "WMV files (*.wmv;*.asf)|*.wmv;*.asf|",
    "Portable device files (*.3gp;*.mp4;*.avs;*.psp;*.mkv)|*.3gp;*.mp4;*.avs;*.psp;*.mkv|",
    "DVD VCD Files (*.vob;*.dat)|*.vob;*.dat|",
    "Quick Time Files (*.mov;*.qt)|*.mov;*.qt|",
    "All files (*.*)|*.*",
};

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

std::string NameFilter(std::string_view name, std::string_view patterns) {
  std::string globs;
  for (std::string_view pattern : Split(patterns, ';')) {
    if (pattern.empty()) continue;
    if (!globs.empty()) globs += ' ';
    globs += pattern == "*.*" ? std::string_view("*") : pattern;
  }
  // "RM files (*.rm;*.rmvb)" already names its patterns: show them once, in Qt's form.
  const std::string repeated = "(" + std::string(patterns) + ")";
  if (name.size() > repeated.size() && name.ends_with(repeated)) {
    name.remove_suffix(repeated.size());
    while (name.ends_with(' ')) name.remove_suffix(1);
  }
  return std::string(name) + " (" + globs + ")";
}

}  // namespace

std::string EntryExtension(std::string_view path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  std::string extension(path.substr(dot));
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension;
}

bool IsSupportedPath(std::string_view path) {
  const std::string extension = EntryExtension(path);
  return !extension.empty() && SupportedExtensions.find(extension) != std::string_view::npos;
}

std::string OpenDialogFilterText() {
  std::string filter;
  for (std::string_view piece : kFilterPieces) filter += piece;
  return filter;
}

std::vector<std::string> FilterTextToNameFilters(std::string_view filter) {
  const std::vector<std::string_view> fields = Split(filter, '|');
  std::vector<std::string> filters;
  for (size_t i = 0; i + 1 < fields.size(); i += 2)
    filters.push_back(NameFilter(fields[i], fields[i + 1]));
  return filters;
}
