// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <QColor>

// A skin as its .ssk file describes it. The file is plain text:
//
//   ; comment lines start with ';' or '#'
//   [Skin]
//   Name=Silver
//   Window=#d9dce1          colours as #rgb or #rrggbb
//   ...
//   ButtonStyle=gradient   flat | gradient | glass
//
// Only the [Skin] section is read; other sections are left for later use.
// Inside it every line is Key=Value with a known key given once.
enum class ButtonStyle { Flat, Gradient, Glass };

struct Skin {
  std::string name;
  QColor window;      // window and dialog background
  QColor windowText;  // labels and captions on it
  QColor base;        // edits, lists, menus
  QColor text;        // text on base
  QColor button;      // button face
  QColor buttonText;  // text on buttons
  QColor highlight;   // selection
  QColor highlightedText;
  QColor accent;  // progress, focus, default button, scroll bar handles
  QColor border;  // frames and grid lines
  QColor title;   // title bands: menu bar, list headers, group captions, tool tips
  // Optional colours; derived from the others when not given.
  std::optional<QColor> titleText;
  std::optional<QColor> alternateBase;
  std::optional<QColor> disabledText;
  int radius = 3;
  int borderWidth = 1;
  ButtonStyle buttonStyle = ButtonStyle::Gradient;
  int scrollBarWidth = 14;
  // Application font, "Family" or "Family,points"; the default font when empty.
  std::string fontFamily;
  int fontPoints = 0;
};

// A file that is missing, unreadable or not a valid skin. The message names the file.
class SkinError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses the text of a skin file; fileName is only used in messages.
Skin ParseSkin(std::string_view bytes, const std::string& fileName);
// Reads and parses a skin file.
Skin ReadSkinFile(const std::string& fileName);
