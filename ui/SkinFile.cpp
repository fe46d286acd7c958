// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SkinFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace {

// Anything larger is not a hand-written skin.
constexpr size_t kMaxSkinBytes = 64 * 1024;

// A fault inside the file; the caller adds the file name and line.
struct Fault {
  std::string detail;
};

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

QColor ParseColour(std::string_view value) {
  const bool shapeOk = (value.size() == 4 || value.size() == 7) && value.front() == '#' &&
                       std::all_of(value.begin() + 1, value.end(),
                                   [](unsigned char c) { return std::isxdigit(c) != 0; });
  if (!shapeOk) throw Fault{"'" + std::string(value) + "' is not a colour (write #rrggbb or #rgb)"};
  return QColor(QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size())));
}

int ParseInteger(std::string_view value, int low, int high) {
  int result = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
  if (error != std::errc() || end != value.data() + value.size() || result < low || result > high)
    throw Fault{"'" + std::string(value) + "' is not a whole number from " + std::to_string(low) +
                " to " + std::to_string(high)};
  return result;
}

ButtonStyle ParseButtonStyle(std::string_view value) {
  const std::string v = Lower(value);
  if (v == "flat") return ButtonStyle::Flat;
  if (v == "gradient") return ButtonStyle::Gradient;
  if (v == "glass") return ButtonStyle::Glass;
  throw Fault{"'" + std::string(value) + "' is not a button style (flat, gradient or glass)"};
}

void ParseFont(Skin& skin, std::string_view value) {
  const size_t comma = value.find(',');
  const std::string_view family = Trim(value.substr(0, comma));
  if (family.empty()) throw Fault{"the font has no family name"};
  skin.fontFamily = std::string(family);
  skin.fontPoints =
      comma == std::string_view::npos ? 0 : ParseInteger(Trim(value.substr(comma + 1)), 6, 24);
}

struct KeyRule {
  std::string_view key;
  bool required;
  std::function<void(Skin&, std::string_view)> read;
};

std::function<void(Skin&, std::string_view)> Colour(QColor Skin::*member) {
  return [member](Skin& s, std::string_view v) { s.*member = ParseColour(v); };
}

std::function<void(Skin&, std::string_view)> OptionalColour(std::optional<QColor> Skin::*member) {
  return [member](Skin& s, std::string_view v) { s.*member = ParseColour(v); };
}

std::function<void(Skin&, std::string_view)> Integer(int Skin::*member, int low, int high) {
  return
      [member, low, high](Skin& s, std::string_view v) { s.*member = ParseInteger(v, low, high); };
}

const std::vector<KeyRule>& Rules() {
  static const std::vector<KeyRule> rules = {
      {"Name", true,
       [](Skin& s, std::string_view v) {
         if (v.empty()) throw Fault{"the skin has an empty name"};
         s.name = std::string(v);
       }},
      {"Window", true, Colour(&Skin::window)},
      {"WindowText", true, Colour(&Skin::windowText)},
      {"Base", true, Colour(&Skin::base)},
      {"Text", true, Colour(&Skin::text)},
      {"Button", true, Colour(&Skin::button)},
      {"ButtonText", true, Colour(&Skin::buttonText)},
      {"Highlight", true, Colour(&Skin::highlight)},
      {"HighlightedText", true, Colour(&Skin::highlightedText)},
      {"Accent", true, Colour(&Skin::accent)},
      {"Border", true, Colour(&Skin::border)},
      {"Title", true, Colour(&Skin::title)},
      {"TitleText", false, OptionalColour(&Skin::titleText)},
      {"AlternateBase", false, OptionalColour(&Skin::alternateBase)},
      {"DisabledText", false, OptionalColour(&Skin::disabledText)},
      {"Radius", false, Integer(&Skin::radius, 0, 12)},
      {"BorderWidth", false, Integer(&Skin::borderWidth, 0, 3)},
      {"ButtonStyle", false,
       [](Skin& s, std::string_view v) { s.buttonStyle = ParseButtonStyle(v); }},
      {"ScrollBarWidth", false, Integer(&Skin::scrollBarWidth, 8, 24)},
      {"Font", false, ParseFont},
  };
  return rules;
}

const KeyRule* FindRule(std::string_view key) {
  const std::string wanted = Lower(key);
  for (const KeyRule& rule : Rules())
    if (Lower(rule.key) == wanted) return &rule;
  return nullptr;
}

[[noreturn]] void Invalid(const std::string& fileName, const std::string& detail) {
  throw SkinError("Skin file '" + fileName + "' is not a valid skin: " + detail);
}

}  // namespace

Skin ParseSkin(std::string_view bytes, const std::string& fileName) {
  if (bytes.size() > kMaxSkinBytes) Invalid(fileName, "it is far too large for a skin file");
  if (bytes.find('\0') != std::string_view::npos) Invalid(fileName, "it is not a text file");
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);

  Skin skin;
  std::set<const KeyRule*> seen;
  bool haveSkinSection = false;
  bool inSkinSection = false;
  bool inAnySection = false;
  int lineNumber = 0;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    const std::string_view line = Trim(bytes.substr(0, end));
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    ++lineNumber;
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      if (line.back() != ']') Invalid(fileName, where + "a section name must end with ']'");
      inAnySection = true;
      inSkinSection = Lower(Trim(line.substr(1, line.size() - 2))) == "skin";
      if (inSkinSection && haveSkinSection) Invalid(fileName, where + "a second [Skin] section");
      haveSkinSection = haveSkinSection || inSkinSection;
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
      Invalid(fileName, where + "expected [Section] or Key=Value");
    if (!inAnySection) Invalid(fileName, where + "a setting before the [Skin] section");
    if (!inSkinSection) continue;
    const std::string_view key = Trim(line.substr(0, equals));
    const KeyRule* rule = FindRule(key);
    if (rule == nullptr) Invalid(fileName, where + "unknown key '" + std::string(key) + "'");
    if (!seen.insert(rule).second)
      Invalid(fileName, where + "the key " + std::string(rule->key) + " is given twice");
    try {
      rule->read(skin, Trim(line.substr(equals + 1)));
    } catch (const Fault& fault) {
      Invalid(fileName, where + std::string(rule->key) + ": " + fault.detail);
    }
  }
  if (!haveSkinSection) Invalid(fileName, "it has no [Skin] section");
  std::string missing;
  for (const KeyRule& rule : Rules())
    if (rule.required && seen.count(&rule) == 0)
      missing += (missing.empty() ? "" : ", ") + std::string(rule.key);
  if (!missing.empty()) Invalid(fileName, "it lacks the keys " + missing);
  return skin;
}

Skin ReadSkinFile(const std::string& fileName) {
  std::error_code ignored;
  if (std::filesystem::is_directory(fileName, ignored))
    throw SkinError("Skin file '" + fileName + "' cannot be read: it is a folder");
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName.c_str(), "rb"),
                                                             &std::fclose);
  if (!file)
    throw SkinError("Skin file '" + fileName + "' cannot be read: " + std::strerror(errno));
  std::string bytes;
  char chunk[4096];
  // One byte past the limit is enough to know the file is too large.
  while (bytes.size() <= kMaxSkinBytes) {
    const size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    bytes.append(chunk, got);
    if (got < sizeof chunk) break;
  }
  if (std::ferror(file.get()))
    throw SkinError("Skin file '" + fileName + "' cannot be read: " + std::strerror(errno));
  return ParseSkin(bytes, fileName);
}
