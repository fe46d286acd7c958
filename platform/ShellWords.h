// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One command text carries the encoder's argv. Paths are quoted so that no
// byte of a file name can be read as syntax, and the runner splits the text
// back by POSIX shell word rules: quotes and backslash only, no expansion.

// The word itself when it holds only A-Za-z0-9_./+,:@%=- and is not empty;
// otherwise the word in single quotes, each ' written as '\''.
std::string QuoteShellWord(std::string_view word);

// Splits text into words: blanks, tabs and newlines separate words; '...'
// keeps everything literally; "..." keeps everything but \" \\ \$ \` and
// backslash-newline; an unquoted backslash takes the next byte literally.
// Returns nothing when a quote is left open or the text ends in a backslash.
std::optional<std::vector<std::string>> SplitShellWords(std::string_view text);
