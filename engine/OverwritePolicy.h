// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

// The remembered answer for output files that already exist, and the codes the
// existing-output prompt answers with. Code 1 does not occur.
enum OverwriteCode : int {
  kOverwriteAsk = 0,           // as an answer: skip this entry only
  kOverwriteSkipAll = 2,       // skip every clash without asking
  kOverwriteOnce = 3,          // overwrite this entry only
  kOverwriteAll = 4,           // overwrite every clash without asking
  kOverwriteAutoNameOnce = 5,  // write this entry under a free name
  kOverwriteAutoNameAll = 6,   // write every clash under a free name without asking
};

// The prompt's three answers.
enum class OverwriteChoice { Overwrite, Ignore, AutoName };

// The code a button of the prompt gives, permanent when `remember` is ticked.
int OverwriteAnswerCode(OverwriteChoice choice, bool remember);

// Whether something other than a folder lies at the path (a dangling symbolic
// link counts, since writing through it would create its target). A folder
// does not count: the later write to that path fails and reports it.
bool OutputFileExists(const std::string& path);

// The path to write to, or the empty text to skip the entry. `policy` is the
// remembered answer (0 at start); `ask` shows the prompt and returns its
// AnswerCode, and is called only when a file exists and policy is 0.
std::string ResolveExistingOutput(const std::string& path, int& policy,
                                  const std::function<int()>& ask);

// A path at which no file exists: the path itself, or path + "(1)" + its
// extension, repeated (clip.3gp -> clip.3gp(1).3gp -> clip.3gp(1).3gp(1).3gp).
std::string AutoName(const std::string& path);
// The extension with its dot: from the last '.' after the last '/'; empty when none.
std::string PathExtension(const std::string& path);
