// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// How one visited queue entry ended.
enum class EntryOutcome { Converted, Failed, Skipped, Stopped };

// Why an entry was not converted, kept for the finish question.
struct EntryFailure {
  enum Kind {
    StartFailed,  // detail: the system error text
    ExitCode,     // number: the exit code; detail: the encoder's last error line
    Signal,       // number: the signal; detail: the encoder's last error line
    NotAFile,     // detail: the output path, where something else than a file is
  };
  std::string source;  // the entry's path bytes
  Kind kind = ExitCode;
  int number = 0;
  std::string detail;
};

// The words of the finish question, UTF-8; the defaults stand in for keys a
// language file lacks. Patterns take %d and %s in order; %% gives %.
struct FinishTexts {
  std::string folderView = "Conversion finished.";
  std::string finishInfo = "Open the output folder now?";
  std::string convertedCount = "%d of %d files were converted.";
  std::string failedFiles = "These files were not converted:";
  std::string failedMore = "...and %d more.";
  std::string reasonExitCode = "The encoder ended with exit code %d.";
  std::string reasonSignal = "The encoder was ended by signal %d.";
  std::string reasonNotAFile = "Something other than a file is at the output path %s.";
  std::string emptyEntry = "(empty entry)";
};

// The outcomes of one conversion run, in the order the entries were visited.
class RunReport {
 public:
  void Add(EntryOutcome outcome) { outcomes_.push_back(outcome); }
  void AddFailure(EntryFailure failure);
  int Visited() const { return static_cast<int>(outcomes_.size()); }
  int Count(EntryOutcome outcome) const;
  const std::vector<EntryFailure>& Failures() const { return failures_; }

 private:
  std::vector<EntryOutcome> outcomes_;
  std::vector<EntryFailure> failures_;
};

// The finish question: folderView CR LF CR LF finishInfo when nothing failed;
// otherwise the converted count and each failed file with its reason (the
// first ten, then how many more) stand between the two.
std::string FinishQuestionText(const RunReport& report, const FinishTexts& texts);
// The reason shown for one failed entry, on one line.
std::string FailureReason(const EntryFailure& failure, const FinishTexts& texts);
// The pattern with each %d or %s filled by the next value; %% gives %. A
// language text never reaches printf.
std::string FillPattern(std::string_view pattern, const std::vector<std::string>& values);
// The last line of text that holds more than blanks, without its line end.
std::string LastTextLine(std::string_view text);
