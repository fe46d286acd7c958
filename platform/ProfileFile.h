// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// Profile (INI) files with the rules of the Windows profile functions: section
// and key names without regard to case, blanks around names and values
// dropped, one pair of matching quotes stripped on read, values cut at 2047
// bytes, CR, LF and CRLF line ends, the first of duplicate sections or keys
// winning. Text stays bytes. Each call is one access to the file.

namespace profile {

constexpr size_t kMaxValueBytes = 2047;

// A profile file's bytes parsed once, for readers that take many keys at a
// time (the language files). Same rules as the file functions below.
class Document {
 public:
  Document() = default;
  static Document Parse(std::string bytes);
  // Missing file or unreadable: an empty document.
  static Document Load(const std::string& file);
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

 private:
  // Lower-cased "section\0key" to the value as read (quotes stripped, cut).
  std::unordered_map<std::string, std::string> values_;
};

// The value of the key, or nothing when the file, the section or the key is missing.
std::optional<std::string> ReadValue(const std::string& file, std::string_view section,
                                     std::string_view key);
std::string ReadString(const std::string& file, std::string_view section, std::string_view key,
                       const std::string& fallback);
// Decimal with an optional sign, or hexadecimal after 0x/0X when the text is
// longer than two characters; anything else gives the fallback.
int ReadInteger(const std::string& file, std::string_view section, std::string_view key,
                int fallback);
std::optional<int> ParseProfileInteger(std::string_view text);

// Replaces the key in place or adds it at the end of its section (the section
// at the end of the file), keeping every other byte and the file's line ends.
// A value that reading would alter (blanks at either end, a matching pair of
// quotes around it) is written in double quotes so that it reads back as it
// was; a value holding CR or LF cannot be stored on one line and is refused.
// The file is replaced atomically, and writers in other processes take turns
// (an exclusive flock on the folder); a refused write throws WriteError.
// A symbolic link is written through to its target. A writable file in a
// folder that takes no new file is rewritten in place, the one case without
// atomicity. When the file does not exist yet, `seedFile` (if given and
// readable) supplies its starting bytes.
void WriteString(const std::string& file, std::string_view section, std::string_view key,
                 std::string_view value, const std::string& seedFile = std::string());

// The new bytes of a profile file after setting one key; the rules of WriteString.
std::string SetValue(std::string_view bytes, std::string_view section, std::string_view key,
                     std::string_view value);

}  // namespace profile
