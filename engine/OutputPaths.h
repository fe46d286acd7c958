// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The file-system side of a conversion run, in plain path bytes.

// The output file name of a source: its name part (after the last '/') with
// the extension (from the last '.' in that name part) replaced by ".3gp", or
// ".3gp" appended when there is none. On Linux only '/' separates: a ':' is
// an ordinary byte of a file name.
std::string OutputName(std::string_view source);
// The folder text with one '/' at its end when it has none.
std::string WithTrailingSeparator(std::string folder);
// Creates the folder (trailing '/' ignored) with its missing parents when no
// directory of that name exists. A failure is not reported here: the first
// write into the folder reports it.
void EnsureOutputFolder(const std::string& folder);
// Creates or truncates the file and writes "temp" CR LF (6 bytes), reserving
// the output name. It never blocks, never follows a symbolic link and writes
// only into a regular file: false, with nothing changed, when a folder, a
// link, a pipe or another non-file is at the path. Throws SystemError when
// the file cannot be made or written (a missing folder, no permission).
bool WritePlaceholder(const std::string& path);
// Deletes what a failed entry left at its output path, if it is a regular
// file; anything else there is not ours and stays.
void RemoveFailedOutput(const std::string& path);
// Linux has no short names: the path itself, or the empty text when nothing exists at it.
std::string ShortPathForm(const std::string& path);
// True when both paths exist and name the same file (hard links and
// different spellings included).
bool IsSameFile(const std::string& a, const std::string& b);
// $TMPDIR, else /tmp, with a trailing '/'.
std::string TempFolder();
// Deletes the file m9s.avs in the temporary folder if one is there.
void DeleteTempScript();
