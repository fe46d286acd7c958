// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/RunReport.h"

#include <algorithm>

namespace {

constexpr size_t kListedFailures = 10;
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlankByte(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Control characters (an error text's line breaks, a name's odd bytes) would
// break the list's layout.
std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line)
    if (static_cast<unsigned char>(c) < ' ' || c == 0x7f) c = ' ';
  return line;
}

}  // namespace

void RunReport::AddFailure(EntryFailure failure) {
  outcomes_.push_back(EntryOutcome::Failed);
  failures_.push_back(std::move(failure));
}

int RunReport::Count(EntryOutcome outcome) const {
  return static_cast<int>(std::count(outcomes_.begin(), outcomes_.end(), outcome));
}

std::string FillPattern(std::string_view pattern, const std::vector<std::string>& values) {
  std::string result;
  size_t next = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size()) {
      const char kind = pattern[i + 1];
      if (kind == '%') {
        result += '%';
        ++i;
        continue;
      }
      if ((kind == 'd' || kind == 's') && next < values.size()) {
        result += values[next++];
        ++i;
        continue;
      }
    }
    result += c;
  }
  return result;
}

std::string LastTextLine(std::string_view text) {
  size_t end = text.size();
  while (end > 0) {
    size_t start = text.find_last_of("\r\n", end - 1);
    start = start == std::string_view::npos ? 0 : start + 1;
    std::string_view line = text.substr(start, end - start);
    if (!std::all_of(line.begin(), line.end(), IsBlankByte)) {
      while (!line.empty() && IsBlankByte(line.back())) line.remove_suffix(1);
      while (!line.empty() && IsBlankByte(line.front())) line.remove_prefix(1);
      return std::string(line);
    }
    end = start == 0 ? 0 : start - 1;
  }
  return {};
}

std::string FailureReason(const EntryFailure& failure, const FinishTexts& texts) {
  const std::string number = std::to_string(failure.number);
  switch (failure.kind) {
    case EntryFailure::StartFailed:
      return OneLine(failure.detail);
    case EntryFailure::NotAFile:
      return OneLine(FillPattern(texts.reasonNotAFile, {failure.detail}));
    case EntryFailure::Signal:
      if (failure.detail.empty()) return FillPattern(texts.reasonSignal, {number});
      return OneLine(failure.detail) + " " + FillPattern(texts.reasonSignal, {number});
    case EntryFailure::ExitCode:
      break;
  }
  if (failure.detail.empty()) return FillPattern(texts.reasonExitCode, {number});
  return OneLine(failure.detail);
}

std::string FinishQuestionText(const RunReport& report, const FinishTexts& texts) {
  std::string text = texts.folderView;
  text += kLineEnd;
  const auto& failures = report.Failures();
  if (!failures.empty()) {
    text += FillPattern(
        texts.convertedCount,
        {std::to_string(report.Count(EntryOutcome::Converted)), std::to_string(report.Visited())});
    text += kLineEnd;
    text += kLineEnd;
    text += texts.failedFiles;
    for (size_t i = 0; i < std::min(failures.size(), kListedFailures); ++i) {
      const EntryFailure& failure = failures[i];
      text += kLineEnd;
      text += failure.source.empty() ? texts.emptyEntry : OneLine(failure.source);
      text += ": " + FailureReason(failure, texts);
    }
    if (failures.size() > kListedFailures) {
      text += kLineEnd;
      text += FillPattern(texts.failedMore, {std::to_string(failures.size() - kListedFailures)});
    }
    text += kLineEnd;
  }
  text += kLineEnd;
  text += texts.finishInfo;
  return text;
}
