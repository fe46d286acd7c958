// SPDX-License-Identifier: GPL-3.0-or-later
// A random profile file, then random writes and reads through the rules that
// the file functions apply: a write never changes another key, and a read
// after a write gives back what was written (cut as reading cuts it).
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>

#include "platform/ProfileFile.h"

namespace {

// Names from a small alphabet of both cases, so writes often meet keys that
// are already there under another spelling.
std::string Name(FuzzedDataProvider& in) {
  static constexpr char kLetters[] = "aAbBkK_1.";
  std::string name(in.ConsumeIntegralInRange<size_t>(1, 4), 'a');
  for (char& c : name) c = kLetters[in.ConsumeIntegralInRange<size_t>(0, sizeof kLetters - 2)];
  return name;
}

// Section and key names the file may hold: every text before '=' and inside
// [...] on any line, plus the names written; enough to see a lost key.
void CollectNames(const std::string& bytes, std::set<std::string>& sections,
                  std::set<std::string>& keys) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    auto trim = [](std::string s) {
      while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.erase(0, 1);
      while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
      return s;
    };
    std::string text = trim(line);
    if (!text.empty() && text.front() == '[' && text.find(']') != std::string::npos)
      sections.insert(trim(text.substr(1, text.find(']') - 1)));
    else if (text.find('=') != std::string::npos)
      keys.insert(trim(text.substr(0, text.find('='))));
    pos = end + 1;
  }
}

void Check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

// The first write of some inputs also goes through the file functions, which
// must leave on disk exactly the bytes the rules give.
void CheckFileWrite(const std::string& bytes, const std::string& section, const std::string& key,
                    const std::string& value, const std::string& expected) {
  // A folder of this process's own, removed when the run ends.
  static const struct Folder {
    std::filesystem::path path = [] {
      char name[] = "/tmp/fuzz_profile.XXXXXX";
      if (!::mkdtemp(name)) std::abort();
      return std::filesystem::path(name);
    }();
    ~Folder() { std::filesystem::remove_all(path); }
  } folder;
  const std::string file = (folder.path / "config.ini").string();
  if (FILE* f = std::fopen(file.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  profile::WriteString(file, section, key, value);
  std::string written;
  if (FILE* f = std::fopen(file.c_str(), "rb")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) written.append(buffer, n);
    std::fclose(f);
  }
  Check(written == expected, "the file holds other bytes than the rules give");
  Check(profile::ReadValue(file, section, key) == value.substr(0, profile::kMaxValueBytes),
        "the file read back differs from the value written");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  // The file functions sync to disk, so only about one input in 256 uses them.
  const bool throughFile = in.ConsumeIntegralInRange(0, 255) == 0;
  std::string file = in.ConsumeRandomLengthString(2048);
  std::set<std::string> sections, keys;
  CollectNames(file, sections, keys);
  for (int op = 0; op < 16 && in.remaining_bytes() > 0; ++op) {
    const std::string section = Name(in);
    const std::string key = Name(in);
    const std::string value = in.ConsumeRandomLengthString(2100);
    profile::ParseProfileInteger(value);
    std::string next;
    try {
      next = profile::SetValue(file, section, key, value);
    } catch (const std::invalid_argument&) {
      Check(value.find_first_of("\r\n") != std::string::npos, "a storable value was refused");
      continue;
    }
    if (op == 0 && throughFile) CheckFileWrite(file, section, key, value, next);
    sections.insert(section);
    keys.insert(key);
    const auto before = profile::Document::Parse(file);
    const auto after = profile::Document::Parse(next);
    Check(after.Value(section, key) == value.substr(0, profile::kMaxValueBytes),
          "the value read back differs from the one written");
    for (const std::string& s : sections)
      for (const std::string& k : keys) {
        // Both compared without regard to case: the written key in any spelling.
        const auto lower = [](std::string t) {
          for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
          return t;
        };
        if (lower(s) == lower(section) && lower(k) == lower(key)) continue;
        Check(before.Value(s, k) == after.Value(s, k), "a write changed another key");
      }
    file = std::move(next);
  }
  return 0;
}
